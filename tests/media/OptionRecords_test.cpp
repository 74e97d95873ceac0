// The option records: their defaults, the text form of extra options, and how an
// output record reaches a task (order of the fields, fields over extra options, the
// per-stream values of the first and the added streams).
#include <cstdlib>
#include <ctime>

#include "tests/media/TaskTestEngine.h"

using namespace vantrel::media;
using vantrel::test::TTaskTest;

namespace {

class OptionRecordsTest : public TTaskTest {
 protected:
  int64_t TemplateInt(int AType, const char* AName) {
    int64_t V = -1;
    EXPECT_GE(ff::av_opt_get_int(T->FOptions.avcodec_opts[AType], AName, 0, &V), 0) << AName;
    return V;
  }
  String Metadata(const char* AKey) {
    const AVDictionaryEntry* E = ff::av_dict_get(T->Fmetadata, AKey, nullptr, 0);
    return E ? String(E->value) : String("<none>");
  }
  template <class F>
  static std::string Raised(F AAction) {
    try {
      AAction();
    } catch (const Exception& E) {
      return E.Message();
    }
    return "";
  }
};

TEST(OptionRecords, ResetGivesEveryFieldItsDefault) {
  int Data = 0;
  TInputOptions I{"in.avi", "avi", 5, 3, "b=1", 7, &Data};
  ResetInputOptions(I);
  EXPECT_EQ(I.FileName, "");
  EXPECT_EQ(I.ForceFormat, "");
  EXPECT_EQ(I.TimeStart, NoPTSValue);
  EXPECT_EQ(I.ProgramID, -1);
  EXPECT_EQ(I.ExtOptions, "");
  EXPECT_EQ(I.Tag, 0);
  EXPECT_EQ(I.Data, nullptr);

  TOutputOptions O;
  // Every field away from its default, then back.
  O.FileName = O.FileExt = O.ForceFormat = O.AudioCodec = O.AudioPreset = O.AudioLanguage = O.AudioTag = "x";
  O.VideoCodec = O.VideoPreset = O.FrameRate = O.FrameSize = O.FrameAspectRatio = O.VideoTag = "x";
  O.VideoFilters = O.VideoLanguage = O.SubtitleCodec = O.SubtitlePreset = O.SubtitleLanguage = O.ExtOptions = "x";
  O.PacketSize = O.MuxRate = O.AudioVolume = O.AudioChannels = O.AudioSampleRate = O.AudioBitrate = 9;
  O.AudioBitRateTolerance = O.AudioSyncMethod = O.GroupPictureSize = O.VideoBitrate = O.VideoMaxRate = 9;
  O.VideoMinRate = O.VideoBitRateTolerance = O.VideoBufSize = O.VideoSyncMethod = O.VideoHookBitsPixel = O.Tag = 9;
  O.MuxDelay = O.MuxPreload = 9;
  O.DisableAudio = O.DisableVideo = O.DisableSubtitle = O.InputSync = O.CopyTimestamp = true;
  O.AudioHook = O.VideoInputHook = O.VideoOutputHook = O.Join = true;
  O.TimeStart = O.TimeLength = 9;
  O.Info = {1.5, 2000, 3, "t", "a", "c", "m", "al", "g"};
  O.TargetType = ttDVD;
  O.NormType = ntNTSC;
  O.NormDefault = ntNTSC;
  O.Data = &Data;
  ResetOutputOptions(O);

  for (const String* S : {&O.FileName, &O.FileExt, &O.ForceFormat, &O.AudioCodec, &O.AudioPreset, &O.AudioLanguage,
                          &O.AudioTag, &O.VideoCodec, &O.VideoPreset, &O.FrameRate, &O.FrameSize,
                          &O.FrameAspectRatio, &O.VideoTag, &O.VideoFilters, &O.VideoLanguage, &O.SubtitleCodec,
                          &O.SubtitlePreset, &O.SubtitleLanguage, &O.ExtOptions, &O.Info.Title, &O.Info.Author,
                          &O.Info.Copyright, &O.Info.Comment, &O.Info.Album, &O.Info.Genre})
    EXPECT_EQ(*S, "");
  const struct {
    const char* Name;
    Integer Value;
    Integer Default;
  } Ints[] = {{"PacketSize", O.PacketSize, -1},
              {"MuxRate", O.MuxRate, -1},
              {"AudioVolume", O.AudioVolume, -1},
              {"AudioChannels", O.AudioChannels, -1},
              {"AudioSampleRate", O.AudioSampleRate, -1},
              {"AudioBitrate", O.AudioBitrate, -1},
              {"AudioBitRateTolerance", O.AudioBitRateTolerance, -1},
              {"AudioSyncMethod", O.AudioSyncMethod, 0},
              {"GroupPictureSize", O.GroupPictureSize, -1},
              {"VideoBitrate", O.VideoBitrate, -1},
              {"VideoMaxRate", O.VideoMaxRate, -1},
              {"VideoMinRate", O.VideoMinRate, -1},
              {"VideoBitRateTolerance", O.VideoBitRateTolerance, -1},
              {"VideoBufSize", O.VideoBufSize, -1},
              {"VideoSyncMethod", O.VideoSyncMethod, -1},
              {"VideoHookBitsPixel", O.VideoHookBitsPixel, 24},
              {"Tag", O.Tag, 0},
              {"Info.Year", O.Info.Year, -1},
              {"Info.Track", O.Info.Track, -1}};
  for (const auto& F : Ints) EXPECT_EQ(F.Value, F.Default) << F.Name;
  EXPECT_EQ(O.MuxDelay, -1.0f);
  EXPECT_EQ(O.MuxPreload, -1.0f);
  EXPECT_EQ(O.Info.TimeStamp, -1.0);
  for (bool B : {O.DisableAudio, O.DisableVideo, O.DisableSubtitle, O.InputSync, O.CopyTimestamp, O.AudioHook,
                 O.VideoInputHook, O.VideoOutputHook, O.Join})
    EXPECT_FALSE(B);
  EXPECT_EQ(O.TimeStart, NoPTSValue);
  EXPECT_EQ(O.TimeLength, NoPTSValue);
  EXPECT_EQ(O.TargetType, ttIgnore);
  EXPECT_EQ(O.NormType, ntAuto);
  EXPECT_EQ(O.NormDefault, ntPAL);
  EXPECT_EQ(O.Data, nullptr);
}

TEST(OptionRecords, ExtraOptionTextSplitsIntoLines) {
  const struct {
    const char* Text;
    std::vector<std::pair<std::string, std::string>> Lines;
  } Cases[] = {
      {"vcodec=mpeg4<CRLF>b=500k", {{"vcodec", "mpeg4"}, {"b", "500k"}}},
      {"a=1\r\nb=2\rc=3\nd=4", {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}}},
      // Empty lines, also in the middle, are no options.
      {"  b=1k\r\n\r\n<CRLF>g=5\n\n  ", {{"b", "1k"}, {"g", "5"}}},
      {"METADATA=title=a=b", {{"metadata", "title=a=b"}}},
      {"newvideo", {{"newvideo", ""}}},
      {"newvideo=", {{"newvideo", ""}}},
      {"", {}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    std::vector<std::pair<std::string, std::string>> Got;
    for (const TExtOption& O : ParseExtOptions(C.Text)) Got.emplace_back(O.Name, O.Value);
    EXPECT_EQ(Got, C.Lines);
  }
  EXPECT_EQ(ParseExtOptions("Vcodec=X", false)[0].Name, "Vcodec");
}

TEST_F(OptionRecordsTest, ExtraOptionsOfAnOutputLeaveCodecsToTheStreams) {
  T->ApplyExtOptions("vcodec=mpeg4<CRLF>b=500k<CRLF>vf=hflip<CRLF>newvideo=", false);
  EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_VIDEO, "b"), 500000);
  EXPECT_TRUE(T->Fvideo_codec_name.empty());
  EXPECT_TRUE(T->Fvfilters.empty());

  auto Input = CreateOwned<vantrel::test::TTestTask>(2);
  Input->ApplyExtOptions("vcodec=mpeg4<CRLF>b=500k<CRLF>s=640x480", true);
  EXPECT_EQ(Input->Fvideo_codec_name, "mpeg4");
  EXPECT_EQ(Input->Fframe_width, 640);
}

