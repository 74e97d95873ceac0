// Pictures: the video thread decodes, converts each picture to YUV 4:2:0 and queues it
// in a two-slot queue with its display time; the event loop shows due pictures on the
// SDL surface in the right aspect ratio. The refresh thread ticks the event loop.
#include <cmath>
#include <cstring>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFPlay.h"
#include "media/SWScaleAPI.h"
#include "media/libsdl.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

namespace {

constexpr double PlayAVSyncThreshold = 0.01;
constexpr double PlayAVNoSyncThreshold = 10.0;
constexpr Integer PlayAllocEvent = SDL_USEREVENT;
constexpr Integer PlayRefreshEvent = SDL_USEREVENT + 1;

}  // namespace

void TCustomPlayer::DoVideoHook(TVideoState* S, AVFrame* AFrame, double APTS) {
  if (!FVideoHook.load() || !EventsAttached() || !OnVideoHook) return;
  AVPicture Pic;
  for (int I = 0; I < 4; ++I) {
    Pic.data[I] = AFrame->data[I];
    Pic.linesize[I] = AFrame->linesize[I];
  }
  if (!FHookConv->PictureToRGB(Pic, AV_PIX_FMT_YUV420P, AFrame->width, AFrame->height, true)) {
    LogError(FHookConv->LastErrMsg(), false);
    return;
  }
  bool Update = true;
  TCanvas* Canvas = FHookConv->Bitmap()->Canvas();
  Canvas->Lock();
  try {
    OnVideoHook(this, FHookConv->Bitmap(), std::llround(APTS * 1000000) - S->StartTime, Update);
  } catch (const std::exception& E) {
    Canvas->Unlock();
    LogError(String("Error occurs OnVideoHook: ") + E.what(), false);
    return;
  }
  Canvas->Unlock();
  if (!Update) return;
  FHookConv->BitmapToRGB();
  if (!FHookConv->RGBToPicture(Pic, AV_PIX_FMT_YUV420P, AFrame->width, AFrame->height))
    LogError(FHookConv->LastErrMsg(), false);
}

TBitmap* TCustomPlayer::CurrentFrame() {
  Int64 Pts;
  return CurrentFrame(Pts);
}

TBitmap* TCustomPlayer::CurrentFrame(Int64& APTS) {
  APTS = -1;
  TBitmap* Bmp = FFrameConv->Bitmap();
  // The event loop may free the picture: read it under the data lock.
  if (FDataLock.WaitFor(1000) != wrSignaled) {
    Bmp->SetSize(0, 0);
    return Bmp;
  }
  std::lock_guard<TMutexTimed> G(FDataLock, std::adopt_lock);
  TVideoState* S = FVideoState;
  if (!S || !S->video_ctx) {
    Bmp->SetSize(0, 0);
    return Bmp;
  }
  AVFrame* F = S->shown_frame;
  if (!F || !F->data[0]) {
    Integer W, H;
    ShownVideoSize(S, W, H);
    Bmp->SetSize(W, H);
    return Bmp;
  }
  AVPicture Pic;
  for (int I = 0; I < 4; ++I) {
    Pic.data[I] = F->data[I];
    Pic.linesize[I] = F->linesize[I];
  }
  if (!FFrameConv->PictureToRGB(Pic, AV_PIX_FMT_YUV420P, F->width, F->height, true)) {
    Bmp->SetSize(0, 0);
    return Bmp;
  }
  APTS = std::llround(S->shown_pts * 1000000) - S->StartTime;
  return Bmp;
}

String TCustomPlayer::VideoFilterChainText(const TVideoState* S) const {
  String Text = UprightFilterText(S->upright);
  if (!FVideoFilters.empty()) Text += (Text.empty() ? "" : ",") + FVideoFilters;
  return Text.empty() ? String("null") : Text;
}

void TCustomPlayer::ShownVideoSize(const TVideoState* S, Integer& AWidth, Integer& AHeight) const {
  AWidth = AHeight = -1;
  if (!S || !S->video_ctx) return;
  AWidth = S->video_ctx->width;
  AHeight = S->video_ctx->height;
  UprightSize(S->upright, AWidth, AHeight);
}

