// The drawing thread: binds the screen view and document to the saver window, loads the image
// set's descriptions (or lists the user's own image folder) and then, image after image: chooses
// the next picture, loads it, takes the old one off the screen and brings the new one on with a
// random transition, shows its caption, runs the chosen display routine for the time per image,
// and keeps the finished screen as the background of the next change.
//
// Stopping: every wait of the thread goes through the clock seam, so a stop request (raised by
// the saver window before it joins the thread) ends the work within a fraction of a second. Any
// failure ends in the error splash, which also returns on a stop request.
//
// Message boxes: an alert raised on this thread would take the focus and close the saver, then
// block its join; the thread installs an alert sink of its own that writes "Alert: <text>" to
// the trace and keeps the last text.
#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

struct SaverInfo;
class CDIB;
class TransitionScreen;

// The thread's whole work on a screen: set-up, then image changes until a stop is requested.
// Nothing leaves it as an exception: a failure that escapes the routines (memory exhausted) is
// recorded as nRunTimeError 6 unless an error was already recorded, and the thread waits for the
// stop as it does after the error splash.
// pInfo: the drawing record (settings, folders, nRunTimeError; the thread writes only
// nRunTimeError and its picture pCurrentImage, which it leaves to the caller to delete); keyPath:
// the settings key path ("LASTIMAGENO" and "OWNIMAGES_LASTIMAGENO" are written there every
// change). The screen must hold the desktop copy as its background. Returns
// once a stop is requested, with the run-time error number the thread ended on (0 when it was
// stopped with no error).
int RunDrawingThread(SaverInfo* pInfo, const char* keyPath, TransitionScreen& screen);

// The run-time error a failure that escaped the drawing thread's routines is recorded as.
constexpr int kDrawingThreadOutOfMemory = 6;

// The text of the last alert raised on the drawing thread, "" when there was none.
CString LastDrawingThreadAlert();

// Installs the drawing thread's alert sink on the calling thread for the object's lifetime:
// "Alert: <text>" goes to the trace and the text is kept (LastDrawingThreadAlert); a yes-or-no
// question is answered no. RunDrawingThread installs one itself.
namespace seams {
class AlertSink;
}
class DrawingThreadAlerts {
 public:
  DrawingThreadAlerts();
  ~DrawingThreadAlerts();
  DrawingThreadAlerts(const DrawingThreadAlerts&) = delete;
  DrawingThreadAlerts& operator=(const DrawingThreadAlerts&) = delete;

 private:
  seams::AlertSink* sink_;
  seams::AlertSink* previous_;
};

// The colour reduction of a picture with more than 256 colours: 204 colours, dithered, into the
// target; FALSE when it fails. Replaceable, so that tests can make it fail.
using ColourReducer = BOOL (*)(CDIB* source, CDIB* target);
extern ColourReducer DrawingThreadColourReducer;

#ifdef _WIN32
// The thread procedure (CreateThread with the drawing record as the argument). The saver window
// has attached the record's view (pScreen) to itself, added it to the screen document
// (pScreenDoc) and handed the document the desktop copy (pdsBackground) as its background before
// the thread starts; the thread runs RunDrawingThread on the document with the product's
// settings key path. Returns 0 once a stop is requested.
DWORD WINAPI RunScreenSaver(LPVOID pInfo);
#endif
