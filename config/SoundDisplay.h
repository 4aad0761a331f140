// The sound dialog's arithmetic: the time display, the transport steps, the position slider and
// which transport buttons may be pressed. Times are kept in milliseconds and the display is only
// ever formatted from them, so a file of 100 minutes or more shows and steps like any other.
// Portable, so that every rule is tested natively.
#pragma once

#include <cstdint>
#include <string>

// "MM:SS" of a time in milliseconds (whole seconds, rounded down): the minutes with at least
// two digits and as many more as they need, the seconds with two.
std::string FormatSoundTime(uint32_t ms);

// The display text "MM:SS/MM:SS": position / total length.
std::string FormatSoundDisplay(uint32_t positionMs, uint32_t totalMs);

// A back step goes a tenth of the length back, to the start when that is further than the
// position; a forward step a tenth on, to the end at most.
uint32_t SoundStepBack(uint32_t positionMs, uint32_t totalMs);
uint32_t SoundStepForward(uint32_t positionMs, uint32_t totalMs);

// The second the position slider's thumb stands for: position x total seconds / range, the
// product in 64 bits, kept within 0 .. totalSeconds. -1 for an empty (or reversed) range, where
// the thumb stands for nothing.
int64_t SoundSliderSeconds(int32_t position, int32_t minimum, int32_t maximum,
                           uint32_t totalSeconds);

// Where a thumb released at `seconds` sends the file: one second past it, or its end when that
// second is not before the end.
struct SoundSeek {
  bool toEnd;
  uint32_t ms;  // when not toEnd
};
SoundSeek SoundReleaseSeek(int64_t seconds, uint32_t totalSeconds);

// Which transport buttons may be pressed, from the position slider and the player. The file is
// at its start when the position is the slider's minimum, at its end when it is not at its start
// and the position is the maximum. Nothing may be pressed while the slider is disabled.
struct SoundTransport {
  bool back;     // not at the start
  bool play;     // nothing playing and not at the end
  bool stop;     // playing
  bool forward;  // not at the end
};
SoundTransport SoundTransportEnables(bool sliderEnabled, int32_t minimum, int32_t maximum,
                                     int32_t position, bool playing);
