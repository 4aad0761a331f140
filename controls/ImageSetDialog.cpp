#include "controls/ImageSetDialog.h"

#include <cstring>
#include <memory>
#include <new>

#include "controls/ControlsViews.h"
#include "controls/DialogSupport.h"
#include "controls/SelectedImage.h"
#include "controls/ThumbnailDialog.h"
#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "imaging/QuarterCache.h"
#include "res/DialogIds.h"
#include "richtext/RichTextDocument.h"
#include "seams/Alerts.h"
#include "seams/Registry.h"
#include "seams/Trace.h"
#include "settings/ImageSetKey.h"
#include "settings/IniSettings.h"

CStringArray ImageSetKeyPaths;

namespace {

bool FileExists(const CString& path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// The key path of the selected line, when the line names a listed set.
bool SelectedKeyPath(HWND dialog, CString* keyPath) {
  HWND list = GetDlgItem(dialog, IDC_IMAGESETLIST);
  const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (selected < 0) return false;
  const LRESULT index = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
  if (index < 0 || index >= ImageSetKeyPaths.GetSize()) return false;
  *keyPath = ImageSetKeyPaths.GetAt(static_cast<int>(index));
  return true;
}

// Adds a line for the set when its folder holds a valid set.
void ListSetIfValid(HWND list, const char* name) {
  CString keyPath = CString(kImageSetRootKey) + "\\" + name;
  CString folder;
  if (!GetImageSetDataDirectory(keyPath, folder) || !IsImageSetDirectory(folder)) return;
  const LRESULT line = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  if (line < 0) return;
  const int index = ImageSetKeyPaths.Add(keyPath);
  SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(line), index);
}

void SelectCurrentSet(HWND list) {
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int line = 0; line < count; ++line) {
    const LRESULT index = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(line), 0);
    if (index < 0 || index >= ImageSetKeyPaths.GetSize()) continue;
    if (std::strcmp(ImageSetKeyPaths.GetAt(static_cast<int>(index)), IniSettings.IMAGESETKEY))
      continue;
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(line), 0);
    return;
  }
}

bool ShowCover(HWND dialog, const CString& folder) {
  const CString path = folder + "\\cover.bmp";
  if (!FileExists(path)) return true;
  std::unique_ptr<CDIB> cover(new (std::nothrow) CDIB);
  if (!cover || !cover->Load(path)) return false;
  auto* view = DialogControl<CRDIBCtl>(dialog, IDC_IMAGESETCOVER);
  if (view) view->SetDIB(cover.get());
  return true;
}

bool ShowCredits(HWND dialog, const CString& folder) {
  const CString path = folder + "\\credits.rtf";
  auto* text = DialogControl<CRRTFCtl>(dialog, IDC_IMAGESETCREDITS);
  if (!FileExists(path) || !text || !text->document) return true;
  if (StreamInRichText(text->document, path, "RTF", kRichTextFormatRtf, TRUE) != 0) return false;
  SetRichTextReadOnly(text->document);
  return true;
}

// Forgets what was loaded of the previous set; its users load the new one on demand.
void DropLoadedSet() {
  DeleteImageDescs(&ImageDescArray);
  SelectedImageNo = -1;
  QuarterImageCount = 0;
  delete ImageSetLogoDIB;
  ImageSetLogoDIB = nullptr;
}

void ResetSetNumbers() {
  CString settingsKey;
  BuildRegistryKeyPath(settingsKey);
  SetLastImageNoIniSetting(settingsKey, 0, nullptr);
  SetLastSoundNoIniSetting(settingsKey, 0, nullptr);
  std::memset(IniSettings.TOPTEN_PLAYLIST, 0, sizeof IniSettings.TOPTEN_PLAYLIST);
}

void InitDialog(HWND dialog) {
  CentreOverOwner(dialog);
  FillImageSetList(dialog);
  auto* cover = DialogControl<CRDIBCtl>(dialog, IDC_IMAGESETCOVER);
  if (cover) {
    cover->SetBackColor(PALETTERGB(192, 192, 192));
    cover->SetKeepImageSize(TRUE);
  }
  ShowImageSetInfo(dialog);
}

}  // namespace

BOOL FillImageSetList(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_IMAGESETLIST);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  ImageSetKeyPaths.RemoveAll();
  seams::RegistryKey root;
  if (root.Open(kImageSetRootKey, seams::RegAccess::Read) == seams::kRegOk) {
    for (uint32_t index = 0;; ++index) {
      char name[257] = {};
      if (root.EnumSubkey(index, name, sizeof name) != seams::kRegOk) break;
      ListSetIfValid(list, name);
    }
  }
  SelectCurrentSet(list);
  return 1;
}

BOOL ShowImageSetInfo(HWND dialog) {
  CString keyPath, folder;
  if (!SelectedKeyPath(dialog, &keyPath) || !GetImageSetDataDirectory(keyPath, folder)) return 0;
  if (!ShowCover(dialog, folder)) return 0;
  return ShowCredits(dialog, folder) ? 1 : 0;
}

BOOL ApplyImageSet(HWND dialog) {
  CString keyPath, folder;
  if (!SelectedKeyPath(dialog, &keyPath) || !GetImageSetDataDirectory(keyPath, folder)) return 0;
  if (!IsImageSetDirectory(folder)) return 0;
  if (std::strcmp(keyPath, IniSettings.IMAGESETKEY) == 0) return 0;
  // A key path that does not fit the setting would name another key once cut.
  if (keyPath.GetLength() >= static_cast<int>(sizeof IniSettings.IMAGESETKEY)) return 0;
  std::strcpy(IniSettings.IMAGESETKEY, keyPath);
  GetDataDirectoryIniSetting();
  if (!QuarterImageCacheExists()) CreateThumbnails(dialog);
  DropLoadedSet();
  ResetSetNumbers();
  return 1;
}

INT_PTR CALLBACK ImageSetDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const seams::ScopedAlertOwner alertOwner(dialog);
  const seams::TraceMessageScope trace("ImageSetDlgProc", message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG: InitDialog(dialog); return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        ApplyImageSet(dialog);
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      if (LOWORD(wParam) == IDC_IMAGESETLIST && HIWORD(wParam) == LBN_SELCHANGE) {
        seams::TraceScope scope("ImageSetDlgProc - CBN_EDITCHANGE+CBN_SELCHANGE");
        ShowImageSetInfo(dialog);
        return FALSE;
      }
      break;
  }
  trace.Ending();
  return FALSE;
}
