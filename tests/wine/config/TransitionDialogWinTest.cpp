// The transition dialog under Wine's null display driver, driven through the dialog driver with
// the settings the setup program installs for a demo set (in-memory registry).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/TransitionDialog.h"
#include "config/TransitionPreviewGeometry.h"
#include "controls/DialogSupport.h"
#include "controls/SelectedImage.h"
#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/ColorPalette.h"
#include "imaging/DIBSurface.h"
#include "res/DialogIds.h"
#include "saver/DrawingThread.h"
#include "seams/Clock.h"
#include "settings/IniSettings.h"
#include "settings/TransFXTables.h"
#include "tests/support/ImageSetWriter.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/config/DialogDriver.h"
#include "tests/wine/config/TransitionTesting.h"
#include "tests/wine/controls/DemoSets.h"
#include "tests/wine/support/GdiHeadroom.h"
#include "tools/demo/DemoImageSet.h"
#include "wallpaper/WallpaperPreview.h"

namespace {

namespace fs = std::filesystem;
using dialogtest::Driver;
using dialogtest::RunModal;

using transitiontest::SelectClass;

// Runs the dialog and the script once its initialisation has ended.
dialogtest::DialogRun Open(const std::function<void(Driver&)>& script) {
  return RunModal(DialogInstance(), IDD_TRANSITIONFX, TransitionFXDlgProc, [&](Driver& d) {
    transitiontest::WaitShown(d);
    script(d);
  });
}

// The setting buffer of a class.
char* BufferOf(int classId) {
  for (int i = 0; i < kTransFXValueCount; ++i)
    if (TransFXValueDefs[i].classId == classId) return IniSettings.TRANSFX[i];
  return nullptr;
}

std::string LoadText(int id) {
  char text[1001] = {};
  LoadStringA(DialogInstance(), static_cast<UINT>(id), text, sizeof text);
  return text;
}

bool IsGrey(COLORREF c) { return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c); }

class TransitionDialog : public testing::Test {
 protected:
  void SetUp() override { transitiontest::InstallAndRead(dialogtest::InstalledSets().alpha); }
  transitiontest::TransitionDialogEnvironment env_;
};

TEST_F(TransitionDialog, OpensOnBlindsWithItsHelpSwitchAndSliders) {
  const TransFXClassRow* blinds = FindTransFXClassRow(8);
  ASSERT_NE(blinds, nullptr);
  const auto run = Open([&](Driver& d) {
    EXPECT_EQ("Select Transition Effects And Settings Between Images", d.WindowText(d.Dialog()));
    EXPECT_EQ(kTransFXClassCount, d.ListCount(IDC_TRANSCLASSLIST));
    EXPECT_EQ(0, d.ListSelection(IDC_TRANSCLASSLIST));
    EXPECT_EQ("Blinds", d.ListText(IDC_TRANSCLASSLIST, 0));
    EXPECT_EQ(LoadText(blinds->helpStringId), d.Text(IDC_TRANSCLASSHELP));
    EXPECT_TRUE(d.Checked(IDC_TRANSCLASSON));
    EXPECT_EQ(blinds->s1, d.SliderPosition(IDC_TRANSSLIDER1));
    EXPECT_EQ(blinds->s2, d.SliderPosition(IDC_TRANSSLIDER2));
    EXPECT_EQ(blinds->s3, d.SliderPosition(IDC_TRANSSLIDER3));
    EXPECT_EQ(0, d.ComboSelection(IDC_TRANSEFFECTLIST));
    EXPECT_TRUE(d.Enabled(IDC_TRANSPREVIEW)) << "a 2D class with a picture previews";
    d.Click(IDCANCEL);
  });
  EXPECT_TRUE(run.found);
  EXPECT_FALSE(run.forcedClose);
  EXPECT_EQ(0, run.result);
  EXPECT_TRUE(env_.alerts.Records().empty());
}

