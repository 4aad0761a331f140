// Spot lights and face shading.
#include "engine3d/SpotLight.h"

#include <algorithm>
#include <cmath>

#include "engine3d/SceneState.h"

IMPLEMENT_DYNCREATE(CSpotLight, CObject)

CSpotLight::~CSpotLight() = default;

namespace {

// (c / length) * 65536 + 0.5 truncated toward zero: negative components round toward zero from
// the half (-37836.7 gives -37836): the one rounding used for every negative fixed-point constant
// of the engine.
Fixed UnitComponent(double c, double length) {
  return static_cast<Fixed>(c / length * 65536.0 + 0.5);
}

}  // namespace

void CSpotLight::SetDirection(const FixedVector& v) {
  const double x = v.x / 65536.0, y = v.y / 65536.0, z = v.z / 65536.0;
  const double length = std::sqrt(x * x + z * z + y * y);
  if (length == 0.0) {
    // A light without a direction lights nothing rather than dividing by zero.
    direction = FixedVector{0, 0, 0};
  } else {
    direction =
        FixedVector{UnitComponent(x, length), UnitComponent(y, length), UnitComponent(z, length)};
  }
  const FixedMatrix view = owner != nullptr ? owner->view : FixedIdentity();
  FixedVector transformed;
  TransformPoint(view, direction, transformed);
  toLight = FixedVector{-transformed.x, -transformed.y, -transformed.z};
}

void CSpotLight::SetColour(const Fixed c[3]) {
  for (int i = 0; i < 3; ++i) colour[i] = c[i];
}

void CSpotLight::CopyFrom(const CSpotLight& other) {
  direction = other.direction;
  toLight = other.toLight;
  SetColour(other.colour);
  on = other.on;
  owner = other.owner;
}

void LightColour(FaceColour& out, const FaceColour& colour, Fixed light) {
  const Fixed level = FixedMul(colour.red, light);
  out = colour;
  out.red = static_cast<uint8_t>(std::clamp<Fixed>(level, 0, 255));
}

int32_t ColourToGreyIndex(const FaceColour& colour) {
  return (colour.red >> 3) + GreyRampBaseIndex;
}

Fixed FaceLight(const SceneState& scene, int32_t flags, const FixedVector& normal) {
  int64_t light = 0;
  if (scene.ambientOn == 1 && (flags & kFaceAmbient) != 0) light = scene.ambient[0];
  if ((flags & kFaceSpotLit) != 0) {
    for (const CSpotLight* spot : scene.lights) {
      if (spot == nullptr || spot->on == 0) continue;
      const FixedVector& l = spot->toLight;
      const int64_t d = static_cast<int64_t>(FixedMul(l.y, normal.y)) + FixedMul(l.z, normal.z) +
                        FixedMul(l.x, normal.x);
      // Lights that face away add nothing: there is no negative light.
      if (d > 0)
        light += FixedMul(spot->colour[0], static_cast<Fixed>(std::min<int64_t>(d, INT32_MAX)));
    }
  }
  return static_cast<Fixed>(std::clamp<int64_t>(light, 0, INT32_MAX));
}
