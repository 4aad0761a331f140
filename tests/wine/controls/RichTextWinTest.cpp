// The rich-text view and its document under Wine's RichEdit 1.0: creation, whole and ranged
// loads, formats, failures that keep the old text, and reset.
#include <windows.h>
#include <richedit.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "controls/ControlsViews.h"
#include "richtext/RichTextDocument.h"
#include "tests/support/TempFolder.h"
#include "tests/wine/controls/ControlFixture.h"

namespace controltest {
namespace {

// A description as the demo set writes them: an Arial title in bold, then a plain body.
constexpr char kDescription[] =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20\\b Sunset Lake\\b0\\par "
    "Evening light over the water.\\par}";
constexpr char kSecond[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Second picture\\par}";

std::string WriteFile(const testsupport::TempFolder& folder, const char* name,
                      const std::string& bytes) {
  const std::string path = (folder / name).string();
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::string TextOf(const RichTextDocument* document) {
  char text[512] = "";
  GetWindowTextA(document->editWindow, text, sizeof text);
  return text;
}

// The character format of the characters from `start` to `end`.
CHARFORMATA FormatOf(const RichTextDocument* document, int start, int end) {
  SendMessageA(document->editWindow, EM_SETSEL, start, end);
  CHARFORMATA format = {};
  format.cbSize = sizeof format;
  SendMessageA(document->editWindow, EM_GETCHARFORMAT, SCF_SELECTION,
               reinterpret_cast<LPARAM>(&format));
  return format;
}

class RichTextView : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    view_ = Create("RRTFCtl", 0, 0, 300, 150);
    ASSERT_NE(view_, nullptr);
    document_ = Wrapper<CRRTFCtl>(view_)->document;
    ASSERT_NE(document_, nullptr);
  }
  HWND view_ = nullptr;
  RichTextDocument* document_ = nullptr;
  testsupport::TempFolder folder_{"richtext"};
};

TEST(RichEditLibrary, Riched32RegistersTheRichEditClass) {
  ASSERT_NE(LoadLibraryA("riched32.dll"), nullptr);
  WNDCLASSA info;
  EXPECT_TRUE(GetClassInfoA(nullptr, "RichEdit", &info));
}

TEST_F(RichTextView, CreationStateOfTheDocument) {
  EXPECT_EQ(GetParent(document_->editWindow), view_);
  EXPECT_EQ(GetDlgCtrlID(document_->editWindow), kRichTextChildId);
  EXPECT_EQ(document_->parentWindow, view_);
  EXPECT_STREQ(document_->title, "[Untitled]");
  EXPECT_STREQ(document_->path, "");
  EXPECT_EQ(document_->format, kRichTextFormatRtf);
  EXPECT_EQ(document_->readOnly, 0);
  EXPECT_EQ(document_->formatBar, nullptr);
  EXPECT_EQ(static_cast<DWORD>(SendMessageA(document_->editWindow, EM_GETEVENTMASK, 0, 0)),
            kRichTextEventMask);
  EXPECT_EQ(SendMessageA(document_->editWindow, EM_GETOPTIONS, 0, 0) & ECO_READONLY, 0);
  RECT client;
  GetClientRect(document_->editWindow, &client);
  EXPECT_GT(client.right, 250) << "the RichEdit child fills the view";
}

TEST_F(RichTextView, DescriptionLoadsWithABoldTitleAndAPlainBody) {
  const std::string path = WriteFile(folder_, "credits.rtf", kDescription);
  ASSERT_EQ(StreamInRichText(document_, path.c_str(), "RTF", kRichTextFormatRtf, TRUE), 0);
  EXPECT_EQ(TextOf(document_).substr(0, 11), "Sunset Lake");
  const CHARFORMATA title = FormatOf(document_, 0, 6);
  EXPECT_TRUE(title.dwEffects & CFE_BOLD);
  EXPECT_STREQ(title.szFaceName, "Arial");
  const CHARFORMATA body = FormatOf(document_, 13, 20);
  EXPECT_FALSE(body.dwEffects & CFE_BOLD) << "the body reads bold";
  EXPECT_STREQ(document_->title, "RTF");
  EXPECT_STREQ(document_->path, path.c_str());
  EXPECT_EQ(SendMessageA(document_->editWindow, EM_GETMODIFY, 0, 0), 0);
  EXPECT_EQ(static_cast<DWORD>(SendMessageA(document_->editWindow, EM_GETEVENTMASK, 0, 0)),
            kRichTextEventMask);
}

TEST_F(RichTextView, PlainTextAgainstTheCapitalSignature) {
  const std::string plain = WriteFile(folder_, "plain.txt", "{\\rt");  // four bytes
  ASSERT_EQ(StreamInRichText(document_, plain.c_str(), nullptr, kRichTextFormatDecide, FALSE), 0);
  EXPECT_EQ(document_->format, kRichTextFormatText);
  EXPECT_EQ(TextOf(document_), "{\\rt");
  EXPECT_STREQ(document_->title, "plain.txt") << "the file's own title when none is given";
  const std::string capital = WriteFile(folder_, "capital.rtf", "{\\RTF1\\ansi Capital}");
  ASSERT_EQ(StreamInRichText(document_, capital.c_str(), nullptr, kRichTextFormatDecide, FALSE), 0);
  EXPECT_EQ(document_->format, kRichTextFormatRtf);
  EXPECT_EQ(TextOf(document_), "Capital");
}

TEST_F(RichTextView, AMissingFileKeepsTheOldText) {
  const std::string path = WriteFile(folder_, "credits.rtf", kDescription);
  ASSERT_EQ(StreamInRichText(document_, path.c_str(), "RTF", kRichTextFormatRtf, TRUE), 0);
  const std::string before = TextOf(document_);
  const std::string missing = (folder_ / "missing.rtf").string();
  EXPECT_EQ(StreamInRichText(document_, missing.c_str(), "RTF", kRichTextFormatRtf, TRUE),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(TextOf(document_), before);
  EXPECT_STREQ(document_->path, path.c_str());
  EXPECT_EQ(static_cast<DWORD>(SendMessageA(document_->editWindow, EM_GETEVENTMASK, 0, 0)),
            kRichTextEventMask);
  EXPECT_EQ(StreamInRichText(nullptr, path.c_str(), "RTF", 2, TRUE), ERROR_INVALID_PARAMETER);
}

TEST_F(RichTextView, TwoDescriptionsInOneFileLoadByRange) {
  const std::string first = kDescription, second = kSecond;
  const std::string path = WriteFile(folder_, "imagedoc.dat", first + second);
  const int64_t split = static_cast<int64_t>(first.size());
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(StreamInRichTextRange(document_, path.c_str(), "RTF", 2, TRUE, split,
                                  split + static_cast<int64_t>(second.size())),
            0);
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(TextOf(document_).substr(0, 14), "Second picture");
  ASSERT_EQ(StreamInRichTextRange(document_, path.c_str(), "RTF", 0, TRUE, 0, split), 0);
  EXPECT_EQ(TextOf(document_).substr(0, 11), "Sunset Lake");
  // An end beyond the file's end loads up to the end of the file.
  ASSERT_EQ(StreamInRichTextRange(document_, path.c_str(), "RTF", 2, TRUE, split, split + 100000),
            0);
  EXPECT_EQ(TextOf(document_).substr(0, 14), "Second picture");
  std::printf("[ figure ] StreamInRichTextRange of a %u-byte description: %.2f ms\n",
              unsigned(second.size()), ms);
}

TEST_F(RichTextView, EmptyReversedAndNegativeRangesFailAndKeepTheText) {
  const std::string path = WriteFile(folder_, "imagedoc.dat", std::string(kDescription) + kSecond);
  ASSERT_EQ(StreamInRichTextRange(document_, path.c_str(), "RTF", 2, TRUE, 0, 300), 0);
  const std::string before = TextOf(document_);
  const int64_t ranges[][2] = {{40, 40}, {50, 10}, {-5, 20}};
  for (const auto& range : ranges) {
    SCOPED_TRACE(testing::Message() << range[0] << ".." << range[1]);
    EXPECT_EQ(StreamInRichTextRange(document_, path.c_str(), "RTF", 2, TRUE, range[0], range[1]),
              -1);
    EXPECT_EQ(TextOf(document_), before);
  }
  EXPECT_NE(
      StreamInRichTextRange(document_, path.c_str(), "RTF", 2, TRUE, 0x100000000LL, 0x100000010LL),
      0)
      << "a start past what a seek can reach";
  EXPECT_EQ(TextOf(document_), before);
}

TEST_F(RichTextView, ALongDataFolderDoesNotOverflowThePathField) {
  const std::string path = std::string("C:\\") + std::string(252, 'd') + "\\imagedoc.dat";
  EXPECT_NE(StreamInRichTextRange(document_, path.c_str(), "RTF", 2, TRUE, 0, 10), 0);
  EXPECT_STREQ(document_->path, "");
  EXPECT_STREQ(document_->title, "[Untitled]");
}

TEST_F(RichTextView, ResetAfterReadOnlyEmptiesAndUnlocks) {
  const std::string path = WriteFile(folder_, "credits.rtf", kDescription);
  ASSERT_EQ(StreamInRichText(document_, path.c_str(), "RTF", 2, TRUE), 0);
  SetRichTextReadOnly(document_);
  EXPECT_EQ(document_->readOnly, 1);
  EXPECT_NE(SendMessageA(document_->editWindow, EM_GETOPTIONS, 0, 0) & ECO_READONLY, 0);
  EXPECT_EQ(ResetRichTextDocument(document_), 0);
  EXPECT_EQ(TextOf(document_), "");
  EXPECT_EQ(document_->readOnly, 0);
  EXPECT_EQ(SendMessageA(document_->editWindow, EM_GETOPTIONS, 0, 0) & ECO_READONLY, 0);
  EXPECT_STREQ(document_->title, "[Untitled]");
  EXPECT_STREQ(document_->path, "");
  SendMessageA(document_->editWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed"));
  EXPECT_FALSE(FormatOf(document_, 0, 3).dwEffects & CFE_BOLD) << "the default format is plain";
}

}  // namespace
}  // namespace controltest
