// Composed wallpapers and the full-screen preview on a real X display, for looking at and for
// the composer's timings. A demo set of 640 x 480 pictures (the photographs of the folder named
// by SAVER_DEMO_PHOTO_DIR, a Windows path, when set; drawn pictures otherwise) with its cache.
// Each wallpaper is saved as wallpaper-<name>.bmp and each screen as wallpaper-screen-<name>.bmp
// in the folder named by SAVER_SCREENSHOT_DIR (a Windows path), when set.
//
// What the preview shows on the screen must be the composed bitmap, pixel for pixel.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/DIB.h"
#include "imaging/QuarterCache.h"
#include "seams/Alerts.h"
#include "seams/ScreenSize.h"
#include "settings/IniSettings.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tests/wine/platform/ScreenCapture.h"
#include "tests/wine/wallpaper/WallpaperTesting.h"
#include "tools/demo/DemoImageSet.h"
#include "wallpaper/WallpaperComposer.h"
#include "wallpaper/WallpaperPreview.h"

namespace {

constexpr int kJpegPicture = demoset::kPictureCount - 1;  // the demo's JPEG record

void Pump() {
  MSG message;
  for (int i = 0; i < 25; ++i) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(20);
  }
}

std::string ShotPath(const std::string& name) {
  const char* folder = std::getenv("SAVER_SCREENSHOT_DIR");
  return folder ? std::string(folder) + "\\wallpaper-" + name + ".bmp" : std::string();
}

void SaveForLooking(CDIB* dib, const std::string& name) {
  const std::string path = ShotPath(name);
  if (!path.empty()) {
    EXPECT_TRUE(dib->Save(path.c_str()));
  }
}

// Milliseconds per run of `work`, over a few runs.
double TimeMs(const std::function<void()>& work, int runs = 5) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < runs; ++i) work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
             .count() /
         runs;
}

// Pixels where the screen differs from the 24-bit bitmap (placed at the screen's corner).
int Differences(const ScreenCapture& shot, const CDIB& dib) {
  int differing = 0;
  for (int y = 0; y < dib.GetHeight(); ++y)
    for (int x = 0; x < dib.GetWidth(); ++x)
      differing += shot.At(x, y) != controltest::PixelOf(dib, x, y);
  return differing;
}

class WallpaperOnScreen : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    demoset::Options options;
    if (const char* photos = std::getenv("SAVER_DEMO_PHOTO_DIR")) options.photoFolder = photos;
    ASSERT_EQ(demoset::BuildDemoImageSet(parent_->str(), options), "");
  }
  void SetUp() override {
    controltest::RegisterControls();
    static const bool registered = RegisterFullScreenWallpaperWnd();
    ASSERT_TRUE(registered);
    const std::string data = (*parent_ / demoset::kDataFolderName).string();
    const std::string own = (*parent_ / demoset::kOwnImagesFolderName).string();
    std::strcpy(IniSettings.DATADIRECTORY, data.c_str());
    std::strcpy(IniSettings.OWNIMAGES_DIR, own.c_str());
    if (!QuarterImageCacheExistsIn(data.c_str())) {
      const double ms = TimeMs([] { BuildQuarterImageCache(nullptr); }, 1);
      std::printf("[ figure ] quarter-size cache of the 640 x 480 demo set: %.0f ms\n", ms);
    }
    ASSERT_TRUE(EnsureImageDescArray(&ImageDescArray));
    if (!ImageSetLogoDIB) ImageSetLogoDIB = LoadLogo(1.0);
    WallpaperSettings = WallpaperSettingsValues{};
    WallpaperSettings.WALLPAPER_SCREENSTYLE = 0;  // large logo tiles
    WallpaperSettings.WALLPAPER_BORDERSTYLE = 2;  // emboss
    WallpaperSettings.WALLPAPER_BORDERSHADOWON = 1;
    WallpaperSettings.WALLPAPER_IMAGETONE = 0;
  }
  void TearDown() override {
    wallpapertest::ResetWallpaperState();
    wallpapertest::FailOnAlerts(alerts_);
  }

  static testsupport::TempFolder* parent_;
  seams::ScopedAlertRecorder alerts_;
};

