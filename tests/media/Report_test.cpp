// The media file report: its helpers and the reports of real files with chapters,
// programs and plain stream lists.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFDecode.h"
#include "media/FFLog.h"
#include "media/MyUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StringList.h"
#include "tests/support/TestPaths.h"

using namespace vantrel::media;
using vantrel::test::FixturePath;

namespace {

class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Decoder->LoadAVLib("")) << Decoder->LastErrMsg();
    // FFmpeg's codec text adds details at verbose levels.
    GetFFLogger()->SetLogLevel(llInfo);
  }

  // The report of the file, split at its CR LF line ends.
  std::vector<std::string> ReportOf(const std::string& AFile) {
    EXPECT_TRUE(Decoder->LoadFile(AFile)) << Decoder->LastErrMsg();
    return Lines(Decoder->FileInfoText());
  }
  static std::vector<std::string> Lines(const std::string& AText) {
    std::vector<std::string> R;
    size_t Start = 0, End;
    while ((End = AText.find("\r\n", Start)) != std::string::npos) {
      R.push_back(AText.substr(Start, End - Start));
      Start = End + 2;
    }
    EXPECT_EQ(Start, AText.size()) << "the last line must end with CR LF";
    return R;
  }
  static std::string Joined(const std::vector<std::string>& ALines) {
    std::ostringstream S;
    for (const std::string& L : ALines) S << L << "\n";
    return S.str();
  }
  // Index of the first line starting with APrefix, -1 when none.
  static int Find(const std::vector<std::string>& ALines, const std::string& APrefix) {
    for (size_t I = 0; I < ALines.size(); ++I)
      if (ALines[I].rfind(APrefix, 0) == 0) return static_cast<int>(I);
    return -1;
  }

  TOwned<TFFDecoder> Decoder{TFFDecoder::Create(nullptr)};
};

}  // namespace

