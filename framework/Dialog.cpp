#include "framework/Dialog.h"

#ifdef _WIN32

IMPLEMENT_DYNAMIC(CDialog, CWnd)

CDialog::~CDialog() { DestroyWindow(); }

HINSTANCE CDialog::TemplateInstance() { return ::GetModuleHandleA(nullptr); }

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  if (m_hWnd) return FALSE;
  m_nIDTemplate = templateId;
  m_pParentWnd = parent;
  // WM_INITDIALOG attaches the object (DialogProc); a window that fails there is gone already.
  HWND window = ::CreateDialogParamA(TemplateInstance(), MAKEINTRESOURCEA(templateId),
                                     ParentHandle(), DialogProc, reinterpret_cast<LPARAM>(this));
  return window != nullptr && m_hWnd == window;
}

INT_PTR CDialog::DoModal() {
  if (m_hWnd) return -1;
  return ::DialogBoxParamA(TemplateInstance(), MAKEINTRESOURCEA(m_nIDTemplate), ParentHandle(),
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(int result) {
  if (m_hWnd) ::EndDialog(m_hWnd, result);
}

BOOL CDialog::DestroyWindow() {
  HWND window = m_hWnd;
  if (!window) return FALSE;
  const BOOL destroyed = ::DestroyWindow(window);
  Detach();  // WM_NCDESTROY has detached it already when the window went
  return destroyed;
}

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
    if (!dialog || !dialog->Attach(window)) {
      ::DestroyWindow(window);
      return FALSE;
    }
    return dialog->OnInitDialog();
  }
  CDialog* dialog = static_cast<CDialog*>(FromHandlePermanent(window));
  if (!dialog) return FALSE;
  LRESULT result = 0;
  INT_PTR handled = FALSE;
  if (dialog->OnWndMsg(message, wParam, lParam, &result)) {
    ::SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    handled = TRUE;
  } else if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
             (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    if (LOWORD(wParam) == IDOK) {
      dialog->OnOK();
    } else {
      dialog->OnCancel();
    }
    handled = TRUE;
  }
  if (message == WM_NCDESTROY) dialog->Detach();  // the window's last message
  return handled;
}

#endif
