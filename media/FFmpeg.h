// The conversion engine: one TCustomFFmpeg holds the whole option and stream state of one
// conversion task, fills it from the option vocabulary, presets and targets, and runs the
// conversion in the caller's thread or in a conversion thread that it owns and joins.
#pragma once

#include <array>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "media/FFAlignedBuffer.h"
#include "media/FFLog.h"
#include "media/FFUpright.h"
#include "media/FFUtils.h"
#include "media/FrameHook.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SyncObjs.h"
#include "platform/rtl/Threads.h"

struct AVAudioFifo;
struct AVBitStreamFilter;
struct AVBufferPool;
struct AVBSFContext;
struct AVCodec;
struct AVCodecContext;
struct AVDictionary;
struct AVFilterGraph;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct AVSubtitle;
struct SwrContext;
struct SwsContext;
class TBitmap;

namespace vantrel::media {

class TPreviewer;
class TCustomFFmpeg;

// The engine's own failures.
VANTREL_EXCEPTION(FFmpegException, Exception);

// The class library's thread priorities (accepted for the conversion thread; Linux
// threads of an ordinary user all run at the same priority).
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

enum TPostHook { phPreview, phBitmap, phHBITMAP };
using TPostHooks = TSet<TPostHook>;

// Media types as FFmpeg numbers them (index of Fmax_frames and of the option templates).
enum TMediaTypeIndex { mtVideo = 0, mtAudio = 1, mtData = 2, mtSubtitle = 3 };

// Television norms of the targets.
enum TTargetNorm { tnPAL, tnNTSC, tnFILM };

struct TAVStreamMap {
  Integer file_index = 0;
  Integer stream_index = 0;
  Integer sync_file_index = 0;
  Integer sync_stream_index = 0;
};

// One side of a metadata map: file, type ('g' global, 's' stream, 'c' chapter,
// 'p' program) and the index for the last three.
struct TAVMetaDataMap {
  Integer file_idx = 0;
  char type_ = 'g';
  Integer index = 0;
};

struct TAVChapterMap {
  Integer in_file = 0;
  Integer out_file = 0;
};

// Option names and values in the order they were given, kept for a context that does
// not exist yet (a decoder or a muxer opened later).
using TOptionList = std::vector<std::pair<String, String>>;

// Deleter of a codec context owned by a stream record.
struct TCodecContextDeleter {
  void operator()(AVCodecContext* ACtx) const;
};
using TCodecContextPtr = std::unique_ptr<AVCodecContext, TCodecContextDeleter>;

// Owners of the FFmpeg objects of a run.
struct TFrameDeleter {
  void operator()(AVFrame* AFrame) const;
};
using TFramePtr = std::unique_ptr<AVFrame, TFrameDeleter>;
struct TPacketDeleter {
  void operator()(AVPacket* APacket) const;
};
using TPacketPtr = std::unique_ptr<AVPacket, TPacketDeleter>;
struct TSwsContextDeleter {
  void operator()(SwsContext* ACtx) const;
};
using TSwsContextPtr = std::unique_ptr<SwsContext, TSwsContextDeleter>;
struct TBSFContextDeleter {
  void operator()(AVBSFContext* ACtx) const;
};
using TBSFContextPtr = std::unique_ptr<AVBSFContext, TBSFContextDeleter>;
struct TSwrContextDeleter {
  void operator()(SwrContext* ACtx) const;
};
using TSwrContextPtr = std::unique_ptr<SwrContext, TSwrContextDeleter>;
struct TAudioFifoDeleter {
  void operator()(AVAudioFifo* AFifo) const;
};
using TAudioFifoPtr = std::unique_ptr<AVAudioFifo, TAudioFifoDeleter>;

// Pictures of one format and size in reference-counted buffers from a pool: the
// processed copies of the hooks, never written into a picture someone else holds.
class TPicturePool {
 public:
  TPicturePool() = default;
  ~TPicturePool();
  TPicturePool(const TPicturePool&) = delete;
  TPicturePool& operator=(const TPicturePool&) = delete;
  // A new picture of that format and size (the pool follows a change of either); nil
  // when it cannot be had.
  AVFrame* Get(Integer APixFmt, Integer AWidth, Integer AHeight);

