#include "saver/ThumbnailDialog.h"

#include "imaging/QuarterCache.h"
#include "res/DialogIds.h"
#include "saver/DialogSupport.h"
#include "seams/Trace.h"

BOOL CreateThumbnails(HWND parent) {
  seams::Trace::Printf("CreateThumbnails - Start\n");
  HWND window = CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(IDD_LOADIMAGES), parent,
                                   LoadImagesDlgProc, 0);
  HWND frame = nullptr;
  if (window) {
    ShowWindow(window, SW_SHOWNORMAL);
    RepaintNow(GetDlgItem(window, IDC_LOADINGTEXT));
    frame = GetDlgItem(window, IDC_PROGRESSFRAME);
    RepaintNow(frame);
  }
  const BOOL built = BuildQuarterImageCacheWithProgress(DialogInstance(), frame);
  if (window) DestroyWindow(window);
  seams::Trace::Printf("CreateThumbnails - End\n");
  return built;
}

INT_PTR CALLBACK LoadImagesDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return StatusDialogProc("LoadImagesDlgProc", window, message, wParam, lParam);
}
