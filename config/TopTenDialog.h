// The top-ten play-list dialog: the set's titles on the left, the play list's on the right (both
// sorted by title), a quarter-size preview of the chosen image that opens the full-screen viewer,
// and buttons that add the chosen image (at most ten, each once) and remove the chosen entry.
// The dialog edits a working copy of "TOPTEN_PLAYLIST"; OK stores it, Cancel drops it.
#pragma once

#include <windows.h>

INT_PTR CALLBACK TopTenDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The working copy of the play-list text.
extern char TopTenWorkList[256];

// The dialog's steps, each 1 or 0. InitTopTenDlg fills both lists and shows the preview (0 when
// a list is missing or the titles cannot be listed); FillTopTenList lists the working copy's
// images; AddToTopTen and RemoveFromTopTen edit it ("Top 10 image play list can handle a
// maximum of 10 images only." for an eleventh); ShowTopTenPreview previews image `index`;
// ShowSelectedTopTenPreview previews the list's chosen image.
BOOL InitTopTenDlg(HWND dialog);
BOOL FillTopTenList(HWND list);
BOOL AddToTopTen(HWND dialog);
BOOL RemoveFromTopTen(HWND dialog);
BOOL ShowTopTenPreview(HWND dialog, int index);
void ShowSelectedTopTenPreview(HWND list, HWND dialog);

// Copies the working copy over "TOPTEN_PLAYLIST"; 1.
BOOL bSaveTopTenDlgSettings();
