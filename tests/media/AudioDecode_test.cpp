// Audio decoding of the frame decoder: blocks of interleaved 16-bit samples at the
// wanted channel count and rate, the byte reader over them, and bad requests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "media/AVUtilAPI.h"
#include "media/FFDecode.h"
#include "tests/support/TestPaths.h"

using namespace vantrel::media;
using vantrel::test::FixturePath;

namespace {

class AudioDecodeTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Decoder->LoadAVLib("")) << Decoder->LastErrMsg(); }
  void Load(const std::string& AName) {
    ASSERT_TRUE(Decoder->LoadFile(FixturePath(AName))) << Decoder->LastErrMsg();
  }
  // Reads to the end in pieces of APiece bytes.
  std::vector<int16_t> ReadAll(Integer APiece = 4000, Integer AStream = -1) {
    std::vector<uint8_t> Bytes;
    std::vector<uint8_t> Buf(static_cast<size_t>(APiece));
    for (;;) {
      const Integer N = Decoder->ReadAudio(Buf.data(), APiece, AStream);
      if (N < 0) break;
      EXPECT_GT(N, 0);
      Bytes.insert(Bytes.end(), Buf.begin(), Buf.begin() + N);
      const TWaveInfo& W = Decoder->WaveInfo();
      // Duration in 64 bits (in 32 bits it overflowed from 4,295 bytes on).
      EXPECT_EQ(W.Duration, Int64{500000} * W.Size / (Int64{W.SampleRate} * W.Channels));
    }
    EXPECT_EQ(Bytes.size() % 2, 0u);
    std::vector<int16_t> S(Bytes.size() / 2);
    std::memcpy(S.data(), Bytes.data(), Bytes.size());
    return S;
  }
  // Sign changes of one channel of interleaved samples.
  static int ZeroCrossings(const std::vector<int16_t>& S, int AChannels) {
    int N = 0;
    for (size_t I = AChannels; I < S.size(); I += AChannels)
      if ((S[I - AChannels] < 0) != (S[I] < 0)) ++N;
    return N;
  }
  TOwned<TFFDecoder> Decoder{TFFDecoder::Create(nullptr)};
};

}  // namespace

TEST_F(AudioDecodeTest, MonoMp3AskedForAsStereoGivesTwoSecondsOfStereo) {
  Load("dec-mono.mp3");
  EXPECT_EQ(Decoder->DesireAudioChannels(), 2);
  EXPECT_EQ(Decoder->DesireAudioSampleRate(), 44100);
  ASSERT_TRUE(Decoder->DecodeAudio()) << Decoder->LastErrMsg();
  const TWaveInfo& W = Decoder->WaveInfo();
  EXPECT_TRUE(W.Ready);
  EXPECT_EQ(W.StreamIndex, 0);
  EXPECT_EQ(W.Channels, 2);
  EXPECT_EQ(W.SampleRate, 44100);
  EXPECT_EQ(W.SampleFormat, AV_SAMPLE_FMT_S16);
  EXPECT_EQ(W.BytesPerSample, 2);
  EXPECT_EQ(W.BytesPerSecond, 176400);
  // The first frame lost the encoder's delay; the next is whole: 1152 sample frames,
  // 26122 microseconds.
  ASSERT_TRUE(Decoder->DecodeAudio());
  EXPECT_EQ(W.Size, 1152 * 4);
  EXPECT_EQ(W.Duration, 26122);
  ASSERT_TRUE(Decoder->Seek(0, {}));
  const std::vector<int16_t> S = ReadAll();
  // 2 s within one MP3 frame (1152 samples).
  EXPECT_NEAR(static_cast<double>(S.size()) / 2, 88200, 1152);
  // Planar float converted properly: both channels carry the same 440 Hz tone, at the
  // level of the mono source (amplitude 4096).
  int16_t Peak = 0;
  for (size_t I = 0; I + 1 < S.size(); I += 2) {
    ASSERT_EQ(S[I], S[I + 1]) << I;
    Peak = std::max<int16_t>(Peak, S[I]);
  }
  EXPECT_NEAR(Peak, 4096, 300);
  EXPECT_NEAR(ZeroCrossings(S, 2), 2 * 440 * 2, 10);
  EXPECT_TRUE(Decoder->Eof());
  EXPECT_EQ(Decoder->LastErrMsg(), "stream eof reached.");
}

TEST_F(AudioDecodeTest, AacAt48kHzIsResampledTo44k1) {
  Load("v.mp4");
  const std::vector<int16_t> S = ReadAll(4096);
  // 2 s at 44.1 kHz, within two AAC frames; the tone keeps its pitch.
  EXPECT_NEAR(static_cast<double>(S.size()) / 2, 88200, 2 * 1024);
  EXPECT_NEAR(ZeroCrossings(S, 2), 2 * 440 * 2, 10);
  // Another rate and channel count for the next file.
  Decoder->SetDesireAudioSampleRate(22050);
  Decoder->SetDesireAudioChannels(1);
  Load("v.mp4");
  ASSERT_TRUE(Decoder->DecodeAudio());
  EXPECT_EQ(Decoder->WaveInfo().BytesPerSecond, 44100);
  EXPECT_EQ(Decoder->WaveInfo().Channels, 1);
  const std::vector<int16_t> M = ReadAll();
  EXPECT_NEAR(static_cast<double>(M.size()), 44100, 1024);
  EXPECT_THROW(Decoder->SetDesireAudioChannels(0), EArgumentException);
  EXPECT_THROW(Decoder->SetDesireAudioSampleRate(-1), EArgumentException);
}

