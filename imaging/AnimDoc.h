// CAnimDoc: the screen document.
//
// It owns the background picture and the sprites that the screen view (its first view, a
// CAnimView) composes, and the lists of logo and globe descriptors from which display routines and
// the image-set store pick small pictures to load. It is also the screen host (ScreenHost.h)
// through which transitions, captions and display routines draw, and hands out their clock, logos
// and sound flag (HostServices.h).
//
// The document is used by the drawing thread only, while the saver window's thread handles the
// view's paint and palette messages (the view's surface and palette are swapped under its buffer
// lock, OSBView.h).
#pragma once

#include "framework/Arrays.h"
#include "framework/Document.h"
#include "framework/String.h"
#include "imaging/HostServices.h"
#include "imaging/ScreenHost.h"
#include "imaging/SpriteList.h"

class CAnimView;
class CArchive;
class CDIB;

class CAnimDoc : public CDocument, public ScreenHost, public HostServices {
  DECLARE_DYNCREATE(CAnimDoc)
 public:
  // Empty lists and names, no background; reservedEntries from GetReservedPaletteEntries.
  CAnimDoc();
  // Deletes the background, the clock overlay, every sprite and every descriptor.
  ~CAnimDoc() override;

  // Connects the sprite list's observer to the first view, so that sprite changes queue dirty
  // rectangles there. 0 when the framework's step fails.
  BOOL OnNewDocument() override;
  // A 32-bit 1 and the background as a BMP image, or a 32-bit 0 alone; then the sprite list.
  // Loading sets the loaded background (clearing the sprites), appends the stored sprites, clears
  // the modified flag and updates every view. A flag other than 0 or 1 fails with
  // CArchiveException(generic).
  void Serialize(CArchive& ar) override;

  // Loads a BMP or JPEG file (by its name's ending) as the new background; 0 when it cannot be
  // loaded. The document owns the bitmap from then on, even when the view cannot use it.
  virtual BOOL LoadBackground(const char* name);
  // Loads a picture file as a new sprite, inserts it by depth and has the view map, compose and
  // draw it; 0 when it cannot be loaded.
  virtual BOOL AddSprite(const char* name);

  // The first view, when it is a screen view; null otherwise.
  CAnimView* GetFirstView() const;
  // Deletes the clock overlay, every sprite (also those a caller still points to) and the old
  // background, takes ownership of dib and has the first view build its buffer on it, compose and
  // draw. Returns the view's result; 0 without a view.
  BOOL SetBackground(CDIB* dib);
  // The same, without drawing to the window.
  BOOL SetBackgroundNoDraw(CDIB* dib);

  // Reads the logo descriptors: a 32-bit count, then that many records, and remembers the picture
  // file. 0, with the previous logos and picture file kept, when the descriptor file is missing,
  // damaged or shorter than its count says.
  BOOL LoadLogoDescs(const char* descriptorPath, const char* picturePath) override;
  // Loads into target a logo chosen at random among those whose width / height / ratio lies
  // strictly between 0.9 and 1.1, the generator seeded with the current time. 0 when none fits or
  // the picture cannot be read; an alert when the picture file cannot be opened.
  BOOL OpenRandomLogoFile(double ratio, CDIB* target) override;
  // Loads globe number index into target; 0 for an index with no record.
  BOOL OpenGlobeFile(int index, CDIB* target);

  // The screen host.
  CDIBSurface* GetSurface() override;
  CDIB* GetBackground() override { return background; }
  CSpriteList* GetSprites() override { return &sprites; }
  int GetReservedEntries() const override { return reservedEntries; }
  void RenderRect(const CRect* rect) override;
  void ShowRect(const CRect* rect) override;
  void FlushDirtyRects() override;
  HostServices* GetServices() override { return this; }

  // The services' clock and sound flag: the fields below.
  BOOL IsClockOn() const override { return clockOn; }
  CObject* GetClock() const override { return clock; }
  void SetClock(CObject* overlay) override {
    clockOn = 1;
    clock = overlay;
  }
  void SetSoundOn(BOOL on) override { soundOn = on; }

  // Unregisters the clock overlay and deletes it (its destructor deletes its two sprites). Every
  // deletion of all sprites runs this first (the sprite list's delete-all hook), so a clock never
  // outlives its sprites.
  void DeleteClock() override;

  BOOL clockOn = 0;            // the display routines' clock flag
  CObject* clock = nullptr;    // the display routines' clock overlay; owned (DeleteClock)
  BOOL soundOn = 0;            // the display routines' sound flag
  int reservedEntries = 0;     // where the grey ramp of the screen palette starts
  CObArray logos;              // CLogoDesc records; owned
  CString logoFile;            // the file that holds the logo pictures
  CObArray globes;             // CGlobeDesc records; owned
  CString globeFile;           // the file that holds the globe pictures
  CDIB* background = nullptr;  // owned
  CSpriteList sprites;

 private:
  BOOL ReplaceBackground(CDIB* dib, bool draw);
};
