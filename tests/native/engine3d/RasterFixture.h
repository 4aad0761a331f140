// An 8-bit surface for rasteriser tests: padded rows and guard bytes all round, so that a write
// outside the picture, or into a row's padding, shows up as a changed guard.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine3d/Raster.h"

class GuardedSurface {
 public:
  static constexpr uint8_t kGuard = 0xEE;
  static constexpr int32_t kGuardBytes = 256;

  GuardedSurface(int32_t width, int32_t height, uint8_t background = 0)
      : width_(width),
        height_(height),
        stride_((width + 3) & ~3),
        memory_(static_cast<size_t>(stride_) * height + 2 * kGuardBytes, kGuard) {
    Clear(background);
  }

  // Sets every pixel (not the padding) to value.
  void Clear(uint8_t value) {
    for (int32_t r = 0; r < height_; ++r)
      for (int32_t x = 0; x < width_; ++x) At(x, r) = value;
  }
  // Binds the raster target to this surface.
  void Bind() { ASSERT_EQ(BindRasterTarget(Bits(), width_, height_, stride_), 1); }
  uint8_t* Bits() { return memory_.data() + kGuardBytes; }
  uint8_t& At(int32_t x, int32_t row) { return Bits()[static_cast<size_t>(row) * stride_ + x]; }
  uint8_t At(int32_t x, int32_t row) const {
    return memory_[kGuardBytes + static_cast<size_t>(row) * stride_ + x];
  }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t Stride() const { return stride_; }

  // True when no guard byte before or after the picture and no padding byte changed.
  ::testing::AssertionResult GuardsIntact() const {
    for (int32_t i = 0; i < kGuardBytes; ++i) {
      if (memory_[i] != kGuard) return ::testing::AssertionFailure() << "guard before, byte " << i;
      if (memory_[memory_.size() - 1 - i] != kGuard)
        return ::testing::AssertionFailure() << "guard after, byte " << i;
    }
    for (int32_t r = 0; r < height_; ++r)
      for (int32_t x = width_; x < stride_; ++x)
        if (memory_[kGuardBytes + static_cast<size_t>(r) * stride_ + x] != kGuard)
          return ::testing::AssertionFailure() << "padding of row " << r << ", column " << x;
    return ::testing::AssertionSuccess();
  }

 private:
  int32_t width_, height_, stride_;
  std::vector<uint8_t> memory_;
};
