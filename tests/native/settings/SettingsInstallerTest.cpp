// The setup program's core over the in-memory registry: what it installs is what the store
// reads, a second run changes nothing, and existing values are kept unless forced.
#include "tools/setup/SettingsInstaller.h"

#include <gtest/gtest.h>

#include <string>

#include "seams/Registry.h"
#include "settings/IniSettings.h"
#include "settings/TransFXTables.h"
#include "tests/native/settings/SettingsFixture.h"

namespace {

const std::string kFolder = "C:\\KLV\\vexdata";
const std::string kSetKey = "SOFTWARE\\KLV\\IMAGESET\\vexdata";

class SettingsInstallerTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(registry.OpenHandles(), 0); }

  std::string KeyPath(const char* productCode) {
    CString path;
    BuildRegistryKeyPath(path, productCode);
    return path.str();
  }

  seams::MemoryRegistry registry;
  seams::ScopedRegistry scoped{&registry};
};

TEST_F(SettingsInstallerTest, InstalledSettingsReadBackForBothProducts) {
  InstallResult result = InstallSettings(kFolder + "\\", false);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.setKeyPath, kSetKey);
  EXPECT_EQ(result.written, 1 + 2 * (kIniValueCount + kSingleValueCount + kTransFXValueCount));
  EXPECT_EQ(result.kept, 0);

  for (const char* product : {kScreenSaverProductCode, kWallpaperProductCode}) {
    SCOPED_TRACE(product);
    std::string key = KeyPath(product);
    ASSERT_EQ(GetIniSettings(key.c_str()), 0);
    EXPECT_STREQ(IniSettings.DATADIRECTORY, kFolder.c_str()) << "no trailing backslash";
    EXPECT_STREQ(IniSettings.IMAGESETKEY, kSetKey.c_str());
    EXPECT_STREQ(IniSettings.SCREENSAVERKEY, kSetKey.c_str());
    EXPECT_STREQ(IniSettings.SSFN, "7");
    EXPECT_STREQ(IniSettings.TEXTFX_TEXTON, "1");
    EXPECT_STREQ(IniSettings.TRACEON, "0");
    // Nothing shown yet: the drawing thread's next picture is then the first ("-1" read without
    // an error is no failure).
    CString error;
    EXPECT_EQ(GetLastImageNoIniSetting(key.c_str(), &error), -1);
    EXPECT_EQ(GetOwnImagesLastImageNoIniSetting(key.c_str(), &error), -1);
    EXPECT_TRUE(error.IsEmpty()) << static_cast<const char*>(error);
    EXPECT_EQ(GetLastSoundNoIniSetting(key.c_str(), &error), 0);

    // The classes come back as the table's own defaults, every one of them on.
    TransFXClassTable.fill(TransFXClassRow{});
    for (int i = 0; i < kTransFXClassCount; ++i) {
      TransFXClassTable[i].classId = TransFXClassDefaults()[i].classId;
    }
    LoadTransFXClassParams();
    for (int i = 0; i < kTransFXClassCount; ++i) {
      const TransFXClassRow& row = TransFXClassTable[i];
      const TransFXClassRow& def = TransFXClassDefaults()[i];
      EXPECT_EQ(row.enabled, 1) << row.classId;
      EXPECT_EQ(row.s1, def.s1) << row.classId;
      EXPECT_EQ(row.s2, def.s2) << row.classId;
      EXPECT_EQ(row.s3, def.s3) << row.classId;
    }
    ResetTransFXClassTable();
  }
}

TEST_F(SettingsInstallerTest, ASecondRunChangesNothing) {
  ASSERT_TRUE(InstallSettings(kFolder, false).ok);
  auto before = registry.Snapshot("SOFTWARE\\KLV");
  InstallResult again = InstallSettings(kFolder, false);
  ASSERT_TRUE(again.ok);
  EXPECT_EQ(again.written, 0);
  EXPECT_EQ(again.kept, 1 + 2 * (kIniValueCount + kSingleValueCount + kTransFXValueCount));
  EXPECT_EQ(registry.Snapshot("SOFTWARE\\KLV"), before);
}

