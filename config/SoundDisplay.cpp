#include "config/SoundDisplay.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr uint32_t kMsPerSecond = 1000;
constexpr uint32_t kSecondsPerMinute = 60;
constexpr uint32_t kStepsPerLength = 10;

}  // namespace

std::string FormatSoundTime(uint32_t ms) {
  const uint32_t seconds = ms / kMsPerSecond;
  char text[24];
  std::snprintf(text, sizeof text, "%02u:%02u", static_cast<unsigned>(seconds / kSecondsPerMinute),
                static_cast<unsigned>(seconds % kSecondsPerMinute));
  return text;
}

std::string FormatSoundDisplay(uint32_t positionMs, uint32_t totalMs) {
  return FormatSoundTime(positionMs) + "/" + FormatSoundTime(totalMs);
}

uint32_t SoundStepBack(uint32_t positionMs, uint32_t totalMs) {
  const uint32_t step = totalMs / kStepsPerLength;
  return step > positionMs ? 0 : positionMs - step;
}

uint32_t SoundStepForward(uint32_t positionMs, uint32_t totalMs) {
  const uint64_t ahead = static_cast<uint64_t>(positionMs) + totalMs / kStepsPerLength;
  return static_cast<uint32_t>(std::min<uint64_t>(ahead, totalMs));
}

int64_t SoundSliderSeconds(int32_t position, int32_t minimum, int32_t maximum,
                           uint32_t totalSeconds) {
  const int64_t range = static_cast<int64_t>(maximum) - minimum;
  if (range <= 0) return -1;
  const int64_t seconds = static_cast<int64_t>(position) * totalSeconds / range;
  return std::clamp<int64_t>(seconds, 0, totalSeconds);
}

SoundSeek SoundReleaseSeek(int64_t seconds, uint32_t totalSeconds) {
  if (static_cast<int64_t>(totalSeconds) > seconds + 1)
    return {false, static_cast<uint32_t>((seconds + 1) * kMsPerSecond)};
  return {true, 0};
}

SoundTransport SoundTransportEnables(bool sliderEnabled, int32_t minimum, int32_t maximum,
                                     int32_t position, bool playing) {
  if (!sliderEnabled) return {false, false, false, false};
  const bool atStart = position == minimum;
  const bool atEnd = !atStart && position == maximum;
  return {!atStart, !playing && !atEnd, playing, !atEnd};
}
