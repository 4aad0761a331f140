// CListBox: a list-box control made by the program, with the item calls the system uses.
//
// The object owns the control it made: deleting it destroys the control.
#pragma once

#include "framework/String.h"
#include "framework/Wnd.h"

#ifdef _WIN32

class CListBox : public CWnd {
  DECLARE_DYNAMIC(CListBox)
 public:
  CListBox() = default;
  ~CListBox() override;

  // Makes the control as child `id` of the parent; FALSE when it could not be made.
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  // Destroys the control; FALSE when there is none.
  BOOL DestroyWindow();

  // The list-box messages; without a control: 0 items, nothing selected (LB_ERR).
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int index);
  int AddString(const char* text);
  void ResetContent();
  DWORD_PTR GetItemData(int index) const;
  int SetItemData(int index, DWORD_PTR data);
  // The item's text; empty (LB_ERR) when there is no such item.
  int GetText(int index, CString& text) const;

 private:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
};

#endif
