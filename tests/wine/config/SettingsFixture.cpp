#include "tests/wine/config/SettingsFixture.h"

#include <cstring>

#include <gtest/gtest.h>

#include "config/ConfigureDialog.h"
#include "controls/DialogSupport.h"
#include "res/DialogIds.h"
#include "tests/wine/controls/DemoSets.h"
#include "tools/setup/SettingsInstaller.h"

namespace settingstest {
namespace {

void ReadKeyInto(const std::string& path, const std::string& prefix, RegistryImage* image) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS)
      << path;
  for (DWORD index = 0;; ++index) {
    char name[256];
    BYTE data[1024];
    DWORD nameLength = sizeof name, dataLength = sizeof data, type = 0;
    const LONG read =
        RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength);
    if (read == ERROR_NO_MORE_ITEMS) break;
    // Anything else would end the copy early and let a comparison pass on part of the key.
    if (read != ERROR_SUCCESS) {
      ADD_FAILURE() << path << ": value " << index << " unreadable (" << read << ")";
      break;
    }
    (*image)[prefix + name] = {type, std::string(reinterpret_cast<char*>(data), dataLength)};
  }
  RegCloseKey(key);
}

}  // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return ScreenSaverConfigureDialog(dialog, message, wParam, lParam);
}

const std::string& DataFolder() { return dialogtest::InstalledSets().alpha; }

void InstallSettings(const std::vector<std::pair<const char*, const char*>>& values) {
  const InstallResult result = ::InstallSettings(DataFolder(), true);
  ASSERT_TRUE(result.ok) << result.error;
  for (const auto& value : values) SetValue(value.first, value.second);
}

// The settings key, opened for `access` for the length of a scope.
class SettingsKey {
 public:
  explicit SettingsKey(REGSAM access) {
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, access, &key_), ERROR_SUCCESS);
  }
  ~SettingsKey() {
    if (key_) RegCloseKey(key_);
  }
  SettingsKey(const SettingsKey&) = delete;
  SettingsKey& operator=(const SettingsKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

void SetValue(const char* name, const char* value) {
  const SettingsKey key(KEY_SET_VALUE);
  ASSERT_EQ(RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                           static_cast<DWORD>(std::strlen(value) + 1)),
            ERROR_SUCCESS)
      << name;
}

void DeleteValue(const char* name) {
  const SettingsKey key(KEY_SET_VALUE);
  ASSERT_EQ(RegDeleteValueA(key.get(), name), ERROR_SUCCESS) << name;
}

std::string GetValue(const char* name) {
  const SettingsKey key(KEY_QUERY_VALUE);
  char value[300] = "";
  DWORD size = sizeof value - 1, type = 0;
  if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
      ERROR_SUCCESS) {
    return "<missing>";
  }
  return value;
}

RegistryImage ReadRegistryImage() {
  RegistryImage image;
  ReadKeyInto(kSettingsKey, "", &image);
  ReadKeyInto(std::string(kSettingsKey) + "\\TRANSFX", "TRANSFX\\", &image);
  return image;
}

std::vector<std::string> ChangedValues(const RegistryImage& before, const RegistryImage& after) {
  std::vector<std::string> changed;
  for (const auto& entry : before) {
    const auto found = after.find(entry.first);
    if (found == after.end() || found->second != entry.second) changed.push_back(entry.first);
  }
  for (const auto& entry : after) {
    if (!before.count(entry.first)) changed.push_back(entry.first);
  }
  return changed;
}

dialogtest::DialogRun RunSettingsDialog(const std::function<void(dialogtest::Driver&)>& script) {
  EXPECT_TRUE(RegisterDialogClasses(DialogInstance()));
  return dialogtest::RunModal(DialogInstance(), DLG_SCRNSAVECONFIGURE, SettingsDialogProc, script);
}

}  // namespace settingstest
