#include "imageset/ImageSet.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "framework/Lists.h"
#include "imageset/GetImage.h"
#include "imaging/AnimDoc.h"
#include "imaging/ColorPalette.h"
#include "imaging/CopyClip.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "imaging/QuarterCache.h"
#include "imaging/ReservedPalette.h"
#include "imaging/ScreenCompose.h"
#include "seams/Alerts.h"
#include "seams/ScreenSize.h"
#include "seams/Trace.h"
#include "settings/DecimalText.h"
#include "settings/IniSettings.h"
#include "transitions/Background.h"
#include "transitions/Frames.h"
#include "transitions/LayoutRects.h"

#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#endif

CObArray ImageDescArray;
ImageSetSettings ImageSettings;
CDIB* ImageSetLogoDIB = nullptr;
CDIB* ScreenBackgroundDIB = nullptr;

namespace {

constexpr char kLoadingCaption[] = "Loading Image Files - Error";
constexpr char kLogoCaption[] = "Screen Saver Scaling/Border Settings";
constexpr uint32_t kSmallSetCount = 12;
constexpr uint32_t kLargeSetCount = 52;

void LoadingError(const char* text) { seams::Alert(text, kLoadingCaption, seams::kAlertIconHand); }

void StopAlert(const char* text) { seams::Alert(text, "Alert", seams::kAlertIconHand); }

bool IsSetCount(int count) {
  return count == static_cast<int>(kSmallSetCount) || count == static_cast<int>(kLargeSetCount);
}

using DescList = std::vector<std::unique_ptr<CImageDesc>>;

// Reads the header and the records into `records`; nothing of the caller's is touched.
ImageDescReadResult ReadImageDescs(CFile& file, DescList& records) {
  CArchive archive(&file, CArchive::load, 512);
  try {
    uint32_t header[2] = {0, 0};  // set identifier (unused), count
    if (archive.Read(header, sizeof header) != sizeof header) return ImageDescReadResult::kBadCount;
    if (!IsSetCount(static_cast<int>(header[1]))) return ImageDescReadResult::kBadCount;
    for (uint32_t i = 0; i < header[1]; ++i) {
      std::unique_ptr<CImageDesc> desc(new (std::nothrow) CImageDesc);
      if (!desc) return ImageDescReadResult::kNoMemory;
      desc->Serialize(archive);
      records.push_back(std::move(desc));
    }
  } catch (CArchiveException&) {
    return ImageDescReadResult::kTruncated;
  } catch (CFileException&) {
    return ImageDescReadResult::kTruncated;
  } catch (std::bad_alloc&) {
    return ImageDescReadResult::kNoMemory;
  }
  archive.Close();
  return ImageDescReadResult::kOk;
}

void InstallImageDescs(CObArray* array, DescList& records) {
  DeleteImageDescs(array);
  array->SetSize(static_cast<int>(records.size()));
  for (size_t i = 0; i < records.size(); ++i)
    array->SetAt(static_cast<int>(i), records[i].release());
}

// A stored number out of its range reads as the nearest valid one, so that a damaged value
// draws the nearest picture the user could have chosen instead of failing at every step.
void ConvertImageSettings() {
  using saver::DecimalTextInRange;
  const IniSettingsBuffers& text = IniSettings;
  ImageSettings.IMAGE_SIZE = DecimalTextInRange(text.IMAGE_SIZE, 0, kMaxSizeCode);
  ImageSettings.IMAGE_BACKSTYLE = DecimalTextInRange(text.IMAGE_BACKSTYLE, 0, kBackStyleKeep);
  ImageSettings.IMAGE_SCREENSTYLE = DecimalTextInRange(text.IMAGE_SCREENSTYLE, 0, 3);
  ImageSettings.IMAGE_BORDERSTYLE = DecimalTextInRange(text.IMAGE_BORDERSTYLE, 0, kBorderNone);
  ImageSettings.IMAGE_BORDERTHICKNESS = DecimalTextInRange(text.IMAGE_BORDERTHICKNESS, 0, 1);
  ImageSettings.IMAGE_BORDERSHADOWON = DecimalTextInRange(text.IMAGE_BORDERSHADOWON, 0, 1);
  ImageSettings.INTERPON = DecimalTextInRange(text.INTERPON, 0, 1);
}

bool FileExists(const char* path) {
  CFileStatus status;
  return CFile::GetStatus(path, status) != FALSE;
}

}  // namespace

BOOL EnsureScreenSizedDIB(CDIB** dib, int bitCount) {
  const ScreenSize screen = GetScreenSize();
  CDIB* current = *dib;
  if (current && current->header && current->header->bmiHeader.biBitCount == bitCount &&
      current->GetWidth() == screen.cx && current->GetHeight() == screen.cy)
    return 1;
  if (!current) current = *dib = new (std::nothrow) CDIB;
  if (!current) return 0;
  if (bitCount == 24) return current->Create24(screen.cx, screen.cy) ? 1 : 0;
  CColorPalette ramp;
  if (!ramp.CreateGreyRamp(GetReservedPaletteEntries())) return 0;
  return current->Create(screen.cx, screen.cy, &ramp) ? 1 : 0;
}

