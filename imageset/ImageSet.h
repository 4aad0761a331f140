// The installed image set: its data files, the process-wide state built from them, and the
// routines that prepare that state for the saver and the settings dialogs.
//
// A set is a folder (the settings' data-directory buffer) holding "Imagedes.dat" (a set
// identifier, a count of 12 or 52 and that many CImageDesc records), "imfull.dat" (the pictures),
// "imagetxt.dat" (captions), "imagedoc.dat" (RTF descriptions), "Logosdes.dat"/"imlogos.dat"
// (logos), "cover.bmp" and "credits.rtf". Nothing here is locked: the saver's drawing thread and
// the settings dialogs never run in the same process at once.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/Arrays.h"
#include "framework/String.h"
#include "framework/WinTypes.h"

class CDIB;

// The integer copies of the image settings, converted from the settings buffers by InitImageSet.
struct ImageSetSettings {
  int32_t IMAGE_SIZE = 0;  // size code: 0 the screen, 1..6 640 x 480 .. 1600 x 1200
  int32_t IMAGE_BACKSTYLE = 0;
  int32_t IMAGE_SCREENSTYLE = 0;
  int32_t IMAGE_BORDERSTYLE = 0;
  int32_t IMAGE_BORDERTHICKNESS = 0;
  int32_t IMAGE_BORDERSHADOWON = 0;
  int32_t INTERPON = 0;  // scale 8-bit pictures by palette interpolation
};

// CImageDesc records of the current set (image number = index); the records belong to the array.
extern CObArray ImageDescArray;
extern ImageSetSettings ImageSettings;
// The set's logo, or null; chosen once per set.
extern CDIB* ImageSetLogoDIB;
// The screen-sized 8-bit background on the grey-ramp palette, or null; the saver window deletes
// it when it closes.
extern CDIB* ScreenBackgroundDIB;

// The path of a file of the current set's data folder.
CString ImageSetFilePath(const char* fileName);

// Deletes every record of the array and empties it.
void DeleteImageDescs(CObArray* array);

// How reading "Imagedes.dat" ended.
enum class ImageDescReadResult { kOk, kMissing, kUnopenable, kBadCount, kTruncated, kNoMemory };

// Reads "Imagedes.dat" into the array without alerting: kOk with the set's 12 or 52 records in
// the array; kBadCount leaves the array as it was; kTruncated and kNoMemory leave it empty.
ImageDescReadResult ReadImageDescArray(const char* path, CObArray* array);

// Makes *dib a bitmap of the screen's size (GetScreenSize) and depth, 8 bits on the grey ramp
// after the reserved entries or 24 bits, unless it is one already. An existing object is made
// again in place (holders of the pointer stay valid across a screen-size change); 0 when the
// bitmap cannot be made, which leaves an empty object.
BOOL EnsureScreenSizedDIB(CDIB** dib, int bitCount);

// Reads "Imagedes.dat" into the array: the number of records read (12 or 52), or 0. A count
// other than 12 or 52 leaves the array as it was and is left to the caller to report; a file
// that ends inside a record, or a record that cannot be allocated, leaves the array empty, so a
// later call tries again. A missing or unopenable file is alerted.
int GetImageDescArray(const char* path, CObArray* array);

// Loads the set's descriptions into an empty array; 1 when the array holds a set, else 0 with
// "Unrecognized number of images in main image file" alerted.
BOOL EnsureImageDescArray(CObArray* array);

// Loads the descriptions, converts the image settings, loads the logo once and composes the
// screen background. 0 when the descriptions or the background cannot be had (alerted); a
// missing logo only leaves the tiled styles without one.
BOOL InitImageSet();

// A logo of the set whose width / height / aspect lies strictly between 0.9 and 1.1, chosen at
// random; null (alerted) when there is none. The caller owns the bitmap.
CDIB* LoadLogo(double aspect);

// Composes ScreenBackgroundDIB for the screen's size and the image settings, creating it first
// (or making it again when the screen's size changed). 1, or 0 without an alert.
BOOL BuildScreenBackground();

// The index in the screen background's table (the grey ramp after the reserved entries) of the
// colour around a picture that does not cover the screen: the back style's black or light grey,
// or with the back style that keeps the screen style, the screen style's; black for the logo
// styles. GetImage paints a letterbox's bars with it.
BYTE ImageBackColourIndex();

// Decodes image `index` of descs at a size code for a full-screen viewer (GetImage, bars in
// ImageBackColourIndex's colour). Null,
// alerted, when there is no such record or it cannot be decoded. The caller owns the bitmap.
CDIB* CreateFullScreenImage(HWND statusText, HWND progress, CObArray* descs, int index,
                            int sizeCode, BOOL interpolate);

// Runs `work` with a progress bar laid over the host window's client area, under the wait
// cursor; natively (no windows) it runs with no bar.
void RunWithProgressBar(HINSTANCE instance, HWND host, const std::function<void(HWND bar)>& work);

// CreateFullScreenImage inside RunWithProgressBar; "Unable to load image" alerted on failure.
CDIB* LoadFullScreenImageWithProgress(HINSTANCE instance, HWND statusText, HWND host,
                                      CObArray* descs, int index, int sizeCode, BOOL interpolate);

// The 8-bit picture centred on a background-sized bitmap, on the picture's own palette made an
// identity palette. The background's pixels are remapped to their nearest colours in that
// palette, so its greys stay greys whatever the picture's palette holds; a picture larger than
// the background is cut to it. Null when the bitmap cannot be made. The caller owns the result.
CDIB* ComposeWallpaperDIB(CDIB* image, CDIB* background);

// The product version text of this program's version resource (the "ProductVersion" string of
// the US-English Unicode string table): 1 when the program has a version resource (version set when
// the string is there and not empty), 0 otherwise. Native builds have no version resource: 0.
BOOL GetProductVersion(CString& version);
