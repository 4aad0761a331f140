#include "richtext/RichTextFormat.h"

#include <cctype>
#include <cstring>

int DecideRichTextFormat(const char* head, long count) {
  static const char kSignature[] = "{\\rtf";
  if (!head || count != 5) return kRichTextFormatText;
  for (int i = 0; i < 5; ++i) {
    const int a = std::tolower(static_cast<unsigned char>(head[i]));
    const int b = std::tolower(static_cast<unsigned char>(kSignature[i]));
    if (a != b) return kRichTextFormatText;
  }
  return kRichTextFormatRtf;
}

int64_t RichTextRangeLength(int64_t start, int64_t end) {
  if (start < 0 || end <= start) return -1;
  return end - start;
}

void CopyRichTextField(char* field, size_t capacity, const char* text) {
  if (!field || capacity == 0) return;
  const size_t length = text ? std::strlen(text) : 0;
  const size_t kept = length < capacity ? length : capacity - 1;
  if (kept) std::memcpy(field, text, kept);
  field[kept] = '\0';
}
