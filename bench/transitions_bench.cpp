// The drawing cost of whole 2D transition effects at 1920 x 1080 through the plain-buffer layer,
// against each effect's own pacing budget (PacedDuration at the sliders given). The effects run
// unpaced, so the time measured is drawing only; "share_%" is that time as a part of the
// budget the effect would be paced to on screen (target: at most 10%).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "bench/TransitionSamples.h"
#include "imaging/DIB.h"
#include "transitions/Pacing.h"
#include "transitions/PlainBlit.h"
#include "transitions/TransFXDispatch.h"
#include "transitions/TransParams.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

class StepCounter : public PlainBlitLayer {
 public:
  using PlainBlitLayer::PlainBlitLayer;
  void EndStep() override { ++steps; }
  long steps = 0;
};

using Sample = bench::TransitionSample;

void RunEffect(benchmark::State& state, Sample sample, bool deep) {
  CDIB destination, a, b;
  const bool made = deep ? destination.Create24(kWidth, kHeight) && a.Create24(kWidth, kHeight) &&
                               b.Create24(kWidth, kHeight)
                         : destination.Create(kWidth, kHeight, nullptr) &&
                               a.Create(kWidth, kHeight, nullptr) &&
                               b.Create(kWidth, kHeight, nullptr);
  if (!made) {
    state.SkipWithError("cannot allocate the surfaces");
    return;
  }
  int par0, par1, par2;
  TransSlidersToParams(sample.transClass, sample.slider, sample.slider, sample.slider, par0, par1,
                       par2);
  const RECT screen{0, 0, kWidth, kHeight};
  long steps = 0;
  double seconds = 0;
  for (auto _ : state) {
    StepCounter layer(PlaneOf(destination), PlaneOf(a), PlaneOf(b));
    const auto start = std::chrono::steady_clock::now();
    TransFXDispatch(layer, 0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, 0, 0, sample.effect,
                    kUnpaced, par1, par2, FALSE, &screen);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    steps = layer.steps;
    benchmark::ClobberMemory();
  }
  const double budgetMs = PacedDuration(par0, static_cast<int>(steps));
  const double drawMs = seconds * 1000.0 / static_cast<double>(state.iterations());
  state.counters["steps"] = static_cast<double>(steps);
  state.counters["par0"] = par0;
  state.counters["budget_ms"] = budgetMs;
  state.counters["draw_ms"] = drawMs;
  state.counters["share_%"] = budgetMs > 0 ? 100.0 * drawMs / budgetMs : 0.0;
}

const bool kRegistered = [] {
  for (const Sample& s : bench::kTransitionSamples) {
    for (bool deep : {false, true}) {
      const std::string name = "Effect/" + std::to_string(s.effect) + "/slider" +
                               std::to_string(s.slider) + (deep ? "/24bit" : "/8bit");
      benchmark::RegisterBenchmark(name.c_str(), [s, deep](benchmark::State& st) {
        RunEffect(st, s, deep);
      })->Unit(benchmark::kMillisecond);
    }
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
