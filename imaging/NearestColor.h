// The nearest colour of a colour table, by the one rule that every palette lookup of the system
// uses: the smallest squared RGB distance, the lowest index on ties.
//
// Colour mapping, remapping of 24-bit pixels and the palette blend tables all go through this
// class rather than the platform's palette lookup, whose metric and ties are not documented: the
// results are then the same in both builds and on every display.
#pragma once

#include <vector>

#include "framework/WinTypes.h"

class CDIB;

class ColorMatcher {
 public:
  // Matches against these colours; an empty list matches everything to index 0.
  explicit ColorMatcher(const std::vector<PALETTEENTRY>& entries);

  // Index of the entry nearest to (red, green, blue).
  int Nearest(int red, int green, int blue) const;
  int Size() const { return static_cast<int>(byGreen_.size()); }

 private:
  struct Entry {
    int green, red, blue, index;
  };
  // Sorted by green, then index: the search walks outward from the colour's green and stops in
  // each direction once green alone is farther than the best match.
  std::vector<Entry> byGreen_;
};

// The first `count` colour-table entries of a bitmap (at most 256) as palette entries.
std::vector<PALETTEENTRY> TableEntries(const CDIB& dib, int count);
