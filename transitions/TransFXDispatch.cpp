#include "transitions/TransFXDispatch.h"

#include <initializer_list>

#include "seams/Random.h"
#include "transitions/Pacing.h"
#include "transitions/TransFXFamilies.h"

namespace {

constexpr int kMaxCoordinate = 1 << 20;

bool SideOk(int side) { return side <= kMaxTransFXSide; }
bool CoordinateOk(int c) { return c >= -kMaxCoordinate && c <= kMaxCoordinate; }

// The identifiers 30..73: pattern and variant of the corner fades.
void CornerFadeArguments(int effect, int& pattern, int& variant) {
  if (effect <= 41) {  // "Square Pattern Fade (2)"
    pattern = effect - 30;
    variant = 0;
  } else if (effect <= 49) {  // "Castellation" 42..45, "Steps" 46..49
    pattern = 12 + (effect - 42) % 4;
    variant = effect >= 46 ? 1 : 0;
  } else if (effect <= 53) {  // slant expands: 50, 51 variant 0; 52, 53 variant 1
    pattern = 16 + (effect - 50) % 2;
    variant = effect >= 52 ? 1 : 0;
  } else if (effect <= 69) {  // blocks: expand 54..61, shrink 62..69, each even then odd
    int block = effect - 54;
    pattern = (block < 8 ? 18 : 22) + block % 4;
    variant = (block / 4) % 2;
  } else {  // slant shrinks: 70, 71 variant 0; 72, 73 variant 1
    pattern = 26 + (effect - 70) % 2;
    variant = effect >= 72 ? 1 : 0;
  }
}

BOOL RouteOneSurface(const FxOneSurface& fx, int effect, int par0, int par1, int par2) {
  switch (effect) {
    case 0: return Trans2DSkipBarsHorzFX(fx, par0, par1);
    case 1: return Trans2DCurtainsHorzFX(fx, par0, par1);
    case 2: return Trans2DSkipBarsVertFX(fx, par0, par1);
    case 3: return Trans2DCurtainsVertFX(fx, par0, par1);
    case 4: return Trans2DSkipSquares1FX(fx, par0, par1);
    case 5: return Trans2DSkipSquares2FX(fx, par0, par1);
    case 6: return Trans2DDiagsFX(fx, 0, 1, par0, par1);
    case 7: return Trans2DDiagsFX(fx, 0, 0, par0, par1);
    case 8: return Trans2DDiagsFX(fx, 1, 1, par0, par1);
    case 9: return Trans2DDiagsFX(fx, 1, 0, par0, par1);
    case 10: return Trans2DRectanglesFX(fx, 1, par0, par1);
    case 11: return Trans2DRectanglesFX(fx, 0, par0, par1);
    case 12: return Trans2DSkipSquares3FX(fx, par0, par1);
    case 13: return Trans2DTwoOpposingSquaresSkipFX(fx, par0, par1);
    case 14: return Trans2DTwoOpposingSquaresFX(fx, par0, par1);
    case 18: return Trans2DTriangleFX(fx, par0, par1);
    case 20: return Trans2DMultiOctagonsFX(fx, par0, par1);
    case 21: return Trans2DOctagonSkipFX(fx, par0, par1);
    case 22: return Trans2DOctagonFX(fx, par0, par1);
    case 23: return Trans2DBlindsVertFX(fx, par0, par1, par2);
    case 24: return Trans2DBlindsHorzFX(fx, par0, par1, par2);
    case 25: return Trans2DCheckersFadeVertFX(fx, par0, par1, par2);
    case 26: return Trans2DCheckersFadeHorzFX(fx, par0, par1, par2);
    case 27:
    case 28:
    case 29: return Trans2DMultiSquareFadeFX(fx, effect - 27, par0, par1, par2);
    case 110:
    case 111: return Trans2DLinearWipeHorzFX(fx, effect - 110, par0, par1);
    case 112:
    case 113: return Trans2DLinearWipeVertFX(fx, effect - 110, par0, par1);
    case 118:
    case 119:
    case 120:
    case 121: return Trans2DDiagonalWipeFX(fx, effect - 114, par0, par1);
    case 130: return Trans2DRotateWipeFX(fx, 1, par0, par1);
    case 131: return Trans2DRotateWipeFX(fx, 0, par0, par1);
    default: break;
  }
  if (effect >= 30 && effect <= 73) {
    int pattern, variant;
    CornerFadeArguments(effect, pattern, variant);
    return Trans2DMultiSqCornerFadeFX(fx, pattern, variant, par0, par1, par2);
  }
  if (effect >= 74 && effect <= 109)
    return Trans2DShapePatternFadeFX(fx, effect - 74, par0, par1, par2);
  if (effect >= 132 && effect <= 142)
    return Trans2DMultiSqRippleFX(fx, effect - 132, par0, par1, par2);
  if (effect >= 145 && effect <= 148)
    return Trans2DLinearWipeTideFX(fx, effect - 145, par0, par1, par2);
  return FALSE;
}

// The on-screen and off-screen forms of a two-surface family.
struct TwoSurfaceRoutine {
  BOOL (*onScreen)(const FxTwoSurface&, int, int, int);
  BOOL (*offScreen)(const FxTwoSurface&, int, int, int);
  int mode;
};

bool FindTwoSurface(int effect, TwoSurfaceRoutine& out) {
  if (effect >= 114 && effect <= 115) {
    out = {Trans2DLinearSlideHorzFX, Trans2DLinearSlideHorzOffFX, effect - 114};
  } else if (effect >= 116 && effect <= 117) {
    out = {Trans2DLinearSlideVertFX, Trans2DLinearSlideVertOffFX, effect - 114};
  } else if (effect >= 122 && effect <= 125) {
    out = {Trans2DDiagonalSlideFX, Trans2DDiagonalSlideOffFX, effect - 118};
  } else if (effect >= 126 && effect <= 129) {
    out = {Trans2DShrinkAndSlideFX, Trans2DShrinkAndSlideOffFX, effect - 126};
  } else if (effect == 143) {
    out = {Trans2DCompressExpandVertFX, Trans2DCompressExpandVertOffFX, 1};
  } else if (effect == 144) {
    out = {Trans2DCompressExpandHorzFX, Trans2DCompressExpandHorzOffFX, 4};
  } else if (effect == 149 || effect == 151) {
    out = {Trans2DSlidingShuttersVertFX, Trans2DSlidingShuttersVertOffFX, effect == 149 ? 1 : 0};
  } else if (effect == 150 || effect == 152) {
    out = {Trans2DSlidingShuttersHorzFX, Trans2DSlidingShuttersHorzOffFX, effect == 150 ? 1 : 0};
  } else {
    return false;
  }
  return true;
}

// Where one effect draws, from what, with which parameters (everything but the layer).
struct EffectRun {
  int dx, dy, dw, dh, ax, ay, sw, sh, bx, by, effect, par0, par1, par2;
  BOOL offScreen;
  const RECT* screen;
};

BOOL Route(BlitLayer& layer, const EffectRun& r, int par0) {
  TwoSurfaceRoutine two;
  if (FindTwoSurface(r.effect, two)) {
    FxTwoSurface fx{&layer, r.dx, r.dy, r.dw, r.dh, r.ax, r.ay, r.sw, r.sh, r.bx, r.by, r.screen};
    return (r.offScreen ? two.offScreen : two.onScreen)(fx, two.mode, par0, r.par1);
  }
  FxOneSurface fx{&layer,
                  r.offScreen ? BlitSurface::B : BlitSurface::A,
                  r.dx,
                  r.dy,
                  r.dw,
                  r.dh,
                  r.offScreen ? r.bx : r.ax,
                  r.offScreen ? r.by : r.ay,
                  r.sw,
                  r.sh};
  return RouteOneSurface(fx, r.effect, par0, r.par1, r.par2);
}

// The effect's steps, found by running its geometry without drawing. The random effects draw
// their values again from the same state, so the real run takes the same steps.
int CountSteps(const EffectRun& r) {
  const uint32_t state = seams::RandState();
  CountingNullLayer counter;
  Route(counter, r, kUnpaced);
  seams::Srand(state);
  return counter.steps;
}

// Sub-frame periods are spread over the effect's planned duration (Pacing.h); longer periods
// and kUnpaced go to the effect as they are.
// Both draw through a layer that stops drawing at a stop request.
BOOL Run(BlitLayer& layer, const EffectRun& r) {
  StoppingLayer stopping(layer);
  if (r.par0 < 0 || r.par0 >= kFrameMs) return Route(stopping, r, r.par0);
  const int steps = CountSteps(r);
  PacedLayer paced(stopping, PacedDuration(r.par0, steps), steps);
  return Route(paced, r, kUnpaced);
}

}  // namespace

bool IsTransFXEffect(int effect) {
  return effect >= 0 && effect <= 152 && effect != 15 && effect != 16 && effect != 17 &&
         effect != 19;
}

BOOL TransFXDispatch(BlitLayer& layer, int dx, int dy, int dw, int dh, int ax, int ay, int sw,
                     int sh, int bx, int by, int effect, int par0, int par1, int par2,
                     BOOL offScreen, const RECT* screen) {
  if (!IsTransFXEffect(effect)) return FALSE;
  if (!SideOk(dw) || !SideOk(dh) || !SideOk(sw) || !SideOk(sh)) return FALSE;
  for (int c : {dx, dy, ax, ay, bx, by}) {
    if (!CoordinateOk(c)) return FALSE;
  }
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return TRUE;
  return Run(layer, EffectRun{dx, dy, dw, dh, ax, ay, sw, sh, bx, by, effect, par0, par1, par2,
                              offScreen, screen});
}
