// The median-cut quantizer and CDIB::Quantize: the colours chosen, the mapping with and without
// dithering, and what the destination bitmap holds afterwards or keeps on failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdlib>
#include <memory>
#include <vector>

#include "imaging/DIB.h"
#include "imaging/JpegError.h"
#include "imaging/MedianCut.h"
#include "tests/native/imaging/DIBTestSupport.h"
#include "tests/support/SyntheticPhoto.h"

namespace {

using Rgb = std::array<int, 3>;
using Map = std::vector<Rgb>;

CDIB* Photo24(int w, int h) {
  auto* dib = new CDIB;
  EXPECT_TRUE(testsupport::ToDIB24(testsupport::SyntheticPhoto(w, h), *dib));
  return dib;
}

// Runs the quantizer as CDIB::Quantize does and returns the map it chose; false when the
// library's error exit fired.
bool RunMedianCut(const CDIB& source, CDIB& destination, int colours, J_DITHER_MODE dither,
                  Map& map, int components = 3) {
  int count = 0;
  if (!::RunMedianCut(source, destination, colours, dither != JDITHER_NONE, &count, components))
    return false;
  map.clear();
  for (int i = 0; i < count; ++i) {
    const RGBQUAD& q = destination.header->bmiColors[i];
    map.push_back(Rgb{q.rgbRed, q.rgbGreen, q.rgbBlue});
  }
  return true;
}

Rgb SourcePixel(const CDIB& dib, int x, int row) {
  const BYTE* p = dib.bits + static_cast<size_t>(row) * dib.GetStorageWidth() + 3 * x;
  return Rgb{p[2], p[1], p[0]};
}

int OutputIndex(const CDIB& dib, int x, int row) {
  return dib.bits[static_cast<size_t>(row) * dib.GetStorageWidth() + x];
}

// The map colour nearest to the centre of the histogram cell (5, 6, 5 bits) holding the colour,
// by squared distance weighted 2, 3, 1 per channel; the first of equals. Found by brute force.
int NearestForCell(const Map& map, const Rgb& c) {
  const int centre[3] = {(c[0] >> 3) * 8 + 4, (c[1] >> 2) * 4 + 2, (c[2] >> 3) * 8 + 4};
  const int scale[3] = {2, 3, 1};
  int best = -1, bestDistance = 0;
  for (size_t i = 0; i < map.size(); ++i) {
    int d = 0;
    for (int k = 0; k < 3; ++k)
      d += (centre[k] - map[i][k]) * scale[k] * (centre[k] - map[i][k]) * scale[k];
    if (best < 0 || d < bestDistance) best = static_cast<int>(i), bestDistance = d;
  }
  return best;
}

TEST(MedianCutTest, WithoutDitheringEveryPixelTakesTheNearestColourOfItsCell) {
  std::unique_ptr<CDIB> photo(Photo24(97, 61));
  for (int colours : {256, 64, 8}) {
    SCOPED_TRACE(colours);
    CDIB out;
    ASSERT_TRUE(out.Create(97, 61, nullptr));
    Map map;
    ASSERT_TRUE(RunMedianCut(*photo, out, colours, JDITHER_NONE, map));
    EXPECT_EQ(static_cast<int>(map.size()), colours) << "a photograph fills the whole map";
    int wrong = 0;
    for (int row = 0; row < 61; ++row)
      for (int x = 0; x < 97; ++x)
        wrong += OutputIndex(out, x, row) != NearestForCell(map, SourcePixel(*photo, x, row));
    EXPECT_EQ(wrong, 0);
  }
}

// Stripes of black, white and full colours beside patches of noise: errors large enough to be
// halved and capped by the limit, and samples that errors push past 0 and past 255.
CDIB* HarshPicture(int w, int h) {
  auto* dib = new CDIB;
  EXPECT_TRUE(dib->Create24(w, h));
  uint32_t seed = 7;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      BYTE* p = dib->GetPixelAddress(x, y);
      for (int c = 0; c < 3; ++c) {
        seed = seed * 1103515245u + 12345u;
        const bool noise = (x / 3 + y / 2) % 4 == 0;
        p[c] = static_cast<BYTE>(noise ? (seed >> 16) & 0xFF : ((x + c) / 5 + y / 7) % 2 * 255);
      }
    }
  return dib;
}

