// The own-images dialog and its full-screen viewer under Wine's null display driver, made from
// their template and class and driven by messages; the real folder chooser is driven once from a
// second thread.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "controls/ControlsViews.h"
#include "controls/DialogSupport.h"
#include "controls/OwnImagesDialog.h"
#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/DIB.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "seams/Registry.h"
#include "seams/ScreenSize.h"
#include "settings/IniSettings.h"
#include "tests/support/JpegEncode.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tests/wine/controls/DemoSets.h"
#include "tests/wine/support/GdiHeadroom.h"

namespace {

using testsupport::TempFolder;

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void WriteBmp(const std::string& path, int w, int h) {
  CDIB dib;
  ASSERT_TRUE(testsupport::ToDIB24(testsupport::SyntheticPhoto(w, h), dib));
  ASSERT_TRUE(dib.Save(path.c_str()));
}

std::string SettingsKey() {
  CString path;
  BuildRegistryKeyPath(path);
  return static_cast<const char*>(path);
}

class OwnImagesDialog : public testing::Test {
 protected:
  void SetUp() override {
    controltest::RegisterControls();
    static const bool viewerClass = RegisterFullScreenOwnImageWnd();
    ASSERT_TRUE(viewerClass);
    registry_.Put(SettingsKey(), "OWNIMAGES_LASTIMAGENO", "4");
    std::memset(&IniSettings, 0, sizeof IniSettings);
    // The dialog loads the current set for the background its viewer lays pictures on.
    std::strcpy(IniSettings.DATADIRECTORY, dialogtest::InstalledSets().beta.c_str());
    std::strcpy(IniSettings.OWNIMAGES_DIR, folder_.str().c_str());
    SelectedOwnImageNo = 0;
    WriteBytes((folder_ / "b.JPG").string(),
               testsupport::EncodeJpeg(testsupport::SyntheticPhoto(320, 240)));
    WriteBmp((folder_ / "a.bmp").string(), 200, 300);
    std::ofstream((folder_ / "notes.txt").string()) << "not a picture";
  }
  void TearDown() override {
    if (dialog_) DestroyWindow(dialog_);
    EXPECT_EQ(FullScreenOwnImageWnd(), nullptr) << "the viewer goes with its dialog";
    DeleteImageDescs(&ImageDescArray);
  }
  HWND Open() {
    dialog_ = CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(IDD_OWNIMAGES), nullptr,
                                 OwnImageSearchDlgProc, 0);
    return dialog_;
  }
  HWND List() const { return GetDlgItem(dialog_, IDC_OWNIMAGELIST); }
  int Selected() const { return static_cast<int>(SendMessageA(List(), LB_GETCURSEL, 0, 0)); }
  std::string Line(int line) const {
    char text[300] = {};
    SendMessageA(List(), LB_GETTEXT, line, reinterpret_cast<LPARAM>(text));
    return text;
  }
  CRDIBCtl* Preview() const {
    return static_cast<CRDIBCtl*>(
        CWnd::FromHandlePermanent(GetDlgItem(dialog_, IDC_OWNIMAGEPREVIEW)));
  }
  CRDIBCtl* ViewerPicture() const {
    return static_cast<CRDIBCtl*>(
        CWnd::FromHandlePermanent(GetDlgItem(FullScreenOwnImageWnd(), kViewerImageId)));
  }
  void Command(int id) { SendMessageA(dialog_, WM_COMMAND, id, 0); }
  void Key(UINT key) { SendMessageA(FullScreenOwnImageWnd(), WM_KEYDOWN, key, 0); }
  int Viewers() const {
    int count = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, kFullScreenOwnImageClass, nullptr); w;
         w = FindWindowExA(nullptr, w, kFullScreenOwnImageClass, nullptr))
      ++count;
    return count;
  }

  TempFolder folder_{"ownimages"};
  seams::MemoryRegistry registry_;
  seams::ScopedRegistry scoped_{&registry_};
  seams::ScopedAlertRecorder alerts_;
  HWND dialog_ = nullptr;
};

