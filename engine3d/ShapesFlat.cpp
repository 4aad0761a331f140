// The flat shapes: tables, builds, the card's turns and the face edges of the square tiles.
#include "engine3d/ShapesFlat.h"

#include <cmath>
#include <new>

#include "engine3d/SceneState.h"
#include "engine3d/ShapeSkeleton.h"
#include "framework/Archive.h"

IMPLEMENT_SERIAL(C3DSquare, C3DPObject, 0)
IMPLEMENT_SERIAL(C3DRect, C3DPObject, 0)
IMPLEMENT_SERIAL(C3DPlate, C3DPObject, 0)
IMPLEMENT_SERIAL(C3DOctagon, C3DPObject, 0)

namespace {

constexpr double kPi = 3.14159265358979323846;
const FixedVector kAtOrigin = {0, 0, 0};
const FixedVector kAtRest = {0, 0, ShapeConstant(-300.0)};

// A square of half-diagonal 30 with its corners on the axes.
const ShapeTable& SquareTable() {
  static const ShapeTable table = [] {
    ShapeTable t;
    t.points = {ShapePoint(30, 0, 0), ShapePoint(0, 0, -30), ShapePoint(-30, 0, 0),
                ShapePoint(0, 0, 30), ShapePoint(30, 1, 0),  ShapePoint(30, -1, 0)};
    t.faces = {{4, 0, 3, 2, 1}, {5, 0, 1, 2, 3}};
    t.vertexCount = 4;
    return t;
  }();
  return table;
}

// `count` corners on a circle of `radius`, corner i at angle i * step degrees, (r cos, 0,
// zSign r sin); then the same again; then two normal tips.
ShapeTable DiscTable(int count, double radius, double step, double zSign,
                     const std::vector<FixedVector>& tips, std::vector<int32_t> top) {
  ShapeTable t;
  for (int copy = 0; copy < 2; ++copy) {
    for (int i = 0; i < count; ++i) {
      const double a = i * step * kPi / 180.0;
      t.points.push_back(ShapePoint(radius * std::cos(a), 0, zSign * radius * std::sin(a)));
    }
  }
  t.points.insert(t.points.end(), tips.begin(), tips.end());
  std::vector<int32_t> bottom = {2 * count + 1};
  for (int i = 0; i < count; ++i) bottom.push_back(count + i);
  top.insert(top.begin(), 2 * count);
  t.faces = {top, bottom};
  t.vertexCount = 2 * count;
  return t;
}

const ShapeTable& PlateTable() {
  static const ShapeTable table = [] {
    std::vector<int32_t> top = {0};
    for (int i = 49; i >= 1; --i) top.push_back(i);
    return DiscTable(50, 50.0, 7.2, -1.0, {ShapePoint(50, 1, 0), ShapePoint(50, -1, 0)}, top);
  }();
  return table;
}

// Each face joins every third of eight points: an eight-pointed star. Both tips lie above the
// plane, as the shape has always had them.
const ShapeTable& OctagonTable() {
  static const ShapeTable table = [] {
    const double c = std::cos(22.5 * kPi / 180.0), s = std::sin(22.5 * kPi / 180.0);
    return DiscTable(8, 30.0, 225.0, 1.0, {ShapePoint(30, 1, 0), ShapePoint(30 + c, 1, s)},
                     {0, 7, 6, 5, 4, 3, 2, 1});
  }();
  return table;
}

// Standing on edge, six whole turns about z, thrown up and falling back in 6 seconds.
void StartSpinningFall(C3DPObject& obj) {
  const int32_t from[3] = {900, 0, 450};
  const int32_t to[3] = {900, 0, 22050};
  obj.SetMotion(kAtRest, from, kAtRest, to, 6.0, 1);
}

FixedVector Difference(const FixedVector& a, const FixedVector& b) {
  return FixedVector{WrapSub(a.x, b.x), WrapSub(a.y, b.y), WrapSub(a.z, b.z)};
}

}  // namespace

void FaceEdgesInView(C3DPObject& obj, int32_t face, FixedVector& e1, FixedVector& e2) {
  static const FixedMatrix identity = FixedIdentity();
  ComposeTransforms(obj.scene != nullptr ? obj.scene->view : identity, obj.matrix, obj.composite);
  e1 = e2 = FixedVector{0, 0, 0};
  if (face < 0 || face >= obj.faceCount || obj.faces[face].n < 4) return;
  FixedVector c[4];
  for (int i = 0; i < 4; ++i) {
    TransformPoint(obj.composite, obj.vertices[obj.faces[face].indices[i + 1]], c[i]);
  }
  e1 = Difference(c[0], c[3]);
  e2 = Difference(c[1], c[0]);
}

C3DSquare::C3DSquare() { ready = BuildShape(*this, SquareTable(), nullptr, kAtOrigin, false); }

void C3DSquare::GetFaceEdges(int32_t face, FixedVector& e1, FixedVector& e2) {
  FaceEdgesInView(*this, face, e1, e2);
}

C3DRect::C3DRect() {
  try {
    ownPoints = SquareTable().points;
  } catch (const std::bad_alloc&) {
    ready = 0;
    return;
  }
  ready = BuildShape(*this, SquareTable(), ownPoints.data(), kAtRest, false);
}

void C3DRect::GetFaceEdges(int32_t face, FixedVector& e1, FixedVector& e2) {
  FaceEdgesInView(*this, face, e1, e2);
}

int32_t C3DRect::AnimateStep() {
  static const ShapeAnimation anim = {2, 5400};
  const FlightSettings flight;
  return RunShapeAnimation(*this, anim, flight, [this](int32_t s) {
    shape_anim::Grab(*this, s);
    shape_anim::Roll(*this, s, 1, 2);
    return s + 1;
  });
}

C3DPlate::C3DPlate() {
  ready = BuildShape(*this, PlateTable(), nullptr, kAtRest, false);
  StartSpinningFall(*this);
}

C3DOctagon::C3DOctagon() {
  ready = BuildShape(*this, OctagonTable(), nullptr, kAtRest, false);
  StartSpinningFall(*this);
}
