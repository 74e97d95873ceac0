// The player: plays one media file into a window of the application with its own copy
// of SDL 1.2. A state record per open file, a demuxing thread feeding one packet queue
// per stream kind, decoders opened per stream (the stream components), audio decoded on
// demand in SDL's audio callback, and the host window shared with SDL by subclassing.
#pragma once

#include <algorithm>
#include <atomic>
#include <climits>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <type_traits>
#include <vector>

#include "media/FFAlignedBuffer.h"
#include "media/FFBaseComponent.h"
#include "media/FFDecode.h"
#include "media/FFLog.h"
#include "media/FFUpright.h"
#include "media/FFUtils.h"
#include "platform/rtl/SyncObjs.h"
#include "platform/rtl/Threads.h"
#include "platform/win/WinTypes.h"
#include "platform/win/WndProc.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVInputFormat;
struct AVPacket;
struct AVStream;
struct AVSubtitle;
struct AVSubtitleRect;
struct RDFTContext;
struct SwrContext;
struct SwsContext;
struct SDL_Overlay;
struct SDL_Surface;

namespace vantrel::media {

class TSDLLoader;

enum TPlayState { psPlay, psPause, psResume, psStep, psStop, psEnd };
enum TAudioDriver { adDefault, adDirectSound, adWaveOut };
enum TVideoDriver { vdDefault, vdDirectDraw, vdGDI };
enum TRepeatType { rtNone, rtStop, rtLoop };
enum TShowAudio { saNone, saWave, saRDFT };
enum Tav_sync_type { AV_SYNC_AUDIO_MASTER, AV_SYNC_VIDEO_MASTER, AV_SYNC_EXTERNAL_CLOCK };
using TAudioVolume = Integer;  // 0..128, 128 = unchanged level

class TCustomPlayer;

// Sizes of the state record.
inline constexpr Integer AudioBufferSize = 288000;      // one decoded frame, grown when larger
inline constexpr Integer SampleArraySize = 131072;      // recent output samples
inline constexpr Integer PictureQueueSize = 2;
inline constexpr Integer SubPictureQueueSize = 4;
inline constexpr Integer PacketNodeSize = 72;           // accounted per queued packet
inline constexpr Integer SilenceBlockSize = 1024;

// One stream kind's packets from the demuxing thread to its consumer. A node owns its
// packet; the flush mark travels as a flag of its node.
class TPacketQueue {
 public:
  TPacketQueue() = default;
  ~TPacketQueue() { End(); }
  TPacketQueue(const TPacketQueue&) = delete;
  TPacketQueue& operator=(const TPacketQueue&) = delete;

  // Empty and not aborted.
  void Init();
  // Takes APacket's reference (APacket is left blank); 0, -1 when it cannot be kept.
  Integer Put(AVPacket* APacket);
  // Queues the flush mark.
  Integer PutFlush();
  // 1 with the next packet moved into APacket (AFlush: it is the flush mark), 0 when
  // empty and not blocking, -1 once aborted.
  Integer Get(AVPacket* APacket, bool& AFlush, bool ABlock);
  void Flush();
  void Abort();
  void End() { Flush(); }

  Integer nb_packets() const;
  Integer size() const;
  bool Aborted() const { return abort_request.load(); }

 private:
  struct TNode {
    AVPacket* Pkt;
    bool Flush;
  };
  mutable std::mutex mutex;
  std::condition_variable cond;
  std::vector<TNode> FNodes;  // in order, taken from FHead
  size_t FHead = 0;
  Integer FSize = 0;
  std::atomic<bool> abort_request{false};
};

// One slot of the picture queue.
struct TVideoPicture {
  double pts = 0;
  double due_clock = 0;
  Int64 pos = -1;
  ::SDL_Overlay* bmp = nullptr;
  Integer width = 0, height = 0;
  Integer allocated = 0;
  AVFrame* frame = nullptr;  // the picture as shown (YUV 4:2:0), kept until the slot is reused
  Int64 sub_blended = 0;     // the subtitle blended into the overlay, 0: none
};

// One slot of the subtitle queue: a decoded bitmap subtitle, its palette in YUV.
struct TSubPicture {
  double pts = 0;
  AVSubtitle* sub = nullptr;  // the decoded subtitle, owned by the state
  Int64 serial = 0;           // tells the subtitles apart
};

// One open file of a player.
struct TVideoState {
  TVideoState();
  ~TVideoState();
  TVideoState(const TVideoState&) = delete;
  TVideoState& operator=(const TVideoState&) = delete;

