// The music and sound dialog under test: the settings the setup program installs (over the
// in-memory registry), real small WAV and MID files in a temporary folder, a media device that
// records every MCI command and plays in pretend, a file chooser the test answers and recorded
// alerts.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "seams/Alerts.h"
#include "seams/FileChooser.h"
#include "seams/Registry.h"
#include "tests/native/sound/MCIRecorder.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/config/DialogDriver.h"

namespace soundtest {

// A media device that plays nothing: it answers length, position and mode as a device would
// (play and stop change the mode, a seek moves the position and stops), and records every
// command. The dialog's thread sends; the driver's thread reads, so everything is locked.
class SimulatedDevice : public mcitest::Recorder {
 public:
  static constexpr DWORD kDefaultLength = 100000;  // 1:40

  MCIERROR SendCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags,
                       DWORD_PTR params) override;
  // Moves the pretend play on (as time would).
  void SetPosition(DWORD ms);
  // The commands other than status queries, as "OPEN(7):path SET(7) SEEK(7):15000 PLAY(7)
  // STOP(7) SEEK(7):end CLOSE(7)"; `since` skips the first commands.
  std::string Commands(size_t since = 0);
  size_t Count();
  // The notice window of the last play command (0 before one).
  DWORD_PTR LastCallback();
  // The device opened last (0 before the first open).
  MCIDEVICEID OpenDevice();

  std::map<std::string, DWORD> lengths;  // by file path; kDefaultLength for others

 private:
  std::mutex mutex_;
  DWORD position_ = 0;
  DWORD mode_ = 0;
  DWORD length_ = 0;
  MCIDEVICEID open_ = 0;
};

class SoundDialogTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes a real sound file (".wav": a short tone; ".mid": one note; anything else: a few
  // bytes) into the test's folder and returns its path.
  std::string File(const std::string& name);
  // Puts paths into the play list buffers "SOUND_SOUND0".. (the rest empty).
  static void SetPlayList(const std::vector<std::string>& paths);
  static void SetDefaultPlayList(const std::vector<std::string>& paths);
  // Runs the dialog with the script; the dialog must end by the script's own OK or Cancel.
  dialogtest::DialogRun Run(const std::function<void(dialogtest::Driver&)>& script);

  testsupport::TempFolder folder_{"sounddlg"};
  seams::MemoryRegistry registry_;
  seams::ScopedRegistry scopedRegistry_{&registry_};
  seams::ScopedAlertRecorder alerts_;
  SimulatedDevice device_;
  seams::ScriptedFileChooser chooser_;
};

// The whole work copy, read on the dialog's thread.
std::vector<std::string> WorkCopy(dialogtest::Driver& d);

}  // namespace soundtest
