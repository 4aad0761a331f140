// Driving a real modal dialog from a test: the test's thread runs the dialog procedure modally
// with its template, as the settings dialog runs it, while a driver thread acts on the dialog as
// a user would and reads its controls back.
//
// The driver acts only through messages that return: a button click (BM_CLICK), a selection
// followed by the notification the control would send, a slider's position followed by its
// release notice. Anything that opens another modal window (a sub-dialog, a message box, a
// full-screen viewer) is posted instead (`Post`), and the driver then waits for that window by
// its caption (`WaitForWindow`). A custom control's own state (a slider's position, a switch's
// state) is set on the dialog's thread (`OnDialogThread`), since the controls are not made to be
// touched from another thread.
//
// Whatever the script does, the dialog ends: when the script returns (or a fatal assertion
// leaves it) with the dialog still open, the driver closes every window the dialog thread still
// shows and cancels the dialog, and the run reports that it had to (`DialogRun::forcedClose`).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace dialogtest {

class Driver;

struct DialogRun {
  INT_PTR result = -1;       // what the dialog ended with (-1: it could not be made)
  bool found = false;        // the driver found the dialog
  bool forcedClose = false;  // the script left it open and the driver cancelled it
};

// Runs the dialog of template `templateId` of `instance` modally on this thread, owned by
// `owner` (may be null), with `param` for WM_INITDIALOG. The script runs on a driver thread
// once a dialog window of this thread has appeared (its caption is whatever the procedure set).
// `timeoutMs` bounds the wait for the dialog and for each WaitForWindow.
DialogRun RunModal(HINSTANCE instance, int templateId, DLGPROC procedure,
                   const std::function<void(Driver&)>& script, HWND owner = nullptr,
                   LPARAM param = 0, DWORD timeoutMs = 20000);

class Driver {
 public:
  HWND Dialog() const { return dialog_; }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }

  // Runs `work` on the dialog's thread and returns when it has run.
  void OnDialogThread(const std::function<void()>& work);

  // Acts on the dialog (or, with `window`, on another dialog of the same thread).
  void Click(int id, HWND window = nullptr);  // BM_CLICK: auto buttons change state
  void Command(int id, int code = BN_CLICKED, HWND window = nullptr);  // sent WM_COMMAND
  void Post(int id, int code = BN_CLICKED, HWND window = nullptr);     // posted WM_COMMAND
  void SelectCombo(int id, int index, HWND window = nullptr);  // CB_SETCURSEL + CBN_SELCHANGE
  void SelectList(int id, int index, HWND window = nullptr);   // LB_SETCURSEL + LBN_SELCHANGE
  // A custom slider ("RVSlider" or "RMSlider") released at `position`: the control's position is
  // set on the dialog's thread, then its parent gets WM_HSCROLL with SB_THUMBPOSITION.
  void ReleaseSlider(int id, int position, HWND window = nullptr);
  // A mouse click on an on/off switch ("RGrnBtn"): button down and up at its centre.
  void ClickSwitch(int id, HWND window = nullptr);
  // A key pressed in a window of the dialog's thread (WM_KEYDOWN, posted).
  void PostKey(HWND target, WPARAM key);

  // Reads back.
  bool Checked(int id, HWND window = nullptr) const;
  int SliderPosition(int id, HWND window = nullptr);  // -1 for no custom slider
  int SwitchState(int id, HWND window = nullptr);     // -1 for no switch
  bool Enabled(int id, HWND window = nullptr) const;
  std::string Text(int id, HWND window = nullptr) const;
  std::string WindowText(HWND window) const;
  int ComboSelection(int id, HWND window = nullptr) const;
  int ComboCount(int id, HWND window = nullptr) const;
  std::string ComboText(int id, int index, HWND window = nullptr) const;
  int ListSelection(int id, HWND window = nullptr) const;
  int ListCount(int id, HWND window = nullptr) const;
  std::string ListText(int id, int index, HWND window = nullptr) const;

  // A visible top-level window of the dialog's thread whose caption is `caption` (or, with an
  // empty caption, any such window other than the dialog and `except`), waited for up to the
  // run's timeout; null when none came.
  HWND WaitForWindow(const std::string& caption, HWND except = nullptr) const;
  // Waits until the window is gone; false when it stayed for the run's timeout.
  bool WaitGone(HWND window) const;
  // The text of the message box showing now (its static text), after waiting for one; "" when
  // none came. `dismiss` presses its default button.
  std::string MessageBoxText(bool dismiss = true) const;

  // Lets the dialog's thread handle what is waiting for it (a round trip through its queue), and
  // paint what the dialog and its controls still have to paint.
  void Sync() const;

  // For the runner.
  Driver(HWND dialog, DWORD thread, HWND runner, DWORD timeoutMs)
      : dialog_(dialog), thread_(thread), runner_(runner), timeoutMs_(timeoutMs) {}

 private:
  HWND Target(HWND window) const { return window ? window : dialog_; }

  HWND dialog_;
  DWORD thread_;
  HWND runner_;  // a message window of the dialog's thread that runs OnDialogThread's work
  DWORD timeoutMs_;
};

}  // namespace dialogtest
