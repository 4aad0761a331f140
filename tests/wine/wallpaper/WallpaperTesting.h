// What the wallpaper tests share: putting the composer's and the image set's state back, and
// failing a test on every message box it did not expect (with the box's text, instead of a box
// that would wait for a click).
#pragma once

#include <gtest/gtest.h>

#include "imageset/ImageSet.h"
#include "imaging/QuarterCache.h"
#include "seams/Alerts.h"
#include "wallpaper/WallpaperComposer.h"
#include "wallpaper/WallpaperPreview.h"

namespace wallpapertest {

inline void ResetWallpaperState() {
  FreeWallpaperBackground();
  FreeWallpaperBitmaps();
  DeleteImageDescs(&ImageDescArray);
  QuarterImageCount = 0;
  OwnImagesMode = 0;
}

inline void FailOnAlerts(const seams::RecordingAlertSink& alerts) {
  for (const seams::AlertRecord& alert : alerts.Records())
    ADD_FAILURE() << "unexpected message box: \"" << alert.text << "\" (" << alert.caption << ")";
}

}  // namespace wallpapertest