  TFFAlignedVector<uint8_t> audio_buf1;  // silence and the converted frame
  TFFAlignedVector<uint8_t> audio_buf2;  // the resampler writes here
  TOwned<TThread> parse_tid;
  const AVInputFormat* iformat = nullptr;
  std::atomic<Integer> abort_request{0};
  std::atomic<Integer> paused{0};
  Integer last_paused = 0;
  std::atomic<Integer> seek_req{0};
  Integer seek_flags = 0;
  Int64 seek_pos = 0;
  Int64 seek_rel = 0;
  Integer read_pause_return = 0;
  AVFormatContext* ic = nullptr;
  Integer audio_stream = -1;
  Tav_sync_type av_sync_type = AV_SYNC_AUDIO_MASTER;
  double external_clock = 0;
  Int64 external_clock_time = 0;
  double audio_clock = 0;
  double audio_diff_cum = 0;
  double audio_diff_avg_coef = 0;
  double audio_diff_threshold = 0;
  Integer audio_diff_avg_count = 0;
  AVStream* audio_st = nullptr;
  AVCodecContext* audio_ctx = nullptr;
  TPacketQueue audioq;
  Integer audio_hw_buf_size = 0;
  uint8_t* audio_buf = nullptr;
  Cardinal audio_buf_size = 0;
  Integer audio_buf_index = 0;
  AVPacket* audio_pkt = nullptr;
  AVFrame* audio_frame = nullptr;
  bool audio_need_packet = true;  // the decoder has given all it had
  SwrContext* reformat_ctx = nullptr;
  // What the converter was made for.
  Integer audio_src_fmt = -1;
  Integer audio_src_rate = 0;
  Int64 audio_src_layout = 0;
  Integer audio_src_channels = 0;
  // The device.
  Integer audio_tgt_channels = 0;
  Integer audio_tgt_freq = 0;
  Integer show_audio = 0;
  std::vector<int16_t> sample_array;
  Integer sample_array_index = 0;
  Integer last_i_start = 0;
  Integer xpos = 0;
  Integer subtitle_stream = -1;
  AVStream* subtitle_st = nullptr;
  AVCodecContext* subtitle_ctx = nullptr;
  TPacketQueue subtitleq;
  double frame_timer = 0;
  double frame_last_pts = 0;
  double frame_last_delay = 0;
  double video_clock = 0;
  Integer video_stream = -1;
  AVStream* video_st = nullptr;
  AVCodecContext* video_ctx = nullptr;
  TPacketQueue videoq;
  double video_current_pts = 0;
  double video_current_pts_drift = 0;
  Int64 video_current_pos = -1;
  String filename;
  String open_failure;  // why a stream of the file did not open, for the open's error
  Integer width = 0, height = 0, xleft = 0, ytop = 0;
  TCustomPlayer* Owner = nullptr;
  std::atomic<Integer> Opened{0};
  TEvent OpenedChanged{true, false};
  Int64 StartTime = 0;
  Int64 Duration = -1;
  Int64 AudioDuration = -1;
  Integer IsImage2 = 0;
  Integer IsDevice = 0;
  std::atomic<Integer> IOEOFLog{0};
  Integer IOERRLog = 0;
  Integer EventEOF = 0;
  std::atomic<Integer> ReachEOF{0};
  std::atomic<Integer> Reading{0};
  Integer open_paused = 0;
  Integer seek_paused = 0;
  std::atomic<Integer> seek_done{0};
  std::atomic<Integer> seek_flushed{0};
  // The time (microseconds of the file's clock) the last seek asked for: its key frame
  // and what follows up to the time are decoded and dropped. NoPTSValue: none (a byte
  // seek). Each consumer takes it at its flush mark.
  std::atomic<Int64> seek_target{NoPTSValue};
  bool video_skipping = false;  // video thread: pictures before video_skip_to are dropped
  double video_skip_to = 0;
  AVFrame* video_held = nullptr;  // the last picture dropped, shown when the input ends first
  double video_held_pts = 0;
  AVFrame* video_pending = nullptr;  // decoded past the target, shown after the held one
  double video_pending_pts = 0;
  bool audio_skipping = false;  // audio thread: sound before audio_skip_to is dropped
  double audio_skip_to = 0;
  double frame_delay = 0;
  // The decoder's rate is compared with the container's once its first picture told it.
  bool frame_rate_pending = false;
  // Frame skipping: a share of 1 / skip_frames of the decoded pictures goes on to be
  // shown (1 = all); late pictures raise it, a full picture queue lowers it.
  std::atomic<float> skip_frames{1.0f};
  float skip_frames_index = 0.0f;
  // Pictures (video thread -> event loop).
  TOwned<TThread> video_tid;
  TOwned<TThread> refresh_tid;
  TVideoPicture pictq[PictureQueueSize];
  Integer pictq_size = 0, pictq_rindex = 0, pictq_windex = 0;
  Integer pictq_shown = -1;  // the slot shown last
  std::mutex pictq_mutex;
  std::condition_variable pictq_cond;
  std::atomic<Integer> refresh{0};
  TPtsCorrectionContext pts_ctx;
  bool video_draining = false;
  ::SwsContext* img_convert_ctx = nullptr;
  std::atomic<Integer> step{0};
  AVFrame* shown_frame = nullptr;  // the picture shown last (a reference)
  std::mutex route_lock;  // packet routing against stream switching
  std::unique_ptr<TVideoFilterChain> filters;  // video thread only
  Integer filter_in_w = 0, filter_in_h = 0, filter_in_fmt = -1;
  std::atomic<Integer> out_w{0}, out_h{0};  // the chain's output size
  TUprightTurn upright;  // how the video stream's pictures are turned to be seen as shot
  double shown_pts = 0;
  // Subtitles (subtitle thread -> event loop).
  TOwned<TThread> subtitle_tid;
  TSubPicture subpq[SubPictureQueueSize];
  Integer subpq_size = 0, subpq_rindex = 0, subpq_windex = 0;
  std::mutex subpq_mutex;
  std::condition_variable subpq_cond;
  std::atomic<Integer> subtitle_stream_changed{0};
  Int64 sub_serial = 0;
  // The spectrum display.
  ::RDFTContext* rdft = nullptr;
  Integer rdft_bits = 0;
  TFFAlignedVector<float> rdft_data;  // av_rdft_calc works in place
};

// Blends one palettised subtitle rectangle (palette already A, Y, U, V) into a YUV 4:2:0
// picture of AImageW x AImageH; a rectangle reaching outside is moved inside.
void BlendSubtitleRect(const AVPicture& ADst, const AVSubtitleRect& ARect, Integer AImageW, Integer AImageH);
// The byte position ADelta seconds from AHere in a file of ABitRate bits a second
// (0: unknown, 180000 bytes a second assumed); never before the file's first byte.
Int64 RelativeByteSeekTarget(Int64 AHere, double ADelta, Int64 ABitRate);
// A palette entry 0xAARRGGBB as 0xAAYYUUVV (studio range).
uint32_t SubtitleColorToYUV(uint32_t AARGB);
// Frees the state's queued subtitles and their slots.
void FreeSubtitleQueue(TVideoState& AState);

using TPositionEvent = std::function<void(TObject* Sender, Int64 APTS)>;
using TPlayStateEvent = std::function<void(TObject* Sender, TPlayState APlayState)>;
using TFileOpenEvent = std::function<void(TObject* Sender, Int64 ADuration, Integer AFrameWidth,
                                          Integer AFrameHeight, Integer& AScreenWidth, Integer& AScreenHeight)>;

// Position and state changes waiting for delivery: consecutive events of one kind
// merge into the newest; a full ring drops its oldest.
class TPlayEventRing {
 public:
  enum TKind { ekNone, ekPosition, ekState, ekEnd };
  struct TItem {
    Integer kind = ekNone;
    Int64 value = 0;
  };
  static constexpr Integer Slots = 10;
  void Push(const TItem& AItem);
  TItem Pop();
  void Clear();
  TEvent& Event() { return FEvent; }

