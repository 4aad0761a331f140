// The settings store over the in-memory registry: read order, error numbers, buffer limits,
// backup and restore, saving, the single values and the trace switch.
#include "settings/IniSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "seams/Alerts.h"
#include "seams/Registry.h"
#include "seams/Trace.h"
#include "settings/DecimalText.h"
#include "tests/native/settings/SettingsFixture.h"

namespace fs = std::filesystem;

namespace {

const std::string kKey = "SOFTWARE\\KLV\\SCREENSAVER\\TRVSS12";
const std::string kTransFXKey = kKey + "\\TRANSFX";
const std::string kSetKey = "SOFTWARE\\KLV\\IMAGESET\\vexdata";
const std::string kDataDirectory = "C:\\KLV\\vexdata";

class IniSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seams::Trace::Close();
    fixture::WriteCompleteSettings(kKey, kSetKey, kDataDirectory);
  }
  void TearDown() override {
    seams::Trace::Close();
    EXPECT_EQ(registry.OpenHandles(), 0) << "a registry key was left open";
  }

  std::string Buffer(const IniValueDef& def) { return def.buffer(IniSettings).text; }
  const IniValueDef& Def(const char* name) {
    for (const IniValueDef& def : IniValueDefs) {
      if (std::strcmp(def.name, name) == 0) return def;
    }
    throw std::runtime_error(name);
  }

  seams::MemoryRegistry registry;
  seams::ScopedRegistry scoped{&registry};
};

TEST_F(IniSettingsTest, ValueNamesAreReadInTheirFixedOrder) {
  // clang-format off
  std::vector<std::string> expected = {
      "CLOCKON", "LOGOSON", "INTERPON", "TIME", "SSFN", "SPEED0", "RES0", "SPEED1", "RES1",
      "SPEED2", "RES2", "SPEED3", "RES3", "SPEED4", "RES4", "SPEED5", "RES5", "SPEED6", "RES6",
      "TRACEON", "TEXTFX_TEXTON", "TEXTFX_TEXTDURATION", "TEXTFX_TEXTCOLOR",
      "TEXTFX_BACKGROUNDCOLOR", "TEXTFX_BACKDROPSHADING", "TEXTFX_BORDERSTYLE",
      "TEXTFX_BACKGROUNDSTYLE", "TEXTFX_CONTENTSTYLE", "TEXTFX_TITLESTYLE",
      "TEXTFX_TRANSSELECTION", "TEXTFX_TRANSSPEED", "TEXTFX_BOUNCEON", "TEXTFX_BOUNCEDURATION",
      "TEXTFX_BOUNCESPEED", "TOPTEN_ON", "TOPTEN_PLAYLIST", "IMAGE_SIZE", "IMAGE_BACKSTYLE",
      "IMAGE_SCREENSTYLE", "IMAGE_BORDERSTYLE", "IMAGE_BORDERTHICKNESS", "IMAGE_BORDERSHADOWON",
      "SOUND_ON", "SOUND_PLAYOPTION", "SOUND_LOOPFILE", "SOUND_SOUND0", "SOUND_SOUND1",
      "SOUND_SOUND2", "SOUND_SOUND3", "SOUND_SOUND4", "SOUND_SOUND5", "SOUND_SOUND6",
      "SOUND_SOUND7", "SOUND_SOUND8", "SOUND_SOUND9", "SOUND_DEFAULTSOUND0",
      "SOUND_DEFAULTSOUND1", "SOUND_DEFAULTSOUND2", "SOUND_DEFAULTSOUND3", "SOUND_DEFAULTSOUND4",
      "SOUND_DEFAULTSOUND5", "SOUND_DEFAULTSOUND6", "SOUND_DEFAULTSOUND7", "SOUND_DEFAULTSOUND8",
      "SOUND_DEFAULTSOUND9", "WALLPAPER_INTERPON", "WALLPAPER_IMAGESIZE",
      "WALLPAPER_SCREENSTYLE", "WALLPAPER_BORDERSTYLE", "WALLPAPER_BORDERTHICKNESS",
      "WALLPAPER_BORDERSHADOWON", "WALLPAPER_IMAGENO", "WALLPAPER_IMAGEFX", "WALLPAPER_IMAGETONE",
      "WALLPAPER_AUTOROTATEON", "IMAGESETKEY", "SCREENSAVERKEY", "OWNIMAGES_ON", "OWNIMAGES_DIR"};
  // clang-format on
  ASSERT_EQ(expected.size(), static_cast<size_t>(kIniValueCount));
  std::set<std::string> readOnly = {"TRACEON", "SCREENSAVERKEY"};
  for (int i = 0; i < 10; ++i) readOnly.insert("SOUND_DEFAULTSOUND" + std::to_string(i));
  int written = 0;
  for (int i = 0; i < kIniValueCount; ++i) {
    EXPECT_EQ(IniValueDefs[i].name, expected[i]) << "position " << i;
    EXPECT_EQ(IniValueDefs[i].written, readOnly.count(expected[i]) == 0) << expected[i];
    written += IniValueDefs[i].written;
  }
  EXPECT_EQ(written, 67);
}

