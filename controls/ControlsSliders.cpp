#include "controls/ControlsSliders.h"

#include <initializer_list>

#include "controls/ControlGeometry.h"

using controlpaint::Fill;
using controlpaint::Line;

namespace {

// The five or ten tick pairs of a slider's background: a white line and a dark grey one beside
// it, drawn by `tick`(position of the white line).
template <typename TickFn>
void ForEachTick(int count, int from, int to, int divisions, TickFn tick) {
  for (int k = 1; k <= count; ++k)
    tick(from + static_cast<int>(int64_t{to - from} * k / divisions));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CRSliderCtl

IMPLEMENT_DYNAMIC(CRSliderCtl, CRControlFrame)

BEGIN_MESSAGE_MAP(CRSliderCtl, CRControlFrame)
ON_MESSAGE(WM_SIZE, CRSliderCtl::OnSize)
ON_MESSAGE(WM_LBUTTONDOWN, CRSliderCtl::OnLButtonDown)
ON_MESSAGE(WM_MOUSEMOVE, CRSliderCtl::OnMouseMove)
ON_MESSAGE(WM_LBUTTONUP, CRSliderCtl::OnLButtonUp)
ON_MESSAGE(WM_CAPTURECHANGED, CRSliderCtl::OnCaptureChanged)
END_MESSAGE_MAP()

void CRSliderCtl::SetRange(int32_t newMinimum, int32_t newMaximum) {
  minimum = newMinimum;
  maximum = newMaximum;
  position = ClampToRange(position, minimum, maximum);
}

void CRSliderCtl::ShowPosition(int32_t newPosition) {
  position = newPosition;
  RenderThumb();
  RedrawNow();
}

LRESULT CRSliderCtl::OnSize(WPARAM wParam, LPARAM lParam) {
  if (!TakeSize(wParam, lParam)) return 0;
  RenderBackground();
  RenderThumb();
  Invalidate(TRUE);
  return 0;
}

LRESULT CRSliderCtl::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
  SetCapture(m_hWnd);
  dragging = TRUE;
  return OnMouseMove(wParam, lParam);
}

LRESULT CRSliderCtl::OnMouseMove(WPARAM, LPARAM lParam) {
  if (!dragging) return 0;
  ShowPosition(PositionAt(MousePoint(lParam)));
  Notify(kNoticeTrack, position);
  return 0;
}

LRESULT CRSliderCtl::OnLButtonUp(WPARAM, LPARAM) {
  if (dragging) EndDrag();
  return 0;
}

LRESULT CRSliderCtl::OnCaptureChanged(WPARAM, LPARAM) {
  if (dragging) EndDrag();
  return 0;
}

void CRSliderCtl::EndDrag() {
  dragging = FALSE;  // first: releasing the mouse sends WM_CAPTURECHANGED back to us
  if (GetCapture() == m_hWnd) ReleaseCapture();
  Notify(kNoticePosition, position);
}

// ---------------------------------------------------------------------------------------------
// CRVSliderCtl

IMPLEMENT_DYNCREATE(CRVSliderCtl, CRSliderCtl)

BEGIN_MESSAGE_MAP(CRVSliderCtl, CRSliderCtl)
ON_MESSAGE(WM_ENABLE, CRVSliderCtl::OnEnable)
END_MESSAGE_MAP()

BOOL CRVSliderCtl::Register() {
  return RegisterControlClass("RVSlider", WindowProc, 0, false, "CRVSliderCtl");
}

LRESULT CALLBACK CRVSliderCtl::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ClassWindowProc(RUNTIME_CLASS(CRVSliderCtl), hWnd, message, wParam, lParam);
}

void CRVSliderCtl::SetPos(int32_t newPosition) { ShowPosition(newPosition); }

