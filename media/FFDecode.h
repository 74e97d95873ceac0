// The media file prober: TCustomDecoder opens a file with libavformat, reads its stream
// information and answers questions about the file and its streams (counts, per-stream
// records, file information and a text report). The frame decoder TFFDecoder builds on it.
#pragma once

#include "media/FFBaseComponent.h"
#include "media/FFUtils.h"

class TStringList;
struct AVFormatContext;
struct AVStream;

namespace vantrel::media {

// File-level information. Times in microseconds, -1 when the container gives none.
struct TFileStreamInfo {
  Int64 StartTime = -1;
  Int64 Duration = -1;
  Integer BitRate = -1;  // bit/s
  Int64 TimeStamp = -1;  // seconds since 1970 (the "creation_time" tag), 0 when none
  Integer Year = -1;     // from the "date" tag, 0 when none
  Integer Track = -1;    // from the "track" tag, 0 when none
  String Title;
  String Author;
  String Copyright;
  String Comment;
  String Album;
  String Genre;
};

// StartTime and Duration are in the stream's time base (NoPTSValue when unknown), the
// scaled ones in microseconds (-1 when unknown). -1 for every number of a record that
// describes no stream.
struct TAudioStreamInfo {
  String Language;
  String CodecName;
  Int64 StartTime = -1;
  Int64 StartTimeScaled = -1;
  Int64 Duration = -1;
  Int64 DurationScaled = -1;
  Integer BitRate = -1;
  Integer Channels = -1;
  Integer SampleRate = -1;
  Integer SampleFormat = -1;  // FFmpeg's AVSampleFormat
};

struct TVideoStreamInfo {
  String Language;
  String CodecName;
  Int64 StartTime = -1;
  Int64 StartTimeScaled = -1;
  Int64 Duration = -1;
  Int64 DurationScaled = -1;
  Integer BitRate = -1;
  Integer Height = -1;
  Integer Width = -1;
  float AspectRatio = -1.0f;  // display aspect; 0 when the sample aspect is unknown
  Integer PixFmt = -1;        // FFmpeg's AVPixelFormat
  TAVRational FrameRate{-1, -1};
};

struct TSubtitleStreamInfo {
  String Language;
  String CodecName;
};

class TCustomDecoder : public TFFBaseComponent {
  VANTREL_CLASS(TCustomDecoder)

  explicit TCustomDecoder(TComponent* AOwner);
  ~TCustomDecoder() override;
  void BeforeDestruction() override;

  // Opens the file (AFormatName: a demuxer name, empty to probe) and reads its stream
  // information. False with the reason in LastErrMsg, no file left open. Raises when the
  // libraries are not loaded.
  bool LoadFile(const String& AFileName, const String& AFormatName = String());
  virtual void CloseFile();

  // The open context; setting one adopts it without owning it (raises when the
  // libraries are not loaded).
  AVFormatContext* FileHandle() const { return FFileHandle; }
  virtual void SetFileHandle(AVFormatContext* Value);

  String FileName() const;
  Int64 FileSize() const { return FFileSize; }
  const String& ForceFormat() const { return FForceFormat; }
  String FormatName() const;
  String FormatLongName() const;
  Integer StreamCount() const { return FStreamCount; }
  Integer ProgramCount() const { return FProgramCount; }
  Integer AudioStreamCount() const { return FAudioStreamCount; }
  Integer VideoStreamCount() const { return FVideoStreamCount; }
  Integer SubtitleStreamCount() const { return FSubtitleStreamCount; }
  Integer FirstAudioStreamIndex() const { return FFirstAudioStreamIndex; }
  Integer FirstVideoStreamIndex() const { return FFirstVideoStreamIndex; }
  Integer FirstSubtitleStreamIndex() const { return FFirstSubtitleStreamIndex; }
  TFileStreamInfo FileStreamInfo() { return GetFileStreamInfo(); }
  String FileInfoText() { return GetFileInfoText(); }
  TAudioStreamInfo FirstAudioStreamInfo() { return GetAudioStreamInfo(-1); }
  TVideoStreamInfo FirstVideoStreamInfo() { return GetVideoStreamInfo(-1); }
  TSubtitleStreamInfo FirstSubtitleStreamInfo() { return GetSubtitleStreamInfo(-1); }
  const String& LastErrMsg() const { return FLastErrMsg; }

