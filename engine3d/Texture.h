// The pixels a texture-mapped face copies from.
#pragma once

#include <cstdint>

// 8-bit texels; texel (u, v) is pixels[v * stride + u]. Reads are held to width x height, so a
// texture coordinate outside the texture repeats the nearest edge texel instead of reading
// memory that is not the texture's.
struct C3DTexture {
  int32_t stride = 0;
  uint8_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  // True when the pixels were allocated for the face (new[]) and die with it; false when a
  // routine attached pixels of its own, which stay the routine's.
  bool ownsPixels = false;
};
