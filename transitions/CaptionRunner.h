// The caption runner: shows one caption on the saver screen and takes it away again.
//
// RunImageTextFXRoutine builds the text block (TextBox3D.h) for the texts of a caption order and
// brings it on in one of two modes:
//  - mode 0 slides the block in from the top-left corner as a sprite (bouncing it between the
//    screen edges first when the order says so), parks it in the centre for the text duration,
//    then splits it into four quarters that fly out diagonally. The screen's background is never
//    changed; the caption exists only as sprites.
//  - mode 1 draws the block into the centre with a 2D transition effect, optionally lifts it off
//    as a sprite to bounce and brings it back, and at the end replaces it by the background with
//    the same effect.
// Every wait and move runs on the clock seam: it keeps the clock overlay ticking, idles on every
// turn and ends early on a stop request. Elapsed seconds are whole seconds of the tick counter.
//
// Drawing thread only. Caption sprites have depth 50 and skip palette index 6.
#pragma once

#include "framework/Geometry.h"
#include "framework/String.h"
#include "framework/WinTypes.h"

class CAnimDoc;
class CColorPalette;
class CDIB;
class CDIBSurface;
class CSprite;
class ScreenHost;
class TransitionScreen;

// One caption order, as the drawing thread and the error splash give it.
struct ImageTextFXRequest {
  int clockOn = 0;    // show the clock overlay while the caption runs
  int reserved1 = 0;  // not used
  int reserved2 = 0;  // not used
  int mode = 0;       // 0 sliding sprite, 1 transition effect
  CString* header = nullptr;
  int headerStyle = 1;  // style words: TextBox3D.h / BoxFont.h
  CString* title = nullptr;
  int titleStyle = 1;
  CString* body = nullptr;
  int bodyStyle = 1;
  int textDuration = 10;  // seconds the caption stays in the centre
  int textColour = 0;     // rows of TextFXColorTable
  int backgroundColour = 0;
  int shadow = 0;           // drop shadow right of and below the box
  int borderStyle = 0;      // 0..3
  int backgroundStyle = 0;  // 0 solid, 1 half see-through, 2 see-through
  int contentStyle = 0;     // 0..3
  int effect = 0;           // mode 1: the transition effect and its parameters
  int par0 = 0;
  int par1 = 0;
  int par2 = 0;
  int transSpeed = 50;  // 1..100
  int bounceOn = 0;
  int bounceDuration = 0;  // seconds
  int bounceSpeed = 50;    // 1..100
};

// Pixels per second for a speed setting of 1..100 (a larger setting moves more slowly: 595 for
// 1, 15 for 100); -1 for any other value.
int TextFXSpeedToRate(int speed);

// Shows the caption: the mode's result; FALSE when the screen has no background, the block
// cannot be made, or the mode is neither 0 nor 1. Whatever happens, no caption sprite is left and
// a clock the caption made is taken down again.
BOOL RunImageTextFXRoutine(TransitionScreen& screen, const ImageTextFXRequest& request);
#ifdef _WIN32
// The saver's form: on the screen document and its first view.
BOOL RunImageTextFXRoutine(CAnimDoc* doc, const ImageTextFXRequest& request);
#endif

// Mode 0. FALSE when the speed in use is outside 1..100 or a sprite or the clock cannot be made.
BOOL ImageText2DSpriteSlideFX(ScreenHost* host, const ImageTextFXRequest& request,
                              CDIBSurface* block, CColorPalette* palette);
// Mode 1. FALSE, nothing drawn, when the block's sides are not multiples of 8 or a speed in use
// is outside 1..100; FALSE when a sprite, the clock or a surface cannot be made (the screen is
// restored when the block was drawn), else the restoring effect's result.
BOOL ImageText2DTransitionFX(TransitionScreen& screen, const ImageTextFXRequest& request,
                             CDIBSurface* block, CColorPalette* palette);

// The block laid over the background at (x, y): where the block is see-through, the background's
// pixel (only from inside the background). Null when the surface cannot be made.
CDIBSurface* CreateFakeTransDIBSurface(CColorPalette* palette, CDIB* block, CDIB* background, int x,
                                       int y);
// A sprite of the block's source rectangle at `position`, inserted into the screen's sprites and
// drawn; with `transparent`, index 6 is see-through (the block's top-left pixel becomes 6).
// Null when it cannot be made.
CSprite* CreateBoxSprite(ScreenHost* host, CDIB* block, const CRect& source, CColorPalette* palette,
                         int z, BOOL transparent, CPoint position, BOOL redraw);
// Four sprites tiling `rect` of the block at `position`: top left, top right, bottom right,
// bottom left. FALSE when one cannot be made (those made stay in the sprite list).
BOOL CreateQuarterSprites(ScreenHost* host, CDIB* block, const CRect& rect, CColorPalette* palette,
                          int z, BOOL transparent, CPoint position, BOOL redraw, CSprite* out[4]);
// Slides the sprite in straight legs between the screen's edges, each leg the mirror of the last
// in the edge reached, until `seconds` have passed (tested before each leg, so the last leg ends
// on an edge) or a stop is requested. Walls: 0 top, 1 right, 2 bottom, 3 left.
void BounceSpriteFX(ScreenHost* host, CSprite* sprite, const CRect& inner, int rate, int seconds,
                    CPoint previous, int previousWall, CPoint target, int wall);
// Moves the four quarters diagonally outward at `rate` until each has moved half the screen's
// larger side in both directions (or a stop is requested).
void FlyApartSpritesFX(ScreenHost* host, CSprite* quarters[4], int rate);
