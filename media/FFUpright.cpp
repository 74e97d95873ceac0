// Pictures turned upright by a stream's display matrix.
#include "media/FFUpright.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/SWScaleAPI.h"

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

// The bytes a pixel of each plane of a picture format takes, when every plane is an array
// of whole pixels (no bits packed across bytes, no palette, no components of different
// spacing on one plane); false otherwise.
bool UprightPlanePixels(const AVPixFmtDescriptor* ADesc, int (&APixel)[4], int& APlanes) {
  if (!ADesc || (ADesc->flags & (AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_HWACCEL)))
    return false;
  APlanes = 0;
  for (int P = 0; P < 4; ++P) APixel[P] = 0;
  for (int C = 0; C < ADesc->nb_components; ++C) {
    const AVComponentDescriptor& Comp = ADesc->comp[C];
    if (Comp.plane < 0 || Comp.plane > 3 || Comp.step <= 0 || Comp.offset >= Comp.step) return false;
    if (APixel[Comp.plane] && APixel[Comp.plane] != Comp.step) return false;
    APixel[Comp.plane] = Comp.step;
    APlanes = std::max(APlanes, Comp.plane + 1);
  }
  for (int P = 0; P < APlanes; ++P)
    if (!APixel[P]) return false;
  return APlanes > 0;
}

// Whether pictures of the format can be turned as they are: whole pixels on every plane,
// and for a quarter turn the same subsampling across and down.
bool UprightTurnable(const AVPixFmtDescriptor* ADesc, const TUprightTurn& ATurn) {
  int Pixel[4];
  int Planes = 0;
  if (!UprightPlanePixels(ADesc, Pixel, Planes)) return false;
  return !ATurn.Transposed() || ADesc->log2_chroma_w == ADesc->log2_chroma_h;
}

// Whether plane AP of the format holds subsampled (chroma) components.
bool UprightChromaPlane(const AVPixFmtDescriptor* ADesc, int AP) {
  if ((ADesc->flags & AV_PIX_FMT_FLAG_RGB) || ADesc->nb_components < 3) return false;
  for (int C = 1; C <= 2 && C < ADesc->nb_components; ++C)
    if (ADesc->comp[C].plane == AP) return true;
  return false;
}

// One plane of AW x AH pixels of APixel bytes each turned into ADst (its size already
// the turned one): each source row is walked once and written along the row or column
// it becomes.
template <int NPixel>
void TurnUprightRows(const uint8_t* ASrc, ptrdiff_t ASrcPitch, uint8_t* ADst, ptrdiff_t ADstPitch, int AW, int AH,
                     int APixel, const TUprightTurn& ATurn) {
  const int Pixel = NPixel ? NPixel : APixel;
  for (int Y = 0; Y < AH; ++Y) {
    // The source row, read backwards for a mirror.
    const uint8_t* S = ASrc + Y * ASrcPitch;
    ptrdiff_t SStep = Pixel;
    if (ATurn.Flip) {
      S += static_cast<ptrdiff_t>(AW - 1) * Pixel;
      SStep = -SStep;
    }
    // Where source pixel 0 of the row lands, and the step between its pixels.
    uint8_t* D;
    ptrdiff_t DStep;
    switch (ATurn.Rotation) {
      case 90:  // column AH - 1 - Y, top to bottom
        D = ADst + static_cast<ptrdiff_t>(AH - 1 - Y) * Pixel;
        DStep = ADstPitch;
        break;
      case 180:  // row AH - 1 - Y, right to left
        D = ADst + (AH - 1 - Y) * ADstPitch + static_cast<ptrdiff_t>(AW - 1) * Pixel;
        DStep = -Pixel;
        break;
      case 270:  // column Y, bottom to top
        D = ADst + (AW - 1) * ADstPitch + static_cast<ptrdiff_t>(Y) * Pixel;
        DStep = -ADstPitch;
        break;
      default:
        D = ADst + Y * ADstPitch;
        DStep = Pixel;
        break;
    }
    for (int X = 0; X < AW; ++X, S += SStep, D += DStep) std::memcpy(D, S, static_cast<size_t>(Pixel));
  }
}

void TurnUprightPlane(const uint8_t* ASrc, int ASrcPitch, uint8_t* ADst, int ADstPitch, int AW, int AH, int APixel,
                      const TUprightTurn& ATurn) {
  switch (APixel) {
    case 1: TurnUprightRows<1>(ASrc, ASrcPitch, ADst, ADstPitch, AW, AH, 1, ATurn); break;
    case 2: TurnUprightRows<2>(ASrc, ASrcPitch, ADst, ADstPitch, AW, AH, 2, ATurn); break;
    case 4: TurnUprightRows<4>(ASrc, ASrcPitch, ADst, ADstPitch, AW, AH, 4, ATurn); break;
    default: TurnUprightRows<0>(ASrc, ASrcPitch, ADst, ADstPitch, AW, AH, APixel, ATurn); break;
  }
}

