// The media file prober: what LoadFile reads from real files, stream queries and their
// messages, bad input, unusual file names, adopted contexts and library use counts.
#include "media/FFDecode.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLoad.h"
#include "media/UnicodeProtocol.h"
#include "tests/support/TempDir.h"
#include "tests/support/ProbeFixtures.h"
#include "tests/support/TestPaths.h"
#include "tests/support/OwnProcess.h"

using namespace vantrel::media;
using vantrel::test::FixturePath;

namespace {

class DecoderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Decoder->LoadAVLib("")) << Decoder->LastErrMsg(); }
  TOwned<TFFDecoder> Decoder{TFFDecoder::Create(nullptr)};
};

// ffprobe's value in microseconds.
Int64 ProbeMicros(const std::string& AFile, const std::string& AEntry,
                  const std::string& AStreams = std::string()) {
  const std::string Text = vantrel::test::FFProbeEntries(AFile, AEntry, AStreams);
  EXPECT_FALSE(Text.empty()) << AEntry;
  return std::llround(std::strtod(Text.c_str(), nullptr) * 1e6);
}

constexpr Int64 OneFrame = 40000;  // at 25 fps

}  // namespace

TEST_F(DecoderTest, ReadsVideoAndAudioOfAnMp4) {
  const std::string File = FixturePath("v.mp4");
  ASSERT_TRUE(Decoder->LoadFile(File, "")) << Decoder->LastErrMsg();
  EXPECT_EQ(Decoder->FileName(), File);
  EXPECT_EQ(Decoder->FormatName(), "mov,mp4,m4a,3gp,3g2,mj2");
  EXPECT_EQ(Decoder->FileSize(), static_cast<Int64>(std::filesystem::file_size(File)));
  EXPECT_EQ(Decoder->StreamCount(), 2);
  EXPECT_EQ(Decoder->ProgramCount(), 0);
  EXPECT_EQ(Decoder->VideoStreamCount(), 1);
  EXPECT_EQ(Decoder->AudioStreamCount(), 1);
  EXPECT_EQ(Decoder->SubtitleStreamCount(), 0);
  EXPECT_EQ(Decoder->FirstVideoStreamIndex(), 0);
  EXPECT_EQ(Decoder->FirstAudioStreamIndex(), 1);
  EXPECT_EQ(Decoder->FirstSubtitleStreamIndex(), -1);
  EXPECT_TRUE(Decoder->IsVideoStream(0));
  EXPECT_TRUE(Decoder->IsAudioStream(1));
  EXPECT_FALSE(Decoder->IsAudioStream(0));
  EXPECT_FALSE(Decoder->IsVideoStream(2));
  EXPECT_FALSE(Decoder->IsVideoStream(-1));

  const TFileStreamInfo File1 = Decoder->FileStreamInfo();
  EXPECT_NEAR(File1.Duration, 2000000, OneFrame);
  EXPECT_NEAR(File1.Duration, ProbeMicros(File, "format=duration"), 1);
  EXPECT_GT(File1.BitRate, 0);

  const TVideoStreamInfo V = Decoder->FirstVideoStreamInfo();
  EXPECT_EQ(V.Width, 320);
  EXPECT_EQ(V.Height, 240);
  EXPECT_EQ(V.FrameRate.num, 25);
  EXPECT_EQ(V.FrameRate.den, 1);
  EXPECT_FLOAT_EQ(V.AspectRatio, 4.0f / 3.0f);
  EXPECT_EQ(V.PixFmt, AV_PIX_FMT_YUV420P);
  EXPECT_EQ(V.CodecName.rfind("h264(", 0), 0u) << V.CodecName;
  EXPECT_EQ(V.Language, "und");
  EXPECT_NEAR(V.DurationScaled, 2000000, OneFrame);
  EXPECT_GT(V.BitRate, 0);

  const TAudioStreamInfo A = Decoder->FirstAudioStreamInfo();
  EXPECT_EQ(A.SampleRate, 48000);
  EXPECT_EQ(A.Channels, 2);
  EXPECT_EQ(A.SampleFormat, AV_SAMPLE_FMT_FLTP);
  EXPECT_EQ(A.CodecName.rfind("aac(", 0), 0u) << A.CodecName;
  EXPECT_NEAR(A.DurationScaled, 2000000, OneFrame);
  EXPECT_EQ(A.StartTimeScaled, ProbeMicros(File, "stream=start_time", "a"));

  Decoder->CloseFile();
  EXPECT_EQ(Decoder->FileHandle(), nullptr);
  EXPECT_EQ(Decoder->StreamCount(), -1);
  EXPECT_EQ(Decoder->FirstAudioStreamIndex(), -1);
  EXPECT_EQ(Decoder->FileSize(), -1);
}

