#include "transitions/TextBox3D.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "imaging/NearestColor.h"
#include "seams/Trace.h"
#include "transitions/BoxFont.h"

const TextFXColor (&TextFXColorTable)[kTextFXColorCount] = CColorPalette::StaticColors;

namespace {

// Character heights of (header, title, body) per layout and attempt, the largest first.
constexpr int kTextHeights[4][3][3] = {
    {{0, 40, 0}, {0, 20, 0}, {0, 13, 0}},
    {{0, 20, 12}, {0, 15, 9}, {0, 13, 7}},
    {{15, 13, 10}, {15, 10, 10}, {15, 10, 7}},
    {{15, 40, 0}, {15, 20, 0}, {15, 13, 0}},
};
constexpr int kLayoutForContent[4][2] = {{0, 3}, {1, 2}, {2, 2}, {3, 3}};  // other, style 1
constexpr int kBorderInset[4] = {6, 4, 16, 6};
constexpr int kAttempts = 3;

constexpr int kWidestLine = 550;  // a header, title or body line
constexpr int kBodyWidth = 400;   // the body's wrapping width, and its tallest height
constexpr int kShadowBand = 6;
constexpr UINT kLineFlags = kBoxTextCentre | kBoxTextSingleLine;
constexpr UINT kBodyFlags = kBoxTextWordBreak;

constexpr BYTE kSeeThrough = kCaptionTransparentIndex;

int BorderInset(int borderStyle) { return kBorderInset[std::clamp(borderStyle, 0, 3)]; }

int SideMargin(int layout) { return layout == 1 || layout == 2 ? 10 : 18; }

// The content width of a layout: what the box is built around.
int ContentWidth(int layout, const CRect rects[3]) {
  switch (layout) {
    case 1:
    case 2: return rects[kBoxBody].Width();
    case 3: return std::max(rects[kBoxHeader].Width(), rects[kBoxTitle].Width());
    default: return rects[kBoxTitle].Width();
  }
}

void Plot(CDIB* dib, int x, int y, int index) {
  if (BYTE* p = dib->GetPixelAddress(x, y)) *p = static_cast<BYTE>(index);
}

void FillBox(CDIB* dib, const CRect& r, int index) {
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) Plot(dib, x, y, index);
  }
}

// GDI's MoveTo/LineTo on a path of horizontal and vertical segments: each segment from its start
// up to, not including, its end point.
void Polyline(CDIB* dib, std::initializer_list<CPoint> points, int index) {
  const CPoint* p = points.begin();
  for (size_t i = 1; i < points.size(); ++i) {
    const CPoint a = p[i - 1], b = p[i];
    const int dx = (b.x > a.x) - (b.x < a.x), dy = (b.y > a.y) - (b.y < a.y);
    for (CPoint q = a; q != b; q.Offset(dx, dy)) Plot(dib, q.x, q.y, index);
  }
}

// The colours of the border's pens and brush, as indexes of the block.
struct BorderColours {
  int white, grey, black, face;
};

BorderColours BorderColoursOf(const CDIB& block) {
  return {BoxColorIndex(block, 255, 255, 255), BoxColorIndex(block, 128, 128, 128),
          BoxColorIndex(block, 0, 0, 0), BoxColorIndex(block, 192, 192, 192)};
}

// Grey down the right and along the bottom, white up the left and along the top, n lines deep;
// the grey lines start `greyDrop` below the top.
void RaisedBevel(CDIB* dib, const CRect& r, int n, int greyDrop, const BorderColours& c) {
  for (int i = 0; i < n; ++i) {
    const CPoint bottomLeft(r.left + i, r.bottom - 1 - i);
    Polyline(
        dib,
        {{r.right - 1 - i, r.top + greyDrop + i}, {r.right - 1 - i, r.bottom - 1 - i}, bottomLeft},
        c.grey);
    Polyline(dib, {bottomLeft, {r.left + i, r.top + i}, {r.right - 1 - i, r.top + i}}, c.white);
  }
}

void Outline(CDIB* dib, const CRect& r, const BorderColours& c) {
  Polyline(
      dib,
      {{r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}},
      c.black);
}

// Light-grey bands `width` deep along the four edges.
void EdgeBands(CDIB* dib, const CRect& r, int width, const BorderColours& c) {
  FillBox(dib, CRect(r.left, r.top, r.right, r.top + width), c.face);
  FillBox(dib, CRect(r.right - width, r.top, r.right, r.bottom), c.face);
  FillBox(dib, CRect(r.left, r.bottom - width, r.right, r.bottom), c.face);
  FillBox(dib, CRect(r.left, r.top, r.left + width, r.bottom), c.face);
}

