// Steps of the effects whose geometry is fixed: how many steps, and what each step draws.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "seams/Random.h"
#include "tests/native/transitions/FxRecorder.h"
#include "transitions/TransFXFamilies.h"

namespace {

using fxtest::BlitOp;
using fxtest::RecordingLayer;

// The destination at (10, 20), the source area at (3, 4), both w x h.
constexpr int kDx = 10, kDy = 20, kSx = 3, kSy = 4;

FxOneSurface Area(RecordingLayer& layer, int w, int h) {
  return {&layer, BlitSurface::A, kDx, kDy, w, h, kSx, kSy, w, h};
}

// A drawn piece in area coordinates: offset and size.
struct Piece {
  int x, y, w, h;
  bool operator==(const Piece& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

std::ostream& operator<<(std::ostream& os, const Piece& p) {
  return os << "(" << p.x << ", " << p.y << ", " << p.w << ", " << p.h << ")";
}

// The 1:1 pieces each step drew, checking that every piece copies its own place.
std::vector<std::vector<Piece>> PiecesByStep(const RecordingLayer& layer) {
  std::vector<std::vector<Piece>> steps(layer.steps);
  for (const BlitOp& op : layer.ops) {
    EXPECT_EQ(op.kind, BlitOp::kCopy);
    EXPECT_EQ(op.dx - kDx, op.sx - kSx);
    EXPECT_EQ(op.dy - kDy, op.sy - kSy);
    if (op.step < layer.steps) steps[op.step].push_back({op.sx - kSx, op.sy - kSy, op.dw, op.dh});
  }
  return steps;
}

using Steps = std::vector<std::vector<Piece>>;
using Cells = std::vector<std::pair<int, int>>;
using CellSet = std::set<std::pair<int, int>>;

TEST(EffectSteps, SkipBarsBringEvenBarsFromTheNearEdgeAndOddBarsFromTheFar) {
  RecordingLayer layer;
  Trans2DSkipBarsHorzFX(Area(layer, 100, 30), 0, 10);
  EXPECT_EQ(PiecesByStep(layer), (Steps{{{0, 0, 10, 30}, {90, 0, 10, 30}},
                                        {{20, 0, 10, 30}, {70, 0, 10, 30}},
                                        {{40, 0, 10, 30}, {50, 0, 10, 30}},
                                        {{60, 0, 10, 30}, {30, 0, 10, 30}},
                                        {{80, 0, 10, 30}, {10, 0, 10, 30}}}));
  // 95 rows: 9 whole bars and a partial bar 9 of 5 rows, which the far front draws first. The
  // far front's last bar lies before the area and is not drawn.
  RecordingLayer rows;
  Trans2DSkipBarsVertFX(Area(rows, 30, 95), 0, 10);
  const Steps steps = PiecesByStep(rows);
  ASSERT_EQ(steps.size(), 5u);
  EXPECT_EQ(steps[0], (std::vector<Piece>{{0, 0, 30, 10}, {0, 90, 30, 5}}));
  EXPECT_EQ(steps[4], (std::vector<Piece>{{0, 80, 30, 10}, {0, 10, 30, 10}}));
  // 90 columns: 9 whole bars, the far front starts at bar 7 and its fifth bar would lie at -10,
  // before the area: that step draws only the near bar.
  RecordingLayer odd;
  Trans2DSkipBarsHorzFX(Area(odd, 90, 30), 0, 10);
  const Steps oddSteps = PiecesByStep(odd);
  ASSERT_EQ(oddSteps.size(), 5u);
  EXPECT_EQ(oddSteps[0], (std::vector<Piece>{{0, 0, 10, 30}, {70, 0, 10, 30}}));
  EXPECT_EQ(oddSteps[4], (std::vector<Piece>{{80, 0, 10, 30}}));
}

TEST(EffectSteps, CurtainsCloseFromBothEdgesAndStopWhenTheyCross) {
  RecordingLayer layer;
  Trans2DCurtainsHorzFX(Area(layer, 100, 8), 0, 30);
  EXPECT_EQ(PiecesByStep(layer),
            (Steps{{{0, 0, 30, 8}, {70, 0, 30, 8}}, {{30, 0, 30, 8}, {40, 0, 30, 8}}}));
  // Strips of 7 on 100: seven steps, and columns 49 and 50 stay between the fronts.
  RecordingLayer gap;
  Trans2DCurtainsHorzFX(Area(gap, 100, 8), 0, 7);
  std::set<int> drawn;
  for (const auto& step : PiecesByStep(gap))
    for (const Piece& p : step)
      for (int x = p.x; x < p.x + p.w; ++x) drawn.insert(x);
  EXPECT_EQ(gap.steps, 7);
  EXPECT_EQ(drawn.size(), 98u);
  EXPECT_EQ(drawn.count(49) + drawn.count(50), 0u);
}

TEST(EffectSteps, BlindsFillEveryBlindFromItsNearSide) {
  RecordingLayer layer;
  Trans2DBlindsVertFX(Area(layer, 48, 6), 0, 24, 5);
  const Steps steps = PiecesByStep(layer);
  ASSERT_EQ(steps.size(), 5u);
  EXPECT_EQ(steps[0], (std::vector<Piece>{{0, 0, 5, 6}, {24, 0, 5, 6}}));
  // The last strip of a blind reaches a pixel into the next one; the last blind's is clipped.
  EXPECT_EQ(steps[4], (std::vector<Piece>{{20, 0, 5, 6}, {44, 0, 4, 6}}));
}

TEST(EffectSteps, SweepsTakeOneStripPerStepFromTheirEdge) {
  struct Case {
    int mode, length, strip;
    size_t steps;
    Piece first, last;
  };
  const Case cases[] = {
      {0, 200, 10, 20, {0, 0, 10, 5}, {190, 0, 10, 5}},
      {1, 200, 10, 20, {190, 0, 10, 5}, {0, 0, 10, 5}},
      // From the far edge the last strip would begin before the area: only its inside is drawn.
      {1, 100, 30, 4, {70, 0, 30, 5}, {0, 0, 10, 5}},
      // A strip wider than the area: one clipped strip.
      {0, 100, 150, 1, {0, 0, 100, 5}, {0, 0, 100, 5}},
      {1, 100, 150, 1, {0, 0, 100, 5}, {0, 0, 100, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode) + " strip " + std::to_string(c.strip));
    RecordingLayer layer;
    Trans2DLinearWipeHorzFX(Area(layer, c.length, 5), c.mode, 0, c.strip);
    const Steps steps = PiecesByStep(layer);
    ASSERT_EQ(steps.size(), c.steps);
    EXPECT_EQ(steps.front(), (std::vector<Piece>{c.first}));
    EXPECT_EQ(steps.back(), (std::vector<Piece>{c.last}));
  }
  RecordingLayer up;
  Trans2DLinearWipeVertFX(Area(up, 5, 200), 3, 0, 10);
  EXPECT_EQ(PiecesByStep(up).front(), (std::vector<Piece>{{0, 190, 5, 10}}));
}

TEST(EffectSteps, DiagonalSweepMovesItsCornerAlongTheDiagonal) {
  RecordingLayer layer;
  Trans2DDiagonalWipeFX(Area(layer, 200, 100), 4, 0, 10);
  Steps steps = PiecesByStep(layer);
  ASSERT_EQ(steps.size(), 20u);
  // k = 50: the far corner at column 50, row 25; bands 10 wide along its two moving edges.
  EXPECT_EQ(steps[5], (std::vector<Piece>{{50, 0, 10, 35}, {0, 25, 60, 10}}));
  // From the bottom right corner the bands hang from the far edges.
  RecordingLayer opposite;
  Trans2DDiagonalWipeFX(Area(opposite, 200, 100), 6, 0, 10);
  steps = PiecesByStep(opposite);
  EXPECT_EQ(steps[5], (std::vector<Piece>{{140, 65, 10, 35}, {140, 65, 60, 10}}));
}

TEST(EffectSteps, SkipSquaresWalkTheAntiDiagonalsFromBothCorners) {
  RecordingLayer layer;
  Trans2DSkipSquares1FX(Area(layer, 100, 60), 0, 20);
  const Steps steps = PiecesByStep(layer);
  ASSERT_EQ(steps.size(), 8u);
  EXPECT_EQ(steps[0], (std::vector<Piece>{{0, 0, 20, 20}}));
  EXPECT_TRUE(steps[1].empty());  // anti-diagonal 7 lies below the area
  EXPECT_EQ(steps[3], (std::vector<Piece>{{60, 40, 20, 20}, {80, 20, 20, 20}}));
}

// The second form's two series each draw every other diagonal; on 100 x 60 with squares of 20 the
// usual 8 steps end before the even series reaches the bottom-left cell, so a ninth step draws it.
TEST(EffectSteps, SkipSquaresSecondFormRunsUntilBothSeriesHaveCrossedTheGrid) {
  RecordingLayer layer;
  Trans2DSkipSquares2FX(Area(layer, 100, 60), 0, 20);
  const Steps steps = PiecesByStep(layer);
  ASSERT_EQ(steps.size(), 9u);
  EXPECT_EQ(steps[8], (std::vector<Piece>{{0, 40, 20, 20}}));
  CellSet cells;
  for (const auto& step : steps)
    for (const Piece& p : step) cells.insert({p.x / 20, p.y / 20});
  EXPECT_EQ(cells.size(), 15u);
}

// The band of a diagonal step, read back from its polygon's first point.
std::vector<int> BandOrder(const RecordingLayer& layer, int width) {
  std::vector<int> bands;
  for (const BlitOp& op : layer.ops) bands.push_back((op.points[0].x - kDx) / width);
  return bands;
}

TEST(EffectSteps, DiagonalBandsComeInTheirOrder) {
  // sw + sh = 60 and bands of 10: N = 6.
  RecordingLayer skip, close;
  EXPECT_EQ(Trans2DDiagsFX(Area(skip, 40, 20), 0, 1, 0, 10), TRUE);
  EXPECT_EQ(Trans2DDiagsFX(Area(close, 40, 20), 0, 0, 0, 10), TRUE);
  EXPECT_EQ(BandOrder(skip, 10), (std::vector<int>{0, 5, 2, 3, 4, 1}));
  EXPECT_EQ(BandOrder(close, 10), (std::vector<int>{0, 5, 1, 4, 2, 3}));
  // Band 0 is a triangle; a left-slant band hangs from the bottom edge.
  EXPECT_EQ(skip.ops[0].points.size(), 3u);
  RecordingLayer left;
  Trans2DDiagsFX(Area(left, 40, 20), 1, 1, 0, 10);
  const std::vector<POINT>& band5 = left.ops[1].points;
  ASSERT_EQ(band5.size(), 4u);
  EXPECT_EQ(band5[0].x, kDx + 50);
  EXPECT_EQ(band5[0].y, kDy + 20);
  EXPECT_EQ(band5[2].y, kDy + 20 - 60);
}

TEST(EffectSteps, AFailedRegionStopsTheDiagonalsButOnlySkipsAShape) {
  RecordingLayer diagonals;
  diagonals.failPolygonsFrom = 2;
  EXPECT_EQ(Trans2DDiagsFX(Area(diagonals, 40, 20), 0, 1, 0, 10), FALSE);
  EXPECT_EQ(diagonals.steps, 2);
  RecordingLayer clock;
  clock.failPolygonsFrom = 2;
  EXPECT_EQ(Trans2DRotateWipeFX(Area(clock, 40, 20), 1, 0, 10), TRUE);
  EXPECT_EQ(clock.steps, 36);
  RecordingLayer octagon;
  octagon.failPolygonsFrom = 0;
  EXPECT_EQ(Trans2DOctagonFX(Area(octagon, 40, 20), 0, 4), TRUE);
  EXPECT_GT(octagon.steps, 1);
}

TEST(EffectSteps, ClockSweepTurnsOnceInWedgesReachingBeyondTheCorners) {
  for (auto [arc, steps] : {std::pair<int, int>{7, 52}, {10, 36}, {1, 360}}) {
    RecordingLayer layer;
    Trans2DRotateWipeFX(Area(layer, 640, 480), 1, 0, arc);
    EXPECT_EQ(layer.steps, steps) << arc;
  }
  RecordingLayer layer;
  Trans2DRotateWipeFX(Area(layer, 640, 480), 1, 0, 10);
  const POINT centre{kDx + 320, kDy + 240};
  ASSERT_EQ(layer.ops[0].points.size(), 3u);
  EXPECT_EQ(layer.ops[0].points[0].x, centre.x);
  EXPECT_EQ(layer.ops[0].points[1].y, kDy);  // starts from the top of the area
  for (const BlitOp& op : layer.ops) {       // every far point lies on the circle of radius 410
    const double r = std::hypot(op.points[2].x - centre.x, op.points[2].y - centre.y);
    EXPECT_NEAR(r, 410.0, 1.5);
  }
  // Clockwise on the screen: the first wedge ends right of the centre, anticlockwise left.
  EXPECT_GT(layer.ops[0].points[2].x, centre.x);
  RecordingLayer anti;
  Trans2DRotateWipeFX(Area(anti, 640, 480), 0, 0, 10);
  EXPECT_LT(anti.ops[0].points[2].x, centre.x);
}

TEST(EffectSteps, ShapesTakeTheirNumberOfSteps) {
  // Triangle, p = 10 on 200 x 100: u = 15, m = (150 / 15) / 2 = 5, odd: 6 steps of two rings.
  RecordingLayer triangle;
  Trans2DTriangleFX(Area(triangle, 200, 100), 0, 10);
  EXPECT_EQ(triangle.steps, 6);
  EXPECT_EQ(triangle.ops.size(), 12u);
  // Octagon, p = 10 on 200 x 100: M = 100, n = 5, N = 9: ten steps of two rings; the skipping
  // form nine and the closing octagon.
  RecordingLayer octagon, skip;
  Trans2DOctagonFX(Area(octagon, 200, 100), 0, 10);
  Trans2DOctagonSkipFX(Area(skip, 200, 100), 0, 10);
  EXPECT_EQ(octagon.steps, 10);
  EXPECT_EQ(skip.steps, 9);
  EXPECT_EQ(skip.ops.size(), 19u);
  EXPECT_EQ(skip.ops.back().points.size(), 8u);
  // Multiple octagons, p = 4: on 200 x 100 A = 50, B = 25, k = (50 / 4) / 2 = 6 and 2k + 2 = 14
  // steps of four rings; on 200 x 160 B = 40 and B / 2 > A / 4 adds ((20 - 12) / 4) / 2 + 2 = 3.
  RecordingLayer multi, squarer;
  Trans2DMultiOctagonsFX(Area(multi, 200, 100), 0, 4);
  Trans2DMultiOctagonsFX(Area(squarer, 200, 160), 0, 4);
  EXPECT_EQ(multi.steps, 14);
  EXPECT_EQ(multi.ops.size(), 56u);
  EXPECT_EQ(squarer.steps, 20);
}

// Tidal wave: the cells drawn, in order, as (col, row).
Cells CellsDrawn(const RecordingLayer& layer, int size) {
  Cells cells;
  for (const BlitOp& op : layer.ops) cells.push_back({(op.sx - kSx) / size, (op.sy - kSy) / size});
  return cells;
}

TEST(EffectSteps, TidalWaveWithAOneCellWindowFollowsItsOrderExactly) {
  RecordingLayer rows;
  Trans2DMultiSqRippleFX(Area(rows, 100, 100), 2, 0, 10, 1);
  const auto cells = CellsDrawn(rows, 10);
  ASSERT_EQ(cells.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(cells[i], std::make_pair(i % 10, i / 10)) << i;
  EXPECT_EQ(rows.steps, 100);

  RecordingLayer rings;
  Trans2DMultiSqRippleFX(Area(rings, 100, 100), 8, 0, 10, 1);
  const Cells start = {{4, 4}, {4, 5}, {4, 3}, {5, 4}, {3, 4}, {5, 5}, {5, 3}, {3, 5}, {3, 3}};
  const auto ringCells = CellsDrawn(rings, 10);
  EXPECT_EQ(Cells(ringCells.begin(), ringCells.begin() + 9), start);
  EXPECT_EQ(CellSet(ringCells.begin(), ringCells.end()).size(), 100u);
}

// The rings leave out cells of grids with one or two rows or columns, and all of a grid of one
// cell: those are appended nearest the centre first, so every cell comes exactly once.
TEST(EffectSteps, TidalWaveRingsReachEveryCellOfThinGrids) {
  const int grids[][2] = {{10, 1}, {1, 7}, {2, 9}, {9, 2}, {1, 1}, {3, 3}};
  for (int mode : {8, 9}) {
    for (const auto& g : grids) {
      SCOPED_TRACE("mode " + std::to_string(mode) + " grid " + std::to_string(g[0]) + "x" +
                   std::to_string(g[1]));
      RecordingLayer layer;
      Trans2DMultiSqRippleFX(Area(layer, g[0] * 10, g[1] * 10), mode, 0, 10, 1);
      const auto cells = CellsDrawn(layer, 10);
      EXPECT_EQ(cells.size(), static_cast<size_t>(g[0] * g[1]));
      EXPECT_EQ(CellSet(cells.begin(), cells.end()).size(), cells.size());
      EXPECT_EQ(layer.steps, g[0] * g[1]);
    }
  }
  // One row of ten about the centre column 4: rings give 4, 5, 3, 6, 2, 7, 1; then 0 and 8
  // (equally far) and 9.
  RecordingLayer row;
  Trans2DMultiSqRippleFX(Area(row, 100, 10), 8, 0, 10, 1);
  std::vector<int> cols;
  for (const auto& c : CellsDrawn(row, 10)) cols.push_back(c.first);
  EXPECT_EQ(cols, (std::vector<int>{4, 5, 3, 6, 2, 7, 1, 0, 8, 9}));
}

TEST(EffectSteps, TidalWaveDrawsEachCellOnceFromWithinItsWindow) {
  // A window of 10 cells sliding over row order: the cell of step i is among order[0 .. i + 9].
  seams::Srand(1);
  RecordingLayer layer;
  Trans2DMultiSqRippleFX(Area(layer, 100, 100), 2, 0, 10, 10);
  const auto cells = CellsDrawn(layer, 10);
  ASSERT_EQ(cells.size(), 100u);
  for (size_t i = 0; i < cells.size(); ++i)
    EXPECT_LT(cells[i].second * 10 + cells[i].first, static_cast<int>(i) + 10);
  EXPECT_EQ(CellSet(cells.begin(), cells.end()).size(), 100u);
  // Random squares: the whole grid is the window, so the order is anything but the column order.
  RecordingLayer random;
  Trans2DMultiSqRippleFX(Area(random, 100, 100), 10, 0, 10, 1);
  const auto scattered = CellsDrawn(random, 10);
  EXPECT_EQ(CellSet(scattered.begin(), scattered.end()).size(), 100u);
  int inColumnOrder = 0;
  for (int i = 0; i < 100; ++i) inColumnOrder += scattered[i] == std::make_pair(i / 10, i % 10);
  EXPECT_LT(inColumnOrder, 10);
  // A grid of one cell (an area smaller than a cell): one step drawing the clipped cell.
  RecordingLayer one;
  Trans2DMultiSqRippleFX(Area(one, 3, 2), 4, 0, 10, 30);
  ASSERT_EQ(one.ops.size(), 1u);
  EXPECT_EQ(one.steps, 1);
  EXPECT_EQ(one.ops[0].dw, 3);
  EXPECT_EQ(one.ops[0].dh, 2);
}

TEST(EffectSteps, WindShearPushesEveryLaneToTheFarEdge) {
  // Strength 1 on 50 columns: every move advances a row by exactly one cell.
  RecordingLayer single;
  Trans2DLinearWipeTideFX(Area(single, 200, 12), 0, 0, 4, 1);
  EXPECT_EQ(single.steps, 150);
  for (const BlitOp& op : single.ops) EXPECT_EQ(op.dw, 4);
  // From the right on three columns, the first move of a row includes the last column.
  RecordingLayer right;
  Trans2DLinearWipeTideFX(Area(right, 30, 40), 1, 0, 10, 100);
  std::set<int> rowsSeen;
  for (const BlitOp& op : right.ops) {
    const int row = (op.sy - kSy) / 10;
    if (rowsSeen.insert(row).second) {
      EXPECT_EQ(op.sx - kSx + op.dw, 30) << "row " << row;
    }
  }
  EXPECT_EQ(rowsSeen.size(), 4u);
  // From the bottom, fronts start below the grid: every column is drawn to its top.
  RecordingLayer up;
  Trans2DLinearWipeTideFX(Area(up, 40, 30), 3, 0, 10, 50);
  std::set<int> topsReached;
  for (const BlitOp& op : up.ops) {
    if (op.sy == kSy) topsReached.insert((op.sx - kSx) / 10);
  }
  EXPECT_EQ(topsReached.size(), 4u);
}

}  // namespace
