// A blit layer that draws nothing and records every copy with the step it belongs to, for tests
// of an effect's pieces, polygons and step counts.
#pragma once

#include <vector>

#include "transitions/Blit.h"

namespace fxtest {

struct BlitOp {
  enum Kind { kCopy, kStretch, kPolygon } kind;
  int step;
  BlitSurface from;
  int dx, dy, dw, dh;  // destination rectangle (1:1 copies: dw, dh are the copy's size)
  int sx, sy, sw, sh;  // source rectangle
  std::vector<POINT> points;
};

class RecordingLayer : public BlitLayer {
 public:
  void Copy(BlitSurface from, int dx, int dy, int w, int h, int sx, int sy) override {
    ops.push_back({BlitOp::kCopy, steps, from, dx, dy, w, h, sx, sy, w, h, {}});
  }
  void Stretch(BlitSurface from, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
               int sh) override {
    ops.push_back({BlitOp::kStretch, steps, from, dx, dy, dw, dh, sx, sy, sw, sh, {}});
  }
  ClipResult CopyThroughPolygon(BlitSurface from, const POINT* points, int count, int dx, int dy,
                                int dw, int dh, int sx, int sy, int sw, int sh) override {
    ops.push_back({BlitOp::kPolygon, steps, from, dx, dy, dw, dh, sx, sy, sw, sh,
                   std::vector<POINT>(points, points + count)});
    if (failPolygonsFrom >= 0 && polygons++ >= failPolygonsFrom) return ClipResult::kFailed;
    return ClipResult::kDrawn;
  }
  int SetStretchMode(int mode) override {
    int previous = stretchMode;
    stretchMode = mode;
    return previous;
  }
  void EndStep() override { ++steps; }

  // The operations of one step.
  std::vector<BlitOp> OfStep(int step) const {
    std::vector<BlitOp> out;
    for (const BlitOp& op : ops)
      if (op.step == step) out.push_back(op);
    return out;
  }

  std::vector<BlitOp> ops;
  int steps = 0;
  int stretchMode = kStretchBlackOnWhite;
  int failPolygonsFrom = -1;  // polygon copies from this one on report kFailed
  int polygons = 0;
};

}  // namespace fxtest
