// The caption box's fonts without GDI: a fixed-metrics stand-in with DrawText's wrapping,
// centring and clipping, drawing each character as a solid cell.
#include <algorithm>
#include <string>
#include <vector>

#include "imaging/DIBSurface.h"
#include "transitions/BoxFont.h"

namespace {

// One line of text laid out: where it starts in the string and how many characters it holds.
struct Line {
  size_t start = 0;
  size_t length = 0;
};

// DrawText's word breaking: explicit line ends always break; with a width, a line ends before
// the word that would pass it (a word longer than the width stands alone on its line). Spaces at
// a break are dropped.
std::vector<Line> BreakLines(const std::string& s, int charWidth, int width, bool wrap) {
  std::vector<Line> lines;
  const size_t maxChars = wrap ? std::max<size_t>(1, static_cast<size_t>(width / charWidth)) : 0;
  size_t i = 0;
  while (i <= s.size()) {
    size_t end = s.find('\n', i);
    if (end == std::string::npos) end = s.size();
    size_t paragraphEnd = end;
    if (paragraphEnd > i && s[paragraphEnd - 1] == '\r') --paragraphEnd;
    size_t p = i;
    do {
      size_t take = paragraphEnd - p;
      if (wrap && take > maxChars) {
        size_t cut = s.rfind(' ', p + maxChars);
        if (cut == std::string::npos || cut <= p) {
          cut = s.find(' ', p + maxChars);
          if (cut == std::string::npos || cut > paragraphEnd) cut = paragraphEnd;
        }
        take = cut - p;
      }
      lines.push_back({p, take});
      p += take;
      while (p < paragraphEnd && s[p] == ' ') ++p;
    } while (p < paragraphEnd);
    if (end == s.size()) break;
    i = end + 1;
  }
  return lines;
}

// Everything in s is on one line when the single-line flag is set.
std::string Flattened(const CString& text, UINT flags) {
  std::string s(static_cast<const char*>(text));
  if (flags & kBoxTextSingleLine) std::replace(s.begin(), s.end(), '\n', ' ');
  return s;
}

}  // namespace

CBoxFont::~CBoxFont() = default;

BOOL CBoxFont::Create(int height, int style) {
  height_ = height > 0 ? height : 0;
  style_ = style;
  return height_ > 0;
}

void CBoxFont::Delete() { height_ = 0; }

BOOL CBoxFont::IsCreated() const { return height_ > 0; }

namespace {

int CharWidth(int height) { return (height + 1) / 2; }

}  // namespace

BOOL CBoxFont::Measure(CDIBSurface* surface, const CString& text, UINT flags, RECT* rect) const {
  if (!surface || !IsCreated() || !rect) return FALSE;
  const int cw = CharWidth(height_);
  const std::string s = Flattened(text, flags);
  const bool wrap = (flags & kBoxTextWordBreak) && !(flags & kBoxTextSingleLine);
  const std::vector<Line> lines = BreakLines(s, cw, rect->right - rect->left, wrap);
  size_t widest = 0;
  for (const Line& line : lines) widest = std::max(widest, line.length);
  rect->right = rect->left + static_cast<LONG>(widest) * cw;
  rect->bottom = rect->top + static_cast<LONG>(lines.size()) * height_;
  return TRUE;
}

void CBoxFont::Draw(CDIBSurface* surface, const CString& text, UINT flags, const RECT& rect,
                    int colourIndex) const {
  if (!surface || !IsCreated()) return;
  const int cw = CharWidth(height_);
  const std::string s = Flattened(text, flags);
  const bool wrap = (flags & kBoxTextWordBreak) && !(flags & kBoxTextSingleLine);
  const std::vector<Line> lines = BreakLines(s, cw, rect.right - rect.left, wrap);
  const BYTE colour = static_cast<BYTE>(colourIndex);
  auto plot = [&](int x, int y) {
    if (x < rect.left || x >= rect.right || y < rect.top || y >= rect.bottom) return;
    if (BYTE* p = surface->GetPixelAddress(x, y)) *p = colour;
  };
  for (size_t n = 0; n < lines.size(); ++n) {
    const Line& line = lines[n];
    const int lineWidth = static_cast<int>(line.length) * cw;
    int x = rect.left;
    if (flags & kBoxTextCentre) x += (rect.right - rect.left - lineWidth) / 2;
    const int y = rect.top + static_cast<int>(n) * height_;
    const int lineLeft = x;
    for (size_t c = 0; c < line.length; ++c, x += cw) {
      if (s[line.start + c] == ' ') continue;
      // A cell with a column of space on its right and a row above and below.
      for (int row = 1; row < height_ - 1; ++row) {
        for (int col = 0; col < std::max(1, cw - 1); ++col) plot(x + col, y + row);
      }
    }
    if (style_ & kTextStyleUnderlined) {
      for (int col = 0; col < lineWidth; ++col) plot(lineLeft + col, y + height_ - 1);
    }
  }
}
