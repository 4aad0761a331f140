// CDIB: creation, geometry, the BMP file format, archives and files by name.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "framework/Archive.h"
#include "framework/File.h"
#include "framework/Gdi.h"
#include "framework/Geometry.h"
#include "imaging/DIB.h"
#include "seams/Alerts.h"
#include "tests/native/imaging/BmpBytes.h"
#include "tests/native/imaging/DIBTestSupport.h"

namespace {

using bmptest::Bytes;
using bmptest::WindowsBmp;
using namespace dibtest;

RGBQUAD Grey(int i) {
  const BYTE v = static_cast<BYTE>(i);
  return RGBQUAD{v, v, v, 0};
}

bool SameQuad(const RGBQUAD& a, const RGBQUAD& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The first entry of table[from..255] that is not the grey ramp, or 256.
int FirstNonGrey(const RGBQUAD* table, int from) {
  for (int i = from; i < 256; ++i)
    if (!SameQuad(table[i], Grey(i))) return i;
  return 256;
}

// The colour table that WindowsBmp writes: entry i = blue 10i, green 20i, red 30i.
std::vector<RGBQUAD> BuilderTable(int n) {
  std::vector<RGBQUAD> t;
  for (int i = 0; i < n; ++i) t.push_back(RGBQUAD{BYTE(10 * i), BYTE(20 * i), BYTE(30 * i), 0});
  return t;
}

// Bytes counting up from base: what WindowsBmp writes as bits.
ByteVector CountingBytes(size_t n, uint8_t base) {
  ByteVector v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(base + i);
  return v;
}

void FillPattern(CDIB& dib, uint8_t seed) {
  for (size_t i = 0; i < BitsSize(dib); ++i) dib.bits[i] = static_cast<BYTE>(seed + 7 * i);
}

BOOL LoadBytes(CDIB& dib, const ByteVector& bytes) {
  CMemFile file(bytes.data(), bytes.size());
  return dib.LoadFromFile(&file);
}

ByteVector SaveBytes(CDIB& dib) {
  CMemFile file;
  EXPECT_TRUE(dib.SaveToFile(&file));
  return ByteVector(file.GetData(), file.GetData() + file.GetLength());
}

uint32_t U32At(const ByteVector& v, size_t at) {
  uint32_t x;
  std::memcpy(&x, v.data() + at, 4);
  return x;
}

const BITMAPINFO* PackedInfo(const ByteVector& image) {
  return static_cast<const BITMAPINFO*>(static_cast<const void*>(image.data() + 14));
}

// A palette of `n` distinct colours: red 3i, green 255 - 5i, blue 7i.
std::unique_ptr<CPalette> MakePalette(int n) {
  std::vector<PALETTEENTRY> entries;
  for (int i = 0; i < n; ++i)
    entries.push_back(PALETTEENTRY{BYTE(3 * i), BYTE(255 - 5 * i), BYTE(7 * i), 0});
  auto palette = std::make_unique<CPalette>();
  EXPECT_TRUE(CreatePaletteFrom(*palette, entries));
  return palette;
}

// A picture that failed operations must leave intact: 5 x 2, 8 bits, patterned, a coloured entry.
void MakeOldPicture(CDIB& dib) {
  ASSERT_TRUE(dib.Create(5, 2, nullptr));
  FillPattern(dib, 40);
  dib.header->bmiColors[0] = RGBQUAD{1, 2, 3, 0};
}

void ExpectHeaderConventions(const BITMAPINFOHEADER& h, int bitCount) {
  EXPECT_EQ(h.biSize, 40u);
  EXPECT_EQ(h.biPlanes, 1);
  EXPECT_EQ(h.biBitCount, bitCount);
  EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
  EXPECT_EQ(h.biSizeImage, 0u);
  EXPECT_EQ(h.biXPelsPerMeter, 0);
  EXPECT_EQ(h.biYPelsPerMeter, 0);
  EXPECT_EQ(h.biClrImportant, 0u);
}

// --- Creation and geometry -------------------------------------------------------------------

TEST(DIBCreateTest, NewBitmapIsSixteenSquareGreyRampOfZeros) {
  CDIB dib;
  ASSERT_NE(dib.header, nullptr);
  ASSERT_NE(dib.bits, nullptr);
  ExpectHeaderConventions(dib.header->bmiHeader, 8);
  EXPECT_EQ(dib.GetWidth(), 16);
  EXPECT_EQ(dib.GetHeight(), 16);
  EXPECT_EQ(dib.header->bmiHeader.biClrUsed, 0u);
  EXPECT_EQ(dib.GetNumColors(), 256);
  EXPECT_EQ(FirstNonGrey(dib.header->bmiColors, 0), 256);
  EXPECT_EQ(BitsOf(dib), ByteVector(256, 0));
  EXPECT_EQ(dib.ownsBits, 1);
}

struct CreateCase {
  const char* what;
  int bitCount;
  int w, h;
  int storageWidth;
};

TEST(DIBCreateTest, CreationGivesPaddedRowsOfZerosOverAnyOldPicture) {
  const CreateCase cases[] = {
      {"8 bits, 5 wide: rows padded to 8", 8, 5, 3, 8},
      {"8 bits, 4 wide: no padding", 8, 4, 1, 4},
      {"24 bits, 5 wide: 15 bytes padded to 16", 24, 5, 3, 16},
      {"24 bits, 1 wide: 3 bytes padded to 4", 24, 1, 1, 4},
      {"24 bits, 4 wide: 12 bytes exactly", 24, 4, 2, 12},
      {"8 bits, empty", 8, 0, 0, 0},
  };
  for (const CreateCase& c : cases) {
    SCOPED_TRACE(c.what);
    CDIB dib;
    MakeOldPicture(dib);
    ASSERT_TRUE(c.bitCount == 8 ? dib.Create(c.w, c.h, nullptr) : dib.Create24(c.w, c.h));
    ExpectHeaderConventions(dib.header->bmiHeader, c.bitCount);
    EXPECT_EQ(dib.GetWidth(), c.w);
    EXPECT_EQ(dib.GetHeight(), c.h);
    EXPECT_EQ(dib.GetStorageWidth(), c.storageWidth);
    EXPECT_EQ(dib.header->bmiHeader.biClrUsed, 0u);
    EXPECT_EQ(FirstNonGrey(dib.header->bmiColors, 0), 256) << "table must be the grey ramp";
    EXPECT_EQ(BitsOf(dib), ByteVector(static_cast<size_t>(c.storageWidth) * c.h, 0));
    EXPECT_EQ(dib.ownsBits, 1);
    CRect rect(9, 9, 9, 9);
    dib.GetRect(&rect);
    EXPECT_EQ(rect, CRect(0, 0, c.w, c.h));
  }
}

TEST(DIBCreateTest, CreateWithPaletteTakesItsEntriesAsTheTable) {
  auto palette = MakePalette(20);
  CDIB dib;
  ASSERT_TRUE(dib.Create(4, 2, palette.get()));
  EXPECT_EQ(dib.header->bmiHeader.biClrUsed, 20u);
  EXPECT_EQ(dib.GetNumColors(), 20);
  for (int i = 0; i < 20; ++i) {
    SCOPED_TRACE(i);
    const RGBQUAD& q = dib.header->bmiColors[i];
    EXPECT_EQ(q.rgbRed, 3 * i);
    EXPECT_EQ(q.rgbGreen, 255 - 5 * i);
    EXPECT_EQ(q.rgbBlue, 7 * i);
    EXPECT_EQ(q.rgbReserved, 0);
  }
  EXPECT_EQ(FirstNonGrey(dib.header->bmiColors, 20), 256);

  // A palette whose entries cannot be read fails, but leaves a valid grey-ramp bitmap.
  CPalette empty;
  EXPECT_FALSE(dib.Create(3, 3, &empty));
  ASSERT_NE(dib.header, nullptr);
  EXPECT_EQ(dib.GetWidth(), 3);
  EXPECT_EQ(dib.header->bmiHeader.biClrUsed, 0u);
  EXPECT_EQ(FirstNonGrey(dib.header->bmiColors, 0), 256);
}

TEST(DIBCreateTest, CreateFromPixelsTakesDecoderColoursAndRows) {
  const BYTE colours[] = {10, 20, 30, 99, 40, 50, 60, 98};  // blue, green, red, unused
  const BYTE pixels[] = {0, 1, 0, 7, 1, 1, 0, 9};           // two rows of 3, padded to 4
  CDIB dib;
  ASSERT_TRUE(dib.CreateFromPixels(3, 2, 2, colours, pixels));
  ExpectHeaderConventions(dib.header->bmiHeader, 8);
  EXPECT_EQ(dib.header->bmiHeader.biClrUsed, 0u);
  EXPECT_TRUE(SameQuad(dib.header->bmiColors[0], RGBQUAD{10, 20, 30, 0}));
  EXPECT_TRUE(SameQuad(dib.header->bmiColors[1], RGBQUAD{40, 50, 60, 0}));
  EXPECT_EQ(FirstNonGrey(dib.header->bmiColors, 2), 256);
  EXPECT_EQ(BitsOf(dib), ByteVector(pixels, pixels + 8));
}

TEST(DIBCreateTest, FailedCreationLeavesAnEmptyBitmapThatIsSafeToUse) {
  struct Case {
    const char* what;
    int bitCount, w, h;
  };
  const Case cases[] = {
      {"negative width", 8, -1, 4},
      {"negative height", 24, 4, -1},
      {"wider than the limit", 24, CDIB::kMaxSide + 1, 1},
      {"more bits than the limit", 8, CDIB::kMaxSide, CDIB::kMaxSide},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CDIB dib;
    EXPECT_FALSE(c.bitCount == 8 ? dib.Create(c.w, c.h, nullptr) : dib.Create24(c.w, c.h));
    EXPECT_EQ(dib.header, nullptr);
    EXPECT_EQ(dib.bits, nullptr);
    EXPECT_EQ(dib.GetWidth(), 0);
    EXPECT_EQ(dib.GetHeight(), 0);
    EXPECT_EQ(dib.GetStorageWidth(), 0);
    EXPECT_EQ(dib.GetNumColors(), 0);
    EXPECT_EQ(dib.GetPixelAddress(0, 0), nullptr);
    CMemFile file;
    EXPECT_FALSE(dib.SaveToFile(&file));
    EXPECT_EQ(file.GetLength(), 0u);
    auto palette = MakePalette(4);
    EXPECT_FALSE(dib.MapColorsToPalette(palette.get()));
    EXPECT_TRUE(dib.Create(2, 2, nullptr)) << "an empty bitmap can be created again";
  }
}

// --- Pixel addresses -------------------------------------------------------------------------

TEST(DIBGeometryTest, PixelAddressesCountRowsFromTheTopAndStopAtTheEdges) {
  struct Case {
    const char* what;
    int bitCount, w, h;
    int bytesBeforeLastPixel;  // offset of pixel w - 1 within its row
  };
  const Case cases[] = {
      {"1 bit, 9 wide", 1, 9, 3, 1},
      {"4 bits, 5 wide", 4, 5, 3, 2},
      {"8 bits, 5 wide", 8, 5, 3, 4},
      {"24 bits, 5 wide", 24, 5, 3, 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CDIB dib;
    if (c.bitCount == 24) {
      ASSERT_TRUE(dib.Create24(c.w, c.h));
    } else {
      WindowsBmp bmp;
      bmp.bitCount = static_cast<uint16_t>(c.bitCount);
      bmp.width = c.w;
      bmp.height = c.h;
      bmp.clrUsed = 0;
      bmp.tableEntries = 1u << (c.bitCount == 8 ? 8 : c.bitCount);
      ASSERT_TRUE(LoadBytes(dib, bmp.Build()));
    }
    const int stride = dib.GetStorageWidth();
    const int last = (c.h - 1) * stride;  // row y = 0 is the last row in memory
    EXPECT_EQ(dib.GetPixelAddress(0, 0), dib.bits + last);
    EXPECT_EQ(dib.GetPixelAddress(c.w - 1, 0), dib.bits + last + c.bytesBeforeLastPixel);
    EXPECT_EQ(dib.GetPixelAddress(0, c.h - 1), dib.bits);
    EXPECT_EQ(dib.GetPixelAddress(c.w - 1, 1), dib.bits + last - stride + c.bytesBeforeLastPixel);
    EXPECT_EQ(dib.GetPixelAddress(c.w, 0), nullptr);
    EXPECT_EQ(dib.GetPixelAddress(0, c.h), nullptr);
    EXPECT_EQ(dib.GetPixelAddress(-1, 0), nullptr);
    EXPECT_EQ(dib.GetPixelAddress(0, -1), nullptr);
  }
}

// --- Reading BMP files ---------------------------------------------------------------------------

// A 3 x 2 1-bit bitmap with the 12-byte OS/2 header and 3-byte table entries: 40 bytes in all,
// shorter than the two headers of the Windows form, so the reader must not read ahead.
ByteVector Os2Bmp() {
  Bytes b;
  b.u16(0x4D42);                 // bfType "BM"
  b.u32(14 + 12 + 6 + 8);        // bfSize
  b.u16(0).u16(0);               // bfReserved1, bfReserved2
  b.u32(14 + 12 + 6);            // bfOffBits: right after the two table entries
  b.u32(12);                     // bcSize: the OS/2 header
  b.u16(3);                      // bcWidth (16 bits)
  b.u16(2);                      // bcHeight (16 bits)
  b.u16(1);                      // bcPlanes
  b.u16(1);                      // bcBitCount: 2 colours
  b.u8(0x11).u8(0x22).u8(0x33);  // entry 0: blue, green, red
  b.u8(0x44).u8(0x55).u8(0x66);  // entry 1
  b.u32(0x000000A0);             // bottom row: pixels 1, 0, 1
  b.u32(0x00000040);             // top row: pixels 0, 1, 0
  return b.data();
}

struct LoadCase {
  const char* what;
  ByteVector file;
  int w, h, bitCount;
  int colors;                  // GetNumColors after loading
  std::vector<RGBQUAD> table;  // the entries read; the rest must be the grey ramp
  ByteVector bits;
};

std::vector<LoadCase> LoadCases() {
  std::vector<LoadCase> cases;
  cases.push_back({"8 bits, 4 colours used", WindowsBmp{}.Build(), 3, 2, 8, 4, BuilderTable(4),
                   CountingBytes(8, 1)});
  {
    WindowsBmp b;
    b.bitCount = 4;
    b.clrUsed = 0;
    b.tableEntries = 16;
    cases.push_back(
        {"4 bits, full table", b.Build(), 3, 2, 4, 16, BuilderTable(16), CountingBytes(8, 1)});
  }
  cases.push_back({"1 bit, OS/2 header, 3-byte entries widened",
                   Os2Bmp(),
                   3,
                   2,
                   1,
                   2,
                   {RGBQUAD{0x11, 0x22, 0x33, 0}, RGBQUAD{0x44, 0x55, 0x66, 0}},
                   {0xA0, 0, 0, 0, 0x40, 0, 0, 0}});
  {
    WindowsBmp b;
    b.bitCount = 24;
    b.clrUsed = 0;
    b.tableEntries = 0;
    cases.push_back({"24 bits, no table: the unused table is the grey ramp",
                     b.Build(),
                     3,
                     2,
                     24,
                     0,
                     {},
                     CountingBytes(24, 1)});
  }
  {
    WindowsBmp b;
    b.bitCount = 24;
    b.clrUsed = 2;
    b.tableEntries = 2;
    cases.push_back({"24 bits with a 2-entry table", b.Build(), 3, 2, 24, 2, BuilderTable(2),
                     CountingBytes(24, 1)});
  }
  {
    WindowsBmp b;
    b.offBits = 14 + 40 + 16 + 100;
    cases.push_back(
        {"bits after a gap", b.Build(), 3, 2, 8, 4, BuilderTable(4), CountingBytes(8, 1)});
  }
  return cases;
}

void ExpectLoaded(const CDIB& dib, const LoadCase& c) {
  ExpectHeaderConventions(dib.header->bmiHeader, c.bitCount);
  EXPECT_EQ(dib.GetWidth(), c.w);
  EXPECT_EQ(dib.GetHeight(), c.h);
  EXPECT_EQ(dib.GetNumColors(), c.colors);
  EXPECT_EQ(dib.ownsBits, 1);
  for (size_t i = 0; i < c.table.size(); ++i)
    EXPECT_TRUE(SameQuad(dib.header->bmiColors[i], c.table[i])) << "entry " << i;
  EXPECT_EQ(FirstNonGrey(dib.header->bmiColors, static_cast<int>(c.table.size())), 256);
  EXPECT_EQ(BitsOf(dib), c.bits);
}

TEST(DIBFileTest, LoadsEachSupportedFormAndSavesItBackLoadable) {
  for (const LoadCase& c : LoadCases()) {
    SCOPED_TRACE(c.what);
    CDIB dib;
    ASSERT_TRUE(LoadBytes(dib, c.file));
    ExpectLoaded(dib, c);

    // Saved in the Windows form with a full table; reading that back gives the same picture.
    CDIB again;
    ASSERT_TRUE(LoadBytes(again, SaveBytes(dib)));
    EXPECT_EQ(HeaderBlockOf(again), HeaderBlockOf(dib));
    EXPECT_EQ(BitsOf(again), BitsOf(dib));
  }
}

TEST(DIBFileTest, LoadsFromTheCurrentPositionOfALargerFile) {
  const ByteVector bmp = WindowsBmp{}.Build();
  const ByteVector prefix(37, 0x5A);
  const ByteVector tail = {'t', 'a', 'i', 'l'};
  ByteVector whole = prefix;
  whole.insert(whole.end(), bmp.begin(), bmp.end());
  whole.insert(whole.end(), tail.begin(), tail.end());

  CMemFile file(whole.data(), whole.size());
  file.Seek(37, CFile::begin);
  CDIB dib;
  ASSERT_TRUE(dib.LoadFromFile(&file));
  EXPECT_EQ(BitsOf(dib), CountingBytes(8, 1)) << "bfOffBits counts from the image's start";
  EXPECT_EQ(file.GetPosition(), prefix.size() + bmp.size()) << "the file stays after the bits";
  char rest[4];
  ASSERT_EQ(file.Read(rest, 4), 4u);
  EXPECT_EQ(std::string(rest, 4), "tail");
}

TEST(DIBFileTest, TwentyColourBitmapSavesAFullTableAndReadsBackTwentyEntries) {
  auto palette = MakePalette(20);
  CDIB dib;
  ASSERT_TRUE(dib.Create(3, 2, palette.get()));
  FillPattern(dib, 3);
  ByteVector saved = SaveBytes(dib);

  ASSERT_EQ(saved.size(), 1078u + 4 * 2);
  EXPECT_EQ(saved[0], 'B');
  EXPECT_EQ(saved[1], 'M');
  EXPECT_EQ(U32At(saved, 2), 1078u + 8) << "bfSize";
  EXPECT_EQ(U32At(saved, 6), 0u) << "reserved words";
  EXPECT_EQ(U32At(saved, 10), 1078u) << "bfOffBits";
  EXPECT_EQ(U32At(saved, 14 + 32), 20u) << "biClrUsed";
  EXPECT_EQ(ByteVector(saved.begin() + 14, saved.begin() + 1078), HeaderBlockOf(dib));
  EXPECT_EQ(ByteVector(saved.begin() + 1078, saved.end()), BitsOf(dib));

  // Entries 20..255 of the file are not part of the picture: the reader skips them to the bits
  // at 1078 and fills its own table there with the grey ramp.
  std::fill(saved.begin() + 14 + 40 + 20 * 4, saved.begin() + 1078, 0xEE);
  CDIB loaded;
  ASSERT_TRUE(LoadBytes(loaded, saved));
  EXPECT_EQ(loaded.header->bmiHeader.biClrUsed, 20u);
  EXPECT_EQ(std::memcmp(loaded.header->bmiColors, dib.header->bmiColors, 20 * 4), 0);
  EXPECT_EQ(FirstNonGrey(loaded.header->bmiColors, 20), 256);
  EXPECT_EQ(BitsOf(loaded), BitsOf(dib));
}

TEST(DIBFileTest, TwentyFourBitBitmapRoundTrips) {
  CDIB dib;
  ASSERT_TRUE(dib.Create24(5, 3));
  FillPattern(dib, 11);
  const ByteVector saved = SaveBytes(dib);
  ASSERT_EQ(saved.size(), 1078u + 16 * 3);
  EXPECT_EQ(U32At(saved, 10), 1078u);

  CDIB loaded;
  ASSERT_TRUE(LoadBytes(loaded, saved));
  EXPECT_EQ(HeaderBlockOf(loaded), HeaderBlockOf(dib));
  EXPECT_EQ(BitsOf(loaded), BitsOf(dib));
}

// Each file image is broken in one way; none may load, and the picture held stays as it was.
struct MalformedCase {
  const char* what;
  ByteVector file;
};

WindowsBmp With(void (*change)(WindowsBmp&)) {
  WindowsBmp b;
  change(b);
  return b;
}

ByteVector Prefix(const ByteVector& v, size_t n) { return ByteVector(v.begin(), v.begin() + n); }

std::vector<MalformedCase> MalformedCases() {
  const ByteVector good = WindowsBmp{}.Build();
  return {
      {"empty file", {}},
      {"file header cut short", Prefix(good, 10)},
      {"info header cut short", Prefix(good, 14 + 20)},
      {"header size field cut short", Prefix(good, 14 + 2)},
      {"OS/2 header cut short", Prefix(Os2Bmp(), 14 + 8)},
      {"bad magic", With([](WindowsBmp& b) { b.type = 0x4142; }).Build()},
      {"unknown header size 64", With([](WindowsBmp& b) { b.headerSize = 64; }).Build()},
      {"unknown header size 108", With([](WindowsBmp& b) { b.headerSize = 108; }).Build()},
      {"zero header size", With([](WindowsBmp& b) { b.headerSize = 0; }).Build()},
      {"zero width", With([](WindowsBmp& b) { b.width = 0; }).Build()},
      {"zero height", With([](WindowsBmp& b) { b.height = 0; }).Build()},
      {"negative width", With([](WindowsBmp& b) { b.width = -3; }).Build()},
      {"negative height (top-down rows)", With([](WindowsBmp& b) { b.height = -2; }).Build()},
      {"RLE8 compression", With([](WindowsBmp& b) { b.compression = 1; }).Build()},
      {"RLE4 compression", With([](WindowsBmp& b) {
                             b.compression = 2;
                             b.bitCount = 4;
                           }).Build()},
      {"bit-field compression", With([](WindowsBmp& b) {
                                  b.compression = 3;
                                  b.bitCount = 24;
                                  b.clrUsed = 0;
                                  b.tableEntries = 3;
                                }).Build()},
      {"16 bits per pixel", With([](WindowsBmp& b) {
                              b.bitCount = 16;
                              b.clrUsed = 0;
                              b.tableEntries = 0;
                            }).Build()},
      {"32 bits per pixel", With([](WindowsBmp& b) {
                              b.bitCount = 32;
                              b.clrUsed = 0;
                              b.tableEntries = 0;
                            }).Build()},
      {"2 bits per pixel", With([](WindowsBmp& b) { b.bitCount = 2; }).Build()},
      {"0 bits per pixel", With([](WindowsBmp& b) { b.bitCount = 0; }).Build()},
      {"biClrUsed 300 with 8 bits", With([](WindowsBmp& b) {
                                      b.clrUsed = 300;
                                      b.tableEntries = 256;
                                    }).Build()},
      {"biClrUsed 300 with 24 bits", With([](WindowsBmp& b) {
                                       b.bitCount = 24;
                                       b.clrUsed = 300;
                                       b.tableEntries = 300;
                                     }).Build()},
      {"colour table cut short", With([](WindowsBmp& b) {
                                   b.tableEntries = 2;  // biClrUsed says 4
                                   b.bitsBytes = 0;
                                   b.padToOffBits = false;
                                 }).Build()},
      {"no bits at all", With([](WindowsBmp& b) { b.bitsBytes = 0; }).Build()},
      {"bits one byte shorter than the rows",
       With([](WindowsBmp& b) { b.bitsBytes = 4 * 2 - 1; }).Build()},
      {"bfOffBits past the end", With([](WindowsBmp& b) {
                                   b.offBits = 0xFFFFFFF0;
                                   b.padToOffBits = false;
                                 }).Build()},
      {"bfOffBits inside the file header", With([](WindowsBmp& b) {
                                             b.offBits = 4;
                                             b.padToOffBits = false;
                                           }).Build()},
      {"bfOffBits inside the info header", With([](WindowsBmp& b) {
                                             b.offBits = 14 + 20;
                                             b.padToOffBits = false;
                                           }).Build()},
      {"bfOffBits inside the colour table", With([](WindowsBmp& b) {
                                              b.offBits = 14 + 40 + 8;
                                              b.padToOffBits = false;
                                            }).Build()},
      {"wider than the limit", With([](WindowsBmp& b) {
                                 b.width = CDIB::kMaxSide + 1;
                                 b.height = 1;
                                 b.bitsBytes = 0;
                               }).Build()},
      {"width x height over the bits limit", With([](WindowsBmp& b) {
                                               b.bitCount = 24;
                                               b.width = 0x4000;
                                               b.height = 0x4000;
                                               b.clrUsed = 0;
                                               b.tableEntries = 0;
                                               b.bitsBytes = 16;
                                             }).Build()},
      {"largest width and height", With([](WindowsBmp& b) {
                                     b.width = 0x7FFFFFFF;
                                     b.height = 0x7FFFFFFF;
                                     b.bitsBytes = 16;
                                   }).Build()},
      {"OS/2 header with zero width",
       [] {
         ByteVector v = Os2Bmp();
         v[14 + 4] = v[14 + 5] = 0;  // bcWidth
         return v;
       }()},
      {"OS/2 header with 24 bits and no bits", Prefix(
                                                   [] {
                                                     ByteVector v = Os2Bmp();
                                                     v[14 + 10] = 24;  // bcBitCount
                                                     return v;
                                                   }(),
                                                   14 + 12)},
  };
}

TEST(DIBFileTest, MalformedFilesFailAndKeepThePicture) {
  // The unbroken file loads: each case below fails for its own fault.
  CDIB check;
  ASSERT_TRUE(LoadBytes(check, WindowsBmp{}.Build()));

  for (const MalformedCase& c : MalformedCases()) {
    SCOPED_TRACE(c.what);
    CDIB dib;
    MakeOldPicture(dib);
    const Snapshot before(dib);
    EXPECT_FALSE(LoadBytes(dib, c.file));
    before.ExpectUnchanged(dib);
  }
}

TEST(DIBFileTest, ReadErrorsOfTheFileFailTheLoad) {
  // A file that is not open throws on every read; the loader turns that into a failure.
  CFile closed;
  CDIB dib;
  MakeOldPicture(dib);
  const Snapshot before(dib);
  EXPECT_FALSE(dib.LoadFromFile(&closed));
  EXPECT_FALSE(dib.LoadFromFile(nullptr));
  before.ExpectUnchanged(dib);
}

// --- Packed bitmaps ---------------------------------------------------------------------------

TEST(DIBAttachTest, AttachPackedCopiesTheHeaderAndBorrowsTheBits) {
  const ByteVector image = WindowsBmp{}.Build();
  ByteVector bits = CountingBytes(8, 1);
  {
    CDIB dib;
    ASSERT_TRUE(dib.AttachPacked(PackedInfo(image), bits.data(), 0));
    EXPECT_EQ(dib.bits, bits.data());
    EXPECT_EQ(dib.ownsBits, 0);
    EXPECT_EQ(dib.GetWidth(), 3);
    EXPECT_EQ(dib.GetNumColors(), 4);
    EXPECT_EQ(std::memcmp(dib.header, image.data() + 14, 40 + 4 * 4), 0);
    EXPECT_EQ(FirstNonGrey(dib.header->bmiColors, 4), 256) << "entries not copied are defined";
    // Replacing or destroying the bitmap must leave the borrowed bits alone (ASan would see a
    // free of memory that was never allocated that way).
    ASSERT_TRUE(dib.Create(2, 2, nullptr));
    ASSERT_TRUE(dib.AttachPacked(PackedInfo(image), bits.data(), 0));
  }
  EXPECT_EQ(bits, CountingBytes(8, 1));

  // Owned bits go with the bitmap (LeakSanitizer checks that they do).
  CDIB owner;
  BYTE* owned = static_cast<BYTE*>(std::malloc(8));
  ASSERT_TRUE(owner.AttachPacked(PackedInfo(image), owned, 1));
  EXPECT_EQ(owner.ownsBits, 1);
  // Handing the same owned block back with a new header keeps it alive (ASan: no use after free).
  ASSERT_TRUE(owner.AttachPacked(PackedInfo(image), owned, 1));
  owner.bits[7] = 1;
}

TEST(DIBAttachTest, AttachPackedRefusesATableLargerThanTheHeaderBlock) {
  WindowsBmp b;
  b.bitCount = 24;
  b.clrUsed = 300;
  b.tableEntries = 300;
  const ByteVector image = b.Build();
  ByteVector bits(24);
  CDIB dib;
  MakeOldPicture(dib);
  const Snapshot before(dib);
  EXPECT_FALSE(dib.AttachPacked(PackedInfo(image), bits.data(), 0));
  before.ExpectUnchanged(dib);
}

// --- Archives and run-time classes -----------------------------------------------------------

TEST(DIBArchiveTest, PictureIsACompleteBmpImageInsideTheArchive) {
  CDIB dib;
  ASSERT_TRUE(dib.Create24(5, 3));
  FillPattern(dib, 21);

  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << 0x12345678;
    dib.Serialize(ar);
    ar << 0x0BADF00D;
    ar.Close();
  }
  const ByteVector stored(file.GetData(), file.GetData() + file.GetLength());
  const size_t bmpSize = 1078 + 16 * 3;
  ASSERT_EQ(stored.size(), 4 + bmpSize + 4);
  EXPECT_EQ(ByteVector(stored.begin() + 4, stored.begin() + 4 + bmpSize), SaveBytes(dib));

  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  int before = 0, after = 0;
  ar >> before;
  CDIB loaded;
  loaded.Serialize(ar);
  ar >> after;
  EXPECT_EQ(before, 0x12345678);
  EXPECT_EQ(after, 0x0BADF00D) << "archive data after the picture must still read";
  EXPECT_EQ(HeaderBlockOf(loaded), HeaderBlockOf(dib));
  EXPECT_EQ(BitsOf(loaded), BitsOf(dib));
}

TEST(DIBArchiveTest, DamagedPictureInAnArchiveThrowsAndKeepsTheObject) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << 7;
    ar.Write("BX not a picture", 16);
    ar.Close();
  }
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  int seven = 0;
  ar >> seven;
  CDIB dib;
  MakeOldPicture(dib);
  const Snapshot before(dib);
  EXPECT_THROW(dib.Serialize(ar), CArchiveException);
  before.ExpectUnchanged(dib);
}

