// The six walls of a test box: x within +/-halfX, y within +/-halfY, and the two depth planes
// given as their d terms (the box of +/-100 and depth -400..-200 has zNear 400 and zFar -200).
#pragma once

#include "engine3d/Object3D.h"

namespace scenetest {

inline BoundingPlanes BoxPlanes(double halfX, double halfY, double zNear, double zFar) {
  BoundingPlanes b = {};
  const double rows[6][4] = {{1, 0, 0, halfX},  {-1, 0, 0, halfX}, {0, 1, 0, halfY},
                             {0, -1, 0, halfY}, {0, 0, 1, zNear},  {0, 0, -1, zFar}};
  for (int i = 0; i < 6; ++i)
    for (int r = 0; r < 4; ++r) b.m[r][i] = rows[i][r];
  return b;
}

}  // namespace scenetest
