// A screen host without a screen, for tests: the same composition as the screen document and
// view, into a surface that nothing shows. It records every rectangle it was asked to show, so a
// test can check what a transition or display routine put on the screen and when.
#pragma once

#include <vector>

#include "framework/Geometry.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "imaging/DirtyRectList.h"
#include "imaging/ScreenHost.h"
#include "imaging/SpriteList.h"

class HeadlessScreenHost : public ScreenHost, public CDirtyRectSink {
 public:
  explicit HeadlessScreenHost(int reservedEntries = 0);
  ~HeadlessScreenHost() override;
  HeadlessScreenHost(const HeadlessScreenHost&) = delete;
  HeadlessScreenHost& operator=(const HeadlessScreenHost&) = delete;

  // As the screen document's SetBackgroundNoDraw: deletes every sprite, takes ownership of dib,
  // builds a surface of its size on its colours and composes it. 0 (no surface) when the
  // surface cannot be made; the host owns dib in any case.
  BOOL SetBackground(CDIB* dib);

  CDIBSurface* GetSurface() override { return hasSurface_ ? &surface_ : nullptr; }
  CDIB* GetBackground() override { return background_; }
  CSpriteList* GetSprites() override { return &sprites_; }
  int GetReservedEntries() const override { return reservedEntries_; }
  void RenderRect(const CRect* rect) override;
  // Records the rectangle, cut to the surface (nothing for a part outside it).
  void ShowRect(const CRect* rect) override;
  void FlushDirtyRects() override;
  void AddDirtyRect(const CRect* rect) override;

  // The rectangles shown so far, in order.
  const std::vector<CRect>& GetShownRects() const { return shown_; }
  void ClearShownRects() { shown_.clear(); }
  const CDirtyRectList& GetDirtyRects() const { return dirty_; }

 private:
  int reservedEntries_;
  CDIB* background_ = nullptr;
  CColorPalette palette_;
  CDIBSurface surface_;
  bool hasSurface_ = false;
  CSpriteList sprites_;
  CDirtyRectList dirty_;
  std::vector<CRect> shown_;
};
