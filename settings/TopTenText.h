// The top-ten play list as text: up to ten distinct image indices in decimal, separated by
// commas, in play order ("3,17,0"; the empty text is the empty list). While "TOPTEN_ON" is set
// the drawing thread rotates through these images instead of the whole set.
#pragma once

#include "framework/WinTypes.h"

constexpr int kTopTenMaxEntries = 10;
constexpr int kTopTenTextSize = 256;

// Parses the text against an image count n into entries[0..9]; returns the number of entries,
// or 0 when the text is empty or invalid (a field of ten or more characters, or an index outside
// 0..n-1). Blanks and empty fields between numbers are skipped, and only a field's leading number
// counts ("3 8,1" gives 3, 1). A text with more than ten numbers keeps the first ten.
int ParseTopTenPlaylist(const char* text, int n, int* entries);

// Formats count entries into a 256-character buffer, zero-filled first. 0, leaving the buffer
// all zeros, when count is outside 0..10 or an entry lies outside 0..imageCount-1.
BOOL FormatTopTenPlaylist(int count, const int* entries, char* text, int imageCount);

// The image to show after `current`: the entry after it in play order (wrapping), the first
// entry when it is not listed, or -1 when the list is empty or invalid.
int GetNextTopTenImageNo(int current, const char* text, int n);
