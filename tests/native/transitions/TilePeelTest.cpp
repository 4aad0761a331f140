// The 3D tile peel on a headless screen: refusals that touch nothing, the orders of the ten
// effects, every effect both ways on off-centre rectangles of two screen sizes ending on exactly
// the new screen, a stop request part-way, a steady calibration, and the exit points.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "imaging/DIB.h"
#include "imaging/HeadlessScreenHost.h"
#include "imaging/Sprite.h"
#include "imaging/SpriteList.h"
#include "seams/Clock.h"
#include "transitions/TilePeel.h"

namespace {

// Old screen 0..96, new screen 100..196, by position.
CDIB* Picture(int w, int h, int base) {
  auto* dib = new CDIB;
  EXPECT_TRUE(dib->Create(w, h, nullptr));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      *dib->GetPixelAddress(x, y) = static_cast<BYTE>(base + (x + 3 * y) % 97);
  return dib;
}

// A clock that advances on every read and can raise the stop request after a number of reads.
class StopClock : public seams::Clock {
 public:
  uint32_t TickCount() override {
    ++reads;
    if (stopAfter > 0 && reads == stopAfter) seams::RequestStop();
    return now += 1;
  }
  int64_t WallSeconds() override { return 1000; }
  void Idle() override {}
  int stopAfter = 0;
  int reads = 0;
  uint32_t now = 1000;
};

struct Screen {
  Screen(int w, int h) : width(w), height(h) {
    host.SetBackground(Picture(w, h, 0));
    bitmap.reset(Picture(w, h, 100));
  }
  // The pixels of a picture row by row (padding left out).
  static std::vector<BYTE> Pixels(const CDIB& dib) {
    std::vector<BYTE> out;
    for (int y = 0; y < dib.GetHeight(); ++y) {
      const BYTE* row = dib.GetPixelAddress(0, y);
      out.insert(out.end(), row, row + dib.GetWidth());
    }
    return out;
  }
  // Old screen outside r, the bitmap inside.
  std::vector<BYTE> Expected(const RECT& r) {
    std::unique_ptr<CDIB> old(Picture(width, height, 0));
    std::vector<BYTE> out = Pixels(*old);
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        out[static_cast<size_t>(y) * width + x] = *bitmap->GetPixelAddress(x, y);
    return out;
  }
  BOOL Run(int effect, int offScreen, RECT& r, CString& error, int speed = 1, int res = 1,
           int peel = 1) {
    return Transition3DFX(effect, offScreen, &host, bitmap.get(), &r, 0, 0, speed, res, peel, 50, 0,
                          &error);
  }
  int width, height;
  HeadlessScreenHost host;
  std::unique_ptr<CDIB> bitmap;
};

size_t Differences(const std::vector<BYTE>& a, const std::vector<BYTE>& b) {
  if (a.size() != b.size()) return a.size() + b.size();
  size_t n = 0;
  for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

TEST(TilePeel, BadEffectSliderOrBitmapGivesItsCodeAndShowsNothing) {
  seams::TestClock clock;
  seams::ScopedClock installed(&clock);
  struct Case {
    int effect, speed, res, peel, volume;
    int bitmap;  // 0 right, 1 another size, 2 none, 3 24 bits
    const char* text;
  };
  const char* kEffect = "Trans3DFX Error Message: FX chosen is outside allowed range";
  const char* kSlider = "Trans3DFX Error Message: Slider value is outside allowed range";
  const char* kBitmap = "Trans3DFX Error Message: OSB did not match supplied background";
  const Case cases[] = {
      {10, 50, 50, 50, 50, 0, kEffect}, {-1, 50, 50, 50, 50, 0, kEffect},
      {0, 0, 50, 50, 50, 0, kSlider},   {0, 50, 101, 50, 50, 0, kSlider},
      {0, 50, 50, 0, 50, 0, kSlider},   {0, 50, 50, 50, 101, 0, kSlider},
      {0, 50, 50, 50, 50, 1, kBitmap},  {0, 50, 50, 50, 50, 2, kBitmap},
      {0, 50, 50, 50, 50, 3, kBitmap},
  };
  for (const Case& c : cases) {
    Screen screen(320, 240);
    const std::vector<BYTE> before = Screen::Pixels(*screen.host.GetBackground());
    CDIB other;
    if (c.bitmap == 1) other.Create(318, 240, nullptr);
    if (c.bitmap == 3) other.Create24(320, 240);
    CDIB* bitmap = c.bitmap == 0 ? screen.bitmap.get() : (c.bitmap == 2 ? nullptr : &other);
    RECT r = {40, 40, 280, 200};
    CString error;
    for (int off : {0, 1}) {
      EXPECT_FALSE(Transition3DFX(c.effect, off, &screen.host, bitmap, &r, 0, 0, c.speed, c.res,
                                  c.peel, c.volume, 0, &error));
      EXPECT_EQ(error, c.text);
    }
    EXPECT_EQ(r.right, 280) << "the rectangle is left alone";
    EXPECT_TRUE(screen.host.GetShownRects().empty());
    EXPECT_EQ(Screen::Pixels(*screen.host.GetBackground()), before);
  }
}

TEST(TilePeel, RectanglesThatCannotBeTiledAreEmptied) {
  seams::TestClock clock;
  seams::ScopedClock installed(&clock);
  struct Case {
    RECT r;
    int res;
    const char* text;
  };
  // The chooser never gives more than 36 tiles a side, so "too many squares" cannot come up.
  const Case cases[] = {
      {{10, 10, 40, 510}, 50, "Trans3DFX Error Message: Not enough squares to do 3D transition"},
      {{10, 10, 49, 49}, 50, "Trans3DFX Error Message: Not enough squares to do 3D transition"},
      {{10, 10, 55, 810},
       50,
       "Trans3DFX Error Message: Unable to generate suitable size for 3D tiles"},
  };
  for (const Case& c : cases) {
    Screen screen(800, 800);
    RECT r = c.r;
    CString error;
    EXPECT_TRUE(screen.Run(0, 1, r, error, 1, c.res, 1));
    EXPECT_EQ(error, c.text);
    EXPECT_TRUE(r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0);
    EXPECT_TRUE(screen.host.GetShownRects().empty());
  }
}

TEST(TilePeelOrder, ThreeByTwoGridForEveryEffect) {
  // Tile numbers row * 3 + column, row 0 at the bottom.
  const std::vector<int> expected[10] = {
      {0, 3, 1, 4, 2, 5}, {2, 5, 1, 4, 0, 3}, {0, 1, 2, 3, 4, 5}, {5, 4, 3, 2, 1, 0},
      {0, 1, 3, 2, 4, 5}, {5, 2, 4, 1, 3, 0}, {3, 0, 4, 1, 5, 2}, {2, 1, 5, 0, 4, 3},
      {0, 3, 4, 5, 2, 1}, {5, 4, 3, 0, 1, 2},
  };
  for (int effect = 0; effect < 10; ++effect) {
    EXPECT_EQ(Transition3DOrder(effect, 3, 2), expected[effect]) << "effect " << effect;
  }
  // Every order visits every tile once, on grids of every shape.
  for (int effect = 0; effect < 10; ++effect) {
    for (auto [a, r] : {std::pair{5, 4}, std::pair{2, 7}, std::pair{36, 36}}) {
      std::vector<int> order = Transition3DOrder(effect, a, r);
      std::sort(order.begin(), order.end());
      for (int i = 0; i < a * r; ++i) ASSERT_EQ(order[i], i) << effect << " " << a << "x" << r;
    }
  }
}

TEST(TilePeelTiming, LaunchWaitsGrowFromTheFirstIntervalToThePeelRate) {
  // Peel Rate 100 (1 s) over a spread of 4: the first tile waits 0.25 s, the last nearly 1 s.
  EXPECT_DOUBLE_EQ(Transition3DLaunchWait(0, 100, 1.0, 4.0), 0.25);
  EXPECT_DOUBLE_EQ(Transition3DLaunchWait(50, 100, 1.0, 4.0), 0.625);
  EXPECT_DOUBLE_EQ(Transition3DLaunchWait(99, 100, 1.0, 4.0), 0.25 + 99 * 0.75 / 100);
  // The whole schedule of 768 tiles at Peel Rate 50 on a 32 x 24 grid, diagonal effect.
  double total = 0;
  const double span = GetTransition3DSpan(4, 32, 24);
  for (int i = 0; i < 768; ++i) total += Transition3DLaunchWait(i, 768, 0.5, span);
  EXPECT_NEAR(total, 768 * (0.5 / span + 0.5) / 2, 1.0);
  EXPECT_GT(total, 195.0) << "more than three minutes for one picture change";
}

TEST(TilePeelExits, DiagonalAndRadialExitPoints) {
  int ex = 0, ey = 0;
  // Toward (-m, -m) from the centre of a 400 x 300 screen along the diagonal.
  GetDiagonalExitPoint(200, 150, 400, 300, 4, 30, ex, ey);
  EXPECT_EQ(ex, -30);
  EXPECT_EQ(ey, -22);
  GetDiagonalExitPoint(200, 150, 400, 300, 7, 30, ex, ey);
  EXPECT_EQ(ex, 430);
  // A centre on the middle row or column exits straight instead of dividing by zero.
  GetRadialExitPoint(300, 150, 400, 300, 30, ex, ey);
  EXPECT_EQ(ex, 430);
  EXPECT_EQ(ey, 150);
  GetRadialExitPoint(200, 250, 400, 300, 30, ex, ey);
  EXPECT_EQ(ex, 200);
  EXPECT_EQ(ey, 330);
  GetRadialExitPoint(200, 150, 400, 300, 30, ex, ey);  // the very centre
  EXPECT_TRUE(ex == 200 || ey == 150);
  GetRadialExitPoint(20, 140, 400, 300, 30, ex, ey);
  EXPECT_EQ(ex, -30);
  EXPECT_DOUBLE_EQ(GetTransition3DSpan(0, 5, 4), 5.5 * 2 / 3);
}

// Every effect both ways, on a rectangle off the screen's centre (its odd margin at the bottom),
// and on a 1366-wide screen whose rows are padded: the tiles leave exactly the bitmap's rectangle
// and the old screen around it in the document, the surface and the bitmap.
TEST(TilePeel, EveryEffectBothWaysEndsOnTheNewScreen) {
  struct Case {
    int w, h;
    RECT r;
  };
  const Case cases[] = {{1024, 768, {192, 64, 832, 544}}, {1366, 768, {363, 100, 1003, 580}}};
  for (const Case& c : cases) {
    for (int effect = 0; effect < 10; ++effect) {
      for (int off : {1, 0}) {
        seams::TestClock clock(1000, 4, 1);
        seams::ScopedClock installed(&clock);
        Screen screen(c.w, c.h);
        RECT r = c.r;
        CString error("untouched");
        const std::string what =
            std::to_string(c.w) + " effect " + std::to_string(effect) + (off ? " off" : " on");
        ASSERT_TRUE(screen.Run(effect, off, r, error)) << what << ": " << error;
        EXPECT_EQ(error, "untouched") << what;
        EXPECT_TRUE(r.left == c.r.left && r.top == c.r.top && r.right == c.r.right &&
                    r.bottom == c.r.bottom)
            << what;
        const std::vector<BYTE> expected = screen.Expected(c.r);
        EXPECT_EQ(Differences(Screen::Pixels(*screen.host.GetBackground()), expected), 0u) << what;
        EXPECT_EQ(Differences(Screen::Pixels(*screen.host.GetSurface()), expected), 0u)
            << what << ": no square left on the surface";
        EXPECT_FALSE(screen.host.GetShownRects().empty()) << what;
      }
    }
  }
}

TEST(TilePeel, AStopRequestEndsWithinAFrameShowingTheEndState) {
  for (int off : {1, 0}) {
    for (int reads : {40, 400, 4000}) {
      StopClock clock;
      clock.stopAfter = reads;
      seams::ScopedClock installed(&clock);
      Screen screen(640, 480);
      RECT r = {64, 48, 576, 432};
      CString error;
      EXPECT_TRUE(screen.Run(4, off, r, error, 50, 50, 50));
      const int readsAfterStop = clock.reads - reads;
      seams::ClearStop();
      EXPECT_LT(readsAfterStop, 8) << "no frame after the stop";
      const std::vector<BYTE> expected = screen.Expected(r);
      EXPECT_EQ(Differences(Screen::Pixels(*screen.host.GetBackground()), expected), 0u);
      EXPECT_EQ(Differences(Screen::Pixels(*screen.host.GetSurface()), expected), 0u);
      const CRect& last = screen.host.GetShownRects().back();
      EXPECT_TRUE(last.left <= r.left && last.top <= r.top && last.right >= r.right &&
                  last.bottom >= r.bottom)
          << "the end state is shown";
    }
  }
}

TEST(TilePeel, ThreeRunsInARowKeepTheSameReferenceDepth) {
  seams::TestClock clock(1000, 4, 1);
  seams::ScopedClock installed(&clock);
  Screen screen(640, 480);
  std::vector<int32_t> depths;
  for (int i = 0; i < 4; ++i) {
    RECT r = {64, 48, 576, 432};
    CString error;
    ASSERT_TRUE(screen.Run(2, i % 2, r, error));
    depths.push_back(GetTransition3DReferenceDepth());
  }
  EXPECT_EQ(depths[1], depths[2]);
  EXPECT_EQ(depths[2], depths[3]);
}

// A depth on or behind the camera's plane, where no square can be measured, is not kept: the run
// calibrates from the first depth again, ends on exactly the new screen, and the next run is on
// the depth that runs from a sound depth keep.
TEST(TilePeel, ADepthWhereNoSquareCanBeMeasuredIsNotKept) {
  seams::TestClock clock(1000, 4, 1);
  seams::ScopedClock installed(&clock);
  const RECT tiles = {64, 48, 576, 432};
  auto run = [&tiles](int off) {
    Screen screen(640, 480);
    RECT r = tiles;
    CString error;
    EXPECT_TRUE(screen.Run(2, off, r, error));
    // The rectangle as the tile size left it (whole tiles, centred).
    return Differences(Screen::Pixels(*screen.host.GetBackground()), screen.Expected(r));
  };
  run(1);
  run(1);
  const int32_t steady = GetTransition3DReferenceDepth();
  ASSERT_LT(steady, 0);
  for (const int32_t bad : {0, -steady, INT32_MAX}) {
    for (int off : {1, 0}) {
      SCOPED_TRACE(testing::Message() << "from depth " << bad << (off ? " off" : " on"));
      SetTransition3DReferenceDepth(bad);
      EXPECT_EQ(run(off), 0u);
      EXPECT_LT(GetTransition3DReferenceDepth(), 0);
      EXPECT_EQ(run(off), 0u);
      // The calibration converges to the steady depth; the last digits depend on the run-time
      // library's trigonometry, which differs between the builds.
      EXPECT_NEAR(GetTransition3DReferenceDepth(), steady, -steady / 1000);
    }
  }
}

// The peel takes every sprite of the screen with it, whichever way it ends.
TEST(TilePeel, NoSpriteOutlivesThePeel) {
  for (const int stopAfter : {0, 400}) {
    for (int off : {1, 0}) {
      SCOPED_TRACE(testing::Message() << (off ? "off" : "on") << " stop after " << stopAfter);
      StopClock clock;
      clock.stopAfter = stopAfter;
      seams::ScopedClock installed(&clock);
      Screen screen(640, 480);
      for (int i = 0; i < 2; ++i) ASSERT_TRUE(screen.host.GetSprites()->Insert(new CSprite));
      RECT r = {64, 48, 576, 432};
      CString error;
      EXPECT_TRUE(screen.Run(4, off, r, error));
      seams::ClearStop();
      EXPECT_EQ(screen.host.GetSprites()->GetCount(), 0);
    }
  }
}

}  // namespace
