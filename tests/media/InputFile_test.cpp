// Opening the inputs of a conversion task: start positions and timestamp offsets, the
// total duration, programs, what an input leaves in the option state, and bad inputs
// that must leave nothing open.
#include "media/FFLoad.h"
#include "platform/rtl/Exceptions.h"
#include "tests/media/TaskTestEngine.h"

using namespace vantrel::media;
using vantrel::test::TTaskTest;

namespace {

class InputFileTest : public TTaskTest {};

// The first video packet's time in microseconds, after the open.
Int64 FirstVideoPacketTime(AVFormatContext* ic) {
  AVPacket* Pkt = ff::av_packet_alloc();
  Int64 Result = NoPTSValue;
  while (Result == NoPTSValue && ff::av_read_frame(ic, Pkt) >= 0) {
    const AVStream* st = ic->streams[Pkt->stream_index];
    if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && Pkt->pts != AV_NOPTS_VALUE)
      Result = ff::av_rescale_q(Pkt->pts, st->time_base, AVRational{1, AV_TIME_BASE});
    ff::av_packet_unref(Pkt);
  }
  ff::av_packet_free(&Pkt);
  return Result;
}

TEST_F(InputFileTest, StartPositionSeeksThereAndOffsetsByTheFilesOwnStart) {
  const std::string B = Fixture("task-b.ts");
  const Int64 FileStart = ProbeMicroseconds(B, "format=start_time");
  ASSERT_GT(FileStart, 0);  // a transport stream does not start at 0
  TInputOptions O;
  O.TimeStart = 5000000;
  ASSERT_TRUE(T->OpenInput(B, &O)) << T->LastErrMsg();

  EXPECT_EQ(T->Finput_files_ts_offset[0], -(5000000 + FileStart));
  EXPECT_EQ(T->Fstart_time, 0);  // consumed by this input
  // Sought backwards to a key frame near the position (a GOP is 0.48 s; a transport
  // stream is sought by bytes, to within a frame).
  const Int64 First = FirstVideoPacketTime(T->Finput_files[0]);
  EXPECT_LE(First, FileStart + 5000000 + 40000);
  EXPECT_GE(First, FileStart + 5000000 - 600000);
}

TEST_F(InputFileTest, CopyTimestampsKeepsOnlyTheInputOffset) {
  ASSERT_TRUE(OpenInput(Fixture("task-b.ts"), "copyts=1\nitsoffset=2\nss=3"));
  EXPECT_EQ(T->Finput_files_ts_offset[0], 2000000);
}

TEST_F(InputFileTest, TotalDurationIsTheLongestInput) {
  const std::string A = Fixture("task-a.avi"), B = Fixture("task-b.ts");
  ASSERT_TRUE(OpenInput(A)) << T->LastErrMsg();
  EXPECT_NEAR(T->TotalOutputDuration(), ProbeMicroseconds(A, "format=duration"), 1000);
  ASSERT_TRUE(OpenInput(B)) << T->LastErrMsg();
  const Int64 Total = T->TotalOutputDuration();
  EXPECT_NEAR(Total, ProbeMicroseconds(B, "format=duration"), 1000);
  EXPECT_NEAR(Total, 10000000, 100000);
  // The shorter one after the longer changes nothing.
  ASSERT_TRUE(OpenInput(A));
  EXPECT_EQ(T->TotalOutputDuration(), Total);
  EXPECT_EQ(T->InputFileCount(), 3);
}

