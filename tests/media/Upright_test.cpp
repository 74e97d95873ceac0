// Turned clips: the display matrix read as a turn, conversions that come out upright
// like the command line's, stream copies that keep the matrix, and the prober and frame
// decoder that describe and give the shown picture.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "media/FFDecode.h"
#include "media/FFUpright.h"
#include "media/SWScaleAPI.h"
#include "platform/rtl/DynLibs.h"
#include "platform/ui/Graphics.h"
#include "tests/media/TaskTestEngine.h"
#include "tests/support/OwnProcess.h"
#include "tests/support/TranscodeProbe.h"

using namespace vantrel::media;
using vantrel::test::FFProbeEntries;

namespace {

// The PSNR (dB) of ffmpeg's psnr filter between two videos of one size; 0 when it fails.
double Psnr(const std::string& A, const std::string& B) {
  const std::string Cmd = "ffmpeg -nostdin -hide_banner -nostats -i '" + A + "' -i '" + B +
                          "' -lavfi psnr -f null - 2>&1";
  FILE* P = ::popen(Cmd.c_str(), "r");
  if (!P) return 0;
  std::string Out;
  char Buf[512];
  while (std::fgets(Buf, sizeof Buf, P)) Out += Buf;
  ::pclose(P);
  const auto At = Out.find("average:");
  return At == std::string::npos ? 0 : std::strtod(Out.c_str() + At + 8, nullptr);
}

class UprightTest : public vantrel::test::TTaskTest {
 protected:
  // Converts the turned clip with the red corner to H.264 without sound; ASetUp prepares
  // the task.
  void ConvertCorner(const std::function<void()>& ASetUp) {
    ASSERT_TRUE(OpenInput(Fixture("rotate-corner.mp4"))) << T->LastErrMsg();
    ASetUp();
    TOutputOptions O;
    O.VideoCodec = "libx264";
    O.DisableAudio = true;
    const std::string Out = Dir.File("corner.mp4");
    ASSERT_TRUE(T->OpenOutput(Out, &O)) << T->LastErrMsg();
    T->StartConvert(false);
    ASSERT_TRUE(T->Finished()) << T->FatalMessage();
    EXPECT_EQ(FFProbeEntries(Out, "stream=width,height", "v:0"), "120\n160\n");
  }
};

TEST(UprightTurn, MatricesGiveQuarterTurnsAndMirrors) {
  const struct {
    int32_t M[9];
    Integer Rotation;
    bool Flip;
    const char* Filter;
  } Cases[] = {
      {{65536, 0, 0, 0, 65536, 0, 0, 0, 1 << 30}, 0, false, ""},
      // As phones write a clip held upright: ffprobe says "rotation of -90".
      {{0, 65536, 0, -65536, 0, 0, 0, 0, 1 << 30}, 90, false, "transpose=clock"},
      {{-65536, 0, 0, 0, -65536, 0, 0, 0, 1 << 30}, 180, false, "hflip,vflip"},
      {{0, -65536, 0, 65536, 0, 0, 0, 0, 1 << 30}, 270, false, "transpose=cclock"},
      {{-65536, 0, 0, 0, 65536, 0, 0, 0, 1 << 30}, 0, true, "hflip"},
  };
  ASSERT_TRUE(FFLoader().Load(EncoderLibraries)) << FFLoader().LastErrMsg();
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Filter);
    const TUprightTurn T = UprightTurnOfMatrix(C.M);
    EXPECT_EQ(T.Rotation, C.Rotation);
    EXPECT_EQ(T.Flip, C.Flip);
    EXPECT_EQ(UprightFilterText(T), C.Filter);
  }
  FFLoader().Unload(EncoderLibraries);
}

// A 32x16 RGB picture, black with a red 8x4 block at the top left, in APixFmt.
AVFrame* CornerPicture(AVPixelFormat APixFmt) {
  constexpr int W = 32, H = 16;
  AVFrame* Rgb = ff::av_frame_alloc();
  Rgb->format = AV_PIX_FMT_RGB24;
  Rgb->width = W;
  Rgb->height = H;
  ff::av_frame_get_buffer(Rgb, 0);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      uint8_t* P = Rgb->data[0] + Y * Rgb->linesize[0] + 3 * X;
      P[0] = X < 8 && Y < 4 ? 255 : 0;
      P[1] = P[2] = 0;
    }
  AVFrame* Out = ff::av_frame_alloc();
  Out->format = APixFmt;
  Out->width = W;
  Out->height = H;
  ff::av_frame_get_buffer(Out, 0);
  SwsContext* Sws = ff::sws_getCachedContext(nullptr, W, H, AV_PIX_FMT_RGB24, W, H, APixFmt, SWS_POINT, nullptr,
                                             nullptr, nullptr);
  ff::sws_scale(Sws, Rgb->data, Rgb->linesize, 0, H, Out->data, Out->linesize);
  ff::sws_freeContext(Sws);
  ff::av_frame_free(&Rgb);
  return Out;
}

