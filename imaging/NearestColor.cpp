#include "imaging/NearestColor.h"

#include <algorithm>
#include <climits>

#include "imaging/DIB.h"

ColorMatcher::ColorMatcher(const std::vector<PALETTEENTRY>& entries) {
  byGreen_.reserve(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const PALETTEENTRY& e = entries[i];
    byGreen_.push_back(Entry{e.peGreen, e.peRed, e.peBlue, static_cast<int>(i)});
  }
  std::sort(byGreen_.begin(), byGreen_.end(), [](const Entry& a, const Entry& b) {
    return a.green != b.green ? a.green < b.green : a.index < b.index;
  });
}

int ColorMatcher::Nearest(int red, int green, int blue) const {
  int bestDistance = INT_MAX, best = INT_MAX;
  // Entries whose green alone is farther than the best cannot beat it; at an equal distance
  // they can still win a tie by a lower index, so only a strictly larger gap stops the walk.
  auto consider = [&](const Entry& e) {
    const int dg = e.green - green;
    if (dg * dg > bestDistance) return false;
    const int dr = e.red - red, db = e.blue - blue;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance || (distance == bestDistance && e.index < best)) {
      bestDistance = distance;
      best = e.index;
    }
    return true;
  };
  const auto start = std::lower_bound(byGreen_.begin(), byGreen_.end(), green,
                                      [](const Entry& e, int g) { return e.green < g; });
  for (auto it = start; it != byGreen_.end() && consider(*it); ++it) {
  }
  for (auto it = start; it != byGreen_.begin() && consider(*(it - 1)); --it) {
  }
  return best == INT_MAX ? 0 : best;
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
