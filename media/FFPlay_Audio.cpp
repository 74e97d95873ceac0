// Audio: decoding on demand in SDL's audio callback, conversion to the device's
// interleaved 16-bit samples, clock correction, volume, the hook and the sample record
// of the audio display; and the clocks.
#include <cmath>
#include <cstring>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLog.h"
#include "media/FFPlay.h"
#include "media/SWResampleAPI.h"
#include "media/libsdl.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

namespace {

constexpr double PlayNoSyncThreshold = 10.0;
constexpr Integer PlaySampleCorrectionPercent = 10;
constexpr Integer PlayAudioDiffAvgCount = 20;

}  // namespace

void TCustomPlayer::AudioCallback(TVideoState* S, uint8_t* AStream, Integer ALen) {
  Faudio_callback_time.store(Now());
  while (ALen > 0) {
    if (S->audio_buf_index >= static_cast<Integer>(S->audio_buf_size)) {
      double PTS = 0;
      Integer Size = AudioDecodeFrame(S, PTS);
      if (S->audioq.Aborted()) return;
      if (Size < 0) {
        S->audio_buf = S->audio_buf1.data();
        S->audio_buf_size = SilenceBlockSize;
        std::memset(S->audio_buf, 0, SilenceBlockSize);
      } else {
        DoAudioHook(S, S->audio_buf, Size, PTS);
        if (S->show_audio) UpdateSampleDisplay(S, S->audio_buf, Size);
        S->audio_buf_size = static_cast<Cardinal>(SynchronizeAudio(S, S->audio_buf, Size, PTS));
      }
      S->audio_buf_index = 0;
    }
    const Integer N = std::min<Integer>(ALen, static_cast<Integer>(S->audio_buf_size) - S->audio_buf_index);
    const Integer Volume = FAudioVolume.load();
    if (FMute.load() || Volume == 0) std::memset(AStream, 0, N);
    else if (Volume >= SDL_MIX_MAXVOLUME) std::memcpy(AStream, S->audio_buf + S->audio_buf_index, N);
    else {
      std::memset(AStream, 0, N);
      FSDL->SDL_MixAudio(AStream, S->audio_buf + S->audio_buf_index, static_cast<Uint32>(N), Volume);
    }
    S->audio_buf_index += N;
    AStream += N;
    ALen -= N;
  }
}

Integer TCustomPlayer::AudioDecodeFrame(TVideoState* S, double& APTS) {
  AVCodecContext* Ctx = S->audio_ctx;
  for (;;) {
    if (!S->audio_need_packet) {
      const int Ret = ff::avcodec_receive_frame(Ctx, S->audio_frame);
      if (Ret >= 0) {
        AVFrame* F = S->audio_frame;
        if (F->pts != AV_NOPTS_VALUE) S->audio_clock = F->pts * av_q2d(S->audio_st->time_base);
        Integer Size = 0;
        const bool Converted = ConvertAudioFrame(S, F, Size);
        ff::av_frame_unref(F);
        if (!Converted) continue;
        if (S->audio_skipping && !SkipAudioBeforeSeekTarget(S, Size)) continue;
        APTS = S->audio_clock;
        S->audio_clock += double(Size) / (2.0 * S->audio_tgt_channels * S->audio_tgt_freq);
        return Size;
      }
      S->audio_need_packet = true;
      if (Ret != AVERROR(EAGAIN) && Ret != AVERROR_EOF)
        Log(llInfo, "avcodec_decode_audio2() failed");
    }
    if (S->paused.load() || S->audioq.Aborted()) return -1;
    bool Flush = false;
    if (S->audioq.Get(S->audio_pkt, Flush, false) <= 0) return -1;
    if (Flush) {
      ff::avcodec_flush_buffers(Ctx);
      const Int64 Target = S->seek_target.load();
      S->audio_skipping = Target != NoPTSValue;
      S->audio_skip_to = Target / 1000000.0;
      continue;
    }
    const int Sent = ff::avcodec_send_packet(Ctx, S->audio_pkt);
    ff::av_packet_unref(S->audio_pkt);
    // A packet the decoder refuses is dropped; what it had before is still received.
    if (Sent < 0 && Sent != AVERROR(EAGAIN)) Log(llInfo, "avcodec_decode_audio2() failed");
    S->audio_need_packet = false;
  }
}

