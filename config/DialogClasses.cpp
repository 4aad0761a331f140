// The window classes the settings dialogs use, registered once before the settings dialog opens:
// the five custom controls (with the RichEdit library that the rich-text view hosts) and the
// full-screen viewers. Each step writes a trace line after it.
#include <iterator>

#include "config/ConfigureDialog.h"
#include "config/ImageBrowser.h"
#include "controls/ControlsSliders.h"
#include "controls/ControlsViews.h"
#include "controls/OwnImagesDialog.h"
#include "seams/Trace.h"
#include "wallpaper/WallpaperPreview.h"

namespace {

// The rich-text view hosts RichEdit 1.0's "RichEdit" class; the library stays loaded for the
// rest of the process.
BOOL LoadRichEdit() { return LoadLibraryA("RICHED32.DLL") != nullptr; }

struct RegistrationStep {
  const char* traceName;  // null: no trace line
  BOOL (*step)();
};

const RegistrationStep kSteps[] = {
    {"RGrnBtn", CRGrnBtnCtl::Register},
    {"RVSlider", CRVSliderCtl::Register},
    {"RMSlider", CRMSliderCtl::Register},
    {nullptr, LoadRichEdit},
    {"RRTFCtl", CRRTFCtl::Register},
    {"RDIBCtl", CRDIBCtl::Register},
    {"RegisterFullScreenImageWnd", RegisterFullScreenImageWnd},
    {"RegisterFullScreenOwnImageWnd", RegisterFullScreenOwnImageWnd},
    {"RegisterFullScreenWallpaperWnd", RegisterFullScreenWallpaperWnd},
};

}  // namespace

// A step that fails leaves its class missing; the dialog still opens, and only the windows of
// that class cannot be made, so the result is always TRUE.
BOOL WINAPI RegisterDialogClasses(HANDLE) {
  for (const RegistrationStep& step : kSteps) {
    step.step();
    if (step.traceName) seams::Trace::Printf("RegisterDialogClasses - %s\n", step.traceName);
  }
  return TRUE;
}
