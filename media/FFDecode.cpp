// The media file prober: opening a file, stream counts and the per-file and per-stream
// information records. The text report is in FFDecode_Report.cpp.
#include "media/FFDecode.h"
#include "media/FFUpright.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLoad.h"
#include "media/FFLog.h"
#include "media/MyUtils.h"
#include "media/UnicodeProtocol.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

namespace {

Integer ClampToInteger(Int64 AValue) {
  if (AValue > std::numeric_limits<Integer>::max()) return std::numeric_limits<Integer>::max();
  if (AValue < std::numeric_limits<Integer>::min()) return std::numeric_limits<Integer>::min();
  return static_cast<Integer>(AValue);
}

// The leading number of a tag such as "2024-05-01" or "3/12", 0 when there is none.
Integer LeadingNumber(const String& AText) {
  return ClampToInteger(std::strtoll(AText.c_str(), nullptr, 10));
}

// The stream's start and duration, in its time base and in microseconds.
template <class TInfo>
void FillStreamTimes(AVStream* AStream, TInfo& AInfo) {
  // A time base with denominator 0 is repaired in place before anything is scaled.
  if (AStream->time_base.den == 0)
    AStream->time_base.den = AStream->time_base.num != 0 ? AStream->time_base.num : 1;
  const AVRational Micro{1, AV_TIME_BASE};
  AInfo.StartTime = AStream->start_time;
  if (AInfo.StartTime != AV_NOPTS_VALUE)
    AInfo.StartTimeScaled = ff::av_rescale_q(AInfo.StartTime, AStream->time_base, Micro);
  AInfo.Duration = AStream->duration;
  if (AInfo.Duration != AV_NOPTS_VALUE)
    AInfo.DurationScaled = ff::av_rescale_q(AInfo.Duration, AStream->time_base, Micro);
}

}  // namespace

TCustomDecoder::TCustomDecoder(TComponent* AOwner) : TFFBaseComponent(AOwner) {
  TCustomDecoder::UpdateStreamCounts();
}

TCustomDecoder::~TCustomDecoder() {
  // Reached without Free as well: close what is still open, then give the load back.
  CloseHandle();
  if (FLibLoaded) FFLoader().Unload(DecoderLibraries);
}

void TCustomDecoder::BeforeDestruction() {
  CloseFile();
  TFFBaseComponent::BeforeDestruction();
}

void TCustomDecoder::CheckLibraries() const {
  if (!FFLoader().Loaded(avCodec)) throw Exception("LibAVCodec not loaded.");
  if (!FFLoader().Loaded(avFormat)) throw Exception("LibAVFormat not loaded.");
  if (!FFLoader().Loaded(avUtil)) throw Exception("LibAVUtil not loaded.");
  if (!FFLoader().Loaded(swScale)) throw Exception("LibSwScale not loaded.");
}

void TCustomDecoder::LogMessage(Integer ALevel, const String& AMessage) {
  GetFFLogger()->Log(this, AVLogLevelToLogLevel(ALevel), AMessage);
  FLastErrMsg = AMessage;
}

bool TCustomDecoder::AVLibLoaded() const { return FFLoader().Loaded(DecoderLibraries); }

bool TCustomDecoder::LoadAVLib(const TPathFileName& APath) {
  FFLoader().SetLibraryPath(APath);
  if (FLibLoaded) return true;
  if (!FFLoader().Load(DecoderLibraries)) {
    FLastErrMsg = FFLoader().LastErrMsg();
    return false;
  }
  FLibLoaded = true;
  return true;
}

void TCustomDecoder::UnloadAVLib() {
  if (!FLibLoaded) return;
  // The file goes first: closing it needs the libraries.
  CloseFile();
  FFLoader().Unload(DecoderLibraries);
  FLibLoaded = false;
}

