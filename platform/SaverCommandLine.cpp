#include "platform/SaverCommandLine.h"

#include <limits>

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

const char* SkipSpaces(const char* p) {
  while (IsSpace(*p)) {
    ++p;
  }
  return p;
}

SaverMode ModeOfLetter(char letter) {
  switch (letter | 0x20) {  // ASCII lower case of a letter
    case 's': return SaverMode::FullScreen;
    case 'p': return SaverMode::Preview;
    case 'a': return SaverMode::ChangePassword;
    default: return SaverMode::Configure;  // 'c' and anything unknown
  }
}

// A decimal number ended by a space or the end of the text; 0 for anything else.
std::uintptr_t ParseWindowValue(const char* p) {
  constexpr std::uintptr_t kMax = std::numeric_limits<std::uintptr_t>::max();
  std::uintptr_t value = 0;
  const char* digits = p;
  for (; *p >= '0' && *p <= '9'; ++p) {
    const unsigned digit = static_cast<unsigned>(*p - '0');
    if (value > (kMax - digit) / 10) {
      return 0;  // does not fit a handle
    }
    value = value * 10 + digit;
  }
  if (p == digits || (*p != '\0' && !IsSpace(*p))) {
    return 0;
  }
  return value;
}

// After the switch letter: optional spaces, an optional ':', optional spaces, then the number.
std::uintptr_t ParseWindowAfterSwitch(const char* p) {
  p = SkipSpaces(p);
  if (*p == ':') {
    p = SkipSpaces(p + 1);
  }
  return ParseWindowValue(p);
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

SaverCommand ParseSaverCommandLine(const char* commandLine) {
  const SaverCommand settings{SaverMode::Configure, 0};
  if (commandLine == nullptr) {
    return settings;
  }
  const char* p = SkipSpaces(commandLine);
  if ((*p != '/' && *p != '-') || !IsLetter(p[1])) {
    return settings;
  }
  return {ModeOfLetter(p[1]), ParseWindowAfterSwitch(p + 2)};
}
