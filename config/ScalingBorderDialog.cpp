#include "config/ScalingBorderDialog.h"

#include "config/ImageBrowser.h"
#include "config/MiniScreen.h"
#include "controls/ControlsViews.h"
#include "controls/DialogSupport.h"
#include "controls/OwnImagesDialog.h"
#include "controls/SelectedImage.h"
#include "controls/TitleLists.h"
#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/DIB.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "seams/Trace.h"
#include "settings/DecimalText.h"
#include "settings/IniSettings.h"
#include "transitions/LayoutRects.h"
#include "wallpaper/WallpaperPreview.h"

namespace scalingdlg {
namespace {

constexpr char kMiniFailed[] = "Unable to set mini screen ctl";

// The cells of the own picture's layout on the screen.
CPtrList ownImageRects;

// Whether the dialog read the settings and built what it shows when it opened: OK stores the
// controls only then.
bool dialogBuilt = false;

bool OwnImages() { return OwnImagesMode != 0; }

// The screen the enabling rule compares sizes with: the background's, once there is one.
PixelSize EnablingScreen() {
  if (ScreenBackgroundDIB && ScreenBackgroundDIB->header)
    return PixelSize{ScreenBackgroundDIB->GetWidth(), ScreenBackgroundDIB->GetHeight()};
  return ScreenPixels();
}

void ApplySizeEnabling(HWND dialog, int sizeCode, PixelSize screen) {
  const ScalingBorderEnables on = ScalingBorderEnabling(sizeCode, OwnImages(), screen);
  EnableImageBorderCtls(dialog, on.imageBorder);
  EnableScreenBorderCtls(dialog, on.screenBorder);
  EnableScalingMethodCtls(dialog, on.scalingMethod);
}

void SetGroups(HWND dialog) {
  const ImageSetSettings& values = ImageSettings;
  CheckRadioValue(
      dialog, {IDC_BACKLARGELOGO, IDC_BACKSMALLLOGO, IDC_BACKBLACK, IDC_BACKWHITE, IDC_BACKNONE},
      values.IMAGE_BACKSTYLE);
  SetSharedGroups(dialog, values.IMAGE_SCREENSTYLE, values.IMAGE_BORDERSTYLE,
                  values.IMAGE_BORDERTHICKNESS, values.IMAGE_BORDERSHADOWON, values.INTERPON);
}

void RefreshUnderWaitCursor(HWND dialog) {
  ComposeUnderWaitCursor(kMiniFailed, [&] { return RefreshMiniScreen(dialog) != 0; });
}

// A choice that changes the screen: store it, compose the background again and show the preview.
void ChangeSetting(HWND dialog, int32_t* field, int value) {
  if (*field == value) return;
  ComposeUnderWaitCursor(kMiniFailed, [&] {
    *field = value;
    BuildScreenBackground();
    return RefreshMiniScreen(dialog) != 0;
  });
}

INT_PTR OnInitDialog(HWND dialog) {
  const seams::ScopedFirstAlertOnly oneMessage;
  ComposeUnderWaitCursor(kMiniFailed, [&] {
    CentreOverOwner(dialog);
    dialogBuilt = InitImageSet() != 0;
    if (CRDIBCtl* preview = PreparePreview(dialog); preview && OwnImages()) {
      preview->SetBackColor(PALETTERGB(192, 192, 192));
      preview->SetKeepImageSize(TRUE);
    }
    dialogBuilt = InitScalingBorderDlg(dialog) && dialogBuilt;
    return RefreshMiniScreen(dialog) != 0;
  });
  return TRUE;  // the first control has the focus whatever the preview did
}

// The full-screen viewer of the mode, which walks the hidden list and reports the picture it
// showed last (WM_FULLSCREEN_CLOSE).
void OnPreviewClick(HWND dialog) {
  if (OwnImages())
    CreateFullScreenOwnImageWnd(dialog);
  else
    CreateFullScreenImageWnd(dialog);
}

void Close(HWND dialog) {
  EndDialog(dialog, 0);
  DeleteAllPtrListElements(&ownImageRects);
}

INT_PTR OnCommand(HWND dialog, int id, int code) {
  ImageSetSettings& values = ImageSettings;
  switch (id) {
    case IDOK:
      if (dialogBuilt) bSaveScalingBorderDlgSettings(dialog);
      Close(dialog);
      return TRUE;
    case IDCANCEL: Close(dialog); return TRUE;
    case IDC_BACKLARGELOGO:
    case IDC_BACKBLACK:
    case IDC_BACKWHITE:
    case IDC_BACKSMALLLOGO:
    case IDC_BACKNONE:
      Labelled("ScalingBorderDlgProc - Change Back Style",
               [&] { ChangeSetting(dialog, &values.IMAGE_BACKSTYLE, GetBackStyleSel(dialog)); });
      return TRUE;
    case IDC_IMAGERES:
      if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE)
        Labelled("ScalingBorderDlgProc - IDC_IMAGERES", [&] {
          const int size = GetImageSizeSel(dialog);
          ApplySizeEnabling(dialog, size, EnablingScreen());
          ChangeSetting(dialog, &values.IMAGE_SIZE, size);
        });
      return TRUE;
    case IDC_SIMPLESCALING:
    case IDC_PALETTEINTERP:
      Labelled("ScalingBorderDlgProc - Change Interp",
               [&] { values.INTERPON = GetInterpSel(dialog); });
      return TRUE;
    case IDC_BORDER2DBLACK:
    case IDC_BORDER2DWHITE:
    case IDC_BORDERNONE:
    case IDC_BORDEREMBOSS:
    case IDC_BORDERFRAME:
    case IDC_BORDERTEAR:
    case IDC_BORDERSTAMP:
      Labelled("ScalingBorderDlgProc - Change Border Style", [&] {
        ChangeSetting(dialog, &values.IMAGE_BORDERSTYLE, GetBorderStyleSel(dialog));
      });
      return TRUE;
    case IDC_BORDERTHIN:
    case IDC_BORDERWIDE:
      Labelled("ScalingBorderDlgProc - Change Border Thickness", [&] {
        ChangeSetting(dialog, &values.IMAGE_BORDERTHICKNESS, GetBorderThicknessSel(dialog));
      });
      return TRUE;
    case IDC_SCREENLARGELOGO:
    case IDC_SCREENSMALLLOGO:
    case IDC_SCREENBLACK:
    case IDC_SCREENWHITE:
      Labelled("ScalingBorderDlgProc - Change Screen Style", [&] {
        ChangeSetting(dialog, &values.IMAGE_SCREENSTYLE, GetScreenStyleSel(dialog));
      });
      return TRUE;
    case IDC_SHADOWON:
    case IDC_SHADOWOFF:
      Labelled("ScalingBorderDlgProc - Change Border Shadow", [&] {
        ChangeSetting(dialog, &values.IMAGE_BORDERSHADOWON, GetBorderShadowSel(dialog));
      });
      return TRUE;
  }
  return FALSE;
}

}  // namespace

