#include "imaging/HeadlessScreenHost.h"

#include "imaging/ScreenCompose.h"

HeadlessScreenHost::HeadlessScreenHost(int reservedEntries) : reservedEntries_(reservedEntries) {
  sprites_.GetObserver()->SetView(this);
}

HeadlessScreenHost::~HeadlessScreenHost() {
  sprites_.DeleteAll();
  delete background_;
}

BOOL HeadlessScreenHost::SetBackground(CDIB* dib) {
  sprites_.DeleteAll();
  if (background_ != dib) delete background_;
  background_ = dib;
  dirty_.Empty();
  hasSurface_ = dib && palette_.CreateFromDIB(dib) &&
                surface_.Create(dib->GetWidth(), dib->GetHeight(), &palette_);
  if (hasSurface_) RenderRect(nullptr);
  return hasSurface_ ? 1 : 0;
}

void HeadlessScreenHost::RenderRect(const CRect* rect) {
  if (!hasSurface_) return;
  RenderBackgroundRect(background_, &surface_, rect);
  RenderSpritesRect(background_, sprites_, &surface_, rect);
}

void HeadlessScreenHost::ShowRect(const CRect* rect) {
  if (!hasSurface_) return;
  const CRect shown = CompositionClip(nullptr, &surface_, rect);
  if (!shown.IsRectEmpty()) shown_.push_back(shown);
}

void HeadlessScreenHost::FlushDirtyRects() {
  dirty_.Flush([this](const CRect& rect) { RenderRect(&rect); },
               [this](const CRect& rect) { ShowRect(&rect); });
}

void HeadlessScreenHost::AddDirtyRect(const CRect* rect) {
  if (rect) dirty_.Add(*rect);
}
