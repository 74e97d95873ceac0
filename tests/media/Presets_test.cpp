// Targets and presets: a target fills a disc format's settings, and every built-in x264
// row opens libx264 with the settings it names.
#include <fstream>

#include "media/AVCodecAPI.h"
#include "media/AVUtilAPI.h"
#include "tests/support/TempDir.h"
#include "tests/media/FFmpegTestEngine.h"

using namespace vantrel::media;
using vantrel::test::TTestEngine;

namespace {

class PresetsTest : public vantrel::test::TEngineTest {
 protected:
  void SetUp() override {
    TEngineTest::SetUp();
    E = CreateOwned<TTestEngine>(4);
  }
  void TearDown() override {
    E.reset();
    TEngineTest::TearDown();
  }
  int64_t TemplateInt(int AType, const char* AName) {
    int64_t V = -1;
    EXPECT_GE(ff::av_opt_get_int(E->FOptions.avcodec_opts[AType], AName, 0, &V), 0) << AName;
    return V;
  }
  // Opens libx264 for one 320x240 frame with the engine's options and returns the
  // settings libx264 writes into the stream ("" when it would not open).
  std::string EncodeOneFrame(TTestEngine& AEngine, std::string& AUnused) {
    const AVCodec* Codec = ff::avcodec_find_encoder_by_name("libx264");
    if (!Codec) return "no libx264";
    AVCodecContext* Ctx = ff::avcodec_alloc_context3(Codec);
    Ctx->width = 320;
    Ctx->height = 240;
    Ctx->pix_fmt = AV_PIX_FMT_YUV420P;
    Ctx->time_base = {1, 25};
    Ctx->thread_count = 1;
    AVDictionary* Opts = nullptr;
    SetContextOpts(AEngine.FOptions, Ctx, AEngine.FOptions.codec_dict[AVMEDIA_TYPE_VIDEO],
                   AV_OPT_FLAG_ENCODING_PARAM | AV_OPT_FLAG_VIDEO_PARAM, Codec, &Opts);
    std::string Settings;
    if (ff::avcodec_open2(Ctx, Codec, &Opts) >= 0) {
      for (const AVDictionaryEntry* T = nullptr; (T = ff::av_dict_get(Opts, "", T, AV_DICT_IGNORE_SUFFIX));)
        AUnused += std::string(T->key) + " ";
      AVFrame* Frame = ff::av_frame_alloc();
      Frame->format = AV_PIX_FMT_YUV420P;
      Frame->width = 320;
      Frame->height = 240;
      ff::av_frame_get_buffer(Frame, 0);
      for (int P = 0; P < 3; ++P)
        for (int Y = 0; Y < (P ? 120 : 240); ++Y)
          for (int X = 0; X < (P ? 160 : 320); ++X) Frame->data[P][Y * Frame->linesize[P] + X] = uint8_t(X + Y);
      Frame->pts = 0;
      ff::avcodec_send_frame(Ctx, Frame);
      ff::avcodec_send_frame(Ctx, nullptr);
      AVPacket* Pkt = ff::av_packet_alloc();
      while (ff::avcodec_receive_packet(Ctx, Pkt) >= 0) {
        const std::string Data(reinterpret_cast<const char*>(Pkt->data), Pkt->size);
        const size_t At = Data.find("options: ");
        if (At != std::string::npos && Settings.empty())
          Settings = " " + Data.substr(At + 9, Data.find('\0', At) - At - 9) + " ";
      }
      ff::av_packet_free(&Pkt);
      ff::av_frame_free(&Frame);
    }
    ff::av_dict_free(&Opts);
    ff::avcodec_free_context(&Ctx);
    return Settings;
  }

