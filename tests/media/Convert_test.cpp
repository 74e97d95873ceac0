// Whole conversions in the caller's thread with audio disabled or copied: encoding
// through the plain scaler or a filter chain, stream copy, frame limits, frame-rate
// conversion, our own filters in a chain and subtitle copy, checked with ffprobe.
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/media/TaskTestEngine.h"
#include "tests/support/TranscodeProbe.h"

using namespace vantrel::media;
using vantrel::test::TTaskTest;
using vantrel::test::TranscodeCountFrames;
using vantrel::test::TranscodeCountPackets;
using vantrel::test::TranscodeMeanStat;

namespace {

class ConvertTest : public TTaskTest {
 protected:
  // Converts AInput into AOutput with the record (audio off unless the record says
  // otherwise); true when the task finished without a fatal error.
  bool Convert(const std::string& AInput, const std::string& AOutput, TOutputOptions O) {
    if (!OpenInput(AInput)) {
      ADD_FAILURE() << T->LastErrMsg();
      return false;
    }
    if (!T->OpenOutput(AOutput, &O)) {
      ADD_FAILURE() << T->LastErrMsg();
      return false;
    }
    EXPECT_EQ(T->StartConvert(false), nullptr);
    EXPECT_FALSE(T->FatalException()) << T->FatalMessage();
    return T->Finished() && !T->FatalException();
  }
  static TOutputOptions H264() {
    TOutputOptions O;
    O.VideoCodec = "libx264";
    O.DisableAudio = true;
    return O;
  }
  // Each conversion gets a task of its own.
  void NewTask() { T = CreateOwned<vantrel::test::TTestTask>(8); }
};

TEST_F(ConvertTest, EncodesH264ThroughTheScalerOrAFilterChain) {
  const std::string In = Fixture("task-a.avi");
  const Int64 InDuration = ProbeMicroseconds(In, "format=duration");
  // With a chain, the picture is first scaled to the asked size; the chain's own output
  // size wins.
  const struct {
    const char* Name;
    const char* FrameSize;
    const char* Filters;
    const char* Size;
  } Cases[] = {{"scaled.mp4", "160x120", "", "160\n120\n"},
               {"filtered.mp4", "", "crop=300:220:10:10,pad=320:240:10:10,scale=160:120", "160\n120\n"},
               {"padded.mp4", "160x120", "pad=200:150:20:15", "200\n150\n"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    NewTask();
    TOutputOptions O = H264();
    O.FrameSize = C.FrameSize;
    O.VideoFilters = C.Filters;
    const std::string Out = Dir.File(C.Name);
    ASSERT_TRUE(Convert(In, Out, O));
    EXPECT_EQ(vantrel::test::FFProbeEntries(Out, "stream=codec_name,width,height", "v:0"), "h264\n" + std::string(C.Size));
    EXPECT_EQ(vantrel::test::FFProbeEntries(Out, "stream=codec_type"), "video\n");  // audio off
    EXPECT_EQ(TranscodeCountFrames(Out), 75);
    EXPECT_NEAR(ProbeMicroseconds(Out, "format=duration"), InDuration, 100000);
  }
}

// Both inputs start at 0 in the output; the transport stream's own clock starts later.
// Pictures reordered by the decoder (B-frames) come out once each, in time.
TEST_F(ConvertTest, ReorderedInputPicturesAreEncodedOnceEach) {
  const std::string In = Fixture("v.mp4");
  const std::string Out = Dir.File("reordered.mp4");
  TOutputOptions O = H264();
  ASSERT_TRUE(Convert(In, Out, O));
  EXPECT_EQ(TranscodeCountFrames(Out), TranscodeCountFrames(In));
  // The first stream of the input is its video.
  EXPECT_NEAR(ProbeMicroseconds(Out, "stream=duration"), ProbeMicroseconds(In, "stream=duration"), 40000);
}

TEST_F(ConvertTest, StreamCopyIntoMatroskaKeepsEveryPacket) {
  const struct {
    const char* In;
    const char* Codecs;
  } Cases[] = {{"task-a.avi", "mpeg4\nmp3\n"}, {"task-b.ts", "mpeg2video\nmp2\n"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.In);
    NewTask();
    const std::string In = Fixture(C.In);
    const std::string Out = Dir.File(std::string(C.In) + ".mkv");
    TOutputOptions O;
    O.VideoCodec = "copy";
    O.AudioCodec = "copy";
    ASSERT_TRUE(Convert(In, Out, O));
    EXPECT_EQ(vantrel::test::FFProbeEntries(Out, "stream=codec_name"), C.Codecs);
    EXPECT_EQ(TranscodeCountPackets(Out, "v:0"), TranscodeCountPackets(In, "v:0"));
    EXPECT_EQ(TranscodeCountPackets(Out, "a:0"), TranscodeCountPackets(In, "a:0"));
    EXPECT_NEAR(ProbeMicroseconds(Out, "format=duration"), ProbeMicroseconds(In, "format=duration"), 100000);
    EXPECT_NEAR(ProbeMicroseconds(Out, "format=start_time"), 0, 100000);
  }
}

// A transport stream whose clock jumps back (two recordings one after the other) goes
// on from where it was: the jump is taken out of the input's offset.
TEST_F(ConvertTest, ClockJumpInATransportStreamIsTakenOut) {
  const std::string Recording = vantrel::test::ReadFileBytes(Fixture("task-b.ts"));
  const std::string In = Dir.File("twice.ts");
  vantrel::test::WriteFileBytes(In, Recording + Recording);
  const std::string Out = Dir.File("twice.mkv");
  TOutputOptions O;
  O.VideoCodec = "copy";
  O.AudioCodec = "copy";
  ASSERT_TRUE(Convert(In, Out, O));
  const std::string Once = Fixture("task-b.ts");
  EXPECT_EQ(TranscodeCountPackets(Out, "v:0"), 2 * TranscodeCountPackets(Once, "v:0"));
  EXPECT_NEAR(ProbeMicroseconds(Out, "format=duration"), 2 * ProbeMicroseconds(Once, "format=duration"), 200000);
}

TEST_F(ConvertTest, OneInputFeedsTwoOutputFiles) {
  ASSERT_TRUE(OpenInput(Fixture("task-a.avi"))) << T->LastErrMsg();
  TOutputOptions Encoded = H264();
  Encoded.FrameSize = "160x120";
  TOutputOptions Copied;
  Copied.VideoCodec = "copy";
  Copied.DisableAudio = true;
  const std::string Out1 = Dir.File("out1.mp4"), Out2 = Dir.File("out2.mkv");
  ASSERT_TRUE(T->OpenOutput(Out1, &Encoded)) << T->LastErrMsg();
  ASSERT_TRUE(T->OpenOutput(Out2, &Copied)) << T->LastErrMsg();
  T->StartConvert(false);
  ASSERT_FALSE(T->FatalException()) << T->FatalMessage();
  EXPECT_TRUE(T->Finished());
  EXPECT_EQ(vantrel::test::FFProbeEntries(Out1, "stream=codec_name,width"), "h264\n160\n");
  EXPECT_EQ(vantrel::test::FFProbeEntries(Out2, "stream=codec_name,width"), "mpeg4\n320\n");
  EXPECT_EQ(TranscodeCountFrames(Out1), 75);
  EXPECT_EQ(TranscodeCountPackets(Out2, "v:0"), 75);
}

// Stream maps take the video of the first input and the audio of the second.
TEST_F(ConvertTest, StreamMapsPickStreamsOfSeveralInputs) {
  ASSERT_TRUE(OpenInput(Fixture("task-a.avi"))) << T->LastErrMsg();
  const std::string Wav = Fixture("task-c.wav");
  TOutputOptions O = H264();
  O.DisableAudio = false;
  O.AudioCodec = "copy";
  O.ExtOptions = "map=0:0\nmap=1:0";
  const std::string Out = Dir.File("mapped.mkv");
  ASSERT_TRUE(Convert(Wav, Out, O));
  EXPECT_EQ(vantrel::test::FFProbeEntries(Out, "stream=codec_name"), "h264\npcm_s16le\n");
  EXPECT_EQ(TranscodeCountFrames(Out), 75);
  EXPECT_EQ(TranscodeCountPackets(Out, "a:0"), TranscodeCountPackets(Wav, "a:0"));
  EXPECT_TRUE(Logged("  Stream #1.0 -> #0.1 (Audio)"));
}

// With "shortest" the first input that ends (the 2 s sound) ends the conversion.
TEST_F(ConvertTest, ShortestEndsWithTheFirstInputThatEnds) {
  ASSERT_TRUE(OpenInput(Fixture("task-a.avi"))) << T->LastErrMsg();
  TOutputOptions O = H264();
  O.DisableAudio = false;
  O.AudioCodec = "copy";
  O.ExtOptions = "map=0:0\nmap=1:0\nshortest=1";
  const std::string Out = Dir.File("shortest.mkv");
  ASSERT_TRUE(Convert(Fixture("task-c.wav"), Out, O));
  EXPECT_NEAR(ProbeMicroseconds(Out, "format=duration"), 2000000, 200000);
  EXPECT_NEAR(TranscodeCountFrames(Out), 50, 3);
}

// The loop ends once the output has reached the size limit; the file is complete.
TEST_F(ConvertTest, SizeLimitEndsTheConversionWithACompleteFile) {
  TOutputOptions O;
  O.VideoCodec = "mpeg4";
  O.DisableAudio = true;
  O.ExtOptions = "fs=50000";
  const std::string Out = Dir.File("limited.avi");
  ASSERT_TRUE(Convert(Fixture("task-a.avi"), Out, O));
  struct stat St;
  ASSERT_EQ(::stat(Out.c_str(), &St), 0);
  EXPECT_GE(St.st_size, 50000);
  EXPECT_LT(St.st_size, 80000);
  const int Frames = TranscodeCountFrames(Out);
  EXPECT_GT(Frames, 5);
  EXPECT_LT(Frames, 75);
}

// Chapters and global tags of the input travel into the output, chapters cut to the
// recording window.
TEST_F(ConvertTest, ChaptersAndTagsAreCopiedWithinTheRecordingWindow) {
  const struct {
    const char* Name;
    Int64 Length;
    const char* Ends;
  } Cases[] = {{"chapters.mkv", NoPTSValue, "1.000000\n2.000000\n"}, {"cut.mkv", 1500000, "1.000000\n1.500000\n"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    NewTask();
    TOutputOptions O;
    O.VideoCodec = "copy";
    O.TimeLength = C.Length;
    const std::string Out = Dir.File(C.Name);
    ASSERT_TRUE(Convert(Fixture("probe-chapters.mkv"), Out, O));
    EXPECT_EQ(vantrel::test::FFProbeEntries(Out, "chapter=end_time"), C.Ends);
    EXPECT_EQ(vantrel::test::FFProbeEntries(Out, "chapter_tags=title"), "Intro\nOutro\n");
    EXPECT_EQ(vantrel::test::FFProbeEntries(Out, "format_tags=title"), "Chapter test\n");
  }
}

// Without stream maps a second audio output stream takes the only input audio again.
TEST_F(ConvertTest, SecondAudioOutputStreamReusesTheOnlyInputAudio) {
  const std::string In = Fixture("task-a.avi");
  const std::string Out = Dir.File("twoaudio.mkv");
  TOutputOptions O;
  O.VideoCodec = "copy";
  O.AudioCodec = "copy";
  O.ExtOptions = "newaudio\nacodec=copy";
  ASSERT_TRUE(Convert(In, Out, O));
  EXPECT_EQ(vantrel::test::FFProbeEntries(Out, "stream=codec_name"), "mpeg4\nmp3\nmp3\n");
  EXPECT_EQ(TranscodeCountPackets(Out, "a:1"), TranscodeCountPackets(In, "a:0"));
  EXPECT_TRUE(Logged("Stream mapping:"));
  EXPECT_TRUE(Logged("  Stream #0.1 -> #0.2 (Audio)"));
}

TEST_F(ConvertTest, RawVideoOutputHoldsEveryPictureUncompressed) {
  TOutputOptions O;
  O.ForceFormat = "rawvideo";
  O.VideoCodec = "rawvideo";
  O.DisableAudio = true;
  O.FrameSize = "160x120";
  O.ExtOptions = "pix_fmt=yuv420p";
  const std::string Out = Dir.File("raw.yuv");
  ASSERT_TRUE(Convert(Fixture("task-a.avi"), Out, O));
  struct stat St;
  ASSERT_EQ(::stat(Out.c_str(), &St), 0);
  EXPECT_EQ(St.st_size, 75 * 160 * 120 * 3 / 2);
}

TEST_F(ConvertTest, FrameLimitGivesExactlyThatManyFrames) {
  TOutputOptions O = H264();
  O.ExtOptions = "vframes=50";
  const std::string Out = Dir.File("limited.mkv");
  ASSERT_TRUE(Convert(Fixture("task-a.avi"), Out, O));
  EXPECT_EQ(TranscodeCountFrames(Out), 50);
}

// At twice the input rate every picture is written twice, the last one too (it lasts
// to the end of the input): 2N for N input pictures.
TEST_F(ConvertTest, DoubleRateWithConstantSyncRepeatsPicturesAsTheClocksSay) {
  TOutputOptions O = H264();
  O.FrameRate = "50";
  O.VideoSyncMethod = 1;
  const std::string Out = Dir.File("double.mp4");
  ASSERT_TRUE(Convert(Fixture("task-a.avi"), Out, O));
  EXPECT_EQ(vantrel::test::FFProbeEntries(Out, "stream=r_frame_rate", "v:0"), "50/1\n");
  EXPECT_EQ(TranscodeCountFrames(Out), 2 * 75);
}

// Our own filters run as steps of a chain: brightness raises the mean luma, saturation
// -100 takes the colour out, against the same conversion without them.
TEST_F(ConvertTest, OwnFiltersInAChainChangeThePictures) {
  const std::string In = Fixture("task-a.avi");
  auto Converted = [&](const std::string& AName, const char* AFilters) {
    NewTask();
    TOutputOptions O = H264();
    O.VideoFilters = AFilters;
    if (!*AFilters) O.FrameSize = "160x120";
    const std::string Out = Dir.File(AName);
    EXPECT_TRUE(Convert(In, Out, O));
    EXPECT_EQ(TranscodeCountFrames(Out), 75);
    return Out;
  };
  const std::string Plain = Converted("plain.mkv", "");
  const double Luma = TranscodeMeanStat(Plain, "YAVG");
  ASSERT_GT(Luma, 0);
  ASSERT_GT(TranscodeMeanStat(Plain, "SATAVG"), 20);
  EXPECT_GT(TranscodeMeanStat(Converted("eq.mkv", "scale=160:120,nativeeq=20:0"), "YAVG"), Luma + 10);
  EXPECT_LT(TranscodeMeanStat(Converted("hue.mkv", "scale=160:120,nativehue=0:-100"), "SATAVG"), 2);
}

// Copied as they are, or decoded and encoded again (the encoder takes the decoder's
// header): the cues keep their times either way.
TEST_F(ConvertTest, TextSubtitlesAreCopiedOrEncodedIntoMatroska) {
  const struct {
    const char* Codec;
    const char* Expected;
  } Cases[] = {{"copy", "h264\nsubrip\n"}, {"ass", "h264\nass\n"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Codec);
    NewTask();
    const std::string Out = Dir.File(std::string("subs-") + C.Codec + ".mkv");
    TOutputOptions O = H264();
    O.SubtitleCodec = C.Codec;
    ASSERT_TRUE(Convert(Fixture("transcode-sub.mkv"), Out, O));
    EXPECT_EQ(vantrel::test::FFProbeEntries(Out, "stream=codec_name"), C.Expected);
    EXPECT_EQ(vantrel::test::FFProbeEntries(Out, "packet=pts_time,duration_time", "s:0"),
              "0.500000\n0.700000\n1.600000\n0.800000\n");
    EXPECT_EQ(TranscodeCountFrames(Out), 75);
  }
}

TEST_F(ConvertTest, OutputStartAndLengthCutTheOutput) {
  const struct {
    const char* Name;
    Int64 Start;
    Int64 Length;
    int Frames;
    Int64 Duration;
  } Cases[] = {{"from1s.mkv", 1000000, NoPTSValue, 50, 2000000}, {"first1s.mkv", NoPTSValue, 1000000, 25, 1000000}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    NewTask();
    const std::string Out = Dir.File(C.Name);
    TOutputOptions O = H264();
    O.TimeStart = C.Start;
    O.TimeLength = C.Length;
    ASSERT_TRUE(Convert(Fixture("task-a.avi"), Out, O));
    EXPECT_NEAR(TranscodeCountFrames(Out), C.Frames, 1);
    EXPECT_NEAR(ProbeMicroseconds(Out, "format=duration"), C.Duration, 100000);
    EXPECT_NEAR(ProbeMicroseconds(Out, "stream=start_time"), 0, 1000);
  }
}

TEST_F(ConvertTest, ForcedKeyFrameTimeMakesThatPictureAKeyFrameOnce) {
  TOutputOptions O = H264();
  O.GroupPictureSize = 250;
  O.ExtOptions = "force_key_frames=1";
  const std::string Out = Dir.File("forced.mkv");
  ASSERT_TRUE(Convert(Fixture("task-a.avi"), Out, O));
  const std::string Keys = vantrel::test::FFProbeEntries(Out, "frame=key_frame", "v:0");
  std::string Expected;
  for (int i = 0; i < 75; ++i) Expected += (i == 0 || i == 25) ? "1\n" : "0\n";
  EXPECT_EQ(Keys, Expected);
}

TEST_F(ConvertTest, StatisticsFileHasALinePerEncodedPicture) {
  TOutputOptions O;
  O.VideoCodec = "mpeg4";
  O.DisableAudio = true;
  const std::string Stats = Dir.File("stats.log");
  O.ExtOptions = "vstats_file=" + Stats;
  ASSERT_TRUE(Convert(Fixture("task-a.avi"), Dir.File("stats.mkv"), O));
  std::ifstream F(Stats);
  std::vector<std::string> Lines;
  for (std::string L; std::getline(F, L);) Lines.push_back(L);
  ASSERT_EQ(Lines.size(), 75u);
  EXPECT_EQ(Lines[0].rfind("frame=     1 q= ", 0), 0u) << Lines[0];
  EXPECT_NE(Lines[0].find(" type= I"), std::string::npos) << Lines[0];
  EXPECT_NE(Lines[1].find(" type= P"), std::string::npos) << Lines[1];
  EXPECT_NE(Lines[74].find("time= 3.000 "), std::string::npos) << Lines[74];
}

// In quantiser mode every picture carries the quantiser to the encoder.
TEST_F(ConvertTest, FixedQuantiserReachesEveryPicture) {
  std::vector<off_t> Sizes;
  for (int Q : {2, 31}) {
    SCOPED_TRACE(Q);
    NewTask();
    TOutputOptions O;
    O.VideoCodec = "mpeg4";
    O.DisableAudio = true;
    const std::string Stats = Dir.File("q" + std::to_string(Q) + ".log");
    O.ExtOptions = "qscale=" + std::to_string(Q) + "\nvstats_file=" + Stats;
    const std::string Out = Dir.File("q" + std::to_string(Q) + ".mkv");
    ASSERT_TRUE(Convert(Fixture("task-a.avi"), Out, O));
    std::ifstream F(Stats);
    const std::string Expected = "q= " + std::to_string(Q) + ".0 ";
    int Lines = 0;
    for (std::string L; std::getline(F, L); ++Lines) ASSERT_NE(L.find(Expected), std::string::npos) << L;
    EXPECT_EQ(Lines, 75);
    struct stat St;
    ASSERT_EQ(::stat(Out.c_str(), &St), 0);
    Sizes.push_back(St.st_size);
  }
  EXPECT_GT(Sizes[0], 2 * Sizes[1]);
}

TEST_F(ConvertTest, TwoPassEncodingMeetsItsLogInTheSecondPass) {
  const std::string Prefix = Dir.File("passlog");
  std::string Log;
  for (int Pass : {1, 2}) {
    SCOPED_TRACE(Pass);
    NewTask();
    TOutputOptions O = H264();
    O.VideoBitrate = 200000;
    O.ExtOptions = "pass=" + std::to_string(Pass) + "\npasslogfile=" + Prefix;
    const std::string Out = Dir.File("pass" + std::to_string(Pass) + ".mkv");
    ASSERT_TRUE(OpenInput(Fixture("task-a.avi")));
    ASSERT_TRUE(T->OpenOutput(Out, &O)) << T->LastErrMsg();
    Log = T->PassLogFileName(0);
    EXPECT_EQ(Log, Prefix + "-0.log");
    T->StartConvert(false);
    ASSERT_FALSE(T->FatalException()) << T->FatalMessage();
    ASSERT_TRUE(T->Finished());
    EXPECT_EQ(TranscodeCountFrames(Out), 75);
    struct stat St;
    EXPECT_EQ(::stat(Log.c_str(), &St), 0);
  }
}

// A task that asks to stop at its first progress report.
class TStoppingTask : public vantrel::test::TTestTask {
 public:
  using TTestTask::TTestTask;
  int Reports = 0;
  int LastReports = 0;

 protected:
  void PrintReport(bool AIsLastReport, Integer AInputIndex) override {
    if (AIsLastReport) {
      ++LastReports;
      EXPECT_EQ(AInputIndex, -1);
      return;
    }
    if (++Reports == 10) Stop(false);
  }
};

TEST_F(ConvertTest, StopInItsOwnThreadEndsTheLoopAndLeavesNoFile) {
  auto Task = CreateOwned<TStoppingTask>(8);
  Task->ReportInterval = -1;  // a report after every packet
  TOutputOptions O = H264();
  ASSERT_TRUE(Task->OpenInput(Fixture("task-a.avi"), nullptr)) << Task->LastErrMsg();
  const std::string Out = Dir.File("stopped.mkv");
  ASSERT_TRUE(Task->OpenOutput(Out, &O)) << Task->LastErrMsg();
  TThread* Thread = Task->StartConvert(true);
  ASSERT_NE(Thread, nullptr);
  Thread->Start();
  Thread->WaitFor();
  EXPECT_FALSE(Task->FatalException()) << Task->FatalMessage();
  EXPECT_FALSE(Task->Finished());
  EXPECT_EQ(Task->LastReports, 1);
  // A stopped conversion is not finished: no file, whole or partial, stays.
  EXPECT_TRUE(std::filesystem::is_empty(Dir.Path()));
}

}  // namespace
