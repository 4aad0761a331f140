// GetImage: every data format and size code, with and without interpolation, and every failure
// with its text (LeakSanitizer checks the failure paths natively).
#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>
#include <memory>

#include "imageset/GetImage.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "seams/ScreenSize.h"
#include "tests/native/imageset/ImageSetFixture.h"
#include "tests/support/JpegEncode.h"
#include "tests/support/PackedImageWriter.h"
#include "tests/support/TestPictures.h"

namespace {

using imagesettest::Bytes;
using DIBPtr = std::unique_ptr<CDIB>;

constexpr int kW = 64, kH = 48;

Bytes PackedBytes(uint32_t type) {
  packedtest::PackedPicture p;
  p.type = type;
  p.width = kW;
  p.height = kH;
  const Bytes rgb = packedtest::MakePhotoRgb(kW, kH, 3);
  if (type != 3) p.palette = packedtest::MakeCubePalette();
  p.pixels = type == 1   ? packedtest::ToGrey(rgb)
             : type == 5 ? packedtest::MapToPalette(rgb, p.palette)
                         : rgb;
  return packedtest::WritePackedImage(p);
}

Bytes BmpBytes() {
  CDIB dib;
  dib.Create(kW, kH, nullptr);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) *dib.GetPixelAddress(x, y) = static_cast<BYTE>(x + y);
  return imagesettest::BmpFileBytes(dib);
}

Bytes JpegBytes() {
  const Bytes rgb = packedtest::MakePhotoRgb(kW, kH, 4);
  return testsupport::EncodeJpeg({kW, kH, 3, rgb});
}

class GetImageTest : public ImageSetFolderTest {
 protected:
  // Writes the data after `padding` bytes of something else, so that the offset matters.
  void Store(const Bytes& data, int32_t format, size_t padding = 37) {
    Bytes file(padding + data.size(), 0xAB);
    std::copy(data.begin(), data.end(), file.begin() + static_cast<std::ptrdiff_t>(padding));
    Write("imfull.dat", file);
    desc_.dataOffset = static_cast<int32_t>(padding);
    desc_.dataFormat = format;
  }
  DIBPtr Get(int sizeCode, BOOL interpolate = FALSE) {
    error_.Empty();
    return DIBPtr(GetImage(Path("imfull.dat").c_str(), &desc_, sizeCode, interpolate, 0, nullptr,
                           nullptr, FALSE, error_));
  }
  CImageDesc desc_;
  CString error_;
};

struct FormatCase {
  const char* name;
  int32_t format;
  Bytes (*data)();
  int bitCount;  // of the result
};

TEST_F(GetImageTest, EveryFormatScalesToEverySizeCodeWithAndWithoutInterpolation) {
  const FormatCase cases[] = {
      {"packed grey", kImageDataPacked, [] { return PackedBytes(1); }, 8},
      {"packed palette 4:2:0", kImageDataPacked, [] { return PackedBytes(2); }, 8},
      {"packed 24-bit", kImageDataPacked, [] { return PackedBytes(3); }, 24},
      {"packed palette 4:4:4", kImageDataPacked, [] { return PackedBytes(4); }, 8},
      {"packed LZW", kImageDataPacked, [] { return PackedBytes(5); }, 8},
      {"BMP", kImageDataBmp, BmpBytes, 8},
      {"JPEG", kImageDataJpeg, JpegBytes, 24},
  };
  const int sizes[7][2] = {{1024, 768}, {640, 480},  {800, 600},  {1024, 768},
                           {1152, 864}, {1280, 960}, {1600, 1200}};
  ScopedScreenSize screen(1024, 768);
  for (const FormatCase& c : cases) {
    Store(c.data(), c.format);
    for (int code = 0; code <= 6; ++code) {
      // Interpolation itself is the resampler's to test: two sizes show that it is used.
      for (BOOL interpolate : {FALSE, TRUE}) {
        if (interpolate && code != 1 && code != 3) continue;
        SCOPED_TRACE(::testing::Message()
                     << c.name << " code " << code << " interp " << interpolate);
        DIBPtr image = Get(code, interpolate);
        ASSERT_TRUE(image) << error_;
        EXPECT_EQ(image->GetWidth(), sizes[code][0]);
        EXPECT_EQ(image->GetHeight(), sizes[code][1]);
        EXPECT_EQ(image->header->bmiHeader.biBitCount, c.bitCount);
      }
    }
  }
  EXPECT_TRUE(alerts_.Records().empty());
}

