#include "imageset/OwnImages.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "framework/Geometry.h"
#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "imaging/FolderPath.h"
#include "imaging/Resample.h"
#include "seams/Alerts.h"
#include "seams/Clock.h"
#include "seams/ScreenSize.h"
#include "seams/Trace.h"
#include "settings/IniSettings.h"
#include "transitions/Background.h"
#include "transitions/LayoutRects.h"

#ifdef _WIN32
#include <windows.h>
#include <commdlg.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#endif

int32_t SelectedOwnImageNo = 0;
CDIB* FullScreenOwnImageDIB = nullptr;

namespace {

using DIBPtr = std::unique_ptr<CDIB>;

// Room left for the picture frame round an own image.
constexpr int kFrameMargin = 30;
constexpr int kBlankWidth = 400;
constexpr int kBlankHeight = 300;
// The border style that draws no frame.
constexpr int kBorderNone = 6;

int BitCount(const CDIB& dib) { return dib.header ? dib.header->bmiHeader.biBitCount : 0; }

// The file's names in the folder (no folders), in the file system's order.
std::vector<CString> ListFileNames(const char* folder) {
  std::vector<CString> names;
#ifdef _WIN32
  WIN32_FIND_DATAA entry;
  HANDLE find = ::FindFirstFileA(JoinFolderPath(folder, "*.*"), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(entry.cFileName);
  } while (::FindNextFileA(find, &entry));
  ::FindClose(find);
#else
  // Not std::filesystem: its directory iterator allocates inside noexcept functions, so running
  // out of memory there would end the process instead of reaching the caller.
  DIR* dir = ::opendir(folder);
  if (!dir) return names;
  const std::unique_ptr<DIR, int (*)(DIR*)> closer(dir, ::closedir);
  while (const dirent* entry = ::readdir(dir)) {
    struct stat status;
    const bool isFolder = ::stat(JoinFolderPath(folder, entry->d_name), &status) == 0 &&
                          S_ISDIR(status.st_mode);  // "." and ".." among them
    if (!isFolder) names.emplace_back(entry->d_name);
  }
#endif
  return names;
}

CString HandleErrorText(const CString& path, int bitCount) {
  CString text;
  text.Format(
      "Unable to handle image: %s - image format is in %d bits per pixel (screen saver can "
      "only handle 8bpp and 24 bpp).",
      static_cast<const char*>(path), bitCount);
  return text;
}

// Loads the picture; a picture with no pixels counts as one that did not load.
DIBPtr LoadPicture(const CString& path) {
  DIBPtr dib(new (std::nothrow) CDIB);
  if (!dib || !dib->Load(path) || dib->GetWidth() <= 0 || dib->GetHeight() <= 0) return nullptr;
  return dib;
}

// A 24-bit copy of an 8-bit picture; null when it cannot be made. Copied in bands of rows, so
// that a stop request (the saver is closing) ends it soon, as a failure.
DIBPtr To24(CDIB& picture) {
  constexpr int kBandRows = 64;
  DIBPtr copy(new (std::nothrow) CDIB);
  const int w = picture.GetWidth(), h = picture.GetHeight();
  if (!copy || !copy->Create24(w, h)) return nullptr;
  for (int y = 0; y < h; y += kBandRows) {
    if (seams::StopRequested()) return nullptr;
    picture.CopyBits(copy.get(), 0, y, w, std::min(kBandRows, h - y), 0, y, -1);
  }
  return copy;
}

// The picture stretched to the rectangle's size, 24-bit; null when it cannot be made. A 24-bit
// picture is stretched as it is: a copy of a photograph would double the memory it takes.
DIBPtr StretchTo(CDIB& picture, const RECT& rect) {
  DIBPtr widened = BitCount(picture) == 24 ? nullptr : To24(picture);
  const CDIB* wide = widened ? widened.get() : &picture;
  DIBPtr result(new (std::nothrow) CDIB);
  if ((BitCount(picture) != 24 && !widened) || !result ||
      !result->Create24(rect.right - rect.left, rect.bottom - rect.top) ||
      !StretchDIB24(wide, result.get()))
    return nullptr;
  return result;
}

void FitPictureInto(const CDIB& picture, RECT* area) {
  const RECT size{0, 0, picture.GetWidth(), picture.GetHeight()};
  FitRectKeepAspect(&size, area);
}

DIBPtr BlankPicture() {
  DIBPtr blank(new (std::nothrow) CDIB);
  if (!blank || !blank->Create(kBlankWidth, kBlankHeight, nullptr)) return nullptr;
  return blank;
}

// The picture of a listed name for composing: the file, or a blank picture when it cannot be
// shown.
DIBPtr UsablePictureOrBlank(const CString& path) {
  DIBPtr picture = LoadPicture(path);
  if (picture && (BitCount(*picture) == 8 || BitCount(*picture) == 24)) return picture;
  return BlankPicture();
}

RECT* FirstRect(CPtrList* rects) { return static_cast<RECT*>(rects->GetHead()); }

// The image area of the settings' layout, in from the edges when a frame is drawn round it.
bool GetOwnImageArea(CPtrList* rects) {
  if (!GetImageLayoutRects(rects, kLayoutCentred, ImageSettings.IMAGE_SIZE) || rects->IsEmpty())
    return false;
  if (ImageSettings.IMAGE_BORDERSTYLE != kBorderNone || ImageSettings.IMAGE_BORDERSHADOWON != 0) {
    RECT* area = FirstRect(rects);
    area->left += kFrameMargin;
    area->top += kFrameMargin;
    area->right -= kFrameMargin;
    area->bottom -= kFrameMargin;
  }
  return true;
}

bool ComposeBackground(CPtrList* rects) {
  if (!ScreenBackgroundDIB && !BuildScreenBackground()) return false;
  CString error;
  return SetSSBackground(ScreenBackgroundDIB, rects, ImageSetLogoDIB, kBackStyleKeep,
                         ImageSettings.IMAGE_SCREENSTYLE, ImageSettings.IMAGE_BORDERSTYLE,
                         ImageSettings.IMAGE_BORDERTHICKNESS, ImageSettings.IMAGE_BORDERSHADOWON,
                         seams::Trace::IsOn(), &error) != 0;
}

void FillBlack(CDIB* dib, const RECT& rect) {
  for (int y = rect.top; y < rect.bottom; ++y) {
    BYTE* row = dib->bits + static_cast<size_t>(dib->GetHeight() - 1 - y) * dib->GetStorageWidth();
    std::fill(row + 3 * rect.left, row + 3 * rect.right, BYTE{0});
  }
}

}  // namespace

