#include "routines/SlideShow.h"

#include <cstdint>
#include <new>

#include "routines/ClockOverlay.h"
#include "routines/RoutineFrame.h"
#include "seams/Clock.h"

namespace {

// The longest nap between two looks at the clock: its seconds stay on time, and a stop request
// that reaches a clock without a wake-up is still seen quickly.
constexpr int64_t kLongestWaitStepMs = 50;

const RoutineErrorMessage kSlideShowErrors[] = {
    {kSlideShowOutOfMemory, "System has run out of memory"},
};

// Keeps the clock ticking until the time is up or a stop is requested, napping in between.
void Wait(ScreenHost* host, CRoutineFrame& frame, int waitSeconds) {
  const uint32_t start = frame.StartTime();
  const int64_t waitMs = int64_t{waitSeconds} * 1000;
  for (;;) {
    UpdateClockOverlay(host);
    if (frame.ElapsedSeconds() >= waitSeconds || seams::StopRequested()) break;
    const int64_t left = waitMs - static_cast<int32_t>(seams::TickCount() - start);
    const int64_t step = left < kLongestWaitStepMs ? (left > 0 ? left : 1) : kLongestWaitStepMs;
    seams::IdleUntil(seams::TickCount() + static_cast<uint32_t>(step));
  }
}

}  // namespace

void GetSlideShowErrorText(int code, CString* text) {
  FormatRoutineErrorText("Slide Show Error Message: ", kSlideShowErrors, "Unknown error", code,
                         text);
}

int RunSlideShow(ScreenHost* pScreenDoc, int bClockOn, int waitSeconds, int traceFlag,
                 CString* errorText) {
  CRoutineFrame frame(pScreenDoc, "Slide Show", GetSlideShowErrorText, traceFlag, errorText);
  frame.TraceStart("bClockOn=%x,Wait Seconds=%d", bClockOn, waitSeconds);
  try {
    if (!frame.StartSceneAndClock(0, bClockOn)) return frame.Fail(kSlideShowOutOfMemory);
    Wait(pScreenDoc, frame, waitSeconds);
  } catch (const std::bad_alloc&) {
    return frame.Fail(kSlideShowOutOfMemory);  // a list of the screen could not grow
  }
  return 1;
}
