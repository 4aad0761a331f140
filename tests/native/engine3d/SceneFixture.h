// Screens and cubes for scene tests: a headless screen that keeps a copy of what it was asked to
// show (the "window"), a background pattern in colours no face uses, and cubes flying across it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine3d/Scene.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/HeadlessScreenHost.h"
#include "seams/Clock.h"
#include "tests/native/engine3d/CubeFixture.h"

namespace scenetest {

constexpr Fixed kUnit = 65536;
constexpr uint32_t kFrameMs = 16;

// The test clock, which also runs a check before every read: the runners read it once between
// two frames. It can raise a stop request after a number of reads.
class FrameClock : public seams::Clock {
 public:
  uint32_t TickCount() override {
    ++reads;
    if (betweenFrames) betweenFrames();
    if (stopAfter > 0 && reads >= stopAfter) seams::RequestStop();
    return clock_.TickCount();
  }
  int64_t WallSeconds() override { return clock_.WallSeconds(); }
  void Idle() override { clock_.Idle(); }

  std::function<void()> betweenFrames;
  int stopAfter = 0;
  int reads = 0;

 private:
  seams::TestClock clock_{1000, kFrameMs, 0};
};

// Background pixels lie in 100..149; cube faces use 10..15, the grey ramp from the reserved
// count (10) up to 41, and textures 200 and up.
inline CDIB* NewBackground(int w, int h) {
  auto* dib = new CDIB;
  if (!dib->Create(w, h, nullptr)) return dib;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      *dib->GetPixelAddress(x, y) = static_cast<BYTE>(100 + (x * 7 + y * 3) % 50);
  return dib;
}

// A headless screen whose window is a copy of the surface taken at every ShowRect.
class WindowedHost : public HeadlessScreenHost {
 public:
  static constexpr int kReserved = 10;

  WindowedHost(int w, int h) : HeadlessScreenHost(kReserved) { Reset(w, h); }

  // A new background of w x h, composed and shown whole.
  void Reset(int w, int h) { Reset(NewBackground(w, h)); }
  // The same with a background of the test's (the host owns it).
  void Reset(CDIB* dib) {
    SetBackground(dib);
    const int w = dib->GetWidth();
    const int h = dib->GetHeight();
    window.assign(static_cast<size_t>(w) * h, 0);
    const CRect all(0, 0, w, h);
    CopyToWindow(all);
    ClearShownRects();
  }

  void FlushDirtyRects() override {
    if (onFlush) onFlush();
    HeadlessScreenHost::FlushDirtyRects();
  }

  void ShowRect(const CRect* rect) override {
    const size_t before = GetShownRects().size();
    HeadlessScreenHost::ShowRect(rect);
    if (GetShownRects().size() != before) CopyToWindow(GetShownRects().back());
  }

  int Width() { return GetSurface()->GetWidth(); }
  int Height() { return GetSurface()->GetHeight(); }
  // Row y (counted from the top) of each picture.
  const BYTE* SurfaceRow(int y) { return GetSurface()->GetPixelAddress(0, y); }
  const BYTE* BackgroundRow(int y) { return GetBackground()->GetPixelAddress(0, y); }
  const BYTE* WindowRow(int y) { return window.data() + static_cast<size_t>(y) * Width(); }

  std::vector<BYTE> window;       // top row first
  std::function<void()> onFlush;  // runs before every flush of the dirty rectangles

 private:
  void CopyToWindow(const CRect& r) {
    for (int y = r.top; y < r.bottom; ++y) {
      const BYTE* from = SurfaceRow(y);
      std::copy(from + r.left, from + r.right,
                window.begin() + static_cast<ptrdiff_t>(y) * Width() + r.left);
    }
  }
};

// A cube of side 2 * half pixels with flat faces, or lit ones, and optionally a texture on the
// face toward the viewer (the texture stays the test's).
struct FlyingCube {
  FlyingCube(int halfPixels, int32_t flags, bool textured) : cube(halfPixels * kUnit, flags) {
    // The shapes' build routines set the bounding sphere: the corners lie at sqrt(3) half.
    cube.object.radiusSq = static_cast<Fixed>(3LL * halfPixels * halfPixels * kUnit);
    if (textured) {
      texels.resize(16 * 16);
      for (size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<uint8_t>(200 + i % 37);
      const RasterPoint uv[4] = {{0, 0}, {15, 0}, {15, 15}, {0, 15}};
      EXPECT_EQ(cube.object.SetFaceTexture(TestCube::kFront, 16, texels.data(), 16, 16,
                                           RasterPolygon{4, uv}),
                1);
    }
  }
  // Flies from (x0, y0, z0) to (x1, y1, z1), in pixels, turning by the given angles.
  void Fly(int x0, int y0, int z0, int x1, int y1, int z1, double seconds,
           const int32_t turn[3] = nullptr) {
    const int32_t none[3] = {0, 0, 0};
    cube.object.SetMotion(FixedVector{x0 * kUnit, y0 * kUnit, z0 * kUnit}, none,
                          FixedVector{x1 * kUnit, y1 * kUnit, z1 * kUnit}, turn ? turn : none,
                          seconds, 0);
  }
  C3DPObject* Object() { return &cube.object; }

  TestCube cube;
  std::vector<uint8_t> texels;
};

}  // namespace scenetest
