// Checks of what a display routine leaves on a headless screen whose window is a copy of what it
// was asked to show, and a wave-out device that records which effect sound each play was (by the
// first sample of its block).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/SpriteList.h"
#include "tests/native/engine3d/SceneFixture.h"
#include "tests/native/routines/RoutineFixture.h"
#include "tests/native/sound/FakeWaveOut.h"

namespace routinetest {

// Pixels where the window differs from the picture.
inline long WindowDifferences(scenetest::WindowedHost& host, const CDIB& picture) {
  long n = 0;
  for (int y = 0; y < host.Height(); ++y) {
    const BYTE* row = host.WindowRow(y);
    for (int x = 0; x < host.Width(); ++x) n += row[x] != *picture.GetPixelAddress(x, y);
  }
  return n;
}

// Background, surface and window all show the picture, and no sprite is left.
inline void ExpectScreenShows(scenetest::WindowedHost& host, const CDIB& picture) {
  EXPECT_EQ(DifferentPixels(*host.GetBackground(), picture), 0) << "background";
  EXPECT_EQ(DifferentPixels(*host.GetSurface(), picture), 0) << "surface";
  EXPECT_EQ(WindowDifferences(host, picture), 0) << "window";
  EXPECT_EQ(host.GetSprites()->GetCount(), 0) << "sprites left";
}

// The surface is the background composed afresh (no sprite is left) and the window shows it.
inline void ExpectScreenComposed(scenetest::WindowedHost& host) {
  EXPECT_EQ(host.GetSprites()->GetCount(), 0) << "sprites left";
  EXPECT_EQ(DifferentPixels(*host.GetSurface(), *host.GetBackground()), 0) << "surface";
  EXPECT_EQ(WindowDifferences(host, *host.GetSurface()), 0) << "window";
}

// Keeps the first 16-bit sample of every block written: the test's waves each have their own.
class SampleRecordingWaveOut : public soundtest::FakeWaveOut {
 public:
  MMRESULT Write(HWAVEOUT h, WAVEHDR* header) override {
    samples.push_back(*reinterpret_cast<const int16_t*>(header->lpData));
    return FakeWaveOut::Write(h, header);
  }
  long Count(int16_t sample) const {
    long n = 0;
    for (int16_t s : samples) n += s == sample;
    return n;
  }
  std::vector<int16_t> samples;
};

}  // namespace routinetest
