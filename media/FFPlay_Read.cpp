// Opening a file, the demuxing thread and the stream components.
#include <cmath>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLoad.h"
#include "media/FFLog.h"
#include "media/FFPlay.h"
#include "media/SWResampleAPI.h"
#include "media/SWScaleAPI.h"
#include "media/UnicodeProtocol.h"
#include "media/libsdl.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

namespace {

// Flow control of the demuxing loop.
constexpr Integer PlayMaxQueueSize = 15 * 1024 * 1024;
constexpr Integer PlayMinAudioBytes = 20 * 16 * 1024;
constexpr Integer PlayMinFrames = 5;

class TPlayerWorker : public TThread {
  VANTREL_CLASS(TPlayerWorker)

  explicit TPlayerWorker(std::function<void()> AProc) : TThread(false), FProc(std::move(AProc)) {}

 protected:
  void Execute() override { FProc(); }

 private:
  std::function<void()> FProc;
};

void PlayerSDLAudioCallback(void* AUserData, Uint8* AStream, int ALen) {
  auto* State = static_cast<TVideoState*>(AUserData);
  State->Owner->AudioCallback(State, AStream, ALen);
}

}  // namespace

bool TCustomPlayer::DecodeInterruptCallback(TObject* Sender) {
  auto* Self = static_cast<TCustomPlayer*>(Sender);
  const Int64 Last = Self->FLastRead.load();
  // The cancel mark and the opening state's abort request fire whatever the time-out.
  if (Last == 0) {
    Self->Log(llInfo, "connecting/reading canceled");
    return true;
  }
  if (TVideoState* S = Self->FOpeningState.load(); S && S->abort_request.load()) return true;
  const Integer Timeout = Self->FReadTimeout.load();
  if (Timeout > 0 && Last != INT64_MAX && Self->Now() - Last > Int64(Timeout) * 1000) {
    Self->Log(llInfo, "connecting/reading timeout");
    return true;
  }
  return false;
}

bool TCustomPlayer::AbortInterruptCallback(TObject* Sender) {
  auto* Self = static_cast<TCustomPlayer*>(Sender);
  TVideoState* S = Self->FVideoStateCB.load();
  return S && S->abort_request.load() == 1;
}

void TCustomPlayer::SetOpened(TVideoState* AState, Integer AValue) {
  AState->Opened.store(AValue);
  AState->OpenedChanged.SetEvent();
}

bool TCustomPlayer::StreamOpen(const String& AFileName, const AVInputFormat* AFormat, bool APaused) {
  if (FVideoState) throw EInvalidOperation("StreamOpen: a file is open");
  auto* State = new TVideoState;
  State->Owner = this;
  if (APaused) {
    State->paused.store(1);
    State->open_paused = 1;
  }
  // The whole name is kept.
  State->filename = AFileName;
  State->iformat = AFormat;
  State->av_sync_type = Fav_sync_type;
  FLastRead.store(INT64_MAX);
  FOpeningState.store(State);
  try {
    State->parse_tid.reset(TPlayerWorker::Create([this, State] { ReadThread(State); }));
  } catch (...) {
    FOpeningState.store(nullptr);
    delete State;
    LogError("SDL_CreateThread() failed.", true);
    return false;
  }
  while (State->Opened.load() == 0) {
    WaitServing(State->OpenedChanged, 100);
    State->OpenedChanged.ResetEvent();
  }
  FOpeningState.store(nullptr);
  if (State->Opened.load() > 0) {
    FVideoState = State;
    if (State->video_stream < 0 && !FDisableDisplay)
      State->show_audio = static_cast<Integer>(FShowAudio);
    State->frame_timer = Now() / 1000000.0;
    State->refresh_tid.reset(TPlayerWorker::Create([this, State] { RefreshThread(State); }));
    return true;
  }
  // A failed open: the demuxing thread is joined before the state goes.
  State->parse_tid->WaitFor();
  delete State;
  return false;
}

