#include "imaging/ColorPalette.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "imaging/DIB.h"

const BYTE CColorPalette::GreyLevels[32] = {0,  14, 19, 23, 26, 28, 31, 33, 35, 37, 38,
                                            40, 41, 43, 44, 46, 47, 48, 49, 51, 52, 53,
                                            54, 55, 56, 57, 58, 59, 60, 61, 62, 63};

const CColorPalette::NamedColor CColorPalette::StaticColors[20] = {{"Black", 0, 0, 0},
                                                                   {"Dark Red", 128, 0, 0},
                                                                   {"Dark Green", 0, 128, 0},
                                                                   {"Dark Yellow", 128, 128, 0},
                                                                   {"Dark Blue", 0, 0, 128},
                                                                   {"Dark Magenta", 128, 0, 128},
                                                                   {"Dark Cyan", 0, 128, 128},
                                                                   {"Light Gray", 192, 192, 192},
                                                                   {"Mony Green", 192, 220, 192},
                                                                   {"Sky Blue", 166, 202, 240},
                                                                   {"Cream", 255, 251, 240},
                                                                   {"Medium Gray", 160, 160, 164},
                                                                   {"Dark Gray", 128, 128, 128},
                                                                   {"Red", 255, 0, 0},
                                                                   {"Green", 0, 255, 0},
                                                                   {"Yellow", 255, 255, 0},
                                                                   {"Blue", 0, 0, 255},
                                                                   {"Magenta", 255, 0, 255},
                                                                   {"Cyan", 0, 255, 255},
                                                                   {"White", 255, 255, 255}};

