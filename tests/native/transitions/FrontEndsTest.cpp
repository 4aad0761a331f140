// The transition front ends on a headless screen: which effect runs where, what the document,
// the view's surface and the window show afterwards, the rectangles cut to the screen, the
// error texts and the trace lines.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/HeadlessScreenHost.h"
#include "seams/Clock.h"
#include "seams/Trace.h"
#include "tests/native/transitions/FrontEndScene.h"
#include "tests/native/transitions/FxIds.h"
#include "transitions/FrontEnds.h"
#include "transitions/PlainBlit.h"
#include "transitions/TransFXDispatch.h"
#include "transitions/TransParams.h"

namespace {

using fetest::ExpectedScreen;
using fetest::IndexesOf;
using fetest::NewPicture;
using fetest::Placement;

// A headless host whose window is a picture in memory: ShowRect copies the surface into it.
class WindowedHost : public HeadlessScreenHost {
 public:
  void ShowRect(const CRect* rect) override {
    HeadlessScreenHost::ShowRect(rect);
    CDIBSurface* surface = GetSurface();
    if (!surface) return;
    if (window.GetWidth() != surface->GetWidth() || window.GetHeight() != surface->GetHeight()) {
      window.Create(surface->GetWidth(), surface->GetHeight(), nullptr);
    }
    const CRect all(0, 0, surface->GetWidth(), surface->GetHeight());
    const CRect r = rect ? *rect : all;
    surface->CopyBits(&window, r.left, r.top, r.Width(), r.Height(), r.left, r.top, -1);
  }

  CDIB window;
};

// One effect run as the front end asked for it.
struct EffectRun {
  int x, y, w, h;
  TransOrder order;
  BOOL offScreen;
};

// The front ends' screen over the headless host: effects draw into the host's window through
// the plain blit layer, and every run is recorded.
class MemoryScreen : public TransitionScreen {
 public:
  // A screen of w x h showing the old-screen pattern (none when w is 0).
  MemoryScreen(int w, int h) {
    if (w > 0) {
      host.SetBackground(NewPicture(w, h, fetest::kOldBase));
      host.ShowRect(nullptr);
    }
  }

  ScreenHost* Host() override { return &host; }
  BOOL SetBackgroundNoDraw(CDIB* dib) override {
    if (refuseBackground) {
      delete dib;
      return FALSE;
    }
    return host.SetBackground(dib);
  }
  BOOL RunEffect(int x, int y, int w, int h, CDIBSurface* a, CDIBSurface* b,
                 const TransOrder& order, BOOL offScreen, const RECT& screen) override {
    runs.push_back({x, y, w, h, order, offScreen});
    PlainBlitLayer layer(PlaneOf(host.window), PlaneOf(*a), PlaneOf(*b));
    return TransFXDispatch(layer, x, y, w, h, x, y, w, h, x, y, order.effect, order.par0,
                           order.par1, order.par2, offScreen, &screen);
  }

  // The three places the screen lives, each as colours, top row first. The window shows the
  // surface's indexes through the surface's colour table.
  std::vector<uint32_t> Background() { return fetest::ColoursOf(*host.GetBackground()); }
  std::vector<uint32_t> Surface() { return fetest::ColoursOf(*host.GetSurface()); }
  std::vector<uint32_t> Window() {
    return fetest::ColoursThrough(IndexesOf(host.window), *host.GetSurface());
  }

  WindowedHost host;
  std::vector<EffectRun> runs;
  bool refuseBackground = false;
};

enum class Way { kOn, kOff };

const char* Name(Way way) { return way == Way::kOn ? "on screen" : "off screen"; }

using FrontEnd = BOOL (*)(TransitionScreen&, int, int, CDIB*, int, int, int, int, int, int, int,
                          int, int, int, CString*);

BOOL Manage(Way way, MemoryScreen& screen, const TransOrder& order, CDIB* image, const Placement& p,
            CString* error, int trace = 0) {
  const FrontEnd on = ManageOnScreenTransition, off = ManageOffScreenTransition;
  return (way == Way::kOn ? on : off)(screen, order.transClass, order.effect, image, p.x, p.y, p.w,
                                      p.h, p.srcx, p.srcy, order.par0, order.par1, order.par2,
                                      trace, error);
}

TransOrder SweepOrder(int effect) {
  TransOrder o{20, effect, 0, 0, 0};
  TransSlidersToParams(20, 50, 50, 50, o.par0, o.par1, o.par2);
  return o;
}

class FrontEndsTest : public ::testing::Test {
 protected:
  // Effects wait in virtual time.
  seams::TestClock clock{1000, 1, 1};
  seams::ScopedClock scopedClock{&clock};