// The buffers tile the whole record without overlap, each of its value's size: no two values
// share a buffer, and the numbers have 64 bytes and the paths and lists 256.
TEST_F(IniSettingsTest, EveryValueHasABufferOfItsOwn) {
  std::vector<std::pair<const char*, int>> spans;
  std::set<std::string> wide = {"TOPTEN_PLAYLIST", "IMAGESETKEY", "SCREENSAVERKEY",
                                "OWNIMAGES_DIR"};
  for (int i = 0; i < 10; ++i) {
    wide.insert("SOUND_SOUND" + std::to_string(i));
    wide.insert("SOUND_DEFAULTSOUND" + std::to_string(i));
  }
  for (const IniValueDef& def : IniValueDefs) {
    IniBuffer buffer = def.buffer(IniSettings);
    EXPECT_EQ(buffer.size, wide.count(def.name) ? 256 : 64) << def.name;
    spans.push_back({buffer.text, buffer.size});
  }
  for (auto& row : IniSettings.TRANSFX) spans.push_back({row, 64});
  spans.push_back({IniSettings.DATADIRECTORY, 256});
  std::sort(spans.begin(), spans.end());
  const char* next = reinterpret_cast<const char*>(&IniSettings);
  for (auto& span : spans) {
    EXPECT_EQ(span.first, next);
    next = span.first + span.second;
  }
  EXPECT_EQ(next, reinterpret_cast<const char*>(&IniSettings) + sizeof IniSettings);
}

TEST_F(IniSettingsTest, ReadsEveryValueIntoItsBuffer) {
  ASSERT_EQ(GetIniSettings(kKey.c_str()), 0);
  for (const IniValueDef& def : IniValueDefs) {
    EXPECT_EQ(Buffer(def), fixture::ValueFor(def, kSetKey)) << def.name;
  }
  for (int i = 0; i < kTransFXValueCount; ++i) {
    EXPECT_STREQ(IniSettings.TRANSFX[i], fixture::TransFXValueFor(i).c_str()) << i;
  }
  EXPECT_STREQ(IniSettings.DATADIRECTORY, kDataDirectory.c_str());
  // The named buffers are the ones the names say.
  EXPECT_STREQ(IniSettings.SPEED[6], "v:SPEED6");
  EXPECT_STREQ(IniSettings.RES[0], "v:RES0");
  EXPECT_STREQ(IniSettings.SOUND_SOUND[9], "v:SOUND_SOUND9");
  EXPECT_STREQ(IniSettings.SOUND_DEFAULTSOUND[0], "v:SOUND_DEFAULTSOUND0");
  EXPECT_STREQ(IniSettings.WALLPAPER_IMAGENO, "v:WALLPAPER_IMAGENO");
  EXPECT_STREQ(IniSettings.OWNIMAGES_DIR, "v:OWNIMAGES_DIR");
}

TEST_F(IniSettingsTest, ValueNamesIgnoreCaseAsInTheRegistry) {
  registry.Remove(kKey, "CLOCKON");
  registry.Put(kKey, "ClockOn", "lower");
  ASSERT_EQ(GetIniSettings(kKey.c_str()), 0);
  EXPECT_STREQ(IniSettings.CLOCKON, "lower");
}

