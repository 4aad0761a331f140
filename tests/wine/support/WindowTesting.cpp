#include "tests/wine/support/WindowTesting.h"

#include "framework/Wnd.h"
#include "imaging/DIB.h"

namespace wintest {
namespace {

LRESULT CALLBACK RoutingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (CWnd::RouteMessage(window, message, wParam, lParam, &result)) return result;
  return DefWindowProcA(window, message, wParam, lParam);
}

const char* RoutedClass() {
  static const ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = RoutingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "RoutedTestWindow";
    return RegisterClassA(&wc);
  }();
  (void)atom;
  return "RoutedTestWindow";
}

}  // namespace

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

HWND NewRoutedWindow(int w, int h) {
  HWND window = CreateWindowExA(WS_EX_TOPMOST, RoutedClass(), "", WS_POPUP | WS_VISIBLE, 0, 0, w, h,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  UpdateWindow(window);
  Pump();
  return window;
}

Image ReadDC(HDC source, int w, int h) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  Image out;
  if (section) {
    HGDIOBJ old = SelectObject(memory, section);
    if (BitBlt(memory, 0, 0, w, h, source, 0, 0, SRCCOPY)) {
      GdiFlush();
      const auto* first = static_cast<const uint32_t*>(bits);
      out.assign(first, first + static_cast<size_t>(w) * h);
      for (uint32_t& p : out) p &= 0x00FFFFFF;
    }
    SelectObject(memory, old);
    DeleteObject(section);
  }
  DeleteDC(memory);
  return out;
}

Image ReadWindow(HWND window, int w, int h) {
  GdiFlush();
  HDC dc = GetDC(window);
  Image out = ReadDC(dc, w, h);
  ReleaseDC(window, dc);
  return out;
}

Image ColoursOf(const CDIB& dib) {
  Image out;
  for (int y = 0; y < dib.GetHeight(); ++y) {
    const BYTE* row = dib.GetPixelAddress(0, y);
    for (int x = 0; x < dib.GetWidth(); ++x) {
      const RGBQUAD& c = dib.header->bmiColors[row[x]];
      out.push_back(static_cast<uint32_t>(c.rgbRed) << 16 | c.rgbGreen << 8 | c.rgbBlue);
    }
  }
  return out;
}

size_t Differences(const Image& a, const Image& b) {
  if (a.size() != b.size()) return a.size() + b.size();
  size_t n = 0;
  for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

namespace {

struct ClassSearch {
  const char* name;
  int count;
};

BOOL CALLBACK CountIfOfClass(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  char name[128] = "";
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpiA(name, search->name) == 0) ++search->count;
  return TRUE;
}

}  // namespace

int CountWindowsOfClass(const char* className) {
  ClassSearch search{className, 0};
  EnumWindows(CountIfOfClass, reinterpret_cast<LPARAM>(&search));
  return search.count;
}

}  // namespace wintest
