// The wallpaper program's hidden dialog and the wallpaper update it runs once per start: read the
// settings under the program's own key, build the thumbnail cache when it is missing, advance the
// stored image number through the list of all images, compose the wallpaper for that picture,
// write it as "WALLPAPER.BMP" in the image set's data folder and install it.
//
// Every failure is one alert captioned "Alert - Murafit" with the stop icon and a FALSE result;
// the hidden list, the composed bitmaps and the wallpaper background are freed on every road.
#pragma once

#include <memory>

#include "framework/Arrays.h"
#include "framework/Dialog.h"
#include "wallpaper/ImageListBox.h"

constexpr const char kMurafitAlertCaption[] = "Alert - Murafit";

class CWallpaperDlg : public CDialog {
  DECLARE_DYNAMIC(CWallpaperDlg)
 public:
  // Creates the hidden modeless dialog (template 129, no parent); GetSafeHwnd() is null when it
  // could not be made.
  CWallpaperDlg();

  // TRUE when the wallpaper was installed or there was nothing to do ("WALLPAPER_AUTOROTATEON"
  // off, no images); FALSE after an alert.
  BOOL UpdateWallpaper();

  // The hidden list of all images, filled for the mode, with "WALLPAPER_IMAGENO" (in
  // WallpaperSettings) made a number of the list: image sets sort by title, and a stored -1
  // becomes the first title's image; own images keep the folder's order, and a number outside
  // the list becomes 0. Null when the control cannot be made or filled.
  std::unique_ptr<CImageListBox> CreateAllImagesList(BOOL ownImages);
};

// The number after `current` in the list: for image sets the image of the next title (wrapping),
// for own images (current + 1) mod count; a result outside 0..count-1 becomes 0.
int GetNextWallpaperImageNo(CObArray* descs, CImageListBox* list, int current, BOOL ownImages);

#ifdef _WIN32
// The thumbnail cache window's procedure: centred on the desktop, ended by OK or Cancel.
INT_PTR CALLBACK MurafitLoadImagesDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
#endif
