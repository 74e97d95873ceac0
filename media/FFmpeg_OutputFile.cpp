// Creating the output files of a conversion task: the muxer is chosen, the output's
// video, audio and subtitle streams are made from the option state with their encoder
// contexts, the file is opened for writing, and a join task gets one output entry per
// input on the same file.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFUpright.h"
#include "media/FFmpeg_Detail.h"
#include "media/FFmpeg.h"
#include "media/UnicodeProtocol.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"

namespace vantrel::media {

namespace {

using detail::TOptionDict;
using detail::TScopeExit;

// The longest file name a context keeps, with its terminator.
constexpr size_t MaxFileNameSize = 1024;
// Numerator and denominator limit of a sample aspect ratio.
constexpr int MaxAspectTerm = 255;

// Whether the muxer's private options include AName.
bool MuxerKnows(const AVOutputFormat* AFormat, const char* AName) {
  const AVClass* Class = AFormat ? AFormat->priv_class : nullptr;
  if (!Class) return false;
  return ff::av_opt_find(const_cast<const AVClass**>(&Class), AName, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ) != nullptr;
}

uint16_t* CopyMatrix(const std::vector<uint16_t>& AMatrix) {
  auto* M = static_cast<uint16_t*>(ff::av_malloc(AMatrix.size() * sizeof(uint16_t)));
  if (!M) throw EOutOfMemory("Out of memory");
  std::copy(AMatrix.begin(), AMatrix.end(), M);
  return M;
}

// "start,end,q/start,end,q...": q > 0 is a quantizer, q <= 0 a quality factor of -q %.
void ParseRcOverride(const String& AText, AVCodecContext* ACtx) {
  std::vector<RcOverride> Entries;
  const char* P = AText.c_str();
  while (P && *P) {
    int Start = 0, End = 0, Q = 0;
    int Used = 0;
    if (std::sscanf(P, "%d,%d,%n", &Start, &End, &Used) != 2 || Used == 0)
      throw FFmpegException("error parsing rc_override");
    Q = std::atoi(P + Used);
    RcOverride R{};
    R.start_frame = Start;
    R.end_frame = End;
    if (Q > 0) {
      R.qscale = Q;
      R.quality_factor = 1.0f;
    } else {
      R.qscale = 0;
      R.quality_factor = static_cast<float>(-Q) / 100.0f;
    }
    Entries.push_back(R);
    P = std::strchr(P, '/');
    if (P) ++P;
  }
  ff::av_freep(&ACtx->rc_override);
  ACtx->rc_override_count = 0;
  if (Entries.empty()) return;
  auto* Table = static_cast<RcOverride*>(ff::av_malloc(Entries.size() * sizeof(RcOverride)));
  if (!Table) throw EOutOfMemory("Out of memory");
  std::copy(Entries.begin(), Entries.end(), Table);
  ACtx->rc_override = Table;
  ACtx->rc_override_count = static_cast<int>(Entries.size());
}

// The codec options of the template for this kind of stream: those the context takes
// are set now (so the record shows them), the rest stay for avcodec_open2.
void ApplyCodecOptions(const TFFOptions& AOptions, AVCodecContext* ACtx, AVMediaType AType,
                       Integer AFlags, const AVCodec* ACodec, TAVOutputStream& AOst) {
  TOptionDict Opts;
  SetContextOpts(AOptions, ACtx, AOptions.codec_dict[AType], AFlags | AV_OPT_FLAG_ENCODING_PARAM, ACodec,
                 &Opts.D);
  if (Opts.D && ff::av_opt_set_dict2(ACtx, &Opts.D, AV_OPT_SEARCH_CHILDREN) < 0)
    throw FFmpegException("Invalid codec option");
  AOst.encoder_opts = Opts.List();
}

void SetStreamLanguage(AVStream* st, String& ALanguage) {
  if (ALanguage.empty()) return;
  ff::av_dict_set(&st->metadata, "language", ALanguage.c_str(), 0);
  ALanguage.clear();
}

}  // namespace

void TCustomFFmpeg::SetRecordingTimestampValue(Int64 ASeconds) {
  Frecording_timestamp = ASeconds;
  const std::time_t Seconds = static_cast<std::time_t>(ASeconds);
  std::tm Utc{};
  gmtime_r(&Seconds, &Utc);
  char Text[64];
  std::strftime(Text, sizeof Text, "%Y-%m-%dT%H:%M:%S.000000Z", &Utc);
  SetMetadata("creation_time", Text);
}

void TCustomFFmpeg::check_audio_video_sub_inputs(bool& has_video, bool& has_audio, bool& has_subtitle,
                                                 bool AFirstOnly) {
  has_video = has_audio = has_subtitle = false;
  const Integer Count = AFirstOnly ? std::min(Fnb_input_files, 1) : Fnb_input_files;
  for (Integer J = 0; J < Count; ++J) {
    const AVFormatContext* ic = Finput_files[J];
    for (unsigned I = 0; ic && I < ic->nb_streams; ++I) {
      switch (ic->streams[I]->codecpar->codec_type) {
        case AVMEDIA_TYPE_VIDEO:
          has_video = true;
          break;
        case AVMEDIA_TYPE_AUDIO:
          has_audio = true;
          break;
        case AVMEDIA_TYPE_SUBTITLE:
          has_subtitle = true;
          break;
        case AVMEDIA_TYPE_UNKNOWN:
        case AVMEDIA_TYPE_DATA:
        case AVMEDIA_TYPE_ATTACHMENT:
          break;
        default:
          throw FFmpegException("invalid codec_type of input file");
      }
    }
  }
}

void TCustomFFmpeg::new_video_stream(AVFormatContext* oc, Integer AFileIndex) {
  const unsigned Count = oc->nb_streams;
  AVStream* st = ff::avformat_new_stream(oc, nullptr);
  if (!st) {
    Fvideo_codec_name.clear();
    throw FFmpegException("Could not alloc stream");
  }
  st->id = Count < Fstreamid_map.size() ? Fstreamid_map[Count] : 0;
  TAVOutputStream* ost = NewOutputStream(oc, AFileIndex);
  Foutput_codecs.push_back(nullptr);

  AVCodecContext* Template = FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO];
  const AVCodec* codec = nullptr;
  AVCodecID codec_id = AV_CODEC_ID_NONE;
  if (!Fvideo_stream_copy) {
    if (!Fvideo_codec_name.empty()) {
      Integer Id = 0;
      if (!FindCodec(Fvideo_codec_name, AVMEDIA_TYPE_VIDEO, Id, Template->strict_std_compliance, true)) {
        Fvideo_codec_name.clear();
        throw FFmpegException(FLastErrMsg);
      }
      codec_id = static_cast<AVCodecID>(Id);
      codec = ff::avcodec_find_encoder_by_name(Fvideo_codec_name.c_str());
      Foutput_codecs.back() = codec;
    } else {
      codec_id = ff::av_guess_codec(oc->oformat, nullptr, oc->url, nullptr, AVMEDIA_TYPE_VIDEO);
      codec = ff::avcodec_find_encoder(codec_id);
    }
  }