  TOwned<TTestEngine> E;
};

TEST_F(PresetsTest, PalDvdTarget) {
  E->SetExtOption("target", "pal-dvd");
  EXPECT_EQ(E->Fframe_width, 720);
  EXPECT_EQ(E->Fframe_height, 576);
  EXPECT_EQ(E->Fframe_rate.num, 25);
  EXPECT_EQ(E->Fframe_rate.den, 1);
  EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_VIDEO, "g"), 15);
  EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_VIDEO, "b"), 6000000);
  EXPECT_EQ(E->Faudio_codec_name, "ac3");
  EXPECT_EQ(E->Fvideo_codec_name, "mpeg2video");
  EXPECT_EQ(E->Flast_asked_format, "dvd");
  EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_AUDIO, "b"), 448000);
  EXPECT_EQ(E->Faudio_sample_rate, 48000);
  EXPECT_NEAR(E->Fframe_aspect_ratio, 16.0 / 9, 1e-6);
  EXPECT_TRUE(Logged("Assuming 16:9 for aspect ratio"));
}

// Every target in both norms, with the values a disc or camcorder format asks for.
TEST_F(PresetsTest, EveryTargetFillsItsFormatsSettings) {
  const struct {
    const char* Target;
    const char* VideoCodec;  // "" unchanged
    const char* AudioCodec;
    const char* Format;
    int Width, Height;
    const char* PixFmt;  // "" unchanged
    int RateNum, RateDen;
    int64_t Gop, Bitrate, MaxRate, MinRate, BufSize;  // -1: the template's default
    int64_t ScanOffset;                                // of the MPEG-2 encoder; -1: not set
    int64_t AudioBitrate;
    int SampleRate, Channels;
  } Cases[] = {
      {"pal-vcd", "mpeg1video", "mp2", "vcd", 352, 288, "", 25, 1, 15, 1150000, 1150000, 1150000, 327680, -1, 224000, 44100, 2},
      {"ntsc-vcd", "mpeg1video", "mp2", "vcd", 352, 240, "", 30000, 1001, 18, 1150000, 1150000, 1150000, 327680, -1, 224000, 44100, 2},
      {"pal-svcd", "mpeg2video", "mp2", "svcd", 480, 576, "", 25, 1, 15, 2040000, 2516000, 0, 1835008, 1, 224000, 44100, 2},
      {"film-svcd", "mpeg2video", "mp2", "svcd", 480, 480, "", 24000, 1001, 18, 2040000, 2516000, 0, 1835008, 1, 224000, 44100, 2},
      {"ntsc-dvd", "mpeg2video", "ac3", "dvd", 720, 480, "", 30000, 1001, 18, 6000000, 9000000, 0, 1835008, -1, 448000, 48000, 2},
      {"pal-dv", "", "", "dv", 720, 576, "yuv420p", 25, 1, -1, -1, -1, -1, -1, -1, -1, 48000, 2},
      {"ntsc-dv", "", "", "dv", 720, 480, "yuv411p", 30000, 1001, -1, -1, -1, -1, -1, -1, -1, 48000, 2},
      {"pal-dv50", "", "", "dv", 720, 576, "yuv422p", 25, 1, -1, -1, -1, -1, -1, -1, -1, 48000, 2},
      {"ntsc-dv50", "", "", "dv", 720, 480, "yuv422p", 30000, 1001, -1, -1, -1, -1, -1, -1, -1, 48000, 2},
  };
  TOwned<TTestEngine> Defaults = CreateOwned<TTestEngine>(1);
  auto DefaultInt = [&](int AType, const char* AName) {
    int64_t V = -1;
    ff::av_opt_get_int(Defaults->FOptions.avcodec_opts[AType], AName, 0, &V);
    return V;
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Target);
    E = CreateOwned<TTestEngine>(4);
    E->Faudio_channels = 1;
    E->SetExtOption("target", C.Target);
    EXPECT_EQ(E->Fvideo_codec_name, C.VideoCodec);
    EXPECT_EQ(E->Faudio_codec_name, C.AudioCodec);
    EXPECT_EQ(E->Flast_asked_format, C.Format);
    EXPECT_EQ(E->Fframe_width, C.Width);
    EXPECT_EQ(E->Fframe_height, C.Height);
    EXPECT_EQ(E->Fframe_pix_fmt, *C.PixFmt ? ff::av_get_pix_fmt(C.PixFmt) : -1);
    EXPECT_EQ(E->Fframe_rate.num, C.RateNum);
    EXPECT_EQ(E->Fframe_rate.den, C.RateDen);
    const struct {
      const char* Name;
      int64_t Value;
    } Video[] = {{"g", C.Gop}, {"b", C.Bitrate}, {"maxrate", C.MaxRate}, {"minrate", C.MinRate}, {"bufsize", C.BufSize}};
    for (const auto& V : Video)
      EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_VIDEO, V.Name), V.Value >= 0 ? V.Value : DefaultInt(AVMEDIA_TYPE_VIDEO, V.Name)) << V.Name;
    EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_AUDIO, "b"), C.AudioBitrate >= 0 ? C.AudioBitrate : DefaultInt(AVMEDIA_TYPE_AUDIO, "b"));
    // The scan offset is the MPEG-2 encoder's own: read from an encoder given the options.
    const AVCodec* Mpeg2 = ff::avcodec_find_encoder_by_name("mpeg2video");
    ASSERT_NE(Mpeg2, nullptr);
    AVCodecContext* Ctx = ff::avcodec_alloc_context3(Mpeg2);
    AVDictionary* Opts = nullptr;
    SetContextOpts(E->FOptions, Ctx, E->FOptions.codec_dict[AVMEDIA_TYPE_VIDEO],
                   AV_OPT_FLAG_ENCODING_PARAM | AV_OPT_FLAG_VIDEO_PARAM, Mpeg2, &Opts);
    ff::av_opt_set_dict2(Ctx, &Opts, AV_OPT_SEARCH_CHILDREN);
    int64_t ScanOffset = -1;
    ASSERT_GE(ff::av_opt_get_int(Ctx->priv_data, "scan_offset", 0, &ScanOffset), 0);
    EXPECT_EQ(ScanOffset, C.ScanOffset >= 0 ? C.ScanOffset : 0);
    ff::av_dict_free(&Opts);
    ff::avcodec_free_context(&Ctx);
    EXPECT_EQ(E->Faudio_sample_rate, C.SampleRate);
    EXPECT_EQ(E->Faudio_channels, C.Channels);
  }
  // Six channels: the video-disc targets keep them, the others make them stereo.
  const struct {
    const char* Target;
    int Channels;
  } Six[] = {{"pal-vcd", 2}, {"pal-svcd", 6}, {"pal-dvd", 6}, {"pal-dv", 2}, {"pal-dv50", 2}};
  for (const auto& C : Six) {
    SCOPED_TRACE(C.Target);
    E = CreateOwned<TTestEngine>(4);
    E->Faudio_channels = 6;
    E->SetExtOption("target", C.Target);
    EXPECT_EQ(E->Faudio_channels, C.Channels);
  }
}