TEST_F(DecoderTest, KeepsNonLatinMetadataAndTheMp3StartTime) {
  const std::string File = FixturePath("probe-title.mp3");
  ASSERT_TRUE(Decoder->LoadFile(File, "")) << Decoder->LastErrMsg();
  const TFileStreamInfo Info = Decoder->FileStreamInfo();
  EXPECT_EQ(Info.Title, "Tést Тест 测试");
  EXPECT_EQ(Info.Author, "Prober");  // "author" falls back to "artist"
  EXPECT_EQ(Info.StartTime, ProbeMicros(File, "format=start_time"));
  EXPECT_GT(Info.StartTime, 0);  // the encoder's delay
  EXPECT_EQ(Info.TimeStamp, 0);
  EXPECT_EQ(Info.Year, 0);
  EXPECT_EQ(Decoder->VideoStreamCount(), 0);
  EXPECT_EQ(Decoder->FirstVideoStreamInfo().Width, -1);
  EXPECT_EQ(Decoder->LastErrMsg(), "no video stream.");
}

TEST_F(DecoderTest, CountsTwoAudioStreamsAndDescribesEach) {
  ASSERT_TRUE(Decoder->LoadFile(FixturePath("probe-2audio.mkv"))) << Decoder->LastErrMsg();
  EXPECT_EQ(Decoder->StreamCount(), 3);
  EXPECT_EQ(Decoder->VideoStreamCount(), 1);
  EXPECT_EQ(Decoder->AudioStreamCount(), 2);
  EXPECT_EQ(Decoder->FirstAudioStreamIndex(), 1);
  const TAudioStreamInfo First = Decoder->GetAudioStreamInfo(-1);
  EXPECT_EQ(First.SampleRate, 48000);
  EXPECT_EQ(First.Language, "eng");
  const TAudioStreamInfo Second = Decoder->GetAudioStreamInfo(2);
  EXPECT_EQ(Second.SampleRate, 22050);
  EXPECT_EQ(Second.Channels, 1);
  EXPECT_EQ(Second.Language, "deu");
  TAudioStreamInfo Out;
  EXPECT_TRUE(Decoder->GetAudioStreamInfo(1, Out));
  EXPECT_EQ(Out.SampleRate, 48000);
}

TEST_F(DecoderTest, BadStreamQueriesGiveTheClearedRecordAndAMessage) {
  ASSERT_TRUE(Decoder->LoadFile(FixturePath("v.mp4"))) << Decoder->LastErrMsg();
  TVideoStreamInfo V = Decoder->GetVideoStreamInfo(1);
  EXPECT_EQ(Decoder->LastErrMsg(), "stream #1 is not video stream.");
  EXPECT_EQ(V.AspectRatio, -1.0f);
  EXPECT_EQ(V.Width, -1);
  EXPECT_EQ(V.FrameRate.num, -1);
  EXPECT_EQ(V.FrameRate.den, -1);
  EXPECT_EQ(V.CodecName, "");

  TAudioStreamInfo A = Decoder->GetAudioStreamInfo(7);
  EXPECT_EQ(Decoder->LastErrMsg(), "stream index #7 is invalid.");
  EXPECT_EQ(A.SampleRate, -1);
  EXPECT_FALSE(Decoder->GetAudioStreamInfo(0, A));
  EXPECT_EQ(Decoder->LastErrMsg(), "stream #0 is not audio stream.");

  TSubtitleStreamInfo S;
  EXPECT_FALSE(Decoder->GetSubtitleStreamInfo(-1, S));
  EXPECT_EQ(Decoder->LastErrMsg(), "no subtitle stream.");

  Decoder->CloseFile();
  const TFileStreamInfo Info = Decoder->FileStreamInfo();
  EXPECT_EQ(Decoder->LastErrMsg(), "file not loaded.");
  EXPECT_EQ(Info.Duration, -1);
  EXPECT_EQ(Info.StartTime, -1);
  EXPECT_EQ(Info.BitRate, -1);
  EXPECT_EQ(Decoder->GetVideoStreamInfo(0).Width, -1);
  EXPECT_EQ(Decoder->FileInfoText(), "");
  EXPECT_EQ(Decoder->LastErrMsg(), "file not loaded.");
}

