// Slides and sliding shutters: pictures that move instead of being revealed in place.
//
// On screen the new picture (surface A) slides in over the screen, which is left as it is where
// the picture has not arrived yet. Off screen the current picture (surface A) slides out, and
// what it uncovers is filled from surface B at the same place, so B holds the area at the end.
//
// The linear slides and the shutters move a picture along one axis within a segment of the area:
// the whole area for a slide, each half for the shutters. The visible piece of the picture sits
// against one end of its segment: against the far end it shows the segment's first pixels (the
// picture has come in from, or is going out through, the far end), against the near end its last
// pixels. The diagonal slides do the same along both axes at once.
#include <algorithm>
#include <cstdint>

#include "transitions/FxPainter.h"
#include "transitions/Pacing.h"
#include "transitions/TransFXFamilies.h"

namespace {

// A stretch of the area along the axis, and the end of it the visible piece sits against.
struct Segment {
  int start, length;
  bool atFarEnd;
};

// Copies `size` pixels of the picture along an axis, from offset `from` to offset `to`.
void MoveAlong(const FxPainter& paint, FxAxis axis, int to, int from, int size) {
  if (axis == FxAxis::kColumns) {
    paint.Move(to, 0, from, 0, size, paint.Height());
  } else {
    paint.Move(0, to, 0, from, paint.Width(), size);
  }
}

// Where the visible piece of `size` pixels starts: against the far or the near end of a span.
int PieceStart(bool atFarEnd, int start, int length, int size) {
  return atFarEnd ? start + length - size : start;
}

// The visible piece of the picture, `size` pixels of the segment.
void ShowPiece(const FxPainter& picture, FxAxis axis, const Segment& s, int size) {
  const int to = PieceStart(s.atFarEnd, s.start, s.length, size);
  const int from = PieceStart(!s.atFarEnd, s.start, s.length, size);
  MoveAlong(picture, axis, to, from, size);
}

// The strip beside a piece of `size` pixels that the picture uncovered by shrinking, `width`
// pixels wide and held to the segment.
void Uncover(const FxPainter& behind, FxAxis axis, const Segment& s, int size, int width) {
  int from = s.atFarEnd ? s.start + s.length - size - width : s.start + size;
  int to = from + width;
  from = std::max(from, s.start);
  to = std::min(to, s.start + s.length);
  if (from < to) behind.Strip(axis, from, to - from);
}

// The segments' pieces grow by `par1` per step until the longest segment is covered.
BOOL SlideIn(const FxTwoSurface& fx, FxAxis axis, const Segment* segments, int count, int par0,
             int par1) {
  FxPainter picture(fx, BlitSurface::A);
  const int step = FxStep(par1);
  const int travel = segments[0].length;  // the first segment is the longest
  if (travel < 1) return TRUE;
  StepPacer pace(picture.Layer(), par0);
  for (int v = step; v < travel + step; v += step) {
    for (int i = 0; i < count; ++i) {
      ShowPiece(picture, axis, segments[i], std::min(v, segments[i].length));
    }
    pace.Step();
  }
  return TRUE;
}

// The segments' pieces shrink by `par1` per step, surface B filling in behind them, until
// nothing of the picture is left.
BOOL SlideOut(const FxTwoSurface& fx, FxAxis axis, const Segment* segments, int count, int par0,
              int par1) {
  FxPainter picture(fx, BlitSurface::A);
  FxPainter behind(fx, BlitSurface::B);
  const int step = FxStep(par1);
  const int travel = segments[0].length;
  StepPacer pace(picture.Layer(), par0);
  for (int v = travel - step; v > -step; v -= step) {
    for (int i = 0; i < count; ++i) {
      const int size = std::min(std::max(v, 0), segments[i].length);
      ShowPiece(picture, axis, segments[i], size);
      Uncover(behind, axis, segments[i], size, step);
    }
    pace.Step();
  }
  return TRUE;
}

// Mode 0 (2 for rows) moves the picture through the far end, mode 1 (3) through the near end.
Segment WholeLength(const FxTwoSurface& fx, FxAxis axis, bool throughFarEnd) {
  return {0, axis == FxAxis::kColumns ? fx.sw : fx.sh, throughFarEnd};
}

// The shutters: a first half of ceil(length / 2) pixels and a second half of length / 2. Mode 0
// moves each half through the centre line, mode 1 through the area's outer edges.
BOOL Shutters(const FxTwoSurface& fx, FxAxis axis, int mode, int par0, int par1, bool in) {
  const int length = axis == FxAxis::kColumns ? fx.sw : fx.sh;
  const int first = length - length / 2;
  const bool throughCentre = mode == 0;
  const Segment halves[] = {{0, first, throughCentre}, {first, length / 2, !throughCentre}};
  return in ? SlideIn(fx, axis, halves, 2, par0, par1) : SlideOut(fx, axis, halves, 2, par0, par1);
}

// ---- Diagonal slides -------------------------------------------------------------------------

// Modes 4 top left, 5 top right, 6 bottom right, 7 bottom left: the corner the picture comes in
// from (on screen) or goes out through (off screen).
struct Corner {
  bool right, bottom;
  explicit Corner(int mode) : right(mode == 5 || mode == 6), bottom(mode == 6 || mode == 7) {}
};

struct Piece {
  int w, h;
};

// The visible piece when `n` pixels of the longer side show; the other side in proportion.
Piece PieceOf(const FxTwoSurface& fx, int n) {
  n = std::max(n, 0);
  if (fx.sh < fx.sw) {
    const int w = std::min(n, fx.sw);
    return {w, static_cast<int>(int64_t{fx.sh} * w / fx.sw)};
  }
  const int h = std::min(n, fx.sh);
  return {static_cast<int>(int64_t{h} * fx.sw / fx.sh), h};
}

// The piece sits in the corner and shows the part of the picture that lies against the
// opposite corner.
void ShowCornerPiece(const FxPainter& picture, const FxTwoSurface& fx, Corner corner, Piece p) {
  picture.Move(PieceStart(corner.right, 0, fx.sw, p.w), PieceStart(corner.bottom, 0, fx.sh, p.h),
               PieceStart(!corner.right, 0, fx.sw, p.w), PieceStart(!corner.bottom, 0, fx.sh, p.h),
               p.w, p.h);
}

// The two bands that the piece uncovered in shrinking from `was` to `now`: one beside its
// vertical edge, as tall as the old piece, and one beside its horizontal edge, as wide as the
// new one. A band is never less than a unit wide: along an axis on which the piece did not
// shrink, its copy still reached a pixel past its edge on a scaled destination (the blitting
// rule's extra pixel), and nothing would cover that pixel again.
void UncoverCorner(const FxPainter& behind, const FxTwoSurface& fx, Corner corner, Piece was,
                   Piece now) {
  const int shrinkW = std::max(was.w - now.w, 1), shrinkH = std::max(was.h - now.h, 1);
  const int bandX = corner.right ? fx.sw - now.w - shrinkW : now.w;
  const int bandY = corner.bottom ? fx.sh - now.h - shrinkH : now.h;
  behind.Piece(bandX, PieceStart(corner.bottom, 0, fx.sh, was.h), shrinkW, was.h);
  behind.Piece(PieceStart(corner.right, 0, fx.sw, now.w), bandY, now.w, shrinkH);
}

}  // namespace

