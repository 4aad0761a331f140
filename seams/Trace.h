// The trace seam: the optional trace file that every routine writes to while tracing is on.
//
// The settings store decides whether tracing is on and opens the file; routines only ask for a
// scope guard, which writes "<name> - start" on entry and "<name> - end" on leaving, so that no
// function formats those lines by hand. Every line is flushed at once: a saver that is killed
// leaves a complete trace behind.
#pragma once

#include <cstdarg>
#include <cstdint>

namespace seams {

class Trace {
 public:
  // Opens (truncates) the trace file and writes the banner line; tracing is on when it worked.
  static bool Open(const char* path, const char* banner);
  // Closes the file and switches tracing off, so no later line goes to a closed stream.
  static void Close();
  static bool IsOn();
  // Writes formatted text when tracing is on, flushed at once.
  static void Printf(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 1, 2)))
#endif
      ;
  static void VPrintf(const char* format, va_list args)
#if defined(__GNUC__)
      __attribute__((format(printf, 1, 0)))
#endif
      ;
  // A function that sees each piece of text written, after it reached the file and outside the
  // trace's lock (it may block the writing thread). Null removes it. Install it before the
  // threads that write start; a test build uses it to hold a thread at a known step.
  using Observer = void (*)(const char* text);
  static void SetObserver(Observer observer);
};

// "<name> - start" now and "<name> - end" when the scope ends (both only while tracing is on).
class TraceScope {
 public:
  explicit TraceScope(const char* name);
  ~TraceScope();
  TraceScope(const TraceScope&) = delete;
  TraceScope& operator=(const TraceScope&) = delete;

  // The routine failed: no " - end" line when the scope ends.
  void Fail() { ended_ = true; }
  // The routine gave up part-way: "<name> - abort_end" now, and no " - end" line later.
  void AbortEnd();

 private:
  const char* name_;
  bool ended_ = false;
};

// The window and dialog procedures' form: "<name> - Starting Message=%x, wParam=%x, lParam=%x"
// on entry; Ending() writes the matching " - Ending ..." line for messages left to the default.
class TraceMessageScope {
 public:
  TraceMessageScope(const char* name, unsigned message, uintptr_t wParam, intptr_t lParam);
  void Ending() const;

 private:
  const char* name_;
  unsigned message_;
  uintptr_t wParam_;
  intptr_t lParam_;
};

}  // namespace seams
