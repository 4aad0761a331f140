// The screen-saver module end to end: the virtual-time variant started with /s on a demo image
// set under Xvfb. The test holds the saver at marks in virtual time, captures the screen and
// reads the trace there, then ends it with a key as a user would.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ScreenSaver.h"
#include "tests/wine/saverrun/SaverRunFixture.h"

namespace {

using namespace saverrun;

const std::optional<DWORD> kExitedOk = 0;

// Captions in mode 0, the clock on, pictures at 640 x 480, the slide show at 120 s per
// picture, tracing on, starting after picture 0.
const std::vector<std::pair<const char*, const char*>> kDemoRun = {
    {"TRACEON", "1"},    {"CLOCKON", "1"},       {"SOUND_ON", "0"},
    {"IMAGE_SIZE", "1"}, {"TEXTFX_TEXTON", "1"}, {"TEXTFX_TRANSSELECTION", "0"},
    {"SSFN", "7"},       {"TIME", "2"},          {"LASTIMAGENO", "0"},
};

// The smallest rectangle holding every pixel with colour (not a grey), outside `skip`.
RECT ColouredBounds(const ScreenCapture& capture, const RECT& skip) {
  RECT bounds{capture.Width(), capture.Height(), 0, 0};
  for (int y = 0; y < capture.Height(); ++y) {
    for (int x = 0; x < capture.Width(); ++x) {
      const POINT at{x, y};
      if (PtInRect(&skip, at)) continue;
      const COLORREF c = capture.At(x, y);
      const int high = std::max({GetRValue(c), GetGValue(c), GetBValue(c)});
      const int low = std::min({GetRValue(c), GetGValue(c), GetBValue(c)});
      if (high - low <= 24) continue;
      bounds.left = std::min<LONG>(bounds.left, x);
      bounds.top = std::min<LONG>(bounds.top, y);
      bounds.right = std::max<LONG>(bounds.right, x + 1);
      bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
    }
  }
  return bounds;
}

// Pixels of `b` in a colour that `a` nowhere shows.
int ColoursNotIn(const ScreenCapture& a, const ScreenCapture& b) {
  std::set<COLORREF> colours;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) colours.insert(a.At(x, y));
  int count = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) count += colours.count(b.At(x, y)) == 0;
  return count;
}

// The saver starts from what was on the screen, and a key ends the process at once even while
// its threads are held in virtual time.
TEST(SaverRun, StartsFromTheScreenAndAKeyEndsIt) {
  InstallDemoSettings(kDemoRun);
  Underlay underlay;
  const ScreenCapture before = ScreenCapture::Take();
  GatedRun run({0});
  ASSERT_TRUE(run.Process().Started());
  ASSERT_TRUE(run.Reach(0)) << "the saver never read its clock";
  ASSERT_NE(run.Process().WaitForTopWindow(SAVER_WINDOW_CLASS), nullptr);
  const ScreenCapture atStart = ScreenCapture::Take();
  EXPECT_EQ(Differences(before, atStart, WholeScreen(before)), 0)
      << "the saver shows what was under it first";
  std::optional<DWORD> exitCode;
  const DWORD took = run.EndWithKey(&exitCode);
  EXPECT_EQ(exitCode, kExitedOk);
  EXPECT_LT(took, kExitHangMs);
  std::printf("[ figure ] key to process exit: %lu ms\n", static_cast<unsigned long>(took));
  const std::string trace = ReadTrace();
  EXPECT_EQ(trace.find("killed"), std::string::npos) << "the threads stopped by themselves";
}

