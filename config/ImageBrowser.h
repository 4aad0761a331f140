// The image browser, the quarter-size preview loader and the full-screen image viewer.
//
// The browser is a modal dialog that pages through the current image set's titles, showing each
// image's quarter-size preview from the cache "imx4.dat" and its description from
// "imagedoc.dat". The viewer is a top-most popup over the whole screen that shows one image of
// the set decoded at full-screen size and centred on the screen background; its arrow keys walk
// the owning dialog's title list (child 1029) with wrapping, and any other key closes it after
// telling the dialog (WM_FULLSCREEN_CLOSE) which image it showed last. The browser, the top-ten
// dialog and the scaling dialog open it. One viewer at a time.
#pragma once

#include <windows.h>

class CDIB;

constexpr char kFullScreenImageClass[] = "FullScreenImageWnd";

INT_PTR CALLBACK ImageSearchDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The browser's steps, each on the browser dialog. InitImageSearchDlg loads the set, lists its
// titles sorted by title and shows the first title (no image previewed yet) or SelectedImageNo:
// 1, or 0 when the list cannot be filled. ShowBrowserImage shows image `index`'s preview and
// description: 1 or 0. The list steps select a line, scroll it to the top and show its image;
// next and previous do nothing at the last and first line, SelectBrowserImage nothing for an
// image not in the list.
BOOL InitImageSearchDlg(HWND dialog);
BOOL ShowBrowserImage(HWND dialog, int index);
void ShowSelectedBrowserImage(HWND dialog);
void SelectNextBrowserImage(HWND dialog);
void SelectPrevBrowserImage(HWND dialog);
void SelectBrowserImage(HWND dialog, int index);

// What the dialogs that list the set's titles share. SelectPreviewedTitle sorts a list just
// filled in image order (line k holds image k) by title and selects the image previewed last
// (SelectedImageNo), or the first line when none was. SelectTitleLine selects a line and makes
// it the top visible line.
void SelectPreviewedTitle(HWND list);
void SelectTitleLine(HWND list, int line);

// Loads image `index`'s description (its byte range of "imagedoc.dat") into a rich-text view,
// read-only with the caret at the start; an empty range empties the view. 1, or 0 for an index
// outside the set, a view without a document, a missing file ("Unable to find image rtf file -
// imagedoc.dat") or a failed load.
BOOL ShowImageDescription(HWND rtfControl, int index);

// Loads image `index` from the quarter-size cache into the image view and remembers it in
// SelectedImageNo. 1, or 0 for an index outside the cache, an unreadable cache file ("Unable to
// open date image file") or a bad cached bitmap; the view then keeps what it showed.
BOOL ShowQuarterImagePreview(HWND dibControl, int index);

// Registers "FullScreenImageWnd"; TRUE when registered (or already registered).
BOOL RegisterFullScreenImageWnd();

// Opens the viewer over the whole screen, owned by the dialog, starting at SelectedImageNo.
// 1, or 0 when the window cannot be made or a viewer is already open.
BOOL CreateFullScreenImageWnd(HWND parent);

LRESULT CALLBACK FullScreenImageWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Decodes image `index` at the full-screen size of the image settings (under the "Loading
// Image..." window), centres it on the screen background (cut to the screen when larger; on an
// 8-bit display reduced to 204 colours first) and shows it in the viewer's picture control.
// 1, or 0 when there is no screen background, the decode failed (alerted by the decoder) or the
// viewer has no picture control ("Unable to find DIB control").
BOOL SetFullScreenDIB(HWND viewer, int index);

// The picture the viewer decoded last (reduced to 204 colours on an 8-bit display), before it is
// centred on the background: the viewer's own, null when the last decode failed and once the
// viewer has closed.
const CDIB* FullScreenViewerPicture();
