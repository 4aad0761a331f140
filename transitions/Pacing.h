// Step pacing of the transition effects: one step every `period` milliseconds of the clock seam.
//
// Contract for every effect routine:
//  - Make the pacer just before drawing the first step: it reads the clock once and sets the first
//    deadline to now + period.
//  - After drawing each step call Step(): it tells the blit layer the step is complete, then
//    busy-waits, calling the clock's idle hook on every turn, until the deadline, and moves the
//    deadline on by one period. Deadlines are fixed in advance, so a step that overran is not
//    waited for and the following steps catch up; the whole effect takes steps x period.
//  - A period of 0 or less never reads the clock nor waits: the effect runs at full speed.
//  - Deadlines are compared as signed differences, so a wait across the wrap of the 32-bit tick
//    counter ends on time.
//  - Once a stop has been requested (the saver is closing) no step waits any more: the effect
//    finishes at full speed, which takes milliseconds, and its caller unwinds.
#pragma once

#include <cstdint>

class BlitLayer;

class StepPacer {
 public:
  StepPacer(BlitLayer& layer, int period);
  StepPacer(const StepPacer&) = delete;
  StepPacer& operator=(const StepPacer&) = delete;

  // Ends one step: see above.
  void Step();
  // Steps ended so far.
  int Steps() const { return steps_; }

 private:
  BlitLayer& layer_;
  int period_;
  uint32_t deadline_ = 0;
  int steps_ = 0;
};