 private:
  void Reset();
  AVBufferPool* FPool = nullptr;
  Integer FPixFmt = -1;
  Integer FWidth = 0;
  Integer FHeight = 0;
};

// One input file while a conversion runs.
struct TAVInputFile {
  Integer eof_reached = 0;
  Integer ist_index = 0;  // index of the file's first stream in the input stream table
  Integer buffer_size = 0;
  Integer nb_streams = 0;
};

// One stream of an input file, while a conversion runs. It owns its decoder context.
struct TAVInputStream {
  Integer file_index = 0;
  Integer index = 0;
  AVStream* st = nullptr;
  TCodecContextPtr dec_ctx;
  Integer discard = 1;
  Integer decoding_needed = 0;
  Integer sample_index = 0;
  Int64 frame_number = 0;
  Int64 start = 0;
  Int64 next_pts = 0;
  Int64 pts = 0;
  TPtsCorrectionContext pts_ctx{};
  Integer is_start = 0;
  Integer showed_multi_packet_warning = 0;
  Integer is_past_recording_time = 0;
  Integer decoder_flushed = 0;
  // Quality of the last decoded picture (same-quality encoding).
  Single quality = 0;
  // The stream's filter graph (source to sink), when filtering is on.
  std::unique_ptr<TVideoFilterChain> filter;
  // How its decoded pictures are turned upright before the hooks and the filters.
  TUprightTurn upright;
  TFramePtr decoded_frame;
  TFramePtr filter_frame;
};

// One stream of an output file. It owns its encoder context (5.1's AVStream has none),
// on which the stream's choices (sample rate, formats, sizes) are made.
struct TAVOutputStream {
  Integer file_index = 0;
  Integer index = 0;
  Integer source_index = 0;
  AVStream* st = nullptr;
  TCodecContextPtr enc_ctx;
  // The encoder options that enc_ctx did not take (private ones of an encoder chosen
  // later), for avcodec_open2.
  TOptionList encoder_opts;
  Integer stream_copy = 0;
  Integer encoding_needed = 0;
  Int64 frame_number = 0;
  TAVInputStream* sync_ist = nullptr;
  Int64 sync_opts = 0;
  std::vector<const AVBitStreamFilter*> bitstream_filters;
  Integer video_resample = 0;
  Integer resample_height = 0;
  Integer resample_width = 0;
  Integer resample_pix_fmt = -1;
  Integer original_height = 0;
  Integer original_width = 0;
  std::vector<Int64> forced_kf_pts;  // in the encoder's time base
  Integer forced_kf_count = 0;
  Integer forced_kf_index = 0;
  Integer audio_resample = 0;
  Integer resample_sample_fmt = -1;
  Integer resample_channels = 0;
  Integer resample_sample_rate = 0;
  // Resampler and sample-format converter in one, built for the parameters above.
  TSwrContextPtr resample;
  // Samples at the encoder's format and rate waiting for a whole encoder frame.
  TAudioFifoPtr fifo;
  // The encoder time just after the last audio frame handed to the encoder.
  Int64 audio_pts_end = NoPTSValue;
  FILE* logfile = nullptr;  // two-pass log, closed with the record
  Integer codec_id = 0;
  Integer show_fps = 0;
  // The run's objects: the scaled picture and its scaler (filtering off), the chain of
  // bitstream filter instances, the facts of the last encoded packet (statistics).
  TFramePtr pict_tmp;
  TSwsContextPtr img_resample_ctx;
  // At a constant output rate: the latest picture given to the stream, ready to encode,
  // which fills the output frames up to the next picture's time.
  TFramePtr last_picture;
  std::vector<TBSFContextPtr> bsf_ctx;
  Integer coded_quality = 0;
  Integer coded_pict_type = 0;
  Int64 coded_error0 = 0;
  // Squared error per plane (Y, U, V) of the last encoded picture (PSNR).
  std::array<Int64, 3> coded_error{};
  bool coded_key_frame = false;
  // Output time of the last packet written, seconds (which input is read next).
  Double cur_time = 0;

  TAVOutputStream() = default;
  ~TAVOutputStream();
  TAVOutputStream(const TAVOutputStream&) = delete;
  TAVOutputStream& operator=(const TAVOutputStream&) = delete;
};

// What the input set-up leaves for the decoder of one input stream (today's streams
// carry no codec context): thread count, lowres and the decoder options.
struct TDecoderSettings {
  Integer thread_count = 1;
  Integer lowres = 0;
  TOptionList options;
};

// An open part file with an exclusive lock on it, held while its task writes it: a part
// file that nobody holds was left by a run that ended without finishing it.
class TPartFileLock {
 public:
  TPartFileLock() = default;
  explicit TPartFileLock(int AFd) : FFd(AFd) {}
  TPartFileLock(TPartFileLock&& A) noexcept : FFd(std::exchange(A.FFd, -1)) {}
  TPartFileLock& operator=(TPartFileLock&& A) noexcept;
  TPartFileLock(const TPartFileLock&) = delete;
  TPartFileLock& operator=(const TPartFileLock&) = delete;
  ~TPartFileLock() { Release(); }
  void Release();

