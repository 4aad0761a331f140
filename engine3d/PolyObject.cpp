// C3DPObject: geometry, faces, textures, transform and projection, drawing and collisions.
#include "engine3d/PolyObject.h"

#include <algorithm>
#include <new>

#include "engine3d/SceneState.h"

IMPLEMENT_DYNCREATE(C3DPObject, C3DObject)

void C3DFace::ReleaseTexture() {
  if (texture != nullptr && texture->ownsPixels) delete[] texture->pixels;
  delete texture;
  texture = nullptr;
  texCoords.clear();
}

C3DPObject::~C3DPObject() = default;

int C3DPObject::SetGeometry(const FixedVector* newVertices, int32_t newVertexCount,
                            int32_t newProjCount, int32_t newFaceCount) {
  xformed.clear();
  projected.clear();
  screen.clear();
  faces.reset();
  vertices = nullptr;
  vertexCount = projCount = faceCount = 0;
  if (newVertexCount < 0 || newProjCount < 0 || newProjCount > newVertexCount || newFaceCount < 0 ||
      (newVertexCount > 0 && newVertices == nullptr)) {
    return 0;
  }
  try {
    xformed.assign(static_cast<size_t>(newVertexCount), FixedVector{0, 0, 0});
    projected.assign(static_cast<size_t>(newProjCount), FixedVector{0, 0, 0});
    screen.assign(static_cast<size_t>(newProjCount), RasterPoint{0, 0});
    faces.reset(new C3DFace[static_cast<size_t>(newFaceCount)]);
  } catch (const std::bad_alloc&) {
    xformed.clear();
    projected.clear();
    screen.clear();
    return 0;
  }
  vertices = newVertices;
  vertexCount = newVertexCount;
  projCount = newProjCount;
  faceCount = newFaceCount;
  return 1;
}

