// The off-screen surface, the screen view's composition, the screen document and the headless
// screen host. Natively the surface is plain memory and the view has no window; under Wine the
// same tests run on real DIB sections.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "CompositionSupport.h"
#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "imaging/AnimDoc.h"
#include "imaging/AnimView.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "imaging/Descriptors.h"
#include "imaging/HeadlessScreenHost.h"
#include "imaging/ReservedPalette.h"
#include "imaging/ScreenCompose.h"
#include "seams/Alerts.h"
#include "seams/Clock.h"
#include "seams/Random.h"
#include "tests/native/framework/TempPath.h"

using comptest::NewSprite;
using comptest::PixelAt;

namespace {

CRect RectOf(const CDIB& dib) {
  CRect r;
  dib.GetRect(&r);
  return r;
}

// An 8-bit picture of w x h with 16 distinct colours and the pattern (x + 2y) mod 16.
CDIB* NewBackground(int w, int h) {
  auto* dib = new CDIB;
  dib->Create(w, h, nullptr);
  dib->header->bmiHeader.biClrUsed = 16;
  for (int i = 0; i < 16; ++i) {
    dib->header->bmiColors[i] = RGBQUAD{static_cast<BYTE>(i * 16), static_cast<BYTE>(255 - i * 8),
                                        static_cast<BYTE>(i * 5 + 3), 0};
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) *dib->GetPixelAddress(x, y) = static_cast<BYTE>((x + 2 * y) % 16);
  }
  return dib;
}

// Gives a picture the colour table of another, so that mapping it onto that picture's palette
// keeps its indexes.
void UseColoursOf(CDIB& dib, const CDIB& from) {
  std::copy(from.header->bmiColors, from.header->bmiColors + 256, dib.header->bmiColors);
}

// The pixels of a picture, top row first.
std::vector<int> PixelsOf(const CDIB& dib) {
  std::vector<int> out;
  for (int y = 0; y < dib.GetHeight(); ++y) {
    for (int x = 0; x < dib.GetWidth(); ++x) out.push_back(PixelAt(dib, x, y));
  }
  return out;
}

// What the screen must show: the background with every sprite over it, composed from scratch.
std::vector<int> ComposedFromScratch(CDIB& background, const CSpriteList& sprites) {
  CDIB fresh;
  fresh.Create(background.GetWidth(), background.GetHeight(), nullptr);
  background.CopyBits(&fresh, 0, 0, background.GetWidth(), background.GetHeight(), 0, 0, -1);
  CRect all = RectOf(background);
  sprites.Render(&fresh, &all);
  return PixelsOf(fresh);
}

// ---- the surface --------------------------------------------------------------------------------

TEST(DIBSurfaceTest, CreateTakesThePalettesColoursAndKeepsTheOldBitmapOnFailure) {
  std::unique_ptr<CDIB> source(NewBackground(5, 3));
  CColorPalette palette;
  ASSERT_TRUE(palette.CreateFromDIB(source.get()));
  CDIBSurface surface;
  ASSERT_TRUE(surface.IsAvailable());
  ASSERT_TRUE(surface.Create(5, 3, &palette));
  EXPECT_EQ(RectOf(surface), CRect(0, 0, 5, 3));
  EXPECT_EQ(surface.GetStorageWidth(), 8);
  EXPECT_EQ(surface.GetPalette(), &palette);
  EXPECT_EQ(surface.header->bmiColors[7].rgbRed, source->header->bmiColors[7].rgbRed);
  EXPECT_EQ(surface.header->bmiColors[15].rgbGreen, source->header->bmiColors[15].rgbGreen);
  EXPECT_EQ(surface.header->bmiColors[16].rgbGreen, 0) << "entries past the palette are 0";
  EXPECT_EQ(PixelsOf(surface), std::vector<int>(15, 0));

  *surface.GetPixelAddress(4, 2) = 9;
  BYTE* bits = surface.bits;
  const int maxSide = CDIB::kMaxSide;
  for (auto size : {std::make_pair(0, 3), std::make_pair(4, -1), std::make_pair(maxSide + 1, 2),
                    std::make_pair(maxSide, maxSide)}) {
    SCOPED_TRACE(::testing::Message() << size.first << " x " << size.second);
    EXPECT_FALSE(surface.Create(size.first, size.second, nullptr));
    EXPECT_EQ(surface.bits, bits);
    EXPECT_EQ(RectOf(surface), CRect(0, 0, 5, 3));
    EXPECT_EQ(PixelAt(surface, 4, 2), 9);
    EXPECT_EQ(surface.GetPalette(), &palette);
  }

  ASSERT_TRUE(surface.Create24(7, 2));
  EXPECT_EQ(RectOf(surface), CRect(0, 0, 7, 2));
  EXPECT_EQ(surface.header->bmiHeader.biBitCount, 24);
  EXPECT_EQ(surface.GetPalette(), nullptr);
  *surface.GetPixelAddress(6, 1) = 1;  // the whole of the new size is writable
}

