// The 3D scene: set-up, the object list and its depth order, the dirty-rectangle frame (checked
// after every frame against the background and the shown window), the runners' timing under a
// test clock, collisions, stop requests, and the clock overlay under passing objects.
#include "engine3d/Scene.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine3d/Raster.h"
#include "engine3d/SpotLight.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/ClockOverlay.h"
#include "imaging/Raster8.h"
#include "imaging/ScreenCompose.h"
#include "seams/Clock.h"
#include "tests/native/engine3d/SceneFixture.h"
#include "tests/support/ThreadCpu.h"

using scenetest::FlyingCube;
using scenetest::FrameClock;
using scenetest::kUnit;
using scenetest::WindowedHost;

namespace {

// The objects of a scene in list order.
std::vector<C3DObject*> ListOf(const C3DScene& scene) {
  std::vector<C3DObject*> out;
  for (C3DObject* p = scene.head.next; p != &scene.tail; p = p->next) out.push_back(p);
  return out;
}

// Which window pixels lie in some object's box as last drawn.
std::vector<bool> BoxMask(const C3DScene& scene, int w, int h) {
  std::vector<bool> mask(static_cast<size_t>(w) * h, false);
  for (const C3DObject* obj : ListOf(scene)) {
    CRect r = scene.WindowRect(obj->box);
    r &= CRect(0, 0, w, h);
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) mask[static_cast<size_t>(y) * w + x] = true;
  }
  return mask;
}

class SceneTest : public ::testing::Test {
 protected:
  void TearDown() override {
    seams::ClearStop();
    GreyRampBaseIndex = 0;
  }
  std::unique_ptr<C3DScene> NewScene() { return std::make_unique<C3DScene>(&host); }
  // A cube that flies for `seconds` across the middle of the screen.
  std::unique_ptr<FlyingCube> Flyer(double seconds) {
    auto cube = std::make_unique<FlyingCube>(20, 0, false);
    cube->Fly(-100, 0, -400, 100, 0, -400, seconds);
    return cube;
  }
  // A cube that stays where it is and never stops.
  std::unique_ptr<FlyingCube> Hoverer(int x, int y, int z) {
    auto cube = std::make_unique<FlyingCube>(20, 0, false);
    cube->Fly(x, y, z, x, y, z, 1.0);
    cube->Object()->motionLeft = -1;  // no time limit
    return cube;
  }

  FrameClock clock;
  seams::ScopedClock scopedClock{&clock};
  WindowedHost host{322, 240};  // rows padded to 324 bytes
};

// ---- set-up -------------------------------------------------------------------------------------

TEST_F(SceneTest, SetUpBindsTheSurfaceTheGreyRampAndTheDefaultLights) {
  auto scene = NewScene();
  EXPECT_EQ(scene->ready, 1);
  const RasterTarget& t = g_rasterTarget;
  EXPECT_EQ(t.bits, host.GetSurface()->bits);
  EXPECT_EQ(t.width, 322);
  EXPECT_EQ(t.height, 240);
  EXPECT_EQ(t.stride, 324) << "the surface's real row length";
  EXPECT_EQ(t.clipLeft, 0);
  EXPECT_EQ(t.clipTop, 0);
  EXPECT_EQ(t.clipRight, 322);
  EXPECT_EQ(t.clipBottom, 240);
  EXPECT_EQ(GreyRampBaseIndex, WindowedHost::kReserved);
  EXPECT_EQ(t.greyBase, WindowedHost::kReserved);

  EXPECT_EQ(scene->state.ambient[0], 6554);
  EXPECT_EQ(scene->state.ambientOn, 1);
  struct Expected {
    FixedVector toLight;
    Fixed intensity;
  } lights[] = {
      {{37836, 37836, 37836}, 49152}, {{-37837, -37837, 37836}, 26214}, {{-65536, 0, 0}, 39322}};
  ASSERT_EQ(scene->state.lights.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    const CSpotLight& l = *scene->state.lights[i];
    EXPECT_EQ(l.on, 1) << i;
    EXPECT_EQ(l.owner, &scene->state) << i;
    EXPECT_EQ(l.colour[0], lights[i].intensity) << i;
    EXPECT_EQ(l.toLight.x, lights[i].toLight.x) << i;
    EXPECT_EQ(l.toLight.y, lights[i].toLight.y) << i;
    EXPECT_EQ(l.toLight.z, lights[i].toLight.z) << i;
  }
  const FixedMatrix identity = FixedIdentity();
  EXPECT_EQ(std::memcmp(&scene->state.view, &identity, sizeof(FixedMatrix)), 0);
  EXPECT_EQ(scene->count, 0);
  EXPECT_EQ(scene->head.next, &scene->tail);
  EXPECT_EQ(scene->tail.prev, &scene->head);
  EXPECT_EQ(scene->frames, 0);
  EXPECT_EQ(scene->state.speed, 1);
  EXPECT_EQ(scene->fullRedraw, 1);
}

