#include "saver/DrawingThread.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "framework/Arrays.h"
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "framework/Geometry.h"
#include "framework/Lists.h"
#include "framework/Time.h"
#include "imageset/GetImage.h"
#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/Descriptors.h"
#include "imaging/FolderPath.h"
#include "imaging/HostServices.h"
#include "imaging/ScreenHost.h"
#include "imaging/TileSize.h"
#include "saver/ImagePickers.h"
#include "saver/RoutineTable.h"
#include "saver/SplashError.h"
#include "seams/Alerts.h"
#include "seams/Clock.h"
#include "seams/Random.h"
#include "seams/ScreenSize.h"
#include "seams/Trace.h"
#include "settings/IniSettings.h"
#include "settings/SaverInfo.h"
#include "settings/TransFXTables.h"
#include "transitions/CaptionRunner.h"
#include "transitions/FrontEnds.h"
#include "transitions/LayoutRects.h"
#include "transitions/TransParams.h"

namespace {

// Run-time errors of the drawing thread (the descriptions' own are set by GetImageDescArray).
constexpr int kErrorOutOfMemory = kDrawingThreadOutOfMemory;
constexpr int kErrorLogos = 7;
constexpr int kErrorRoutine = 8;
constexpr int kErrorReduction = 14;
constexpr int kErrorNoBackground = 16;
constexpr int kErrorNoTextFile = 17;
constexpr int kErrorTextUnopenable = 18;
constexpr int kErrorTextRange = 19;
constexpr int kErrorTextRead = 20;
constexpr int kErrorNoLogoDescs = 21;
constexpr int kErrorNoLogoPictures = 22;
constexpr int kErrorTransClasses = 35;
constexpr int kErrorOwnImageList = 36;
constexpr int kErrorNoOwnImages = 37;

constexpr int kScreenColours = 204;  // what a picture keeps beside the grey ramp and the statics
constexpr int kDither = 1;
constexpr int kComboPrevious = kRoutineCombo;  // the first "Combo" pick excludes none of 0..5
constexpr ULONGLONG kMaxCaptionBytes = 64 * 1024;
// The caption's two unused values as the drawing thread passes them.
constexpr int kCaptionReserved1 = 0;
constexpr int kCaptionReserved2 = 50;
constexpr int kPreTitleStyle = 1;
constexpr int kCaptionStyle = 1;

std::mutex lastAlertLock;
std::string lastAlert;

// Alerts on the drawing thread go to the trace; a message box would take the focus from the
// saver window and close it, then hold up the thread's join.
class TraceAlertSink : public seams::AlertSink {
 public:
  int Show(void* /*owner*/, const std::string& text, const std::string& /*caption*/,
           unsigned flags) override {
    seams::Trace::Printf("Alert: %s\n", text.c_str());
    {
      std::lock_guard<std::mutex> lock(lastAlertLock);
      lastAlert = text;
    }
    return (flags & seams::kAlertYesNo) ? seams::kAnswerNo : seams::kAnswerOk;
  }
};

BOOL QuantizeToScreenColours(CDIB* source, CDIB* target) {
  return source->Quantize(target, kScreenColours, kDither);
}

bool FileExists(const char* path) {
  CFileStatus status;
  return CFile::GetStatus(path, status) != FALSE;
}

int BitCount(const CDIB& dib) { return dib.header ? dib.header->bmiHeader.biBitCount : 0; }

class DrawingThread {
 public:
  DrawingThread(SaverInfo* info, const char* keyPath, TransitionScreen& screen)
      : info_(info),
        picture_(info->pCurrentImage),
        keyPath_(keyPath),
        screen_(screen),
        host_(screen.Host()) {}
  ~DrawingThread() {
    DeleteImageDescs(&descs_);
    DeleteAllPtrListElements(&ownRects_);
  }
  DrawingThread(const DrawingThread&) = delete;
  DrawingThread& operator=(const DrawingThread&) = delete;

  bool SetUp();
  bool Cycle();
  void ShowError();

 private:
  bool Fail(int number) {
    info_->nRunTimeError = number;
    return false;
  }
  bool LoadImageSource();
  bool CheckLogos();
  bool ReadLastImageNo();
  void TakeScreenMeasures();
  void TraceCycle();
  bool NextImage();
  bool LoadImage();
  bool LoadSetImage();
  bool LoadOwnImage();
  bool ReduceAndKeep(CDIB* loaded);
  bool RunTransitions();
  bool TakeBackgroundColours();
  bool ShowCaption();
  bool ReadCaption(const CImageDesc& desc, CString* text);
  bool RunRoutine();
  bool CopyBack();
  int SizeCodeForScreen(int code) const;
  bool OwnImages() const { return info_->bOwnImagesOn != 0; }

