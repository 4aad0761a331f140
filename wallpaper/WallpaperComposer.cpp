#include "wallpaper/WallpaperComposer.h"

#include <memory>
#include <new>

#include "framework/Exceptions.h"
#include "framework/File.h"
#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/CopyClip.h"
#include "imaging/DIB.h"
#include "imaging/QuarterCache.h"
#include "imaging/Resample.h"
#include "seams/Alerts.h"
#include "seams/ScreenSize.h"
#include "seams/Trace.h"
#include "settings/DecimalText.h"
#include "settings/IniSettings.h"
#include "transitions/Background.h"
#include "transitions/Frames.h"
#include "transitions/LayoutRects.h"

WallpaperSettingsValues WallpaperSettings;
CDIB* WallpaperBackgroundDIB = nullptr;
CDIB* WallpaperImageDIB = nullptr;
CDIB* Wallpaper24DIB = nullptr;
CPtrList WallpaperLayoutRects;

namespace {

using DIBPtr = std::unique_ptr<CDIB>;

constexpr int kFrameMargin = 30;        // room for the frame round a full-scale own image
constexpr int kFullScaleColours = 204;  // what an 8-bit display leaves a picture
constexpr char kStopCaption[] = "Alert";

// True when Wallpaper24DIB holds what the last builder finished; a builder that stops half way
// leaves a bitmap that must not be shown or installed.
bool composedComplete = false;

int BitCount(const CDIB& dib) { return dib.header ? dib.header->bmiHeader.biBitCount : 0; }

BOOL InstallThroughSettings(const char* path, CString* errorText) {
  return SetWallpaperIniSetting(path, errorText);
}

WallpaperInstaller installer = InstallThroughSettings;

// Copies the block of source at (x, y) of `from` to (x, y) of `to`, cut to both bitmaps.
void CopyClipped(CDIB* from, CDIB* to, int dx, int dy, int w, int h, int sx, int sy) {
  CopyBlock block{dx, dy, w, h, sx, sy};
  if (ClipCopyBlock(&block, from->GetWidth(), from->GetHeight(), to->GetWidth(), to->GetHeight()))
    from->CopyBits(to, block.dx, block.dy, block.w, block.h, block.sx, block.sy, -1);
}

void CopyWholeBackground(CDIB* background, CDIB* to) {
  CopyClipped(background, to, 0, 0, background->GetWidth(), background->GetHeight(), 0, 0);
}

// Wallpaper24DIB at the screen's size with the background in it; false when either is missing.
bool StartComposite() {
  composedComplete = false;
  if (!WallpaperBackgroundDIB || !WallpaperBackgroundDIB->header) return false;
  if (!EnsureScreenSizedDIB(&Wallpaper24DIB, 24)) return false;
  CopyWholeBackground(WallpaperBackgroundDIB, Wallpaper24DIB);
  return true;
}

BOOL ComposeBackground(CPtrList* rects, int borderStyle, int shadowOn) {
  CString error;
  const BOOL done = SetSSBackground(WallpaperBackgroundDIB, rects, ImageSetLogoDIB, kBackStyleKeep,
                                    WallpaperSettings.WALLPAPER_SCREENSTYLE, borderStyle,
                                    WallpaperSettings.WALLPAPER_BORDERTHICKNESS, shadowOn,
                                    seams::Trace::IsOn(), &error);
  if (!done) seams::Trace::Printf("%s\n", static_cast<const char*>(error));
  return done;
}

bool IsCachedImage(int n) { return n >= 0 && n < QuarterImageCount; }

// Reads cached picture n, lightened by the tone; null when it cannot be read.
DIBPtr ReadCachedImage(CFile* cache, int n) {
  DIBPtr image(ReadQuarterImage(cache, n));
  if (image) image->Lighten(WallpaperSettings.WALLPAPER_IMAGETONE);
  return image;
}

// Puts a cached picture into its cell: shrunk to the cell's width with its proportions (4:3 for
// the usual 160 x 120 picture) when the cell is narrower, otherwise unscaled; either way cut to
// the cell (the cut last row of the tile layout shows the picture's upper part). False when the
// shrink fails.
bool PlaceCachedImage(DIBPtr image, const RECT& cell) {
  const int w = cell.right - cell.left, h = cell.bottom - cell.top;
  if (w < image->GetWidth()) {
    const int64_t shrunkHeight = static_cast<int64_t>(image->GetHeight()) * w / image->GetWidth();
    image.reset(ShrinkDIB8(image.get(), w, shrunkHeight > 0 ? static_cast<int>(shrunkHeight) : 1));
    if (!image) return false;
  }
  const int cw = w < image->GetWidth() ? w : image->GetWidth();
  const int ch = h < image->GetHeight() ? h : image->GetHeight();
  CopyClipped(image.get(), Wallpaper24DIB, cell.left, cell.top, cw, ch, 0, 0);
  return true;
}

BOOL FillCellsFromCache(CPtrList* rects, int n, const std::function<int(int)>& next) {
  CFile cache;
  if (!cache.Open(ImageSetFilePath(kQuarterCacheFileName),
                  CFile::modeRead | CFile::shareDenyWrite)) {
    seams::Alert("Unable to open date image file", kStopCaption);
    return 0;
  }
  for (POSITION pos = rects->GetHeadPosition(); pos;) {
    const RECT* cell = static_cast<const RECT*>(rects->GetNext(pos));
    if (!IsCachedImage(n)) return 0;  // an order list without the picture, a bad descriptor
    DIBPtr image = ReadCachedImage(&cache, n);
    if (!image || !PlaceCachedImage(std::move(image), *cell)) return 0;
    n = next(n);
  }
  return 1;  // the file closes with `cache` on every path
}

// The cells of the own-images layout: the full-scale cell is kept clear of a frame or shadow.
bool LayOutOwnImageCells(CPtrList* rects) {
  const int layout = NormaliseWallpaperLayout(WallpaperSettings.WALLPAPER_IMAGEFX, TRUE);
  if (!GetImageLayoutRects(rects, layout, 0)) return false;
  if (layout == kWallpaperFullScale && !rects->IsEmpty() &&
      (WallpaperSettings.WALLPAPER_BORDERSTYLE != kBorderNone ||
       WallpaperSettings.WALLPAPER_BORDERSHADOWON != 0)) {
    RECT* cell = static_cast<RECT*>(rects->GetHead());
    cell->left += kFrameMargin;
    cell->top += kFrameMargin;
    cell->right -= kFrameMargin;
    cell->bottom -= kFrameMargin;
  }
  return true;
}

struct PlacedImage {
  DIBPtr image;
  RECT at;
};

}  // namespace

