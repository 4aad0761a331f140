#include "transitions/LayoutRects.h"

#include <new>

#include "framework/Geometry.h"
#include "seams/ScreenSize.h"

namespace {

constexpr int kMinWidth = 640;
constexpr int kMinHeight = 480;
constexpr int kMosaicCell = 160;
constexpr int kGridMargin = 6;

const CSize kSizeOfCode[kMaxSizeCode + 1] = {{0, 0},      {640, 480},  {800, 600},  {1024, 768},
                                             {1152, 864}, {1280, 960}, {1600, 1200}};

// 0 when memory runs out.
BOOL Append(CPtrList* list, int left, int top, int right, int bottom) {
  RECT* rect = new (std::nothrow) RECT{left, top, right, bottom};
  if (!rect) return 0;
  try {
    list->AddTail(rect);
  } catch (const std::bad_alloc&) {
    delete rect;
    return 0;
  }
  return 1;
}

BOOL CentredLayout(CPtrList* list, CSize screen, int sizeCode) {
  if (screen.cx < kMinWidth || screen.cy < kMinHeight) return 0;
  if (sizeCode < 0 || sizeCode > kMaxSizeCode) return 0;
  CSize size = sizeCode == 0 ? screen : kSizeOfCode[sizeCode];
  if (size.cx > screen.cx || size.cy > screen.cy) size = CSize(kMinWidth, kMinHeight);
  const int left = (screen.cx - size.cx) / 2;
  const int top = (screen.cy - size.cy) / 2;
  return Append(list, left, top, left + size.cx, top + size.cy);
}

// Columns of 160 pixels when they fill the width exactly; otherwise one column more, all
// narrower, the first (width mod columns) of them a pixel wider than the rest. 0 when memory runs
// out.
BOOL MosaicLayout(CPtrList* list, CSize screen) {
  const int sw = screen.cx;
  const int sh = screen.cy;
  const int columns = sw % kMosaicCell == 0 ? sw / kMosaicCell : sw / kMosaicCell + 1;
  const int cellWidth = sw / columns;
  const int wider = sw % columns;
  const int cellHeight = cellWidth * 3 / 4;
  if (cellHeight < 1) return 1;
  const int rows = sh / cellHeight + (sh % cellHeight != 0 ? 1 : 0);
  for (int row = 0; row < rows; ++row) {
    const int top = row * cellHeight;
    const int bottom = top + cellHeight < sh ? top + cellHeight : sh;
    int left = 0;
    for (int column = 0; column < columns; ++column) {
      const int width = cellWidth + (column < wider ? 1 : 0);
      if (!Append(list, left, top, left + width, bottom)) return 0;
      left += width;
    }
  }
  return 1;
}

// The picture of a grid cell whose top-left corner is (x, y).
RECT GridPicture(int layout, int x, int y, int row, int column) {
  if (layout == kLayoutLarge) return RECT{x + 18, y + 18, x + 278, y + 213};
  if (layout == kLayoutMixed && (row + column) % 2 == 0) {
    return RECT{x + 98 - 60, y + 78 - 45, x + 98 + 60, y + 78 + 45};
  }
  return RECT{x + 18, y + 18, x + 178, y + 138};
}

// Whole cells within a 6-pixel margin, the space left over shared out evenly as gaps. 0 when
// memory runs out.
BOOL GridLayout(CPtrList* list, CSize screen, int layout) {
  const CSize cell = layout == kLayoutLarge ? CSize(296, 231) : CSize(196, 156);
  const int w = screen.cx - 2 * kGridMargin;
  const int h = screen.cy - 2 * kGridMargin;
  const int columns = w / cell.cx;
  const int rows = h / cell.cy;
  if (columns <= 0 || rows <= 0) return 1;
  const int gx = (w % cell.cx) / (columns + 1);
  const int gy = (h % cell.cy) / (rows + 1);
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      const int x = kGridMargin + gx + column * (cell.cx + gx);
      const int y = kGridMargin + gy + row * (cell.cy + gy);
      const RECT r = GridPicture(layout, x, y, row, column);
      if (!Append(list, r.left, r.top, r.right, r.bottom)) return 0;
    }
  }
  return 1;
}

}  // namespace

BOOL GetImageLayoutRects(CPtrList* list, int layout, int sizeCode) {
  DeleteAllPtrListElements(list);
  const ScreenSize size = GetScreenSize();
  const CSize screen(size.cx, size.cy);
  BOOL made = 1;
  if (layout == kLayoutCentred) {
    made = CentredLayout(list, screen, sizeCode);
  } else if (screen.cx > 0 && screen.cy > 0) {
    if (layout == kLayoutMosaic) made = MosaicLayout(list, screen);
    if (layout >= kLayoutGrid && layout <= kLayoutLarge) made = GridLayout(list, screen, layout);
  }
  if (!made) DeleteAllPtrListElements(list);  // out of memory: no half layout
  return made;
}

void DeleteAllPtrListElements(CPtrList* list) {
  while (!list->IsEmpty()) delete static_cast<RECT*>(list->RemoveHead());
}