TEST_F(IniSettingsTest, FirstMissingValueGives28AndKeepsTheValuesBeforeIt) {
  for (int missing = 0; missing < kIniValueCount; ++missing) {
    SCOPED_TRACE(IniValueDefs[missing].name);
    fixture::WriteCompleteSettings(kKey, kSetKey, kDataDirectory);
    ASSERT_TRUE(registry.Remove(kKey, IniValueDefs[missing].name));
    ASSERT_EQ(GetIniSettings(kKey.c_str()), kIniErrorValue);
    for (int i = 0; i < kIniValueCount; ++i) {
      std::string expected = i < missing ? fixture::ValueFor(IniValueDefs[i], kSetKey) : "";
      ASSERT_EQ(Buffer(IniValueDefs[i]), expected) << IniValueDefs[i].name;
    }
    EXPECT_STREQ(IniSettings.TRANSFX[0], "");
    EXPECT_STREQ(IniSettings.DATADIRECTORY, "");
  }
}

TEST_F(IniSettingsTest, EachFailureHasItsErrorNumber) {
  struct Case {
    const char* what;
    std::function<void(seams::MemoryRegistry&)> breakIt;
    int error;
  };
  std::vector<Case> cases = {
      {"no settings key",
       [](seams::MemoryRegistry& r) { r.FailNth(seams::RegOp::Open, 1, seams::kRegNotFound); }, 25},
      {"key information refused",
       [](seams::MemoryRegistry& r) { r.FailNth(seams::RegOp::Info, 1); }, 26},
      {"a value refused", [](seams::MemoryRegistry& r) { r.FailNth(seams::RegOp::Query, 40); }, 28},
      {"no TRANSFX subkey",
       [](seams::MemoryRegistry& r) { r.FailNth(seams::RegOp::Open, 2, seams::kRegNotFound); }, 34},
      {"a TRANSFX value missing",
       [](seams::MemoryRegistry& r) { r.Remove(kTransFXKey, "TRANS3DFXCLASS_SQPEEL"); }, 34},
      {"image set key missing",
       [](seams::MemoryRegistry& r) {
         r.Put(kKey, "IMAGESETKEY", "SOFTWARE\\KLV\\IMAGESET\\nowhere");
       },
       33},
      {"image set key path too short",
       [](seams::MemoryRegistry& r) { r.Put(kKey, "IMAGESETKEY", "SOFTWARE\\KLV"); }, 33},
      {"no DATADIRECTORY", [](seams::MemoryRegistry& r) { r.Remove(kSetKey, "DATADIRECTORY"); },
       33},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    seams::MemoryRegistry broken;
    seams::ScopedRegistry use(&broken);
    fixture::WriteCompleteSettings(kKey, kSetKey, kDataDirectory);
    c.breakIt(broken);
    EXPECT_EQ(GetIniSettings(kKey.c_str()), c.error);
    EXPECT_EQ(broken.OpenHandles(), 0) << "a key was left open";
  }
}

TEST_F(IniSettingsTest, TextsMustFitTheirBufferWithTheTerminator) {
  struct Case {
    const char* name;
    std::string bytes;  // stored as they are, terminator included or not
    int error;
  };
  std::vector<Case> cases = {
      {"TOPTEN_PLAYLIST", std::string(255, '7') + '\0', 0},
      {"TOPTEN_PLAYLIST", std::string(256, '7') + '\0', kIniErrorValue},
      {"OWNIMAGES_DIR", std::string(255, 'd') + '\0', 0},
      {"CLOCKON", std::string(63, '1') + '\0', 0},
      {"CLOCKON", std::string(64, '1') + '\0', kIniErrorValue},
      // Stored without a terminator: filling the buffer exactly is refused, shorter is usable.
      {"TOPTEN_PLAYLIST", std::string(256, '7'), kIniErrorValue},
      {"CLOCKON", std::string(64, '1'), kIniErrorValue},
      {"CLOCKON", "12", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " of " + std::to_string(c.bytes.size()) + " bytes");
    fixture::WriteCompleteSettings(kKey, kSetKey, kDataDirectory);
    registry.PutBytes(kKey, c.name, c.bytes);
    ASSERT_EQ(GetIniSettings(kKey.c_str()), c.error);
    std::string read = Buffer(Def(c.name));
    EXPECT_EQ(read, c.error ? "" : std::string(c.bytes.c_str()));
  }
}