 private:
  int FFd = -1;
};

// What the output set-up leaves for writing an output.
struct TOutputFileSettings {
  // Muxer options for avformat_write_header (preload, loop, generic format options).
  TOptionList muxer_options;
  // Written straight to its name (a device, a pipe or a protocol), not through a part file.
  bool direct = false;
  // The part file written while the task runs; empty when there is none (any more).
  String part_name;
  TPartFileLock part_lock;
};

// Whether a task may write AFileName, checked without making anything: 0, or a negative
// AVERROR (no such folder, not a folder, no permission, name too long, a folder of that
// name). ADirect tells a name that is written as it is: a device, a pipe, a protocol.
int CheckOutputPlace(const String& AFileName, bool& ADirect);
// Makes a new empty part file next to AFileName (a hidden name made from it, that says it
// is this program's: ".name.ext.vantrel-XXXXXX.part"): its name, or empty with the error
// number in AError. ALock, when given, holds the file locked from its creation on.
String CreatePartFile(const String& AFileName, int& AError, TPartFileLock* ALock = nullptr);
// Removes from AFolder the part files of this program that a run left behind when it
// ended without finishing them (it crashed or was killed): files of the current user
// named as CreatePartFile names them, that no running task holds and that have not
// changed for a minute. Nothing else is touched. Returns the names removed.
std::vector<String> RemoveStalePartFiles(const String& AFolder);
// "dir/name (N).ext" for "dir/name.ext".
String NumberedFileName(const String& AFileName, Integer AN);
// Moves the finished file APart to AFileName or, when something has that name, to the
// first free NumberedFileName from 2 on; never replaces a file. Returns the name used;
// raises FFmpegException when the move fails otherwise.
String MoveToFreeName(const String& APart, const String& AFileName);

// What the output video hook and the previews keep between frames.
struct TPostHookContext {
  TOwned<TFormatConverter> Converter;
  // Shared: the conversion thread keeps the window it paints alive while the owner
  // turns the preview off.
  std::shared_ptr<TPreviewer> Previewer;
  Int64 preview_last_time = 0;
  Int64 preview_cur_time = 0;
  TPostHookContext();
  ~TPostHookContext();
};

using TProgressEvent = std::function<void(
    TObject* Sender, Integer AFileIndex, Integer AFrameNumber, Integer AFPS, Single AQuality,
    Single ABitRate, Int64 ACurrentSize, Int64 ACurrentDuration, Int64 ATotalDuration)>;
using TVideoHookEvent = std::function<void(TObject* Sender, TBitmap* ABitmap,
                                           Integer AFrameNumber, Int64 APTS, bool& AUpdate,
                                           bool& AStopHook)>;
using TPreviewBitmapEvent =
    std::function<void(TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS)>;
using TAudioHookEvent =
    std::function<void(TObject* Sender, Int64 APTS, Byte* ASample, Integer ASize,
                       Integer ASampleRate, Integer AChannels, Integer ASampleFormat)>;
// The engine's clock in microseconds (intervals and time-outs only).
using TClockFunc = std::function<Int64()>;

// The conversion thread of an engine.
class TConvertThread : public TThread {
  VANTREL_CLASS(TConvertThread)
  explicit TConvertThread(TCustomFFmpeg* AOwner);

 protected:
  void Execute() override;

 private:
  TCustomFFmpeg* FOwner;
  // Kept by the thread so that it can signal the end of its run even when the engine
  // was freed from its own OnTerminate.
  std::shared_ptr<TEvent> FStopEvent;
};

// Raises the terminate notification of a task that never ran.
class TDoTerminateThread : public TThread {
  VANTREL_CLASS(TDoTerminateThread)
  explicit TDoTerminateThread(TCustomFFmpeg* AOwner);

 protected:
  void Execute() override;

 private:
  TCustomFFmpeg* FOwner;
  std::shared_ptr<TEvent> FTermEvent;
};

class TCustomFFmpeg : public TObject {
  VANTREL_CLASS(TCustomFFmpeg)

  // AMaxFiles must be 1..512 (FFmpegException otherwise).
  explicit TCustomFFmpeg(Integer AMaxFiles);
  ~TCustomFFmpeg() override;

  // --- run control ---
  // Starts the conversion once. Without AUseThread it runs here and nil is returned
  // when it has ended; with it, the conversion thread is returned not yet started
  // (the caller starts it with Resume/Start). The engine owns that thread and joins it.
  TThread* StartConvert(bool AUseThread, TThreadPriority APriority = tpNormal);
  void Stop(bool AWaitForStop);
  void StopOrTerminate(bool AWaitForStop);
  // Holds the conversion at its next safe point / lets it go on.
  void Pause();
  void Resume();

  void ResetState();
  void FreeState();

  // Interrupt tests of the per-thread interrupt list; Sender must be the engine.
  static bool ReadTimeoutCheck(TObject* Sender);
  static bool BrokenCheck(TObject* Sender);

  // --- options (the vocabulary and its handlers) ---
  void SetExtOption(const String& AName, const String& AValue);

  void SetForceFormat(const String& AName);
  bool SetGenericOption(const String& AName, const String& AValue);
  bool SetGenericOptionInt(const String& AName, Integer AValue);
  void SetVerbose(Integer N) { Fverbose = N; }
  void SetMeThreshold(Integer N);
  void SetTopFieldFirst(Integer N) { Ftop_field_first = N; }
  void SetVideoChannel(Integer N);
  void SetAudioRate(Integer N);
  void SetAudioChannels(Integer N);
  void SetAudioVolume(Integer N);
  void SetAudioSyncMethod(Integer N) { Faudio_sync_method = N; }
  void SetVideoSyncMethod(Integer N) { Fvideo_sync_method = N; }
  void SetMuxMaxDelay(Single X);
  void SetMuxPreload(Single X);
  void SetStartTime(Int64 T);
  void SetRecordingTime(Int64 T);
  void SetProgramID(Integer N);
  void SetVFilters(const String& AText);
  void SetRcOverride(const String& AText) { Fvideo_rc_override_string = AText; }
  void SetVideoStandard(const String& AText);
  void SetMetadata(const String& AKey, const String& AValue);
  void SetPostHooks(TPostHooks AFlags);
  void ChangePostHooks(TPostHooks AFlags);

