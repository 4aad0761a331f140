// Pictures for the front-end tests: 8-bit pictures on one colour table whose indexes depend on
// the position, so that a pixel taken from the wrong picture or the wrong place shows, and the
// screen a front end must leave behind, by index and by colour.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/WinTypes.h"
#include "imaging/DIB.h"

namespace fetest {

// Index ranges: the old screen 0..96, pictures that come in 100..196.
constexpr int kOldBase = 0;
constexpr int kNewBase = 100;

// 256 distinct colours; every picture of the tests carries this table.
inline void SetTestColours(CDIB& dib) {
  dib.header->bmiHeader.biClrUsed = 256;
  for (int i = 0; i < 256; ++i) {
    dib.header->bmiColors[i] = RGBQUAD{static_cast<BYTE>((i * 37) & 0xFF),
                                       static_cast<BYTE>(255 - i), static_cast<BYTE>(i), 0};
  }
}

// A w x h picture with index base + (mx * x + my * y) % 97.
inline CDIB* NewPicture(int w, int h, int base, int mx = 1, int my = 3) {
  auto* dib = new CDIB;
  if (!dib->Create(w, h, nullptr)) return dib;
  SetTestColours(*dib);
  for (int y = 0; y < h; ++y) {
    BYTE* row = dib->GetPixelAddress(0, y);
    for (int x = 0; x < w; ++x) row[x] = static_cast<BYTE>(base + (mx * x + my * y) % 97);
  }
  return dib;
}

// A picture's indexes, top row first.
inline std::vector<BYTE> IndexesOf(const CDIB& dib) {
  std::vector<BYTE> out;
  for (int y = 0; y < dib.GetHeight(); ++y) {
    const BYTE* row = dib.GetPixelAddress(0, y);
    out.insert(out.end(), row, row + dib.GetWidth());
  }
  return out;
}

// A target rectangle and where its pixels come from in the picture.
struct Placement {
  int x, y, w, h;
  int srcx, srcy;
};

// The screen after a picture has been put into a rectangle: the old screen, with the picture's
// pixels in the part of the rectangle that lies on the screen and in the picture.
inline std::vector<BYTE> ExpectedScreen(const CDIB& oldScreen, const CDIB& picture,
                                        const Placement& p) {
  std::vector<BYTE> out = IndexesOf(oldScreen);
  const int width = oldScreen.GetWidth(), height = oldScreen.GetHeight();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (x < p.x || y < p.y || x >= p.x + p.w || y >= p.y + p.h) continue;
      const int sx = p.srcx + x - p.x, sy = p.srcy + y - p.y;
      if (sx < 0 || sy < 0 || sx >= picture.GetWidth() || sy >= picture.GetHeight()) continue;
      out[static_cast<size_t>(y) * width + x] = *picture.GetPixelAddress(sx, sy);
    }
  }
  return out;
}

// The colour (0x00RRGGBB) of every index through the colour table of `table`, top row first.
inline std::vector<uint32_t> ColoursThrough(const std::vector<BYTE>& indexes, const CDIB& table) {
  std::vector<uint32_t> out;
  out.reserve(indexes.size());
  for (BYTE i : indexes) {
    const RGBQUAD& c = table.header->bmiColors[i];
    out.push_back(uint32_t{c.rgbRed} << 16 | uint32_t{c.rgbGreen} << 8 | c.rgbBlue);
  }
  return out;
}

// What a picture shows: every pixel's colour through its own table, top row first. A front end
// may move the screen onto another colour table, so its results are compared by colour.
inline std::vector<uint32_t> ColoursOf(const CDIB& dib) {
  return ColoursThrough(IndexesOf(dib), dib);
}

// How many pixels differ (every pixel when the sizes differ).
template <typename Pixel>
size_t Differences(const std::vector<Pixel>& a, const std::vector<Pixel>& b) {
  if (a.size() != b.size()) return a.size() + b.size();
  size_t n = 0;
  for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

// A sample of effect ids, at least one of every family and of both kinds of slide.
inline const std::vector<int>& SampleIds() {
  static const std::vector<int> ids = {0,   1,   3,   5,   8,   11,  13,  18,  21,  24,  25,
                                       28,  35,  47,  52,  58,  80,  93,  110, 113, 115, 119,
                                       124, 127, 131, 133, 141, 142, 143, 144, 146, 150, 151};
  return ids;
}

}  // namespace fetest
