// Converting to sound as a user does, driven only by pointer and keys under a window
// manager: MP3 picked in the format chooser, a selection typed in the Trim dialog gives a
// file of just the selection's sound, and the notice that a converted file has no sound
// shows after a video job whose source had sound, never after a job of sound files.
#include <gtest/gtest.h>


#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/x11/X11ProgramRun.h"
#include "tests/support/ProbeFixtures.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace vantrel::x11apptest;

// The main window's client area and its points: "Trim", the convert button
// and the format field (266 x 28 at 70, 6 of the bottom panel at 12, 348).
constexpr int AudMainClientWidth = 792;
constexpr int AudMainClientHeight = 449;
constexpr int AudTrimX = 45, AudTrimY = 120 + 45;
constexpr int AudConvertX = 659 + 45, AudConvertY = 345 + 45;
constexpr int AudFormatFieldX = 12 + 70 + 130, AudFormatFieldY = 348 + 6 + 14;
// "Merge into one file": its box in the bottom panel.
constexpr int AudMergeX = 12 + 448 + 8, AudMergeY = 348 + 50 + 10;
// The format chooser (500 x 470, no frame): the profiles in rows of 25 from 5 down at the
// left, the formats of the profile shown in rows of 50 from 4 down right of 148. "Audio"
// is the fourth profile of the catalogue, "MP3 Audio" its first format.
constexpr int AudChooserWidth = 500, AudChooserHeight = 470;
constexpr int AudProfileX = 70, AudAudioProfileY = 5 + 3 * 25 + 12;
constexpr int AudFormatX = 148 + 160, AudFirstFormatY = 4 + 25;
// In the Trim dialog's client area the start and end time fields (88 x 21 at 342, 352
// and 342, 384), the OK beside each (35 x 21 at 434) and the dialog's OK (85 x 25 at 304, 427).
constexpr int AudTimeFieldX = 342 + 60, AudStartY = 352 + 10, AudEndY = 384 + 10;
constexpr int AudTimeOkX = 434 + 17;
constexpr int AudTrimOkX = 304 + 42, AudTrimOkY = 427 + 12;
// The bar with the selection's markers, between the picture and the buttons.
constexpr int AudBarTop = 300, AudBarBottom = 345;

// The output of a shell command (its error output too).
std::string AudShell(const std::string& ACommand) {
  std::string Out;
  if (std::FILE* P = ::popen((ACommand + " 2>&1").c_str(), "r")) {
    char Buf[4096];
    size_t N;
    while ((N = std::fread(Buf, 1, sizeof Buf, P)) > 0) Out.append(Buf, N);
    ::pclose(P);
  }
  return Out;
}

// The length of the sound of AFile as ffprobe decodes it: its samples over its rate.
double AudSoundSeconds(const std::string& AFile) {
  const std::string Rate =
      AudShell("ffprobe -v error -select_streams a:0 -show_entries stream=sample_rate -of csv=p=0 '" + AFile + "'");
  const std::string Samples = AudShell("ffprobe -v error -select_streams a:0 -show_frames -show_entries "
                                       "frame=nb_samples -of csv=p=0 '" + AFile + "'");
  double Sum = 0;
  for (size_t At = 0; At < Samples.size();) {
    const size_t End = Samples.find('\n', At);
    Sum += std::atof(Samples.substr(At, End - At).c_str());
    if (End == std::string::npos) break;
    At = End + 1;
  }
  const double R = std::atof(Rate.c_str());
  return R > 0 ? Sum / R : -1;
}

// The pitch (Hz) of the tone from AFrom to ATo seconds of AFile's sound: half its zero
// crossings per second, as ffmpeg's astats counts them.
double AudToneAt(const std::string& AFile, double AFrom, double ATo) {
  const std::string Out = AudShell("ffmpeg -nostdin -hide_banner -i '" + AFile + "' -af 'atrim=" +
                                   std::to_string(AFrom) + ":" + std::to_string(ATo) +
                                   ",aresample=44100,astats' -f null -");
  const std::string Key = "Zero crossings rate: ";
  const size_t At = Out.rfind(Key);
  return At == std::string::npos ? -1 : std::atof(Out.c_str() + At + Key.size()) * 44100 / 2;
}

