// The 3D object model: run-time classes, motions, transform and projection, culling, lit and
// textured drawing, collisions and ownership of face textures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "engine3d/PolyObject.h"
#include "engine3d/SceneState.h"
#include "tests/native/engine3d/CubeFixture.h"
#include "tests/native/engine3d/RasterFixture.h"

namespace {

constexpr Fixed kUnit = 65536;

// An object moved by hand through scene ticks of `stepMs`.
struct Clocked {
  SceneState scene;
  void Attach(C3DObject& object) {
    object.scene = &scene;
    object.lastTick = scene.tick;
  }
  void Frame(C3DObject& object, uint32_t stepMs) {
    scene.tick += stepMs;
    object.Move();
  }
};

bool SameMatrix(const FixedMatrix& a, const FixedMatrix& b) {
  return std::memcmp(&a, &b, sizeof(a)) == 0;
}

TEST(C3DObject, RunTimeClassesAndDefaults) {
  for (const char* name : {"C3DObject", "C3DPObject"}) {
    std::unique_ptr<CObject> made(CRuntimeClass::CreateObject(name));
    ASSERT_NE(made, nullptr) << name;
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(C3DObject))) << name;
    EXPECT_STREQ(made->GetRuntimeClass()->m_lpszClassName, name);
    const C3DObject* o = static_cast<C3DObject*>(made.get());
    EXPECT_EQ(o->layer, -1);
    EXPECT_EQ(o->moving, 0);
    EXPECT_EQ(o->next, nullptr);
    EXPECT_EQ(o->radiusSq, 0);
  }
  EXPECT_TRUE(C3DPObject().IsKindOf(RUNTIME_CLASS(C3DPObject)));
  EXPECT_FALSE(C3DObject().IsKindOf(RUNTIME_CLASS(C3DPObject)));
}

TEST(C3DObject, AnimationAccessorsStoreWhatTheyAreGiven) {
  C3DObject o;
  o.EnableAnimation();
  EXPECT_EQ(o.animEnabled, 1);
  o.DisableAnimation();
  EXPECT_EQ(o.animEnabled, 0);
  o.SetStateOffset(7);
  EXPECT_EQ(o.GetStateOffset(), 7);
  o.SetAnimationState(3);
  EXPECT_EQ(o.animState, 3);
  EXPECT_EQ(o.GetAnimationStateCount(), 0);
  EXPECT_EQ(o.Query(42), 0);
  BoundingPlanes planes{};
  planes.m[3][5] = -12.5;
  const int32_t ints[4] = {-1, 4, 14, 2};
  o.SetAnimationParams(9, &planes, ints, 0x00FF8040u, 1.0);
  EXPECT_EQ(o.animState, 9);
  EXPECT_EQ(o.boundingPlanes.m[3][5], -12.5);
  EXPECT_EQ(o.animInts[2], 14);
  EXPECT_EQ(o.animColour, 0x00FF8040u);
  EXPECT_EQ(o.animReal, 1.0);
}

TEST(Motion, GravityThrowsTheObjectUpAndLandsItOnTheEndPose) {
  TestCube cube(kUnit);
  Clocked clock;
  clock.Attach(cube.object);
  const FixedVector p{3 * kUnit, -2 * kUnit, -40 * kUnit};
  const int32_t angles[3] = {0, 0, 0};
  cube.object.SetMotion(p, angles, p, angles, 2.0, 1);
  // 4.9 T in Fixed: the fall back is carried by the start velocity.
  EXPECT_EQ(cube.object.velocity.z, static_cast<Fixed>(4.9 * 2.0 * 65536 + 0.5));
  EXPECT_EQ(cube.object.velocity.x, 0);
  Fixed highest = p.z;
  int frames = 0;
  while (cube.object.moving && frames < 1000) {
    clock.Frame(cube.object, 20);
    ++frames;
    highest = std::max(highest, cube.object.matrix.m[2][3]);
    if (cube.object.moving) {
      EXPECT_GE(cube.object.matrix.m[2][3], p.z - 2)
          << "never falls below the start, frame " << frames;
    }
  }
  // At t = 1 s the object is 4.9 units up.
  EXPECT_NEAR((highest - p.z) / 65536.0, 4.9, 0.01);
  EXPECT_EQ(frames, 101);  // ends on the first frame past 2000 ms
  EXPECT_TRUE(SameMatrix(cube.object.matrix, cube.object.endMatrix));
  EXPECT_EQ(cube.object.gravity, 0);
}