 private:
  std::mutex FLock;
  TEvent FEvent{true, false};
  Integer FHeader = 0, FTailer = 0;
  TItem FEvents[Slots];
};

class TCustomPlayer : public TFFBaseComponent {
  VANTREL_CLASS(TCustomPlayer)

  // The player's hooks differ from the encoder's of the same names, so they live here.
  using TVideoHookEvent = std::function<void(TObject* Sender, TBitmap* ABitmap, Int64 APTS, bool& AUpdate)>;
  using TAudioHookEvent = std::function<void(TObject* Sender, Int64 APTS, uint8_t* ASample,
                                             Integer ASize, Integer ASampleRate, Integer AChannels)>;

  explicit TCustomPlayer(TComponent* AOwner);
  ~TCustomPlayer() override;

  // Libraries.
  bool AVLibLoaded() const;
  bool LoadAVLib(const TPathFileName& APath, bool AAutoLoadSDL = false);
  void UnloadAVLib();
  bool SDLLibLoaded() const;
  bool LoadSDLLib(const TPathFileName& APath, const TPathFileName& AFile);
  void UnloadSDLLib();

  const String& LastErrMsg() const { return FLastErrMsg; }
  TFFDecoder* Decoder() const { return FDecoder.get(); }
  TVideoState* VideoState() const { return FVideoState; }

