// End-state checks on a scene after an effect: what the destination shows
// against the surface of the direction (A on screen, B off screen). The one
// home of these checks, for the engine's and the families' tests natively and
// for the GDI layer's under Wine.
#pragma once

#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/native/transitions/FxScene.h"
#include "tests/native/transitions/FxSlivers.h"
#include "transitions/FxPainter.h"

namespace fxtest {

struct EndState {
  int wrong = 0;    // pixels showing something else than they should (the marker aside)
  int undrawn = 0;  // pixels still showing the marker
  int firstX = -1, firstY = -1;  // the first wrong pixel
};

// 1:1, on any scene whose destination holds the pixels of the plain scene's
// coding at the same offsets (plain buffers natively, DIB sections under Wine):
// every pixel must show exactly its own pixel of the surface, but for the
// effect's slivers (FxSlivers.h). `undrawn` counts the marker where the picture
// belongs; `wrong` anything else out of place, including a listed sliver that
// was drawn after all.
template <typename AnyScene>
EndState CheckEnd(const AnyScene& scene, int id, int slider, bool offScreen) {
  EndState end;
  const EndPixels rule(id, scene.dw, scene.dh, slider);
  const Pixel marker = AnyScene::Marker();
  for (int y = 0; y < scene.dh; ++y) {
    for (int x = 0; x < scene.dw; ++x) {
      const Pixel shown = scene.destination.At(AnyScene::kDx + x, AnyScene::kDy + y);
      const bool isPicture = shown == scene.Expected(x, y, offScreen);
      const EndPixel want = rule.At(x, y);
      bool bad = false;
      if (want == EndPixel::kUndrawn) {
        bad = shown != marker;
        end.wrong += bad;
      } else if (shown == marker) {
        bad = want == EndPixel::kPicture;
        end.undrawn += bad;
      } else {
        bad = !isPicture;
        end.wrong += bad;
      }
      if (bad && end.firstX < 0) {
        end.firstX = x;
        end.firstY = y;
      }
    }
  }
  return end;
}

// Scaled: every drawn pixel must come from the right surface, from near where
// the scale of the whole area puts it. Pieces are stretched one by one, each a
// pixel longer than its exact scale, so within a piece the source drifts by up
// to a source pixel per destination pixel.
template <typename AnyScene>
EndState CheckScaledEnd(const AnyScene& scene, bool offScreen) {
  EndState end;
  const int tag = offScreen ? kTagB : kTagA;
  const int ox = offScreen ? AnyScene::kBx : AnyScene::kAx;
  const int oy = offScreen ? AnyScene::kBy : AnyScene::kAy;
  const int toleranceX = 1 + CeilDiv(scene.sw, scene.dw);
  const int toleranceY = 1 + CeilDiv(scene.sh, scene.dh);
  for (int y = 0; y < scene.dh; ++y) {
    for (int x = 0; x < scene.dw; ++x) {
      const Pixel p = scene.destination.At(AnyScene::kDx + x, AnyScene::kDy + y);
      if (p == AnyScene::Marker()) {
        ++end.undrawn;
        continue;
      }
      const int sx = p[0] | ((p[2] >> 2) & 3) << 8, sy = p[1] | (p[2] & 3) << 8;
      const int wantX = ox + (2 * x + 1) * scene.sw / (2 * scene.dw);
      const int wantY = oy + (2 * y + 1) * scene.sh / (2 * scene.dh);
      if (((p[2] >> 4) != tag || std::abs(sx - wantX) > toleranceX ||
           std::abs(sy - wantY) > toleranceY) &&
          end.wrong++ == 0) {
        end.firstX = x;
        end.firstY = y;
      }
    }
  }
  return end;
}

// The whole verdict on an effect at 1:1: every pixel its own pixel of the right surface but for the
// effect's slivers, and nothing changed outside the destination.
template <typename AnyScene>
void ExpectEnd(const AnyScene& scene, int id, int slider, bool offScreen) {
  const EndState end = CheckEnd(scene, id, slider, offScreen);
  EXPECT_EQ(end.wrong, 0) << "first wrong pixel at (" << end.firstX << ", " << end.firstY << ")";
  EXPECT_EQ(end.undrawn, 0) << "first undrawn pixel at (" << end.firstX << ", " << end.firstY
                            << ")";
  EXPECT_EQ(scene.ChangedOutside(), 0);
}

// The whole verdict on a stretched effect, the same natively and under Wine: the right surface
// everywhere, nothing changed outside the destination, and no pixel left undrawn unless the
// effect leaves slivers.
template <typename AnyScene>
void ExpectScaledEnd(const AnyScene& scene, int id, bool offScreen) {
  const EndState end = CheckScaledEnd(scene, offScreen);
  EXPECT_EQ(end.wrong, 0) << "first at (" << end.firstX << ", " << end.firstY << ")";
  EXPECT_EQ(scene.ChangedOutside(), 0);
  if (!LeavesSlivers(id)) {
    EXPECT_EQ(end.undrawn, 0);
  }
}

}  // namespace fxtest
