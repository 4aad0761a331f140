#include "imaging/JpegError.h"

#include "seams/Trace.h"

#include <jerror.h>

namespace {

// The library's message, formatted by its own routine, as a trace line.
void TraceJpegMessage(j_common_ptr object) {
  char text[JMSG_LENGTH_MAX];
  (*object->err->format_message)(object, text);
  seams::Trace::Printf("JPEG library: %s\n", text);
}

// Warnings after which rows of the picture are missing or made up.
bool LosesPictureData(int code) {
  switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC: return true;
    default: return false;
  }
}

// Level -1 is a warning; higher levels are trace messages the library only wants shown when its
// trace level asks for them.
void EmitJpegMessage(j_common_ptr object, int level) {
  jpeg_error_mgr* err = object->err;
  if (level < 0) {
    if (LosesPictureData(err->msg_code)) JpegErrorExit(object);
    ++err->num_warnings;
    (*err->output_message)(object);
  } else if (err->trace_level >= level) {
    (*err->output_message)(object);
  }
}

}  // namespace

jpeg_error_mgr* InitJpegErrorManager(JpegErrorManager& manager) {
  jpeg_error_mgr* err = jpeg_std_error(&manager.pub);
  err->error_exit = JpegErrorExit;
  err->output_message = TraceJpegMessage;
  err->emit_message = EmitJpegMessage;
  return err;
}

void JpegErrorExit(j_common_ptr object) {
  (*object->err->output_message)(object);
  // The manager is the first member: the library object's err points at the whole record.
  std::longjmp(reinterpret_cast<JpegErrorManager*>(object->err)->returnPoint, 1);
}