  // Options read at the next Open (and by the running components where said).
  TAudioDriver AudioDriver() const { return FAudioDriver; }
  void SetAudioDriver(TAudioDriver Value) { FAudioDriver = Value; }
  TVideoDriver VideoDriver() const { return FVideoDriver; }
  void SetVideoDriver(TVideoDriver Value) { FVideoDriver = Value; }
  TAudioVolume AudioVolume() const { return FAudioVolume.load(); }
  void SetAudioVolume(TAudioVolume Value) { FAudioVolume.store(std::clamp<Integer>(Value, 0, 128)); }
  bool Mute() const { return FMute.load(); }
  void SetMute(bool Value) { FMute.store(Value); }
  bool AudioHook() const { return FAudioHook.load(); }
  void SetAudioHook(bool Value) { FAudioHook.store(Value); }
  bool DisableAudio() const { return FDisableAudio; }
  void SetDisableAudio(bool Value) { FDisableAudio = Value; }
  bool DisableVideo() const { return FDisableVideo; }
  void SetDisableVideo(bool Value) { FDisableVideo = Value; }
  bool DisableDisplay() const { return FDisableDisplay; }
  void SetDisableDisplay(bool Value) { FDisableDisplay = Value; }
  Integer FrameWidth() const { return FFrameWidth; }
  void SetFrameWidth(Integer Value) { FFrameWidth = Value; }
  Integer FrameHeight() const { return FFrameHeight; }
  void SetFrameHeight(Integer Value) { FFrameHeight = Value; }
  Integer ScreenWidth() const { return FScreenWidth; }
  void SetScreenWidth(Integer Value) { FScreenWidth = Value; }
  Integer ScreenHeight() const { return FScreenHeight; }
  void SetScreenHeight(Integer Value) { FScreenHeight = Value; }
  bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
  void SetTriggerEventInMainThread(bool Value) { FTriggerEventInMainThread = Value; }
  Integer ReadTimeout() const { return FReadTimeout.load(); }
  void SetReadTimeout(Integer Value) { FReadTimeout.store(Value); }
  bool HijackWndProc() const { return FHijackWndProc; }
  void SetHijackWndProc(bool Value) { FHijackWndProc = Value; }
  bool AutoAdjustFrameRate() const { return FAutoAdjustFrameRate; }
  void SetAutoAdjustFrameRate(bool Value) { FAutoAdjustFrameRate = Value; }
  const String& ForceFrameRate() const { return FForceFrameRate; }
  void SetForceFrameRate(const String& Value);
  String ForceFormat() const;
  void SetForceFormat(const String& Value);
  bool CheckIOEOF() const { return FCheckIOEOF; }
  void SetCheckIOEOF(bool Value) { FCheckIOEOF = Value; }
  bool CheckIOERR() const { return FCheckIOERR; }
  void SetCheckIOERR(bool Value) { FCheckIOERR = Value; }
  TShowAudio ShowAudio() const { return FShowAudio; }
  // Read at the next Open of a file without video; switches an open file with sound
  // when the display is on.
  void SetShowAudio(TShowAudio Value);
  // Cycles the open file's audio display: none, wave, spectrum.
  void ToggleAudioDisplay();
  bool Deinterlace() const { return FDeinterlace.load(); }
  void SetDeinterlace(bool Value) { FDeinterlace.store(Value); }
  bool VerticalFlip() const { return FVerticalFlip; }
  void SetVerticalFlip(bool Value) { FVerticalFlip = Value; }
  float AspectRatio() const { return FAspectRatio; }
  // A filter-chain text between the decoder and the display (the next Open).
  const String& VideoFilters() const { return FVideoFilters; }
  void SetVideoFilters(const String& Value) { FVideoFilters = Value; }
  // A changed value redraws an open file's picture.
  void SetAspectRatio(float Value);
  // The streams played, -1 when none or no file is open; writing switches streams.
  Integer VideoStreamIndex() const;
  Integer AudioStreamIndex() const;
  Integer SubtitleStreamIndex() const;
  void SetVideoStreamIndex(Integer Value);
  void SetAudioStreamIndex(Integer Value);
  void SetSubtitleStreamIndex(Integer Value);
  // Closes the current stream of the kind (FFmpeg's media type) and opens AIndex; false
  // with LastErrMsg.
  bool SwitchStream(Integer AMediaType, Integer AIndex);
  const String& FileName() const { return FFileName; }
  HWND ScreenHandle() const { return FScreenHandle; }
  Int64 CurrentPTS() const { return FCurrentPTS.load(); }
  bool Seeking() const { return FSeeking.load(); }
  TPlayState PlayState() const { return FPlayState; }
  Tav_sync_type av_sync_type() const { return Fav_sync_type; }
  void set_av_sync_type(Tav_sync_type Value) { Fav_sync_type = Value; }
  Integer wanted_video_stream = -1;
  Integer wanted_audio_stream = -1;
  Integer wanted_subtitle_stream = -1;
  Integer seek_by_bytes = -1;
  Int64 start_time = NoPTSValue;
  Int64 PlayTime = NoPTSValue;
  TRepeatType RepeatType = rtStop;
  Integer workaround_bugs = 1;
  Integer debug_mv = 0;  // kept for the option set; today's decoders ignore it
  bool fast = false;
  bool genpts = false;
  Integer lowres = 0;
  Integer idct_algo = 0;
  Integer error_recognition = 1;
  Integer error_concealment = 3;
  Integer decoder_reorder_pts = -1;
  Integer framedrop = 0;
  Integer rdftspeed = 20;
  // The surface takes the display's size (read at Open) instead of the screen size.
  bool is_full_screen = false;

