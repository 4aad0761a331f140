// The rules the rolling and bouncing routines share: their shapes' size from Res on screens of
// every width band, held so that the walls of the box never turn inside out; the pace from
// Speed; the box of walls; the picture textures (strips along a band, a fitted picture turned a
// quarter turn, grey ground where nothing fits, the picture the right way round); and two solids
// swapping their velocities when they meet.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>

#include "engine3d/Animation.h"
#include "engine3d/Scene.h"
#include "engine3d/ShapesBox.h"
#include "imaging/DIB.h"
#include "imaging/HeadlessScreenHost.h"
#include "routines/BlocksWorld.h"
#include "routines/PictureTextures.h"
#include "routines/RoutineMotion.h"
#include "seams/Random.h"
#include "tests/native/routines/BouncingFixture.h"

namespace {

using namespace bouncetest;

TEST(BouncingRules, SizeAndPaceFollowResAndSpeedOnEveryWidthBand) {
  // Screens 3:4 high; lo = W / 30; the upper bounds: W / 5 for the cylinder, W / 6 for the balls,
  // W / 5 scaled by the width band for the solids.
  const struct {
    int width;
    double blocksHi;
  } cases[] = {
      {1000, 200},       {1001, 200 * 0.8}, {1100, 220 * 0.8},
      {1101, 220 * 0.6}, {1200, 240 * 0.6}, {1201, 240 * 0.5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    const int w = c.width, h = w * 3 / 4;
    EXPECT_DOUBLE_EQ(BlocksUpperSize(w), c.blocksHi);
    const double lo = w / 30;
    for (const double hi : {static_cast<double>(w / 5), static_cast<double>(w / 6), c.blocksHi}) {
      EXPECT_DOUBLE_EQ(RoutineShapeSize(w, h, lo, hi, 100), lo) << "Res 100: the smallest";
      EXPECT_DOUBLE_EQ(RoutineShapeSize(w, h, lo, hi, 1), hi) << "Res 1: the largest";
      EXPECT_DOUBLE_EQ(RoutineShapeSize(w, h, lo, hi, 150), lo) << "past 100 acts as 100";
      const double mid = RoutineShapeSize(w, h, lo, hi, 50);
      EXPECT_NEAR(mid, lo + (hi - lo) * 50 / 99, 1e-9);
    }
    // The pace: the time scale itself at Speed 100, 25 times it at Speed 1.
    const RoutineTravel t = RoutineTravelFor(400.5, 40, w, h);
    EXPECT_EQ(RoutinePace(t.d, 100), static_cast<int32_t>(t.d));
    EXPECT_EQ(RoutinePace(t.d, 1), static_cast<int32_t>(25 * t.d));
    // Stored values out of range act as the nearest end: never a pace of 0 or less.
    EXPECT_EQ(RoutinePace(t.d, 150), RoutinePace(t.d, 100));
    EXPECT_EQ(RoutinePace(t.d, -20), RoutinePace(t.d, 1));
    EXPECT_GT(RoutinePace(t.d, 1), RoutinePace(t.d, 50));
  }
}

TEST(BouncingRules, TheSizeIsHeldSoTheWallsNeverTurnInsideOut) {
  // A wide, low screen: Res 1 asks for more than half the height.
  const struct {
    int w, h;
    double asked, held;
  } cases[] = {
      {1000, 300, 200, 148},  // min(W, H) / 2 - 2
      {1000, 750, 200, 200},  // fits: kept
      {30, 20, 0, 2},         // a size of 0 would divide by zero
      {6, 4, 5, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    const double s = RoutineShapeSize(c.w, c.h, c.asked, c.asked, 50);
    EXPECT_DOUBLE_EQ(s, c.held);
    if (c.w >= 30) {
      const RoutineTravel t =
          RoutineTravelFor(2 * 60.0 * (c.w / 2 - s / 2) / (s / 2), s / 2, c.w, c.h);
      EXPECT_GT(t.y, 0) << "the top wall lies above the bottom one";
      EXPECT_TRUE(std::isfinite(t.d));
    }
  }
}

TEST(BouncingRules, TheWallsEncloseTheBoxInFrontOfTheCamera) {
  const BoundingPlanes b = RoutineWallPlanes(400, 300, -500);
  // A point is inside when a x + b y + c z + d >= 0 for each wall.
  auto inside = [&b](double x, double y, double z) {
    for (int i = 0; i < 6; ++i) {
      if (b.m[0][i] * x + b.m[1][i] * y + b.m[2][i] * z + b.m[3][i] < 0) return false;
    }
    return true;
  };
  EXPECT_TRUE(inside(0, 0, -500));
  EXPECT_TRUE(inside(199, -149, -905));
  EXPECT_TRUE(inside(-199, 149, -491));
  EXPECT_FALSE(inside(201, 0, -500));
  EXPECT_FALSE(inside(0, -151, -500));
  EXPECT_FALSE(inside(0, 0, -489)) << "too near";
  EXPECT_FALSE(inside(0, 0, -911)) << "too far";
}

// A headless screen showing the hue picture (a white bar along its top).
class PictureTexturesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host.SetBackground(NewHuePicture(640, 480))); }

