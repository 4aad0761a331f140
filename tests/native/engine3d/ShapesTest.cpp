// The shape catalogue: creation by name, tables (counts, the stored constants, tips pointing out
// of the solid, corners running the way the engine culls), animation state counts, the square's
// face edges, the texture mappers and the skeleton's state transitions.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine3d/ShapeSkeleton.h"
#include "engine3d/ShapesBox.h"
#include "engine3d/ShapesFlat.h"
#include "engine3d/ShapesRound.h"
#include "imaging/DIB.h"
#include "imaging/HeadlessScreenHost.h"
#include "seams/Random.h"
#include "tests/native/engine3d/BoxPlanes.h"

namespace {

constexpr Fixed kUnit = 65536;

struct ShapeCase {
  const CRuntimeClass* record;
  const char* base;
  int32_t points, vertices, faces;
  int32_t states;  // once animation is enabled
  Fixed startZ;
  bool closed;  // a solid whose tips all point away from its centre
};

const ShapeCase kShapes[] = {
    {RUNTIME_CLASS(C3DSquare), "C3DPObject", 6, 4, 2, 0, 0, false},
    {RUNTIME_CLASS(C3DRect), "C3DPObject", 6, 4, 2, 2, -19660799, false},
    {RUNTIME_CLASS(C3DPlate), "C3DPObject", 102, 100, 2, 0, -19660799, false},
    {RUNTIME_CLASS(C3DOctagon), "C3DPObject", 18, 16, 2, 0, -19660799, false},
    {RUNTIME_CLASS(C3DPyr), "C3DPObject", 0, 0, 0, 11, 0, false},
    {RUNTIME_CLASS(C3DPyr5), "C3DPyr", 10, 5, 5, 11, -19660799, true},
    {RUNTIME_CLASS(C3DCuboid), "C3DPObject", 0, 0, 0, 14, 0, false},
    {RUNTIME_CLASS(C3DCube), "C3DCuboid", 14, 8, 6, 14, -19660799, true},
    {RUNTIME_CLASS(C3DBlock), "C3DCuboid", 14, 8, 6, 14, -19660799, true},
    {RUNTIME_CLASS(C3DCone), "C3DPObject", 0, 0, 0, 0, 0, false},
    {RUNTIME_CLASS(C3DCone52), "C3DCone", 152, 100, 52, 104, -19660799, true},
    {RUNTIME_CLASS(C3DCyl), "C3DPObject", 0, 0, 0, 0, 0, false},
    {RUNTIME_CLASS(C3DCyl52), "C3DCyl", 152, 100, 52, 104, -19660799, true},
    {RUNTIME_CLASS(C3DBall), "C3DPObject", 0, 0, 0, 0, 0, false},
    {RUNTIME_CLASS(C3DBall72), "C3DBall", 136, 64, 72, 154, -19660799, true},
    {RUNTIME_CLASS(C3DBall200), "C3DBall", 384, 184, 200, 418, -19660799, true},
};

std::unique_ptr<C3DPObject> Make(const char* name) {
  return std::unique_ptr<C3DPObject>(static_cast<C3DPObject*>(CRuntimeClass::CreateObject(name)));
}

struct V3 {
  double x, y, z;
};
V3 At(const C3DPObject& o, int32_t i) {
  const FixedVector& p = o.vertices[i];
  return {p.x / 65536.0, p.y / 65536.0, p.z / 65536.0};
}
V3 Sub(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Cross(V3 a, V3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

TEST(Shapes, EachClassIsMadeByNameWithItsTables) {
  for (const ShapeCase& c : kShapes) {
    const std::string name = c.record->m_lpszClassName;
    SCOPED_TRACE(name);
    std::unique_ptr<C3DPObject> o = Make(name.c_str());
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->GetRuntimeClass(), c.record);
    EXPECT_STREQ(c.record->m_pBaseClass->m_lpszClassName, c.base);
    EXPECT_EQ(c.record->GetSchemaNumber(), 0u);
    EXPECT_EQ(o->ready, 1);
    EXPECT_EQ(o->vertexCount, c.points);
    EXPECT_EQ(o->projCount, c.vertices);
    EXPECT_EQ(o->faceCount, c.faces);
    EXPECT_EQ(o->matrix.m[2][3], c.startZ);
    EXPECT_EQ(o->animEnabled, 0);
    EXPECT_EQ(o->GetAnimationStateCount(), 0) << "disabled after construction";
    o->EnableAnimation();
    EXPECT_EQ(o->GetAnimationStateCount(), c.states);
    for (int32_t k = 0; k < o->faceCount; ++k) {
      EXPECT_EQ(o->faces[k].flags, kFaceAmbient | kFaceSpotLit) << "face " << k;
      EXPECT_EQ(o->faces[k].colour.red, 255);
    }
  }
}

// Every tip lies on the outer side of its face, and every face's corners run the same way round
// as seen from its tip (the engine's culling relies on it); both checked on the solids against
// their centre, and on the flat shapes against the face's own side of the plane.
TEST(Shapes, TipsPointOutAndCornersRunOneWay) {
  for (const ShapeCase& c : kShapes) {
    if (c.faces == 0) continue;
    SCOPED_TRACE(c.record->m_lpszClassName);
    std::unique_ptr<C3DPObject> o = Make(c.record->m_lpszClassName);
    V3 centre = {0, 0, 0};
    for (int32_t i = 0; i < o->projCount; ++i) {
      const V3 p = At(*o, i);
      centre = {centre.x + p.x / o->projCount, centre.y + p.y / o->projCount,
                centre.z + p.z / o->projCount};
    }
    for (int32_t k = 0; k < o->faceCount; ++k) {
      const C3DFace& f = o->faces[k];
      const V3 first = At(*o, f.indices[1]);
      const V3 tip = Sub(At(*o, f.indices[0]), first);
      // The star's second tip lies above the plane like the first (its table has it so).
      const bool starBack = o->IsKindOf(RUNTIME_CLASS(C3DOctagon)) && k == 1;
      if (!starBack) {
        EXPECT_NEAR(std::sqrt(Dot(tip, tip)), 1.0, 0.01) << "face " << k;
      }
      V3 faceCentre = {0, 0, 0};
      for (int32_t i = 1; i <= f.n; ++i) {
        const V3 p = At(*o, f.indices[i]);
        faceCentre = {faceCentre.x + p.x / f.n, faceCentre.y + p.y / f.n, faceCentre.z + p.z / f.n};
      }
      const V3 outward = c.closed ? Sub(faceCentre, centre) : V3{0, k == 0 ? 1.0 : -1.0, 0};
      if (!starBack) {
        EXPECT_GT(Dot(tip, outward), 0.0) << "face " << k;
      }
      if (o->IsKindOf(RUNTIME_CLASS(C3DOctagon))) continue;  // a star is not convex
      const V3 turn = Cross(Sub(At(*o, f.indices[2]), first), Sub(At(*o, f.indices[3]), first));
      EXPECT_LT(Dot(turn, outward), 0.0) << "face " << k << " runs clockwise from outside";
    }
  }
}

TEST(Shapes, StoredConstantsFollowTheEngineRounding) {
  C3DSquare square;
  EXPECT_EQ(square.vertices[1].z, -1966079);
  EXPECT_EQ(square.vertices[0].x, 1966080);
  EXPECT_EQ(square.vertices[5].y, -65535);
  C3DOctagon star;
  EXPECT_EQ(star.vertices[1].x, -1390228);
  EXPECT_EQ(star.vertices[1].z, -1390228);
  EXPECT_EQ(star.vertices[3].x, 1390229);
  EXPECT_EQ(star.vertices[17].x, 2026627);
  EXPECT_EQ(star.vertices[17].y, 65536);
  EXPECT_EQ(star.vertices[17].z, 25080);
  C3DPyr5 pyramid;
  EXPECT_EQ(pyramid.vertices[5].x, 37837);
  EXPECT_EQ(pyramid.vertices[5].z, -37836);
  EXPECT_EQ(pyramid.vertices[5].y, 1348557);
  C3DCone52 cone;
  EXPECT_NEAR(cone.vertices[100].x / 65536.0, 30.893, 0.001);
  EXPECT_NEAR(cone.vertices[100].y / 65536.0, 10.447, 0.001);
  EXPECT_NEAR(cone.vertices[100].z / 65536.0, -0.056, 0.001);
  EXPECT_EQ(cone.vertices[150].x, 30 * kUnit);
  EXPECT_EQ(cone.vertices[150].y, 11 * kUnit);
  EXPECT_EQ(cone.vertices[151].x, 40 * kUnit);
  EXPECT_EQ(cone.vertices[151].y, -11 * kUnit + 1);
  C3DBall72 ball;
  EXPECT_EQ(ball.vertices[61].y, -25 * kUnit + 1) << "point 61 is the south pole";
  EXPECT_EQ(ball.vertices[62].x - ball.vertices[0].x, ball.vertices[62].x) << "tip of face 0";
  EXPECT_NEAR(std::sqrt(ball.radiusSq / 65536.0), 25.98, 0.05);
  C3DCube cube;
  EXPECT_EQ(cube.radiusSq, 3 * FixedMul(15 * kUnit, 15 * kUnit));
  EXPECT_EQ(square.radiusSq, 0) << "the flat shapes leave the bounding value 0";
}

TEST(Shapes, PlateAndStarStartSpinningUnderGravity) {
  for (const char* name : {"C3DPlate", "C3DOctagon"}) {
    std::unique_ptr<C3DPObject> o = Make(name);
    EXPECT_EQ(o->moving, 1) << name;
    EXPECT_EQ(o->gravity, 1) << name;
    EXPECT_EQ(o->motionTotal, 6000) << name;
    EXPECT_EQ(o->endAngles[2], 22050) << name;
  }
}

TEST(Shapes, SquareFaceEdgesInTheView) {
  C3DSquare square;
  FixedVector e1, e2;
  square.GetFaceEdges(0, e1, e2);
  EXPECT_EQ(e1.x, 1966080);
  EXPECT_EQ(e1.y, 0);
  EXPECT_EQ(e1.z, 1966079);
  EXPECT_EQ(e2.x, -1966080);
  EXPECT_EQ(e2.y, 0);
  EXPECT_EQ(e2.z, 1966080);
  C3DRect card;
  card.GetFaceEdges(0, e1, e2);
  EXPECT_EQ(e1.x, 1966080) << "the card's edges are the same square's";
}

// ---- Texture mappers -------------------------------------------------------------------------

std::unique_ptr<CDIB> Picture(int w, int h, bool eightBit = true) {
  auto dib = std::make_unique<CDIB>();
  if (eightBit) {
    EXPECT_TRUE(dib->Create(w, h, nullptr));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) *dib->GetPixelAddress(x, y) = static_cast<BYTE>(x * 3 + y * 7);
  } else {
    EXPECT_TRUE(dib->Create24(w, h));
  }
  return dib;
}

TEST(ShapeTextures, CylinderSlicesFollowTheImageColumns) {
  struct Case {
    int width;
    std::vector<int> widths;  // of the first slices
  };
  const Case cases[] = {{100, {2, 2, 2}}, {125, {2, 3, 2, 3}}};
  for (const Case& c : cases) {
    C3DCyl52 cyl;
    std::unique_ptr<CDIB> image = Picture(c.width, 17);
    ASSERT_EQ(cyl.MapTexture(image.get()), 1);
    for (size_t i = 0; i < c.widths.size(); ++i) {
      ASSERT_NE(cyl.faces[i].texture, nullptr);
      EXPECT_EQ(cyl.faces[i].texture->width, c.widths[i]) << c.width << " slice " << i;
      // The slice holds the image's own columns, row by row through the stride.
      const int x0 = static_cast<int>(i) * c.width / 50;
      EXPECT_EQ(cyl.faces[i].texture->pixels[3 * c.widths[i] + 1],
                *image->GetPixelAddress(x0 + 1, 3));
    }
    EXPECT_EQ(cyl.faces[50].texture, nullptr) << "the top keeps its flat fill";
  }
}

TEST(ShapeTextures, MappersRefuseImagesTheyCannotCut) {
  C3DCyl52 cyl;
  C3DBall72 ball;
  C3DPyr5 pyr;
  C3DCube cube;
  std::unique_ptr<CDIB> narrow = Picture(49, 40), flat = Picture(200, 11), wide = Picture(23, 40);
  std::unique_ptr<CDIB> deep = Picture(200, 200, false);
  EXPECT_EQ(cyl.MapTexture(narrow.get()), 0) << "fewer columns than slices";
  EXPECT_EQ(cyl.MapTexture(deep.get()), 0);
  EXPECT_EQ(ball.MapTexture(flat.get()), 0) << "cells under two rows";
  EXPECT_EQ(ball.MapTexture(wide.get()), 0) << "cells under two columns";
  EXPECT_EQ(ball.MapTexture(deep.get()), 0);
  EXPECT_EQ(pyr.MapTexture(deep.get()), 0);
  EXPECT_EQ(cube.MapTexture(0, deep.get()), 0);
  for (int32_t k = 0; k < ball.faceCount; ++k) EXPECT_EQ(ball.faces[k].texture, nullptr);
  for (int32_t k = 0; k < cyl.faceCount; ++k) EXPECT_EQ(cyl.faces[k].texture, nullptr);
  std::unique_ptr<CDIB> smallest = Picture(24, 12);
  EXPECT_EQ(ball.MapTexture(smallest.get()), 1) << "two pixels a cell are enough";
}

TEST(ShapeTextures, CylinderLogosAreMappedOntoTheScreensColoursFirst) {
  C3DCyl52 cyl;
  EXPECT_NEAR(cyl.LogoAspectRatio(), 30.0 / 50.0 * 6.2831852, 1e-5);  // -25 is stored a unit high
  HeadlessScreenHost host(10);
  host.SetBackground(Picture(64, 48).release());
  std::unique_ptr<CDIB> logo = Picture(100, 20);
  // Index 5 of the logo's own table is the screen's ramp entry 10 + 20.
  for (int i = 0; i < 256; ++i) logo->header->bmiColors[i] = RGBQUAD{1, 2, 3, 0};
  logo->header->bmiColors[5] = host.GetBackground()->header->bmiColors[30];
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 100; ++x) *logo->GetPixelAddress(x, y) = 5;
  ASSERT_EQ(cyl.MapLogoTexture(&host, logo.get()), 1);
  EXPECT_EQ(cyl.faces[7].texture->pixels[0], 30);
  HeadlessScreenHost empty;
  EXPECT_EQ(cyl.MapLogoTexture(&empty, logo.get()), 0);
}

