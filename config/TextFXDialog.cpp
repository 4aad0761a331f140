#include "config/TextFXDialog.h"

#include <cstddef>

#include "config/TextFXRules.h"
#include "controls/ControlsSliders.h"
#include "controls/DialogSupport.h"
#include "framework/Wnd.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "seams/Trace.h"
#include "settings/DecimalText.h"
#include "settings/IniSettings.h"

namespace {

// The lists' lines, as string resources in line order.
constexpr UINT kDurationLines[] = {1123, 1124, 1112, 1113, 1114, 1115};
constexpr UINT kColorLines[] = {1125, 1126, 1127, 1128, 1129, 1130, 1132, 1133, 1134, 1135,
                                1136, 1137, 1138, 1139, 1140, 1141, 1142, 1143, 1144, 1145};
static_assert(sizeof kColorLines / sizeof kColorLines[0] == kTextFXColorCount,
              "one line per colour code");
constexpr UINT kBorderStyleLines[] = {1116, 1117, 1118, 1119};
constexpr UINT kBackgroundStyleLines[] = {1120, 1121, 1122};
constexpr UINT kBounceDurationLines[] = {1112, 1113, 1114, 1115};

int Setting(const char* buffer) { return saver::DecimalTextToInt(buffer); }

template <size_t N>
void FillList(HWND dialog, int id, const UINT (&lines)[N]) {
  HWND list = GetDlgItem(dialog, id);
  for (UINT line : lines) {
    char text[64] = "";
    LoadStringA(DialogInstance(), line, text, sizeof text);
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
}

// Selects the line; a number that is no line leaves the list without a selection.
void SelectLine(HWND dialog, int id, int line) {
  HWND list = GetDlgItem(dialog, id);
  const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
  const WPARAM index =
      line >= 0 && line < count ? static_cast<WPARAM>(line) : static_cast<WPARAM>(-1);
  SendMessageA(list, CB_SETCURSEL, index, 0);
}

int SelectedLine(HWND dialog, int id) {
  const LRESULT line = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
  return line < 0 ? -1 : static_cast<int>(line);
}

void Check(HWND dialog, int id, bool on) {
  CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// Checks the radio of `value` in the group and clears the others; a value with no radio changes
// none of them.
template <size_t N>
void CheckRadio(HWND dialog, const int (&radios)[N], int value) {
  if (value < 0 || value >= static_cast<int>(N)) return;
  for (size_t i = 0; i < N; ++i) Check(dialog, radios[i], static_cast<int>(i) == value);
}

CRVSliderCtl* Slider(HWND dialog, int id) { return DialogControl<CRVSliderCtl>(dialog, id); }

void ShowSpeed(HWND dialog, int id, const char* setting) {
  if (CRVSliderCtl* slider = Slider(dialog, id)) {
    slider->SetRange(1, 100);
    slider->SetPos(Setting(setting));
  }
}

// A slider that is missing keeps the stored speed.
void StoreSpeed(HWND dialog, int id, char (&setting)[kNumberBufferSize]) {
  if (CRVSliderCtl* slider = Slider(dialog, id)) saver::IntToDecimalText(slider->position, setting);
}

void FillLists(HWND dialog) {
  FillList(dialog, IDC_TEXTFX_DURATION, kDurationLines);
  FillList(dialog, IDC_TEXTFX_TEXTCOLOR, kColorLines);
  FillList(dialog, IDC_TEXTFX_BACKCOLOR, kColorLines);
  FillList(dialog, IDC_TEXTFX_BORDERSTYLE, kBorderStyleLines);
  FillList(dialog, IDC_TEXTFX_BACKSTYLE, kBackgroundStyleLines);
  FillList(dialog, IDC_TEXTFX_BOUNCEDURATION, kBounceDurationLines);
}

void SelectStoredLines(HWND dialog) {
  const IniSettingsBuffers& s = IniSettings;
  SelectLine(dialog, IDC_TEXTFX_DURATION, Setting(s.TEXTFX_TEXTDURATION));
  SelectLine(dialog, IDC_TEXTFX_BORDERSTYLE, Setting(s.TEXTFX_BORDERSTYLE));
  SelectLine(dialog, IDC_TEXTFX_BACKSTYLE, Setting(s.TEXTFX_BACKGROUNDSTYLE));
  SelectLine(dialog, IDC_TEXTFX_BOUNCEDURATION, Setting(s.TEXTFX_BOUNCEDURATION));
  SelectLine(dialog, IDC_TEXTFX_TEXTCOLOR, ColorCodeToListIndex(Setting(s.TEXTFX_TEXTCOLOR)));
  SelectLine(dialog, IDC_TEXTFX_BACKCOLOR, ColorCodeToListIndex(Setting(s.TEXTFX_BACKGROUNDCOLOR)));
}

// Title only is 0, text and title 1.
constexpr int kContentRadios[] = {IDC_TEXTFX_TITLEONLY, IDC_TEXTFX_TEXTANDTITLE};
constexpr int kArrivalRadios[] = {IDC_TEXTFX_SLIDE, IDC_TEXTFX_FADE, IDC_TEXTFX_SLIDEANDFADE};

void CheckStoredButtons(HWND dialog) {
  const IniSettingsBuffers& s = IniSettings;
  CheckRadio(dialog, kContentRadios, Setting(s.TEXTFX_CONTENTSTYLE));
  CheckRadio(dialog, kArrivalRadios, Setting(s.TEXTFX_TRANSSELECTION));
  Check(dialog, IDC_TEXTFX_SHADING, Setting(s.TEXTFX_BACKDROPSHADING) != 0);
  Check(dialog, IDC_TEXTFX_BOUNCEON, Setting(s.TEXTFX_BOUNCEON) != 0);
  const textfx::TitleStyleBoxes boxes = textfx::TitleStyleToBoxes(Setting(s.TEXTFX_TITLESTYLE));
  Check(dialog, IDC_TEXTFX_ITALIC, boxes.italic);
  Check(dialog, IDC_TEXTFX_SHADOW, boxes.shadow);
  Check(dialog, IDC_TEXTFX_UNDERLINE, boxes.underline);
}

void StoreLists(HWND dialog) {
  using saver::IntToDecimalText;
  IniSettingsBuffers& s = IniSettings;
  IntToDecimalText(textfx::DurationListSetting(SelectedLine(dialog, IDC_TEXTFX_DURATION)),
                   s.TEXTFX_TEXTDURATION);
  IntToDecimalText(textfx::StyleListSetting(SelectedLine(dialog, IDC_TEXTFX_BORDERSTYLE)),
                   s.TEXTFX_BORDERSTYLE);
  IntToDecimalText(textfx::StyleListSetting(SelectedLine(dialog, IDC_TEXTFX_BACKSTYLE)),
                   s.TEXTFX_BACKGROUNDSTYLE);
  IntToDecimalText(textfx::DurationListSetting(SelectedLine(dialog, IDC_TEXTFX_BOUNCEDURATION)),
                   s.TEXTFX_BOUNCEDURATION);
  IntToDecimalText(ListIndexToColorCode(SelectedLine(dialog, IDC_TEXTFX_TEXTCOLOR)),
                   s.TEXTFX_TEXTCOLOR);
  IntToDecimalText(ListIndexToColorCode(SelectedLine(dialog, IDC_TEXTFX_BACKCOLOR)),
                   s.TEXTFX_BACKGROUNDCOLOR);
}

void StoreButtons(HWND dialog) {
  using saver::IntToDecimalText;
  IniSettingsBuffers& s = IniSettings;
  IntToDecimalText(textfx::TransSelectionSetting(Checked(dialog, IDC_TEXTFX_SLIDE),
                                                 Checked(dialog, IDC_TEXTFX_FADE)),
                   s.TEXTFX_TRANSSELECTION);
  IntToDecimalText(textfx::ContentStyleSetting(Checked(dialog, IDC_TEXTFX_TEXTANDTITLE),
                                               Checked(dialog, IDC_TEXTFX_TITLEONLY)),
                   s.TEXTFX_CONTENTSTYLE);
  IntToDecimalText(Checked(dialog, IDC_TEXTFX_SHADING) ? 1 : 0, s.TEXTFX_BACKDROPSHADING);
  IntToDecimalText(Checked(dialog, IDC_TEXTFX_BOUNCEON) ? 1 : 0, s.TEXTFX_BOUNCEON);
  const textfx::TitleStyleBoxes boxes{Checked(dialog, IDC_TEXTFX_ITALIC),
                                      Checked(dialog, IDC_TEXTFX_SHADOW),
                                      Checked(dialog, IDC_TEXTFX_UNDERLINE)};
  IntToDecimalText(textfx::BoxesToTitleStyle(boxes), s.TEXTFX_TITLESTYLE);
}

}  // namespace

BOOL bSetTextFXDlgItems(HWND dialog) {
  seams::TraceScope trace("bSetTextFXDlgItems");
  FillLists(dialog);
  SelectStoredLines(dialog);
  CheckStoredButtons(dialog);
  ShowSpeed(dialog, IDC_TEXTFX_SPEED, IniSettings.TEXTFX_TRANSSPEED);
  ShowSpeed(dialog, IDC_TEXTFX_BOUNCESPEED, IniSettings.TEXTFX_BOUNCESPEED);
  return TRUE;
}

BOOL bSaveTextFXDlgSettings(HWND dialog) {
  seams::TraceScope trace("bSaveTextFXDlgSettings");
  StoreLists(dialog);
  StoreButtons(dialog);
  StoreSpeed(dialog, IDC_TEXTFX_SPEED, IniSettings.TEXTFX_TRANSSPEED);
  StoreSpeed(dialog, IDC_TEXTFX_BOUNCESPEED, IniSettings.TEXTFX_BOUNCESPEED);
  return TRUE;
}

INT_PTR CALLBACK TextFXDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const seams::ScopedAlertOwner alertOwner(dialog);
  const seams::TraceMessageScope trace("TextFXDlgProc", message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG:
      CentreOverOwner(dialog);
      bSetTextFXDlgItems(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        bSaveTextFXDlgSettings(dialog);
        EndDialog(dialog, 0);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      break;
  }
  trace.Ending();
  return FALSE;
}
