// The audio output path of a conversion: keeps the output in step with the input clock
// (dropping samples, inserting silence or stretching the resampler), resamples and
// converts to the encoder's sample format in one step, applies the volume, buffers the
// samples until a whole encoder frame is there, and encodes with the sync counter as pts.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFmpeg.h"
#include "media/SWResampleAPI.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

namespace {

// Silence is inserted in blocks of at most this many seconds, so that a late start of
// an hour does not need an hour of samples in memory at once.
constexpr Int64 SilenceBlockSeconds = 1;
// A gap or overlap of up to this many samples is left alone.
constexpr double SyncToleranceSamples = 50;
// The volume that leaves the samples as they are.
constexpr Integer UnityVolume = 256;

String SampleFmtName(Integer AFmt) {
  const char* Name = ff::av_get_sample_fmt_name(static_cast<AVSampleFormat>(AFmt));
  return Name ? Name : "none";
}

// A layout that the resampler takes: a layout without channel order becomes the default
// one of its channel count.
void UsableLayout(AVChannelLayout& ADst, const AVChannelLayout& ASrc) {
  if (ASrc.order == AV_CHANNEL_ORDER_UNSPEC || ff::av_channel_layout_copy(&ADst, &ASrc) < 0)
    ff::av_channel_layout_default(&ADst, ASrc.nb_channels);
}

template <class T, class F>
void ScaleSamples(uint8_t* AData, size_t ACount, F AScale) {
  T* P = reinterpret_cast<T*>(AData);
  for (size_t i = 0; i < ACount; ++i) P[i] = AScale(P[i]);
}

// Multiplies every sample by AVolume / 256 with the 16-bit rule (s x volume + 128) >> 8,
// clipped at full scale; the other formats scaled to the same effect.
void ApplyVolume(uint8_t* const* APlanes, Integer ACount, Integer AFmt, Integer AChannels, Integer AVolume) {
  const auto Fmt = static_cast<AVSampleFormat>(AFmt);
  const bool Planar = ff::av_sample_fmt_is_planar(Fmt) != 0;
  const int Planes = Planar ? AChannels : 1;
  const size_t PerPlane = static_cast<size_t>(ACount) * (Planar ? 1 : AChannels);
  const double Factor = AVolume / 256.0;
  for (int p = 0; p < Planes; ++p) {
    uint8_t* D = APlanes[p];
    switch (Fmt) {
      case AV_SAMPLE_FMT_U8:
      case AV_SAMPLE_FMT_U8P:
        ScaleSamples<uint8_t>(D, PerPlane, [AVolume](uint8_t s) {
          const int v = (((static_cast<int>(s) - 128) * AVolume + 128) >> 8);
          return static_cast<uint8_t>(std::clamp(v, -128, 127) + 128);
        });
        break;
      case AV_SAMPLE_FMT_S16:
      case AV_SAMPLE_FMT_S16P:
        ScaleSamples<int16_t>(D, PerPlane, [AVolume](int16_t s) {
          return static_cast<int16_t>(std::clamp((static_cast<int>(s) * AVolume + 128) >> 8, -32768, 32767));
        });
        break;
      case AV_SAMPLE_FMT_S32:
      case AV_SAMPLE_FMT_S32P:
        ScaleSamples<int32_t>(D, PerPlane, [AVolume](int32_t s) {
          return static_cast<int32_t>(
              std::clamp<int64_t>((static_cast<int64_t>(s) * AVolume + 128) >> 8, INT32_MIN, INT32_MAX));
        });
        break;
      case AV_SAMPLE_FMT_S64:
      case AV_SAMPLE_FMT_S64P:
        ScaleSamples<int64_t>(D, PerPlane, [Factor](int64_t s) {
          const long double v = static_cast<long double>(s) * Factor;
          if (v >= static_cast<long double>(INT64_MAX)) return INT64_MAX;
          if (v <= static_cast<long double>(INT64_MIN)) return INT64_MIN;
          return static_cast<int64_t>(v);
        });
        break;
      case AV_SAMPLE_FMT_FLT:
      case AV_SAMPLE_FMT_FLTP:
        ScaleSamples<float>(D, PerPlane, [Factor](float s) {
          return static_cast<float>(std::clamp(s * Factor, -1.0, 1.0));
        });
        break;
      case AV_SAMPLE_FMT_DBL:
      case AV_SAMPLE_FMT_DBLP:
        ScaleSamples<double>(D, PerPlane, [Factor](double s) { return std::clamp(s * Factor, -1.0, 1.0); });
        break;
      default:
        break;
    }
  }
}

// The planes of a block of samples starting ASkip samples in.
std::vector<const uint8_t*> OffsetPlanes(const uint8_t* const* AData, Integer AFmt, Integer AChannels,
                                         Integer ASkip) {
  const auto Fmt = static_cast<AVSampleFormat>(AFmt);
  const bool Planar = ff::av_sample_fmt_is_planar(Fmt) != 0;
  const size_t Bytes = static_cast<size_t>(ff::av_get_bytes_per_sample(Fmt));
  std::vector<const uint8_t*> Planes(static_cast<size_t>(Planar ? AChannels : 1));
  for (size_t p = 0; p < Planes.size(); ++p)
    Planes[p] = AData[p] + static_cast<size_t>(ASkip) * Bytes * (Planar ? 1 : static_cast<size_t>(AChannels));
  return Planes;
}

}  // namespace