  TAudioHookEvent OnAudioHook;
  TPositionEvent OnPosition;
  TVideoHookEvent OnVideoHook;
  bool VideoHook() const { return FVideoHook.load(); }
  void SetVideoHook(bool Value) { FVideoHook.store(Value); }
  Integer VideoHookBitsPixel() const { return FHookConv->BitsPixel(); }
  void SetVideoHookBitsPixel(Integer Value) {
    FHookConv->SetBitsPixel(Value);
    FFrameConv->SetBitsPixel(Value);
  }
  // The picture shown last as a bitmap owned by the player (0 x 0 and APTS -1 without
  // one); APTS in microseconds from the start.
  TBitmap* CurrentFrame();
  TBitmap* CurrentFrame(Int64& APTS);
  TPlayStateEvent OnState;
  TFileOpenEvent OnFileOpen;

  // Plays AFileName into the host window (0: none); false with LastErrMsg.
  bool Open(const String& AFileName, HWND AScreenHandle, bool APaused = false);
  void Pause();
  // Tells SDL that the host window moved or changed size.
  void UpdateScreenPosition();
  // Shows the next picture, then pauses again.
  void StepToNextFrame();
  void Resume();
  void TogglePause();
  bool Paused() const;
  // Seeks to APTS microseconds from the start (bytes with sfByte).
  void Seek(Int64 APTS, TSeekFlags ASeekFlags = {}, bool AWaitForSeekEnd = false);
  template <typename T>
    requires std::is_integral_v<T>
  void Seek(T APTS, TSeekFlags ASeekFlags = {}, bool AWaitForSeekEnd = false) {
    Seek(static_cast<Int64>(APTS), ASeekFlags, AWaitForSeekEnd);
  }
  // Seeks ADelta seconds from the master clock's position (with sfByte: the bytes the
  // file's bit rate gives for them, from the input's position).
  void Seek(double ADelta, TSeekFlags ASeekFlags = {}, bool AWaitForSeekEnd = false);
  Integer ScreenSurfaceWidth() const;
  TBeforeFindStreamInfoEvent OnBeforeFindStreamInfo;

  // The master clock and its parts, in seconds.
  double GetAudioClock(TVideoState* AState) const;
  double GetVideoClock(TVideoState* AState) const;
  double GetExternalClock(TVideoState* AState) const;
  double GetMasterClock(TVideoState* AState) const;
  // Ends playing; with no file open, cancels an Open that is still opening.
  void Stop(bool AWaitForStop);
  // Pauses or resumes the open file.
  void StreamPause();
  // Asks the demuxing thread to seek (microseconds, or bytes with AVSEEK_FLAG_BYTE).
  void StreamSeek(TVideoState* AState, Integer AFlags, bool AWait, Int64 ARel, Int64 APos);
  // Gives the host window its own procedure back: done at once on the GUI thread,
  // queued from another thread.
  void RestoreScreenWndProc();

  // Shifts audio buffers toward the master clock (not under audio master): the new size.
  Integer SynchronizeAudio(TVideoState* AState, uint8_t* ABuffer, Integer ASize, double APTS);
  // A fixed master clock (tests; empty: the real one).
  void SetTestMasterClock(std::function<double()> AClock) { FTestMasterClock = std::move(AClock); }
  // Fills ALen bytes of the device buffer (SDL's audio thread).
  void AudioCallback(TVideoState* AState, uint8_t* AStream, Integer ALen);

