// The conversion job: each entry's output record (codecs, rates, tags, the filter chain of
// picture settings, crop and bars), the output names, and the encoder's tasks.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "app/main_Job.h"
#include "media/FFLoad.h"
#include "platform/rtl/Exceptions.h"
#include "tests/app/ConversionFixture.h"
#include "tests/support/ProbeFixtures.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

using namespace vantrel::app;
using vantrel::apptest::ConversionEntry;
using vantrel::apptest::ConversionState;
using vantrel::apptest::ConversionVideoFormat;

TEST(ConversionJob, FilterChainsOfPictureSettingsCropAndShape) {
  struct Case {
    const char* Name;
    Integer SourceW, SourceH;
    const char* FormatW;
    const char* FormatH;
    Integer CropL, CropR, CropT, CropB, Aspect, Brightness, Contrast, Saturation;
    const char* Chain;
    const char* FrameAspect;
    double SourceAspect = 0;  // the source's display aspect; 0: square samples
  };
  const Case Cases[] = {
      {"wide source into 4:3 gets bars above and below", 1920, 1080, "640", "480", 0, 0, 0, 0, 0, 0, 0, 0,
       "pad=1920:1440:0:180:black,scale=640:480,setsar=1", ""},
      {"picture settings of a source of the output's shape", 640, 480, "640", "480", 0, 0, 0, 0, 0, 10, -5, 20,
       "nativeeq=10:-5,nativehue=0:20,scale=640:480,setsar=1", ""},
      {"brightness alone", 640, 480, "640", "480", 0, 0, 0, 0, 0, 0, 7, 0, "nativeeq=0:7,scale=640:480,setsar=1", ""},
      {"side margins of a PAL picture", 720, 576, "704", "576", 8, 8, 0, 0, 0, 0, 0, 0,
       "crop=704:576:8:0,scale=704:576,setsar=1", ""},
      // 640 x 480 shown 16:9 at height 480 is 853.3 wide: 106.7 on each side.
      {"4:3 source into 16:9 gets bars at the sides", 640, 480, "1280", "720", 0, 0, 0, 0, 0, 0, 0, 0,
       "pad=854:480:107:0:black,scale=1280:720,setsar=1", ""},
      {"16:9 display of a wide source", 1920, 1080, "640", "480", 0, 0, 0, 0, 3, 0, 0, 0,
       "pad=1920:1440:0:180:black,scale=640:480,setsar=1", "16:9"},
      {"4:3 display fills a 4:3 output", 1920, 1080, "640", "480", 0, 0, 0, 0, 2, 0, 0, 0, "scale=640:480,setsar=1",
       "4:3"},
      {"the output's own shape", 1920, 1080, "640", "480", 0, 0, 0, 0, 1, 0, 0, 0, "scale=640:480,setsar=1", ""},
      // A 400 x 280 crop shown 4:3 in a 16:9 frame: the frame, at the crop's height, is
      // 280 x 16/9 wide in 4:3 samples of 280 x 4/3 / 400: 533.3, so 66.7 on each side.
      {"400x280 crop at 4:3 into 16:9", 640, 360, "1280", "720", 120, 120, 40, 40, 2, 0, 0, 0,
       "crop=400:280:120:40,pad=534:280:67:0:black,scale=1280:720,setsar=1", "4:3"},
      {"400x280 crop at 16:9 into 16:9 fills it", 640, 360, "1280", "720", 120, 120, 40, 40, 3, 0, 0, 0,
       "crop=400:280:120:40,scale=1280:720,setsar=1", "16:9"},
      // Kept as it is, 400 x 280 in a 16:9 frame of its height: 497.8 wide.
      {"400x280 crop kept as it is into 16:9", 640, 360, "1280", "720", 120, 120, 40, 40, 0, 0, 0, 0,
       "crop=400:280:120:40,pad=498:280:49:0:black,scale=1280:720,setsar=1", ""},
      // 16:9 in a 4:3 frame: the frame at the crop's width is 400 x 3/4 = 300 tall in
      // samples 280 x 16/9 / 400 tall: 373.3, so 46.7 above and below.
      {"400x280 crop at 16:9 into 4:3", 640, 360, "640", "480", 120, 120, 40, 40, 3, 0, 0, 0,
       "crop=400:280:120:40,pad=400:374:0:47:black,scale=640:480,setsar=1", "16:9"},
      // 720 x 576 shown 4:3 (samples 16:15): in a 16:9 frame of its height, 960 wide.
      {"PAL picture of 4:3 kept as it is into 16:9", 720, 576, "1280", "720", 0, 0, 0, 0, 0, 0, 0, 0,
       "pad=960:576:120:0:black,scale=1280:720,setsar=1", "", 4.0 / 3.0},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TVideoFile E = ConversionEntry("/src/a.mp4", C.SourceW, C.SourceH);
    E.SourceAspectRatio = C.SourceAspect;
    E.CropLeft = C.CropL;
    E.CropRight = C.CropR;
    E.CropTop = C.CropT;
    E.CropBottom = C.CropB;
    E.AspectRatio = C.Aspect;
    E.Brightness = C.Brightness;
    E.Contrast = C.Contrast;
    E.Saturation = C.Saturation;
    TMainUnitState S = ConversionState(ConversionVideoFormat(C.FormatW, C.FormatH), E);
    ASSERT_TRUE(FillEntryRecords(S, 0));
    EXPECT_EQ(S.OutputOptionsList[0].VideoFilters, C.Chain);
    EXPECT_EQ(S.OutputOptionsList[0].FrameAspectRatio, C.FrameAspect);
    EXPECT_EQ(S.OutputOptionsList[0].FrameSize, "");
    EXPECT_EQ(S.InputOptionsList[0].FileName, "/src/a.mp4");
    EXPECT_TRUE(S.ErrorReports.empty());
  }
}

