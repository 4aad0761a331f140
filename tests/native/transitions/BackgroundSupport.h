// Targets for the background composer's tests: 8-bit bitmaps on the grey-ramp palette that the
// composer uses, filled with a colour that no frame or style draws, so untouched pixels show.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <vector>

#include "framework/Geometry.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "imaging/ReservedPalette.h"

inline void PrintTo(const CRect& r, std::ostream* os) {
  *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

namespace bgtest {

constexpr int kUntouched = 200;  // a placeholder entry: no frame colour is ever matched to it

// Asked once: on Windows every question goes to the display driver.
inline int Reserved() {
  static const int reserved = GetReservedPaletteEntries();
  return reserved;
}
inline int Black() { return Reserved(); }
inline int White() { return Reserved() + 31; }

inline std::unique_ptr<CDIB> NewTarget(int w, int h, int fill = kUntouched) {
  CColorPalette ramp;
  ramp.CreateGreyRamp(Reserved());
  auto dib = std::make_unique<CDIB>();
  dib->Create(w, h, &ramp);
  for (int y = 0; y < h; ++y) {
    if (BYTE* row = dib->GetPixelAddress(0, y)) std::fill(row, row + w, static_cast<BYTE>(fill));
  }
  return dib;
}

inline int At(const CDIB& dib, int x, int y) {
  const BYTE* p = dib.GetPixelAddress(x, y);
  return p ? *p : -1;
}

// The pixels of a bitmap, top row first.
inline std::vector<int> Pixels(const CDIB& dib) {
  std::vector<int> out;
  for (int y = 0; y < dib.GetHeight(); ++y) {
    const BYTE* row = dib.GetPixelAddress(0, y);
    if (row) out.insert(out.end(), row, row + dib.GetWidth());
  }
  return out;
}

// The first pixel of the rectangle for which check(x, y, value) is false, or none.
template <typename Check>
testing::AssertionResult EveryPixel(const CDIB& dib, const CRect& r, Check check) {
  for (int y = r.top; y < r.bottom; ++y) {
    const BYTE* row = dib.GetPixelAddress(0, y);
    for (int x = r.left; x < r.right; ++x) {
      if (!check(x, y, row[x])) {
        return testing::AssertionFailure() << "pixel " << x << "," << y << " is " << int{row[x]};
      }
    }
  }
  return testing::AssertionSuccess();
}

inline CRect Whole(const CDIB& dib) { return CRect(0, 0, dib.GetWidth(), dib.GetHeight()); }

// Compares two bitmaps of the same size and names the first pixel that differs.
inline void ExpectSamePixels(const CDIB& got, const CDIB& expected) {
  ASSERT_EQ(got.GetWidth(), expected.GetWidth());
  ASSERT_EQ(got.GetHeight(), expected.GetHeight());
  EXPECT_TRUE(
      EveryPixel(got, Whole(got), [&](int x, int y, int v) { return v == At(expected, x, y); }));
}

// Sets the pixels of the rectangle (clipped) to an index.
inline void Paint(CDIB& dib, const CRect& r, int index) {
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      if (BYTE* p = dib.GetPixelAddress(x, y)) *p = static_cast<BYTE>(index);
    }
  }
}

// The checkerboard shadow of a shape: every pixel of `box` moved by (6, 6) whose offset within
// the box has an odd sum and that `inShape` accepts.
template <typename InShape>
void PaintShadow(CDIB& dib, const CRect& box, int index, InShape inShape) {
  for (int r = 0; r < box.Height(); ++r) {
    for (int c = 0; c < box.Width(); ++c) {
      if ((r + c) % 2 == 1 && inShape(box.left + c, box.top + r)) {
        if (BYTE* p = dib.GetPixelAddress(box.left + c + 6, box.top + r + 6))
          *p = static_cast<BYTE>(index);
      }
    }
  }
}

}  // namespace bgtest
