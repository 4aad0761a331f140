// CObList and CPtrList: doubly linked lists of pointers, walked with POSITION handles.
//
//   POSITION pos = list.GetHeadPosition();
//   while (pos != nullptr) { CSprite* p = static_cast<CSprite*>(list.GetNext(pos)); ... }
//
// The lists hold pointers only and never delete what they point at (owners call their own
// DeleteAll). A POSITION stays valid until its element is removed. Using a null or removed
// POSITION, or GetHead/GetTail/RemoveHead/RemoveTail on an empty list, is a programming error:
// checked in every build (SAVER_REQUIRE), since the alternative is a wild pointer.
#pragma once

#include "framework/Assert.h"
#include "framework/Object.h"
#include "framework/WinTypes.h"

struct SaverPosition {};
typedef SaverPosition* POSITION;

namespace saver_detail {

// The list shared by CObList and CPtrList (TYPE is CObject* or void*).
template <typename TYPE>
class PtrListCore {
 public:
  explicit PtrListCore(int /*nBlockSize*/) {}
  PtrListCore(const PtrListCore&) = delete;
  PtrListCore& operator=(const PtrListCore&) = delete;
  ~PtrListCore() { RemoveAll(); }

  int GetCount() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  TYPE& GetHead() { return Require(m_pHead)->data; }
  TYPE GetHead() const { return Require(m_pHead)->data; }
  TYPE& GetTail() { return Require(m_pTail)->data; }
  TYPE GetTail() const { return Require(m_pTail)->data; }

  TYPE RemoveHead() {
    Node* p = Require(m_pHead);
    TYPE data = p->data;
    Unlink(p);
    return data;
  }
  TYPE RemoveTail() {
    Node* p = Require(m_pTail);
    TYPE data = p->data;
    Unlink(p);
    return data;
  }

  POSITION AddHead(TYPE newElement) { return LinkBefore(m_pHead, newElement); }
  POSITION AddTail(TYPE newElement) { return LinkBefore(nullptr, newElement); }
  POSITION InsertBefore(POSITION position, TYPE newElement) {
    return LinkBefore(Require(position), newElement);
  }
  POSITION InsertAfter(POSITION position, TYPE newElement) {
    return LinkBefore(Require(position)->pNext, newElement);
  }

  void RemoveAll() {
    Node* p = m_pHead;
    while (p != nullptr) {
      Node* next = p->pNext;
      delete p;
      p = next;
    }
    m_pHead = m_pTail = nullptr;
    m_nCount = 0;
  }
  void RemoveAt(POSITION position) { Unlink(Require(position)); }

  POSITION GetHeadPosition() const { return m_pHead; }
  POSITION GetTailPosition() const { return m_pTail; }
  // The element at rPosition; rPosition moves to the next (previous) one, null past the end.
  TYPE& GetNext(POSITION& rPosition) {
    Node* p = Require(rPosition);
    rPosition = p->pNext;
    return p->data;
  }
  TYPE GetNext(POSITION& rPosition) const {
    Node* p = Require(rPosition);
    rPosition = p->pNext;
    return p->data;
  }
  TYPE& GetPrev(POSITION& rPosition) {
    Node* p = Require(rPosition);
    rPosition = p->pPrev;
    return p->data;
  }
  TYPE GetPrev(POSITION& rPosition) const {
    Node* p = Require(rPosition);
    rPosition = p->pPrev;
    return p->data;
  }
  TYPE& GetAt(POSITION position) { return Require(position)->data; }
  TYPE GetAt(POSITION position) const { return Require(position)->data; }
  void SetAt(POSITION position, TYPE newElement) { Require(position)->data = newElement; }

  // The first element equal to searchValue after startAfter (from the head when null), or null.
  POSITION Find(TYPE searchValue, POSITION startAfter = nullptr) const {
    Node* p = startAfter == nullptr ? m_pHead : Require(startAfter)->pNext;
    for (; p != nullptr; p = p->pNext) {
      if (p->data == searchValue) return p;
    }
    return nullptr;
  }
  // The element at zero-based nIndex, or null when out of range.
  POSITION FindIndex(int nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    Node* p = m_pHead;
    while (nIndex-- > 0) p = p->pNext;
    return p;
  }

 private:
  struct Node : SaverPosition {
    Node* pNext;
    Node* pPrev;
    TYPE data;
  };

  static Node* Require(POSITION position) {
    SAVER_REQUIRE(position != nullptr);
    return static_cast<Node*>(position);
  }

  POSITION LinkBefore(Node* pNext, TYPE newElement) {
    Node* p = new Node;
    p->data = newElement;
    p->pNext = pNext;
    p->pPrev = pNext != nullptr ? pNext->pPrev : m_pTail;
    if (p->pPrev != nullptr) {
      p->pPrev->pNext = p;
    } else {
      m_pHead = p;
    }
    if (pNext != nullptr) {
      pNext->pPrev = p;
    } else {
      m_pTail = p;
    }
    ++m_nCount;
    return p;
  }

  void Unlink(Node* p) {
    if (p->pPrev != nullptr) {
      p->pPrev->pNext = p->pNext;
    } else {
      m_pHead = p->pNext;
    }
    if (p->pNext != nullptr) {
      p->pNext->pPrev = p->pPrev;
    } else {
      m_pTail = p->pPrev;
    }
    --m_nCount;
    delete p;
  }

  Node* m_pHead = nullptr;
  Node* m_pTail = nullptr;
  int m_nCount = 0;
};

}  // namespace saver_detail

// A list of CObject pointers; serialisable: storing writes the count in the compact count form
// (CArchive::WriteCount) and each element with its class (WriteObject); loading reads them back
// (ReadObject) and appends them.
class CObList : public CObject, public saver_detail::PtrListCore<CObject*> {
  DECLARE_SERIAL(CObList)
 public:
  explicit CObList(int nBlockSize = 10);
  ~CObList() override;
  void Serialize(CArchive& ar) override;
};

// A list of untyped pointers.
class CPtrList : public CObject, public saver_detail::PtrListCore<void*> {
  DECLARE_DYNAMIC(CPtrList)
 public:
  explicit CPtrList(int nBlockSize = 10);
  ~CPtrList() override;
};
