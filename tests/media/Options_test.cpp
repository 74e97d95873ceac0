// The option vocabulary and its handlers: names reach the right field or handler, bad
// values raise the option's own message and leave the state as it was.
#include <cmath>

#include "media/AVCodecAPI.h"
#include "media/AVUtilAPI.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "tests/media/FFmpegTestEngine.h"

using namespace vantrel::media;
using vantrel::test::TTestEngine;

namespace {

class OptionsTest : public vantrel::test::TEngineTest {
 protected:
  void SetUp() override {
    TEngineTest::SetUp();
    E = CreateOwned<TTestEngine>(4);
  }
  void TearDown() override {
    E.reset();
    TEngineTest::TearDown();
  }
  // The message of what AAction raises, "" when it raises nothing.
  template <class F>
  static std::string Raised(F AAction) {
    try {
      AAction();
    } catch (const Exception& Ex) {
      return Ex.Message();
    }
    return "";
  }
  int64_t TemplateInt(int AType, const char* AName) {
    int64_t V = -1;
    EXPECT_GE(ff::av_opt_get_int(E->FOptions.avcodec_opts[AType], AName, 0, &V), 0) << AName;
    return V;
  }

  TOwned<TTestEngine> E;
};

TEST_F(OptionsTest, FlagIsSetByEveryValueButZero) {
  const struct {
    const char* Value;
    bool Expected;
  } Cases[] = {{"", true}, {"0", false}, {"false", true}, {"1", true}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Value);
    E->Faudio_disable = !C.Expected;
    E->SetExtOption("an", C.Value);
    EXPECT_EQ(E->Faudio_disable, C.Expected);
    E->SetExtOption("vn", C.Value);
    EXPECT_EQ(E->Fvideo_disable, C.Expected);
  }
}

TEST_F(OptionsTest, RemovedOptionsRaiseAndChangeNothing) {
  const struct {
    const char* Name;
    const char* Value;
    const char* Message;
  } Cases[] = {
      {"croptop", "10", "Removed, use the crop filter instead"},
      {"cropright", "", "Removed, use the crop filter instead"},
      {"padleft", "8", "Removed, use the pad filter instead"},
      {"padcolor", "000000", "Removed, use the pad filter instead"},
      {"sameq", "1", "Removed, use qscale or a quality option of the codec instead"},
      {"me_threshold", "5", "Removed, motion estimation thresholds are not supported"},
      {"vc", "1", "Removed, capture device channels are not supported"},
      {"tvstd", "pal", "Removed, capture device TV standards are not supported"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(Raised([&] { E->SetExtOption(C.Name, C.Value); }), C.Message);
  }
  EXPECT_FALSE(E->Fsame_quality);
  // Values that would change nothing are accepted.
  EXPECT_EQ(Raised([&] { E->SetExtOption("sameq", "0"); }), "");
  EXPECT_EQ(Raised([&] { E->SetExtOption("me_threshold", "0"); }), "");
}

TEST_F(OptionsTest, UnknownNameRaisesOnlyWhileHaltOnInvalidOption) {
  EXPECT_EQ(Raised([&] { E->SetExtOption("VCODEC", "mpeg4"); }), "Unrecognized option \"VCODEC\"");
  E->HaltOnInvalidOption = false;
  EXPECT_EQ(Raised([&] { E->SetExtOption("VCODEC", "mpeg4"); }), "");
  EXPECT_EQ(E->Fvideo_codec_name, "");
  E->SetExtOption("vcodec", "mpeg4");
  EXPECT_EQ(E->Fvideo_codec_name, "mpeg4");
}

TEST_F(OptionsTest, NumberOptionWithTextRaisesAndKeepsTheField) {
  E->SetExtOption("fs", "1000");
  EXPECT_EQ(E->Flimit_filesize, 1000);
  EXPECT_THROW(E->SetExtOption("fs", "x"), EConvertError);
  EXPECT_EQ(E->Flimit_filesize, 1000);
  EXPECT_THROW(E->SetExtOption("aq", "high"), EConvertError);
}

TEST_F(OptionsTest, NamesOutsideTheVocabularyReachTheCodecTemplates) {
  E->SetExtOption("qmin", "7");
  EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_VIDEO, "qmin"), 7);
  E->SetExtOption("ab", "128000");
  EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_AUDIO, "b"), 128000);
  EXPECT_EQ(Raised([&] { E->SetExtOption("qmin", "many"); }), "Invalid value \"many\" for option \"qmin\"");
}