void TCustomPlayer::StreamClose(TVideoState* AState) {
  AState->abort_request.store(1);
  AState->audioq.Abort();
  AState->videoq.Abort();
  AState->subtitleq.Abort();
  if (AState->parse_tid) AState->parse_tid->WaitFor();
  AState->parse_tid.reset();
  if (AState->refresh_tid) AState->refresh_tid->WaitFor();
  AState->refresh_tid.reset();
  for (TVideoPicture& VP : AState->pictq) {
    if (VP.bmp && FSDL->SDL_FreeYUVOverlay) FSDL->SDL_FreeYUVOverlay(VP.bmp);
    VP.bmp = nullptr;
    if (VP.frame) ff::av_frame_free(&VP.frame);
  }
  if (AState->shown_frame) ff::av_frame_free(&AState->shown_frame);
  FreeSubtitleQueue(*AState);
  if (AState->rdft) ff::av_rdft_end(AState->rdft);
  AState->rdft = nullptr;
  if (AState->img_convert_ctx) ff::sws_freeContext(AState->img_convert_ctx);
  AState->img_convert_ctx = nullptr;
}

void TCustomPlayer::CloseAndExit() {
  if (FVideoState) {
    StreamClose(FVideoState);
    delete FVideoState;
    FVideoState = nullptr;
  }
  QuitSDL();
}

void TCustomPlayer::ReadThread(TVideoState* AState) {
  Integer Result = ReadThreadOpen(AState);
  if (Result == 0) {
    SetOpened(AState, 1);
    ReadThreadLoop(AState);
  } else {
    SetOpened(AState, -1);
  }
  ReadThreadEnd(AState);
}

Integer TCustomPlayer::ReadThreadOpen(TVideoState* S) {
  const TThreadID Tid = GetCurrentThreadId();
  S->ic = ff::avformat_alloc_context();
  if (!S->ic) {
    FLastErrMsg = "av_mallocz() failed.";
    return -1;
  }
  InterruptCB().Add(Tid, this, DecodeInterruptCallback);
  AVDictionary* Opts = nullptr;
  if (FFrameWidth > 0 && FFrameHeight > 0)
    ff::av_dict_set(&Opts, "video_size", Format("%dx%d", {FFrameWidth, FFrameHeight}).c_str(), 0);
  // A cancel that came before the thread started stays in force.
  if (FLastRead.load() != 0) FLastRead.store(Now());
  int Err = OpenFFmpegInput(&S->ic, S->filename, S->iformat, &Opts);
  ff::av_dict_free(&Opts);
  if (Err < 0) {
    FLastErrMsg = PrintError(S->filename, Err);
    return -1;
  }
  if (genpts) S->ic->flags |= AVFMT_FLAG_GENPTS;
  if (OnBeforeFindStreamInfo) OnBeforeFindStreamInfo(this, S->ic);
  if (FLastRead.load() != 0) FLastRead.store(Now());
  if (ff::avformat_find_stream_info(S->ic, nullptr) < 0) {
    FLastErrMsg = Format("%s: could not find codec parameters", {S->filename});
    return -1;
  }
  if (S->ic->pb) {
    S->ic->pb->eof_reached = 0;
    S->ic->pb->error = 0;
  }
  if (seek_by_bytes < 0) seek_by_bytes = (S->ic->iformat->flags & AVFMT_TS_DISCONT) ? 1 : 0;
  const String FormatName = S->ic->iformat->name ? S->ic->iformat->name : "";
  S->IsImage2 = FormatName == "image2";
  S->IsDevice = FormatName == "vfwcap" || FormatName == "vfwcapture";
  if (S->ic->start_time != AV_NOPTS_VALUE) S->StartTime = S->ic->start_time;
  S->Duration = S->ic->duration != AV_NOPTS_VALUE ? S->ic->duration : -1;
  if (start_time != NoPTSValue) {
    Int64 Target = start_time;
    if (S->ic->start_time != AV_NOPTS_VALUE) Target += S->ic->start_time;
    if (FLastRead.load() != 0) FLastRead.store(Now());
    if (ff::avformat_seek_file(S->ic, -1, INT64_MIN, Target, INT64_MAX, 0) < 0)
      LogError(Format("%s: could not seek to position %0.3f", {S->filename, double(Target) / 1000000}), false);
    else S->seek_target.store(Target);
  }
  for (unsigned I = 0; I < S->ic->nb_streams; ++I) S->ic->streams[I]->discard = AVDISCARD_ALL;
  Integer Video = -1, Audio = -1, Subtitle = -1;
  if (!FDisableVideo && !FDisableDisplay)
    Video = ff::av_find_best_stream(S->ic, AVMEDIA_TYPE_VIDEO, wanted_video_stream, -1, nullptr, 0);
  if (!FDisableAudio)
    Audio = ff::av_find_best_stream(S->ic, AVMEDIA_TYPE_AUDIO, wanted_audio_stream, Video, nullptr, 0);
  if (!FDisableVideo && !FDisableDisplay)
    Subtitle = ff::av_find_best_stream(S->ic, AVMEDIA_TYPE_SUBTITLE, wanted_subtitle_stream,
                                       Audio >= 0 ? Audio : Video, nullptr, 0);
  FLastRead.store(INT64_MAX);
  InterruptCB().Remove(Tid, this, DecodeInterruptCallback);
  FVideoStateCB.store(S);
  InterruptCB().Add(Tid, this, AbortInterruptCallback);
  if (Audio >= 0) StreamComponentOpen(S, Audio);
  if (Video >= 0) StreamComponentOpen(S, Video);
  if (S->video_stream < 0 && !FDisableDisplay) S->show_audio = saRDFT;
  if (Subtitle >= 0) StreamComponentOpen(S, Subtitle);
  if (S->video_stream < 0 && S->audio_stream < 0) {
    FLastErrMsg = Format("%s: could not open codecs, no stream to play.", {S->filename});
    // Why the last stream would not open (a sound device that cannot open, say).
    if (!S->open_failure.empty()) FLastErrMsg += " " + S->open_failure;
    return -1;
  }
  return 0;
}

