// What the scaling/border and wallpaper dialogs share: the picture-size list, radio groups read
// and set as a value, the hidden picture list, and the 160 x 120 mini preview of the whole screen
// (control 1048) with its single-picture composition from the quarter-size cache.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "config/MiniScreenRules.h"
#include "controls/DialogSupport.h"
#include "seams/Alerts.h"
#include "seams/Trace.h"

class CDIB;
class CRDIBCtl;

// The screen's size as the dialogs lay it out.
PixelSize ScreenPixels();

// Writes the screen's size as "%dx%d" into the control.
void ShowScreenResolution(HWND dialog, int id);

// Empties the size list and adds "Fit to Screen", then, with `sizes`, "%dx%d" for every size the
// screen offers (OfferedSizeLines), and selects line `code`, or the nearest line the list has.
// Returns the code of the selected line.
int FillImageSizeList(HWND dialog, bool sizes, int code);
// The list's selection when it is a size code 0..6, else 0.
int ReadImageSizeList(HWND dialog);

// Enables or disables each control of the list.
void EnableControls(HWND dialog, std::initializer_list<int> ids, bool enable);

// A radio group given in the order of its values: the value of the first checked button, else the
// group's last value.
int ReadRadioGroup(HWND dialog, std::initializer_list<int> ids);
// Clears every button of the group and checks the one of `value` (none when out of range).
void CheckRadioValue(HWND dialog, std::initializer_list<int> ids, int value);

// The groups both dialogs share, read as their settings' values and set from them: the screen
// style (0..3; another value leaves the group as it is), the frame (0..6; every button cleared
// first), its thickness (0 or 1; another value leaves it), the shadow (non-zero: "On") and the
// scaling method (non-zero: palette interpolation).
int ReadScreenStyle(HWND dialog);
int ReadBorderStyle(HWND dialog);
int ReadBorderThickness(HWND dialog);
// 0 when "Off" is checked, else 1 (also with neither checked).
int ReadBorderShadow(HWND dialog);
int ReadInterpolation(HWND dialog);
void SetSharedGroups(HWND dialog, int screenStyle, int borderStyle, int thickness, int shadow,
                     int interpolation);
// The screen-border group, the frame group (style, thickness and shadow) and the scaling group,
// each with its boxes and texts.
void EnableScreenBorderGroup(HWND dialog, bool enable);
void EnableFrameGroup(HWND dialog, bool enable);
void EnableScalingMethodGroup(HWND dialog, bool enable);

// Runs a command handler between "<label> - start" and "<label> - end" trace lines.
template <typename Handler>
void Labelled(const char* label, Handler handler) {
  const seams::TraceScope trace(label);
  handler();
}

// Runs `compose` (which says whether the preview is shown) under the wait cursor, and alerts
// `failure` (caption "Alert", stop icon) once the cursor is back when it failed.
template <typename Compose>
void ComposeUnderWaitCursor(const char* failure, Compose compose) {
  bool shown;
  {
    const WaitCursor wait;
    shown = compose();
  }
  if (!shown) seams::Alert(failure, "Alert", seams::kAlertIconHand);
}

// The hidden list of pictures (child 1029: sorted, notifying, zero size) that Previous and Next,
// the full-screen viewers and the multi-picture layouts walk; null when it cannot be made.
HWND CreatePictureList(HWND dialog);
HWND PictureList(HWND dialog);

// Fills a picture list for a dialog that previews one picture: the own-images folder's JPEG and
// BMP files with SelectedOwnImageNo selected, or the set's titles in title order, where a
// SelectedImageNo of -1 becomes the first title's image. False when the titles cannot be read.
bool FillPreviewPictureList(HWND list);

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
