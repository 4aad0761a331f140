// Dirty rectangles: the parts of the screen that changed since the last frame.
//
// Sprite changes queue rectangles here (through CDirtyRectSink); once per frame the animation code
// flushes the list, which composes every queued rectangle off screen before it shows any, so that
// each blit shows a finished picture.
#pragma once

#include <deque>
#include <functional>

#include "framework/Geometry.h"

// What the sprite list's observer reports changed rectangles to: the screen view, or a headless
// screen host in tests.
class CDirtyRectSink {
 public:
  virtual ~CDirtyRectSink() = default;
  // Queues a rectangle (screen coordinates) to be rendered and shown at the next flush.
  virtual void AddDirtyRect(const CRect* rect) = 0;
};

class CDirtyRectList {
 public:
  using RectAction = std::function<void(const CRect&)>;

  // Overlapping changes in a row merge: when the newest queued rectangle intersects the new one,
  // it becomes the union of the two; otherwise a copy of the new one goes to the head. Only the
  // newest is compared, so a rectangle that meets an older one is queued on its own.
  void Add(const CRect& rect);
  // Renders every queued rectangle, newest first; then removes them one by one from the head and
  // draws each, until the list is empty.
  void Flush(const RectAction& render, const RectAction& draw);
  // Drops every queued rectangle without drawing.
  void Empty() { rects_.clear(); }

  int GetCount() const { return static_cast<int>(rects_.size()); }
  // Queued rectangle number `index`, 0 being the newest.
  const CRect& GetAt(int index) const { return rects_.at(static_cast<size_t>(index)); }

 private:
  std::deque<CRect> rects_;  // the newest at the front
};
