// The engine object: defaults, lifetime, starting, stopping, pausing and the end of a
// conversion, the open-codec lists and the release of a task's files and buffers.
#include <algorithm>
#include <cstdint>

#include "media/AVCodecAPI.h"
#include "media/AVFilterAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLoad.h"
#include "media/FFmpeg.h"
#include "media/MyUtils.h"
#include "media/Previewer.h"
#include "media/UnicodeProtocol.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

namespace {
constexpr Integer MaxFilesLimit = 512;
constexpr Cardinal StopWaitStepMs = 20;
}  // namespace

void TCodecContextDeleter::operator()(AVCodecContext* ACtx) const {
  if (!ACtx || !ff::avcodec_free_context) return;
  ff::av_freep(&ACtx->stats_in);
  TCodecLockGuard Lock;
  ff::avcodec_free_context(&ACtx);
}

TAVOutputStream::~TAVOutputStream() {
  if (logfile) std::fclose(logfile);
}

TPostHookContext::TPostHookContext() : Converter(CreateOwned<TFormatConverter>()) {}
TPostHookContext::~TPostHookContext() = default;

// --- threads ---

TConvertThread::TConvertThread(TCustomFFmpeg* AOwner)
    : TThread(true), FOwner(AOwner), FStopEvent(AOwner->FStopEvent) {}

void TConvertThread::Execute() {
  // After DoConvert the engine may be gone (freed from its OnTerminate): only the
  // thread's own share of the event is touched.
  std::shared_ptr<TEvent> StopEvent = FStopEvent;
  try {
    FOwner->DoConvert();
  } catch (...) {
    StopEvent->SetEvent();
    throw;
  }
  StopEvent->SetEvent();
}

TDoTerminateThread::TDoTerminateThread(TCustomFFmpeg* AOwner)
    : TThread(true), FOwner(AOwner), FTermEvent(AOwner->FTermEvent) {}

void TDoTerminateThread::Execute() {
  std::shared_ptr<TEvent> TermEvent = FTermEvent;
  try {
    FOwner->DoTerminate();
  } catch (...) {
    TermEvent->SetEvent();
    throw;
  }
  TermEvent->SetEvent();
}

// --- the engine ---

TCriticalSection& TCustomFFmpeg::CodecLock() {
  static TCriticalSection Lock;
  return Lock;
}

TCriticalSection& TCustomFFmpeg::PostHookLock() {
  static TCriticalSection Lock;
  return Lock;
}

TCustomFFmpeg::TCustomFFmpeg(Integer AMaxFiles)
    : FStopEvent(std::make_shared<TEvent>(true, true)),
      FTermEvent(std::make_shared<TEvent>(true, true)),
      FInputVideoHook(CreateOwned<TFormatConverter>()) {
  if (AMaxFiles < 1 || AMaxFiles > MaxFilesLimit)
    throw FFmpegException(
        Format("The number of files of a task must be 1 to %d, not %d", {MaxFilesLimit, AMaxFiles}));
  FMaxFiles = AMaxFiles;
  Finput_files.assign(FMaxFiles, nullptr);
  Finput_files_ts_offset.assign(FMaxFiles, 0);
  Finput_files_start.assign(FMaxFiles, NoPTSValue);
  Finput_files_ts_scale.assign(FMaxFiles, {});
  Foutput_files.assign(FMaxFiles, nullptr);
  Foutput_file_names.assign(FMaxFiles, String());
  Foutput_streams_for_file.resize(FMaxFiles);
  ResetState();
}

TCustomFFmpeg::~TCustomFFmpeg() {
  Stop(true);
  const TThreadID Self = GetCurrentThreadId();
  // A thread cannot join itself: when the engine is freed from its own OnTerminate,
  // the thread frees itself once its run is over (it no longer needs the engine).
  for (TThread* T : {static_cast<TThread*>(FThread.get()), static_cast<TThread*>(FTermThread.get())}) {
    if (T && T->Started() && T->ThreadID() == Self) T->SetFreeOnTerminate(true);
  }
  if (FThread && FThread->FreeOnTerminate()) (void)FThread.release();
  if (FTermThread && FTermThread->FreeOnTerminate()) (void)FTermThread.release();
  FThread.reset();      // joins
  FTermThread.reset();  // joins
  FreeState();
}

