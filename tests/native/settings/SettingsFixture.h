// Writes a complete settings key through the current registry backend, so the same fixture
// serves the in-memory registry natively and the real one under Wine. Every value gets its own
// text, so a value read into the wrong buffer shows.
#pragma once

#include <map>
#include <string>

#include "seams/Registry.h"
#include "settings/IniSettings.h"

namespace fixture {

// The text the fixture stores for a settings value.
inline std::string ValueFor(const IniValueDef& def, const std::string& setKeyPath) {
  std::string name = def.name;
  if (name == "TRACEON") return "0";
  if (name == "IMAGESETKEY" || name == "SCREENSAVERKEY") return setKeyPath;
  return "v:" + name;
}

// The text the fixture stores for the i-th "TRANSFX" value: enabled, then three distinct sliders.
inline std::string TransFXValueFor(int i) {
  return "1," + std::to_string(i + 1) + "," + std::to_string(i + 2) + "," + std::to_string(i + 3);
}

inline void Put(const std::string& keyPath, const char* name, const std::string& text) {
  seams::RegistryKey key;
  if (key.Create(keyPath.c_str()) == seams::kRegOk) key.SetString(name, text.c_str());
}

// The settings key at keyPath with its "TRANSFX" subkey, the threads' numbers and the image set
// at setKeyPath with its data folder; all but the settings value named `skip`, when given.
inline void WriteCompleteSettings(const std::string& keyPath, const std::string& setKeyPath,
                                  const std::string& dataDirectory, const char* skip = nullptr) {
  seams::RegistryKey key;
  key.Create(keyPath.c_str());
  for (const IniValueDef& def : IniValueDefs) {
    if (skip && std::string(skip) == def.name) continue;
    key.SetString(def.name, ValueFor(def, setKeyPath).c_str());
  }
  key.SetString(kLastImageNoValue, "4");
  key.SetString(kLastSoundNoValue, "2");
  key.SetString(kOwnImagesLastImageNoValue, "7");
  key.Close();
  key.Create((keyPath + "\\TRANSFX").c_str());
  for (int i = 0; i < kTransFXValueCount; ++i) {
    key.SetString(TransFXValueDefs[i].name, TransFXValueFor(i).c_str());
  }
  key.Close();
  Put(setKeyPath, "DATADIRECTORY", dataDirectory);
}

// Every value the system and the setup program use, read back as "key|NAME" -> text.
inline std::map<std::string, std::string> ReadAllValues(const std::string& keyPath,
                                                        const std::string& setKeyPath) {
  std::map<std::string, std::string> values;
  char text[kTextBufferSize];
  auto read = [&](const std::string& path, const char* name) {
    seams::RegistryKey key;
    long result = key.Open(path.c_str(), seams::RegAccess::Read);
    if (result == seams::kRegOk) result = key.QueryString(name, text, sizeof text);
    values[path + "|" + name] = result == seams::kRegOk ? text : "<missing>";
  };
  for (const IniValueDef& def : IniValueDefs) read(keyPath, def.name);
  for (const SingleValueDef& def : SingleValueDefs) read(keyPath, def.name);
  for (const TransFXValueDef& def : TransFXValueDefs) read(keyPath + "\\TRANSFX", def.name);
  read(setKeyPath, "DATADIRECTORY");
  return values;
}

}  // namespace fixture
