// The audio output path of a conversion. Encoding audio (resampling, the sample FIFO,
// frames of the encoder's size) is not built yet: a task that needs it is refused at
// set-up with a clear message; stream copy and disabled audio work.
#include <cstdint>

#include "media/FFmpeg.h"

namespace vantrel::media {

void TCustomFFmpeg::SetupAudioEncoding(TAVOutputStream& ost, TAVInputStream& ist) {
  (void)ost;
  (void)ist;
  throw FFmpegException("Audio encoding is not available in this build: copy the audio stream or disable it");
}

void TCustomFFmpeg::DoAudioOut(AVFormatContext* os, TAVOutputStream& ost, TAVInputStream& ist, AVFrame* AFrame) {
  (void)os;
  (void)ost;
  (void)ist;
  (void)AFrame;
  throw FFmpegException("Audio encoding is not available in this build");
}

void TCustomFFmpeg::FlushAudioFifo(AVFormatContext* os, TAVOutputStream& ost) {
  (void)os;
  (void)ost;
}

}  // namespace vantrel::media
