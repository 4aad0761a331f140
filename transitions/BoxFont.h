// The caption box's fonts: a font of a character height and a style word, which measures and
// draws text on an 8-bit surface as the platform's text call does.
//
// On Windows it is a GDI font (CreateFontIndirect) used with DrawText on the surface's memory
// device context, the colour given as a palette index (DIBINDEX) so that the text lands on
// exactly that entry of the surface's colour table. Natively there is no GDI: a fixed-metrics
// font stands in (every character half the height wide, rounded up; one line per height;
// characters drawn as solid cells), so that the box's layout and the caption runner run on the
// headless host with the same rules for wrapping, centring and clipping.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

class CDIBSurface;

// Text flags, numbered as DrawText numbers them.
constexpr UINT kBoxTextCentre = 0x1;
constexpr UINT kBoxTextWordBreak = 0x10;
constexpr UINT kBoxTextSingleLine = 0x20;
constexpr UINT kBoxTextCalcRect = 0x400;

// Style word bits of a caption text.
constexpr int kTextStyleBold = 1;
constexpr int kTextStyleItalic = 2;
constexpr int kTextStyleShadowed = 4;
constexpr int kTextStyleUnderlined = 8;

class CBoxFont {
 public:
  CBoxFont() = default;
  ~CBoxFont();
  CBoxFont(const CBoxFont&) = delete;
  CBoxFont& operator=(const CBoxFont&) = delete;

  // Replaces the font held by one of `height` pixels of character height in `style` (a sans-serif
  // face, weight 700 when bold); FALSE, and no font held, when the platform refuses.
  BOOL Create(int height, int style);
  // Frees the font held, if any.
  void Delete();
  BOOL IsCreated() const;

  // As DrawText with DT_CALCRECT: the rectangle text needs, from rect's top-left corner (wrapped
  // to rect's width with kBoxTextWordBreak). FALSE when the surface has no context or no font is
  // held.
  BOOL Measure(CDIBSurface* surface, const CString& text, UINT flags, RECT* rect) const;
  // Draws text into rect (clipped to it) with a transparent background in palette index
  // `colourIndex`. Nothing without a font.
  void Draw(CDIBSurface* surface, const CString& text, UINT flags, const RECT& rect,
            int colourIndex) const;

 private:
#ifdef _WIN32
  HFONT font_ = nullptr;
#else
  int height_ = 0;
  int style_ = 0;
#endif
};
