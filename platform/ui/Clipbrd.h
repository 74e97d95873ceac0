// The class library's clipboard object: pictures are assigned to it (and from it back to a
// bitmap or picture); text goes through the window system's clipboard. The clipboard holds
// one content at a time: a picture replaces the text and the other way round.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/win/Clipboard.h"

class TClipboard : public TPersistent {
  VANTREL_CLASS(TClipboard)
  TClipboard() = default;

  // A TBitmap, TPicture or any other graphic is copied in; another source is copied in
  // through a bitmap it can assign itself to (else the assignment error).
  void Assign(TPersistent* Source) override;
  // CF_BITMAP: a picture is held; CF_TEXT / CF_UNICODETEXT: text is.
  Boolean HasFormat(UINT Format) const;
  void Clear();
  String AsText() const;
  void SetAsText(const String& Value);

 protected:
  // Into a TBitmap or TPicture: the picture held (an empty bitmap without one).
  void AssignTo(TPersistent* Dest) override;

 private:
  void EmptyText() const;
  Integer FWidth = 0;
  Integer FHeight = 0;
  std::vector<uint32_t> FPixels;  // 32-bit pixels, top-down rows
  Boolean FHasPicture = false;
};

// The process's clipboard object.
TClipboard* Clipboard();
