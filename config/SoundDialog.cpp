#include "config/SoundDialog.h"

#include <commdlg.h>

#include <cstring>
#include <iterator>
#include <string>

#include "config/SoundDisplay.h"
#include "controls/ControlsSliders.h"
#include "controls/DialogSupport.h"
#include "controls/TitleLists.h"
#include "framework/File.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "seams/FileChooser.h"
#include "seams/Trace.h"
#include "settings/DecimalText.h"
#include "sound/MCIObject.h"

char SoundPlayListWorkCopy[kSoundListSize][kTextBufferSize];
int SoundSlotTable[kSoundListSize];

namespace {

constexpr char kPlayListCaption[] = "Sound Play List Message";
constexpr char kListFullText[] =
    "Unable to another sound file to the sound play list (10 files maximum).";
// A longer path would not fit its settings buffer, and the stored value would make every later
// reading of the settings fail.
constexpr char kPathTooLongText[] =
    "The path of this sound file is too long for the sound play list (255 characters at most).";
constexpr char kNotASoundText[] = "Only WAV and MID files can be added to the sound play list.";

constexpr int kFaceSize = 12;

// The four transport buttons with their faces' resources, in the order of the face table.
struct TransportButton {
  int id;
  int enabledFace;
  int disabledFace;
};
constexpr TransportButton kTransportButtons[kSoundFaceCount / 2] = {
    {IDC_SOUNDBACK, IDB_SOUNDBACK, IDB_SOUNDBACKOFF},
    {IDC_SOUNDPLAY, IDB_SOUNDPLAY, IDB_SOUNDPLAYOFF},
    {IDC_SOUNDSTOP, IDB_SOUNDSTOP, IDB_SOUNDSTOPOFF},
    {IDC_SOUNDFORWARD, IDB_SOUNDFORWARD, IDB_SOUNDFORWARDOFF},
};

HBITMAP faces[kSoundFaceCount];

// What the time display shows: the auditioned file's length and the position, in ms.
uint32_t displayTotalMs = 0;
uint32_t displayPositionMs = 0;

void DeleteFaces() {
  for (HBITMAP& face : faces) {
    if (face) DeleteObject(face);
    face = nullptr;
  }
}

void LoadFaces() {
  DeleteFaces();
  int n = 0;
  for (const TransportButton& button : kTransportButtons) {
    for (int face : {button.enabledFace, button.disabledFace})
      faces[n++] = LoadBitmapA(DialogInstance(), MAKEINTRESOURCEA(face));
  }
}

CRMSliderCtl* Slider(HWND dialog) { return DialogControl<CRMSliderCtl>(dialog, IDC_SOUNDSLIDER); }

HWND Display(HWND dialog) { return GetDlgItem(dialog, IDC_SOUNDTIME); }

// The slot a list or combo line refers to, or -1: the line's item data must be the address of
// an entry of the slot table, and that entry's value is the slot (-1 once deleted).
int SlotOfItemData(LRESULT data) {
  for (int& entry : SoundSlotTable) {
    if (reinterpret_cast<LRESULT>(&entry) == data) return entry;
  }
  return -1;
}
int ListLineSlot(HWND list, int line) {
  return line < 0 ? -1 : SlotOfItemData(SendMessageA(list, LB_GETITEMDATA, line, 0));
}
int ComboLineSlot(HWND combo, int line) {
  return line < 0 ? -1 : SlotOfItemData(SendMessageA(combo, CB_GETITEMDATA, line, 0));
}
bool IsSlot(int slot) { return slot >= 0 && slot < kSoundListSize; }

// Adds a slot's path to the list and the combo; returns the list line.
int AddSlotLines(HWND dialog, int slot) {
  HWND list = GetDlgItem(dialog, IDC_SOUNDPLAYLIST);
  HWND combo = GetDlgItem(dialog, IDC_SOUNDLOOPFILE);
  const auto path = reinterpret_cast<LPARAM>(SoundPlayListWorkCopy[slot]);
  const auto entry = reinterpret_cast<LPARAM>(&SoundSlotTable[slot]);
  const auto line = static_cast<int>(SendMessageA(list, LB_ADDSTRING, 0, path));
  if (line >= 0) SendMessageA(list, LB_SETITEMDATA, line, entry);
  const auto comboLine = static_cast<int>(SendMessageA(combo, CB_ADDSTRING, 0, path));
  if (comboLine >= 0) SendMessageA(combo, CB_SETITEMDATA, comboLine, entry);
  return line;
}

void SelectListLine(HWND list, int line) {
  SendMessageA(list, LB_SETCURSEL, line, 0);
  SendMessageA(list, LB_SETTOPINDEX, line, 0);
}

void SetSlot(int slot, const char* path) {
  std::memset(SoundPlayListWorkCopy[slot], 0, kTextBufferSize);
  std::strncpy(SoundPlayListWorkCopy[slot], path, kTextBufferSize - 1);
}

void ShowDisplay(HWND display) {
  const std::string text = FormatSoundDisplay(displayPositionMs, displayTotalMs);
  char shown[32] = "";
  GetWindowTextA(display, shown, sizeof shown);
  if (text != shown) SetWindowTextA(display, text.c_str());
}

// Plays the open file from where it stands; the timer follows the position.
void PlayFromHere(HWND dialog) { MusicMCIObject.Play(dialog); }

void MoveSliderTo(HWND dialog, uint32_t positionMs) {
  if (CRMSliderCtl* slider = Slider(dialog)) slider->SetPos(static_cast<int32_t>(positionMs / 100));
}

// Seeks to `ms` and, when the file was playing, plays on from there (a seek stops the play);
// otherwise shows the new place.
void MoveTo(HWND dialog, uint32_t ms, bool wasPlaying) {
  MusicMCIObject.Seek(ms);
  if (wasPlaying) {
    PlayFromHere(dialog);
  } else {
    MoveSliderTo(dialog, ms);
    WriteSoundDisplayPosition(Display(dialog), ms);
  }
}

void EnableIfChanged(HWND control, bool enable) {
  if (!IsWindowEnabled(control) != !enable) EnableWindow(control, enable);
}

void EndSoundDialog(HWND dialog) {
  if (MusicMCIObject.IsPlaying()) StopSelectedSound(dialog);
  EndDialog(dialog, 0);
  MusicMCIObject.Close();
}

// The thumb's second, or -1 with no slider or an empty range.
int64_t SliderSeconds(HWND dialog) {
  CRMSliderCtl* slider = Slider(dialog);
  if (!slider) return -1;
  return SoundSliderSeconds(slider->position, slider->minimum, slider->maximum,
                            ReadSoundDisplayTotal() / 1000);
}

void InitDialog(HWND dialog) {
  CentreOverOwner(dialog);
  LoadFaces();
  for (int i = 0; i < kSoundListSize; ++i) SetSlot(i, IniSettings.SOUND_SOUND[i]);
  bSetSoundFXDlgItems(dialog);
  OpenSelectedSound(dialog);
  UpdateSoundTransportButtons(dialog);
}

BOOL DrawTransportButton(const DRAWITEMSTRUCT* item) {
  for (size_t i = 0; i < std::size(kTransportButtons); ++i) {
    if (static_cast<int>(item->CtlID) != kTransportButtons[i].id) continue;
    DrawOwnerDrawButton(item, faces[2 * i], 0, 0, kFaceSize, kFaceSize, faces[2 * i + 1], 0, 0,
                        kFaceSize, kFaceSize);
    return TRUE;
  }
  return FALSE;
}

// The play-list commands change the selection: the selected file is opened anew.
void AfterListChange(HWND dialog) {
  OpenSelectedSound(dialog);
  UpdateSoundTransportButtons(dialog);
}

BOOL OnCommand(HWND dialog, WPARAM wParam) {
  const int id = LOWORD(wParam);
  switch (id) {
    case IDOK: {
      seams::TraceScope trace("SoundFXDlgProc - IDOK");
      bSaveSoundFXDlgSettings(dialog);
      EndSoundDialog(dialog);
      return TRUE;
    }
    case IDCANCEL: {
      seams::TraceScope trace("SoundFXDlgProc - IDCANCEL");
      EndSoundDialog(dialog);
      return TRUE;
    }
    case IDC_SOUNDPLAY: PlaySelectedSound(dialog); break;
    case IDC_SOUNDSTOP: StopSelectedSound(dialog); break;
    case IDC_SOUNDFORWARD: StepSoundForward(dialog); break;
    case IDC_SOUNDBACK: StepSoundBack(dialog); break;
    case IDC_SOUNDDEFAULT:
      SetDefaultSoundPlayList(dialog);
      AfterListChange(dialog);
      return TRUE;
    case IDC_SOUNDADD:
      AddSoundToPlayList(dialog);
      AfterListChange(dialog);
      return TRUE;
    case IDC_SOUNDDELETE:
      DeleteSoundFromPlayList(dialog);
      AfterListChange(dialog);
      return TRUE;
    case IDC_SOUNDPLAYLIST:
      if (HIWORD(wParam) != LBN_SELCHANGE) return FALSE;
      AfterListChange(dialog);
      return TRUE;
    default: return FALSE;
  }
  UpdateSoundTransportButtons(dialog);
  return TRUE;
}

BOOL OnScroll(HWND dialog, WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) != GetDlgItem(dialog, IDC_SOUNDSLIDER)) return FALSE;
  switch (LOWORD(wParam)) {
    case SB_THUMBTRACK: OnSoundSliderTrack(dialog); break;
    case SB_THUMBPOSITION: OnSoundSliderRelease(dialog); break;
    default: return FALSE;
  }
  UpdateSoundTransportButtons(dialog);
  return TRUE;
}