double TCustomPlayer::ComputeTargetTime(TVideoState* S, double APTS) {
  double Delay = APTS - S->frame_last_pts;
  if (Delay <= 0 || Delay >= PlayAVNoSyncThreshold) Delay = S->frame_last_delay;
  else S->frame_last_delay = Delay;
  S->frame_last_pts = APTS;
  if ((S->av_sync_type == AV_SYNC_AUDIO_MASTER && S->audio_st) || S->av_sync_type == AV_SYNC_EXTERNAL_CLOCK) {
    const double Diff = GetVideoClock(S) - GetMasterClock(S);
    const double Threshold = std::max(PlayAVSyncThreshold, Delay);
    if (std::fabs(Diff) < PlayAVNoSyncThreshold) {
      if (Diff <= -Threshold) Delay = 0;
      else if (Diff >= Threshold) Delay = 2 * Delay;
    }
  }
  S->frame_timer += Delay;
  return S->frame_timer;
}

Integer TCustomPlayer::GetVideoFrame(TVideoState* S, AVFrame* AFrame, AVPacket* APacket, double& APTS) {
  AVCodecContext* Ctx = S->video_ctx;
  for (;;) {
    const int Ret = ff::avcodec_receive_frame(Ctx, AFrame);
    if (Ret >= 0) {
      if (S->frame_rate_pending) {
        S->frame_rate_pending = false;
        ChooseFrameDelay(S, true);
      }
      Int64 Pts;
      if (decoder_reorder_pts == -1) Pts = GuessCorrectPts(S->pts_ctx, AFrame->pts, AFrame->pkt_dts);
      else if (decoder_reorder_pts == 1) Pts = AFrame->pts;
      else Pts = AFrame->pkt_dts;
      if (Pts == AV_NOPTS_VALUE) Pts = 0;
      // The filters carry this time on: what comes out of them is what is shown when.
      AFrame->pts = Pts;
      APTS = Pts * av_q2d(S->video_st->time_base);
      // Up to a seek's target every picture counts (the last one before it is shown).
      if (S->video_skipping) return 1;
      S->skip_frames_index += 1;
      const float Skip = S->skip_frames.load();
      if (S->skip_frames_index >= Skip) {
        S->skip_frames_index -= std::max(Skip, 1.0f);
        return 1;
      }
      // Skipped: the display cannot keep up with every picture.
      ff::av_frame_unref(AFrame);
      continue;
    }
    bool Flush = false;
    if (S->videoq.Get(APacket, Flush, true) < 0) return -1;
    if (Flush) {
      ff::avcodec_flush_buffers(Ctx);
      S->video_draining = false;
      {
        std::unique_lock<std::mutex> L(S->pictq_mutex);
        for (auto& P : S->pictq) P.due_clock = 0;
        S->pictq_cond.wait(L, [S] { return S->pictq_size == 0 || S->videoq.Aborted(); });
      }
      S->video_current_pos = -1;
      InitPtsCorrection(S->pts_ctx);
      S->frame_last_pts = static_cast<double>(AV_NOPTS_VALUE);
      S->frame_last_delay = 0;
      S->frame_timer = Now() / 1000000.0;
      S->skip_frames.store(1.0f);
      S->skip_frames_index = 0.0f;
      // A first picture at time 0 takes the predicted time: not the one from before the seek.
      S->video_clock = 0;
      const Int64 Target = S->seek_target.load();
      S->video_skipping = Target != NoPTSValue;
      S->video_skip_to = Target / 1000000.0;
      if (S->video_held) ff::av_frame_unref(S->video_held);
      if (S->video_pending) ff::av_frame_unref(S->video_pending);
      S->seek_flushed.store(1);
      return 0;
    }
    if (!APacket->data && APacket->size == 0) {
      // The end of the input: the decoder gives its delayed pictures once.
      if (!S->video_draining) {
        S->video_draining = true;
        ff::avcodec_send_packet(Ctx, nullptr);
        continue;
      }
      if (!S->EventEOF) UpdatePosition(S);
      return 0;
    }
    // Pictures before a seek's target are dropped: those no other picture refers to
    // need not be decoded at all.
    const bool Before = S->video_skipping && APacket->pts != AV_NOPTS_VALUE &&
                        APacket->pts * av_q2d(S->video_st->time_base) < S->video_skip_to - 2 * S->frame_delay;
    Ctx->skip_frame = Before ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
    ff::avcodec_send_packet(Ctx, APacket);
    ff::av_packet_unref(APacket);
  }
}

