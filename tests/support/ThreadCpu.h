// The calling thread's processor time, for tests that check a wait sleeps instead of spinning.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace testsupport {

// Milliseconds of processor time (user and kernel) the calling thread has used.
inline double ThreadCpuMs() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto ms = [](const FILETIME& t) {
    return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
#else
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
#endif
}

}  // namespace testsupport
