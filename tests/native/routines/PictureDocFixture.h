// A screen document on a picture, for the tests that refuse a routine's allocations in turn:
// copies of the picture and of the shared backdrop to compare against after each run, and the
// check that a run left no clock and no sprite behind and the backdrop untouched.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "seams/Clock.h"
#include "tests/native/imaging/ScreenDocFixture.h"
#include "tests/native/routines/RoutineFixture.h"

namespace routinetest {

class PictureDocFixture : public ScreenDocFixture {
 protected:
  void SetUp() override {
    ScreenDocFixture::SetUp();
    ASSERT_TRUE(doc.SetBackgroundNoDraw(NewPicture(kWidth, kHeight)));
    picture.reset(NewPicture(kWidth, kHeight));
    backdrop.reset(NewBackdrop(kWidth, kHeight));
  }

  void ExpectNothingLeft(long n) {
    EXPECT_EQ(doc.clockOn, 0) << n;
    EXPECT_EQ(doc.clock, nullptr) << n;
    EXPECT_EQ(doc.sprites.GetCount(), 0) << n;
    EXPECT_EQ(backdrop->GetWidth(), kWidth) << n;
    EXPECT_EQ(backdrop->GetHeight(), kHeight) << n;
    EXPECT_EQ(PixelsOtherThan(*backdrop, kBackdropIndex), 0) << n;
  }

  JumpClock clock{LocalSeconds(10, 0, 0)};
  seams::ScopedClock scoped{&clock};
  std::unique_ptr<CDIB> picture;
  std::unique_ptr<CDIB> backdrop;
};

}  // namespace routinetest