TEST_F(OptionsTest, EmptyNameAndNoOpNamesChangeNothing) {
  EXPECT_EQ(Raised([&] { E->SetExtOption("", "x"); }), "");
  EXPECT_EQ(Raised([&] { E->SetExtOption("  ", ""); }), "");
  E->SetExtOption("y", "");
  EXPECT_TRUE(Logged("Do nothing: option - y"));
}

TEST_F(OptionsTest, VolumeThroughTheVocabularyKeepsItsCheck) {
  E->SetExtOption("vol", "512");
  EXPECT_EQ(E->Faudio_volume, 512);
  E->SetExtOption("vol", "-5");
  EXPECT_EQ(E->Faudio_volume, 512);
}

TEST_F(OptionsTest, TimestampBecomesTheCreationTimeTag) {
  E->SetExtOption("timestamp", "2010-06-01T12:30:15Z");
  EXPECT_EQ(E->Frecording_timestamp, 1275395415);
  const AVDictionaryEntry* Tag = ff::av_dict_get(E->Fmetadata, "creation_time", nullptr, 0);
  ASSERT_NE(Tag, nullptr);
  EXPECT_STREQ(Tag->value, "2010-06-01T12:30:15.000000Z");
}

TEST_F(OptionsTest, AspectRatioAcceptsRatiosAndNumbersOnly) {
  E->SetAspectRatio("16:9");
  EXPECT_NEAR(E->Fframe_aspect_ratio, 1.7777778, 1e-6);
  E->SetAspectRatio("1.5");
  EXPECT_FLOAT_EQ(E->Fframe_aspect_ratio, 1.5f);
  for (const char* Bad : {"0:9", "16:0", "wide", "0"}) {
    SCOPED_TRACE(Bad);
    EXPECT_EQ(Raised([&] { E->SetAspectRatio(Bad); }), "Incorrect aspect ratio specification.");
    EXPECT_FLOAT_EQ(E->Fframe_aspect_ratio, 1.5f);
  }
}

TEST_F(OptionsTest, CodecTagFromFourCharactersOrANumber) {
  E->SetCodecTag("vtag", "XVID");
  EXPECT_EQ(E->Fvideo_codec_tag, 0x44495658u);
  E->SetCodecTag("vtag", "1234");
  EXPECT_EQ(E->Fvideo_codec_tag, 1234u);
  EXPECT_EQ(Raised([&] { E->SetCodecTag("vtag", "DX5"); }), "tag parameter must be 4 chars or int value");
  EXPECT_EQ(Raised([&] { E->SetCodecTag("xtag", "XVID"); }), "Invalid tag parmeter xtag");
  EXPECT_EQ(E->Fvideo_codec_tag, 1234u);
}

TEST_F(OptionsTest, CodecCopyAndNames) {
  E->SetExtOption("vcodec", "libx264");
  E->SetExtOption("vcodec", "copy");
  EXPECT_EQ(E->Fvideo_stream_copy, 1);
  EXPECT_EQ(E->Fvideo_codec_name, "");
  Integer Id = -1;
  EXPECT_FALSE(E->FindCodec("nosuchcodec", AVMEDIA_TYPE_VIDEO, Id, 0, true));
  EXPECT_EQ(E->LastErrMsg(), "Unknown encoder 'nosuchcodec'");
  EXPECT_FALSE(E->FindCodec("aac", AVMEDIA_TYPE_VIDEO, Id, 0, true));
  EXPECT_EQ(E->LastErrMsg(), "Invalid encoder type 'aac'");
  EXPECT_TRUE(E->FindCodec("mpeg4", AVMEDIA_TYPE_VIDEO, Id, 0, true));
  EXPECT_EQ(Id, AV_CODEC_ID_MPEG4);
}

TEST_F(OptionsTest, StreamAndMetadataMapsAreParsed) {
  E->SetExtOption("map", "0.1");
  E->SetExtOption("map", "0.1:1.0");
  ASSERT_EQ(E->Fstream_maps.size(), 2u);
  const auto& A = E->Fstream_maps[0];
  const auto& B = E->Fstream_maps[1];
  EXPECT_EQ((std::vector<int>{A.file_index, A.stream_index, A.sync_file_index, A.sync_stream_index}),
            (std::vector<int>{0, 1, 0, 1}));
  EXPECT_EQ((std::vector<int>{B.file_index, B.stream_index, B.sync_file_index, B.sync_stream_index}),
            (std::vector<int>{0, 1, 1, 0}));

  E->SetExtOption("map_meta_data", "0,s1:1,g");
  ASSERT_EQ(E->Fmeta_data_maps.size(), 2u);
  EXPECT_EQ(E->Fmeta_data_maps[0].file_idx, 0);
  EXPECT_EQ(E->Fmeta_data_maps[0].type_, 's');
  EXPECT_EQ(E->Fmeta_data_maps[0].index, 1);
  EXPECT_EQ(E->Fmeta_data_maps[1].file_idx, 1);
  EXPECT_EQ(E->Fmeta_data_maps[1].type_, 'g');
  EXPECT_EQ(E->Fmetadata_streams_autocopy, 0);
  EXPECT_EQ(E->Fmetadata_global_autocopy, 0);
  EXPECT_EQ(E->Fmetadata_chapters_autocopy, 1);
  EXPECT_EQ(Raised([&] { E->SetExtOption("map_meta_data", "0,x:1"); }), "Invalid metadata type x.");
}

