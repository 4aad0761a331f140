// The three value controls of the settings dialogs: the vertical slider "RVSlider", the
// horizontal slider "RMSlider" of the sound dialog and the on/off switch "RGrnBtn". Each tells
// its parent of every change with WM_HSCROLL: code 5 while the button is held, code 4 when it is
// released (or when the control loses the mouse meanwhile), the position in the high word.
#pragma once

#include "controls/ControlsFrame.h"

// What the two sliders share: the range and the position, and the drag. A press on the slider
// takes the mouse and moves the thumb to it, the thumb follows the mouse (notice 5 at each
// step) until the button is released or the slider loses the mouse (notice 4).
class CRSliderCtl : public CRControlFrame {
  DECLARE_DYNAMIC(CRSliderCtl)
  DECLARE_MESSAGE_MAP()
 public:
  // Sets the range and moves the position into it; no redraw.
  void SetRange(int32_t newMinimum, int32_t newMaximum);

  int32_t minimum = 0;
  int32_t maximum = 100;
  int32_t position = 50;  // the dialogs read it directly
  BOOL dragging = FALSE;

 protected:
  CRSliderCtl() = default;

  // The track and its ticks, into the background buffer.
  virtual void RenderBackground() = 0;
  // The background and the thumb at the position, into the work buffer.
  virtual void RenderThumb() = 0;
  // The position a point of the client area stands for, inside the range.
  virtual int32_t PositionAt(POINT point) const = 0;
  // Stores the position as it is and redraws the thumb at once.
  void ShowPosition(int32_t newPosition);

  LRESULT OnSize(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnMouseMove(WPARAM, LPARAM);
  LRESULT OnLButtonUp(WPARAM, LPARAM);
  LRESULT OnCaptureChanged(WPARAM, LPARAM);
  // Ends a drag: not dragging, the mouse released, notice 4.
  void EndDrag();
};

class CRVSliderCtl : public CRSliderCtl {
  DECLARE_DYNCREATE(CRVSliderCtl)
  DECLARE_MESSAGE_MAP()
 public:
  static BOOL Register();
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);

  // Stores the position as it is (even outside the range) and redraws at once.
  void SetPos(int32_t newPosition);

 protected:
  void RenderBackground() override;
  void RenderThumb() override;
  int32_t PositionAt(POINT point) const override;
  LRESULT OnEnable(WPARAM, LPARAM);
};

class CRMSliderCtl : public CRSliderCtl {
  DECLARE_DYNCREATE(CRMSliderCtl)
 public:
  static BOOL Register();
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);

  // Ignored while the user drags; otherwise as the vertical slider's.
  void SetPos(int32_t newPosition);

  int32_t thumbWidth = 20;

 protected:
  void RenderBackground() override;
  void RenderThumb() override;
  int32_t PositionAt(POINT point) const override;
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
