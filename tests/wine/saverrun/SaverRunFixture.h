// What the end-to-end tests of the saver module share: the demo set and its settings, a known
// picture under the saver, a run of the virtual-time variant held at marks, the trace, and
// ending the saver with a key.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/wine/platform/SaverProcess.h"
#include "tests/wine/platform/ScreenCapture.h"

namespace saverrun {

// A key ends the process in a fraction of a second (the tests print the figure); taking this
// long is a hang, however loaded the machine.
constexpr DWORD kExitHangMs = 20000;

// The demo set with pictures of its own (640 x 480), made once for the whole program.
const std::string& DemoDataFolder();

// Installs the demo set's settings afresh, then the given values over them.
void InstallDemoSettings(const std::vector<std::pair<const char*, const char*>>& values);
void SetValue(const char* name, const char* value);
std::string GetValue(const char* name);

// The trace file of the demo set, as it stands.
std::string ReadTrace();

// Four colours in the quarters of the screen: what lies under the saver when it starts. None is
// a colour of the halftone palette, so a desktop copy on that palette would show them changed.
class Underlay {
 public:
  Underlay();
  ~Underlay();
  Underlay(const Underlay&) = delete;
  Underlay& operator=(const Underlay&) = delete;

 private:
  HWND window_;
};

// One run of the variant with its marks in virtual milliseconds; each mark is waited for and
// released in turn. `log`: the file for the variant's measurements at each mark, or "".
// `holds`: texts of the trace that the thread writing them is held at, in their order (each
// waited for and released like a mark).
class GatedRun {
 public:
  explicit GatedRun(const std::vector<unsigned>& marks, const std::string& log = "",
                    const std::vector<std::string>& holds = {});
  ~GatedRun();
  GatedRun(const GatedRun&) = delete;
  GatedRun& operator=(const GatedRun&) = delete;

  SaverProcess& Process() { return *process_; }
  // Waits until the saver is held at mark `index` and the screen has settled.
  bool Reach(size_t index);
  void Release(size_t index);
  // The same for the holds at trace texts, with no help for the screen: it settles as the saver
  // leaves it.
  bool ReachHold(size_t index);
  void ReleaseHold(size_t index);
  // Pixels that change on the screen once the saver's window thread is woken: what the saver
  // drew but left unshown.
  int UnshownPixels();
  // Ends the saver with a key and says how long the process took to go.
  DWORD EndWithKey(std::optional<DWORD>* exitCode);

 private:
  bool WaitFor(HANDLE event);
  // Waits until two captures agree (waking the saver's window thread each time when asked) and
  // returns the last.
  ScreenCapture Settle(bool wake);

  std::string name_;
  std::vector<HANDLE> reached_, release_, holdReached_, holdRelease_;
  std::unique_ptr<SaverProcess> process_;
};

// Pixels that differ between two captures of the same size, inside `area`.
int Differences(const ScreenCapture& a, const ScreenCapture& b, const RECT& area);
RECT WholeScreen(const ScreenCapture& capture);

}  // namespace saverrun
