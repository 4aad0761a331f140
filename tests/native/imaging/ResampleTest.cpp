// The image resampler: palette interpolation to the screen, stretches, reductions and mirroring.
// Rows are given in memory order (row 0 is the bottom row), as the resampler addresses them.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "imaging/DIB.h"
#include "imaging/Resample.h"
#include "tests/native/imaging/DIBTestSupport.h"
#include "tests/native/imaging/ProgressRecorder.h"

namespace {

using Rows = std::vector<std::vector<int>>;
using DIBPtr = std::unique_ptr<CDIB>;

BYTE* MemoryRow(const CDIB& dib, int row) {
  return dib.bits + static_cast<size_t>(row) * dib.GetStorageWidth();
}

void SetMemoryRows(CDIB& dib, const Rows& rows) {
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t x = 0; x < rows[r].size(); ++x)
      MemoryRow(dib, static_cast<int>(r))[x] = static_cast<BYTE>(rows[r][x]);
}

Rows MemoryRowsOf(const CDIB& dib, int channels = 1, int channel = 0) {
  Rows rows(dib.GetHeight(), std::vector<int>(dib.GetWidth()));
  for (int r = 0; r < dib.GetHeight(); ++r)
    for (int x = 0; x < dib.GetWidth(); ++x) rows[r][x] = MemoryRow(dib, r)[x * channels + channel];
  return rows;
}

// An 8-bit bitmap with the grey-ramp table, so that every blend of two entries is itself an
// entry; `colours` limits the table (fewer entries make the blend tables quick to build).
DIBPtr Grey(int w, int h, int colours = 256) {
  DIBPtr dib(new CDIB);
  EXPECT_TRUE(dib->Create(w, h, nullptr));
  dib->header->bmiHeader.biClrUsed = colours == 256 ? 0 : colours;
  return dib;
}

DIBPtr Pattern(int w, int h, int colours) {
  DIBPtr dib = Grey(w, h, colours);
  for (int r = 0; r < h; ++r)
    for (int x = 0; x < w; ++x) MemoryRow(*dib, r)[x] = static_cast<BYTE>((x + 3 * r) % colours);
  return dib;
}

// ---- InterpolateToScreen ------------------------------------------------------------------

struct ScreenCase {
  const char* name;
  int w, h, screenW, screenH;
  int resultW, resultH;    // 0: failure
  int pictureW, pictureH;  // the enlarged picture inside the result
};

constexpr RGBQUAD kBack{30, 20, 10, 0};

bool IsBack(const CDIB& dib, int x, int y) {
  const RGBQUAD& c = dib.header->bmiColors[*dib.GetPixelAddress(x, y)];
  return c.rgbBlue == kBack.rgbBlue && c.rgbGreen == kBack.rgbGreen && c.rgbRed == kBack.rgbRed;
}

TEST(InterpolateToScreenTest, FactorAndLetterboxFollowTheScreen) {
  const ScreenCase cases[] = {
      {"5/4 to 800 x 600", 640, 480, 800, 600, 800, 600, 800, 600},
      {"8/5 to 1024 x 768", 640, 480, 1024, 768, 1024, 768, 1024, 768},
      {"9/5 to 1152 x 864", 640, 480, 1152, 864, 1152, 864, 1152, 864},
      {"height not limiting: centred", 640, 400, 800, 600, 800, 600, 800, 500},
      {"2 to 1280 x 1024, centred", 640, 480, 1280, 1024, 1280, 1024, 1280, 960},
      {"5/2 on an even source", 768, 480, 1920, 1200, 1920, 1200, 1920, 1200},
      {"small screen: copied", 320, 200, 640, 480, 640, 480, 320, 200},
      {"2 on 1920 x 1080, centred", 640, 480, 1920, 1080, 1920, 1080, 1280, 960},
      {"8/5 on 1366 x 768, centred", 640, 480, 1366, 768, 1366, 768, 1024, 768},
      {"4:3 at 2 on 1920 x 1080 gives way to 9/5", 800, 600, 1920, 1080, 1920, 1080, 1440, 1080},
      {"too wide at 5/4 gives way to 1", 700, 100, 800, 600, 800, 600, 700, 100},
      {"too wide even at 1: fitted", 900, 100, 800, 600, 800, 600, 800, 88},
  };
  for (const ScreenCase& c : cases) {
    SCOPED_TRACE(c.name);
    DIBPtr source = Pattern(c.w, c.h, 16);
    CDIB* result = nullptr;
    const BOOL ok =
        InterpolateToScreen(source.get(), c.screenW, c.screenH, &result, kBack, nullptr);
    DIBPtr owned(result);
    ASSERT_TRUE(ok);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetWidth(), c.resultW);
    EXPECT_EQ(result->GetHeight(), c.resultH);
    EXPECT_EQ(result->header->bmiHeader.biBitCount, 8);
    const bool barred = c.pictureW < c.resultW || c.pictureH < c.resultH;
    EXPECT_EQ(result->header->bmiHeader.biClrUsed, barred ? 17u : 16u)
        << "the source's table, and the back colour after it for the bars";
    // The picture sits centred; outside it the back colour.
    const int left = c.resultW / 2 - c.pictureW / 2, top = c.resultH / 2 - c.pictureH / 2;
    if (left > 0) {
      EXPECT_TRUE(IsBack(*result, left - 1, c.resultH / 2));
      EXPECT_TRUE(IsBack(*result, 0, 0));
      EXPECT_FALSE(IsBack(*result, left, c.resultH / 2));
      EXPECT_TRUE(IsBack(*result, left + c.pictureW, c.resultH / 2));
    }
    if (top > 0) {
      EXPECT_TRUE(IsBack(*result, c.resultW / 2, top - 1));
      EXPECT_FALSE(IsBack(*result, c.resultW / 2, top));
      EXPECT_TRUE(IsBack(*result, c.resultW / 2, top + c.pictureH));
    }
    EXPECT_EQ(*result->GetPixelAddress(left, top + c.pictureH - 1), 0)
        << "the source's first pixel";
  }
}

