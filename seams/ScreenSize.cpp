#include "seams/ScreenSize.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

bool overridden = false;
ScreenSize overrideSize;
int overrideBits = 0;  // 0: ask the screen

ScreenSize DeviceScreenSize() {
#ifdef _WIN32
  HDC screen = GetDC(nullptr);
  if (!screen) return ScreenSize{};
  const ScreenSize size{GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES)};
  ReleaseDC(nullptr, screen);
  return size;
#else
  return ScreenSize{1024, 768};
#endif
}

int DeviceScreenBitsPerPixel() {
#ifdef _WIN32
  HDC screen = GetDC(nullptr);
  if (!screen) return 0;
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return bits;
#else
  return 32;
#endif
}

}  // namespace

ScreenSize GetScreenSize() { return overridden ? overrideSize : DeviceScreenSize(); }

ScopedScreenSize::ScopedScreenSize(int cx, int cy)
    : hadOverride_(overridden), previous_(overrideSize) {
  overridden = true;
  overrideSize = ScreenSize{cx, cy};
}

ScopedScreenSize::~ScopedScreenSize() {
  overridden = hadOverride_;
  overrideSize = previous_;
}

int GetScreenBitsPerPixel() { return overrideBits ? overrideBits : DeviceScreenBitsPerPixel(); }

ScopedScreenBitsPerPixel::ScopedScreenBitsPerPixel(int bits) : previous_(overrideBits) {
  overrideBits = bits;
}

ScopedScreenBitsPerPixel::~ScopedScreenBitsPerPixel() { overrideBits = previous_; }
