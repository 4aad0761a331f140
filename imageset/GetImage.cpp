#include "imageset/GetImage.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "framework/File.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "imaging/PackedImage.h"
#include "imaging/Resample.h"
#include "imaging/ReservedPalette.h"
#include "seams/Alerts.h"
#include "seams/ScreenSize.h"
#include "seams/Trace.h"

#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#include <share.h>
#endif

namespace {

constexpr char kPrefix[] = "GetImage Error Message: ";

using DIBPtr = std::unique_ptr<CDIB>;

// Sets the text when memory allows; with none left the text stays as it was.
DIBPtr Fail(CString& error, const char* text) {
  try {
    error = CString(kPrefix) + text;
  } catch (const std::bad_alloc&) {
  }
  return nullptr;
}

// A 24-bit picture from the decoder's rows, which are already padded like the bitmap's rows.
BOOL Create24FromPixels(CDIB& dib, const CPackedImageFile& packed) {
  if (!dib.Create24(packed.GetWidth(), packed.GetHeight())) return FALSE;
  if (dib.GetStorageWidth() != packed.GetRowStride()) return FALSE;
  std::memcpy(dib.bits, packed.GetPixels(),
              static_cast<size_t>(packed.GetRowStride()) * static_cast<size_t>(packed.GetHeight()));
  return TRUE;
}

DIBPtr LoadPacked(const char* file, DWORD offset, HWND progress, CString& error) {
  std::unique_ptr<CPackedImageFile> packed(new (std::nothrow) CPackedImageFile(file, offset));
  if (!packed) return Fail(error, "System has run out of memory");
  if (!packed->Read(progress)) return Fail(error, "Unable to expand JPEG");
  DIBPtr dib(new (std::nothrow) CDIB);
  BOOL made = FALSE;
  if (dib && packed->GetType() == packed::kTypeRgb420) {
    made = Create24FromPixels(*dib, *packed);
  } else if (dib) {
    made = dib->CreateFromPixels(packed->GetWidth(), packed->GetHeight(), packed->GetPaletteCount(),
                                 reinterpret_cast<const BYTE*>(packed->GetPalette()),
                                 packed->GetPixels());
  }
  if (!made) return Fail(error, "Unable to create DIB from expanded JPEG");
  return dib;
}

// Opens for binary reading; on Windows others may read the file but not write it meanwhile.
FILE* OpenShared(const char* file) {
#ifdef _WIN32
  return _fsopen(file, "rb", _SH_DENYWR);
#else
  return std::fopen(file, "rb");
#endif
}

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

DIBPtr LoadBmpOrJpeg(const char* file, const CImageDesc& desc, HWND progress, CString& error) {
  std::unique_ptr<FILE, FileCloser> stream(OpenShared(file));
  if (!stream) {
    seams::Alert("Unable to open image data file", "Alert", seams::kAlertIconExclamation);
    return Fail(error, "Unable to open image data file");
  }
  DIBPtr dib(new (std::nothrow) CDIB);
  BOOL loaded = FALSE;
  if (dib && std::fseek(stream.get(), static_cast<long>(desc.dataOffset), SEEK_SET) == 0) {
    if (desc.dataFormat == kImageDataBmp) {
      CStdioFile wrapper(stream.get());
      loaded = dib->LoadFromFile(&wrapper);
    } else {
      loaded = dib->LoadJPEG(stream.get(), progress);
    }
  }
  if (!loaded) {
    seams::Alert("Unable to load image from file", "Alert", seams::kAlertIconExclamation);
    return Fail(error, "Unable to load image from file");
  }
  return dib;
}

void ShowInterpolationStatus(HWND statusText, HWND progress) {
#ifdef _WIN32
  if (progress) SendMessageA(progress, PBM_SETPOS, 0, 0);
  if (statusText) {
    SetWindowTextA(statusText, "Palette Interpolation...");
    InvalidateRect(statusText, nullptr, TRUE);
    UpdateWindow(statusText);
  }
#else
  (void)statusText;
  (void)progress;
#endif
}

DIBPtr Scale(const CDIB& source, int width, int height, BOOL interpolate, BYTE backColour,
             HWND statusText, HWND progress, CString& error) {
  CDIB* result = nullptr;
  const RGBQUAD back = ScreenBackgroundColour(backColour);
  BOOL interpolating = interpolate && source.header && source.header->bmiHeader.biBitCount == 8;
  BOOL scaled;
  if (interpolating) {
    ShowInterpolationStatus(statusText, progress);
    scaled = InterpolateToScreen(&source, width, height, &result, back, progress);
  } else {
    scaled = StretchToScreen(&source, width, height, &result, back);
  }
  DIBPtr owned(result);
  if (!scaled || !owned) {
    // The wording follows the setting asked for, as the user knows it.
    return Fail(error, interpolate ? "Unable to build interpolated screen image"
                                   : "Unable to build stretch screen image");
  }
  return owned;
}

}  // namespace

RGBQUAD ScreenBackgroundColour(BYTE index) {
  const int level = index - GetReservedPaletteEntries();
  if (level < 0 || level >= 32) return RGBQUAD{0, 0, 0, 0};
  const BYTE grey = static_cast<BYTE>(CColorPalette::GreyLevels[level] * 4);
  return RGBQUAD{grey, grey, grey, 0};
}

BOOL GetImageSizeForCode(int sizeCode, int* width, int* height) {
  static const int kSizes[7][2] = {{0, 0},      {640, 480},  {800, 600},  {1024, 768},
                                   {1152, 864}, {1280, 960}, {1600, 1200}};
  if (sizeCode < 0 || sizeCode > 6) return FALSE;
  if (sizeCode == 0) {
    const ScreenSize screen = GetScreenSize();
    *width = screen.cx;
    *height = screen.cy;
  } else {
    *width = kSizes[sizeCode][0];
    *height = kSizes[sizeCode][1];
  }
  return TRUE;
}

CDIB* GetImage(const char* file, const CImageDesc* desc, int sizeCode, BOOL interpolate,
               BYTE backColour, HWND statusText, HWND progress, BOOL trace, CString& error) {
  const bool tracing = trace && seams::Trace::IsOn();
  if (tracing) {
    seams::Trace::Printf("GetImage - start - \n");
    seams::Trace::Printf("File=%s,nImageSize=%d,bInterOn=%x,BackColor=%x\n", file ? file : "",
                         sizeCode, static_cast<unsigned>(interpolate),
                         static_cast<unsigned>(backColour));
  }
  int width = 0, height = 0;
  if (!GetImageSizeForCode(sizeCode, &width, &height)) {
    Fail(error, "unrecognised image size");
    return nullptr;
  }
  if (!file || !desc) {
    Fail(error, "Unable to open image data file");
    return nullptr;
  }
  DIBPtr result;
  try {
    DIBPtr source = desc->dataFormat == kImageDataPacked
                        ? LoadPacked(file, static_cast<DWORD>(desc->dataOffset), progress, error)
                        : LoadBmpOrJpeg(file, *desc, progress, error);
    if (!source) return nullptr;
    result = Scale(*source, width, height, interpolate, backColour, statusText, progress, error);
  } catch (const std::bad_alloc&) {
    // A container or text on the way could not be allocated: the bitmaps made so far are freed.
    Fail(error, "System has run out of memory");
    return nullptr;
  }
  if (!result) return nullptr;
  if (tracing) seams::Trace::Printf("GetImage - end - \n");
  return result.release();
}
