// Pictures and a screen for the caption tests: the screen's colour table as the saver builds it
// on a display without a palette (grey ramp at 0..31, static colours at 32..51, a picture's
// colours after them), and a screen document over such a background whose window is a picture in
// memory that the transition effects draw into.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/Geometry.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "tests/native/imaging/ScreenDocFixture.h"
#include "transitions/FrontEnds.h"
#include "transitions/PlainBlit.h"
#include "transitions/TransFXDispatch.h"

namespace captiontest {

// A w x h background on the screen table with `reserved` entries reserved: a pattern of greys and
// of the picture's colours, so that a pixel copied from the wrong place shows.
inline CDIB* NewScreenBackground(int w, int h, int reserved = 0) {
  PALETTEENTRY picture[8];
  for (int i = 0; i < 8; ++i) {
    picture[i] = PALETTEENTRY{static_cast<BYTE>(30 * i), static_cast<BYTE>(200 - 20 * i), 90, 0};
  }
  PALETTEENTRY table[256];
  CColorPalette::BuildScreenEntries(picture, 8, reserved, table);
  auto* dib = new CDIB;
  EXPECT_TRUE(dib->Create(w, h, nullptr));
  for (int i = 0; i < 256; ++i) {
    dib->header->bmiColors[i] = RGBQUAD{table[i].peBlue, table[i].peGreen, table[i].peRed, 0};
  }
  for (int y = 0; y < h; ++y) {
    BYTE* row = dib->GetPixelAddress(0, y);
    for (int x = 0; x < w; ++x) {
      row[x] = static_cast<BYTE>((x / 7 + y / 5) % 2 ? 52 + (x + y) % 8 : (x * 3 + y) % 32);
    }
  }
  return dib;
}

inline std::vector<BYTE> Indexes(const CDIB& dib) {
  std::vector<BYTE> out;
  for (int y = 0; y < dib.GetHeight(); ++y) {
    const BYTE* row = dib.GetPixelAddress(0, y);
    out.insert(out.end(), row, row + dib.GetWidth());
  }
  return out;
}

// The screen document with its view, and a window in memory that the effects draw into.
class CaptionScreen : public TransitionScreen {
 public:
  CaptionScreen(int w, int h, int reserved = 0) {
    doc.reservedEntries = reserved;
    doc.AddView(&view);
    doc.OnNewDocument();
    EXPECT_TRUE(doc.SetBackgroundNoDraw(NewScreenBackground(w, h, reserved)));
    EXPECT_TRUE(window.Create(w, h, nullptr));
    doc.background->CopyBits(&window, 0, 0, w, h, 0, 0, -1);
  }
  ~CaptionScreen() override { doc.RemoveView(&view); }

  ScreenHost* Host() override { return &doc; }
  BOOL SetBackgroundNoDraw(CDIB* dib) override { return doc.SetBackgroundNoDraw(dib); }
  BOOL RunEffect(int x, int y, int w, int h, CDIBSurface* a, CDIBSurface* b,
                 const TransOrder& order, BOOL offScreen, const RECT& screen) override {
    return RunEffectFrom(x, y, w, h, a, x, y, b, x, y, order, offScreen, screen);
  }
  BOOL RunEffectFrom(int x, int y, int w, int h, CDIBSurface* a, int ax, int ay, CDIBSurface* b,
                     int bx, int by, const TransOrder& order, BOOL offScreen,
                     const RECT& screen) override {
    ++effects;
    PlainBlitLayer layer(PlaneOf(window), PlaneOf(*a), PlaneOf(*b));
    return TransFXDispatch(layer, x, y, w, h, ax, ay, w, h, bx, by, order.effect, order.par0,
                           order.par1, order.par2, offScreen, &screen);
  }

  CAnimView view;
  routinetest::RecordingDoc doc;
  CDIB window;
  int effects = 0;
};

}  // namespace captiontest
