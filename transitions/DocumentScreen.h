// The screen document as the transition front ends and the captions see it (Windows): effects
// draw through a client-area device context of the document's first view, open for the object's
// lifetime.
#pragma once

#ifdef _WIN32
#include "framework/Dc.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "transitions/FrontEnds.h"
#include "transitions/TransFXDispatch.h"

class DocumentScreen : public TransitionScreen {
 public:
  explicit DocumentScreen(CAnimDoc* doc)
      : doc_(doc), view_(doc ? doc->GetFirstView() : nullptr), dc_(view_) {}

  ScreenHost* Host() override { return view_ ? doc_ : nullptr; }
  BOOL SetBackgroundNoDraw(CDIB* dib) override { return doc_->SetBackgroundNoDraw(dib); }
  BOOL RunEffect(int x, int y, int w, int h, CDIBSurface* a, CDIBSurface* b,
                 const TransOrder& order, BOOL offScreen, const RECT& screen) override {
    return RunEffectFrom(x, y, w, h, a, x, y, b, x, y, order, offScreen, screen);
  }
  BOOL RunEffectFrom(int x, int y, int w, int h, CDIBSurface* a, int ax, int ay, CDIBSurface* b,
                     int bx, int by, const TransOrder& order, BOOL offScreen,
                     const RECT& screen) override {
    return TransFXDispatch(&dc_, x, y, w, h, a, ax, ay, w, h, b, bx, by, order.effect, order.par0,
                           order.par1, order.par2, offScreen, &screen);
  }
  const void* TraceId() const override { return doc_; }

 private:
  CAnimDoc* doc_;
  CAnimView* view_;
  CClientDC dc_;
};
#endif