  // Runs one call and checks that the document, the surface and the window all show `p` of
  // `picture` over the old screen.
  void ExpectScreenAfter(Way way, MemoryScreen& screen, const TransOrder& order, CDIB& picture,
                         const Placement& p, const std::string& what) {
    std::unique_ptr<CDIB> old(NewPicture(screen.host.GetBackground()->GetWidth(),
                                         screen.host.GetBackground()->GetHeight(),
                                         fetest::kOldBase));
    const std::vector<uint32_t> expected =
        fetest::ColoursThrough(ExpectedScreen(*old, picture, p), picture);
    CString error("untouched");
    ASSERT_TRUE(Manage(way, screen, order, &picture, p, &error)) << what << ": " << error;
    EXPECT_EQ(error, "untouched") << what;
    EXPECT_EQ(fetest::Differences(screen.Background(), expected), 0u) << what << ": document";
    EXPECT_EQ(fetest::Differences(screen.Surface(), expected), 0u) << what << ": surface";
    EXPECT_EQ(fetest::Differences(screen.Window(), expected), 0u) << what << ": window";
  }
};

TEST_F(FrontEndsTest, EverySampledEffectLeavesDocumentSurfaceAndWindowShowingTheNewScreen) {
  std::unique_ptr<CDIB> picture(NewPicture(130, 90, fetest::kNewBase, 5, 1));
  const Placement p{23, 17, 97, 61, 9, 5};
  for (Way way : {Way::kOn, Way::kOff}) {
    for (int id : fetest::SampleIds()) {
      const fxtest::FxParams params = fxtest::ParamsAt(id, 50);
      const TransOrder order{fxtest::ClassOf(id), id, params.par0, params.par1, params.par2};
      MemoryScreen screen(160, 120);
      const std::string what = std::string(Name(way)) + " effect " + std::to_string(id);
      ExpectScreenAfter(way, screen, order, *picture, p, what);
      ASSERT_EQ(screen.runs.size(), 1u) << what;
      const EffectRun& run = screen.runs[0];
      EXPECT_EQ(run.order.effect, id) << what;
      EXPECT_EQ(run.offScreen, way == Way::kOff) << what;
      EXPECT_TRUE(run.x == p.x && run.y == p.y && run.w == p.w && run.h == p.h) << what;
    }
  }
}

TEST_F(FrontEndsTest, SmallRectanglesAndThe3DClassRunOneSweepChosenByTheShape) {
  struct Case {
    int transClass, effect, w, h;
    int expectedClass, expectedEffect;
  };
  const TransOrder sweep = SweepOrder(0);
  const Case cases[] = {
      {0, 0, 19, 300, 20, 112},     // too narrow for any effect: top to bottom
      {0, 0, 300, 19, 20, 110},     // too low: left to right
      {7, 22, 19, 19, 20, 118},     // square: diagonal
      {100, 3, 30, 30, 20, 118},    // 3D needs 100 x 100
      {100, 3, 99, 300, 20, 112},   // r = 0.33
      {100, 3, 300, 99, 20, 110},   // r = 3.03
      {100, 3, 50, 100, 20, 112},   // r exactly 0.5 is not diagonal
      {0, 0, 38, 19, 20, 110},      // r exactly 2.0 is not diagonal
      {100, 3, 200, 100, -1, 0},    // the tile peel covers it
      {100, 3, 51, 100, 20, 118},   // r just above 0.5
      {100, 3, 200, 150, 20, 118},  // tiles cover only part: the peel, then the sweep
      {100, 3, 300, 130, 20, 110},  // tiles of 20 leave a strip: the peel, then the sweep
      {-1, 3, 150, 300, 20, 112},   // any class that is not 2D takes the 3D rule
      {0, 0, 50, 50, 0, 0},         // a 2D class keeps its effect from 20 x 20 up
      {0, 2, 20, 20, 0, 2},
  };
  std::unique_ptr<CDIB> picture(NewPicture(320, 320, fetest::kNewBase, 5, 1));
  for (Way way : {Way::kOn, Way::kOff}) {
    for (const Case& c : cases) {
      MemoryScreen screen(320, 320);
      const Placement p{7, 3, c.w, c.h, 0, 0};
      const std::string what = std::string(Name(way)) + " class " + std::to_string(c.transClass) +
                               " on " + std::to_string(c.w) + " x " + std::to_string(c.h);
      // 3D orders run on Speed 1, Size 50 and Peel Rate 1: the quickest peel.
      const int par = IsValid2DTransClass(c.transClass) ? 0 : 1;
      ExpectScreenAfter(way, screen, TransOrder{c.transClass, c.effect, par, 50 * par, par},
                        *picture, p, what);
      if (c.expectedClass < 0) {
        EXPECT_TRUE(screen.runs.empty()) << what;
        continue;
      }
      ASSERT_EQ(screen.runs.size(), 1u) << what;
      const TransOrder& ran = screen.runs[0].order;
      EXPECT_EQ(ran.transClass, c.expectedClass) << what;
      EXPECT_EQ(ran.effect, c.expectedEffect) << what;
      if (c.expectedClass == 20 && c.transClass != 20) {
        EXPECT_TRUE(ran.par0 == sweep.par0 && ran.par1 == sweep.par1 && ran.par2 == sweep.par2)
            << what << ": the sweep runs on sliders 50, 50, 50";
      }
    }
  }
}

TEST_F(FrontEndsTest, RectanglesAreCutToTheScreenWithTheSourceMovedAlong) {
  struct Case {
    const char* what;
    Placement asked;
    Placement ran;  // the rectangle the effect runs on, and where its pixels come from
  };
  // A 200 x 150 picture centred on a 160 x 120 screen, as a size setting left over from a larger
  // resolution gives; then rectangles hanging over each edge.
  const Case cases[] = {
      {"picture larger than the screen", {-20, -15, 200, 150, 0, 0}, {0, 0, 160, 120, 20, 15}},
      {"over the bottom right", {100, 80, 100, 100, 3, 4}, {100, 80, 60, 40, 3, 4}},
      {"over the top left", {-30, -10, 100, 50, 30, 0}, {0, 0, 70, 40, 60, 10}},
      // Areas that do not lie whole in the picture: the rest of the rectangle keeps the screen.
      {"area past the picture", {10, 10, 100, 80, 150, 100}, {10, 10, 100, 80, 150, 100}},
      {"area before the picture", {10, 10, 50, 50, -20, -10}, {10, 10, 50, 50, -20, -10}},
      {"area beside the picture", {10, 10, 50, 50, 300, 0}, {10, 10, 50, 50, 300, 0}},
  };
  std::unique_ptr<CDIB> picture(NewPicture(200, 150, fetest::kNewBase, 5, 1));
  const fxtest::FxParams params = fxtest::ParamsAt(1, 50);
  const TransOrder curtains{1, 1, params.par0, params.par1, params.par2};
  for (Way way : {Way::kOn, Way::kOff}) {
    for (const Case& c : cases) {
      MemoryScreen screen(160, 120);
      const std::string what = std::string(Name(way)) + ", " + c.what;
      ExpectScreenAfter(way, screen, curtains, *picture, c.asked, what);
      ASSERT_EQ(screen.runs.size(), 1u) << what;
      const EffectRun& run = screen.runs[0];
      EXPECT_TRUE(run.x == c.ran.x && run.y == c.ran.y && run.w == c.ran.w && run.h == c.ran.h)
          << what << ": ran on " << run.x << "," << run.y << " " << run.w << "x" << run.h;
    }
  }
}

TEST_F(FrontEndsTest, RectanglesWithNothingOnTheScreenChangeNothing) {
  const Placement nowhere[] = {
      {160, 0, 50, 50, 0, 0},                              // right of the screen
      {-50, 10, 50, 50, 0, 0},                             // left of it
      {INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX, 0, 0},  // x + w beyond the int range
      {INT_MIN, INT_MIN, 100, 100, INT_MIN, INT_MIN},
  };
  std::unique_ptr<CDIB> picture(NewPicture(50, 50, fetest::kNewBase));
  for (Way way : {Way::kOn, Way::kOff}) {
    for (const Placement& p : nowhere) {
      MemoryScreen screen(160, 120);
      const std::vector<BYTE> before = IndexesOf(*screen.host.GetBackground());
      CString error("untouched");
      EXPECT_TRUE(Manage(way, screen, TransOrder{0, 0, 0, 0, 0}, picture.get(), p, &error))
          << Name(way) << " at " << p.x << "," << p.y;
      EXPECT_TRUE(screen.runs.empty());
      EXPECT_EQ(IndexesOf(*screen.host.GetBackground()), before);
      EXPECT_EQ(error, "untouched");
    }
  }
}

TEST_F(FrontEndsTest, FailuresReturnFalseWithTheirTexts) {
  constexpr char kBack[] = "ManageScreenTransition - Unable to create Back DIBSurface";
  constexpr char kNewImage[] = "ManageOnScreenTransition - Unable to create New Image DIB";
  constexpr char kEffect[] = "ManageScreenTransition - Unable to run 2D image transition effects";
  constexpr char kRefused[] = "ManageScreenTransition - Unable to set background image";
  constexpr char kUntouched[] = "untouched";
  std::unique_ptr<CDIB> picture(NewPicture(80, 60, fetest::kNewBase));
  CDIB deep;
  ASSERT_TRUE(deep.Create24(80, 60));

  struct Case {
    const char* what;
    Way way;
    int screenWidth;  // 0: a screen with no background
    bool refuse;
    CDIB* image;
    TransOrder order;
    Placement p;
    const char* text;
  };
  const Placement fine{10, 10, 60, 40, 0, 0};
  const Placement big{0, 0, 150, 110, 0, 0};
  const TransOrder bars{0, 0, 0, 0, 0}, none15{7, 15, 0, 0, 0}, none153{29, 153, 0, 0, 0};
  const TransOrder peel{100, 0, 0, 0, 0};
  CDIB* const pic = picture.get();
  const Case cases[] = {
      {"zero width", Way::kOn, 160, false, pic, bars, {10, 10, 0, 40, 0, 0}, kUntouched},
      {"negative height", Way::kOff, 160, false, pic, bars, {10, 10, 60, -4, 0, 0}, kUntouched},
      {"empty, no screen", Way::kOn, 0, false, nullptr, bars, {0, 0, 0, 0, 0, 0}, kUntouched},
      {"no effect 15", Way::kOn, 160, false, pic, none15, fine, kEffect},
      {"no effect 15", Way::kOff, 160, false, pic, none15, fine, kEffect},
      {"effect 153", Way::kOff, 160, false, pic, none153, fine, kEffect},
      {"no screen", Way::kOn, 0, false, pic, bars, fine, kBack},
      {"no screen", Way::kOff, 0, false, pic, bars, fine, kBack},
      {"no picture", Way::kOn, 160, false, nullptr, bars, fine, kNewImage},
      {"no picture", Way::kOff, 160, false, nullptr, bars, fine, kBack},
      {"no picture, 3D", Way::kOff, 160, false, nullptr, peel, big, kBack},
      {"picture without colour table", Way::kOn, 160, false, &deep, bars, fine, kNewImage},
      {"view refuses the new background", Way::kOn, 160, true, pic, bars, fine, kRefused},
  };
  for (const Case& c : cases) {
    MemoryScreen screen(c.screenWidth, 120);
    screen.refuseBackground = c.refuse;
    const std::string what = std::string(Name(c.way)) + ", " + c.what;
    CString error(kUntouched);
    EXPECT_FALSE(Manage(c.way, screen, c.order, c.image, c.p, &error)) << what;
    EXPECT_EQ(error, c.text) << what;
    // Without a string for the text the call fails the same, and nothing is written anywhere.
    EXPECT_FALSE(Manage(c.way, screen, c.order, c.image, c.p, nullptr)) << what;
  }
}

// A number no other run of the test is likely to pick, for a file name of its own.
long long UniqueNumber() {
  return static_cast<long long>(std::chrono::steady_clock::now().time_since_epoch().count());
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(FrontEndsTest, TraceLinesStartAndEndOnlyWhatSucceeds) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("frontends_trace_" + std::to_string(UniqueNumber()) + ".txt");
  ASSERT_TRUE(seams::Trace::Open(path.string().c_str(), "BANNER"));
  std::unique_ptr<CDIB> picture(NewPicture(200, 150, fetest::kNewBase));
  MemoryScreen screen(160, 120);
  CString error;
  const Placement p{0, 0, 150, 110, 0, 0};
  EXPECT_TRUE(Manage(Way::kOn, screen, TransOrder{100, 3, 1, 50, 1}, picture.get(), p, &error, 1));
  EXPECT_FALSE(Manage(Way::kOff, screen, TransOrder{7, 15, 0, 0, 0}, picture.get(), p, &error, 1));
  EXPECT_TRUE(Manage(Way::kOff, screen, TransOrder{0, 0, 0, 0, 0}, picture.get(), p, &error, 0));
  seams::Trace::Close();

  char doc[32], image[32];
  std::snprintf(
      doc, sizeof doc, "%x",
      static_cast<unsigned>(reinterpret_cast<uintptr_t>(static_cast<TransitionScreen*>(&screen))));
  std::snprintf(image, sizeof image, "%x",
                static_cast<unsigned>(reinterpret_cast<uintptr_t>(picture.get())));
  const std::string args = std::string(",pImageDIB=") + image + "\n";
  const std::string docArg = std::string("\t pScreenDoc=") + doc;
  const std::string on = "ManageOnScreenTransition", off = "ManageOffScreenTransition";
  const std::string expected =
      "BANNER\n"
      // A 3D order whose tiles cover only part of the rectangle, finished with its sweep, which
      // traces as a call of its own.
      + on + " - start\n" + docArg + ",iDesTransFXClass=100,iDesTransFX=3" + args  //
      + "Transition3DFX - start\nbClockOn=0,bSoundOn=0,Speed=1,Res=50,Volume=50\n" +
      "SquareWidth=20,Horz.Squares=7,Vert Squares=5\nTransition3DFX - end\n"        //
      + on + " - start\n" + docArg + ",iDesTransFXClass=20,iDesTransFX=118" + args  //
      + on + " - end\n" + on +
      " - end\n"
      // A failure has no end line; a call without the trace flag writes nothing.
      + off + " - start\n" + docArg + ",iDesTransFXClass=7,iDesTransFX=15" + args;
  EXPECT_EQ(ReadFile(path), expected);
  std::filesystem::remove(path);
}

// A 3D order that leaves part of its rectangle to a sweep (as above) starts none once the saver
// is stopping: the screen is going away.
TEST_F(FrontEndsTest, AStopDuringATileRunStartsNoSweep) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("frontends_stop_" + std::to_string(UniqueNumber()) + ".txt");
  ASSERT_TRUE(seams::Trace::Open(path.string().c_str(), "BANNER"));
  std::unique_ptr<CDIB> picture(NewPicture(200, 150, fetest::kNewBase));
  MemoryScreen screen(160, 120);
  CString error;
  seams::RequestStop();
  const bool done = Manage(Way::kOn, screen, TransOrder{100, 3, 1, 50, 1}, picture.get(),
                           Placement{0, 0, 150, 110, 0, 0}, &error, 1);
  seams::ClearStop();
  seams::Trace::Close();
  EXPECT_TRUE(done);
  const std::string trace = ReadFile(path);
  EXPECT_NE(trace.find("Transition3DFX - start"), std::string::npos) << trace;
  EXPECT_EQ(trace.find("iDesTransFXClass=20"), std::string::npos) << "a sweep after the stop";
  std::filesystem::remove(path);
}

}  // namespace
