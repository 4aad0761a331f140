// The wallpaper composer over list boxes and the full-screen wallpaper preview under Wine's null
// display driver, on a small demo set. The preview's owner stands in for the wallpaper dialog:
// a window with the hidden picture list (child 1029) that records WM_FULLSCREEN_CLOSE.
//
// Every alert is recorded; one that a test does not expect fails it with the alert's text.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/ControlsViews.h"
#include "controls/OwnImagesDialog.h"
#include "controls/TitleLists.h"
#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/Descriptors.h"
#include "imaging/FolderPath.h"
#include "imaging/QuarterCache.h"
#include "platform/ScreenSaver.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "seams/ScreenSize.h"
#include "settings/IniSettings.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tests/wine/controls/DemoSets.h"
#include "tests/wine/controls/ViewerOwner.h"
#include "tests/wine/support/GdiHeadroom.h"
#include "tests/wine/support/WindowTesting.h"
#include "tests/wine/wallpaper/WallpaperTesting.h"
#include "wallpaper/WallpaperComposer.h"
#include "wallpaper/WallpaperPreview.h"

namespace {

namespace fs = std::filesystem;

constexpr int kJpegRecord = 11;  // the demo set's last picture is a JPEG record

std::vector<viewertest::Close>& closes = viewertest::Closes();

using dialogtest::CachedSet;
using dialogtest::CopyOfSet;

class WallpaperPreview : public testing::Test {
 protected:
  void SetUp() override {
    controltest::RegisterControls();
    static const bool viewerClass = RegisterFullScreenWallpaperWnd();
    ASSERT_TRUE(viewerClass);
    UseSet(CachedSet());
    WallpaperSettings = WallpaperSettingsValues{};
    WallpaperSettings.WALLPAPER_SCREENSTYLE = 2;
    WallpaperSettings.WALLPAPER_BORDERSTYLE = 6;
    OwnImagesMode = 0;
    closes.clear();
    owner_ = viewertest::NewOwner();
    ASSERT_NE(owner_, nullptr);
    list_ = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_SORT | LBS_NOTIFY, 0, 0, 0, 0, owner_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_WALLPAPERIMAGELIST)),
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(list_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(owner_);  // takes the preview with it
    EXPECT_EQ(Preview(), nullptr);
    wallpapertest::ResetWallpaperState();
    wallpapertest::FailOnAlerts(alerts_);
  }