TEST_F(SceneTest, WithoutASurfaceTheSceneRunsAndDrawsNothing) {
  HeadlessScreenHost empty(3);
  for (ScreenHost* target : {static_cast<ScreenHost*>(&empty), static_cast<ScreenHost*>(nullptr)}) {
    C3DScene scene(target);
    EXPECT_EQ(scene.ready, 0);
    EXPECT_EQ(g_rasterTarget.bits, nullptr);
    auto cube = Flyer(0.5);
    ASSERT_EQ(scene.InsertObject(cube->Object()), 1);
    scene.RunUntilAllStopped(1);
    EXPECT_EQ(cube->Object()->moving, 0);
    EXPECT_TRUE(empty.GetShownRects().empty());
    scene.RemoveObject(cube->Object());
  }
}

// ---- the object list ----------------------------------------------------------------------------

TEST_F(SceneTest, InsertOrdersByDepthKeyWithTiesBeforeExistingObjects) {
  auto scene = NewScene();
  C3DObject a, b, c, d;
  a.origin.z = -100 * kUnit;
  b.origin.z = -50 * kUnit;
  c.origin.z = -100 * kUnit;  // ties with a
  d.origin.z = -200 * kUnit;
  for (C3DObject* o : {&a, &b, &c, &d}) ASSERT_EQ(scene->InsertObject(o), 1);
  EXPECT_EQ(ListOf(*scene), (std::vector<C3DObject*>{&d, &c, &a, &b}));
  EXPECT_EQ(scene->count, 4);
  EXPECT_EQ(a.scene, &scene->state);
  EXPECT_EQ(a.lastTick, scene->state.tick);

  // Inserting a listed object again would make the list a loop: refused.
  EXPECT_EQ(scene->InsertObject(&a), 0);
  EXPECT_EQ(scene->InsertObject(&d), 0);
  EXPECT_EQ(scene->InsertObject(nullptr), 0);
  EXPECT_EQ(scene->count, 4);
  EXPECT_EQ(ListOf(*scene), (std::vector<C3DObject*>{&d, &c, &a, &b}));
  for (C3DObject* o : {&a, &b, &c, &d}) scene->RemoveObject(o);
}

TEST_F(SceneTest, RemoveTakesOutOnlyListedObjects) {
  auto scene = NewScene();
  C3DObject a, b, c, absent;
  a.origin.z = 1;
  b.origin.z = 2;
  c.origin.z = 3;
  for (C3DObject* o : {&a, &b, &c}) scene->InsertObject(o);
  EXPECT_EQ(scene->RemoveObject(&absent), 0);
  EXPECT_EQ(scene->RemoveObject(nullptr), 0);
  EXPECT_EQ(scene->count, 3);
  EXPECT_EQ(scene->RemoveObject(&b), 1);
  EXPECT_EQ(scene->RemoveObject(&b), 0) << "removed twice";
  EXPECT_EQ(scene->count, 2);
  EXPECT_EQ(ListOf(*scene), (std::vector<C3DObject*>{&a, &c}));
  EXPECT_EQ(scene->InsertObject(&b), 1) << "a removed object can come back";
  EXPECT_EQ(ListOf(*scene), (std::vector<C3DObject*>{&a, &b, &c}));
  for (C3DObject* o : {&a, &b, &c}) scene->RemoveObject(o);
  EXPECT_EQ(scene->count, 0);
}

