#include "config/ImageBrowser.h"

#include <memory>

#include "config/CentreOnScreen.h"
#include "controls/ControlsViews.h"
#include "controls/DialogSupport.h"
#include "controls/ImageSetDialog.h"
#include "controls/OwnImagesDialog.h"
#include "controls/SelectedImage.h"
#include "controls/TitleLists.h"
#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "imaging/QuarterCache.h"
#include "res/DialogIds.h"
#include "richtext/RichTextDocument.h"
#include "seams/Alerts.h"
#include "seams/Trace.h"

BOOL ShowQuarterImagePreview(HWND dibControl, int index) {
  if (QuarterImageCount == 0) LoadQuarterImageIndex();
  if (index < 0 || index >= QuarterImageCount) return 0;
  const std::unique_ptr<CDIB> image(ReadSetQuarterImage(index));
  if (!image) return 0;
  auto* view = ControlWrapper<CRDIBCtl>(dibControl);
  if (!view) return 0;
  view->SetDIB(image.get());  // the view keeps its own copy
  SelectedImageNo = index;
  return 1;
}

void SelectPreviewedTitle(HWND list) {
  if (SelectedImageNo == -1) {
    SortImageTitleList(list);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
  } else {
    // Line k of the unsorted list holds image k; the sort keeps the selection.
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(SelectedImageNo), 0);
    SortImageTitleList(list);
  }
}

void SelectTitleLine(HWND list, int line) {
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
  SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(line), 0);
}

BOOL ShowImageDescription(HWND rtfControl, int index) {
  if (index < 0 || index >= ImageDescArray.GetSize()) return 0;
  const CString path = ImageSetFilePath("imagedoc.dat");
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
    seams::Alert("Unable to find image rtf file - imagedoc.dat", nullptr,
                 seams::kAlertIconExclamation);
    return 0;
  }
  auto* view = ControlWrapper<CRRTFCtl>(rtfControl);
  RichTextDocument* document = view ? view->document : nullptr;
  if (!document) return 0;
  const auto* desc = static_cast<const CImageDesc*>(ImageDescArray.GetAt(index));
  if (!desc) return 0;
  if (desc->descriptionStart == desc->descriptionEnd) {
    ResetRichTextDocument(document);
    return 1;
  }
  if (StreamInRichTextRange(document, path, "RTF", kRichTextFormatRtf, 1, desc->descriptionStart,
                            desc->descriptionEnd) != 0)
    return 0;
  SendMessageA(document->editWindow, EM_SETSEL, 0, 0);
  SetRichTextReadOnly(document);
  return 1;
}

// ---------------------------------------------------------------------------------------------
// The browser dialog.

namespace {

HWND TitleList(HWND dialog) { return GetDlgItem(dialog, IDC_IMAGETITLELIST); }

int SelectedLine(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }

int LineCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

// Selects a line, scrolls it to the top and shows its image.
void StepTo(HWND dialog, int line) {
  SelectTitleLine(TitleList(dialog), line);
  ShowSelectedBrowserImage(dialog);
}

void InitDialog(HWND dialog) {
  CentreOverOwnerOnScreen(dialog);
  InitImageSearchDlg(dialog);
  if (CRDIBCtl* preview = ImageView(dialog, IDC_BROWSERPREVIEW))
    preview->SetHotCursor(TRUE, LoadCursorA(DialogInstance(), MAKEINTRESOURCEA(IDC_HOTCURSOR)));
}

void ChooseImageSet(HWND dialog) {
  if (!DialogBoxParamA(DialogInstance(), MAKEINTRESOURCEA(IDD_IMAGESET), dialog, ImageSetDlgProc,
                       0))
    return;
  CentreOverOwnerOnScreen(dialog);
  InitImageSearchDlg(dialog);
  InitImageSet();
}

BOOL OnCommand(HWND dialog, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    case IDC_NEXTIMAGE: SelectNextBrowserImage(dialog); return TRUE;
    case IDC_PREVIOUSIMAGE: SelectPrevBrowserImage(dialog); return TRUE;
    case IDC_FULLSCREENIMAGE: CreateFullScreenImageWnd(dialog); return TRUE;
    case IDC_BROWSERIMAGESET: ChooseImageSet(dialog); return TRUE;
    case IDC_IMAGETITLELIST:
      // Only a change of selection: the list losing the focus (its code 5) showed the same
      // image again, and a missing description file was reported twice.
      if (HIWORD(wParam) != LBN_SELCHANGE) return FALSE;
      {
        seams::TraceScope trace("ImageSearchDlgProc - CBN_EDITCHANGE+CBN_SELCHANGE");
        ShowSelectedBrowserImage(dialog);
      }
      return TRUE;
  }
  return FALSE;
}

}  // namespace

BOOL InitImageSearchDlg(HWND dialog) {
  InitImageSet();
  SetDlgItemTextA(dialog, IDC_BROWSERCURRENTSET, "");
  HWND list = TitleList(dialog);
  if (!list) return 0;
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  if (!FillImageTitleList(&ImageDescArray, list)) return 0;
  SelectPreviewedTitle(list);
  ShowSelectedBrowserImage(dialog);
  return 1;
}

BOOL ShowBrowserImage(HWND dialog, int index) {
  if (QuarterImageCount == 0) LoadQuarterImageIndex();
  if (index < 0 || index >= QuarterImageCount) return 0;
  if (!ShowQuarterImagePreview(GetDlgItem(dialog, IDC_BROWSERPREVIEW), index)) return 0;
  return ShowImageDescription(GetDlgItem(dialog, IDC_BROWSERDESCRIPTION), index);
}

void ShowSelectedBrowserImage(HWND dialog) {
  const int index = GetSelectedImageNo(&ImageDescArray, TitleList(dialog));
  if (index >= 0) ShowBrowserImage(dialog, index);
}

void SelectNextBrowserImage(HWND dialog) {
  HWND list = TitleList(dialog);
  const int line = SelectedLine(list);
  if (line >= 0 && line < LineCount(list) - 1) StepTo(dialog, line + 1);
}

void SelectPrevBrowserImage(HWND dialog) {
  const int line = SelectedLine(TitleList(dialog));
  if (line > 0) StepTo(dialog, line - 1);
}

void SelectBrowserImage(HWND dialog, int index) {
  const int line = FindImageInList(&ImageDescArray, TitleList(dialog), index);
  if (line >= 0) StepTo(dialog, line);
}

INT_PTR CALLBACK ImageSearchDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const seams::ScopedAlertOwner alertOwner(dialog);
  const seams::TraceMessageScope trace("ImageSearchDlgProc", message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG: InitDialog(dialog); return TRUE;
    case WM_COMMAND:
      if (OnCommand(dialog, wParam)) return TRUE;
      break;
    case WM_RDIBCTL_CLICK: CreateFullScreenImageWnd(dialog); return TRUE;
    case WM_FULLSCREEN_CLOSE: SelectBrowserImage(dialog, static_cast<int>(wParam)); return TRUE;
  }
  trace.Ending();
  return FALSE;
}
