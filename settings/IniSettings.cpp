#include "settings/IniSettings.h"

#include <algorithm>
#include <cstring>

#include "framework/File.h"
#include "seams/Alerts.h"
#include "seams/Registry.h"
#include "seams/Trace.h"
#include "settings/DecimalText.h"
#include "settings/ImageSetKey.h"

#ifdef _WIN32
#include <windows.h>
#endif

IniSettingsBuffers IniSettings;
IniSettingsBuffers IniSettingsBackup;

#define INI_BUFFER(member) \
  [](IniSettingsBuffers& b) { return IniBuffer{b.member, static_cast<int>(sizeof b.member)}; }

// Install defaults give a pleasant first run: screen-size images with captions, the slide show,
// every transition class on (the "TRANSFX" defaults come from the class table). The image-set
// keys have no default here: the setup program names the set it installs.
const IniValueDef IniValueDefs[kIniValueCount] = {
    {"CLOCKON", INI_BUFFER(CLOCKON), true, "0"},
    {"LOGOSON", INI_BUFFER(LOGOSON), true, "1"},
    {"INTERPON", INI_BUFFER(INTERPON), true, "1"},
    {"TIME", INI_BUFFER(TIME), true, "1"},
    {"SSFN", INI_BUFFER(SSFN), true, "7"},
    {"SPEED0", INI_BUFFER(SPEED[0]), true, "50"},
    {"RES0", INI_BUFFER(RES[0]), true, "50"},
    {"SPEED1", INI_BUFFER(SPEED[1]), true, "50"},
    {"RES1", INI_BUFFER(RES[1]), true, "50"},
    {"SPEED2", INI_BUFFER(SPEED[2]), true, "50"},
    {"RES2", INI_BUFFER(RES[2]), true, "50"},
    {"SPEED3", INI_BUFFER(SPEED[3]), true, "50"},
    {"RES3", INI_BUFFER(RES[3]), true, "50"},
    {"SPEED4", INI_BUFFER(SPEED[4]), true, "50"},
    {"RES4", INI_BUFFER(RES[4]), true, "50"},
    {"SPEED5", INI_BUFFER(SPEED[5]), true, "50"},
    {"RES5", INI_BUFFER(RES[5]), true, "50"},
    {"SPEED6", INI_BUFFER(SPEED[6]), true, "50"},
    {"RES6", INI_BUFFER(RES[6]), true, "50"},
    {"TRACEON", INI_BUFFER(TRACEON), false, "0"},
    {"TEXTFX_TEXTON", INI_BUFFER(TEXTFX_TEXTON), true, "1"},
    {"TEXTFX_TEXTDURATION", INI_BUFFER(TEXTFX_TEXTDURATION), true, "0"},
    {"TEXTFX_TEXTCOLOR", INI_BUFFER(TEXTFX_TEXTCOLOR), true, "19"},
    {"TEXTFX_BACKGROUNDCOLOR", INI_BUFFER(TEXTFX_BACKGROUNDCOLOR), true, "4"},
    {"TEXTFX_BACKDROPSHADING", INI_BUFFER(TEXTFX_BACKDROPSHADING), true, "1"},
    {"TEXTFX_BORDERSTYLE", INI_BUFFER(TEXTFX_BORDERSTYLE), true, "0"},
    {"TEXTFX_BACKGROUNDSTYLE", INI_BUFFER(TEXTFX_BACKGROUNDSTYLE), true, "1"},
    {"TEXTFX_CONTENTSTYLE", INI_BUFFER(TEXTFX_CONTENTSTYLE), true, "1"},
    {"TEXTFX_TITLESTYLE", INI_BUFFER(TEXTFX_TITLESTYLE), true, "5"},
    {"TEXTFX_TRANSSELECTION", INI_BUFFER(TEXTFX_TRANSSELECTION), true, "2"},
    {"TEXTFX_TRANSSPEED", INI_BUFFER(TEXTFX_TRANSSPEED), true, "50"},
    {"TEXTFX_BOUNCEON", INI_BUFFER(TEXTFX_BOUNCEON), true, "0"},
    {"TEXTFX_BOUNCEDURATION", INI_BUFFER(TEXTFX_BOUNCEDURATION), true, "0"},
    {"TEXTFX_BOUNCESPEED", INI_BUFFER(TEXTFX_BOUNCESPEED), true, "50"},
    {"TOPTEN_ON", INI_BUFFER(TOPTEN_ON), true, "0"},
    {"TOPTEN_PLAYLIST", INI_BUFFER(TOPTEN_PLAYLIST), true, ""},
    {"IMAGE_SIZE", INI_BUFFER(IMAGE_SIZE), true, "0"},
    {"IMAGE_BACKSTYLE", INI_BUFFER(IMAGE_BACKSTYLE), true, "2"},
    {"IMAGE_SCREENSTYLE", INI_BUFFER(IMAGE_SCREENSTYLE), true, "0"},
    {"IMAGE_BORDERSTYLE", INI_BUFFER(IMAGE_BORDERSTYLE), true, "3"},
    {"IMAGE_BORDERTHICKNESS", INI_BUFFER(IMAGE_BORDERTHICKNESS), true, "0"},
    {"IMAGE_BORDERSHADOWON", INI_BUFFER(IMAGE_BORDERSHADOWON), true, "1"},
    {"SOUND_ON", INI_BUFFER(SOUND_ON), true, "0"},
    {"SOUND_PLAYOPTION", INI_BUFFER(SOUND_PLAYOPTION), true, "0"},
    {"SOUND_LOOPFILE", INI_BUFFER(SOUND_LOOPFILE), true, "-1"},
    {"SOUND_SOUND0", INI_BUFFER(SOUND_SOUND[0]), true, ""},
    {"SOUND_SOUND1", INI_BUFFER(SOUND_SOUND[1]), true, ""},
    {"SOUND_SOUND2", INI_BUFFER(SOUND_SOUND[2]), true, ""},
    {"SOUND_SOUND3", INI_BUFFER(SOUND_SOUND[3]), true, ""},
    {"SOUND_SOUND4", INI_BUFFER(SOUND_SOUND[4]), true, ""},
    {"SOUND_SOUND5", INI_BUFFER(SOUND_SOUND[5]), true, ""},
    {"SOUND_SOUND6", INI_BUFFER(SOUND_SOUND[6]), true, ""},
    {"SOUND_SOUND7", INI_BUFFER(SOUND_SOUND[7]), true, ""},
    {"SOUND_SOUND8", INI_BUFFER(SOUND_SOUND[8]), true, ""},
    {"SOUND_SOUND9", INI_BUFFER(SOUND_SOUND[9]), true, ""},
    {"SOUND_DEFAULTSOUND0", INI_BUFFER(SOUND_DEFAULTSOUND[0]), false, ""},
    {"SOUND_DEFAULTSOUND1", INI_BUFFER(SOUND_DEFAULTSOUND[1]), false, ""},
    {"SOUND_DEFAULTSOUND2", INI_BUFFER(SOUND_DEFAULTSOUND[2]), false, ""},
    {"SOUND_DEFAULTSOUND3", INI_BUFFER(SOUND_DEFAULTSOUND[3]), false, ""},
    {"SOUND_DEFAULTSOUND4", INI_BUFFER(SOUND_DEFAULTSOUND[4]), false, ""},
    {"SOUND_DEFAULTSOUND5", INI_BUFFER(SOUND_DEFAULTSOUND[5]), false, ""},
    {"SOUND_DEFAULTSOUND6", INI_BUFFER(SOUND_DEFAULTSOUND[6]), false, ""},
    {"SOUND_DEFAULTSOUND7", INI_BUFFER(SOUND_DEFAULTSOUND[7]), false, ""},
    {"SOUND_DEFAULTSOUND8", INI_BUFFER(SOUND_DEFAULTSOUND[8]), false, ""},
    {"SOUND_DEFAULTSOUND9", INI_BUFFER(SOUND_DEFAULTSOUND[9]), false, ""},
    {"WALLPAPER_INTERPON", INI_BUFFER(WALLPAPER_INTERPON), true, "1"},
    {"WALLPAPER_IMAGESIZE", INI_BUFFER(WALLPAPER_IMAGESIZE), true, "0"},
    {"WALLPAPER_SCREENSTYLE", INI_BUFFER(WALLPAPER_SCREENSTYLE), true, "0"},
    {"WALLPAPER_BORDERSTYLE", INI_BUFFER(WALLPAPER_BORDERSTYLE), true, "3"},
    {"WALLPAPER_BORDERTHICKNESS", INI_BUFFER(WALLPAPER_BORDERTHICKNESS), true, "0"},
    {"WALLPAPER_BORDERSHADOWON", INI_BUFFER(WALLPAPER_BORDERSHADOWON), true, "1"},
    {"WALLPAPER_IMAGENO", INI_BUFFER(WALLPAPER_IMAGENO), true, "-1"},
    {"WALLPAPER_IMAGEFX", INI_BUFFER(WALLPAPER_IMAGEFX), true, "0"},
    {"WALLPAPER_IMAGETONE", INI_BUFFER(WALLPAPER_IMAGETONE), true, "0"},
    {"WALLPAPER_AUTOROTATEON", INI_BUFFER(WALLPAPER_AUTOROTATEON), true, "1"},
    {"IMAGESETKEY", INI_BUFFER(IMAGESETKEY), true, nullptr},
    {"SCREENSAVERKEY", INI_BUFFER(SCREENSAVERKEY), false, nullptr},
    {"OWNIMAGES_ON", INI_BUFFER(OWNIMAGES_ON), true, "0"},
    {"OWNIMAGES_DIR", INI_BUFFER(OWNIMAGES_DIR), true, ""},
};

