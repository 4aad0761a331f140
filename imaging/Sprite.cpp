#include "imaging/Sprite.h"

#include "framework/Archive.h"

IMPLEMENT_SERIAL(CSprite, CDIB, 0)

namespace {

// The copy compares only the low 8 bits of the transparent value; the high byte marks it as a
// palette index.
constexpr int kPaletteIndexFlag = 0x01000000;

}  // namespace

CSpriteObserver::~CSpriteObserver() = default;

CSprite::CSprite() = default;

CSprite::~CSprite() = default;

void CSprite::Serialize(CArchive& ar) {
  CDIB::Serialize(ar);
  if (ar.IsStoring()) {
    ar << m_x << m_y << m_z;
    return;
  }
  ar >> m_x >> m_y >> m_z;
  TakeTransparentIndex();
}

BOOL CSprite::LoadResource(UINT id) {
  if (!CDIB::LoadResource(id)) return 0;
  TakeTransparentIndex();
  return 1;
}

BOOL CSprite::LoadFromFile(CFile* file) {
  if (!CDIB::LoadFromFile(file)) return 0;
  TakeTransparentIndex();
  return 1;
}

BOOL CSprite::Load(const char* name) {
  if (!CDIB::Load(name)) return 0;
  TakeTransparentIndex();
  return 1;
}

BOOL CSprite::MapColorsToPalette(CPalette* palette) {
  const BOOL result = CDIB::MapColorsToPalette(palette);
  TakeTransparentIndex();
  return result;
}

void CSprite::GetRect(CRect* rect) const {
  if (rect) rect->SetRect(m_x, m_y, m_x + GetWidth(), m_y + GetHeight());
}

void CSprite::Render(CDIB* target, const CRect* clip) {
  if (!target) return;
  CRect area;
  GetRect(&area);
  if (clip) area &= *clip;
  // Copies do not clip: a sprite partly off the target must not write outside its rows.
  CRect bounds;
  target->GetRect(&bounds);
  area &= bounds;
  if (area.IsRectEmpty()) return;
  const int transparent = m_transparent ? (m_transparentIndex | kPaletteIndexFlag) : -1;
  CopyBits(target, area.left, area.top, area.Width(), area.Height(), area.left - m_x,
           area.top - m_y, transparent);
}

BOOL CSprite::HitTest(int px, int py) const {
  if (px <= m_x || px >= m_x + GetWidth() || py <= m_y || py >= m_y + GetHeight()) return 0;
  if (!m_transparent) return 1;
  const BYTE* pixel = GetPixelAddress(px - m_x, py - m_y);
  return pixel && *pixel != m_transparentIndex ? 1 : 0;
}

void CSprite::SetPosition(int x, int y) {
  CRect oldRect;
  GetRect(&oldRect);
  m_x = x;
  m_y = y;
  CRect newRect;
  GetRect(&newRect);
  if (m_observer) m_observer->OnSpriteChanged(this, CSpriteObserver::kMoved, &oldRect, &newRect);
}

void CSprite::SetZ(int z) {
  if (z == m_z) return;
  m_z = z;
  CRect rect;
  GetRect(&rect);
  if (m_observer) m_observer->OnSpriteChanged(this, CSpriteObserver::kZChanged, &rect, nullptr);
}

void CSprite::SetTransparent(BOOL transparent) {
  m_transparent = transparent;
  if (transparent) TakeTransparentIndex();
}

int CSprite::TakeTransparentIndex() {
  const BYTE* corner = GetPixelAddress(0, 0);
  if (corner) m_transparentIndex = *corner;
  return m_transparentIndex;
}