// ---- the view's composition ---------------------------------------------------------------------

class ScreenDocTest : public ::testing::Test {
 protected:
  ScreenDocTest() {
    doc.AddView(&view);
    doc.OnNewDocument();
  }
  ~ScreenDocTest() override { doc.RemoveView(&view); }

  CAnimView view;
  CAnimDoc doc;
};

TEST_F(ScreenDocTest, SetBackgroundComposesTheSurfaceAndClearsSprites) {
  CSprite* old = NewSprite({{0, 1}}, 0, 0, 50);
  doc.sprites.Insert(old);
  CDIB* background = NewBackground(12, 8);
  ASSERT_TRUE(doc.SetBackground(background));
  EXPECT_TRUE(doc.sprites.IsEmpty());
  EXPECT_EQ(doc.background, background);
  EXPECT_TRUE(doc.IsModified());
  ASSERT_NE(doc.GetSurface(), nullptr);
  EXPECT_EQ(doc.GetSurface(), view.surface);
  EXPECT_EQ(RectOf(*view.surface), CRect(0, 0, 12, 8));
  EXPECT_EQ(PixelsOf(*view.surface), PixelsOf(*background));
  EXPECT_EQ(view.palette->GetEntryCount(), 16);

  // A second background of another size rebuilds palette and surface.
  ASSERT_TRUE(doc.SetBackgroundNoDraw(NewBackground(6, 4)));
  EXPECT_EQ(RectOf(*view.surface), CRect(0, 0, 6, 4));
  EXPECT_EQ(PixelsOf(*view.surface), PixelsOf(*doc.background));
}

TEST_F(ScreenDocTest, SpriteChangesQueueDirtyRectanglesThatRecomposeTheScreen) {
  ASSERT_TRUE(doc.SetBackground(NewBackground(40, 30)));
  CSprite* a = NewSprite({{0, 3, 3, 3}, {3, 0, 3, 3}, {3, 3, 3, 0}}, 2, 2, 50);
  CSprite* b = NewSprite({{1, 4, 4}, {4, 4, 4}}, 5, 3, 20);
  CSprite* c = NewSprite({{2, 7}, {7, 7}, {7, 2}}, 30, 20, 70);
  for (CSprite* s : {a, b, c}) {
    UseColoursOf(*s, *doc.background);
    doc.sprites.Insert(s);
    view.DrawNewSprite(s);
    EXPECT_EQ(PixelAt(*view.surface, s->GetX() + 1, s->GetY()), PixelAt(*s, 1, 0));
  }
  EXPECT_EQ(PixelsOf(*view.surface), ComposedFromScratch(*doc.background, doc.sprites));

  seams::Srand(5);
  for (int step = 0; step < 60; ++step) {
    CSprite* s = step % 3 == 0 ? a : step % 3 == 1 ? b : c;
    if (seams::Rand() % 4 == 0) {
      s->SetZ(seams::Rand() % 100);
    } else {
      s->SetPosition(seams::Rand() % 44 - 4, seams::Rand() % 34 - 4);  // sometimes off the edge
    }
    if (step % 2) {
      ASSERT_GT(view.dirtyList.GetCount(), 0);
      doc.FlushDirtyRects();
      EXPECT_EQ(view.dirtyList.GetCount(), 0);
      ASSERT_EQ(PixelsOf(*view.surface), ComposedFromScratch(*doc.background, doc.sprites))
          << "step " << step;
    }
  }
}

