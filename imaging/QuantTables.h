// CQuantTables: the quantisation tables of the transform-coded types, luminance and chrominance,
// held in the standard zigzag order and scaled by the image's quality.
#pragma once

#include <cstdint>

class CQuantTables {
 public:
  // Filled with the base tables (quality 50).
  CQuantTables();

  // Scales the base tables: 50 keeps them, below 50 by 5000 / q percent, above by 200 - 2q
  // percent, each entry at least 1. A quality of 0 (whose scale does not exist) keeps the base
  // tables; one outside 0..100 keeps them too and returns false.
  bool SetQuality(int quality);
  // Multiplies the 64 coefficients (in coded order) by the table in place.
  void Dequantize(int32_t* block, bool isLuminance) const;
  // One product. Corrupt data may carry any value: the product wraps instead of overflowing.
  static int32_t Multiply(int32_t coefficient, int32_t quantiser) {
    return static_cast<int32_t>(static_cast<uint32_t>(coefficient) *
                                static_cast<uint32_t>(quantiser));
  }

  const int32_t* Luminance() const { return m_luminance; }
  const int32_t* Chrominance() const { return m_chrominance; }

 private:
  int32_t m_luminance[64];
  int32_t m_chrominance[64];
};
