// TFormatConverter: decoded pictures to RGB pictures and bitmaps and back, and the
// classic vertical deinterlacer.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "media/AVUtilAPI.h"
#include "media/FFUtils.h"
#include "media/SWScaleAPI.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

namespace {

struct TFormatRow {
  TBMPPixelFormat BMPPixFmt;
  Integer BitsPixel;
  AVPixelFormat AVPixFmt;
};

constexpr TFormatRow FormatTable[] = {
    {pf8bit, 8, AV_PIX_FMT_BGR8},         {pf15bit, 16, AV_PIX_FMT_BGR555LE},
    {pf16bit, 16, AV_PIX_FMT_BGR565LE},   {pf24bit, 24, AV_PIX_FMT_BGR24},
    {pf32bit, 32, AV_PIX_FMT_BGRA}};

const TFormatRow& RowOf(TBMPPixelFormat AFormat) {
  for (const TFormatRow& R : FormatTable)
    if (R.BMPPixFmt == AFormat) return R;
  throw EArgumentException(Format("Invalid bitmap pixel format %d", {static_cast<int>(AFormat)}));
}

constexpr Integer RGBAlign = 64;
constexpr Integer RGBPadding = 64;

// The pixel bytes of a row.
Integer PixelRowBytes(Integer AWidth, Integer ABitsPixel) {
  return static_cast<Integer>((static_cast<Int64>(AWidth) * ABitsPixel + 7) / 8);
}

// A bitmap row: whole 32-bit words.
Integer BitmapRowBytes(Integer AWidth, Integer ABitsPixel) {
  return static_cast<Integer>(((static_cast<Int64>(AWidth) * ABitsPixel + 31) / 32) * 4);
}

}  // namespace

TFormatConverter::TFormatConverter() : FBitmap(CreateOwned<TBitmap>()) {
  FBitmap->Canvas()->Brush()->SetStyle(bsClear);
  ResetRGB();
}

TFormatConverter::~TFormatConverter() {
  if (ff::sws_freeContext) {
    ff::sws_freeContext(FtoRGB_convert_ctx);
    ff::sws_freeContext(FfromRGB_convert_ctx);
  }
}

void TFormatConverter::ResetRGB() {
  FDIB = BITMAP{};
  FRGBPicture = AVPicture{};
  FRGBPictureRef = nullptr;
  FRGBWidth = FRGBHeight = 0;
  const TFormatRow& Row = RowOf(FBMPPixFmt);
  FBitsPixel = Row.BitsPixel;
  FAVPixFmt = Row.AVPixFmt;
  FBitmap->SetPixelFormat(FBMPPixFmt);
}

void TFormatConverter::SetBitsPixel(Integer Value) {
  TBMPPixelFormat Format_;
  switch (Value) {
    case 8: Format_ = pf8bit; break;
    case 15: Format_ = pf15bit; break;
    case 16: Format_ = pf16bit; break;
    case 24: Format_ = pf24bit; break;
    case 32: Format_ = pf32bit; break;
    default: throw Exception(Format("Invalid BitsPixel %d", {Value}));
  }
  // Compared by format: 16 after 15 (which reads back as 16) still selects 5-6-5.
  if (Format_ == FBMPPixFmt) return;
  FBMPPixFmt = Format_;
  ResetRGB();
}

void TFormatConverter::SetBMPPixFmt(TBMPPixelFormat Value) {
  if (Value == FBMPPixFmt) return;
  RowOf(Value);  // raises for a format without an RGB side
  FBMPPixFmt = Value;
  ResetRGB();
}

