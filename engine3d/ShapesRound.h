// The round shapes of the 3D engine: truncated cones, cylinders and balls. C3DCone, C3DCyl and
// C3DBall own the animation and texturing of their kind; the numbered classes are the fixed
// tessellations (50 side faces; 6 and 10 bands of latitude).
#pragma once

#include "engine3d/Animation.h"
#include "engine3d/PolyObject.h"

class CDIB;
class ScreenHost;

class C3DCone : public C3DPObject {
  DECLARE_SERIAL(C3DCone)
 public:
  C3DCone() = default;
  int32_t AnimateStep() override;
  int32_t GetAnimationStateCount() override { return animEnabled ? 2 * faceCount : 0; }
};

class C3DCone52 : public C3DCone {
  DECLARE_SERIAL(C3DCone52)
 public:
  C3DCone52();
};

class C3DCyl : public C3DPObject {
  DECLARE_SERIAL(C3DCyl)
 public:
  C3DCyl() = default;
  int32_t AnimateStep() override;
  int32_t GetAnimationStateCount() override { return animEnabled ? 2 * faceCount : 0; }
  void SetScreenArea(const RECT& rect) { screenArea = rect; }
  // Textures the side faces with the 8-bit image cut into one vertical slice each. 0 for another
  // depth or an image with fewer columns than slices (nothing changed), or when memory runs out
  // (the faces done so far keep their new textures).
  int MapTexture(CDIB* image);
  // As MapTexture with a logo the caller opened for this cylinder's unrolled aspect ratio
  // (LogoAspectRatio, HostServices::OpenRandomLogoFile), first mapped onto the colours of the
  // host's background (the logo is changed so). 0 without a logo or background, or when memory
  // runs out.
  int MapLogoTexture(ScreenHost* host, CDIB* logo);
  // Width over height of the side unrolled: the ring's circumference over the cylinder's height.
  double LogoAspectRatio() const;

  // Window rectangle the grabbing faces must lie in.
  RECT screenArea = {0, 0, 0, 0};
};

class C3DCyl52 : public C3DCyl {
  DECLARE_SERIAL(C3DCyl52)
 public:
  C3DCyl52();
};

class C3DBall : public C3DPObject {
  DECLARE_SERIAL(C3DBall)
 public:
  C3DBall();
  int32_t AnimateStep() override;
  int32_t GetAnimationStateCount() override;
  // Textures every face with its cell of the 8-bit image cut into n rows and 2n columns (caps
  // squeezed into triangles). 0 for another depth or an image too small for two pixels a cell
  // (nothing changed), or when memory runs out (cells done so far keep their textures).
  int MapTexture(CDIB* image);
  // Bands of latitude: floor(sqrt(F / 2) + 0.1).
  int32_t Bands() const;

  // The ball's own flight: it flies without turning.
  FlightSettings flight;
};

class C3DBall72 : public C3DBall {
  DECLARE_SERIAL(C3DBall72)
 public:
  C3DBall72();
};

class C3DBall200 : public C3DBall {
  DECLARE_SERIAL(C3DBall200)
 public:
  C3DBall200();
};

// Squeezes each row but the last of a w x h block toward its start (mode 0: row r keeps
// w (r + 1) / h samples; mode 1: w (h - 1 - r) / h), repeating the last sample taken.
void SqueezeRowsToTriangle(uint8_t* block, int32_t w, int32_t h, int mode);
