// The top-ten dialog's edits of the play-list text, apart from any window: adding an image (at
// most ten, each once) and removing one. The text changes only when the edit succeeds, so a
// refused edit never leaves it emptied.
#pragma once

// How an edit ended.
enum class TopTenEdit {
  kDone,           // the text holds the edited list
  kFull,           // an add to a list of ten: nothing changed
  kAlreadyListed,  // an add of a listed image: nothing changed
  kNotListed,      // a remove of an image not in the list: nothing changed
  kRefused,        // an index outside 0..imageCount-1, or the list would not format
};

// Appends `index` to the list in `text` (a 256-character play-list buffer) for a set of
// imageCount images. A text that does not parse counts as the empty list.
TopTenEdit AddToTopTenText(char* text, int index, int imageCount);

// Removes `index` from the list in `text`, keeping the others' order; none left gives the empty
// text.
TopTenEdit RemoveFromTopTenText(char* text, int index, int imageCount);
