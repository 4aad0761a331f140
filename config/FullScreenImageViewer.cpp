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
#include "saver/DrawingThread.h"
#include "seams/Alerts.h"
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
  CreateViewerPicture(window, kViewerImageId);
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

void OnDestroyed(HWND) {
  viewer.window = nullptr;
  viewer.dialog = nullptr;
  viewer.FreePicture();
}

const ViewerHandlers kHandlers = {"FullScreenImageWndProc", OnCreate, OnArrow, Close, OnDestroyed};

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
  CRDIBCtl* picture = ViewerPicture(window, kViewerImageId);
  if (!picture) return 0;
  if (!ShowFullScaleOn(picture, &viewer.picture, ScreenBackgroundDIB)) return 0;
  SelectedImageNo = index;
  seams::Trace::Printf("SetFullScreenDIB - End\n");
  return 1;
}

LRESULT CALLBACK FullScreenImageWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ViewerWindowProc(kHandlers, window, message, wParam, lParam);
}
