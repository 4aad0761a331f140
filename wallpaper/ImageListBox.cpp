#include "wallpaper/ImageListBox.h"

IMPLEMENT_DYNAMIC(CImageListBox, CListBox)

static_assert(CImageListBox::kStyle == 0x40A00003, "the hidden list's window style");

BOOL CImageListBox::Create(CWnd* parent, UINT id) {
  const RECT empty = {0, 0, 0, 0};
  return CListBox::Create(kStyle, empty, parent, id);
}
