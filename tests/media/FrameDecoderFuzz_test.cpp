// Decoding mutated copies of the fixtures (cut, bytes overwritten, blocks wiped): pictures
// and audio come out as far as the data allows, every call ends, and nothing reads or
// writes out of bounds (the build is sanitized).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "media/FFDecode.h"
#include "tests/support/TempDir.h"
#include "tests/support/ProbeFixtures.h"
#include "tests/support/TestPaths.h"

using namespace vantrel::media;

namespace {

constexpr int MutationsPerFile = 60;
constexpr int MaxCalls = 400;  // a bound on the calls per copy, far above what a file needs

std::string Mutate(const std::string& AOriginal, std::mt19937& ARng) {
  std::string S = AOriginal;
  auto Below = [&](size_t N) { return N == 0 ? size_t{0} : static_cast<size_t>(ARng() % N); };
  switch (ARng() % 4) {
    case 0:
      S.resize(S.size() / 4 + Below(S.size() * 3 / 4));
      break;
    case 1:
      for (int I = 1 + static_cast<int>(ARng() % 32); I > 0; --I)
        S[Below(S.size())] = static_cast<char>(ARng());
      break;
    case 2: {
      const size_t At = S.size() / 8 + Below(S.size() * 7 / 8);
      const size_t Len = std::min(S.size() - At, 1 + Below(2048));
      S.replace(At, Len, Len, (ARng() & 1) ? '\0' : '\xff');
      break;
    }
    default:
      for (int I = 1 + static_cast<int>(ARng() % 8); I > 0; --I)
        S[Below(std::min<size_t>(S.size(), 4096))] = static_cast<char>(ARng());
      break;
  }
  return S;
}

class FrameDecoderFuzz : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(FrameDecoderFuzz, MutatedCopiesDecodeWhatTheyCanAndEnd) {
  TOwned<TFFDecoder> D(TFFDecoder::Create(nullptr));
  ASSERT_TRUE(D->LoadAVLib("")) << D->LastErrMsg();
  const std::string Original = vantrel::test::ReadFileBytes(vantrel::test::FixturePath(GetParam()));
  ASSERT_FALSE(Original.empty());
  vantrel::test::TTempDir Dir;
  const std::string Copy = Dir.File(std::string("mutated-") + GetParam());
  std::mt19937 Rng(static_cast<unsigned>(std::hash<std::string>()(GetParam()) & 0xFFFF));
  TOwned<TBitmap> Bmp = CreateOwned<TBitmap>();
  int Pictures = 0;
  for (int I = 0; I < MutationsPerFile; ++I) {
    SCOPED_TRACE(I);
    vantrel::test::WriteFileBytes(Copy, Mutate(Original, Rng));
    if (!D->LoadFile(Copy)) continue;
    if (D->VideoStreamCount() > 0) {
      // A still picture repeats itself for ever: a few calls show it.
      const String Format = D->FormatName();
      const bool Still = Format == "image2" || Format.find("_pipe") != String::npos;
      const int Limit = Still ? 3 : MaxCalls;
      int Calls = 0;
      while (Calls++ < Limit && D->Decode()) {
        const TFrameInfo& F = D->FrameInfo();
        ASSERT_TRUE(F.Ready);
        ASSERT_GT(F.Width, 0);
        ++Pictures;
      }
      if (!Still) {
        ASSERT_LT(Calls, MaxCalls);
      }
      if (D->FrameInfo().Ready) D->CopyToBitmap(Bmp.get());
      D->Seek(500000, {sfBackward});
      D->Decode();
    }
    if (D->AudioStreamCount() > 0) {
      D->Seek(0, {});
      std::vector<uint8_t> Buf(4096);
      int Calls = 0;
      while (Calls++ < 4 * MaxCalls && D->ReadAudio(Buf.data(), 4096) > 0) {
        ASSERT_TRUE(D->WaveInfo().Ready);
        ASSERT_LE(D->WaveInfo().Size, 16 << 20);
      }
      ASSERT_LT(Calls, 4 * MaxCalls);
    }
    if (HasFatalFailure()) return;
  }
  RecordProperty("pictures", Pictures);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FrameDecoderFuzz,
                         ::testing::Values("v.mp4", "dec-mono.mp3", "probe-program.ts",
                                           "dec-red.png", "dec-still.jpg"));
