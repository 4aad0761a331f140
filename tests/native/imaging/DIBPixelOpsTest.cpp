// CDIB pixel operations: copies between depths, lightening, and colour mapping of 4-bit bitmaps
// onto palettes larger than a nibble.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "framework/Gdi.h"
#include "imaging/DIB.h"
#include "tests/native/imaging/DIBTestSupport.h"

namespace {

using namespace dibtest;
using Rows = std::vector<std::vector<int>>;

// Pixel rows of an 8-bit bitmap, from the top.
void SetRows(CDIB& dib, const Rows& rows) {
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x)
      *dib.GetPixelAddress(static_cast<int>(x), static_cast<int>(y)) =
          static_cast<BYTE>(rows[y][x]);
}

Rows RowsOf(const CDIB& dib) {
  Rows rows(dib.GetHeight(), std::vector<int>(dib.GetWidth()));
  for (int y = 0; y < dib.GetHeight(); ++y)
    for (int x = 0; x < dib.GetWidth(); ++x) rows[y][x] = *dib.GetPixelAddress(x, y);
  return rows;
}

struct Bgr {
  int b, g, r;
  bool operator==(const Bgr& o) const { return b == o.b && g == o.g && r == o.r; }
};
std::ostream& operator<<(std::ostream& os, const Bgr& c) {
  return os << "(b " << c.b << ", g " << c.g << ", r " << c.r << ")";
}

Bgr PixelOf(const CDIB& dib, int x, int y) {
  const BYTE* p = dib.GetPixelAddress(x, y);
  return Bgr{p[0], p[1], p[2]};
}

void SetPixel(CDIB& dib, int x, int y, Bgr c) {
  BYTE* p = dib.GetPixelAddress(x, y);
  p[0] = static_cast<BYTE>(c.b), p[1] = static_cast<BYTE>(c.g), p[2] = static_cast<BYTE>(c.r);
}

void Fill24(CDIB& dib, Bgr c) {
  for (int y = 0; y < dib.GetHeight(); ++y)
    for (int x = 0; x < dib.GetWidth(); ++x) SetPixel(dib, x, y, c);
}

// ---- 8 into 8 ---------------------------------------------------------------------------

struct TransparentCase {
  const char* name;
  int transparent;
  Rows expected;
};

TEST(DIBCopyBitsTest, EightBitCopySkipsOnlyTheTransparentIndex) {
  const TransparentCase cases[] = {
      {"none", -1, {{9, 9, 9, 9}, {9, 1, 0, 2}, {9, 0, 3, 5}}},
      {"index 0", 0, {{9, 9, 9, 9}, {9, 1, 9, 2}, {9, 9, 3, 5}}},
      // Sprites pass their index with a flag in the high byte: only the low 8 bits count.
      {"sprite index 5", 0x01000005, {{9, 9, 9, 9}, {9, 1, 0, 2}, {9, 0, 3, 9}}},
  };
  for (const TransparentCase& c : cases) {
    SCOPED_TRACE(c.name);
    CDIB source, destination;
    ASSERT_TRUE(source.Create(3, 2, nullptr));
    ASSERT_TRUE(destination.Create(4, 3, nullptr));
    SetRows(source, {{1, 0, 2}, {0, 3, 5}});
    SetRows(destination, {{9, 9, 9, 9}, {9, 9, 9, 9}, {9, 9, 9, 9}});
    source.CopyBits(&destination, 1, 1, 3, 2, 0, 0, c.transparent);
    EXPECT_EQ(RowsOf(destination), c.expected);
  }
}

TEST(DIBCopyBitsTest, CopiesFromAnInnerSourceRectangle) {
  CDIB source, destination;
  ASSERT_TRUE(source.Create(4, 3, nullptr));
  ASSERT_TRUE(destination.Create(2, 2, nullptr));
  SetRows(source, {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}});
  source.CopyBits(&destination, 0, 0, 2, 2, 2, 1, -1);
  EXPECT_EQ(RowsOf(destination), (Rows{{7, 8}, {11, 12}}));
}

