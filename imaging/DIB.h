// CDIB: the packed device-independent bitmap that every picture of the system is held in.
//
// A header block (a 40-byte BITMAPINFOHEADER and room for 256 colour-table entries, whatever the
// depth) and a separate block of pixel rows, bottom row first, each row padded to 4 bytes. Depths
// produced here are 8 bits with a colour table and 24 bits (blue, green, red); 1- and 4-bit files
// load as they are. Pixel (x, y) counts y from the top.
//
// The virtual operations keep a fixed order: the sprite and the off-screen surface derive from
// CDIB and override some of them by position.
#pragma once

#include <cstdint>
#include <cstdio>

#include "framework/Object.h"
#include "framework/WinTypes.h"

class CArchive;
class CDC;
class CFile;
class CPalette;
class CRect;

// Number of colour-table entries of a header in either form (40-byte Windows or 12-byte OS/2):
// 2, 16 or 256 by bit count, 0 for deeper bitmaps; a non-zero biClrUsed (Windows form) lowers the
// count, or gives it alone for deeper bitmaps. The result can exceed 256 for a hostile header.
DWORD GetDIBColorCount(const BITMAPINFO* header);

class CDIB : public CObject {
  DECLARE_SERIAL(CDIB)
 public:
  // Size of the header block: the info header and a full 256-entry colour table.
  static constexpr size_t kHeaderBlockSize = sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);
  // Largest width or height accepted, and largest block of bits: a hostile size in a file cannot
  // make us allocate more than this.
  static constexpr LONG kMaxSide = 0x8000;
  static constexpr uint64_t kMaxBitsBytes = 256u << 20;

  // A 16 x 16 8-bit grey-ramp bitmap of zeros.
  CDIB();
  CDIB(const CDIB&) = delete;
  CDIB& operator=(const CDIB&) = delete;
  // Frees the header, and the bits when owned.
  ~CDIB() override;

  // Writes the picture as a BMP file image at the archive's position, or reads one from there.
  // A picture that cannot be read or written throws CArchiveException(generic).
  void Serialize(CArchive& ar) override;

  // Loads a "DIB" resource (a BMP file image) of the program; the bits stay in the resource.
  virtual BOOL LoadResource(UINT id);
  // Reads one BMP image from the file's current position. 0 (object unchanged) on any failure.
  virtual BOOL LoadFromFile(CFile* file);
  // Loads a file by name (".jpg": JPEG; otherwise BMP). Null or empty: asks with the open dialog.
  virtual BOOL Load(const char* name);
  // Writes the picture as a BMP file image (always a 256-entry table, bits at offset 1078).
  virtual BOOL SaveToFile(CFile* file);
  // Saves to a file by name; null or empty: asks with the save dialog. Failures are alerted.
  virtual BOOL Save(const char* name);
  // Draws the whole picture at (x, y); returns the scan lines drawn.
  virtual int Draw(CDC* dc, int x, int y);
  virtual int GetWidth() const;
  // Bytes per row, padding included.
  virtual int GetStorageWidth() const;
  virtual int GetHeight() const;
  // Maps the pixels onto the palette's colours and makes its entries the colour table.
  virtual BOOL MapColorsToPalette(CPalette* palette);
  virtual void GetRect(CRect* rect) const;
  // Pixel operations; this object is the source, destination the first argument.
  virtual void CopyBits(CDIB* destination, int dx, int dy, int w, int h, int sx, int sy,
                        int transparent) const;
  virtual void CopyTransparent(CDIB* destination, int dx, int dy, int w, int h, int sx, int sy,
                               int transparent) const;
  virtual void Copy(CDIB* destination, int dx, int dy, int w, int h, int sx, int sy) const;
  virtual void CopyRemap24(CDIB* destination, int dx, int dy, int w, int h, int sx, int sy) const;
  virtual void Lighten(int amount);
  virtual void Lighten24(int amount);
  virtual BOOL LoadJPEGFile(FILE* file);
  virtual BOOL LoadJPEG(FILE* file, HWND progress);
  virtual BOOL Quantize(CDIB* destination, int colours, int dither);

  // Each creation replaces the whole content and returns 1, or 0 when the bitmap cannot be
  // allocated: the object is then empty (no header, no bits), which every operation accepts.
  // 8 bits, grey ramp, then the palette's entries when one is given (biClrUsed = their count).
  BOOL Create(int w, int h, CPalette* palette);
  // 24 bits.
  BOOL Create24(int w, int h);
  // 8 bits from decoder output: n colours of 4 bytes (blue, green, red, unused) and the rows,
  // padded like the bitmap's, first row in memory first.
  BOOL CreateFromPixels(int w, int h, int n, const BYTE* colours, const BYTE* pixels);
  // Takes over existing pixels: copies the header and its colour table, keeps the bits pointer.
  // owns 1: the bits were allocated with std::malloc and are freed with the object. 0 (object
  // unchanged, the bits still the caller's) when the header block cannot be allocated or the
  // source header has more than 256 colours.
  BOOL AttachPacked(const BITMAPINFO* source, BYTE* newBits, BOOL owns);

  // Colour-table entries of this bitmap (GetDIBColorCount of its header), 0 when empty.
  int GetNumColors() const;
  // Address of the byte holding pixel (x, y); null outside the picture or for other depths.
  BYTE* GetPixelAddress(int x, int y) const;

  BITMAPINFO* header = nullptr;
  BYTE* bits = nullptr;
  BOOL ownsBits = 1;

 private:
  // Frees the header, and the bits when owned, leaving the object empty.
  void Release();
  // Installs a new header block and bits (owned), releasing the old content.
  void Replace(BITMAPINFO* newHeader, BYTE* newBits);
  // Allocates a header block (grey-ramp table, the given depth and size) and w x h bits set to
  // 0, then replaces the content; releases the content first, as creation does.
  BOOL CreateBlank(int w, int h, int bitCount);
};
