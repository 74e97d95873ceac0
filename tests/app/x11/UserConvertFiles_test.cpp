// Converting into a folder that already holds outputs, driven only by pointer and keys
// under a window manager: a clip converted again keeps the earlier output byte for byte
// and is written under the next free name, and a job cancelled while a long clip converts
// leaves the folder with only complete files (the earlier ones as they were).
#include <gtest/gtest.h>

#include <dirent.h>

#include <cstdlib>
#include <map>
#include <string>

#include "tests/app/x11/X11ProgramRun.h"
#include "tests/support/ProbeFixtures.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"
#include "tests/support/TranscodeProbe.h"

namespace {

using namespace vantrel::x11apptest;

// The main window's client area and its convert button.
constexpr int ConvMainClientWidth = 792;
constexpr int ConvMainClientHeight = 449;
constexpr int ConvConvertX = 659 + 45, ConvConvertY = 345 + 45;
// The "Trim" button of the main window; in the Trim dialog's client area the start and end
// time fields (88 x 21 at 342, 352 and 342, 384), the OK beside each (35 x 21 at 434) and
// the dialog's OK (85 x 25 at 304, 427).
constexpr int ConvTrimX = 45, ConvTrimY = 120 + 45;
constexpr int ConvTimeFieldX = 342 + 60, ConvStartY = 352 + 10, ConvEndY = 384 + 10;
constexpr int ConvTimeOkX = 434 + 17;
constexpr int ConvTrimOkX = 304 + 42, ConvTrimOkY = 427 + 12;
// The band below the time line where the start and end markers stand.
constexpr int ConvMarkersY = 327, ConvMarkersHeight = 14;
// The conversion window's Cancel button (75 x 25 at 303, 142 of its client area).
constexpr int ConvCancelX = 303 + 37, ConvCancelY = 142 + 12;

// Every entry of a folder (hidden ones too) with its bytes.
std::map<std::string, std::string> ConvFolder(const std::string& AFolder) {
  std::map<std::string, std::string> Files;
  if (DIR* D = opendir(AFolder.c_str())) {
    while (const dirent* E = readdir(D)) {
      const std::string Name = E->d_name;
      if (Name != "." && Name != "..") Files[Name] = vantrel::test::ReadFileBytes(AFolder + "/" + Name);
    }
    closedir(D);
  }
  return Files;
}

class UserConvertFiles : public UserLevelTest {
 protected:
  void SetUp() override {
    UserLevelTest::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    const TClientOrigin O = ClientOrigin(Dpy, Main, ConvMainClientWidth, ConvMainClientHeight);
    Border = O.Border;
    ClientTop = O.Top;
    Folder = Program->Home().File("Documents/Quillmoor/Vantrel/Output");
  }

  // The convert button: the conversion window, or 0.
  Window Convert() {
    ClickAt(Dpy, Main, Border + ConvConvertX, ClientTop + ConvConvertY);
    return WaitForWindow(Dpy, "Conversion", 30);
  }

  int Border = 0;
  int ClientTop = 0;
  std::string Folder;
};

TEST_F(UserConvertFiles, ConvertingAgainAndCancellingKeepEveryEarlierOutput) {
  const std::string Clip = Program->Home().File("clip.mp4");
  const std::string Long = Program->Home().File("long.mp4");
  vantrel::test::CopyMediaFile(vantrel::test::FixturePath("v.mp4"), Clip);
  vantrel::test::CopyMediaFile(vantrel::test::FixturePath("long.mp4"), Long);
  ASSERT_GE(Border, 0);

  ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, Clip));
  Window Progress = Convert();
  ASSERT_NE(Progress, 0u) << "the convert button started no conversion";
  ASSERT_TRUE(WaitForJobEnd(Dpy, Main, Progress, 150)) << "the first conversion did not end";
  const auto First = ConvFolder(Folder);
  ASSERT_EQ(First.size(), 1u);
  ASSERT_EQ(First.count("clip.mp4"), 1u);

  // The same clip again: the earlier output stays, the new one takes the next name.
  Progress = Convert();
  ASSERT_NE(Progress, 0u);
  ASSERT_TRUE(WaitForJobEnd(Dpy, Main, Progress, 150)) << "the second conversion did not end";
  auto Second = ConvFolder(Folder);
  ASSERT_EQ(Second.count("clip (2).mp4"), 1u) << "no new output beside the earlier one";
  EXPECT_FALSE(vantrel::test::FFProbeEntries(Folder + "/clip (2).mp4", "format=duration").empty());
  EXPECT_EQ(Second.at("clip.mp4"), First.at("clip.mp4")) << "the earlier output changed";
  EXPECT_EQ(Second.size(), 2u);

  // A long clip after it, converted, cancelled while the long clip converts.
  ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, Long));
  Progress = Convert();
  ASSERT_NE(Progress, 0u);
  ASSERT_TRUE(WaitUntil([&] { return ConvFolder(Folder).count("clip (3).mp4") == 1; }, 60))
      << "the clip's third output did not appear";
  WaitForPaintedCaption(Dpy, Progress, 5);
  ClickAt(Dpy, Progress, Border + ConvCancelX, ClientTop + ConvCancelY);
  ASSERT_TRUE(WaitForUnmap(Dpy, Progress, 30)) << "Cancel left the conversion window up";
  auto After = ConvFolder(Folder);
  EXPECT_EQ(After.at("clip.mp4"), Second.at("clip.mp4"));
  EXPECT_EQ(After.at("clip (2).mp4"), Second.at("clip (2).mp4"));
  ASSERT_EQ(After.count("clip (3).mp4"), 1u);
  EXPECT_NEAR(std::atof(vantrel::test::FFProbeEntries(Folder + "/clip (3).mp4", "format=duration").c_str()), 2.0, 0.1);
  // Nothing of the cancelled long clip: no partial or hidden file.
  EXPECT_EQ(After.size(), 3u);
}

