// The image title list routines over real list boxes (unsorted, as the dialogs that sort with
// SortImageTitleList keep them), and the owner-drawn arrow button's painting.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/TitleLists.h"
#include "framework/Arrays.h"
#include "imaging/Descriptors.h"
#include "tests/wine/support/GdiHeadroom.h"
#include "tests/wine/support/WindowTesting.h"

namespace {

struct Entry {
  const char* title;
  int32_t dataOffset;
};

class TitleList : public testing::Test {
 protected:
  void SetUp() override {
    host_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    list_ = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_NOTIFY, 0, 0, 100, 100, host_, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(host_ && list_);
  }
  void TearDown() override {
    DestroyWindow(host_);
    for (int i = 0; i < descs_.GetSize(); ++i) delete descs_.GetAt(i);
  }
  void Make(const std::vector<Entry>& entries) {
    for (const Entry& e : entries) {
      auto* desc = new CImageDesc;
      desc->title = e.title;
      desc->dataOffset = e.dataOffset;
      descs_.Add(desc);
    }
  }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    const int count = static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[64] = {};
      SendMessageA(list_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      titles.push_back(text);
    }
    return titles;
  }
  // The image numbers in list order.
  std::vector<int> Order() {
    std::vector<int> numbers;
    const int count = static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      SendMessageA(list_, LB_SETCURSEL, i, 0);
      numbers.push_back(GetSelectedImageNo(&descs_, list_));
    }
    return numbers;
  }

  HWND host_ = nullptr;
  HWND list_ = nullptr;
  CObArray descs_;
};

TEST_F(TitleList, FillAddsEveryTitleWithItsRecordInArrayOrder) {
  Make({{"Harbour", 30}, {"Beach", 10}, {"Harbour", 20}});
  EXPECT_EQ(FillImageTitleList(&descs_, list_), 1);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Harbour", "Beach", "Harbour"}));
  EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
  // The list is not emptied first.
  EXPECT_EQ(FillImageTitleList(&descs_, list_), 1);
  EXPECT_EQ(SendMessageA(list_, LB_GETCOUNT, 0, 0), 6);
}

TEST_F(TitleList, FillSkipsANullEntryAndAFailedAddAndSaysSo) {
  Make({{"One", 0}, {"Two", 1}});
  descs_.InsertAt(1, static_cast<CObject*>(nullptr));
  EXPECT_EQ(FillImageTitleList(&descs_, list_), 0);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"One", "Two"}));
  // A list that is not a list box adds nothing: every add fails.
  EXPECT_EQ(FillImageTitleList(&descs_, host_), 0);
}

TEST_F(TitleList, LookUpsAndWrappingSteps) {
  Make({{"C", 0}, {"A", 1}, {"B", 2}, {"Not listed", 3}});
  descs_.Add(nullptr);
  for (int i = 0; i < 3; ++i) {
    CObArray one;
    one.Add(descs_.GetAt(i));
    FillImageTitleList(&one, list_);
  }
  struct Case {
    int imageNo, position, previous, next;
  } cases[] = {
      {0, 0, 2, 1},                                        // first: previous wraps to the last
      {2, 2, 1, 0},                                        // last: next wraps to the first
      {1, 1, 0, 2},    {-1, -1, -1, -1}, {5, -1, -1, -1},  // the array's count
      {3, -1, -1, -1},                                     // a record that is not in the list
      {4, -1, -1, -1},                                     // a null entry
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.imageNo);
    EXPECT_EQ(FindImageInList(&descs_, list_, c.imageNo), c.position);
    EXPECT_EQ(GetPrevListImageNo(&descs_, list_, c.imageNo), c.previous);
    EXPECT_EQ(GetNextListImageNo(&descs_, list_, c.imageNo), c.next);
  }
  EXPECT_EQ(GetPrevListImageNo(&descs_, nullptr, 0), -1);
  EXPECT_EQ(GetNextListImageNo(&descs_, nullptr, 0), -1);
  EXPECT_EQ(GetSelectedImageNo(&descs_, list_), -1);  // nothing selected
}

TEST_F(TitleList, OneItemIsItsOwnNeighbourAndAnEmptyListHasNone) {
  Make({{"Only", 0}});
  EXPECT_EQ(GetNextListImageNo(&descs_, list_, 0), -1);
  FillImageTitleList(&descs_, list_);
  EXPECT_EQ(GetPrevListImageNo(&descs_, list_, 0), 0);
  EXPECT_EQ(GetNextListImageNo(&descs_, list_, 0), 0);
}

TEST_F(TitleList, SortOrdersByTitleWithoutCaseThenByDataOffset) {
  // Titles that differ only in case sort by data offset, the smaller first; an equal offset
  // keeps its place relative to the other order.
  Make({{"beach", 500}, {"Zebra", 1}, {"BEACH", 20}, {"apple", 7}, {"Beach", 300}});
  FillImageTitleList(&descs_, list_);
  SendMessageA(list_, LB_SETCURSEL, 0, 0);  // "beach" at 500
  SortImageTitleList(list_);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"apple", "BEACH", "Beach", "beach", "Zebra"}));
  EXPECT_EQ(Order(), (std::vector<int>{3, 2, 4, 0, 1}));
}

