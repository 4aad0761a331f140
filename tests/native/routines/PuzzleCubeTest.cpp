// The puzzle cube on a headless screen in virtual time: it flies in, turns and flies out leaving
// the picture behind untouched; a stop at any moment and the time limit with the cycle repeating
// end cleanly; a missing logo leaves the picture on every face; at rest the front face shows the
// picture the right way up; the cube's size follows the screen width and Res; the clock on a
// screen document is taken down; and the effect sounds play where they belong.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "routines/PuzzleCube.h"
#include "seams/Alerts.h"
#include "seams/Clock.h"
#include "settings/IniSettings.h"
#include "tests/native/engine3d/SceneFixture.h"
#include "tests/native/imaging/ScreenDocFixture.h"
#include "tests/native/routines/EffectSoundFolder.h"
#include "tests/native/routines/RoutineFixture.h"
#include "tests/native/routines/RoutineScreenChecks.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WaveWriter.h"

namespace {

using namespace routinetest;

// A screen that counts the frames in which something of the cube was shown, and lets a test look
// at the window after each.
class CountingHost : public scenetest::WindowedHost {
 public:
  CountingHost(int w, int h) : WindowedHost(w, h) {}
  void ShowRect(const CRect* rect) override {
    ++shows;
    WindowedHost::ShowRect(rect);
    if (onShow) onShow();
  }
  long shows = 0;
  std::function<void()> onShow;
};

class PuzzleCubeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seams::ClearStop();
    host.Reset(NewPicture(kW, kH));
    picture.reset(NewPicture(kW, kH));
  }
  void TearDown() override { seams::ClearStop(); }

  int Run(int infinite, int speed, int res, int logo, int runSeconds) {
    const RECT area = {20, 10, 300, 230};
    return RunPuzzleCube(&host, &area, infinite, 0, 0, speed, res, 0, 0, logo, runSeconds, 0,
                         &error);
  }

  static constexpr int kW = 320;
  static constexpr int kH = 240;
  JumpClock clock;
  seams::ScopedClock scoped{&clock};
  CountingHost host{kW, kH};
  std::unique_ptr<CDIB> picture;
  CString error;
};

TEST_F(PuzzleCubeTest, TheCubeComesTurnsAndGoesLeavingThePictureBehindUntouched) {
  const struct { int speed, res, runSeconds; } cases[] = {{50, 50, 20}, {1, 100, 12}, {100, 1, 12}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.speed);
    const uint32_t start = clock.Peek();
    EXPECT_EQ(Run(0, c.speed, c.res, 0, c.runSeconds), 1);
    EXPECT_TRUE(error.IsEmpty()) << static_cast<const char*>(error);
    ExpectScreenShows(host, *picture);
    EXPECT_GT(clock.Peek() - start, static_cast<uint32_t>(c.runSeconds) * 1000u);
    EXPECT_GT(host.shows, 200) << "hardly anything was drawn";
  }
}

TEST_F(PuzzleCubeTest, AStopAtAnyMomentReturnsOneWithThePictureRestored) {
  for (long naps : {1L, 40L, 200L, 900L, 3000L}) {
    SCOPED_TRACE(naps);
    seams::ClearStop();
    clock.naps = 0;
    clock.stopAfterNaps = naps;
    EXPECT_EQ(Run(1, 50, 50, 0, 0), 1);
    clock.stopAfterNaps = 0;
    ExpectScreenShows(host, *picture);
  }
}

TEST_F(PuzzleCubeTest, TheTimeLimitEndsTheRunWhenTheCycleRepeats) {
  const uint32_t start = clock.Peek();
  EXPECT_EQ(Run(1, 50, 50, 0, 2), 1);
  EXPECT_GT(clock.Peek() - start, 2000u);
  EXPECT_LT(clock.Peek() - start, 60000u) << "the limit came long before the end";
  ExpectScreenShows(host, *picture);
}

// A set without a square logo still shows the cube: the logo faces carry the picture, and the
// trace says why.
TEST_F(PuzzleCubeTest, LogosOnWithNoLogoPutThePictureOnEveryFace) {
  const std::string trace = TraceOf([&] { EXPECT_EQ(Run(0, 50, 50, 1, 5), 1); });
  EXPECT_TRUE(error.IsEmpty()) << static_cast<const char*>(error);
  EXPECT_NE(trace.find("No logo of aspect ratio 1.00 in the image set: every face of the cube "
                       "carries the picture"),
            std::string::npos)
      << trace;
  ExpectScreenShows(host, *picture);
}

