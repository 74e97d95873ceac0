// The file list: entries of probed files (video, sound only, sound first), rejected files,
// the estimated size, and moving and removing entries.
#include <gtest/gtest.h>

#include <cctype>

#include "app/main_FileList.h"
#include "media/FFDecode.h"
#include "media/FFLoad.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

using namespace vantrel::app;

namespace {

class FileListWindow : public TFileAddSeam {
 public:
  void ShowInfo(const String& Text) override { Boxes.push_back(Text); }
  void SetRowCount(Integer RowCount) override { Rows = RowCount; }
  std::vector<String> Boxes;
  Integer Rows = 1;
};

bool LogHas(const TMainUnitState& S, const String& Text) {
  for (const String& L : S.ActionLog)
    if (L.size() >= Text.size() && L.compare(L.size() - Text.size(), Text.size(), Text) == 0) return true;
  return false;
}

// "hh:mm:ss-> " followed by Text and something more.
bool IsStampedLine(const String& Line, const String& Text) {
  const String Stamp = "00:00:00-> ";
  if (Line.size() <= Stamp.size() + Text.size()) return false;
  for (size_t I = 0; I < Stamp.size(); ++I)
    if (Stamp[I] == '0' ? !std::isdigit(static_cast<unsigned char>(Line[I])) : Line[I] != Stamp[I]) return false;
  return Line.compare(Stamp.size(), Text.size(), Text) == 0;
}

TFormat RatedFormat(const String& Video, const String& Audio) {
  TFormat F;
  F.FormatExt = ".mp4";
  F.VideoBitRate = Video;
  F.AudioBitRate = Audio;
  return F;
}

}  // namespace

TEST(FileList, ProbedFilesBecomeEntriesAndOthersAreRejected) {
  ASSERT_TRUE(vantrel::media::FFLoader().Load(vantrel::media::DecoderLibraries))
      << vantrel::media::FFLoader().LastErrMsg();
  vantrel::test::TTempDir Dir;
  const String Text = Dir.File("notes.txt");
  vantrel::test::WriteFileBytes(Text, "not a media file\n");
  TMainUnitState S;
  S.Profiles.push_back({"Profile", "id", "icon", {RatedFormat("1000000", "128000"), RatedFormat("", "")}});
  S.CurrentFormatInd = 1;
  FileListWindow W;
  TOwned<vantrel::media::TFFDecoder> Decoder = CreateOwned<vantrel::media::TFFDecoder>(nullptr);
  struct Case {
    String File;
    bool Added;
    bool Audio;
    Integer Width, Height;
    const char* Title;
    bool Sound = false;
    double Aspect = 0;
  };
  const Case Cases[] = {
      {vantrel::test::FixturePath("v.mp4"), true, false, 320, 240, "v", true, 4.0 / 3.0},
      {vantrel::test::FixturePath("probe-title.mp3"), true, true, -1, -1, "probe-title", true},
      {vantrel::test::FixturePath("audio-first.mp4"), true, false, 320, 240, "audio-first", true, 4.0 / 3.0},
      {vantrel::test::FixturePath("play-red.mp4"), true, false, 320, 240, "play-red", false, 4.0 / 3.0},
      {Dir.Path(), false, false, 0, 0, ""},
      {Text, false, false, 0, 0, ""},
  };
  size_t Boxes = 0;
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.File);
    const size_t Before = S.VideoFiles.size();
    EXPECT_EQ(AddMediaFile(S, *Decoder, C.File, W), C.Added);
    EXPECT_EQ(W.Rows, static_cast<Integer>(S.VideoFiles.size()) + 1);
    if (!C.Added) {
      EXPECT_EQ(S.VideoFiles.size(), Before);
      ASSERT_EQ(W.Boxes.size(), ++Boxes);
      EXPECT_EQ(W.Boxes.back(), "File " + ExtractFileName(C.File) +
                                    " is not a valid media file or its format is not supported.");
      // The reason stands out: a time-stamped line between two empty ones.
      const size_t N = S.ActionLog.size();
      ASSERT_GE(N, 3u);
      EXPECT_EQ(S.ActionLog[N - 3], "");
      EXPECT_TRUE(IsStampedLine(S.ActionLog[N - 2], "File load error: ")) << S.ActionLog[N - 2];
      EXPECT_EQ(S.ActionLog[N - 1], "");
      continue;
    }
    ASSERT_EQ(S.VideoFiles.size(), Before + 1);
    const TVideoFile& E = S.VideoFiles.back();
    EXPECT_EQ(E.Source, C.File);
    EXPECT_EQ(E.SourceTitleExt, ExtractFileName(C.File));
    EXPECT_EQ(E.DestinationTitle, C.Title);
    EXPECT_EQ(E.Status, "-");
    EXPECT_EQ(E.isSourceAudioFormat, C.Audio);
    EXPECT_EQ(E.SourceWidth, C.Width);
    EXPECT_EQ(E.SourceHeight, C.Height);
    EXPECT_EQ(E.SourceHasAudio, C.Sound);
    EXPECT_NEAR(E.SourceAspectRatio, C.Aspect, 1e-6);
    EXPECT_NEAR(static_cast<double>(E.TrimmedLength), 2000000.0, 100000.0);
    EXPECT_EQ(E.TimeStart, 0);
    EXPECT_EQ(E.TimeEnd, E.TrimmedLength);
    EXPECT_EQ(E.FormatInd, 1);
    EXPECT_EQ(E.EstimatedSize, 0.0);
    EXPECT_TRUE(LogHas(S, "File added: " + C.File));
  }
  // Each rejection logs a blank line, its reason and a blank line.
  Integer Reasons = 0;
  for (const String& L : S.ActionLog)
    if (L.find("File load error: ") != String::npos) ++Reasons;
  EXPECT_EQ(Reasons, 2);
  Decoder.reset();
  vantrel::media::FFLoader().Unload(vantrel::media::DecoderLibraries);
}

