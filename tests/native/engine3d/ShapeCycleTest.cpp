// Whole animation cycles of the round shapes in a scene on a headless screen: every turning
// state, the launch, the flights and the homing run in turn, the faces pick up the picture, and
// the cycle comes back to state 0 with the screen showing what its surface holds.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>

#include "engine3d/Scene.h"
#include "engine3d/ShapesRound.h"
#include "seams/Clock.h"
#include "seams/Random.h"
#include "tests/native/engine3d/BoxPlanes.h"
#include "tests/native/engine3d/SceneFixture.h"

namespace {

using scenetest::FrameClock;
using scenetest::WindowedHost;

BoundingPlanes Box() { return scenetest::BoxPlanes(60, 40, 400, -250); }

// Runs AnimateStep and the scene until the object's state comes back to 0; the states seen.
std::set<int32_t> RunCycle(C3DScene& scene, C3DPObject& shape, int limit) {
  std::set<int32_t> seen;
  for (int step = 0; step < limit; ++step) {
    seen.insert(shape.animState);
    shape.AnimateStep();
    if (shape.moving) scene.RunUntilOneStops(1);
    if (shape.animState == 0) break;
  }
  return seen;
}

struct CycleCase {
  const char* name;
  int32_t offset;
};

TEST(ShapeCycle, RoundShapesRunAWholeEnabledCycle) {
  for (const CycleCase& c : {CycleCase{"C3DCyl52", 3}, CycleCase{"C3DBall72", 3}}) {
    SCOPED_TRACE(c.name);
    FrameClock clock;
    seams::ScopedClock installed(&clock);
    seams::Srand(99);
    WindowedHost host(640, 480);
    C3DScene scene(&host);
    std::unique_ptr<C3DPObject> shape(
        static_cast<C3DPObject*>(CRuntimeClass::CreateObject(c.name)));
    ASSERT_NE(shape, nullptr);
    if (shape->IsKindOf(RUNTIME_CLASS(C3DCyl))) {
      static_cast<C3DCyl*>(shape.get())->SetScreenArea(RECT{0, 0, 640, 480});
    }
    const BoundingPlanes box = Box();
    const int32_t ints[4] = {-1, 10, 20, 1};
    shape->SetAnimationParams(0, &box, ints, 0x404040, 0.02);
    shape->SetStateOffset(c.offset);
    shape->EnableAnimation();
    const int32_t n = shape->GetAnimationStateCount();
    ASSERT_GT(n, 0);
    // Start lying on the picture, tilted toward the viewer.
    RotateMatrixX(shape->matrix, 900);
    ASSERT_EQ(scene.InsertObject(shape.get()), 1);
    const std::set<int32_t> seen = RunCycle(scene, *shape, 4 * n);
    EXPECT_EQ(shape->animState, 0) << "the cycle closes";
    for (int32_t s = 0; s <= n + c.offset; ++s) EXPECT_EQ(seen.count(s), 1u) << "state " << s;
    int textured = 0;
    for (int32_t k = 0; k < shape->faceCount; ++k) textured += shape->faces[k].texture != nullptr;
    EXPECT_GT(textured, 0) << "faces picked up the picture";
    // What the window shows is what the surface holds.
    for (int y = 0; y < host.Height(); ++y) {
      ASSERT_EQ(std::memcmp(host.WindowRow(y), host.SurfaceRow(y), 640), 0) << "row " << y;
    }
    scene.RemoveObject(shape.get());
  }
}

}  // namespace