BOOL InitScalingBorderDlg(HWND dialog) {
  HWND list = CreatePictureList(dialog);
  if (!list || !FillPreviewPictureList(list)) return 0;
  ShowScreenResolution(dialog, IDC_SCREENRESOLUTION);
  // A stored size the list does not offer shows, and is previewed, as the nearest it offers.
  const int size = FillImageSizeList(dialog, true, ImageSettings.IMAGE_SIZE);
  if (size != ImageSettings.IMAGE_SIZE) {
    ImageSettings.IMAGE_SIZE = size;
    BuildScreenBackground();
  }
  SetGroups(dialog);
  ApplySizeEnabling(dialog, size, ScreenPixels());
  // The background and size groups follow the mode only, and only here.
  const ScalingBorderEnables on = ScalingBorderEnabling(size, OwnImages(), ScreenPixels());
  EnableImageBackgroundCtls(dialog, on.imageBackground);
  EnableImageSizeCtls(dialog, on.imageSize);
  return 1;
}

BOOL RefreshMiniScreen(HWND dialog) {
  if (!OwnImages()) return SetMiniScreenDIB(dialog, SelectedImageNo);
  char name[MAX_PATH] = "";
  HWND list = PictureList(dialog);
  const LRESULT length =
      SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(SelectedOwnImageNo), 0);
  const bool named = length > 0 && length < static_cast<LRESULT>(sizeof name) &&
                     SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(SelectedOwnImageNo),
                                  reinterpret_cast<LPARAM>(name)) > 0;
  SetFullScreenOwnImageDIB(&ownImageRects, IniSettings.OWNIMAGES_DIR, named ? name : nullptr);
  return SetMiniWallpaper24DIBCtl(dialog);
}

