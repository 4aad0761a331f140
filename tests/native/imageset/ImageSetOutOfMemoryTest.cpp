// GetImage when memory runs out: every allocation refused in turn gives a null bitmap, no
// exception and nothing left behind (LeakSanitizer checks the last natively). Memory stays
// exhausted once refused, so the error text itself may not fit; a text that was set is the
// routine's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "imageset/GetImage.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "seams/ScreenSize.h"
#include "tests/native/imageset/ImageSetFixture.h"
#include "tests/support/FailingAllocation.h"
#include "tests/support/PackedImageWriter.h"
#include "tests/support/TestPictures.h"

namespace {

class ImageSetOutOfMemoryTest : public ImageSetFolderTest {};

TEST_F(ImageSetOutOfMemoryTest, EveryRefusedAllocationOfGetImageGivesNullAndLeavesNothing) {
  packedtest::PackedPicture p;
  p.type = 2;  // palette pictures: the decoder, the quantised table and the scaling all allocate
  p.width = 48;
  p.height = 36;
  p.palette = packedtest::MakeCubePalette();
  p.pixels = packedtest::MakePhotoRgb(p.width, p.height, 5);
  Write("imfull.dat", packedtest::WritePackedImage(p));
  CImageDesc desc;
  desc.dataOffset = 0;
  desc.dataFormat = kImageDataPacked;
  ScopedScreenSize screen(320, 240);
  const std::string file = Path("imfull.dat");

  long refusals = 0;
  for (long n = 0;; ++n) {
    std::unique_ptr<CDIB> image;
    bool refused = false;
    CString error;
    {
      alloctest::RefuseAllocationsAfter refuse(n);
      image.reset(GetImage(file.c_str(), &desc, 0, TRUE, 0, nullptr, nullptr, FALSE, error));
      refused = refuse.Refused();
    }
    if (!refused) {
      ASSERT_TRUE(image) << error;
      EXPECT_EQ(image->GetWidth(), 320);
      break;
    }
    ++refusals;
    EXPECT_FALSE(image) << "allocation " << n << " refused";
    if (!error.IsEmpty()) {
      EXPECT_EQ(error.Find("GetImage Error Message: "), 0) << error;
    }
  }
  EXPECT_GE(refusals, 3) << "the file, the decoder and the result at least";
}

}  // namespace
