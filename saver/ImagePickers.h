// The drawing thread's choices: the next picture of an image set or of the own-images folder,
// the image set's descriptions as the thread reads them, and the random routine of "Combo".
#pragma once

#include <vector>

#include "framework/Arrays.h"
#include "framework/String.h"
#include "framework/WinTypes.h"

struct SaverInfo;

// The picture after `current` in a set of `count` (count > 0): with top ten on, the play list's
// next entry; otherwise, or when the list yields nothing, (current % count + 1) % count, so a
// stored "-1" starts at picture 0 and a number left from a larger set wraps into this one. The
// choice is stored as "LASTIMAGENO" under keyPath. -1 with the reason in *errorText when the
// number falls outside the set or cannot be stored.
int GetNextSSImageNo(const char* keyPath, int current, int count, int topTenOn,
                     const char* playList, CString* errorText);

// The same for the own-images list (its names sorted as the dialogs list them), stored as
// "OWNIMAGES_LASTIMAGENO".
int GetNextSSOwnImagesImageNo(const char* keyPath, int current, const std::vector<CString>& list,
                              CString* errorText);

// Reads the set's descriptions into the array and reports as the drawing thread does: the number
// read (12 or 52), or 0 with the run-time error number in pInfo->nRunTimeError: 4 no such file,
// 5 it cannot be opened, 6 no memory for a record, 9 a count other than 12 or 52 or a file that
// ends inside a record. With a null pInfo it is the plain reader (GetImageDescArray of the set).
int GetImageDescArray(SaverInfo* pInfo, const char* path, CObArray* array);

// A display routine 0..5 for "Combo", never `previous`: 0 and 5 with weight 4, 1..4 with 3.
int PickComboRoutine(int previous);
