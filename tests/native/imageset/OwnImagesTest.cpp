// The own-images source: the folder listing, the fit, the full-screen picture's errors and the
// frame margin of the composed own image.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/DIB.h"
#include "imaging/FolderPath.h"
#include "seams/ScreenSize.h"
#include "tests/support/TempFolder.h"
#include "transitions/LayoutRects.h"

namespace {

namespace fs = std::filesystem;

// A test folder that also makes the files the listing looks at.
class TempFolder : public testsupport::TempFolder {
 public:
  TempFolder() : testsupport::TempFolder("ownimages") {}
  void Touch(const char* name) const { std::ofstream(*this / name) << "x"; }
  void SaveDIB(const char* name, CDIB& dib) const {
    ASSERT_TRUE(dib.Save(JoinFolderPath(str().c_str(), name)));
  }
};

std::vector<std::string> Strings(const std::vector<CString>& names) {
  std::vector<std::string> out;
  for (const CString& name : names) out.emplace_back(name.str());
  return out;
}

TEST(OwnImagesList, KeepsJpgAndBmpFilesSortedWithoutRegardToCase) {
  TempFolder folder;
  for (const char* name : {"b.bmp", "c.jpeg", "d.txt", "a.JPG", "C.Bmp", "sub.jpg.txt"})
    folder.Touch(name);
  fs::create_directory(fs::path(folder.str()) / "e.jpg");  // a folder, whatever its name
  EXPECT_EQ(Strings(ListOwnImages(folder.str().c_str())),
            (std::vector<std::string>{"a.JPG", "b.bmp", "C.Bmp"}));
  EXPECT_TRUE(ListOwnImages((folder.str() + "-missing").c_str()).empty());
}

// The list-box order (lstrcmpiA's under Windows, its stand-in natively): punctuation before
// digits before letters, case ignored, hyphens and apostrophes only between otherwise equal
// names. Each row is in ascending order.
TEST(OwnImagesList, NamesSortAsTheListBoxesSortThem) {
  const std::vector<std::vector<const char*>> rows = {
      {"_beach.jpg", "1beach.jpg", "beach.jpg"},
      {"~old.bmp", "2010.jpg", "Autumn.jpg"},
      {"a b.jpg", "a_b.jpg", "a1.jpg", "ab.jpg"},
      {"a.jpg", "A1.jpg", "aa.jpg"},
      {"co-op.jpg", "cop.jpg"},
      {"zoo.jpg", "ZOO2.jpg"},
      {"[x].jpg", "x.jpg"},
  };
  for (const auto& row : rows) {
    for (size_t i = 0; i + 1 < row.size(); ++i) {
      EXPECT_LT(CompareListBoxNames(row[i], row[i + 1]), 0) << row[i] << " before " << row[i + 1];
      EXPECT_GT(CompareListBoxNames(row[i + 1], row[i]), 0) << row[i + 1] << " after " << row[i];
    }
  }
  EXPECT_EQ(CompareListBoxNames("Beach.JPG", "beach.jpg"), 0);
  TempFolder folder;
  for (const char* name : {"beach.jpg", "_beach.jpg", "1beach.jpg"}) folder.Touch(name);
  EXPECT_EQ(Strings(ListOwnImages(folder.str().c_str())),
            (std::vector<std::string>{"_beach.jpg", "1beach.jpg", "beach.jpg"}));
}

TEST(OwnImagesFit, NeverEnlargesKeepsProportionsAndKeepsALineOfPixels) {
  struct Case {
    int w, h;
    RECT expected;  // in a 640 x 480 area at (0, 0)
  };
  const Case cases[] = {
      {800, 600, {0, 0, 640, 480}},    {100, 50, {270, 215, 370, 265}},
      {300, 1000, {248, 0, 392, 480}}, {1280, 480, {0, 120, 640, 360}},
      {640, 480, {0, 0, 640, 480}},    {4000, 2, {0, 240, 640, 241}},
      {2, 4000, {320, 0, 321, 480}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
    const RECT image{0, 0, c.w, c.h};
    RECT area{0, 0, 640, 480};
    FitRectKeepAspect(&image, &area);
    EXPECT_EQ(area.left, c.expected.left);
    EXPECT_EQ(area.top, c.expected.top);
    EXPECT_EQ(area.right, c.expected.right);
    EXPECT_EQ(area.bottom, c.expected.bottom);
  }
  const RECT image{0, 0, 100, 50};
  RECT offset{10, 20, 650, 500};  // the area's own position is kept
  FitRectKeepAspect(&image, &offset);
  EXPECT_EQ(offset.left, 280);
  EXPECT_EQ(offset.top, 235);
}

class OwnImagesScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = ImageSettings;
    ImageSettings.IMAGE_SIZE = 0;
    ImageSettings.IMAGE_SCREENSTYLE = 2;  // black: no logo needed
    ImageSettings.IMAGE_BACKSTYLE = 2;
  }
  void TearDown() override {
    DeleteAllPtrListElements(&rects_);
    ImageSettings = saved_;
  }
  RECT First() { return *static_cast<RECT*>(rects_.GetHead()); }

