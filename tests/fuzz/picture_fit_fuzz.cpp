// A picture the user points at, of any size and depth, through the roads that scale and fit it:
// GetImage from the set's image file (stretched, or interpolated when 8-bit) to each screen size,
// the own images fitted to the screen, into a cell and as a preview, and the quarter-size cache
// built from twelve records of it and read back. Each road must end with a picture of the size
// it promises or a clean failure: no crash, no overflow, no huge allocation.
//
// Input: four control bytes, then the file (a BMP, a JPEG or a packed image; the seeds are those
// of dib_load_fuzz, jpeg_load_fuzz and packed_decode_fuzz behind control bytes,
// make_picture_corpus.py writes them).
//   byte 0: the road (low three bits) and the format (bit 7: JPEG, else bit 6: the packed format
//           of the set's image file, which only the set's roads read; else BMP)
//   byte 1: the size code (low three bits; 7 is no code) and interpolation (bit 7)
//   byte 2: the background colour index
//   byte 3: the screen's size, and the cell of FitOwnImageInto (a row of kScreens)
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "framework/Arrays.h"
#include "framework/File.h"
#include "framework/Lists.h"
#include "imageset/GetImage.h"
#include "imageset/OwnImages.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "imaging/QuarterCache.h"
#include "seams/Alerts.h"
#include "seams/ScreenSize.h"
#include "tests/fuzz/ScratchFolder.h"
#include "transitions/LayoutRects.h"