void Windows95Border(CDIB* dib, const CRect& r, const BorderColours& c) {
  EdgeBands(dib, r, 6, c);
  RaisedBevel(dib, r, 2, 1, c);
  for (int i = 0; i < 2; ++i) {  // the sunken inner edge
    const CPoint bottomLeft(r.left + 6 - i, r.bottom - 5 + i);
    Polyline(dib,
             {{r.right - 5 + i, r.top + 5 - i}, {r.right - 5 + i, r.bottom - 5 + i}, bottomLeft},
             c.white);
    Polyline(dib, {bottomLeft, {r.left + 6 - i, r.top + 6 - i}, {r.right - 5 + i, r.top + 6 - i}},
             c.grey);
  }
}

void Windows31Border(CDIB* dib, const CRect& r, const BorderColours& c) {
  EdgeBands(dib, r, 4, c);
  Outline(dib, r, c);
  FillBox(dib, CRect(r.left + 5, r.top + 5, r.right - 5, r.top + 26), c.face);  // header band
}

// The body's line height in its font.
int BodyLineHeight(CDIBSurface* surface, const CBoxFont& font) {
  CRect line(0, 0, 0, 0);
  if (!font.Measure(surface, "Ag", kLineFlags, &line)) return 1;
  return std::max(1, line.Height());
}

// The largest W or H (before the shadow and rounding) whose rounded surface still fits `screen`
// pixels: W' = W - W mod 8 + 8 <= screen.
int LargestFitting(int screen, BOOL shadow) {
  const int rounded = (std::max(screen, 8) - 8) / 8 * 8 + 7;
  return rounded - (shadow ? kShadowBand : 0);
}

// Keeps the box within the screen: texts wider than the room are clipped to it, and a body
// taller than the room loses whole lines from its end (all of them, when not one fits).
void FitToScreen(CDIBSurface* surface, int borderStyle, int layout, const CBoxFont& bodyFont,
                 BOOL shadow, int screenWidth, int screenHeight, CRect rects[3], int* w, int* h) {
  const int roomW =
      LargestFitting(screenWidth, shadow) - 2 * (BorderInset(borderStyle) + SideMargin(layout));
  bool changed = false;
  for (int i = 0; i < kBoxTextCount; ++i) {
    CRect& r = rects[i];
    if (roomW > 0 && r.Width() > roomW) {
      r.right = r.left + roomW;
      changed = true;
    }
  }
  if (changed) LayoutImageTextBox(borderStyle, layout, rects, w, h);
  const int roomH = LargestFitting(screenHeight, shadow);
  CRect& body = rects[kBoxBody];
  if (*h <= roomH || body.Height() <= 0) return;
  const int line = BodyLineHeight(surface, bodyFont);
  const int excess = *h - roomH;
  const int keep = std::max(0, body.Height() - (excess + line - 1) / line * line);
  body.bottom = body.top + keep;
  if (keep == 0) body.right = body.left;
  LayoutImageTextBox(borderStyle, layout, rects, w, h);
}

}  // namespace

void GetImageTextHeights(int layout, int attempt, int* header, int* title, int* body) {
  const bool known = layout >= 0 && layout < 4 && attempt >= 0 && attempt < kAttempts;
  *header = known ? kTextHeights[layout][attempt][0] : 0;
  *title = known ? kTextHeights[layout][attempt][1] : 0;
  *body = known ? kTextHeights[layout][attempt][2] : 0;
}

int ImageTextLayout(int contentStyle, int borderStyle) {
  const int content = contentStyle >= 0 && contentStyle < 4 ? contentStyle : 0;
  return kLayoutForContent[content][borderStyle == 1 ? 1 : 0];
}

int BoxColorIndex(const CDIB& block, int red, int green, int blue) {
  std::vector<PALETTEENTRY> entries = TableEntries(block, 256);
  if (entries.size() > kSeeThrough) entries.erase(entries.begin() + kSeeThrough);
  const int nearest = ColorMatcher(entries).Nearest(red, green, blue);
  return nearest >= kSeeThrough ? nearest + 1 : nearest;
}

int TextFXColorIndex(const CDIB& block, int colour) {
  if (colour == kTextFXTransparentColor) return kSeeThrough;
  const TextFXColor& c = TextFXColorTable[colour >= 0 && colour < kTextFXColorCount ? colour : 0];
  return BoxColorIndex(block, c.red, c.green, c.blue);
}

BOOL CreateBoxFont(int height, int style, CBoxFont* font) { return font->Create(height, style); }

