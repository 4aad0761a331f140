#include "controls/OwnImagesDialog.h"

#include <cstring>
#include <memory>

#include "controls/ControlsViews.h"
#include "controls/DialogSupport.h"
#include "framework/Lists.h"
#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/DIB.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "seams/Trace.h"
#include "settings/ImageSetKey.h"
#include "settings/IniSettings.h"
#include "transitions/LayoutRects.h"

namespace {

// The one open viewer: its window, the dialog whose list it walks and its layout rectangles.
struct Viewer {
  HWND window = nullptr;
  HWND dialog = nullptr;
  CPtrList rects;
};
Viewer viewer;

HWND OwnImageList(HWND dialog) { return GetDlgItem(dialog, IDC_OWNIMAGELIST); }

int SelectedLine(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }

int LineCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

// The file name on a line; false for a line that does not exist.
bool LineText(HWND list, int line, CString* name) {
  if (line < 0 || line >= LineCount(list)) return false;
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(line), 0);
  if (length < 0) return false;
  std::unique_ptr<char[]> text(new (std::nothrow) char[static_cast<size_t>(length) + 1]);
  if (!text) return false;
  if (SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(line),
                   reinterpret_cast<LPARAM>(text.get())) < 0)
    return false;
  *name = text.get();
  return true;
}

// Selects a line and scrolls it to the top, then previews it.
void StepTo(HWND dialog, int line) {
  HWND list = OwnImageList(dialog);
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
  SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(line), 0);
  ShowSelectedOwnImage(dialog, TRUE);
}

void ChooseFolder(HWND dialog) {
  seams::TraceScope trace("OwnImageSearchDlgProc - IDC_SELECTDIRECTORY");
  CString folder = IniSettings.OWNIMAGES_DIR;
  if (!SelectImageDirectory(dialog, &folder)) return;
  // A path that does not fit the setting would be cut into another folder's name.
  if (folder.GetLength() >= static_cast<int>(sizeof IniSettings.OWNIMAGES_DIR)) return;
  std::strcpy(IniSettings.OWNIMAGES_DIR, folder);
  SelectedOwnImageNo = 0;
  CString settingsKey;
  BuildRegistryKeyPath(settingsKey);
  SetOwnImagesLastImageNoIniSetting(settingsKey, 0, nullptr);
  SetDlgItemTextA(dialog, IDC_OWNIMAGESFOLDER, IniSettings.OWNIMAGES_DIR);
  FillOwnImageList(dialog);
}

void InitDialog(HWND dialog) {
  // The own pictures are only framed on the set's background: a set folder that is gone leaves
  // the plain background, and the dialogs that show the set report the folder.
  if (IsImageSetDirectory(IniSettings.DATADIRECTORY)) InitImageSet();
  CentreOverOwner(dialog);
  if (CRDIBCtl* preview = ImageView(dialog, IDC_OWNIMAGEPREVIEW)) {
    preview->SetHotCursor(TRUE, LoadCursorA(DialogInstance(), MAKEINTRESOURCEA(IDC_HOTCURSOR)));
    preview->SetBackColor(PALETTERGB(192, 192, 192));
    preview->SetKeepImageSize(TRUE);
  }
  FillOwnImageList(dialog);
}

BOOL OnCommand(HWND dialog, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    case IDC_NEXTIMAGE: ShowNextOwnImage(dialog); return TRUE;
    case IDC_PREVIOUSIMAGE: ShowPreviousOwnImage(dialog); return TRUE;
    case IDC_FULLSCREENIMAGE: CreateFullScreenOwnImageWnd(dialog); return TRUE;
    case IDC_SELECTDIRECTORY: ChooseFolder(dialog); return TRUE;
    case IDC_OWNIMAGELIST:
      if (HIWORD(wParam) != LBN_SELCHANGE) return FALSE;
      {
        seams::TraceScope trace("OwnImageSearchDlgProc - LBN_SELCHANGE");
        ShowSelectedOwnImage(dialog, TRUE);
      }
      return TRUE;
  }
  return FALSE;
}

}  // namespace

BOOL FillOwnImageList(HWND dialog) {
  HWND list = OwnImageList(dialog);
  if (!list) return FALSE;
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  FillListWithDirectory(list, IniSettings.OWNIMAGES_DIR, 0, 1);
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(SelectedOwnImageNo), 0);
  ShowSelectedOwnImage(dialog, TRUE);
  SetDlgItemTextA(dialog, IDC_OWNIMAGESFOLDER, IniSettings.OWNIMAGES_DIR);
  return TRUE;
}

