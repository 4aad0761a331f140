// The framework's program side under Wine's null display driver: dialogs from a template, modal
// and modeless, list boxes, and the application object's message loop and command map.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/Dialog.h"
#include "framework/ListBox.h"
#include "framework/WinApp.h"

namespace {

constexpr UINT kTemplate = 100;

// A dialog that counts its initialisation and ends itself from a posted message.
class CountingDialog : public CDialog {
 public:
  CountingDialog() : CDialog(kTemplate) {}
  BOOL OnInitDialog() override {
    ++initialised;
    return TRUE;
  }
  LRESULT OnEndWith(WPARAM result, LPARAM) {
    EndDialog(static_cast<int>(result));
    return 0;
  }
  int initialised = 0;
  DECLARE_MESSAGE_MAP()
};

constexpr UINT kEndWith = WM_APP + 1;

BEGIN_MESSAGE_MAP(CountingDialog, CDialog)
ON_MESSAGE(kEndWith, CountingDialog::OnEndWith)
END_MESSAGE_MAP()

TEST(FrameworkDialog, ModelessDialogLivesAsLongAsItsObject) {
  HWND window = nullptr;
  {
    CountingDialog dialog;
    ASSERT_TRUE(dialog.Create(kTemplate));
    window = dialog.GetSafeHwnd();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(dialog.initialised, 1);
    EXPECT_FALSE(IsWindowVisible(window));  // the template is not WS_VISIBLE
    EXPECT_EQ(CWnd::FromHandlePermanent(window), &dialog);
    EXPECT_FALSE(dialog.Create(kTemplate)) << "a second window for one object";
  }
  EXPECT_FALSE(IsWindow(window)) << "deleting the object destroys its window";

  CountingDialog dialog;
  ASSERT_TRUE(dialog.Create(kTemplate));
  window = dialog.GetSafeHwnd();
  EXPECT_TRUE(dialog.DestroyWindow());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
  EXPECT_FALSE(dialog.DestroyWindow());
}

UINT postMessage;
WPARAM postWParam;

// Posts the chosen message to the active window (the modal dialog) once.
void CALLBACK PostToActiveWindow(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  PostMessageA(GetActiveWindow(), postMessage, postWParam, 0);
}

void CALLBACK DestroyTimerWindow(HWND window, UINT, UINT_PTR, DWORD) { DestroyWindow(window); }

TEST(FrameworkDialog, ModalDialogReturnsWhatEndedIt) {
  struct Case {
    const char* what;
    UINT message;
    WPARAM wParam;
    INT_PTR expected;
  } cases[] = {
      {"OK", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), IDOK},
      {"Cancel", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), IDCANCEL},
      {"the message map's own handler", kEndWith, 42, 42},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CountingDialog dialog;
    // The dialog's first idle moment runs the posted message inside its modal loop.
    postMessage = c.message;
    postWParam = c.wParam;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, PostToActiveWindow);
    ASSERT_NE(timer, 0u);
    EXPECT_EQ(dialog.DoModal(), c.expected);
    EXPECT_EQ(dialog.initialised, 1);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
  }
}

TEST(FrameworkListBox, ItemsAndOwnership) {
  CDialog parent;
  ASSERT_TRUE(parent.Create(kTemplate));
  HWND control = nullptr;
  {
    CListBox list;
    const RECT empty = {0, 0, 0, 0};
    ASSERT_TRUE(list.Create(WS_CHILD | LBS_SORT, empty, &parent, 1000));
    control = list.GetSafeHwnd();
    EXPECT_EQ(GetDlgItem(parent.GetSafeHwnd(), 1000), control);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    for (const char* name : {"pear", "Apple", "fig"}) {
      const int at = list.AddString(name);
      list.SetItemData(at, static_cast<DWORD_PTR>(name[0]));
    }
    ASSERT_EQ(list.GetCount(), 3);
    CString text;
    EXPECT_EQ(list.GetText(0, text), 5);
    EXPECT_STREQ(text, "Apple");
    EXPECT_EQ(list.GetItemData(0), static_cast<DWORD_PTR>('A'));
    EXPECT_EQ(list.GetText(7, text), LB_ERR);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(list.SetCurSel(2), 2);
    EXPECT_EQ(list.GetCurSel(), 2);
    list.ResetContent();
    EXPECT_EQ(list.GetCount(), 0);
  }
  EXPECT_FALSE(IsWindow(control)) << "deleting the object destroys its control";
  CListBox none;
  EXPECT_EQ(none.GetCount(), 0);
  EXPECT_FALSE(none.DestroyWindow());
}

class CountingApp : public CWinApp {
  DECLARE_COMMAND_MAP()
 public:
  void OnFirst() { calls.push_back(1); }
  void OnSecond() { calls.push_back(2); }
  std::vector<int> calls;
};

BEGIN_COMMAND_MAP(CountingApp, CWinApp)
ON_COMMAND(100, CountingApp::OnFirst)
ON_COMMAND(200, CountingApp::OnSecond)
ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
END_COMMAND_MAP()

TEST(FrameworkApp, CommandMapRunsTheNamedHandler) {
  CountingApp app;
  EXPECT_EQ(GetApplication(), &app);
  EXPECT_TRUE(app.OnCmdMsg(200));
  EXPECT_TRUE(app.OnCmdMsg(100));
  EXPECT_TRUE(app.OnCmdMsg(ID_FILE_NEW));
  EXPECT_FALSE(app.OnCmdMsg(300));
  EXPECT_FALSE(app.OnCmdMsg(0));
  EXPECT_EQ(app.calls, (std::vector<int>{2, 1}));
}

TEST(FrameworkApp, MessageLoopRunsWhileThereIsAMainWindow) {
  CountingApp app;
  EXPECT_EQ(app.Run(), 0) << "no main window: the loop ends at once";

  CountingDialog main;
  ASSERT_TRUE(main.Create(kTemplate));
  app.m_pMainWnd = &main;
  // The main window goes while the loop runs; the loop then ends by itself.
  SetTimer(main.GetSafeHwnd(), 1, 10, DestroyTimerWindow);
  EXPECT_EQ(app.Run(), 0);
  EXPECT_EQ(main.GetSafeHwnd(), nullptr);

  CountingDialog other;
  ASSERT_TRUE(other.Create(kTemplate));
  app.m_pMainWnd = &other;
  PostQuitMessage(7);
  EXPECT_EQ(app.Run(), 7) << "WM_QUIT's code";
}

TEST(FrameworkApp, RunWinAppStopsWhenStartFails) {
  struct Failing : CWinApp {
    BOOL Start() override { return FALSE; }
  } app;
  EXPECT_EQ(RunWinApp(GetModuleHandleA(nullptr)), 1);
  EXPECT_EQ(app.m_hInstance, GetModuleHandleA(nullptr));
}

}  // namespace
