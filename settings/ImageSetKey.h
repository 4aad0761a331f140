// The image-set registry key: every installed image set announces its data folder under
// "SOFTWARE\KLV\IMAGESET\<name>" as the value "DATADIRECTORY" (at most 255 characters, no
// trailing backslash). These two routines find and test a set's data folder.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

constexpr const char kImageSetRootKey[] = "SOFTWARE\\KLV\\IMAGESET";
constexpr const char kDataDirectoryValue[] = "DATADIRECTORY";

// Reads "DATADIRECTORY" of the set whose key path is keyPath into folder: 1, or 0 with folder
// emptied. A key path shorter than the image-set root key (only the length counts) is refused
// without touching the registry. The key is opened for reading only.
BOOL GetImageSetDataDirectory(const char* keyPath, CString& folder);

// 1 when the folder holds the four files of an image set ("imfull.dat", "imagedes.dat",
// "cover.bmp", "imagedoc.dat"), else 0.
BOOL IsImageSetDirectory(const char* folder);
