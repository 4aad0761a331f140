// What the test-only saver module (testsaver.cpp) and the tests that drive it agree on.
// Plain #defines above the guard are read by testsaver.rc as well.
#pragma once

#define IDC_TESTSAVER_TEXT 1001
#define TESTSAVER_SETTINGS_TEXT "Test saver settings"

#ifndef RC_INVOKED
#include <windows.h>

// The module paints the left half of its window in one colour and the right half in the other,
// so a capture shows both that the window covers the screen and that it is not shifted.
constexpr COLORREF kTestSaverLeftColour = RGB(0x10, 0x80, 0xF0);
constexpr COLORREF kTestSaverRightColour = RGB(0xF0, 0xC0, 0x20);

// Posted to the saver window: the module sets the window's title to "ack <wParam>". The posted
// messages before it have been handled once the title says so.
constexpr UINT kTestSaverAckMessage = WM_APP + 1;

// Environment of the module's process. TESTSAVER_LOG names a file the module appends one line
// to for each event (see testsaver.cpp); TESTSAVER_REFUSE_DIALOG makes RegisterDialogClasses
// return FALSE.
constexpr char kTestSaverLogVariable[] = "TESTSAVER_LOG";
constexpr char kTestSaverRefuseVariable[] = "TESTSAVER_REFUSE_DIALOG";

// The lines of the log.
constexpr char kLogRegisterDialogClasses[] = "register-dialog-classes";
constexpr char kLogDialogOpened[] = "dialog-opened";
constexpr char kLogCreatedFullScreen[] = "created full-screen";
constexpr char kLogCreatedPreview[] = "created preview";
#endif