TEST(ConversionJob, CropAndPadFiltersOnlyWithMargins) {
  EXPECT_EQ(BuildCropFilter(720, 576, 0, 0, 0, 0), "");
  EXPECT_EQ(BuildCropFilter(720, 576, 8, 8, 0, 0), "crop=704:576:8:0");
  EXPECT_EQ(BuildCropFilter(720, 576, 0, 10, 4, 6), "crop=710:566:0:4");
  EXPECT_EQ(BuildPadFilter(1920, 1080, 0, 0, 0, 0), "");
  EXPECT_EQ(BuildPadFilter(1920, 1080, 0, 0, 180, 180), "pad=1920:1440:0:180:black");
  EXPECT_EQ(BuildPadFilter(640, 480, 107, 107, 0, 0), "pad=854:480:107:0:black");
}

TEST(ConversionJob, CodecsRatesAndTagsOfTheFormat) {
  struct Case {
    const char* Title;
    const char* Codec;
    const char* FrameRate;
    const char* VideoRate;
    const char* AudioRate;
    const char* ExtraParam;
    const char* WantCodec;
    const char* WantTag;
    const char* WantPreset;
    const char* WantFrameRate;
    Integer WantVideoRate, WantAudioRate;
  };
  const Case Cases[] = {
      {"H.264", "libx264", "29970", "1000000", "128000", "", "libx264", "", "libx264-default", "30", 1000000, 128000},
      {"Xvid AVI", "libxvid", "25000", "800000", "96000", "", "mpeg4", "XVID", "", "25", 800000, 96000},
      {"My dIvX player", "mpeg4", "23976", "", "", "", "mpeg4", "DIVX", "", "24", -1, -1},
      {"Half rate", "mpeg4", "12500", "1", "1", "g=12", "mpeg4", "", "", "12", 1, 1},
      {"Half rate up", "mpeg4", "13500", "1", "1", "", "mpeg4", "", "", "14", 1, 1},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Title);
    TFormat F = ConversionVideoFormat("320", "240");
    F.Title = C.Title;
    F.VideoCodecName = C.Codec;
    F.FrameRate = C.FrameRate;
    F.VideoBitRate = C.VideoRate;
    F.AudioBitRate = C.AudioRate;
    F.ExtraParam = C.ExtraParam;
    TMainUnitState S = ConversionState(F, ConversionEntry("/src/a.mp4", 320, 240));
    ASSERT_TRUE(FillEntryRecords(S, 0));
    const vantrel::media::TOutputOptions& O = S.OutputOptionsList[0];
    EXPECT_EQ(O.VideoCodec, C.WantCodec);
    EXPECT_EQ(O.VideoTag, C.WantTag);
    EXPECT_EQ(O.VideoPreset, C.WantPreset);
    EXPECT_EQ(O.FrameRate, C.WantFrameRate);
    EXPECT_EQ(O.VideoBitrate, C.WantVideoRate);
    EXPECT_EQ(O.AudioBitrate, C.WantAudioRate);
    EXPECT_EQ(O.ExtOptions, C.ExtraParam);
    EXPECT_EQ(O.AudioCodec, "aac");
    EXPECT_EQ(O.AudioSampleRate, 44100);
    EXPECT_EQ(O.AudioChannels, 2);
    EXPECT_EQ(O.FileExt, ".mp4");
    EXPECT_FALSE(O.DisableVideo);
  }
}