TEST(Motion, EndsOnTheFirstFramePastItsTimeAndSnapsToTheEndPose) {
  TestCube cube(kUnit);
  Clocked clock;
  clock.Attach(cube.object);
  const FixedVector from{0, 0, -30 * kUnit}, to{7 * kUnit, 1 * kUnit, -50 * kUnit};
  const int32_t a0[3] = {0, 0, 0}, a1[3] = {900, -450, 1234};
  cube.object.SetMotion(from, a0, to, a1, 3.0, 0);
  EXPECT_EQ(cube.object.motionTotal, 3000);
  EXPECT_EQ(cube.object.spin[0], 300);
  EXPECT_EQ(cube.object.spin[2], 411);
  int frames = 0;
  while (cube.object.moving && frames < 1000) {
    clock.Frame(cube.object, 16);
    ++frames;
  }
  EXPECT_EQ(frames, 188);  // 188 x 16 = 3008 ms, the first frame past 3000 ms
  EXPECT_TRUE(SameMatrix(cube.object.matrix, cube.object.endMatrix));
  EXPECT_EQ(cube.object.velocity.x, 0);
  EXPECT_EQ(cube.object.spin[0], 0);
  EXPECT_EQ(cube.object.dirty, 1);
  // The end matrix is the end pose: translation, then turns about x, y, z.
  FixedMatrix expected = FixedTranslation(to.x, to.y, to.z);
  RotateMatrixX(expected, 900);
  RotateMatrixY(expected, -450);
  RotateMatrixZ(expected, 1234);
  EXPECT_TRUE(SameMatrix(cube.object.endMatrix, expected));
}

// A motion of no time ends at the next step even when the tick has not moved: on a coarse tick
// a routine waiting for it would otherwise show nothing for a whole tick period.
TEST(Motion, ZeroOrNegativeDurationEndsAtTheNextStep) {
  for (double seconds : {0.0, -1.5, std::nan("")}) {
    TestCube cube(kUnit);
    Clocked clock;
    clock.Attach(cube.object);
    const int32_t a0[3] = {0, 0, 0}, a1[3] = {900, 0, 0};
    cube.object.SetMotion(FixedVector{0, 0, -9 * kUnit}, a0, FixedVector{kUnit, 0, -9 * kUnit}, a1,
                          seconds, 1);
    EXPECT_EQ(cube.object.velocity.z, 0);
    EXPECT_EQ(cube.object.spin[0], 0);
    EXPECT_EQ(cube.object.moving, 1);
    EXPECT_TRUE(SameMatrix(cube.object.matrix, cube.object.startMatrix));
    clock.Frame(cube.object, 0);  // no time passed, and still the motion is over
    EXPECT_EQ(cube.object.moving, 0) << seconds;
    EXPECT_TRUE(SameMatrix(cube.object.matrix, cube.object.endMatrix));
  }
}

TEST(Motion, ANewMotionMayStartFromOrReturnToTheObjectsOwnPose) {
  C3DPObject o;
  const int32_t a0[3] = {100, 200, 300}, a1[3] = {400, 500, 600};
  const FixedVector p0{kUnit, 2 * kUnit, -3 * kUnit}, p1{4 * kUnit, 5 * kUnit, -6 * kUnit};
  o.SetMotion(p0, a0, p1, a1, 1.0, 0);
  // Onward from where the last motion ends.
  o.SetMotion(o.endPos, o.endAngles, p0, a0, 1.0, 0);
  EXPECT_EQ(o.startPos.x, p1.x);
  EXPECT_EQ(o.startAngles[2], 600);
  EXPECT_EQ(o.endPos.x, p0.x);
  EXPECT_EQ(o.endAngles[2], 300);
  // Back to where the last motion started (p1, a1), from p0.
  o.SetMotion(p0, a0, o.startPos, o.startAngles, 1.0, 0);
  EXPECT_EQ(o.endPos.z, p1.z);
  EXPECT_EQ(o.endAngles[0], 400);
  EXPECT_EQ(o.startPos.z, p0.z);
  EXPECT_EQ(o.startAngles[0], 100);
}

TEST(Motion, LongMotionsKeepTheirPlaceBeyondThirtyTwoSeconds) {
  TestCube cube(kUnit);
  Clocked clock;
  clock.Attach(cube.object);
  const int32_t a[3] = {0, 0, 0};
  cube.object.SetMotion(FixedVector{0, 0, -9 * kUnit}, a, FixedVector{100 * kUnit, 0, -9 * kUnit},
                        a, 100.0, 0);
  for (int second = 1; second <= 90; ++second) {
    clock.Frame(cube.object, 1000);
    // The pose of a frame is taken at the time before its step: one second behind.
    ASSERT_NEAR(cube.object.matrix.m[0][3] / 65536.0, second - 1, 0.01)
        << "after " << second << " s";
  }
  EXPECT_EQ(cube.object.moving, 1);
}