bool IsOwnImageName(const char* name) {
  const CString text(name);
  if (text.GetLength() < 3) return false;
  const CString ending = text.Right(3);
  return ending.CompareNoCase("JPG") == 0 || ending.CompareNoCase("BMP") == 0;
}

std::vector<CString> ListOwnImages(const char* folder) {
  std::vector<CString> names = ListFileNames(folder);
  names.erase(std::remove_if(names.begin(), names.end(),
                             [](const CString& name) { return !IsOwnImageName(name); }),
              names.end());
  std::stable_sort(names.begin(), names.end(), [](const CString& a, const CString& b) {
    return CompareListBoxNames(a, b) < 0;
  });
  return names;
}

#ifdef _WIN32
int CompareListBoxNames(const char* a, const char* b) { return ::lstrcmpiA(a, b); }
#else
namespace {

// The place of an ASCII character in the system's word order: apostrophe and hyphen weigh
// nothing at first, then the other punctuation in this order, the digits, and the letters with
// no regard to case; other bytes after them in byte order.
int WordWeight(unsigned char c) {
  static const char kPunctuation[] = " !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";
  if (c == '\'' || c == '-') return 0;
  if (const char* p = c ? std::strchr(kPunctuation, c) : nullptr)
    return 1 + static_cast<int>(p - kPunctuation);
  if (c >= '0' && c <= '9') return 100 + (c - '0');
  if (std::isalpha(c)) return 200 + (std::tolower(c) - 'a');
  return 300 + c;
}

// Compares by weight, skipping the characters that weigh nothing when `skipLight` is set.
int CompareWeights(const char* a, const char* b, bool skipLight) {
  for (;;) {
    while (skipLight && *a && WordWeight(static_cast<unsigned char>(*a)) == 0) ++a;
    while (skipLight && *b && WordWeight(static_cast<unsigned char>(*b)) == 0) ++b;
    if (!*a || !*b) return (*a != 0) - (*b != 0);
    const int wa = WordWeight(static_cast<unsigned char>(*a++));
    const int wb = WordWeight(static_cast<unsigned char>(*b++));
    if (wa != wb) return wa < wb ? -1 : 1;
  }
}

}  // namespace