bool TCustomPlayer::SkipAudioBeforeSeekTarget(TVideoState* S, Integer& ASize) {
  const Integer FrameBytes = 2 * S->audio_tgt_channels;
  const double BytesPerSecond = double(FrameBytes) * S->audio_tgt_freq;
  const double Ahead = (S->audio_skip_to - S->audio_clock) * BytesPerSecond;
  if (Ahead >= ASize) {
    S->audio_clock += ASize / BytesPerSecond;
    return false;
  }
  if (Ahead > 0) {
    const Integer Bytes = static_cast<Integer>(Ahead) / FrameBytes * FrameBytes;
    S->audio_buf += Bytes;
    ASize -= Bytes;
    S->audio_clock += Bytes / BytesPerSecond;
  }
  S->audio_skipping = false;
  return true;
}

bool TCustomPlayer::ConvertAudioFrame(TVideoState* S, const AVFrame* F, Integer& ASize) {
  const Integer InChannels = F->ch_layout.nb_channels;
  if (!S->reformat_ctx || S->audio_src_fmt != F->format || S->audio_src_rate != F->sample_rate ||
      S->audio_src_channels != InChannels) {
    if (S->reformat_ctx) ff::swr_free(&S->reformat_ctx);
    AVChannelLayout OutLayout{}, InLayout{};
    ff::av_channel_layout_default(&OutLayout, S->audio_tgt_channels);
    if (F->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) ff::av_channel_layout_default(&InLayout, InChannels);
    else ff::av_channel_layout_copy(&InLayout, &F->ch_layout);
    const int Ret = ff::swr_alloc_set_opts2(&S->reformat_ctx, &OutLayout, AV_SAMPLE_FMT_S16, S->audio_tgt_freq,
                                            &InLayout, static_cast<AVSampleFormat>(F->format), F->sample_rate, 0,
                                            nullptr);
    ff::av_channel_layout_uninit(&InLayout);
    ff::av_channel_layout_uninit(&OutLayout);
    if (Ret < 0 || ff::swr_init(S->reformat_ctx) < 0) {
      if (S->reformat_ctx) ff::swr_free(&S->reformat_ctx);
      const char* Name = ff::av_get_sample_fmt_name(static_cast<AVSampleFormat>(F->format));
      LogError(Format("Cannot convert %s sample format to %s sample format",
                      {String(Name ? Name : "?"), String(ff::av_get_sample_fmt_name(AV_SAMPLE_FMT_S16))}),
               false);
      S->audio_src_fmt = -1;
      return false;
    }
    S->audio_src_fmt = F->format;
    S->audio_src_rate = F->sample_rate;
    S->audio_src_channels = InChannels;
  }
  const Integer OutSamples = ff::swr_get_out_samples(S->reformat_ctx, F->nb_samples);
  const Integer FrameBytes = OutSamples * 2 * S->audio_tgt_channels;
  // Room for the frame and the 10 % that clock correction may add.
  const size_t Wanted = size_t(FrameBytes) + size_t(FrameBytes) / 10 + 2 * S->audio_tgt_channels;
  if (S->audio_buf2.size() < Wanted) S->audio_buf2.resize(Wanted);
  if (S->audio_buf1.size() < Wanted) S->audio_buf1.resize(Wanted);
  uint8_t* Out = S->audio_buf2.data();
  const int Got = ff::swr_convert(S->reformat_ctx, &Out, OutSamples,
                                  const_cast<const uint8_t**>(F->extended_data), F->nb_samples);
  if (Got < 0) {
    LogError("av_audio_convert() failed", false);
    return false;
  }
  S->audio_buf = S->audio_buf2.data();
  ASize = Got * 2 * S->audio_tgt_channels;
  return true;
}

