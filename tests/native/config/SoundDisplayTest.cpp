// The sound dialog's display and transport arithmetic, over the lengths where the text form of
// the display used to break (100 minutes and more) and the products that outgrow 32 bits.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "config/SoundDisplay.h"

namespace {

constexpr uint32_t Ms(uint32_t minutes, uint32_t seconds) {
  return (minutes * 60 + seconds) * 1000;
}

TEST(SoundDisplay, FormatsMinutesWithAtLeastTwoDigitsAndNoUpperBound) {
  struct Case {
    uint32_t ms;
    const char* text;
  } cases[] = {
      {0, "00:00"},
      {999, "00:00"},  // whole seconds, rounded down
      {Ms(0, 9), "00:09"},
      {Ms(1, 40), "01:40"},
      {Ms(9, 59) + 999, "09:59"},
      {Ms(10, 0), "10:00"},
      {Ms(99, 59), "99:59"},
      {Ms(100, 0), "100:00"},  // where "the last six characters" stopped being the total
      {Ms(1234, 5), "1234:05"},
      {UINT32_MAX, "71582:47"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatSoundTime(c.ms), c.text) << c.ms;
  EXPECT_EQ(FormatSoundDisplay(Ms(0, 5), Ms(3, 0)), "00:05/03:00");
  EXPECT_EQ(FormatSoundDisplay(Ms(100, 1), Ms(120, 0)), "100:01/120:00");
  EXPECT_EQ(FormatSoundDisplay(Ms(99, 59), Ms(100, 0)), "99:59/100:00");
}

TEST(SoundDisplay, StepsGoATenthOfTheLengthAndStayWithinTheFile) {
  struct Case {
    uint32_t position, total, back, forward;
  } cases[] = {
      {Ms(0, 5), Ms(1, 40), 0, Ms(0, 15)},   // 1:40 gives 10 s steps
      {Ms(0, 10), Ms(1, 40), 0, Ms(0, 20)},  // exactly one step back reaches the start
      {Ms(0, 30), Ms(1, 40), Ms(0, 20), Ms(0, 40)},
      {Ms(1, 35), Ms(1, 40), Ms(1, 25), Ms(1, 40)},  // forward stops at the end
      {Ms(1, 40), Ms(1, 40), Ms(1, 30), Ms(1, 40)},
      {0, 0, 0, 0},                                   // a file that did not open
      {Ms(50, 0), Ms(150, 0), Ms(35, 0), Ms(65, 0)},  // past 100 minutes
      {UINT32_MAX - 5, UINT32_MAX, UINT32_MAX - 5 - UINT32_MAX / 10, UINT32_MAX},  // no wrap
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SoundStepBack(c.position, c.total), c.back) << c.position << " of " << c.total;
    EXPECT_EQ(SoundStepForward(c.position, c.total), c.forward) << c.position << " of " << c.total;
  }
}

TEST(SoundDisplay, TheThumbStandsForASecondOfTheFile) {
  struct Case {
    int32_t position, minimum, maximum;
    uint32_t totalSeconds;
    int64_t seconds;
  } cases[] = {
      {120, 0, 1800, 180, 12},  // 0:12 of 3:00 (tenths of a second on the slider)
      {0, 0, 1800, 180, 0},
      {1800, 0, 1800, 180, 180},
      {1799, 0, 1800, 180, 179},
      {0, 0, 0, 0, -1},  // a file that did not open: empty range
      {5, 10, 10, 1, -1},
      {5, 10, 3, 1, -1},  // reversed
      // Ten hours: 360000 x 36000 is past 32 bits.
      {360000, 0, 360000, 36000, 36000},
      {180000, 0, 360000, 36000, 18000},
      {-3, 0, 100, 10, 0},  // a position outside the range is kept within the file
      {130, 0, 100, 10, 10},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SoundSliderSeconds(c.position, c.minimum, c.maximum, c.totalSeconds), c.seconds)
        << c.position << " in " << c.minimum << ".." << c.maximum;
  }
}

TEST(SoundDisplay, AReleasedThumbResumesOneSecondOnOrAtTheEnd) {
  struct Case {
    int64_t seconds;
    uint32_t totalSeconds;
    bool toEnd;
    uint32_t ms;
  } cases[] = {
      {12, 180, false, 13000},  // released at 0:12 of 3:00 resumes at 0:13
      {0, 180, false, 1000},
      {178, 180, false, 179000},
      {179, 180, true, 0},  // the second after it is the end
      {180, 180, true, 0},
      {0, 0, true, 0},
      {35999, 72000, false, 36000000},  // ten hours into a twenty-hour file
  };
  for (const Case& c : cases) {
    const SoundSeek seek = SoundReleaseSeek(c.seconds, c.totalSeconds);
    EXPECT_EQ(seek.toEnd, c.toEnd) << c.seconds << " of " << c.totalSeconds;
    if (!c.toEnd) {
      EXPECT_EQ(seek.ms, c.ms) << c.seconds << " of " << c.totalSeconds;
    }
  }
}

TEST(SoundDisplay, TransportButtonsFollowThePositionAndThePlayer) {
  struct Case {
    bool enabled;
    int32_t minimum, maximum, position;
    bool playing;
    SoundTransport expected;
  } cases[] = {
      {false, 0, 100, 50, true, {false, false, false, false}},  // no file: nothing
      {true, 0, 100, 0, false, {false, true, false, true}},     // at the start, stopped
      {true, 0, 100, 0, true, {false, false, true, true}},      // just started
      {true, 0, 100, 50, false, {true, true, false, true}},     // paused half way
      {true, 0, 100, 50, true, {true, false, true, true}},
      {true, 0, 100, 100, false, {true, false, false, false}},  // at the end
      {true, 0, 0, 0, false, {false, true, false, true}},       // empty range: at the start
  };
  for (const Case& c : cases) {
    const SoundTransport t =
        SoundTransportEnables(c.enabled, c.minimum, c.maximum, c.position, c.playing);
    const std::string where = std::to_string(c.position) + (c.playing ? " playing" : " stopped");
    EXPECT_EQ(t.back, c.expected.back) << where;
    EXPECT_EQ(t.play, c.expected.play) << where;
    EXPECT_EQ(t.stop, c.expected.stop) << where;
    EXPECT_EQ(t.forward, c.expected.forward) << where;
  }
}

}  // namespace
