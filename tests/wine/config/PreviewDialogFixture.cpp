#include "tests/wine/config/PreviewDialogFixture.h"

#include <cstring>
#include <filesystem>

#include "config/ImageBrowser.h"
#include "controls/ControlsViews.h"
#include "controls/OwnImagesDialog.h"
#include "controls/SelectedImage.h"
#include "framework/File.h"
#include "imageset/ImageSet.h"
#include "imageset/OwnImages.h"
#include "imaging/DIB.h"
#include "imaging/DIBSurface.h"
#include "imaging/QuarterCache.h"
#include "res/DialogIds.h"
#include "tests/support/ImageSetWriter.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/controls/ControlFixture.h"
#include "tools/demo/DemoImageSet.h"
#include "tools/setup/SettingsInstaller.h"
#include "wallpaper/WallpaperComposer.h"
#include "wallpaper/WallpaperPreview.h"

namespace previewtest {

namespace fs = std::filesystem;

const PreviewSet& InstalledPreviewSet() {
  static testsupport::TempFolder parent("previews");
  static const PreviewSet set = [] {
    demoset::Options options;  // 640 x 480 pictures
    EXPECT_EQ(demoset::BuildDemoImageSet(parent.str(), options), "");
    return PreviewSet{(parent / demoset::kDataFolderName).string(),
                      (parent / demoset::kOwnImagesFolderName).string()};
  }();
  return set;
}

const std::string& FiftyTwoPictureSet() {
  static testsupport::TempFolder parent("previews52");
  static const std::string folder = [] {
    const std::string to = (parent / demoset::kDataFolderName).string();
    fs::copy(InstalledPreviewSet().dataFolder, to, fs::copy_options::recursive);
    fs::remove(fs::path(to) / kQuarterCacheFileName);
    CObArray twelve;
    EXPECT_EQ(ReadImageDescArray((fs::path(to) / "Imagedes.dat").string().c_str(), &twelve),
              ImageDescReadResult::kOk);
    std::vector<std::unique_ptr<CImageDesc>> records;
    std::vector<const CImageDesc*> pointers;
    for (int i = 0; i < 52; ++i) {
      auto record = std::make_unique<CImageDesc>(*static_cast<CImageDesc*>(twelve.GetAt(i % 12)));
      record->title = record->title + " " + CString(std::to_string(i).c_str());
      pointers.push_back(record.get());
      records.push_back(std::move(record));
    }
    DeleteImageDescs(&twelve);
    EXPECT_TRUE(
        imagesettest::WriteFileBytes((fs::path(to) / "Imagedes.dat").string(),
                                     imagesettest::WriteImageDescriptions(7, 52, pointers)));
    return to;
  }();
  return folder;
}

Pixels PixelsOf(const CDIB& dib) {
  Pixels pixels;
  pixels.width = dib.GetWidth();
  pixels.height = dib.GetHeight();
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x) pixels.rgb.push_back(controltest::PixelOf(dib, x, y));
  return pixels;
}

Pixels PreviewPixels(dialogtest::Driver& driver) {
  Pixels pixels;
  driver.OnDialogThread([&] {
    auto* view = static_cast<CRDIBCtl*>(CWnd::FromHandlePermanent(driver.Item(IDC_MINIPREVIEW)));
    if (view && view->image) pixels = PixelsOf(*view->image);
  });
  return pixels;
}

const void* PreviewIdentity(dialogtest::Driver& driver) {
  const void* identity = nullptr;
  driver.OnDialogThread([&] {
    auto* view = static_cast<CRDIBCtl*>(CWnd::FromHandlePermanent(driver.Item(IDC_MINIPREVIEW)));
    if (view) identity = view->image;
  });
  return identity;
}

std::unique_ptr<CDIB> CachedPicture(int n) {
  if (QuarterImageCount == 0) LoadQuarterImageIndex();
  CFile cache;
  auto picture = std::make_unique<CDIB>();
  if (n < 0 || n >= QuarterImageCount ||
      !cache.Open(ImageSetFilePath(kQuarterCacheFileName), CFile::modeRead))
    return nullptr;
  cache.Seek(QuarterImageOffsets[n], CFile::begin);
  if (!picture->LoadFromFile(&cache)) return nullptr;
  return picture;
}

