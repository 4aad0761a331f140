// The random seam: the C runtime's rand/srand sequence, reproduced exactly and per thread.
//
// The saver's picks (next transition, logo, order of the play list) must come out the same in
// the 32-bit and 64-bit builds and natively, so nothing calls the C library's rand directly.
#pragma once

#include <cstdint>

namespace seams {

constexpr int kRandMax = 0x7FFF;

// Seeds this thread's generator (each thread starts as if seeded with 1).
void Srand(uint32_t seed);
// This thread's generator state: Srand(RandState()) later repeats the values that follow now.
uint32_t RandState();
// Next value 0..kRandMax: state = state * 214013 + 2531011; result (state >> 16) & 0x7FFF.
int Rand();

}  // namespace seams
