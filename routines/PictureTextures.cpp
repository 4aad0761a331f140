#include "routines/PictureTextures.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>

#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "imaging/ScreenHost.h"
#include "routines/RoutineTexture.h"

namespace {

using texturebuild::IsEightBit;
using texturebuild::Make;

// What every builder starts from: the background's colours and a w x h texture on them filled
// with the ramp's darkest grey.
struct TextureStart {
  CDIB* background = nullptr;
  std::unique_ptr<CColorPalette> palette;
  std::unique_ptr<CDIB> tex;
};

bool StartTexture(ScreenHost* host, int w, int h, TextureStart& s) {
  s.background = host != nullptr ? host->GetBackground() : nullptr;
  if (!IsEightBit(s.background) || w <= 0 || h <= 0 || w > CDIB::kMaxSide || h > CDIB::kMaxSide)
    return false;
  s.palette = Make<CColorPalette>();
  s.tex = Make<CDIB>();
  if (!s.palette || !s.tex || !s.palette->CreateFromDIB(s.background) ||
      !s.tex->Create(w, h, s.palette.get())) {
    return false;
  }
  const BYTE ground = static_cast<BYTE>(host->GetReservedEntries() & 0xFF);
  for (int y = 0; y < h; ++y) std::fill_n(s.tex->GetPixelAddress(0, y), w, ground);
  return true;
}

// The area cut to the background: its corner and size (an empty size when nothing is left).
struct AreaCut {
  int left = 0, top = 0, w = 0, h = 0;
};

AreaCut CutArea(const CDIB& background, const RECT* area) {
  AreaCut cut;
  if (area == nullptr) return cut;
  const LONG left = std::max<LONG>(area->left, 0), top = std::max<LONG>(area->top, 0);
  const LONG right = std::min<LONG>(area->right, background.GetWidth());
  const LONG bottom = std::min<LONG>(area->bottom, background.GetHeight());
  if (right <= left || bottom <= top) return cut;
  cut.left = left;
  cut.top = top;
  cut.w = right - left;
  cut.h = bottom - top;
  return cut;
}

// The area shrunk to w x h (then turned a quarter turn when `turn`, ending h wide and w high)
// into a new picture on the palette. Null when memory runs out.
std::unique_ptr<CDIB> ShrunkArea(CDIB& background, const AreaCut& cut, CColorPalette* palette,
                                 int w, int h, bool turn) {
  std::unique_ptr<CDIB> whole = Make<CDIB>(), shrunk = Make<CDIB>();
  if (!whole || !shrunk || !whole->Create(cut.w, cut.h, palette) ||
      !shrunk->Create(w, h, palette)) {
    return nullptr;
  }
  background.CopyBits(whole.get(), 0, 0, cut.w, cut.h, cut.left, cut.top, -1);
  if (!ShrinkPicture(*whole, palette, w, h, *shrunk, 0, 0)) return nullptr;
  if (!turn) return shrunk;
  std::unique_ptr<CDIB> turned = Make<CDIB>();
  if (!turned || !turned->Create(h, w, palette) || !TurnQuarter(*shrunk, *turned)) return nullptr;
  return turned;
}

// How the strips of BuildBackgroundTexture lie: each sw x sh at x = i (sw + gap), n of them,
// made from the area shrunk to (turned ? sh x sw : sw x sh).
struct StripLayout {
  int n = 0, sw = 0, sh = 0, gap = 0;
  bool turned = false;
};

StripLayout LayStrips(const AreaCut& cut, int tw, int bandHeight) {
  StripLayout lay;
  if (cut.w <= 0 || cut.h <= 0 || bandHeight <= 0) return lay;
  const int64_t w = int64_t{cut.w} * bandHeight / cut.h;
  const int64_t n = w > 0 ? tw / w : 0;
  lay.sh = bandHeight;
  if (static_cast<double>(n * w) / tw >= 0.8) {
    lay.n = static_cast<int>(n);
    lay.sw = static_cast<int>(w);
  } else {
    // Upright copies leave too much of the band empty: lay them on their sides.
    const int64_t h2 = int64_t{cut.h} * bandHeight / cut.w;
    if (h2 <= 0 || h2 > tw) return lay;
    lay.turned = true;
    lay.sw = static_cast<int>(h2);
    lay.n = static_cast<int>(tw / h2);
  }
  if (lay.n <= 0) return StripLayout{};
  lay.gap = (tw - lay.n * lay.sw) / lay.n;
  return lay;
}

}  // namespace

