// The bytes the process's heap holds in use now, for checks that a long run does not grow:
// the sanitizer's count under AddressSanitizer, the C library's elsewhere; 0 where neither
// can tell.
#pragma once

#include <cstddef>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SAVER_HEAP_FROM_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define SAVER_HEAP_FROM_SANITIZER 1
#endif

#if defined(SAVER_HEAP_FROM_SANITIZER)
#include <sanitizer/allocator_interface.h>
#elif defined(_WIN32)
#include <malloc.h>
#elif defined(__GLIBC__)
#include <malloc.h>
#endif

inline size_t HeapInUse() {
#if defined(SAVER_HEAP_FROM_SANITIZER)
  return __sanitizer_get_current_allocated_bytes();
#elif defined(_WIN32)
  size_t used = 0;
  _HEAPINFO entry{};
  while (_heapwalk(&entry) == _HEAPOK) {
    if (entry._useflag == _USEDENTRY) used += entry._size;
  }
  return used;
#elif defined(__GLIBC__)
  return mallinfo2().uordblks;
#else
  return 0;
#endif
}
