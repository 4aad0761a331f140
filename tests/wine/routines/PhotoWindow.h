// The screen a display routine starts from on a real window: the view attached to the window,
// the document on the composed background, and the photograph brought into its rectangle by the
// on-screen front end at the installed sliders, as the saver does before it runs a routine.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "framework/Geometry.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/DIB.h"
#include "transitions/FrontEnds.h"
#include "transitions/TransParams.h"

namespace wintest {

// The document takes `background`. Call through ASSERT_NO_FATAL_FAILURE.
inline void OpenPhotoScreen(HWND window, CAnimDoc& doc, CAnimView& view, CDIB* background,
                            CDIB* photo, const CRect& picture) {
  ASSERT_TRUE(view.Attach(window));
  doc.AddView(&view);
  doc.OnNewDocument();
  ASSERT_TRUE(doc.SetBackground(background));
  int p0 = 0, p1 = 0, p2 = 0;
  TransSlidersToParams(1, 50, 50, 50, p0, p1, p2);
  CString error;
  ASSERT_TRUE(ManageOnScreenTransition(&doc, 1, 0, photo, picture.left, picture.top,
                                       picture.Width(), picture.Height(), 0, 0, p0, p1, p2, 0,
                                       &error))
      << error;
}

inline void ClosePhotoScreen(HWND window, CAnimDoc& doc, CAnimView& view) {
  doc.RemoveView(&view);
  view.Detach();
  DestroyWindow(window);
}

}  // namespace wintest
