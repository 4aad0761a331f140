// A folder of the fuzzer's own for the readers that take a file name: made at the first input,
// removed with everything in it when the fuzzer exits, so a run leaves nothing behind.
#pragma once

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzzscratch {

// "/tmp/<prefix>_XXXXXX", made once per process.
inline const std::string& Folder(const char* prefix) {
  // Never destroyed: the exit handler below runs after the statics are gone.
  static const std::string* folder = [prefix] {
    std::string pattern = std::string("/tmp/") + prefix + "_XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    auto* made = new std::string(pattern);
    std::atexit([] { std::filesystem::remove_all(*folder); });
    return made;
  }();
  return *folder;
}

// Writes the bytes as the folder's file `name`; its path.
inline std::string WriteFile(const char* prefix, const char* name, const uint8_t* data,
                             size_t size) {
  const std::string path = Folder(prefix) + "/" + name;
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, out) != size) std::abort();
  std::fclose(out);
  return path;
}

}  // namespace fuzzscratch
