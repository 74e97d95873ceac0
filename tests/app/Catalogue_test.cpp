// The format catalogue: the generated files read back, the reader's edge cases and the
// distribution of formats to profiles.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/Decryptor.h"
#include "app/main.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

using namespace vantrel::app;
using vantrel::test::TTempDir;
using vantrel::test::WriteFileBytes;

namespace {

std::vector<std::string> SplitBars(const std::string& Line) {
  std::vector<std::string> Cols;
  std::stringstream In(Line);
  std::string Col;
  while (std::getline(In, Col, '|')) Cols.push_back(Col);
  if (!Line.empty() && Line.back() == '|') Cols.push_back("");
  return Cols;
}

// The format rows of the generator's table, columns after the row kind.
std::vector<std::vector<std::string>> TableFormatRows() {
  std::ifstream In(std::string(VANTREL_SOURCE_DIR) + "/tools/skingen/catalogue.txt");
  std::vector<std::vector<std::string>> Rows;
  std::string Line;
  while (std::getline(In, Line)) {
    if (Line.rfind("format|", 0) != 0) continue;
    std::vector<std::string> Cols = SplitBars(Line);
    Cols.erase(Cols.begin());
    Rows.push_back(Cols);
  }
  return Rows;
}

std::vector<std::string> FieldsInKeyOrder(const TFormat& F) {
  return {F.Category,     F.Title,         F.Description,   F.Icon,           F.FormatExt,
          F.IsAudioFormat, F.VideoCodecName, F.Width,        F.Height,         F.KeepOriFrameRate,
          F.FrameRate,    F.VideoBitRate,  F.AudioCodecName, F.SampleRate,     F.Channel,
          F.AudioBitRate, F.ExtraParam,    F.VideoCodecs,   F.Resolutions,    F.FrameRates,
          F.VideoBitRates, F.AudioCodecs,  F.SampleRates,   F.Channels,       F.AudioBitRates};
}

std::string Invert(std::string S) {
  for (char& C : S) C = static_cast<char>(~static_cast<unsigned char>(C));
  return S;
}

std::string CatalogueFolder() { return vantrel::test::BinDir() + "/video-converter-profiles"; }

class RecordingWindow : public TMainWindowSeam {
 public:
  void ShowProfile(const String& Title, TPicture* Icon) override {
    Shown.push_back(Title);
    Icons.push_back(Icon);
  }
  String DestinationFolder() override { return {}; }
  void SetDestinationFolder(const String&) override {}
  void SetOpenDialogFolder(const String&) override {}
  String FirstChosenFile() override { return {}; }
  std::vector<String> Shown;
  std::vector<TPicture*> Icons;
};

}  // namespace

TEST(GeneratedCatalogue, ReadsBackEveryTableRow) {
  TMainUnitState S;
  LoadCatalogue(S, CatalogueFolder());
  EXPECT_TRUE(S.ErrorReports.empty());
  const auto Rows = TableFormatRows();
  ASSERT_GE(Rows.size(), 25u);
  ASSERT_EQ(S.AllFormats.size(), Rows.size());
  for (size_t I = 0; I < Rows.size(); ++I) {
    SCOPED_TRACE(Rows[I][1]);
    ASSERT_EQ(Rows[I].size(), 25u);
    EXPECT_EQ(FieldsInKeyOrder(S.AllFormats[I]), Rows[I]);
  }
  EXPECT_EQ(S.ChooserHeight, 470);
  ASSERT_EQ(S.Profiles.size(), 5u);
  const char* Titles[] = {"Common Video", "Web", "Mobile", "Audio", "All Profiles"};
  for (size_t I = 0; I < 5; ++I) EXPECT_EQ(S.Profiles[I].Title, Titles[I]);
  EXPECT_EQ(S.Profiles[4].ID, "0");
  for (const TProfile& P : S.Profiles)
    EXPECT_GE(FindProfileIcon(S.ProfileIcons, P.Icon, false), 0) << P.Icon;
  for (const TFormat& F : S.AllFormats)
    EXPECT_GE(FindProfileIcon(S.ProfileIcons, F.Icon, false), 0) << F.Icon;
}

TEST(GeneratedCatalogue, FormatsFileIsComplementedTextWithHeaderAndTrailer) {
  const std::string Plain = Invert(vantrel::test::ReadFileBytes(CatalogueFolder() + "/Formats.dat"));
  std::vector<std::string> Lines;
  size_t Start = 0;
  for (size_t P; (P = Plain.find("\r\n", Start)) != std::string::npos; Start = P + 2)
    Lines.push_back(Plain.substr(Start, P - Start));
  EXPECT_EQ(Start, Plain.size()) << "every line ends with CR LF";
  ASSERT_GE(Lines.size(), 6u);
  EXPECT_EQ(Lines[3].rfind("<format id=\"1\" name=\"MP4 H.264/AAC\"", 0), 0u);
  for (size_t I : {Lines.size() - 2, Lines.size() - 1, size_t{0}, size_t{1}, size_t{2}})
    EXPECT_EQ(Lines[I].find("name=\""), std::string::npos) << Lines[I];
  for (unsigned char C : Plain) EXPECT_LT(C, 0x80);
}