struct ClassCase {
  const char* name;
  int sliders;           // sliders enabled
  const char* caption3;  // null: not checked
  bool preview;
};

TEST_F(TransitionDialog, AClassChangeShowsItsEffectsCaptionsAndEnabledSliders) {
  const ClassCase cases[] = {
      {"Flying Tiles - 3D", 3, nullptr, false},
      {"Sweep", 2, nullptr, true},
      {"Slide Show", 2, "-", true},
      {"Blinds", 3, nullptr, true},
  };
  Open([&](Driver& d) {
    for (const ClassCase& c : cases) {
      SCOPED_TRACE(c.name);
      SelectClass(d, c.name);
      const int line = d.ListSelection(IDC_TRANSCLASSLIST);
      const auto* row = reinterpret_cast<const TransFXClassRow*>(
          SendMessageA(d.Item(IDC_TRANSCLASSLIST), LB_GETITEMDATA, line, 0));
      ASSERT_NE(row, nullptr);
      EXPECT_EQ(LoadText(row->nameStringId), c.name);
      EXPECT_EQ(LoadText(row->helpStringId), d.Text(IDC_TRANSCLASSHELP));
      std::vector<std::string> effects;
      for (const TransFXEffectRow& e : TransFXTable)
        if (e.classId == row->classId) effects.push_back(e.name);
      ASSERT_EQ(static_cast<int>(effects.size()), d.ComboCount(IDC_TRANSEFFECTLIST));
      for (size_t i = 0; i < effects.size(); ++i)
        EXPECT_EQ(effects[i], d.ComboText(IDC_TRANSEFFECTLIST, static_cast<int>(i)));
      EXPECT_EQ(0, d.ComboSelection(IDC_TRANSEFFECTLIST));
      const int ids[3][3] = {{IDC_TRANSSLIDER1, IDC_TRANSSLIDER1MAX, IDC_TRANSSLIDER1MIN},
                             {IDC_TRANSSLIDER2, IDC_TRANSSLIDER2MAX, IDC_TRANSSLIDER2MIN},
                             {IDC_TRANSSLIDER3, IDC_TRANSSLIDER3MAX, IDC_TRANSSLIDER3MIN}};
      for (int s = 0; s < 3; ++s)
        for (int id : ids[s]) EXPECT_EQ(s < c.sliders, d.Enabled(id)) << "slider " << s + 1;
      EXPECT_FALSE(d.Text(IDC_TRANSCAPTION1).empty());
      if (c.caption3) {
        EXPECT_EQ(c.caption3, d.Text(IDC_TRANSCAPTION3));
      }
      EXPECT_EQ(c.preview, d.Enabled(IDC_TRANSPREVIEW));
      EXPECT_EQ(row->s2, d.SliderPosition(IDC_TRANSSLIDER2));
      EXPECT_EQ(row->enabled != 0, d.Checked(IDC_TRANSCLASSON));
    }
    d.Click(IDCANCEL);
  });
}

TEST_F(TransitionDialog, SwitchAndReleasedSlidersChangeTheRowAndOkWritesTheBuffers) {
  const std::string blindsBefore = BufferOf(8);
  Open([&](Driver& d) {
    SelectClass(d, "Sweep");
    d.Click(IDC_TRANSCLASSON);
    EXPECT_FALSE(d.Checked(IDC_TRANSCLASSON));
    d.ReleaseSlider(IDC_TRANSSLIDER1, 77);
    d.ReleaseSlider(IDC_TRANSSLIDER2, 3);
    d.ReleaseSlider(IDC_TRANSSLIDER3, 0);  // out of range: ignored
    const TransFXClassRow* sweep = FindTransFXClassRow(20);
    EXPECT_EQ(0, sweep->enabled);
    EXPECT_EQ(77, sweep->s1);
    EXPECT_EQ(3, sweep->s2);
    EXPECT_EQ(50, sweep->s3);
    EXPECT_STRNE("0,77,3,50", BufferOf(20)) << "nothing is written before OK";
    d.Click(IDOK);
  });
  EXPECT_STREQ("0,77,3,50", BufferOf(20));
  EXPECT_EQ(blindsBefore, BufferOf(8));
}

