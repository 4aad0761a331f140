// The quarter-size image cache "imx4.dat": every image of an image set at a quarter of its width
// and height, so that previews and multi-image wallpapers need not decode the full images.
//
// Layout: a plain-text header of decimal numbers each closed by the letter 'l' (the image count,
// then each image's BMP file size, in image order), directly followed by the BMP files of all
// images, back to back. Each BMP is 8-bit with a 256-entry colour table and its pixels at 1078.
//
// The builder writes the whole cache under a work name and renames it to "imx4.dat" only when it
// is complete, so an interrupted build never leaves a cache that looks present; its work files
// are removed whether it succeeds or fails. The index reader treats any header it cannot trust
// (not numbers, a count outside 1..52, sizes that do not add up to the file) as a missing cache.
#pragma once
#include "framework/Arrays.h"
#include "framework/String.h"
#include "framework/WinTypes.h"
#include <cstdint>

constexpr int kQuarterCacheCapacity = 52;
constexpr const char kQuarterCacheFileName[] = "imx4.dat";
// Work files of the build: the cache while it is assembled, and the images' BMP files.
constexpr const char kQuarterCacheWorkFileName[] = "imtemp1.dat";
constexpr const char kQuarterImagesWorkFileName[] = "imtemp2.dat";

class CDIB;
class CFile;

// Absolute offsets of the cached images in "imx4.dat", and their count (0: index not loaded).
extern int32_t QuarterImageOffsets[kQuarterCacheCapacity];
extern int32_t QuarterImageCount;

// Reads cached image n from the open cache file into a new bitmap the caller owns; null when n
// lies outside the loaded index or no bitmap of some size can be read there.
CDIB* ReadQuarterImage(CFile* cache, int n);

// The free space available to the caller on the volume that holds `folder`, in bytes; false
// when it cannot be read. Tests replace the query for the whole process.
using FreeSpaceQuery = bool (*)(const char* folder, uint64_t* availableBytes);
bool QueryFreeSpace(const char* folder, uint64_t* availableBytes);
FreeSpaceQuery InstallFreeSpaceQuery(FreeSpaceQuery query);  // nullptr restores the real one

// Kilobytes of free space the build needs for `count` images: 253 for 12, 1100 for 52.
uint64_t QuarterCacheKilobytesNeeded(int count);

// True when the folder holds "imx4.dat".
bool QuarterImageCacheExistsIn(const char* folder);

// Reads the header of the folder's "imx4.dat" into QuarterImageOffsets and QuarterImageCount.
// A missing file leaves the count as it is, silently; a file that cannot be opened is alerted
// ("Can't open imx4.dat file (r)") and leaves it too; an untrustworthy header sets the count to
// 0. True when the index was loaded.
bool LoadQuarterImageIndexFrom(const char* folder);

// Builds the folder's "imx4.dat" from its "imfull.dat" for the image records (CImageDesc*, 12 or
// 52 of them, in image order). progress: a progress-bar control stepped once per image, or null.
// 1 when the cache was written; 0 after an alert, with no cache and no work file left behind.
BOOL BuildQuarterImageCacheFrom(const char* folder, const CObArray& records, HWND progress);

// The same for the current image set's data folder (the image-set library; see ImageSet.h).
bool QuarterImageCacheExists();
void LoadQuarterImageIndex();
// Cached picture n of the set into a new bitmap the caller owns (the index must be loaded); null
// when it cannot be read, with "Unable to open date image file" alerted when the cache will not
// open.
CDIB* ReadSetQuarterImage(int n);
// Reads the set's "Imagedes.dat" into a private array and builds its cache.
BOOL BuildQuarterImageCache(HWND progress);
// The build under a progress bar over the host window; "Unable to restore 1/4 size images"
// alerted when it fails.
BOOL BuildQuarterImageCacheWithProgress(HINSTANCE instance, HWND host);
