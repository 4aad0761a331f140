// The wallpaper program's two windows on a real X display, for looking at: the thumbnail cache
// window (shown while the cache is built) and the about box. Each is saved as
// murafit-<name>.bmp in the folder named by SAVER_SCREENSHOT_DIR (a Windows path), when set.
#include <windows.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "controls/DialogSupport.h"
#include "tests/wine/platform/ScreenCapture.h"
#include "wallpaper/MurafitResources.h"
#include "wallpaper/WallpaperApp.h"
#include "wallpaper/WallpaperDlg.h"

namespace {

ScreenCapture Shot(const char* name) {
  MSG message;
  for (int i = 0; i < 25; ++i) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(20);
  }
  ScreenCapture shot = ScreenCapture::Take();
  EXPECT_FALSE(shot.Empty());
  if (const char* folder = std::getenv("SAVER_SCREENSHOT_DIR"))
    shot.SaveBmp((std::string(folder) + "\\murafit-" + name + ".bmp").c_str());
  return shot;
}

// The window is centred on the screen, and the screen inside it is not all one colour.
void ExpectCentredAndDrawn(HWND window, const ScreenCapture& shot) {
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_LE(std::abs((r.left + r.right) / 2 - shot.Width() / 2), 1);
  EXPECT_LE(std::abs((r.top + r.bottom) / 2 - shot.Height() / 2), 1);
  int differing = 0;
  const COLORREF first = shot.At(r.left + 4, r.top + 4);
  for (int y = r.top + 2; y < r.bottom - 2; y += 2)
    for (int x = r.left + 2; x < r.right - 2; x += 2) differing += shot.At(x, y) != first;
  EXPECT_GT(differing, 50) << "nothing drawn in the window";
}

TEST(WallpaperScreen, ThumbnailCacheWindowCentredOnTheDesktop) {
  // Its parent is the hidden dialog, placed at the top-left; the window still sits in the middle.
  CWallpaperDlg hidden;
  ASSERT_NE(hidden.GetSafeHwnd(), nullptr);
  HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LOADIMAGES),
                                   hidden.GetSafeHwnd(), MurafitLoadImagesDlgProc, 0);
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  char text[64] = "";
  GetDlgItemTextA(window, IDC_LOADINGTEXT, text, sizeof text);
  EXPECT_STREQ(text, "Murafit - Creating thumbnail images...");
  ExpectCentredAndDrawn(window, Shot("thumbnails"));
  DestroyWindow(window);
}

TEST(WallpaperScreen, AboutBox) {
  CAboutDlg about;
  ASSERT_TRUE(about.Create(IDD_ABOUTBOX));
  HWND window = about.GetSafeHwnd();
  CentreOver(window, GetDesktopWindow());
  ShowWindow(window, SW_SHOWNORMAL);
  ExpectCentredAndDrawn(window, Shot("about"));
}

}  // namespace
