// The own-images source: the JPEG and BMP files of a folder of the user's, shown instead of an
// installed image set.
//
// The folder is listed without changing the process's current directory (other threads run
// meanwhile) and its names are sorted in the order of the sorted list boxes that show them, so
// that an own image's number means the same file to the saver, the dialogs and the stored last
// image number. A listed file becomes a full-screen picture fitted into the
// screen with its proportions kept (never enlarged), or a preview picture at its own size.
#pragma once
#include "framework/Lists.h"
#include "framework/String.h"
#include "framework/WinTypes.h"
#include <cstdint>
#include <vector>

class CDIB;

// The own image selected last in an own-images list; 0 at start.
extern int32_t SelectedOwnImageNo;
// The own image laid out on the screen background (24-bit, the screen's size), made by
// SetFullScreenOwnImageDIB and reused; null until then.
extern CDIB* FullScreenOwnImageDIB;

// True when the name's last three characters are "JPG" or "BMP" in any case ("x.jpeg" is not).
bool IsOwnImageName(const char* name);

// The order of names in a sorted list box: lstrcmpiA's on Windows (the list boxes of the dialogs
// sort by it), and natively the same word order for ASCII names (punctuation before digits before
// letters, case ignored, apostrophes and hyphens counting only between otherwise equal names).
// Negative, 0 or positive.
int CompareListBoxNames(const char* a, const char* b);

// The names of the folder's files (not folders) that IsOwnImageName accepts, in list-box order
// (CompareListBoxNames); empty when the folder cannot be listed.
std::vector<CString> ListOwnImages(const char* folder);

// Replaces area by the rectangle the image is shown in: fitted to the area with its proportions
// kept when larger, at its own size when not, centred.
void FitRectKeepAspect(const RECT* image, RECT* area);

// The own image `name` of the folder fitted into the screen, 24-bit; the first rectangle of rects
// is where it belongs. Null with the reason in *error.
CDIB* GetFullScreenOwnImageDIB(CPtrList* rects, const char* folder, const char* name,
                               CString* error);

// The own image at its own size for a preview; a file that does not load or has another depth
// than 8 or 24 bits gives a blank 400 x 300 picture (alerted when showErrors is set); a name that
// is not a JPEG or BMP gives null. The caller owns the bitmap.
CDIB* GetMiniScreenOwnImageDIB(const char* folder, const char* name, BOOL showErrors);

// The own image `name` of the folder fitted into *area, 24-bit at the fitted size; *area becomes
// the rectangle it is shown in (FitRectKeepAspect). A file that cannot be shown, or is too large
// to widen to 24 bits, gives the blank 400 x 300 picture. Null only when memory runs out. The
// caller owns the bitmap.
CDIB* FitOwnImageInto(const char* folder, const char* name, RECT* area);

// Composes FullScreenOwnImageDIB: the own image fitted into the image area of the image settings
// (30 pixels in from every side unless the border style is 6 without shadow), on the screen
// background framed around it. name null or not a JPEG or BMP: the image area stays black; a
// file that cannot be shown becomes a blank picture. Without a screen background one is built
// first. 0 when a bitmap, the rectangles or the background cannot be made.
BOOL SetFullScreenOwnImageDIB(CPtrList* rects, const char* folder, const char* name);

#ifdef _WIN32
// Fills the list box with the folder's own images (recursive and imagesOnly: 0 and 1, the only
// mode there is). TRUE.
BOOL FillListWithDirectory(HWND list, const char* folder, int recursive, int imagesOnly);
// Asks for the own-images folder with the open-file dialog; TRUE with *folder replaced when the
// user confirmed (the folder the dialog showed, no trailing backslash except at a drive root).
BOOL SelectImageDirectory(HWND owner, CString* folder);
#endif