// A picture of four quarters, each of its own 25 colours in a fine pattern (so that the cube's
// shrunk copy of it never matches the picture under it by accident): quarter 0 top left, 1 top
// right, 2 bottom left, 3 bottom right.
CDIB* NewQuarteredPicture(int w, int h) {
  CDIB* dib = NewPicture(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int quarter = (y >= h / 2) * 2 + (x >= w / 2);
      *dib->GetPixelAddress(x, y) = static_cast<BYTE>(100 + 25 * quarter + (x * 3 + y * 11) % 25);
    }
  }
  return dib;
}

int QuarterOf(int index) { return index >= 100 && index < 200 ? (index - 100) / 25 : -1; }

// The box of the pixels where the window differs from the picture.
CRect ChangedBox(scenetest::WindowedHost& host) {
  CRect box(host.Width(), host.Height(), 0, 0);
  for (int y = 0; y < host.Height(); ++y) {
    for (int x = 0; x < host.Width(); ++x) {
      if (host.WindowRow(y)[x] == host.BackgroundRow(y)[x]) continue;
      box.left = std::min<LONG>(box.left, x);
      box.top = std::min<LONG>(box.top, y);
      box.right = std::max<LONG>(box.right, x + 1);
      box.bottom = std::max<LONG>(box.bottom, y + 1);
    }
  }
  return box;
}

// At rest, after its flight in, the cube faces the viewer square and centred: its front face is
// then the screen area as it stood, shrunk into the square with grey bands above and below, the
// right way up and the right way round. The rest frame is the first frame shown whose changes
// form a centred square; the run is stopped there.
TEST_F(PuzzleCubeTest, AtRestTheFrontFaceShowsTheAreaAsItStood) {
  host.Reset(NewQuarteredPicture(kW, kH));
  std::vector<BYTE> rest;
  CRect face;
  host.onShow = [&] {
    if (!rest.empty()) return;
    const CRect box = ChangedBox(host);
    const bool centred = std::abs(box.left + box.right - kW) <= 2 &&
                         std::abs(box.top + box.bottom - kH) <= 2 &&
                         std::abs(box.Width() - box.Height()) <= 2 && box.Width() > 20;
    if (!centred) return;
    face = box;
    for (int y = 0; y < kH; ++y) rest.insert(rest.end(), host.WindowRow(y), host.WindowRow(y) + kW);
    seams::RequestStop();  // seen what was wanted
  };
  const RECT area = {0, 0, kW, kH};
  EXPECT_EQ(RunPuzzleCube(&host, &area, 0, 0, 0, 50, 50, 0, 0, 0, 5, 0, &error), 1);
  host.onShow = nullptr;
  ASSERT_FALSE(rest.empty()) << "the cube never came to rest facing the viewer";
  auto at = [&](double fx, double fy) {
    const int x = face.left + static_cast<int>(fx * face.Width());
    const int y = face.top + static_cast<int>(fy * face.Height());
    return static_cast<int>(rest[static_cast<size_t>(y) * kW + x]);
  };
  // The 320 x 240 area fills the square's width and 3/4 of its height.
  const struct {
    double fx, fy;
    int quarter;
  } samples[] = {{0.25, 0.3, 0}, {0.75, 0.3, 1}, {0.25, 0.7, 2}, {0.75, 0.7, 3},
                 {0.1, 0.2, 0},  {0.9, 0.2, 1},  {0.1, 0.8, 2},  {0.9, 0.8, 3}};
  for (const auto& s : samples) {
    EXPECT_EQ(QuarterOf(at(s.fx, s.fy)), s.quarter)
        << "at " << s.fx << ", " << s.fy << " of " << face.Width() << " x " << face.Height();
  }
  for (double fx : {0.1, 0.5, 0.9}) {
    EXPECT_EQ(at(fx, 0.04), scenetest::WindowedHost::kReserved) << "the band above, at " << fx;
    EXPECT_EQ(at(fx, 0.96), scenetest::WindowedHost::kReserved) << "the band below, at " << fx;
  }
}

