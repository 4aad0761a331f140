// CWnd: a wrapper of a window handle, with a small message map.
//
// The system creates no windows through the framework: the screen-saver library makes the saver
// window, and the drawing thread attaches the screen view to it. So a CWnd never destroys its
// window; Attach and Detach only connect the wrapper.
//
// Finding the wrapper of a handle uses a window property, not a per-thread map: the view is
// attached on the drawing thread while the window's messages arrive on the thread that made it,
// and both must find the same object. A window without a wrapper can be wrapped for the length of
// one message by a CTempWnd on the stack.
//
// Messages reach a wrapper only when the window's procedure hands them over with RouteMessage
// (the saver window forwards its paint and palette messages that way). Each class lists the
// messages it handles in its message map:
//
//   // OSBView.h                                // OSBView.cpp
//   class COSBView : public CScrollView {        BEGIN_MESSAGE_MAP(COSBView, CScrollView)
//     DECLARE_MESSAGE_MAP()                        ON_MESSAGE(WM_ERASEBKGND,
//     COSBView::OnEraseBkgnd)
//    protected:                                  END_MESSAGE_MAP()
//     LRESULT OnEraseBkgnd(WPARAM, LPARAM);
//   };
//
// A message is handled by the first entry for it, from the object's own class up to CWnd; a
// message without an entry is left to the window's own procedure.
//
// Natively there are no windows: a CWnd holds whatever handle it was given, finds no wrapper by
// handle and routes nothing, but its message map can still be called directly.
#pragma once

#include "framework/Object.h"
#include "framework/WinTypes.h"

#ifndef _WIN32
// The messages the framework's classes handle, numbered as Windows numbers them.
#define WM_PAINT 0x000F
#define WM_ERASEBKGND 0x0014
#define WM_QUERYNEWPALETTE 0x030F
#define WM_PALETTECHANGED 0x0311
#endif

class CWnd;
class CTempWnd;

// A message handler takes the message's two parameters and returns its result.
typedef LRESULT (CWnd::*SaverMessageHandler)(WPARAM wParam, LPARAM lParam);

struct SaverMessageMapEntry {
  UINT message;  // 0 ends a table
  SaverMessageHandler handler;
};

struct SaverMessageMap {
  const SaverMessageMap* base;  // the base class's map; null for CWnd's
  const SaverMessageMapEntry* entries;
};

#define DECLARE_MESSAGE_MAP()                         \
 public:                                              \
  static const SaverMessageMap messageMap;            \
  static const SaverMessageMapEntry messageEntries[]; \
  const SaverMessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
  const SaverMessageMap* theClass::GetMessageMap() const { return &theClass::messageMap; }         \
  const SaverMessageMap theClass::messageMap = {&baseClass::messageMap, theClass::messageEntries}; \
  const SaverMessageMapEntry theClass::messageEntries[] = {
#define ON_MESSAGE(message, memberFn) {(message), static_cast<SaverMessageHandler>(&memberFn)},
#define END_MESSAGE_MAP() \
  { 0, nullptr }          \
  }                       \
  ;

class CWnd : public CObject {
  DECLARE_DYNAMIC(CWnd)
 public:
  CWnd() = default;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;
  // Detaches from the window (which stays).
  ~CWnd() override;

  HWND GetSafeHwnd() const { return m_hWnd; }

  // Connects the wrapper to a window; FALSE (nothing changes) when hWnd is null, the wrapper
  // already has a window or the window already has a wrapper.
  BOOL Attach(HWND hWnd);
  // Disconnects; returns the handle (null when there was none).
  HWND Detach();

  // The wrapper attached to a window, or null.
  static CWnd* FromHandlePermanent(HWND hWnd);
  // The wrapper attached to a window, or `temp` set to wrap it for the current message.
  static CWnd* FromHandle(HWND hWnd, CTempWnd& temp);

  // Hands a message of a window to the wrapper attached to it. TRUE, with the handler's result
  // in *pResult, when the wrapper's message map handles it; FALSE when the window has no wrapper
  // or the map has no entry, and the caller goes on with its own handling.
  static BOOL RouteMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Looks the message up in this object's message map and runs its handler.
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

  // The window's default handling of a message (DefWindowProc); 0 without a window.
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

#ifdef _WIN32
  // The window procedure of a window class each of whose windows has a wrapper of pClass (a
  // dynamically creatable class derived from CWnd). On WM_NCCREATE it creates the wrapper and
  // attaches it (FALSE, so no window, when either fails). Every message then goes to the
  // wrapper's message map first and to DefWindowProc when the map has no entry for it. After
  // WM_NCDESTROY, the window's last message, the wrapper is detached and deleted: it lives
  // exactly as long as its window.
  static LRESULT ClassWindowProc(const CRuntimeClass* pClass, HWND hWnd, UINT message,
                                 WPARAM wParam, LPARAM lParam);
#endif

  // The client area (0, 0, width, height); empty without a window.
  void GetClientRect(LPRECT lpRect) const;
  // Marks the whole client area for repainting, erasing it first when bErase.
  void Invalidate(BOOL bErase = TRUE);

  HWND m_hWnd = nullptr;

  static const SaverMessageMap messageMap;
  virtual const SaverMessageMap* GetMessageMap() const;
};

// The wrapper of a window that has no CWnd of its own, for the length of one message: it is not
// attached, so FromHandlePermanent does not find it, and it leaves the window alone.
class CTempWnd : public CWnd {
 public:
  explicit CTempWnd(HWND hWnd = nullptr) { m_hWnd = hWnd; }
  ~CTempWnd() override;
};