  ost->enc_ctx.reset(ff::avcodec_alloc_context3(codec));
  if (!ost->enc_ctx) throw EOutOfMemory("Out of memory");
  AVCodecContext* ctx = ost->enc_ctx.get();
  ost->bitstream_filters = std::move(Fvideo_bitstream_filters);
  Fvideo_bitstream_filters.clear();
  ctx->thread_count = Fthread_count;
  if (Fvideo_codec_tag) ctx->codec_tag = Fvideo_codec_tag;

  if ((Fvideo_global_header & 1) || (Fvideo_global_header == 0 && (oc->oformat->flags & AVFMT_GLOBALHEADER))) {
    ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    Template->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  }
  if (Fvideo_global_header & 2) {
    ctx->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
    Template->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
  }

  auto AspectRatio = [this](Integer AWidth, Integer AHeight) {
    const double d = (AWidth && AHeight) ? static_cast<double>(Fframe_aspect_ratio) * AHeight / AWidth
                                         : static_cast<double>(Fframe_aspect_ratio) * 3.0 / 4.0;
    return ff::av_d2q(d, MaxAspectTerm);
  };

  ctx->codec_type = AVMEDIA_TYPE_VIDEO;
  if (Fvideo_stream_copy) {
    ost->stream_copy = 1;
    st->sample_aspect_ratio = ctx->sample_aspect_ratio = AspectRatio(Fframe_width, Fframe_height);
  } else {
    // A rate without a denominator (none known) counts as none.
    AVRational fps{Fframe_rate.num, Fframe_rate.den};
    if (fps.num <= 0 || fps.den <= 0) fps = {25, 1};
    ctx->codec_id = codec_id;
    ApplyCodecOptions(FOptions, ctx, AVMEDIA_TYPE_VIDEO, AV_OPT_FLAG_VIDEO_PARAM, codec, *ost);
    if (codec && codec->supported_framerates && !Fforce_fps)
      fps = codec->supported_framerates[ff::av_find_nearest_q_idx(fps, codec->supported_framerates)];
    ctx->time_base = {fps.den, fps.num};
    ctx->width = Fframe_width;
    ctx->height = Fframe_height;
    st->sample_aspect_ratio = ctx->sample_aspect_ratio = AspectRatio(ctx->width, ctx->height);
    ctx->pix_fmt = static_cast<AVPixelFormat>(Fframe_pix_fmt);
    ChoosePixelFormat(ctx, codec);
    if (Fintra_only) ctx->gop_size = 0;
    if (Fvideo_qscale != 0 || Fsame_quality) {
      ctx->flags |= AV_CODEC_FLAG_QSCALE;
      ctx->global_quality = static_cast<int>(std::lrint(FF_QP2LAMBDA * static_cast<double>(Fvideo_qscale)));
    }
    if (!Fintra_matrix.empty()) {
      ff::av_freep(&ctx->intra_matrix);
      ctx->intra_matrix = CopyMatrix(Fintra_matrix);
    }
    if (!Finter_matrix.empty()) {
      ff::av_freep(&ctx->inter_matrix);
      ctx->inter_matrix = CopyMatrix(Finter_matrix);
    }
    if (!Fvideo_rc_override_string.empty()) ParseRcOverride(Fvideo_rc_override_string, ctx);
    if (!ctx->rc_initial_buffer_occupancy) ctx->rc_initial_buffer_occupancy = ctx->rc_buffer_size * 3 / 4;
    ctx->intra_dc_precision = Fintra_dc_precision - 8;
    if (Fdo_psnr) ctx->flags |= AV_CODEC_FLAG_PSNR;
    if (Fdo_pass == 1) ctx->flags |= AV_CODEC_FLAG_PASS1;
    if (Fdo_pass == 2) ctx->flags |= AV_CODEC_FLAG_PASS2;
    if (!Fforced_key_frames.empty()) ParseForcedKeyFrames(Fforced_key_frames, *ost, ctx);
  }
  st->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
  st->codecpar->codec_id = ctx->codec_id;
  SetStreamLanguage(st, Fvideo_language);

