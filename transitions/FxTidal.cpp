// Tidal wave, random squares and wind shear: the area revealed cell by cell in a random order
// that follows a sweep direction.
//
// The grid is s x s cells from the area's top-left corner (FxGrid), cell (col, row) numbered
// row * cols + col; the last column and row may be narrower (clipped by the painter).
// Both effects pace every cell (every move) when par0 > 0 and draw without any wait at 0 or less
// (the dispatcher paces sub-frame periods itself, Pacing.h).
#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "seams/Clock.h"
#include "seams/Random.h"
#include "transitions/FxPainter.h"
#include "transitions/Pacing.h"
#include "transitions/TransFXFamilies.h"

namespace {

// Cells along the diagonals of the grid, each diagonal from its top row down. Anti-diagonals
// (col + row = d) for d = first, first + step ... until past last; diagonals (col - row = e)
// likewise when `anti` is false.
void AppendDiagonals(const FxGrid& g, bool anti, int first, int last, int step,
                     std::vector<int>& order) {
  for (int d = first; step > 0 ? d <= last : d >= last; d += step) {
    for (int row = 0; row < g.rows; ++row) {
      const int col = anti ? d - row : d + row;
      if (g.Holds(col, row)) order.push_back(g.Index(col, row));
    }
  }
}

// Rings of cells about the centre, ring rr holding the offsets (a, b) with
// (rr - 1)^2 <= a^2 + b^2 < rr^2; cells off the grid and repeats are left out.
class RingOrder {
 public:
  RingOrder(const FxGrid& g, std::vector<int>& order)
      : g_(g), order_(order), seen_(g.Count(), 0), cx_(g.cols / 2 - 1), cy_(g.rows / 2 - 1) {}

  void Ring(int rr) {
    const int64_t low = int64_t{std::max(rr - 1, 0)} * std::max(rr - 1, 0);
    const int64_t high = int64_t{rr} * rr;
    for (int a = 0; a < rr; ++a) {
      for (int b = a; b < rr && int64_t{a} * a + int64_t{b} * b < high; ++b) {
        if (int64_t{a} * a + int64_t{b} * b < low) continue;
        AddMirrored(a, b);
        if (a != b) AddMirrored(b, a);
      }
    }
  }

  // Appends every cell no ring reached, nearest the centre first (farthest first when
  // `farthestFirst`): on grids of one or two rows or columns the rings miss some cells, and on a
  // grid of one cell all of them.
  void AppendMissed(bool farthestFirst) {
    std::vector<int> missed;
    for (int i = 0; i < g_.Count(); ++i) {
      if (!seen_[i]) missed.push_back(i);
    }
    auto distance = [this](int i) {
      const int64_t a = i % g_.cols - cx_, b = i / g_.cols - cy_;
      return a * a + b * b;
    };
    std::stable_sort(missed.begin(), missed.end(), [&](int l, int r) {
      return farthestFirst ? distance(l) > distance(r) : distance(l) < distance(r);
    });
    order_.insert(order_.end(), missed.begin(), missed.end());
  }

 private:
  void AddMirrored(int a, int b) {
    Add(cx_ + a, cy_ + b);
    Add(cx_ + a, cy_ - b);
    Add(cx_ - a, cy_ + b);
    Add(cx_ - a, cy_ - b);
  }
  void Add(int col, int row) {
    if (!g_.Holds(col, row) || seen_[g_.Index(col, row)]) return;
    seen_[g_.Index(col, row)] = 1;
    order_.push_back(g_.Index(col, row));
  }

  const FxGrid& g_;
  std::vector<int>& order_;
  std::vector<char> seen_;
  int cx_, cy_;
};

// The order in which the window of the tidal wave slides over the cells.
void BuildOrder(const FxGrid& g, int mode, std::vector<int>& order) {
  const int n = g.Count();
  order.reserve(n);
  switch (mode) {
    case 1:
      for (int i = 0; i < n; ++i) order.push_back((i % g.rows + 1) * g.cols - i / g.rows - 1);
      return;
    case 2:
      for (int i = 0; i < n; ++i) order.push_back(i);
      return;
    case 3:
      for (int i = 0; i < n; ++i) order.push_back(n - 1 - i);
      return;
    case 4: AppendDiagonals(g, true, 0, g.cols + g.rows - 2, 1, order); return;
    case 5: AppendDiagonals(g, false, g.cols - 1, -(g.rows - 1), -1, order); return;
    case 6: AppendDiagonals(g, true, g.cols + g.rows, 0, -1, order); return;
    case 7: AppendDiagonals(g, false, -std::max(g.cols, g.rows), g.cols - 1, 1, order); return;
    case 8:
    case 9: {
      RingOrder rings(g, order);
      const int largest = g.cols / 2 + g.rows / 2;
      if (mode == 8) {
        for (int rr = 0; rr <= largest - 1; ++rr) rings.Ring(rr);
      } else {
        for (int rr = largest; rr >= 1; --rr) rings.Ring(rr);
      }
      rings.AppendMissed(mode == 9);
      return;
    }
    default:  // 0, and 10 with its window over the whole grid
      for (int i = 0; i < n; ++i) order.push_back((i % g.rows) * g.cols + i / g.rows);
      return;
  }
}

// The entries still in the window once the order is used up: picks the j-th remaining one and
// removes it, keeping the others in their order, in logarithmic time (a Fenwick tree of the
// remaining positions).
class ShrinkingWindow {
 public:
  explicit ShrinkingWindow(int size) : tree_(size + 1, 0) {
    for (int i = 1; i <= size; ++i) {
      tree_[i] += 1;
      const int parent = i + (i & -i);
      if (parent <= size) tree_[parent] += tree_[i];
    }
    top_ = 1;
    while (top_ * 2 <= size) top_ *= 2;
  }

