#include "transitions/Background.h"

#include <algorithm>
#include <cstdint>

#include "framework/Geometry.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "imaging/Resample.h"
#include "imaging/ReservedPalette.h"
#include "imaging/TileSize.h"
#include "seams/Trace.h"
#include "transitions/Frames.h"

namespace {

constexpr int kMinWidth = 640;
constexpr int kMinHeight = 480;

// Error codes of the composer.
constexpr int kErrorMemory = 1;
constexpr int kErrorNoTileSize = 3;
constexpr int kErrorWrongTileSize = 4;
constexpr int kErrorNoLogo = 6;
constexpr int kErrorLogoPalette = 7;
constexpr int kErrorLogoImage = 8;
constexpr int kErrorLogoResize = 9;
constexpr int kErrorLogoMap = 11;
constexpr int kErrorNoRects = 15;

const char* const kErrorSuffixes[] = {
    nullptr,
    "System has run out of memory",
    "Unable to run as screen width and height not divisible by 8",
    "Unable to generate suitable size for 3D tiles",
    "Unable to select correct size for 3D tiles",
    "Too many moves - will run out of space",
    "Unable to select logo",
    "Unable to generate logo palette",
    "Unable to generate logo image",
    "Unable to resize logo to fit tile",
    "Unable to generate logo background palette",
    "Unable to map logo to background palette",
    "Too many tiles have been generated",
    "DIB is not background size",
    "Background DIB is not big enough",
    "Image size is not recognised",
};
constexpr int kLastBackgroundCode = 15;
constexpr int kLastLogoCode = 12;

void ErrorText(const char* prefix, int code, int lastCode, CString* text) {
  const char* suffix = code >= 1 && code <= lastCode ? kErrorSuffixes[code] : "Unrecognized error";
  *text = prefix;
  *text += suffix;
}

BOOL Fail(int code, CString* error) {
  GetLogoBackgroundErrorText(code, error);
  return 0;
}

void TracePrintf(BOOL trace, const char* text) {
  if (trace) seams::Trace::Printf("%s", text);
}

// The solid colour of a screen or back style that is not tiled.
int SolidIndex(int style, int reserved) {
  if (style == kStyleBlack) return reserved;
  if (style == kStyleLightGrey) return reserved + 31;
  return 0;
}

bool IsTiled(int style) { return style == kStyleLogosLarge || style == kStyleLogosSmall; }

// Where and how a style is painted.
struct Area {
  int x, y, w, h;
};

// Tiles the area with square logo tiles, the tile size picked by `percent`; `traceName` names the
// size in the trace.
BOOL TileLogos(CDIB* work, Area area, CDIB* logo, int percent, const char* traceName, BOOL trace,
               CString* error) {
  int tileW = 0, tileH = 0;
  if (!ChooseTileSize(area.w, area.h, percent, &tileW, &tileH))
    return Fail(kErrorNoTileSize, error);
  if (trace)
    seams::Trace::Printf("%sSquareWidth=%d,%sSquareHeight=%d\n", traceName, tileW, traceName,
                         tileH);
  if (tileW != tileH) return Fail(kErrorWrongTileSize, error);
  if (!logo) return Fail(kErrorNoLogo, error);
  CDIB tile;
  if (!GetIndexedLogo(logo, tileW, tileH, &tile, trace, error)) return 0;
  if (tile.GetWidth() != tileW || tile.GetHeight() != tileH)
    return Fail(kErrorWrongTileSize, error);
  for (int row = 0; row < area.h / tileH; ++row) {
    for (int column = 0; column < area.w / tileW; ++column) {
      tile.CopyBits(work, area.x + tileW * column, area.y + tileH * row, tileW, tileH, 0, 0, -1);
    }
  }
  return 1;
}

// The area's pixels within the bitmap get the index.
void FillArea(CDIB* work, Area area, int index) {
  const int left = std::max(area.x, 0);
  const int right = std::min(area.x + area.w, work->GetWidth());
  for (int y = std::max(area.y, 0); y < std::min(area.y + area.h, work->GetHeight()); ++y) {
    BYTE* row = work->GetPixelAddress(left, y);
    if (row && right > left) std::fill(row, row + (right - left), static_cast<BYTE>(index));
  }
}

// The screen style on the whole work surface.
BOOL PaintScreen(CDIB* work, CDIB* logo, int style, int reserved, BOOL trace, CString* error) {
  const Area all = {0, 0, work->GetWidth(), work->GetHeight()};
  if (IsTiled(style)) {
    return TileLogos(work, all, logo, style == kStyleLogosLarge ? 1 : 60, "Screen", trace, error);
  }
  FillArea(work, all, SolidIndex(style, reserved));
  return 1;
}

// The back style on the picture area; other styles leave it alone.
BOOL PaintPictureArea(CDIB* work, Area area, CDIB* logo, int style, int reserved, BOOL trace,
                      CString* error) {
  if (IsTiled(style)) {
    return TileLogos(work, area, logo, style == kStyleLogosLarge ? 1 : 40, "Image", trace, error);
  }
  if (style == kStyleBlack || style == kStyleLightGrey)
    FillArea(work, area, SolidIndex(style, reserved));
  return 1;
}

BOOL FrameEveryPicture(CDIB* work, CPtrList* rects, int borderStyle, int t, int wholeShadow,
                       int shadow, int reserved, CString* error) {
  for (POSITION pos = rects->GetHeadPosition(); pos != nullptr;) {
    const RECT* r = static_cast<const RECT*>(rects->GetNext(pos));
    if (!DrawPictureFrame(work, r, borderStyle, t, wholeShadow, shadow,
                          static_cast<BYTE>(reserved))) {
      return Fail(kErrorMemory, error);
    }
  }
  return 1;
}

}  // namespace

