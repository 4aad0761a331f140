// Zoom and squeeze: the whole picture of surface A stretched into a box that changes size and
// place from step to step.
//
// The box is worked out in source units and may reach outside the area; what lies inside the
// area is drawn, the source cut in proportion. The box goes to the destination by its corners,
// each scaled like the blitting rule scales an offset: boxes that meet in source units meet on
// the destination, and the picture never reaches a pixel beyond its box, where it would stay
// behind when the box moves on. Surface B fills the parts of the area that the box leaves, before
// the picture is drawn in its new place: off screen B is what replaces the picture, on screen it
// is the screen as it was, put back where the zoom's travelling picture has passed. Every routine
// draws in the colour-on-colour stretch mode and puts the destination's own mode back when it
// ends.
#include <algorithm>
#include <cstdint>

#include "transitions/FxPainter.h"
#include "transitions/Pacing.h"
#include "transitions/TransFXFamilies.h"

namespace {

// A rectangle in source units about the area's corner.
struct Box {
  int x, y, w, h;
  int Right() const { return x + w; }
  int Bottom() const { return y + h; }
};

Box WholeArea(const FxTwoSurface& fx) { return {0, 0, fx.sw, fx.sh}; }

// Cuts the span [at, at + size) of a box to [0, limit): the part inside, and the matching span of
// the `source` pixels that the box stretches over its size. False when nothing is inside.
bool CutSpan(int at, int size, int limit, int source, int& inside, int& insideSize, int& from,
             int& fromSize) {
  const int64_t start = std::max(at, 0), end = std::min<int64_t>(int64_t{at} + size, limit);
  if (size <= 0 || start >= end) return false;
  inside = static_cast<int>(start);
  insideSize = static_cast<int>(end - start);
  from = static_cast<int>((start - at) * source / size);
  const int to = static_cast<int>((end - at) * source / size);
  fromSize = std::max(1, to - from);
  from = std::min(from, source - fromSize);
  return true;
}

// The destination span of the source span [offset, offset + size), both ends scaled.
void ToDestination(int offset, int size, int sourceLength, int destinationLength, int& at,
                   int& length) {
  at = static_cast<int>(int64_t{offset} * destinationLength / sourceLength);
  length = static_cast<int>(int64_t{offset + size} * destinationLength / sourceLength) - at;
}

// Stretches the whole picture of A into the box; returns the part of the box inside the area,
// which is what was drawn (empty when nothing was).
Box DrawPicture(const FxTwoSurface& fx, const Box& box) {
  int x, w, fromX, fromW, y, h, fromY, fromH;
  if (!CutSpan(box.x, box.w, fx.sw, fx.sw, x, w, fromX, fromW) ||
      !CutSpan(box.y, box.h, fx.sh, fx.sh, y, h, fromY, fromH)) {
    return {0, 0, 0, 0};
  }
  int toX, toW, toY, toH;
  ToDestination(x, w, fx.sw, fx.dw, toX, toW);
  ToDestination(y, h, fx.sh, fx.dh, toY, toH);
  fx.layer->Stretch(BlitSurface::A, fx.dx + toX, fx.dy + toY, toW, toH, fx.ax + fromX,
                    fx.ay + fromY, fromW, fromH);
  return {x, y, w, h};
}

// Fills from B what the picture drawn in `was` covered and the box `now` does not: the bands
// above and below `now`, then left and right of it in the rows between.
void Uncover(const FxPainter& behind, const Box& was, const Box& now) {
  if (was.w <= 0 || was.h <= 0) return;
  const int right = was.Right(), bottom = was.Bottom();
  const int top = std::max(now.y, was.y), below = std::min(now.Bottom(), bottom);
  behind.Piece(was.x, was.y, right - was.x, std::min(now.y, bottom) - was.y);  // above now
  behind.Piece(was.x, std::max(below, was.y), right - was.x,
               bottom - std::max(below, was.y));  // below now
  if (top >= below) return;
  behind.Piece(was.x, top, std::min(now.x, right) - was.x, below - top);  // left of now
  const int after = std::max(now.Right(), was.x);
  behind.Piece(after, top, right - after, below - top);  // right of now
}

// One step of the picture going from where it was drawn to the box `now`; returns where it is
// drawn now.
Box MovePicture(const FxTwoSurface& fx, const FxPainter& behind, const Box& was, const Box& now) {
  Uncover(behind, was, now);
  return DrawPicture(fx, now);
}

// ---- Squeeze ---------------------------------------------------------------------------------

// The picture squeezed to `size` across an axis and centred, whole along the other.
Box Squeezed(const FxTwoSurface& fx, FxAxis axis, int size) {
  if (axis == FxAxis::kColumns) return {(fx.sw - size) / 2, 0, size, fx.sh};
  return {0, (fx.sh - size) / 2, fx.sw, size};
}

// The picture grows out of the centre line by `par1` per step until it fills the area.
BOOL SqueezeIn(const FxTwoSurface& fx, FxAxis axis, int par0, int par1) {
  ScopedStretchMode stretchMode(*fx.layer, kStretchColorOnColor);
  const int length = axis == FxAxis::kColumns ? fx.sw : fx.sh;
  const int step = FxStep(par1);
  if (length < 1) return TRUE;
  StepPacer pace(*fx.layer, par0);
  for (int v = step; v < length + step; v += step) {
    DrawPicture(fx, Squeezed(fx, axis, std::min(v, length)));
    pace.Step();
  }
  return TRUE;
}

// The picture shrinks into the centre line by `par1` per step, B filling in on both sides.
BOOL SqueezeOut(const FxTwoSurface& fx, FxAxis axis, int par0, int par1) {
  ScopedStretchMode stretchMode(*fx.layer, kStretchColorOnColor);
  const FxPainter behind(fx, BlitSurface::B);
  const int length = axis == FxAxis::kColumns ? fx.sw : fx.sh;
  const int step = FxStep(par1);
  Box was = WholeArea(fx);
  StepPacer pace(*fx.layer, par0);
  for (int v = length - step; v > -step; v -= step) {
    was = MovePicture(fx, behind, was, Squeezed(fx, axis, std::max(v, 0)));
    pace.Step();
  }
  return TRUE;
}

// ---- Zoom ------------------------------------------------------------------------------------

// The path of the zoom's quarter-size picture. It travels along a parabola from outside the area
// to a station (the approach), then grows from there into the whole area, its sides following
// parabolas through the station and the area's corners (the growth). Modes: 0 top left, 1 top
// right, 2 bottom right, 3 bottom left; modes 0 and 1 come from below, 2 and 3 from above.
class ZoomPath {
 public:
  ZoomPath(const FxTwoSurface& fx, int mode)
      : sw_(fx.sw),
        sh_(fx.sh),
        quarterW_(fx.sw / 4),
        quarterH_(fx.sh / 4),
        fromBelow_(mode == 0 || mode == 1),
        curvesRight_(mode == 0 || mode == 3) {
    const bool left = mode == 0 || mode == 3;
    stationX_ = left ? sw_ / 4 : sw_ / 2;
    stationY_ = fromBelow_ ? sh_ / 4 : sh_ / 4 + sh_ / 2;
    farX_ = left ? 2 * (sw_ / 4) : sw_ / 2 + sw_ / 4;
    const int referenceRow = fromBelow_ ? 0 : sh_;
    const int64_t rise = int64_t{stationY_ - referenceRow} * (stationY_ - referenceRow);
    // Flat or narrow areas make these 0; their parabola then stays put instead of dividing by 0.
    k1_ = stationX_ != 0 ? rise / stationX_ : 0;
    k2_ = farX_ != sw_ ? rise / (farX_ - sw_) : 0;
  }

