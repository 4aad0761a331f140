// The image of the current set that a preview or full-screen viewer showed last; -1 when none.
// The image browser keeps it; switching image sets forgets it.
#pragma once

#include <cstdint>

extern int32_t SelectedImageNo;