bool C3DPObject::PolygonRoom(int32_t n) {
  try {
    if (polygon_.size() < static_cast<size_t>(n)) polygon_.resize(static_cast<size_t>(n));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool C3DPObject::FaceUsable(const C3DFace& face) const {
  if (face.indices == nullptr || face.n < 3) return false;
  if (face.indices[0] < 0 || face.indices[0] >= vertexCount) return false;
  for (int32_t i = 1; i <= face.n; ++i) {
    if (face.indices[i] < 0 || face.indices[i] >= projCount) return false;
  }
  return true;
}

int C3DPObject::SetFace(int32_t face, const int32_t* indices, int32_t n, int32_t colourIndex,
                        int32_t flags) {
  if (face < 0 || face >= faceCount) return 0;
  C3DFace candidate;
  candidate.indices = indices;
  candidate.n = n;
  if (!FaceUsable(candidate)) return 0;
  if (!PolygonRoom(n)) return 0;
  C3DFace& f = faces[face];
  f.indices = indices;
  f.n = n;
  f.colourIndex = colourIndex;
  f.flags = flags;
  return 1;
}

int C3DPObject::SetFaceTexture(int32_t face, int32_t stride, uint8_t* pixels, int32_t width,
                               int32_t height, const RasterPolygon& coords, bool ownsPixels) {
  if (face < 0 || face >= faceCount || coords.count != faces[face].n || coords.points == nullptr) {
    return 0;
  }
  std::unique_ptr<C3DTexture> record(new (std::nothrow) C3DTexture);
  std::vector<RasterPoint> points;
  if (!record) return 0;
  try {
    points.assign(coords.points, coords.points + coords.count);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  C3DFace& f = faces[face];
  f.ReleaseTexture();
  record->stride = stride;
  record->pixels = pixels;
  record->width = width;
  record->height = height;
  record->ownsPixels = ownsPixels;
  f.texture = record.release();
  f.texCoords.swap(points);
  f.flags = kFaceTextured;
  return 1;
}

namespace {

// The focal factor for a target W pixels wide: -2 (W div 2) in Fixed, rounded toward zero by one
// unit like every negative constant of the engine, so the horizontal field of view is
// 2 atan(1/2) whatever the height.
Fixed FocalFactor(int32_t width) {
  const int64_t f = static_cast<int64_t>(width / 2) * -131072 + 1;
  return static_cast<Fixed>(std::max<int64_t>(f, INT32_MIN + 1));
}

// Rounds a projected Fixed coordinate to whole pixels (64 bits: no wrap near the limits).
int32_t RoundToPixel(Fixed v) {
  return static_cast<int32_t>((static_cast<int64_t>(v) + 32768) >> 16);
}

// The sign of (b - a) x (c - a) on projected points. Exact in 64 bits (32-bit products wrap for
// faces larger than about 181 pixels and cull them the wrong way round); differences too large
// for exact products fall back to doubles, which still get the sign right.
int64_t CrossSign(const FixedVector& a, const FixedVector& b, const FixedVector& c) {
  const int64_t d1x = static_cast<int64_t>(b.x) - a.x, d1y = static_cast<int64_t>(b.y) - a.y;
  const int64_t d2x = static_cast<int64_t>(c.x) - a.x, d2y = static_cast<int64_t>(c.y) - a.y;
  const int64_t limit = INT32_MAX;
  if (std::max({std::abs(d1x), std::abs(d1y), std::abs(d2x), std::abs(d2y)}) <= limit) {
    return d1x * d2y - d1y * d2x;
  }
  const double cross = static_cast<double>(d1x) * static_cast<double>(d2y) -
                       static_cast<double>(d1y) * static_cast<double>(d2x);
  return cross < 0 ? -1 : (cross > 0 ? 1 : 0);
}

const FixedMatrix& ViewOf(const SceneState* scene) {
  static const FixedMatrix identity = FixedIdentity();
  return scene != nullptr ? scene->view : identity;
}

}  // namespace

bool C3DPObject::Project(const FixedVector& camera, FixedVector& projection,
                         RasterPoint& point) const {
  const RasterTarget& target = g_rasterTarget;
  const Fixed f = FocalFactor(target.width);
  projection.z = camera.z;
  if (camera.z >= -1) {
    // On or behind the camera plane: no projection (the face will not be drawn).
    projection.x = projection.y = 0;
    point = RasterPoint{0, 0};
    return false;
  }
  projection.x = FixedMul(FixedDiv(camera.x, camera.z), f);
  projection.y = FixedMul(FixedDiv(camera.y, camera.z), f);
  point.x = RoundToPixel(projection.x) + target.width / 2;
  point.y = target.height / 2 - RoundToPixel(projection.y);
  return true;
}

void C3DPObject::Transform() {
  ComposeTransforms(ViewOf(scene), matrix, composite);
  TransformPoint(composite, FixedVector{0, 0, 0}, origin);
  for (int32_t i = 0; i < vertexCount; ++i) {
    TransformPoint(composite, vertices[i], xformed[static_cast<size_t>(i)]);
    if (i < projCount)
      Project(xformed[static_cast<size_t>(i)], projected[static_cast<size_t>(i)],
              screen[static_cast<size_t>(i)]);
  }
}

int32_t C3DPObject::ProjectFace(int32_t face, RasterPoint* points, int32_t capacity) {
  if (face < 0 || face >= faceCount || points == nullptr) return 0;
  const C3DFace& f = faces[face];
  if (!FaceUsable(f) || f.n > capacity) return 0;
  ComposeTransforms(ViewOf(scene), matrix, composite);
  for (int32_t i = 0; i < f.n; ++i) {
    FixedVector camera, projection;
    TransformPoint(composite, vertices[f.indices[i + 1]], camera);
    if (!Project(camera, projection, points[i])) return 0;
  }
  return f.n;
}

bool C3DPObject::FacesViewer(const C3DFace& face) const {
  const FixedVector& a = projected[static_cast<size_t>(face.indices[1])];
  const FixedVector& b = projected[static_cast<size_t>(face.indices[2])];
  const FixedVector& c = projected[static_cast<size_t>(face.indices[face.n])];
  return CrossSign(a, b, c) < 0;
}

int C3DPObject::IsFaceVisible(int32_t face) {
  Transform();
  if (face < 0 || face >= faceCount || !FaceUsable(faces[face])) return 0;
  return FacesViewer(faces[face]) ? 1 : 0;
}

void C3DPObject::GrowBox(const RasterPoint* points, int32_t n) {
  const RasterTarget& target = g_rasterTarget;
  for (int32_t i = 0; i < n; ++i) {
    const RasterPoint& p = points[i];
    box.right = std::max<LONG>(box.right, std::min(p.x, target.width));
    box.bottom = std::max<LONG>(box.bottom, std::min(p.y, target.height));
    box.left = std::max<LONG>(std::min<LONG>(box.left, p.x), 0);
    box.top = std::max<LONG>(std::min<LONG>(box.top, p.y), 0);
  }
}

void C3DPObject::DrawFace(const C3DFace& face, const RasterPolygon& polygon) {
  if (face.flags == 0) {
    FillPolygonFlat(polygon, face.colourIndex, 0, 0);
  } else if ((face.flags & kFaceTextured) != 0) {
    if (face.texture == nullptr || face.texCoords.size() != static_cast<size_t>(face.n)) return;
    const RasterPolygon coords{face.n, face.texCoords.data()};
    FillPolygonTextured(polygon, coords, *face.texture);
  } else {
    const FixedVector& tip = xformed[static_cast<size_t>(face.indices[0])];
    const FixedVector& first = xformed[static_cast<size_t>(face.indices[1])];
    const FixedVector normal{WrapSub(tip.x, first.x), WrapSub(tip.y, first.y),
                             WrapSub(tip.z, first.z)};
    static const SceneState noScene;
    const Fixed light = FaceLight(scene != nullptr ? *scene : noScene, face.flags, normal);
    FaceColour shaded;
    LightColour(shaded, face.colour, light);
    FillPolygonFlat(polygon, ColourToGreyIndex(shaded), 0, 0);
  }
}

void C3DPObject::Draw() {
  for (int32_t k = 0; k < faceCount; ++k) {
    const C3DFace& face = faces[k];
    if (!FaceUsable(face) || !PolygonRoom(face.n)) continue;
    bool inFront = true;
    for (int32_t i = 0; i < face.n; ++i) {
      const int32_t v = face.indices[i + 1];
      inFront = inFront && projected[static_cast<size_t>(v)].z < -1;
      polygon_[static_cast<size_t>(i)] = screen[static_cast<size_t>(v)];
    }
    if (!inFront || !FacesViewer(face)) continue;
    GrowBox(polygon_.data(), face.n);
    DrawFace(face, RasterPolygon{face.n, polygon_.data()});
  }
}

int C3DPObject::Collides(const C3DPObject& other) const {
  for (int32_t i = 0; i < projCount; ++i) {
    const FixedVector& v = xformed[static_cast<size_t>(i)];
    bool outside = false;
    for (int32_t k = 0; k < other.faceCount && !outside; ++k) {
      const C3DFace& face = other.faces[k];
      if (!other.FaceUsable(face)) continue;
      const FixedVector& tip = other.xformed[static_cast<size_t>(face.indices[0])];
      const FixedVector& base = other.xformed[static_cast<size_t>(face.indices[1])];
      const FixedVector n{WrapSub(tip.x, base.x), WrapSub(tip.y, base.y), WrapSub(tip.z, base.z)};
      // Which side of the face's plane the vertex lies on: n . v - n . base, summed in 64 bits.
      const int64_t d = static_cast<int64_t>(FixedMul(n.y, v.y)) + FixedMul(n.z, v.z) +
                        FixedMul(n.x, v.x) -
                        (static_cast<int64_t>(FixedMul(n.y, base.y)) + FixedMul(n.z, base.z) +
                         FixedMul(n.x, base.x));
      outside = d > 0;
    }
    if (!outside) return 1;
  }
  return 0;
}
