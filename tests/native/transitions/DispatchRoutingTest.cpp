// The dispatcher's routing, against recording stand-ins of every family routine: for every value
// from -1 to 153, which routine runs, with which mode arguments, whether par2 reaches it, and from
// which surface.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/TransFXTables.h"
#include "tests/native/transitions/FamilyDoubles.h"
#include "transitions/Pacing.h"
#include "transitions/TransFXDispatch.h"

namespace {

using fxtest::FamilyCall;
using fxtest::FamilyCalls;

struct Route {
  int id;
  int transClass;
  std::string routine;     // the on-screen routine of a two-surface effect
  std::string offRoutine;  // empty for one-surface effects
  std::vector<int> modes;
  bool par2;
};

std::vector<Route> RoutingTable() {
  std::vector<Route> t = {
      {0, 0, "Trans2DSkipBarsHorzFX", "", {}, false},
      {1, 1, "Trans2DCurtainsHorzFX", "", {}, false},
      {2, 0, "Trans2DSkipBarsVertFX", "", {}, false},
      {3, 1, "Trans2DCurtainsVertFX", "", {}, false},
      {4, 5, "Trans2DSkipSquares1FX", "", {}, false},
      {5, 5, "Trans2DSkipSquares2FX", "", {}, false},
      {6, 2, "Trans2DDiagsFX", "", {0, 1}, false},
      {7, 3, "Trans2DDiagsFX", "", {0, 0}, false},
      {8, 2, "Trans2DDiagsFX", "", {1, 1}, false},
      {9, 3, "Trans2DDiagsFX", "", {1, 0}, false},
      {10, 4, "Trans2DRectanglesFX", "", {1}, false},
      {11, 4, "Trans2DRectanglesFX", "", {0}, false},
      {12, 5, "Trans2DSkipSquares3FX", "", {}, false},
      {13, 6, "Trans2DTwoOpposingSquaresSkipFX", "", {}, false},
      {14, 6, "Trans2DTwoOpposingSquaresFX", "", {}, false},
      {18, 7, "Trans2DTriangleFX", "", {}, false},
      {20, 7, "Trans2DMultiOctagonsFX", "", {}, false},
      {21, 7, "Trans2DOctagonSkipFX", "", {}, false},
      {22, 7, "Trans2DOctagonFX", "", {}, false},
      {23, 8, "Trans2DBlindsVertFX", "", {}, true},
      {24, 8, "Trans2DBlindsHorzFX", "", {}, true},
      {25, 9, "Trans2DCheckersFadeVertFX", "", {}, true},
      {26, 9, "Trans2DCheckersFadeHorzFX", "", {}, true},
      {27, 10, "Trans2DMultiSquareFadeFX", "", {0}, true},
      {28, 10, "Trans2DMultiSquareFadeFX", "", {1}, true},
      {29, 10, "Trans2DMultiSquareFadeFX", "", {2}, true},
      {110, 20, "Trans2DLinearWipeHorzFX", "", {0}, false},
      {111, 20, "Trans2DLinearWipeHorzFX", "", {1}, false},
      {112, 20, "Trans2DLinearWipeVertFX", "", {2}, false},
      {113, 20, "Trans2DLinearWipeVertFX", "", {3}, false},
      {114, 21, "Trans2DLinearSlideHorzFX", "Trans2DLinearSlideHorzOffFX", {0}, false},
      {115, 21, "Trans2DLinearSlideHorzFX", "Trans2DLinearSlideHorzOffFX", {1}, false},
      {116, 21, "Trans2DLinearSlideVertFX", "Trans2DLinearSlideVertOffFX", {2}, false},
      {117, 21, "Trans2DLinearSlideVertFX", "Trans2DLinearSlideVertOffFX", {3}, false},
      {130, 23, "Trans2DRotateWipeFX", "", {1}, false},
      {131, 23, "Trans2DRotateWipeFX", "", {0}, false},
      {140, 25, "Trans2DMultiSqRippleFX", "", {8}, true},
      {141, 25, "Trans2DMultiSqRippleFX", "", {9}, true},
      {142, 26, "Trans2DMultiSqRippleFX", "", {10}, true},
      {143, 27, "Trans2DCompressExpandVertFX", "Trans2DCompressExpandVertOffFX", {1}, false},
      {144, 27, "Trans2DCompressExpandHorzFX", "Trans2DCompressExpandHorzOffFX", {4}, false},
      {149, 29, "Trans2DSlidingShuttersVertFX", "Trans2DSlidingShuttersVertOffFX", {1}, false},
      {150, 29, "Trans2DSlidingShuttersHorzFX", "Trans2DSlidingShuttersHorzOffFX", {1}, false},
      {151, 29, "Trans2DSlidingShuttersVertFX", "Trans2DSlidingShuttersVertOffFX", {0}, false},
      {152, 29, "Trans2DSlidingShuttersHorzFX", "Trans2DSlidingShuttersHorzOffFX", {0}, false},
  };
  // Corner fades: (first id, class, first pattern, variant, how many).
  const int corner[][5] = {{30, 11, 0, 0, 12}, {42, 12, 12, 0, 4}, {46, 30, 12, 1, 4},
                           {50, 14, 16, 0, 2}, {52, 14, 16, 1, 2}, {54, 13, 18, 0, 4},
                           {58, 13, 18, 1, 4}, {62, 13, 22, 0, 4}, {66, 13, 22, 1, 4},
                           {70, 14, 26, 0, 2}, {72, 14, 26, 1, 2}};
  for (const auto& c : corner)
    for (int i = 0; i < c[4]; ++i)
      t.push_back({c[0] + i, c[1], "Trans2DMultiSqCornerFadeFX", "", {c[2] + i, c[3]}, true});
  // Shape fades: the class of every id from 74 to 109.
  const std::vector<std::vector<int>> shapeClasses = {
      {93, 94, 101, 106, 109},                                       // 15
      {96, 99, 103, 105},                                            // 16
      {95, 98, 107, 108},                                            // 17
      {74, 75, 76, 77, 78, 79, 80, 81, 82, 83, 84, 86, 87, 90, 92},  // 18
      {85, 88, 89, 91, 97, 100, 102, 104}};                          // 19
  for (int k = 0; k < 5; ++k)
    for (int id : shapeClasses[k])
      t.push_back({id, 15 + k, "Trans2DShapePatternFadeFX", "", {id - 74}, true});
  for (int i = 0; i < 4; ++i) {
    t.push_back({118 + i, 20, "Trans2DDiagonalWipeFX", "", {4 + i}, false});
    t.push_back(
        {122 + i, 21, "Trans2DDiagonalSlideFX", "Trans2DDiagonalSlideOffFX", {4 + i}, false});
    t.push_back({126 + i, 22, "Trans2DShrinkAndSlideFX", "Trans2DShrinkAndSlideOffFX", {i}, false});
    t.push_back({145 + i, 28, "Trans2DLinearWipeTideFX", "", {i}, true});
  }
  for (int i = 0; i < 8; ++i) t.push_back({132 + i, 24, "Trans2DMultiSqRippleFX", "", {i}, true});
  return t;
}

const Route* FindRoute(const std::vector<Route>& table, int id) {
  for (const Route& r : table)
    if (r.id == id) return &r;
  return nullptr;
}

// Distinct values for every argument, so that a swapped pair shows. The period is a display frame
// or longer, which the families pace themselves.
constexpr int kDx = 3, kDy = 4, kDw = 50, kDh = 40, kAx = 6, kAy = 7, kSw = 25, kSh = 20, kBx = 8,
              kBy = 9, kPar0 = 41, kPar1 = 12, kPar2 = 13;

TEST(DispatchRouting, TheTableNamesEveryEffectOfTheEffectTableOnce) {
  const std::vector<Route> table = RoutingTable();
  EXPECT_EQ(table.size(), 149u);
  for (const TransFXEffectRow& row : TransFXTable) {
    if (row.classId > 30) continue;
    const Route* route = FindRoute(table, row.effectId);
    ASSERT_NE(route, nullptr) << row.name;
    EXPECT_EQ(route->transClass, row.classId) << "effect " << row.effectId << " " << row.name;
  }
}

TEST(DispatchRouting, EveryValueReachesItsRoutineWithItsArguments) {
  const std::vector<Route> table = RoutingTable();
  CountingNullLayer layer;
  const RECT screen{0, 0, 640, 480};
  for (int id = -1; id <= 153; ++id) {
    for (BOOL offScreen : {FALSE, TRUE}) {
      SCOPED_TRACE("effect " + std::to_string(id) + (offScreen ? " off screen" : " on screen"));
      FamilyCalls().clear();
      const BOOL result = TransFXDispatch(layer, kDx, kDy, kDw, kDh, kAx, kAy, kSw, kSh, kBx, kBy,
                                          id, kPar0, kPar1, kPar2, offScreen, &screen);
      const Route* route = FindRoute(table, id);
      EXPECT_EQ(IsTransFXEffect(id), route != nullptr);
      if (!route) {
        EXPECT_EQ(result, FALSE);
        EXPECT_TRUE(FamilyCalls().empty());
        continue;
      }
      EXPECT_EQ(result, TRUE);
      ASSERT_EQ(FamilyCalls().size(), 1u);
      const FamilyCall& call = FamilyCalls()[0];
      const bool two = !route->offRoutine.empty();
      EXPECT_EQ(call.routine, two && offScreen ? route->offRoutine : route->routine);
      EXPECT_EQ(call.modes, route->modes);
      EXPECT_EQ(call.par0, kPar0);
      EXPECT_EQ(call.par1, kPar1);
      EXPECT_EQ(call.par2, route->par2 ? kPar2 : fxtest::kNotPassed);
      ASSERT_EQ(call.twoSurface, two);
      if (two) {
        const FxTwoSurface& f = call.two;
        // The family draws through the dispatcher's stopping layer around the caller's (Pacing.h).
        EXPECT_NE(f.layer, nullptr);
        EXPECT_EQ(std::vector<int>({f.dx, f.dy, f.dw, f.dh, f.ax, f.ay, f.sw, f.sh, f.bx, f.by}),
                  std::vector<int>({kDx, kDy, kDw, kDh, kAx, kAy, kSw, kSh, kBx, kBy}));
        EXPECT_EQ(f.screen, &screen);
      } else {
        const FxOneSurface& f = call.one;
        EXPECT_NE(f.layer, nullptr);
        EXPECT_EQ(f.source, offScreen ? BlitSurface::B : BlitSurface::A);
        EXPECT_EQ(std::vector<int>({f.dx, f.dy, f.dw, f.dh, f.sx, f.sy, f.sw, f.sh}),
                  std::vector<int>({kDx, kDy, kDw, kDh, offScreen ? kBx : kAx,
                                    offScreen ? kBy : kAy, kSw, kSh}));
      }
    }
  }
}

// A period shorter than a frame is the dispatcher's to pace: the routine runs unpaced twice, once
// to count its steps on a layer of the dispatcher's and once drawing through a pacing layer.
TEST(DispatchRouting, SubFramePeriodsRunTheRoutineUnpacedToCountThenToDraw) {
  CountingNullLayer layer;
  const RECT screen{0, 0, 640, 480};
  for (int par0 : {0, kFrameMs - 1}) {
    for (int id : {0, 114, 142}) {
      FamilyCalls().clear();
      EXPECT_EQ(
          TransFXDispatch(layer, 0, 0, 10, 10, 0, 0, 10, 10, 0, 0, id, par0, 5, 6, FALSE, &screen),
          TRUE);
      ASSERT_EQ(FamilyCalls().size(), 2u) << id;
      for (const FamilyCall& call : FamilyCalls()) {
        EXPECT_EQ(call.par0, kUnpaced) << id;
        EXPECT_EQ(call.par1, 5) << id;
        const BlitLayer* used = call.twoSurface ? call.two.layer : call.one.layer;
        EXPECT_NE(used, &layer) << id;
      }
    }
  }
}

TEST(DispatchRouting, TheRoutineResultIsTheDispatcherResult) {
  CountingNullLayer layer;
  const RECT screen{0, 0, 640, 480};
  fxtest::SetFamilyResult(FALSE);
  for (int id : {0, 6, 114, 142}) {
    EXPECT_EQ(TransFXDispatch(layer, 0, 0, 10, 10, 0, 0, 10, 10, 0, 0, id, 0, 1, 1, FALSE, &screen),
              FALSE)
        << id;
  }
  fxtest::SetFamilyResult(TRUE);
}

TEST(DispatchRouting, ValuesFarOutsideTheTableReachNothing) {
  CountingNullLayer layer;
  const RECT screen{0, 0, 640, 480};
  FamilyCalls().clear();
  for (int id : {-2147483647 - 1, -1000, 200, 1000, 2147483647}) {
    EXPECT_EQ(TransFXDispatch(layer, 0, 0, 10, 10, 0, 0, 10, 10, 0, 0, id, 0, 1, 1, TRUE, &screen),
              FALSE);
  }
  EXPECT_TRUE(FamilyCalls().empty());
}

}  // namespace