TEST(FileList, EstimatedSizesFromLengthAndRates) {
  struct Case {
    const char* Name;
    Int64 Length;
    const char* Video;
    const char* Audio;
    const char* Shown;
  };
  const Case Cases[] = {
      // 5400 s x (125 + 16) kB = 761400 kB.
      {"90 minutes", 5400LL * 1000000, "1000000", "128000", "743.55 MB"},
      {"no rates", 5400LL * 1000000, "", "", "0.00 MB"},
      // 90000 s x 141 kB = 12690000 kB.
      {"25 hours", 90000LL * 1000000, "1000000", "128000", "12392.58 MB"},
      {"fraction of a second dropped", 1999999, "8000000", "", "0.98 MB"},
      {"sound only", 60LL * 1000000, "", "128000", "0.94 MB"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TMainUnitState S;
    S.Profiles.push_back({"Profile", "id", "icon", {RatedFormat(C.Video, C.Audio)}});
    TVideoFile E;
    E.TrimmedLength = C.Length;
    S.VideoFiles.push_back(E);
    UpdateEstimatedSize(S, 0);
    EXPECT_EQ(EstimatedSizeText(S.VideoFiles[0].EstimatedSize), C.Shown);
  }
  // A rate that is not a number, or a missing format, keeps the estimate.
  TMainUnitState S;
  S.Profiles.push_back({"Profile", "id", "icon", {RatedFormat("fast", "")}});
  TVideoFile E;
  E.TrimmedLength = 60LL * 1000000;
  E.EstimatedSize = 4.5;
  S.VideoFiles.push_back(E);
  UpdateEstimatedSize(S, 0);
  EXPECT_EQ(S.VideoFiles[0].EstimatedSize, 4.5);
  S.VideoFiles[0].FormatInd = 7;
  UpdateEstimatedSize(S, 0);
  EXPECT_EQ(S.VideoFiles[0].EstimatedSize, 4.5);
  EXPECT_NO_THROW(UpdateEstimatedSize(S, 3));
}

TEST(FileList, ApplyToAllReestimates) {
  TMainUnitState S;
  S.Profiles.push_back({"Profile", "id", "icon", {RatedFormat("", ""), RatedFormat("1000000", "128000")}});
  for (int I = 0; I < 2; ++I) {
    TVideoFile E;
    E.TrimmedLength = 5400LL * 1000000;
    S.VideoFiles.push_back(E);
  }
  S.CurrentFormatInd = 1;
  ApplyFormatToAll(S);
  for (const TVideoFile& E : S.VideoFiles) {
    EXPECT_EQ(E.FormatInd, 1);
    EXPECT_EQ(EstimatedSizeText(E.EstimatedSize), "743.55 MB");
  }
}

TEST(FileList, MovingAndRemovingKeepEveryField) {
  // Entries named a, b, c with their own formats and settings.
  auto Make = [] {
    TMainUnitState S;
    for (int I = 0; I < 3; ++I) {
      TVideoFile E;
      E.Source = std::string(1, static_cast<char>('a' + I));
      E.DestinationTitle = "title " + E.Source;
      E.FormatInd = I + 1;
      E.ProfileInd = 2 * I;
      E.CropLeft = 10 * I;
      E.Brightness = -I;
      E.EstimatedSize = I + 0.5;
      E.TimeStart = I * 1000;
      S.VideoFiles.push_back(E);
    }
    return S;
  };
  auto Order = [](const TMainUnitState& S) {
    String R;
    for (const TVideoFile& E : S.VideoFiles) {
      const int I = E.Source[0] - 'a';
      EXPECT_EQ(E.DestinationTitle, "title " + E.Source);
      EXPECT_EQ(E.FormatInd, I + 1);
      EXPECT_EQ(E.ProfileInd, 2 * I);
      EXPECT_EQ(E.CropLeft, 10 * I);
      EXPECT_EQ(E.Brightness, -I);
      EXPECT_EQ(E.EstimatedSize, I + 0.5);
      EXPECT_EQ(E.TimeStart, I * 1000);
      R += E.Source;
    }
    return R;
  };
  struct Case {
    const char* Name;
    Integer (*Op)(TMainUnitState&, Integer);
    Integer Row;
    const char* WantOrder;
    Integer WantRow;
  };
  const Case Cases[] = {
      {"first up", MoveEntryUp, 1, "abc", 1},
      {"second up", MoveEntryUp, 2, "bac", 1},
      {"last down", MoveEntryDown, 3, "abc", 3},
      {"first down", MoveEntryDown, 1, "bac", 2},
      {"remove the middle", RemoveEntry, 2, "ac", 3},
      {"remove the last", RemoveEntry, 3, "ab", 3},
      {"remove the first", RemoveEntry, 1, "bc", 3},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TMainUnitState S = Make();
    EXPECT_EQ(C.Op(S, C.Row), C.WantRow);
    EXPECT_EQ(Order(S), C.WantOrder);
  }
  // A single entry neither moves nor stays when removed.
  TMainUnitState One;
  One.VideoFiles.resize(1);
  EXPECT_EQ(MoveEntryUp(One, 1), 1);
  EXPECT_EQ(MoveEntryDown(One, 1), 1);
  EXPECT_EQ(RemoveEntry(One, 1), 1);
  EXPECT_TRUE(One.VideoFiles.empty());
}

TEST(FileList, TimesShownInWholeSeconds) {
  EXPECT_EQ(FormatMicroseconds(0), "00:00:00");
  EXPECT_EQ(FormatMicroseconds(5400LL * 1000000 + 999999), "01:30:00");
  EXPECT_EQ(FormatMicroseconds(90000LL * 1000000), "25:00:00");
  EXPECT_EQ(FormatMicroseconds(61LL * 1000000), "00:01:01");
}