#undef INI_BUFFER

const TransFXValueDef TransFXValueDefs[kTransFXValueCount] = {
    {"TRANS2DFXCLASS_SKIPBARS", 0},
    {"TRANS2DFXCLASS_CURTAINS", 1},
    {"TRANS2DFXCLASS_SKIPDIAGS", 2},
    {"TRANS2DFXCLASS_DIAGS", 3},
    {"TRANS2DFXCLASS_RECTANGLES", 4},
    {"TRANS2DFXCLASS_SKIPSQ", 5},
    {"TRANS2DFXCLASS_2OPPOSINGSQ", 6},
    {"TRANS2DFXCLASS_GEOSHAPES", 7},
    {"TRANS2DFXCLASS_BLINDS", 8},
    {"TRANS2DFXCLASS_CHECKERSFADE", 9},
    {"TRANS2DFXCLASS_MULTISQUAREFADE", 10},
    {"TRANS2DFXCLASS_SIMPLEMULTISQCORNERFADE", 11},
    {"TRANS2DFXCLASS_DIAGSTRIPSMULTISQCORNERFADE", 12},
    {"TRANS2DFXCLASS_BLOCKSPATTERNEXPANDSHRINKFADE", 13},
    {"TRANS2DFXCLASS_OPPOSINGSQPATTERNFADE", 14},
    {"TRANS2DFXCLASS_SERRATEDDIAGONALS", 15},
    {"TRANS2DFXCLASS_STARBURST", 16},
    {"TRANS2DFXCLASS_EPAULETTES", 17},
    {"TRANS2DFXCLASS_DIAMONDS", 18},
    {"TRANS2DFXCLASS_COMPLEXTRIANGLES", 19},
    {"TRANS2DFXCLASS_LINEARWIPES", 20},
    {"TRANS2DFXCLASS_LINEARSLIDES", 21},
    {"TRANS2DFXCLASS_SHRINKANDSLIDE", 22},
    {"TRANS2DFXCLASS_ROTATEWIPE", 23},
    {"TRANS2DFXCLASS_LINEARWIPEMULTISQRIPPLE", 24},
    {"TRANS2DFXCLASS_CIRCULARWIPEMULTISQRIPPLE", 25},
    {"TRANS2DFXCLASS_RANDOMMULTISQRIPPLE", 26},
    {"TRANS2DFXCLASS_COMPRESSEXPAND", 27},
    {"TRANS2DFXCLASS_LINEARWIPETIDE", 28},
    {"TRANS2DFXCLASS_SLIDINGSHUTTERS", 29},
    {"TRANS2DFXCLASS_STEPS", 30},
    {"TRANS3DFXCLASS_SQPEEL", 100},
};

