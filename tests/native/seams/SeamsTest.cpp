#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "seams/Alerts.h"
#include "seams/Clock.h"
#include "seams/FileChooser.h"
#include "seams/ProcessLaunch.h"
#include "seams/Random.h"
#include "seams/Trace.h"
#include "tests/support/ThreadCpu.h"

namespace {

// The C runtime's first ten values after srand(1): the picks of both builds depend on them.
TEST(RandomSeam, ReproducesTheRuntimeSequence) {
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  seams::Srand(1);
  for (int value : expected) EXPECT_EQ(value, seams::Rand());
}

TEST(RandomSeam, EachThreadHasItsOwnSequence) {
  seams::Srand(12345);
  int here = seams::Rand();
  int there = -1;
  std::thread([&] { there = seams::Rand(); }).join();  // unseeded: behaves as seed 1
  EXPECT_EQ(41, there);
  seams::Srand(12345);
  EXPECT_EQ(here, seams::Rand());
}

TEST(ClockSeam, SignedDeadlineComparison) {
  struct Case {
    uint32_t now, deadline;
    bool before;
  } cases[] = {
      {100, 200, true},           {200, 200, false},
      {300, 200, false},          {0xFFFFFFF0u, 0x10, true},  // deadline lies past the wrap
      {0x10, 0xFFFFFFF0u, false},                             // the wrap has passed the deadline
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.before, seams::TickBefore(c.now, c.deadline)) << c.now << " vs " << c.deadline;
}

TEST(ClockSeam, WaitsEndInVirtualTimeAcrossTheWrap) {
  seams::TestClock clock(0xFFFFFF00u, 1, 5);
  seams::ScopedClock scoped(&clock);
  const uint32_t start = seams::TickCount();
  EXPECT_TRUE(seams::WaitMilliseconds(600000));  // ten minutes
  EXPECT_FALSE(seams::TickBefore(seams::TickCount(), start + 600000));
  EXPECT_GT(clock.IdleCalls(), 0u);
  EXPECT_LT(clock.IdleCalls(), 200000u);
}

TEST(ClockSeam, StopRequestEndsAWait) {
  seams::TestClock clock;
  seams::ScopedClock scoped(&clock);
  seams::RequestStop();
  EXPECT_FALSE(seams::WaitMilliseconds(1000000));
  seams::ClearStop();
  EXPECT_TRUE(seams::WaitMilliseconds(10));
}

// On the system clock a wait sleeps: it costs a small part of its length in processor time
// (a loop that only yields costs all of it), and a stop raised by another thread wakes it at
// once. The bounds are wide: these check that nothing spins or hangs, not how fast it wakes.
TEST(ClockSeam, SystemClockWaitsSleepAndWakeOnAStop) {
  const double before = testsupport::ThreadCpuMs();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(seams::WaitMilliseconds(300));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(290));
  EXPECT_LT(testsupport::ThreadCpuMs() - before, 100.0);

