// CPalette (GDI natively stood in for, real under Wine) and CColorPalette.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Gdi.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "tests/native/imaging/DIBTestSupport.h"

namespace {

using dibtest::CreatePaletteFrom;

PALETTEENTRY Rgb(int r, int g, int b, int flags = 0) {
  return PALETTEENTRY{BYTE(r), BYTE(g), BYTE(b), BYTE(flags)};
}

PALETTEENTRY GreyLevel(int level, int flags = PC_NOCOLLAPSE) {
  const int v = CColorPalette::GreyLevels[level] * 4;
  return Rgb(v, v, v, flags);
}

PALETTEENTRY StaticColour(int i, int flags = PC_NOCOLLAPSE) {
  const CColorPalette::NamedColor& c = CColorPalette::StaticColors[i];
  return Rgb(c.red, c.green, c.blue, flags);
}

std::string Show(const PALETTEENTRY& e) {
  return "(" + std::to_string(e.peRed) + "," + std::to_string(e.peGreen) + "," +
         std::to_string(e.peBlue) + " flags " + std::to_string(e.peFlags) + ")";
}

::testing::AssertionResult SameEntry(const PALETTEENTRY& actual, const PALETTEENTRY& expected) {
  if (actual.peRed == expected.peRed && actual.peGreen == expected.peGreen &&
      actual.peBlue == expected.peBlue && actual.peFlags == expected.peFlags)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got " << Show(actual) << ", expected " << Show(expected);
}

std::vector<PALETTEENTRY> EntriesOf(const CPalette& palette) {
  std::vector<PALETTEENTRY> entries(palette.GetEntryCount());
  entries.resize(palette.GetPaletteEntries(0, static_cast<UINT>(entries.size()), entries.data()));
  return entries;
}

// 256 distinct colours that are neither grey levels nor static colours.
std::vector<PALETTEENTRY> DistinctColours(int n = 256) {
  std::vector<PALETTEENTRY> v;
  for (int i = 0; i < n; ++i) v.push_back(Rgb(i, 255 - i, (i * 37 + 1) & 0xFF));
  return v;
}

// --- CPalette ---------------------------------------------------------------------------------

TEST(PaletteTest, EntriesAreReadAndWrittenWithinTheCount) {
  CPalette palette;
  EXPECT_EQ(palette.GetEntryCount(), 0);
  EXPECT_EQ(palette.GetNearestPaletteIndex(RGB(1, 2, 3)), CLR_INVALID);
  ASSERT_TRUE(
      CreatePaletteFrom(palette, {Rgb(0, 0, 0), Rgb(10, 10, 10), Rgb(20, 20, 20), Rgb(30, 0, 0)}));
  EXPECT_NE(static_cast<HPALETTE>(palette), nullptr);
  EXPECT_EQ(palette.GetEntryCount(), 4);

  PALETTEENTRY out[8] = {};
  EXPECT_EQ(palette.GetPaletteEntries(2, 8, out), 2u) << "clamped to the entries left";
  EXPECT_TRUE(SameEntry(out[0], Rgb(20, 20, 20)));
  EXPECT_TRUE(SameEntry(out[1], Rgb(30, 0, 0)));
  EXPECT_EQ(palette.GetPaletteEntries(4, 1, out), 0u) << "start past the end";

  const PALETTEENTRY two[] = {Rgb(1, 2, 3), Rgb(4, 5, 6)};
  EXPECT_EQ(palette.SetPaletteEntries(3, 2, two), 1u);
  EXPECT_EQ(palette.GetPaletteEntries(3, 1, out), 1u);
  EXPECT_TRUE(SameEntry(out[0], Rgb(1, 2, 3)));
}

TEST(PaletteTest, NearestIndexIsTheClosestColourAndTheFirstOnTies) {
  CPalette palette;
  ASSERT_TRUE(
      CreatePaletteFrom(palette, {Rgb(0, 0, 0), Rgb(100, 0, 0), Rgb(0, 100, 0), Rgb(100, 0, 0)}));
  EXPECT_EQ(palette.GetNearestPaletteIndex(RGB(0, 0, 0)), 0u);
  EXPECT_EQ(palette.GetNearestPaletteIndex(RGB(90, 5, 0)), 1u) << "entry 3 is the same colour";
  EXPECT_EQ(palette.GetNearestPaletteIndex(RGB(0, 60, 0)), 2u);
  EXPECT_EQ(palette.GetNearestPaletteIndex(RGB(60, 60, 0)), 1u) << "tie of 1 and 2: the first";
}

TEST(PaletteTest, ResizeKeepsLeadingEntriesAndZeroesNewOnes) {
  CPalette palette;
  ASSERT_TRUE(CreatePaletteFrom(palette, {Rgb(9, 8, 7), Rgb(6, 5, 4)}));
  ASSERT_TRUE(palette.ResizePalette(4));
  std::vector<PALETTEENTRY> entries = EntriesOf(palette);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_TRUE(SameEntry(entries[0], Rgb(9, 8, 7)));
  EXPECT_TRUE(SameEntry(entries[1], Rgb(6, 5, 4)));
  EXPECT_TRUE(SameEntry(entries[2], Rgb(0, 0, 0)));
  EXPECT_TRUE(SameEntry(entries[3], Rgb(0, 0, 0)));
  ASSERT_TRUE(palette.ResizePalette(1));
  entries = EntriesOf(palette);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_TRUE(SameEntry(entries[0], Rgb(9, 8, 7)));
}

TEST(PaletteTest, HandleOwnershipMovesWithAttachAndDetach) {
  CPalette first;
  ASSERT_TRUE(CreatePaletteFrom(first, {Rgb(1, 1, 1)}));
  CPalette second;
  HGDIOBJ handle = first.Detach();
  EXPECT_EQ(first.GetSafeHandle(), nullptr);
  EXPECT_FALSE(first.DeleteObject()) << "nothing left to delete";
  ASSERT_TRUE(second.Attach(handle));
  EXPECT_FALSE(second.Attach(handle)) << "one handle at a time";
  EXPECT_EQ(second.GetEntryCount(), 1);
  EXPECT_TRUE(second.DeleteObject());
  EXPECT_EQ(second.GetSafeHandle(), nullptr);
  EXPECT_EQ(second.GetEntryCount(), 0);
}

// --- CColorPalette ----------------------------------------------------------------------------

TEST(ColorPaletteTest, GreyRampSitsAfterTheReservedEntries) {
  struct Case {
    int n;
    int rampAt;
  };
  const Case cases[] = {{10, 10}, {0, 0}, {224, 224}, {-5, 0}, {225, 224}, {1000, 224}};
  for (const Case& c : cases) {
    SCOPED_TRACE("CreateGreyRamp(" + std::to_string(c.n) + ")");
    CColorPalette palette;
    ASSERT_TRUE(palette.CreateGreyRamp(c.n));
    const std::vector<PALETTEENTRY> entries = EntriesOf(palette);
    ASSERT_EQ(entries.size(), 256u);
    for (int i = 0; i < 256; ++i) {
      const bool ramp = i >= c.rampAt && i < c.rampAt + 32;
      EXPECT_TRUE(
          SameEntry(entries[i], ramp ? GreyLevel(i - c.rampAt) : Rgb(255, 0, 0, PC_NOCOLLAPSE)))
          << "entry " << i;
    }
  }
  // The ramp runs from black to 252, the top level times 4.
  EXPECT_EQ(GreyLevel(0).peRed, 0);
  EXPECT_EQ(GreyLevel(31).peRed, 252);
}

TEST(ColorPaletteTest, CreateFromDIBTakesTheColourTable) {
  CDIB dib;
  ASSERT_TRUE(dib.Create(2, 2, nullptr));
  dib.header->bmiHeader.biClrUsed = 20;
  for (int i = 0; i < 20; ++i)
    dib.header->bmiColors[i] = RGBQUAD{BYTE(i), BYTE(2 * i), BYTE(3 * i), 7};

  CColorPalette palette;
  ASSERT_TRUE(palette.CreateFromDIB(&dib));
  const std::vector<PALETTEENTRY> entries = EntriesOf(palette);
  ASSERT_EQ(entries.size(), 20u);
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(SameEntry(entries[i], Rgb(3 * i, 2 * i, i))) << i;

  // A 24-bit bitmap has no table: the palette held stays.
  const HGDIOBJ held = palette.GetSafeHandle();
  CDIB deep;
  ASSERT_TRUE(deep.Create24(2, 2));
  EXPECT_FALSE(palette.CreateFromDIB(&deep));
  EXPECT_EQ(palette.GetSafeHandle(), held);
  EXPECT_EQ(palette.GetEntryCount(), 20);
  EXPECT_FALSE(palette.CreateFromDIB(nullptr));
  EXPECT_EQ(palette.GetSafeHandle(), held);
}

TEST(ColorPaletteTest, MakeIdentityWithoutAPaletteDisplayChangesNothing) {
  // Natively there is no display; under Wine the display is true colour.
  CDIB dib;
  CColorPalette palette;
  ASSERT_TRUE(palette.CreateFromDIB(&dib));
  const HGDIOBJ held = palette.GetSafeHandle();
  const std::vector<PALETTEENTRY> before = EntriesOf(palette);
  EXPECT_FALSE(palette.MakeIdentity());
  EXPECT_EQ(palette.GetSafeHandle(), held);
  const std::vector<PALETTEENTRY> after = EntriesOf(palette);
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) EXPECT_TRUE(SameEntry(after[i], before[i])) << i;
}