TEST_F(SettingsInstallerTest, KeepsUsersValuesUnlessForced) {
  ASSERT_TRUE(InstallSettings(kFolder, false).ok);
  std::string key = KeyPath(kScreenSaverProductCode);
  registry.Put(key, "CLOCKON", "1");
  registry.Put(key + "\\TRANSFX", "TRANS2DFXCLASS_BLINDS", "0,5,5,5");
  registry.Put(kSetKey, "DATADIRECTORY", "D:\\moved\\vexdata");
  registry.Remove(key, "TRACEON");

  InstallResult keep = InstallSettings(kFolder, false);
  ASSERT_TRUE(keep.ok);
  EXPECT_EQ(keep.written, 1) << "only the missing value";
  std::string text;
  EXPECT_TRUE(registry.Get(key, "CLOCKON", &text));
  EXPECT_EQ(text, "1");
  EXPECT_TRUE(registry.Get(key + "\\TRANSFX", "TRANS2DFXCLASS_BLINDS", &text));
  EXPECT_EQ(text, "0,5,5,5");
  EXPECT_TRUE(registry.Get(kSetKey, "DATADIRECTORY", &text));
  EXPECT_EQ(text, "D:\\moved\\vexdata");
  EXPECT_TRUE(registry.Get(key, "TRACEON", &text));
  EXPECT_EQ(text, "0");

  ASSERT_TRUE(InstallSettings(kFolder, true).ok);
  EXPECT_TRUE(registry.Get(key, "CLOCKON", &text));
  EXPECT_EQ(text, "0");
  EXPECT_TRUE(registry.Get(key + "\\TRANSFX", "TRANS2DFXCLASS_BLINDS", &text));
  EXPECT_EQ(text, "1,1,50,1");
  EXPECT_TRUE(registry.Get(kSetKey, "DATADIRECTORY", &text));
  EXPECT_EQ(text, kFolder);
}

TEST_F(SettingsInstallerTest, RefusesBadFoldersAndReportsRegistryFailures) {
  EXPECT_FALSE(InstallSettings("", false).ok);
  EXPECT_FALSE(InstallSettings("\\\\", false).ok);
  InstallResult tooLong = InstallSettings("C:\\" + std::string(253, 'x'), false);
  EXPECT_FALSE(tooLong.ok);
  EXPECT_NE(tooLong.error.find("255"), std::string::npos);
  EXPECT_TRUE(registry.Snapshot("").empty()) << "nothing written for a refused folder";

  registry.FailNth(seams::RegOp::Set, 4);  // the image set, CLOCKON, LOGOSON, INTERPON
  InstallResult failed = InstallSettings(kFolder, false);
  EXPECT_FALSE(failed.ok);
  EXPECT_NE(failed.error.find("cannot set INTERPON"), std::string::npos) << failed.error;
  registry.FailNth(seams::RegOp::Create, 1);
  EXPECT_FALSE(InstallSettings(kFolder, false).ok);
}

TEST(SettingsInstallerPaths, SetKeyIsNamedAfterTheFoldersLastName) {
  EXPECT_EQ(ImageSetKeyPathFor("C:\\KLV\\vexdata"), "SOFTWARE\\KLV\\IMAGESET\\vexdata");
  EXPECT_EQ(ImageSetKeyPathFor("C:\\KLV\\vexdata\\\\"), "SOFTWARE\\KLV\\IMAGESET\\vexdata");
  EXPECT_EQ(ImageSetKeyPathFor("/srv/sets/demoset"), "SOFTWARE\\KLV\\IMAGESET\\demoset");
  EXPECT_EQ(ImageSetKeyPathFor("C:\\"), "SOFTWARE\\KLV\\IMAGESET\\DEFAULT");
}

}  // namespace