TEST_F(GetImageTest, ScreenSizeCodeEqualsTheMatchingFixedCode) {
  Store(PackedBytes(2), kImageDataPacked);
  ScopedScreenSize screen(1024, 768);
  for (BOOL interpolate : {FALSE, TRUE}) {
    DIBPtr screenSized = Get(0, interpolate), fixed = Get(3, interpolate);
    ASSERT_TRUE(screenSized && fixed);
    const size_t bytes = static_cast<size_t>(fixed->GetStorageWidth()) * fixed->GetHeight();
    EXPECT_EQ(0, std::memcmp(screenSized->bits, fixed->bits, bytes));
    EXPECT_EQ(0, std::memcmp(screenSized->header->bmiColors, fixed->header->bmiColors, 256 * 4));
  }
}

TEST_F(GetImageTest, The24BitPackedTypeKeepsItsColours) {
  // A flat orange picture must come out orange, not as palette indices or swapped channels.
  packedtest::PackedPicture p;
  p.type = 3;
  p.width = kW;
  p.height = kH;
  for (int i = 0; i < kW * kH; ++i) p.pixels.insert(p.pixels.end(), {230, 120, 20});
  Store(packedtest::WritePackedImage(p), kImageDataPacked);
  DIBPtr image = Get(1);
  ASSERT_TRUE(image) << error_;
  const BYTE* centre = image->bits + 240 * image->GetStorageWidth() + 320 * 3;
  EXPECT_NEAR(centre[2], 230, 6);  // red
  EXPECT_NEAR(centre[1], 120, 6);
  EXPECT_NEAR(centre[0], 20, 6);  // blue
}

TEST_F(GetImageTest, FailuresGiveTheirTexts) {
  struct Case {
    const char* name;
    Bytes data;
    int32_t format;
    int sizeCode;
    const char* text;
    const char* alert;  // or null
  };
  Bytes badMagic = PackedBytes(2);
  packedtest::SetHeaderField(badMagic, packedtest::HeaderField::kMagic, 0x12345678);
  Bytes cutJpeg = JpegBytes();
  cutJpeg.resize(40);
  Bytes cutBmp = BmpBytes();
  cutBmp.resize(60);
  const Case cases[] = {
      {"size code 7", PackedBytes(2), kImageDataPacked, 7, "unrecognised image size", nullptr},
      {"size code -1", PackedBytes(2), kImageDataPacked, -1, "unrecognised image size", nullptr},
      {"bad magic", badMagic, kImageDataPacked, 1, "Unable to expand JPEG", nullptr},
      {"cut packed", packedtest::Truncate(PackedBytes(4), 900), kImageDataPacked, 1,
       "Unable to expand JPEG", nullptr},
      {"cut JPEG", cutJpeg, kImageDataJpeg, 1, "Unable to load image from file",
       "Unable to load image from file"},
      {"cut BMP", cutBmp, kImageDataBmp, 1, "Unable to load image from file",
       "Unable to load image from file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    alerts_.Clear();
    Store(c.data, c.format);
    EXPECT_FALSE(Get(c.sizeCode));
    EXPECT_EQ(std::string(error_), std::string("GetImage Error Message: ") + c.text);
    if (c.alert) {
      ASSERT_EQ(alerts_.Records().size(), 1u);
      EXPECT_EQ(alerts_.Records()[0].text, c.alert);
      EXPECT_EQ(alerts_.Records()[0].caption, "Alert");
    } else {
      EXPECT_TRUE(alerts_.Records().empty());
    }
  }
}

TEST_F(GetImageTest, MissingDataFileIsReportedForEveryFormat) {
  for (int32_t format : {kImageDataPacked, kImageDataBmp, kImageDataJpeg}) {
    alerts_.Clear();
    desc_.dataFormat = format;
    EXPECT_FALSE(Get(1));
    EXPECT_FALSE(error_.IsEmpty());
    EXPECT_EQ(alerts_.Records().size(), format == kImageDataPacked ? 0u : 1u);
  }
}

TEST_F(GetImageTest, AnEightBitPictureWiderThanTheScreenIsFittedInsteadOfFailing) {
  // Wider than 640 but shorter than 480: no enlargement fits, so it is fitted as a plain stretch
  // fits it (640 x 91, centred on black bars) rather than refused.
  CDIB dib;
  dib.Create(700, 100, nullptr);
  Store(imagesettest::BmpFileBytes(dib), kImageDataBmp);
  DIBPtr image = Get(1, TRUE);
  ASSERT_TRUE(image) << error_;
  EXPECT_EQ(image->GetWidth(), 640);
  EXPECT_EQ(image->GetHeight(), 480);
  const RGBQUAD& bar = image->header->bmiColors[*image->GetPixelAddress(320, 0)];
  EXPECT_EQ(bar.rgbRed + bar.rgbGreen + bar.rgbBlue, 0) << "the bars are the background's black";
  EXPECT_EQ(*image->GetPixelAddress(320, 240), 0) << "the picture's own pixel";
}

}  // namespace