TEST_F(IniSettingsTest, FailedReadKeepsTheTraceFlag) {
  registry.Remove(kKey, "TRACEON");
  EXPECT_EQ(GetIniSettings(kKey.c_str()), kIniErrorValue);
  EXPECT_FALSE(seams::Trace::IsOn());
}

TEST_F(IniSettingsTest, RestoreExchangesBuffersWithTheBackup) {
  ASSERT_EQ(GetIniSettings(kKey.c_str()), 0);
  std::strcpy(IniSettings.CLOCKON, "1");
  std::strcpy(IniSettings.TOPTEN_PLAYLIST, "3,17,0");
  EXPECT_TRUE(BackupSettings());
  std::strcpy(IniSettings.CLOCKON, "0");
  std::strcpy(IniSettings.TOPTEN_PLAYLIST, "5");
  std::strcpy(IniSettings.TRANSFX[31], "0,1,2,3");
  std::strcpy(IniSettings.DATADIRECTORY, "D:\\elsewhere");

  EXPECT_TRUE(RestoreSettings());
  EXPECT_STREQ(IniSettings.CLOCKON, "1");
  EXPECT_STREQ(IniSettingsBackup.CLOCKON, "0");
  EXPECT_STREQ(IniSettings.TOPTEN_PLAYLIST, "3,17,0");
  EXPECT_STREQ(IniSettingsBackup.TOPTEN_PLAYLIST, "5");
  EXPECT_STREQ(IniSettings.TRANSFX[31], fixture::TransFXValueFor(31).c_str());
  EXPECT_STREQ(IniSettingsBackup.TRANSFX[31], "0,1,2,3");
  EXPECT_STREQ(IniSettings.DATADIRECTORY, kDataDirectory.c_str());
  EXPECT_STREQ(IniSettingsBackup.DATADIRECTORY, "D:\\elsewhere");
  // The backup's text ends at its own terminator, whatever was longer before.
  EXPECT_EQ(std::string(IniSettingsBackup.TOPTEN_PLAYLIST, 7), std::string("5\0\0\0\0\0\0", 7));
  EXPECT_STREQ(IniSettings.SPEED[2], "v:SPEED2") << "untouched buffers keep their text";
}

TEST_F(IniSettingsTest, ClearEmptiesEveryBuffer) {
  ASSERT_EQ(GetIniSettings(kKey.c_str()), 0);
  ClearSettingBuffers();
  const char* bytes = reinterpret_cast<const char*>(&IniSettings);
  EXPECT_TRUE(std::all_of(bytes, bytes + sizeof IniSettings, [](char c) { return c == 0; }));
}

TEST_F(IniSettingsTest, SaveWritesTheWrittenValuesAndTheClasses) {
  ASSERT_EQ(GetIniSettings(kKey.c_str()), 0);
  for (const IniValueDef& def : IniValueDefs) std::strcpy(def.buffer(IniSettings).text, "new");
  std::strcpy(IniSettings.TRANSFX[5], "0,9,9,9");
  seams::ScopedAlertRecorder alerts;
  vSaveIniSettings(kKey.c_str());
  EXPECT_TRUE(alerts.Records().empty());
  for (const IniValueDef& def : IniValueDefs) {
    std::string stored;
    ASSERT_TRUE(registry.Get(kKey, def.name, &stored));
    EXPECT_EQ(stored, def.written ? "new" : fixture::ValueFor(def, kSetKey)) << def.name;
  }
  std::string stored;
  ASSERT_TRUE(registry.Get(kTransFXKey, "TRANS2DFXCLASS_SKIPSQ", &stored));
  EXPECT_EQ(stored, "0,9,9,9");
}

