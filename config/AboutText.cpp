#include "config/AboutText.h"

CString AboutCaption(const char* productTitle) {
  return CString("About the ") + productTitle + " Screen Saver";
}

CString AboutVersionLine(const char* productTitle, const char* version) {
  return CString(productTitle) + " Screen Saver" + " - Version " + version;
}

CString CreditsPath(const char* dataFolder) { return CString(dataFolder) + "\\credits.RTF"; }
