#include "framework/Document.h"

#include "framework/View.h"

IMPLEMENT_DYNAMIC(CDocument, CObject)

CDocument::CDocument() = default;

CDocument::~CDocument() {
  while (!m_viewList.IsEmpty()) static_cast<CView*>(m_viewList.RemoveHead())->m_pDocument = nullptr;
}

void CDocument::AddView(CView* pView) {
  if (!pView || m_viewList.Find(pView) != nullptr) return;
  if (pView->m_pDocument) pView->m_pDocument->RemoveView(pView);
  m_viewList.AddTail(pView);
  pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
  POSITION pos = m_viewList.Find(pView);
  if (pos == nullptr) return;
  m_viewList.RemoveAt(pos);
  pView->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
  for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
    CView* view = GetNextView(pos);
    if (view != pSender) view->OnUpdate(pSender, lHint, pHint);
  }
}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CDocument::DeleteContents() {}
