// The clock seam: every wait, pace and timestamp in the system reads time through here.
//
// Production reads GetTickCount and time(). Tests install a TestClock that advances on every
// read, so every busy wait ends in virtual time: a ten-minute caption runs in milliseconds.
// Busy waits call Idle() on each turn; it yields the processor and is where a stop request
// raised by the saver window is noticed.
#pragma once

#include <atomic>
#include <cstdint>

namespace seams {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; wraps after 49.7 days like GetTickCount.
  virtual uint32_t TickCount() = 0;
  // Wall-clock seconds since 1970-01-01 00:00 UTC.
  virtual int64_t WallSeconds() = 0;
  // Called on every turn of a busy wait.
  virtual void Idle() = 0;
};

// The clock in force for the whole process (the system clock unless a test installed one).
Clock& CurrentClock();
// Installs a clock (nullptr restores the system clock); returns the previous one.
Clock* InstallClock(Clock* clock);

inline uint32_t TickCount() { return CurrentClock().TickCount(); }
inline int64_t WallSeconds() { return CurrentClock().WallSeconds(); }
inline void Idle() { CurrentClock().Idle(); }

// True while `deadline` lies ahead of `now`. Compared as a signed difference so that a wait
// across the tick counter's wrap ends on time instead of 49.7 days later.
inline bool TickBefore(uint32_t now, uint32_t deadline) {
  return static_cast<int32_t>(now - deadline) < 0;
}

// Busy-waits (calling Idle) until the tick count reaches `deadline`; returns early with false
// when a stop has been requested.
bool WaitUntilTick(uint32_t deadline);
// WaitUntilTick(TickCount() + ms).
bool WaitMilliseconds(uint32_t ms);

// Cooperative stop: the saver window raises it at destruction; long loops test it and unwind.
void RequestStop();
void ClearStop();
bool StopRequested();

// A clock for tests: every TickCount() read advances the time by `step` milliseconds, and
// Idle() advances it by `idleStep`. Wall seconds follow the ticks from a fixed start.
class TestClock : public Clock {
 public:
  explicit TestClock(uint32_t start = 1000, uint32_t step = 1, uint32_t idleStep = 1,
                     int64_t wallStart = 820454400 /* 1996-01-01 00:00 UTC */);
  uint32_t TickCount() override;
  int64_t WallSeconds() override;
  void Idle() override;
  void Advance(uint32_t ms);
  uint32_t Peek() const { return now_.load(); }
  uint64_t IdleCalls() const { return idleCalls_.load(); }

 private:
  std::atomic<uint32_t> now_;
  uint32_t step_;
  uint32_t idleStep_;
  std::atomic<uint64_t> elapsed_{0};
  int64_t wallStart_;
  std::atomic<uint64_t> idleCalls_{0};
};

// Installs a clock for the lifetime of a scope (tests).
class ScopedClock {
 public:
  explicit ScopedClock(Clock* clock) : previous_(InstallClock(clock)) {}
  ~ScopedClock() { InstallClock(previous_); }
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  Clock* previous_;
};

}  // namespace seams