TEST(DIBCopyBitsTest, RectanglesOutsideEitherBitmapCopyNothing) {
  struct Case {
    const char* name;
    int dx, dy, w, h, sx, sy;
  } cases[] = {
      {"empty", 0, 0, 0, 2, 0, 0},
      {"wider than source", 0, 0, 4, 1, 0, 0},
      {"below destination", 0, 2, 2, 2, 0, 0},
      {"negative source x", 0, 0, 2, 2, -1, 0},
      {"past destination right", 3, 0, 2, 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CDIB source, destination;
    ASSERT_TRUE(source.Create(3, 2, nullptr));
    ASSERT_TRUE(destination.Create(4, 3, nullptr));
    SetRows(source, {{1, 1, 1}, {1, 1, 1}});
    const Snapshot before(destination);
    source.CopyBits(&destination, c.dx, c.dy, c.w, c.h, c.sx, c.sy, -1);
    before.ExpectUnchanged(destination);
  }
}

// ---- 8 into 24 --------------------------------------------------------------------------

TEST(DIBCopyBitsTest, EightBitIntoTwentyFourExpandsThroughTheSourceTable) {
  CDIB sprite, picture;
  ASSERT_TRUE(sprite.Create(2, 2, nullptr));
  sprite.header->bmiColors[1] = RGBQUAD{10, 20, 30, 0};
  sprite.header->bmiColors[7] = RGBQUAD{70, 80, 90, 0};
  SetRows(sprite, {{1, 7}, {7, 0}});
  ASSERT_TRUE(picture.Create24(3, 2));
  const Bgr back{200, 201, 202};
  Fill24(picture, back);

  sprite.CopyBits(&picture, 1, 0, 2, 2, 0, 0, 0x01000007);  // index 7 is transparent
  EXPECT_EQ(PixelOf(picture, 0, 0), back);
  EXPECT_EQ(PixelOf(picture, 1, 0), (Bgr{10, 20, 30}));
  EXPECT_EQ(PixelOf(picture, 2, 0), back);
  EXPECT_EQ(PixelOf(picture, 1, 1), back);
  EXPECT_EQ(PixelOf(picture, 2, 1), (Bgr{0, 0, 0}));  // grey-ramp entry 0

  sprite.CopyTransparent(&picture, 0, 0, 2, 2, 0, 0, -1);
  EXPECT_EQ(PixelOf(picture, 1, 0), (Bgr{70, 80, 90}));
  EXPECT_EQ(PixelOf(picture, 0, 1), (Bgr{70, 80, 90}));
}

// ---- 24 into 24 and 24 into 8 ------------------------------------------------------------

TEST(DIBCopyBitsTest, TwentyFourBitCopyMovesWholePixels) {
  CDIB source, destination;
  ASSERT_TRUE(source.Create24(3, 2));
  ASSERT_TRUE(destination.Create24(3, 3));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) SetPixel(source, x, y, Bgr{x, y, 100 + x + 10 * y});
  Fill24(destination, Bgr{255, 255, 255});

  source.CopyBits(&destination, 0, 1, 2, 2, 1, 0, -1);
  EXPECT_EQ(PixelOf(destination, 0, 0), (Bgr{255, 255, 255}));
  EXPECT_EQ(PixelOf(destination, 0, 1), (Bgr{1, 0, 101}));
  EXPECT_EQ(PixelOf(destination, 1, 1), (Bgr{2, 0, 102}));
  EXPECT_EQ(PixelOf(destination, 0, 2), (Bgr{1, 1, 111}));
  EXPECT_EQ(PixelOf(destination, 1, 2), (Bgr{2, 1, 112}));
  EXPECT_EQ(PixelOf(destination, 2, 2), (Bgr{255, 255, 255}));
}

TEST(DIBCopyBitsTest, TwentyFourIntoEightTakesTheNearestEntryAndTheLowestOnTies) {
  CPalette palette;
  ASSERT_TRUE(CreatePaletteFrom(
      palette, {PALETTEENTRY{0, 0, 0, 0}, PALETTEENTRY{200, 0, 0, 0}, PALETTEENTRY{200, 0, 0, 0},
                PALETTEENTRY{0, 0, 250, 0}, PALETTEENTRY{100, 100, 100, 0}}));
  CDIB source, destination;
  ASSERT_TRUE(source.Create24(4, 1));
  ASSERT_TRUE(destination.Create(5, 1, &palette));  // only its 5 entries count, not the ramp
  SetPixel(source, 0, 0, Bgr{0, 0, 200});           // red: entries 1 and 2 tie, 1 wins
  SetPixel(source, 1, 0, Bgr{240, 10, 5});          // near blue
  SetPixel(source, 2, 0, Bgr{90, 110, 95});         // near grey
  SetPixel(source, 3, 0, Bgr{50, 50, 50});          // equally far from black and grey: black
  SetRows(destination, {{9, 9, 9, 9, 9}});

  source.CopyBits(&destination, 1, 0, 4, 1, 0, 0, -1);
  EXPECT_EQ(RowsOf(destination), (Rows{{9, 1, 3, 4, 0}}));
}