TEST(ConversionJob, SoundOnlyFormatsAndSourcesGetNoPictureFilters) {
  TFormat Mp3 = ConversionVideoFormat("", "");
  Mp3.IsAudioFormat = "1";
  Mp3.FormatExt = ".mp3";
  Mp3.VideoCodecName = "";
  Mp3.AudioCodecName = "libmp3lame";
  TVideoFile E = ConversionEntry("/src/a.mp4", 1920, 1080);
  E.Brightness = 30;
  E.CropLeft = 10;
  TMainUnitState S = ConversionState(Mp3, E);
  ASSERT_TRUE(FillEntryRecords(S, 0));
  EXPECT_TRUE(S.OutputOptionsList[0].DisableVideo);
  EXPECT_EQ(S.OutputOptionsList[0].VideoFilters, "");
  EXPECT_EQ(S.OutputOptionsList[0].VideoCodec, "");
  EXPECT_EQ(S.OutputOptionsList[0].AudioCodec, "libmp3lame");

  // A source without pictures into a video format: no crop, bars or scaling of nothing.
  TVideoFile Song = ConversionEntry("/src/song.mp3", -1, -1);
  Song.Brightness = 30;
  TMainUnitState T = ConversionState(ConversionVideoFormat("640", "480"), Song);
  ASSERT_TRUE(FillEntryRecords(T, 0));
  EXPECT_FALSE(T.OutputOptionsList[0].DisableVideo);
  EXPECT_EQ(T.OutputOptionsList[0].VideoFilters, "");
  EXPECT_TRUE(T.ErrorReports.empty());
}

TEST(ConversionJob, BadNumbersRaiseAndAFailingGeometryIsReported) {
  TFormat NoRate = ConversionVideoFormat("640", "480");
  NoRate.FrameRate = "";
  TMainUnitState S = ConversionState(NoRate, ConversionEntry("/src/a.mp4", 640, 480));
  EXPECT_THROW(FillEntryRecords(S, 0), EConvertError);
  TFormat NoWidth = ConversionVideoFormat("wide", "480");
  TMainUnitState T = ConversionState(NoWidth, ConversionEntry("/src/a.mp4", 640, 480));
  EXPECT_THROW(FillEntryRecords(T, 0), EConvertError);
  EXPECT_TRUE(T.ErrorReports.empty());

}

