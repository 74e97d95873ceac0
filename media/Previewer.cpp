// The preview's frame hand-over from the conversion thread to the GUI thread.
#include "media/Previewer.h"

#include "media/FFUtils.h"
#include "platform/rtl/Threads.h"

namespace vantrel::media {

bool TPreviewer::PaintFrame(TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS) {
  if (FClosed) return false;
  {
    std::lock_guard<std::mutex> L(FLock);
    FBitmap = ABitmap;
    FFrameNumber = AFrameNumber;
    FPTS = APTS;
  }
  CallInMainThread([this] { Paint(); });
  return !FClosed;
}

void TPreviewer::Paint() {
  if (FClosed) return;
  std::lock_guard<std::mutex> L(FLock);
  FCaption = TimestampToStr(FPTS);
  ++FPaintCount;
}

String TPreviewer::Caption() const {
  std::lock_guard<std::mutex> L(FLock);
  return FCaption;
}

}  // namespace vantrel::media
