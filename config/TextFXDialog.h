// The caption-effect settings dialog (template IDD_TEXTFX): how long a caption stays, its colours
// and box style, what it shows and in which title style, how it arrives and how it bounces. It
// reads the "TEXTFX_" setting buffers when it opens and writes them only on OK.
#pragma once

#include <windows.h>

INT_PTR CALLBACK TextFXDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills the lists and shows every stored value in its control. TRUE.
BOOL bSetTextFXDlgItems(HWND dialog);
// Writes every control's value into its setting buffer. TRUE.
BOOL bSaveTextFXDlgSettings(HWND dialog);