class UserConvertAudio : public UserLevelTest {
 protected:
  void SetUp() override {
    UserLevelTest::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    const TClientOrigin O = ClientOrigin(Dpy, Main, AudMainClientWidth, AudMainClientHeight);
    Border = O.Border;
    ClientTop = O.Top;
    ASSERT_GE(Border, 0);
    Folder = Program->Home().File("Documents/Quillmoor/Vantrel/Output");
  }
  void ClickMain(int X, int Y) { ClickAt(Dpy, Main, Border + X, ClientTop + Y); }

  // "Add Video", the file's name typed into the open dialog, Open.
  void AddVideo(const std::string& AFile) { ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, AFile)) << AFile; }

  // The format field opens the chooser; the pointer rests on "Audio" until its formats
  // show, then "MP3 Audio" is clicked.
  void ChooseMp3() {
    ClickMain(AudFormatFieldX, AudFormatFieldY);
    Window Chooser = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
          Chooser = FindTopLevel(Dpy, [&](Window C) {
            const TWindowSize S = WindowSize(Dpy, C);
            return S.Width == AudChooserWidth && S.Height == AudChooserHeight;
          });
          return Chooser != 0;
        },
        20))
        << "the format field opened no chooser";
    ASSERT_TRUE(WaitUntil([&] { return CaptureWindow(Dpy, Chooser).At(AudFormatX, AudFirstFormatY) != 0; }, 10));
    const TCapture Before = CaptureWindow(Dpy, Chooser);
    MovePointerTo(Dpy, Chooser, AudProfileX, AudAudioProfileY);
    MovePointerTo(Dpy, Chooser, AudProfileX + 4, AudAudioProfileY + 1);
    // The formats of "Audio" replace the ones shown before.
    ASSERT_TRUE(WaitUntil(
        [&] {
          const TCapture C = CaptureWindow(Dpy, Chooser);
          for (int Y = 4; Y < 104; ++Y)
            for (int X = 150; X < 480; ++X)
              if (C.At(X, Y) != Before.At(X, Y)) return true;
          return false;
        },
        10))
        << "resting on \"Audio\" did not show its formats";
    SaveCapture(CaptureWindow(Dpy, Chooser), testing::TempDir() + "x11-chooser-audio.png");
    MovePointerTo(Dpy, Chooser, AudFormatX, AudFirstFormatY);
    ClickAt(Dpy, Chooser, AudFormatX, AudFirstFormatY);
    ASSERT_TRUE(WaitForUnmap(Dpy, Chooser, 10)) << "choosing a format left the chooser up";
  }

  // Ticks "Merge into one file" (its box shows blue when ticked).
  void CheckMerge() {
    auto Checked = [&] {
      const uint32_t P = CaptureWindow(Dpy, Main).At(Border + AudMergeX, ClientTop + AudMergeY);
      return (P & 0xFF) > 0xA0 && ((P >> 16) & 0xFF) < 0x80;
    };
    for (int I = 0; I < 3 && !Checked(); ++I) {
      ClickMain(AudMergeX, AudMergeY);
      WaitUntil(Checked, 2);
    }
    ASSERT_TRUE(Checked()) << "\"Merge into one file\" does not show checked";
  }

  // Start and end typed as hhmmss into the Trim dialog, each confirmed, then OK.
  void TrimTo(const char* AStart, const char* AEnd) {
    ClickMain(AudTrimX, AudTrimY);
    const Window Trim = WaitForWindow(Dpy, "Trim", 20);
    ASSERT_NE(Trim, 0u) << "\"Trim\" opened no dialog";
    WaitForPaintedCaption(Dpy, Trim, 8);
    ASSERT_TRUE(WaitUntil(
        [&] { return CaptureWindow(Dpy, Trim).At(Border + AudTrimOkX, ClientTop + AudTrimOkY) != 0; }, 10));
    // The dialog has painted its first picture when its pixels stay as they are.
    TCapture Last = CaptureWindow(Dpy, Trim);
    WaitUntil(
        [&] {
          std::this_thread::sleep_for(std::chrono::milliseconds(300));
          TCapture Now = CaptureWindow(Dpy, Trim);
          const bool Still = Now.Pixels == Last.Pixels;
          Last = std::move(Now);
          return Still;
        },
        10);
    for (const auto& [Y, Digits] : {std::pair{AudStartY, AStart}, std::pair{AudEndY, AEnd}}) {
      // The field's text: its pixels left of its OK.
      auto FieldPixels = [&, Y = Y] {
        const TCapture C = CaptureWindow(Dpy, Trim);
        std::vector<uint32_t> P;
        for (int Row = -8; Row <= 8; ++Row)
          for (int X = -56; X < 28; ++X) P.push_back(C.At(Border + AudTimeFieldX + X, ClientTop + Y + Row));
        return P;
      };
      const auto Before = FieldPixels();
      // A typing the field did not take (it shows what it showed before) is typed again.
      bool Taken = false;
      for (int Try = 0; Try < 3 && !Taken; ++Try) {
        ClickAt(Dpy, Trim, Border + AudTimeFieldX, ClientTop + Y);
        PressKeys(Dpy, "Home");
        ASSERT_TRUE(TypeText(Dpy, Digits));
        Taken = WaitUntil([&] { return FieldPixels() != Before; }, 3);
      }
      ASSERT_TRUE(Taken) << "the time field did not take " << Digits;
      // Its OK moves the selection's marker on the bar above the buttons.
      auto BarPixels = [&] {
        const TCapture C = CaptureWindow(Dpy, Trim);
        std::vector<uint32_t> P;
        for (int Row = AudBarTop; Row < AudBarBottom; ++Row)
          for (int X = 0; X < 480; ++X) P.push_back(C.At(Border + X, ClientTop + Row));
        return P;
      };
      const auto Bar = BarPixels();
      bool Moved = false;
      for (int Try = 0; Try < 3 && !Moved; ++Try) {
        ClickAt(Dpy, Trim, Border + AudTimeOkX, ClientTop + Y);
        Moved = WaitUntil([&] { return BarPixels() != Bar; }, 3);
      }
      ASSERT_TRUE(Moved) << "OK beside " << Digits << " moved no marker";
    }
    SaveCapture(CaptureWindow(Dpy, Trim), testing::TempDir() + "x11-audio-trim-typed.png");
    ClickAt(Dpy, Trim, Border + AudTrimOkX, ClientTop + AudTrimOkY);
    ASSERT_TRUE(WaitForUnmap(Dpy, Trim, 20)) << "OK left the Trim dialog up";
  }

  // The convert button, then the job to its end; true when it ended. ANoticed tells
  // whether a message box came up before the conversion window closed (acknowledged).
  bool ConvertToTheEnd(bool& ANoticed) {
    ClickMain(AudConvertX, AudConvertY);
    const Window Progress = WaitForWindow(Dpy, "Conversion", 30);
    if (!Progress) {
      ADD_FAILURE() << "the convert button started no conversion";
      return false;
    }
    return WaitForJobEnd(Dpy, Main, Progress, 150, &ANoticed, "x11-audio-notice.png");
  }

  int Border = 0;
  int ClientTop = 0;
  std::string Folder;
};

