// Squares, diagonals and rectangles: the area revealed in skipping squares along diagonals, in
// 45-degree bands, in rectangular rings and in two growing square frames.
//
// The square families work on a grid of s x s cells from the area's top-left corner (FxGrid);
// cells past the right and bottom edges are clipped by the painter.
#include <algorithm>
#include <cstdint>

#include "transitions/FxPainter.h"
#include "transitions/Pacing.h"
#include "transitions/TransFXFamilies.h"

namespace {

// Walks the cells (col, row), (col + dc, row + dr) ... (dc and dr each 1 or -1) until a
// coordinate that falls leaves the grid or one that rises passes its far edge. Cells the walk
// meets beyond the other edges are clipped away by the painter.
void WalkCells(const FxPainter& paint, const FxGrid& grid, int col, int row, int dc, int dr) {
  for (; col >= 0 && row >= 0; col += dc, row += dr) {
    if ((dc > 0 && col >= grid.cols) || (dr > 0 && row >= grid.rows)) break;
    grid.Draw(paint, col, row);
  }
}

// A ring of cells `depth` cells in from the border of a cols x rows grid, walked along its top
// row rightwards, right column downwards, bottom row leftwards and left column upwards; only the
// cells whose (col + row) has the given parity are drawn, so the ring is a dotted frame.
void DottedRing(const FxPainter& paint, const FxGrid& grid, int cols, int rows, int depth,
                int parity) {
  const int left = depth, top = depth, right = cols - 1 - depth, bottom = rows - 1 - depth;
  if (depth < 0 || left > right || top > bottom) return;
  auto dot = [&](int col, int row) {
    if ((col + row) % 2 == parity) grid.Draw(paint, col, row);
  };
  for (int col = left; col <= right; ++col) dot(col, top);
  for (int row = top + 1; row <= bottom; ++row) dot(right, row);
  for (int col = right - 1; col >= left && bottom > top; --col) dot(col, bottom);
  for (int row = bottom - 1; row > top && left < right; --row) dot(left, row);
}

// The outline of a ring of w x h cells whose top-left cell is at (ox, oy): four strips one cell
// wide, each clipped to the area.
void CellRing(const FxPainter& paint, int size, int ox, int oy, int w, int h) {
  if (w < 1 || h < 1) return;
  paint.Piece(ox, oy, w * size, size);
  paint.Piece(ox, oy, size, h * size);
  paint.Piece(ox + (w - 1) * size, oy, size, h * size);
  paint.Piece(ox, oy + (h - 1) * size, w * size, size);
}

// The square frame of side `side` and border `border` about (cx, cy); true when a strip of it
// met the area.
bool Frame(const FxPainter& paint, int cx, int cy, int side, int border) {
  const int hh = side / 2;
  bool met = paint.Piece(cx - hh, cy - hh, side, border);
  met = paint.Piece(cx + hh - border, cy - hh, border, side) || met;
  met = paint.Piece(cx - hh, cy + hh - border, side, border) || met;
  met = paint.Piece(cx - hh, cy - hh, border, side) || met;
  return met;
}

struct FrameCentres {
  int x1, y1, x2, y2;
};

// The centres of the two opposing frames: the middles of the top-left and bottom-right quarters,
// the second moved by one border along each axis whose half length holds an even number of
// borders, so that the rings of the two frames interleave.
FrameCentres OpposingCentres(const FxPainter& paint, int border) {
  const int sw = paint.Width(), sh = paint.Height();
  FrameCentres c{sw / 4, sh / 4, sw / 4 + sw / 2, sh / 4 + sh / 2};
  if ((sw / 2 / border) % 2 == 0) c.x2 += border;
  if ((sh / 2 / border) % 2 == 0) c.y2 += border;
  return c;
}

// Polygon of diagonal band `band` (bands `width` apart along the edges), from the top-left corner
// (slant 0) or the bottom-left corner (slant 1), in source units about the destination's corner.
int DiagonalBand(const FxOneSurface& fx, const FxPainter& paint, int slant, int band, int width,
                 POINT* out) {
  const int nearEdge = band * width, farEdge = (band + 1) * width;
  const int baseY = slant == 0 ? fx.dy : fx.dy + fx.sh;
  const int dir = slant == 0 ? 1 : -1;
  int n = 0;
  out[n++] = paint.Scaled(fx.dx + nearEdge, baseY);
  out[n++] = paint.Scaled(fx.dx + farEdge, baseY);
  out[n++] = paint.Scaled(fx.dx, baseY + dir * farEdge);
  if (band > 0) out[n++] = paint.Scaled(fx.dx, baseY + dir * nearEdge);
  return n;
}

}  // namespace

