// The top-ten dialog's edits of the play-list text.
#include "config/TopTenEdits.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/TopTenText.h"

namespace {

struct Case {
  const char* before;
  int index;
  TopTenEdit result;
  const char* after;
};

// Runs an edit on a full 256-character buffer, as the dialog keeps it.
void RunCases(const std::vector<Case>& cases, TopTenEdit (*edit)(char*, int, int)) {
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.before + "\" index " + std::to_string(c.index));
    char text[kTopTenTextSize] = {};
    std::strcpy(text, c.before);
    EXPECT_EQ(edit(text, c.index, 12), c.result);
    EXPECT_STREQ(text, c.after);
  }
}

TEST(TopTenEdits, AddAppendsAtMostTenDistinctImages) {
  RunCases(
      {
          {"", 4, TopTenEdit::kDone, "4"},
          {"3,8,1", 0, TopTenEdit::kDone, "3,8,1,0"},
          {"3,8,1", 8, TopTenEdit::kAlreadyListed, "3,8,1"},
          {"0,1,2,3,4,5,6,7,8", 11, TopTenEdit::kDone, "0,1,2,3,4,5,6,7,8,11"},
          {"0,1,2,3,4,5,6,7,8,9", 11, TopTenEdit::kFull, "0,1,2,3,4,5,6,7,8,9"},
          {"0,1,2,3,4,5,6,7,8,9", 3, TopTenEdit::kFull, "0,1,2,3,4,5,6,7,8,9"},
          // An index outside the set is refused and the list stays as it was (formatting it
          // would have cleared the buffer).
          {"3,8", 12, TopTenEdit::kRefused, "3,8"},
          {"3,8", -1, TopTenEdit::kRefused, "3,8"},
          // A text that does not parse counts as empty: the add replaces it.
          {"3,99", 5, TopTenEdit::kDone, "5"},
          {"2,,7", 1, TopTenEdit::kDone, "2,7,1"},
      },
      AddToTopTenText);
}

TEST(TopTenEdits, RemoveKeepsTheOthersInPlayOrder) {
  RunCases(
      {
          {"3,8,1", 8, TopTenEdit::kDone, "3,1"},
          {"3,8,1", 3, TopTenEdit::kDone, "8,1"},
          {"5", 5, TopTenEdit::kDone, ""},  // the last one leaves the empty text
          {"3,8,1", 4, TopTenEdit::kNotListed, "3,8,1"},
          {"", 4, TopTenEdit::kNotListed, ""},
          {"3,99", 3, TopTenEdit::kNotListed, "3,99"},  // invalid: nothing to remove from
      },
      RemoveFromTopTenText);
}

TEST(TopTenEdits, ARemoveThatEmptiesTheListZeroesTheWholeBuffer) {
  char text[kTopTenTextSize];
  std::memset(text, 'x', sizeof text);
  std::strcpy(text, "7");
  ASSERT_EQ(RemoveFromTopTenText(text, 7, 12), TopTenEdit::kDone);
  for (char c : text) ASSERT_EQ(c, 0);
}

}  // namespace