// A picture larger than the screen both ways shows its centre: only that part is made, the
// same pixels as the whole enlargement holds there. Rows (or columns) of one value blend along
// the other axis only, so each line of the result is the Part's one-axis blend at its place.
TEST(InterpolateToScreenTest, APictureLargerThanTheScreenIsMadeOnlyWhereItShows) {
  // 1000 x 750 at 5/4 for an 800 x 600 screen: 100 columns and 75 rows off each side.
  const int samples = 800;
  auto line = [](int i) { return (i * 37 + i * i / 7) % 256; };
  auto blended = [&](int i) {  // index i of the 1000 enlarged samples
    if (i == 999) i = 998;     // the last repeats the one before
    const int left = i * 4 / 5, numerator = i * 4 % 5;
    if (numerator == 0 || left + 1 >= samples) return line(left);
    const int a = line(left), b = line(left + 1);
    return (a * (5 - numerator) + b * numerator) / 5;  // weights of a and b, fifths
  };
  DIBPtr source = Grey(samples, 600);
  for (int r = 0; r < 600; ++r)
    for (int x = 0; x < samples; ++x) MemoryRow(*source, r)[x] = static_cast<BYTE>(line(x));
  CDIB* result = nullptr;
  ASSERT_TRUE(InterpolateToScreen(source.get(), 800, 600, &result, kBack, nullptr));
  DIBPtr owned(result);
  ASSERT_EQ(result->GetWidth(), 800);
  ASSERT_EQ(result->GetHeight(), 600);
  for (int r : {0, 299, 599})
    for (int x = 0; x < 800; ++x)
      ASSERT_EQ(MemoryRow(*result, r)[x], blended(100 + x)) << "column " << x << ", row " << r;
}

struct BlendCase {
  const char* name;
  int screenW, screenH;
  std::vector<int> expected;
};

// Samples 0, 100, 200, 40 along one axis of a 4 x 4 grey picture. 5/4: positions 0, 4/5, 8/5,
// 12/5; 2: halves; 5/2: fifths, where the last sample has no right neighbour (the picture's edge
// takes the nearest sample) and the last column repeats the one before.
TEST(InterpolateToScreenTest, BlendsNeighboursThroughTheNearestPaletteColour) {
  const BlendCase cases[] = {
      {"5/4", 800, 600, {0, 80, 160, 136, 136}},
      {"2", 1280, 960, {0, 50, 100, 150, 200, 120, 40, 40}},
      {"5/2", 1920, 1200, {0, 40, 80, 120, 160, 200, 136, 72, 40, 40}},
  };
  const int samples[4] = {0, 100, 200, 40};
  for (const BlendCase& c : cases) {
    for (bool horizontal : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (horizontal ? " across" : " down"));
      DIBPtr source = Grey(4, 4);  // rows of 4 bytes: a read past a row or the picture is caught
      for (int r = 0; r < 4; ++r)
        for (int x = 0; x < 4; ++x)
          MemoryRow(*source, r)[x] = static_cast<BYTE>(samples[horizontal ? x : r]);
      CDIB* result = nullptr;
      ASSERT_TRUE(InterpolateToScreen(source.get(), c.screenW, c.screenH, &result, kBack, nullptr));
      DIBPtr owned(result);
      const int n = static_cast<int>(c.expected.size());
      // The n x n picture is centred; its memory row r is row n - 1 - r from its top.
      const int left = c.screenW / 2 - n / 2, top = c.screenH / 2 - n / 2;
      for (int r = 0; r < n; ++r)
        for (int x = 0; x < n; ++x)
          ASSERT_EQ(*result->GetPixelAddress(left + x, top + n - 1 - r),
                    c.expected[horizontal ? x : r])
              << "column " << x << ", memory row " << r;
    }
  }
}