bool TCustomPlayer::SkipBeforeSeekTarget(TVideoState* S, AVFrame* AFrame, double& APTS) {
  if (!S->video_skipping) return false;
  // The picture on screen at the target is the last one starting at or before it.
  const double Target = S->video_skip_to + 0.0005;
  if (APTS + S->frame_delay <= Target) {
    if (!S->video_held) S->video_held = ff::av_frame_alloc();
    ff::av_frame_unref(S->video_held);
    ff::av_frame_move_ref(S->video_held, AFrame);
    S->video_held_pts = APTS;
    return true;
  }
  if (APTS > Target && S->video_held && S->video_held->data[0]) {
    // Past the target: the held picture goes first, this one next.
    if (!S->video_pending) S->video_pending = ff::av_frame_alloc();
    ff::av_frame_unref(S->video_pending);
    ff::av_frame_move_ref(S->video_pending, AFrame);
    S->video_pending_pts = APTS;
    ff::av_frame_move_ref(AFrame, S->video_held);
    APTS = S->video_held_pts;
  }
  EndSeekSkipping(S);
  return false;
}

void TCustomPlayer::EndSeekSkipping(TVideoState* S) {
  S->video_skipping = false;
  if (S->video_held) ff::av_frame_unref(S->video_held);
  // The time spent decoding up to the target is not a delay of the pictures.
  S->frame_timer = Now() / 1000000.0;
}

void TCustomPlayer::VideoThread(TVideoState* S) {
  AVFrame* Frame = ff::av_frame_alloc();
  AVFrame* Filtered = ff::av_frame_alloc();
  AVPacket* Pkt = ff::av_packet_alloc();
  InitPtsCorrection(S->pts_ctx);
  Integer Shown = 0;
  while (!S->videoq.Aborted()) {
    // Paused: pictures still come for an open-paused start, a seek while paused and a step.
    while (S->paused.load() && !S->open_paused && !S->seek_paused && !S->step.load() && !S->videoq.Aborted())
      TThread::Sleep(10);
    double PTS = 0;
    Integer Ret;
    if (S->video_pending && S->video_pending->data[0]) {
      ff::av_frame_move_ref(Frame, S->video_pending);
      PTS = S->video_pending_pts;
      Ret = 1;
    } else {
      Ret = GetVideoFrame(S, Frame, Pkt, PTS);
    }
    if (Ret < 0) break;
    if (Ret == 0) {
      // The input ended before the seek's target: its last picture is the one to show.
      if (!S->video_skipping || !S->video_draining || !S->video_held || !S->video_held->data[0]) continue;
      ff::av_frame_move_ref(Frame, S->video_held);
      PTS = S->video_held_pts;
      EndSeekSkipping(S);
    } else if (SkipBeforeSeekTarget(S, Frame, PTS)) {
      continue;
    }
    if (S->seek_paused && !S->seek_flushed.load()) {
      // Decoded from before a seek asked for while paused: the seek's own picture is the
      // one to show.
      ff::av_frame_unref(Frame);
      continue;
    }
    if (FPictureWork) FPictureWork();
    if (FDeinterlace.load()) DeinterlaceFrame(Frame);
    const Integer Queued = FilterAndQueue(S, Frame, Filtered);
    ff::av_frame_unref(Frame);
    if (Queued < 0) break;
    ++Shown;
    if (S->seek_paused && S->seek_flushed.load()) {
      S->seek_paused = 0;
      FSeeking.store(false);
    }
    FPictEvent.SetEvent();
    if (!S->seek_paused) FSeeking.store(false);
    if (S->open_paused && Shown >= 2) {
      S->open_paused = 0;
      ChangeState(psPause);
    }
    if (S->step.exchange(0)) {
      StreamPause();
    }
  }
  ff::av_packet_free(&Pkt);
  ff::av_frame_free(&Filtered);
  ff::av_frame_free(&Frame);
  if (S->video_held) ff::av_frame_free(&S->video_held);
  if (S->video_pending) ff::av_frame_free(&S->video_pending);
  S->filters.reset();
}