  void SetVideoCodec(const String& AName);
  void SetAudioCodec(const String& AName);
  void SetSubtitleCodec(const String& AName);
  // AMediaType: FFmpeg's media type number. Raises nothing: false with FLastErrMsg.
  bool FindCodec(const String& AName, Integer AMediaType, Integer& ACodecID,
                 Integer AStrictness, bool AEncoder);

  void SetFrameRate(const String& AText);
  void SetFrameSize(const String& AText);
  void SetAspectRatio(const String& AText);
  void SetPixelFormat(const String& AName);
  void SetSampleFormat(const String& AName);
  void SetQScale(Single Q);
  void SetThreadCount(Integer N);
  void SetPass(Integer N);
  bool SetBitrate(const String& AName, const String& AValue);
  void SetCodecTag(const String& AName, const String& AText);
  void SetMetadataOption(const String& AText);
  void SetStreamId(const String& AName, const String& AValue);
  void AddStreamMap(const String& AText);
  void AddMetaDataMap(const String& AText);
  void AddChapterMap(const String& AText);
  void SetInputTsScale(const String& AText);
  void SetRecordingTimeText(const String& AName, const String& AText);
  void SetStartTimeText(const String& AName, const String& AText);
  void SetInputTsOffset(const String& AName, const String& AText);
  void SetRecordingTimestamp(const String& AName, const String& AText);
  void SetIntraMatrix(const String& AText);
  void SetInterMatrix(const String& AText);
  void SetVStatsFile(const String& AText);
  void SetVStats(bool AOn);
  void AddBitstreamFilter(const String& AName, const String& AValue);
  void AddVideoHook(const String& AText);
  // A new stream of the kind of AName ("newvideo", "newaudio", "newsubtitle") in the
  // output file opened last.
  void AddNewStream(const String& AName);

  // --- input and output files ---
  // Opens one input file with the option state gathered so far, reads its stream
  // information, seeks to the start position and enters it in the input table; the
  // per-input options are consumed. False with LastErrMsg; raises FFmpegException for
  // an unknown forced format. Nothing stays open on failure.
  bool OpenInputFile(const String& AFileName);
  // Sets up one output file with its video, audio and subtitle streams from the option
  // state, and checks that the file can be made (it is made when the task runs). The new
  // number of output files, or -1 with LastErrMsg.
  Integer OpenOutputFile(const String& AFileName, bool AJoin);
  // After a join open: one output entry per input, all on the first one's context, and
  // the total duration of all inputs.
  void PrepareJoin();
  // "newvideo", "newaudio", "newsubtitle": one more stream of that kind in the output
  // opened last.
  void AddStreamToLastOutput(const String& AName);
  // Takes the output opened last back and forgets its streams (a failure after
  // OpenOutputFile succeeded).
  void DiscardLastOutput();
  // The name of output AIndex: the one asked for, and once the task has finished, the
  // one it was written to (empty for no output).
  String OutputFileName(Integer AIndex) const;
  // The recording date of the next output in seconds since 1970 (its "creation_time").
  void SetRecordingTimestampValue(Int64 ASeconds);

  // --- targets and presets ---
  void SetTarget(const String& AType, const String& ANorm, const String& ADefaultNorm);
  void SetTargetText(const String& AText);
  void ApplyPreset(const String& AOption, const String& AName);

  // --- stream set-up helpers ---
  TAVOutputStream* NewOutputStream(AVFormatContext* oc, Integer file_index);
  void ChooseSampleFormat(AVCodecContext* ACtx, const AVCodec* ACodec);
  void ChooseSampleRate(AVCodecContext* ACtx, const AVCodec* ACodec);
  void ChoosePixelFormat(AVCodecContext* ACtx, const AVCodec* ACodec);
  Integer ReadFeedStreams(AVFormatContext* oc, const String& AFileName);
  static Int64 ParseTime(const String& AContext, const String& ATimeStr, bool AIsDuration);
  void ParseForcedKeyFrames(const String& AText, TAVOutputStream& AOst,
                            const AVCodecContext* AEncoder);
  // The two-pass log file of output stream AIndex: in the private temp folder, named
  // from the prefix (default "ffmpeg2pass") and the task's inputs, so passes of one
  // conversion meet and parallel conversions do not.
  String PassLogFileName(Integer AIndex) const;

  // --- state read by the owner ---
  const String& LastErrMsg() const { return FLastErrMsg; }
  bool Converting() const { return FConverting.load(); }
  bool Terminated() const { return FTerminated.load(); }
  bool Finished() const { return FFinished; }
  bool Broken() const { return FBroken.load(); }
  bool Paused() const { return FPaused.load(); }
  bool FatalException() const { return FFatalException; }
  const String& FatalMessage() const { return FFatalMessage; }
  Int64 TotalOutputDuration() const { return FTotalOutputDuration; }
  Integer MaxFiles() const { return FMaxFiles; }
  Integer InputFileCount() const { return Fnb_input_files; }
  Integer OutputFileCount() const { return Fnb_output_files; }
  bool JoinMode() const { return FJoinMode; }
  TPostHooks PostHooks() const { return FPostHooks; }
  // Bits per pixel of the bitmaps of both video hooks and the previews (8, 15, 16, 24, 32).
  void SetVideoHookBitsPixel(Integer N);
  // Milliseconds a blocking open, read or write may take (0: no limit).
  Integer ReadTimeout() const { return FReadTimeout; }
  void SetReadTimeout(Integer AValue) { FReadTimeout = AValue; }
  // The current time of the engine's clock (Clock when set, else av_gettime_relative).
  Int64 Now() const;

