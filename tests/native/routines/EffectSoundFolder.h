// The data folder of the effect sounds for the tests of what a routine plays: while the object
// lives the settings' data folder is a temporary folder, and each wave written there is a 16-bit
// mono wave whose samples all hold one value, so a recording device can tell which one played.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "settings/IniSettings.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaveWriter.h"

namespace routinetest {

class EffectSoundFolder {
 public:
  explicit EffectSoundFolder(const char* prefix) : folder_(prefix) {
    std::memcpy(saved_, IniSettings.DATADIRECTORY, sizeof saved_);
    std::snprintf(IniSettings.DATADIRECTORY, sizeof IniSettings.DATADIRECTORY, "%s",
                  folder_.str().c_str());
  }
  ~EffectSoundFolder() { std::memcpy(IniSettings.DATADIRECTORY, saved_, sizeof saved_); }
  EffectSoundFolder(const EffectSoundFolder&) = delete;
  EffectSoundFolder& operator=(const EffectSoundFolder&) = delete;

  // Writes <name>.wav: `count` samples of `value` at 11,025 Hz. False when it cannot.
  bool Write(const std::string& name, int16_t value, int count = 64) const {
    testsupport::Bytes samples;
    for (int i = 0; i < count; ++i) testsupport::PutLE(samples, value, 2);
    return testsupport::WriteBytes(
        (folder_ / (name + ".wav").c_str()).string(),
        testsupport::RiffFile(
            "WAVE", {testsupport::FmtChunk(1, 1, 11025, 16), testsupport::DataChunk(samples)}));
  }

 private:
  testsupport::TempFolder folder_;
  char saved_[sizeof IniSettings.DATADIRECTORY] = {};
};

}  // namespace routinetest
