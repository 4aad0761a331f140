#include "saver/DrawingThread.h"

#include <windows.h>

#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/DIBSurface.h"
#include "settings/IniSettings.h"
#include "settings/SaverInfo.h"
#include "transitions/DocumentScreen.h"

DWORD WINAPI RunScreenSaver(LPVOID param) {
  auto* pInfo = static_cast<SaverInfo*>(param);
  pInfo->pScreen->Attach(pInfo->hwnd);
  pInfo->pScreenDoc->AddView(pInfo->pScreen);
  pInfo->pScreenDoc->OnNewDocument();
  pInfo->pScreenDoc->SetBackground(pInfo->pdsBackground);
  CString keyPath;
  BuildRegistryKeyPath(keyPath);
  DocumentScreen screen(pInfo->pScreenDoc);
  RunDrawingThread(pInfo, keyPath, screen);
  return 0;
}
