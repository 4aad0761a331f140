// The settings dialog's sub-dialog buttons: each opens one modal dialog owned by the settings
// dialog, some only once the quarter-size image cache of the set exists.
#pragma once

#include <windows.h>

enum class CacheRule {
  kNone,      // opens without looking at the cache or the set
  kWanted,    // builds the cache when it is missing, then opens in any case
  kRequired,  // builds the cache when it is missing, and opens only when it exists then
};

struct SubDialogRow {
  int button;
  int templateId;
  DLGPROC procedure;
  CacheRule cache;
};

// The row of a button, or null when the button opens nothing.
const SubDialogRow* FindSubDialog(int button);

// Opens the row's dialog modally with `owner` as its owner, after its cache rule. A row with a
// cache rule shows the set's pictures: when the set's data folder is missing or incomplete, one
// message says so (once for a folder while the settings dialog is open) and the image-set
// chooser opens instead; the dialog opens only once a usable set is chosen. The dialog's
// result, or -1 when it was not opened.
INT_PTR OpenSubDialog(HWND owner, const SubDialogRow& row);

// Forgets which set folder was reported as unusable (the settings dialog opening afresh).
void ForgetReportedSetFolder();

// Every row, in button order: `count` is set to their number.
const SubDialogRow* SubDialogRows(int* count);
