// Cell pattern fades: the area cut into a grid of square cells, every cell filled at the same
// time a little per step, in a shape that a pattern picks per cell.
//
// The grid starts at the area's top-left corner; the last column and row of cells may stick out
// of the area and are clipped by the painter. Every rectangle is placed relative to its cell's
// corner and is not held to its cell: a shape may reach a growth step into the neighbouring
// cells, which only shows the same picture there a little early.
//
// Cells are visited column by column and, within a column, row by row. A parity flag starts each
// column at a value the family chooses and flips after every cell, so that a pattern can treat
// neighbouring cells differently (by rows, or like a checkerboard).
//
// The shapes were laid out for a growth that divides the cell. Some of them, by their own
// geometry, never reach a strip one growth step wide along a cell's edge or a block at its
// centre; the front ends redraw the whole screen after an effect, which covers those.
#include <algorithm>

#include "transitions/FxPainter.h"
#include "transitions/Pacing.h"
#include "transitions/TransFXFamilies.h"

namespace {

// Runs a cell fade: for k = 0, growth, 2 growth ... below `limit`, draws every cell's shape of
// step k, then ends the step. `draw(paint, x, y, k, parity)` draws the shape of the cell whose
// corner is at (x, y) of the area; `columnParity(i)` is the parity of column i's first cell.
template <typename ColumnParity, typename DrawCell>
BOOL FadeCells(const FxOneSurface& fx, int par0, int cell, int growth, int limit,
               ColumnParity columnParity, DrawCell draw) {
  FxPainter paint(fx);
  const int columns = CeilDiv(paint.Width(), cell);
  const int rows = CeilDiv(paint.Height(), cell);
  StepPacer pace(paint.Layer(), par0);
  for (int k = 0; k < limit; k += growth) {
    for (int i = 0; i < columns; ++i) {
      bool parity = columnParity(i);
      for (int j = 0; j < rows; ++j, parity = !parity) draw(paint, i * cell, j * cell, k, parity);
    }
    pace.Step();
  }
  return TRUE;
}

bool Odd(int i) { return i % 2 != 0; }

// ---- Corner fades ----------------------------------------------------------------------------

// A square that grows out of a corner of its cell (expand), or whose edge starts at the far side
// and closes towards the corner (shrink). Corners: 0 top left, 1 top right, 2 bottom right,
// 3 bottom left.
struct CornerMove {
  bool shrink;
  int corner;
};

// The move of a cell whose parity flag is clear, and of one whose flag is set.
struct CornerPattern {
  CornerMove clear, set;
};

constexpr CornerPattern kCornerPatterns[] = {
    {{true, 0}, {true, 0}},   {{false, 0}, {false, 0}}, {{false, 0}, {true, 0}},
    {{true, 1}, {true, 1}},   {{false, 1}, {false, 1}}, {{false, 1}, {true, 1}},
    {{true, 2}, {true, 2}},   {{false, 2}, {false, 2}}, {{false, 2}, {true, 2}},
    {{true, 3}, {true, 3}},   {{false, 3}, {false, 3}}, {{false, 3}, {true, 3}},
    {{true, 2}, {false, 0}},  {{false, 2}, {true, 0}},  {{true, 3}, {false, 1}},
    {{false, 3}, {true, 1}},  {{false, 2}, {false, 0}}, {{false, 3}, {false, 1}},
    {{false, 3}, {false, 0}}, {{false, 2}, {false, 1}}, {{false, 1}, {false, 0}},
    {{false, 2}, {false, 3}}, {{true, 3}, {true, 0}},   {{true, 2}, {true, 1}},
    {{true, 1}, {true, 0}},   {{true, 2}, {true, 3}},   {{true, 0}, {true, 2}},
    {{true, 3}, {true, 1}},
};
constexpr int kCornerPatternCount = sizeof(kCornerPatterns) / sizeof(kCornerPatterns[0]);

// The moving edge of a corner square: a vertical bar p x (p + g) and a horizontal bar
// (p + g) x p, g being the square's size (expand) or the distance still to close (shrink).
void DrawCornerEdge(const FxPainter& paint, int x, int y, int c, int p, int g, int corner) {
  const int rest = c - g;  // from the far side
  switch (corner) {
    case 0:
      paint.Piece(x + g, y, p, p + g);
      paint.Piece(x, y + g, p + g, p);
      break;
    case 1:
      paint.Piece(x + rest, y, p, p + g);
      paint.Piece(x + rest, y + g, p + g, p);
      break;
    case 2:
      paint.Piece(x + rest, y + rest, p, p + g);
      paint.Piece(x + rest, y + rest, p + g, p);
      break;
    default:
      paint.Piece(x + g, y + rest, p, p + g);
      paint.Piece(x, y + rest, p + g, p);
      break;
  }
}

// ---- Shape fades -----------------------------------------------------------------------------

// Two rectangles per cell and step, of one of four kinds; the patterns combine the kinds and their
// expanding or shrinking forms into diamonds, star bursts, epaulettes and triangles.
struct ShapeMove {
  bool shrink;
  int kind;  // 0..3
};

struct ShapePattern {
  ShapeMove clear, set;
};

constexpr ShapePattern kShapePatterns[] = {
    {{true, 0}, {true, 0}},   {{false, 0}, {false, 0}}, {{true, 1}, {true, 1}},
    {{false, 1}, {false, 1}}, {{false, 0}, {true, 0}},  {{true, 2}, {true, 2}},
    {{false, 2}, {false, 2}}, {{true, 3}, {true, 3}},   {{false, 3}, {false, 3}},
    {{false, 2}, {true, 2}},  {{true, 2}, {true, 0}},   {{false, 2}, {true, 0}},
    {{false, 1}, {true, 1}},  {{true, 3}, {true, 1}},   {{false, 3}, {true, 1}},
    {{true, 2}, {false, 0}},  {{false, 2}, {false, 0}}, {{true, 3}, {false, 1}},
    {{false, 3}, {false, 1}}, {{true, 1}, {true, 0}},   {{true, 1}, {true, 0}},
    {{false, 1}, {true, 0}},  {{true, 3}, {true, 0}},   {{false, 3}, {true, 0}},
    {{false, 0}, {true, 1}},  {{true, 2}, {true, 1}},   {{false, 2}, {true, 1}},
    {{false, 1}, {false, 0}}, {{true, 3}, {false, 0}},  {{false, 3}, {false, 0}},
    {{true, 2}, {false, 1}},  {{false, 2}, {false, 1}}, {{true, 3}, {true, 2}},
    {{false, 3}, {true, 2}},  {{false, 2}, {true, 3}},  {{false, 3}, {false, 2}},
};
constexpr int kShapePatternCount = sizeof(kShapePatterns) / sizeof(kShapePatterns[0]);

// Kind 0: two bars p high, one moving up the cell's left side, one down its right side. Kind 1: a
// bar p wide moving across from the right and a block growing out of the bottom left. Kinds 2 and
// 3 are kinds 0 and 1 with left and right exchanged (a growth step apart, like the corner edges).
void DrawShapeEdge(const FxPainter& paint, int x, int y, int c, int p, int g, int kind) {
  const int rest = c - g;
  switch (kind) {
    case 0:
      paint.Piece(x, y + rest, p + g, p);
      paint.Piece(x + rest, y + g, p + g, p);
      break;
    case 1:
      paint.Piece(x + rest, y, p, p + g);
      paint.Piece(x + g, y + rest, p + g, p + 2 * g);
      break;
    case 2:
      paint.Piece(x + rest, y + rest, p + g, p);
      paint.Piece(x, y + g, p + g, p);
      break;
    default:
      paint.Piece(x + g, y, p, p + g);
      paint.Piece(x + rest, y + rest, p + g, p + 2 * g);
      break;
  }
}

// ---- Square rings ----------------------------------------------------------------------------

// The outline, p thick, of the square of side 2r + p about the cell's centre (h, h).
void DrawRing(const FxPainter& paint, int x, int y, int h, int p, int r) {
  const int low = h - r, side = 2 * r + p;
  paint.Piece(x + h + r, y + low, p, side);  // right
  paint.Piece(x + low, y + h + r, side, p);  // bottom
  paint.Piece(x + low, y + low, p, side);    // left
  paint.Piece(x + low, y + low, side, p);    // top
}

// ---- Checkers --------------------------------------------------------------------------------

// A rectangle given across the bars (`across`, `acrossSize`) and along them (`along`,
// `alongSize`); bars are columns for the vertical form, rows for the horizontal one.
void DrawAcross(const FxPainter& paint, FxAxis bars, int across, int acrossSize, int along,
                int alongSize) {
  if (bars == FxAxis::kColumns) {
    paint.Piece(across, along, acrossSize, alongSize);
  } else {
    paint.Piece(along, across, alongSize, acrossSize);
  }
}

// Bars 3/4 of a block wide, cut into blocks; the blocks of odd bars are shifted by half a block.
// Every block fills from its middle line outwards: per step one strip moving up, ending t above
// the middle line, and one moving down, starting t below it.
BOOL CheckersFade(const FxOneSurface& fx, FxAxis bars, int par0, int par1, int par2) {
  if (par1 / 2 < 1) return TRUE;
  FxPainter paint(fx);
  const int block = FxStep(par1), half = block / 2;
  const int width = std::max(1, 3 * block / 4);
  const int strip = FxStep(par2);
  const FxAxis along = bars == FxAxis::kColumns ? FxAxis::kRows : FxAxis::kColumns;
  const int count = CeilDiv(paint.Length(bars), width);
  const int blocks = paint.Length(along) / block;
  StepPacer pace(paint.Layer(), par0);
  for (int t = 0; t < half; t += strip) {
    for (int i = 0; i < count; ++i) {
      const int first = Odd(i) ? -half : 0;
      const int n = blocks + (Odd(i) ? 2 : 1);
      for (int b = 0; b < n; ++b) {
        const int middle = first + b * block + half;
        DrawAcross(paint, bars, i * width, width, middle - t - strip, strip);
        DrawAcross(paint, bars, i * width, width, middle + t, strip);
      }
    }
    pace.Step();
  }
  return TRUE;
}

}  // namespace