  ScopedScreenSize screen_{800, 600};
  TempFolder folder_;
  CPtrList rects_;
  ImageSetSettings saved_;
};

TEST_F(OwnImagesScreen, FullScreenPictureIsFittedToTheScreen) {
  CDIB picture;
  ASSERT_TRUE(picture.Create(1600, 600, nullptr));
  folder_.SaveDIB("wide.bmp", picture);
  CString error;
  std::unique_ptr<CDIB> dib(
      GetFullScreenOwnImageDIB(&rects_, folder_.str().c_str(), "wide.bmp", &error));
  ASSERT_TRUE(dib) << error.str();
  EXPECT_EQ(dib->header->bmiHeader.biBitCount, 24);
  EXPECT_EQ(dib->GetWidth(), 800);
  EXPECT_EQ(dib->GetHeight(), 300);
  EXPECT_EQ(First().top, 150);
}

TEST_F(OwnImagesScreen, FullScreenFailuresSayWhy) {
  // A 4-bit BMP: 2 x 2 pixels, a 16-entry table.
  std::vector<uint8_t> bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 118, 0, 0, 0, 40,
                              0,   0,   0, 2, 0, 0, 0, 2, 0, 0, 0,   1, 0, 4, 0};
  bmp.resize(118 + 8, 0);
  bmp[2] = static_cast<uint8_t>(bmp.size());
  {
    std::ofstream out(fs::path(folder_.str()) / "four.bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
  }
  folder_.Touch("broken.jpg");
  const std::string dir = folder_.str();
  const struct {
    const char* name;
    std::string error;
  } cases[] = {
      {"four.bmp",
       "Unable to handle image: " + std::string(JoinFolderPath(dir.c_str(), "four.bmp")) +
           " - image format is in 4 bits per pixel (screen saver can only handle 8bpp and 24 "
           "bpp)."},
      {"broken.jpg",
       "Unable to load image: " + std::string(JoinFolderPath(dir.c_str(), "broken.jpg"))},
      {"missing.bmp",
       "Unable to load image: " + std::string(JoinFolderPath(dir.c_str(), "missing.bmp"))},
      {"photo.jpeg", "Image file type is not JPEG or BMP: " +
                         std::string(JoinFolderPath(dir.c_str(), "photo.jpeg"))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CString error;
    EXPECT_EQ(GetFullScreenOwnImageDIB(&rects_, dir.c_str(), c.name, &error), nullptr);
    EXPECT_EQ(error.str(), c.error);
  }
}

TEST_F(OwnImagesScreen, ComposedImageKeepsThirtyPixelsForTheFrameUnlessThereIsNone) {
  CDIB picture;
  ASSERT_TRUE(picture.Create(1600, 1200, nullptr));
  folder_.SaveDIB("big.bmp", picture);
  struct Case {
    int border, shadow;
    RECT expected;
  };
  const Case cases[] = {
      {6, 0, {0, 0, 800, 600}},    // no frame: the whole screen
      {6, 1, {40, 30, 760, 570}},  // a shadow needs the room; 4:3 in 740 x 540
      {0, 0, {40, 30, 760, 570}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.border * 10 + c.shadow);
    ImageSettings.IMAGE_BORDERSTYLE = c.border;
    ImageSettings.IMAGE_BORDERSHADOWON = c.shadow;
    ASSERT_TRUE(SetFullScreenOwnImageDIB(&rects_, folder_.str().c_str(), "big.bmp"));
    const RECT area = First();
    EXPECT_EQ(area.left, c.expected.left);
    EXPECT_EQ(area.top, c.expected.top);
    EXPECT_EQ(area.right, c.expected.right);
    EXPECT_EQ(area.bottom, c.expected.bottom);
    ASSERT_TRUE(FullScreenOwnImageDIB);
    EXPECT_EQ(FullScreenOwnImageDIB->GetWidth(), 800);
  }
  // No own images at all: a black image area on the background, still a success.
  EXPECT_TRUE(SetFullScreenOwnImageDIB(&rects_, folder_.str().c_str(), nullptr));
}

}  // namespace
