// The RIFF WAVE parse over arbitrary bytes: a load either fails leaving no blocks, or gives one
// block that lies inside the file's bytes and whose samples can all be scaled, stored and read
// back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "framework/Archive.h"
#include "framework/File.h"
#include "sound/Wave.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CMemFile file(data, size);
  CWave wave;
  if (!wave.LoadFromFile(file)) {
    Check(wave.GetBlocks().IsEmpty());
    return 0;
  }
  Check(wave.GetBlocks().GetCount() == 1);
  const CWaveBlock* block = static_cast<const CWaveBlock*>(wave.GetBlocks().GetHead());
  const int bytesPerSample = wave.GetFormat().wBitsPerSample / 8;
  Check(wave.GetFormat().wf.wFormatTag == 1 && bytesPerSample >= 1);
  Check(block->GetSize() >= 0 && static_cast<size_t>(block->GetSize()) <= size);
  Check(static_cast<int64_t>(block->GetNumSamples()) * bytesPerSample <= block->GetSize());

  wave.ScaleVolume(size > 0 ? data[0] * 4 : 100);

  CMemFile stored;
  {
    CArchive ar(&stored, CArchive::store);
    wave.Serialize(ar);
  }
  CMemFile again(stored.GetData(), static_cast<size_t>(stored.GetLength()));
  CArchive ar(&again, CArchive::load);
  CWave copy;
  copy.Serialize(ar);
  const CWaveBlock* copied = static_cast<const CWaveBlock*>(copy.GetBlocks().GetHead());
  Check(copied->GetSize() == block->GetSize() && copied->GetNumSamples() == block->GetNumSamples());
  Check(block->GetSize() == 0 ||
        std::memcmp(copied->GetData(), block->GetData(), block->GetSize()) == 0);
  return 0;
}
