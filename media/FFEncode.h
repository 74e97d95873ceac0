// The conversion tasks of the encoder component: the option records with which the
// application describes each input and output file, the text form of extra options,
// how an output record becomes a task's option state, the task class (a transcoder
// with one decoder and one stored record per file) and the ordered task list.
#pragma once

#include <memory>
#include <vector>

#include "media/FFDecode.h"
#include "media/FFmpeg.h"
#include "platform/rtl/DateUtils.h"

namespace vantrel::media {

// --- option records ---

struct TInputOptions {
  String FileName;   // filled with the input's name when empty
  String ForceFormat;  // demuxer forced for this input; empty: detected
  Int64 TimeStart = NoPTSValue;  // start position, microseconds
  Integer ProgramID = -1;        // program of a multi-program input; -1 all
  String ExtOptions;             // extra options (see ParseExtOptions)
  Integer Tag = 0;
  void* Data = nullptr;
};
using PInputOptions = TInputOptions*;

// Metadata written into an output.
struct TStreamInfo {
  TDateTime TimeStamp = -1.0;  // recording date: 0 now, > 0 that local date, < 0 none
  Integer Year = -1;           // > 0: "year"
  Integer Track = -1;          // > 0: "track"
  String Title;
  String Author;
  String Copyright;
  String Comment;
  String Album;
  String Genre;
};

enum TOptionTargetType { ttIgnore, ttVCD, ttSVCD, ttDVD };
enum TOptionNormType { ntAuto, ntPAL, ntNTSC };
// ntPAL..ntNTSC.
using TOptionNormDefault = TOptionNormType;

struct TOutputOptions {
  String FileName;  // filled with the output's name when empty
  String FileExt;   // the application's; not read here
  String ForceFormat;
  Integer PacketSize = -1;
  Integer MuxRate = -1;
  Single MuxDelay = -1.0f;    // seconds
  Single MuxPreload = -1.0f;  // seconds
  String AudioCodec;          // "copy": stream copy
  String AudioPreset;
  bool DisableAudio = false;
  Integer AudioVolume = -1;  // 256: unchanged
  Integer AudioChannels = -1;
  Integer AudioSampleRate = -1;
  Integer AudioBitrate = -1;
  Integer AudioBitRateTolerance = -1;
  String AudioLanguage;
  Integer AudioSyncMethod = 0;
  String AudioTag;
  String VideoCodec;  // "copy": stream copy
  String VideoPreset;
  bool DisableVideo = false;
  String FrameRate;
  String FrameSize;
  String FrameAspectRatio;
  Integer GroupPictureSize = -1;
  Integer VideoBitrate = -1;
  Integer VideoMaxRate = -1;
  Integer VideoMinRate = -1;
  Integer VideoBitRateTolerance = -1;
  Integer VideoBufSize = -1;
  Integer VideoSyncMethod = -1;  // -1: automatic
  String VideoTag;
  String VideoFilters;
  String VideoLanguage;
  String SubtitleCodec;
  String SubtitlePreset;
  bool DisableSubtitle = false;
  String SubtitleLanguage;
  bool InputSync = false;
  bool CopyTimestamp = false;
  Int64 TimeStart = NoPTSValue;
  Int64 TimeLength = NoPTSValue;
  TStreamInfo Info;
  TOptionTargetType TargetType = ttIgnore;
  TOptionNormType NormType = ntAuto;
  TOptionNormDefault NormDefault = ntPAL;
  bool AudioHook = false;
  bool VideoInputHook = false;
  bool VideoOutputHook = false;
  Integer VideoHookBitsPixel = 24;
  bool Join = false;
  String ExtOptions;
  Integer Tag = 0;
  void* Data = nullptr;
};
using POutputOptions = TOutputOptions*;

void ResetInputOptions(TInputOptions& AOptions);
void ResetOutputOptions(TOutputOptions& AOptions);

// Days to add to UTC for the local standard time (daylight saving left out).
double LocalTimeZoneOffset();
// The local date and time as seconds since 1970-01-01 00:00 UTC, with the time-zone
// bias in effect at that date (daylight saving included).
Int64 DateTimeToUnixUTC(TDateTime D);

// --- extra options ---

// One line of an extra-options text.
struct TExtOption {
  String Name;
  String Value;
};

// The lines of an extra-options text: trimmed, every line break (CR LF, CR, LF) and
// every "<CRLF>" made one line break, each line split at its first "=" (no "=": all of
// it is the name). Empty lines are no options. ALowerCase lower-cases the names.
std::vector<TExtOption> ParseExtOptions(const String& AText, bool ALowerCase = true);

// --- applying an output record (the order matters: see TFFmpeg::OpenOutput) ---

// The per-stream defaults of a record ("def_acodec" ... "def_vf", empty ones left out)
// followed by the per-stream lines of its extra options, in text order.
void CollectStreamDefaults(TOptionList& AList, const TOutputOptions& AOptions);
// The value of the first entry named AName, empty when none.
String StreamListValue(const TOptionList& AList, const String& AName);
// The VCD/SVCD/DVD preset of the record's target type.
void ApplyOutputTarget(TCustomFFmpeg& ATask, const TOutputOptions& AOptions);
// The record's fields, in the record's order; applied after the extra options, so a
// field that is applied wins over an extra option of the same meaning.
void ApplyOutputOptions(TCustomFFmpeg& ATask, const TOutputOptions& AOptions);
// The "newaudio", "newvideo", "newsubtitle" lines of the extra options, after the output
// is open: each new stream first takes its kind's next per-stream lines from AList.
void ApplyNewStreams(TCustomFFmpeg& ATask, const String& AExtOptions, TOptionList& AList);

// --- the task ---

// One conversion task: a transcoder that keeps, per input, a decoder over the opened
// input and a copy of its record, and per output a copy of its record.
class TFFmpeg : public TCustomFFmpeg {
  VANTREL_CLASS(TFFmpeg)