TEST(InterpolateToScreenTest, OnePixelWideSourcesTakeTheNearestPixelAcross) {
  DIBPtr source = Grey(1, 4);
  SetMemoryRows(*source, {{0}, {100}, {200}, {40}});
  CDIB* result = nullptr;
  ASSERT_TRUE(InterpolateToScreen(source.get(), 800, 600, &result, kBack, nullptr));
  DIBPtr owned(result);
  const int left = 400, top = 300 - 2;
  const int expected[5] = {0, 80, 160, 136, 136};
  for (int r = 0; r < 5; ++r) EXPECT_EQ(*result->GetPixelAddress(left, top + 4 - r), expected[r]);
  EXPECT_TRUE(IsBack(*result, left + 1, top));
}

TEST(InterpolateToScreenTest, ProgressStepsWhileTheTablesAreBuilt) {
  const struct {
    const char* name;
    int screenW, screenH;
  } cases[] = {{"one table", 1280, 960}, {"two tables", 800, 600}, {"four tables", 1024, 768}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DIBPtr source = Pattern(64, 48, 16);
    progresstest::ScopedProgressRecorder recorder;
    CDIB* result = nullptr;
    ASSERT_TRUE(InterpolateToScreen(source.get(), c.screenW, c.screenH, &result, kBack,
                                    progresstest::FakeBar()));
    delete result;
    EXPECT_TRUE(recorder.StartedWithRangeAndStep(progresstest::FakeBar()));
    EXPECT_EQ(recorder.Steps(), 10);
  }
}

TEST(InterpolateToScreenTest, RefusesWhatItCannotScale) {
  DIBPtr picture24(new CDIB);
  ASSERT_TRUE(picture24->Create24(8, 8));
  DIBPtr empty = Grey(0, 4);
  DIBPtr fine = Grey(8, 8);
  CDIB* result = nullptr;
  EXPECT_FALSE(InterpolateToScreen(picture24.get(), 800, 600, &result, kBack, nullptr));
  EXPECT_FALSE(InterpolateToScreen(empty.get(), 800, 600, &result, kBack, nullptr));
  EXPECT_FALSE(InterpolateToScreen(nullptr, 800, 600, &result, kBack, nullptr));
  EXPECT_FALSE(InterpolateToScreen(fine.get(), 800, 600, nullptr, kBack, nullptr));
  EXPECT_EQ(result, nullptr);
}

// ---- StretchToScreen ----------------------------------------------------------------------