  Fvideo_disable = false;
  Fvideo_codec_name.clear();
  Fforced_key_frames.clear();
  Fvideo_stream_copy = 0;
  Fframe_pix_fmt = -1;
}

void TCustomFFmpeg::new_audio_stream(AVFormatContext* oc, Integer AFileIndex) {
  const unsigned Count = oc->nb_streams;
  AVStream* st = ff::avformat_new_stream(oc, nullptr);
  if (!st) {
    Faudio_codec_name.clear();
    Faudio_language.clear();
    throw FFmpegException("Could not alloc stream");
  }
  st->id = Count < Fstreamid_map.size() ? Fstreamid_map[Count] : 0;
  TAVOutputStream* ost = NewOutputStream(oc, AFileIndex);
  Foutput_codecs.push_back(nullptr);

  AVCodecContext* Template = FOptions.avcodec_opts[AVMEDIA_TYPE_AUDIO];
  const AVCodec* codec = nullptr;
  AVCodecID codec_id = AV_CODEC_ID_NONE;
  if (!Faudio_stream_copy) {
    if (!Faudio_codec_name.empty()) {
      Integer Id = 0;
      if (!FindCodec(Faudio_codec_name, AVMEDIA_TYPE_AUDIO, Id, Template->strict_std_compliance, true)) {
        Faudio_codec_name.clear();
        Faudio_language.clear();
        throw FFmpegException(FLastErrMsg);
      }
      codec_id = static_cast<AVCodecID>(Id);
      codec = ff::avcodec_find_encoder_by_name(Faudio_codec_name.c_str());
      Foutput_codecs.back() = codec;
    } else {
      codec_id = ff::av_guess_codec(oc->oformat, nullptr, oc->url, nullptr, AVMEDIA_TYPE_AUDIO);
      codec = ff::avcodec_find_encoder(codec_id);
    }
  }

  ost->enc_ctx.reset(ff::avcodec_alloc_context3(codec));
  if (!ost->enc_ctx) throw EOutOfMemory("Out of memory");
  AVCodecContext* ctx = ost->enc_ctx.get();
  ost->bitstream_filters = std::move(Faudio_bitstream_filters);
  Faudio_bitstream_filters.clear();
  ctx->thread_count = Fthread_count;
  if (Faudio_codec_tag) ctx->codec_tag = Faudio_codec_tag;
  if (oc->oformat->flags & AVFMT_GLOBALHEADER) {
    ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    Template->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  }

  ctx->codec_type = AVMEDIA_TYPE_AUDIO;
  if (Faudio_stream_copy) {
    ost->stream_copy = 1;
    ff::av_channel_layout_uninit(&ctx->ch_layout);
    ff::av_channel_layout_default(&ctx->ch_layout, Faudio_channels);
    ctx->sample_rate = Faudio_sample_rate;
  } else {
    ctx->codec_id = codec_id;
    ApplyCodecOptions(FOptions, ctx, AVMEDIA_TYPE_AUDIO, AV_OPT_FLAG_AUDIO_PARAM, codec, *ost);
    if (Faudio_qscale > -99999.0f) {
      ctx->flags |= AV_CODEC_FLAG_QSCALE;
      ctx->global_quality = static_cast<int>(std::lrint(FF_QP2LAMBDA * static_cast<double>(Faudio_qscale)));
    }
    // The input's layout when it has as many channels as asked for, else the usual
    // layout of that many channels.
    ff::av_channel_layout_uninit(&ctx->ch_layout);
    const auto Mask = static_cast<uint64_t>(Fchannel_layout);
    if (Mask == 0 || ff::av_channel_layout_from_mask(&ctx->ch_layout, Mask) < 0 ||
        ctx->ch_layout.nb_channels != Faudio_channels) {
      ff::av_channel_layout_uninit(&ctx->ch_layout);
      ff::av_channel_layout_default(&ctx->ch_layout, Faudio_channels);
    }
    ctx->sample_fmt = static_cast<AVSampleFormat>(Faudio_sample_fmt);
    ctx->sample_rate = Faudio_sample_rate;
    ChooseSampleFormat(ctx, codec);
    ChooseSampleRate(ctx, codec);
  }
  // The rate the encoder really runs at (it may differ from the one asked for).
  ctx->time_base = {1, ctx->sample_rate > 0 ? ctx->sample_rate : Faudio_sample_rate};
  st->codecpar->codec_type = AVMEDIA_TYPE_AUDIO;
  st->codecpar->codec_id = ctx->codec_id;
  SetStreamLanguage(st, Faudio_language);

  Faudio_disable = false;
  Faudio_codec_name.clear();
  Faudio_stream_copy = 0;
}