namespace {

enum Road { kGetImage, kFullScreenOwn, kFitIntoCell, kMiniScreenOwn, kQuarterCache, kRoads };

struct Screen {
  int cx, cy;
};
const Screen kScreens[] = {{640, 480}, {320, 200},  {37, 1000}, {1000, 37},
                           {1, 1},     {1024, 768}, {161, 121}, {7, 3}};

void Check(bool condition) {
  if (!condition) std::abort();
}

const std::string& Folder() { return fuzzscratch::Folder("picture_fit_fuzz"); }

bool Inside(const RECT& r, const Screen& s) {
  return r.left >= 0 && r.top >= 0 && r.left <= r.right && r.top <= r.bottom && r.right <= s.cx &&
         r.bottom <= s.cy;
}

// Every row of the bitmap can be read to its last pixel.
void CheckRows(const CDIB& dib) {
  Check(dib.header && dib.bits && dib.GetWidth() > 0 && dib.GetHeight() > 0);
  volatile BYTE sum = 0;
  for (int y = 0; y < dib.GetHeight(); ++y) {
    const BYTE* first = dib.GetPixelAddress(0, y);
    const BYTE* last = dib.GetPixelAddress(dib.GetWidth() - 1, y);
    Check(first && last);
    sum = static_cast<BYTE>(sum + *first + *last);
  }
}

void RunGetImage(const std::string& file, int format, int sizeCode, BOOL interpolate, BYTE back) {
  CImageDesc desc;
  desc.dataFormat = format;
  desc.dataOffset = 0;
  CString error;
  std::unique_ptr<CDIB> image(
      GetImage(file.c_str(), &desc, sizeCode, interpolate, back, nullptr, nullptr, FALSE, error));
  int w = 0, h = 0;
  if (!GetImageSizeForCode(sizeCode, &w, &h)) {
    Check(!image);
    return;
  }
  if (!image) {
    Check(!error.IsEmpty());
    return;
  }
  CheckRows(*image);
  Check(image->GetWidth() == w && image->GetHeight() == h);
}

void RunFullScreenOwn(const char* name, const Screen& screen) {
  CPtrList rects;
  CString error;
  std::unique_ptr<CDIB> image(GetFullScreenOwnImageDIB(&rects, Folder().c_str(), name, &error));
  if (image) {
    CheckRows(*image);
    const RECT* r = static_cast<const RECT*>(rects.GetHead());
    Check(Inside(*r, screen));
    Check(image->GetWidth() == r->right - r->left && image->GetHeight() == r->bottom - r->top);
  } else {
    Check(!error.IsEmpty());
  }
  DeleteAllPtrListElements(&rects);
}

void RunFitIntoCell(const char* name, const Screen& cell) {
  RECT area = {0, 0, cell.cx, cell.cy};
  std::unique_ptr<CDIB> image(FitOwnImageInto(Folder().c_str(), name, &area));
  if (!image) return;  // memory ran out
  CheckRows(*image);
  Check(Inside(area, cell));
  Check(image->GetWidth() == area.right - area.left &&
        image->GetHeight() == area.bottom - area.top);
}

void RunMiniScreenOwn(const char* name) {
  std::unique_ptr<CDIB> image(GetMiniScreenOwnImageDIB(Folder().c_str(), name, FALSE));
  if (image) CheckRows(*image);
}

bool PlentyOfSpace(const char*, uint64_t* available) {
  *available = uint64_t{1} << 40;
  return true;
}

// Twelve records of the one picture, quartered into the cache and read back.
void RunQuarterCache(int format) {
  InstallFreeSpaceQuery(PlentyOfSpace);
  CObArray records;
  for (int i = 0; i < 12; ++i) {
    auto* desc = new CImageDesc;
    desc->dataFormat = format;
    desc->dataOffset = 0;
    records.Add(desc);
  }
  const BOOL built = BuildQuarterImageCacheFrom(Folder().c_str(), records, nullptr);
  for (int i = 0; i < records.GetSize(); ++i) delete records.GetAt(i);
  const std::string cache = Folder() + "/" + kQuarterCacheFileName;
  Check(built == std::filesystem::exists(cache));
  Check(!std::filesystem::exists(Folder() + "/" + kQuarterCacheWorkFileName));
  Check(!std::filesystem::exists(Folder() + "/" + kQuarterImagesWorkFileName));
  if (!built) return;
  Check(LoadQuarterImageIndexFrom(Folder().c_str()) && QuarterImageCount == 12);
  CFile file;
  Check(file.Open(cache.c_str(), CFile::modeRead | CFile::typeBinary));
  for (int n = 0; n < 12; ++n) {
    std::unique_ptr<CDIB> quarter(ReadQuarterImage(&file, n));
    Check(quarter != nullptr);
    CheckRows(*quarter);
    Check(quarter->header->bmiHeader.biBitCount == 8);
  }
  file.Close();
  std::filesystem::remove(cache);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  static seams::ScopedAlertRecorder alerts;  // no alert waits for an answer
  alerts.Clear();
  const int road = (data[0] & 7) % kRoads;
  const bool jpeg = (data[0] & 0x80) != 0;
  const bool packed = !jpeg && (data[0] & 0x40) != 0;
  const int sizeCode = data[1] & 7;
  const BOOL interpolate = (data[1] & 0x80) != 0;
  const BYTE back = data[2];
  const Screen& screen = kScreens[data[3] % (sizeof kScreens / sizeof kScreens[0])];
  ScopedScreenSize screenSize(screen.cx, screen.cy);
  const char* name = jpeg ? "picture.jpg" : "picture.bmp";
  const std::string file = fuzzscratch::WriteFile(
      "picture_fit_fuzz", road == kGetImage || road == kQuarterCache ? "imfull.dat" : name,
      data + 4, size - 4);
  const int format = jpeg ? kImageDataJpeg : packed ? kImageDataPacked : kImageDataBmp;
  switch (road) {
    case kGetImage: RunGetImage(file, format, sizeCode, interpolate, back); break;
    case kFullScreenOwn: RunFullScreenOwn(name, screen); break;
    case kFitIntoCell: RunFitIntoCell(name, screen); break;
    case kMiniScreenOwn: RunMiniScreenOwn(name); break;
    default: RunQuarterCache(format); break;
  }
  std::filesystem::remove(file);
  return 0;
}
