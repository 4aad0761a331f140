// The effects run to their end through the plain layer: the destination must end showing exactly
// the surface of the direction (A on screen, B off screen), pixel for pixel and from the right
// position, except for the slivers listed below, and nothing outside the destination may change.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/native/transitions/FxEndChecks.h"
#include "tests/native/transitions/FxIds.h"
#include "tests/native/transitions/FxScene.h"
#include "tests/native/transitions/FxSlivers.h"
#include "transitions/FxPainter.h"

namespace {

using fxtest::FxParams;
using fxtest::Pixel;
using fxtest::Scene;
using fxtest::Sliver;
using fxtest::Slivers;

// Every effect, the moving ones too, ends showing the surface of the direction; the sizes and
// slider ends are where the slivers were worked out.
TEST(EffectEndState, EveryEffectEndsOnItsSurfaceAtBothSizesSlidersAndDirections) {
  const int sizes[][2] = {{97, 61}, {320, 200}};
  for (int id = 0; id <= 152; ++id) {
    if (!fxtest::EndStateChecked(id)) continue;
    for (const auto& size : sizes) {
      for (int slider : {1, 100}) {
        for (bool offScreen : {false, true}) {
          SCOPED_TRACE("effect " + std::to_string(id) + " at " + std::to_string(size[0]) + "x" +
                       std::to_string(size[1]) + " slider " + std::to_string(slider) +
                       (offScreen ? " off screen" : " on screen"));
          Scene scene(size[0], size[1]);
          const FxParams p = fxtest::ParamsAt(id, slider);
          ASSERT_EQ(scene.Run(id, kUnpaced, p.par1, p.par2, offScreen), TRUE);
          EXPECT_GT(scene.layer.steps, 0);
          SCOPED_TRACE("par1 " + std::to_string(p.par1) + ", par2 " + std::to_string(p.par2));
          fxtest::ExpectEnd(scene, id, slider, offScreen);
        }
      }
    }
  }
}

// Every listed sliver must still be needed: a family that starts covering it should drop it.
TEST(EffectEndState, EverySliverIsLeftByItsEffect) {
  for (const Sliver& s : Slivers()) {
    SCOPED_TRACE("effect " + std::to_string(s.id));
    Scene scene(s.width, s.height);
    const FxParams p = fxtest::ParamsAt(s.id, s.slider);
    scene.Run(s.id, kUnpaced, p.par1, p.par2, false);
    for (int y = s.undrawn.top; y < s.undrawn.bottom; ++y)
      for (int x = s.undrawn.left; x < s.undrawn.right; ++x)
        ASSERT_EQ(scene.destination.At(Scene::kDx + x, Scene::kDy + y), Scene::Marker());
  }
}

// Midway through an effect that reveals the picture in place the destination shows nothing but
// the marker and the expected pixels, and a revealed pixel stays revealed.
TEST(EffectEndState, NoStepShowsAWrongPixelOrHidesARevealedOne) {
  for (int id = 0; id <= 152; ++id) {
    if (!fxtest::RevealsInPlace(id)) continue;
    for (bool offScreen : {false, true}) {
      SCOPED_TRACE("effect " + std::to_string(id) + (offScreen ? " off screen" : " on screen"));
      Scene scene(97, 61);
      std::vector<char> revealed(static_cast<size_t>(scene.dw) * scene.dh, 0);
      int failures = 0;
      scene.layer.onStep = [&] {
        for (int y = 0; y < scene.dh; ++y) {
          for (int x = 0; x < scene.dw; ++x) {
            const Pixel shown = scene.destination.At(Scene::kDx + x, Scene::kDy + y);
            char& was = revealed[static_cast<size_t>(y) * scene.dw + x];
            const bool isExpected = shown == scene.Expected(x, y, offScreen);
            if ((!isExpected && shown != Scene::Marker()) || (was && !isExpected)) ++failures;
            was = was || isExpected;
          }
        }
      };
      const FxParams p = fxtest::ParamsAt(id, 50);
      ASSERT_EQ(scene.Run(id, kUnpaced, p.par1, p.par2, offScreen), TRUE);
      EXPECT_GT(scene.layer.steps, 1);
      EXPECT_EQ(failures, 0);
    }
  }
}

// On a destination of another size than the area every piece is stretched: the end state shows
// the right surface everywhere, each pixel from near where the scale puts it, and nothing lands
// outside the destination.
TEST(EffectEndState, ScaledDestinationsEndOnTheRightSurface) {
  const int shapes[][4] = {{194, 122, 97, 61}, {61, 45, 97, 61}};  // twice the area; smaller
  for (int id = 0; id <= 152; ++id) {
    if (!fxtest::EndStateChecked(id)) continue;
    for (const auto& shape : shapes) {
      for (int slider : {1, 50}) {
        for (bool offScreen : {false, true}) {
          SCOPED_TRACE("effect " + std::to_string(id) + " to " + std::to_string(shape[0]) + "x" +
                       std::to_string(shape[1]) + " slider " + std::to_string(slider) +
                       (offScreen ? " off screen" : " on screen"));
          Scene scene(shape[0], shape[1], shape[2], shape[3]);
          const FxParams p = fxtest::ParamsAt(id, slider);
          ASSERT_EQ(scene.Run(id, kUnpaced, p.par1, p.par2, offScreen), TRUE);
          fxtest::ExpectScaledEnd(scene, id, offScreen);
        }
      }
    }
  }
}

// Parameters no slider produces, and areas down to a single pixel: every effect returns, reads
// and writes only where it may, and never loops forever.
TEST(EffectEndState, OddParametersAndTinyAreasNeverCrashOrHang) {
  const FxParams odd[] = {{kUnpaced, 0, 0},
                          {-5, -7, -9},
                          {kUnpaced, INT_MAX, INT_MAX},
                          {kUnpaced, INT_MIN, INT_MIN},
                          {kUnpaced, 1, 1000},
                          {kUnpaced, 100000, 0}};
  const int areas[][2] = {{1, 1}, {2, 1}, {1, 3}, {7, 5}};
  for (int id = 0; id <= 152; ++id) {
    if (!IsTransFXEffect(id)) continue;
    for (const FxParams& p : odd) {
      for (const auto& area : areas) {
        for (bool offScreen : {false, true}) {
          SCOPED_TRACE("effect " + std::to_string(id) + " par1 " + std::to_string(p.par1) +
                       " par2 " + std::to_string(p.par2) + " area " + std::to_string(area[0]) +
                       "x" + std::to_string(area[1]));
          Scene scene(area[0], area[1]);
          EXPECT_EQ(scene.Run(id, p.par0, p.par1, p.par2, offScreen), TRUE);
          EXPECT_EQ(scene.ChangedOutside(), 0);
        }
      }
    }
  }
}

TEST(EffectEndState, UnknownEffectsAndOversizedAreasDrawNothing) {
  for (int id : {-1, 15, 16, 17, 19, 153, INT_MIN, INT_MAX}) {
    Scene scene(20, 10);
    EXPECT_EQ(scene.Run(id, kUnpaced, 5, 5, false), FALSE) << id;
    EXPECT_EQ(scene.layer.steps, 0);
    EXPECT_EQ(scene.destination.At(Scene::kDx, Scene::kDy), Scene::Marker());
  }
  // Larger than any screen, or placed a million pixels away: refused.
  {
    Scene scene(20, 10);
    RECT screen{0, 0, 20, 10};
    EXPECT_EQ(TransFXDispatch(scene.layer, 0, 0, kMaxTransFXSide + 1, 10, 0, 0, 20, 10, 0, 0, 110,
                              0, 5, 0, FALSE, &screen),
              FALSE);
    EXPECT_EQ(TransFXDispatch(scene.layer, 0, 0, 20, 10, 0, 0, 20, INT_MAX, 0, 0, 110, 0, 5, 0,
                              FALSE, &screen),
              FALSE);
    EXPECT_EQ(TransFXDispatch(scene.layer, INT_MIN, 0, 20, 10, 0, 0, 20, 10, 0, 0, 110, 0, 5, 0,
                              FALSE, &screen),
              FALSE);
    // Empty: nothing to draw, which is success.
    EXPECT_EQ(
        TransFXDispatch(scene.layer, 0, 0, 0, 10, 0, 0, 20, 10, 0, 0, 110, 0, 5, 0, FALSE, &screen),
        TRUE);
    EXPECT_EQ(
        TransFXDispatch(scene.layer, 0, 0, 20, 10, 0, 0, 20, -4, 0, 0, 4, 0, 5, 0, FALSE, &screen),
        TRUE);
    EXPECT_EQ(scene.layer.steps, 0);
    EXPECT_EQ(scene.ChangedOutside(), 0);
  }
}

}  // namespace
