// The player component: construction, libraries, options and the test seams.
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLoad.h"
#include "media/FFLog.h"
#include "media/FFPlay.h"
#include "media/libsdl.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

namespace {

std::function<Int64()>& PlayerClockFunc() {
  static std::function<Int64()> Clock;
  return Clock;
}

}  // namespace

TCustomPlayer::TCustomPlayer(TComponent* AOwner)
    : TFFBaseComponent(AOwner), FSDL(CreateOwned<TSDLLoader>()), FDecoder(CreateOwned<TFFDecoder>(nullptr)) {
  FFrameConv = CreateOwned<TFormatConverter>();
  FHookConv = CreateOwned<TFormatConverter>();
  FVersion = "3.0";
  FObjectInstance = MakeWndProcInstance(
      [this](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) { return ScreenWndProc(Wnd, Msg, WParam, LParam); });
  ResetPlayState();
}

TCustomPlayer::~TCustomPlayer() {
  // The decoding, audio and event threads may be inside a handler right now: they stop
  // calling them here, and the handlers go once those threads are gone.
  FEventsDetached.store(true);
  Stop(true);
  JoinPlayThread();
  if (FEventThread) {
    FEventThread->Terminate();
    FEventThread.reset();
  }
  CloseAndExit();
  OnAudioHook = nullptr;
  OnPosition = nullptr;
  OnState = nullptr;
  OnVideoHook = nullptr;
  DropQueuedRestore();
  RestoreScreenWndProc();
  FreeObjectInstance(FObjectInstance);
  FDecoder.reset();
  // The converters free FFmpeg's scalers: before the libraries go.
  FFrameConv.reset();
  FHookConv.reset();
  UnloadAVLib();
}

void TCustomPlayer::ResetPlayState() {
  FCurrentPTS.store(-1);
  wanted_video_stream = wanted_audio_stream = wanted_subtitle_stream = -1;
  seek_by_bytes = -1;
  start_time = NoPTSValue;
  PlayTime = NoPTSValue;
  RepeatType = rtStop;
  FVerticalFlip = false;
  FSeekEvent.SetEvent();
  FSeeking.store(false);
}

bool TCustomPlayer::AVLibLoaded() const { return FFLoader().Loaded(PlayerLibraries); }

bool TCustomPlayer::LoadAVLib(const TPathFileName& APath, bool AAutoLoadSDL) {
  FFLoader().SetLibraryPath(APath);
  if (!FLibLoaded) {
    if (!FFLoader().Load(PlayerLibraries)) {
      FLastErrMsg = FFLoader().LastErrMsg();
      return false;
    }
    FLibLoaded = true;
  }
  if (AAutoLoadSDL) return LoadSDLLib(APath, "libSDL-1.2.so.0");
  return true;
}

void TCustomPlayer::UnloadAVLib() {
  if (!FLibLoaded) return;
  FFLoader().Unload(PlayerLibraries);
  FLibLoaded = false;
}

bool TCustomPlayer::SDLLibLoaded() const { return FSDL->Loaded(); }

bool TCustomPlayer::LoadSDLLib(const TPathFileName& APath, const TPathFileName& AFile) {
  if (FSDL->Load(APath, AFile)) return true;
  FLastErrMsg = FSDL->LastErrMsg();
  return false;
}

void TCustomPlayer::UnloadSDLLib() { FSDL->Unload(); }

void TCustomPlayer::SetForceFrameRate(const String& Value) {
  if (Value != FForceFrameRate && !Value.empty()) {
    AVRational Rate{0, 0};
    if (!ff::av_parse_video_rate || ff::av_parse_video_rate(&Rate, Value.c_str()) < 0)
      throw Exception("Incorrect frame rate");
  }
  FForceFrameRate = Value;
}

String TCustomPlayer::ForceFormat() const { return FForceFormat ? String(FForceFormat->name) : String(); }

void TCustomPlayer::SetForceFormat(const String& Value) {
  if (!AVLibLoaded()) {
    FLastErrMsg = "libav not loaded.";
    return;
  }
  // An empty name clears the forced format (it could not be cleared otherwise).
  if (Value.empty()) {
    FForceFormat = nullptr;
    return;
  }
  const AVInputFormat* Found = ff::av_find_input_format(Value.c_str());
  if (!Found) throw Exception(Format("Unknown input format: %s", {Value}));
  FForceFormat = Found;
}

void TCustomPlayer::LogError(const String& AMsg, bool AStore) {
  GetFFLogger()->Log(this, llError, AMsg);
  if (AStore) FLastErrMsg = AMsg;
}

void TCustomPlayer::Log(TLogLevel ALevel, const String& AMsg) { GetFFLogger()->Log(this, ALevel, AMsg); }

Int64 TCustomPlayer::Now() const {
  if (PlayerClockFunc()) return PlayerClockFunc()();
  return ff::av_gettime_relative();
}

void TCustomPlayer::WaitServing(TEvent& AEvent, Cardinal ATimeoutMs) {
  WaitServingMainThread(AEvent, ATimeoutMs, 10);
}

namespace detail {

void SetPlayerClock(std::function<Int64()> AClock) { PlayerClockFunc() = std::move(AClock); }

void SetPlayerMasterClock(TCustomPlayer& APlayer, std::function<double()> AClock) {
  APlayer.SetTestMasterClock(std::move(AClock));
}

}  // namespace detail

}  // namespace vantrel::media
