#include "config/ConfigureDialog.h"

#include <cstdio>
#include <iterator>
#include <string>

#include "config/SubDialogs.h"
#include "controls/ControlsSliders.h"
#include "controls/DialogSupport.h"
#include "controls/ProductTitle.h"
#include "framework/String.h"
#include "framework/Wnd.h"
#include "imageset/ImageSet.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "seams/ProcessLaunch.h"
#include "seams/Trace.h"
#include "settings/DecimalText.h"
#include "settings/ImageSetKey.h"
#include "settings/IniSettings.h"
#include "wallpaper/WallpaperComposer.h"
#include "wallpaper/WallpaperPreview.h"

namespace {

constexpr char kProcedureName[] = "ScreenSaverConfigureDialog";
constexpr char kErrorCaption[] = "Screen Saver Error";
constexpr int kRoutineCount = 8;
constexpr int kTimeCount = 5;
constexpr int kSliderMinimum = 1;
constexpr int kSliderMaximum = 100;
constexpr int kSliderDefault = 50;

// Which slider each routine has: bit 1 speed, bit 2 size. "Combo" and "Slide Show" have none.
constexpr int kSpeedBit = 1;
constexpr int kSizeBit = 2;
constexpr int kSliderMask[kRoutineCount] = {3, 3, 3, 3, 3, 3, 0, 0};

// The key path the settings were read from, and whether they were: after a failed read the
// store holds nothing of the registry and no backup, so OK and Cancel write nothing.
CString settingsKeyPath;
bool settingsRead = false;

int Number(const char* text) { return saver::DecimalTextToInt(text); }

// A stored speed or size outside the slider's range shows as the nearest end (a slider past its
// ends draws no thumb); it is stored only when the user releases a slider.
int StoredSliderValue(const char* text) {
  return saver::DecimalTextInRange(text, kSliderMinimum, kSliderMaximum);
}

template <size_t N>
void StoreNumber(char (&buffer)[N], int value) {
  saver::IntToDecimalText(value, buffer);
}

void SetSwitch(HWND dialog, int id, int state) {
  if (auto* button = DialogControl<CRGrnBtnCtl>(dialog, id)) button->SetState(state ? 1 : 0);
}

int SwitchState(HWND dialog, int id) {
  const auto* button = DialogControl<CRGrnBtnCtl>(dialog, id);
  return button ? button->state : 0;
}

void EnableItems(HWND dialog, std::initializer_list<int> ids, BOOL enable) {
  for (int id : ids) EnableWindow(GetDlgItem(dialog, id), enable);
}

// The on/off switches and the settings they stand for.
struct SwitchSetting {
  int id;
  char* setting;
};
const SwitchSetting kSwitches[] = {
    {IDC_CLOCKON, IniSettings.CLOCKON},    {IDC_TEXTFXON, IniSettings.TEXTFX_TEXTON},
    {IDC_SOUNDON, IniSettings.SOUND_ON},   {IDC_LOGOSON, IniSettings.LOGOSON},
    {IDC_TOPTENON, IniSettings.TOPTEN_ON},
};

// The selected item's position and data of a list; -1 (CB_ERR) when none is selected.
int ComboSelection(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
}

int SelectedRoutine(HWND dialog) {
  const int selection = ComboSelection(dialog, IDC_ROUTINECOMBO);
  if (selection == CB_ERR) return CB_ERR;
  return static_cast<int>(SendDlgItemMessageA(dialog, IDC_ROUTINECOMBO, CB_GETITEMDATA,
                                              static_cast<WPARAM>(selection), 0));
}

int AddComboText(HWND dialog, int id, UINT stringId) {
  char text[kNumberBufferSize] = "";
  LoadStringA(DialogInstance(), stringId, text, sizeof text);
  return static_cast<int>(
      SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

void FillTimeCombo(HWND dialog) {
  SendDlgItemMessageA(dialog, IDC_TIMECOMBO, CB_RESETCONTENT, 0, 0);
  for (int code = 0; code < kTimeCount; ++code) {
    AddComboText(dialog, IDC_TIMECOMBO, IDS_TIME_FIRST + code);
  }
  const int time = saver::DecimalTextInRange(IniSettings.TIME, 0, kTimeCount - 1);
  SendDlgItemMessageA(dialog, IDC_TIMECOMBO, CB_SETCURSEL, static_cast<WPARAM>(time), 0);
}

void ShowTitles(HWND dialog) {
  const CString title = GetProductTitle();
  SetWindowTextA(dialog, CString("Settings for ") + title + " Screen Saver");
  SetDlgItemTextA(dialog, IDC_PRODUCTLINE, title + " Screen Saver - picture settings");
}

void ShowSwitches(HWND dialog) {
  for (const SwitchSetting& item : kSwitches) SetSwitch(dialog, item.id, Number(item.setting));
}

void CheckImageSource(HWND dialog) {
  CheckDlgButton(dialog, IDC_OWNIMAGES, OwnImagesMode ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_KELVANEIMAGES, OwnImagesMode ? BST_UNCHECKED : BST_CHECKED);
}

void ReportUnreadableSettings(HWND dialog, int error) {
  char text[160];
  std::snprintf(text, sizeof text,
                "Unable to read Screen Saver registry values (Error:%d) - screen saver needs to "
                "be reinstalled",
                error);
  seams::Alert(text, kErrorCaption, seams::kAlertIconHand, dialog);
}

BOOL CALLBACK DisableUnlessClosing(HWND control, LPARAM) {
  const int id = GetDlgCtrlID(control);
  if (id != IDOK && id != IDCANCEL && id != IDC_PRODUCTLINE) EnableWindow(control, FALSE);
  return TRUE;
}

// Without settings nothing can be shown or saved: every control but OK and Cancel (both just
// close) is disabled, and the dialog's first line says why, so that nothing looks editable.
void DisableSettingsActions(HWND dialog, int error) {
  EnumChildWindows(dialog, DisableUnlessClosing, 0);
  char text[160];
  std::snprintf(text, sizeof text,
                "The settings could not be read (Error:%d) - reinstall the screen saver", error);
  SetDlgItemTextA(dialog, IDC_PRODUCTLINE, text);
}

void CloseTrace() {
  if (seams::Trace::IsOn()) seams::Trace::Close();
}

// OK and Cancel: write the choices (or the backup copy) when the settings were read, then close.
void EndConfigureDialog(HWND dialog, bool keepChoices) {
  if (settingsRead) {
    if (keepChoices) {
      bReadDlgItems(dialog);
    } else {
      RestoreSettings();
    }
    vSaveIniSettings(settingsKeyPath);
  }
  EndDialog(dialog, keepChoices ? TRUE : FALSE);
  CloseTrace();
}

// Either radio: only a real change of image source changes anything.
void OnImageSourceClicked(HWND dialog) {
  const int ownImages = IsOwnImagesChecked(dialog) ? 1 : 0;
  if (ownImages == (OwnImagesMode ? 1 : 0)) return;
  OwnImagesMode = ownImages;
  EnableOwnImagesGroup(dialog, OwnImagesMode);
  ResetWallpaperImageSettings(OwnImagesMode);
}

void OnSubDialogButton(HWND dialog, int button) {
  if (!settingsRead) return;
  if (const SubDialogRow* row = FindSubDialog(button)) OpenSubDialog(dialog, *row);
}

// The WM_COMMAND work; TRUE for OK and Cancel, FALSE otherwise.
BOOL OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDOK:
    case IDCANCEL: {
      const seams::TraceScope trace(id == IDOK ? "ScreenSaverConfigureDialog IDOK"
                                               : "ScreenSaverConfigureDialog IDCANCEL");
      EndConfigureDialog(dialog, id == IDOK);
      return TRUE;
    }
    case IDC_PREVIEW:
      if (settingsRead) StartScreenPreview(dialog);
      return FALSE;
    case IDC_KELVANEIMAGES:
    case IDC_OWNIMAGES: OnImageSourceClicked(dialog); return FALSE;
    case IDC_ROUTINECOMBO:
      if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE) ShowRoutineSliders(dialog);
      return FALSE;
    default:
      if (code == BN_CLICKED) OnSubDialogButton(dialog, id);
      return FALSE;
  }
}

}  // namespace

