#include "seams/Random.h"

namespace seams {
namespace {
thread_local uint32_t state = 1;
}

void Srand(uint32_t seed) { state = seed; }

uint32_t RandState() { return state; }

int Rand() {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & kRandMax);
}

}  // namespace seams