TEST(ShapeTextures, BoxesAndPyramidsTakeTheWholeImage) {
  C3DPyr5 pyr;
  std::unique_ptr<CDIB> dot = Picture(1, 1);
  ASSERT_EQ(pyr.MapTexture(dot.get()), 1);
  for (const RasterPoint& p : pyr.faces[4].texCoords) {
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
  }
  C3DCube cube;
  std::unique_ptr<CDIB> image = Picture(31, 9);  // 32-byte rows: one byte of padding
  ASSERT_EQ(cube.MapTexture(2, image.get()), 1);
  const C3DTexture& t = *cube.faces[2].texture;
  EXPECT_EQ(t.width, 31);
  EXPECT_EQ(t.height, 9);
  for (int y = 0; y < 9; ++y) EXPECT_EQ(t.pixels[y * 31 + 30], *image->GetPixelAddress(30, y));
  EXPECT_EQ(cube.faces[2].texCoords[0].y, 8);
  EXPECT_EQ(cube.faces[2].texCoords[2].x, 30);
}

TEST(ShapeTextures, BallCapsAreSqueezedIntoTriangles) {
  C3DBall72 ball;
  std::unique_ptr<CDIB> image = Picture(120, 60);
  ASSERT_EQ(ball.MapTexture(image.get()), 1);
  for (int32_t k = 0; k < ball.faceCount; ++k) {
    ASSERT_NE(ball.faces[k].texture, nullptr) << k;
    EXPECT_EQ(ball.faces[k].texture->width, 9) << "cells of 10 columns lose one";
    EXPECT_EQ(static_cast<int>(ball.faces[k].texCoords.size()), ball.faces[k].n);
  }
  // SqueezeRowsToTriangle: the first row of a north cell keeps w / h samples.
  std::vector<uint8_t> block = {0, 1, 2, 3, 10, 11, 12, 13};
  SqueezeRowsToTriangle(block.data(), 4, 2, 0);
  EXPECT_EQ(block, (std::vector<uint8_t>{1, 3, 3, 3, 10, 11, 12, 13}));
}