TEST_F(InputFileTest, ProgramIdSelectsTheProgramOrFails) {
  const std::string B = Fixture("task-b.ts");
  TInputOptions O;
  O.ProgramID = 77;
  EXPECT_FALSE(T->OpenInput(B, &O));
  EXPECT_EQ(T->LastErrMsg(), "Specified program id not found");
  EXPECT_EQ(T->InputFileCount(), 0);
  EXPECT_EQ(static_cast<int>(T->Finput_codecs.size()), 0);
  EXPECT_EQ(InterruptCB().Count(), 0);

  // The muxer numbers its one program 1; its streams are read.
  O.ProgramID = 1;
  ASSERT_TRUE(T->OpenInput(B, &O)) << T->LastErrMsg();
  EXPECT_EQ(T->Fopt_programid, 0);
  AVFormatContext* ic = T->Finput_files[0];
  ASSERT_GE(ic->nb_streams, 2u);
  for (unsigned I = 0; I < ic->nb_streams; ++I) EXPECT_NE(ic->streams[I]->discard, AVDISCARD_ALL) << I;
}

TEST_F(InputFileTest, InputsLeaveTheirParametersForTheOutputs) {
  // An audio-only input keeps the frame options that were set before it.
  ASSERT_TRUE(OpenInput(Fixture("task-c.wav"), "s=640x480\nr=30"));
  EXPECT_EQ(T->Fframe_width, 640);
  EXPECT_EQ(T->Fframe_height, 480);
  EXPECT_EQ(T->Fframe_rate.num, 30);
  EXPECT_EQ(T->Fframe_rate.den, 1);
  EXPECT_EQ(T->Faudio_sample_rate, 48000);
  EXPECT_EQ(T->Faudio_channels, 2);

  ASSERT_TRUE(OpenInput(Fixture("task-a.avi")));
  EXPECT_EQ(T->Fframe_width, 320);
  EXPECT_EQ(T->Fframe_height, 240);
  EXPECT_EQ(T->Fframe_rate.num, 25);
  EXPECT_EQ(T->Fframe_rate.den, 1);
  EXPECT_FLOAT_EQ(T->Fframe_aspect_ratio, 4.0f / 3.0f);
  EXPECT_EQ(T->Fframe_pix_fmt, AV_PIX_FMT_YUV420P);
  // The sound stays the first audio input's.
  EXPECT_EQ(T->Faudio_sample_rate, 48000);
  // One decoder entry per input stream, across the inputs.
  EXPECT_EQ(static_cast<int>(T->Finput_codecs.size()), 3);
  EXPECT_EQ(T->Finput_decoder_settings.size(), 3u);
}

TEST_F(InputFileTest, RawInputsTakeTheirFormatFromTheOptions) {
  const std::string Video = Dir.File("frames.rgb");
  vantrel::test::WriteFileBytes(Video, std::string(3 * 32 * 16 * 3, '\x40'));
  ASSERT_TRUE(OpenInput(Video, "f=rawvideo\ns=32x16\npix_fmt=rgb24\nr=10")) << T->LastErrMsg();
  const AVCodecParameters* V = T->Finput_files[0]->streams[0]->codecpar;
  EXPECT_EQ(V->width, 32);
  EXPECT_EQ(V->height, 16);
  EXPECT_EQ(V->format, AV_PIX_FMT_RGB24);
  EXPECT_EQ(T->Fframe_rate.num, 10);
  EXPECT_EQ(T->Fframe_rate.den, 1);

  const std::string Audio = Dir.File("samples.raw");
  vantrel::test::WriteFileBytes(Audio, std::string(8000 * 2, '\0'));
  ASSERT_TRUE(OpenInput(Audio, "f=s16le\nar=8000\nac=1")) << T->LastErrMsg();
  const AVCodecParameters* A = T->Finput_files[1]->streams[0]->codecpar;
  EXPECT_EQ(A->sample_rate, 8000);
  EXPECT_EQ(A->ch_layout.nb_channels, 1);
  EXPECT_NEAR(T->Finput_files[1]->duration, 1000000, 1000);
}

