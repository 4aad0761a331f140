#include "tests/wine/controls/ControlFixture.h"

#include "controls/ControlsSliders.h"
#include "controls/ControlsViews.h"
#include "framework/Wnd.h"

namespace controltest {
namespace {

std::vector<Notice> notices;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HSCROLL || message == WM_RDIBCTL_CLICK) {
    notices.push_back(Notice{message, wParam, lParam});
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

constexpr char kParentClass[] = "ControlTestParent";

}  // namespace

void RegisterControls() {
  static const bool registered = [] {
    LoadLibraryA("riched32.dll");
    WNDCLASSA parent = {};
    parent.lpfnWndProc = ParentProc;
    parent.hInstance = GetModuleHandleA(nullptr);
    parent.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    parent.lpszClassName = kParentClass;
    return RegisterClassA(&parent) && CRVSliderCtl::Register() && CRMSliderCtl::Register() &&
           CRGrnBtnCtl::Register() && CRRTFCtl::Register() && CRDIBCtl::Register();
  }();
  ASSERT_TRUE(registered) << "a control class could not be registered";
}

COLORREF PixelOf(const CDIB& buffer, int x, int y) {
  const int bitCount = buffer.header->bmiHeader.biBitCount;
  const BYTE* row =
      buffer.bits + static_cast<size_t>(buffer.GetHeight() - 1 - y) * buffer.GetStorageWidth();
  if (bitCount == 24) return RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
  const RGBQUAD& q = buffer.header->bmiColors[row[x]];
  return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

void ControlTest::SetUp() {
  RegisterControls();
  parent_ = CreateWindowExA(0, kParentClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(parent_, nullptr);
  notices.clear();
}

void ControlTest::TearDown() {
  if (parent_) DestroyWindow(parent_);
}

HWND ControlTest::Create(const char* className, int x, int y, int w, int h) {
  return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, x, y, w, h, parent_,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(100)),
                         GetModuleHandleA(nullptr), nullptr);
}

const std::vector<Notice>& ControlTest::Notices() const { return notices; }

void ControlTest::ClearNotices() { notices.clear(); }

}  // namespace controltest
