// Slides and sliding shutters: the pieces each step moves, and what the screen shows meanwhile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/native/transitions/FxTwoSurface.h"

namespace {

using fxtest::CopySteps;
using fxtest::Kept;
using fxtest::Moved;
using fxtest::RecordingLayer;
using fxtest::StepsOf;
using fxtest::TwoSurfaceArea;

// 100 columns, 30 a step: 30, 60, 90 and 100 columns of the new picture show.
TEST(Slides, LinearSlideBringsTheNewPictureInAcrossTheArea) {
  // Mode 0: the picture's left part shows at the right edge and moves left.
  EXPECT_EQ(StepsOf(Trans2DLinearSlideHorzFX, 100, 40, 0, 30),
            (CopySteps{{Moved('A', 70, 0, 0, 0, 30, 40)},
                       {Moved('A', 40, 0, 0, 0, 60, 40)},
                       {Moved('A', 10, 0, 0, 0, 90, 40)},
                       {Moved('A', 0, 0, 0, 0, 100, 40)}}));
  // Mode 1: its right part shows at the left edge and moves right.
  EXPECT_EQ(StepsOf(Trans2DLinearSlideHorzFX, 100, 40, 1, 30),
            (CopySteps{{Moved('A', 0, 0, 70, 0, 30, 40)},
                       {Moved('A', 0, 0, 40, 0, 60, 40)},
                       {Moved('A', 0, 0, 10, 0, 90, 40)},
                       {Moved('A', 0, 0, 0, 0, 100, 40)}}));
  // Modes 2 and 3 do the same down the rows.
  EXPECT_EQ(StepsOf(Trans2DLinearSlideVertFX, 40, 100, 2, 30)[1],
            (std::vector<fxtest::AreaCopy>{Moved('A', 0, 40, 0, 0, 40, 60)}));
  EXPECT_EQ(StepsOf(Trans2DLinearSlideVertFX, 40, 100, 3, 30)[1],
            (std::vector<fxtest::AreaCopy>{Moved('A', 0, 0, 0, 40, 40, 60)}));
}

// The old picture goes out 70, 40, 10 and 0 columns wide; the strip it uncovers each step is
// filled from B, the last one clipped at the area's edge.
TEST(Slides, LinearSlideOffScreenUncoversTheNextPictureBehindTheOldOne) {
  EXPECT_EQ(StepsOf(Trans2DLinearSlideHorzOffFX, 100, 40, 0, 30),
            (CopySteps{{Moved('A', 30, 0, 0, 0, 70, 40), Kept('B', 0, 0, 30, 40)},
                       {Moved('A', 60, 0, 0, 0, 40, 40), Kept('B', 30, 0, 30, 40)},
                       {Moved('A', 90, 0, 0, 0, 10, 40), Kept('B', 60, 0, 30, 40)},
                       {Kept('B', 70, 0, 30, 40)}}));
  EXPECT_EQ(StepsOf(Trans2DLinearSlideHorzOffFX, 100, 40, 1, 30),
            (CopySteps{{Moved('A', 0, 0, 30, 0, 70, 40), Kept('B', 70, 0, 30, 40)},
                       {Moved('A', 0, 0, 60, 0, 40, 40), Kept('B', 40, 0, 30, 40)},
                       {Moved('A', 0, 0, 90, 0, 10, 40), Kept('B', 10, 0, 30, 40)},
                       {Kept('B', 0, 0, 30, 40)}}));
  EXPECT_EQ(
      StepsOf(Trans2DLinearSlideVertOffFX, 40, 100, 3, 30)[0],
      (std::vector<fxtest::AreaCopy>{Moved('A', 0, 0, 0, 30, 40, 70), Kept('B', 0, 70, 40, 30)}));
}

// 200 x 100, 50 a step along the longer side: 50 x 25, 100 x 50, 150 x 75, 200 x 100.
TEST(Slides, DiagonalSlideComesInFromItsCornerAlongTheDiagonal) {
  const CopySteps topLeft = StepsOf(Trans2DDiagonalSlideFX, 200, 100, 4, 50);
  EXPECT_EQ(topLeft, (CopySteps{{Moved('A', 0, 0, 150, 75, 50, 25)},
                                {Moved('A', 0, 0, 100, 50, 100, 50)},
                                {Moved('A', 0, 0, 50, 25, 150, 75)},
                                {Moved('A', 0, 0, 0, 0, 200, 100)}}));
  EXPECT_EQ(StepsOf(Trans2DDiagonalSlideFX, 200, 100, 5, 50)[0],
            (std::vector<fxtest::AreaCopy>{Moved('A', 150, 0, 0, 75, 50, 25)}));
  EXPECT_EQ(StepsOf(Trans2DDiagonalSlideFX, 200, 100, 6, 50)[0],
            (std::vector<fxtest::AreaCopy>{Moved('A', 150, 75, 0, 0, 50, 25)}));
  // Taller than wide: the height leads and the width follows in proportion.
  EXPECT_EQ(StepsOf(Trans2DDiagonalSlideFX, 60, 90, 7, 30)[0],
            (std::vector<fxtest::AreaCopy>{Moved('A', 0, 60, 40, 0, 20, 30)}));
}

// The old picture goes out through the corner, shrinking by 50 x 25 a step; B fills the band
// along each edge it leaves.
TEST(Slides, DiagonalSlideOffScreenLeavesBandsOfTheNextPicture) {
  EXPECT_EQ(StepsOf(Trans2DDiagonalSlideOffFX, 200, 100, 4, 50),
            (CopySteps{{Moved('A', 0, 0, 50, 25, 150, 75), Kept('B', 150, 0, 50, 100),
                        Kept('B', 0, 75, 150, 25)},
                       {Moved('A', 0, 0, 100, 50, 100, 50), Kept('B', 100, 0, 50, 75),
                        Kept('B', 0, 50, 100, 25)},
                       {Moved('A', 0, 0, 150, 75, 50, 25), Kept('B', 50, 0, 50, 50),
                        Kept('B', 0, 25, 50, 25)},
                       {Kept('B', 0, 0, 50, 25)}}));
  EXPECT_EQ(StepsOf(Trans2DDiagonalSlideOffFX, 200, 100, 6, 50)[0],
            (std::vector<fxtest::AreaCopy>{Moved('A', 50, 25, 0, 0, 150, 75),
                                           Kept('B', 0, 0, 50, 100), Kept('B', 50, 0, 150, 25)}));
}

// 101 columns: halves of 51 and 50. Mode 0 brings each half out of the centre line, mode 1 in
// from the outer edges; 20 a step.
TEST(Shutters, HalvesComeOutOfTheCentreOrInFromTheEdges) {
  EXPECT_EQ(StepsOf(Trans2DSlidingShuttersHorzFX, 101, 10, 0, 20),
            (CopySteps{{Moved('A', 31, 0, 0, 0, 20, 10), Moved('A', 51, 0, 81, 0, 20, 10)},
                       {Moved('A', 11, 0, 0, 0, 40, 10), Moved('A', 51, 0, 61, 0, 40, 10)},
                       {Moved('A', 0, 0, 0, 0, 51, 10), Moved('A', 51, 0, 51, 0, 50, 10)}}));
  EXPECT_EQ(StepsOf(Trans2DSlidingShuttersHorzFX, 101, 10, 1, 20),
            (CopySteps{{Moved('A', 0, 0, 31, 0, 20, 10), Moved('A', 81, 0, 51, 0, 20, 10)},
                       {Moved('A', 0, 0, 11, 0, 40, 10), Moved('A', 61, 0, 51, 0, 40, 10)},
                       {Moved('A', 0, 0, 0, 0, 51, 10), Moved('A', 51, 0, 51, 0, 50, 10)}}));
  // With 60 a step one step shows both halves whole.
  EXPECT_EQ(StepsOf(Trans2DSlidingShuttersHorzFX, 101, 10, 0, 60).size(), 1u);
  EXPECT_EQ(StepsOf(Trans2DSlidingShuttersVertFX, 10, 101, 1, 20)[0],
            (std::vector<fxtest::AreaCopy>{Moved('A', 0, 0, 0, 31, 10, 20),
                                           Moved('A', 0, 81, 0, 51, 10, 20)}));
}

// The halves shrink by 20 a step (31, 11, 0 wide), each strip they leave filled from B and held
// to its own half.
TEST(Shutters, OffScreenHalvesShrinkAndUncoverTheNextPicture) {
  EXPECT_EQ(StepsOf(Trans2DSlidingShuttersHorzOffFX, 101, 10, 0, 20),
            (CopySteps{{Moved('A', 20, 0, 0, 0, 31, 10), Kept('B', 0, 0, 20, 10),
                        Moved('A', 51, 0, 70, 0, 31, 10), Kept('B', 82, 0, 19, 10)},
                       {Moved('A', 40, 0, 0, 0, 11, 10), Kept('B', 20, 0, 20, 10),
                        Moved('A', 51, 0, 90, 0, 11, 10), Kept('B', 62, 0, 20, 10)},
                       {Kept('B', 31, 0, 20, 10), Kept('B', 51, 0, 20, 10)}}));
  EXPECT_EQ(
      StepsOf(Trans2DSlidingShuttersHorzOffFX, 101, 10, 1, 20)[0],
      (std::vector<fxtest::AreaCopy>{Moved('A', 0, 0, 20, 0, 31, 10), Kept('B', 31, 0, 20, 10),
                                     Moved('A', 70, 0, 51, 0, 31, 10), Kept('B', 51, 0, 19, 10)}));
}

}  // namespace
