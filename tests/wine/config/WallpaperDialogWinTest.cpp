// The wallpaper dialog driven through its template under Wine's null display driver (1024 x 768,
// 32 bits), with the settings the setup program installs over a demo set: what it shows on
// opening, what each control changes, the mini preview against the same composition built from
// the same inputs, the layouts each mode offers, the mends, and opening and closing it many times.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "config/MiniScreenRules.h"
#include "config/WallpaperDialog.h"
#include "controls/ControlsViews.h"
#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "imaging/Descriptors.h"
#include "imaging/Resample.h"
#include "res/DialogIds.h"
#include "seams/ScreenSize.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/config/PreviewDialogFixture.h"
#include "tests/wine/support/GdiHeadroom.h"
#include "tests/wine/support/WindowTesting.h"
#include "wallpaper/WallpaperComposer.h"
#include "wallpaper/WallpaperPreview.h"

namespace {

using dialogtest::Driver;
using previewtest::Pixels;

const char* TitleOf(int n) { return static_cast<CImageDesc*>(ImageDescArray.GetAt(n))->title; }

class WallpaperDialog : public previewtest::PreviewDialogTest {
 protected:
  dialogtest::DialogRun Open(const std::function<void(Driver&)>& script) {
    return Run(IDD_WALLPAPER, WallpaperDlgProc, script);
  }
  static void Store(char* buffer, const char* text) { std::strcpy(buffer, text); }
  // The picture number of a line of the hidden list.
  static int NumberAtLine(Driver& d, int line) {
    const std::string title = d.ListText(IDC_WALLPAPERIMAGELIST, line);
    for (int n = 0; n < ImageDescArray.GetSize(); ++n)
      if (title == TitleOf(n)) return n;
    return -1;
  }
};

TEST_F(WallpaperDialog, OpeningShowsTheStoredValues) {
  Store(IniSettings.WALLPAPER_SCREENSTYLE, "2");
  Store(IniSettings.WALLPAPER_BORDERSTYLE, "4");
  Store(IniSettings.WALLPAPER_BORDERTHICKNESS, "1");
  Store(IniSettings.WALLPAPER_BORDERSHADOWON, "0");
  Store(IniSettings.WALLPAPER_INTERPON, "0");
  Store(IniSettings.WALLPAPER_IMAGETONE, "40");
  Store(IniSettings.WALLPAPER_AUTOROTATEON, "0");
  Store(IniSettings.WALLPAPER_IMAGESIZE, "2");
  Store(IniSettings.WALLPAPER_IMAGENO, "5");
  const auto run = Open([](Driver& d) {
    EXPECT_EQ(d.WindowText(d.Dialog()), "Determine Wallpaper Style");
    EXPECT_EQ(d.Text(IDC_SCREENRESOLUTION), "1024x768");
    ASSERT_EQ(d.ComboCount(IDC_IMAGERES), 4) << "Fit to Screen and three sizes on 1024x768";
    EXPECT_EQ(d.ComboText(IDC_IMAGERES, 0), "Fit to Screen");
    EXPECT_EQ(d.ComboText(IDC_IMAGERES, 1), "640x480");
    EXPECT_EQ(d.ComboText(IDC_IMAGERES, 3), "1024x768");
    EXPECT_EQ(d.ComboSelection(IDC_IMAGERES), 2);
    EXPECT_TRUE(d.Checked(IDC_SCREENBLACK));
    EXPECT_FALSE(d.Checked(IDC_SCREENLARGELOGO));
    EXPECT_TRUE(d.Checked(IDC_BORDERTEAR));
    EXPECT_FALSE(d.Checked(IDC_BORDERFRAME));
    EXPECT_TRUE(d.Checked(IDC_BORDERWIDE));
    EXPECT_TRUE(d.Checked(IDC_SHADOWOFF));
    EXPECT_TRUE(d.Checked(IDC_SIMPLESCALING));
    EXPECT_EQ(d.SliderPosition(IDC_WALLPAPERTONE), 255 - 40);
    EXPECT_FALSE(d.Checked(IDC_WALLPAPERAUTOROTATE));
    EXPECT_TRUE(d.Checked(IDC_WALLPAPERFULLSCALE));
    ASSERT_EQ(d.ComboCount(IDC_MULTIIMAGEFXCOMBO), 3);
    EXPECT_EQ(d.ComboText(IDC_MULTIIMAGEFXCOMBO, 0), "Tile");
    EXPECT_EQ(d.ComboText(IDC_MULTIIMAGEFXCOMBO, 2), "Mix'n'Match");
    EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGENO, 5);
    EXPECT_TRUE(d.Enabled(IDC_BORDERTEAR)) << "800x600 leaves room for frames";
    EXPECT_TRUE(d.Enabled(IDC_IMAGERES));
    EXPECT_TRUE(d.Enabled(IDC_WALLPAPERTHUMBNAILS));
    d.Click(IDCANCEL);
  });
  EXPECT_EQ(run.result, 0);
}

