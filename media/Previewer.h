// The preview of a running conversion: the conversion thread hands it each frame to show
// and learns from the result whether the user has closed the preview. Painting happens
// in the GUI thread. (The window itself comes with the class library's forms.)
#pragma once

#include <atomic>
#include <mutex>

#include "platform/rtl/Classes.h"

class TBitmap;

namespace vantrel::media {

class TPreviewer : public TObject {
  VANTREL_CLASS(TPreviewer)

  TPreviewer() = default;

  // Unless the preview was closed: keeps the frame and paints it in the GUI thread,
  // waiting for that. True while the preview is open, false once the user closed it.
  bool PaintFrame(TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS);
  // What the window's close request does: no frame is shown from then on.
  void Close() { FClosed = true; }
  bool Closed() const { return FClosed; }

  // The last painted frame, its number and its time as the caption shows it.
  TBitmap* Bitmap() const { return FBitmap; }
  Integer FrameNumber() const { return FFrameNumber; }
  Int64 PTS() const { return FPTS; }
  String Caption() const;
  Integer PaintCount() const { return FPaintCount; }

 protected:
  // GUI thread.
  virtual void Paint();

 private:
  std::atomic<bool> FClosed{false};
  mutable std::mutex FLock;  // guards the frame fields and FCaption
  TBitmap* FBitmap = nullptr;  // not owned
  Integer FFrameNumber = 0;
  Int64 FPTS = 0;
  String FCaption;
  Integer FPaintCount = 0;
};

}  // namespace vantrel::media