 private:
  friend struct TPlayerDetail;
  friend struct TPlayerSurfaceAccess;
  // Opening and closing.
  bool StartSDL(HWND AScreenHandle);
  bool InitSDL(HWND AScreenHandle);
  void QuitSDL();
  bool StreamOpen(const String& AFileName, const AVInputFormat* AFormat, bool APaused);
  void StreamClose(TVideoState* AState);
  void CloseAndExit();
  void ResetPlayState();
  void ReadThread(TVideoState* AState);
  Integer ReadThreadOpen(TVideoState* AState);
  void ReadThreadLoop(TVideoState* AState);
  void ReadThreadEnd(TVideoState* AState);
  bool HandleSeek(TVideoState* AState);
  Integer StreamComponentOpen(TVideoState* AState, Integer AStreamIndex);
  // Sets frame_delay from the forced, the decoder's or the container's frame rate: false
  // (nothing set) while the decoder does not know its rate yet, unless AFinal.
  bool ChooseFrameDelay(TVideoState* AState, bool AFinal);
  void StreamComponentClose(TVideoState* AState, Integer AStreamIndex);
  Integer AudioDecodeFrame(TVideoState* AState, double& APTS);
  bool ConvertAudioFrame(TVideoState* AState, const AVFrame* AFrame, Integer& ASize);
  // Drops the converted sound that lies before the last seek's target: false when the
  // whole frame goes, else true with ASize and the buffer cut to what remains.
  bool SkipAudioBeforeSeekTarget(TVideoState* AState, Integer& ASize);
  void UpdateSampleDisplay(TVideoState* AState, const uint8_t* ABuffer, Integer ASize);
  void DoAudioHook(TVideoState* AState, uint8_t* ABuffer, Integer ASize, double APTS);
  void LogError(const String& AMsg, bool AStore);
  void Log(TLogLevel ALevel, const String& AMsg);
  void SetOpened(TVideoState* AState, Integer AValue);
  // Microseconds of the player's clock.
  Int64 Now() const;
  // Waits for AEvent, serving main-thread calls on the main thread.
  void WaitServing(TEvent& AEvent, Cardinal ATimeoutMs);
  // The host window's subclass.
  LRESULT ScreenWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void PushSDLEvent(Integer AType);
  // A new client size of the host goes to SDL as a resize.
  void NoteHostSize(HWND Wnd);
  void DropQueuedRestore();
  static bool DecodeInterruptCallback(TObject* Sender);
  static bool AbortInterruptCallback(TObject* Sender);

  TOwned<TSDLLoader> FSDL;
  TOwned<TFFDecoder> FDecoder;
  bool FLibLoaded = false;
  String FLastErrMsg;
  TVideoState* FVideoState = nullptr;
  std::atomic<TVideoState*> FVideoStateCB{nullptr};
  std::atomic<Int64> FLastRead{INT64_MAX};
  std::atomic<Integer> FReadTimeout{10000};
  TEvent FSeekEvent{true, true};
  TEvent FPictEvent{true, true};
  std::atomic<bool> FSeeking{false};
  std::atomic<Int64> FCurrentPTS{-1};
  TPlayState FPlayState = psStop;
  std::atomic<Int64> Faudio_callback_time{0};

  TAudioDriver FAudioDriver = adDefault;
  TVideoDriver FVideoDriver = vdDefault;
  std::atomic<Integer> FAudioVolume{128};
  std::atomic<bool> FMute{false};
  std::atomic<bool> FAudioHook{false};
  // Set as destruction begins: the threads raise no event and call no hook from then on.
  // The handlers themselves are cleared only once those threads have ended.
  std::atomic<bool> FEventsDetached{false};
  bool EventsAttached() const { return !FEventsDetached.load(); }
  bool FDisableAudio = false;
  bool FDisableVideo = false;
  bool FDisableDisplay = false;
  Integer FFrameWidth = 0, FFrameHeight = 0, FScreenWidth = 0, FScreenHeight = 0;
  Integer FFullScreenWidth = 0, FFullScreenHeight = 0;  // the display's size at Open
  bool FTriggerEventInMainThread = true;
  bool FHijackWndProc = true;
  bool FAutoAdjustFrameRate = true;
  String FForceFrameRate;
  const AVInputFormat* FForceFormat = nullptr;
  bool FCheckIOEOF = true;
  bool FCheckIOERR = true;
  TShowAudio FShowAudio = saWave;
  bool FVerticalFlip = false;
  std::atomic<bool> FDeinterlace{false};
  float FAspectRatio = 0;
  Tav_sync_type Fav_sync_type = AV_SYNC_AUDIO_MASTER;
  String FFileName;
  String FVideoFilters;