TEST_F(ScreenDocTest, RenderingIsCutToTheRectangleAndTheBackground) {
  ASSERT_TRUE(doc.SetBackground(NewBackground(10, 6)));
  comptest::SetAll(*doc.background, 200);  // a new picture the surface has not seen yet
  const CRect partlyOutside(7, -3, 20, 2);
  view.RenderBackground(&partlyOutside);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 7 && y < 2;
      EXPECT_EQ(PixelAt(*view.surface, x, y) == 200, inside) << x << "," << y;
    }
  }

  // Without a background the sprites are cut to the given rectangle, or to the surface.
  delete doc.background;
  doc.background = nullptr;
  comptest::SetAll(*view.surface, 0);
  CSprite* s = NewSprite({{9, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8}}, -1, 1, 50);
  doc.sprites.Insert(s);
  const CRect left(0, 0, 3, 6);
  view.RenderSprites(&left);
  EXPECT_EQ(PixelAt(*view.surface, 2, 1), 8);
  EXPECT_EQ(PixelAt(*view.surface, 3, 1), 0);
  view.RenderSprites(nullptr);
  EXPECT_EQ(PixelAt(*view.surface, 9, 1), 8);
}

TEST_F(ScreenDocTest, AddSpriteMapsItOntoTheScreenPaletteAndDrawsIt) {
  ASSERT_TRUE(doc.SetBackground(NewBackground(16, 8)));
  // A picture whose colours are entries 11 and 3 of the background's table, stored at 0 and 1.
  CDIB picture;
  picture.Create(3, 2, nullptr);
  picture.header->bmiColors[0] = doc.background->header->bmiColors[11];
  picture.header->bmiColors[1] = doc.background->header->bmiColors[3];
  comptest::Paint(picture, {{0, 1, 1}, {1, 1, 0}});
  TempPath path(".bmp");
  ASSERT_TRUE(picture.Save(path.c_str()));

  ASSERT_TRUE(doc.AddSprite(path.c_str()));
  ASSERT_EQ(doc.sprites.GetCount(), 1);
  CSprite* sprite = static_cast<CSprite*>(doc.sprites.GetHead());
  EXPECT_EQ(sprite->GetTransparentIndex(), 11) << "taken again after mapping";
  EXPECT_EQ(PixelAt(*view.surface, 1, 0), 3);
  EXPECT_EQ(PixelAt(*view.surface, 0, 0), PixelAt(*doc.background, 0, 0)) << "transparent";
  EXPECT_EQ(sprite->GetObserver(), doc.sprites.GetObserver());

  EXPECT_FALSE(doc.AddSprite((path.str() + ".missing").c_str()));
  EXPECT_FALSE(doc.LoadBackground((path.str() + ".missing").c_str()));
  EXPECT_EQ(doc.sprites.GetCount(), 1);
  ASSERT_TRUE(doc.LoadBackground(path.c_str()));
  EXPECT_EQ(RectOf(*view.surface), CRect(0, 0, 3, 2));
  EXPECT_TRUE(doc.sprites.IsEmpty());
}

// ---- the document without a view
// ------------------------------------------------------------------

TEST(AnimDocTest, WithoutAViewTheDocumentStillOwnsItsBackground) {
  CAnimDoc doc;
  EXPECT_EQ(doc.reservedEntries, GetReservedPaletteEntries());
  EXPECT_FALSE(doc.OnNewDocument() == 0);
  CDIB* background = NewBackground(4, 4);
  EXPECT_FALSE(doc.SetBackground(background));
  EXPECT_EQ(doc.background, background);
  EXPECT_FALSE(doc.SetBackgroundNoDraw(background)) << "the same picture again is kept";
  EXPECT_EQ(doc.GetSurface(), nullptr);
  doc.RenderRect(nullptr);
  doc.ShowRect(nullptr);
  doc.FlushDirtyRects();
  EXPECT_EQ(PixelsOf(*doc.background).size(), 16u);
}

std::vector<BYTE> Store(CAnimDoc& doc) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  doc.Serialize(ar);
  ar.Close();
  return std::vector<BYTE>(file.GetData(), file.GetData() + file.GetLength());
}

