#include "controls/ControlGeometry.h"

#include <algorithm>

namespace {

// A thumb coordinate that GDI can take, whatever position it came from.
int ToCoordinate(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, -(int64_t{1} << 28), int64_t{1} << 28));
}

// The position a point at `offset` pixels along a track of `span` pixels means.
int32_t PositionAlong(int64_t offset, int64_t span, int32_t minimum, int32_t maximum) {
  if (maximum <= minimum || span <= 0) return minimum;
  const int64_t range = int64_t{maximum} - minimum;
  return ClampToRange(offset * range / span + minimum, minimum, maximum);
}

// The offset along a track of `span` pixels of a position.
int64_t OffsetOf(int32_t position, int64_t span, int32_t minimum, int32_t maximum) {
  if (maximum <= minimum || span <= 0) return 0;
  return (int64_t{position} - minimum) * span / (int64_t{maximum} - minimum);
}

}  // namespace

int32_t ClampToRange(int64_t position, int32_t minimum, int32_t maximum) {
  if (maximum <= minimum) return minimum;
  return static_cast<int32_t>(std::clamp<int64_t>(position, minimum, maximum));
}

int VSliderThumbCentre(int h, int32_t position, int32_t minimum, int32_t maximum) {
  return ToCoordinate(h / 10 + OffsetOf(position, 8 * int64_t{h} / 10, minimum, maximum));
}

int32_t VSliderPositionAt(int y, int h, int32_t minimum, int32_t maximum) {
  return PositionAlong(int64_t{y} - h / 10, 8 * int64_t{h} / 10, minimum, maximum);
}

int HSliderThumbCentre(int w, int t, int32_t position, int32_t minimum, int32_t maximum) {
  return ToCoordinate(OffsetOf(position, int64_t{w} - t, minimum, maximum) + t / 2);
}

int32_t HSliderPositionAt(int x, int w, int t, int32_t minimum, int32_t maximum) {
  return PositionAlong(int64_t{x} - t / 2, int64_t{w} - t, minimum, maximum);
}

RECT ImageViewRect(int W, int H, int iw, int ih, bool fit) {
  if (!fit) return RECT{0, 0, W, H};
  if (iw <= 0 || ih <= 0) return RECT{W / 2, H / 2, W / 2, H / 2};
  int64_t rw = iw, rh = ih;
  const int64_t wPrime = int64_t{H} * iw / ih;
  if (W > wPrime) {
    if (ih > H) {
      rw = wPrime;
      rh = H;
    }
  } else if (iw > W) {
    rw = W;
    rh = int64_t{W} * ih / iw;
  }
  const int left = W / 2 - static_cast<int>(rw / 2);
  const int top = H / 2 - static_cast<int>(rh / 2);
  return RECT{left, top, left + static_cast<int>(rw), top + static_cast<int>(rh)};
}

bool PointInRect(const RECT& rect, int x, int y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}
