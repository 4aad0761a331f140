// The full-screen wallpaper preview and the "Loading Image..." dialog.
//
// A click on the wallpaper dialog's mini preview opens a top-most borderless window over the
// whole screen showing the wallpaper as it will look; the arrow keys step through the pictures
// in the order of the dialog's hidden list (child 1029), any other key closes it and tells the
// dialog (WM_FULLSCREEN_CLOSE) which picture it showed last. The same module decodes the
// full-size picture of the full-scale layout, with the small modeless "Loading Image..." dialog
// on screen meanwhile.
#pragma once

#include <windows.h>

#include <cstdint>

class CDIB;
class CRDIBCtl;

constexpr char kFullScreenWallpaperClass[] = "FullScreenWallpaperWnd";
// The preview's picture control.
constexpr int kWallpaperPreviewImageId = 1002;

// Non-zero while the settings use the own-images folder instead of the image set.
extern int32_t OwnImagesMode;

// The picture before or after n in the order of the hidden list, wrapping: own images by
// position, set pictures in title order. An empty own-images list, or a set picture that is not
// in the list, keeps n.
int StepWallpaperImageNo(HWND list, int n, bool forward);

BOOL RegisterFullScreenWallpaperWnd();

// Opens the preview over the whole screen, owned by the wallpaper dialog, shown and painted at
// once. 1, or 0 when one is open already (one preview at a time) or the window cannot be made.
BOOL CreateFullScreenWallpaperWnd(HWND dialog);

LRESULT CALLBACK FullScreenWallpaperWndProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

// Prepares picture n of the current mode and layout: own images and the multi-picture layouts
// build Wallpaper24DIB over the hidden list of the window's owner (the result is the builder's);
// the full-scale layout decodes the picture into WallpaperImageDIB (with the "Loading Image..."
// dialog when `progress` is set) and lightens it. 1, or 0 when that failed.
BOOL HandleLoadingFullscreenWallpaper(HWND window, BOOL progress, int n);

// Shows the prepared wallpaper in control 1002 of the window: 1, or 0 when there is nothing to
// show (or no such control, alerted).
BOOL SetFullScreenWallpaperDIBCtl(HWND window);

// Decodes picture n of the image set at a full-screen size code (LoadFullScreenImageWithProgress)
// with the "Loading Image..." dialog over `parent` while it runs (no dialog for a null parent).
// Null when the decode failed; the decoder has said "Unable to load image".
CDIB* LoadFullScreenImageWithLoadingWindow(HWND parent, int n, int sizeCode, BOOL interpolate);

// Shows the decoded picture *image centred on the background in the view, composed by the
// composer's one full-scale rule (ComposeFullScaleWallpaper: on an 8-bit display *image is
// replaced by its 204-colour reduction). 1, or 0 when there is nothing to show or the
// composition cannot be made.
BOOL ShowFullScaleOn(CRDIBCtl* view, CDIB** image, CDIB* background);

// Dialog procedure of the "Loading Image..." dialog, made modeless by its users, who destroy it.
INT_PTR CALLBACK LoadingImageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
