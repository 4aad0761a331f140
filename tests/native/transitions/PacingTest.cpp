// Pacing of the effects: one step per par0 milliseconds from a frame up, sub-frame periods spread
// over a planned duration, on deadlines fixed in advance, waiting through the clock seam.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "seams/Clock.h"
#include "tests/native/transitions/FxRecorder.h"
#include "transitions/Pacing.h"
#include "transitions/TransFXDispatch.h"

namespace {

using fxtest::RecordingLayer;

// A clock whose time moves only while waits idle: every idle turn is one millisecond waited.
struct IdleClock {
  explicit IdleClock(uint32_t start) : clock(start, 0, 1), scope(&clock) {}
  seams::TestClock clock;
  seams::ScopedClock scope;
};

// A layer that can stall the drawing thread at one step and notes the idle turns at every step.
class StallingLayer : public RecordingLayer {
 public:
  StallingLayer(seams::TestClock& clock, int stallStep, uint32_t stall)
      : clock_(clock), stallStep_(stallStep), stall_(stall) {}
  void EndStep() override {
    if (steps == stallStep_) clock_.Advance(stall_);
    idleAtStep.push_back(clock_.IdleCalls());
    RecordingLayer::EndStep();
  }
  std::vector<uint64_t> idleAtStep;

 private:
  seams::TestClock& clock_;
  int stallStep_;
  uint32_t stall_;
};

BOOL RunEffect(BlitLayer& layer, int effect, int par0, int par1, int par2, int width = 200) {
  const RECT screen{0, 0, width, 100};
  return TransFXDispatch(layer, 0, 0, width, 100, 0, 0, width, 100, 0, 0, effect, par0, par1, par2,
                         FALSE, &screen);
}

TEST(Pacing, AnEffectTakesItsStepsTimesItsPeriod) {
  const int effects[][3] = {{110, 17, 10}, {0, 30, 10},   {6, 20, 20}, {130, 25, 10},
                            {140, 16, 20}, {145, 18, 20}, {11, 40, 10}};
  for (const auto& e : effects) {
    SCOPED_TRACE("effect " + std::to_string(e[0]));
    IdleClock time(5000);
    RecordingLayer layer;
    ASSERT_EQ(RunEffect(layer, e[0], e[1], e[2], 10), TRUE);
    ASSERT_GT(layer.steps, 1);
    EXPECT_EQ(time.clock.Peek() - 5000u, static_cast<uint32_t>(layer.steps * e[1]));
    EXPECT_EQ(time.clock.IdleCalls(), static_cast<uint64_t>(layer.steps * e[1]));
  }
}

// Sub-frame periods: steps x 16 ms held to 0.5 .. 3 s, or steps x period when longer, at most
// 5 s; the steps evenly spread. A sweep with strips of par1 pixels has width / par1 steps.
TEST(Pacing, SubFramePeriodsSpreadTheStepsOverThePlannedDuration) {
  struct Case {
    int par0, par1, width;
    int steps;
    uint32_t total;
  } cases[] = {
      {0, 10, 200, 20, 500},     // 20 frames would be a third of a second: held to half a second
      {15, 10, 200, 20, 500},    // 300 ms asked: the same
      {0, 2, 200, 100, 1600},    // one frame a step
      {0, 1, 200, 200, 3000},    // 3.2 s of frames: several steps a frame
      {15, 1, 200, 200, 3000},   // 3 s asked
      {10, 1, 400, 400, 4000},   // 4 s asked: kept
      {15, 1, 400, 400, 5000},   // 6 s asked: held to 5 s
      {0, 1, 3000, 3000, 3000},  // thousands of steps: still 3 s
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("par0 " + std::to_string(c.par0) + " steps " + std::to_string(c.steps));
    IdleClock time(5000);
    StallingLayer layer(time.clock, -1, 0);
    ASSERT_EQ(RunEffect(layer, 110, c.par0, c.par1, 0, c.width), TRUE);
    ASSERT_EQ(layer.steps, c.steps);
    EXPECT_EQ(time.clock.Peek() - 5000u, c.total);
    // Step k ends total x k / steps after the start: evenly spread, never bunched at one end.
    for (int k : {1, c.steps / 2, c.steps - 1}) {
      EXPECT_EQ(layer.idleAtStep[k], uint64_t{c.total} * k / c.steps) << "step " << k;
    }
  }
}

// Both pacers: a period of a frame or more (the families' own), and a sub-frame period planned
// over 500 ms (20 steps of 25 ms, the dispatcher's).
TEST(Pacing, StepsAfterAStallCatchUpWithoutWaiting) {
  for (int par0 : {25, 0}) {
    SCOPED_TRACE("par0 " + std::to_string(par0));
    IdleClock time(5000);
    StallingLayer layer(time.clock, 3, 80);  // the fourth step takes 80 ms instead of 25
    ASSERT_EQ(RunEffect(layer, 110, par0, 10, 0), TRUE);
    ASSERT_EQ(layer.steps, 20);
    // The effect still ends 500 ms after it began; the stall's 80 ms were not waited for.
    EXPECT_EQ(time.clock.Peek() - 5000u, 500u);
    EXPECT_EQ(time.clock.IdleCalls(), 500u - 80u);
    // The stall ends at 155 ms: the waits after steps 3 to 5 (due at 100, 125 and 150) were
    // empty; the one after step 6 lasted 20 ms up to 175, the next a whole period again.
    for (int step = 4; step <= 6; ++step) EXPECT_EQ(layer.idleAtStep[step], layer.idleAtStep[3]);
    EXPECT_EQ(layer.idleAtStep[7] - layer.idleAtStep[6], 20u);
    EXPECT_EQ(layer.idleAtStep[8] - layer.idleAtStep[7], 25u);
  }
}

TEST(Pacing, ANegativePeriodNeverReadsTheClock) {
  for (int par0 : {kUnpaced, -40}) {
    seams::TestClock clock(5000, 1, 1);
    seams::ScopedClock scope(&clock);
    RecordingLayer layer;
    ASSERT_EQ(RunEffect(layer, 110, par0, 10, 0), TRUE);
    EXPECT_EQ(layer.steps, 20);
    EXPECT_EQ(clock.Peek(), 5000u) << par0;
    EXPECT_EQ(clock.IdleCalls(), 0u);
  }
}

TEST(Pacing, DeadlinesAcrossTheWrapOfTheTickCounterWork) {
  // 20 steps of 40 ms starting 256 ms before the counter wraps.
  IdleClock time(0xFFFFFF00u);
  RecordingLayer layer;
  ASSERT_EQ(RunEffect(layer, 110, 40, 10, 0), TRUE);
  EXPECT_EQ(time.clock.Peek(), 0xFFFFFF00u + 800u);
  EXPECT_EQ(time.clock.IdleCalls(), 800u);
}

// Twenty steps of a second each, and a sub-frame period over 3 s: once the stop is requested
// no step waits and nothing reaches the destination.
TEST(Pacing, AStopRequestEndsTheWaitingAndTheDrawing) {
  for (int par0 : {1000, 0}) {
    IdleClock time(5000);
    seams::RequestStop();
    RecordingLayer layer;
    EXPECT_EQ(RunEffect(layer, 110, par0, par0 ? 10 : 1, 0), TRUE);
    seams::ClearStop();
    EXPECT_EQ(layer.steps, 0) << par0;
    EXPECT_TRUE(layer.ops.empty()) << par0;
    EXPECT_EQ(time.clock.IdleCalls(), 0u) << par0;
  }
}

// A layer that raises the stop request after a number of steps.
class StoppingLayer : public RecordingLayer {
 public:
  explicit StoppingLayer(int stopAfter) : stopAfter_(stopAfter) {}
  void EndStep() override {
    RecordingLayer::EndStep();
    if (steps == stopAfter_) seams::RequestStop();
  }

