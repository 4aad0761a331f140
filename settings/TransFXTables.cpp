#include "settings/TransFXTables.h"

#include <cstdio>
#include <cstring>

#include "seams/Random.h"
#include "settings/DecimalText.h"
#include "settings/IniSettings.h"

namespace {

// class id, name and help string ids, enabled, s1, s2, s3
constexpr std::array<TransFXClassRow, kTransFXClassCount> kClassDefaults = {{
    {0, 1149, 1151, 1, 1, 90, 50},     // Skip Bars
    {1, 1150, 1152, 1, 1, 1, 50},      // Curtains
    {2, 1154, 1160, 1, 1, 50, 50},     // Skip Diagonals
    {3, 1155, 1158, 1, 1, 50, 50},     // Diagonals
    {4, 1156, 1161, 1, 1, 100, 50},    // Rectangles
    {5, 1153, 1157, 1, 20, 60, 50},    // Skip Squares
    {6, 1159, 1162, 1, 1, 80, 50},     // Two Opposing Squares
    {7, 1163, 1164, 1, 1, 80, 50},     // Geometrical Shapes (2D)
    {8, 1168, 1169, 1, 1, 50, 1},      // Blinds
    {9, 1170, 1171, 1, 1, 1, 1},       // Checkers Fade
    {10, 1172, 1175, 1, 1, 1, 1},      // Square Pattern Fade (1)
    {11, 1173, 1176, 1, 1, 1, 1},      // Square Pattern Fade (2)
    {12, 1174, 1179, 1, 1, 1, 1},      // Castellation
    {13, 1177, 1180, 1, 1, 1, 1},      // Blocks Pattern Fade
    {14, 1178, 1189, 1, 1, 1, 1},      // Opposing Squares Pattern Fade
    {15, 1181, 1197, 1, 1, 1, 1},      // Serrated Diagonals Fade
    {16, 1193, 1198, 1, 1, 1, 1},      // Star Burst
    {17, 1194, 1199, 1, 1, 1, 1},      // Epaulettes
    {18, 1195, 1200, 1, 1, 1, 1},      // Diamonds
    {19, 1196, 1201, 1, 1, 1, 1},      // Complex Triangles
    {20, 1182, 1205, 1, 1, 1, 50},     // Sweep
    {21, 1183, 1206, 1, 1, 50, 50},    // Slide Show
    {22, 1184, 1207, 1, 1, 50, 50},    // Zoom
    {23, 1185, 1208, 1, 1, 80, 50},    // Clock Sweep
    {24, 1186, 1209, 1, 1, 90, 1},     // Tidal Wave - Linear
    {25, 1187, 1210, 1, 1, 90, 1},     // Tidal Wave - Circular
    {26, 1188, 1211, 1, 20, 50, 50},   // Random Square
    {27, 1190, 1204, 1, 1, 50, 50},    // Squeeze
    {28, 1191, 1203, 1, 1, 80, 80},    // Wind Shear
    {29, 1192, 1202, 1, 1, 20, 50},    // Sliding Shutters
    {30, 1214, 1215, 1, 30, 30, 30},   // Steps
    {100, 1212, 1213, 1, 30, 30, 30},  // Flying Tiles - 3D
}};

}  // namespace

std::array<TransFXClassRow, kTransFXClassCount> TransFXClassTable = kClassDefaults;

const std::array<TransFXClassRow, kTransFXClassCount>& TransFXClassDefaults() {
  return kClassDefaults;
}

void ResetTransFXClassTable() { TransFXClassTable = kClassDefaults; }

