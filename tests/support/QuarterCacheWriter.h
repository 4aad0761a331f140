// Test support: an independent writer of the quarter-size image cache ("imx4.dat"), built from
// the layout alone, so that the product's builder can be compared with it byte for byte.
// Never part of the product.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace cachetest {

using Bytes = std::vector<uint8_t>;

// A full image as the cache takes it: 8 bits per pixel, rows as stored (bottom row of the
// picture first), each row padded to a multiple of 4 bytes.
struct FullImage8 {
  int width = 0;
  int height = 0;
  int colours = 256;                                // the image's colour count (1..256)
  std::array<std::array<uint8_t, 4>, 256> table{};  // blue, green, red, unused per entry
  Bytes rows;
  int Stride() const { return (width + 3) / 4 * 4; }
};

// The colour table of a palette of red, green, blue triples followed by the grey ramp.
std::array<std::array<uint8_t, 4>, 256> TableWithGreyRamp(
    const std::vector<std::array<uint8_t, 3>>& rgb);

// The cached BMP file of one full image: (w / 4) x (h / 4) pixels, 1078 bytes of headers and
// table, the image's first `colours` entries then the grey ramp.
Bytes WriteQuarterBmp(const FullImage8& image);

// The whole cache: "%dl" header of the count and every BMP's size, then the BMPs back to back.
Bytes WriteQuarterCache(const std::vector<FullImage8>& images);

// The header's length for these BMP sizes (where image 0 starts).
std::size_t QuarterCacheHeaderLength(const std::vector<std::size_t>& sizes);

}  // namespace cachetest
