// The product title of this build ("Tarvosa" in the screen saver), read from the module's string
// resource, so that every dialog that names the product says the same.
#pragma once

#include "framework/String.h"

// The title, or "" when the module has no such string.
CString GetProductTitle();