TEST_F(UserConvertAudio, ASelectionTrimmedAndConvertedToMp3IsTheSelectionsSoundWithoutANotice) {
  // Ten seconds whose tone rises every second: 200 Hz x (1 + the second).
  const std::string Source = Program->Home().File("tones.mp4");
  vantrel::test::CopyMediaFile(vantrel::test::FixturePath("trim-tones.mp4"), Source);
  AddVideo(Source);
  if (HasFatalFailure()) return;
  TrimTo("000003", "000007");
  if (HasFatalFailure()) return;
  ChooseMp3();
  if (HasFatalFailure()) return;
  bool Noticed = true;
  ASSERT_TRUE(ConvertToTheEnd(Noticed)) << "the conversion did not end";
  EXPECT_FALSE(Noticed) << "a job of sound files ended with the notice that sound was left out";
  EXPECT_EQ(FolderEntries(Folder), std::vector<std::string>{"tones.mp3"});

  // Four seconds of sound, within 30 ms, from the tone of second 3 (800 Hz) to that of
  // second 6 (1400 Hz); 30 ms more of a neighbour second moves the pitch of the 150 ms
  // at that end by 40 Hz or more.
  const std::string Out = Folder + "/tones.mp3";
  EXPECT_EQ(AudShell("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 '" + Out + "'"), "audio\n");
  const double Length = AudSoundSeconds(Out);
  EXPECT_NEAR(Length, 4.0, 0.03);
  EXPECT_NEAR(AudToneAt(Out, 0, 0.15), 800, 20);
  EXPECT_NEAR(AudToneAt(Out, Length - 0.15, Length), 1400, 20);
}