TEST(CatalogueReader, FormatLinesSkipThreeHeadAndTwoTailLines) {
  const std::string Line = "<format id=\"7\" name=\"X\" />";
  struct Case {
    int Lines;
    size_t Formats;
  } Cases[] = {{5, 0}, {6, 1}, {7, 2}, {2, 0}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Lines);
    TTempDir Dir;
    std::string Text;
    for (int I = 0; I < C.Lines; ++I) Text += (I >= 3 ? Line : "head") + std::string("\r\n");
    WriteFileBytes(Dir.File("Formats.dat"), Invert(Text));
    WriteFileBytes(Dir.File("Profiles.dat"), "a\r\n<p height=\"300\">\r\nb\r\n</profile>\r\n");
    TMainUnitState S;
    LoadCatalogue(S, Dir.Path());
    EXPECT_EQ(S.AllFormats.size(), C.Formats);
    if (C.Formats) {
      EXPECT_EQ(S.AllFormats[0].Category, "7");
    }
  }
}

TEST(CatalogueReader, MissingOrEmptyFormatsFileRaises) {
  TTempDir Dir;
  std::unique_ptr<TMemoryStream> Stream = std::make_unique<TMemoryStream>();
  TStringList Lines;
  EXPECT_ANY_THROW(ReadInvertedFile(Dir.File("none.dat"), Stream, Lines));
  EXPECT_EQ(Stream, nullptr);
  WriteFileBytes(Dir.File("empty.dat"), "");
  EXPECT_ANY_THROW(ReadInvertedFile(Dir.File("empty.dat"), Stream, Lines));
}

TEST(CatalogueReader, ProfilesEndAtFileEndWithoutClosingTag) {
  TTempDir Dir;
  WriteFileBytes(Dir.File("Profiles.dat"),
                 "x\r\n<p height=\"412\">\r\ny\r\n  <category id=\"5\" title=\"T\" icon=\"i\" />\r\n"
                 "skip me\r\n<category id=\"6\" title=\"U\" icon=\"j\"/>");
  TMainUnitState S;
  ReadProfiles(S, Dir.File("Profiles.dat"));
  EXPECT_EQ(S.ChooserHeight, 412);
  ASSERT_EQ(S.Profiles.size(), 2u);
  EXPECT_EQ(S.Profiles[1].ID, "6");
  EXPECT_EQ(S.Profiles[1].Title, "U");
  EXPECT_EQ(S.Profiles[1].Icon, "j");
}

TEST(CatalogueReader, BadHeightOrMissingFileRaisesAndIsReported) {
  TTempDir Dir;
  WriteFileBytes(Dir.File("Profiles.dat"), "x\r\n<p height=\"tall\">\r\n");
  TMainUnitState S;
  EXPECT_ANY_THROW(ReadProfiles(S, Dir.File("Profiles.dat")));
  EXPECT_ANY_THROW(ReadProfiles(S, Dir.File("gone.dat")));
  // Through the start-up steps the failure is reported and "All Profiles" still comes.
  WriteFileBytes(Dir.File("Formats.dat"), Invert("a\r\nb\r\nc\r\nd\r\ne\r\n"));
  LoadCatalogue(S, Dir.Path());
  ASSERT_EQ(S.ErrorReports.size(), 1u);
  EXPECT_EQ(S.ErrorReports[0].Text, "Error loading profiles");
  EXPECT_EQ(S.ErrorReports[0].Mark, "CLM_LoadProfiles");
  ASSERT_EQ(S.Profiles.size(), 1u);
  EXPECT_EQ(S.Profiles[0].Title, "All Profiles");
}

TEST(CatalogueReader, MissingAttributeGivesEmptyValue) {
  TMainUnitState S;
  S.AllFormats.resize(1);
  ParseFormatLine(S, "<format id=\"1\" keep_ori_frame_rate=\"9\" width=\"v\" />", 0);
  EXPECT_EQ(S.AllFormats[0].Title, "");
  EXPECT_EQ(S.AllFormats[0].FrameRate, "");
  EXPECT_EQ(S.AllFormats[0].KeepOriFrameRate, "9");
  EXPECT_EQ(S.AllFormats[0].Width, "v");
}

