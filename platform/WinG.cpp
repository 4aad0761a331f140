#include "platform/WinG.h"

bool WinGAvailable() { return false; }

HBITMAP WinGCreateBitmap(HDC, const BITMAPINFO*, void** bits) {
  if (bits != nullptr) {
    *bits = nullptr;
  }
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return nullptr;
}
