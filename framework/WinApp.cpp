#include "framework/WinApp.h"

#ifdef _WIN32

IMPLEMENT_DYNAMIC(CWinApp, CObject)

const AppCommandMap CWinApp::commandMap = {nullptr, nullptr};

const AppCommandMap* CWinApp::GetCommandMap() const { return &CWinApp::commandMap; }

namespace {
CWinApp* application = nullptr;
}  // namespace

CWinApp::CWinApp() { application = this; }

CWinApp::~CWinApp() {
  if (application == this) application = nullptr;
}

CWinApp* GetApplication() { return application; }

BOOL CWinApp::Start() { return TRUE; }

int CWinApp::Run() {
  MSG message;
  while (m_pMainWnd && ::IsWindow(m_pMainWnd->GetSafeHwnd())) {
    const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);  // WM_QUIT
    if (got == -1) break;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}

BOOL CWinApp::OnCmdMsg(UINT id) {
  if (id == 0) return FALSE;  // 0 ends the tables
  for (const AppCommandMap* map = GetCommandMap(); map != nullptr; map = map->base) {
    for (const AppCommandEntry* entry = map->entries; entry && entry->id != 0; ++entry) {
      if (entry->id != id) continue;
      (this->*entry->handler)();
      return TRUE;
    }
  }
  return FALSE;
}

int RunWinApp(HINSTANCE instance) {
  CWinApp* app = GetApplication();
  if (!app) return 1;
  app->m_hInstance = instance;
  if (!app->Start()) return 1;
  return app->Run();
}

#endif