TEST_F(OptionsTest, ValueSyntaxErrorsCarryTheirMessages) {
  std::string Matrix63, Matrix64;
  for (int I = 0; I < 64; ++I) {
    Matrix64 += (I ? "," : "") + std::to_string(I + 1);
    if (I < 63) Matrix63 += (I ? "," : "") + std::to_string(I + 1);
  }
  E->SetExtOption("intra_matrix", Matrix64);
  ASSERT_EQ(E->Fintra_matrix.size(), 64u);
  EXPECT_EQ(E->Fintra_matrix[63], 64);

  const struct {
    const char* Name;
    std::string Value;
    std::string Message;
  } Cases[] = {
      {"inter_matrix", Matrix63, "Syntax error in matrix \"" + Matrix63 + "\" at coeff 62"},
      {"itsscale", "20:1.5", "stream index over MAX_STREAMS(20)"},
      {"metadata", "title", "Missing ="},
      {"metadata", "=x", "wrong parameter of metadata"},
      {"streamid", "0:abc", "Invalid value \"0:abc\" for option \"streamid\", required syntax is \"index:value\""},
      {"streamid", "-1:5", "Invalid value \"-1:5\" for option \"streamid\", required syntax is \"index:value\""},
      {"pix_fmt", "nosuch", "Unknown pixel format requested: nosuch"},
      {"sample_fmt", "nosuch", "Invalid sample format \"nosuch\""},
      {"qscale", "0", "qscale must be > 0.0 and <= 255"},
      {"pass", "3", "pass number can be only 1 or 2"},
      {"r", "fast", "Incorrect frame rate"},
      {"s", "big", "Incorrect frame size"},
      {"t", "abc", "Invalid duration specification for t: abc"},
      {"vbsf", "nosuch_bsf=x", "Unknown bitstream filter nosuch_bsf=x"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(Raised([&] { E->SetExtOption(C.Name, C.Value); }), C.Message);
  }
  E->SetExtOption("metadata", "title=a=b");
  EXPECT_STREQ(ff::av_dict_get(E->Fmetadata, "title", nullptr, 0)->value, "a=b");
  E->SetExtOption("streamid", "2:33");
  EXPECT_EQ(E->Fstreamid_map, (std::vector<Integer>{0, 0, 33}));
  E->SetExtOption("qscale", "255");
  E->SetExtOption("itsscale", "1:2.5");
  EXPECT_EQ(E->Finput_files_ts_scale[0], (std::vector<Double>{0, 2.5}));
}

TEST_F(OptionsTest, RatesAndChannelsIgnoreValuesOutOfRange) {
  E->SetAudioRate(0);
  E->SetAudioChannels(-1);
  EXPECT_EQ(E->Faudio_sample_rate, 44100);
  EXPECT_EQ(E->Faudio_channels, 2);
  E->SetExtOption("ar", "22050");
  E->SetExtOption("ac", "1");
  EXPECT_EQ(E->Faudio_sample_rate, 22050);
  EXPECT_EQ(E->Faudio_channels, 1);
}

TEST_F(OptionsTest, PixelFormatListIsLoggedAndChangesNothing) {
  const size_t Before = Lines.size();
  E->SetExtOption("pix_fmt", "list");
  EXPECT_EQ(Lines.size() - Before, static_cast<size_t>(AV_PIX_FMT_NB) + 1);
  EXPECT_EQ(E->Fframe_pix_fmt, -1);
}

TEST_F(OptionsTest, StatisticsFileGoesToThePrivateTempFolder) {
  E->SetExtOption("vstats", "1");
  const String First = E->Fvstats_filename;
  EXPECT_EQ(First.rfind(GetTempFolder(), 0), 0u) << First;
  TOwned<TTestEngine> Other = CreateOwned<TTestEngine>(1);
  Other->SetExtOption("vstats", "1");
  EXPECT_NE(Other->Fvstats_filename, First);
}

}  // namespace