 private:
  int stopAfter_;
};

// A stop raised midway through a paced effect ends it at once: in virtual time no step after it
// waits or draws; on the system clock a 20-second effect (its steps sleeping) ends long before
// that, with only the steps before the stop drawn.
TEST(Pacing, AStopRequestMidwayEndsAPacedEffectAtOnce) {
  for (int par0 : {1000, 0}) {
    SCOPED_TRACE("par0 " + std::to_string(par0));
    IdleClock time(5000);
    StoppingLayer layer(4);
    EXPECT_EQ(RunEffect(layer, 110, par0, par0 ? 10 : 1, 0), TRUE);
    seams::ClearStop();
    const uint64_t waitedBeforeStop = par0 ? 3u * 1000u : 3u * 3000u / 200u;
    EXPECT_EQ(time.clock.IdleCalls(), waitedBeforeStop);
    EXPECT_EQ(layer.steps, 4) << "steps drawn after the stop";
  }
  for (int par0 : {1000, 0}) {
    SCOPED_TRACE("system clock, par0 " + std::to_string(par0));
    RecordingLayer layer;
    const auto start = std::chrono::steady_clock::now();
    std::thread effect([&] { RunEffect(layer, 110, par0, par0 ? 10 : 1, 0, par0 ? 200 : 3000); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    seams::RequestStop();
    effect.join();
    seams::ClearStop();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(500));  // a hang check: planned 20 s and 3 s
    EXPECT_LT(layer.steps, par0 ? 20 : 3000) << "steps drawn after the stop";
  }
}

}  // namespace
