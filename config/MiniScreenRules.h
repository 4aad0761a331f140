// The rules behind the scaling/border and wallpaper dialogs, kept free of windows so that they are
// tested natively: which picture sizes a screen offers, which control groups a choice enables,
// and where the picture sits on the 160 x 120 mini screen that stands for the whole screen.
#pragma once

// The picture sizes of both dialogs' size lists: code 0 is the screen's own size ("Fit to
// Screen"), codes 1 to 6 640 x 480 up to 1600 x 1200.
constexpr int kLargestSizeCode = 6;

// The mini screen's size in pixels.
constexpr int kMiniScreenWidth = 160;
constexpr int kMiniScreenHeight = 120;

struct PixelSize {
  int cx = 0;
  int cy = 0;
};

// The pixel size of a size code on a screen: the screen for 0, the table's pair for 1 to 6.
// False for any other code (only 1 to 6 are looked up in the table).
bool SizeOfCode(int code, PixelSize screen, PixelSize* size);

// How many lines a size list offers on the screen, "Fit to Screen" included: the codes 1 to 6 in
// order while each fits the screen (width and height no larger), so line k is always code k.
int OfferedSizeLines(PixelSize screen);

// True when a picture of the size code covers the whole screen: code 0, or a table size equal to
// the screen. Codes outside 0..6 do not.
bool SizeFillsScreen(int code, PixelSize screen);

// The scaling method matters only when a picture is scaled: not at 640 x 480, nor on a screen of
// 640 x 480.
bool ScalingMethodApplies(int code, PixelSize screen);

// Which groups of the scaling/border dialog are enabled.
struct ScalingBorderEnables {
  bool imageBorder, screenBorder, scalingMethod, imageBackground, imageSize;
};
ScalingBorderEnables ScalingBorderEnabling(int sizeCode, bool ownImages, PixelSize screen);

// Which groups of the wallpaper dialog are enabled: the "Thumbnails" choice (not on an 8-bit
// display), the screen-back and frame group (not when one set picture covers the screen), the
// size group (full scale only) and the scaling group (full scale, when a picture is scaled).
struct WallpaperEnables {
  bool thumbnails, border, imageSize, scaling;
};
WallpaperEnables WallpaperEnabling(bool fullScale, int sizeCode, bool ownImages, PixelSize screen,
                                   int bitsPerPixel);

// The mini picture's size: the picture's full-screen size scaled as the background of size
// `background` is scaled to the mini screen (integer division). Zero sides when the background
// is empty.
PixelSize MiniPictureSize(PixelSize picture, PixelSize background);

// The offset that centres `inner` on `outer` (each half rounded down, as the previews place it).
PixelSize CentredOffset(PixelSize outer, PixelSize inner);

// The wallpaper layout a dialog opens with for a stored one: full scale stays; an image set has
// the layouts 1 to 3 (anything else becomes 1, tile), own images only 4 (uniform).
int OfferedWallpaperLayout(int stored, bool ownImages);
