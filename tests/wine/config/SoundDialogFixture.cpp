#include "tests/wine/config/SoundDialogFixture.h"

#include <cstring>

#include "config/SoundDialog.h"
#include "controls/DialogSupport.h"
#include "res/DialogIds.h"
#include "settings/IniSettings.h"
#include "sound/MCIObject.h"
#include "tests/support/WaveWriter.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tools/setup/SettingsInstaller.h"

namespace soundtest {

MCIERROR SimulatedDevice::SendCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags,
                                      DWORD_PTR params) {
  std::lock_guard<std::mutex> lock(mutex_);
  switch (message) {
    case MCI_OPEN: {
      const char* name = reinterpret_cast<MCI_OPEN_PARMS*>(params)->lpstrElementName;
      auto found = lengths.find(name ? name : "");
      length_ = found == lengths.end() ? kDefaultLength : found->second;
      position_ = 0;
      mode_ = MCI_MODE_STOP;
      open_ = nextDevice;
      break;
    }
    case MCI_PLAY: mode_ = MCI_MODE_PLAY; break;
    case MCI_STOP: mode_ = MCI_MODE_STOP; break;
    case MCI_SEEK:
      mode_ = MCI_MODE_STOP;
      if (flags & MCI_SEEK_TO_END) {
        position_ = length_;
      } else if (flags & MCI_SEEK_TO_START) {
        position_ = 0;
      } else {
        position_ = reinterpret_cast<MCI_SEEK_PARMS*>(params)->dwTo;
      }
      break;
    case MCI_CLOSE:
      mode_ = 0;
      open_ = 0;
      break;
  }
  replies[MCI_STATUS_LENGTH] = length_;
  replies[MCI_STATUS_POSITION] = position_;
  replies[MCI_STATUS_MODE] = mode_;
  return Recorder::SendCommand(device, message, flags, params);
}

void SimulatedDevice::SetPosition(DWORD ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  position_ = ms;
  replies[MCI_STATUS_POSITION] = position_;
}

std::string SimulatedDevice::Commands(size_t since) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string text;
  for (size_t i = since; i < calls.size(); ++i) {
    const mcitest::Call& c = calls[i];
    if (c.message == MCI_STATUS) continue;
    if (!text.empty()) text += ' ';
    text += std::string(mcitest::Name(c.message)) + "(" + std::to_string(c.device) + ")";
    if (c.message == MCI_OPEN) text += ":" + c.element;
    if (c.message == MCI_SEEK) {
      text += ":";
      text += (c.flags & MCI_SEEK_TO_END) ? "end" : std::to_string(c.to);
    }
  }
  return text;
}

size_t SimulatedDevice::Count() {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls.size();
}

DWORD_PTR SimulatedDevice::LastCallback() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto c = calls.rbegin(); c != calls.rend(); ++c) {
    if (c->message == MCI_PLAY) return c->callback;
  }
  return 0;
}

MCIDEVICEID SimulatedDevice::OpenDevice() {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_;
}

void SoundDialogTest::SetUp() {
  controltest::RegisterControls();
  const InstallResult installed = InstallSettings(folder_.str(), true);
  ASSERT_TRUE(installed.ok) << installed.error;
  CString keyPath;
  BuildRegistryKeyPath(keyPath);
  ASSERT_EQ(GetIniSettings(keyPath), 0);
}

void SoundDialogTest::TearDown() { MusicMCIObject.Close(); }

std::string SoundDialogTest::File(const std::string& name) {
  const std::string path = (folder_ / name.c_str()).string();
  const std::string extension = name.size() >= 4 ? name.substr(name.size() - 4) : "";
  testsupport::Bytes bytes = {'n', 'o', 't', ' ', 's', 'o', 'u', 'n', 'd'};
  if (_stricmp(extension.c_str(), ".wav") == 0) bytes = testsupport::ToneWave(200);
  if (_stricmp(extension.c_str(), ".mid") == 0) bytes = testsupport::ShortMidi();
  EXPECT_TRUE(testsupport::WriteBytes(path, bytes)) << path;
  return path;
}

namespace {

void FillList(char (&buffers)[kSoundListSize][kTextBufferSize],
              const std::vector<std::string>& paths) {
  std::memset(buffers, 0, sizeof buffers);
  for (size_t i = 0; i < paths.size() && i < kSoundListSize; ++i)
    std::strncpy(buffers[i], paths[i].c_str(), kTextBufferSize - 1);
}

}  // namespace

void SoundDialogTest::SetPlayList(const std::vector<std::string>& paths) {
  FillList(IniSettings.SOUND_SOUND, paths);
}

void SoundDialogTest::SetDefaultPlayList(const std::vector<std::string>& paths) {
  FillList(IniSettings.SOUND_DEFAULTSOUND, paths);
}

dialogtest::DialogRun SoundDialogTest::Run(const std::function<void(dialogtest::Driver&)>& script) {
  const dialogtest::DialogRun run =
      dialogtest::RunModal(DialogInstance(), IDD_SOUNDFX, SoundFXDlgProc, script);
  EXPECT_TRUE(run.found) << "the dialog did not open";
  EXPECT_FALSE(run.forcedClose) << "the script left the dialog open";
  return run;
}

std::vector<std::string> WorkCopy(dialogtest::Driver& d) {
  std::vector<std::string> copy;
  d.OnDialogThread([&] {
    for (const char* slot : SoundPlayListWorkCopy) copy.emplace_back(slot);
  });
  return copy;
}

}  // namespace soundtest