// Floyd-Steinberg as a plain model: errors in sixteenths, 7 ahead, 3 below-behind, 5 below and 1
// below-ahead, shares falling off the row's ends dropped; even rows (in memory order) left to
// right, odd rows right to left; incoming errors limited as the quantizer does.
int LimitError(int e) {
  const int a = e < 0 ? -e : e;
  const int v = a < 16 ? a : a < 48 ? 16 + (a - 16) / 2 : 32;
  return e < 0 ? -v : v;
}

// How often the model met the cases that a fast path might treat apart.
struct DitherEvents {
  int halved = 0, capped = 0, belowZero = 0, above255 = 0;
};

std::vector<int> ModelDither(const CDIB& source, const Map& map, DitherEvents& events) {
  const int w = source.GetWidth(), h = source.GetHeight();
  std::vector<int> out(static_cast<size_t>(w) * h);
  std::vector<int> above(3 * w, 0);
  for (int row = 0; row < h; ++row) {
    const int dir = row % 2 == 0 ? 1 : -1;
    std::vector<int> below(3 * w, 0);
    int carry[3] = {0, 0, 0};
    for (int n = 0; n < w; ++n) {
      const int x = dir > 0 ? n : w - 1 - n;
      const Rgb pixel = SourcePixel(source, x, row);
      Rgb value;
      for (int c = 0; c < 3; ++c) {
        const int sum = carry[c] + above[3 * x + c] + 8;
        const int incoming = sum >= 0 ? sum / 16 : -((-sum + 15) / 16);
        const int error = LimitError(incoming);
        events.halved += std::abs(incoming) >= 16;
        events.capped += std::abs(incoming) >= 48;
        events.belowZero += pixel[c] + error < 0;
        events.above255 += pixel[c] + error > 255;
        value[c] = std::clamp(pixel[c] + error, 0, 255);
      }
      const int index = NearestForCell(map, value);
      out[static_cast<size_t>(row) * w + x] = index;
      for (int c = 0; c < 3; ++c) {
        const int e = value[c] - map[index][c];
        if (x - dir >= 0 && x - dir < w) below[3 * (x - dir) + c] += 3 * e;
        below[3 * x + c] += 5 * e;
        if (x + dir >= 0 && x + dir < w) below[3 * (x + dir) + c] += e;
        carry[c] = 7 * e;
      }
    }
    above = below;
  }
  return out;
}

// The dithered result against the model, byte for byte, on pictures of both kinds and sizes
// whose rows run both ways an odd and an even number of times.
TEST(MedianCutTest, DitheringDiffusesErrorsInSerpentineOrder) {
  struct Case {
    const char* name;
    CDIB* (*make)(int, int);
    int w, h;
    bool harsh;
  };
  const Case cases[] = {{"photo", Photo24, 45, 30, false},
                        {"wide photo", Photo24, 203, 37, false},
                        {"harsh", HarshPicture, 64, 41, true},
                        {"harsh narrow", HarshPicture, 3, 50, true}};
  for (const Case& pictureCase : cases) {
    std::unique_ptr<CDIB> picture(pictureCase.make(pictureCase.w, pictureCase.h));
    const int w = pictureCase.w, h = pictureCase.h;
    for (int colours : {16, 204, 256}) {
      SCOPED_TRACE(testing::Message() << pictureCase.name << ", " << colours << " colours");
      CDIB dithered, plain;
      ASSERT_TRUE(dithered.Create(w, h, nullptr));
      ASSERT_TRUE(plain.Create(w, h, nullptr));
      Map map, plainMap;
      ASSERT_TRUE(RunMedianCut(*picture, dithered, colours, JDITHER_FS, map));
      ASSERT_TRUE(RunMedianCut(*picture, plain, colours, JDITHER_NONE, plainMap));
      EXPECT_EQ(map, plainMap) << "dithering does not change the colours chosen";

      DitherEvents events;
      const std::vector<int> expected = ModelDither(*picture, map, events);
      int wrong = 0, differFromPlain = 0;
      for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x) {
          wrong += OutputIndex(dithered, x, row) != expected[static_cast<size_t>(row) * w + x];
          differFromPlain += OutputIndex(dithered, x, row) != OutputIndex(plain, x, row);
        }
      EXPECT_EQ(wrong, 0);
      if (colours > 16) continue;  // a small picture's colours may all fit a larger map
      EXPECT_GT(differFromPlain, 0);
      if (pictureCase.harsh) {
        EXPECT_GT(events.halved, 0);
        EXPECT_GT(events.capped, 0);
        EXPECT_GT(events.belowZero, 0);
        EXPECT_GT(events.above255, 0);
      }
    }
  }
}