void Load(CAnimDoc& doc, const std::vector<BYTE>& bytes) {
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  doc.Serialize(ar);
}

TEST_F(ScreenDocTest, ArchiveRoundTripWithAndWithoutABackground) {
  CAnimDoc empty;
  const std::vector<BYTE> emptyBytes = Store(empty);
  // A 32-bit 0, then the sprite list: its count as a 16-bit 0.
  EXPECT_EQ(emptyBytes, (std::vector<BYTE>{0, 0, 0, 0, 0, 0}));

  CAnimDoc source;
  source.SetBackground(NewBackground(9, 5));
  source.sprites.Insert(NewSprite({{0, 6}, {6, 6}}, 3, 1, 40));
  source.sprites.Insert(NewSprite({{0, 2, 2}}, 6, 4, 10));
  const std::vector<BYTE> bytes = Store(source);
  ASSERT_EQ(bytes[0], 1);

  Load(doc, bytes);
  ASSERT_NE(doc.background, nullptr);
  EXPECT_EQ(PixelsOf(*doc.background), PixelsOf(*source.background));
  ASSERT_EQ(doc.sprites.GetCount(), 2);
  auto* first = static_cast<CSprite*>(doc.sprites.GetHead());
  EXPECT_EQ(first->GetX(), 6);
  EXPECT_EQ(first->GetZ(), 10);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(PixelsOf(*view.surface), ComposedFromScratch(*doc.background, doc.sprites))
      << "the view was updated";

  // A document stored without a background leaves the current background and sprites.
  Load(doc, emptyBytes);
  EXPECT_EQ(doc.sprites.GetCount(), 2);

  std::vector<BYTE> badFlag = emptyBytes;
  badFlag[0] = 7;
  EXPECT_THROW(Load(doc, badFlag), CArchiveException);
  std::vector<BYTE> cut(bytes.begin(), bytes.begin() + 100);
  EXPECT_THROW(Load(doc, cut), CException);
}

// ---- logos ------------------------------------------------------------------------------------

// A logo descriptor file and its picture file: logo i is a BMP image at a known offset.
class LogoFiles {
 public:
  struct Logo {
    int width, height;
  };
  explicit LogoFiles(const std::vector<Logo>& logos) {
    CFile pictures(picturePath.c_str(), CFile::modeCreate | CFile::modeWrite);
    pictures.Write("lead", 4);  // the first picture does not start at 0
    CMemFile records;
    {
      CArchive ar(&records, CArchive::store);
      ar << static_cast<DWORD>(logos.size());
      for (const Logo& logo : logos) {
        CLogoDesc desc;
        desc.width = logo.width;
        desc.height = logo.height;
        desc.offset = static_cast<int32_t>(pictures.GetPosition());
        desc.Serialize(ar);
        CDIB picture;
        comptest::Fill(picture, logo.width, logo.height, static_cast<int>(offsets.size()) + 1);
        picture.SaveToFile(&pictures);
        offsets.push_back(desc.offset);
      }
      ar.Close();
    }
    bytes.assign(records.GetData(), records.GetData() + records.GetLength());
    WriteDescriptors(bytes);
  }
  void WriteDescriptors(const std::vector<BYTE>& content) const {
    CFile file(descriptorPath.c_str(), CFile::modeCreate | CFile::modeWrite);
    if (!content.empty()) file.Write(content.data(), static_cast<UINT>(content.size()));
  }

  TempPath descriptorPath{".dat"};
  TempPath picturePath{".dat"};
  std::vector<int32_t> offsets;
  std::vector<BYTE> bytes;
};

