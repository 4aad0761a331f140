// The demo image set: a set the saver accepts, whose twelve pictures all decode and show their
// photographs the right way up.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine3d/ShapesRound.h"
#include "imageset/GetImage.h"
#include "imageset/ImageSet.h"
#include "imaging/AnimDoc.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "seams/ScreenSize.h"
#include "settings/ImageSetKey.h"
#include "tests/native/imageset/ImageSetFixture.h"
#include "tests/support/JpegEncode.h"
#include "tests/support/TestPictures.h"
#include "tools/demo/DemoImageSet.h"

namespace {

class DemoImageSetTest : public ImageSetFolderTest {};

TEST_F(DemoImageSetTest, TheBuiltSetLoadsAndEveryPictureDecodes) {
  demoset::Options options;  // no photographs: the builder draws its own
  options.width = 160;
  options.height = 120;
  ASSERT_EQ(demoset::BuildDemoImageSet(folder_.string(), options), "");
  const std::string data = imagesettest::JoinPath(folder_.string(), demoset::kDataFolderName);
  std::strncpy(IniSettings.DATADIRECTORY, data.c_str(), sizeof IniSettings.DATADIRECTORY - 1);
  EXPECT_EQ(std::string(demoset::kDataFolderName).size(), 7u);
#ifdef _WIN32
  EXPECT_TRUE(IsImageSetDirectory(data.c_str()));
#else
  // The set test's names are lower case; this file system tells cases apart.
  for (const char* name : {"imfull.dat", "Imagedes.dat", "cover.bmp", "imagedoc.dat",
                           "imagetxt.dat", "Logosdes.dat", "imlogos.dat", "credits.rtf"})
    EXPECT_TRUE(std::filesystem::is_regular_file(imagesettest::JoinPath(data, name))) << name;
#endif
  ASSERT_EQ(GetImageDescArray(ImageSetFilePath("Imagedes.dat"), &ImageDescArray), 12);
  const imagesettest::Bytes captions =
      imagesettest::ReadFileBytes(static_cast<const char*>(ImageSetFilePath("imagetxt.dat")));
  std::set<int32_t> formats;
  for (int i = 0; i < ImageDescArray.GetSize(); ++i) {
    const auto* desc = static_cast<const CImageDesc*>(ImageDescArray.GetAt(i));
    SCOPED_TRACE(static_cast<const char*>(desc->title));
    formats.insert(desc->dataFormat);
    const std::string caption(captions.begin() + desc->captionStart,
                              captions.begin() + desc->captionEnd);
    EXPECT_EQ(caption.rfind(static_cast<const char*>(desc->title), 0), 0u);
    CString error;
    std::unique_ptr<CDIB> image(
        GetImage(ImageSetFilePath("imfull.dat"), desc, 1, TRUE, 0, nullptr, nullptr, FALSE, error));
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->GetWidth(), 640);
  }
  EXPECT_EQ(formats, (std::set<int32_t>{kImageDataPacked, kImageDataBmp, kImageDataJpeg}));
  std::unique_ptr<CDIB> logo(LoadLogo(1.0));
  EXPECT_TRUE(logo);
  // A logo for every shape asked for: the background's and the cubes' squares, and the band that
  // wraps round the cylinder.
  CAnimDoc doc;
  ASSERT_TRUE(doc.LoadLogoDescs(ImageSetFilePath("Logosdes.dat"), ImageSetFilePath("imlogos.dat")));
  for (const double ratio : {1.0, C3DCyl52().LogoAspectRatio()}) {
    CDIB opened;
    EXPECT_TRUE(doc.OpenRandomLogoFile(ratio, &opened)) << "no logo of aspect ratio " << ratio;
  }
  EXPECT_TRUE(alerts_.Records().empty());
}