// A photograph-like picture from integer arithmetic alone, the same in every build: a sky
// gradient, textured and noisy ground, a bright disc.
CDIB* IntegerPhoto(int w, int h) {
  auto* dib = new CDIB;
  EXPECT_TRUE(dib->Create24(w, h));
  uint32_t seed = 11;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      seed = seed * 1103515245u + 12345u;
      const int noise = static_cast<int>((seed >> 16) & 31) - 16;
      const int texture = (x * x + 3 * x * y) % 37 - 18;
      const int horizon = h / 2 + (x % 40 < 20 ? x % 20 : 20 - x % 20) - 10;
      int rgb[3];
      if (y < horizon) {
        rgb[0] = 90 + 120 * y / h, rgb[1] = 140 + 90 * y / h, rgb[2] = 230 - 30 * y / h;
      } else {
        rgb[0] = 70 + 90 * y / h + texture + noise;
        rgb[1] = 110 + 60 * x / w + texture + noise / 2;
        rgb[2] = 40 + 30 * y / h + noise / 4;
      }
      const int dx = x - w / 3, dy = y - h / 4;
      if (dx * dx + dy * dy < h * h / 36) rgb[0] = 255, rgb[1] = 230, rgb[2] = 120;
      BYTE* p = dib->GetPixelAddress(x, y);
      for (int c = 0; c < 3; ++c) p[2 - c] = static_cast<BYTE>(std::clamp(rgb[c], 0, 255));
    }
  return dib;
}

// FNV-1a over the map's colours and the output's indices.
uint32_t Fingerprint(const Map& map, const CDIB& out) {
  uint32_t hash = 2166136261u;
  auto add = [&hash](int byte) { hash = (hash ^ static_cast<uint32_t>(byte & 0xFF)) * 16777619u; };
  for (const Rgb& c : map)
    for (int v : c) add(v);
  for (int row = 0; row < out.GetHeight(); ++row)
    for (int x = 0; x < out.GetWidth(); ++x) add(OutputIndex(out, x, row));
  return hash;
}

// The colours chosen and the pixels mapped, pinned as the reduction has always made them: a
// faster reduction must keep both byte for byte, the histogram's counts included, which the
// comparisons with the models above take from the quantizer itself.
TEST(MedianCutTest, ResultsStayAsPinned) {
  struct Case {
    const char* name;
    CDIB* (*make)(int, int);
    J_DITHER_MODE mode;
    uint32_t fingerprint;
  };
  const Case cases[] = {{"photo dithered", IntegerPhoto, JDITHER_FS, 0x0dceb267u},
                        {"photo plain", IntegerPhoto, JDITHER_NONE, 0x499b7609u},
                        {"harsh dithered", HarshPicture, JDITHER_FS, 0x4a3bdc61u},
                        {"harsh plain", HarshPicture, JDITHER_NONE, 0x5308c8a7u}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<CDIB> picture(c.make(301, 173));
    CDIB out;
    ASSERT_TRUE(out.Create(301, 173, nullptr));
    Map map;
    ASSERT_TRUE(RunMedianCut(*picture, out, 204, c.mode, map));
    EXPECT_EQ(Fingerprint(map, out), c.fingerprint) << std::hex << Fingerprint(map, out);
  }
}

