#include "controls/ProductTitle.h"

#include <windows.h>

#include "res/DialogIds.h"

CString GetProductTitle() {
  char title[64] = "";
  ::LoadStringA(::GetModuleHandleA(nullptr), IDS_PRODUCTTITLE, title, sizeof title);
  return CString(title);
}