bool TCustomPlayer::HandleSeek(TVideoState* S) {
  const Int64 Min = S->seek_rel > 0 ? S->seek_pos - S->seek_rel + 2 : INT64_MIN;
  const Int64 Max = S->seek_rel < 0 ? S->seek_pos - S->seek_rel - 2 : INT64_MAX;
  int Ret = ff::avformat_seek_file(S->ic, -1, Min, S->seek_pos, Max, S->seek_flags);
  if (Ret < 0) Ret = ff::av_seek_frame(S->ic, -1, S->seek_pos, S->seek_flags);
  if (Ret < 0) Ret = ff::av_seek_frame(S->ic, -1, S->seek_pos, S->seek_flags ^ AVSEEK_FLAG_BACKWARD);
  if (Ret < 0) {
    LogError(Format("%s: error while seeking", {S->filename}), false);
    // Nothing is flushed: the pictures that come now are the ones to show.
    S->seek_flushed.store(1);
    if (S->video_stream >= 0) FPictEvent.SetEvent();
  } else {
    // The consumers take the target at the flush mark that follows.
    S->seek_target.store(S->seek_flags & AVSEEK_FLAG_BYTE ? NoPTSValue : S->seek_pos);
    if (S->audio_stream >= 0) {
      S->audioq.Flush();
      S->audioq.PutFlush();
    }
    if (S->subtitle_stream >= 0) {
      S->subtitleq.Flush();
      S->subtitleq.PutFlush();
    }
    if (S->video_stream >= 0) {
      S->seek_flushed.store(0);
      S->videoq.Flush();
      S->videoq.PutFlush();
      FPictEvent.ResetEvent();
    }
  }
  S->IOEOFLog = S->IOERRLog = 0;
  S->ReachEOF.store(0);
  S->seek_req.store(0);
  S->seek_done.store(1);
  FSeekEvent.SetEvent();
  if (S->video_stream < 0) FSeeking.store(false);
  return true;
}

