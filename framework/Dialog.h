// CDialog: a dialog made from a template of the program's module, modeless (Create) or modal
// (DoModal), whose messages go to the object's message map.
//
// The object is attached to its window from WM_INITDIALOG to WM_NCDESTROY. It belongs to whoever
// made it, never to its window: destroying the window only detaches it, and deleting the object
// destroys a window it made that is still there, so neither can outlive the other.
#pragma once

#include "framework/Wnd.h"

#ifdef _WIN32

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)
 public:
  explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr)
      : m_nIDTemplate(templateId), m_pParentWnd(parent) {}
  ~CDialog() override;

  // Makes the dialog modeless from the template; it shows only when the template says WS_VISIBLE.
  // FALSE when the window could not be made or the object already has one.
  BOOL Create(UINT templateId, CWnd* parent = nullptr);
  // Runs the dialog modally; the value given to EndDialog, or -1 when it could not be made.
  INT_PTR DoModal();
  // Ends a modal dialog with that result (a modeless one is only hidden).
  void EndDialog(int result);
  // Destroys the dialog's window; FALSE when there is none.
  BOOL DestroyWindow();

  // WM_INITDIALOG: TRUE gives the focus to the first control.
  virtual BOOL OnInitDialog();
  // IDOK and IDCANCEL: both end the dialog (with IDOK or IDCANCEL).
  virtual void OnOK();
  virtual void OnCancel();

  // The module dialog templates come from: the process's program.
  static HINSTANCE TemplateInstance();

 protected:
  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND ParentHandle() const { return m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr; }
};

#endif
