#include "imaging/DIB.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "framework/Archive.h"
#include "framework/Dc.h"
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "framework/Gdi.h"
#include "framework/Geometry.h"
#include "seams/Alerts.h"
#include "seams/Clock.h"

#ifdef _WIN32
#include <commdlg.h>
#include <share.h>
#endif

IMPLEMENT_SERIAL(CDIB, CObject, 0)

namespace {

constexpr WORD kBmpType = 0x4D42;  // "BM"
constexpr DWORD kInfoHeaderSize = sizeof(BITMAPINFOHEADER);
constexpr DWORD kCoreHeaderSize = sizeof(BITMAPCOREHEADER);
constexpr DWORD kFileHeaderSize = sizeof(BITMAPFILEHEADER);
// Saved files always carry the whole header block, so their bits start here.
constexpr DWORD kSavedBitsOffset = kFileHeaderSize + CDIB::kHeaderBlockSize;

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
using HeaderPtr = std::unique_ptr<BITMAPINFO, FreeDeleter>;
using BitsPtr = std::unique_ptr<BYTE, FreeDeleter>;

// Row length in bytes, rows padded to 4 bytes. 64-bit so that no header can overflow it.
uint64_t StorageWidth(int64_t width, int bitCount) {
  return static_cast<uint64_t>(((bitCount * width + 31) & ~int64_t{31}) / 8);
}

uint64_t BitsSize(const BITMAPINFOHEADER& h) {
  return StorageWidth(h.biWidth, h.biBitCount) * static_cast<uint64_t>(h.biHeight);
}

DWORD ColorCountForBits(int bitCount) {
  switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

void FillGreyRamp(RGBQUAD* table, int from) {
  for (int i = from; i < 256; ++i) {
    const BYTE v = static_cast<BYTE>(i);
    table[i] = RGBQUAD{v, v, v, 0};
  }
}

// A header block with a zero info header and a grey-ramp table, or null when memory runs out.
HeaderPtr NewHeaderBlock() {
  HeaderPtr block(static_cast<BITMAPINFO*>(std::calloc(1, CDIB::kHeaderBlockSize)));
  if (block) FillGreyRamp(block->bmiColors, 0);
  return block;
}

BITMAPINFOHEADER InfoHeader(LONG width, LONG height, int bitCount) {
  BITMAPINFOHEADER h{};
  h.biSize = kInfoHeaderSize;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bitCount);
  h.biCompression = BI_RGB;
  return h;
}

// The depths, sizes and forms that this program reads: bottom-up, uncompressed, 1/4/8/24 bits,
// at most 256 colours, and no bigger than the limits.
bool IsReadableHeader(const BITMAPINFOHEADER& h) {
  if (h.biWidth <= 0 || h.biHeight <= 0) return false;
  if (h.biWidth > CDIB::kMaxSide || h.biHeight > CDIB::kMaxSide) return false;
  if (h.biBitCount != 1 && h.biBitCount != 4 && h.biBitCount != 8 && h.biBitCount != 24)
    return false;
  if (h.biCompression != BI_RGB || h.biClrUsed > 256) return false;
  return BitsSize(h) <= CDIB::kMaxBitsBytes;
}

bool ReadExact(CFile& file, void* buffer, UINT size) { return file.Read(buffer, size) == size; }

// Reads the info header that follows the file header, in either form; the OS/2 form comes back
// as the equivalent Windows header. Returns the size the header had in the file, 0 on failure.
DWORD ReadInfoHeader(CFile& file, BITMAPINFOHEADER& out) {
  DWORD size = 0;
  if (!ReadExact(file, &size, sizeof(size))) return 0;
  if (size == kInfoHeaderSize) {
    out.biSize = size;
    return ReadExact(file, reinterpret_cast<BYTE*>(&out) + sizeof(size), size - sizeof(size)) ? size
                                                                                              : 0;
  }
  if (size != kCoreHeaderSize) return 0;
  BITMAPCOREHEADER core{};
  if (!ReadExact(file, reinterpret_cast<BYTE*>(&core) + sizeof(size), size - sizeof(size)))
    return 0;
  out = BITMAPINFOHEADER{};
  out.biSize = kInfoHeaderSize;  // the bitmap is held in the Windows form from now on
  out.biWidth = core.bcWidth;
  out.biHeight = core.bcHeight;
  out.biPlanes = core.bcPlanes;
  out.biBitCount = core.bcBitCount;
  return size;
}

// Reads `count` colour-table entries: 4-byte entries after a Windows header, 3-byte ones (blue,
// green, red) after an OS/2 header.
bool ReadColorTable(CFile& file, RGBQUAD* table, DWORD count, bool core) {
  if (!core) return ReadExact(file, table, count * sizeof(RGBQUAD));
  for (DWORD i = 0; i < count; ++i) {
    RGBTRIPLE t;
    if (!ReadExact(file, &t, sizeof(t))) return false;
    table[i] = RGBQUAD{t.rgbtBlue, t.rgbtGreen, t.rgbtRed, 0};
  }
  return true;
}

// Reads a picture's bits in pieces; a stop request (the saver is closing) ends the read between
// two pieces, as a failure: a large picture takes seconds.
bool ReadBits(CFile& file, BYTE* bits, uint64_t size) {
  constexpr uint64_t kPiece = 1 << 20;
  for (uint64_t done = 0; done < size; done += kPiece) {
    if (seams::StopRequested()) return false;
    const UINT piece = static_cast<UINT>(std::min(kPiece, size - done));
    if (!ReadExact(file, bits + done, piece)) return false;
  }
  return true;
}

// Reads one BMP image from the file's position into new blocks; false on any fault of the file.
bool ReadBmp(CFile& file, HeaderPtr& header, BitsPtr& bits) {
  const ULONGLONG start = file.GetPosition();
  BITMAPFILEHEADER fileHeader;
  if (!ReadExact(file, &fileHeader, kFileHeaderSize) || fileHeader.bfType != kBmpType) return false;
  BITMAPINFOHEADER info{};
  const DWORD infoSize = ReadInfoHeader(file, info);
  if (!infoSize || !IsReadableHeader(info)) return false;

  header = NewHeaderBlock();
  if (!header) return false;
  header->bmiHeader = info;
  const DWORD colors = GetDIBColorCount(header.get());
  const bool core = infoSize == kCoreHeaderSize;
  if (!ReadColorTable(file, header->bmiColors, colors, core)) return false;

  // The bits must lie after the headers and the table, and the file must hold every row.
  const uint64_t tableEnd = uint64_t{kFileHeaderSize} + infoSize + colors * (core ? 3 : 4);
  if (fileHeader.bfOffBits < tableEnd) return false;
  // Checked before allocating, so that a small file cannot make us allocate a large block.
  const uint64_t size = BitsSize(info);
  const uint64_t bitsStart = start + fileHeader.bfOffBits;
  if (file.GetLength() < bitsStart + size) return false;
  bits.reset(static_cast<BYTE*>(std::malloc(std::max<uint64_t>(size, 1))));
  if (!bits) return false;
  file.Seek(static_cast<LONGLONG>(bitsStart), CFile::begin);
  return ReadBits(file, bits.get(), size);
}

// One write of SaveToFile; a file failure is a false result.
bool WriteProtected(CFile& file, const void* data, UINT size) {
  try {
    file.Write(data, size);
    return true;
  } catch (const CException&) {
    return false;
  }
}

bool EndsWithJpg(const std::string& name) {
  if (name.size() < 3) return false;
  const char* tail = name.c_str() + name.size() - 3;
  return std::toupper(static_cast<unsigned char>(tail[0])) == 'J' &&
         std::toupper(static_cast<unsigned char>(tail[1])) == 'P' &&
         std::toupper(static_cast<unsigned char>(tail[2])) == 'G';
}

// Opens a file for binary reading that others may read but not write; null on failure.
FILE* OpenSharedForReading(const std::string& name) {
#ifdef _WIN32
  return ::_fsopen(name.c_str(), "rb", _SH_DENYWR);
#else
  return std::fopen(name.c_str(), "rb");
#endif
}

// Asks the user for a file name (open or save dialog); false when cancelled, or natively.
bool AskForFileName(bool save, std::string& name) {
#ifdef _WIN32
  std::string filter = "Image files (*.DIB, *.BMP)|*.DIB;*.BMP|All files (*.*)|*.*||";
  std::replace(filter.begin(), filter.end(), '|', '\0');
  char buffer[MAX_PATH] = "";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = buffer;
  ofn.nMaxFile = sizeof(buffer);
  ofn.Flags = OFN_HIDEREADONLY | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!(save ? ::GetSaveFileNameA(&ofn) : ::GetOpenFileNameA(&ofn))) return false;
  name = buffer;
  return true;
#else
  (void)save;
  (void)name;
  return false;
#endif
}

}  // namespace

