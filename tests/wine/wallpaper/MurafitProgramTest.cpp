// murafit.exe end to end, as a user runs it: the demo set made by demo_imageset, the settings
// installed by the setup program, then the program itself, twice, all in this test's private
// Wine prefix. A run that shows a message box fails with the box's text instead of hanging.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "imaging/DIB.h"
#include "settings/IniSettings.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/wallpaper/WallpaperFixture.h"

namespace wallpapertest {
namespace {

namespace fs = std::filesystem;

std::string BuildTreeProgram(const char* relative) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string program(path, length < sizeof path ? length : 0);
  program = program.substr(0, program.find_last_of("\\/") + 1) + relative;
  for (char& c : program) {
    if (c == '/') c = '\\';
  }
  return program;
}

struct BoxText {
  DWORD process;
  std::string text;
};

// The caption and text of a message box of the process (the box's text is its static 0xFFFF).
BOOL CALLBACK ReadMessageBox(HWND window, LPARAM found) {
  BoxText* box = reinterpret_cast<BoxText*>(found);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char className[16] = "", caption[256] = "", text[1024] = "";
  GetClassNameA(window, className, sizeof className);
  if (process != box->process || std::string(className) != "#32770") return TRUE;
  GetWindowTextA(window, caption, sizeof caption);
  GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
  box->text = std::string(caption) + ": " + text;
  return FALSE;
}

// Runs the program with the arguments; its exit code, or -1 when it did not run or did not end
// (a message box's text is reported).
int RunProgram(const std::string& program, const std::string& arguments, double* seconds) {
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const auto start = std::chrono::steady_clock::now();
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    ADD_FAILURE() << "cannot start " << program << ": error " << GetLastError();
    return -1;
  }
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  } else {
    BoxText box{process.dwProcessId, ""};
    EnumWindows(ReadMessageBox, reinterpret_cast<LPARAM>(&box));
    ADD_FAILURE() << program << " did not end"
                  << (box.text.empty() ? "" : "; it shows the message box " + box.text);
    TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, 5000);
  }
  if (seconds)
    *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

int StoredImageNo() {
  const std::string text = WallpaperValue(kWallpaperImageNoValue);
  return text.empty() || text[0] == '(' ? -99 : std::stoi(text);
}

TEST(MurafitProgram, RotatesTheDemoSetsWallpaper) {
  testsupport::TempFolder parent("murafit-program");
  ASSERT_EQ(RunProgram(BuildTreeProgram(DEMO_PROGRAM), "\"" + parent.str() + "\"", nullptr), 0);
  const std::string dataFolder = (parent / "demoset").string();
  ASSERT_EQ(RunProgram(BuildTreeProgram(SETUP_PROGRAM), "\"" + dataFolder + "\"", nullptr), 0);
  ASSERT_EQ(StoredImageNo(), -1);
  const std::string wallpaper = dataFolder + "\\WALLPAPER.BMP";

  double withCacheBuild = 0, withCache = 0;
  ASSERT_EQ(RunProgram(BuildTreeProgram(MURAFIT_PROGRAM), "", &withCacheBuild), 0);
  EXPECT_TRUE(fs::exists(dataFolder + "\\imx4.dat"));
  const int first = StoredImageNo();
  EXPECT_GE(first, 0);
  EXPECT_LT(first, 12);
  EXPECT_EQ(DesktopWallpaper(), wallpaper);
  CDIB written;
  ASSERT_TRUE(written.Load(wallpaper.c_str()));
  EXPECT_EQ(written.GetWidth(), 1024);
  EXPECT_EQ(written.GetHeight(), 768);

  ASSERT_EQ(RunProgram(BuildTreeProgram(MURAFIT_PROGRAM), "", &withCache), 0);
  const int second = StoredImageNo();
  EXPECT_GE(second, 0);
  EXPECT_NE(second, first);
  std::printf("murafit.exe: %.2f s building the thumbnail cache, %.2f s with it\n",
              withCacheBuild, withCache);
}

}  // namespace
}  // namespace wallpapertest
