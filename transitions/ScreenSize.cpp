#include "transitions/ScreenSize.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

bool overridden = false;
CSize overrideSize;

CSize DeviceScreenSize() {
#ifdef _WIN32
  HDC screen = GetDC(nullptr);
  if (!screen) return CSize(0, 0);
  const CSize size(GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES));
  ReleaseDC(nullptr, screen);
  return size;
#else
  return CSize(1024, 768);
#endif
}

}  // namespace

CSize GetScreenSize() { return overridden ? overrideSize : DeviceScreenSize(); }

ScopedScreenSize::ScopedScreenSize(CSize size) : hadOverride_(overridden), previous_(overrideSize) {
  overridden = true;
  overrideSize = size;
}

ScopedScreenSize::~ScopedScreenSize() {
  overridden = hadOverride_;
  overrideSize = previous_;
}
