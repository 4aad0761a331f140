#include "framework/View.h"

#include "framework/Dc.h"
#include "framework/Document.h"

IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_MESSAGE(WM_PAINT, CView::OnPaint)
END_MESSAGE_MAP()

CView::~CView() {
  if (m_pDocument) m_pDocument->RemoveView(this);
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

LRESULT CView::OnPaint(WPARAM, LPARAM) {
  CPaintDC dc(this);
  OnDraw(&dc);
  return 0;
}

CScrollView::~CScrollView() = default;

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage,
                                 const SIZE& sizeLine) {
  m_nMapMode = nMapMode;
  m_totalSize = sizeTotal;
  m_pageSize = sizePage;
  if (m_pageSize.cx == 0) m_pageSize.cx = m_totalSize.cx / 10;
  if (m_pageSize.cy == 0) m_pageSize.cy = m_totalSize.cy / 10;
  m_lineSize = sizeLine;
  if (m_lineSize.cx == 0) m_lineSize.cx = m_pageSize.cx / 10;
  if (m_lineSize.cy == 0) m_lineSize.cy = m_pageSize.cy / 10;
}
