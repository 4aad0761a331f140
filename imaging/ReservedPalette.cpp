#include "imaging/ReservedPalette.h"

#include <algorithm>

#include "imaging/ColorPalette.h"

#ifdef _WIN32
#include <windows.h>

namespace {

bool IsWindowsNT() { return (::GetVersion() & 0x80000000u) == 0; }

}  // namespace

int GetReservedPaletteEntries() {
  HWND window = ::GetActiveWindow();
  HDC dc = ::GetDC(window);
  if (!dc) return 0;
  const int numColors = ::GetDeviceCaps(dc, NUMCOLORS);
  const int bitsPerPixel = ::GetDeviceCaps(dc, BITSPIXEL);
  ::ReleaseDC(window, dc);
  if (!IsWindowsNT() && bitsPerPixel != 8) return 0;
  // A true-colour display reports -1 colours: nothing is reserved there.
  return std::clamp(numColors / 2, 0, CColorPalette::kMaxReserved);
}

#else

int GetReservedPaletteEntries() { return 0; }

#endif
