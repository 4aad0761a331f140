// A top-down DIB section selected into its own memory device context: 24-bit, or 8-bit with a grey
// palette made for it. The transition tests and the GDI benchmark draw between these, reading and
// writing the pixels directly through Plane().
#pragma once

#include <windows.h>

#include <vector>

#include "transitions/GdiBlit.h"
#include "transitions/PlainBlit.h"

namespace wintest {

class DibDC {
 public:
  DibDC(int w, int h, int bits = 24) : width_(w), height_(h), bits_(bits) {
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colours[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = w;
    info.header.biHeight = -h;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    info.header.biCompression = BI_RGB;
    for (int i = 0; i < 256; ++i) info.colours[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) return;
    bitmap_ = CreateDIBSection(dc_, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels_,
                               nullptr, 0);
    if (!bitmap_ || !pixels_) return;
    previousBitmap_ = SelectObject(dc_, bitmap_);
    if (bits == 8) palette_ = GreyPalette();
  }
  ~DibDC() {
    if (previousBitmap_) SelectObject(dc_, previousBitmap_);
    if (bitmap_) DeleteObject(bitmap_);
    if (palette_) DeleteObject(palette_);
    if (dc_) DeleteDC(dc_);
  }
  DibDC(const DibDC&) = delete;
  DibDC& operator=(const DibDC&) = delete;

  bool Ready() const { return previousBitmap_ != nullptr && (bits_ != 8 || palette_); }
  HDC dc() const { return dc_; }
  GdiSurface Surface() const { return {dc_, palette_}; }
  PixelPlane Plane() const {
    PixelPlane p;
    p.top = static_cast<BYTE*>(pixels_);
    p.pitch = (width_ * (bits_ / 8) + 3) & ~3;
    p.width = width_;
    p.height = height_;
    p.bytesPerPixel = bits_ / 8;
    return p;
  }

 private:
  static HPALETTE GreyPalette() {
    std::vector<BYTE> block(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
    log->palVersion = 0x300;
    log->palNumEntries = 256;
    for (int i = 0; i < 256; ++i) log->palPalEntry[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
    return CreatePalette(log);
  }

  int width_, height_, bits_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  HPALETTE palette_ = nullptr;
  void* pixels_ = nullptr;
};

}  // namespace wintest