TEST_F(IniSettingsTest, AFailedSaveLeavesTheClassesUntouchedAndSaysSo) {
  ASSERT_EQ(GetIniSettings(kKey.c_str()), 0);
  for (int i = 0; i < kTransFXValueCount; ++i) std::strcpy(IniSettings.TRANSFX[i], "0,1,1,1");
  // k = 0 fails the opening of the key; k = 1..67 the k-th value written.
  for (int k = 0; k <= 67; ++k) {
    SCOPED_TRACE("failure at " + std::to_string(k));
    seams::MemoryRegistry broken;
    seams::ScopedRegistry use(&broken);
    fixture::WriteCompleteSettings(kKey, kSetKey, kDataDirectory);
    auto before = broken.Snapshot(kTransFXKey);
    if (k == 0) {
      broken.FailNth(seams::RegOp::Open, 1);
    } else {
      broken.FailNth(seams::RegOp::Set, k);
    }
    seams::ScopedAlertRecorder alerts;
    vSaveIniSettings(kKey.c_str());
    EXPECT_EQ(broken.Snapshot(kTransFXKey), before);
    ASSERT_EQ(alerts.Records().size(), 1u);
    EXPECT_EQ(alerts.Records()[0].text, "Unable to save Screen Saver registry values - reinstall");
    EXPECT_EQ(alerts.Records()[0].caption, "Screen Saver");
    EXPECT_EQ(alerts.Records()[0].flags, seams::kAlertIconHand);
    EXPECT_EQ(broken.OpenHandles(), 0);
  }
}

TEST_F(IniSettingsTest, AFailedClassSaveSaysSo) {
  ASSERT_EQ(GetIniSettings(kKey.c_str()), 0);
  registry.FailNth(seams::RegOp::Set, 67 + 3);
  seams::ScopedAlertRecorder alerts;
  vSaveIniSettings(kKey.c_str());
  ASSERT_EQ(alerts.Records().size(), 1u);
  EXPECT_EQ(alerts.Records()[0].text,
            "Unable to save TransFX Screen Saver registry values - reinstall");
}

TEST_F(IniSettingsTest, SingleValuesRoundTripAndReportFailures) {
  struct Routine {
    const char* name;
    const char* value;
    std::function<int(const char*, CString*)> get;
    std::function<BOOL(const char*, int, CString*)> set;
  };
  std::vector<Routine> routines = {
      {"LastImageNo", "LASTIMAGENO", GetLastImageNoIniSetting, SetLastImageNoIniSetting},
      {"LastSoundNo", "LASTSOUNDNO", GetLastSoundNoIniSetting, SetLastSoundNoIniSetting},
      {"OwnImagesLastImageNo", "OWNIMAGES_LASTIMAGENO", GetOwnImagesLastImageNoIniSetting,
       SetOwnImagesLastImageNoIniSetting},
  };
  for (const Routine& r : routines) {
    SCOPED_TRACE(r.name);
    std::string getName = std::string("Get") + r.name + "IniSetting";
    std::string setName = std::string("Set") + r.name + "IniSetting";
    CString error;
    EXPECT_TRUE(r.set(kKey.c_str(), -12, &error));
    std::string stored;
    EXPECT_TRUE(registry.Get(kKey, r.value, &stored));
    EXPECT_EQ(stored, "-12");
    EXPECT_EQ(r.get(kKey.c_str(), &error), -12);
    EXPECT_TRUE(error.IsEmpty());

    registry.Remove(kKey, r.value);
    EXPECT_EQ(r.get(kKey.c_str(), &error), -1);
    EXPECT_EQ(error, (getName + " Error Message - No reg query").c_str());
    EXPECT_EQ(r.get("SOFTWARE\\KLV\\SCREENSAVER\\NONE", &error), -1);
    EXPECT_EQ(error, (getName + " Error Message - No reg key").c_str());
    EXPECT_FALSE(r.set("SOFTWARE\\KLV\\SCREENSAVER\\NONE", 1, &error));
    EXPECT_EQ(error, (setName + " Error Message - No reg key").c_str());
    registry.FailNth(seams::RegOp::Set, 1);
    EXPECT_FALSE(r.set(kKey.c_str(), 1, &error));
    EXPECT_EQ(error, (setName + " Error Message - No reg set").c_str());
    EXPECT_EQ(r.get(kKey.c_str(), nullptr), -1) << "a null error text is allowed";
  }
  CString error;
  EXPECT_TRUE(SetWallpaperImageNoIniSetting(kKey.c_str(), 9, &error));
  std::string stored;
  EXPECT_TRUE(registry.Get(kKey, "WALLPAPER_IMAGENO", &stored));
  EXPECT_EQ(stored, "9");
}