TEST(PuzzleCubeSizeTest, TheEdgeFollowsTheScreenWidthAndRes) {
  const struct {
    int w, res;
    double edge;
  } cases[] = {
      {1000, 100, 66}, {1000, 1, 192},    // hi = min(768 / 4, 1000 / 5)
      {1001, 100, 66}, {1001, 1, 153.6},  // wider than 1000: hi * 0.8
      {1100, 100, 73}, {1100, 1, 153.6},
      {1101, 100, 73}, {1101, 1, 115.2},  // wider than 1100: hi * 0.6
      {1200, 100, 80}, {1200, 1, 115.2},
      {1201, 100, 80}, {1201, 1, 96},  // wider than 1200: hi * 0.5
      {1280, 100, 85}, {1280, 50, 85 + 11 * 50 / 99.0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(PuzzleCubeEdge(c.w, 768, c.res), c.edge, 1e-9) << c.w << " wide, Res " << c.res;
  }
}

TEST(PuzzleCubeErrorTextTest, EveryCodeHasItsTextAndOthersAreUnknown) {
  const struct {
    int code;
    const char* text;
  } cases[] = {{1, "System has run out of memory"},
               {2, "Unable to get background image for texture map"},
               {4, "Too many spins set"},
               {5, "Bad spin planned"},
               {6, "Unknown error"}};
  for (const auto& c : cases) {
    CString text;
    GetPuzzleCubeErrorText(c.code, &text);
    EXPECT_EQ(std::string(static_cast<const char*>(text)),
              std::string("Puzzle Cube Error Message: ") + c.text);
  }
}

// On a screen document with effect sounds in the data folder: wavfx3, wavfx7 and wavfx8, each of
// its own sample value.
class PuzzleCubeDocTest : public ScreenDocFixture {
 protected:
  void SetUp() override {
    ScreenDocFixture::SetUp();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(sounds.Write(kNames[i], kSamples[i]));
  }

  int Run(int clockOn, int soundOn) {
    const RECT area = {0, 0, kWidth, kHeight};
    return RunPuzzleCube(&doc, &area, 0, clockOn, soundOn, 50, 50, 0, 0, 0, 8, 0, &error);
  }

  static constexpr const char* kNames[3] = {"wavfx3", "wavfx7", "wavfx8"};
  static constexpr int16_t kSamples[3] = {3000, 7000, 8000};
  JumpClock clock;
  seams::ScopedClock scoped{&clock};
  EffectSoundFolder sounds{"cubefx"};
  SampleRecordingWaveOut device;
  seams::ScopedAlertRecorder alerts;
  CString error;
};

TEST_F(PuzzleCubeDocTest, TurnsAndFaceStepsPlayTheirSoundsAndTheClockIsTakenDown) {
  CDIB before;
  ASSERT_TRUE(before.Create(kWidth, kHeight, nullptr));
  doc.background->CopyBits(&before, 0, 0, kWidth, kHeight, 0, 0, -1);
  EXPECT_EQ(Run(1, 1), 1);
  EXPECT_EQ(doc.soundOn, 1);
  EXPECT_GT(device.Count(kSamples[0]), 0) << "no quarter turn was heard";
  EXPECT_GE(device.Count(kSamples[1]), 19) << "the face steps were not heard";
  EXPECT_EQ(device.Count(kSamples[2]), 0) << "wavfx8 is loaded, never played";
  EXPECT_EQ(device.samples.size(),
            static_cast<size_t>(device.Count(kSamples[0]) + device.Count(kSamples[1])));
  // Each quarter turn's sound is stopped once its turn has run, and a face step restarts its
  // sound rather than queueing it behind the last one.
  const long resets = std::count(device.log.begin(), device.log.end(), std::string("reset"));
  EXPECT_GE(resets, device.Count(kSamples[0]) + device.Count(kSamples[1]) - 1);
  EXPECT_TRUE(alerts.Records().empty());
  EXPECT_EQ(device.opens, 0) << "the player was closed";
  EXPECT_EQ(device.prepared, 0);
  EXPECT_EQ(doc.clockOn, 0);
  EXPECT_EQ(doc.sprites.GetCount(), 0);
  EXPECT_EQ(DifferentPixels(*doc.background, before), 0);
  ExpectSurfaceComposed();
}

TEST_F(PuzzleCubeDocTest, WithTheSoundOffNothingIsPlayed) {
  doc.soundOn = 1;
  EXPECT_EQ(Run(0, 0), 1);
  EXPECT_EQ(doc.soundOn, 0);
  EXPECT_TRUE(device.log.empty());
  ExpectSurfaceComposed();
}

}  // namespace
