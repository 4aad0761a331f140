// The demo image set: a set the saver accepts, whose twelve pictures all decode.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "imageset/GetImage.h"
#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "saver/ImageSetKey.h"
#include "tests/native/imageset/ImageSetFixture.h"
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
  const imagesettest::Bytes captions = imagesettest::ReadFileBytes(static_cast<const char*>(ImageSetFilePath("imagetxt.dat")));
  std::set<int32_t> formats;
  for (int i = 0; i < ImageDescArray.GetSize(); ++i) {
    const auto* desc = static_cast<const CImageDesc*>(ImageDescArray.GetAt(i));
    SCOPED_TRACE(static_cast<const char*>(desc->title));
    formats.insert(desc->dataFormat);
    const std::string caption(captions.begin() + desc->captionStart, captions.begin() + desc->captionEnd);
    EXPECT_EQ(caption.rfind(static_cast<const char*>(desc->title), 0), 0u);
    CString error;
    std::unique_ptr<CDIB> image(GetImage(ImageSetFilePath("imfull.dat"), desc, 1, TRUE, 0,
                                         nullptr, nullptr, FALSE, error));
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->GetWidth(), 640);
  }
  EXPECT_EQ(formats, (std::set<int32_t>{kImageDataPacked, kImageDataBmp, kImageDataJpeg}));
  std::unique_ptr<CDIB> logo(LoadLogo(1.0));
  EXPECT_TRUE(logo);
  EXPECT_TRUE(alerts_.Records().empty());
}

TEST(DemoImageSetTitles, ComeFromFileNames) {
  EXPECT_EQ(demoset::TitleFromFileName("GreenMeadow.jpg"), "Green Meadow");
  EXPECT_EQ(demoset::TitleFromFileName("Aqua.jpg"), "Aqua");
  EXPECT_EQ(demoset::TitleFromFileName("rain_drops.JPG"), "rain drops");
}

}  // namespace
