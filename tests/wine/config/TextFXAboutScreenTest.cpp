// The caption-effect and About dialogs on a real X display, for looking at: each is saved as
// dialogs-<name>.bmp in the folder named by SAVER_SCREENSHOT_DIR (a Windows path), when set,
// the caption-effect dialog also with its text-colour list dropped down. Also prints how long
// each dialog takes to open (made from its template, filled and painted), over the installed
// settings.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/AboutDialog.h"
#include "config/TextFXDialog.h"
#include "controls/DialogSupport.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "settings/IniSettings.h"
#include "tests/wine/config/DialogDriver.h"
#include "tests/wine/config/InstalledSettings.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tests/wine/platform/ScreenCapture.h"

namespace {

using dialogtest::Driver;

// Paints the dialog and whatever it shows now, then saves the screen.
void Shot(Driver& d, const char* name) {
  Sleep(300);
  d.OnDialogThread([&] {
    RedrawWindow(nullptr, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  });
  d.Sync();
  const ScreenCapture shot = ScreenCapture::Take();
  EXPECT_FALSE(shot.Empty());
  if (const char* folder = std::getenv("SAVER_SCREENSHOT_DIR")) {
    EXPECT_TRUE(shot.SaveBmp((std::string(folder) + "\\dialogs-" + name + ".bmp").c_str()));
  }
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Opens the dialog modeless `count` times: from the template through WM_INITDIALOG (made), then
// to the first complete paint (shown); prints the medians and the slowest whole opening.
void PrintOpenTime(const char* name, int templateId, DLGPROC procedure, int count = 20) {
  std::vector<double> made, whole;
  for (int i = 0; i < count; ++i) {
    LARGE_INTEGER start, created, end;
    QueryPerformanceCounter(&start);
    HWND dialog =
        CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(templateId), nullptr, procedure, 0);
    QueryPerformanceCounter(&created);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    RedrawWindow(dialog, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    QueryPerformanceCounter(&end);
    made.push_back(Milliseconds(start, created));
    whole.push_back(Milliseconds(start, end));
    DestroyWindow(dialog);
  }
  std::sort(made.begin(), made.end());
  std::sort(whole.begin(), whole.end());
  std::printf(
      "open time of the %s dialog: median %.1f ms (made %.1f ms, then shown), slowest %.1f ms "
      "over %d openings\n",
      name, whole[whole.size() / 2], made[made.size() / 2], whole.back(), count);
}

class TextFXAboutOnScreen : public testing::Test {
 protected:
  void SetUp() override {
    controltest::RegisterControls();
    dialogtest::LoadInstalledSettings();
  }
  void TearDown() override { ClearSettingBuffers(); }

  seams::ScopedAlertRecorder alerts_;
};

TEST_F(TextFXAboutOnScreen, CaptionEffects) {
  const auto run = dialogtest::RunModal(DialogInstance(), IDD_TEXTFX, TextFXDlgProc, [](Driver& d) {
    Shot(d, "textfx");
    SendMessageA(d.Item(IDC_TEXTFX_TEXTCOLOR), CB_SHOWDROPDOWN, TRUE, 0);
    Shot(d, "textfx-colours");
    SendMessageA(d.Item(IDC_TEXTFX_TEXTCOLOR), CB_SHOWDROPDOWN, FALSE, 0);
    d.Click(IDCANCEL);
  });
  EXPECT_FALSE(run.forcedClose);
  PrintOpenTime("caption-effect", IDD_TEXTFX, TextFXDlgProc);
}

TEST_F(TextFXAboutOnScreen, About) {
  const auto run = dialogtest::RunModal(DialogInstance(), IDD_ABOUT, AboutDlgProc, [](Driver& d) {
    Shot(d, "about");
    d.Click(IDOK);
  });
  EXPECT_FALSE(run.forcedClose);
  PrintOpenTime("About", IDD_ABOUT, AboutDlgProc);
  EXPECT_TRUE(alerts_.Records().empty());
}

}  // namespace
