#include "imaging/DirtyRectList.h"

void CDirtyRectList::Add(const CRect& rect) {
  CRect overlap;
  if (!rects_.empty() && overlap.IntersectRect(&rects_.front(), &rect)) {
    rects_.front() |= rect;
    return;
  }
  rects_.push_front(rect);
}

void CDirtyRectList::Flush(const RectAction& render, const RectAction& draw) {
  // A copy: rendering must not be able to invalidate the walk by queuing more rectangles.
  const std::deque<CRect> queued = rects_;
  for (const CRect& rect : queued) render(rect);
  while (!rects_.empty()) {
    const CRect rect = rects_.front();
    rects_.pop_front();
    draw(rect);
  }
}
