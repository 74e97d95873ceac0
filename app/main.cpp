// The main window's unit: its state and the reports it keeps.
#include "app/main.h"

namespace vantrel::app {

const std::array<const char*, LastEditedCount> LastEditedNames = {
    "videocodecname", "videobitrate", "framerate",   "videowidth", "videoheight",
    "audiocodecname", "audiobitrate", "samplerate", "channels"};

const std::array<String TFormat::*, LastEditedCount> LastEditedFields = {
    &TFormat::VideoCodecName, &TFormat::VideoBitRate, &TFormat::FrameRate,
    &TFormat::Width,          &TFormat::Height,       &TFormat::AudioCodecName,
    &TFormat::AudioBitRate,   &TFormat::SampleRate,   &TFormat::Channel};

TMainUnitState& MainUnit() {
  static TMainUnitState State;
  return State;
}

}  // namespace vantrel::app
