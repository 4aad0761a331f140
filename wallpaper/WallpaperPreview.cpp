#include "wallpaper/WallpaperPreview.h"

#include <memory>

#include "controls/ControlsViews.h"
#include "controls/DialogSupport.h"
#include "controls/OwnImagesDialog.h"
#include "controls/TitleLists.h"
#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "seams/Trace.h"
#include "wallpaper/WallpaperComposer.h"

int32_t OwnImagesMode = 0;

namespace {

// The one open preview: a second click on the mini preview while it is open (the first click's
// window takes a moment to cover the dialog) must not stack a second one on it.
HWND openPreview = nullptr;

// The wallpaper dialog's hidden list of pictures: the preview's owner holds it.
HWND PictureList(HWND window) {
  HWND owner = GetWindow(window, GW_OWNER);
  return owner ? GetDlgItem(owner, IDC_WALLPAPERIMAGELIST) : nullptr;
}

bool FullScaleOfImageSet() {
  return !OwnImagesMode && WallpaperSettings.WALLPAPER_IMAGEFX == kWallpaperFullScale;
}

// Decodes picture n of the set into WallpaperImageDIB, with the "Loading Image..." window over
// `window` while it runs when `progress` is set.
bool DecodeFullScalePicture(HWND window, BOOL progress, int n) {
  delete WallpaperImageDIB;
  WallpaperImageDIB = nullptr;
  WallpaperImageDIB = LoadFullScreenImageWithLoadingWindow(progress ? window : nullptr, n,
                                                           WallpaperSettings.WALLPAPER_IMAGESIZE,
                                                           WallpaperSettings.WALLPAPER_INTERPON);
  if (!WallpaperImageDIB) return false;  // the decoder said "Unable to load image"
  WallpaperImageDIB->Lighten(WallpaperSettings.WALLPAPER_IMAGETONE);
  return true;
}

void ShowPicture(HWND window, int n) {
  const WaitCursor wait;
  HandleLoadingFullscreenWallpaper(window, 1, n);
  SetFullScreenWallpaperDIBCtl(window);
}

void OnCreate(HWND window) {
  openPreview = window;
  CreateViewerPicture(window, kWallpaperPreviewImageId);
  ShowPicture(window, WallpaperSettings.WALLPAPER_IMAGENO);
}

void OnArrow(HWND window, bool forward) {
  HWND list = PictureList(window);
  if (!list) return;
  WallpaperSettings.WALLPAPER_IMAGENO =
      StepWallpaperImageNo(list, WallpaperSettings.WALLPAPER_IMAGENO, forward);
  ShowPicture(window, WallpaperSettings.WALLPAPER_IMAGENO);
}

// Tells the dialog which picture was shown last, then closes.
LRESULT Close(HWND window) {
  SendMessageA(GetWindow(window, GW_OWNER), WM_FULLSCREEN_CLOSE,
               static_cast<WPARAM>(WallpaperSettings.WALLPAPER_IMAGENO),
               reinterpret_cast<LPARAM>(window));
  DestroyWindow(window);
  return 0;
}

void OnDestroyed(HWND window) {
  if (window == openPreview) openPreview = nullptr;
}

const ViewerHandlers kHandlers = {"FullScreenWallpaperWndProc", OnCreate, OnArrow, Close,
                                  OnDestroyed};

}  // namespace

int StepWallpaperImageNo(HWND list, int n, bool forward) {
  if (OwnImagesMode) {
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    if (count <= 0) return n;
    const int from = n >= 0 && n < count ? n : 0;
    return forward ? (from + 1) % count : (from + count - 1) % count;
  }
  const int next = forward ? GetNextListImageNo(&ImageDescArray, list, n)
                           : GetPrevListImageNo(&ImageDescArray, list, n);
  return next >= 0 ? next : n;
}

BOOL RegisterFullScreenWallpaperWnd() {
  return RegisterFullScreenViewerClass(kFullScreenWallpaperClass, FullScreenWallpaperWndProc);
}

BOOL CreateFullScreenWallpaperWnd(HWND dialog) {
  if (openPreview) return 0;
  if (CreateFullScreenViewer(kFullScreenWallpaperClass, dialog)) return 1;
  openPreview = nullptr;  // a window whose creation failed after WM_CREATE
  return 0;
}

LRESULT CALLBACK FullScreenWallpaperWndProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  return ViewerWindowProc(kHandlers, window, message, wParam, lParam);
}

BOOL HandleLoadingFullscreenWallpaper(HWND window, BOOL progress, int n) {
  seams::Trace::Printf("HandleLoadingFullscreenWallpaper - Start\n");
  BOOL result;
  if (OwnImagesMode)
    result = BuildOwnImagesWallpaperDIB(&WallpaperLayoutRects, n, PictureList(window));
  else if (!FullScaleOfImageSet())
    result = BuildImageSetWallpaperDIB(&WallpaperLayoutRects, n, PictureList(window));
  else
    result = DecodeFullScalePicture(window, progress, n) ? 1 : 0;
  seams::Trace::Printf("HandleLoadingFullscreenWallpaper - End\n");
  return result;
}

BOOL SetFullScreenWallpaperDIBCtl(HWND window) {
  seams::Trace::Printf("SetFullScreenWallpaperDIBCtl - Start\n");
  CRDIBCtl* view = ViewerPicture(window, kWallpaperPreviewImageId);
  if (!view) return 0;
  BOOL shown = 0;
  if (FullScaleOfImageSet()) {
    shown = ShowFullScaleOn(view, &WallpaperImageDIB, WallpaperBackgroundDIB);
  } else if (CDIB* composed = ComposedWallpaperDIB()) {
    view->SetDIB(composed);
    shown = 1;
  }
  seams::Trace::Printf("SetFullScreenWallpaperDIBCtl - End\n");
  return shown;
}

CDIB* LoadFullScreenImageWithLoadingWindow(HWND parent, int n, int sizeCode, BOOL interpolate) {
  HWND status = parent ? CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(IDD_LOADINGIMAGE),
                                            parent, LoadingImageDlgProc, 0)
                       : nullptr;
  HWND text = nullptr, frame = nullptr;
  if (status) {
    ShowWindow(status, SW_SHOW);
    text = GetDlgItem(status, IDC_LOADINGTEXT);
    frame = GetDlgItem(status, IDC_PROGRESSFRAME);
    RepaintNow(text);
    RepaintNow(frame);
  }
  CDIB* image = LoadFullScreenImageWithProgress(DialogInstance(), text, frame, &ImageDescArray, n,
                                                sizeCode, interpolate);
  if (status) DestroyWindow(status);
  return image;
}

BOOL ShowFullScaleOn(CRDIBCtl* view, CDIB** image, CDIB* background) {
  if (!image || !*image || !background) return 0;
  CDIB* shown = ComposeFullScaleWallpaper(image, background);
  if (!shown) return 0;
  view->SetDIB(shown);  // the view keeps a copy
  if (shown != *image) delete shown;
  return 1;
}

INT_PTR CALLBACK LoadingImageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return StatusDialogProc("LoadingImageDlgProc", dialog, message, wParam, lParam);
}