TEST(AnimDocLogoTest, CandidatesLieStrictlyWithinATenthOfTheRatio) {
  // Width / height / ratio must lie in (0.9, 1.1).
  struct Case {
    int width, height;
    double ratio;
    bool candidate;
  };
  const Case cases[] = {
      {120, 100, 1.2, true},                                                // 1.0
      {120, 100, 1.0, false},                                               // 1.2
      {90, 100, 1.0, false},                                                // exactly 0.9
      {110, 100, 1.0, false},                                               // exactly 1.1
      {91, 100, 1.0, true},   {109, 100, 1.0, true}, {100, 0, 1.0, false},  // no height
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height << " for " << c.ratio);
    LogoFiles files({{c.width, std::max(c.height, 1)}});
    CAnimDoc doc;
    ASSERT_TRUE(doc.LoadLogoDescs(files.descriptorPath.c_str(), files.picturePath.c_str()));
    static_cast<CLogoDesc*>(doc.logos[0])->height = c.height;
    CDIB target;
    EXPECT_EQ(doc.OpenRandomLogoFile(c.ratio, &target) != 0, c.candidate);
    if (c.candidate) {
      EXPECT_EQ(RectOf(target), CRect(0, 0, c.width, c.height));
    }
  }
}

TEST(AnimDocLogoTest, ChoiceIsSeededWithTheTimeThroughTheRandomSeam) {
  // Logos 0 and 2 fit a ratio of 1; logo 1 does not.
  LogoFiles files({{50, 50}, {80, 40}, {52, 50}});
  CAnimDoc doc;
  ASSERT_TRUE(doc.LoadLogoDescs(files.descriptorPath.c_str(), files.picturePath.c_str()));
  ASSERT_EQ(doc.logos.GetSize(), 3);
  for (int64_t wall : {int64_t{820454400}, int64_t{820454401}, int64_t{900000000}}) {
    SCOPED_TRACE(wall);
    seams::TestClock clock(1000, 0, 0, wall);  // time stands still
    seams::ScopedClock scoped(&clock);
    seams::Srand(static_cast<uint32_t>(wall));
    const int expectedLogo = seams::Rand() % 2 == 0 ? 0 : 2;
    for (int call = 0; call < 2; ++call) {  // two calls in the same second pick the same logo
      CSprite target;
      ASSERT_TRUE(doc.OpenRandomLogoFile(1.0, &target));
      EXPECT_EQ(target.GetWidth(), expectedLogo == 0 ? 50 : 52);
      EXPECT_EQ(PixelAt(target, 0, 0), expectedLogo + 1);
      EXPECT_EQ(target.GetTransparentIndex(), expectedLogo + 1) << "a sprite takes its index";
    }
  }
}

TEST(AnimDocLogoTest, FailedLoadsKeepThePreviousLogos) {
  LogoFiles files({{40, 30}, {30, 30}});
  CAnimDoc doc;
  ASSERT_TRUE(doc.LoadLogoDescs(files.descriptorPath.c_str(), files.picturePath.c_str()));
  const CObject* first = doc.logos[0];
  const CString pictures = doc.logoFile;

  auto expectKept = [&](const char* what) {
    SCOPED_TRACE(what);
    ASSERT_EQ(doc.logos.GetSize(), 2);
    EXPECT_EQ(doc.logos[0], first);
    EXPECT_EQ(doc.logoFile, pictures);
  };
  EXPECT_FALSE(doc.LoadLogoDescs((files.descriptorPath.str() + ".none").c_str(), "other"));
  expectKept("missing file");

  std::vector<BYTE> hugeCount = files.bytes;
  hugeCount[3] = 0x7F;  // a count of about two thousand million
  files.WriteDescriptors(hugeCount);
  EXPECT_FALSE(doc.LoadLogoDescs(files.descriptorPath.c_str(), "other"));
  expectKept("count beyond the file");

  for (size_t length : {size_t{0}, size_t{2}, files.bytes.size() - 1, size_t{4 + 16 + 7}}) {
    files.WriteDescriptors(std::vector<BYTE>(files.bytes.begin(), files.bytes.begin() + length));
    EXPECT_FALSE(doc.LoadLogoDescs(files.descriptorPath.c_str(), "other"));
    expectKept(("cut at " + std::to_string(length)).c_str());
  }

  files.WriteDescriptors(std::vector<BYTE>{0, 0, 0, 0});
  EXPECT_TRUE(doc.LoadLogoDescs(files.descriptorPath.c_str(), "other"));
  EXPECT_EQ(doc.logos.GetSize(), 0);
  EXPECT_STREQ(doc.logoFile, "other");
}

