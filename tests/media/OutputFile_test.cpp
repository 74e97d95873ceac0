// Creating the outputs of a conversion task: the streams an output gets from its record,
// its inputs and its extra options, their encoder contexts, join mode, and bad outputs
// that must leave no entry and no file behind.
#include <filesystem>

#include "media/FFLoad.h"
#include "tests/media/TaskTestEngine.h"

using namespace vantrel::media;
using vantrel::test::TTaskTest;

namespace {

class OutputFileTest : public TTaskTest {
 protected:
  // The names in the private folder.
  std::vector<std::string> FilesInDir() const {
    std::vector<std::string> Names;
    for (const auto& E : std::filesystem::directory_iterator(Dir.Path())) Names.push_back(E.path().filename());
    return Names;
  }
};

TEST_F(OutputFileTest, Mp4RecordWithExtraStreamLinesGetsOneStreamPerLine) {
  ASSERT_TRUE(OpenInput(Fixture("task-a.avi"))) << T->LastErrMsg();
  TOutputOptions O;
  O.VideoCodec = "libx264";
  O.ExtOptions = "b=500k<CRLF>vcodec=mpeg4<CRLF>newvideo=";
  const std::string Name = Dir.File("out.mp4");
  ASSERT_TRUE(T->OpenOutput(Name, &O)) << T->LastErrMsg();

  EXPECT_EQ(O.FileName, Name);  // the caller's record gets the name
  AVFormatContext* oc = Output();
  EXPECT_STREQ(oc->oformat->name, "mp4");
  ASSERT_EQ(oc->nb_streams, 3u);
  ASSERT_EQ(T->Foutput_streams_for_file[0].size(), 3u);
  const struct {
    AVMediaType Type;
    AVCodecID Codec;
    const char* Forced;  // the encoder chosen by name, nil when the codec id decides
  } Expected[] = {{AVMEDIA_TYPE_VIDEO, AV_CODEC_ID_H264, "libx264"},
                  {AVMEDIA_TYPE_AUDIO, AV_CODEC_ID_AAC, nullptr},
                  {AVMEDIA_TYPE_VIDEO, AV_CODEC_ID_MPEG4, "mpeg4"}};
  ASSERT_EQ(static_cast<int>(T->Foutput_codecs.size()), 3);
  for (int I = 0; I < 3; ++I) {
    SCOPED_TRACE(I);
    TAVOutputStream& S = Stream(0, I);
    ASSERT_TRUE(S.enc_ctx);
    EXPECT_EQ(S.st, oc->streams[I]);
    EXPECT_EQ(S.index, I);
    EXPECT_EQ(S.enc_ctx->codec_type, Expected[I].Type);
    EXPECT_EQ(S.enc_ctx->codec_id, Expected[I].Codec);
    EXPECT_EQ(S.st->codecpar->codec_id, Expected[I].Codec);
    if (Expected[I].Forced) {
      ASSERT_NE(T->Foutput_codecs[I], nullptr);
      EXPECT_STREQ(T->Foutput_codecs[I]->name, Expected[I].Forced);
    } else {
      EXPECT_EQ(T->Foutput_codecs[I], nullptr);
    }
  }
  for (int I : {0, 2}) {
    SCOPED_TRACE(I);
    const AVCodecContext* V = Stream(0, I).enc_ctx.get();
    EXPECT_EQ(V->bit_rate, 500000);
    EXPECT_EQ(V->width, 320);
    EXPECT_EQ(V->height, 240);
    EXPECT_EQ(V->time_base.num, 1);
    EXPECT_EQ(V->time_base.den, 25);
    EXPECT_EQ(V->pix_fmt, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(V->sample_aspect_ratio.num, 1);
    EXPECT_EQ(V->sample_aspect_ratio.den, 1);
    // MP4 wants global headers.
    EXPECT_TRUE(V->flags & AV_CODEC_FLAG_GLOBAL_HEADER);
  }
  const AVCodecContext* A = Stream(0, 1).enc_ctx.get();
  EXPECT_EQ(A->sample_rate, 44100);
  EXPECT_EQ(A->time_base.den, 44100);
  EXPECT_EQ(A->ch_layout.nb_channels, 2);
  EXPECT_EQ(A->sample_fmt, AV_SAMPLE_FMT_FLTP);  // the AAC encoder's format
  // Nothing is made on disk before the task runs.
  EXPECT_EQ(oc->pb, nullptr);
  EXPECT_FALSE(std::filesystem::exists(Name));
  EXPECT_TRUE(FilesInDir().empty());
}

TEST_F(OutputFileTest, AudioOnlyInputsGetNoVideoStream) {
  ASSERT_TRUE(OpenInput(Fixture("task-c.wav")));
  ASSERT_TRUE(T->OpenOutput(Dir.File("c.mp4"), nullptr)) << T->LastErrMsg();
  ASSERT_EQ(Output()->nb_streams, 1u);
  EXPECT_EQ(Stream(0, 0).enc_ctx->codec_type, AVMEDIA_TYPE_AUDIO);
  EXPECT_EQ(Stream(0, 0).enc_ctx->sample_rate, 48000);
}

TEST_F(OutputFileTest, JoinGivesOneOutputEntryPerInputOnOneFile) {
  const std::string Inputs[] = {Fixture("task-a.avi"), Fixture("task-b.ts"), Fixture("task-c.wav")};
  Int64 Sum = 0;
  for (const std::string& In : Inputs) {
    ASSERT_TRUE(OpenInput(In)) << T->LastErrMsg();
    Sum += ProbeMicroseconds(In, "format=duration");
  }
  TOutputOptions O;
  O.Join = true;
  ASSERT_TRUE(T->OpenOutput(Dir.File("joined.mp4"), &O)) << T->LastErrMsg();

  EXPECT_TRUE(T->JoinMode());
  ASSERT_EQ(T->OutputFileCount(), 3);
  AVFormatContext* oc = Output(0);
  ASSERT_EQ(oc->nb_streams, 2u);  // the kinds of the first input
  for (int K = 0; K < 3; ++K) {
    SCOPED_TRACE(K);
    EXPECT_EQ(Output(K), oc);
    ASSERT_EQ(T->Foutput_streams_for_file[K].size(), 2u);
    for (int J = 0; J < 2; ++J) {
      EXPECT_EQ(Stream(K, J).file_index, K);
      EXPECT_EQ(Stream(K, J).index, J);
    }
  }
  EXPECT_NEAR(T->TotalOutputDuration(), Sum, 3000);

  // One join per task.
  EXPECT_EQ(T->OpenOutputFile(Dir.File("second.mp4"), true), -1);
  EXPECT_EQ(T->LastErrMsg(), "Cannot join more than one output file.");
  EXPECT_FALSE(std::filesystem::exists(Dir.File("second.mp4")));
}

TEST_F(OutputFileTest, AudioTimeBaseFollowsTheRateTheEncoderTakes) {
  ASSERT_TRUE(OpenInput(Fixture("task-a.avi")));  // 44.1 kHz
  TOutputOptions O;
  O.AudioCodec = "libopus";
  ASSERT_TRUE(T->OpenOutput(Dir.File("a.opus"), &O)) << T->LastErrMsg();
  ASSERT_EQ(Output()->nb_streams, 1u);
  const AVCodecContext* A = Stream(0, 0).enc_ctx.get();
  EXPECT_EQ(A->sample_rate, 48000);
  EXPECT_EQ(A->time_base.num, 1);
  EXPECT_EQ(A->time_base.den, 48000);
  EXPECT_TRUE(Logged("Requested sampling rate unsupported using closest supported (48000)"));
}

TEST_F(OutputFileTest, VideoStreamTakesTheOptionState) {
  // No input: the frame size is 0x0 and no rate is known.
  for (const auto& [N, V] : {std::pair{"aspect", "4:3"}, {"qscale", "2"}, {"streamid", "0:256"}, {"vlang", "eng"},
                              {"vcodec", "mpeg4"}, {"an", "1"}, {"intra", "1"}})
    T->SetExtOption(N, V);
  ASSERT_EQ(T->OpenOutputFile(Dir.File("v.avi"), false), 1) << T->LastErrMsg();
  ASSERT_EQ(Output()->nb_streams, 1u);
  AVStream* st = Output()->streams[0];
  const AVCodecContext* V = Stream(0, 0).enc_ctx.get();
  EXPECT_EQ(st->id, 256);
  EXPECT_EQ(V->sample_aspect_ratio.num, 1);  // d = 4/3 x 3/4
  EXPECT_EQ(V->sample_aspect_ratio.den, 1);
  EXPECT_TRUE(V->flags & AV_CODEC_FLAG_QSCALE);
  EXPECT_EQ(V->global_quality, 236);
  EXPECT_EQ(V->gop_size, 0);
  EXPECT_EQ(V->time_base.den, 25);  // no rate known: 25 fps
  EXPECT_EQ(V->time_base.num, 1);
  const AVDictionaryEntry* Lang = ff::av_dict_get(st->metadata, "language", nullptr, 0);
  ASSERT_NE(Lang, nullptr);
  EXPECT_STREQ(Lang->value, "eng");
  // Consumed by this stream.
  EXPECT_TRUE(T->Fvideo_codec_name.empty());
  EXPECT_TRUE(T->Fvideo_language.empty());
  EXPECT_EQ(T->Fframe_pix_fmt, -1);
}

TEST_F(OutputFileTest, MuxerSettingsWaitForTheHeader) {
  ASSERT_TRUE(OpenInput(Fixture("task-b.ts")));
  T->SetExtOption("muxpreload", "0.25");
  T->SetExtOption("muxdelay", "0.5");
  T->SetExtOption("f", "vob");
  ASSERT_EQ(T->OpenOutputFile(Dir.File("out.mpg"), false), 1) << T->LastErrMsg();
  EXPECT_STREQ(Output()->oformat->name, "vob");
  EXPECT_EQ(Output()->max_delay, 500000);
  const TOptionList& Muxer = T->Foutput_file_settings[0].muxer_options;
  EXPECT_EQ(StreamListValue(Muxer, "preload"), "250000");
  EXPECT_TRUE(T->Flast_asked_format.empty());
}

TEST_F(OutputFileTest, BadOutputsFailWithTheirMessageAndLeaveNothing) {
  const std::string Regular = Fixture("task-c.wav");
  const struct {
    std::string File;
    std::string Ext;
    std::string Message;
    std::string VideoCodec = std::string();
  } Cases[] = {
      {Dir.File("none/out.mp4"), "", Dir.File("none/out.mp4") + ": No such file or directory"},
      {Regular + "/out.mp4", "", Regular + "/out.mp4: Not a directory"},
      {Dir.File("out.xyz"), "", "Unable to find a suitable output format for '" + Dir.File("out.xyz") + "'"},
      {Dir.File("out.mp4"), "f=nosuchmuxer", "Requested output format 'nosuchmuxer' is not a suitable output format"},
      {Dir.File("out.mp4"), "vcodec=nosuch", "new_video_stream fail: Unknown encoder 'nosuch'"},
      {Dir.File("out.mp4"), "acodec=mpeg4", "new_audio_stream fail: Invalid encoder type 'mpeg4'"},
      // Fails after the output was set up: the output is taken back.
      {Dir.File("out.mp4"), "vcodec=nosuch\nnewvideo=", "Unknown encoder 'nosuch'", "mpeg4"},
  };
  ASSERT_TRUE(OpenInput(Fixture("task-a.avi")));
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Ext + " " + C.File);
    TOutputOptions O;
    O.ExtOptions = C.Ext;
    O.VideoCodec = C.VideoCodec;
    EXPECT_FALSE(T->OpenOutput(C.File, &O));
    EXPECT_EQ(T->LastErrMsg(), C.Message);
    EXPECT_EQ(T->OutputFileCount(), 0);
    EXPECT_EQ(static_cast<int>(T->Foutput_codecs.size()), 0);
    EXPECT_EQ(T->Foutput_files[0], nullptr);
    EXPECT_TRUE(T->Foutput_streams_for_file[0].empty());
    EXPECT_TRUE(FilesInDir().empty());
    EXPECT_EQ(InterruptCB().Count(), 0);
    // The stored record of the failed slot is back to its defaults.
    ASSERT_NE(T->OutputOptions(0), nullptr);
    EXPECT_TRUE(T->OutputOptions(0)->ExtOptions.empty());
    T->Flast_asked_format.clear();
  }
  // A file that was there before a failed set-up stays.
  const std::string Existing = Dir.File("existing.mp4");
  vantrel::test::WriteFileBytes(Existing, "x");
  TOutputOptions O;
  O.VideoCodec = "mpeg4";
  O.ExtOptions = "vcodec=nosuch\nnewvideo=";
  EXPECT_FALSE(T->OpenOutput(Existing, &O));
  EXPECT_TRUE(std::filesystem::exists(Existing));
}

TEST_F(OutputFileTest, NewStreamWithoutAnOutputRaises) {
  try {
    T->AddStreamToLastOutput("newaudio");
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "At least one output file must be specified");
  }
}

}  // namespace
