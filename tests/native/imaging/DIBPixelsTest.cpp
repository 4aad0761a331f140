// CDIB pixel operations: mapping a bitmap onto a palette.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "framework/Gdi.h"
#include "imaging/DIB.h"
#include "tests/native/imaging/DIBTestSupport.h"

namespace {

using namespace dibtest;

// White, red, black: the order makes the mapping visibly not the identity.
void MakeTargetPalette(CPalette& palette) {
  ASSERT_TRUE(CreatePaletteFrom(palette, {PALETTEENTRY{255, 255, 255, 0},
                                          PALETTEENTRY{255, 0, 0, 0}, PALETTEENTRY{0, 0, 0, 0}}));
}

void ExpectTableIsTargetPalette(const CDIB& dib) {
  const RGBQUAD white{255, 255, 255, 0}, red{0, 0, 255, 0}, black{0, 0, 0, 0};
  const RGBQUAD expected[3] = {white, red, black};
  EXPECT_EQ(std::memcmp(dib.header->bmiColors, expected, sizeof expected), 0);
  for (int i = 3; i < 256; ++i) {
    const RGBQUAD& q = dib.header->bmiColors[i];
    EXPECT_TRUE(q.rgbRed == 0 && q.rgbGreen == 0 && q.rgbBlue == 0 && q.rgbReserved == 0)
        << "entry " << i << " must be cleared";
  }
  EXPECT_EQ(dib.header->bmiHeader.biClrUsed, 3u);
}

TEST(DIBMapColorsTest, EightBitPixelsGoThroughTheNearestEntries) {
  CPalette palette;
  MakeTargetPalette(palette);
  CDIB dib;
  ASSERT_TRUE(dib.Create(3, 2, nullptr));
  RGBQUAD* table = dib.header->bmiColors;
  table[0] = RGBQUAD{0, 0, 0, 0};        // black -> 2
  table[1] = RGBQUAD{250, 250, 250, 0};  // near white -> 0
  table[2] = RGBQUAD{20, 20, 240, 0};    // near red -> 1
  table[3] = RGBQUAD{0, 0, 10, 0};       // near black -> 2
  // Rows of 3 pixels and a padding byte; padding is mapped too (grey 200 -> white, 0 -> black).
  const BYTE pixels[] = {0, 1, 2, 200, 3, 2, 1, 0};
  std::memcpy(dib.bits, pixels, sizeof pixels);

  ASSERT_TRUE(dib.MapColorsToPalette(&palette));
  EXPECT_EQ(BitsOf(dib), (ByteVector{2, 0, 1, 0, 2, 1, 0, 2}));
  ExpectTableIsTargetPalette(dib);
}

TEST(DIBMapColorsTest, FourBitPixelsMapBothNibbles) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD table[16];
  } packed{};
  packed.header = BITMAPINFOHEADER{40, 3, 1, 1, 4, BI_RGB, 0, 0, 0, 0, 0};
  packed.table[1] = RGBQUAD{250, 250, 250, 0};  // -> 0; every other entry is black -> 2
  packed.table[2] = RGBQUAD{20, 20, 240, 0};    // -> 1
  ByteVector bits = {0x12, 0x21, 0x03, 0xF1};   // one row: 3 pixels and padding
  CDIB dib;
  ASSERT_TRUE(dib.AttachPacked(reinterpret_cast<const BITMAPINFO*>(&packed), bits.data(), 0));
  CPalette palette;
  MakeTargetPalette(palette);

  ASSERT_TRUE(dib.MapColorsToPalette(&palette));
  EXPECT_EQ(bits, (ByteVector{0x01, 0x10, 0x22, 0x20}));
  ExpectTableIsTargetPalette(dib);
}

TEST(DIBMapColorsTest, TwentyFourBitPixelsSnapToPaletteColours) {
  CPalette palette;
  MakeTargetPalette(palette);
  CDIB dib;
  ASSERT_TRUE(dib.Create24(2, 1));
  const BYTE pixels[] = {20, 20, 230, 200, 210, 220, 0x77, 0x77};  // blue, green, red; padding
  std::memcpy(dib.bits, pixels, sizeof pixels);

  ASSERT_TRUE(dib.MapColorsToPalette(&palette));
  EXPECT_EQ(BitsOf(dib), (ByteVector{0, 0, 255, 255, 255, 255, 0x77, 0x77}));
  ExpectTableIsTargetPalette(dib);
}

TEST(DIBMapColorsTest, PaletteLargerThanTheTableFillsAll256Entries) {
  std::vector<PALETTEENTRY> entries;
  for (int i = 0; i < 300; ++i) entries.push_back(PALETTEENTRY{BYTE(i), BYTE(i / 2), 9, 0});
  CPalette palette;
  ASSERT_TRUE(CreatePaletteFrom(palette, entries));
  CDIB dib;
  ASSERT_TRUE(dib.MapColorsToPalette(&palette));
  EXPECT_EQ(dib.header->bmiHeader.biClrUsed, 256u);
  EXPECT_EQ(dib.header->bmiColors[255].rgbRed, 255);
  EXPECT_EQ(dib.header->bmiColors[255].rgbGreen, 127);
}

TEST(DIBMapColorsTest, NothingChangesWithoutAPaletteOrForOtherDepths) {
  CPalette palette;
  MakeTargetPalette(palette);
  CPalette empty;

  CDIB dib;
  ASSERT_TRUE(dib.Create(3, 2, nullptr));
  dib.bits[0] = 9;
  const Snapshot before(dib);
  EXPECT_FALSE(dib.MapColorsToPalette(nullptr));
  EXPECT_FALSE(dib.MapColorsToPalette(&empty));
  before.ExpectUnchanged(dib);

  struct {
    BITMAPINFOHEADER header;
    RGBQUAD table[2];
  } oneBit{};
  oneBit.header = BITMAPINFOHEADER{40, 8, 1, 1, 1, BI_RGB, 0, 0, 0, 0, 0};
  ByteVector bits = {0xA5, 0, 0, 0};
  ASSERT_TRUE(dib.AttachPacked(reinterpret_cast<const BITMAPINFO*>(&oneBit), bits.data(), 0));
  const Snapshot oneBitBefore(dib);
  EXPECT_FALSE(dib.MapColorsToPalette(&palette));
  oneBitBefore.ExpectUnchanged(dib);
}

}  // namespace
