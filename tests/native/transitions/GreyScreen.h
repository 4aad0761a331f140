// The saver's screen as a user sees it, for the tests that greys stay grey once a picture is on
// it: a photograph-like picture with strong colours, a background composed with logo tiles and a
// framed, shadowed picture area, and checks by colour - every pixel outside the picture is grey,
// every pixel inside is the picture's own colour, everything a routine draws over it is grey.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Geometry.h"
#include "framework/Lists.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "imaging/ReservedPalette.h"
#include "tests/support/SyntheticPhoto.h"
#include "transitions/Background.h"
#include "transitions/Frames.h"
#include "transitions/LayoutRects.h"

namespace greytest {

using Colours = std::vector<uint32_t>;  // 0x00RRGGBB, top row first

// An 8-bit picture of a landscape (blue sky, green and brown ground, yellow suns) reduced to
// `colours` of its own; 200 leave every colour room beside the grey ramp and the static colours.
inline std::unique_ptr<CDIB> NewPhoto(int w, int h, int colours = 200) {
  CDIB full;
  auto out = std::make_unique<CDIB>();
  EXPECT_TRUE(testsupport::ToDIB24(testsupport::SyntheticPhoto(w, h), full));
  EXPECT_TRUE(full.Quantize(out.get(), colours, 1));
  return out;
}

// The background as the saver composes it, on the grey ramp after the reserved entries: large
// logo tiles over the screen, a raised frame with a shadow round the picture rectangle, and
// `backStyle` in the picture area.
inline std::unique_ptr<CDIB> ComposeBackground(int w, int h, const CRect& picture, CDIB* logo,
                                               int backStyle) {
  CColorPalette ramp;
  auto dib = std::make_unique<CDIB>();
  EXPECT_TRUE(ramp.CreateGreyRamp(GetReservedPaletteEntries()) && dib->Create(w, h, &ramp));
  CPtrList rects;
  rects.AddTail(new RECT(picture));
  CString error;
  EXPECT_TRUE(SetSSBackground(dib.get(), &rects, logo, backStyle, kStyleLogosLarge, kBorderRaised,
                              0, 1, FALSE, &error))
      << error;
  DeleteAllPtrListElements(&rects);
  return dib;
}

inline uint32_t ColourOf(const RGBQUAD& c) {
  return uint32_t{c.rgbRed} << 16 | uint32_t{c.rgbGreen} << 8 | c.rgbBlue;
}

// Every pixel's colour through the picture's own table.
inline Colours ColoursOf(const CDIB& dib) {
  Colours out;
  for (int y = 0; y < dib.GetHeight(); ++y) {
    const BYTE* row = dib.GetPixelAddress(0, y);
    for (int x = 0; x < dib.GetWidth(); ++x) out.push_back(ColourOf(dib.header->bmiColors[row[x]]));
  }
  return out;
}

inline bool IsGrey(uint32_t c) {
  return (c >> 16 & 0xFF) == (c >> 8 & 0xFF) && (c >> 8 & 0xFF) == (c & 0xFF);
}

// A screen of `width` pixels a row shows the photo's area from (0, 0) in `rect` and greys
// everywhere else.
inline testing::AssertionResult PhotoOnGrey(const Colours& screen, int width, const CRect& rect,
                                            const CDIB& photo) {
  if (width <= 0 || screen.empty()) return testing::AssertionFailure() << "no screen";
  size_t wrongInside = 0, notGrey = 0;
  testing::Message first;
  for (size_t i = 0; i < screen.size(); ++i) {
    const int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
    bool right = false;
    if (rect.PtInRect(CPoint(x, y))) {
      const BYTE index = *photo.GetPixelAddress(x - rect.left, y - rect.top);
      right = screen[i] == ColourOf(photo.header->bmiColors[index]);
      wrongInside += !right;
    } else {
      right = IsGrey(screen[i]);
      notGrey += !right;
    }
    if (!right && wrongInside + notGrey == 1) {
      first << " (first at " << x << "," << y << ": " << std::hex << screen[i] << ")";
    }
  }
  if (wrongInside + notGrey == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << notGrey << " pixels outside the picture are not grey, "
                                     << wrongInside << " inside are not the picture's" << first;
}

// Every pixel that changed from `before` is grey; `changed` counts them.
inline testing::AssertionResult ChangesAreGrey(const Colours& before, const Colours& after,
                                               size_t* changed) {
  if (before.size() != after.size()) return testing::AssertionFailure() << "sizes differ";
  size_t notGrey = 0;
  *changed = 0;
  for (size_t i = 0; i < after.size(); ++i) {
    if (after[i] == before[i]) continue;
    ++*changed;
    notGrey += !IsGrey(after[i]);
  }
  if (notGrey == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << notGrey << " of " << *changed << " pixels drawn over the screen are not grey";
}

}  // namespace greytest
