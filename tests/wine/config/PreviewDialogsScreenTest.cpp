// The wallpaper and scaling/border dialogs on a real X display, for looking at: each is saved as
// dialogs-wallpaper.bmp and dialogs-scaling.bmp in the folder named by SAVER_SCREENSHOT_DIR (a
// Windows path), when set. The mini preview on the screen must be exactly the picture the preview
// composed (so the right way up and in its colours), 160 x 120 pixels, with grey corners.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "config/ScalingBorderDialog.h"
#include "config/WallpaperDialog.h"
#include "controls/ControlsViews.h"
#include "controls/DialogSupport.h"
#include "imaging/DIB.h"
#include "res/DialogIds.h"
#include "tests/wine/config/PreviewDialogFixture.h"
#include "tests/wine/platform/ScreenCapture.h"

namespace {

void Pump() {
  MSG message;
  for (int i = 0; i < 25; ++i) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(20);
  }
}

class PreviewDialogsOnScreen : public previewtest::PreviewDialogTest {
 protected:
  // Opens the dialog modeless, shows it, saves the screen and checks its preview against what
  // the preview control composed.
  void ShootAndCheck(int templateId, DLGPROC procedure, const char* name) {
    HWND dialog =
        CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(templateId), nullptr, procedure, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    Pump();
    const ScreenCapture shot = ScreenCapture::Take();
    ASSERT_FALSE(shot.Empty());
    if (const char* folder = std::getenv("SAVER_SCREENSHOT_DIR"))
      shot.SaveBmp((std::string(folder) + "\\dialogs-" + name + ".bmp").c_str());
    HWND control = GetDlgItem(dialog, IDC_MINIPREVIEW);
    RECT box;
    GetWindowRect(control, &box);
    EXPECT_EQ(box.right - box.left, 160);
    EXPECT_EQ(box.bottom - box.top, 120);
    auto* view = static_cast<CRDIBCtl*>(CWnd::FromHandlePermanent(control));
    ASSERT_TRUE(view && view->image);
    const previewtest::Pixels composed = previewtest::PixelsOf(*view->image);
    ASSERT_EQ(composed.width, 160);
    int differing = 0;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 160; ++x)
        differing += shot.At(box.left + x, box.top + y) != composed.At(x, y);
    EXPECT_EQ(differing, 0) << "the screen shows what the preview composed";
    EXPECT_TRUE(previewtest::IsGrey(shot.At(box.left + 1, box.top + 1)));
    EXPECT_TRUE(previewtest::IsGrey(shot.At(box.right - 2, box.bottom - 2)));
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    DestroyWindow(dialog);
  }
};

TEST_F(PreviewDialogsOnScreen, Wallpaper) {
  std::strcpy(IniSettings.WALLPAPER_IMAGESIZE, "2");
  std::strcpy(IniSettings.WALLPAPER_IMAGETONE, "30");
  ShootAndCheck(IDD_WALLPAPER, WallpaperDlgProc, "wallpaper");
}

TEST_F(PreviewDialogsOnScreen, ScalingAndBorder) {
  std::strcpy(IniSettings.IMAGE_SIZE, "1");
  std::strcpy(IniSettings.IMAGE_BACKSTYLE, "1");
  ShootAndCheck(IDD_SCALINGBORDER, ScalingBorderDlgProc, "scaling");
}

}  // namespace
