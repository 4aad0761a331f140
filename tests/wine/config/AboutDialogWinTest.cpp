// The About dialog run modally from its template over the settings the setup program installs:
// the caption and version line, the installed set's credits read-only, a set without credits,
// a folder path longer than the old fixed buffer, a credits view without a document, and 50
// openings that leave no GDI object behind.
#include <windows.h>

#include <richedit.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/AboutDialog.h"
#include "controls/ControlsViews.h"
#include "controls/DialogSupport.h"
#include "framework/Wnd.h"
#include "res/DialogIds.h"
#include "richtext/RichTextDocument.h"
#include "seams/Alerts.h"
#include "settings/IniSettings.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/config/DialogDriver.h"
#include "tests/wine/config/DialogLeakCheck.h"
#include "tests/wine/config/InstalledSettings.h"
#include "tests/wine/controls/ControlFixture.h"

namespace {

namespace fs = std::filesystem;
using dialogtest::Driver;

constexpr char kCaption[] = "About the Tarvosa Screen Saver";
constexpr char kVersionLine[] = "Tarvosa Screen Saver - Version 1.20.7";

dialogtest::DialogRun OpenDialog(const std::function<void(Driver&)>& script) {
  return dialogtest::RunModal(DialogInstance(), IDD_ABOUT, AboutDlgProc, script);
}

RichTextDocument* Credits(const Driver& d) {
  auto* view = static_cast<CRRTFCtl*>(CWnd::FromHandlePermanent(d.Item(IDC_IMAGESETCREDITS)));
  return view ? view->document : nullptr;
}

std::string EditText(HWND edit) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(edit, &text[0], static_cast<int>(text.size()))));
  return text;
}

class AboutDialog : public testing::Test {
 protected:
  void SetUp() override {
    controltest::RegisterControls();
    dialogtest::LoadInstalledSettings();
  }
  void TearDown() override { ClearSettingBuffers(); }

  // The installed settings name another set, whose data folder is `folder`.
  void InstallSetAt(const std::string& folder) {
    const std::string key = dialogtest::RegisterImageSet("About Test", folder);
    std::strcpy(IniSettings.SCREENSAVERKEY, key.c_str());
  }

  seams::ScopedAlertRecorder alerts_;
};

