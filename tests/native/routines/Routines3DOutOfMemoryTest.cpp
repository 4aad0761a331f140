// The flying tiles and the puzzle cube when memory runs out: every allocation refused in turn
// ends the routine without an exception, with 0 and its error text or with 1 when only something
// it can do without was refused, and leaves no clock and no sprite, the screen composed from the
// background, the shared backdrop untouched, and the picture whole whenever the routine says it
// ended normally. LeakSanitizer sees what a failed run leaves behind.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "routines/FlyingTiles.h"
#include "routines/PuzzleCube.h"
#include "seams/Clock.h"
#include "tests/native/routines/PictureDocFixture.h"
#include "tests/native/routines/RoutineFixture.h"
#include "tests/support/FailingAllocation.h"

namespace {

using namespace routinetest;

class Routines3DOutOfMemoryTest : public PictureDocFixture {
 protected:
  // Refuses every allocation after the first n, n growing by about 5 % each time (the runs
  // allocate a few thousand times); the number of runs in which something was refused.
  template <typename Routine>
  long RefuseInTurn(const std::string& prefix, Routine routine) {
    long refusals = 0;
    for (long n = 0;; n += 1 + n / 20) {
      CString error;
      int result = -1;
      bool refused = false;
      {
        alloctest::RefuseAllocationsAfter refuse(n);
        result = routine(&error);
        refused = refuse.Refused();
      }
      if (!refused) {
        EXPECT_EQ(result, 1) << static_cast<const char*>(error);
        break;
      }
      ++refusals;
      ExpectNothingLeft(n);
      if (result == 1) {
        EXPECT_STREQ(error, "") << n;
        EXPECT_EQ(DifferentPixels(*doc.background, *picture), 0) << n;
      } else {
        EXPECT_EQ(result, 0) << n;
        if (n > 0) {
          EXPECT_EQ(std::string(error).substr(0, prefix.size()), prefix) << n;
        }
      }
      doc.SetBackgroundNoDraw(NewPicture(kWidth, kHeight));  // the next run starts whole
    }
    return refusals;
  }
};

TEST_F(Routines3DOutOfMemoryTest, TheFlyingTilesEndCleanly) {
  const RECT area = {40, 40, 280, 200};
  const long refusals = RefuseInTurn("3D Flying Tiles Error Message: ", [&](CString* error) {
    return RunFlyingTiles(&doc, backdrop.get(), &area, 0, 1, 0, 1, 100, 0, 0, 0, 1, 0, error);
  });
  EXPECT_GE(refusals, 10);
}

TEST_F(Routines3DOutOfMemoryTest, ThePuzzleCubeEndsCleanly) {
  const RECT area = {0, 0, kWidth, kHeight};
  const long refusals = RefuseInTurn("Puzzle Cube Error Message: ", [&](CString* error) {
    return RunPuzzleCube(&doc, &area, 0, 1, 0, 50, 50, 0, 0, 0, 1, 0, error);
  });
  EXPECT_GE(refusals, 10);
}

}  // namespace
