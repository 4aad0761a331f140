// murafit.exe: installs the next picture of the image set (or of the own-images folder) as the
// desktop wallpaper and exits. It reads no command line.
#include <windows.h>

#include "wallpaper/WallpaperApp.h"

namespace {
CWallpaperApp theApp;
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunWinApp(instance); }