TEST_F(OptionRecordsTest, ExtraOptionNamesAreLowerCasedAndValuesKept) {
  T->ApplyExtOptions("METADATA=comment=a=b\n\nB=64k", false);
  EXPECT_EQ(Metadata("comment"), "a=b");
  EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_VIDEO, "b"), 64000);
  // A rejected option stops the text where it stands.
  EXPECT_EQ(Raised([&] { T->ApplyExtOptions("g=7\nnosuchoption=1\ng=9", false); }),
            "Unrecognized option \"nosuchoption\"");
  EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_VIDEO, "g"), 7);
}

TEST_F(OptionRecordsTest, RecordFieldsWinOverExtraOptionsOfTheSameMeaning) {
  TOutputOptions O;
  O.ExtOptions = "async=3\nvsync=2\nisync=1\nalang=fre\nvlang=ger\nslang=ita\nan=1\nmuxpreload=0.2";
  T->ApplyExtOptions(O.ExtOptions, false);
  ApplyOutputOptions(*T, O);
  EXPECT_EQ(T->Faudio_sync_method, 0);
  EXPECT_EQ(T->Fvideo_sync_method, -1);
  EXPECT_FALSE(T->Finput_sync);
  EXPECT_EQ(T->Faudio_language, "");
  EXPECT_EQ(T->Fvideo_language, "");
  EXPECT_EQ(T->Fsubtitle_language, "");
  // Fields applied only when set leave the extra options' values.
  EXPECT_TRUE(T->Faudio_disable);  // DisableAudio false never clears it
  EXPECT_FLOAT_EQ(T->Fmux_preload, 0.2f);
  EXPECT_EQ(T->TotalOutputDuration(), -1);

  O.MuxPreload = 1.5f;
  O.TimeLength = 10000000;
  O.AudioSyncMethod = 1;
  ApplyOutputOptions(*T, O);
  EXPECT_FLOAT_EQ(T->Fmux_preload, 1.5f);
  EXPECT_EQ(T->Frecording_time, 10000000);
  EXPECT_EQ(T->TotalOutputDuration(), 10000000);
  EXPECT_EQ(T->Faudio_sync_method, 1);
}