  // The host window.
  HWND FScreenHandle = 0;
  HWND FSubclassed = 0;          // the window our procedure is installed in
  WNDPROC FObjectInstance = nullptr;
  WNDPROC FScreenWndProc = nullptr;  // the host's own procedure
  std::atomic<bool> FRestorePending{false};
  TEvent FRestoreDone{true, true};
  Integer FLastClientW = -1, FLastClientH = -1;
  bool FSDLStarted = false;
  std::function<double()> FTestMasterClock;
  std::atomic<TVideoState*> FOpeningState{nullptr};
  // Pictures, display and the event loop.
  void VideoThread(TVideoState* AState);
  void RefreshThread(TVideoState* AState);
  Integer GetVideoFrame(TVideoState* AState, AVFrame* AFrame, AVPacket* APacket, double& APTS);
  // True when the picture lies before the last seek's target and was dropped (kept as
  // the held one). The picture at the target ends the dropping: the one in AFrame, or
  // the held one swapped in (APTS its time) when AFrame starts after the target.
  bool SkipBeforeSeekTarget(TVideoState* AState, AVFrame* AFrame, double& APTS);
  void EndSeekSkipping(TVideoState* AState);
  Integer QueuePicture(TVideoState* AState, AVFrame* AFrame, double APTS, Int64 APos);
  // Runs the picture through the filter chain and queues what comes out: 0, -1 to end.
  Integer FilterAndQueue(TVideoState* AState, AVFrame* AFrame, AVFrame* AOut);
  // A filtered picture's time in seconds of the video stream (0 without one).
  double FilteredPictureTime(TVideoState* AState, const AVFrame* AOut);
  // The filter chain for the video's pictures: turned upright first, then the user's filters.
  String VideoFilterChainText(const TVideoState* AState) const;
  // The size of the video's pictures as shown (turned upright), -1 x -1 without video.
  void ShownVideoSize(const TVideoState* AState, Integer& AWidth, Integer& AHeight) const;
  double ComputeTargetTime(TVideoState* AState, double APTS);
  // False (with LastErrMsg) when the picture's overlay cannot be made.
  bool AllocPicture(TVideoState* AState);
  void VideoRefresh(TVideoState* AState, bool ADequeue);
  void VideoDisplay(TVideoState* AState);
  Integer VideoOpen(TVideoState* AState, bool AForce);
  void VideoImageDisplay(TVideoState* AState);
  // The wave form or the spectrum of the samples being played.
  void VideoAudioDisplay(TVideoState* AState);
  void DrawSpectrumColumn(TVideoState* AState, Integer AStart, Integer AChannels);
  // Replaces the decoded picture by its deinterlaced copy; false when it could not be
  // made, which switches deinterlacing off.
  bool DeinterlaceFrame(AVFrame* AFrame);
  void SubtitleThread(TVideoState* AState);
  // Drops subtitles whose time is over (all of them after a stream change).
  void ExpireSubtitles(TVideoState* AState);
  void BlendSubtitles(TVideoState* AState, TVideoPicture& APicture);
  std::function<void(double, Int64)> FShowHook;
  std::function<void()> FPictureWork;  // tests: runs for each decoded picture kept
  std::function<void()> FEventGate;  // tests: runs after each SDL event is taken
  std::atomic<Integer> FSDLQuits{0};
  std::atomic<bool> FSDLQuitOnMain{false};
  void UpdatePosition(TVideoState* AState);
  void ChangeState(TPlayState AState);
  void EventLoop();
  void PlayThreadExecute();
  void EventThreadExecute(TThread* AThread);
  void PushUserEvent(Integer AType);
  // Waits for the play thread's end; true when it closed the file itself instead (the
  // event loop did not answer), leaving SDL and the play thread's end to that thread.
  bool WaitForStop();
  void JoinPlayThread();
  TMutexTimed FDataLock;
  TOwned<TFormatConverter> FFrameConv;
  TOwned<TFormatConverter> FHookConv;
  std::atomic<bool> FVideoHook{false};
  void DoVideoHook(TVideoState* AState, AVFrame* AFrame, double APTS);
  TEvent FStopEvent{true, true};
  TPlayEventRing FPlayEvent;
  TOwned<TThread> FPlayThread;
  TOwned<TThread> FEventThread;
  ::SDL_Surface* Fscreen = nullptr;
  std::atomic<Int64> FLastPTS{NoPTSValue};
  std::atomic<bool> FQuitPushed{false};
  std::shared_ptr<std::atomic<TCustomPlayer*>> FRestoreToken;
};

// The player as the application places it.
class TDODodeve : public TCustomPlayer {
  VANTREL_CLASS(TDODodeve)

