// The top-ten play-list dialog run modally from its template under Wine's null display driver,
// driven from a second thread, on the demo set "alpha" with its cache.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/ImageBrowser.h"
#include "config/TopTenDialog.h"
#include "controls/ControlsViews.h"
#include "controls/SelectedImage.h"
#include "controls/TitleLists.h"
#include "imageset/ImageSet.h"
#include "imaging/Descriptors.h"
#include "imaging/QuarterCache.h"
#include "res/DialogIds.h"
#include "seams/Alerts.h"
#include "settings/IniSettings.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/config/BrowserTesting.h"
#include "tests/wine/config/DialogDriver.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tests/wine/support/GdiHeadroom.h"
#include "tools/setup/SettingsInstaller.h"

namespace {

using dialogtest::DialogRun;
using dialogtest::Driver;

class TopTen : public testing::Test {
 protected:
  void SetUp() override {
    controltest::RegisterControls();
    ASSERT_TRUE(RegisterFullScreenImageWnd());
    browsertest::UseSet(browsertest::CachedSet());  // the cache index not loaded yet
    ImageSettings = ImageSetSettings{};
    SelectedImageNo = -1;
    Store("3,8,1");
  }
  void TearDown() override {
    browsertest::ResetImageState();
    browsertest::FailOnAlerts(alerts_);
  }

  static void Store(const char* text) {
    std::memset(IniSettings.TOPTEN_PLAYLIST, 0, sizeof IniSettings.TOPTEN_PLAYLIST);
    std::strcpy(IniSettings.TOPTEN_PLAYLIST, text);
  }
  static DialogRun Run(const browsertest::Script& script) {
    return browsertest::RunDialog(IDD_TOPTEN, TopTenDlgProc, script);
  }
  // The images of a list box, line by line.
  static std::vector<int> Images(Driver& d, int id) {
    std::vector<int> images;
    for (int line = 0; line < d.ListCount(id); ++line)
      images.push_back(browsertest::NumberAt(d.Item(id), line));
    return images;
  }
  static std::vector<int> Sorted(std::vector<int> images) {
    std::sort(images.begin(), images.end());
    return images;
  }
  static void ExpectSortedByTitle(Driver& d, int id) {
    for (int line = 1; line < d.ListCount(id); ++line)
      EXPECT_LE(lstrcmpiA(d.ListText(id, line - 1).c_str(), d.ListText(id, line).c_str()), 0)
          << "list " << id << " line " << line;
  }
  // Chooses image n in the list of all titles and adds it.
  static void Add(Driver& d, int n) {
    d.SelectList(IDC_IMAGETITLELIST,
                 FindImageInList(&ImageDescArray, d.Item(IDC_IMAGETITLELIST), n));
    d.Click(IDC_ADDTOTOPTEN);
  }
  std::vector<seams::AlertRecord> TakeAlerts() {
    std::vector<seams::AlertRecord> records = alerts_.Records();
    alerts_.Clear();
    return records;
  }

