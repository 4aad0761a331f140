#include "imaging/NearestColor.h"

#include <algorithm>
#include <climits>

#include "imaging/DIB.h"

ColorMatcher::ColorMatcher(const std::vector<PALETTEENTRY>& entries) {
  red_.reserve(entries.size());
  green_.reserve(entries.size());
  blue_.reserve(entries.size());
  for (const PALETTEENTRY& e : entries) {
    red_.push_back(e.peRed);
    green_.push_back(e.peGreen);
    blue_.push_back(e.peBlue);
  }
}

int ColorMatcher::Nearest(int red, int green, int blue) const {
  int best = 0;
  int bestDistance = INT_MAX;
  for (size_t i = 0; i < red_.size() && bestDistance != 0; ++i) {
    const int dr = red_[i] - red, dg = green_[i] - green, db = blue_[i] - blue;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {  // strictly nearer: the lowest index keeps a tie
      bestDistance = distance;
      best = static_cast<int>(i);
    }
  }
  return best;
}

std::vector<PALETTEENTRY> TableEntries(const CDIB& dib, int count) {
  std::vector<PALETTEENTRY> entries;
  if (!dib.header) return entries;
  count = std::clamp(count, 0, 256);
  entries.reserve(count);
  for (int i = 0; i < count; ++i) {
    const RGBQUAD& q = dib.header->bmiColors[i];
    entries.push_back(PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0});
  }
  return entries;
}
