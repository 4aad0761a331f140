// Spot lights, the grey-level shading of lit faces and its worked examples.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine3d/SceneState.h"
#include "engine3d/SpotLight.h"

namespace {

TEST(CSpotLight, IsADynamicallyCreatableClassStartingOff) {
  std::unique_ptr<CObject> object(CRuntimeClass::CreateObject("CSpotLight"));
  ASSERT_NE(object, nullptr);
  EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CSpotLight)));
  EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CObject)));
  const CSpotLight* light = static_cast<CSpotLight*>(object.get());
  EXPECT_EQ(light->on, 0);
  EXPECT_EQ(light->owner, nullptr);
}

TEST(CSpotLight, TheSceneDefaultDirectionsGiveTheseVectorsTowardTheLight) {
  struct Case {
    FixedVector given, direction, toLight;
  } cases[] = {
      {{-65535, -65535, -65535}, {-37836, -37836, -37836}, {37836, 37836, 37836}},
      {{65536, 65536, -65535}, {37837, 37837, -37836}, {-37837, -37837, 37836}},
      {{65536, 0, 0}, {65536, 0, 0}, {-65536, 0, 0}},
      // Any length normalises to the same unit direction.
      {{0, 0, 5 * 65536}, {0, 0, 65536}, {0, 0, -65536}},
      // No direction at all lights nothing instead of dividing by zero.
      {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
  };
  SceneState scene;
  for (const Case& c : cases) {
    CSpotLight light;
    light.owner = &scene;
    light.SetDirection(c.given);
    EXPECT_EQ(light.direction.x, c.direction.x);
    EXPECT_EQ(light.direction.y, c.direction.y);
    EXPECT_EQ(light.direction.z, c.direction.z);
    EXPECT_EQ(light.toLight.x, c.toLight.x);
    EXPECT_EQ(light.toLight.y, c.toLight.y);
    EXPECT_EQ(light.toLight.z, c.toLight.z);
  }
}

TEST(CSpotLight, TowardTheLightFollowsTheOwnersViewAndCopiesCarryEverything) {
  SceneState scene;
  RotateMatrixZ(scene.view, 900);  // camera x is world -y
  CSpotLight light;
  light.owner = &scene;
  light.SetDirection(FixedVector{65536, 0, 0});
  EXPECT_EQ(light.toLight.x, 0);
  EXPECT_EQ(light.toLight.y, -65536);
  EXPECT_EQ(light.toLight.z, 0);

  const Fixed colour[3] = {26214, 1, 2};
  light.SetColour(colour);
  light.SwitchOn();
  CSpotLight copy;
  copy.CopyFrom(light);
  EXPECT_EQ(copy.owner, &scene);
  EXPECT_EQ(copy.on, 1);
  EXPECT_EQ(copy.colour[0], 26214);
  EXPECT_EQ(copy.colour[2], 2);
  EXPECT_EQ(copy.direction.x, 65536);
  EXPECT_EQ(copy.toLight.y, -65536);
}

TEST(LightColour, ScalesRedAndSaturates) {
  struct Case {
    uint8_t red;
    Fixed light;
    uint8_t expected;
  } cases[] = {
      {200, 98304, 255}, {200, 6554, 20},   {255, 55706, 217}, {255, 6554, 26},
      {255, 0, 0},       {255, 65536, 255}, {100, -65536, 0},
  };
  for (const Case& c : cases) {
    FaceColour out = {9, 9, 9, 9};
    LightColour(out, FaceColour{c.red, 40, 50, 0}, c.light);
    EXPECT_EQ(out.red, c.expected) << int(c.red) << " lit " << c.light;
    EXPECT_EQ(out.green, 40);
  }
}

TEST(ColourToGreyIndex, OnlyRedCountsAboveTheBase) {
  GreyRampBaseIndex = 10;
  EXPECT_EQ(ColourToGreyIndex(FaceColour{255, 0, 0, 0}), 10 + 31);
  EXPECT_EQ(ColourToGreyIndex(FaceColour{7, 255, 255, 0}), 10 + 0);
  EXPECT_EQ(ColourToGreyIndex(FaceColour{8, 0, 0, 0}), 10 + 1);
  GreyRampBaseIndex = 0;
}

// A scene with ambient 0.1 and the given lights, all facing straight along +z toward a viewer.
struct LitScene {
  struct Light {
    Fixed intensity;
    FixedVector toLight;
    int32_t on;
  };
  explicit LitScene(std::vector<Light> wanted, int32_t ambientOn = 1) {
    scene.ambient[0] = 6554;
    scene.ambientOn = ambientOn;
    for (const Light& s : wanted) {
      auto light = std::make_unique<CSpotLight>();
      light->colour[0] = s.intensity;
      light->toLight = s.toLight;
      light->on = s.on;
      scene.lights.push_back(light.get());
      owned.push_back(std::move(light));
    }
  }
  SceneState scene;
  std::vector<std::unique_ptr<CSpotLight>> owned;
};

TEST(FaceLight, WorkedExamplesGiveTheseGreyLevels) {
  const FixedVector up = {0, 0, 65536};
  const FixedVector side = {65536, 0, 0};
  struct Case {
    const char* what;
    std::vector<LitScene::Light> lights;
    int32_t ambientOn, flags;
    FixedVector normal;
    int32_t level;
  } cases[] = {
      {"ambient and one light square on", {{49152, up, 1}}, 1, 3, up, 27},
      {"perpendicular to every light: ambient alone", {{49152, up, 1}}, 1, 3, side, 3},
      {"light sum above 1.0 saturates", {{49152, up, 1}, {39322, up, 1}}, 1, 3, up, 31},
      {"a light that is off adds nothing", {{49152, up, 0}}, 1, 3, up, 3},
      {"a light facing away adds nothing", {{49152, FixedVector{0, 0, -65536}, 1}}, 1, 3, up, 3},
      {"spot-lit only: no ambient", {{49152, up, 1}}, 1, 2, up, 23},
      {"ambient only: spot lights ignored", {{49152, up, 1}}, 1, 1, up, 3},
      {"ambient switched off, no light on", {{49152, up, 0}}, 0, 3, up, 0},
      {"a long normal cannot wrap the sum into darkness",
       {{65536, up, 1}},
       1,
       3,
       FixedVector{0, 0, INT32_MAX},
       31},
  };
  GreyRampBaseIndex = 20;
  for (const Case& c : cases) {
    LitScene lit(c.lights, c.ambientOn);
    FaceColour shaded;
    LightColour(shaded, FaceColour{255, 255, 255, 0}, FaceLight(lit.scene, c.flags, c.normal));
    EXPECT_EQ(ColourToGreyIndex(shaded), 20 + c.level) << c.what;
  }
  GreyRampBaseIndex = 0;
}

}  // namespace