  // Removes the j-th (from 0) remaining position and returns it.
  int Take(int j) {
    int position = 0;
    for (int bit = top_; bit > 0; bit /= 2) {
      const int next = position + bit;
      if (next < static_cast<int>(tree_.size()) && tree_[next] <= j) {
        position = next;
        j -= tree_[next];
      }
    }
    for (int i = position + 1; i < static_cast<int>(tree_.size()); i += i & -i) --tree_[i];
    return position;
  }

 private:
  std::vector<int> tree_;
  int top_;
};

void DrawCell(const FxPainter& paint, const FxGrid& g, int index) {
  g.Draw(paint, index % g.cols, index / g.cols);
}

// Draws the cells of `order`, each picked at random among the first `window` cells not yet drawn.
void RevealThroughWindow(const FxPainter& paint, const FxGrid& g, std::vector<int>& order,
                         int window, StepPacer& pace) {
  const int length = static_cast<int>(order.size());
  int next = window;
  for (; next < length; ++next) {  // the window slides along the order
    const int j = seams::Rand() % window;
    DrawCell(paint, g, order[j]);
    order[j] = order[next];
    pace.Step();
  }
  ShrinkingWindow rest(window);  // then empties
  for (int left = window; left > 0; --left) {
    DrawCell(paint, g, order[rest.Take(seams::Rand() % left)]);
    pace.Step();
  }
}

struct Front {
  int lane;  // the row (modes 0, 1) or column (modes 2, 3) it moves along
  int cell;  // where it stands along the lane
};

// Draws `count` cells of a lane from `cell` on.
void DrawBand(const FxPainter& paint, const FxGrid& g, bool rowsMove, int lane, int cell,
              int count) {
  const int64_t length = int64_t{count} * g.size;
  const int clipped = static_cast<int>(std::min<int64_t>(length, kMaxFxStep * 2));
  if (rowsMove) {
    paint.Piece(cell * g.size, lane * g.size, clipped, g.size);
  } else {
    paint.Piece(lane * g.size, cell * g.size, g.size, clipped);
  }
}

}  // namespace

BOOL Trans2DMultiSqRippleFX(const FxOneSurface& fx, int mode, int par0, int par1, int par2) {
  FxPainter paint(fx);
  const FxGrid grid(paint, par1);
  if (grid.Count() < 1) return TRUE;
  seams::Srand(static_cast<uint32_t>(seams::WallSeconds()));
  try {
    std::vector<int> order;
    BuildOrder(grid, mode, order);
    const int length = static_cast<int>(order.size());
    int64_t window = mode == 10 ? grid.Count() : int64_t{par2} * grid.Count() / 100;
    window = std::min<int64_t>(std::max<int64_t>(window, 1), length);
    StepPacer pace(paint.Layer(), par0);
    RevealThroughWindow(paint, grid, order, static_cast<int>(window), pace);
  } catch (const std::bad_alloc&) {
    // Not enough memory for the order: the effect ends at once and the caller's redraw shows
    // the new picture.
  }
  return TRUE;
}

BOOL Trans2DLinearWipeTideFX(const FxOneSurface& fx, int mode, int par0, int par1, int par2) {
  FxPainter paint(fx);
  const FxGrid grid(paint, par1);
  if (grid.Count() < 1) return TRUE;
  const bool rowsMove = mode == 0 || mode == 1;
  const bool backwards = mode == 1 || mode == 3;
  const int lanes = rowsMove ? grid.rows : grid.cols;
  const int along = rowsMove ? grid.cols : grid.rows;
  const int start = mode == 1 ? along - 1 : (mode == 3 ? along : 0);
  const int64_t strength =
      std::min<int64_t>(std::max<int64_t>(int64_t{along} * par2 / 100, 1), along);
  const int most = static_cast<int>(strength);
  try {
    std::vector<Front> fronts;
    fronts.reserve(lanes);
    for (int lane = 0; lane < lanes; ++lane) fronts.push_back({lane, start});
    StepPacer pace(paint.Layer(), par0);
    while (!fronts.empty()) {
      const int i = seams::Rand() % static_cast<int>(fronts.size());
      const int advance = seams::Rand() % most + 1;
      Front& front = fronts[i];
      bool done;
      if (!backwards) {
        DrawBand(paint, grid, rowsMove, front.lane, front.cell, advance);
        front.cell += advance;
        done = front.cell >= along;
      } else {
        // A front from the right stands on the last column, itself undrawn: its first move
        // takes that column too. A front from the bottom starts just below the grid.
        const bool firstFromRight = mode == 1 && front.cell == along - 1;
        const int cell = front.cell - advance;
        done = cell < 1;
        front.cell = done ? 0 : cell;
        DrawBand(paint, grid, rowsMove, front.lane, front.cell, advance + (firstFromRight ? 1 : 0));
      }
      if (done) {
        front = fronts.back();
        fronts.pop_back();
      }
      pace.Step();
    }
  } catch (const std::bad_alloc&) {
    // As for the tidal wave: no list of fronts, no effect.
  }
  return TRUE;
}
