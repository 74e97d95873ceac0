// The media file prober: TCustomDecoder opens a file with libavformat, reads its stream
// information and answers questions about the file and its streams (counts, per-stream
// records, file information and a text report). The frame decoder TFFDecoder builds on it.
#pragma once

#include <vector>

#include "media/FFBaseComponent.h"
#include "media/FFUtils.h"

class TBitmap;
class TStringList;
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwrContext;

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
  Integer Channels = -1;    // -1: unknown
  Integer SampleRate = -1;  // -1: unknown
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
  Integer Height = -1;  // -1: unknown
  Integer Width = -1;
  float AspectRatio = -1.0f;  // display aspect; 0 when the sample aspect is unknown
  Integer PixFmt = -1;        // FFmpeg's AVPixelFormat
  TAVRational FrameRate{-1, -1};
  // How the stored pictures are turned to be shown (Width, Height and AspectRatio are
  // the shown picture's): degrees clockwise 0, 90, 180, 270, after a left-right mirror.
  Integer Rotation = 0;
  bool Mirrored = false;
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

// The current picture of the frame decoder.
struct TFrameInfo {
  Integer PixFmt = -1;  // FFmpeg's AVPixelFormat
  Integer Width = -1;
  Integer Height = -1;
  bool IsKeyFrame = false;
  TPictureType PictureType = ptUnknown;
  Int64 PTS = NoPTSValue;          // microseconds from the stream's start
  Int64 OriginalDTS = NoPTSValue;  // the packet's values, in the stream's time base
  Int64 OriginalPTS = NoPTSValue;
  Integer StreamIndex = -1;
  Int64 Position = -1;  // byte position of the input when the read for it began
  bool Ready = false;
  AVPicture Picture;          // over Buffer
  uint8_t* Buffer = nullptr;  // owned by the decoder
  Integer Size = 0;
};

// The current audio block of the frame decoder.
struct TWaveInfo {
  Integer Channels = 0;
  Integer SampleRate = 0;
  Integer SampleFormat = -1;  // FFmpeg's AVSampleFormat
  Integer BytesPerSample = 0;
  Integer BytesPerSecond = 0;
  Int64 PTS = NoPTSValue;  // microseconds
  Int64 OriginalDTS = NoPTSValue;
  Int64 OriginalPTS = NoPTSValue;
  Integer StreamIndex = -1;
  bool Ready = false;
  uint8_t* Buffer = nullptr;  // into the decoder's own buffers, valid until the next audio call
  Integer Size = 0;
  Int64 Duration = NoPTSValue;  // microseconds
};

// The frame decoder: seeking, decoding video pictures with their times, stepping between
// key frames, pictures as bitmaps, and audio decoded and converted to 16-bit samples at
// a wanted channel count and rate.
class TFFDecoder : public TCustomDecoder {
  VANTREL_CLASS(TFFDecoder)

  explicit TFFDecoder(TComponent* AOwner);
  ~TFFDecoder() override;
  void CloseFile() override;

  // Seeks by time (microseconds) or, with sfByte, by byte position. False when the file
  // cannot be sought or is at its end afterwards.
  bool Seek(Int64 APTS, TSeekFlags ASeekFlags = {});
  // A negative stream index means the stream chosen before, else the first video stream.
  bool Decode(Integer AStreamIndex = -1);
  bool DecodeNextKeyFrame(Integer AStreamIndex = -1);
  bool DecodePreviousFrame(Integer AStreamIndex = -1);
  bool DecodePreviousKeyFrame(Integer AStreamIndex = -1);
  // The current picture into ABitmap; false (ABitmap black) when it cannot be converted.
  bool CopyToBitmap(TBitmap* ABitmap);
  // The current picture as the converter's BITMAP description, nil on failure.
  const BITMAP* GetBitmapPtr();

  Integer BitmapBitsPixel() const { return FFormatConv->BitsPixel(); }
  void SetBitmapBitsPixel(Integer Value) { FFormatConv->SetBitsPixel(Value); }
  bool Deinterlace() const { return FDeinterlace; }
  void SetDeinterlace(bool Value) { FDeinterlace = Value; }
  // EOF in the class library; EOF is a C macro.
  bool Eof() const { return FEOF; }
  const TFrameInfo& FrameInfo() const { return FPicture; }
  Int64 Position() { return GetPosition(); }

