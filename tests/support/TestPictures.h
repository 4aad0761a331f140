// Test support: generated pictures for decoder tests, fuzz seeds and benchmarks.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/support/PackedImageWriter.h"

namespace packedtest {

// A photograph-like picture, red, green, blue per pixel, row 0 first: a sky gradient, hills with
// texture and noise, a few hard-edged shapes. The same seed gives the same picture.
Bytes MakePhotoRgb(int width, int height, uint32_t seed = 1);
// Its luminance, one byte per pixel.
Bytes ToGrey(const Bytes& rgb);
// 216 colours: six levels of each component (0, 51, ..., 255).
std::vector<Rgb> MakeCubePalette();
// The index of the nearest palette colour of every pixel (lowest index on ties).
Bytes MapToPalette(const Bytes& rgb, const std::vector<Rgb>& palette);
// Peak signal-to-noise ratio of two byte images of the same size, in decibels.
double Psnr(const Bytes& a, const Bytes& b);

}  // namespace packedtest