BOOL Trans2DLinearSlideHorzFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  const Segment whole = WholeLength(fx, FxAxis::kColumns, mode != 1);
  return SlideIn(fx, FxAxis::kColumns, &whole, 1, par0, par1);
}

BOOL Trans2DLinearSlideHorzOffFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  const Segment whole = WholeLength(fx, FxAxis::kColumns, mode != 1);
  return SlideOut(fx, FxAxis::kColumns, &whole, 1, par0, par1);
}

BOOL Trans2DLinearSlideVertFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  const Segment whole = WholeLength(fx, FxAxis::kRows, mode != 3);
  return SlideIn(fx, FxAxis::kRows, &whole, 1, par0, par1);
}

BOOL Trans2DLinearSlideVertOffFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  const Segment whole = WholeLength(fx, FxAxis::kRows, mode != 3);
  return SlideOut(fx, FxAxis::kRows, &whole, 1, par0, par1);
}

BOOL Trans2DSlidingShuttersHorzFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Shutters(fx, FxAxis::kColumns, mode, par0, par1, true);
}

BOOL Trans2DSlidingShuttersHorzOffFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Shutters(fx, FxAxis::kColumns, mode, par0, par1, false);
}

BOOL Trans2DSlidingShuttersVertFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Shutters(fx, FxAxis::kRows, mode, par0, par1, true);
}

BOOL Trans2DSlidingShuttersVertOffFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  return Shutters(fx, FxAxis::kRows, mode, par0, par1, false);
}

// The piece grows along the longer side by `par1` per step until it fills the area.
BOOL Trans2DDiagonalSlideFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  FxPainter picture(fx, BlitSurface::A);
  const Corner corner(mode);
  const int step = FxStep(par1);
  const int longer = std::max(fx.sw, fx.sh);
  if (fx.sw < 1 || fx.sh < 1) return TRUE;
  StepPacer pace(picture.Layer(), par0);
  for (int n = step; n < longer + step; n += step) {
    ShowCornerPiece(picture, fx, corner, PieceOf(fx, n));
    pace.Step();
  }
  return TRUE;
}

// The piece shrinks along the longer side by `par1` per step, B filling the bands it leaves,
// until nothing of it is left.
BOOL Trans2DDiagonalSlideOffFX(const FxTwoSurface& fx, int mode, int par0, int par1) {
  FxPainter picture(fx, BlitSurface::A);
  FxPainter behind(fx, BlitSurface::B);
  const Corner corner(mode);
  const int step = FxStep(par1);
  const int longer = std::max(fx.sw, fx.sh);
  if (fx.sw < 1 || fx.sh < 1) return TRUE;
  Piece was{fx.sw, fx.sh};
  StepPacer pace(picture.Layer(), par0);
  for (int n = longer - step; n > -step; n -= step) {
    const Piece now = PieceOf(fx, n);
    ShowCornerPiece(picture, fx, corner, now);
    UncoverCorner(behind, fx, corner, was, now);
    was = now;
    pace.Step();
  }
  return TRUE;
}