TEST_F(SceneTest, DepthSortIsStableAndKeepsLayersApart) {
  struct Item {
    int32_t layer;
    int32_t key;
  };
  struct Case {
    const char* what;
    std::vector<Item> items;  // the list's order before sorting
    std::vector<int> sorted;  // indexes into items
  } cases[] = {
      {"equal keys keep their order", {{-1, 30}, {-1, 10}, {-1, 20}, {-1, 10}}, {1, 3, 2, 0}},
      {"fixed layers ascend, equal layers keep their order",
       {{2, 0}, {0, 0}, {1, 0}, {0, 0}},
       {1, 3, 2, 0}},
      {"a fixed layer never passes an object ordered by depth",
       {{-1, 50}, {3, 0}, {1, 0}, {-1, 10}},
       {0, 2, 1, 3}},
      {"an object ordered by depth compares its key with every object's key",
       {{0, 100}, {-1, 20}},
       {1, 0}},
      {"one object", {{-1, 5}}, {0}},
  };
  for (const Case& c : cases) {
    auto scene = NewScene();
    std::vector<C3DObject> objects(c.items.size());
    for (size_t i = 0; i < objects.size(); ++i) {
      objects[i].origin.z = static_cast<Fixed>(i);  // listed in the order given
      scene->InsertObject(&objects[i]);
    }
    for (size_t i = 0; i < objects.size(); ++i) {
      objects[i].layer = c.items[i].layer;
      objects[i].origin.z = c.items[i].key;
    }
    scene->DepthSort();
    std::vector<C3DObject*> expected;
    for (int i : c.sorted) expected.push_back(&objects[static_cast<size_t>(i)]);
    EXPECT_EQ(ListOf(*scene), expected) << c.what;
    EXPECT_EQ(scene->head.prev, nullptr);
    EXPECT_EQ(scene->tail.next, nullptr);
    for (C3DObject& o : objects) scene->RemoveObject(&o);
  }
}

TEST_F(SceneTest, TheSceneFreesItsLightsAndLeavesItsObjectsAlone) {
  FlyingCube kept(10, 0, false);
  kept.Fly(-50, 0, -400, 50, 0, -400, 1.0);
  const FixedMatrix endPose = kept.Object()->endMatrix;
  {
    C3DScene scene(&host);
    ASSERT_FALSE(scene.state.lights.empty()) << "the set-up made the default lights";
    ASSERT_EQ(scene.InsertObject(kept.Object()), 1);
    // Deleted while still listed, as an error path may do: the scene must not touch it after
    // (AddressSanitizer), and it frees only its lights (LeakSanitizer sees one left behind).
    auto dropped = std::make_unique<FlyingCube>(10, 0, false);
    ASSERT_EQ(scene.InsertObject(dropped->Object()), 1);
    dropped.reset();
  }
  // The kept cube is whole after its scene is gone, and another scene can take it and fly it.
  EXPECT_EQ(std::memcmp(&kept.Object()->endMatrix, &endPose, sizeof endPose), 0);
  C3DScene next(&host);
  ASSERT_EQ(next.InsertObject(kept.Object()), 1);
  EXPECT_EQ(next.RunUntilOneStops(0), kept.Object());
  EXPECT_EQ(std::memcmp(&kept.Object()->matrix, &endPose, sizeof endPose), 0) << "it landed";
  next.RemoveObject(kept.Object());
}

// ---- the runners --------------------------------------------------------------------------------