  void UseSet(const std::string& folder) {
    DeleteImageDescs(&ImageDescArray);
    QuarterImageCount = 0;
    std::strcpy(IniSettings.DATADIRECTORY, folder.c_str());
    ASSERT_TRUE(EnsureImageDescArray(&ImageDescArray));
  }
  // The hidden list as the dialog fills it: the titles in title order.
  void FillTitles() {
    ASSERT_EQ(FillImageTitleList(&ImageDescArray, list_), 1);
    SortImageTitleList(list_);
  }
  void FillNames(const std::vector<const char*>& names) {
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    for (const char* name : names)
      SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  // The picture number of a line of the list (its item data is the picture's record).
  int NumberAt(int line) const {
    const auto* desc =
        reinterpret_cast<const CObject*>(SendMessageA(list_, LB_GETITEMDATA, line, 0));
    for (int i = 0; i < ImageDescArray.GetSize(); ++i)
      if (ImageDescArray.GetAt(i) == desc) return i;
    return -1;
  }

  HWND Open(int layout, int number) {
    WallpaperSettings.WALLPAPER_IMAGEFX = layout;
    WallpaperSettings.WALLPAPER_IMAGENO = number;
    EXPECT_TRUE(BuildWallpaperBackground());
    EXPECT_TRUE(CreateFullScreenWallpaperWnd(owner_));
    return Preview();
  }
  static HWND Preview() { return FindWindowA(kFullScreenWallpaperClass, nullptr); }
  static CRDIBCtl* View() {
    return static_cast<CRDIBCtl*>(
        CWnd::FromHandlePermanent(GetDlgItem(Preview(), kWallpaperPreviewImageId)));
  }
  static void Key(UINT key) { SendMessageA(Preview(), WM_KEYDOWN, key, 0); }
  // Takes the alerts a test expects, so that TearDown finds only the unexpected ones.
  std::vector<std::string> TakeAlerts() {
    std::vector<std::string> texts;
    for (const seams::AlertRecord& alert : alerts_.Records()) texts.push_back(alert.text);
    alerts_.Clear();
    return texts;
  }

  seams::ScopedAlertRecorder alerts_;
  HWND owner_ = nullptr;
  HWND list_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// The composer's builders over list boxes.

TEST_F(WallpaperPreview, AnOrderListLackingTheNextNumberFailsAndClosesTheCache) {
  FillTitles();
  WallpaperSettings.WALLPAPER_IMAGEFX = kWallpaperUniform;
  ASSERT_TRUE(BuildWallpaperBackground());
  ASSERT_TRUE(BuildImageSetWallpaperDIB(&WallpaperLayoutRects, 0, list_));
  ASSERT_NE(ComposedWallpaperDIB(), nullptr);
  // The list without picture 0's line: its successor cannot be found.
  const int line = FindImageInList(&ImageDescArray, list_, 0);
  ASSERT_GE(line, 0);
  SendMessageA(list_, LB_DELETESTRING, static_cast<WPARAM>(line), 0);
  EXPECT_FALSE(BuildImageSetWallpaperDIB(&WallpaperLayoutRects, 0, list_));
  EXPECT_EQ(ComposedWallpaperDIB(), nullptr);
  // Without an order list the pictures follow their numbers.
  EXPECT_TRUE(BuildImageSetWallpaperDIB(&WallpaperLayoutRects, 0, nullptr));
  // The cache is closed whatever happened: a copy of the set can have it deleted.
  testsupport::TempFolder folder("wallpaperset");
  const std::string copy = CopyOfSet(folder);
  UseSet(copy);
  EXPECT_FALSE(BuildImageSetWallpaperDIB(&WallpaperLayoutRects, 0, list_));
  EXPECT_TRUE(DeleteFileA(JoinFolderPath(copy.c_str(), kQuarterCacheFileName))) << GetLastError();
}

TEST_F(WallpaperPreview, OwnImagesFromTheListWithTextFilesAndMissingPictures) {
  testsupport::TempFolder own("ownwallpaper");
  std::strcpy(IniSettings.OWNIMAGES_DIR, own.str().c_str());
  CDIB picture;
  ASSERT_TRUE(picture.Create24(300, 200));
  ASSERT_TRUE(picture.Save(JoinFolderPath(own.str().c_str(), "a.bmp")));
  std::ofstream((own / "notes.txt").string()) << "text";
  WallpaperSettings.WALLPAPER_IMAGEFX = kWallpaperOwnUniform;
  ASSERT_TRUE(BuildWallpaperBackground());
  EXPECT_FALSE(BuildOwnImagesWallpaperDIB(&WallpaperLayoutRects, 0, list_)) << "an empty list";
  FillNames({"a.bmp", "gone.jpg", "notes.txt"});
  for (int position : {-1, 0, 2, 3}) {
    SCOPED_TRACE("position " + std::to_string(position));
    EXPECT_TRUE(BuildOwnImagesWallpaperDIB(&WallpaperLayoutRects, position, list_));
    EXPECT_EQ(ComposedWallpaperDIB(), Wallpaper24DIB);
  }
}

TEST_F(WallpaperPreview, FullScaleOfAJpegRecordIsWrittenAndInstalledAt24Bits) {
  WallpaperSettings.WALLPAPER_IMAGEFX = kWallpaperFullScale;
  ASSERT_TRUE(BuildWallpaperBackground());
  CDIB* image = CreateFullScreenImage(nullptr, nullptr, &ImageDescArray, kJpegRecord, 0, 0);
  ASSERT_NE(image, nullptr);
  CDIB* composed = ComposeFullScaleWallpaper(&image, WallpaperBackgroundDIB);
  ASSERT_NE(composed, nullptr);
  EXPECT_TRUE(SaveAndInstallWallpaper(composed, "Alert"));
  if (composed != image) delete composed;
  delete image;

  char installed[MAX_PATH] = {};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof installed, installed, 0));
  EXPECT_STREQ(installed, WallpaperFilePath());
  CDIB written;
  ASSERT_TRUE(written.Load(WallpaperFilePath()));
  const ScreenSize screen = GetScreenSize();
  EXPECT_EQ(written.header->bmiHeader.biBitCount, 24);
  EXPECT_EQ(written.GetWidth(), screen.cx);
  EXPECT_EQ(written.GetHeight(), screen.cy);
}

// ---------------------------------------------------------------------------------------------
// The preview.

