// The wallpaper composer: settings, layouts, the quarter-size grid, own images, the full-scale
// rule and the save-and-install step, over a scratch image-set folder with a cache of solid
// pictures (each cached picture one colour, so a cell tells which picture it holds).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "imageset/ImageSet.h"
#include "imaging/DIB.h"
#include "imaging/FolderPath.h"
#include "imaging/QuarterCache.h"
#include "imaging/ReservedPalette.h"
#include "seams/Alerts.h"
#include "seams/ScreenSize.h"
#include "settings/IniSettings.h"
#include "tests/support/ImageSetWriter.h"
#include "tests/support/QuarterCacheWriter.h"
#include "tests/support/TempFolder.h"
#include "transitions/LayoutRects.h"
#include "wallpaper/WallpaperComposer.h"

namespace {

using Rgb = std::array<uint8_t, 3>;

// Cached picture i is this colour all over.
Rgb PictureColour(int i) {
  return Rgb{static_cast<uint8_t>(200 - 15 * i), static_cast<uint8_t>(20 + 17 * i), 90};
}

Rgb PixelAt(const CDIB& dib, int x, int y) {
  const BYTE* p = dib.GetPixelAddress(x, y);
  if (!p) return Rgb{0, 0, 0};
  if (dib.header->bmiHeader.biBitCount == 24) return Rgb{p[2], p[1], p[0]};
  const RGBQUAD& q = dib.header->bmiColors[*p];
  return Rgb{q.rgbRed, q.rgbGreen, q.rgbBlue};
}

std::string Text(Rgb c) {
  return std::to_string(c[0]) + "," + std::to_string(c[1]) + "," + std::to_string(c[2]);
}

// A full picture of w x h in one colour, as the cache builder takes it (the cache holds it at a
// quarter of that size).
cachetest::FullImage8 SolidFullImage(int w, int h, Rgb colour) {
  cachetest::FullImage8 image;
  image.width = w;
  image.height = h;
  image.colours = 1;
  image.table = cachetest::TableWithGreyRamp({colour});
  image.rows.assign(static_cast<size_t>(image.Stride()) * h, 0);
  return image;
}

std::vector<RECT> Cells(CPtrList& list) {
  std::vector<RECT> cells;
  for (POSITION pos = list.GetHeadPosition(); pos;)
    cells.push_back(*static_cast<RECT*>(list.GetNext(pos)));
  return cells;
}

int NextNumber(int n) { return QuarterImageCount > 0 ? (n + 1) % QuarterImageCount : -1; }

// Writes a 24-bit picture of one colour as a BMP file.
void WriteSolidBmp(const std::string& path, int w, int h, Rgb colour) {
  CDIB dib;
  ASSERT_TRUE(dib.Create24(w, h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      BYTE* p = dib.GetPixelAddress(x, y);
      p[0] = colour[2], p[1] = colour[1], p[2] = colour[0];
    }
  ASSERT_TRUE(dib.Save(path.c_str()));
}

class WallpaperComposerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedSettings_ = WallpaperSettings;
    std::strncpy(IniSettings.DATADIRECTORY, folder_.str().c_str(), kTextBufferSize - 1);
    std::strncpy(IniSettings.OWNIMAGES_DIR, folder_.str().c_str(), kTextBufferSize - 1);
    QuarterImageCount = 0;
    WallpaperSettings = WallpaperSettingsValues{};
    WallpaperSettings.WALLPAPER_SCREENSTYLE = 2;  // black: needs no logo
    WallpaperSettings.WALLPAPER_BORDERSTYLE = 6;
  }
  void TearDown() override {
    FreeWallpaperBackground();
    FreeWallpaperBitmaps();
    QuarterImageCount = 0;
    IniSettings.DATADIRECTORY[0] = IniSettings.OWNIMAGES_DIR[0] = '\0';
    WallpaperSettings = savedSettings_;
  }

