// The play thread's SDL event loop, the event ring and the thread that delivers its
// events, position reporting, and the player's public operations.
#include <cmath>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFPlay.h"
#include "media/libsdl.h"
#include "platform/rtl/Format.h"
#include "platform/win/WindowManager.h"

namespace vantrel::media {

namespace {

constexpr Integer PlayQuitEvent = SDL_USEREVENT + 2;
constexpr Integer PlayRedrawEvent = SDL_USEREVENT + 3;

class TPlayerLoopThread : public TThread {
  VANTREL_CLASS(TPlayerLoopThread)

  explicit TPlayerLoopThread(std::function<void(TThread*)> AProc) : TThread(false), FProc(std::move(AProc)) {}

 protected:
  void Execute() override { FProc(this); }

 private:
  std::function<void(TThread*)> FProc;
};

}  // namespace

void TPlayEventRing::Push(const TItem& AItem) {
  std::lock_guard<std::mutex> L(FLock);
  const Integer Newest = (FTailer + Slots - 1) % Slots;
  if (FHeader == FTailer || FEvents[Newest].kind != AItem.kind) {
    FTailer = (FTailer + 1) % Slots;
    if (FTailer == FHeader) FHeader = (FHeader + 1) % Slots;
  }
  FEvents[(FTailer + Slots - 1) % Slots] = AItem;
  FEvent.SetEvent();
}

TPlayEventRing::TItem TPlayEventRing::Pop() {
  std::lock_guard<std::mutex> L(FLock);
  if (FHeader == FTailer) return {};
  TItem Item = FEvents[FHeader];
  FHeader = (FHeader + 1) % Slots;
  if (FHeader == FTailer) FEvent.ResetEvent();
  return Item;
}

void TPlayEventRing::Clear() {
  std::lock_guard<std::mutex> L(FLock);
  FHeader = FTailer = 0;
  FEvent.ResetEvent();
}

void TCustomPlayer::PushUserEvent(Integer AType) {
  if (!FSDLStarted || !FSDL->SDL_PushEvent) return;
  SDL_Event E{};
  E.type = static_cast<Uint8>(AType);
  E.user.code = 0;
  E.user.data1 = FVideoState;
  FSDL->SDL_PushEvent(&E);
}

void TCustomPlayer::ChangeState(TPlayState AState) {
  FPlayState = AState;
  if (EventsAttached() && OnState) FPlayEvent.Push({TPlayEventRing::ekState, static_cast<Int64>(AState)});
  else if (AState == psStop) FPlayEvent.Push({TPlayEventRing::ekEnd, 0});
}

void TCustomPlayer::UpdatePosition(TVideoState* S) {
  if (!S || S->IsImage2) return;
  Int64 Pts;
  if (S->video_st) {
    Pts = std::llround(GetVideoClock(S) * 1000000) - S->StartTime;
  } else if (S->audio_st) {
    Pts = std::llround(GetAudioClock(S) * 1000000) - S->StartTime;
    if (S->AudioDuration > 0 && Pts >= S->AudioDuration && Pts < S->Duration) Pts = S->Duration;
  } else {
    return;
  }
  FCurrentPTS.store(Pts);
  if (S->Duration > 0 && Pts >= S->Duration) {
    Pts = S->Duration;
    if (FLastPTS.load() != S->Duration) FLastPTS.store(0);
  }
  const Int64 Last = FLastPTS.load();
  if (Last == NoPTSValue || std::llabs(Last - Pts) > 10000) {
    FLastPTS.store(Pts);
    if (EventsAttached() && OnPosition) FPlayEvent.Push({TPlayEventRing::ekPosition, Pts});
  }
  // The end is reported once per arrival there, with or without video.
  if (!S->IsDevice && !S->EventEOF && S->ReachEOF.load()) {
    S->EventEOF = 1;
    ChangeState(psEnd);
  }
  if (PlayTime != NoPTSValue) {
    const Int64 End = start_time != NoPTSValue ? PlayTime + start_time : PlayTime;
    if (Pts >= End) {
      if (RepeatType == rtStop) PushUserEvent(PlayQuitEvent);
      else if (RepeatType == rtLoop) {
        const bool HasStart = start_time != NoPTSValue;
        const Int64 Target = (HasStart ? start_time : 0) + (S->ic && S->ic->start_time != AV_NOPTS_VALUE ? S->ic->start_time : 0);
        StreamSeek(S, HasStart ? 0 : AVSEEK_FLAG_ANY, false, 1, Target);
      }
    }
  }
}

void TCustomPlayer::EventLoop() {
  for (;;) {
    SDL_Event E{};
    if (!FSDL->SDL_WaitEvent(&E)) {
      std::lock_guard<TMutexTimed> G(FDataLock);
      if (!FVideoState) return;
      TThread::Sleep(10);
      continue;
    }
    if (FEventGate) FEventGate();
    std::lock_guard<TMutexTimed> G(FDataLock);
    TVideoState* S = FVideoState;
    if (!S) return;
    switch (E.type) {
      case SDL_QUIT:
      case PlayQuitEvent:
        if (E.user.data1 && E.user.data1 != S) break;  // left over from an earlier file
        StreamClose(S);
        delete S;
        FVideoState = nullptr;
        return;
      case SDL_VIDEORESIZE: {
        char Driver[64] = {};
        FSDL->SDL_VideoDriverName(Driver, sizeof Driver);
        Fscreen = FSDL->SDL_SetVideoMode(E.resize.w, E.resize.h, String(Driver) == "dummy" ? 32 : 0,
                                         SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_RESIZABLE | SDL_HWACCEL);
        FScreenWidth = E.resize.w;
        FScreenHeight = E.resize.h;
        if (Fscreen) {
          S->width = Fscreen->w;
          S->height = Fscreen->h;
        }
        if (S->paused.load()) VideoRefresh(S, false);
        break;
      }
      case SDL_VIDEOEXPOSE:
        if (S->paused.load()) VideoRefresh(S, false);
        else VideoDisplay(S);
        break;
      case SDL_USEREVENT:
        VideoOpen(S, false);
        if (!AllocPicture(S)) {
          StreamClose(S);
          delete S;
          FVideoState = nullptr;
          return;
        }
        break;
      case SDL_USEREVENT + 1:
        VideoRefresh(S, true);
        S->refresh.store(0);
        break;
      case PlayRedrawEvent:
        VideoOpen(S, true);
        VideoDisplay(S);
        break;
      default:
        break;
    }
  }
}

void TCustomPlayer::PlayThreadExecute() {
  try {
    EventLoop();
  } catch (const std::exception& Ex) {
    Log(llFatal, String("PlayThread Exception: ") + Ex.what());
    std::lock_guard<TMutexTimed> G(FDataLock);
    if (FVideoState) {
      StreamClose(FVideoState);
      delete FVideoState;
      FVideoState = nullptr;
    }
  }
  // SDL ends on the thread that ran it.
  QuitSDL();
  Fscreen = nullptr;
  ChangeState(psStop);
  FStopEvent.SetEvent();
}

void TCustomPlayer::EventThreadExecute(TThread* AThread) {
  while (!AThread->Terminated()) {
    const TPlayEventRing::TItem Item = FPlayEvent.Pop();
    if (Item.kind == TPlayEventRing::ekPosition) {
      auto Deliver = [this, V = Item.value] {
        if (EventsAttached() && OnPosition) OnPosition(this, V);
      };
      if (FTriggerEventInMainThread) CallInMainThread(Deliver);
      else Deliver();
    } else if (Item.kind == TPlayEventRing::ekState) {
      const auto State = static_cast<TPlayState>(Item.value);
      auto Deliver = [this, State] {
        if (EventsAttached() && OnState) OnState(this, State);
      };
      if (FTriggerEventInMainThread) CallInMainThread(Deliver);
      else Deliver();
      if (State == psStop) break;
    } else if (Item.kind == TPlayEventRing::ekEnd) {
      break;
    } else {
      FPlayEvent.Event().WaitFor(100);
    }
  }
}

void TCustomPlayer::JoinPlayThread() {
  if (FPlayThread) FPlayThread->WaitFor();
  FPlayThread.reset();
}

bool TCustomPlayer::WaitForStop() {
  Integer Counter = 1;
  for (;;) {
    if (WaitServingMainThread(FStopEvent, 100, 10) == wrSignaled) return false;
    if (FDataLock.WaitFor(100) != wrSignaled) continue;
    ++Counter;
    if (TVideoState* S = FVideoState) {
      if ((Counter > 10 && S->Reading.load()) || Counter > 20) {
        // The event loop does not answer: the state goes here, SDL stays with the
        // play thread, which ends at its next event.
        FVideoState = nullptr;
        FDataLock.Release();
        StreamClose(S);
        delete S;
        PushUserEvent(PlayQuitEvent);
        return true;
      }
      PushUserEvent(PlayQuitEvent);
    } else {
      PushUserEvent(PlayQuitEvent);
    }
    FDataLock.Release();
  }
}

bool TCustomPlayer::Open(const String& AFileName, HWND AScreenHandle, bool APaused) {
  if (!AVLibLoaded()) {
    FLastErrMsg = "libav not loaded.";
    return false;
  }
  if (!SDLLibLoaded()) {
    FLastErrMsg = "sdl not loaded.";
    return false;
  }
  Stop(true);
  JoinPlayThread();
  DropQueuedRestore();
  if (FEventThread) {
    FEventThread->Terminate();
    FEventThread.reset();
  }
  FPlayEvent.Clear();
  if (!StartSDL(AScreenHandle)) return false;
  if (FDisableDisplay) {
    FDisableVideo = true;
  } else {
    const SDL_VideoInfo* Info = FSDL->SDL_GetVideoInfo();
    if (!Info) {
      FLastErrMsg = "SDL_GetVideoInfo() failed";
      QuitSDL();
      return false;
    }
    FFullScreenWidth = Info->current_w;
    FFullScreenHeight = Info->current_h;
  }
  FSDL->SDL_EventState(SDL_ACTIVEEVENT, SDL_IGNORE);
  FSDL->SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
  FSDL->SDL_EventState(SDL_SYSWMEVENT, SDL_IGNORE);
  FLastPTS.store(NoPTSValue);
  if (!StreamOpen(AFileName, FForceFormat, APaused)) {
    QuitSDL();
    return false;
  }
  FFileName = AFileName;
  FScreenHandle = AScreenHandle;
  // The decoder reports on the file being played (the demuxing thread lets go of it at
  // the end).
  FDecoder->SetFileHandle(FVideoState->ic);
  Integer FrameW, FrameH;
  ShownVideoSize(FVideoState, FrameW, FrameH);
  const Int64 Duration = FVideoState->IsImage2 ? 0 : FVideoState->Duration;
  auto DoFileOpen = [&] {
    if (OnFileOpen) OnFileOpen(this, Duration, FrameW, FrameH, FScreenWidth, FScreenHeight);
    if (AScreenHandle && (FScreenWidth == 0 || FScreenHeight == 0)) {
      RECT R{};
      GetClientRect(AScreenHandle, &R);
      FScreenWidth = R.Right - R.Left;
      FScreenHeight = R.Bottom - R.Top;
    }
  };
  if (FTriggerEventInMainThread) CallInMainThread(DoFileOpen);
  else DoFileOpen();
  FStopEvent.ResetEvent();
  // Playing is reported before the threads start: a Pause the caller asks for as soon as
  // Open returns comes after it, and a late report from the playing thread cannot undo it.
  ChangeState(psPlay);
  FEventThread.reset(TPlayerLoopThread::Create([this](TThread* T) { EventThreadExecute(T); }));
  FPlayThread.reset(TPlayerLoopThread::Create([this](TThread*) { PlayThreadExecute(); }));
  return true;
}

void TCustomPlayer::Stop(bool AWaitForStop) {
  TVideoState* S = FVideoState;
  if (!S && !FPlayThread) {
    // Still opening (or nothing open): the open's interrupt check fires.
    FLastRead.store(0);
    if (TVideoState* O = FOpeningState.load()) O->abort_request.store(1);
    return;
  }
  if (S) {
    if (S->paused.load()) StreamPause();
    S->step.store(0);
    PushUserEvent(PlayQuitEvent);
  }
  if (!AWaitForStop) return;
  // After a forced close the play thread ends SDL when its event loop answers; the next
  // Open or Destroy joins it.
  if (!WaitForStop()) JoinPlayThread();
  DropQueuedRestore();
  RestoreScreenWndProc();
  ResetPlayState();
}

bool TCustomPlayer::Paused() const { return !FVideoState || FVideoState->paused.load(); }

void TCustomPlayer::Pause() {
  if (!FVideoState || FVideoState->paused.load()) return;
  StreamPause();
  FVideoState->step.store(0);
  ChangeState(psPause);
}

void TCustomPlayer::Resume() {
  if (!FVideoState || !FVideoState->paused.load()) return;
  StreamPause();
  FVideoState->step.store(0);
  ChangeState(psResume);
}

void TCustomPlayer::TogglePause() {
  if (!FVideoState) return;
  StreamPause();
  FVideoState->step.store(0);
  ChangeState(FVideoState->paused.load() ? psPause : psResume);
}

void TCustomPlayer::Seek(Int64 APTS, TSeekFlags ASeekFlags, bool AWaitForSeekEnd) {
  TVideoState* S = FVideoState;
  if (!S) return;
  S->EventEOF = 0;
  if (ASeekFlags.Contains(sfByte)) {
    StreamSeek(S, SeekFlagsToInt(ASeekFlags), AWaitForSeekEnd, 0, APTS);
    return;
  }
  Int64 Target = APTS;
  // Only a known duration bounds the target.
  if (S->Duration > 0 && Target > S->Duration) Target = S->Duration;
  if (S->ic && S->ic->start_time != AV_NOPTS_VALUE) Target += S->ic->start_time;
  StreamSeek(S, SeekFlagsToInt(ASeekFlags), AWaitForSeekEnd, APTS <= 0 ? 1 : 0, Target);
}

void TCustomPlayer::Seek(double ADelta, TSeekFlags ASeekFlags, bool AWaitForSeekEnd) {
  TVideoState* S = FVideoState;
  if (!S) return;
  S->EventEOF = 0;
  if (ASeekFlags.Contains(sfByte)) {
    const Int64 Here = S->ic && S->ic->pb ? ff::avio_seek(S->ic->pb, 0, SEEK_CUR) : 0;
    StreamSeek(S, SeekFlagsToInt(ASeekFlags), AWaitForSeekEnd, 0,
               RelativeByteSeekTarget(Here, ADelta, S->ic ? S->ic->bit_rate : 0));
    return;
  }
  StreamSeek(S, SeekFlagsToInt(ASeekFlags), AWaitForSeekEnd, std::llround(ADelta * 1000000),
             std::llround(1000000 * (GetMasterClock(S) + ADelta)));
}

Int64 RelativeByteSeekTarget(Int64 AHere, double ADelta, Int64 ABitRate) {
  const double Bytes = ABitRate > 0 ? ADelta * ABitRate / 8.0 : ADelta * 180000.0;
  return std::max<Int64>(0, AHere + std::llround(Bytes));
}

Integer TCustomPlayer::ScreenSurfaceWidth() const { return Fscreen ? Fscreen->w : 0; }

void TCustomPlayer::StepToNextFrame() {
  TVideoState* S = FVideoState;
  if (!S) return;
  if (S->paused.load()) StreamPause();
  if (!S->step.exchange(1)) ChangeState(psStep);
}

void TCustomPlayer::SetShowAudio(TShowAudio Value) {
  FShowAudio = Value;
  if (!FVideoState || FDisableDisplay) return;
  std::lock_guard<TMutexTimed> G(FDataLock);
  if (TVideoState* S = FVideoState; S && S->audio_st) S->show_audio = static_cast<Integer>(Value);
}

void TCustomPlayer::ToggleAudioDisplay() {
  if (!FVideoState) return;
  std::lock_guard<TMutexTimed> G(FDataLock);
  TVideoState* S = FVideoState;
  if (!S) return;
  S->show_audio = (S->show_audio + 1) % 3;
  if (!Fscreen || S->width <= 0 || S->height <= 0) return;
  SDL_Rect R{static_cast<Sint16>(S->xleft), static_cast<Sint16>(S->ytop), static_cast<Uint16>(S->width),
             static_cast<Uint16>(S->height)};
  FSDL->SDL_FillRect(Fscreen, &R, FSDL->SDL_MapRGB(Fscreen->format, 0, 0, 0));
  FSDL->SDL_UpdateRect(Fscreen, S->xleft, S->ytop, S->width, S->height);
}

struct TPlayerSurfaceAccess {
  static bool Pixel(TCustomPlayer& P, Integer AX, Integer AY, uint8_t& AR, uint8_t& AG, uint8_t& AB) {
    std::lock_guard<TMutexTimed> G(P.FDataLock);
    return PixelUnlocked(P, AX, AY, AR, AG, AB);
  }
  static bool PixelUnlocked(TCustomPlayer& P, Integer AX, Integer AY, uint8_t& AR, uint8_t& AG, uint8_t& AB) {
    SDL_Surface* Sf = P.Fscreen;
    if (!Sf || AX < 0 || AY < 0 || AX >= Sf->w || AY >= Sf->h || Sf->format->BytesPerPixel != 4) return false;
    const uint32_t V = *reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(Sf->pixels) + AY * Sf->pitch + AX * 4);
    const SDL_PixelFormat* F = Sf->format;
    AR = static_cast<uint8_t>((V & F->Rmask) >> F->Rshift);
    AG = static_cast<uint8_t>((V & F->Gmask) >> F->Gshift);
    AB = static_cast<uint8_t>((V & F->Bmask) >> F->Bshift);
    return true;
  }
  static void Size(TCustomPlayer& P, Integer& AW, Integer& AH) {
    std::lock_guard<TMutexTimed> G(P.FDataLock);
    AW = P.Fscreen ? P.Fscreen->w : 0;
    AH = P.Fscreen ? P.Fscreen->h : 0;
  }
  static bool OverlayYUV(TCustomPlayer& P, Integer AX, Integer AY, uint8_t& AY8, uint8_t& AU, uint8_t& AV) {
    TVideoState* S = P.FVideoState;
    if (!S || S->pictq_shown < 0) return false;
    TVideoPicture& VP = S->pictq[S->pictq_shown];
    if (!VP.bmp || AX < 0 || AY < 0 || AX >= VP.width || AY >= VP.height) return false;
    P.FSDL->SDL_LockYUVOverlay(VP.bmp);
    AY8 = VP.bmp->pixels[0][AY * VP.bmp->pitches[0] + AX];
    // YV12: V before U.
    AV = VP.bmp->pixels[1][(AY / 2) * VP.bmp->pitches[1] + AX / 2];
    AU = VP.bmp->pixels[2][(AY / 2) * VP.bmp->pitches[2] + AX / 2];
    P.FSDL->SDL_UnlockYUVOverlay(VP.bmp);
    return true;
  }
  static void Clear(TCustomPlayer& P) {
    std::lock_guard<TMutexTimed> G(P.FDataLock);
    if (!P.Fscreen) return;
    P.FSDL->SDL_FillRect(P.Fscreen, nullptr, P.FSDL->SDL_MapRGB(P.Fscreen->format, 0, 0, 0));
  }
  static void SetShowHook(TCustomPlayer& P, std::function<void(double, Int64)> AHook) { P.FShowHook = std::move(AHook); }
  static void SetEventGate(TCustomPlayer& P, std::function<void()> AGate) { P.FEventGate = std::move(AGate); }
  static void SetPictureWork(TCustomPlayer& P, std::function<void()> AWork) { P.FPictureWork = std::move(AWork); }
  static TSDLLoader* SDL(TCustomPlayer& P) { return P.FSDL.get(); }
  static Integer SDLQuits(TCustomPlayer& P, bool& AOnMain) {
    AOnMain = P.FSDLQuitOnMain.load();
    return P.FSDLQuits.load();
  }
  static double ComputeTargetTime(TCustomPlayer& P, TVideoState& S, double APTS) { return P.ComputeTargetTime(&S, APTS); }
  static void VideoRefresh(TCustomPlayer& P, TVideoState& S, bool ADequeue) { P.VideoRefresh(&S, ADequeue); }
  static void StreamPause(TCustomPlayer& P, TVideoState& S) {
    TVideoState* Was = P.FVideoState;
    P.FVideoState = &S;
    P.StreamPause();
    P.FVideoState = Was;
  }
};

