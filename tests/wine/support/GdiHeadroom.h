// Counting GDI objects a piece of code leaves behind. GetGuiResources is a stub under Wine, so
// the count is taken another way: create pens until creation fails (about 65,480 under Wine),
// then free them all. The difference of two counts is the number of objects made and not freed
// in between.
#pragma once

namespace wintest {

// The number of pens this process can still create.
int FreeGdiHandles();

// Fills Wine's cache of window device contexts. The cache grows, up to a fixed size, whenever more
// of them are in use at once (a dialog's thread painting while a driver thread reads it) and keeps
// what it grew: filled first, it no longer moves a count taken by FreeGdiHandles.
void FillDeviceContextCache();

}  // namespace wintest
