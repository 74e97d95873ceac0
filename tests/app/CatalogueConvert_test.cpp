// Every format of the generated catalogue converts: a two-second H.264/AAC clip is put in
// the file list once per format, the conversion job is built from the list (one output
// per entry), and ffprobe finds what the format asks for in each output: video outputs
// without sound, sound-only outputs with it.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/main_Job.h"
#include "media/FFEncode.h"
#include "media/FFLoad.h"
#include "platform/rtl/NumConv.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

namespace {

// What ffprobe calls the stream an encoder writes.
const std::map<std::string, std::string> ProbedCodecNames = {
    {"libx264", "h264"},     {"libx265", "hevc"},     {"mpeg4", "mpeg4"},       {"wmv2", "wmv2"},
    {"mpeg1video", "mpeg1video"}, {"mpeg2video", "mpeg2video"}, {"libvpx-vp9", "vp9"}, {"libvpx", "vp8"},
    {"flv", "flv1"},         {"libtheora", "theora"}, {"gif", "gif"},           {"h263", "h263"},
    {"aac", "aac"},          {"libmp3lame", "mp3"},   {"wmav2", "wmav2"},       {"mp2", "mp2"},
    {"ac3", "ac3"},          {"libopus", "opus"},     {"libvorbis", "vorbis"},  {"flac", "flac"},
    {"pcm_s16le", "pcm_s16le"}};

// The demuxer ffprobe reads each file extension with and, for the MPEG-4 family, the
// brand the file declares.
struct ProbedContainer {
  const char* FormatName;
  const char* Brand;  // "" when none is checked
};
const std::map<std::string, ProbedContainer> ProbedContainers = {
    {".mp4", {"mov,mp4,m4a,3gp,3g2,mj2", "isom"}}, {".mov", {"mov,mp4,m4a,3gp,3g2,mj2", "qt  "}},
    {".3gp", {"mov,mp4,m4a,3gp,3g2,mj2", "3gp4"}}, {".m4a", {"mov,mp4,m4a,3gp,3g2,mj2", "M4A "}},
    {".mkv", {"matroska,webm", ""}},             {".webm", {"matroska,webm", ""}},
    {".avi", {"avi", ""}},                         {".wmv", {"asf", ""}},
    {".wma", {"asf", ""}},                         {".mpg", {"mpeg", ""}},
    {".vob", {"mpeg", ""}},                        {".flv", {"flv", ""}},
    {".ogv", {"ogg", ""}},                         {".ogg", {"ogg", ""}},
    {".opus", {"ogg", ""}},                        {".gif", {"gif", ""}},
    {".mp3", {"mp3", ""}},                         {".mp2", {"mp3", ""}},
    {".aac", {"aac", ""}},                         {".flac", {"flac", ""}},
    {".wav", {"wav", ""}},                         {".ac3", {"ac3", ""}}};

std::string FormatLower(std::string S) {
  for (char& C : S) C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
  return S;
}

// "N/D" as a number.
double ProbedRate(const std::string& AText) {
  const double Num = std::strtod(AText.c_str(), nullptr);
  const auto Slash = AText.find('/');
  const double Den = Slash == std::string::npos ? 1 : std::strtod(AText.c_str() + Slash + 1, nullptr);
  return Den > 0 ? Num / Den : 0;
}

// What one ffprobe run says of a file: "format.format_name", "format.tags.major_brand",
// and per stream "video.codec_name", "audio.sample_rate"... of the first stream of each
// type.
std::map<std::string, std::string> ProbedFacts(const std::string& AFile) {
  std::map<std::string, std::string> Facts;
  const std::string Cmd =
      "ffprobe -v error -show_entries format=format_name,duration:format_tags=major_brand:stream=codec_type,"
      "codec_name,codec_tag_string,width,height,r_frame_rate,sample_rate,channels -of flat '" + AFile + "'";
  std::FILE* P = ::popen(Cmd.c_str(), "r");
  if (!P) return Facts;
  std::map<std::string, std::map<std::string, std::string>> Streams;  // by stream number
  char Line[1024];
  while (std::fgets(Line, sizeof Line, P)) {
    std::string Text = Line;
    while (!Text.empty() && (Text.back() == '\n' || Text.back() == '\r')) Text.pop_back();
    const auto Eq = Text.find('=');
    if (Eq == std::string::npos) continue;
    std::string Key = Text.substr(0, Eq), Value = Text.substr(Eq + 1);
    if (Value.size() >= 2 && Value.front() == '"' && Value.back() == '"') Value = Value.substr(1, Value.size() - 2);
    const std::string StreamPrefix = "streams.stream.";
    if (Key.rfind(StreamPrefix, 0) == 0) {
      const auto Dot = Key.find('.', StreamPrefix.size());
      if (Dot != std::string::npos) Streams[Key.substr(StreamPrefix.size(), Dot - StreamPrefix.size())][Key.substr(Dot + 1)] = Value;
    } else {
      Facts[Key] = Value;
    }
  }
  ::pclose(P);
  for (const auto& [Number, Stream] : Streams) {
    const auto Type = Stream.find("codec_type");
    if (Type == Stream.end() || Facts.count(Type->second + ".codec_type")) continue;
    for (const auto& [Key, Value] : Stream) Facts[Type->second + "." + Key] = Value;
  }
  return Facts;
}

}  // namespace