// A stored number out of its range reads as the nearest valid one (the picture number is
// checked against the list where the list is filled).
void InitWallpaperSettings() {
  using saver::DecimalTextInRange;
  const IniSettingsBuffers& text = IniSettings;
  WallpaperSettingsValues& values = WallpaperSettings;
  values.WALLPAPER_INTERPON = DecimalTextInRange(text.WALLPAPER_INTERPON, 0, 1);
  // A size code the program does not know falls back to the first size, which every screen has
  // (the wallpaper program relies on it as much as the dialog).
  values.WALLPAPER_IMAGESIZE = saver::DecimalTextToInt(text.WALLPAPER_IMAGESIZE);
  if (values.WALLPAPER_IMAGESIZE < 0 || values.WALLPAPER_IMAGESIZE > kMaxSizeCode)
    values.WALLPAPER_IMAGESIZE = 0;
  values.WALLPAPER_SCREENSTYLE = DecimalTextInRange(text.WALLPAPER_SCREENSTYLE, 0, 3);
  values.WALLPAPER_BORDERSTYLE = DecimalTextInRange(text.WALLPAPER_BORDERSTYLE, 0, kBorderNone);
  values.WALLPAPER_BORDERTHICKNESS = DecimalTextInRange(text.WALLPAPER_BORDERTHICKNESS, 0, 1);
  values.WALLPAPER_BORDERSHADOWON = DecimalTextInRange(text.WALLPAPER_BORDERSHADOWON, 0, 1);
  values.WALLPAPER_IMAGENO = saver::DecimalTextToInt(text.WALLPAPER_IMAGENO);
  values.WALLPAPER_IMAGEFX =
      DecimalTextInRange(text.WALLPAPER_IMAGEFX, kWallpaperFullScale, kWallpaperOwnUniform);
  values.WALLPAPER_IMAGETONE = DecimalTextInRange(text.WALLPAPER_IMAGETONE, 0, 255);
  values.WALLPAPER_AUTOROTATEON = DecimalTextInRange(text.WALLPAPER_AUTOROTATEON, 0, 1);
  if (GetScreenBitsPerPixel() == 8) values.WALLPAPER_IMAGEFX = kWallpaperFullScale;
}

int NormaliseWallpaperLayout(int layout, BOOL ownImages) {
  if (layout == kWallpaperFullScale) return layout;
  if (ownImages) return kWallpaperOwnUniform;
  return layout == kWallpaperOwnUniform ? kWallpaperTile : layout;
}

BOOL BuildWallpaperBackground() {
  if (!EnsureScreenSizedDIB(&WallpaperBackgroundDIB, 8)) return 0;
  const int layout = WallpaperSettings.WALLPAPER_IMAGEFX;
  if (!GetImageLayoutRects(&WallpaperLayoutRects, layout, WallpaperSettings.WALLPAPER_IMAGESIZE))
    return 0;
  const bool tile = layout == kWallpaperTile;
  return ComposeBackground(&WallpaperLayoutRects,
                           tile ? kBorderNone : WallpaperSettings.WALLPAPER_BORDERSTYLE,
                           tile ? 0 : WallpaperSettings.WALLPAPER_BORDERSHADOWON);
}

