// The flying tiles and the puzzle cube at 1024 x 768 and 1920 x 1080 on a headless screen whose
// blit copies each shown rectangle through the palette into a 32-bit window buffer.
//
// Per frame, split into erase, move, transform, draw and blit: the routines' own frames rebuilt
// from their parts (16 textured squares of the routine's cell size tumbling from one cell to
// another at the calibrated depth; the cube with its 200 x 200 textures at the routine's size and
// depth, turning), 600 frames each.
// Per run (the routine itself, Res and Speed 50, 12 s of virtual time): set-up (processor time
// until the first drawn frame has been shown, on a clock that jumps to every deadline), the time
// to the first drawn frame on a real clock that ticks every 15.6 ms, the work per frame over the
// whole run, and the peak of the heap during the run.
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <thread>
#include <vector>

#include "bench/BlittingHost.h"
#include "engine3d/Scene.h"
#include "engine3d/ShapesBox.h"
#include "engine3d/ShapesFlat.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/HeadlessScreenHost.h"
#include "imaging/TileSize.h"
#include "routines/FlyingTiles.h"
#include "routines/PuzzleCube.h"
#include "seams/Clock.h"
#include "seams/Random.h"

// The heap in use and its peak, counted through the global allocation functions.
namespace {
std::atomic<int64_t> g_heapNow{0};
std::atomic<int64_t> g_heapPeak{0};
}  // namespace

