// CClockOverlay: the analog clock in the top right corner of the saver screen.
//
// Two 100 x 100 sprites of the screen: the dial (depth 30) and the hands (depth 29, in
// front of it), both transparent on one palette index that the clock never draws with: index 6,
// or the entry after the grey ramp where the ramp holds 6 (a display without a palette puts the
// ramp at 0..31, and a dial shade on the transparent entry would be a hole in it). The hands are
// redrawn at most once a second, and only the clock's own rectangle is composed and shown, so that
// UpdateClockOverlay can be called on every turn of a tight loop.
//
// The clock is registered in the screen's services (HostServices.h: the clock flag and pointer),
// which own it: the screen document deletes the clock first whenever it deletes its sprites.
// A screen without services gets no clock. While it is registered the
// 3D scene redraws it in its dirty-rectangle pass and UpdateClockOverlay keeps it ticking. The
// antialiased lines take their grey ramp from GreyRampBaseIndex (Raster8.h),
// which the 3D scene or the caption runner sets before a clock is made; the ring and the solid
// centre lines of the hands use the screen's reserved-entry count, which is the same number.
//
// Drawing thread only.
#pragma once

#include "framework/Geometry.h"
#include "framework/Object.h"
#include "framework/Time.h"

class CSprite;
class ScreenHost;

class CClockOverlay : public CObject {
 public:
  static constexpr int kSize = 100;  // both sprites are kSize x kSize
  static constexpr int kFaceZ = 30;
  static constexpr int kHandsZ = 29;
  static constexpr int kTransparentIndex = 6;  // the sprites' clear entry, outside the ramp

  // The entry the sprites skip on a screen whose grey ramp starts at rampBase: kTransparentIndex,
  // unless the ramp's 32 entries hold it.
  static int TransparentIndexFor(int rampBase);

  // Takes both sprites out of the screen's sprite list (where listed) and deletes them. The
  // screen deletes its clock (HostServices::DeleteClock) before it deletes all sprites, so the
  // sprites are alive here.
  ~CClockOverlay() override;
  CClockOverlay(const CClockOverlay&) = delete;
  CClockOverlay& operator=(const CClockOverlay&) = delete;

  // Makes the two sprites on the background's palette, draws the dial and inserts both. 0 when
  // memory runs out: the sprites made so far stay with the clock, which deletes them.
  BOOL CreateSprites();
  // Draws the dial into the face sprite.
  void DrawFace();
  // When the wall-clock second has changed: redraws the hands for the local time and composes
  // the clock's rectangle into the off-screen buffer; the shown flag becomes 0.
  void DrawTime();

  // The clock's rectangle on the screen: kSize x kSize at (x, y).
  CRect GetRect() const;

  CSprite* face = nullptr;     // the dial; in the screen's sprite list, owned
  CSprite* hands = nullptr;    // the hands; in the screen's sprite list, owned
  ScreenHost* host = nullptr;  // the screen both sprites are on
  CTime lastTime;              // the time last drawn; 0 until the first drawing
  int shown = 1;               // 1 when the last drawing is on the window
  int x = 0;                   // top-left corner of both sprites: background width - 100, 0
  int y = 0;
  int centreX = 50;  // centre of the dial within the sprites
  int centreY = 50;
  int radius = 45;
  int tickLength = 5;
  int numeralSize = 10;
  int transparentIndex = kTransparentIndex;  // the entry both sprites skip

 private:
  friend CClockOverlay* CreateClockOverlay(ScreenHost* host);
  explicit CClockOverlay(ScreenHost* screen) : host(screen) {}
};

// Builds a clock on the screen: both sprites made and inserted, the current time drawn into
// the off-screen buffer (not yet to the window: the shown flag is 0 afterwards), and the clock
// registered in the screen's services, which own it from then on (a clock registered before is
// deleted first). Null, with nothing registered or left behind, when memory runs out (the
// caller's out-of-memory error) or the screen has no services.
CClockOverlay* CreateClockOverlay(ScreenHost* host);

// The clock registered on this screen, or null: the host must have services whose clock flag is
// set.
CClockOverlay* GetClockOverlay(ScreenHost* host);

// Keeps the clock ticking during long work: when a clock is registered, redraws it if the second
// has changed and shows its rectangle on the window if the last drawing is not shown yet.
// Nothing at all when no clock is registered.
void UpdateClockOverlay(ScreenHost* host);

// The routines' clock tear-down: when a clock is registered, deletes it with its sprites, clears
// the screen's clock flag and pointer, and composes and shows the clock's rectangle again
// (background and the remaining sprites). Nothing on a screen without services (or no screen).
void RemoveClockOverlay(ScreenHost* host);
