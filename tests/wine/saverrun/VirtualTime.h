// What the end-to-end tests and the virtual-time variant of the saver module agree on.
//
// The variant installs a gated virtual clock at start-up: virtual time advances as the test
// clock's does (a millisecond per read, waits jump to their deadline), but it never passes the
// next mark the test named. The first thread to reach a mark signals the mark's "reached" event,
// and every thread that reads the clock there is held until the test signals the mark's
// "release" event. While the threads are held the test captures the screen and reads the trace.
// A stop request opens the gate for good, so the saver window's join never waits on it.
#pragma once

#include <cstdio>
#include <string>

namespace vtime {

// Marks in virtual milliseconds from the first clock read, comma-separated, ascending.
constexpr char kMarksVariable[] = "SAVER_VT_MARKS";
// A name unique to the test run; the events are named after it.
constexpr char kNameVariable[] = "SAVER_VT_NAME";
// When set, a file that gets one line per mark: "<mark> <free GDI handles> <working set bytes>".
constexpr char kLogVariable[] = "SAVER_VT_LOG";

// Texts the trace is held at, '|'-separated, in the order they come: the first thread that
// writes a piece of trace containing the next text signals the hold's "reached" event and waits
// there until the test signals its "release" event. Holds and marks are independent.
constexpr char kHoldsVariable[] = "SAVER_VT_HOLDS";

// Wall-clock seconds of virtual time 0: 1996-01-01 10:00:00 UTC.
constexpr long long kWallStart = 820490400;

inline std::string ReachedEvent(const std::string& name, int mark) {
  return name + ".reached." + std::to_string(mark);
}
inline std::string ReleaseEvent(const std::string& name, int mark) {
  return name + ".release." + std::to_string(mark);
}

inline std::string HoldReachedEvent(const std::string& name, int hold) {
  return name + ".hold.reached." + std::to_string(hold);
}
inline std::string HoldReleaseEvent(const std::string& name, int hold) {
  return name + ".hold.release." + std::to_string(hold);
}

}  // namespace vtime
