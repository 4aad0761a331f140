#include "config/MiniScreen.h"

#include <cstdio>
#include <memory>
#include <new>

#include "controls/ControlsViews.h"
#include "controls/DialogSupport.h"
#include "controls/SelectedImage.h"
#include "controls/TitleLists.h"
#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/DIB.h"
#include "imaging/QuarterCache.h"
#include "imaging/Resample.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "seams/ScreenSize.h"
#include "settings/IniSettings.h"
#include "wallpaper/WallpaperPreview.h"

namespace {

using DIBPtr = std::unique_ptr<CDIB>;

constexpr char kSizeCaption[] = "Screen Saver Scaling/Border Settings";

}  // namespace

PixelSize ScreenPixels() {
  const ScreenSize screen = GetScreenSize();
  return PixelSize{screen.cx, screen.cy};
}

void ShowScreenResolution(HWND dialog, int id) {
  const PixelSize screen = ScreenPixels();
  char text[32];
  std::snprintf(text, sizeof text, "%dx%d", screen.cx, screen.cy);
  SetDlgItemTextA(dialog, id, text);
}

int FillImageSizeList(HWND dialog, bool sizes, int code) {
  HWND list = GetDlgItem(dialog, IDC_IMAGERES);
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Fit to Screen"));
  const PixelSize screen = ScreenPixels();
  const int lines = sizes ? OfferedSizeLines(screen) : 1;
  for (int line = 1; line < lines; ++line) {
    PixelSize size;
    SizeOfCode(line, screen, &size);
    char text[32];
    std::snprintf(text, sizeof text, "%dx%d", size.cx, size.cy);
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  const int shown = code < 0 ? 0 : code >= lines ? lines - 1 : code;
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(shown), 0);
  return shown;
}

int ReadImageSizeList(HWND dialog) {
  const LRESULT line = SendDlgItemMessageA(dialog, IDC_IMAGERES, CB_GETCURSEL, 0, 0);
  return line >= 0 && line <= kLargestSizeCode ? static_cast<int>(line) : 0;
}

void EnableControls(HWND dialog, std::initializer_list<int> ids, bool enable) {
  for (int id : ids) EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

int ReadRadioGroup(HWND dialog, std::initializer_list<int> ids) {
  int value = 0;
  for (int id : ids) {
    if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) return value;
    ++value;
  }
  return value - 1;
}

void CheckRadioValue(HWND dialog, std::initializer_list<int> ids, int value) {
  int each = 0;
  for (int id : ids) CheckDlgButton(dialog, id, each++ == value ? BST_CHECKED : BST_UNCHECKED);
}

int ReadScreenStyle(HWND dialog) {
  return ReadRadioGroup(
      dialog, {IDC_SCREENLARGELOGO, IDC_SCREENSMALLLOGO, IDC_SCREENBLACK, IDC_SCREENWHITE});
}

int ReadBorderStyle(HWND dialog) {
  return ReadRadioGroup(dialog, {IDC_BORDER2DBLACK, IDC_BORDER2DWHITE, IDC_BORDEREMBOSS,
                                 IDC_BORDERFRAME, IDC_BORDERTEAR, IDC_BORDERSTAMP, IDC_BORDERNONE});
}

int ReadBorderThickness(HWND dialog) {
  return ReadRadioGroup(dialog, {IDC_BORDERTHIN, IDC_BORDERWIDE});
}

int ReadBorderShadow(HWND dialog) {
  return IsDlgButtonChecked(dialog, IDC_SHADOWOFF) == BST_CHECKED ? 0 : 1;
}

int ReadInterpolation(HWND dialog) {
  return ReadRadioGroup(dialog, {IDC_SIMPLESCALING, IDC_PALETTEINTERP});
}

void SetSharedGroups(HWND dialog, int screenStyle, int borderStyle, int thickness, int shadow,
                     int interpolation) {
  if (screenStyle >= 0 && screenStyle <= 3)
    CheckRadioValue(dialog,
                    {IDC_SCREENLARGELOGO, IDC_SCREENSMALLLOGO, IDC_SCREENBLACK, IDC_SCREENWHITE},
                    screenStyle);
  CheckRadioValue(dialog,
                  {IDC_BORDER2DBLACK, IDC_BORDER2DWHITE, IDC_BORDEREMBOSS, IDC_BORDERFRAME,
                   IDC_BORDERTEAR, IDC_BORDERSTAMP, IDC_BORDERNONE},
                  borderStyle);
  if (thickness == 0 || thickness == 1)
    CheckRadioValue(dialog, {IDC_BORDERTHIN, IDC_BORDERWIDE}, thickness);
  CheckRadioValue(dialog, {IDC_SHADOWON, IDC_SHADOWOFF}, shadow ? 0 : 1);
  CheckRadioValue(dialog, {IDC_SIMPLESCALING, IDC_PALETTEINTERP}, interpolation ? 1 : 0);
}