  static int At(const CDIB& d, int x, int y) { return *d.GetPixelAddress(x, y); }
  static bool IsPicture(int index) { return index >= kFirstHue && index <= kBarIndex; }
  // Whether the column x of the texture, rows y0..y1-1, is the ground throughout.
  static bool GroundColumn(const CDIB& d, int x, int y0, int y1) {
    for (int y = y0; y < y1; ++y)
      if (At(d, x, y) != kRamp) return false;
    return true;
  }
  static long GroundPixels(const CDIB& d) {
    long n = 0;
    for (int y = 0; y < d.GetHeight(); ++y)
      for (int x = 0; x < d.GetWidth(); ++x) n += At(d, x, y) == kRamp;
    return n;
  }

  HeadlessScreenHost host{kRamp};
};

TEST_F(PictureTexturesTest, UprightStripsRepeatTheAreaAlongTheBandRightWayRound) {
  // 640 x 480 into a band 160 high: strips 213 wide, three of them, gaps of 7.
  const RECT area = {0, 0, 640, 480};
  std::unique_ptr<CDIB> t(BuildBackgroundTexture(&host, &area, 660, 200, 20));
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->GetWidth(), 660);
  ASSERT_EQ(t->GetHeight(), 200);
  for (int x = 0; x < 660; x += 7) {
    EXPECT_EQ(At(*t, x, 0), kRamp) << "above the band";
    EXPECT_EQ(At(*t, x, 199), kRamp) << "below the band";
  }
  for (int i = 0; i < 3; ++i) {
    const int x0 = i * 220;
    EXPECT_EQ(At(*t, x0 + 5, 21), kBarIndex) << "the picture's top at the band's top";
    EXPECT_TRUE(IsPicture(At(*t, x0 + 5, 170)));
    for (int y = 20; y < 180; y += 9)
      for (int x = 0; x < 213; x += 11) ASSERT_EQ(At(*t, x0 + x, y), At(*t, x, y)) << i;
    EXPECT_TRUE(GroundColumn(*t, x0 + 213, 20, 180)) << "the gap";
  }
  // Not mirrored: the hue grows to the right.
  EXPECT_LT(At(*t, 10, 150), At(*t, 200, 150));
}

TEST_F(PictureTexturesTest, AWideAreaLiesOnItsSideAcrossTheBand) {
  // 640 x 100 is wider than the band can hold upright: strips 31 wide (100 * 200 / 640), 25.
  const RECT area = {0, 0, 640, 100};
  std::unique_ptr<CDIB> t(BuildBackgroundTexture(&host, &area, 800, 200, 0));
  ASSERT_NE(t, nullptr);
  const int sw = 31, gap = (800 - 25 * sw) / 25;
  for (int i = 0; i < 25; ++i) {
    const int x0 = i * (sw + gap);
    EXPECT_EQ(At(*t, x0 + sw - 1, 100), kBarIndex) << "the area's top row turned to the right";
    EXPECT_TRUE(IsPicture(At(*t, x0, 100)));
  }
}

