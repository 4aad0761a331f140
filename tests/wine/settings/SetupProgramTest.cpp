// The setup program, run as the user runs it (same bitness as this test, so both see the same
// registry view), followed by the settings store reading what it wrote.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "seams/Registry.h"
#include "settings/IniSettings.h"
#include "tests/native/settings/SettingsFixture.h"
#include "tests/wine/support/ProgramRunner.h"

namespace fs = std::filesystem;

namespace {

// Runs the setup program with the arguments; its exit code, or -1 when it did not run.
int RunSetup(const std::string& arguments) {
  return wintest::RunProgram(wintest::BuildTreeProgram(SETUP_RELATIVE_DIR "/" SETUP_FILE_NAME),
                             arguments);
}

std::string KeyPath(const char* productCode) {
  CString path;
  BuildRegistryKeyPath(path, productCode);
  return path.str();
}

class SetupProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = (fs::temp_directory_path() / "setup-test" / "vexdata").string();
    fs::create_directories(folder);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(fs::path(folder).parent_path(), ignored);
  }
  std::map<std::string, std::string> Everything() {
    auto values = fixture::ReadAllValues(KeyPath(kScreenSaverProductCode), kSetKey);
    auto wallpaper = fixture::ReadAllValues(KeyPath(kWallpaperProductCode), kSetKey);
    values.insert(wallpaper.begin(), wallpaper.end());
    return values;
  }

  const std::string kSetKey = "SOFTWARE\\KLV\\IMAGESET\\vexdata";
  std::string folder;
  seams::ScopedRegistry real{&seams::Win32Registry()};
};

TEST_F(SetupProgramTest, InstallsSettingsTheStoreReadsAndASecondRunChangesNothing) {
  ASSERT_EQ(RunSetup("\"" + folder + "\""), 0);
  for (const char* product : {kScreenSaverProductCode, kWallpaperProductCode}) {
    SCOPED_TRACE(product);
    ASSERT_EQ(GetIniSettings(KeyPath(product).c_str()), 0);
    EXPECT_EQ(std::string(IniSettings.DATADIRECTORY), folder);
    EXPECT_EQ(std::string(IniSettings.IMAGESETKEY), kSetKey);
    CString error;
    // -1: nothing shown yet, so the first run begins at the set's first picture.
    EXPECT_EQ(GetLastImageNoIniSetting(KeyPath(product).c_str(), &error), -1) << error.str();
  }
  auto first = Everything();
  for (const auto& value : first) EXPECT_NE(value.second, "<missing>") << value.first;

  ASSERT_EQ(RunSetup("\"" + folder + "\""), 0);
  EXPECT_EQ(Everything(), first);

  // A user's choice survives a reinstall, and /force puts the default back.
  std::string key = KeyPath(kScreenSaverProductCode);
  fixture::Put(key, "SSFN", "3");
  ASSERT_EQ(RunSetup("\"" + folder + "\""), 0);
  ASSERT_EQ(GetIniSettings(key.c_str()), 0);
  EXPECT_STREQ(IniSettings.SSFN, "3");
  ASSERT_EQ(RunSetup("/force \"" + folder + "\""), 0);
  EXPECT_EQ(Everything(), first);
}

TEST_F(SetupProgramTest, RefusesAWrongCommandLine) {
  EXPECT_EQ(RunSetup(""), 2);
  EXPECT_EQ(RunSetup("/force"), 2);
  EXPECT_EQ(RunSetup("/bogus \"" + folder + "\""), 2);
  EXPECT_EQ(RunSetup("\"" + folder + "\" \"" + folder + "\""), 2);
}

}  // namespace
