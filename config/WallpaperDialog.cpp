#include "config/WallpaperDialog.h"

#include <memory>
#include <new>

#include "config/MiniScreen.h"
#include "controls/ControlsSliders.h"
#include "controls/ControlsViews.h"
#include "controls/DialogSupport.h"
#include "controls/OwnImagesDialog.h"
#include "controls/TitleLists.h"
#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/DIB.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "seams/ScreenSize.h"
#include "seams/Trace.h"
#include "settings/DecimalText.h"
#include "settings/IniSettings.h"
#include "wallpaper/WallpaperComposer.h"
#include "wallpaper/WallpaperPreview.h"

namespace wallpaperdlg {
namespace {

constexpr char kMiniFailed[] = "Unable to set mini Wallpaper ctl";
constexpr char kScreenFailed[] = "Unable to set Wallpaper screen ctl";
constexpr int kButtonFace = 12;  // the arrow buttons' pictures are 12 x 12
constexpr int kMaxTone = 255;

// The faces of the Previous and Next buttons, loaded when the dialog opens and deleted when it
// closes.
struct ButtonFaces {
  HBITMAP previous = nullptr, previousDisabled = nullptr, next = nullptr, nextDisabled = nullptr;
};
ButtonFaces faces;

// Whether the dialog read the settings and built what it shows when it opened: OK stores the
// controls only then, since a half-filled dialog would store its blanks over the settings.
bool dialogBuilt = false;

void LoadButtonFaces() {
  HINSTANCE instance = DialogInstance();
  faces.previous = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_PREVIMAGE));
  faces.previousDisabled = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_PREVIMAGE));
  faces.next = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_NEXTIMAGE));
  faces.nextDisabled = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_NEXTIMAGE));
}

void DeleteButtonFaces() {
  for (HBITMAP face : {faces.previous, faces.previousDisabled, faces.next, faces.nextDisabled})
    if (face) DeleteObject(face);
  faces = ButtonFaces{};
}

bool OwnImages() { return OwnImagesMode != 0; }

// The enabling of every group for a layout and size, by the one rule of the dialog.
void ApplyEnabling(HWND dialog, int layout, int sizeCode) {
  const WallpaperEnables on =
      WallpaperEnabling(layout == kWallpaperFullScale, sizeCode, OwnImages(), ScreenPixels(),
                        GetScreenBitsPerPixel());
  EnableThumbnailsChoice(dialog, on.thumbnails);
  EnableBorderGroup(dialog, on.border);
  EnableImageSizeGroup(dialog, on.imageSize);
  EnableScalingGroup(dialog, on.scaling);
}

// The preview fits composed wallpapers into itself on light grey; a full-scale set picture is
// composed to its size.
void SetPreviewFit(HWND dialog, bool composed) {
  if (CRDIBCtl* preview = ImageView(dialog, IDC_MINIPREVIEW)) {
    preview->SetBackColor(PALETTERGB(192, 192, 192));
    preview->SetKeepImageSize(composed ? TRUE : FALSE);
  }
}

bool FillPictureList(HWND list) {
  WallpaperSettingsValues& values = WallpaperSettings;
  if (OwnImages()) {
    FillListWithDirectory(list, IniSettings.OWNIMAGES_DIR, 0, 1);
    values.WALLPAPER_IMAGENO = 0;
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    return true;
  }
  if (!EnsureImageDescArray(&ImageDescArray) || !FillImageTitleList(&ImageDescArray, list))
    return false;
  if (values.WALLPAPER_IMAGENO == -1) {
    SortImageTitleList(list);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    values.WALLPAPER_IMAGENO = GetSelectedImageNo(&ImageDescArray, list);
    return true;
  }
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  if (values.WALLPAPER_IMAGENO < 0 || values.WALLPAPER_IMAGENO >= count)
    values.WALLPAPER_IMAGENO = 0;
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(values.WALLPAPER_IMAGENO), 0);
  SortImageTitleList(list);
  return true;
}

void FillLayoutList(HWND dialog) {
  WallpaperSettingsValues& values = WallpaperSettings;
  HWND combo = GetDlgItem(dialog, IDC_MULTIIMAGEFXCOMBO);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  const int first = OwnImages() ? IDS_OWNIMAGESLAYOUT : IDS_WALLPAPERLAYOUT_FIRST;
  const int names = OwnImages() ? 1 : 3;
  for (int i = 0; i < names; ++i) {
    char name[65] = "";
    LoadStringA(DialogInstance(), static_cast<UINT>(first + i), name, sizeof name);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  values.WALLPAPER_IMAGEFX = OfferedWallpaperLayout(values.WALLPAPER_IMAGEFX, OwnImages());
  const int line = OwnImages() || values.WALLPAPER_IMAGEFX == kWallpaperFullScale
                       ? 0
                       : values.WALLPAPER_IMAGEFX - 1;
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(line), 0);
}