TEST_F(WallpaperDialog, EachControlChangesItsValueAndUnchangedClicksDoNotRecompose) {
  Open([](Driver& d) {
    const WallpaperSettingsValues& v = WallpaperSettings;
    d.SelectCombo(IDC_IMAGERES, 2);  // 800x600 leaves room round the picture for its frame
    previewtest::CheckClicks(
        d, {
               {IDC_SCREENWHITE, &v.WALLPAPER_SCREENSTYLE, 3, true},
               {IDC_SCREENWHITE, &v.WALLPAPER_SCREENSTYLE, 3, false},
               {IDC_SCREENSMALLLOGO, &v.WALLPAPER_SCREENSTYLE, 1, true},
               {IDC_BORDERSTAMP, &v.WALLPAPER_BORDERSTYLE, 5, true},
               {IDC_BORDERNONE, &v.WALLPAPER_BORDERSTYLE, 6, true},
               {IDC_BORDER2DBLACK, &v.WALLPAPER_BORDERSTYLE, 0, true},
               {IDC_BORDERWIDE, &v.WALLPAPER_BORDERTHICKNESS, 1, true},
               {IDC_SHADOWOFF, &v.WALLPAPER_BORDERSHADOWON, 0, true},
               {IDC_SHADOWOFF, &v.WALLPAPER_BORDERSHADOWON, 0, false},
               {IDC_SIMPLESCALING, &v.WALLPAPER_INTERPON, 0, false},  // no preview for the scaling
               {IDC_PALETTEINTERP, &v.WALLPAPER_INTERPON, 1, false},
               {IDC_WALLPAPERTHUMBNAILS, &v.WALLPAPER_IMAGEFX, 1, true},
               {IDC_WALLPAPERFULLSCALE, &v.WALLPAPER_IMAGEFX, 0, true},
           });
    // The lists and the slider.
    d.SelectCombo(IDC_IMAGERES, 1);
    EXPECT_EQ(v.WALLPAPER_IMAGESIZE, 1);
    EXPECT_FALSE(d.Enabled(IDC_PALETTEINTERP)) << "640x480 is not scaled";
    d.SelectCombo(IDC_IMAGERES, 3);
    EXPECT_EQ(v.WALLPAPER_IMAGESIZE, 3);
    EXPECT_FALSE(d.Enabled(IDC_BORDERSTAMP)) << "the screen's size leaves no room for a frame";
    EXPECT_TRUE(d.Enabled(IDC_PALETTEINTERP));
    d.Click(IDC_WALLPAPERTHUMBNAILS);
    d.SelectCombo(IDC_MULTIIMAGEFXCOMBO, 2);
    EXPECT_EQ(v.WALLPAPER_IMAGEFX, 3);
    EXPECT_TRUE(d.Enabled(IDC_BORDERSTAMP)) << "grids have frames";
    EXPECT_FALSE(d.Enabled(IDC_IMAGERES));
    d.ReleaseSlider(IDC_WALLPAPERTONE, 200);
    EXPECT_EQ(v.WALLPAPER_IMAGETONE, 55);
    d.Click(IDC_WALLPAPERAUTOROTATE);
    d.Click(IDCANCEL);
  });
}