// Anti-diagonals of cells: even steps bring one in from the top-left corner, odd steps one from
// the bottom-right corner, until the two series have met.
BOOL Trans2DSkipSquares1FX(const FxOneSurface& fx, int par0, int par1) {
  FxPainter paint(fx);
  const FxGrid grid(paint, par1);
  const int steps = EvenUp(CeilDiv(paint.Width() + paint.Height(), grid.size));
  StepPacer pace(paint.Layer(), par0);
  for (int k = 0; k < steps; ++k) {
    if (k % 2 == 0) {
      WalkCells(paint, grid, k, 0, -1, 1);
    } else {
      WalkCells(paint, grid, 0, steps - k, 1, -1);
    }
    pace.Step();
  }
  return TRUE;
}

// Diagonals of cells (col - row constant): even steps from the top-right corner, odd steps from
// the bottom-left corner. The even series draws the even diagonals and the odd series the odd
// ones, so each series must run until it has passed the far corner of the grid; when the usual
// count of steps falls short of that, the effect runs the steps it still needs.
BOOL Trans2DSkipSquares2FX(const FxOneSurface& fx, int par0, int par1) {
  FxPainter paint(fx);
  const FxGrid grid(paint, par1);
  const int c2 = EvenUp(paint.Width() / grid.size);
  const int r2 = EvenUp(paint.Height() / grid.size);
  int steps = EvenUp(CeilDiv(paint.Width() + paint.Height(), grid.size));
  const int lastEven = (c2 + grid.rows - 1) / 2 * 2;         // reaches diagonal -(rows - 1)
  const int lastOdd = (grid.cols - 1 + r2 - 1) / 2 * 2 + 1;  // reaches diagonal cols - 1
  steps = std::max({steps, lastEven + 1, lastOdd + 1});
  StepPacer pace(paint.Layer(), par0);
  for (int k = 0; k < steps; ++k) {
    if (k % 2 == 0) {
      WalkCells(paint, grid, c2, k, -1, -1);
    } else {
      // From the left column: rows above the grid are walked through until the diagonal enters.
      const int row = r2 - k;
      const int skip = row < 0 ? -row : 0;
      WalkCells(paint, grid, skip, row + skip, 1, 1);
    }
    pace.Step();
  }
  return TRUE;
}

// Dotted rings: an outer front moving in from the border and an inner front growing from the
// centre, one ring each per step. The outer front dots the cells of even (col + row), the inner
// front the others, so every ring is complete once both have passed it.
BOOL Trans2DSkipSquares3FX(const FxOneSurface& fx, int par0, int par1) {
  FxPainter paint(fx);
  const FxGrid grid(paint, par1);
  const int cols = EvenUp(grid.cols), rows = EvenUp(grid.rows);
  const int half = std::min(cols, rows) / 2;
  StepPacer pace(paint.Layer(), par0);
  for (int k = 0; k <= half; ++k) {
    DottedRing(paint, grid, cols, rows, k, 0);
    DottedRing(paint, grid, cols, rows, half - k, 1);
    pace.Step();
  }
  return TRUE;
}