TEST_F(PresetsTest, AutomaticNormFollowsTheFrameRate) {
  EXPECT_THROW(
      {
        try {
          E->SetTargetText("vcd");
        } catch (const FFmpegException& Ex) {
          EXPECT_EQ(Ex.Message(), "frame_rate is invalid.");
          throw;
        }
      },
      FFmpegException);
  E->SetExtOption("r", "30000/1001");
  E->SetTargetText(" vcd ");
  EXPECT_EQ(E->Fframe_width, 352);
  EXPECT_EQ(E->Fframe_height, 240);
  EXPECT_TRUE(Logged("Assuming NTSC for target."));
  EXPECT_FLOAT_EQ(E->Fmux_preload, 0.44f);
  EXPECT_THROW(E->SetTargetText("pal-mpeg"), FFmpegException);
}

TEST_F(PresetsTest, PresetIsFoundByCodecAndNameInAnyCase) {
  E->SetExtOption("vcodec", "libx264");
  E->SetExtOption("vpre", "medium");
  EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_VIDEO, "refs"), 3);
  EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_VIDEO, "g"), 250);
  TOwned<TTestEngine> Other = CreateOwned<TTestEngine>(1);
  Other->SetExtOption("vpre", "LIBX264-IPOD640");
  int64_t Refs = 0;
  ff::av_opt_get_int(Other->FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO], "refs", 0, &Refs);
  EXPECT_EQ(Refs, 1);
}