void TCustomPlayer::ReadThreadLoop(TVideoState* S) {
  AVPacket* Pkt = ff::av_packet_alloc();
  bool EndOfInput = false;
  bool ReadError = false;
  while (!S->abort_request.load()) {
    const Integer Paused = S->paused.load();
    if (Paused != S->last_paused) {
      S->last_paused = Paused;
      if (Paused) S->read_pause_return = ff::av_read_pause(S->ic);
      else ff::av_read_play(S->ic);
    }
    if (S->seek_req.load()) {
      HandleSeek(S);
      EndOfInput = false;
    }
    const bool AudioEnough = S->audio_stream < 0 || S->audioq.size() > PlayMinAudioBytes;
    const bool VideoEnough = S->video_stream < 0 || S->videoq.nb_packets() > PlayMinFrames;
    const bool SubEnough = S->subtitle_stream < 0 || S->subtitleq.nb_packets() > PlayMinFrames;
    if (S->audioq.size() + S->videoq.size() + S->subtitleq.size() > PlayMaxQueueSize ||
        (AudioEnough && VideoEnough && SubEnough)) {
      TThread::Sleep(10);
      continue;
    }
    if (EndOfInput) {
      if (S->video_stream >= 0) {
        Pkt->data = nullptr;
        Pkt->size = 0;
        Pkt->stream_index = S->video_stream;
        S->videoq.Put(Pkt);
        FPictEvent.SetEvent();
      }
      TThread::Sleep(10);
      if (S->audioq.nb_packets() == 0 && S->videoq.nb_packets() == 0 && S->subtitleq.nb_packets() == 0)
        S->ReachEOF.store(1);
      continue;
    }
    S->Reading.store(1);
    int Ret = ff::av_read_frame(S->ic, Pkt);
    S->Reading.store(0);
    if (S->abort_request.load()) {
      ff::av_packet_unref(Pkt);
      break;
    }
    if (Ret < 0) {
      AVIOContext* Pb = S->ic->pb;
      if (S->video_stream >= 0) FPictEvent.SetEvent();
      if (Ret == AVERROR(EAGAIN)) {
        if (Pb) Pb->eof_reached = Pb->error = 0;
      } else if (Ret == AVERROR_EOF || (Pb && Pb->eof_reached && FCheckIOEOF && Pb->error != AVERROR(EAGAIN))) {
        EndOfInput = true;
        if (!S->IsImage2 && !S->IOEOFLog) {
          S->IOEOFLog = 1;
          Log(llInfo, Format("reach end of file: %s", {S->filename}));
        }
      } else if (Pb && (Pb->error == AVERROR(EAGAIN) || Pb->eof_reached)) {
        Pb->eof_reached = Pb->error = 0;
      } else if (!S->IsImage2 && !S->IOERRLog) {
        S->IOERRLog = 1;
        LogError(Format("error #%d while reading file: %s", {Ret, S->filename}), false);
      }
      if (Pb && Pb->error) {
        if (FCheckIOERR) {
          ReadError = true;
          break;
        }
        Pb->error = 0;
      }
      if (!EndOfInput) TThread::Sleep(100);
      continue;
    }
    {
      std::lock_guard<std::mutex> Route(S->route_lock);
      if (Pkt->stream_index == S->audio_stream) S->audioq.Put(Pkt);
      else if (Pkt->stream_index == S->video_stream) S->videoq.Put(Pkt);
      else if (Pkt->stream_index == S->subtitle_stream) S->subtitleq.Put(Pkt);
    }
    ff::av_packet_unref(Pkt);
  }
  ff::av_packet_free(&Pkt);
  while (ReadError && !S->abort_request.load()) TThread::Sleep(100);
}

void TCustomPlayer::ReadThreadEnd(TVideoState* S) {
  const TThreadID Tid = GetCurrentThreadId();
  FLastRead.store(INT64_MAX);
  InterruptCB().Remove(Tid, this, DecodeInterruptCallback);
  InterruptCB().Remove(Tid, this, AbortInterruptCallback);
  FVideoStateCB.store(nullptr);
  if (S->audio_stream >= 0) StreamComponentClose(S, S->audio_stream);
  if (S->video_stream >= 0) StreamComponentClose(S, S->video_stream);
  if (S->subtitle_stream >= 0) StreamComponentClose(S, S->subtitle_stream);
  if (S->ic) {
    if (FDecoder && FDecoder->FileHandle() == S->ic) FDecoder->SetFileHandle(nullptr);
    CloseFFmpegInput(&S->ic);
  }
  if (S->Opened.load() < 0) {
    if (FSDL->SDL_PushEvent) {
      SDL_Event E{};
      E.type = SDL_USEREVENT + 2;  // quit
      FSDL->SDL_PushEvent(&E);
    }
    SetOpened(S, -2);
  }
}

