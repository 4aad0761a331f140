// Transform-coded packed images (types 1 to 4): exact decodes of crafted coefficients, the
// format's coefficient order, quality, edges, palettes, and photographs within a PSNR bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "imaging/BitStream.h"
#include "imaging/ColorConverter.h"
#include "imaging/QuantTables.h"
#include "tests/native/imaging/PackedTestSupport.h"

namespace packedtest {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The inverse transform by its definition, in double precision, clamped to 0..255.
std::vector<int> ReferenceSamples(const double* natural) {
  std::vector<int> out(64);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      double sum = 0;
      for (int v = 0; v < 8; ++v) {
        for (int u = 0; u < 8; ++u) {
          const double cu = u == 0 ? std::sqrt(0.5) : 1.0;
          const double cv = v == 0 ? std::sqrt(0.5) : 1.0;
          sum += cu * cv * natural[8 * v + u] * std::cos((2 * x + 1) * u * kPi / 16) *
                 std::cos((2 * y + 1) * v * kPi / 16);
        }
      }
      out[8 * y + x] = std::clamp(static_cast<int>(std::lround(sum / 4)), 0, 255);
    }
  }
  return out;
}

// The 8x8 block at (x0, y0) of a decoded one-byte-per-pixel image.
std::vector<int> BlockAt(const Decoded& d, int x0, int y0) {
  std::vector<int> out;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) out.push_back(d.pixels[(y0 + y) * d.stride + x0 + x]);
  }
  return out;
}

int MaxDifference(const std::vector<int>& a, const std::vector<int>& b) {
  int worst = 0;
  for (size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
  return worst;
}

CoefficientBlock Dc(int32_t coded) {
  CoefficientBlock block{};
  block[0] = coded;
  return block;
}

// Blocks of a DC-only image: value(mx, my, b) gives each block's coded DC.
std::vector<CoefficientBlock> DcBlocks(uint32_t type, int width, int height,
                                       const std::function<int32_t(int, int, int)>& value) {
  std::vector<CoefficientBlock> blocks;
  for (int my = 0; my < (height + 15) / 16; ++my) {
    for (int mx = 0; mx < (width + 15) / 16; ++mx) {
      for (int b = 0; b < packed::BlocksPerMacroblock(type); ++b)
        blocks.push_back(Dc(value(mx, my, b)));
    }
  }
  return blocks;
}

// Flat luminance per block: the value that pixel (x, y) must show.
int FlatValue(int x, int y) {
  const int b = ((y % 16) / 8) * 2 + (x % 16) / 8;
  return (((x / 16) * 74 + (y / 16) * 142 + b * 38 + 10) % 256) & ~1;  // even: exact at quality 50
}

std::vector<Rgb> GreyRamp() {
  std::vector<Rgb> ramp;
  for (int i = 0; i < 256; ++i) ramp.push_back({uint8_t(i), uint8_t(i), uint8_t(i)});
  return ramp;
}

TEST(PackedTransform, FlatBlocksDecodeExactly) {
  // Every type at quality 100, sizes that are not multiples of 16 (nor of 4). Chroma is 127
  // (neutral), so colour types show the grey of the luminance; the palette is a grey ramp.
  const int sizes[][2] = {{38, 21}, {1, 1}, {17, 33}, {64, 16}};
  for (uint32_t type = 1; type <= 4; ++type) {
    for (const auto& size : sizes) {
      const int w = size[0], h = size[1];
      const auto blocks = DcBlocks(type, w, h, [&](int mx, int my, int b) {
        if (packed::BlockComponent(type, b) != 0) return 8 * 127;
        return 8 * FlatValue(mx * 16 + (b & 1) * 8, my * 16 + (b >> 1) * 8);
      });
      const std::vector<Rgb> palette = type == 3 ? std::vector<Rgb>{} : GreyRamp();
      const Decoded d = Decode(WritePackedCoefficients(type, w, h, 100, palette, blocks));
      ASSERT_EQ(d.result, 1) << "type " << type << " " << w << "x" << h;
      const int bpp = type == 3 ? 3 : 1;
      int wrong = 0;
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          for (int c = 0; c < bpp; ++c)
            wrong += d.pixels[y * d.stride + x * bpp + c] != FlatValue(x, y);
        }
      }
      EXPECT_EQ(wrong, 0) << "type " << type << " " << w << "x" << h;
      EXPECT_EQ(NonZeroPadding(d, w, h, bpp), 0) << "padding must stay zero";
    }
  }
}

