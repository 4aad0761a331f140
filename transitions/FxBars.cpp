// Bars, curtains, blinds and sweeps: the area revealed in straight strips.
//
// Each routine works along one axis: "columns" are vertical strips across the width, "rows"
// horizontal strips down the height; a strip is clipped to the area by the painter.
#include <algorithm>

#include "transitions/FxPainter.h"
#include "transitions/Pacing.h"
#include "transitions/TransFXFamilies.h"

namespace {

// Offset of the first bar of the far front: the last odd-numbered bar of the area.
int FarFrontStart(int length, int bar) {
  const int n = length / bar;
  int first;
  if (length % bar != 0) {
    first = n % 2 == 1 ? n : n - 1;
  } else {
    first = n % 2 == 0 ? n - 1 : n - 2;
  }
  return first * bar;
}

// Even bars come in from the near edge, odd bars from the far edge, one of each per step, until
// both fronts have crossed the area.
BOOL SkipBars(const FxOneSurface& fx, FxAxis axis, int par0, int par1) {
  FxPainter paint(fx);
  const int length = paint.Length(axis);
  const int bar = FxStep(par1);
  int nearFront = 0;
  int farFront = FarFrontStart(length, bar);
  StepPacer pace(paint.Layer(), par0);
  while (farFront > 0 || nearFront < length) {
    paint.Strip(axis, nearFront, bar);
    paint.Strip(axis, farFront, bar);
    nearFront += 2 * bar;
    farFront -= 2 * bar;
    pace.Step();
  }
  return TRUE;
}

// Two curtains close from both edges, one strip each per step. The end test stops once the
// fronts have crossed the middle; for some widths that leaves a gap narrower than a strip in the
// middle, which the caller's redraw of the whole screen covers. An area narrower than a strip
// still gets its one step.
BOOL Curtains(const FxOneSurface& fx, FxAxis axis, int par0, int par1) {
  FxPainter paint(fx);
  const int length = paint.Length(axis);
  const int strip = FxStep(par1);
  const bool columns = axis == FxAxis::kColumns;
  const int middle = columns ? (length - strip) / 2 : length / 2;
  int nearFront = 0;
  int farFront = length - strip;
  StepPacer pace(paint.Layer(), par0);
  for (;;) {
    paint.Strip(axis, nearFront, strip);
    paint.Strip(axis, farFront, strip);
    nearFront += strip;
    farFront -= strip;
    pace.Step();
    const bool goOn = columns ? (middle <= farFront || middle >= nearFront)
                              : (middle < farFront || middle > nearFront);
    if (!goOn) break;
  }
  return TRUE;
}

// Every blind fills from its near side, `strip` pixels of each per step.
BOOL Blinds(const FxOneSurface& fx, FxAxis axis, int par0, int par1, int par2) {
  if (par1 < 1) return TRUE;
  FxPainter paint(fx);
  const int blind = FxStep(par1);
  const int strip = FxStep(par2);
  const int blinds = CeilDiv(paint.Length(axis), blind);
  StepPacer pace(paint.Layer(), par0);
  for (int k = 0; k < blind; k += strip) {
    for (int i = 0; i < blinds; ++i) paint.Strip(axis, i * blind + k, strip);
    pace.Step();
  }
  return TRUE;
}

// One strip per step from the near edge (or from the far edge).
BOOL Sweep(const FxOneSurface& fx, FxAxis axis, bool fromFarEdge, int par0, int par1) {
  FxPainter paint(fx);
  const int length = paint.Length(axis);
  const int strip = FxStep(par1);
  if (length < 1) return TRUE;
  StepPacer pace(paint.Layer(), par0);
  for (int k = 0; k < length; k += strip) {
    paint.Strip(axis, fromFarEdge ? length - strip - k : k, strip);
    pace.Step();
  }
  return TRUE;
}

}  // namespace

BOOL Trans2DSkipBarsHorzFX(const FxOneSurface& fx, int par0, int par1) {
  return SkipBars(fx, FxAxis::kColumns, par0, par1);
}

BOOL Trans2DSkipBarsVertFX(const FxOneSurface& fx, int par0, int par1) {
  return SkipBars(fx, FxAxis::kRows, par0, par1);
}

BOOL Trans2DCurtainsHorzFX(const FxOneSurface& fx, int par0, int par1) {
  return Curtains(fx, FxAxis::kColumns, par0, par1);
}

BOOL Trans2DCurtainsVertFX(const FxOneSurface& fx, int par0, int par1) {
  return Curtains(fx, FxAxis::kRows, par0, par1);
}

BOOL Trans2DBlindsVertFX(const FxOneSurface& fx, int par0, int par1, int par2) {
  return Blinds(fx, FxAxis::kColumns, par0, par1, par2);
}

BOOL Trans2DBlindsHorzFX(const FxOneSurface& fx, int par0, int par1, int par2) {
  return Blinds(fx, FxAxis::kRows, par0, par1, par2);
}

BOOL Trans2DLinearWipeHorzFX(const FxOneSurface& fx, int mode, int par0, int par1) {
  return Sweep(fx, FxAxis::kColumns, mode == 1, par0, par1);
}

BOOL Trans2DLinearWipeVertFX(const FxOneSurface& fx, int mode, int par0, int par1) {
  return Sweep(fx, FxAxis::kRows, mode == 3, par0, par1);
}

// A rectangle anchored in a corner grows until it fills the area: its far corner moves along the
// area's diagonal, `step` pixels of the longer side per step. Each step adds the band along the
// rectangle's moving vertical edge and the band along its moving horizontal edge.
BOOL Trans2DDiagonalWipeFX(const FxOneSurface& fx, int mode, int par0, int par1) {
  FxPainter paint(fx);
  const int sw = paint.Width(), sh = paint.Height();
  const int step = FxStep(par1);
  const int longer = std::max(sw, sh);
  if (longer < 1) return TRUE;
  const bool fromRight = mode == 5 || mode == 6;
  const bool fromBottom = mode == 6 || mode == 7;
  StepPacer pace(paint.Layer(), par0);
  for (int k = 0; k < longer; k += step) {
    const int r = sh >= sw ? k : static_cast<int>(static_cast<long long>(k) * sh / sw);
    const int c = sh >= sw ? static_cast<int>(static_cast<long long>(k) * sw / sh) : k;
    const int x = fromRight ? sw - c - step : c;
    const int y = fromBottom ? sh - r - step : r;
    paint.Piece(x, fromBottom ? y : 0, step, r + step);
    paint.Piece(fromRight ? x : 0, y, c + step, step);
    pace.Step();
  }
  return TRUE;
}