// Only the end of the open device's play counts: a notice that a device closed since (the file
// auditioned before) posted must not end the play of the file open now.
BOOL OnMciNotify(HWND dialog, WPARAM wParam, LPARAM lParam) {
  if (wParam != MCI_NOTIFY_SUCCESSFUL || !MusicMCIObject.IsOpen() ||
      static_cast<MCIDEVICEID>(lParam) != MusicMCIObject.GetDeviceID()) {
    return FALSE;
  }
  OnSoundPlayEnded(dialog);
  UpdateSoundTransportButtons(dialog);
  return TRUE;
}

}  // namespace

const HBITMAP* SoundButtonFaces() { return faces; }

uint32_t ReadSoundDisplayTotal() { return displayTotalMs; }

void WriteSoundDisplayPosition(HWND display, uint32_t positionMs) {
  displayPositionMs = positionMs;
  ShowDisplay(display);
}

BOOL bSetSoundFXDlgItems(HWND dialog) {
  seams::TraceScope trace("bSetSoundFXDlgItems");
  for (int i = 0; i < kSoundListSize; ++i)
    SoundSlotTable[i] = IsValidSoundFile(SoundPlayListWorkCopy[i]) ? i : -1;
  HWND list = GetDlgItem(dialog, IDC_SOUNDPLAYLIST);
  HWND combo = GetDlgItem(dialog, IDC_SOUNDLOOPFILE);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < kSoundListSize; ++i) {
    if (SoundSlotTable[i] >= 0) AddSlotLines(dialog, i);
  }
  SelectListLine(list, 0);

  const int loopFile = saver::DecimalTextToInt(IniSettings.SOUND_LOOPFILE);
  const auto lines = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  int loopLine = -1;
  for (int line = 0; line < lines && loopLine < 0; ++line) {
    if (ComboLineSlot(combo, line) == loopFile) loopLine = line;
  }
  SendMessageA(combo, CB_SETCURSEL, loopLine, 0);

  const int option = saver::DecimalTextToInt(IniSettings.SOUND_PLAYOPTION);
  if (option >= kPlayInOrder && option <= kPlayLoopFile)
    CheckRadioButton(dialog, IDC_SOUNDINORDER, IDC_SOUNDLOOPFILEOPTION, IDC_SOUNDINORDER + option);
  return TRUE;
}

