// The dispatcher's entry on a device context and two off-screen surfaces (Windows): the effects
// draw through the GDI blit layer, copying from the surfaces' memory device contexts.
#include "framework/Dc.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "transitions/GdiBlit.h"
#include "transitions/TransFXDispatch.h"

namespace {

GdiSurface SurfaceOf(CDIBSurface& surface) {
  GdiSurface gdi;
  gdi.dc = surface.memoryDC.GetSafeHdc();
  if (CColorPalette* palette = surface.GetPalette()) {
    gdi.palette = static_cast<HPALETTE>(palette->GetSafeHandle());
  }
  return gdi;
}

}  // namespace

BOOL TransFXDispatch(CDC* dc, int dx, int dy, int dw, int dh, CDIBSurface* surfaceA, int ax, int ay,
                     int sw, int sh, CDIBSurface* surfaceB, int bx, int by, int effect, int par0,
                     int par1, int par2, BOOL offScreen, const RECT* screen) {
  // Without a device context or a surface nothing can be drawn: a failure, not a crash.
  if (!dc || !dc->GetSafeHdc() || !surfaceA || !surfaceB) return FALSE;
  GdiBlitLayer layer(dc->GetSafeHdc(), SurfaceOf(*surfaceA), SurfaceOf(*surfaceB));
  return TransFXDispatch(layer, dx, dy, dw, dh, ax, ay, sw, sh, bx, by, effect, par0, par1, par2,
                         offScreen, screen);
}
