#include "tests/wine/platform/ScreenCapture.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

BITMAPINFOHEADER Header32(int width, int height) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // negative: top-down rows
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  return header;
}

}  // namespace

ScreenCapture ScreenCapture::Take() {
  ScreenCapture capture;
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = Header32(width, -height);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY)) {
      GdiFlush();
      const auto* first = static_cast<const std::uint32_t*>(bits);
      capture.pixels_.assign(first, first + static_cast<size_t>(width) * height);
      capture.width_ = width;
      capture.height_ = height;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return capture;
}

COLORREF ScreenCapture::At(int x, int y) const {
  const std::uint32_t pixel = pixels_[static_cast<size_t>(y) * width_ + x];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool ScreenCapture::SaveBmp(const char* path) const {
  const BITMAPINFOHEADER header = Header32(width_, height_);
  const DWORD imageSize = static_cast<DWORD>(pixels_.size() * sizeof pixels_[0]);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + imageSize;
  std::FILE* out = std::fopen(path, "wb");
  if (out == nullptr) {
    return false;
  }
  bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
            std::fwrite(&header, sizeof header, 1, out) == 1;
  for (int y = height_ - 1; ok && y >= 0; --y) {  // bottom-up rows
    ok = std::fwrite(&pixels_[static_cast<size_t>(y) * width_], sizeof pixels_[0], width_, out) ==
         static_cast<size_t>(width_);
  }
  return std::fclose(out) == 0 && ok;
}

ScreenCapture TakeDialogsShot(const char* name) {
  MSG message;
  for (int i = 0; i < 25; ++i) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(20);
  }
  ScreenCapture shot = ScreenCapture::Take();
  if (const char* folder = std::getenv("SAVER_SCREENSHOT_DIR"))
    shot.SaveBmp((std::string(folder) + "\\dialogs-" + name + ".bmp").c_str());
  return shot;
}
