#include "tests/wine/config/InstalledSettings.h"

#include <gtest/gtest.h>

#include "seams/Registry.h"
#include "settings/ImageSetKey.h"
#include "settings/IniSettings.h"
#include "tests/wine/controls/DemoSets.h"
#include "tools/setup/SettingsInstaller.h"

namespace dialogtest {

std::string InstalledDataFolder() { return InstalledSets().alpha; }

void LoadInstalledSettings() {
  const InstallResult installed = InstallSettings(InstalledDataFolder(), true);
  ASSERT_TRUE(installed.ok) << installed.error;
  CString keyPath;
  BuildRegistryKeyPath(keyPath);
  ASSERT_EQ(GetIniSettings(keyPath), 0) << "the installed settings do not read back";
}

std::string RegisterImageSet(const char* name, const std::string& dataFolder) {
  const std::string keyPath = std::string(kImageSetRootKey) + "\\" + name;
  seams::RegistryKey key;
  EXPECT_EQ(key.Create(keyPath.c_str()), seams::kRegOk);
  EXPECT_EQ(key.SetString(kDataDirectoryValue, dataFolder.c_str()), seams::kRegOk);
  return keyPath;
}

}  // namespace dialogtest
