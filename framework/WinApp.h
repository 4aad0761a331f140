// CWinApp: the one application object of a program built on the framework.
//
// The program defines a global object of a class derived from CWinApp and a WinMain that calls
// RunWinApp. RunWinApp runs the object's instance initialisation (Start) and then its message
// loop (Run), which goes on only while the application has a main window: a program whose Start
// does its work and leaves no main window ends at once.
//
// Commands (menu and accelerator identifiers) reach the application through its command map,
// looked up from the object's own class up to CWinApp, in the manner of the window message map:
//
//   BEGIN_COMMAND_MAP(CMyApp, CWinApp)
//     ON_COMMAND(ID_APP_ABOUT, CMyApp::OnAppAbout)
//   END_COMMAND_MAP()
#pragma once

#include "framework/Object.h"
#include "framework/Wnd.h"

#ifdef _WIN32

// The standard command identifiers.
constexpr UINT ID_FILE_NEW = 0xE100;
constexpr UINT ID_FILE_OPEN = 0xE101;
constexpr UINT ID_FILE_PRINT_SETUP = 0xE106;
constexpr UINT ID_APP_ABOUT = 0xE140;

class CWinApp;

typedef void (CWinApp::*AppCommandHandler)();

struct AppCommandEntry {
  UINT id;  // 0 ends a table
  AppCommandHandler handler;
};

struct AppCommandMap {
  const AppCommandMap* base;  // the base class's map; null for CWinApp's
  const AppCommandEntry* entries;
};

#define DECLARE_COMMAND_MAP()                    \
 public:                                         \
  static const AppCommandMap commandMap;         \
  static const AppCommandEntry commandEntries[]; \
  const AppCommandMap* GetCommandMap() const override;

#define BEGIN_COMMAND_MAP(theClass, baseClass)                                                   \
  const AppCommandMap* theClass::GetCommandMap() const { return &theClass::commandMap; }         \
  const AppCommandMap theClass::commandMap = {&baseClass::commandMap, theClass::commandEntries}; \
  const AppCommandEntry theClass::commandEntries[] = {
#define ON_COMMAND(id, memberFn) {(id), static_cast<AppCommandHandler>(&memberFn)},
#define END_COMMAND_MAP() \
  { 0, nullptr }          \
  }                       \
  ;

class CWinApp : public CObject {
  DECLARE_DYNAMIC(CWinApp)
 public:
  // Registers the object as the process's application (the last one made).
  CWinApp();
  ~CWinApp() override;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // The instance initialisation; FALSE ends the program without running the message loop.
  virtual BOOL Start();
  // Dispatches messages while the main window exists and no WM_QUIT arrived; the exit code
  // (WM_QUIT's, or 0).
  virtual int Run();

  // Runs the command's handler; FALSE when the command map has none.
  BOOL OnCmdMsg(UINT id);

  // The standard handlers a program's map may name. The framework keeps no document kinds and no
  // printer set-up, so there is nothing to make, open or set up: they do nothing.
  void OnFileNew() {}
  void OnFileOpen() {}
  void OnFilePrintSetup() {}

  HINSTANCE m_hInstance = nullptr;
  CWnd* m_pMainWnd = nullptr;  // not owned

  static const AppCommandMap commandMap;
  virtual const AppCommandMap* GetCommandMap() const;
};

// The process's application object, or null.
CWinApp* GetApplication();

// What a program's WinMain does: sets the application's instance, runs Start, then Run when Start
// succeeded. The exit code: Run's, or 1 when Start failed or there is no application object.
int RunWinApp(HINSTANCE instance);

#endif
