#include "framework/ListBox.h"

#ifdef _WIN32

IMPLEMENT_DYNAMIC(CListBox, CWnd)

CListBox::~CListBox() { DestroyWindow(); }

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  if (m_hWnd) return FALSE;
  HWND parentWindow = parent ? parent->GetSafeHwnd() : nullptr;
  HWND control = ::CreateWindowExA(0, "LISTBOX", nullptr, style, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, parentWindow,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                   ::GetModuleHandleA(nullptr), nullptr);
  if (!control) return FALSE;
  if (!Attach(control)) {
    ::DestroyWindow(control);
    return FALSE;
  }
  return TRUE;
}

BOOL CListBox::DestroyWindow() {
  HWND control = Detach();
  return control ? ::DestroyWindow(control) : FALSE;
}

LRESULT CListBox::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return m_hWnd ? ::SendMessageA(m_hWnd, message, wParam, lParam) : LB_ERR;
}

int CListBox::GetCount() const {
  const LRESULT count = Send(LB_GETCOUNT);
  return count == LB_ERR ? 0 : static_cast<int>(count);
}

int CListBox::GetCurSel() const { return static_cast<int>(Send(LB_GETCURSEL)); }

int CListBox::SetCurSel(int index) { return static_cast<int>(Send(LB_SETCURSEL, index)); }

int CListBox::AddString(const char* text) {
  return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

void CListBox::ResetContent() { Send(LB_RESETCONTENT); }

DWORD_PTR CListBox::GetItemData(int index) const {
  return static_cast<DWORD_PTR>(Send(LB_GETITEMDATA, index));
}

int CListBox::SetItemData(int index, DWORD_PTR data) {
  return static_cast<int>(Send(LB_SETITEMDATA, index, static_cast<LPARAM>(data)));
}

int CListBox::GetText(int index, CString& text) const {
  text.Empty();
  const LRESULT length = Send(LB_GETTEXTLEN, index);
  if (length == LB_ERR) return LB_ERR;
  char* buffer = text.GetBufferSetLength(static_cast<int>(length));
  const LRESULT copied = Send(LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer));
  text.ReleaseBuffer(copied == LB_ERR ? 0 : static_cast<int>(copied));
  return static_cast<int>(copied);
}

#endif
