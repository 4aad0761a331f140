#include "routines/CubeSlice.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "engine3d/PolyObject.h"
#include "engine3d/Scene.h"
#include "engine3d/ShapesBox.h"
#include "seams/Clock.h"

namespace {

// Per turning face: the corners opposite its own (paired in the order of its index list), and
// the opposite face.
const int kFarCorners[6][4] = {{3, 2, 6, 7}, {0, 3, 7, 4}, {1, 0, 4, 5},
                               {2, 1, 5, 6}, {4, 7, 6, 5}, {0, 1, 2, 3}};
const int kOppositeFace[6] = {2, 3, 0, 1, 5, 4};

// Per turning face: the four side faces with the corner that anchors each one's texture, in the
// order in which a positive quarter turn carries the side stripes.
struct SideFace {
  int face;
  int anchor;
};
const SideFace kSideCycle[6][4] = {
    {{4, 1}, {3, 0}, {5, 4}, {1, 5}}, {{2, 6}, {4, 2}, {0, 1}, {5, 5}},
    {{3, 7}, {4, 3}, {1, 2}, {5, 6}}, {{0, 4}, {4, 0}, {2, 3}, {5, 7}},
    {{2, 2}, {3, 3}, {0, 0}, {1, 1}}, {{3, 4}, {2, 7}, {1, 6}, {0, 5}}};

// The pair of model vertices whose half difference moves the two pieces' origins apart along
// the turning axis.
const int kHalfOffsetPair[6][2] = {{5, 6}, {2, 3}, {6, 5}, {3, 2}, {2, 6}, {6, 2}};

// Where a texture coordinate lies on the texture's corners: (0, 0) 0, (w - 1, 0) 1,
// (w - 1, h - 1) 2, (0, h - 1) 3; -1 elsewhere.
int CornerOrientation(const RasterPoint& p, int w, int h) {
  if (p.y == 0) return p.x == 0 ? 0 : p.x == w - 1 ? 1 : -1;
  if (p.y == h - 1) return p.x == w - 1 ? 2 : p.x == 0 ? 3 : -1;
  return -1;
}

// The place of the vertex among the face's corners (0-based), or -1.
int CornerPlace(const C3DFace& face, int vertex) {
  for (int i = 1; i <= face.n && i <= 4; ++i) {
    if (face.indices[i] == vertex) return i - 1;
  }
  return -1;
}

// The orientation of the face's texture at the vertex, or -1.
int OrientationAt(const C3DPObject& obj, int face, int vertex) {
  if (face < 0 || face >= obj.faceCount) return -1;
  const C3DFace& f = obj.faces[face];
  const int place = CornerPlace(f, vertex);
  if (!f.texture || place < 0 || static_cast<size_t>(place) >= f.texCoords.size()) return -1;
  return CornerOrientation(f.texCoords[static_cast<size_t>(place)], f.texture->width,
                           f.texture->height);
}

bool PackedTexture(const C3DTexture* t) {
  return t && t->pixels && t->width > 0 && t->height > 0 && t->stride == t->width;
}

// Which edge of the side texture the face's corners lie on.
enum class Edge { kNone, kFirstRows, kLastRows, kFirstColumns, kLastColumns };

Edge SharedEdge(const C3DFace& side, const C3DFace& face, int w, int h) {
  int count = 0;
  bool firstRows = true, lastRows = true, firstColumns = true, lastColumns = true;
  for (int i = 0; i < side.n && static_cast<size_t>(i) < side.texCoords.size(); ++i) {
    if (CornerPlace(face, side.indices[i + 1]) < 0) continue;
    const RasterPoint& p = side.texCoords[static_cast<size_t>(i)];
    firstRows &= p.y == 0;
    lastRows &= p.y == h - 1;
    firstColumns &= p.x == 0;
    lastColumns &= p.x == w - 1;
    ++count;
  }
  if (count != 2) return Edge::kNone;
  if (firstRows) return Edge::kFirstRows;
  if (lastRows) return Edge::kLastRows;
  if (firstColumns) return Edge::kFirstColumns;
  if (lastColumns) return Edge::kLastColumns;
  return Edge::kNone;
}

// Cuts the stripe of depth `depth` along the edge out of the side's texture and gives it to the
// piece's side face, with each corner on the stripe's matching corner. 0 when memory runs out.
int GiveStripe(C3DPObject& piece, int sideFace, const C3DFace& side, Edge edge, int part) {
  const C3DTexture& t = *side.texture;
  const bool rows = edge == Edge::kFirstRows || edge == Edge::kLastRows;
  const int across = rows ? t.height : t.width;
  const int depth = part == 0 ? across / 3 : across - across / 3;
  const int sw = rows ? t.width : depth, sh = rows ? depth : t.height;
  if (depth <= 0) return 1;
  const int x0 = edge == Edge::kLastColumns ? t.width - depth : 0;
  const int y0 = edge == Edge::kLastRows ? t.height - depth : 0;
  std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[static_cast<size_t>(sw) * sh]);
  if (!block) return 0;
  for (int y = 0; y < sh; ++y) {
    std::memcpy(block.get() + static_cast<size_t>(y) * sw, t.pixels + (y0 + y) * t.stride + x0,
                static_cast<size_t>(sw));
  }
  std::vector<RasterPoint> corners(side.texCoords);
  for (RasterPoint& p : corners) {
    if (rows) {
      p.y = p.y == (edge == Edge::kFirstRows ? 0 : t.height - 1)
                ? (edge == Edge::kFirstRows ? 0 : sh - 1)
                : (edge == Edge::kFirstRows ? sh - 1 : 0);
    } else {
      p.x = p.x == (edge == Edge::kFirstColumns ? 0 : t.width - 1)
                ? (edge == Edge::kFirstColumns ? 0 : sw - 1)
                : (edge == Edge::kFirstColumns ? sw - 1 : 0);
    }
  }
  if (!piece.SetFaceTexture(sideFace, sw, block.get(), sw, sh,
                            RasterPolygon{static_cast<int32_t>(corners.size()), corners.data()},
                            true)) {
    return 0;
  }
  block.release();
  return 1;
}

