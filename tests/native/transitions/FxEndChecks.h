// End-state checks on a scene after an effect: what the destination shows against the surface
// of the direction (A on screen, B off screen).
#pragma once

#include <cstdlib>

#include "tests/native/transitions/FxScene.h"
#include "transitions/FxPainter.h"

namespace fxtest {

struct EndState {
  int wrong = 0;    // pixels showing something else than they should (the marker aside)
  int undrawn = 0;  // pixels still showing the marker
  int firstX = -1, firstY = -1;  // the first wrong pixel
};

// 1:1: every pixel must show exactly its own pixel of the surface.
inline EndState CheckEnd(const Scene& scene, bool offScreen) {
  EndState end;
  for (int y = 0; y < scene.dh; ++y) {
    for (int x = 0; x < scene.dw; ++x) {
      const Pixel shown = scene.destination.At(Scene::kDx + x, Scene::kDy + y);
      if (shown == Scene::Marker()) {
        ++end.undrawn;
      } else if (shown != scene.Expected(x, y, offScreen) && end.wrong++ == 0) {
        end.firstX = x;
        end.firstY = y;
      }
    }
  }
  return end;
}

// Scaled: every drawn pixel must come from the right surface, from near where the scale of the
// whole area puts it. Pieces are stretched one by one, each a pixel longer than its exact scale,
// so within a piece the source drifts by up to a source pixel per destination pixel.
inline EndState CheckScaledEnd(const Scene& scene, bool offScreen) {
  EndState end;
  const int tag = offScreen ? kTagB : kTagA;
  const int ox = offScreen ? Scene::kBx : Scene::kAx, oy = offScreen ? Scene::kBy : Scene::kAy;
  const int toleranceX = 1 + CeilDiv(scene.sw, scene.dw);
  const int toleranceY = 1 + CeilDiv(scene.sh, scene.dh);
  for (int y = 0; y < scene.dh; ++y) {
    for (int x = 0; x < scene.dw; ++x) {
      const Pixel p = scene.destination.At(Scene::kDx + x, Scene::kDy + y);
      if (p == Scene::Marker()) {
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

}  // namespace fxtest