Pixels ComposedLikeThePreview(CDIB* picture, int x, int y, CDIB* background, BOOL corner) {
  HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  HWND control = CreateWindowExA(0, "RDIBCtl", "", WS_CHILD | WS_VISIBLE, 0, 0, 160, 120, parent,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
  Pixels pixels;
  auto* view = static_cast<CRDIBCtl*>(CWnd::FromHandlePermanent(control));
  if (view && view->SetDIBStretched(picture, x, y, background, corner))
    pixels = PixelsOf(*view->image);
  DestroyWindow(parent);
  return pixels;
}

bool IsGrey(COLORREF c) { return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c); }

void CheckClicks(dialogtest::Driver& driver, const std::vector<ClickCase>& cases) {
  for (const ClickCase& c : cases) {
    SCOPED_TRACE("control " + std::to_string(c.id));
    const void* before = PreviewIdentity(driver);
    driver.Click(c.id);
    EXPECT_EQ(*c.field, c.value);
    EXPECT_EQ(PreviewIdentity(driver) != before, c.recomposes);
  }
}

void PreviewDialogTest::SetUp() {
  controltest::RegisterControls();
  static const bool viewers = RegisterFullScreenWallpaperWnd() && RegisterFullScreenOwnImageWnd() &&
                              RegisterFullScreenImageWnd();
  ASSERT_TRUE(viewers);
  const PreviewSet& set = InstalledPreviewSet();
  ASSERT_TRUE(InstallSettings(set.dataFolder, true).ok);
  CString keyPath;
  BuildRegistryKeyPath(keyPath);
  ASSERT_EQ(GetIniSettings(keyPath), 0);
  ASSERT_EQ(std::string(IniSettings.DATADIRECTORY), set.dataFolder);
  // A fresh process-wide state: no set loaded, no previous pictures, the set's cache built once.
  FreeWallpaperBackground();
  FreeWallpaperBitmaps();
  DeleteImageDescs(&ImageDescArray);
  QuarterImageCount = 0;
  OwnImagesMode = 0;
  SelectedImageNo = -1;
  SelectedOwnImageNo = 0;
  delete ScreenBackgroundDIB;
  ScreenBackgroundDIB = nullptr;
  if (!QuarterImageCacheExists()) {
    ASSERT_TRUE(BuildQuarterImageCache(nullptr));
  }
  installed_ = IniSettings;
}

void PreviewDialogTest::TearDown() {
  for (const seams::AlertRecord& alert : alerts_.Records())
    ADD_FAILURE() << "unexpected message box: \"" << alert.text << "\" (" << alert.caption << ")";
  alerts_.Clear();
  FreeWallpaperBackground();
  OwnImagesMode = 0;
}

dialogtest::DialogRun PreviewDialogTest::Run(
    int templateId, DLGPROC procedure, const std::function<void(dialogtest::Driver&)>& script) {
  const dialogtest::DialogRun run =
      dialogtest::RunModal(GetModuleHandleA(nullptr), templateId, procedure, script);
  EXPECT_TRUE(run.found);
  EXPECT_FALSE(run.forcedClose);
  return run;
}

void PreviewDialogTest::CancelThenOk(int templateId, DLGPROC procedure,
                                     const std::function<void(dialogtest::Driver&)>& change) {
  for (const int button : {IDCANCEL, IDOK}) {
    Run(templateId, procedure, [&](dialogtest::Driver& d) {
      change(d);
      d.Click(button);
    });
    if (button == IDCANCEL) {
      EXPECT_EQ(std::memcmp(&IniSettings, &installed_, sizeof IniSettings), 0)
          << "Cancel leaves every settings buffer as it was";
    }
  }
}

void PreviewDialogTest::UseOwnImages(const std::string& folder) {
  OwnImagesMode = 1;
  std::strcpy(IniSettings.OWNIMAGES_DIR, folder.c_str());
  installed_ = IniSettings;
}

std::vector<std::string> PreviewDialogTest::TakeAlerts() {
  std::vector<std::string> texts;
  for (const seams::AlertRecord& alert : alerts_.Records()) texts.push_back(alert.text);
  alerts_.Clear();
  return texts;
}

}  // namespace previewtest
