// The caption text block: up to three texts (header, title, body) in a framed box on an 8-bit
// surface of the caption palette, ready to be shown as a sprite or composed over the screen.
//
// Every pixel outside the box, and every see-through pixel in it, is palette index 6, the
// transparent index of the caption sprites. The font sizes are not the user's: three fixed
// layouts, from large to small, are tried in turn until the texts fit. The box is kept within the
// screen: a body too long for it is cut at a whole line, a title or header too wide is clipped.
//
// Colours are rows of TextFXColorTable. They are drawn as exact indexes of the block's own colour
// table, the nearest colour by the system's one rule (NearestColor.h) among every entry but the
// transparent one; only colour 6 ("Dark Cyan", shown to the user as "Transparent") is index 6.
// The platform's own palette lookup would put the border's grey on index 6 when the grey ramp
// starts at 0, and the border would turn see-through.
#pragma once

#include <cstdint>

#include "framework/Geometry.h"
#include "framework/String.h"
#include "framework/WinTypes.h"
#include "imaging/ColorPalette.h"

class CBoxFont;
class CColorPalette;
class CDIB;
class CDIBSurface;

// A caption colour: the name the settings show and its red, green and blue.
// The caption colours are the 20 static colours of the palette, in their order.
using TextFXColor = CColorPalette::NamedColor;
constexpr int kTextFXColorCount = 20;
extern const TextFXColor (&TextFXColorTable)[kTextFXColorCount];

// The palette index every caption sprite skips.
constexpr int kCaptionTransparentIndex = 6;
// Colour value 6 is drawn as the transparent index itself.
constexpr int kTextFXTransparentColor = 6;

// Texts, their style words, fonts and rectangles are indexed so.
enum BoxText { kBoxHeader = 0, kBoxTitle = 1, kBoxBody = 2, kBoxTextCount = 3 };

// The character heights of (header, title, body) of a layout (0..3) for an attempt (0..2, the
// largest first); 0 means the text is not shown. Anything else gives three zeros.
void GetImageTextHeights(int layout, int attempt, int* header, int* title, int* body);
// The layout for a content style (0..3) and a border style: border style 1 adds the header.
// A content style outside 0..3 is taken as 0.
int ImageTextLayout(int contentStyle, int borderStyle);

// The index of the block's colour table for a caption colour value (0..19; others are black):
// the nearest entry but the transparent one, or the transparent index for colour 6.
int TextFXColorIndex(const CDIB& block, int colour);
// The nearest entry of the block's table to (r, g, b) among every entry but the transparent one.
int BoxColorIndex(const CDIB& block, int red, int green, int blue);

// A font for each text whose height is above 0 (the others' fonts freed); FALSE when one could
// not be made. Each text is tried: a failed font leaves only its own text out.
BOOL CreateImageTextFonts(const int heights[3], const int styles[3], CBoxFont fonts[3]);
BOOL CreateBoxFont(int height, int style, CBoxFont* font);
// Measures the texts on the surface's context; rectangles start at (0, 0). FALSE when a header or
// title is wider than 550 pixels or the body, wrapped at 400 (550 when needed), is taller than 400.
BOOL MeasureImageText(CDIBSurface* surface, CString* const texts[3], const int heights[3],
                      const CBoxFont fonts[3], CRect rects[3]);
// Places the measured rectangles (centred, top to bottom) and gives the box's W and H.
void LayoutImageTextBox(int borderStyle, int layout, CRect rects[3], int* w, int* h);

// The rounded surface size for a box of w x h and the box rectangle in it.
struct BoxGeometry {
  int width = 0;   // W', a multiple of 8, 1 to 8 more than w (plus 6 with the shadow)
  int height = 0;  // H', likewise
  CRect box;       // (0, 0, W', H'), or 6 less each way with the shadow
};
BoxGeometry GetBoxGeometry(int w, int h, BOOL shadow);

// Creates the surface's bitmap for a w x h box and draws the background, the shadow and the
// border. FALSE (a trace line) when the bitmap cannot be made.
BOOL Init3DBoxDIBSurface(CDIBSurface* surface, CColorPalette* palette, int w, int h, BOOL shadow,
                         int shadowIndex, int backgroundStyle, int backgroundColour,
                         int borderStyle);
void Fill3DBoxBackground(CDIBSurface* surface, const CRect& box, int backgroundStyle,
                         int backgroundColour);
// The two 6-pixel checkerboard bands right of and below the box; FALSE when they do not fit.
BOOL Draw3DBoxShadow(CDIBSurface* surface, const CRect& box, int shadowIndex);
void Draw3DBoxBorder(CDIBSurface* surface, const CRect& box, int borderStyle);

// Draws each text in the text colour (an index of the block), with its shadow when its style
// says so.
void DrawImageText3D(CDIBSurface* surface, int textIndex, CString* const texts[3],
                     const int styles[3], const CBoxFont fonts[3], const CRect rects[3]);
void DrawBoxText(CDIBSurface* surface, int textIndex, int shadowIndex, const CString* text,
                 const CBoxFont* font, UINT flags, const CRect* rect, BOOL shadow,
                 CPoint shadowOffset);

// The text block, or null when all three texts are null or the surface cannot be made. The box
// fits a screen of screenWidth x screenHeight wherever the texts allow. The caller deletes it.
CDIBSurface* GetImageTextBox3D(CColorPalette* palette, CString* header, int headerStyle,
                               CString* title, int titleStyle, CString* body, int bodyStyle,
                               int borderStyle, int backgroundStyle, BOOL shadow, int textColour,
                               int backgroundColour, int shadowIndex, int contentStyle,
                               int screenWidth, int screenHeight);