TEST(PackedTransform, FlatBlocksAtQuality50) {
  // Grey images at quality 50: DC quantiser 16, so a coded DC of v / 2 gives v.
  const int w = 38, h = 21;
  const auto blocks = DcBlocks(1, w, h, [](int mx, int my, int b) {
    return FlatValue(mx * 16 + (b & 1) * 8, my * 16 + (b >> 1) * 8) / 2;
  });
  const Decoded d = Decode(WritePackedCoefficients(1, w, h, 50, {}, blocks));
  ASSERT_EQ(d.result, 1);
  int wrong = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) wrong += d.pixels[y * d.stride + x] != FlatValue(x, y);
  }
  EXPECT_EQ(wrong, 0);
}

struct CoefficientCase {
  int k;          // coded index
  int row, col;   // where the format puts it
  int quantiser;  // the luminance quantiser at quality 50 applied to it
};

TEST(PackedTransform, CodedCoefficientsLandInTheFormatsOrder) {
  // One AC coefficient per block over a flat 128, in a 16 x 8 grey image (blocks 0 and 1).
  // Index 61 goes to row 7, column 6 and index 62 to row 6, column 7 (the standard order has
  // them the other way round), each multiplied by the table entry of its index.
  const CoefficientCase cases[] = {{1, 0, 1, 11},   {2, 1, 0, 12},   {5, 0, 2, 10}, {27, 0, 6, 51},
                                   {61, 7, 6, 101}, {62, 6, 7, 103}, {63, 7, 7, 99}};
  for (const CoefficientCase& c : cases) {
    CoefficientBlock first = Dc(64);  // 64 x 16 = 8 x 128
    first[c.k] = 3;
    // The second block checks that the first ended where it should: coefficient 63 has no EOB.
    CoefficientBlock second = Dc(50);
    second[1] = -2;
    const Decoded d =
        Decode(WritePackedCoefficients(1, 16, 8, 50, {}, {first, second, Dc(50), Dc(50)}));
    ASSERT_EQ(d.result, 1) << "k " << c.k;

    double natural[64] = {1024};
    natural[8 * c.row + c.col] = 3.0 * c.quantiser;
    EXPECT_LE(MaxDifference(BlockAt(d, 0, 0), ReferenceSamples(natural)), 1) << "k " << c.k;
    if (c.row != c.col) {  // the test can tell the transposed position apart
      double transposed[64] = {1024};
      transposed[8 * c.col + c.row] = 3.0 * c.quantiser;
      EXPECT_GT(MaxDifference(BlockAt(d, 0, 0), ReferenceSamples(transposed)), 1) << "k " << c.k;
    }
    double next[64] = {800, -2 * 11};
    EXPECT_LE(MaxDifference(BlockAt(d, 8, 0), ReferenceSamples(next)), 1) << "after k " << c.k;
  }
}

TEST(PackedTransform, ZeroRunsOfSixteenAndMore) {
  // Runs of 15 (no ZRL), 16 (one ZRL then run 0), 38 (two ZRLs) and a run ending at 63.
  CoefficientBlock block = Dc(64);
  block[16] = 2;   // run 15 after k = 0
  block[33] = -3;  // run 16
  block[59] = 1;   // run 25: ZRL + run 9
  block[63] = 2;   // run 3, no EOB
  CoefficientBlock other = Dc(64);
  other[40] = 4;  // run 38: two ZRLs + run 6
  const Decoded d =
      Decode(WritePackedCoefficients(1, 16, 8, 50, {}, {block, other, Dc(64), Dc(64)}));
  ASSERT_EQ(d.result, 1);
  CQuantTables q;
  double natural[64] = {};
  for (int k = 0; k < 64; ++k) natural[packed::kZigzag[k]] = block[k] * q.Luminance()[k];
  EXPECT_LE(MaxDifference(BlockAt(d, 0, 0), ReferenceSamples(natural)), 1);
  double second[64] = {1024};
  second[packed::kZigzag[40]] = 4.0 * q.Luminance()[40];
  EXPECT_LE(MaxDifference(BlockAt(d, 8, 0), ReferenceSamples(second)), 1);
}

