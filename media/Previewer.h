// The preview of a running conversion: the conversion thread hands it each frame to show
// and learns from the result whether the user has closed the preview. The window (a
// small stay-on-top tool window with the frame's time as caption, dragged by its
// picture) lives in the GUI thread; without an application there is no window and the
// frames are only kept.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "platform/rtl/Classes.h"

class TBitmap;
struct MSG;

namespace vantrel::media {

class TPreviewer : public TObject {
  VANTREL_CLASS(TPreviewer)

  TPreviewer();
  // Frees the window in the GUI thread.
  ~TPreviewer() override;

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
  struct TWindow;
  void CreateForm();
  void FreeForm();
  // The application's message hook while the window exists: a left click into the
  // window drags it as its caption would.
  void AppMessage(MSG& Msg, bool& Handled);

  std::atomic<bool> FClosed{false};
  mutable std::mutex FLock;  // guards the frame fields and FCaption
  TBitmap* FBitmap = nullptr;  // not owned
  Integer FFrameNumber = 0;
  Int64 FPTS = 0;
  String FCaption;
  Integer FPaintCount = 0;
  std::unique_ptr<TWindow> FWindow;  // GUI thread only
};

}  // namespace vantrel::media
