// Resource numbers of the wallpaper program, shared by its code and its resource script (plain
// #defines, so that windres reads this header too).
#pragma once

#include "res/DialogIds.h"  // IDD_LOADIMAGES and its controls: the thumbnail cache window

// The program's icon.
#define IDR_MAINFRAME 128
// The hidden dialog that parents the list of images and the thumbnail cache window.
#define IDD_WALLPAPERWINDOW 129
#define IDC_ALLIMAGESLIST 1000
// The about box.
#define IDD_ABOUTBOX 100
// The product code the program's settings key ends with.
#define IDS_MURAFIT_PRODUCTCODE 61446
