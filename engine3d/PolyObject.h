// C3DPObject: a polyhedron of a 3D scene. It holds its model vertices and faces, moves from a
// start pose to an end pose in a timed motion (optionally falling under gravity), transforms and
// projects its vertices every frame and draws the faces that face the viewer: flat, lit in the
// grey ramp, or texture-mapped. Concrete shapes derive from it and build its tables.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine3d/Object3D.h"
#include "engine3d/Raster.h"
#include "engine3d/SpotLight.h"
#include "engine3d/Texture.h"

class CDIB;
struct FlightSettings;

// One face. Set up through C3DPObject::SetFace, which checks its vertex indices; a face whose
// indices do not fit the geometry is never drawn.
class C3DFace {
 public:
  C3DFace() = default;
  ~C3DFace() { ReleaseTexture(); }
  C3DFace(const C3DFace&) = delete;
  C3DFace& operator=(const C3DFace&) = delete;

  // Frees the texture record, its pixels when the face owns them, and the coordinates.
  void ReleaseTexture();

  // n + 1 vertex indices (the shape's table): the normal tip, a point outside the face such that
  // tip minus first corner is the outward normal, then the n corners in order.
  const int32_t* indices = nullptr;
  int32_t n = 0;
  // Palette index of a plain flat face.
  int32_t colourIndex = 0;
  // Colour of a lit face.
  FaceColour colour = {255, 255, 255, 0};
  // 0 plain flat; kFaceAmbient and kFaceSpotLit: lit; kFaceTextured: texture-mapped.
  int32_t flags = 0;
  C3DTexture* texture = nullptr;
  std::vector<RasterPoint> texCoords;
};

class C3DPObject : public C3DObject {
  DECLARE_DYNCREATE(C3DPObject)
 public:
  C3DPObject() = default;
  ~C3DPObject() override;

  // Takes the shape's vertex table (not copied, not owned): the first projCount vertices are
  // drawable, the rest reference points (normal tips) that are only transformed. Allocates the
  // per-vertex arrays and faceCount empty faces. Returns 0, leaving the object without geometry,
  // on counts that do not fit together or when memory runs out.
  int SetGeometry(const FixedVector* vertices, int32_t vertexCount, int32_t projCount,
                  int32_t faceCount);
  // Sets a face: indices holds the tip and then n corners. Returns 0 (face unchanged) for an index
  // outside the geometry (tip beyond the vertices, a corner beyond the drawable ones), n < 3, or
  // when memory runs out.
  int SetFace(int32_t face, const int32_t* indices, int32_t n, int32_t colourIndex, int32_t flags);

  // Starts a motion of `seconds` from the start pose to the end pose; angles in tenths of a
  // degree. A zero or negative time ends at the first Move, landing on the end pose.
  void SetMotion(const FixedVector& startPosition, const int32_t startAngles[3],
                 const FixedVector& endPosition, const int32_t endAngles[3], double seconds,
                 int32_t gravityOn);

  void Draw() override;
  void Move() override;
  void Transform() override;

  // The face's corners projected to screen points (composite refreshed, vertex arrays untouched).
  // Returns the corner count, or 0 when the face does not exist, `capacity` is too small or a
  // corner is not in front of the camera.
  int32_t ProjectFace(int32_t face, RasterPoint* points, int32_t capacity);

  // Attaches a texture: texels of width x height at `pixels` with `stride` bytes per row, and one
  // texture coordinate per corner. The face's previous texture is released first. With
  // ownsPixels the block (allocated with new[]) becomes the face's and is freed with it;
  // otherwise it stays the caller's. Returns 0 (nothing changed, the pixels still the caller's)
  // for a bad face, a coordinate count other than the face's corners, or no memory.
  int SetFaceTexture(int32_t face, int32_t stride, uint8_t* pixels, int32_t width, int32_t height,
                     const RasterPolygon& coords, bool ownsPixels = false);

  // Transforms the object, then 1 when the face turns toward the viewer.
  int IsFaceVisible(int32_t face);

  // 1 when a drawable vertex of this object lies inside the other's convex hull (both as last
  // transformed).
  int Collides(const C3DPObject& other) const;

  // Animation support (Animation.cpp). Each set-up replaces the current motion with one that
  // Move runs to its end.

