// The error splash: error texts by number, a given message over the number, a failing caption
// retried at most once a second, a stop that ends the loop, and the whole splash on a screen
// document until a stop.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/SpriteList.h"
#include "saver/SplashError.h"
#include "seams/Clock.h"
#include "tests/native/transitions/CaptionScreen.h"

namespace {

TEST(SplashErrorText, NumbersGiveTheirTextsAndOthersUnknownError) {
  const struct {
    int number;
    const char* text;
  } cases[] = {
      {1, "Unable to access registry settings - Screen saver needs to be reinstalled"},
      {25, "Unable to find registry key"},
      {37, "Unable to find any images in selected directory"},
      {0, "Unknown error"},
      {3, "Unknown error"},
      {38, "Unknown error"},
      {99, "Unknown error"},
      {-1, "Unknown error"},
  };
  for (const auto& c : cases) {
    CString text = "left over";
    GetSplashErrorText(c.number, &text);
    EXPECT_STREQ(text, c.text) << c.number;
  }
}

TEST(SplashErrorText, AGivenMessageWinsOverTheNumberAndAnEmptyOneDoesNot) {
  const CString given = "RunSlideShow Error Message: Unable to load image";
  const CString empty;
  EXPECT_STREQ(SplashErrorMessage(25, &given), given);
  EXPECT_STREQ(SplashErrorMessage(0, &given), given);
  EXPECT_STREQ(SplashErrorMessage(25, &empty), "Unable to find registry key");
  EXPECT_STREQ(SplashErrorMessage(25, nullptr), "Unable to find registry key");
  EXPECT_STREQ(SplashErrorMessage(3, nullptr), "Unknown error");
}

class SplashLoopTest : public ::testing::Test {
 protected:
  void SetUp() override { seams::ClearStop(); }
  void TearDown() override { seams::ClearStop(); }
  seams::TestClock clock{1000, 1, 1};
  seams::ScopedClock scoped{&clock};
};

TEST_F(SplashLoopTest, AFailingCaptionIsRetriedAtMostOnceASecondUntilAStop) {
  std::vector<uint32_t> calls;
  RunSplashErrorLoop(
      [&](const ImageTextFXRequest&) {
        calls.push_back(clock.Peek());
        if (calls.size() == 6) seams::RequestStop();
        return FALSE;
      },
      ImageTextFXRequest());
  ASSERT_EQ(calls.size(), 6u) << "the stop ends the loop";
  for (size_t i = 1; i < calls.size(); ++i) EXPECT_GE(calls[i] - calls[i - 1], 1000u);
}

TEST_F(SplashLoopTest, ACaptionThatWorksIsShownAgainAtOnce) {
  std::vector<uint32_t> calls;
  RunSplashErrorLoop(
      [&](const ImageTextFXRequest&) {
        calls.push_back(clock.Peek());
        clock.Advance(15000);  // the caption's own time
        if (calls.size() == 3) seams::RequestStop();
        return TRUE;
      },
      ImageTextFXRequest());
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_LT(calls[2] - calls[1], 15100u);
}

TEST_F(SplashLoopTest, ARequestedStopShowsNothing) {
  seams::RequestStop();
  int calls = 0;
  RunSplashErrorLoop([&](const ImageTextFXRequest&) { return ++calls, TRUE; },
                     ImageTextFXRequest());
  EXPECT_EQ(calls, 0);
}

TEST(SplashErrorRequest, TheSplashSlidesAWhiteOnRedBoxThatBouncesForHours) {
  CString a = "a", b = "b", c = "c";
  const ImageTextFXRequest r = SplashErrorRequest(&a, &b, &c);
  EXPECT_EQ(r.mode, 0);
  EXPECT_EQ(r.clockOn, 0);
  EXPECT_EQ(r.titleStyle, 15);
  EXPECT_EQ(r.bodyStyle, 5);
  EXPECT_EQ(r.textColour, 19);
  EXPECT_EQ(r.backgroundColour, 13);
  EXPECT_EQ(r.borderStyle, 3);
  EXPECT_EQ(r.contentStyle, 2);
  EXPECT_EQ(r.bounceDuration, 30000);
  EXPECT_EQ(r.bounceSpeed, 85);
  EXPECT_EQ(r.header, &a);
  EXPECT_EQ(r.body, &c);
}

TEST_F(SplashLoopTest, TheSplashShowsItsBoxOnTheScreenUntilAStop) {
  captiontest::CaptionScreen screen(640, 480);
  const std::vector<BYTE> background = captiontest::Indexes(*screen.doc.background);
  int flushes = 0;
  size_t most = 0;
  screen.doc.onFlush = [&] {
    most = std::max<size_t>(most, static_cast<size_t>(screen.doc.sprites.GetCount()));
    if (++flushes == 2000) seams::RequestStop();
  };
  const CString given = "Unable to run image transition effects";
  ShowSplashErrorText(screen, 0, &given);
  EXPECT_GE(flushes, 2000);
  EXPECT_EQ(most, 5u) << "the box and its four waiting quarters";
  EXPECT_EQ(screen.doc.sprites.GetCount(), 0);
  EXPECT_EQ(captiontest::Indexes(*screen.doc.background), background);
}

}  // namespace
