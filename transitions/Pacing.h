// Step pacing of the transition effects through the clock seam.
//
// Two pacers, one rule for each kind of period:
//  - StepPacer: one step every `period` milliseconds. The effect families make one and call
//    Step() after drawing each step; the dispatcher hands them the slider's period when it is a
//    display frame or longer (such steps can be seen one by one, so the period is kept as asked).
//  - PacedLayer: a period shorter than a display frame cannot be seen step by step (a period of
//    0, the default "Speed" of most classes, would make the effect a cut on today's machines).
//    The dispatcher then counts the effect's steps first and spreads them evenly over
//    PacedDuration(period, steps) with a blit layer that waits after each step.
//
// Common contract:
//  - Deadlines are fixed in advance from one reading of the clock taken just before the first
//    step, so a step that overran is not waited for and the following steps catch up (several
//    small steps then share a display frame); the whole effect takes its planned time.
//  - Waits go through seams::WaitUntilTick: the system clock sleeps until the deadline; a test
//    clock moves in virtual time. Deadlines compare as signed differences, so a wait across the
//    wrap of the 32-bit tick counter ends on time.
//  - Once a stop has been requested (the saver is closing) no step waits and nothing is drawn
//    any more (StoppingLayer): the effect runs out its geometry alone, which takes
//    milliseconds even where each blit to the screen would take many, and its caller unwinds.
//  - A negative period (kUnpaced) never reads the clock nor waits: benchmarks and tests of
//    drawing run effects that way, and the dispatcher counts steps that way.
#pragma once

#include <cstdint>

#include "transitions/Blit.h"

// A period that runs an effect at full speed.
constexpr int kUnpaced = -1;
// One display frame (60 Hz), the shortest step anyone can see.
constexpr int kFrameMs = 16;
// Bounds of an effect paced by frames: no shorter than kShortestEffectMs; one frame per step up
// to kFramePacedMs, several steps a frame beyond; a sub-frame period adds time up to
// kLongestFineEffectMs.
constexpr uint32_t kShortestEffectMs = 500;
constexpr uint32_t kFramePacedMs = 3000;
constexpr uint32_t kLongestFineEffectMs = 5000;

// How long an effect of `steps` steps lasts at `period`: steps x period from a frame up; for a
// period of 0 .. kFrameMs - 1, one frame per step held to kShortestEffectMs .. kFramePacedMs, or
// steps x period when that is longer, but never beyond kLongestFineEffectMs. 0 unpaced or for no
// steps.
uint32_t PacedDuration(int period, int steps);

class StepPacer {
 public:
  StepPacer(BlitLayer& layer, int period);
  StepPacer(const StepPacer&) = delete;
  StepPacer& operator=(const StepPacer&) = delete;

  // Ends one step: tells the blit layer the step is complete, then waits until the step's
  // deadline and moves the deadline on by one period.
  void Step();
  // Steps ended so far.
  int Steps() const { return steps_; }

 private:
  BlitLayer& layer_;
  int period_;
  uint32_t deadline_ = 0;
  int steps_ = 0;
};

// A blit layer that passes everything on to another and, after each step, waits until
// start + k x duration / steps (k = steps ended so far). Make it just before the first step.
class PacedLayer : public BlitLayer {
 public:
  PacedLayer(BlitLayer& inner, uint32_t duration, int steps);

  void Copy(BlitSurface from, int dx, int dy, int w, int h, int sx, int sy) override;
  void Stretch(BlitSurface from, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
               int sh) override;
  ClipResult CopyThroughPolygon(BlitSurface from, const POINT* points, int count, int dx, int dy,
                                int dw, int dh, int sx, int sy, int sw, int sh) override;
  int SetStretchMode(int mode) override;
  void EndStep() override;

 private:
  BlitLayer& inner_;
  uint32_t start_;
  uint32_t duration_;
  int steps_;
  int ended_ = 0;
};

// A blit layer that passes everything on to another until a stop is requested, and from then on
// draws nothing: the screen is going away, and the effect's remaining steps must cost nothing.
class StoppingLayer : public BlitLayer {
 public:
  explicit StoppingLayer(BlitLayer& inner) : inner_(inner) {}

  void Copy(BlitSurface from, int dx, int dy, int w, int h, int sx, int sy) override;
  void Stretch(BlitSurface from, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
               int sh) override;
  ClipResult CopyThroughPolygon(BlitSurface from, const POINT* points, int count, int dx, int dy,
                                int dw, int dh, int sx, int sy, int sw, int sh) override;
  int SetStretchMode(int mode) override { return inner_.SetStretchMode(mode); }
  void EndStep() override;

 private:
  BlitLayer& inner_;
};