  // The approach runs the picture's top from Start() to Station() (the reverse off screen).
  int Start() const { return fromBelow_ ? sh_ : -quarterH_; }
  int Station() const { return fromBelow_ ? stationY_ : stationY_ - quarterH_; }
  // Growth runs from 0 to Full(), where the picture covers the area.
  int Full() const { return quarterH_; }

  // The quarter picture with its top at y.
  Box Approach(int y) const {
    const int64_t d = int64_t{y - Station()} * (y - Station());
    const int x = stationX_ + static_cast<int>(curvesRight_ ? d / 150 : -(d / 150));
    return {x, y, quarterW_, quarterH_};
  }

  // The picture after growing by t, 0 <= t < Full(). At Full() the parabolas meet the area's
  // corners only where their constants divide exactly, so the last step is the area itself.
  Box Growth(int t) const {
    const int64_t d = int64_t{t} * t;
    const int left = stationX_ - static_cast<int>(k1_ != 0 ? d / k1_ : 0);
    const int right = farX_ - static_cast<int>(k2_ != 0 ? d / k2_ : 0);
    const int w = right - left;
    const int h = static_cast<int>(int64_t{w} * sh_ / sw_);
    const int y = fromBelow_ ? stationY_ - t : stationY_ + t;
    return {left, fromBelow_ ? y : y - h, w, h};
  }

