// Steps per second of a caption's slide and fly-apart in real time, counted from the screen's
// flushes: while the block slides, five caption sprites are listed (the block and its four waiting
// quarters) and each step flushes once; while the quarters fly, four are listed and each step
// flushes once per quarter. The figures are reported, never asserted.
#pragma once

#include <chrono>
#include <cstdio>

#include "imaging/SpriteList.h"

namespace captiontest {

class CaptionSteps {
 public:
  // Call on every flush of the screen with its sprite list.
  void OnFlush(const CSpriteList& sprites) {
    const double now = std::chrono::duration<double>(Clock::now() - start_).count();
    Phase& phase = sprites.GetCount() == 5 ? slide_ : fly_;
    if (sprites.GetCount() != 5 && sprites.GetCount() != 4) return;
    if (phase.flushes++ == 0) phase.first = now;
    phase.last = now;
  }
  void Print(const char* where) const {
    std::printf("%s: slide %.0f steps/s (%d steps), fly-apart %.0f steps/s (%d steps)\n", where,
                slide_.Rate(1), slide_.flushes, fly_.Rate(4), fly_.flushes / 4);
  }

 private:
  using Clock = std::chrono::steady_clock;
  struct Phase {
    int flushes = 0;
    double first = 0, last = 0;
    double Rate(int flushesPerStep) const {
      return last > first ? (flushes / flushesPerStep) / (last - first) : 0;
    }
  };
  Clock::time_point start_ = Clock::now();
  Phase slide_, fly_;
};

}  // namespace captiontest
