// The drawing thread's choices: the next picture of a set or of the own images (stored as the
// last image number), the set's descriptions with the thread's error numbers, the "Combo"
// routine's draws, and the routine a picture area gets.
#include "saver/ImagePickers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "imageset/ImageSet.h"
#include "saver/RoutineTable.h"
#include "seams/Alerts.h"
#include "seams/Random.h"
#include "seams/Registry.h"
#include "settings/IniSettings.h"
#include "settings/SaverInfo.h"
#include "tests/support/ImageSetWriter.h"
#include "tests/support/TempFolder.h"

namespace {

constexpr char kKey[] = "Software\\Test\\Saver";

class ImagePickersTest : public ::testing::Test {
 public:
  std::string Stored(const char* name) const {
    std::string text;
    return registry_.Get(kKey, name, &text) ? text : "<missing>";
  }
  void SetUp() override { registry_.Put(kKey, kLastImageNoValue, "x"); }

  seams::MemoryRegistry registry_;
  seams::ScopedRegistry scoped_{&registry_};
};

TEST_F(ImagePickersTest, NextPictureOfASet) {
  struct Case {
    int current, count, topTenOn;
    const char* playList;
    int next;
  } cases[] = {
      {11, 12, 0, "", 0},  // the last picture wraps to the first
      {-1, 12, 0, "", 0},  // a stored "-1": nothing shown yet
      {-7, 12, 0, "", 0},  // a hand-edited negative number starts again rather than failing
      {4, 12, 0, "", 5},
      {40, 12, 0, "", 5},  // a number left from a larger set wraps into this one
      {51, 52, 0, "", 0},
      {7, 12, 1, "3,7", 3},  // the play list decides, wrapping
      {3, 12, 1, "3,7", 7},
      {5, 12, 1, "3,7", 3},  // a picture not listed goes to the list's first
      {-1, 12, 1, "3,7", 3},
      {7, 12, 1, "3,99", 8},  // an invalid list falls back to the sequence
      {7, 12, 1, "", 8},
      {7, 12, 0, "3,7", 8},  // top ten off: the list is not looked at
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("current " + std::to_string(c.current) + " of " + std::to_string(c.count) +
                 ", list \"" + c.playList + "\" " + (c.topTenOn ? "on" : "off"));
    CString error;
    EXPECT_EQ(GetNextSSImageNo(kKey, c.current, c.count, c.topTenOn, c.playList, &error), c.next);
    EXPECT_TRUE(error.IsEmpty()) << error;
    EXPECT_EQ(Stored(kLastImageNoValue), std::to_string(c.next));
  }
}

TEST_F(ImagePickersTest, NextPictureFailures) {
  CString error;
  EXPECT_EQ(GetNextSSImageNo(kKey, 0, 0, 0, "", &error), -1) << "an empty set";
  EXPECT_FALSE(error.IsEmpty());
  error.Empty();
  registry_.FailNth(seams::RegOp::Set, 1);
  EXPECT_EQ(GetNextSSImageNo(kKey, 0, 12, 0, "", &error), -1) << "the number cannot be stored";
  EXPECT_EQ(std::string(error), "SetLastImageNoIniSetting Error Message - No reg set");
}

TEST_F(ImagePickersTest, NextOwnImage) {
  const std::vector<CString> names = {"a.jpg", "b.bmp", "c.jpg"};
  struct Case {
    int current, next;
  } cases[] = {{-1, 0}, {0, 1}, {2, 0}, {9, 1}};
  for (const Case& c : cases) {
    CString error;
    EXPECT_EQ(GetNextSSOwnImagesImageNo(kKey, c.current, names, &error), c.next) << c.current;
    EXPECT_EQ(Stored(kOwnImagesLastImageNoValue), std::to_string(c.next));
  }
  CString error;
  EXPECT_EQ(GetNextSSOwnImagesImageNo(kKey, 0, {}, &error), -1);
  EXPECT_EQ(std::string(error),
            "GetNextSSOwnImagesImageNo Error Message - Value outside allowed range");
}

TEST(SaverDescriptionsTest, ErrorNumbers) {
  testsupport::TempFolder folder("descs");
  CImageDesc record;
  const std::vector<const CImageDesc*> twelve(12, &record);
  const imagesettest::Bytes good = imagesettest::WriteImageDescriptions(1, 12, twelve);
  imagesettest::Bytes truncated = good;
  truncated.resize(good.size() - 3);
  struct Case {
    const char* name;
    const imagesettest::Bytes* bytes;  // null: no file
    int count, error;
  } cases[] = {
      {"no file", nullptr, 0, 4},
      {"twelve", &good, 12, 0},
      {"a count of 13", nullptr, 0, 9},
      {"a record cut short", &truncated, 0, 9},
  };
  const imagesettest::Bytes thirteen = imagesettest::WriteImageDescriptions(1, 13, twelve);
  cases[2].bytes = &thirteen;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = imagesettest::JoinPath(folder.str(), c.name);
    if (c.bytes) {
      ASSERT_TRUE(imagesettest::WriteFileBytes(path, *c.bytes));
    }
    SaverInfo info;
    CObArray array;
    seams::ScopedAlertRecorder alerts;
    EXPECT_EQ(GetImageDescArray(&info, path.c_str(), &array), c.count);
    EXPECT_EQ(info.nRunTimeError, c.error);
    EXPECT_EQ(array.GetSize(), c.count) << "a failure leaves no records behind";
    EXPECT_TRUE(alerts.Records().empty()) << "the thread reports by number, not by box";
    DeleteImageDescs(&array);
  }
}

