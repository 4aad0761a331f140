// The dialog driver on a dialog of its own: actions reach the procedure on the dialog's thread,
// a posted command may open a message box that the driver reads and answers, and a script that
// leaves the dialog open does not hang the test.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/wine/config/DialogDriver.h"

namespace {

using dialogtest::Driver;
using dialogtest::RunModal;

constexpr int kTemplate = 300;
constexpr int kCount = 301, kCheck = 302, kCombo = 303, kList = 304, kAsk = 305, kEcho = 306;

DWORD dialogThread = 0;
int counted = 0;
int boxAnswer = 0;

void Echo(HWND dialog, const std::string& text) { SetDlgItemTextA(dialog, kEcho, text.c_str()); }

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      for (const char* item : {"zero", "one", "two"}) {
        SendDlgItemMessageA(dialog, kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendDlgItemMessageA(dialog, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
      }
      return TRUE;
    case WM_COMMAND:
      if (GetCurrentThreadId() != dialogThread) Echo(dialog, "wrong thread");
      switch (LOWORD(wParam)) {
        case kCount: ++counted; return TRUE;
        case kCombo:
          if (HIWORD(wParam) == CBN_SELCHANGE) Echo(dialog, "combo changed");
          return TRUE;
        case kList:
          if (HIWORD(wParam) == LBN_SELCHANGE) Echo(dialog, "list changed");
          return TRUE;
        case kAsk: boxAnswer = MessageBoxA(dialog, "Go on?", "Question", MB_OKCANCEL); return TRUE;
        case IDOK: EndDialog(dialog, 7); return TRUE;
        case IDCANCEL: EndDialog(dialog, 2); return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

class DialogDriverTest : public testing::Test {
 protected:
  void SetUp() override {
    dialogThread = GetCurrentThreadId();
    counted = 0;
    boxAnswer = 0;
  }
};

TEST_F(DialogDriverTest, ActsOnTheDialogThreadAndReadsControlsBack) {
  const auto run = RunModal(GetModuleHandleA(nullptr), kTemplate, TestDialogProc, [](Driver& d) {
    EXPECT_EQ("Driver Test", d.WindowText(d.Dialog()));
    d.Click(kCount);
    d.Click(kCount);
    d.Click(kCheck);
    EXPECT_TRUE(d.Checked(kCheck));
    EXPECT_EQ(3, d.ComboCount(kCombo));
    EXPECT_EQ(-1, d.ComboSelection(kCombo));
    d.SelectCombo(kCombo, 2);
    EXPECT_EQ(2, d.ComboSelection(kCombo));
    EXPECT_EQ("two", d.ComboText(kCombo, 2));
    EXPECT_EQ("combo changed", d.Text(kEcho));
    d.SelectList(kList, 1);
    EXPECT_EQ("list changed", d.Text(kEcho));
    EXPECT_EQ("one", d.ListText(kList, d.ListSelection(kList)));
    d.Click(IDOK);
  });
  EXPECT_EQ(7, run.result);
  EXPECT_FALSE(run.forcedClose);
  EXPECT_EQ(2, counted);
}

TEST_F(DialogDriverTest, APostedCommandOpensAMessageBoxThatTheDriverAnswers) {
  const auto run = RunModal(GetModuleHandleA(nullptr), kTemplate, TestDialogProc, [](Driver& d) {
    d.Post(kAsk);
    EXPECT_EQ("Go on?", d.MessageBoxText());
    d.Sync();
    d.Click(IDCANCEL);
  });
  EXPECT_EQ(IDOK, boxAnswer);  // the default button
  EXPECT_EQ(2, run.result);
}

TEST_F(DialogDriverTest, AScriptThatLeavesTheDialogAndABoxOpenIsClosedForIt) {
  const auto run = RunModal(GetModuleHandleA(nullptr), kTemplate, TestDialogProc, [](Driver& d) {
    d.Post(kAsk);
    ASSERT_NE(nullptr, d.WaitForWindow("Question"));
  });
  EXPECT_TRUE(run.forcedClose);
  EXPECT_EQ(2, run.result);
}

}  // namespace
