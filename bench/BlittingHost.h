// A headless screen for the benchmarks whose window is a 32-bit buffer: every shown rectangle is
// copied into it through the palette, as a display blit of the 8-bit surface does.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/HeadlessScreenHost.h"

class BlittingHost : public HeadlessScreenHost {
 public:
  // A background of w x h in indexes 100 and up, patterned by `pattern`(x, y).
  template <typename Pattern>
  BlittingHost(int w, int h, Pattern pattern) : BlittingHost(Patterned(w, h, pattern), 0) {}
  // On the background given (the host owns it), the grey ramp after reservedEntries.
  BlittingHost(CDIB* background, int reservedEntries) : HeadlessScreenHost(reservedEntries) {
    SetBackground(background);
    window_.assign(static_cast<size_t>(background->GetWidth()) * background->GetHeight(), 0);
  }
  void ShowRect(const CRect* rect) override {
    CDIBSurface* surface = GetSurface();
    const CRect all(0, 0, surface->GetWidth(), surface->GetHeight());
    const CRect r = rect ? (*rect & all) : all;
    const RGBQUAD* colours = surface->header->bmiColors;
    for (int y = r.top; y < r.bottom; ++y) {
      const BYTE* from = surface->GetPixelAddress(r.left, y);
      uint32_t* to = window_.data() + static_cast<size_t>(y) * surface->GetWidth() + r.left;
      for (int x = 0; x < r.Width(); ++x) {
        const RGBQUAD& c = colours[from[x]];
        to[x] = static_cast<uint32_t>(c.rgbRed) << 16 | c.rgbGreen << 8 | c.rgbBlue;
      }
    }
    shownPixels += static_cast<int64_t>(r.Width()) * r.Height();
  }
  int64_t shownPixels = 0;

 private:
  template <typename Pattern>
  static CDIB* Patterned(int w, int h, Pattern pattern) {
    auto* dib = new CDIB;
    dib->Create(w, h, nullptr);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) *dib->GetPixelAddress(x, y) = static_cast<BYTE>(pattern(x, y));
    return dib;
  }

  std::vector<uint32_t> window_;
};