// A piece of the cube: a block with the cube's model vertices, matrices and radius.
std::unique_ptr<C3DBlock> NewPiece(const C3DCube& cube) {
  std::unique_ptr<C3DBlock> piece(new (std::nothrow) C3DBlock);
  if (!piece || !piece->ready || piece->ownPoints.size() != static_cast<size_t>(cube.vertexCount)) {
    return nullptr;
  }
  std::memcpy(piece->ownPoints.data(), cube.vertices,
              piece->ownPoints.size() * sizeof(FixedVector));
  piece->matrix = cube.matrix;
  piece->composite = cube.composite;
  piece->radiusSq = cube.radiusSq;
  return piece;
}

Fixed Third(Fixed from, Fixed to) {
  return WrapAdd(from, FixedDiv(WrapSub(to, from), 3 * kFixedOne));
}

// Cuts the cube at one third from face f: the slice's far corners and the rest's near corners
// meet on the cut, and the two pieces' origins move apart along the axis while their vertices
// stay where the cube's were.
void CutPieces(const C3DCube& cube, int f, C3DBlock& slice, C3DBlock& rest) {
  const C3DFace& face = cube.faces[f];
  for (int i = 0; i < 4; ++i) {
    const FixedVector& a = cube.vertices[face.indices[i + 1]];
    const FixedVector& b = cube.vertices[kFarCorners[f][i]];
    const FixedVector p = {Third(a.x, b.x), Third(a.y, b.y), Third(a.z, b.z)};
    slice.ownPoints[static_cast<size_t>(kFarCorners[f][i])] = p;
    rest.ownPoints[static_cast<size_t>(face.indices[i + 1])] = p;
  }
  const FixedVector& u = cube.vertices[kHalfOffsetPair[f][0]];
  const FixedVector& v = cube.vertices[kHalfOffsetPair[f][1]];
  const FixedVector d = {FixedDiv(WrapSub(u.x, v.x), 2 * kFixedOne),
                         FixedDiv(WrapSub(u.y, v.y), 2 * kFixedOne),
                         FixedDiv(WrapSub(u.z, v.z), 2 * kFixedOne)};
  for (FixedVector& p : slice.ownPoints)
    p = {WrapSub(p.x, d.x), WrapSub(p.y, d.y), WrapSub(p.z, d.z)};
  for (FixedVector& p : rest.ownPoints)
    p = {WrapAdd(p.x, d.x), WrapAdd(p.y, d.y), WrapAdd(p.z, d.z)};
  FixedMatrix rotation = cube.matrix;
  for (auto& row : rotation.m) row[3] = 0;
  FixedVector e;
  TransformPoint(rotation, d, e);
  const Fixed* moves[3] = {&e.x, &e.y, &e.z};
  for (int i = 0; i < 3; ++i) {
    slice.matrix.m[i][3] = WrapAdd(slice.matrix.m[i][3], *moves[i]);
    rest.matrix.m[i][3] = WrapSub(rest.matrix.m[i][3], *moves[i]);
  }
  slice.origin = {slice.matrix.m[0][3], slice.matrix.m[1][3], slice.matrix.m[2][3]};
  rest.origin = {rest.matrix.m[0][3], rest.matrix.m[1][3], rest.matrix.m[2][3]};
}