TEST_F(DecoderTest, ForcedFormatNames) {
  EXPECT_FALSE(Decoder->LoadFile(FixturePath("v.mp4"), "nosuchformat"));
  EXPECT_EQ(Decoder->LastErrMsg(), "Unknown input format: nosuchformat");
  EXPECT_EQ(Decoder->FileHandle(), nullptr);

  ASSERT_TRUE(Decoder->LoadFile(FixturePath("probe-program.ts"), "mpegts"));
  EXPECT_EQ(Decoder->ForceFormat(), "mpegts");
  EXPECT_EQ(Decoder->ProgramCount(), 1);
  // A wrong forced format fails to read the file.
  EXPECT_FALSE(Decoder->LoadFile(FixturePath("probe-title.mp3"), "matroska"));
  EXPECT_EQ(Decoder->ForceFormat(), "");
  EXPECT_EQ(Decoder->FileHandle(), nullptr);
}

TEST_F(DecoderTest, BadInputFailsCleanlyWithAMessage) {
  vantrel::test::TTempDir Dir;
  const std::string Mp4 = vantrel::test::ReadFileBytes(FixturePath("v.mp4"));
  vantrel::test::WriteFileBytes(Dir.File("empty.mp4"), "");
  vantrel::test::WriteFileBytes(Dir.File("cut.mp4"), Mp4.substr(0, Mp4.size() / 2));
  vantrel::test::WriteFileBytes(Dir.File("text.mp4"), "Just some notes, not a video.\n");
  std::mt19937 Rng(7);
  std::string Noise(64 * 1024, '\0');
  for (char& C : Noise) C = static_cast<char>(Rng());
  vantrel::test::WriteFileBytes(Dir.File("noise.bin"), Noise);
  std::filesystem::create_directory(Dir.File("folder.mp4"));

  const struct {
    std::string Name;
    std::string Message;  // empty: any non-empty text
  } Cases[] = {
      {Dir.File("missing.mp4"), Dir.File("missing.mp4") + ": No such file or directory"},
      {Dir.File("folder.mp4"), ""},
      {Dir.File("empty.mp4"), ""},
      {Dir.File("cut.mp4"), Dir.File("cut.mp4") + ": Invalid data found when processing input"},
      {Dir.File("text.mp4"), ""},
      {Dir.File("noise.bin"), ""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    // An open file goes when a load fails.
    ASSERT_TRUE(Decoder->LoadFile(FixturePath("v.mp4")));
    EXPECT_FALSE(Decoder->LoadFile(C.Name));
    if (C.Message.empty())
      EXPECT_EQ(Decoder->LastErrMsg().rfind(C.Name + ": ", 0), 0u) << Decoder->LastErrMsg();
    else
      EXPECT_EQ(Decoder->LastErrMsg(), C.Message);
    EXPECT_EQ(Decoder->FileHandle(), nullptr);
    EXPECT_EQ(Decoder->StreamCount(), -1);
  }
}

TEST_F(DecoderTest, CutFilesThatFFmpegOpensGiveConsistentInformation) {
  vantrel::test::TTempDir Dir;
  for (const char* Name : {"probe-title.mp3", "probe-program.ts", "probe-2audio.mkv"}) {
    SCOPED_TRACE(Name);
    ASSERT_TRUE(Decoder->LoadFile(FixturePath(Name)));
    const Integer Streams = Decoder->StreamCount();
    const Int64 FullDuration = Decoder->FileStreamInfo().Duration;
    const std::string Bytes = vantrel::test::ReadFileBytes(FixturePath(Name));
    const std::string Cut = Dir.File(std::string("cut-") + Name);
    vantrel::test::WriteFileBytes(Cut, Bytes.substr(0, Bytes.size() / 2));
    ASSERT_TRUE(Decoder->LoadFile(Cut)) << Decoder->LastErrMsg();
    EXPECT_EQ(Decoder->StreamCount(), Streams);
    EXPECT_EQ(Decoder->FileSize(), static_cast<Int64>(Bytes.size() / 2));
    EXPECT_LE(Decoder->FileStreamInfo().Duration, FullDuration + OneFrame);
    EXPECT_FALSE(Decoder->FileInfoText().empty());
  }
}

TEST_F(DecoderTest, OpensNonLatinNamesAndNamesWithAColon) {
  vantrel::test::TTempDir Dir;
  for (const std::string Name : {"видео 测试.mp4", "a:b.mp4", "Tést.mp4"}) {
    SCOPED_TRACE(Name);
    const std::string Path = Dir.File(Name);
    vantrel::test::CopyMediaFile(FixturePath("v.mp4"), Path);
    ASSERT_TRUE(Decoder->LoadFile(Path)) << Decoder->LastErrMsg();
    EXPECT_EQ(Decoder->FileName(), Path);
    EXPECT_EQ(Decoder->FileSize(), static_cast<Int64>(std::filesystem::file_size(Path)));
    EXPECT_EQ(Decoder->FirstVideoStreamInfo().Width, 320);
    EXPECT_NE(Decoder->FileInfoText().find("File Name: " + Path + "\r\n"), std::string::npos);
  }
  // A relative name with a ":" is a file, not a protocol.
  const std::filesystem::path Cwd = std::filesystem::current_path();
  std::filesystem::current_path(Dir.Path());
  EXPECT_TRUE(Decoder->LoadFile("a:b.mp4")) << Decoder->LastErrMsg();
  EXPECT_EQ(Decoder->FileName(), "a:b.mp4");
  EXPECT_EQ(Decoder->FileSize(), static_cast<Int64>(std::filesystem::file_size("a:b.mp4")));
  std::filesystem::current_path(Cwd);
}

TEST_F(DecoderTest, AdoptsAContextWithoutOwningIt) {
  AVFormatContext* Ctx = nullptr;
  ASSERT_EQ(OpenFFmpegInput(&Ctx, FixturePath("probe-2audio.mkv"), nullptr, nullptr), 0);
  ASSERT_GE(ff::avformat_find_stream_info(Ctx, nullptr), 0);
  Decoder->SetFileHandle(Ctx);
  EXPECT_EQ(Decoder->FileHandle(), Ctx);
  EXPECT_EQ(Decoder->AudioStreamCount(), 2);
  EXPECT_EQ(Decoder->FileName(), FixturePath("probe-2audio.mkv"));

  // A sample aspect of 0/0 is unknown: square pixels; 0/1 gives 0.
  AVCodecParameters* Par = Ctx->streams[0]->codecpar;
  Par->sample_aspect_ratio = AVRational{0, 0};
  EXPECT_FLOAT_EQ(Decoder->GetVideoStreamInfo(0).AspectRatio, 4.0f / 3.0f);
  Par->sample_aspect_ratio = AVRational{0, 1};
  EXPECT_EQ(Decoder->GetVideoStreamInfo(0).AspectRatio, 0.0f);
  Par->sample_aspect_ratio = AVRational{2, 1};
  EXPECT_FLOAT_EQ(Decoder->GetVideoStreamInfo(0).AspectRatio, 8.0f / 3.0f);

  // A time base with denominator 0 is repaired before scaling.
  Ctx->streams[1]->time_base = AVRational{0, 0};
  const TAudioStreamInfo A = Decoder->GetAudioStreamInfo(1);
  EXPECT_EQ(Ctx->streams[1]->time_base.den, 1);
  EXPECT_EQ(A.SampleRate, 48000);

  Decoder->CloseFile();  // forgets the context; closing it stays ours
  EXPECT_EQ(Decoder->FileHandle(), nullptr);
  EXPECT_EQ(Ctx->nb_streams, 3u);
  CloseFFmpegInput(&Ctx);
}

TEST(Decoder, RaisesWhenTheLibrariesAreNotLoaded) {
  if (vantrel::test::RanAloneInChild()) return;  // counts process-wide state
  TOwned<TFFDecoder> Decoder(TFFDecoder::Create(nullptr));
  EXPECT_FALSE(Decoder->AVLibLoaded());
  EXPECT_EQ(Decoder->StreamCount(), -1);
  try {
    Decoder->LoadFile(FixturePath("v.mp4"), "");
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "LibAVCodec not loaded.");
  }
  ASSERT_TRUE(FFLoader().Load(TLibraries{avUtil, swResample, avCodec}));
  EXPECT_THROW(
      {
        try {
          Decoder->LoadFile(FixturePath("v.mp4"), "");
        } catch (const Exception& E) {
          EXPECT_EQ(E.Message(), "LibAVFormat not loaded.");
          throw;
        }
      },
      Exception);
}

TEST(Decoder, EachDecoderGivesBackOnlyTheLoadItTook) {
  if (vantrel::test::RanAloneInChild()) return;  // counts process-wide state
  TOwned<TFFDecoder> First(TFFDecoder::Create(nullptr));
  TOwned<TFFDecoder> Second(TFFDecoder::Create(nullptr));
  ASSERT_TRUE(First->LoadAVLib(""));
  ASSERT_TRUE(First->LoadAVLib(""));  // no second use
  ASSERT_TRUE(Second->LoadAVLib(""));
  EXPECT_EQ(FFLoader().LoadCount(avFormat), 2);
  ASSERT_TRUE(Second->LoadFile(FixturePath("v.mp4")));

  First->UnloadAVLib();
  First->UnloadAVLib();  // nothing more to give back
  EXPECT_EQ(FFLoader().LoadCount(avFormat), 1);
  EXPECT_TRUE(Second->AVLibLoaded());
  EXPECT_EQ(Second->StreamCount(), 2);

  // Destroying the decoder closes its file, then gives its load back.
  Second.reset();
  EXPECT_EQ(FFLoader().LoadCount(avFormat), 0);
  EXPECT_FALSE(FFLoader().Loaded(avFormat));
}
