#include "imaging/QuantTables.h"

#include "imaging/PackedFormat.h"

namespace {

// T.81 Table K.1, luminance, as published: row by row in natural order.
const int32_t kLuminanceBase[64] = {16,  11,  10,  16,  24, 40, 51,  61,  12,  12,  14,  19,  26,
                                    58,  60,  55,  14,  13, 16, 24,  40,  57,  69,  56,  14,  17,
                                    22,  29,  51,  87,  80, 62, 18,  22,  37,  56,  68,  109, 103,
                                    77,  24,  35,  55,  64, 81, 104, 113, 92,  49,  64,  78,  87,
                                    103, 121, 120, 101, 72, 92, 95,  98,  112, 100, 103, 99};

// T.81 Table K.2, chrominance, as published.
const int32_t kChrominanceBase[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

void FillBase(int32_t* luminance, int32_t* chrominance) {
  for (int k = 0; k < 64; ++k) {
    luminance[k] = kLuminanceBase[packed::kStandardZigzag[k]];
    chrominance[k] = kChrominanceBase[packed::kStandardZigzag[k]];
  }
}

void Scale(int32_t* table, int32_t scale) {
  for (int k = 0; k < 64; ++k) {
    const int32_t v = table[k] * scale / 100;
    table[k] = v < 1 ? 1 : v;
  }
}

}  // namespace

CQuantTables::CQuantTables() { FillBase(m_luminance, m_chrominance); }

bool CQuantTables::SetQuality(int quality) {
  FillBase(m_luminance, m_chrominance);
  if (quality < 0 || quality > 100) return false;
  if (quality == 0 || quality == 50) return true;
  const int32_t scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
  Scale(m_luminance, scale);
  Scale(m_chrominance, scale);
  return true;
}

void CQuantTables::Dequantize(int32_t* block, bool isLuminance) const {
  const int32_t* table = isLuminance ? m_luminance : m_chrominance;
  for (int k = 0; k < 64; ++k) block[k] = Multiply(block[k], table[k]);
}
