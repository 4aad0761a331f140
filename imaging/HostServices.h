// What display routines and captions get from their screen besides its pixels: the place where
// the clock overlay is registered, the logos, and the routines' sound flag.
//
// A screen host hands them out (ScreenHost::GetServices) when it has them: the screen document
// does. A host without them (the headless host of the tests, a screen in memory) hands out none,
// and then no clock is made, no logo is drawn and the sound flag stays with the routine.
//
// Drawing thread only.
#pragma once

#include "framework/WinTypes.h"

class CDIB;
class CObject;

class HostServices {
 public:
  virtual ~HostServices() = default;

  // The clock flag and the clock overlay the screen keeps for the routines (the overlay is a
  // clock overlay of ClockOverlay.h; the screen only owns it). The flag can be set with no overlay.
  virtual BOOL IsClockOn() const = 0;
  virtual CObject* GetClock() const = 0;
  // Registers a clock overlay, owned by the screen from then on, and sets the flag. A clock
  // registered before must have been deleted first (DeleteClock).
  virtual void SetClock(CObject* clock) = 0;
  // Deletes the registered clock overlay (none is fine) and clears the flag.
  virtual void DeleteClock() = 0;

  // The routines' sound flag: the last routine's setting, kept on the screen.
  virtual void SetSoundOn(BOOL soundOn) = 0;

  // Reads the logo descriptors and remembers the picture file; 0 when they cannot be read.
  virtual BOOL LoadLogoDescs(const char* descriptorPath, const char* picturePath) = 0;
  // Loads into target a logo whose width / height is near ratio; 0 when none fits or it cannot
  // be read.
  virtual BOOL OpenRandomLogoFile(double ratio, CDIB* target) = 0;
};
