// The transition dialog on a real X display, for looking at: as opened, and in the middle of a
// slow preview, and on the 3D class. Saved as dialogs-transitions.bmp, -preview.bmp and -3d.bmp in
// the folder named by SAVER_SCREENSHOT_DIR (a Windows path), when set. Also reports the process's
// peak working set with the dialog open (run with SAVER_TEST_SCREEN=1920x1080 for that figure).
#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "config/TransitionDialog.h"
#include "controls/DialogSupport.h"
#include "res/DialogIds.h"
#include "settings/IniSettings.h"
#include "tests/wine/config/DialogDriver.h"
#include "tests/wine/config/TransitionTesting.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tests/wine/controls/DemoSets.h"
#include "tests/wine/platform/ScreenCapture.h"

namespace {

using dialogtest::Driver;

// The screen as the dialog's thread sees it once everything it shows has been painted.
ScreenCapture Capture(Driver& d) {
  ScreenCapture shot;
  d.OnDialogThread([&] {
    RedrawWindow(d.Dialog(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    shot = ScreenCapture::Take();
  });
  return shot;
}

double PeakWorkingSetMb() {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)) return -1;
  return memory.PeakWorkingSetSize / 1048576.0;
}

void Save(const ScreenCapture& shot, const char* name) {
  if (const char* folder = std::getenv("SAVER_SCREENSHOT_DIR"))
    shot.SaveBmp((std::string(folder) + "\\dialogs-" + name + ".bmp").c_str());
}

TEST(TransitionDialogScreen, ShowsTheClassesAndThePictureOnItsMiniScreen) {
  controltest::RegisterControls();
  seams::MemoryRegistry registry;
  seams::ScopedRegistry scopedRegistry(&registry);
  seams::ScopedAlertRecorder alerts;
  transitiontest::InstallAndRead(dialogtest::InstalledSets().alpha);
  std::strcpy(IniSettings.IMAGE_SIZE, "1");
  const double before = PeakWorkingSetMb();
  const auto start = std::chrono::steady_clock::now();
  const auto run =
      dialogtest::RunModal(DialogInstance(), IDD_TRANSITIONFX, TransitionFXDlgProc, [&](Driver& d) {
        transitiontest::WaitShown(d);
        std::printf(
            "[ figure ] opening to shown: %.1f ms\n",
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        std::printf(
            "[ figure ] screen %dx%d, peak working set: %.1f MB before opening, %.1f MB "
            "with the dialog open\n",
            GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), before,
            PeakWorkingSetMb());
        Sleep(300);
        const ScreenCapture opened = Capture(d);
        ASSERT_FALSE(opened.Empty());
        Save(opened, "transitions");
        // A slow sweep, caught half way.
        transitiontest::SelectClass(d, "Sweep");
        d.ReleaseSlider(IDC_TRANSSLIDER1, 100);
        d.Post(IDC_TRANSPREVIEW);
        Sleep(700);
        Save(ScreenCapture::Take(), "transitions-preview");
        d.Sync();  // the preview has ended
        // The longest help text, with Preview disabled.
        transitiontest::SelectClass(d, "Flying Tiles - 3D");
        Save(Capture(d), "transitions-3d");
        d.Click(IDCANCEL);
      });
  EXPECT_TRUE(run.found);
  EXPECT_FALSE(run.forcedClose);
}

}  // namespace
