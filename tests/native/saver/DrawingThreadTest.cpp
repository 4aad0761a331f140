// The drawing thread on a screen in memory: the set-up and image-change errors end in the error
// splash with their numbers; image changes show each picture in its own colours on the composed
// grey background; a stop request ends the thread at once; a long run does not grow.
#include "saver/DrawingThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imageset/GetImage.h"
#include "imaging/Descriptors.h"
#include "saver/SplashError.h"
#include "tests/native/saver/DrawingThreadFixture.h"
#include "tests/native/saver/HeapInUse.h"
#include "tests/native/transitions/GreyScreen.h"

namespace drawtest {
namespace {

// Rewrites every description of the set's file with `change`.
void ChangeDescriptions(const std::string& path, const std::function<void(CImageDesc&)>& change) {
  CObArray descs;
  ASSERT_EQ(GetImageDescArray(path.c_str(), &descs), 12);
  std::vector<const CImageDesc*> records;
  for (int i = 0; i < descs.GetSize(); ++i) {
    auto* desc = static_cast<CImageDesc*>(descs.GetAt(i));
    change(*desc);
    records.push_back(desc);
  }
  ASSERT_TRUE(
      imagesettest::WriteFileBytes(path, imagesettest::WriteImageDescriptions(1, 12, records)));
  DeleteImageDescs(&descs);
}

BOOL FailingReducer(CDIB*, CDIB*) { return FALSE; }

struct ErrorCase {
  const char* name;
  std::function<void(DrawingThreadTest&)> arrange;
  int error;
  bool beforeAnyPicture;  // the thread stops in its set-up, before choosing a picture
  int width = 800, height = 600;
  bool traced = true;  // a failed settings read opens no trace
};

std::vector<ErrorCase> ErrorCases() {
  using T = DrawingThreadTest;
  auto remove = [](const char* name) {
    return [name](T& t) { std::filesystem::remove(t.DataFile(name)); };
  };
  // A file the thread finds but cannot open: a folder in its place.
  auto folderInstead = [](const char* name) {
    return [name](T& t) {
      std::filesystem::remove(t.DataFile(name));
      std::filesystem::create_directory(t.DataFile(name));
    };
  };
  auto withCaptions = [](const std::function<void(T&)>& more) {
    return [more](T& t) {
      t.Put("TEXTFX_TEXTON", "1");
      more(t);
    };
  };
  return {
      {"settings read failed", [](T& t) { t.registry_.Remove(t.keyPath_.str(), "SSFN"); }, 28, true,
       800, 600, false},
      {"no description file", remove("Imagedes.dat"), 4, true},
      {"count 13",
       [](T& t) {
         imagesettest::Bytes bytes = imagesettest::ReadFileBytes(t.DataFile("Imagedes.dat"));
         bytes[4] = 13;  // the count after the set identifier
         imagesettest::WriteFileBytes(t.DataFile("Imagedes.dat"), bytes);
       },
       9, true},
      {"truncated record",
       [](T& t) {
         imagesettest::Bytes bytes = imagesettest::ReadFileBytes(t.DataFile("Imagedes.dat"));
         bytes.resize(bytes.size() / 2);
         imagesettest::WriteFileBytes(t.DataFile("Imagedes.dat"), bytes);
       },
       9, true},
      {"description file unopenable", folderInstead("Imagedes.dat"), 5, true},
      {"routine 9", [](T& t) { t.Put("SSFN", "9"); }, 8, true},
      {"damaged Logosdes.dat",
       [](T& t) {
         t.Put("LOGOSON", "1");
         imagesettest::WriteFileBytes(t.DataFile("Logosdes.dat"), imagesettest::Bytes{7, 0, 0});
       },
       7, true},
      {"logos without Logosdes.dat",
       [](T& t) {
         t.Put("LOGOSON", "1");
         std::filesystem::remove(t.DataFile("Logosdes.dat"));
       },
       21, true},
      {"logos without imlogos.dat",
       [](T& t) {
         t.Put("LOGOSON", "1");
         std::filesystem::remove(t.DataFile("imlogos.dat"));
       },
       22, true},
      {"screen too small for a background", [](T&) {}, 16, true, 600, 400},
      {"empty own-images folder",
       [](T& t) {
         t.Put("OWNIMAGES_ON", "1");
         const std::string empty = imagesettest::JoinPath(t.folder_.str(), "empty");
         std::filesystem::create_directories(empty);
         t.Put("OWNIMAGES_DIR", empty);
       },
       37, true},
      {"no caption file", withCaptions(remove("imagetxt.dat")), 17, false},
      {"caption file unopenable", withCaptions(folderInstead("imagetxt.dat")), 18, false},
#ifndef _WIN32
      // A file whose stated length is longer than what reads from it (the kernel's files state a
      // page): the caption's range lies inside the length but the bytes never come.
      {"caption file shorter than its length", withCaptions([](T& t) {
         const char* page = "/sys/devices/system/cpu/online";
         std::filesystem::remove(t.DataFile("imagetxt.dat"));
         std::filesystem::create_symlink(page, t.DataFile("imagetxt.dat"));
         ChangeDescriptions(t.DataFile("Imagedes.dat"), [](CImageDesc& d) {
           d.captionStart = 100;
           d.captionEnd = 200;
         });
       }),
       20, false},
#endif
      {"caption start after its end", withCaptions([](T& t) {
         ChangeDescriptions(t.DataFile("Imagedes.dat"),
                            [](CImageDesc& d) { d.captionStart = d.captionEnd + 1; });
       }),
       19, false},
      {"caption past the file's end", withCaptions([](T& t) {
         ChangeDescriptions(t.DataFile("Imagedes.dat"),
                            [](CImageDesc& d) { d.captionEnd = 0x7FFFFFF0; });
       }),
       19, false},
      {"caption at a negative offset", withCaptions([](T& t) {
         ChangeDescriptions(t.DataFile("Imagedes.dat"), [](CImageDesc& d) { d.captionStart = -5; });
       }),
       19, false},
      // The finished screen no longer matches the background it is to be kept as: the run ends
      // there rather than compose the next change on a stale background.
      {"background resized under the routine",
       [](T& t) {
         t.onWait_ = [&t] {
           auto& doc = t.screen_->doc;
           if (doc.background->GetWidth() != 800 ||
               t.TraceText().find("Slide Show - start") == std::string::npos)
             return;
           delete doc.background;
           doc.background = NewDesktop(816, 608);  // the view's surface stays 800 x 600
         };
       },
       16, false},
      {"failed colour reduction",
       [](T& t) {
         t.Put("OWNIMAGES_ON", "1");  // own images are always reduced
         DrawingThreadColourReducer = FailingReducer;
       },
       14, false},
  };
}

TEST_F(DrawingThreadTest, EachFailureEndsInTheSplashWithItsNumber) {
  for (const ErrorCase& c : ErrorCases()) {
    SCOPED_TRACE(c.name);
    DrawingThreadTest& t = *this;
    t.TearDown();
    t.SetUp();
    t.Put("TRACEON", "1");
    c.arrange(t);
    // Stop as soon as the error is known: the splash's first wait sees the request.
    const int result = Run([&] { return info_.nRunTimeError != 0; }, c.width, c.height);
    EXPECT_EQ(result, c.error);
    EXPECT_EQ(info_.nRunTimeError, c.error);
    CString message;
    GetSplashErrorText(c.error, &message);
    const std::string trace = TraceText();
    if (c.traced) {
      EXPECT_NE(trace.find("ShowSplashErrorText - start"), std::string::npos) << "no splash";
      EXPECT_NE(trace.find(std::string(message)), std::string::npos)
          << "the splash's message " << message;
    }
    if (c.beforeAnyPicture) {
      EXPECT_EQ(Changes(), 0) << "a picture was chosen";
      EXPECT_EQ(info_.pCurrentImage, nullptr);
    } else {
      EXPECT_EQ(Changes(), 1);
    }
  }
}

// A failure of a called routine shows the routine's own text, not a number.
TEST_F(DrawingThreadTest, AFailingLoadShowsTheLoadersText) {
  Put("TRACEON", "1");
  ChangeDescriptions(DataFile("Imagedes.dat"), [](CImageDesc& d) { d.dataOffset = 0x7FFFFF00; });
  bool splash = false;
  const int result = Run([&] {
    splash = TraceText().find("ShowSplashErrorText - start") != std::string::npos;
    return splash;
  });
  EXPECT_TRUE(splash);
  EXPECT_EQ(result, 0);
  EXPECT_NE(TraceText().find("GetImage Error Message"), std::string::npos);
}

// Alerts raised on the thread (here by the image-set loader) go to the trace, not a box.
TEST_F(DrawingThreadTest, AlertsOnTheThreadGoToTheTrace) {
  Put("TRACEON", "1");
  const int result = Run([&] { return info_.nRunTimeError != 0; }, 600, 400);
  EXPECT_EQ(result, 16);
  EXPECT_NE(TraceText().find("Alert: Unable to set full screen background"), std::string::npos);
  EXPECT_EQ(std::string(LastDrawingThreadAlert()), "Unable to set full screen background");
}

// Every pixel outside the rectangle is grey.
testing::AssertionResult GreyAround(const greytest::Colours& screen, int width, const CRect& rect) {
  size_t notGrey = 0;
  for (size_t i = 0; i < screen.size(); ++i) {
    const CPoint p(static_cast<int>(i % width), static_cast<int>(i / width));
    notGrey += !rect.PtInRect(p) && !greytest::IsGrey(screen[i]);
  }
  if (notGrey == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << notGrey << " pixels outside the picture are not grey";
}

// The mean difference per colour channel between the screen's rectangle and the picture (8 or
// 24 bits) placed there.
double MeanChannelDistance(const greytest::Colours& screen, int width, const CRect& rect,
                           const CDIB& picture) {
  double sum = 0;
  long count = 0;
  for (int y = 0; y < rect.Height(); ++y) {
    for (int x = 0; x < rect.Width(); ++x) {
      const uint32_t a = screen[static_cast<size_t>(y + rect.top) * width + x + rect.left];
      RGBQUAD b{};
      if (picture.header->bmiHeader.biBitCount == 8) {
        b = picture.header->bmiColors[*picture.GetPixelAddress(x, y)];
      } else {  // rows bottom-up, blue, green, red
        const BYTE* p =
            picture.bits +
            static_cast<size_t>(picture.GetHeight() - 1 - y) * picture.GetStorageWidth() + 3 * x;
        b = RGBQUAD{p[0], p[1], p[2], 0};
      }
      sum += std::abs(int(a >> 16 & 0xFF) - b.rgbRed) + std::abs(int(a >> 8 & 0xFF) - b.rgbGreen) +
             std::abs(int(a & 0xFF) - b.rgbBlue);
      ++count;
    }
  }
  return sum / (3.0 * count);
}

// Stops `changes` image changes in, half a minute into the picture's slide show.
std::function<bool()> StopDuring(DrawingThreadTest& t, int changes) {
  auto shownAt = std::make_shared<uint32_t>(0);
  return [&t, changes, shownAt] {
    if (t.Changes() < changes) return false;
    if (*shownAt == 0) *shownAt = t.clock_.Peek();
    return t.clock_.Peek() - *shownAt > 30000;
  };
}

TEST_F(DrawingThreadTest, ChangesShowEachPictureInItsOwnColoursOnTheGreyBackground) {
  Put(kLastImageNoValue, "10");  // 11, then wrapping to 0 and 1
  std::chrono::steady_clock::time_point requested;
  auto stop = StopDuring(*this, 3);
  const int result = Run([&] {
    const bool now = stop();
    if (now) requested = std::chrono::steady_clock::now();
    return now;
  });
  const auto stopping = std::chrono::steady_clock::now() - requested;
  EXPECT_EQ(result, 0);
  EXPECT_LT(stopping, std::chrono::seconds(1)) << "the thread went on after the stop request";
  EXPECT_EQ(Stored(kLastImageNoValue), "1");
  ASSERT_NE(info_.pCurrentImage, nullptr);
  const CRect picture(80, 60, 720, 540);  // 640 x 480 centred on 800 x 600
  const greytest::Colours shown = greytest::ColoursOf(*screen_->doc.GetSurface());
  EXPECT_TRUE(GreyAround(shown, 800, picture));
  EXPECT_EQ(shown, greytest::ColoursOf(*screen_->doc.background))
      << "the background keeps the finished screen";
  // The screen holds 204 of an 8-bit picture's colours beside the ramp and the static colours:
  // the rest take their nearest.
  EXPECT_LT(MeanChannelDistance(shown, 800, picture, *info_.pCurrentImage), 2.0);

  // The picture is the set's own picture 1, the right way up: against a fresh decode of it.
  CObArray descs;
  ASSERT_EQ(GetImageDescArray(DataFile("Imagedes.dat").c_str(), &descs), 12);
  CString error;
  std::unique_ptr<CDIB> source(GetImage(DataFile("imfull.dat").c_str(),
                                        static_cast<CImageDesc*>(descs.GetAt(1)), 1, TRUE, 31,
                                        nullptr, nullptr, FALSE, error));
  DeleteImageDescs(&descs);
  ASSERT_TRUE(source) << error;
  EXPECT_LT(MeanChannelDistance(shown, 800, picture, *source), 2.0);
  std::unique_ptr<CDIB> other(GetImage(DataFile("imfull.dat").c_str(),
                                       static_cast<CImageDesc*>(ImageDescArray.GetAt(2)), 1, TRUE,
                                       31, nullptr, nullptr, FALSE, error));
  ASSERT_TRUE(other) << error;
  EXPECT_GT(MeanChannelDistance(shown, 800, picture, *other), 5.0)
      << "the check tells pictures apart";
}

// Captions, the clock, logos and "Combo" (the sliding tiles among its picks) through several
// changes: every step runs and none fails.
TEST_F(DrawingThreadTest, EveryStepRunsWithCaptionsClockLogosAndCombo) {
  Put("TRACEON", "1");
  Put("SSFN", "6");
  Put("TEXTFX_TEXTON", "1");
  Put("CLOCKON", "1");
  Put("LOGOSON", "1");
  const int result = Run(StopDuring(*this, 3));
  EXPECT_EQ(result, 0);
  const std::string trace = TraceText();
  EXPECT_EQ(trace.find("ShowSplashErrorText"), std::string::npos)
      << trace.substr(trace.size() - 2000);
  size_t changes = 0;
  for (size_t at = trace.find("Selected image = "); at != std::string::npos;
       at = trace.find("Selected image = ", at + 1))
    ++changes;
  EXPECT_EQ(changes, 3u);
  EXPECT_NE(trace.find("RunImageTextFXRoutine"), std::string::npos) << "no caption ran";
  EXPECT_NE(trace.find(
                "FXParameters selected: delay=5,colwidth=4,rowheight=4,sizesquare=10,sizewidth=10"),
            std::string::npos);
  EXPECT_EQ(screen_->doc.logos.GetSize() > 0, true) << "logo descriptions loaded";
}

// A size setting from a larger screen shows the smallest size, centred.
TEST_F(DrawingThreadTest, ASizeLargerThanTheScreenShowsTheSmallest) {
  Put("IMAGE_SIZE", "3");  // 1024 x 768 on an 800 x 600 screen
  EXPECT_EQ(Run(StopDuring(*this, 1)), 0);
  ASSERT_NE(info_.pCurrentImage, nullptr);
  EXPECT_EQ(info_.pCurrentImage->GetWidth(), 640);
  EXPECT_EQ(info_.pCurrentImage->GetHeight(), 480);
  EXPECT_TRUE(
      GreyAround(greytest::ColoursOf(*screen_->doc.GetSurface()), 800, CRect(80, 60, 720, 540)));
}

// Own images: no caption even with text on, and the number goes to its own value.
TEST_F(DrawingThreadTest, OwnImagesShowNoCaptionAndKeepTheirOwnNumber) {
  Put("TRACEON", "1");
  Put("OWNIMAGES_ON", "1");
  Put("TEXTFX_TEXTON", "1");
  Put(kOwnImagesLastImageNoValue, "-1");
  EXPECT_EQ(Run(StopDuring(*this, 2)), 0);
  EXPECT_EQ(Stored(kOwnImagesLastImageNoValue), "1");
  EXPECT_EQ(Stored(kLastImageNoValue), "-1");
  const std::string trace = TraceText();
  EXPECT_EQ(trace.find("RunImageTextFXRoutine"), std::string::npos);
  EXPECT_EQ(trace.find("ShowSplashErrorText"), std::string::npos);
  ASSERT_NE(info_.pCurrentImage, nullptr);
  EXPECT_EQ(info_.pCurrentImage->header->bmiHeader.biBitCount, 8)
      << "reduced to the screen's colours";
}

// The heap in use after change 500 is within 1% of what it was after change 50. A sanitizer
// build takes minutes for the run and finds leaks at exit by itself: it leaves this to the other
// builds.
TEST_F(DrawingThreadTest, FiveHundredChangesDoNotGrow) {
#if defined(SAVER_HEAP_FROM_SANITIZER)
  GTEST_SKIP() << "long run left to the builds without sanitizers";
#endif
  size_t heapAt[3] = {};
  const int marks[3] = {1, 50, 500};
  int mark = 0;
  auto stop = StopDuring(*this, 501);
  Run(
      [&] {
        if (mark < 3 && Changes() == marks[mark] + 1) heapAt[mark++] = HeapInUse();
        return stop();
      },
      640, 480, 501 * 120);
  ASSERT_EQ(mark, 3);
  std::printf("heap in use after 1, 50 and 500 changes: %zu, %zu, %zu bytes\n", heapAt[0],
              heapAt[1], heapAt[2]);
  if (heapAt[1] == 0) GTEST_SKIP() << "no heap figures in this build";
  EXPECT_LT(heapAt[2], heapAt[1] + heapAt[1] / 100) << "grew between change 50 and 500";
}

}  // namespace
}  // namespace drawtest
