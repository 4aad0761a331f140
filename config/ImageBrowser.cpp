#include "config/ImageBrowser.h"

#include <memory>

#include "framework/Exceptions.h"
#include "framework/File.h"
#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "imaging/QuarterCache.h"
#include "saver/ControlsViews.h"
#include "saver/SelectedImage.h"
#include "seams/Alerts.h"

namespace {

// Reads cached image `index` from the open cache; null when it cannot be read.
std::unique_ptr<CDIB> ReadQuarterImage(CFile* cache, int index) {
  std::unique_ptr<CDIB> image(new (std::nothrow) CDIB);
  if (!image) return nullptr;
  try {
    cache->Seek(QuarterImageOffsets[index], CFile::begin);
  } catch (const CException&) {
    return nullptr;
  }
  if (!image->LoadFromFile(cache) || image->GetWidth() <= 0 || image->GetHeight() <= 0)
    return nullptr;
  return image;
}

}  // namespace

BOOL ShowQuarterImagePreview(HWND dibControl, int index) {
  if (QuarterImageCount == 0) LoadQuarterImageIndex();
  if (index < 0 || index >= QuarterImageCount) return 0;
  CFile cache;
  if (!cache.Open(ImageSetFilePath(kQuarterCacheFileName),
                  CFile::modeRead | CFile::shareDenyWrite)) {
    seams::Alert("Unable to open date image file", "Alert");
    return 0;
  }
  const std::unique_ptr<CDIB> image = ReadQuarterImage(&cache, index);
  cache.Close();
  if (!image) return 0;
  auto* view = static_cast<CRDIBCtl*>(CWnd::FromHandlePermanent(dibControl));
  if (!view) return 0;
  view->SetDIB(image.get());  // the view keeps its own copy
  SelectedImageNo = index;
  return 1;
}
