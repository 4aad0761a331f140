#include "transitions/Pacing.h"

#include "seams/Clock.h"
#include "transitions/Blit.h"

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
