// MedianCutQuantizer: reduces a 24-bit bitmap (or an 8-bit one, read through its colour table) to
// an 8-bit bitmap with a colour map of at most 256 colours.
//
// Two passes: a colour histogram at 5/6/5 bits of red/green/blue, median-cut boxes over it that
// choose the map, then every pixel mapped to the map, directly or with Floyd-Steinberg error
// diffusion. Distances weigh red x 2, green x 3 and blue x 1, roughly how strongly the eye tells
// the channels apart.
//
// The JPEG library's decompression object carries the parameters and results and serves as the
// memory pool and error manager, so a failure ends through the caller's error exit:
//   in:  desired_number_of_colors (8..256), dither_mode (JDITHER_NONE, anything else is
//        Floyd-Steinberg), out_color_components (must be 3);
//   out: actual_number_of_colors and colormap (rows 0, 1, 2: red, green, blue).
// The destination must already be an 8-bit bitmap of the source's size. Parameters are checked
// and all memory is taken before the first destination pixel is written.
#pragma once

#include "imaging/JpegError.h"

class CDIB;

void MedianCutQuantizer(j_decompress_ptr params, const CDIB& source, CDIB& destination);

// One run of the quantizer on a library object of its own, with the map it chose copied into the
// destination's colour table (entries 0..*count - 1; the rest and biClrUsed as they were). False
// when the library's error exit fired: the destination's pixels and table are then untouched.
// `components` is the colour-component count handed to the quantizer; the system passes 3.
bool RunMedianCut(const CDIB& source, CDIB& destination, int colours, bool dither,
                  int* count = nullptr, int components = 3);