BOOL WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const seams::ScopedAlertOwner alertOwner(dialog);
  const seams::TraceMessageScope trace(kProcedureName, message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG: InitConfigureDialog(dialog); return TRUE;
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_HSCROLL:
      if (LOWORD(wParam) == SB_THUMBPOSITION) {
        StoreRoutineSliders(dialog, reinterpret_cast<HWND>(lParam));
      }
      return FALSE;
    default: trace.Ending(); return FALSE;
  }
}

BOOL InitConfigureDialog(HWND dialog) {
  seams::TraceScope trace("InitConfigureDialog");
  BuildRegistryKeyPath(settingsKeyPath);
  ForgetReportedSetFolder();
  const int error = GetIniSettings(settingsKeyPath);
  settingsRead = error == 0;
  CentreOver(dialog, GetDesktopWindow());
  if (!settingsRead) {
    DisableSettingsActions(dialog, error);
    ReportUnreadableSettings(dialog, error);
    trace.Fail();
    return FALSE;
  }
  BackupSettings();
  ShowTitles(dialog);
  OwnImagesMode = Number(IniSettings.OWNIMAGES_ON);
  CheckImageSource(dialog);
  ShowSwitches(dialog);
  FillTimeCombo(dialog);
  FillRoutineCombo(dialog);
  ShowRoutineSliders(dialog);
  EnableOwnImagesGroup(dialog, OwnImagesMode);
  return TRUE;
}