bool TCustomDecoder::LoadFile(const String& AFileName, const String& AFormatName) {
  CheckLibraries();
  CloseFile();
  const AVInputFormat* InputFormat = nullptr;
  if (!AFormatName.empty()) {
    InputFormat = ff::av_find_input_format(AFormatName.c_str());
    if (!InputFormat) {
      FLastErrMsg = Format("Unknown input format: %s", {AFormatName});
      return false;
    }
  }
  AVFormatContext* Ctx = ff::avformat_alloc_context();
  if (!Ctx) {
    LogMessage(AV_LOG_ERROR, PrintError(AFileName, AVERROR(ENOMEM)));
    return false;
  }
  Ctx->flags |= AVFMT_FLAG_NONBLOCK;
  AVDictionary* Options = nullptr;
  const int Ret = OpenFFmpegInput(&Ctx, AFileName, InputFormat, &Options);
  ff::av_dict_free(&Options);
  if (Ret < 0) {
    // The context is freed by a failing open.
    LogMessage(AV_LOG_ERROR, PrintError(AFileName, Ret));
    CloseFile();
    return false;
  }
  FFileHandle = Ctx;
  FOwnHandle = true;
  if (ff::avformat_find_stream_info(Ctx, nullptr) < 0) {
    FLastErrMsg = Format("%s: could not find codec parameters", {AFileName});
    CloseFile();
    return false;
  }
  // A file none of whose streams has a codec the library knows holds nothing usable.
  bool KnownCodec = false;
  for (unsigned I = 0; I < Ctx->nb_streams && !KnownCodec; ++I)
    KnownCodec = Ctx->streams[I]->codecpar->codec_id != AV_CODEC_ID_NONE;
  if (!KnownCodec) {
    FLastErrMsg = Format("%s: no stream with a known codec", {AFileName});
    CloseFile();
    return false;
  }
  UpdateStreamCounts();
  FForceFormat = AFormatName;
  return true;
}

void TCustomDecoder::CloseHandle() {
  if (!FFileHandle) return;
  // Without the libraries (unloaded under an open file) the context can only be forgotten.
  if (FOwnHandle && ff::avformat_close_input) CloseFFmpegInput(&FFileHandle);
  FFileHandle = nullptr;
  FOwnHandle = false;
}

void TCustomDecoder::CloseFile() {
  FForceFormat.clear();
  CloseHandle();
  UpdateStreamCounts();
}

void TCustomDecoder::SetFileHandle(AVFormatContext* Value) {
  if (Value == FFileHandle) return;
  CheckLibraries();
  CloseFile();
  FFileHandle = Value;
  FOwnHandle = false;
  UpdateStreamCounts();
}

void TCustomDecoder::UpdateStreamCounts() {
  FFileSize = -1;
  FStreamCount = FProgramCount = -1;
  FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = -1;
  FFirstAudioStreamIndex = FFirstVideoStreamIndex = FFirstSubtitleStreamIndex = -1;
  if (!FFileHandle) return;

  // The container's size, else the size on disk, else what the container says (0 for a
  // stream of unknown length).
  Int64 ContainerSize = FFileHandle->pb ? ff::avio_size(FFileHandle->pb) : 0;
  if (ContainerSize < 0) ContainerSize = 0;
  if (ContainerSize > 0) {
    FFileSize = ContainerSize;
  } else {
    const Int64 DiskSize = GetFileSizeByName(FileName());
    FFileSize = DiskSize >= 0 ? DiskSize : ContainerSize;
  }

  FStreamCount = static_cast<Integer>(FFileHandle->nb_streams);
  FProgramCount = static_cast<Integer>(FFileHandle->nb_programs);
  FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = 0;
  for (Integer I = 0; I < FStreamCount; ++I) {
    switch (FFileHandle->streams[I]->codecpar->codec_type) {
      case AVMEDIA_TYPE_VIDEO:
        if (FVideoStreamCount++ == 0) FFirstVideoStreamIndex = I;
        break;
      case AVMEDIA_TYPE_AUDIO:
        if (FAudioStreamCount++ == 0) FFirstAudioStreamIndex = I;
        break;
      case AVMEDIA_TYPE_SUBTITLE:
        if (FSubtitleStreamCount++ == 0) FFirstSubtitleStreamIndex = I;
        break;
      default:
        break;
    }
  }
}

String TCustomDecoder::FileName() const {
  if (!FFileHandle || !FFileHandle->url) return String();
  return FromFFmpegFileName(FFileHandle->url);
}

String TCustomDecoder::FormatName() const {
  if (!FFileHandle || !FFileHandle->iformat || !FFileHandle->iformat->name) return String();
  return FFileHandle->iformat->name;
}