// The full-scale mini screen is the background shrunk to 160 x 120 with the cached picture,
// lightened by the tone, shrunk as its size is to the screen and centred; greys stay grey.
TEST_F(WallpaperDialog, TheFullScalePreviewIsTheSameCompositionFromTheSameInputs) {
  std::strcpy(IniSettings.WALLPAPER_IMAGESIZE, "2");
  std::strcpy(IniSettings.WALLPAPER_IMAGETONE, "60");
  std::strcpy(IniSettings.WALLPAPER_IMAGENO, "3");
  Pixels shown;
  std::unique_ptr<CDIB> background;
  Open([&](Driver& d) {
    shown = previewtest::PreviewPixels(d);
    d.OnDialogThread([&] { background.reset(ShrinkDIB8(WallpaperBackgroundDIB, 160, 120)); });
    d.Click(IDOK);
  });
  ASSERT_EQ(shown.width, 160);
  ASSERT_EQ(shown.height, 120);
  ASSERT_NE(background, nullptr);
  std::unique_ptr<CDIB> cached = previewtest::CachedPicture(3);
  ASSERT_NE(cached, nullptr);
  std::unique_ptr<CDIB> mini(ShrinkDIB8(cached.get(), 800 * 160 / 1024, 600 * 120 / 768));
  ASSERT_NE(mini, nullptr);
  const Pixels source = previewtest::PixelsOf(*mini);
  mini->Lighten(60);
  const Pixels lightened = previewtest::PixelsOf(*mini);  // before the preview maps its colours
  const int x = 80 - mini->GetWidth() / 2, y = 60 - mini->GetHeight() / 2;
  const Pixels expected =
      previewtest::ComposedLikeThePreview(mini.get(), x, y, background.get(), 0);
  EXPECT_EQ(shown.rgb, expected.rgb);
  // Around the picture the background's greys; inside, the picture's colours, lighter than the
  // source's, and right way up (the top rows match the source's top rows).
  for (int py = 0; py < 120; ++py)
    for (int px = 0; px < 160; ++px) {
      const bool inside =
          px >= x && px < x + mini->GetWidth() && py >= y && py < y + mini->GetHeight();
      if (!inside) {
        ASSERT_TRUE(previewtest::IsGrey(shown.At(px, py))) << px << "," << py;
      }
    }
  long difference = 0, lighter = 0;
  for (int py = 0; py < mini->GetHeight(); ++py)
    for (int px = 0; px < mini->GetWidth(); ++px) {
      const COLORREF want = lightened.At(px, py);
      const COLORREF was = source.At(px, py);
      const COLORREF got = shown.At(x + px, y + py);
      difference += std::abs(GetRValue(want) - GetRValue(got)) +
                    std::abs(GetGValue(want) - GetGValue(got)) +
                    std::abs(GetBValue(want) - GetBValue(got));
      lighter += GetRValue(got) + GetGValue(got) + GetBValue(got) >=
                 GetRValue(was) + GetGValue(was) + GetBValue(was);
    }
  const long count = static_cast<long>(mini->GetWidth()) * mini->GetHeight();
  EXPECT_LT(difference / count, 12) << "mean colour distance to the lightened source";
  EXPECT_GT(lighter, count * 9 / 10);
}

TEST_F(WallpaperDialog, AGridPreviewShowsTheComposedWallpaper) {
  std::strcpy(IniSettings.WALLPAPER_IMAGEFX, "2");
  Open([](Driver& d) {
    const Pixels shown = previewtest::PreviewPixels(d);
    Pixels composed;
    d.OnDialogThread([&] {
      ASSERT_NE(ComposedWallpaperDIB(), nullptr);
      composed = previewtest::PixelsOf(*ComposedWallpaperDIB());
    });
    EXPECT_EQ(shown.rgb, composed.rgb);
    EXPECT_EQ(shown.width, 1024);
    d.Click(IDCANCEL);
  });
}

