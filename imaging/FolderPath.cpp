#include "imaging/FolderPath.h"

#include <cstring>

namespace {

bool EndsWithSeparator(const char* folder) {
  const size_t length = std::strlen(folder);
  if (length == 0) return false;
  const char last = folder[length - 1];
  return last == kPathSeparator || last == '/' || last == '\\';
}

}  // namespace

CString JoinFolderPath(const char* folder, const char* name) {
  CString path(folder);
  if (folder && !EndsWithSeparator(folder)) path += kPathSeparator;
  path += name;
  return path;
}
