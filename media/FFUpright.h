// Pictures turned upright: a video stream may carry a display matrix (phone clips) that
// says how its pictures must be turned to be seen as shot. The conversion, the frame
// decoder and the player turn them the same way, so that a size or a crop rectangle
// means the same pixels everywhere.
#pragma once

#include <cstdint>

#include "platform/rtl/Types.h"

struct AVFrame;
struct AVStream;

namespace vantrel::media {

// How to turn a stored picture upright: first a mirror left-right when Flip is set, then
// a turn clockwise by Rotation degrees (0, 90, 180 or 270).
struct TUprightTurn {
  Integer Rotation = 0;
  bool Flip = false;
  bool None() const { return Rotation == 0 && !Flip; }
  // Width and height trade places.
  bool Transposed() const { return Rotation == 90 || Rotation == 270; }
  bool operator==(const TUprightTurn&) const = default;
};

// The turn a display matrix (nine 32-bit numbers, FFmpeg's layout) asks for; nil: none.
// A matrix that is not a quarter turn is taken to the nearest one.
TUprightTurn UprightTurnOfMatrix(const int32_t* AMatrix);
// The turn of a stream's display matrix (none without one).
TUprightTurn UprightTurnOf(const AVStream* AStream);
// The libavfilter chain that turns pictures upright ("" when there is nothing to do),
// for the front of a filter chain.
String UprightFilterText(const TUprightTurn& ATurn);
// The size pictures of AWidth x AHeight have once turned.
void UprightSize(const TUprightTurn& ATurn, Integer& AWidth, Integer& AHeight);
// The picture format pictures of APixFmt have once turned: APixFmt itself when its planes can
// be turned as they are, else a format of the same kind at full resolution (a quarter
// turn of 4:2:2, packed YUV, palettes); AV_PIX_FMT_NONE for hardware pictures.
Integer UprightPixFmt(Integer APixFmt, const TUprightTurn& ATurn);
// A new picture holding AFrame turned upright (its time stamps and properties kept) in
// UprightPixFmt's format, or nil when the turn is none or the picture cannot be turned
// (hardware pictures, no memory). The caller frees the picture.
AVFrame* TurnFrameUpright(const AVFrame* AFrame, const TUprightTurn& ATurn);

}  // namespace vantrel::media