DWORD GetDIBColorCount(const BITMAPINFO* header) {
  if (!header) return 0;
  // Read field by field: a header inside a resource or file image need not be aligned.
  const BYTE* p = reinterpret_cast<const BYTE*>(header);
  DWORD size;
  std::memcpy(&size, p, sizeof(size));
  WORD bitCount;
  if (size == kCoreHeaderSize) {
    std::memcpy(&bitCount, p + offsetof(BITMAPCOREHEADER, bcBitCount), sizeof(bitCount));
    return ColorCountForBits(bitCount);
  }
  std::memcpy(&bitCount, p + offsetof(BITMAPINFOHEADER, biBitCount), sizeof(bitCount));
  DWORD used;
  std::memcpy(&used, p + offsetof(BITMAPINFOHEADER, biClrUsed), sizeof(used));
  const DWORD count = ColorCountForBits(bitCount);
  if (used == 0) return count;
  return count ? std::min(count, used) : used;
}

// Construction and lifetime

CDIB::CDIB() { Create(16, 16, nullptr); }

CDIB::~CDIB() { Release(); }

void CDIB::Release() {
  std::free(header);
  header = nullptr;
  if (ownsBits) std::free(bits);
  bits = nullptr;
  ownsBits = 1;
}

void CDIB::Replace(BITMAPINFO* newHeader, BYTE* newBits) {
  Release();
  header = newHeader;
  bits = newBits;
  ownsBits = 1;
}