// 45-degree bands copied through polygon clips, from both ends of the diagonal.
BOOL Trans2DDiagsFX(const FxOneSurface& fx, int slant, int skip, int par0, int par1) {
  FxPainter paint(fx);
  const int width = FxStep(par1);
  const int bands = EvenUp(CeilDiv(paint.Width() + paint.Height(), width));
  StepPacer pace(paint.Layer(), par0);
  for (int k = 0; k < bands; ++k) {
    const int b = skip ? k : (k + 1) / 2;
    POINT points[4];
    const int count = DiagonalBand(fx, paint, slant, k % 2 == 0 ? b : bands - b, width, points);
    if (paint.Through(points, count) == ClipResult::kFailed) return FALSE;
    pace.Step();
  }
  return TRUE;
}

// Rectangular rings of cells: an outer front moving in from the border and an inner front
// growing from the centre, each drawing a ring per step. Mode 1 moves each front by two rings,
// the inner front starting on the rings the outer one skips.
BOOL Trans2DRectanglesFX(const FxOneSurface& fx, int mode, int par0, int par1) {
  FxPainter paint(fx);
  const FxGrid grid(paint, par1);
  const int s = grid.size;
  const int cols = EvenUp(grid.cols), rows = EvenUp(grid.rows);
  const int m = std::min(cols, rows);
  const bool skip = mode == 1;
  const int move = skip ? 2 : 1;
  const int last = skip ? m / 2 : m / 4;
  const int q = skip && (m / 2) % 2 == 1 ? 1 : 0;
  int outerX = 0, outerW = cols, outerH = rows;
  int innerW = (paint.Width() > paint.Height() ? cols - rows : 0) + 2 * q + 2;
  int innerH = (paint.Height() >= paint.Width() ? rows - cols : 0) + 2 * q + 2;
  int innerX = (s * cols) / 2 - (s * innerW) / 2;
  int innerY = (s * rows) / 2 - (s * innerH) / 2;
  StepPacer pace(paint.Layer(), par0);
  for (int i = 0; i < last + 1; i += move) {
    CellRing(paint, s, outerX, outerX, outerW, outerH);
    pace.Step();
    CellRing(paint, s, innerX, innerY, innerW, innerH);
    pace.Step();
    outerX += move * s;
    outerW -= 2 * move;
    outerH -= 2 * move;
    innerX -= move * s;
    innerY -= move * s;
    innerW += 2 * move;
    innerH += 2 * move;
  }
  return TRUE;
}

// Two square frames grow about the middles of two opposite quarters, a ring a step.
BOOL Trans2DTwoOpposingSquaresFX(const FxOneSurface& fx, int par0, int par1) {
  FxPainter paint(fx);
  const int border = FxStep(par1);
  const FrameCentres c = OpposingCentres(paint, border);
  const int steps = (3 * paint.Height() / 4) / border + 1;
  StepPacer pace(paint.Layer(), par0);
  for (int n = 1; n <= steps; ++n) {
    Frame(paint, c.x1, c.y1, 2 * n * border, border);
    Frame(paint, c.x2, c.y2, 2 * n * border, border);
    pace.Step();
  }
  return TRUE;
}

// The same frames in two series: first every other ring (sides 3, 7, 11 ... borders), then the
// rings between (sides 1, 5, 9 ...). A series ends after the first step whose frames miss the
// area altogether.
BOOL Trans2DTwoOpposingSquaresSkipFX(const FxOneSurface& fx, int par0, int par1) {
  FxPainter paint(fx);
  const int border = FxStep(par1);
  const FrameCentres c = OpposingCentres(paint, border);
  // Frames this large lie wholly outside any area: a bound that ends a series whatever happens.
  const int64_t largest = 4 * (int64_t{paint.Width()} + paint.Height()) + 8 * int64_t{border};
  StepPacer pace(paint.Layer(), par0);
  for (int first : {3, 1}) {
    for (int64_t side = int64_t{first} * border; side <= largest; side += 4 * int64_t{border}) {
      bool met = Frame(paint, c.x1, c.y1, static_cast<int>(side), border);
      met = Frame(paint, c.x2, c.y2, static_cast<int>(side), border) || met;
      pace.Step();
      if (!met) break;
    }
  }
  return TRUE;
}