TEST_F(PresetsTest, PresetFileSkipsCommentsAndRejectsBadLines) {
  vantrel::test::TTempDir Dir;
  const std::string Good = Dir.File("good.ffpreset"), Bad = Dir.File("bad.ffpreset");
  std::ofstream(Good) << "# a comment\r\n\r\nqmin=12\r\n";
  std::ofstream(Bad) << "qmax=40\nnoequals\n";
  E->SetExtOption("fpre", Good);
  EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_VIDEO, "qmin"), 12);
  try {
    E->SetExtOption("fpre", Bad);
    ADD_FAILURE() << "no error";
  } catch (const FFmpegException& Ex) {
    EXPECT_EQ(Ex.Message(), Bad + ": Invalid syntax: \"noequals\"");
  }
  EXPECT_EQ(TemplateInt(AVMEDIA_TYPE_VIDEO, "qmax"), 40);  // lines before the bad one stay
  try {
    E->SetExtOption("vpre", Dir.File("missing"));
    ADD_FAILURE() << "no error";
  } catch (const FFmpegException& Ex) {
    EXPECT_EQ(Ex.Message(), "Preset \"" + Dir.File("missing") + "\" not found");
  }
}

TEST_F(PresetsTest, EveryBuiltinRowOpensLibx264) {
  const std::vector<String> Names = BuiltinPresetNames();
  ASSERT_EQ(Names.size(), 36u);
  EXPECT_EQ(Names[1], "libx264-default");
  // libx264-default first, then the table in order.
  std::vector<String> Order{"libx264-default"};
  for (const String& N : Names)
    if (N != "libx264-default") Order.push_back(N);
  for (const String& Name : Order) {
    SCOPED_TRACE(Name);
    TOwned<TTestEngine> Engine = CreateOwned<TTestEngine>(1);
    Engine->SetExtOption("vpre", Name);
    std::string Unused;
    const std::string Settings = EncodeOneFrame(*Engine, Unused);
    EXPECT_NE(Settings, "") << "libx264 refused the row";
    EXPECT_EQ(Unused, "") << "options libx264 did not take";
    // Every parameter of the row's list parsed.
    EXPECT_FALSE(Logged("Error parsing option"));
    EXPECT_NE(Settings.find("chroma_me=1"), std::string::npos) << Settings;
  }
}

TEST_F(PresetsTest, RowSettingsReachTheStream) {
  const struct {
    const char* Row;
    std::vector<std::string> Settings;
  } Cases[] = {
      {"libx264-default", {"cabac=1", "ref=3", "deblock=1:0:0", "me=hex", "subme=7", "me_range=16", "8x8dct=1",
                           "bframes=3", "b_pyramid=0", "keyint=250", "keyint_min=25", "scenecut=40",
                           "qpmin=10", "qpmax=51", "analyse=0x3:0x113"}},
      {"libx264-ultrafast", {"cabac=0", "ref=1", "deblock=0:", "me=dia", "subme=0", "bframes=0", "scenecut=0",
                             "mbtree=0", "analyse=0:0", "8x8dct=0"}},
      {"libx264-veryslow", {"me=umh", "subme=10", "me_range=24", "ref=16", "bframes=8", "trellis=2"}},
      {"libx264-lossless_fast", {"cabac=0", "qp=0", "analyse=0x1:0x11", "8x8dct=0", "mixed_ref=0"}},
      {"libx264-baseline", {"cabac=0", "bframes=0", "8x8dct=0", "weightp=0"}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Row);
    TOwned<TTestEngine> Engine = CreateOwned<TTestEngine>(1);
    Engine->SetExtOption("vpre", C.Row);
    std::string Unused;
    const std::string Settings = EncodeOneFrame(*Engine, Unused);
    for (const std::string& S : C.Settings)
      EXPECT_NE(Settings.find(" " + S), std::string::npos) << S << " not in" << Settings;
  }
}

}  // namespace
