#include "saver/ThumbnailDialog.h"

#include "imaging/QuarterCache.h"
#include "res/DialogIds.h"
#include "saver/DialogSupport.h"
#include "seams/Trace.h"

namespace {

// Paints a control now, so that its text or frame shows before the build holds the thread.
void RepaintNow(HWND control) {
  if (!control) return;
  RECT client;
  GetClientRect(control, &client);
  InvalidateRect(control, &client, TRUE);
  UpdateWindow(control);
}

}  // namespace

BOOL CreateThumbnails(HWND parent) {
  seams::Trace::Printf("CreateThumbnails - Start\n");
  const BOOL built = BuildThumbnailsUnderDialog(DialogInstance(), parent, LoadImagesDlgProc);
  seams::Trace::Printf("CreateThumbnails - End\n");
  return built;
}

BOOL BuildThumbnailsUnderDialog(HINSTANCE instance, HWND parent, DLGPROC dialogProc) {
  HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_LOADIMAGES), parent,
                                   dialogProc, 0);
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
  const seams::TraceMessageScope trace("LoadImagesDlgProc", message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG: CentreOverOwner(window); return TRUE;
    case WM_SHOWWINDOW: return FALSE;
    case WM_COMMAND:
      if (wParam == IDOK || wParam == IDCANCEL) {
        EndDialog(window, 0);
        return TRUE;
      }
      break;
  }
  trace.Ending();
  return FALSE;
}