  // A cache of `count` solid pictures, each full picture w x h.
  void WriteCache(int count, int w = 640, int h = 480) {
    std::vector<cachetest::FullImage8> full;
    for (int i = 0; i < count; ++i) full.push_back(SolidFullImage(w, h, PictureColour(i)));
    ASSERT_TRUE(imagesettest::WriteFileBytes(CachePath(), cachetest::WriteQuarterCache(full)));
  }
  std::string CachePath() const {
    return imagesettest::JoinPath(folder_.str(), kQuarterCacheFileName);
  }

  BOOL BuildGrid(int layout, int first) {
    WallpaperSettings.WALLPAPER_IMAGEFX = layout;
    if (!BuildWallpaperBackground()) return 0;
    return BuildImageSetWallpaperFrom(&WallpaperLayoutRects, first, NextNumber);
  }

  // Checks that cell k of the layout shows cached picture (first + k) mod count at its corner.
  void ExpectPicturesInOrder(int first, int count) {
    const std::vector<RECT> cells = Cells(WallpaperLayoutRects);
    ASSERT_FALSE(cells.empty());
    for (size_t k = 0; k < cells.size(); ++k) {
      SCOPED_TRACE("cell " + std::to_string(k));
      const Rgb want = PictureColour(static_cast<int>((first + k) % count));
      EXPECT_EQ(Text(PixelAt(*Wallpaper24DIB, cells[k].left, cells[k].top)), Text(want));
      EXPECT_EQ(Text(PixelAt(*Wallpaper24DIB, cells[k].right - 1, cells[k].bottom - 1)),
                Text(want));
    }
  }

  testsupport::TempFolder folder_{"wallpaper"};
  seams::ScopedAlertRecorder alerts_;
  ScopedReservedPaletteEntries reserved_{0};
  WallpaperSettingsValues savedSettings_;
};

TEST(WallpaperSettingsParse, ConvertsTextAndCorrectsSizeAndDepth) {
  struct Case {
    const char* size;
    const char* fx;
    const char* imageNo;
    int bits;
    int wantSize, wantFx, wantImageNo;
  };
  const Case cases[] = {
      {"3", "2", "7", 32, 3, 2, 7},
      {"9", "1", "-1", 32, 0, 1, -1},  // size code out of range reads 0
      {"-2", "3", "x", 32, 0, 3, 0},   // text that is no number reads 0
      {"6", "3", "4", 8, 6, 0, 4},     // 8-bit display: full scale only
  };
  const IniSettingsBuffers saved = IniSettings;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.size) + "/" + c.fx + "/" + c.imageNo + " at " +
                 std::to_string(c.bits));
    std::strcpy(IniSettings.WALLPAPER_IMAGESIZE, c.size);
    std::strcpy(IniSettings.WALLPAPER_IMAGEFX, c.fx);
    std::strcpy(IniSettings.WALLPAPER_IMAGENO, c.imageNo);
    std::strcpy(IniSettings.WALLPAPER_IMAGETONE, "128");
    std::strcpy(IniSettings.WALLPAPER_BORDERSTYLE, "5");
    std::strcpy(IniSettings.WALLPAPER_AUTOROTATEON, "1");
    ScopedScreenBitsPerPixel depth(c.bits);
    InitWallpaperSettings();
    EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGESIZE, c.wantSize);
    EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGEFX, c.wantFx);
    EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGENO, c.wantImageNo);
    EXPECT_EQ(WallpaperSettings.WALLPAPER_IMAGETONE, 128);
    EXPECT_EQ(WallpaperSettings.WALLPAPER_BORDERSTYLE, 5);
    EXPECT_EQ(WallpaperSettings.WALLPAPER_AUTOROTATEON, 1);
  }
  IniSettings = saved;
}