TEST_F(PictureTexturesTest, NothingToFitGivesTheGroundAloneAndNoBackgroundGivesNone) {
  const struct {
    RECT area;
    int border;
  } cases[] = {
      {{10, 10, 10, 200}, 0},   // no width
      {{10, 10, 300, 10}, 0},   // no height
      {{0, 0, 640, 480}, 100},  // the border leaves no band
      {{0, 0, 1, 480}, 0},      // a one-pixel column: no strip in either layout
      {{700, 0, 900, 100}, 0},  // beside the picture
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.area.left << "," << c.area.top << " " << c.area.right
                                    << "," << c.area.bottom << " border " << c.border);
    std::unique_ptr<CDIB> strips(BuildBackgroundTexture(&host, &c.area, 200, 200, c.border));
    ASSERT_NE(strips, nullptr);
    EXPECT_EQ(GroundPixels(*strips), 200 * 200);
  }
  const RECT none = {5, 5, 5, 5};
  std::unique_ptr<CDIB> fitted(BuildFittedTexture(&host, &none, 40, 30, nullptr));
  ASSERT_NE(fitted, nullptr);
  EXPECT_EQ(GroundPixels(*fitted), 40 * 30);
  HeadlessScreenHost empty;
  const RECT area = {0, 0, 10, 10};
  EXPECT_EQ(BuildBackgroundTexture(&empty, &area, 20, 20, 0), nullptr);
  EXPECT_EQ(BuildFittedTexture(&empty, &area, 20, 20, nullptr), nullptr);
}

TEST_F(PictureTexturesTest, TheFittedPictureIsTurnedAQuarterTurn) {
  // A wide area fills 400 x 300 exactly; a tall one is turned first and centred between grounds.
  {
    const RECT area = {0, 0, 640, 480};
    std::unique_ptr<CDIB> t(BuildFittedTexture(&host, &area, 400, 300, nullptr));
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->GetWidth(), 300);
    ASSERT_EQ(t->GetHeight(), 400);
    EXPECT_EQ(GroundPixels(*t), 0);
    EXPECT_EQ(At(*t, 299, 200), kBarIndex) << "the picture's top along the right edge";
    EXPECT_TRUE(IsPicture(At(*t, 0, 200)));
    EXPECT_LT(At(*t, 150, 10), At(*t, 150, 390)) << "the hue grows downwards (left to right)";
  }
  {
    const RECT area = {0, 0, 100, 400};  // taller than wide: turned, 400 x 100 in the middle
    std::unique_ptr<CDIB> t(BuildFittedTexture(&host, &area, 400, 300, nullptr));
    ASSERT_NE(t, nullptr);
    for (int y = 0; y < 400; y += 13) {
      EXPECT_TRUE(GroundColumn(*t, 50, y, y + 1) && GroundColumn(*t, 250, y, y + 1)) << y;
      EXPECT_TRUE(IsPicture(At(*t, 150, y))) << y;
    }
  }
  {
    // On a backdrop: its pixels around the picture.
    std::unique_ptr<CDIB> backdrop(NewHuePicture(400, 300));
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 400; ++x) *backdrop->GetPixelAddress(x, y) = 77;
    const RECT area = {0, 0, 100, 400};
    std::unique_ptr<CDIB> t(BuildFittedTexture(&host, &area, 400, 300, backdrop.get()));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(At(*t, 10, 10), 77);
    EXPECT_EQ(GroundPixels(*t), 0);
  }
}

