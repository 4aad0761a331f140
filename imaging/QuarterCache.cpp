#include "imaging/QuarterCache.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/File.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "imaging/FolderPath.h"
#include "imaging/PackedImage.h"
#include "imaging/ProgressStepper.h"
#include "imaging/Resample.h"
#include "seams/Alerts.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/statvfs.h>
#endif

int32_t QuarterImageOffsets[kQuarterCacheCapacity];
int32_t QuarterImageCount = 0;

CDIB* ReadQuarterImage(CFile* cache, int n) {
  if (n < 0 || n >= QuarterImageCount || n >= kQuarterCacheCapacity) return nullptr;
  std::unique_ptr<CDIB> image(new (std::nothrow) CDIB);
  if (!image) return nullptr;
  try {
    cache->Seek(QuarterImageOffsets[n], CFile::begin);
  } catch (const CException&) {
    return nullptr;
  }
  if (!image->LoadFromFile(cache) || image->GetWidth() <= 0 || image->GetHeight() <= 0)
    return nullptr;
  return image.release();
}

namespace {

using DIBPtr = std::unique_ptr<CDIB>;

// Pictures stored as BMP or JPEG are reduced to this many colours before they are quartered, so
// that the rest of the 256-entry table stays a grey ramp for the dialogs that show them.
constexpr int kCachedColours = 204;
// Longest header that can be trusted: the count and 52 sizes of at most ten digits, each closed.
constexpr size_t kMaxHeaderLength = (kQuarterCacheCapacity + 1) * 11;

bool RealFreeSpace(const char* folder, uint64_t* availableBytes) {
#ifdef _WIN32
  ULARGE_INTEGER available;
  if (!::GetDiskFreeSpaceExA(folder, &available, nullptr, nullptr)) return false;
  *availableBytes = available.QuadPart;
#else
  struct statvfs info;
  if (::statvfs(folder, &info) != 0) return false;
  *availableBytes = static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
#endif
  return true;
}

FreeSpaceQuery g_freeSpaceQuery = RealFreeSpace;

void AlertBuild(const char* text, unsigned icon) { seams::Alert(text, "Alert", icon); }

void SendProgress(HWND progress, UINT message, WPARAM wParam, LPARAM lParam) {
#ifdef _WIN32
  if (progress) ::SendMessageA(progress, message, wParam, lParam);
#else
  (void)progress, (void)message, (void)wParam, (void)lParam;
#endif
}

// Reads "<digits>l" at p; false for anything else or a value beyond 32 bits.
bool ParseHeaderNumber(const char*& p, const char* end, int64_t* value) {
  int64_t number = 0;
  int digits = 0;
  while (p < end && *p >= '0' && *p <= '9') {
    number = number * 10 + (*p++ - '0');
    if (++digits > 10) return false;
  }
  if (digits == 0 || p == end || *p != 'l' || number > INT32_MAX) return false;
  ++p;
  *value = number;
  return true;
}

// Parses a header and computes every image's offset; false when the header cannot be trusted
// or the images it lists do not end exactly at the end of the file.
bool ParseCacheHeader(const char* begin, const char* end, uint64_t fileLength, int32_t* offsets,
                      int32_t* count) {
  const char* p = begin;
  int64_t number = 0;
  if (!ParseHeaderNumber(p, end, &number) || number < 1 || number > kQuarterCacheCapacity)
    return false;
  const int n = static_cast<int>(number);
  std::vector<int64_t> sizes(n);
  for (int64_t& size : sizes)
    if (!ParseHeaderNumber(p, end, &size) || size <= 0) return false;
  int64_t position = p - begin;
  for (int i = 0; i < n; ++i) {
    if (position > INT32_MAX) return false;
    offsets[i] = static_cast<int32_t>(position);
    position += sizes[i];
  }
  if (static_cast<uint64_t>(position) != fileLength) return false;
  *count = n;
  return true;
}

// The full image of a record in the packed format, as decoded; a 24-bit picture stays 24-bit.
DIBPtr DecodePackedImage(const char* imfull, const CImageDesc& record) {
  CPackedImageFile reader(imfull, static_cast<DWORD>(record.dataOffset));
  if (!reader.Read(nullptr)) return nullptr;
  DIBPtr dib(new (std::nothrow) CDIB);
  if (!dib) return nullptr;
  const int w = reader.GetWidth(), h = reader.GetHeight();
  if (reader.GetType() == packed::kTypeRgb420) {
    if (!dib->Create24(w, h) || dib->GetStorageWidth() != reader.GetRowStride()) return nullptr;
    std::memcpy(dib->bits, reader.GetPixels(), static_cast<size_t>(reader.GetRowStride()) * h);
    return dib;
  }
  const BYTE* palette = reinterpret_cast<const BYTE*>(reader.GetPalette());
  if (!dib->CreateFromPixels(w, h, reader.GetPaletteCount(), palette, reader.GetPixels()))
    return nullptr;
  return dib;
}

// A BMP or JPEG picture read from the image file at the record's offset; null after an alert, or
// when memory runs out.
DIBPtr ReadStoredPicture(const char* imfull, const CImageDesc& record) {
  DIBPtr dib(new (std::nothrow) CDIB);
  if (!dib) return nullptr;
  BOOL loaded = 0;
  if (record.dataFormat == kImageDataBmp) {
    CFile file;
    if (!file.Open(imfull, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) {
      AlertBuild("Unable to open image data file", seams::kAlertIconExclamation);
      return nullptr;
    }
    try {
      file.Seek(record.dataOffset, CFile::begin);
      loaded = dib->LoadFromFile(&file);
    } catch (const CException&) {
      loaded = 0;
    }
  } else {
    std::FILE* stream = std::fopen(imfull, "rb");
    if (!stream) {
      AlertBuild("Unable to open image data file", seams::kAlertIconExclamation);
      return nullptr;
    }
    loaded = record.dataOffset >= 0 && std::fseek(stream, record.dataOffset, SEEK_SET) == 0 &&
             dib->LoadJPEGFile(stream);
    std::fclose(stream);
  }
  if (!loaded) {
    AlertBuild("Unable to load image from file", seams::kAlertIconExclamation);
    return nullptr;
  }
  return dib;
}

bool IsEightBit(const CDIB& dib) { return dib.header && dib.header->bmiHeader.biBitCount == 8; }

// An 8-bit picture of at most 204 colours: the picture itself when it is one, else a dithered
// reduction. Null when the reduction fails.
DIBPtr ReduceColours(DIBPtr dib) {
  if (IsEightBit(*dib) && dib->GetNumColors() <= kCachedColours) return dib;
  DIBPtr reduced(new (std::nothrow) CDIB);
  if (!reduced || !dib->Quantize(reduced.get(), kCachedColours, 1)) return nullptr;
  return reduced;
}

// The full image of one record, 8-bit; null on failure (alerted where the cause is the file).
DIBPtr LoadFullImage(const char* imfull, const CImageDesc& record) {
  DIBPtr dib = record.dataFormat == kImageDataPacked ? DecodePackedImage(imfull, record)
                                                     : ReadStoredPicture(imfull, record);
  if (!dib) return nullptr;
  const bool stored = record.dataFormat != kImageDataPacked;
  if (stored || !IsEightBit(*dib)) {
    dib = ReduceColours(std::move(dib));
    if (!dib) AlertBuild("Unable to load image from file", seams::kAlertIconExclamation);
  }
  return dib;
}

// Every fourth pixel of every fourth row, with the full image's first n colours (n its colour
// count) and the grey ramp after them, and no fields that the full image's header carried over.
DIBPtr MakeQuarterImage(const CDIB& full) {
  DIBPtr quarter(QuarterDIB8(&full));
  if (!quarter) return nullptr;
  const int n = full.GetNumColors();
  BITMAPINFOHEADER& info = quarter->header->bmiHeader;
  info.biSizeImage = 0;
  info.biXPelsPerMeter = 0;
  info.biYPelsPerMeter = 0;
  info.biClrUsed = static_cast<DWORD>(n);
  info.biClrImportant = 0;
  RGBQUAD* table = quarter->header->bmiColors;
  for (int i = 0; i < 256; ++i) {
    const RGBQUAD colour =
        i < n ? full.header->bmiColors[i]
              : RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    table[i] = RGBQUAD{colour.rgbBlue, colour.rgbGreen, colour.rgbRed, 0};
  }
  return quarter;
}

// Removes the build's work files when the build ends, however it ends.
class WorkFiles {
 public:
  explicit WorkFiles(const char* folder)
      : cache(JoinFolderPath(folder, kQuarterCacheWorkFileName)),
        images(JoinFolderPath(folder, kQuarterImagesWorkFileName)) {}
  ~WorkFiles() {
    std::remove(cache);
    std::remove(images);
  }
  WorkFiles(const WorkFiles&) = delete;
  WorkFiles& operator=(const WorkFiles&) = delete;
  const CString cache;
  const CString images;
};

// Appends the quarter-size BMP of every record to `images` and records each file's size.
bool WriteQuarterImages(const char* imfull, const CObArray& records, CFile& images,
                        std::vector<int32_t>* sizes, HWND progress) {
  for (int i = 0; i < records.GetSize(); ++i) {
    const auto* record = static_cast<const CImageDesc*>(records.GetAt(i));
    DIBPtr full = LoadFullImage(imfull, *record);
    if (!full) return false;
    DIBPtr quarter = MakeQuarterImage(*full);
    if (!quarter) return false;
    const ULONGLONG start = images.GetPosition();
    if (!quarter->SaveToFile(&images)) {
      AlertBuild("Didn't write whole temp file", seams::kAlertOk);
      return false;
    }
    sizes->push_back(static_cast<int32_t>(images.GetPosition() - start));
    SendProgress(progress, ProgressStepper::kStepIt, 0, 0);
  }
  return true;
}

CString FormatHeader(const std::vector<int32_t>& sizes) {
  CString header, number;
  header.Format("%dl", static_cast<int>(sizes.size()));
  for (int32_t size : sizes) {
    number.Format("%dl", static_cast<int>(size));
    header += number;
  }
  return header;
}

// Copies the whole of `from` to the end of `to`; the bytes copied.
uint64_t AppendFile(CFile& from, CFile& to) {
  std::vector<char> block(64 * 1024);
  uint64_t copied = 0;
  from.SeekToBegin();
  for (UINT read; (read = from.Read(block.data(), static_cast<UINT>(block.size()))) > 0;) {
    to.Write(block.data(), read);
    copied += read;
  }
  return copied;
}

// Writes the header and then the images' BMP files into the cache's work file; false after an
// alert.
bool AssembleCache(const CString& cachePath, CFile& images, const std::vector<int32_t>& sizes) {
  CFile cache;
  if (!cache.Open(cachePath, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) {
    AlertBuild("Can't open imx4.dat file (w)", seams::kAlertOk);
    return false;
  }
  uint64_t expected = 0;
  for (int32_t size : sizes) expected += static_cast<uint64_t>(size);
  try {
    const CString header = FormatHeader(sizes);
    cache.Write(static_cast<const char*>(header), static_cast<UINT>(header.GetLength()));
    const uint64_t copied = AppendFile(images, cache);
    cache.Close();
    if (copied == expected) return true;
  } catch (const CException&) {
    cache.Abort();
  }
  AlertBuild("Didn't write whole imx4.dat file", seams::kAlertOk);
  return false;
}

// Gives the complete cache its name, replacing any earlier file of that name.
bool RenameToCache(const char* workPath, const char* cachePath) {
#ifdef _WIN32
  return ::MoveFileExA(workPath, cachePath, MOVEFILE_REPLACE_EXISTING) != 0;
#else
  return std::rename(workPath, cachePath) == 0;
#endif
}

bool EnoughFreeSpace(const char* folder, int count) {
  uint64_t available = 0;
  if (!g_freeSpaceQuery(folder, &available)) return true;  // unknown: try anyway
  return available / 1024 >= QuarterCacheKilobytesNeeded(count);
}

}  // namespace

bool QueryFreeSpace(const char* folder, uint64_t* availableBytes) {
  return g_freeSpaceQuery(folder, availableBytes);
}

FreeSpaceQuery InstallFreeSpaceQuery(FreeSpaceQuery query) {
  FreeSpaceQuery previous = g_freeSpaceQuery;
  g_freeSpaceQuery = query ? query : RealFreeSpace;
  return previous;
}

uint64_t QuarterCacheKilobytesNeeded(int count) {
  return static_cast<uint64_t>(count) * 1100 / kQuarterCacheCapacity;
}

bool QuarterImageCacheExistsIn(const char* folder) {
  CFileStatus status;
  return CFile::GetStatus(JoinFolderPath(folder, kQuarterCacheFileName), status) &&
         !(status.m_attribute & CFile::directory);
}

bool LoadQuarterImageIndexFrom(const char* folder) {
  if (!QuarterImageCacheExistsIn(folder)) return false;
  CFile file;
  if (!file.Open(JoinFolderPath(folder, kQuarterCacheFileName),
                 CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) {
    seams::Alert("Can't open imx4.dat file (r)", "Alert");
    return false;
  }
  char header[kMaxHeaderLength];
  int32_t offsets[kQuarterCacheCapacity];
  int32_t count = 0;
  bool parsed = false;
  try {
    const UINT read = file.Read(header, sizeof header);
    parsed = ParseCacheHeader(header, header + read, file.GetLength(), offsets, &count);
  } catch (const CException&) {
    parsed = false;
  }
  file.Abort();
  QuarterImageCount = parsed ? count : 0;
  if (parsed) std::memcpy(QuarterImageOffsets, offsets, sizeof(int32_t) * count);
  return parsed;
}

BOOL BuildQuarterImageCacheFrom(const char* folder, const CObArray& records, HWND progress) {
  const int count = static_cast<int>(records.GetSize());
  if (count != 12 && count != kQuarterCacheCapacity) {
    AlertBuild("Unrecognized number of images in main image file", seams::kAlertIconHand);
    return 0;
  }
  SendProgress(progress, ProgressStepper::kSetRange, 0, static_cast<LPARAM>(count) << 16);
  SendProgress(progress, ProgressStepper::kSetStep, 1, 0);
  if (!EnoughFreeSpace(folder, count)) {
    AlertBuild("Not enough disk space to create imx4 file - need 1.1MB of free disk space",
               seams::kAlertIconExclamation);
    return 0;
  }
  WorkFiles work(folder);
  CFile images;
  if (!images.Open(work.images, CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary)) {
    AlertBuild("Unable to open temporary work file", seams::kAlertIconExclamation);
    return 0;
  }
  const CString imfull = JoinFolderPath(folder, "imfull.dat");
  std::vector<int32_t> sizes;
  bool built = false;
  try {  // the sizes and the header grow as the images are written
    built = WriteQuarterImages(imfull, records, images, &sizes, progress) &&
            AssembleCache(work.cache, images, sizes);
  } catch (const std::bad_alloc&) {
    built = false;
  }
  images.Abort();
  if (!built) return 0;
  if (!RenameToCache(work.cache, JoinFolderPath(folder, kQuarterCacheFileName))) {
    AlertBuild("Unable to open imx4.dat file", seams::kAlertOk);
    return 0;
  }
  return 1;
}