void TCustomFFmpeg::new_subtitle_stream(AVFormatContext* oc, Integer AFileIndex) {
  const unsigned Count = oc->nb_streams;
  AVStream* st = ff::avformat_new_stream(oc, nullptr);
  if (!st) {
    Fsubtitle_codec_name.clear();
    Fsubtitle_language.clear();
    throw FFmpegException("Could not alloc stream");
  }
  st->id = Count < Fstreamid_map.size() ? Fstreamid_map[Count] : 0;
  TAVOutputStream* ost = NewOutputStream(oc, AFileIndex);
  Foutput_codecs.push_back(nullptr);

  AVCodecContext* Template = FOptions.avcodec_opts[AVMEDIA_TYPE_SUBTITLE];
  const AVCodec* codec = nullptr;
  AVCodecID codec_id = AV_CODEC_ID_NONE;
  if (!Fsubtitle_stream_copy) {
    if (!Fsubtitle_codec_name.empty()) {
      Integer Id = 0;
      if (!FindCodec(Fsubtitle_codec_name, AVMEDIA_TYPE_SUBTITLE, Id, Template->strict_std_compliance, true)) {
        Fsubtitle_codec_name.clear();
        Fsubtitle_language.clear();
        throw FFmpegException(FLastErrMsg);
      }
      codec_id = static_cast<AVCodecID>(Id);
      codec = ff::avcodec_find_encoder_by_name(Fsubtitle_codec_name.c_str());
    } else {
      codec_id = ff::av_guess_codec(oc->oformat, nullptr, oc->url, nullptr, AVMEDIA_TYPE_SUBTITLE);
      codec = ff::avcodec_find_encoder(codec_id);
    }
    Foutput_codecs.back() = codec;
  }

  ost->enc_ctx.reset(ff::avcodec_alloc_context3(codec));
  if (!ost->enc_ctx) throw EOutOfMemory("Out of memory");
  AVCodecContext* ctx = ost->enc_ctx.get();
  ost->bitstream_filters = std::move(Fsubtitle_bitstream_filters);
  Fsubtitle_bitstream_filters.clear();
  ctx->thread_count = Fthread_count;
  if (Fsubtitle_codec_tag) ctx->codec_tag = Fsubtitle_codec_tag;
  if (oc->oformat->flags & AVFMT_GLOBALHEADER) {
    ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    Template->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  }
  ctx->codec_type = AVMEDIA_TYPE_SUBTITLE;
  if (Fsubtitle_stream_copy) {
    ost->stream_copy = 1;
  } else {
    ctx->codec_id = codec_id;
    ApplyCodecOptions(FOptions, ctx, AVMEDIA_TYPE_SUBTITLE, AV_OPT_FLAG_SUBTITLE_PARAM, codec, *ost);
  }
  st->codecpar->codec_type = AVMEDIA_TYPE_SUBTITLE;
  st->codecpar->codec_id = ctx->codec_id;
  SetStreamLanguage(st, Fsubtitle_language);

  Fsubtitle_disable = false;
  Fsubtitle_codec_name.clear();
  Fsubtitle_stream_copy = 0;
}