BOOL CreateImageTextFonts(const int heights[3], const int styles[3], CBoxFont fonts[3]) {
  BOOL all = TRUE;
  for (int i = 0; i < kBoxTextCount; ++i) {
    if (heights[i] > 0) {
      all = CreateBoxFont(heights[i], styles[i], &fonts[i]) && all;
    } else {
      fonts[i].Delete();
    }
  }
  return all;
}

BOOL MeasureImageText(CDIBSurface* surface, CString* const texts[3], const int heights[3],
                      const CBoxFont fonts[3], CRect rects[3]) {
  for (int i = 0; i < kBoxTextCount; ++i) rects[i] = CRect(0, 0, 0, 0);
  auto given = [&](int i) { return heights[i] > 0 && texts[i] && fonts[i].IsCreated(); };
  for (int i : {kBoxHeader, kBoxTitle}) {
    if (given(i)) fonts[i].Measure(surface, *texts[i], kLineFlags, &rects[i]);
  }
  const int widest = std::max(rects[kBoxHeader].Width(), rects[kBoxTitle].Width());
  if (widest > kWidestLine) return FALSE;
  if (given(kBoxBody)) {
    CRect& body = rects[kBoxBody];
    body = CRect(0, 0, widest > kBodyWidth ? kWidestLine : kBodyWidth, 0);
    fonts[kBoxBody].Measure(surface, *texts[kBoxBody], kBodyFlags, &body);
    if (body.Height() > kBodyWidth) {
      body = CRect(0, 0, kWidestLine, 0);
      fonts[kBoxBody].Measure(surface, *texts[kBoxBody], kBodyFlags, &body);
    }
    if (body.Width() < kBodyWidth) body.right = body.left + kBodyWidth;
  }
  return rects[kBoxBody].Height() <= kBodyWidth;
}

void LayoutImageTextBox(int borderStyle, int layout, CRect rects[3], int* w, int* h) {
  const int f = BorderInset(borderStyle);
  *w = ContentWidth(layout, rects) + 2 * (f + SideMargin(layout));
  auto place = [&](CRect& r, int top) {
    const int width = r.Width(), height = r.Height();
    r.left = *w / 2 - width / 2;
    r.right = r.left + width;
    r.top = top;
    r.bottom = top + height;
  };
  int y = f + 1;
  if (rects[kBoxHeader].Height() > 0) {
    place(rects[kBoxHeader], f + 3);
    y += rects[kBoxHeader].Height();
  }
  if (rects[kBoxTitle].Height() > 0) {
    place(rects[kBoxTitle], y + 18);
    y += 18 + rects[kBoxTitle].Height();
  }
  if (rects[kBoxBody].Height() > 0) {
    place(rects[kBoxBody], y + 12);
    y += 12 + rects[kBoxBody].Height() + 12;
  } else {
    y += 18;
  }
  *h = y + f;
}

BoxGeometry GetBoxGeometry(int w, int h, BOOL shadow) {
  const int grow = shadow ? kShadowBand : 0;
  BoxGeometry g;
  g.width = w + grow - (w + grow) % 8 + 8;
  g.height = h + grow - (h + grow) % 8 + 8;
  g.box = CRect(0, 0, g.width - grow, g.height - grow);
  return g;
}

void Fill3DBoxBackground(CDIBSurface* surface, const CRect& box, int backgroundStyle,
                         int backgroundColour) {
  FillBox(surface, CRect(0, 0, surface->GetWidth(), surface->GetHeight()), kSeeThrough);
  if (backgroundStyle != 0 && backgroundStyle != 1) return;
  FillBox(surface, box, TextFXColorIndex(*surface, backgroundColour));
  if (backgroundStyle != 1) return;
  for (int y = box.top; y < box.bottom; ++y) {  // every second pixel see-through
    for (int x = box.left + (y - box.top) % 2; x < box.right; x += 2)
      Plot(surface, x, y, kSeeThrough);
  }
}

BOOL Draw3DBoxShadow(CDIBSurface* surface, const CRect& box, int shadowIndex) {
  if (surface->GetWidth() < box.right + kShadowBand ||
      surface->GetHeight() < box.bottom + kShadowBand) {
    return FALSE;
  }
  // Each band a checkerboard whose first row starts with its second column.
  auto band = [&](const CRect& r) {
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left + 1 - (y - r.top) % 2; x < r.right; x += 2)
        Plot(surface, x, y, shadowIndex);
    }
  };
  band(CRect(box.right, box.top + 8, box.right + kShadowBand, box.bottom));
  band(CRect(8, box.bottom, box.right + kShadowBand, box.bottom + kShadowBand));
  return TRUE;
}

