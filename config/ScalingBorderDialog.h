// The image scaling and border dialog "Determine Image Scaling and Border Effects" (template
// 2009): the picture's size on the screen, its scaling, the pattern round it, the screen border
// and the picture's frame, with a mini preview of the whole screen recomposed after every change;
// a click on it opens the full-screen viewer. It works on ImageSettings; OK writes the seven
// settings into the settings buffers, Cancel leaves the buffers alone.
#pragma once

#include <windows.h>

INT_PTR CALLBACK ScalingBorderDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

namespace scalingdlg {

// Makes and fills the hidden picture list, shows the screen's size, fills the size list and sets
// the groups from ImageSettings. 0 when the list cannot be made or filled.
BOOL InitScalingBorderDlg(HWND dialog);

// Shows the selected picture (set or own) on the screen background in the preview. 1 or 0.
BOOL RefreshMiniScreen(HWND dialog);
// The mini screen of set picture `index` at the chosen size.
BOOL SetMiniScreenDIB(HWND dialog, int index);
// Shows the laid-out own picture (FullScreenOwnImageDIB).
BOOL SetMiniWallpaper24DIBCtl(HWND dialog);

// Writes the seven settings from the controls into the settings buffers. 1.
BOOL bSaveScalingBorderDlgSettings(HWND dialog);

// Control readers, each giving its setting's value.
int GetImageSizeSel(HWND dialog);
int GetBackStyleSel(HWND dialog);
int GetScreenStyleSel(HWND dialog);
int GetBorderStyleSel(HWND dialog);
int GetBorderThicknessSel(HWND dialog);
int GetBorderShadowSel(HWND dialog);
int GetInterpSel(HWND dialog);

// Enablers, each a group box with its buttons.
void EnableImageBorderCtls(HWND dialog, BOOL enable);
void EnableScreenBorderCtls(HWND dialog, BOOL enable);
void EnableScalingMethodCtls(HWND dialog, BOOL enable);
void EnableImageBackgroundCtls(HWND dialog, BOOL enable);
void EnableImageSizeCtls(HWND dialog, BOOL enable);

}  // namespace scalingdlg
