// The settings dialog that "/c" opens (template DLG_SCRNSAVECONFIGURE): the image source, the
// display routine with its speed and size, the time per image, the on/off switches, the buttons
// that open the sub-dialogs and Screen Preview. It works on the settings store's buffers in
// place; OK writes them to the registry and Cancel writes the backup copy taken at the start.
//
// ScreenSaverConfigureDialog and RegisterDialogClasses are declared by platform/ScreenSaver.h,
// since the screen-saver library calls them.
#pragma once

#include <windows.h>

#include "platform/ScreenSaver.h"

// The WM_INITDIALOG work: centres the dialog, reads every setting, keeps the backup copy and
// shows the values (a stored number out of a control's range as the nearest it can show).
// FALSE when the settings cannot be read: one alert says so, every control but OK and Cancel is
// disabled, the first line of the dialog says why, and OK and Cancel then only close it.
BOOL InitConfigureDialog(HWND dialog);
// The controls' choices into the setting buffers (the sliders are stored on release). A list
// with nothing selected leaves its setting as it is. Always TRUE.
BOOL bReadDlgItems(HWND dialog);
// TRUE when the "Own images" radio is checked.
BOOL IsOwnImagesChecked(HWND dialog);
// A slider's release: both sliders' positions into the selected routine's "SPEED<n>" and
// "RES<n>" (routines 0 to 6). FALSE when scrollBar is neither slider, a position lies outside
// 1 to 100, or no routine 0 to 6 is selected.
BOOL StoreRoutineSliders(HWND dialog, HWND scrollBar);
// Shows the selected routine's speed and size (50 for a routine without them, or none), and
// enables each slider with its labels by the routine's mask. Always TRUE.
BOOL ShowRoutineSliders(HWND dialog);
// Fills the routine list with the eight routines and selects the one of "SSFN" (a number past
// either end as the nearest routine); FALSE, with no selection, when the list cannot be filled.
BOOL FillRoutineCombo(HWND dialog);
// Own-images mode (flag non-zero) disables the caption and play-list groups, keeps their
// switches' states in their settings and shows them off, and writes the fixed own-images
// settings; mode 0 enables them and shows the stored states.
void EnableOwnImagesGroup(HWND dialog, int flag);
// With the flag set, the fixed image settings of own images into the buffers and ImageSettings.
void ResetOwnImageSettings(int flag);
// "WALLPAPER_IMAGENO" and "WALLPAPER_IMAGEFX" back to 0, in the buffers and WallpaperSettings.
void ResetWallpaperImageSettings(int flag);

// Screen Preview: saves the choices, then starts this module with "/s" maximised in the image
// set's data folder through the process-launch seam. An alert says why nothing started (no data
// folder, or the start failed). TRUE when the saver was started.
BOOL StartScreenPreview(HWND dialog);
