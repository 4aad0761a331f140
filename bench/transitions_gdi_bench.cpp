// The drawing cost of whole 2D transition effects at 1920 x 1080 through the GDI blit layer, the
// path the saver draws on: DIB sections in memory device contexts as both sources and destination.
// It runs under Wine, where Google Benchmark is not built, so it times with the performance counter
// and reports the median of a few runs. The effects run unpaced, so the time measured is
// drawing only; "share_%" is that time as a part of the budget the effect would be paced to on
// screen, PacedDuration at the slider given (target: at most 10%).
//   transitions_gdi_bench [repetitions]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/TransitionSamples.h"
#include "tests/wine/support/DibDC.h"
#include "transitions/GdiBlit.h"
#include "transitions/Pacing.h"
#include "transitions/TransFXDispatch.h"
#include "transitions/TransParams.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

// A DIB-section context (24-bit, or 8-bit on a grey palette) filled with a pattern seeded per
// surface, so that the copies move real, distinct pictures.
class DibDC : public wintest::DibDC {
 public:
  DibDC(int w, int h, int bits, int seed) : wintest::DibDC(w, h, bits) {
    if (!Ready()) return;
    const PixelPlane p = Plane();
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.pitch; ++x)
        p.top[y * p.pitch + x] = static_cast<BYTE>(x * 7 + y * 3 + seed);
  }
};

// The GDI layer as the saver uses it (each step still flushes GDI's batch), counting the steps.
class StepCounter : public GdiBlitLayer {
 public:
  using GdiBlitLayer::GdiBlitLayer;
  void EndStep() override {
    GdiBlitLayer::EndStep();
    ++steps;
  }
  long steps = 0;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  const RECT screen{0, 0, kWidth, kHeight};

  std::printf("# %dx%d through the GDI blit layer, median of %d runs\n", kWidth, kHeight,
              repetitions);
  std::printf("%-6s %-6s %-5s %10s %6s %5s %10s %8s\n", "effect", "slider", "depth", "draw_ms",
              "steps", "par0", "budget_ms", "share_%");
  int failures = 0;
  for (int bits : {8, 24}) {
    DibDC destination(kWidth, kHeight, bits, 0), a(kWidth, kHeight, bits, 85),
        b(kWidth, kHeight, bits, 170);
    if (!destination.Ready() || !a.Ready() || !b.Ready()) {
      std::fprintf(stderr, "cannot make the %d-bit surfaces\n", bits);
      return 1;
    }
    for (const bench::TransitionSample& s : bench::kTransitionSamples) {
      int par0 = 0, par1 = 0, par2 = 0;
      TransSlidersToParams(s.transClass, s.slider, s.slider, s.slider, par0, par1, par2);
      std::vector<double> times;
      long steps = 0;
      bool ok = true;
      for (int r = 0; r < repetitions; ++r) {
        StepCounter layer(destination.dc(), a.Surface(), b.Surface());
        LARGE_INTEGER start, stop;
        QueryPerformanceCounter(&start);
        ok = TransFXDispatch(layer, 0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, 0, 0, s.effect,
                             kUnpaced, par1, par2, FALSE, &screen) != FALSE &&
             ok;
        GdiFlush();
        QueryPerformanceCounter(&stop);
        times.push_back(1000.0 * static_cast<double>(stop.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
        steps = layer.steps;
      }
      if (!ok) ++failures;
      const double drawMs = Median(times);
      const double budgetMs = PacedDuration(par0, static_cast<int>(steps));
      std::printf("%-6d %-6d %-5d %10.2f %6ld %5d %10.0f %8.2f%s\n", s.effect, s.slider, bits,
                  drawMs, steps, par0, budgetMs, budgetMs > 0 ? 100.0 * drawMs / budgetMs : 0.0,
                  ok ? "" : "  (effect failed)");
      std::fflush(stdout);
    }
  }
  return failures ? 1 : 0;
}
