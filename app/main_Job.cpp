// The conversion job: each entry's records, filters and geometry, the encoder's tasks, and
// the start with its output folder and progress dialog.
#include "app/main_Job.h"

#include <cfenv>
#include <cmath>
#include <initializer_list>
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

// How much wider than tall one stored sample of the entry's source is shown.
double SourceSampleAspect(const TVideoFile& E) {
  if (E.SourceAspectRatio <= 0 || E.SourceWidth <= 0 || E.SourceHeight <= 0) return 1;
  return E.SourceAspectRatio * E.SourceHeight / E.SourceWidth;
}

// The shape (width / height) a W x H part of the source is shown at for the entry's
// aspect choice in a FW x FH output.
double ChosenDisplayAspect(const TVideoFile& E, Integer W, Integer H, Integer FW, Integer FH) {
  switch (E.AspectRatio) {
    case 1: return static_cast<double>(FW) / FH;
    case 2: return 4.0 / 3.0;
    case 3: return 16.0 / 9.0;
    default: return static_cast<double>(W) / H * SourceSampleAspect(E);
  }
}

// Whether the entry's crop leaves a picture of 2 x 2 pixels or more inside its source.
bool CropInsidePicture(const TVideoFile& E) {
  return E.CropLeft >= 0 && E.CropRight >= 0 && E.CropTop >= 0 && E.CropBottom >= 0 &&
         E.SourceWidth - E.CropLeft - E.CropRight >= 2 && E.SourceHeight - E.CropTop - E.CropBottom >= 2;
}

// Crop, then the bars that bring the picture to the format's shape with the chosen aspect
// inside it; the final scale to the format's size then shows every sample square.
void AppendGeometryFilters(TMainUnitState& State, Integer Index, Integer FW, Integer FH) {
  const TVideoFile& E = State.VideoFiles[Index];
  const Integer W = E.SourceWidth - E.CropLeft - E.CropRight;
  const Integer H = E.SourceHeight - E.CropTop - E.CropBottom;
  const double Frame = static_cast<double>(FW) / FH;
  const double Shown = ChosenDisplayAspect(E, W, H, FW, FH);
  Integer PadLR = 0, PadTB = 0;
  if (Frame < Shown)
    PadTB = RoundHalfEven(H * Shown / Frame / 2 - H / 2.0);
  else
    PadLR = RoundHalfEven(W * Frame / Shown / 2 - W / 2.0);
  AppendVideoFilter(State, Index,
                    BuildCropFilter(E.SourceWidth, E.SourceHeight, E.CropLeft, E.CropRight, E.CropTop, E.CropBottom));
  AppendVideoFilter(State, Index, BuildPadFilter(W, H, PadLR, PadLR, PadTB, PadTB));
}

// Filter texts joined by ",", empty ones left out.
String FilterChain(std::initializer_list<String> Filters) {
  String Chain;
  for (const String& F : Filters)
    if (!F.empty()) Chain += (Chain.empty() ? "" : ",") + F;
  return Chain;
}

// Brightness, contrast and saturation of the entry.
String PictureFilters(const TVideoFile& E) {
  return FilterChain({E.Brightness != 0 || E.Contrast != 0 ? Format("nativeeq=%d:%d", {E.Brightness, E.Contrast})
                                                           : String(),
                      E.Saturation != 0 ? Format("nativehue=%d:%d", {0, E.Saturation}) : String()});
}

// The scale to the format's size, with square samples.
String FrameScale(const TFormat& F) { return "scale=" + F.Width + ":" + F.Height + ",setsar=1"; }

// A join whose output has pictures needs pictures from every input: a file with sound
// only is reported by its name (with the mark of the engine call that would add it).
bool RefuseSoundOnlyJoinInputs(TMainUnitState& State, Integer CurrentRow) {
  const TVideoFile& Current = State.VideoFiles.at(CurrentRow - 1);
  if (StrToInt(EntryFormat(State, Current).IsAudioFormat) == 1) return true;
  for (size_t I = 0; I < State.VideoFiles.size(); ++I) {
    const TVideoFile& E = State.VideoFiles[I];
    if (!E.isSourceAudioFormat) continue;
    ReportError(State, Format(SoundOnlyJoinInputText, {E.SourceTitleExt}),
                I == 0 ? CLM_FFAddTaskToMerged : CLM_FFAddInputFileToMerged);
    return false;
  }
  return true;
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

  AppendVideoFilter(State, Index, PictureFilters(E));
  // "-1" would reach the encoder as a negative sample aspect; the bars already make the shape.
  if (E.AspectRatio == 2) Out.FrameAspectRatio = "4:3";
  if (E.AspectRatio == 3) Out.FrameAspectRatio = "16:9";
  const Integer FW = StrToInt(F.Width);
  const Integer FH = StrToInt(F.Height);
  // Without a known picture size there is nothing to crop or to fit.
  if (E.SourceWidth > 0 && E.SourceHeight > 0) {
    if (!CropInsidePicture(E)) {
      ReportError(State, Format(CropOutsidePictureText, {E.SourceTitleExt, E.SourceWidth, E.SourceHeight}),
                  CLM_SetCropFilters);
      return false;
    }
    try {
      AppendGeometryFilters(State, Index, FW, FH);
    } catch (const std::exception& Ex) {
      ReportError(State, Ex.what(), CLM_SetCropFilters);
      return false;
    }
  }
  AppendVideoFilter(State, Index, FrameScale(F));
  Out.FrameSize = String();
  return true;
}

String JoinedVideoFilters(const TMainUnitState& State, Integer Index) {
  const TVideoFile& E = State.VideoFiles.at(Index);
  const TFormat& F = EntryFormat(State, E);
  // Each input is padded to the frame's shape by its own shown shape (its display aspect
  // "dar" and sample aspect "sar"), to an even size, centred.
  const String Frame = "(" + F.Width + "/" + F.Height + ")";
  const String Wider = "gt(dar," + Frame + ")";
  const String Pad = "pad=w='2*ceil(if(" + Wider + ",iw,ih*" + Frame + "/sar)/2)':h='2*ceil(if(" + Wider +
                     ",iw*sar/" + Frame + ",ih)/2)':x='(ow-iw)/2':y='(oh-ih)/2':color=black";
  return FilterChain({PictureFilters(E), Pad, FrameScale(F)});
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
  if (Joined && !RefuseSoundOnlyJoinInputs(State, CurrentRow)) return false;
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
    // The joined inputs keep their own shapes: the entry's crop and aspect fit one source only.
    if (!Out.DisableVideo) Out.VideoFilters = JoinedVideoFilters(State, J);
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
