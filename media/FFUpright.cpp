// Pictures turned upright by a stream's display matrix.
#include "media/FFUpright.h"

#include <cmath>
#include <utility>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"

namespace vantrel::media {

TUprightTurn UprightTurnOfMatrix(const int32_t* AMatrix) {
  TUprightTurn Turn;
  if (!AMatrix) return Turn;
  // A negative determinant of the 2x2 part is a mirror image.
  const double Det = static_cast<double>(AMatrix[0]) * AMatrix[4] - static_cast<double>(AMatrix[1]) * AMatrix[3];
  int32_t M[9];
  for (int I = 0; I < 9; ++I) M[I] = AMatrix[I];
  if (Det < 0) {
    // Undo the mirror (negate the first column) to read the turn that follows it.
    M[0] = -M[0];
    M[3] = -M[3];
    M[6] = -M[6];
    Turn.Flip = true;
  }
  // FFmpeg gives the counter-clockwise angle of the stored picture; the picture is
  // turned clockwise by as much to be upright.
  const double Angle = -ff::av_display_rotation_get(M);
  if (std::isnan(Angle)) return TUprightTurn();
  long Quarter = std::lround(Angle / 90.0) % 4;
  if (Quarter < 0) Quarter += 4;
  Turn.Rotation = static_cast<Integer>(Quarter * 90);
  return Turn;
}

TUprightTurn UprightTurnOf(const AVStream* AStream) {
  if (!AStream) return TUprightTurn();
  size_t Size = 0;
  const uint8_t* Data = ff::av_stream_get_side_data(AStream, AV_PKT_DATA_DISPLAYMATRIX, &Size);
  if (!Data || Size < 9 * sizeof(int32_t)) return TUprightTurn();
  return UprightTurnOfMatrix(reinterpret_cast<const int32_t*>(Data));
}

String UprightFilterText(const TUprightTurn& ATurn) {
  String Text = ATurn.Flip ? "hflip" : "";
  const char* Turn = ATurn.Rotation == 90    ? "transpose=clock"
                     : ATurn.Rotation == 180 ? "hflip,vflip"
                     : ATurn.Rotation == 270 ? "transpose=cclock"
                                             : "";
  if (*Turn) Text += (Text.empty() ? "" : ",") + String(Turn);
  return Text;
}

void UprightSize(const TUprightTurn& ATurn, Integer& AWidth, Integer& AHeight) {
  if (ATurn.Transposed()) std::swap(AWidth, AHeight);
}

namespace {

// One plane of AW x AH pixels of APixel bytes each turned into ADst (its size already
// the turned one).
void TurnUprightPlane(const uint8_t* ASrc, int ASrcPitch, uint8_t* ADst, int ADstPitch, int AW, int AH,
                      int APixel, const TUprightTurn& ATurn) {
  for (int Y = 0; Y < AH; ++Y) {
    const uint8_t* Row = ASrc + static_cast<ptrdiff_t>(Y) * ASrcPitch;
    for (int X = 0; X < AW; ++X) {
      const int SX = ATurn.Flip ? AW - 1 - X : X;  // mirrored first
      int DX, DY;
      switch (ATurn.Rotation) {
        case 90: DX = AH - 1 - Y; DY = X; break;
        case 180: DX = AW - 1 - X; DY = AH - 1 - Y; break;
        case 270: DX = Y; DY = AW - 1 - X; break;
        default: DX = X; DY = Y; break;
      }
      const uint8_t* S = Row + static_cast<ptrdiff_t>(SX) * APixel;
      uint8_t* D = ADst + static_cast<ptrdiff_t>(DY) * ADstPitch + static_cast<ptrdiff_t>(DX) * APixel;
      for (int B = 0; B < APixel; ++B) D[B] = S[B];
    }
  }
}

}  // namespace

AVFrame* TurnFrameUpright(const AVFrame* AFrame, const TUprightTurn& ATurn) {
  if (!AFrame || ATurn.None()) return nullptr;
  const AVPixFmtDescriptor* Desc = ff::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(AFrame->format));
  if (!Desc || Desc->log2_chroma_w != Desc->log2_chroma_h || (Desc->flags & (AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_HWACCEL)))
    return nullptr;
  // Bytes a pixel of each plane: planar formats of 8-bit components, or packed RGB.
  const bool Planar = (Desc->flags & AV_PIX_FMT_FLAG_PLANAR) || Desc->nb_components == 1;
  int Pixel = 1;
  if (!Planar) {
    Pixel = ff::av_get_bits_per_pixel(Desc) / 8;
    if (Pixel != 3 && Pixel != 4) return nullptr;
  } else {
    for (int C = 0; C < Desc->nb_components; ++C)
      if (Desc->comp[C].depth > 8 || Desc->comp[C].step != 1) return nullptr;
  }
  AVFrame* Out = ff::av_frame_alloc();
  if (!Out) return nullptr;
  Out->format = AFrame->format;
  Out->width = AFrame->width;
  Out->height = AFrame->height;
  UprightSize(ATurn, Out->width, Out->height);
  if (ff::av_frame_get_buffer(Out, 0) < 0 || ff::av_frame_copy_props(Out, AFrame) < 0) {
    ff::av_frame_free(&Out);
    return nullptr;
  }
  if (ATurn.Transposed()) std::swap(Out->sample_aspect_ratio.num, Out->sample_aspect_ratio.den);
  const int Planes = Planar ? ff::av_pix_fmt_count_planes(static_cast<AVPixelFormat>(AFrame->format)) : 1;
  for (int P = 0; P < Planes; ++P) {
    const bool Chroma = Planar && (P == 1 || P == 2) && !(Desc->flags & AV_PIX_FMT_FLAG_RGB);
    const int W = Chroma ? AV_CEIL_RSHIFT(AFrame->width, Desc->log2_chroma_w) : AFrame->width;
    const int H = Chroma ? AV_CEIL_RSHIFT(AFrame->height, Desc->log2_chroma_h) : AFrame->height;
    TurnUprightPlane(AFrame->data[P], AFrame->linesize[P], Out->data[P], Out->linesize[P], W, H, Pixel, ATurn);
  }
  return Out;
}

}  // namespace vantrel::media