namespace detail {

bool PlayerSurfacePixel(TCustomPlayer& APlayer, Integer AX, Integer AY, uint8_t& AR, uint8_t& AG, uint8_t& AB) {
  return TPlayerSurfaceAccess::Pixel(APlayer, AX, AY, AR, AG, AB);
}

void PlayerSurfaceSize(TCustomPlayer& APlayer, Integer& AWidth, Integer& AHeight) {
  TPlayerSurfaceAccess::Size(APlayer, AWidth, AHeight);
}

void SetPlayerShowHook(TCustomPlayer& APlayer, std::function<void(double, Int64)> AHook) {
  TPlayerSurfaceAccess::SetShowHook(APlayer, std::move(AHook));
}

TSDLLoader* PlayerSDL(TCustomPlayer& APlayer) { return TPlayerSurfaceAccess::SDL(APlayer); }

void SetPlayerPictureWork(TCustomPlayer& APlayer, std::function<void()> AWork) {
  TPlayerSurfaceAccess::SetPictureWork(APlayer, std::move(AWork));
}

bool PlayerShownPixel(TCustomPlayer& APlayer, Integer AX, Integer AY, uint8_t& AR, uint8_t& AG, uint8_t& AB) {
  return TPlayerSurfaceAccess::PixelUnlocked(APlayer, AX, AY, AR, AG, AB);
}

bool PlayerShownOverlayYUV(TCustomPlayer& APlayer, Integer AX, Integer AY, uint8_t& AY8, uint8_t& AU, uint8_t& AV) {
  return TPlayerSurfaceAccess::OverlayYUV(APlayer, AX, AY, AY8, AU, AV);
}

void PlayerClearSurface(TCustomPlayer& APlayer) { TPlayerSurfaceAccess::Clear(APlayer); }

double PlayerComputeTargetTime(TCustomPlayer& APlayer, TVideoState& AState, double APTS) {
  return TPlayerSurfaceAccess::ComputeTargetTime(APlayer, AState, APTS);
}

void PlayerVideoRefresh(TCustomPlayer& APlayer, TVideoState& AState, bool ADequeue) {
  TPlayerSurfaceAccess::VideoRefresh(APlayer, AState, ADequeue);
}

void PlayerStreamPause(TCustomPlayer& APlayer, TVideoState& AState) { TPlayerSurfaceAccess::StreamPause(APlayer, AState); }

void SetPlayerEventGate(TCustomPlayer& APlayer, std::function<void()> AGate) {
  TPlayerSurfaceAccess::SetEventGate(APlayer, std::move(AGate));
}

Integer PlayerSDLQuits(TCustomPlayer& APlayer, bool& ALastOnMainThread) {
  return TPlayerSurfaceAccess::SDLQuits(APlayer, ALastOnMainThread);
}

}  // namespace detail

}  // namespace vantrel::media

