#include "imaging/CopyClip.h"

#include <algorithm>
#include <cstdint>

Span CentredSpan(int outer, int inner) {
  const int start = outer / 2 - inner / 2;
  const int to = std::max(start, 0);
  const int from = to - start;
  return Span{to, from, std::max(0, std::min(inner - from, outer - to))};
}

namespace {

// One axis: destination start d, source start s, length n, cut to both extents.
bool ClipAxis(int* d, int* s, int* n, int sourceExtent, int destinationExtent) {
  int64_t dd = *d, ss = *s, nn = *n;
  const int64_t shift = std::max<int64_t>({0, -dd, -ss});
  dd += shift;
  ss += shift;
  nn -= shift;
  nn = std::min({nn, int64_t{sourceExtent} - ss, int64_t{destinationExtent} - dd});
  if (nn <= 0) return false;
  *d = static_cast<int>(dd);
  *s = static_cast<int>(ss);
  *n = static_cast<int>(nn);
  return true;
}

}  // namespace

bool ClipCopyBlock(CopyBlock* block, int sw, int sh, int dw, int dh) {
  if (!block) return false;
  CopyBlock b = *block;
  if (!ClipAxis(&b.dx, &b.sx, &b.w, sw, dw) || !ClipAxis(&b.dy, &b.sy, &b.h, sh, dh)) return false;
  *block = b;
  return true;
}