TEST(ConversionJob, ACropOutsideThePictureIsRefusedByTheFilesName) {
  struct Case {
    const char* Name;
    Integer Left, Right, Top, Bottom;
    bool Refused;
  };
  const Case Cases[] = {
      // Left 640, top 360, width and height 640 x 360 typed on a 640 x 360 picture.
      {"the corner beyond the picture", 640, 0, 360, 0, true},
      {"nothing left of the picture", 320, 320, 180, 180, true},
      {"margins wider than the picture", 400, 400, 0, 0, true},
      {"a negative margin", -10, 0, 0, 0, true},
      {"one pixel left", 639, 0, 0, 0, true},
      {"two pixels left", 638, 0, 0, 358, false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TVideoFile E = ConversionEntry("/src/holiday.mp4", 640, 360);
    E.CropLeft = C.Left;
    E.CropRight = C.Right;
    E.CropTop = C.Top;
    E.CropBottom = C.Bottom;
    TMainUnitState S = ConversionState(ConversionVideoFormat("640", "360"), E);
    EXPECT_EQ(FillEntryRecords(S, 0), !C.Refused);
    if (!C.Refused) {
      EXPECT_TRUE(S.ErrorReports.empty());
      continue;
    }
    ASSERT_EQ(S.ErrorReports.size(), 1u);
    EXPECT_EQ(S.ErrorReports[0].Mark, CLM_SetCropFilters);
    EXPECT_EQ(S.ErrorReports[0].Text,
              "The crop area of \"holiday.mp4\" does not lie inside its 640x360 picture. Please set it again in Edit.");
  }
}

TEST(ConversionJob, OutputNamesAreSafeUniqueAndNeverASource) {
  vantrel::test::TTempDir Dir;
  const String Folder = Dir.Path();
  const String Src = Dir.File("v.mp4");
  const String Other = Dir.File("w.avi");
  for (const String& F : {Src, Other}) {
    std::FILE* Fp = std::fopen(F.c_str(), "w");
    ASSERT_NE(Fp, nullptr);
    std::fclose(Fp);
  }
  TMainUnitState S;
  TFormat Mp4 = ConversionVideoFormat("640", "480");
  TFormat Avi = Mp4;
  Avi.FormatExt = ".avi";
  S.Profiles.push_back({"Profile", "id", "icon", {Mp4, Avi}});
  struct Case {
    const char* Source;
    const char* Title;
    Integer FormatInd;
    const char* Want;  // in Folder
  };
  const Case Cases[] = {
      {"v.mp4", "clip", 0, "clip.mp4"},
      {"v.mp4", "clip", 0, "clip (2).mp4"},
      {"v.mp4", "clip", 1, "clip.avi"},
      {"v.mp4", "clip", 0, "clip (3).mp4"},
      {"v.mp4", "../x", 0, ".._x.mp4"},
      {"v.mp4", "", 0, "v (2).mp4"},     // the source's title, and v.mp4 is the source
      {"w.avi", "..", 1, "w (2).avi"},    // all dots: the source's title; w.avi is a source
      {"v.mp4", "a/b/c", 0, "a_b_c.mp4"},
      {"v.mp4", "v", 0, "v (3).mp4"},
  };
  for (const Case& C : Cases) {
    TVideoFile E = ConversionEntry(Dir.File(C.Source), 640, 480);
    E.DestinationTitle = C.Title;
    E.FormatInd = C.FormatInd;
    S.VideoFiles.push_back(E);
  }
  const std::vector<String> Names = SingleOutputNames(S, Folder);
  ASSERT_EQ(Names.size(), std::size(Cases));
  for (size_t I = 0; I < Names.size(); ++I) {
    SCOPED_TRACE(Cases[I].Title);
    EXPECT_EQ(Names[I], Dir.File(Cases[I].Want));
  }
  EXPECT_EQ(JoinedOutputName(S, Folder, ".mp4"), Dir.File("Joined.mp4"));
  TMainUnitState J;
  J.Profiles = S.Profiles;
  J.VideoFiles.push_back(ConversionEntry(Dir.File("Joined.mp4"), 640, 480));
  ASSERT_EQ(::rename(Src.c_str(), Dir.File("Joined.mp4").c_str()), 0);
  EXPECT_EQ(JoinedOutputName(J, Folder, ".mp4"), Dir.File("Joined (2).mp4"));
  EXPECT_EQ(JoinedOutputName(J, Folder, ".mkv"), Dir.File("Joined.mkv"));
}

TEST(ConversionJob, AnythingOnDiskKeepsItsNameAndTheOutputTakesTheNextFreeOne) {
  vantrel::test::TTempDir Dir;
  // An earlier output (no source of the job), a folder and a link that leads nowhere.
  vantrel::test::WriteFileBytes(Dir.File("clip.mp4"), "earlier");
  ASSERT_EQ(::mkdir(Dir.File("clip (2).mp4").c_str(), 0777), 0);
  ASSERT_EQ(::symlink(Dir.File("nowhere").c_str(), Dir.File("clip (3).mp4").c_str()), 0);
  vantrel::test::WriteFileBytes(Dir.File("Joined.mkv"), "earlier");
  TMainUnitState S;
  S.Profiles.push_back({"Profile", "id", "icon", {ConversionVideoFormat("640", "480")}});
  for (int K = 0; K < 2; ++K) {
    TVideoFile E = ConversionEntry(Dir.File("src.mp4"), 640, 480);
    E.DestinationTitle = "clip";
    S.VideoFiles.push_back(E);
  }
  EXPECT_EQ(SingleOutputNames(S, Dir.Path()), (std::vector<String>{Dir.File("clip (4).mp4"), Dir.File("clip (5).mp4")}));
  EXPECT_EQ(JoinedOutputName(S, Dir.Path(), ".mkv"), Dir.File("Joined (2).mkv"));
  EXPECT_EQ(vantrel::test::ReadFileBytes(Dir.File("clip.mp4")), "earlier");
}

namespace {

// The encoder with the media libraries loaded for the test.
class ConversionJobTasks : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(vantrel::media::FFLoader().Load(vantrel::media::EncoderLibraries))
        << vantrel::media::FFLoader().LastErrMsg();
    Encoder = CreateOwned<vantrel::media::TFFEncoder>(nullptr);
    S.Profiles.push_back(
        {"Profile", "id", "icon", {ConversionVideoFormat("320", "240"), ConversionVideoFormat("160", "120")}});
    S.Profiles[0].Formats[1].FormatExt = ".mkv";
    S.OutputFolder = Dir.Path();
  }
  void TearDown() override {
    Encoder.reset();
    vantrel::media::FFLoader().Unload(vantrel::media::EncoderLibraries);
  }
  void AddEntry(const String& Fixture, Integer FormatInd, Int64 Start, Int64 End) {
    TVideoFile E = ConversionEntry(vantrel::test::FixturePath(Fixture), 320, 240);
    E.FormatInd = FormatInd;
    E.TimeStart = Start;
    E.TimeEnd = End;
    S.VideoFiles.push_back(E);
  }

  vantrel::test::TTempDir Dir;
  TMainUnitState S;
  TOwned<vantrel::media::TFFEncoder> Encoder;
};

}  // namespace

