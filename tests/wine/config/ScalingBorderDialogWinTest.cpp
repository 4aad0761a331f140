// The image scaling and border dialog driven through its template under Wine's null display
// driver (1024 x 768 unless a test sets another size through the screen-size seam), with the
// settings the setup program installs over a demo set: what it shows on opening, what each
// control changes, the mini screen against the same composition built from the same inputs, the
// enabling rule, the own-images mode with its viewer, the mends, and many openings.
#include <windows.h>

#include <cstring>

#include <gtest/gtest.h>

#include "config/ScalingBorderDialog.h"
#include "controls/ControlsViews.h"
#include "controls/SelectedImage.h"
#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/DIB.h"
#include "imaging/Resample.h"
#include "res/DialogIds.h"
#include "seams/ScreenSize.h"
#include "tests/wine/config/PreviewDialogFixture.h"
#include "tests/wine/support/GdiHeadroom.h"

namespace {

using dialogtest::Driver;
using previewtest::Pixels;

class ScalingBorderDialog : public previewtest::PreviewDialogTest {
 protected:
  dialogtest::DialogRun Open(const std::function<void(Driver&)>& script) {
    return Run(IDD_SCALINGBORDER, ScalingBorderDlgProc, script);
  }
};

TEST_F(ScalingBorderDialog, OpeningShowsTheStoredValues) {
  std::strcpy(IniSettings.IMAGE_SIZE, "2");
  std::strcpy(IniSettings.IMAGE_BACKSTYLE, "1");
  std::strcpy(IniSettings.IMAGE_SCREENSTYLE, "3");
  std::strcpy(IniSettings.IMAGE_BORDERSTYLE, "5");
  std::strcpy(IniSettings.IMAGE_BORDERTHICKNESS, "1");
  std::strcpy(IniSettings.IMAGE_BORDERSHADOWON, "0");
  std::strcpy(IniSettings.INTERPON, "0");
  Open([](Driver& d) {
    EXPECT_EQ(d.WindowText(d.Dialog()), "Determine Image Scaling and Border Effects");
    EXPECT_EQ(d.Text(IDC_SCREENRESOLUTION), "1024x768");
    ASSERT_EQ(d.ComboCount(IDC_IMAGERES), 4);
    EXPECT_EQ(d.ComboText(IDC_IMAGERES, 2), "800x600");
    EXPECT_EQ(d.ComboSelection(IDC_IMAGERES), 2);
    EXPECT_TRUE(d.Checked(IDC_BACKSMALLLOGO));
    EXPECT_TRUE(d.Checked(IDC_SCREENWHITE));
    EXPECT_TRUE(d.Checked(IDC_BORDERSTAMP));
    EXPECT_TRUE(d.Checked(IDC_BORDERWIDE));
    EXPECT_TRUE(d.Checked(IDC_SHADOWOFF));
    EXPECT_TRUE(d.Checked(IDC_SIMPLESCALING));
    EXPECT_FALSE(d.Checked(IDC_PALETTEINTERP));
    for (int id : {IDC_BORDERSTAMP, IDC_SCREENWHITE, IDC_PALETTEINTERP, IDC_BACKNONE, IDC_IMAGERES})
      EXPECT_TRUE(d.Enabled(id)) << id;
    EXPECT_EQ(d.ListCount(IDC_WALLPAPERIMAGELIST), 12) << "the hidden list of titles";
    EXPECT_NE(previewtest::PreviewIdentity(d), nullptr);
    d.Click(IDCANCEL);
  });
}

TEST_F(ScalingBorderDialog, EachControlChangesItsValueAndUnchangedClicksDoNotRecompose) {
  std::strcpy(IniSettings.IMAGE_SIZE, "1");
  Open([](Driver& d) {
    const ImageSetSettings& v = ImageSettings;
    previewtest::CheckClicks(d, {
                                    {IDC_BACKWHITE, &v.IMAGE_BACKSTYLE, 3, true},
                                    {IDC_BACKWHITE, &v.IMAGE_BACKSTYLE, 3, false},
                                    {IDC_BACKNONE, &v.IMAGE_BACKSTYLE, 4, true},
                                    {IDC_BACKLARGELOGO, &v.IMAGE_BACKSTYLE, 0, true},
                                    {IDC_SCREENBLACK, &v.IMAGE_SCREENSTYLE, 2, true},
                                    {IDC_SCREENBLACK, &v.IMAGE_SCREENSTYLE, 2, false},
                                    {IDC_BORDEREMBOSS, &v.IMAGE_BORDERSTYLE, 2, true},
                                    {IDC_BORDERNONE, &v.IMAGE_BORDERSTYLE, 6, true},
                                    {IDC_BORDERWIDE, &v.IMAGE_BORDERTHICKNESS, 1, true},
                                    {IDC_SHADOWOFF, &v.IMAGE_BORDERSHADOWON, 0, true},
                                    {IDC_SHADOWON, &v.IMAGE_BORDERSHADOWON, 1, true},
                                    {IDC_SHADOWON, &v.IMAGE_BORDERSHADOWON, 1, false},
                                });
    // The scaling method is not scaled at 640x480; at 800x600 it is, and changes no preview.
    EXPECT_FALSE(d.Enabled(IDC_PALETTEINTERP));
    d.SelectCombo(IDC_IMAGERES, 2);
    EXPECT_EQ(v.IMAGE_SIZE, 2);
    const void* before = previewtest::PreviewIdentity(d);
    d.Click(IDC_SIMPLESCALING);
    EXPECT_EQ(v.INTERPON, 0);
    d.Click(IDC_PALETTEINTERP);
    EXPECT_EQ(v.INTERPON, 1);
    EXPECT_EQ(previewtest::PreviewIdentity(d), before);
    // The screen's own size leaves no room for a frame or a screen border.
    d.SelectCombo(IDC_IMAGERES, 3);
    EXPECT_FALSE(d.Enabled(IDC_BORDEREMBOSS));
    EXPECT_FALSE(d.Enabled(IDC_SCREENBLACK));
    d.SelectCombo(IDC_IMAGERES, 0);
    EXPECT_FALSE(d.Enabled(IDC_BORDEREMBOSS));
    EXPECT_EQ(v.IMAGE_SIZE, 0);
    d.Click(IDCANCEL);
  });
}

// The mini screen: the screen background shrunk to 160 x 120, the cached picture shrunk as its
// size is to the screen and centred, its bottom-right corner square showing the background again.
TEST_F(ScalingBorderDialog, ThePreviewIsTheSameCompositionFromTheSameInputs) {
  std::strcpy(IniSettings.IMAGE_SIZE, "1");
  std::strcpy(IniSettings.IMAGE_SCREENSTYLE, "0");  // logo tiles: greys of the ramp
  Pixels shown;
  std::unique_ptr<CDIB> background;
  int picture = -1;
  Open([&](Driver& d) {
    shown = previewtest::PreviewPixels(d);
    d.OnDialogThread([&] {
      background.reset(ShrinkDIB8(ScreenBackgroundDIB, 160, 120));
      picture = SelectedImageNo;
    });
    d.Click(IDOK);
  });
  ASSERT_GE(picture, 0);
  ASSERT_NE(background, nullptr);
  std::unique_ptr<CDIB> cached = previewtest::CachedPicture(picture);
  ASSERT_NE(cached, nullptr);
  std::unique_ptr<CDIB> mini(ShrinkDIB8(cached.get(), 640 * 160 / 1024, 480 * 120 / 768));
  ASSERT_NE(mini, nullptr);
  const Pixels source = previewtest::PixelsOf(*mini);  // before the preview maps its colours
  const int w = mini->GetWidth(), h = mini->GetHeight(), x = 80 - w / 2, y = 60 - h / 2;
  const Pixels expected =
      previewtest::ComposedLikeThePreview(mini.get(), x, y, background.get(), 1);
  ASSERT_EQ(shown.width, 160);
  EXPECT_EQ(shown.rgb, expected.rgb);
  const int q = w / 4;
  long difference = 0, counted = 0;
  for (int py = 0; py < 120; ++py)
    for (int px = 0; px < 160; ++px) {
      const bool inPicture = px >= x && px < x + w && py >= y && py < y + h;
      const bool inCorner = px >= x + w - q && px < x + w && py >= y + h - q && py < y + h;
      if (!inPicture || inCorner) {
        ASSERT_TRUE(previewtest::IsGrey(shown.At(px, py))) << px << "," << py;
        continue;
      }
      const COLORREF want = source.At(px - x, py - y);
      const COLORREF got = shown.At(px, py);
      difference += std::abs(GetRValue(want) - GetRValue(got)) +
                    std::abs(GetGValue(want) - GetGValue(got)) +
                    std::abs(GetBValue(want) - GetBValue(got));
      ++counted;
    }
  EXPECT_LT(difference / counted, 12) << "mean colour distance to the cached picture";
}

// A stored size past the table (9) shows, and is previewed, as the nearest size the list offers
// (the screen's own, 1024 x 768), with no message: it used to raise three boxes and open on a
// black preview. Cancel keeps the stored 9; OK stores what the list shows.
TEST_F(ScalingBorderDialog, AStoredSizeOfNineShowsTheNearestSizeOffered) {
  for (int button : {IDCANCEL, IDOK}) {
    std::strcpy(IniSettings.IMAGE_SIZE, "9");
    Open([&](Driver& d) {
      EXPECT_EQ(d.ComboSelection(IDC_IMAGERES), 3);
      EXPECT_EQ(d.ComboText(IDC_IMAGERES, 3), "1024x768");
      EXPECT_EQ(ImageSettings.IMAGE_SIZE, 3);
      EXPECT_EQ(previewtest::PreviewPixels(d).width, 160) << "the preview is made";
      EXPECT_EQ(TakeAlerts(), std::vector<std::string>{});
      d.Click(button);
    });
    EXPECT_STREQ(IniSettings.IMAGE_SIZE, button == IDOK ? "3" : "9");
  }
}

TEST_F(ScalingBorderDialog, TheSizesAndTheScalingMethodFollowTheScreen) {
  struct Case {
    int cx, cy, lines;
    bool scaling;
  };
  for (const Case c :
       {Case{640, 480, 2, false}, Case{1600, 1200, 7, true}, Case{1920, 1080, 6, true}}) {
    SCOPED_TRACE(std::to_string(c.cx) + "x" + std::to_string(c.cy));
    const ScopedScreenSize screen(c.cx, c.cy);
    delete ScreenBackgroundDIB;
    ScreenBackgroundDIB = nullptr;
    Open([&](Driver& d) {
      EXPECT_EQ(d.ComboCount(IDC_IMAGERES), c.lines);
      EXPECT_EQ(d.Enabled(IDC_PALETTEINTERP), c.scaling);
      if (c.lines == 7) {
        EXPECT_EQ(d.ComboText(IDC_IMAGERES, 6), "1600x1200");
      }
      EXPECT_EQ(previewtest::PreviewPixels(d).width, 160);
      d.Click(IDCANCEL);
    });
  }
  delete ScreenBackgroundDIB;
  ScreenBackgroundDIB = nullptr;
}

TEST_F(ScalingBorderDialog, OkStoresTheChoicesAndCancelLeavesTheBuffersExactly) {
  const auto change = [](Driver& d) {
    d.SelectCombo(IDC_IMAGERES, 2);
    d.Click(IDC_BACKWHITE);
    d.Click(IDC_SCREENSMALLLOGO);
    d.Click(IDC_BORDERTEAR);
    d.Click(IDC_BORDERWIDE);
    d.Click(IDC_SHADOWOFF);
    d.Click(IDC_SIMPLESCALING);
  };
  CancelThenOk(IDD_SCALINGBORDER, ScalingBorderDlgProc, change);
  const IniSettingsBuffers& t = IniSettings;
  EXPECT_STREQ(t.IMAGE_SIZE, "2");
  EXPECT_STREQ(t.IMAGE_BACKSTYLE, "3");
  EXPECT_STREQ(t.IMAGE_SCREENSTYLE, "1");
  EXPECT_STREQ(t.IMAGE_BORDERSTYLE, "4");
  EXPECT_STREQ(t.IMAGE_BORDERTHICKNESS, "1");
  EXPECT_STREQ(t.IMAGE_BORDERSHADOWON, "0");
  EXPECT_STREQ(t.INTERPON, "0");
}

TEST_F(ScalingBorderDialog, AMissingBackgroundMakesNoPreview) {
  Open([](Driver& d) {
    d.OnDialogThread([&] {
      CDIB* kept = ScreenBackgroundDIB;
      ScreenBackgroundDIB = nullptr;
      EXPECT_EQ(scalingdlg::SetMiniScreenDIB(d.Dialog(), 0), 0);
      ScreenBackgroundDIB = kept;
    });
    d.Click(IDCANCEL);
  });
}

TEST_F(ScalingBorderDialog, OwnImagesShowTheLaidOutPictureAndItsViewer) {
  UseOwnImages(previewtest::InstalledPreviewSet().ownFolder);
  SelectedOwnImageNo = 2;
  Open([](Driver& d) {
    for (int id : {IDC_IMAGERES, IDC_BACKBLACK, IDC_BORDERFRAME, IDC_SHADOWON})
      EXPECT_FALSE(d.Enabled(id)) << id;
    EXPECT_TRUE(d.Enabled(IDC_SCREENBLACK));
    EXPECT_EQ(d.ListSelection(IDC_WALLPAPERIMAGELIST), 2);
    Pixels shown = previewtest::PreviewPixels(d), laidOut;
    d.OnDialogThread([&] { laidOut = previewtest::PixelsOf(*FullScreenOwnImageDIB); });
    EXPECT_EQ(shown.rgb, laidOut.rgb);
    EXPECT_EQ(shown.width, 1024);
    // A click opens the own-images viewer; a key closes it and the preview is made again.
    const void* before = previewtest::PreviewIdentity(d);
    PostMessageA(d.Dialog(), WM_RDIBCTL_CLICK, 0,
                 reinterpret_cast<LPARAM>(d.Item(IDC_MINIPREVIEW)));
    HWND viewer = d.WaitForWindow("Kelvane");
    ASSERT_NE(viewer, nullptr);
    d.PostKey(viewer, VK_ESCAPE);
    EXPECT_TRUE(d.WaitGone(viewer));
    d.Sync();
    EXPECT_NE(previewtest::PreviewIdentity(d), before);
    d.Click(IDC_SCREENWHITE);
    EXPECT_EQ(ImageSettings.IMAGE_SCREENSTYLE, 3);
    d.Click(IDCANCEL);
  });
}

TEST_F(ScalingBorderDialog, AClickOpensTheImageViewerAndThePreviewFollowsItsLastPicture) {
  Open([](Driver& d) {
    const int first = SelectedImageNo;
    PostMessageA(d.Dialog(), WM_RDIBCTL_CLICK, 0,
                 reinterpret_cast<LPARAM>(d.Item(IDC_MINIPREVIEW)));
    HWND viewer = d.WaitForWindow("Kelvane");
    ASSERT_NE(viewer, nullptr);
    d.PostKey(viewer, VK_RIGHT);  // the next title
    d.Sync();
    const void* before = previewtest::PreviewIdentity(d);
    d.PostKey(viewer, VK_ESCAPE);
    EXPECT_TRUE(d.WaitGone(viewer));
    d.Sync();
    EXPECT_NE(SelectedImageNo, first);
    EXPECT_NE(previewtest::PreviewIdentity(d), before) << "the preview shows the viewer's picture";
    d.Click(IDCANCEL);
  });
}

TEST_F(ScalingBorderDialog, FiftyOpeningsAndClosingsLeaveNoGdiObjectBehind) {
  const auto cycle = [this](int i) {
    Open([i](Driver& d) {
      d.Click(i % 2 ? IDC_BACKBLACK : IDC_BACKWHITE);
      d.Click(i % 3 ? IDCANCEL : IDOK);
    });
  };
  cycle(0);
  cycle(1);
  const int before = wintest::FreeGdiHandles();
  for (int i = 0; i < 50; ++i) cycle(i);
  EXPECT_EQ(wintest::FreeGdiHandles(), before);
}

}  // namespace
