// The tile peel's cost per frame at Peel Rate 1 and Speed 1 (the busiest schedule), on the real
// clock: 768 tiles over a whole 1024 x 768 screen at Size 100, and 1,296 tiles over a 720 x 720
// rectangle. It reports the run's length against its launch schedule, frames, milliseconds per
// frame and blits (rectangles shown) per frame, for both directions. Natively the screen is a
// headless host; on Windows (run under Wine with Xvfb) it is the screen document and view of a
// real window, so the blits reach the display.
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

// The system clock, counting reads: the runners read it once per frame, and a few times per tile.
class CountingClock : public seams::Clock {
 public:
  explicit CountingClock(seams::Clock& inner) : inner_(inner) {}
  uint32_t TickCount() override {
    ++reads;
    return inner_.TickCount();
  }
  int64_t WallSeconds() override { return inner_.WallSeconds(); }
  void Idle() override { inner_.Idle(); }
  long reads = 0;

 private:
  seams::Clock& inner_;
};

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
    // Reads that are not frames: about three a launch.
    const long frames = clock.reads - 3 * tiles;
    const double p = peelRate * 0.01;
    std::printf(
        "%-22s %-3s ok=%d tiles=%ld length=%.2fs schedule~%.2fs frames~%ld ms/frame=%.3f "
        "blits/frame=%.2f\n",
        name, off ? "off" : "on", ok, tiles, ms / 1000.0, tiles * p / 2.0, frames,
        frames > 0 ? ms / frames : 0.0,
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
