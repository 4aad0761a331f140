// The 8x8 inverse transform of the packed image decoder: the accurate integer factorisation of
// Loeffler, Ligtenberg and Moschytz with 13-bit constants, in two passes (rows, then columns).
// Samples are coded without a level shift, so a DC coefficient of 8v gives a flat block of v.
#pragma once

#include <cstdint>

namespace packed {

// coefficients: 64 dequantised values in natural order (row x 8 + column); samples: 8 rows of 8
// results clamped to 0..255, `stride` bytes apart.
void InverseTransform(const int32_t* coefficients, uint8_t* samples, int stride);
// The same for a block whose only non-zero coefficient is the DC: 64 equal samples.
void InverseTransformDc(int32_t dc, uint8_t* samples, int stride);

}  // namespace packed
