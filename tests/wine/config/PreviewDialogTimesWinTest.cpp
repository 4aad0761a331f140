// On demand (--gtest_also_run_disabled_tests): how long the wallpaper and scaling/border dialogs
// take to open on a 52-picture set, and to compose their preview again after a click, at
// 1024 x 768 and 1920 x 1080 (the screen-size seam). Prints; asserts nothing about speed.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include <gtest/gtest.h>

#include "config/ScalingBorderDialog.h"
#include "config/WallpaperDialog.h"
#include "controls/SelectedImage.h"
#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "imaging/QuarterCache.h"
#include "res/DialogIds.h"
#include "seams/ScreenSize.h"
#include "tests/wine/config/PreviewDialogFixture.h"
#include "transitions/LayoutRects.h"
#include "wallpaper/WallpaperComposer.h"

namespace {

using dialogtest::Driver;

double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The milliseconds the procedure spent in WM_INITDIALOG, for the procedure being timed.
DLGPROC timedProcedure = nullptr;
double initMs = 0;
INT_PTR CALLBACK Timed(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG) return timedProcedure(dialog, message, wParam, lParam);
  const double start = Now();
  const INT_PTR result = timedProcedure(dialog, message, wParam, lParam);
  initMs = Now() - start;
  return result;
}

class PreviewDialogTimes : public previewtest::PreviewDialogTest {
 protected:
  void UseFiftyTwo() {
    std::strcpy(IniSettings.DATADIRECTORY, previewtest::FiftyTwoPictureSet().c_str());
    QuarterImageCount = 0;
    if (!QuarterImageCacheExists()) {
      ASSERT_TRUE(BuildQuarterImageCache(nullptr));
    }
  }
  // A cold opening: nothing of the set loaded yet.
  void Forget() {
    DeleteImageDescs(&ImageDescArray);
    QuarterImageCount = 0;
    delete ScreenBackgroundDIB;
    ScreenBackgroundDIB = nullptr;
    SelectedImageNo = -1;
  }
  // Opens the dialog cold `times` times and prints the mean WM_INITDIALOG time, then opens it
  // once more and prints the mean time of `clicks` clicks alternating between two radios.
  void Measure(const char* name, int templateId, DLGPROC procedure, int a, int b, int clicks,
               const std::function<void(Driver&)>& before = nullptr) {
    timedProcedure = procedure;
    double total = 0;
    const int times = 5;
    for (int i = 0; i < times; ++i) {
      Forget();
      Run(templateId, Timed, [](Driver& d) { d.Click(IDCANCEL); });
      total += initMs;
    }
    double clickMs = 0;
    Forget();
    Run(templateId, Timed, [&](Driver& d) {
      if (before) before(d);
      d.Click(b);
      const double start = Now();
      for (int i = 0; i < clicks; ++i) d.Click(i % 2 ? b : a);
      clickMs = (Now() - start) / clicks;
      d.Click(IDCANCEL);
    });
    const ScreenSize screen = GetScreenSize();
    std::printf("%s at %dx%d, %d pictures: open %.1f ms (mean of %d), preview per click %.1f ms\n",
                name, screen.cx, screen.cy, ImageDescArray.GetSize(), total / times, times,
                clickMs);
  }
};

TEST_F(PreviewDialogTimes, DISABLED_OpenAndRebuild) {
  UseFiftyTwo();
  for (const ScreenSize size : {ScreenSize{1024, 768}, ScreenSize{1920, 1080}}) {
    const ScopedScreenSize screen(size.cx, size.cy);
    std::strcpy(IniSettings.WALLPAPER_IMAGEFX, "0");
    std::strcpy(IniSettings.WALLPAPER_IMAGESIZE, "1");
    Measure("wallpaper full scale", IDD_WALLPAPER, WallpaperDlgProc, IDC_SCREENBLACK,
            IDC_SCREENWHITE, 10);
    std::strcpy(IniSettings.WALLPAPER_IMAGEFX, "1");
    Measure("wallpaper tile", IDD_WALLPAPER, WallpaperDlgProc, IDC_SCREENBLACK, IDC_SCREENWHITE, 10,
            [](Driver& d) {
              d.OnDialogThread([] {
                std::printf("  tile cells: %d\n",
                            static_cast<int>(WallpaperLayoutRects.GetCount()));
              });
            });
    std::strcpy(IniSettings.IMAGE_SIZE, "1");
    Measure("scaling/border", IDD_SCALINGBORDER, ScalingBorderDlgProc, IDC_BACKBLACK, IDC_BACKWHITE,
            10);
    FreeWallpaperBitmaps();
  }
}

}  // namespace
