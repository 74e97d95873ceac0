// The handlers of the option vocabulary: each parses one value into the engine's option
// state, raising FFmpegException with the option's own message when the value is wrong.
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "media/AVCodecAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFmpeg.h"
#include "media/Previewer.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::media {

namespace {

constexpr int MaxTsScaleStreams = 20;
constexpr int MatrixSize = 64;
constexpr int MaxHookWords = 64;
constexpr Integer ComplianceExperimental = -2;

// A left-to-right reader of C numbers with single separators between them.
struct TScan {
  const char* P;
  long Int() {
    char* End;
    const long V = std::strtol(P, &End, 0);
    P = End;
    return V;
  }
  double Dec() {
    char* End;
    const double V = std::strtod(P, &End);
    P = End;
    return V;
  }
  bool AtEnd() const { return *P == 0; }
  void SkipSeparator() {
    if (*P) ++P;
  }
};

}  // namespace

// --- plain setters ---

void TCustomFFmpeg::SetForceFormat(const String& AName) {
  if (!AName.empty()) Flast_asked_format = AName;
}

bool TCustomFFmpeg::SetGenericOption(const String& AName, const String& AValue) {
  return OptDefault(FOptions, AName, AValue);
}

bool TCustomFFmpeg::SetGenericOptionInt(const String& AName, Integer AValue) {
  return SetGenericOption(AName, IntToStr(AValue));
}

void TCustomFFmpeg::RaiseOptionError() {
  String Msg = LastOptionError();
  if (Msg.empty()) Msg = "Invalid option";
  throw FFmpegException(Msg);
}

// Options of capture devices and of old encoders that have no counterpart any more:
// accepted while they would change nothing, refused otherwise.
void TCustomFFmpeg::SetMeThreshold(Integer N) {
  if (N != 0) throw FFmpegException("Removed, motion estimation thresholds are not supported");
  Fme_threshold = 0;
}

void TCustomFFmpeg::SetVideoChannel(Integer N) {
  if (N != 0) throw FFmpegException("Removed, capture device channels are not supported");
  Fvideo_channel = 0;
}

void TCustomFFmpeg::SetVideoStandard(const String& AText) {
  if (!AText.empty()) throw FFmpegException("Removed, capture device TV standards are not supported");
  Fvideo_standard.clear();
}

void TCustomFFmpeg::SetAudioRate(Integer N) {
  if (N > 0) Faudio_sample_rate = N;
}

void TCustomFFmpeg::SetAudioChannels(Integer N) {
  if (N > 0) Faudio_channels = N;
}

void TCustomFFmpeg::SetAudioVolume(Integer N) {
  if (N >= 0) Faudio_volume = N;
}

void TCustomFFmpeg::SetMuxMaxDelay(Single X) {
  if (X > 0) Fmux_max_delay = X;
}

void TCustomFFmpeg::SetMuxPreload(Single X) {
  if (X > 0) Fmux_preload = X;
}

void TCustomFFmpeg::SetStartTime(Int64 T) {
  if (T != NoPTSValue) Fstart_time = T;
}

void TCustomFFmpeg::SetRecordingTime(Int64 T) {
  if (T == NoPTSValue) return;
  Frecording_time = T;
  FTotalOutputDuration = T;
}

void TCustomFFmpeg::SetProgramID(Integer N) {
  if (N >= 0) Fopt_programid = N;
}

void TCustomFFmpeg::SetVFilters(const String& AText) {
  if (!AText.empty()) Fvfilters = AText;
}

void TCustomFFmpeg::SetMetadata(const String& AKey, const String& AValue) {
  if (ff::av_dict_set(&Fmetadata, AKey.c_str(), AValue.c_str(), 0) < 0)
    throw FFmpegException("Could not set metadata " + AKey);
}

void TCustomFFmpeg::SetPostHooks(TPostHooks AFlags) {
  if (AFlags == FPostHooks) return;
  if (FPostHooks.Contains(phPreview) && !AFlags.Contains(phPreview))
    FOutputVideoHook.Previewer.reset();
  FPostHooks = AFlags;
}