TEST(IniSettingsPaths, KeyPathsAndTraceFilePaths) {
  CString path;
  BuildRegistryKeyPath(path, "TRVSS12");
  EXPECT_EQ(path, "SOFTWARE\\KLV\\SCREENSAVER\\TRVSS12");
  BuildRegistryKeyPath(path, std::string(80, 'C').c_str());
  EXPECT_EQ(path.GetLength(), 25 + 63) << "the code is read into a 64-character buffer";
  EXPECT_EQ(TransFXKeyPath("K"), "K\\TRANSFX");

  EXPECT_EQ(TraceFilePath("C:\\KLV\\vexdata", "KLVTRACE.TXT"), "C:\\KLV\\KLVTRACE.TXT");
  EXPECT_EQ(TraceFilePath("vexdata", "KLVTRACE.TXT"), "KLVTRACE.TXT");
  EXPECT_EQ(TraceFilePath("C:\\KLV\\set1234", "KLVTRACE.TXT"), "C:\\KLV\\KLVTRACE.TXT")
      << "only the length counts";
  EXPECT_EQ(TraceFilePath("short", "KLVTRACE.TXT"), "") << "never cut below the empty text";
  EXPECT_EQ(TraceFilePath("", "KLVTRACE.TXT"), "");
}

#ifndef _WIN32
TEST(IniSettingsWallpaper, NoDesktopNatively) {
  CString error;
  EXPECT_FALSE(SetWallpaperIniSetting("/tmp/WALLPAPER.BMP", &error));
  EXPECT_EQ(error,
            "SetWallpaperIniSetting Error Message - Unable to make the SystemParametersInfo call");
}
#endif

// ---- the trace switch -------------------------------------------------------------------------

// The trace is a text file: line ends are CR LF on Windows.
std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  std::string text = bytes.str();
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

