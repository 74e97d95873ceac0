// The conversion job: each entry's records, filters and geometry, the encoder's tasks, and
// the start with its output folder and progress dialog.
#include "app/main_Job.h"

#include <cfenv>
#include <cmath>
#include <limits>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/SysEnv.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::app {

namespace {

// A bit rate of the format: empty is none given.
Integer JobBitRate(const String& Text) { return Text.empty() ? -1 : StrToInt(Text); }

// The display height of W pixels of width for the entry's aspect choice.
Integer DisplayHeight(Integer Aspect, Integer W, Integer H, Integer FW, Integer FH) {
  switch (Aspect) {
    case 1: return RoundHalfEven(W / (static_cast<double>(FW) / FH));
    case 2: return RoundHalfEven(W / (4.0 / 3.0));
    case 3: return RoundHalfEven(W / (16.0 / 9.0));
    default: return H;
  }
}

// Crop, then the bars that bring the picture to the format's shape.
void AppendGeometryFilters(TMainUnitState& State, Integer Index, Integer FW, Integer FH) {
  const TVideoFile& E = State.VideoFiles[Index];
  const Integer W = E.SourceWidth - E.CropLeft - E.CropRight;
  const Integer H = E.SourceHeight - E.CropTop - E.CropBottom;
  const Integer A = DisplayHeight(E.AspectRatio, W, H, FW, FH);
  Integer PadLR = 0, PadTB = 0;
  if (static_cast<double>(FW) / FH < static_cast<double>(W) / A) {
    const double T = static_cast<double>(Int64{A} * FW) / W;
    PadTB = RoundHalfEven(static_cast<double>(Int64{FH} * A) / (2 * T) - A / 2.0);
  } else {
    const double T = static_cast<double>(Int64{W} * FH) / A;
    PadLR = RoundHalfEven(static_cast<double>(Int64{FW} * W) / (2 * T) - W / 2.0);
  }
  AppendVideoFilter(State, Index,
                    BuildCropFilter(E.SourceWidth, E.SourceHeight, E.CropLeft, E.CropRight, E.CropTop, E.CropBottom));
  AppendVideoFilter(State, Index, BuildPadFilter(W, H, PadLR, PadLR, PadTB, PadTB));
}

}  // namespace

String FallbackOutputFolder() {
  return IncludeTrailingPathDelimiter(GetEnvironmentVariable("HOME")) + "Quillmoor_temp";
}

String BuildCropFilter(Integer Width, Integer Height, Integer Left, Integer Right, Integer Top, Integer Bottom) {
  if (Left <= 0 && Right <= 0 && Top <= 0 && Bottom <= 0) return String();
  return Format("crop=%d:%d:%d:%d", {Width - Left - Right, Height - Top - Bottom, Left, Top});
}

String BuildPadFilter(Integer Width, Integer Height, Integer Left, Integer Right, Integer Top, Integer Bottom) {
  if (Left <= 0 && Right <= 0 && Top <= 0 && Bottom <= 0) return String();
  return Format("pad=%d:%d:%d:%d:black", {Width + Left + Right, Height + Top + Bottom, Left, Top});
}

void AppendVideoFilter(TMainUnitState& State, Integer Index, const String& Filter) {
  if (Filter.empty()) return;
  String& Chain = State.OutputOptionsList.at(Index).VideoFilters;
  Chain = Chain.empty() ? Filter : Chain + "," + Filter;
}

Integer RoundHalfEven(double Value) {
  if (!std::isfinite(Value) || Value < std::numeric_limits<Integer>::min() ||
      Value > std::numeric_limits<Integer>::max())
    throw EInvalidOp("Invalid floating point operation");
  // The default rounding mode takes halves to the even neighbour.
  return static_cast<Integer>(std::nearbyint(Value));
}

const TFormat& EntryFormat(const TMainUnitState& State, const TVideoFile& Entry) {
  return State.Profiles.at(Entry.ProfileInd).Formats.at(Entry.FormatInd);
}

