// The top-ten play-list text: parsing, formatting and the next-image rule.
#include "settings/TopTenText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<int> Parse(const char* text, int n = 12) {
  int entries[kTopTenMaxEntries + 1];
  std::fill(entries, entries + kTopTenMaxEntries + 1, -99);
  int count = ParseTopTenPlaylist(text, n, entries);
  EXPECT_EQ(entries[kTopTenMaxEntries], -99) << "never more than ten entries stored";
  return std::vector<int>(entries, entries + count);
}

TEST(TopTenText, ParsesTheListText) {
  struct Case {
    const char* text;
    std::vector<int> entries;
  };
  std::vector<Case> cases = {
      {"", {}},
      {"abc", {}},
      {"3,17,0", {}},  // 17 is not an image of a set of 12
      {"3,11,0", {3, 11, 0}},
      {"2,,7", {2, 7}},
      {" 2, 7", {2, 7}},
      {"3 8,1", {3, 1}},
      {"4 ", {4}},
      {"0000000001", {}},  // a field of ten characters is refused, whatever its value
      {"000000001", {1}},
      {"12", {}},  // the image count itself is outside the set
      {"1,2,3,4,5,6,7,8,9,10,11", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},  // at most ten are kept
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Parse(c.text), c.entries);
  }
  EXPECT_EQ(Parse("40,51", 52), (std::vector<int>{40, 51}));
  EXPECT_EQ(Parse(nullptr), std::vector<int>{});
}

TEST(TopTenText, NextImageFollowsThePlayOrder) {
  struct Case {
    const char* text;
    int current;
    int next;
  };
  std::vector<Case> cases = {
      {"", 3, -1},
      {"abc", 0, -1},
      {"5", 5, 5},
      {"5", 7, 5},
      {"3,8,1", 8, 1},
      {"3,8,1", 1, 3},
      {"3,8,1", 4, 3},
      {"3,8,1", 3, 8},
      {"2,5,2,9", 2, 9},  // a repeated index:
                          // the last occurrence
                          // counts
      {"3,12", 3, -1},    // invalid text: the caller falls back to the whole set
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " after " + std::to_string(c.current));
    EXPECT_EQ(GetNextTopTenImageNo(c.current, c.text, 12), c.next);
  }
}

TEST(TopTenText, FormatsOrRefusesLeavingZeros) {
  char text[kTopTenTextSize];
  auto allZero = [&] {
    return std::all_of(text, text + kTopTenTextSize, [](char c) { return c == 0; });
  };

  int entries[11] = {3, 17, 0, 51, 1, 2, 4, 5, 6, 7, 8};
  std::fill(text, text + kTopTenTextSize, 'x');
  ASSERT_TRUE(FormatTopTenPlaylist(3, entries, text, 52));
  EXPECT_STREQ(text, "3,17,0");
  EXPECT_TRUE(std::all_of(text + 6, text + kTopTenTextSize, [](char c) { return c == 0; }));

  std::fill(text, text + kTopTenTextSize, 'x');
  EXPECT_TRUE(FormatTopTenPlaylist(0, entries, text, 52));
  EXPECT_TRUE(allZero());

  std::fill(text, text + kTopTenTextSize, 'x');
  EXPECT_FALSE(FormatTopTenPlaylist(11, entries, text, 52));
  EXPECT_TRUE(allZero());

  std::fill(text, text + kTopTenTextSize, 'x');
  EXPECT_FALSE(FormatTopTenPlaylist(2, entries, text, 17)) << "17 equals the image count";
  EXPECT_TRUE(allZero());

  EXPECT_FALSE(FormatTopTenPlaylist(-1, entries, text, 52));
  int negative[1] = {-1};
  EXPECT_FALSE(FormatTopTenPlaylist(1, negative, text, 52));

  ASSERT_TRUE(FormatTopTenPlaylist(10, entries, text, 52));
  EXPECT_EQ(Parse(text, 52), std::vector<int>(entries, entries + 10));
}

}  // namespace