Int64 TCustomFFmpeg::Now() const {
  if (Clock) return Clock();
  return ff::av_gettime_relative ? ff::av_gettime_relative() : 0;
}

void TCustomFFmpeg::Log(TLogLevel ALevel, const String& AMsg) {
  GetFFLogger()->Log(this, ALevel, AMsg);
}

void TCustomFFmpeg::ResetState() {
  if (!FFLoader().Loaded(EncoderLibraries)) return;
  FreeState();
  Fmetadata_global_autocopy = Fmetadata_streams_autocopy = Fmetadata_chapters_autocopy = 1;
  Flast_asked_format.clear();
  Fframe_width = Fframe_height = 0;
  Fframe_aspect_ratio = 0;
  Fframe_pix_fmt = Faudio_sample_fmt = -1;
  Fmax_frames.fill(2147483647);
  Fframe_rate = {25, 0};
  Fvideo_qscale = 0;
  Fvideo_disable = Fsame_quality = Fdo_deinterlace = false;
  Fvideo_discard = 0;
  Fvideo_codec_tag = Faudio_codec_tag = Fsubtitle_codec_tag = 0;
  Fvideo_language.clear();
  Ftop_field_first = -1;
  Fme_threshold = 0;
  Fintra_dc_precision = 8;
  Floop_input = false;
  Floop_output = -1;
  Fqp_hist = FEnableFilter = Fintra_only = false;
  Fvfilters.clear();
  Faudio_sample_rate = 44100;
  Fchannel_layout = 0;
  Faudio_qscale = -99999.0f;
  Faudio_disable = Fsubtitle_disable = false;
  Faudio_channels = 2;
  Faudio_language.clear();
  Fsubtitle_language.clear();
  Fmux_preload = 0.5f;
  Fmux_max_delay = 0.7f;
  Frecording_time = INT64_MAX;
  Fstart_time = Frecording_timestamp = Finput_ts_offset = 0;
  Fdo_benchmark = Fdo_hex_dump = Fdo_pkt_dump = Fdo_psnr = false;
  Fdo_pass = 0;
  Fpass_logfilename_prefix.clear();
  Faudio_stream_copy = Fvideo_stream_copy = Fsubtitle_stream_copy = 0;
  Fvideo_sync_method = -1;
  Faudio_sync_method = 0;
  Faudio_drift_threshold = 0.1f;
  Fcopy_ts = Fcopy_tb = Fopt_shortest = Frate_emu = false;
  Fvideo_global_header = Fopt_programid = Fcopy_initial_nonkeyframes = Fvideo_channel = 0;
  Faudio_volume = 256;
  Fexit_on_error = Fusing_vhook = false;
  Fusing_stdin = 0;
  Fverbose = 1;
  Fthread_count = 1;
  Fq_pressed = 0;
  Fvideo_size = Faudio_size = Fextra_size = 0;
  Fnb_frames_dup = Fnb_frames_drop = 0;
  FShowDupOrDrop = Finput_sync = Fforce_fps = false;
  Flimit_filesize = 0;
  Fforced_key_frames.clear();
  Fdts_delta_threshold = 10.0f;
  Fsws_flags = 4;
  Ftimer_start = 0;
  InitOpts(FOptions, Fsws_flags);
  FPostHooks = {};
  FPostHooksChanged = FJoinMode = FFinished = FFatalException = false;
  FConverting = FBroken = FTerminated = false;
  FTotalOutputDuration = -1;
}

