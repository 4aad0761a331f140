// The rich-text document: a record that owns a RichEdit 1.0 child window ("RichEdit", from
// RICHED32.DLL, which the settings side loads before any is created) and loads RTF or plain text
// into it from a whole file or from a byte range of a file. The rich-text view control holds one;
// the dialogs load the credits of an image set, the About text and each image's description
// through it.
//
// A load shows the wait cursor, switches the change notices off and stops redrawing while the
// text streams in; every way out of a load puts all three back and closes the file. A load that
// fails (the file does not open, the seek fails, the range is empty) keeps the text that was
// shown before.
#pragma once

#include <windows.h>

#include <cstdint>

#include "richtext/RichTextFormat.h"

// Change notices the document asks of its RichEdit while it is idle; 0 while it is being filled.
constexpr DWORD kRichTextEventMask = 0x00680703;
// The text that names a document that holds no file.
constexpr char kRichTextUntitled[] = "[Untitled]";

struct RichTextDocument {
  HWND editWindow;    // the RichEdit child
  HWND parentWindow;  // the window that hosts it
  int32_t format;     // of the last load: kRichTextFormatText or kRichTextFormatRtf
  int32_t readOnly;   // 1 once a dialog has made the loaded text read-only
  int32_t wrap;       // 1: lines wrap to the window's width
  HDC targetDevice;   // null: wrapping is measured on the window
  HWND formatBar;     // a format bar kept in step with the selection; always null here
  HGLOBAL devMode;    // the default printer's blocks, when the system gave one
  HGLOBAL devNames;
  char path[256];  // the file last loaded, empty when none
  char title[32];  // "[Untitled]", the given title or the file's title
};

// A new record with its RichEdit child of `rect` (x, y, right, bottom) under the parent, with the
// given child identifier and instance. Null when the record cannot be allocated, or, after the
// alert "Unable to create a new RE document", when the RichEdit window cannot be created.
RichTextDocument* CreateRichTextDocument(HWND parent, const RECT* rect, int childId,
                                         HINSTANCE instance);

// Frees the record and the printer blocks it holds. The RichEdit window is a child of its host
// and goes with it; this does not destroy it. A null document is accepted.
void DeleteRichTextDocument(RichTextDocument* document);

// Empties the document: no text, no path, "[Untitled]", the default paragraph and character
// formats, not modified, not read-only. 0.
int ResetRichTextDocument(RichTextDocument* document);

// Loads a whole file. format: kRichTextFormatDecide (RTF when the file starts "{\rtf" in any
// case), kRichTextFormatText or kRichTextFormatRtf; selection non-zero streams into the
// selection. title null: the file's own title. 0, or the system error code when the file cannot
// be opened (ERROR_INVALID_PARAMETER for a null document or path); the old text stays then.
int StreamInRichText(RichTextDocument* document, const char* path, const char* title, int format,
                     BOOL selection);

// Loads the bytes from offset start up to offset end (the file's end when it comes first). As
// StreamInRichText, and -1 when the start is negative or end - start is below 1.
int StreamInRichTextRange(RichTextDocument* document, const char* path, const char* title,
                          int format, BOOL selection, int64_t start, int64_t end);

// Makes the loaded text read-only, as the dialogs do after a successful load.
void SetRichTextReadOnly(RichTextDocument* document);

// Reads the selection's character format and the paragraph format and sends them to the format
// bar; with no format bar (always, here) only the reads take place.
void SyncFormatBar(RichTextDocument* document);