// The red component of AFrame's pixel at X, Y (through RGB).
int RedAt(const AVFrame* AFrame, int X, int Y) {
  AVFrame* Rgb = ff::av_frame_alloc();
  Rgb->format = AV_PIX_FMT_RGB24;
  Rgb->width = AFrame->width;
  Rgb->height = AFrame->height;
  ff::av_frame_get_buffer(Rgb, 0);
  SwsContext* Sws = ff::sws_getCachedContext(nullptr, AFrame->width, AFrame->height,
                                             static_cast<AVPixelFormat>(AFrame->format), AFrame->width,
                                             AFrame->height, AV_PIX_FMT_RGB24, SWS_POINT, nullptr, nullptr, nullptr);
  ff::sws_scale(Sws, AFrame->data, AFrame->linesize, 0, AFrame->height, Rgb->data, Rgb->linesize);
  ff::sws_freeContext(Sws);
  const int Red = Rgb->data[0][Y * Rgb->linesize[0] + 3 * X];
  ff::av_frame_free(&Rgb);
  return Red;
}

// Every kind of picture turns: planar and semi-planar YUV of 8 and 10 bits, 4:2:2 (a
// quarter turn goes through a full-resolution format), packed YUV and RGB. The red
// corner lands where the turn puts the top left.
TEST(UprightTurn, PicturesOfEveryFormatTurn) {
  ASSERT_TRUE(FFLoader().Load(EncoderLibraries)) << FFLoader().LastErrMsg();
  const AVPixelFormat Formats[] = {AV_PIX_FMT_YUV420P, AV_PIX_FMT_YUV420P10LE, AV_PIX_FMT_NV12,
                                   AV_PIX_FMT_YUV422P,  AV_PIX_FMT_YUYV422,     AV_PIX_FMT_RGB24,
                                   AV_PIX_FMT_BGRA,     AV_PIX_FMT_GRAY8};
  const struct {
    TUprightTurn Turn;
    bool Right, Bottom;  // where the stored top-left corner ends up
  } Turns[] = {{{90, false}, true, false}, {{180, false}, true, true}, {{270, false}, false, true},
               {{0, true}, true, false},   {{90, true}, true, true}};
  for (const AVPixelFormat Fmt : Formats) {
    AVFrame* In = CornerPicture(Fmt);
    for (const auto& C : Turns) {
      SCOPED_TRACE(std::string(ff::av_get_pix_fmt_name(Fmt)) + " " + std::to_string(C.Turn.Rotation) +
                   (C.Turn.Flip ? " mirrored" : ""));
      AVFrame* Out = TurnFrameUpright(In, C.Turn);
      ASSERT_NE(Out, nullptr);
      EXPECT_EQ(Out->format, UprightPixFmt(Fmt, C.Turn));
      EXPECT_EQ(Out->width, C.Turn.Transposed() ? 16 : 32);
      EXPECT_EQ(Out->height, C.Turn.Transposed() ? 32 : 16);
      const int X = C.Right ? Out->width - 2 : 1, Y = C.Bottom ? Out->height - 2 : 1;
      const int OX = C.Right ? 1 : Out->width - 2, OY = C.Bottom ? 1 : Out->height - 2;
      if (Fmt == AV_PIX_FMT_GRAY8) {
        EXPECT_GT(Out->data[0][Y * Out->linesize[0] + X], 40);
        EXPECT_LT(Out->data[0][OY * Out->linesize[0] + OX], 20);
      } else {
        EXPECT_GT(RedAt(Out, X, Y), 200);
        EXPECT_LT(RedAt(Out, OX, OY), 40);
      }
      ff::av_frame_free(&Out);
    }
    ff::av_frame_free(&In);
  }
  FFLoader().Unload(EncoderLibraries);
}

TEST_F(UprightTest, ConversionIsUprightAndCopyKeepsTheMatrix) {
  const std::string In = Fixture("rotate-90.mp4");
  ASSERT_EQ(FFProbeEntries(In, "stream_side_data=rotation", "v:0"), "-90\n");
  // Re-encoded: upright, at the shown size, without a matrix, like the command line.
  TOutputOptions O;
  O.VideoCodec = "mpeg4";
  O.ExtOptions = "qscale=2";
  const std::string Out = Dir.File("upright.mp4");
  ASSERT_TRUE(OpenInput(In)) << T->LastErrMsg();
  ASSERT_TRUE(T->OpenOutput(Out, &O)) << T->LastErrMsg();
  T->StartConvert(false);
  ASSERT_TRUE(T->Finished()) << T->FatalMessage();
  EXPECT_EQ(FFProbeEntries(Out, "stream=width,height", "v:0"), "120\n160\n");
  EXPECT_EQ(FFProbeEntries(Out, "stream_side_data=rotation", "v:0"), "");
  const std::string Reference = Dir.File("reference.mp4");
  ASSERT_EQ(std::system(("ffmpeg -nostdin -loglevel error -y -i '" + In + "' -c:v mpeg4 -q:v 2 '" + Reference + "'").c_str()), 0);
  EXPECT_GT(Psnr(Out, Reference), 35.0);

  // Copied: the matrix goes with the stream.
  T = CreateOwned<vantrel::test::TTestTask>(4);
  O = TOutputOptions();
  O.VideoCodec = "copy";
  const std::string Copy = Dir.File("copy.mp4");
  ASSERT_TRUE(OpenInput(In)) << T->LastErrMsg();
  ASSERT_TRUE(T->OpenOutput(Copy, &O)) << T->LastErrMsg();
  T->StartConvert(false);
  ASSERT_TRUE(T->Finished()) << T->FatalMessage();
  EXPECT_EQ(FFProbeEntries(Copy, "stream=width,height", "v:0"), "160\n120\n");
  EXPECT_EQ(FFProbeEntries(Copy, "stream_side_data=rotation", "v:0"), "-90\n");
}