TEST(AnimDocLogoTest, PictureFileProblemsAlertOrFailQuietly) {
  LogoFiles files({{20, 20}});
  CAnimDoc doc;
  ASSERT_TRUE(
      doc.LoadLogoDescs(files.descriptorPath.c_str(), (files.picturePath.str() + ".none").c_str()));
  seams::ScopedAlertRecorder alerts;
  CDIB target;
  EXPECT_FALSE(doc.OpenRandomLogoFile(1.0, &target));
  ASSERT_EQ(alerts.Records().size(), 1u);
  EXPECT_EQ(alerts.Records()[0].text, "Unable to open logo image file");
  EXPECT_EQ(alerts.Records()[0].caption, "Alert");

  // A damaged offset reads nothing and says nothing more.
  ASSERT_TRUE(doc.LoadLogoDescs(files.descriptorPath.c_str(), files.picturePath.c_str()));
  static_cast<CLogoDesc*>(doc.logos[0])->offset = -5;
  EXPECT_FALSE(doc.OpenRandomLogoFile(1.0, &target));
  static_cast<CLogoDesc*>(doc.logos[0])->offset = files.offsets[0] + 1;
  EXPECT_FALSE(doc.OpenRandomLogoFile(1.0, &target));
  // Nothing fills the globes: every index fails without a message.
  for (int index : {-1, 0, 1}) EXPECT_FALSE(doc.OpenGlobeFile(index, &target));
  EXPECT_EQ(alerts.Records().size(), 1u);
}

// ---- the headless host --------------------------------------------------------------------------

TEST(HeadlessScreenHostTest, ComposesLikeTheScreenAndRecordsWhatIsShown) {
  HeadlessScreenHost host(10);
  EXPECT_EQ(host.GetSurface(), nullptr);
  host.ShowRect(nullptr);
  EXPECT_TRUE(host.GetShownRects().empty());

  ASSERT_TRUE(host.SetBackground(NewBackground(20, 10)));
  ASSERT_NE(host.GetSurface(), nullptr);
  EXPECT_EQ(host.GetReservedEntries(), 10);
  EXPECT_EQ(PixelsOf(*host.GetSurface()), PixelsOf(*host.GetBackground()));

  CSprite* s = NewSprite({{0, 9, 9}, {9, 9, 9}}, 1, 1, 50);
  host.GetSprites()->Insert(s);
  s->SetPosition(2, 1);   // overlaps: one rectangle (1, 1)-(5, 3)
  s->SetPosition(18, 9);  // the old place merges again; the new one, cut to the surface when shown
  host.FlushDirtyRects();
  EXPECT_EQ(host.GetShownRects(), (std::vector<CRect>{CRect(18, 9, 20, 10), CRect(1, 1, 5, 3)}));
  EXPECT_EQ(PixelsOf(*host.GetSurface()),
            ComposedFromScratch(*host.GetBackground(), *host.GetSprites()));

  host.ClearShownRects();
  host.ShowRect(nullptr);
  EXPECT_EQ(host.GetShownRects(), std::vector<CRect>{CRect(0, 0, 20, 10)});
}

// ---- the view's messages, as the window would send them ----------------------------------------

TEST(OSBViewMessageTest, MessageMapHandlesEraseAndPaletteMessages) {
  CAnimView view;
  LRESULT result = -1;
  EXPECT_TRUE(view.OnWndMsg(WM_ERASEBKGND, 0, 0, &result));
  EXPECT_EQ(result, 1) << "nothing is erased";
  EXPECT_TRUE(view.OnWndMsg(WM_QUERYNEWPALETTE, 0, 0, &result));
  EXPECT_EQ(result, 0) << "no palette yet";
  EXPECT_TRUE(view.OnWndMsg(WM_PALETTECHANGED, 0, 0, &result));
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(view.OnWndMsg(WM_PAINT, 0, 0, &result)) << "inherited from the view";
  EXPECT_FALSE(view.OnWndMsg(0x0200, 0, 0, &result)) << "left to the window";
}

