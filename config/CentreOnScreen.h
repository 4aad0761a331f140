// Placing a settings sub-dialog when it opens.
#pragma once

#include <windows.h>

// Centres the window over its owner (over the screen when it has none), then moves it back
// inside the screen where it would reach past an edge.
void CentreOverOwnerOnScreen(HWND window);
