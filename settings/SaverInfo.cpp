#include "settings/SaverInfo.h"

#include <cstring>

#include "settings/DecimalText.h"
#include "settings/IniSettings.h"
#include "settings/TransFXTables.h"

namespace {

template <int N>
int FromTable(const int (&table)[N], int code, int other) {
  return code >= 0 && code < N ? table[code] : other;
}

int Int(const char* text) { return saver::DecimalTextToInt(text); }

void ReadGeneral(SaverInfo* info) {
  info->bClockOn = Int(IniSettings.CLOCKON);
  info->bLogosOn = Int(IniSettings.LOGOSON);
  info->bInterpOn = Int(IniSettings.INTERPON);
  info->nTimePerImage = TimePerImageSeconds(Int(IniSettings.TIME));
  info->nRoutine = Int(IniSettings.SSFN);
  for (int i = 0; i < 7; ++i) {
    info->nSpeed[i] = Int(IniSettings.SPEED[i]);
    info->nRes[i] = Int(IniSettings.RES[i]);
  }
}

void ReadText(SaverInfo* info) {
  info->bTextOn = Int(IniSettings.TEXTFX_TEXTON);
  info->nTextDuration = TextDurationSeconds(Int(IniSettings.TEXTFX_TEXTDURATION));
  info->nTextColor = Int(IniSettings.TEXTFX_TEXTCOLOR);
  info->nTextBackgroundColor = Int(IniSettings.TEXTFX_BACKGROUNDCOLOR);
  info->bBackdropShading = Int(IniSettings.TEXTFX_BACKDROPSHADING);
  info->nTextBorderStyle = Int(IniSettings.TEXTFX_BORDERSTYLE);
  info->nTextBackgroundStyle = Int(IniSettings.TEXTFX_BACKGROUNDSTYLE);
  info->nContentStyle = Int(IniSettings.TEXTFX_CONTENTSTYLE);
  info->nTitleStyle = Int(IniSettings.TEXTFX_TITLESTYLE);
  info->nTextTransSelection = Int(IniSettings.TEXTFX_TRANSSELECTION);
  info->nTextTransSpeed = Int(IniSettings.TEXTFX_TRANSSPEED);
  info->bBounceOn = Int(IniSettings.TEXTFX_BOUNCEON);
  info->nBounceDuration = BounceDurationSeconds(Int(IniSettings.TEXTFX_BOUNCEDURATION));
  info->nBounceSpeed = Int(IniSettings.TEXTFX_BOUNCESPEED);
}

void ReadImagesAndSound(SaverInfo* info) {
  info->bTopTenOn = Int(IniSettings.TOPTEN_ON);
  static_assert(sizeof info->szTopTenPlaylist == sizeof IniSettings.TOPTEN_PLAYLIST,
                "the play list is copied whole");
  std::memcpy(info->szTopTenPlaylist, IniSettings.TOPTEN_PLAYLIST, sizeof info->szTopTenPlaylist);
  info->nImageSize = Int(IniSettings.IMAGE_SIZE);
  info->nImageBackStyle = Int(IniSettings.IMAGE_BACKSTYLE);
  info->nImageScreenStyle = Int(IniSettings.IMAGE_SCREENSTYLE);
  info->nImageBorderStyle = Int(IniSettings.IMAGE_BORDERSTYLE);
  info->nImageBorderThickness = Int(IniSettings.IMAGE_BORDERTHICKNESS);
  info->bImageBorderShadowOn = Int(IniSettings.IMAGE_BORDERSHADOWON);
  info->bSoundOn = Int(IniSettings.SOUND_ON);
  info->nSoundPlayOption = Int(IniSettings.SOUND_PLAYOPTION);
  info->nSoundLoopFile = Int(IniSettings.SOUND_LOOPFILE);
  info->bOwnImagesOn = Int(IniSettings.OWNIMAGES_ON);
  info->csOwnImagesDir = IniSettings.OWNIMAGES_DIR;
  info->csDataDirectory = IniSettings.DATADIRECTORY;
}

}  // namespace

int TimePerImageSeconds(int code) {
  static const int kSeconds[] = {0, 60, 120, 300, 600};
  return FromTable(kSeconds, code, 0);
}

int TextDurationSeconds(int code) {
  static const int kSeconds[] = {10, 30, 60, 120, 300, 600};
  return FromTable(kSeconds, code, 30);
}

int BounceDurationSeconds(int code) {
  static const int kSeconds[] = {60, 120, 300, 600};
  return FromTable(kSeconds, code, 60);
}

BOOL bInitInfo(SaverInfo* pInfo) {
  ReadGeneral(pInfo);
  // The drawing thread loads the classes again and reports a failure there.
  LoadTransFXClassParams();
  ReadText(pInfo);
  ReadImagesAndSound(pInfo);
  pInfo->hwnd = nullptr;
  pInfo->hThread = nullptr;
  pInfo->dwThreadId = 0;
  return TRUE;
}
