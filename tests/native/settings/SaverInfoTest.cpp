// The saver info record: every setting buffer lands in its own field, durations become seconds.
#include "settings/SaverInfo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "settings/IniSettings.h"
#include "settings/TransFXTables.h"

namespace {

class SaverInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearSettingBuffers();
    ResetTransFXClassTable();
    // Every numeric setting gets its position in the read order as its value.
    int i = 0;
    for (const IniValueDef& def : IniValueDefs) {
      IniBuffer buffer = def.buffer(IniSettings);
      std::snprintf(buffer.text, static_cast<size_t>(buffer.size), "%d", ++i);
    }
  }
  void TearDown() override { ResetTransFXClassTable(); }
  int Position(const char* name) {
    for (int i = 0; i < kIniValueCount; ++i) {
      if (std::strcmp(IniValueDefs[i].name, name) == 0) return i + 1;
    }
    return -1;
  }
};

TEST_F(SaverInfoTest, EverySettingLandsInItsField) {
  SaverInfo info;
  ASSERT_TRUE(bInitInfo(&info));
  EXPECT_EQ(info.bClockOn, Position("CLOCKON"));
  EXPECT_EQ(info.bLogosOn, Position("LOGOSON"));
  EXPECT_EQ(info.bInterpOn, Position("INTERPON"));
  EXPECT_EQ(info.nRoutine, Position("SSFN"));
  for (int r = 0; r < 7; ++r) {
    EXPECT_EQ(info.nSpeed[r], Position(("SPEED" + std::to_string(r)).c_str())) << r;
    EXPECT_EQ(info.nRes[r], Position(("RES" + std::to_string(r)).c_str())) << r;
  }
  EXPECT_EQ(info.nSpeed[7], 0) << "the slide show has no sliders";
  EXPECT_EQ(info.nRes[7], 0);
  EXPECT_EQ(info.bTextOn, Position("TEXTFX_TEXTON"));
  EXPECT_EQ(info.nTextColor, Position("TEXTFX_TEXTCOLOR"));
  EXPECT_EQ(info.nTextBackgroundColor, Position("TEXTFX_BACKGROUNDCOLOR"));
  EXPECT_EQ(info.bBackdropShading, Position("TEXTFX_BACKDROPSHADING"));
  EXPECT_EQ(info.nTextBorderStyle, Position("TEXTFX_BORDERSTYLE"));
  EXPECT_EQ(info.nTextBackgroundStyle, Position("TEXTFX_BACKGROUNDSTYLE"));
  EXPECT_EQ(info.nContentStyle, Position("TEXTFX_CONTENTSTYLE"));
  EXPECT_EQ(info.nTitleStyle, Position("TEXTFX_TITLESTYLE"));
  EXPECT_EQ(info.nTextTransSelection, Position("TEXTFX_TRANSSELECTION"));
  EXPECT_EQ(info.nTextTransSpeed, Position("TEXTFX_TRANSSPEED"));
  EXPECT_EQ(info.bBounceOn, Position("TEXTFX_BOUNCEON"));
  EXPECT_EQ(info.nBounceSpeed, Position("TEXTFX_BOUNCESPEED"));
  EXPECT_EQ(info.bTopTenOn, Position("TOPTEN_ON"));
  EXPECT_EQ(info.nImageSize, Position("IMAGE_SIZE"));
  EXPECT_EQ(info.nImageBackStyle, Position("IMAGE_BACKSTYLE"));
  EXPECT_EQ(info.nImageScreenStyle, Position("IMAGE_SCREENSTYLE"));
  EXPECT_EQ(info.nImageBorderStyle, Position("IMAGE_BORDERSTYLE"));
  EXPECT_EQ(info.nImageBorderThickness, Position("IMAGE_BORDERTHICKNESS"));
  EXPECT_EQ(info.bImageBorderShadowOn, Position("IMAGE_BORDERSHADOWON"));
  EXPECT_EQ(info.bSoundOn, Position("SOUND_ON"));
  EXPECT_EQ(info.nSoundPlayOption, Position("SOUND_PLAYOPTION"));
  EXPECT_EQ(info.nSoundLoopFile, Position("SOUND_LOOPFILE"));
  EXPECT_EQ(info.bOwnImagesOn, Position("OWNIMAGES_ON"));
  EXPECT_EQ(info.csOwnImagesDir, std::to_string(Position("OWNIMAGES_DIR")).c_str());
}

