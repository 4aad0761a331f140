// The tile peel's cost per frame at Peel Rate 1 and Speed 1 (the busiest schedule), on the real
// clock, diagonal peel from the bottom left: 768 tiles over a whole 1024 x 768 screen at Size 100,
// and 1,296 tiles over a 720 x 720 rectangle. It reports the run's length against its launch
// schedule, frames (one per tick of the clock), the share of the time spent drawing rather than
// waiting for the next tick, milliseconds of drawing per frame and blits (rectangles shown) per
// frame, for both directions. Natively the screen is a headless host; on Windows (run under Wine
// with Xvfb) it is the screen document and view of a real window, so the blits reach the display.
//   tilepeel_bench [peel rate]
#ifdef _WIN32
#include <windows.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/ScreenHost.h"
#include "seams/Clock.h"
#include "transitions/TilePeel.h"
#ifdef _WIN32
#include "framework/Wnd.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#else
#include "imaging/HeadlessScreenHost.h"
#endif

namespace {

constexpr int kWidth = 1024, kHeight = 768;

CDIB* Picture(int base) {
  auto* dib = new CDIB;
  if (!dib->Create(kWidth, kHeight, nullptr)) return dib;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      *dib->GetPixelAddress(x, y) = static_cast<BYTE>(base + (x / 8 + y / 8) % 20);
  return dib;
}

// Counts what reaches the screen, passing everything on.
class CountingHost : public ScreenHost {
 public:
  explicit CountingHost(ScreenHost& inner) : inner_(inner) {}
  CDIBSurface* GetSurface() override { return inner_.GetSurface(); }
  CDIB* GetBackground() override { return inner_.GetBackground(); }
  CSpriteList* GetSprites() override { return inner_.GetSprites(); }
  int GetReservedEntries() const override { return inner_.GetReservedEntries(); }
  void RenderRect(const CRect* rect) override { inner_.RenderRect(rect); }
  void ShowRect(const CRect* rect) override {
    ++shown;
    inner_.ShowRect(rect);
  }
  void FlushDirtyRects() override { inner_.FlushDirtyRects(); }
  long shown = 0;

 private:
  ScreenHost& inner_;
};

// The system clock, counting the tick changes it hands out (the scene draws one frame per tick,
// waiting in Idle for the next) and the time spent idle.
class CountingClock : public seams::Clock {
 public:
  explicit CountingClock(seams::Clock& inner) : inner_(inner) {}
  uint32_t TickCount() override {
    const uint32_t now = inner_.TickCount();
    if (now != last_) ++changes;
    last_ = now;
    return now;
  }
  int64_t WallSeconds() override { return inner_.WallSeconds(); }
  void Idle() override {
    const auto start = std::chrono::steady_clock::now();
    inner_.Idle();
    idleMs +=
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  long changes = 0;
  double idleMs = 0;

 private:
  seams::Clock& inner_;
  uint32_t last_ = 0;
};

// Seconds of launch waits the effect's schedule gives (the flights of the last tiles come on top).
double LaunchSchedule(long tiles, int peelRate, const RECT& r) {
  const int s = r.right - r.left == 1024 ? 32 : 20;
  const double span = GetTransition3DSpan(4, (r.right - r.left) / s, (r.bottom - r.top) / s);
  double total = 0;
  for (long i = 0; i < tiles; ++i) {
    total +=
        Transition3DLaunchWait(static_cast<int>(i), static_cast<int>(tiles), peelRate * 0.01, span);
  }
  return total;
}

void Measure(ScreenHost& screen, const char* name, RECT rect, int peelRate) {
  for (int off : {1, 0}) {
    CountingHost host(screen);
    std::unique_ptr<CDIB> bitmap(Picture(off ? 40 : 60));
    CountingClock clock(seams::CurrentClock());
    seams::ScopedClock installed(&clock);
    RECT r = rect;
    CString error;
    const auto start = std::chrono::steady_clock::now();
    const BOOL ok =
        Transition3DFX(4, off, &host, bitmap.get(), &r, 0, 0, 1, 100, peelRate, 50, 0, &error);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const int s = r.right - r.left == 1024 ? 32 : 20;
    const long tiles = static_cast<long>(r.right - r.left) / s * ((r.bottom - r.top) / s);
    const long frames = clock.changes;
    const double busy = ms - clock.idleMs;
    std::printf(
        "%-18s %-3s ok=%d tiles=%ld length=%.2fs launches=%.2fs frames=%ld busy=%.0f%% "
        "ms/frame=%.3f blits/frame=%.2f\n",
        name, off ? "off" : "on", ok, tiles, ms / 1000.0, LaunchSchedule(tiles, peelRate, r),
        frames, 100.0 * busy / ms, frames > 0 ? busy / frames : 0.0,
        frames > 0 ? static_cast<double>(host.shown) / frames : 0.0);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int peelRate = argc > 1 ? std::atoi(argv[1]) : 1;
#ifdef _WIN32
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TilePeelBench";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "TilePeelBench", "", WS_POPUP | WS_VISIBLE, 0, 0, kWidth,
                                kHeight, nullptr, nullptr, wc.hInstance, nullptr);
  CAnimView view;
  CAnimDoc doc;
  view.Attach(window);
  doc.AddView(&view);
  doc.OnNewDocument();
  doc.SetBackground(Picture(0));
  ScreenHost& screen = doc;
#else
  HeadlessScreenHost headless;
  headless.SetBackground(Picture(0));
  ScreenHost& screen = headless;
#endif
  Measure(screen, "1024x768 Res 100", RECT{0, 0, kWidth, kHeight}, peelRate);
  Measure(screen, "720x720 Res 100", RECT{152, 24, 872, 744}, peelRate);
#ifdef _WIN32
  doc.RemoveView(&view);
  view.Detach();
  DestroyWindow(window);
#endif
  return 0;
}