TEST(MedianCutTest, FewDistinctColoursGiveOneMapColourEachAtTheirCellCentres) {
  // Colours in five different cells; the map holds each cell's centre.
  const Rgb colours[5] = {{0, 0, 0}, {255, 255, 255}, {200, 10, 10}, {10, 200, 10}, {10, 10, 200}};
  const Rgb centres[5] = {{4, 2, 4}, {252, 254, 252}, {204, 10, 12}, {12, 202, 12}, {12, 10, 204}};
  CDIB source, out;
  ASSERT_TRUE(source.Create24(5, 3));
  ASSERT_TRUE(out.Create(5, 3, nullptr));
  for (int row = 0; row < 3; ++row)
    for (int x = 0; x < 5; ++x) {
      BYTE* p = source.bits + row * source.GetStorageWidth() + 3 * x;
      const Rgb& c = colours[(x + row) % 5];
      p[0] = static_cast<BYTE>(c[2]), p[1] = static_cast<BYTE>(c[1]),
      p[2] = static_cast<BYTE>(c[0]);
    }
  for (J_DITHER_MODE mode : {JDITHER_NONE, JDITHER_FS}) {
    Map map;
    ASSERT_TRUE(RunMedianCut(source, out, 256, mode, map));
    ASSERT_EQ(map.size(), 5u);
    for (int row = 0; row < 3; ++row)
      for (int x = 0; x < 5; ++x)
        EXPECT_EQ(map[OutputIndex(out, x, row)], centres[(x + row) % 5])
            << "pixel " << x << " of row " << row << (mode == JDITHER_FS ? " dithered" : "");
  }
}

TEST(MedianCutTest, CellCountsStopAt65535) {
  // Sixteen green cells in a row; eight colours leave cells 0 and 1 in one box, whose colour is
  // their count-weighted mean. Cell 1 holds 65535 pixels, cell 0 the rest of the picture: counted
  // up to 65535 both weigh the same and the mean green is 4. Counted in full, 200451 pixels give
  // 3; wrapped at 16 bits, 6 and (100451 pixels) 5.
  struct Case {
    int height, green;
  };
  for (const Case& c : {Case{266, 4}, Case{166, 4}}) {
    const int width = 1000, height = c.height;
    SCOPED_TRACE(height);
    CDIB source, out;
    ASSERT_TRUE(source.Create24(width, height));
    ASSERT_TRUE(out.Create(width, height, nullptr));
    for (int i = 0; i < width * height; ++i) {
      const int cell = i < 14 ? 2 + i : i < 14 + 65535 ? 1 : 0;
      source.bits[3 * i + 1] = static_cast<BYTE>(4 * cell + 1);  // rows have no padding here
    }
    Map map;
    ASSERT_TRUE(RunMedianCut(source, out, 8, JDITHER_NONE, map));
    ASSERT_EQ(map.size(), 8u);
    EXPECT_EQ(map[0], (Rgb{4, c.green, 4}));
  }
}

TEST(MedianCutTest, EightBitSourcesGoThroughTheirColourTable) {
  std::unique_ptr<CDIB> photo(Photo24(40, 24));
  // An 8-bit picture whose table holds 256 of the photo's colours, and its 24-bit twin.
  CDIB indexed, twin;
  ASSERT_TRUE(indexed.Create(40, 24, nullptr));
  ASSERT_TRUE(twin.Create24(40, 24));
  for (int i = 0; i < 256; ++i) {
    const BYTE* p = photo->bits + 3 * (i * 37 % (40 * 24));
    indexed.header->bmiColors[i] = RGBQUAD{p[0], p[1], p[2], 0};
  }
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 40; ++x) {
      const int index = (x * 7 + y * 13) % 256;
      *indexed.GetPixelAddress(x, y) = static_cast<BYTE>(index);
      const RGBQUAD& c = indexed.header->bmiColors[index];
      BYTE* t = twin.GetPixelAddress(x, y);
      t[0] = c.rgbBlue, t[1] = c.rgbGreen, t[2] = c.rgbRed;
    }
  for (J_DITHER_MODE mode : {JDITHER_NONE, JDITHER_FS}) {
    CDIB fromIndexed, fromTwin;
    ASSERT_TRUE(fromIndexed.Create(40, 24, nullptr));
    ASSERT_TRUE(fromTwin.Create(40, 24, nullptr));
    Map mapIndexed, mapTwin;
    ASSERT_TRUE(RunMedianCut(indexed, fromIndexed, 32, mode, mapIndexed));
    ASSERT_TRUE(RunMedianCut(twin, fromTwin, 32, mode, mapTwin));
    EXPECT_EQ(mapIndexed, mapTwin);
    EXPECT_EQ(dibtest::BitsOf(fromIndexed), dibtest::BitsOf(fromTwin));
  }
}

