// A new user's first conversion, driven only by pointer and keys under a window manager:
// "Add Video" opens the open dialog, the file's name is typed into its "File name" field,
// Open adds it, the big convert button converts it with the format the program starts
// with, and the output plays in ffprobe for as long as the source does.
#include <gtest/gtest.h>

#include <dirent.h>

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

int FirstWidthOf(Display* Dpy, Window W) {
  XWindowAttributes A{};
  XGetWindowAttributes(Dpy, W, &A);
  return A.width;
}

int FirstHeightOf(Display* Dpy, Window W) {
  XWindowAttributes A{};
  XGetWindowAttributes(Dpy, W, &A);
  return A.height;
}

// A viewable top-level window called AName other than AExcept (inside its frame when a
// window manager runs), or 0.
Window FirstOtherWindowNamed(Display* Dpy, Window AParent, const std::string& AName, Window AExcept, int Depth) {
  Window RootOut = 0, Parent = 0, *Children = nullptr;
  unsigned Count = 0;
  Window Found = 0;
  if (!XQueryTree(Dpy, AParent, &RootOut, &Parent, &Children, &Count)) return 0;
  for (unsigned I = 0; I < Count && !Found; ++I) {
    XWindowAttributes A{};
    if (!XGetWindowAttributes(Dpy, Children[I], &A) || A.map_state != IsViewable) continue;
    char* Name = nullptr;
    const bool Named = XFetchName(Dpy, Children[I], &Name) && Name && AName == Name;
    if (Name) XFree(Name);
    if (Named && Children[I] != AExcept)
      Found = Children[I];
    else if (!Named && Depth > 0)
      Found = FirstOtherWindowNamed(Dpy, Children[I], AName, AExcept, Depth - 1);
  }
  if (Children) XFree(Children);
  return Found;
}

std::vector<std::string> FirstFilesIn(const std::string& AFolder) {
  std::vector<std::string> Names;
  if (DIR* D = opendir(AFolder.c_str())) {
    while (const dirent* E = readdir(D))
      if (E->d_name[0] != '.') Names.push_back(E->d_name);
    closedir(D);
  }
  return Names;
}

class UserFirstConversion : public UserLevelTest {};

TEST_F(UserFirstConversion, AFileTypedIntoTheOpenDialogConvertsWithTheDefaultFormat) {
  // A clip with a space in its name, where a user keeps it.
  const std::string Source = Program->Home().File("holiday clip.mp4");
  vantrel::test::CopyMediaFile(vantrel::test::FixturePath("v.mp4"), Source);
  const std::string SourceDuration = vantrel::test::FFProbeEntries(Source, "format=duration");
  const int SourceFrames = vantrel::test::TranscodeCountFrames(Source);
  ASSERT_FALSE(SourceDuration.empty());
  ASSERT_GT(SourceFrames, 0);

  const int Border = (FirstWidthOf(Dpy, Main) - FirstMainClientWidth) / 2;
  const int ClientTop = FirstHeightOf(Dpy, Main) - FirstMainClientHeight - Border;
  ASSERT_GE(Border, 0);
  ASSERT_GT(ClientTop, Border) << "no caption above the client area";

  ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, Source));

  ClickAt(Dpy, Main, Border + FirstConvertX, ClientTop + FirstConvertY);
  const Window Progress = WaitForWindow(Dpy, "Conversion", 30);
  ASSERT_NE(Progress, 0u) << "the convert button started no conversion";
  // The job ends with a notice (the default format keeps no audio) that the user
  // acknowledges; then the progress window goes.
  bool Acknowledged = false;
  const bool Ended = WaitUntil(
      [&] {
        if (!Acknowledged) {
          XGrabServer(Dpy);
          const Window Notice = FirstOtherWindowNamed(Dpy, DefaultRootWindow(Dpy), "Vantrel", Main, 2);
          XUngrabServer(Dpy);
          XSync(Dpy, False);
          if (Notice && WaitForPaintedCaption(Dpy, Notice, 2) >= 2) {
            SaveCapture(CaptureScreen(Dpy), testing::TempDir() + "x11-first-conversion-end.png");
            ClickAt(Dpy, Notice, 12, FirstHeightOf(Dpy, Notice) / 3);  // on its text: the notice has the keys
            if (WaitForFocus(Dpy, Notice, 5)) {
              PressKeys(Dpy, "Return");
              Acknowledged = true;
            }
          }
        }
        return WaitForUnmap(Dpy, Progress, 0);
      },
      150);
  ASSERT_TRUE(Ended) << "the conversion did not end within 150 s";

  // The output: in the output folder the window shows on start, named after the source.
  const std::string Folder = Program->Home().File("Documents/Quillmoor/Vantrel/Output");
  ASSERT_EQ(FirstFilesIn(Folder), std::vector<std::string>{"holiday clip.mp4"});
  const std::string Output = Folder + "/holiday clip.mp4";
  const std::string Duration = vantrel::test::FFProbeEntries(Output, "format=duration");
  ASSERT_FALSE(Duration.empty()) << "ffprobe cannot read the output";
  EXPECT_NEAR(std::atof(Duration.c_str()), std::atof(SourceDuration.c_str()), 0.05);
  EXPECT_EQ(vantrel::test::TranscodeCountFrames(Output), SourceFrames) << "not every picture plays";
}

}  // namespace
