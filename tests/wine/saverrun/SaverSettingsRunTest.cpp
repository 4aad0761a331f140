// The module's settings end to end: "/c" opens the real settings dialog in a process of its own;
// a routine chosen there and stored with OK is the routine a saver started with "/s" runs; and
// Screen Preview starts this same module full screen.
#include <windows.h>

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/ScreenSaver.h"
#include "res/DialogIds.h"
#include "tests/wine/saverrun/SaverRunFixture.h"

namespace {

using namespace saverrun;

const std::optional<DWORD> kExitedOk = 0;
constexpr char kDialogClass[] = "#32770";
constexpr char kCaption[] = "Settings for Tarvosa Screen Saver";

std::string WindowText(HWND window) {
  char text[128] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ImagePathOf(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  char path[MAX_PATH + 1] = "";
  DWORD size = MAX_PATH;
  if (process) {
    if (!QueryFullProcessImageNameA(process, 0, path, &size)) path[0] = '\0';
    CloseHandle(process);
  }
  return path;
}

// Picks a list item as a user would: the selection, then the notice the list sends its dialog.
void SelectRoutine(HWND dialog, int index) {
  HWND combo = GetDlgItem(dialog, IDC_ROUTINECOMBO);
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_ROUTINECOMBO, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

// A routine chosen in the dialog of "/c" and kept with OK is the one the next "/s" runs.
TEST(SaverSettingsRun, SlashCOpensTheDialogAndTheNextSaverUsesWhatOkStored) {
  InstallDemoSettings({{"TRACEON", "1"},
                       {"SSFN", "7"},
                       {"SOUND_ON", "0"},
                       {"TEXTFX_TEXTON", "0"},
                       {"TIME", "1"},
                       {"LASTIMAGENO", "0"}});
  {
    SaverProcess settings("/c");
    ASSERT_TRUE(settings.Started());
    const HWND dialog = settings.WaitForTopWindow(kDialogClass);
    ASSERT_NE(dialog, nullptr) << "no settings dialog appeared";
    EXPECT_EQ(WindowText(dialog), kCaption);
    ASSERT_NE(GetDlgItem(dialog, IDC_SPEEDSLIDER), nullptr) << "the interim dialog opened";
    SelectRoutine(dialog, 2);  // "Flying Puzzle Cube"
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(settings.WaitForExit(), kExitedOk);
  }
  EXPECT_EQ(GetValue("SSFN"), "2");

  GatedRun run({0, 10000});
  ASSERT_TRUE(run.Process().Started());
  ASSERT_TRUE(run.Reach(0));
  run.Release(0);
  ASSERT_TRUE(run.Reach(1)) << "the saver did not reach 10 s of virtual time";
  const std::string trace = ReadTrace();
  EXPECT_NE(trace.find("Puzzle Cube - start"), std::string::npos) << trace.substr(0, 2000);
  EXPECT_EQ(trace.find("Slide Show - start"), std::string::npos);
  std::optional<DWORD> exitCode;
  run.EndWithKey(&exitCode);
  EXPECT_EQ(exitCode, kExitedOk);
}

// Screen Preview starts this module's own file full screen ("/s": the saver window covers the
// screen), which a key ends; the dialog stays open meanwhile.
TEST(SaverSettingsRun, ScreenPreviewStartsThisModuleFullScreen) {
  InstallDemoSettings({{"SOUND_ON", "0"}, {"SSFN", "7"}});
  SaverProcess settings("/c");
  const HWND dialog = settings.WaitForTopWindow(kDialogClass);
  ASSERT_NE(dialog, nullptr) << "no settings dialog appeared";
  SendMessageA(GetDlgItem(dialog, IDC_PREVIEW), BM_CLICK, 0, 0);
  HWND saver = nullptr;
  ASSERT_TRUE(PumpUntil([&] {
    return (saver = FindWindowA(SAVER_WINDOW_CLASS, nullptr)) != nullptr;
  })) << "no saver window appeared";
  DWORD saverId = 0;
  GetWindowThreadProcessId(saver, &saverId);
  EXPECT_NE(saverId, settings.Id()) << "a process of its own";
  EXPECT_EQ(ImagePathOf(saverId), ImagePathOf(settings.Id())) << "the module's own file";
  RECT area;
  GetWindowRect(saver, &area);
  EXPECT_EQ(area.right - area.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(area.bottom - area.top, GetSystemMetrics(SM_CYSCREEN));

  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, saverId);
  PostMessageA(saver, WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_TRUE(PumpUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }))
      << "the preview saver did not end on a key";
  CloseHandle(process);
  EXPECT_TRUE(IsWindow(dialog));
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(settings.WaitForExit(), kExitedOk);
}

}  // namespace
