// CView and CScrollView: a window that shows a document.
//
// A view belongs to at most one document (CDocument::AddView sets it) and leaves that document's
// list when it is destroyed. The document tells its views of changes through OnUpdate; a view
// draws itself in OnDraw, also when the window asks for painting (WM_PAINT through the message
// map).
#pragma once

#include "framework/Geometry.h"
#include "framework/Wnd.h"

class CDC;
class CDocument;

#ifndef _WIN32
#define MM_TEXT 1
#endif

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)
  DECLARE_MESSAGE_MAP()
 public:
  // Leaves its document's view list.
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }

  // Called once the view shows its document: OnUpdate(null, 0, null) unless overridden.
  virtual void OnInitialUpdate();
  // The document changed (pSender is the view that changed it, or null): repaint everything.
  virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
  // Draws the view into pDC.
  virtual void OnDraw(CDC* pDC) = 0;

  CDocument* m_pDocument = nullptr;  // set by CDocument::AddView and RemoveView

 protected:
  CView() = default;
  // WM_PAINT: OnDraw into the paint context.
  LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
};

// A view whose content may be larger than its window. The views of this system are never
// scrolled: the sizes are only recorded, and no scroll bars are shown.
class CScrollView : public CView {
  DECLARE_DYNAMIC(CScrollView)
 public:
  ~CScrollView() override;

  // Records the mapping mode and the content's total size; a page or line size of (0, 0) takes
  // a tenth of the total (page) and a tenth of the page (line).
  void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = CSize(0, 0),
                      const SIZE& sizeLine = CSize(0, 0));
  int GetMapMode() const { return m_nMapMode; }
  CSize GetTotalSize() const { return m_totalSize; }
  CSize GetPageSize() const { return m_pageSize; }
  CSize GetLineSize() const { return m_lineSize; }

 protected:
  CScrollView() = default;

 private:
  int m_nMapMode = 0;
  CSize m_totalSize;
  CSize m_pageSize;
  CSize m_lineSize;
};