// Every runner, until its first result; `draw` is passed to those that take it.
struct NamedRunner {
  const char* name;
  bool alwaysDraws;
  std::function<void(C3DScene&, int draw)> run;
};
std::vector<NamedRunner> AllRunners() {
  return {
      {"RunForSeconds", false,
       [](C3DScene& s, int draw) {
         C3DObject* out[16];
         int32_t n = 0;
         s.RunForSeconds(60.0, draw, out, &n);
       }},
      {"RunUntilAllStopped", false, [](C3DScene& s, int draw) { s.RunUntilAllStopped(draw); }},
      {"RunUntilOneStops", false, [](C3DScene& s, int draw) { s.RunUntilOneStops(draw); }},
      {"RunWithCollisions", true,
       [](C3DScene& s, int) {
         C3DObject* out[16];
         int32_t n = 0;
         s.RunWithCollisions(1, out, &n);
       }},
  };
}

TEST_F(SceneTest, RunForSecondsZeroReturnsTimeUpWithoutAFrame) {
  auto scene = NewScene();
  auto cube = Flyer(1.0);
  scene->InsertObject(cube->Object());
  const uint32_t lastTick = cube->Object()->lastTick;
  for (double seconds : {0.0, -2.5}) {
    C3DObject* out[1] = {nullptr};
    int32_t n = 77;
    EXPECT_EQ(scene->RunForSeconds(seconds, 1, out, &n), kSceneTimeUp) << seconds;
    EXPECT_EQ(n, 77) << "count untouched";
    EXPECT_EQ(out[0], nullptr);
  }
  EXPECT_EQ(cube->Object()->lastTick, lastTick) << "no object moved";
  EXPECT_EQ(cube->Object()->moving, 1);
  EXPECT_TRUE(host.GetShownRects().empty());
  scene->RemoveObject(cube->Object());
}

TEST_F(SceneTest, RunForSecondsReturnsTheStoppedObjectsInListOrder) {
  auto scene = NewScene();
  auto moving = Flyer(1.0);
  FlyingCube still(20, 0, false);  // never given a motion: stopped from the start
  FlyingCube alsoStill(20, 0, false);
  still.Object()->matrix = FixedTranslation(0, 50 * kUnit, -500 * kUnit);
  alsoStill.Object()->matrix = FixedTranslation(0, -50 * kUnit, -300 * kUnit);
  for (FlyingCube* c : {moving.get(), &still, &alsoStill}) {
    c->Object()->Transform();  // gives it its depth key
    scene->InsertObject(c->Object());
  }
  C3DObject* out[3] = {};
  int32_t n = 0;
  EXPECT_EQ(scene->RunForSeconds(5.0, 1, out, &n), kSceneObjectsStopped);
  EXPECT_EQ(scene->frames, 1) << "one frame";
  ASSERT_EQ(n, 2);
  EXPECT_EQ(out[0], still.Object()) << "far to near";
  EXPECT_EQ(out[1], alsoStill.Object());
  for (FlyingCube* c : {moving.get(), &still, &alsoStill}) scene->RemoveObject(c->Object());
}

TEST_F(SceneTest, AThreeSecondMotionTakes188FramesOf16Milliseconds) {
  for (const NamedRunner& runner : AllRunners()) {
    for (int draw : {1, 0}) {
      if (!draw && runner.alwaysDraws) continue;
      SCOPED_TRACE(std::string(runner.name) + (draw ? " drawing" : " not drawing"));
      host.ClearShownRects();
      auto scene = NewScene();
      auto cube = Flyer(3.0);
      scene->InsertObject(cube->Object());
      runner.run(*scene, draw);
      EXPECT_EQ(scene->frames, 188);
      EXPECT_EQ(cube->Object()->moving, 0);
      EXPECT_EQ(
          std::memcmp(&cube->Object()->matrix, &cube->Object()->endMatrix, sizeof(FixedMatrix)), 0)
          << "landed on the end pose";
      EXPECT_EQ(host.GetShownRects().empty(), draw == 0);
      scene->RemoveObject(cube->Object());
    }
  }
}

