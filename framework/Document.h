// CDocument: the data behind one or more views.
//
// The document keeps the list of its views (it does not own them) and a modified flag, and tells
// its views of changes through UpdateAllViews. Destroying the document disconnects its views.
#pragma once

#include "framework/Lists.h"
#include "framework/Object.h"
#include "framework/WinTypes.h"

class CView;

class CDocument : public CObject {
  DECLARE_DYNAMIC(CDocument)
 public:
  CDocument();
  ~CDocument() override;

  // Adds a view and makes this its document (leaving any document it had). A view already here
  // is not added twice.
  void AddView(CView* pView);
  // Takes a view out of the list and clears its document.
  void RemoveView(CView* pView);
  POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
  // The view at pos; pos moves to the next one (null after the last).
  CView* GetNextView(POSITION& pos) const { return static_cast<CView*>(m_viewList.GetNext(pos)); }
  // OnUpdate(pSender, lHint, pHint) on every view but pSender.
  void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

  void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }
  BOOL IsModified() const { return m_bModified; }

  // Starts a new, empty document: DeleteContents, then not modified. FALSE when that fails.
  virtual BOOL OnNewDocument();
  // Empties the document's data; CDocument has none.
  virtual void DeleteContents();

 private:
  CPtrList m_viewList;
  BOOL m_bModified = FALSE;
};
