// A screen document with its view on a grey-ramp background, for the tests of what the clock,
// the captions and the display routines draw through it: the document records what it is asked
// to show on the window and lets a test act on every flush of the dirty rectangles (as slow
// drawing would take time).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/Geometry.h"
#include "framework/Time.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/Raster8.h"

namespace routinetest {

constexpr int kRamp = 10;  // reserved entries: the grey ramp is 10..41

inline int At(const CDIB& dib, int x, int y) { return *dib.GetPixelAddress(x, y); }

// The local time 1996-06-03 hh:mm:ss as the clock seam's wall seconds.
inline int64_t LocalSeconds(int hh, int mm, int ss) {
  return CTime(1996, 6, 3, hh, mm, ss).GetTime();
}

// A background on the grey-ramp palette with a pattern that no clock pixel equals by accident.
inline CDIB* NewBackground(int w, int h) {
  CColorPalette palette;
  palette.CreateGreyRamp(kRamp);
  auto* dib = new CDIB;
  dib->Create(w, h, &palette);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) *dib->GetPixelAddress(x, y) = static_cast<BYTE>(200 + (x + y) % 7);
  }
  return dib;
}

class RecordingDoc : public CAnimDoc {
 public:
  void ShowRect(const CRect* rect) override {
    shown.push_back(rect ? *rect : CRect());
    CAnimDoc::ShowRect(rect);
  }
  void FlushDirtyRects() override {
    if (onFlush) onFlush();
    CAnimDoc::FlushDirtyRects();
  }
  std::vector<CRect> shown;
  std::function<void()> onFlush;
};

class ScreenDocFixture : public ::testing::Test {
 protected:
  static constexpr int kWidth = 320;
  static constexpr int kHeight = 200;

  void SetUp() override {
    doc.reservedEntries = kRamp;
    GreyRampBaseIndex = kRamp;
    doc.AddView(&view);
    doc.OnNewDocument();
    ASSERT_TRUE(doc.SetBackgroundNoDraw(NewBackground(kWidth, kHeight)));
  }
  void TearDown() override { doc.RemoveView(&view); }

  // The surface against the background with every sprite over it, composed from scratch.
  void ExpectSurfaceComposed() {
    const int w = doc.background->GetWidth();
    const int h = doc.background->GetHeight();
    CDIB fresh;
    ASSERT_TRUE(fresh.Create(w, h, nullptr));
    doc.background->CopyBits(&fresh, 0, 0, w, h, 0, 0, -1);
    CRect all(0, 0, w, h);
    doc.sprites.Render(&fresh, &all);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        ASSERT_EQ(At(*view.surface, x, y), At(fresh, x, y)) << "at " << x << "," << y;
      }
    }
  }

  CAnimView view;
  RecordingDoc doc;
};

}  // namespace routinetest
