// The screen-saver module end to end: the virtual-time variant started with /s on a demo image
// set under Xvfb. The test holds the saver at marks in virtual time, captures the screen and
// reads the trace there, then ends it with a key as a user would.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ScreenSaver.h"
#include "tests/wine/saverrun/SaverRunFixture.h"

namespace {

using namespace saverrun;

const std::optional<DWORD> kExitedOk = 0;

// Captions in mode 0, the clock on, pictures at their own size, the slide show at 120 s per
// picture, tracing on, starting after picture 0.
const std::vector<std::pair<const char*, const char*>> kDemoRun = {
    {"TRACEON", "1"},       {"CLOCKON", "1"},        {"SOUND_ON", "0"},
    {"IMAGE_SIZE", "0"},    {"TEXTFX_TEXTON", "1"},  {"TEXTFX_TRANSSELECTION", "0"},
    {"SSFN", "7"},          {"TIME", "2"},           {"LASTIMAGENO", "0"},
};

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
  EXPECT_LT(took, kExitLimitMs);
  std::printf("[ figure ] key to process exit: %lu ms\n", static_cast<unsigned long>(took));
  EXPECT_EQ(ReadTrace().find("killed"), std::string::npos) << "the threads stopped by themselves";
}

}  // namespace