TEST(PackedTransform, StuffedZeroAfterEveryFF) {
  // A DC of 2047 (category 11, all ones) and 1023 coefficients put runs of ones in the data.
  CoefficientBlock bright = Dc(2047);
  CoefficientBlock busy = Dc(1024);
  busy[1] = 1023;
  busy[2] = -1023;
  const Bytes file = WritePackedCoefficients(1, 16, 8, 100, {}, {bright, busy, Dc(0), Dc(1024)});
  int stuffed = 0;
  for (size_t i = packed::kHeaderSize; i + 1 < file.size(); ++i) {
    if (file[i] != 0xFF) continue;
    EXPECT_EQ(file[i + 1], 0x00) << "at " << i;
    ++stuffed;
    ++i;
  }
  ASSERT_GT(stuffed, 0) << "the data holds no 0xFF: the test proves nothing";
  const Decoded d = Decode(file);
  ASSERT_EQ(d.result, 1);
  EXPECT_EQ(BlockAt(d, 0, 0), std::vector<int>(64, 255));
  double natural[64] = {1024};
  natural[1] = 1023;
  natural[8] = -1023;
  EXPECT_LE(MaxDifference(BlockAt(d, 8, 0), ReferenceSamples(natural)), 1);
}

TEST(PackedTransform, ChromaQuartersOfFullResolutionTypes) {
  // Type 4 carries four Cb and four Cr blocks per macroblock; each must colour its own quarter.
  const int quarter[4][2] = {{60, 200}, {200, 60}, {127, 127}, {200, 200}};  // Cb, Cr
  const auto blocks = DcBlocks(4, 16, 16, [&](int, int, int b) {
    if (b < 4) return 8 * 120;
    return 8 * quarter[(b - 4) & 3][b < 8 ? 0 : 1];
  });
  std::vector<Rgb> palette;
  for (const auto& q : quarter) {  // the colours of the four quarters by the conversion's formula
    const double cb = q[0] - 127.0, cr = q[1] - 127.0;
    palette.push_back(
        {uint8_t(std::clamp(std::lround(120 + 1.402 * cr), 0L, 255L)),
         uint8_t(std::clamp(std::lround(120 - 0.34414 * cb - 0.71414 * cr), 0L, 255L)),
         uint8_t(std::clamp(std::lround(120 + 1.772 * cb), 0L, 255L))});
  }
  const Decoded d = Decode(WritePackedCoefficients(4, 16, 16, 100, palette, blocks));
  ASSERT_EQ(d.result, 1);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      ASSERT_EQ(d.pixels[y * d.stride + x], (y / 8) * 2 + x / 8) << "pixel " << x << "," << y;
    }
  }
}

TEST(PackedBitStream, DecodeBlockGivesCodedOrder) {
  HuffmanBitWriter writer;
  writer.PutBlock(std::array<int32_t, 64>{-7, 0, 0, 4, 0, 1}.data(), -7, true);
  writer.PadToByte();
  const Bytes data = writer.bytes();
  CBitStream bits;
  ASSERT_TRUE(bits.File().OpenRead(std::make_unique<CMemFile>(data.data(), data.size()), 0));
  int32_t block[64];
  std::fill(block, block + 64, 99);
  ASSERT_TRUE(bits.DecodeBlock(block, true));
  int32_t expected[64] = {-7, 0, 0, 4, 0, 1};
  EXPECT_TRUE(std::equal(block, block + 64, expected));
  EXPECT_EQ(bits.GetStatus(), packed::kOk);
}

// ---- Palette lookup ----

struct LookupCase {
  const char* what;
  std::vector<Rgb> palette;
  Rgb colour;
  int expected;
};

TEST(PackedPaletteHash, FindsColoursBucketByBucket) {
  const LookupCase cases[] = {
      {"exact match in the bucket", {{16, 16, 16}, {20, 20, 20}}, {20, 20, 20}, 1},
      {"nearest in the bucket", {{16, 16, 16}, {20, 20, 20}}, {17, 17, 17}, 0},
      {"own bucket wins over a nearer neighbour", {{16, 16, 16}, {32, 32, 32}}, {31, 31, 31}, 0},
      {"one step around", {{100, 100, 100}, {40, 40, 40}}, {20, 20, 20}, 1},
      {"one step before two", {{47, 47, 47}, {20, 20, 60}}, {20, 20, 20}, 0},
      {"two steps around", {{200, 0, 0}, {60, 60, 60}}, {20, 20, 20}, 1},
      {"a tie goes to the lower index", {{24, 24, 40}, {24, 24, 8}}, {24, 24, 24}, 0},
      {"whole palette when nothing is near",
       {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}},
       {128, 128, 128},
       1},
      {"repeated colour keeps the lower index",
       {{9, 9, 9}, {128, 128, 128}, {128, 128, 128}},
       {128, 128, 128},
       1},
      {"repeated colour, nearest",
       {{5, 5, 5}, {130, 130, 130}, {130, 130, 130}},
       {129, 129, 129},
       1},
  };
  for (const LookupCase& c : cases) {
    std::vector<RGBQUAD> quads;
    for (const Rgb& p : c.palette) quads.push_back({p.blue, p.green, p.red, 0});
    CPaletteHash hash;
    hash.Build(quads.data(), static_cast<int>(quads.size()));
    EXPECT_EQ(hash.Lookup(c.colour.red, c.colour.green, c.colour.blue), c.expected) << c.what;
  }
}

