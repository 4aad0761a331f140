// The slide show and the sliding tiles when memory runs out: every allocation refused in turn
// ends the routine with 0 and its error text (never an exception), and leaves no clock, no
// sprite, the picture whole and the shared backdrop untouched.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "routines/SlideShow.h"
#include "routines/SlidingTiles.h"
#include "seams/Clock.h"
#include "tests/native/routines/PictureDocFixture.h"
#include "tests/native/routines/RoutineFixture.h"
#include "tests/support/FailingAllocation.h"

namespace {

using namespace routinetest;

class RoutinesOutOfMemoryTest : public PictureDocFixture {
 protected:
  // Runs the routine with the allocations after the first n refused; false once it ran without
  // a refusal.
  template <typename Routine>
  bool RunRefusing(long n, Routine routine, int* result) {
    alloctest::RefuseAllocationsAfter refuse(n);
    *result = routine();
    return refuse.Refused();
  }

  // Nothing left, and the picture whole.
  void ExpectNothingLeft(long n) {
    PictureDocFixture::ExpectNothingLeft(n);
    EXPECT_EQ(DifferentPixels(*doc.background, *picture), 0) << n;
  }
};

TEST_F(RoutinesOutOfMemoryTest, TheSlideShowReportsItAndTakesTheClockDown) {
  long refusals = 0;
  for (long n = 0;; ++n) {
    CString error;
    int result = -1;
    if (!RunRefusing(n, [&] { return RunSlideShow(&doc, 1, 2, 0, &error); }, &result)) {
      EXPECT_EQ(result, 1);
      break;
    }
    ExpectNothingLeft(n);
    if (result == 1) {
      EXPECT_STREQ(error, "") << "only a redraw of the end steps was refused, " << n;
      continue;
    }
    ++refusals;
    EXPECT_EQ(result, 0) << n;
    // Refusing the first allocation refuses the room for the text itself.
    if (n > 0) {
      EXPECT_STREQ(error, "Slide Show Error Message: System has run out of memory") << n;
    }
  }
  EXPECT_GE(refusals, 3) << "scene, clock, sprites";
}

TEST_F(RoutinesOutOfMemoryTest, TheSlidingTilesReportItAndGiveThePictureBack) {
  const RECT area = {40, 40, 200, 160};  // 4 x 3 cells of 40: few tiles, few allocations
  const std::string prefix = "2D Sliding Tiles Error Message: ";
  long refusals = 0;
  for (long n = 0;; ++n) {
    CString error;
    int result = -1;
    const bool refused = RunRefusing(
        n,
        [&] {
          return RunSlidingBlocks(&doc, backdrop.get(), &area, 0, 1, 0, 100, 1, 0, 0, 0, 0, 2, 0,
                                  &error);
        },
        &result);
    if (!refused) {
      EXPECT_EQ(result, 1) << error;
      break;
    }
    ++refusals;
    EXPECT_EQ(result, 0) << n;
    if (n > 0) {
      EXPECT_EQ(std::string(error).substr(0, prefix.size()), prefix) << n;
    }
    ExpectNothingLeft(n);
  }
  EXPECT_GE(refusals, 10);
}

}  // namespace
