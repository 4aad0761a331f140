#include "transitions/Pacing.h"

#include <algorithm>

#include "seams/Clock.h"

uint32_t PacedDuration(int period, int steps) {
  if (steps <= 0 || period < 0) return 0;
  const int64_t n = steps;
  const int64_t asked = n * period;
  if (period >= kFrameMs) return static_cast<uint32_t>(std::min<int64_t>(asked, UINT32_MAX));
  const int64_t byFrames =
      std::min<int64_t>(std::max<int64_t>(n * kFrameMs, kShortestEffectMs), kFramePacedMs);
  return static_cast<uint32_t>(std::min<int64_t>(std::max(byFrames, asked), kLongestFineEffectMs));
}

StepPacer::StepPacer(BlitLayer& layer, int period) : layer_(layer), period_(period) {
  if (period_ > 0) deadline_ = seams::TickCount() + static_cast<uint32_t>(period_);
}

void StepPacer::Step() {
  layer_.EndStep();
  ++steps_;
  if (period_ <= 0) return;
  seams::WaitUntilTick(deadline_);
  deadline_ += static_cast<uint32_t>(period_);
}

PacedLayer::PacedLayer(BlitLayer& inner, uint32_t duration, int steps)
    : inner_(inner), start_(seams::TickCount()), duration_(duration), steps_(std::max(steps, 1)) {}

void PacedLayer::Copy(BlitSurface from, int dx, int dy, int w, int h, int sx, int sy) {
  inner_.Copy(from, dx, dy, w, h, sx, sy);
}

void PacedLayer::Stretch(BlitSurface from, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
                         int sh) {
  inner_.Stretch(from, dx, dy, dw, dh, sx, sy, sw, sh);
}

ClipResult PacedLayer::CopyThroughPolygon(BlitSurface from, const POINT* points, int count, int dx,
                                          int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
  return inner_.CopyThroughPolygon(from, points, count, dx, dy, dw, dh, sx, sy, sw, sh);
}

int PacedLayer::SetStretchMode(int mode) { return inner_.SetStretchMode(mode); }

void PacedLayer::EndStep() {
  inner_.EndStep();
  // An effect that draws more steps than counted waits no longer than planned.
  ended_ = std::min(ended_ + 1, steps_);
  const uint64_t due =
      uint64_t{duration_} * static_cast<uint64_t>(ended_) / static_cast<uint64_t>(steps_);
  seams::WaitUntilTick(start_ + static_cast<uint32_t>(due));
}

void StoppingLayer::Copy(BlitSurface from, int dx, int dy, int w, int h, int sx, int sy) {
  if (!seams::StopRequested()) inner_.Copy(from, dx, dy, w, h, sx, sy);
}

void StoppingLayer::Stretch(BlitSurface from, int dx, int dy, int dw, int dh, int sx, int sy,
                            int sw, int sh) {
  if (!seams::StopRequested()) inner_.Stretch(from, dx, dy, dw, dh, sx, sy, sw, sh);
}

ClipResult StoppingLayer::CopyThroughPolygon(BlitSurface from, const POINT* points, int count,
                                             int dx, int dy, int dw, int dh, int sx, int sy, int sw,
                                             int sh) {
  if (seams::StopRequested()) return ClipResult::kEmpty;
  return inner_.CopyThroughPolygon(from, points, count, dx, dy, dw, dh, sx, sy, sw, sh);
}

void StoppingLayer::EndStep() {
  if (!seams::StopRequested()) inner_.EndStep();
}