// Red, green, blue per pixel, top row first, of an 8-bit or 24-bit bitmap.
imagesettest::Bytes RgbTopFirst(const CDIB& dib) {
  imagesettest::Bytes rgb;
  const bool indexed = dib.header->bmiHeader.biBitCount == 8;
  for (int y = 0; y < dib.GetHeight(); ++y) {
    for (int x = 0; x < dib.GetWidth(); ++x) {
      const BYTE* p = dib.GetPixelAddress(x, y);
      const RGBQUAD c = indexed ? dib.header->bmiColors[*p] : RGBQUAD{p[0], p[1], p[2], 0};
      rgb.insert(rgb.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
    }
  }
  return rgb;
}

// Mean absolute difference per sample of two top-first RGB pictures of width w, the second read
// upside down when asked.
double MeanDifference(const imagesettest::Bytes& a, const imagesettest::Bytes& b, int w,
                      bool flipSecond) {
  const size_t row = static_cast<size_t>(w) * 3, rows = a.size() / row;
  double sum = 0;
  for (size_t y = 0; y < rows; ++y) {
    const size_t by = flipSecond ? rows - 1 - y : y;
    for (size_t i = 0; i < row; ++i) sum += std::abs(a[y * row + i] - b[by * row + i]);
  }
  return sum / static_cast<double>(a.size());
}

// Writes twelve photographs (sky above, hills below) into the folder; returns each one as libjpeg
// decodes it, in name order.
std::vector<imagesettest::Bytes> WritePhotos(const std::string& folder, int w, int h) {
  std::filesystem::create_directories(folder);
  std::vector<imagesettest::Bytes> sources;
  for (int n = 0; n < demoset::kPictureCount; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "Photo%02d.jpg", n);
    const testsupport::Picture photo{w, h, 3, packedtest::MakePhotoRgb(w, h, 40 + n)};
    const imagesettest::Bytes jpeg = testsupport::EncodeJpeg(photo, {95});
    EXPECT_TRUE(imagesettest::WriteFileBytes(imagesettest::JoinPath(folder, name), jpeg));
    sources.push_back(testsupport::ReferenceDecode(jpeg).samples);
  }
  return sources;
}

// Built from photographs the test supplies, every picture must show its photograph the right way
// up through GetImage, in every format. A width that is not a multiple of 4 gives the LZW picture
// a stream that is not simply its rows back to back.
TEST_F(DemoImageSetTest, EveryPictureShowsItsPhotographTheRightWayUp) {
  for (const ScreenSize size : {ScreenSize{160, 120}, ScreenSize{161, 121}, ScreenSize{162, 97}}) {
    const int w = size.cx, h = size.cy;
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    const std::string parent = imagesettest::JoinPath(folder_.string(), std::to_string(w));
    const std::string photos = imagesettest::JoinPath(parent, "photos");
    const std::vector<imagesettest::Bytes> sources = WritePhotos(photos, w, h);
    demoset::Options options;
    options.photoFolder = photos;
    options.width = w;
    options.height = h;
    ASSERT_EQ(demoset::BuildDemoImageSet(parent, options), "");
    const std::string data = imagesettest::JoinPath(parent, demoset::kDataFolderName);
    std::strncpy(IniSettings.DATADIRECTORY, data.c_str(), sizeof IniSettings.DATADIRECTORY - 1);
    DeleteImageDescs(&ImageDescArray);
    ASSERT_EQ(GetImageDescArray(ImageSetFilePath("Imagedes.dat"), &ImageDescArray), 12);

    // A screen of the pictures' own size: GetImage then hands them over unscaled.
    ScopedScreenSize screen(size.cx, size.cy);
    for (int i = 0; i < ImageDescArray.GetSize(); ++i) {
      const auto* desc = static_cast<const CImageDesc*>(ImageDescArray.GetAt(i));
      char title[32];
      std::snprintf(title, sizeof title, "Photo%02d", i);
      ASSERT_STREQ(static_cast<const char*>(desc->title), title);
      SCOPED_TRACE(std::string(title) + " format " + std::to_string(desc->dataFormat));
      CString error;
      std::unique_ptr<CDIB> image(GetImage(ImageSetFilePath("imfull.dat"), desc, 0, FALSE, 0,
                                           nullptr, nullptr, FALSE, error));
      ASSERT_TRUE(image) << error;
      ASSERT_EQ(image->GetWidth(), w);
      ASSERT_EQ(image->GetHeight(), h);
      const imagesettest::Bytes shown = RgbTopFirst(*image);
      const double upright = MeanDifference(shown, sources[i], w, false);
      const double flipped = MeanDifference(shown, sources[i], w, true);
      EXPECT_LT(upright, 8.0) << "flipped " << flipped;
      EXPECT_GT(flipped, 4 * upright) << "upright " << upright;
    }
  }
  EXPECT_TRUE(alerts_.Records().empty());
}

TEST(DemoImageSetTitles, ComeFromFileNames) {
  EXPECT_EQ(demoset::TitleFromFileName("GreenMeadow.jpg"), "Green Meadow");
  EXPECT_EQ(demoset::TitleFromFileName("Aqua.jpg"), "Aqua");
  EXPECT_EQ(demoset::TitleFromFileName("rain_drops.JPG"), "rain drops");
}

}  // namespace
