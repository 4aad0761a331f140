#include "tests/wine/config/DialogDriver.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <vector>

#include <gtest/gtest.h>

#include "controls/ControlsSliders.h"
#include "framework/Wnd.h"

namespace dialogtest {
namespace {

constexpr UINT kRunWork = WM_APP + 0x31;  // lParam: the std::function<void()> to run
constexpr UINT kSync = WM_APP + 0x32;     // wParam: the dialog to paint; lParam: the event to set
constexpr char kRunnerClass[] = "DialogDriverRunner";
constexpr DWORD kPollMs = 10;
constexpr DWORD kGraceMs = 2000;

LRESULT CALLBACK RunnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunWork) {
    (*reinterpret_cast<const std::function<void()>*>(lParam))();
    return 0;
  }
  if (message == kSync) {
    // Paints come only once the queue is empty: those still pending are done before the answer.
    if (HWND dialog = reinterpret_cast<HWND>(wParam))
      RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    SetEvent(reinterpret_cast<HANDLE>(lParam));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND NewRunner() {
  static const ATOM atom = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RunnerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kRunnerClass;
    return RegisterClassA(&wc);
  }();
  if (!atom) return nullptr;
  return CreateWindowA(kRunnerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                       GetModuleHandleA(nullptr), nullptr);
}

// The dialog of the run on this thread: the real procedure behind a trampoline that records the
// window and the end of WM_INITDIALOG.
struct ModalState {
  DLGPROC procedure = nullptr;
  volatile HWND dialog = nullptr;
  volatile LONG initialised = 0;
};
thread_local ModalState* current = nullptr;

INT_PTR CALLBACK Trampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ModalState* state = current;
  if (message == WM_INITDIALOG) state->dialog = window;
  const INT_PTR result = state->procedure(window, message, wParam, lParam);
  if (message == WM_INITDIALOG) InterlockedExchange(&state->initialised, 1);
  return result;
}