Integer TCustomPlayer::StreamComponentOpen(TVideoState* S, Integer AIndex) {
  if (AIndex < 0 || AIndex >= static_cast<Integer>(S->ic->nb_streams)) return -1;
  AVStream* St = S->ic->streams[AIndex];
  const AVCodec* Codec = ff::avcodec_find_decoder(St->codecpar->codec_id);
  AVCodecContext* Ctx = Codec ? ff::avcodec_alloc_context3(Codec) : nullptr;
  bool Ok = Ctx && ff::avcodec_parameters_to_context(Ctx, St->codecpar) >= 0;
  if (Ok) {
    Ctx->pkt_timebase = St->time_base;
    Ctx->workaround_bugs = workaround_bugs;
    Ctx->lowres = lowres;
    Ctx->idct_algo = idct_algo;
    if (fast) Ctx->flags2 |= AV_CODEC_FLAG2_FAST;
    Ctx->err_recognition = error_recognition;
    Ctx->error_concealment = error_concealment;
    Ctx->thread_count = 1;
    TCodecLockGuard Lock;
    Ok = ff::avcodec_open2(Ctx, Codec, nullptr) >= 0;
  }
  if (!Ok) {
    if (Ctx) ff::avcodec_free_context(&Ctx);
    S->open_failure = "avcodec_open() failed.";
    LogError(S->open_failure, false);
    return -1;
  }
  switch (Ctx->codec_type) {
    case AVMEDIA_TYPE_AUDIO: {
      const Integer Channels = Ctx->ch_layout.nb_channels;
      SDL_AudioSpec Wanted{};
      Wanted.freq = Ctx->sample_rate;
      Wanted.format = AUDIO_S16SYS;
      Wanted.channels = static_cast<Uint8>(Channels == 1 || Channels == 2 ? Channels : 2);
      Wanted.silence = 0;
      Wanted.samples = 1024;
      Wanted.callback = PlayerSDLAudioCallback;
      Wanted.userdata = S;
      // Ready before the device starts calling.
      S->audio_st = St;
      S->audio_ctx = Ctx;
      S->audio_tgt_channels = Wanted.channels;
      S->audio_tgt_freq = Wanted.freq;
      S->audio_buf_size = 0;
      S->audio_buf_index = 0;
      S->audio_diff_avg_coef = std::exp(std::log10(0.01) / 20);
      S->audio_diff_avg_count = 0;
      S->audio_diff_threshold = 2.0 * 1024 / (Ctx->sample_rate > 0 ? Ctx->sample_rate : 1);
      if (!S->audio_pkt) S->audio_pkt = ff::av_packet_alloc();
      if (!S->audio_frame) S->audio_frame = ff::av_frame_alloc();
      S->audio_need_packet = true;
      S->audioq.Init();
      S->audioq.PutFlush();
      if (Ctx->sample_rate <= 0 || FSDL->SDL_OpenAudio(&Wanted, nullptr) < 0) {
        S->open_failure = String("SDL_OpenAudio() failed: ") + FSDL->SDL_GetError();
        LogError(S->open_failure, false);
        S->audio_st = nullptr;
        S->audio_ctx = nullptr;
        S->audioq.Flush();
        TCodecLockGuard Lock;
        ff::avcodec_free_context(&Ctx);
        return -1;
      }
      S->audio_hw_buf_size = static_cast<Integer>(Wanted.size);
      St->discard = AVDISCARD_DEFAULT;
      S->audio_stream = AIndex;
      S->AudioDuration = St->duration != AV_NOPTS_VALUE
                             ? ff::av_rescale_q(St->duration, St->time_base, AVRational{1, AV_TIME_BASE})
                             : -1;
      FSDL->SDL_PauseAudio(0);
      break;
    }
    case AVMEDIA_TYPE_SUBTITLE:
      St->discard = AVDISCARD_DEFAULT;
      S->subtitle_stream = AIndex;
      S->subtitle_st = St;
      S->subtitle_ctx = Ctx;
      S->subtitleq.Init();
      S->subtitleq.PutFlush();
      S->subtitle_tid.reset(TPlayerWorker::Create([this, S] { SubtitleThread(S); }));
      break;
    case AVMEDIA_TYPE_VIDEO: {
      St->discard = AVDISCARD_DEFAULT;
      S->video_stream = AIndex;
      S->video_st = St;
      S->video_ctx = Ctx;
      S->upright = UprightTurnOf(St);
      // A decoder that learns its rate from the stream's own headers (H.264) knows it
      // only after its first picture: the choice waits for it.
      S->frame_rate_pending = !ChooseFrameDelay(S, false);
      S->videoq.Init();
      S->videoq.PutFlush();
      S->video_tid.reset(TPlayerWorker::Create([this, S] { VideoThread(S); }));
      break;
    }
    default: {
      TCodecLockGuard Lock;
      ff::avcodec_free_context(&Ctx);
      return -1;
    }
  }
  return 0;
}