void Draw3DBoxBorder(CDIBSurface* surface, const CRect& box, int borderStyle) {
  const BorderColours colours = BorderColoursOf(*surface);
  switch (borderStyle) {
    case 0: Windows95Border(surface, box, colours); break;
    case 1: Windows31Border(surface, box, colours); break;
    case 3:
      RaisedBevel(surface, box, 6, 0, colours);
      Outline(surface, box, colours);
      break;
    default:  // 2, flat: no border
      break;
  }
}

BOOL Init3DBoxDIBSurface(CDIBSurface* surface, CColorPalette* palette, int w, int h, BOOL shadow,
                         int shadowIndex, int backgroundStyle, int backgroundColour,
                         int borderStyle) {
  const BoxGeometry g = GetBoxGeometry(w, h, shadow);
  if (!surface->Create(g.width, g.height, palette)) {
    seams::Trace::Printf("\tUnable to create\n");
    return FALSE;
  }
  Fill3DBoxBackground(surface, g.box, backgroundStyle, backgroundColour);
  if (shadow && !Draw3DBoxShadow(surface, g.box, shadowIndex)) return FALSE;
  Draw3DBoxBorder(surface, g.box, borderStyle);
  return TRUE;
}

void DrawBoxText(CDIBSurface* surface, int textIndex, int shadowIndex, const CString* text,
                 const CBoxFont* font, UINT flags, const CRect* rect, BOOL shadow,
                 CPoint shadowOffset) {
  if (!rect || !text || !font || !font->IsCreated() || rect->Height() <= 0) return;
  if (shadow) {
    CRect shifted = *rect;
    shifted.OffsetRect(shadowOffset.x, shadowOffset.y);
    font->Draw(surface, *text, flags, shifted, shadowIndex);
  }
  font->Draw(surface, *text, flags, *rect, textIndex);
}

void DrawImageText3D(CDIBSurface* surface, int textIndex, CString* const texts[3],
                     const int styles[3], const CBoxFont fonts[3], const CRect rects[3]) {
  const int shadowIndex = TextFXColorIndex(*surface, 0);
  for (int i = 0; i < kBoxTextCount; ++i) {
    const bool body = i == kBoxBody;
    DrawBoxText(surface, textIndex, shadowIndex, texts[i], &fonts[i],
                body ? kBodyFlags : kLineFlags, &rects[i], (styles[i] & kTextStyleShadowed) != 0,
                body ? CPoint(1, 1) : CPoint(2, 2));
  }
}

CDIBSurface* GetImageTextBox3D(CColorPalette* palette, CString* header, int headerStyle,
                               CString* title, int titleStyle, CString* body, int bodyStyle,
                               int borderStyle, int backgroundStyle, BOOL shadow, int textColour,
                               int backgroundColour, int shadowIndex, int contentStyle,
                               int screenWidth, int screenHeight) {
  if (!header && !title && !body) return nullptr;
  std::unique_ptr<CDIBSurface> surface(new (std::nothrow) CDIBSurface);
  if (!surface) return nullptr;
  if (backgroundStyle == 1 || backgroundStyle == 2)
    bodyStyle |= kTextStyleBold | kTextStyleShadowed;

  CString* const texts[3] = {header, title, body};
  const int styles[3] = {headerStyle, titleStyle, bodyStyle};
  const int layout = ImageTextLayout(contentStyle, borderStyle);
  CBoxFont fonts[3];
  CRect rects[3];
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    int heights[3];
    GetImageTextHeights(layout, attempt, &heights[0], &heights[1], &heights[2]);
    CreateImageTextFonts(heights, styles, fonts);  // a font not made leaves its text out
    if (MeasureImageText(surface.get(), texts, heights, fonts, rects)) break;
  }
  int w = 0, h = 0;
  LayoutImageTextBox(borderStyle, layout, rects, &w, &h);
  FitToScreen(surface.get(), borderStyle, layout, fonts[kBoxBody], shadow, screenWidth,
              screenHeight, rects, &w, &h);
  if (!Init3DBoxDIBSurface(surface.get(), palette, w, h, shadow, shadowIndex, backgroundStyle,
                           backgroundColour, borderStyle)) {
    return nullptr;
  }
  // The rounding slack lies left of the texts.
  const int slack = GetBoxGeometry(w, h, shadow).box.Width() - w;
  for (CRect& r : rects) r.OffsetRect(slack, 0);
  DrawImageText3D(surface.get(), TextFXColorIndex(*surface, textColour), texts, styles, fonts,
                  rects);
  return surface.release();
}
