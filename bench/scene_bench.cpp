// Time per frame of the 3D scene at 1024 x 768 and 1920 x 1080: 24 cubes with a texture on every
// face flying and turning across the screen, split into the frame's parts: erase (the last boxes
// restored from the background), move, transform, draw and blit. The blit copies each shown
// rectangle through the palette into a 32-bit window buffer, as a display blit of the 8-bit
// surface does. Frame times come from a test clock stepping 16 ms per frame.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "bench/BlittingHost.h"
#include "engine3d/PolyObject.h"
#include "engine3d/Scene.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/HeadlessScreenHost.h"
#include "seams/Clock.h"

namespace {

constexpr Fixed kUnit = 65536;
constexpr int kCubes = 24;
constexpr int kTexture = 64;

// A cube with a texture on each face: 8 drawable corners, then one normal tip per face.
class TexturedCube {
 public:
  TexturedCube(Fixed half, const uint8_t* texels) {
    for (int i = 0; i < 8; ++i)
      vertices_[i] =
          FixedVector{(i & 1) ? half : -half, (i & 2) ? half : -half, (i & 4) ? half : -half};
    object.SetGeometry(vertices_, 14, 8, 6);
    const RasterPoint uv[4] = {
        {0, 0}, {kTexture - 1, 0}, {kTexture - 1, kTexture - 1}, {0, kTexture - 1}};
    for (int face = 0; face < 6; ++face) {
      BuildFace(face, face / 2, face % 2 ? 1 : -1);
      object.SetFace(face, indices_[face], 4, 0, 0);
      object.SetFaceTexture(face, kTexture, const_cast<uint8_t*>(texels), kTexture, kTexture,
                            RasterPolygon{4, uv});
    }
  }
  C3DPObject object;

 private:
  // Corners of the face on `axis` at side `sign`, ordered so that the face is drawn when it turns
  // toward the viewer; its normal tip one unit out from the first corner.
  void BuildFace(int face, int axis, int sign) {
    const int u = (axis + 1) % 3, v = (axis + 2) % 3;
    const int base = sign > 0 ? 1 << axis : 0;
    int corners[4] = {base, base | 1 << u, base | 1 << u | 1 << v, base | 1 << v};
    // (u, v, axis) is right-handed: u then v turns counter-clockwise seen from +axis.
    if (sign > 0) std::swap(corners[1], corners[3]);
    FixedVector tip = vertices_[corners[0]];
    (&tip.x)[axis] += sign * kUnit;
    vertices_[8 + face] = tip;
    indices_[face][0] = 8 + face;
    for (int k = 0; k < 4; ++k) indices_[face][k + 1] = corners[k];
  }
  FixedVector vertices_[14];
  int32_t indices_[6][5];
};

// A flight between two points, turning from no turn to `turn`.
struct Flight {
  FixedVector from, to;
  int32_t turn[3];
  double seconds;
  void Start(C3DPObject& object) const {
    const int32_t none[3] = {0, 0, 0};
    object.SetMotion(from, none, to, turn, seconds, 0);
  }
};

// Pixels of the surface that differ from the background.
int64_t CoveredPixels(HeadlessScreenHost& host) {
  CDIB* surface = host.GetSurface();
  CDIB* background = host.GetBackground();
  int64_t n = 0;
  for (int y = 0; y < surface->GetHeight(); ++y) {
    const BYTE* a = surface->GetPixelAddress(0, y);
    const BYTE* b = background->GetPixelAddress(0, y);
    for (int x = 0; x < surface->GetWidth(); ++x) n += a[x] != b[x];
  }
  return n;
}

// Seconds spent in f.
template <typename F>
double Timed(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_SceneFrame(benchmark::State& state) {
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  seams::TestClock clock(1000, 16, 0);
  seams::ScopedClock scoped(&clock);
  BlittingHost host(w, h, [](int x, int y) { return 100 + (x + y) % 64; });
  C3DScene scene(&host);
  std::vector<uint8_t> texels(kTexture * kTexture);
  for (size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<uint8_t>(20 + i % 200);

  // At depth -w a pixel of the world is a pixel of the screen; the cubes' faces are w / 10 wide
  // and they fly to and fro across the screen from six columns and four rows, each turning its
  // own way.
  std::vector<std::unique_ptr<TexturedCube>> cubes;
  std::vector<Flight> flights;
  const Fixed half = w / 20 * kUnit;
  for (int i = 0; i < kCubes; ++i) {
    cubes.push_back(std::make_unique<TexturedCube>(half, texels.data()));
    const int col = i % 6, row = i / 6;
    Flight f;
    f.from = FixedVector{(col * w / 6 - w / 2 + w / 12) * kUnit,
                         (row * h / 4 - h / 2 + h / 8) * kUnit, -w * kUnit};
    f.to = FixedVector{-f.from.x, -f.from.y, (-w - w / 4) * kUnit};
    f.turn[0] = 3600 * (1 + i % 3);
    f.turn[1] = 3600 * (1 + i % 2);
    f.turn[2] = 1800;
    f.seconds = 4.0 + 0.1 * i;
    flights.push_back(f);
    f.Start(cubes.back()->object);
    scene.InsertObject(&cubes.back()->object);
  }
  // One frame to see how much of the screen the cubes cover.
  scene.Tick();
  scene.MoveObjects();
  scene.DrawObjects();
  scene.BlitObjects();
  const int64_t covered = CoveredPixels(host);
  host.shownPixels = 0;

  double erase = 0, move = 0, transform = 0, draw = 0, blit = 0;
  for (auto _ : state) {
    scene.Tick();
    erase += Timed([&] {
      scene.EraseObjects();
      scene.RedrawClockOverlap();
    });
    move += Timed([&] { scene.MoveObjects(); });
    transform += Timed([&] {
      for (C3DObject* o = scene.head.next; o != &scene.tail; o = o->next) {
        o->Transform();
        o->dirty = 0;
      }
    });
    draw += Timed([&] { scene.DrawObjects(); });  // nothing left to transform: only the drawing
    blit += Timed([&] { scene.BlitObjects(); });
    for (int i = 0; i < kCubes; ++i) {
      if (cubes[i]->object.moving) continue;
      std::swap(flights[i].from, flights[i].to);  // and back again
      flights[i].Start(cubes[i]->object);
    }
  }
  const double frames = static_cast<double>(state.iterations());
  auto perFrameMs = [&](double seconds) { return benchmark::Counter(seconds * 1000.0 / frames); };
  state.counters["erase_ms"] = perFrameMs(erase);
  state.counters["move_ms"] = perFrameMs(move);
  state.counters["transform_ms"] = perFrameMs(transform);
  state.counters["draw_ms"] = perFrameMs(draw);
  state.counters["blit_ms"] = perFrameMs(blit);
  state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
  state.counters["shown_px"] = benchmark::Counter(static_cast<double>(host.shownPixels) / frames);
  state.counters["covered_px"] = benchmark::Counter(static_cast<double>(covered));
  for (auto& cube : cubes) scene.RemoveObject(&cube->object);
}
BENCHMARK(BM_SceneFrame)->Args({1024, 768})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

}  // namespace
