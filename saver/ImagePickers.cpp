#include "saver/ImagePickers.h"

#include "imageset/ImageSet.h"
#include "seams/Random.h"
#include "seams/Trace.h"
#include "settings/IniSettings.h"
#include "settings/SaverInfo.h"
#include "settings/TopTenText.h"

namespace {

// Run-time errors of the description file.
constexpr int kErrorNoImageFile = 4;
constexpr int kErrorImageFileUnopenable = 5;
constexpr int kErrorOutOfMemory = 6;
constexpr int kErrorImageCount = 9;

// The number when it lies in the set and could be stored; else -1 with the text.
int StoreNextImageNo(int next, int count, const char* routine,
                     BOOL (*store)(const char*, int, CString*), const char* keyPath,
                     CString* errorText) {
  if (next < 0 || next >= count) {
    errorText->Format("%s Error Message - Value outside allowed range", routine);
    return -1;
  }
  return store(keyPath, next, errorText) ? next : -1;
}

// A stored number below 0 (a hand-edited setting) starts the sequence again at the first picture.
int NextInSequence(int current, int count) {
  return current < 0 ? 0 : (current % count + 1) % count;
}

}  // namespace

int GetNextSSImageNo(const char* keyPath, int current, int count, int topTenOn,
                     const char* playList, CString* errorText) {
  int next = -1;
  if (count > 0) {
    if (topTenOn) next = GetNextTopTenImageNo(current, playList, count);
    if (next == -1) next = NextInSequence(current, count);
  }
  return StoreNextImageNo(next, count, "GetNextSSImageNo", SetLastImageNoIniSetting, keyPath,
                          errorText);
}

int GetNextSSOwnImagesImageNo(const char* keyPath, int current, const std::vector<CString>& list,
                              CString* errorText) {
  const int count = static_cast<int>(list.size());
  const int next = count > 0 ? NextInSequence(current, count) : -1;
  return StoreNextImageNo(next, count, "GetNextSSOwnImagesImageNo",
                          SetOwnImagesLastImageNoIniSetting, keyPath, errorText);
}

int GetImageDescArray(SaverInfo* pInfo, const char* path, CObArray* array) {
  if (!pInfo) return GetImageDescArray(path, array);
  seams::TraceScope trace("GetImageDescArray");
  switch (ReadImageDescArray(path, array)) {
    case ImageDescReadResult::kOk: return array->GetSize();
    case ImageDescReadResult::kMissing: pInfo->nRunTimeError = kErrorNoImageFile; break;
    case ImageDescReadResult::kUnopenable: pInfo->nRunTimeError = kErrorImageFileUnopenable; break;
    case ImageDescReadResult::kNoMemory: pInfo->nRunTimeError = kErrorOutOfMemory; break;
    case ImageDescReadResult::kBadCount:
    case ImageDescReadResult::kTruncated: pInfo->nRunTimeError = kErrorImageCount; break;
  }
  DeleteImageDescs(array);
  return 0;
}

int PickComboRoutine(int previous) {
  // Twenty slots: routines 0 and 5 hold four each, the others three.
  static const int kSlots[20] = {0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 5};
  int routine;
  do {
    routine = kSlots[seams::Rand() % 20];
  } while (routine == previous);
  return routine;
}