  explicit TFFmpeg(Integer AMaxFiles);
  ~TFFmpeg() override;

  // The decoder of input AIndex, made on first use.
  TFFDecoder* GetDecoder(Integer AIndex);
  // Stores a copy of the record for input / output AIndex.
  void SetInputOptions(Integer AIndex, const TInputOptions* AOptions);
  void SetOutputOptions(Integer AIndex, const TOutputOptions* AOptions);
  // Resets a stored record to its defaults (nothing when none is stored).
  void ClearInputOptions(Integer AIndex);
  void ClearOutputOptions(Integer AIndex);
  // The stored record, nil when none.
  const TInputOptions* InputOptions(Integer AIndex) const;
  const TOutputOptions* OutputOptions(Integer AIndex) const;

  // Applies an extra-options text to the option state. Per-stream names of outputs
  // ("newvideo" ... "vf") are skipped; "acodec", "vcodec", "scodec" and "s" only with
  // AAllowCodecs. A rejected option raises (with HaltOnInvalidOption).
  void ApplyExtOptions(const String& AText, bool AAllowCodecs);

  // Bits per pixel of the pictures the video hooks receive.
  Integer VideoHookBitsPixel() const { return FVideoHookBitsPixel; }
  void SetVideoHookBitsPixel(Integer N) { FVideoHookBitsPixel = N; }

  // The task's part of adding an input: the record (nil: none) is stored and applied,
  // the input opened and its decoder given the opened file. False with LastErrMsg
  // ("max input files %d reached" when the table is full); nothing stays open.
  bool OpenInput(const String& AFileName, TInputOptions* AOptions);
  // The task's part of giving it an output: the record (nil: none) is applied in its
  // order, the output opened, new streams added and a join prepared. False with
  // LastErrMsg; a failed output leaves no entry and no file it created.
  bool OpenOutput(const String& AFileName, TOutputOptions* AOptions);

 protected:
  void CheckSlot(Integer AIndex) const;

  std::vector<TOwned<TFFDecoder>> FDecoders;
  std::vector<std::unique_ptr<TInputOptions>> FInputOptions;
  std::vector<std::unique_ptr<TOutputOptions>> FOutputOptions;
  Integer FVideoHookBitsPixel = 24;
};

// The component's ordered task list; a task's index is the one its events report. The
// list owns its tasks.
class TFFmpegList : public TObject {
  VANTREL_CLASS(TFFmpegList)

  TFFmpegList() = default;
  ~TFFmpegList() override;

  Integer Add(TFFmpeg* ATask);  // takes ownership
  void Clear();
  void Delete(Integer AIndex);
  void Exchange(Integer AIndex1, Integer AIndex2);
  // Raises EListError "List index out of bounds (%d)" outside 0..Count-1.
  TFFmpeg* GetItem(Integer AIndex) const;
  TFFmpeg* operator[](Integer AIndex) const { return GetItem(AIndex); }
  Integer IndexOf(const TFFmpeg* ATask) const;
  Integer GetCount() const { return static_cast<Integer>(FList.size()); }
  Integer Count() const { return GetCount(); }

  void PauseAll();
  void ResumeAll();
  void StopAll(bool AWaitForStop);
  void SetPreview(bool AValue);
  void SetPreviewBitmap(bool AValue);

 private:
  void CheckIndex(Integer AIndex) const;
  void SetPostHook(TPostHook AFlag, bool AValue);
  std::vector<TOwned<TFFmpeg>> FList;
};

}  // namespace vantrel::media
