// The transitions at the sliders the setup program installs: on a 1024 x 768 screen every effect
// of every 2D class lasts between half a second and five seconds, so that none is a cut and none
// drags. Virtual time: the clock moves only while a step waits.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "seams/Clock.h"
#include "settings/TransFXTables.h"
#include "transitions/Blit.h"
#include "transitions/TransFXDispatch.h"
#include "transitions/TransParams.h"

namespace {

const TransFXClassRow* DefaultsOf(int classId) {
  for (const TransFXClassRow& row : TransFXClassDefaults())
    if (row.classId == classId) return &row;
  return nullptr;
}

// Every effect of the 2D classes, each family (bars, squares, shapes, cell fades, tidal, slides,
// zoom and squeeze) with all its effects, in both directions.
TEST(DefaultPace, EveryEffectAtTheInstalledSlidersLastsHalfASecondToFiveSeconds) {
  const RECT screen{0, 0, 1024, 768};
  for (const TransFXEffectRow& e : TransFXTable) {
    if (!IsValid2DTransClass(e.classId)) continue;
    const TransFXClassRow* row = DefaultsOf(e.classId);
    ASSERT_NE(row, nullptr);
    int par0, par1, par2;
    ASSERT_EQ(TransSlidersToParams(e.classId, row->s1, row->s2, row->s3, par0, par1, par2), TRUE);
    for (BOOL offScreen : {FALSE, TRUE}) {
      SCOPED_TRACE("class " + std::to_string(e.classId) + " effect " + std::to_string(e.effectId) +
                   (offScreen ? " off screen" : " on screen"));
      seams::TestClock clock(7000, 0, 1);
      seams::ScopedClock scope(&clock);
      CountingNullLayer layer;
      ASSERT_EQ(TransFXDispatch(layer, 0, 0, 1024, 768, 0, 0, 1024, 768, 0, 0, e.effectId, par0,
                                par1, par2, offScreen, &screen),
                TRUE);
      EXPECT_GT(layer.steps, 1);
      const uint32_t took = clock.Peek() - 7000u;
      EXPECT_GE(took, 500u);
      EXPECT_LE(took, 5000u);
    }
  }
}

}  // namespace