TEST_F(AboutDialog, ShowsTheTitleTheVersionAndTheInstalledSetsCreditsReadOnly) {
  const auto run = OpenDialog([](Driver& d) {
    EXPECT_EQ(d.WindowText(d.Dialog()), kCaption);
    EXPECT_EQ(d.Text(IDC_ABOUT_VERSION), kVersionLine);
    RichTextDocument* credits = Credits(d);
    ASSERT_NE(credits, nullptr);
    const std::string text = EditText(credits->editWindow);
    EXPECT_NE(text.find("Demo image set"), std::string::npos) << text;
    EXPECT_EQ(text.find("\\rtf"), std::string::npos) << "the RTF is shown formatted";
    EXPECT_EQ(credits->readOnly, 1);
    EXPECT_TRUE(GetWindowLongA(credits->editWindow, GWL_STYLE) & ES_READONLY);
    DWORD start = 1, end = 1;
    SendMessageA(credits->editWindow, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
    // With everything selected, typing, deleting and cutting change nothing.
    SendMessageA(credits->editWindow, EM_SETSEL, 0, -1);
    SendMessageA(credits->editWindow, WM_CHAR, 'x', 0);
    SendMessageA(credits->editWindow, WM_KEYDOWN, VK_DELETE, 0);
    SendMessageA(credits->editWindow, WM_CUT, 0, 0);
    EXPECT_EQ(EditText(credits->editWindow), text);
    d.Click(IDOK);
  });
  EXPECT_TRUE(run.found);
  EXPECT_FALSE(run.forcedClose);
  EXPECT_EQ(run.result, 0);
  EXPECT_TRUE(alerts_.Records().empty());
}

TEST_F(AboutDialog, TheCloseBoxEndsItToo) {
  const auto run = OpenDialog([](Driver& d) { d.Command(IDCANCEL); });
  EXPECT_FALSE(run.forcedClose);
  EXPECT_EQ(run.result, 0);
}

TEST_F(AboutDialog, ASetWithoutCreditsIsReportedAndKeepsTheTemplatesTexts) {
  testsupport::TempFolder empty("nocredits");
  InstallSetAt(empty.str());
  HWND dialog = nullptr;
  const auto run = OpenDialog([&](Driver& d) {
    dialog = d.Dialog();
    EXPECT_EQ(d.WindowText(d.Dialog()), "About Screen Saver");
    EXPECT_EQ(d.Text(IDC_ABOUT_VERSION), "");
    ASSERT_NE(Credits(d), nullptr);
    EXPECT_EQ(GetWindowTextLengthA(Credits(d)->editWindow), 0);
    d.Click(IDOK);
  });
  EXPECT_FALSE(run.forcedClose);
  ASSERT_EQ(alerts_.Records().size(), 1u);
  const seams::AlertRecord& alert = alerts_.Records()[0];
  EXPECT_EQ(alert.text, kMissingCreditsText + empty.str() + "\\credits.RTF");
  EXPECT_EQ(alert.caption, "Screen Saver Error");
  EXPECT_EQ(alert.flags, static_cast<unsigned>(MB_ICONERROR));
  EXPECT_EQ(alert.owner, dialog) << "owned by the About dialog, which waits for it";
}

TEST_F(AboutDialog, AnInstalledSetThatCannotBeFoundShowsTitleAndVersionWithoutCredits) {
  std::strcpy(IniSettings.SCREENSAVERKEY, "SOFTWARE\\KLV\\IMAGESET\\Nowhere");
  OpenDialog([](Driver& d) {
    EXPECT_EQ(d.WindowText(d.Dialog()), kCaption);
    EXPECT_EQ(d.Text(IDC_ABOUT_VERSION), kVersionLine);
    EXPECT_EQ(GetWindowTextLengthA(Credits(d)->editWindow), 0);
    d.Click(IDOK);
  });
  EXPECT_TRUE(alerts_.Records().empty());
}

// A data folder whose credits path is longer than 256 characters (within the system's path
// limit): the credits still show.
TEST_F(AboutDialog, CreditsInAFolderWithALongPathStillShow) {
  testsupport::TempFolder parent("longpath");
  const size_t wanted = 258 - std::strlen("\\credits.RTF");
  ASSERT_LT(parent.str().size() + 2, wanted) << "the temporary folder is too deep already";
  const fs::path folder = parent / std::string(wanted - parent.str().size() - 1, 'd').c_str();
  ASSERT_TRUE(fs::create_directories(folder));
  ASSERT_EQ(folder.string().size(), wanted);
  fs::copy_file(dialogtest::InstalledDataFolder() + "\\credits.rtf", folder / "credits.RTF");
  InstallSetAt(folder.string());
  OpenDialog([](Driver& d) {
    EXPECT_EQ(d.WindowText(d.Dialog()), kCaption);
    EXPECT_NE(EditText(Credits(d)->editWindow).find("Demo image set"), std::string::npos);
    d.Click(IDOK);
  });
  EXPECT_TRUE(alerts_.Records().empty());
}

// Refuses to create RichEdit windows on this thread while it lives, so that the credits view
// gets no document.
class NoRichEditWindows {
 public:
  NoRichEditWindows() : hook_(SetWindowsHookExA(WH_CBT, Refuse, nullptr, GetCurrentThreadId())) {}
  ~NoRichEditWindows() { UnhookWindowsHookEx(hook_); }
  bool Installed() const { return hook_ != nullptr; }

 private:
  static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
      const auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
      const char* name = create->lpcs->lpszClass;
      if (!IS_INTRESOURCE(name) && lstrcmpiA(name, "RichEdit") == 0) return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK hook_;
};

TEST_F(AboutDialog, ACreditsViewWithoutADocumentStillShowsTitleAndVersion) {
  NoRichEditWindows refuse;
  ASSERT_TRUE(refuse.Installed());
  const auto run = OpenDialog([](Driver& d) {
    auto* view = static_cast<CRRTFCtl*>(CWnd::FromHandlePermanent(d.Item(IDC_IMAGESETCREDITS)));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->document, nullptr);
    EXPECT_EQ(d.WindowText(d.Dialog()), kCaption);
    EXPECT_EQ(d.Text(IDC_ABOUT_VERSION), kVersionLine);
    d.Click(IDOK);
  });
  EXPECT_FALSE(run.forcedClose);
  EXPECT_EQ(run.result, 0);
  // The view's own report that the document could not be made, and nothing else.
  ASSERT_EQ(alerts_.Records().size(), 1u);
  EXPECT_EQ(alerts_.Records()[0].text, "Unable to create a new RE document");
}

TEST_F(AboutDialog, FiftyOpeningsLeaveNoGdiObjectAlive) {
  dialogtest::ExpectOpeningsLeaveNoGdiObject(
      IDD_ABOUT, AboutDlgProc,
      [](Driver& d) {
        std::vector<HGDIOBJ> made = dialogtest::DialogFont(d);
        const std::vector<HGDIOBJ> buffers = dialogtest::ControlBuffers(d, IDC_IMAGESETCREDITS);
        EXPECT_EQ(buffers.size(), 4u);
        made.insert(made.end(), buffers.begin(), buffers.end());
        return made;
      },
      IDOK, IDCANCEL);
}

}  // namespace
