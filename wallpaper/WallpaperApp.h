// The wallpaper program's application object and its about box. The program runs once per start:
// Start makes the hidden dialog, updates the wallpaper and leaves no main window, so the message
// loop ends at once and the program exits.
#pragma once

#include "framework/Dialog.h"
#include "framework/WinApp.h"

class CWallpaperApp : public CWinApp {
  DECLARE_DYNAMIC(CWallpaperApp)
  DECLARE_COMMAND_MAP()
 public:
  // FALSE ("Unable to create Murafit process" alerted) when the hidden dialog cannot be made;
  // otherwise TRUE, whatever the update gave (it alerts its own failures).
  BOOL Start() override;
  // Runs the about box modally.
  void OnAppAbout();
};

class CAboutDlg : public CDialog {
  DECLARE_DYNAMIC(CAboutDlg)
 public:
  CAboutDlg();
};
