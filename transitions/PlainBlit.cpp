#include "transitions/PlainBlit.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "imaging/DIB.h"

PixelPlane PlaneOf(CDIB& dib) {
  PixelPlane plane;
  if (!dib.header || !dib.bits) return plane;
  const int depth = dib.header->bmiHeader.biBitCount;
  const int w = dib.GetWidth();
  const int h = dib.GetHeight();
  if ((depth != 8 && depth != 24) || w <= 0 || h <= 0) return plane;
  const ptrdiff_t stride = dib.GetStorageWidth();
  plane.top = dib.bits + (h - 1) * stride;
  plane.pitch = -stride;
  plane.width = w;
  plane.height = h;
  plane.bytesPerPixel = depth / 8;
  return plane;
}

namespace {

// Clips a 1:1 span so that it lies inside both [0, toLimit) and [0, fromLimit).
bool ClipBoth(int& to, int& from, int& size, int toLimit, int fromLimit) {
  int64_t shift = std::max<int64_t>({0, -int64_t{to}, -int64_t{from}});
  int64_t n = std::min<int64_t>(
      {int64_t{size} - shift, int64_t{toLimit} - to - shift, int64_t{fromLimit} - from - shift});
  if (n <= 0) return false;
  to += static_cast<int>(shift);
  from += static_cast<int>(shift);
  size = static_cast<int>(n);
  return true;
}

// The source coordinate that destination coordinate `d` of a stretch takes: the source pixel
// under the centre of the destination pixel.
int StretchSource(int d, int dOrigin, int dSize, int sOrigin, int sSize) {
  return sOrigin +
         static_cast<int>((2 * (int64_t{d} - dOrigin) + 1) * sSize / (2 * int64_t{dSize}));
}

}  // namespace

PlainBlitLayer::PlainBlitLayer(const PixelPlane& destination, const PixelPlane& a,
                               const PixelPlane& b)
    : destination_(destination), a_(a), b_(b) {}

bool PlainBlitLayer::Usable(const PixelPlane& source) const {
  return source.top && destination_.top && source.bytesPerPixel == destination_.bytesPerPixel;
}

void PlainBlitLayer::Copy(BlitSurface from, int dx, int dy, int w, int h, int sx, int sy) {
  const PixelPlane& source = Source(from);
  if (!Usable(source)) return;
  if (!ClipBoth(dx, sx, w, destination_.width, source.width)) return;
  if (!ClipBoth(dy, sy, h, destination_.height, source.height)) return;
  const size_t bytes = static_cast<size_t>(w) * destination_.bytesPerPixel;
  for (int row = 0; row < h; ++row) {
    std::memmove(destination_.Pixel(dx, dy + row), source.Pixel(sx, sy + row), bytes);
  }
}

void PlainBlitLayer::MapRow(const PixelPlane& source, int y, int x0, int x1,
                            const std::vector<int>& columns, int columnBase, int row) {
  if (row < 0 || row >= source.height) return;
  const int bpp = destination_.bytesPerPixel;
  BYTE* out = destination_.Pixel(x0, y);
  for (int x = x0; x < x1; ++x, out += bpp) {
    int column = columns[x - columnBase];
    if (column >= 0) std::memcpy(out, source.Pixel(column, row), bpp);
  }
}

void PlainBlitLayer::Stretch(BlitSurface from, int dx, int dy, int dw, int dh, int sx, int sy,
                             int sw, int sh) {
  const PixelPlane& source = Source(from);
  if (!Usable(source) || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const int x0 = std::max(dx, 0),
            x1 = static_cast<int>(std::min<int64_t>(int64_t{dx} + dw, destination_.width));
  const int y0 = std::max(dy, 0),
            y1 = static_cast<int>(std::min<int64_t>(int64_t{dy} + dh, destination_.height));
  if (x0 >= x1 || y0 >= y1) return;
  columns_.assign(x1 - x0, -1);
  for (int x = x0; x < x1; ++x) {
    int column = StretchSource(x, dx, dw, sx, sw);
    if (column >= 0 && column < source.width) columns_[x - x0] = column;
  }
  for (int y = y0; y < y1; ++y)
    MapRow(source, y, x0, x1, columns_, x0, StretchSource(y, dy, dh, sy, sh));
}

ClipResult PlainBlitLayer::CopyThroughPolygon(BlitSurface from, const POINT* points, int count,
                                              int dx, int dy, int dw, int dh, int sx, int sy,
                                              int sw, int sh) {
  if (!points || count < 2) return ClipResult::kFailed;
  const PixelPlane& source = Source(from);
  if (!Usable(source) || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return ClipResult::kEmpty;
  const int left = std::max(dx, 0),
            right = static_cast<int>(std::min<int64_t>(int64_t{dx} + dw, destination_.width));
  const int top = std::max(dy, 0),
            bottom = static_cast<int>(std::min<int64_t>(int64_t{dy} + dh, destination_.height));
  spans_.clear();
  PolygonSpans(points, count, left, top, right, bottom, spans_);
  if (spans_.empty()) return ClipResult::kEmpty;
  const bool oneToOne = dw == sw && dh == sh;
  if (!oneToOne) {
    columns_.assign(right - left, -1);
    for (int x = left; x < right; ++x) {
      int column = StretchSource(x, dx, dw, sx, sw);
      if (column >= 0 && column < source.width) columns_[x - left] = column;
    }
  }
  for (const PolygonSpan& span : spans_) {
    if (oneToOne) {
      Copy(from, span.x0, span.y, span.x1 - span.x0, 1, sx + span.x0 - dx, sy + span.y - dy);
    } else {
      MapRow(source, span.y, span.x0, span.x1, columns_, left,
             StretchSource(span.y, dy, dh, sy, sh));
    }
  }
  return ClipResult::kDrawn;
}

int PlainBlitLayer::SetStretchMode(int mode) {
  int previous = stretchMode_;
  stretchMode_ = mode;
  return previous;
}
