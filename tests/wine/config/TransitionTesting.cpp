#include "tests/wine/config/TransitionTesting.h"

#include <cstring>

#include <gtest/gtest.h>

#include "config/TransitionDialog.h"
#include "config/TransitionPreviewGeometry.h"
#include "controls/SelectedImage.h"
#include "imageset/ImageSet.h"
#include "imaging/DIBSurface.h"
#include "res/DialogIds.h"
#include "saver/DrawingThread.h"
#include "settings/IniSettings.h"
#include "settings/TransFXTables.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tools/setup/SettingsInstaller.h"
#include "wallpaper/WallpaperPreview.h"

namespace transitiontest {

std::string SettingsKey() {
  CString path;
  BuildRegistryKeyPath(path);
  return static_cast<const char*>(path);
}

void InstallAndRead(const std::string& dataFolder) {
  const InstallResult installed = InstallSettings(dataFolder, true);
  ASSERT_TRUE(installed.ok) << installed.error;
  const std::string key = SettingsKey();
  ASSERT_EQ(GetIniSettings(key.c_str()), 0);
  ASSERT_TRUE(GetTransFXIniSetting(TransFXKeyPath(key.c_str())));
  ResetTransFXClassTable();
  FreeTransitionPreviewPicture();
  delete ScreenBackgroundDIB;
  ScreenBackgroundDIB = nullptr;
  DeleteImageDescs(&ImageDescArray);
  SelectedImageNo = -1;
  OwnImagesMode = 0;
}

TransitionDialogEnvironment::TransitionDialogEnvironment() { controltest::RegisterControls(); }
TransitionDialogEnvironment::~TransitionDialogEnvironment() {
  FreeTransitionPreviewPicture();
  DeleteImageDescs(&ImageDescArray);
  OwnImagesMode = 0;
}

namespace {

// A 32-bit top-down DIB section in a memory context.
struct Canvas {
  Canvas(int w, int h) : width(w) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous = SelectObject(dc, bitmap);
  }
  ~Canvas() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  std::vector<COLORREF> Pixels(int count) const {
    std::vector<COLORREF> out(count);
    const auto* p = static_cast<const DWORD*>(bits);
    for (int i = 0; i < count; ++i)
      out[i] = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
    return out;
  }
  int width;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  void* bits = nullptr;
};

int W(const RECT& r) { return r.right - r.left; }
int H(const RECT& r) { return r.bottom - r.top; }

}  // namespace

std::vector<COLORREF> ReadClient(HWND window, const RECT& area) {
  Canvas canvas(W(area), H(area));
  HDC dc = GetDC(window);
  BitBlt(canvas.dc, 0, 0, W(area), H(area), dc, area.left, area.top, SRCCOPY);
  ReleaseDC(window, dc);
  return canvas.Pixels(W(area) * H(area));
}

std::vector<COLORREF> ExpectedMiniScreen(const RECT& mini) {
  CDIB* background = ScreenBackgroundDIB;
  CDIB* picture = TransitionPreviewPicture();
  if (!background || !picture) return {};
  const int sw = background->GetWidth(), sh = background->GetHeight();
  CDIBSurface screen;
  if (!screen.Create24(sw, sh)) return {};
  background->CopyBits(&screen, 0, 0, sw, sh, 0, 0, -1);
  const RECT place = CentredImageRect(sw, sh, picture->GetWidth(), picture->GetHeight());
  // A picture larger than the screen shows its centre.
  picture->CopyBits(&screen, place.left, place.top, W(place), H(place),
                    picture->GetWidth() > sw ? picture->GetWidth() / 2 - sw / 2 : 0,
                    picture->GetHeight() > sh ? picture->GetHeight() / 2 - sh / 2 : 0, -1);
  Canvas canvas(W(mini), H(mini));
  SetStretchBltMode(canvas.dc, COLORONCOLOR);
  StretchBlt(canvas.dc, 0, 0, W(mini), H(mini), screen.memoryDC.GetSafeHdc(), 0, 0, sw, sh,
             SRCCOPY);
  return canvas.Pixels(W(mini) * H(mini));
}

void WaitShown(dialogtest::Driver& d) {
  for (int i = 0; i < 2000 && !IsWindowVisible(d.Dialog()); ++i) Sleep(10);
  ASSERT_TRUE(IsWindowVisible(d.Dialog()));
  d.Sync();
}

void SelectClass(dialogtest::Driver& d, const std::string& name) {
  for (int line = 0; line < d.ListCount(IDC_TRANSCLASSLIST); ++line)
    if (d.ListText(IDC_TRANSCLASSLIST, line) == name) return d.SelectList(IDC_TRANSCLASSLIST, line);
  ADD_FAILURE() << "no class " << name;
}

RECT MiniScreenOf(HWND dialog) {
  RECT box{};
  GetWindowRect(GetDlgItem(dialog, IDC_TRANSPREVIEWFRAME), &box);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
  return MiniScreenRect(box);
}

}  // namespace transitiontest
