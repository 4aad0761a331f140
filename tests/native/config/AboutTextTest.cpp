// The About dialog's texts: joined exactly, and the credits path of any length.
#include <string>

#include <gtest/gtest.h>

#include "config/AboutText.h"

namespace {

TEST(AboutText, CaptionAndVersionLineAreJoinedWithoutFurtherSpaces) {
  EXPECT_STREQ(AboutCaption("Tarvosa"), "About the Tarvosa Screen Saver");
  EXPECT_STREQ(AboutVersionLine("Tarvosa", "1.2.3"), "Tarvosa Screen Saver - Version 1.2.3");
  EXPECT_STREQ(AboutCaption(""), "About the  Screen Saver");
}

TEST(AboutText, TheCreditsPathKeepsAFolderLongerThanAnyFixedBuffer) {
  EXPECT_STREQ(CreditsPath("C:\\Sets\\demo\\klvdata"), "C:\\Sets\\demo\\klvdata\\credits.RTF");
  const std::string folder = "C:\\" + std::string(300, 'x');
  const CString path = CreditsPath(folder.c_str());
  EXPECT_EQ(std::string(path), folder + "\\credits.RTF");
}

}  // namespace