void SetChoiceControls(HWND dialog) {
  const WallpaperSettingsValues& values = WallpaperSettings;
  CheckDlgButton(dialog, IDC_WALLPAPERAUTOROTATE, values.WALLPAPER_AUTOROTATEON ? BST_CHECKED : 0);
  CheckRadioValue(dialog, {IDC_WALLPAPERFULLSCALE, IDC_WALLPAPERTHUMBNAILS},
                  values.WALLPAPER_IMAGEFX == kWallpaperFullScale ? 0 : 1);
  FillLayoutList(dialog);
  if (auto* tone = DialogControl<CRVSliderCtl>(dialog, IDC_WALLPAPERTONE)) {
    tone->SetRange(0, kMaxTone);
    tone->SetPos(kMaxTone - values.WALLPAPER_IMAGETONE);
  }
  SetSharedGroups(dialog, values.WALLPAPER_SCREENSTYLE, values.WALLPAPER_BORDERSTYLE,
                  values.WALLPAPER_BORDERTHICKNESS, values.WALLPAPER_BORDERSHADOWON,
                  values.WALLPAPER_INTERPON);
}

// No own pictures: the background alone, framed as the layout lays it out, widened to 24 bits
// so that the preview keeps its greys (it would reduce an 8-bit bitmap of 256 colours).
BOOL ShowFramedBackground(HWND dialog) {
  CDIB* background = WallpaperBackgroundDIB;
  if (!background || !background->header) return 0;
  std::unique_ptr<CDIB> wide(new (std::nothrow) CDIB);
  const int w = background->GetWidth(), h = background->GetHeight();
  if (!wide || !wide->Create24(w, h)) return 0;
  background->CopyBits(wide.get(), 0, 0, w, h, 0, 0, -1);
  return ShowMiniScreen(dialog, wide.get());
}

bool UpdateCurrentPreview(HWND dialog) {
  return UpdateWallpaperPreview(dialog, WallpaperSettings.WALLPAPER_IMAGEFX,
                                WallpaperSettings.WALLPAPER_IMAGENO) != 0;
}

// A choice that changes the composition: store it, compose the background again and show the
// preview, under the wait cursor.
void ChangeSetting(HWND dialog, int32_t* field, int value, const char* failure) {
  if (*field == value) return;
  *field = value;
  ComposeUnderWaitCursor(
      failure, [&] { return BuildWallpaperBackground() && UpdateCurrentPreview(dialog); });
}

void OnImageSize(HWND dialog) {
  const int size = GetWallpaperImageSize(dialog);
  ApplyEnabling(dialog, WallpaperSettings.WALLPAPER_IMAGEFX, size);
  ChangeSetting(dialog, &WallpaperSettings.WALLPAPER_IMAGESIZE, size, kMiniFailed);
}

void OnLayout(HWND dialog) {
  const int layout = GetWallpaperImageFX(dialog);
  if (!OwnImages()) SetPreviewFit(dialog, layout != kWallpaperFullScale);
  ApplyEnabling(dialog, layout, WallpaperSettings.WALLPAPER_IMAGESIZE);
  ChangeSetting(dialog, &WallpaperSettings.WALLPAPER_IMAGEFX, layout, kMiniFailed);
}

void OnStep(HWND dialog, bool forward) {
  HWND list = PictureList(dialog);
  if (OwnImages() && SendMessageA(list, LB_GETCOUNT, 0, 0) <= 0) return;  // nothing to step to
  ComposeUnderWaitCursor(kScreenFailed, [&] {
    WallpaperSettings.WALLPAPER_IMAGENO =
        StepWallpaperImageNo(list, WallpaperSettings.WALLPAPER_IMAGENO, forward);
    return UpdateCurrentPreview(dialog);
  });
}

void OnTone(HWND dialog) {
  ComposeUnderWaitCursor(kMiniFailed, [&] {
    WallpaperSettings.WALLPAPER_IMAGETONE = GetWallpaperTone(dialog);
    return UpdateCurrentPreview(dialog);
  });
}