TEST_F(OwnImagesDialog, ListsThePicturesSortedAndPreviewsTheSelectedOne) {
  ASSERT_NE(Open(), nullptr);
  ASSERT_EQ(SendMessageA(List(), LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(Line(0), "a.bmp");
  EXPECT_EQ(Line(1), "b.JPG");
  EXPECT_EQ(Selected(), 0);
  ASSERT_NE(Preview()->image, nullptr);
  EXPECT_NE(Preview()->hotCursor, nullptr) << "the template's cursor 154 is missing";
  // a.bmp, 200 x 300, fitted into the preview with its proportions kept.
  const RECT fit = Preview()->imageRect;
  EXPECT_NEAR(double(fit.right - fit.left) / (fit.bottom - fit.top), 200.0 / 300.0, 0.02);
  char shown[300] = {};
  GetDlgItemTextA(dialog_, IDC_OWNIMAGESFOLDER, shown, sizeof shown);
  EXPECT_STREQ(shown, folder_.str().c_str());
  EXPECT_TRUE(alerts_.Records().empty());
}

TEST_F(OwnImagesDialog, TheArrowsStopAtTheEnds) {
  ASSERT_NE(Open(), nullptr);
  const CDIBSurface* first = Preview()->image;
  Command(IDC_PREVIOUSIMAGE);
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(Preview()->image, first) << "nothing happens before the first line";
  Command(IDC_NEXTIMAGE);
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(SelectedOwnImageNo, 1);
  const CDIBSurface* second = Preview()->image;
  EXPECT_NE(second, first);
  Command(IDC_NEXTIMAGE);
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(Preview()->image, second);
  Command(IDC_PREVIOUSIMAGE);
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(SelectedOwnImageNo, 0);
}

TEST_F(OwnImagesDialog, ANumberPastTheEndSelectsNothingAndKeepsThePreview) {
  SelectedOwnImageNo = 5;
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(Selected(), LB_ERR);
  EXPECT_EQ(Preview()->image, nullptr);
  EXPECT_EQ(SelectedOwnImageNo, 5);
}

TEST_F(OwnImagesDialog, TheViewerWalksTheListAndEscapeReturnsWithItsLastPicture) {
  ASSERT_NE(Open(), nullptr);
  Command(IDC_FULLSCREENIMAGE);
  HWND viewer = FullScreenOwnImageWnd();
  ASSERT_NE(viewer, nullptr);
  RECT rect;
  GetWindowRect(viewer, &rect);
  const ScreenSize screen = GetScreenSize();
  EXPECT_EQ(rect.right - rect.left, screen.cx);
  EXPECT_EQ(rect.bottom - rect.top, screen.cy);
  EXPECT_TRUE(GetWindowLongA(viewer, GWL_EXSTYLE) & WS_EX_TOPMOST);
  ASSERT_NE(ViewerPicture(), nullptr);
  ASSERT_NE(ViewerPicture()->image, nullptr);
  EXPECT_EQ(ViewerPicture()->image->GetWidth(), screen.cx);

  // A second request, by button or by clicking the preview, opens no second viewer.
  Command(IDC_FULLSCREENIMAGE);
  SendMessageA(dialog_, WM_RDIBCTL_CLICK, 0, 0);
  EXPECT_EQ(Viewers(), 1);

  Key(VK_LEFT);  // at the first line: the same picture again
  EXPECT_EQ(Selected(), 0);
  Key(VK_RIGHT);
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(SelectedOwnImageNo, 1);
  Key(VK_DOWN);  // at the last line
  EXPECT_EQ(Selected(), 1);
  const CDIBSurface* before = Preview()->image;
  Key(VK_ESCAPE);
  EXPECT_EQ(FullScreenOwnImageWnd(), nullptr);
  EXPECT_FALSE(IsWindow(viewer));
  EXPECT_EQ(Selected(), 1);
  EXPECT_NE(Preview()->image, before) << "the dialog previews the viewer's last picture";
  EXPECT_TRUE(IsWindow(dialog_));
}

TEST_F(OwnImagesDialog, AnEmptyFolderGivesAnEmptyListAndAViewerWithoutAPicture) {
  const TempFolder empty("noimages");
  std::strcpy(IniSettings.OWNIMAGES_DIR, empty.str().c_str());
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(SendMessageA(List(), LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(Preview()->image, nullptr);
  Command(IDC_NEXTIMAGE);
  Command(IDC_PREVIOUSIMAGE);
  Command(IDC_FULLSCREENIMAGE);
  ASSERT_NE(FullScreenOwnImageWnd(), nullptr);
  Key(VK_RIGHT);
  Key(VK_LEFT);
  Key(VK_SPACE);
  EXPECT_EQ(FullScreenOwnImageWnd(), nullptr);
  EXPECT_TRUE(alerts_.Records().empty());
}

TEST_F(OwnImagesDialog, ABrokenFileIsABlankPictureWithItsMessageInTheDialogOnly) {
  std::ofstream((folder_ / "c.jpg").string(), std::ios::binary) << "not really a JPEG";
  SelectedOwnImageNo = 2;
  ASSERT_NE(Open(), nullptr);
  ASSERT_EQ(Line(2), "c.jpg");
  ASSERT_FALSE(alerts_.Records().empty());
  EXPECT_EQ(alerts_.Records().back().caption, "Screen Saver Error");
  ASSERT_NE(Preview()->image, nullptr);
  EXPECT_EQ(Preview()->imageRect.right - Preview()->imageRect.left > 0, true);
  const size_t messages = alerts_.Records().size();
  Command(IDC_FULLSCREENIMAGE);
  ASSERT_NE(FullScreenOwnImageWnd(), nullptr);
  Key(VK_ESCAPE);
  EXPECT_EQ(alerts_.Records().size(), messages) << "the viewer and its return are silent";
}

TEST_F(OwnImagesDialog, OpeningAndClosingTheViewerLeavesNoGdiObjectBehind) {
  ASSERT_NE(Open(), nullptr);
  Command(IDC_FULLSCREENIMAGE);
  Key(VK_ESCAPE);
  const int before = wintest::FreeGdiHandles();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 10; ++i) {
    Command(IDC_FULLSCREENIMAGE);
    Key(i % 2 ? VK_RIGHT : VK_LEFT);
    Key(VK_ESCAPE);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(wintest::FreeGdiHandles(), before);
  std::printf("[ figure ] viewer opened, stepped once and closed: %.1f ms each\n",
              seconds / 10 * 1000);
}

// The real folder chooser: another thread answers it as a user would. OK confirms the folder it
// opened in; the selection starts again at the first picture and the stored last number is 0.
TEST_F(OwnImagesDialog, ChoosingTheFolderWithTheRealChooserStartsAtTheFirstPicture) {
  ASSERT_NE(Open(), nullptr);
  Command(IDC_NEXTIMAGE);
  ASSERT_EQ(SelectedOwnImageNo, 1);
  for (const int answer : {IDCANCEL, IDOK}) {
    std::atomic<bool> answered{false};
    std::thread user([&] {
      for (int i = 0; i < 200 && !answered; ++i) {
        HWND chooser = FindWindowA(nullptr, "Select Image Directory for Screen Saver");
        if (chooser) {
          PostMessageA(chooser, WM_COMMAND, answer, 0);
          answered = true;
        }
        Sleep(25);
      }
    });
    Command(IDC_SELECTDIRECTORY);
    user.join();
    ASSERT_TRUE(answered) << "the chooser did not open";
    if (answer == IDCANCEL) {
      EXPECT_EQ(SelectedOwnImageNo, 1) << "cancel changes nothing";
      std::string stored;
      registry_.Get(SettingsKey(), "OWNIMAGES_LASTIMAGENO", &stored);
      EXPECT_EQ(stored, "4");
    }
  }
  EXPECT_STREQ(IniSettings.OWNIMAGES_DIR, folder_.str().c_str());
  EXPECT_EQ(SelectedOwnImageNo, 0);
  EXPECT_EQ(Selected(), 0);
  std::string stored;
  registry_.Get(SettingsKey(), "OWNIMAGES_LASTIMAGENO", &stored);
  EXPECT_EQ(stored, "0");
}

}  // namespace
