// Image-set selection and the thumbnail cache window under Wine's null display driver, over the
// in-memory registry: two demo sets and one that lacks a file are installed; the dialog is made
// modeless from its template and driven by messages.
#include <windows.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "controls/ControlsViews.h"
#include "controls/DialogSupport.h"
#include "controls/ImageSetDialog.h"
#include "controls/SelectedImage.h"
#include "controls/ThumbnailDialog.h"
#include "imageset/ImageSet.h"
#include "imaging/Descriptors.h"
#include "imaging/QuarterCache.h"
#include "res/DialogIds.h"
#include "richtext/RichTextDocument.h"
#include "seams/Alerts.h"
#include "seams/Registry.h"
#include "settings/IniSettings.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tests/wine/controls/DemoSets.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempFolder;

constexpr char kAlpha[] = "SOFTWARE\\KLV\\IMAGESET\\Alpha";
constexpr char kBeta[] = "SOFTWARE\\KLV\\IMAGESET\\Beta";
constexpr char kBroken[] = "SOFTWARE\\KLV\\IMAGESET\\Broken";

using dialogtest::InstalledSets;
using Sets = dialogtest::DemoSets;

std::string SettingsKey() {
  CString path;
  BuildRegistryKeyPath(path);
  return static_cast<const char*>(path);
}

class ImageSetDialog : public testing::Test {
 protected:
  void SetUp() override {
    controltest::RegisterControls();
    const Sets& sets = InstalledSets();
    registry_.Put(kBeta, "DATADIRECTORY", sets.beta);
    registry_.Put(kAlpha, "DATADIRECTORY", sets.alpha);
    registry_.Put(kBroken, "DATADIRECTORY", sets.broken);
    registry_.Put(SettingsKey(), "LASTIMAGENO", "7");
    registry_.Put(SettingsKey(), "LASTSOUNDNO", "3");
    std::memset(&IniSettings, 0, sizeof IniSettings);
    std::strcpy(IniSettings.IMAGESETKEY, kBeta);
    std::strcpy(IniSettings.DATADIRECTORY, sets.beta.c_str());
    std::strcpy(IniSettings.TOPTEN_PLAYLIST, "1,2");
    fs::remove(sets.alpha + "\\imx4.dat");
    // What a set in use has loaded: its records, its cache index, a selected image.
    ImageDescArray.Add(new CImageDesc);
    QuarterImageCount = 12;
    SelectedImageNo = 5;
  }
  void TearDown() override {
    if (dialog_) DestroyWindow(dialog_);
    DeleteImageDescs(&ImageDescArray);
    QuarterImageCount = 0;
  }
  HWND Open() {
    dialog_ = CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(IDD_IMAGESET), nullptr,
                                 ImageSetDlgProc, 0);
    return dialog_;
  }
  HWND List() const { return GetDlgItem(dialog_, IDC_IMAGESETLIST); }
  std::string Line(int line) const {
    char text[300] = {};
    SendMessageA(List(), LB_GETTEXT, line, reinterpret_cast<LPARAM>(text));
    return text;
  }
  std::string KeyPathOf(int line) const {
    const LRESULT index = SendMessageA(List(), LB_GETITEMDATA, line, 0);
    return static_cast<const char*>(ImageSetKeyPaths.GetAt(static_cast<int>(index)));
  }
  void Choose(const char* name) {
    const LRESULT line = SendMessageA(List(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(name));
    ASSERT_GE(line, 0);
    SendMessageA(List(), LB_SETCURSEL, line, 0);
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDC_IMAGESETLIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(List()));
  }
  CRDIBCtl* Cover() const {
    return static_cast<CRDIBCtl*>(
        CWnd::FromHandlePermanent(GetDlgItem(dialog_, IDC_IMAGESETCOVER)));
  }
  RichTextDocument* Credits() const {
    auto* view =
        static_cast<CRRTFCtl*>(CWnd::FromHandlePermanent(GetDlgItem(dialog_, IDC_IMAGESETCREDITS)));
    return view ? view->document : nullptr;
  }
  std::string Registry(const char* name) const {
    std::string text;
    registry_.Get(SettingsKey(), name, &text);
    return text;
  }

  seams::MemoryRegistry registry_;
  seams::ScopedRegistry scoped_{&registry_};
  seams::ScopedAlertRecorder alerts_;
  HWND dialog_ = nullptr;
};