// ---- The skeleton ------------------------------------------------------------------------------

// A box of +/-100 across and in depth -400..-200.
BoundingPlanes Box() { return scenetest::BoxPlanes(100, 100, 400, -200); }

void Prepare(C3DObject& o, int32_t state) {
  const BoundingPlanes box = Box();
  const int32_t ints[4] = {-1, 10, 20, 0};
  o.SetAnimationParams(state, &box, ints, 0xFFFFFF, 0.5);
}

TEST(ShapeSkeleton, DisabledShapesLaunchAndKeepFlying) {
  C3DRect card;
  Prepare(card, 0);
  card.SetStateOffset(4);
  card.AnimateStep();
  EXPECT_EQ(card.animState, 3) << "state 0 launches at once and flies";
  EXPECT_EQ(card.moving, 1);
  card.SetAnimationState(6);  // k + N
  card.AnimateStep();
  EXPECT_EQ(card.animState, 4) << "from the homing state it goes to N + 1 and flies on";
  C3DPyr5 pyr;
  Prepare(pyr, 0);
  pyr.SetStateOffset(5);
  pyr.AnimateStep();
  EXPECT_EQ(pyr.animState, 12);
}

TEST(ShapeSkeleton, PyramidTurnsFollowTheirTable) {
  C3DPyr5 pyr;
  pyr.EnableAnimation();
  Prepare(pyr, 0);
  const int32_t fixedNext[][2] = {{2, 3}, {3, 4}, {8, 9}, {5, 6}, {7, 8}, {9, 10}, {10, 11}};
  for (const auto& row : fixedNext) {
    pyr.SetAnimationState(row[0]);
    pyr.AnimateStep();
    EXPECT_EQ(pyr.animState, row[1]) << "from " << row[0];
  }
  int sixes = 0, elevens = 0;
  seams::Srand(7);
  for (int i = 0; i < 200; ++i) {
    pyr.SetAnimationState(4);
    pyr.AnimateStep();
    sixes += pyr.animState == 6;
    elevens += pyr.animState == 11;
  }
  EXPECT_EQ(sixes + elevens, 200);
  EXPECT_GT(sixes, 70);
  EXPECT_GT(elevens, 70);
}