// Every face's normal tip again from the piece's own corners.
void RenewNormals(C3DBlock& piece) {
  for (int k = 0; k < piece.faceCount; ++k) {
    const int32_t* idx = piece.faces[k].indices;
    if (!idx || piece.faces[k].n < 3) continue;
    const auto& pts = piece.ownPoints;
    ComputeFaceNormal(pts[static_cast<size_t>(idx[1])], pts[static_cast<size_t>(idx[2])],
                      pts[static_cast<size_t>(idx[3])],
                      &piece.ownPoints[static_cast<size_t>(idx[0])]);
  }
}

// The two pieces in the scene in the cube's place, the cut face nearer the viewer drawn last.
class PiecesInScene {
 public:
  PiecesInScene(C3DScene& scene, C3DCube& cube, C3DBlock& slice, C3DBlock& rest)
      : scene_(scene), cube_(cube), slice_(slice), rest_(rest) {
    scene_.RemoveObject(&cube_);
    scene_.InsertObject(&slice_);
    scene_.InsertObject(&rest_);
    scene_.DepthSort();
  }
  ~PiecesInScene() {
    scene_.RemoveObject(&slice_);
    scene_.RemoveObject(&rest_);
    scene_.InsertObject(&cube_);
  }
  PiecesInScene(const PiecesInScene&) = delete;
  PiecesInScene& operator=(const PiecesInScene&) = delete;

 private:
  C3DScene& scene_;
  C3DCube& cube_;
  C3DBlock& slice_;
  C3DBlock& rest_;
};

// The slice's quarter turns, drawn. False at a stop request.
bool TurnSlice(C3DScene& scene, C3DBlock& slice, int f, int q, double seconds,
               const std::function<void()>& startSound, const std::function<void()>& stopSound) {
  const int32_t step = q > 0 ? 900 : -900;
  for (int i = 0; i < (q > 0 ? q : -q); ++i) {
    if (seams::StopRequested()) return false;
    slice.TurnAboutFace(f, step, seconds);
    if (startSound) startSound();
    scene.RunUntilAllStopped(1);
    if (stopSound) stopSound();
  }
  return !seams::StopRequested();
}

}  // namespace

int OppositeCubeFace(int f) { return f >= 0 && f < 6 ? kOppositeFace[f] : -1; }

int RotateTexture(int k, const uint8_t* source, int sw, int sh, uint8_t* target, int tw, int th) {
  if (k < 0 || k > 3 || !source || !target || sw <= 0 || sh <= 0) return 0;
  const bool turned = k % 2 == 1;
  if ((turned ? sh : sw) > tw || (turned ? sw : sh) > th) return 0;
  for (int y = 0; y < sh; ++y) {
    const uint8_t* row = source + static_cast<size_t>(y) * sw;
    if (k == 0) {
      std::memcpy(target + static_cast<size_t>(y) * tw, row, static_cast<size_t>(sw));
      continue;
    }
    for (int x = 0; x < sw; ++x) {
      size_t at = 0;
      if (k == 1) at = static_cast<size_t>(x) * tw + (tw - 1 - y);
      if (k == 2) at = static_cast<size_t>(th - 1 - y) * tw + (tw - 1 - x);
      if (k == 3) at = static_cast<size_t>(th - 1 - x) * tw + y;
      target[at] = row[x];
    }
  }
  return 1;
}

int ComputeFaceNormal(const FixedVector& p0, const FixedVector& p1, const FixedVector& p2,
                      FixedVector* out) {
  const double a[3] = {(p1.x - static_cast<double>(p0.x)) / 65536,
                       (p1.y - static_cast<double>(p0.y)) / 65536,
                       (p1.z - static_cast<double>(p0.z)) / 65536};
  const double b[3] = {(p2.x - static_cast<double>(p0.x)) / 65536,
                       (p2.y - static_cast<double>(p0.y)) / 65536,
                       (p2.z - static_cast<double>(p0.z)) / 65536};
  const double n[3] = {b[1] * a[2] - b[2] * a[1], b[2] * a[0] - b[0] * a[2],
                       b[0] * a[1] - b[1] * a[0]};
  const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  if (!(length > 0.0)) return 0;  // the old tip stays: no direction to point in
  auto tip = [length](Fixed from, double component) {
    return WrapAdd(from, static_cast<Fixed>(component / length * 65536 + 0.5));
  };
  *out = {tip(p0.x, n[0]), tip(p0.y, n[1]), tip(p0.z, n[2])};
  return 1;
}