TEST(Motion, SpeedFactorScalesElapsedTimeAndTickWrapIsHarmless) {
  TestCube cube(kUnit);
  Clocked clock;
  clock.scene.tick = 0xFFFFFF00u;  // the millisecond counter wraps during the motion
  clock.scene.speed = 2;
  clock.Attach(cube.object);
  const int32_t a[3] = {0, 0, 0};
  cube.object.SetMotion(FixedVector{0, 0, -9 * kUnit}, a, FixedVector{10 * kUnit, 0, -9 * kUnit}, a,
                        1.0, 0);
  clock.Frame(cube.object, 300);  // 600 ms of motion
  clock.Frame(cube.object, 0);
  EXPECT_NEAR(cube.object.matrix.m[0][3] / 65536.0, 6.0, 0.01);
  EXPECT_EQ(cube.object.motionLeft, 400);
}

TEST(Motion, PivotTurnsAboutThePivotPoint) {
  TestCube cube(kUnit);
  Clocked clock;
  clock.Attach(cube.object);
  const int32_t a0[3] = {0, 0, 0}, a1[3] = {0, 0, 1800};
  cube.object.SetMotion(FixedVector{0, 0, 0}, a0, FixedVector{0, 0, 0}, a1, 2.0, 0);
  cube.object.pivotMode = 1;
  cube.object.pivotIn = FixedTranslation(10 * kUnit, 0, 0);
  cube.object.pivotOut = FixedTranslation(-10 * kUnit, 0, 0);
  clock.Frame(cube.object, 1000);  // t = 0 at this frame
  clock.Frame(cube.object, 0);     // t = 1 s: a quarter turn about (10, 0, 0)
  EXPECT_EQ(cube.object.pivotAngles[2], 900);
  FixedVector origin;
  TransformPoint(cube.object.matrix, FixedVector{0, 0, 0}, origin);
  EXPECT_EQ(origin.x, 10 * kUnit);
  EXPECT_EQ(origin.y, -10 * kUnit);
  EXPECT_EQ(origin.z, 0);
}

// A cube 20 units in front of the camera, on a 640 x 480 target.
class DrawnCube : public ::testing::Test {
 protected:
  DrawnCube() : surface(640, 480) {}
  void SetUp() override {
    surface.Bind();
    cube.object.scene = &scene;
    cube.object.matrix = FixedTranslation(0, 0, -20 * kUnit);
  }
  std::set<int> ColoursDrawn() const {
    std::set<int> seen;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        if (surface.At(x, y) != 0) seen.insert(surface.At(x, y));
    return seen;
  }
  GuardedSurface surface;
  SceneState scene;
  TestCube cube{2 * kUnit};
};

TEST_F(DrawnCube, ProjectionPutsTheFieldOfViewEdgesAtTheTargetEdges) {
  static const FixedVector points[] = {{0, 0, -20 * kUnit},
                                       {10 * kUnit, 0, -20 * kUnit},
                                       {0, 5 * kUnit, -20 * kUnit},
                                       {-10 * kUnit, -5 * kUnit, -20 * kUnit}};
  C3DPObject o;
  ASSERT_EQ(o.SetGeometry(points, 4, 4, 0), 1);
  o.Transform();
  EXPECT_EQ(o.screen[0].x, 320);
  EXPECT_EQ(o.screen[0].y, 240);
  EXPECT_EQ(o.screen[1].x, 640);  // x / -z = 1/2 reaches the right edge
  EXPECT_EQ(o.screen[2].y, 80);   // camera y grows toward lower rows: the bottom of the picture
  EXPECT_EQ(o.screen[3].x, 0);
  EXPECT_EQ(o.screen[3].y, 400);
  EXPECT_EQ(o.projected[1].z, -20 * kUnit);
  EXPECT_EQ(o.origin.z, 0);
}