void* operator new(size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  const int64_t now = g_heapNow += static_cast<int64_t>(malloc_usable_size(p));
  int64_t peak = g_heapPeak.load();
  while (now > peak && !g_heapPeak.compare_exchange_weak(peak, now)) {
  }
  return p;
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p) noexcept {
  if (!p) return;
  g_heapNow -= static_cast<int64_t>(malloc_usable_size(p));
  std::free(p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }

namespace {

using Steady = std::chrono::steady_clock;

double MsSince(Steady::time_point start) {
  return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

template <typename F>
double TimedMs(F&& f) {
  const auto start = Steady::now();
  f();
  return MsSince(start);
}

// The frame of a scene in its parts, summed over the frames run.
struct FrameParts {
  double erase = 0, move = 0, transform = 0, draw = 0, blit = 0;
  int frames = 0;

  void Run(C3DScene& scene) {
    scene.Tick();
    erase += TimedMs([&] {
      scene.EraseObjects();
      scene.RedrawClockOverlap();
    });
    move += TimedMs([&] { scene.MoveObjects(); });
    transform += TimedMs([&] {
      for (C3DObject* o = scene.head.next; o != &scene.tail; o = o->next) {
        o->Transform();
        o->dirty = 0;
      }
    });
    draw += TimedMs([&] { scene.DrawObjects(); });
    blit += TimedMs([&] { scene.BlitObjects(); });
    ++frames;
  }
  void Print(const char* what, int w, int h) const {
    const double n = frames;
    const double total = (erase + move + transform + draw + blit) / n;
    std::printf(
        "%-13s %4dx%-4d  erase %.3f  move %.3f  transform %.3f  draw %.3f  blit %.3f  "
        "= %.3f ms/frame, %.0f fps\n",
        what, w, h, erase / n, move / n, transform / n, draw / n, blit / n, total, 1000.0 / total);
  }
};

constexpr int kFrames = 600;
const int32_t kReference[3] = {900, 0, 450};

// 16 squares of the routine's cell size, each a quarter of a cell, tumbling under gravity from a
// random cell to another over 0.5 to 3.5 s, launched again when all have landed.
void FlyingTilesFrames(int w, int h) {
  seams::TestClock clock(1000, 16, 0);
  seams::ScopedClock scoped(&clock);
  BlittingHost host(w, h, [](int x, int y) { return 100 + (x / 7 + y / 5 + x * y) % 100; });
  RECT area = {0, 0, w, h};
  int size = 0;
  ChooseTileSizeInRect(&area, 50, 0, 1, &size);
  CString error;
  RunFlyingTiles(&host, nullptr, &area, 0, 0, 0, 50, 50, 0, 0, 0, 1, 0, &error);  // calibrates
  C3DScene scene(&host);
  const int sub = size / 4;
  std::vector<uint8_t> cell(static_cast<size_t>(size) * size);
  for (size_t i = 0; i < cell.size(); ++i) cell[i] = static_cast<uint8_t>(100 + i % 97);
  std::vector<std::unique_ptr<C3DSquare>> tiles;
  for (int k = 0; k < 16; ++k) {
    tiles.emplace_back(new C3DSquare);
    scene.InsertObject(tiles.back().get());
  }
  const FixedVector reference = {0, 0, TileReferenceDepth};
  tiles[0]->SetMotion(reference, kReference, reference, kReference, 1.0, 0);
  FixedVector eX, eY;
  tiles[0]->GetFaceEdges(0, eX, eY);
  auto place = [&](double u, double v) {
    const Fixed fu = static_cast<Fixed>(u * 65536), fv = static_cast<Fixed>(v * 65536);
    return FixedVector{FixedMul(fu, eX.x) + FixedMul(fv, eY.x),
                       FixedMul(fu, eX.y) + FixedMul(fv, eY.y),
                       FixedMul(fu, eX.z) + FixedMul(fv, eY.z) + TileReferenceDepth};
  };
  auto launch = [&] {
    const int columns = w / size, rows = h / size;
    const int ax = seams::Rand() % columns * size, ay = seams::Rand() % rows * size;
    const int bx = seams::Rand() % columns * size, by = seams::Rand() % rows * size;
    for (int k = 0; k < 16; ++k) {
      const int xo = k / 4 * sub, yo = k % 4 * sub;
      auto units = [&](int at, int half, int o) { return (at - half + o + sub / 2.0) / sub; };
      const int32_t end[3] = {900 + seams::Rand() % 5 * 3600, seams::Rand() % 5 * 3600,
                              450 + seams::Rand() % 5 * 3600};
      tiles[k]->SetMotion(place(units(ax, w / 2, xo), units(ay, h / 2, yo)), kReference,
                          place(units(bx, w / 2, xo), units(by, h / 2, yo)), end,
                          0.5 + seams::Rand() % 60 * 0.05, 1);
      const RasterPoint corners[4] = {
          {xo + sub, yo}, {xo + sub, yo + sub}, {xo, yo + sub}, {xo, yo}};
      tiles[k]->SetFaceTexture(0, size, cell.data(), size, size, RasterPolygon{4, corners});
    }
  };
  launch();
  FrameParts parts;
  for (int i = 0; i < kFrames; ++i) {
    parts.Run(scene);
    if (std::none_of(tiles.begin(), tiles.end(), [](const auto& t) { return t->moving; })) launch();
  }
  for (auto& t : tiles) scene.RemoveObject(t.get());
  parts.Print("flying tiles", w, h);
}

// The cube at the routine's size and depth with its six 200 x 200 textures, turning about all
// three axes (a move turns a third of it the same way).
void PuzzleCubeFrames(int w, int h) {
  seams::TestClock clock(1000, 16, 0);
  seams::ScopedClock scoped(&clock);
  BlittingHost host(w, h, [](int x, int y) { return 100 + (x / 7 + y / 5 + x * y) % 100; });
  C3DScene scene(&host);
  C3DCube cube;
  scene.InsertObject(&cube);
  const double S = PuzzleCubeEdge(w, h, 50);
  RasterPoint corners[4];
  cube.ProjectFace(4, corners, 4);
  const int z1 = static_cast<int>((corners[2].x - corners[1].x) * 300 / S);
  CDIB texture;
  texture.Create(200, 200, nullptr);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x)
      *texture.GetPixelAddress(x, y) = static_cast<BYTE>(100 + (x + 2 * y) % 99);
  for (int face = 0; face < 6; ++face) cube.MapTexture(face, &texture);
  const FixedVector at = {0, 0, z1 * 65536};
  const int32_t from[3] = {0, 0, 0}, to[3] = {3600, 1800, 900};
  FrameParts parts;
  for (int i = 0; i < kFrames; ++i) {
    if (!cube.moving) cube.SetMotion(at, from, at, to, 3.0, 0);
    parts.Run(scene);
  }
  scene.RemoveObject(&cube);
  parts.Print("puzzle cube", w, h);
}

// Real time in ticks of 15.6 ms, as a tick counter that steps by the system timer; the waits
// sleep. Notes when the first frame wait comes after something was shown.
class TickingClock : public seams::Clock {
 public:
  explicit TickingClock(const int64_t* shown) : shown_(shown), start_(Steady::now()) {}
  uint32_t TickCount() override {
    return 1000 + static_cast<uint32_t>(static_cast<int64_t>(MsSince(start_) / 15.6) * 156 / 10);
  }
  int64_t WallSeconds() override {
    return 820454400 + static_cast<int64_t>(MsSince(start_) / 1000);
  }
  void Idle() override { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }
  void IdleUntil(uint32_t deadline) override {
    Note();
    while (seams::TickBefore(TickCount(), deadline)) Idle();
  }
  void Note() {
    if (*shown_ > 0 && firstFrameMs < 0) firstFrameMs = MsSince(start_);
  }
  double firstFrameMs = -1;

 private:
  const int64_t* shown_;
  Steady::time_point start_;
};

// The virtual clock that jumps to each deadline, noting the processor time until the first
// frame wait after something was shown, and counting the frames.
class JumpingClock : public seams::Clock {
 public:
  explicit JumpingClock(const int64_t* shown) : shown_(shown), start_(Steady::now()) {}
  uint32_t TickCount() override { return now_ += 1; }
  int64_t WallSeconds() override { return 820454400 + now_ / 1000; }
  void Idle() override { now_ += 1; }
  void IdleUntil(uint32_t deadline) override {
    if (*shown_ > 0 && firstFrameMs < 0) {
      firstFrameMs = MsSince(start_);
      framesBefore = frames;
    }
    ++frames;
    if (static_cast<int32_t>(deadline - now_) > 0) now_ = deadline;
  }
  double firstFrameMs = -1;
  long frames = 0;
  long framesBefore = 0;  // frame waits before the first drawn frame

 private:
  const int64_t* shown_;
  Steady::time_point start_;
  uint32_t now_ = 1000;
};

// Set-up, the first drawn frame on the ticking clock, work per frame and the heap's peak.
template <typename Run>
void RoutineRun(const char* what, int w, int h, Run run) {
  double setup = 0, firstFrame = 0, perFrame = 0;
  long frames = 0, undrawn = 0;
  int64_t peak = 0;
  {
    BlittingHost host(w, h, [](int x, int y) { return 100 + (x / 7 + y / 5 + x * y) % 100; });
    JumpingClock clock(&host.shownPixels);
    seams::ScopedClock scoped(&clock);
    const int64_t before = g_heapNow.load();
    g_heapPeak = before;
    const auto start = Steady::now();
    run(&host, 12);
    const double total = MsSince(start);
    peak = g_heapPeak.load() - before;
    setup = clock.firstFrameMs;
    frames = clock.frames;
    undrawn = clock.framesBefore;
    perFrame = total / std::max(1L, frames);
  }
  {
    BlittingHost host(w, h, [](int x, int y) { return 100 + (x / 7 + y / 5 + x * y) % 100; });
    TickingClock clock(&host.shownPixels);
    seams::ScopedClock scoped(&clock);
    std::thread stopper([&clock] {
      while (clock.firstFrameMs < 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      seams::RequestStop();
    });
    run(&host, 0);
    stopper.join();
    seams::ClearStop();
    firstFrame = clock.firstFrameMs;
  }
  std::printf(
      "%-13s %4dx%-4d  set-up %.1f ms, first drawn frame %.1f ms (15.6 ms ticks, %ld frame waits "
      "before), %ld frames at %.3f ms of work each, heap peak %.0f KB\n",
      what, w, h, setup, firstFrame, undrawn, frames, perFrame, peak / 1024.0);
}

}  // namespace

int main() {
  const int sizes[2][2] = {{1024, 768}, {1920, 1080}};
  for (const auto& s : sizes) {
    FlyingTilesFrames(s[0], s[1]);
    PuzzleCubeFrames(s[0], s[1]);
  }
  for (const auto& s : sizes) {
    RoutineRun("flying tiles", s[0], s[1], [&](HeadlessScreenHost* host, int seconds) {
      const RECT area = {0, 0, s[0], s[1]};
      CString error;
      RunFlyingTiles(host, nullptr, &area, 0, 0, 0, 50, 50, 0, 0, 0, seconds, 0, &error);
    });
    RoutineRun("puzzle cube", s[0], s[1], [&](HeadlessScreenHost* host, int seconds) {
      const RECT area = {0, 0, s[0], s[1]};
      CString error;
      RunPuzzleCube(host, &area, 0, 0, 0, 50, 50, 0, 0, 0, seconds, 0, &error);
    });
  }
  return 0;
}
