// The packed image format's tables, header checks and file access.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "imaging/BufferedFile.h"
#include "imaging/HuffmanTables.h"
#include "imaging/QuantTables.h"
#include "tests/native/imaging/PackedTestSupport.h"

namespace packedtest {
namespace {

namespace fs = std::filesystem;

// ---- Quantisation tables ----

struct QualityCase {
  int quality;
  bool accepted;
  int luminance0, luminance2, luminance61, luminance62, chrominance63;
};

TEST(PackedQuantTables, ScaleByQuality) {
  // Entry k is the T.81 K.1/K.2 value at standard zigzag position k: K.1 starts 16, 11, 12 and
  // has 101 and 103 at k = 61 and 62; K.2 ends with 99.
  const QualityCase cases[] = {
      {50, true, 16, 12, 101, 103, 99},       // the tables as published
      {100, true, 1, 1, 1, 1, 1},             // scale 0: every entry at least 1
      {75, true, 8, 6, 50, 51, 49},           // scale 50
      {25, true, 32, 24, 202, 206, 198},      // scale 200
      {1, true, 800, 600, 5050, 5150, 4950},  // scale 5000, no upper bound
      {0, true, 16, 12, 101, 103, 99},        // no scale exists: the base tables
      {101, false, 16, 12, 101, 103, 99},
      {-1, false, 16, 12, 101, 103, 99},
  };
  for (const QualityCase& c : cases) {
    CQuantTables tables;
    tables.SetQuality(37);  // whatever came before must not matter
    EXPECT_EQ(tables.SetQuality(c.quality), c.accepted) << "quality " << c.quality;
    EXPECT_EQ(tables.Luminance()[0], c.luminance0) << "quality " << c.quality;
    EXPECT_EQ(tables.Luminance()[2], c.luminance2) << "quality " << c.quality;
    EXPECT_EQ(tables.Luminance()[61], c.luminance61) << "quality " << c.quality;
    EXPECT_EQ(tables.Luminance()[62], c.luminance62) << "quality " << c.quality;
    EXPECT_EQ(tables.Chrominance()[63], c.chrominance63) << "quality " << c.quality;
  }
}

TEST(PackedQuantTables, DequantizeMultipliesByTheEntryOfTheCodedIndex) {
  CQuantTables tables;
  int32_t block[64];
  for (int k = 0; k < 64; ++k) block[k] = k % 3 - 1;
  block[61] = 2;
  tables.Dequantize(block, true);
  EXPECT_EQ(block[0], -16);
  EXPECT_EQ(block[1], 0);
  EXPECT_EQ(block[2], 12);
  EXPECT_EQ(block[61], 202);
  int32_t chroma[64] = {3};
  tables.Dequantize(chroma, false);
  EXPECT_EQ(chroma[0], 51);
}

// ---- Huffman tables ----

struct CodeCase {
  packed::HuffmanTableId table;
  uint8_t symbol;
  const char* code;  // as printed in T.81 Tables K.3 to K.6
};

std::string CodeOf(packed::HuffmanTableId id, uint8_t symbol) {
  const packed::HuffmanTableDef& def = packed::PublishedHuffmanTable(id);
  const packed::HuffmanCodes codes = packed::AssignCodes(def);
  for (int i = 0; i < def.valueCount; ++i) {
    if (def.values[i] != symbol) continue;
    std::string text;
    for (int b = codes.size[i] - 1; b >= 0; --b) text += ((codes.code[i] >> b) & 1) ? '1' : '0';
    return text;
  }
  return "missing";
}

TEST(PackedHuffmanTables, CodesAsPublished) {
  const CodeCase cases[] = {
      {packed::kLuminanceDc, 0, "00"},
      {packed::kLuminanceDc, 1, "010"},
      {packed::kLuminanceDc, 6, "1110"},
      {packed::kLuminanceDc, 11, "111111110"},
      {packed::kChrominanceDc, 0, "00"},
      {packed::kChrominanceDc, 3, "110"},
      {packed::kChrominanceDc, 11, "11111111110"},
      {packed::kLuminanceAc, 0x00, "1010"},         // EOB
      {packed::kLuminanceAc, 0xF0, "11111111001"},  // ZRL
      {packed::kLuminanceAc, 0x01, "00"},
      {packed::kLuminanceAc, 0x04, "1011"},
      {packed::kLuminanceAc, 0x11, "1100"},
      {packed::kLuminanceAc, 0x0A, "1111111110000011"},
      {packed::kLuminanceAc, 0xFA, "1111111111111110"},
      {packed::kChrominanceAc, 0x00, "00"},          // EOB
      {packed::kChrominanceAc, 0xF0, "1111111010"},  // ZRL
      {packed::kChrominanceAc, 0x01, "01"},
      {packed::kChrominanceAc, 0x11, "1011"},
      {packed::kChrominanceAc, 0xFA, "1111111111111110"},
  };
  for (const CodeCase& c : cases) {
    EXPECT_EQ(CodeOf(c.table, c.symbol), c.code)
        << "table " << c.table << " symbol " << int(c.symbol);
  }
}

TEST(PackedHuffmanTables, EverySymbolOnce) {
  for (int id = 0; id < 4; ++id) {
    const packed::HuffmanTableDef& def =
        packed::PublishedHuffmanTable(static_cast<packed::HuffmanTableId>(id));
    std::set<int> expected;
    if (id < 2) {
      for (int c = 0; c <= 11; ++c) expected.insert(c);
    } else {
      expected = {0x00, 0xF0};
      for (int run = 0; run < 16; ++run) {
        for (int size = 1; size <= 10; ++size) expected.insert(run << 4 | size);
      }
    }
    std::set<int> seen(def.values, def.values + def.valueCount);
    int bits = 0;
    for (uint8_t n : def.bits) bits += n;
    EXPECT_EQ(bits, def.valueCount) << "table " << id;
    EXPECT_EQ(seen.size(), static_cast<size_t>(def.valueCount))
        << "table " << id << " repeats a symbol";
    EXPECT_EQ(seen, expected) << "table " << id;
  }
}

// ---- Header checks ----

PackedPicture SmallPicture(uint32_t type) {
  PackedPicture p;
  p.type = type;
  p.width = 21;
  p.height = 18;
  p.quality = 75;
  const Bytes rgb = MakePhotoRgb(p.width, p.height, 7);
  if (type != packed::kTypeRgb420) p.palette = MakeCubePalette();
  if (type == packed::kTypeGrey)
    p.pixels = ToGrey(rgb);
  else if (type == packed::kTypeLzw)
    p.pixels = MapToPalette(rgb, p.palette);
  else
    p.pixels = rgb;
  return p;
}

struct RefusalCase {
  HeaderField field;
  uint32_t value;
  int32_t status;
};

TEST(PackedHeader, RefusesFieldsThatDisagree) {
  for (uint32_t type = 1; type <= 5; ++type) {
    const Bytes good = WritePackedImage(SmallPicture(type));
    ASSERT_EQ(Decode(good).status, packed::kOk) << "type " << type;
    const uint32_t size = GetHeaderField(good, HeaderField::kDecodedSize);
    const uint32_t blocks = GetHeaderField(good, HeaderField::kBlocksPerMacroblock);
    const RefusalCase cases[] = {
        {HeaderField::kType, 0, packed::kBadType},
        {HeaderField::kType, 6, packed::kBadType},
        {HeaderField::kType, 0x80000001u, packed::kBadType},
        {HeaderField::kWidth, 0, packed::kBadSize},
        {HeaderField::kHeight, 0, packed::kBadSize},
        {HeaderField::kDecodedSize, size - 1, packed::kBadSize},
        {HeaderField::kDecodedSize, size + 4, packed::kBadSize},
        {HeaderField::kDecodedSize, 0, packed::kBadSize},
        {HeaderField::kWidth, 65535, packed::kBadSize},  // the size no longer fits
        {HeaderField::kPaletteCount, 257, packed::kBadPalette},
        {HeaderField::kPaletteCount, 65535, packed::kBadPalette},
        {HeaderField::kBlocksPerMacroblock, blocks + 1, packed::kBadBlockCount},
        {HeaderField::kBlocksPerMacroblock, 0, packed::kBadBlockCount},
        {HeaderField::kMacroblocks, 3, packed::kBadMacroblocks},  // 2 x 2 are needed
        {HeaderField::kMacroblocks, 5, packed::kBadMacroblocks},
        {HeaderField::kMacroblocks, 65535, packed::kBadMacroblocks},
    };
    for (const RefusalCase& c : cases) {
      Bytes file = good;
      SetHeaderField(file, c.field, c.value);
      const Decoded d = Decode(file);
      EXPECT_EQ(d.status, c.status)
          << "type " << type << " field " << int(c.field) << " = " << c.value;
      EXPECT_EQ(d.result, 0);
      EXPECT_TRUE(d.pixels.empty()) << "nothing is allocated for a refused header";
    }
  }
}

TEST(PackedHeader, PaletteRequiredByIndexedTypes) {
  for (uint32_t type : {2u, 4u, 5u}) {
    Bytes file = WritePackedImage(SmallPicture(type));
    SetHeaderField(file, HeaderField::kPaletteCount, 0);
    EXPECT_EQ(Decode(file).status, packed::kBadPalette) << "type " << type;
  }
  // Grey images may go without one (they are shown through a grey ramp).
  PackedPicture grey = SmallPicture(1);
  grey.palette.clear();
  const Decoded d = Decode(WritePackedImage(grey));
  EXPECT_EQ(d.result, 1);
  EXPECT_TRUE(d.palette.empty());
}

TEST(PackedHeader, EveryCorruptionSwitch) {
  const HeaderField checked[] = {HeaderField::kMagic,       HeaderField::kType,
                                 HeaderField::kWidth,       HeaderField::kHeight,
                                 HeaderField::kDecodedSize, HeaderField::kPaletteCount,
                                 HeaderField::kMacroblocks, HeaderField::kBlocksPerMacroblock};
  const HeaderField unchecked[] = {HeaderField::kHeaderSize, HeaderField::kUnused,
                                   HeaderField::kQuality};
  for (uint32_t type = 1; type <= 5; ++type) {
    const Bytes good = WritePackedImage(SmallPicture(type));
    for (HeaderField field : checked) {
      const Decoded d = Decode(CorruptHeaderField(good, field));
      EXPECT_NE(d.status, packed::kOk) << "type " << type << " field " << int(field);
      EXPECT_NE(d.status, packed::kNoMemory) << "type " << type << " field " << int(field);
      EXPECT_EQ(d.result, 0);
    }
    for (HeaderField field : unchecked) {
      const Decoded d = Decode(CorruptHeaderField(good, field));
      // Quality 0 changes the tables but not the validity.
      EXPECT_EQ(d.result, 1) << "type " << type << " field " << int(field);
    }
  }
}

TEST(PackedHeader, StatusCodesAreDistinct) {
  const int32_t codes[] = {
      packed::kOk,        packed::kNoMemory,    packed::kBadMagic,      packed::kBadType,
      packed::kBadSize,   packed::kBadPalette,  packed::kBadBlockCount, packed::kBadMacroblocks,
      packed::kTruncated, packed::kCorruptData, packed::kStopped};
  std::set<int32_t> unique(std::begin(codes), std::end(codes));
  EXPECT_EQ(unique.size(), std::size(codes));
  std::set<std::string> texts;
  for (int32_t code : codes) texts.insert(packed::StatusText(code));
  EXPECT_EQ(texts.size(), std::size(codes));
}

TEST(PackedHeader, PaletteCopiedAsBlueGreenRed) {
  PackedPicture p = SmallPicture(5);
  p.palette = {{10, 20, 30}, {200, 100, 0}};
  for (uint8_t& index : p.pixels) index &= 1;
  const Decoded d = Decode(WritePackedImage(p));
  ASSERT_EQ(d.result, 1);
  ASSERT_EQ(d.palette.size(), 2u);
  EXPECT_EQ(d.palette[0].rgbBlue, 30);
  EXPECT_EQ(d.palette[0].rgbGreen, 20);
  EXPECT_EQ(d.palette[0].rgbRed, 10);
  EXPECT_EQ(d.palette[0].rgbReserved, 0);
  EXPECT_EQ(d.palette[1].rgbBlue, 0);
  EXPECT_EQ(d.palette[1].rgbRed, 200);
}

// ---- Files ----

class PackedFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() /
            ("packed_test_" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(m_dir, ignored);
  }
  std::string Write(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  fs::path m_dir;
};

TEST_F(PackedFiles, MissingFileAndBadMagicGiveMinus14) {
  CPackedImageFile missing((m_dir / "absent.dat").string().c_str(), 0);
  EXPECT_EQ(missing.GetStatus(), packed::kBadMagic);
  EXPECT_EQ(missing.Read(nullptr), 0);

  Bytes file = WritePackedImage(SmallPicture(3));
  file[packed::kOffsetMagic + 1] = 'k';  // " kLV"
  CPackedImageFile bad(Write(m_dir / "bad.dat", file).c_str(), 0);
  EXPECT_EQ(bad.GetStatus(), packed::kBadMagic);
  EXPECT_EQ(bad.Read(nullptr), 0);

  // An offset past the end leaves nothing to read.
  CPackedImageFile beyond(Write(m_dir / "short.dat", WritePackedImage(SmallPicture(1))).c_str(),
                          100000);
  EXPECT_EQ(beyond.GetStatus(), packed::kBadMagic);
}

TEST_F(PackedFiles, ImagesBackToBackAtTheirOffsets) {
  const PackedPicture first = SmallPicture(1);
  const PackedPicture second = SmallPicture(5);
  const Bytes a = WritePackedImage(first);
  const Bytes b = WritePackedImage(second);
  Bytes both = a;
  both.insert(both.end(), b.begin(), b.end());
  const std::string path = Write(m_dir / "imfull.dat", both);

  CPackedImageFile image(path.c_str(), static_cast<DWORD>(a.size()));
  ASSERT_EQ(image.GetStatus(), packed::kOk);
  ASSERT_EQ(image.Read(nullptr), 1);
  EXPECT_EQ(image.GetType(), 5u);
  EXPECT_EQ(Bytes(image.GetPixels(), image.GetPixels() + second.pixels.size()), second.pixels);
  EXPECT_EQ(Decode(both, 0).result, 1);
}

TEST_F(PackedFiles, LongFileNameIsKept) {
  // Longer than 255 characters: on Windows just below the 260 of a path, elsewhere far longer.
#ifdef _WIN32
  const size_t wanted = 258;
#else
  const size_t wanted = 400;
#endif
  const std::string base = (m_dir / "imfull.dat").string();
  ASSERT_LT(base.size() + 2, wanted);
  fs::path dir = m_dir;
  for (size_t left = wanted - base.size() - 1; left > 0;) {  // folders of at most 100 characters
    const size_t n = std::min<size_t>(left, 100);
    dir /= std::string(n, 'd');
    left -= std::min(left, n + 1);
  }
  fs::create_directories(dir);
  const std::string path = Write(dir / "imfull.dat", WritePackedImage(SmallPicture(2)));
  ASSERT_GT(path.size(), 255u);
  CBufferedFile file;
  ASSERT_TRUE(file.OpenRead(path.c_str(), 0)) << path.size() << " characters";
  EXPECT_EQ(std::string(file.GetFileName()), path);
  CPackedImageFile image(path.c_str(), 0);
  EXPECT_EQ(image.Read(nullptr), 1);
}

TEST(PackedBufferedFile, ReadsAcrossBuffersAndReportsItsState) {
  Bytes data(6000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  CBufferedFile file;
  EXPECT_FALSE(file.Close());
  EXPECT_EQ(file.GetLastStatus(), CBufferedFile::kNotAllowed);
  EXPECT_EQ(file.ReadByte(), -1) << "not open";
  EXPECT_FALSE(file.OpenRead("/nonexistent/dir/file.dat", 0));
  EXPECT_EQ(file.GetLastStatus(), CBufferedFile::kCannotOpen);

  ASSERT_TRUE(file.OpenRead(std::make_unique<CMemFile>(data.data(), data.size()), 10));
  EXPECT_EQ(file.GetState(), CBufferedFile::kOpenRead);
  EXPECT_FALSE(file.OpenRead(std::make_unique<CMemFile>(data.data(), data.size()), 0));
  EXPECT_EQ(file.GetLastStatus(), CBufferedFile::kNotAllowed);
  Bytes block(3000);
  ASSERT_TRUE(file.Read(block.data(), 3000));  // crosses the first 2560-byte buffer
  EXPECT_EQ(Bytes(block.begin(), block.end()), Bytes(data.begin() + 10, data.begin() + 3010));
  bool same = true;
  for (size_t i = 3010; i < data.size(); ++i) same = same && file.ReadByte() == data[i];
  EXPECT_TRUE(same);
  EXPECT_EQ(file.ReadByte(), -1);
  EXPECT_EQ(file.GetLastStatus(), CBufferedFile::kReadFailed);
  EXPECT_FALSE(file.Read(block.data(), 1));
  EXPECT_TRUE(file.Close());
  EXPECT_EQ(file.GetState(), CBufferedFile::kClosed);
}

}  // namespace
}  // namespace packedtest
