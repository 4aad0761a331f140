// The transition tables: the 32 transition classes with the user's choices (on or off, three
// slider values), the 159 effects that belong to them, the conversion between a class and its
// "TRANSFX" registry text, and the pickers that choose the transition of every image change and
// of every caption.
#pragma once

#include <array>

#include "framework/WinTypes.h"

constexpr int kTransFXClassCount = 32;
constexpr int kTransFXEffectCount = 159;
constexpr int kTransFX3DClass = 100;
constexpr int kTransFXFallbackClass = 20;  // "Sweep": used when every class is off
constexpr int kTextFramePairCount = 10;

// One transition class: seven 32-bit signed integers.
struct TransFXClassRow {
  INT classId;       // 0..30 (2D) or 100 (3D)
  INT nameStringId;  // string resources shown by the transition dialog
  INT helpStringId;
  INT enabled;     // 1 on, 0 off
  INT s1, s2, s3;  // slider values, 1..100 when the user set them
};

// One effect: its id for the transition engine, its name and its class.
struct TransFXEffectRow {
  INT effectId;  // 0..152 within the 2D classes, 0..9 within class 100
  char name[52];
  INT classId;
};

// The class table, process-wide: the defaults until LoadTransFXClassParams runs; the transition
// dialog edits it in place.
extern std::array<TransFXClassRow, kTransFXClassCount> TransFXClassTable;
// The defaults every row holds at program start (the setup program installs them).
const std::array<TransFXClassRow, kTransFXClassCount>& TransFXClassDefaults();
// Puts the defaults back (tests).
void ResetTransFXClassTable();

// The effect table, constant; rows of a class in the order the dialog lists them.
extern const TransFXEffectRow TransFXTable[kTransFXEffectCount];

struct TextFramePair {
  INT classId;
  INT effectId;
};
// The ten transitions a caption can come on with.
extern const TextFramePair TextFrameTransitions[kTextFramePairCount];

// The row of a class, or null.
TransFXClassRow* FindTransFXClassRow(int classId);

// Parses the 32 "TRANSFX" setting buffers into the class table; TRUE.
BOOL LoadTransFXClassParams();
// Parses "enabled,s1,s2,s3" into a class's row: up to four numbers separated by commas; the
// first missing or non-numeric field and all after it keep their presets (1, 50, 50, 50).
// Enabled becomes 1 only for exactly 1. The sliders are stored as read, unchecked. FALSE when
// no row has that class id.
BOOL ParseTransFXClassSetting(const char* text, int classId);
// Formats the 32 rows back into the "TRANSFX" setting buffers; TRUE.
BOOL StoreTransFXClassParams();
// Writes "%d,%d,%d,%d" (enabled as 1 or 0) into a 64-byte buffer, zeroed first. FALSE when no
// row has that class id.
BOOL FormatTransFXClassSetting(char* buffer, int classId);
// The same for a row given directly (the setup program formats the defaults).
void FormatTransFXClassRow(char* buffer, const TransFXClassRow& row);
// The class's three slider values; FALSE, outputs untouched, when no row has that class id.
BOOL GetTransClassParams(int classId, int* s1, int* s2, int* s3);

// Picks the next transition: a random enabled class (never the previous one when two or more
// are on; class 20 when none is), then a random effect of it (never the previous effect when the
// class repeats). classId and effectId hold the previous pick on entry (-1 at first).
BOOL PickTransition(int* classId, int* effectId);
// Picks one of the ten caption transitions, never the previous effect twice in a row.
BOOL PickTextFrameTransition(int* classId, int* effectId);
