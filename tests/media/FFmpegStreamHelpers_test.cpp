// Stream set-up helpers: fitting an encoder's sample rate, forced key frames, time
// parsing, array growth and the place of two-pass logs.
#include "media/AVCodecAPI.h"
#include "media/AVUtilAPI.h"
#include "platform/rtl/FileUtils.h"
#include "tests/media/FFmpegTestEngine.h"

using namespace vantrel::media;

namespace {

class StreamHelpersTest : public vantrel::test::TEngineTest {
 protected:
  void SetUp() override {
    TEngineTest::SetUp();
    E = CreateOwned<vantrel::test::TTestEngine>(2);
  }
  void TearDown() override {
    E.reset();
    TEngineTest::TearDown();
  }
  TOwned<vantrel::test::TTestEngine> E;
};

TEST_F(StreamHelpersTest, UnsupportedSampleRatePicksTheNearestWithAWarning) {
  const AVCodec* Opus = ff::avcodec_find_encoder_by_name("libopus");
  ASSERT_NE(Opus, nullptr);
  AVCodecContext* Ctx = ff::avcodec_alloc_context3(Opus);
  Ctx->sample_rate = 44100;
  E->ChooseSampleRate(Ctx, Opus);
  EXPECT_EQ(Ctx->sample_rate, 48000);
  EXPECT_TRUE(Logged("Requested sampling rate unsupported using closest supported (48000)"));
  Lines.clear();
  Ctx->sample_rate = 24000;
  E->ChooseSampleRate(Ctx, Opus);
  EXPECT_EQ(Ctx->sample_rate, 24000);
  EXPECT_TRUE(Lines.empty());
  // A format the encoder lacks becomes its first one.
  Ctx->sample_fmt = AV_SAMPLE_FMT_U8;
  E->ChooseSampleFormat(Ctx, Opus);
  EXPECT_EQ(Ctx->sample_fmt, Opus->sample_fmts[0]);
  ff::avcodec_free_context(&Ctx);
}

TEST_F(StreamHelpersTest, ForcedKeyFramesInEncoderUnits) {
  AVCodecContext* Ctx = ff::avcodec_alloc_context3(nullptr);
  Ctx->time_base = {1, 25};
  TAVOutputStream Ost;
  E->ParseForcedKeyFrames("0,10,20.5", Ost, Ctx);
  EXPECT_EQ(Ost.forced_kf_pts, (std::vector<Int64>{0, 250, 513}));
  EXPECT_EQ(Ost.forced_kf_count, 3);
  EXPECT_THROW(E->ParseForcedKeyFrames("0,,5", Ost, Ctx), FFmpegException);
  ff::avcodec_free_context(&Ctx);
}

TEST_F(StreamHelpersTest, TimesAndTheirErrors) {
  EXPECT_EQ(TCustomFFmpeg::ParseTime("t", "1:02:03.5", true), 3723500000);
  try {
    TCustomFFmpeg::ParseTime("timestamp", "yesterday", false);
    ADD_FAILURE();
  } catch (const FFmpegException& Ex) {
    EXPECT_EQ(Ex.Message(), "Invalid date specification for timestamp: yesterday");
  }
}

TEST_F(StreamHelpersTest, ArraysGrowZeroFilledUpToTheirLimit) {
  std::vector<Integer> A{7};
  GrowArray(A, 3);
  EXPECT_EQ(A, (std::vector<Integer>{7, 0, 0}));
  GrowArray(A, 1);
  EXPECT_EQ(A.size(), 3u);
  EXPECT_THROW(GrowArray(A, 2147483647 / 4), Exception);
}

TEST_F(StreamHelpersTest, PassLogsLiveInThePrivateTempFolder) {
  const String Name = E->PassLogFileName(0);
  EXPECT_EQ(Name.rfind(GetTempFolder() + "ffmpeg2pass-", 0), 0u) << Name;
  EXPECT_TRUE(Name.ends_with("-0.log"));
  E->SetExtOption("passlogfile", "mine");
  EXPECT_EQ(E->PassLogFileName(1), GetTempFolder() + "mine-1.log");
}

TEST_F(StreamHelpersTest, FeedStreamsAreRefusedClearly) {
  EXPECT_THROW(E->ReadFeedStreams(nullptr, "http://host/feed1.ffm"), FFmpegException);
}

}  // namespace
