// Fill rate of the rasteriser, flat and textured, for squares of 8 to 512 pixels on a 1024 x 768
// surface, each beside a plain memset (flat) or memcpy (textured) of the same spans: the physical
// limit of writing those bytes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine3d/Raster.h"

namespace {

constexpr int32_t kWidth = 1024, kHeight = 768, kTexture = 512;

struct Surface {
  Surface()
      : pixels(static_cast<size_t>(kWidth) * kHeight, 0),
        texels(static_cast<size_t>(kTexture) * kTexture) {
    for (size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<uint8_t>(i * 7);
    BindRasterTarget(pixels.data(), kWidth, kHeight, kWidth);
    texture.stride = texture.width = texture.height = kTexture;
    texture.pixels = texels.data();
  }
  std::vector<uint8_t> pixels, texels;
  C3DTexture texture;
};

// A square of side s at the centre, corners in the order that both fills draw.
struct Square {
  explicit Square(int32_t s) {
    const int32_t x = (kWidth - s) / 2, y = (kHeight - s) / 2;
    corners[0] = {x, y};
    corners[1] = {x + s, y};
    corners[2] = {x + s, y + s};
    corners[3] = {x, y + s};
    // The texture covered once, whatever the size: magnified for small squares.
    const int32_t t = kTexture - 1;
    uv[0] = {0, 0};
    uv[1] = {t, 0};
    uv[2] = {t, t};
    uv[3] = {0, t};
  }
  RasterPoint corners[4];
  RasterPoint uv[4];
};

void Pixels(benchmark::State& state, int64_t side) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * side * side);
  state.counters["pixels"] = static_cast<double>(side * side);
}

void BM_FillFlat(benchmark::State& state) {
  Surface surface;
  const int32_t s = static_cast<int32_t>(state.range(0));
  const Square square(s);
  const RasterPolygon polygon{4, square.corners};
  for (auto _ : state) {
    FillPolygonFlat(polygon, 0x55, 0, 0);
    benchmark::ClobberMemory();
  }
  Pixels(state, s);
}
BENCHMARK(BM_FillFlat)->Arg(8)->Arg(32)->Arg(128)->Arg(512);

void BM_MemsetSpans(benchmark::State& state) {
  Surface surface;
  const int32_t s = static_cast<int32_t>(state.range(0));
  const Square square(s);
  for (auto _ : state) {
    for (int32_t r = 0; r < s; ++r) {
      std::memset(surface.pixels.data() + static_cast<size_t>(square.corners[0].y + r) * kWidth +
                      square.corners[0].x,
                  0x55, static_cast<size_t>(s));
    }
    benchmark::ClobberMemory();
  }
  Pixels(state, s);
}
BENCHMARK(BM_MemsetSpans)->Arg(8)->Arg(32)->Arg(128)->Arg(512);

void BM_FillTextured(benchmark::State& state) {
  Surface surface;
  const int32_t s = static_cast<int32_t>(state.range(0));
  const Square square(s);
  const RasterPolygon polygon{4, square.corners}, uv{4, square.uv};
  for (auto _ : state) {
    FillPolygonTextured(polygon, uv, surface.texture);
    benchmark::ClobberMemory();
  }
  Pixels(state, s);
}
BENCHMARK(BM_FillTextured)->Arg(8)->Arg(32)->Arg(128)->Arg(512);

void BM_MemcpySpans(benchmark::State& state) {
  Surface surface;
  const int32_t s = static_cast<int32_t>(state.range(0));
  const Square square(s);
  for (auto _ : state) {
    for (int32_t r = 0; r < s; ++r) {
      std::memcpy(surface.pixels.data() + static_cast<size_t>(square.corners[0].y + r) * kWidth +
                      square.corners[0].x,
                  surface.texels.data() + static_cast<size_t>(r) * kTexture,
                  static_cast<size_t>(s));
    }
    benchmark::ClobberMemory();
  }
  Pixels(state, s);
}
BENCHMARK(BM_MemcpySpans)->Arg(8)->Arg(32)->Arg(128)->Arg(512);

}  // namespace