TEST_F(UserConvertAudio, AVideoConvertedWithoutItsSoundEndsWithTheNotice) {
  const std::string Clip = Program->Home().File("clip.mp4");
  vantrel::test::CopyMediaFile(vantrel::test::FixturePath("v.mp4"), Clip);
  AddVideo(Clip);
  if (HasFatalFailure()) return;
  bool Noticed = false;
  ASSERT_TRUE(ConvertToTheEnd(Noticed)) << "the conversion did not end";
  EXPECT_TRUE(Noticed) << "no notice after a video whose sound was left out";
  EXPECT_EQ(FolderEntries(Folder), std::vector<std::string>{"clip.mp4"});
}

// A clip without sound after one with sound, merged: the joined file has both clips'
// pictures and a sound track as long, silent for the second clip.
TEST_F(UserConvertAudio, MergingAClipWithoutSoundAfterOneWithSoundGivesSilenceForIt) {
  const std::string Sound = Program->Home().File("sound.mp4");
  vantrel::test::CopyMediaFile(vantrel::test::FixturePath("v.mp4"), Sound);
  const std::string Silent = Program->Home().File("silent.mp4");
  const std::string Cmd = "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "
                          "testsrc=size=320x240:rate=25:duration=1 -c:v libx264 -pix_fmt yuv420p '" + Silent + "'";
  ASSERT_EQ(std::system(Cmd.c_str()), 0) << Cmd;
  for (const std::string& File : {Sound, Silent}) {
    AddVideo(File);
    if (HasFatalFailure()) return;
  }
  CheckMerge();
  if (HasFatalFailure()) return;
  bool Noticed = false;
  ASSERT_TRUE(ConvertToTheEnd(Noticed)) << "the conversion did not end";
  ASSERT_EQ(FolderEntries(Folder), std::vector<std::string>{"Joined.mp4"}) << "no joined file";
  const std::string Joined = Folder + "/Joined.mp4";
  EXPECT_EQ(AudShell("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 '" + Joined + "'"),
            "video\naudio\n");
  // Two seconds with sound, then one without.
  EXPECT_NEAR(std::atof(AudShell("ffprobe -v error -show_entries format=duration -of csv=p=0 '" + Joined + "'")
                            .c_str()),
              3.0, 0.04);
  EXPECT_NEAR(AudSoundSeconds(Joined), 3.0, 0.04);
}

}  // namespace