// The threads' last numbers. No picture has been shown after an install: "-1" makes the first
// run begin at the set's (or the folder's) first picture, since the drawing thread shows the one
// after the number stored. The music thread starts from the sound stored.
const SingleValueDef SingleValueDefs[kSingleValueCount] = {
    {kLastImageNoValue, "-1"},
    {kLastSoundNoValue, "0"},
    {kOwnImagesLastImageNoValue, "-1"},
};

namespace {

constexpr const char kSupportAddress[] = "support@kelvane.example";
constexpr int kTraceCutLength = 7;  // the length of the data folder name every image set uses

// ---- buffers --------------------------------------------------------------------------------

IniBuffer TransFXBuffer(IniSettingsBuffers& buffers, int index) {
  return IniBuffer{buffers.TRANSFX[index], kNumberBufferSize};
}

// Calls fn(buffer, backup) for each of the 112 buffers.
template <typename Fn>
void ForEachBufferPair(Fn fn) {
  for (const IniValueDef& def : IniValueDefs) {
    fn(def.buffer(IniSettings), def.buffer(IniSettingsBackup));
  }
  for (int i = 0; i < kTransFXValueCount; ++i) {
    fn(TransFXBuffer(IniSettings, i), TransFXBuffer(IniSettingsBackup, i));
  }
  fn(IniBuffer{IniSettings.DATADIRECTORY, kTextBufferSize},
     IniBuffer{IniSettingsBackup.DATADIRECTORY, kTextBufferSize});
}

// The text's length, never past the buffer's last byte (which then becomes its terminator).
int TextLength(const IniBuffer& buffer) {
  const char* end = std::find(buffer.text, buffer.text + buffer.size - 1, '\0');
  return static_cast<int>(end - buffer.text);
}

// Copies the text and its terminator; the bytes after it stay as they were.
void CopyText(const IniBuffer& to, const IniBuffer& from) {
  int length = std::min(TextLength(from), to.size - 1);
  std::memmove(to.text, from.text, static_cast<size_t>(length));
  to.text[length] = '\0';
}

void ExchangeTexts(const IniBuffer& buffer, const IniBuffer& backup) {
  char kept[kTextBufferSize];
  int keptLength = TextLength(buffer);
  std::memcpy(kept, buffer.text, static_cast<size_t>(keptLength));
  kept[keptLength] = '\0';
  std::memset(buffer.text, 0, static_cast<size_t>(keptLength) + 1);
  int backupLength = TextLength(backup);
  CopyText(buffer, backup);
  std::memset(backup.text, 0, static_cast<size_t>(backupLength) + 1);
  CopyText(backup, IniBuffer{kept, kTextBufferSize});
}

// ---- reading --------------------------------------------------------------------------------

// Steps 2 to 5 of GetIniSettings over the settings key itself; 0 or the error number.
int ReadSettingsKey(const char* keyPath) {
  seams::RegistryKey key;
  if (key.Open(keyPath, seams::RegAccess::Read) != seams::kRegOk) return kIniErrorNoKey;
  if (key.QueryInfo(nullptr, nullptr) != seams::kRegOk) return kIniErrorKeyInfo;
  for (const IniValueDef& def : IniValueDefs) {
    IniBuffer buffer = def.buffer(IniSettings);
    if (key.QueryString(def.name, buffer.text, static_cast<uint32_t>(buffer.size)) !=
        seams::kRegOk) {
      return kIniErrorValue;
    }
  }
  return 0;
}

bool TraceSwitchFileExists() {
  CString folder;
  GetImageSetDataDirectory(IniSettings.SCREENSAVERKEY, folder);
  CString marker = TraceFilePath(folder, kTraceSwitchFileName);
  CFileStatus status;
  return !marker.IsEmpty() && CFile::GetStatus(marker, status);
}

// Tracing is on when "TRACEON" says so or the switch file exists beside the installed set's
// data folder; it then starts a new trace file beside the current set's data folder.
void StartOrStopTrace() {
  bool wanted = saver::DecimalTextToInt(IniSettings.TRACEON) != 0 || TraceSwitchFileExists();
  CString path = TraceFilePath(IniSettings.DATADIRECTORY, kTraceFileName);
  if (!wanted || path.IsEmpty() || !seams::Trace::Open(path, "KELVANE - TRACE OUTPUT\n")) {
    seams::Trace::Close();
    return;
  }
  seams::Trace::Printf("This text file logs all the routines called by the screen saver.\n");
  seams::Trace::Printf("Email this text file to %s if system crash occurs \nrepeatedly.\n\n",
                       kSupportAddress);
}

// ---- writing --------------------------------------------------------------------------------

bool WriteValue(seams::RegistryKey& key, const char* name, const IniBuffer& buffer) {
  std::string text(buffer.text, static_cast<size_t>(TextLength(buffer)));
  return key.SetString(name, text.c_str()) == seams::kRegOk;
}

bool WriteSettingsKey(const char* keyPath) {
  seams::RegistryKey key;
  if (key.Open(keyPath, seams::RegAccess::SetValue) != seams::kRegOk) return false;
  for (const IniValueDef& def : IniValueDefs) {
    if (def.written && !WriteValue(key, def.name, def.buffer(IniSettings))) return false;
  }
  return true;
}

bool WriteTransFXKey(const char* transfxKeyPath) {
  seams::RegistryKey key;
  if (key.Open(transfxKeyPath, seams::RegAccess::SetValue) != seams::kRegOk) return false;
  for (int i = 0; i < kTransFXValueCount; ++i) {
    if (!WriteValue(key, TransFXValueDefs[i].name, TransFXBuffer(IniSettings, i))) return false;
  }
  return true;
}

void ReportSaveFailure(const char* text) {
  seams::Alert(text, "Screen Saver", seams::kAlertIconHand);
}

// ---- single values ---------------------------------------------------------------------------

void SetErrorText(CString* errorText, const char* routine, const char* what) {
  if (errorText) *errorText = CString(routine) + " Error Message - " + what;
}

int GetSingleValue(const char* routine, const char* keyPath, const char* name, CString* errorText) {
  seams::TraceScope trace(routine);
  seams::RegistryKey key;
  if (key.Open(keyPath, seams::RegAccess::Read) != seams::kRegOk) {
    SetErrorText(errorText, routine, "No reg key");
    trace.Fail();
    return -1;
  }
  char buffer[kNumberBufferSize];
  if (key.QueryString(name, buffer, sizeof buffer) != seams::kRegOk) {
    SetErrorText(errorText, routine, "No reg query");
    trace.Fail();
    return -1;
  }
  return saver::DecimalTextToInt(buffer);
}

BOOL SetSingleValue(const char* routine, const char* keyPath, const char* name, int n,
                    CString* errorText) {
  seams::TraceScope trace(routine);
  seams::RegistryKey key;
  if (key.Open(keyPath, seams::RegAccess::SetValue) != seams::kRegOk) {
    SetErrorText(errorText, routine, "No reg key");
    trace.Fail();
    return FALSE;
  }
  CString text;
  text.Format("%d", n);
  if (key.SetString(name, text) != seams::kRegOk) {
    SetErrorText(errorText, routine, "No reg set");
    trace.Fail();
    return FALSE;
  }
  return TRUE;
}

}  // namespace