TEST(ComboRoutineTest, NeverRepeatsAndKeepsItsWeights) {
  const int weights[6] = {4, 3, 3, 3, 3, 4};
  seams::Srand(12345);
  for (int previous = -1; previous <= kRoutineCombo; ++previous) {
    SCOPED_TRACE("previous " + std::to_string(previous));
    int counts[6] = {};
    int total = 20;
    if (previous >= 0 && previous < 6) total -= weights[previous];
    constexpr int kDraws = 10000;
    for (int i = 0; i < kDraws; ++i) {
      const int routine = PickComboRoutine(previous);
      ASSERT_TRUE(routine >= 0 && routine < 6) << routine;
      ASSERT_NE(routine, previous);
      ++counts[routine];
    }
    for (int r = 0; r < 6; ++r) {
      const double expected = r == previous ? 0.0 : static_cast<double>(weights[r]) / total;
      EXPECT_NEAR(static_cast<double>(counts[r]) / kDraws, expected, 0.02) << "routine " << r;
    }
  }
}

TEST(ComboRoutineTest, ChainedDrawsNeverRepeat) {
  seams::Srand(7);
  int previous = kRoutineCombo;
  for (int i = 0; i < 10000; ++i) {
    const int routine = ChooseCycleRoutine(kRoutineCombo, previous, RECT{0, 0, 640, 480});
    ASSERT_NE(routine, previous) << "draw " << i;
    previous = routine;
  }
}

TEST(CycleRoutineTest, SmallAreasGetTheSlideShow) {
  struct Case {
    RECT area;
    bool small;
  } cases[] = {
      {{0, 0, 640, 480}, false}, {{10, 10, 110, 110}, false}, {{0, 0, 99, 480}, true},
      {{0, 0, 640, 99}, true},   {{50, 50, 50, 50}, true},
  };
  for (const Case& c : cases) {
    for (int setting = 0; setting < kRoutineNumberCount; ++setting) {
      const int routine = ChooseCycleRoutine(setting, 3, c.area);
      if (c.small) {
        EXPECT_EQ(routine, kRoutineSlideShow) << setting;
      } else if (setting == kRoutineCombo) {
        EXPECT_TRUE(routine >= 0 && routine < 6 && routine != 3) << routine;
      } else {
        EXPECT_EQ(routine, setting);
      }
    }
  }
}

TEST(CycleRoutineTest, SlideShowTime) {
  EXPECT_EQ(SlideShowSeconds(60), 60);
  EXPECT_EQ(SlideShowSeconds(600), 600);
  seams::Srand(1);
  int low = 1000, high = 0;
  for (int i = 0; i < 2000; ++i) {
    const int s = SlideShowSeconds(0);
    low = std::min(low, s);
    high = std::max(high, s);
  }
  EXPECT_EQ(low, 120);
  EXPECT_EQ(high, 239);
}

}  // namespace