// The identity layout: what each output index must hold.
struct Segment {
  int from, to;  // output indexes [from, to)
  enum Kind { Ramp, Static, Own, Zero } kind;
  int ownFrom;  // Own: the palette entry at `from`; Static: the static colour at `from`
};

struct IdentityCase {
  const char* what;
  std::function<std::vector<PALETTEENTRY>()> current;
  bool eightBitDisplay;
  int fixed;
  std::vector<Segment> layout;
};

// The output of a first run on a deeper display over 256 distinct colours.
std::vector<PALETTEENTRY> AfterFirstDeepRun() {
  std::vector<PALETTEENTRY> v(256);
  const std::vector<PALETTEENTRY> own = DistinctColours();
  CColorPalette::BuildIdentityEntries(own.data(), 256, false, v.data());
  return v;
}

std::vector<PALETTEENTRY> WithRamp(std::vector<PALETTEENTRY> v) {
  for (int i = 0; i < 32; ++i) v[i] = GreyLevel(i, 0);
  return v;
}

std::vector<PALETTEENTRY> WithStatics(std::vector<PALETTEENTRY> v) {
  for (int i = 0; i < 20; ++i) v[32 + i] = StaticColour(i, 0);
  return v;
}

// Every entry of `out` as the layout says, each with PC_NOCOLLAPSE.
void ExpectLayout(const PALETTEENTRY* out, const std::vector<PALETTEENTRY>& own,
                  const std::vector<Segment>& layout) {
  for (const Segment& s : layout) {
    for (int i = s.from; i < s.to; ++i) {
      PALETTEENTRY expected;
      switch (s.kind) {
        case Segment::Ramp: expected = GreyLevel(i - s.from); break;
        case Segment::Static: expected = StaticColour(s.ownFrom + i - s.from); break;
        case Segment::Own: expected = own[s.ownFrom + i - s.from]; break;
        case Segment::Zero: expected = Rgb(0, 0, 0); break;
      }
      expected.peFlags = PC_NOCOLLAPSE;
      EXPECT_TRUE(SameEntry(out[i], expected)) << "entry " << i;
    }
  }
}

