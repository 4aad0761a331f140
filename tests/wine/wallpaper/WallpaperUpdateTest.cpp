// The wallpaper update in-process, on the demo set under Wine's null display driver (1024 x 768):
// which picture each run installs, what it writes, and its failures.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "settings/IniSettings.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/support/GdiHeadroom.h"
#include "tests/wine/wallpaper/WallpaperFixture.h"
#include "wallpaper/WallpaperComposer.h"
#include "wallpaper/WallpaperDlg.h"

namespace wallpapertest {
namespace {

namespace fs = std::filesystem;

// The set's image numbers in the order of their titles, as a sorted list box orders them.
std::vector<int> ImageNumbersByTitle() {
  std::vector<int> numbers;
  for (int i = 0; i < ImageDescArray.GetSize(); ++i) numbers.push_back(i);
  auto title = [](int i) {
    return static_cast<const char*>(static_cast<CImageDesc*>(ImageDescArray[i])->title);
  };
  std::stable_sort(numbers.begin(), numbers.end(),
                   [&](int a, int b) { return lstrcmpiA(title(a), title(b)) < 0; });
  return numbers;
}

class WallpaperUpdate : public WallpaperTest {
 protected:
  BOOL Update() {
    CWallpaperDlg dialog;
    EXPECT_NE(dialog.GetSafeHwnd(), nullptr);
    return dialog.UpdateWallpaper();
  }
  int StoredImageNo() { return std::stoi(WallpaperValue(kWallpaperImageNoValue)); }
  std::unique_ptr<CDIB> LoadWallpaper() {
    auto dib = std::make_unique<CDIB>();
    if (!dib->Load(WallpaperFile().c_str())) return nullptr;
    return dib;
  }
  // Checks that the written wallpaper is 1024 x 768 and shows, centred (and cut to the screen),
  // picture `imageNo` as the full-screen decoder gives it at the size code.
  void ExpectWallpaperShows(int imageNo, int sizeCode) {
    const std::unique_ptr<CDIB> written = LoadWallpaper();
    ASSERT_NE(written, nullptr);
    ASSERT_EQ(written->GetWidth(), 1024);
    ASSERT_EQ(written->GetHeight(), 768);
    ASSERT_TRUE(InitImageSet());
    std::unique_ptr<CDIB> picture(
        CreateFullScreenImage(nullptr, nullptr, &ImageDescArray, imageNo, sizeCode, 1));
    ASSERT_NE(picture, nullptr);
    const int ox = (1024 - picture->GetWidth()) / 2, oy = (768 - picture->GetHeight()) / 2;
    int compared = 0, differences = 0;
    for (int y = 0; y < 768; y += 7) {
      for (int x = 0; x < 1024; x += 7) {
        const COLORREF expected = PixelAt(*picture, x - ox, y - oy);
        if (expected == CLR_INVALID) continue;  // the background around a smaller picture
        ++compared;
        differences += expected != PixelAt(*written, x, y);
      }
    }
    EXPECT_GT(compared, 1000);
    EXPECT_EQ(differences, 0);
  }
};

// Nothing to do: TRUE, no alert, the stored number and the wallpaper file as they were.
TEST_F(WallpaperUpdate, NothingToDoChangesNothing) {
  testsupport::TempFolder empty("noimages");
  struct Case {
    const char* what;
    std::vector<std::pair<const char*, std::string>> values;
  } cases[] = {
      {"auto-rotate off", {{"WALLPAPER_AUTOROTATEON", "0"}}},
      {"an empty own-images folder", {{"OWNIMAGES_ON", "1"}, {"OWNIMAGES_DIR", empty.str()}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    SetWallpaperValue(kWallpaperImageNoValue, "3");
    for (const auto& value : c.values) SetWallpaperValue(value.first, value.second);
    EXPECT_TRUE(Update());
    EXPECT_EQ(AlertTexts(), "");
    EXPECT_EQ(StoredImageNo(), 3);
    EXPECT_FALSE(fs::exists(WallpaperFile()));
  }
}

// Full scale: the stored number moves to the next title's image, and the written bitmap is that
// picture as the full-screen decoder gives it.
TEST_F(WallpaperUpdate, FullScaleInstallsTheNextTitlesPicture) {
  ASSERT_TRUE(Update());  // loads the set, so the title order can be read
  const std::vector<int> order = ImageNumbersByTitle();
  ASSERT_EQ(order.size(), 12u);
  struct Case {
    const char* what;
    int stored, expected;
  } cases[] = {
      {"nothing shown yet: the second title", -1, order[1]},
      {"the last title wraps to the first", order[11], order[0]},
      {"a middle title", order[4], order[5]},
      {"a number past the set starts over", 40, order[0]},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    alerts_.Clear();
    SetWallpaperValue(kWallpaperImageNoValue, std::to_string(c.stored));
    ASSERT_TRUE(Update()) << AlertTexts();
    EXPECT_EQ(AlertTexts(), "");
    EXPECT_EQ(StoredImageNo(), c.expected);
    EXPECT_EQ(DesktopWallpaper(), WallpaperFile());
    ExpectWallpaperShows(c.expected, 0);
  }
}

// Every layout of an image set writes a screen-sized bitmap without an alert, and leaves no
// composed bitmap and no GDI object behind.
TEST_F(WallpaperUpdate, EveryLayoutWritesAScreenSizedBitmap) {
  ASSERT_TRUE(Update());  // the first run's one-time objects (fonts, the progress class)
  const int freeHandles = wintest::FreeGdiHandles();
  for (const char* layout : {"0", "1", "2", "3"}) {
    SCOPED_TRACE(layout);
    alerts_.Clear();
    SetWallpaperValue("WALLPAPER_IMAGEFX", layout);
    ASSERT_TRUE(Update()) << AlertTexts();
    const std::unique_ptr<CDIB> written = LoadWallpaper();
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written->GetWidth(), 1024);
    EXPECT_EQ(written->GetHeight(), 768);
    EXPECT_EQ(DesktopWallpaper(), WallpaperFile());
    EXPECT_EQ(Wallpaper24DIB, nullptr);
    EXPECT_EQ(WallpaperBackgroundDIB, nullptr);
  }
  EXPECT_EQ(wintest::FreeGdiHandles(), freeHandles);
}

// A 1600 x 1200 picture on the 1024 x 768 screen: the wallpaper is its middle, not the
// background with the picture pushed off the top-left.
TEST_F(WallpaperUpdate, APictureLargerThanTheScreenShowsItsMiddle) {
  SetWallpaperValue("WALLPAPER_IMAGESIZE", "6");
  SetWallpaperValue(kWallpaperImageNoValue, "-1");
  ASSERT_TRUE(Update()) << AlertTexts();
  ExpectWallpaperShows(StoredImageNo(), 6);
}

TEST_F(WallpaperUpdate, OwnImagesAdvanceOneFileAtATime) {
  const std::vector<CString> files = ListOwnImages(InstalledDemoSet().ownImagesFolder.c_str());
  ASSERT_GE(files.size(), 4u);
  SetWallpaperValue("OWNIMAGES_ON", "1");
  SetWallpaperValue("OWNIMAGES_DIR", InstalledDemoSet().ownImagesFolder);
  SetWallpaperValue(kWallpaperImageNoValue, std::to_string(files.size() - 1));
  for (int expected : {0, 1, 2, 3}) {
    ASSERT_TRUE(Update()) << AlertTexts();
    EXPECT_EQ(StoredImageNo(), expected);
  }
  EXPECT_EQ(AlertTexts(), "");
  const std::unique_ptr<CDIB> written = LoadWallpaper();
  ASSERT_NE(written, nullptr);
  EXPECT_EQ(written->GetWidth(), 1024);
  EXPECT_EQ(written->GetHeight(), 768);
  // A stored number equal to the number of files counts as 0, so the next run shows file 1.
  SetWallpaperValue(kWallpaperImageNoValue, std::to_string(files.size()));
  ASSERT_TRUE(Update());
  EXPECT_EQ(StoredImageNo(), 1);
}

TEST_F(WallpaperUpdate, AMissingThumbnailCacheIsBuiltFirst) {
  const std::string cache = InstalledDemoSet().dataFolder + "\\imx4.dat";
  fs::remove(cache);
  SetWallpaperValue("WALLPAPER_IMAGEFX", "2");
  ASSERT_TRUE(Update()) << AlertTexts();
  EXPECT_TRUE(fs::exists(cache));
  EXPECT_EQ(DesktopWallpaper(), WallpaperFile());
}

BOOL RefuseInstall(const char*, CString* errorText) {
  *errorText =
      "SetWallpaperIniSetting Error Message - Unable to make the SystemParametersInfo call";
  return FALSE;
}

std::string ImageData() { return InstalledDemoSet().dataFolder + "\\imfull.dat"; }

// Each failure gives one alert captioned for the program and FALSE; the image number moved on
// already when the failure comes after it was chosen.
TEST_F(WallpaperUpdate, FailuresAreAlertedAndReturnFalse) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
    const char* message;
    int storedAfter;
    std::function<void()> undo = [] {};
  } cases[] = {
      {"no settings key",
       [] { ASSERT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, WallpaperKeyPath().c_str()), 0); },
       "Unable to read wallpaper registry values", -99},
      {"the wallpaper file is a folder", [this] { fs::create_directories(WallpaperFile()); },
       "Unable to save current wallpaper image to file", 0},
      {"the system refuses the wallpaper", [] { InstallWallpaperInstaller(RefuseInstall); },
       "SetWallpaperIniSetting Error Message - Unable to make the SystemParametersInfo call", 0},
      {"the picture does not decode",
       [] {
         fs::copy_file(ImageData(), ImageData() + ".good", fs::copy_options::overwrite_existing);
         fs::resize_file(ImageData(), 64);
       },
       "Unable to create wallpaper image", 0,
       [] { fs::rename(ImageData() + ".good", ImageData()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetUp();
    alerts_.Clear();
    SetWallpaperValue(kWallpaperImageNoValue, "11");
    c.arrange();
    EXPECT_FALSE(Update());
    InstallWallpaperInstaller(nullptr);
    c.undo();
    if (std::string(c.message) == "Unable to create wallpaper image") {
      EXPECT_FALSE(fs::exists(WallpaperFile())) << "nothing is written without a picture";
    }
    ASSERT_FALSE(alerts_.Records().empty());
    EXPECT_EQ(alerts_.Records().back().text, c.message) << AlertTexts();
    EXPECT_EQ(alerts_.Records().back().caption, kMurafitAlertCaption);
    EXPECT_EQ(alerts_.Records().back().flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONERROR));
    EXPECT_EQ(Wallpaper24DIB, nullptr);
    EXPECT_EQ(WallpaperBackgroundDIB, nullptr);
    if (c.storedAfter != -99) {
      EXPECT_NE(StoredImageNo(), 11);
    }
    std::error_code ignored;
    fs::remove_all(WallpaperFile(), ignored);
  }
}

}  // namespace
}  // namespace wallpapertest
