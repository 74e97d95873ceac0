// The option records of the encoder component: their defaults, the text form of extra
// options, and the steps that turn an output record into a task's option state.
#include <cmath>

#include "media/FFEncode.h"
#include "media/MyUtils.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::media {

namespace {

constexpr double MinutesPerDay = 1440.0;

// Extra-option names applied per stream once the output is open.
bool IsStreamOptionName(const String& AName) {
  for (const char* N : {"acodec", "vcodec", "scodec", "apre", "vpre", "spre", "s", "vfilters", "vf"})
    if (AName == N) return true;
  return false;
}

String ReplaceAll(String AText, const String& AFrom, const String& ATo) {
  for (size_t P = AText.find(AFrom); P != String::npos; P = AText.find(AFrom, P + ATo.size()))
    AText.replace(P, AFrom.size(), ATo);
  return AText;
}

// Applies the first per-stream line named AName still in AList and removes it; without
// one, the record's default for that name (an empty value does nothing).
void ApplyNextStreamOption(TCustomFFmpeg& ATask, TOptionList& AList, const String& AName) {
  for (auto It = AList.begin(); It != AList.end(); ++It) {
    if (It->first != AName) continue;
    const String Value = It->second;
    AList.erase(It);
    ATask.SetExtOption(AName, Value);
    return;
  }
  const String Default = StreamListValue(AList, "def_" + AName);
  if (!Default.empty()) ATask.SetExtOption(AName, Default);
}

}  // namespace

void ResetInputOptions(TInputOptions& AOptions) { AOptions = TInputOptions(); }

void ResetOutputOptions(TOutputOptions& AOptions) { AOptions = TOutputOptions(); }

double LocalTimeZoneOffset() { return -static_cast<double>(StandardTimeBiasMinutes()) / MinutesPerDay; }

// The standard bias alone would be an hour off while daylight saving is in force; the
// local wall clock is turned into UTC with the bias of that date.
Int64 DateTimeToUnixUTC(TDateTime D) { return LocalDateTimeToUnix(D); }

std::vector<TExtOption> ParseExtOptions(const String& AText, bool ALowerCase) {
  String Text = Trim(AText);
  Text = ReplaceAll(Text, "\r\n", "\n");
  Text = ReplaceAll(Text, "\r", "\n");
  Text = ReplaceAll(Text, "<CRLF>", "\n");
  std::vector<TExtOption> Lines;
  while (!Text.empty()) {
    String Line = FetchString(Text, "\n", true);
    // An empty line (two breaks in a row) is no option.
    if (Line.empty()) continue;
    const size_t Eq = Line.find('=');
    TExtOption O;
    O.Name = Eq == String::npos ? Line : Line.substr(0, Eq);
    O.Value = Eq == String::npos ? String() : Line.substr(Eq + 1);
    if (ALowerCase) O.Name = LowerCase(O.Name);
    Lines.push_back(std::move(O));
  }
  return Lines;
}

String StreamListValue(const TOptionList& AList, const String& AName) {
  for (const auto& [Name, Value] : AList)
    if (Name == AName) return Value;
  return String();
}

void CollectStreamDefaults(TOptionList& AList, const TOutputOptions& AOptions) {
  const std::pair<const char*, const String*> Fields[] = {
      {"acodec", &AOptions.AudioCodec},  {"vcodec", &AOptions.VideoCodec},    {"scodec", &AOptions.SubtitleCodec},
      {"apre", &AOptions.AudioPreset},   {"vpre", &AOptions.VideoPreset},     {"spre", &AOptions.SubtitlePreset},
      {"s", &AOptions.FrameSize},        {"vf", &AOptions.VideoFilters}};
  for (const auto& [Name, Value] : Fields)
    if (!Value->empty()) AList.emplace_back(String("def_") + Name, *Value);
  for (const TExtOption& O : ParseExtOptions(AOptions.ExtOptions)) {
    if (O.Value.empty() || !IsStreamOptionName(O.Name)) continue;
    const String Name = O.Name == "vfilters" ? String("vf") : O.Name;
    if (StreamListValue(AList, "def_" + Name).empty()) AList.emplace_back("def_" + Name, O.Value);
    AList.emplace_back(Name, O.Value);
  }
}