  // A straight flight from the start pose at `velocity` to the nearest wall of the box (the wall
  // just left, planeIndex, excluded; planeIndex then names the wall hit). When the wall lies
  // outside the box, the flight goes the other way once; with no wall ahead at all (or no speed)
  // the object makes a motion of no time to its start pose. Writes the end pose and the velocity
  // reflected on the hit wall (also kept in nextVelocity). Returns the motion time in ms.
  int32_t FlyToWall(const BoundingPlanes& planes, int32_t& planeIndex,
                    const FixedVector& startPosition, const int32_t fromAngles[3],
                    const FixedVector& flightVelocity, const FlightSettings& settings,
                    FixedVector& outEndPosition, int32_t outEndAngles[3],
                    FixedVector& outNextVelocity);
  // Turns the whole object by `angle` tenths of a degree about the axis through the centre of the
  // face along its outward normal, in `seconds`.
  void TurnAboutFace(int32_t face, int32_t angle, double seconds);
  // Rolls the object over the edge from vertex a to vertex b of the face onto the other face that
  // has both corners: afterwards that face lies where this one lay. Nothing happens when no such
  // face exists.
  void TurnAboutEdge(int32_t face, int32_t a, int32_t b, double seconds);
  // 1 when the face's normal, turned by the object transform, points away from the viewer within
  // 5 % and every projected corner lies inside the rectangle (window rows, counted from the top:
  // left <= x < right, top < y < bottom).
  int IsFaceFlatInRect(int32_t face, const RECT& rect);
  // Replaces the face's texture by the part of `source` (an 8-bit picture of the raster target's
  // size) under the face as projected; mode kCaptureFill then fills that part of the source with
  // the grey of `fillColour`, mode kCaptureRestoreOld first draws the old texture back into it.
  // Returns 0 with the face and the source unchanged when the face is not wholly on the picture,
  // the source does not fit or memory runs out.
  int CaptureFaceTexture(int32_t face, CDIB* source, int32_t mode, uint32_t fillColour);

  int32_t shapeParams[4] = {0, 0, 0, 0};
  // Object to world.
  FixedMatrix matrix = FixedIdentity();
  // View . matrix, refreshed by Transform.
  FixedMatrix composite = FixedIdentity();
  int32_t shapeWord = 0;
  int32_t vertexCount = 0;
  int32_t projCount = 0;
  const FixedVector* vertices = nullptr;
  // Camera coordinates of every vertex.
  std::vector<FixedVector> xformed;
  // Per drawable vertex: (x / z * f, y / z * f, z).
  std::vector<FixedVector> projected;
  // Per drawable vertex: screen column and raster row.
  std::vector<RasterPoint> screen;
  int32_t faceCount = 0;
  std::unique_ptr<C3DFace[]> faces;
  // Tenths of a degree per second about x, y, z.
  int32_t spin[3] = {0, 0, 0};
  // Units per second.
  FixedVector velocity = {0, 0, 0};
  FixedVector nextVelocity = {0, 0, 0};
  int32_t startAngles[3] = {0, 0, 0};
  FixedVector startPos = {0, 0, 0};
  int32_t endAngles[3] = {0, 0, 0};
  FixedVector endPos = {0, 0, 0};
  int32_t gravity = 0;
  // 1 while a turn about a point other than the origin runs.
  int32_t pivotMode = 0;
  FixedMatrix pivotIn = FixedIdentity();
  FixedMatrix pivotOut = FixedIdentity();
  FixedMatrix startMatrix = FixedIdentity();
  FixedMatrix endMatrix = FixedIdentity();
  int32_t pivotAngles[3] = {0, 0, 0};
  // 1 when the shape's build made everything it needed; 0 after a failed allocation, which the
  // routines turn into their out-of-memory error.
  int32_t ready = 1;

 private:
  // True when the face's indices lie inside the geometry.
  bool FaceUsable(const C3DFace& face) const;
  // Projects one camera-space point; false when it is not in front of the camera (z >= -1).
  bool Project(const FixedVector& camera, FixedVector& projection, RasterPoint& point) const;
  // Sign of the projected corners' cross product: negative when the face turns toward the viewer.
  bool FacesViewer(const C3DFace& face) const;
  void GrowBox(const RasterPoint* points, int32_t n);
  void DrawFace(const C3DFace& face, const RasterPolygon& polygon);
  // Grows the scratch polygon to n corners; false when memory runs out.
  bool PolygonRoom(int32_t n);
  // Scratch polygon of Draw, as long as the longest face.
  std::vector<RasterPoint> polygon_;
};
