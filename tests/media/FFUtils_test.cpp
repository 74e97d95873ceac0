// Engine utilities: time texts, frame durations, error texts, the generic option store,
// the whole-file reader, presentation-time correction and codec names.
#include "media/FFUtils.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLoad.h"
#include "media/FFLog.h"
#include "tests/support/TempDir.h"
#include "tests/support/ProbeFixtures.h"

using namespace vantrel::media;

namespace {

class FFUtilsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FFLoader().Load(DecoderLibraries)) << FFLoader().LastErrMsg();
  }
};

std::string DictValue(const AVDictionary* D, const char* Key) {
  const AVDictionaryEntry* E = ff::av_dict_get(D, Key, nullptr, AV_DICT_MATCH_CASE);
  return E ? E->value : "<none>";
}

}  // namespace

TEST(FFUtils, TimestampToStrSplitsMicroseconds) {
  const struct {
    Int64 Time;
    const char* Text;
  } Cases[] = {
      {((1 * 60 + 2) * 60 + 3) * Int64{1000000} + 4000, "01:02:03.004"},
      {100 * 3600 * Int64{1000000}, "100:00:00.000"},  // hours are not wrapped
      {0, "00:00:00.000"},
      {999, "00:00:00.000"},
      {-1500000, "00:00:-01.-500"},  // truncation toward zero: negative fields
      {NoPTSValue, "N/A"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(TimestampToStr(C.Time), C.Text);
  }
}

TEST(FFUtils, FrameDurationDropsTheFractionAndDefaultsTo25Fps) {
  EXPECT_EQ(FrameDuration({30000, 1001}), 33366);
  EXPECT_EQ(FrameDuration({25, 1}), 40000);
  EXPECT_EQ(FrameDuration({24, 1}), 41666);
  EXPECT_EQ(FrameDuration({25, 0}), 40000);
  EXPECT_EQ(FrameDuration({0, 1}), 40000);
}

TEST(FFUtils, PrintErrorUsesTheTableAndFallsBack) {
  const struct {
    Integer Code;
    const char* Text;
  } Cases[] = {
      {-2, "a.avi: No such file or directory"},
      {-999, "a.avi: Error number -999 occurred"},
      {0, "a.avi: Error number 0 occurred"},
      {-22, "a.avi: Invalid argument / Invalid data found when processing input"},
      {-10022, "a.avi: Invalid argument / Invalid data found when processing input"},
      {-10035, "a.avi: WSAEWOULDBLOCK"},
      {-11004, "a.avi: WSANO_DATA"},
      {-131, "a.avi: State not recoverable"},
      {-41, "a.avi: Error number -41 occurred"},  // a gap in the errno rows
      {AVERROR_DEMUXER_NOT_FOUND, "a.avi: Demuxer not found"},
      {AVERROR_PATCHWELCOME, "a.avi: Not yet implemented in FFmpeg"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Code);
    EXPECT_EQ(PrintError("a.avi", C.Code), C.Text);
  }
}

TEST_F(FFUtilsTest, PrintErrorOfFFmpegsOwnCodesMatchesItsErrorTexts) {
  for (int Code : {AVERROR_EOF, AVERROR_INVALIDDATA, AVERROR_EXIT}) {
    SCOPED_TRACE(Code);
    char Buf[128] = {};
    ASSERT_EQ(ff::av_strerror(Code, Buf, sizeof Buf), 0);
    EXPECT_EQ(PrintError("f", Code), std::string("f: ") + Buf);
  }
}

TEST_F(FFUtilsTest, OptDefaultRoutesOptionsToTheTemplatesThatKnowThem) {
  TFFOptions Opts;
  InitOpts(Opts, 4);
  const struct {
    const char* Name;
    const char* Value;
    const char* Stored;  // the name kept in opt_names
  } Set[] = {
      {"b", "1000k", "b"},           // video and audio codec option
      {"athreads", "3", "threads"},  // "a" + a codec option: audio template only
      {"vtrellis", "1", "trellis"},  // "v" + a codec option: video template only
      {"g", "12", "g"},              // video only
      {"ar", "22050", "ar"},         // audio only
      {"probesize", "5000000", "probesize"},
      {"sws_flags", "bicubic", "sws_flags"},
      {"preset", "fast", "preset"},  // private option of an encoder
  };
  for (const auto& S : Set) {
    SCOPED_TRACE(S.Name);
    EXPECT_TRUE(OptDefault(Opts, S.Name, S.Value)) << LastOptionError();
  }
  ASSERT_EQ(Opts.opt_name_count, 8);
  for (size_t I = 0; I < std::size(Set); ++I) EXPECT_EQ(Opts.opt_names[I], Set[I].Stored);
  EXPECT_EQ(Opts.opt_values[7], "fast");
  EXPECT_EQ(Opts.opt_values[0], "");

  AVDictionary* const* Codec = Opts.codec_dict;
  EXPECT_EQ(DictValue(Codec[AVMEDIA_TYPE_VIDEO], "b"), "1000k");
  EXPECT_EQ(DictValue(Codec[AVMEDIA_TYPE_AUDIO], "b"), "1000k");
  EXPECT_EQ(DictValue(Codec[AVMEDIA_TYPE_AUDIO], "threads"), "3");
  EXPECT_EQ(DictValue(Codec[AVMEDIA_TYPE_VIDEO], "threads"), "<none>");
  EXPECT_EQ(DictValue(Codec[AVMEDIA_TYPE_VIDEO], "trellis"), "1");
  EXPECT_EQ(DictValue(Codec[AVMEDIA_TYPE_AUDIO], "trellis"), "<none>");
  EXPECT_EQ(DictValue(Codec[AVMEDIA_TYPE_SUBTITLE], "b"), "<none>");
  EXPECT_EQ(DictValue(Codec[AVMEDIA_TYPE_DATA], "b"), "1000k");  // the data type takes any
  EXPECT_EQ(DictValue(Codec[AVMEDIA_TYPE_VIDEO], "g"), "12");
  EXPECT_EQ(DictValue(Codec[AVMEDIA_TYPE_AUDIO], "g"), "<none>");
  EXPECT_EQ(DictValue(Codec[AVMEDIA_TYPE_AUDIO], "ar"), "22050");
  EXPECT_EQ(DictValue(Codec[AVMEDIA_TYPE_VIDEO], "ar"), "<none>");
  EXPECT_EQ(DictValue(Opts.format_dict, "probesize"), "5000000");
  EXPECT_EQ(DictValue(Opts.sws_dict, "sws_flags"), "bicubic");
  EXPECT_EQ(Opts.avcodec_opts[AVMEDIA_TYPE_VIDEO]->bit_rate, 1000000);
  EXPECT_EQ(Opts.avcodec_opts[AVMEDIA_TYPE_AUDIO]->thread_count, 3);

  UninitOpts(Opts);
  EXPECT_EQ(Opts.opt_name_count, 0);
  EXPECT_TRUE(Opts.opt_names.empty());
  EXPECT_EQ(Opts.avcodec_opts[0], nullptr);
  EXPECT_EQ(Opts.codec_dict[AVMEDIA_TYPE_VIDEO], nullptr);
}

TEST_F(FFUtilsTest, OptDefaultRefusesUnknownNamesAndBadValues) {
  TFFOptions Opts;
  InitOpts(Opts, 0);
  const struct {
    const char* Name;
    const char* Value;
    const char* Error;  // nullptr: LastOptionError untouched
  } Cases[] = {
      {"b", "lots", "Invalid value \"lots\" for option \"b\""},
      {"ab", "lots", "Invalid value \"lots\" for option \"ab\""},
      {"nosuchoption", "1", "Unrecognized option \"nosuchoption\""},
      {"", "1", nullptr},
      {"   ", "1", nullptr},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    const std::string Before = LastOptionError();
    EXPECT_FALSE(OptDefault(Opts, C.Name, C.Value));
    EXPECT_EQ(LastOptionError(), C.Error ? C.Error : Before);
  }
  EXPECT_EQ(Opts.opt_name_count, 0);
  EXPECT_EQ(DictValue(Opts.codec_dict[AVMEDIA_TYPE_VIDEO], "b"), "<none>");
}

TEST_F(FFUtilsTest, OptDefaultWithDebugRaisesTheLogLevel) {
  TFFOptions Opts;
  InitOpts(Opts, 0);
  GetFFLogger()->SetLogLevel(llInfo);
  ASSERT_TRUE(OptDefault(Opts, "threads", "2"));
  EXPECT_EQ(GetFFLogger()->LogLevel(), llInfo);
  ASSERT_TRUE(OptDefault(Opts, "debug", "pict"));
  EXPECT_EQ(GetFFLogger()->LogLevel(), llDebug);
  GetFFLogger()->SetLogLevel(llInfo);
}

TEST_F(FFUtilsTest, SetContextOptsPicksWhatTheTargetTakes) {
  TFFOptions Opts;
  InitOpts(Opts, 0);
  const std::pair<const char*, const char*> Set[] = {{"b", "900k"},
                                                     {"g", "30"},
                                                     {"preset", "fast"},
                                                     {"movflags", "+faststart"},
                                                     {"probesize", "4096"}};
  for (auto [N, V] : Set) ASSERT_TRUE(OptDefault(Opts, N, V)) << N << ": " << LastOptionError();

  // An H.264 encoder takes the video encoding options and its own private "preset",
  // not the muxer's private "movflags".
  const AVCodec* X264 = ff::avcodec_find_encoder(AV_CODEC_ID_H264);
  ASSERT_NE(X264, nullptr);
  AVCodecContext* Enc = ff::avcodec_alloc_context3(X264);
  AVDictionary* D = nullptr;
  SetContextOpts(Opts, Enc, Opts.codec_dict[AVMEDIA_TYPE_VIDEO],
                 AV_OPT_FLAG_ENCODING_PARAM | AV_OPT_FLAG_VIDEO_PARAM, X264, &D);
  EXPECT_EQ(DictValue(D, "b"), "900k");
  EXPECT_EQ(DictValue(D, "g"), "30");
  EXPECT_EQ(DictValue(D, "preset"), "fast");
  EXPECT_EQ(DictValue(D, "movflags"), "<none>");
  EXPECT_EQ(ff::av_dict_count(D), 3);
  ff::av_dict_free(&D);

  // With the decoding flag, "b" and "g" (encoding options) stay out.
  SetContextOpts(Opts, Enc, Opts.codec_dict[AVMEDIA_TYPE_VIDEO], AV_OPT_FLAG_DECODING_PARAM, X264,
                 &D);
  EXPECT_EQ(DictValue(D, "b"), "<none>");
  EXPECT_EQ(DictValue(D, "g"), "<none>");
  ff::av_dict_free(&D);
  ff::avcodec_free_context(&Enc);

  // An MP4 muxer's context takes the format options and "movflags".
  AVFormatContext* Mux = ff::avformat_alloc_context();
  void* It = nullptr;
  while (const AVOutputFormat* F = ff::av_muxer_iterate(&It))
    if (std::string(F->name) == "mp4") Mux->oformat = F;
  ASSERT_NE(Mux->oformat, nullptr);
  SetContextOpts(Opts, Mux, Opts.format_dict, 0, nullptr, &D);
  EXPECT_EQ(DictValue(D, "probesize"), "4096");
  EXPECT_EQ(DictValue(D, "movflags"), "+faststart");
  EXPECT_EQ(DictValue(D, "preset"), "<none>");
  ff::av_dict_free(&D);
  ff::avformat_free_context(Mux);
}

TEST_F(FFUtilsTest, ReadWholeFileAddsATerminator) {
  vantrel::test::TTempDir Dir;
  vantrel::test::WriteFileBytes(Dir.File("stats.log"), std::string("abc\0def", 7));
  vantrel::test::WriteFileBytes(Dir.File("empty.log"), "");
  char* Buffer = nullptr;
  Integer Size = 0;
  ASSERT_EQ(ReadWholeFile(Dir.File("stats.log"), Buffer, Size), 0);
  EXPECT_EQ(Size, 8);
  EXPECT_EQ(std::string(Buffer, 8), std::string("abc\0def\0", 8));
  ff::av_free(Buffer);

  ASSERT_EQ(ReadWholeFile(Dir.File("empty.log"), Buffer, Size), 0);
  EXPECT_EQ(Size, 1);
  EXPECT_EQ(Buffer[0], '\0');
  ff::av_free(Buffer);

  char Sentinel = 'x';
  Buffer = &Sentinel;
  Size = 42;
  EXPECT_EQ(ReadWholeFile(Dir.File("missing.log"), Buffer, Size), -1);
  EXPECT_EQ(Buffer, &Sentinel);
  EXPECT_EQ(Size, 42);
}

TEST(FFUtils, GuessCorrectPtsSwitchesToDtsWhenPtsGoWrong) {
  TPtsCorrectionContext Ctx;
  InitPtsCorrection(Ctx);
  const Int64 N = NoPTSValue;
  // Presentation times stall at 100 while decoding times keep increasing.
  const struct {
    Int64 Pts, Dts, Expected;
  } Steps[] = {
      {0, N, 0},                      // only a pts
      {N, 5, 5},                      // only a dts
      {100, 10, 100},                 // both increase
      {100, 20, 20},                  // one pts fault, no dts fault: dts wins
      {200, 30, 30},                  // faults stay 1 : 0
      {N, N, N},
  };
  for (const auto& S : Steps) {
    SCOPED_TRACE(S.Dts);
    EXPECT_EQ(GuessCorrectPts(Ctx, S.Pts, S.Dts), S.Expected);
  }
  EXPECT_EQ(Ctx.num_faulty_pts, 1);
  EXPECT_EQ(Ctx.num_faulty_dts, 0);
}

TEST_F(FFUtilsTest, CodecNamesComeFromCodecsIdsOrTags) {
  const struct {
    AVCodecID Id;
    uint32_t Tag;
    bool Encoder;
    const char* Name;
  } Cases[] = {
      {AV_CODEC_ID_H264, 0, false, "h264(H.264 / AVC / MPEG-4 AVC / MPEG-4 part 10)"},
      {AV_CODEC_ID_H264, 0, true, "libx264(libx264 H.264 / AVC / MPEG-4 AVC / MPEG-4 part 10)"},
      {AV_CODEC_ID_MPEG2TS, 0, false, "mpeg2ts"},
      {AV_CODEC_ID_AMR_NB, 0, true, "amr_nb"},  // known id, no encoder in this build
      {AV_CODEC_ID_NONE, MKTAG('X', 'V', 'I', 'D'), false, "XVID / 0x44495658"},
      {AV_CODEC_ID_NONE, 0x1A2B, false, "0x1A2B"},
      {AV_CODEC_ID_NONE, 2, false, "0x0002"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    AVCodecParameters Par{};
    Par.codec_id = C.Id;
    Par.codec_tag = C.Tag;
    EXPECT_EQ(GetCodecName(&Par, C.Encoder), C.Name);
  }
}

TEST_F(FFUtilsTest, MetadataValuesAreUtf8AndFallBackToTheDefault) {
  AVDictionary* M = nullptr;
  ff::av_dict_set(&M, "title", "Tést Тест 测试", 0);
  EXPECT_EQ(GetMetadataValue(M, "title", "-"), "Tést Тест 测试");
  EXPECT_EQ(GetMetadataValue(M, "TITLE", "-"), "Tést Тест 测试");
  EXPECT_EQ(GetMetadataValue(M, "tit", "-"), "-");  // whole keys only
  EXPECT_EQ(GetMetadataValue(nullptr, "title", "none"), "none");
  ff::av_dict_free(&M);
}
