// The file list: entries from probed files, their estimated sizes and the list operations.
#include "app/main_FileList.h"

#include <utility>

#include "app/PlainLog.h"
#include "media/FFDecode.h"
#include "media/FFEncode.h"
#include "media/MyUtils.h"
#include "media/vf_eq.h"
#include "media/vf_hue.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"

namespace vantrel::app {

String FormatMicroseconds(Int64 T) {
  const Int64 S = T / 1000000;
  return Format("%.2d:%.2d:%.2d", {S / 3600, (S / 60) % 60, S % 60});
}

String EstimatedSizeText(double Megabytes) { return Format("%.2f MB", {Megabytes}); }

bool AddMediaFile(TMainUnitState& State, media::TCustomDecoder& Decoder, const String& FileName,
                  TFileAddSeam& Window) {
  const String Name = ExtractFileName(FileName);
  if (!Decoder.LoadFile(FileName, String())) {
    AddPlainLogLine(State, String());
    AddActionLogLine(State, "File load error: " + Decoder.LastErrMsg());
    AddPlainLogLine(State, String());
    Window.ShowInfo("File " + Name + " is not a valid media file or its format is not supported.");
    return false;
  }
  TVideoFile E;
  E.Source = FileName;
  E.SourceTitleExt = Name;
  const String Ext = ExtractFileExt(Name);
  E.DestinationTitle = Name.substr(0, Name.size() - Ext.size());
  E.Status = "-";
  E.TrimmedLength = Decoder.FileStreamInfo().Duration;
  // The first video stream, wherever it is in the file.
  const Integer Video = Decoder.FirstVideoStreamIndex();
  E.isSourceAudioFormat = Video < 0;
  if (Video >= 0) {
    const media::TVideoStreamInfo Info = Decoder.GetVideoStreamInfo(Video);
    E.SourceWidth = Info.Width;
    E.SourceHeight = Info.Height;
    E.SourceAspectRatio = Info.AspectRatio > 0 ? Info.AspectRatio : 0;
  }
  E.SourceHasAudio = Decoder.FirstAudioStreamIndex() >= 0;
  E.TimeStart = 0;
  E.TimeEnd = E.TrimmedLength;
  E.ProfileInd = State.CurrentProfileInd;
  E.FormatInd = State.CurrentFormatInd;
  State.VideoFiles.push_back(E);
  Window.SetRowCount(static_cast<Integer>(State.VideoFiles.size()) + 1);
  AddActionLogLine(State, "File added: " + FileName);
  UpdateEstimatedSize(State, static_cast<Integer>(State.VideoFiles.size()) - 1);
  Decoder.CloseFile();
  return true;
}

bool PrepareMediaLibraries(TMainUnitState& State, media::TCustomEncoder& Encoder) {
  if (!Encoder.AVLibLoaded()) {
    if (!Encoder.LoadAVLib(GetExeFolder() + "LibAV")) {
      ReportError(State, Encoder.LastErrMsg(), CLM_FFLoadAVLib2);
      AddActionLogLine(State, Encoder.LastErrMsg());
      return false;
    }
  }
  media::RegisterEqFilter();
  media::RegisterHueFilter();
  return true;
}

void UpdateEstimatedSize(TMainUnitState& State, Integer Index) {
  try {
    TVideoFile& E = State.VideoFiles.at(Index);
    const TFormat& F = State.Profiles.at(E.ProfileInd).Formats.at(E.FormatInd);
    // Whole seconds; the fraction of a second is dropped.
    const double Seconds = static_cast<double>(E.TrimmedLength / 1000000);
    double Kilobytes = 0;
    if (!F.VideoBitRate.empty()) Kilobytes += StrToInt(F.VideoBitRate) / 1000.0 / 8 * Seconds;
    if (!F.AudioBitRate.empty()) Kilobytes += StrToInt(F.AudioBitRate) / 1000.0 / 8 * Seconds;
    E.EstimatedSize = Kilobytes / 1024;
  } catch (const std::exception&) {
    // The previous estimate stays.
  }
}

void SwapVideoFiles(TMainUnitState& State, Integer A, Integer B) {
  std::swap(State.VideoFiles.at(A), State.VideoFiles.at(B));
}

Integer MoveEntryUp(TMainUnitState& State, Integer Row) {
  if (State.VideoFiles.size() < 2 || Row <= 1) return Row;
  SwapVideoFiles(State, Row - 2, Row - 1);
  return Row - 1;
}

Integer MoveEntryDown(TMainUnitState& State, Integer Row) {
  const Integer N = static_cast<Integer>(State.VideoFiles.size());
  if (N < 2 || Row < 1 || Row >= N) return Row;
  SwapVideoFiles(State, Row - 1, Row);
  return Row + 1;
}

Integer RemoveEntry(TMainUnitState& State, Integer Row) {
  const Integer N = static_cast<Integer>(State.VideoFiles.size());
  if (Row < 1 || Row > N) return N + 1;
  for (Integer I = Row; I < N; ++I) SwapVideoFiles(State, I - 1, I);
  State.VideoFiles.pop_back();
  return N;
}

void ApplyFormatToAll(TMainUnitState& State) {
  for (Integer I = 0; I < static_cast<Integer>(State.VideoFiles.size()); ++I) {
    State.VideoFiles[I].ProfileInd = State.CurrentProfileInd;
    State.VideoFiles[I].FormatInd = State.CurrentFormatInd;
    UpdateEstimatedSize(State, I);
  }
}

}  // namespace vantrel::app