CString ImageSetFilePath(const char* fileName) {
#ifdef _WIN32
  const char separator[] = "\\";
#else
  const char separator[] = "/";
#endif
  return CString(IniSettings.DATADIRECTORY) + separator + fileName;
}

void DeleteImageDescs(CObArray* array) {
  for (int i = 0; i < array->GetSize(); ++i) delete array->GetAt(i);
  array->RemoveAll();
}

ImageDescReadResult ReadImageDescArray(const char* path, CObArray* array) {
  if (!FileExists(path)) return ImageDescReadResult::kMissing;
  CFile file;
  if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary))
    return ImageDescReadResult::kUnopenable;
  DescList records;
  const ImageDescReadResult result = ReadImageDescs(file, records);
  file.Abort();
  if (result == ImageDescReadResult::kOk)
    InstallImageDescs(array, records);
  else if (result != ImageDescReadResult::kBadCount)
    DeleteImageDescs(array);
  return result;
}

int GetImageDescArray(const char* path, CObArray* array) {
  seams::TraceScope trace("GetImageDescArray");
  switch (ReadImageDescArray(path, array)) {
    case ImageDescReadResult::kOk: return array->GetSize();
    case ImageDescReadResult::kMissing:
      LoadingError("Unable to find image description file - reinstall");
      break;
    case ImageDescReadResult::kUnopenable:
      LoadingError("Unable to open image description file");
      break;
    case ImageDescReadResult::kNoMemory:
      LoadingError("Unable to generate sysem resources (memory)");
      break;
    case ImageDescReadResult::kBadCount:
    case ImageDescReadResult::kTruncated: break;
  }
  return 0;
}

BOOL EnsureImageDescArray(CObArray* array) {
  if (array->IsEmpty() && !IsSetCount(GetImageDescArray(ImageSetFilePath("Imagedes.dat"), array))) {
    StopAlert("Unrecognized number of images in main image file");
    return 0;
  }
  // The previews need the cache's index; a missing cache is not this routine's failure.
  if (QuarterImageCount == 0) LoadQuarterImageIndex();
  return 1;
}

BOOL InitImageSet() {
  if (!EnsureImageDescArray(&ImageDescArray)) return 0;
  ConvertImageSettings();
  if (!ImageSetLogoDIB) ImageSetLogoDIB = LoadLogo(1.0);
  if (!BuildScreenBackground()) {
    StopAlert("Unable to set full screen background");
    return 0;
  }
  return 1;
}

CDIB* LoadLogo(double aspect) {
  std::unique_ptr<CAnimDoc> loader(new (std::nothrow) CAnimDoc);
  if (!loader) return nullptr;
  const CString descriptors = ImageSetFilePath("Logosdes.dat");
  const CString pictures = ImageSetFilePath("imlogos.dat");
  if (!FileExists(descriptors) || !FileExists(pictures)) {
    seams::Alert("Unable to find logo file.", kLogoCaption);
    return nullptr;
  }
  if (!loader->LoadLogoDescs(descriptors, pictures)) {
    seams::Alert("Unable to load logos.", kLogoCaption);
    return nullptr;
  }
  std::unique_ptr<CDIB> logo(new (std::nothrow) CDIB);
  if (!logo || !loader->OpenRandomLogoFile(aspect, logo.get())) {
    seams::Alert("Unable to find logo.", kLogoCaption);
    return nullptr;
  }
  return logo.release();
}

BOOL BuildScreenBackground() {
  if (!EnsureScreenSizedDIB(&ScreenBackgroundDIB, 8)) return 0;
  CPtrList rects;
  BOOL composed = GetImageLayoutRects(&rects, kLayoutCentred, ImageSettings.IMAGE_SIZE);
  if (composed) {
    CString error;
    composed = SetSSBackground(ScreenBackgroundDIB, &rects, ImageSetLogoDIB,
                               ImageSettings.IMAGE_BACKSTYLE, ImageSettings.IMAGE_SCREENSTYLE,
                               ImageSettings.IMAGE_BORDERSTYLE, ImageSettings.IMAGE_BORDERTHICKNESS,
                               ImageSettings.IMAGE_BORDERSHADOWON, seams::Trace::IsOn(), &error);
    if (!composed) seams::Trace::Printf("%s\n", static_cast<const char*>(error));
  }
  DeleteAllPtrListElements(&rects);
  return composed ? 1 : 0;
}