TEST(Report, FormatFpsPrintsHundredthsWholesAndThousands) {
  const struct {
    double Value;
    const char* Text;
  } Cases[] = {
      {25, ", 25 fps"},       {29.97002997, ", 29.97 fps"}, {23.976, ", 23.98 fps"},
      {12800, ", 12800 fps"}, {90000, ", 90k fps"},         {1000, ", 1k fps"},
      {0.5, ", 0.50 fps"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(FormatFps(C.Value, "fps"), C.Text);
  }
}

TEST(Report, MetadataKeysGetUniformNames) {
  const struct {
    const char* Key;
    const char* Name;
  } Cases[] = {
      {"TIT2", "title"},
      {"Author", "artist"},
      {"WM/Track", "track"},
      {"TRK", "track"},
      {"TDEN", "creation_time"},
      {"LEAD_PERFORMER", "performer"},
      {"tit2", "tit2"},      // keys match with case
      {"my_key", "my_key"},  // no row: unchanged
      {"", ""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Key);
    EXPECT_EQ(MetadataKeyName(C.Key), C.Name);
  }
}

TEST_F(ReportTest, MetadataBlocksLeaveOutLanguageAndEmptySets) {
  TStringList R;
  DumpMetadata(R, nullptr, "");
  AVDictionary* M = nullptr;
  ff::av_dict_set(&M, "language", "eng", 0);
  DumpMetadata(R, M, "  ");
  EXPECT_EQ(R.Count(), 0);

  ff::av_dict_set(&M, "TIT2", "Song", 0);
  ff::av_dict_set(&M, "a_rather_long_key_name", "x", 0);
  DumpMetadata(R, M, "  ");
  ff::av_dict_free(&M);
  ASSERT_EQ(R.Count(), 3);
  EXPECT_EQ(R.Get(0), "  Metadata:");
  EXPECT_EQ(R.Get(1), "    title           : Song");
  EXPECT_EQ(R.Get(2), "    a_rather_long_key_name: x");
}

TEST_F(ReportTest, PlainFileListsFileLinesThenStreamsInIndexOrder) {
  const std::string File = FixturePath("v.mp4");
  const std::vector<std::string> L = ReportOf(File);
  SCOPED_TRACE(Joined(L));
  ASSERT_GE(L.size(), 8u);
  EXPECT_EQ(L[0], "File Name: " + File);
  EXPECT_EQ(L[1], "Format Name: mov,mp4,m4a,3gp,3g2,mj2");
  EXPECT_EQ(L[2], "Format Long Name: QuickTime / MOV");
  EXPECT_EQ(L[3], "File Size: " + FormatByteSize(Decoder->FileSize()));
  EXPECT_EQ(L[4], "Duration: " + TimestampToStr(Decoder->FileStreamInfo().Duration));
  EXPECT_EQ(L[5], "StartTime: 0.000000");
  EXPECT_EQ(L[6], Format("Bit Rate: %d kb/s", {Decoder->FileStreamInfo().BitRate / 1000}));
  EXPECT_EQ(L[7], "Metadata:");
  const int V = Find(L, "Stream #0[0x1](und), 1/12800: Video: h264 (High)");
  const int A = Find(L, "Stream #1[0x2](und), 1/48000: Audio: aac (LC)");
  ASSERT_GT(V, 7);
  ASSERT_GT(A, V);
  EXPECT_NE(L[V].find("320x240 [SAR 1:1 DAR 4:3]"), std::string::npos);
  EXPECT_NE(L[V].find(", 25 fps, 25 tbr, 12800 tbn, StartTime: 0.000000, Duration: 00:00:02.000"),
            std::string::npos);
  EXPECT_EQ(L[V].find("tbc"), std::string::npos);
  EXPECT_EQ(L[V + 1], "  Metadata:");  // the stream's tags, "language" left out
  EXPECT_EQ(Find(L, "Program"), -1);
  EXPECT_EQ(Find(L, "Chapter"), -1);
}

TEST_F(ReportTest, ChaptersShowTheirOwnTimesAndTags) {
  const std::vector<std::string> L = ReportOf(FixturePath("probe-chapters.mkv"));
  SCOPED_TRACE(Joined(L));
  const int Meta = Find(L, "Metadata:");
  ASSERT_GE(Meta, 0);
  EXPECT_EQ(L[Meta + 1], "  title           : Chapter test");
  const int C0 = Find(L, "Chapter #0: start 0.00, end 1.00");
  ASSERT_GT(C0, Meta);
  EXPECT_EQ(L[C0 + 1], "  Metadata:");
  EXPECT_EQ(L[C0 + 2], "    title           : Intro");
  EXPECT_EQ(L[C0 + 3], "Chapter #1: start 1.00, end 2.00");
  EXPECT_EQ(L[C0 + 5], "    title           : Outro");
  EXPECT_EQ(L[C0 + 6].rfind("Stream #0, 1/1000: Video: h264", 0), 0u);
}

TEST_F(ReportTest, ProgramListsItsStreamsAndOthersFollow) {
  const std::vector<std::string> L = ReportOf(FixturePath("probe-program.ts"));
  SCOPED_TRACE(Joined(L));
  const int P = Find(L, "Program ");
  ASSERT_GE(P, 0);
  EXPECT_EQ(L[P], "Program 1 Vantrel Labs@Test Channel");
  EXPECT_EQ(L[P + 1], "  Metadata:");
  const int S0 = Find(L, "Stream #0[0x100], 1/90000: Video: mpeg2video");
  const int S1 = Find(L, "Stream #1[0x101], 1/90000: Audio: mp2");
  EXPECT_GT(S0, P);
  EXPECT_GT(S1, S0);
  EXPECT_EQ(L.back().rfind("Stream #1", 0), 0u);

  // A stream the program does not list follows the programs.
  AVProgram* Program = Decoder->FileHandle()->programs[0];
  ASSERT_EQ(Program->nb_stream_indexes, 2u);
  Program->stream_index[0] = 1;
  Program->nb_stream_indexes = 1;
  const std::vector<std::string> L2 = Lines(Decoder->FileInfoText());
  SCOPED_TRACE(Joined(L2));
  const int P2 = Find(L2, "Program ");
  const int T1 = Find(L2, "Stream #1");
  const int T0 = Find(L2, "Stream #0");
  EXPECT_GT(T1, P2);
  EXPECT_GT(T0, T1);
}

TEST_F(ReportTest, ProgramWithoutNamesShowsNA) {
  ASSERT_TRUE(Decoder->LoadFile(FixturePath("probe-program.ts")));
  AVProgram* Program = Decoder->FileHandle()->programs[0];
  ff::av_dict_free(&Program->metadata);
  ff::av_dict_set(&Program->metadata, "provider_name", "Old Style", 0);
  const std::vector<std::string> L = Lines(Decoder->FileInfoText());
  SCOPED_TRACE(Joined(L));
  EXPECT_GE(Find(L, "Program 1 Old Style@N/A"), 0);
}

TEST_F(ReportTest, StreamLinesShowADifferingAspectAndNegativeStartTimes) {
  ASSERT_TRUE(Decoder->LoadFile(FixturePath("probe-chapters.mkv")));
  AVStream* St = Decoder->FileHandle()->streams[0];
  St->sample_aspect_ratio = AVRational{2, 1};  // the codec says 1:1
  St->start_time = -21;                        // 1/1000 time base
  const std::vector<std::string> L = Lines(Decoder->FileInfoText());
  SCOPED_TRACE(Joined(L));
  const int S = Find(L, "Stream #0");
  ASSERT_GE(S, 0);
  EXPECT_NE(L[S].find("[SAR 1:1 DAR 4:3], PAR 2:1 DAR 8:3, 25 fps"), std::string::npos);
  EXPECT_NE(L[S].find(", StartTime: -0.021000, Duration: N/A"), std::string::npos);
}

TEST_F(ReportTest, FileTagsGiveTimeStampYearAndTrack) {
  ASSERT_TRUE(Decoder->LoadFile(FixturePath("probe-title.mp3")));
  AVDictionary** M = &Decoder->FileHandle()->metadata;
  ff::av_dict_set(M, "creation_time", "2021-03-04T05:06:07.000000Z", 0);
  ff::av_dict_set(M, "date", "2019-05-01", 0);
  ff::av_dict_set(M, "track", "3/12", 0);
  ff::av_dict_set(M, "TIT2", "raw tag", 0);
  const TFileStreamInfo Info = Decoder->FileStreamInfo();
  EXPECT_EQ(Info.TimeStamp, 1614834367);
  EXPECT_EQ(Info.Year, 2019);
  EXPECT_EQ(Info.Track, 3);
  const std::vector<std::string> L = Lines(Decoder->FileInfoText());
  SCOPED_TRACE(Joined(L));
  const int T = Find(L, "Time Stamp: ");
  ASSERT_GE(T, 0);
  EXPECT_EQ(L[T], "Time Stamp: " +
                      DateTimeToText("yyyy-mm-dd hh:nn:ss", UnixToLocalDateTime(1614834367)));
  EXPECT_EQ(L[T + 1], "Metadata:");
  EXPECT_GE(Find(L, "  title           : raw tag"), 0);  // "TIT2" under its uniform name
  EXPECT_GE(Find(L, "  track           : 3/12"), 0);
}