void EnableScreenBorderGroup(HWND dialog, bool enable) {
  EnableControls(dialog,
                 {IDC_SCREENBORDERBOX, IDC_SCREENLARGELOGO, IDC_SCREENSMALLLOGO, IDC_SCREENBLACK,
                  IDC_SCREENWHITE},
                 enable);
}

void EnableFrameGroup(HWND dialog, bool enable) {
  EnableControls(
      dialog,
      {IDC_BORDERBOX, IDC_BORDER2DBLACK, IDC_BORDER2DWHITE, IDC_BORDEREMBOSS, IDC_BORDERFRAME,
       IDC_BORDERTEAR, IDC_BORDERSTAMP, IDC_BORDERNONE, IDC_THICKNESSBOX, IDC_BORDERTHIN,
       IDC_BORDERWIDE, IDC_SHADOWBOX, IDC_SHADOWON, IDC_SHADOWOFF},
      enable);
}

void EnableScalingMethodGroup(HWND dialog, bool enable) {
  EnableControls(dialog,
                 {IDC_SCALINGBOX, IDC_SIMPLESCALING, IDC_PALETTEINTERP, IDC_FASTSCALINGTEXT,
                  IDC_SLOWSCALINGTEXT},
                 enable);
}

HWND CreatePictureList(HWND dialog) {
  return CreateWindowExA(
      0, "Listbox", "", WS_CHILD | WS_BORDER | WS_VSCROLL | LBS_SORT | LBS_NOTIFY, 0, 0, 0, 0,
      dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_WALLPAPERIMAGELIST)),
      DialogInstance(), nullptr);
}

HWND PictureList(HWND dialog) { return GetDlgItem(dialog, IDC_WALLPAPERIMAGELIST); }

bool FillPreviewPictureList(HWND list) {
  if (OwnImagesMode) {
    FillListWithDirectory(list, IniSettings.OWNIMAGES_DIR, 0, 1);
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(SelectedOwnImageNo), 0);
    return true;
  }
  if (!EnsureImageDescArray(&ImageDescArray) || !FillImageTitleList(&ImageDescArray, list))
    return false;
  SortImageTitleList(list);
  if (SelectedImageNo == -1) {
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SelectedImageNo = GetSelectedImageNo(&ImageDescArray, list);
  }
  return true;
}

CRDIBCtl* PreparePreview(HWND dialog) {
  CRDIBCtl* preview = ImageView(dialog, IDC_MINIPREVIEW);
  if (!preview) return nullptr;
  SetWindowPos(GetDlgItem(dialog, IDC_MINIPREVIEW), nullptr, 0, 0, kMiniScreenWidth,
               kMiniScreenHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  preview->SetHotCursor(TRUE, LoadCursorA(DialogInstance(), MAKEINTRESOURCEA(IDC_HOTCURSOR)));
  return preview;
}

CRDIBCtl* FindPreview(HWND dialog) {
  CRDIBCtl* preview = ImageView(dialog, IDC_MINIPREVIEW);
  if (!preview) {
    seams::Alert("Unable to find DIB control", "Alert", seams::kAlertIconHand, dialog);
  }
  return preview;
}

BOOL ShowMiniPicture(HWND dialog, int index, int sizeCode, const CDIB* background, int tone,
                     BOOL corner) {
  if (QuarterImageCount == 0) LoadQuarterImageIndex();
  if (index < 0 || index >= QuarterImageCount || !background || !background->header) return 0;
  DIBPtr picture(ReadSetQuarterImage(index));
  if (!picture) return 0;
  picture->Lighten(tone);
  PixelSize full;
  if (!SizeOfCode(sizeCode, ScreenPixels(), &full)) {
    seams::Alert("Incorrect full screen image size selection", kSizeCaption, seams::kAlertOk,
                 dialog);
    return 0;
  }
  const PixelSize mini =
      MiniPictureSize(full, PixelSize{background->GetWidth(), background->GetHeight()});
  DIBPtr miniPicture(ShrinkDIB8(picture.get(), mini.cx, mini.cy));
  DIBPtr miniBackground(ShrinkDIB8(background, kMiniScreenWidth, kMiniScreenHeight));
  if (!miniPicture || !miniBackground) return 0;
  CRDIBCtl* preview = FindPreview(dialog);
  if (!preview) return 0;
  const PixelSize at =
      CentredOffset(PixelSize{miniBackground->GetWidth(), miniBackground->GetHeight()},
                    PixelSize{miniPicture->GetWidth(), miniPicture->GetHeight()});
  return preview->SetDIBStretched(miniPicture.get(), at.cx, at.cy, miniBackground.get(), corner);
}

BOOL ShowMiniScreen(HWND dialog, CDIB* screen) {
  CRDIBCtl* preview = FindPreview(dialog);
  if (!preview || !screen) return 0;
  return preview->SetDIB(screen);
}
