// Pacing of the effects in virtual time: one step per par0 milliseconds on deadlines fixed in
// advance, waiting through the clock seam's idle hook.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
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

BOOL RunEffect(BlitLayer& layer, int effect, int par0, int par1, int par2) {
  const RECT screen{0, 0, 200, 100};
  return TransFXDispatch(layer, 0, 0, 200, 100, 0, 0, 200, 100, 0, 0, effect, par0, par1, par2,
                         FALSE, &screen);
}

TEST(Pacing, AnEffectTakesItsStepsTimesItsPeriod) {
  const int effects[][3] = {{110, 7, 10}, {0, 3, 10}, {6, 2, 20}, {130, 5, 10}, {140, 1, 20},
                            {145, 2, 20}, {11, 4, 10}};
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

TEST(Pacing, StepsAfterAStallCatchUpWithoutWaiting) {
  IdleClock time(5000);
  StallingLayer layer(time.clock, 3, 55);  // the fourth step takes 55 ms instead of 10
  ASSERT_EQ(RunEffect(layer, 110, 10, 10, 0), TRUE);
  ASSERT_EQ(layer.steps, 20);
  // The effect still ends 200 ms after it began; the stall's 55 ms were not waited for.
  EXPECT_EQ(time.clock.Peek() - 5000u, 200u);
  EXPECT_EQ(time.clock.IdleCalls(), 200u - 55u);
  // Steps 4 to 8 were due during the stall and did not idle at all; step 9 waited 5 ms again.
  for (int step = 4; step <= 8; ++step) EXPECT_EQ(layer.idleAtStep[step], layer.idleAtStep[3]);
  EXPECT_EQ(layer.idleAtStep[9] - layer.idleAtStep[8], 5u);
}

TEST(Pacing, APeriodOfZeroOrLessNeverReadsTheClock) {
  for (int par0 : {0, -40}) {
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

TEST(Pacing, AStopRequestEndsTheWaiting) {
  IdleClock time(5000);
  seams::RequestStop();
  RecordingLayer layer;
  EXPECT_EQ(RunEffect(layer, 110, 1000, 10, 0), TRUE);
  seams::ClearStop();
  EXPECT_EQ(layer.steps, 20);
  EXPECT_EQ(time.clock.IdleCalls(), 0u);
}

}  // namespace
