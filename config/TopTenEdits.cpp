#include "config/TopTenEdits.h"

#include <cstring>

#include "settings/TopTenText.h"

namespace {

// Formats the entries into a scratch buffer and copies it over the text only when the format
// succeeded: the formatter clears its output before it can refuse.
TopTenEdit Store(int count, const int* entries, char* text, int imageCount) {
  char formatted[kTopTenTextSize];
  if (!FormatTopTenPlaylist(count, entries, formatted, imageCount)) return TopTenEdit::kRefused;
  std::memcpy(text, formatted, sizeof formatted);
  return TopTenEdit::kDone;
}

}  // namespace

TopTenEdit AddToTopTenText(char* text, int index, int imageCount) {
  if (index < 0 || index >= imageCount) return TopTenEdit::kRefused;
  int entries[kTopTenMaxEntries + 1];
  const int count = ParseTopTenPlaylist(text, imageCount, entries);
  if (count >= kTopTenMaxEntries) return TopTenEdit::kFull;
  for (int i = 0; i < count; ++i)
    if (entries[i] == index) return TopTenEdit::kAlreadyListed;
  entries[count] = index;
  return Store(count + 1, entries, text, imageCount);
}

TopTenEdit RemoveFromTopTenText(char* text, int index, int imageCount) {
  int entries[kTopTenMaxEntries];
  const int count = ParseTopTenPlaylist(text, imageCount, entries);
  int kept = 0;
  for (int i = 0; i < count; ++i)
    if (entries[i] != index) entries[kept++] = entries[i];
  if (kept == count) return TopTenEdit::kNotListed;
  return Store(kept, entries, text, imageCount);
}
