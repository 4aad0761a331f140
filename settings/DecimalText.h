// Numbers as the settings keep them: decimal text, read like the C runtime's atoi (leading
// blanks, an optional sign, the digits up to the first other character) but without its
// undefined overflow: a number beyond the int range reads as INT_MIN or INT_MAX.
#pragma once

#include <cstddef>

namespace saver {

// Reads one number at `cursor` and moves the cursor past it. Without a digit after the blanks
// and sign, returns false and leaves the cursor and value alone.
bool ReadDecimalInt(const char*& cursor, int& value);

// The number at the start of text; 0 for a text without one (or null).
int DecimalTextToInt(const char* text);

// The number at the start of text (0 without one), or the nearest of low..high when it lies
// outside them: a stored value out of a control's range shows as the nearest one it can show.
int DecimalTextInRange(const char* text, int low, int high);

// Writes the number as decimal text into a buffer of `size` characters (the settings dialogs
// store every choice this way); the longest int fits any settings buffer.
void IntToDecimalText(int value, char* buffer, size_t size);
template <size_t N>
void IntToDecimalText(int value, char (&buffer)[N]) {
  IntToDecimalText(value, buffer, N);
}

}  // namespace saver
