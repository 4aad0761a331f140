#include "saver/DrawingThread.h"

#include "imaging/DIB.h"
#include "seams/Clock.h"
#include "settings/SaverInfo.h"
#include "transitions/FrontEnds.h"

CDIB* CurrentImageDIB = nullptr;

int RunDrawingThread(SaverInfo* pInfo, const char* /*keyPath*/, TransitionScreen& /*screen*/) {
  while (seams::WaitMilliseconds(1000)) {
  }
  return pInfo->nRunTimeError;
}

CString LastDrawingThreadAlert() { return CString(); }