// effect id, name, class id
const TransFXEffectRow TransFXTable[kTransFXEffectCount] = {
    // 0 "Skip Bars"
    {0, "Horizontal", 0},
    {2, "Vertical", 0},
    // 1 "Curtains"
    {1, "Horizontal", 1},
    {3, "Vertical", 1},
    // 2 "Skip Diagonals"
    {6, "Right Slant", 2},
    {8, "Left Slant", 2},
    // 3 "Diagonals"
    {7, "Right Slant", 3},
    {9, "Left Slant", 3},
    // 4 "Rectangles"
    {10, "Skip", 4},
    {11, "Simple", 4},
    // 5 "Skip Squares"
    {4, "FX 1", 5},
    {5, "FX 2", 5},
    {12, "FX 1", 5},
    // 6 "Two Opposing Squares"
    {13, "Skip", 6},
    {14, "Simple", 6},
    // 7 "Geometrical Shapes (2D)"
    {18, "Triangle", 7},
    {20, "Multiple Octagons", 7},
    {21, "Octagon Skip", 7},
    {22, "Octagon", 7},
    // 8 "Blinds"
    {23, "Vertical Bars", 8},
    {24, "Horizontal Bars", 8},
    // 9 "Checkers Fade"
    {25, "Vertical Bars", 9},
    {26, "Horizontal Bars", 9},
    // 10 "Square Pattern Fade (1)"
    {27, "Outwards Fade", 10},
    {28, "Inwards Fade", 10},
    {29, "Alternate In/Out", 10},
    // 11 "Square Pattern Fade (2)"
    {30, "FX 1", 11},
    {31, "FX 2", 11},
    {32, "FX 3", 11},
    {33, "FX 4", 11},
    {34, "FX 5", 11},
    {35, "FX 6", 11},
    {36, "FX 7", 11},
    {37, "FX 8", 11},
    {38, "FX 9", 11},
    {39, "FX 10", 11},
    {40, "FX 11", 11},
    {41, "FX 12", 11},
    // 12 "Castellation"
    {42, "Down - Right", 12},
    {43, "Up - Left", 12},
    {44, "Down - Left", 12},
    {45, "Up - Right", 12},
    // 13 "Blocks Pattern Fade"
    {54, "Expand Right (Even)", 13},
    {55, "Expand Left (Even)", 13},
    {56, "Expand Alt. Down (Even)", 13},
    {57, "Expand Alt. Up (Even)", 13},
    {58, "Expand Right (Odd)", 13},
    {59, "Expand Left (Odd)", 13},
    {60, "Expand Alt. Down (Odd)", 13},
    {61, "Expand Alt. Up (Odd)", 13},
    {62, "Shrink Left (Even)", 13},
    {63, "Shrink Right (Even)", 13},
    {64, "Shrink Alt. Up (Even)", 13},
    {65, "Shrink Alt. Down (Even)", 13},
    {66, "Shrink Left (Odd)", 13},
    {67, "Shrink Right (Odd)", 13},
    {68, "Shrink Alt. Up (Odd)", 13},
    {69, "Shrink Alt. Down (Odd)", 13},
    // 14 "Opposing Squares Pattern Fade"
    {50, "Slant Left - Expand (1)", 14},
    {51, "Slant Right - Expand (1)", 14},
    {70, "Slant Right - Shrink (1)", 14},
    {71, "Slant Left - Shrink (1)", 14},
    {52, "Slant Left - Expand (2)", 14},
    {53, "Slant Right - Expand (2)", 14},
    {72, "Slant Right - Shrink (2)", 14},
    {73, "Slant Left - Shrink (2)", 14},
    // 15 "Serrated Diagonals Fade"
    {93, "FX 1", 15},
    {94, "FX 2", 15},
    {101, "FX 3", 15},
    {106, "FX 4", 15},
    {109, "FX 5", 15},
    // 16 "Star Burst"
    {96, "FX 1", 16},
    {99, "FX 2", 16},
    {103, "FX 3", 16},
    {105, "FX 4", 16},
    // 17 "Epaulettes"
    {95, "FX 1", 17},
    {98, "FX 2", 17},
    {107, "FX 3", 17},
    {108, "FX 4", 17},
    // 18 "Diamonds"
    {74, "FX 1", 18},
    {75, "FX 2", 18},
    {76, "FX 3", 18},
    {77, "FX 4", 18},
    {78, "FX 5", 18},
    {79, "FX 6", 18},
    {80, "FX 7", 18},
    {81, "FX 8", 18},
    {82, "FX 9", 18},
    {83, "FX 10", 18},
    {84, "FX 11", 18},
    {86, "FX 12", 18},
    {87, "FX 13", 18},
    {90, "FX 14", 18},
    {92, "FX 15", 18},
    // 19 "Complex Triangles"
    {85, "FX 1", 19},
    {88, "FX 2", 19},
    {89, "FX 3", 19},
    {91, "FX 4", 19},
    {97, "FX 5", 19},
    {100, "FX 6", 19},
    {102, "FX 7", 19},
    {104, "FX 8", 19},
    // 20 "Sweep"
    {110, "Left -> Right", 20},
    {111, "Right -> Left", 20},
    {112, "Top -> Bottom", 20},
    {113, "Bottom -> Top", 20},
    {118, "Diagonal Sweep - Top Left", 20},
    {119, "Diagonal Sweep - Top Right", 20},
    {120, "Diagonal Sweep - Bottom Right", 20},
    {121, "Diagonal Sweep - Bottom Left", 20},
    // 21 "Slide Show"
    {114, "Left -> Right", 21},
    {115, "Right -> Left", 21},
    {116, "Top -> Bottom", 21},
    {117, "Bottom -> Top", 21},
    {122, "Diagonal Slide - Top Left", 21},
    {123, "Diagonal Slide - Top Right", 21},
    {124, "Diagonal Slide - Bottom Right", 21},
    {125, "Diagonal Slide - Bottom Left", 21},
    // 22 "Zoom"
    {126, "Shrink/Expand - Top Left", 22},
    {127, "Shrink/Expand - Top Right", 22},
    {128, "Shrink/Expand - Bottom Right", 22},
    {129, "Shrink/Expand - Bottom Left", 22},
    // 23 "Clock Sweep"
    {130, "Clockwise Sweep", 23},
    {131, "Anti-Clockwise Sweep", 23},
    // 24 "Tidal Wave - Linear"
    {132, "Left -> Right", 24},
    {133, "Right -> Left", 24},
    {134, "Top -> Bottom", 24},
    {135, "Bottom -> Top", 24},
    {136, "Diagonal Sweep - Top Left", 24},
    {137, "Diagonal Sweep - Top Right", 24},
    {138, "Diagonal Sweep - Bottom Right", 24},
    {139, "Diagonal Sweep - Bottom Left", 24},
    // 25 "Tidal Wave - Circular"
    {140, "Outwards From Middle", 25},
    {141, "Inwards To Middle", 25},
    // 26 "Random Square"
    {142, "Random", 26},
    // 27 "Squeeze"
    {143, "Vertical -> Center", 27},
    {144, "Horizontal -> Center", 27},
    // 28 "Wind Shear"
    {145, "Left -> Right", 28},
    {146, "Right -> Left", 28},
    {147, "Top -> Bottom", 28},
    {148, "Bottom -> Top", 28},
    // 29 "Sliding Shutters"
    {149, "Vertical - Outwards", 29},
    {150, "Horizontal - Outwards", 29},
    {151, "Vertical - Inwards", 29},
    {152, "Horizontal - Inwards", 29},
    // 30 "Steps"
    {46, "Down - Right", 30},
    {47, "Up - Left", 30},
    {48, "Down - Left", 30},
    {49, "Up - Right", 30},
    // 100 "Flying Tiles - 3D"
    {0, "Left -> Right", 100},
    {1, "Right -> Left", 100},
    {2, "Bottom -> Top", 100},
    {3, "Top -> Bottom", 100},
    {4, "Diagonal Peel - Bottom Left", 100},
    {5, "Diagonal Peel - Top Right", 100},
    {6, "Diagonal Peel - Top Left", 100},
    {7, "Diagonal Peel - Bottom Right", 100},
    {8, "Clockwise Spiral Peel", 100},
    {9, "Anti-Clockwise Spiral Peel", 100},
};