  SaverInfo* info_;
  CDIB*& picture_;  // the picture on the screen; kept in the record, which outlives the thread
  const char* keyPath_;
  TransitionScreen& screen_;
  ScreenHost* host_;
  CString imagedes_, imfull_, imagetxt_, logosdes_, imlogos_;
  CObArray descs_;
  std::vector<CString> ownImages_;
  CPtrList ownRects_;
  int count_ = 0;
  int current_ = -1;
  CSize screenSize_;
  BYTE backColour_ = 0;
  CRect rect_, previous_;
  int transClass_ = -1, effect_ = -1, textClass_ = -1, textEffect_ = -1;
  int routine_ = 0;
  int previousRoutine_ = kComboPrevious;
  int run_ = 0;
  bool first_ = true;
  CString errorText_;
};

bool DrawingThread::SetUp() {
  seams::Srand(static_cast<uint32_t>(seams::WallSeconds()));
  seams::Trace::Printf("RunScreenSaver - attach OK\n");
  if (info_->nRunTimeError != 0) return false;
  const CString& folder = info_->csDataDirectory;
  imagedes_ = JoinFolderPath(folder, "Imagedes.dat");
  imfull_ = JoinFolderPath(folder, "imfull.dat");
  imagetxt_ = JoinFolderPath(folder, "imagetxt.dat");
  logosdes_ = JoinFolderPath(folder, "Logosdes.dat");
  imlogos_ = JoinFolderPath(folder, "imlogos.dat");
  if (!LoadImageSource()) return false;
  if (info_->nRoutine < 0 || info_->nRoutine >= kRoutineNumberCount) return Fail(kErrorRoutine);
  if (!CheckLogos() || !ReadLastImageNo()) return false;
  TakeScreenMeasures();
  // The background every picture is taken off to; the previous picture's rectangle in the first
  // change is the whole screen (the desktop copy goes).
  if (!InitImageSet() || !ScreenBackgroundDIB) return Fail(kErrorNoBackground);
  backColour_ = ImageBackColourIndex();  // the bars round a picture show the background's colour
  delete picture_;
  picture_ = nullptr;
  if (!LoadTransFXClassParams()) return Fail(kErrorTransClasses);
  int colWidth = 0, rowHeight = 0, sizeSquare = 0, sizeWidth = 0, delay = 0;
  GetTileGridForScreen(screenSize_.cx, screenSize_.cy, &colWidth, &rowHeight, &sizeSquare,
                       &sizeWidth);
  SpeedSliderToDelay(10, delay);
  seams::Trace::Printf(
      "FXParameters selected: delay=%d,colwidth=%d,rowheight=%d,sizesquare=%d,sizewidth=%d\n\n",
      delay, colWidth, rowHeight, sizeSquare, sizeWidth);
  return true;
}

bool DrawingThread::LoadImageSource() {
  if (!OwnImages()) {
    count_ = GetImageDescArray(info_, imagedes_, &descs_);
    return count_ != 0;
  }
  try {
    ownImages_ = ListOwnImages(IniSettings.OWNIMAGES_DIR);
  } catch (const std::bad_alloc&) {
    return Fail(kErrorOwnImageList);
  }
  count_ = static_cast<int>(ownImages_.size());
  return count_ != 0 || Fail(kErrorNoOwnImages);
}

bool DrawingThread::CheckLogos() {
  if (!info_->bLogosOn) return true;
  if (!FileExists(logosdes_)) return Fail(kErrorNoLogoDescs);
  if (!FileExists(imlogos_)) return Fail(kErrorNoLogoPictures);
  // Only a screen with services keeps logo descriptions; a screen in memory has none to load.
  HostServices* services = ServicesOf(host_);
  return !services || services->LoadLogoDescs(logosdes_, imlogos_) || Fail(kErrorLogos);
}

bool DrawingThread::ReadLastImageNo() {
  current_ = OwnImages() ? GetOwnImagesLastImageNoIniSetting(keyPath_, &errorText_)
                         : GetLastImageNoIniSetting(keyPath_, &errorText_);
  // A stored "-1" (nothing shown yet) is no failure: the sequence then starts at picture 0.
  return current_ >= 0 || errorText_.IsEmpty();
}

void DrawingThread::TakeScreenMeasures() {
  const CDIB* desktop = host_->GetBackground();
  if (desktop && desktop->header) {
    screenSize_ = CSize(desktop->GetWidth(), desktop->GetHeight());
  } else {
    const ScreenSize size = GetScreenSize();
    screenSize_ = CSize(size.cx, size.cy);
  }
  rect_ = CRect(0, 0, screenSize_.cx, screenSize_.cy);
}

bool DrawingThread::Cycle() {
  TraceCycle();
  if (!NextImage()) return false;
  previous_ = rect_;
  if (!LoadImage() || !RunTransitions() || seams::StopRequested()) return false;
  const CRect area = rect_ & CRect(0, 0, screenSize_.cx, screenSize_.cy);
  routine_ = ChooseCycleRoutine(info_->nRoutine, previousRoutine_, area);
  if (!OwnImages() && info_->bTextOn && !ShowCaption()) return false;
  if (!RunRoutine()) return false;
  previousRoutine_ = routine_;
  return CopyBack();
}

void DrawingThread::TraceCycle() {
  if (!seams::Trace::IsOn()) return;
  const CString now = CTime::GetCurrentTime().Format("%H:%M:%S - %A, %B %d");
  seams::Trace::Printf("SCREEN SAVER IN RUN = %d  - %s\n", run_++, static_cast<const char*>(now));
}

bool DrawingThread::NextImage() {
  current_ = OwnImages() ? GetNextSSOwnImagesImageNo(keyPath_, current_, ownImages_, &errorText_)
                         : GetNextSSImageNo(keyPath_, current_, count_, info_->bTopTenOn,
                                            info_->szTopTenPlaylist, &errorText_);
  if (current_ < 0) return false;
  seams::Trace::Printf("Selected image = %d, ", current_);
  return true;
}

bool DrawingThread::LoadImage() {
  delete picture_;
  picture_ = nullptr;
  return OwnImages() ? LoadOwnImage() : LoadSetImage();
}

int DrawingThread::SizeCodeForScreen(int code) const {
  // A size from a larger screen (the settings outlive a change of resolution) would put the
  // picture's edges off the screen: the smallest size is shown instead.
  int w = 0, h = 0;
  if (GetImageSizeForCode(code, &w, &h) && (w > screenSize_.cx || h > screenSize_.cy)) return 1;
  return code;
}

bool DrawingThread::LoadSetImage() {
  const auto* desc = static_cast<const CImageDesc*>(descs_.GetAt(current_));
  CDIB* loaded = GetImage(imfull_, desc, SizeCodeForScreen(info_->nImageSize), info_->bInterpOn,
                          backColour_, nullptr, nullptr, seams::Trace::IsOn(), errorText_);
  if (!loaded) return false;
  if (!ReduceAndKeep(loaded)) return false;
  const int w = picture_->GetWidth(), h = picture_->GetHeight();
  const int x = (screenSize_.cx - w) / 2, y = (screenSize_.cy - h) / 2;
  rect_ = CRect(x, y, x + w, y + h);
  return true;
}

bool DrawingThread::LoadOwnImage() {
  CDIB* loaded = GetFullScreenOwnImageDIB(&ownRects_, IniSettings.OWNIMAGES_DIR,
                                          ownImages_[static_cast<size_t>(current_)], &errorText_);
  if (!loaded) return false;
  if (!ReduceAndKeep(loaded)) return false;
  rect_ = *static_cast<const RECT*>(ownRects_.GetHead());
  return true;
}

// Makes the loaded picture the current one, reduced to the screen's colours when it has more.
bool DrawingThread::ReduceAndKeep(CDIB* loaded) {
  std::unique_ptr<CDIB> source(loaded);
  if (BitCount(*source) == 8 && !OwnImages()) {
    picture_ = source.release();
    return true;
  }
  std::unique_ptr<CDIB> reduced(new (std::nothrow) CDIB);
  if (!reduced || !DrawingThreadColourReducer(source.get(), reduced.get()))
    return seams::StopRequested() ? false : Fail(kErrorReduction);  // a stop is no error
  picture_ = reduced.release();
  return true;
}

bool DrawingThread::RunTransitions() {
  PickTransition(&transClass_, &effect_);
  int slider1 = 50, slider2 = 50, slider3 = 50, par0 = 0, par1 = 0, par2 = 0;
  GetTransClassParams(transClass_, &slider1, &slider2, &slider3);
  if (IsValid2DTransClass(transClass_))
    TransSlidersToParams(transClass_, slider1, slider2, slider3, par0, par1, par2);
  else
    Trans3DSlidersToParams(transClass_, slider1, slider2, slider3, par0, par1, par2);
  const int trace = seams::Trace::IsOn();
  const CRect& outgoing = previous_;
  if (!ManageOffScreenTransition(screen_, transClass_, effect_, ScreenBackgroundDIB, outgoing.left,
                                 outgoing.top, outgoing.Width(), outgoing.Height(), outgoing.left,
                                 outgoing.top, par0, par1, par2, trace, &errorText_))
    return false;
  if (seams::StopRequested()) return false;  // the saver is closing: bring no picture on
  if (first_ && !TakeBackgroundColours()) return false;
  first_ = false;
  return ManageOnScreenTransition(screen_, transClass_, effect_, picture_, rect_.left, rect_.top,
                                  rect_.Width(), rect_.Height(), 0, 0, par0, par1, par2, trace,
                                  &errorText_) != FALSE;
}

bool DrawingThread::ShowCaption() {
  const auto* desc = static_cast<const CImageDesc*>(descs_.GetAt(current_));
  const int selection = info_->nTextTransSelection;
  const int mode = selection == 0 ? 0 : selection == 1 ? 1 : seams::Rand() % 2;
  CString preTitle = desc->preTitle, title = desc->title, caption;
  if (!ReadCaption(*desc, &caption)) return false;
  PickTextFrameTransition(&textClass_, &textEffect_);
  int slider1 = 50, slider2 = 50, slider3 = 50;
  ImageTextFXRequest request;
  GetTransClassParams(textClass_, &slider1, &slider2, &slider3);
  TransSlidersToParams(textClass_, slider1, slider2, slider3, request.par0, request.par1,
                       request.par2);
  request.clockOn = info_->bClockOn;
  request.reserved1 = kCaptionReserved1;
  request.reserved2 = kCaptionReserved2;
  request.mode = mode;
  request.header = &preTitle;
  request.headerStyle = kPreTitleStyle;
  request.title = &title;
  request.titleStyle = info_->nTitleStyle;
  request.body = &caption;
  request.bodyStyle = kCaptionStyle;
  request.textDuration = info_->nTextDuration;
  request.textColour = info_->nTextColor;
  request.backgroundColour = info_->nTextBackgroundColor;
  request.shadow = info_->bBackdropShading;
  request.borderStyle = info_->nTextBorderStyle;
  request.backgroundStyle = info_->nTextBackgroundStyle;
  request.contentStyle = info_->nContentStyle;
  request.effect = textEffect_;
  request.transSpeed = info_->nTextTransSpeed;
  request.bounceOn = info_->bBounceOn;
  request.bounceDuration = info_->nBounceDuration;
  request.bounceSpeed = info_->nBounceSpeed;
  RunImageTextFXRoutine(screen_, request);  // a caption that cannot be shown is no reason to stop
  return !seams::StopRequested();           // a stop during the caption starts no routine
}

// The caption's bytes from "imagetxt.dat". The range must lie inside the file (a damaged
// description could name any range) and is capped at 64 KiB.
bool DrawingThread::ReadCaption(const CImageDesc& desc, CString* text) {
  if (!FileExists(imagetxt_)) return Fail(kErrorNoTextFile);
  CFile file;
  if (!file.Open(imagetxt_, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary))
    return Fail(kErrorTextUnopenable);
  try {
    const ULONGLONG size = file.GetLength();
    if (desc.captionStart < 0 || desc.captionStart > desc.captionEnd ||
        static_cast<ULONGLONG>(desc.captionEnd) > size)
      return Fail(kErrorTextRange);
    if (file.Seek(desc.captionStart, CFile::begin) != static_cast<ULONGLONG>(desc.captionStart))
      return Fail(kErrorTextRange);
    const UINT length = static_cast<UINT>(std::min<ULONGLONG>(
        static_cast<ULONGLONG>(desc.captionEnd - desc.captionStart), kMaxCaptionBytes));
    std::vector<char> bytes(length + 1, '\0');
    if (file.Read(bytes.data(), length) != length) return Fail(kErrorTextRead);
    *text = bytes.data();
  } catch (const CFileException&) {
    return Fail(kErrorTextRead);
  }
  return true;
}

bool DrawingThread::RunRoutine() {
  RoutineCall call;
  call.host = host_;
  call.screenBackground = ScreenBackgroundDIB;
  call.area = rect_ & CRect(0, 0, screenSize_.cx, screenSize_.cy);
  call.clockOn = info_->bClockOn;
  call.speed = info_->nSpeed[routine_];
  call.res = info_->nRes[routine_];
  call.logosOn = info_->bLogosOn;
  call.runSeconds = info_->nTimePerImage;
  call.trace = seams::Trace::IsOn();
  call.errorText = &errorText_;
  return RunDisplayRoutine(routine_, call) != 0;
}

// The first change took the desktop off onto the desktop's own colour table, which need not hold
// the background's greys: the frame and logo tiles would keep the nearest colours it has (tinted
// or banded) for the whole run, since later changes redraw only the picture's rectangle. The
// screen takes the background's own table instead; it shows the same picture.
bool DrawingThread::TakeBackgroundColours() {
  const CDIB& from = *ScreenBackgroundDIB;
  std::unique_ptr<CDIB> copy(new (std::nothrow) CDIB);
  if (!copy || !copy->Create(from.GetWidth(), from.GetHeight(), nullptr))
    return Fail(kErrorOutOfMemory);
  std::copy(from.header->bmiColors, from.header->bmiColors + 256, copy->header->bmiColors);
  copy->header->bmiHeader.biClrUsed = from.header->bmiHeader.biClrUsed;
  std::copy(from.bits, from.bits + static_cast<size_t>(from.GetStorageWidth()) * from.GetHeight(),
            copy->bits);
  if (!screen_.SetBackgroundNoDraw(copy.release())) return Fail(kErrorNoBackground);
  host_->RenderRect(nullptr);
  host_->ShowRect(nullptr);
  return true;
}

// The finished screen becomes the background the next change composes on. A surface that no
// longer matches the background (its rebuild for a new background failed) cannot be copied, and
// composing the next picture on the old background would show a stale screen: that ends the run.
bool DrawingThread::CopyBack() {
  CDIBSurface* surface = host_->GetSurface();
  CDIB* background = host_->GetBackground();
  if (!surface || !background || !surface->bits || !background->bits ||
      surface->GetWidth() != background->GetWidth() ||
      surface->GetHeight() != background->GetHeight() ||
      BitCount(*surface) != BitCount(*background))
    return Fail(kErrorNoBackground);
  surface->CopyBits(background, 0, 0, surface->GetWidth(), surface->GetHeight(), 0, 0, -1);
  return true;
}

void DrawingThread::ShowError() {
  ShowSplashErrorText(screen_, info_->nRunTimeError, errorText_.IsEmpty() ? nullptr : &errorText_);
}

}  // namespace

