// The motion set-ups of the shapes: flights to the walls of a box, turns about a face and over an
// edge run to rest on a cube, motions of no time, and the capture of the picture under a face on
// a background whose rows are padded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include "engine3d/Animation.h"
#include "engine3d/Raster.h"
#include "engine3d/SceneState.h"
#include "engine3d/ShapesBox.h"
#include "engine3d/ShapesFlat.h"
#include "imaging/DIB.h"
#include "imaging/Raster8.h"
#include "tests/native/engine3d/BoxPlanes.h"

namespace {

constexpr Fixed kUnit = 65536;

BoundingPlanes Box() { return scenetest::BoxPlanes(100, 100, 400, -200); }

// Moves an object through scene ticks by hand.
struct Ticker {
  SceneState scene;
  explicit Ticker(C3DObject& o) {
    o.scene = &scene;
    o.lastTick = scene.tick;
  }
  // Frames of `ms` until the object stops; the number of frames run.
  int RunToRest(C3DObject& o, uint32_t ms, int limit = 10000) {
    int frames = 0;
    while (o.moving && frames < limit) {
      scene.tick += ms;
      o.Move();
      ++frames;
    }
    return frames;
  }
};

struct P3 {
  double x, y, z;
};
P3 World(const C3DPObject& o, int32_t v) {
  FixedVector out;
  TransformPoint(o.matrix, o.vertices[v], out);
  return {out.x / 65536.0, out.y / 65536.0, out.z / 65536.0};
}
P3 Normal(const C3DPObject& o, int32_t face) {
  const P3 tip = World(o, o.faces[face].indices[0]);
  const P3 first = World(o, o.faces[face].indices[1]);
  return {tip.x - first.x, tip.y - first.y, tip.z - first.z};
}
void ExpectNear(const P3& a, const P3& b, double tolerance, const char* what) {
  EXPECT_NEAR(a.x, b.x, tolerance) << what;
  EXPECT_NEAR(a.y, b.y, tolerance) << what;
  EXPECT_NEAR(a.z, b.z, tolerance) << what;
}
// The cube's corners as a set of whole positions.
std::set<std::tuple<long, long, long>> Corners(const C3DPObject& o) {
  std::set<std::tuple<long, long, long>> out;
  for (int32_t v = 0; v < 8; ++v) {
    const P3 p = World(o, v);
    out.insert({std::lround(p.x), std::lround(p.y), std::lround(p.z)});
  }
  return out;
}

TEST(RayWithPlanes, NearestPlaneAheadSkippingTheOneLeft) {
  const BoundingPlanes box = Box();
  const double p[3] = {0, 0, -300}, d[3] = {50, 0, 0};
  int32_t index = 7;
  double hit[3];
  EXPECT_EQ(IntersectRayWithPlanes(p, d, box, -1, index, hit), 1);
  EXPECT_EQ(index, 1);
  EXPECT_DOUBLE_EQ(hit[0], 100.0);
  const double atWall[3] = {100, 0, -300};
  EXPECT_EQ(IntersectRayWithPlanes(atWall, d, box, 1, index, hit), 0) << "nothing ahead";
  EXPECT_EQ(index, -1);
  const double back[3] = {-50, 0, 0};
  EXPECT_EQ(IntersectRayWithPlanes(atWall, back, box, 1, index, hit), 1);
  EXPECT_EQ(index, 0);
}

TEST(FlyToWall, FliesToTheWallAndReflects) {
  C3DCube cube;
  const BoundingPlanes box = Box();
  int32_t plane = -1;
  const int32_t angles[3] = {0, 0, 0};
  FixedVector end, next;
  int32_t endAngles[3];
  FlightSettings keep;
  keep.endAngleMode = 0;
  const int32_t ms =
      cube.FlyToWall(box, plane, FixedVector{0, 0, -300 * kUnit}, angles,
                     FixedVector{50 * kUnit, 10 * kUnit, 0}, keep, end, endAngles, next);
  EXPECT_EQ(ms, 2000);
  EXPECT_EQ(plane, 1);
  EXPECT_EQ(end.x, 100 * kUnit);
  EXPECT_EQ(end.y, 20 * kUnit);
  EXPECT_EQ(next.x, -50 * kUnit + 1) << "x runs into the wall and turns";
  EXPECT_EQ(next.y, 10 * kUnit);
  EXPECT_EQ(cube.nextVelocity.x, next.x);
  EXPECT_EQ(endAngles[0], 0);
  Ticker t(cube);
  t.RunToRest(cube, 16);
  EXPECT_EQ(cube.matrix.m[0][3], 100 * kUnit);
}

TEST(FlyToWall, NoSpeedOrNoWayInMakesAMotionOfNoTime) {
  const BoundingPlanes box = Box();
  const int32_t angles[3] = {100, 200, 300};
  struct Case {
    FixedVector from, velocity;
    const char* what;
  };
  const Case cases[] = {
      {{0, 0, -300 * kUnit}, {0, 0, 0}, "zero velocity"},
      {{0, 500 * kUnit, -300 * kUnit}, {50 * kUnit, 0, 0}, "outside the box, moving along it"},
  };
  for (const Case& c : cases) {
    C3DCube cube;
    int32_t plane = 3;
    FixedVector end, next;
    int32_t endAngles[3];
    EXPECT_EQ(cube.FlyToWall(box, plane, c.from, angles, c.velocity, FlightSettings(), end,
                             endAngles, next),
              0)
        << c.what;
    EXPECT_EQ(plane, -1) << c.what;
    EXPECT_EQ(end.y, c.from.y) << c.what;
    EXPECT_EQ(endAngles[2], 300) << c.what;
    EXPECT_EQ(cube.moving, 1);
    Ticker t(cube);
    cube.Move();  // the same tick: a motion of no time still ends
    EXPECT_EQ(cube.moving, 0) << c.what;
  }
  // From outside, heading away from the box: the flight turns round once and comes in.
  C3DCube cube;
  int32_t plane = -1;
  FixedVector end, next;
  int32_t endAngles[3];
  EXPECT_EQ(cube.FlyToWall(box, plane, FixedVector{150 * kUnit, 0, -300 * kUnit}, angles,
                           FixedVector{50 * kUnit, 0, 0}, FlightSettings(), end, endAngles, next),
            1000);
  EXPECT_EQ(end.x, 100 * kUnit);
}

TEST(TurnAboutEdge, CubeRollsOntoTheNeighbouringFace) {
  C3DCube cube;
  const P3 edgeA = World(cube, 1), edgeB = World(cube, 2);
  const P3 frontNormal = Normal(cube, 4);
  const auto before = Corners(cube);
  cube.TurnAboutEdge(4, 1, 2, 0.5);
  EXPECT_EQ(cube.motionTotal, 500);
  EXPECT_EQ(cube.spin[0] == 0, false);
  Ticker t(cube);
  // Half-way the edge stays where it was.
  t.scene.tick += 250;
  cube.Move();
  ExpectNear(World(cube, 1), edgeA, 0.1, "edge corner a mid-roll");
  ExpectNear(World(cube, 2), edgeB, 0.1, "edge corner b mid-roll");
  EXPECT_GT(t.RunToRest(cube, 16), 0);
  ExpectNear(World(cube, 1), edgeA, 0.01, "edge corner a at rest");
  ExpectNear(Normal(cube, 1), frontNormal, 0.001, "face 1 lies where face 4 lay");
  const auto after = Corners(cube);
  EXPECT_NE(before, after);
  for (const auto& c : after) {
    EXPECT_EQ(std::abs(std::get<2>(c) + 300) == 15 || std::abs(std::get<2>(c) + 300) == 45, true);
  }
}

TEST(TurnAboutFace, CubeTurnsAboutItsFrontFaceAndComesToRest) {
  C3DCube cube;
  const auto before = Corners(cube);
  cube.TurnAboutFace(4, 900, 1.0);
  EXPECT_EQ(cube.spin[0], 900);
  EXPECT_EQ(cube.pivotMode, 1);
  Ticker t(cube);
  t.RunToRest(cube, 16);
  EXPECT_EQ(Corners(cube), before) << "a quarter turn about the face maps the cube onto itself";
  ExpectNear(Normal(cube, 4), P3{0, 0, 1}, 0.001, "the front stays in front");
  ExpectNear(World(cube, 0), P3{-15, 15, -285}, 0.01, "corner 0 moved a quarter round");
}

TEST(TurnAboutFace, TurnsOfNoTimeEndAtTheNextStep) {
  for (double seconds : {0.0, -1.0}) {
    C3DCube cube;
    cube.TurnAboutEdge(4, 1, 2, seconds);
    EXPECT_EQ(cube.moving, 1);
    Ticker t(cube);
    cube.Move();
    EXPECT_EQ(cube.moving, 0) << seconds;
    EXPECT_NEAR(Normal(cube, 1).z, 1.0, 0.001) << seconds;
  }
  C3DCube cube;
  const int32_t a[3] = {0, 0, 0};
  cube.SetMotion(FixedVector{0, 0, 0}, a, FixedVector{kUnit, 0, 0}, a, 0.0, 0);
  Ticker t(cube);
  cube.Move();
  EXPECT_EQ(cube.moving, 0) << "SetMotion of no time lands without the tick moving";
  EXPECT_EQ(cube.matrix.m[0][3], kUnit);
}

// A 1022-wide background has 1024-byte rows: the capture must go through the stride.
class Capture : public ::testing::Test {
 protected:
  static constexpr int kW = 1022, kH = 300;
  void SetUp() override {
    ASSERT_TRUE(background.Create(kW, kH, nullptr));
    ASSERT_EQ(background.GetStorageWidth(), 1024);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        *background.GetPixelAddress(x, y) = static_cast<BYTE>(100 + (x + 3 * y) % 100);
    surface.assign(static_cast<size_t>(1024) * kH, 0);
    BindRasterTarget(surface.data(), kW, kH, 1024);
    GreyRampBaseIndex = 10;
    // A square facing the viewer at 300 deep: about 60 pixels of diagonal.
    RotateMatrixX(square.matrix, 900);
    square.matrix.m[2][3] = -300 * kUnit;
  }
  void TearDown() override {
    BindRasterTarget(nullptr, 0, 0, 0);
    GreyRampBaseIndex = 0;
  }

