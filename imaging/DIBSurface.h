// CDIBSurface: a CDIB whose pixel rows are the memory of a GDI bitmap selected into a memory
// device context.
//
// The same pixels can be changed directly through the CDIB operations and drawn on with GDI
// through memoryDC, then blitted to a window without conversion. It is the screen view's
// off-screen buffer, the copy of the desktop the saver starts from, and the working buffer of the
// transitions and display routines.
//
// On Windows the bitmap is a DIB section. (WinG, the old fallback for systems without DIB
// sections, is asked for only when CreateDIBSection is missing, and our stand-in always reports it
// unavailable.) Natively there is no GDI: the pixels live in plain memory owned by the CDIB part
// and memoryDC stays empty, so everything that composes pixels runs the same in native tests.
#pragma once

#include "framework/Dc.h"
#include "framework/WinTypes.h"
#include "imaging/DIB.h"

class CColorPalette;

class CDIBSurface : public CDIB {
  DECLARE_SERIAL(CDIBSurface)
 public:
  // Chooses the back end (DIB sections) and makes the memory context. Without a back end an
  // alert says so; the object then stays a plain 16 x 16 CDIB and Create fails.
  CDIBSurface();
  ~CDIBSurface() override;

  // An 8-bit surface of w x h, all pixels 0, whose colour table holds the palette's entries (the
  // rest of the table, and all of it without a palette, is 0). Returns 1, or 0 when the bitmap
  // cannot be made: the surface then keeps its previous bitmap, size and pixels.
  BOOL Create(int w, int h, CColorPalette* palette);
  // A 24-bit surface of w x h with no palette; 0 (previous bitmap kept) on failure.
  BOOL Create24(int w, int h);

  using CDIB::Draw;
  // The whole surface to (0, 0) of the device context.
  void Draw(CDC* dc);
  // Copies the w x h rectangle at (sx, sy) of the surface to (x, y) of the device context, with
  // the surface's palette selected and realised for the copy (24-bit surfaces touch no palette).
  void BitBlt(CDC* dc, int x, int y, int w, int h, int sx, int sy);

  // 1 when a back end exists (always natively).
  BOOL IsAvailable() const { return useDIBSection || useMemory; }
  CColorPalette* GetPalette() const { return palette; }

  // The palette the surface was created on (not owned); null for 24-bit surfaces.
  CColorPalette* palette = nullptr;
  // The memory device context that holds the bitmap: other code draws into it with GDI. Empty
  // natively.
  CDC memoryDC;

 private:
  BOOL CreateSurface(int w, int h, int bitCount, CColorPalette* newPalette);
  // Gives the CDIB part the new pixels; on Windows also selects the new bitmap into memoryDC
  // and deletes the old one.
  BOOL Install(const BITMAPINFO* newHeader, BYTE* newBits, HBITMAP newBitmap);

  BOOL useDIBSection = 0;  // Windows: DIB sections
  BOOL useMemory = 0;      // natively: plain memory
#ifdef _WIN32
  HBITMAP bitmap = nullptr;          // the DIB section; owned
  HGDIOBJ previousBitmap = nullptr;  // what memoryDC held before the first section
#endif
};
