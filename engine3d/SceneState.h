// What the 3D objects and the spot lights read from the scene that holds them.
//
// Kept apart from the scene's frame loop so that objects and lights can be moved, lit and drawn
// over a plain buffer: the scene embeds one of these and hands its address to what it holds.
#pragma once

#include <cstdint>
#include <vector>

#include "engine3d/FixedMath.h"

class CSpotLight;
class ScreenHost;

struct SceneState {
  // World to camera; the identity in every scene the routines build.
  FixedMatrix view = FixedIdentity();
  // Ambient light level; only the first value is used.
  Fixed ambient[3] = {0, 0, 0};
  int32_t ambientOn = 0;
  // The spot lights in insertion order. The scene owns them; this only lists them.
  std::vector<CSpotLight*> lights;
  // The frame's time in milliseconds, and the factor applied to elapsed milliseconds in Move.
  uint32_t tick = 0;
  int32_t speed = 1;
  // The screen the scene draws on: what the shapes' face captures take their picture from. Null
  // for objects drawn over a plain buffer.
  ScreenHost* host = nullptr;
};
