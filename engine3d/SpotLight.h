// Spot lights and the 32-level grey shading of lit faces.
//
// A lit face is drawn in one of the 32 greys that start at GreyRampBaseIndex in the screen
// palette. Its level is the ambient term plus, for every light that is on and faces it, the
// light's intensity times the dot product of the light's direction with the face's normal.
#pragma once

#include <cstdint>

#include "engine3d/FixedMath.h"
#include "framework/Object.h"

#include "imaging/Raster8.h"  // GreyRampBaseIndex: one per process, shared with the 2D raster

struct SceneState;

// Red, green, blue of a lit face; only red takes part in the shading.
struct FaceColour {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
  uint8_t spare;
};

class CSpotLight : public CObject {
  DECLARE_DYNCREATE(CSpotLight)
 public:
  CSpotLight() = default;
  ~CSpotLight() override;

  // Normalises v into direction and derives toLight from the owner's view matrix (the identity
  // when no owner is set yet).
  void SetDirection(const FixedVector& v);
  void SetColour(const Fixed c[3]);
  void SwitchOn() { on = 1; }
  // Copies direction, toLight, colour, on and owner.
  void CopyFrom(const CSpotLight& other);

  // Unit direction as set: each component (c / length) * 65536 + 0.5, truncated toward zero.
  FixedVector direction = {0, 0, 0};
  // From a surface toward the light, in camera coordinates.
  FixedVector toLight = {0, 0, 0};
  // Only the first value, the intensity (65536 = 1.0), is used.
  Fixed colour[3] = {0, 0, 0};
  int32_t on = 0;
  const SceneState* owner = nullptr;
};

// out = colour with red = FixedMul(red, light) held to 0..255.
void LightColour(FaceColour& out, const FaceColour& colour, Fixed light);

// (red >> 3) + GreyRampBaseIndex: 32 levels above the base.
int32_t ColourToGreyIndex(const FaceColour& colour);

// Face flags that decide which light a face receives.
constexpr int32_t kFaceAmbient = 1;
constexpr int32_t kFaceSpotLit = 2;
constexpr int32_t kFaceTextured = 4;

// The light a face with these flags receives: the scene's ambient level (when it is on and the
// face takes it) plus, for a spot-lit face, the positive contributions of every light that is on,
// with `normal` the face's outward normal in camera coordinates (not normalised). Held to
// 0..INT32_MAX so that no sum wraps into darkness.
Fixed FaceLight(const SceneState& scene, int32_t flags, const FixedVector& normal);
