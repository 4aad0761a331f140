// The pyramids and boxes: tables, builds, texturing from an image and the turning tables.
#include "engine3d/ShapesBox.h"

#include <cmath>
#include <new>

#include "engine3d/ShapeSkeleton.h"
#include "framework/Archive.h"
#include "imaging/DIB.h"

IMPLEMENT_SERIAL(C3DPyr, C3DPObject, 0)
IMPLEMENT_SERIAL(C3DPyr5, C3DPyr, 0)
IMPLEMENT_SERIAL(C3DCuboid, C3DPObject, 0)
IMPLEMENT_SERIAL(C3DCube, C3DCuboid, 0)
IMPLEMENT_SERIAL(C3DBlock, C3DCuboid, 0)

namespace {

const FixedVector kAtRest = {0, 0, ShapeConstant(-300.0)};

// Tumbling at the start: 100 and 40 degrees a second about x and y, drifting up and away.
void StartTumbling(C3DPObject& obj) {
  obj.spin[0] = 1000;
  obj.spin[1] = 400;
  obj.spin[2] = 0;
  obj.velocity = FixedVector{0, ShapeConstant(2.0), ShapeConstant(-5.0)};
}

const ShapeTable& PyramidTable() {
  static const ShapeTable table = [] {
    const double u = 1.0 / std::sqrt(3.0);
    ShapeTable t;
    t.points = {ShapePoint(0, 20, 0),       ShapePoint(20, 0, 0),      ShapePoint(0, 0, -20),
                ShapePoint(-20, 0, 0),      ShapePoint(0, 0, 20),      ShapePoint(u, 20 + u, -u),
                ShapePoint(-u, 20 + u, -u), ShapePoint(-u, 20 + u, u), ShapePoint(u, 20 + u, u),
                ShapePoint(20, -1, 0)};
    t.faces = {{5, 0, 2, 1}, {6, 0, 3, 2}, {7, 0, 4, 3}, {8, 0, 1, 4}, {9, 1, 2, 3, 4}};
    t.vertexCount = 5;
    return t;
  }();
  return table;
}

// A box of half-sizes hx, hy, hz: vertices 0..3 at +z, 4..7 at -z, each (x, y) going (+, +),
// (-, +), (-, -), (+, -); a tip one unit out from each face's first corner.
ShapeTable BoxTable(double hx, double hy, double hz) {
  ShapeTable t;
  const double xy[4][2] = {{hx, hy}, {-hx, hy}, {-hx, -hy}, {hx, -hy}};
  for (double z : {hz, -hz}) {
    for (const auto& p : xy) t.points.push_back(ShapePoint(p[0], p[1], z));
  }
  t.points.push_back(ShapePoint(hx, hy + 1, hz));
  t.points.push_back(ShapePoint(-hx - 1, hy, hz));
  t.points.push_back(ShapePoint(-hx, -hy - 1, hz));
  t.points.push_back(ShapePoint(hx + 1, -hy, hz));
  t.points.push_back(ShapePoint(hx, hy, hz + 1));
  t.points.push_back(ShapePoint(hx, hy, -hz - 1));
  t.faces = {{8, 0, 1, 5, 4},  {9, 1, 2, 6, 5},  {10, 2, 3, 7, 6},
             {11, 3, 0, 4, 7}, {12, 0, 3, 2, 1}, {13, 4, 5, 6, 7}};
  t.vertexCount = 8;
  return t;
}

const ShapeTable& CubeTable() {
  static const ShapeTable table = BoxTable(15, 15, 15);
  return table;
}

const ShapeTable& BlockTable() {
  static const ShapeTable table = BoxTable(15, 10, 20);
  return table;
}

using shape_anim::Grab;
using shape_anim::Odd;
using shape_anim::Roll;

int32_t PyramidTurn(C3DPObject& o, int32_t s) {
  switch (s) {
    case 0:
      if (Odd()) Grab(o, 4);
      Roll(o, 4, 1, 4);
      return 1;
    case 1:
      if (Odd()) Grab(o, 3);
      return PyramidTurn(o, Odd() ? 2 : 4);
    case 2: Roll(o, 3, 0, 1); return 3;
    case 3:
      Grab(o, 0);
      Roll(o, 0, 0, 1);
      return 4;
    case 4:
      if (Odd()) {
        Roll(o, 3, 0, 4);
        return 6;
      }
      Roll(o, 3, 1, 4);
      return 11;
    case 5: Roll(o, 3, 0, 4); return 6;
    case 6:
      Grab(o, 2);
      if (!Odd()) {
        Roll(o, 2, 0, 4);
        return 10;
      }
      Roll(o, 2, 0, 3);
      return 8;
    case 7: Roll(o, 2, 0, 3); return 8;
    case 8:
      Grab(o, 1);
      Roll(o, 1, 0, 3);
      return 9;
    case 9: Roll(o, 2, 0, 4); return 10;
    default: Roll(o, 3, 1, 4); return 11;
  }
}

// The boxes' shared tails.
int32_t CuboidT2(C3DPObject& o) {
  if (!Odd()) {
    Roll(o, 1, 1, 2);
    return 14;
  }
  Roll(o, 1, 2, 6);
  return 12;
}

int32_t CuboidT1(C3DPObject& o) {
  if (!Odd()) return CuboidT2(o);
  Roll(o, 1, 5, 6);
  return 6;
}

int32_t CuboidT3(C3DPObject& o) {
  Roll(o, 1, 1, 5);
  return 3;
}

int32_t CuboidTurn(C3DPObject& o, int32_t s) {
  switch (s) {
    case 0:
      if (Odd()) Grab(o, 4);
      Roll(o, 4, 1, 2);
      return 1;
    case 1:
      if (Odd()) Grab(o, 1);
      return Odd() ? CuboidT1(o) : CuboidT3(o);
    case 2: return CuboidT3(o);
    case 3:
      Grab(o, 0);
      Roll(o, 0, 1, 5);
      return 4;
    case 4: return CuboidT1(o);
    case 5: Roll(o, 1, 5, 6); return 6;
    case 6:
      if (!Odd()) {
        Roll(o, 5, 5, 6);
        return 10;
      }
      Grab(o, 5);
      Roll(o, 5, 4, 7);
      return 8;
    case 7:
      Grab(o, 5);
      Roll(o, 5, 4, 7);
      return 8;
    case 8:
      Grab(o, 3);
      Roll(o, 3, 4, 7);
      return 9;
    case 9: Roll(o, 5, 5, 6); return 10;
    case 10: return CuboidT2(o);
    case 11: Roll(o, 1, 2, 6); return 12;
    case 12:
      Grab(o, 2);
      Roll(o, 2, 2, 6);
      return 13;
    default: Roll(o, 1, 1, 2); return 14;
  }
}

}  // namespace

