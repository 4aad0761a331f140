// The saver window of a saver run: ScreenSaverProc reads the settings at WM_CREATE, copies the
// desktop and starts the drawing and music threads at the first WM_ERASEBKGND, and at WM_DESTROY
// stops and joins them before it frees what they shared.
//
// Stopping: the platform hides the window at the first input; WM_DESTROY raises the
// process-wide stop request and waits for both threads together (at most kSaverThreadJoinMs),
// then frees the shared images, the view, the document and the desktop copy's palette. A thread
// that has not ended by then is killed, and nothing it may still hold is freed afterwards: a
// killed drawing thread leaves the shared images and screen objects alone, a killed music thread
// leaves its media device alone. The trace file closes after the join, so the
// threads' last lines are in it.
#pragma once

#include <windows.h>

#include "platform/ScreenSaver.h"

struct SaverInfo;

// How long WM_DESTROY waits for the threads to end before it kills them.
constexpr DWORD kSaverThreadJoinMs = 2000;
// The process's exit code when a thread had to be killed: a hang must not pass for a clean end.
constexpr UINT kExitAfterAbandonedThread = 3;

// The two thread procedures (RunScreenSaver and MusicHandler in a saver run), and what ends the
// process once a thread had to be killed: such a thread may have died holding a lock that the
// normal way out needs (the heap's, the trace's), so the process ends on the spot instead, with
// exit code kExitAfterAbandonedThread (TerminateProcess). Tests install others to watch when and
// how the window starts and ends its threads.
struct SaverThreadProcs {
  LPTHREAD_START_ROUTINE drawing;
  LPTHREAD_START_ROUTINE music;
  void (*endAfterKill)();
};
// Installs procedures for the next saver window; returns the ones in force before.
SaverThreadProcs InstallSaverThreadProcs(const SaverThreadProcs& procs);

// The records handed to the threads, for tests that look at what the window filled in or stand
// in for what a thread leaves there (the drawing thread's picture).
SaverInfo& DrawingRecord();
SaverInfo& MusicRecord();

// Writes the system-information block (version, display capabilities) to the trace; only called
// while tracing is on.
void TraceSystemInfo();