TEST_F(TitleList, SortKeepsTheSelectionAndScrollsItToTheTop) {
  // Image i is titled "t<29 - i>", so sorting reverses the list.
  std::vector<std::string> names;
  for (int i = 0; i < 30; ++i) names.push_back("t" + std::to_string(100 + 29 - i));
  std::vector<Entry> entries;
  for (int i = 0; i < 30; ++i) entries.push_back({names[i].c_str(), i});
  Make(entries);
  FillImageTitleList(&descs_, list_);
  SendMessageA(list_, LB_SETCURSEL, 19, 0);
  SortImageTitleList(list_);
  EXPECT_EQ(GetSelectedImageNo(&descs_, list_), 19);
  EXPECT_EQ(SendMessageA(list_, LB_GETCURSEL, 0, 0), 10);
  EXPECT_EQ(SendMessageA(list_, LB_GETTOPINDEX, 0, 0), 10);
  // With nothing selected nothing is selected afterwards; an empty list stays empty.
  SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SortImageTitleList(list_);
  EXPECT_EQ(SendMessageA(list_, LB_GETCURSEL, 0, 0), LB_ERR);
  SendMessageA(list_, LB_RESETCONTENT, 0, 0);
  SortImageTitleList(list_);
  EXPECT_EQ(SendMessageA(list_, LB_GETCOUNT, 0, 0), 0);
}

// ---------------------------------------------------------------------------------------------

// A 12 x 12 picture of one colour, with a 24-bit DIB section behind it.
HBITMAP SolidBitmap(COLORREF colour) {
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 12, 12, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* p = static_cast<BYTE*>(bits);
  for (int i = 0; i < 12 * 12; ++i) {
    const int row = i / 12, x = i % 12;
    BYTE* q = p + row * 36 + 3 * x;
    q[0] = GetBValue(colour);
    q[1] = GetGValue(colour);
    q[2] = GetRValue(colour);
  }
  return bitmap;
}

class OwnerDrawButton : public testing::Test {
 protected:
  void SetUp() override {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 24, -24, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    target_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, target_);
    normal_ = SolidBitmap(RGB(0, 0, 255));
    disabled_ = SolidBitmap(RGB(255, 0, 0));
  }
  void TearDown() override {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(target_);
    DeleteObject(normal_);
    DeleteObject(disabled_);
  }
  void Paint(UINT state) {
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.itemState = state;
    item.hDC = dc_;
    item.rcItem = {0, 0, 24, 24};
    DrawOwnerDrawButton(&item, normal_, 0, 0, 12, 12, disabled_, 0, 0, 12, 12);
    GdiFlush();
  }
  COLORREF At(int x, int y) const {
    const uint32_t v = static_cast<const uint32_t*>(bits_)[y * 24 + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }

  HBITMAP target_ = nullptr, normal_ = nullptr, disabled_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

TEST_F(OwnerDrawButton, RaisedPressedAndDisabledFaces) {
  Paint(0);
  // Raised: white top and left, dark grey bottom and right, the picture at (7, 7) to (18, 18).
  EXPECT_EQ(At(5, 0), RGB(255, 255, 255));
  EXPECT_EQ(At(0, 5), RGB(255, 255, 255));
  EXPECT_EQ(At(23, 5), RGB(128, 128, 128));
  EXPECT_EQ(At(5, 23), RGB(128, 128, 128));
  EXPECT_EQ(At(3, 3), RGB(192, 192, 192));
  EXPECT_EQ(At(7, 7), RGB(0, 0, 255));
  EXPECT_EQ(At(18, 18), RGB(0, 0, 255));
  EXPECT_EQ(At(19, 19), RGB(192, 192, 192));

  Paint(ODS_SELECTED);
  // Pressed: black outside, dark grey inside, the picture one pixel down and right.
  EXPECT_EQ(At(5, 0), RGB(0, 0, 0));
  EXPECT_EQ(At(23, 5), RGB(0, 0, 0));
  EXPECT_EQ(At(5, 1), RGB(128, 128, 128));
  EXPECT_EQ(At(7, 7), RGB(192, 192, 192));
  EXPECT_EQ(At(8, 8), RGB(0, 0, 255));
  EXPECT_EQ(At(19, 19), RGB(0, 0, 255));

  Paint(ODS_DISABLED);
  EXPECT_EQ(At(7, 7), RGB(255, 0, 0));
}

TEST_F(OwnerDrawButton, TwoThousandPaintsLeaveNoGdiObjectBehind) {
  const HGDIOBJ pen = GetCurrentObject(dc_, OBJ_PEN);
  const HGDIOBJ brush = GetCurrentObject(dc_, OBJ_BRUSH);
  Paint(0);
  const int before = wintest::FreeGdiHandles();
  for (int i = 0; i < 2000; ++i) Paint(i % 3 == 0 ? ODS_SELECTED : i % 3 == 1 ? ODS_DISABLED : 0);
  EXPECT_EQ(wintest::FreeGdiHandles(), before);
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_BRUSH), brush);
}

}  // namespace
