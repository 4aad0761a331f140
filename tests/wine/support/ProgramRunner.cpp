#include "tests/wine/support/ProgramRunner.h"

#include <windows.h>

#include <chrono>

#include <gtest/gtest.h>

namespace wintest {

std::string BuildTreeProgram(const std::string& relative) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string program(path, length < sizeof path ? length : 0);
  program = program.substr(0, program.find_last_of("\\/") + 1) + relative;
  for (char& c : program) {
    if (c == '/') c = '\\';
  }
  return program;
}

namespace {

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

}  // namespace

int RunProgram(const std::string& program, const std::string& arguments, unsigned timeoutMs,
               double* seconds) {
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
  if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
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

}  // namespace wintest
