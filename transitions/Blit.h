// The blit layer: the only way the transition effects put pixels on the destination.
//
// An effect copies pieces of one of two prepared surfaces, A or B, onto a destination (the screen
// view's device context in the saver, a plain pixel buffer in tests and benchmarks). Three kinds
// of copy are enough for every effect: a 1:1 rectangle copy, a stretched rectangle copy, and a
// copy of a whole area through a polygon-shaped clip.
//
// Conventions, the same for every implementation:
//  - Coordinates are pixels, x to the right and y downwards from the top-left corner of the
//    destination or of the surface, whatever the row order of the memory behind them.
//  - A rectangle is (x, y, width, height); the pixels it covers are x .. x + width - 1 and
//    y .. y + height - 1. A rectangle with a width or height of 0 or less copies nothing.
//  - Surface A and surface B are the two pictures the dispatcher was given. What they hold depends
//    on the direction of the transition:
//      on screen  (a new picture comes in):  A = the new picture,  B = what the screen shows now;
//      off screen (the picture goes away):   A = what the screen shows now,  B = what replaces it.
//    One-surface effects draw from A on screen and from B off screen; two-surface effects (slides,
//    zoom, squeeze, shutters) draw from both.
//  - Parts of a copy that fall outside the source surface or the destination are not drawn.
#pragma once

#include "framework/WinTypes.h"

enum class BlitSurface { A, B };

// What a copy through a polygon did.
enum class ClipResult {
  kFailed,  // the clipping region could not be made; nothing was drawn
  kEmpty,   // the clip holds no pixel of the destination; nothing was drawn
  kDrawn,   // the area was copied through the clip
};

// Stretch modes, numbered as GDI numbers them.
constexpr int kStretchBlackOnWhite = 1;
constexpr int kStretchColorOnColor = 3;

class BlitLayer {
 public:
  virtual ~BlitLayer() = default;

  // Copies the w x h rectangle at (sx, sy) of a surface 1:1 to (dx, dy) of the destination.
  virtual void Copy(BlitSurface from, int dx, int dy, int w, int h, int sx, int sy) = 0;

  // Copies the sw x sh rectangle at (sx, sy) of a surface into the dw x dh rectangle at
  // (dx, dy) of the destination, scaling it.
  virtual void Stretch(BlitSurface from, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
                       int sh) = 0;

  // Copies the area (sx, sy, sw, sh) of a surface to (dx, dy, dw, dh) - 1:1 when the sizes are
  // equal, stretched otherwise - through the polygon `points` (destination coordinates,
  // alternate (even-odd) fill). Nothing is left clipped afterwards.
  virtual ClipResult CopyThroughPolygon(BlitSurface from, const POINT* points, int count, int dx,
                                        int dy, int dw, int dh, int sx, int sy, int sw, int sh) = 0;

  // Sets the stretch mode of later Stretch copies; returns the mode it replaced.
  virtual int SetStretchMode(int mode) = 0;

  // Called by the pacer when an effect has drawn one step and is about to wait: the GDI layer
  // flushes its batch here so that the step shows for its whole period; test layers snapshot.
  virtual void EndStep() {}
};

// A layer that draws nothing and counts the steps: the dispatcher runs an effect's geometry on it
// to learn its step count, and tests use it where only the pace matters.
class CountingNullLayer : public BlitLayer {
 public:
  void Copy(BlitSurface, int, int, int, int, int, int) override {}
  void Stretch(BlitSurface, int, int, int, int, int, int, int, int) override {}
  ClipResult CopyThroughPolygon(BlitSurface, const POINT*, int, int, int, int, int, int, int, int,
                                int) override {
    return ClipResult::kDrawn;
  }
  int SetStretchMode(int mode) override { return mode; }
  void EndStep() override { ++steps; }
  int steps = 0;
};

// Sets a stretch mode for a scope and puts the previous one back.
class ScopedStretchMode {
 public:
  ScopedStretchMode(BlitLayer& layer, int mode)
      : layer_(layer), previous_(layer.SetStretchMode(mode)) {}
  ~ScopedStretchMode() { layer_.SetStretchMode(previous_); }
  ScopedStretchMode(const ScopedStretchMode&) = delete;
  ScopedStretchMode& operator=(const ScopedStretchMode&) = delete;

 private:
  BlitLayer& layer_;
  int previous_;
};
