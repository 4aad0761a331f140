// The GDI blit layer (Windows only): the effects drawn onto a device context from two surfaces
// held in memory device contexts.
//
// 1:1 copies select the surface's palette into the destination in the foreground, realise it,
// BitBlt with SRCCOPY and select the previous palette back, so that 8-bit pictures keep their
// colours on palette displays. Stretched copies are StretchBlt with SRCCOPY in the destination's
// current stretch mode. A copy through a polygon makes an alternate-fill polygon region, selects
// it as the clipping region, copies when the clip is not empty, then removes the clipping region
// and deletes the region: the device context is left without a clipping region and no GDI object
// outlives the call.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include "transitions/Blit.h"

// A surface as GDI sees it: the memory device context its bitmap is selected into, and the
// palette to realise for 1:1 copies (none: copies realise nothing).
struct GdiSurface {
  HDC dc = nullptr;
  HPALETTE palette = nullptr;
};

class GdiBlitLayer : public BlitLayer {
 public:
  GdiBlitLayer(HDC destination, const GdiSurface& a, const GdiSurface& b);

  void Copy(BlitSurface from, int dx, int dy, int w, int h, int sx, int sy) override;
  void Stretch(BlitSurface from, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
               int sh) override;
  ClipResult CopyThroughPolygon(BlitSurface from, const POINT* points, int count, int dx, int dy,
                                int dw, int dh, int sx, int sy, int sw, int sh) override;
  int SetStretchMode(int mode) override;
  // Flushes GDI's batch so that the step shows while the effect waits.
  void EndStep() override;

 private:
  const GdiSurface& Source(BlitSurface from) const { return from == BlitSurface::A ? a_ : b_; }

  HDC destination_;
  GdiSurface a_;
  GdiSurface b_;
};
#endif