BOOL bReadDlgItems(HWND dialog) {
  seams::TraceScope trace("bReadDlgItems");
  StoreNumber(IniSettings.OWNIMAGES_ON, OwnImagesMode);
  for (const SwitchSetting& item : kSwitches) {
    saver::IntToDecimalText(SwitchState(dialog, item.id), item.setting, kNumberBufferSize);
  }
  const int time = ComboSelection(dialog, IDC_TIMECOMBO);
  if (time != CB_ERR) StoreNumber(IniSettings.TIME, time);
  const int routine = SelectedRoutine(dialog);
  if (routine != CB_ERR) StoreNumber(IniSettings.SSFN, routine);
  return TRUE;
}

BOOL IsOwnImagesChecked(HWND dialog) {
  return IsDlgButtonChecked(dialog, IDC_OWNIMAGES) == BST_CHECKED;
}

BOOL StoreRoutineSliders(HWND dialog, HWND scrollBar) {
  if (scrollBar != GetDlgItem(dialog, IDC_SPEEDSLIDER) &&
      scrollBar != GetDlgItem(dialog, IDC_SIZESLIDER)) {
    return FALSE;
  }
  const auto* speed = DialogControl<CRVSliderCtl>(dialog, IDC_SPEEDSLIDER);
  const auto* size = DialogControl<CRVSliderCtl>(dialog, IDC_SIZESLIDER);
  if (!speed || !size) return FALSE;
  for (int position : {speed->position, size->position}) {
    if (position < kSliderMinimum || position > kSliderMaximum) return FALSE;
  }
  const int routine = SelectedRoutine(dialog);
  if (routine < 0 || routine >= static_cast<int>(std::size(IniSettings.SPEED))) return FALSE;
  StoreNumber(IniSettings.SPEED[routine], speed->position);
  StoreNumber(IniSettings.RES[routine], size->position);
  return TRUE;
}

BOOL ShowRoutineSliders(HWND dialog) {
  const int routine = SelectedRoutine(dialog);
  const bool known = routine >= 0 && routine < kRoutineCount;
  const int mask = known ? kSliderMask[routine] : 0;
  // The routines with sliders show their stored values; the others show the default.
  const bool stored = mask != 0;
  const int values[2] = {stored ? StoredSliderValue(IniSettings.SPEED[routine]) : kSliderDefault,
                         stored ? StoredSliderValue(IniSettings.RES[routine]) : kSliderDefault};
  const int sliders[2] = {IDC_SPEEDSLIDER, IDC_SIZESLIDER};
  for (int i = 0; i < 2; ++i) {
    if (auto* slider = DialogControl<CRVSliderCtl>(dialog, sliders[i])) {
      slider->SetRange(kSliderMinimum, kSliderMaximum);
      slider->SetPos(values[i]);
    }
  }
  const BOOL speedOn = (mask & kSpeedBit) != 0;
  const BOOL sizeOn = (mask & kSizeBit) != 0;
  EnableItems(dialog, {IDC_SPEEDSLIDER, IDC_SPEEDLABEL, IDC_SPEEDMAX, IDC_SPEEDMIN}, speedOn);
  EnableItems(dialog, {IDC_SIZESLIDER, IDC_SIZELABEL, IDC_SIZEMAX, IDC_SIZEMIN}, sizeOn);
  return TRUE;
}

