// The wallpaper composer: turns the ten "WALLPAPER_" settings into a desktop wallpaper of the
// screen's size and installs it. The wallpaper dialog (mini preview, full-screen preview, "Set
// Wallpaper") and the wallpaper program share it.
//
// A wallpaper is a background (screen style, and a frame round every picture cell) with on it
// either one picture of the image set at full scale, quarter-size pictures of the set from its
// cache in a grid (tile, uniform or mix'n'match), or the user's own pictures fitted into their
// cells. The bitmaps below belong to the composer: callers read them and ask it to free them.
// Everything runs on one thread (the dialog's or the program's); nothing is locked.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/Lists.h"
#include "framework/String.h"
#include "framework/WinTypes.h"

class CDIB;

// The integer copies of the wallpaper settings, named after their values.
struct WallpaperSettingsValues {
  int32_t WALLPAPER_INTERPON = 0;         // full-scale decode: palette interpolation
  int32_t WALLPAPER_IMAGESIZE = 0;        // full-scale size code 0..6 (0 the screen's size)
  int32_t WALLPAPER_SCREENSTYLE = 0;      // 0 large logos, 1 small logos, 2 black, 3 white
  int32_t WALLPAPER_BORDERSTYLE = 0;      // frame 0..6, 6 none
  int32_t WALLPAPER_BORDERTHICKNESS = 0;  // 0 thin, 1 wide
  int32_t WALLPAPER_BORDERSHADOWON = 0;
  int32_t WALLPAPER_IMAGENO = 0;       // first picture; -1 none chosen yet
  int32_t WALLPAPER_IMAGEFX = 0;       // layout, below
  int32_t WALLPAPER_IMAGETONE = 0;     // 0..255 lightening toward white
  int32_t WALLPAPER_AUTOROTATEON = 0;  // the wallpaper program advances at each start
};

// Layouts ("WALLPAPER_IMAGEFX").
constexpr int kWallpaperFullScale = 0;
constexpr int kWallpaperTile = 1;
constexpr int kWallpaperUniform = 2;
constexpr int kWallpaperMixed = 3;       // image sets only
constexpr int kWallpaperOwnUniform = 4;  // own images only

extern WallpaperSettingsValues WallpaperSettings;
// The 8-bit screen-size background on the grey ramp; made by BuildWallpaperBackground.
extern CDIB* WallpaperBackgroundDIB;
// The decoded full-size picture of the full-scale layout of an image set (the preview's loader
// puts it here).
extern CDIB* WallpaperImageDIB;
// The 24-bit screen-size composite of the multi-picture and own-images layouts.
extern CDIB* Wallpaper24DIB;
// The picture cells of the current layout (heap RECTs), in placing order.
extern CPtrList WallpaperLayoutRects;

// Fills WallpaperSettings from the settings buffers: text that is not a number reads 0, a size
// code outside 0..6 reads 0, and on an 8-bit display the layout is always full scale.
void InitWallpaperSettings();

// The layout as the settings dialog offers it for the mode: image sets have no own-images
// uniform (4 becomes tile), own images only that one (1..3 become 4). Full scale stays.
int NormaliseWallpaperLayout(int layout, BOOL ownImages);

// Lays out WallpaperLayoutRects for the settings and composes WallpaperBackgroundDIB (made, or
// made again when the screen's size changed). The tile layout draws no frame and no shadow.
// 1, or 0 when a bitmap, the palette, the cells or the background cannot be made.
BOOL BuildWallpaperBackground();

// Composes Wallpaper24DIB from the background and the set's quarter-size pictures, one per cell
// of rects from picture n on, each next number given by `next` (wrapping). 1, or 0 when n is not
// a picture of the cache, the cache file cannot be opened (alerted) or read, or a bitmap cannot
// be made; after a 0 there is no composed wallpaper (ComposedWallpaperDIB is null).
BOOL BuildImageSetWallpaperFrom(CPtrList* rects, int n, const std::function<int(int)>& next);

// Composes Wallpaper24DIB from the own pictures `names` of "OWNIMAGES_DIR", from position p
// (-1 or past the end starts at 0), each fitted into its cell (never enlarged) and framed on the
// background. A name that is not a JPEG or BMP leaves its cell empty; a file that does not load
// (or is too large for a 24-bit bitmap) is drawn as a blank 400 x 300 picture. 1, or 0 for an
// empty list or when a bitmap, the cells or the background cannot be made.
BOOL BuildOwnImagesWallpaperFrom(CPtrList* rects, int p, const std::vector<CString>& names);

#ifdef _WIN32
// The two builders over list boxes: the order list's items carry image descriptions (null: the
// pictures follow their numbers); the own-images list holds the folder's file names.
BOOL BuildImageSetWallpaperDIB(CPtrList* rects, int n, HWND orderList);
BOOL BuildOwnImagesWallpaperDIB(CPtrList* rects, int p, HWND ownImagesList);
#endif

// Wallpaper24DIB when the last build finished, else null.
CDIB* ComposedWallpaperDIB();

// The full-scale wallpaper of the decoded picture on the background, one rule for every caller:
// on an 8-bit display the picture is reduced to 204 colours (replacing *image, the old one
// freed) and composed at 8 bits on its palette; otherwise the picture itself when it has the
// background's size, else a 24-bit composite with the picture centred (and cut to the
// background when larger). The result is *image itself or a new bitmap the caller frees; null
// when it cannot be made.
CDIB* ComposeFullScaleWallpaper(CDIB** image, CDIB* background);

// The wallpaper file's path: "WALLPAPER.BMP" in the image set's data folder.
CString WallpaperFilePath();

// Writes the composed wallpaper to WallpaperFilePath and installs it as the desktop wallpaper.
// Each failure is alerted with the caption and a stop icon and returns FALSE: no bitmap ("Unable
// to create 8bpp wallpaper image"), the save ("Unable to save current wallpaper image to file"),
// the installation (the installer's error text).
BOOL SaveAndInstallWallpaper(CDIB* composed, const char* caption);

// The call that makes a file the desktop wallpaper (SetWallpaperIniSetting unless replaced):
// TRUE, or FALSE with its error text.
using WallpaperInstaller = BOOL (*)(const char* path, CString* errorText);
// Replaces the installer (tests); nullptr restores the real one. Returns the previous one.
WallpaperInstaller InstallWallpaperInstaller(WallpaperInstaller installer);

// Frees the background and empties the cells (the wallpaper dialog, when it ends).
void FreeWallpaperBackground();
// Frees the full-size picture and the 24-bit composite (the program's end, or tests).
void FreeWallpaperBitmaps();