TEST_F(ImageSetDialog, ListsTheValidSetsSortedWithTheCurrentOneSelectedAndShown) {
  ASSERT_NE(Open(), nullptr);
  ASSERT_EQ(SendMessageA(List(), LB_GETCOUNT, 0, 0), 2) << "the set without a cover is listed";
  EXPECT_EQ(Line(0), "Alpha");
  EXPECT_EQ(Line(1), "Beta");
  EXPECT_EQ(KeyPathOf(0), kAlpha);
  EXPECT_EQ(KeyPathOf(1), kBeta);
  EXPECT_EQ(SendMessageA(List(), LB_GETCURSEL, 0, 0), 1);
  ASSERT_NE(Cover(), nullptr);
  EXPECT_NE(Cover()->image, nullptr) << "the cover is shown";
  ASSERT_NE(Credits(), nullptr);
  EXPECT_GT(GetWindowTextLengthA(Credits()->editWindow), 0) << "the credits are shown";
  EXPECT_EQ(Credits()->readOnly, 1);
  EXPECT_TRUE(GetWindowLongA(Credits()->editWindow, GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(alerts_.Records().empty());
}

TEST_F(ImageSetDialog, AKeyThatDiffersInCaseSelectsNothing) {
  std::strcpy(IniSettings.IMAGESETKEY, "SOFTWARE\\KLV\\IMAGESET\\BETA");
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(SendMessageA(List(), LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(Cover()->image, nullptr);
}

TEST_F(ImageSetDialog, AnEnumerationFailureEndsTheList) {
  registry_.FailNth(seams::RegOp::Enum, 2);  // index 1
  ASSERT_NE(Open(), nullptr);
  EXPECT_EQ(SendMessageA(List(), LB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(registry_.OpenHandles(), 0);
}

TEST_F(ImageSetDialog, OkOnANewSetBuildsItsCacheAndStartsItAfresh) {
  ASSERT_NE(Open(), nullptr);
  Choose("Alpha");
  SendMessageA(dialog_, WM_COMMAND, IDOK, 0);
  const Sets& sets = InstalledSets();
  EXPECT_STREQ(IniSettings.IMAGESETKEY, kAlpha);
  EXPECT_STREQ(IniSettings.DATADIRECTORY, sets.alpha.c_str());
  EXPECT_TRUE(fs::exists(sets.alpha + "\\imx4.dat"));
  EXPECT_EQ(ImageDescArray.GetSize(), 0);
  EXPECT_EQ(QuarterImageCount, 0);
  EXPECT_EQ(SelectedImageNo, -1);
  EXPECT_EQ(ImageSetLogoDIB, nullptr);
  for (char c : IniSettings.TOPTEN_PLAYLIST) ASSERT_EQ(c, '\0');
  EXPECT_EQ(Registry("LASTIMAGENO"), "0");
  EXPECT_EQ(Registry("LASTSOUNDNO"), "0");
  EXPECT_FALSE(IsWindowVisible(dialog_)) << "OK ends the dialog";
  EXPECT_TRUE(alerts_.Records().empty());
}

// OK on the current set, OK on a set that vanished after the list was made, and Cancel change
// nothing: not the settings, not the registry, not what is loaded.
TEST_F(ImageSetDialog, OkOnTheSameOrAVanishedSetAndCancelChangeNothing) {
  struct Case {
    const char* name;
    const char* choose;
    bool vanish;
    int command;
  } cases[] = {
      {"same set", "Beta", false, IDOK},
      {"vanished set", "Alpha", true, IDOK},
      {"cancel", "Alpha", false, IDCANCEL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteImageDescs(&ImageDescArray);
    SetUp();
    const auto settings = IniSettings;
    const auto before = registry_.Snapshot("SOFTWARE");
    ASSERT_NE(Open(), nullptr);
    Choose(c.choose);
    if (c.vanish) registry_.Remove(kAlpha, "DATADIRECTORY");
    SendMessageA(dialog_, WM_COMMAND, c.command, 0);
    EXPECT_EQ(std::memcmp(&settings, &IniSettings, sizeof settings), 0);
    if (c.vanish) registry_.Put(kAlpha, "DATADIRECTORY", InstalledSets().alpha);
    EXPECT_EQ(registry_.Snapshot("SOFTWARE"), before);
    EXPECT_EQ(ImageDescArray.GetSize(), 1);
    EXPECT_EQ(QuarterImageCount, 12);
    EXPECT_EQ(SelectedImageNo, 5);
    EXPECT_FALSE(fs::exists(InstalledSets().alpha + "\\imx4.dat"));
    DestroyWindow(dialog_);
    dialog_ = nullptr;
  }
}

TEST_F(ImageSetDialog, ApplyRefusesALineThatNamesNoListedSet) {
  ASSERT_NE(Open(), nullptr);
  SendMessageA(List(), LB_SETITEMDATA, 0, 17);
  SendMessageA(List(), LB_SETCURSEL, 0, 0);
  EXPECT_EQ(ApplyImageSet(dialog_), 0);
  EXPECT_EQ(ShowImageSetInfo(dialog_), 0);
  SendMessageA(List(), LB_SETITEMDATA, 0, -1);
  EXPECT_EQ(ApplyImageSet(dialog_), 0);
  EXPECT_STREQ(IniSettings.IMAGESETKEY, kBeta);
}

TEST_F(ImageSetDialog, ChoosingAnotherSetShowsItsCoverAndCredits) {
  ASSERT_NE(Open(), nullptr);
  const CDIBSurface* betaCover = Cover()->image;
  ASSERT_NE(betaCover, nullptr);
  Choose("Alpha");
  EXPECT_NE(Cover()->image, betaCover);
  EXPECT_EQ(Credits()->readOnly, 1);
  EXPECT_GT(GetWindowTextLengthA(Credits()->editWindow), 0);
}

// As the image browser runs it: modal, answered from another thread. OK returns 1, Cancel 0.
TEST_F(ImageSetDialog, ModalRunsReturnOneForOkAndZeroForCancel) {
  for (const int answer : {IDOK, IDCANCEL}) {
    std::atomic<bool> answered{false};
    std::thread user([&] {
      for (int i = 0; i < 200 && !answered; ++i) {
        if (HWND dialog = FindWindowA(nullptr, "Select Image Set to be used in Screen Saver")) {
          PostMessageA(dialog, WM_COMMAND, answer, 0);
          answered = true;
        }
        Sleep(25);
      }
    });
    const INT_PTR result = DialogBoxParamA(DialogInstance(), MAKEINTRESOURCEA(IDD_IMAGESET),
                                           nullptr, ImageSetDlgProc, 0);
    user.join();
    ASSERT_TRUE(answered);
    EXPECT_EQ(result, answer == IDOK ? 1 : 0);
  }
  EXPECT_STREQ(IniSettings.IMAGESETKEY, kBeta) << "OK on the current set changes nothing";
  EXPECT_EQ(SelectedImageNo, 5);
}

// ---------------------------------------------------------------------------------------------

class ThumbnailWindow : public ImageSetDialog {};

TEST_F(ThumbnailWindow, BuildsTheCurrentSetsCacheAndReturnsTheResult) {
  std::strcpy(IniSettings.DATADIRECTORY, InstalledSets().alpha.c_str());
  EXPECT_EQ(CreateThumbnails(nullptr), 1);
  EXPECT_TRUE(fs::exists(InstalledSets().alpha + "\\imx4.dat"));
  // No window is left behind.
  EXPECT_EQ(FindWindowA("#32770", nullptr), nullptr);
}

TEST_F(ThumbnailWindow, AWindowThatCannotBeMadeStillBuilds) {
  std::strcpy(IniSettings.DATADIRECTORY, InstalledSets().alpha.c_str());
  HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  DestroyWindow(gone);
  EXPECT_EQ(CreateThumbnails(gone), 1);
  EXPECT_TRUE(fs::exists(InstalledSets().alpha + "\\imx4.dat"));
}

TEST_F(ThumbnailWindow, AFailedBuildIsAlertedAndReturnsZero) {
  const TempFolder empty("nothumbs");
  std::strcpy(IniSettings.DATADIRECTORY, empty.str().c_str());
  EXPECT_EQ(CreateThumbnails(nullptr), 0);
  ASSERT_FALSE(alerts_.Records().empty());
  EXPECT_EQ(alerts_.Records().back().text, "Unable to restore 1/4 size images");
}

TEST_F(ThumbnailWindow, ItIsCentredOverTheDesktopWithoutAParent) {
  HWND window = CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(IDD_LOADIMAGES), nullptr,
                                   LoadImagesDlgProc, 0);
  ASSERT_NE(window, nullptr);
  RECT own, desktop;
  GetWindowRect(window, &own);
  GetWindowRect(GetDesktopWindow(), &desktop);
  EXPECT_EQ(own.left, (desktop.right - desktop.left - (own.right - own.left)) / 2);
  EXPECT_EQ(own.top, (desktop.bottom - desktop.top - (own.bottom - own.top)) / 2);
  char text[64] = {};
  GetDlgItemTextA(window, IDC_LOADINGTEXT, text, sizeof text);
  EXPECT_STREQ(text, "Loading thumbnail images...");
  DestroyWindow(window);
}

}  // namespace
