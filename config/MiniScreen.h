// What the scaling/border and wallpaper dialogs share: the picture-size list, radio groups read
// and set as a value, the hidden picture list, and the 160 x 120 mini preview of the whole screen
// (control 1048) with its single-picture composition from the quarter-size cache.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "config/MiniScreenRules.h"

class CDIB;
class CRDIBCtl;

// The screen's size as the dialogs lay it out.
PixelSize ScreenPixels();

// Writes the screen's size as "%dx%d" into the control.
void ShowScreenResolution(HWND dialog, int id);

// Empties the size list and adds "Fit to Screen", then, with `sizes`, "%dx%d" for every size the
// screen offers (OfferedSizeLines), and selects line `code` (nothing when it has no such line).
void FillImageSizeList(HWND dialog, bool sizes, int code);
// The list's selection when it is a size code 0..6, else 0.
int ReadImageSizeList(HWND dialog);

// Enables or disables each control of the list.
void EnableControls(HWND dialog, std::initializer_list<int> ids, bool enable);

// A radio group given in the order of its values: the value of the first checked button, else the
// group's last value.
int ReadRadioGroup(HWND dialog, std::initializer_list<int> ids);
// Clears every button of the group and checks the one of `value` (none when out of range).
void CheckRadioValue(HWND dialog, std::initializer_list<int> ids, int value);

// The hidden list of pictures (child 1029: sorted, notifying, zero size) that Previous and Next,
// the full-screen viewers and the multi-picture layouts walk; null when it cannot be made.
HWND CreatePictureList(HWND dialog);
HWND PictureList(HWND dialog);

// Makes the preview control 160 x 120 pixels and gives it the hot cursor; null (no alert) when
// the dialog has none.
CRDIBCtl* PreparePreview(HWND dialog);
// The preview control, or null with "Unable to find DIB control" alerted.
CRDIBCtl* FindPreview(HWND dialog);

// The mini screen of one set picture: cached picture `index` lightened by `tone`, shrunk as its
// full-screen size `sizeCode` is to `background`, centred on the background shrunk to 160 x 120
// (with `corner`, the picture's bottom-right square shows the background again). 0 when there is
// no such cached picture or no background, the cache cannot be read ("Unable to open date image
// file"), the size code is not one ("Incorrect full screen image size selection"), a shrink
// fails (a picture larger than the screen) or there is no preview control.
BOOL ShowMiniPicture(HWND dialog, int index, int sizeCode, const CDIB* background, int tone,
                     BOOL corner);

// Shows a bitmap of the screen's size fitted into the preview; 0 when it is null or there is no
// preview control.
BOOL ShowMiniScreen(HWND dialog, CDIB* screen);

