// The image-set data files and the state built from them: descriptions, logos, the screen
// background, full-screen pictures and the wallpaper composition.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "seams/ScreenSize.h"
#include "tests/native/imageset/ImageSetFixture.h"

namespace {

using imagesettest::Bytes;

std::vector<std::unique_ptr<CImageDesc>> MakeRecords(int count) {
  std::vector<std::unique_ptr<CImageDesc>> records;
  for (int i = 0; i < count; ++i) {
    records.emplace_back(new CImageDesc);
    records.back()->title = ("Picture " + std::to_string(i)).c_str();
    records.back()->dataOffset = 1000 * i;
  }
  return records;
}

Bytes DescriptionFile(int records, uint32_t count) {
  auto owned = MakeRecords(records);
  std::vector<const CImageDesc*> pointers;
  for (auto& r : owned) pointers.push_back(r.get());
  return imagesettest::WriteImageDescriptions(7, count, pointers);
}

const CImageDesc* Entry(int i) { return static_cast<const CImageDesc*>(ImageDescArray.GetAt(i)); }

class ImageSetTest : public ImageSetFolderTest {};

TEST_F(ImageSetTest, SetsOfTwelveAndFiftyTwoLoadInOrder) {
  for (int count : {12, 52}) {
    Write("Imagedes.dat", DescriptionFile(count, static_cast<uint32_t>(count)));
    DeleteImageDescs(&ImageDescArray);
    ASSERT_EQ(GetImageDescArray(Path("Imagedes.dat").c_str(), &ImageDescArray), count);
    ASSERT_EQ(ImageDescArray.GetSize(), count);
    EXPECT_EQ(std::string(Entry(count - 1)->title), "Picture " + std::to_string(count - 1));
    EXPECT_EQ(Entry(count - 1)->dataOffset, 1000 * (count - 1));
  }
  EXPECT_TRUE(alerts_.Records().empty());
}

TEST_F(ImageSetTest, AWrongCountIsReportedAndLeavesTheArrayEmpty) {
  Write("Imagedes.dat", DescriptionFile(20, 20));
  EXPECT_FALSE(EnsureImageDescArray(&ImageDescArray));
  EXPECT_TRUE(ImageDescArray.IsEmpty());
  ASSERT_EQ(alerts_.Records().size(), 1u);
  EXPECT_EQ(alerts_.Records()[0].text, "Unrecognized number of images in main image file");
  EXPECT_EQ(alerts_.Records()[0].caption, "Alert");
}

TEST_F(ImageSetTest, AFileEndingInsideARecordLeavesNothingBehindAndALaterLoadWorks) {
  const Bytes whole = DescriptionFile(12, 12);
  for (size_t cut : {size_t{4}, size_t{8}, whole.size() / 2, whole.size() - 1}) {
    SCOPED_TRACE(cut);
    Write("Imagedes.dat", Bytes(whole.begin(), whole.begin() + static_cast<long>(cut)));
    EXPECT_EQ(GetImageDescArray(Path("Imagedes.dat").c_str(), &ImageDescArray), 0);
    EXPECT_TRUE(ImageDescArray.IsEmpty());
  }
  Write("Imagedes.dat", whole);
  EXPECT_TRUE(EnsureImageDescArray(&ImageDescArray));
  EXPECT_EQ(ImageDescArray.GetSize(), 12);
}

TEST_F(ImageSetTest, AMissingDescriptionFileIsAlerted) {
  EXPECT_FALSE(EnsureImageDescArray(&ImageDescArray));
  ASSERT_EQ(alerts_.Records().size(), 2u);
  EXPECT_EQ(alerts_.Records()[0].text, "Unable to find image description file - reinstall");
  EXPECT_EQ(alerts_.Records()[0].caption, "Loading Image Files - Error");
  EXPECT_EQ(alerts_.Records()[1].text, "Unrecognized number of images in main image file");
}

TEST_F(ImageSetTest, ASecondEnsureKeepsTheLoadedSet) {
  Write("Imagedes.dat", DescriptionFile(12, 12));
  ASSERT_TRUE(EnsureImageDescArray(&ImageDescArray));
  const CObject* first = ImageDescArray.GetAt(0);
  std::filesystem::remove(Path("Imagedes.dat"));
  EXPECT_TRUE(EnsureImageDescArray(&ImageDescArray));
  EXPECT_EQ(ImageDescArray.GetAt(0), first);
  EXPECT_TRUE(alerts_.Records().empty());
}

TEST_F(ImageSetTest, OnlyNearSquareLogosAreChosen) {
  struct Case {
    int width, height;
    bool chosen;
  };
  const Case cases[] = {{200, 100, false}, {105, 100, true}, {110, 100, false}, {100, 100, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height);
    alerts_.Clear();
    const auto logos = imagesettest::WriteLogoFiles({imagesettest::MakeLogoBmp(c.width, c.height)});
    Write("Logosdes.dat", logos.descriptions);
    Write("imlogos.dat", logos.pictures);
    std::unique_ptr<CDIB> logo(LoadLogo(1.0));
    EXPECT_EQ(logo != nullptr, c.chosen);
    if (logo) {
      EXPECT_EQ(logo->GetWidth(), c.width);
    }
    if (!c.chosen) {
      ASSERT_EQ(alerts_.Records().size(), 1u);
      EXPECT_EQ(alerts_.Records()[0].text, "Unable to find logo.");
      EXPECT_EQ(alerts_.Records()[0].caption, "Screen Saver Scaling/Border Settings");
    }
  }
}

TEST_F(ImageSetTest, WithoutLogoFilesASolidBackgroundIsStillBuilt) {
  Write("Imagedes.dat", DescriptionFile(12, 12));
  std::strcpy(IniSettings.IMAGE_SIZE, "1");
  std::strcpy(IniSettings.IMAGE_SCREENSTYLE, "3");
  std::strcpy(IniSettings.IMAGE_BACKSTYLE, " 2");
  std::strcpy(IniSettings.IMAGE_BORDERSTYLE, "0");
  std::strcpy(IniSettings.IMAGE_BORDERTHICKNESS, "0");
  std::strcpy(IniSettings.IMAGE_BORDERSHADOWON, "0");
  std::strcpy(IniSettings.INTERPON, "x");
  ScopedScreenSize screen(800, 600);
  ASSERT_TRUE(InitImageSet());
  EXPECT_TRUE(Alerted("Unable to find logo file."));
  EXPECT_EQ(ImageSetLogoDIB, nullptr);
  EXPECT_EQ(ImageSettings.IMAGE_SIZE, 1);
  EXPECT_EQ(ImageSettings.IMAGE_BACKSTYLE, 2);
  EXPECT_EQ(ImageSettings.INTERPON, 0);
  ASSERT_NE(ScreenBackgroundDIB, nullptr);
  EXPECT_EQ(ScreenBackgroundDIB->GetWidth(), 800);
  EXPECT_EQ(ScreenBackgroundDIB->GetHeight(), 600);
  // The picture area (back style 2, black) differs from the light-grey screen around it.
  EXPECT_NE(*ScreenBackgroundDIB->GetPixelAddress(400, 300),
            *ScreenBackgroundDIB->GetPixelAddress(2, 2));
}

TEST_F(ImageSetTest, TheBackgroundFollowsAScreenSizeChange) {
  ImageSettings = ImageSetSettings{};
  ImageSettings.IMAGE_SCREENSTYLE = 2;
  ImageSettings.IMAGE_BACKSTYLE = 3;
  {
    ScopedScreenSize screen(800, 600);
    ASSERT_TRUE(BuildScreenBackground());
  }
  const CDIB* first = ScreenBackgroundDIB;
  ScopedScreenSize screen(1024, 768);
  ASSERT_TRUE(BuildScreenBackground());
  EXPECT_EQ(ScreenBackgroundDIB, first);  // the same object: holders of the pointer stay valid
  EXPECT_EQ(ScreenBackgroundDIB->GetWidth(), 1024);
  EXPECT_EQ(ScreenBackgroundDIB->GetHeight(), 768);
}

TEST_F(ImageSetTest, FullScreenImageRefusesAMissingRecord) {
  Write("Imagedes.dat", DescriptionFile(12, 12));
  ASSERT_TRUE(EnsureImageDescArray(&ImageDescArray));
  for (int index : {-1, 12}) {
    alerts_.Clear();
    EXPECT_EQ(CreateFullScreenImage(nullptr, nullptr, &ImageDescArray, index, 1, FALSE), nullptr);
    ASSERT_EQ(alerts_.Records().size(), 1u);
    EXPECT_EQ(alerts_.Records()[0].text, "Unable to find image data");
  }
  alerts_.Clear();
  // Record 0 points into an "imfull.dat" that does not exist.
  EXPECT_EQ(
      LoadFullScreenImageWithProgress(nullptr, nullptr, nullptr, &ImageDescArray, 0, 1, FALSE),
      nullptr);
  EXPECT_TRUE(Alerted("Unable to create full screen image"));
  EXPECT_TRUE(Alerted("Unable to load image"));
}

// A wallpaper: the picture centred on the background, the background's greys kept as greys
// although the picture's palette holds no ramp at the background's indices.
TEST_F(ImageSetTest, WallpaperKeepsTheBackgroundsColoursAndCentresThePicture) {
  CDIB background;
  background.Create(100, 80, nullptr);  // grey ramp: index i is a grey
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 100; ++x) *background.GetPixelAddress(x, y) = 200;
  const RGBQUAD grey = background.header->bmiColors[200];
  CDIB picture;
  picture.Create(40, 20, nullptr);
  for (int i = 0; i < 256; ++i)  // a reddish palette: nothing grey at index 200
    picture.header->bmiColors[i] = RGBQUAD{static_cast<BYTE>(i / 4), 0, static_cast<BYTE>(i), 0};
  picture.header->bmiColors[7] = grey;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) *picture.GetPixelAddress(x, y) = 50;
  std::unique_ptr<CDIB> wall(ComposeWallpaperDIB(&picture, &background));
  ASSERT_TRUE(wall);
  ASSERT_EQ(wall->GetWidth(), 100);
  auto colour = [&](int x, int y) { return wall->header->bmiColors[*wall->GetPixelAddress(x, y)]; };
  const RGBQUAD corner = colour(0, 0);
  EXPECT_EQ(corner.rgbRed, grey.rgbRed);
  EXPECT_EQ(corner.rgbGreen, grey.rgbGreen);
  EXPECT_EQ(corner.rgbBlue, grey.rgbBlue);
  EXPECT_EQ(colour(30, 30).rgbRed, 50);  // inside (30..69, 30..49): the picture's colour 50
  EXPECT_EQ(colour(29, 30).rgbRed, grey.rgbRed);
  EXPECT_EQ(colour(70, 49).rgbRed, grey.rgbRed);

  // A picture larger than the background is cut to it, never written outside.
  CDIB big;
  big.Create(300, 200, nullptr);
  std::unique_ptr<CDIB> cut(ComposeWallpaperDIB(&big, &background));
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->GetWidth(), 100);
  EXPECT_EQ(cut->GetHeight(), 80);
}

TEST_F(ImageSetTest, ProductVersionComesFromTheVersionResource) {
  CString version;
#ifdef _WIN32
  ASSERT_TRUE(GetProductVersion(version));
  EXPECT_EQ(std::string(version), "1.2.3");
#else
  EXPECT_FALSE(GetProductVersion(version));
  EXPECT_TRUE(version.IsEmpty());
#endif
}

}  // namespace
