// The caption-effect dialog's rules: the colour lists' order both ways, the title style's bit
// field, and what each list and button group stores.
#include <climits>

#include <gtest/gtest.h>

#include "config/TextFXRules.h"

namespace {

// The colour lists' lines in order, by colour code: code 6 ("Transparent") comes last.
constexpr int kCodeOnLine[20] = {0,  1,  2,  3,  4,  5,  7,  8,  9,  10,
                                 11, 12, 13, 14, 15, 16, 17, 18, 19, 6};

TEST(TextFXColours, EveryCodeAndLineMapBothWays) {
  for (int line = 0; line < kTextFXColorCount; ++line) {
    SCOPED_TRACE(line);
    EXPECT_EQ(ListIndexToColorCode(line), kCodeOnLine[line]);
    EXPECT_EQ(ColorCodeToListIndex(kCodeOnLine[line]), line);
  }
}

TEST(TextFXColours, CodesAndLinesOutsideTheListGiveBlack) {
  struct Case {
    int value;
    int line;  // ColorCodeToListIndex
    int code;  // ListIndexToColorCode
  } cases[] = {
      {-1, 0, 0},       // no selection stores black
      {20, 0, 0},       // one past the last line and code
      {25, 0, 0},       // a stored code no colour has
      {INT_MAX, 0, 0},  //
      {INT_MIN, 0, 0},  //
      {6, 19, 7},       // transparent shows last; line 6 is light grey
      {19, 18, 6},      // white is line 18; line 19 is transparent
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(ColorCodeToListIndex(c.value), c.line);
    EXPECT_EQ(ListIndexToColorCode(c.value), c.code);
  }
}

TEST(TextFXTitleStyle, BitsShowAsBoxesAndBoxesStoreWithTheAlwaysBit) {
  struct Case {
    int stored;
    bool italic, shadow, underline;
    int saved;  // what OK stores for those boxes
  } cases[] = {
      {0, false, false, false, 1},  // the always bit comes back
      {1, false, false, false, 1},  {2, true, false, false, 3}, {4, false, true, false, 5},
      {8, false, false, true, 9},   {5, false, true, false, 5}, {15, true, true, true, 15},
      {16, false, false, false, 1},  // bits above the three are dropped
      {-1, true, true, true, 15},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    const textfx::TitleStyleBoxes boxes = textfx::TitleStyleToBoxes(c.stored);
    EXPECT_EQ(boxes.italic, c.italic);
    EXPECT_EQ(boxes.shadow, c.shadow);
    EXPECT_EQ(boxes.underline, c.underline);
    EXPECT_EQ(textfx::BoxesToTitleStyle(boxes), c.saved);
  }
}

TEST(TextFXSelections, ListsStoreTheirLineAndNoSelectionAsTheirOwnRule) {
  for (int line : {0, 1, 5}) {
    EXPECT_EQ(textfx::DurationListSetting(line), line);
    EXPECT_EQ(textfx::StyleListSetting(line), line);
  }
  EXPECT_EQ(textfx::DurationListSetting(-1), -1);
  EXPECT_EQ(textfx::StyleListSetting(-1), 0) << "no caption style is numbered -1";
}

TEST(TextFXSelections, RadioGroupsStoreTheFirstCheckedOrTheirDefault) {
  struct Case {
    bool first, second;
    int content, arrival;
  } cases[] = {
      // content: (text and title, title only); arrival: (slide, fade)
      {false, false, 1, 2},
      {true, false, 1, 0},
      {false, true, 0, 1},
      {true, true, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.first << c.second);
    EXPECT_EQ(textfx::ContentStyleSetting(c.first, c.second), c.content);
    EXPECT_EQ(textfx::TransSelectionSetting(c.first, c.second), c.arrival);
  }
}

}  // namespace