  bool finished = false;
  const auto stopStart = std::chrono::steady_clock::now();
  std::thread waiter([&] { finished = !seams::WaitMilliseconds(600000); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  seams::RequestStop();
  waiter.join();
  seams::ClearStop();
  EXPECT_TRUE(finished);
  EXPECT_LT(std::chrono::steady_clock::now() - stopStart, std::chrono::milliseconds(500));
}

TEST(ClockSeam, WallSecondsFollowTheTicks) {
  seams::TestClock clock(0, 1, 1, 1000);
  seams::ScopedClock scoped(&clock);
  EXPECT_EQ(1000, seams::WallSeconds());
  clock.Advance(2500);
  EXPECT_EQ(1002, seams::WallSeconds());
}

TEST(AlertSeam, ThreadSinkOverridesTheProcessSink) {
  seams::ScopedAlertRecorder process(seams::kAnswerNo);
  seams::RecordingAlertSink mine(seams::kAnswerYes);
  EXPECT_EQ(seams::kAnswerNo, seams::Alert("one", "Alert"));
  seams::AlertSink* previous = seams::InstallThreadAlertSink(&mine);
  EXPECT_EQ(seams::kAnswerYes, seams::Alert("two", nullptr, seams::kAlertIconHand));
  std::thread([] { seams::Alert("three", "Screen Saver Error"); }).join();
  seams::InstallThreadAlertSink(previous);

  ASSERT_EQ(2u, process.Records().size());
  EXPECT_EQ("one", process.Records()[0].text);
  EXPECT_EQ("Alert", process.Records()[0].caption);
  EXPECT_EQ("three", process.Records()[1].text);
  ASSERT_EQ(1u, mine.Records().size());
  EXPECT_EQ("two", mine.Records()[0].text);
  EXPECT_EQ("", mine.Records()[0].caption);
  EXPECT_EQ(seams::kAlertIconHand, mine.Records()[0].flags);
}

// A box raised while a dialog handles a message belongs to that dialog, whichever routine raised
// it; an explicit owner wins, scopes nest, and another thread keeps its own owner.
TEST(AlertSeam, TheScopedOwnerOwnsAlertsThatNameNone) {
  seams::ScopedAlertRecorder recorder;
  int settings = 0, subDialog = 0, other = 0;
  seams::Alert("before");
  {
    const seams::ScopedAlertOwner outer(&settings);
    seams::Alert("outer");
    {
      const seams::ScopedAlertOwner inner(&subDialog);
      seams::Alert("inner");
      seams::Alert("explicit", nullptr, seams::kAlertOk, &other);
      std::thread([] { seams::Alert("thread"); }).join();
    }
    seams::Alert("outer again");
  }
  seams::Alert("after");
  const std::vector<std::pair<std::string, void*>> expected = {
      {"before", nullptr}, {"outer", &settings},       {"inner", &subDialog}, {"explicit", &other},
      {"thread", nullptr}, {"outer again", &settings}, {"after", nullptr}};
  ASSERT_EQ(expected.size(), recorder.Records().size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(expected[i].first, recorder.Records()[i].text);
    EXPECT_EQ(expected[i].second, recorder.Records()[i].owner) << expected[i].first;
  }
}

// One failure, one box: the steps that fail after it say nothing, a yes/no question that is
// dropped answers no, and once the scope ends every alert shows again.
TEST(AlertSeam, FirstAlertOnlyDropsTheFollowingOnes) {
  seams::ScopedAlertRecorder recorder(seams::kAnswerYes);
  {
    seams::ScopedFirstAlertOnly once;
    EXPECT_EQ(seams::kAnswerYes, seams::Alert("cause", nullptr, seams::kAlertYesNo));
    EXPECT_EQ(seams::kAnswerNo, seams::Alert("step two", nullptr, seams::kAlertYesNo));
    EXPECT_EQ(seams::kAnswerOk, seams::Alert("step three"));
    EXPECT_EQ(1, once.Shown());
    EXPECT_EQ(2, once.Dropped());
  }
  seams::Alert("later");
  ASSERT_EQ(2u, recorder.Records().size());
  EXPECT_EQ("cause", recorder.Records()[0].text);
  EXPECT_EQ("later", recorder.Records()[1].text);
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path);  // text mode: the trace file has CRLF line ends on Windows
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(TraceSeam, ScopesWriteStartAndEndLinesOnlyWhileOn) {
  const auto path =
      std::filesystem::temp_directory_path() /
      ("seams_trace_test_" +
       std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".txt");
  seams::Trace::Printf("before open\n");
  ASSERT_TRUE(seams::Trace::Open(path.string().c_str(), "BANNER"));
  {
    seams::TraceScope scope("GetImage");
    seams::Trace::Printf("w=%d\n", 640);
    seams::TraceMessageScope message("TopTenDlgProc", 0x110, 0x1, 0x2);
    message.Ending();
  }
  seams::Trace::Close();
  EXPECT_FALSE(seams::Trace::IsOn());
  { seams::TraceScope late("AfterClose"); }

  EXPECT_EQ(
      "BANNER\n"
      "GetImage - start\n"
      "w=640\n"
      "TopTenDlgProc - Starting Message=110, wParam=1, lParam=2\n"
      "TopTenDlgProc - Ending Message=110, wParam=1, lParam=2\n"
      "GetImage - end\n",
      ReadAll(path));
  std::filesystem::remove(path);
}

TEST(TraceSeam, OpenFailureLeavesTracingOff) {
  EXPECT_FALSE(seams::Trace::Open("no_such_dir_for_trace/x/KLVTRACE.TXT", "BANNER"));
  EXPECT_FALSE(seams::Trace::IsOn());
  seams::Trace::Printf("ignored\n");
}

// Without a recorder the shell starts the program: one that does not exist is refused with the
// shell's "file not found" (natively nothing can start, with the same answer). Recorders nest
// and each puts back the one before it.
TEST(ProcessLaunchSeam, RecordersNestAndTheDefaultRefusesAMissingProgram) {
  const seams::LaunchRequest missing{"no-such-program-here.exe", "/s", "", 3};
  EXPECT_EQ(seams::LaunchProcess(missing), seams::kLaunchFileNotFound);
  {
    seams::ScopedLaunchRecorder outer;
    {
      seams::ScopedLaunchRecorder inner(5);
      EXPECT_EQ(seams::LaunchProcess(missing), 5);
    }
    EXPECT_EQ(seams::LaunchProcess(missing), 0);
    ASSERT_EQ(outer.Requests().size(), 1u);
    EXPECT_EQ(outer.Requests()[0].file, "no-such-program-here.exe");
    EXPECT_EQ(outer.Requests()[0].parameters, "/s");
    EXPECT_EQ(outer.Requests()[0].showState, 3);
  }
  EXPECT_EQ(seams::LaunchProcess(missing), seams::kLaunchFileNotFound);
}

TEST(FileChooserSeam, AScriptedChooserAnswersInTurnAndTheDefaultComesBack) {
  seams::OpenFileRequest request;
  request.title = "Pick";
  std::string path = "unchanged";
  {
    seams::ScriptedFileChooser chooser;
    chooser.answers = {"C:\\a.wav", ""};
    EXPECT_TRUE(seams::ChooseFileToOpen(request, path));
    EXPECT_EQ(path, "C:\\a.wav");
    path = "unchanged";
    EXPECT_FALSE(seams::ChooseFileToOpen(request, path));  // an empty answer cancels
    EXPECT_FALSE(seams::ChooseFileToOpen(request, path));  // so does running out of answers
    EXPECT_EQ(path, "unchanged");
    ASSERT_EQ(chooser.requests.size(), 3u);
    EXPECT_EQ(chooser.requests[0].title, "Pick");
  }
#ifndef _WIN32
  // Natively there is no dialog: every request is cancelled.
  EXPECT_FALSE(seams::ChooseFileToOpen(request, path));
  EXPECT_EQ(path, "unchanged");
#endif
}

}  // namespace
