// The native filter registry, the chain parser and TVideoFilterChain: our filters as C++
// steps between libavfilter graphs, live values, and the errors of bad filter texts.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "media/AVFilterAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLoad.h"
#include "media/FFLog.h"
#include "media/FFUtils.h"
#include "media/vf_eq.h"
#include "media/vf_hue.h"

using namespace vantrel::media;

namespace {

class FiltersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FFLoader().Load(EncoderLibraries)) << FFLoader().LastErrMsg();
    RegisterEqFilter();
    RegisterHueFilter();
    Logger = CreateOwned<TFFLogger>(nullptr);
    Logger->SetTriggerEventInMainThread(false);
    Logger->OnLog = [this](TObject*, Cardinal, TLogLevel, const String& Msg) {
      Lines.push_back(Msg);
    };
  }
  void TearDown() override {
    Logger.reset();
    FFLoader().Unload(EncoderLibraries);
  }
  bool Logged(const std::string& AText) const {
    for (const std::string& L : Lines)
      if (L.find(AText) != std::string::npos) return true;
    return false;
  }

  TOwned<TFFLogger> Logger;
  std::vector<std::string> Lines;
};

struct TFrameDeleter {
  void operator()(AVFrame* F) const { ff::av_frame_free(&F); }
};
using TFrame = std::unique_ptr<AVFrame, TFrameDeleter>;

// A picture with every sample of plane P set to AValues[P].
TFrame MakeFrame(AVPixelFormat AFormat, int AWidth, int AHeight, std::vector<uint8_t> AValues,
                 int64_t APts = 0) {
  TFrame F(ff::av_frame_alloc());
  F->format = AFormat;
  F->width = AWidth;
  F->height = AHeight;
  F->pts = APts;
  EXPECT_EQ(ff::av_frame_get_buffer(F.get(), 0), 0);
  const AVPixFmtDescriptor* D = ff::av_pix_fmt_desc_get(AFormat);
  for (size_t P = 0; P < AValues.size(); ++P) {
    const int Rows = P == 0 ? AHeight : -((-AHeight) >> D->log2_chroma_h);
    for (int Y = 0; Y < Rows; ++Y)
      std::memset(F->data[P] + Y * F->linesize[P], AValues[P], static_cast<size_t>(F->linesize[P]));
  }
  return F;
}

TVideoFilterInput InputOf(const AVFrame* F) {
  TVideoFilterInput In;
  In.Width = F->width;
  In.Height = F->height;
  In.PixFmt = F->format;
  In.TimeBase = TAVRational{1, 25};
  return In;
}

// Pushes the frame and pulls one picture.
TFrame RunOne(TVideoFilterChain& AChain, const AVFrame* AIn) {
  EXPECT_EQ(AChain.Push(AIn), 0);
  TFrame Out(ff::av_frame_alloc());
  TAVRational TB{0, 0};
  EXPECT_EQ(GetFilteredVideoFrame(AChain, Out.get(), TB), 1) << AChain.LastErrMsg();
  EXPECT_EQ(TB.den, AChain.TimeBase().den);
  return Out;
}

}  // namespace

TEST_F(FiltersTest, RegisteringADefinitionTwiceKeepsOne) {
  static const Integer Formats[] = {AV_PIX_FMT_YUV420P, -1};
  static const TNativeFilterDef Def = {"testnative", "test", Formats,
                                       [](const String&) -> std::unique_ptr<TNativeFilterInstance> {
                                         return nullptr;
                                       }};
  static const TNativeFilterDef SameName = {"testnative", "other", Formats, Def.init};
  EXPECT_TRUE(RegisterAVFilter(&Def));
  EXPECT_FALSE(RegisterAVFilter(&Def));
  EXPECT_FALSE(RegisterAVFilter(&SameName));
  EXPECT_EQ(FindNativeFilter("testnative"), &Def);
  EXPECT_EQ(FindNativeFilter("nativeeq"), &EqFilter);
  EXPECT_EQ(FindNativeFilter("eq"), nullptr);
}

