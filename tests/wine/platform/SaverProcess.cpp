#include "tests/wine/platform/SaverProcess.h"

#include "tests/wine/platform/TestSaver.h"

#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

std::string DirectoryOfThisProgram() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string directory(path, length < sizeof path ? length : 0);
  return directory.substr(0, directory.find_last_of("\\/") + 1);
}

std::string NewLogPath() {
  static int count = 0;
  char name[64];
  std::snprintf(name, sizeof name, "testsaver-%lu-%d.log", GetCurrentProcessId(), ++count);
  char directory[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
  return std::string(directory, length < sizeof directory ? length : 0) + "\\" + name;
}

bool HasClass(HWND window, const char* className) {
  char name[64];
  return GetClassNameA(window, name, sizeof name) > 0 && std::strcmp(name, className) == 0;
}

struct WindowSearch {
  DWORD processId;  // 0: any process
  const char* className;
  HWND found;
  int count;
};

BOOL CALLBACK VisitTopWindow(HWND window, LPARAM lParam) {
  WindowSearch& search = *reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if ((search.processId == 0 || owner == search.processId) && HasClass(window, search.className)) {
    search.found = window;
    ++search.count;
  }
  return TRUE;
}

WindowSearch SearchTopWindows(DWORD processId, const char* className) {
  WindowSearch search{processId, className, nullptr, 0};
  EnumWindows(VisitTopWindow, reinterpret_cast<LPARAM>(&search));
  return search;
}

bool Acknowledged(HWND window, unsigned sequence) {
  char expected[32];
  std::snprintf(expected, sizeof expected, "ack %u", sequence);
  char title[32] = "";
  GetWindowTextA(window, title, sizeof title);
  return std::strcmp(title, expected) == 0;
}

}  // namespace

SaverProcess::SaverProcess(const std::string& arguments, bool refuseDialogClasses)
    : logPath_(NewLogPath()) {
  SetEnvironmentVariableA(kTestSaverLogVariable, logPath_.c_str());
  SetEnvironmentVariableA(kTestSaverRefuseVariable, refuseDialogClasses ? "1" : nullptr);
  std::string commandLine =
      "\"" + DirectoryOfThisProgram() + TESTSAVER_FILE_NAME + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info_)) {
    info_ = {};
  }
  SetEnvironmentVariableA(kTestSaverLogVariable, nullptr);
  SetEnvironmentVariableA(kTestSaverRefuseVariable, nullptr);
}

SaverProcess::~SaverProcess() {
  if (Started()) {
    if (WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) {
      TerminateProcess(info_.hProcess, 99);
      WaitForSingleObject(info_.hProcess, kSaverWaitMs);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  DeleteFileA(logPath_.c_str());
}

std::optional<DWORD> SaverProcess::WaitForExit(DWORD timeoutMs) {
  if (!Started() ||
      !PumpUntil([&] { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; },
                 timeoutMs)) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

HWND SaverProcess::WaitForTopWindow(const char* className, DWORD timeoutMs) {
  HWND window = nullptr;
  PumpUntil(
      [&] {
        window = FindTopWindow(Id(), className);
        return window != nullptr && IsWindowVisible(window);
      },
      timeoutMs);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

std::vector<std::string> SaverProcess::Log() const {
  std::vector<std::string> lines;
  std::ifstream file(logPath_);
  for (std::string line; std::getline(file, line);) {
    lines.push_back(line);
  }
  return lines;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (done()) {
      return true;
    }
    if (GetTickCount64() >= deadline) {
      return false;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

HWND FindTopWindow(DWORD processId, const char* className) {
  return SearchTopWindows(processId, className).found;
}

int CountTopWindows(const char* className) { return SearchTopWindows(0, className).count; }

bool StillOpenAfterPostedMessages(HWND saverWindow) {
  // Two rounds: a message posted while the saver handled the first round (a WM_CLOSE asked for
  // by an input) is queued behind the first acknowledgement but ahead of the second.
  static unsigned sequence = 0;
  for (int round = 0; round < 2; ++round) {
    const unsigned expected = ++sequence;
    if (!PostMessageA(saverWindow, kTestSaverAckMessage, expected, 0) ||
        !PumpUntil([&] { return !IsWindow(saverWindow) || Acknowledged(saverWindow, expected); })) {
      return false;
    }
  }
  return IsWindow(saverWindow) != FALSE;
}
