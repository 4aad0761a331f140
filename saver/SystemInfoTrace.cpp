// The trace's system-information block: which Windows runs the saver and what its display can
// do, so that a trace sent in by a user says what machine it came from.
#include <windows.h>

#include "saver/SaverWindow.h"
#include "seams/Trace.h"

namespace {

void TraceVersion() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!::GetVersionExA(&version)) return;
  // Platform identifiers 0, 1 and 2; no line for any other.
  static const char* const kPlatformNames[] = {"Windows", "Windows 95", "Windows NT"};
  if (version.dwPlatformId < sizeof kPlatformNames / sizeof kPlatformNames[0]) {
    seams::Trace::Printf("%s: %d.%d\n", kPlatformNames[version.dwPlatformId],
                         static_cast<int>(version.dwMajorVersion),
                         static_cast<int>(version.dwMinorVersion));
  }
  seams::Trace::Printf("Build=%d, Platform=%d\n", static_cast<int>(version.dwBuildNumber),
                       static_cast<int>(version.dwPlatformId));
  seams::Trace::Printf("Additional Operating Info.=%s\n", version.szCSDVersion);
}

void TraceDisplay() {
  HWND active = ::GetActiveWindow();
  HDC dc = ::GetDC(active);
  if (!dc) return;
  seams::Trace::Printf((::GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE)
                           ? "Palettized device\n"
                           : "Not a palettized device\n");
  seams::Trace::Printf("Pixel screen resolution: Horz=%d,Vert=%d\n", ::GetDeviceCaps(dc, HORZRES),
                       ::GetDeviceCaps(dc, VERTRES));
  seams::Trace::Printf("Number of adjacent color bits for each pixel=%d\n",
                       ::GetDeviceCaps(dc, BITSPIXEL));
  seams::Trace::Printf("Number of color planes=%d\n", ::GetDeviceCaps(dc, PLANES));
  seams::Trace::Printf("Number of entries in the device's color table=%d\n",
                       ::GetDeviceCaps(dc, NUMCOLORS));
  seams::Trace::Printf("Number of entries in the system palette=%d\n",
                       ::GetDeviceCaps(dc, SIZEPALETTE));
  seams::Trace::Printf("Number of reserved entries in the system palette=%d\n",
                       ::GetDeviceCaps(dc, NUMRESERVED));
  seams::Trace::Printf("Actual color resolution of the device in bits per pixel=%d\n\n",
                       ::GetDeviceCaps(dc, COLORRES));
  ::ReleaseDC(active, dc);
}

}  // namespace

void TraceSystemInfo() {
  seams::Trace::Printf("\nSystem Information...\n");
  TraceVersion();
  TraceDisplay();
}
