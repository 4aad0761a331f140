// The wallpaper dialog "Determine Wallpaper Style" (template 2011): the ten wallpaper settings
// with a mini preview of the whole screen that follows every change, a click on it opening the
// full-screen wallpaper preview, Previous and Next through the pictures in title order, and "Set
// Wallpaper" writing and installing the wallpaper at once. It works on WallpaperSettings; OK
// writes them into the settings buffers, Cancel leaves the buffers alone.
#pragma once

#include <windows.h>

INT_PTR CALLBACK WallpaperDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

namespace wallpaperdlg {

// Parses the settings, makes and fills the hidden picture list, sets every control and enables
// the groups. 0 when the list cannot be made or filled (the rest is then skipped).
BOOL InitWallpaperDlg(HWND dialog);

// Shows picture n in the layout in the mini preview: own images and the multi-picture layouts
// through the composer, the full-scale layout from the quarter-size cache. An empty own-images
// folder shows the framed background. 1 when the preview was shown.
BOOL UpdateWallpaperPreview(HWND dialog, int layout, int n);
// The full-scale mini screen of set picture n (tone applied).
BOOL SetMiniWallpaperDIB(HWND dialog, int n);
// Shows the composed wallpaper; 0 when the last composition did not finish.
BOOL SetMiniWallpaper24DIBCtl(HWND dialog);

// Writes the controls' choices and the current picture into the settings buffers. 1.
BOOL bSaveWallpaperDlgSettings(HWND dialog);

// Control readers.
int GetWallpaperImageFX(HWND dialog);
int GetWallpaperImageSize(HWND dialog);
int GetWallpaperScreenStyle(HWND dialog);
int GetWallpaperBorderStyle(HWND dialog);
int GetWallpaperBorderThickness(HWND dialog);
int GetWallpaperBorderShadow(HWND dialog);
int GetWallpaperInterp(HWND dialog);
int GetWallpaperTone(HWND dialog);
int GetWallpaperAutoRotate(HWND dialog);

// Group switches.
void EnableThumbnailsChoice(HWND dialog, BOOL enable);
void EnableBorderGroup(HWND dialog, BOOL enable);
void EnableImageSizeGroup(HWND dialog, BOOL enable);  // and the scaling group with it
void EnableScalingGroup(HWND dialog, BOOL enable);

}  // namespace wallpaperdlg
