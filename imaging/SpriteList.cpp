#include "imaging/SpriteList.h"

#include <algorithm>
#include <vector>

#include "framework/Archive.h"
#include "imaging/DirtyRectList.h"

IMPLEMENT_SERIAL(CSpriteList, CObList, 0)

namespace {

CSprite* SpriteAt(const CObList& list, POSITION pos) {
  return static_cast<CSprite*>(list.GetAt(pos));
}

}  // namespace

CSpriteListObserver::~CSpriteListObserver() = default;

void CSpriteListObserver::OnSpriteChanged(CSprite* sprite, int flags, const CRect* oldRect,
                                          const CRect* newRect) {
  if (flags & kZChanged) {
    m_list->Reinsert(sprite);
    AddDirtyRect(oldRect);
  }
  if (flags & kMoved) {
    AddDirtyRect(oldRect);
    AddDirtyRect(newRect);
  }
  if (flags & kChangedInPlace) AddDirtyRect(oldRect);
}

void CSpriteListObserver::AddDirtyRect(const CRect* rect) {
  if (m_view && rect) m_view->AddDirtyRect(rect);
}

CSpriteList::CSpriteList() : CObList(10), m_observer(this) {}

CSpriteList::~CSpriteList() {
  for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
    CSprite* sprite = static_cast<CSprite*>(GetNext(pos));
    if (sprite->GetObserver() == &m_observer) sprite->SetObserver(nullptr);
  }
}

BOOL CSpriteList::Insert(CSprite* sprite) {
  sprite->SetObserver(&m_observer);
  for (POSITION pos = GetHeadPosition(); pos != nullptr; GetNext(pos)) {
    if (SpriteAt(*this, pos)->GetZ() >= sprite->GetZ()) {
      InsertBefore(pos, sprite);
      return 1;
    }
  }
  AddTail(sprite);
  return 1;
}

CSprite* CSpriteList::Remove(CSprite* sprite) {
  POSITION pos = Find(sprite);
  if (pos == nullptr) return nullptr;
  RemoveAt(pos);
  return sprite;
}

BOOL CSpriteList::Reinsert(CSprite* sprite) {
  if (!Remove(sprite)) return 0;
  return Insert(sprite);
}

CSprite* CSpriteList::HitTest(int x, int y) const {
  for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
    CSprite* sprite = static_cast<CSprite*>(GetNext(pos));
    if (sprite->HitTest(x, y)) return sprite;
  }
  return nullptr;
}

void CSpriteList::DeleteAll() {
  if (m_deleteAllHook) m_deleteAllHook();
  while (!IsEmpty()) delete static_cast<CSprite*>(RemoveHead());
}

void CSpriteList::Render(CDIB* target, const CRect* clip) const {
  for (POSITION pos = GetTailPosition(); pos != nullptr;) {
    static_cast<CSprite*>(GetPrev(pos))->Render(target, clip);
  }
}

void CSpriteList::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    CObList::Serialize(ar);
    return;
  }
  // Read everything first, so that a damaged archive adds nothing. An object read twice comes
  // back as the same pointer (a back reference): it is kept once.
  std::vector<CSprite*> loaded;
  try {
    const DWORD count = ar.ReadCount();
    for (DWORD i = 0; i < count; ++i) {
      CSprite* sprite = static_cast<CSprite*>(ar.ReadObject(RUNTIME_CLASS(CSprite)));
      if (sprite && std::find(loaded.begin(), loaded.end(), sprite) == loaded.end()) {
        loaded.push_back(sprite);
      }
    }
  } catch (...) {
    for (CSprite* sprite : loaded) delete sprite;
    throw;
  }
  for (CSprite* sprite : loaded) {
    if (Find(sprite) != nullptr) continue;
    sprite->SetObserver(&m_observer);
    AddTail(sprite);
  }
}