// Writes the wallpaper as it will look and installs it; every failure is alerted on the way.
void OnSetWallpaper(HWND dialog) {
  const WaitCursor wait;
  if (OwnImages() || WallpaperSettings.WALLPAPER_IMAGEFX != kWallpaperFullScale) {
    SaveAndInstallWallpaper(ComposedWallpaperDIB(), "Alert");
    return;
  }
  if (!HandleLoadingFullscreenWallpaper(dialog, 1, WallpaperSettings.WALLPAPER_IMAGENO)) {
    seams::Alert("Unable to load full screen wallpaper", "Alert", seams::kAlertIconHand, dialog);
    return;
  }
  CDIB* composed = ComposeFullScaleWallpaper(&WallpaperImageDIB, WallpaperBackgroundDIB);
  SaveAndInstallWallpaper(composed, "Alert");
  if (composed != WallpaperImageDIB) delete composed;
}

void OnDrawItem(const DRAWITEMSTRUCT* item) {
  const bool next = item->CtlID == IDC_WALLPAPERNEXT;
  DrawOwnerDrawButton(item, next ? faces.next : faces.previous, 0, 0, kButtonFace, kButtonFace,
                      next ? faces.nextDisabled : faces.previousDisabled, 0, 0, kButtonFace,
                      kButtonFace);
}

void OnFullScreenClose(HWND dialog, int n) {
  WallpaperSettings.WALLPAPER_IMAGENO = n;
  if (!UpdateWallpaperPreview(dialog, WallpaperSettings.WALLPAPER_IMAGEFX, n))
    seams::Alert(kMiniFailed, "Alert", seams::kAlertIconHand, dialog);
}

// Ends the dialog and frees what it made: the background, the cells and the button faces.
void Close(HWND dialog) {
  EndDialog(dialog, 0);
  FreeWallpaperBackground();
  DeleteButtonFaces();
}

INT_PTR OnInitDialog(HWND dialog) {
  const seams::ScopedFirstAlertOnly oneMessage;
  const WaitCursor wait;
  CentreOverOwner(dialog);
  const bool setRead = InitImageSet() != 0;
  dialogBuilt = InitWallpaperDlg(dialog) && setRead;
  PreparePreview(dialog);
  if (OwnImages() || WallpaperSettings.WALLPAPER_IMAGEFX != kWallpaperFullScale)
    SetPreviewFit(dialog, true);
  LoadButtonFaces();
  if (dialogBuilt && (!BuildWallpaperBackground() || !UpdateCurrentPreview(dialog)))
    seams::Alert(kMiniFailed, "Alert", seams::kAlertIconHand, dialog);
  return TRUE;  // the first control has the focus whatever the preview did
}

INT_PTR OnCommand(HWND dialog, int id, int code) {
  WallpaperSettingsValues& values = WallpaperSettings;
  switch (id) {
    case IDOK:
      if (dialogBuilt) bSaveWallpaperDlgSettings(dialog);
      Close(dialog);
      return TRUE;
    case IDCANCEL: Close(dialog); return TRUE;
    case IDC_IMAGERES:
      if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE)
        Labelled("WallpaperDlgProc - IDC_IMAGERES", [&] { OnImageSize(dialog); });
      return TRUE;
    case IDC_SIMPLESCALING:
    case IDC_PALETTEINTERP:
      Labelled("WallpaperDlgProc - Change Interp",
               [&] { values.WALLPAPER_INTERPON = GetWallpaperInterp(dialog); });
      return TRUE;
    case IDC_BORDER2DBLACK:
    case IDC_BORDER2DWHITE:
    case IDC_BORDEREMBOSS:
    case IDC_BORDERFRAME:
    case IDC_BORDERTEAR:
    case IDC_BORDERSTAMP:
    case IDC_BORDERNONE:
      Labelled("WallpaperDlgProc - Change Border Style", [&] {
        ChangeSetting(dialog, &values.WALLPAPER_BORDERSTYLE, GetWallpaperBorderStyle(dialog),
                      kMiniFailed);
      });
      return TRUE;
    case IDC_BORDERTHIN:
    case IDC_BORDERWIDE:
      Labelled("WallpaperDlgProc - Change Border Thickness", [&] {
        ChangeSetting(dialog, &values.WALLPAPER_BORDERTHICKNESS,
                      GetWallpaperBorderThickness(dialog), kMiniFailed);
      });
      return TRUE;
    case IDC_SCREENLARGELOGO:
    case IDC_SCREENSMALLLOGO:
    case IDC_SCREENBLACK:
    case IDC_SCREENWHITE:
      Labelled("WallpaperDlgProc - Change Screen Style", [&] {
        ChangeSetting(dialog, &values.WALLPAPER_SCREENSTYLE, GetWallpaperScreenStyle(dialog),
                      kMiniFailed);
      });
      return TRUE;
    case IDC_SHADOWON:
    case IDC_SHADOWOFF:
      Labelled("WallpaperDlgProc - Change Border Shadow", [&] {
        ChangeSetting(dialog, &values.WALLPAPER_BORDERSHADOWON, GetWallpaperBorderShadow(dialog),
                      kScreenFailed);
      });
      return TRUE;
    case IDC_WALLPAPERPREVIOUS:
    case IDC_WALLPAPERNEXT:
      Labelled("WallpaperDlgProc - Next/Prev Image",
               [&] { OnStep(dialog, id == IDC_WALLPAPERNEXT); });
      return TRUE;
    case IDC_SETWALLPAPER:
      Labelled("WallpaperDlgProc - Set Wallpaper", [&] { OnSetWallpaper(dialog); });
      return TRUE;
    case IDC_WALLPAPERFULLSCALE:
    case IDC_WALLPAPERTHUMBNAILS:
      Labelled("WallpaperDlgProc - Change Wallpaper Image FX", [&] { OnLayout(dialog); });
      return TRUE;
    case IDC_MULTIIMAGEFXCOMBO:
      if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE)
        Labelled("WallpaperDlgProc - IDC_MULTIIMAGEFXCOMBO", [&] {
          ChangeSetting(dialog, &values.WALLPAPER_IMAGEFX, GetWallpaperImageFX(dialog),
                        kMiniFailed);
        });
      return TRUE;
  }
  return FALSE;
}

}  // namespace

