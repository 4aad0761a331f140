// Helpers for the screen-composition tests: small 8-bit pictures given row by row, and a sink that
// records the dirty rectangles reported to it.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "framework/Geometry.h"
#include "imaging/DIB.h"
#include "imaging/DirtyRectList.h"
#include "imaging/Sprite.h"

namespace comptest {

// Sets the pixels of an 8-bit picture from rows given top first.
inline void Paint(CDIB& dib, const std::vector<std::vector<int>>& rows) {
  for (size_t y = 0; y < rows.size(); ++y) {
    for (size_t x = 0; x < rows[y].size(); ++x) {
      *dib.GetPixelAddress(static_cast<int>(x), static_cast<int>(y)) =
          static_cast<BYTE>(rows[y][x]);
    }
  }
}

// An 8-bit picture of w x h pixels, every pixel `value`.
inline void Fill(CDIB& dib, int w, int h, int value) {
  ASSERT_TRUE(dib.Create(w, h, nullptr));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) *dib.GetPixelAddress(x, y) = static_cast<BYTE>(value);
  }
}

// Sets every pixel of an 8-bit picture, keeping its bits where they are.
inline void SetAll(CDIB& dib, int value) {
  for (int y = 0; y < dib.GetHeight(); ++y) {
    for (int x = 0; x < dib.GetWidth(); ++x) *dib.GetPixelAddress(x, y) = static_cast<BYTE>(value);
  }
}

inline int PixelAt(const CDIB& dib, int x, int y) { return *dib.GetPixelAddress(x, y); }

// A new sprite of the given rows at (x, y) and depth z, its transparent index taken from the top-
// left pixel.
inline CSprite* NewSprite(const std::vector<std::vector<int>>& rows, int x, int y, int z) {
  auto* sprite = new CSprite;
  sprite->Create(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), nullptr);
  Paint(*sprite, rows);
  sprite->TakeTransparentIndex();
  sprite->SetPosition(x, y);
  sprite->SetZ(z);
  return sprite;
}

class RecordingSink : public CDirtyRectSink {
 public:
  void AddDirtyRect(const CRect* rect) override { rects.push_back(*rect); }
  std::vector<CRect> rects;
};

}  // namespace comptest