TEST(MedianCutTest, BadParametersEndThroughTheErrorExit) {
  std::unique_ptr<CDIB> photo(Photo24(8, 8));
  CDIB out;
  ASSERT_TRUE(out.Create(8, 8, nullptr));
  Map map;
  EXPECT_FALSE(RunMedianCut(*photo, out, 7, JDITHER_NONE, map));
  EXPECT_FALSE(RunMedianCut(*photo, out, 257, JDITHER_NONE, map));
  EXPECT_FALSE(RunMedianCut(*photo, out, 256, JDITHER_NONE, map, 4));
  CDIB wrongSize;
  ASSERT_TRUE(wrongSize.Create(8, 7, nullptr));
  EXPECT_FALSE(RunMedianCut(*photo, wrongSize, 256, JDITHER_NONE, map));
  EXPECT_TRUE(RunMedianCut(*photo, out, 8, JDITHER_NONE, map));
}

// ---- CDIB::Quantize ---------------------------------------------------------------------

TEST(DIBQuantizeTest, AMatchingDestinationKeepsItsBlocksAndTakesTheMap) {
  std::unique_ptr<CDIB> photo(Photo24(30, 20));
  CDIB out;
  ASSERT_TRUE(out.Create(30, 20, nullptr));
  out.header->bmiHeader.biClrUsed = 77;
  const BITMAPINFO* header = out.header;
  const BYTE* bits = out.bits;

  ASSERT_TRUE(photo->Quantize(&out, 16, 1));
  EXPECT_EQ(out.header, header);
  EXPECT_EQ(out.bits, bits);
  CDIB reference;
  ASSERT_TRUE(reference.Create(30, 20, nullptr));
  Map map;
  ASSERT_TRUE(RunMedianCut(*photo, reference, 16, JDITHER_FS, map));
  EXPECT_EQ(dibtest::BitsOf(out), dibtest::BitsOf(reference));
  for (size_t i = 0; i < map.size(); ++i) {
    const RGBQUAD& q = out.header->bmiColors[i];
    EXPECT_EQ((Rgb{q.rgbRed, q.rgbGreen, q.rgbBlue}), map[i]) << "entry " << i;
    EXPECT_EQ(q.rgbReserved, 0);
  }
  EXPECT_EQ(out.header->bmiColors[16].rgbRed, 16) << "entries past the map stay";
  EXPECT_EQ(out.header->bmiHeader.biClrUsed, 77u) << "the count stays";
}

TEST(DIBQuantizeTest, OtherDestinationsAreRecreatedAtTheSourceSize) {
  std::unique_ptr<CDIB> photo(Photo24(30, 20));
  CDIB wrongSize, wrongDepth;
  ASSERT_TRUE(wrongSize.Create(31, 20, nullptr));
  ASSERT_TRUE(wrongDepth.Create24(30, 20));
  for (CDIB* out : {&wrongSize, &wrongDepth}) {
    ASSERT_TRUE(photo->Quantize(out, 256, 0));
    EXPECT_EQ(out->GetWidth(), 30);
    EXPECT_EQ(out->GetHeight(), 20);
    EXPECT_EQ(out->header->bmiHeader.biBitCount, 8);
  }
}

TEST(DIBQuantizeTest, FailuresLeaveTheDestinationAsItWas) {
  std::unique_ptr<CDIB> photo(Photo24(12, 10));
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD table[16];
  } packed{};
  packed.header = BITMAPINFOHEADER{40, 12, 10, 1, 4, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<BYTE> nibbles(8 * 10, 0x12);
  CDIB fourBit;
  ASSERT_TRUE(
      fourBit.AttachPacked(reinterpret_cast<const BITMAPINFO*>(&packed), nibbles.data(), 0));

  struct Case {
    const char* name;
    CDIB* source;
    int colours;
  } cases[] = {{"too few colours", photo.get(), 7},
               {"too many colours", photo.get(), 300},
               {"4-bit source", &fourBit, 256}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CDIB matching, other;
    ASSERT_TRUE(matching.Create(12, 10, nullptr));
    ASSERT_TRUE(other.Create24(3, 3));
    matching.bits[5] = 99;
    const dibtest::Snapshot matchingBefore(matching), otherBefore(other);
    EXPECT_FALSE(c.source->Quantize(&matching, c.colours, 1));
    EXPECT_FALSE(c.source->Quantize(&other, c.colours, 0));
    matchingBefore.ExpectUnchanged(matching);
    otherBefore.ExpectUnchanged(other);
  }
  EXPECT_FALSE(photo->Quantize(nullptr, 256, 0));
}

}  // namespace
