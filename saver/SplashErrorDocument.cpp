// The error splash on the drawing thread's screen document (Windows).
#include "saver/SplashError.h"
#include "settings/SaverInfo.h"
#include "transitions/DocumentScreen.h"

void ShowSplashErrorText(SaverInfo* pInfo, const CString* text) {
  DocumentScreen screen(pInfo ? pInfo->pScreenDoc : nullptr);
  ShowSplashErrorText(screen, pInfo ? pInfo->nRunTimeError : 0, text);
}
