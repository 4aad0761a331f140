// The full-screen image viewer of the settings dialogs (declared in config/ImageBrowser.h).
#include "config/ImageBrowser.h"
#include "controls/ControlsViews.h"
#include "controls/DialogSupport.h"
#include "controls/OwnImagesDialog.h"
#include "controls/SelectedImage.h"
#include "controls/TitleLists.h"
#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "res/DialogIds.h"
#include "controls/ControlsViews.h"
#include "controls/DialogSupport.h"
#include "controls/OwnImagesDialog.h"
#include "controls/SelectedImage.h"
#include "controls/TitleLists.h"
#include "saver/DrawingThread.h"
#include "wallpaper/WallpaperPreview.h"
#include "seams/Alerts.h"
#include "seams/ScreenSize.h"
#include "seams/Trace.h"
#include "wallpaper/WallpaperPreview.h"

namespace {

// The one open viewer, the dialog whose title list it walks and the picture it decoded last (its
// own: the picture control keeps a copy of what it shows).
struct Viewer {
  HWND window = nullptr;
  HWND dialog = nullptr;
  CDIB* picture = nullptr;

  void FreePicture() {
    delete picture;
    picture = nullptr;
  }
};
Viewer viewer;

// The image an arrow key leads to in the dialog's title list, wrapping: 0 when the dialog has no
// list, -1 (stay) when the shown image is not in it.
int SteppedImage(bool forward) {
  HWND list = viewer.dialog ? GetDlgItem(viewer.dialog, IDC_IMAGETITLELIST) : nullptr;
  if (!list) return 0;
  return forward ? GetNextListImageNo(&ImageDescArray, list, SelectedImageNo)
                 : GetPrevListImageNo(&ImageDescArray, list, SelectedImageNo);
}

void OnCreate(HWND window) {
  viewer.window = window;
  const ScreenSize screen = GetScreenSize();
  CreateWindowExA(0, "RDIBCtl", "ImageCtl", WS_CHILD | WS_VISIBLE, 0, 0, screen.cx, screen.cy,
                  window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kViewerImageId)),
                  DialogInstance(), nullptr);
  const WaitCursor wait;
  SetFullScreenDIB(window, SelectedImageNo);
}

void OnArrow(HWND window, bool forward) {
  const int next = SteppedImage(forward);
  if (next < 0) return;
  const WaitCursor wait;
  SetFullScreenDIB(window, next);
}

// Tells the dialog which image was shown last, then closes.
LRESULT Close(HWND window) {
  SendMessageA(viewer.dialog, WM_FULLSCREEN_CLOSE, static_cast<WPARAM>(SelectedImageNo),
               reinterpret_cast<LPARAM>(window));
  DestroyWindow(window);
  return 0;
}

}  // namespace

BOOL RegisterFullScreenImageWnd() {
  return RegisterFullScreenViewerClass(kFullScreenImageClass, FullScreenImageWndProc);
}

BOOL CreateFullScreenImageWnd(HWND parent) {
  if (viewer.window) return 0;
  viewer.dialog = parent;
  if (!CreateFullScreenViewer(kFullScreenImageClass, parent)) {
    viewer.window = nullptr;
    viewer.dialog = nullptr;
    return 0;
  }
  return 1;
}

const CDIB* FullScreenViewerPicture() { return viewer.picture; }

BOOL SetFullScreenDIB(HWND window, int index) {
  seams::Trace::Printf("SetFullScreenDIB - Start\n");
  // The background first: without it there is nothing to centre the image on.
  if (!ScreenBackgroundDIB || !ScreenBackgroundDIB->header) BuildScreenBackground();
  if (!ScreenBackgroundDIB || !ScreenBackgroundDIB->header) return 0;
  viewer.FreePicture();
  viewer.picture = LoadFullScreenImageWithLoadingWindow(window, index, ImageSettings.IMAGE_SIZE,
                                                        ImageSettings.INTERPON);
  if (!viewer.picture) return 0;
  CRDIBCtl* picture = ImageView(window, kViewerImageId);
  if (!picture) {
    seams::Alert("Unable to find DIB control", "Alert", seams::kAlertIconHand);
    return 0;
  }
  if (!ShowFullScaleOn(picture, &viewer.picture, ScreenBackgroundDIB)) return 0;
  SelectedImageNo = index;
  seams::Trace::Printf("SetFullScreenDIB - End\n");
  return 1;
}

LRESULT CALLBACK FullScreenImageWndProc(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
  const seams::ScopedAlertOwner alertOwner(window);
  const seams::TraceMessageScope trace("FullScreenImageWndProc", message, wParam, lParam);
  switch (ReadViewerKey(message, wParam)) {
    case ViewerKey::kBack: OnArrow(window, false); break;
    case ViewerKey::kForward: OnArrow(window, true); break;
    case ViewerKey::kClose: return Close(window);
    case ViewerKey::kNone: break;
  }
  switch (message) {
    case WM_CREATE: OnCreate(window); break;
    case WM_NCDESTROY:
      viewer.window = nullptr;
      viewer.dialog = nullptr;
      viewer.FreePicture();
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
