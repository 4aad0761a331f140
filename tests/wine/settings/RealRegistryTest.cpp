// The settings store over the real registry (Win32 backend): what the store relies on holds for
// the system's registry too. Each test uses a settings key of its own; the prefix is private to
// this program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "seams/Alerts.h"
#include "seams/Registry.h"
#include "settings/ImageSetKey.h"
#include "settings/IniSettings.h"
#include "tests/native/settings/SettingsFixture.h"

namespace fs = std::filesystem;

namespace {

const std::string kSetKey = "SOFTWARE\\KLV\\IMAGESET\\realtest";
const std::string kDataDirectory = "C:\\KLV\\vexdata";

class RealRegistryTest : public ::testing::Test {
 protected:
  std::string KeyPath() {
    CString path;
    BuildRegistryKeyPath(path, ::testing::UnitTest::GetInstance()->current_test_info()->name());
    return path.str();
  }
  seams::ScopedRegistry real{&seams::Win32Registry()};
};

TEST_F(RealRegistryTest, ReadsCompleteSettings) {
  std::string key = KeyPath();
  fixture::WriteCompleteSettings(key, kSetKey, kDataDirectory);
  ASSERT_EQ(GetIniSettings(key.c_str()), 0);
  for (const IniValueDef& def : IniValueDefs) {
    EXPECT_EQ(std::string(def.buffer(IniSettings).text), fixture::ValueFor(def, kSetKey))
        << def.name;
  }
  for (int i = 0; i < kTransFXValueCount; ++i) {
    EXPECT_STREQ(IniSettings.TRANSFX[i], fixture::TransFXValueFor(i).c_str());
  }
  EXPECT_STREQ(IniSettings.DATADIRECTORY, kDataDirectory.c_str());
}

TEST_F(RealRegistryTest, MissingValueGives28KeepingTheEarlierOnes) {
  std::string key = KeyPath();
  fixture::WriteCompleteSettings(key, kSetKey, kDataDirectory, "TRACEON");
  ASSERT_EQ(GetIniSettings(key.c_str()), kIniErrorValue);
  EXPECT_STREQ(IniSettings.RES[6], "v:RES6");
  EXPECT_STREQ(IniSettings.TRACEON, "");
  EXPECT_STREQ(IniSettings.TEXTFX_TEXTON, "");
  EXPECT_EQ(GetIniSettings("SOFTWARE\\KLV\\SCREENSAVER\\NOSUCHPRODUCT"), kIniErrorNoKey);
}

TEST_F(RealRegistryTest, LongTextsAreReadOnlyWhenTheyFit) {
  std::string key = KeyPath();
  fixture::WriteCompleteSettings(key, kSetKey, kDataDirectory);
  fixture::Put(key, "TOPTEN_PLAYLIST", std::string(255, '1'));
  ASSERT_EQ(GetIniSettings(key.c_str()), 0);
  EXPECT_EQ(std::strlen(IniSettings.TOPTEN_PLAYLIST), 255u);

  fixture::Put(key, "TOPTEN_PLAYLIST", std::string(256, '1'));
  EXPECT_EQ(GetIniSettings(key.c_str()), kIniErrorValue);
  EXPECT_STREQ(IniSettings.TOPTEN_PLAYLIST, "");

  // 256 bytes stored without a terminator: refused rather than read unterminated.
  std::string bytes(256, '2');
  HKEY hkey;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_SET_VALUE, &hkey), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(hkey, "TOPTEN_PLAYLIST", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(bytes.data()), 256),
            ERROR_SUCCESS);
  RegCloseKey(hkey);
  EXPECT_EQ(GetIniSettings(key.c_str()), kIniErrorValue);
  EXPECT_STREQ(IniSettings.TOPTEN_PLAYLIST, "");
}

TEST_F(RealRegistryTest, SavesAndReadsBack) {
  std::string key = KeyPath();
  fixture::WriteCompleteSettings(key, kSetKey, kDataDirectory);
  ASSERT_EQ(GetIniSettings(key.c_str()), 0);
  std::strcpy(IniSettings.CLOCKON, "1");
  std::strcpy(IniSettings.TRACEON, "1");  // read-only: never written back
  std::strcpy(IniSettings.TRANSFX[3], "0,4,5,6");
  seams::ScopedAlertRecorder alerts;
  vSaveIniSettings(key.c_str());
  EXPECT_TRUE(alerts.Records().empty());
  ASSERT_EQ(GetIniSettings(key.c_str()), 0);
  EXPECT_STREQ(IniSettings.CLOCKON, "1");
  EXPECT_STREQ(IniSettings.TRACEON, "0");
  EXPECT_STREQ(IniSettings.TRANSFX[3], "0,4,5,6");

  vSaveIniSettings("SOFTWARE\\KLV\\SCREENSAVER\\NOSUCHPRODUCT");
  ASSERT_EQ(alerts.Records().size(), 1u);
  EXPECT_EQ(alerts.Records()[0].text, "Unable to save Screen Saver registry values - reinstall");
}

