#include "transitions/FrontEnds.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>

#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/ScreenCompose.h"
#include "imaging/ScreenHost.h"
#include "seams/Clock.h"
#include "seams/Trace.h"
#include "transitions/TilePeel.h"
#include "transitions/TransParams.h"

namespace {

constexpr char kOnOutOfMemory[] = "ManageOnScreenTransition - Run out of memory";
constexpr char kOffOutOfMemory[] = "ManageScreenTransition - Run out of memory";
constexpr char kNoNewImageDIB[] = "ManageOnScreenTransition - Unable to create New Image DIB";
constexpr char kNoBackSurface[] = "ManageScreenTransition - Unable to create Back DIBSurface";
constexpr char kBackgroundRefused[] = "ManageScreenTransition - Unable to set background image";
constexpr char kNoNewScreen2D[] =
    "ManageScreenTransition - Unable to create New Image DIBSurface (1)";
constexpr char kNoNewScreen3D[] =
    "ManageScreenTransition - Unable to create New Image DIBSurface (2)";
constexpr char kEffectFailed[] =
    "ManageScreenTransition - Unable to run 2D image transition effects";

constexpr int kSweepClass = 20;
constexpr int kSweepDiagonalTopLeft = 118;
constexpr int kSweepLeftToRight = 110;
constexpr int kSweepTopToBottom = 112;
constexpr int kSmallestSide = 20;
constexpr int kSmallestSide3D = 100;

// The sweep that stands in for an order on a rectangle too small for it: diagonal when the
// rectangle is roughly square, else along its longer side.
TransOrder SweepOrder(int w, int h) {
  TransOrder sweep;
  sweep.transClass = kSweepClass;
  const double ratio = static_cast<double>(w) / h;
  if (ratio > 0.5 && ratio < 2.0) {
    sweep.effect = kSweepDiagonalTopLeft;
  } else {
    sweep.effect = w >= h ? kSweepLeftToRight : kSweepTopToBottom;
  }
  TransSlidersToParams(kSweepClass, 50, 50, 50, sweep.par0, sweep.par1, sweep.par2);
  return sweep;
}

// The order a rectangle of w x h (already cut to the screen) runs: the one asked, or the sweep
// that stands in for it on a rectangle too small for it.
TransOrder OrderForRect(const TransOrder& asked, int w, int h) {
  const bool tooSmall = w < kSmallestSide || h < kSmallestSide;
  const bool tooSmallFor3D = w < kSmallestSide3D || h < kSmallestSide3D;
  if (tooSmall || (!IsValid2DTransClass(asked.transClass) && tooSmallFor3D)) {
    return SweepOrder(w, h);
  }
  return asked;
}

// How the work of one call ended.
enum class Outcome {
  kDone,
  kFailed,
  kSweep,  // a 3D run that did not cover the rectangle: finish with a sweep over it
};

// The rectangle of a call, already cut to the screen, and the top-left corner of the bitmap's
// area that goes into it.
struct Target {
  int x, y, w, h;
  int srcx, srcy;
};

// Everything one call works on.
struct Call {
  TransitionScreen& screen;
  ScreenHost& host;
  CDIB* image;  // the caller's bitmap; may be null (bad input)
  Target target;
  TransOrder order;
  RECT screenRect;  // (0, 0, W, H)
  CString* errorText;
  int trace;

