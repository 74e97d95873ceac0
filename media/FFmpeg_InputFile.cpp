// Opening the input files of a conversion task: the option state gathered for the next
// input becomes the demuxer's options, the file is opened and probed under the read
// time-out, sought to the start position and entered in the input table.
#include <cstdint>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLoad.h"
#include "media/FFUpright.h"
#include "media/FFmpeg_Detail.h"
#include "media/FFmpeg.h"
#include "media/UnicodeProtocol.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"

namespace vantrel::media {

namespace {

using detail::TOptionDict;
using detail::TScopeExit;

// Owns an input context until it is entered in the input table.
struct TInputContext {
  AVFormatContext* ic = nullptr;
  TInputContext() = default;
  TInputContext(const TInputContext&) = delete;
  TInputContext& operator=(const TInputContext&) = delete;
  ~TInputContext() {
    if (!ic) return;
    if (ic->iformat)
      CloseFFmpegInput(&ic);
    else
      ff::avformat_free_context(ic);
  }
  AVFormatContext* Release() {
    AVFormatContext* C = ic;
    ic = nullptr;
    return C;
  }
};

}  // namespace

void TCustomFFmpeg::ArmReadTimeout() {
  FLastRead = INT64_MAX;
  InterruptCB().Add(GetCurrentThreadId(), this, ReadTimeoutCheck);
  FLastRead = Now();
}

void TCustomFFmpeg::StampReadTimeout() {
  // A stop in between (a zero stamp) is kept: it must still cancel the next read.
  Int64 Last = FLastRead;
  while (Last != 0 && !FLastRead.compare_exchange_weak(Last, Now())) {
  }
}

void TCustomFFmpeg::DisarmReadTimeout() {
  FLastRead = INT64_MAX;
  InterruptCB().Remove(GetCurrentThreadId(), this, ReadTimeoutCheck);
}

bool TCustomFFmpeg::OpenInputFile(const String& AFileName) {
  const Integer n = Fnb_input_files;
  // The tables hold FMaxFiles inputs.
  if (n >= FMaxFiles) {
    FLastErrMsg = Format("max input files %d reached", {FMaxFiles});
    return false;
  }

  const AVInputFormat* file_iformat = nullptr;
  if (!Flast_asked_format.empty()) {
    file_iformat = ff::av_find_input_format(Flast_asked_format.c_str());
    if (!file_iformat)
      throw FFmpegException(Format("Unknown input format: \"%s\"", {Flast_asked_format}));
    Flast_asked_format.clear();
  }

  TInputContext Input;
  Input.ic = ff::avformat_alloc_context();
  if (!Input.ic) throw FFmpegException("avformat_alloc_context failed");

  // What the per-input options leave behind is cleared on every path.
  TScopeExit Cleanup{[this] {
    Fvideo_codec_name.clear();
    Faudio_codec_name.clear();
    Fsubtitle_codec_name.clear();
    Fvideo_channel = 0;
  }};

  // The format parameters of raw inputs are demuxer options today; a demuxer takes the
  // ones it knows and leaves the others.
  TOptionDict Opts;
  Opts.Set("sample_rate", IntToStr(Faudio_sample_rate));
  Opts.Set("channels", IntToStr(Faudio_channels));
  if (Fframe_rate.num > 0 && Fframe_rate.den > 0)
    Opts.Set("framerate", Format("%d/%d", {Fframe_rate.num, Fframe_rate.den}));
  if (Fframe_width > 0 && Fframe_height > 0)
    Opts.Set("video_size", Format("%dx%d", {Fframe_width, Fframe_height}));
  if (Fframe_pix_fmt >= 0)
    if (const char* PixFmt = ff::av_get_pix_fmt_name(static_cast<AVPixelFormat>(Fframe_pix_fmt)))
      Opts.Set("pixel_format", PixFmt);
  // Looping an input is the image demuxer's own option.
  if (Floop_input) Opts.Set("loop", "1");
  SetContextOpts(FOptions, Input.ic, FOptions.format_dict, AV_OPT_FLAG_DECODING_PARAM, nullptr, &Opts.D);
  // Options that only a codec's or muxer's private class knew: the demuxer may be one.
  for (size_t I = 0; I < FOptions.opt_names.size(); ++I)
    if (!FOptions.opt_values[I].empty() && !Opts.Has(FOptions.opt_names[I]))
      Opts.Set(FOptions.opt_names[I], FOptions.opt_values[I]);

  Integer CodecID = 0;
  const struct {
    const String& Name;
    AVMediaType Type;
    AVCodecID AVFormatContext::*Field;
  } Forced[] = {{Fvideo_codec_name, AVMEDIA_TYPE_VIDEO, &AVFormatContext::video_codec_id},
                {Faudio_codec_name, AVMEDIA_TYPE_AUDIO, &AVFormatContext::audio_codec_id},
                {Fsubtitle_codec_name, AVMEDIA_TYPE_SUBTITLE, &AVFormatContext::subtitle_codec_id}};
  for (const auto& F : Forced) {
    if (!FindCodec(F.Name, F.Type, CodecID, FOptions.avcodec_opts[F.Type]->strict_std_compliance, false))
      return false;
    Input.ic->*F.Field = static_cast<AVCodecID>(CodecID);
  }

  Input.ic->flags |= AVFMT_FLAG_NONBLOCK;

  Int64 timestamp = 0;
  const bool StartAsked = Fstart_time != 0;
  // The decoder entries of a file that does not make it into the table are taken back.
  const size_t CodecsBefore = Finput_codecs.size();
  bool Entered = false;
  TScopeExit TakeBack{[&] {
    if (Entered) return;
    Finput_codecs.resize(CodecsBefore);
    Finput_decoder_settings.resize(CodecsBefore);
  }};
  {
    ArmReadTimeout();
    TScopeExit Disarm{[this] { DisarmReadTimeout(); }};

    const int err = OpenFFmpegInput(&Input.ic, AFileName, file_iformat, &Opts.D);
    if (err < 0) {
      FLastErrMsg = PrintError(AFileName, err);
      return false;
    }
    AVFormatContext* ic = Input.ic;

    if (Fopt_programid != 0) {
      bool Found = false;
      for (unsigned I = 0; I < ic->nb_streams; ++I) ic->streams[I]->discard = AVDISCARD_ALL;
      for (unsigned I = 0; I < ic->nb_programs; ++I) {
        AVProgram* P = ic->programs[I];
        if (P->id != Fopt_programid) {
          P->discard = AVDISCARD_ALL;
          continue;
        }
        Found = true;
        for (unsigned J = 0; J < P->nb_stream_indexes; ++J)
          ic->streams[P->stream_index[J]]->discard = AVDISCARD_DEFAULT;
      }
      if (!Found) {
        FLastErrMsg = "Specified program id not found";
        return false;
      }
      Fopt_programid = 0;
    }

    if (OnBeforeFindStreamInfo) OnBeforeFindStreamInfo(this, ic);

    StampReadTimeout();
    if (ff::avformat_find_stream_info(ic, nullptr) < 0 && Fverbose >= 0) {
      FLastErrMsg = Format("%s: could not find codec parameters", {AFileName});
      Log(llVerbose, FLastErrMsg);
      return false;
    }

    timestamp = Fstart_time;
    if (ic->start_time != NoPTSValue) timestamp += ic->start_time;
    if (Fstart_time != 0) {
      StampReadTimeout();
      if (ff::av_seek_frame(ic, -1, timestamp, AVSEEK_FLAG_BACKWARD) < 0 && Fverbose > 0)
        Log(llVerbose, Format("%s: could not seek to position %0.3f",
                              {AFileName, static_cast<double>(timestamp) / AV_TIME_BASE}));
      Fstart_time = 0;
    }

    for (unsigned j = 0; j < ic->nb_streams; ++j) {
      AVStream* st = ic->streams[j];
      const AVCodecParameters* par = st->codecpar;
      if (par->codec_type < AVMEDIA_TYPE_UNKNOWN || par->codec_type > AVMEDIA_TYPE_ATTACHMENT)
        throw FFmpegException("invalid codec_type");
      const AVCodec* Forced = nullptr;
      TDecoderSettings Settings;
      Settings.thread_count = Fthread_count;
      auto DecoderOptions = [&](AVMediaType AType, Integer AFlags) {
        AVCodecContext* Template = FOptions.avcodec_opts[AType];
        const AVCodec* Decoder = Forced ? Forced : ff::avcodec_find_decoder(par->codec_id);
        TOptionDict D;
        SetContextOpts(FOptions, Template, FOptions.codec_dict[AType], AFlags | AV_OPT_FLAG_DECODING_PARAM,
                       Decoder, &D.D);
        Settings.options = D.List();
        Settings.lowres = Template->lowres;
      };
      switch (par->codec_type) {
        case AVMEDIA_TYPE_VIDEO: {
          if (!Fvideo_codec_name.empty()) Forced = ff::avcodec_find_decoder_by_name(Fvideo_codec_name.c_str());
          DecoderOptions(AVMEDIA_TYPE_VIDEO, AV_OPT_FLAG_VIDEO_PARAM);
          if (Fvideo_disable)
            st->discard = AVDISCARD_ALL;
          else if (Fvideo_discard)
            st->discard = static_cast<AVDiscard>(Fvideo_discard);
          // The picture of the output is the first video input's (a join scales the
          // later ones to it).
          if (FVideoStateTaken) break;
          FVideoStateTaken = true;
          Fframe_height = par->height;
          Fframe_width = par->width;
          const AVRational Sar = st->sample_aspect_ratio.num ? st->sample_aspect_ratio : par->sample_aspect_ratio;
          Fframe_aspect_ratio = Sar.den ? static_cast<Single>(av_q2d(Sar)) : 0;
          if (Fframe_width && Fframe_height) {
            if (Fframe_aspect_ratio == 0) Fframe_aspect_ratio = 1;
            Fframe_aspect_ratio = Fframe_aspect_ratio * Fframe_width / Fframe_height;
          } else if (Fframe_aspect_ratio == 0) {
            Fframe_aspect_ratio = 4.0f / 3.0f;
          }
          // A turned stream is converted upright: the output's size is the shown one.
          if (UprightTurnOf(st).Transposed()) {
            UprightSize(UprightTurnOf(st), Fframe_width, Fframe_height);
            if (Fframe_aspect_ratio > 0) Fframe_aspect_ratio = 1.0f / Fframe_aspect_ratio;
          }
          Fframe_pix_fmt = par->format < 0 ? 0 : par->format;
          const AVRational rfps = st->r_frame_rate;
          if (Settings.lowres) {
            Fframe_height >>= Settings.lowres;
            Fframe_width >>= Settings.lowres;
          }
          // Today's streams carry no codec time base: the average rate stands in for
          // the rate the codec declares.
          const AVRational cfps = st->avg_frame_rate;
          if (Fverbose >= 0 && cfps.num && cfps.den && rfps.num && rfps.den && av_cmp_q(cfps, rfps) != 0)
            Log(llInfo, Format("Seems stream %d codec frame rate differs from container frame rate: "
                               "%2.2f (%d/%d) -> %2.2f (%d/%d)",
                               {static_cast<Integer>(j), av_q2d(cfps), cfps.num, cfps.den, av_q2d(rfps),
                                rfps.num, rfps.den}));
          Fframe_rate = {rfps.num, rfps.den};
          break;
        }
        case AVMEDIA_TYPE_AUDIO:
          if (!Faudio_codec_name.empty()) Forced = ff::avcodec_find_decoder_by_name(Faudio_codec_name.c_str());
          DecoderOptions(AVMEDIA_TYPE_AUDIO, AV_OPT_FLAG_AUDIO_PARAM);
          if (Faudio_disable) st->discard = AVDISCARD_ALL;
          // The sound of the output is the first audio input's.
          if (FAudioStateTaken) break;
          FAudioStateTaken = true;
          Fchannel_layout = par->ch_layout.order == AV_CHANNEL_ORDER_NATIVE
                                ? static_cast<Int64>(par->ch_layout.u.mask)
                                : 0;
          Faudio_channels = par->ch_layout.nb_channels;
          Faudio_sample_rate = par->sample_rate;
          Faudio_sample_fmt = par->format;
          if (Settings.lowres) Faudio_sample_rate >>= Settings.lowres;
          break;
        case AVMEDIA_TYPE_SUBTITLE:
          if (!Fsubtitle_codec_name.empty())
            Forced = ff::avcodec_find_decoder_by_name(Fsubtitle_codec_name.c_str());
          if (Fsubtitle_disable) st->discard = AVDISCARD_ALL;
          break;
        default:
          break;
      }
      Finput_codecs.push_back(Forced);
      Finput_decoder_settings.push_back(std::move(Settings));
    }
  }

  AVFormatContext* ic = Input.Release();
  if (ic->duration != NoPTSValue && ic->duration > FTotalOutputDuration) FTotalOutputDuration = ic->duration;
  Finput_files[n] = ic;
  Finput_files_ts_offset[n] = Fcopy_ts ? Finput_ts_offset : Finput_ts_offset - timestamp;
  Finput_files_start[n] = StartAsked ? timestamp + Finput_files_ts_offset[n] : NoPTSValue;
  Entered = true;
  if (Fverbose >= 0) ff::av_dump_format(ic, n, ToFFmpegFileName(AFileName).c_str(), 0);
  Fnb_input_files = n + 1;
  return true;
}

}  // namespace vantrel::media