TEST(WallpaperLayoutNormalise, FollowsTheModesOffer) {
  struct Case {
    int layout;
    BOOL own;
    int want;
  };
  const Case cases[] = {{0, FALSE, 0}, {1, FALSE, 1}, {3, FALSE, 3}, {4, FALSE, 1},
                        {0, TRUE, 0},  {1, TRUE, 4},  {3, TRUE, 4},  {4, TRUE, 4}};
  for (const Case& c : cases)
    EXPECT_EQ(NormaliseWallpaperLayout(c.layout, c.own), c.want)
        << "layout " << c.layout << (c.own ? " own images" : " image set");
}

TEST_F(WallpaperComposerTest, TileLayoutFillsEveryCellInNumberOrderAndWraps) {
  struct Case {
    int cx, cy;
    size_t cells;
  };
  // 1024 x 768: seven 146/147-pixel columns (thumbnails shrunk), eight rows, the last cut to 5
  // pixels; 1280 x 960: eight 160-pixel columns, thumbnails unscaled.
  const Case cases[] = {{1024, 768, 56}, {1280, 960, 64}};
  WriteCache(12);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.cx) + " x " + std::to_string(c.cy));
    ScopedScreenSize screen(c.cx, c.cy);
    ASSERT_TRUE(BuildGrid(kWallpaperTile, 5));
    EXPECT_EQ(WallpaperLayoutRects.GetCount(), static_cast<INT_PTR>(c.cells));
    ASSERT_EQ(ComposedWallpaperDIB(), Wallpaper24DIB);
    EXPECT_EQ(Wallpaper24DIB->GetWidth(), c.cx);
    EXPECT_EQ(Wallpaper24DIB->GetHeight(), c.cy);
    ExpectPicturesInOrder(5, 12);
  }
}

TEST_F(WallpaperComposerTest, TileLayoutDrawsNoFrameWhateverTheBorderSettings) {
  WallpaperSettings.WALLPAPER_SCREENSTYLE = 3;  // white: a black frame or shadow would show
  WallpaperSettings.WALLPAPER_BORDERSTYLE = 0;
  WallpaperSettings.WALLPAPER_BORDERSHADOWON = 1;
  for (int layout : {kWallpaperTile, kWallpaperUniform}) {
    SCOPED_TRACE("layout " + std::to_string(layout));
    WallpaperSettings.WALLPAPER_IMAGEFX = layout;
    ASSERT_TRUE(BuildWallpaperBackground());
    const Rgb corner = PixelAt(*WallpaperBackgroundDIB, 0, 0);
    int differing = 0;
    for (int y = 0; y < WallpaperBackgroundDIB->GetHeight(); y += 3)
      for (int x = 0; x < WallpaperBackgroundDIB->GetWidth(); x += 3)
        differing += PixelAt(*WallpaperBackgroundDIB, x, y) != corner;
    if (layout == kWallpaperTile)
      EXPECT_EQ(differing, 0);
    else
      EXPECT_GT(differing, 0) << "the uniform layout frames its pictures";
  }
}

TEST_F(WallpaperComposerTest, ThumbnailsShrinkOnlyIntoNarrowerCellsAndAreCutToTheirCell) {
  // Cached pictures of 200 x 100 and 100 x 80 in the 160 x 120 cells of the uniform layout and
  // the 260 x 195 cells of the large layout (an image set given the own-images layout).
  struct Case {
    int fullW, fullH, layout;
    int shownW, shownH;  // the picture's part of the cell, from its top-left corner
  };
  const Case cases[] = {
      {800, 400, kWallpaperUniform, 160, 80},  // shrunk with its proportions
      {400, 320, kWallpaperUniform, 100, 80},  // unscaled
      {640, 480, kWallpaperOwnUniform, 160, 120},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.fullW) + " x " + std::to_string(c.fullH) + " layout " +
                 std::to_string(c.layout));
    QuarterImageCount = 0;
    WriteCache(12, c.fullW, c.fullH);
    ASSERT_TRUE(BuildGrid(c.layout, 0));
    const RECT cell = Cells(WallpaperLayoutRects).front();
    const Rgb picture = PictureColour(0);
    EXPECT_EQ(Text(PixelAt(*Wallpaper24DIB, cell.left + c.shownW - 1, cell.top + c.shownH - 1)),
              Text(picture));
    if (c.shownW < cell.right - cell.left) {
      EXPECT_EQ(Text(PixelAt(*Wallpaper24DIB, cell.left + c.shownW, cell.top)), "0,0,0");
    }
    if (c.shownH < cell.bottom - cell.top) {
      EXPECT_EQ(Text(PixelAt(*Wallpaper24DIB, cell.left, cell.top + c.shownH)), "0,0,0");
    }
    // Nothing spills out of the cell: the pixel right of it is the black screen.
    EXPECT_EQ(Text(PixelAt(*Wallpaper24DIB, cell.right, cell.top)), "0,0,0");
  }
}

