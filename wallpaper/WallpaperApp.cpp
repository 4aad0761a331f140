#include "wallpaper/WallpaperApp.h"

#include <memory>
#include <new>

#include "seams/Alerts.h"
#include "wallpaper/MurafitResources.h"
#include "wallpaper/WallpaperDlg.h"

IMPLEMENT_DYNAMIC(CWallpaperApp, CWinApp)
IMPLEMENT_DYNAMIC(CAboutDlg, CDialog)

BEGIN_COMMAND_MAP(CWallpaperApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, CWallpaperApp::OnAppAbout)
ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
ON_COMMAND(ID_FILE_PRINT_SETUP, CWinApp::OnFilePrintSetup)
END_COMMAND_MAP()

BOOL CWallpaperApp::Start() {
  std::unique_ptr<CWallpaperDlg> dialog(new (std::nothrow) CWallpaperDlg);
  if (!dialog || !dialog->GetSafeHwnd()) {
    seams::Alert("Unable to create Murafit process", kMurafitAlertCaption, seams::kAlertIconHand);
    return FALSE;
  }
  m_pMainWnd = dialog.get();
  dialog->UpdateWallpaper();
  dialog->DestroyWindow();
  m_pMainWnd = nullptr;
  return TRUE;
}

void CWallpaperApp::OnAppAbout() {
  CAboutDlg about;
  about.DoModal();
}

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
