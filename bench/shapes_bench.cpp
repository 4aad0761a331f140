// The shapes' texture mappers: set-up time of one mapping of a 640 x 480 picture (a routine maps
// once per run, never per frame).
#include <benchmark/benchmark.h>

#include "engine3d/ShapesBox.h"
#include "engine3d/ShapesRound.h"
#include "imaging/DIB.h"

namespace {

CDIB& Picture() {
  static CDIB dib;
  static const bool made = [] {
    if (!dib.Create(640, 480, nullptr)) return false;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) *dib.GetPixelAddress(x, y) = static_cast<BYTE>(x ^ y);
    return true;
  }();
  (void)made;
  return dib;
}

template <typename Shape>
void BM_MapTexture(benchmark::State& state) {
  Shape shape;
  for (auto _ : state) benchmark::DoNotOptimize(shape.MapTexture(&Picture()));
}

void BM_CubeFace(benchmark::State& state) {
  C3DCube cube;
  for (auto _ : state) benchmark::DoNotOptimize(cube.MapTexture(4, &Picture()));
}

BENCHMARK_TEMPLATE(BM_MapTexture, C3DPyr5);
BENCHMARK(BM_CubeFace);
BENCHMARK_TEMPLATE(BM_MapTexture, C3DCyl52);
BENCHMARK_TEMPLATE(BM_MapTexture, C3DBall72);
BENCHMARK_TEMPLATE(BM_MapTexture, C3DBall200);

}  // namespace