BOOL Trans2DCheckersFadeVertFX(const FxOneSurface& fx, int par0, int par1, int par2) {
  return CheckersFade(fx, FxAxis::kColumns, par0, par1, par2);
}

BOOL Trans2DCheckersFadeHorzFX(const FxOneSurface& fx, int par0, int par1, int par2) {
  return CheckersFade(fx, FxAxis::kRows, par0, par1, par2);
}

// Rings about every cell's centre: growing (mode 0), closing from the border (mode 1), or both
// in a checkerboard (mode 2: a cell with its parity flag set grows, the others close).
BOOL Trans2DMultiSquareFadeFX(const FxOneSurface& fx, int mode, int par0, int par1, int par2) {
  if (par1 / 2 < 1) return TRUE;
  const int c = FxStep(par1), h = c / 2, p = FxStep(par2);
  return FadeCells(fx, par0, c, p, h, Odd,
                   [=](const FxPainter& paint, int x, int y, int t, bool set) {
                     const bool grow = mode == 0 || (mode == 2 && set);
                     DrawRing(paint, x, y, h, p, grow ? t : h - t);
                   });
}

BOOL Trans2DMultiSqCornerFadeFX(const FxOneSurface& fx, int pattern, int variant, int par0,
                                int par1, int par2) {
  if (par1 < 1 || pattern < 0 || pattern >= kCornerPatternCount) return TRUE;
  const CornerPattern& moves = kCornerPatterns[pattern];
  const int c = FxStep(par1), p = FxStep(par2);
  // Variant 1 starts every odd column flipped, turning patterns by rows into checkerboards.
  auto columnParity = [variant](int i) { return variant == 1 && Odd(i); };
  return FadeCells(fx, par0, c, p, c, columnParity,
                   [=](const FxPainter& paint, int x, int y, int k, bool set) {
                     const CornerMove& move = set ? moves.set : moves.clear;
                     DrawCornerEdge(paint, x, y, c, p, move.shrink ? c - k : k, move.corner);
                   });
}

BOOL Trans2DShapePatternFadeFX(const FxOneSurface& fx, int pattern, int par0, int par1, int par2) {
  if (par1 < 1 || pattern < 0 || pattern >= kShapePatternCount) return TRUE;
  const ShapePattern& moves = kShapePatterns[pattern];
  const int c = FxStep(par1), p = FxStep(par2);
  return FadeCells(fx, par0, c, p, c, Odd,
                   [=](const FxPainter& paint, int x, int y, int k, bool set) {
                     const ShapeMove& move = set ? moves.set : moves.clear;
                     DrawShapeEdge(paint, x, y, c, p, move.shrink ? c - k : k, move.kind);
                   });
}
