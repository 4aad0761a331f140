// A deterministic picture with the statistics of a landscape photograph, for tests and
// benchmarks of the decoders, the quantizer and the resampler: a sky gradient, hills with soft
// edges, textured ground with noise, and a few bright discs; tens of thousands of colours.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "imaging/DIB.h"

namespace testsupport {

// Samples in rows from the top, `components` per pixel (3: red, green, blue; 1: grey).
struct Picture {
  int width = 0, height = 0, components = 3;
  std::vector<uint8_t> samples;
  const uint8_t* Row(int y) const {
    return samples.data() + static_cast<size_t>(y) * width * components;
  }
};

inline Picture SyntheticPhoto(int width, int height, int components = 3) {
  Picture p{width, height, components,
            std::vector<uint8_t>(static_cast<size_t>(width) * height * components)};
  uint32_t noise = 12345;
  auto next = [&noise] {
    noise = noise * 1103515245u + 12345u;
    return static_cast<int>((noise >> 16) & 0xFF) - 128;
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = static_cast<double>(x) / std::max(width, 1);
      const double v = static_cast<double>(y) / std::max(height, 1);
      const double ridge = 0.45 + 0.08 * std::sin(u * 9.0) + 0.04 * std::sin(u * 23.0 + 1.0);
      double r, g, b;
      if (v < ridge) {  // sky: blue to pale toward the horizon
        r = 90 + 120 * v;
        g = 140 + 90 * v;
        b = 230 - 30 * v;
      } else {  // ground: greens and browns with texture
        const double t = (v - ridge) / (1.0 - ridge + 1e-9);
        const double texture = 25 * std::sin(x * 0.31 + y * 0.17) * std::sin(y * 0.23);
        r = 70 + 90 * t + texture + next() / 8.0;
        g = 110 + 40 * std::sin(u * 5.0 + t * 3.0) + texture + next() / 8.0;
        b = 40 + 30 * t + next() / 16.0;
      }
      for (int d = 0; d < 3; ++d) {  // three suns
        const double cx = (0.2 + 0.3 * d) * width, cy = (0.15 + 0.05 * d) * height;
        const double dist = std::hypot(x - cx, y - cy) / (0.06 * std::max(width, height) + 1);
        if (dist < 1.0) {
          const double glow = 1.0 - dist * dist;
          r += (255 - r) * glow;
          g += (230 - g) * glow;
          b += (120 - b) * glow * (d == 1 ? 0.2 : 1.0);
        }
      }
      uint8_t* out = p.samples.data() + (static_cast<size_t>(y) * width + x) * components;
      auto clamp = [](double c) { return static_cast<uint8_t>(std::clamp(c, 0.0, 255.0)); };
      if (components == 1) {
        out[0] = clamp(0.299 * r + 0.587 * g + 0.114 * b);
      } else {
        out[0] = clamp(r);
        out[1] = clamp(g);
        out[2] = clamp(b);
      }
    }
  }
  return p;
}

// A 24-bit bitmap of an RGB picture (or of a grey one, each grey in all three channels).
inline bool ToDIB24(const Picture& p, CDIB& dib) {
  if (!dib.Create24(p.width, p.height)) return false;
  for (int y = 0; y < p.height; ++y) {
    const uint8_t* in = p.Row(y);
    BYTE* out = dib.GetPixelAddress(0, y);
    for (int x = 0; x < p.width; ++x, in += p.components, out += 3) {
      out[0] = in[p.components == 3 ? 2 : 0];
      out[1] = in[p.components == 3 ? 1 : 0];
      out[2] = in[0];
    }
  }
  return true;
}

}  // namespace testsupport
