// The frame decoder: seeking, decoding video pictures with their times, key-frame
// stepping and pictures as bitmaps. Audio decoding is in FFDecode_Audio.cpp.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <new>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFDecode.h"
#include "media/FFUpright.h"
#include "media/FFLoad.h"
#include "media/FFLog.h"
#include "media/SWResampleAPI.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

namespace {

// FFmpeg's text of an error code.
String DecodeErrorText(int ACode) {
  char Buf[128] = {};
  if (ff::av_strerror(ACode, Buf, sizeof Buf) < 0) return Format("Error number %d occurred", {ACode});
  return Buf;
}

constexpr AVRational MicroBase{1, AV_TIME_BASE};
constexpr size_t PicturePadding = 64;

String Lower(String S) {
  for (char& C : S) C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
  return S;
}

}  // namespace

TFFDecoder::TFFDecoder(TComponent* AOwner)
    : TCustomDecoder(AOwner), FFormatConv(CreateOwned<TFormatConverter>()) {
  TFFDecoder::UpdateStreamCounts();
}

TFFDecoder::~TFFDecoder() {
  // Reached without Free as well: give back what needs the libraries while they are here.
  if (ff::avcodec_free_context) {
    CloseCodec(FCodec, FCodecIndex);
    CloseCodec(FAudioCodec, FAudioCodecIndex);
  }
  FreeResampler();
  if (ff::av_frame_free) ff::av_frame_free(&FFrame);
  if (ff::av_packet_free) ff::av_packet_free(&FPacket);
}

void TFFDecoder::CloseFile() {
  FDecodeIndex = -1;
  FEOF = false;
  ResetFrameInfo();
  FLastPTS = NoPTSValue;
  FLastPos = -1;
  FDesireAudioIndex = -1;
  ResetWaveInfo();
  FreeResampler();
  FRemainsAudioSize = 0;
  if (ff::avcodec_free_context) {
    CloseCodec(FCodec, FCodecIndex);
    CloseCodec(FAudioCodec, FAudioCodecIndex);
  }
  if (ff::av_frame_free) ff::av_frame_free(&FFrame);
  if (ff::av_packet_free) ff::av_packet_free(&FPacket);
  TCustomDecoder::CloseFile();
}

void TFFDecoder::UpdateStreamCounts() {
  TCustomDecoder::UpdateStreamCounts();
  FSeekIndex = FFirstVideoStreamIndex >= 0 ? FFirstVideoStreamIndex : FFirstAudioStreamIndex;
  if (!FFileHandle) {
    FStartTime = -1;
    return;
  }
  const Int64 Start =
      FSeekIndex >= 0 ? FFileHandle->streams[FSeekIndex]->start_time : FFileHandle->start_time;
  FStartTime = Start == AV_NOPTS_VALUE ? 0 : Start;
}

// ---------------------------------------------------------------------------------------
// Shared checks

bool TFFDecoder::CheckOwnHandle() {
  if (!FFileHandle) {
    LogMessage(AV_LOG_WARNING, "file not loaded.");
    return false;
  }
  if (!FOwnHandle) {
    const String Msg = "file cannot be seeked, handle is readonly.";
    LogMessage(AV_LOG_WARNING, Msg);
    throw Exception(Msg);
  }
  return true;
}

bool TFFDecoder::IsStillImage() const {
  // "image2" and the image-pipe demuxers ("png_pipe", "jpeg_pipe" ...).
  const String Name = Lower(FormatName());
  return Name == "image2" || Name == "image2pipe" ||
         (Name.size() > 5 && Name.compare(Name.size() - 5, 5, "_pipe") == 0);
}

bool TFFDecoder::CanSeek() {
  if (!CheckOwnHandle()) return false;
  if (IsStillImage()) {
    LogMessage(AV_LOG_INFO, Format("\"%s\" format cannot to be seeked.", {FormatName()}));
    return false;
  }
  return true;
}