TEST(CatalogueFormats, EveryFormatConverts) {
  vantrel::app::TMainUnitState S;
  vantrel::app::LoadCatalogue(S, vantrel::test::BinDir() + "/video-converter-profiles");
  ASSERT_TRUE(S.ErrorReports.empty());
  ASSERT_GE(S.AllFormats.size(), 25u);
  ASSERT_TRUE(vantrel::media::FFLoader().Load(vantrel::media::EncoderLibraries))
      << vantrel::media::FFLoader().LastErrMsg();
  vantrel::test::TTempDir Dir;
  const std::string Source = vantrel::test::FixturePath("v.mp4");
  const std::map<std::string, std::string> SourceFacts = ProbedFacts(Source);
  const double SourceDuration = std::strtod(SourceFacts.at("format.duration").c_str(), nullptr);
  ASSERT_NEAR(SourceDuration, 2.0, 0.05);
  std::vector<vantrel::media::TTerminateInfo> Ends;
  std::vector<std::string> Outputs;
  S.Profiles.push_back({"Every format", "all", "", S.AllFormats});
  const Integer Profile = static_cast<Integer>(S.Profiles.size()) - 1;
  for (size_t I = 0; I < S.AllFormats.size(); ++I) {
    vantrel::app::TVideoFile E;
    E.Source = Source;
    E.SourceTitleExt = "v.mp4";
    E.DestinationTitle = "format" + std::to_string(I);
    E.SourceWidth = 320;
    E.SourceHeight = 240;
    E.TimeEnd = E.TrimmedLength = 2000000;
    E.ProfileInd = Profile;
    E.FormatInd = static_cast<Integer>(I);
    S.VideoFiles.push_back(E);
  }
  S.OutputFolder = Dir.Path();
  {
    TOwned<vantrel::media::TFFEncoder> Encoder = CreateOwned<vantrel::media::TFFEncoder>(nullptr);
    Encoder->OnTerminate = [&](TObject*, const vantrel::media::TTerminateInfo& Info) { Ends.push_back(Info); };
    ASSERT_TRUE(vantrel::app::BuildConversionJob(S, *Encoder, false, 1));
    ASSERT_TRUE(S.ErrorReports.empty());
    ASSERT_EQ(Encoder->TasksCount(), static_cast<Integer>(S.AllFormats.size()));
    for (const vantrel::media::TOutputOptions& O : S.OutputOptionsList) Outputs.push_back(O.FileName);
    // One task after another in this thread.
    Encoder->Start(0);
  }
  ASSERT_EQ(Ends.size(), S.AllFormats.size() + 1);

  for (size_t I = 0; I < S.AllFormats.size(); ++I) {
    const vantrel::app::TFormat& F = S.AllFormats[I];
    SCOPED_TRACE(F.Title);
    EXPECT_TRUE(Ends[I].Finished) << Ends[I].ExceptionMsg;
    std::map<std::string, std::string> Facts = ProbedFacts(Outputs[I]);
    const auto Container = ProbedContainers.find(F.FormatExt);
    ASSERT_NE(Container, ProbedContainers.end()) << F.FormatExt;
    EXPECT_EQ(Facts["format.format_name"], Container->second.FormatName);
    if (*Container->second.Brand) {
      EXPECT_EQ(Facts["format.tags.major_brand"], Container->second.Brand);
    }
    EXPECT_NEAR(std::strtod(Facts["format.duration"].c_str(), nullptr), SourceDuration, 0.2);

    if (StrToInt(F.IsAudioFormat) == 1) {
      EXPECT_EQ(Facts.count("video.codec_type"), 0u);
    } else {
      const String Encoder = F.VideoCodecName == "libxvid" ? String("mpeg4") : F.VideoCodecName;
      ASSERT_EQ(ProbedCodecNames.count(Encoder), 1u) << Encoder;
      EXPECT_EQ(Facts["video.codec_name"], ProbedCodecNames.at(Encoder));
      if (F.VideoCodecName == "libxvid") {
        EXPECT_EQ(Facts["video.codec_tag_string"], "XVID");
      }
      if (FormatLower(F.Title).find("divx") != std::string::npos) {
        EXPECT_EQ(Facts["video.codec_tag_string"], "DIVX");
      }
      EXPECT_EQ(Facts["video.width"], F.Width);
      EXPECT_EQ(Facts["video.height"], F.Height);
      EXPECT_NEAR(ProbedRate(Facts["video.r_frame_rate"]), std::nearbyint(StrToInt(F.FrameRate) / 1000.0), 0.01);
    }
    // Video outputs carry no sound; the animated picture has none anyway.
    if (StrToInt(F.IsAudioFormat) != 1) {
      EXPECT_EQ(Facts.count("audio.codec_type"), 0u);
      continue;
    }
    ASSERT_EQ(ProbedCodecNames.count(F.AudioCodecName), 1u) << F.AudioCodecName;
    EXPECT_EQ(Facts["audio.codec_name"], ProbedCodecNames.at(F.AudioCodecName));
    EXPECT_EQ(Facts["audio.sample_rate"], F.SampleRate);
    EXPECT_EQ(Facts["audio.channels"], F.Channel);
  }
  vantrel::media::FFLoader().Unload(vantrel::media::EncoderLibraries);
}
