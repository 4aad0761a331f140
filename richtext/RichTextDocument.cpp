#include "richtext/RichTextDocument.h"

#include <commdlg.h>
#include <richedit.h>
#include <shellapi.h>

#include <cstring>

#include "seams/Alerts.h"

namespace {

constexpr DWORD kEditStyle = 0x5231C0C4;  // child, visible, scroll bars, sunken, multi-line
constexpr char kEditClass[] = "RichEdit";
constexpr char kCreateFailed[] = "Unable to create a new RE document";

// Plain, 10-point "MS Sans Serif", automatic colour. Without it the body text would take the
// RichEdit's own default font, which under some systems is bold.
CHARFORMATA DefaultCharFormat() {
  CHARFORMATA format = {};
  format.cbSize = sizeof format;
  format.dwMask = 0xF800001F;  // bold, italic, underline, strike-out, protected, size, colour,
                               // face, offset, character set
  format.dwEffects = CFE_AUTOCOLOR;
  format.yHeight = 200;  // twips
  format.bPitchAndFamily = 0x10;
  lstrcpynA(format.szFaceName, "MS Sans Serif", LF_FACESIZE);
  return format;
}

PARAFORMAT DefaultParaFormat() {
  PARAFORMAT format = {};
  format.cbSize = sizeof format;
  format.dwMask = 0x3F;  // indents, offset, alignment, tab stops, numbering
  format.wAlignment = PFA_LEFT;
  format.cTabCount = 1;
  format.rgxTabs[0] = 720;
  return format;
}

void SetDefaultCharFormat(HWND edit) {
  CHARFORMATA format = DefaultCharFormat();
  SendMessageA(edit, EM_SETCHARFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

void AskForDefaultPrinter(RichTextDocument* document) {
  PRINTDLGA print = {};
  print.lStructSize = sizeof print;
  print.hwndOwner = document->parentWindow;
  print.Flags = PD_RETURNDEFAULT;
  if (PrintDlgA(&print)) {
    document->devMode = print.hDevMode;
    document->devNames = print.hDevNames;
  } else {
    // Nothing is kept on a failure; blocks the dialog may still have handed out are freed.
    if (print.hDevMode) GlobalFree(print.hDevMode);
    if (print.hDevNames) GlobalFree(print.hDevNames);
  }
}

// What one stream-in reads from: the open file, and for a range the bytes still to come.
struct StreamSource {
  HFILE file;
  bool ranged;
  int64_t left;
};

DWORD CALLBACK StreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* got) {
  auto* source = reinterpret_cast<StreamSource*>(cookie);
  *got = 0;
  if (!source || source->file == HFILE_ERROR || wanted < 0) return static_cast<DWORD>(E_FAIL);
  LONG count = wanted;
  if (source->ranged && source->left < count) count = static_cast<LONG>(source->left);
  if (count == 0) return 0;  // the range's end: the stream ends though the file goes on
  const UINT read = _lread(source->file, buffer, static_cast<UINT>(count));
  if (read == static_cast<UINT>(HFILE_ERROR)) return static_cast<DWORD>(E_FAIL);
  *got = static_cast<LONG>(read);
  if (source->ranged) source->left -= read;
  return 0;
}

// The system's code for a failure, never 0 (a call may fail without setting one).
int LastError(DWORD fallback) {
  const DWORD error = GetLastError();
  return static_cast<int>(error ? error : fallback);
}

// The state a load changes, put back on every way out: the cursor, the change notices, redrawing
// and the open file.
class LoadGuard {
 public:
  explicit LoadGuard(RichTextDocument* document)
      : document_(document), cursor_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {
    SendMessageA(document_->editWindow, EM_SETEVENTMASK, 0, 0);
  }
  ~LoadGuard() {
    if (file_ != HFILE_ERROR) _lclose(file_);
    if (redrawOff_) {
      SendMessageA(document_->editWindow, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(document_->editWindow, nullptr, TRUE);
      UpdateWindow(document_->editWindow);
    }
    SetCursor(cursor_);
    SyncFormatBar(document_);
    SendMessageA(document_->editWindow, EM_SETEVENTMASK, 0, kRichTextEventMask);
  }
  LoadGuard(const LoadGuard&) = delete;
  LoadGuard& operator=(const LoadGuard&) = delete;

  HFILE file_ = HFILE_ERROR;
  bool redrawOff_ = false;

 private:
  RichTextDocument* document_;
  HCURSOR cursor_;
};

bool SeekTo(HFILE file, int64_t offset) {
  if (offset < 0 || offset > 0x7FFFFFFF) return false;
  return _llseek(file, static_cast<LONG>(offset), FILE_BEGIN) == static_cast<LONG>(offset);
}

// Format 0: the first five bytes decide, and the file goes back to where they started.
int DecideFormat(HFILE file, int64_t start) {
  char head[6] = {};
  const UINT read = _lread(file, head, 5);
  const long count = read == static_cast<UINT>(HFILE_ERROR) ? -1 : static_cast<long>(read);
  const int format = DecideRichTextFormat(head, count);
  SeekTo(file, start);
  return format;
}

void RecordTitle(RichTextDocument* document, const char* path, const char* title) {
  if (title) {
    CopyRichTextField(document->title, sizeof document->title, title);
    return;
  }
  if (GetFileTitleA(path, document->title, sizeof document->title) == 0) return;
  // The name is longer than the field: keep what fits of it.
  const char* name = std::strrchr(path, '\\');
  CopyRichTextField(document->title, sizeof document->title, name ? name + 1 : path);
}

int StreamIn(RichTextDocument* document, const char* path, const char* title, int format,
             BOOL selection, bool ranged, int64_t start, int64_t end) {
  if (!document || !document->editWindow || !path) return ERROR_INVALID_PARAMETER;
  LoadGuard guard(document);
  guard.file_ = _lopen(path, OF_READ);
  if (guard.file_ == HFILE_ERROR) return LastError(ERROR_OPEN_FAILED);
  StreamSource source{guard.file_, ranged, 0};
  if (ranged) {
    source.left = RichTextRangeLength(start, end);
    if (source.left < 0) return -1;
    if (!SeekTo(guard.file_, start)) return LastError(ERROR_SEEK);
  }
  if (format == kRichTextFormatDecide) format = DecideFormat(guard.file_, ranged ? start : 0);
  if (format != kRichTextFormatText) format = kRichTextFormatRtf;

  // Only now, with the file ready, does the old text go.
  SetWindowTextA(document->editWindow, "");
  SendMessageA(document->editWindow, WM_SETREDRAW, FALSE, 0);
  guard.redrawOff_ = true;
  EDITSTREAM stream = {};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  stream.pfnCallback = StreamInCallback;
  const WPARAM flags =
      (format == kRichTextFormatRtf ? SF_RTF : SF_TEXT) | (selection ? SFF_SELECTION : 0);
  SendMessageA(document->editWindow, EM_STREAMIN, flags, reinterpret_cast<LPARAM>(&stream));

  SendMessageA(document->editWindow, EM_SETMODIFY, FALSE, 0);
  document->format = format;
  CopyRichTextField(document->path, sizeof document->path, path);
  RecordTitle(document, path, title);
  return 0;
}

}  // namespace

RichTextDocument* CreateRichTextDocument(HWND parent, const RECT* rect, int childId,
                                         HINSTANCE instance) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(RichTextDocument));
  auto* document = block ? static_cast<RichTextDocument*>(GlobalLock(block)) : nullptr;
  if (!document) {
    if (block) GlobalFree(block);
    return nullptr;
  }
  document->parentWindow = parent;
  CopyRichTextField(document->title, sizeof document->title, kRichTextUntitled);
  AskForDefaultPrinter(document);