// Creation

BOOL CDIB::CreateBlank(int w, int h, int bitCount) {
  Release();
  if (w < 0 || h < 0 || w > kMaxSide || h > kMaxSide) return 0;
  const uint64_t size = StorageWidth(w, bitCount) * static_cast<uint64_t>(h);
  if (size > kMaxBitsBytes) return 0;
  HeaderPtr newHeader = NewHeaderBlock();
  if (!newHeader) return 0;
  BitsPtr newBits(static_cast<BYTE*>(std::calloc(std::max<uint64_t>(size, 1), 1)));
  if (!newBits) return 0;
  newHeader->bmiHeader = InfoHeader(w, h, bitCount);
  Replace(newHeader.release(), newBits.release());
  return 1;
}

BOOL CDIB::Create(int w, int h, CPalette* palette) {
  if (!CreateBlank(w, h, 8)) return 0;
  if (!palette) return 1;
  const int count = std::min(palette->GetEntryCount(), 256);
  if (count <= 0) return 0;
  PALETTEENTRY entries[256];
  const UINT read = palette->GetPaletteEntries(0, count, entries);
  for (UINT i = 0; i < read; ++i)
    header->bmiColors[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  header->bmiHeader.biClrUsed = read;
  return 1;
}

BOOL CDIB::Create24(int w, int h) { return CreateBlank(w, h, 24); }

BOOL CDIB::CreateFromPixels(int w, int h, int n, const BYTE* colours, const BYTE* pixels) {
  if (!CreateBlank(w, h, 8)) return 0;
  const int count = colours ? std::clamp(n, 0, 256) : 0;
  for (int i = 0; i < count; ++i) {
    const BYTE* c = colours + 4 * i;
    header->bmiColors[i] = RGBQUAD{c[0], c[1], c[2], 0};
  }
  if (pixels) std::memcpy(bits, pixels, static_cast<size_t>(GetStorageWidth()) * h);
  return 1;
}

BOOL CDIB::AttachPacked(const BITMAPINFO* source, BYTE* newBits, BOOL owns) {
  const DWORD colors = GetDIBColorCount(source);
  if (!source || colors > 256) return 0;
  HeaderPtr newHeader = NewHeaderBlock();
  if (!newHeader) return 0;
  std::memcpy(newHeader.get(), source, kInfoHeaderSize + colors * sizeof(RGBQUAD));
  if (newBits == bits) ownsBits = 0;  // the same block again: it must not be freed under us
  Release();
  header = newHeader.release();
  bits = newBits;
  ownsBits = owns;
  return 1;
}

// Geometry

int CDIB::GetWidth() const { return header ? header->bmiHeader.biWidth : 0; }

int CDIB::GetHeight() const { return header ? header->bmiHeader.biHeight : 0; }

int CDIB::GetStorageWidth() const {
  return header ? static_cast<int>(StorageWidth(GetWidth(), header->bmiHeader.biBitCount)) : 0;
}

void CDIB::GetRect(CRect* rect) const {
  if (rect) rect->SetRect(0, 0, GetWidth(), GetHeight());
}

int CDIB::GetNumColors() const { return static_cast<int>(GetDIBColorCount(header)); }

BYTE* CDIB::GetPixelAddress(int x, int y) const {
  const int w = GetWidth();
  const int h = GetHeight();
  if (!bits || x < 0 || y < 0 || x >= w || y >= h) return nullptr;
  BYTE* row = bits + static_cast<ptrdiff_t>(h - 1 - y) * GetStorageWidth();
  switch (header->bmiHeader.biBitCount) {
    case 1: return row + x / 8;
    case 4: return row + x / 2;
    case 8: return row + x;
    case 16: return row + 2 * x;
    case 24: return row + 3 * x;
    default: return nullptr;
  }
}

// Files and resources

BOOL CDIB::LoadFromFile(CFile* file) {
  if (!file) return 0;
  HeaderPtr newHeader;
  BitsPtr newBits;
  try {
    if (!ReadBmp(*file, newHeader, newBits)) return 0;
  } catch (const CException&) {
    return 0;
  }
  Replace(newHeader.release(), newBits.release());
  return 1;
}

BOOL CDIB::SaveToFile(CFile* file) {
  if (!file || !header || !bits) return 0;
  const DWORD size = static_cast<DWORD>(GetStorageWidth()) * static_cast<DWORD>(GetHeight());
  BITMAPFILEHEADER fileHeader{};
  fileHeader.bfType = kBmpType;
  fileHeader.bfSize = size + kSavedBitsOffset;
  fileHeader.bfOffBits = kSavedBitsOffset;
  return WriteProtected(*file, &fileHeader, kFileHeaderSize) &&
         WriteProtected(*file, header, kHeaderBlockSize) && WriteProtected(*file, bits, size);
}

BOOL CDIB::Load(const char* name) {
  std::string path = name ? name : "";
  if (path.empty() && !AskForFileName(false, path)) return 0;
  if (EndsWithJpg(path)) {
    FILE* stream = OpenSharedForReading(path);
    if (!stream) return 0;
    std::rewind(stream);
    const BOOL result = LoadJPEGFile(stream);
    std::fclose(stream);
    return result;
  }
  CFile file;
  if (!file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite)) return 0;
  return LoadFromFile(&file);
}

