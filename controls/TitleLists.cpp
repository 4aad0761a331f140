#include "controls/TitleLists.h"

#include <mbstring.h>

#include <cstdlib>
#include <new>

#include "framework/Dc.h"
#include "framework/Gdi.h"
#include "imaging/Descriptors.h"

namespace {

CImageDesc* DescOf(const void* itemData) { return *static_cast<CImageDesc* const*>(itemData); }

LRESULT ItemData(HWND list, int position) {
  return SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(position), 0);
}

// The first array index whose entry is the item data, or -1.
int ImageNoOf(CObArray* descs, LRESULT itemData) {
  for (int i = 0; i < descs->GetSize(); ++i)
    if (reinterpret_cast<LRESULT>(descs->GetAt(i)) == itemData) return i;
  return -1;
}

// Adds one title with its descriptor as item data; false when the list refused it.
bool AddTitle(HWND list, CImageDesc* desc) {
  const LRESULT position = SendMessageA(
      list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<const char*>(desc->title)));
  if (position < 0) return false;
  SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(desc));
  return true;
}

int NeighbourImageNo(CObArray* descs, HWND list, int imageNo, int step) {
  if (!list) return -1;
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  if (count <= 0) return -1;
  const int position = FindImageInList(descs, list, imageNo);
  if (position < 0) return -1;
  return ImageNoOf(descs, ItemData(list, (count + position + step) % count));
}

}  // namespace

int CompareImageTitles(const void* a, const void* b) {
  const CImageDesc* first = DescOf(a);
  const CImageDesc* second = DescOf(b);
  const int byTitle =
      _mbsicmp(reinterpret_cast<const unsigned char*>(static_cast<const char*>(first->title)),
               reinterpret_cast<const unsigned char*>(static_cast<const char*>(second->title)));
  if (byTitle != 0) return byTitle;
  if (first->dataOffset > second->dataOffset) return 1;
  if (first->dataOffset < second->dataOffset) return -1;
  return 0;
}

bool AddImageTitle(HWND list, CImageDesc* desc) { return desc && AddTitle(list, desc); }

int FillImageTitleList(CObArray* descs, HWND list) {
  int result = 1;
  for (int i = 0; i < descs->GetSize(); ++i) {
    auto* desc = static_cast<CImageDesc*>(descs->GetAt(i));
    if (!desc || !AddTitle(list, desc)) result = 0;
  }
  return result;
}

int FindImageInList(CObArray* descs, HWND list, int imageNo) {
  if (imageNo < 0 || imageNo >= descs->GetSize()) return -1;
  CObject* entry = descs->GetAt(imageNo);
  if (!entry) return -1;
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int position = 0; position < count; ++position)
    if (ItemData(list, position) == reinterpret_cast<LRESULT>(entry)) return position;
  return -1;
}

int GetSelectedImageNo(CObArray* descs, HWND list) {
  const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (selected < 0) return -1;
  return ImageNoOf(descs, ItemData(list, static_cast<int>(selected)));
}

int GetPrevListImageNo(CObArray* descs, HWND list, int imageNo) {
  return NeighbourImageNo(descs, list, imageNo, -1);
}

int GetNextListImageNo(CObArray* descs, HWND list, int imageNo) {
  return NeighbourImageNo(descs, list, imageNo, 1);
}

void SortImageTitleList(HWND list) {
  const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  const LRESULT remembered = selected >= 0 ? ItemData(list, static_cast<int>(selected)) : 0;
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  if (count <= 0) return;
  CImageDesc** items = new (std::nothrow) CImageDesc*[count];
  if (!items) return;
  for (int i = 0; i < count; ++i) items[i] = reinterpret_cast<CImageDesc*>(ItemData(list, i));
  std::qsort(items, static_cast<size_t>(count), sizeof *items, CompareImageTitles);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (int i = 0; i < count; ++i) AddTitle(list, items[i]);
  delete[] items;
  if (!remembered) return;
  const int after = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int position = 0; position < after; ++position) {
    if (ItemData(list, position) != remembered) continue;
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(position), 0);
    SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(position), 0);
    return;
  }
}

namespace {

// A closed run of lines through the points, in one pen.
void Polyline(HDC dc, const CPen& pen, const POINT* points, int count) {
  CSelection selection(dc, pen.GetSafeHandle());
  MoveToEx(dc, points[0].x, points[0].y, nullptr);
  for (int i = 1; i < count; ++i) LineTo(dc, points[i].x, points[i].y);
}

void DrawButtonEdges(HDC dc, const RECT& r, bool pressed) {
  const CPen darkGrey(PS_SOLID, 1, PALETTERGB(128, 128, 128));
  const CPen white(PS_SOLID, 1, PALETTERGB(255, 255, 255));
  const CPen black(PS_SOLID, 1, PALETTERGB(0, 0, 0));
  const LONG l = r.left, t = r.top, rr = r.right, b = r.bottom;
  if (pressed) {
    const POINT outer[] = {{l, t}, {rr - 1, t}, {rr - 1, b - 1}, {l, b - 1}, {l, t}};
    const POINT inner[] = {
        {l + 1, t + 1}, {rr - 2, t + 1}, {rr - 2, b - 2}, {l + 1, b - 2}, {l + 1, t + 1}};
    Polyline(dc, black, outer, 5);
    Polyline(dc, darkGrey, inner, 5);
  } else {
    const POINT outerLit[] = {{l, b - 1}, {l, t}, {rr - 1, t}};
    const POINT outerShade[] = {{rr - 1, t}, {rr - 1, b - 1}, {l, b - 1}};
    const POINT innerLit[] = {{l + 1, b - 2}, {l + 1, t + 1}, {rr - 2, t + 1}};
    const POINT innerShade[] = {{rr - 2, t + 1}, {rr - 2, b - 2}, {l + 1, b - 2}};
    Polyline(dc, white, outerLit, 3);
    Polyline(dc, darkGrey, outerShade, 3);
    Polyline(dc, white, innerLit, 3);
    Polyline(dc, darkGrey, innerShade, 3);
  }
  GdiFlush();
}

}  // namespace

void DrawOwnerDrawButton(const DRAWITEMSTRUCT* item, HBITMAP normal, int nx, int ny, int nw, int nh,
                         HBITMAP disabled, int dx, int dy, int dw, int dh) {
  HDC dc = item->hDC;
  const RECT& r = item->rcItem;
  const bool pressed = (item->itemState & ODS_SELECTED) != 0;
  {
    const CBrush face(PALETTERGB(192, 192, 192));
    CSelection brush(dc, face.GetSafeHandle());
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
  }
  DrawButtonEdges(dc, r, pressed);

  const bool grey = (item->itemState & ODS_DISABLED) != 0;
  HDC memory = CreateCompatibleDC(dc);
  if (!memory) return;
  {
    CSelection picture(memory, grey ? disabled : normal);
    const int sx = grey ? dx : nx, sy = grey ? dy : ny;
    const int w = grey ? dw : nw, h = grey ? dh : nh;
    const int shift = pressed ? 1 : 0;
    const int x = (r.right - r.left) / 2 - w / 2 + 1 + shift;
    const int y = (r.bottom - r.top) / 2 - h / 2 + 1 + shift;
    if (picture.Selected()) StretchBlt(dc, x, y, w, h, memory, sx, sy, w, h, SRCCOPY);
  }
  DeleteDC(memory);
}