  seams::ScopedAlertRecorder alerts_;
};

TEST_F(TopTen, TheFirstOpeningShowsBothListsSortedByTitle) {
  QuarterImageCount = 0;  // the cache index not loaded yet: the dialog loads it
  Run([&](Driver& d) {
    EXPECT_EQ(d.WindowText(d.Dialog()), "Select Top 10 Image Play List");
    EXPECT_EQ(d.ListCount(IDC_IMAGETITLELIST), 12);
    ExpectSortedByTitle(d, IDC_IMAGETITLELIST);
    EXPECT_EQ(Sorted(Images(d, IDC_TOPTENLIST)), (std::vector<int>{1, 3, 8}));
    ExpectSortedByTitle(d, IDC_TOPTENLIST);
    EXPECT_EQ(d.ListSelection(IDC_IMAGETITLELIST), 0);
    EXPECT_EQ(SelectedImageNo, browsertest::NumberAt(d.Item(IDC_IMAGETITLELIST), 0));
    auto* preview = static_cast<CRDIBCtl*>(CWnd::FromHandlePermanent(d.Item(IDC_TOPTENPREVIEW)));
    EXPECT_NE(preview->image, nullptr);
    // A play-list line previews its image.
    d.SelectList(IDC_TOPTENLIST, 1);
    EXPECT_EQ(SelectedImageNo, browsertest::NumberAt(d.Item(IDC_TOPTENLIST), 1));
    d.Click(IDCANCEL);
  });
}

TEST_F(TopTen, AddAppendsInPlayOrderIgnoresDuplicatesAndRefusesAnEleventh) {
  Run([&](Driver& d) {
    Add(d, 0);
    EXPECT_STREQ(TopTenWorkList, "3,8,1,0");
    EXPECT_EQ(Sorted(Images(d, IDC_TOPTENLIST)), (std::vector<int>{0, 1, 3, 8}));
    ExpectSortedByTitle(d, IDC_TOPTENLIST);
    Add(d, 8);  // already listed: silently nothing
    EXPECT_STREQ(TopTenWorkList, "3,8,1,0");
    EXPECT_TRUE(TakeAlerts().empty());
    for (int n : {2, 4, 5, 6, 7, 9}) Add(d, n);
    EXPECT_STREQ(TopTenWorkList, "3,8,1,0,2,4,5,6,7,9");
    Add(d, 11);
    const std::vector<seams::AlertRecord> alerts = TakeAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].text, "Top 10 image play list can handle a maximum of 10 images only.");
    EXPECT_EQ(alerts[0].caption, "Screen Saver Top Ten Play List Info");
    EXPECT_EQ(alerts[0].owner, d.Dialog()) << "owned, so the dialog waits while the box shows";
    EXPECT_STREQ(TopTenWorkList, "3,8,1,0,2,4,5,6,7,9");
    EXPECT_EQ(d.ListCount(IDC_TOPTENLIST), 10);
    EXPECT_STREQ(IniSettings.TOPTEN_PLAYLIST, "3,8,1") << "stored only by OK";
    d.Click(IDOK);
  });
  EXPECT_STREQ(IniSettings.TOPTEN_PLAYLIST, "3,8,1,0,2,4,5,6,7,9");
}

TEST_F(TopTen, RemovingTheLastEntryLeavesTheEmptyTextWhichOkStoresAndCancelDrops) {
  for (int closing : {IDOK, IDCANCEL}) {
    SCOPED_TRACE(closing == IDOK ? "OK" : "Cancel");
    Store("5");
    Run([&](Driver& d) {
      ASSERT_EQ(d.ListCount(IDC_TOPTENLIST), 1);
      d.Click(IDC_REMOVEFROMTOPTEN);  // nothing chosen in the play list: nothing removed
      EXPECT_STREQ(TopTenWorkList, "5");
      d.SelectList(IDC_TOPTENLIST, 0);
      d.Click(IDC_REMOVEFROMTOPTEN);
      EXPECT_EQ(d.ListCount(IDC_TOPTENLIST), 0);
      EXPECT_TRUE(std::all_of(TopTenWorkList, TopTenWorkList + sizeof TopTenWorkList,
                              [](char c) { return c == 0; }));
      d.Click(closing);
    });
    EXPECT_STREQ(IniSettings.TOPTEN_PLAYLIST, closing == IDOK ? "" : "5");
  }
}

// A set whose descriptions cannot be read leaves the dialog without lists; OK then keeps the
// stored play list instead of writing an empty or earlier working copy over it.
TEST_F(TopTen, OkAfterAFailedOpeningKeepsTheStoredPlayList) {
  testsupport::TempFolder empty("noset");
  std::memcpy(TopTenWorkList, "9", 2);  // what an earlier opening left
  DeleteImageDescs(&ImageDescArray);
  QuarterImageCount = 0;
  std::strcpy(IniSettings.DATADIRECTORY, empty.str().c_str());
  Run([](Driver& d) {
    EXPECT_EQ(d.ListCount(IDC_TOPTENLIST), 0);
    d.Click(IDOK);
  });
  EXPECT_STREQ(IniSettings.TOPTEN_PLAYLIST, "3,8,1");
  TakeAlerts();
}

