// The image browser, the full-screen image viewer and the top-ten dialog on a real X display,
// for looking at. Each is saved as dialogs-<name>.bmp in the folder named by
// SAVER_SCREENSHOT_DIR (a Windows path), when set.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "config/ImageBrowser.h"
#include "config/TopTenDialog.h"
#include "controls/DialogSupport.h"
#include "controls/SelectedImage.h"
#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "res/DialogIds.h"
#include "saver/DrawingThread.h"
#include "seams/Alerts.h"
#include "settings/IniSettings.h"
#include "tests/wine/config/BrowserTesting.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tests/wine/platform/ScreenCapture.h"
#include "tools/demo/DemoImageSet.h"

namespace {

ScreenCapture Shot(const char* name) {
  ScreenCapture shot = TakeDialogsShot(name);
  EXPECT_FALSE(shot.Empty());
  return shot;
}

wintest::Image Pixels(const ScreenCapture& shot) {
  wintest::Image pixels;
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x)
      pixels.push_back(browsertest::AsImagePixel(shot.At(x, y)));
  return pixels;
}

// A demo set at 640 x 480, so that its cached pictures have the preview's 160 x 120; made once.
const std::string& FullSizeSet() {
  static testsupport::TempFolder parent("fullsizeset");
  static const std::string folder = [] {
    EXPECT_EQ(demoset::BuildDemoImageSet(parent.str(), demoset::Options{}), "");
    const std::string data = (parent / demoset::kDataFolderName).string();
    std::strcpy(IniSettings.DATADIRECTORY, data.c_str());
    BuildQuarterImageCache(nullptr);
    return data;
  }();
  return folder;
}

class BrowserOnScreen : public testing::Test {
 protected:
  void SetUp() override {
    controltest::RegisterControls();
    ASSERT_TRUE(RegisterFullScreenImageWnd());
    browsertest::UseSet(FullSizeSet());
    ImageSettings = ImageSetSettings{};
    SelectedImageNo = -1;
  }
  void TearDown() override {
    browsertest::ResetImageState();
    browsertest::FailOnAlerts(alerts_);
  }
  seams::ScopedAlertRecorder alerts_;
};

TEST_F(BrowserOnScreen, TheBrowserAndItsViewer) {
  HWND dialog = CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(IDD_IMAGEBROWSER), nullptr,
                                   ImageSearchDlgProc, 0);
  ASSERT_NE(dialog, nullptr);
  ShowWindow(dialog, SW_SHOW);
  Shot("browser");

  // The viewer at 640 x 480 on the background: exactly the composition of the same inputs.
  ImageSettings.IMAGE_SIZE = 1;
  SendMessageA(dialog, WM_COMMAND, IDC_FULLSCREENIMAGE, 0);
  HWND viewer = FindWindowA(kFullScreenImageClass, nullptr);
  ASSERT_NE(viewer, nullptr);
  const ScreenCapture full = Shot("imageviewer");
  std::unique_ptr<CDIB> picture(
      CreateFullScreenImage(nullptr, nullptr, &ImageDescArray, SelectedImageNo, 1, 0));
  ASSERT_NE(picture, nullptr);
  ASSERT_NE(ScreenBackgroundDIB, nullptr);
  ASSERT_EQ(full.Width(), ScreenBackgroundDIB->GetWidth());
  EXPECT_EQ(wintest::Differences(Pixels(full),
                                 browsertest::ExpectedScreen(*ScreenBackgroundDIB, *picture)),
            0u);
  EXPECT_TRUE(browsertest::IsGrey(browsertest::AsImagePixel(full.At(2, 2))));
  SendMessageA(viewer, WM_KEYDOWN, VK_ESCAPE, 0);
  DestroyWindow(dialog);
}

TEST_F(BrowserOnScreen, TheTopTenDialog) {
  std::strcpy(IniSettings.TOPTEN_PLAYLIST, "3,8,1");
  HWND dialog =
      CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(IDD_TOPTEN), nullptr, TopTenDlgProc, 0);
  ASSERT_NE(dialog, nullptr);
  ShowWindow(dialog, SW_SHOW);
  Shot("topten");
  EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_TOPTENLIST, LB_GETCOUNT, 0, 0), 3);
  DestroyWindow(dialog);
  std::memset(IniSettings.TOPTEN_PLAYLIST, 0, sizeof IniSettings.TOPTEN_PLAYLIST);
}

}  // namespace
