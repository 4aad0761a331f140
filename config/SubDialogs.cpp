#include "config/SubDialogs.h"

#include <iterator>

#include "config/AboutDialog.h"
#include "config/ImageBrowser.h"
#include "config/ScalingBorderDialog.h"
#include "config/SoundDialog.h"
#include "config/TextFXDialog.h"
#include "config/TopTenDialog.h"
#include "config/TransitionDialog.h"
#include "config/WallpaperDialog.h"
#include "imaging/QuarterCache.h"
#include "res/DialogIds.h"
#include "saver/DialogSupport.h"
#include "saver/OwnImagesDialog.h"
#include "saver/ThumbnailDialog.h"

namespace {

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

}  // namespace

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
  if (row.cache != CacheRule::kNone) {
    const bool cached = EnsureQuarterCache(owner);
    if (row.cache == CacheRule::kRequired && !cached) return -1;
  }
  return DialogBoxParamA(DialogInstance(), MAKEINTRESOURCEA(row.templateId), owner,
                         row.procedure, 0);
}