ColourReducer DrawingThreadColourReducer = QuantizeToScreenColours;

// One sink per thread, made without allocating: out of memory, an alert must still not become a
// message box.
thread_local TraceAlertSink threadAlertSink;

DrawingThreadAlerts::DrawingThreadAlerts()
    : sink_(&threadAlertSink), previous_(seams::InstallThreadAlertSink(sink_)) {}

DrawingThreadAlerts::~DrawingThreadAlerts() { seams::InstallThreadAlertSink(previous_); }

static void RecordDrawingThreadFailure(SaverInfo* pInfo, const char* what) {
  // Allocates nothing: memory may be exhausted. An error already recorded is the better reason.
  if (pInfo->nRunTimeError == 0) pInfo->nRunTimeError = kErrorOutOfMemory;
  seams::Trace::Printf("RunScreenSaver - %s: run-time error %d\n", what, pInfo->nRunTimeError);
}

int RunDrawingThread(SaverInfo* pInfo, const char* keyPath, TransitionScreen& screen) {
  DrawingThreadAlerts alerts;
  if (!screen.Host()) {
    seams::Trace::Printf("RunScreenSaver - no screen to draw on\n");
    seams::WaitForStop();
    return pInfo->nRunTimeError;
  }
  // Nothing leaves the thread as an exception: a failure the routines did not turn into an error
  // return ends the work here, and the thread waits for the stop like after any error.
  try {
    DrawingThread thread(pInfo, keyPath, screen);
    bool running = thread.SetUp();
    while (running && !seams::StopRequested()) running = thread.Cycle();
    if (!running && !seams::StopRequested()) thread.ShowError();
  } catch (const std::bad_alloc&) {
    RecordDrawingThreadFailure(pInfo, "out of memory");
  } catch (...) {
    RecordDrawingThreadFailure(pInfo, "unexpected failure");
  }
  seams::WaitForStop();
  return pInfo->nRunTimeError;
}

CString LastDrawingThreadAlert() {
  std::lock_guard<std::mutex> lock(lastAlertLock);
  return CString(lastAlert.c_str());
}
