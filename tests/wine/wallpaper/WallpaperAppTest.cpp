// The wallpaper program's application object and about box, in-process.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "settings/IniSettings.h"
#include "tests/wine/wallpaper/WallpaperFixture.h"
#include "wallpaper/WallpaperApp.h"

namespace wallpapertest {
namespace {

BOOL CALLBACK CountDialog(HWND window, LPARAM counter) {
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) == "#32770") ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

// The dialog windows (#32770) of this thread.
int ThreadDialogs() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountDialog, reinterpret_cast<LPARAM>(&count));
  return count;
}

using WallpaperApp = WallpaperTest;

TEST_F(WallpaperApp, StartUpdatesOnceAndLeavesNoWindow) {
  SetWallpaperValue(kWallpaperImageNoValue, "4");
  CWallpaperApp app;
  ASSERT_TRUE(app.Start());
  EXPECT_EQ(AlertTexts(), "");
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  EXPECT_EQ(ThreadDialogs(), 0) << "the hidden dialog was not destroyed";
  EXPECT_NE(WallpaperValue(kWallpaperImageNoValue), "4");
  EXPECT_EQ(DesktopWallpaper(), WallpaperFile());
  EXPECT_EQ(app.Run(), 0) << "no main window: the program ends";
}

TEST_F(WallpaperApp, AFailedUpdateStillEndsNormally) {
  ASSERT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, WallpaperKeyPath().c_str()), 0);
  CWallpaperApp app;
  EXPECT_TRUE(app.Start());
  EXPECT_EQ(AlertTexts(), "Alert - Murafit: Unable to read wallpaper registry values\n");
  EXPECT_EQ(ThreadDialogs(), 0);
}

std::string aboutTexts;

// Reads the about box's caption and texts, then presses its OK button.
void CALLBACK ReadAndCloseAbout(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND about = FindWindowA(nullptr, "About murafit");
  if (!about) return;  // not up yet
  KillTimer(nullptr, timer);
  for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      if (SendMessageA(child, STM_GETICON, 0, 0)) aboutTexts += "(icon)|";
      continue;
    }
    char text[128] = "";
    GetWindowTextA(child, text, sizeof text);
    if (text[0]) aboutTexts += std::string(text) + "|";
  }
  SendMessageA(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
}

TEST_F(WallpaperApp, AboutCommandShowsTheAboutBox) {
  CWallpaperApp app;
  aboutTexts.clear();
  ASSERT_NE(SetTimer(nullptr, 0, 10, ReadAndCloseAbout), 0u);
  EXPECT_TRUE(app.OnCmdMsg(ID_APP_ABOUT));
  EXPECT_EQ(aboutTexts, "(icon)|murafit Version 1.0|OK|");
  for (UINT command : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_PRINT_SETUP})
    EXPECT_TRUE(app.OnCmdMsg(command)) << command;
  EXPECT_EQ(ThreadDialogs(), 0);
}

}  // namespace
}  // namespace wallpapertest
