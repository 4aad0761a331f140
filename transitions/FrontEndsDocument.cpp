// The front ends on the screen document (Windows): the effects draw through a client-area device
// context of the document's first view, open for the whole call.
#include "framework/Dc.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "transitions/FrontEnds.h"
#include "transitions/TransFXDispatch.h"

namespace {

class DocumentScreen : public TransitionScreen {
 public:
  explicit DocumentScreen(CAnimDoc* doc)
      : doc_(doc), view_(doc ? doc->GetFirstView() : nullptr), dc_(view_) {}

  ScreenHost* Host() override { return view_ ? doc_ : nullptr; }
  BOOL SetBackgroundNoDraw(CDIB* dib) override { return doc_->SetBackgroundNoDraw(dib); }
  BOOL RunEffect(int x, int y, int w, int h, CDIBSurface* a, CDIBSurface* b,
                 const TransOrder& order, BOOL offScreen, const RECT& screen) override {
    return TransFXDispatch(&dc_, x, y, w, h, a, x, y, w, h, b, x, y, order.effect, order.par0,
                           order.par1, order.par2, offScreen, &screen);
  }
  const void* TraceId() const override { return doc_; }

 private:
  CAnimDoc* doc_;
  CAnimView* view_;
  CClientDC dc_;
};

}  // namespace

BOOL ManageOnScreenTransition(CAnimDoc* pScreenDoc, int iDesTransFXClass, int iDesTransFX,
                              CDIB* pImageDIB, int x, int y, int w, int h, int srcx, int srcy,
                              int par0, int par1, int par2, int trace, CString* errorText) {
  DocumentScreen screen(pScreenDoc);
  return ManageOnScreenTransition(screen, iDesTransFXClass, iDesTransFX, pImageDIB, x, y, w, h,
                                  srcx, srcy, par0, par1, par2, trace, errorText);
}

BOOL ManageOffScreenTransition(CAnimDoc* pScreenDoc, int iDesTransFXClass, int iDesTransFX,
                               CDIB* pImageDIB, int x, int y, int w, int h, int srcx, int srcy,
                               int par0, int par1, int par2, int trace, CString* errorText) {
  DocumentScreen screen(pScreenDoc);
  return ManageOffScreenTransition(screen, iDesTransFXClass, iDesTransFX, pImageDIB, x, y, w, h,
                                   srcx, srcy, par0, par1, par2, trace, errorText);
}
