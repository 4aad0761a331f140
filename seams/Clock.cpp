#include "seams/Clock.h"

#include <ctime>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#endif

namespace seams {
namespace {

class SystemClock : public Clock {
 public:
  uint32_t TickCount() override {
#ifdef _WIN32
    return ::GetTickCount();
#else
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
#endif
  }
  int64_t WallSeconds() override { return static_cast<int64_t>(std::time(nullptr)); }
  void Idle() override { std::this_thread::yield(); }
};

SystemClock systemClock;
std::atomic<Clock*> installed{nullptr};
std::atomic<bool> stopRequested{false};

}  // namespace

Clock& CurrentClock() {
  Clock* clock = installed.load(std::memory_order_acquire);
  return clock ? *clock : systemClock;
}

Clock* InstallClock(Clock* clock) { return installed.exchange(clock, std::memory_order_acq_rel); }

bool WaitUntilTick(uint32_t deadline) {
  while (TickBefore(TickCount(), deadline)) {
    if (StopRequested()) return false;
    Idle();
  }
  return !StopRequested();
}

bool WaitMilliseconds(uint32_t ms) { return WaitUntilTick(TickCount() + ms); }

void RequestStop() { stopRequested.store(true); }
void ClearStop() { stopRequested.store(false); }
bool StopRequested() { return stopRequested.load(); }

TestClock::TestClock(uint32_t start, uint32_t step, uint32_t idleStep, int64_t wallStart)
    : now_(start), step_(step), idleStep_(idleStep), wallStart_(wallStart) {}

uint32_t TestClock::TickCount() {
  elapsed_ += step_;
  return now_.fetch_add(step_) + step_;
}

int64_t TestClock::WallSeconds() { return wallStart_ + static_cast<int64_t>(elapsed_.load() / 1000); }

void TestClock::Idle() {
  ++idleCalls_;
  Advance(idleStep_);
}

void TestClock::Advance(uint32_t ms) {
  elapsed_ += ms;
  now_.fetch_add(ms);
}

}  // namespace seams