void TCustomFFmpeg::ChangePostHooks(TPostHooks AFlags) {
  std::lock_guard<TCriticalSection> L(PostHookLock());
  SetPostHooks(AFlags);
  FPostHooksChanged = true;
}

// --- codec choice ---

void TCustomFFmpeg::SetCodecName(Integer& ACopyFlag, String& ACodecName, const String& AName) {
  ACodecName.clear();
  if (AName == "copy")
    ACopyFlag = 1;
  else
    ACodecName = AName;
}

void TCustomFFmpeg::SetVideoCodec(const String& AName) {
  if (!AName.empty()) SetCodecName(Fvideo_stream_copy, Fvideo_codec_name, AName);
}

void TCustomFFmpeg::SetAudioCodec(const String& AName) {
  if (!AName.empty()) SetCodecName(Faudio_stream_copy, Faudio_codec_name, AName);
}

void TCustomFFmpeg::SetSubtitleCodec(const String& AName) {
  if (!AName.empty()) SetCodecName(Fsubtitle_stream_copy, Fsubtitle_codec_name, AName);
}

bool TCustomFFmpeg::FindCodec(const String& AName, Integer AMediaType, Integer& ACodecID,
                              Integer AStrictness, bool AEncoder) {
  ACodecID = 0;
  if (AName.empty()) return true;
  const char* Kind = AEncoder ? "encoder" : "decoder";
  const AVCodec* Codec = AEncoder ? ff::avcodec_find_encoder_by_name(AName.c_str())
                                  : ff::avcodec_find_decoder_by_name(AName.c_str());
  if (!Codec) {
    FLastErrMsg = Format("Unknown %s '%s'", {Kind, AName});
    return false;
  }
  if (Codec->type != AMediaType) {
    FLastErrMsg = Format("Invalid %s type '%s'", {Kind, AName});
    return false;
  }
  if ((Codec->capabilities & AV_CODEC_CAP_EXPERIMENTAL) && AStrictness > ComplianceExperimental) {
    FLastErrMsg = Format(
        "%s '%s' is experimental and might produce bad results.\r\nAdd '-strict experimental' if you want to use it.",
        {Kind, Codec->name});
    const AVCodec* Other = AEncoder ? ff::avcodec_find_encoder(Codec->id) : ff::avcodec_find_decoder(Codec->id);
    if (Other && !(Other->capabilities & AV_CODEC_CAP_EXPERIMENTAL))
      FLastErrMsg += "\r\n" + Format("Or use the non experimental %s '%s'.", {Kind, Other->name});
    return false;
  }
  ACodecID = Codec->id;
  return true;
}

// --- texts with syntax ---

void TCustomFFmpeg::SetFrameRate(const String& AText) {
  if (AText.empty()) return;
  AVRational R{0, 0};
  if (ff::av_parse_video_rate(&R, AText.c_str()) < 0) throw FFmpegException("Incorrect frame rate");
  Fframe_rate = {R.num, R.den};
}

void TCustomFFmpeg::SetFrameSize(const String& AText) {
  if (AText.empty()) return;
  int W = 0, H = 0;
  if (ff::av_parse_video_size(&W, &H, AText.c_str()) < 0) throw FFmpegException("Incorrect frame size");
  Fframe_width = W;
  Fframe_height = H;
}

void TCustomFFmpeg::SetAspectRatio(const String& AText) {
  if (AText.empty()) return;
  double Ratio = 0;
  const size_t Colon = AText.find(':');
  if (Colon != String::npos) {
    const Integer X = StrToIntDef(AText.substr(0, Colon), 0);
    const Integer Y = StrToIntDef(AText.substr(Colon + 1), 0);
    if (Y > 0) Ratio = static_cast<double>(X) / Y;
  } else {
    Ratio = static_cast<double>(StrToFloatDef(AText, 0));
  }
  if (Ratio == 0) throw FFmpegException("Incorrect aspect ratio specification.");
  Fframe_aspect_ratio = static_cast<Single>(Ratio);
}