Integer TFFDecoder::SelectVideoStream(Integer AStreamIndex) {
  if (!CheckOwnHandle()) return -1;
  Integer Index = AStreamIndex;
  if (Index < 0) {
    Index = FDecodeIndex >= 0 ? FDecodeIndex : FFirstVideoStreamIndex;
    if (Index < 0) {
      LogMessage(AV_LOG_ERROR, "no video stream.");
      return -1;
    }
  }
  if (Index >= FStreamCount) {
    LogMessage(AV_LOG_ERROR, Format("stream index #%d is invalid.", {Index}));
    return -1;
  }
  if (!IsVideoStream(Index)) {
    LogMessage(AV_LOG_ERROR, Format("stream #%d is not video stream.", {Index}));
    return -1;
  }
  if (Index != FDecodeIndex) ResetFrameInfo();
  FDecodeIndex = Index;
  return Index;
}

void TFFDecoder::CloseCodec(AVCodecContext*& ACodec, Integer& ACodecIndex) {
  if (ACodec) {
    TCodecLockGuard Guard;
    ff::avcodec_free_context(&ACodec);
  }
  ACodec = nullptr;
  ACodecIndex = -1;
  if (&ACodec == &FCodec) {
    FVideoDraining = false;
    FVideoPictures = false;
    FVideoDecodeError = 0;
  } else {
    FAudioDraining = FAudioEnded = false;
  }
}

AVCodecContext* TFFDecoder::OpenCodec(AVCodecContext*& ACodec, Integer& ACodecIndex,
                                      Integer AIndex, bool AVideo) {
  AVStream* Stream = FFileHandle->streams[AIndex];
  const AVCodecParameters* Par = Stream->codecpar;
  if (AVideo && (Par->width == 0 || Par->height == 0)) {
    LogMessage(AV_LOG_ERROR, "frame size of codec is invalid.");
    return nullptr;
  }
  if (ACodec && ACodecIndex == AIndex) return ACodec;
  CloseCodec(ACodec, ACodecIndex);
  const AVCodec* Decoder = ff::avcodec_find_decoder(Par->codec_id);
  if (!Decoder) {
    LogMessage(AV_LOG_ERROR, Format("Unsupported codec (id=%d) for input file stream #%d",
                                    {static_cast<Integer>(Par->codec_id), AIndex}));
    return nullptr;
  }
  AVCodecContext* Ctx = ff::avcodec_alloc_context3(Decoder);
  Integer R = Ctx ? ff::avcodec_parameters_to_context(Ctx, Par) : AVERROR(ENOMEM);
  if (R >= 0) {
    Ctx->pkt_timebase = Stream->time_base;
    TCodecLockGuard Guard;
    R = ff::avcodec_open2(Ctx, Decoder, nullptr);
  }
  if (R < 0) {
    if (Ctx) {
      TCodecLockGuard Guard;
      ff::avcodec_free_context(&Ctx);
    }
    LogMessage(AV_LOG_ERROR,
               Format("Error while opening codec for input file stream #%d", {AIndex}));
    return nullptr;
  }
  ACodec = Ctx;
  ACodecIndex = AIndex;
  if (!FFrame) FFrame = ff::av_frame_alloc();
  if (!FPacket) FPacket = ff::av_packet_alloc();
  if (!FFrame || !FPacket) {
    CloseCodec(ACodec, ACodecIndex);
    LogMessage(AV_LOG_ERROR, "Out of memory");
    return nullptr;
  }
  return ACodec;
}

Int64 TFFDecoder::InputPosition() const {
  if (!FFileHandle || !FFileHandle->pb) return -1;
  return ff::avio_seek(FFileHandle->pb, 0, SEEK_CUR);
}

Int64 TFFDecoder::GetPosition() {
  if (!FFileHandle) {
    LogMessage(AV_LOG_WARNING, "file not loaded.");
    return -1;
  }
  if (!FFileHandle->pb) {
    LogMessage(AV_LOG_WARNING, "cannot get position");
    return -1;
  }
  return InputPosition();
}