bool TFormatConverter::PictureToRGB(const AVPicture& APicture, Integer APixFmt, Integer AWidth,
                                    Integer AHeight, bool ACopyToBitmap) {
  FRGBPictureRef = nullptr;
  if (AWidth <= 0 || AHeight <= 0) {
    FLastErrMsg = Format("Invalid picture size %dx%d", {AWidth, AHeight});
    return false;
  }
  FBitmap->SetSize(AWidth, AHeight);
  if (APixFmt == FAVPixFmt && AWidth % 2 == 0 && AHeight % 2 == 0 &&
      APicture.linesize[0] == BitmapRowBytes(AWidth, FBitsPixel)) {
    // Already a bitmap's rows: used as it is.
    FRGBPictureCopy = APicture;
    FRGBPictureRef = &FRGBPictureCopy;
  } else {
    const AVPixelFormat Rgb = static_cast<AVPixelFormat>(FAVPixFmt);
    // swscale writes whole blocks of pixels past the end of a row: rows aligned to 64
    // bytes and padding after the last one keep it inside the buffer.
    const Integer Size = ff::av_image_get_buffer_size(Rgb, AWidth, AHeight, RGBAlign);
    if (Size < 0) {
      FLastErrMsg = Format("Invalid picture size %dx%d", {AWidth, AHeight});
      return false;
    }
    const size_t Need = static_cast<size_t>(Size) + RGBAlign + RGBPadding;
    if (FRGBBuffer.size() < Need) FRGBBuffer.resize(Need);
    FRGBPicture = AVPicture{};
    uint8_t* Base = FRGBBuffer.data();
    Base += (RGBAlign - reinterpret_cast<uintptr_t>(Base) % RGBAlign) % RGBAlign;
    ff::av_image_fill_arrays(FRGBPicture.data, FRGBPicture.linesize, Base, Rgb, AWidth,
                             AHeight, RGBAlign);
    FtoRGB_convert_ctx = ff::sws_getCachedContext(
        FtoRGB_convert_ctx, AWidth, AHeight, static_cast<AVPixelFormat>(APixFmt), AWidth, AHeight,
        Rgb, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!FtoRGB_convert_ctx) {
      FLastErrMsg = "Cannot initialize the toRGB conversion context";
      return false;
    }
    ff::sws_scale(FtoRGB_convert_ctx, APicture.data, APicture.linesize, 0, AHeight,
                  FRGBPicture.data, FRGBPicture.linesize);
    FRGBPictureRef = &FRGBPicture;
  }
  FRGBWidth = AWidth;
  FRGBHeight = AHeight;
  FDIB = BITMAP{};
  FDIB.bmType = 0;
  FDIB.bmWidth = AWidth;
  FDIB.bmHeight = AHeight;
  FDIB.bmWidthBytes = FRGBPictureRef->linesize[0];
  FDIB.bmPlanes = 1;
  FDIB.bmBitsPixel = static_cast<WORD>(FBitsPixel);
  FDIB.bmBits = FRGBPictureRef->data[0];
  if (ACopyToBitmap) RGBToBitmap();
  return true;
}

void TFormatConverter::CheckRGB() const {
  if (!FRGBPictureRef) throw EInvalidOperation("No RGB picture: convert a picture first");
}

void TFormatConverter::RGBToBitmap() {
  CheckRGB();
  if (FBitmap->Width() != FRGBWidth || FBitmap->Height() != FRGBHeight)
    FBitmap->SetSize(FRGBWidth, FRGBHeight);
  if (FBMPPixFmt == pf8bit) {
    // The RGB side is packed 3:3:2 (blue in the top bits): the colour table says so.
    std::vector<TColor> Table(256);
    for (Integer I = 0; I < 256; ++I)
      Table[I] = static_cast<TColor>(RGB(static_cast<BYTE>((I & 7) * 255 / 7),
                                         static_cast<BYTE>(((I >> 3) & 7) * 255 / 7),
                                         static_cast<BYTE>(((I >> 6) & 3) * 255 / 3)));
    FBitmap->SetColorTable(Table);
  }
  const Integer Bytes = std::min(FRGBPictureRef->linesize[0], PixelRowBytes(FRGBWidth, FBitsPixel));
  for (Integer R = 0; R < FRGBHeight; ++R)
    std::memcpy(FBitmap->ScanLine(R),
                FRGBPictureRef->data[0] + static_cast<ptrdiff_t>(R) * FRGBPictureRef->linesize[0],
                static_cast<size_t>(Bytes));
}

void TFormatConverter::BitmapToRGB() {
  CheckRGB();
  if (FBitmap->Width() != FRGBWidth || FBitmap->Height() != FRGBHeight)
    throw EInvalidOperation("The bitmap's size differs from the RGB picture's");
  const Integer Bytes = std::min(FRGBPictureRef->linesize[0], PixelRowBytes(FRGBWidth, FBitsPixel));
  for (Integer R = 0; R < FRGBHeight; ++R)
    std::memcpy(FRGBPictureRef->data[0] + static_cast<ptrdiff_t>(R) * FRGBPictureRef->linesize[0],
                FBitmap->ScanLine(R), static_cast<size_t>(Bytes));
}

