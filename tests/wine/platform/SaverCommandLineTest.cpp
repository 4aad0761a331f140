// The switch parser, over every form the system and users start a saver with.
#include "platform/SaverCommandLine.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct SwitchCase {
  const char* commandLine;
  SaverMode mode;
  std::uintptr_t window;
};

std::ostream& operator<<(std::ostream& out, const SwitchCase& c) {
  return out << '"' << c.commandLine << '"';
}

class SaverCommandLineTest : public testing::TestWithParam<SwitchCase> {};

TEST_P(SaverCommandLineTest, ReadsModeAndWindow) {
  const SwitchCase& c = GetParam();
  const SaverCommand command = ParseSaverCommandLine(c.commandLine);
  EXPECT_EQ(static_cast<int>(command.mode), static_cast<int>(c.mode));
  EXPECT_EQ(command.window, c.window);
}

constexpr SaverMode kSettings = SaverMode::Configure;
constexpr SaverMode kFull = SaverMode::FullScreen;
constexpr SaverMode kPreview = SaverMode::Preview;
constexpr SaverMode kPassword = SaverMode::ChangePassword;

const SwitchCase kNoOrSettingsSwitch[] = {
    {"", kSettings, 0},
    {"   \t ", kSettings, 0},
    {"/c", kSettings, 0},
    {"-C", kSettings, 0},
    {"/c:1234", kSettings, 1234},
    {"/c 1234", kSettings, 1234},
    {"/C : 1234", kSettings, 1234},
    {"/c:", kSettings, 0},
    {"/x", kSettings, 0},  // unknown letter
    {"/", kSettings, 0},   // no letter at all
    {"/5", kSettings, 0},
    {"s", kSettings, 0},       // a letter without '/' or '-' is no switch
    {"foo /s", kSettings, 0},  // only the first word can be the switch
};
INSTANTIATE_TEST_SUITE_P(Settings, SaverCommandLineTest, testing::ValuesIn(kNoOrSettingsSwitch));

const SwitchCase kFullScreenSwitch[] = {
    {"/s", kFull, 0},     {"/S", kFull, 0},   {"-s", kFull, 0},
    {"  /s  ", kFull, 0}, {"\t-S", kFull, 0}, {"/s /p 1234", kFull, 0},  // the first switch decides
};
INSTANTIATE_TEST_SUITE_P(FullScreen, SaverCommandLineTest, testing::ValuesIn(kFullScreenSwitch));

const SwitchCase kPreviewSwitch[] = {
    {"/p 1234", kPreview, 1234},
    {"/p:1234", kPreview, 1234},
    {"-P 5678", kPreview, 5678},
    {"/p\t\t42", kPreview, 42},
    {"/p   :  42  ", kPreview, 42},
    {"/p 0042", kPreview, 42},
    {"/p 1234 /s", kPreview, 1234},
    {"/p 4294967295", kPreview, 4294967295u},
    // No usable window: the caller must refuse to start.
    {"/p", kPreview, 0},
    {"/p ", kPreview, 0},
    {"/p 0", kPreview, 0},
    {"/p abc", kPreview, 0},
    {"/p 12ab", kPreview, 0},
    {"/p -5", kPreview, 0},
    {"/p +5", kPreview, 0},
    {"/p 0x1F", kPreview, 0},
    {"/p ::12", kPreview, 0},
    {"/p 99999999999999999999999", kPreview, 0},  // wider than any handle
};
INSTANTIATE_TEST_SUITE_P(Preview, SaverCommandLineTest, testing::ValuesIn(kPreviewSwitch));

const SwitchCase kPasswordSwitch[] = {
    {"/a 1234", kPassword, 1234},
    {"-A:77", kPassword, 77},
    {"/a", kPassword, 0},
};
INSTANTIATE_TEST_SUITE_P(Password, SaverCommandLineTest, testing::ValuesIn(kPasswordSwitch));

TEST(SaverCommandLine, NullReadsAsNoSwitch) {
  const SaverCommand command = ParseSaverCommandLine(nullptr);
  EXPECT_EQ(static_cast<int>(command.mode), static_cast<int>(SaverMode::Configure));
  EXPECT_EQ(command.window, 0u);
}

TEST(SaverCommandLine, HandleOneAboveThePointerRangeIsRefused) {
  // 2^32 on 32-bit builds, 2^64 on 64-bit ones: exactly one past the largest handle value.
  const char* line = sizeof(std::uintptr_t) == 4 ? "/p 4294967296" : "/p 18446744073709551616";
  EXPECT_EQ(ParseSaverCommandLine(line).window, 0u);
}

}  // namespace
