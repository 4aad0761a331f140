// Moving a whole picture between two CDIB objects, for operations that build their result aside
// and only hand it over once it is complete, so that a failure leaves the target as it was.
#pragma once

#include <utility>

#include "imaging/DIB.h"

// Exchanges the header, bits and ownership of two bitmaps; each frees what it then holds.
inline void SwapDIBContent(CDIB& a, CDIB& b) {
  std::swap(a.header, b.header);
  std::swap(a.bits, b.bits);
  std::swap(a.ownsBits, b.ownsBits);
}