TEST_F(OptionRecordsTest, FieldsApplyInTheRecordsOrder) {
  TOutputOptions O;
  O.AudioSyncMethod = 3;       // field 17
  O.FrameAspectRatio = "0";    // field 24: raises
  O.VideoSyncMethod = 2;       // field 31: after it
  O.MuxDelay = 2;              // field 6: before
  EXPECT_EQ(Raised([&] { ApplyOutputOptions(*T, O); }), "Incorrect aspect ratio specification.");
  EXPECT_EQ(T->Faudio_sync_method, 3);
  EXPECT_FLOAT_EQ(T->Fmux_max_delay, 2.0f);
  EXPECT_EQ(T->Fvideo_sync_method, -1);
}

TEST_F(OptionRecordsTest, TargetKeepsItsBitRatesOverTheRecords) {
  TOutputOptions O;
  O.TargetType = ttDVD;
  O.NormType = ntPAL;
  O.AudioBitrate = 128000;
  O.VideoBitrate = 1000000;
  ApplyOutputTarget(*T, O);
  ApplyOutputOptions(*T, O);
  EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_AUDIO, "b"), 448000);
  EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_VIDEO, "b"), 6000000);
  EXPECT_EQ(T->Frecording_time, INT64_MAX);
}

TEST_F(OptionRecordsTest, InfoBecomesTheOutputsMetadata) {
  TOutputOptions O;
  O.Info.Year = 2011;
  O.Info.Track = 4;
  O.Info.Title = "Title";
  O.Info.Genre = "Genre";
  ApplyOutputOptions(*T, O);  // TimeStamp -1: no recording date
  EXPECT_EQ(Metadata("year"), "2011");
  EXPECT_EQ(Metadata("track"), "4");
  EXPECT_EQ(Metadata("title"), "Title");
  EXPECT_EQ(Metadata("genre"), "Genre");
  EXPECT_EQ(Metadata("author"), "<none>");
  EXPECT_EQ(Metadata("creation_time"), "<none>");
  EXPECT_EQ(T->Frecording_timestamp, 0);

  O.Info.TimeStamp = 0;  // now
  const std::time_t Before = std::time(nullptr);
  ApplyOutputOptions(*T, O);
  EXPECT_NEAR(static_cast<double>(T->Frecording_timestamp), static_cast<double>(Before), 2.0);
  EXPECT_EQ(Metadata("creation_time").size(), 27u);  // 2011-05-01T10:00:00.000000Z
}

TEST(OptionRecords, LocalDateBecomesUtcSecondsAlsoInSummer) {
  // Central Europe: UTC+1, in summer UTC+2.
  ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  ::tzset();
  EXPECT_EQ(DateTimeToUnixUTC(EncodeDateTime(2011, 1, 15, 12, 0, 0, 0)), 1295089200);  // 11:00 UTC
  EXPECT_EQ(DateTimeToUnixUTC(EncodeDateTime(2011, 7, 15, 12, 0, 0, 0)), 1310724000);  // 10:00 UTC
  EXPECT_NEAR(LocalTimeZoneOffset(), 1.0 / 24, 1e-9);
}

TEST_F(OptionRecordsTest, FirstAndAddedStreamsTakeTheirPerStreamValuesInOrder) {
  ASSERT_TRUE(OpenInput(Fixture("task-a.avi")));
  TOutputOptions O;  // no VideoCodec: the first line serves the first stream too
  O.ExtOptions = "vcodec=mpeg4\nnewvideo=\nvcodec=libx264\ns=160x120\nnewvideo=";
  TOptionList L;
  CollectStreamDefaults(L, O);
  EXPECT_EQ(L, (TOptionList{{"def_vcodec", "mpeg4"}, {"vcodec", "mpeg4"}, {"vcodec", "libx264"},
                            {"def_s", "160x120"}, {"s", "160x120"}}));

  ASSERT_TRUE(T->OpenOutput(Dir.File("three.mkv"), &O)) << T->LastErrMsg();
  AVFormatContext* oc = Output();
  ASSERT_EQ(oc->nb_streams, 4u);  // video, audio, two added video streams
  const struct {
    int Index;
    AVCodecID Codec;
    int Width;
  } Expected[] = {{0, AV_CODEC_ID_MPEG4, 160}, {2, AV_CODEC_ID_MPEG4, 160}, {3, AV_CODEC_ID_H264, 160}};
  for (const auto& E : Expected) {
    SCOPED_TRACE(E.Index);
    EXPECT_EQ(Stream(0, E.Index).enc_ctx->codec_id, E.Codec);
    EXPECT_EQ(Stream(0, E.Index).enc_ctx->width, E.Width);
  }
}

}  // namespace
