#include "imaging/Raster8.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "imaging/DIB.h"

int32_t GreyRampBaseIndex = 0;

namespace {

// The pixels of an 8-bit bitmap with an inclusive clip rectangle that never reaches past the
// bitmap. Coordinates are 64-bit so that stepping beyond a far end point cannot overflow.
class Canvas {
 public:
  // False when the bitmap cannot be drawn into (no bits, or not 8 bits per pixel).
  bool Open(CDIB* dib) {
    if (!dib || !dib->header || !dib->bits || dib->header->bmiHeader.biBitCount != 8) return false;
    bits_ = dib->bits;
    stride_ = dib->GetStorageWidth();
    height_ = dib->GetHeight();
    minX_ = 0;
    minY_ = 0;
    maxX_ = int64_t{dib->GetWidth()} - 1;
    maxY_ = int64_t{height_} - 1;
    return true;
  }

  // Narrows the clip to the rectangle spanned by two corners given in any order.
  void ClipTo(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    minX_ = std::max(minX_, std::min(x1, x2));
    maxX_ = std::min(maxX_, std::max(x1, x2));
    minY_ = std::max(minY_, std::min(y1, y2));
    maxY_ = std::min(maxY_, std::max(y1, y2));
  }

  // Pixel (x, y), y counted from the top, when it lies inside the clip.
  void Plot(int64_t x, int64_t y, int index) const {
    if (x < minX_ || x > maxX_ || y < minY_ || y > maxY_) return;
    bits_[(int64_t{height_} - 1 - y) * stride_ + x] = static_cast<BYTE>(index);
  }

 private:
  BYTE* bits_ = nullptr;
  int64_t stride_ = 0;
  int height_ = 0;
  int64_t minX_ = 0, minY_ = 0, maxX_ = -1, maxY_ = -1;
};

// The grey-ramp entries of one antialiased call.
struct Levels {
  explicit Levels(int flag)
      : base(GreyRampBaseIndex & 0xFF), max(flag ? 31 : 7), shift(flag ? 11 : 13) {}
  int Solid() const { return base + max; }
  // Intensity w (0 = full) of the pixel on the line, and of its partner across the line.
  int Near(int w) const { return base + max - w; }
  int Far(int w) const { return base + max - (w ^ max); }

