#include "wallpaper/WallpaperDlg.h"

#include <cstdlib>
#include <new>

#include "controls/DialogSupport.h"
#include "controls/ThumbnailDialog.h"
#include "controls/TitleLists.h"
#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/DIB.h"
#include "imaging/QuarterCache.h"
#include "seams/Alerts.h"
#include "settings/IniSettings.h"
#include "wallpaper/MurafitResources.h"
#include "wallpaper/WallpaperComposer.h"

IMPLEMENT_DYNAMIC(CWallpaperDlg, CDialog)

namespace {

BOOL Fail(const char* message) {
  seams::Alert(message, kMurafitAlertCaption, seams::kAlertIconHand);
  return FALSE;
}

// Frees what one update made, whichever way it ends.
struct UpdateCleanup {
  ~UpdateCleanup() {
    FreeWallpaperBitmaps();
    FreeWallpaperBackground();
  }
};

// The settings key: the common prefix and the product code of string 61446.
CString WallpaperKeyPath() {
  CString code, path;
  code.LoadString(IDS_MURAFIT_PRODUCTCODE);
  BuildRegistryKeyPath(path, code);
  return path;
}

// The one full-scale picture of the set on the background; null when it cannot be decoded or
// composed. *owned keeps whatever bitmap the result is.
CDIB* ComposeFullScaleFromSet(int imageNo, std::unique_ptr<CDIB>* owned) {
  CDIB* image = CreateFullScreenImage(nullptr, nullptr, &ImageDescArray, imageNo,
                                      WallpaperSettings.WALLPAPER_IMAGESIZE,
                                      WallpaperSettings.WALLPAPER_INTERPON);
  if (!image) return nullptr;
  image->Lighten(WallpaperSettings.WALLPAPER_IMAGETONE);
  CDIB* composed = ComposeFullScaleWallpaper(&image, WallpaperBackgroundDIB);
  if (composed != image) delete image;
  owned->reset(composed);
  return composed;
}

// The wallpaper of the current picture for the mode and layout, or null.
CDIB* ComposeWallpaper(CImageListBox* list, BOOL ownImages, std::unique_ptr<CDIB>* owned) {
  const int imageNo = WallpaperSettings.WALLPAPER_IMAGENO;
  if (ownImages) {
    return BuildOwnImagesWallpaperDIB(&WallpaperLayoutRects, imageNo, list->GetSafeHwnd())
               ? ComposedWallpaperDIB()
               : nullptr;
  }
  if (WallpaperSettings.WALLPAPER_IMAGEFX != kWallpaperFullScale) {
    return BuildImageSetWallpaperDIB(&WallpaperLayoutRects, imageNo, list->GetSafeHwnd())
               ? ComposedWallpaperDIB()
               : nullptr;
  }
  return ComposeFullScaleFromSet(imageNo, owned);
}

// Loads the settings, the thumbnail cache and the image set; FALSE after an alert.
BOOL PrepareImageSet(const CString& keyPath, HWND hiddenWindow) {
  if (GetIniSettings(keyPath) != 0) return Fail("Unable to read wallpaper registry values");
  if (!QuarterImageCacheExists() &&
      !BuildThumbnailsUnderDialog(CDialog::TemplateInstance(), hiddenWindow,
                                  MurafitLoadImagesDlgProc)) {
    return Fail("Unable to save create thumbnails file");
  }
  if (!InitImageSet()) return Fail("Unable to initialise wallpaper vars.");
  return TRUE;
}

}  // namespace

CWallpaperDlg::CWallpaperDlg() { Create(IDD_WALLPAPERWINDOW, nullptr); }

BOOL CWallpaperDlg::UpdateWallpaper() {
  const UpdateCleanup cleanup;
  const CString keyPath = WallpaperKeyPath();
  if (!PrepareImageSet(keyPath, m_hWnd)) return FALSE;
  const BOOL ownImages = std::atoi(IniSettings.OWNIMAGES_ON) != 0;
  InitWallpaperSettings();
  WallpaperSettings.WALLPAPER_IMAGEFX =
      NormaliseWallpaperLayout(WallpaperSettings.WALLPAPER_IMAGEFX, ownImages);
  // Own pictures are fitted into the screen, never laid out at a size code.
  if (ownImages) WallpaperSettings.WALLPAPER_IMAGESIZE = 0;
  if (WallpaperSettings.WALLPAPER_AUTOROTATEON == 0) return TRUE;

  const std::unique_ptr<CImageListBox> list = CreateAllImagesList(ownImages);
  if (!list) return Fail("Unable to create list of all images");
  if (list->GetCount() == 0) return TRUE;

  // The new number is stored before anything is composed, so a failure further on still moves
  // the next run past this picture.
  WallpaperSettings.WALLPAPER_IMAGENO = GetNextWallpaperImageNo(
      &ImageDescArray, list.get(), WallpaperSettings.WALLPAPER_IMAGENO, ownImages);
  SetWallpaperImageNoIniSetting(keyPath, WallpaperSettings.WALLPAPER_IMAGENO, nullptr);

  if (!BuildWallpaperBackground()) return Fail("Unable to create wallpaper image");
  std::unique_ptr<CDIB> owned;
  CDIB* composed = ComposeWallpaper(list.get(), ownImages, &owned);
  if (!composed) return Fail("Unable to create wallpaper image");
  return SaveAndInstallWallpaper(composed, kMurafitAlertCaption);
}

std::unique_ptr<CImageListBox> CWallpaperDlg::CreateAllImagesList(BOOL ownImages) {
  std::unique_ptr<CImageListBox> list(new (std::nothrow) CImageListBox);
  if (!list || !list->Create(this, IDC_ALLIMAGESLIST)) return nullptr;
  HWND control = list->GetSafeHwnd();
  if (!FillImageTitleList(&ImageDescArray, control)) return nullptr;
  int& imageNo = WallpaperSettings.WALLPAPER_IMAGENO;
  if (ownImages) {
    list->ResetContent();
    if (!FillListWithDirectory(control, IniSettings.OWNIMAGES_DIR, 0, 1)) return nullptr;
    if (imageNo < 0 || imageNo >= list->GetCount()) imageNo = 0;
    list->SetCurSel(imageNo);
  } else if (imageNo == -1) {
    SortImageTitleList(control);
    list->SetCurSel(0);
    imageNo = GetSelectedImageNo(&ImageDescArray, control);
  } else {
    list->SetCurSel(FindImageInList(&ImageDescArray, control, imageNo));
    SortImageTitleList(control);
  }
  return list;
}

int GetNextWallpaperImageNo(CObArray* descs, CImageListBox* list, int current, BOOL ownImages) {
  const int count = list ? list->GetCount() : 0;
  if (count <= 0) return 0;
  // Own-image lines carry no descriptions: their numbers are list positions.
  const int next =
      ownImages ? (current + 1) % count : GetNextListImageNo(descs, list->GetSafeHwnd(), current);
  return next >= 0 && next < count ? next : 0;
}

INT_PTR CALLBACK MurafitLoadImagesDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: CentreOver(window, GetDesktopWindow()); return TRUE;
    case WM_COMMAND:
      if (wParam == IDOK || wParam == IDCANCEL) {
        EndDialog(window, 0);
        return TRUE;
      }
      break;
  }
  return FALSE;
}