namespace {

constexpr int kRampSize = 32;
constexpr int kStaticCount = 20;
constexpr int kStaticFirst = kRampSize;  // the static colours follow the ramp

PALETTEENTRY Entry(int red, int green, int blue) {
  return PALETTEENTRY{static_cast<BYTE>(red), static_cast<BYTE>(green), static_cast<BYTE>(blue),
                      PC_NOCOLLAPSE};
}

PALETTEENTRY GreyEntry(int level) {
  const int intensity = CColorPalette::GreyLevels[level] * 4;
  return Entry(intensity, intensity, intensity);
}

PALETTEENTRY StaticEntry(int i) {
  const CColorPalette::NamedColor& c = CColorPalette::StaticColors[i];
  return Entry(c.red, c.green, c.blue);
}

bool SameColour(const PALETTEENTRY& a, const PALETTEENTRY& b) {
  return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

bool HasGreyRamp(const PALETTEENTRY* entries, int count) {
  if (count < kRampSize) return false;
  for (int i = 0; i < kRampSize; ++i)
    if (!SameColour(entries[i], GreyEntry(i))) return false;
  return true;
}

bool HasStaticColours(const PALETTEENTRY* entries, int count) {
  if (count < kStaticFirst + kStaticCount) return false;
  for (int i = 0; i < kStaticCount; ++i)
    if (!SameColour(entries[kStaticFirst + i], StaticEntry(i))) return false;
  return true;
}

// Copies the bitmap's colour table (at most 256 entries) into `out`; the count, 0 when it has
// none. No allocation: the palette creators report a failure by their result.
int DIBEntries(CDIB* dib, PALETTEENTRY out[256]) {
  if (!dib || !dib->header) return 0;
  const int count = std::clamp(dib->GetNumColors(), 0, 256);
  for (int i = 0; i < count; ++i) {
    const RGBQUAD& q = dib->header->bmiColors[i];
    out[i] = PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
  }
  return count;
}

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

}  // namespace

int CColorPalette::BuildIdentityEntries(const PALETTEENTRY* current, int count,
                                        bool eightBitDisplay, PALETTEENTRY out[256]) {
  count = current ? std::max(count, 0) : 0;
  std::fill(out, out + 256, Entry(0, 0, 0));
  // The static colours always sit at 32..51; when they are missing the ramp is (re)written at
  // 0..31 as well, so that the palette's own entries start after the colours, not on top of them.
  int fixed = 0;
  if (eightBitDisplay || !HasGreyRamp(current, count)) fixed = kRampSize;
  if (!eightBitDisplay && !HasStaticColours(current, count)) fixed = kStaticFirst + kStaticCount;
  for (int i = 0; i < std::min(fixed, kRampSize); ++i) out[i] = GreyEntry(i);
  for (int i = 0; kRampSize + i < fixed; ++i) out[kStaticFirst + i] = StaticEntry(i);
  const int own = std::min(count, 256 - fixed);
  for (int i = 0; i < own; ++i)
    out[fixed + i] = Entry(current[i].peRed, current[i].peGreen, current[i].peBlue);
  return fixed;
}

void CColorPalette::BuildScreenEntries(const PALETTEENTRY* picture, int count, int reserved,
                                       PALETTEENTRY out[256]) {
  reserved = std::clamp(reserved, 0, kMaxReserved);
  if (reserved == 0) {
    BuildIdentityEntries(picture, count, false, out);
    return;
  }
  std::fill(out, out + 256, Entry(0, 0, 0));
  const int ends = std::min(reserved, kStaticCount / 2);
  for (int i = 0; i < ends; ++i) {
    out[i] = StaticEntry(i);
    out[255 - i] = StaticEntry(kStaticCount - 1 - i);
  }
  for (int i = 0; i < kRampSize; ++i) out[reserved + i] = GreyEntry(i);
  const int first = reserved + kRampSize;
  const int own = picture ? std::clamp(std::min(count, 256 - reserved - first), 0, 256) : 0;
  for (int i = 0; i < own; ++i)
    out[first + i] = Entry(picture[i].peRed, picture[i].peGreen, picture[i].peBlue);
}

BOOL CColorPalette::ReplaceEntries(const PALETTEENTRY* entries, int count) {
  const size_t size = sizeof(LOGPALETTE) + (count - 1) * sizeof(PALETTEENTRY);
  std::unique_ptr<LOGPALETTE, FreeDeleter> log(static_cast<LOGPALETTE*>(std::malloc(size)));
  if (!log) return 0;
  log->palVersion = 0x300;
  log->palNumEntries = static_cast<WORD>(count);
  std::copy(entries, entries + count, log->palPalEntry);
  CPalette created;
  if (!created.CreatePalette(log.get())) return 0;
  DeleteObject();
  Attach(created.Detach());
  return 1;
}

BOOL CColorPalette::CreateFromDIB(CDIB* dib) {
  PALETTEENTRY entries[256];
  const int count = DIBEntries(dib, entries);
  if (count == 0) return 0;
  return ReplaceEntries(entries, count);
}

BOOL CColorPalette::CreateScreenPalette(CDIB* picture, int reserved) {
  PALETTEENTRY colours[256];
  const int count = DIBEntries(picture, colours);
  if (count == 0) return 0;
  PALETTEENTRY entries[256];
  BuildScreenEntries(colours, count, reserved, entries);
  return ReplaceEntries(entries, 256);
}

BOOL CColorPalette::CreateGreyRamp(int n) {
  n = std::clamp(n, 0, kMaxReserved);
  PALETTEENTRY entries[256];
  std::fill(entries, entries + 256, Entry(255, 0, 0));
  for (int i = 0; i < kRampSize; ++i) entries[n + i] = GreyEntry(i);
  return ReplaceEntries(entries, 256);
}

#ifndef _WIN32

// No display here, so no palette device: the palette stays as it is.
BOOL CColorPalette::MakeIdentity() { return 0; }

#else

BOOL CColorPalette::MakeIdentity() {
  HWND window = ::GetActiveWindow();
  HDC dc = ::GetDC(window);
  if (!dc) return 0;
  BOOL result = 0;
  if (::GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) result = MakeIdentityOn(dc);
  ::ReleaseDC(window, dc);
  return result;
}

BOOL CColorPalette::MakeIdentityOn(HDC dc) {
  const int bitsPerPixel = ::GetDeviceCaps(dc, BITSPIXEL);
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  ::GetVersionExA(&version);

  const int count = GetEntryCount();
  if (count <= 0) return 0;
  std::vector<PALETTEENTRY> current(count);
  GetPaletteEntries(0, count, current.data());
  PALETTEENTRY entries[256];
  BuildIdentityEntries(current.data(), count, bitsPerPixel == 8, entries);
  SetPaletteEntries(0, 256, entries);

  // Windows 95 and later manage the system palette themselves on deeper displays.
  const bool managed = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && bitsPerPixel != 8;
  const int numColors = ::GetDeviceCaps(dc, NUMCOLORS);
  if (managed || numColors >= 257) return 0;
  return ClaimSystemPalette(dc, numColors);
}

// Clears the system palette, realises ours into it, and takes the system palette's layout back
// with only the static entries at both ends left collapsible.
BOOL CColorPalette::ClaimSystemPalette(HDC dc, int numColors) {
  ::SetSystemPaletteUse(dc, SYSPAL_NOSTATIC);
  ::SetSystemPaletteUse(dc, SYSPAL_STATIC);
  HPALETTE previous = ::SelectPalette(dc, *this, FALSE);
  ::RealizePalette(dc);
  ::SelectPalette(dc, previous, FALSE);

  const int size = ::GetDeviceCaps(dc, SIZEPALETTE);
  if (size <= 0) return 0;
  std::vector<PALETTEENTRY> system(size);
  ::GetSystemPaletteEntries(dc, 0, size, system.data());
  const int reserved = std::max(numColors, 0) / 2;
  for (int i = 0; i < size; ++i)
    system[i].peFlags = (i < reserved || i >= size - reserved) ? 0 : PC_NOCOLLAPSE;
  ResizePalette(size);
  SetPaletteEntries(0, size, system.data());
  return 1;
}

#endif