  bool HaltOnInvalidOption = true;
  Int64 ReportInterval = 500000;
  Int64 PreviewInterval = 100000;
  TClockFunc Clock;

  TAudioHookEvent OnAudioHook;
  TBeforeFindStreamInfoEvent OnBeforeFindStreamInfo;
  TVideoHookEvent OnInputVideoHook;
  TVideoHookEvent OnOutputVideoHook;
  TPreviewBitmapEvent OnPreviewBitmap;
  TProgressEvent OnProgress;
  TNotifyEvent OnTerminate;

  // The unit-wide locks: the open-codec lists, and the post-hook flags.
  static TCriticalSection& CodecLock();
  static TCriticalSection& PostHookLock();

 protected:
  friend class TConvertThread;
  friend class TDoTerminateThread;

  // The conversion proper; the transcoder's set-up and main loop. Tests replace it.
  virtual void Transcode();

  // --- transcode set-up ---
  void BuildInputStreamTable();
  void CheckOutputsAndMaps();
  void BuildOutputStreamTable();
  // The input stream table index feeding output stream AOst of output file AFile
  // (-1: none).
  Integer MapStreamAuto(const TAVOutputStream& AOst, Integer AFile);
  // Fails the task when a stream it decodes has an unknown picture or sample format,
  // size or rate (no scaler or resampler is ever made for one).
  void CheckDecodedSource(const TAVOutputStream& ost, const TAVInputStream& ist);
  void CheckDecodedSources();
  void SetupOutputCodecs();
  void SetupStreamCopy(TAVOutputStream& ost, TAVInputStream& ist);
  void SetupEncoding(TAVOutputStream& ost, TAVInputStream& ist, Integer n);
  void OpenPassLog(TAVOutputStream& ost, Integer n);
  void OpenEncoders();
  void OpenDecoders();
  void InitInputPts();
  void CopyMetadata();
  void CopyChapters(Integer AInFile, Integer AOutFile);
  // Opens each output for writing, a file through its part file.
  void OpenOutputFiles();
  void WriteHeaders();
  // Dumps the outputs and logs the stream mapping.
  void DumpStreamMapping();
  // Dumps the mapping, logs AMessage at llError and raises it.
  [[noreturn]] void FailWithMapping(const String& AMessage);
  // The video filter graph of one transcoded stream: 0 or a negative error code.
  Integer BuildFilterGraph(TAVInputStream& ist, TAVOutputStream& ost);

  // --- packets and output ---
  // One packet of input stream ist (nil: the end of its input). 0, or -1 when decoding
  // failed.
  Integer OutputPacket(TAVInputStream& ist, Integer ist_index, const AVPacket* APacket);
  // Hands one decoded picture (or a filtered one) to every output stream fed by ist.
  void OutputDecodedFrame(TAVInputStream& ist, Integer ist_index, AVFrame* AFrame);
  // Whether a decoded picture or block of samples (at ist.pts) is inside the output's
  // time window, from its input's start to the recording end. A picture is kept when it
  // starts inside; samples are cut at the window's edges into ACut, which AFrame then
  // points to (ist.pts moves to the first sample kept).
  bool FitToWindow(TAVInputStream& ist, AVFrame*& AFrame, TFramePtr& ACut);
  // Through the stream's bitstream filters to the muxer; owns nothing of APacket.
  void WriteFrame(AVFormatContext* os, AVPacket* APacket, TAVOutputStream& ost);
  // Sends AFrame (nil: end) to the encoder and writes every packet that comes out.
  // Returns the bytes of the last packet written.
  Integer EncodeAndWrite(AVFormatContext* os, TAVOutputStream& ost, AVFrame* AFrame);
  // Sends the end to every encoder and writes what they still hold.
  void FlushEncoders();
  void DoVideoOut(AVFormatContext* os, TAVOutputStream& ost, TAVInputStream& ist, AVFrame* in_picture,
                  Integer& frame_size);
  // At the end of the input of a stream written at a constant rate: the last picture fills
  // the output frames up to the time where it ends.
  void FinishVideoOut(AVFormatContext* os, TAVOutputStream& ost, TAVInputStream& ist);
  // Whether the stream's pictures are written at a constant rate (gaps filled, pictures
  // dropped) rather than at their own times.
  bool ConstantVideoRate(const AVFormatContext* os) const;
  // Encodes APicture as the stream's next output frame (hooks, forced key frames) and
  // returns the bytes written.
  Integer WriteVideoFrame(AVFormatContext* os, TAVOutputStream& ost, TAVInputStream& ist, const AVFrame* APicture);
  void DoSubtitleOut(AVFormatContext* os, TAVOutputStream& ost, TAVInputStream& ist, AVSubtitle* sub,
                     Int64 pts);
  void DoVideoStats(AVFormatContext* os, TAVOutputStream& ost, Integer frame_size);
  // Whether this stream's output time has reached its frame limit.
  bool FrameLimitReached(const TAVOutputStream& ost) const;

