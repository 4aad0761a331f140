// The transition dialog: the user switches each transition class on or off, sets its three
// sliders and previews any 2D effect on a mini screen inside the dialog. The dialog edits the
// class table in place; OK writes it into the "TRANSFX" setting buffers, Cancel leaves them.
//
// The mini screen shows the current preview picture on the screen background, shrunk to the
// largest 4:3 rectangle of the "Screen Preview" frame. Preview runs the chosen effect through the
// transition engine from two screen-sized surfaces, the picture on and the picture off, taking
// the picture off and bringing it back. An 8-bit picture of the image set gives 8-bit surfaces on
// the screen's colour table for that picture; otherwise (and always for the user's own pictures)
// the surfaces are 24-bit.
#pragma once

#include <windows.h>

class CDIB;
class CDIBSurface;
class CColorPalette;

INT_PTR CALLBACK TransitionFXDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Loads the class table and fills the class list (sorted, the first selected) and the sliders'
// ranges. FALSE, list empty, when the table cannot be loaded.
BOOL bSetTransFXDlgItems(HWND dialog);
// Writes the class table into the setting buffers.
BOOL bSaveTransFXDlgSettings();

// What the preview works from while the dialog is open (all null before it opens and after it
// closes): the screen with the picture on, the screen with it off, their palette (8-bit only) and
// the picture's rectangle on the screen.
struct TransitionPreviewParts {
  CDIBSurface* imageOn;
  CDIBSurface* imageOff;
  CColorPalette* palette;
  RECT image;
};
TransitionPreviewParts CurrentTransitionPreview();

// The image set's picture the preview was made from, or null: the dialog's own. It stays loaded
// after the dialog closes, until the next opening loads another or it is freed here.
CDIB* TransitionPreviewPicture();
void FreeTransitionPreviewPicture();