Integer TCustomFFmpeg::OpenOutputFile(const String& AFileName, bool AJoin) {
  if (FJoinMode) {
    FLastErrMsg = "Cannot join more than one output file.";
    return -1;
  }
  const Integer index = Fnb_output_files;
  // The tables hold FMaxFiles outputs.
  if (index >= FMaxFiles) {
    FLastErrMsg = Format("max output files %d reached", {FMaxFiles});
    return -1;
  }
  // Turned video inputs are converted upright through the filter chain.
  bool Turned = false;
  for (Integer f = 0; f < Fnb_input_files && !Turned; ++f)
    if (const AVFormatContext* ic = Finput_files[f])
      for (unsigned j = 0; j < ic->nb_streams && !Turned; ++j)
        Turned = ic->streams[j]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !UprightTurnOf(ic->streams[j]).None();
  FEnableFilter = !Fvfilters.empty() || (Turned && !Fvideo_stream_copy);

  AVFormatContext* oc = ff::avformat_alloc_context();
  if (!oc) throw FFmpegException("avformat_alloc_context failed");

  // Whatever a failing call made is taken back: the table entry, the stream records and
  // the encoder entries. (No file is made here.)
  const size_t CodecsBefore = Foutput_codecs.size();
  bool Entered = false, Done = false;
  TScopeExit Rollback{[&] {
    if (Done) return;
    if (Entered) {
      Foutput_files[index] = nullptr;
      --Fnb_output_files;
    }
    Foutput_streams_for_file[index].clear();
    Foutput_codecs.resize(CodecsBefore);
    ff::avformat_free_context(oc);
  }};

  String Name = ToFFmpegFileName(AFileName);
  if (Name.size() >= MaxFileNameSize) Name.resize(MaxFileNameSize - 1);
  const AVOutputFormat* file_oformat;
  if (!Flast_asked_format.empty()) {
    file_oformat = ff::av_guess_format(Flast_asked_format.c_str(), nullptr, nullptr);
    if (!file_oformat) {
      FLastErrMsg = Format("Requested output format '%s' is not a suitable output format", {Flast_asked_format});
      return -1;
    }
    Flast_asked_format.clear();
  } else {
    file_oformat = ff::av_guess_format(nullptr, Name.c_str(), nullptr);
    if (!file_oformat) {
      FLastErrMsg = Format("Unable to find a suitable output format for '%s'", {AFileName});
      return -1;
    }
  }
  oc->oformat = file_oformat;
  oc->url = ff::av_strdup(Name.c_str());
  if (!oc->url) throw EOutOfMemory("Out of memory");

  bool use_video = Fvideo_stream_copy || file_oformat->video_codec != AV_CODEC_ID_NONE || !Fvideo_codec_name.empty();
  bool use_audio = Faudio_stream_copy || file_oformat->audio_codec != AV_CODEC_ID_NONE || !Faudio_codec_name.empty();
  bool use_subtitle =
      Fsubtitle_stream_copy || file_oformat->subtitle_codec != AV_CODEC_ID_NONE || !Fsubtitle_codec_name.empty();
  if (Fnb_input_files > 0) {
    bool has_video = false, has_audio = false, has_subtitle = false;
    try {
      check_audio_video_sub_inputs(has_video, has_audio, has_subtitle, AJoin);
    } catch (const Exception& E) {
      FLastErrMsg = Format("check_audio_video_sub_inputs fail: %s", {E.Message()});
      return -1;
    }
    use_video = use_video && has_video;
    use_audio = use_audio && has_audio;
    use_subtitle = use_subtitle && has_subtitle;
  }
  if (Faudio_disable) use_audio = false;
  if (Fvideo_disable) use_video = false;
  if (Fsubtitle_disable) use_subtitle = false;

  // A kind to convert whose every input stream has no known size or rate cannot be
  // converted: refused before the file is made.
  const struct {
    bool Encoded;
    AVMediaType Type;
  } Decoded[] = {{use_video && !Fvideo_stream_copy, AVMEDIA_TYPE_VIDEO},
                 {use_audio && !Faudio_stream_copy, AVMEDIA_TYPE_AUDIO}};
  for (const auto& K : Decoded) {
    if (!K.Encoded) continue;
    String Refusal;
    bool Usable = false;
    for (Integer f = 0; f < Fnb_input_files && !Usable; ++f) {
      const AVFormatContext* ic = Finput_files[f];
      if (!ic) continue;
      for (unsigned j = 0; j < ic->nb_streams && !Usable; ++j) {
        const AVStream* st = ic->streams[j];
        if (st->codecpar->codec_type != K.Type || st->discard == AVDISCARD_ALL) continue;
        const String What = detail::MissingDecodeFact(st->codecpar, false);
        if (What.empty())
          Usable = true;
        else if (Refusal.empty())
          Refusal = Format("Input stream #%d.%d (%s) of '%s' has no known %s; it cannot be converted",
                           {f, static_cast<Integer>(j), MediaTypeName(K.Type),
                            ic->url ? FromFFmpegFileName(ic->url) : String(), What});
      }
    }
    if (!Usable && !Refusal.empty()) {
      FLastErrMsg = Refusal;
      return -1;
    }
  }

  const struct {
    bool Use;
    void (TCustomFFmpeg::*Create)(AVFormatContext*, Integer);
    const char* Name;
  } Kinds[] = {{use_video, &TCustomFFmpeg::new_video_stream, "new_video_stream"},
               {use_audio, &TCustomFFmpeg::new_audio_stream, "new_audio_stream"},
               {use_subtitle, &TCustomFFmpeg::new_subtitle_stream, "new_subtitle_stream"}};
  for (const auto& K : Kinds) {
    if (!K.Use) continue;
    try {
      (this->*K.Create)(oc, index);
    } catch (const Exception& E) {
      FLastErrMsg = Format("%s fail: %s", {K.Name, E.Message()});
      return -1;
    }
  }

  // The recording date travels as the "creation_time" tag of the metadata.
  if (Fmetadata) {
    ff::av_dict_copy(&oc->metadata, Fmetadata, 0);
    ff::av_dict_free(&Fmetadata);
  }

  Foutput_files[index] = oc;
  ++Fnb_output_files;
  Entered = true;

  if ((file_oformat->flags & AVFMT_NEEDNUMBER) && !ff::av_filename_number_test(oc->url)) {
    FLastErrMsg = PrintError(AFileName, AVERROR(EDOM));
    return -1;
  }

  // The file is made when the task runs; here it is only checked that it can be. A
  // file of that name is never replaced: the output then gets the next free name.
  bool Direct = false;
  if (!(file_oformat->flags & AVFMT_NOFILE)) {
    const int err = CheckOutputPlace(AFileName, Direct);
    if (err < 0) {
      FLastErrMsg = PrintError(AFileName, err);
      return -1;
    }
  }

  // Muxer settings: the ones the context has are set now, the muxer's private ones
  // (MPEG-PS "preload", GIF "loop") wait for the header.
  if (Foutput_file_settings.size() < static_cast<size_t>(FMaxFiles)) Foutput_file_settings.resize(FMaxFiles);
  TOutputFileSettings& Settings = Foutput_file_settings[index];
  Settings = TOutputFileSettings();
  Settings.direct = Direct;
  oc->max_delay = static_cast<int>(std::lrint(static_cast<double>(Fmux_max_delay) * AV_TIME_BASE));
  oc->flags |= AVFMT_FLAG_NONBLOCK;
  TOptionDict Opts;
  if (MuxerKnows(file_oformat, "preload"))
    Opts.Set("preload", IntToStr(static_cast<Int64>(std::lrint(static_cast<double>(Fmux_preload) * AV_TIME_BASE))));
  if (MuxerKnows(file_oformat, "loop")) Opts.Set("loop", IntToStr(Floop_output));
  SetContextOpts(FOptions, oc, FOptions.format_dict, AV_OPT_FLAG_ENCODING_PARAM, nullptr, &Opts.D);
  if (Opts.D && ff::av_opt_set_dict2(oc, &Opts.D, 0) < 0) {
    FLastErrMsg = AFileName + ": Invalid encoding parameters";
    return -1;
  }
  Settings.muxer_options = Opts.List();

  Fstreamid_map.clear();
  Fforced_key_frames.clear();
  if (AJoin && Fnb_input_files > 1) FJoinMode = true;
  Foutput_file_names[index] = AFileName;
  Done = true;
  return Fnb_output_files;
}