TEST_F(AudioDecodeTest, SixteenBitInputInTheWantedFormatComesOutUnchanged) {
  Decoder->SetDesireAudioChannels(1);
  Load("dec-mono.wav");
  const std::vector<int16_t> S = ReadAll(1000);
  // The file's own samples: the data chunk after a 44-byte header.
  const std::string File = vantrel::test::FixturePath("dec-mono.wav");
  std::FILE* F = std::fopen(File.c_str(), "rb");
  ASSERT_NE(F, nullptr);
  std::vector<int16_t> Raw(88200);
  std::fseek(F, -static_cast<long>(Raw.size() * 2), SEEK_END);
  ASSERT_EQ(std::fread(Raw.data(), 2, Raw.size(), F), Raw.size());
  std::fclose(F);
  EXPECT_EQ(S, Raw);
}

TEST_F(AudioDecodeTest, ReadingWithoutABufferConsumesNothing) {
  Load("dec-mono.mp3");
  const Integer Available = Decoder->ReadAudio(nullptr, 1 << 20);
  ASSERT_GT(Available, 0);
  EXPECT_EQ(Available, Decoder->WaveInfo().Size);
  EXPECT_EQ(Decoder->ReadAudio(nullptr, 1 << 20), Available);
  EXPECT_EQ(Decoder->ReadAudio(nullptr, 10), 10);
  std::vector<uint8_t> Buf(Available);
  ASSERT_EQ(Decoder->ReadAudio(Buf.data(), 10), 10);
  EXPECT_EQ(std::memcmp(Buf.data(), Decoder->WaveInfo().Buffer, 10), 0);
  EXPECT_EQ(Decoder->ReadAudio(nullptr, 1 << 20), Available - 10);
  ASSERT_EQ(Decoder->ReadAudio(Buf.data() + 10, 1 << 20), Available - 10);
  EXPECT_EQ(std::memcmp(Buf.data(), Decoder->WaveInfo().Buffer, Available), 0);
  // The block is used up: the next read decodes the next one.
  EXPECT_GT(Decoder->ReadAudio(nullptr, 1 << 20), 0);
  EXPECT_NE(Decoder->WaveInfo().PTS, NoPTSValue);
}

TEST_F(AudioDecodeTest, SeekForgetsTheBlockBeingRead) {
  Load("v.mp4");
  std::vector<uint8_t> Buf(64);
  ASSERT_EQ(Decoder->ReadAudio(Buf.data(), 64), 64);
  ASSERT_TRUE(Decoder->Seek(1000000, {sfBackward}));
  EXPECT_FALSE(Decoder->WaveInfo().Ready);
  EXPECT_EQ(Decoder->WaveInfo().Buffer, nullptr);
  // The rest of the old block is gone; reading goes on from the new place.
  ASSERT_EQ(Decoder->ReadAudio(Buf.data(), 64), 64);
  EXPECT_GE(Decoder->WaveInfo().PTS, 700000);
  EXPECT_LE(Decoder->WaveInfo().PTS, 1000000);
}

TEST_F(AudioDecodeTest, AGivenStreamIndexDecodesThatStream) {
  Load("probe-2audio.mkv");
  std::vector<uint8_t> Buf(256);
  ASSERT_GT(Decoder->ReadAudio(Buf.data(), 256, 2), 0) << Decoder->LastErrMsg();
  EXPECT_EQ(Decoder->WaveInfo().StreamIndex, 2);
  ASSERT_GT(Decoder->ReadAudio(Buf.data(), 256, 1), 0);
  EXPECT_EQ(Decoder->WaveInfo().StreamIndex, 1);
  ASSERT_TRUE(Decoder->DecodeAudio());
  EXPECT_EQ(Decoder->WaveInfo().StreamIndex, 1) << "the stream chosen before";
}

TEST_F(AudioDecodeTest, BadRequestsFailWithTheirMessages) {
  EXPECT_EQ(Decoder->ReadAudio(nullptr, 10), -1);
  EXPECT_EQ(Decoder->LastErrMsg(), "file not loaded.");
  Load("v.mp4");
  const struct {
    Integer Index;
    const char* Message;
  } Cases[] = {{0, "stream #0 is not audio stream."}, {5, "stream index #5 is invalid."}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Index);
    EXPECT_FALSE(Decoder->DecodeAudio(C.Index));
    EXPECT_EQ(Decoder->LastErrMsg(), C.Message);
  }
  Load("dec-red.png");
  EXPECT_FALSE(Decoder->DecodeAudio());
  EXPECT_EQ(Decoder->LastErrMsg(), "no audio stream.");
}
