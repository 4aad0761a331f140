// The settings store: every setting of the system as a named string value under one registry
// key, held in memory in fixed text buffers that the rest of the system reads and the settings
// dialogs edit in place.
//
// The store writes no defaults: every value must exist when the settings are read, and a missing
// one is a run-time error number. The setup program (tools/setup) installs the values, taking
// their names from the tables below, so the store and the installer can never disagree on them.
#pragma once

#include <cstddef>

#include "framework/String.h"
#include "framework/WinTypes.h"

// Registry layout under HKEY_LOCAL_MACHINE.
constexpr const char kSettingsKeyPrefix[] = "SOFTWARE\\KLV\\SCREENSAVER\\";
constexpr const char kTransFXSubkeyName[] = "TRANSFX";
constexpr const char kScreenSaverProductCode[] = "TRVSS12";  // string resource 3 of the saver
constexpr const char kWallpaperProductCode[] = "VNQ2SS52";   // the wallpaper program's
constexpr UINT kProductCodeStringId = 3;

// Buffer sizes: numbers and flags, and paths and lists.
constexpr int kNumberBufferSize = 64;
constexpr int kTextBufferSize = 256;
constexpr int kTransFXValueCount = 32;

// Run-time error numbers of GetIniSettings.
constexpr int kIniErrorNoKey = 25;
constexpr int kIniErrorKeyInfo = 26;
constexpr int kIniErrorValue = 28;
constexpr int kIniErrorDataDirectory = 33;
constexpr int kIniErrorTransFX = 34;

// The text buffers, one per value (named after it), zero-terminated.
struct IniSettingsBuffers {
  char CLOCKON[kNumberBufferSize];
  char LOGOSON[kNumberBufferSize];
  char INTERPON[kNumberBufferSize];
  char TIME[kNumberBufferSize];
  char SSFN[kNumberBufferSize];
  char SPEED[7][kNumberBufferSize];  // "SPEED0".."SPEED6"
  char RES[7][kNumberBufferSize];    // "RES0".."RES6"
  char TRACEON[kNumberBufferSize];
  char TEXTFX_TEXTON[kNumberBufferSize];
  char TEXTFX_TEXTDURATION[kNumberBufferSize];
  char TEXTFX_TEXTCOLOR[kNumberBufferSize];
  char TEXTFX_BACKGROUNDCOLOR[kNumberBufferSize];
  char TEXTFX_BACKDROPSHADING[kNumberBufferSize];
  char TEXTFX_BORDERSTYLE[kNumberBufferSize];
  char TEXTFX_BACKGROUNDSTYLE[kNumberBufferSize];
  char TEXTFX_CONTENTSTYLE[kNumberBufferSize];
  char TEXTFX_TITLESTYLE[kNumberBufferSize];
  char TEXTFX_TRANSSELECTION[kNumberBufferSize];
  char TEXTFX_TRANSSPEED[kNumberBufferSize];
  char TEXTFX_BOUNCEON[kNumberBufferSize];
  char TEXTFX_BOUNCEDURATION[kNumberBufferSize];
  char TEXTFX_BOUNCESPEED[kNumberBufferSize];
  char TOPTEN_ON[kNumberBufferSize];
  char TOPTEN_PLAYLIST[kTextBufferSize];
  char IMAGE_SIZE[kNumberBufferSize];
  char IMAGE_BACKSTYLE[kNumberBufferSize];
  char IMAGE_SCREENSTYLE[kNumberBufferSize];
  char IMAGE_BORDERSTYLE[kNumberBufferSize];
  char IMAGE_BORDERTHICKNESS[kNumberBufferSize];
  char IMAGE_BORDERSHADOWON[kNumberBufferSize];
  char SOUND_ON[kNumberBufferSize];
  char SOUND_PLAYOPTION[kNumberBufferSize];
  char SOUND_LOOPFILE[kNumberBufferSize];
  char SOUND_SOUND[10][kTextBufferSize];         // "SOUND_SOUND0".."SOUND_SOUND9"
  char SOUND_DEFAULTSOUND[10][kTextBufferSize];  // "SOUND_DEFAULTSOUND0".."SOUND_DEFAULTSOUND9"
  char WALLPAPER_INTERPON[kNumberBufferSize];
  char WALLPAPER_IMAGESIZE[kNumberBufferSize];
  char WALLPAPER_SCREENSTYLE[kNumberBufferSize];
  char WALLPAPER_BORDERSTYLE[kNumberBufferSize];
  char WALLPAPER_BORDERTHICKNESS[kNumberBufferSize];
  char WALLPAPER_BORDERSHADOWON[kNumberBufferSize];
  char WALLPAPER_IMAGENO[kNumberBufferSize];
  char WALLPAPER_IMAGEFX[kNumberBufferSize];
  char WALLPAPER_IMAGETONE[kNumberBufferSize];
  char WALLPAPER_AUTOROTATEON[kNumberBufferSize];
  char IMAGESETKEY[kTextBufferSize];
  char SCREENSAVERKEY[kTextBufferSize];
  char OWNIMAGES_ON[kNumberBufferSize];
  char OWNIMAGES_DIR[kTextBufferSize];
  char TRANSFX[kTransFXValueCount][kNumberBufferSize];  // the "TRANSFX" subkey, in its order
  char DATADIRECTORY[kTextBufferSize];                  // "DATADIRECTORY" of the current image set
};

