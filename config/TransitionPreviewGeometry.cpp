#include "config/TransitionPreviewGeometry.h"

#include <cstdint>

#include "imaging/CopyClip.h"

namespace {

RECT Rect(int64_t x, int64_t y, int64_t w, int64_t h) {
  RECT r;
  r.left = static_cast<LONG>(x);
  r.top = static_cast<LONG>(y);
  r.right = static_cast<LONG>(x + w);
  r.bottom = static_cast<LONG>(y + h);
  return r;
}

constexpr RECT kEmpty{0, 0, 0, 0};

}  // namespace

RECT MiniScreenRect(const RECT& box) {
  const int64_t w = int64_t{box.right} - box.left, h = int64_t{box.bottom} - box.top;
  int64_t mw = w - kMiniScreenMargin, mh = h - kMiniScreenMargin;
  if (mw <= 0 || mh <= 0) return kEmpty;
  if (mh < mw * 3 / 4)
    mw = mh * 4 / 3;
  else
    mh = mw * 3 / 4;
  if (mw <= 0 || mh <= 0) return kEmpty;  // a sliver: one side shrinks to nothing
  return Rect(box.left + (w - mw) / 2, box.top + (h - mh) / 2, mw, mh);
}

RECT CentredImageRect(int sw, int sh, int w, int h) {
  if (sw <= 0 || sh <= 0 || w <= 0 || h <= 0) return kEmpty;
  const Span x = CentredSpan(sw, w), y = CentredSpan(sh, h);
  return Rect(x.to, y.to, x.length, y.length);
}

RECT MiniImageRect(const RECT& mini, int sw, int sh, const RECT& image) {
  if (sw <= 0 || sh <= 0) return kEmpty;
  const int64_t mw = int64_t{mini.right} - mini.left, mh = int64_t{mini.bottom} - mini.top;
  const int64_t iw = int64_t{image.right} - image.left, ih = int64_t{image.bottom} - image.top;
  const int64_t w = mw * iw / sw, h = mh * ih / sh;
  const int64_t cx = mini.left + mw / 2, cy = mini.top + mh / 2;
  return Rect(cx - w / 2, cy - h / 2, w, h);
}

PreviewEffect ChoosePreviewEffect(int effectId, int imageWidth, int imageHeight) {
  if (imageWidth >= kSmallPreviewSide && imageHeight >= kSmallPreviewSide)
    return PreviewEffect{effectId, false};
  // Compared as products: a picture of height 0 has no ratio but still a shape.
  const int64_t w = imageWidth, h = imageHeight;
  if (2 * w > h && w < 2 * h) return PreviewEffect{118, true};
  return PreviewEffect{w >= h ? 110 : 112, true};
}