// ---- paths ----------------------------------------------------------------------------------

void BuildRegistryKeyPath(CString& path, const char* productCode) {
  char code[kNumberBufferSize] = {};
  if (productCode) std::strncpy(code, productCode, sizeof code - 1);
  path = CString(kSettingsKeyPrefix) + code;
}

#ifdef _WIN32
void BuildRegistryKeyPath(CString& path) {
  CString code;
  code.LoadString(kProductCodeStringId);
  BuildRegistryKeyPath(path, code);
}
#endif

CString TransFXKeyPath(const char* keyPath) { return CString(keyPath) + "\\" + kTransFXSubkeyName; }

CString TraceFilePath(const char* dataDirectory, const char* fileName) {
  CString folder(dataDirectory);
  if (folder.GetLength() < kTraceCutLength) return CString();
  return folder.Left(folder.GetLength() - kTraceCutLength) + fileName;
}

// ---- the whole store ------------------------------------------------------------------------

int GetIniSettings(const char* keyPath) {
  seams::TraceScope trace("GetIniSettings");
  ClearSettingBuffers();
  int error = ReadSettingsKey(keyPath);
  if (!error && !GetTransFXIniSetting(TransFXKeyPath(keyPath))) error = kIniErrorTransFX;
  if (!error && !GetDataDirectoryIniSetting()) error = kIniErrorDataDirectory;
  if (error) {
    trace.Fail();
    return error;
  }
  StartOrStopTrace();
  return 0;
}