void TCustomFFmpeg::FreeState() {
  const bool Loaded = FFLoader().Loaded(EncoderLibraries);
  if (Loaded) {
    const Integer Outputs = FJoinMode ? std::min(Fnb_output_files, 1) : Fnb_output_files;
    for (Integer I = 0; I < Outputs && I < FMaxFiles; ++I) {
      AVFormatContext* oc = Foutput_files[I];
      if (!oc) continue;
      // An output still open here did not finish: its part file goes.
      if (oc->oformat && !(oc->oformat->flags & AVFMT_NOFILE)) DropOutputFile(I);
      ff::avformat_free_context(oc);
      for (AVFormatContext*& Same : Foutput_files)
        if (Same == oc) Same = nullptr;
    }
    for (Integer I = 0; I < Fnb_input_files && I < FMaxFiles; ++I)
      if (Finput_files[I]) CloseFFmpegInput(&Finput_files[I]);
  }
  Foutput_file_settings.clear();
  for (auto& Streams : Foutput_streams_for_file) Streams.clear();
  Fnb_output_files = 0;
  for (auto& Scale : Finput_files_ts_scale) Scale.clear();
  std::fill(Finput_files_start.begin(), Finput_files_start.end(), NoPTSValue);
  Fnb_input_files = 0;
  FVideoStateTaken = FAudioStateTaken = false;

  Fintra_matrix.clear();
  Finter_matrix.clear();
  if (Fvstats_file) {
    std::fclose(Fvstats_file);
    Fvstats_file = nullptr;
  }
  Fvstats_filename.clear();
  Fstreamid_map.clear();
  Finput_codecs.clear();
  Foutput_codecs.clear();
  Fstream_maps.clear();
  Fmeta_data_maps.clear();
  Fchapter_maps.clear();
  Fvideo_codec_name.clear();
  Faudio_codec_name.clear();
  Fsubtitle_codec_name.clear();
  Fvideo_standard.clear();
  Faudio_buf.clear();
  Faudio_out.clear();
  Finput_tmp.clear();
  Fsamples.clear();
  Fvideo_rc_override_string.clear();
  if (Loaded) {
    UninitOpts(FOptions);
    if (Fgraph) ff::avfilter_graph_free(&Fgraph);
    if (Fmetadata) ff::av_dict_free(&Fmetadata);
  }
  FrameHookRelease(FFirstHook);
  ResetPostHookContext(FOutputVideoHook);
}

void TCustomFFmpeg::SetVideoHookBitsPixel(Integer N) {
  FInputVideoHook->SetBitsPixel(N);
  FOutputVideoHook.Converter->SetBitsPixel(N);
}

void TCustomFFmpeg::ResetPostHookContext(TPostHookContext& AContext) {
  AContext.Previewer.reset();
  AContext.preview_last_time = 0;
  AContext.preview_cur_time = 0;
}

// --- codec lists (callers hold CodecLock) ---

void TCustomFFmpeg::CloseEncoderList(std::vector<TAVOutputStream*>& AList) {
  for (TAVOutputStream* ost : AList)
    if (ost->encoding_needed) ost->enc_ctx.reset();
  AList.clear();
}

void TCustomFFmpeg::CloseDecoderList(std::vector<TAVInputStream*>& AList) {
  for (TAVInputStream* ist : AList)
    if (ist->decoding_needed) ist->dec_ctx.reset();
  AList.clear();
}

// --- run control ---

void TCustomFFmpeg::RecordFatal(const String& AMessage) {
  Log(llQuiet, AMessage);
  FFatalException = true;
  FFatalMessage = AMessage;
}

void TCustomFFmpeg::Guarded(const std::function<void()>& AStep) {
  try {
    AStep();
  } catch (const Exception& E) {
    RecordFatal(E.Message());
  } catch (const std::exception& E) {
    RecordFatal(E.what());
  }
}

TThread* TCustomFFmpeg::StartConvert(bool AUseThread, TThreadPriority APriority) {
  (void)APriority;
  {
    std::lock_guard<std::mutex> L(FRunLock);
    if (FConverting || FTerminated || FTermThread) return nullptr;
    // Cleared before the task counts as converting, so a Stop from then on holds.
    FBroken = false;
    FConverting = true;
  }
  String Failure;
  if (Fnb_output_files <= 0)
    Failure = "At least one output file must be specified";
  else if (Fnb_input_files == 0)
    Failure = "At least one input file must be specified";
  if (!Failure.empty()) {
    Guarded([this] { FreeState(); });
    RecordFatal(Failure);
    FFinished = false;
    DoTerminate();
    return nullptr;
  }
  FFinished = false;
  if (!AUseThread) {
    DoConvert();
    return nullptr;
  }
  std::lock_guard<std::mutex> L(FRunLock);
  // Reset before the thread exists, so that a wait begun before it starts holds.
  FStopEvent->ResetEvent();
  FThread.reset(TConvertThread::Create(this));
  return FThread.get();
}

