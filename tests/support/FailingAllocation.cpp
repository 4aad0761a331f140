#include "tests/support/FailingAllocation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {

thread_local long allowed = -1;  // allocations left before refusing; -1 while no guard lives
thread_local bool refused = false;

void* Allocate(std::size_t size) {
  if (allowed == 0) {
    refused = true;
    return nullptr;
  }
  if (allowed > 0) --allowed;
  return std::malloc(size ? size : 1);
}

void* AllocateOrThrow(std::size_t size) {
  void* p = Allocate(size);
  if (!p) throw std::bad_alloc();
  return p;
}

// Failures this test has recorded so far.
int FailedParts() {
  const ::testing::TestResult* result =
      ::testing::UnitTest::GetInstance()->current_test_info()->result();
  int failed = 0;
  for (int i = 0; i < result->total_part_count(); ++i) {
    failed += result->GetTestPartResult(i).failed();
  }
  return failed;
}

}  // namespace

namespace alloctest {

RefuseAllocationsAfter::RefuseAllocationsAfter(long successes) {
  allowed = successes;
  refused = false;
}

RefuseAllocationsAfter::~RefuseAllocationsAfter() { allowed = -1; }

bool RefuseAllocationsAfter::Refused() const { return refused; }

SweepCount SweepRefusals(const std::function<void()>& run,
                         const std::function<bool(long n)>& refused) {
  SweepCount count;
  const int failedBefore = FailedParts();
  for (long n = 0;; ++n) {
    bool wasRefused;
    {
      RefuseAllocationsAfter refuse(n);
      run();
      wasRefused = refuse.Refused();
    }
    if (!wasRefused) break;
    ++count.refusals;
    count.reported += refused(n);
    if (FailedParts() > failedBefore) break;  // the first failing refusal says enough
  }
  return count;
}

}  // namespace alloctest

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