bool TCustomPlayer::DeinterlaceFrame(AVFrame* F) {
  // A picture of its own: the filter chain may keep it beyond the next one.
  AVFrame* Out = ff::av_frame_alloc();
  if (Out) {
    Out->format = F->format;
    Out->width = F->width;
    Out->height = F->height;
  }
  if (!Out || ff::av_frame_get_buffer(Out, 0) < 0) {
    ff::av_frame_free(&Out);
    LogError("deinterlace buffer malloc error.", false);
    FDeinterlace.store(false);
    return false;
  }
  AVPicture Dst, Src;
  for (int I = 0; I < 4; ++I) {
    Dst.data[I] = Out->data[I];
    Dst.linesize[I] = Out->linesize[I];
    Src.data[I] = F->data[I];
    Src.linesize[I] = F->linesize[I];
  }
  if (DeinterlacePicture(Dst, Src, F->format, F->width, F->height) < 0) {
    ff::av_frame_free(&Out);
    LogError("deinterlacing failed.", false);
    FDeinterlace.store(false);
    return false;
  }
  ff::av_frame_copy_props(Out, F);
  ff::av_frame_unref(F);
  ff::av_frame_move_ref(F, Out);
  ff::av_frame_free(&Out);
  return true;
}

double TCustomPlayer::FilteredPictureTime(TVideoState* S, const AVFrame* AOut) {
  if (AOut->pts == AV_NOPTS_VALUE) return 0;  // the predicted time
  const AVRational Stream = S->video_st->time_base;
  const TAVRational Out = S->filters->TimeBase();
  Int64 Pts = AOut->pts;
  if (Out.num > 0 && Out.den > 0 && (Out.num != Stream.num || Out.den != Stream.den)) {
    const Int64 Was = Pts;
    Pts = ff::av_rescale_q(Pts, AVRational{Out.num, Out.den}, Stream);
    Log(llDebug, Format("video_thread(): tb:%d/%d pts:%s -> tb:%d/%d pts:%s\n",
                        {Out.num, Out.den, String(std::to_string(Was)), Stream.num, Stream.den,
                         String(std::to_string(Pts))}));
  }
  return Pts * av_q2d(Stream);
}

Integer TCustomPlayer::FilterAndQueue(TVideoState* S, AVFrame* F, AVFrame* AOut) {
  if (!S->filters || S->filter_in_w != F->width || S->filter_in_h != F->height || S->filter_in_fmt != F->format) {
    S->filters = std::make_unique<TVideoFilterChain>();
    TVideoFilterInput In;
    In.Width = F->width;
    In.Height = F->height;
    In.PixFmt = F->format;
    In.TimeBase = {S->video_st->time_base.num, S->video_st->time_base.den};
    In.SampleAspect = {F->sample_aspect_ratio.num, F->sample_aspect_ratio.den};
    In.FrameRate = {S->video_st->r_frame_rate.num, S->video_st->r_frame_rate.den};
    Integer Ret;
    try {
      Ret = S->filters->Configure(In, VideoFilterChainText(S), {AV_PIX_FMT_YUV420P}, "flags=4");
    } catch (const std::exception& E) {
      LogError(E.what(), false);
      Ret = -1;
    }
    if (Ret < 0) {
      if (!S->filters->LastErrMsg().empty()) LogError(S->filters->LastErrMsg(), false);
      // No picture will come; the rest of the file plays on.
      return -1;
    }
    S->filter_in_w = F->width;
    S->filter_in_h = F->height;
    S->filter_in_fmt = F->format;
    S->out_w.store(S->filters->Width());
    S->out_h.store(S->filters->Height());
  }
  if (S->filters->Push(F) < 0) return 0;
  for (;;) {
    const Integer Ret = S->filters->Pull(AOut);
    if (Ret != 1) return 0;
    double PTS = FilteredPictureTime(S, AOut);
    if (PTS != 0) S->video_clock = PTS;
    else PTS = S->video_clock;
    S->video_clock += S->frame_delay + AOut->repeat_pict * S->frame_delay * 0.5;
    const Integer Queued = QueuePicture(S, AOut, PTS, F->pkt_pos);
    ff::av_frame_unref(AOut);
    if (Queued < 0) return -1;
  }
}

