// A new user's first conversion, driven only by pointer and keys under a window manager:
// "Add Video" opens the open dialog, the file's name is typed into its "File name" field,
// Open adds it, the big convert button converts it with the format the program starts
// with, and the output plays in ffprobe for as long as the source does.
#include <gtest/gtest.h>


#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/app/x11/X11ProgramRun.h"
#include "tests/support/ProbeFixtures.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"
#include "tests/support/TranscodeProbe.h"

namespace {

using namespace vantrel::x11apptest;

// The main window's client area as the program lays it out (its frame adds the same
// border left, right and below, and the caption above).
constexpr int FirstMainClientWidth = 792;
constexpr int FirstMainClientHeight = 449;
// The convert button, in the main window's client area.
constexpr int FirstConvertX = 659 + 45, FirstConvertY = 345 + 45;

class UserFirstConversion : public UserLevelTest {};

TEST_F(UserFirstConversion, AFileTypedIntoTheOpenDialogConvertsWithTheDefaultFormat) {
  // A clip with a space in its name, where a user keeps it.
  const std::string Source = Program->Home().File("holiday clip.mp4");
  vantrel::test::CopyMediaFile(vantrel::test::FixturePath("v.mp4"), Source);
  const std::string SourceDuration = vantrel::test::FFProbeEntries(Source, "format=duration");
  const int SourceFrames = vantrel::test::TranscodeCountFrames(Source);
  ASSERT_FALSE(SourceDuration.empty());
  ASSERT_GT(SourceFrames, 0);

  const auto [Border, ClientTop] = ClientOrigin(Dpy, Main, FirstMainClientWidth, FirstMainClientHeight);
  ASSERT_GE(Border, 0);
  ASSERT_GT(ClientTop, Border) << "no caption above the client area";

  ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, Source));

  ClickAt(Dpy, Main, Border + FirstConvertX, ClientTop + FirstConvertY);
  const Window Progress = WaitForWindow(Dpy, "Conversion", 30);
  ASSERT_NE(Progress, 0u) << "the convert button started no conversion";
  // The job ends with a notice (the default format keeps no audio) that the user
  // acknowledges; then the progress window goes.
  const bool Ended = WaitForJobEnd(Dpy, Main, Progress, 150, nullptr, "x11-first-conversion-end.png");
  ASSERT_TRUE(Ended) << "the conversion did not end within 150 s";

  // The output: in the output folder the window shows on start, named after the source.
  const std::string Folder = Program->Home().File("Documents/Quillmoor/Vantrel/Output");
  ASSERT_EQ(FolderEntries(Folder), std::vector<std::string>{"holiday clip.mp4"});
  const std::string Output = Folder + "/holiday clip.mp4";
  const std::string Duration = vantrel::test::FFProbeEntries(Output, "format=duration");
  ASSERT_FALSE(Duration.empty()) << "ffprobe cannot read the output";
  EXPECT_NEAR(std::atof(Duration.c_str()), std::atof(SourceDuration.c_str()), 0.05);
  EXPECT_EQ(vantrel::test::TranscodeCountFrames(Output), SourceFrames) << "not every picture plays";
}

}  // namespace
