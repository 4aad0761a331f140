// The five custom controls on a real window under Xvfb, for looking at: two sliders, two
// switches, an image view with a picture and a rich-text view with a description. Saved as
// controls-screen.bmp in the folder named by SAVER_SCREENSHOT_DIR (a Windows path), when set.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "controls/ControlsSliders.h"
#include "controls/ControlsViews.h"
#include "imaging/DIB.h"
#include "richtext/RichTextDocument.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tests/wine/platform/ScreenCapture.h"

namespace controltest {
namespace {

using ControlsOnScreen = ControlTest;

void Pump() {
  MSG message;
  for (int i = 0; i < 20; ++i) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(20);
  }
}

TEST_F(ControlsOnScreen, EveryControlShowsWhatItHolds) {
  auto* vertical = Wrapper<CRVSliderCtl>(Create("RVSlider", 20, 20, 30, 200));
  auto* disabled = Wrapper<CRVSliderCtl>(Create("RVSlider", 60, 20, 30, 200));
  auto* horizontal = Wrapper<CRMSliderCtl>(Create("RMSlider", 110, 20, 220, 30));
  auto* on = Wrapper<CRGrnBtnCtl>(Create("RGrnBtn", 110, 70, 30, 20));
  auto* off = Wrapper<CRGrnBtnCtl>(Create("RGrnBtn", 150, 70, 30, 20));
  auto* image = Wrapper<CRDIBCtl>(Create("RDIBCtl", 110, 110, 212, 146));
  auto* text = Wrapper<CRRTFCtl>(Create("RRTFCtl", 340, 20, 240, 236));
  ASSERT_TRUE(vertical && disabled && horizontal && on && off && image && text && text->document);
  vertical->SetPos(25);
  EnableWindow(disabled->m_hWnd, FALSE);
  horizontal->SetPos(70);
  on->SetState(1);

  CDIB picture;  // a colour wheel-like gradient with a grey band
  ASSERT_TRUE(picture.Create24(320, 240));
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) {
      BYTE* p = picture.bits + static_cast<size_t>(239 - y) * picture.GetStorageWidth() + 3 * x;
      const bool grey = y > 100 && y < 140;
      p[0] = grey ? BYTE(x * 255 / 319) : BYTE(255 - x * 255 / 319);
      p[1] = grey ? BYTE(x * 255 / 319) : BYTE(y);
      p[2] = grey ? BYTE(x * 255 / 319) : BYTE(x * 255 / 319);
    }
  image->SetBackColor(PALETTERGB(192, 192, 192));
  image->SetKeepImageSize(TRUE);
  ASSERT_TRUE(image->SetDIB(&picture));

  testsupport::TempFolder folder("screen");
  const std::string path = (folder / "credits.rtf").string();
  std::ofstream(path, std::ios::binary)
      << "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs24\\b Sunset Lake\\b0\\par"
         "\\fs20 Evening light over the water, taken from the northern shore an hour before "
         "dark.\\par}";
  ASSERT_EQ(StreamInRichText(text->document, path.c_str(), "RTF", 2, TRUE), 0);
  SetRichTextReadOnly(text->document);
  InvalidateRect(parent_, nullptr, TRUE);
  Pump();
  const ScreenCapture shot = ScreenCapture::Take();
  ASSERT_FALSE(shot.Empty());
  // The switch that is on shows green, the track black, the disabled track dark grey.
  EXPECT_EQ(shot.At(125, 80), RGB(0, 255, 0));
  EXPECT_EQ(shot.At(35, 150), RGB(0, 0, 0));
  EXPECT_EQ(shot.At(75, 150), RGB(128, 128, 128));
  if (const char* folderName = std::getenv("SAVER_SCREENSHOT_DIR"))
    shot.SaveBmp((std::string(folderName) + "\\controls-screen.bmp").c_str());
}

}  // namespace
}  // namespace controltest
