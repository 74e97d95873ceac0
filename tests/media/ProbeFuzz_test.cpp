// LoadFile over mutated copies of the fixtures (cut, bytes overwritten, header blocks
// wiped): every load either fails cleanly with a message or gives information that
// holds together, and nothing reads or writes out of bounds (the build is sanitized).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>

#include "media/FFDecode.h"
#include "tests/support/TempDir.h"
#include "tests/support/ProbeFixtures.h"
#include "tests/support/TestPaths.h"

using namespace vantrel::media;

namespace {

constexpr int ProbeMutationsPerFile = 80;

std::string MutateProbe(const std::string& AOriginal, std::mt19937& ARng) {
  std::string S = AOriginal;
  auto Below = [&](size_t N) { return N == 0 ? size_t{0} : static_cast<size_t>(ARng() % N); };
  switch (ARng() % 4) {
    case 0:  // cut anywhere
      S.resize(Below(S.size()));
      break;
    case 1:  // a few random bytes anywhere
      for (int I = 1 + static_cast<int>(ARng() % 16); I > 0; --I)
        S[Below(S.size())] = static_cast<char>(ARng());
      break;
    case 2: {  // random bytes in the first 4 KiB, where the headers are
      const size_t Head = std::min<size_t>(S.size(), 4096);
      for (int I = 1 + static_cast<int>(ARng() % 8); I > 0; --I)
        S[Below(Head)] = static_cast<char>(ARng());
      break;
    }
    default: {  // a block wiped with zeros or 0xFF
      const size_t At = Below(S.size());
      const size_t Len = std::min(S.size() - At, 1 + Below(512));
      S.replace(At, Len, Len, (ARng() & 1) ? '\0' : '\xff');
      break;
    }
  }
  return S;
}

void CheckConsistent(TCustomDecoder& D) {
  const Integer Streams = D.StreamCount();
  ASSERT_GE(Streams, 0);
  EXPECT_LE(D.AudioStreamCount() + D.VideoStreamCount() + D.SubtitleStreamCount(), Streams);
  EXPECT_GE(D.FileSize(), 0);
  for (Integer I = 0; I < Streams; ++I) {
    if (D.IsVideoStream(I)) {
      const TVideoStreamInfo V = D.GetVideoStreamInfo(I);
      EXPECT_GE(V.Width, 0);
      EXPECT_FALSE(V.CodecName.empty());
    } else if (D.IsAudioStream(I)) {
      EXPECT_FALSE(D.GetAudioStreamInfo(I).CodecName.empty());
    } else if (D.IsSubtitleStream(I)) {
      D.GetSubtitleStreamInfo(I);
    }
  }
  EXPECT_EQ(D.VideoStreamCount() > 0, D.IsVideoStream(D.FirstVideoStreamIndex()));
  EXPECT_EQ(D.AudioStreamCount() > 0, D.IsAudioStream(D.FirstAudioStreamIndex()));
  D.FileStreamInfo();
  const String Text = D.FileInfoText();
  EXPECT_EQ(Text.rfind("File Name: ", 0), 0u);
  EXPECT_EQ(Text.substr(Text.size() - 2), "\r\n");
}

class ProbeFuzz : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(ProbeFuzz, MutatedCopiesLoadConsistentlyOrFailCleanly) {
  TOwned<TFFDecoder> D(TFFDecoder::Create(nullptr));
  ASSERT_TRUE(D->LoadAVLib("")) << D->LastErrMsg();
  const std::string Original = vantrel::test::ReadFileBytes(vantrel::test::FixturePath(GetParam()));
  ASSERT_FALSE(Original.empty());
  vantrel::test::TTempDir Dir;
  const std::string Copy = Dir.File(std::string("mutated-") + GetParam());
  std::mt19937 Rng(static_cast<unsigned>(std::hash<std::string>()(GetParam()) & 0xFFFF));
  int Loaded = 0;
  for (int I = 0; I < ProbeMutationsPerFile; ++I) {
    SCOPED_TRACE(I);
    vantrel::test::WriteFileBytes(Copy, MutateProbe(Original, Rng));
    if (D->LoadFile(Copy)) {
      ++Loaded;
      CheckConsistent(*D);
    } else {
      EXPECT_EQ(D->FileHandle(), nullptr);
      EXPECT_EQ(D->StreamCount(), -1);
      EXPECT_FALSE(D->LastErrMsg().empty());
    }
    if (HasFatalFailure()) return;
  }
  RecordProperty("loaded", Loaded);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ProbeFuzz,
                         ::testing::Values("v.mp4", "probe-title.mp3", "probe-2audio.mkv",
                                           "probe-chapters.mkv", "probe-program.ts"));