BOOL GetTransFXIniSetting(const char* transfxKeyPath) {
  seams::TraceScope trace("GetTransFXIniSetting");
  seams::RegistryKey key;
  bool ok = key.Open(transfxKeyPath, seams::RegAccess::Read) == seams::kRegOk;
  for (int i = 0; ok && i < kTransFXValueCount; ++i) {
    IniBuffer buffer = TransFXBuffer(IniSettings, i);
    ok = key.QueryString(TransFXValueDefs[i].name, buffer.text,
                         static_cast<uint32_t>(buffer.size)) == seams::kRegOk;
  }
  if (!ok) trace.Fail();
  return ok ? TRUE : FALSE;
}

BOOL GetDataDirectoryIniSetting() {
  seams::TraceScope trace("GetDataDirectoryIniSetting");
  std::memset(IniSettings.DATADIRECTORY, 0, sizeof IniSettings.DATADIRECTORY);
  CString folder;
  if (!GetImageSetDataDirectory(IniSettings.IMAGESETKEY, folder)) {
    trace.Fail();
    return FALSE;
  }
  std::strncpy(IniSettings.DATADIRECTORY, folder, sizeof IniSettings.DATADIRECTORY - 1);
  return TRUE;
}

void vSaveIniSettings(const char* keyPath) {
  seams::TraceScope trace("vSaveIniSettings");
  if (!WriteSettingsKey(keyPath)) {
    ReportSaveFailure("Unable to save Screen Saver registry values - reinstall");
    trace.AbortEnd();
    return;
  }
  vSaveTransFXIniSettings(TransFXKeyPath(keyPath));
}