  CDIB background;
  std::vector<uint8_t> surface;
  C3DSquare square;
};

TEST_F(Capture, TakesThePictureUnderTheFaceRowByRow) {
  const std::vector<BYTE> before(background.bits, background.bits + 1024 * kH);
  RasterPoint corners[4];
  ASSERT_EQ(square.ProjectFace(1, corners, 4), 4);
  ASSERT_EQ(square.CaptureFaceTexture(1, &background, kCaptureKeep, 0), 1);
  const C3DTexture& t = *square.faces[1].texture;
  int left = kW, bottom = kH;
  for (const RasterPoint& c : corners) {
    left = std::min(left, c.x);
    bottom = std::min(bottom, c.y);
  }
  EXPECT_TRUE(t.ownsPixels);
  for (int row = 0; row < t.height; ++row) {
    for (int col = 0; col < t.width; ++col) {
      ASSERT_EQ(t.pixels[row * t.stride + col], background.bits[(bottom + row) * 1024 + left + col])
          << row << "," << col;
    }
  }
  EXPECT_EQ(std::vector<BYTE>(background.bits, background.bits + 1024 * kH), before)
      << "mode 0 leaves the picture alone";
  EXPECT_EQ(square.faces[1].texCoords[0].x, corners[0].x - left);
}

TEST_F(Capture, FillModeLeavesAGreyHoleAndRestoreDrawsTheOldTextureBack) {
  const std::vector<BYTE> before(background.bits, background.bits + 1024 * kH);
  ASSERT_EQ(square.CaptureFaceTexture(1, &background, kCaptureFill, 0x00808080), 1);
  int grey = 0;
  for (int i = 0; i < 1024 * kH; ++i) grey += background.bits[i] == 10 + (0x80 >> 3);
  EXPECT_GT(grey, 1000) << "the face's area is filled with the ramp's grey";
  // The restore puts the captured picture back before taking the (now grey) area again.
  ASSERT_EQ(square.CaptureFaceTexture(1, &background, kCaptureRestoreOld, 0), 1);
  int differ = 0;
  for (int i = 0; i < 1024 * kH; ++i) differ += background.bits[i] != before[i];
  EXPECT_LT(differ, grey / 20) << "at most the polygon's rim differs";
}

TEST_F(Capture, FacesOffThePictureOrAPictureOfAnotherSizeChangeNothing) {
  CDIB other;
  ASSERT_TRUE(other.Create(kW - 2, kH, nullptr));
  EXPECT_EQ(square.CaptureFaceTexture(1, &other, kCaptureFill, 0), 0);
  EXPECT_EQ(square.CaptureFaceTexture(1, nullptr, kCaptureFill, 0), 0);
  square.matrix.m[0][3] = 400 * kUnit;  // far to the right, partly off the picture
  EXPECT_EQ(square.CaptureFaceTexture(1, &background, kCaptureFill, 0), 0);
  EXPECT_EQ(square.faces[1].texture, nullptr);
  // An old texture that is the caller's stays the caller's and stays in place on failure.
  std::vector<uint8_t> texels(16, 7);
  const RasterPoint uv[4] = {{0, 0}, {3, 0}, {3, 3}, {0, 3}};
  ASSERT_EQ(square.SetFaceTexture(1, 4, texels.data(), 4, 4, RasterPolygon{4, uv}), 1);
  EXPECT_EQ(square.CaptureFaceTexture(1, &background, kCaptureFill, 0), 0);
  EXPECT_EQ(square.faces[1].texture->pixels, texels.data());
  square.matrix.m[0][3] = 0;
  EXPECT_EQ(square.CaptureFaceTexture(1, &background, kCaptureKeep, 0), 1);
  EXPECT_EQ(texels[0], 7) << "the caller's texels are not freed";
}

TEST_F(Capture, FlatInRectCountsRowsFromTheTop) {
  // Face 1 faces away from the viewer, onto the picture; face 0 toward the viewer.
  EXPECT_EQ(square.IsFaceFlatInRect(1, RECT{0, 0, kW, kH}), 1);
  EXPECT_EQ(square.IsFaceFlatInRect(0, RECT{0, 0, kW, kH}), 0);
  RasterPoint c[4];
  ASSERT_EQ(square.ProjectFace(1, c, 4), 4);
  int top = kH, left = kW;
  for (const RasterPoint& p : c) {
    top = std::min(top, kH - p.y);
    left = std::min(left, p.x);
  }
  EXPECT_EQ(square.IsFaceFlatInRect(1, RECT{0, top, kW, kH}), 0) << "top is exclusive";
  EXPECT_EQ(square.IsFaceFlatInRect(1, RECT{0, top - 1, kW, kH}), 1);
  EXPECT_EQ(square.IsFaceFlatInRect(1, RECT{left + 1, 0, kW, kH}), 0);
  EXPECT_EQ(square.IsFaceFlatInRect(1, RECT{left, 0, kW, kH}), 1) << "left is inclusive";
  // Tilted by 20 degrees the face no longer lies flat.
  RotateMatrixY(square.matrix, 200);
  EXPECT_EQ(square.IsFaceFlatInRect(1, RECT{0, 0, kW, kH}), 0);
}

}  // namespace
