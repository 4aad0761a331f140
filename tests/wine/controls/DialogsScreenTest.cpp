// The dialogs on a real X display, for looking at: the thumbnail cache window with its progress
// bar, image-set selection, the own-images dialog and its full-screen viewer. Each is saved as
// dialogs-<name>.bmp in the folder named by SAVER_SCREENSHOT_DIR (a Windows path), when set.
//
// The own-images folder holds one marked picture, red at the top and blue at the bottom, so that
// a picture shown upside down or in another colour table fails here.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "controls/DialogSupport.h"
#include "controls/ImageSetDialog.h"
#include "controls/OwnImagesDialog.h"
#include "controls/ThumbnailDialog.h"
#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/DIB.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "seams/Registry.h"
#include "settings/IniSettings.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tests/wine/controls/DemoSets.h"
#include "tests/wine/platform/ScreenCapture.h"

namespace {

ScreenCapture Shot(const char* name) {
  ScreenCapture shot = TakeDialogsShot(name);
  EXPECT_FALSE(shot.Empty());
  return shot;
}

// A 24-bit picture: red in its top half, blue in its bottom half.
void WriteMarkedPicture(const std::string& path) {
  CDIB dib;
  ASSERT_TRUE(dib.Create24(300, 200));
  for (int row = 0; row < 200; ++row) {  // row 0 is the bottom row
    BYTE* p = dib.bits + static_cast<size_t>(row) * dib.GetStorageWidth();
    for (int x = 0; x < 300; ++x, p += 3) {
      const bool top = row >= 100;
      p[0] = top ? 0 : 255;
      p[1] = 0;
      p[2] = top ? 255 : 0;
    }
  }
  ASSERT_TRUE(dib.Save(path.c_str()));
}

// The first rows, from the top, of pure red and of pure blue in a column; -1 when none.
void FindMarks(const ScreenCapture& shot, int x, int top, int bottom, int* red, int* blue) {
  *red = *blue = -1;
  for (int y = top; y < bottom; ++y) {
    const COLORREF c = shot.At(x, y);
    if (c == RGB(255, 0, 0) && *red < 0) *red = y;
    if (c == RGB(0, 0, 255) && *blue < 0) *blue = y;
  }
}

std::string SettingsKey() {
  CString path;
  BuildRegistryKeyPath(path);
  return static_cast<const char*>(path);
}

class DialogsOnScreen : public testing::Test {
 protected:
  void SetUp() override {
    controltest::RegisterControls();
    static const bool viewerClass = RegisterFullScreenOwnImageWnd();
    ASSERT_TRUE(viewerClass);
    const auto& sets = dialogtest::InstalledSets();
    registry_.Put("SOFTWARE\\KLV\\IMAGESET\\Demo Set", "DATADIRECTORY", sets.beta);
    registry_.Put("SOFTWARE\\KLV\\IMAGESET\\Second Demo", "DATADIRECTORY", sets.alpha);
    registry_.Put(SettingsKey(), "OWNIMAGES_LASTIMAGENO", "0");
    std::memset(&IniSettings, 0, sizeof IniSettings);
    std::strcpy(IniSettings.IMAGESETKEY, "SOFTWARE\\KLV\\IMAGESET\\Demo Set");
    std::strcpy(IniSettings.DATADIRECTORY, sets.beta.c_str());
    std::strcpy(IniSettings.OWNIMAGES_DIR, own_.str().c_str());
    WriteMarkedPicture((own_ / "Marked.bmp").string());
    SelectedOwnImageNo = 0;
  }
  void TearDown() override { DeleteImageDescs(&ImageDescArray); }

  testsupport::TempFolder own_{"screenown"};
  seams::MemoryRegistry registry_;
  seams::ScopedRegistry scoped_{&registry_};
  seams::ScopedAlertRecorder alerts_;
};

TEST_F(DialogsOnScreen, TheThumbnailWindowShowsItsTextAndProgress) {
  HWND window = CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(IDD_LOADIMAGES), nullptr,
                                   LoadImagesDlgProc, 0);
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  // The bar as the cache build places it, half way.
  RunWithProgressBar(DialogInstance(), GetDlgItem(window, IDC_PROGRESSFRAME), [](HWND bar) {
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 12));
    SendMessageA(bar, PBM_SETPOS, 6, 0);
    Shot("thumbnails");
  });
  DestroyWindow(window);
}

TEST_F(DialogsOnScreen, ImageSetSelection) {
  HWND dialog = CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(IDD_IMAGESET), nullptr,
                                   ImageSetDlgProc, 0);
  ASSERT_NE(dialog, nullptr);
  const ScreenCapture shot = Shot("imageset");
  RECT face;
  GetWindowRect(GetDlgItem(dialog, IDC_IMAGESETCOVER), &face);
  // The cover view's corner is its light grey background (the cover is fitted in the middle).
  EXPECT_EQ(shot.At(face.left + 1, face.top + 1), RGB(192, 192, 192));
  DestroyWindow(dialog);
  EXPECT_TRUE(alerts_.Records().empty());
}

TEST_F(DialogsOnScreen, OwnImagesAndTheirViewer) {
  HWND dialog = CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(IDD_OWNIMAGES), nullptr,
                                   OwnImageSearchDlgProc, 0);
  ASSERT_NE(dialog, nullptr);
  ShowWindow(dialog, SW_SHOW);
  const ScreenCapture shot = Shot("ownimages");
  RECT preview;
  GetWindowRect(GetDlgItem(dialog, IDC_OWNIMAGEPREVIEW), &preview);
  int red, blue;
  FindMarks(shot, (preview.left + preview.right) / 2, preview.top, preview.bottom, &red, &blue);
  EXPECT_GE(red, 0) << "the preview shows the picture's red";
  EXPECT_GT(blue, red) << "the preview shows the picture the right way up";

  SendMessageA(dialog, WM_COMMAND, IDC_FULLSCREENIMAGE, 0);
  ASSERT_NE(FullScreenOwnImageWnd(), nullptr);
  const ScreenCapture full = Shot("viewer");
  FindMarks(full, full.Width() / 2, 0, full.Height(), &red, &blue);
  EXPECT_GE(red, 0) << "the viewer shows the picture's red";
  EXPECT_GT(blue, red) << "the viewer shows the picture the right way up";
  SendMessageA(FullScreenOwnImageWnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  DestroyWindow(dialog);
}

}  // namespace
