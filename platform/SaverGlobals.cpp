// The library's globals a saver module may read (declared in ScreenSaver.h). WinMain sets them
// before the saver window or the settings dialog is created.
#include "platform/ScreenSaver.h"

HINSTANCE hMainInstance = nullptr;
HWND hMainWindow = nullptr;
BOOL fChildPreview = FALSE;