// The demo set: the desktop first, picture 1 with its caption, then picture 1 alone in its
// rectangle with the frame and logo tiles around it and the clock at the top right, a second
// later only the clock changed, later picture 2; a key ends it and the last number is stored.
TEST(SaverRun, ShowsTheDemoPicturesWithCaptionsAndTheClock) {
  InstallDemoSettings(kDemoRun);
  Underlay underlay;
  const ScreenCapture before = ScreenCapture::Take();
  enum { kStart, kCaption, kAlone, kSecondLater, kNext };
  GatedRun run({0, 12000, 110000, 111000, 170000});
  ASSERT_TRUE(run.Process().Started());

  ASSERT_TRUE(run.Reach(kStart));
  EXPECT_EQ(Differences(before, ScreenCapture::Take(), WholeScreen(before)), 0);
  run.Release(kStart);

  ASSERT_TRUE(run.Reach(kCaption));
  const ScreenCapture caption = ScreenCapture::Take();
  caption.SaveBmp("saverrun-caption.bmp");
  EXPECT_NE(ReadTrace().find("Selected image = 1"), std::string::npos);
  run.Release(kCaption);

  ASSERT_TRUE(run.Reach(kAlone));
  const ScreenCapture alone = ScreenCapture::Take();
  alone.SaveBmp("saverrun-alone.bmp");
  run.Release(kAlone);
  // The 640 x 480 picture centred, and nothing but greys around it (frame, logo tiles) apart
  // from the clock at the top right.
  const RECT screen = WholeScreen(alone);
  const RECT clockCorner{screen.right * 3 / 4, 0, screen.right, screen.bottom / 6};
  const RECT picture = ColouredBounds(alone, clockCorner);
  const RECT expected{(screen.right - 640) / 2, (screen.bottom - 480) / 2, (screen.right + 640) / 2,
                      (screen.bottom + 480) / 2};
  EXPECT_NEAR(picture.left, expected.left, 4);
  EXPECT_NEAR(picture.top, expected.top, 4);
  EXPECT_NEAR(picture.right, expected.right, 4);
  EXPECT_NEAR(picture.bottom, expected.bottom, 4);
  EXPECT_GT(Differences(caption, alone, screen), 0) << "a caption was on the picture at 12 s";
  // The demo's drawn landscapes: sky at the top, meadow at the bottom, the right way up and in
  // their own colours.
  const COLORREF sky = alone.At(expected.left + 20, expected.top + 20);
  const COLORREF meadow = alone.At(expected.left + 20, expected.bottom - 20);
  EXPECT_GT(GetBValue(sky), GetRValue(sky)) << "the top of the picture is sky blue";
  EXPECT_GT(GetGValue(meadow), GetBValue(meadow)) << "the bottom of the picture is green";

  ASSERT_TRUE(run.Reach(kSecondLater));
  const ScreenCapture later = ScreenCapture::Take();
  later.SaveBmp("saverrun-later.bmp");
  const RECT belowClock{0, clockCorner.bottom, screen.right, screen.bottom};
  EXPECT_GT(Differences(alone, later, clockCorner), 0) << "the clock shows the next second";
  EXPECT_EQ(Differences(alone, later, belowClock), 0) << "nothing but the clock changed";
  run.Release(kSecondLater);

  ASSERT_TRUE(run.Reach(kNext));
  ScreenCapture::Take().SaveBmp("saverrun-next.bmp");
  EXPECT_NE(ReadTrace().find("Selected image = 2"), std::string::npos);

  std::optional<DWORD> exitCode;
  EXPECT_LT(run.EndWithKey(&exitCode), kExitHangMs);
  EXPECT_EQ(exitCode, kExitedOk);
  EXPECT_EQ(GetValue("LASTIMAGENO"), "2");
}

// Every display routine on the demo set with the install defaults (logos on, captions, a minute
// per picture), as a fresh install meets it: the run begins at the set's first picture, the
// routine starts once the caption has gone, no error splash comes, the picture stays while the
// routine runs its minute, and the next picture follows it. Each routine leaves the screen as it
// found it: its last frame, held where the next picture's cycle begins, is exactly the composed
// picture it started on (the tiles all back in place, the 3D scenes' picture restored; Wipe Out's
// prints stay by design). At both holds the screen already shows everything the saver drew.
TEST(SaverRunRoutines, EveryRoutineRunsItsMinuteOnTheDemoSetWithTheInstallDefaults) {
  const struct {
    const char* ssfn;
    const char* start;  // the routine's start line; Combo's may be any routine's
  } routines[] = {
      {"0", "2D Sliding Blocks - start"},
      {"1", "Flying 3D Tiles - start"},
      {"2", "Puzzle Cube - start"},
      {"3", "Blocks' World:Collisions - start"},
      {"4", "Wipe Out - start"},
      {"5", "Richochet - Bouncing Balls - start"},
      {"6", "bInfiniteOn="},
      {"7", "Slide Show - start"},
  };
  enum { kRoutineRuns, kStillThere, kNextCame };
  enum { kRoutineStarts, kNextCycle };
  for (const auto& r : routines) {
    SCOPED_TRACE(std::string("SSFN ") + r.ssfn);
    const std::string name = std::string("saverrun-routine-") + r.ssfn;
    InstallDemoSettings({{"TRACEON", "1"}, {"SSFN", r.ssfn}});
    // The routine starts within 30 s (transition and the caption's ten seconds) and runs 60 s
    // from then; the next picture comes before 110 s.
    GatedRun run({30000, 70000, 110000}, "", {r.start, "SCREEN SAVER IN RUN = 1"});
    ASSERT_TRUE(run.Process().Started());
    ASSERT_TRUE(run.ReachHold(kRoutineStarts)) << "the routine never started";
    EXPECT_EQ(run.UnshownPixels(), 0) << "the caption's last frames never reached the screen";
    const ScreenCapture composed = ScreenCapture::Take();
    run.ReleaseHold(kRoutineStarts);
    ASSERT_TRUE(run.Reach(kRoutineRuns));
    std::string trace = ReadTrace();
    EXPECT_NE(trace.find("Selected image = 0,"), std::string::npos) << "not the first picture";
    run.Release(kRoutineRuns);
    ASSERT_TRUE(run.Reach(kStillThere));
    trace = ReadTrace();
    EXPECT_EQ(trace.find("Selected image = 1,"), std::string::npos) << "changed before its minute";
    run.Release(kStillThere);
    ASSERT_TRUE(run.ReachHold(kNextCycle)) << "the routine never ended";
    EXPECT_EQ(run.UnshownPixels(), 0) << "the routine's last frames never reached the screen";
    const ScreenCapture left = ScreenCapture::Take();
    // Wipe Out's cylinder prints its end faces onto the picture as it rolls, and the prints
    // stay: its picture keeps only its own colours, nothing of the cylinder or its logo.
    const bool prints = ReadTrace().find("Wipe Out - start") != std::string::npos;
    const int changed =
        prints ? ColoursNotIn(composed, left) : Differences(composed, left, WholeScreen(left));
    EXPECT_EQ(changed, 0) << "the routine's last frame is not the picture it started on"
                          << (prints ? " with prints of itself" : "") << " (see " << name
                          << "-start.bmp and -end.bmp)";
    if (changed != 0) {
      composed.SaveBmp((name + "-start.bmp").c_str());
      left.SaveBmp((name + "-end.bmp").c_str());
    }
    run.ReleaseHold(kNextCycle);
    ASSERT_TRUE(run.Reach(kNextCame));
    ScreenCapture::Take().SaveBmp((name + ".bmp").c_str());
    trace = ReadTrace();
    EXPECT_NE(trace.find("Selected image = 1,"), std::string::npos) << "no change after the minute";
    EXPECT_EQ(trace.find("Error Message"), std::string::npos)
        << trace.substr(trace.size() > 3000 ? trace.size() - 3000 : 0);
    EXPECT_EQ(trace.find("Unable to"), std::string::npos);
    std::optional<DWORD> exitCode;
    EXPECT_LT(run.EndWithKey(&exitCode), kExitHangMs);
    EXPECT_EQ(exitCode, kExitedOk);
  }
}