TEST_F(ConversionJobTasks, SeparateOutputsAreOneTaskPerEntryWithoutSound) {
  AddEntry("v.mp4", 0, 500000, 1500000);
  AddEntry("v.mp4", 1, 0, 2000000);
  ASSERT_TRUE(BuildConversionJob(S, *Encoder, false, 1));
  EXPECT_EQ(Encoder->TasksCount(), 2);
  ASSERT_EQ(S.OutputOptionsList.size(), 2u);
  const String Names[] = {Dir.File("v.mp4"), Dir.File("v.mkv")};
  for (Integer I = 0; I < 2; ++I) {
    SCOPED_TRACE(I);
    const vantrel::media::TOutputOptions& O = S.OutputOptionsList[I];
    EXPECT_EQ(O.FileName, Names[I]);
    EXPECT_TRUE(O.DisableAudio);
    EXPECT_FALSE(O.Join);
    EXPECT_EQ(O.Info.TimeStamp, 0);
    EXPECT_EQ(O.TimeLength, S.VideoFiles[I].TimeEnd - S.VideoFiles[I].TimeStart);
    EXPECT_EQ(S.InputOptionsList[I].TimeStart, S.VideoFiles[I].TimeStart);
  }
  // A second start clears the first job's tasks.
  ASSERT_TRUE(BuildConversionJob(S, *Encoder, false, 1));
  EXPECT_EQ(Encoder->TasksCount(), 2);
}

