// The stop for violated SAVER_REQUIRE checks.
#include "framework/Assert.h"

#include <cstdio>
#include <cstdlib>

void SaverRequireFailed(const char* expr, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: framework check failed: %s\n", file, line, expr);
  std::fflush(stderr);
  std::abort();
}