TEST_F(WallpaperComposerTest, ScreenBitmapsFollowAScreenSizeChange) {
  WriteCache(12);
  ASSERT_TRUE(BuildGrid(kWallpaperUniform, 0));
  EXPECT_EQ(WallpaperBackgroundDIB->GetWidth(), 1024);
  ScopedScreenSize larger(1600, 1200);
  ASSERT_TRUE(BuildGrid(kWallpaperUniform, 0));
  for (CDIB* dib : {WallpaperBackgroundDIB, Wallpaper24DIB}) {
    EXPECT_EQ(dib->GetWidth(), 1600);
    EXPECT_EQ(dib->GetHeight(), 1200);
  }
  EXPECT_EQ(WallpaperBackgroundDIB->header->bmiHeader.biBitCount, 8);
  EXPECT_EQ(Wallpaper24DIB->header->bmiHeader.biBitCount, 24);
  ExpectPicturesInOrder(0, 12);
}

TEST_F(WallpaperComposerTest, BadStartsAndBadNumbersFailWithNoComposedWallpaper) {
  WriteCache(12);
  WallpaperSettings.WALLPAPER_IMAGEFX = kWallpaperUniform;
  ASSERT_TRUE(BuildWallpaperBackground());
  ASSERT_TRUE(BuildImageSetWallpaperFrom(&WallpaperLayoutRects, 0, NextNumber));
  ASSERT_NE(ComposedWallpaperDIB(), nullptr);
  struct Case {
    const char* what;
    int first;
    int (*next)(int);
  };
  const Case cases[] = {
      {"first -1", -1, NextNumber},
      {"first past the cache", 12, NextNumber},
      {"an order list without the picture", 0, [](int) { return -1; }},
      {"a number past the cache", 0, [](int n) { return n + 20; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(BuildImageSetWallpaperFrom(&WallpaperLayoutRects, c.first, c.next));
    EXPECT_EQ(ComposedWallpaperDIB(), nullptr);
  }
  EXPECT_TRUE(alerts_.Records().empty());
  // The cache was closed on every path: it can be removed.
  EXPECT_TRUE(std::filesystem::remove(CachePath()));
}

TEST_F(WallpaperComposerTest, ACorruptCachedPictureFailsAndTheCacheIsClosed) {
  WriteCache(12);
  imagesettest::Bytes bytes = imagesettest::ReadFileBytes(CachePath());
  ASSERT_TRUE(LoadQuarterImageIndexFrom(folder_.str().c_str()));
  bytes[QuarterImageOffsets[2]] = 'X';  // picture 2 no longer starts as a BMP
  ASSERT_TRUE(imagesettest::WriteFileBytes(CachePath(), bytes));
  EXPECT_FALSE(BuildGrid(kWallpaperUniform, 0));
  EXPECT_EQ(ComposedWallpaperDIB(), nullptr);
  EXPECT_TRUE(std::filesystem::remove(CachePath()));
}

TEST_F(WallpaperComposerTest, AMissingCacheIsAlerted) {
  WriteCache(12);
  ASSERT_TRUE(LoadQuarterImageIndexFrom(folder_.str().c_str()));
  std::filesystem::remove(CachePath());
  EXPECT_FALSE(BuildGrid(kWallpaperUniform, 0));
  ASSERT_EQ(alerts_.Records().size(), 1u);
  EXPECT_EQ(alerts_.Records()[0].text, "Unable to open date image file");
  EXPECT_EQ(alerts_.Records()[0].caption, "Alert");
}

TEST_F(WallpaperComposerTest, NoBackgroundNoComposite) {
  WriteCache(12);
  CPtrList rects;
  EXPECT_FALSE(BuildImageSetWallpaperFrom(&rects, 0, NextNumber));
  EXPECT_FALSE(BuildOwnImagesWallpaperFrom(&rects, 0, {CString("a.bmp")}));
  EXPECT_EQ(ComposedWallpaperDIB(), nullptr);
}

class OwnImagesWallpaperTest : public WallpaperComposerTest {
 protected:
  void SetUp() override {
    WallpaperComposerTest::SetUp();
    WriteSolidBmp(Path("a.bmp"), 800, 600, Rgb{250, 40, 40});
    WriteSolidBmp(Path("b.bmp"), 100, 50, Rgb{40, 250, 40});
    WallpaperSettings.WALLPAPER_IMAGEFX = kWallpaperOwnUniform;
    ASSERT_TRUE(BuildWallpaperBackground());
  }
  std::string Path(const char* name) const { return imagesettest::JoinPath(folder_.str(), name); }
  Rgb CentreOf(const RECT& r) const {
    return PixelAt(*Wallpaper24DIB, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
};

TEST_F(OwnImagesWallpaperTest, PlacesFilesFromThePositionFittedAndWrapping) {
  struct Case {
    int position;
    const char* firstCell;
  };
  // -1 and past the end start at the first file.
  const Case cases[] = {{0, "250,40,40"}, {1, "40,250,40"}, {-1, "250,40,40"}, {7, "250,40,40"}};
  const std::vector<CString> names{CString("a.bmp"), CString("b.bmp")};
  for (const Case& c : cases) {
    SCOPED_TRACE("position " + std::to_string(c.position));
    ASSERT_TRUE(BuildOwnImagesWallpaperFrom(&WallpaperLayoutRects, c.position, names));
    ASSERT_EQ(ComposedWallpaperDIB(), Wallpaper24DIB);
    const std::vector<RECT> cells = Cells(WallpaperLayoutRects);
    ASSERT_GE(cells.size(), 3u);
    EXPECT_EQ(Text(CentreOf(cells[0])), c.firstCell);
    EXPECT_EQ(Text(CentreOf(cells[2])), c.firstCell);  // wrapped over the two files
  }
  // The small picture is never enlarged: its cell became its own size, centred.
  const RECT small = Cells(WallpaperLayoutRects)[1];
  EXPECT_EQ(small.right - small.left, 100);
  EXPECT_EQ(small.bottom - small.top, 50);
}

TEST_F(OwnImagesWallpaperTest, OtherFilesLeaveTheCellEmptyAndMissingOnesShowBlank) {
  std::ofstream(Path("notes.txt")) << "not a picture";
  WallpaperSettings.WALLPAPER_IMAGETONE = 0;
  const std::vector<CString> names{CString("notes.txt"), CString("gone.jpg"), CString("a.bmp")};
  ASSERT_TRUE(BuildOwnImagesWallpaperFrom(&WallpaperLayoutRects, 0, names));
  const std::vector<RECT> cells = Cells(WallpaperLayoutRects);
  EXPECT_EQ(cells[0].right - cells[0].left, 260) << "the text file's cell keeps its laid-out size";
  EXPECT_EQ(Text(CentreOf(cells[0])), "0,0,0");
  // The missing file is the blank 400 x 300 picture fitted into the 260 x 195 cell.
  EXPECT_EQ(cells[1].right - cells[1].left, 260);
  EXPECT_EQ(cells[1].bottom - cells[1].top, 195);
  EXPECT_EQ(Text(CentreOf(cells[2])), "250,40,40");
  EXPECT_TRUE(alerts_.Records().empty());
}

TEST_F(OwnImagesWallpaperTest, AnEmptyListFails) {
  EXPECT_FALSE(BuildOwnImagesWallpaperFrom(&WallpaperLayoutRects, 0, {}));
  EXPECT_FALSE(BuildOwnImagesWallpaperFrom(&WallpaperLayoutRects, -1, {}));
  EXPECT_EQ(ComposedWallpaperDIB(), nullptr);
}

TEST_F(OwnImagesWallpaperTest, FullScaleKeepsRoomForAFrame) {
  struct Case {
    int border, shadow;
    RECT cell;  // the 800 x 600 picture fitted
  };
  // The 4:3 picture in the 964 x 708 area left inside the margin is 944 x 708, centred.
  const Case cases[] = {
      {6, 0, {0, 0, 1024, 768}}, {6, 1, {40, 30, 984, 738}}, {2, 0, {40, 30, 984, 738}}};
  WriteSolidBmp(Path("big.bmp"), 1600, 1200, Rgb{10, 20, 250});
  for (const Case& c : cases) {
    SCOPED_TRACE("border " + std::to_string(c.border) + " shadow " + std::to_string(c.shadow));
    WallpaperSettings.WALLPAPER_IMAGEFX = kWallpaperFullScale;
    WallpaperSettings.WALLPAPER_BORDERSTYLE = c.border;
    WallpaperSettings.WALLPAPER_BORDERSHADOWON = c.shadow;
    ASSERT_TRUE(BuildOwnImagesWallpaperFrom(&WallpaperLayoutRects, 0, {CString("big.bmp")}));
    const RECT got = Cells(WallpaperLayoutRects).front();
    EXPECT_EQ(got.left, c.cell.left);
    EXPECT_EQ(got.top, c.cell.top);
    EXPECT_EQ(got.right, c.cell.right);
    EXPECT_EQ(got.bottom, c.cell.bottom);
    EXPECT_EQ(Text(CentreOf(got)), "10,20,250");
  }
}

// A 24-bit picture of w x h in one colour.
std::unique_ptr<CDIB> SolidPicture(int w, int h, Rgb colour) {
  auto dib = std::make_unique<CDIB>();
  if (!dib->Create24(w, h)) return nullptr;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      BYTE* p = dib->GetPixelAddress(x, y);
      p[0] = colour[2], p[1] = colour[1], p[2] = colour[0];
    }
  return dib;
}

TEST_F(WallpaperComposerTest, FullScaleOnDeepDisplaysIsThePictureOrACentredCut24BitComposite) {
  WallpaperSettings.WALLPAPER_IMAGEFX = kWallpaperFullScale;
  ASSERT_TRUE(BuildWallpaperBackground());
  const Rgb colour{30, 160, 220};
  struct Case {
    int w, h;
    bool itself;
  };
  const Case cases[] = {{1024, 768, true}, {640, 480, false}, {1600, 1200, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
    CDIB* image = SolidPicture(c.w, c.h, colour).release();
    CDIB* result = ComposeFullScaleWallpaper(&image, WallpaperBackgroundDIB);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result == image, c.itself);
    EXPECT_EQ(result->header->bmiHeader.biBitCount, 24);
    EXPECT_EQ(result->GetWidth(), 1024);
    EXPECT_EQ(result->GetHeight(), 768);
    EXPECT_EQ(Text(PixelAt(*result, 512, 384)), Text(colour));
    const bool covers = c.w >= 1024;
    EXPECT_EQ(Text(PixelAt(*result, 0, 0)), covers ? Text(colour) : "0,0,0");
    if (result != image) delete result;
    delete image;
  }
}

TEST_F(WallpaperComposerTest, FullScaleOnAn8BitDisplayReducesThePictureTo204Colours) {
  ScopedScreenBitsPerPixel depth(8);
  WallpaperSettings.WALLPAPER_IMAGEFX = kWallpaperFullScale;
  ASSERT_TRUE(BuildWallpaperBackground());
  CDIB* image = SolidPicture(640, 480, Rgb{30, 160, 220}).release();
  CDIB* const original = image;
  std::unique_ptr<CDIB> result(ComposeFullScaleWallpaper(&image, WallpaperBackgroundDIB));
  std::unique_ptr<CDIB> reduced(image);
  ASSERT_NE(result, nullptr);
  EXPECT_NE(image, original) << "the 24-bit picture is replaced by its reduction";
  EXPECT_EQ(image->header->bmiHeader.biBitCount, 8);
  EXPECT_LE(image->GetNumColors(), 256);
  EXPECT_EQ(result->header->bmiHeader.biBitCount, 8);
  EXPECT_EQ(result->GetWidth(), 1024);
  const Rgb centre = PixelAt(*result, 512, 384);
  EXPECT_NEAR(centre[0], 30, 8);
  EXPECT_NEAR(centre[1], 160, 8);
  EXPECT_NEAR(centre[2], 220, 8);
  const Rgb corner = PixelAt(*result, 0, 0);  // the black screen, as near as the palette has it
  EXPECT_LE(std::max({corner[0], corner[1], corner[2]}), 8) << Text(corner);
}

// Records what the installer was asked for and answers as told.
struct FakeInstaller {
  static inline std::string path;
  static inline BOOL answer = TRUE;
  static BOOL Install(const char* p, CString* error) {
    path = p;
    if (!answer) *error = "installer says no";
    return answer;
  }
};

TEST_F(WallpaperComposerTest, SaveAndInstallWritesTheFileOrAlertsTheFailingStep) {
  const WallpaperInstaller previous = InstallWallpaperInstaller(FakeInstaller::Install);
  std::unique_ptr<CDIB> picture = SolidPicture(1024, 768, Rgb{1, 2, 3});
  struct Case {
    const char* what;
    CDIB* composed;
    const char* folder;
    BOOL installs;
    BOOL want;
    const char* alert;  // the last alert, or null
  };
  const std::string folder = folder_.str(), missingFolder = folder + "-missing";
  const Case cases[] = {
      {"success", picture.get(), folder.c_str(), TRUE, TRUE, nullptr},
      {"no bitmap", nullptr, folder.c_str(), TRUE, FALSE, "Unable to create 8bpp wallpaper image"},
      {"save fails", picture.get(), missingFolder.c_str(), TRUE, FALSE,
       "Unable to save current wallpaper image to file"},
      {"install fails", picture.get(), folder.c_str(), FALSE, FALSE, "installer says no"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    alerts_.Clear();
    FakeInstaller::path.clear();
    FakeInstaller::answer = c.installs;
    std::strncpy(IniSettings.DATADIRECTORY, c.folder, kTextBufferSize - 1);
    EXPECT_EQ(SaveAndInstallWallpaper(c.composed, "Alert"), c.want);
    if (c.alert) {
      ASSERT_FALSE(alerts_.Records().empty());
      EXPECT_EQ(alerts_.Records().back().text, c.alert);
      EXPECT_EQ(alerts_.Records().back().caption, "Alert");
      EXPECT_EQ(alerts_.Records().back().flags & seams::kAlertIconHand, seams::kAlertIconHand);
    } else {
      EXPECT_TRUE(alerts_.Records().empty());
    }
  }
  InstallWallpaperInstaller(previous);
  std::strncpy(IniSettings.DATADIRECTORY, folder_.str().c_str(), kTextBufferSize - 1);
  // The successful case wrote the picture where the installer was pointed.
  CDIB saved;
  ASSERT_TRUE(saved.Load(WallpaperFilePath()));
  EXPECT_EQ(saved.GetWidth(), 1024);
  EXPECT_EQ(Text(PixelAt(saved, 10, 10)), "1,2,3");
}

}  // namespace
