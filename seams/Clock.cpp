#include "seams/Clock.h"

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>

#ifdef _WIN32
#include <windows.h>
#endif

namespace seams {
namespace {

std::atomic<bool> stopRequested{false};

// The stop request's wake-up call for threads sleeping in the system clock's idle hook.
struct StopSignal {
  std::mutex mutex;
  std::condition_variable raised;
};

StopSignal& Signal() {
  static StopSignal signal;
  return signal;
}

#ifdef _WIN32
HANDLE StopEventHandle() {
  static const HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  return event;
}
#endif

// Sleeps `ms` milliseconds, or less when a stop is (or gets) requested.
void SleepUnlessStopped(uint32_t ms) {
  StopSignal& signal = Signal();
  std::unique_lock<std::mutex> lock(signal.mutex);
  signal.raised.wait_for(lock, std::chrono::milliseconds(ms), [] { return stopRequested.load(); });
}

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
  void Idle() override { SleepUnlessStopped(1); }
  void IdleUntil(uint32_t deadline) override {
    const int32_t left = static_cast<int32_t>(deadline - TickCount());
    if (left > 0) SleepUnlessStopped(static_cast<uint32_t>(left));
  }
};

SystemClock systemClock;
std::atomic<Clock*> installed{nullptr};

}  // namespace

Clock& CurrentClock() {
  Clock* clock = installed.load(std::memory_order_acquire);
  return clock ? *clock : systemClock;
}

Clock* InstallClock(Clock* clock) { return installed.exchange(clock, std::memory_order_acq_rel); }

bool WaitUntilTick(uint32_t deadline) {
  while (TickBefore(TickCount(), deadline)) {
    if (StopRequested()) return false;
    IdleUntil(deadline);
  }
  return !StopRequested();
}

bool WaitMilliseconds(uint32_t ms) { return WaitUntilTick(TickCount() + ms); }

void WaitForStop() {
  constexpr uint32_t kLongNapMs = 60000;  // a stop wakes the system clock's nap at once
  while (WaitMilliseconds(kLongNapMs)) {
  }
}

void RequestStop() {
  StopSignal& signal = Signal();
  {
    // Under the lock, so that a sleeper between its test and its wait cannot miss the call.
    std::lock_guard<std::mutex> lock(signal.mutex);
    stopRequested.store(true);
  }
  signal.raised.notify_all();
#ifdef _WIN32
  ::SetEvent(StopEventHandle());
#endif
}
void ClearStop() {
  stopRequested.store(false);
#ifdef _WIN32
  ::ResetEvent(StopEventHandle());
#endif
}
#ifdef _WIN32
void* StopEvent() { return StopEventHandle(); }
#endif
bool StopRequested() { return stopRequested.load(); }

TestClock::TestClock(uint32_t start, uint32_t step, uint32_t idleStep, int64_t wallStart)
    : now_(start), step_(step), idleStep_(idleStep), wallStart_(wallStart) {}

uint32_t TestClock::TickCount() {
  elapsed_ += step_;
  return now_.fetch_add(step_) + step_;
}

int64_t TestClock::WallSeconds() {
  return wallStart_ + static_cast<int64_t>(elapsed_.load() / 1000);
}

void TestClock::Idle() {
  ++idleCalls_;
  Advance(idleStep_);
}

void TestClock::Advance(uint32_t ms) {
  elapsed_ += ms;
  now_.fetch_add(ms);
}

}  // namespace seams