Integer TCustomPlayer::QueuePicture(TVideoState* S, AVFrame* F, double APTS, Int64 APos) {
  {
    std::unique_lock<std::mutex> L(S->pictq_mutex);
    // A full queue with no refresh pending: the display keeps up, fewer pictures need skipping.
    if (S->pictq_size >= PictureQueueSize && !S->refresh.load())
      S->skip_frames.store(std::max(0.95f, S->skip_frames.load() * 0.95f));
    S->pictq_cond.wait(L, [S] { return S->pictq_size < PictureQueueSize || S->videoq.Aborted(); });
    if (S->videoq.Aborted()) return -1;
  }
  TVideoPicture& VP = S->pictq[S->pictq_windex];
  const Integer W = F->width & ~1, H = F->height & ~1;
  if (!VP.bmp || VP.width != W || VP.height != H) {
    {
      std::lock_guard<std::mutex> L(S->pictq_mutex);
      VP.allocated = 0;
      VP.width = W;
      VP.height = H;
    }
    PushUserEvent(PlayAllocEvent);
    std::unique_lock<std::mutex> L(S->pictq_mutex);
    S->pictq_cond.wait(L, [&] { return VP.allocated || S->videoq.Aborted(); });
    if (S->videoq.Aborted()) return -1;
  }
  if (!VP.frame) VP.frame = ff::av_frame_alloc();
  ff::av_frame_unref(VP.frame);
  VP.frame->format = AV_PIX_FMT_YUV420P;
  VP.frame->width = W;
  VP.frame->height = H;
  if (ff::av_frame_get_buffer(VP.frame, 0) < 0) return -1;
  VP.frame->sample_aspect_ratio = F->sample_aspect_ratio;
  // Into YUV 4:2:0, read bottom-up for a flipped picture.
  const uint8_t* Src[4] = {F->data[0], F->data[1], F->data[2], F->data[3]};
  int SrcStride[4] = {F->linesize[0], F->linesize[1], F->linesize[2], F->linesize[3]};
  if (FVerticalFlip) {
    const AVPixFmtDescriptor* D = ff::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(F->format));
    for (int I = 0; I < 3 && Src[I]; ++I) {
      const int Rows = I == 0 || !D ? F->height : -((-F->height) >> D->log2_chroma_h);
      Src[I] += SrcStride[I] * (Rows - 1);
      SrcStride[I] = -SrcStride[I];
    }
  }
  S->img_convert_ctx = ff::sws_getCachedContext(S->img_convert_ctx, F->width, F->height,
                                                static_cast<AVPixelFormat>(F->format), W, H, AV_PIX_FMT_YUV420P,
                                                SWS_BICUBIC, nullptr, nullptr, nullptr);
  if (!S->img_convert_ctx) return -1;
  ff::sws_scale(S->img_convert_ctx, Src, SrcStride, 0, F->height, VP.frame->data, VP.frame->linesize);
  DoVideoHook(S, VP.frame, APTS);
  // YV12 keeps V before U.
  FSDL->SDL_LockYUVOverlay(VP.bmp);
  for (int Plane = 0; Plane < 3; ++Plane) {
    const int Target = Plane == 0 ? 0 : (Plane == 1 ? 2 : 1);
    const int Rows = Plane == 0 ? H : H / 2, Bytes = Plane == 0 ? W : W / 2;
    for (int Y = 0; Y < Rows; ++Y)
      std::memcpy(VP.bmp->pixels[Target] + Y * VP.bmp->pitches[Target],
                  VP.frame->data[Plane] + Y * VP.frame->linesize[Plane], Bytes);
  }
  FSDL->SDL_UnlockYUVOverlay(VP.bmp);
  VP.pts = APTS;
  VP.pos = APos;
  VP.sub_blended = 0;
  S->pictq_windex = (S->pictq_windex + 1) % PictureQueueSize;
  std::lock_guard<std::mutex> L(S->pictq_mutex);
  VP.due_clock = ComputeTargetTime(S, APTS);
  ++S->pictq_size;
  return 0;
}

bool TCustomPlayer::AllocPicture(TVideoState* S) {
  TVideoPicture& VP = S->pictq[S->pictq_windex];
  if (VP.bmp) FSDL->SDL_FreeYUVOverlay(VP.bmp);
  VP.bmp = nullptr;
  if (Fscreen) VP.bmp = FSDL->SDL_CreateYUVOverlay(VP.width, VP.height, SDL_YV12_OVERLAY, Fscreen);
  if (!VP.bmp) {
    // No picture can be shown: the player closes (the event loop ends it).
    FLastErrMsg = Format("Error: the video system does not support an image size of %dx%d pixels. Try using "
                         "-lowres or -vf \"scale=w:h\" to reduce the image size.",
                         {VP.width, VP.height});
    Log(llFatal, FLastErrMsg);
    return false;
  }
  std::lock_guard<std::mutex> L(S->pictq_mutex);
  VP.allocated = 1;
  S->pictq_cond.notify_all();
  return true;
}

