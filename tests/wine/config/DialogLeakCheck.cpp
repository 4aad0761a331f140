#include "tests/wine/config/DialogLeakCheck.h"

#include <gtest/gtest.h>

#include "controls/ControlsFrame.h"
#include "controls/DialogSupport.h"
#include "framework/Wnd.h"
#include "tests/wine/support/GdiHeadroom.h"

namespace dialogtest {

std::vector<HGDIOBJ> DialogFont(Driver& d) {
  return {reinterpret_cast<HGDIOBJ>(SendMessageA(d.Dialog(), WM_GETFONT, 0, 0))};
}

std::vector<HGDIOBJ> ControlBuffers(Driver& d, int id) {
  std::vector<HGDIOBJ> handles;
  d.OnDialogThread([&] {
    auto* control = dynamic_cast<CRControlFrame*>(CWnd::FromHandlePermanent(d.Item(id)));
    if (!control) return;
    for (CDIBSurface* surface : {&control->workSurface, &control->backgroundSurface}) {
      HDC dc = surface->memoryDC.GetSafeHdc();
      handles.push_back(dc);
      handles.push_back(GetCurrentObject(dc, OBJ_BITMAP));
    }
  });
  return handles;
}

void ExpectOpeningsLeaveNoGdiObject(int templateId, DLGPROC procedure,
                                    const std::function<std::vector<HGDIOBJ>(Driver&)>& record,
                                    int closeId, int alternateId, int cycles) {
  RunModal(DialogInstance(), templateId, procedure, [&](Driver& d) { d.Command(closeId); });
  wintest::FillDeviceContextCache();
  const int headroom = wintest::FreeGdiHandles();
  std::vector<HGDIOBJ> recorded;
  for (int i = 0; i < cycles; ++i) {
    const DialogRun run = RunModal(DialogInstance(), templateId, procedure, [&](Driver& d) {
      const std::vector<HGDIOBJ> made = record(d);
      recorded.insert(recorded.end(), made.begin(), made.end());
      d.Command(alternateId && i % 2 ? alternateId : closeId);
    });
    ASSERT_FALSE(run.forcedClose) << "opening " << i;
  }
  ASSERT_FALSE(recorded.empty());
  for (HGDIOBJ handle : recorded) {
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GetObjectType(handle), 0u) << handle << " is still alive";
  }
  EXPECT_EQ(wintest::FreeGdiHandles(), headroom) << "GDI objects left behind";
}

}  // namespace dialogtest
