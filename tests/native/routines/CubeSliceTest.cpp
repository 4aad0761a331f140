// The puzzle cube's moves and texture turns: blocks turned by each quarter, a target too small
// left alone, face normals, and on a textured cube in a scene every slice turn undone by its
// inverse and four quarter turns coming back to where they began, with the cube drawn after a
// move showing what the turning pieces showed at its end.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine3d/Scene.h"
#include "engine3d/ShapesBox.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "routines/CubeSlice.h"
#include "seams/Clock.h"
#include "tests/native/engine3d/SceneFixture.h"

namespace {

// A 3 x 2 block: rows "abc" and "def".
const uint8_t kBlock[6] = {'a', 'b', 'c', 'd', 'e', 'f'};

std::string Rotated(int k, int tw, int th, int* written) {
  std::string target(static_cast<size_t>(tw) * th, '.');
  *written = RotateTexture(k, kBlock, 3, 2, reinterpret_cast<uint8_t*>(&target[0]), tw, th);
  return target;
}

TEST(RotateTextureTest, EachQuarterTurnPlacesEveryTexelAndTooSmallTargetsStayUntouched) {
  struct Case {
    int k, tw, th;
    int written;
    const char* rows;  // the target, row after row
  };
  const Case cases[] = {
      {0, 3, 2, 1, "abcdef"},       {1, 2, 3, 1, "daebfc"},  // (x, y) to column 1 - y, row x
      {2, 3, 2, 1, "fedcba"},       {3, 2, 3, 1, "cfbead"},  // (x, y) to column y, row 2 - x
      {0, 4, 3, 1, "abc.def....."},                          // only the source's width of each row
      {2, 3, 3, 1, "...fedcba"},                             // the last rows
      {1, 3, 3, 1, ".da.eb.fc"},                             // the last columns
      {0, 2, 2, 0, "...."},                                  // narrower than the block
      {1, 3, 2, 0, "......"},                                // the turned block is 2 x 3
      {3, 2, 2, 0, "...."},         {4, 3, 2, 0, "......"},  // not a quarter turn
      {-1, 3, 2, 0, "......"},
  };
  for (const Case& c : cases) {
    int written = -1;
    EXPECT_EQ(Rotated(c.k, c.tw, c.th, &written), c.rows)
        << "k " << c.k << " into " << c.tw << "x" << c.th;
    EXPECT_EQ(written, c.written) << "k " << c.k << " into " << c.tw << "x" << c.th;
  }
}

TEST(ComputeFaceNormalTest, UnitNormalFromTheFirstPointAndDegenerateFacesKeepTheOldTip) {
  const Fixed u = kFixedOne;
  FixedVector tip = {0, 0, 0};
  // The +y face of a box, corners in the shapes' order: the normal points out along +y.
  EXPECT_EQ(ComputeFaceNormal({15 * u, 15 * u, 15 * u}, {-15 * u, 15 * u, 15 * u},
                              {-15 * u, 15 * u, -15 * u}, &tip),
            1);
  EXPECT_EQ(tip.x, 15 * u);
  EXPECT_EQ(tip.y, 16 * u);
  EXPECT_EQ(tip.z, 15 * u);
  const FixedVector old = {7, 8, 9};
  tip = old;
  EXPECT_EQ(ComputeFaceNormal({u, u, u}, {2 * u, 2 * u, 2 * u}, {3 * u, 3 * u, 3 * u}, &tip), 0);
  EXPECT_EQ(tip.x, old.x);
  EXPECT_EQ(tip.y, old.y);
  EXPECT_EQ(tip.z, old.z);
  EXPECT_EQ(ComputeFaceNormal({u, u, u}, {u, u, u}, {2 * u, 0, 0}, &tip), 0);
  EXPECT_EQ(tip.x, old.x);
}

// A cube facing the viewer at rest in a scene, each face textured with its own pattern.
class CubeSliceTest : public ::testing::Test {
 protected:
  static constexpr int kTexture = 60;

  void SetUp() override {
    seams::ClearStop();
    ASSERT_TRUE(scene.ready);
    ASSERT_TRUE(cube.ready);
    scene.InsertObject(&cube);
    const int32_t angles[3] = {300, 400, 0};  // three faces in view
    const FixedVector at = {0, 0, -160 * kFixedOne};
    cube.SetMotion(at, angles, at, angles, 0, 0);
    scene.RunUntilAllStopped(0);
    for (int face = 0; face < 6; ++face) {
      CDIB image;
      ASSERT_TRUE(image.Create(kTexture, kTexture, nullptr));
      for (int y = 0; y < kTexture; ++y)
        for (int x = 0; x < kTexture; ++x)
          *image.GetPixelAddress(x, y) = static_cast<BYTE>(160 + face * 15 + x / 20 + y / 20 * 3);
      ASSERT_EQ(cube.MapTexture(face, &image), 1);
    }
  }
  void TearDown() override {
    scene.RemoveObject(&cube);
    seams::ClearStop();
  }