BOOL InitWallpaperDlg(HWND dialog) {
  InitWallpaperSettings();
  HWND list = CreatePictureList(dialog);
  if (!list || !FillPictureList(list)) return 0;
  WallpaperSettingsValues& values = WallpaperSettings;
  ShowScreenResolution(dialog, IDC_SCREENRESOLUTION);
  if (OwnImages()) values.WALLPAPER_IMAGESIZE = 0;
  values.WALLPAPER_IMAGESIZE = FillImageSizeList(dialog, !OwnImages(), values.WALLPAPER_IMAGESIZE);
  SetChoiceControls(dialog);
  ApplyEnabling(dialog, values.WALLPAPER_IMAGEFX, values.WALLPAPER_IMAGESIZE);
  return 1;
}

BOOL UpdateWallpaperPreview(HWND dialog, int layout, int n) {
  HWND list = PictureList(dialog);
  if (OwnImages()) {
    if (SendMessageA(list, LB_GETCOUNT, 0, 0) <= 0) return ShowFramedBackground(dialog);
    BuildOwnImagesWallpaperDIB(&WallpaperLayoutRects, n, list);
    return SetMiniWallpaper24DIBCtl(dialog);
  }
  if (layout == kWallpaperFullScale) return SetMiniWallpaperDIB(dialog, n);
  BuildImageSetWallpaperDIB(&WallpaperLayoutRects, n, list);
  return SetMiniWallpaper24DIBCtl(dialog);
}

BOOL SetMiniWallpaperDIB(HWND dialog, int n) {
  seams::Trace::Printf("SetMiniWallpaperDIB - Start\n");
  const BOOL shown =
      ShowMiniPicture(dialog, n, WallpaperSettings.WALLPAPER_IMAGESIZE, WallpaperBackgroundDIB,
                      WallpaperSettings.WALLPAPER_IMAGETONE, FALSE);
  seams::Trace::Printf("SetMiniWallpaperDIB - End\n");
  return shown;
}

BOOL SetMiniWallpaper24DIBCtl(HWND dialog) {
  return ShowMiniScreen(dialog, ComposedWallpaperDIB());
}

