// The rolling cylinder, the colliding solids and the bouncing balls at 1024 x 768 and
// 1920 x 1080 on a headless screen (native release build). For each routine and size:
// The window is a 32-bit buffer that every shown rectangle is copied into (bench/BlittingHost.h).
// Speed 50 and Res 1, the largest shapes.
//   - a whole run of 5 s of bouncing in virtual time (waits jump to their deadlines, so the
//     drawing runs back to back): milliseconds per drawn frame split into erase, move,
//     transform, draw and blit, and the frames per second that drawing alone allows;
//   - set-up time: real time from the call to the first drawn frame in that run, the waits
//     of the undrawn rehearsal included at no cost;
//   - time to the first drawn frame on a real-time clock whose tick count moves in steps of
//     15.6 ms (as a common system timer does), the undrawn rehearsal paced by it;
//   - the peak of heap bytes in use during the run above what was in use before it.
//   bouncing_bench [seconds of bouncing]
#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <thread>

#include "bench/BlittingHost.h"
#include "engine3d/Scene.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "routines/BlocksWorld.h"
#include "routines/BouncingBalls.h"
#include "routines/WipeOut.h"
#include "seams/Clock.h"

// Heap bytes in use and their peak, from every allocation of the program.
namespace {
std::atomic<long long> g_inUse{0};
std::atomic<long long> g_peak{0};

void* Counted(void* p) {
  if (p == nullptr) return p;
  const long long now = g_inUse += static_cast<long long>(malloc_usable_size(p));
  long long peak = g_peak;
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
  return p;
}
void Uncount(void* p) {
  if (p != nullptr) g_inUse -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}
}  // namespace

void* operator new(size_t n) {
  if (void* p = Counted(std::malloc(n ? n : 1))) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t n) { return operator new(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept {
  return Counted(std::malloc(n ? n : 1));
}
void* operator new[](size_t n, const std::nothrow_t&) noexcept {
  return Counted(std::malloc(n ? n : 1));
}
void operator delete(void* p) noexcept { Uncount(p); }
void operator delete[](void* p) noexcept { Uncount(p); }
void operator delete(void* p, size_t) noexcept { Uncount(p); }
void operator delete[](void* p, size_t) noexcept { Uncount(p); }

namespace {

using Steady = std::chrono::steady_clock;
using RoutineFn = int (*)(ScreenHost*, const RECT*, int, int, int, int, int, int, int, int, int,
                          int, CString*);

double Ms(Steady::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// A picture of 200 colours over the grey ramp at 10.
CDIB* Picture(int w, int h) {
  CColorPalette palette;
  palette.CreateGreyRamp(10);
  PALETTEENTRY colours[200];
  for (int i = 0; i < 200; ++i) {
    colours[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 5), 0};
  }
  palette.SetPaletteEntries(50, 200, colours);
  auto* dib = new CDIB;
  dib->Create(w, h, &palette);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      *dib->GetPixelAddress(x, y) = static_cast<BYTE>(50 + (x * 150 / w + y * 49 / h) % 200);
  return dib;
}

// Notes when the first rectangle is shown; with stopAtFirst it then asks the routine to stop.
class WatchedHost : public BlittingHost {
 public:
  WatchedHost(int w, int h, bool stopAtFirst)
      : BlittingHost(Picture(w, h), 10), stopAtFirst_(stopAtFirst) {}
  void ShowRect(const CRect* rect) override {
    if (!shown_) {
      shown_ = true;
      firstShown = Steady::now();
      if (stopAtFirst_) seams::RequestStop();
    }
    BlittingHost::ShowRect(rect);
  }
  Steady::time_point firstShown;

 private:
  bool stopAtFirst_;
  bool shown_ = false;
};

// Virtual time: every read moves 1 ms, every wait jumps to its deadline.
class JumpClock : public seams::Clock {
 public:
  uint32_t TickCount() override { return now_ += 1; }
  int64_t WallSeconds() override { return 820454400 + now_ / 1000; }
  void Idle() override { now_ += 1; }
  void IdleUntil(uint32_t deadline) override {
    if (static_cast<int32_t>(deadline - now_) > 0) now_ = deadline;
  }

 private:
  uint32_t now_ = 5000;
};

// Real time whose tick count moves in steps of 15.6 ms; waits sleep.
class CoarseClock : public seams::Clock {
 public:
  uint32_t TickCount() override {
    const double ms = Ms(Steady::now() - start_);
    return 5000 + static_cast<uint32_t>(static_cast<long long>(ms / 15.6) * 156 / 10);
  }
  int64_t WallSeconds() override { return 820454400 + TickCount() / 1000; }
  void Idle() override { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }
  void IdleUntil(uint32_t deadline) override {
    const int32_t left = static_cast<int32_t>(deadline - TickCount());
    if (left > 0) std::this_thread::sleep_for(std::chrono::milliseconds(left));
  }

 private:
  Steady::time_point start_ = Steady::now();
};

void Measure(const char* name, RoutineFn run, int w, int h, int seconds) {
  const RECT area = {0, 0, w, h};
  CString error;
  {
    WatchedHost host(w, h, false);
    JumpClock clock;
    seams::ScopedClock scoped(&clock);
    SceneFrameProfile profile;
    C3DScene::frameProfile = &profile;
    const long long heapBefore = g_inUse;
    g_peak = heapBefore;
    const auto start = Steady::now();
    const int result = run(&host, &area, 0, 0, 0, 50, 1, 0, 0, 0, seconds, 0, &error);
    const auto end = Steady::now();
    C3DScene::frameProfile = nullptr;
    const double n = profile.frames > 0 ? profile.frames : 1;
    const double perFrame =
        (profile.erase + profile.move + profile.transform + profile.draw + profile.blit) * 1000 / n;
    std::printf(
        "%-15s %4dx%-4d result %d  %5ld frames  ms/frame %.3f (erase %.3f move %.3f "
        "transform %.3f draw %.3f blit %.3f)  %5.0f fps  set-up %.1f ms  run %.2f s  "
        "peak heap %.2f MB\n",
        name, w, h, result, profile.frames, perFrame, profile.erase * 1000 / n,
        profile.move * 1000 / n, profile.transform * 1000 / n, profile.draw * 1000 / n,
        profile.blit * 1000 / n, 1000 / perFrame, Ms(host.firstShown - start),
        Ms(end - start) / 1000, (g_peak - heapBefore) / 1048576.0);
  }
  {
    WatchedHost host(w, h, true);
    CoarseClock clock;
    seams::ScopedClock scoped(&clock);
    seams::ClearStop();
    const auto start = Steady::now();
    run(&host, &area, 0, 0, 0, 50, 1, 0, 0, 0, seconds, 0, &error);
    seams::ClearStop();
    std::printf("%-15s %4dx%-4d first drawn frame after %.0f ms on a 15.6 ms tick\n", name, w, h,
                Ms(host.firstShown - start));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
  const struct {
    const char* name;
    RoutineFn run;
  } routines[] = {
      {"Wipe Out", RunWipeOut},
      {"Blocks' World", RunBlocksWorld},
      {"Bouncing Balls", RunBouncingBalls},
  };
  const int sizes[][2] = {{1024, 768}, {1920, 1080}};
  for (const auto& size : sizes)
    for (const auto& r : routines) Measure(r.name, r.run, size[0], size[1], seconds);
  return 0;
}