TEST_F(WallpaperDialog, EachModeOffersItsLayouts) {
  struct Case {
    const char* stored;
    bool own;
    int layout, comboCount, sizeLines;
    bool thumbnailsChecked;
  };
  const Case cases[] = {{"4", false, 1, 3, 4, true},
                        {"2", true, 4, 1, 1, true},
                        {"0", true, 0, 1, 1, false},
                        {"7", false, 1, 3, 4, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("stored ") + c.stored + (c.own ? " own" : " set"));
    SetUp();
    if (c.own) UseOwnImages(previewtest::InstalledPreviewSet().ownFolder);
    std::strcpy(IniSettings.WALLPAPER_IMAGEFX, c.stored);
    std::strcpy(IniSettings.WALLPAPER_IMAGESIZE, "3");
    Open([&](Driver& d) {
      EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGEFX, c.layout);
      EXPECT_EQ(d.ComboCount(IDC_MULTIIMAGEFXCOMBO), c.comboCount);
      EXPECT_EQ(d.ComboSelection(IDC_MULTIIMAGEFXCOMBO), 0);
      EXPECT_EQ(d.ComboCount(IDC_IMAGERES), c.sizeLines);
      EXPECT_EQ(d.Checked(IDC_WALLPAPERTHUMBNAILS), c.thumbnailsChecked);
      if (c.own) {
        EXPECT_EQ(d.ComboText(IDC_MULTIIMAGEFXCOMBO, 0), "Uniform");
      }
      EXPECT_EQ(previewtest::PreviewPixels(d).width, 1024) << "a composed wallpaper shows";
      d.Click(IDOK);
    });
    if (c.own) {
      EXPECT_STREQ(IniSettings.WALLPAPER_IMAGESIZE, "0");
    }
    TearDown();
  }
}

TEST_F(WallpaperDialog, AnEightBitDisplayHasNoThumbnails) {
  const ScopedScreenBitsPerPixel eight(8);
  std::strcpy(IniSettings.WALLPAPER_IMAGEFX, "2");
  Open([](Driver& d) {
    EXPECT_FALSE(d.Enabled(IDC_WALLPAPERTHUMBNAILS));
    EXPECT_TRUE(d.Checked(IDC_WALLPAPERFULLSCALE));
    EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGEFX, 0);
    d.Click(IDOK);
  });
  EXPECT_STREQ(IniSettings.WALLPAPER_IMAGEFX, "0");
}

TEST_F(WallpaperDialog, NoPictureChosenStartsAtTheFirstTitleAndNextAndPreviousWrap) {
  ASSERT_STREQ(IniSettings.WALLPAPER_IMAGENO, "-1");
  Open([this](Driver& d) {
    const int count = d.ListCount(IDC_WALLPAPERIMAGELIST);
    ASSERT_EQ(count, 12);
    const int first = NumberAtLine(d, 0), last = NumberAtLine(d, count - 1);
    EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGENO, first);
    d.Click(IDC_WALLPAPERPREVIOUS);
    EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGENO, last);
    const void* before = previewtest::PreviewIdentity(d);
    d.Click(IDC_WALLPAPERNEXT);
    EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGENO, first);
    EXPECT_NE(previewtest::PreviewIdentity(d), before);
    d.Click(IDC_WALLPAPERNEXT);
    EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGENO, NumberAtLine(d, 1));
    d.Click(IDOK);
  });
  EXPECT_EQ(std::atoi(IniSettings.WALLPAPER_IMAGENO), WallpaperSettings.WALLPAPER_IMAGENO);
}

// 6 is 1600 x 1200 on a 1024 x 768 screen: the list has no such line, so it shows (and the
// preview is made at) the nearest size it offers, the screen's own; OK stores that. It used to
// show a blank list and a failed preview, and OK stored "Fit to Screen".
TEST_F(WallpaperDialog, AStoredSizeLargerThanTheScreenShowsTheNearestSizeOffered) {
  std::strcpy(IniSettings.WALLPAPER_IMAGESIZE, "6");
  Open([](Driver& d) {
    EXPECT_EQ(d.ComboSelection(IDC_IMAGERES), 3);
    EXPECT_EQ(d.ComboText(IDC_IMAGERES, 3), "1024x768");
    d.Click(IDOK);
  });
  EXPECT_EQ(TakeAlerts(), std::vector<std::string>{});
  EXPECT_STREQ(IniSettings.WALLPAPER_IMAGESIZE, "3");
}

