// The caption-effect dialog's rules between its controls and the "TEXTFX_" settings, kept apart
// from the dialog so that they are tested natively: the colour lists' order, the title style's
// bit field, and what each list or button group stores.
#pragma once

// The colour lists offer the 20 static colours of the system palette in the order of their
// codes, except that code 6 (the place of dark cyan) is offered as "Transparent", last.
constexpr int kTextFXColorCount = 20;

// The line of the colour lists that shows a colour code; a code that is no colour shows line 0
// ("Black").
int ColorCodeToListIndex(int code);
// The colour code of a line of the colour lists; no selection (negative) or a line past the
// list stores 0 ("Black").
int ListIndexToColorCode(int line);

namespace textfx {

// Title style: bit 1 is always set; the three boxes add italic, shadow and underline.
constexpr int kTitleStyleAlways = 1;
constexpr int kTitleStyleItalic = 2;
constexpr int kTitleStyleShadow = 4;
constexpr int kTitleStyleUnderline = 8;

struct TitleStyleBoxes {
  bool italic, shadow, underline;
};
TitleStyleBoxes TitleStyleToBoxes(int style);
int BoxesToTitleStyle(const TitleStyleBoxes& boxes);

// A duration list stores its line, -1 when nothing is selected (the saver reads a number that is
// no line as its default duration).
int DurationListSetting(int selectedLine);
// A box-style list (border or background) stores its line, 0 when nothing is selected: no
// caption style is numbered -1.
int StyleListSetting(int selectedLine);

// Content: 0 "Title Only" when only that radio is checked, else 1 "Text And Title".
int ContentStyleSetting(bool textAndTitleChecked, bool titleOnlyChecked);
// Arrival: 0 slide when its radio is checked, else 1 fade when that one is, else 2 both.
int TransSelectionSetting(bool slideChecked, bool fadeChecked);

}  // namespace textfx