  int base;
  int max;    // the line's own level; the number of levels is max + 1, a power of two
  int shift;  // from the 16-bit fraction to an intensity: 16 minus the intensity bits
};

void Bresenham(const Canvas& canvas, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int colour) {
  if (y1 < y0) {
    std::swap(x0, x1);
    std::swap(y0, y1);
  }
  const int64_t dx = x1 - x0;
  const int64_t dy = y1 - y0;
  const int xstep = dx > 0 ? 1 : -1;
  const int64_t adx = dx < 0 ? -dx : dx;
  int64_t x = x0;
  int64_t y = y0;
  canvas.Plot(x, y, colour);
  if (adx > dy) {  // x-major; a tie goes to the y-major branch
    int64_t e = 2 * dy - adx;
    for (int64_t i = 0; i < adx; ++i) {
      x += xstep;
      if (e >= 0) {
        ++y;
        e += 2 * dy - 2 * adx;
      } else {
        e += 2 * dy;
      }
      canvas.Plot(x, y, colour);
    }
    return;
  }
  int64_t e = 2 * adx - dy;
  for (int64_t i = 0; i < dy; ++i) {
    if (e >= 0) {
      x += xstep;
      e += 2 * adx - 2 * dy;
    } else {
      e += 2 * adx;
    }
    ++y;
    canvas.Plot(x, y, colour);
  }
}

// Horizontal, vertical or exactly diagonal: `count` more solid pixels after the start point.
void SolidRun(const Canvas& canvas, int64_t x, int64_t y, int xstep, int ystep, int64_t count,
              int colour) {
  for (int64_t i = 0; i < count; ++i) {
    x += xstep;
    y += ystep;
    canvas.Plot(x, y, colour);
  }
}

void WuLine(const Canvas& canvas, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int flag) {
  const Levels levels(flag);
  if (y0 > y1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
  }
  canvas.Plot(x0, y0, levels.Solid());
  const int xdir = x1 >= x0 ? 1 : -1;
  const int64_t dx = x1 >= x0 ? x1 - x0 : x0 - x1;
  const int64_t dy = y1 - y0;
  if (dy == 0) return SolidRun(canvas, x0, y0, xdir, 0, dx, levels.Solid());
  if (dx == 0) return SolidRun(canvas, x0, y0, 0, 1, dy, levels.Solid());
  if (dx == dy) return SolidRun(canvas, x0, y0, xdir, 1, dy, levels.Solid());

  // The error accumulator is a 16-bit fraction of a pixel; its wrap-around marks the step of
  // the minor coordinate, and its top bits give the intensities of the pixel pair.
  const bool yMajor = dy > dx;
  const int64_t major = yMajor ? dy : dx;
  const int64_t minor = yMajor ? dx : dy;
  const uint32_t adjust =
      static_cast<uint32_t>((static_cast<uint64_t>(minor) << 16) / static_cast<uint64_t>(major));
  uint32_t acc = 0;
  int64_t x = x0;
  int64_t y = y0;
  for (int64_t i = 1; i < major; ++i) {
    const uint32_t old = acc;
    acc = (acc + adjust) & 0xFFFF;
    const bool wrapped = acc <= old;
    const int w = static_cast<int>(acc >> levels.shift);
    if (yMajor) {
      if (wrapped) x += xdir;
      ++y;
      canvas.Plot(x, y, levels.Near(w));
      canvas.Plot(x + xdir, y, levels.Far(w));
    } else {
      if (wrapped) ++y;
      x += xdir;
      canvas.Plot(x, y, levels.Near(w));
      canvas.Plot(x, y + 1, levels.Far(w));
    }
  }
  canvas.Plot(x1, y1, levels.Solid());
}

// One step of an ellipse arc: the other coordinate at distance `along` from the centre on the
// axis of radius `radius` (the other radius being `across`), rounded, with the intensity of the
// rounded pixel and the side (+1 or -1, 0 for none) of its antialiasing partner.
struct ArcPoint {
  int64_t offset;
  int w;
  int dir;
};

ArcPoint ArcStep(double along, double radius, double across, const Levels& levels) {
  const double t = across * across - (along * along) / (radius * radius) * (across * across);
  if (t < 0) return {0, 0, 0};
  const double r = std::sqrt(t);
  double d = r - std::trunc(r) - 0.5;
  int dir = 1;
  if (d < 0) {
    dir = -1;
    d = -d;
  }
  const int w = static_cast<int>(std::trunc((0.5 - d) * 65536.0 + 0.5)) >> levels.shift;
  if (w == 0) dir = 0;
  return {static_cast<int64_t>(std::trunc(r + 0.5)), w, dir};
}

void WuEllipse(const Canvas& canvas, int64_t cx, int64_t cy, int64_t a, int64_t b, int flag) {
  const Levels levels(flag);
  const double a2 = static_cast<double>(a) * static_cast<double>(a);
  const double b2 = static_cast<double>(b) * static_cast<double>(b);

  canvas.Plot(cx, cy + b, levels.Solid());
  canvas.Plot(cx, cy - b, levels.Solid());
  // Upper and lower arcs, stepping x until the slope passes 1.
  for (int64_t x = 1;; ++x) {
    const ArcPoint p =
        ArcStep(static_cast<double>(x), static_cast<double>(a), static_cast<double>(b), levels);
    if (static_cast<double>(p.offset) / b2 <= static_cast<double>(x) / a2) break;
    for (int64_t px : {cx + x, cx - x}) {
      canvas.Plot(px, cy + p.offset, levels.Near(p.w));
      canvas.Plot(px, cy - p.offset, levels.Near(p.w));
      if (p.dir != 0) {
        canvas.Plot(px, cy - p.offset + p.dir, levels.Far(p.w));
        canvas.Plot(px, cy + p.offset - p.dir, levels.Far(p.w));
      }
    }
  }

  canvas.Plot(cx + a, cy, levels.Solid());
  canvas.Plot(cx - a, cy, levels.Solid());
  // Left and right arcs, stepping y.
  for (int64_t y = 1;; ++y) {
    const ArcPoint p =
        ArcStep(static_cast<double>(y), static_cast<double>(b), static_cast<double>(a), levels);
    if (static_cast<double>(p.offset) / a2 < static_cast<double>(y) / b2) break;
    for (int64_t py : {cy + y, cy - y}) {
      canvas.Plot(cx + p.offset, py, levels.Near(p.w));
      canvas.Plot(cx - p.offset, py, levels.Near(p.w));
      if (p.dir != 0) {
        canvas.Plot(cx + p.offset - p.dir, py, levels.Far(p.w));
        canvas.Plot(cx - p.offset + p.dir, py, levels.Far(p.w));
      }
    }
  }
}

}  // namespace

void DrawLine8(CDIB* dib, int x0, int y0, int x1, int y1, int colour) {
  Canvas canvas;
  if (canvas.Open(dib)) Bresenham(canvas, x0, y0, x1, y1, colour);
}

void DrawLine8B(CDIB* dib, int x0, int y0, int x1, int y1, int colour) {
  DrawLine8(dib, x0, y0, x1, y1, colour);
}

void DrawWuLine8(CDIB* dib, int x0, int y0, int x1, int y1, int flag) {
  Canvas canvas;
  if (canvas.Open(dib)) WuLine(canvas, x0, y0, x1, y1, flag);
}

void DrawWuLineClipped8(CDIB* dib, int x0, int y0, int x1, int y1, int clipX1, int clipY1,
                        int clipX2, int clipY2, int flag) {
  Canvas canvas;
  if (!canvas.Open(dib)) return;
  canvas.ClipTo(clipX1, clipY1, clipX2, clipY2);
  WuLine(canvas, x0, y0, x1, y1, flag);
}

void DrawWuEllipse8(CDIB* dib, int cx, int cy, int a, int b, int flag) {
  Canvas canvas;
  if (!canvas.Open(dib)) return;
  const int64_t ra = std::llabs(int64_t{a});
  const int64_t rb = std::llabs(int64_t{b});
  if (ra == 0 || rb == 0) {
    // The arcs divide by both radii: a flat ellipse is the line between its extreme points.
    WuLine(canvas, cx - ra, cy - rb, cx + ra, cy + rb, flag);
    return;
  }
  WuEllipse(canvas, cx, cy, ra, rb, flag);
}