void TCustomFFmpeg::ListFormats(const std::function<String(Integer)>& ADescribe, Integer ACount) {
  for (Integer I = -1; I < ACount; ++I) Log(llInfo, Trim(ADescribe(I)));
}

void TCustomFFmpeg::SetPixelFormat(const String& AName) {
  if (AName == "list") {
    ListFormats(
        [](Integer I) {
          char Buf[128] = {};
          ff::av_get_pix_fmt_string(Buf, sizeof Buf, static_cast<AVPixelFormat>(I));
          return String(Buf);
        },
        AV_PIX_FMT_NB);
    return;
  }
  Fframe_pix_fmt = ff::av_get_pix_fmt(AName.c_str());
  if (Fframe_pix_fmt == -1) throw FFmpegException(Format("Unknown pixel format requested: %s", {AName}));
}

void TCustomFFmpeg::SetSampleFormat(const String& AName) {
  if (AName == "list") {
    ListFormats(
        [](Integer I) {
          char Buf[128] = {};
          ff::av_get_sample_fmt_string(Buf, sizeof Buf, static_cast<AVSampleFormat>(I));
          return String(Buf);
        },
        AV_SAMPLE_FMT_NB);
    return;
  }
  Faudio_sample_fmt = ff::av_get_sample_fmt(AName.c_str());
  if (Faudio_sample_fmt == -1) throw FFmpegException(Format("Invalid sample format \"%s\"", {AName}));
}

void TCustomFFmpeg::SetQScale(Single Q) {
  if (Q <= 0 || Q > 255) throw FFmpegException("qscale must be > 0.0 and <= 255");
  Fvideo_qscale = Q;
}

void TCustomFFmpeg::SetThreadCount(Integer N) {
  Fthread_count = N;
  if (Fverbose >= 0)
    Log(llVerbose,
        "Warning: if the ffmpeg libraries were not compiled with thread support, it would be using thread emulation.");
}

void TCustomFFmpeg::SetPass(Integer N) {
  if (N != 1 && N != 2) throw FFmpegException("pass number can be only 1 or 2");
  Fdo_pass = N;
}

bool TCustomFFmpeg::SetBitrate(const String& AName, const String& AValue) {
  if (!SetGenericOption(AName, AValue)) {
    if (HaltOnInvalidOption) RaiseOptionError();
    return false;
  }
  AVCodecContext* Template = FOptions.avcodec_opts[AName.starts_with("a") ? mtAudio : mtVideo];
  int64_t Bits = 0;
  if (Template && ff::av_opt_get_int(Template, "b", 0, &Bits) >= 0 && Bits < 1000)
    Log(llWarning, "WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s");
  return true;
}

void TCustomFFmpeg::SetCodecTag(const String& AName, const String& AText) {
  if (AText.empty()) return;
  Cardinal* Tag;
  if (AName == "atag")
    Tag = &Faudio_codec_tag;
  else if (AName == "vtag")
    Tag = &Fvideo_codec_tag;
  else if (AName == "stag")
    Tag = &Fsubtitle_codec_tag;
  else
    throw FFmpegException(Format("Invalid tag parmeter %s", {AName}));
  Int64 Number;
  if (TryStrToInt64(AText, Number)) {
    *Tag = static_cast<Cardinal>(Number);
    return;
  }
  if (AText.size() != 4) throw FFmpegException("tag parameter must be 4 chars or int value");
  const auto* B = reinterpret_cast<const unsigned char*>(AText.data());
  *Tag = Cardinal{B[0]} | Cardinal{B[1]} << 8 | Cardinal{B[2]} << 16 | Cardinal{B[3]} << 24;
}