String TCustomDecoder::FormatLongName() const {
  if (!FFileHandle || !FFileHandle->iformat || !FFileHandle->iformat->long_name) return String();
  return FFileHandle->iformat->long_name;
}

TFileStreamInfo TCustomDecoder::GetFileStreamInfo() {
  TFileStreamInfo Info;
  if (!FFileHandle) {
    LogMessage(AV_LOG_WARNING, "file not loaded.");
    return Info;
  }
  const AVFormatContext* Ctx = FFileHandle;
  Info.StartTime = Ctx->start_time == AV_NOPTS_VALUE ? -1 : Ctx->start_time;
  Info.Duration = Ctx->duration == AV_NOPTS_VALUE ? -1 : Ctx->duration;
  Info.BitRate = ClampToInteger(Ctx->bit_rate);
  // Time stamp, year and track are tags today; a file without them gives 0.
  Info.TimeStamp = 0;
  const String Created = GetMetadataValue(Ctx->metadata, "creation_time", String());
  int64_t Micro = 0;
  if (!Created.empty() && ff::av_parse_time(&Micro, Created.c_str(), 0) >= 0)
    Info.TimeStamp = Micro / AV_TIME_BASE;
  Info.Year = LeadingNumber(GetMetadataValue(Ctx->metadata, "date", String()));
  Info.Track = LeadingNumber(GetMetadataValue(Ctx->metadata, "track", String()));
  Info.Title = GetMetadataValue(Ctx->metadata, "title", String());
  Info.Author = GetMetadataValue(Ctx->metadata, "author",
                                 GetMetadataValue(Ctx->metadata, "artist", String()));
  Info.Copyright = GetMetadataValue(Ctx->metadata, "copyright", String());
  Info.Comment = GetMetadataValue(Ctx->metadata, "comment", String());
  Info.Album = GetMetadataValue(Ctx->metadata, "album", String());
  Info.Genre = GetMetadataValue(Ctx->metadata, "genre", String());
  return Info;
}

AVStream* TCustomDecoder::StreamFor(Integer AStreamIndex, Integer AMediaType, Integer AFirstIndex,
                                    const char* AKind) {
  if (!FFileHandle) {
    LogMessage(AV_LOG_WARNING, "file not loaded.");
    return nullptr;
  }
  Integer Index = AStreamIndex;
  if (Index < 0) {
    if (AFirstIndex < 0) {
      LogMessage(AV_LOG_ERROR, Format("no %s stream.", {AKind}));
      return nullptr;
    }
    Index = AFirstIndex;
  }
  if (static_cast<unsigned>(Index) >= FFileHandle->nb_streams) {
    LogMessage(AV_LOG_ERROR, Format("stream index #%d is invalid.", {Index}));
    return nullptr;
  }
  AVStream* Stream = FFileHandle->streams[Index];
  if (Stream->codecpar->codec_type != AMediaType) {
    LogMessage(AV_LOG_ERROR, Format("stream #%d is not %s stream.", {Index, AKind}));
    return nullptr;
  }
  return Stream;
}

bool TCustomDecoder::GetAudioStreamInfo(Integer AStreamIndex, TAudioStreamInfo& AInfo) {
  AInfo = TAudioStreamInfo();
  AVStream* Stream = StreamFor(AStreamIndex, AVMEDIA_TYPE_AUDIO, FFirstAudioStreamIndex, "audio");
  if (!Stream) return false;
  const AVCodecParameters* Par = Stream->codecpar;
  AInfo.Language = GetMetadataValue(Stream->metadata, "language", String());
  AInfo.CodecName = GetCodecName(Par, false);
  FillStreamTimes(Stream, AInfo);
  AInfo.BitRate = ClampToInteger(Par->bit_rate);
  // -1: unknown (a damaged file may not say).
  AInfo.Channels = Par->ch_layout.nb_channels > 0 ? Par->ch_layout.nb_channels : -1;
  AInfo.SampleRate = Par->sample_rate > 0 ? Par->sample_rate : -1;
  AInfo.SampleFormat = Par->format;
  return true;
}