int CompareListBoxNames(const char* a, const char* b) {
  const int order = CompareWeights(a, b, true);
  return order != 0 ? order : CompareWeights(a, b, false);
}
#endif

void FitRectKeepAspect(const RECT* image, RECT* area) {
  const int w = image->right - image->left, h = image->bottom - image->top;
  const int W = area->right - area->left, H = area->bottom - area->top;
  if (w <= 0 || h <= 0) {  // nothing to show: an empty rectangle at the centre
    *area = RECT{area->left + W / 2, area->top + H / 2, area->left + W / 2, area->top + H / 2};
    return;
  }
  int rw = w, rh = h;
  const int64_t fittedWidth = static_cast<int64_t>(w) * H / h;
  if (fittedWidth < W) {
    if (h > H) rw = static_cast<int>(fittedWidth), rh = H;
  } else if (w > W) {
    rw = W, rh = static_cast<int>(static_cast<int64_t>(h) * W / w);
  }
  // A thin picture keeps a line of pixels: the truncated scale would fit a 4000 x 2 strip into
  // no rows at all, an empty bitmap that the steps after it take for a picture.
  if (W > 0) rw = std::max(rw, 1);
  if (H > 0) rh = std::max(rh, 1);
  const int left = area->left + (W / 2 - rw / 2), top = area->top + (H / 2 - rh / 2);
  *area = RECT{left, top, left + rw, top + rh};
}

CDIB* GetFullScreenOwnImageDIB(CPtrList* rects, const char* folder, const char* name,
                               CString* error) {
  seams::Trace::Printf("GetFullScreenOwnImageDIB - Start\n");
  if (!GetImageLayoutRects(rects, kLayoutCentred, 0) || rects->IsEmpty()) {
    *error = "Unable to get rect list for own images";
    return nullptr;
  }
  const CString path = JoinFolderPath(folder, name);
  if (!IsOwnImageName(name)) {
    *error = "Image file type is not JPEG or BMP: " + path;
    return nullptr;
  }
  DIBPtr picture = LoadPicture(path);
  if (!picture) {
    *error = "Unable to load image: " + path;
    return nullptr;
  }
  if (BitCount(*picture) != 8 && BitCount(*picture) != 24) {
    *error = HandleErrorText(path, BitCount(*picture));
    return nullptr;
  }
  FitPictureInto(*picture, FirstRect(rects));
  DIBPtr result = StretchTo(*picture, *FirstRect(rects));
  if (!result) {
    *error = "Run out of system resources";
    return nullptr;
  }
  seams::Trace::Printf("GetFullScreenOwnImageDIB - End\n");
  return result.release();
}

CDIB* GetMiniScreenOwnImageDIB(const char* folder, const char* name, BOOL showErrors) {
  seams::Trace::Printf("GetMiniScreenOwnImageDIB - Start\n");
  if (!IsOwnImageName(name)) return nullptr;
  const CString path = JoinFolderPath(folder, name);
  DIBPtr picture = LoadPicture(path);
  CString text;
  if (!picture)
    text = "Unable to load image: " + path;
  else if (BitCount(*picture) != 8 && BitCount(*picture) != 24)
    text = HandleErrorText(path, BitCount(*picture));
  if (text.IsEmpty()) return picture.release();
  if (showErrors) seams::Alert(text, "Screen Saver Error", seams::kAlertIconHand);
  return BlankPicture().release();
}

