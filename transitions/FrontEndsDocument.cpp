// The front ends on the screen document (Windows): the effects draw through a client-area device
// context of the document's first view, open for the whole call.
#include "transitions/DocumentScreen.h"
#include "transitions/FrontEnds.h"

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
