#include "imaging/SpriteMoves.h"

#include <cstdint>
#include <cstdlib>

#include "imaging/ClockOverlay.h"
#include "imaging/ScreenHost.h"
#include "imaging/Sprite.h"
#include "seams/Clock.h"

namespace {

// The straight line from the start to the target, walked by distance along its longer axis.
struct SlideLine {
  int64_t startMajor, targetMajor, startMinor;
  int64_t majorLength;  // > 0
  int64_t minorDelta;   // signed
  bool majorIsY;

  SlideLine(POINT start, POINT target) {
    const int64_t dx = int64_t{target.x} - start.x;
    const int64_t dy = int64_t{target.y} - start.y;
    majorIsY = std::llabs(dx) < std::llabs(dy);
    startMajor = majorIsY ? start.y : start.x;
    targetMajor = majorIsY ? target.y : target.x;
    startMinor = majorIsY ? start.x : start.y;
    majorLength = std::llabs(majorIsY ? dy : dx);
    minorDelta = majorIsY ? dx : dy;
  }

  // The point d pixels along (0 <= d <= majorLength); the minor offset truncates toward zero.
  // |d * minorDelta| < 2^64 because |minorDelta| <= majorLength < 2^32.
  POINT At(int64_t d) const {
    const int64_t major = startMajor + (targetMajor > startMajor ? d : -d);
    const uint64_t scaled = static_cast<uint64_t>(d) *
                            static_cast<uint64_t>(std::llabs(minorDelta)) /
                            static_cast<uint64_t>(majorLength);
    const int64_t minor = startMinor + (minorDelta < 0 ? -static_cast<int64_t>(scaled)
                                                       : static_cast<int64_t>(scaled));
    return majorIsY ? POINT{static_cast<LONG>(minor), static_cast<LONG>(major)}
                    : POINT{static_cast<LONG>(major), static_cast<LONG>(minor)};
  }
};

void MoveTo(ScreenHost* host, CSprite* sprite, POINT p) {
  sprite->SetPosition(p.x, p.y);
  host->FlushDirtyRects();
}

// The clock overlay is kept ticking at least this often while the sprite waits for its next pixel.
constexpr uint64_t kLongestNapMs = 100;

// The elapsed time at which a slide at `rate` pixels per second has covered `d` + 1 pixels, or
// kLongestNapMs after `elapsed` when that comes first.
uint64_t NextMoveAt(uint64_t elapsed, uint64_t d, int rate) {
  const uint64_t perSecond = static_cast<uint64_t>(rate);
  const uint64_t due = ((d + 1) * 1000 + perSecond - 1) / perSecond;
  return due < elapsed + kLongestNapMs ? due : elapsed + kLongestNapMs;
}

}  // namespace

void SlideSpriteTimed(ScreenHost* host, CSprite* sprite, const POINT* target, int rate) {
  const uint32_t t0 = seams::TickCount();
  const POINT start = {sprite->GetX(), sprite->GetY()};
  if (start.x == target->x && start.y == target->y) return;
  const SlideLine line(start, *target);

  POINT last = start;
  while (rate > 0 && !seams::StopRequested()) {
    const uint64_t elapsed = seams::TickCount() - t0;  // wraps like the tick counter
    const uint64_t d = elapsed * static_cast<uint64_t>(rate) / 1000;
    UpdateClockOverlay(host);
    if (d > static_cast<uint64_t>(line.majorLength)) break;  // the next step would pass the target
    last = line.At(static_cast<int64_t>(d));
    MoveTo(host, sprite, last);
    seams::IdleUntil(t0 + static_cast<uint32_t>(NextMoveAt(elapsed, d, rate)));
  }
  if (last.x != target->x || last.y != target->y) MoveTo(host, sprite, *target);
}