Int64 TFFDecoder::StreamFrameDuration(Integer AIndex) const {
  const AVStream* Stream = FFileHandle->streams[AIndex];
  const AVRational Rate = Stream->avg_frame_rate.num != 0 && Stream->avg_frame_rate.den != 0
                              ? Stream->avg_frame_rate
                              : Stream->r_frame_rate;
  return FrameDuration(TAVRational{Rate.num, Rate.den});
}

bool TFFDecoder::ReadFailed(Integer AResult) {
  if (AResult == AVERROR(EAGAIN)) {
    LogMessage(AV_LOG_INFO, "no data, please try again.");
    return true;
  }
  if (AResult != AVERROR_EOF && FFileHandle->pb && !ff::avio_feof(FFileHandle->pb)) {
    LogMessage(AV_LOG_INFO, Format("unknown error #%d.", {AResult}));
    return true;
  }
  return false;
}

void TFFDecoder::ResetFrameInfo() {
  if (FPicture.PTS != NoPTSValue) FLastPTS = FPicture.PTS;
  if (FPicture.Position != -1) FLastPos = FPicture.Position;
  FPicture.PixFmt = FPicture.Width = FPicture.Height = FPicture.StreamIndex = -1;
  FPicture.Position = -1;
  FPicture.IsKeyFrame = false;
  FPicture.PictureType = ptUnknown;
  FPicture.PTS = FPicture.OriginalDTS = FPicture.OriginalPTS = NoPTSValue;
  FPicture.Ready = false;
}

// ---------------------------------------------------------------------------------------
// Seeking

bool TFFDecoder::Seek(Int64 APTS, TSeekFlags ASeekFlags) {
  if (!CanSeek()) return false;
  if (FFileHandle->pb)
    LogMessage(AV_LOG_DEBUG, Format("current position %d bytes", {InputPosition()}));
  Int64 TS = std::max<Int64>(APTS, 0);
  if (!ASeekFlags.Contains(sfByte)) {
    if (FSeekIndex >= 0)
      TS = ff::av_rescale_q(TS, MicroBase, FFileHandle->streams[FSeekIndex]->time_base);
    if (FStartTime > 0) TS += FStartTime;
  }
  // Both decoders start afresh; what was decoded before the seek is gone.
  if (FCodec) ff::avcodec_flush_buffers(FCodec);
  if (FAudioCodec) ff::avcodec_flush_buffers(FAudioCodec);
  FVideoDraining = FAudioDraining = FAudioEnded = false;
  FEOF = false;
  ResetFrameInfo();
  ResetWaveInfo();
  FRemainsAudioSize = 0;
  FreeResampler();

  const Integer Flags = SeekFlagsToInt(ASeekFlags);
  Integer R;
  if (APTS > 0) {
    R = ff::av_seek_frame(FFileHandle, FSeekIndex, TS, Flags);
  } else {
    R = ff::av_seek_frame(FFileHandle, FSeekIndex, 0, Flags | AVSEEK_FLAG_BACKWARD);
    if (R < 0) R = ff::av_seek_frame(FFileHandle, FSeekIndex, APTS, Flags & ~AVSEEK_FLAG_BACKWARD);
  }
  bool Result = R >= 0;
  if (Result) {
    if (FFileHandle->pb)
      LogMessage(AV_LOG_DEBUG, Format("seek to position %d bytes", {InputPosition()}));
  } else if (ASeekFlags.Contains(sfByte)) {
    LogMessage(AV_LOG_ERROR, Format("could not seek to position %d bytes", {APTS}));
  } else {
    LogMessage(AV_LOG_ERROR, Format("could not seek to position %0.3f seconds",
                                    {static_cast<double>(APTS) / AV_TIME_BASE}));
  }
  // An input left at its end is at its end whatever the seek answered.
  if (FFileHandle->pb && ff::avio_feof(FFileHandle->pb)) {
    if (Result) LogMessage(AV_LOG_INFO, "stream eof reached.");
    FEOF = true;
    return false;
  }
  return Result;
}

// ---------------------------------------------------------------------------------------
// Decoding