TEST_F(TransitionDialog, CancelLeavesTheBuffersAndAReopeningShowsTheOldValues) {
  const std::string before = BufferOf(21);
  const int oldS1 = FindTransFXClassRow(21)->s1;
  Open([&](Driver& d) {
    SelectClass(d, "Slide Show");
    d.ReleaseSlider(IDC_TRANSSLIDER1, oldS1 == 90 ? 91 : 90);
    d.Click(IDC_TRANSCLASSON);
    d.Click(IDCANCEL);
  });
  EXPECT_EQ(before, BufferOf(21));
  Open([&](Driver& d) {
    SelectClass(d, "Slide Show");
    EXPECT_EQ(oldS1, d.SliderPosition(IDC_TRANSSLIDER1));
    EXPECT_TRUE(d.Checked(IDC_TRANSCLASSON));
    d.Click(IDCANCEL);
  });
}

TEST_F(TransitionDialog, WithoutAPictureTheClassesStillShowAndOkKeepsTheUsersValues) {
  // The user's own values, and a set whose records cannot be read.
  std::strcpy(BufferOf(8), "0,11,22,33");
  testsupport::TempFolder empty("noset");
  std::strcpy(IniSettings.DATADIRECTORY, empty.str().c_str());
  Open([&](Driver& d) {
    EXPECT_EQ(kTransFXClassCount, d.ListCount(IDC_TRANSCLASSLIST));
    EXPECT_EQ("Blinds", d.ListText(IDC_TRANSCLASSLIST, d.ListSelection(IDC_TRANSCLASSLIST)));
    EXPECT_FALSE(d.Checked(IDC_TRANSCLASSON));
    EXPECT_EQ(11, d.SliderPosition(IDC_TRANSSLIDER1));
    EXPECT_EQ(33, d.SliderPosition(IDC_TRANSSLIDER3));
    EXPECT_FALSE(d.Enabled(IDC_TRANSPREVIEW)) << "nothing to preview";
    d.Command(IDC_TRANSPREVIEW);  // and a Preview sent anyway does nothing
    d.Click(IDOK);
  });
  EXPECT_STREQ("0,11,22,33", BufferOf(8));
  EXPECT_FALSE(env_.alerts.Records().empty()) << "the unreadable set was reported";
}

TEST_F(TransitionDialog, PaintingValidatesTheWindow) {
  Open([&](Driver& d) {
    BOOL pending = TRUE;
    d.OnDialogThread([&] {
      InvalidateRect(d.Dialog(), nullptr, FALSE);
      UpdateWindow(d.Dialog());
      pending = GetUpdateRect(d.Dialog(), nullptr, FALSE);
    });
    EXPECT_FALSE(pending) << "WM_PAINT left the window invalid: it would paint forever";
    d.Click(IDCANCEL);
  });
}