void TCustomFFmpeg::AddStreamToLastOutput(const String& AName) {
  if (Fnb_output_files <= 0 || !Foutput_files[Fnb_output_files - 1])
    throw FFmpegException("At least one output file must be specified");
  const Integer Index = Fnb_output_files - 1;
  AVFormatContext* oc = Foutput_files[Index];
  if (AName == "newvideo")
    new_video_stream(oc, Index);
  else if (AName == "newaudio")
    new_audio_stream(oc, Index);
  else if (AName == "newsubtitle")
    new_subtitle_stream(oc, Index);
}

void TCustomFFmpeg::DiscardLastOutput() {
  if (Fnb_output_files <= 0) return;
  AVFormatContext* oc = Foutput_files[Fnb_output_files - 1];
  // Join entries share the context: they all go.
  while (Fnb_output_files > 0 && Foutput_files[Fnb_output_files - 1] == oc) {
    const Integer I = --Fnb_output_files;
    Foutput_files[I] = nullptr;
    Foutput_streams_for_file[I].clear();
  }
  FJoinMode = false;
  if (!oc) return;
  const Integer Streams = static_cast<Integer>(oc->nb_streams);
  Foutput_codecs.resize(static_cast<size_t>(std::max<Integer>(0, static_cast<Integer>(Foutput_codecs.size()) - Streams)));
  const Integer Index = Fnb_output_files;
  // Set up only: nothing was written yet.
  if (oc->pb) CloseFFmpegIO(&oc->pb);
  Foutput_file_names[Index].clear();
  if (Index < static_cast<Integer>(Foutput_file_settings.size())) Foutput_file_settings[Index] = TOutputFileSettings();
  ff::avformat_free_context(oc);
}

void TCustomFFmpeg::PrepareJoin() {
  if (Fnb_output_files <= 0) return;
  // Checked first, so that a failure changes nothing.
  if (Fnb_output_files + Fnb_input_files - 1 > FMaxFiles)
    throw FFmpegException(Format("max output files %d reached", {FMaxFiles}));
  Int64 Total = 0;
  for (Integer I = 0; I < Fnb_input_files; ++I)
    if (Finput_files[I] && Finput_files[I]->duration != NoPTSValue) Total += Finput_files[I]->duration;
  FTotalOutputDuration = Total != 0 ? Total : -1;
  for (Integer K = 1; K < Fnb_input_files; ++K) {
    const Integer E = Fnb_output_files;
    AVFormatContext* oc = Foutput_files[E - 1];
    Foutput_files[E] = oc;
    auto& Streams = Foutput_streams_for_file[E];
    Streams.clear();
    for (unsigned J = 0; J < oc->nb_streams; ++J) {
      auto Ost = std::make_unique<TAVOutputStream>();
      Ost->file_index = E;
      Ost->index = static_cast<Integer>(J);
      Streams.push_back(std::move(Ost));
    }
    ++Fnb_output_files;
  }
}

}  // namespace vantrel::media
