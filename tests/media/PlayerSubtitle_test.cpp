// Subtitles of the player: the palette in YUV, blending a rectangle into a picture, and
// a bitmap subtitle shown over a clip for its time only.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFPlay.h"
#include "tests/media/PlayerTestFixture.h"

using namespace vantrel::media;
using vantrel::test::FixturePath;

namespace {

TEST(PlayerSubtitleColor, PaletteEntriesBecomeStudioRangeYUV) {
  struct Case {
    uint32_t ARGB, Want;
  };
  for (const Case& C : {Case{0xFFFF0000u, 0xFF515AF0u},  // red: Y 81, U 90, V 240
                        Case{0x80FFFFFFu, 0x80EB8080u},  // white: Y 235, alpha kept
                        Case{0x00000000u, 0x00108080u},  // black: Y 16
                        Case{0xFF0000FFu, 0xFF29F06Eu}}) {  // blue: Y 41, U 240, V 110
    SCOPED_TRACE(C.ARGB);
    EXPECT_EQ(SubtitleColorToYUV(C.ARGB), C.Want);
  }
}

// An 8 x 8 picture of luma 100 and chroma 128 to blend into.
struct BlendTarget {
  uint8_t Y[8 * 8], U[4 * 4], V[4 * 4];
  AVPicture Pic;
  BlendTarget() {
    std::memset(Y, 100, sizeof Y);
    std::memset(U, 128, sizeof U);
    std::memset(V, 128, sizeof V);
    Pic.data[0] = Y;
    Pic.data[1] = U;
    Pic.data[2] = V;
    Pic.linesize[0] = 8;
    Pic.linesize[1] = Pic.linesize[2] = 4;
  }
};

struct BlendCase {
  const char* Name;
  int X, Y, W, H;
  uint32_t AYUV;                 // the one palette entry used
  int LumaX, LumaY, WantLuma;    // one luma sample to check
  int ChromaX, ChromaY, WantU, WantV;
  int OutsideX, OutsideY;        // a luma sample that stays 100
};

const BlendCase BlendCases[] = {
    {"opaque 2 x 2 block: k 4", 2, 2, 2, 2, 0xFFC83C46u, 3, 3, 200, 1, 1, 60, 70, 4, 2},
    {"half alpha", 2, 2, 2, 2, 0x80C83C46u, 2, 2, 150, 1, 1, 93, 98, 1, 1},
    // Along an odd edge the chroma takes the block's share covered: half, a quarter.
    {"odd edge of two pixels: k 2", 3, 2, 1, 2, 0xFFC83C46u, 3, 2, 200, 1, 1, 94, 99, 2, 2},
    {"single pixel: k 1", 3, 3, 1, 1, 0xFFC83C46u, 3, 3, 200, 1, 1, 111, 113, 3, 2},
    {"reaching over the right and bottom: moved inside", 6, 6, 4, 4, 0xFFC83C46u, 4, 4, 200, 2, 2, 60, 70, 3, 3},
    {"wider than the picture: clipped, then moved", -2, 0, 20, 3, 0xFFC83C46u, 0, 0, 200, 3, 0, 60, 70, 0, 3},
    {"transparent: nothing changes", 2, 2, 2, 2, 0x00C83C46u, 2, 2, 100, 1, 1, 128, 128, 4, 4},
};

class PlayerBlendTable : public ::testing::TestWithParam<BlendCase> {};

TEST_P(PlayerBlendTable, BlendSubtitleRect) {
  const BlendCase& C = GetParam();
  SCOPED_TRACE(C.Name);
  BlendTarget T;
  std::vector<uint8_t> Index(size_t(C.W) * C.H, 1);
  uint32_t Palette[2] = {0, C.AYUV};
  AVSubtitleRect R{};
  R.x = C.X;
  R.y = C.Y;
  R.w = C.W;
  R.h = C.H;
  R.nb_colors = 2;
  R.data[0] = Index.data();
  R.linesize[0] = C.W;
  R.data[1] = reinterpret_cast<uint8_t*>(Palette);
  BlendSubtitleRect(T.Pic, R, 8, 8);
  EXPECT_EQ(T.Y[C.LumaY * 8 + C.LumaX], C.WantLuma);
  EXPECT_EQ(T.U[C.ChromaY * 4 + C.ChromaX], C.WantU);
  EXPECT_EQ(T.V[C.ChromaY * 4 + C.ChromaX], C.WantV);
  EXPECT_EQ(T.Y[C.OutsideY * 8 + C.OutsideX], 100);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlayerBlendTable, ::testing::ValuesIn(BlendCases),
                         [](const ::testing::TestParamInfo<BlendCase>& I) { return "Case" + std::to_string(I.index); });

// v.mp4's pictures with a DVD subtitle stream holding one red 40 x 20 rectangle at
// (140, 110), shown from 0.5 to 1.5 s, in Matroska.
bool MakeRedSubtitleClip(const std::string& AOut) {
  AVFormatContext* In = nullptr;
  if (ff::avformat_open_input(&In, FixturePath("v.mp4").c_str(), nullptr, nullptr) < 0) return false;
  ff::avformat_find_stream_info(In, nullptr);
  AVFormatContext* Out = nullptr;
  ff::avformat_alloc_output_context2(&Out, nullptr, "matroska", AOut.c_str());
  const AVCodec* Enc = ff::avcodec_find_encoder(AV_CODEC_ID_DVD_SUBTITLE);
  AVCodecContext* Ctx = Enc ? ff::avcodec_alloc_context3(Enc) : nullptr;
  bool Ok = Out && Ctx;
  int VideoIn = -1;
  for (unsigned I = 0; I < In->nb_streams; ++I)
    if (In->streams[I]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) VideoIn = static_cast<int>(I);
  AVStream* VideoOut = Ok ? ff::avformat_new_stream(Out, nullptr) : nullptr;
  AVStream* SubOut = Ok ? ff::avformat_new_stream(Out, nullptr) : nullptr;
  Ok = Ok && VideoIn >= 0 && VideoOut && SubOut;
  if (Ok) {
    ff::avcodec_parameters_copy(VideoOut->codecpar, In->streams[VideoIn]->codecpar);
    VideoOut->codecpar->codec_tag = 0;
    VideoOut->time_base = In->streams[VideoIn]->time_base;
    Ctx->width = 320;
    Ctx->height = 240;
    Ctx->time_base = {1, 1000};
    Ok = ff::avcodec_open2(Ctx, Enc, nullptr) >= 0 && ff::avcodec_parameters_from_context(SubOut->codecpar, Ctx) >= 0;
    SubOut->time_base = {1, 1000};
  }
  Ok = Ok && ff::avio_open2(&Out->pb, AOut.c_str(), AVIO_FLAG_WRITE, nullptr, nullptr) >= 0 &&
       ff::avformat_write_header(Out, nullptr) >= 0;
  AVPacket* Pkt = ff::av_packet_alloc();
  if (Ok) {
    std::vector<uint8_t> Index(40 * 20, 1);
    uint32_t Palette[4] = {0x00000000u, 0xFFFF0000u, 0, 0};
    AVSubtitleRect Rect{};
    Rect.x = 140;
    Rect.y = 110;
    Rect.w = 40;
    Rect.h = 20;
    Rect.nb_colors = 4;
    Rect.type = SUBTITLE_BITMAP;
    Rect.data[0] = Index.data();
    Rect.linesize[0] = 40;
    Rect.data[1] = reinterpret_cast<uint8_t*>(Palette);
    AVSubtitleRect* Rects[1] = {&Rect};
    AVSubtitle Sub{};
    Sub.format = 0;
    Sub.start_display_time = 0;
    Sub.end_display_time = 1000;
    Sub.num_rects = 1;
    Sub.rects = Rects;
    Sub.pts = 500000;
    std::vector<uint8_t> Buf(1 << 16);
    const int Size = ff::avcodec_encode_subtitle(Ctx, Buf.data(), static_cast<int>(Buf.size()), &Sub);
    Ok = Size > 0 && ff::av_new_packet(Pkt, Size) >= 0;
    if (Ok) {
      std::memcpy(Pkt->data, Buf.data(), static_cast<size_t>(Size));
      Pkt->pts = Pkt->dts = 500;
      Pkt->duration = 1000;
      Pkt->stream_index = SubOut->index;
      Ok = ff::av_interleaved_write_frame(Out, Pkt) >= 0;
    }
    while (Ok && ff::av_read_frame(In, Pkt) >= 0) {
      if (Pkt->stream_index == VideoIn) {
        ff::av_packet_rescale_ts(Pkt, In->streams[VideoIn]->time_base, VideoOut->time_base);
        Pkt->stream_index = VideoOut->index;
        Pkt->pos = -1;
        Ok = ff::av_interleaved_write_frame(Out, Pkt) >= 0;
      }
      ff::av_packet_unref(Pkt);
    }
    Ok = Ok && ff::av_write_trailer(Out) >= 0;
  }
  ff::av_packet_free(&Pkt);
  if (Out && Out->pb) ff::avio_closep(&Out->pb);
  if (Out) ff::avformat_free_context(Out);
  if (Ctx) ff::avcodec_free_context(&Ctx);
  ff::avformat_close_input(&In);
  return Ok;
}

class PlayerSubtitleTest : public vantrel::test::PlayerHeadlessTest {
 protected:
  Integer QueuedSubtitles() {
    TVideoState* S = Player->VideoState();
    if (!S) return -1;
    std::lock_guard<std::mutex> G(S->subpq_mutex);
    return S->subpq_size;
  }
};

TEST_F(PlayerSubtitleTest, ARedRectangleShowsForItsTimeOnly) {
  const std::string Clip = Dir.File("red-sub.mkv");
  ASSERT_TRUE(MakeRedSubtitleClip(Clip));
  struct Seen {
    double Pts;
    bool Red;
    uint8_t Y, U, V;
  };
  std::mutex Lock;
  std::vector<Seen> Shown;
  detail::SetPlayerShowHook(*Player, [&](double APTS, Int64) {
    uint8_t R = 0, G = 0, B = 0, Y = 0, U = 0, V = 0;
    detail::PlayerShownPixel(*Player, 160, 120, R, G, B);
    detail::PlayerShownOverlayYUV(*Player, 160, 120, Y, U, V);
    std::lock_guard<std::mutex> L(Lock);
    // SDL's own conversion reads the overlay's luma as full range: studio-range red
    // (Y 81, V 240) comes out at R 237.
    Shown.push_back({APTS, R >= 230 && G <= 15 && B <= 15, Y, U, V});
  });
  ASSERT_TRUE(Player->Open(Clip, 0, false)) << Player->LastErrMsg();
  EXPECT_EQ(Player->SubtitleStreamIndex(), 1);
  ASSERT_TRUE(PumpUntil([&] { return Has(psEnd); }));
  Player->Stop(true);
  detail::SetPlayerShowHook(*Player, nullptr);
  int Inside = 0, Outside = 0;
  for (const Seen& S : Shown) {
    SCOPED_TRACE(S.Pts);
    if (S.Pts > 0.5 && S.Pts < 1.5) {
      ++Inside;
      EXPECT_TRUE(S.Red);
      EXPECT_EQ(S.Y, 81);
      EXPECT_EQ(S.U, 90);
      EXPECT_EQ(S.V, 240);
    } else if (S.Pts < 0.49 || S.Pts > 1.51) {
      ++Outside;
      EXPECT_FALSE(S.Red);
    }
  }
  EXPECT_GT(Inside, 15);
  EXPECT_GT(Outside, 15);
}

TEST_F(PlayerSubtitleTest, SwitchingSubtitlesOffEmptiesTheQueue) {
  const std::string Clip = Dir.File("red-sub.mkv");
  ASSERT_TRUE(MakeRedSubtitleClip(Clip));
  ASSERT_TRUE(Player->Open(Clip, 0, false)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return QueuedSubtitles() > 0; }, 5));
  Player->SetSubtitleStreamIndex(-1);
  EXPECT_EQ(Player->SubtitleStreamIndex(), -1);
  EXPECT_TRUE(PumpUntil([&] { return QueuedSubtitles() == 0; }, 5));
  Player->Stop(true);
}

TEST_F(PlayerSubtitleTest, TextSubtitlesPlayWithoutLeaks) {
  ASSERT_TRUE(Player->Open(FixturePath("transcode-sub.mkv"), 0, false)) << Player->LastErrMsg();
  EXPECT_EQ(Player->SubtitleStreamIndex(), 1);
  ASSERT_TRUE(PumpUntil([&] { return Has(psEnd); }));
  EXPECT_EQ(QueuedSubtitles(), 0);
  Player->Stop(true);
}

}  // namespace