TEST_F(SaverInfoTest, DurationCodesBecomeSeconds) {
  struct Case {
    char* buffer;
    const char* code;
    int SaverInfo::*field;
    int seconds;
  };
  std::vector<Case> cases = {
      {IniSettings.TIME, "0", &SaverInfo::nTimePerImage, 0},
      {IniSettings.TIME, "4", &SaverInfo::nTimePerImage, 600},
      {IniSettings.TIME, "7", &SaverInfo::nTimePerImage, 0},
      {IniSettings.TEXTFX_TEXTDURATION, "0", &SaverInfo::nTextDuration, 10},
      {IniSettings.TEXTFX_TEXTDURATION, "5", &SaverInfo::nTextDuration, 600},
      {IniSettings.TEXTFX_TEXTDURATION, "9", &SaverInfo::nTextDuration, 30},
      {IniSettings.TEXTFX_BOUNCEDURATION, "3", &SaverInfo::nBounceDuration, 600},
      {IniSettings.TEXTFX_BOUNCEDURATION, "-1", &SaverInfo::nBounceDuration, 60},
      {IniSettings.TEXTFX_BOUNCEDURATION, "", &SaverInfo::nBounceDuration, 60},
      {IniSettings.TEXTFX_BOUNCEDURATION, "1", &SaverInfo::nBounceDuration, 120},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    std::strcpy(c.buffer, c.code);
    SaverInfo info;
    bInitInfo(&info);
    EXPECT_EQ(info.*c.field, c.seconds);
  }
}

TEST_F(SaverInfoTest, CopiesThePlayListWholeAndLeavesTheScreenAlone) {
  std::memset(IniSettings.TOPTEN_PLAYLIST, 0, sizeof IniSettings.TOPTEN_PLAYLIST);
  std::strcpy(IniSettings.TOPTEN_PLAYLIST, "3,8,1");
  IniSettings.TOPTEN_PLAYLIST[200] = 'z';  // left behind by an older, longer list
  std::strcpy(IniSettings.DATADIRECTORY, "C:\\KLV\\vexdata");
  std::strcpy(IniSettings.TRANSFX[8], "0,11,22,33");

  SaverInfo info;
  info.hwnd = reinterpret_cast<HWND>(1);
  info.dwThreadId = 77;
  info.pScreenDoc = reinterpret_cast<CAnimDoc*>(2);
  info.nRunTimeError = 25;
  ASSERT_TRUE(bInitInfo(&info));
  EXPECT_EQ(std::memcmp(info.szTopTenPlaylist, IniSettings.TOPTEN_PLAYLIST, 256), 0);
  EXPECT_EQ(info.szTopTenPlaylist[200], 'z');
  EXPECT_EQ(info.csDataDirectory, "C:\\KLV\\vexdata");
  EXPECT_EQ(info.hwnd, nullptr);
  EXPECT_EQ(info.dwThreadId, 0u);
  EXPECT_EQ(info.pScreenDoc, reinterpret_cast<CAnimDoc*>(2));
  EXPECT_EQ(info.nRunTimeError, 25) << "the saver window sets it from the settings read";
  // The transition classes are loaded from their buffers on the way.
  EXPECT_EQ(FindTransFXClassRow(8)->enabled, 0);
  EXPECT_EQ(FindTransFXClassRow(8)->s3, 33);
}

TEST_F(SaverInfoTest, EmptySettingsReadAsZero) {
  ClearSettingBuffers();
  SaverInfo info;
  bInitInfo(&info);
  EXPECT_EQ(info.bClockOn, 0);
  EXPECT_EQ(info.nSpeed[0], 0);
  EXPECT_EQ(info.nTextDuration, 10);
  EXPECT_TRUE(info.csOwnImagesDir.IsEmpty());
}

}  // namespace
