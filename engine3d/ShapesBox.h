// The square pyramid and the boxes of the 3D engine. C3DPyr and C3DCuboid own the animation and
// texturing of their kind and have no geometry of their own; C3DPyr5, C3DCube and C3DBlock are
// the solids the routines create.
#pragma once

#include <vector>

#include "engine3d/PolyObject.h"

class CDIB;

class C3DPyr : public C3DPObject {
  DECLARE_SERIAL(C3DPyr)
 public:
  C3DPyr() = default;
  int32_t AnimateStep() override;
  int32_t GetAnimationStateCount() override { return animEnabled ? 11 : 0; }
  // Textures the base (face 4) with the whole 8-bit image. 0, the face unchanged, for another
  // depth or when memory runs out.
  int MapTexture(CDIB* image);
};

class C3DPyr5 : public C3DPyr {
  DECLARE_SERIAL(C3DPyr5)
 public:
  C3DPyr5();
};

class C3DCuboid : public C3DPObject {
  DECLARE_SERIAL(C3DCuboid)
 public:
  C3DCuboid() = default;
  int32_t AnimateStep() override;
  int32_t GetAnimationStateCount() override { return animEnabled ? 14 : 0; }
  // Textures one face with the whole 8-bit image; 0, the face unchanged, for a bad face, another
  // depth or when memory runs out.
  int MapTexture(int32_t face, CDIB* image);
};

class C3DCube : public C3DCuboid {
  DECLARE_SERIAL(C3DCube)
 public:
  C3DCube();
};

class C3DBlock : public C3DCuboid {
  DECLARE_SERIAL(C3DBlock)
 public:
  C3DBlock();
  // This block's own copy of the point table.
  std::vector<FixedVector> ownPoints;
};

// Copies the whole 8-bit image row by row into a new block and makes it the face's texture with
// one texture corner per face corner. 0 (nothing changed) for another depth, an empty image, a
// bad face or no memory.
int MapImageToFace(C3DPObject& obj, int32_t face, CDIB* image, const RasterPoint* corners);
