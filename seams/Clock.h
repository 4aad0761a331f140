// The clock seam: every wait, pace and timestamp in the system reads time through here.
//
// Production reads GetTickCount and time(). Tests install a TestClock that advances on every
// read, so every busy wait ends in virtual time: a ten-minute caption runs in milliseconds.
// Waits call IdleUntil(deadline) on each turn: the system clock sleeps there until the deadline or
// a stop request, whichever comes first, so a paced transition or a timed move costs no processor
// time while it waits; the saver runs for hours on idle machines.
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
  // One turn of a wait with no known deadline: the system clock sleeps about a millisecond (less
  // when a stop is requested).
  virtual void Idle() = 0;
  // One turn of a wait for the tick count `deadline`: the system clock sleeps until then, waking
  // at once when a stop is requested; test clocks treat it as Idle().
  virtual void IdleUntil(uint32_t deadline) {
    (void)deadline;
    Idle();
  }
};

// The clock in force for the whole process (the system clock unless a test installed one).
Clock& CurrentClock();
// Installs a clock (nullptr restores the system clock); returns the previous one.
Clock* InstallClock(Clock* clock);

inline uint32_t TickCount() { return CurrentClock().TickCount(); }
inline int64_t WallSeconds() { return CurrentClock().WallSeconds(); }
inline void Idle() { CurrentClock().Idle(); }
inline void IdleUntil(uint32_t deadline) { CurrentClock().IdleUntil(deadline); }

// True while `deadline` lies ahead of `now`. Compared as a signed difference so that a wait
// across the tick counter's wrap ends on time instead of 49.7 days later.
inline bool TickBefore(uint32_t now, uint32_t deadline) {
  return static_cast<int32_t>(now - deadline) < 0;
}

// Waits (calling IdleUntil) until the tick count reaches `deadline`; returns early with false
// when a stop has been requested.
bool WaitUntilTick(uint32_t deadline);
// WaitUntilTick(TickCount() + ms).
bool WaitMilliseconds(uint32_t ms);
// Waits, without a deadline and without allocating, until a stop is requested: where a thread
// goes once its work has ended before the stop.
void WaitForStop();

// Cooperative stop: the saver window raises it at destruction; long loops test it and unwind, and
// a thread sleeping in the system clock's idle hook wakes at once.
void RequestStop();
void ClearStop();
bool StopRequested();
#ifdef _WIN32
// A manual-reset event that is set exactly while a stop is requested: a wait on Windows objects
// (a thread's messages, a media notice) adds it to its handles, so that a stop wakes it at once.
void* StopEvent();
#endif

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