BOOL BuildImageSetWallpaperFrom(CPtrList* rects, int n, const std::function<int(int)>& next) {
  if (!StartComposite()) return 0;
  if (QuarterImageCount == 0) LoadQuarterImageIndex();
  if (!IsCachedImage(n)) return 0;
  if (!FillCellsFromCache(rects, n, next)) return 0;
  composedComplete = true;
  return 1;
}

BOOL BuildOwnImagesWallpaperFrom(CPtrList* rects, int p, const std::vector<CString>& names) {
  const int count = static_cast<int>(names.size());
  if (count == 0 || !StartComposite() || !LayOutOwnImageCells(rects)) return 0;
  if (p < 0 || p >= count) p = 0;
  std::vector<PlacedImage> placed;
  try {
    for (POSITION pos = rects->GetHeadPosition(); pos; p = (p + 1) % count) {
      RECT* cell = static_cast<RECT*>(rects->GetNext(pos));
      if (!IsOwnImageName(names[p])) continue;  // the cell stays empty, framed at its size
      DIBPtr image(FitOwnImageInto(IniSettings.OWNIMAGES_DIR, names[p], cell));
      if (!image) return 0;
      image->Lighten24(WallpaperSettings.WALLPAPER_IMAGETONE);
      placed.push_back(PlacedImage{std::move(image), *cell});
    }
  } catch (const std::bad_alloc&) {
    return 0;
  }
  // The frames hug the fitted cells, so the background is composed after the fitting.
  if (!ComposeBackground(rects, WallpaperSettings.WALLPAPER_BORDERSTYLE,
                         WallpaperSettings.WALLPAPER_BORDERSHADOWON))
    return 0;
  CopyWholeBackground(WallpaperBackgroundDIB, Wallpaper24DIB);
  for (PlacedImage& each : placed)
    CopyClipped(each.image.get(), Wallpaper24DIB, each.at.left, each.at.top, each.image->GetWidth(),
                each.image->GetHeight(), 0, 0);
  composedComplete = true;
  return 1;
}

CDIB* ComposedWallpaperDIB() { return composedComplete ? Wallpaper24DIB : nullptr; }

CDIB* ComposeFullScaleWallpaper(CDIB** image, CDIB* background) {
  if (!image || !*image || !(*image)->header || !background || !background->header) return nullptr;
  if (GetScreenBitsPerPixel() == 8) {
    if (BitCount(**image) != 8) {
      DIBPtr reduced(new (std::nothrow) CDIB);
      if (!reduced || !(*image)->Quantize(reduced.get(), kFullScaleColours, 1)) return nullptr;
      delete *image;
      *image = reduced.release();
    }
    return ComposeWallpaperDIB(*image, background);
  }
  const int w = background->GetWidth(), h = background->GetHeight();
  if ((*image)->GetWidth() == w && (*image)->GetHeight() == h) return *image;
  DIBPtr composite(new (std::nothrow) CDIB);
  if (!composite || !composite->Create24(w, h)) return nullptr;
  CopyWholeBackground(background, composite.get());
  const Span x = CentredSpan(w, (*image)->GetWidth());
  const Span y = CentredSpan(h, (*image)->GetHeight());
  CopyClipped(*image, composite.get(), x.to, y.to, x.length, y.length, x.from, y.from);
  return composite.release();
}

CString WallpaperFilePath() { return ImageSetFilePath("WALLPAPER.BMP"); }

BOOL SaveAndInstallWallpaper(CDIB* composed, const char* caption) {
  if (!composed || !composed->header) {
    seams::Alert("Unable to create 8bpp wallpaper image", caption, seams::kAlertIconHand);
    return FALSE;
  }
  const CString path = WallpaperFilePath();
  if (!composed->Save(path)) {
    seams::Alert("Unable to save current wallpaper image to file", caption, seams::kAlertIconHand);
    return FALSE;
  }
  CString error;
  if (!installer(path, &error)) {
    seams::Alert(error, caption, seams::kAlertIconHand);
    return FALSE;
  }
  return TRUE;
}

WallpaperInstaller InstallWallpaperInstaller(WallpaperInstaller replacement) {
  const WallpaperInstaller previous = installer;
  installer = replacement ? replacement : InstallThroughSettings;
  return previous;
}

void FreeWallpaperBackground() {
  delete WallpaperBackgroundDIB;
  WallpaperBackgroundDIB = nullptr;
  DeleteAllPtrListElements(&WallpaperLayoutRects);
}

void FreeWallpaperBitmaps() {
  delete WallpaperImageDIB;
  WallpaperImageDIB = nullptr;
  delete Wallpaper24DIB;
  Wallpaper24DIB = nullptr;
  composedComplete = false;
}
