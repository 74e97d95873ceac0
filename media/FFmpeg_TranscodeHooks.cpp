// The progress report and the video hooks of a conversion, called from the main loop
// and the video output. Not built yet: they do nothing, so a conversion runs without
// progress events, hooks or previews.
#include <cstdint>

#include "media/FFmpeg.h"

namespace vantrel::media {

void TCustomFFmpeg::PrintReport(bool AIsLastReport, Integer AInputIndex) {
  (void)AIsLastReport;
  (void)AInputIndex;
}

void TCustomFFmpeg::PreprocessVideoFrame(TAVInputStream& ist, AVFrame* AFrame) {
  (void)ist;
  (void)AFrame;
}

void TCustomFFmpeg::RunOutputHooks(TAVOutputStream& ost, AVFrame* AFrame, Int64 APts, Integer AFrameNumber) {
  (void)ost;
  (void)AFrame;
  (void)APts;
  (void)AFrameNumber;
}

}  // namespace vantrel::media
