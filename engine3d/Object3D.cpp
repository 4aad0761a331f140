// C3DObject: the scene member base.
#include "engine3d/Object3D.h"

#include <cstring>

IMPLEMENT_DYNCREATE(C3DObject, CObject)

C3DObject::C3DObject() = default;

C3DObject::~C3DObject() = default;

void C3DObject::SetAnimationParams(int32_t state, const BoundingPlanes* planes,
                                   const int32_t ints[4], uint32_t colour, double real) {
  animState = state;
  if (planes != nullptr) boundingPlanes = *planes;
  if (ints != nullptr) std::memcpy(animInts, ints, sizeof(animInts));
  animColour = colour;
  animReal = real;
}

void C3DObject::ResetBox() { box = RECT{kEmptyBoxLow, kEmptyBoxLow, 0, 0}; }
