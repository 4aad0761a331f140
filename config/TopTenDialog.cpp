#include "config/TopTenDialog.h"

#include <cstring>

#include "config/CentreOnScreen.h"
#include "config/ImageBrowser.h"
#include "config/TopTenEdits.h"
#include "controls/ControlsViews.h"
#include "controls/DialogSupport.h"
#include "controls/OwnImagesDialog.h"
#include "controls/SelectedImage.h"
#include "controls/TitleLists.h"
#include "imageset/ImageSet.h"
#include "imaging/Descriptors.h"
#include "imaging/QuarterCache.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "seams/Trace.h"
#include "settings/IniSettings.h"
#include "settings/TopTenText.h"

char TopTenWorkList[256];

static_assert(sizeof TopTenWorkList == sizeof IniSettings.TOPTEN_PLAYLIST &&
                  sizeof TopTenWorkList == kTopTenTextSize,
              "the working copy is the setting's buffer");

namespace {

// The images a play-list entry may name: those of the cache (its index loaded when it is not
// yet) that the descriptor array also holds.
int PlayableImageCount() {
  if (QuarterImageCount == 0) LoadQuarterImageIndex();
  const int described = ImageDescArray.GetSize();
  return QuarterImageCount < described ? QuarterImageCount : described;
}

HWND AllTitles(HWND dialog) { return GetDlgItem(dialog, IDC_IMAGETITLELIST); }
HWND PlayList(HWND dialog) { return GetDlgItem(dialog, IDC_TOPTENLIST); }

void InitDialog(HWND dialog) {
  CentreOverOwnerOnScreen(dialog);
  InitTopTenDlg(dialog);
  if (CRDIBCtl* preview = ImageView(dialog, IDC_TOPTENPREVIEW))
    preview->SetHotCursor(TRUE, LoadCursorA(DialogInstance(), MAKEINTRESOURCEA(IDC_HOTCURSOR)));
  InitImageSet();
}

// A click on the preview: the previewed image chosen in the list of all titles, then the viewer.
void OpenViewer(HWND dialog) {
  HWND list = AllTitles(dialog);
  const int line = FindImageInList(&ImageDescArray, list, SelectedImageNo);
  if (line < 0) return;
  if (line != static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0))) SelectTitleLine(list, line);
  CreateFullScreenImageWnd(dialog);
}

void ViewerClosed(HWND dialog, int index) {
  HWND list = AllTitles(dialog);
  const int line = FindImageInList(&ImageDescArray, list, index);
  if (line < 0) return;
  SelectTitleLine(list, line);
  ShowSelectedTopTenPreview(list, dialog);
}

BOOL OnCommand(HWND dialog, WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case IDOK:
      bSaveTopTenDlgSettings();
      EndDialog(dialog, 0);
      return TRUE;
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    case IDC_IMAGETITLELIST:
    case IDC_TOPTENLIST:
      // A change of selection only (the list losing the focus sends code 5).
      if (HIWORD(wParam) == LBN_SELCHANGE) {
        seams::TraceScope trace("TopTenDlgProc - CBN_EDITCHANGE+CBN_SELCHANGE");
        ShowSelectedTopTenPreview(reinterpret_cast<HWND>(lParam), dialog);
      }
      break;
    case IDC_ADDTOTOPTEN: {
      seams::TraceScope trace("TopTenDlgProc - IDC_ADDTOTOPTEN");
      AddToTopTen(dialog);
      break;
    }
    case IDC_REMOVEFROMTOPTEN: {
      seams::TraceScope trace("TopTenDlgProc - IDC_REMOVEFROMTOPTEN");
      RemoveFromTopTen(dialog);
      break;
    }
  }
  return FALSE;
}

}  // namespace

BOOL InitTopTenDlg(HWND dialog) {
  // The working copy is taken first: OK stores it whatever the rest of the set-up managed, and a
  // copy from an earlier opening (or none) would replace the user's play list.
  std::memcpy(TopTenWorkList, IniSettings.TOPTEN_PLAYLIST, sizeof TopTenWorkList);
  HWND all = AllTitles(dialog);
  if (!all || !EnsureImageDescArray(&ImageDescArray) || !FillImageTitleList(&ImageDescArray, all))
    return 0;
  HWND playList = PlayList(dialog);
  if (!playList) return 0;
  FillTopTenList(playList);
  SelectPreviewedTitle(all);
  ShowSelectedTopTenPreview(all, dialog);
  return 1;
}

BOOL FillTopTenList(HWND list) {
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  int entries[kTopTenMaxEntries];
  const int count = ParseTopTenPlaylist(TopTenWorkList, PlayableImageCount(), entries);
  for (int i = 0; i < count; ++i)
    AddImageTitle(list, static_cast<CImageDesc*>(ImageDescArray.GetAt(entries[i])));
  SortImageTitleList(list);
  return 1;
}

BOOL AddToTopTen(HWND dialog) {
  HWND playList = PlayList(dialog);
  const int index = GetSelectedImageNo(&ImageDescArray, AllTitles(dialog));
  if (!playList || index < 0) return 0;
  switch (AddToTopTenText(TopTenWorkList, index, PlayableImageCount())) {
    case TopTenEdit::kDone: return FillTopTenList(playList);
    case TopTenEdit::kFull:
      seams::Alert("Top 10 image play list can handle a maximum of 10 images only.",
                   "Screen Saver Top Ten Play List Info", seams::kAlertOk, dialog);
      return 0;
    default: return 0;
  }
}

BOOL RemoveFromTopTen(HWND dialog) {
  HWND playList = PlayList(dialog);
  const int index = GetSelectedImageNo(&ImageDescArray, playList);
  if (!playList || index < 0) return 0;
  if (RemoveFromTopTenText(TopTenWorkList, index, PlayableImageCount()) != TopTenEdit::kDone)
    return 0;
  return FillTopTenList(playList);
}

BOOL ShowTopTenPreview(HWND dialog, int index) {
  if (index < 0 || index >= PlayableImageCount()) return 0;
  return ShowQuarterImagePreview(GetDlgItem(dialog, IDC_TOPTENPREVIEW), index);
}

void ShowSelectedTopTenPreview(HWND list, HWND dialog) {
  const int index = GetSelectedImageNo(&ImageDescArray, list);
  if (index >= 0) ShowTopTenPreview(dialog, index);
}

BOOL bSaveTopTenDlgSettings() {
  seams::TraceScope trace("bSaveTopTenDlgSettings");
  std::memcpy(IniSettings.TOPTEN_PLAYLIST, TopTenWorkList, sizeof TopTenWorkList);
  return 1;
}

INT_PTR CALLBACK TopTenDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const seams::ScopedAlertOwner alertOwner(dialog);
  const seams::TraceMessageScope trace("TopTenDlgProc", message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG: InitDialog(dialog); return TRUE;
    case WM_COMMAND:
      if (OnCommand(dialog, wParam, lParam)) return TRUE;
      break;
    case WM_RDIBCTL_CLICK: OpenViewer(dialog); break;
    case WM_FULLSCREEN_CLOSE: ViewerClosed(dialog, static_cast<int>(wParam)); break;
  }
  trace.Ending();
  return FALSE;
}
