// Zoom and squeeze: the box the picture is stretched into at each step, the pieces of the next
// picture around it, and the stretch mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/native/transitions/FxTwoSurface.h"

namespace {

using fxtest::AreaCopy;
using fxtest::CopySteps;
using fxtest::Kept;
using fxtest::RecordingLayer;
using fxtest::StepsOf;
using fxtest::TwoSurfaceArea;

// The whole picture of a w x h area stretched into the box (x, y, bw, bh).
AreaCopy Picture(int w, int h, int x, int y, int bw, int bh) {
  return {'A', x, y, 0, 0, bw, bh, w, h};
}

// The boxes the whole picture went into, step by step, leaving out the steps it was not drawn.
std::vector<AreaCopy> PictureBoxes(const CopySteps& steps) {
  std::vector<AreaCopy> boxes;
  for (const auto& step : steps)
    for (const AreaCopy& c : step)
      if (c.surface == 'A') boxes.push_back(c);
  return boxes;
}

// 640 columns, 64 a step: ten steps of 64, 128 ... 640 columns, each centred, nothing else.
TEST(Squeeze, ThePictureGrowsOutOfTheCentreLine) {
  const CopySteps steps = StepsOf(Trans2DCompressExpandVertFX, 640, 30, 1, 64);
  ASSERT_EQ(steps.size(), 10u);
  for (int k = 0; k < 10; ++k) {
    const int w = 64 * (k + 1);
    EXPECT_EQ(steps[k], (std::vector<AreaCopy>{Picture(640, 30, (640 - w) / 2, 0, w, 30)}));
  }
  // Effect 144 squeezes the rows instead.
  EXPECT_EQ(StepsOf(Trans2DCompressExpandHorzFX, 30, 640, 4, 64)[2],
            (std::vector<AreaCopy>{Picture(30, 640, 0, 224, 30, 192)}));
}

// The same off screen: 576 ... 64, 0 columns, and a strip of B 32 wide on either side per step.
TEST(Squeeze, OffScreenThePictureShrinksIntoTheCentreLineAndBFillsBothSides) {
  const CopySteps steps = StepsOf(Trans2DCompressExpandVertOffFX, 640, 30, 1, 64);
  ASSERT_EQ(steps.size(), 10u);
  for (int k = 0; k < 10; ++k) {
    const int w = 576 - 64 * k, x = (640 - w) / 2;
    std::vector<AreaCopy> want{Kept('B', x - 32, 0, 32, 30), Kept('B', x + w, 0, 32, 30)};
    if (w > 0) want.push_back(Picture(640, 30, x, 0, w, 30));
    EXPECT_EQ(steps[k], want) << "step " << k + 1;
  }
}

// A 640 x 480 area, 10 a step along the approach: the quarter picture (160 x 120) comes up from
// below the area along x = (y - 120)^2 / 150 + 160 to its station (160, 120), then grows 20 a
// step along parabolas with K1 = 120^2 / 160 = 90 and K2 = 120^2 / (320 - 640) = -45.
TEST(Zoom, TheQuarterPictureComesInAlongItsParabolaThenGrowsIntoTheArea) {
  const CopySteps steps = StepsOf(Trans2DShrinkAndSlideFX, 640, 480, 0, 20);
  ASSERT_EQ(steps.size(), 36u + 6u);  // (480 - 120) / 10 moves, growth 20 .. 100 and the last
  const std::vector<AreaCopy> boxes = PictureBoxes(steps);
  auto passes = [&](const AreaCopy& box) {
    return std::find(boxes.begin(), boxes.end(), box) != boxes.end();
  };
  EXPECT_TRUE(passes(Picture(640, 480, 376, 300, 160, 120)));  // y = 300: 180^2 / 150 = 216
  EXPECT_TRUE(passes(Picture(640, 480, 160, 120, 160, 120)));  // the station
  // Growth by t = 60: left 160 - 3600 / 90 = 120, right 320 + 3600 / 45 = 400, height 280 x 3 / 4.
  EXPECT_TRUE(passes(Picture(640, 480, 120, 60, 280, 210)));
  EXPECT_EQ(boxes.back(), Picture(640, 480, 0, 0, 640, 480));
  // Where the picture has passed, the screen (B) is put back as it was.
  for (const auto& step : steps) {
    for (const AreaCopy& c : step) {
      if (c.surface == 'B') {
        EXPECT_EQ(c.fromX, c.toX);
      }
    }
  }
}

// Off screen the picture makes the same moves backwards: it shrinks to the station and leaves
// along the approach, ending below the area.
TEST(Zoom, OffScreenThePictureMakesTheSameMovesBackwards) {
  for (int mode = 0; mode < 4; ++mode) {
    SCOPED_TRACE("mode " + std::to_string(mode));
    std::vector<AreaCopy> in = PictureBoxes(StepsOf(Trans2DShrinkAndSlideFX, 640, 480, mode, 20));
    const std::vector<AreaCopy> out =
        PictureBoxes(StepsOf(Trans2DShrinkAndSlideOffFX, 640, 480, mode, 20));
    in.pop_back();  // the whole area, which off screen is where the picture starts
    EXPECT_EQ(std::vector<AreaCopy>(in.rbegin(), in.rend()), out);
  }
}

// On areas whose parabola constants do not divide exactly the last growth step would miss the
// area's edges; on flat areas the constants are 0. Either way the zoom ends on the whole picture.
TEST(Zoom, EndsOnTheWholeAreaWhateverItsShape) {
  const int areas[][2] = {{97, 61}, {1920, 40}, {40, 1080}, {3, 2}, {1, 1}, {5, 4}};
  for (const auto& area : areas) {
    for (int mode = 0; mode < 4; ++mode) {
      SCOPED_TRACE(std::to_string(area[0]) + "x" + std::to_string(area[1]) + " mode " +
                   std::to_string(mode));
      const std::vector<AreaCopy> boxes =
          PictureBoxes(StepsOf(Trans2DShrinkAndSlideFX, area[0], area[1], mode, 6));
      ASSERT_FALSE(boxes.empty());
      EXPECT_EQ(boxes.back(), Picture(area[0], area[1], 0, 0, area[0], area[1]));
    }
  }
}

// A recording layer that notes the stretch mode in force at every step.
struct ModeWatch : RecordingLayer {
  void EndStep() override {
    modes.push_back(stretchMode);
    RecordingLayer::EndStep();
  }
  std::vector<int> modes;
};

// Every routine draws in colour-on-colour mode and gives the destination its own mode back.
TEST(ZoomAndSqueeze, StretchInColourOnColourAndRestoreTheModeAfterwards) {
  const fxtest::TwoSurfaceRoutine routines[] = {
      Trans2DCompressExpandVertFX,    Trans2DCompressExpandVertOffFX, Trans2DCompressExpandHorzFX,
      Trans2DCompressExpandHorzOffFX, Trans2DShrinkAndSlideFX,        Trans2DShrinkAndSlideOffFX};
  for (fxtest::TwoSurfaceRoutine routine : routines) {
    ModeWatch layer;
    const int halftone = 4;
    layer.stretchMode = halftone;
    routine(TwoSurfaceArea(layer, 60, 40), 1, 0, 8);
    ASSERT_FALSE(layer.modes.empty());
    EXPECT_EQ(layer.modes, std::vector<int>(layer.modes.size(), kStretchColorOnColor));
    EXPECT_EQ(layer.stretchMode, halftone);
  }
}

}  // namespace
