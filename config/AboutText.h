// The About dialog's texts, built as strings of any length from the product title, the version
// and the installed set's data folder.
#pragma once

#include "framework/String.h"

// "About the <title> Screen Saver".
CString AboutCaption(const char* productTitle);
// "<title> Screen Saver - Version <version>", joined without further spaces.
CString AboutVersionLine(const char* productTitle, const char* version);
// The credits file of a data folder: "<folder>\credits.RTF".
CString CreditsPath(const char* dataFolder);
