// Image-set selection: the modal dialog that lists the installed image sets (the subkeys of
// "SOFTWARE\KLV\IMAGESET" whose data folder holds a valid set, each shown by its subkey name),
// shows the selected set's cover and credits, and on OK makes it the current set.
#pragma once

#include <windows.h>

#include "framework/Arrays.h"

// The key paths of the listed sets; a line's item data is its index here.
extern CStringArray ImageSetKeyPaths;

// The dialog procedure of the selection dialog.
INT_PTR CALLBACK ImageSetDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Lists the valid installed sets and selects the current one ("IMAGESETKEY", compared with
// case). 1.
BOOL FillImageSetList(HWND dialog);

// Shows the selected set's cover and credits (read-only). 1, or 0 when nothing valid is
// selected or a file that exists cannot be shown (the controls keep what they showed).
BOOL ShowImageSetInfo(HWND dialog);

// Makes the selected set the current one: its key path into "IMAGESETKEY", its data folder read
// again, its quarter-size cache built when missing, the old set's loaded state dropped, the last
// image and sound numbers written as 0 and the top-ten play list emptied. 1 when a set was
// applied; 0, with nothing changed, when no line is selected, the line names no listed set, the
// set is no longer valid, or it is already the current set.
BOOL ApplyImageSet(HWND dialog);