testsupport::TempFolder* WallpaperOnScreen::parent_ = new testsupport::TempFolder("wallpaperdemo");

TEST_F(WallpaperOnScreen, ImageSetLayoutsComposeAndTheirBuildTime) {
  struct Case {
    const char* name;
    int layout, cx, cy;
  };
  const Case cases[] = {{"tile", kWallpaperTile, 1024, 768},
                        {"uniform", kWallpaperUniform, 1024, 768},
                        {"mixed", kWallpaperMixed, 1024, 768},
                        {"tile-1600", kWallpaperTile, 1600, 1200},
                        {"uniform-1600", kWallpaperUniform, 1600, 1200}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedScreenSize screen(c.cx, c.cy);
    WallpaperSettings.WALLPAPER_IMAGEFX = c.layout;
    ASSERT_TRUE(BuildWallpaperBackground());
    BOOL built = 0;
    const double ms =
        TimeMs([&] { built = BuildImageSetWallpaperDIB(&WallpaperLayoutRects, 3, nullptr); });
    ASSERT_TRUE(built);
    std::printf("[ figure ] BuildImageSetWallpaperDIB %s at %d x %d (%d cells): %.1f ms\n", c.name,
                c.cx, c.cy, static_cast<int>(WallpaperLayoutRects.GetCount()), ms);
    SaveForLooking(ComposedWallpaperDIB(), c.name);
  }
}

TEST_F(WallpaperOnScreen, OwnImagesComposeAndTheirBuildTime) {
  const std::vector<CString> names = ListOwnImages(IniSettings.OWNIMAGES_DIR);
  ASSERT_EQ(names.size(), 12u);
  for (int layout : {kWallpaperOwnUniform, kWallpaperFullScale}) {
    WallpaperSettings.WALLPAPER_IMAGEFX = layout;
    ASSERT_TRUE(BuildWallpaperBackground());
    BOOL built = 0;
    const double ms =
        TimeMs([&] { built = BuildOwnImagesWallpaperFrom(&WallpaperLayoutRects, 0, names); });
    ASSERT_TRUE(built);
    const char* name = layout == kWallpaperFullScale ? "own-fullscale" : "own-uniform";
    std::printf("[ figure ] BuildOwnImagesWallpaperDIB %s, %d pictures of the demo: %.1f ms\n",
                name, static_cast<int>(WallpaperLayoutRects.GetCount()), ms);
    SaveForLooking(ComposedWallpaperDIB(), name);
  }
}

TEST_F(WallpaperOnScreen, ThePreviewShowsTheComposedWallpaper) {
  HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  struct Case {
    const char* name;
    int layout, size;
  };
  const Case cases[] = {{"mixed", kWallpaperMixed, 0}, {"fullscale-1600", kWallpaperFullScale, 6}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WallpaperSettings.WALLPAPER_IMAGEFX = c.layout;
    WallpaperSettings.WALLPAPER_IMAGESIZE = c.size;
    WallpaperSettings.WALLPAPER_IMAGENO = kJpegPicture;
    ASSERT_TRUE(BuildWallpaperBackground());
    ASSERT_TRUE(CreateFullScreenWallpaperWnd(owner));
    HWND preview = FindWindowA(kFullScreenWallpaperClass, nullptr);
    ASSERT_NE(preview, nullptr);
    Pump();
    const ScreenCapture shot = ScreenCapture::Take();
    ASSERT_FALSE(shot.Empty());
    if (!ShotPath("screen-" + std::string(c.name)).empty())
      shot.SaveBmp(ShotPath("screen-" + std::string(c.name)).c_str());
    CDIB* expected = c.layout == kWallpaperFullScale
                         ? ComposeFullScaleWallpaper(&WallpaperImageDIB, WallpaperBackgroundDIB)
                         : ComposedWallpaperDIB();
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(Differences(shot, *expected), 0);
    if (expected != WallpaperImageDIB && expected != Wallpaper24DIB) delete expected;
    DestroyWindow(preview);
  }
  DestroyWindow(owner);
}

}  // namespace
