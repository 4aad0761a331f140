// C3DPObject's animation support: flights to the walls of a box, turns about a face or an edge,
// and the capture of the picture under a face.
#include "engine3d/Animation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

#include "engine3d/PolyObject.h"
#include "engine3d/Raster.h"
#include "engine3d/SpotLight.h"
#include "imaging/DIB.h"
#include "seams/Random.h"

namespace {

using Vec3 = std::array<double, 3>;

// A point is inside a plane when a.x + b.y + c.z + d reaches this.
constexpr double kInsideTolerance = -0.00001;

Vec3 ToUnits(const FixedVector& v) { return {v.x / 65536.0, v.y / 65536.0, v.z / 65536.0}; }

FixedVector ToFixed(const double v[3]) {
  return FixedVector{SaturateToInt32(v[0] * 65536.0 + 0.5), SaturateToInt32(v[1] * 65536.0 + 0.5),
                     SaturateToInt32(v[2] * 65536.0 + 0.5)};
}

Vec3 Sub(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double Dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
// The unit vector along v; v itself when it has no length.
Vec3 Unit(const Vec3& v) {
  const double length = std::sqrt(Dot(v, v));
  return length > 0.0 ? Vec3{v[0] / length, v[1] / length, v[2] / length} : v;
}

// A rigid frame with its origin at `origin` and its first axis along the unit `axis`; the second
// axis comes from the coordinate axis least aligned with it. Maps frame to object coordinates.
Matrix4 FrameAlong(const Vec3& origin, const Vec3& axis) {
  int least = 0;
  for (int i = 1; i < 3; ++i) {
    if (std::fabs(axis[i]) < std::fabs(axis[least])) least = i;
  }
  Vec3 e = {0, 0, 0};
  e[least] = 1.0;
  const Vec3 second =
      Unit(Sub(e, Vec3{axis[0] * axis[least], axis[1] * axis[least], axis[2] * axis[least]}));
  const Vec3 third = Cross(axis, second);
  Matrix4 m = {{axis[0], second[0], third[0], origin[0], axis[1], second[1], third[1], origin[1],
                axis[2], second[2], third[2], origin[2], 0, 0, 0, 1}};
  return m;
}

Matrix4 TurnAboutX(double radians) {
  const double c = std::cos(radians), s = std::sin(radians);
  Matrix4 m = {{1, 0, 0, 0, 0, c, -s, 0, 0, s, c, 0, 0, 0, 0, 1}};
  return m;
}

Matrix4 Multiply(const Matrix4& a, const Matrix4& b) {
  Matrix4 out;
  MultiplyMatrices(a.m, b.m, out.m, 4, 4, 4);
  return out;
}

// The face's unit outward normal in object coordinates: the cross product of two edges, turned
// to agree with the face's normal tip.
Vec3 FaceNormal(const C3DPObject& obj, const C3DFace& face) {
  const Vec3 c0 = ToUnits(obj.vertices[face.indices[1]]);
  const Vec3 c1 = ToUnits(obj.vertices[face.indices[2]]);
  const Vec3 cn = ToUnits(obj.vertices[face.indices[face.n]]);
  Vec3 n = Unit(Cross(Sub(c1, c0), Sub(cn, c0)));
  const Vec3 tip = Sub(ToUnits(obj.vertices[face.indices[0]]), c0);
  if (Dot(n, tip) < 0) n = Vec3{-n[0], -n[1], -n[2]};
  return n;
}

bool HasCorner(const C3DFace& face, int32_t v) {
  for (int32_t i = 1; i <= face.n; ++i) {
    if (face.indices[i] == v) return true;
  }
  return false;
}

bool FaceExists(const C3DPObject& obj, int32_t face) {
  return face >= 0 && face < obj.faceCount && obj.faces[face].indices != nullptr &&
         obj.faces[face].n >= 3;
}

// Puts the corners (and their texture coordinates, when given) in the order the fills draw: the
// order of a face turned toward the viewer. A face seen from behind runs the other way round.
void DrawableOrder(std::vector<RasterPoint>& corners, std::vector<RasterPoint>* coords) {
  if (corners.size() < 3) return;
  int64_t area = 0;
  for (size_t i = 0; i < corners.size(); ++i) {
    const RasterPoint& a = corners[i];
    const RasterPoint& b = corners[(i + 1) % corners.size()];
    area += int64_t{a.x} * b.y - int64_t{b.x} * a.y;
  }
  if (area >= 0) return;
  std::reverse(corners.begin(), corners.end());
  if (coords != nullptr) std::reverse(coords->begin(), coords->end());
}

}  // namespace

int IntersectRayWithPlanes(const double p[3], const double d[3], const BoundingPlanes& planes,
                           int32_t excluded, int32_t& index, double hit[3]) {
  double best = HUGE_VAL;
  index = -1;
  for (int32_t i = 0; i < 6; ++i) {
    const double a = planes.m[0][i], b = planes.m[1][i], c = planes.m[2][i], dd = planes.m[3][i];
    const double denominator = a * d[0] + b * d[1] + c * d[2];
    if (denominator == 0.0 || i == excluded) continue;
    const double t = -(a * p[0] + b * p[1] + c * p[2] + dd) / denominator;
    if (t > 0.0 && t < best) {
      best = t;
      index = i;
    }
  }
  // No plane ahead: the hit lies at infinity, outside the box.
  for (int k = 0; k < 3; ++k) hit[k] = index >= 0 ? p[k] + best * d[k] : p[k];
  if (index < 0) return 0;
  for (int32_t i = 0; i < 6; ++i) {
    const double side = planes.m[0][i] * hit[0] + planes.m[1][i] * hit[1] +
                        planes.m[2][i] * hit[2] + planes.m[3][i];
    if (!(side >= kInsideTolerance)) return 0;
  }
  return 1;
}

int32_t C3DPObject::FlyToWall(const BoundingPlanes& planes, int32_t& planeIndex,
                              const FixedVector& startPosition, const int32_t fromAngles[3],
                              const FixedVector& flightVelocity, const FlightSettings& settings,
                              FixedVector& outEndPosition, int32_t outEndAngles[3],
                              FixedVector& outNextVelocity) {
  // Copied first: callers pass this object's own fields.
  const FixedVector from = startPosition, v = flightVelocity;
  const int32_t angles0[3] = {fromAngles[0], fromAngles[1], fromAngles[2]};
  const Vec3 p = ToUnits(from);
  Vec3 d = ToUnits(v);
  int32_t index = -1;
  double hit[3] = {p[0], p[1], p[2]};
  bool found = false;
  if (Dot(d, d) > 0.0) {
    found = IntersectRayWithPlanes(p.data(), d.data(), planes, planeIndex, index, hit) == 1 &&
            index >= 0;
    if (!found) {
      // Outside the box, or nothing ahead: the other way, once.
      d = Vec3{-d[0], -d[1], -d[2]};
      found = IntersectRayWithPlanes(p.data(), d.data(), planes, -1, index, hit) == 1 && index >= 0;
    }
  }
  if (!found) {
    // No wall to fly to: stand where it is for no time, and try again from here next step.
    SetMotion(from, angles0, from, angles0, 0.0, 0);
    planeIndex = -1;
    outEndPosition = from;
    for (int i = 0; i < 3; ++i) outEndAngles[i] = angles0[i];
    outNextVelocity = nextVelocity = v;
    return 0;
  }
  const double seconds =
      std::sqrt(Dot(Sub(Vec3{hit[0], hit[1], hit[2]}, p), Sub(Vec3{hit[0], hit[1], hit[2]}, p))) /
      std::sqrt(Dot(d, d));
  const FixedVector to = ToFixed(hit);
  int32_t angles1[3] = {angles0[0], angles0[1], angles0[2]};
  if (settings.pivotFlag != 0 && settings.endAngleMode != 0) {
    const bool noSpin = settings.spin[0] == 0 && settings.spin[1] == 0 && settings.spin[2] == 0;
    for (int i = 0; i < 3; ++i) {
      const int r = seams::Rand() % 3 + 1;
      const double turn =
          noSpin ? r * seconds * 0.1 * 3600.0 : static_cast<double>(settings.spin[i]) / r * seconds;
      angles1[i] = SaturateToInt32(angles0[i] + turn);
    }
  }
  SetMotion(from, angles0, to, angles1, seconds, 0);
  if (settings.pivotFlag == 0) {
    // Spin about the pivot frame; the end pose is where that spin leaves the object.
    pivotMode = 1;
    for (int i = 0; i < 3; ++i) spin[i] = settings.spin[i];
    pivotIn = Matrix4ToFixed(settings.pivotIn);
    pivotOut = Matrix4ToFixed(settings.pivotOut);
    FixedMatrix turn = FixedIdentity();
    void (*const rotate[3])(FixedMatrix&, int32_t) = {RotateMatrixX, RotateMatrixY, RotateMatrixZ};
    for (int i = 0; i < 3; ++i) rotate[i](turn, SaturateToInt32(spin[i] * seconds));
    FixedMatrix start = startMatrix, inTurned, pivot;
    start.m[0][3] = to.x;
    start.m[1][3] = to.y;
    start.m[2][3] = to.z;
    ComposeTransforms(pivotIn, turn, inTurned);
    ComposeTransforms(inTurned, pivotOut, pivot);
    ComposeTransforms(start, pivot, endMatrix);
    FixedVector ignored;
    ReadBackPose(endMatrix, ignored, angles1);
    for (int i = 0; i < 3; ++i) endAngles[i] = angles1[i];
  }
  // Reflected on the wall hit: a component that runs into the wall turns round.
  double reflected[3];
  for (int i = 0; i < 3; ++i) reflected[i] = d[i] * planes.m[i][index] < 0.0 ? -d[i] : d[i];
  nextVelocity = ToFixed(reflected);
  planeIndex = index;
  outEndPosition = to;
  for (int i = 0; i < 3; ++i) outEndAngles[i] = angles1[i];
  outNextVelocity = nextVelocity;
  return motionTotal;
}

namespace {

// Sets the object up for a turn by `radians` about the first axis of `frame` (frame to object
// coordinates) in `seconds`, at `spinX` tenths of a degree per second.
void StartPivotTurn(C3DPObject& obj, const Matrix4& frame, double radians, double seconds) {
  Matrix4 inverse;
  InvertRigidTransform(frame, inverse);
  obj.startMatrix = obj.matrix;
  ReadBackPose(obj.matrix, obj.startPos, obj.startAngles);
  const Matrix4 end =
      Multiply(FixedToMatrix4(obj.matrix), Multiply(frame, Multiply(TurnAboutX(radians), inverse)));
  obj.endMatrix = Matrix4ToFixed(end);
  ReadBackPose(obj.endMatrix, obj.endPos, obj.endAngles);
  obj.pivotIn = Matrix4ToFixed(frame);
  obj.pivotOut = Matrix4ToFixed(inverse);
  obj.pivotAngles[0] = obj.pivotAngles[1] = obj.pivotAngles[2] = 0;
  obj.velocity = FixedVector{0, 0, 0};
  obj.spin[0] = obj.spin[1] = obj.spin[2] = 0;
  obj.gravity = 0;
  obj.moving = 1;
  obj.dirty = 1;
  if (seconds > 0.0) {
    obj.spin[0] = SaturateToInt32(radians * kTenthsPerRadian / seconds);
    obj.motionTotal = obj.motionLeft = SaturateToInt32(seconds * 1000.0);
    obj.pivotMode = 1;
  } else {
    // No time to turn: land on the end pose at the next step.
    obj.motionTotal = obj.motionLeft = 0;
    obj.pivotMode = 0;
  }
}

}  // namespace

void C3DPObject::TurnAboutFace(int32_t face, int32_t angle, double seconds) {
  if (!FaceExists(*this, face)) return;
  const C3DFace& f = faces[face];
  Vec3 centre = {0, 0, 0};
  for (int32_t i = 1; i <= f.n; ++i) {
    const Vec3 c = ToUnits(vertices[f.indices[i]]);
    for (int k = 0; k < 3; ++k) centre[k] += c[k] / f.n;
  }
  StartPivotTurn(*this, FrameAlong(centre, FaceNormal(*this, f)), angle / kTenthsPerRadian,
                 seconds);
}

void C3DPObject::TurnAboutEdge(int32_t face, int32_t a, int32_t b, double seconds) {
  if (!FaceExists(*this, face) || a < 0 || b < 0 || a >= vertexCount || b >= vertexCount) return;
  int32_t other = -1;
  for (int32_t k = 0; k < faceCount && other < 0; ++k) {
    if (k != face && FaceExists(*this, k) && HasCorner(faces[k], a) && HasCorner(faces[k], b)) {
      other = k;
    }
  }
  if (other < 0) return;
  const Vec3 nFace = FaceNormal(*this, faces[face]);
  const Vec3 nOther = FaceNormal(*this, faces[other]);
  const double angle = std::acos(std::clamp(Dot(nFace, nOther), -1.0, 1.0));
  const Vec3 pa = ToUnits(vertices[a]);
  const Vec3 axis = Unit(Sub(ToUnits(vertices[b]), pa));
  // The sense that brings the other face where this one lay; the order of a and b only decides
  // it for a half turn, where both senses end alike.
  const double sense = Dot(Cross(axis, nOther), nFace) < 0.0 ? -1.0 : 1.0;
  StartPivotTurn(*this, FrameAlong(pa, axis), sense * angle, seconds);
}

int C3DPObject::IsFaceFlatInRect(int32_t face, const RECT& rect) {
  if (!FaceExists(*this, face)) return 0;
  const Vec3 n = FaceNormal(*this, faces[face]);
  double z = 0.0;
  for (int k = 0; k < 3; ++k) z += matrix.m[2][k] / 65536.0 * n[k];
  if (-z < 0.95 || -z > 1.05) return 0;
  std::vector<RasterPoint> corners(static_cast<size_t>(faces[face].n));
  const int32_t n4 = ProjectFace(face, corners.data(), faces[face].n);
  if (n4 == 0) return 0;
  const int32_t height = g_rasterTarget.height;
  for (const RasterPoint& c : corners) {
    // Raster rows count from the bottom, the rectangle's from the top.
    const int64_t row = int64_t{height} - c.y;
    if (c.x < rect.left || c.x >= rect.right || row <= rect.top || row >= rect.bottom) return 0;
  }
  return 1;
}

int C3DPObject::CaptureFaceTexture(int32_t face, CDIB* source, int32_t mode, uint32_t fillColour) {
  const RasterTarget& target = g_rasterTarget;
  if (!FaceExists(*this, face) || source == nullptr || source->header == nullptr ||
      source->bits == nullptr || source->header->bmiHeader.biBitCount != 8 ||
      source->GetWidth() != target.width || source->GetHeight() != target.height) {
    return 0;
  }
  const int32_t n = faces[face].n;
  std::vector<RasterPoint> corners;
  try {
    corners.resize(static_cast<size_t>(n));
  } catch (const std::bad_alloc&) {
    return 0;
  }
  if (ProjectFace(face, corners.data(), n) != n) return 0;
  int32_t left = INT32_MAX, right = INT32_MIN, bottom = INT32_MAX, top = INT32_MIN;
  for (const RasterPoint& c : corners) {
    if (c.x < 0 || c.x >= target.width || c.y < 0 || c.y >= target.height) return 0;
    left = std::min(left, c.x);
    right = std::max(right, c.x);
    bottom = std::min(bottom, c.y);
    top = std::max(top, c.y);
  }
  // The box with both edges included, row by row through the picture's stride (rows are padded).
  const int32_t boxW = right - left + 1, boxH = top - bottom + 1;
  const int32_t stride = source->GetStorageWidth();
  // Everything that can run out of memory before the block is made: a refusal then leaves
  // nothing behind.
  std::vector<RasterPoint> relative;
  try {
    relative = corners;
  } catch (const std::bad_alloc&) {
    return 0;
  }
  for (RasterPoint& c : relative) c = RasterPoint{c.x - left, c.y - bottom};
  uint8_t* block = new (std::nothrow) uint8_t[static_cast<size_t>(boxW) * boxH];
  if (block == nullptr) return 0;
  for (int32_t row = 0; row < boxH; ++row) {
    const uint8_t* from = source->bits + static_cast<size_t>(bottom + row) * stride + left;
    std::copy(from, from + boxW, block + static_cast<size_t>(row) * boxW);
  }

  // The old texture is kept aside until the new one is in place, so a failure changes nothing.
  C3DFace& f = faces[face];
  // The old texture goes with its pixels whichever way this ends.
  struct OldTextureDeleter {
    void operator()(C3DTexture* t) const {
      if (t->ownsPixels) delete[] t->pixels;
      delete t;
    }
  };
  std::unique_ptr<C3DTexture, OldTextureDeleter> old(f.texture);
  std::vector<RasterPoint> oldCoords;
  oldCoords.swap(f.texCoords);
  const int32_t oldFlags = f.flags;
  f.texture = nullptr;
  if (!SetFaceTexture(face, boxW, block, boxW, boxH, RasterPolygon{n, relative.data()}, true)) {
    delete[] block;
    f.texture = old.release();
    f.texCoords.swap(oldCoords);
    f.flags = oldFlags;
    return 0;
  }
  const ScopedRasterTarget onSource(source->bits, target.width, target.height, stride);
  // The face lies on the picture seen from behind: its corners reversed make it drawable.
  DrawableOrder(corners, &oldCoords);
  if (mode == kCaptureRestoreOld && old && oldCoords.size() == static_cast<size_t>(n)) {
    FillPolygonTextured(RasterPolygon{n, corners.data()}, RasterPolygon{n, oldCoords.data()}, *old);
  }
  old.reset();
  if (mode == kCaptureFill) {
    const FaceColour colour = {static_cast<uint8_t>(fillColour & 0xFF),
                               static_cast<uint8_t>((fillColour >> 8) & 0xFF),
                               static_cast<uint8_t>((fillColour >> 16) & 0xFF), 0};
    FillPolygonFlat(RasterPolygon{n, corners.data()}, ColourToGreyIndex(colour), 0, 0);
  }
  return 1;
}
