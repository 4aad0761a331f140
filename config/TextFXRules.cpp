#include "config/TextFXRules.h"

namespace {

// The colour code shown on each line of the colour lists.
constexpr int kCodeOfLine[kTextFXColorCount] = {0,  1,  2,  3,  4,  5,  7,  8,  9,  10,
                                                11, 12, 13, 14, 15, 16, 17, 18, 19, 6};

}  // namespace

int ColorCodeToListIndex(int code) {
  for (int line = 0; line < kTextFXColorCount; ++line) {
    if (kCodeOfLine[line] == code) return line;
  }
  return 0;
}

int ListIndexToColorCode(int line) {
  if (line < 0 || line >= kTextFXColorCount) return 0;
  return kCodeOfLine[line];
}

namespace textfx {

TitleStyleBoxes TitleStyleToBoxes(int style) {
  return TitleStyleBoxes{(style & kTitleStyleItalic) != 0, (style & kTitleStyleShadow) != 0,
                         (style & kTitleStyleUnderline) != 0};
}

int BoxesToTitleStyle(const TitleStyleBoxes& boxes) {
  return kTitleStyleAlways | (boxes.italic ? kTitleStyleItalic : 0) |
         (boxes.shadow ? kTitleStyleShadow : 0) | (boxes.underline ? kTitleStyleUnderline : 0);
}

int DurationListSetting(int selectedLine) { return selectedLine < 0 ? -1 : selectedLine; }

int StyleListSetting(int selectedLine) { return selectedLine < 0 ? 0 : selectedLine; }

int ContentStyleSetting(bool textAndTitleChecked, bool titleOnlyChecked) {
  return titleOnlyChecked && !textAndTitleChecked ? 0 : 1;
}

int TransSelectionSetting(bool slideChecked, bool fadeChecked) {
  if (slideChecked) return 0;
  return fadeChecked ? 1 : 2;
}

}  // namespace textfx