void TCustomPlayer::RefreshThread(TVideoState* S) {
  while (!S->abort_request.load()) {
    if (S->refresh.exchange(1) != 1) PushUserEvent(PlayRefreshEvent);
    TThread::Sleep(S->audio_st && S->show_audio && !S->video_st ? rdftspeed : 5);
  }
}

Integer TCustomPlayer::VideoOpen(TVideoState* S, bool AForce) {
  if (!FSDLStarted) return -1;
  Integer W = 640, H = 480;
  if (is_full_screen && FFullScreenWidth > 0) {
    W = FFullScreenWidth;
    H = FFullScreenHeight;
  } else if (!is_full_screen && FScreenWidth > 0 && FScreenHeight > 0) {
    W = FScreenWidth;
    H = FScreenHeight;
  } else if (S->out_w.load() > 0) {
    W = S->out_w.load() & ~1;
    H = S->out_h.load() & ~1;
  } else if (S->video_ctx && S->video_ctx->width > 0) {
    ShownVideoSize(S, W, H);
    W &= ~1;
    H &= ~1;
  }
  if (!AForce && Fscreen && Fscreen->w == W && S->width == W && Fscreen->h == H && S->height == H) return 0;
  char Driver[64] = {};
  FSDL->SDL_VideoDriverName(Driver, sizeof Driver);
  // The dummy driver gives 8 bits (and no overlay) unless asked for a depth.
  const int Bpp = String(Driver) == "dummy" ? 32 : 0;
  const Uint32 Flags = is_full_screen ? SDL_FULLSCREEN | SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_HWACCEL
                                     : SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_RESIZABLE | SDL_HWACCEL;
  Fscreen = FSDL->SDL_SetVideoMode(W, H, Bpp, Flags);
  if (!Fscreen) {
    LogError("SDL: could not set video mode.", false);
    return -1;
  }
  if (!FScreenHandle) FSDL->SDL_WM_SetCaption("DODodeve", "DODodeve");
  S->width = Fscreen->w;
  S->height = Fscreen->h;
  return 0;
}

void TCustomPlayer::VideoImageDisplay(TVideoState* S) {
  const Integer Index = S->pictq_shown >= 0 ? S->pictq_shown : S->pictq_rindex;
  TVideoPicture& VP = S->pictq[Index];
  if (!VP.bmp || !Fscreen) return;
  double Aspect;
  if (FAspectRatio < 0 && S->height > 0) Aspect = double(S->width) / S->height;
  else if (FAspectRatio > 0) Aspect = FAspectRatio;
  else {
    Aspect = VP.frame && VP.frame->sample_aspect_ratio.num > 0 && VP.frame->sample_aspect_ratio.den > 0
                 ? av_q2d(VP.frame->sample_aspect_ratio)
                 : 1.0;
    Aspect *= double(VP.width) / VP.height;
  }
  Integer H = S->height;
  Integer W = static_cast<Integer>(std::lround(H * Aspect)) & ~1;
  if (W > S->width) {
    W = S->width;
    H = static_cast<Integer>(std::lround(W / Aspect)) & ~1;
  }
  SDL_Rect R;
  R.x = static_cast<Sint16>(S->xleft + (S->width - W) / 2);
  R.y = static_cast<Sint16>(S->ytop + (S->height - H) / 2);
  R.w = static_cast<Uint16>(W);
  R.h = static_cast<Uint16>(H);
  BlendSubtitles(S, VP);
  FSDL->SDL_DisplayYUVOverlay(VP.bmp, &R);
}

void TCustomPlayer::VideoDisplay(TVideoState* S) {
  if (!Fscreen) VideoOpen(S, false);
  if (!Fscreen) return;
  if (S->audio_st && S->show_audio) VideoAudioDisplay(S);
  else if (S->video_st) VideoImageDisplay(S);
}

namespace {

// A position in the sample record, wrapped into it (never negative).
Integer PlayerSampleIndex(Integer AIndex) {
  return ((AIndex % SampleArraySize) + SampleArraySize) % SampleArraySize;
}

// The transform size of the spectrum for a surface height: 2^bits samples, the smallest
// power of two reaching twice the height.
Integer PlayerSpectrumBits(Integer AHeight) {
  Integer Bits = 1;
  while ((1 << Bits) < 2 * AHeight) ++Bits;
  return Bits;
}

Integer PlayerSpectrumBins(Integer AHeight) { return 1 << (PlayerSpectrumBits(AHeight) - 1); }

}  // namespace

