// The palette entries that the display keeps for itself at each end of the system palette.
//
// One rule for the whole system: the screen document's count and the background composer's grey
// ramp both come from here, so that antialiased pixels (GreyRampBaseIndex + level) always land on
// the ramp that the palette in use holds.
#pragma once

// Half of the display's colour-table size (NUMCOLORS of the active window's screen context) on
// Windows NT, and on other systems when the display has 8 bits per pixel; otherwise 0. A display
// without a colour table (true colour, and every native build) gives 0. The result is at most
// 224, so that a 32-entry ramp after the reserved entries stays inside 256 entries. While a
// ScopedReservedPaletteEntries lives, its count instead.
int GetReservedPaletteEntries();

// Tests: while one lives, GetReservedPaletteEntries gives its count instead of asking the
// display, so that the layout of a palette display can be composed on any machine.
class ScopedReservedPaletteEntries {
 public:
  explicit ScopedReservedPaletteEntries(int count);
  ~ScopedReservedPaletteEntries();
  ScopedReservedPaletteEntries(const ScopedReservedPaletteEntries&) = delete;
  ScopedReservedPaletteEntries& operator=(const ScopedReservedPaletteEntries&) = delete;

 private:
  int previous_;
};