TEST_F(WallpaperDialog, OkStoresTheChoicesAndCancelLeavesTheBuffersExactly) {
  const auto change = [](Driver& d) {
    d.SelectCombo(IDC_IMAGERES, 2);
    d.Click(IDC_SCREENWHITE);
    d.Click(IDC_BORDERSTAMP);
    d.Click(IDC_BORDERWIDE);
    d.Click(IDC_SHADOWOFF);
    d.Click(IDC_SIMPLESCALING);
    d.ReleaseSlider(IDC_WALLPAPERTONE, 155);
    d.Click(IDC_WALLPAPERAUTOROTATE);
    d.Click(IDC_WALLPAPERNEXT);
  };
  CancelThenOk(IDD_WALLPAPER, WallpaperDlgProc, change);
  const IniSettingsBuffers& t = IniSettings;
  EXPECT_STREQ(t.WALLPAPER_SCREENSTYLE, "3");
  EXPECT_STREQ(t.WALLPAPER_BORDERSTYLE, "5");
  EXPECT_STREQ(t.WALLPAPER_BORDERTHICKNESS, "1");
  EXPECT_STREQ(t.WALLPAPER_BORDERSHADOWON, "0");
  EXPECT_STREQ(t.WALLPAPER_INTERPON, "0");
  EXPECT_STREQ(t.WALLPAPER_IMAGETONE, "100");
  EXPECT_STREQ(t.WALLPAPER_AUTOROTATEON, "0");
  EXPECT_STREQ(t.WALLPAPER_IMAGESIZE, "2");
  EXPECT_STREQ(t.WALLPAPER_IMAGEFX, "0");
  EXPECT_EQ(std::atoi(t.WALLPAPER_IMAGENO), WallpaperSettings.WALLPAPER_IMAGENO);
  EXPECT_NE(std::strcmp(t.WALLPAPER_IMAGENO, "-1"), 0);
  EXPECT_EQ(WallpaperBackgroundDIB, nullptr) << "closing frees the background";
}

TEST_F(WallpaperDialog, AnEmptyOwnFolderShowsTheFramedBackgroundAndPreviousAndNextDoNothing) {
  testsupport::TempFolder empty("emptyown");
  UseOwnImages(empty.str());
  Open([](Driver& d) {
    const Pixels shown = previewtest::PreviewPixels(d);
    Pixels background;
    d.OnDialogThread([&] { background = previewtest::PixelsOf(*WallpaperBackgroundDIB); });
    EXPECT_EQ(shown.rgb, background.rgb);
    for (COLORREF c : shown.rgb) ASSERT_TRUE(previewtest::IsGrey(c));
    const void* before = previewtest::PreviewIdentity(d);
    d.Click(IDC_WALLPAPERNEXT);
    d.Click(IDC_WALLPAPERPREVIOUS);
    EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGENO, 0);
    EXPECT_EQ(previewtest::PreviewIdentity(d), before);
    // Nothing composed: "Set Wallpaper" says so instead of saving nothing.
    d.Click(IDC_SETWALLPAPER);
    d.Click(IDCANCEL);
  });
  EXPECT_EQ(TakeAlerts(), std::vector<std::string>{"Unable to create 8bpp wallpaper image"});
}

TEST_F(WallpaperDialog, SetWallpaperWritesAndInstallsTheFile) {
  for (const char* layout : {"0", "1"}) {
    SCOPED_TRACE(std::string("layout ") + layout);
    std::strcpy(IniSettings.WALLPAPER_IMAGEFX, layout);
    std::filesystem::remove(WallpaperFilePath().str());
    Open([](Driver& d) {
      d.Click(IDC_SETWALLPAPER);
      d.Click(IDCANCEL);
    });
    CDIB written;
    ASSERT_TRUE(written.Load(WallpaperFilePath()));
    EXPECT_EQ(written.GetWidth(), 1024);
    char installed[MAX_PATH] = {};
    SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof installed, installed, 0);
    EXPECT_STREQ(installed, WallpaperFilePath());
  }
}

