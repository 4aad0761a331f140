// Out-of-memory tests: a test program that links FailingAllocation.cpp gets global operator new
// and delete of its own (malloc and free underneath) that can be told to refuse allocations.
//
//   for (long n = 0;; ++n) {
//     alloctest::RefuseAllocationsAfter refuse(n);
//     BOOL made = view.CreateBuffer(dib);
//     if (!refuse.Refused()) break;   // the routine made all it needed
//     ... expect the routine's error return and nothing left behind ...
//   }
//
// Only the thread that made the guard is affected, so a test's own checks after the guard ends
// allocate normally. Throwing forms throw std::bad_alloc, nothrow forms return null.
#pragma once

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

}  // namespace alloctest
