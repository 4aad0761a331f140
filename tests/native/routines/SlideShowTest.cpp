// The slide show in virtual time: a wait of 0 is one pass; a wait sleeps until its whole seconds
// are up, waking for nothing but the clock's next second; a stop ends it at once; the
// clock comes and goes with it, and its corner shows the picture again.
#include <gtest/gtest.h>

#include <string>

#include "imaging/ClockOverlay.h"
#include "imaging/HeadlessScreenHost.h"
#include "routines/SlideShow.h"
#include "seams/Clock.h"
#include "tests/native/imaging/ScreenDocFixture.h"
#include "tests/native/routines/RoutineFixture.h"

namespace {

using namespace routinetest;

class SlideShowTest : public ScreenDocFixture {
 protected:
  void SetUp() override {
    seams::ClearStop();
    ScreenDocFixture::SetUp();
  }
  void TearDown() override {
    ScreenDocFixture::TearDown();
    seams::ClearStop();
  }
  // How often the clock's corner was shown.
  int CornerShows() const {
    const CRect corner(kWidth - 100, 0, kWidth, 100);
    int n = 0;
    for (const CRect& r : doc.shown) n += r == corner;
    return n;
  }

  JumpClock clock{LocalSeconds(10, 0, 0)};
  seams::ScopedClock scoped{&clock};
  CString error;
};

TEST_F(SlideShowTest, AWaitOfZeroIsOnePassAndTheClockComesAndGoes) {
  const std::string trace = TraceOf([&] { EXPECT_EQ(RunSlideShow(&doc, 1, 0, 1, &error), 1); });
  EXPECT_EQ(clock.naps, 0);
  EXPECT_EQ(CornerShows(), 2) << "the clock shown once, then its corner without it";
  EXPECT_EQ(doc.clockOn, 0);
  EXPECT_EQ(doc.clock, nullptr);
  EXPECT_EQ(doc.sprites.GetCount(), 0);
  ExpectSurfaceComposed();
  EXPECT_EQ(trace, "Slide Show - start - \nbClockOn=1,Wait Seconds=0\nSlide Show - end - \n\n");
}

TEST_F(SlideShowTest, WithoutTheClockNothingIsDrawn) {
  HeadlessScreenHost host;
  host.SetBackground(NewBackground(200, 100));
  host.ClearShownRects();
  EXPECT_EQ(RunSlideShow(&host, 0, 2, 0, &error), 1);
  EXPECT_TRUE(host.GetShownRects().empty());
  EXPECT_EQ(host.GetSprites()->GetCount(), 0);
}

// A wait sleeps until something is due: with the clock, its next second (the turn of the second
// is found once in naps of 10 ms, then each nap lasts to the next turn); without, the end.
TEST_F(SlideShowTest, WaitsItsWholeSecondsWakingOnlyWhenSomethingIsDue) {
  struct Case {
    int clockOn;
    int seconds;
  } const cases[] = {{1, 1}, {1, 3}, {1, 10}, {0, 1}, {0, 10}, {0, 600}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "clock " << c.clockOn << ", " << c.seconds << " s");
    doc.shown.clear();
    clock.longestNap = 0;
    clock.naps = 0;
    clock.Advance(337);  // the second's turn lies anywhere in the first nap
    const uint32_t start = clock.Peek();
    EXPECT_EQ(RunSlideShow(&doc, c.clockOn, c.seconds, 0, &error), 1);
    const uint32_t waited = clock.Peek() - start;
    EXPECT_GE(waited, c.seconds * 1000u);
    EXPECT_LT(waited, c.seconds * 1000u + 60);
    EXPECT_EQ(clock.idles, 0) << "every nap has a deadline";
    if (c.clockOn) {
      EXPECT_LE(clock.longestNap, 1000);
      EXPECT_LE(clock.naps, c.seconds + 1000 / 10 + 2)
          << "one wake a second once the turn is known";
      // The hands are redrawn as each second comes, and shown; then the corner without the clock.
      EXPECT_GE(CornerShows(), c.seconds + 1);
      EXPECT_LE(CornerShows(), c.seconds + 3);
    } else {
      EXPECT_EQ(clock.naps, 1) << "one sleep to the end of the picture's time";
      EXPECT_TRUE(doc.shown.empty());
    }
  }
}

TEST_F(SlideShowTest, AStopEndsTheWaitAtOnce) {
  clock.stopAfterNaps = 10;
  const uint32_t start = clock.Peek();
  EXPECT_EQ(RunSlideShow(&doc, 1, 600, 0, &error), 1);
  EXPECT_LT(clock.Peek() - start, 1000u);
  EXPECT_EQ(doc.clockOn, 0);
  EXPECT_EQ(doc.sprites.GetCount(), 0);
}

TEST(SlideShowErrorTextTest, OutOfMemoryAndUnknown) {
  CString text;
  GetSlideShowErrorText(1, &text);
  EXPECT_STREQ(text, "Slide Show Error Message: System has run out of memory");
  GetSlideShowErrorText(2, &text);
  EXPECT_STREQ(text, "Slide Show Error Message: Unknown error");
}

}  // namespace
