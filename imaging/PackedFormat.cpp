#include "imaging/PackedFormat.h"

namespace packed {

const uint8_t kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                             12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                             35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                             58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 62, 55, 63};

const uint8_t kStandardZigzag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

const char* StatusText(int32_t status) {
  switch (status) {
    case kOk: return "usable";
    case kNoMemory: return "out of memory";
    case kBadMagic: return "not a packed image, or the file cannot be read";
    case kBadType: return "unknown image type";
    case kBadSize: return "bad image size";
    case kBadPalette: return "bad palette size";
    case kBadBlockCount: return "blocks per macroblock do not fit the type";
    case kBadMacroblocks: return "macroblock count does not fit the size";
    case kTruncated: return "the image data ends early";
    case kCorruptData: return "corrupt image data";
    case kStopped: return "stopped";
    default: return "unknown status";
  }
}

}  // namespace packed
