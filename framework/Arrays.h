// CObArray, CPtrArray and CStringArray: growable arrays indexed from 0.
//
// An index outside 0..GetUpperBound() for GetAt/SetAt/ElementAt/operator[]/RemoveAt is a
// programming error, checked in every build (SAVER_REQUIRE stops the process) rather than reading
// or writing outside the storage. SetAtGrow and InsertAt grow the array instead. The pointer
// arrays never delete what they point at.
#pragma once

#include <vector>

#include "framework/Assert.h"
#include "framework/Object.h"
#include "framework/String.h"
#include "framework/WinTypes.h"

namespace saver_detail {

template <typename TYPE, typename ARG_TYPE>
class ArrayCore {
 public:
  ArrayCore() = default;
  ArrayCore(const ArrayCore&) = delete;
  ArrayCore& operator=(const ArrayCore&) = delete;

  int GetSize() const { return static_cast<int>(m_data.size()); }
  int GetCount() const { return GetSize(); }
  BOOL IsEmpty() const { return m_data.empty(); }
  int GetUpperBound() const { return GetSize() - 1; }
  // New elements are null (empty). nGrowBy is accepted and unused (the vector grows itself).
  void SetSize(int nNewSize, int nGrowBy = -1) {
    (void)nGrowBy;
    SAVER_REQUIRE(nNewSize >= 0);
    m_data.resize(static_cast<size_t>(nNewSize), TYPE());
  }
  void FreeExtra() { m_data.shrink_to_fit(); }
  void RemoveAll() { m_data.clear(); }

  TYPE GetAt(int nIndex) const { return m_data[Check(nIndex)]; }
  void SetAt(int nIndex, ARG_TYPE newElement) { m_data[Check(nIndex)] = newElement; }
  TYPE& ElementAt(int nIndex) { return m_data[Check(nIndex)]; }
  TYPE operator[](int nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](int nIndex) { return ElementAt(nIndex); }
  const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
  TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }

  // Sets element nIndex, growing the array first when needed.
  void SetAtGrow(int nIndex, ARG_TYPE newElement) {
    SAVER_REQUIRE(nIndex >= 0);
    TYPE copy(newElement);  // newElement may live in this array, which may move as it grows
    if (nIndex >= GetSize()) SetSize(nIndex + 1);
    m_data[static_cast<size_t>(nIndex)] = copy;
  }
  // Appends; returns the new element's index.
  int Add(ARG_TYPE newElement) {
    m_data.push_back(newElement);
    return GetUpperBound();
  }
  // Inserts nCount copies at nIndex (an index past the end grows the array up to it).
  void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1) {
    SAVER_REQUIRE(nIndex >= 0 && nCount >= 0);
    if (nIndex >= GetSize()) {
      TYPE copy(newElement);  // as in SetAtGrow
      SetSize(nIndex);
      m_data.insert(m_data.end(), static_cast<size_t>(nCount), copy);
    } else {
      m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), newElement);
    }
  }
  // Removes nCount elements from nIndex; all of them must exist.
  void RemoveAt(int nIndex, int nCount = 1) {
    SAVER_REQUIRE(nIndex >= 0 && nCount >= 0 && nCount <= GetSize() - nIndex);
    m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
  }

 private:
  size_t Check(int nIndex) const {
    SAVER_REQUIRE(nIndex >= 0 && nIndex < GetSize());
    return static_cast<size_t>(nIndex);
  }

  std::vector<TYPE> m_data;
};

}  // namespace saver_detail

class CObArray : public CObject, public saver_detail::ArrayCore<CObject*, CObject*> {
  DECLARE_DYNAMIC(CObArray)
 public:
  CObArray();
  ~CObArray() override;
};

class CPtrArray : public CObject, public saver_detail::ArrayCore<void*, void*> {
  DECLARE_DYNAMIC(CPtrArray)
 public:
  CPtrArray();
  ~CPtrArray() override;
};

class CStringArray : public CObject, public saver_detail::ArrayCore<CString, const CString&> {
  DECLARE_DYNAMIC(CStringArray)
 public:
  CStringArray();
  ~CStringArray() override;
};