bool TCustomDecoder::GetVideoStreamInfo(Integer AStreamIndex, TVideoStreamInfo& AInfo) {
  AInfo = TVideoStreamInfo();
  AVStream* Stream = StreamFor(AStreamIndex, AVMEDIA_TYPE_VIDEO, FFirstVideoStreamIndex, "video");
  if (!Stream) return false;
  const AVCodecParameters* Par = Stream->codecpar;
  AInfo.Language = GetMetadataValue(Stream->metadata, "language", String());
  AInfo.CodecName = GetCodecName(Par, false);
  FillStreamTimes(Stream, AInfo);
  AInfo.BitRate = ClampToInteger(Par->bit_rate);
  // -1: unknown (a damaged file may not say).
  const bool KnownSize = Par->width > 0 && Par->height > 0;
  AInfo.Height = KnownSize ? Par->height : -1;
  AInfo.Width = KnownSize ? Par->width : -1;
  // A sample aspect with denominator 0 (0/0 from some demuxers) is unknown: square
  // pixels. 0/1 is FFmpeg's "unknown" and gives 0, as does a frame without height.
  AVRational Sar = Par->sample_aspect_ratio;
  if (Sar.den == 0) Sar = AVRational{1, 1};
  AInfo.AspectRatio =
      Par->height > 0
          ? static_cast<float>(static_cast<double>(Par->width) * Sar.num / Sar.den / Par->height)
          : 0.0f;
  AInfo.PixFmt = Par->format;
  const TUprightTurn Turn = UprightTurnOf(Stream);
  AInfo.Rotation = Turn.Rotation;
  AInfo.Mirrored = Turn.Flip;
  if (Turn.Transposed()) {
    UprightSize(Turn, AInfo.Width, AInfo.Height);
    if (AInfo.AspectRatio > 0) AInfo.AspectRatio = 1.0f / AInfo.AspectRatio;
  }
  const AVRational Rate = Stream->avg_frame_rate.num != 0 && Stream->avg_frame_rate.den != 0
                              ? Stream->avg_frame_rate
                              : Stream->r_frame_rate;
  AInfo.FrameRate = TAVRational{Rate.num, Rate.den};
  return true;
}

bool TCustomDecoder::GetSubtitleStreamInfo(Integer AStreamIndex, TSubtitleStreamInfo& AInfo) {
  AInfo = TSubtitleStreamInfo();
  AVStream* Stream =
      StreamFor(AStreamIndex, AVMEDIA_TYPE_SUBTITLE, FFirstSubtitleStreamIndex, "subtitle");
  if (!Stream) return false;
  AInfo.Language = GetMetadataValue(Stream->metadata, "language", String());
  AInfo.CodecName = GetCodecName(Stream->codecpar, false);
  return true;
}

TAudioStreamInfo TCustomDecoder::GetAudioStreamInfo(Integer AStreamIndex) {
  TAudioStreamInfo Info;
  GetAudioStreamInfo(AStreamIndex, Info);
  return Info;
}

TVideoStreamInfo TCustomDecoder::GetVideoStreamInfo(Integer AStreamIndex) {
  TVideoStreamInfo Info;
  GetVideoStreamInfo(AStreamIndex, Info);
  return Info;
}

TSubtitleStreamInfo TCustomDecoder::GetSubtitleStreamInfo(Integer AStreamIndex) {
  TSubtitleStreamInfo Info;
  GetSubtitleStreamInfo(AStreamIndex, Info);
  return Info;
}

namespace {

bool IsStreamOfType(const AVFormatContext* ACtx, Integer AStreamIndex, AVMediaType AType) {
  return ACtx && AStreamIndex >= 0 && static_cast<unsigned>(AStreamIndex) < ACtx->nb_streams &&
         ACtx->streams[AStreamIndex]->codecpar->codec_type == AType;
}

}  // namespace

bool TCustomDecoder::IsAudioStream(Integer AStreamIndex) const {
  return IsStreamOfType(FFileHandle, AStreamIndex, AVMEDIA_TYPE_AUDIO);
}

bool TCustomDecoder::IsVideoStream(Integer AStreamIndex) const {
  return IsStreamOfType(FFileHandle, AStreamIndex, AVMEDIA_TYPE_VIDEO);
}

bool TCustomDecoder::IsSubtitleStream(Integer AStreamIndex) const {
  return IsStreamOfType(FFileHandle, AStreamIndex, AVMEDIA_TYPE_SUBTITLE);
}

}  // namespace vantrel::media
