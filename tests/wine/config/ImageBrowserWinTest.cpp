// The image browser run modally from its template under Wine's null display driver, driven from
// a second thread, on the demo set "alpha" with its cache.
#include <windows.h>
#include <richedit.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/ImageBrowser.h"
#include "controls/ControlsViews.h"
#include "controls/SelectedImage.h"
#include "controls/TitleLists.h"
#include "imageset/ImageSet.h"
#include "imaging/Descriptors.h"
#include "imaging/QuarterCache.h"
#include "res/DialogIds.h"
#include "richtext/RichTextDocument.h"
#include "seams/Alerts.h"
#include "seams/Registry.h"
#include "settings/IniSettings.h"
#include "tests/wine/config/BrowserTesting.h"
#include "tests/wine/config/DialogDriver.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tests/wine/support/GdiHeadroom.h"

namespace {

using dialogtest::DialogRun;
using dialogtest::Driver;

class ImageBrowser : public testing::Test {
 protected:
  void SetUp() override {
    controltest::RegisterControls();
    ASSERT_TRUE(RegisterFullScreenImageWnd());
    browsertest::UseSet(browsertest::CachedSet());
    ImageSettings = ImageSetSettings{};
    SelectedImageNo = -1;
  }
  void TearDown() override {
    browsertest::ResetImageState();
    browsertest::FailOnAlerts(alerts_);
  }

  static DialogRun Run(const browsertest::Script& script) {
    return browsertest::RunDialog(IDD_IMAGEBROWSER, ImageSearchDlgProc, script);
  }
  // The image shown: the selected line's image, which the preview also remembers.
  static int SelectedImage(Driver& d) {
    return GetSelectedImageNo(&ImageDescArray, d.Item(IDC_IMAGETITLELIST));
  }
  static CRDIBCtl* Preview(Driver& d) {
    return static_cast<CRDIBCtl*>(CWnd::FromHandlePermanent(d.Item(IDC_BROWSERPREVIEW)));
  }
  static HWND DescriptionEdit(Driver& d) {
    auto* view = static_cast<CRRTFCtl*>(CWnd::FromHandlePermanent(d.Item(IDC_BROWSERDESCRIPTION)));
    return view && view->document ? view->document->editWindow : nullptr;
  }
  static std::string DescriptionText(Driver& d) { return d.WindowText(DescriptionEdit(d)); }
  std::vector<std::string> TakeAlerts() { return browsertest::TakeAlertTexts(alerts_); }