TEST_F(ConversionJobTasks, MergeJoinsIntoTheCurrentRowsOutputAndOneEntryStaysSingle) {
  AddEntry("v.mp4", 0, 500000, 1500000);
  ASSERT_TRUE(BuildConversionJob(S, *Encoder, true, 1));
  EXPECT_EQ(Encoder->TasksCount(), 1);
  EXPECT_EQ(S.OutputOptionsList[0].FileName, Dir.File("v.mp4"));
  EXPECT_FALSE(S.OutputOptionsList[0].Join);
  EXPECT_TRUE(S.OutputOptionsList[0].DisableAudio);

  AddEntry("v.mp4", 1, 500000, 1500000);
  ASSERT_TRUE(BuildConversionJob(S, *Encoder, true, 2));
  EXPECT_EQ(Encoder->TasksCount(), 1);
  const vantrel::media::TOutputOptions& O = S.OutputOptionsList[1];
  EXPECT_TRUE(O.Join);
  EXPECT_EQ(O.FileName, Dir.File("Joined.mkv"));
  EXPECT_FALSE(O.DisableAudio);
  EXPECT_FALSE(S.OutputOptionsList[0].Join);
  // Trim settings stay off joined inputs.
  EXPECT_EQ(S.InputOptionsList[0].TimeStart, vantrel::media::NoPTSValue);
}

// Everything in a folder: names and contents.
std::map<std::string, std::string> JobFolder(const std::string& ADir) {
  std::map<std::string, std::string> Files;
  for (const auto& E : std::filesystem::directory_iterator(ADir))
    Files[E.path().filename()] = vantrel::test::ReadFileBytes(E.path());
  return Files;
}

TEST_F(ConversionJobTasks, AnEarlierOutputIsKeptByteForByteAndTheNewOneTakesTheNextName) {
  vantrel::test::WriteFileBytes(Dir.File("v.mp4"), "earlier output");
  const auto Before = JobFolder(Dir.Path());
  AddEntry("v.mp4", 0, 0, 2000000);
  ASSERT_TRUE(BuildConversionJob(S, *Encoder, false, 1));
  EXPECT_EQ(S.OutputOptionsList[0].FileName, Dir.File("v (2).mp4"));
  EXPECT_EQ(JobFolder(Dir.Path()), Before);  // building the job makes nothing
  Encoder->Start(0);
  auto After = JobFolder(Dir.Path());
  ASSERT_EQ(After.count("v (2).mp4"), 1u);
  EXPECT_FALSE(vantrel::test::FFProbeEntries(Dir.File("v (2).mp4"), "stream=codec_name", "v").empty());
  After.erase("v (2).mp4");
  EXPECT_EQ(After, Before);
}

TEST_F(ConversionJobTasks, AMissingSourceStopsTheBuildAndTheFolderStaysAsItWas) {
  vantrel::test::WriteFileBytes(Dir.File("v.mp4"), "earlier output");
  const auto Before = JobFolder(Dir.Path());
  AddEntry("v.mp4", 0, 0, 2000000);
  AddEntry("no-such-file.mp4", 0, 0, 2000000);
  AddEntry("v.mp4", 0, 0, 2000000);
  EXPECT_FALSE(BuildConversionJob(S, *Encoder, false, 1));
  ASSERT_EQ(S.ErrorReports.size(), 1u);
  EXPECT_NE(S.ErrorReports[0].Text.find(vantrel::test::FixturePath("no-such-file.mp4")), String::npos)
      << S.ErrorReports[0].Text;
  Encoder->ClearTasks();
  EXPECT_EQ(JobFolder(Dir.Path()), Before);
}