const TextFramePair TextFrameTransitions[kTextFramePairCount] = {
    {24, 132}, {24, 134}, {24, 136}, {24, 139}, {20, 110},
    {20, 112}, {20, 118}, {20, 121}, {28, 145}, {28, 147},
};

namespace {

// A draw of the C runtime's generator, as an index into `count` entries.
int DrawIndex(int count) { return seams::Rand() % count; }

// Enabled classes in table order; returns how many.
int CollectEnabledClasses(int* classes) {
  int count = 0;
  for (const TransFXClassRow& row : TransFXClassTable) {
    if (row.enabled) classes[count++] = row.classId;
  }
  return count;
}

int ChooseClass(int previous) {
  int classes[kTransFXClassCount];
  int count = CollectEnabledClasses(classes);
  if (count == 0) return kTransFXFallbackClass;
  if (count == 1) return classes[0];
  int chosen;
  do {
    chosen = classes[DrawIndex(count)];
  } while (chosen == previous);
  return chosen;
}

// Effects of a class in table order; returns how many.
int CollectEffects(int classId, int* effects) {
  int count = 0;
  for (const TransFXEffectRow& row : TransFXTable) {
    if (row.classId == classId) effects[count++] = row.effectId;
  }
  return count;
}

}  // namespace

TransFXClassRow* FindTransFXClassRow(int classId) {
  for (TransFXClassRow& row : TransFXClassTable) {
    if (row.classId == classId) return &row;
  }
  return nullptr;
}