void CRVSliderCtl::RenderBackground() {
  if (width <= 0) return;
  HDC dc = backgroundSurface.memoryDC.GetSafeHdc();
  const int w = width, h = height;
  Fill(dc, RECT{0, 0, w, h}, kLightGrey);
  const RECT track{w / 2 - 2, h / 10, w / 2 + 2, 9 * h / 10};
  const bool enabled = m_hWnd && IsWindowEnabled(m_hWnd);
  Fill(dc, track, enabled ? kBlack : kDarkGrey);
  controlpaint::SunkenEdge(dc, track);
  if (track.left - 3 > 3) {
    ForEachTick(5, track.top, track.bottom, 6, [&](int y) {
      Line(dc, kWhite, 3, y, track.left - 3, y);
      Line(dc, kDarkGrey, 3, y - 1, track.left - 3, y - 1);
      Line(dc, kWhite, track.right + 3, y, w - 3, y);
      Line(dc, kDarkGrey, track.right + 3, y - 1, w - 3, y - 1);
    });
  }
  GdiFlush();
}

void CRVSliderCtl::RenderThumb() {
  if (width <= 0) return;
  CopyBackgroundToWork();
  HDC dc = workSurface.memoryDC.GetSafeHdc();
  const int w = width, h = height;
  const int centre = VSliderThumbCentre(h, position, minimum, maximum);
  const RECT thumb{0, centre - h / 10, w, centre + h / 10};
  Fill(dc, thumb, kLightGrey);
  if (m_hWnd && IsWindowEnabled(m_hWnd)) {
    controlpaint::RaisedEdge(dc, thumb, 2);
    Line(dc, kDarkGrey, w - 4, centre - 2, 4, centre - 2);
    Line(dc, kWhite, w - 4, centre - 1, 4, centre - 1);
    Line(dc, kDarkGrey, w - 4, centre + 1, 4, centre + 1);
    Line(dc, kWhite, w - 4, centre + 2, 4, centre + 2);
  }
  GdiFlush();
}

int32_t CRVSliderCtl::PositionAt(POINT point) const {
  return VSliderPositionAt(point.y, height, minimum, maximum);
}

LRESULT CRVSliderCtl::OnEnable(WPARAM wParam, LPARAM lParam) {
  DefWindowProc(WM_ENABLE, wParam, lParam);
  RenderBackground();
  RenderThumb();
  Invalidate(TRUE);
  return 0;
}

// ---------------------------------------------------------------------------------------------
// CRMSliderCtl

IMPLEMENT_DYNCREATE(CRMSliderCtl, CRSliderCtl)

BOOL CRMSliderCtl::Register() {
  return RegisterControlClass("RMSlider", WindowProc, 0, false, "CRMSliderCtl");
}

LRESULT CALLBACK CRMSliderCtl::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ClassWindowProc(RUNTIME_CLASS(CRMSliderCtl), hWnd, message, wParam, lParam);
}

void CRMSliderCtl::SetPos(int32_t newPosition) {
  if (!dragging) ShowPosition(newPosition);
}

void CRMSliderCtl::RenderBackground() {
  if (width <= 0) return;
  HDC dc = backgroundSurface.memoryDC.GetSafeHdc();
  const int w = width, h = height, t = thumbWidth;
  Fill(dc, RECT{0, 0, w, h}, kLightGrey);
  const RECT track{t / 2, h / 2 - 2, w - t / 2, h / 2 + 2};
  Fill(dc, track, kBlack);
  controlpaint::SunkenEdge(dc, track);
  if (track.top - 2 > 2) {
    ForEachTick(10, track.left, track.right, 11, [&](int x) {
      Line(dc, kWhite, x, 2, x, track.top - 2);
      Line(dc, kDarkGrey, x - 1, 2, x - 1, track.top - 2);
      Line(dc, kWhite, x, track.bottom + 2, x, h - 2);
      Line(dc, kDarkGrey, x - 1, track.bottom + 2, x - 1, h - 2);
    });
  }
  GdiFlush();
}

void CRMSliderCtl::RenderThumb() {
  if (width <= 0) return;
  CopyBackgroundToWork();
  HDC dc = workSurface.memoryDC.GetSafeHdc();
  const int h = height, t = thumbWidth;
  const int centre = HSliderThumbCentre(width, t, position, minimum, maximum);
  const RECT thumb{centre - t / 2, 0, centre + t / 2, h};
  controlpaint::OutlinedBox(dc, thumb, kBlack, kLightGrey);
  controlpaint::RaisedEdge(dc, RECT{thumb.left + 1, 1, thumb.right - 1, h - 1}, 2);
  for (int dx : {-3, 0, 3}) Line(dc, kWhite, centre + dx, h - 4, centre + dx, 4);
  for (int dx : {-2, 1, 4}) Line(dc, kDarkGrey, centre + dx, h - 4, centre + dx, 4);
  GdiFlush();
}