void ShowSelectedOwnImage(HWND dialog, BOOL showErrors) {
  const WaitCursor wait;
  HWND list = OwnImageList(dialog);
  const int line = SelectedLine(list);
  CString name;
  if (!LineText(list, line, &name)) return;
  SelectedOwnImageNo = line;
  std::unique_ptr<CDIB> picture(
      GetMiniScreenOwnImageDIB(IniSettings.OWNIMAGES_DIR, name, showErrors));
  CRDIBCtl* preview = ImageView(dialog, IDC_OWNIMAGEPREVIEW);
  if (picture && preview) preview->SetDIB(picture.get());
}

void ShowNextOwnImage(HWND dialog) {
  HWND list = OwnImageList(dialog);
  const int line = SelectedLine(list);
  if (line >= 0 && line < LineCount(list) - 1) StepTo(dialog, line + 1);
}

void ShowPreviousOwnImage(HWND dialog) {
  const int line = SelectedLine(OwnImageList(dialog));
  if (line > 0) StepTo(dialog, line - 1);
}

// ---------------------------------------------------------------------------------------------
// The full-screen viewer.

namespace {

// Composes the screen for a line of the dialog's list (no line: the background alone) and shows
// it in the viewer's picture control.
void ViewLine(HWND window, int line) {
  CString name;
  const bool named = LineText(OwnImageList(viewer.dialog), line, &name);
  if (!SetFullScreenOwnImageDIB(&viewer.rects, IniSettings.OWNIMAGES_DIR, named ? name : nullptr))
    return;
  if (CRDIBCtl* picture = ImageView(window, kViewerImageId)) picture->SetDIB(FullScreenOwnImageDIB);
}

void ViewerCreate(HWND window) {
  const WaitCursor wait;
  viewer.window = window;
  CreateViewerPicture(window, kViewerImageId);
  const int line = SelectedLine(OwnImageList(viewer.dialog));
  if (line >= 0) SelectedOwnImageNo = line;
  if (CRDIBCtl* picture = ImageView(window, kViewerImageId)) {
    picture->SetBackColor(PALETTERGB(0, 0, 0));
    picture->SetKeepImageSize(TRUE);
  }
  ViewLine(window, line);
}

// An arrow key: the line before or after the selected one, unless at that end already.
void ViewerStep(HWND window, bool forward) {
  const WaitCursor wait;
  HWND list = OwnImageList(viewer.dialog);
  int line = SelectedLine(list);
  const int next = line + (forward ? 1 : -1);
  if (line >= 0 && next >= 0 && next < LineCount(list)) {
    line = next;
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    SelectedOwnImageNo = line;
  }
  ViewLine(window, line);
}

LRESULT ViewerClose(HWND window) {
  const LRESULT result =
      SendMessageA(viewer.dialog, WM_FULLSCREEN_CLOSE, static_cast<WPARAM>(SelectedOwnImageNo),
                   reinterpret_cast<LPARAM>(window));
  DestroyWindow(window);
  return result;
}

void ViewerDestroyed(HWND) {
  DeleteAllPtrListElements(&viewer.rects);
  viewer.window = nullptr;
  viewer.dialog = nullptr;
}

const ViewerHandlers kViewerHandlers = {"FullScreenOwnImageWndProc", ViewerCreate, ViewerStep,
                                        ViewerClose, ViewerDestroyed};

}  // namespace

BOOL RegisterFullScreenOwnImageWnd() {
  return RegisterFullScreenViewerClass(kFullScreenOwnImageClass, FullScreenOwnImageWndProc);
}

BOOL CreateFullScreenOwnImageWnd(HWND parent) {
  if (viewer.window) return 0;
  viewer.dialog = parent;
  if (!CreateFullScreenViewer(kFullScreenOwnImageClass, parent)) {
    viewer.dialog = nullptr;
    return 0;
  }
  return 1;
}

HWND FullScreenOwnImageWnd() { return viewer.window; }

LRESULT CALLBACK FullScreenOwnImageWndProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  return ViewerWindowProc(kViewerHandlers, window, message, wParam, lParam);
}

INT_PTR CALLBACK OwnImageSearchDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const seams::ScopedAlertOwner alertOwner(dialog);
  const seams::TraceMessageScope trace("OwnImageSearchDlgProc", message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG: InitDialog(dialog); return TRUE;
    case WM_COMMAND:
      if (OnCommand(dialog, wParam)) return TRUE;
      break;
    case WM_RDIBCTL_CLICK: CreateFullScreenOwnImageWnd(dialog); return TRUE;
    case WM_FULLSCREEN_CLOSE: ShowSelectedOwnImage(dialog, FALSE); return TRUE;
  }
  trace.Ending();
  return FALSE;
}