TEST_F(WallpaperDialog, AFailingPreviewLeavesTheArrowCursorAndAMissingBackgroundShowsNothing) {
  Open([](Driver& d) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW), wait = LoadCursorA(nullptr, IDC_WAIT);
    d.OnDialogThread([&] {
      SetCursor(arrow);
      WallpaperSettings.WALLPAPER_IMAGESIZE = 6;  // larger than the screen: no preview
    });
    d.Click(IDC_WALLPAPERNEXT);  // fails: the picture is larger than the screen
    HCURSOR after = nullptr;
    d.OnDialogThread([&] { after = GetCursor(); });
    EXPECT_NE(after, wait);
    d.OnDialogThread([&] {
      CDIB* kept = WallpaperBackgroundDIB;
      WallpaperBackgroundDIB = nullptr;
      EXPECT_EQ(wallpaperdlg::SetMiniWallpaperDIB(d.Dialog(), 0), 0);
      WallpaperBackgroundDIB = kept;
    });
    d.Click(IDCANCEL);
  });
  EXPECT_EQ(TakeAlerts(), (std::vector<std::string>{"Unable to set Wallpaper screen ctl"}));
}

TEST_F(WallpaperDialog, AClickOpensTheFullScreenPreviewAndTheMiniPreviewFollowsIt) {
  Open([this](Driver& d) {
    const int first = WallpaperSettings.WALLPAPER_IMAGENO;
    PostMessageA(d.Dialog(), WM_RDIBCTL_CLICK, 0,
                 reinterpret_cast<LPARAM>(d.Item(IDC_MINIPREVIEW)));
    HWND preview = d.WaitForWindow("Kelvane");
    ASSERT_NE(preview, nullptr);
    d.PostKey(preview, VK_RIGHT);
    d.Sync();
    const void* before = previewtest::PreviewIdentity(d);
    d.PostKey(preview, VK_ESCAPE);
    EXPECT_TRUE(d.WaitGone(preview));
    d.Sync();
    EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGENO, NumberAtLine(d, 1));
    EXPECT_NE(WallpaperSettings.WALLPAPER_IMAGENO, first);
    EXPECT_NE(previewtest::PreviewIdentity(d), before);
    d.Click(IDCANCEL);
  });
}

// The preview takes a moment to cover the dialog: a second click meanwhile opens no second one.
TEST_F(WallpaperDialog, TwoClicksOnTheMiniPreviewOpenOnePreview) {
  Open([this](Driver& d) {
    for (int i = 0; i < 2; ++i) {
      PostMessageA(d.Dialog(), WM_RDIBCTL_CLICK, 0,
                   reinterpret_cast<LPARAM>(d.Item(IDC_MINIPREVIEW)));
    }
    HWND preview = d.WaitForWindow("Kelvane");
    ASSERT_NE(preview, nullptr);
    d.Sync();
    EXPECT_EQ(wintest::CountWindowsOfClass(kFullScreenWallpaperClass), 1);
    d.PostKey(preview, VK_ESCAPE);
    EXPECT_TRUE(d.WaitGone(preview));
    d.Sync();
    EXPECT_EQ(wintest::CountWindowsOfClass(kFullScreenWallpaperClass), 0);
    d.Click(IDCANCEL);
  });
}

TEST_F(WallpaperDialog, FiftyOpeningsAndClosingsLeaveNoGdiObjectBehind) {
  const auto cycle = [this](int i) {
    std::strcpy(IniSettings.WALLPAPER_IMAGEFX, i % 2 ? "3" : "0");
    Open([i](Driver& d) {
      d.Click(IDC_WALLPAPERNEXT);
      d.Click(IDC_SCREENBLACK);
      d.Click(i % 3 ? IDCANCEL : IDOK);
    });
  };
  cycle(0);
  cycle(1);  // Wine makes a few objects once
  const int before = wintest::FreeGdiHandles();
  for (int i = 0; i < 50; ++i) cycle(i);
  EXPECT_EQ(wintest::FreeGdiHandles(), before);
}

}  // namespace