TEST_F(UserConvertFiles, ATrimTypedInTheTrimDialogGivesAnOutputOfTheSelection) {
  // Ten seconds whose picture gets lighter every second (luma 16 + 20 s).
  const std::string Source = Program->Home().File("tones.mp4");
  vantrel::test::CopyMediaFile(vantrel::test::FixturePath("trim-tones.mp4"), Source);
  ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, Source));

  ClickAt(Dpy, Main, Border + ConvTrimX, ClientTop + ConvTrimY);
  const Window Trim = WaitForWindow(Dpy, "Trim", 20);
  ASSERT_NE(Trim, 0u) << "\"Trim\" opened no dialog";
  WaitForPaintedCaption(Dpy, Trim, 8);
  ASSERT_TRUE(WaitUntil([&] { return CaptureWindow(Dpy, Trim).At(Border + ConvTrimOkX, ClientTop + ConvTrimOkY) != 0; }, 10));
  // The dialog asks for the keyboard focus as it opens; a click into it while the window
  // manager is still moving the focus there may have its keys go elsewhere.
  ASSERT_TRUE(WaitForFocus(Dpy, Trim, 10)) << "the Trim dialog never took the keyboard focus";
  // The pixels of a band of the dialog's client area, full width.
  auto Band = [&](int Top, int Height) {
    const TCapture C = CaptureWindow(Dpy, Trim);
    return std::vector<uint32_t>(C.Pixels.begin() + static_cast<size_t>(ClientTop + Top) * C.Width,
                                 C.Pixels.begin() + static_cast<size_t>(ClientTop + Top + Height) * C.Width);
  };
  for (const auto& [Y, Digits] : {std::pair{ConvStartY, "000003"}, std::pair{ConvEndY, "000007"}}) {
    SCOPED_TRACE(Digits);
    const auto Field = Band(Y - 8, 16);
    ClickAt(Dpy, Trim, Border + ConvTimeFieldX, ClientTop + Y);
    PressKeys(Dpy, "Home");
    ASSERT_TRUE(TypeText(Dpy, Digits));
    ASSERT_TRUE(WaitUntil([&] { return Band(Y - 8, 16) != Field; }, 10)) << "the typed time does not show";
    const auto Markers = Band(ConvMarkersY, ConvMarkersHeight);
    ClickAt(Dpy, Trim, Border + ConvTimeOkX, ClientTop + Y);
    ASSERT_TRUE(WaitUntil([&] { return Band(ConvMarkersY, ConvMarkersHeight) != Markers; }, 10))
        << "OK beside the field moved no marker";
  }
  SaveCapture(CaptureWindow(Dpy, Trim), testing::TempDir() + "x11-trim-typed.png");
  ClickAt(Dpy, Trim, Border + ConvTrimOkX, ClientTop + ConvTrimOkY);
  ASSERT_TRUE(WaitForUnmap(Dpy, Trim, 20)) << "OK left the Trim dialog up";

  const Window Progress = Convert();
  ASSERT_NE(Progress, 0u);
  ASSERT_TRUE(WaitForJobEnd(Dpy, Main, Progress, 150)) << "the conversion did not end";
  const std::string Out = Folder + "/tones.mp4";
  // Four seconds, within one frame, from the picture of second 3 to that of second 6: above
  // black (16), the last picture is twice as light as the first (black bars of the
  // format's shape scale both alike).
  EXPECT_NEAR(std::atof(vantrel::test::FFProbeEntries(Out, "format=duration").c_str()), 4.0, 0.04);
  const auto Luma = vantrel::test::TranscodeFrameStats(Out, "YAVG");
  ASSERT_FALSE(Luma.empty());
  ASSERT_GT(Luma.back().second, 20);
  EXPECT_NEAR((Luma.front().second - 16) / (Luma.back().second - 16), 0.5, 0.05);
}

}  // namespace