TEST(TurnQuarter, PixelsGoToTheTurnedPlaceAndAMisfitChangesNothing) {
  std::unique_ptr<CDIB> from(NewHuePicture(3, 2)), to(NewHuePicture(2, 3)),
      wrong(NewHuePicture(3, 2));
  const BYTE values[2][3] = {{1, 2, 3}, {4, 5, 6}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) *from->GetPixelAddress(x, y) = values[y][x];
  ASSERT_TRUE(TurnQuarter(*from, *to));
  const BYTE turned[3][2] = {{4, 1}, {5, 2}, {6, 3}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(*to->GetPixelAddress(x, y), turned[y][x]) << x << y;
  const BYTE before = *wrong->GetPixelAddress(0, 0);
  EXPECT_FALSE(TurnQuarter(*from, *wrong));
  EXPECT_EQ(*wrong->GetPixelAddress(0, 0), before);
}

TEST(CollideObjects, TwoSolidsSwapTheirVelocitiesAndFlyOnInsideTheBox) {
  seams::Srand(7);
  HeadlessScreenHost host(kRamp);
  ASSERT_TRUE(host.SetBackground(NewHuePicture(320, 240)));
  C3DScene scene(&host);
  C3DCube a, b;
  const BoundingPlanes walls = RoutineWallPlanes(300, 200, -400);
  const int32_t none[3] = {0, 0, 0};
  a.boundingPlanes = b.boundingPlanes = walls;
  scene.InsertObject(&a);
  scene.InsertObject(&b);
  // a flies right toward the right wall (0), b up toward the top wall (2).
  a.SetMotion(RoutinePoint(-20, 0, -400), none, RoutinePoint(100, 0, -400), none, 2.0, 0);
  b.SetMotion(RoutinePoint(20, 0, -400), none, RoutinePoint(20, 60, -400), none, 2.0, 0);
  a.animInts[0] = 0;
  b.animInts[0] = 2;
  const FixedVector va = a.velocity, vb = b.velocity;
  CollideObjects(&a, &b);
  auto direction = [](const FixedVector& v) {
    const double n = std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
    return std::array<double, 3>{v.x / n, v.y / n, v.z / n};
  };
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(direction(a.velocity)[i], direction(vb)[i], 1e-3) << "a takes b's way";
    EXPECT_NEAR(direction(b.velocity)[i], direction(va)[i], 1e-3) << "b takes a's way";
  }
  EXPECT_EQ(a.animInts[0], 2) << "a flies up to the top wall";
  EXPECT_EQ(b.animInts[0], 0) << "b flies right to the right wall";
  scene.RemoveObject(&a);
  scene.RemoveObject(&b);
}

// Which collision reports the bouncing routines answer: after an answered one, the solids answer
// another pair at once but the same pair (in either order) only after a stop; the balls answer
// nothing until a stop.
TEST(CollisionGate, ASameOrAnyPairWaitsForAStop) {
  C3DObject a, b, c;
  struct Event {
    C3DObject* first;  // null: a shape stopped
    C3DObject* second;
    bool solids, balls;  // answered by each gate
  };
  const Event events[] = {
      {&a, &b, true, true},    // the first report is answered
      {&a, &b, false, false},  // the pair still parting
      {&b, &a, false, false},  // the same pair the other way round
      {&a, &c, true, false},   // another pair: the solids answer it
      {&a, &c, false, false},
      {&a, &b, true, false},  // the pair before the last is another pair again
      {nullptr, nullptr, false, false},
      {&a, &b, true, true},  // after a stop, even the last pair
      {&b, &a, false, false},
      {nullptr, nullptr, false, false},
      {nullptr, nullptr, false, false},
      {&c, &b, true, true},
  };
  CollisionGate solids(true), balls(false);
  for (size_t i = 0; i < sizeof events / sizeof events[0]; ++i) {
    const Event& e = events[i];
    SCOPED_TRACE(testing::Message() << "event " << i);
    if (!e.first) {
      solids.ShapeStopped();
      balls.ShapeStopped();
      continue;
    }
    EXPECT_EQ(solids.Answer(e.first, e.second), e.solids);
    EXPECT_EQ(balls.Answer(e.first, e.second), e.balls);
  }
}

}  // namespace