void TCustomPlayer::StreamComponentClose(TVideoState* S, Integer AIndex) {
  if (!S->ic || AIndex < 0 || AIndex >= static_cast<Integer>(S->ic->nb_streams)) return;
  AVCodecContext* Ctx = nullptr;
  switch (S->ic->streams[AIndex]->codecpar->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
      S->audioq.Abort();
      FSDL->SDL_CloseAudio();
      S->audioq.End();
      if (S->reformat_ctx) ff::swr_free(&S->reformat_ctx);
      S->audio_src_fmt = -1;
      Ctx = S->audio_ctx;
      S->audio_ctx = nullptr;
      S->audio_stream = -1;
      S->audio_st = nullptr;
      S->AudioDuration = -1;
      break;
    case AVMEDIA_TYPE_VIDEO:
      S->videoq.Abort();
      {
        std::lock_guard<std::mutex> L(S->pictq_mutex);
        S->pictq_cond.notify_all();
      }
      if (S->video_tid) S->video_tid->WaitFor();
      S->video_tid.reset();
      S->videoq.End();
      Ctx = S->video_ctx;
      S->video_ctx = nullptr;
      S->video_stream = -1;
      S->video_st = nullptr;
      S->upright = {};
      break;
    case AVMEDIA_TYPE_SUBTITLE:
      S->subtitleq.Abort();
      // The next refresh empties the subtitle queue.
      S->subtitle_stream_changed.store(1);
      {
        std::lock_guard<std::mutex> L(S->subpq_mutex);
        S->subpq_cond.notify_all();
      }
      if (S->subtitle_tid) S->subtitle_tid->WaitFor();
      S->subtitle_tid.reset();
      S->subtitleq.End();
      Ctx = S->subtitle_ctx;
      S->subtitle_ctx = nullptr;
      S->subtitle_stream = -1;
      S->subtitle_st = nullptr;
      break;
    default:
      return;
  }
  S->ic->streams[AIndex]->discard = AVDISCARD_ALL;
  if (Ctx) {
    TCodecLockGuard Lock;
    ff::avcodec_free_context(&Ctx);
  }
}

bool TCustomPlayer::ChooseFrameDelay(TVideoState* S, bool AFinal) {
  const AVCodecContext* Ctx = S->video_ctx;
  const AVRational Container = S->video_st->r_frame_rate;
  // No decoder time base in today's libraries: one tick is a picture's share of
  // ticks_per_frame, and the codec's rate is ticks per second.
  const AVRational Picture = Ctx->framerate;
  const bool Known = Picture.num > 0 && Picture.den > 0;
  const Integer Ticks = std::max(Ctx->ticks_per_frame, 1);
  const AVRational CodecRate{Known ? Picture.num * Ticks : 0, Known ? Picture.den : 1};
  const Integer Index = S->video_stream;
  AVRational Forced{0, 0};
  if (!FForceFrameRate.empty() && ff::av_parse_video_rate(&Forced, FForceFrameRate.c_str()) >= 0 && Forced.num > 0) {
    Log(llInfo, Format("Force stream %d frame rate: %2.2f (%d/%d) -> %2.2f (%d/%d)",
                       {Index, Known ? av_q2d(CodecRate) : 0.0, CodecRate.num, CodecRate.den, av_q2d(Forced),
                        Forced.num, Forced.den}));
    S->frame_delay = double(Forced.den) / Forced.num;
    return true;
  }
  const bool ContainerKnown = Container.num > 0 && Container.den > 0;
  if (!Known) {
    // Until the decoder tells its rate (or when it never does) the container's is all
    // there is.
    S->frame_delay = ContainerKnown ? double(Container.den) / Container.num : 0.04;
    return AFinal;
  }
  // A picture lasts its ticks: a rate of whole pictures, also for streams counting fields.
  if (!FAutoAdjustFrameRate || !ContainerKnown || av_cmp_q(Picture, Container) == 0) {
    S->frame_delay = double(Picture.den) / Picture.num;
    return true;
  }
  Log(llInfo, Format("Seems stream %d codec frame rate differs from container frame rate: %2.2f (%d/%d) -> %2.2f (%d/%d)",
                     {Index, av_q2d(CodecRate), CodecRate.num, CodecRate.den, av_q2d(Container), Container.num,
                      Container.den}));
  S->frame_delay = double(Container.den) / Container.num;
  return true;
}

void TCustomPlayer::StreamSeek(TVideoState* S, Integer AFlags, bool AWait, Int64 ARel, Int64 APos) {
  if (!S || S->seek_req.load()) return;
  FSeeking.store(true);
  // Until the seek's flush reaches the decoder, pictures still come from before it.
  if (S->video_stream >= 0) S->seek_flushed.store(0);
  S->seek_paused = S->paused.load();
  S->seek_pos = APos;
  S->seek_rel = ARel;
  S->seek_flags = AFlags;
  FSeekEvent.ResetEvent();
  S->seek_req.store(1);
  if (!AWait) return;
  WaitServing(FSeekEvent, INFINITE);
  if (S->video_stream >= 0) WaitServing(FPictEvent, INFINITE);
}

}  // namespace vantrel::media

