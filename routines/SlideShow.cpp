#include "routines/SlideShow.h"

#include <cstdint>
#include <new>

#include "imaging/ClockOverlay.h"
#include "routines/RoutineFrame.h"
#include "seams/Clock.h"

namespace {

// How finely the turn of the wall clock's second is looked for while its phase is not known.
constexpr uint32_t kSecondSearchMs = 10;

const RoutineErrorMessage kSlideShowErrors[] = {
    {kSlideShowOutOfMemory, "System has run out of memory"},
};

// When the clock's hands are next due: at the tick where the wall clock's second turns. The
// phase of the turn is found once by short naps, then each due tick is a second after the last;
// a turn that has not come by then (the two clocks drifted) is looked for again.
class SecondTurns {
 public:
  uint32_t NextDue(uint32_t now) {
    const int64_t second = seams::WallSeconds();
    if (second != second_) {
      turn_ = known_ ? DueAfter(now) : now;
      known_ = true;
      second_ = second;
      return turn_ + 1000;
    }
    known_ = known_ && seams::TickBefore(now, turn_ + 1000);
    return known_ ? turn_ + 1000 : now + kSecondSearchMs;
  }

 private:
  // The last tick a second after the known turn that is not later than `now`.
  uint32_t DueAfter(uint32_t now) const { return now - (now - turn_) % 1000; }

  int64_t second_ = seams::WallSeconds();
  bool known_ = false;
  uint32_t turn_ = 0;
};

// Keeps the clock ticking until the time is up or a stop is requested, sleeping until the next
// of the two is due: the clock's next second, the end of the picture's time. A stop wakes it.
void Wait(ScreenHost* host, CRoutineFrame& frame, int waitSeconds, bool clockOn) {
  const uint32_t end = frame.StartTime() + static_cast<uint32_t>(waitSeconds) * 1000u;
  SecondTurns seconds;
  for (;;) {
    UpdateClockOverlay(host);
    const uint32_t now = seams::TickCount();
    if (!seams::TickBefore(now, end) || seams::StopRequested()) break;
    uint32_t due = end;
    if (clockOn) {
      const uint32_t second = seconds.NextDue(now);
      if (seams::TickBefore(second, due)) due = second;
    }
    seams::IdleUntil(due);
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
    Wait(pScreenDoc, frame, waitSeconds, bClockOn != 0);
  } catch (const std::bad_alloc&) {
    return frame.Fail(kSlideShowOutOfMemory);  // a list of the screen could not grow
  }
  return 1;
}