  int Width() const { return screenRect.right; }
  int Height() const { return screenRect.bottom; }
  // The document's background: what the screen shows. The on-screen path replaces it part-way,
  // so it is always asked for afresh.
  CDIB* Background() const { return host.GetBackground(); }
  CDIBSurface* ViewSurface() const { return host.GetSurface(); }
  CColorPalette* ViewPalette() const {
    CDIBSurface* surface = ViewSurface();
    return surface ? surface->GetPalette() : nullptr;
  }
};

Outcome Fail(const Call& call, const char* text) {
  if (call.errorText) *call.errorText = text;
  return Outcome::kFailed;
}

template <typename T>
std::unique_ptr<T> Allocate() {
  return std::unique_ptr<T>(new (std::nothrow) T);
}

// Copies the whole of one screen-sized picture into another by colour: the two may be on
// different colour tables (the screen's before and after a new picture came in).
void CopyWhole(CDIB& from, CDIB* to) {
  CopyByColour(from, to, 0, 0, from.GetWidth(), from.GetHeight(), 0, 0);
}

// Copies the target rectangle of `from`, at the same place, into `to`, which is on the same
// colour table.
void CopyTargetRect(const Target& t, CDIB& from, CDIB* to) {
  from.CopyBits(to, t.x, t.y, t.w, t.h, t.x, t.y, -1);
}

// Cuts the rectangle (x, y, w, h) to (0, 0, width, height) and moves the paired corner
// (px, py) by what was cut from the left and the top. Computed in 64 bits: x + w of a hostile
// order can pass the int range.
Target CutToBounds(int x, int y, int w, int h, int px, int py, int width, int height) {
  const int64_t left = std::max<int64_t>(x, 0);
  const int64_t top = std::max<int64_t>(y, 0);
  const int64_t right = std::min<int64_t>(int64_t{x} + w, width);
  const int64_t bottom = std::min<int64_t>(int64_t{y} + h, height);
  Target t{};
  t.x = static_cast<int>(left);
  t.y = static_cast<int>(top);
  t.w = static_cast<int>(std::max<int64_t>(right - left, 0));
  t.h = static_cast<int>(std::max<int64_t>(bottom - top, 0));
  t.srcx = static_cast<int>(std::clamp<int64_t>(px + (left - x), INT32_MIN, INT32_MAX));
  t.srcy = static_cast<int>(std::clamp<int64_t>(py + (top - y), INT32_MIN, INT32_MAX));
  return t;
}

// Fills a screen-sized picture with the screen as it will be: the background with the caller's
// area in the rectangle, both copied by colour onto the colour table of `into`. Only the part of
// the area inside the bitmap is copied; the rest of the rectangle keeps the background.
void ComposeNewScreen(const Call& call, CDIB* into) {
  CopyWhole(*call.Background(), into);
  const Target& t = call.target;
  const Target area = CutToBounds(t.srcx, t.srcy, t.w, t.h, t.x, t.y, call.image->GetWidth(),
                                  call.image->GetHeight());
  if (area.w == 0 || area.h == 0) return;
  // The area was cut to the bitmap: its x, y lie in the bitmap and its srcx, srcy on the screen.
  CopyByColour(*call.image, into, area.srcx, area.srcy, area.w, area.h, area.x, area.y);
}

// Composes the whole view from the document and shows it; nothing once the saver is closing.
void RedrawScreen(const Call& call) {
  if (seams::StopRequested()) return;
  call.host.RenderRect(nullptr);
  call.host.ShowRect(nullptr);
}

BOOL RunEffect(const Call& call, CDIBSurface* a, CDIBSurface* b, BOOL offScreen) {
  const Target& t = call.target;
  return call.screen.RunEffect(t.x, t.y, t.w, t.h, a, b, call.order, offScreen, call.screenRect);
}

// The 3D tile peel over the rectangle toward `bitmap`, which holds the screen as it will be. A
// rectangle it could not cover as given is finished with a sweep; a failure passes its text on.
constexpr int kTileVolume = 50;
Outcome RunTilePeel(const Call& call, CDIB* bitmap, BOOL offScreen) {
  const Target& t = call.target;
  RECT r = {t.x, t.y, t.x + t.w, t.y + t.h};
  const TransOrder& o = call.order;
  if (!Transition3DFX(o.effect, offScreen, &call.host, bitmap, &r, FALSE, FALSE, o.par0, o.par1,
                      o.par2, kTileVolume, call.trace, call.errorText)) {
    return Outcome::kFailed;
  }
  return r.right - r.left == t.w && r.bottom - r.top == t.h ? Outcome::kDone : Outcome::kSweep;
}

// ---- On screen -----------------------------------------------------------------------------

// The objects of one on-screen call.
struct OnScreenParts {
  std::unique_ptr<CColorPalette> palette;  // the screen's: the grey ramp and the bitmap's colours
  std::unique_ptr<CDIB> newImage;          // the new screen; passes to the document
  std::unique_ptr<CDIBSurface> oldScreen;
  std::unique_ptr<CDIBSurface> newScreen;
};

// The new-image bitmap: the screen's size on one colour table that holds the grey ramp where the
// screen keeps it and the caller's colours, the old background with the caller's area in the
// rectangle. The ramp has to stay: the background, its frames and the clock and the 3D scene
// draw with ramp indexes.
Outcome MakeNewImage(const Call& call, OnScreenParts& parts) {
  parts.palette = Allocate<CColorPalette>();
  parts.newImage = Allocate<CDIB>();
  parts.oldScreen = Allocate<CDIBSurface>();
  parts.newScreen = Allocate<CDIBSurface>();
  if (!parts.palette || !parts.newImage || !parts.oldScreen || !parts.newScreen) {
    return Fail(call, kOnOutOfMemory);
  }
  // Without a bitmap, or with one that has no colour table, there are no colours for the new
  // screen.
  const int reserved = call.host.GetReservedEntries();
  if (!call.image || !parts.palette->CreateScreenPalette(call.image, reserved) ||
      !parts.newImage->Create(call.Width(), call.Height(), parts.palette.get())) {
    return Fail(call, kNoNewImageDIB);
  }
  ComposeNewScreen(call, parts.newImage.get());
  return Outcome::kDone;
}

// Hands the new image to the document and leaves the window, the view and the document showing
// the old screen, with the new-screen surface holding the old screen and the new image in the
// rectangle: the two pictures an effect moves between.
Outcome PrepareOnScreen(const Call& call, OnScreenParts& parts, bool twoD) {
  if (!parts.oldScreen->Create(call.Width(), call.Height(), call.ViewPalette())) {
    return Fail(call, kNoBackSurface);
  }
  CopyWhole(*call.Background(), parts.oldScreen.get());
  CDIB* newImage = parts.newImage.release();
  if (!call.screen.SetBackgroundNoDraw(newImage)) return Fail(call, kBackgroundRefused);
  // The old palette went with the old buffer; the old-screen surface only gives its pixels from
  // here on, and must not be blitted with a palette that no longer exists.
  parts.oldScreen->palette = nullptr;
  CDIB* background = call.Background();
  if (!background || !parts.newScreen->Create(call.Width(), call.Height(), call.ViewPalette())) {
    return Fail(call, twoD ? kNoNewScreen2D : kNoNewScreen3D);
  }
  CopyWhole(*parts.oldScreen, parts.newScreen.get());
  CopyTargetRect(call.target, *background, parts.newScreen.get());
  CopyWhole(*parts.oldScreen, background);
  RedrawScreen(call);
  return Outcome::kDone;
}

Outcome RunOnScreen(const Call& call) {
  const bool twoD = IsValid2DTransClass(call.order.transClass);
  OnScreenParts parts;
  Outcome outcome = MakeNewImage(call, parts);
  if (outcome == Outcome::kDone) outcome = PrepareOnScreen(call, parts, twoD);
  if (outcome != Outcome::kDone) return outcome;
  if (!twoD) return RunTilePeel(call, parts.newScreen.get(), FALSE);
  if (!RunEffect(call, parts.newScreen.get(), call.ViewSurface(), FALSE)) {
    return Fail(call, kEffectFailed);
  }
  CDIB* background = call.Background();
  if (background) CopyTargetRect(call.target, *parts.newScreen, background);
  RedrawScreen(call);
  return Outcome::kDone;
}

// ---- Off screen ----------------------------------------------------------------------------

// The back picture: the screen as it will be, on the view's palette. A surface for the 2D
// effects, a plain bitmap for the 3D path.
template <typename Picture>
Outcome MakeBack(const Call& call, std::unique_ptr<Picture>& back) {
  back = Allocate<Picture>();
  if (!back) return Fail(call, kOffOutOfMemory);
  if (!call.image || !back->Create(call.Width(), call.Height(), call.ViewPalette())) {
    return Fail(call, kNoBackSurface);
  }
  ComposeNewScreen(call, back.get());
  return Outcome::kDone;
}

Outcome RunOffScreen(const Call& call) {
  if (!IsValid2DTransClass(call.order.transClass)) {
    std::unique_ptr<CDIB> back;
    const Outcome outcome = MakeBack(call, back);
    return outcome == Outcome::kDone ? RunTilePeel(call, back.get(), TRUE) : outcome;
  }
  std::unique_ptr<CDIBSurface> back;
  const Outcome outcome = MakeBack(call, back);
  if (outcome != Outcome::kDone) return outcome;
  if (!RunEffect(call, call.ViewSurface(), back.get(), TRUE)) return Fail(call, kEffectFailed);
  CopyWhole(*back, call.Background());
  RedrawScreen(call);
  return Outcome::kDone;
}

// ---- Both ----------------------------------------------------------------------------------

using FrontEnd = BOOL (*)(TransitionScreen&, int, int, CDIB*, int, int, int, int, int, int, int,
                          int, int, int, CString*);

struct Direction {
  const char* name;
  Outcome (*run)(const Call&);
  FrontEnd self;  // for the sweep that finishes a 3D run
  const char* outOfMemory;
};

// Runs one direction; a container or colour table that cannot be allocated on the way fails the
// transition with the direction's out-of-memory text instead of leaving it as an exception.
Outcome RunDirection(const Direction& direction, const Call& call) {
  try {
    return direction.run(call);
  } catch (const std::bad_alloc&) {
  }
  // Out of the handler, and the text may itself find no memory: then the caller gets no text
  // rather than a stale one (emptying allocates nothing).
  try {
    return Fail(call, direction.outOfMemory);
  } catch (const std::bad_alloc&) {
    if (call.errorText) call.errorText->Empty();
    return Outcome::kFailed;
  }
}

BOOL Manage(const Direction& direction, TransitionScreen& screen, const TransOrder& asked,
            CDIB* image, int x, int y, int w, int h, int srcx, int srcy, int trace,
            CString* errorText) {
  std::optional<seams::TraceScope> traceScope;
  if (trace) {
    traceScope.emplace(direction.name);
    seams::Trace::Printf("\t pScreenDoc=%x,iDesTransFXClass=%d,iDesTransFX=%d,pImageDIB=%x\n",
                         static_cast<unsigned>(reinterpret_cast<uintptr_t>(screen.TraceId())),
                         asked.transClass, asked.effect,
                         static_cast<unsigned>(reinterpret_cast<uintptr_t>(image)));
  }
  auto failed = [&traceScope] {
    if (traceScope) traceScope->Fail();
    return FALSE;
  };
  if (w <= 0 || h <= 0) return failed();

  ScreenHost* host = screen.Host();
  CDIB* background = host ? host->GetBackground() : nullptr;
  if (!background || !host->GetSurface()) {
    if (errorText) *errorText = kNoBackSurface;
    return failed();
  }
  const int width = background->GetWidth(), height = background->GetHeight();
  const Target target = CutToBounds(x, y, w, h, srcx, srcy, width, height);
  if (target.w == 0 || target.h == 0) return TRUE;  // nothing of it is on the screen

  const Call call{screen,
                  *host,
                  image,
                  target,
                  OrderForRect(asked, target.w, target.h),
                  RECT{0, 0, width, height},
                  errorText,
                  trace};
  switch (RunDirection(direction, call)) {
    case Outcome::kDone: return TRUE;
    case Outcome::kFailed: return failed();
    case Outcome::kSweep: break;
  }
  // A stop ends the change where it stands: the screen is going away, so no sweep follows.
  if (seams::StopRequested()) return TRUE;
  // The result of the sweep over the rectangle decides; it has a 2D class and so ends there.
  const TransOrder sweep = SweepOrder(target.w, target.h);
  const BOOL swept = direction.self(screen, sweep.transClass, sweep.effect, image, target.x,
                                    target.y, target.w, target.h, target.srcx, target.srcy,
                                    sweep.par0, sweep.par1, sweep.par2, trace, errorText);
  return swept ? TRUE : failed();
}

}  // namespace

BOOL ManageOnScreenTransition(TransitionScreen& screen, int transClass, int effect, CDIB* image,
                              int x, int y, int w, int h, int srcx, int srcy, int par0, int par1,
                              int par2, int trace, CString* errorText) {
  static const Direction on{"ManageOnScreenTransition", RunOnScreen, ManageOnScreenTransition,
                            kOnOutOfMemory};
  return Manage(on, screen, TransOrder{transClass, effect, par0, par1, par2}, image, x, y, w, h,
                srcx, srcy, trace, errorText);
}

BOOL ManageOffScreenTransition(TransitionScreen& screen, int transClass, int effect, CDIB* image,
                               int x, int y, int w, int h, int srcx, int srcy, int par0, int par1,
                               int par2, int trace, CString* errorText) {
  static const Direction off{"ManageOffScreenTransition", RunOffScreen, ManageOffScreenTransition,
                             kOffOutOfMemory};
  return Manage(off, screen, TransOrder{transClass, effect, par0, par1, par2}, image, x, y, w, h,
                srcx, srcy, trace, errorText);
}
