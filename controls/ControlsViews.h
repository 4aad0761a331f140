// The two content controls of the settings dialogs: the image view "RDIBCtl" (a picture on a
// coloured background, scaled to fit or at its own size, that tells its parent when it is
// clicked) and the rich-text view "RRTFCtl" (a RichEdit child that fills it, held by a
// rich-text document).
#pragma once

#include "controls/ControlsFrame.h"

class CDIB;
struct RichTextDocument;

// Sent by an image view to its parent when clicked: wParam 0, lParam the view's window.
constexpr UINT WM_RDIBCTL_CLICK = 0x654;

class CRDIBCtl : public CRControlFrame {
  DECLARE_DYNCREATE(CRDIBCtl)
  DECLARE_MESSAGE_MAP()
 public:
  CRDIBCtl();
  // Deletes the image and its palette.
  ~CRDIBCtl() override;

  static BOOL Register();
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);

  // Shows a copy of an 8- or 24-bit bitmap; the caller keeps its own. An 8-bit bitmap of more
  // than 204 colours, or a 24-bit one on an 8-bit display, is first reduced to 204 colours. Null,
  // or another depth, clears the image and shows the background. FALSE when the image could not
  // be shown (the background shows then).
  BOOL SetDIB(CDIB* source);
  // Shows the 8-bit background with the 8-bit image placed on it at (x, y), both on the
  // screen's colour table for the image (the grey ramp and the image's colours), each pixel
  // moved by colour; the image's colours are remapped to that table in place. With corner set,
  // the square of a quarter of the image's width at its bottom-right corner shows the background
  // again. The image rectangle is the whole control. FALSE (the background shows) when either
  // bitmap is not 8-bit or a step fails.
  BOOL SetDIBStretched(CDIB* image, int x, int y, CDIB* background, BOOL corner);
  // The background colour; shows from the next composition.
  void SetBackColor(COLORREF colour);
  // Fit the picture into the control (kept proportions, never enlarged) rather than showing it
  // at its own size from the top-left corner.
  void SetKeepImageSize(BOOL fit);
  void SetHotCursor(BOOL on, HCURSOR cursor);

  COLORREF backColor;
  CDIBSurface* image = nullptr;           // owned
  CColorPalette* imagePalette = nullptr;  // owned
  int32_t imageOffsetX = 0;
  int32_t imageOffsetY = 0;
  RECT imageRect = {0, 0, 0, 0};
  BOOL fitImage = FALSE;
  BOOL hotCursorOn = FALSE;
  HCURSOR arrowCursor;
  HCURSOR hotCursor = nullptr;

 protected:
  LRESULT OnCreate(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnShowWindow(WPARAM, LPARAM);
  LRESULT OnMouseMove(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnLButtonDblClk(WPARAM, LPARAM);

 private:
  // Background buffer in the background colour.
  void RepaintBackground();
  // Background, then the image when there is one, into the work buffer.
  void Compose();
  void DrawImage();
  // Takes a new image and its palette (either may be null), deleting the old ones after the
  // buffers have been made again on the new palette.
  BOOL Install(CDIBSurface* newImage, CColorPalette* newPalette, bool stretched);
  void ClickParent();

  bool stretched_ = false;  // the image came from SetDIBStretched: its rectangle is the control
};

class CRRTFCtl : public CRControlFrame {
  DECLARE_DYNCREATE(CRRTFCtl)
  DECLARE_MESSAGE_MAP()
 public:
  static BOOL Register();
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);

  // The document that holds the RichEdit child; null when it could not be created. Dialogs load
  // text through it.
  RichTextDocument* document = nullptr;
  BOOL captured = FALSE;

 protected:
  LRESULT OnCreate(WPARAM, LPARAM);
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnShowWindow(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnLButtonUp(WPARAM, LPARAM);
  LRESULT OnNotify(WPARAM, LPARAM);
  LRESULT OnCommand(WPARAM, LPARAM);
  LRESULT OnNcDestroyDocument(WPARAM, LPARAM);
};

// The identifier of the rich-text view's RichEdit child.
constexpr int kRichTextChildId = 5900;
