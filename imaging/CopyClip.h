// Clipping for the bitmap copies. CDIB::CopyBits copies nothing unless the whole block lies
// inside both bitmaps, so every caller whose offset may be negative, or whose block may be larger
// than its source, cuts the block to both bitmaps with these first.
#pragma once

// One axis of a copy of `inner` pixels centred on `outer` and cut to it: destination start,
// source start and length (0 when nothing is left).
struct Span {
  int to, from, length;
};
Span CentredSpan(int outer, int inner);

// A block copy: w x h pixels from (sx, sy) of the source to (dx, dy) of the destination.
struct CopyBlock {
  int dx, dy, w, h, sx, sy;
};

// Cuts the block to a source of sw x sh and a destination of dw x dh, moving both corners
// together; false when nothing of it is left. Computed in 64 bits, so any int input is safe.
bool ClipCopyBlock(CopyBlock* block, int sw, int sh, int dw, int dh);