BOOL LoadTransFXClassParams() {
  for (int i = 0; i < kTransFXValueCount; ++i) {
    ParseTransFXClassSetting(IniSettings.TRANSFX[i], TransFXValueDefs[i].classId);
  }
  return TRUE;
}

BOOL ParseTransFXClassSetting(const char* text, int classId) {
  TransFXClassRow* row = FindTransFXClassRow(classId);
  if (!row) return FALSE;
  int fields[4] = {1, 50, 50, 50};
  const char* cursor = text;
  for (int i = 0; i < 4; ++i) {
    if (i > 0 && *cursor++ != ',') break;
    if (!saver::ReadDecimalInt(cursor, fields[i])) break;
  }
  row->enabled = fields[0] == 1 ? 1 : 0;
  row->s1 = fields[1];
  row->s2 = fields[2];
  row->s3 = fields[3];
  return TRUE;
}

BOOL StoreTransFXClassParams() {
  for (int i = 0; i < kTransFXValueCount; ++i) {
    FormatTransFXClassSetting(IniSettings.TRANSFX[i], TransFXValueDefs[i].classId);
  }
  return TRUE;
}

BOOL FormatTransFXClassSetting(char* buffer, int classId) {
  const TransFXClassRow* row = FindTransFXClassRow(classId);
  if (!row) return FALSE;
  FormatTransFXClassRow(buffer, *row);
  return TRUE;
}

void FormatTransFXClassRow(char* buffer, const TransFXClassRow& row) {
  std::memset(buffer, 0, kNumberBufferSize);
  std::snprintf(buffer, kNumberBufferSize, "%d,%d,%d,%d", row.enabled ? 1 : 0, row.s1, row.s2,
                row.s3);
}

BOOL GetTransClassParams(int classId, int* s1, int* s2, int* s3) {
  const TransFXClassRow* row = FindTransFXClassRow(classId);
  if (!row) return FALSE;
  *s1 = row->s1;
  *s2 = row->s2;
  *s3 = row->s3;
  return TRUE;
}

BOOL PickTransition(int* classId, int* effectId) {
  int chosenClass = ChooseClass(*classId);
  int effects[kTransFXEffectCount];
  int count = CollectEffects(chosenClass, effects);
  if (count == 0) return FALSE;
  int chosenEffect = effects[0];
  if (count > 1 && chosenClass == *classId) {
    do {
      chosenEffect = effects[DrawIndex(count)];
    } while (chosenEffect == *effectId);
  } else if (count > 1) {
    chosenEffect = effects[DrawIndex(count)];
  }
  *classId = chosenClass;
  *effectId = chosenEffect;
  return TRUE;
}

BOOL PickTextFrameTransition(int* classId, int* effectId) {
  const TextFramePair* pair;
  do {
    pair = &TextFrameTransitions[DrawIndex(kTextFramePairCount)];
  } while (pair->effectId == *effectId);
  *classId = pair->classId;
  *effectId = pair->effectId;
  return TRUE;
}