TEST(StretchToScreenTest, TwentyFourBitPicturesFillTheScreenBilinearly) {
  DIBPtr source(new CDIB);
  ASSERT_TRUE(source->Create24(2, 2));
  const int v[2][2] = {{0, 200}, {100, 40}};  // [memory row][column]
  for (int r = 0; r < 2; ++r)
    for (int x = 0; x < 2; ++x) {
      BYTE* p = MemoryRow(*source, r) + 3 * x;
      p[0] = static_cast<BYTE>(v[r][x]), p[1] = static_cast<BYTE>(255 - v[r][x]), p[2] = 0;
    }
  CDIB* result = nullptr;
  ASSERT_TRUE(StretchToScreen(source.get(), 4, 3, &result, kBack));
  DIBPtr owned(result);
  ASSERT_EQ(result->header->bmiHeader.biBitCount, 24);
  // Weights out of 256: columns 256, 128, then the last sample alone; rows 256, 86, last alone.
  EXPECT_EQ(MemoryRowsOf(*result, 3, 0),
            (Rows{{0, 100, 200, 200}, {66, 80, 93, 93}, {100, 70, 40, 40}}));
  EXPECT_EQ(MemoryRowsOf(*result, 3, 1),
            (Rows{{255, 155, 55, 55}, {188, 174, 161, 161}, {155, 185, 215, 215}}));
  EXPECT_EQ(MemoryRowsOf(*result, 3, 2), (Rows{{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}));
}

TEST(StretchToScreenTest, PicturesOfTheScreenSizeAreCopied) {
  DIBPtr eight = Pattern(30, 20, 16);
  DIBPtr twentyFour(new CDIB);
  ASSERT_TRUE(twentyFour->Create24(30, 20));
  for (size_t i = 0; i < dibtest::BitsSize(*twentyFour); ++i)
    twentyFour->bits[i] = static_cast<BYTE>(i * 7);
  for (CDIB* source : {eight.get(), twentyFour.get()}) {
    CDIB* result = nullptr;
    ASSERT_TRUE(StretchToScreen(source, 30, 20, &result, kBack));
    DIBPtr owned(result);
    EXPECT_NE(result, source);
    EXPECT_EQ(dibtest::BitsOf(*result), dibtest::BitsOf(*source));
  }
}

TEST(StretchToScreenTest, EightBitPicturesKeepTheirProportionsAndAreCentred) {
  DIBPtr source = Pattern(400, 300, 256);
  CDIB* result = nullptr;
  ASSERT_TRUE(StretchToScreen(source.get(), 800, 400, &result, kBack));
  DIBPtr owned(result);
  ASSERT_EQ(result->GetWidth(), 800);
  ASSERT_EQ(result->GetHeight(), 400);
  // Fit: 533 x 400 at column 400 - 266 = 134; pixel (i, r) from source (i x 400 / 533, r x 3 / 4).
  // The full grey table gives up entry 1, the first nearest another (0), to the back colour.
  for (int r : {0, 1, 399}) {
    const BYTE* row = MemoryRow(*result, r);
    EXPECT_TRUE(IsBack(*result, 133, r));
    EXPECT_TRUE(IsBack(*result, 667, r));
    for (int i : {0, 1, 2, 300, 532}) {
      const int index = (i * 400 / 533 + 3 * (r * 300 / 400)) % 256;
      EXPECT_EQ(row[134 + i], index == 1 ? 0 : index) << "column " << i << ", row " << r;
    }
  }
}

// The bars take the back colour whatever the picture's table holds: an entry of that colour
// serves as it is, else one after the picture's colours; a full table gives up the entry whose
// colour lies nearest another's, and the picture's pixels of it take that other.
TEST(StretchToScreenTest, BarsTakeTheBackColourBesideThePicturesColours) {
  const struct {
    const char* name;
    int colours;
    int backEntryHolding;  // an entry set to the back colour first, or -1
    DWORD count;           // the canvas's table
    int barIndex;
  } cases[] = {
      {"room after the colours", 16, -1, 17, 16},
      {"an entry holds it", 16, 5, 16, 5},
      {"a full table", 256, -1, 256, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DIBPtr source = Pattern(40, 30, c.colours);
    if (c.backEntryHolding >= 0) source->header->bmiColors[c.backEntryHolding] = kBack;
    CDIB* result = nullptr;
    ASSERT_TRUE(StretchToScreen(source.get(), 80, 30, &result, kBack));
    DIBPtr owned(result);
    EXPECT_EQ(result->GetNumColors(), static_cast<int>(c.count));
    EXPECT_EQ(*result->GetPixelAddress(0, 0), c.barIndex);
    EXPECT_TRUE(IsBack(*result, 79, 29));
    for (int i = 0; i < c.colours; ++i) {
      if (i == c.barIndex) continue;
      EXPECT_EQ(std::memcmp(&result->header->bmiColors[i], &source->header->bmiColors[i], 4), 0)
          << i;
    }
  }
}

// ---- Stretches ----------------------------------------------------------------------------

TEST(StretchDIBTest, NearestNeighbourPicksByIntegerDivision) {
  DIBPtr source = Grey(3, 2), destination = Grey(5, 3);
  SetMemoryRows(*source, {{1, 2, 3}, {4, 5, 6}});
  ASSERT_TRUE(StretchDIB8(source.get(), destination.get()));
  EXPECT_EQ(MemoryRowsOf(*destination), (Rows{{1, 1, 2, 2, 3}, {1, 1, 2, 2, 3}, {4, 4, 5, 5, 6}}));
}

TEST(StretchDIBTest, EightBitBilinearBlendsValuesAndEndsOnTheLastSample) {
  DIBPtr source = Grey(2, 1), destination = Grey(3, 2);
  SetMemoryRows(*source, {{0, 200}});
  ASSERT_TRUE(StretchDIB8Bilinear(source.get(), destination.get()));
  EXPECT_EQ(MemoryRowsOf(*destination), (Rows{{0, 132, 200}, {0, 132, 200}}));
}

TEST(StretchDIBTest, WrongDepthsAreRefusedAndChangeNothing) {
  DIBPtr eight = Grey(4, 4);
  DIBPtr twentyFour(new CDIB);
  ASSERT_TRUE(twentyFour->Create24(4, 4));
  const dibtest::Snapshot eightBefore(*eight), twentyFourBefore(*twentyFour);
  EXPECT_FALSE(StretchDIB24(eight.get(), twentyFour.get()));
  EXPECT_FALSE(StretchDIB24(twentyFour.get(), eight.get()));
  EXPECT_FALSE(StretchDIB8(twentyFour.get(), eight.get()));
  EXPECT_FALSE(StretchDIB8Bilinear(eight.get(), twentyFour.get()));
  EXPECT_FALSE(MirrorDIB(twentyFour.get()));
  EXPECT_EQ(QuarterDIB8(twentyFour.get()), nullptr);
  eightBefore.ExpectUnchanged(*eight);
  twentyFourBefore.ExpectUnchanged(*twentyFour);
}

// ---- Reductions and mirroring -------------------------------------------------------------

void ExpectSameTable(const CDIB& result, const CDIB& source) {
  EXPECT_EQ(result.header->bmiHeader.biClrUsed, source.header->bmiHeader.biClrUsed);
  for (int i = 0; i < source.GetNumColors(); ++i)
    EXPECT_EQ(std::memcmp(&result.header->bmiColors[i], &source.header->bmiColors[i], 4), 0) << i;
}

DIBPtr Coloured(int w, int h) {
  DIBPtr dib = Grey(w, h, 20);
  for (int i = 0; i < 20; ++i) dib->header->bmiColors[i] = RGBQUAD{BYTE(i), BYTE(2 * i), 200, 0};
  for (int r = 0; r < h; ++r)
    for (int x = 0; x < w; ++x) MemoryRow(*dib, r)[x] = static_cast<BYTE>(x + 10 * r);
  return dib;
}

TEST(ReduceDIBTest, QuarterTakesEveryFourthPixelOfEveryFourthRow) {
  DIBPtr source = Coloured(9, 9);
  DIBPtr quarter(QuarterDIB8(source.get()));
  ASSERT_NE(quarter, nullptr);
  EXPECT_EQ(MemoryRowsOf(*quarter), (Rows{{0, 4}, {40, 44}}));
  ExpectSameTable(*quarter, *source);
}

// A picture under four pixels either way still has a quarter: its first pixel (a bitmap of no
// pixels would go into the cache and never read back).
TEST(ReduceDIBTest, AQuarterOfATinyPictureKeepsOnePixel) {
  struct Case {
    int w, h;
    Rows rows;
  };
  const Case cases[] = {{3, 2, {{0}}}, {1, 1, {{0}}}, {9, 3, {{0, 4}}}, {2, 9, {{0}, {40}}}};
  for (const Case& c : cases) {
    DIBPtr source = Coloured(c.w, c.h);
    DIBPtr quarter(QuarterDIB8(source.get()));
    ASSERT_NE(quarter, nullptr) << c.w << " x " << c.h;
    EXPECT_EQ(MemoryRowsOf(*quarter), c.rows) << c.w << " x " << c.h;
  }
}

TEST(ReduceDIBTest, ShrinkPicksNearestPixelsAndNeverEnlarges) {
  DIBPtr source = Coloured(10, 8);
  DIBPtr small(ShrinkDIB8(source.get(), 5, 3));
  ASSERT_NE(small, nullptr);
  // Columns 0, 2, 4, 6, 8; rows 0, 2, 5.
  EXPECT_EQ(MemoryRowsOf(*small),
            (Rows{{0, 2, 4, 6, 8}, {20, 22, 24, 26, 28}, {50, 52, 54, 56, 58}}));
  ExpectSameTable(*small, *source);
  EXPECT_EQ(ShrinkDIB8(source.get(), 11, 8), nullptr);
  EXPECT_EQ(ShrinkDIB8(source.get(), 10, 9), nullptr);
  DIBPtr same(ShrinkDIB8(source.get(), 10, 8));
  ASSERT_NE(same, nullptr);
  EXPECT_EQ(dibtest::BitsOf(*same), dibtest::BitsOf(*source));
}

TEST(MirrorDIBTest, RowsAreReversedAndPaddingStays) {
  DIBPtr dib = Grey(5, 2);
  SetMemoryRows(*dib, {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}});
  MemoryRow(*dib, 0)[5] = 0xAA;
  ASSERT_TRUE(MirrorDIB(dib.get()));
  EXPECT_EQ(MemoryRowsOf(*dib), (Rows{{5, 4, 3, 2, 1}, {10, 9, 8, 7, 6}}));
  EXPECT_EQ(MemoryRow(*dib, 0)[5], 0xAA);
}

}  // namespace