TEST(DIBArchiveTest, CreatedByClassNameAndReadBackAsAnObject) {
  std::unique_ptr<CObject> made(CRuntimeClass::CreateObject("CDIB"));
  ASSERT_NE(made, nullptr);
  ASSERT_TRUE(made->IsKindOf(RUNTIME_CLASS(CDIB)));
  auto* fresh = static_cast<CDIB*>(made.get());
  EXPECT_EQ(fresh->GetWidth(), 16);
  EXPECT_EQ(fresh->GetHeight(), 16);
  EXPECT_TRUE(RUNTIME_CLASS(CDIB)->IsSerializable());
  EXPECT_EQ(RUNTIME_CLASS(CDIB)->GetSchemaNumber(), 0u);

  CDIB dib;
  ASSERT_TRUE(dib.Create(6, 2, nullptr));
  FillPattern(dib, 5);
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << static_cast<const CObject*>(&dib);
    ar << 42;
    ar.Close();
  }
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  CDIB* read = nullptr;
  ar >> read;
  std::unique_ptr<CDIB> owned(read);
  int tail = 0;
  ar >> tail;
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetRuntimeClass(), RUNTIME_CLASS(CDIB));
  EXPECT_EQ(BitsOf(*read), BitsOf(dib));
  EXPECT_EQ(tail, 42);
}