  // --- the audio path, the report and the hooks (their own units) ---
  virtual void SetupAudioEncoding(TAVOutputStream& ost, TAVInputStream& ist);
  virtual void DoAudioOut(AVFormatContext* os, TAVOutputStream& ost, TAVInputStream& ist, AVFrame* AFrame);
  // Encodes what the stream's sample FIFO still holds as its last frame.
  virtual void FlushAudioFifo(AVFormatContext* os, TAVOutputStream& ost);
  virtual void PrintReport(bool AIsLastReport, Integer AInputIndex);
  // Deinterlacing, the input video hook and the frame-hook plug-ins on a decoded
  // picture; a processed picture replaces AFrame's content (a new reference).
  virtual void PreprocessVideoFrame(TAVInputStream& ist, AVFrame* AFrame);
  // The output video hook and the post hooks on a picture about to be encoded.
  virtual void RunOutputHooks(TAVOutputStream& ost, AVFrame* AFrame, Int64 APts, Integer AFrameNumber);
  // The common step of both video hooks: the picture as a bitmap to the event, and back
  // when the handler changed it.
  void CallVideoHook(TVideoHookEvent& AEvent, TFormatConverter& AConverter, bool& AUpdated, Int64 APts,
                     Integer AFrameNumber, AVFrame* APicture);
  void CallOutputVideoHook(AVFrame* APicture, bool& AUpdated, Int64 APts, Integer AFrameNumber);
  void DoPostHooks(AVFrame* APicture, bool AUpdated, Int64 APts, Integer AFrameNumber);
  // The audio path's steps: resampler set-up, and samples at the decoder's format into
  // the FIFO (through the resampler when there is one) with the volume applied.
  void PrepareResampler(TAVOutputStream& ost, TAVInputStream& ist, const AVFrame* AFrame);
  void PushSamples(TAVOutputStream& ost, const uint8_t* const* AData, Integer ACount);
  void EncodeAudioFifo(AVFormatContext* os, TAVOutputStream& ost, bool AFlush);

  // --- main loop and end ---
  // Join mode: the input stream of each later input that feeds each output stream.
  void MapJoinSegments();
  // Join mode: input AIndex has ended; flushes its decoders, fills the sound it lacked
  // with silence and moves the next input's clock to where this input's part ends. False
  // when it was the last input.
  bool NextJoinSegment(Integer AIndex);
  // Join mode: where the part of input AIndex ends on its clock (microseconds, offset
  // applied): its start plus its length. INT64_MAX outside join mode or when the input
  // does not tell its length.
  Int64 JoinSegmentEnd(Integer AIndex) const;
  // Join mode: silence in the sound outputs that input AIndex has no stream for, up to
  // AEnd on that input's clock.
  void FillJoinSilence(Integer AIndex, Int64 AEnd);
  void TranscodeLoop();
  // The end of a finished conversion: each output closed and its part file moved to its
  // name (or the next free one).
  void CommitOutputFiles();
  // Closes output AIndex and removes its part file, if any (an unfinished output).
  void DropOutputFile(Integer AIndex);
  void CloseEncoders();
  void CloseDecoders();
  void TranscodeCleanup();
  // The main loop's safe point: returns at once unless the task is paused, then waits
  // until it is resumed or stopped.
  void WaitWhilePaused();

  void DoConvert();
  void DoTerminate();
  // Logs the exception's text and records it as the task's fatal error.
  void RecordFatal(const String& AMessage);
  // Runs one step of DoConvert, recording what it raises.
  void Guarded(const std::function<void()>& AStep);
  void Log(TLogLevel ALevel, const String& AMsg);

  void CloseEncoderList(std::vector<TAVOutputStream*>& AList);
  void CloseDecoderList(std::vector<TAVInputStream*>& AList);
  void ResetPostHookContext(TPostHookContext& AContext);

  // Option helpers.
  void SetCodecName(Integer& ACopyFlag, String& ACodecName, const String& AName);
  void ListFormats(const std::function<String(Integer)>& ADescribe, Integer ACount);
  std::vector<uint16_t>& ParseMatrix(std::vector<uint16_t>& AMatrix, const String& AText);
  TTargetNorm GuessNorm(const String& ANorm, const String& ADefaultNorm);
  // Throws the option error text when the generic setter failed and halting is on.
  void RaiseOptionError();

  // Output set-up steps.
  void check_audio_video_sub_inputs(bool& has_video, bool& has_audio, bool& has_subtitle,
                                    bool AFirstOnly);
  void new_video_stream(AVFormatContext* oc, Integer AFileIndex);
  void new_audio_stream(AVFormatContext* oc, Integer AFileIndex);
  void new_subtitle_stream(AVFormatContext* oc, Integer AFileIndex);
  // The read-timeout check around a blocking open (armed: registered for this thread).
  void ArmReadTimeout();
  // A new start of the time-out for the next blocking call.
  void StampReadTimeout();
  void DisarmReadTimeout();