// On the system clock a runner sleeps between frames: a scene that runs for 300 ms uses a small
// part of that in processor time (drawing frames back to back used all of it).
TEST(SceneFrames, ARunnerOnTheSystemClockSleepsBetweenFrames) {
  HeadlessScreenHost host;
  C3DScene scene(&host);
  FlyingCube cube(20, 0, false);
  cube.Fly(-100, 0, -400, 100, 0, -400, 10.0);
  scene.InsertObject(cube.Object());
  const double before = testsupport::ThreadCpuMs();
  EXPECT_EQ(scene.RunForSeconds(0.3, 1, nullptr, nullptr), kSceneTimeUp);
  EXPECT_LT(testsupport::ThreadCpuMs() - before, 150.0);
  EXPECT_LE(scene.frames, 32) << "at most one frame per " << kMinFramePeriodMs << " ms";
  scene.RemoveObject(cube.Object());
}

TEST_F(SceneTest, RunForSecondsEndsWhenTimeIsUp) {
  auto scene = NewScene();
  auto cube = Flyer(3.0);
  scene->InsertObject(cube->Object());
  C3DObject* out[1];
  int32_t n = 77;
  EXPECT_EQ(scene->RunForSeconds(1.0, 1, out, &n), kSceneTimeUp);
  EXPECT_EQ(n, 77);
  EXPECT_EQ(scene->frames, 64) << "63 frames in 1000 ms, then the tick that ends it";
  EXPECT_EQ(cube->Object()->moving, 1);
  scene->RemoveObject(cube->Object());
}

TEST_F(SceneTest, RunUntilOneStopsReturnsTheFirstToStop) {
  auto scene = NewScene();
  EXPECT_EQ(scene->RunUntilOneStops(1), nullptr) << "an empty scene has nothing to wait for";
  auto slow = Flyer(2.0);
  auto fast = Flyer(1.0);
  fast->Fly(-100, 60, -500, 100, 60, -500, 1.0);
  scene->InsertObject(slow->Object());
  scene->InsertObject(fast->Object());
  EXPECT_EQ(scene->RunUntilOneStops(1), fast->Object());
  EXPECT_EQ(scene->frames, 63);
  EXPECT_EQ(slow->Object()->moving, 1);
  scene->RemoveObject(slow->Object());
  scene->RemoveObject(fast->Object());
}

TEST_F(SceneTest, CollisionsNeedOverlappingSpheres) {
  // Objects without geometry that never stop, their spheres' squared radii summing to 25 pixels
  // squared: they collide when nearer than 5 pixels.
  struct Case {
    Fixed distance;
    bool collide;
  } cases[] = {{5 * kUnit, false}, {5 * kUnit - 1, true}, {3 * kUnit, true}, {40 * kUnit, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.distance);
    seams::ClearStop();
    clock.reads = 0;
    clock.stopAfter = 30;
    auto scene = NewScene();
    C3DObject a, b;
    a.moving = b.moving = 1;
    a.radiusSq = 16 * kUnit;
    b.radiusSq = 9 * kUnit;
    a.origin = FixedVector{0, 0, -100 * kUnit};
    b.origin = FixedVector{0, c.distance, -100 * kUnit + 1};
    scene->InsertObject(&b);
    scene->InsertObject(&a);
    C3DObject* out[2] = {};
    int32_t n = 77;
    const int result = scene->RunWithCollisions(0, out, &n);
    EXPECT_EQ(result, c.collide ? kSceneCollision : kSceneInterrupted);
    if (c.collide) {
      EXPECT_EQ(out[0], &a) << "first in list order";
      EXPECT_EQ(out[1], &b);
      EXPECT_EQ(scene->frames, 1);
    }
    EXPECT_EQ(n, 77);
    scene->RemoveObject(&a);
    scene->RemoveObject(&b);
  }
}