std::vector<IdentityCase> IdentityCases() {
  using S = Segment;
  return {
      {"8-bit display, 256 colours: ramp, then the first 224",
       [] { return DistinctColours(); },
       true,
       32,
       {{0, 32, S::Ramp, 0}, {32, 256, S::Own, 0}}},
      {"8-bit display, ramp already there: it goes first anyway",
       [] { return WithRamp(DistinctColours()); },
       true,
       32,
       {{0, 32, S::Ramp, 0}, {32, 256, S::Own, 0}}},
      {"8-bit display, 10 colours: the rest stays black",
       [] { return DistinctColours(10); },
       true,
       32,
       {{0, 32, S::Ramp, 0}, {32, 42, S::Own, 0}, {42, 256, S::Zero, 0}}},
      {"deeper display, neither present: ramp, colours, then the first 204",
       [] { return DistinctColours(); },
       false,
       52,
       {{0, 32, S::Ramp, 0}, {32, 52, S::Static, 0}, {52, 256, S::Own, 0}}},
      {"deeper display, both present (a second run): everything in place",
       AfterFirstDeepRun,
       false,
       0,
       {{0, 32, S::Ramp, 0}, {32, 52, S::Static, 0}, {52, 256, S::Own, 52}}},
      {"deeper display, colours present, ramp not: ramp then the palette",
       [] { return WithStatics(DistinctColours()); },
       false,
       32,
       {{0, 32, S::Ramp, 0}, {32, 256, S::Own, 0}}},
      {"deeper display, ramp present, colours not: the colours go to 32..51, the palette after",
       [] { return WithRamp(DistinctColours()); },
       false,
       52,
       {{0, 32, S::Ramp, 0}, {32, 52, S::Static, 0}, {52, 256, S::Own, 0}}},
      {"deeper display, palette too short to hold the colours",
       [] { return DistinctColours(40); },
       false,
       52,
       {{0, 32, S::Ramp, 0}, {32, 52, S::Static, 0}, {52, 92, S::Own, 0}, {92, 256, S::Zero, 0}}},
  };
}