int32_t CRMSliderCtl::PositionAt(POINT point) const {
  return HSliderPositionAt(point.x, width, thumbWidth, minimum, maximum);
}

// ---------------------------------------------------------------------------------------------
// CRGrnBtnCtl

IMPLEMENT_DYNCREATE(CRGrnBtnCtl, CRControlFrame)

BEGIN_MESSAGE_MAP(CRGrnBtnCtl, CRControlFrame)
ON_MESSAGE(WM_SIZE, CRGrnBtnCtl::OnSize)
ON_MESSAGE(WM_LBUTTONDOWN, CRGrnBtnCtl::OnLButtonDown)
ON_MESSAGE(WM_MOUSEMOVE, CRGrnBtnCtl::OnMouseMove)
ON_MESSAGE(WM_LBUTTONUP, CRGrnBtnCtl::OnLButtonUp)
ON_MESSAGE(WM_CAPTURECHANGED, CRGrnBtnCtl::OnCaptureChanged)
END_MESSAGE_MAP()

BOOL CRGrnBtnCtl::Register() {
  return RegisterControlClass("RGrnBtn", WindowProc, 0, false, "CRGrnBtnCtl");
}

LRESULT CALLBACK CRGrnBtnCtl::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ClassWindowProc(RUNTIME_CLASS(CRGrnBtnCtl), hWnd, message, wParam, lParam);
}

void CRGrnBtnCtl::SetState(int32_t newState) {
  state = newState;
  RenderFace();
  RedrawNow();
}

void CRGrnBtnCtl::Toggle() { SetState(!state); }

void CRGrnBtnCtl::RenderBackground() {
  if (width > 0)
    Fill(backgroundSurface.memoryDC.GetSafeHdc(), RECT{0, 0, width, height}, kLightGrey);
  GdiFlush();
}

void CRGrnBtnCtl::RenderFace() {
  if (width <= 0) return;
  CopyBackgroundToWork();
  HDC dc = workSurface.memoryDC.GetSafeHdc();
  const int r = width - 2, b = height - 2;  // the last pixels inside the outline
  controlpaint::OutlinedBox(dc, RECT{0, 0, width, height}, kBlack, state ? kGreen : kLightGrey);
  if (pressed) {
    Line(dc, kDarkGrey, 1, b, 1, 1);
    Line(dc, kDarkGrey, 1, 1, r + 1, 1);
  } else {
    Line(dc, kDarkGrey, r, 1, r, b + 1);
    Line(dc, kDarkGrey, 1, b, r + 1, b);
    if (!state) {
      Line(dc, kWhite, 1, b, 1, 1);
      Line(dc, kWhite, 1, 1, r, 1);
    }
  }
  GdiFlush();
}

LRESULT CRGrnBtnCtl::OnSize(WPARAM wParam, LPARAM lParam) {
  if (!TakeSize(wParam, lParam)) return 0;
  RenderBackground();
  RenderFace();
  Invalidate(TRUE);
  return 0;
}

LRESULT CRGrnBtnCtl::OnLButtonDown(WPARAM, LPARAM) {
  SetCapture(m_hWnd);
  captured = TRUE;
  pressed = TRUE;
  Toggle();
  Notify(kNoticeTrack, position);
  return 0;
}

LRESULT CRGrnBtnCtl::OnMouseMove(WPARAM, LPARAM) {
  if (captured) Notify(kNoticeTrack, position);
  return 0;
}

LRESULT CRGrnBtnCtl::OnLButtonUp(WPARAM, LPARAM) {
  if (captured) EndPress();
  return 0;
}

LRESULT CRGrnBtnCtl::OnCaptureChanged(WPARAM, LPARAM) {
  if (captured) EndPress();
  return 0;
}

void CRGrnBtnCtl::EndPress() {
  captured = FALSE;
  pressed = FALSE;
  if (GetCapture() == m_hWnd) ReleaseCapture();
  RenderFace();
  RedrawNow();
  Notify(kNoticePosition, position);
}