TEST_F(InputFileTest, NamedDecoderIsForcedAndConsumed) {
  ASSERT_TRUE(OpenInput(Fixture("task-a.avi"), "vcodec=mpeg4\nthreads=3")) << T->LastErrMsg();
  EXPECT_EQ(T->Finput_files[0]->video_codec_id, AV_CODEC_ID_MPEG4);
  ASSERT_EQ(static_cast<int>(T->Finput_codecs.size()), 2);
  ASSERT_NE(T->Finput_codecs[0], nullptr);
  EXPECT_STREQ(T->Finput_codecs[0]->name, "mpeg4");
  EXPECT_EQ(T->Finput_codecs[1], nullptr);
  EXPECT_EQ(T->Finput_decoder_settings[0].thread_count, 3);
  EXPECT_TRUE(T->Fvideo_codec_name.empty());
}

TEST_F(InputFileTest, ReadTimeoutIsArmedOnlyWhileTheFileIsOpened) {
  int Calls = 0;
  T->OnBeforeFindStreamInfo = [&](TObject* Sender, void* AContext) {
    ++Calls;
    EXPECT_EQ(Sender, T.get());
    EXPECT_NE(AContext, nullptr);
    EXPECT_EQ(InterruptCB().Count(), 1);
  };
  ASSERT_TRUE(OpenInput(Fixture("task-c.wav")));
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(InterruptCB().Count(), 0);
}

TEST_F(InputFileTest, StopDuringTheOpenInterruptsItsReads) {
  // A stop while no conversion runs cancels the blocking reads of the open under way
  // (the probe then ends with what it has: the library keeps streams it already knows).
  T->OnBeforeFindStreamInfo = [&](TObject*, void*) { T->Stop(false); };
  (void)OpenInput(Fixture("task-b.ts"));
  EXPECT_TRUE(Logged("connecting/reading/writing canceled"));
  EXPECT_EQ(InterruptCB().Count(), 0);
}

TEST_F(InputFileTest, BadInputsFailWithTheirMessageAndLeaveNothingOpen) {
  const std::string Garbage = Dir.File("garbage.avi");
  vantrel::test::WriteFileBytes(Garbage, std::string(4096, '\x5a'));
  const std::string Through = Fixture("task-c.wav") + "/x.wav";
  const struct {
    std::string File;
    std::string Ext;
    std::string Message;
  } Cases[] = {
      {Dir.File("missing.avi"), "", Dir.File("missing.avi") + ": No such file or directory"},
      {Garbage, "", Garbage + ": Invalid data found when processing input"},
      {Through, "", Through + ": Not a directory"},
      {Fixture("task-c.wav"), "f=nosuchformat", "Unknown input format: \"nosuchformat\""},
      {Fixture("task-a.avi"), "vcodec=nosuch", "Unknown decoder 'nosuch'"},
      {Fixture("task-a.avi"), "acodec=mpeg4", "Invalid decoder type 'mpeg4'"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Ext + " " + C.File);
    EXPECT_FALSE(OpenInput(C.File, C.Ext));
    EXPECT_EQ(T->LastErrMsg(), C.Message);
    EXPECT_EQ(T->InputFileCount(), 0);
    EXPECT_EQ(static_cast<int>(T->Finput_codecs.size()), 0);
    EXPECT_EQ(T->Finput_files[0], nullptr);
    EXPECT_TRUE(T->Fvideo_codec_name.empty());
    EXPECT_TRUE(T->Flast_asked_format.empty() || C.Ext.starts_with("f="));
    T->Flast_asked_format.clear();
    EXPECT_EQ(InterruptCB().Count(), 0);
  }
  // The task is still usable.
  EXPECT_TRUE(OpenInput(Fixture("task-c.wav"))) << T->LastErrMsg();
}

TEST_F(InputFileTest, NameOutsideTheWesternCodePageOpens) {
  const std::string Name = Dir.File("Звук 音.wav");
  vantrel::test::CopyMediaFile(Fixture("task-c.wav"), Name);
  ASSERT_TRUE(OpenInput(Name)) << T->LastErrMsg();
  EXPECT_EQ(T->Finput_files[0]->nb_streams, 1u);
}

}  // namespace
