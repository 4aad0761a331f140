// The quarter-size image cache of the current image set: the cache routines on its data folder.
#include "framework/Arrays.h"
#include "framework/File.h"
#include "imageset/ImageSet.h"
#include "imaging/QuarterCache.h"
#include "seams/Alerts.h"
#include "settings/IniSettings.h"

bool QuarterImageCacheExists() { return QuarterImageCacheExistsIn(IniSettings.DATADIRECTORY); }

void LoadQuarterImageIndex() { LoadQuarterImageIndexFrom(IniSettings.DATADIRECTORY); }

CDIB* ReadSetQuarterImage(int n) {
  CFile cache;
  if (!cache.Open(ImageSetFilePath(kQuarterCacheFileName),
                  CFile::modeRead | CFile::shareDenyWrite)) {
    seams::Alert("Unable to open date image file", "Alert");
    return nullptr;
  }
  return ReadQuarterImage(&cache, n);
}

BOOL BuildQuarterImageCache(HWND progress) {
  CObArray records;
  GetImageDescArray(ImageSetFilePath("Imagedes.dat"), &records);
  const BOOL built = BuildQuarterImageCacheFrom(IniSettings.DATADIRECTORY, records, progress);
  DeleteImageDescs(&records);
  return built;
}

BOOL BuildQuarterImageCacheWithProgress(HINSTANCE instance, HWND host) {
  BOOL built = 0;
  RunWithProgressBar(instance, host, [&built](HWND bar) { built = BuildQuarterImageCache(bar); });
  if (!built) seams::Alert("Unable to restore 1/4 size images", "Alert", seams::kAlertIconHand);
  return built;
}
