// The parts of loading a rich-text document that need no window: deciding a file's format from
// its first bytes, the length of a byte range, and bounded copies into the record's fixed fields.
#pragma once

#include <cstddef>
#include <cstdint>

// Stream formats of a document: decided from the file, plain text, RTF.
constexpr int kRichTextFormatDecide = 0;
constexpr int kRichTextFormatText = 1;
constexpr int kRichTextFormatRtf = 2;

// The format of a file whose first bytes are `head` (`count` of them were read): RTF when exactly
// the five bytes "{\rtf" came, in any letter case, else plain text.
int DecideRichTextFormat(const char* head, long count);

// The number of bytes from `start` up to `end`, in 64 bits: -1 when the start is negative or the
// range is empty or reversed.
int64_t RichTextRangeLength(int64_t start, int64_t end);

// Copies `text` into a field of `capacity` characters, cut so that it always ends with its zero.
void CopyRichTextField(char* field, size_t capacity, const char* text);