void TCustomFFmpeg::DoConvert() {
  FFinished = false;
  Guarded([this] { Transcode(); });
  Guarded([this] {
    std::lock_guard<TCriticalSection> L(CodecLock());
    CloseEncoderList(FEncoderList);
  });
  Guarded([this] {
    std::lock_guard<TCriticalSection> L(CodecLock());
    CloseDecoderList(FDecoderList);
  });
  Guarded([this] { FreeState(); });
  // Last: the owner may free the engine from OnTerminate.
  Guarded([this] { DoTerminate(); });
}

void TCustomFFmpeg::DoTerminate() {
  bool Expected = false;
  if (!FTerminated.compare_exchange_strong(Expected, true)) return;  // once per task
  FConverting = false;
  if (OnTerminate) OnTerminate(this);
}

void TCustomFFmpeg::WaitWhilePaused() {
  while (FPaused && !FBroken) FPauseGate.WaitFor(INFINITE);
}

void TCustomFFmpeg::Stop(bool AWaitForStop) {
  FBroken = true;
  TConvertThread* Worker;
  {
    std::lock_guard<std::mutex> L(FRunLock);
    Worker = FThread.get();
  }
  if (!Worker) {
    FLastRead = 0;  // the next read-timeout check cancels a blocking open
    return;
  }
  if (!Worker->Started()) Worker->Start();
  FPaused = false;
  FPauseGate.SetEvent();
  if (AWaitForStop && Worker->ThreadID() != GetCurrentThreadId())
    WaitServingMainThread(*FStopEvent, INFINITE, StopWaitStepMs);
}

void TCustomFFmpeg::StopOrTerminate(bool AWaitForStop) {
  if (FConverting) {
    Stop(AWaitForStop);
    return;
  }
  TDoTerminateThread* Notifier = nullptr;
  {
    std::lock_guard<std::mutex> L(FRunLock);
    if (FConverting) {
      // Started meanwhile.
    } else if (FTermThread) {
      Notifier = FTermThread.get();
    } else if (!FTerminated) {
      FTermEvent->ResetEvent();
      FTermThread.reset(TDoTerminateThread::Create(this));
      Notifier = FTermThread.get();
      Notifier->Start();
    }
  }
  if (FConverting && !Notifier) {
    Stop(AWaitForStop);
    return;
  }
  if (AWaitForStop && Notifier && Notifier->ThreadID() != GetCurrentThreadId())
    WaitServingMainThread(*FTermEvent, INFINITE, StopWaitStepMs);
}

void TCustomFFmpeg::Pause() {
  std::lock_guard<std::mutex> L(FRunLock);
  if (!FThread || FThread->Finished() || FPaused) return;
  FPaused = true;
  FPauseGate.ResetEvent();
}

void TCustomFFmpeg::Resume() {
  if (!FPaused) return;
  FPaused = false;
  FPauseGate.SetEvent();
}

bool TCustomFFmpeg::ReadTimeoutCheck(TObject* Sender) {
  auto* Self = dynamic_cast<TCustomFFmpeg*>(Sender);
  if (!Self || Self->FReadTimeout <= 0) return false;
  const Int64 Last = Self->FLastRead;
  if (Last == INT64_MAX) return false;
  if (Last == 0) {
    Self->Log(llInfo, "connecting/reading/writing canceled");
    return true;
  }
  if (Self->Now() - Last > Int64{Self->FReadTimeout} * 1000) {
    Self->Log(llInfo, "connecting/reading/writing timeout");
    return true;
  }
  return false;
}

bool TCustomFFmpeg::BrokenCheck(TObject* Sender) {
  auto* Self = dynamic_cast<TCustomFFmpeg*>(Sender);
  return Self && Self->FBroken;
}

}  // namespace vantrel::media