Integer TCustomPlayer::SynchronizeAudio(TVideoState* S, uint8_t* ABuffer, Integer ASize, double) {
  const bool VideoMaster = S->av_sync_type == AV_SYNC_VIDEO_MASTER && S->video_st;
  if (!(VideoMaster || S->av_sync_type == AV_SYNC_EXTERNAL_CLOCK)) return ASize;
  const double Diff = GetAudioClock(S) - GetMasterClock(S);
  // Far off either way (a seek, an external clock that never runs): no correction.
  if (std::fabs(Diff) >= PlayNoSyncThreshold) {
    S->audio_diff_avg_count = 0;
    S->audio_diff_cum = 0;
    return ASize;
  }
  S->audio_diff_cum = Diff + S->audio_diff_avg_coef * S->audio_diff_cum;
  if (S->audio_diff_avg_count < PlayAudioDiffAvgCount) {
    ++S->audio_diff_avg_count;
    return ASize;
  }
  const double Avg = S->audio_diff_cum * (1.0 - S->audio_diff_avg_coef);
  if (std::fabs(Avg) < S->audio_diff_threshold) return ASize;
  const Integer N = 2 * S->audio_tgt_channels;
  const Integer Samples = ASize / N;
  Integer Wanted = ASize + static_cast<Integer>(std::lround(Diff * S->audio_tgt_freq)) * N;
  const Integer Min = (Samples * (100 - PlaySampleCorrectionPercent) / 100) * N;
  const Integer Max = (Samples * (100 + PlaySampleCorrectionPercent) / 100) * N;
  Wanted = std::clamp(Wanted, Min, Max);
  if (Wanted > ASize) {
    // The buffer in use has room for 10 % more (see ConvertAudioFrame).
    const uint8_t* Last = ABuffer + ASize - N;
    for (uint8_t* Q = ABuffer + ASize; Q < ABuffer + Wanted; Q += N) std::memmove(Q, Last, N);
  }
  return Wanted;
}

void TCustomPlayer::UpdateSampleDisplay(TVideoState* S, const uint8_t* ABuffer, Integer ASize) {
  const auto* Samples = reinterpret_cast<const int16_t*>(ABuffer);
  Integer Count = ASize / 2;
  while (Count > 0) {
    const Integer Len = std::min(Count, SampleArraySize - S->sample_array_index);
    std::memcpy(&S->sample_array[S->sample_array_index], Samples, size_t(Len) * 2);
    Samples += Len;
    S->sample_array_index += Len;
    if (S->sample_array_index >= SampleArraySize) S->sample_array_index = 0;
    Count -= Len;
  }
}

void TCustomPlayer::DoAudioHook(TVideoState* S, uint8_t* ABuffer, Integer ASize, double APTS) {
  if (!FAudioHook.load() || !EventsAttached() || !OnAudioHook) return;
  OnAudioHook(this, static_cast<Int64>(std::llround(APTS * 1000000)) - S->StartTime, ABuffer, ASize,
              S->audio_tgt_freq, S->audio_tgt_channels);
}

double TCustomPlayer::GetAudioClock(TVideoState* S) const {
  double PTS = S->audio_clock;
  if (S->audio_st && S->audio_tgt_freq > 0) {
    const Integer Unplayed = static_cast<Integer>(S->audio_buf_size) - S->audio_buf_index;
    PTS -= double(Unplayed) / (double(S->audio_tgt_freq) * 2 * S->audio_tgt_channels);
  }
  return PTS;
}

double TCustomPlayer::GetVideoClock(TVideoState* S) const {
  if (S->paused.load()) return S->video_current_pts;
  if (S->video_current_pts_drift != 0) return S->video_current_pts_drift + Now() / 1000000.0;
  return S->StartTime / 1000000.0;
}

double TCustomPlayer::GetExternalClock(TVideoState* S) const {
  return S->external_clock + (Now() - S->external_clock_time) * 0.000001;
}

double TCustomPlayer::GetMasterClock(TVideoState* S) const {
  if (FTestMasterClock) return FTestMasterClock();
  switch (S->av_sync_type) {
    case AV_SYNC_VIDEO_MASTER: return S->video_st ? GetVideoClock(S) : GetAudioClock(S);
    case AV_SYNC_AUDIO_MASTER: return S->audio_st ? GetAudioClock(S) : GetVideoClock(S);
    case AV_SYNC_EXTERNAL_CLOCK: break;
  }
  return GetExternalClock(S);
}

void TCustomPlayer::StreamPause() {
  if (FSeekEvent.WaitFor(250) != wrSignaled) FSeekEvent.SetEvent();
  TVideoState* S = FVideoState;
  if (!S) return;
  const double NowSec = Now() / 1000000.0;
  if (S->paused.load()) {
    S->frame_timer += NowSec + S->video_current_pts_drift - S->video_current_pts;
    if (S->read_pause_return != AVERROR(ENOSYS)) S->video_current_pts = NowSec + S->video_current_pts_drift;
    S->video_current_pts_drift = S->video_current_pts - NowSec;
    S->paused.store(0);
  } else {
    if (S->video_stream >= 0 && FPictEvent.WaitFor(250) != wrSignaled) FPictEvent.SetEvent();
    if (!FVideoState) return;
    S->paused.store(1);
  }
}

}  // namespace vantrel::media
