#include "settings/DecimalText.h"

#include <climits>
#include <cstdio>

namespace saver {
namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ReadDecimalInt(const char*& cursor, int& value) {
  if (!cursor) return false;
  const char* p = cursor;
  while (IsBlank(*p)) ++p;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (!IsDigit(*p)) return false;
  long long magnitude = 0;
  for (; IsDigit(*p); ++p) {
    if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (*p - '0');
  }
  long long signedValue = negative ? -magnitude : magnitude;
  if (signedValue > INT_MAX) signedValue = INT_MAX;
  if (signedValue < INT_MIN) signedValue = INT_MIN;
  value = static_cast<int>(signedValue);
  cursor = p;
  return true;
}

int DecimalTextToInt(const char* text) {
  int value = 0;
  ReadDecimalInt(text, value);
  return value;
}

int DecimalTextInRange(const char* text, int low, int high) {
  const int value = DecimalTextToInt(text);
  return value < low ? low : value > high ? high : value;
}

void IntToDecimalText(int value, char* buffer, size_t size) {
  if (buffer && size > 0) std::snprintf(buffer, size, "%d", value);
}

}  // namespace saver