  std::vector<std::vector<uint8_t>> Textures() {
    std::vector<std::vector<uint8_t>> all;
    for (int face = 0; face < 6; ++face) {
      const C3DTexture* t = cube.faces[face].texture;
      all.emplace_back(t->pixels, t->pixels + static_cast<size_t>(t->stride) * t->height);
    }
    return all;
  }

  int Turn(int f, int q) { return TurnCubeSlice(scene, cube, f, q, 0.05, nullptr, nullptr); }

  scenetest::FrameClock clock;
  seams::ScopedClock scoped{&clock};
  scenetest::WindowedHost host{240, 180};
  C3DScene scene{&host};
  C3DCube cube;
};

TEST_F(CubeSliceTest, EverySliceTurnIsUndoneByItsInverseAndChangesTheTexturesMeanwhile) {
  const auto start = Textures();
  for (int f = 0; f < 6; ++f) {
    for (int q : {1, 2, 3, -1, -2, -3}) {
      ASSERT_EQ(Turn(f, q), 1) << "face " << f << " q " << q;
      EXPECT_NE(Textures(), start) << "face " << f << " q " << q << " moved nothing";
      ASSERT_EQ(Turn(f, -q), 1);
      ASSERT_EQ(Textures(), start) << "face " << f << " q " << q << " then " << -q;
    }
  }
  EXPECT_EQ(scene.count, 1) << "only the cube is left in the scene";
}

TEST_F(CubeSliceTest, FourQuarterTurnsAndMatchingTurnsComeBackToTheStart) {
  const auto start = Textures();
  for (int f = 0; f < 6; ++f) {
    for (int i = 0; i < 4; ++i) ASSERT_EQ(Turn(f, 1), 1);
    ASSERT_EQ(Textures(), start) << "four quarter turns of face " << f;
    ASSERT_EQ(Turn(f, 1), 1);
    const auto once = Textures();
    ASSERT_EQ(Turn(f, 3), 1);
    ASSERT_EQ(Turn(f, -3), 1);
    EXPECT_EQ(Textures(), once) << "three forward then three back, face " << f;
    ASSERT_EQ(Turn(f, -1), 1);
  }
  // A scramble over different faces, undone in reverse order.
  const int moves[][2] = {{0, 1}, {4, -2}, {1, 3}, {5, -1}, {2, 2}, {3, -3}, {0, -1}};
  for (const auto& m : moves) ASSERT_EQ(Turn(m[0], m[1]), 1);
  EXPECT_NE(Textures(), start);
  for (int i = static_cast<int>(sizeof moves / sizeof moves[0]) - 1; i >= 0; --i) {
    ASSERT_EQ(Turn(moves[i][0], -moves[i][1]), 1);
  }
  EXPECT_EQ(Textures(), start);
}

// What the turning pieces showed at the end of a move is what the cube shows once it is back:
// textures carried round the wrong way, or stripes cut from the wrong edge, would jump.
TEST_F(CubeSliceTest, TheCubeShowsAfterAMoveWhatThePiecesShowedAtItsEnd) {
  for (int f = 0; f < 6; ++f) {
    for (int q : {1, -1, 2}) {
      ASSERT_EQ(Turn(f, q), 1);
      const CDIBSurface& surface = *host.GetSurface();
      std::vector<uint8_t> pieces(surface.bits, surface.bits + surface.GetStorageWidth() * 180);
      scene.RunUntilAllStopped(1);
      long differing = 0, drawn = 0;
      for (size_t i = 0; i < pieces.size(); ++i) {
        drawn += pieces[i] >= 160;
        differing += pieces[i] != surface.bits[i];
      }
      ASSERT_GT(drawn, 1000);
      EXPECT_LT(differing * 8, drawn) << "face " << f << " q " << q << ": " << differing << " of "
                                      << drawn << " pixels changed";
      ASSERT_EQ(Turn(f, -q), 1);
    }
  }
}

TEST_F(CubeSliceTest, AStopDuringATurnPutsTheCubeBackWithItsTextures) {
  const auto start = Textures();
  clock.stopAfter = clock.reads + 20;
  EXPECT_EQ(TurnCubeSlice(scene, cube, 2, 3, 0.5, nullptr, nullptr), 0);
  EXPECT_EQ(Textures(), start);
  EXPECT_EQ(scene.count, 1);
  clock.stopAfter = 0;
  seams::ClearStop();
  EXPECT_EQ(Turn(2, 0), 0) << "no quarter turns";
  EXPECT_EQ(Turn(6, 1), 0) << "no such face";
}

}  // namespace
