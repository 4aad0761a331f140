#include "config/SubDialogs.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "config/AboutDialog.h"
#include "config/ImageBrowser.h"
#include "config/ScalingBorderDialog.h"
#include "config/SoundDialog.h"
#include "config/TextFXDialog.h"
#include "config/TopTenDialog.h"
#include "config/TransitionDialog.h"
#include "config/WallpaperDialog.h"
#include "controls/DialogSupport.h"
#include "controls/ImageSetDialog.h"
#include "controls/OwnImagesDialog.h"
#include "controls/ThumbnailDialog.h"
#include "imaging/QuarterCache.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "settings/ImageSetKey.h"
#include "settings/IniSettings.h"

namespace {

constexpr char kSetFolderCaption[] = "Screen Saver Image Set";

// The set folder whose trouble was reported while the settings dialog is open: the user is told
// once, and a later button that needs the set opens the chooser straight away.
CString reportedSetFolder;
bool setFolderReported = false;

// One row per sub-dialog button: {button, template, procedure, cache rule}.
const SubDialogRow kRows[] = {
    {IDABOUT, IDD_ABOUT, AboutDlgProc, CacheRule::kNone},
    {IDC_BROWSEIMAGES, IDD_IMAGEBROWSER, ImageSearchDlgProc, CacheRule::kRequired},
    {IDWALLPAPER, IDD_WALLPAPER, WallpaperDlgProc, CacheRule::kWanted},
    {IDTRANSITION, IDD_TRANSITIONFX, TransitionFXDlgProc, CacheRule::kRequired},
    {IDTEXTFX, IDD_TEXTFX, TextFXDlgProc, CacheRule::kNone},
    {IDSELECTTOPTEN, IDD_TOPTEN, TopTenDlgProc, CacheRule::kRequired},
    {IDSCALINGBORDER, IDD_SCALINGBORDER, ScalingBorderDlgProc, CacheRule::kWanted},
    {IDSOUNDFX, IDD_SOUNDFX, SoundFXDlgProc, CacheRule::kNone},
    {IDC_BROWSEOWNIMAGES, IDD_OWNIMAGES, OwnImageSearchDlgProc, CacheRule::kNone},
};

// Builds the cache when it is missing; whether it exists afterwards.
bool EnsureQuarterCache(HWND owner) {
  if (!QuarterImageCacheExists()) CreateThumbnails(owner);
  return QuarterImageCacheExists();
}

// One message for what is wrong with the set's folder and what to do about it.
void ReportUnusableSetFolder(HWND owner) {
  const char* folder = IniSettings.DATADIRECTORY;
  char text[kTextBufferSize + 160];
  if (!*folder) {
    std::snprintf(text, sizeof text,
                  "The current image set has no image set folder; choose an image set.");
  } else if (!FolderExists(folder)) {
    std::snprintf(text, sizeof text, "The image set folder %s was not found; choose an image set.",
                  folder);
  } else {
    std::snprintf(text, sizeof text,
                  "The image set folder %s does not hold a complete image set; choose an image "
                  "set.",
                  folder);
  }
  seams::Alert(text, kSetFolderCaption, seams::kAlertIconExclamation, owner);
}

// The dialogs that show the set's pictures cannot open on a set whose folder is gone (moved or
// deleted): the user is told so once and given the image-set chooser to repair it.
bool EnsureUsableImageSet(HWND owner) {
  if (IsImageSetDirectory(IniSettings.DATADIRECTORY)) return true;
  if (!setFolderReported || std::strcmp(reportedSetFolder, IniSettings.DATADIRECTORY) != 0) {
    ReportUnusableSetFolder(owner);
    reportedSetFolder = IniSettings.DATADIRECTORY;
    setFolderReported = true;
  }
  DialogBoxParamA(DialogInstance(), MAKEINTRESOURCEA(IDD_IMAGESET), owner, ImageSetDlgProc, 0);
  return IsImageSetDirectory(IniSettings.DATADIRECTORY) != FALSE;
}

}  // namespace

void ForgetReportedSetFolder() {
  reportedSetFolder.Empty();
  setFolderReported = false;
}

const SubDialogRow* SubDialogRows(int* count) {
  *count = static_cast<int>(std::size(kRows));
  return kRows;
}

const SubDialogRow* FindSubDialog(int button) {
  for (const SubDialogRow& row : kRows) {
    if (row.button == button) return &row;
  }
  return nullptr;
}

INT_PTR OpenSubDialog(HWND owner, const SubDialogRow& row) {
  if (row.cache != CacheRule::kNone && !EnsureUsableImageSet(owner)) return -1;
  if (row.cache != CacheRule::kNone) {
    const bool cached = EnsureQuarterCache(owner);
    if (row.cache == CacheRule::kRequired && !cached) return -1;
  }
  return DialogBoxParamA(DialogInstance(), MAKEINTRESOURCEA(row.templateId), owner, row.procedure,
                         0);
}