bool TFFDecoder::Decode(Integer AStreamIndex) {
  const Integer Index = SelectVideoStream(AStreamIndex);
  if (Index < 0) return false;
  // A still image is decoded once.
  if (FPicture.Ready && IsStillImage()) return true;
  if (FEOF) {
    LogMessage(AV_LOG_INFO, "stream eof reached.");
    return false;
  }
  AVCodecContext* Codec = OpenCodec(FCodec, FCodecIndex, Index, true);
  if (!Codec) return false;
  const Int64 Pos = InputPosition();
  for (;;) {
    Integer R = ff::avcodec_receive_frame(Codec, FFrame);
    if (R >= 0) break;
    if (R == AVERROR_EOF || FVideoDraining) {
      // The decoder gave its last picture; when it never gave one, why.
      if (!FVideoPictures && FVideoDecodeError < 0)
        LogMessage(AV_LOG_ERROR, Format("no picture of stream #%d could be decoded: %s",
                                        {Index, DecodeErrorText(FVideoDecodeError)}));
      else
        LogMessage(AV_LOG_INFO, "stream eof reached.");
      FEOF = true;
      return false;
    }
    if (R != AVERROR(EAGAIN)) FVideoDecodeError = R;
    // AVERROR(EAGAIN): the decoder wants input; another error: a packet that failed to
    // decode, skipped.
    R = ff::av_read_frame(FFileHandle, FPacket);
    if (R < 0) {
      if (ReadFailed(R)) return false;
      // End of input: the pictures the decoder still holds come out now.
      ff::avcodec_send_packet(Codec, nullptr);
      FVideoDraining = true;
      continue;
    }
    if (FPacket->stream_index == Index) {
      const Integer Sent = ff::avcodec_send_packet(Codec, FPacket);
      if (Sent < 0 && Sent != AVERROR(EAGAIN)) FVideoDecodeError = Sent;
    }
    ff::av_packet_unref(FPacket);
  }

  // Pictures of a turned stream are stored upright.
  if (AVFrame* Upright = TurnFrameUpright(FFrame, UprightTurnOf(FFileHandle->streams[Index]))) {
    ff::av_frame_unref(FFrame);
    ff::av_frame_move_ref(FFrame, Upright);
    ff::av_frame_free(&Upright);
  }
  if (GetFFLogger()->LogLevel() >= llDebug)
    GetFFLogger()->Log(this, llDebug,
                       Format("pkt.st_idx=%d, dts=%d, pts=%d, flags=%d, pict_type=%d",
                              {Index, static_cast<Int64>(FFrame->pkt_dts),
                               static_cast<Int64>(FFrame->pts), FFrame->key_frame,
                               static_cast<Integer>(FFrame->pict_type)}));

  AVPicture Source;
  for (int I = 0; I < 4; ++I) {
    Source.data[I] = FFrame->data[I];
    Source.linesize[I] = FFrame->linesize[I];
  }
  if (FDeinterlace) {
    const Integer Size = ff::av_image_get_buffer_size(static_cast<AVPixelFormat>(FFrame->format),
                                                      FFrame->width, FFrame->height, 1);
    bool Allocated = Size > 0;
    try {
      if (Allocated && FDeintBuf.size() < static_cast<size_t>(Size))
        FDeintBuf.resize(static_cast<size_t>(Size));
    } catch (const std::bad_alloc&) {
      Allocated = false;
    }
    if (!Allocated) {
      GetFFLogger()->Log(this, llError, "deinterlace buffer malloc error.");
      FDeinterlace = false;
    } else {
      AVPicture Deint;
      ff::av_image_fill_arrays(Deint.data, Deint.linesize, FDeintBuf.data(),
                               static_cast<AVPixelFormat>(FFrame->format), FFrame->width,
                               FFrame->height, 1);
      if (DeinterlacePicture(Deint, Source, FFrame->format, FFrame->width, FFrame->height) < 0) {
        GetFFLogger()->Log(this, llError, "deinterlacing failed.");
        FDeinterlace = false;
      } else {
        Source = Deint;
      }
    }
  }
  // The picture's place in the file: its own packet's where the demuxer knows it (a
  // decoder with delay gives it out after reading on), else where this read began.
  StoreFrame(FFrame, Source, FFrame->pkt_pos >= 0 ? FFrame->pkt_pos : Pos);
  FVideoPictures = true;
  ff::av_frame_unref(FFrame);
  return true;
}