// ---- Lightening -------------------------------------------------------------------------

TEST(DIBLightenTest, TableEntriesMoveTowardWhite) {
  struct Case {
    int amount;
    int from0, from100, from255;
  } cases[] = {{0, 0, 100, 255}, {128, 128, 177, 255}, {255, 255, 255, 255}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.amount);
    CDIB dib;
    ASSERT_TRUE(dib.Create(2, 1, nullptr));
    dib.header->bmiColors[0] = RGBQUAD{0, 100, 255, 0};
    dib.header->bmiColors[1] = RGBQUAD{255, 0, 100, 0};
    dib.header->bmiHeader.biClrUsed = 2;
    SetRows(dib, {{0, 1}});

    dib.Lighten(c.amount);
    const RGBQUAD& e0 = dib.header->bmiColors[0];
    const RGBQUAD& e1 = dib.header->bmiColors[1];
    EXPECT_EQ((std::vector<int>{e0.rgbBlue, e0.rgbGreen, e0.rgbRed}),
              (std::vector<int>{c.from0, c.from100, c.from255}));
    EXPECT_EQ((std::vector<int>{e1.rgbBlue, e1.rgbGreen, e1.rgbRed}),
              (std::vector<int>{c.from255, c.from0, c.from100}));
    EXPECT_EQ(dib.header->bmiColors[2].rgbRed, 2) << "entries past the colour count stay";
    EXPECT_EQ(RowsOf(dib), (Rows{{0, 1}})) << "pixels stay";
  }
}

TEST(DIBLightenTest, TwentyFourBitPixelsLightenAndPaddingStays) {
  CDIB dib;
  ASSERT_TRUE(dib.Create24(1, 2));  // rows of 3 bytes and one padding byte
  SetPixel(dib, 0, 0, Bgr{0, 100, 255});
  SetPixel(dib, 0, 1, Bgr{128, 1, 2});
  dib.bits[3] = 0x11;
  dib.bits[7] = 0x22;

  dib.Lighten(128);  // reaches Lighten24 through the depth
  EXPECT_EQ(PixelOf(dib, 0, 0), (Bgr{128, 177, 255}));
  EXPECT_EQ(PixelOf(dib, 0, 1), (Bgr{191, 128, 128}));
  EXPECT_EQ(dib.bits[3], 0x11);
  EXPECT_EQ(dib.bits[7], 0x22);
}

// ---- Colour mapping of 4-bit bitmaps -----------------------------------------------------

TEST(DIBMapColorsTest, FourBitBitmapBecomesEightBitForALargePalette) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD table[16];
  } packed{};
  packed.header = BITMAPINFOHEADER{40, 3, 2, 1, 4, BI_RGB, 0, 0, 0, 0, 0};
  packed.table[1] = RGBQUAD{0, 0, 250, 0};  // red
  packed.table[2] = RGBQUAD{250, 0, 0, 0};  // blue; every other entry black
  // Rows of 3 nibbles and padding, bottom row first: (1, 2, 0) then (2, 2, 1) on top.
  ByteVector bits = {0x12, 0x00, 0x00, 0x00, 0x22, 0x10, 0x00, 0x00};
  CDIB dib;
  ASSERT_TRUE(dib.AttachPacked(reinterpret_cast<const BITMAPINFO*>(&packed), bits.data(), 0));

  // 40 entries: black first, then the colours far up where a nibble cannot reach.
  std::vector<PALETTEENTRY> entries(40, PALETTEENTRY{128, 128, 128, 0});
  entries[0] = PALETTEENTRY{0, 0, 0, 0};
  entries[33] = PALETTEENTRY{255, 0, 0, 0};
  entries[37] = PALETTEENTRY{0, 0, 255, 0};
  CPalette palette;
  ASSERT_TRUE(CreatePaletteFrom(palette, entries));

  ASSERT_TRUE(dib.MapColorsToPalette(&palette));
  EXPECT_EQ(dib.header->bmiHeader.biBitCount, 8);
  EXPECT_EQ(dib.GetStorageWidth(), 4);
  EXPECT_EQ(RowsOf(dib), (Rows{{37, 37, 33}, {33, 37, 0}}));
  EXPECT_EQ(dib.header->bmiHeader.biClrUsed, 40u);
  EXPECT_EQ(bits, (ByteVector{0x12, 0x00, 0x00, 0x00, 0x22, 0x10, 0x00, 0x00}))
      << "the caller's 4-bit block is left alone";
}

}  // namespace
