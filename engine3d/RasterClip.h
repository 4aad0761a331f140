// Shared by the two polygon fills: the clip rectangle in force and row addressing.
#pragma once

#include <cstdint>

#include "engine3d/Raster.h"

// The target's clip rectangle intersected with its surface; empty when nothing is bound.
struct RasterClip {
  int32_t left, top, right, bottom;
  bool Empty() const { return left >= right || top >= bottom; }
};

RasterClip CurrentRasterClip();

// First byte of a row of the bound surface.
inline uint8_t* RasterRow(int32_t row) {
  return g_rasterTarget.bits + static_cast<intptr_t>(row) * g_rasterTarget.stride;
}

// True when |v| <= kMaxRasterCoordinate.
bool InRasterRange(int64_t v);

// True when every corner, and every corner moved by (dx, dy) lies within +/-kMaxRasterCoordinate.
bool PolygonInRange(const RasterPolygon& polygon, int32_t dx, int32_t dy);
