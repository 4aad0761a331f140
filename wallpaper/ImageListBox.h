// The hidden list of every image of the wallpaper program: image titles whose item data are their
// descriptions (the title-list routines fill and read it), or the own-images file names.
#pragma once

#include "framework/ListBox.h"

class CImageListBox : public CListBox {
  DECLARE_DYNAMIC(CImageListBox)
 public:
  // Child, bordered, scrolled, notifying and sorted by the control; never shown.
  static constexpr DWORD kStyle = WS_CHILD | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_SORT;

  // Makes the control as child `id` of the parent with an empty rectangle.
  BOOL Create(CWnd* parent, UINT id);
};