TEST_F(DrawnCube, OnlyFacesTurnedTowardTheViewerAreDrawnAndGrowTheBox) {
  cube.object.Transform();
  cube.object.ResetBox();
  cube.object.Draw();
  EXPECT_EQ(ColoursDrawn(), std::set<int>{10 + TestCube::kFront});
  EXPECT_EQ(cube.object.IsFaceVisible(TestCube::kFront), 1);
  EXPECT_EQ(cube.object.IsFaceVisible(TestCube::kBack), 0);
  // The front face (z = -18) spans x, y = +/-2: 2 / 18 of the focal length 640 is 71.1 pixels.
  EXPECT_EQ(cube.object.box.left, 320 - 71);
  EXPECT_EQ(cube.object.box.right, 320 + 71);
  EXPECT_EQ(cube.object.box.top, 240 - 71);
  EXPECT_EQ(cube.object.box.bottom, 240 + 71);
  EXPECT_TRUE(surface.GuardsIntact());

  // Turned 45 degrees about y, two side faces show.
  surface.Clear(0);
  RotateMatrixY(cube.object.matrix, 450);
  cube.object.Transform();
  cube.object.Draw();
  EXPECT_EQ(ColoursDrawn().size(), 2u);
}

TEST_F(DrawnCube, FacesLargerThanTheThirtyTwoBitCrossProductStillCullRight) {
  // Front faces of 213 and 853 pixels: a 32-bit cross product of their edges wraps.
  for (Fixed depth : {-14 * kUnit, -5 * kUnit}) {
    surface.Clear(0);
    cube.object.matrix = FixedTranslation(0, 0, depth);
    cube.object.Transform();
    cube.object.ResetBox();
    cube.object.Draw();
    EXPECT_EQ(ColoursDrawn(), std::set<int>{10 + TestCube::kFront}) << depth / 65536;
    EXPECT_EQ(cube.object.IsFaceVisible(TestCube::kBack), 0);
  }
  EXPECT_EQ(cube.object.box.left, 0);
  EXPECT_EQ(cube.object.box.right, 640);
}

TEST_F(DrawnCube, FacesReachingTheCameraPlaneAreSkipped) {
  cube.object.matrix = FixedTranslation(0, 0, -2 * kUnit);  // the front face lies at z = 0
  cube.object.Transform();
  cube.object.ResetBox();
  cube.object.Draw();
  EXPECT_EQ(ColoursDrawn().count(10 + TestCube::kFront), 0u);
  RasterPoint corners[4];
  EXPECT_EQ(cube.object.ProjectFace(TestCube::kFront, corners, 4), 0);
  EXPECT_EQ(cube.object.ProjectFace(TestCube::kBack, corners, 4), 4);
  EXPECT_EQ(cube.object.ProjectFace(TestCube::kBack, corners, 3), 0);
  EXPECT_TRUE(surface.GuardsIntact());
}

TEST_F(DrawnCube, ProjectFaceGivesTheCornersThatTransformProjects) {
  RotateMatrixX(cube.object.matrix, 200);
  cube.object.Transform();
  RasterPoint corners[4];
  ASSERT_EQ(cube.object.ProjectFace(TestCube::kFront, corners, 4), 4);
  for (int i = 0; i < 4; ++i) {
    const RasterPoint& s = cube.object.screen[cube.indices[TestCube::kFront][i + 1]];
    EXPECT_EQ(corners[i].x, s.x);
    EXPECT_EQ(corners[i].y, s.y);
  }
}

TEST_F(DrawnCube, LitFacesTakeTheirGreyFromTheLights) {
  struct Case {
    const char* what;
    int32_t ambientOn, lightOn;
    int level;
  } cases[] = {
      {"no ambient, no light on: the darkest grey", 0, 0, 0},
      {"ambient alone", 1, 0, 3},
      {"ambient and a light square on: 217", 1, 1, 27},
  };
  GreyRampBaseIndex = 100;
  for (const Case& c : cases) {
    TestCube lit(2 * kUnit, kFaceAmbient | kFaceSpotLit);
    CSpotLight light;
    light.colour[0] = 49152;
    light.toLight = FixedVector{0, 0, kUnit};
    light.on = c.lightOn;
    SceneState litScene;
    litScene.ambient[0] = 6554;
    litScene.ambientOn = c.ambientOn;
    litScene.lights.push_back(&light);
    lit.object.scene = &litScene;
    lit.object.matrix = FixedTranslation(0, 0, -20 * kUnit);
    surface.Clear(0);
    lit.object.Transform();
    lit.object.Draw();
    EXPECT_EQ(ColoursDrawn(), std::set<int>{100 + c.level}) << c.what;
  }
  GreyRampBaseIndex = 0;
}

