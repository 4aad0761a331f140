// LZW-coded packed images (type 5): hand-built code streams for the rules of the code, and the
// writer's streams for whole pictures.
#include <gtest/gtest.h>

#include <string>

#include "tests/native/imaging/PackedTestSupport.h"

namespace packedtest {
namespace {

// Codes packed most significant bit first, each with its width, the last byte filled with 0.
Bytes PackCodes(const std::vector<std::pair<uint32_t, int>>& codes) {
  Bytes out;
  uint32_t accumulator = 0;
  int count = 0;
  for (const auto& [code, width] : codes) {
    for (int i = width - 1; i >= 0; --i) {
      accumulator = (accumulator << 1) | ((code >> i) & 1u);
      if (++count == 8) {
        out.push_back(static_cast<uint8_t>(accumulator));
        accumulator = count = 0;
      }
    }
  }
  if (count > 0) out.push_back(static_cast<uint8_t>(accumulator << (8 - count)));
  return out;
}

// A type 5 image of width x height whose data are the given codes, all 9 bits wide.
Bytes LzwImage(int width, int height, const std::vector<uint32_t>& codes) {
  std::vector<std::pair<uint32_t, int>> sized;
  for (uint32_t c : codes) sized.push_back({c, 9});
  Bytes file = WriteHeader(5, width, height, 0, {{0, 0, 0}});
  const Bytes data = PackCodes(sized);
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

struct StreamCase {
  const char* what;
  int width, height;
  std::vector<uint32_t> codes;
  int32_t status;
  std::string pixels;  // the first width x height bytes when decoded
};

TEST(PackedLzw, CodeStreamRules) {
  const uint32_t A = 'A', B = 'B', C = 'C', Clear = 256, End = 257;
  const StreamCase cases[] = {
      {"literals", 3, 1, {A, B, C}, packed::kOk, "ABC"},
      {"a table entry", 4, 1, {A, B, 258}, packed::kOk, "ABAB"},
      {"KwKwK: the code being defined", 3, 1, {A, 258}, packed::kOk, "AAA"},
      {"KwKwK twice", 6, 1, {A, 258, 259}, packed::kOk, "AAAAAA"},
      {"a clear restarts with a literal", 4, 1, {A, B, Clear, C, A}, packed::kOk, "ABCA"},
      {"after a clear old entries are gone", 5, 1, {A, B, Clear, C, 259}, packed::kCorruptData, ""},
      {"after a clear the first entry is new",
       6,
       1,
       {A, B, Clear, C, A, 258},
       packed::kOk,
       "ABCACA"},
      {"a clear where a literal is expected", 2, 1, {A, Clear, Clear, B}, packed::kOk, "AB"},
      {"an end code where a literal is expected", 2, 1, {A, Clear, End}, packed::kTruncated, ""},
      {"an end code before the last pixel", 4, 1, {A, B, End}, packed::kTruncated, ""},
      {"the end code after the last pixel is not needed", 2, 1, {A, B}, packed::kOk, "AB"},
      {"a code beyond the next free one", 4, 1, {A, B, 260}, packed::kCorruptData, ""},
      {"a string longer than the pixels left", 3, 1, {A, B, 258}, packed::kCorruptData, ""},
      {"a code above 255 as the first", 2, 1, {300, A}, packed::kCorruptData, ""},
      {"stream ends early", 4, 1, {A, B}, packed::kTruncated, ""},
  };
  for (const StreamCase& c : cases) {
    const Decoded d = Decode(LzwImage(c.width, c.height, c.codes));
    EXPECT_EQ(d.status, c.status) << c.what;
    EXPECT_EQ(d.result, c.status == packed::kOk ? 1 : 0) << c.what;
    if (c.status == packed::kOk) {
      EXPECT_EQ(Bytes(d.pixels.begin(), d.pixels.begin() + static_cast<long>(c.pixels.size())),
                Text(c.pixels))
          << c.what;
    }
  }
}

// The width of the next code when `added` entries have been added since the last clear: it
// grows when the next free code reaches 2^width - 1, up to 14 bits.
int WidthAfter(int added) {
  const int next = 258 + added;
  int width = 9;
  while (width < 14 && next >= (1 << width) - 1) ++width;
  return width;
}

// A literal, then codes that each add an entry; code i at the width the decoder expects.
Bytes ChainImage(int width, int height, const std::vector<uint32_t>& codes) {
  std::vector<std::pair<uint32_t, int>> sized = {{codes[0], 9}};
  for (size_t i = 1; i < codes.size(); ++i)
    sized.push_back({codes[i], WidthAfter(static_cast<int>(i) - 1)});
  Bytes file = WriteHeader(5, width, height, 0, {{0, 0, 0}});
  const Bytes data = PackCodes(sized);
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

TEST(PackedLzw, WidthGrowsWhenTheNextCodeReachesTheTop) {
  // 1 literal + 253 codes bring the next free code to 511: the code after them has 10 bits. A
  // decoder that switched one code early or late would read garbage and fail the comparison.
  std::vector<uint32_t> codes;
  Bytes expected;
  for (int i = 0; i < 256; ++i) {
    codes.push_back(static_cast<uint32_t>(i * 7 % 256));
    expected.push_back(static_cast<uint8_t>(i * 7 % 256));
  }
  ASSERT_EQ(WidthAfter(252), 9);
  ASSERT_EQ(WidthAfter(253), 10);
  const Decoded d = Decode(ChainImage(256, 1, codes));
  ASSERT_EQ(d.result, 1) << packed::StatusText(d.status);
  EXPECT_EQ(Bytes(d.pixels.begin(), d.pixels.begin() + 256), expected);
}

TEST(PackedLzw, StringsLongerThanTheStackAreCorrupt) {
  // A, then each code the one being defined: strings of 2, 3, ... bytes. The one of 4001 bytes
  // does not fit the 4000-byte expansion stack.
  const int longest = 4001;
  std::vector<uint32_t> codes = {'A'};
  for (int length = 2; length <= longest; ++length)
    codes.push_back(258 + static_cast<uint32_t>(length - 2));
  const Bytes file = ChainImage(4096, 2048, codes);  // room for every string
  const Decoded d = Decode(file);
  EXPECT_EQ(d.status, packed::kCorruptData);

  codes.pop_back();  // up to 4000 bytes is fine; the image is then incomplete
  EXPECT_EQ(Decode(ChainImage(4096, 2048, codes)).status, packed::kTruncated);
}

Bytes RandomBytes(size_t n, uint32_t seed, int range) {
  Bytes out(n);
  for (uint8_t& b : out) {
    seed = seed * 214013u + 2531011u;
    b = static_cast<uint8_t>(((seed >> 16) & 0x7FFF) % range);
  }
  return out;
}

PackedPicture LzwPicture(int w, int h, Bytes pixels) {
  PackedPicture p;
  p.type = 5;
  p.width = w;
  p.height = h;
  p.palette = MakeCubePalette();
  p.pixels = std::move(pixels);
  return p;
}

struct RoundTripCase {
  const char* what;
  PackedPicture picture;
  LzwOptions options;
};

TEST(PackedLzw, WriterStreamsDecodeExactly) {
  const Bytes photo = MapToPalette(MakePhotoRgb(203, 77, 5), MakeCubePalette());
  LzwOptions noEnd;
  noEnd.endCode = false;
  LzwOptions everyHundred;
  everyHundred.clearAfterCodes = 100;
  LzwOptions frozen;
  frozen.clearWhenFull = false;
  const RoundTripCase cases[] = {
      {"photograph, width not a multiple of 4", LzwPicture(203, 77, photo), {}},
      {"without an end code", LzwPicture(203, 77, photo), noEnd},
      {"a clear every hundred codes", LzwPicture(203, 77, photo), everyHundred},
      {"one flat colour (KwKwK throughout)", LzwPicture(640, 480, Bytes(640 * 480, 42)), {}},
      // Random bytes fill the table: 14-bit codes, then a clear, or a table kept full.
      {"table full, cleared", LzwPicture(400, 200, RandomBytes(80000, 9, 256)), {}},
      {"table full, kept at 14 bits", LzwPicture(400, 200, RandomBytes(80000, 9, 256)), frozen},
      {"few colours, long strings", LzwPicture(301, 99, RandomBytes(301 * 99, 4, 3)), {}},
      {"one pixel", LzwPicture(1, 1, {7}), {}},
  };
  for (const RoundTripCase& c : cases) {
    const Decoded d = Decode(WritePackedImage(c.picture, c.options));
    ASSERT_EQ(d.result, 1) << c.what << ": " << packed::StatusText(d.status);
    const size_t n = c.picture.pixels.size();
    EXPECT_EQ(Bytes(d.pixels.begin(), d.pixels.begin() + static_cast<long>(n)), c.picture.pixels)
        << c.what;
    EXPECT_EQ(Bytes(d.pixels.begin() + static_cast<long>(n), d.pixels.end()),
              Bytes(d.pixels.size() - n, 0))
        << c.what << ": the end of the buffer stays zero";
  }
}

}  // namespace
}  // namespace packedtest