  seams::ScopedAlertRecorder alerts_;
};

TEST_F(ImageBrowser, OpensWithTheFirstTitleOrTheLastPreviewedImage) {
  for (int previewed : {-1, 7}) {
    SCOPED_TRACE("previewed " + std::to_string(previewed));
    SelectedImageNo = previewed;
    const DialogRun run = Run([&](Driver& d) {
      EXPECT_EQ(d.WindowText(d.Dialog()), "Browse Kelvane Image Set(s)");
      HWND list = d.Item(IDC_IMAGETITLELIST);
      const int count = d.ListCount(IDC_IMAGETITLELIST);
      ASSERT_EQ(count, ImageDescArray.GetSize());
      for (int line = 1; line < count; ++line)
        EXPECT_LE(lstrcmpiA(d.ListText(IDC_IMAGETITLELIST, line - 1).c_str(),
                            d.ListText(IDC_IMAGETITLELIST, line).c_str()),
                  0)
            << "sorted by title at line " << line;
      if (previewed < 0)
        EXPECT_EQ(d.ListSelection(IDC_IMAGETITLELIST), 0);
      else
        EXPECT_EQ(SelectedImage(d), previewed);
      EXPECT_EQ(SelectedImageNo, browsertest::NumberAt(list, d.ListSelection(IDC_IMAGETITLELIST)));
      EXPECT_NE(Preview(d)->image, nullptr);
      EXPECT_EQ(d.Text(IDC_BROWSERCURRENTSET), "");
      // The description is the image's own, read-only.
      const auto* desc = static_cast<const CImageDesc*>(ImageDescArray.GetAt(SelectedImageNo));
      EXPECT_NE(DescriptionText(d).find(static_cast<const char*>(desc->title)), std::string::npos)
          << DescriptionText(d);
      EXPECT_TRUE(GetWindowLongA(DescriptionEdit(d), GWL_STYLE) & ES_READONLY);
      d.Click(IDOK);
    });
    EXPECT_EQ(run.result, 0);
  }
}

TEST_F(ImageBrowser, NextAndPreviousStopAtTheEnds) {
  Run([&](Driver& d) {
    const int count = d.ListCount(IDC_IMAGETITLELIST);
    for (int i = 0; i < count + 2; ++i) d.Click(IDC_NEXTIMAGE);
    EXPECT_EQ(d.ListSelection(IDC_IMAGETITLELIST), count - 1);
    EXPECT_EQ(SelectedImageNo, SelectedImage(d));
    d.Click(IDC_PREVIOUSIMAGE);
    EXPECT_EQ(d.ListSelection(IDC_IMAGETITLELIST), count - 2);
    for (int i = 0; i < count + 2; ++i) d.Click(IDC_PREVIOUSIMAGE);
    EXPECT_EQ(d.ListSelection(IDC_IMAGETITLELIST), 0);
    EXPECT_EQ(SelectedImageNo, SelectedImage(d));
    // A line chosen in the list shows its image.
    d.SelectList(IDC_IMAGETITLELIST, 4);
    EXPECT_EQ(SelectedImageNo, SelectedImage(d));
    d.Command(IDCANCEL);  // Escape: the browser has no Cancel button
  });
}

TEST_F(ImageBrowser, AnEmptyDescriptionRangeShowsAnEmptyDescription) {
  auto* desc = static_cast<CImageDesc*>(ImageDescArray.GetAt(3));
  desc->descriptionEnd = desc->descriptionStart;
  Run([&](Driver& d) {
    ASSERT_NE(DescriptionText(d), "");
    int result = -1;
    d.OnDialogThread([&] { result = ShowBrowserImage(d.Dialog(), 3); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(DescriptionText(d), "");
    EXPECT_EQ(SelectedImageNo, 3);
    // Outside the set: refused without a message.
    for (int index : {-1, ImageDescArray.GetSize(), 99})
      d.OnDialogThread([&] { result = ShowBrowserImage(d.Dialog(), index); });
    EXPECT_EQ(result, 0);
    d.OnDialogThread([&] {
      result = ShowImageDescription(d.Item(IDC_BROWSERDESCRIPTION), ImageDescArray.GetSize());
    });
    EXPECT_EQ(result, 0);
    // A window that holds no document.
    d.OnDialogThread([&] { result = ShowImageDescription(d.Item(IDOK), 2); });
    EXPECT_EQ(result, 0);
    d.Click(IDOK);
  });
}

TEST_F(ImageBrowser, AMissingDescriptionFileIsReportedAndThePreviewStillChanges) {
  testsupport::TempFolder folder("nodoc");
  browsertest::UseSet(browsertest::CopyOfSet(folder));
  ASSERT_TRUE(DeleteFileA(ImageSetFilePath("imagedoc.dat")));
  Run([&](Driver& d) {
    EXPECT_EQ(TakeAlerts(),
              std::vector<std::string>{"Unable to find image rtf file - imagedoc.dat"});
    d.Click(IDC_NEXTIMAGE);  // the list loses the focus: no second load of the same image
    EXPECT_EQ(SelectedImageNo, SelectedImage(d)) << "the preview changed";
    EXPECT_EQ(TakeAlerts(),
              std::vector<std::string>{"Unable to find image rtf file - imagedoc.dat"});
    d.Click(IDOK);
  });
}

TEST_F(ImageBrowser, TheViewerStepsAndTheDialogSelectsTheLastImage) {
  for (WPARAM closing : {WPARAM{VK_ESCAPE}, WPARAM{VK_MENU}}) {
    SCOPED_TRACE("closed by " + std::to_string(closing));
    SelectedImageNo = -1;  // opens at the first line
    Run([&](Driver& d) {
      const int count = d.ListCount(IDC_IMAGETITLELIST);
      d.Post(IDC_FULLSCREENIMAGE);
      HWND viewer = d.WaitForWindow("Kelvane");
      ASSERT_NE(viewer, nullptr);
      d.PostKey(viewer, VK_LEFT);  // from the first line to the last
      d.PostKey(viewer, VK_LEFT);
      if (closing == VK_MENU)
        PostMessageA(viewer, WM_SYSKEYDOWN, VK_MENU, 0);
      else
        d.PostKey(viewer, closing);
      d.Sync();
      EXPECT_FALSE(IsWindow(viewer));
      EXPECT_EQ(d.ListSelection(IDC_IMAGETITLELIST), count - 2);
      EXPECT_EQ(SelectedImageNo, SelectedImage(d));
      d.Click(IDOK);
    });
  }
}

TEST_F(ImageBrowser, AnotherImageSetReplacesTheListFromItsFirstTitle) {
  // Two installed sets over the in-memory registry; "alpha" is the current one.
  constexpr char kAlpha[] = "SOFTWARE\\KLV\\IMAGESET\\Alpha";
  constexpr char kBeta[] = "SOFTWARE\\KLV\\IMAGESET\\Beta";
  seams::MemoryRegistry registry;
  const seams::ScopedRegistry scoped(&registry);
  const std::string beta = dialogtest::InstalledSets().beta;
  registry.Put(kAlpha, "DATADIRECTORY", browsertest::CachedSet());
  registry.Put(kBeta, "DATADIRECTORY", beta);
  std::strcpy(IniSettings.IMAGESETKEY, kAlpha);
  Run([&](Driver& d) {
    d.SelectList(IDC_IMAGETITLELIST, 5);
    ASSERT_NE(SelectedImageNo, -1);
    d.Post(IDC_BROWSERIMAGESET);
    HWND chooser = d.WaitForWindow("Select Image Set to be used in Screen Saver");
    ASSERT_NE(chooser, nullptr);
    int betaLine = -1;
    for (int line = 0; line < d.ListCount(IDC_IMAGESETLIST, chooser); ++line)
      if (d.ListText(IDC_IMAGESETLIST, line, chooser) == "Beta") betaLine = line;
    ASSERT_GE(betaLine, 0);
    d.SelectList(IDC_IMAGESETLIST, betaLine, chooser);
    d.Post(IDOK, BN_CLICKED, chooser);
    d.Sync();
    EXPECT_FALSE(IsWindow(chooser));
    EXPECT_STREQ(IniSettings.DATADIRECTORY, beta.c_str());
    EXPECT_EQ(d.ListCount(IDC_IMAGETITLELIST), 12);
    EXPECT_EQ(d.ListSelection(IDC_IMAGETITLELIST), 0) << "the new set starts at its first title";
    EXPECT_EQ(SelectedImageNo, SelectedImage(d));
    EXPECT_EQ(d.Text(IDC_BROWSERCURRENTSET), "");
    d.Click(IDOK);
  });
  std::memset(&IniSettings, 0, sizeof IniSettings);
}

TEST_F(ImageBrowser, FiftyOpenAndCloseCyclesLeaveNoGdiObject) {
  EXPECT_EQ(browsertest::GdiObjectsLeftByFiftyRuns(IDD_IMAGEBROWSER, ImageSearchDlgProc,
                                                   [](Driver& d) {
                                                     d.Click(IDC_NEXTIMAGE);
                                                     d.Click(IDOK);
                                                   }),
            0);
}

TEST_F(ImageBrowser, OpenTimeWithFiftyTwoImages) {
  browsertest::UseSet(browsertest::FiftyTwoImageSet());
  ASSERT_EQ(ImageDescArray.GetSize(), 52);
  browsertest::PrintOpenTime("image browser", IDD_IMAGEBROWSER, ImageSearchDlgProc, [](Driver& d) {
    EXPECT_EQ(d.ListCount(IDC_IMAGETITLELIST), 52);
    d.Click(IDOK);
  });
}

}  // namespace