TEST(PackedPaletteHash, DecodedGreyThroughRepeatsAndFarPalettes) {
  // A flat grey 128 image of type 2 against palettes that repeat it or lie far from it.
  const auto blocks =
      DcBlocks(2, 24, 24, [](int, int, int b) { return b < 4 ? 8 * 128 : 8 * 127; });
  const std::vector<Rgb> repeated = {{0, 0, 0}, {128, 128, 128}, {255, 255, 255}, {128, 128, 128}};
  const std::vector<Rgb> distant = {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}};
  const Decoded a = Decode(WritePackedCoefficients(2, 24, 24, 100, repeated, blocks));
  const Decoded b = Decode(WritePackedCoefficients(2, 24, 24, 100, distant, blocks));
  ASSERT_EQ(a.result, 1);
  ASSERT_EQ(b.result, 1);
  EXPECT_EQ(Unpad(a, 24, 24, 1), Bytes(24 * 24, 1));
  EXPECT_EQ(Unpad(b, 24, 24, 1), Bytes(24 * 24, 1)) << "white is nearest to mid grey";
}

// ---- Photographs ----

struct PhotoCase {
  uint32_t type;
  int quality;
  double minPsnr;
};

PackedPicture Photo(uint32_t type, int quality, int w, int h) {
  PackedPicture p;
  p.type = type;
  p.quality = quality;
  p.width = w;
  p.height = h;
  const Bytes rgb = MakePhotoRgb(w, h, 3);
  p.pixels = type == 1 ? ToGrey(rgb) : rgb;
  if (type == 2 || type == 4) p.palette = MakeCubePalette();
  return p;
}

TEST(PackedTransform, PhotographsWithinPsnrBound) {
  const int w = 203, h = 150;
  const PhotoCase cases[] = {{1, 50, 33}, {1, 75, 34}, {1, 100, 50},
                             {3, 50, 29}, {3, 75, 30}, {3, 100, 35}};
  for (const PhotoCase& c : cases) {
    const PackedPicture p = Photo(c.type, c.quality, w, h);
    const Decoded d = Decode(WritePackedImage(p));
    ASSERT_EQ(d.result, 1) << "type " << c.type << " q" << c.quality;
    const Bytes decoded = c.type == 1 ? Unpad(d, w, h, 1) : BgrToRgb(d, w, h);
    const double psnr = Psnr(decoded, p.pixels);
    EXPECT_GE(psnr, c.minPsnr) << "type " << c.type << " q" << c.quality;
    EXPECT_EQ(NonZeroPadding(d, w, h, c.type == 1 ? 1 : 3), 0);
  }
}

TEST(PackedTransform, PalettedPhotographsMatchTheirColourDecode) {
  // Types 2 and 4 decode colours as type 3 does and then pick palette entries: they must come
  // close to mapping the true colours to their nearest entries (the buckets trade a little
  // accuracy for speed).
  const int w = 120, h = 72;
  for (uint32_t type : {2u, 4u}) {
    const PackedPicture p = Photo(type, 90, w, h);
    const Decoded d = Decode(WritePackedImage(p));
    ASSERT_EQ(d.result, 1) << "type " << type;
    const Bytes shown = IndicesToRgb(Unpad(d, w, h, 1), d.palette);
    const Bytes nearest = IndicesToRgb(MapToPalette(p.pixels, p.palette), d.palette);
    EXPECT_GE(Psnr(shown, p.pixels), Psnr(nearest, p.pixels) - 2.0) << "type " << type;
  }
}

}  // namespace
}  // namespace packedtest