TEST_F(ConversionJobTasks, AFailingEngineCallIsReportedWithItsMark) {
  AddEntry("v.mp4", 0, 0, 2000000);
  AddEntry("no-such-file.mp4", 0, 0, 2000000);
  EXPECT_FALSE(BuildConversionJob(S, *Encoder, false, 1));
  ASSERT_EQ(S.ErrorReports.size(), 1u);
  EXPECT_EQ(S.ErrorReports[0].Mark, CLM_FFAddTaskToMeged);
  EXPECT_FALSE(S.ErrorReports[0].Text.empty());

  S.ErrorReports.clear();
  EXPECT_FALSE(BuildConversionJob(S, *Encoder, true, 1));
  ASSERT_EQ(S.ErrorReports.size(), 1u);
  EXPECT_EQ(S.ErrorReports[0].Mark, CLM_FFAddInputFileToMerged);

  S.ErrorReports.clear();
  S.VideoFiles.pop_back();
  S.OutputFolder = Dir.File("missing/deeper");
  EXPECT_FALSE(BuildConversionJob(S, *Encoder, false, 1));
  ASSERT_EQ(S.ErrorReports.size(), 1u);
  EXPECT_EQ(S.ErrorReports[0].Mark, CLM_SetOutputFile);
  EXPECT_EQ(S.ErrorReports[0].Text.rfind("Cannot set output file: ", 0), 0u) << S.ErrorReports[0].Text;
  EXPECT_NE(S.ErrorReports[0].Text.find("\r\nPlease choose other output folder or rename output file."),
            String::npos);
}

TEST_F(ConversionJobTasks, AJoinIntoVideoRefusesAFileWithoutPicturesByItsNameBeforeAnyTask) {
  TFormat Mp3 = ConversionVideoFormat("", "");
  Mp3.IsAudioFormat = "1";
  Mp3.FormatExt = ".mp3";
  Mp3.VideoCodecName = "";
  Mp3.AudioCodecName = "libmp3lame";
  S.Profiles[0].Formats.push_back(Mp3);
  auto AddSong = [&](Integer FormatInd) {
    TVideoFile E = ConversionEntry(vantrel::test::FixturePath("probe-title.mp3"), -1, -1);
    E.FormatInd = FormatInd;
    S.VideoFiles.push_back(E);
  };
  const String Refusal =
      "\"probe-title.mp3\" has no video and cannot be joined into a video file. Please remove it from the list or "
      "choose an audio format.";
  struct Case {
    const char* Name;
    bool SongFirst;
    const char* Mark;
  };
  const Case Cases[] = {
      {"after a clip", false, CLM_FFAddInputFileToMerged},
      {"first", true, CLM_FFAddTaskToMerged},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    S.VideoFiles.clear();
    S.ErrorReports.clear();
    if (C.SongFirst) AddSong(0);
    AddEntry("v.mp4", 0, 0, 2000000);
    if (!C.SongFirst) AddSong(0);
    EXPECT_FALSE(BuildConversionJob(S, *Encoder, true, 1));
    ASSERT_EQ(S.ErrorReports.size(), 1u);
    EXPECT_EQ(S.ErrorReports[0].Text, Refusal);
    EXPECT_EQ(S.ErrorReports[0].Mark, C.Mark);
    EXPECT_EQ(Encoder->TasksCount(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(Dir.Path()));
  }
  // Into a sound format the song joins the clip's sound.
  S.ErrorReports.clear();
  for (TVideoFile& E : S.VideoFiles) E.FormatInd = 2;
  EXPECT_TRUE(BuildConversionJob(S, *Encoder, true, 1));
  EXPECT_TRUE(S.ErrorReports.empty());
  EXPECT_EQ(Encoder->TasksCount(), 1);
}
