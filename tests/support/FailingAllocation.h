// Out-of-memory tests: a test program that links FailingAllocation.cpp gets global operator new
// and delete of its own (malloc and free underneath) that can be told to refuse allocations.
//
// A sweep refuses every allocation of a routine in turn:
//
//   int result = -1;
//   const alloctest::SweepCount count = alloctest::SweepRefusals(
//       [&] { result = view.CreateBuffer(dib); },
//       [&](long n) {   // allocation n was refused, and every later one
//         ... expect the routine's error return and nothing left behind ...
//         return result == 0;   // whether the routine reported it
//       });
//   EXPECT_EQ(result, 1);   // the last run refused nothing
//
// Only the thread that runs the sweep is affected, so a test's own checks allocate normally.
// Throwing forms throw std::bad_alloc, nothrow forms return null.
#pragma once

#include <functional>

namespace alloctest {

// While it lives, this thread's allocations after the first `successes` are refused, every one
// of them (memory stays exhausted).
class RefuseAllocationsAfter {
 public:
  explicit RefuseAllocationsAfter(long successes);
  ~RefuseAllocationsAfter();
  RefuseAllocationsAfter(const RefuseAllocationsAfter&) = delete;
  RefuseAllocationsAfter& operator=(const RefuseAllocationsAfter&) = delete;

  // Whether an allocation was refused so far.
  bool Refused() const;
};

struct SweepCount {
  long refusals = 0;  // allocations refused in turn: one per allocation the routine makes
  long reported = 0;  // of them, those for which `refused` said the routine reported the failure
};

// Runs `run` with each of its allocations refused in turn: for refusal n the first n allocations
// succeed and every later one is refused, then `refused(n)` checks what the routine left and says
// whether it reported the failure. Last, `run` runs with nothing refused. The sweep stops at the
// first refusal whose checks fail. Separate runs start where the one before ended, so `refused`
// also puts back what the next run needs (an empty error text, a whole picture).
SweepCount SweepRefusals(const std::function<void()>& run,
                         const std::function<bool(long n)>& refused);

}  // namespace alloctest