BOOL bSaveSoundFXDlgSettings(HWND dialog) {
  seams::TraceScope trace("bSaveSoundFXDlgSettings");
  for (int i = 0; i < kSoundListSize; ++i)
    std::memcpy(IniSettings.SOUND_SOUND[i], SoundPlayListWorkCopy[i], kTextBufferSize);
  int option = kPlayLoopFile;
  if (IsDlgButtonChecked(dialog, IDC_SOUNDINORDER) == BST_CHECKED) {
    option = kPlayInOrder;
  } else if (IsDlgButtonChecked(dialog, IDC_SOUNDRANDOM) == BST_CHECKED) {
    option = kPlayRandom;
  }
  saver::IntToDecimalText(option, IniSettings.SOUND_PLAYOPTION);
  HWND combo = GetDlgItem(dialog, IDC_SOUNDLOOPFILE);
  const int slot = ComboLineSlot(combo, static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)));
  saver::IntToDecimalText(IsSlot(slot) ? slot : -1, IniSettings.SOUND_LOOPFILE);
  return TRUE;
}

BOOL OpenSelectedSound(HWND dialog) {
  seams::TraceScope trace("OpenSelectedSound");
  HWND list = GetDlgItem(dialog, IDC_SOUNDPLAYLIST);
  HWND sliderWindow = GetDlgItem(dialog, IDC_SOUNDSLIDER);
  CRMSliderCtl* slider = Slider(dialog);
  const int slot = ListLineSlot(list, static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)));
  if (!IsSlot(slot)) {
    // Nothing left to audition (the playing file was deleted): stop it, since the stop button
    // goes with the slider.
    if (MusicMCIObject.IsPlaying()) StopSelectedSound(dialog);
    if (slider) {
      slider->SetRange(0, 100);
      slider->SetPos(0);
    }
    EnableWindow(sliderWindow, FALSE);
    return FALSE;
  }
  MusicMCIObject.Open(SoundPlayListWorkCopy[slot]);
  displayTotalMs = MusicMCIObject.GetLength();
  WriteSoundDisplayPosition(Display(dialog), 0);
  if (slider) {
    slider->SetRange(0, static_cast<int32_t>(displayTotalMs / 100));
    slider->SetPos(0);
  }
  EnableWindow(sliderWindow, TRUE);
  KillTimer(dialog, kSoundTimerId);
  return TRUE;
}