TEST_F(SceneTest, ExactCollisionsNeedAVertexInsideTheOtherHull) {
  // Cubes of side 40 whose centres are 44 apart: the spheres overlap, the cubes do not touch.
  auto left = Hoverer(-22, 0, -400);
  auto right = Hoverer(22, 0, -400);
  for (int exact : {0, 1}) {
    SCOPED_TRACE(exact);
    seams::ClearStop();
    clock.reads = 0;
    clock.stopAfter = 20;
    auto scene = NewScene();
    scene->InsertObject(left->Object());
    scene->InsertObject(right->Object());
    C3DObject* out[2] = {};
    int32_t n = 0;
    EXPECT_EQ(scene->RunWithCollisions(exact, out, &n),
              exact ? kSceneInterrupted : kSceneCollision);
    scene->RemoveObject(left->Object());
    scene->RemoveObject(right->Object());
  }

  // Flying into each other, they meet before their flights end.
  seams::ClearStop();
  clock.stopAfter = 0;
  auto scene = NewScene();
  auto a = std::make_unique<FlyingCube>(20, 0, false);
  auto b = std::make_unique<FlyingCube>(20, 0, false);
  a->Fly(-150, 0, -400, 150, 0, -400, 2.0);
  b->Fly(150, 0, -400, -150, 0, -400, 2.0);
  scene->InsertObject(a->Object());
  scene->InsertObject(b->Object());
  C3DObject* out[2] = {};
  int32_t n = 0;
  EXPECT_EQ(scene->RunWithCollisions(1, out, &n), kSceneCollision);
  EXPECT_EQ(a->Object()->moving, 1);
  EXPECT_LT(scene->frames, 125);
  EXPECT_EQ(scene->RunWithCollisions(1, out, &n), kSceneCollision) << "still in contact";
  scene->RemoveObject(a->Object());
  scene->RemoveObject(b->Object());
  EXPECT_EQ(scene->RunWithCollisions(1, out, &n), kSceneInterrupted) << "an empty scene";
}

TEST_F(SceneTest, AStopRequestEndsEveryRunnerBetweenFrames) {
  for (const NamedRunner& runner : AllRunners()) {
    SCOPED_TRACE(runner.name);
    seams::ClearStop();
    clock.reads = 0;
    clock.stopAfter = 10;
    auto scene = NewScene();
    auto cube = Hoverer(0, 0, -400);
    scene->InsertObject(cube->Object());
    runner.run(*scene, 1);  // would never end otherwise: the object never stops
    EXPECT_LE(scene->frames, 10);
    EXPECT_TRUE(seams::StopRequested());
    scene->RemoveObject(cube->Object());
  }
  seams::ClearStop();
  clock.stopAfter = 0;
  auto scene = NewScene();
  auto cube = Hoverer(0, 0, -400);
  scene->InsertObject(cube->Object());
  seams::RequestStop();
  C3DObject* out[1];
  int32_t n = 0;
  EXPECT_EQ(scene->RunForSeconds(1.0, 1, out, &n), kSceneInterrupted);
  EXPECT_EQ(scene->RunUntilOneStops(1), nullptr);
  scene->RemoveObject(cube->Object());
}

// ---- the dirty-rectangle frame ------------------------------------------------------------------

TEST_F(SceneTest, BlitShowsTheUnionOfOverlappingBoxesElseEachBox) {
  const int H = 240;
  struct Case {
    const char* what;
    RECT oldBox, box;  // raster rows, counted from the bottom
    std::vector<CRect> shown;
  } cases[] = {
      {"overlapping: their union",
       {10, 10, 50, 50},
       {30, 30, 70, 70},
       {CRect(10, H - 70, 70, H - 10)}},
      {"apart: the old box, then the new",
       {10, 10, 20, 20},
       {100, 100, 120, 130},
       {CRect(10, H - 20, 20, H - 10), CRect(100, H - 130, 120, H - 100)}},
      {"edges touching: apart",
       {10, 10, 20, 20},
       {20, 10, 30, 20},
       {CRect(10, H - 20, 20, H - 10), CRect(20, H - 20, 30, H - 10)}},
      {"the first frame: the new box alone", {0, 0, 0, 0}, {5, 0, 9, 240}, {CRect(5, 0, 9, 240)}},
      {"nothing drawn now: the old box alone",
       {10, 10, 20, 20},
       {kEmptyBoxLow, kEmptyBoxLow, 0, 0},
       {CRect(10, H - 20, 20, H - 10)}},
  };
  auto scene = NewScene();
  for (const Case& c : cases) {
    C3DObject obj;
    obj.oldBox = c.oldBox;
    obj.box = c.box;
    scene->InsertObject(&obj);
    host.ClearShownRects();
    scene->BlitObjects();
    EXPECT_EQ(host.GetShownRects(), c.shown) << c.what;
    EXPECT_EQ(CRect(obj.oldBox), CRect(obj.box)) << c.what;
    scene->RemoveObject(&obj);
  }
}