// A routine number outside the table ends in the error splash, which a key still ends.
TEST(SaverRun, InvalidRoutineShowsTheSplashAndAKeyStillEndsIt) {
  InstallDemoSettings({{"TRACEON", "1"}, {"SSFN", "9"}});
  Underlay underlay;
  const ScreenCapture before = ScreenCapture::Take();
  GatedRun run({0, 5000});
  ASSERT_TRUE(run.Reach(0));
  run.Release(0);
  ASSERT_TRUE(run.Reach(1));
  const ScreenCapture splash = ScreenCapture::Take();
  splash.SaveBmp("saverrun-splash.bmp");
  EXPECT_NE(ReadTrace().find("Invalid screen saver routine chosen"), std::string::npos);
  EXPECT_GT(Differences(before, splash, WholeScreen(before)), 0) << "the splash is on the screen";
  std::optional<DWORD> exitCode;
  EXPECT_LT(run.EndWithKey(&exitCode), kExitHangMs);
  EXPECT_EQ(exitCode, kExitedOk);
}

// Many image changes: the GDI objects the saver can still create and its working set, measured
// by the variant at each mark while the threads are held, do not shrink or grow.
TEST(SaverRun, ImageChangesLeaveGdiHeadroomAndWorkingSetFlat) {
  InstallDemoSettings({{"SSFN", "7"}, {"TIME", "1"}, {"TEXTFX_TEXTON", "0"}, {"CLOCKON", "1"}});
  const std::vector<unsigned> marks = {2 * 60000, 6 * 60000, 10 * 60000, 14 * 60000};
  const std::string log = (std::filesystem::current_path() / "saverrun-measures.txt").string();
  std::filesystem::remove(log);
  GatedRun run(marks, log);
  for (size_t i = 0; i < marks.size(); ++i) {
    ASSERT_TRUE(run.Reach(i)) << "mark " << i;
    run.Release(i);
  }
  std::optional<DWORD> exitCode;
  const DWORD took = run.EndWithKey(&exitCode);
  EXPECT_EQ(exitCode, kExitedOk);
  EXPECT_LT(took, kExitHangMs);
  std::printf("[ figure ] key to process exit in the slide show: %lu ms\n",
              static_cast<unsigned long>(took));
  struct Measure {
    unsigned mark;
    int freeGdi;
    unsigned long long workingSet;
  };
  std::vector<Measure> measures;
  std::ifstream in(log);
  for (Measure m{}; in >> m.mark >> m.freeGdi >> m.workingSet;) measures.push_back(m);
  ASSERT_EQ(measures.size(), marks.size());
  for (const Measure& m : measures) {
    std::printf("[ figure ] %u s: free GDI handles %d, working set %llu KiB\n", m.mark / 1000,
                m.freeGdi, m.workingSet / 1024);
  }
  EXPECT_GE(measures.back().freeGdi, measures.front().freeGdi - 16)
      << "GDI objects are left behind by image changes";
  // The first changes fill caches and heaps; from the second mark on the set stays flat.
  EXPECT_LE(measures.back().workingSet, measures[1].workingSet * 105 / 100)
      << "the working set grows with image changes";
}

}  // namespace
