#include "transitions/GdiBlit.h"

GdiBlitLayer::GdiBlitLayer(HDC destination, const GdiSurface& a, const GdiSurface& b)
    : destination_(destination), a_(a), b_(b) {}

void GdiBlitLayer::Copy(BlitSurface from, int dx, int dy, int w, int h, int sx, int sy) {
  if (w <= 0 || h <= 0) return;
  const GdiSurface& source = Source(from);
  HPALETTE previous = nullptr;
  if (source.palette) {
    previous = ::SelectPalette(destination_, source.palette, FALSE);
    ::RealizePalette(destination_);
  }
  ::BitBlt(destination_, dx, dy, w, h, source.dc, sx, sy, SRCCOPY);
  if (previous) ::SelectPalette(destination_, previous, FALSE);
}

void GdiBlitLayer::Stretch(BlitSurface from, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
                           int sh) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  ::StretchBlt(destination_, dx, dy, dw, dh, Source(from).dc, sx, sy, sw, sh, SRCCOPY);
}

ClipResult GdiBlitLayer::CopyThroughPolygon(BlitSurface from, const POINT* points, int count,
                                            int dx, int dy, int dw, int dh, int sx, int sy, int sw,
                                            int sh) {
  HRGN region = points && count >= 2 ? ::CreatePolygonRgn(points, count, ALTERNATE) : nullptr;
  if (!region) return ClipResult::kFailed;
  ClipResult result = ClipResult::kEmpty;
  const int kind = ::SelectClipRgn(destination_, region);
  if (kind == SIMPLEREGION || kind == COMPLEXREGION) {
    if (dw == sw && dh == sh) {
      Copy(from, dx, dy, dw, dh, sx, sy);
    } else {
      Stretch(from, dx, dy, dw, dh, sx, sy, sw, sh);
    }
    result = ClipResult::kDrawn;
  }
  ::SelectClipRgn(destination_, nullptr);
  ::DeleteObject(region);
  return result;
}

int GdiBlitLayer::SetStretchMode(int mode) { return ::SetStretchBltMode(destination_, mode); }

void GdiBlitLayer::EndStep() { ::GdiFlush(); }
