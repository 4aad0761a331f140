#include "transitions/PolygonFill.h"

#include <algorithm>
#include <cstdint>

namespace {

// The smallest integer >= num / den, for den > 0.
int64_t CeilDiv64(int64_t num, int64_t den) {
  int64_t q = num / den;
  return (num % den > 0) ? q + 1 : q;
}

struct Edge {
  int64_t x1, y1, x2, y2;  // y1 < y2
};

std::vector<Edge> Edges(const POINT* points, int count) {
  std::vector<Edge> edges;
  edges.reserve(count);
  for (int i = 0; i < count; ++i) {
    const POINT& a = points[i];
    const POINT& b = points[(i + 1) % count];
    if (a.y == b.y) continue;
    if (a.y < b.y) {
      edges.push_back({a.x, a.y, b.x, b.y});
    } else {
      edges.push_back({b.x, b.y, a.x, a.y});
    }
  }
  return edges;
}

}  // namespace

void PolygonSpans(const POINT* points, int count, int left, int top, int right, int bottom,
                  std::vector<PolygonSpan>& spans) {
  if (!points || count < 3 || left >= right || top >= bottom) return;
  std::vector<Edge> edges = Edges(points, count);
  if (edges.empty()) return;
  int64_t minY = edges[0].y1, maxY = edges[0].y2;
  for (const Edge& e : edges) {
    minY = std::min(minY, e.y1);
    maxY = std::max(maxY, e.y2);
  }
  int first = static_cast<int>(std::max<int64_t>(minY, top));
  int last = static_cast<int>(std::min<int64_t>(maxY, bottom));  // exclusive
  std::vector<int64_t> crossings;
  for (int y = first; y < last; ++y) {
    crossings.clear();
    for (const Edge& e : edges) {
      if (y < e.y1 || y >= e.y2) continue;
      // x = x1 + (y - y1) * (x2 - x1) / (y2 - y1), rounded up to the first pixel at or after it.
      int64_t dy = e.y2 - e.y1;
      crossings.push_back(CeilDiv64(e.x1 * dy + (y - e.y1) * (e.x2 - e.x1), dy));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
      int64_t x0 = std::max<int64_t>(crossings[i], left);
      int64_t x1 = std::min<int64_t>(crossings[i + 1], right);
      if (x0 < x1) spans.push_back({y, static_cast<int>(x0), static_cast<int>(x1)});
    }
  }
}