BYTE ImageBackColourIndex() {
  int style = ImageSettings.IMAGE_BACKSTYLE;
  if (style != kStyleLogosLarge && style != kStyleLogosSmall && style != kStyleBlack &&
      style != kStyleLightGrey)
    style = ImageSettings.IMAGE_SCREENSTYLE;  // the picture area keeps the screen's style
  const int level = style == kStyleLightGrey ? 31 : 0;
  return static_cast<BYTE>(GetReservedPaletteEntries() + level);
}

CDIB* CreateFullScreenImage(HWND statusText, HWND progress, CObArray* descs, int index,
                            int sizeCode, BOOL interpolate) {
  const CString path = ImageSetFilePath("imfull.dat");
  const CImageDesc* desc = nullptr;
  if (descs && index >= 0 && index < descs->GetSize())
    desc = dynamic_cast<const CImageDesc*>(descs->GetAt(index));
  if (!desc) {
    StopAlert("Unable to find image data");
    return nullptr;
  }
  CString error;
  CDIB* image = GetImage(path, desc, sizeCode, interpolate, ImageBackColourIndex(), statusText,
                         progress, seams::Trace::IsOn(), error);
  if (!image) StopAlert("Unable to create full screen image");
  return image;
}

#ifdef _WIN32
namespace {

RECT ProgressBarRect(HWND host) {
  RECT rect;
  GetClientRect(host, &rect);
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL known = GetVersionExA(&version);
#pragma GCC diagnostic pop
  // The early NT frames draw their control borders inside the client area.
  if (known && version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion < 4) {
    InflateRect(&rect, -2, -6);
    OffsetRect(&rect, 0, 3);
  }
  return rect;
}

void RepaintNow(HWND host, const RECT& rect) {
  InvalidateRect(host, &rect, TRUE);
  UpdateWindow(host);
}

}  // namespace

void RunWithProgressBar(HINSTANCE instance, HWND host, const std::function<void(HWND bar)>& work) {
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const RECT rect = host ? ProgressBarRect(host) : RECT{0, 0, 0, 0};
  HWND bar =
      host ? CreateWindowExA(0, PROGRESS_CLASSA, "Position", WS_CHILD | WS_VISIBLE, rect.left,
                             rect.top, rect.right - rect.left, rect.bottom - rect.top, host,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(2000)), instance, nullptr)
           : nullptr;
  if (host) RepaintNow(host, rect);
  work(bar);
  if (bar) DestroyWindow(bar);
  if (host) RepaintNow(host, rect);
  SetCursor(previous);
}

BOOL GetProductVersion(CString& version) {
  char module[MAX_PATH + 1] = {};
  if (!GetModuleFileNameA(nullptr, module, MAX_PATH)) return 0;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(module, &ignored);
  if (size == 0) return 0;
  std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[size]);
  if (!block || !GetFileVersionInfoA(module, 0, size, block.get())) return 0;
  char* text = nullptr;
  UINT length = 0;
  if (VerQueryValueA(block.get(), "\\StringFileInfo\\040904b0\\ProductVersion",
                     reinterpret_cast<void**>(&text), &length) &&
      text && length > 0 && text[0] != '\0')
    version = text;
  return 1;
}
#else
void RunWithProgressBar(HINSTANCE, HWND, const std::function<void(HWND bar)>& work) {
  work(nullptr);
}

BOOL GetProductVersion(CString&) { return 0; }
#endif

CDIB* LoadFullScreenImageWithProgress(HINSTANCE instance, HWND statusText, HWND host,
                                      CObArray* descs, int index, int sizeCode, BOOL interpolate) {
  CDIB* image = nullptr;
  RunWithProgressBar(instance, host, [&](HWND bar) {
    image = CreateFullScreenImage(statusText, bar, descs, index, sizeCode, interpolate);
  });
  if (!image) StopAlert("Unable to load image");
  return image;
}

CDIB* ComposeWallpaperDIB(CDIB* image, CDIB* background) {
  if (!image || !background || !image->header || !background->header) return nullptr;
  CColorPalette palette;
  if (!palette.CreateFromDIB(image)) return nullptr;
  palette.MakeIdentity();  // only a palette display changes it; elsewhere the palette stays
  image->MapColorsToPalette(&palette);
  std::unique_ptr<CDIB> result(new (std::nothrow) CDIB);
  if (!result || !result->Create(background->GetWidth(), background->GetHeight(), &palette))
    return nullptr;
  CopyByColour(*background, result.get(), 0, 0, background->GetWidth(), background->GetHeight(), 0,
               0);
  const Span x = CentredSpan(background->GetWidth(), image->GetWidth());
  const Span y = CentredSpan(background->GetHeight(), image->GetHeight());
  if (x.length > 0 && y.length > 0)
    image->CopyBits(result.get(), x.to, y.to, x.length, y.length, x.from, y.from, -1);
  return result.release();
}