void TFFDecoder::StoreFrame(const AVFrame* AFrame, const AVPicture& APlanes, Int64 APos) {
  const AVPixelFormat Fmt = static_cast<AVPixelFormat>(AFrame->format);
  const Integer Size = ff::av_image_get_buffer_size(Fmt, AFrame->width, AFrame->height, 1);
  // Padding after the picture: swscale reads whole blocks past a row's end.
  if (Size > 0 && FPictureBuf.size() < static_cast<size_t>(Size) + PicturePadding)
    FPictureBuf.resize(static_cast<size_t>(Size) + PicturePadding);
  FPicture.Buffer = FPictureBuf.data();
  FPicture.Size = Size > 0 ? Size : 0;
  FPicture.PixFmt = AFrame->format;
  FPicture.Width = AFrame->width;
  FPicture.Height = AFrame->height;
  FPicture.IsKeyFrame = AFrame->key_frame == 1;
  FPicture.PictureType = AFrame->pict_type >= 0 && AFrame->pict_type <= 7
                             ? static_cast<TPictureType>(AFrame->pict_type)
                             : ptUnknown;
  // The picture's own time: FFmpeg's best guess, else its pts, else its packet's dts.
  Int64 T = AFrame->best_effort_timestamp;
  if (T == AV_NOPTS_VALUE) T = AFrame->pts;
  if (T == AV_NOPTS_VALUE) T = AFrame->pkt_dts;
  if (FPicture.PTS != NoPTSValue) FLastPTS = FPicture.PTS;
  if (T == AV_NOPTS_VALUE) {
    FPicture.PTS = NoPTSValue;
  } else {
    const AVStream* Stream = FFileHandle->streams[FDecodeIndex];
    if (Stream->start_time != AV_NOPTS_VALUE) T -= Stream->start_time;
    FPicture.PTS = ff::av_rescale_q(T, Stream->time_base, MicroBase);
    if (GetFFLogger()->LogLevel() >= llDebug)
      GetFFLogger()->Log(this, llDebug,
                         Format("decode PTS: %0.3f", {static_cast<double>(FPicture.PTS) / AV_TIME_BASE}));
  }
  FPicture.OriginalDTS = AFrame->pkt_dts;
  FPicture.OriginalPTS = AFrame->pts;
  FPicture.StreamIndex = FDecodeIndex;
  if (FPicture.Position != -1) FLastPos = FPicture.Position;
  FPicture.Position = APos;
  FPicture.Picture = AVPicture{};
  if (Size > 0) {
    ff::av_image_fill_arrays(FPicture.Picture.data, FPicture.Picture.linesize, FPicture.Buffer,
                             Fmt, AFrame->width, AFrame->height, 1);
    ff::av_image_copy(FPicture.Picture.data, FPicture.Picture.linesize,
                      const_cast<const uint8_t**>(APlanes.data), APlanes.linesize, Fmt,
                      AFrame->width, AFrame->height);
  }
  FPicture.Ready = Size > 0;
}

// ---------------------------------------------------------------------------------------
// Stepping

bool TFFDecoder::DecodeNextKeyFrame(Integer AStreamIndex) {
  const Integer Index = SelectVideoStream(AStreamIndex);
  if (Index < 0) return false;
  Int64 Target = StreamFrameDuration(Index);
  if (FPicture.PTS != NoPTSValue && FPicture.PTS > 0) Target += FPicture.PTS;
  if (!Seek(Target, {})) return false;
  return Decode(Index);
}

bool TFFDecoder::DecodePreviousFrame(Integer AStreamIndex) {
  const Integer Index = SelectVideoStream(AStreamIndex);
  if (Index < 0) return false;
  const Int64 D = StreamFrameDuration(Index);
  const Int64 Base = FPicture.PTS != NoPTSValue ? FPicture.PTS
                     : FLastPTS != NoPTSValue   ? FLastPTS
                                                : 0;
  const Int64 Target = Base - 2 * D;
  if (!DecodePreviousKeyFrame(Index)) return false;
  for (;;) {
    if (Target < FPicture.PTS) return true;
    if (!Decode(Index)) return false;
  }
}

