// The test saver started for its settings (no switch, /c, an unknown one) or for a password.
#include "tests/wine/platform/HostWindow.h"
#include "tests/wine/platform/SaverProcess.h"
#include "tests/wine/platform/TestSaver.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;
const std::optional<DWORD> kExitedOk = 0;
constexpr char kDialogClass[] = "#32770";

std::string DialogText(HWND dialog) {
  char text[64] = "";
  GetWindowTextA(GetDlgItem(dialog, IDC_TESTSAVER_TEXT), text, sizeof text);
  return text;
}

TEST(SaverSettings, EverySettingsSwitchOpensTheModuleDialog) {
  const HWND stale = HostWindow::StaleHandle();
  ASSERT_NE(stale, nullptr);
  for (const std::string& arguments :
       {std::string(""), std::string("/c"), std::string("-C"), std::string("/c:0"),
        std::string("/x"), "/c " + HostWindow::DecimalOf(stale)}) {
    SCOPED_TRACE("arguments \"" + arguments + "\"");
    SaverProcess saver(arguments);
    ASSERT_TRUE(saver.Started()) << "error " << GetLastError();
    const HWND dialog = saver.WaitForTopWindow(kDialogClass);
    ASSERT_NE(dialog, nullptr) << "no settings dialog appeared";
    EXPECT_EQ(DialogText(dialog), TESTSAVER_SETTINGS_TEXT);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);

    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(saver.WaitForExit(), kExitedOk);
    EXPECT_EQ(saver.Log(), (Lines{kLogRegisterDialogClasses, kLogDialogOpened}));
  }
}

TEST(SaverSettings, DialogIsModalToTheWindowTheSwitchNames) {
  HostWindow owner;
  ASSERT_NE(owner.Handle(), nullptr);
  SaverProcess saver("/c:" + owner.Decimal());
  const HWND dialog = saver.WaitForTopWindow(kDialogClass);
  ASSERT_NE(dialog, nullptr) << "no settings dialog appeared";
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner.Handle());
  EXPECT_FALSE(IsWindowEnabled(owner.Handle())) << "the owner stays usable under the dialog";

  PostMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_EQ(saver.WaitForExit(), kExitedOk);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle())) << "the owner stays disabled after the dialog";
}

TEST(SaverSettings, RefusedDialogClassesOpenNoDialog) {
  SaverProcess saver("/c", true);
  EXPECT_EQ(saver.WaitForExit(), std::optional<DWORD>(1));
  EXPECT_EQ(saver.Log(), Lines{kLogRegisterDialogClasses});
}

TEST(SaverPassword, NothingToDoOnThisSystem) {
  HostWindow owner;
  for (const std::string& arguments : {"/a " + owner.Decimal(), std::string("/a")}) {
    SCOPED_TRACE(arguments);
    SaverProcess saver(arguments);
    EXPECT_EQ(saver.WaitForExit(), kExitedOk);
    EXPECT_EQ(saver.Log(), Lines{});
  }
}

}  // namespace
