// The 3D tile peel (transition class 100): a picture rectangle of the screen is cut into square
// tiles, and every tile moves as a textured 3D square through a 3D scene. Taking a picture off,
// the tiles peel away one after another in the effect's order, spinning, and fly out past the
// screen edge, uncovering the new screen tile by tile; bringing a picture on, tiles carrying it
// fly in from outside, spinning, and land in their places.
//
// Effects 0..9: left -> right, right -> left, bottom -> top, top -> bottom, the four diagonal
// peels from the bottom-left, top-right, top-left and bottom-right corners, and the clockwise and
// anti-clockwise spirals.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/String.h"
#include "framework/WinTypes.h"

class CDIB;
class ScreenHost;

// Error codes of the tile peel (texts through GetTrans3DFXErrorText).
constexpr int kTrans3DOutOfMemory = 1;
constexpr int kTrans3DNoTileSize = 3;
constexpr int kTrans3DTooManySquares = 12;
constexpr int kTrans3DBitmapMismatch = 13;
constexpr int kTrans3DBadEffect = 14;
constexpr int kTrans3DBadSlider = 15;
constexpr int kTrans3DTooFewSquares = 16;

// Runs the tile peel over *rect (window coordinates) of the host's screen. offScreen 1: the
// picture now on the screen peels off and `bitmap` (what the screen shows afterwards, the host's
// size, 8 bits on the screen's colour table) appears; 0: `bitmap`'s rectangle flies in. speed,
// res (tile size) and peelRate are 1..100 sliders, volume is only range-checked.
// Returns FALSE with an error text for a bad effect, slider or bitmap (nothing touched) and when
// memory runs out. Returns TRUE after a run, *rect then being the area the tiles covered (shrunk
// to whole tiles and centred when the tile size does not divide it); TRUE with *rect emptied and
// an error text when the rectangle cannot be tiled. A stop request ends the run with the bitmap's
// rectangle shown, and TRUE.
BOOL Transition3DFX(int effect, int offScreen, ScreenHost* host, CDIB* bitmap, RECT* rect,
                    BOOL bClockOn, BOOL bSoundOn, int speed, int res, int peelRate, int volume,
                    int trace, CString* errorText);

void GetTrans3DFXErrorText(int code, CString& text);

// The grid of a run and the parts of it the tests look at.
struct TileGrid {
  int size;    // s, pixels
  int across;  // A
  int rows;    // R
  int width;   // W, the screen's
  int height;  // H
  int left;    // the rectangle's left
  int bottom;  // its distance from the bottom of the screen
};

// The tiles in the effect's order, as tile numbers row * A + column (row 0 at the bottom).
std::vector<int> Transition3DOrder(int effect, int across, int rows);
// The spread D of the launches.
double GetTransition3DSpan(int effect, int across, int rows);
// Where a tile leaves toward (or comes from): the corner modes 4..7 aim at the corners (-m, -m),
// (W + m, H + m), (-m, H + m) and (W + m, -m). Coordinates y up from the bottom of the screen.
void GetDiagonalExitPoint(int x, int y, int width, int height, int mode, int m, int& ex, int& ey);
// The point m pixels outside the screen edge where the ray from the screen's centre through
// (cx, cy) leaves.
void GetRadialExitPoint(int cx, int cy, int width, int height, int m, int& ex, int& ey);
// The exit point of the tile whose lower-left corner is (x, y).
void Transition3DExitPoint(int effect, const TileGrid& grid, int x, int y, int& ex, int& ey);

// Seconds the launch of tile i (of n) waits before the next: from P / D for the first, growing
// linearly toward the peel interval P.
double Transition3DLaunchWait(int i, int n, double interval, double span);

// The depth of the scene's reference point as the last run calibrated it (Fixed).
int32_t GetTransition3DReferenceDepth();
// Puts the reference point at another depth for the next run to calibrate from (tests: a depth
// where no square can be measured must not stay).
void SetTransition3DReferenceDepth(int32_t depth);