  // ===== Inputs: FMaxFiles slots per table; the engine owns the contexts =====
  Integer FMaxFiles = 0;
  std::vector<AVFormatContext*> Finput_files;
  Integer Fnb_input_files = 0;
  std::vector<Int64> Finput_files_ts_offset;
  // Per input file: where its part of the output starts when a start position was asked
  // for (microseconds, in the time its packets get with the offset above), else
  // NoPTSValue. The seek lands on a key frame before it: what is decoded before this
  // time is dropped.
  std::vector<Int64> Finput_files_start;
  // Per input file, per stream: the time-stamp scale ("itsscale").
  std::vector<std::vector<Double>> Finput_files_ts_scale;
  // Per input stream of all files in order: its forced decoder (nil: found by codec id)
  // and its decoder's settings.
  std::vector<const AVCodec*> Finput_codecs;
  std::vector<TDecoderSettings> Finput_decoder_settings;
  // The picture and sound options were taken from the first input that has them.
  bool FVideoStateTaken = false;
  bool FAudioStateTaken = false;

  // ===== Outputs =====
  std::vector<AVFormatContext*> Foutput_files;
  Integer Fnb_output_files = 0;
  std::vector<std::vector<std::unique_ptr<TAVOutputStream>>> Foutput_streams_for_file;
  // Per output stream of all files in order: its forced encoder (nil: found by codec id).
  std::vector<const AVCodec*> Foutput_codecs;
  // Per output file slot: what writing it needs.
  std::vector<TOutputFileSettings> Foutput_file_settings;
  // Per output file slot: its name (see OutputFileName); kept after the run.
  std::vector<String> Foutput_file_names;
  // Join mode: every input feeds the one output in turn.
  bool FJoinMode = false;
  Int64 FTotalOutputDuration = -1;
  // Stream, metadata and chapter maps, stream ids.
  std::vector<TAVStreamMap> Fstream_maps;
  std::vector<TAVMetaDataMap> Fmeta_data_maps;  // pairs: output side, input side
  Integer Fmetadata_global_autocopy = 1;
  Integer Fmetadata_streams_autocopy = 1;
  Integer Fmetadata_chapters_autocopy = 1;
  std::vector<TAVChapterMap> Fchapter_maps;
  std::vector<Integer> Fstreamid_map;

  // ===== Options for the next stream or file =====
  // Container and generic options.
  String Flast_asked_format;
  TFFOptions FOptions;
  Single Fmux_preload = 0.5f;
  Single Fmux_max_delay = 0.7f;
  Int64 Frecording_time = INT64_MAX;
  Int64 Fstart_time = 0;
  Int64 Frecording_timestamp = 0;  // seconds since 1970
  Int64 Finput_ts_offset = 0;
  AVDictionary* Fmetadata = nullptr;
  Int64 Flimit_filesize = 0;
  bool Floop_input = false;
  Integer Floop_output = -1;
  Integer Fopt_programid = 0;
  bool Fcopy_ts = false;
  bool Fcopy_tb = false;
  bool Fopt_shortest = false;
  bool Frate_emu = false;
  Single Fdts_delta_threshold = 10.0f;
  Integer Fthread_count = 1;
  // Video.
  bool Fvideo_disable = false;
  String Fvideo_codec_name;
  Integer Fvideo_stream_copy = 0;
  Cardinal Fvideo_codec_tag = 0;
  String Fvideo_language;
  Integer Fframe_width = 0;
  Integer Fframe_height = 0;
  Single Fframe_aspect_ratio = 0;
  Integer Fframe_pix_fmt = -1;
  TAVRational Fframe_rate{25, 0};
  bool Fforce_fps = false;
  String Fforced_key_frames;
  std::array<Integer, 4> Fmax_frames{};  // per media type
  Single Fvideo_qscale = 0;
  std::vector<uint16_t> Fintra_matrix;  // empty: none
  std::vector<uint16_t> Finter_matrix;
  String Fvideo_rc_override_string;
  Integer Fvideo_discard = 0;
  bool Fsame_quality = false;
  bool Fdo_deinterlace = false;
  Integer Ftop_field_first = -1;
  Integer Fme_threshold = 0;
  Integer Fintra_dc_precision = 8;
  bool Fintra_only = false;
  Integer Fvideo_global_header = 0;
  Integer Fvideo_sync_method = -1;
  Integer Fcopy_initial_nonkeyframes = 0;
  Integer Fvideo_channel = 0;
  String Fvideo_standard;
  Integer Fsws_flags = 4;
  String Fvfilters;
  bool FEnableFilter = false;
  AVFilterGraph* Fgraph = nullptr;
  std::vector<const AVBitStreamFilter*> Fvideo_bitstream_filters;
  // Audio.
  bool Faudio_disable = false;
  String Faudio_codec_name;
  Integer Faudio_stream_copy = 0;
  Cardinal Faudio_codec_tag = 0;
  String Faudio_language;
  Integer Faudio_sample_rate = 44100;
  Integer Faudio_channels = 2;
  Int64 Fchannel_layout = 0;
  Integer Faudio_sample_fmt = -1;
  Single Faudio_qscale = -99999.0f;
  Integer Faudio_volume = 256;
  Integer Faudio_sync_method = 0;
  Single Faudio_drift_threshold = 0.1f;
  std::vector<const AVBitStreamFilter*> Faudio_bitstream_filters;
  // Subtitles.
  bool Fsubtitle_disable = false;
  String Fsubtitle_codec_name;
  Integer Fsubtitle_stream_copy = 0;
  Cardinal Fsubtitle_codec_tag = 0;
  String Fsubtitle_language;
  std::vector<const AVBitStreamFilter*> Fsubtitle_bitstream_filters;
  // Two passes, statistics files and the log.
  Integer Fdo_pass = 0;
  String Fpass_logfilename_prefix;
  String Fvstats_filename;
  FILE* Fvstats_file = nullptr;
  bool Fdo_benchmark = false;
  bool Fdo_hex_dump = false;
  bool Fdo_pkt_dump = false;
  bool Fdo_psnr = false;
  bool Fqp_hist = false;
  bool Fexit_on_error = false;
  Integer Fusing_stdin = 0;
  bool Fusing_vhook = false;
  Integer Fverbose = 1;