void TCustomPlayer::VideoAudioDisplay(TVideoState* S) {
  const Integer Channels = S->audio_tgt_channels > 0 ? S->audio_tgt_channels : 1;
  const Integer Width = S->width, Height = S->height;
  if (Width <= 0 || Height <= 0 || !Fscreen) return;
  Integer Start;
  if (!S->paused.load()) {
    double Delay = double(static_cast<Integer>(S->audio_buf_size) - S->audio_buf_index) / (2 * Channels);
    const Int64 Callback = Faudio_callback_time.load();
    if (Callback) Delay -= (Now() - Callback) * double(S->audio_tgt_freq) / 1000000;
    const bool Spectrum = S->show_audio == saRDFT;
    const Integer DataUsed = Spectrum ? 2 * PlayerSpectrumBins(Height) : Width;
    Integer D = static_cast<Integer>(Delay) + 2 * DataUsed;
    if (D < DataUsed) D = DataUsed;
    Start = PlayerSampleIndex(S->sample_array_index - D * Channels);
    if (Spectrum) {
      DrawSpectrumColumn(S, Start, Channels);
      return;
    }
    // The best trigger point among the last samples: a rising zero crossing.
    Integer Best = INT_MIN, At = Start;
    for (Integer I = 0; I < 1000; I += Channels) {
      const Integer Idx = PlayerSampleIndex(Start - I);
      const Integer A = S->sample_array[Idx];
      const Integer B = S->sample_array[PlayerSampleIndex(Idx + 4 * Channels)];
      const Integer C = S->sample_array[PlayerSampleIndex(Idx + 5 * Channels)];
      const Integer Dd = S->sample_array[PlayerSampleIndex(Idx + 9 * Channels)];
      if (Best < A - Dd && (B ^ C) < 0) {
        Best = A - Dd;
        At = Idx;
      }
    }
    Start = At;
    S->last_i_start = Start;
  } else {
    if (S->show_audio == saRDFT) return;  // the columns drawn stay
    Start = S->last_i_start;
  }
  const Uint32 Black = FSDL->SDL_MapRGB(Fscreen->format, 0, 0, 0);
  const Uint32 White = FSDL->SDL_MapRGB(Fscreen->format, 255, 255, 255);
  auto Fill = [&](Integer X, Integer Y, Integer W, Integer H, Uint32 Colour) {
    SDL_Rect R{static_cast<Sint16>(X), static_cast<Sint16>(Y), static_cast<Uint16>(W), static_cast<Uint16>(H)};
    FSDL->SDL_FillRect(Fscreen, &R, Colour);
  };
  Fill(S->xleft, S->ytop, Width, Height, Black);
  const Integer H = Height / Channels, H2 = (H * 9) / 20;
  for (Integer Ch = 0; Ch < Channels; ++Ch) {
    Integer I = PlayerSampleIndex(Start + Ch);
    const Integer Y1 = S->ytop + Ch * H + H / 2;
    for (Integer X = 0; X < Width; ++X) {
      Integer Y = (S->sample_array[I] * H2) >> 15;
      Integer Ys = Y1;
      if (Y < 0) {
        Y = -Y;
        Ys = Y1 - Y;
      }
      if (Y > 0) Fill(S->xleft + X, Ys, 1, Y, White);
      I = PlayerSampleIndex(I + Channels);
    }
  }
  for (Integer Ch = 1; Ch < Channels; ++Ch) Fill(S->xleft, S->ytop + Ch * H, Width, 1, White);
  FSDL->SDL_UpdateRect(Fscreen, S->xleft, S->ytop, Width, Height);
}

