// The flying tiles on a headless screen in virtual time: the picture comes back exactly on areas
// centred or not and on a screen whose sides are no multiple of 8; the 16 squares of a launch
// cover their cell with the cell's own pixels; a stop at any moment, the time limit with the
// cycle repeating, areas too small and bad ones end cleanly; the clock on a screen document is
// taken down; the routine is silent; and the calibrated depth holds from run to run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "routines/FlyingTiles.h"
#include "seams/Clock.h"
#include "tests/native/engine3d/SceneFixture.h"
#include "tests/native/imaging/ScreenDocFixture.h"
#include "tests/native/routines/RoutineFixture.h"
#include "tests/native/routines/RoutineScreenChecks.h"

namespace {

using namespace routinetest;

// A headless screen that checks the first launch: the squares, drawn at their start, show the
// cell exactly as the picture has it there, with no backdrop showing between them.
class LaunchCheckingHost : public scenetest::WindowedHost {
 public:
  LaunchCheckingHost(int w, int h) : WindowedHost(w, h) {}
  void ShowRect(const CRect* rect) override {
    if (rect && picture && !checked && rect->Width() == rect->Height() && savedCell > 0 &&
        rect->Width() == savedCell + 6) {
      checked = true;
      CRect cell = *rect;
      cell.DeflateRect(3, 3);
      for (int y = cell.top; y < cell.bottom; ++y) {
        for (int x = cell.left; x < cell.right; ++x) {
          const int shown = *GetSurface()->GetPixelAddress(x, y);
          launchBackdrop += shown == kBackdropIndex;
          launchStray += !NearbyInPicture(shown, x, y);
        }
      }
    }
    if (rect && savedCell == 0 && rect->Width() == rect->Height()) savedCell = rect->Width();
    WindowedHost::ShowRect(rect);
  }
  // The squares' corners are projected, so a texel may land a pixel off its place: the pixel
  // must be the picture's within one pixel.
  bool NearbyInPicture(int value, int x, int y) const {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (const BYTE* p = picture->GetPixelAddress(x + dx, y + dy)) {
          if (*p == value) return true;
        }
    return false;
  }
  const CDIB* picture = nullptr;
  int savedCell = 0;  // the first square shown: the saved cell, which shows the backdrop
  bool checked = false;
  long launchBackdrop = 0;
  long launchStray = 0;
};

class FlyingTilesTest : public ::testing::Test {
 protected:
  void SetUp() override { seams::ClearStop(); }
  void TearDown() override { seams::ClearStop(); }

  void UseScreen(int w, int h) {
    host.reset(new LaunchCheckingHost(w, h));
    host->Reset(NewPicture(w, h));
    picture.reset(NewPicture(w, h));
    backdrop.reset(NewBackdrop(w, h));
    host->picture = picture.get();
  }

  int Run(const RECT& area, int infinite, int speed, int res, int logo, int runSeconds,
          int trace = 0) {
    return RunFlyingTiles(host.get(), backdrop.get(), &area, infinite, 0, 0, speed, res, 0, 0, logo,
                          runSeconds, trace, &error);
  }