// A 4:2:2 clip goes through a full-resolution format to be turned; the output is upright
// and matches the command line's.
TEST_F(UprightTest, FourTwoTwoClipConvertsUpright) {
  const std::string In = Fixture("rotate-422.mp4");
  TOutputOptions O;
  O.VideoCodec = "mpeg4";
  O.ExtOptions = "qscale=2";
  const std::string Out = Dir.File("upright422.mp4");
  ASSERT_TRUE(OpenInput(In)) << T->LastErrMsg();
  ASSERT_TRUE(T->OpenOutput(Out, &O)) << T->LastErrMsg();
  T->StartConvert(false);
  ASSERT_TRUE(T->Finished()) << T->FatalMessage();
  EXPECT_EQ(FFProbeEntries(Out, "stream=width,height", "v:0"), "120\n160\n");
  const std::string Reference = Dir.File("reference422.mp4");
  ASSERT_EQ(std::system(("ffmpeg -nostdin -loglevel error -y -i '" + In + "' -c:v mpeg4 -q:v 2 '" + Reference + "'").c_str()), 0);
  EXPECT_GT(Psnr(Out, Reference), 35.0);
}

TEST_F(UprightTest, ProberAndFrameDecoderGiveTheShownPicture) {
  TOwned<TFFDecoder> Decoder{TFFDecoder::Create(nullptr)};
  ASSERT_TRUE(Decoder->LoadAVLib("")) << Decoder->LastErrMsg();
  ASSERT_TRUE(Decoder->LoadFile(Fixture("rotate-90.mp4"), "")) << Decoder->LastErrMsg();
  const TVideoStreamInfo Info = Decoder->GetVideoStreamInfo(0);
  EXPECT_EQ(Info.Rotation, 90);
  EXPECT_FALSE(Info.Mirrored);
  EXPECT_EQ(Info.Width, 120);
  EXPECT_EQ(Info.Height, 160);
  EXPECT_NEAR(Info.AspectRatio, 0.75, 1e-6);
  ASSERT_TRUE(Decoder->Decode()) << Decoder->LastErrMsg();
  EXPECT_EQ(Decoder->FrameInfo().Width, 120);
  EXPECT_EQ(Decoder->FrameInfo().Height, 160);
}

// The input hook and the frame-hook plug-ins see the picture as shown: 120x160 with the
// stored top-left corner (red) at the top right, as the command line shows it.
TEST_F(UprightTest, HooksSeeTheShownPicture) {
  int Calls = 0;
  Integer Width = 0, Height = 0;
  TColor Left = 0, Right = 0;
  ConvertCorner([&] {
    T->OnInputVideoHook = [&](TObject*, TBitmap* ABitmap, Integer, Int64, bool& AUpdate, bool&) {
      ++Calls;
      Width = ABitmap->Width();
      Height = ABitmap->Height();
      Left = ABitmap->Canvas()->Pixels(4, 4);
      Right = ABitmap->Canvas()->Pixels(Width - 5, 4);
      AUpdate = false;
    };
  });
  EXPECT_EQ(Calls, 5);
  EXPECT_EQ(Width, 120);
  EXPECT_EQ(Height, 160);
  // TColor is 0x00BBGGRR.
  EXPECT_GT(Right & 0xFF, 200u) << std::hex << Right;
  EXPECT_LT((Right >> 8) & 0xFF, 40u) << std::hex << Right;
  EXPECT_LT(Left & 0xFF, 40u) << std::hex << Left;
}

TEST_F(UprightTest, FrameHookPluginSeesTheShownPicture) {
  if (vantrel::test::RanAloneInChild()) return;  // the plug-in keeps process-wide state
  const std::string Plugin = std::string(VANTREL_PLUGIN_DIR) + "/libtesthook.so";
  ConvertCorner([&] { T->AddVideoHook(Plugin); });
  auto Last = reinterpret_cast<void (*)(int*, int*, int*, int*)>(
      GetDynProc(LoadDynLibrary(Plugin), "TestHookLastPicture"));
  ASSERT_NE(Last, nullptr);
  int Width = 0, Height = 0, Left = 0, Right = 0;
  Last(&Width, &Height, &Left, &Right);
  EXPECT_EQ(Width, 120);
  EXPECT_EQ(Height, 160);
  // Limited-range luma: red about 81, black 16.
  EXPECT_NEAR(Right, 81, 8);
  EXPECT_NEAR(Left, 16, 8);
}

}  // namespace