void vSaveTransFXIniSettings(const char* transfxKeyPath) {
  seams::TraceScope trace("vSaveTransFXIniSettings");
  if (!WriteTransFXKey(transfxKeyPath)) {
    ReportSaveFailure("Unable to save TransFX Screen Saver registry values - reinstall");
    trace.AbortEnd();
  }
}

BOOL ClearSettingBuffers() {
  std::memset(&IniSettings, 0, sizeof IniSettings);
  return TRUE;
}

BOOL BackupSettings() {
  ForEachBufferPair(
      [](const IniBuffer& buffer, const IniBuffer& backup) { CopyText(backup, buffer); });
  return TRUE;
}

BOOL RestoreSettings() {
  ForEachBufferPair(ExchangeTexts);
  return TRUE;
}

// ---- single values --------------------------------------------------------------------------

int GetLastImageNoIniSetting(const char* keyPath, CString* errorText) {
  return GetSingleValue("GetLastImageNoIniSetting", keyPath, kLastImageNoValue, errorText);
}

BOOL SetLastImageNoIniSetting(const char* keyPath, int n, CString* errorText) {
  return SetSingleValue("SetLastImageNoIniSetting", keyPath, kLastImageNoValue, n, errorText);
}

int GetLastSoundNoIniSetting(const char* keyPath, CString* errorText) {
  return GetSingleValue("GetLastSoundNoIniSetting", keyPath, kLastSoundNoValue, errorText);
}

BOOL SetLastSoundNoIniSetting(const char* keyPath, int n, CString* errorText) {
  return SetSingleValue("SetLastSoundNoIniSetting", keyPath, kLastSoundNoValue, n, errorText);
}

int GetOwnImagesLastImageNoIniSetting(const char* keyPath, CString* errorText) {
  return GetSingleValue("GetOwnImagesLastImageNoIniSetting", keyPath, kOwnImagesLastImageNoValue,
                        errorText);
}

BOOL SetOwnImagesLastImageNoIniSetting(const char* keyPath, int n, CString* errorText) {
  return SetSingleValue("SetOwnImagesLastImageNoIniSetting", keyPath, kOwnImagesLastImageNoValue, n,
                        errorText);
}

BOOL SetWallpaperImageNoIniSetting(const char* keyPath, int n, CString* errorText) {
  return SetSingleValue("SetWallpaperImageNoIniSetting", keyPath, kWallpaperImageNoValue, n,
                        errorText);
}

BOOL SetWallpaperIniSetting(const char* bitmapPath, CString* errorText) {
  seams::TraceScope trace("SetWallpaperIniSetting");
#ifdef _WIN32
  // A null path would clear the wallpaper instead of setting one.
  if (bitmapPath && ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(bitmapPath),
                                            SPIF_UPDATEINIFILE)) {
    return TRUE;
  }
#else
  (void)bitmapPath;
#endif
  SetErrorText(errorText, "SetWallpaperIniSetting", "Unable to make the SystemParametersInfo call");
  trace.Fail();
  return FALSE;
}
