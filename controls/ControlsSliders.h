// The three value controls of the settings dialogs: the vertical slider "RVSlider", the
// horizontal slider "RMSlider" of the sound dialog and the on/off switch "RGrnBtn". Each tells
// its parent of every change with WM_HSCROLL: code 5 while the button is held, code 4 when it is
// released (or when the control loses the mouse meanwhile), the position in the high word.
#pragma once

#include "controls/ControlsFrame.h"

class CRVSliderCtl : public CRControlFrame {
  DECLARE_DYNCREATE(CRVSliderCtl)
  DECLARE_MESSAGE_MAP()
 public:
  static BOOL Register();
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);

  // Sets the range and moves the position into it; no redraw.
  void SetRange(int32_t newMinimum, int32_t newMaximum);
  // Stores the position as it is (even outside the range) and redraws at once.
  void SetPos(int32_t newPosition);

  int32_t minimum = 0;
  int32_t maximum = 100;
  int32_t position = 50;  // the dialogs read it directly
  BOOL dragging = FALSE;

 protected:
  void RenderBackground();
  void RenderThumb();
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnMouseMove(WPARAM, LPARAM);
  LRESULT OnLButtonUp(WPARAM, LPARAM);
  LRESULT OnCaptureChanged(WPARAM, LPARAM);
  LRESULT OnEnable(WPARAM, LPARAM);
  // Ends a drag: not dragging, the mouse released, notice 4.
  void EndDrag();
};

class CRMSliderCtl : public CRControlFrame {
  DECLARE_DYNCREATE(CRMSliderCtl)
  DECLARE_MESSAGE_MAP()
 public:
  static BOOL Register();
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);

  void SetRange(int32_t newMinimum, int32_t newMaximum);
  // Ignored while the user drags; otherwise as the vertical slider's.
  void SetPos(int32_t newPosition);

  int32_t minimum = 0;
  int32_t maximum = 100;
  int32_t position = 50;
  int32_t thumbWidth = 20;
  BOOL dragging = FALSE;

 protected:
  void RenderBackground();
  void RenderThumb();
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnMouseMove(WPARAM, LPARAM);
  LRESULT OnLButtonUp(WPARAM, LPARAM);
  LRESULT OnCaptureChanged(WPARAM, LPARAM);
  void EndDrag();
};

class CRGrnBtnCtl : public CRControlFrame {
  DECLARE_DYNCREATE(CRGrnBtnCtl)
  DECLARE_MESSAGE_MAP()
 public:
  static BOOL Register();
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);

  // Sets the state (0 off, 1 on) and redraws at once.
  void SetState(int32_t newState);
  // Flips the state and redraws at once.
  void Toggle();

  int32_t minimum = 0;
  int32_t maximum = 100;
  int32_t position = 50;  // never changes; it travels in the notices
  BOOL captured = FALSE;
  int32_t state = 0;  // the settings dialog reads it directly
  BOOL pressed = FALSE;

 protected:
  void RenderBackground();
  void RenderFace();
  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnMouseMove(WPARAM, LPARAM);
  LRESULT OnLButtonUp(WPARAM, LPARAM);
  LRESULT OnCaptureChanged(WPARAM, LPARAM);
  // Ends a press without flipping: not captured or pressed, the mouse released, notice 4.
  void EndPress();
};
