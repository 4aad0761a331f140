// The stop at every moment of a run, in virtual time: during the first (off-screen) transition,
// the on-screen one, a caption, a routine and a picture's colour reduction. After the stop the
// thread draws nothing, returns within a few waits without an error, and has stored the number
// of the picture it showed.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "saver/DrawingThread.h"
#include "tests/native/saver/DrawingThreadFixture.h"
#include "transitions/PlainBlit.h"

namespace drawtest {
namespace {

// Counts what reaches the window after a stop request; raises the stop itself at a chosen step
// of the effects (each step ends with EndStep).
class WatchingLayer : public BlitLayer {
 public:
  WatchingLayer(BlitLayer& inner, long& steps, long stopAtStep, long& drawsAfterStop)
      : inner_(inner), steps_(steps), stopAt_(stopAtStep), after_(drawsAfterStop) {}
  void Copy(BlitSurface from, int dx, int dy, int w, int h, int sx, int sy) override {
    Count();
    inner_.Copy(from, dx, dy, w, h, sx, sy);
  }
  void Stretch(BlitSurface from, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
               int sh) override {
    Count();
    inner_.Stretch(from, dx, dy, dw, dh, sx, sy, sw, sh);
  }
  ClipResult CopyThroughPolygon(BlitSurface from, const POINT* points, int count, int dx, int dy,
                                int dw, int dh, int sx, int sy, int sw, int sh) override {
    Count();
    return inner_.CopyThroughPolygon(from, points, count, dx, dy, dw, dh, sx, sy, sw, sh);
  }
  int SetStretchMode(int mode) override { return inner_.SetStretchMode(mode); }
  void EndStep() override {
    Count();
    inner_.EndStep();
    if (++steps_ == stopAt_) seams::RequestStop();
  }

 private:
  void Count() {
    if (seams::StopRequested()) ++after_;
  }
  BlitLayer& inner_;
  long& steps_;
  long stopAt_;
  long& after_;
};

class WatchedScreen : public MemoryScreen {
 public:
  WatchedScreen(int w, int h, long stopAtStep) : MemoryScreen(w, h), stopAtStep_(stopAtStep) {}
  BOOL RunEffectFrom(int x, int y, int w, int h, CDIBSurface* a, int ax, int ay, CDIBSurface* b,
                     int bx, int by, const TransOrder& order, BOOL offScreen,
                     const RECT& screen) override {
    ++effects;
    PlainBlitLayer plain(PlaneOf(window), PlaneOf(*a), PlaneOf(*b));
    WatchingLayer layer(plain, steps, stopAtStep_, drawsAfterStop);
    // The effect is given the watching layer as the window it draws on.
    return TransFXDispatch(layer, x, y, w, h, ax, ay, w, h, bx, by, order.effect, order.par0,
                           order.par1, order.par2, offScreen, &screen);
  }
  long steps = 0;
  long drawsAfterStop = 0;

 private:
  long stopAtStep_;
};

// What a run that was stopped left behind.
struct Stopped {
  int result = -1;
  long drawsAfterStop = 0;
  long showsAfterStop = 0;
  long waitsAfterStop = 0;
  long stepsBeforeStop = 0;
  bool stopped = false;
};

class DrawingThreadStopTest : public DrawingThreadTest {
 public:
  // Runs the thread on a w x h screen until the stop: at effect step `stopAtStep` (0: never) or
  // at the wait `stopAtWait` (0: never), whichever comes first.
  Stopped RunStopping(long stopAtStep, long stopAtWait, int w = 640, int h = 480) {
    info_.nRunTimeError = GetIniSettings(keyPath_);
    bInitInfo(&info_);
    ScopedScreenSize size(w, h);
    auto screen = std::make_unique<WatchedScreen>(w, h, stopAtStep);
    Stopped out;
    size_t shownAtStop = 0;
    long waitsAtStop = 0;
    clock_.onIdle = [&] {
      if (!seams::StopRequested() && clock_.waits == stopAtWait) seams::RequestStop();
      if (seams::StopRequested() && waitsAtStop == 0) {
        waitsAtStop = clock_.waits;
        shownAtStop = screen->doc.shown.size();
      }
      if (clock_.waits > 200000) seams::RequestStop();  // a hang, not a stop under test
    };
    clock_.waits = 0;
    out.result = RunDrawingThread(&info_, keyPath_, *screen);
    clock_.onIdle = nullptr;
    out.stopped = seams::StopRequested();
    out.drawsAfterStop = screen->drawsAfterStop;
    out.stepsBeforeStop = screen->steps;
    if (waitsAtStop == 0) {  // the stop came inside an effect, not in a wait
      waitsAtStop = clock_.waits;
      shownAtStop = screen->doc.shown.size();
    }
    out.waitsAfterStop = clock_.waits - waitsAtStop;
    out.showsAfterStop = static_cast<long>(screen->doc.shown.size() - shownAtStop);
    seams::ClearStop();
    return out;
  }
};

void ExpectAQuietEnd(const Stopped& s) {
  EXPECT_TRUE(s.stopped);
  EXPECT_EQ(s.result, 0) << "a stop is no error";
  EXPECT_EQ(s.drawsAfterStop, 0) << "an effect drew after the stop";
  EXPECT_LE(s.waitsAfterStop, 2) << "the thread waited on after the stop";
}

// The first change takes the desktop off the screen: the stop at any of its steps ends it with
// nothing more drawn, and no picture is brought on.
TEST_F(DrawingThreadStopTest, AStopDuringTheFirstTransitionEndsItWithNothingMoreDrawn) {
  Put("SSFN", "7");
  for (long step : {1L, 5L, 40L}) {
    SCOPED_TRACE(::testing::Message() << "stop at step " << step);
    const Stopped s = RunStopping(step, 100000);
    ExpectAQuietEnd(s);
    ASSERT_EQ(s.stepsBeforeStop, step) << "the stop came at that step";
    EXPECT_LE(s.showsAfterStop, 0) << "the screen was shown again after the stop";
  }
}

// Every moment of a whole change and beyond, sampled by the wait the stop comes at: the
// transitions' paced steps, the caption with its clock, the routine's wait.
TEST_F(DrawingThreadStopTest, AStopAtAnyWaitOfAChangeEndsTheThreadQuietly) {
  Put("TEXTFX_TEXTON", "1");
  Put("CLOCKON", "1");
  for (long wait : {1L, 3L, 10L, 30L, 100L, 300L, 1000L, 3000L}) {
    SCOPED_TRACE(::testing::Message() << "stop at wait " << wait);
    ExpectAQuietEnd(RunStopping(0, wait));
  }
  EXPECT_NE(Stored(kLastImageNoValue), "-1") << "the picture shown was stored";
}

// A stop while a picture's colours are reduced (seconds for a large own picture) ends the
// reduction between two rows, and the thread with it.
TEST_F(DrawingThreadStopTest, AStopDuringTheColourReductionEndsTheLoad) {
  Put("OWNIMAGES_ON", "1");  // own pictures are always reduced
  static long reductions;
  reductions = 0;
  DrawingThreadColourReducer = [](CDIB* source, CDIB* target) -> BOOL {
    ++reductions;
    seams::RequestStop();
    return source->Quantize(target, 204, 1);
  };
  const Stopped s = RunStopping(0, 100000);
  ExpectAQuietEnd(s);
  EXPECT_EQ(reductions, 1);
  EXPECT_EQ(s.stepsBeforeStop, 0) << "no picture was brought on";
  EXPECT_EQ(info_.pCurrentImage, nullptr);
}

}  // namespace
}  // namespace drawtest