TEST_F(TopTen, EntriesAreBoundByTheDescriptorsAsWellAsTheCache) {
  // The cache holds twelve pictures but only ten records are described: entry 11 is not an
  // image of the dialog, so the stored text does not parse and the play list shows empty.
  for (int i = ImageDescArray.GetSize() - 1; i >= 10; --i) {
    delete ImageDescArray.GetAt(i);
    ImageDescArray.RemoveAt(i);
  }
  Store("2,11");
  Run([&](Driver& d) {
    EXPECT_EQ(d.ListCount(IDC_IMAGETITLELIST), 10);
    EXPECT_EQ(d.ListCount(IDC_TOPTENLIST), 0);
    int shown = -1;
    d.OnDialogThread([&] { shown = ShowTopTenPreview(d.Dialog(), 11); });
    EXPECT_EQ(shown, 0);
    Add(d, 4);  // an add replaces the text that did not parse
    EXPECT_STREQ(TopTenWorkList, "4");
    d.Click(IDCANCEL);
  });
}

TEST_F(TopTen, TheViewerFromThePreviewReportsBackItsLastImage) {
  Run([&](Driver& d) {
    HWND all = d.Item(IDC_IMAGETITLELIST);
    d.SelectList(IDC_IMAGETITLELIST, 3);
    PostMessageA(d.Dialog(), WM_RDIBCTL_CLICK, 0,
                 reinterpret_cast<LPARAM>(d.Item(IDC_TOPTENPREVIEW)));
    HWND viewer = d.WaitForWindow("Kelvane");
    ASSERT_NE(viewer, nullptr);
    d.PostKey(viewer, VK_RIGHT);
    d.PostKey(viewer, VK_ESCAPE);
    d.Sync();
    EXPECT_FALSE(IsWindow(viewer));
    EXPECT_EQ(d.ListSelection(IDC_IMAGETITLELIST), 4);
    EXPECT_EQ(SelectedImageNo, browsertest::NumberAt(all, 4));
    d.Click(IDCANCEL);
  });
}

TEST_F(TopTen, EditsTheSettingsTheSetupProgramInstallsAndOkKeepsThemForTheSave) {
  // The program's private prefix, as the setup program leaves it over the demo set.
  ASSERT_TRUE(InstallSettings(browsertest::CachedSet(), true).ok);
  CString key;
  BuildRegistryKeyPath(key);
  std::memset(&IniSettings, 0, sizeof IniSettings);
  ASSERT_EQ(GetIniSettings(key), 0);
  ASSERT_TRUE(GetDataDirectoryIniSetting());
  DeleteImageDescs(&ImageDescArray);
  QuarterImageCount = 0;
  Run([&](Driver& d) {
    EXPECT_EQ(d.ListCount(IDC_IMAGETITLELIST), 12);
    EXPECT_EQ(d.ListCount(IDC_TOPTENLIST), 0) << "installed with an empty play list";
    Add(d, 6);
    Add(d, 2);
    d.Click(IDOK);
  });
  EXPECT_STREQ(IniSettings.TOPTEN_PLAYLIST, "6,2");
  vSaveIniSettings(key);  // what the settings dialog's OK does next
  std::memset(IniSettings.TOPTEN_PLAYLIST, 0, sizeof IniSettings.TOPTEN_PLAYLIST);
  ASSERT_EQ(GetIniSettings(key), 0);
  EXPECT_STREQ(IniSettings.TOPTEN_PLAYLIST, "6,2");
  std::memset(&IniSettings, 0, sizeof IniSettings);  // the other tests' blank settings
}

TEST_F(TopTen, FiftyOpenAndCloseCyclesLeaveNoGdiObject) {
  EXPECT_EQ(browsertest::GdiObjectsLeftByFiftyRuns(IDD_TOPTEN, TopTenDlgProc,
                                                   [](Driver& d) {
                                                     d.SelectList(IDC_IMAGETITLELIST, 2);
                                                     d.Click(IDCANCEL);
                                                   }),
            0);
}

TEST_F(TopTen, OpenTimeWithFiftyTwoImages) {
  browsertest::UseSet(browsertest::FiftyTwoImageSet());
  ASSERT_EQ(ImageDescArray.GetSize(), 52);
  Store("40,3,51,17,9");
  browsertest::PrintOpenTime("top-ten dialog", IDD_TOPTEN, TopTenDlgProc, [](Driver& d) {
    EXPECT_EQ(d.ListCount(IDC_TOPTENLIST), 5);
    d.Click(IDCANCEL);
  });
}

}  // namespace
