// The switch a screen saver is started with, read from its command line.
//
// Only the first switch counts: '/' or '-', a letter (any case), then optionally ':' and/or
// spaces and a decimal window handle:
//   (none), /c [hwnd]  settings dialog, owned by hwnd when it is given
//   /s                 full screen
//   /p hwnd            preview child inside hwnd
//   /a hwnd            change the password
// An unknown letter means the settings dialog.
#pragma once

#include <cstdint>

enum class SaverMode { Configure, FullScreen, Preview, ChangePassword };

struct SaverCommand {
  SaverMode mode;
  // The window handle after the switch, or 0 when there is none or it is not a decimal number
  // that fits a handle (signs, trailing letters and overflow all give 0).
  std::uintptr_t window;
};

// commandLine is the text after the program's name (WinMain's lpCmdLine); null reads as empty.
SaverCommand ParseSaverCommandLine(const char* commandLine);