TEST_F(WallpaperPreview, ArrowsWalkTheTitleOrderAndWrap) {
  FillTitles();
  const int count = ImageDescArray.GetSize();
  const int first = NumberAt(0), last = NumberAt(count - 1), second = NumberAt(1);
  for (int layout : {kWallpaperFullScale, kWallpaperTile}) {
    SCOPED_TRACE("layout " + std::to_string(layout));
    ASSERT_NE(Open(layout, last), nullptr);
    ASSERT_NE(View()->image, nullptr);
    Key(VK_RIGHT);
    EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGENO, first);
    Key(VK_DOWN);
    EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGENO, second);
    Key(VK_UP);
    Key(VK_LEFT);
    EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGENO, last);
    EXPECT_EQ(View()->image->GetWidth(), GetScreenSize().cx);
    DestroyWindow(Preview());
  }
  EXPECT_TRUE(closes.empty()) << "arrows do not close";
}

TEST_F(WallpaperPreview, AnyOtherKeyReportsThePictureAndCloses) {
  FillTitles();
  struct Case {
    UINT message;
    WPARAM key;
  };
  const Case cases[] = {
      {WM_KEYDOWN, VK_ESCAPE}, {WM_KEYDOWN, 'A'}, {WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYUP, VK_F4}};
  for (const Case& c : cases) {
    SCOPED_TRACE("message " + std::to_string(c.message) + " key " + std::to_string(c.key));
    closes.clear();
    HWND preview = Open(kWallpaperUniform, 3);
    ASSERT_NE(preview, nullptr);
    Key(VK_RIGHT);
    const int shown = WallpaperSettings.WALLPAPER_IMAGENO;
    SendMessageA(preview, c.message, c.key, 0);
    EXPECT_FALSE(IsWindow(preview));
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_EQ(static_cast<int>(closes[0].number), shown);
    EXPECT_EQ(closes[0].window, reinterpret_cast<LPARAM>(preview));
  }
}

TEST_F(WallpaperPreview, ASecondClickWhileOpenOpensNoSecondPreview) {
  FillTitles();
  HWND first = Open(kWallpaperUniform, 3);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(CreateFullScreenWallpaperWnd(owner_)) << "one preview at a time";
  EXPECT_EQ(wintest::CountWindowsOfClass(kFullScreenWallpaperClass), 1);
  EXPECT_EQ(Preview(), first);
  Key(VK_ESCAPE);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(closes.size(), 1u) << "one preview, one report";
  EXPECT_EQ(wintest::CountWindowsOfClass(kFullScreenWallpaperClass), 0);
  HWND again = Open(kWallpaperUniform, 3);
  EXPECT_NE(again, nullptr) << "a closed preview opens again";
  EXPECT_EQ(wintest::CountWindowsOfClass(kFullScreenWallpaperClass), 1);
}

TEST_F(WallpaperPreview, OwnImagesWithAnEmptyListIgnoreTheArrows) {
  testsupport::TempFolder own("emptyown");
  std::strcpy(IniSettings.OWNIMAGES_DIR, own.str().c_str());
  OwnImagesMode = 1;
  ASSERT_NE(Open(kWallpaperOwnUniform, 2), nullptr);
  for (UINT key : {VK_RIGHT, VK_LEFT, VK_DOWN}) Key(key);
  EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGENO, 2);
  EXPECT_EQ(SetFullScreenWallpaperDIBCtl(Preview()), 0) << "nothing composed, nothing shown";
  Key(VK_ESCAPE);
  EXPECT_EQ(Preview(), nullptr);
}

TEST_F(WallpaperPreview, APictureNotInTheListKeepsItsNumber) {
  FillTitles();
  const int line = FindImageInList(&ImageDescArray, list_, 4);
  SendMessageA(list_, LB_DELETESTRING, static_cast<WPARAM>(line), 0);
  ASSERT_NE(Open(kWallpaperFullScale, 4), nullptr);
  Key(VK_RIGHT);
  EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGENO, 4);
}

