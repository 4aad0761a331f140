// The descriptor-file readers over arbitrary bytes: image description records (the records of
// "Imagedes.dat") read back to back from memory, and the logo descriptor file ("Logosdes.dat")
// read by the screen document from disk. The first byte chooses the reader; the rest is the file.
// A damaged file must end in a clean failure: no crash, no hang, no huge allocation.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "imaging/AnimDoc.h"
#include "imaging/Descriptors.h"

namespace {

void ReadImageRecords(const uint8_t* data, size_t size) {
  CMemFile file(data, size);
  try {
    CArchive ar(&file, CArchive::load, 512);
    for (int i = 0; i < 64; ++i) {
      CImageDesc desc;
      desc.Serialize(ar);
    }
  } catch (const CException&) {
  }
}

void ReadLogoFile(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/descriptors_fuzz_" + std::to_string(getpid()) + ".dat";
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return;
  if (size > 0) std::fwrite(data, 1, size, out);
  std::fclose(out);
  CAnimDoc doc;
  const bool loaded = doc.LoadLogoDescs(path.c_str(), "pictures.dat");
  std::remove(path.c_str());  // the file lives for one input only: a run leaves nothing behind
  if (loaded && doc.logos.GetSize() * 16 + 4 > static_cast<int>(size)) {
    __builtin_trap();  // more records than the file can hold
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (data[0] & 1) {
    ReadLogoFile(data + 1, size - 1);
  } else {
    ReadImageRecords(data + 1, size - 1);
  }
  return 0;
}
