#include "tests/wine/support/GdiHeadroom.h"

#include <windows.h>

#include <vector>

namespace wintest {

int FreeGdiHandles() {
  std::vector<HPEN> pens;
  pens.reserve(70000);
  for (;;) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    if (!pen) break;
    pens.push_back(pen);
  }
  for (HPEN pen : pens) DeleteObject(pen);
  return static_cast<int>(pens.size());
}

void FillDeviceContextCache() {
  std::vector<HDC> taken;
  for (int i = 0; i < 200; ++i) taken.push_back(GetDC(GetDesktopWindow()));
  for (HDC dc : taken) ReleaseDC(GetDesktopWindow(), dc);
}

}  // namespace wintest