void TCustomPlayer::DrawSpectrumColumn(TVideoState* S, Integer AStart, Integer AChannels) {
  const Integer Bits = PlayerSpectrumBits(S->height);
  const Integer Bins = 1 << (Bits - 1);
  if (Bits != S->rdft_bits || !S->rdft) {
    if (S->rdft) ff::av_rdft_end(S->rdft);
    S->rdft = ff::av_rdft_init(Bits, DFT_R2C);
    S->rdft_bits = Bits;
    S->rdft_data.assign(size_t(4) * Bins, 0.0f);
  }
  if (!S->rdft) return;
  const Integer Shown = std::min<Integer>(AChannels, 2);
  for (Integer Ch = 0; Ch < Shown; ++Ch) {
    float* Data = S->rdft_data.data() + 2 * Bins * Ch;
    Integer I = PlayerSampleIndex(AStart + Ch);
    for (Integer X = 0; X < 2 * Bins; ++X) {
      const double W = double(X - Bins) / Bins;
      Data[X] = static_cast<float>(S->sample_array[I] * (1.0 - W * W));
      I = PlayerSampleIndex(I + AChannels);
    }
    ff::av_rdft_calc(S->rdft, Data);
  }
  const double Scale = 1 / std::sqrt(double(Bins));
  auto Level = [&](Integer ACh, Integer AY) {
    const float* D = S->rdft_data.data() + 2 * Bins * ACh;
    const double V = std::sqrt(Scale * std::sqrt(double(D[2 * AY]) * D[2 * AY] + double(D[2 * AY + 1]) * D[2 * AY + 1]));
    return static_cast<Integer>(std::min(std::lround(V), 255L));
  };
  for (Integer Y = 0; Y < S->height && Y < Bins; ++Y) {
    const Integer A = Level(0, Y), B = Shown == 2 ? Level(1, Y) : A;
    const Uint32 Colour = FSDL->SDL_MapRGB(Fscreen->format, static_cast<Uint8>(A), static_cast<Uint8>(B),
                                           static_cast<Uint8>((A + B) / 2));
    SDL_Rect R{static_cast<Sint16>(S->xpos), static_cast<Sint16>(S->ytop + S->height - Y), 1, 1};
    FSDL->SDL_FillRect(Fscreen, &R, Colour);
  }
  FSDL->SDL_UpdateRect(Fscreen, S->xpos, S->ytop, 1, S->height);
  if (++S->xpos >= S->xleft + S->width) S->xpos = S->xleft;
}

void TCustomPlayer::VideoRefresh(TVideoState* S, bool ADequeue) {
  if (!S->video_st) {
    if (S->audio_st) {
      VideoDisplay(S);
      UpdatePosition(S);
    }
    return;
  }
  bool Late = S->seek_done.load() != 0;
  bool NoDrop = true;
  for (;;) {
    if (S->seek_done.load()) Late = true;
    Integer Size;
    {
      std::lock_guard<std::mutex> L(S->pictq_mutex);
      Size = S->pictq_size;
    }
    if (Size == 0) {
      if (!ADequeue) VideoDisplay(S);
      break;
    }
    if (!ADequeue) {
      VideoDisplay(S);
      break;
    }
    const double NowSec = Now() / 1000000.0;
    TVideoPicture& VP = S->pictq[S->pictq_rindex];
    if (NowSec < VP.due_clock) return;
    S->video_current_pts = VP.pts;
    S->video_current_pts_drift = S->video_current_pts - NowSec;
    S->video_current_pos = VP.pos;
    if (S->seek_done.load() && S->seek_flushed.load()) {
      S->seek_done.store(0);
      Late = false;
    }
    const double Next = Size > 1 ? S->pictq[(S->pictq_rindex + 1) % PictureQueueSize].due_clock
                                 : VP.due_clock + S->video_clock - VP.pts;
    if ((framedrop && NowSec > Next && !S->IsDevice) || Late) {
      S->skip_frames.store(S->skip_frames.load() * 1.05f);
      if (Size > 1 || NowSec > Next + 0.5 || Late) {
        S->pictq_rindex = (S->pictq_rindex + 1) % PictureQueueSize;
        std::lock_guard<std::mutex> L(S->pictq_mutex);
        --S->pictq_size;
        S->pictq_cond.notify_all();
        NoDrop = false;
        continue;
      }
    }
    ExpireSubtitles(S);
    S->pictq_shown = S->pictq_rindex;
    if (VP.frame) {
      if (!S->shown_frame) S->shown_frame = ff::av_frame_alloc();
      ff::av_frame_unref(S->shown_frame);
      ff::av_frame_ref(S->shown_frame, VP.frame);
      S->shown_pts = VP.pts;
    }
    VideoDisplay(S);
    if (FShowHook) FShowHook(VP.pts, Now());
    S->pictq_rindex = (S->pictq_rindex + 1) % PictureQueueSize;
    std::lock_guard<std::mutex> L(S->pictq_mutex);
    --S->pictq_size;
    S->pictq_cond.notify_all();
    break;
  }
  if (NoDrop) UpdatePosition(S);
}

}  // namespace vantrel::media

