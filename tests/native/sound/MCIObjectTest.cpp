// The media player object over a recorded MCI sender: which commands reach the device, in what
// order, with which flags, and what the object reports back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sound/MCIObject.h"
#include "tests/native/sound/MCIRecorder.h"

namespace {

constexpr MCIERROR kFileNotFound = 275;  // MCIERR_FILE_NOT_FOUND
constexpr MCIERROR kNoDevice = 265;      // what a waiting play gives without a sound device

HWND FakeWindow() { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x4242)); }

TEST(MCIObject, OpenSendsTheElementThenTheTimeFormatToTheNewDevice) {
  mcitest::Recorder mci;
  CMCIObject object;
  char name[] = "C:\\sounds\\a.wav";
  ASSERT_TRUE(object.Open(name));
  EXPECT_TRUE(object.IsOpen());
  EXPECT_EQ(object.GetDeviceID(), 7u);
  EXPECT_EQ(mci.Sequence(), "OPEN(0) SET(7)");
  EXPECT_EQ(mci.calls[0].flags, static_cast<DWORD_PTR>(MCI_OPEN_ELEMENT | MCI_WAIT));
  EXPECT_EQ(mci.calls[0].element, "C:\\sounds\\a.wav");
  EXPECT_EQ(mci.calls[1].flags, static_cast<DWORD_PTR>(MCI_SET_TIME_FORMAT | MCI_WAIT));
  EXPECT_EQ(mci.calls[1].timeFormat, static_cast<DWORD>(MCI_FORMAT_MILLISECONDS));
  // The object names its own copy: the caller's buffer may change or go away after Open.
  EXPECT_NE(mci.calls[0].elementPointer, name);
  std::strcpy(name, "changed");
  EXPECT_STREQ(object.GetElementName(), "C:\\sounds\\a.wav");
}

TEST(MCIObject, OpenOfAMissingFileFailsAndStaysClosed) {
  mcitest::Recorder mci;
  mci.failures[MCI_OPEN] = kFileNotFound;
  CMCIObject object;
  EXPECT_FALSE(object.Open("missing.wav"));
  EXPECT_FALSE(object.IsOpen());
  EXPECT_EQ(mci.Sequence(), "OPEN(0)");
  // Closed: later calls send nothing, and the destructor sends no close.
  object.Stop();
  object.Close();
  EXPECT_EQ(mci.Sequence(), "OPEN(0)");
}

TEST(MCIObject, OpenWhileOpenStopsAndClosesTheFirstDevice) {
  mcitest::Recorder mci;
  CMCIObject object;
  ASSERT_TRUE(object.Open("a.wav"));
  ASSERT_TRUE(object.Open("b.mid"));
  EXPECT_EQ(mci.Sequence(), "OPEN(0) SET(7) STOP(7) CLOSE(7) OPEN(0) SET(8)");
  EXPECT_EQ(object.GetDeviceID(), 8u);
  EXPECT_EQ(mci.calls[4].element, "b.mid");
}

TEST(MCIObject, AFailedTimeFormatClosesTheFreshDevice) {
  mcitest::Recorder mci;
  mci.failures[MCI_SET] = 274;
  CMCIObject object;
  EXPECT_FALSE(object.Open("a.wav"));
  EXPECT_FALSE(object.IsOpen());
  EXPECT_EQ(mci.Sequence(), "OPEN(0) SET(7) CLOSE(7)");
}

TEST(MCIObject, ClosedObjectAnswersZeroAndSendsNothing) {
  mcitest::Recorder mci;
  CMCIObject object;
  EXPECT_EQ(object.GetPosition(), 0u);
  EXPECT_EQ(object.GetLength(), 0u);
  EXPECT_FALSE(object.IsPlaying());
  EXPECT_FALSE(object.Seek(100));
  EXPECT_FALSE(object.SeekToEnd());
  EXPECT_FALSE(object.PlayWait());
  EXPECT_FALSE(object.Play(FakeWindow()));
  object.Stop();
  object.Close();
  EXPECT_TRUE(mci.calls.empty()) << mci.Sequence();
}

TEST(MCIObject, CloseStopsThenClosesAndForgetsTheDeviceWhateverItAnswers) {
  mcitest::Recorder mci;
  CMCIObject object;
  ASSERT_TRUE(object.Open("a.wav"));
  mci.failures[MCI_STOP] = 263;
  mci.failures[MCI_CLOSE] = 263;
  object.Close();
  EXPECT_FALSE(object.IsOpen());
  EXPECT_EQ(mci.Sequence(), "OPEN(0) SET(7) STOP(7) CLOSE(7)");
  EXPECT_EQ(mci.calls[3].flags, static_cast<DWORD_PTR>(MCI_WAIT));
}

TEST(MCIObject, DestructorClosesAnOpenDevice) {
  mcitest::Recorder mci;
  {
    CMCIObject object;
    ASSERT_TRUE(object.Open("a.wav"));
  }
  EXPECT_EQ(mci.Sequence(), "OPEN(0) SET(7) STOP(7) CLOSE(7)");
}

