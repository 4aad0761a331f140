// Helpers for tests of the two-surface effects (slides, shutters, squeeze, zoom): the area of
// both surfaces handed to a family routine, and the copies it made in area coordinates.
#pragma once

#include <ostream>
#include <vector>

#include "tests/native/transitions/FxRecorder.h"
#include "transitions/TransFXFamilies.h"

namespace fxtest {

// Destination at (10, 20), area A at (3, 4), area B at (30, 1); all the same size.
constexpr int kTwoDx = 10, kTwoDy = 20, kTwoAx = 3, kTwoAy = 4, kTwoBx = 30, kTwoBy = 1;

inline FxTwoSurface TwoSurfaceArea(BlitLayer& layer, int w, int h) {
  static const RECT screen{0, 0, 2000, 2000};
  return {&layer, kTwoDx, kTwoDy, w, h, kTwoAx, kTwoAy, w, h, kTwoBx, kTwoBy, &screen};
}

// One copy in area coordinates: the surface, where it went, where it came from and its size. A
// stretched copy keeps the source size in fromW x fromH and the destination size in w x h.
struct AreaCopy {
  char surface;  // 'A' or 'B'
  int toX, toY, fromX, fromY, w, h, fromW, fromH;
  bool operator==(const AreaCopy& o) const {
    return surface == o.surface && toX == o.toX && toY == o.toY && fromX == o.fromX &&
           fromY == o.fromY && w == o.w && h == o.h && fromW == o.fromW && fromH == o.fromH;
  }
};

inline std::ostream& operator<<(std::ostream& os, const AreaCopy& c) {
  return os << c.surface << " (" << c.fromX << ", " << c.fromY << ", " << c.fromW << "x" << c.fromH
            << ") -> (" << c.toX << ", " << c.toY << ", " << c.w << "x" << c.h << ")";
}

// A 1:1 copy of w x h from (fromX, fromY) to (toX, toY).
inline AreaCopy Moved(char surface, int toX, int toY, int fromX, int fromY, int w, int h) {
  return {surface, toX, toY, fromX, fromY, w, h, w, h};
}
// A piece of a surface copied to its own place.
inline AreaCopy Kept(char surface, int x, int y, int w, int h) {
  return Moved(surface, x, y, x, y, w, h);
}

// The copies of every step, in area coordinates.
inline std::vector<std::vector<AreaCopy>> CopiesByStep(const RecordingLayer& layer) {
  std::vector<std::vector<AreaCopy>> steps(layer.steps);
  for (const BlitOp& op : layer.ops) {
    if (op.step >= layer.steps) continue;
    const bool a = op.from == BlitSurface::A;
    steps[op.step].push_back({a ? 'A' : 'B', op.dx - kTwoDx, op.dy - kTwoDy,
                              op.sx - (a ? kTwoAx : kTwoBx), op.sy - (a ? kTwoAy : kTwoBy), op.dw,
                              op.dh, op.sw, op.sh});
  }
  return steps;
}

using CopySteps = std::vector<std::vector<AreaCopy>>;

using TwoSurfaceRoutine = BOOL (*)(const FxTwoSurface&, int, int, int);

// Runs a routine at full speed on a w x h area: the copies of every step, none when it failed.
inline CopySteps StepsOf(TwoSurfaceRoutine routine, int w, int h, int mode, int par1) {
  RecordingLayer layer;
  if (routine(TwoSurfaceArea(layer, w, h), mode, 0, par1) != TRUE) return {};
  return CopiesByStep(layer);
}

}  // namespace fxtest