void UpdateSoundTransportButtons(HWND dialog) {
  CRMSliderCtl* slider = Slider(dialog);
  const bool enabled = slider && IsWindowEnabled(GetDlgItem(dialog, IDC_SOUNDSLIDER));
  const SoundTransport t =
      enabled ? SoundTransportEnables(true, slider->minimum, slider->maximum, slider->position,
                                      MusicMCIObject.IsPlaying() != FALSE)
              : SoundTransport{false, false, false, false};
  EnableIfChanged(GetDlgItem(dialog, IDC_SOUNDBACK), t.back);
  EnableIfChanged(GetDlgItem(dialog, IDC_SOUNDPLAY), t.play);
  EnableIfChanged(GetDlgItem(dialog, IDC_SOUNDSTOP), t.stop);
  EnableIfChanged(GetDlgItem(dialog, IDC_SOUNDFORWARD), t.forward);
}

void PlaySelectedSound(HWND dialog) {
  SetTimer(dialog, kSoundTimerId, kSoundTimerMs, nullptr);
  PlayFromHere(dialog);
}

void StopSelectedSound(HWND dialog) {
  KillTimer(dialog, kSoundTimerId);
  MusicMCIObject.Stop();
}

void OnSoundTimer(HWND dialog) {
  const uint32_t position = MusicMCIObject.GetPosition();
  CRMSliderCtl* slider = Slider(dialog);
  if (!slider || !slider->dragging) {
    WriteSoundDisplayPosition(Display(dialog), position);
    MoveSliderTo(dialog, position);
  }
  if (!MusicMCIObject.IsPlaying()) KillTimer(dialog, kSoundTimerId);
}

void StepSoundBack(HWND dialog) {
  const bool wasPlaying = MusicMCIObject.IsPlaying() != FALSE;
  MoveTo(dialog, SoundStepBack(MusicMCIObject.GetPosition(), ReadSoundDisplayTotal()), wasPlaying);
}

void StepSoundForward(HWND dialog) {
  const bool wasPlaying = MusicMCIObject.IsPlaying() != FALSE;
  MoveTo(dialog, SoundStepForward(MusicMCIObject.GetPosition(), ReadSoundDisplayTotal()),
         wasPlaying);
}

void OnSoundSliderTrack(HWND dialog) {
  const int64_t seconds = SliderSeconds(dialog);
  if (seconds >= 0)
    WriteSoundDisplayPosition(Display(dialog), static_cast<uint32_t>(seconds * 1000));
}

void OnSoundSliderRelease(HWND dialog) {
  const int64_t seconds = SliderSeconds(dialog);
  if (seconds < 0) return;
  const bool wasPlaying = MusicMCIObject.IsPlaying() != FALSE;
  const SoundSeek seek = SoundReleaseSeek(seconds, ReadSoundDisplayTotal() / 1000);
  if (seek.toEnd) {
    MusicMCIObject.SeekToEnd();
  } else {
    MusicMCIObject.Seek(seek.ms);
  }
  if (wasPlaying) PlayFromHere(dialog);
}

void OnSoundPlayEnded(HWND dialog) {
  if (IsDlgButtonChecked(dialog, IDC_SOUNDLOOPON) == BST_CHECKED) {
    MusicMCIObject.Seek(0);
    PlayFromHere(dialog);
    return;
  }
  KillTimer(dialog, kSoundTimerId);
  WriteSoundDisplayPosition(Display(dialog), ReadSoundDisplayTotal());
  if (CRMSliderCtl* slider = Slider(dialog)) slider->SetPos(slider->maximum);
}

BOOL SetDefaultSoundPlayList(HWND dialog) {
  seams::TraceScope trace("SetDefaultSoundPlayList");
  for (int i = 0; i < kSoundListSize; ++i) SetSlot(i, IniSettings.SOUND_DEFAULTSOUND[i]);
  return bSetSoundFXDlgItems(dialog);
}

