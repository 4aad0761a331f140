#include "config/MiniScreenRules.h"

#include <cstdint>

namespace {

// The sizes of codes 1 to 6.
constexpr PixelSize kSizeTable[kLargestSizeCode] = {{640, 480},  {800, 600},  {1024, 768},
                                                    {1152, 864}, {1280, 960}, {1600, 1200}};

bool Fits(PixelSize inner, PixelSize outer) { return inner.cx <= outer.cx && inner.cy <= outer.cy; }

int Scaled(int length, int mini, int full) {
  if (full <= 0 || length <= 0) return 0;
  const int64_t scaled = static_cast<int64_t>(length) * mini / full;
  return scaled > INT32_MAX ? INT32_MAX : static_cast<int>(scaled);
}

}  // namespace

bool SizeOfCode(int code, PixelSize screen, PixelSize* size) {
  if (code == 0) {
    *size = screen;
    return true;
  }
  if (code < 1 || code > kLargestSizeCode) return false;
  *size = kSizeTable[code - 1];
  return true;
}

int OfferedSizeLines(PixelSize screen) {
  int lines = 1;
  while (lines <= kLargestSizeCode && Fits(kSizeTable[lines - 1], screen)) ++lines;
  return lines;
}

bool SizeFillsScreen(int code, PixelSize screen) {
  if (code == 0) return true;
  PixelSize size;
  return SizeOfCode(code, screen, &size) && size.cx == screen.cx && size.cy == screen.cy;
}

bool ScalingMethodApplies(int code, PixelSize screen) {
  return code != 1 && !(screen.cx == 640 && screen.cy == 480);
}

ScalingBorderEnables ScalingBorderEnabling(int sizeCode, bool ownImages, PixelSize screen) {
  const bool fills = SizeFillsScreen(sizeCode, screen);
  return ScalingBorderEnables{!ownImages && !fills, ownImages || !fills,
                              ScalingMethodApplies(sizeCode, screen), !ownImages, !ownImages};
}

WallpaperEnables WallpaperEnabling(bool fullScale, int sizeCode, bool ownImages, PixelSize screen,
                                   int bitsPerPixel) {
  const bool onePictureFills = !ownImages && fullScale && SizeFillsScreen(sizeCode, screen);
  return WallpaperEnables{bitsPerPixel > 8, !onePictureFills, fullScale,
                          fullScale && ScalingMethodApplies(sizeCode, screen)};
}

PixelSize MiniPictureSize(PixelSize picture, PixelSize background) {
  return PixelSize{Scaled(picture.cx, kMiniScreenWidth, background.cx),
                   Scaled(picture.cy, kMiniScreenHeight, background.cy)};
}

PixelSize CentredOffset(PixelSize outer, PixelSize inner) {
  return PixelSize{outer.cx / 2 - inner.cx / 2, outer.cy / 2 - inner.cy / 2};
}

int OfferedWallpaperLayout(int stored, bool ownImages) {
  if (stored == 0) return 0;
  if (ownImages) return 4;
  return stored >= 1 && stored <= 3 ? stored : 1;
}