 private:
  int sw_, sh_, quarterW_, quarterH_;
  bool fromBelow_, curvesRight_;
  int stationX_, stationY_, farX_;
  int64_t k1_, k2_;
};

// Moves `value` by `step` towards `target` without passing it.
int Toward(int value, int target, int step) {
  return value < target ? std::min(value + step, target) : std::max(value - step, target);
}

// Draws the zoom's steps, each from where the previous one left the picture.
class ZoomSteps {
 public:
  ZoomSteps(const FxTwoSurface& fx, int par0, const Box& shown)
      : fx_(fx), behind_(fx, BlitSurface::B), was_(shown), pace_(*fx.layer, par0) {}
  void To(const Box& now) {
    was_ = MovePicture(fx_, behind_, was_, now);
    pace_.Step();
  }

 private:
  const FxTwoSurface& fx_;
  FxPainter behind_;
  Box was_;
  StepPacer pace_;
};

bool ValidZoomMode(int mode) { return mode >= 0 && mode <= 3; }

// par1 / 2 per step along the approach, twice that along the growth; never less than 1.
int ApproachStep(int par1) { return std::max(1, FxStep(par1) / 2); }

}  // namespace

BOOL Trans2DCompressExpandVertFX(const FxTwoSurface& fx, int, int par0, int par1) {
  return SqueezeIn(fx, FxAxis::kColumns, par0, par1);
}

BOOL Trans2DCompressExpandVertOffFX(const FxTwoSurface& fx, int, int par0, int par1) {
  return SqueezeOut(fx, FxAxis::kColumns, par0, par1);
}

BOOL Trans2DCompressExpandHorzFX(const FxTwoSurface& fx, int, int par0, int par1) {
  return SqueezeIn(fx, FxAxis::kRows, par0, par1);
}

BOOL Trans2DCompressExpandHorzOffFX(const FxTwoSurface& fx, int, int par0, int par1) {
  return SqueezeOut(fx, FxAxis::kRows, par0, par1);
}

// The quarter picture comes in to its station, then grows until it covers the area.
BOOL Trans2DShrinkAndSlideFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  if (!ValidZoomMode(mode) || fx.sw < 1 || fx.sh < 1) return TRUE;
  ScopedStretchMode stretchMode(*fx.layer, kStretchColorOnColor);
  const ZoomPath path(fx, mode);
  const int step = ApproachStep(par1);
  ZoomSteps steps(fx, par0, Box{0, 0, 0, 0});
  for (int y = path.Start(); y != path.Station();) {
    y = Toward(y, path.Station(), step);
    steps.To(path.Approach(y));
  }
  for (int t = 2 * step; t < path.Full(); t += 2 * step) steps.To(path.Growth(t));
  steps.To(WholeArea(fx));
  return TRUE;
}

// The picture shrinks from the whole area to its station, then travels out of the area.
BOOL Trans2DShrinkAndSlideOffFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  if (!ValidZoomMode(mode) || fx.sw < 1 || fx.sh < 1) return TRUE;
  ScopedStretchMode stretchMode(*fx.layer, kStretchColorOnColor);
  const ZoomPath path(fx, mode);
  const int step = ApproachStep(par1);
  ZoomSteps steps(fx, par0, WholeArea(fx));
  // The growth's steps backwards: the largest multiple of 2 step below Full() down to 2 step.
  for (int t = (path.Full() - 1) / (2 * step) * (2 * step); t > 0; t -= 2 * step) {
    steps.To(path.Growth(t));
  }
  for (int y = path.Station();; y = Toward(y, path.Start(), step)) {
    steps.To(path.Approach(y));
    if (y == path.Start()) break;
  }
  return TRUE;
}