BOOL AddSoundToPlayList(HWND dialog) {
  seams::TraceScope trace("AddSoundToPlayList");
  HWND list = GetDlgItem(dialog, IDC_SOUNDPLAYLIST);
  if (SendMessageA(list, LB_GETCOUNT, 0, 0) >= kSoundListSize) {
    seams::Alert(kListFullText, kPlayListCaption, seams::kAlertOk, dialog);
    return FALSE;
  }
  CString path;
  if (!SelectSoundFile(dialog, path)) return FALSE;
  if (path.GetLength() >= kTextBufferSize) {
    seams::Alert(kPathTooLongText, kPlayListCaption, seams::kAlertOk, dialog);
    return FALSE;
  }
  if (!IsValidSoundFile(path)) {
    seams::Alert(kNotASoundText, kPlayListCaption, seams::kAlertOk, dialog);
    return FALSE;
  }
  for (int slot = 0; slot < kSoundListSize; ++slot) {
    if (SoundSlotTable[slot] >= 0) continue;
    SoundSlotTable[slot] = slot;
    SetSlot(slot, path);
    const int line = AddSlotLines(dialog, slot);
    if (line >= 0) SelectListLine(list, line);
    return TRUE;
  }
  return FALSE;
}

BOOL DeleteSoundFromPlayList(HWND dialog) {
  seams::TraceScope trace("DeleteSoundFromPlayList");
  HWND list = GetDlgItem(dialog, IDC_SOUNDPLAYLIST);
  const auto line = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
  const int slot = ListLineSlot(list, line);
  if (!IsSlot(slot)) return FALSE;
  SoundSlotTable[slot] = -1;
  std::memset(SoundPlayListWorkCopy[slot], 0, kTextBufferSize);
  SendMessageA(list, LB_DELETESTRING, line, 0);
  const auto left = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  if (left > 0) SendMessageA(list, LB_SETCURSEL, line < left ? line : left - 1, 0);

  HWND combo = GetDlgItem(dialog, IDC_SOUNDLOOPFILE);
  const auto lines = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int comboLine = 0; comboLine < lines; ++comboLine) {
    if (ComboLineSlot(combo, comboLine) != -1) continue;
    const bool wasSelected = SendMessageA(combo, CB_GETCURSEL, 0, 0) == comboLine;
    SendMessageA(combo, CB_DELETESTRING, comboLine, 0);
    if (wasSelected) SendMessageA(combo, CB_SETCURSEL, 0, 0);
    break;
  }
  return TRUE;
}

BOOL SelectSoundFile(HWND owner, CString& path) {
  seams::OpenFileRequest request;
  request.owner = owner;
  request.title = "Select Sound File for Screen Saver";
  request.filters = {{"Music Files (*.MID)", "*.MID"}, {"Sound Files (*.WAV)", "*.WAV"}};
  request.filterIndex = 1;
  request.defaultExtension = "wav";
  request.flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
  request.fileBufferSize = MAX_PATH;
  const std::string incoming = static_cast<const char*>(path);
  const size_t cut = incoming.rfind('\\');
  if (cut != std::string::npos) {
    request.initialFolder = incoming.substr(0, cut);
    request.initialFile = incoming.substr(cut + 1);
  }
  std::string chosen;
  if (!seams::ChooseFileToOpen(request, chosen)) return FALSE;
  CFileStatus status;
  if (!CFile::GetStatus(chosen.c_str(), status)) return FALSE;
  path = CString(chosen);
  return TRUE;
}

INT_PTR CALLBACK SoundFXDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const seams::ScopedAlertOwner alertOwner(dialog);
  const seams::TraceMessageScope trace("SoundFXDlgProc", message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG: InitDialog(dialog); return TRUE;
    case WM_DRAWITEM:
      if (DrawTransportButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_COMMAND:
      if (OnCommand(dialog, wParam)) return TRUE;
      break;
    case WM_TIMER:
      if (wParam != kSoundTimerId) break;
      OnSoundTimer(dialog);
      UpdateSoundTransportButtons(dialog);
      return TRUE;
    case WM_HSCROLL:
      if (OnScroll(dialog, wParam, lParam)) return TRUE;
      break;
    case MM_MCINOTIFY:
      if (OnMciNotify(dialog, wParam, lParam)) return TRUE;
      break;
    case WM_DESTROY:
      KillTimer(dialog, kSoundTimerId);
      DeleteFaces();
      break;
  }
  trace.Ending();
  return FALSE;
}