// An installed set in <temp>/<unique>/vexdata: the trace files belong in <temp>/<unique>/.
class IniSettingsTraceTest : public IniSettingsTest {
 protected:
  void SetUp() override {
    IniSettingsTest::SetUp();
    base = fs::temp_directory_path() /
           ("ini-trace-" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(base);
    fs::create_directories(base / "vexdata");
    dataDirectory = (base / "vexdata").string();
    fixture::WriteCompleteSettings(kKey, kSetKey, dataDirectory);
  }
  void TearDown() override {
    IniSettingsTest::TearDown();
    std::error_code ignored;
    fs::remove_all(base, ignored);
  }
  void PutTraceSwitch() { std::ofstream(base / "REQTRACE.TXT") << "x"; }
  fs::path TraceFile() const { return base / "KLVTRACE.TXT"; }

  fs::path base;
  std::string dataDirectory;
};

TEST_F(IniSettingsTraceTest, TraceOnWritesTheBannerAndTheEndLine) {
  registry.Put(kKey, "TRACEON", "1");
  ASSERT_EQ(GetIniSettings(kKey.c_str()), 0);
  EXPECT_TRUE(seams::Trace::IsOn());
  seams::Trace::Close();
  EXPECT_EQ(ReadFile(TraceFile()),
            "KELVANE - TRACE OUTPUT\n\n"
            "This text file logs all the routines called by the screen saver.\n"
            "Email this text file to support@kelvane.example if system crash occurs \n"
            "repeatedly.\n\n"
            "GetIniSettings - end\n");
}

TEST_F(IniSettingsTraceTest, TheSwitchFileTurnsTracingOn) {
  PutTraceSwitch();
  ASSERT_EQ(GetIniSettings(kKey.c_str()), 0);
  EXPECT_TRUE(seams::Trace::IsOn());
  EXPECT_TRUE(fs::exists(TraceFile()));
}

TEST_F(IniSettingsTraceTest, NoSwitchNoTrace) {
  ASSERT_EQ(GetIniSettings(kKey.c_str()), 0);
  EXPECT_FALSE(seams::Trace::IsOn());
  EXPECT_FALSE(fs::exists(TraceFile()));
}

TEST_F(IniSettingsTraceTest, EachReadSetsTheFlagAnew) {
  registry.Put(kKey, "TRACEON", "1");
  ASSERT_EQ(GetIniSettings(kKey.c_str()), 0);
  ASSERT_TRUE(seams::Trace::IsOn());
  registry.Put(kKey, "TRACEON", "0");
  ASSERT_EQ(GetIniSettings(kKey.c_str()), 0);
  EXPECT_FALSE(seams::Trace::IsOn()) << "tracing switched off and its file closed";
}

TEST_F(IniSettingsTraceTest, ShortDataFolderPathsOpenNothing) {
  // The installed set's folder is too short to cut: no switch file is looked for, even one in the
  // current folder; the current set's folder is too short: no trace file, tracing stays off.
  fixture::Put("SOFTWARE\\KLV\\IMAGESET\\short", "DATADIRECTORY", "ab");
  registry.Put(kKey, "SCREENSAVERKEY", "SOFTWARE\\KLV\\IMAGESET\\short");
  ASSERT_EQ(GetIniSettings(kKey.c_str()), 0);
  EXPECT_FALSE(seams::Trace::IsOn());

  registry.Put(kKey, "IMAGESETKEY", "SOFTWARE\\KLV\\IMAGESET\\short");
  registry.Put(kKey, "TRACEON", "1");
  ASSERT_EQ(GetIniSettings(kKey.c_str()), 0);
  EXPECT_FALSE(seams::Trace::IsOn());
}

TEST_F(IniSettingsTraceTest, FailedRoutinesWriteNoEndLine) {
  registry.Put(kKey, "TRACEON", "1");
  ASSERT_EQ(GetIniSettings(kKey.c_str()), 0);
  CString error;
  registry.Remove(kKey, "LASTIMAGENO");
  EXPECT_EQ(GetLastImageNoIniSetting(kKey.c_str(), &error), -1);
  registry.FailNth(seams::RegOp::Set, 1);
  {
    seams::ScopedAlertRecorder alerts;
    vSaveIniSettings(kKey.c_str());
  }
  registry.Remove(kKey, "CLOCKON");
  EXPECT_EQ(GetIniSettings(kKey.c_str()), kIniErrorValue);
  EXPECT_TRUE(seams::Trace::IsOn()) << "a failed read leaves the flag as it was";
  seams::Trace::Close();
  std::string trace = ReadFile(TraceFile());
  std::string tail = trace.substr(trace.find("GetIniSettings - end\n"));
  EXPECT_EQ(tail,
            "GetIniSettings - end\n"
            "GetLastImageNoIniSetting - start\n"
            "vSaveIniSettings - start\n"
            "vSaveIniSettings - abort_end\n"
            "GetIniSettings - start\n");
}

}  // namespace

// A stored number outside what a control can show reads as the nearest value it can.
TEST(DecimalTextInRange, ReadsTheNearestValueInRange) {
  struct Case {
    const char* text;
    int low, high, expected;
  };
  const Case cases[] = {
      {"50", 1, 100, 50},
      {"0", 1, 100, 1},
      {"101", 1, 100, 100},
      {"-7", 0, 4, 0},
      {"9", 0, 6, 6},
      {"", 1, 100, 1},
      {"abc", 0, 7, 0},
      {" 3x", 0, 7, 3},
      {"99999999999", 0, 255, 255},
      {"-99999999999", 0, 255, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, saver::DecimalTextInRange(c.text, c.low, c.high))
        << '"' << c.text << "\" in " << c.low << ".." << c.high;
  }
}