// Cubes of every kind of face on crossing paths, some leaving the screen, some turning.
struct Flight {
  int32_t flags;
  bool textured;
  int from[3], to[3];
  double seconds;
  int32_t turn[3];
};
const Flight kFlights[] = {
    {0, false, {-260, -60, -400}, {260, 40, -420}, 1.5, {0, 900, 0}},
    {kFaceAmbient | kFaceSpotLit, false, {200, 100, -350}, {-180, -90, -380}, 1.2, {450, 0, 900}},
    {0, true, {0, -140, -300}, {20, 140, -320}, 1.8, {0, 0, 450}},
    {kFaceAmbient | kFaceSpotLit, true, {-120, 0, -800}, {140, 10, -200}, 2.0, {300, 300, 0}},
    {kFaceSpotLit, false, {150, -150, -450}, {-150, 150, -450}, 1.0, {0, 0, 0}},
    {0, false, {-40, 80, -250}, {-40, 80, -250}, 0.7, {1800, 0, 0}},
};

class FlyingScene : public SceneTest {
 protected:
  void Launch(C3DScene& scene) {
    cubes.clear();
    for (const Flight& f : kFlights) {
      cubes.push_back(std::make_unique<FlyingCube>(24, f.flags, f.textured));
      const int32_t none[3] = {0, 0, 0};
      cubes.back()->cube.object.SetMotion(
          FixedVector{f.from[0] * kUnit, f.from[1] * kUnit, f.from[2] * kUnit}, none,
          FixedVector{f.to[0] * kUnit, f.to[1] * kUnit, f.to[2] * kUnit}, f.turn, f.seconds, 0);
      scene.InsertObject(cubes.back()->Object());
    }
  }
  void Land(C3DScene& scene) {
    for (auto& c : cubes) scene.RemoveObject(c->Object());
  }
  std::vector<std::unique_ptr<FlyingCube>> cubes;
};

// After every frame the window shows the surface, and the surface shows the background except
// where an object was drawn.
TEST_F(FlyingScene, EveryFrameShowsWhatChangedAndLeavesTheBackgroundElsewhere) {
  for (const NamedRunner& runner : AllRunners()) {
    SCOPED_TRACE(runner.name);
    host.Reset(322, 240);
    auto scene = NewScene();
    Launch(*scene);
    int checked = 0, withObjects = 0;
    clock.betweenFrames = [&] {
      const int w = host.Width(), h = host.Height();
      const std::vector<bool> mask = BoxMask(*scene, w, h);
      size_t notShown = 0, notBackground = 0, drawn = 0;
      for (int y = 0; y < h; ++y) {
        const BYTE* surface = host.SurfaceRow(y);
        const BYTE* background = host.BackgroundRow(y);
        const BYTE* window = host.WindowRow(y);
        for (int x = 0; x < w; ++x) {
          notShown += window[x] != surface[x];
          const bool changed = surface[x] != background[x];
          drawn += changed;
          notBackground += changed && !mask[static_cast<size_t>(y) * w + x];
        }
      }
      EXPECT_EQ(notShown, 0u) << "frame " << scene->frames;
      EXPECT_EQ(notBackground, 0u) << "frame " << scene->frames;
      ++checked;
      withObjects += drawn > 0;
    };
    runner.run(*scene, 1);
    clock.betweenFrames = nullptr;
    EXPECT_GT(checked, 30);
    EXPECT_GT(withObjects, 30) << "the cubes were drawn";
    Land(*scene);
  }
}

