// The base of the media components (logger, decoder, encoder, player) and the small
// types they share: picture types, seek flags and the hook before stream probing.
#pragma once

#include <functional>

#include "platform/rtl/Classes.h"

namespace vantrel::media {

// FFmpeg's picture type codes, in their order.
enum TPictureType { ptUnknown, ptI, ptP, ptB, ptS, ptSI, ptSP, ptBI };

enum TSeekFlag { sfBackward, sfByte, sfAny, sfFrame };
using TSeekFlags = TSet<TSeekFlag>;

// FFmpeg's seek flag bits: bit n for ordinal n (AVSEEK_FLAG_BACKWARD 1 ... FRAME 8).
inline Integer SeekFlagsToInt(TSeekFlags AFlags) { return static_cast<Integer>(AFlags.Bits()); }

// Called with the AVFormatContext of a file just opened, before its streams are probed.
using TBeforeFindStreamInfoEvent = std::function<void(TObject* Sender, void* AFormatContext)>;

class TFFBaseComponent : public TComponent {
  VANTREL_CLASS(TFFBaseComponent)

  explicit TFFBaseComponent(TComponent* AOwner) : TComponent(AOwner) {}

  const String& About() const { return FAbout; }
  void SetAbout(const String& Value) { FAbout = Value; }
  // Each component sets its own version text.
  const String& Version() const { return FVersion; }

 protected:
  String FAbout;
  String FVersion;
};

}  // namespace vantrel::media