  explicit TDODodeve(TComponent* AOwner) : TCustomPlayer(AOwner) {}
};

// Finds the desktop's icon view: 0 when there is none.
HWND FindDesktopListView();

// The SDL driver names a choice writes into the environment; adDefault/vdDefault give
// the process's own values of SDL_AUDIODRIVER/SDL_VIDEODRIVER when it started with them,
// else the ones that suit the display ("dummy" headless).
String AudioDriverName(TAudioDriver ADriver);
String VideoDriverName(TVideoDriver ADriver);

namespace detail {
// The native id handed to SDL for a host window (0: none, SDL runs without one). By
// default the display's native child window (NativeWindowId) on the X11 display and none
// headless; set, it replaces that and counts as a real display.
using TNativeWindowIdFunc = std::function<unsigned long(HWND)>;
void SetPlayerNativeWindowId(TNativeWindowIdFunc AFunc);
// The player's clock in microseconds (default: FFmpeg's monotonic clock).
void SetPlayerClock(std::function<Int64()> AClock);
// A fixed master clock for SynchronizeAudio tests (empty: the real one).
void SetPlayerMasterClock(TCustomPlayer& APlayer, std::function<double()> AClock);
// What Open runs before and after the file is played: SDL start and opening, and the
// reverse.
bool PlayerOpenStream(TCustomPlayer& APlayer, const String& AFileName, HWND AScreenHandle,
                      bool APaused);
void PlayerCloseStream(TCustomPlayer& APlayer);
// The host window's procedure installed now / the one remembered as the host's own.
WNDPROC PlayerSubclassProc(TCustomPlayer& APlayer);
// The colour of a pixel of the player's SDL surface (false without a surface).
bool PlayerSurfacePixel(TCustomPlayer& APlayer, Integer AX, Integer AY, uint8_t& AR, uint8_t& AG, uint8_t& AB);
// The surface's size (0 x 0 without one).
void PlayerSurfaceSize(TCustomPlayer& APlayer, Integer& AWidth, Integer& AHeight);
// Called on the play thread with each picture's PTS (seconds) and the player's clock
// (microseconds) right after it is shown; empty: none.
void SetPlayerShowHook(TCustomPlayer& APlayer, std::function<void(double APTS, Int64 ANow)> AHook);
// The player's own copy of SDL (tests replace entry points of it to make calls fail).
TSDLLoader* PlayerSDL(TCustomPlayer& APlayer);
// Called on the video thread for every decoded picture that goes on to the display,
// before it is converted (tests: a slow picture step); empty: none.
void SetPlayerPictureWork(TCustomPlayer& APlayer, std::function<void()> AWork);
// Inside the show hook only (the data lock is held there): a surface pixel as RGB and
// the shown overlay's luma and chroma at a picture position.
bool PlayerShownPixel(TCustomPlayer& APlayer, Integer AX, Integer AY, uint8_t& AR, uint8_t& AG, uint8_t& AB);
bool PlayerShownOverlayYUV(TCustomPlayer& APlayer, Integer AX, Integer AY, uint8_t& AY8, uint8_t& AU, uint8_t& AV);
// Fills the surface with black (to see what a repaint draws again).
void PlayerClearSurface(TCustomPlayer& APlayer);
// The display timing steps on a state of the caller's, with the player's clock.
double PlayerComputeTargetTime(TCustomPlayer& APlayer, TVideoState& AState, double APTS);
void PlayerVideoRefresh(TCustomPlayer& APlayer, TVideoState& AState, bool ADequeue);
// StreamPause with AState as the open file's state (the player has none open).
void PlayerStreamPause(TCustomPlayer& APlayer, TVideoState& AState);
// Runs on the play thread after each SDL event is taken, before the data lock (empty:
// none): a test can hold the event loop there.
void SetPlayerEventGate(TCustomPlayer& APlayer, std::function<void()> AGate);
// How often SDL_Quit ran, and whether the last time was on the main thread.
Integer PlayerSDLQuits(TCustomPlayer& APlayer, bool& ALastOnMainThread);
}  // namespace detail

}  // namespace vantrel::media