bool TFFDecoder::DecodePreviousKeyFrame(Integer AStreamIndex) {
  const Integer Index = SelectVideoStream(AStreamIndex);
  if (Index < 0) return false;
  const Int64 D = StreamFrameDuration(Index);
  Int64 Base = 0;
  if (FPicture.PTS != NoPTSValue) {
    Base = FPicture.PTS;
  } else if (FLastPTS != NoPTSValue) {
    Base = FLastPTS;
  } else {
    // Nothing decoded yet: the last key frame of the file.
    const Int64 Duration = FFileHandle->duration;
    if (Duration != AV_NOPTS_VALUE && Duration > 0) Base = Duration;
  }
  // Where the current picture (or, after a seek, the previous one) was read from.
  const Int64 P = FPicture.Position >= 0 ? FPicture.Position : FLastPos;
  // Steps back one frame duration more each time until a picture before Base comes out;
  // once the target has passed the start of the stream there is nothing earlier.
  for (Int64 N = 1;; ++N) {
    const Int64 Before = InputPosition();
    Seek(Base - N * D, {sfBackward});
    const Int64 After = InputPosition();
    // A seek that left the input at or after the current picture did not get before
    // it: one frame further back, without decoding. A demuxer that moves the input
    // only on its next read (the position did not change) is judged by the picture.
    if (P > 0 && Base >= N * D && After != Before && After >= P) continue;
    const bool WasAtEnd = FEOF;
    const bool Decoded = Decode(Index);
    if (Decoded && (FPicture.PTS < Base || FPicture.PTS <= 0)) return true;
    if (Base < N * D) break;
    // A pass that read from the seek to the end of the file without one picture: a seek
    // further back lands on the same pictures or earlier ones of the same damage.
    if (!Decoded && !WasAtEnd && !FVideoPictures && FEOF) break;
  }
  FLastErrMsg = "Could not seek to the previous key-frame. " + FLastErrMsg;
  return false;
}

// ---------------------------------------------------------------------------------------
// Bitmaps

bool TFFDecoder::CopyToBitmap(TBitmap* ABitmap) {
  if (!FPicture.Ready) {
    LogMessage(AV_LOG_ERROR, "picture not ready, please decode first");
    return false;
  }
  String Error;
  try {
    if (FFormatConv->PictureToRGB(FPicture.Picture, FPicture.PixFmt, FPicture.Width, FPicture.Height, true)) {
      ABitmap->Assign(FFormatConv->Bitmap());
      return true;
    }
    Error = FFormatConv->LastErrMsg();
  } catch (const std::exception& E) {
    // A picture larger than a bitmap may be.
    Error = E.what();
  }
  try {
    ABitmap->SetSize(FPicture.Width, FPicture.Height);
    ABitmap->Canvas()->Brush()->SetStyle(bsSolid);
    ABitmap->Canvas()->Brush()->SetColor(clBlack);
    ABitmap->Canvas()->FillRect(ABitmap->Canvas()->ClipRect());
  } catch (const std::exception&) {
    ABitmap->SetSize(0, 0);
  }
  LogMessage(AV_LOG_ERROR, Error);
  return false;
}

const BITMAP* TFFDecoder::GetBitmapPtr() {
  if (!FPicture.Ready) {
    LogMessage(AV_LOG_ERROR, "picture not ready, please decode first");
    return nullptr;
  }
  try {
    if (FFormatConv->PictureToRGB(FPicture.Picture, FPicture.PixFmt, FPicture.Width, FPicture.Height, false))
      return FFormatConv->DIB();
    LogMessage(AV_LOG_ERROR, FFormatConv->LastErrMsg());
  } catch (const std::exception& E) {
    LogMessage(AV_LOG_ERROR, E.what());
  }
  return nullptr;
}

}  // namespace vantrel::media
