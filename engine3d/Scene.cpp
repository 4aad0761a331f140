// C3DScene: set-up, lights, the object list and its depth order, and the frame clock.
#include "engine3d/Scene.h"

#include <new>

#include "engine3d/Raster.h"
#include "engine3d/SpotLight.h"
#include "imaging/DIBSurface.h"
#include "imaging/Raster8.h"
#include "imaging/ScreenHost.h"
#include "seams/Clock.h"

namespace {

// The default lights: a strong key light from the upper left front, a weaker fill from the lower
// right front and a side light from the left. A component of -65535 is -1.0 written as a fraction
// rounded toward zero; the directions are normalised when set, so the lost unit changes nothing.
struct DefaultLight {
  FixedVector direction;
  Fixed intensity;
};
constexpr DefaultLight kDefaultLights[] = {
    {{-65535, -65535, -65535}, 49152},  // 0.75
    {{65536, 65536, -65535}, 26214},    // 0.4
    {{65536, 0, 0}, 39322},             // 0.6
};
constexpr Fixed kAmbientLevel = 6554;  // 0.1

// Depth keys and layers of the markers: nothing sorts before head or after tail.
constexpr Fixed kHeadKey = INT32_MIN;
constexpr Fixed kTailKey = INT32_MAX;
constexpr int32_t kHeadLayer = -1;
constexpr int32_t kTailLayer = 101;

bool OrderedByDepth(const C3DObject* obj) { return obj->layer == -1; }

}  // namespace

C3DScene::C3DScene(ScreenHost* host) : doc(host) {
  state.host = host;
  ready = SetUp();
}

C3DScene::~C3DScene() { DeleteLights(); }

int C3DScene::SetUp() {
  int ok = BindSurface();
  GreyRampBaseIndex = doc != nullptr ? doc->GetReservedEntries() : 0;
  g_rasterTarget.greyBase = GreyRampBaseIndex;
  fullRedraw = 1;
  count = 0;
  state.view = FixedIdentity();

  state.ambient[0] = kAmbientLevel;
  state.ambient[1] = state.ambient[2] = 0;
  state.ambientOn = 1;
  DeleteLights();
  for (const DefaultLight& preset : kDefaultLights) {
    // Set up on a temporary of this scene (its direction is seen through the view), then copied.
    CSpotLight light;
    light.owner = &state;
    light.SetDirection(preset.direction);
    const Fixed colour[3] = {preset.intensity, 0, 0};
    light.SetColour(colour);
    if (!AddLight(light)) ok = 0;
  }

  ResetMarkers();
  StartClock(1);
  for (CSpotLight* light : state.lights) light->SwitchOn();
  return ok;
}

int C3DScene::BindSurface() {
  CDIBSurface* surface = doc != nullptr ? doc->GetSurface() : nullptr;
  const bool usable = surface != nullptr && surface->header != nullptr &&
                      surface->header->bmiHeader.biBitCount == 8;
  height_ = usable ? surface->GetHeight() : 0;
  if (!usable) return BindRasterTarget(nullptr, 0, 0, 0);
  return BindRasterTarget(surface->bits, surface->GetWidth(), surface->GetHeight(),
                          surface->GetStorageWidth());
}

void C3DScene::KeepSurfaceBound() {
  CDIBSurface* surface = doc != nullptr ? doc->GetSurface() : nullptr;
  const RasterTarget& t = g_rasterTarget;
  if (surface == nullptr || surface->bits != t.bits || surface->GetWidth() != t.width ||
      surface->GetHeight() != t.height || surface->GetStorageWidth() != t.stride) {
    BindSurface();
  }
}

int C3DScene::AddLight(const CSpotLight& light) {
  CSpotLight* copy = new (std::nothrow) CSpotLight;
  if (copy == nullptr) return 0;
  copy->CopyFrom(light);
  copy->owner = &state;
  try {
    state.lights.push_back(copy);
  } catch (const std::bad_alloc&) {
    delete copy;
    return 0;
  }
  return 1;
}

void C3DScene::DeleteLights() {
  for (CSpotLight* light : state.lights) delete light;
  state.lights.clear();
}

void C3DScene::ResetMarkers() {
  head.next = &tail;
  tail.prev = &head;
  head.prev = nullptr;
  tail.next = nullptr;
  head.origin.z = kHeadKey;
  tail.origin.z = kTailKey;
  head.layer = kHeadLayer;
  tail.layer = kTailLayer;
  count = 0;
}

void C3DScene::LinkBefore(C3DObject* obj, C3DObject* before) {
  obj->prev = before->prev;
  obj->next = before;
  before->prev->next = obj;
  before->prev = obj;
}

void C3DScene::Unlink(C3DObject* obj) {
  obj->prev->next = obj->next;
  obj->next->prev = obj->prev;
  obj->next = obj->prev = nullptr;
}

bool C3DScene::Holds(const C3DObject* obj) const {
  for (const C3DObject* p = head.next; p != &tail; p = p->next) {
    if (p == obj) return true;
  }
  return false;
}

int C3DScene::InsertObject(C3DObject* obj) {
  // Linking a listed object a second time would make the list a loop.
  if (obj == nullptr || obj == &head || obj == &tail || Holds(obj)) return 0;
  obj->scene = &state;
  obj->lastTick = state.tick;
  C3DObject* before = head.next;
  while (before != &tail && before->origin.z < obj->origin.z) before = before->next;
  LinkBefore(obj, before);
  count += 1;
  return 1;
}

int C3DScene::RemoveObject(C3DObject* obj) {
  if (obj == nullptr || !Holds(obj)) return 0;
  Unlink(obj);
  count -= 1;
  return 1;
}

void C3DScene::DepthSort() {
  if (count < 2) return;
  for (C3DObject* p = head.next->next; p != &tail;) {
    C3DObject* following = p->next;
    C3DObject* stop = p->prev;
    if (OrderedByDepth(p)) {
      while (stop != &head && stop->origin.z > p->origin.z) stop = stop->prev;
    } else {
      while (stop != &head && stop->layer > p->layer) stop = stop->prev;
    }
    if (stop != p->prev) {
      C3DObject* before = stop->next;
      Unlink(p);
      LinkBefore(p, before);
    }
    p = following;
  }
}

void C3DScene::Tick() {
  // Frames come no closer than kMinFramePeriodMs: a faster frame shows nothing more on a display
  // and would keep a core busy for as long as a routine runs.
  if (frames > 0) seams::IdleUntil(state.tick + kMinFramePeriodMs);
  state.tick = seams::TickCount();
  frames += 1;
}

void C3DScene::StartClock(int32_t newSpeed) {
  state.tick = seams::TickCount();
  frames = 0;
  state.speed = newSpeed;
}
