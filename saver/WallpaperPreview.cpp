#include "saver/WallpaperPreview.h"

int32_t OwnImagesMode = 0;

BOOL RegisterFullScreenWallpaperWnd() { return 0; }
BOOL CreateFullScreenWallpaperWnd(HWND) { return 0; }
LRESULT CALLBACK FullScreenWallpaperWndProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  return ::DefWindowProcA(window, message, wParam, lParam);
}
BOOL HandleLoadingFullscreenWallpaper(HWND, BOOL, int) { return 0; }
BOOL SetFullScreenWallpaperDIBCtl(HWND) { return 0; }
INT_PTR CALLBACK LoadingImageDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