TEST_F(WallpaperPreview, ALargerPictureShowsItsCentreCutToTheScreen) {
  WallpaperSettings.WALLPAPER_IMAGESIZE = 6;  // 1600 x 1200 on the 1024 x 768 screen
  ASSERT_NE(Open(kWallpaperFullScale, 2), nullptr);
  ASSERT_NE(WallpaperImageDIB, nullptr);
  ASSERT_EQ(WallpaperImageDIB->GetWidth(), 1600);
  const CDIB* shown = View()->image;
  ASSERT_NE(shown, nullptr);
  const ScreenSize screen = GetScreenSize();
  ASSERT_EQ(shown->GetWidth(), screen.cx);
  const int dx = (1600 - screen.cx) / 2, dy = (1200 - screen.cy) / 2;
  for (const POINT p : {POINT{0, 0}, POINT{screen.cx - 1, screen.cy - 1}, POINT{400, 300}}) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    EXPECT_EQ(controltest::PixelOf(*shown, p.x, p.y),
              controltest::PixelOf(*WallpaperImageDIB, p.x + dx, p.y + dy));
  }
}

TEST_F(WallpaperPreview, ACorruptRecordShowsTheDecodersMessageAndNothingElse) {
  testsupport::TempFolder folder("corruptset");
  const std::string copy = CopyOfSet(folder);
  UseSet(copy);
  const auto* desc = static_cast<const CImageDesc*>(ImageDescArray.GetAt(kJpegRecord));
  {
    std::fstream data((fs::path(copy) / "imfull.dat").string(),
                      std::ios::in | std::ios::out | std::ios::binary);
    data.seekp(desc->dataOffset);
    data.write("garbage!", 8);
  }
  ASSERT_NE(Open(kWallpaperFullScale, kJpegRecord), nullptr);
  EXPECT_EQ(WallpaperImageDIB, nullptr);
  EXPECT_EQ(View()->image, nullptr);
  // The decoder's steps each say what failed; the last word is the loader's.
  std::vector<std::string> alerts = TakeAlerts();
  ASSERT_FALSE(alerts.empty());
  EXPECT_EQ(alerts.back(), "Unable to load image");
  EXPECT_EQ(HandleLoadingFullscreenWallpaper(Preview(), 0, kJpegRecord), 0);
  alerts = TakeAlerts();
  ASSERT_FALSE(alerts.empty());
  EXPECT_EQ(alerts.back(), "Unable to load image");
  Key(VK_ESCAPE);
}

TEST_F(WallpaperPreview, WithoutTheLoadingTemplateThePictureStillDecodes) {
  HINSTANCE saved = hMainInstance;
  hMainInstance = GetModuleHandleA("kernel32.dll");  // a module without template 2008
  const BOOL loaded = HandleLoadingFullscreenWallpaper(owner_, 1, 1);
  hMainInstance = saved;
  EXPECT_EQ(loaded, 1);
  EXPECT_NE(WallpaperImageDIB, nullptr);
}

TEST_F(WallpaperPreview, TheLoadingWindowSaysSoAndCentresOnTheDesktopWithoutAParent) {
  HWND loading = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LOADINGIMAGE),
                                    nullptr, LoadingImageDlgProc, 0);
  ASSERT_NE(loading, nullptr);
  char text[64] = {};
  GetDlgItemTextA(loading, IDC_LOADINGTEXT, text, sizeof text);
  EXPECT_STREQ(text, "Loading Image...");
  EXPECT_NE(GetDlgItem(loading, IDC_PROGRESSFRAME), nullptr);
  RECT rect, desktop;
  GetWindowRect(loading, &rect);
  GetWindowRect(GetDesktopWindow(), &desktop);
  EXPECT_NEAR((rect.left + rect.right) / 2, (desktop.left + desktop.right) / 2, 1);
  EXPECT_NEAR((rect.top + rect.bottom) / 2, (desktop.top + desktop.bottom) / 2, 1);
  DestroyWindow(loading);
}

// Twenty cycles, alternately the full-scale layout (with its loading window) and a grid.
TEST_F(WallpaperPreview, OpeningAndClosingTwentyTimesLeavesNoGdiObjectBehind) {
  FillTitles();
  const int layouts[] = {kWallpaperFullScale, kWallpaperMixed};
  for (int layout : layouts) {  // Wine makes a few objects once, on the first decodes
    Open(layout, 0);
    Key(VK_RIGHT);
    Key(VK_LEFT);
    Key(VK_ESCAPE);
  }
  const int before = wintest::FreeGdiHandles();
  for (int i = 0; i < 20; ++i) {
    ASSERT_NE(Open(layouts[i % 2], i % ImageDescArray.GetSize()), nullptr);
    Key(i % 4 < 2 ? VK_RIGHT : VK_LEFT);
    Key(VK_ESCAPE);
  }
  EXPECT_EQ(wintest::FreeGdiHandles(), before);
}

}  // namespace