bool FillEntryRecords(TMainUnitState& State, Integer Index) {
  const TVideoFile& E = State.VideoFiles.at(Index);
  const TFormat& F = EntryFormat(State, E);
  media::TInputOptions& In = State.InputOptionsList.at(Index);
  media::TOutputOptions& Out = State.OutputOptionsList.at(Index);
  media::ResetInputOptions(In);
  In.FileName = E.Source;
  media::ResetOutputOptions(Out);

  Out.FileExt = F.FormatExt;
  Out.AudioCodec = F.AudioCodecName;
  Out.AudioChannels = StrToInt(F.Channel);
  Out.AudioSampleRate = StrToInt(F.SampleRate);
  Out.AudioBitrate = JobBitRate(F.AudioBitRate);
  if (StrToInt(F.IsAudioFormat) == 1) {
    Out.DisableVideo = true;
    return true;
  }

  Out.VideoCodec = F.VideoCodecName;
  Out.FrameRate = IntToStr(RoundHalfEven(StrToInt(F.FrameRate) / 1000.0));
  Out.VideoBitrate = JobBitRate(F.VideoBitRate);
  if (LowerCase(F.Title).find("divx") != String::npos) Out.VideoTag = "DIVX";
  if (Out.VideoCodec == "libx264") Out.VideoPreset = "libx264-default";
  if (!F.ExtraParam.empty()) Out.ExtOptions = F.ExtraParam;
  if (Out.VideoCodec == "libxvid") {
    Out.VideoCodec = "mpeg4";
    Out.VideoTag = "XVID";
  }
  // A source without pictures gets no picture filters.
  if (E.isSourceAudioFormat) return true;

  if (E.Brightness != 0 || E.Contrast != 0)
    AppendVideoFilter(State, Index, Format("nativeeq=%d:%d", {E.Brightness, E.Contrast}));
  if (E.Saturation != 0) AppendVideoFilter(State, Index, Format("nativehue=%d:%d", {0, E.Saturation}));
  // "-1" would reach the encoder as a negative sample aspect; the bars already make the shape.
  if (E.AspectRatio == 2) Out.FrameAspectRatio = "4:3";
  if (E.AspectRatio == 3) Out.FrameAspectRatio = "16:9";
  const Integer FW = StrToInt(F.Width);
  const Integer FH = StrToInt(F.Height);
  try {
    AppendGeometryFilters(State, Index, FW, FH);
  } catch (const std::exception& Ex) {
    ReportError(State, Ex.what(), CLM_SetCropFilters);
    return false;
  }
  AppendVideoFilter(State, Index, "scale=" + F.Width + ":" + F.Height);
  Out.FrameSize = String();
  return true;
}

bool BuildConversionJob(TMainUnitState& State, media::TCustomEncoder& Encoder, bool Merge, Integer CurrentRow) {
  const Integer N = static_cast<Integer>(State.VideoFiles.size());
  const bool Joined = Merge && N >= 2;
  Encoder.ClearTasks();
  State.InputOptionsList.assign(N, {});
  State.OutputOptionsList.assign(N, {});
  State.JobFailedTasks = 0;
  State.JobFinishedTasks = 0;
  const std::vector<String> Names = Joined ? std::vector<String>() : SingleOutputNames(State, State.OutputFolder);
  for (Integer I = 0; I < N; ++I) {
    const TVideoFile& E = State.VideoFiles[I];
    if (!FillEntryRecords(State, I)) return false;
    media::TInputOptions& In = State.InputOptionsList[I];
    media::TOutputOptions& Out = State.OutputOptionsList[I];
    if (Joined) {
      if (Encoder.TasksCount() == 0) {
        if (Encoder.AddTask(E.Source, &In) < 0) {
          ReportError(State, Encoder.LastErrMsg(), CLM_FFAddTaskToMerged);
          return false;
        }
      } else if (!Encoder.AddInputFile(0, E.Source, &In)) {
        ReportError(State, Encoder.LastErrMsg(), CLM_FFAddInputFileToMerged);
        return false;
      }
      continue;
    }
    Out.FileName = Names[I];
    In.TimeStart = E.TimeStart;
    Out.TimeLength = E.TimeEnd - E.TimeStart;
    Out.Info.TimeStamp = 0;
    // Single outputs carry no sound, unless sound is all the output or the source has.
    Out.DisableAudio = !Out.DisableVideo && !E.isSourceAudioFormat;
    if (Encoder.AddTask(E.Source, &In) < 0) {
      ReportError(State, Encoder.LastErrMsg(), CLM_FFAddTaskToMeged);
      return false;
    }
    if (!Encoder.SetOutputFile(I, Names[I], &Out)) {
      ReportError(State,
                  "Cannot set output file: " + Encoder.LastErrMsg() +
                      "\r\nPlease choose other output folder or rename output file.",
                  CLM_SetOutputFile);
      return false;
    }
  }
  if (Joined) {
    const Integer J = CurrentRow - 1;
    media::TOutputOptions& Out = State.OutputOptionsList.at(J);
    Out.Join = true;
    Out.FileName = JoinedOutputName(State, State.OutputFolder, Out.FileExt);
    if (!Encoder.SetOutputFile(0, Out.FileName, &Out)) {
      ReportError(State, "Cannot set output file (merged): " + Encoder.LastErrMsg(), CLM_SetOutputFileMerge);
      return false;
    }
  }
  return true;
}

void StartConversion(TMainUnitState& State, TJobWindowSeam& Window) {
  if (State.VideoFiles.empty()) return;
  State.OutputFolder = Window.DestinationFolder();
  if (!DirectoryExists(State.OutputFolder)) {
    const String Fallback = FallbackOutputFolder();
    Window.ShowWarning(Format(MissingOutputFolderText, {Fallback}));
    if (!DirectoryExists(Fallback) && !CreateDir(Fallback)) {
      Window.ShowWarning(NoTemporaryFolderText);
      return;
    }
    State.OutputFolder = Fallback;
  }
  Window.StopPreview();
  media::TCustomEncoder& Encoder = Window.Encoder();
  if (!BuildConversionJob(State, Encoder, Window.MergeChecked(), Window.CurrentRow())) return;
  AddActionLogLine(State, StartedConversionText);
  Encoder.Start(1);
  Window.ShowProgress();
}

}  // namespace vantrel::app