int PictureFrameWidth(int borderStyle, int borderThickness, bool largeArea) {
  int t = 4;
  if (borderThickness) {
    t = largeArea ? 10 : 18;
  } else if (borderStyle == kBorderRaised) {
    t += 3;
  } else if (borderStyle == kBorderRaisedSunk) {
    t += 5;
  } else if (borderStyle == kBorderTorn || borderStyle == kBorderScalloped) {
    t += 10;
  }
  const int most = largeArea ? 30 : 18;
  return t < 4 ? 4 : (t > most ? most : t);
}

BOOL SetSSBackground(CDIB* target, CPtrList* rects, CDIB* logo, int backStyle, int screenStyle,
                     int borderStyle, int borderThickness, int shadowOn, BOOL trace,
                     CString* error) {
  TracePrintf(trace, "SetSSBackground - start - \n");
  if (trace) {
    seams::Trace::Printf("pLogoIn=%x,nBackStyle=%d,nBorderStyle=%d,nBorderThickness=%d\n",
                         static_cast<unsigned>(reinterpret_cast<uintptr_t>(logo)), backStyle,
                         borderStyle, borderThickness);
  }
  const int w = target ? target->GetWidth() : 0;
  const int h = target ? target->GetHeight() : 0;
  if (w < kMinWidth || h < kMinHeight) return Fail(kErrorNoTileSize, error);
  if (!rects || rects->IsEmpty()) return Fail(kErrorNoRects, error);

  // The picture area: the first rectangle's size, centred wherever the rectangle lies.
  CRect first(*static_cast<const RECT*>(rects->GetHead()));
  int iw = first.Width();
  int ih = first.Height();
  if (iw > w || ih > h) {
    iw = kMinWidth;
    ih = kMinHeight;
  }
  const Area area = {(w - iw) / 2, (h - ih) / 2, iw, ih};
  const bool large = iw >= kMinWidth;

  const int reserved = GetReservedPaletteEntries();
  CColorPalette palette;
  CDIB work;
  if (!palette.CreateGreyRamp(reserved) || !work.Create(w, h, &palette))
    return Fail(kErrorMemory, error);
  if (!PaintScreen(&work, logo, screenStyle, reserved, trace, error)) return 0;
  if (iw != w || ih != h) {
    const int t = PictureFrameWidth(borderStyle, borderThickness, large);
    const int wholeShadow = shadowOn && !large ? 1 : 0;
    if (!FrameEveryPicture(&work, rects, borderStyle, t, wholeShadow, shadowOn, reserved, error))
      return 0;
  }
  if (!PaintPictureArea(&work, area, logo, backStyle, reserved, trace, error)) return 0;
  work.CopyBits(target, 0, 0, w, h, 0, 0, -1);
  TracePrintf(trace, "SetSSBackground - end - \n\n");
  return 1;
}

BOOL GetIndexedLogo(CDIB* logo, int width, int height, CDIB* out, BOOL trace, CString* error) {
  TracePrintf(trace, "GetIndexedLogo - start - \n");
  if (trace) seams::Trace::Printf("LogoWidth=%d,LogoHeight=%d\n", width, height);
  auto fail = [error](int code) {
    GetIndexedLogoErrorText(code, error);
    return 0;
  };
  if (!logo) return fail(kErrorNoLogo);
  CColorPalette logoPalette;  // a logo without colours of its own has none to resize
  if (!logoPalette.CreateFromDIB(logo)) return fail(kErrorLogoPalette);
  CColorPalette ramp;
  if (!ramp.CreateGreyRamp(GetReservedPaletteEntries())) return fail(kErrorLogoMap);
  if (width < 1 || height < 1 || !out->Create(width, height, &ramp)) return fail(kErrorLogoImage);
  // Resized in the logo's colours, then each pixel the ramp's nearest grey: a blend of the pixel
  // values of a table that is no ramp picked unrelated entries (speckled tiles).
  if (!StretchDIB8InColour(logo, out)) return fail(kErrorLogoResize);
  TracePrintf(trace, "GetIndexedLogo - end - \n\n");
  return 1;
}

void GetLogoBackgroundErrorText(int code, CString* text) {
  ErrorText("Set Logo Background Error Message: ", code, kLastBackgroundCode, text);
}

void GetIndexedLogoErrorText(int code, CString* text) {
  ErrorText("Get Indexed Logo Error Message: ", code, kLastLogoCode, text);
}
