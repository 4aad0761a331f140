// The plain-buffer blit layer: the effects drawn into pixel buffers in memory, with no device
// context. Native tests and benchmarks run every effect through it; a headless screen host can too.
//
// Surfaces and destination must have the same depth (8-bit palette indexes or 24-bit pixels);
// indexes are copied as they are, since the surfaces of a transition share the view's palette.
// A layer whose buffers differ in depth draws nothing.
//
// Scaling samples the source nearest to each destination pixel's centre, as GDI's colour-on-colour
// stretch mode does: destination pixel x takes source pixel sx + ((2 (x - dx) + 1) * sw) / (2 dw).
// The stretch mode is only recorded. Polygon clips follow PolygonFill.h.
#pragma once

#include <cstddef>
#include <vector>

#include "framework/WinTypes.h"
#include "transitions/Blit.h"
#include "transitions/PolygonFill.h"

class CDIB;

// Pixels in memory, addressed from the top row down whatever their order in memory.
struct PixelPlane {
  BYTE* top = nullptr;  // first byte of the top row
  ptrdiff_t pitch = 0;  // bytes from a row to the one below it (negative for bottom-up rows)
  int width = 0;
  int height = 0;
  int bytesPerPixel = 1;  // 1 or 3

  BYTE* Pixel(int x, int y) const { return top + y * pitch + x * bytesPerPixel; }
};

// The pixels of an 8-bit or 24-bit bitmap (rows bottom-up, padded to 4 bytes); an empty plane
// for any other bitmap.
PixelPlane PlaneOf(CDIB& dib);

class PlainBlitLayer : public BlitLayer {
 public:
  PlainBlitLayer(const PixelPlane& destination, const PixelPlane& a, const PixelPlane& b);

  void Copy(BlitSurface from, int dx, int dy, int w, int h, int sx, int sy) override;
  void Stretch(BlitSurface from, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
               int sh) override;
  ClipResult CopyThroughPolygon(BlitSurface from, const POINT* points, int count, int dx, int dy,
                                int dw, int dh, int sx, int sy, int sw, int sh) override;
  int SetStretchMode(int mode) override;

  int StretchMode() const { return stretchMode_; }

 private:
  const PixelPlane& Source(BlitSurface from) const { return from == BlitSurface::A ? a_ : b_; }
  bool Usable(const PixelPlane& source) const;
  // Destination pixels [x0, x1) of row y from the source pixels that `columns` and `row` map
  // them to (-1: outside the source, left alone).
  void MapRow(const PixelPlane& source, int y, int x0, int x1, const std::vector<int>& columns,
              int columnBase, int row);

  PixelPlane destination_;
  PixelPlane a_;
  PixelPlane b_;
  int stretchMode_ = kStretchBlackOnWhite;
  std::vector<PolygonSpan> spans_;
  std::vector<int> columns_;
};