BOOL bSaveWallpaperDlgSettings(HWND dialog) {
  const seams::TraceScope trace("bSaveWallpaperDlgSettings");
  IniSettingsBuffers& text = IniSettings;
  WallpaperSettings.WALLPAPER_IMAGETONE = GetWallpaperTone(dialog);
  saver::IntToDecimalText(GetWallpaperImageFX(dialog), text.WALLPAPER_IMAGEFX);
  saver::IntToDecimalText(GetWallpaperImageSize(dialog), text.WALLPAPER_IMAGESIZE);
  saver::IntToDecimalText(GetWallpaperScreenStyle(dialog), text.WALLPAPER_SCREENSTYLE);
  saver::IntToDecimalText(GetWallpaperBorderStyle(dialog), text.WALLPAPER_BORDERSTYLE);
  saver::IntToDecimalText(GetWallpaperBorderThickness(dialog), text.WALLPAPER_BORDERTHICKNESS);
  saver::IntToDecimalText(GetWallpaperBorderShadow(dialog), text.WALLPAPER_BORDERSHADOWON);
  saver::IntToDecimalText(GetWallpaperInterp(dialog), text.WALLPAPER_INTERPON);
  saver::IntToDecimalText(WallpaperSettings.WALLPAPER_IMAGETONE, text.WALLPAPER_IMAGETONE);
  saver::IntToDecimalText(GetWallpaperAutoRotate(dialog) ? 1 : 0, text.WALLPAPER_AUTOROTATEON);
  saver::IntToDecimalText(WallpaperSettings.WALLPAPER_IMAGENO, text.WALLPAPER_IMAGENO);
  return 1;
}

int GetWallpaperImageFX(HWND dialog) {
  if (IsDlgButtonChecked(dialog, IDC_WALLPAPERFULLSCALE) == BST_CHECKED) return kWallpaperFullScale;
  if (IsDlgButtonChecked(dialog, IDC_WALLPAPERTHUMBNAILS) != BST_CHECKED)
    return kWallpaperFullScale;
  const int line =
      static_cast<int>(SendDlgItemMessageA(dialog, IDC_MULTIIMAGEFXCOMBO, CB_GETCURSEL, 0, 0));
  return (OwnImages() ? kWallpaperOwnUniform : kWallpaperTile) + (line > 0 ? line : 0);
}

int GetWallpaperImageSize(HWND dialog) { return ReadImageSizeList(dialog); }

int GetWallpaperScreenStyle(HWND dialog) { return ReadScreenStyle(dialog); }
int GetWallpaperBorderStyle(HWND dialog) { return ReadBorderStyle(dialog); }
int GetWallpaperBorderThickness(HWND dialog) { return ReadBorderThickness(dialog); }

int GetWallpaperBorderShadow(HWND dialog) { return ReadBorderShadow(dialog); }

int GetWallpaperInterp(HWND dialog) { return ReadInterpolation(dialog); }

int GetWallpaperTone(HWND dialog) {
  auto* tone = DialogControl<CRVSliderCtl>(dialog, IDC_WALLPAPERTONE);
  return tone ? kMaxTone - tone->position : WallpaperSettings.WALLPAPER_IMAGETONE;
}

int GetWallpaperAutoRotate(HWND dialog) {
  return IsDlgButtonChecked(dialog, IDC_WALLPAPERAUTOROTATE) == BST_CHECKED ? 1 : 0;
}

void EnableThumbnailsChoice(HWND dialog, BOOL enable) {
  EnableControls(dialog, {IDC_WALLPAPERTHUMBNAILS}, enable);
}

void EnableBorderGroup(HWND dialog, BOOL enable) {
  EnableScreenBorderGroup(dialog, enable != FALSE);
  EnableFrameGroup(dialog, enable != FALSE);
}

void EnableImageSizeGroup(HWND dialog, BOOL enable) {
  EnableControls(dialog, {IDC_IMAGESIZEBOX, IDC_IMAGERES, IDC_IMAGESIZELABEL}, enable);
  EnableScalingGroup(dialog, enable);
}

void EnableScalingGroup(HWND dialog, BOOL enable) {
  EnableScalingMethodGroup(dialog, enable != FALSE);
}

}  // namespace wallpaperdlg

INT_PTR CALLBACK WallpaperDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const seams::ScopedAlertOwner alertOwner(dialog);
  using namespace wallpaperdlg;
  const seams::TraceMessageScope trace("WallpaperDlgProc", message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND:
      if (OnCommand(dialog, LOWORD(wParam), HIWORD(wParam))) return TRUE;
      break;
    case WM_HSCROLL:
      if (LOWORD(wParam) == SB_THUMBPOSITION) {
        OnTone(dialog);
        return TRUE;
      }
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID == IDC_WALLPAPERPREVIOUS || item->CtlID == IDC_WALLPAPERNEXT) {
        OnDrawItem(item);
        return TRUE;
      }
      break;
    }
    case WM_FULLSCREEN_CLOSE: OnFullScreenClose(dialog, static_cast<int>(wParam)); return TRUE;
    case WM_RDIBCTL_CLICK: CreateFullScreenWallpaperWnd(dialog); return TRUE;
    case WM_DESTROY: DeleteButtonFaces(); break;
  }
  trace.Ending();
  return FALSE;
}