CDIB* FitOwnImageInto(const char* folder, const char* name, RECT* area) {
  const RECT cell = *area;
  DIBPtr picture = UsablePictureOrBlank(JoinFolderPath(folder, name));
  if (!picture) return nullptr;
  FitPictureInto(*picture, area);
  DIBPtr fitted = StretchTo(*picture, *area);
  if (fitted) return fitted.release();
  // A picture too large to widen to 24 bits is shown as the blank picture, like one that does
  // not load.
  picture = BlankPicture();
  if (!picture) return nullptr;
  *area = cell;
  FitPictureInto(*picture, area);
  return StretchTo(*picture, *area).release();
}

BOOL SetFullScreenOwnImageDIB(CPtrList* rects, const char* folder, const char* name) {
  seams::Trace::Printf("SetFullScreenOwnImageDIB - start\n");
  if (!EnsureScreenSizedDIB(&FullScreenOwnImageDIB, 24) || !GetOwnImageArea(rects)) return 0;
  RECT* area = FirstRect(rects);
  DIBPtr fitted;
  if (name && IsOwnImageName(name)) {
    fitted.reset(FitOwnImageInto(folder, name, area));
    if (!fitted) return 0;
  }
  if (!ComposeBackground(rects)) return 0;
  CDIB* target = FullScreenOwnImageDIB;
  ScreenBackgroundDIB->CopyBits(
      target, 0, 0, std::min(target->GetWidth(), ScreenBackgroundDIB->GetWidth()),
      std::min(target->GetHeight(), ScreenBackgroundDIB->GetHeight()), 0, 0, -1);
  if (fitted)
    fitted->CopyBits(target, area->left, area->top, fitted->GetWidth(), fitted->GetHeight(), 0, 0,
                     -1);
  else
    FillBlack(target, *area);
  return 1;
}

#ifdef _WIN32

BOOL FillListWithDirectory(HWND list, const char* folder, int /*recursive*/, int /*imagesOnly*/) {
  ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const CString& name : ListOwnImages(folder))
    ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<const char*>(name)));
  return TRUE;
}

namespace {

constexpr int kFileNameField = 1152;

// Lets OK through with no file chosen: only the folder of the answer is used. The dialog is the
// classic one (no OFN_EXPLORER), whose hook receives the dialog's own messages, so the file-name
// field is the hooked dialog's; an explorer-style dialog would hook a child of it instead.
UINT_PTR CALLBACK SelectImageDirectoryHook(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    HWND owner = ::GetDlgItem(dialog, kFileNameField) ? dialog : ::GetParent(dialog);
    ::SetDlgItemTextA(owner, kFileNameField, "dummy.jpg");
  }
  return 0;
}

}  // namespace

BOOL SelectImageDirectory(HWND owner, CString* folder) {
  char file[MAX_PATH] = "";
  char title[MAX_PATH] = "";
  const CString initial = *folder;
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.hInstance = ::GetModuleHandleA(nullptr);
  ofn.lpstrFilter = "Image Files (JPG/BMP)\0*.JPG;*.BMP\0";
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrFileTitle = title;
  ofn.nMaxFileTitle = sizeof title;
  ofn.lpstrInitialDir = initial;
  ofn.lpstrTitle = "Select Image Directory for Screen Saver";
  ofn.Flags = OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_ENABLEHOOK | OFN_OVERWRITEPROMPT;
  ofn.lpstrDefExt = "*.jpg";
  ofn.lpfnHook = SelectImageDirectoryHook;
  if (!::GetOpenFileNameA(&ofn)) return FALSE;
  // The folder is the path up to the file name; a drive root keeps its backslash ("D:\").
  int end = ofn.nFileOffset;
  if (end > 0 && !(end == 3 && file[1] == ':')) --end;
  if (end >= kTextBufferSize) return FALSE;  // would not fit the settings buffer
  *folder = CString(file, end);
  return TRUE;
}

#endif