TEST(ColorPaletteTest, IdentityEntriesPutTheFixedColoursFirst) {
  for (const IdentityCase& c : IdentityCases()) {
    SCOPED_TRACE(c.what);
    const std::vector<PALETTEENTRY> current = c.current();
    PALETTEENTRY out[256];
    EXPECT_EQ(CColorPalette::BuildIdentityEntries(current.data(), static_cast<int>(current.size()),
                                                  c.eightBitDisplay, out),
              c.fixed);
    ExpectLayout(out, current, c.layout);
  }
}

struct ScreenCase {
  const char* what;
  std::function<std::vector<PALETTEENTRY>()> picture;
  int reserved;
  std::vector<Segment> layout;
};

// The screen's table puts the ramp where the routines draw it, GreyRampBaseIndex = the reserved
// count, whatever the picture holds.
TEST(ColorPaletteTest, ScreenEntriesHoldTheRampAfterTheReservedEntriesAndThePictureAfterIt) {
  using S = Segment;
  const ScreenCase cases[] = {
      {"no palette on the display: a deeper display's identity layout",
       [] { return DistinctColours(); },
       0,
       {{0, 32, S::Ramp, 0}, {32, 52, S::Static, 0}, {52, 256, S::Own, 0}}},
      {"no palette, a screen's table placed again: unchanged",
       AfterFirstDeepRun,
       0,
       {{0, 32, S::Ramp, 0}, {32, 52, S::Static, 0}, {52, 256, S::Own, 52}}},
      {"8-bit display: the claimed system palette",
       [] { return DistinctColours(); },
       10,
       {{0, 10, S::Static, 0},
        {10, 42, S::Ramp, 0},
        {42, 246, S::Own, 0},
        {246, 256, S::Static, 10}}},
      {"8-bit display, a short picture: black between",
       [] { return DistinctColours(40); },
       10,
       {{0, 10, S::Static, 0},
        {10, 42, S::Ramp, 0},
        {42, 82, S::Own, 0},
        {82, 246, S::Zero, 0},
        {246, 256, S::Static, 10}}},
      {"a count past the largest is the largest",
       [] { return DistinctColours(); },
       500,
       {{224, 256, S::Ramp, 0}}},
  };
  for (const ScreenCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<PALETTEENTRY> picture = c.picture();
    PALETTEENTRY out[256];
    CColorPalette::BuildScreenEntries(picture.data(), static_cast<int>(picture.size()), c.reserved,
                                      out);
    ExpectLayout(out, picture, c.layout);
  }

  // From a bitmap: its table in that layout, all 256 entries; none without a table.
  CDIB dib;
  ASSERT_TRUE(dib.Create(2, 2, nullptr));
  dib.header->bmiHeader.biClrUsed = 3;
  for (int i = 0; i < 3; ++i) dib.header->bmiColors[i] = RGBQUAD{BYTE(i), 200, 100, 0};
  CColorPalette palette;
  ASSERT_TRUE(palette.CreateScreenPalette(&dib, 10));
  const std::vector<PALETTEENTRY> entries = EntriesOf(palette);
  ASSERT_EQ(entries.size(), 256u);
  ExpectLayout(entries.data(), {Rgb(100, 200, 0), Rgb(100, 200, 1), Rgb(100, 200, 2)},
               {{10, 42, S::Ramp, 0}, {42, 45, S::Own, 0}, {45, 246, S::Zero, 0}});
  CDIB deep;
  ASSERT_TRUE(deep.Create24(2, 2));
  EXPECT_FALSE(palette.CreateScreenPalette(&deep, 0));
  EXPECT_EQ(palette.GetEntryCount(), 256);
}

}  // namespace