// A named callback: a lambda converts only to the default calling convention, which 32-bit
// Windows' enumeration callbacks do not use.
BOOL CALLBACK AddIfVisible(HWND window, LPARAM list) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> VisibleWindowsOf(DWORD thread) {
  std::vector<HWND> windows;
  EnumThreadWindows(thread, AddIfVisible, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::string TextOf(HWND window) {
  char text[1024] = "";
  // WM_GETTEXT across threads returns; GetWindowText would not ask another thread's control.
  SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

struct DriverStart {
  ModalState* state;
  DWORD thread;
  HWND runner;
  DWORD timeoutMs;
  const std::function<void(Driver&)>* script;
  DialogRun* run;
};

// Every window the dialog's thread still shows is told to close, then the dialog is cancelled.
void CloseWhatIsLeft(HWND dialog, DWORD thread, HWND runner) {
  for (HWND window : VisibleWindowsOf(thread)) {
    if (window == dialog || window == runner) continue;
    if (ClassOf(window) == "#32770") {
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    } else {
      PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    }
  }
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

DWORD WINAPI DriverThread(void* argument) {
  DriverStart* start = static_cast<DriverStart*>(argument);
  ModalState* state = start->state;
  const DWORD begin = GetTickCount();
  // The script starts once WM_INITDIALOG has returned, or earlier when the initialisation opened
  // a window of its own (a message box), which the script answers first.
  for (;;) {
    HWND dialog = state->dialog;
    if (dialog && state->initialised) break;
    if (dialog && !VisibleWindowsOf(start->thread).empty()) {
      bool other = false;
      for (HWND window : VisibleWindowsOf(start->thread)) other |= window != dialog;
      if (other) break;
    }
    if (GetTickCount() - begin > start->timeoutMs) return 0;
    Sleep(kPollMs);
  }
  start->run->found = true;
  Driver driver(state->dialog, start->thread, start->runner, start->timeoutMs);
  try {
    (*start->script)(driver);
  } catch (const std::exception& error) {
    ADD_FAILURE() << "the dialog script threw: " << error.what();
  } catch (...) {
    ADD_FAILURE() << "the dialog script threw";
  }
  // A dialog that the script ended is gone once its modal loop sees the end.
  const DWORD ending = GetTickCount();
  while (IsWindow(state->dialog) && GetTickCount() - ending < kGraceMs) Sleep(kPollMs);
  const DWORD closing = GetTickCount();
  while (IsWindow(state->dialog)) {
    if (!start->run->forcedClose) start->run->forcedClose = true;
    if (GetTickCount() - closing > start->timeoutMs) {
      std::fprintf(stderr, "dialog driver: the dialog did not close; ending the test program\n");
      std::fflush(stderr);
      std::_Exit(3);
    }
    CloseWhatIsLeft(state->dialog, start->thread, start->runner);
    Sleep(100);
  }
  return 0;
}

}  // namespace

DialogRun RunModal(HINSTANCE instance, int templateId, DLGPROC procedure,
                   const std::function<void(Driver&)>& script, HWND owner, LPARAM param,
                   DWORD timeoutMs) {
  DialogRun run;
  ModalState state;
  state.procedure = procedure;
  ModalState* outer = current;
  current = &state;
  HWND runner = NewRunner();
  DriverStart start{&state, GetCurrentThreadId(), runner, timeoutMs, &script, &run};
  HANDLE thread = CreateThread(nullptr, 0, DriverThread, &start, 0, nullptr);
  run.result = DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, Trampoline, param);
  // The script may still ask this thread for work: answer it until the driver ends.
  while (thread &&
         MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  if (thread) CloseHandle(thread);
  DestroyWindow(runner);
  current = outer;
  EXPECT_TRUE(run.found) << "the dialog " << templateId << " did not appear";
  return run;
}

void Driver::OnDialogThread(const std::function<void()>& work) {
  SendMessageA(runner_, kRunWork, 0, reinterpret_cast<LPARAM>(&work));
}

void Driver::Click(int id, HWND window) {
  SendMessageA(GetDlgItem(Target(window), id), BM_CLICK, 0, 0);
}

void Driver::Command(int id, int code, HWND window) {
  HWND target = Target(window);
  SendMessageA(target, WM_COMMAND, MAKEWPARAM(id, code),
               reinterpret_cast<LPARAM>(GetDlgItem(target, id)));
}

void Driver::Post(int id, int code, HWND window) {
  HWND target = Target(window);
  PostMessageA(target, WM_COMMAND, MAKEWPARAM(id, code),
               reinterpret_cast<LPARAM>(GetDlgItem(target, id)));
}

void Driver::SelectCombo(int id, int index, HWND window) {
  SendMessageA(GetDlgItem(Target(window), id), CB_SETCURSEL, index, 0);
  Command(id, CBN_SELCHANGE, window);
}

void Driver::SelectList(int id, int index, HWND window) {
  SendMessageA(GetDlgItem(Target(window), id), LB_SETCURSEL, index, 0);
  Command(id, LBN_SELCHANGE, window);
}

void Driver::ReleaseSlider(int id, int position, HWND window) {
  HWND target = Target(window);
  HWND slider = GetDlgItem(target, id);
  // The sliders keep their position in their wrapper, where a drag leaves it.
  OnDialogThread([&] {
    CWnd* wrapper = CWnd::FromHandlePermanent(slider);
    if (auto* vertical = dynamic_cast<CRVSliderCtl*>(wrapper)) vertical->SetPos(position);
    if (auto* horizontal = dynamic_cast<CRMSliderCtl*>(wrapper)) horizontal->SetPos(position);
  });
  SendMessageA(target, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position),
               reinterpret_cast<LPARAM>(slider));
}

void Driver::ClickSwitch(int id, HWND window) {
  HWND button = GetDlgItem(Target(window), id);
  RECT box = {};
  GetClientRect(button, &box);
  const LPARAM centre = MAKELPARAM(box.right / 2, box.bottom / 2);
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  SendMessageA(button, WM_LBUTTONUP, 0, centre);
}

int Driver::SliderPosition(int id, HWND window) {
  HWND slider = GetDlgItem(Target(window), id);
  int position = -1;
  OnDialogThread([&] {
    CWnd* wrapper = CWnd::FromHandlePermanent(slider);
    if (auto* vertical = dynamic_cast<CRVSliderCtl*>(wrapper)) position = vertical->position;
    if (auto* horizontal = dynamic_cast<CRMSliderCtl*>(wrapper)) position = horizontal->position;
  });
  return position;
}

int Driver::SwitchState(int id, HWND window) {
  HWND button = GetDlgItem(Target(window), id);
  int state = -1;
  OnDialogThread([&] {
    if (auto* wrapper = dynamic_cast<CRGrnBtnCtl*>(CWnd::FromHandlePermanent(button))) {
      state = wrapper->state;
    }
  });
  return state;
}

void Driver::PostKey(HWND target, WPARAM key) { PostMessageA(target, WM_KEYDOWN, key, 0); }

bool Driver::Checked(int id, HWND window) const {
  return SendMessageA(GetDlgItem(Target(window), id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool Driver::Enabled(int id, HWND window) const {
  return IsWindowEnabled(GetDlgItem(Target(window), id)) != FALSE;
}

std::string Driver::Text(int id, HWND window) const {
  return TextOf(GetDlgItem(Target(window), id));
}

std::string Driver::WindowText(HWND window) const { return TextOf(window); }

int Driver::ComboSelection(int id, HWND window) const {
  return static_cast<int>(SendMessageA(GetDlgItem(Target(window), id), CB_GETCURSEL, 0, 0));
}

int Driver::ComboCount(int id, HWND window) const {
  return static_cast<int>(SendMessageA(GetDlgItem(Target(window), id), CB_GETCOUNT, 0, 0));
}

std::string Driver::ComboText(int id, int index, HWND window) const {
  HWND combo = GetDlgItem(Target(window), id);
  const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return "";
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

int Driver::ListSelection(int id, HWND window) const {
  return static_cast<int>(SendMessageA(GetDlgItem(Target(window), id), LB_GETCURSEL, 0, 0));
}

int Driver::ListCount(int id, HWND window) const {
  return static_cast<int>(SendMessageA(GetDlgItem(Target(window), id), LB_GETCOUNT, 0, 0));
}

std::string Driver::ListText(int id, int index, HWND window) const {
  HWND list = GetDlgItem(Target(window), id);
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return "";
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(length));
  return text;
}

HWND Driver::WaitForWindow(const std::string& caption, HWND except) const {
  const DWORD begin = GetTickCount();
  for (;;) {
    for (HWND window : VisibleWindowsOf(thread_)) {
      if (window == runner_) continue;
      if (caption.empty() ? (window != dialog_ && window != except) : TextOf(window) == caption) {
        return window;
      }
    }
    if (GetTickCount() - begin > timeoutMs_) return nullptr;
    Sleep(kPollMs);
  }
}

bool Driver::WaitGone(HWND window) const {
  const DWORD begin = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount() - begin > timeoutMs_) return false;
    Sleep(kPollMs);
  }
  return true;
}

std::string Driver::MessageBoxText(bool dismiss) const {
  HWND box = WaitForWindow("");
  if (!box || ClassOf(box) != "#32770") return "";
  std::string text;
  HWND defaultButton = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::string kind = ClassOf(child);
    const LONG style = GetWindowLongA(child, GWL_STYLE);
    if (kind == "Static" && (style & SS_TYPEMASK) != SS_ICON && text.empty()) {
      text = TextOf(child);
    }
    if (kind == "Button" && (style & 0x0F) == BS_DEFPUSHBUTTON) defaultButton = child;
  }
  if (dismiss) {
    if (defaultButton) {
      SendMessageA(defaultButton, BM_CLICK, 0, 0);
    } else {
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    WaitGone(box);
  }
  return text;
}

void Driver::Sync() const {
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!done) return;
  if (PostMessageA(runner_, kSync, reinterpret_cast<WPARAM>(dialog_),
                   reinterpret_cast<LPARAM>(done))) {
    WaitForSingleObject(done, timeoutMs_);
  }
  CloseHandle(done);
}

}  // namespace dialogtest
