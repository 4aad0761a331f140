// Screens for the tests of the rolling and bouncing routines: a picture in colours of its own
// (a hue sweep with a bright bar along its top edge, so a picture turned or mirrored shows) over
// the screen's grey ramp, on a headless screen whose window copies what it is asked to show.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "framework/Geometry.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "tests/native/engine3d/SceneFixture.h"
#include "tests/native/routines/RoutineFixture.h"

namespace bouncetest {

constexpr int kRamp = scenetest::WindowedHost::kReserved;  // the grey ramp: 10..41
constexpr int kFirstHue = 100;                             // the picture: 100..199
constexpr int kBarIndex = 200;                             // the bar along the top

// The screen colours: placeholders, the grey ramp, a hue sweep at 100..199 and white at 200.
inline void PicturePalette(CColorPalette* palette) {
  palette->CreateGreyRamp(kRamp);
  PALETTEENTRY hues[101];
  for (int i = 0; i < 100; ++i) {
    const int t = i * 255 / 99;
    hues[i] = {static_cast<BYTE>(255 - t), static_cast<BYTE>(t < 128 ? 2 * t : 510 - 2 * t),
               static_cast<BYTE>(t), 0};
  }
  hues[100] = {255, 255, 255, 0};
  palette->SetPaletteEntries(kFirstHue, 101, hues);
}

// A w x h picture: the hue runs along x and y, the top eighth is the bar.
inline CDIB* NewHuePicture(int w, int h) {
  CColorPalette palette;
  PicturePalette(&palette);
  auto* dib = new CDIB;
  dib->Create(w, h, &palette);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int hue = (x * 70 / w + y * 29 / h) % 100;
      *dib->GetPixelAddress(x, y) = static_cast<BYTE>(y < h / 8 ? kBarIndex : kFirstHue + hue);
    }
  }
  return dib;
}

// The routines' clock (waits jump to their deadlines), which lets a test look at the screen at
// every nap between two frames.
class NapClock : public routinetest::JumpClock {
 public:
  using JumpClock::JumpClock;
  void IdleUntil(uint32_t deadline) override {
    JumpClock::IdleUntil(deadline);
    if (onNap) onNap();
  }
  std::function<void()> onNap;
};

}  // namespace bouncetest