// --- Files by name ---------------------------------------------------------------------------

class DIBNamedFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        std::filesystem::temp_directory_path() /
        ("dib-test-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string PathOf(const char* name) const { return (dir_ / name).string(); }

  void WriteFile(const char* name, const ByteVector& bytes) const {
    std::ofstream out(dir_ / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }

  std::filesystem::path dir_;
  seams::ScopedAlertRecorder alerts_;
};

TEST_F(DIBNamedFileTest, SavesAndLoadsByName) {
  CDIB dib;
  ASSERT_TRUE(dib.Create24(4, 4));
  FillPattern(dib, 9);
  ASSERT_TRUE(dib.Save(PathOf("picture.bmp").c_str()));
  CDIB loaded;
  ASSERT_TRUE(loaded.Load(PathOf("picture.bmp").c_str()));
  EXPECT_EQ(BitsOf(loaded), BitsOf(dib));
  EXPECT_FALSE(loaded.Load(PathOf("missing.bmp").c_str()));
  EXPECT_TRUE(alerts_.Records().empty()) << "loading reports nothing";
}

TEST_F(DIBNamedFileTest, NamesEndingInJpgGoToTheJpegReader) {
  const ByteVector bmp = WindowsBmp{}.Build();
  const char* names[] = {"a.jpeg", "b.jpg", "C.JPG", "d.bmp"};
  const bool loadsAsBmp[] = {true, false, false, true};
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(names[i]);
    WriteFile(names[i], bmp);
    CDIB dib;
    EXPECT_EQ(dib.Load(PathOf(names[i]).c_str()), loadsAsBmp[i] ? 1 : 0);
  }
}

TEST_F(DIBNamedFileTest, SaveFailuresAreReportedWithAnAlert) {
  CDIB dib;
  EXPECT_FALSE(dib.Save(PathOf("no-such-folder/picture.bmp").c_str()));
  ASSERT_EQ(alerts_.Records().size(), 1u);
  EXPECT_EQ(alerts_.Records()[0].text, "Failed to open file");
  EXPECT_EQ(alerts_.Records()[0].caption, "");
  EXPECT_EQ(alerts_.Records()[0].flags, seams::kAlertOk);
#ifndef _WIN32
  // A device that is always full: the open succeeds and the bytes never land.
  alerts_.Clear();
  EXPECT_FALSE(dib.Save("/dev/full"));
  ASSERT_EQ(alerts_.Records().size(), 1u);
  EXPECT_EQ(alerts_.Records()[0].text, "Failed to save file");
#endif
}

}  // namespace