namespace {

TFormat MakeFormat(const String& Category, const String& Title) {
  TFormat F;
  F.Category = Category;
  F.Title = Title;
  F.VideoCodecName = "libx264";
  F.VideoCodecs = "libx264$H.264,libx265$H.265";
  F.AudioCodecName = "aac";
  F.AudioCodecs = "aac$AAC";
  F.Width = "1280";
  return F;
}

TMainUnitState ThreeProfiles(bool WithIcons) {
  TMainUnitState S;
  S.Profiles = {{"A", "1", "ICON_A", {}}, {"B", "1", "b", {}}, {"C", "2", "c", {}}};
  AppendAllProfiles(S);
  S.AllFormats = {MakeFormat("1", "f0"), MakeFormat("9", "f1"), MakeFormat("2", "f2"),
                  MakeFormat("1", "f3")};
  S.FormatTaken.assign(S.AllFormats.size(), false);
  if (WithIcons)
    for (const char* ID : {"icon_a", "MenuAll"}) {
      TProfileIcon I;
      I.ID = ID;
      I.Picture = std::make_unique<TPicture>();
      S.ProfileIcons.push_back(std::move(I));
    }
  return S;
}

std::vector<String> TitlesOf(const TProfile& P) {
  std::vector<String> T;
  for (const TFormat& F : P.Formats) T.push_back(F.Title);
  return T;
}

}  // namespace

TEST(CatalogueDistribution, FirstMatchingProfileAndAllProfiles) {
  TMainUnitState S = ThreeProfiles(true);
  RecordingWindow W;
  DistributeFormats(S, W);
  EXPECT_EQ(TitlesOf(S.Profiles[0]), (std::vector<String>{"f0", "f3"}));
  EXPECT_TRUE(S.Profiles[1].Formats.empty());
  EXPECT_EQ(TitlesOf(S.Profiles[2]), (std::vector<String>{"f2"}));
  EXPECT_EQ(TitlesOf(S.Profiles[3]), (std::vector<String>{"f0", "f1", "f2", "f3"}));
  ASSERT_EQ(W.Shown, (std::vector<String>{"f0"}));
  EXPECT_EQ(W.Icons[0], S.ProfileIcons[0].Picture.get()) << "icon IDs ignore case";
  EXPECT_TRUE(S.ErrorReports.empty());
}

TEST(CatalogueDistribution, RestoresSavedSelectionOrLeavesZero) {
  struct Case {
    int Profile, Format;
    int WantProfile, WantFormat;
    std::vector<String> Shown;
  } Cases[] = {{3, 2, 3, 2, {"f2"}}, {2, 5, 0, 0, {}}, {7, 0, 0, 0, {}}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Profile << "/" << C.Format);
    TMainUnitState S = ThreeProfiles(true);
    S.RecentProfileInd = C.Profile;
    S.RecentFormatInd = C.Format;
    RecordingWindow W;
    DistributeFormats(S, W);
    EXPECT_EQ(S.CurrentProfileInd, C.WantProfile);
    EXPECT_EQ(S.CurrentFormatInd, C.WantFormat);
    EXPECT_EQ(W.Shown, C.Shown);
  }
  TMainUnitState S = ThreeProfiles(true);
  S.RecentProfileInd = 3;
  S.RecentFormatInd = 0;
  RecordingWindow W;
  DistributeFormats(S, W);
  ASSERT_EQ(W.Icons.size(), 1u);
  EXPECT_EQ(W.Icons[0], S.ProfileIcons[1].Picture.get()) << "\"MenuAll\" serves \"menuall\"";
}

TEST(CatalogueDistribution, WithoutIconFilesEveryFormatStillReachesItsProfile) {
  TMainUnitState S = ThreeProfiles(false);
  S.RecentProfileInd = 2;
  RecordingWindow W;
  DistributeFormats(S, W);
  EXPECT_TRUE(S.ErrorReports.empty());
  EXPECT_EQ(TitlesOf(S.Profiles[2]), (std::vector<String>{"f2"}));
  EXPECT_EQ(S.Profiles[3].Formats.size(), 4u);
  ASSERT_EQ(W.Icons.size(), 1u);
  EXPECT_EQ(W.Icons[0], nullptr);
}

TEST(CatalogueDistribution, LastEditedValuesOnlyWhenTheirCodecsFit) {
  struct Case {
    const char* Video;
    const char* Audio;
    bool Applied;
  } Cases[] = {{"libx265", "aac", true}, {"libvpx", "aac", false}, {"libx264", "mp2", false}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Video);
    TMainUnitState S = ThreeProfiles(true);
    S.LastEditedProfileInd = 0;
    S.LastEditedFormatInd = 1;
    S.LastEditedValues[leVideoCodecName] = C.Video;
    S.LastEditedValues[leAudioCodecName] = C.Audio;
    S.LastEditedValues[leVideoWidth] = "640";
    RecordingWindow W;
    DistributeFormats(S, W);
    const TFormat& F = S.Profiles[0].Formats[1];
    EXPECT_EQ(F.VideoCodecName, C.Applied ? C.Video : "libx264");
    EXPECT_EQ(F.Width, C.Applied ? "640" : "1280");
    EXPECT_EQ(F.Height, "") << "a value missing from the store leaves its field";
    EXPECT_EQ(S.Profiles[0].Formats[0].Width, "1280");
  }
}
