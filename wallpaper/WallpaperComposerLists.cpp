// The composer's builders over the wallpaper dialog's and the wallpaper program's list boxes.
#include <windows.h>

#include "controls/TitleLists.h"
#include "imageset/ImageSet.h"
#include "imaging/QuarterCache.h"
#include "wallpaper/WallpaperComposer.h"

namespace {

std::vector<CString> ListBoxTexts(HWND list) {
  std::vector<CString> texts;
  const LRESULT count = list ? ::SendMessageA(list, LB_GETCOUNT, 0, 0) : 0;
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = ::SendMessageA(list, LB_GETTEXTLEN, i, 0);
    if (length < 0) continue;
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    texts.emplace_back(text.data());
  }
  return texts;
}

}  // namespace

BOOL BuildImageSetWallpaperDIB(CPtrList* rects, int n, HWND orderList) {
  if (orderList)
    return BuildImageSetWallpaperFrom(rects, n, [orderList](int number) {
      return GetNextListImageNo(&ImageDescArray, orderList, number);
    });
  return BuildImageSetWallpaperFrom(rects, n, [](int number) {
    return QuarterImageCount > 0 ? (number + 1) % QuarterImageCount : -1;
  });
}

BOOL BuildOwnImagesWallpaperDIB(CPtrList* rects, int p, HWND ownImagesList) {
  std::vector<CString> names;
  try {
    names = ListBoxTexts(ownImagesList);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return BuildOwnImagesWallpaperFrom(rects, p, names);
}
