// The routines' square textures: a picture area shrunk onto a ground, and a resized logo.
#include "routines/RoutineTexture.h"

#include <algorithm>
#include <memory>
#include <new>

#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/Resample.h"
#include "imaging/ScreenHost.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using texturebuild::IsEightBit;
using texturebuild::Make;

// The square's ground: the logo's top-left corner, or the ramp's darkest grey.
void PaintGround(CDIB& tex, int n, CDIB* logo, int rampBase) {
  if (IsEightBit(logo)) {
    logo->CopyBits(&tex, 0, 0, std::min(n, logo->GetWidth()), std::min(n, logo->GetHeight()), 0, 0,
                   -1);
    if (logo->GetWidth() >= n && logo->GetHeight() >= n) return;
  }
  for (int y = 0; y < n; ++y) {
    BYTE* row = tex.GetPixelAddress(0, y);
    const int from = IsEightBit(logo) && y < logo->GetHeight() ? std::min(n, logo->GetWidth()) : 0;
    std::fill(row + from, row + n, static_cast<BYTE>(rampBase));
  }
}

}  // namespace

bool ShrinkPicture(CDIB& whole, CColorPalette* palette, int w, int h, CDIB& into, int x0, int y0) {
#ifdef _WIN32
  std::unique_ptr<CDIBSurface> s1 = Make<CDIBSurface>(), s2 = Make<CDIBSurface>();
  if (!s1 || !s2 || !s1->Create(whole.GetWidth(), whole.GetHeight(), palette) ||
      !s2->Create(w, h, palette)) {
    return false;
  }
  whole.CopyBits(s1.get(), 0, 0, whole.GetWidth(), whole.GetHeight(), 0, 0, -1);
  HDC dc = s2->memoryDC.GetSafeHdc();
  const int mode = GetStretchBltMode(dc);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, w, h, s1->memoryDC.GetSafeHdc(), 0, 0, whole.GetWidth(), whole.GetHeight(),
             SRCCOPY);
  SetStretchBltMode(dc, mode);
  GdiFlush();
  s2->CopyBits(&into, x0, y0, w, h, 0, 0, -1);
  return true;
#else
  std::unique_ptr<CDIB> s2 = Make<CDIB>();
  if (!s2 || !s2->Create(w, h, palette) || !StretchDIB8(&whole, s2.get())) return false;
  s2->CopyBits(&into, x0, y0, w, h, 0, 0, -1);
  return true;
#endif
}

CDIB* BuildRoutineTexture(ScreenHost* host, const RECT& area, int n, CDIB* logo) {
  CDIB* background = host != nullptr ? host->GetBackground() : nullptr;
  if (!IsEightBit(background) || n <= 0 || n > CDIB::kMaxSide) return nullptr;
  std::unique_ptr<CColorPalette> palette = Make<CColorPalette>();
  std::unique_ptr<CDIB> tex = Make<CDIB>();
  if (!palette || !tex || !palette->CreateFromDIB(background) ||
      !tex->Create(n, n, palette.get())) {
    return nullptr;
  }
  PaintGround(*tex, n, logo, host->GetReservedEntries());

  // The area on the background only.
  const LONG left = std::max<LONG>(area.left, 0), top = std::max<LONG>(area.top, 0);
  const LONG right = std::min<LONG>(area.right, background->GetWidth());
  const LONG bottom = std::min<LONG>(area.bottom, background->GetHeight());
  const int aw = right - left, ah = bottom - top;
  if (aw <= 0 || ah <= 0) return tex.release();

  // Fit inside the square with the proportions kept, centred.
  int w = static_cast<int>(int64_t{n} * aw / ah), h = n, x0 = (n - w) / 2, y0 = 0;
  if (w > n) {
    w = n;
    h = static_cast<int>(int64_t{n} * ah / aw);
    x0 = 0;
    y0 = (n - h) / 2;
  }
  if (w <= 0 || h <= 0) return tex.release();
  std::unique_ptr<CDIB> whole = Make<CDIB>();
  if (!whole || !whole->Create(aw, ah, palette.get())) return nullptr;
  background->CopyBits(whole.get(), 0, 0, aw, ah, left, top, -1);
  if (!ShrinkPicture(*whole, palette.get(), w, h, *tex, x0, y0)) return nullptr;
  return tex.release();
}

CDIB* LoadLogoTexture(ScreenHost* host, CDIB* logo, int n) {
  CDIB* background = host != nullptr ? host->GetBackground() : nullptr;
  if (!IsEightBit(background) || !IsEightBit(logo) || n <= 0 || n > CDIB::kMaxSide) return nullptr;
  // Resized in the logo's colours, straight onto the screen's: a logo's table is seldom a ramp,
  // and a blend of its pixel values picked unrelated entries (a speckled emblem).
  std::unique_ptr<CColorPalette> screenColours = Make<CColorPalette>();
  std::unique_ptr<CDIB> result = Make<CDIB>();
  if (!screenColours || !result || !screenColours->CreateFromDIB(background) ||
      !result->Create(n, n, screenColours.get()) || !StretchDIB8InColour(logo, result.get())) {
    return nullptr;
  }
  return result.release();
}

bool texturebuild::IsEightBit(const CDIB* dib) {
  return dib != nullptr && dib->header != nullptr && dib->bits != nullptr &&
         dib->header->bmiHeader.biBitCount == 8;
}