TEST_F(TransitionDialog, AGroupBoxTooSmallDrawsNothingAndDisablesPreview) {
  Open([&](Driver& d) {
    const RECT mini = transitiontest::MiniScreenOf(d.Dialog());
    d.OnDialogThread([&] {
      SetWindowPos(d.Item(IDC_TRANSPREVIEWFRAME), nullptr, 0, 0, 25, 25, SWP_NOZORDER);
      RedrawWindow(d.Dialog(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    });
    SelectClass(d, "Sweep");
    EXPECT_FALSE(d.Enabled(IDC_TRANSPREVIEW));
    d.Command(IDC_TRANSPREVIEW);
    d.Sync();
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    int drawn = 0;
    for (COLORREF c : transitiontest::ReadClient(d.Dialog(), mini)) drawn += c != face;
    EXPECT_EQ(0, drawn) << "pixels of the old mini screen not the dialog's own colour";
    d.Click(IDCANCEL);
  });
}

// Compares the mini screen the dialog shows with the composition built from the same inputs:
// the background with the picture centred on it, stretched as a whole. As opened the two are
// equal pixel for pixel. After a preview, the effect has drawn the picture back in pieces, each
// stretched on its own: there every pixel of the picture's rectangle (grown by a pixel of
// rounding) is compared with the composition's pixels up to one pixel away, and at most one in
// thirty may differ further (the pieces' own rounding); everything outside it stays exactly the
// composition, and grey.
void ExpectMiniScreenShowsTheComposition(Driver& d, bool exact) {
  const RECT mini = transitiontest::MiniScreenOf(d.Dialog());
  ASSERT_GT(mini.right - mini.left, 0);
  std::vector<COLORREF> shown, expected;
  d.OnDialogThread([&] {
    shown = transitiontest::ReadClient(d.Dialog(), mini);
    expected = transitiontest::ExpectedMiniScreen(mini);
  });
  ASSERT_EQ(shown.size(), expected.size());
  const TransitionPreviewParts parts = CurrentTransitionPreview();
  const CDIB* background = ScreenBackgroundDIB;
  const int w = mini.right - mini.left, h = mini.bottom - mini.top;
  RECT inner =
      MiniImageRect(RECT{0, 0, w, h}, background->GetWidth(), background->GetHeight(), parts.image);
  InflateRect(&inner, 1, 1);
  auto at = [&](const std::vector<COLORREF>& p, int x, int y) {
    return p[static_cast<size_t>(y) * w + x];
  };
  int exactDiffer = 0, outsideDiffer = 0, insideFar = 0, inside = 0, outsideNotGrey = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const COLORREF c = at(shown, x, y);
      exactDiffer += c != at(expected, x, y);
      if (x < inner.left || x >= inner.right || y < inner.top || y >= inner.bottom) {
        outsideDiffer += c != at(expected, x, y);
        outsideNotGrey += !IsGrey(c);
        continue;
      }
      bool matched = false;
      for (int dy = -1; dy <= 1 && !matched; ++dy)
        for (int dx = -1; dx <= 1 && !matched; ++dx) {
          const int nx = x + dx, ny = y + dy;
          matched = nx >= 0 && ny >= 0 && nx < w && ny < h && c == at(expected, nx, ny);
        }
      ++inside;
      insideFar += !matched;
    }
  if (exact) {
    EXPECT_EQ(0, exactDiffer) << "of " << shown.size() << " mini-screen pixels";
  }
  EXPECT_EQ(0, outsideDiffer) << "background pixels unlike the composition";
  EXPECT_LE(insideFar * 30, inside) << insideFar << " of the picture's " << inside << " pixels";
  EXPECT_EQ(0, outsideNotGrey) << "background pixels that are not grey";
}

TEST_F(TransitionDialog, PreviewEndsShowingTheCompositionOfBackgroundAndPicture) {
  std::strcpy(IniSettings.IMAGE_SIZE, "1");  // 640 x 480 on the 1024 x 768 screen
  Open([&](Driver& d) {
    const TransitionPreviewParts parts = CurrentTransitionPreview();
    ASSERT_NE(parts.imageOn, nullptr);
    ASSERT_NE(parts.palette, nullptr) << "the set's pictures are 8-bit";
    EXPECT_EQ(8, parts.imageOn->header->bmiHeader.biBitCount);
    EXPECT_EQ(640, parts.image.right - parts.image.left);
    ExpectMiniScreenShowsTheComposition(d, true);  // as opened
    for (const char* name : {"Blinds", "Clock Sweep", "Zoom"}) {
      SCOPED_TRACE(name);
      SelectClass(d, name);
      d.Click(IDC_TRANSPREVIEW);
      ExpectMiniScreenShowsTheComposition(d, false);
    }
    // The dialog's context holds no palette of ours once it is let go.
    d.OnDialogThread([&] {
      HDC dc = GetDC(d.Dialog());
      EXPECT_NE(GetCurrentObject(dc, OBJ_PAL), static_cast<HGDIOBJ>(*parts.palette));
      ReleaseDC(d.Dialog(), dc);
    });
    d.Click(IDCANCEL);
  });
  EXPECT_EQ(nullptr, CurrentTransitionPreview().imageOn) << "the surfaces go with the dialog";
  EXPECT_NE(nullptr, TransitionPreviewPicture()) << "the preview picture stays loaded";
}

// A virtual clock that acts as the user once `delay` milliseconds of waiting have passed since it
// was armed: reads do not move it, each idle turn of a wait moves it 1 ms. The act runs on the
// thread that waits, the dialog's.
class UserAtClock : public seams::TestClock {
 public:
  UserAtClock() : TestClock(1000, 0, 1) {}
  void Arm(uint32_t delay, std::function<void()> act) {
    at_ = Peek() + delay;
    act_ = std::move(act);
    actedAt = 0;
  }
  void Idle() override {
    TestClock::Idle();
    if (!act_ || seams::TickBefore(Peek(), at_)) return;
    actedAt = Peek();
    auto act = std::move(act_);
    act_ = nullptr;
    act();
  }
  uint32_t actedAt = 0;

 private:
  uint32_t at_ = 0;
  std::function<void()> act_;
};

void SetSliders(Driver& d, int position) {
  for (int id : {IDC_TRANSSLIDER1, IDC_TRANSSLIDER2, IDC_TRANSSLIDER3})
    if (d.Enabled(id)) d.ReleaseSlider(id, position);
}

// A preview draws for many seconds at its slowest; the dialog keeps answering meanwhile: Cancel,
// Esc or another class, 2 s in, end it within a few milliseconds of waiting, and Cancel and Esc
// then close the dialog.
TEST_F(TransitionDialog, CancelEscOrAnotherClassEndASlowPreviewAtOnce) {
  UserAtClock clock;
  const seams::ScopedClock scoped(&clock);
  // "Rectangles" with every slider at its right end is the slowest preview there is.
  constexpr char kSlowClass[] = "Rectangles";
  constexpr int kSlowest = 100;
  uint32_t whole = 0;
  Open([&](Driver& d) {
    SelectClass(d, kSlowClass);
    SetSliders(d, kSlowest);
    const uint32_t start = clock.Peek();
    d.Click(IDC_TRANSPREVIEW);
    whole = clock.Peek() - start;
    d.Click(IDCANCEL);
  });
  std::printf("[ figure ] slowest preview (%s): %u ms of waiting\n", kSlowClass, whole);
  ASSERT_GT(whole, 4000u) << "a preview slow enough to interrupt";

  struct Case {
    const char* name;
    std::function<void(HWND)> act;  // on the dialog's thread, 2 s into the preview
    bool closes;
  };
  const Case cases[] = {
      {"Cancel", [](HWND dialog) { PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); },
       true},
      {"Esc",
       [](HWND dialog) {
         HWND focus = GetFocus();
         PostMessageA(focus ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
       },
       true},
      {"another class",
       [](HWND dialog) {
         HWND list = GetDlgItem(dialog, IDC_TRANSCLASSLIST);
         SendMessageA(list, LB_SETCURSEL, 3, 0);
         PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TRANSCLASSLIST, LBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(list));
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    uint32_t answeredIn = 0;
    double wallMs = 0;
    const auto run = Open([&](Driver& d) {
      SelectClass(d, kSlowClass);
      SetSliders(d, kSlowest);
      HWND dialog = d.Dialog();
      const auto start = std::chrono::steady_clock::now();
      auto actedWall = start;
      clock.Arm(2000, [&, dialog] {
        actedWall = std::chrono::steady_clock::now();
        c.act(dialog);
      });
      const uint32_t started = clock.Peek();
      d.Click(IDC_TRANSPREVIEW);  // returns when the preview's handler does
      ASSERT_NE(clock.actedAt, 0u) << "the act came during the preview";
      answeredIn = clock.Peek() - clock.actedAt;
      wallMs =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - actedWall)
              .count();
      EXPECT_LT(clock.Peek() - started, whole) << "the preview ended early";
      if (!c.closes) {
        EXPECT_EQ(3, d.ListSelection(IDC_TRANSCLASSLIST)) << "the class changed meanwhile";
        EXPECT_TRUE(IsWindowVisible(dialog));
        d.Click(IDCANCEL);
      }
    });
    EXPECT_TRUE(run.found);
    EXPECT_FALSE(run.forcedClose) << "Cancel and Esc close the dialog themselves";
    EXPECT_LT(answeredIn, 200u) << "ms of waiting between the act and the preview's end";
    std::printf(
        "[ figure ] %s 2 s into a slow preview: ended after %u ms of waiting, %.1f ms "
        "of real time\n",
        c.name, answeredIn, wallMs);
  }
}

TEST_F(TransitionDialog, APictureLargerThanTheScreenIsCutToItsCentre) {
  std::strcpy(IniSettings.IMAGE_SIZE, "6");  // 1600 x 1200 on the 1024 x 768 screen
  Open([&](Driver& d) {
    const TransitionPreviewParts parts = CurrentTransitionPreview();
    ASSERT_NE(parts.imageOn, nullptr);
    ASSERT_NE(TransitionPreviewPicture(), nullptr);
    EXPECT_GT(TransitionPreviewPicture()->GetWidth(), 1024);
    EXPECT_EQ(0, parts.image.left);
    EXPECT_EQ(1024, parts.image.right);
    EXPECT_EQ(768, parts.image.bottom);
    EXPECT_TRUE(d.Enabled(IDC_TRANSPREVIEW));
    ExpectMiniScreenShowsTheComposition(d, true);
    d.Click(IDC_TRANSPREVIEW);
    ExpectMiniScreenShowsTheComposition(d, false);
    d.Click(IDCANCEL);
  });
}

TEST_F(TransitionDialog, OwnImagesPreviewTheOwnPictureLaidOutFullScreenIn24Bits) {
  OwnImagesMode = 1;
  const fs::path own =
      fs::path(dialogtest::InstalledSets().alpha).parent_path() / demoset::kOwnImagesFolderName;
  std::strcpy(IniSettings.OWNIMAGES_DIR, own.string().c_str());
  SelectedOwnImageNo = 1;
  Open([&](Driver& d) {
    const TransitionPreviewParts parts = CurrentTransitionPreview();
    ASSERT_NE(parts.imageOn, nullptr);
    EXPECT_EQ(nullptr, parts.palette);
    EXPECT_EQ(24, parts.imageOn->header->bmiHeader.biBitCount);
    ASSERT_NE(FullScreenOwnImageDIB, nullptr);
    const int size = FullScreenOwnImageDIB->GetStorageWidth() * FullScreenOwnImageDIB->GetHeight();
    EXPECT_EQ(0, std::memcmp(parts.imageOn->bits, FullScreenOwnImageDIB->bits, size))
        << "the picture-on screen is the own picture laid out";
    EXPECT_TRUE(d.Enabled(IDC_TRANSPREVIEW));
    d.Click(IDC_TRANSPREVIEW);
    d.Click(IDCANCEL);
  });
}

TEST_F(TransitionDialog, FiftyOpeningsLeaveNoGdiObjectBehind) {
  std::strcpy(IniSettings.IMAGE_SIZE, "1");
  Open([](Driver& d) { d.Click(IDCANCEL); });  // the picture is decoded once, kept after
  // A paint the dialog answers while its preview holds a device context can grow Wine's cache.
  wintest::FillDeviceContextCache();
  std::vector<HGDIOBJ> recorded;
  const int before = wintest::FreeGdiHandles();
  double slowest = 0;
  for (int i = 0; i < 50; ++i) {
    const auto start = std::chrono::steady_clock::now();
    Open([&](Driver& d) {
      slowest = std::max(slowest, std::chrono::duration<double, std::milli>(
                                      std::chrono::steady_clock::now() - start)
                                      .count());
      const TransitionPreviewParts parts = CurrentTransitionPreview();
      ASSERT_NE(parts.imageOn, nullptr);
      recorded.push_back(GetCurrentObject(parts.imageOn->memoryDC.GetSafeHdc(), OBJ_BITMAP));
      recorded.push_back(GetCurrentObject(parts.imageOff->memoryDC.GetSafeHdc(), OBJ_BITMAP));
      recorded.push_back(parts.imageOn->memoryDC.GetSafeHdc());
      if (parts.palette) recorded.push_back(static_cast<HGDIOBJ>(*parts.palette));
      if (i % 10 == 0) d.Click(IDC_TRANSPREVIEW);
      d.Click(i % 2 ? IDOK : IDCANCEL);
    });
  }
  EXPECT_EQ(before, wintest::FreeGdiHandles()) << "GDI objects left behind";
  for (HGDIOBJ handle : recorded) EXPECT_EQ(0u, GetObjectType(handle)) << handle;
  std::printf("[ figure ] transition dialog, opening to shown: slowest %.1f ms of 50\n", slowest);
}

// A copy of the demo set whose description file lists 52 images (its 12 pictures again and
// again), the size of the large sets.
std::string FiftyTwoImageSet(const testsupport::TempFolder& parent) {
  const std::string demo = dialogtest::InstalledSets().alpha;
  const fs::path folder = parent / "set52";
  fs::create_directories(folder);
  for (const auto& entry : fs::directory_iterator(demo))
    fs::copy_file(entry.path(), folder / entry.path().filename());
  std::ifstream in(demo + "\\Imagedes.dat", std::ios::binary);
  const std::vector<char> file((std::istreambuf_iterator<char>(in)), {});
  uint32_t setId = 0;
  std::memcpy(&setId, file.data(), sizeof setId);
  CObArray twelve;
  EXPECT_EQ(ImageDescReadResult::kOk,
            ReadImageDescArray((demo + "\\Imagedes.dat").c_str(), &twelve));
  std::vector<const CImageDesc*> records;
  for (int i = 0; i < 52; ++i)
    records.push_back(static_cast<const CImageDesc*>(twelve.GetAt(i % twelve.GetSize())));
  const auto bytes = imagesettest::WriteImageDescriptions(setId, 52, records);
  std::ofstream((folder / "Imagedes.dat").string(), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  DeleteImageDescs(&twelve);
  return folder.string();
}

TEST_F(TransitionDialog, OpeningTimeWithAFiftyTwoImageSet) {
  testsupport::TempFolder parent("set52");
  transitiontest::InstallAndRead(FiftyTwoImageSet(parent));
  double total[2] = {0, 0};  // records loaded already, records read on opening
  constexpr int kRuns = 10;
  for (int i = 0; i < kRuns; ++i) {
    if (i % 2) {  // half of them as on a first opening: the records not loaded yet
      DeleteImageDescs(&ImageDescArray);
      SelectedImageNo = -1;
    }
    const auto start = std::chrono::steady_clock::now();
    Open([&](Driver& d) {
      total[i % 2] +=
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count();
      EXPECT_EQ(52,
                static_cast<int>(SendMessageA(d.Item(IDC_WALLPAPERIMAGELIST), LB_GETCOUNT, 0, 0)));
      EXPECT_TRUE(d.Enabled(IDC_TRANSPREVIEW));
      d.Click(IDCANCEL);
    });
  }
  std::printf(
      "[ figure ] transition dialog with a 52-image set, opening to shown (mean of %d "
      "each): %.1f ms with the records loaded, %.1f ms reading them\n",
      kRuns / 2, total[0] / (kRuns / 2), total[1] / (kRuns / 2));
}

}  // namespace