namespace vantrel::media {

void TCustomPlayer::SetAspectRatio(float Value) {
  if (Value == FAspectRatio) return;
  FAspectRatio = Value;
  if (FVideoState) PushUserEvent(PlayRedrawEvent);
}

Integer TCustomPlayer::VideoStreamIndex() const { return FVideoState ? FVideoState->video_stream : -1; }
Integer TCustomPlayer::AudioStreamIndex() const { return FVideoState ? FVideoState->audio_stream : -1; }
Integer TCustomPlayer::SubtitleStreamIndex() const { return FVideoState ? FVideoState->subtitle_stream : -1; }

void TCustomPlayer::SetVideoStreamIndex(Integer Value) { SwitchStream(AVMEDIA_TYPE_VIDEO, Value); }
void TCustomPlayer::SetAudioStreamIndex(Integer Value) { SwitchStream(AVMEDIA_TYPE_AUDIO, Value); }
void TCustomPlayer::SetSubtitleStreamIndex(Integer Value) { SwitchStream(AVMEDIA_TYPE_SUBTITLE, Value); }

bool TCustomPlayer::SwitchStream(Integer AMediaType, Integer AIndex) {
  TVideoState* S = FVideoState;
  if (!S || !S->ic) return false;
  const Integer Current = AMediaType == AVMEDIA_TYPE_VIDEO   ? S->video_stream
                          : AMediaType == AVMEDIA_TYPE_AUDIO ? S->audio_stream
                                                             : S->subtitle_stream;
  const Integer Count = static_cast<Integer>(S->ic->nb_streams);
  auto Fail = [this](const char* AText) {
    LogError(AText, true);
    return false;
  };
  if (AMediaType == AVMEDIA_TYPE_SUBTITLE ? Current < -1 : (Current < 0 || Current >= Count))
    return Fail("the current stream is not valid.");
  if ((AMediaType == AVMEDIA_TYPE_SUBTITLE ? AIndex < -1 : AIndex < 0) || AIndex >= Count)
    return Fail("the stream index is not valid.");
  if (AIndex == Current) return true;
  if (AIndex >= 0) {
    const AVCodecParameters* Par = S->ic->streams[AIndex]->codecpar;
    if (Par->codec_type != AMediaType) return Fail("the stream type is not matched.");
    if (AMediaType == AVMEDIA_TYPE_AUDIO && (Par->sample_rate <= 0 || Par->ch_layout.nb_channels <= 0))
      return Fail("the audio stream is not invalid.");
  }
  if (AMediaType != AVMEDIA_TYPE_VIDEO && AMediaType != AVMEDIA_TYPE_AUDIO && AMediaType != AVMEDIA_TYPE_SUBTITLE)
    return Fail("the stream type is invalid.");
  // Neither the event loop nor the demuxing thread may use the component meanwhile. The
  // switch runs on a helper thread while this one serves main-thread calls: closing
  // the audio joins SDL's audio thread, which may be delivering a log line.
  bool Ok = true;
  TOwned<TThread> Switcher(TPlayerLoopThread::Create([&](TThread*) {
    std::lock_guard<TMutexTimed> G(FDataLock);
    std::lock_guard<std::mutex> Route(S->route_lock);
    if (Current >= 0) StreamComponentClose(S, Current);
    if (AIndex >= 0) Ok = StreamComponentOpen(S, AIndex) == 0;
  }));
  Switcher->WaitFor();
  return Ok;
}

}  // namespace vantrel::media