  JumpClock clock;
  seams::ScopedClock scoped{&clock};
  std::unique_ptr<LaunchCheckingHost> host;
  std::unique_ptr<CDIB> picture, backdrop;
  CString error;
};

TEST_F(FlyingTilesTest, ThePictureComesBackExactlyAndEachLaunchCoversItsCell) {
  struct Case {
    int w, h;
    RECT area;
    int speed, res, logo;
    const char* what;
  };
  const Case cases[] = {
      {320, 240, {40, 20, 280, 220}, 1, 50, 0, "centred area"},
      {320, 240, {8, 4, 200, 156}, 30, 80, 1, "area off centre, logos on (ignored)"},
      {320, 240, {0, 0, 320, 240}, 100, 100, 0, "whole screen, slowest, smallest cells"},
      {1022, 766, {0, 0, 1022, 766}, 1, 50, 0, "1022 x 766"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UseScreen(c.w, c.h);
    const uint32_t start = clock.Peek();
    EXPECT_EQ(Run(c.area, 0, c.speed, c.res, c.logo, 6), 1);
    EXPECT_TRUE(error.IsEmpty()) << static_cast<const char*>(error);
    ExpectScreenShows(*host, *picture);
    EXPECT_EQ(DifferentPixels(*backdrop, *std::unique_ptr<CDIB>(NewBackdrop(c.w, c.h))), 0)
        << "the shared backdrop was written";
    EXPECT_TRUE(host->checked) << "no launch seen";
    EXPECT_EQ(host->launchBackdrop, 0) << "backdrop between the squares at launch";
    EXPECT_EQ(host->launchStray, 0) << "the squares at launch do not show the cell's pixels";
    EXPECT_GT(clock.Peek() - start, 3000u) << "the scramble ends only after half the time";
    EXPECT_GT(host->GetShownRects().size(), 100u) << "nothing flew";
  }
  EXPECT_LT(TileReferenceDepth, 0);
}

TEST_F(FlyingTilesTest, TheCalibratedDepthHoldsFromRunToRun) {
  UseScreen(320, 240);
  const RECT area = {0, 0, 320, 240};
  ASSERT_EQ(Run(area, 0, 50, 50, 0, 2), 1);
  const Fixed first = TileReferenceDepth;
  ASSERT_EQ(Run(area, 0, 50, 50, 0, 2), 1);
  EXPECT_NEAR(TileReferenceDepth, first, -first / 500) << "more than rounding";
  ExpectScreenShows(*host, *picture);
}

TEST_F(FlyingTilesTest, AStopAtAnyMomentReturnsOneWithTheScreenComposedAndTheHoleFilled) {
  for (long naps : {1L, 7L, 60L, 500L}) {
    SCOPED_TRACE(naps);
    UseScreen(320, 240);
    seams::ClearStop();
    clock.naps = 0;
    clock.stopAfterNaps = naps;
    const RECT area = {40, 20, 280, 220};
    EXPECT_EQ(Run(area, 1, 50, 50, 0, 0), 1);
    clock.stopAfterNaps = 0;
    ExpectScreenComposed(*host);
    // The area's bottom-right cell has its own pixels again, whatever flew meanwhile.
    const int s = host->savedCell;
    ASSERT_GT(s, 0);
    for (int y = 220 - s; y < 220; ++y)
      for (int x = 280 - s; x < 280; ++x)
        ASSERT_EQ(*host->GetBackground()->GetPixelAddress(x, y), *picture->GetPixelAddress(x, y));
  }
}

TEST_F(FlyingTilesTest, TheTimeLimitEndsTheRunWhenTheCycleRepeats) {
  UseScreen(320, 240);
  const uint32_t start = clock.Peek();
  EXPECT_EQ(Run(RECT{0, 0, 320, 240}, 1, 50, 50, 0, 2), 1);
  EXPECT_GT(clock.Peek() - start, 1000u);
  ExpectScreenShows(*host, *picture);
}

TEST_F(FlyingTilesTest, AreasTooSmallEndAtOnceAndBadOnesGiveTheSizeError) {
  const char* const kTooFew = "not enough squares to actually run the routine\n\n";
  const char* const kNoSize =
      "3D Flying Tiles Error Message: Unable to generate suitable size for 3D tiles";
  struct Case {
    RECT area;
    int res;
    int result;
    const char* trace;  // expected at the end of the trace
    const char* error;
  };
  const Case cases[] = {
      {{0, 0, 20, 20}, 100, 1, kTooFew, ""},       // one cell
      {{0, 0, 40, 20}, 100, 1, kTooFew, ""},       // two
      {{0, 0, 320, 240}, 1, 1, kTooFew, ""},       // two of 160 pixels
      {{50, 50, 50, 150}, 50, 0, "", kNoSize},     // no width
      {{400, 300, 500, 400}, 50, 0, "", kNoSize},  // off the screen
      {{0, 0, 20, 20}, 1, 0, "", kNoSize},         // the size chosen does not fit once
  };
  for (const Case& c : cases) {
    UseScreen(320, 240);
    error.Empty();
    int result = -1;
    const std::string trace = TraceOf([&] { result = Run(c.area, 0, 50, c.res, 0, 0, 1); });
    EXPECT_EQ(result, c.result);
    EXPECT_STREQ(static_cast<const char*>(error), c.error);
    if (*c.trace) {
      ASSERT_GE(trace.size(), std::strlen(c.trace));
      EXPECT_EQ(trace.substr(trace.size() - std::strlen(c.trace)), c.trace);
    }
    EXPECT_TRUE(host->GetShownRects().empty()) << "nothing is drawn";
    ExpectScreenShows(*host, *picture);
  }
}

TEST(FlyingTilesErrorTextTest, EveryCodeHasItsTextAndOthersAreUnrecognized) {
  const struct {
    int code;
    const char* text;
  } cases[] = {{1, "System has run out of memory"},
               {5, "Too many moves - will run out of space"},
               {12, "Too many tiles have been generated"},
               {13, "Unrecognized error"},
               {0, "Unrecognized error"}};
  for (const auto& c : cases) {
    CString text;
    GetFlyingTilesErrorText(c.code, &text);
    EXPECT_EQ(std::string(static_cast<const char*>(text)),
              std::string("3D Flying Tiles Error Message: ") + c.text);
  }
}

// On a screen document: the clock comes and goes, and the sound flag is never touched.
class FlyingTilesDocTest : public ScreenDocFixture {};

TEST_F(FlyingTilesDocTest, TheClockIsTakenDownAndTheRoutinePlaysNoSound) {
  JumpClock clock;
  seams::ScopedClock scoped{&clock};
  soundtest::FakeWaveOut device;
  CDIB before;
  ASSERT_TRUE(before.Create(kWidth, kHeight, nullptr));
  doc.background->CopyBits(&before, 0, 0, kWidth, kHeight, 0, 0, -1);
  for (int flag : {0, 1}) {
    doc.soundOn = flag;  // the last routine's value
    CString error;
    const RECT area = {0, 0, kWidth, kHeight};
    EXPECT_EQ(RunFlyingTiles(&doc, nullptr, &area, 0, 1, 1, 50, 50, 0, 0, 1, 4, 0, &error), 1);
    EXPECT_EQ(doc.soundOn, flag);
    EXPECT_EQ(doc.clockOn, 0);
    EXPECT_EQ(doc.sprites.GetCount(), 0);
    EXPECT_EQ(DifferentPixels(*doc.background, before), 0);
    ExpectSurfaceComposed();
  }
  EXPECT_TRUE(device.log.empty());
}

}  // namespace