void ApplyOutputTarget(TCustomFFmpeg& ATask, const TOutputOptions& AOptions) {
  const char* Type = nullptr;
  switch (AOptions.TargetType) {
    case ttVCD:
      Type = "vcd";
      break;
    case ttSVCD:
      Type = "svcd";
      break;
    case ttDVD:
      Type = "dvd";
      break;
    case ttIgnore:
      return;
  }
  const char* Norm = AOptions.NormType == ntPAL ? "pal" : AOptions.NormType == ntNTSC ? "ntsc" : "auto";
  ATask.SetTarget(Type, Norm, AOptions.NormDefault == ntPAL ? "pal" : "ntsc");
}

void ApplyOutputOptions(TCustomFFmpeg& ATask, const TOutputOptions& AOptions) {
  const TOutputOptions& O = AOptions;
  auto Generic = [&ATask](const char* AName, Integer AValue) {
    if (AValue > 0) ATask.SetGenericOptionInt(AName, AValue);
  };
  auto Flag = [](bool AValue) { return String(AValue ? "1" : "0"); };

  ATask.SetForceFormat(O.ForceFormat);
  Generic("packetsize", O.PacketSize);
  Generic("muxrate", O.MuxRate);
  ATask.SetMuxMaxDelay(O.MuxDelay);
  ATask.SetMuxPreload(O.MuxPreload);
  // The disable flags are only ever set by a record.
  if (O.DisableAudio) ATask.SetExtOption("an", "1");
  ATask.SetAudioVolume(O.AudioVolume);
  ATask.SetAudioChannels(O.AudioChannels);
  ATask.SetAudioRate(O.AudioSampleRate);
  if (O.TargetType == ttIgnore) Generic("ab", O.AudioBitrate);
  Generic("abt", O.AudioBitRateTolerance);
  ATask.SetExtOption("alang", O.AudioLanguage);
  ATask.SetAudioSyncMethod(O.AudioSyncMethod);
  ATask.SetCodecTag("atag", O.AudioTag);
  if (O.DisableVideo) ATask.SetExtOption("vn", "1");
  ATask.SetFrameRate(O.FrameRate);
  ATask.SetAspectRatio(O.FrameAspectRatio);
  Generic("g", O.GroupPictureSize);
  if (O.TargetType == ttIgnore) Generic("vb", O.VideoBitrate);
  Generic("maxrate", O.VideoMaxRate);
  Generic("minrate", O.VideoMinRate);
  Generic("bt", O.VideoBitRateTolerance);
  Generic("bufsize", O.VideoBufSize);
  ATask.SetVideoSyncMethod(O.VideoSyncMethod);
  ATask.SetCodecTag("vtag", O.VideoTag);
  ATask.SetExtOption("vlang", O.VideoLanguage);
  if (O.DisableSubtitle) ATask.SetExtOption("sn", "1");
  ATask.SetExtOption("slang", O.SubtitleLanguage);
  ATask.SetExtOption("isync", Flag(O.InputSync));
  if (O.CopyTimestamp) ATask.SetExtOption("copyts", "1");
  ATask.SetStartTime(O.TimeStart);
  ATask.SetRecordingTime(O.TimeLength);

  const TStreamInfo& I = O.Info;
  if (I.TimeStamp == 0)
    ATask.SetRecordingTimestampValue(DateTimeToUnixUTC(Now()));
  else if (I.TimeStamp > 0)
    ATask.SetRecordingTimestampValue(DateTimeToUnixUTC(I.TimeStamp));
  if (I.Year > 0) ATask.SetMetadata("year", IntToStr(I.Year));
  if (I.Track > 0) ATask.SetMetadata("track", IntToStr(I.Track));
  const std::pair<const char*, const String*> Texts[] = {{"title", &I.Title},         {"author", &I.Author},
                                                         {"copyright", &I.Copyright}, {"comment", &I.Comment},
                                                         {"album", &I.Album},         {"genre", &I.Genre}};
  for (const auto& [Key, Value] : Texts)
    if (!Value->empty()) ATask.SetMetadata(Key, *Value);
}

void ApplyNewStreams(TCustomFFmpeg& ATask, const String& AExtOptions, TOptionList& AList) {
  for (const TExtOption& O : ParseExtOptions(AExtOptions)) {
    std::vector<const char*> Names;
    if (O.Name == "newaudio")
      Names = {"acodec", "apre"};
    else if (O.Name == "newvideo")
      Names = {"vcodec", "vpre", "s", "vf"};
    else if (O.Name == "newsubtitle")
      Names = {"scodec", "spre"};
    else
      continue;
    for (const char* N : Names) ApplyNextStreamOption(ATask, AList, N);
    ATask.AddStreamToLastOutput(O.Name);
  }
}

}  // namespace vantrel::media
