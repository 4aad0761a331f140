// The quarter-size image cache: the builder against the independent layout writer, the index
// reader against good and bad headers, the free-space rule and the work files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "framework/Arrays.h"
#include "imaging/Descriptors.h"
#include "imaging/QuarterCache.h"
#include "seams/Alerts.h"
#include "tests/support/JpegEncode.h"
#include "tests/support/PackedImageWriter.h"
#include "tests/support/QuarterCacheWriter.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using cachetest::Bytes;
using cachetest::FullImage8;

using testsupport::TempFolder;

Bytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void Put32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// An 8-bit BMP file of the full image; colours 0 writes a 256-entry table with no count.
Bytes MakeBmp8(const FullImage8& image, bool statedCount) {
  const int tableEntries = statedCount ? image.colours : 256;
  const uint32_t offBits = 14 + 40 + 4u * static_cast<uint32_t>(tableEntries);
  Bytes out{'B', 'M'};
  Put32(out, offBits + static_cast<uint32_t>(image.rows.size()));
  Put32(out, 0);
  Put32(out, offBits);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(image.width));
  Put32(out, static_cast<uint32_t>(image.height));
  Put32(out, 1 | (8u << 16));
  for (int field = 0; field < 4; ++field) Put32(out, 0);
  Put32(out, statedCount ? static_cast<uint32_t>(image.colours) : 0);
  Put32(out, 0);
  for (int i = 0; i < tableEntries; ++i)
    out.insert(out.end(), image.table[static_cast<size_t>(i)].begin(),
               image.table[static_cast<size_t>(i)].end());
  out.insert(out.end(), image.rows.begin(), image.rows.end());
  return out;
}

// A full image with `colours` distinct colours and a pattern that differs with the seed.
FullImage8 MakeFullImage(int width, int height, int colours, int seed) {
  std::vector<std::array<uint8_t, 3>> rgb;
  for (int i = 0; i < colours; ++i)
    rgb.push_back({static_cast<uint8_t>(i * 7 + seed), static_cast<uint8_t>(255 - i),
                   static_cast<uint8_t>(i * 3)});
  FullImage8 image;
  image.width = width;
  image.height = height;
  image.colours = colours;
  image.table = cachetest::TableWithGreyRamp(rgb);
  image.rows.assign(static_cast<size_t>(image.Stride()) * static_cast<size_t>(height), 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.rows[static_cast<size_t>(y) * static_cast<size_t>(image.Stride()) +
                 static_cast<size_t>(x)] =
          static_cast<uint8_t>((x * 13 + y * 5 + seed * 31 + (x ^ y)) % colours);
  return image;
}

// An image set's "imfull.dat" and its records, assembled picture by picture.
class ImageSet {
 public:
  ~ImageSet() {
    for (int i = 0; i < records_.GetSize(); ++i) delete records_.GetAt(i);
  }
  // A packed LZW picture (width a multiple of 4); its full image as the decoder gives it.
  FullImage8 AddPacked(int width, int height, int seed) {
    FullImage8 image = MakeFullImage(width, height, 256, seed);
    packedtest::PackedPicture picture;
    picture.type = 5;
    picture.width = width;
    picture.height = height;
    picture.pixels = image.rows;
    for (const auto& entry : image.table) picture.palette.push_back({entry[2], entry[1], entry[0]});
    Add(packedtest::WritePackedImage(picture), kImageDataPacked);
    return image;
  }
  void Add(const Bytes& data, int32_t format) {
    auto* record = new CImageDesc;
    record->dataOffset = static_cast<int32_t>(imfull_.size());
    record->dataFormat = format;
    records_.Add(record);
    imfull_.insert(imfull_.end(), data.begin(), data.end());
  }
  void Write(const TempFolder& folder) const { WriteAll(folder / "imfull.dat", imfull_); }
  const CObArray& records() const { return records_; }
  CImageDesc* record(int i) const { return static_cast<CImageDesc*>(records_.GetAt(i)); }

 private:
  Bytes imfull_;
  CObArray records_;
};

uint64_t g_fakeFreeBytes = 0;
bool g_fakeFreeKnown = true;
bool FakeFreeSpace(const char*, uint64_t* available) {
  *available = g_fakeFreeBytes;
  return g_fakeFreeKnown;
}

class QuarterCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousQuery_ = InstallFreeSpaceQuery(FakeFreeSpace);
    g_fakeFreeBytes = uint64_t{1} << 40;  // beyond 32 bits: the test must be done in 64
    g_fakeFreeKnown = true;
    QuarterImageCount = 0;
  }
  void TearDown() override {
    InstallFreeSpaceQuery(previousQuery_);
    QuarterImageCount = 0;
  }
  BOOL Build(const ImageSet& set) {
    set.Write(folder_);
    return BuildQuarterImageCacheFrom(folder_.str().c_str(), set.records(), nullptr);
  }
  std::vector<std::string> AlertTexts() const {
    std::vector<std::string> texts;
    for (const auto& record : alerts_.Records()) texts.push_back(record.text);
    return texts;
  }

  TempFolder folder_;
  seams::ScopedAlertRecorder alerts_;
  FreeSpaceQuery previousQuery_ = nullptr;
};