  // The information of one stream; a negative index means the first stream of the
  // kind. A bad index gives the cleared record and sets LastErrMsg.
  TAudioStreamInfo GetAudioStreamInfo(Integer AStreamIndex);
  TVideoStreamInfo GetVideoStreamInfo(Integer AStreamIndex);
  TSubtitleStreamInfo GetSubtitleStreamInfo(Integer AStreamIndex);
  // The same into an out record; true when the record describes a stream of the kind.
  bool GetAudioStreamInfo(Integer AStreamIndex, TAudioStreamInfo& AInfo);
  bool GetVideoStreamInfo(Integer AStreamIndex, TVideoStreamInfo& AInfo);
  bool GetSubtitleStreamInfo(Integer AStreamIndex, TSubtitleStreamInfo& AInfo);

  bool IsAudioStream(Integer AStreamIndex) const;
  bool IsVideoStream(Integer AStreamIndex) const;
  bool IsSubtitleStream(Integer AStreamIndex) const;

  // The decoder's library set. Each decoder gives back only the load it took itself.
  bool AVLibLoaded() const;
  bool LoadAVLib(const TPathFileName& APath);
  void UnloadAVLib();

 protected:
  virtual void UpdateStreamCounts();
  TFileStreamInfo GetFileStreamInfo();
  String GetFileInfoText();
  // Logs through the global logger (FFmpeg level) and keeps the text in LastErrMsg.
  void LogMessage(Integer ALevel, const String& AMessage);
  // Raises Exception "LibAVCodec not loaded." (LibAVFormat, LibAVUtil, LibSwScale).
  void CheckLibraries() const;

  AVFormatContext* FFileHandle = nullptr;
  bool FOwnHandle = false;
  String FLastErrMsg;
  String FForceFormat;
  Int64 FFileSize = -1;
  Integer FStreamCount = -1;
  Integer FProgramCount = -1;
  Integer FAudioStreamCount = -1;
  Integer FVideoStreamCount = -1;
  Integer FSubtitleStreamCount = -1;
  Integer FFirstAudioStreamIndex = -1;
  Integer FFirstVideoStreamIndex = -1;
  Integer FFirstSubtitleStreamIndex = -1;

 private:
  // The context's stream of the kind for a query, nil (with the message logged) when
  // there is none.
  AVStream* StreamFor(Integer AStreamIndex, Integer AMediaType, Integer AFirstIndex,
                      const char* AKind);
  void CloseHandle();
  // The report's parts.
  void DumpStreamFormat(TStringList& AReport, Integer AStreamIndex);
  bool FLibLoaded = false;  // this decoder holds a load of the library set
};

// The frame decoder builds on the prober.
class TFFDecoder : public TCustomDecoder {
  VANTREL_CLASS(TFFDecoder)

  explicit TFFDecoder(TComponent* AOwner);
};

// Parts of the file report.
// ", %3.2f <postfix>" for a rate with hundredths, ", %1.0f <postfix>" for a whole rate,
// ", %1.0fk <postfix>" for whole thousands.
String FormatFps(double AValue, const String& APostfix);
// The uniform name of a container's metadata key, the key itself when it has none.
String MetadataKeyName(const String& AKey);
// Appends the "Metadata:" block of the tags (the "language" tag left out), nothing when
// there is no other tag.
void DumpMetadata(TStringList& AReport, const AVDictionary* AMetadata, const String& AIndent);

}  // namespace vantrel::media
