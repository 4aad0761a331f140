#include "tests/support/FailingAllocation.h"

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

}  // namespace

namespace alloctest {

RefuseAllocationsAfter::RefuseAllocationsAfter(long successes) {
  allowed = successes;
  refused = false;
}

RefuseAllocationsAfter::~RefuseAllocationsAfter() { allowed = -1; }

bool RefuseAllocationsAfter::Refused() const { return refused; }

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