TEST_F(QuarterCacheTest, TwelvePackedImagesEqualTheIndependentWriterAndIndexAsLaidOut) {
  ImageSet set;
  std::vector<FullImage8> full;
  for (int i = 0; i < 12; ++i) full.push_back(set.AddPacked(640, 480, i));
  ASSERT_TRUE(Build(set));
  EXPECT_TRUE(alerts_.Records().empty());

  const Bytes cache = ReadAll(folder_ / "imx4.dat");
  const size_t bmpSize = 1078 + 160 * 120;
  ASSERT_EQ(cache.size(), 75 + 12 * bmpSize);
  EXPECT_EQ(std::string(cache.begin(), cache.begin() + 3), "12l");
  EXPECT_TRUE(cache == cachetest::WriteQuarterCache(full));
  EXPECT_EQ(folder_.Files(), (std::vector<std::string>{"imfull.dat", "imx4.dat"}));

  ASSERT_TRUE(QuarterImageCacheExistsIn(folder_.str().c_str()));
  ASSERT_TRUE(LoadQuarterImageIndexFrom(folder_.str().c_str()));
  ASSERT_EQ(QuarterImageCount, 12);
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(QuarterImageOffsets[i], static_cast<int32_t>(75 + i * bmpSize));
}

// The cached BMP of image i, cut out of the cache by the index.
Bytes CachedImage(const Bytes& cache, int i) {
  const size_t start = static_cast<size_t>(QuarterImageOffsets[i]);
  const size_t end =
      i + 1 < QuarterImageCount ? static_cast<size_t>(QuarterImageOffsets[i + 1]) : cache.size();
  return Bytes(cache.begin() + static_cast<std::ptrdiff_t>(start),
               cache.begin() + static_cast<std::ptrdiff_t>(end));
}

uint32_t Field32(const Bytes& bmp, size_t offset) {
  return bmp[offset] | bmp[offset + 1] << 8 | bmp[offset + 2] << 16 |
         static_cast<uint32_t>(bmp[offset + 3]) << 24;
}

TEST_F(QuarterCacheTest, StoredPicturesKeepSmallTablesAndAreReducedOtherwise) {
  ImageSet set;
  // An odd size with a 150-colour table: kept as it is, rows padded.
  const FullImage8 oddBmp = MakeFullImage(650, 490, 150, 1);
  set.Add(MakeBmp8(oddBmp, true), kImageDataBmp);
  // A 256-entry table with no stated count, and a 24-bit JPEG: both reduced.
  set.Add(MakeBmp8(MakeFullImage(160, 120, 256, 2), false), kImageDataBmp);
  set.Add(testsupport::EncodeJpeg(testsupport::SyntheticPhoto(320, 240)), kImageDataJpeg);
  std::vector<FullImage8> packed;
  for (int i = 3; i < 12; ++i) packed.push_back(set.AddPacked(64, 48, i));
  ASSERT_TRUE(Build(set));
  ASSERT_TRUE(LoadQuarterImageIndexFrom(folder_.str().c_str()));
  const Bytes cache = ReadAll(folder_ / "imx4.dat");

  const Bytes odd = CachedImage(cache, 0);
  EXPECT_TRUE(odd == cachetest::WriteQuarterBmp(oddBmp));
  EXPECT_EQ(odd.size(), 1078u + 164u * 122u);
  EXPECT_EQ(Field32(odd, 46), 150u);
  for (int i = 1; i <= 2; ++i) {
    SCOPED_TRACE(i);
    const Bytes reduced = CachedImage(cache, i);
    // A reduced table is full (256 listed) but the pixels use only its first 204 entries.
    EXPECT_EQ(Field32(reduced, 46), 256u);
    EXPECT_EQ(Field32(reduced, 18), i == 1 ? 40u : 80u);
    EXPECT_EQ(reduced[28], 8);
    for (size_t p = 1078; p < reduced.size(); ++p) ASSERT_LT(reduced[p], 204) << p;
    for (size_t entry = 204; entry < 256; ++entry)  // the tail of the table is the grey ramp
      EXPECT_EQ(reduced[54 + 4 * entry], entry);
  }
  for (int i = 3; i < 12; ++i)
    EXPECT_TRUE(CachedImage(cache, i) ==
                cachetest::WriteQuarterBmp(packed[static_cast<size_t>(i - 3)]));
}

