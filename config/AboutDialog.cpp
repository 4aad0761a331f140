#include "config/AboutDialog.h"

#include "config/AboutText.h"
#include "controls/ControlsViews.h"
#include "controls/DialogSupport.h"
#include "controls/ProductTitle.h"
#include "framework/String.h"
#include "framework/Wnd.h"
#include "imageset/ImageSet.h"
#include "res/DialogIds.h"
#include "richtext/RichTextDocument.h"
#include "seams/Alerts.h"
#include "seams/Trace.h"
#include "settings/ImageSetKey.h"
#include "settings/IniSettings.h"

namespace {

RichTextDocument* CreditsDocument(HWND dialog) {
  auto* view = DialogControl<CRRTFCtl>(dialog, IDC_IMAGESETCREDITS);
  return view ? view->document : nullptr;
}

// Shows the credits of the data folder, read-only with the caret at the start. False when the
// rest of the dialog is to stay as the template has it: the file is missing (which is reported)
// or could not be read. A view without a document has nowhere to show them; the rest still
// shows then.
bool ShowCredits(HWND dialog, const CString& folder) {
  const CString path = CreditsPath(folder);
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
    seams::Alert(CString(kMissingCreditsText) + path, kMissingCreditsCaption,
                 seams::kAlertIconHand);
    return false;
  }
  RichTextDocument* document = CreditsDocument(dialog);
  if (!document) return true;
  if (StreamInRichText(document, path, "RTF", kRichTextFormatRtf, TRUE) != 0) return false;
  SendMessageA(document->editWindow, EM_SETSEL, 0, 0);
  SetRichTextReadOnly(document);
  return true;
}

// The caption and the version line; a version that cannot be read leaves the line empty.
void ShowTitleAndVersion(HWND dialog) {
  const CString title = GetProductTitle();
  SetWindowTextA(dialog, AboutCaption(title));
  CString version;
  if (GetProductVersion(version) && !version.IsEmpty())
    SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, AboutVersionLine(title, version));
}

// A set folder that is gone altogether has no credits to miss: the dialogs that show the set
// report the folder itself, and About still shows the title and version.
void InitAbout(HWND dialog) {
  CentreOverOwner(dialog);
  CString folder;
  if (GetImageSetDataDirectory(IniSettings.SCREENSAVERKEY, folder) && FolderExists(folder) &&
      !ShowCredits(dialog, folder))
    return;
  ShowTitleAndVersion(dialog);
}

}  // namespace

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const seams::ScopedAlertOwner alertOwner(dialog);
  const seams::TraceMessageScope trace("AboutDlgProc", message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG: InitAbout(dialog); return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      break;
  }
  trace.Ending();
  return FALSE;
}
