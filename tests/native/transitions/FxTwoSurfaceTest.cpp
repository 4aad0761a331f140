// What the two-surface effects show at every step, and the pacing of the cell fades, slides,
// shutters, zooms and squeezes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "seams/Clock.h"
#include "tests/native/transitions/FxIds.h"
#include "tests/native/transitions/FxRecorder.h"
#include "tests/native/transitions/FxScene.h"

namespace {

using fxtest::Pixel;
using fxtest::Scene;

const int kTwoSurfaceIds[] = {114, 115, 116, 117, 122, 123, 124, 125, 126,
                              127, 128, 129, 143, 144, 149, 150, 151, 152};

bool IsZoom(int id) { return id >= 126 && id <= 129; }

// A pixel the picture of A can show: any pixel of A's area, moved or stretched.
bool FromAreaA(const Scene& scene, const Pixel& p) {
  const int x = p[0] | ((p[2] >> 2) & 3) << 8, y = p[1] | (p[2] & 3) << 8;
  return (p[2] >> 4) == fxtest::kTagA && x >= Scene::kAx && x < Scene::kAx + scene.sw &&
         y >= Scene::kAy && y < Scene::kAy + scene.sh;
}

// Their end states, 1:1 and scaled, are checked with every other effect's in
// EffectEndStateTest.cpp.

// At every step each pixel shows the screen as it was (the marker), some pixel of the moving
// picture, or the next picture's own pixel at its place; off screen the whole area is drawn from
// the first step on. The slides, shutters and squeezes only ever cover more of the area with the
// new picture (on screen) or less with the old one (off screen); the zoom's picture travels.
TEST(TwoSurfaceEffects, EveryStepShowsThePicturesAndNothingElse) {
  for (int id : kTwoSurfaceIds) {
    for (int par1 : {fxtest::ParamsAt(id, 50).par1, 7}) {
      for (bool offScreen : {false, true}) {
        SCOPED_TRACE("effect " + std::to_string(id) + " par1 " + std::to_string(par1) +
                     (offScreen ? " off screen" : " on screen"));
        Scene scene(97, 61);
        std::vector<char> picture(static_cast<size_t>(scene.dw) * scene.dh, offScreen ? 1 : 0);
        int wrong = 0, undrawn = 0, against = 0;
        scene.layer.onStep = [&] {
          for (int y = 0; y < scene.dh; ++y) {
            for (int x = 0; x < scene.dw; ++x) {
              const Pixel p = scene.destination.At(Scene::kDx + x, Scene::kDy + y);
              const bool isPicture = FromAreaA(scene, p);
              if (!isPicture && p != Scene::Marker() && p != scene.Expected(x, y, true)) ++wrong;
              if (offScreen && p == Scene::Marker()) ++undrawn;
              char& was = picture[static_cast<size_t>(y) * scene.dw + x];
              if (!IsZoom(id) && was != isPicture && isPicture == offScreen) ++against;
              was = isPicture;
            }
          }
        };
        ASSERT_EQ(scene.Run(id, kUnpaced, par1, 0, offScreen), TRUE);
        EXPECT_GT(scene.layer.steps, 1);
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(undrawn, 0);
        EXPECT_EQ(against, 0);
      }
    }
  }
}

// With a clock that only moves while a step waits, an effect paced at a frame or more per step
// takes exactly steps x par0.
TEST(FamilyPacing, EveryStepWaitsItsPeriodOnItsDeadline) {
  const int ids[] = {25, 26, 27, 31, 74, 114, 117, 122, 125, 126, 143, 144, 149, 152};
  for (int id : ids) {
    for (bool offScreen : {false, true}) {
      SCOPED_TRACE("effect " + std::to_string(id) + (offScreen ? " off screen" : " on screen"));
      seams::TestClock clock(0xFFFFF000u, 0, 1);  // crosses the tick counter's wrap
      seams::ScopedClock scope(&clock);
      fxtest::RecordingLayer layer;
      const RECT screen{0, 0, 200, 100};
      const fxtest::FxParams p = fxtest::ParamsAt(id, 60);
      ASSERT_EQ(TransFXDispatch(layer, 0, 0, 200, 100, 0, 0, 200, 100, 0, 0, id, 20, p.par1, p.par2,
                                offScreen, &screen),
                TRUE);
      ASSERT_GT(layer.steps, 1);
      EXPECT_EQ(clock.Peek() - 0xFFFFF000u, static_cast<uint32_t>(layer.steps * 20));
    }
  }
}

}  // namespace