TEST(MCIObject, PlayWaitSeeksToTheStartAndReportsWhetherThePlaySucceeded) {
  mcitest::Recorder mci;
  CMCIObject object;
  ASSERT_TRUE(object.Open("a.wav"));
  EXPECT_TRUE(object.PlayWait());
  mci.failures[MCI_SEEK] = 274;  // the seek's answer does not matter
  EXPECT_TRUE(object.PlayWait());
  mci.failures[MCI_PLAY] = kNoDevice;
  EXPECT_FALSE(object.PlayWait());
  EXPECT_EQ(mci.Sequence(), "OPEN(0) SET(7) SEEK(7) PLAY(7) SEEK(7) PLAY(7) SEEK(7) PLAY(7)");
  EXPECT_EQ(mci.calls[2].flags, static_cast<DWORD_PTR>(MCI_SEEK_TO_START | MCI_WAIT));
  EXPECT_EQ(mci.calls[3].flags, static_cast<DWORD_PTR>(MCI_WAIT));
}

TEST(MCIObject, PlayNotifiesTheWindowFromTheCurrentPosition) {
  mcitest::Recorder mci;
  CMCIObject object;
  ASSERT_TRUE(object.Open("a.wav"));
  ASSERT_TRUE(object.Seek(1500));
  EXPECT_TRUE(object.Play(FakeWindow()));
  EXPECT_EQ(mci.Sequence(), "OPEN(0) SET(7) SEEK(7) PLAY(7)");
  EXPECT_EQ(mci.calls[2].flags, static_cast<DWORD_PTR>(MCI_TO | MCI_WAIT));
  EXPECT_EQ(mci.calls[2].to, 1500u);
  EXPECT_EQ(mci.calls[3].flags, static_cast<DWORD_PTR>(MCI_NOTIFY));
  EXPECT_EQ(mci.calls[3].callback, reinterpret_cast<DWORD_PTR>(FakeWindow()));
  mci.failures[MCI_PLAY] = kNoDevice;
  EXPECT_FALSE(object.Play(FakeWindow()));
}

TEST(MCIObject, SeekToEndAndSeekFailuresGiveFalse) {
  mcitest::Recorder mci;
  CMCIObject object;
  ASSERT_TRUE(object.Open("a.wav"));
  EXPECT_TRUE(object.SeekToEnd());
  EXPECT_EQ(mci.calls.back().flags, static_cast<DWORD_PTR>(MCI_SEEK_TO_END | MCI_WAIT));
  mci.failures[MCI_SEEK] = 274;
  EXPECT_FALSE(object.SeekToEnd());
  EXPECT_FALSE(object.Seek(10));
}

TEST(MCIObject, StatusQueriesAskForTheirItem) {
  mcitest::Recorder mci;
  mci.replies[MCI_STATUS_POSITION] = 1234;
  mci.replies[MCI_STATUS_LENGTH] = 5678;
  CMCIObject object;
  ASSERT_TRUE(object.Open("a.wav"));
  EXPECT_EQ(object.GetPosition(), 1234u);
  EXPECT_EQ(mci.calls.back().item, static_cast<DWORD>(MCI_STATUS_POSITION));
  EXPECT_EQ(mci.calls.back().flags, static_cast<DWORD_PTR>(MCI_STATUS_ITEM | MCI_WAIT));
  EXPECT_EQ(object.GetLength(), 5678u);
  EXPECT_EQ(mci.calls.back().item, static_cast<DWORD>(MCI_STATUS_LENGTH));
  mci.failures[MCI_STATUS] = 263;
  EXPECT_EQ(object.GetPosition(), 0u);
  EXPECT_EQ(object.GetLength(), 0u);
}

TEST(MCIObject, OnlyThePlayModeCountsAsPlaying) {
  struct Case {
    DWORD_PTR mode;
    BOOL playing;
  } cases[] = {{526, TRUE},
               {525, FALSE} /* stopped */,
               {529, FALSE} /* paused */,
               {527, FALSE} /* recording */,
               {528, FALSE} /* seeking */};
  for (const Case& c : cases) {
    mcitest::Recorder mci;
    mci.replies[MCI_STATUS_MODE] = c.mode;
    CMCIObject object;
    ASSERT_TRUE(object.Open("a.wav"));
    EXPECT_EQ(object.IsPlaying(), c.playing) << "mode " << c.mode;
    EXPECT_EQ(mci.calls.back().item, static_cast<DWORD>(MCI_STATUS_MODE));
  }
  mcitest::Recorder failing;
  failing.replies[MCI_STATUS_MODE] = 526;
  failing.failures[MCI_STATUS] = 263;
  CMCIObject object;
  ASSERT_TRUE(object.Open("a.wav"));
  EXPECT_FALSE(object.IsPlaying());
}

}  // namespace
