// C3DScene: the parts of a frame. Only what changed is composed again and shown: each object's
// last box is restored from the background, the clock is put back where an object covered it,
// and the old and new boxes of every object (merged when they overlap) reach the window.
#include <algorithm>
#include <cstdint>

#include "engine3d/Scene.h"
#include "imaging/ClockOverlay.h"
#include "imaging/DIBSurface.h"
#include "imaging/ScreenCompose.h"
#include "imaging/ScreenHost.h"

namespace {

LONG ToLong(int64_t v) { return static_cast<LONG>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

CRect C3DScene::WindowRect(const RECT& box) const {
  // Raster rows count from the bottom of the picture, window rows from the top.
  return CRect(box.left, ToLong(int64_t{height_} - box.bottom), box.right,
               ToLong(int64_t{height_} - box.top));
}

void C3DScene::EraseObjects() {
  if (doc == nullptr) return;
  for (C3DObject* obj = head.next; obj != &tail; obj = obj->next) {
    const CRect rect = WindowRect(obj->box);
    if (!rect.IsRectEmpty()) RenderBackgroundRect(doc->GetBackground(), doc->GetSurface(), &rect);
  }
}

void C3DScene::RedrawClockOverlap() {
  CClockOverlay* clock = GetClockOverlay(doc);
  if (clock == nullptr) return;
  clock->DrawTime();
  const CRect clockRect = clock->GetRect();
  for (C3DObject* obj = head.next; obj != &tail; obj = obj->next) {
    const CRect box = WindowRect(obj->box);
    CRect overlap;
    if (overlap.IntersectRect(&clockRect, &box)) {
      // The erase put back only the background there: compose the clock's sprites again.
      RenderSpritesRect(doc->GetBackground(), *doc->GetSprites(), doc->GetSurface(), &clockRect);
      return;
    }
  }
}

void C3DScene::MoveObjects() {
  for (C3DObject* obj = head.next; obj != &tail;) {
    C3DObject* following = obj->next;
    obj->Move();
    obj->dirty = 1;
    obj = following;
  }
  DepthSort();
}

void C3DScene::TransformObjects() {
  KeepSurfaceBound();
  for (C3DObject* obj = head.next; obj != &tail; obj = obj->next) {
    if (obj->dirty || fullRedraw) obj->Transform();
    obj->dirty = 0;
  }
  fullRedraw = 0;
}

void C3DScene::DrawObjects() {
  TransformObjects();
  for (C3DObject* obj = head.next; obj != &tail; obj = obj->next) obj->ResetBox();
  for (C3DObject* obj = head.next; obj != &tail; obj = obj->next) obj->Draw();
}

void C3DScene::BlitObjects() {
  if (doc == nullptr) return;
  if (CClockOverlay* clock = GetClockOverlay(doc)) {
    if (clock->shown == 0) {
      const CRect clockRect = clock->GetRect();
      doc->ShowRect(&clockRect);
      clock->shown = 1;
    }
  }
  for (C3DObject* obj = head.next; obj != &tail; obj = obj->next) ShowBoxes(*obj);
}

void C3DScene::ShowBoxes(C3DObject& obj) {
  const CRect before = WindowRect(obj.oldBox);
  const CRect now = WindowRect(obj.box);
  CRect overlap;
  if (overlap.IntersectRect(&before, &now)) {
    const CRect both = before | now;
    doc->ShowRect(&both);
  } else {
    if (!before.IsRectEmpty()) doc->ShowRect(&before);
    if (!now.IsRectEmpty()) doc->ShowRect(&now);
  }
  obj.oldBox = obj.box;
}
