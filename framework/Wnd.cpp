#include "framework/Wnd.h"

IMPLEMENT_DYNAMIC(CWnd, CObject)

const SaverMessageMap CWnd::messageMap = {nullptr, nullptr};

const SaverMessageMap* CWnd::GetMessageMap() const { return &CWnd::messageMap; }

#ifdef _WIN32

namespace {

// The window property that holds a window's wrapper.
constexpr const char* kWrapperProperty = "SaverFrameworkWnd";

}  // namespace

CWnd::~CWnd() { Detach(); }

BOOL CWnd::Attach(HWND hWnd) {
  if (!hWnd || m_hWnd || !::IsWindow(hWnd) || ::GetPropA(hWnd, kWrapperProperty)) return FALSE;
  // The handle first: once the property is set, another thread may route a message to the
  // wrapper, which must then know its window.
  m_hWnd = hWnd;
  if (!::SetPropA(hWnd, kWrapperProperty, this)) {
    m_hWnd = nullptr;
    return FALSE;
  }
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hWnd = m_hWnd;
  if (hWnd && ::GetPropA(hWnd, kWrapperProperty) == this) ::RemovePropA(hWnd, kWrapperProperty);
  m_hWnd = nullptr;
  return hWnd;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  return hWnd ? static_cast<CWnd*>(::GetPropA(hWnd, kWrapperProperty)) : nullptr;
}

void CWnd::GetClientRect(LPRECT lpRect) const {
  if (!m_hWnd || !::GetClientRect(m_hWnd, lpRect)) ::SetRectEmpty(lpRect);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return m_hWnd ? ::DefWindowProcA(m_hWnd, message, wParam, lParam) : 0;
}

namespace {

// A new wrapper of the class attached to the window, or null (nothing left behind).
CWnd* CreateAttachedWrapper(const CRuntimeClass* pClass, HWND hWnd) {
  if (!pClass || !pClass->IsDerivedFrom(RUNTIME_CLASS(CWnd))) return nullptr;
  CObject* object = nullptr;
  try {
    object = pClass->CreateObject();
  } catch (...) {
    return nullptr;  // out of memory: no window rather than a window without its object
  }
  CWnd* wnd = static_cast<CWnd*>(object);
  if (wnd && !wnd->Attach(hWnd)) {
    delete wnd;
    return nullptr;
  }
  return wnd;
}

}  // namespace

LRESULT CWnd::ClassWindowProc(const CRuntimeClass* pClass, HWND hWnd, UINT message, WPARAM wParam,
                              LPARAM lParam) {
  if (message == WM_NCCREATE) {
    if (!CreateAttachedWrapper(pClass, hWnd)) return FALSE;
  }
  CWnd* wnd = FromHandlePermanent(hWnd);
  LRESULT result = 0;
  if (!wnd || !wnd->OnWndMsg(message, wParam, lParam, &result))
    result = ::DefWindowProcA(hWnd, message, wParam, lParam);
  if (message == WM_NCDESTROY && wnd) {
    wnd->Detach();
    delete wnd;
  }
  return result;
}

void CWnd::Invalidate(BOOL bErase) {
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, bErase);
}

#else

CWnd::~CWnd() = default;

BOOL CWnd::Attach(HWND hWnd) {
  if (!hWnd || m_hWnd) return FALSE;
  m_hWnd = hWnd;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hWnd = m_hWnd;
  m_hWnd = nullptr;
  return hWnd;
}

CWnd* CWnd::FromHandlePermanent(HWND) { return nullptr; }

void CWnd::GetClientRect(LPRECT lpRect) const {
  if (lpRect) *lpRect = RECT{0, 0, 0, 0};
}

void CWnd::Invalidate(BOOL) {}

LRESULT CWnd::DefWindowProc(UINT, WPARAM, LPARAM) { return 0; }

#endif

CWnd* CWnd::FromHandle(HWND hWnd, CTempWnd& temp) {
  CWnd* permanent = FromHandlePermanent(hWnd);
  if (permanent) return permanent;
  temp.m_hWnd = hWnd;
  return &temp;
}

BOOL CWnd::RouteMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  CWnd* wnd = FromHandlePermanent(hWnd);
  return wnd ? wnd->OnWndMsg(message, wParam, lParam, pResult) : FALSE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == 0) return FALSE;  // 0 ends the tables
  for (const SaverMessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
    for (const SaverMessageMapEntry* entry = map->entries; entry && entry->message != 0; ++entry) {
      if (entry->message != message) continue;
      const LRESULT result = (this->*entry->handler)(wParam, lParam);
      if (pResult) *pResult = result;
      return TRUE;
    }
  }
  return FALSE;
}

CTempWnd::~CTempWnd() { m_hWnd = nullptr; }