BOOL SetMiniScreenDIB(HWND dialog, int index) {
  seams::Trace::Printf("SetMiniScreenDIB - Start\n");
  const BOOL shown =
      ShowMiniPicture(dialog, index, ImageSettings.IMAGE_SIZE, ScreenBackgroundDIB, 0, TRUE);
  if (shown) SelectedImageNo = index;
  seams::Trace::Printf("SetMiniScreenDIB - End\n");
  return shown;
}

BOOL SetMiniWallpaper24DIBCtl(HWND dialog) {
  seams::Trace::Printf("SetMiniWallpaper24DIBCtl - Start\n");
  const BOOL shown = ShowMiniScreen(dialog, FullScreenOwnImageDIB);
  seams::Trace::Printf("SetMiniWallpaper24DIBCtl - End\n");
  return shown;
}

BOOL bSaveScalingBorderDlgSettings(HWND dialog) {
  const seams::TraceScope trace("bSaveScalingBorderDlgSettings");
  IniSettingsBuffers& text = IniSettings;
  saver::IntToDecimalText(GetImageSizeSel(dialog), text.IMAGE_SIZE);
  saver::IntToDecimalText(GetBackStyleSel(dialog), text.IMAGE_BACKSTYLE);
  saver::IntToDecimalText(GetScreenStyleSel(dialog), text.IMAGE_SCREENSTYLE);
  saver::IntToDecimalText(GetBorderStyleSel(dialog), text.IMAGE_BORDERSTYLE);
  saver::IntToDecimalText(GetBorderThicknessSel(dialog), text.IMAGE_BORDERTHICKNESS);
  saver::IntToDecimalText(GetBorderShadowSel(dialog), text.IMAGE_BORDERSHADOWON);
  saver::IntToDecimalText(GetInterpSel(dialog), text.INTERPON);
  return 1;
}

int GetImageSizeSel(HWND dialog) { return ReadImageSizeList(dialog); }

int GetBackStyleSel(HWND dialog) {
  return ReadRadioGroup(
      dialog, {IDC_BACKLARGELOGO, IDC_BACKSMALLLOGO, IDC_BACKBLACK, IDC_BACKWHITE, IDC_BACKNONE});
}

int GetScreenStyleSel(HWND dialog) { return ReadScreenStyle(dialog); }
int GetBorderStyleSel(HWND dialog) { return ReadBorderStyle(dialog); }
int GetBorderThicknessSel(HWND dialog) { return ReadBorderThickness(dialog); }

int GetBorderShadowSel(HWND dialog) { return ReadBorderShadow(dialog); }

int GetInterpSel(HWND dialog) { return ReadInterpolation(dialog); }

void EnableImageBorderCtls(HWND dialog, BOOL enable) { EnableFrameGroup(dialog, enable != FALSE); }

void EnableScreenBorderCtls(HWND dialog, BOOL enable) {
  EnableScreenBorderGroup(dialog, enable != FALSE);
}

void EnableScalingMethodCtls(HWND dialog, BOOL enable) {
  EnableScalingMethodGroup(dialog, enable != FALSE);
}

void EnableImageBackgroundCtls(HWND dialog, BOOL enable) {
  EnableControls(dialog,
                 {IDC_BACKGROUNDBOX, IDC_BACKLARGELOGO, IDC_BACKSMALLLOGO, IDC_BACKBLACK,
                  IDC_BACKWHITE, IDC_BACKNONE},
                 enable);
}

void EnableImageSizeCtls(HWND dialog, BOOL enable) {
  EnableControls(dialog, {IDC_IMAGESIZEBOX, IDC_IMAGERES}, enable);
}

}  // namespace scalingdlg

INT_PTR CALLBACK ScalingBorderDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const seams::ScopedAlertOwner alertOwner(dialog);
  using namespace scalingdlg;
  const seams::TraceMessageScope trace("ScalingBorderDlgProc", message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND:
      if (OnCommand(dialog, LOWORD(wParam), HIWORD(wParam))) return TRUE;
      break;
    case WM_RDIBCTL_CLICK: OnPreviewClick(dialog); return TRUE;
    case WM_FULLSCREEN_CLOSE: RefreshUnderWaitCursor(dialog); return TRUE;
  }
  trace.Ending();
  return FALSE;
}