  // ===== Run state =====
  // Run control. FRunLock guards the thread objects and the start/terminate transitions.
  std::mutex FRunLock;
  TOwned<TConvertThread> FThread;
  TOwned<TDoTerminateThread> FTermThread;
  std::shared_ptr<TEvent> FStopEvent;  // signalled while no worker runs
  std::shared_ptr<TEvent> FTermEvent;  // signalled while no terminate thread runs
  TEvent FPauseGate{true, true};        // signalled while not paused
  std::atomic<bool> FPaused{false};
  std::atomic<bool> FConverting{false};
  std::atomic<bool> FBroken{false};
  bool FFinished = false;
  std::atomic<bool> FTerminated{false};
  Integer FReadTimeout = 10000;
  std::atomic<Int64> FLastRead{INT64_MAX};
  bool FBrokenCheckRegistered = false;
  Integer Fq_pressed = 0;
  bool FFatalException = false;
  String FFatalMessage;
  String FLastErrMsg;
  // The streams whose encoder / decoder is open (guarded by CodecLock).
  std::vector<TAVOutputStream*> FEncoderList;
  std::vector<TAVInputStream*> FDecoderList;
  // Tables of one run (Transcode).
  std::vector<TAVInputFile> Finput_file_table;
  std::vector<std::unique_ptr<TAVInputStream>> Fist_table;
  std::vector<TAVOutputStream*> Fost_table;  // owned by Foutput_streams_for_file
  std::vector<bool> Fno_packet;
  Integer Fno_packet_count = 0;
  Integer Fjoin_group_size = 0;
  // Per join segment (input file), per output stream: its source in the input stream table;
  // -1 for a sound output that the input has no sound for (it gets silence).
  std::vector<std::vector<Integer>> Fjoin_sources;
  bool Finput_sync = false;
  // Working buffers of the audio and subtitle paths.
  TFFAlignedVector<uint8_t> Faudio_buf;  // the resampler's output
  std::vector<uint8_t> Faudio_out;
  TFFAlignedVector<uint8_t> Finput_tmp;  // silence for the resampler
  std::vector<uint8_t> Fsamples;
  std::vector<uint8_t> Fsubtitle_out;
  // Statistics and the report.
  Int64 Fvideo_size = 0;
  Int64 Faudio_size = 0;
  Int64 Fextra_size = 0;
  Integer Fnb_frames_dup = 0;
  Integer Fnb_frames_drop = 0;
  bool FShowDupOrDrop = false;
  Int64 Ftimer_start = 0;
  Int64 Flast_report_time = 0;
  // Packets handed to the muxers by this run.
  Int64 Fpackets_written = 0;
  // Quantiser histogram of the report (qp_hist), per task.
  std::array<Integer, 52> FQPHistogram{};
  // Hooks and previews.
  TFrameHookList FFirstHook;
  TOwned<TFormatConverter> FInputVideoHook;
  TPicturePool FInputPicturePool;
  TPicturePool FOutputPicturePool;
  TPostHookContext FOutputVideoHook;
  TPostHooks FPostHooks;
  bool FPostHooksChanged = false;
};

// The value of the built-in preset row named AName (any case), empty when none.
String FindBuiltinPreset(const String& AName);
// The names of the built-in preset rows, in table order.
std::vector<String> BuiltinPresetNames();

// Grows AArray to ANewSize zero-filled entries ("Array too big." at 2147483647 div the
// element size or more); a smaller size changes nothing.
template <class T>
void GrowArray(std::vector<T>& AArray, Int64 ANewSize) {
  if (ANewSize >= Int64{2147483647} / static_cast<Int64>(sizeof(T)))
    throw Exception("Array too big.");
  if (static_cast<Int64>(AArray.size()) < ANewSize) AArray.resize(static_cast<size_t>(ANewSize));
}

}  // namespace vantrel::media