// A new picture holding AFrame in AFormat at its size (props kept); nil when the scaler
// cannot do it.
AVFrame* UprightConverted(const AVFrame* AFrame, AVPixelFormat AFormat) {
  AVFrame* Out = ff::av_frame_alloc();
  if (!Out) return nullptr;
  Out->format = AFormat;
  Out->width = AFrame->width;
  Out->height = AFrame->height;
  SwsContext* Sws = ff::sws_getCachedContext(nullptr, AFrame->width, AFrame->height,
                                             static_cast<AVPixelFormat>(AFrame->format), AFrame->width,
                                             AFrame->height, AFormat, SWS_BICUBIC, nullptr, nullptr, nullptr);
  const bool Ok = Sws && ff::av_frame_get_buffer(Out, 0) >= 0 && ff::av_frame_copy_props(Out, AFrame) >= 0 &&
                  ff::sws_scale(Sws, AFrame->data, AFrame->linesize, 0, AFrame->height, Out->data, Out->linesize) ==
                      AFrame->height;
  if (Sws) ff::sws_freeContext(Sws);
  if (!Ok) ff::av_frame_free(&Out);
  return Out;
}

}  // namespace

Integer UprightPixFmt(Integer APixFmt, const TUprightTurn& ATurn) {
  if (ATurn.None()) return APixFmt;
  const AVPixFmtDescriptor* Desc = ff::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(APixFmt));
  if (!Desc || (Desc->flags & AV_PIX_FMT_FLAG_HWACCEL)) return AV_PIX_FMT_NONE;
  if (UprightTurnable(Desc, ATurn)) return APixFmt;
  // A format of the same kind at full resolution, deep enough for the components.
  const bool Alpha = (Desc->flags & AV_PIX_FMT_FLAG_ALPHA) || (Desc->flags & AV_PIX_FMT_FLAG_PAL);
  const bool Deep = Desc->comp[0].depth > 8;
  if ((Desc->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL)) != 0) {
    if (Deep) return Alpha ? AV_PIX_FMT_GBRAP16 : AV_PIX_FMT_GBRP16;
    return Alpha ? AV_PIX_FMT_RGBA : AV_PIX_FMT_RGB24;
  }
  if (Desc->nb_components <= 2) return Deep ? AV_PIX_FMT_GRAY16 : AV_PIX_FMT_GRAY8;
  if (Deep) return Alpha ? AV_PIX_FMT_YUVA444P16 : AV_PIX_FMT_YUV444P16;
  return Alpha ? AV_PIX_FMT_YUVA444P : AV_PIX_FMT_YUV444P;
}

AVFrame* TurnFrameUpright(const AVFrame* AFrame, const TUprightTurn& ATurn) {
  if (!AFrame || ATurn.None()) return nullptr;
  const Integer Target = UprightPixFmt(AFrame->format, ATurn);
  if (Target == AV_PIX_FMT_NONE) return nullptr;
  // A picture whose planes cannot be turned as they are is converted first.
  AVFrame* Converted = nullptr;
  if (Target != AFrame->format) {
    Converted = UprightConverted(AFrame, static_cast<AVPixelFormat>(Target));
    if (!Converted) return nullptr;
    AFrame = Converted;
  }
  struct FreeConverted {
    AVFrame*& F;
    ~FreeConverted() {
      if (F) ff::av_frame_free(&F);
    }
  } Guard{Converted};

  const AVPixFmtDescriptor* Desc = ff::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(AFrame->format));
  int Pixel[4];
  int Planes = 0;
  if (!UprightPlanePixels(Desc, Pixel, Planes)) return nullptr;
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
  for (int P = 0; P < Planes; ++P) {
    const bool Chroma = UprightChromaPlane(Desc, P);
    const int W = Chroma ? AV_CEIL_RSHIFT(AFrame->width, Desc->log2_chroma_w) : AFrame->width;
    const int H = Chroma ? AV_CEIL_RSHIFT(AFrame->height, Desc->log2_chroma_h) : AFrame->height;
    TurnUprightPlane(AFrame->data[P], AFrame->linesize[P], Out->data[P], Out->linesize[P], W, H, Pixel[P], ATurn);
  }
  return Out;
}

}  // namespace vantrel::media
