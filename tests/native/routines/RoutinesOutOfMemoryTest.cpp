// The slide show and the sliding tiles when memory runs out: every allocation refused in turn
// ends the routine with 0 and its error text (never an exception), and leaves no clock, no
// sprite, the picture whole and the shared backdrop untouched.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

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
  // Nothing left, and the picture whole.
  void ExpectNothingLeft(long n) {
    PictureDocFixture::ExpectNothingLeft(n);
    EXPECT_EQ(DifferentPixels(*doc.background, *picture), 0) << n;
  }
};

TEST_F(RoutinesOutOfMemoryTest, TheSlideShowReportsItAndTakesTheClockDown) {
  CString error;
  int result = -1;
  const alloctest::SweepCount count = alloctest::SweepRefusals(
      [&] { result = RunSlideShow(&doc, 1, 2, 0, &error); },
      [&](long n) {
        ExpectNothingLeft(n);
        const int refusedResult = std::exchange(result, -1);
        const CString refusedError = error;
        error = "";
        if (refusedResult == 1) {
          EXPECT_STREQ(refusedError, "") << "only a redraw of the end steps was refused, " << n;
          return false;
        }
        EXPECT_EQ(refusedResult, 0) << n;
        // Refusing the first allocation refuses the room for the text itself.
        if (n > 0) {
          EXPECT_STREQ(refusedError, "Slide Show Error Message: System has run out of memory") << n;
        }
        return true;
      });
  EXPECT_EQ(result, 1) << "nothing refused";
  EXPECT_GE(count.reported, 3) << "scene, clock, sprites";
  std::printf("[ figure ] slide show: %ld allocations refused in turn\n", count.refusals);
}

TEST_F(RoutinesOutOfMemoryTest, TheSlidingTilesReportItAndGiveThePictureBack) {
  const RECT area = {40, 40, 200, 160};  // 4 x 3 cells of 40: few tiles, few allocations
  const std::string prefix = "2D Sliding Tiles Error Message: ";
  CString error;
  int result = -1;
  const alloctest::SweepCount count = alloctest::SweepRefusals(
      [&] {
        result = RunSlidingBlocks(&doc, backdrop.get(), &area, 0, 1, 0, 100, 1, 0, 0, 0, 0, 2, 0,
                                  &error);
      },
      [&](long n) {
        EXPECT_EQ(result, 0) << n;
        if (n > 0) {
          EXPECT_EQ(std::string(error).substr(0, prefix.size()), prefix) << n;
        }
        ExpectNothingLeft(n);
        result = -1;
        error = "";
        return true;
      });
  EXPECT_EQ(result, 1) << static_cast<const char*>(error);
  EXPECT_GE(count.refusals, 10);
  std::printf("[ figure ] sliding tiles: %ld allocations refused in turn\n", count.refusals);
}

}  // namespace
