// The screen host: what transitions, captions, the 3D scene and the display routines need from
// the screen document and its view, and nothing more.
//
// They compose into an 8-bit off-screen surface, ask for rectangles of it to be composed again
// from the background and the sprites, and ask for rectangles of it to be shown on the screen.
// In the saver the screen document (CAnimDoc, with its first view) is the host; native tests use
// HeadlessScreenHost, which shows nothing and records what it was asked to show. The clock,
// the logos and the sound flag come from the host's services (HostServices.h), which only a host
// that has them hands out.
//
// Coordinates are the surface's, which are the screen's: x to the right, y downwards.
#pragma once

#include "framework/Geometry.h"

class CDIB;
class CDIBSurface;
class CSpriteList;
class HostServices;

class ScreenHost {
 public:
  virtual ~ScreenHost() = default;

  // The off-screen surface, 8 bits per pixel on the screen palette; null until a background has
  // been set (or when it could not be built).
  virtual CDIBSurface* GetSurface() = 0;
  // The background the screen is composed on; null until one is set. Its pixels are indexes of
  // the same palette as the surface's, and it has the surface's size.
  virtual CDIB* GetBackground() = 0;
  // The sprites above the background. A sprite's changes queue dirty rectangles.
  virtual CSpriteList* GetSprites() = 0;
  // The palette entries the display reserves: the screen palette's grey ramp starts there.
  virtual int GetReservedEntries() const = 0;

  // Composes the rectangle (all of the surface when null) from the background and the sprites.
  virtual void RenderRect(const CRect* rect) = 0;
  // Shows the rectangle of the surface (all of it when null) on the screen.
  virtual void ShowRect(const CRect* rect) = 0;
  // Composes every queued dirty rectangle, then shows each.
  virtual void FlushDirtyRects() = 0;

  // The clock, the logos and the sound flag; null for a host that has none of them.
  virtual HostServices* GetServices() { return nullptr; }
};

// The host's services, null for no host.
inline HostServices* ServicesOf(ScreenHost* host) { return host ? host->GetServices() : nullptr; }
