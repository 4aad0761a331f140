// A cube built as the shapes build their tables: 8 drawable corners, then one normal tip per face
// (first corner plus the unit outward normal), and six faces whose corners run so that the face
// is drawn when it turns toward the viewer.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "engine3d/PolyObject.h"

struct TestCube {
  // half: half the side, in Fixed.
  explicit TestCube(Fixed half, int32_t flags = 0) {
    for (int i = 0; i < 8; ++i) {
      vertices[i] =
          FixedVector{(i & 1) ? half : -half, (i & 2) ? half : -half, (i & 4) ? half : -half};
    }
    int face = 0;
    for (int axis = 0; axis < 3; ++axis) {
      for (int sign = -1; sign <= 1; sign += 2, ++face) {
        BuildFace(face, axis, sign);
      }
    }
    EXPECT_EQ(object.SetGeometry(vertices.data(), 14, 8, 6), 1);
    for (int f = 0; f < 6; ++f)
      EXPECT_EQ(object.SetFace(f, indices[f].data(), 4, 10 + f, flags), 1);
  }

  // Face colour index 10 + face; faces 0/1 look along -x/+x, 2/3 along -y/+y, 4/5 along -z/+z.
  static constexpr int kFront = 5;  // its normal points toward a camera in front of the cube
  static constexpr int kBack = 4;

  std::array<FixedVector, 14> vertices{};
  std::array<std::array<int32_t, 5>, 6> indices{};
  C3DPObject object;

 private:
  void BuildFace(int face, int axis, int sign) {
    const int u = (axis + 1) % 3, v = (axis + 2) % 3;
    const int cycle[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    int corners[4];
    for (int k = 0; k < 4; ++k) {
      corners[k] = (sign > 0 ? 1 << axis : 0) | (cycle[k][0] << u) | (cycle[k][1] << v);
    }
    // Keep the order whose (b - a) x (c - a) points into the solid.
    auto coord = [this](int c, int a) { return static_cast<int64_t>((&vertices[c].x)[a]); };
    const int a = corners[0], b = corners[1], c = corners[3];
    int64_t cross = 0;
    {
      const int64_t e1u = coord(b, u) - coord(a, u), e1v = coord(b, v) - coord(a, v);
      const int64_t e2u = coord(c, u) - coord(a, u), e2v = coord(c, v) - coord(a, v);
      // Component along `axis` of the cross product, with (u, v, axis) a right-handed frame.
      cross = e1u * e2v - e1v * e2u;
    }
    if (cross * sign > 0) std::swap(corners[1], corners[3]);
    FixedVector tip = vertices[corners[0]];
    (&tip.x)[axis] += sign * 65536;
    vertices[8 + face] = tip;
    indices[face] = {8 + face, corners[0], corners[1], corners[2], corners[3]};
  }
};
