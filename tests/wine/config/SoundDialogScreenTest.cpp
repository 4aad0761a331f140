// The music and sound dialog on a real X display, for looking at: saved as dialogs-sound.bmp in
// the folder named by SAVER_SCREENSHOT_DIR (a Windows path), when set. The transport buttons
// must show their faces: black where enabled, dark grey where disabled.
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/SoundDialog.h"
#include "controls/DialogSupport.h"
#include "res/DialogIds.h"
#include "tests/support/WaveWriter.h"
#include "tests/wine/config/SoundDialogFixture.h"
#include "tests/wine/platform/ScreenCapture.h"
#include "tests/wine/support/WindowTesting.h"

namespace {

// Half a second of painting before the capture.
void LetItPaint() {
  for (int i = 0; i < 25; ++i, Sleep(20)) wintest::Pump();
}

// How many pixels of a colour a button shows inside its edges.
int CountInside(const ScreenCapture& shot, HWND window, COLORREF colour) {
  RECT box = {};
  GetWindowRect(window, &box);
  InflateRect(&box, -3, -3);
  int count = 0;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) count += shot.At(x, y) == colour;
  }
  return count;
}

using SoundDialogOnScreen = soundtest::SoundDialogTest;

TEST_F(SoundDialogOnScreen, ShowsEveryControlAndTheButtonsFaces) {
  // A short folder (the test's prefix is its own), so that the list shows whole paths.
  const std::string music = "C:\\Music\\";
  std::filesystem::create_directories(music);
  const std::vector<std::string> paths = {music + "Morning Birds.wav", music + "Evening Waltz.mid",
                                          music + "Rain.wav"};
  for (const std::string& path : paths) {
    const bool midi = path.back() == 'd';
    ASSERT_TRUE(testsupport::WriteBytes(
        path, midi ? testsupport::ShortMidi() : testsupport::ToneWave(200)));
  }
  SetPlayList(paths);
  device_.lengths[paths[1]] = 214000;
  HWND dialog = CreateDialogParamA(DialogInstance(), MAKEINTRESOURCEA(IDD_SOUNDFX), nullptr,
                                   SoundFXDlgProc, 0);
  ASSERT_NE(dialog, nullptr);
  ShowWindow(dialog, SW_SHOWNORMAL);
  LetItPaint();
  const ScreenCapture shot = ScreenCapture::Take();
  ASSERT_FALSE(shot.Empty());
  if (const char* folder = std::getenv("SAVER_SCREENSHOT_DIR"))
    shot.SaveBmp((std::string(folder) + "\\dialogs-sound.bmp").c_str());

  // At the start of the file: back and stop disabled, play and forward enabled. Each face's
  // shape is all black or all dark grey: a triangle of 20 pixels, two of 12, a square of 36.
  const COLORREF black = RGB(0, 0, 0), grey = RGB(128, 128, 128);
  struct Face {
    int id;
    COLORREF colour, other;
    int pixels;
  } faces[] = {{IDC_SOUNDPLAY, black, grey, 20},
               {IDC_SOUNDFORWARD, black, grey, 24},
               {IDC_SOUNDBACK, grey, black, 24},
               {IDC_SOUNDSTOP, grey, black, 36}};
  for (const Face& f : faces) {
    EXPECT_EQ(CountInside(shot, GetDlgItem(dialog, f.id), f.colour), f.pixels) << f.id;
    EXPECT_EQ(CountInside(shot, GetDlgItem(dialog, f.id), f.other), 0) << f.id;
  }
  EXPECT_EQ(GetWindowTextLengthA(GetDlgItem(dialog, IDC_SOUNDTIME)), 11);
  DestroyWindow(dialog);
}

}  // namespace
