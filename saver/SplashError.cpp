#include "saver/SplashError.h"

#include "seams/Clock.h"
#include "seams/Trace.h"

const SplashErrorText SplashErrorTexts[kSplashErrorTextCount] = {
    {1, "Unable to access registry settings - Screen saver needs to be reinstalled"},
    {4, "Unable to find all image files (2) - Screen saver needs to be reinstalled"},
    {5, "Unable to open all image files (2)"},
    {6, "System has run out of memory"},
    {7, "Unable to load logo images"},
    {8, "Invalid screen saver routine chosen"},
    {9, "Invalid number of images found in image file"},
    {10, "Invalid image selected in image file"},
    {11, "Unable to run image function (1)"},
    {12, "Unable to run image function (2)"},
    {13, "Unable to build interpolated image"},
    {14, "Unable to build screen image"},
    {15, "Unable to run image transition effects"},
    {16, "Unable to set background image"},
    {17, "Unable to find text file - Screen saver needs to be reinstalled"},
    {18, "Unable to open text file"},
    {19, "Unable to find correct text in text file"},
    {20, "Unable to read text file"},
    {21, "Unable to find logos image files (1) - Screen saver needs to be reinstalled"},
    {22, "Unable to find logos image files (2) - Screen saver needs to be reinstalled"},
    {25, "Unable to find registry key"},
    {26, "Unable to get registry key info"},
    {27, "Invalid number of values in registry key"},
    {28, "Unable to query register value"},
    {29, "Unable to set register value"},
    {33, "Unable to read in DATADIR registry value"},
    {34, "Unable to read in TRANSFX registry values"},
    {35, "Unable to load in transition FX class parameters array"},
    {36, "Unable to create image list for own images selection"},
    {37, "Unable to find any images in selected directory"},
};

namespace {

constexpr char kMaker[] = "KELVANE";
constexpr char kHeading[] = "Screen Saver Error Message";
constexpr uint32_t kRetryMs = 1000;

}  // namespace

void GetSplashErrorText(int number, CString* text) {
  seams::TraceScope trace("GetSplashErrorText");
  *text = "Unknown error";
  for (const SplashErrorText& entry : SplashErrorTexts) {
    if (entry.number == number) *text = entry.text;
  }
}

CString SplashErrorMessage(int runTimeError, const CString* text) {
  if (text && !text->IsEmpty()) return *text;
  CString message;
  GetSplashErrorText(runTimeError, &message);
  return message;
}

ImageTextFXRequest SplashErrorRequest(CString* header, CString* title, CString* message) {
  ImageTextFXRequest request;
  request.clockOn = 0;
  request.reserved1 = 0;
  request.reserved2 = 1;
  request.mode = 0;
  request.header = header;
  request.headerStyle = 1;
  request.title = title;
  request.titleStyle = 15;
  request.body = message;
  request.bodyStyle = 5;
  request.textDuration = 15;
  request.textColour = 19;        // white
  request.backgroundColour = 13;  // red
  request.shadow = 0;
  request.borderStyle = 3;  // embossed
  request.backgroundStyle = 0;
  request.contentStyle = 2;  // header, title and body
  request.effect = 0;
  request.par0 = request.par1 = request.par2 = 0;
  request.transSpeed = 30;
  request.bounceOn = 1;
  request.bounceDuration = 30000;
  request.bounceSpeed = 85;
  return request;
}

void RunSplashErrorLoop(const std::function<BOOL(const ImageTextFXRequest&)>& show,
                        const ImageTextFXRequest& order) {
  while (!seams::StopRequested()) {
    // A caption that cannot be shown would otherwise be tried again at once, for ever.
    if (!show(order) && !seams::WaitMilliseconds(kRetryMs)) return;
  }
}

void ShowSplashErrorText(TransitionScreen& screen, int runTimeError, const CString* text) {
  seams::TraceScope trace("ShowSplashErrorText");
  CString header(kMaker), title(kHeading);
  CString message = SplashErrorMessage(runTimeError, text);
  seams::Trace::Printf("%s\n", static_cast<const char*>(message));
  RunSplashErrorLoop(
      [&screen](const ImageTextFXRequest& order) { return RunImageTextFXRoutine(screen, order); },
      SplashErrorRequest(&header, &title, &message));
}
