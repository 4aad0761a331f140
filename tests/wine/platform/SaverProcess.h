// Runs the test-only saver module (testsaver.scr, built beside this test program) in a process
// of its own and watches what it does. Every wait pumps this thread's messages, since the saver
// sends messages to windows of ours (a preview's parent, a dialog's owner), and every wait ends:
// a process still running when its SaverProcess goes away is killed.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// How long a wait for the saver process (a window, an exit) may take before it is a hang: each
// wait ends as soon as what it waits for is there, so only a hung run waits this long.
constexpr DWORD kSaverWaitMs = 60000;

class SaverProcess {
 public:
  // `arguments` follow the program's name on the command line.
  explicit SaverProcess(const std::string& arguments, bool refuseDialogClasses = false);
  ~SaverProcess();
  SaverProcess(const SaverProcess&) = delete;
  SaverProcess& operator=(const SaverProcess&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }

  // The exit code, or nothing when the process still runs after the timeout.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs = kSaverWaitMs);
  // A top-level window of this process with the class, once it is there and visible.
  HWND WaitForTopWindow(const char* className, DWORD timeoutMs = kSaverWaitMs);
  // The events the module logged, one per line.
  std::vector<std::string> Log() const;

 private:
  PROCESS_INFORMATION info_{};
  std::string logPath_;
};

// Pumps this thread's messages until done() holds or the time is up; whether done() held.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = kSaverWaitMs);

// A top-level window of the process with the class, or null.
HWND FindTopWindow(DWORD processId, const char* className);
// How many top-level windows of the class exist, in any process.
int CountTopWindows(const char* className);

// Waits until the saver window has handled everything posted to it so far, and whatever that
// posted in turn; then says whether the window is still there.
bool StillOpenAfterPostedMessages(HWND saverWindow);