BOOL CDIB::Save(const char* name) {
  std::string path = name ? name : "";
  if (path.empty() && !AskForFileName(true, path)) return 0;
  CFile file;
  if (!file.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive)) {
    seams::Alert("Failed to open file");
    return 0;
  }
  BOOL result = SaveToFile(&file);
  try {
    file.Close();
  } catch (const CException&) {
    result = 0;  // the last bytes did not reach the disk
  }
  if (!result) seams::Alert("Failed to save file");
  return result;
}

void CDIB::Serialize(CArchive& ar) {
  ar.Flush();
  const BOOL done = ar.IsStoring() ? SaveToFile(ar.GetFile()) : LoadFromFile(ar.GetFile());
  if (!done) ThrowArchiveException(CArchiveException::generic);
}

#ifdef _WIN32

BOOL CDIB::LoadResource(UINT id) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(LOWORD(id)), "DIB");
  if (!resource) return 0;
  HGLOBAL loaded = ::LoadResource(module, resource);
  BYTE* data = loaded ? static_cast<BYTE*>(::LockResource(loaded)) : nullptr;
  const DWORD size = ::SizeofResource(module, resource);
  if (!data || size < kFileHeaderSize + kInfoHeaderSize) return 0;

  // The image is our own, but a damaged one must not send the bits pointer outside it.
  BITMAPFILEHEADER fileHeader;
  BITMAPINFOHEADER info;
  std::memcpy(&fileHeader, data, kFileHeaderSize);
  std::memcpy(&info, data + kFileHeaderSize, kInfoHeaderSize);
  const BITMAPINFO* packed = reinterpret_cast<const BITMAPINFO*>(data + kFileHeaderSize);
  const uint64_t tableEnd =
      kFileHeaderSize + kInfoHeaderSize + 4 * uint64_t{GetDIBColorCount(packed)};
  if (info.biSize != kInfoHeaderSize || !IsReadableHeader(info) ||
      fileHeader.bfOffBits < tableEnd || fileHeader.bfOffBits + BitsSize(info) > size)
    return 0;

  // Colour mapping later changes the pixels in place.
  DWORD oldProtection;
  if (!::VirtualProtect(data, size, PAGE_READWRITE, &oldProtection)) return 0;
  return AttachPacked(packed, data + fileHeader.bfOffBits, 0);
}

int CDIB::Draw(CDC* dc, int x, int y) {
  if (!header || !bits) return 0;
  const int w = GetWidth();
  const int h = GetHeight();
  return ::StretchDIBits(dc ? dc->GetSafeHdc() : nullptr, x, y, w, h, 0, 0, w, h, bits, header,
                         DIB_RGB_COLORS, SRCCOPY);
}

#else

// Natively there are no resources and no devices to draw on.
BOOL CDIB::LoadResource(UINT) { return 0; }

int CDIB::Draw(CDC*, int, int) { return 0; }

#endif
