// The JPEG library's error handling as this system uses it.
//
// The library's standard error manager with its error exit replaced: instead of ending the
// process, an error writes the library's message to the trace and jumps back to the return point
// that the caller set with setjmp, which then destroys its library object and reports failure.
// Messages never reach a message box. Warnings that mean picture data was lost (a file that
// ends early, corrupt entropy-coded data) are errors too: such a picture is refused rather than
// shown with grey or garbled rows.
//
// A caller keeps the frames between its setjmp and the library free of objects with destructors.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include "framework/WinTypes.h"  // before jpeglib.h: Windows' "boolean" must come first

#include <jpeglib.h>

struct JpegErrorManager {
  jpeg_error_mgr pub;
  jmp_buf returnPoint;
};

// Sets the manager up (standard manager, this system's exit and message routines) and returns
// its public part for the library object's err field.
jpeg_error_mgr* InitJpegErrorManager(JpegErrorManager& manager);

// The replaced error exit: the message routine, then a jump to the return point with 1.
[[noreturn]] void JpegErrorExit(j_common_ptr object);
