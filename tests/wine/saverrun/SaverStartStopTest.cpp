// The module's start and stop as a user meets them, in virtual time on the demo set under Xvfb:
// the order of the start (the window covers the screen before the drawing thread's work), and a
// key at each moment of a run ending the process with its threads stopping by themselves.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ScreenSaver.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaveWriter.h"
#include "tests/wine/saverrun/SaverRunFixture.h"

namespace {

using namespace saverrun;

const std::optional<DWORD> kExitedOk = 0;

// Where `line` first stands in `trace`, or npos.
size_t At(const std::string& trace, const char* line) { return trace.find(line); }

std::string Tail(const std::string& trace) {
  return trace.substr(trace.size() > 3000 ? trace.size() - 3000 : 0);
}

// The start in order: the settings are read, the window shows the desktop copy (its first
// erase), then the drawing thread runs and opens the image set, and only then the first
// transition begins. The window is on the screen while the thread does its work.
TEST(SaverStart, TheWindowCoversTheScreenBeforeTheDrawingThreadWorks) {
  InstallDemoSettings({{"TRACEON", "1"},
                       {"SSFN", "7"},
                       {"TIME", "1"},
                       {"TEXTFX_TEXTON", "0"},
                       {"CLOCKON", "0"},
                       {"SOUND_ON", "0"},
                       {"LASTIMAGENO", "0"}});
  enum { kFirstRead, kTransitioning };
  GatedRun run({0, 3000});
  ASSERT_TRUE(run.Process().Started());
  ASSERT_TRUE(run.Reach(kFirstRead));
  EXPECT_NE(FindTopWindow(run.Process().Id(), SAVER_WINDOW_CLASS), nullptr)
      << "the window is visible when the drawing thread first reads the clock";
  run.Release(kFirstRead);
  ASSERT_TRUE(run.Reach(kTransitioning));
  const std::string trace = ReadTrace();
  const char* const order[] = {
      "GetIniSettings - end",                    // the settings
      "ScreenSaverProc - Starting Message=14,",  // the first erase: the window shows
      "MAIN SCREEN SAVER THREAD NOW RUNNING",    // the drawing thread
      "FXParameters selected",                   // its set-up: image set, tables
      "Selected image =",                        // the first picture
      "ManageOffScreenTransition - start",       // the first transition
  };
  size_t previous = 0;
  for (const char* line : order) {
    const size_t at = At(trace, line);
    ASSERT_NE(at, std::string::npos) << "no \"" << line << "\"\n" << Tail(trace);
    EXPECT_GT(at, previous) << "\"" << line << "\" out of order\n" << trace.substr(0, 4000);
    previous = at;
  }
  std::optional<DWORD> exitCode;
  EXPECT_LT(run.EndWithKey(&exitCode), kExitHangMs);
  EXPECT_EQ(exitCode, kExitedOk);
}

// A moment of a run, the settings that lead to it, the virtual time at which the saver is held
// inside it, and the trace lines that say it began and had not yet ended there.
struct Moment {
  const char* name;
  std::vector<std::pair<std::string, std::string>> settings;
  unsigned heldAtMs;
  const char* begun;
  const char* notYet;
};

// Lines that only come from drawing: none may follow the stop.
const char* const kDrawingLines[] = {
    "Selected image =",
    "ManageOffScreenTransition - start",
    "ManageOnScreenTransition - start",
    "RunImageTextFXRoutine - start",
    "Slide Show - start",
};

// Runs the saver on `settings` to the moment, checks it is there, then ends it with a key: the
// window goes, the process ends with exit code 0, no thread is killed, and nothing starts
// drawing once the window's destruction has raised the stop.
void EndWithAKeyAt(const Moment& moment,
                   const std::vector<std::pair<std::string, std::string>>& settings) {
  std::vector<std::pair<const char*, const char*>> values;
  for (const auto& [name, value] : settings) values.push_back({name.c_str(), value.c_str()});
  for (const auto& [name, value] : moment.settings) values.push_back({name.c_str(), value.c_str()});
  InstallDemoSettings(values);
  GatedRun run({moment.heldAtMs});
  ASSERT_TRUE(run.Process().Started());
  ASSERT_TRUE(run.Reach(0));
  const std::string held = ReadTrace();
  ASSERT_NE(At(held, moment.begun), std::string::npos) << "not yet there\n" << Tail(held);
  ASSERT_EQ(At(held, moment.notYet), std::string::npos) << "already past\n" << Tail(held);

  std::optional<DWORD> exitCode;
  const DWORD took = run.EndWithKey(&exitCode);
  EXPECT_LT(took, kExitHangMs);
  EXPECT_EQ(exitCode, kExitedOk);
  std::printf("[ figure ] %s: key to process exit %lu ms\n", moment.name,
              static_cast<unsigned long>(took));
  const std::string trace = ReadTrace();
  EXPECT_EQ(At(trace, "killed"), std::string::npos) << Tail(trace);
  const size_t stop = At(trace, "ScreenSaverProc - Starting Message=2,");
  ASSERT_NE(stop, std::string::npos) << Tail(trace);
  for (const char* line : kDrawingLines) {
    EXPECT_EQ(trace.find(line, stop), std::string::npos) << "\"" << line << "\" after the stop\n"
                                                         << Tail(trace);
  }
  EXPECT_NE(At(trace, "ScreenSaverProc - WM_DESTROY - end"), std::string::npos);
}

// A key at each moment of a run. (A picture's load reads no clock, so virtual time cannot hold
// the saver inside one: the native stop tests stop the drawing thread there.)
TEST(SaverStop, AKeyAtEachMomentEndsTheProcessWithItsThreadsStoppingThemselves) {
  testsupport::TempFolder folder("startstop");
  const std::string wave = (folder / "loop.wav").string();
  ASSERT_TRUE(testsupport::WriteBytes(wave, testsupport::ToneWave(30000)));
  const std::vector<std::pair<std::string, std::string>> quiet = {
      {"TRACEON", "1"}, {"SSFN", "7"},     {"TIME", "1"},       {"TEXTFX_TEXTON", "0"},
      {"CLOCKON", "0"}, {"SOUND_ON", "0"}, {"LASTIMAGENO", "0"}};
  const Moment moments[] = {
      {"first transition",
       {},
       1500,
       "ManageOffScreenTransition - start",
       "ManageOnScreenTransition - end"},
      {"routine", {}, 30000, "Slide Show - start", "Slide Show - end"},
      {"caption",
       {{"TEXTFX_TEXTON", "1"}, {"TEXTFX_TRANSSELECTION", "0"}},
       12000,
       "RunImageTextFXRoutine - start",
       "RunImageTextFXRoutine - end"},
      {"music wait",
       {{"SOUND_ON", "1"},
        {"SOUND_PLAYOPTION", "2"},
        {"SOUND_LOOPFILE", "0"},
        {"SOUND_SOUND0", wave}},
       1500,
       "MUSIC HANDLER THREAD NOW RUNNING",
       "Music Handler - ExitThread"},
  };
  for (const Moment& moment : moments) {
    SCOPED_TRACE(moment.name);
    EndWithAKeyAt(moment, quiet);
  }
}

}  // namespace