  // Audio. A negative stream index means the stream chosen before, else the first audio
  // stream.
  bool DecodeAudio(Integer AStreamIndex = -1);
  // Copies up to ACount bytes of decoded audio into ABuffer, decoding the next block when
  // the current one is used up: the bytes copied, -1 on failure or at the end. With a nil
  // ABuffer: the bytes available, nothing consumed.
  Integer ReadAudio(uint8_t* ABuffer, Integer ACount, Integer AStreamIndex = -1);
  const TWaveInfo& WaveInfo() const { return FWaveInfo; }
  Integer DesireAudioChannels() const { return FDesireAudioChannels; }
  void SetDesireAudioChannels(Integer Value);
  Integer DesireAudioSampleRate() const { return FDesireAudioSampleRate; }
  void SetDesireAudioSampleRate(Integer Value);

 protected:
  void UpdateStreamCounts() override;

 private:
  bool CheckOwnHandle();
  bool CanSeek();
  bool IsStillImage() const;
  Integer SelectVideoStream(Integer AStreamIndex);
  Integer SelectAudioStream(Integer AStreamIndex);
  // Opens the decoder of the stream into ACodec (closing another one held there).
  AVCodecContext* OpenCodec(AVCodecContext*& ACodec, Integer& ACodecIndex, Integer AIndex,
                            bool AVideo);
  void CloseCodec(AVCodecContext*& ACodec, Integer& ACodecIndex);
  Int64 GetPosition();
  Int64 InputPosition() const;  // -1 without an I/O context
  Int64 StreamFrameDuration(Integer AIndex) const;
  // A failed packet read that is not the end of the input: reported, true. False at the
  // end of the input (nothing reported: the decoder is drained first).
  bool ReadFailed(Integer AResult);
  void StoreFrame(const AVFrame* AFrame, const AVPicture& APlanes, Int64 APos);
  void ResetFrameInfo();
  void ResetWaveInfo();
  void FreeResampler();
  // Appends one decoded audio frame to the block, converted as wanted; false on failure
  // (logged).
  bool AppendAudio(const AVFrame* AFrame);
  bool FlushResampler();
  bool FinishAudioBlock(Integer AIndex);

  AVCodecContext* FCodec = nullptr;  // the video decoder
  Integer FCodecIndex = -1;
  bool FVideoDraining = false;
  // The video decoder gave a picture since it was opened; its last error (0: none).
  bool FVideoPictures = false;
  Integer FVideoDecodeError = 0;
  TOwned<TFormatConverter> FFormatConv;
  Integer FSeekIndex = -1;
  Int64 FStartTime = -1;
  Integer FDecodeIndex = -1;
  bool FDeinterlace = false;
  std::vector<uint8_t> FDeintBuf;   // only grows
  std::vector<uint8_t> FPictureBuf;  // FPicture.Buffer; only grows
  bool FEOF = false;
  TFrameInfo FPicture;
  Int64 FLastPTS = NoPTSValue;
  Int64 FLastPos = -1;
  AVFrame* FFrame = nullptr;
  AVPacket* FPacket = nullptr;

  TWaveInfo FWaveInfo;
  Integer FDesireAudioChannels = 2;
  Integer FDesireAudioSampleRate = 44100;
  Integer FDesireAudioIndex = -1;
  AVCodecContext* FAudioCodec = nullptr;
  Integer FAudioCodecIndex = -1;
  bool FAudioDraining = false;
  bool FAudioEnded = false;  // the audio decoder gave its last samples
  std::vector<uint8_t> FDecodedAudio;    // the block as decoded (16-bit input unchanged)
  std::vector<uint8_t> FResampledAudio;  // the block converted
  Integer FAudioTotal = 0;               // bytes of the block in the buffer in use
  bool FAudioConverted = false;          // the block is in FResampledAudio
  SwrContext* FAudioResampler = nullptr;
  // What the resampler was made for.
  Integer FResampleInFormat = -1;
  Integer FResampleInRate = 0;
  Integer FResampleInChannels = 0;
  Integer FResampleOutChannels = 0;
  Integer FResampleOutRate = 0;
  Int64 FAudioBlockPTS = NoPTSValue;
  Int64 FAudioBlockDTS = NoPTSValue;
  Int64 FAudioBlockOrigPTS = NoPTSValue;
  Integer FRemainsAudioSize = 0;
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