bool TFormatConverter::RGBToPicture(AVPicture& APicture, Integer APixFmt, Integer AWidth,
                                    Integer AHeight) {
  CheckRGB();
  FfromRGB_convert_ctx = ff::sws_getCachedContext(
      FfromRGB_convert_ctx, AWidth, AHeight, static_cast<AVPixelFormat>(FAVPixFmt), AWidth,
      AHeight, static_cast<AVPixelFormat>(APixFmt), SWS_BICUBIC, nullptr, nullptr, nullptr);
  if (!FfromRGB_convert_ctx) {
    FLastErrMsg = "Cannot initialize the fromRGB conversion context";
    return false;
  }
  ff::sws_scale(FfromRGB_convert_ctx, FRGBPictureRef->data, FRGBPictureRef->linesize, 0, AHeight,
                APicture.data, APicture.linesize);
  return true;
}

// ---------------------------------------------------------------------------------------
// Deinterlacer

namespace {

// Keeps the even lines of a plane and filters each odd one from the lines around it.
void DeinterlacePlane(uint8_t* ADst, Integer ADstWrap, const uint8_t* ASrc, Integer ASrcWrap,
                      Integer AWidth, Integer AHeight) {
  auto Row = [&](Integer Y) {
    return ASrc + static_cast<ptrdiff_t>(std::clamp(Y, 0, AHeight - 1)) * ASrcWrap;
  };
  // The source may be the destination: filter from copies of the original lines (the
  // line above is the previous odd line, already overwritten in place).
  const size_t N = static_cast<size_t>(AWidth);
  std::vector<uint8_t> Lines(N * 5);
  uint8_t* A = &Lines[0];
  uint8_t* B = A + N;
  uint8_t* C = B + N;
  uint8_t* D = C + N;
  uint8_t* E = D + N;
  for (Integer Y = 0; Y < AHeight; Y += 2) {
    if (Y == 0) std::memcpy(A, Row(-1), N);
    else std::memcpy(A, C, N);
    std::memcpy(B, Row(Y), N);
    std::memcpy(C, Row(Y + 1), N);
    std::memcpy(D, Row(Y + 2), N);
    std::memcpy(E, Row(Y + 3), N);
    uint8_t* Even = ADst + static_cast<ptrdiff_t>(Y) * ADstWrap;
    std::memcpy(Even, B, N);
    if (Y + 1 >= AHeight) break;
    uint8_t* Odd = Even + ADstWrap;
    for (Integer X = 0; X < AWidth; ++X) {
      const Integer Sum = -A[X] + 4 * B[X] + 2 * C[X] + 4 * D[X] - E[X];
      Odd[X] = static_cast<uint8_t>(std::clamp((Sum + 4) >> 3, 0, 255));
    }
  }
}

}  // namespace

Integer DeinterlacePicture(AVPicture& ADst, const AVPicture& ASrc, Integer APixFmt,
                           Integer AWidth, Integer AHeight) {
  Integer ChromaW = AWidth, ChromaH = AHeight;
  bool Grey = false;
  switch (APixFmt) {
    case AV_PIX_FMT_YUV420P:
    case AV_PIX_FMT_YUVJ420P:
      ChromaW >>= 1;
      ChromaH >>= 1;
      break;
    case AV_PIX_FMT_YUV422P:
    case AV_PIX_FMT_YUVJ422P:
      ChromaW >>= 1;
      break;
    case AV_PIX_FMT_YUV411P:
      ChromaW >>= 2;
      break;
    case AV_PIX_FMT_YUV444P:
      break;
    case AV_PIX_FMT_GRAY8:
      Grey = true;
      break;
    default:
      return -1;
  }
  if (AWidth <= 0 || AHeight <= 0 || AWidth % 4 != 0 || AHeight % 4 != 0) return -1;
  for (Integer P = 0; P < (Grey ? 1 : 3); ++P) {
    const Integer W = P == 0 ? AWidth : ChromaW;
    const Integer H = P == 0 ? AHeight : ChromaH;
    DeinterlacePlane(ADst.data[P], ADst.linesize[P], ASrc.data[P], ASrc.linesize[P], W, H);
  }
  return 0;
}

}  // namespace vantrel::media