TEST_F(DrawnCube, TexturedFacesCopyTexelsAndTexturesAreFreedOnceByTheirOwner) {
  // The routine's own pixels: they must survive the object.
  std::vector<uint8_t> routinePixels(16 * 16, 0x42);
  const RasterPoint coords[4] = {{0, 0}, {15, 0}, {15, 15}, {0, 15}};
  const RasterPolygon uv{4, coords};
  auto object = std::make_unique<TestCube>(2 * kUnit);
  object->object.scene = &scene;
  object->object.matrix = FixedTranslation(0, 0, -20 * kUnit);
  C3DPObject& o = object->object;
  // A block handed over to the face, then replaced: the first block is freed when replaced.
  uint8_t* owned = new uint8_t[16 * 16];
  std::memset(owned, 0x17, 16 * 16);
  ASSERT_EQ(o.SetFaceTexture(TestCube::kFront, 16, owned, 16, 16, uv, true), 1);
  EXPECT_EQ(o.faces[TestCube::kFront].flags, kFaceTextured);
  o.Transform();
  o.Draw();
  EXPECT_EQ(ColoursDrawn(), std::set<int>{0x17});
  ASSERT_EQ(o.SetFaceTexture(TestCube::kFront, 16, routinePixels.data(), 16, 16, uv, false), 1);
  uint8_t* ownedToo = new uint8_t[8 * 8]();
  ASSERT_EQ(o.SetFaceTexture(TestCube::kBack, 8, ownedToo, 8, 8, uv, true), 1);
  // Wrong coordinate count or face: refused, nothing changed, the block still the caller's.
  uint8_t spare[4] = {};
  EXPECT_EQ(o.SetFaceTexture(TestCube::kFront, 2, spare, 2, 2, RasterPolygon{3, coords}, true), 0);
  EXPECT_EQ(o.SetFaceTexture(6, 2, spare, 2, 2, uv, true), 0);
  surface.Clear(0);
  o.Draw();
  EXPECT_EQ(ColoursDrawn(), std::set<int>{0x42});
  object.reset();  // frees ownedToo and the records; the sanitizers catch a double or missed free
  EXPECT_EQ(routinePixels[0], 0x42);
}

TEST(C3DPObject, GeometryAndFacesAreCheckedBeforeUse) {
  static const FixedVector v[4] = {
      {0, 0, -kUnit}, {kUnit, 0, -kUnit}, {0, kUnit, -kUnit}, {0, 0, 0}};
  C3DPObject o;
  EXPECT_EQ(o.SetGeometry(v, 4, 5, 1), 0);  // more drawable vertices than vertices
  EXPECT_EQ(o.SetGeometry(nullptr, 4, 3, 1), 0);
  EXPECT_EQ(o.SetGeometry(v, 4, 3, -1), 0);
  EXPECT_EQ(o.faceCount, 0);
  ASSERT_EQ(o.SetGeometry(v, 4, 3, 2), 1);
  const int32_t good[4] = {3, 0, 1, 2};
  const int32_t cornerIsATip[4] = {0, 0, 1, 3};
  const int32_t tipBeyond[4] = {4, 0, 1, 2};
  EXPECT_EQ(o.SetFace(0, good, 3, 5, 0), 1);
  EXPECT_EQ(o.SetFace(1, cornerIsATip, 3, 5, 0), 0);
  EXPECT_EQ(o.SetFace(1, tipBeyond, 3, 5, 0), 0);
  EXPECT_EQ(o.SetFace(1, good, 2, 5, 0), 0);
  EXPECT_EQ(o.SetFace(2, good, 3, 5, 0), 0);
  // Drawing with a face left unset draws the set one and skips the other.
  GuardedSurface s(64, 64);
  s.Bind();
  o.Transform();
  o.Draw();
  EXPECT_TRUE(s.GuardsIntact());
}

TEST(C3DPObject, CollisionTestsThisObjectsVerticesAgainstTheOthersHull) {
  GuardedSurface s(64, 64);
  s.Bind();
  TestCube small(kUnit), big(4 * kUnit), distant(kUnit);
  small.object.matrix = FixedTranslation(0, 0, -30 * kUnit);
  big.object.matrix = FixedTranslation(kUnit / 2, 0, -30 * kUnit);
  distant.object.matrix = FixedTranslation(0, 3 * kUnit, -30 * kUnit);
  for (TestCube* c : {&small, &big, &distant}) c->object.Transform();
  EXPECT_EQ(small.object.Collides(big.object), 1);  // every corner of the small cube is inside
  EXPECT_EQ(big.object.Collides(small.object), 0);  // no corner of the big one is inside the small
  EXPECT_EQ(small.object.Collides(distant.object), 0);
  EXPECT_EQ(distant.object.Collides(small.object), 0);
  // Touching faces: corners on the other's face plane count as inside.
  distant.object.matrix = FixedTranslation(0, 2 * kUnit, -30 * kUnit);
  distant.object.Transform();
  EXPECT_EQ(distant.object.Collides(small.object), 1);
}

}  // namespace