// Every turning state of every shape with turns rolls over an edge that has a face on its other
// side: the step leaves the solid in a turn of the animation's turn time.
TEST(ShapeSkeleton, EveryTurningStateRollsOverARealEdge) {
  for (const char* name : {"C3DRect", "C3DPyr5", "C3DCube", "C3DBlock", "C3DCone52", "C3DCyl52",
                           "C3DBall72", "C3DBall200"}) {
    std::unique_ptr<C3DPObject> o = Make(name);
    o->EnableAnimation();
    Prepare(*o, 0);
    const int32_t n = o->GetAnimationStateCount();
    seams::Srand(5);
    for (int32_t s = 0; s < n; ++s) {
      for (int draw = 0; draw < 4; ++draw) {  // the states that choose by a draw, both ways
        o->SetAnimationState(s);
        o->moving = 0;
        o->AnimateStep();
        ASSERT_EQ(o->moving, 1) << name << " state " << s;
        ASSERT_EQ(o->motionTotal, 500) << name << " state " << s;
        ASSERT_EQ(o->pivotMode, 1) << name << " state " << s;
        ASSERT_GT(o->animState, 0) << name << " state " << s;
      }
    }
  }
}

TEST(ShapeSkeleton, LaunchDrawsSignThenSpeedPerAxis) {
  C3DCube cube;
  cube.EnableAnimation();
  Prepare(cube, 14);
  seams::Srand(1234);
  std::vector<int> draws;
  for (int i = 0; i < 6; ++i) draws.push_back(seams::Rand());
  seams::Srand(1234);
  cube.AnimateStep();
  EXPECT_EQ(cube.animState, 15);
  const Fixed v[3] = {cube.velocity.x, cube.velocity.y, cube.velocity.z};
  for (int axis = 0; axis < 3; ++axis) {
    const int speed = 10 + draws[2 * axis + 1] % 10;
    const double expected = (draws[2 * axis] & 1) ? speed : -speed;
    EXPECT_NEAR(v[axis] / 65536.0, expected, 0.01) << "axis " << axis;
  }
}

