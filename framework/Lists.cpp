// CObList and CPtrList.
#include "framework/Lists.h"

#include "framework/Archive.h"

IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)

CObList::CObList(int nBlockSize) : PtrListCore<CObject*>(nBlockSize) {}

CObList::~CObList() = default;

void CObList::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(GetCount()));
    for (POSITION pos = GetHeadPosition(); pos != nullptr;) ar.WriteObject(GetNext(pos));
  } else {
    // No allocation follows the count itself: a corrupt count ends at the end of the file.
    DWORD count = ar.ReadCount();
    for (DWORD i = 0; i < count; ++i) AddTail(ar.ReadObject(nullptr));
  }
}

CPtrList::CPtrList(int nBlockSize) : PtrListCore<void*>(nBlockSize) {}

CPtrList::~CPtrList() = default;
