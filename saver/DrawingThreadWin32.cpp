#include "saver/DrawingThread.h"

#include <windows.h>

#include "imaging/AnimDoc.h"
#include "seams/Clock.h"
#include "seams/Trace.h"
#include "settings/IniSettings.h"
#include "settings/SaverInfo.h"
#include "transitions/DocumentScreen.h"

namespace {

DWORD RunOnDocument(SaverInfo* pInfo) {
  CString keyPath;
  BuildRegistryKeyPath(keyPath);
  DocumentScreen screen(pInfo->pScreenDoc);
  RunDrawingThread(pInfo, keyPath, screen);
  return 0;
}

}  // namespace

DWORD WINAPI RunScreenSaver(LPVOID param) {
  auto* pInfo = static_cast<SaverInfo*>(param);
  DrawingThreadAlerts alerts;
  seams::Trace::Printf("MAIN SCREEN SAVER THREAD NOW RUNNING (=%lx)\n\n",
                       static_cast<unsigned long>(pInfo->dwThreadId));
  seams::Trace::Printf("RunScreenSaver - start:\n");
  // Nothing leaves the thread as an exception: RunDrawingThread catches its own; this is for the
  // key path and the screen around it.
  try {
    return RunOnDocument(pInfo);
  } catch (...) {
    if (pInfo->nRunTimeError == 0) pInfo->nRunTimeError = kDrawingThreadOutOfMemory;
    seams::Trace::Printf("RunScreenSaver - out of memory: run-time error %d\n",
                         pInfo->nRunTimeError);
  }
  seams::WaitForStop();
  return 0;
}
