#include "imaging/ReservedPalette.h"

#include <algorithm>
#include <atomic>

#include "imaging/ColorPalette.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::atomic<int> overridden{-1};  // a test's count; -1 when the display is asked

#ifdef _WIN32

bool IsWindowsNT() { return (::GetVersion() & 0x80000000u) == 0; }

int DisplayReservedEntries() {
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

int DisplayReservedEntries() { return 0; }

#endif

}  // namespace

int GetReservedPaletteEntries() {
  const int count = overridden.load();
  return count >= 0 ? count : DisplayReservedEntries();
}

ScopedReservedPaletteEntries::ScopedReservedPaletteEntries(int count)
    : previous_(overridden.exchange(std::clamp(count, 0, CColorPalette::kMaxReserved))) {}

ScopedReservedPaletteEntries::~ScopedReservedPaletteEntries() { overridden.store(previous_); }