  const RECT area = rect ? *rect : RECT{0, 0, 0, 0};
  document->editWindow =
      CreateWindowExA(0, kEditClass, "", kEditStyle, area.left, area.top, area.right - area.left,
                      area.bottom - area.top, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)), instance, nullptr);
  if (!document->editWindow) {
    seams::Alert(kCreateFailed, nullptr, seams::kAlertIconHand, parent);
    DeleteRichTextDocument(document);
    return nullptr;
  }
  DragAcceptFiles(document->editWindow, TRUE);
  SendMessageA(document->editWindow, EM_SETEVENTMASK, 0, kRichTextEventMask);
  SetFocus(document->editWindow);
  document->format = kRichTextFormatRtf;
  document->wrap = 1;
  SendMessageA(document->editWindow, EM_SETTARGETDEVICE, 0, 0);
  SetDefaultCharFormat(document->editWindow);
  SendMessageA(document->editWindow, EM_SETMODIFY, FALSE, 0);
  SendMessageA(document->editWindow, EM_SETREADONLY, FALSE, 0);
  return document;
}

void DeleteRichTextDocument(RichTextDocument* document) {
  if (!document) return;
  if (document->devMode) GlobalFree(document->devMode);
  if (document->devNames) GlobalFree(document->devNames);
  HGLOBAL block = GlobalHandle(document);
  if (!block) return;
  GlobalUnlock(block);
  GlobalFree(block);
}

int ResetRichTextDocument(RichTextDocument* document) {
  if (!document || !document->editWindow) return 0;
  HWND edit = document->editWindow;
  SendMessageA(edit, EM_SETEVENTMASK, 0, 0);
  document->path[0] = '\0';
  CopyRichTextField(document->title, sizeof document->title, kRichTextUntitled);
  SetWindowTextA(edit, "");
  PARAFORMAT paragraph = DefaultParaFormat();
  SendMessageA(edit, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
  SetDefaultCharFormat(edit);
  SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
  SendMessageA(edit, EM_SETREADONLY, FALSE, 0);
  document->readOnly = 0;
  SyncFormatBar(document);
  SendMessageA(edit, EM_SETEVENTMASK, 0, kRichTextEventMask);
  return 0;
}

int StreamInRichText(RichTextDocument* document, const char* path, const char* title, int format,
                     BOOL selection) {
  return StreamIn(document, path, title, format, selection, false, 0, 0);
}

int StreamInRichTextRange(RichTextDocument* document, const char* path, const char* title,
                          int format, BOOL selection, int64_t start, int64_t end) {
  return StreamIn(document, path, title, format, selection, true, start, end);
}

void SetRichTextReadOnly(RichTextDocument* document) {
  if (!document || !document->editWindow) return;
  SendMessageA(document->editWindow, EM_SETREADONLY, TRUE, 0);
  document->readOnly = 1;
}

void SyncFormatBar(RichTextDocument* document) {
  if (!document || !document->editWindow) return;
  CHARFORMATA character = {};
  character.cbSize = sizeof character;
  SendMessageA(document->editWindow, EM_GETCHARFORMAT, 1, reinterpret_cast<LPARAM>(&character));
  PARAFORMAT paragraph = {};
  paragraph.cbSize = sizeof paragraph;
  SendMessageA(document->editWindow, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
  if (!document->formatBar) return;
  SendMessageA(document->formatBar, EM_SETCHARFORMAT, 0, reinterpret_cast<LPARAM>(&character));
  SendMessageA(document->formatBar, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
}