TEST(DocumentTest, ViewsJoinOneDocumentAndLeaveItWhenDestroyed) {
  CAnimDoc first, second;
  auto view = std::make_unique<CAnimView>();
  first.AddView(view.get());
  first.AddView(view.get());
  second.AddView(view.get());
  EXPECT_EQ(view->GetDocument(), &second);
  EXPECT_EQ(first.GetFirstView(), nullptr);
  EXPECT_EQ(second.GetFirstView(), view.get());
  view.reset();
  EXPECT_EQ(second.GetFirstView(), nullptr);
  CAnimView survivor;
  {
    auto shortLived = std::make_unique<CAnimDoc>();
    shortLived->AddView(&survivor);
    EXPECT_EQ(survivor.GetAnimDoc(), shortLived.get());
  }
  EXPECT_EQ(survivor.GetDocument(), nullptr) << "the document went first";
}

// ---- copying between colour tables -------------------------------------------------------------

// A 4 x 3 picture whose pixel (x, y) is index 4 * y + x, on a table of `colours`.
std::unique_ptr<CDIB> SmallPicture(const std::vector<RGBQUAD>& colours, int w = 4, int h = 3) {
  auto dib = std::make_unique<CDIB>();
  EXPECT_TRUE(dib->Create(w, h, nullptr));
  dib->header->bmiHeader.biClrUsed = static_cast<DWORD>(colours.size());
  std::copy(colours.begin(), colours.end(), dib->header->bmiColors);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) *dib->GetPixelAddress(x, y) = static_cast<BYTE>((4 * y + x) % 256);
  return dib;
}

TEST(CopyByColourTest, PixelsKeepTheirColoursOnTheOtherTableWithinBothPictures) {
  std::vector<RGBQUAD> from(12), to(24);
  for (int i = 0; i < 12; ++i) from[i] = RGBQUAD{BYTE(10 * i), 0, 0, 0};
  // The same colours in reverse at 12..23, after near misses: each lands on its exact twin.
  for (int i = 0; i < 12; ++i) {
    to[i] = RGBQUAD{BYTE(10 * i + 1), 0, 0, 0};
    to[23 - i] = from[i];
  }
  struct Case {
    const char* what;
    int dx, dy, w, h, sx, sy;
  };
  const Case cases[] = {
      {"whole", 0, 0, 4, 3, 0, 0},
      {"hanging over the target's bottom right", 2, 1, 4, 3, 0, 0},
      {"from before the source's top left", 0, 0, 4, 3, -1, -2},
      {"nothing in common", 5, 0, 4, 3, 0, 0},
  };
  const std::unique_ptr<CDIB> source = SmallPicture(from);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::unique_ptr<CDIB> target = SmallPicture(to);
    CopyByColour(*source, target.get(), c.dx, c.dy, c.w, c.h, c.sx, c.sy);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 4; ++x) {
        const int u = x - c.dx + c.sx, v = y - c.dy + c.sy;
        const bool copied = x >= c.dx && y >= c.dy && x < c.dx + c.w && y < c.dy + c.h && u >= 0 &&
                            v >= 0 && u < 4 && v < 3;
        const int expected = copied ? 23 - (4 * v + u) : 4 * y + x;
        EXPECT_EQ(*target->GetPixelAddress(x, y), expected) << "at " << x << "," << y;
      }
    }
  }
  CDIB deep;  // a 24-bit target is left alone
  ASSERT_TRUE(deep.Create24(4, 3));
  CopyByColour(*source, &deep, 0, 0, 4, 3, 0, 0);
  EXPECT_EQ(deep.bits[0], 0);
}

TEST(ReservedPaletteTest, ATestsCountStandsInForTheDisplaysWhileItLives) {
  const int display = GetReservedPaletteEntries();
  {
    ScopedReservedPaletteEntries eightBit(10);
    EXPECT_EQ(GetReservedPaletteEntries(), 10);
    CAnimDoc doc;
    EXPECT_EQ(doc.GetReservedEntries(), 10);
    {
      ScopedReservedPaletteEntries tooMany(300);
      EXPECT_EQ(GetReservedPaletteEntries(), CColorPalette::kMaxReserved);
    }
    EXPECT_EQ(GetReservedPaletteEntries(), 10);
  }
  EXPECT_EQ(GetReservedPaletteEntries(), display);
}

}  // namespace
