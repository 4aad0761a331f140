// CSprite: an 8-bit picture placed on the screen above the background, with a position, a depth
// and a transparent colour index. Captions, tiles, the clock and the pieces of the display
// routines are sprites.
//
// A sprite tells its observer (the sprite list's, once it is in a list) of every move and change
// of depth, so that only the changed parts of the screen are composed and shown again.
#pragma once

#include "framework/Geometry.h"
#include "framework/WinTypes.h"
#include "imaging/DIB.h"

class CSprite;

class CSpriteObserver : public CObject {
 public:
  // Flags of OnSpriteChanged.
  static constexpr int kZChanged = 1;        // the depth changed; oldRect is the sprite's rectangle
  static constexpr int kMoved = 2;           // the sprite moved from oldRect to newRect
  static constexpr int kChangedInPlace = 4;  // the pixels within oldRect changed

  ~CSpriteObserver() override;
  virtual void OnSpriteChanged(CSprite* sprite, int flags, const CRect* oldRect,
                               const CRect* newRect) = 0;

 protected:
  CSpriteObserver() = default;
};

class CSprite : public CDIB {
  DECLARE_SERIAL(CSprite)
 public:
  static constexpr int kDefaultZ = 50;

  // An empty 16 x 16 picture at (0, 0), depth 50, transparent with index 0.
  CSprite();
  ~CSprite() override;

  // The picture as a BMP image, then x, y and z as 32-bit values. Loading takes the transparent
  // index from the loaded picture; the transparent flag and the observer are not stored.
  void Serialize(CArchive& ar) override;

  // The loads of CDIB, each followed by TakeTransparentIndex; 0 when the load fails.
  BOOL LoadResource(UINT id) override;
  BOOL LoadFromFile(CFile* file) override;
  BOOL Load(const char* name) override;
  // Maps the pixels onto the palette, then takes the transparent index again: the indexes have
  // changed.
  BOOL MapColorsToPalette(CPalette* palette) override;
  // (x, y, x + width, y + height): where the sprite lies on the screen.
  void GetRect(CRect* rect) const override;

  virtual int GetX() const { return m_x; }
  virtual int GetY() const { return m_y; }
  // Depth: lower is nearer the viewer and drawn later.
  virtual int GetZ() const { return m_z; }
  // Copies the sprite into the target at its position, within the clip when one is given and
  // always within the target, skipping transparent pixels when the sprite is transparent.
  virtual void Render(CDIB* target, const CRect* clip);
  // 1 when (px, py) lies strictly inside the sprite's rectangle (its left and top edges do not
  // count) on a pixel that is drawn: any pixel of an opaque sprite, else one that is not the
  // transparent index.
  virtual BOOL HitTest(int px, int py) const;
  // Moves the sprite and tells the observer (kMoved), even when the position is unchanged.
  virtual void SetPosition(int x, int y);
  // Changes the depth and tells the observer (kZChanged); an unchanged depth tells nothing.
  virtual void SetZ(int z);
  virtual void SetObserver(CSpriteObserver* observer) { m_observer = observer; }
  virtual int GetTransparentIndex() const { return m_transparentIndex; }
  virtual BOOL IsTransparent() const { return m_transparent; }
  // Turning transparency on takes the transparent index from the picture. No notification.
  virtual void SetTransparent(BOOL transparent);
  // Only the low 8 bits are kept. No notification.
  virtual void SetTransparentIndex(int index) { m_transparentIndex = static_cast<BYTE>(index); }
  // The transparent index becomes the colour of the picture's top-left pixel; returns it.
  virtual int TakeTransparentIndex();

  CSpriteObserver* GetObserver() const { return m_observer; }

 protected:
  int m_x = 0;
  int m_y = 0;
  int m_z = kDefaultZ;
  BYTE m_transparentIndex = 0;
  CSpriteObserver* m_observer = nullptr;  // not owned
  BOOL m_transparent = 1;
};