void TSwrContextDeleter::operator()(SwrContext* ACtx) const {
  if (ACtx && ff::swr_free) ff::swr_free(&ACtx);
}

void TAudioFifoDeleter::operator()(AVAudioFifo* AFifo) const {
  if (AFifo && ff::av_audio_fifo_free) ff::av_audio_fifo_free(AFifo);
}

void TCustomFFmpeg::SetupAudioEncoding(TAVOutputStream& ost, TAVInputStream& ist) {
  (void)ist;
  AVCodecContext* enc = ost.enc_ctx.get();
  if (enc->sample_rate <= 0 || enc->ch_layout.nb_channels <= 0 || enc->sample_fmt == AV_SAMPLE_FMT_NONE)
    throw FFmpegException("Audio sample rate, channels or sample format of the output is unknown");
  // The sync counter counts samples: the encoder's clock ticks once per sample.
  enc->time_base = AVRational{1, enc->sample_rate};
  ost.fifo.reset(ff::av_audio_fifo_alloc(enc->sample_fmt, enc->ch_layout.nb_channels, 1024));
  if (!ost.fifo) throw FFmpegException("av_fifo_alloc fail");
  ost.resample.reset();
}

void TCustomFFmpeg::PrepareResampler(TAVOutputStream& ost, TAVInputStream& ist, const AVFrame* AFrame) {
  const AVCodecContext* enc = ost.enc_ctx.get();
  const Integer DecFmt = AFrame->format;
  const Integer DecChannels = AFrame->ch_layout.nb_channels;
  const Integer DecRate = AFrame->sample_rate;
  const Integer EncChannels = enc->ch_layout.nb_channels;
  if (EncChannels != DecChannels) ost.audio_resample = 1;
  const bool Changed = DecFmt != ost.resample_sample_fmt || DecChannels != ost.resample_channels ||
                       DecRate != ost.resample_sample_rate;
  // Today one context both resamples and converts the sample format.
  const bool Needed = ost.audio_resample || DecFmt != enc->sample_fmt;
  if (!((Needed && !ost.resample) || Changed)) return;
  if (Changed) {
    Log(llInfo, Format("Input stream #%d.%d frame changed from rate:%d fmt:%s ch:%d to rate:%d fmt:%s ch:%d",
                       {ist.file_index, ist.index, ost.resample_sample_rate, SampleFmtName(ost.resample_sample_fmt),
                        ost.resample_channels, DecRate, SampleFmtName(DecFmt), DecChannels}));
    ost.resample_sample_fmt = DecFmt;
    ost.resample_channels = DecChannels;
    ost.resample_sample_rate = DecRate;
    ost.resample.reset();
  }
  if (Faudio_sync_method <= 1 && DecFmt == enc->sample_fmt && DecChannels == EncChannels &&
      DecRate == enc->sample_rate) {
    ost.audio_resample = 0;
    return;
  }
  AVChannelLayout InLayout{}, OutLayout{};
  UsableLayout(InLayout, AFrame->ch_layout);
  UsableLayout(OutLayout, enc->ch_layout);
  SwrContext* Swr = nullptr;
  int R = ff::swr_alloc_set_opts2(&Swr, &OutLayout, enc->sample_fmt, enc->sample_rate, &InLayout,
                                  static_cast<AVSampleFormat>(DecFmt), DecRate, 0, nullptr);
  ff::av_channel_layout_uninit(&InLayout);
  ff::av_channel_layout_uninit(&OutLayout);
  ost.resample.reset(Swr);
  if (R >= 0) R = ff::swr_init(Swr);
  if (R < 0) {
    ost.resample.reset();
    if (ost.audio_resample)
      throw FFmpegException(Format("Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                                   {DecChannels, DecRate, EncChannels, enc->sample_rate}));
    throw FFmpegException(Format("Cannot convert %s sample format to %s sample format",
                                 {SampleFmtName(DecFmt), SampleFmtName(enc->sample_fmt)}));
  }
}

void TCustomFFmpeg::PushSamples(TAVOutputStream& ost, const uint8_t* const* AData, Integer ACount) {
  const AVCodecContext* enc = ost.enc_ctx.get();
  const Integer Channels = enc->ch_layout.nb_channels;
  const auto Fmt = enc->sample_fmt;
  const bool Planar = ff::av_sample_fmt_is_planar(Fmt) != 0;
  std::vector<uint8_t*> Out(static_cast<size_t>(Planar ? Channels : 1), nullptr);
  Integer Count = ACount;
  auto OwnBuffer = [&](Integer ASamples) {
    // Alignment 0: each plane starts aligned as the buffer does.
    const int Size = ff::av_samples_get_buffer_size(nullptr, Channels, std::max(ASamples, 1), Fmt, 0);
    if (Size < 0) throw FFmpegException("Buffer sizes too large in do_audio_out");
    if (Faudio_buf.size() < static_cast<size_t>(Size)) Faudio_buf.resize(static_cast<size_t>(Size));
    ff::av_samples_fill_arrays(Out.data(), nullptr, Faudio_buf.data(), Channels, std::max(ASamples, 1), Fmt, 0);
  };
  if (ost.resample) {
    // AData nil drains what the resampler still holds.
    const int Max = ff::swr_get_out_samples(ost.resample.get(), AData ? ACount : 0);
    if (Max < 0) throw FFmpegException("Buffer sizes too large in do_audio_out");
    OwnBuffer(Max);
    const uint8_t** In = AData ? const_cast<const uint8_t**>(AData) : nullptr;
    Count = ff::swr_convert(ost.resample.get(), Out.data(), std::max(Max, 1), In, AData ? ACount : 0);
    if (Count < 0) {
      if (Fexit_on_error) throw FFmpegException("av_audio_convert() failed");
      Log(llError, "av_audio_convert() failed");
      return;
    }
  } else if (!AData) {
    return;
  } else if (Faudio_volume != UnityVolume) {
    OwnBuffer(ACount);
    const size_t Bytes = static_cast<size_t>(ACount) * ff::av_get_bytes_per_sample(Fmt) * (Planar ? 1 : Channels);
    for (size_t p = 0; p < Out.size(); ++p) std::memcpy(Out[p], AData[p], Bytes);
  } else {
    for (size_t p = 0; p < Out.size(); ++p) Out[p] = const_cast<uint8_t*>(AData[p]);
  }
  if (Count <= 0) return;
  if (Faudio_volume != UnityVolume) ApplyVolume(Out.data(), Count, Fmt, Channels, Faudio_volume);
  if (ff::av_audio_fifo_write(ost.fifo.get(), reinterpret_cast<void**>(Out.data()), Count) < Count)
    throw FFmpegException("av_fifo_realloc2() failed");
}

void TCustomFFmpeg::EncodeAudioFifo(AVFormatContext* os, TAVOutputStream& ost, bool AFlush) {
  AVCodecContext* enc = ost.enc_ctx.get();
  const bool AnySize =
      enc->frame_size <= 1 || (enc->codec && (enc->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE));
  for (;;) {
    const Integer Avail = ff::av_audio_fifo_size(ost.fifo.get());
    Integer N;
    if (Avail <= 0)
      break;
    else if (AnySize)
      N = Avail;
    else if (Avail >= enc->frame_size)
      N = enc->frame_size;
    else if (AFlush)
      N = Avail;  // the short last frame (the library pads it where the encoder needs that)
    else
      break;
    TFramePtr Frame(ff::av_frame_alloc());
    if (!Frame) throw EOutOfMemory("Out of memory");
    Frame->nb_samples = N;
    Frame->format = enc->sample_fmt;
    Frame->sample_rate = enc->sample_rate;
    if (ff::av_channel_layout_copy(&Frame->ch_layout, &enc->ch_layout) < 0 ||
        ff::av_frame_get_buffer(Frame.get(), 0) < 0)
      throw EOutOfMemory("Out of memory");
    if (ff::av_audio_fifo_read(ost.fifo.get(), reinterpret_cast<void**>(Frame->extended_data), N) < N)
      throw FFmpegException("Audio encoding failed");
    // The counter never goes back: a backward step of the input clock would give the
    // muxer overlapping packets.
    if (ost.audio_pts_end != NoPTSValue && ost.sync_opts < ost.audio_pts_end) ost.sync_opts = ost.audio_pts_end;
    Frame->pts = ff::av_rescale_q(ost.sync_opts, AVRational{1, enc->sample_rate}, enc->time_base);
    EncodeAndWrite(os, ost, Frame.get());
    ost.sync_opts += N;
    ost.audio_pts_end = ost.sync_opts;
  }
}

void TCustomFFmpeg::DoAudioOut(AVFormatContext* os, TAVOutputStream& ost, TAVInputStream& ist, AVFrame* AFrame) {
  if (!AFrame || AFrame->nb_samples <= 0 || AFrame->sample_rate <= 0 || AFrame->ch_layout.nb_channels <= 0) return;
  AVCodecContext* enc = ost.enc_ctx.get();
  PrepareResampler(ost, ist, AFrame);
  const Integer DecRate = AFrame->sample_rate;
  const Integer EncRate = enc->sample_rate;
  const Integer DecFmt = AFrame->format;
  const Integer DecChannels = AFrame->ch_layout.nb_channels;

  // Synchronisation with the input clock, in samples at the encoder's rate.
  const TAVInputStream& sync = ost.sync_ist ? *ost.sync_ist : ist;
  const double sync_ipts = static_cast<double>(sync.pts - Fstart_time) / AV_TIME_BASE;
  const Int64 Buffered = ff::av_audio_fifo_size(ost.fifo.get());
  Integer Skip = 0;
  Int64 Silence = 0;
  if (Faudio_sync_method == 0) {
    ost.sync_opts = std::llrint(sync_ipts * EncRate) - Buffered;
  } else {
    const double delta = sync_ipts * EncRate - static_cast<double>(ost.sync_opts) - static_cast<double>(Buffered);
    const double idelta = delta * DecRate / EncRate;
    const Int64 sample_delta = static_cast<Int64>(std::trunc(idelta));
    if (std::fabs(delta) > SyncToleranceSamples) {
      if (ist.is_start || std::fabs(delta) > Faudio_drift_threshold * EncRate) {
        if (sample_delta < 0) {
          Skip = static_cast<Integer>(std::min<Int64>(-sample_delta, AFrame->nb_samples));
          if (Fverbose > 2)
            Log(llVerbose, Format("discarding %d audio samples", {static_cast<Int64>(std::trunc(-delta))}));
          if (Skip >= AFrame->nb_samples) return;
          ist.is_start = 0;
        } else {
          Silence = sample_delta;
          ist.is_start = 0;
          if (Fverbose > 2)
            Log(llVerbose, Format("adding %d audio samples of silence", {static_cast<Int64>(std::trunc(delta))}));
        }
      } else if (Faudio_sync_method > 1) {
        const Integer comp = static_cast<Integer>(
            std::clamp<Int64>(static_cast<Int64>(std::trunc(delta)), -Faudio_sync_method, Faudio_sync_method));
        if (Fverbose > 2)
          Log(llVerbose, Format("compensating audio timestamp drift:%f compensation:%d in:%d", {delta, comp, EncRate}));
        if (ost.resample) ff::swr_set_compensation(ost.resample.get(), comp, EncRate);
      }
    }
  }

  if (Silence > 0) {
    const Int64 Block = std::max<Int64>(1, SilenceBlockSeconds * DecRate);
    const auto Fmt = static_cast<AVSampleFormat>(DecFmt);
    const int First = static_cast<int>(std::min(Silence, Block));
    const int Size = ff::av_samples_get_buffer_size(nullptr, DecChannels, First, Fmt, 0);
    if (Size < 0) throw FFmpegException("Buffer sizes too large in do_audio_out");
    Finput_tmp.assign(static_cast<size_t>(Size), 0);
    std::vector<uint8_t*> Planes(static_cast<size_t>(ff::av_sample_fmt_is_planar(Fmt) ? DecChannels : 1));
    ff::av_samples_fill_arrays(Planes.data(), nullptr, Finput_tmp.data(), DecChannels, First, Fmt, 0);
    ff::av_samples_set_silence(Planes.data(), 0, First, DecChannels, Fmt);
    for (Int64 Left = Silence; Left > 0; Left -= Block) {
      PushSamples(ost, Planes.data(), static_cast<Integer>(std::min(Left, Block)));
      EncodeAudioFifo(os, ost, false);
    }
  }
  const auto In = OffsetPlanes(AFrame->extended_data, DecFmt, DecChannels, Skip);
  PushSamples(ost, In.data(), AFrame->nb_samples - Skip);
  EncodeAudioFifo(os, ost, false);
}

void TCustomFFmpeg::FlushAudioFifo(AVFormatContext* os, TAVOutputStream& ost) {
  if (!ost.fifo) return;
  if (ost.resample) PushSamples(ost, nullptr, 0);
  EncodeAudioFifo(os, ost, true);
}

}  // namespace vantrel::media