TEST_F(QuarterCacheTest, FreeSpaceThresholdsAreInKilobytesPerImageCount) {
  struct Case {
    int count;
    uint64_t freeBytes;
    bool known;
    bool built;
  };
  const Case cases[] = {
      {12, 253 * 1024 - 1, true, false},
      {12, 253 * 1024, true, true},
      {52, 1100 * 1024 - 1, true, false},
      {52, 1100 * 1024, true, true},
      {12, 0, false, true},  // space unknown: the build goes on
  };
  EXPECT_EQ(QuarterCacheKilobytesNeeded(12), 253u);
  EXPECT_EQ(QuarterCacheKilobytesNeeded(52), 1100u);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.count) + " images, " + std::to_string(c.freeBytes) + " bytes");
    TempFolder folder;
    ImageSet set;
    for (int i = 0; i < c.count; ++i) set.AddPacked(8, 8, i);
    set.Write(folder);
    g_fakeFreeBytes = c.freeBytes;
    g_fakeFreeKnown = c.known;
    alerts_.Clear();
    EXPECT_EQ(BuildQuarterImageCacheFrom(folder.str().c_str(), set.records(), nullptr),
              c.built ? 1 : 0);
    EXPECT_EQ(QuarterImageCacheExistsIn(folder.str().c_str()), c.built);
    if (!c.built) {
      EXPECT_EQ(AlertTexts(),
                std::vector<std::string>{
                    "Not enough disk space to create imx4 file - need 1.1MB of free disk space"});
    }
  }
}

TEST_F(QuarterCacheTest, AFailedBuildLeavesNoCacheAndNoWorkFiles) {
  struct Case {
    const char* what;
    void (*spoil)(ImageSet&);
    const char* alert;  // nullptr: the decoder's failure is reported by the caller
  };
  const Case cases[] = {
      {"packed picture corrupt", [](ImageSet& s) { s.record(5)->dataOffset += 3; }, nullptr},
      {"BMP offset past the end",
       [](ImageSet& s) {
         s.record(7)->dataFormat = kImageDataBmp;
         s.record(7)->dataOffset = 1 << 30;
       },
       "Unable to load image from file"},
      {"JPEG that is not one", [](ImageSet& s) { s.record(11)->dataFormat = kImageDataJpeg; },
       "Unable to load image from file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    ImageSet set;
    for (int i = 0; i < 12; ++i) set.AddPacked(32, 32, i);
    c.spoil(set);
    set.Write(folder);
    alerts_.Clear();
    EXPECT_EQ(BuildQuarterImageCacheFrom(folder.str().c_str(), set.records(), nullptr), 0);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"imfull.dat"});
    if (c.alert) {
      EXPECT_EQ(AlertTexts(), std::vector<std::string>{c.alert});
    }
  }
}

TEST_F(QuarterCacheTest, OnlyTwelveOrFiftyTwoImagesAreBuilt) {
  ImageSet set;
  for (int i = 0; i < 20; ++i) set.AddPacked(8, 8, i);
  EXPECT_EQ(Build(set), 0);
  EXPECT_EQ(AlertTexts(),
            std::vector<std::string>{"Unrecognized number of images in main image file"});
  EXPECT_EQ(folder_.Files(), std::vector<std::string>{"imfull.dat"});
}

// "53l" and 53 sizes of 1 byte: a count beyond the index's 52 entries.
std::string HeaderOf53Images() {
  std::string out = "53l";
  for (int i = 0; i < 53; ++i) out += "1l";
  return out;
}

TEST_F(QuarterCacheTest, IndexReaderTakesAnUntrustworthyHeaderAsAMissingCache) {
  // Two images of 1100 and 1200 bytes behind a header of "2l1100l1200l" (12 characters).
  const std::string good = "2l1100l1200l";
  struct Case {
    const char* what;
    std::string header;
    size_t body;
    bool loads;
  };
  const Case cases[] = {
      {"good", good, 2300, true},
      {"count 0", "0l", 0, false},
      {"count 53", HeaderOf53Images(), 53, false},
      {"not numbers", "twelve", 2300, false},
      {"no closing letter", "2l1100l1200", 2300, false},
      {"blank in the header", "2l 1100l1200l", 2300, false},
      {"sizes beyond the file", good, 2299, false},
      {"bytes after the last image", good, 2301, false},
      {"size too large", "1l99999999999l", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes file(c.header.begin(), c.header.end());
    file.insert(file.end(), c.body, 0);
    WriteAll(folder_ / "imx4.dat", file);
    QuarterImageCount = 7;  // a stale index is dropped whatever the header holds
    EXPECT_EQ(LoadQuarterImageIndexFrom(folder_.str().c_str()), c.loads);
    EXPECT_EQ(QuarterImageCount, c.loads ? 2 : 0);
    if (c.loads) {
      EXPECT_EQ(QuarterImageOffsets[0], 12);
      EXPECT_EQ(QuarterImageOffsets[1], 12 + 1100);
    }
  }
  EXPECT_TRUE(alerts_.Records().empty());
}

TEST_F(QuarterCacheTest, MissingCacheLeavesTheIndexAloneWithoutAMessage) {
  QuarterImageCount = 0;
  EXPECT_FALSE(QuarterImageCacheExistsIn(folder_.str().c_str()));
  EXPECT_FALSE(LoadQuarterImageIndexFrom(folder_.str().c_str()));
  EXPECT_EQ(QuarterImageCount, 0);
  EXPECT_TRUE(alerts_.Records().empty());
}

}  // namespace
