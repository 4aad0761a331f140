// Fixed-point primitives per call: FixedMul, FixedDiv and TransformPoint over arrays of operands,
// so that the loop measures throughput of independent calls.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "engine3d/FixedMath.h"

namespace {

constexpr int kOperands = 4096;

std::vector<Fixed> RandomFixed(uint32_t seed, int shift) {
  std::mt19937 rng(seed);
  std::vector<Fixed> v(kOperands);
  for (Fixed& x : v) {
    x = static_cast<Fixed>(rng()) >> shift;
    if (x == 0) x = 1;
  }
  return v;
}

// Reports the time of one call.
void PerCall(benchmark::State& state, int64_t callsPerIteration) {
  state.counters["per_call"] = benchmark::Counter(
      static_cast<double>(callsPerIteration),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_FixedMul(benchmark::State& state) {
  const std::vector<Fixed> a = RandomFixed(1, 8), b = RandomFixed(2, 12);
  for (auto _ : state) {
    Fixed sum = 0;
    for (int i = 0; i < kOperands; ++i) sum = WrapAdd(sum, FixedMul(a[i], b[i]));
    benchmark::DoNotOptimize(sum);
  }
  PerCall(state, kOperands);
}
BENCHMARK(BM_FixedMul);

void BM_FixedDiv(benchmark::State& state) {
  const std::vector<Fixed> a = RandomFixed(3, 12), b = RandomFixed(4, 4);
  for (auto _ : state) {
    Fixed sum = 0;
    for (int i = 0; i < kOperands; ++i) sum = WrapAdd(sum, FixedDiv(a[i], b[i]));
    benchmark::DoNotOptimize(sum);
  }
  PerCall(state, kOperands);
}
BENCHMARK(BM_FixedDiv);

void BM_TransformPoint(benchmark::State& state) {
  FixedMatrix m = FixedTranslation(3 * 65536, -7 * 65536, -40 * 65536);
  RotateMatrixX(m, 123);
  RotateMatrixY(m, 456);
  RotateMatrixZ(m, 789);
  const std::vector<Fixed> c = RandomFixed(5, 10);
  std::vector<FixedVector> in(kOperands), out(kOperands);
  for (int i = 0; i < kOperands; ++i)
    in[i] = FixedVector{c[i], c[(i + 1) % kOperands], c[(i + 2) % kOperands]};
  for (auto _ : state) {
    for (int i = 0; i < kOperands; ++i) TransformPoint(m, in[i], out[i]);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  PerCall(state, kOperands);
}
BENCHMARK(BM_TransformPoint);

}  // namespace