int CopyFaceTexture(C3DPObject& source, int sourceFace, int sourceCorner, C3DPObject& target,
                    int targetFace, int targetCorner) {
  static const int kToScratch[4] = {1, 0, 3, 2};
  static const int kFromScratch[4] = {3, 0, 1, 2};
  const int o = OrientationAt(source, sourceFace, sourceCorner);
  const int ot = OrientationAt(target, targetFace, targetCorner);
  if (o < 0 || ot < 0) return 0;
  const C3DTexture* s = source.faces[sourceFace].texture;
  const C3DTexture* t = target.faces[targetFace].texture;
  if (!PackedTexture(s) || !PackedTexture(t)) return 0;
  const int k = kToScratch[o];
  const int scratchW = k % 2 ? s->height : s->width;
  const int scratchH = k % 2 ? s->width : s->height;
  std::unique_ptr<uint8_t[]> scratch(new (std::nothrow)
                                         uint8_t[static_cast<size_t>(scratchW) * scratchH]);
  if (!scratch) return 0;
  RotateTexture(k, s->pixels, s->width, s->height, scratch.get(), scratchW, scratchH);
  return RotateTexture(kFromScratch[ot], scratch.get(), scratchW, scratchH, t->pixels, t->width,
                       t->height);
}

int CopyPieceTextures(C3DPObject& cube, C3DPObject& piece, int part, int face) {
  if (face < 0 || face >= 6 || face >= cube.faceCount || face >= piece.faceCount) return 1;
  const C3DFace& whole = cube.faces[face];
  if (PackedTexture(whole.texture)) {
    const C3DTexture& t = *whole.texture;
    // A view of the cube's pixels: the piece dies with the move, the pixels stay the cube's.
    if (!piece.SetFaceTexture(face, t.stride, t.pixels, t.width, t.height,
                              RasterPolygon{whole.n, whole.texCoords.data()}, false)) {
      return 0;
    }
  }
  for (const SideFace& side : kSideCycle[face]) {
    const C3DFace& s = cube.faces[side.face];
    if (!PackedTexture(s.texture) || s.texCoords.size() != static_cast<size_t>(s.n)) continue;
    const Edge edge = SharedEdge(s, whole, s.texture->width, s.texture->height);
    if (edge == Edge::kNone) continue;
    if (!GiveStripe(piece, side.face, s, edge, part)) return 0;
  }
  return 1;
}

void ApplyTurnTextures(C3DPObject& cube, C3DPObject& slice, int f, int q) {
  const int shift = ((4 - q) % 4 + 4) % 4;
  const SideFace* cycle = kSideCycle[f];
  for (int i = 0; i < 4; ++i) {
    const SideFace& from = cycle[(i + shift) % 4];
    CopyFaceTexture(slice, from.face, from.anchor, cube, cycle[i].face, cycle[i].anchor);
  }
  const int32_t* corners = cube.faces[f].indices + 1;
  CopyFaceTexture(slice, f, corners[0], cube, f, corners[shift]);
}

int TurnCubeSlice(C3DScene& scene, C3DCube& cube, int f, int q, double seconds,
                  const std::function<void()>& startSound, const std::function<void()>& stopSound) {
  if (f < 0 || f >= 6 || q == 0 || q < -3 || q > 3 || cube.faceCount != 6) return 0;
  std::unique_ptr<C3DBlock> slice = NewPiece(cube);
  std::unique_ptr<C3DBlock> rest = NewPiece(cube);
  if (!slice || !rest) return 0;
  CutPieces(cube, f, *slice, *rest);
  rest->scene = &scene.state;
  if (rest->IsFaceVisible(f)) {
    slice->layer = 1;
    rest->layer = 0;
  } else {
    slice->layer = 0;
    rest->layer = 1;
  }
  RenewNormals(*slice);
  RenewNormals(*rest);
  if (!CopyPieceTextures(cube, *slice, 0, f) ||
      !CopyPieceTextures(cube, *rest, 1, kOppositeFace[f])) {
    return 0;
  }
  bool turned = false;
  {
    PiecesInScene pieces(scene, cube, *slice, *rest);
    turned = TurnSlice(scene, *slice, f, q, seconds, startSound, stopSound);
  }
  if (!turned) return 0;
  ApplyTurnTextures(cube, *slice, f, q);
  return 1;
}