TEST(ShapeSkeleton, EmptySpeedRangeUsesTheLowSpeed) {
  C3DCube cube;
  Prepare(cube, 14);
  const int32_t ints[4] = {-1, 12, 12, 0};
  cube.SetAnimationParams(14, nullptr, ints, 0, 0.5);
  cube.SetStateOffset(3);
  cube.AnimateStep();
  EXPECT_NEAR(std::fabs(cube.velocity.x / 65536.0), 12.0, 0.01);
}

TEST(ShapeSkeleton, HomingMeetsHalfwayAndRestartsTheCycle) {
  C3DCube cube;
  cube.EnableAnimation();
  Prepare(cube, 14);
  cube.SetStateOffset(2);
  cube.AnimateStep();  // launch
  const FixedVector before = cube.endPos;
  cube.AnimateStep();  // flight state 15
  ASSERT_EQ(cube.animState, 16);
  const FixedVector p = cube.endPos;
  cube.AnimateStep();  // homing
  EXPECT_EQ(cube.animState, 0);
  EXPECT_EQ(cube.startPos.x, p.x) << "homing starts where the last flight ended";
  EXPECT_EQ(cube.endAngles[0] % 3600, 5400 % 3600);
  EXPECT_EQ(cube.endAngles[1] % 3600, 0);
  (void)before;
}

}  // namespace
