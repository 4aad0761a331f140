// Leak checks for dialogs run through the driver: GetGuiResources is a stub under Wine, so each
// opening records the GDI objects the test can reach, and after all openings every recorded
// handle must be gone and the process's GDI headroom unchanged.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "tests/wine/config/DialogDriver.h"

class CRControlFrame;

namespace dialogtest {

// The dialog's font and a custom control's two buffers with their bitmaps (on the dialog's
// thread); nothing for a control that is not a custom control.
std::vector<HGDIOBJ> DialogFont(Driver& d);
std::vector<HGDIOBJ> ControlBuffers(Driver& d, int id);

// Opens the dialog once to let one-time objects be made, then `cycles` times more; each time
// `record` gives the objects of that opening and the dialog is closed with command `closeId`
// (OK and Cancel alternately when `alternateId` is not 0). Fails the test for a handle still
// alive or a headroom that changed.
void ExpectOpeningsLeaveNoGdiObject(int templateId, DLGPROC procedure,
                                    const std::function<std::vector<HGDIOBJ>(Driver&)>& record,
                                    int closeId, int alternateId = 0, int cycles = 50);

}  // namespace dialogtest
