// Turned clips: the display matrix read as a turn, conversions that come out upright
// like the command line's, stream copies that keep the matrix, and the prober and frame
// decoder that describe and give the shown picture.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "media/FFDecode.h"
#include "media/FFUpright.h"
#include "tests/media/TaskTestEngine.h"
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

class UprightTest : public vantrel::test::TTaskTest {};

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

}  // namespace
