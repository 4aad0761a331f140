// The flat shapes of the 3D engine, all in the plane y = 0 with their corners on a circle about
// the origin, face 0 toward +y and face 1 toward -y: the square (the tile of the tile peel and of
// the flying tiles), the card (a square with its own point table and a two-state turn), the
// 50-sided plate and the eight-pointed star. Every shape class can be created by name.
#pragma once

#include <vector>

#include "engine3d/PolyObject.h"

class C3DSquare : public C3DPObject {
  DECLARE_SERIAL(C3DSquare)
 public:
  C3DSquare();
  // e1 = corner 0 - corner 3 and e2 = corner 1 - corner 0 of the face as the view transform (made
  // afresh from the scene's view and the object transform) places them.
  void GetFaceEdges(int32_t face, FixedVector& e1, FixedVector& e2);
};

class C3DRect : public C3DPObject {
  DECLARE_SERIAL(C3DRect)
 public:
  C3DRect();
  int32_t AnimateStep() override;
  int32_t GetAnimationStateCount() override { return animEnabled ? 2 : 0; }
  void GetFaceEdges(int32_t face, FixedVector& e1, FixedVector& e2);

  // This card's own copy of the corner table, which a routine may reshape.
  std::vector<FixedVector> ownPoints;
};

class C3DPlate : public C3DPObject {
  DECLARE_SERIAL(C3DPlate)
 public:
  C3DPlate();
};

class C3DOctagon : public C3DPObject {
  DECLARE_SERIAL(C3DOctagon)
 public:
  C3DOctagon();
};

// Corner 0 - corner 3 and corner 1 - corner 0 of a face of a square or card, in view space.
void FaceEdgesInView(C3DPObject& obj, int32_t face, FixedVector& e1, FixedVector& e2);