void TCustomFFmpeg::SetMetadataOption(const String& AText) {
  const size_t Eq = AText.find('=');
  if (Eq == String::npos) throw FFmpegException("Missing =");
  if (Eq == 0) throw FFmpegException("wrong parameter of metadata");
  SetMetadata(AText.substr(0, Eq), AText.substr(Eq + 1));
}

void TCustomFFmpeg::SetStreamId(const String& AName, const String& AValue) {
  if (AName.empty() || AValue.empty()) return;
  const size_t Colon = AValue.find(':');
  Integer Index = 0, Id = 0;
  const bool Ok = Colon != String::npos && TryStrToInt(AValue.substr(0, Colon), Index) &&
                  TryStrToInt(AValue.substr(Colon + 1), Id) && Index >= 0;
  if (!Ok)
    throw FFmpegException(Format(
        "Invalid value \"%s\" for option \"%s\", required syntax is \"index:value\"", {AValue, AName}));
  GrowArray(Fstreamid_map, Int64{Index} + 1);
  Fstreamid_map[Index] = Id;
}

void TCustomFFmpeg::AddStreamMap(const String& AText) {
  TScan S{AText.c_str()};
  TAVStreamMap M;
  M.file_index = static_cast<Integer>(S.Int());
  S.SkipSeparator();
  M.stream_index = static_cast<Integer>(S.Int());
  if (!S.AtEnd()) {
    S.SkipSeparator();
    M.sync_file_index = static_cast<Integer>(S.Int());
    S.SkipSeparator();
    M.sync_stream_index = static_cast<Integer>(S.Int());
  } else {
    M.sync_file_index = M.file_index;
    M.sync_stream_index = M.stream_index;
  }
  Fstream_maps.push_back(M);
}

void TCustomFFmpeg::AddMetaDataMap(const String& AText) {
  TScan S{AText.c_str()};
  auto ParseMetaType = [&S](TAVMetaDataMap& M) {
    M.type_ = 'g';
    if (*S.P != ',') return;
    ++S.P;
    const char C = *S.P;
    switch (C) {
      case 'g':
        ++S.P;
        break;
      case 's':
      case 'c':
      case 'p':
        M.type_ = C;
        ++S.P;
        M.index = static_cast<Integer>(S.Int());
        break;
      default:
        throw FFmpegException(Format("Invalid metadata type %s.", {String(1, C)}));
    }
  };
  TAVMetaDataMap Out, In;
  Out.file_idx = static_cast<Integer>(S.Int());
  ParseMetaType(Out);
  S.SkipSeparator();
  In.file_idx = static_cast<Integer>(S.Int());
  ParseMetaType(In);
  for (const TAVMetaDataMap& M : {Out, In}) {
    if (M.type_ == 'g') Fmetadata_global_autocopy = 0;
    if (M.type_ == 's') Fmetadata_streams_autocopy = 0;
    if (M.type_ == 'c') Fmetadata_chapters_autocopy = 0;
  }
  Fmeta_data_maps.push_back(Out);
  Fmeta_data_maps.push_back(In);
}

void TCustomFFmpeg::AddChapterMap(const String& AText) {
  TScan S{AText.c_str()};
  TAVChapterMap M;
  M.out_file = static_cast<Integer>(S.Int());
  S.SkipSeparator();
  M.in_file = static_cast<Integer>(S.Int());
  Fchapter_maps.push_back(M);
}

void TCustomFFmpeg::SetInputTsScale(const String& AText) {
  TScan S{AText.c_str()};
  const long Stream = S.Int();
  S.SkipSeparator();
  const double Scale = S.Dec();
  if (Stream < 0 || Stream >= MaxTsScaleStreams)
    throw FFmpegException(Format("stream index over MAX_STREAMS(%d)", {MaxTsScaleStreams}));
  if (Fnb_input_files >= FMaxFiles) throw FFmpegException("Too many input files");
  std::vector<Double>& Scales = Finput_files_ts_scale[Fnb_input_files];
  GrowArray(Scales, Stream + 1);
  Scales[Stream] = Scale;
}

