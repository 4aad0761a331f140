#include "settings/TopTenText.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kMaxFieldLength = 9;  // ten digits or more would not fit the index's int

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The value of the digits at the start of a field (at most nine of them).
int LeadingNumber(const std::string& field) {
  int value = 0;
  for (size_t i = 0; i < field.size() && IsDigit(field[i]); ++i) {
    value = value * 10 + (field[i] - '0');
  }
  return value;
}

}  // namespace

int ParseTopTenPlaylist(const char* text, int n, int* entries) {
  std::string rest = text ? text : "";
  int count = 0;
  while (count < kTopTenMaxEntries) {
    size_t start = rest.find_first_of("0123456789");
    if (start == std::string::npos) return count;
    rest.erase(0, start);
    size_t comma = rest.find(',');
    bool last = comma == std::string::npos;
    std::string field = last ? rest : rest.substr(0, comma);
    if (!last) rest.erase(0, comma);
    if (static_cast<int>(field.size()) > kMaxFieldLength) return 0;
    int value = LeadingNumber(field);
    if (value < 0 || value >= n) return 0;
    entries[count++] = value;
    if (last) return count;
  }
  return count;
}

BOOL FormatTopTenPlaylist(int count, const int* entries, char* text, int imageCount) {
  std::memset(text, 0, kTopTenTextSize);
  if (count < 0 || count > kTopTenMaxEntries) return FALSE;
  std::string result;
  for (int i = 0; i < count; ++i) {
    if (entries[i] < 0 || entries[i] >= imageCount) return FALSE;
    if (i > 0) result += ',';
    result += std::to_string(entries[i]);
  }
  std::memcpy(text, result.c_str(), result.size());
  return TRUE;
}

int GetNextTopTenImageNo(int current, const char* text, int n) {
  int entries[kTopTenMaxEntries];
  for (int& entry : entries) entry = -1;
  int count = ParseTopTenPlaylist(text, n, entries);
  if (count == 0) return -1;
  int position = -1;
  for (int i = 0; i < count; ++i) {
    if (entries[i] == current) position = i;  // the last occurrence counts
  }
  if (position < 0) return entries[0];
  return entries[(position + 1) % count];
}
