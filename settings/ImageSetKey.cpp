#include "settings/ImageSetKey.h"

#include <cstring>

#include "framework/File.h"
#include "seams/Registry.h"

BOOL GetImageSetDataDirectory(const char* keyPath, CString& folder) {
  folder.Empty();
  if (!keyPath || std::strlen(keyPath) < std::strlen(kImageSetRootKey)) return FALSE;
  seams::RegistryKey key;
  if (key.Open(keyPath, seams::RegAccess::Read) != seams::kRegOk) return FALSE;
  char buffer[256];
  if (key.QueryString(kDataDirectoryValue, buffer, sizeof buffer) != seams::kRegOk) return FALSE;
  folder = buffer;
  return TRUE;
}

BOOL IsImageSetDirectory(const char* folder) {
  static const char* const kSetFiles[] = {"\\imfull.dat", "\\imagedes.dat", "\\cover.bmp",
                                          "\\imagedoc.dat"};
  CString base(folder);
  for (const char* file : kSetFiles) {
    CFileStatus status;
    if (!CFile::GetStatus(base + file, status)) return FALSE;
  }
  return TRUE;
}