void TCustomFFmpeg::SetRecordingTimeText(const String& AName, const String& AText) {
  SetRecordingTime(ParseTime(AName, AText, true));
}

void TCustomFFmpeg::SetStartTimeText(const String& AName, const String& AText) {
  Fstart_time = ParseTime(AName, AText, true);
}

void TCustomFFmpeg::SetInputTsOffset(const String& AName, const String& AText) {
  Finput_ts_offset = ParseTime(AName, AText, true);
}

// The time goes into the next output as its "creation_time" tag.
void TCustomFFmpeg::SetRecordingTimestamp(const String& AName, const String& AText) {
  const Int64 Micro = ParseTime(AName, AText, false);
  Frecording_timestamp = Round(static_cast<Extended>(Micro) / 1000000);
  const std::time_t Seconds = static_cast<std::time_t>(Frecording_timestamp);
  std::tm Utc{};
  gmtime_r(&Seconds, &Utc);
  char Text[64];
  std::strftime(Text, sizeof Text, "%Y-%m-%dT%H:%M:%S.000000Z", &Utc);
  SetMetadata("creation_time", Text);
}

std::vector<uint16_t>& TCustomFFmpeg::ParseMatrix(std::vector<uint16_t>& AMatrix, const String& AText) {
  AMatrix.assign(MatrixSize, 0);
  const char* P = AText.c_str();
  for (int I = 0; I < MatrixSize; ++I) {
    AMatrix[I] = static_cast<uint16_t>(std::atoi(P));
    if (I == MatrixSize - 1) break;
    const char* Comma = std::strchr(P, ',');
    if (!Comma) throw FFmpegException(Format("Syntax error in matrix \"%s\" at coeff %d", {AText, I}));
    P = Comma + 1;
  }
  return AMatrix;
}

void TCustomFFmpeg::SetIntraMatrix(const String& AText) { ParseMatrix(Fintra_matrix, AText); }
void TCustomFFmpeg::SetInterMatrix(const String& AText) { ParseMatrix(Finter_matrix, AText); }

void TCustomFFmpeg::SetVStatsFile(const String& AText) { Fvstats_filename = AText; }

// In the private temp folder (the program's folder is not writable), unique per task.
void TCustomFFmpeg::SetVStats(bool AOn) {
  static std::atomic<int> Counter{0};
  Fvstats_filename.clear();
  if (!AOn) return;
  Fvstats_filename = Format("%svstats_%s_%d.log",
                            {GetTempFolder(), FormatDateTime("hhnnss", ::Now()), ++Counter});
}

void TCustomFFmpeg::AddBitstreamFilter(const String& AName, const String& AValue) {
  if (AName.empty() || AValue.empty() || AValue[0] == '=') return;
  const String FilterName = AValue.substr(0, AValue.find('='));
  const AVBitStreamFilter* Filter = ff::av_bsf_get_by_name(FilterName.c_str());
  if (!Filter) throw FFmpegException(Format("Unknown bitstream filter %s", {Trim(AValue)}));
  if (AName[0] == 'v')
    Fvideo_bitstream_filters.push_back(Filter);
  else if (AName[0] == 'a')
    Faudio_bitstream_filters.push_back(Filter);
  else
    Fsubtitle_bitstream_filters.push_back(Filter);
}

void TCustomFFmpeg::AddVideoHook(const String& AText) {
  const bool Bars = AText.find('|') != String::npos;
  std::vector<String> Words;
  String Word;
  auto Flush = [&] {
    if (!Word.empty() && static_cast<int>(Words.size()) < MaxHookWords) Words.push_back(Word);
    Word.clear();
  };
  for (char C : AText) {
    const bool Sep = Bars ? C == '|' : (C == ' ' || C == '\t');
    if (Sep)
      Flush();
    else
      Word += C;
  }
  Flush();
  if (FrameHookAdd(FFirstHook, Words) != 0)
    throw FFmpegException("Failed to add video hook function: " + AText);
  Fusing_vhook = true;
}

}  // namespace vantrel::media
