// CSpriteList: the screen document's sprites, sorted by depth, with the observer that turns every
// sprite change into dirty rectangles of the screen view.
//
// The list holds CSprite pointers from the lowest z (nearest the viewer) at the head to the highest
// at the tail. It owns its sprites only as far as DeleteAll deletes them: destroying the list does
// not, and a sprite removed with Remove is the caller's again.
#pragma once

#include <functional>

#include "framework/Geometry.h"
#include "framework/Lists.h"
#include "imaging/Sprite.h"

class CDirtyRectSink;
class CSpriteList;

// Keeps the list sorted when a sprite's depth changes and reports the rectangles that changed to
// the view. Until a view is set (the document sets it once its view exists), the rectangles are
// dropped.
class CSpriteListObserver : public CSpriteObserver {
 public:
  explicit CSpriteListObserver(CSpriteList* list) : m_list(list) {}
  ~CSpriteListObserver() override;

  // kZChanged: re-sorts the sprite, then marks its rectangle dirty. kMoved: marks the old and the
  // new rectangle dirty. kChangedInPlace: marks the old rectangle dirty.
  void OnSpriteChanged(CSprite* sprite, int flags, const CRect* oldRect,
                       const CRect* newRect) override;

  void SetView(CDirtyRectSink* view) { m_view = view; }
  CDirtyRectSink* GetView() const { return m_view; }

 private:
  void AddDirtyRect(const CRect* rect);

  CSpriteList* m_list;
  CDirtyRectSink* m_view = nullptr;
};

class CSpriteList : public CObList {
  DECLARE_SERIAL(CSpriteList)
 public:
  CSpriteList();
  // Leaves the sprites alive; those still observed by this list lose their observer.
  ~CSpriteList() override;

  // Gives the sprite the list's observer and inserts it before the first sprite whose z is
  // greater than or equal to its own (so the newest of equal depths comes first). Returns 1.
  BOOL Insert(CSprite* sprite);
  // Takes the sprite out (it keeps its observer and is not deleted); null when it is not here.
  CSprite* Remove(CSprite* sprite);
  // Remove, then Insert at the place its depth now calls for; 0 when it is not in the list.
  BOOL Reinsert(CSprite* sprite);
  // The nearest sprite (from the head) that is hit at (x, y), or null.
  CSprite* HitTest(int x, int y) const;
  // Runs the delete-all hook, then deletes every sprite and empties the list.
  void DeleteAll();
  // Runs at the start of every DeleteAll: whoever keeps pointers to listed sprites (the screen
  // document's clock overlay) lets go of them there, before they are freed.
  void SetDeleteAllHook(std::function<void()> hook) { m_deleteAllHook = std::move(hook); }
  // Draws every sprite into the target within the clip, from the highest z to the lowest, so
  // that the nearest lies on top.
  void Render(CDIB* target, const CRect* clip) const;

  // The framework's list form: the count, then each sprite with its class. Loading appends the
  // sprites in their stored order and gives each the list's observer; an object of another class
  // fails with CArchiveException(badClass), and a failed load leaves the list as it was.
  void Serialize(CArchive& ar) override;

  CSpriteListObserver* GetObserver() { return &m_observer; }

 private:
  CSpriteListObserver m_observer;
  std::function<void()> m_deleteAllHook;
};
