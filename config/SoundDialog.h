// The music and sound dialog: the play list of up to ten WAV or MID files, the play order and
// the file to loop, and auditioning the selected file through MusicMCIObject with back, play,
// stop and forward buttons, a position slider and a time display "MM:SS/MM:SS".
//
// The dialog edits a work copy of the play list and writes the settings buffers only on OK; the
// settings dialog's own OK writes the registry. OK and Cancel both stop what plays and close the
// media object.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/String.h"
#include "saver/MusicThread.h"
#include "settings/IniSettings.h"

// The play list being edited: slot i for "SOUND_SOUNDi"; an empty text is a free slot.
extern char SoundPlayListWorkCopy[kSoundListSize][kTextBufferSize];
// Entry i is i when work-copy slot i holds a valid sound file, else -1. Every line of the play
// list and of the loop-file combo refers to the entry of its slot (the item data is its address).
extern int SoundSlotTable[kSoundListSize];

// The position timer of the dialog: its id and its period.
constexpr UINT kSoundTimerId = 1000;
constexpr UINT kSoundTimerMs = 100;

INT_PTR CALLBACK SoundFXDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills the lists, the loop-file combo and the play option from the work copy and the settings.
BOOL bSetSoundFXDlgItems(HWND dialog);
// Stores the work copy, the play option and the loop file into the settings buffers.
BOOL bSaveSoundFXDlgSettings(HWND dialog);

// Opens the selected line's file and shows its length; FALSE (slider disabled) without one.
BOOL OpenSelectedSound(HWND dialog);
void UpdateSoundTransportButtons(HWND dialog);
void OnSoundPlayEnded(HWND dialog);
void OnSoundSliderTrack(HWND dialog);
void OnSoundSliderRelease(HWND dialog);
void OnSoundTimer(HWND dialog);
void PlaySelectedSound(HWND dialog);
void StopSelectedSound(HWND dialog);
void StepSoundBack(HWND dialog);
void StepSoundForward(HWND dialog);
BOOL SetDefaultSoundPlayList(HWND dialog);
// Asks for a file and adds it to the first free slot. Refused with a message: a full list, a
// path that does not fit a settings buffer, a file the music thread would not play.
BOOL AddSoundToPlayList(HWND dialog);
BOOL DeleteSoundFromPlayList(HWND dialog);
// The open-file dialog for a sound file (through the file-chooser seam), starting in the folder
// and at the file of `path`; the chosen file in `path`. FALSE when cancelled or unreadable.
BOOL SelectSoundFile(HWND owner, CString& path);

// The time display is formatted from the length of the auditioned file and the position it
// shows, both kept in milliseconds. The length of the file shown, in ms:
uint32_t ReadSoundDisplayTotal();
// Shows a new position (ms) with the length; the text is replaced only when it changes.
void WriteSoundDisplayPosition(HWND display, uint32_t positionMs);

// The transport buttons' faces, loaded while the dialog is open (null otherwise): back, play,
// stop and forward, each enabled then disabled.
constexpr int kSoundFaceCount = 8;
const HBITMAP* SoundButtonFaces();