bool TurnQuarter(const CDIB& from, CDIB& to) {
  const int w = from.GetWidth(), h = from.GetHeight();
  if (!IsEightBit(&from) || !IsEightBit(&to) || to.GetWidth() != h || to.GetHeight() != w)
    return false;
  for (int y = 0; y < h; ++y) {
    const BYTE* row = from.GetPixelAddress(0, y);
    for (int x = 0; x < w; ++x) *to.GetPixelAddress(h - 1 - y, x) = row[x];
  }
  return true;
}

void TurnHalf(CDIB& dib) {
  if (!IsEightBit(&dib)) return;
  const int w = dib.GetWidth(), h = dib.GetHeight();
  for (int y = 0; y < (h + 1) / 2; ++y) {
    BYTE* top = dib.GetPixelAddress(0, y);
    BYTE* bottom = dib.GetPixelAddress(0, h - 1 - y);
    if (top == bottom) {
      std::reverse(top, top + w);  // the middle row of an odd height
      break;
    }
    std::reverse(top, top + w);
    std::reverse(bottom, bottom + w);
    std::swap_ranges(top, top + w, bottom);
  }
}

CDIB* BuildBackgroundTexture(ScreenHost* host, const RECT* area, int tw, int th, int border) {
  TextureStart s;
  if (!StartTexture(host, tw, th, s)) return nullptr;
  const AreaCut cut = CutArea(*s.background, area);
  const StripLayout lay = LayStrips(cut, tw, th - 2 * border);
  if (lay.n == 0) return s.tex.release();
  const int w = lay.turned ? lay.sh : lay.sw, h = lay.turned ? lay.sw : lay.sh;
  std::unique_ptr<CDIB> strip = ShrunkArea(*s.background, cut, s.palette.get(), w, h, lay.turned);
  if (!strip) return nullptr;
  for (int i = 0; i < lay.n; ++i) {
    strip->CopyBits(s.tex.get(), i * (lay.sw + lay.gap), border, lay.sw, lay.sh, 0, 0, -1);
  }
  return s.tex.release();
}

CDIB* BuildFittedTexture(ScreenHost* host, const RECT* area, int tw, int th, CDIB* backdrop) {
  TextureStart s;
  if (!StartTexture(host, tw, th, s)) return nullptr;
  if (IsEightBit(backdrop)) {
    backdrop->CopyBits(s.tex.get(), 0, 0, std::min(tw, backdrop->GetWidth()),
                       std::min(th, backdrop->GetHeight()), 0, 0, -1);
  }
  const AreaCut cut = CutArea(*s.background, area);
  const bool turned = cut.h >= cut.w;
  const int64_t longer = turned ? cut.h : cut.w, shorter = turned ? cut.w : cut.h;
  int64_t fw = tw, fh = 0, xo = 0, yo = 0;
  if (shorter > 0 && shorter * tw > longer * th) {
    fh = th;
    fw = longer * th / shorter;
    xo = (tw - fw) / 2;
  } else if (longer > 0) {
    fh = shorter * tw / longer;
    yo = (th - fh) / 2;
  }
  if (fw > 0 && fh > 0) {
    const int w = static_cast<int>(fw), h = static_cast<int>(fh);
    std::unique_ptr<CDIB> fitted =
        turned ? ShrunkArea(*s.background, cut, s.palette.get(), h, w, true)
               : ShrunkArea(*s.background, cut, s.palette.get(), w, h, false);
    if (!fitted) return nullptr;
    fitted->CopyBits(s.tex.get(), static_cast<int>(xo), static_cast<int>(yo), w, h, 0, 0, -1);
  }
  std::unique_ptr<CDIB> result = Make<CDIB>();
  if (!result || !result->Create(th, tw, s.palette.get()) || !TurnQuarter(*s.tex, *result))
    return nullptr;
  return result.release();
}
