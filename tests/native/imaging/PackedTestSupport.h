// Helpers shared by the packed image tests: decoding from memory and reading the result back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/File.h"
#include "imaging/PackedImage.h"
#include "tests/support/PackedImageWriter.h"
#include "tests/support/TestPictures.h"

namespace packedtest {

// What a decode gave: Read's result, the status, and copies of the buffers.
struct Decoded {
  int32_t result = 0;
  int32_t status = 0;
  int32_t stride = 0;
  Bytes pixels;  // the whole decoded buffer (empty when none)
  std::vector<RGBQUAD> palette;
};

inline Decoded Decode(const Bytes& file, DWORD offset = 0) {
  CPackedImageFile image(std::make_unique<CMemFile>(file.data(), file.size()), offset);
  Decoded out;
  out.result = image.Read(nullptr);
  out.status = image.GetStatus();
  out.stride = image.GetRowStride();
  if (image.GetPixels() != nullptr) {
    out.pixels.assign(image.GetPixels(), image.GetPixels() + image.GetDecodedSize());
  }
  if (image.GetPalette() != nullptr) {
    out.palette.assign(image.GetPalette(), image.GetPalette() + image.GetPaletteCount());
  }
  return out;
}

// The width x height pixels of a decoded buffer without the row padding (bytesPerPixel each).
inline Bytes Unpad(const Decoded& d, int width, int height, int bytesPerPixel) {
  Bytes out;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = d.pixels.data() + static_cast<size_t>(y) * d.stride;
    out.insert(out.end(), row, row + width * bytesPerPixel);
  }
  return out;
}

// Type 3's blue, green, red rows as red, green, blue without padding.
inline Bytes BgrToRgb(const Decoded& d, int width, int height) {
  Bytes rgb = Unpad(d, width, height, 3);
  for (size_t i = 0; i < rgb.size(); i += 3) std::swap(rgb[i], rgb[i + 2]);
  return rgb;
}

// Palette indices as red, green, blue through the decoded palette.
inline Bytes IndicesToRgb(const Bytes& indices, const std::vector<RGBQUAD>& palette) {
  Bytes rgb;
  for (uint8_t i : indices) {
    rgb.push_back(palette.at(i).rgbRed);
    rgb.push_back(palette.at(i).rgbGreen);
    rgb.push_back(palette.at(i).rgbBlue);
  }
  return rgb;
}

// Padding bytes of every row (past width x bytesPerPixel) that are not zero.
inline int NonZeroPadding(const Decoded& d, int width, int height, int bytesPerPixel) {
  int count = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = width * bytesPerPixel; x < d.stride; ++x) {
      count += d.pixels[static_cast<size_t>(y) * d.stride + x] != 0;
    }
  }
  return count;
}

}  // namespace packedtest
