#include "imaging/DIBSurface.h"

#include <cstdint>
#include <cstdlib>

#include "framework/Archive.h"
#include "imaging/ColorPalette.h"
#include "seams/Alerts.h"

#ifdef _WIN32
#include "platform/WinG.h"
#endif

IMPLEMENT_SERIAL(CDIBSurface, CDIB, 0)

namespace {

constexpr DWORD kSourceCopy = 0x00CC0020;  // SRCCOPY

// A header block as CDIB keeps it: the info header and room for 256 colours.
struct HeaderBlock {
  BITMAPINFOHEADER info;
  RGBQUAD colors[256];
  const BITMAPINFO* AsInfo() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};

// A zeroed header for w x h at the given depth, its colour table the palette's entries.
HeaderBlock NewHeader(int w, int h, int bitCount, CColorPalette* palette) {
  HeaderBlock block{};
  block.info.biSize = sizeof(BITMAPINFOHEADER);
  block.info.biWidth = w;
  block.info.biHeight = h;
  block.info.biPlanes = 1;
  block.info.biBitCount = static_cast<WORD>(bitCount);
  block.info.biCompression = BI_RGB;
  if (palette) {
    PALETTEENTRY entries[256];
    const UINT count = palette->GetPaletteEntries(0, 256, entries);
    for (UINT i = 0; i < count; ++i) {
      block.colors[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    }
  }
  return block;
}

uint64_t BitsBytes(int w, int h, int bitCount) {
  const uint64_t stride =
      ((static_cast<uint64_t>(bitCount) * static_cast<uint64_t>(w) + 31) & ~uint64_t{31}) / 8;
  return stride * static_cast<uint64_t>(h);
}

bool SizeAccepted(int w, int h, int bitCount) {
  return w > 0 && h > 0 && w <= CDIB::kMaxSide && h <= CDIB::kMaxSide &&
         BitsBytes(w, h, bitCount) <= CDIB::kMaxBitsBytes;
}

#ifdef _WIN32

bool ScreenHasPalette() {
  HDC screen = ::GetDC(nullptr);
  if (!screen) return false;
  const bool result = (::GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
  ::ReleaseDC(nullptr, screen);
  return result;
}

// On a palette display an 8-bit section is made of palette indexes 0..255 into the palette
// realised at creation: an identity palette then blits without any colour translation.
HBITMAP CreatePaletteIndexSection(const HeaderBlock& header, CColorPalette* palette, void** bits) {
  struct IndexHeader {
    BITMAPINFOHEADER info;
    WORD indexes[256];
  } indexHeader{};
  indexHeader.info = header.info;
  indexHeader.info.biClrUsed = 0;
  for (int i = 0; i < 256; ++i) indexHeader.indexes[i] = static_cast<WORD>(i);
  CDC temp;
  if (!temp.CreateCompatibleDC(nullptr)) return nullptr;
  HPALETTE old = temp.SelectPalette(*palette, FALSE);
  temp.RealizePalette();
  HBITMAP section =
      ::CreateDIBSection(temp.GetSafeHdc(), reinterpret_cast<BITMAPINFO*>(&indexHeader),
                         DIB_PAL_COLORS, bits, nullptr, 0);
  if (old) temp.SelectPalette(old, FALSE);
  return section;
}

// A DIB section for the header. Everywhere but an 8-bit surface on a palette display the section
// takes its colours from the header itself.
HBITMAP CreateSection(const HeaderBlock& header, CColorPalette* palette, BYTE** bits) {
  void* memory = nullptr;
  HBITMAP section = nullptr;
  if (palette && header.info.biBitCount == 8 && ScreenHasPalette()) {
    section = CreatePaletteIndexSection(header, palette, &memory);
  } else {
    section = ::CreateDIBSection(nullptr, header.AsInfo(), DIB_RGB_COLORS, &memory, nullptr, 0);
  }
  if (section && !memory) {
    ::DeleteObject(section);
    section = nullptr;
  }
  *bits = static_cast<BYTE*>(memory);
  return section;
}

#endif

}  // namespace

CDIBSurface::CDIBSurface() {
#ifdef _WIN32
  HMODULE gdi = ::GetModuleHandleA("gdi32");
  if (gdi && ::GetProcAddress(gdi, "CreateDIBSection")) {
    useDIBSection = memoryDC.CreateCompatibleDC(nullptr);
  } else if (!WinGAvailable()) {
    seams::Alert(
        "This application runs on systems which support the CreateDIBSection function or "
        "the WinG library. Your system does not have either of these.");
  }
#else
  useMemory = 1;
#endif
}

CDIBSurface::~CDIBSurface() {
#ifdef _WIN32
  if (bitmap) {
    if (previousBitmap) memoryDC.SelectObject(previousBitmap);
    ::DeleteObject(bitmap);
  }
#endif
  // memoryDC deletes its context; the CDIB part frees the header and leaves section bits alone.
}

BOOL CDIBSurface::Create(int w, int h, CColorPalette* newPalette) {
  return CreateSurface(w, h, 8, newPalette);
}

BOOL CDIBSurface::Create24(int w, int h) { return CreateSurface(w, h, 24, nullptr); }

// The new bitmap is made before anything of the old one is released, so that a failure leaves
// the surface as it was.
BOOL CDIBSurface::CreateSurface(int w, int h, int bitCount, CColorPalette* newPalette) {
  if (!IsAvailable() || !SizeAccepted(w, h, bitCount)) return 0;
  const HeaderBlock newHeader = NewHeader(w, h, bitCount, newPalette);
  BYTE* newBits = nullptr;
  HBITMAP newBitmap = nullptr;
#ifdef _WIN32
  newBitmap = CreateSection(newHeader, newPalette, &newBits);
#else
  newBits = static_cast<BYTE*>(std::calloc(BitsBytes(w, h, bitCount), 1));
#endif
  if (!newBits || !Install(newHeader.AsInfo(), newBits, newBitmap)) return 0;
  palette = newPalette;
  return 1;
}

BOOL CDIBSurface::Install(const BITMAPINFO* newHeader, BYTE* newBits, HBITMAP newBitmap) {
#ifdef _WIN32
  if (!AttachPacked(newHeader, newBits, 0)) {
    ::DeleteObject(newBitmap);
    return 0;
  }
  HGDIOBJ replaced = memoryDC.SelectObject(newBitmap);
  if (!previousBitmap) previousBitmap = replaced;  // the context's own bitmap, put back at the end
  if (bitmap) ::DeleteObject(bitmap);
  bitmap = newBitmap;
  return 1;
#else
  (void)newBitmap;
  if (!AttachPacked(newHeader, newBits, 1)) {
    std::free(newBits);
    return 0;
  }
  return 1;
#endif
}

void CDIBSurface::Draw(CDC* dc) { BitBlt(dc, 0, 0, GetWidth(), GetHeight(), 0, 0); }

void CDIBSurface::BitBlt(CDC* dc, int x, int y, int w, int h, int sx, int sy) {
  if (!dc || !dc->GetSafeHdc() || !memoryDC.GetSafeHdc()) return;
  HPALETTE previous = palette ? dc->SelectPalette(*palette, FALSE) : nullptr;
  if (palette) dc->RealizePalette();
  dc->BitBlt(x, y, w, h, &memoryDC, sx, sy, kSourceCopy);
  if (previous) dc->SelectPalette(previous, FALSE);
}