BOOL FillRoutineCombo(HWND dialog) {
  SendDlgItemMessageA(dialog, IDC_ROUTINECOMBO, CB_RESETCONTENT, 0, 0);
  for (int routine = 0; routine < kRoutineCount; ++routine) {
    const int item = AddComboText(dialog, IDC_ROUTINECOMBO, IDS_ROUTINENAME_FIRST + routine);
    SendDlgItemMessageA(dialog, IDC_ROUTINECOMBO, CB_SETITEMDATA, static_cast<WPARAM>(item),
                        routine);
  }
  // An unknown routine number shows as the nearest routine there is.
  const int wanted = saver::DecimalTextInRange(IniSettings.SSFN, 0, kRoutineCount - 1);
  const int count =
      static_cast<int>(SendDlgItemMessageA(dialog, IDC_ROUTINECOMBO, CB_GETCOUNT, 0, 0));
  for (int item = 0; item < count; ++item) {
    if (SendDlgItemMessageA(dialog, IDC_ROUTINECOMBO, CB_GETITEMDATA, item, 0) == wanted) {
      SendDlgItemMessageA(dialog, IDC_ROUTINECOMBO, CB_SETCURSEL, item, 0);
      return TRUE;
    }
  }
  SendDlgItemMessageA(dialog, IDC_ROUTINECOMBO, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  return FALSE;
}

void EnableOwnImagesGroup(HWND dialog, int flag) {
  EnableItems(dialog,
              {IDC_TEXTFXGROUP, IDC_TEXTFXONOFF, IDC_TOPTENGROUP, IDC_TOPTENONOFF, IDC_TEXTFXON,
               IDC_TOPTENON, IDTEXTFX, IDSELECTTOPTEN},
              flag ? FALSE : TRUE);
  const SwitchSetting kept[] = {{IDC_TEXTFXON, IniSettings.TEXTFX_TEXTON},
                                {IDC_TOPTENON, IniSettings.TOPTEN_ON}};
  for (const SwitchSetting& item : kept) {
    if (flag) {
      saver::IntToDecimalText(SwitchState(dialog, item.id), item.setting, kNumberBufferSize);
      SetSwitch(dialog, item.id, 0);
    } else {
      SetSwitch(dialog, item.id, Number(item.setting));
    }
  }
  ResetOwnImageSettings(flag);
}

void ResetOwnImageSettings(int flag) {
  if (!flag) return;
  // Own pictures show at the screen's size on the plain background, with no frame.
  struct Fixed {
    char* setting;
    int32_t* copy;
    int value;
  };
  const Fixed fixed[] = {
      {IniSettings.IMAGE_SIZE, &ImageSettings.IMAGE_SIZE, 0},
      {IniSettings.IMAGE_BACKSTYLE, &ImageSettings.IMAGE_BACKSTYLE, 4},
      {IniSettings.IMAGE_BORDERSTYLE, &ImageSettings.IMAGE_BORDERSTYLE, 6},
      {IniSettings.IMAGE_BORDERTHICKNESS, &ImageSettings.IMAGE_BORDERTHICKNESS, 0},
      {IniSettings.IMAGE_BORDERSHADOWON, &ImageSettings.IMAGE_BORDERSHADOWON, 0},
      {IniSettings.INTERPON, &ImageSettings.INTERPON, 0},
  };
  for (const Fixed& item : fixed) {
    saver::IntToDecimalText(item.value, item.setting, kNumberBufferSize);
    *item.copy = item.value;
  }
}

void ResetWallpaperImageSettings(int) {
  StoreNumber(IniSettings.WALLPAPER_IMAGENO, 0);
  StoreNumber(IniSettings.WALLPAPER_IMAGEFX, 0);
  WallpaperSettings.WALLPAPER_IMAGENO = 0;
  WallpaperSettings.WALLPAPER_IMAGEFX = 0;
}

BOOL StartScreenPreview(HWND dialog) {
  const seams::TraceScope trace("ScreenSaverConfigureDialog IDC_PREVIEW");
  // In own-images mode the two switches show off while their settings keep the states that
  // come back with the image set; the preview saves what the switches show, and the kept states
  // return to the buffers afterwards.
  std::string textOn = IniSettings.TEXTFX_TEXTON, topTenOn = IniSettings.TOPTEN_ON;
  bReadDlgItems(dialog);
  vSaveIniSettings(settingsKeyPath);
  if (OwnImagesMode) {
    std::snprintf(IniSettings.TEXTFX_TEXTON, sizeof IniSettings.TEXTFX_TEXTON, "%s",
                  textOn.c_str());
    std::snprintf(IniSettings.TOPTEN_ON, sizeof IniSettings.TOPTEN_ON, "%s", topTenOn.c_str());
  }
  CString folder;
  if (!GetImageSetDataDirectory(IniSettings.SCREENSAVERKEY, folder)) {
    seams::Alert("No image set is installed for the screen saver - Screen Preview cannot start",
                 kErrorCaption, seams::kAlertIconHand, dialog);
    return FALSE;
  }
  char module[MAX_PATH + 1] = "";
  GetModuleFileNameA(DialogInstance(), module, MAX_PATH);
  const int failure =
      seams::LaunchProcess({module, "/s", static_cast<const char*>(folder), SW_SHOWMAXIMIZED});
  if (failure) {
    char text[MAX_PATH + 96];
    std::snprintf(text, sizeof text, "Unable to start the screen saver preview %s (Error:%d)",
                  module, failure);
    seams::Alert(text, kErrorCaption, seams::kAlertIconHand, dialog);
    return FALSE;
  }
  return TRUE;
}
