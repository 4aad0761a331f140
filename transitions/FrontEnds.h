// The transition front ends: replace one rectangle of the saver screen by new content with a
// transition effect, and leave the screen document's background equal to what the screen shows.
//
// ManageOffScreenTransition takes the current picture off its rectangle (the rectangle turns into
// the given bitmap, as a rule the background composed for the next picture);
// ManageOnScreenTransition brings a new picture onto its rectangle. Both take the same fifteen
// arguments: the screen, the transition class (0..30 two-dimensional, anything else the 3D tile
// peel), the effect, the bitmap, the target rectangle x, y, w, h on the screen, the top-left
// corner in the bitmap of the area that goes into it, the effect's parameters par0..par2, the
// trace flag and the string that receives an error text.
//
// Rules shared by both:
//  - w or h of 0 or less: FALSE, the error text left alone.
//  - The rectangle is cut to the screen and the source corner moved with it: a picture larger
//    than the screen (a size setting left over from another resolution) is shown by its middle
//    part instead of handing the effects negative coordinates. A rectangle with nothing on the
//    screen has nothing to replace: TRUE. Of the bitmap's area only what lies inside the bitmap
//    is copied; the rest of the rectangle keeps the screen behind it.
//  - A rectangle under 20 pixels wide or high, or a 3D order on one under 100, is done as a sweep
//    (class 20, sliders 50, 50, 50): diagonal from the top left when w / h lies strictly between
//    0.5 and 2, else left to right when w >= h, else top to bottom.
//  - A 3D order runs the tile peel (Transition3DFX) toward the screen as it will be; when the
//    tiles could not cover the rectangle as given (none fit, or it was shrunk to whole tiles) the
//    same sweep finishes the change over the rectangle. A failure of the peel passes its text on.
//  - A new picture brings the screen onto one colour table: the grey ramp where the screen keeps
//    it and the picture's colours (CColorPalette::BuildScreenEntries); pixels that come from
//    another colour table are copied by colour, so greys stay grey and the picture keeps its own.
//  - On success the document's background, the view's off-screen surface and the window all show
//    the new screen.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

class CAnimDoc;
class CDIB;
class CDIBSurface;
class ScreenHost;

// A transition as the drawing thread orders it: class, effect and the effect's parameters.
struct TransOrder {
  int transClass = 0;
  int effect = 0;
  int par0 = 0;
  int par1 = 0;
  int par2 = 0;
};

// The screen a front end works on: the screen document with its first view and a device context
// of its window in the saver, a headless host with a window in memory in native tests.
class TransitionScreen {
 public:
  virtual ~TransitionScreen() = default;

  // The document's background, the view's surface, composing and showing; null when there is no
  // screen to work on.
  virtual ScreenHost* Host() = 0;
  // Makes dib the background (the screen owns it from here on, whatever the result) and has the
  // view rebuild its palette and surface for it, drawing nothing; FALSE when the view cannot.
  virtual BOOL SetBackgroundNoDraw(CDIB* dib) = 0;
  // Runs a 2D effect onto the window over (x, y, w, h): surface A and surface B both at (x, y)
  // with the source size (w, h), as the dispatcher takes them. The effect's result.
  virtual BOOL RunEffect(int x, int y, int w, int h, CDIBSurface* a, CDIBSurface* b,
                         const TransOrder& order, BOOL offScreen, const RECT& screen) = 0;
  // The same with the source areas placed apart: surface A's at (ax, ay), B's at (bx, by). The
  // captions draw a block-sized picture into the middle of the screen this way. A screen that
  // cannot place them apart runs nothing and returns FALSE.
  virtual BOOL RunEffectFrom(int /*x*/, int /*y*/, int /*w*/, int /*h*/, CDIBSurface* /*a*/,
                             int /*ax*/, int /*ay*/, CDIBSurface* /*b*/, int /*bx*/, int /*by*/,
                             const TransOrder& /*order*/, BOOL /*offScreen*/,
                             const RECT& /*screen*/) {
    return FALSE;
  }
  // What the trace line names as the screen document.
  virtual const void* TraceId() const { return this; }
};

BOOL ManageOnScreenTransition(TransitionScreen& screen, int transClass, int effect, CDIB* image,
                              int x, int y, int w, int h, int srcx, int srcy, int par0, int par1,
                              int par2, int trace, CString* errorText);
BOOL ManageOffScreenTransition(TransitionScreen& screen, int transClass, int effect, CDIB* image,
                               int x, int y, int w, int h, int srcx, int srcy, int par0, int par1,
                               int par2, int trace, CString* errorText);

#ifdef _WIN32
// The saver's form: on the screen document, its first view and a client-area device context of
// that view, open for the whole call. A null document, or one without a view or background,
// fails with "ManageScreenTransition - Unable to create Back DIBSurface".
BOOL ManageOnScreenTransition(CAnimDoc* pScreenDoc, int iDesTransFXClass, int iDesTransFX,
                              CDIB* pImageDIB, int x, int y, int w, int h, int srcx, int srcy,
                              int par0, int par1, int par2, int trace, CString* errorText);
BOOL ManageOffScreenTransition(CAnimDoc* pScreenDoc, int iDesTransFXClass, int iDesTransFX,
                               CDIB* pImageDIB, int x, int y, int w, int h, int srcx, int srcy,
                               int par0, int par1, int par2, int trace, CString* errorText);
#endif
