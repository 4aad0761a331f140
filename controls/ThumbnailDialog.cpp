#include "controls/ThumbnailDialog.h"

#include "controls/DialogSupport.h"
#include "imaging/QuarterCache.h"
#include "res/DialogIds.h"
#include "seams/Trace.h"

BOOL CreateThumbnails(HWND parent) {
  seams::Trace::Printf("CreateThumbnails - Start\n");
  const BOOL built = BuildThumbnailsUnderDialog(DialogInstance(), parent, LoadImagesDlgProc);
  seams::Trace::Printf("CreateThumbnails - End\n");
  return built;
}

BOOL BuildThumbnailsUnderDialog(HINSTANCE instance, HWND parent, DLGPROC dialogProc) {
  HWND window =
      CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_LOADIMAGES), parent, dialogProc, 0);
  HWND frame = nullptr;
  if (window) {
    ShowWindow(window, SW_SHOWNORMAL);
    RepaintNow(GetDlgItem(window, IDC_LOADINGTEXT));
    frame = GetDlgItem(window, IDC_PROGRESSFRAME);
    RepaintNow(frame);
  }
  const BOOL built = BuildQuarterImageCacheWithProgress(instance, frame);
  if (window) DestroyWindow(window);
  return built;
}

INT_PTR CALLBACK LoadImagesDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return StatusDialogProc("LoadImagesDlgProc", window, message, wParam, lParam);
}
