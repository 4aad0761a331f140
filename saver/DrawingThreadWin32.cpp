#include "saver/DrawingThread.h"

#include <windows.h>

#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/DIBSurface.h"
#include "seams/Alerts.h"
#include "seams/Trace.h"
#include "settings/IniSettings.h"
#include "settings/SaverInfo.h"
#include "transitions/DocumentScreen.h"

namespace {

// A set-up step that failed: traced and alerted, and the thread goes on.
void ReportSetUpFailure(const char* what) {
  seams::Trace::Printf("RunScreenSaver - %s\n", what);
  seams::Alert(what, "ScreenSaverProc", seams::kAlertOk, ::GetFocus());
}

}  // namespace

DWORD WINAPI RunScreenSaver(LPVOID param) {
  auto* pInfo = static_cast<SaverInfo*>(param);
  DrawingThreadAlerts alerts;
  seams::Trace::Printf("MAIN SCREEN SAVER THREAD NOW RUNNING (=%lx)\n\n",
                       static_cast<unsigned long>(pInfo->dwThreadId));
  seams::Trace::Printf("RunScreenSaver - start:\n");
  if (!pInfo->pScreen->Attach(pInfo->hwnd))
    ReportSetUpFailure("Unable to pInfo->pScreen->Attach(pInfo->hwnd)");
  pInfo->pScreenDoc->AddView(pInfo->pScreen);
  pInfo->pScreenDoc->OnNewDocument();
  if (!pInfo->pScreenDoc->SetBackground(pInfo->pdsBackground))
    ReportSetUpFailure("Unable to pInfo->pScreenDoc->SetBackground(pInfo->pdsBackground)");
  CString keyPath;
  BuildRegistryKeyPath(keyPath);
  DocumentScreen screen(pInfo->pScreenDoc);
  RunDrawingThread(pInfo, keyPath, screen);
  return 0;
}