TEST_F(FiltersTest, ParserSplitsAtOurFiltersAndKeepsOtherTextWhole) {
  const struct {
    const char* Text;
    std::vector<std::pair<const TNativeFilterDef*, std::string>> Steps;
  } Cases[] = {
      {"", {}},
      {"  ", {}},
      {"crop=160:120:0:0,scale=80:60", {{nullptr, "crop=160:120:0:0,scale=80:60"}}},
      // Without our filters any syntax passes through unchanged.
      {"split[a][b];[a][b]hstack", {{nullptr, "split[a][b];[a][b]hstack"}}},
      {"nativeeq=20:0", {{&EqFilter, "20:0"}}},
      {"nativeeq", {{&EqFilter, ""}}},
      {"nativeeq=20:0,nativehue=0:0,crop=160:120:0:0,scale=80:60",
       {{&EqFilter, "20:0"}, {&HueFilter, "0:0"}, {nullptr, "crop=160:120:0:0,scale=80:60"}}},
      {"scale=80:60, nativehue=10:20 ,hflip",
       {{nullptr, "scale=80:60"}, {&HueFilter, "10:20"}, {nullptr, "hflip"}}},
      // Quotes and escapes: a "," inside them does not end the filter, and they are
      // removed from our filter's arguments as libavfilter would remove them.
      {"drawtext=text='a,b',nativeeq='1:2'", {{nullptr, "drawtext=text='a,b'"}, {&EqFilter, "1:2"}}},
      {"nativeeq=1\\:2 , hflip", {{&EqFilter, "1:2"}, {nullptr, " hflip"}}},
      {"nativeeq@one=3:4", {{&EqFilter, "3:4"}}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    const std::vector<TFilterChainStep> Steps = ParseFilterChain(C.Text);
    ASSERT_EQ(Steps.size(), C.Steps.size());
    for (size_t I = 0; I < Steps.size(); ++I) {
      EXPECT_EQ(Steps[I].Native, C.Steps[I].first);
      EXPECT_EQ(Steps[I].Text, C.Steps[I].second);
    }
  }
}

TEST_F(FiltersTest, ParserRefusesBadTextWithAClearMessage) {
  const struct {
    const char* Text;
    const char* Message;
  } Cases[] = {
      {"nativeeq=1:2;hflip", "can only be used in a simple filter chain"},
      {"[in]nativeeq=1:2[out]", "can only be used in a simple filter chain"},
      {"hflip,nosuchfilter=3", "No such filter: \"nosuchfilter\""},
      {"nativeeq=1:2,,hflip", "Empty filter in the filter chain"},
      {"nativeeq='1:2", "Missing closing quote"},
      {"[in hflip", "Missing \"]\""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    try {
      ParseFilterChain(C.Text);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& E) {
      EXPECT_NE(E.Message().find(C.Message), std::string::npos) << E.Message();
    }
  }
}

TEST_F(FiltersTest, ChainTurnsNv12IntoSmallerYuv420pWithRaisedLuma) {
  TFrame In = MakeFrame(AV_PIX_FMT_NV12, 320, 240, {100, 128});
  TVideoFilterChain Chain;
  ASSERT_EQ(Chain.Configure(InputOf(In.get()),
                            "nativeeq=20:0,nativehue=0:0,crop=160:120:0:0,scale=80:60",
                            {AV_PIX_FMT_YUV420P}),
            0)
      << Chain.LastErrMsg();
  EXPECT_EQ(Chain.Width(), 80);
  EXPECT_EQ(Chain.Height(), 60);
  EXPECT_EQ(Chain.PixFmt(), AV_PIX_FMT_YUV420P);
  TFrame Out = RunOne(Chain, In.get());
  ASSERT_EQ(Out->format, AV_PIX_FMT_YUV420P);
  EXPECT_EQ(Out->width, 80);
  EXPECT_EQ(Out->height, 60);
  // Brightness 20 at contrast 0: 100 + (120 * 511 / 200 - 256) = 150.
  EXPECT_EQ(Out->data[0][0], 150);
  EXPECT_EQ(Out->data[0][40 * Out->linesize[0] + 79], 150);
  EXPECT_EQ(Out->data[1][0], 128);
  // The caller's frame is left as it was.
  EXPECT_EQ(In->data[0][0], 100);
}

TEST_F(FiltersTest, ChainGivesTheBytesOfOurStepsAloneFollowedByTheScalersOwnGraph) {
  // A patterned picture, so that every sample value and both chroma planes take part.
  TFrame In = MakeFrame(AV_PIX_FMT_YUV420P, 640, 480, {0, 0, 0});
  for (int P = 0; P < 3; ++P)
    for (int Y = 0; Y < (P ? 240 : 480); ++Y)
      for (int X = 0; X < (P ? 320 : 640); ++X)
        In->data[P][Y * In->linesize[P] + X] = static_cast<uint8_t>(X * (P + 1) + 3 * Y);
  TVideoFilterChain Chain;
  ASSERT_EQ(Chain.Configure(InputOf(In.get()), "nativeeq=20:30,nativehue=20:30,scale=320:240",
                            {AV_PIX_FMT_YUV420P}),
            0)
      << Chain.LastErrMsg();
  TFrame Out = RunOne(Chain, In.get());

  TFrame Stepped(ff::av_frame_clone(In.get()));
  ASSERT_EQ(ff::av_frame_make_writable(Stepped.get()), 0);
  EqProcess(Stepped->data[0], Stepped->linesize[0], 640, 480, 20, 30);
  HueProcess(Stepped->data[1], Stepped->data[2], Stepped->linesize[1], 320, 240, 20, 30);
  TVideoFilterChain Scaler;
  ASSERT_EQ(Scaler.Configure(InputOf(In.get()), "scale=320:240", {AV_PIX_FMT_YUV420P}), 0);
  TFrame Expected = RunOne(Scaler, Stepped.get());

  ASSERT_EQ(Out->width, 320);
  ASSERT_EQ(Out->height, 240);
  int Different = 0;
  for (int P = 0; P < 3; ++P)
    for (int Y = 0; Y < (P ? 120 : 240); ++Y)
      Different += std::memcmp(Out->data[P] + Y * Out->linesize[P],
                               Expected->data[P] + Y * Expected->linesize[P], P ? 160 : 320) != 0;
  EXPECT_EQ(Different, 0) << "rows that differ";
  // The caller's picture is untouched.
  EXPECT_EQ(In->data[0][7], 7);
  EXPECT_EQ(In->data[2][In->linesize[2] + 5], 18);
}

// A picture the caller keeps (so the chain shares it) of odd size: each step changes its
// own planes of a copy, the planes it leaves pass through as they were, and the caller's
// picture stays as it was.
TEST_F(FiltersTest, StepsOnASharedPictureChangeTheirOwnPlanesOfACopy) {
  const int W = 95, H = 61, CW = 48, CH = 31;
  TFrame In = MakeFrame(AV_PIX_FMT_YUV420P, W, H, {0, 0, 0});
  for (int P = 0; P < 3; ++P)
    for (int Y = 0; Y < (P ? CH : H); ++Y)
      for (int X = 0; X < (P ? CW : W); ++X)
        In->data[P][Y * In->linesize[P] + X] = static_cast<uint8_t>(X * (P + 2) + 5 * Y);
  TFrame Kept(ff::av_frame_clone(In.get()));
  ASSERT_EQ(ff::av_frame_make_writable(Kept.get()), 0);  // the caller's bytes, for comparing

  struct Case {
    const char* Filters;
    bool Luma, Chroma;  // the planes the steps change
  } Cases[] = {{"nativeeq=20:30", true, false}, {"nativehue=20:30", false, true}, {"nativeeq=20:30,nativehue=20:30", true, true}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Filters);
    TVideoFilterChain Chain;
    ASSERT_EQ(Chain.Configure(InputOf(In.get()), C.Filters, {AV_PIX_FMT_YUV420P}), 0) << Chain.LastErrMsg();
    TFrame Out = RunOne(Chain, In.get());
    ASSERT_EQ(Out->width, W);
    ASSERT_EQ(Out->height, H);
    TFrame Expected(ff::av_frame_clone(Kept.get()));
    ASSERT_EQ(ff::av_frame_make_writable(Expected.get()), 0);
    if (C.Luma) EqProcess(Expected->data[0], Expected->linesize[0], W, H, 20, 30);
    if (C.Chroma) HueProcess(Expected->data[1], Expected->data[2], Expected->linesize[1], CW, CH, 20, 30);
    for (int P = 0; P < 3; ++P) {
      int Different = 0, Changed = 0, Touched = 0;
      for (int Y = 0; Y < (P ? CH : H); ++Y) {
        const size_t Bytes = P ? CW : W;
        Different += std::memcmp(Out->data[P] + Y * Out->linesize[P], Expected->data[P] + Y * Expected->linesize[P], Bytes) != 0;
        Changed += std::memcmp(Out->data[P] + Y * Out->linesize[P], Kept->data[P] + Y * Kept->linesize[P], Bytes) != 0;
        Touched += std::memcmp(In->data[P] + Y * In->linesize[P], Kept->data[P] + Y * Kept->linesize[P], Bytes) != 0;
      }
      EXPECT_EQ(Different, 0) << "rows of plane " << P << " that differ from the steps' own result";
      EXPECT_EQ(Changed > 0, P ? C.Chroma : C.Luma) << "plane " << P;
      EXPECT_EQ(Touched, 0) << "rows of the caller's plane " << P << " changed";
    }
  }
}

TEST_F(FiltersTest, ChainWithoutUserFiltersConvertsToTheSinkFormats) {
  TFrame In = MakeFrame(AV_PIX_FMT_YUV420P, 64, 48, {50, 60, 70}, 7);
  TVideoFilterChain Chain;
  ASSERT_EQ(Chain.Configure(InputOf(In.get()), "", {AV_PIX_FMT_YUV422P}), 0) << Chain.LastErrMsg();
  TFrame Out = RunOne(Chain, In.get());
  EXPECT_EQ(Out->format, AV_PIX_FMT_YUV422P);
  EXPECT_EQ(Out->pts, 7);
  // A trailing filter of ours still ends in a graph with the sink's formats.
  ASSERT_EQ(Chain.Configure(InputOf(In.get()), "nativeeq=0:0", {AV_PIX_FMT_GRAY8}), 0);
  EXPECT_EQ(RunOne(Chain, In.get())->format, AV_PIX_FMT_GRAY8);
  // A text of libavfilter's own filters goes whole into one graph, labels and all.
  ASSERT_EQ(Chain.Configure(InputOf(In.get()), "split[a][b];[a][b]hstack"), 0) << Chain.LastErrMsg();
  EXPECT_EQ(RunOne(Chain, In.get())->width, 128);
  // The end of the stream comes out after the last picture.
  ASSERT_EQ(Chain.Push(nullptr), 0);
  TFrame Out2(ff::av_frame_alloc());
  EXPECT_EQ(Chain.Pull(Out2.get()), AVERROR_EOF);
}

TEST_F(FiltersTest, PullWithoutAPictureWaitingGivesENOENT) {
  TFrame In = MakeFrame(AV_PIX_FMT_YUV420P, 64, 48, {50, 60, 70});
  TVideoFilterChain Chain;
  ASSERT_EQ(Chain.Configure(InputOf(In.get()), "nativehue=10:10,hflip"), 0) << Chain.LastErrMsg();
  TFrame Out(ff::av_frame_alloc());
  EXPECT_EQ(Chain.Pull(Out.get()), AVERROR(ENOENT));
  RunOne(Chain, In.get());
  EXPECT_EQ(Chain.Pull(Out.get()), AVERROR(ENOENT));
}

TEST_F(FiltersTest, BadFilterTextsFailConfigureWithAMessage) {
  TFrame In = MakeFrame(AV_PIX_FMT_YUV420P, 64, 48, {50, 60, 70});
  const struct {
    const char* Text;
    const char* Message;
  } Cases[] = {
      {"nosuch=1", "No such filter: \"nosuch\""},
      {"nativeeq=abc:0", "nativeeq: invalid argument \"abc\""},
      {"nativehue=1:2:0:4:5", "nativehue: invalid argument \"4:5\""},
      {"nativeeq=1:2:999999:0", "nativeeq: no live value with id 999999"},
      {"nativeeq=1:2;hflip", "simple filter chain"},
      {"scale=w=abc", "Cannot"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    TVideoFilterChain Chain;
    EXPECT_LT(Chain.Configure(InputOf(In.get()), C.Text), 0);
    EXPECT_NE(Chain.LastErrMsg().find(C.Message), std::string::npos) << Chain.LastErrMsg();
    EXPECT_FALSE(Chain.Configured());
    EXPECT_EQ(Chain.Push(In.get()), AVERROR(EINVAL));
  }
}

TEST_F(FiltersTest, OutOfRangeBrightnessIsClampedAndReported) {
  TFrame In = MakeFrame(AV_PIX_FMT_YUV420P, 64, 48, {10, 128, 128});
  TVideoFilterChain Chain;
  ASSERT_EQ(Chain.Configure(InputOf(In.get()), "nativeeq=150:0"), 0) << Chain.LastErrMsg();
  EXPECT_TRUE(Logged("Invalid brightness value 150, force to 100")) << ::testing::PrintToString(Lines);
  EXPECT_TRUE(Logged("[nativeeq @ "));
  // Brightness 100: every sample 255.
  EXPECT_EQ(RunOne(Chain, In.get())->data[0][0], 255);
}

TEST_F(FiltersTest, LiveValueChangedBetweenFramesChangesOnlyTheNext) {
  TLiveValueRef Brightness = NewLiveValue(0);
  TLiveValueRef Contrast = NewLiveValue(0);
  const Integer BId = LiveValueId(Brightness);
  const Integer CId = LiveValueId(Contrast);
  ASSERT_GT(BId, 0);
  ASSERT_NE(BId, CId);
  EXPECT_EQ(RegisterLiveValue(Brightness), BId);
  TFrame In = MakeFrame(AV_PIX_FMT_YUV420P, 64, 48, {100, 128, 128});
  TVideoFilterChain Chain;
  const std::string Text =
      "nativeeq=50:50:" + std::to_string(BId) + ":" + std::to_string(CId) + ",hflip";
  ASSERT_EQ(Chain.Configure(InputOf(In.get()), Text), 0) << Chain.LastErrMsg();
  // Live values at 0 still leave the filter ready for changes; fields 1 and 2 are unused.
  EXPECT_EQ(RunOne(Chain, In.get())->data[0][0], 100);
  Logger->SetLogLevel(llDebug);
  Brightness->store(20);
  EXPECT_EQ(RunOne(Chain, In.get())->data[0][0], 150);
  EXPECT_TRUE(Logged("brightness:20, contrast 0"));
  Lines.clear();
  EXPECT_EQ(RunOne(Chain, In.get())->data[0][0], 150);
  EXPECT_FALSE(Logged("brightness:20, contrast 0")) << "reported once";
  // An out of range live value is clamped in the variable itself.
  Contrast->store(-300);
  // Contrast -100, brightness 20: every sample 120 * 511 / 200 - 128 = 178.
  EXPECT_EQ(RunOne(Chain, In.get())->data[0][0], 178);
  EXPECT_EQ(Contrast->load(), -100);
  // Unregistering does not pull the value from under a running chain.
  UnregisterLiveValue(BId);
  UnregisterLiveValue(CId);
  EXPECT_EQ(FindLiveValue(BId), nullptr);
  Brightness->store(0);
  Contrast->store(0);
  EXPECT_EQ(RunOne(Chain, In.get())->data[0][0], 100);
}

TEST_F(FiltersTest, HueZeroZeroPassesPicturesUnchanged) {
  TFrame In = MakeFrame(AV_PIX_FMT_YUV444P, 32, 32, {90, 30, 220});
  TVideoFilterChain Chain;
  ASSERT_EQ(Chain.Configure(InputOf(In.get()), "nativehue=0:0"), 0) << Chain.LastErrMsg();
  TFrame Out = RunOne(Chain, In.get());
  EXPECT_EQ(Out->data[0][0], 90);
  EXPECT_EQ(Out->data[1][0], 30);
  EXPECT_EQ(Out->data[2][0], 220);
  // Saturation -100 makes the chroma grey, on every sample of odd-sized 4:2:0 planes too.
  TFrame Odd = MakeFrame(AV_PIX_FMT_YUV420P, 33, 31, {90, 30, 220});
  ASSERT_EQ(Chain.Configure(InputOf(Odd.get()), "nativehue=0:-100"), 0) << Chain.LastErrMsg();
  Out = RunOne(Chain, Odd.get());
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 17; ++X) {
      ASSERT_EQ(Out->data[1][Y * Out->linesize[1] + X], 128) << X << "," << Y;
      ASSERT_EQ(Out->data[2][Y * Out->linesize[2] + X], 128) << X << "," << Y;
    }
}

TEST_F(FiltersTest, SinkNeedsAPixelFormatList) {
  AVFilterGraph* Graph = ff::avfilter_graph_alloc();
  AVFilterContext* Sink = nullptr;
  EXPECT_EQ(CreateVideoSink(Graph, "out", nullptr, &Sink), AVERROR(EINVAL));
  const Integer Formats[] = {AV_PIX_FMT_YUV420P, -1};
  EXPECT_EQ(CreateVideoSink(Graph, "out", Formats, &Sink), 0);
  EXPECT_NE(Sink, nullptr);
  ff::avfilter_graph_free(&Graph);
}