TEST_F(RealRegistryTest, SingleValues) {
  std::string key = KeyPath();
  fixture::WriteCompleteSettings(key, kSetKey, kDataDirectory);
  CString error;
  EXPECT_TRUE(SetLastImageNoIniSetting(key.c_str(), 11, &error));
  EXPECT_EQ(GetLastImageNoIniSetting(key.c_str(), &error), 11);
  EXPECT_TRUE(SetWallpaperImageNoIniSetting(key.c_str(), -1, &error));
  ASSERT_EQ(GetIniSettings(key.c_str()), 0);
  EXPECT_STREQ(IniSettings.WALLPAPER_IMAGENO, "-1");

  std::string bare = key + "BARE";
  fixture::Put(bare, "CLOCKON", "0");
  EXPECT_EQ(GetLastSoundNoIniSetting(bare.c_str(), &error), -1);
  EXPECT_EQ(error, "GetLastSoundNoIniSetting Error Message - No reg query");
  EXPECT_EQ(GetLastSoundNoIniSetting((key + "NONE").c_str(), &error), -1);
  EXPECT_EQ(error, "GetLastSoundNoIniSetting Error Message - No reg key");
}

// Keys are opened with the least access each use needs, as a user without administrator rights
// gets: reading cannot write, writing cannot read.
TEST_F(RealRegistryTest, KeysOpenWithTheAccessTheyNeed) {
  std::string key = KeyPath();
  fixture::Put(key, "CLOCKON", "1");
  char buffer[64];
  seams::RegistryKey reader;
  ASSERT_EQ(reader.Open(key.c_str(), seams::RegAccess::Read), seams::kRegOk);
  EXPECT_EQ(reader.QueryString("CLOCKON", buffer, sizeof buffer), seams::kRegOk);
  EXPECT_NE(reader.SetString("CLOCKON", "0"), seams::kRegOk);
  seams::RegistryKey writer;
  ASSERT_EQ(writer.Open(key.c_str(), seams::RegAccess::SetValue), seams::kRegOk);
  EXPECT_EQ(writer.SetString("CLOCKON", "0"), seams::kRegOk);
  EXPECT_NE(writer.QueryString("CLOCKON", buffer, sizeof buffer), seams::kRegOk);
}

TEST_F(RealRegistryTest, ImageSetKeyAndFolder) {
  fixture::Put(kSetKey, "DATADIRECTORY", "C:\\sets\\vexdata");
  CString folder = "old";
  EXPECT_TRUE(GetImageSetDataDirectory(kSetKey.c_str(), folder));
  EXPECT_EQ(folder, "C:\\sets\\vexdata");
  EXPECT_FALSE(GetImageSetDataDirectory("SOFTWARE\\KLV\\IMAGESE", folder)) << "20 characters";
  EXPECT_TRUE(folder.IsEmpty());
  fixture::Put("SOFTWARE\\OTHER\\PLACE\\XYZ", "DATADIRECTORY", "D:\\x");
  EXPECT_TRUE(GetImageSetDataDirectory("SOFTWARE\\OTHER\\PLACE\\XYZ", folder))
      << "only the length of the path is checked";

  fs::path set = fs::temp_directory_path() / "imageset-test" / "vexdata";
  fs::create_directories(set);
  const char* files[] = {"imfull.dat", "imagedes.dat", "cover.bmp", "imagedoc.dat"};
  for (const char* file : files) std::ofstream(set / file) << "x";
  EXPECT_TRUE(IsImageSetDirectory(set.string().c_str()));
  for (const char* file : files) {
    SCOPED_TRACE(file);
    fs::rename(set / file, set / "aside");
    EXPECT_FALSE(IsImageSetDirectory(set.string().c_str()));
    fs::rename(set / "aside", set / file);
  }
  fs::remove_all(set.parent_path());
}

TEST_F(RealRegistryTest, KeyPathTakesTheProductCodeFromStringThree) {
  CString path;
  BuildRegistryKeyPath(path);
  EXPECT_EQ(path, "SOFTWARE\\KLV\\SCREENSAVER\\TRVSS12");
}

TEST_F(RealRegistryTest, WallpaperIsSet) {
  CString error;
  EXPECT_TRUE(SetWallpaperIniSetting("C:\\windows\\WALLPAPER.BMP", &error)) << error.str();
  EXPECT_FALSE(SetWallpaperIniSetting(nullptr, &error));
  EXPECT_EQ(error,
            "SetWallpaperIniSetting Error Message - Unable to make the SystemParametersInfo call");
}

}  // namespace