int MapImageToFace(C3DPObject& obj, int32_t face, CDIB* image, const RasterPoint* corners) {
  if (image == nullptr || image->header == nullptr || image->bits == nullptr ||
      image->header->bmiHeader.biBitCount != 8 || face < 0 || face >= obj.faceCount) {
    return 0;
  }
  const int32_t w = image->GetWidth(), h = image->GetHeight();
  if (w <= 0 || h <= 0) return 0;
  uint8_t* block = new (std::nothrow) uint8_t[static_cast<size_t>(w) * h];
  if (block == nullptr) return 0;
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* row = image->GetPixelAddress(0, y);
    std::copy(row, row + w, block + static_cast<size_t>(y) * w);
  }
  if (!obj.SetFaceTexture(face, w, block, w, h, RasterPolygon{obj.faces[face].n, corners}, true)) {
    delete[] block;
    return 0;
  }
  return 1;
}

int32_t C3DPyr::AnimateStep() {
  static const ShapeAnimation anim = {11, 4500};
  return RunShapeAnimation(*this, anim, FlightSettings(),
                           [this](int32_t s) { return PyramidTurn(*this, s); });
}

int C3DPyr::MapTexture(CDIB* image) {
  if (image == nullptr || faceCount < 5) return 0;
  const int32_t w = image->GetWidth() - 1, h = image->GetHeight() - 1;
  const RasterPoint corners[4] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
  return MapImageToFace(*this, 4, image, corners);
}

C3DPyr5::C3DPyr5() {
  ready = BuildShape(*this, PyramidTable(), nullptr, kAtRest, true);
  StartTumbling(*this);
}

int32_t C3DCuboid::AnimateStep() {
  static const ShapeAnimation anim = {14, 5400};
  return RunShapeAnimation(*this, anim, FlightSettings(),
                           [this](int32_t s) { return CuboidTurn(*this, s); });
}

int C3DCuboid::MapTexture(int32_t face, CDIB* image) {
  if (image == nullptr || face < 0 || face >= faceCount || faces[face].n != 4) return 0;
  const int32_t w = image->GetWidth() - 1, h = image->GetHeight() - 1;
  const RasterPoint corners[4] = {{0, h}, {w, h}, {w, 0}, {0, 0}};
  return MapImageToFace(*this, face, image, corners);
}

C3DCube::C3DCube() {
  ready = BuildShape(*this, CubeTable(), nullptr, kAtRest, true);
  StartTumbling(*this);
}

C3DBlock::C3DBlock() {
  try {
    ownPoints = BlockTable().points;
  } catch (const std::bad_alloc&) {
    ready = 0;
    return;
  }
  ready = BuildShape(*this, BlockTable(), ownPoints.data(), kAtRest, true);
  StartTumbling(*this);
}
