// A transition scene in plain buffers: a destination and two surfaces whose pixels say where they
// came from, so that a test can tell for every destination pixel which surface and which position
// it shows.
//
// Pixels are 24-bit: byte 0 = x & 0xFF, byte 1 = y & 0xFF, byte 2 = tag << 4 | (x >> 8) << 2 |
// (y >> 8), with tag 1 for surface A, 2 for surface B. The destination starts filled with the
// marker (tag 3 at position 0, 0). The destination rectangle and the two areas sit inside larger
// buffers at different offsets, so a copy from the wrong place, or outside the rectangle, shows.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "transitions/Pacing.h"
#include "transitions/PlainBlit.h"
#include "transitions/TransFXDispatch.h"

namespace fxtest {

constexpr int kTagA = 1, kTagB = 2, kTagMarker = 3;

using Pixel = std::array<BYTE, 3>;

inline Pixel Encode(int tag, int x, int y) {
  return {static_cast<BYTE>(x & 0xFF), static_cast<BYTE>(y & 0xFF),
          static_cast<BYTE>(tag << 4 | ((x >> 8) & 3) << 2 | ((y >> 8) & 3))};
}

// A top-down 24-bit buffer.
struct Buffer {
  int width = 0, height = 0;
  std::vector<BYTE> bytes;

  Buffer(int w, int h) : width(w), height(h), bytes(static_cast<size_t>(w) * h * 3) {}
  PixelPlane Plane() {
    PixelPlane p;
    p.top = bytes.data();
    p.pitch = width * 3;
    p.width = width;
    p.height = height;
    p.bytesPerPixel = 3;
    return p;
  }
  Pixel At(int x, int y) const {
    const BYTE* b = &bytes[(static_cast<size_t>(y) * width + x) * 3];
    return {b[0], b[1], b[2]};
  }
  void Set(int x, int y, const Pixel& p) {
    BYTE* b = &bytes[(static_cast<size_t>(y) * width + x) * 3];
    b[0] = p[0], b[1] = p[1], b[2] = p[2];
  }
  void FillPositions(int tag) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) Set(x, y, Encode(tag, x, y));
  }
  void Fill(const Pixel& p) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) Set(x, y, p);
  }
};

// A plain layer that counts the steps an effect ends and can look at the destination after each.
class CountingLayer : public PlainBlitLayer {
 public:
  using PlainBlitLayer::PlainBlitLayer;
  void EndStep() override {
    ++steps;
    if (onStep) onStep();
  }
  int steps = 0;
  std::function<void()> onStep;
};

// Destination rectangle at (5, 3) of a buffer 9 and 7 pixels larger; area A at (2, 7), area B at
// (11, 1) of buffers larger still. Sizes in source units equal the destination's unless scaled.
struct Scene {
  static constexpr int kDx = 5, kDy = 3, kAx = 2, kAy = 7, kBx = 11, kBy = 1;
  int dw, dh, sw, sh;
  Buffer destination, a, b;
  CountingLayer layer;
  RECT screen;

  Scene(int w, int h) : Scene(w, h, w, h) {}
  Scene(int destW, int destH, int srcW, int srcH)
      : dw(destW),
        dh(destH),
        sw(srcW),
        sh(srcH),
        destination(destW + 9, destH + 7),
        a(srcW + 13, srcH + 17),
        b(srcW + 19, srcH + 5),
        layer(destination.Plane(), a.Plane(), b.Plane()),
        screen{0, 0, destination.width, destination.height} {
    destination.Fill(Marker());
    a.FillPositions(kTagA);
    b.FillPositions(kTagB);
  }
  static Pixel Marker() { return Encode(kTagMarker, 0, 0); }

  BOOL Run(int effect, int par0, int par1, int par2, bool offScreen) {
    return TransFXDispatch(layer, kDx, kDy, dw, dh, kAx, kAy, sw, sh, kBx, kBy, effect, par0, par1,
                           par2, offScreen ? TRUE : FALSE, &screen);
  }
  // What destination pixel (x, y) of the rectangle (relative to its corner) shows when the
  // surface of the direction has been copied there 1:1.
  Pixel Expected(int x, int y, bool offScreen) const {
    return offScreen ? Encode(kTagB, kBx + x, kBy + y) : Encode(kTagA, kAx + x, kAy + y);
  }
  bool Inside(int x, int y) const { return x >= kDx && x < kDx + dw && y >= kDy && y < kDy + dh; }
  // Pixels outside the rectangle that changed.
  int ChangedOutside() const {
    int changed = 0;
    for (int y = 0; y < destination.height; ++y)
      for (int x = 0; x < destination.width; ++x)
        if (!Inside(x, y) && destination.At(x, y) != Marker()) ++changed;
    return changed;
  }
};

}  // namespace fxtest