TEST_F(FlyingScene, DrawingFollowsTheSurfaceWhenTheScreenIsRebuilt) {
  auto scene = NewScene();
  Launch(*scene);
  host.Reset(400, 300);  // the old surface's pixels are freed
  scene->RunUntilAllStopped(1);
  EXPECT_EQ(g_rasterTarget.bits, host.GetSurface()->bits);
  EXPECT_EQ(g_rasterTarget.width, 400);
  EXPECT_EQ(g_rasterTarget.height, 300);
  size_t notShown = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) notShown += host.WindowRow(y)[x] != host.SurfaceRow(y)[x];
  EXPECT_EQ(notShown, 0u);
  Land(*scene);
}

// ---- the clock overlay --------------------------------------------------------------------------

// The screen document and its view (without a window natively), with the clock in its corner.
class ClockScene : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.AddView(&view);
    doc.OnNewDocument();
    ASSERT_TRUE(doc.SetBackgroundNoDraw(scenetest::NewBackground(kWidth, kHeight)));
  }
  void TearDown() override {
    RemoveClockOverlay(&doc);
    doc.RemoveView(&view);
    GreyRampBaseIndex = 0;
  }
  // The background with every sprite over it, composed from scratch.
  std::vector<BYTE> Composed() {
    CDIB fresh;
    fresh.Create(kWidth, kHeight, nullptr);
    RenderBackgroundRect(doc.background, &fresh, nullptr);
    RenderSpritesRect(doc.background, doc.sprites, &fresh, nullptr);
    std::vector<BYTE> out;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) out.push_back(*fresh.GetPixelAddress(x, y));
    return out;
  }

  static constexpr int kWidth = 320;
  static constexpr int kHeight = 240;
  FrameClock clock;
  seams::ScopedClock scopedClock{&clock};
  CAnimView view;
  CAnimDoc doc;
};

TEST_F(ClockScene, TheClockIsComposedAgainWhereAnObjectCoveredIt) {
  C3DScene scene(&doc);
  auto* overlay = CreateClockOverlay(&doc);  // after the scene: it takes the scene's grey ramp
  ASSERT_EQ(GetClockOverlay(&doc), overlay);
  // A cube that flies through the clock in the top right corner and out of the screen.
  FlyingCube cube(24, kFaceAmbient | kFaceSpotLit, false);
  cube.Fly(-200, -85, -400, 300, -85, -400, 3.0);
  scene.InsertObject(cube.Object());
  int overClock = 0;
  std::vector<BYTE> expected;
  CTime composedAt(-1);
  clock.betweenFrames = [&] {
    if (overlay->lastTime != composedAt) {  // the hands move once a second
      expected = Composed();
      composedAt = overlay->lastTime;
    }
    const std::vector<bool> mask = BoxMask(scene, kWidth, kHeight);
    size_t wrong = 0;
    for (int y = 0; y < kHeight; ++y) {
      const BYTE* row = view.surface->GetPixelAddress(0, y);
      for (int x = 0; x < kWidth; ++x) {
        const size_t i = static_cast<size_t>(y) * kWidth + x;
        wrong += !mask[i] && row[x] != expected[i];
      }
    }
    EXPECT_EQ(wrong, 0u) << "frame " << scene.frames;
    const CRect box = scene.WindowRect(cube.Object()->box);
    const CRect clockRect = overlay->GetRect();
    CRect overlap;
    overClock += overlap.IntersectRect(&box, &clockRect) ? 1 : 0;
    EXPECT_TRUE(scene.frames == 0 || overlay->shown == 1) << "frame " << scene.frames;
  };
  scene.RunUntilAllStopped(1);
  clock.betweenFrames = nullptr;
  EXPECT_GT(overClock, 10) << "the cube passed over the clock";
  EXPECT_NE(overlay->lastTime, CTime(0)) << "the hands were drawn";
  scene.RemoveObject(cube.Object());
}

}  // namespace