// The process-wide buffers and their backup copy (the settings dialog's Cancel).
extern IniSettingsBuffers IniSettings;
extern IniSettingsBuffers IniSettingsBackup;

struct IniBuffer {
  char* text;
  int size;
};

// One value of the settings key.
struct IniValueDef {
  const char* name;
  IniBuffer (*buffer)(IniSettingsBuffers& buffers);
  bool written;  // written back by vSaveIniSettings (some are only ever read)
  // What the setup program installs when the value is missing. Never used by the store itself.
  const char* installDefault;
};

// The 79 values in the order GetIniSettings reads them (and vSaveIniSettings writes the 67
// written ones).
constexpr int kIniValueCount = 79;
extern const IniValueDef IniValueDefs[kIniValueCount];

// One value of the "TRANSFX" subkey: the transition class it holds ("%d,%d,%d,%d": enabled,
// s1, s2, s3). The index is the buffer's index in IniSettingsBuffers::TRANSFX.
struct TransFXValueDef {
  const char* name;
  int classId;
};
extern const TransFXValueDef TransFXValueDefs[kTransFXValueCount];

// The numbers the worker threads write back one at a time; not part of the 79.
struct SingleValueDef {
  const char* name;
  const char* installDefault;
};
constexpr int kSingleValueCount = 3;
extern const SingleValueDef SingleValueDefs[kSingleValueCount];
constexpr const char kLastImageNoValue[] = "LASTIMAGENO";
constexpr const char kLastSoundNoValue[] = "LASTSOUNDNO";
constexpr const char kOwnImagesLastImageNoValue[] = "OWNIMAGES_LASTIMAGENO";
constexpr const char kWallpaperImageNoValue[] = "WALLPAPER_IMAGENO";

// Sets path to the settings key path of a product: the prefix and the code (at most 63
// characters of it, as the code is read into a 64-character buffer).
void BuildRegistryKeyPath(CString& path, const char* productCode);
#ifdef _WIN32
// The same with the product code of this program (string resource 3).
void BuildRegistryKeyPath(CString& path);
#endif
// The "TRANSFX" subkey path of a settings key path.
CString TransFXKeyPath(const char* keyPath);

// Reads every setting; 0, or the run-time error number of the first failure (values read
// before it stay in their buffers). Also switches tracing on or off (below).
int GetIniSettings(const char* keyPath);
BOOL GetTransFXIniSetting(const char* transfxKeyPath);
// Reads "DATADIRECTORY" of the image set named by the "IMAGESETKEY" buffer.
BOOL GetDataDirectoryIniSetting();

// Writes the 67 written values, then (only when all of them were written) the "TRANSFX" values.
// Failures are reported with a message box.
void vSaveIniSettings(const char* keyPath);
void vSaveTransFXIniSettings(const char* transfxKeyPath);

BOOL ClearSettingBuffers();
BOOL BackupSettings();
// Exchanges every buffer's text with its backup's.
BOOL RestoreSettings();

// Single values; each opens the settings key itself. The getters give -1 and the setters FALSE
// on failure, with "<routine> Error Message - ..." in *errorText (when not null).
int GetLastImageNoIniSetting(const char* keyPath, CString* errorText);
BOOL SetLastImageNoIniSetting(const char* keyPath, int n, CString* errorText);
int GetLastSoundNoIniSetting(const char* keyPath, CString* errorText);
BOOL SetLastSoundNoIniSetting(const char* keyPath, int n, CString* errorText);
int GetOwnImagesLastImageNoIniSetting(const char* keyPath, CString* errorText);
BOOL SetOwnImagesLastImageNoIniSetting(const char* keyPath, int n, CString* errorText);
BOOL SetWallpaperImageNoIniSetting(const char* keyPath, int n, CString* errorText);

// Makes a bitmap file the desktop wallpaper. There is no desktop in native builds: FALSE there.
BOOL SetWallpaperIniSetting(const char* bitmapPath, CString* errorText);

// Trace files: the data folder's path less its last 7 characters (the length of the data folder
// name every image set uses), followed by the file name. A folder path shorter than that gives
// the empty text: nothing is looked for or opened then.
CString TraceFilePath(const char* dataDirectory, const char* fileName);
constexpr const char kTraceSwitchFileName[] = "REQTRACE.TXT";
constexpr const char kTraceFileName[] = "KLVTRACE.TXT";
