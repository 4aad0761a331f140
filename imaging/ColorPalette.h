// CColorPalette: the logical palette that goes with an 8-bit CDIB on a palette display.
//
// Built from a bitmap's colour table, turned into an identity palette for the screen (so that
// blits need no colour translation), or built as a fixed palette holding a 32-level grey ramp for
// antialiased drawing.
#pragma once

#include <cstdint>

#include "framework/Gdi.h"
#include "framework/WinTypes.h"

class CDIB;

class CColorPalette : public CPalette {
 public:
  struct NamedColor {
    const char* name;
    int32_t red;
    int32_t green;
    int32_t blue;
  };
  // The grey ramp: 32 levels on a 0..63 scale (times 4 gives the 8-bit intensity).
  static const BYTE GreyLevels[32];
  // The 20 colours the display keeps for itself; an identity palette holds them at 32..51.
  static const NamedColor StaticColors[20];
  // Placeholders before and after the ramp of CreateGreyRamp: the screen's reserved entries.
  static constexpr int kMaxReserved = 256 - 32;

  CColorPalette() = default;

  // A palette of the bitmap's colour-table entries, replacing the one held. 0 (the old palette
  // kept) when the bitmap has no colour table (24 bits) or memory runs out.
  BOOL CreateFromDIB(CDIB* dib);
  // The number of entries of the held palette, 0 when it cannot be read.
  using CPalette::GetEntryCount;
  // Rebuilds the palette as an identity palette for a palette display; 1 when the system palette
  // was claimed too. On a display without a palette (and natively) 0, nothing changed.
  BOOL MakeIdentity();
  // 256 entries: n red placeholders, the 32 grey levels, red placeholders again; n is clamped to
  // 0..224 so that the ramp stays inside the palette.
  BOOL CreateGreyRamp(int n);

  // The device-independent part of MakeIdentity: the 256 entries for a palette holding `count`
  // entries `current`. On an 8-bit display the ramp goes first; on a deeper palette display the
  // ramp (0..31) and the static colours (32..51) are put in unless already there. The palette's
  // own entries follow the fixed ones. Every entry is PC_NOCOLLAPSE. Returns the number of fixed
  // entries before the palette's own.
  static int BuildIdentityEntries(const PALETTEENTRY* current, int count, bool eightBitDisplay,
                                  PALETTEENTRY out[256]);

  // The screen's colour table for a picture, on every display: the grey ramp at `reserved`
  // (clamped to 0..224) and the picture's `count` colours after it, as an identity palette holds
  // them. With no reserved entries (a display without a palette) that is the deeper palette
  // display's layout of BuildIdentityEntries: ramp 0..31, static colours 32..51, the picture's
  // colours from 52. Otherwise it is the 8-bit display's claimed system palette: static colours
  // in the reserved entries at both ends, the ramp after the first ones, the picture's colours
  // between. Colours that find no room are left out; 256 entries in every case.
  static void BuildScreenEntries(const PALETTEENTRY* picture, int count, int reserved,
                                 PALETTEENTRY out[256]);
  // A palette of BuildScreenEntries for the bitmap's colour table, replacing the one held. 0 (the
  // old palette kept) when the bitmap has no colour table or memory runs out.
  BOOL CreateScreenPalette(CDIB* picture, int reserved);

 private:
  // Replaces the held palette with a new one of these entries; 0 (old one kept) on failure.
  BOOL ReplaceEntries(const PALETTEENTRY* entries, int count);
#ifdef _WIN32
  BOOL MakeIdentityOn(HDC dc);
  BOOL ClaimSystemPalette(HDC dc, int numColors);
#endif
};
