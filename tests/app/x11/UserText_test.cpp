// Text a user must be able to read, driven by pointer and keys under a window manager and
// read from screen captures: a long error message shows whole in the "Error!" window, the
// file grid's last header reads "Format" to its end, the Conversion window's file label
// shows the underscore of "phone_rot.mp4", and the open dialog's filter lists the
// program's own WebM outputs and, under "All Files (*)", every file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/app/x11/X11ProgramRun.h"

namespace {

using namespace vantrel::x11apptest;

constexpr int TextClientWidth = 792;
constexpr int TextClientHeight = 449;
constexpr int TextAddVideoX = 45, TextAddVideoY = 29 + 45;
constexpr int TextRowX = 92 + 60, TextRowY = 29 + 40;
constexpr int TextPlayX = 530 + 12, TextPlayY = 309 + 12;
constexpr int TextConvertX = 659 + 45, TextConvertY = 345 + 45;
constexpr int TextBandHeight = 80;
constexpr int TextOpenFromRight = 80 - 35, TextOpenY = 10 + 12;
// The open dialog's "File type" list: its field, 10 + 21 + 12 below the band's top.
constexpr int TextTypeX = 70 + 40, TextTypeY = 56;

// Text ink: a dark pixel.
bool TextInk(uint32_t P) { return ((P >> 16) & 0xFF) < 0x70 && ((P >> 8) & 0xFF) < 0x70 && (P & 0xFF) < 0x70; }

class UserText : public UserLevelTest {
 protected:
  void SetUp() override {
    UserLevelTest::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    const TClientOrigin O = ClientOrigin(Dpy, Main, TextClientWidth, TextClientHeight);
    Border = O.Border;
    ClientTop = O.Top;
  }
  std::string MakeClip(const std::string& APath, const std::string& AInputs) {
    const std::string Cmd = "ffmpeg -nostdin -v error -y " + AInputs + " '" + APath + "'";
    EXPECT_EQ(std::system(Cmd.c_str()), 0) << Cmd;
    return APath;
  }
  void Click(int X, int Y) { ClickAt(Dpy, Main, Border + X, ClientTop + Y); }

  // "Add Video" and the open dialog, painted; its bottom band's top.
  Window OpenTheDialog(int& ABandTop) {
    Click(TextAddVideoX, TextAddVideoY);
    const Window Dialog = WaitForWindow(Dpy, "Open file", 20);
    if (!Dialog) return 0;
    WaitForPaintedCaption(Dpy, Dialog, 8);
    ABandTop = WindowSize(Dpy, Dialog).Height - Border - TextBandHeight;
    const int OpenX = WindowSize(Dpy, Dialog).Width - Border - TextOpenFromRight;
    WaitUntil([&] { return CaptureWindow(Dpy, Dialog).At(OpenX, ABandTop + TextOpenY) != 0; }, 10);
    return Dialog;
  }
  int Border = 0, ClientTop = 0;
};

// The message of a file that is gone: its 200-odd character path (blanks between words,
// and one name longer than a line) and the reason, wrapped inside the window, which grows
// for it; nothing runs past the right edge.
TEST_F(UserText, ALongErrorMessageShowsWholeInTheErrorWindow) {
  std::string Folder = Program->Home().File("");
  for (const char* Part : {"a folder with a rather long name kept for the error report",
                           "averyveryverylongfoldernamewithoutanyblankforthewrappingofthetext", "and one more"})
    Folder += std::string("/") + Part;
  std::filesystem::create_directories(Folder);
  const std::string Clip = MakeClip(Folder + "/clip to play.mp4",
                                    "-f lavfi -i testsrc=size=160x120:rate=25:duration=2 -c:v libx264 -pix_fmt yuv420p");
  ASSERT_GE(Clip.size() + std::string(": No such file or directory").size(), 200u);
  ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, Clip));
  // The grid (white, where the getting-started picture was) shows the file in its first
  // row once it is added.
  ASSERT_TRUE(WaitUntil(
      [&] {
        const TCapture C = CaptureWindow(Dpy, Main);
        if ((C.At(Border + 112, ClientTop + 229) & 0xFFFFFF) != 0xFFFFFF) return false;
        for (int Y = ClientTop + 29 + 25; Y < ClientTop + 29 + 45; ++Y)
          for (int X = Border + 100; X < Border + 300; ++X)
            if (TextInk(C.At(X, Y))) return true;
        return false;
      },
      20));
  std::filesystem::remove(Clip);
  Click(TextRowX, TextRowY);
  Click(TextPlayX, TextPlayY);
  const Window Report = WaitForWindow(Dpy, "Error!", 20);
  if (!Report) SaveCapture(CaptureScreen(Dpy), testing::TempDir() + "x11-text-no-report.png");
  ASSERT_NE(Report, 0u) << "the missing file is not reported";
  WaitForPaintedCaption(Dpy, Report, 4);
  usleep(500000);
  const TCapture C = CaptureWindow(Dpy, Report);
  SaveCapture(C, testing::TempDir() + "x11-text-error-window.png");
  const int B = (C.Width - 375) / 2;
  ASSERT_GE(B, 0);
  // The error picture's red disc (15..47, 11..43 of the client area) gives the client top.
  int Top = -1;
  for (int Y = 0; Y < C.Height && Top < 0; ++Y)
    for (int X = B + 15; X < B + 47 && Top < 0; ++X) {
      const uint32_t P = C.At(X, Y);
      if (((P >> 16) & 0xFF) > 0xA0 && ((P >> 8) & 0xFF) < 0x40 && (P & 0xFF) < 0x40) Top = Y - 12;
    }
  ASSERT_GT(Top, 0) << "no error picture";
  // Lines of text right of the picture, down to the first line that starts at the left
  // edge ("Error report is generated...").
  auto Any = [&](int Y, int X0, int X1) {
    for (int X = B + X0; X < B + X1; ++X)
      if (TextInk(C.At(X, Y))) return true;
    return false;
  };
  int Bands = 0, Y = Top + 8;
  bool InBand = false;
  for (; Y < C.Height - B && !Any(Y, 9, 60); ++Y) {
    const bool Ink = Any(Y, 63, 366);
    if (Ink && !InBand) ++Bands;
    InBand = Ink;
  }
  // No text runs past the right edge anywhere in the window.
  for (int Row = Top; Row < C.Height - B; ++Row)
    EXPECT_FALSE(Any(Row, 373, 375)) << "text runs to the right edge at row " << Row - Top;
  // The title line and at least four lines of the message.
  EXPECT_GE(Bands, 5) << "the message is not wrapped whole";
  EXPECT_GT(Y - Top, 66 + 13) << "the texts below did not move down";
  const auto [RootX, RootY] = RootOrigin(Dpy, Report);
  EXPECT_LE(RootY + C.Height, DisplayHeight(Dpy, DefaultScreen(Dpy)));
}

// The grid's last column reaches past the grid's edge; its header still reads "Format"
// whole: blank header between the last letter and the grid's edge.
TEST_F(UserText, TheLastGridHeaderShowsWhole) {
  ASSERT_TRUE(AddThroughOpenDialog(
      Dpy, Main,
      MakeClip(Program->Home().File("clip.mp4"),
               "-f lavfi -i testsrc=size=160x120:rate=25:duration=2 -c:v libx264 -pix_fmt yuv420p")));
  usleep(500000);
  const TCapture C = CaptureWindow(Dpy, Main);
  SaveCapture(C, testing::TempDir() + "x11-text-grid-header.png");
  // The header band: the rows above the first row's text, from the grid's top.
  const int X0 = Border + 92 + 132 + 70 + 70 + 100 + 6, X1 = Border + 92 + 423;
  int Right = -1, Gap = 1000;
  for (int Y = ClientTop + 31; Y < ClientTop + 31 + 20; ++Y) {
    // The header's last pixel of this row: its colour, rightmost before the grid's edge.
    const uint32_t Back = C.At(X0, Y);
    int Edge = X0, RowRight = -1;
    for (int X = X0; X < X1; ++X) {
      if (C.At(X, Y) == Back) Edge = X;
      if (TextInk(C.At(X, Y))) RowRight = X;
    }
    if (RowRight < 0) continue;
    Right = std::max(Right, RowRight);
    Gap = std::min(Gap, Edge - RowRight);
  }
  ASSERT_GE(Right, 0) << "no header text in the last column";
  EXPECT_GE(Gap, 2) << "the header's last letter is cut at the grid's edge";
}

// Converting "phone_rot.mp4": the label of the Conversion window shows a flat bar below
// the letters, the underscore, whole.
TEST_F(UserText, TheConversionLabelShowsTheUnderscore) {
  ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main,
                                   MakeClip(Program->Home().File("phone_rot.mp4"),
                                            "-f lavfi -i testsrc=size=1280x720:rate=25:duration=60 -c:v libx264 "
                                            "-preset ultrafast -pix_fmt yuv420p")));
  Click(TextConvertX, TextConvertY);
  const Window Progress = WaitForWindow(Dpy, "Conversion", 30);
  ASSERT_NE(Progress, 0u);
  WaitForPaintedCaption(Dpy, Progress, 4);
  bool Underscore = false;
  WaitUntil(
      [&] {
        const TCapture C = CaptureWindow(Dpy, Progress);
        // The label's ink rows, in the window's upper part, left half, inside the frame.
        std::vector<int> Rows;
        for (int Y = 0; Y < C.Height / 3; ++Y) {
          int Count = 0;
          for (int X = 8; X < C.Width / 2; ++X) Count += TextInk(C.At(X, Y));
          if (Count > 0 && Count < C.Width / 4) Rows.push_back(Y);
        }
        // A flat bar of six or more dark pixels with nothing dark two rows above it, among
        // the label's lowest rows.
        for (size_t I = Rows.size() > 3 ? Rows.size() - 3 : 0; I < Rows.size(); ++I) {
          const int Y = Rows[I];
          int Run = 0;
          for (int X = 8; X < C.Width / 2; ++X) {
            Run = TextInk(C.At(X, Y)) && !TextInk(C.At(X, Y - 2)) ? Run + 1 : 0;
            if (Run >= 6) {
              Underscore = true;
              SaveCapture(C, testing::TempDir() + "x11-text-conversion-label.png");
              return true;
            }
          }
        }
        return false;
      },
      20);
  EXPECT_TRUE(Underscore) << "the underscore of phone_rot.mp4 does not show";
  SaveCapture(CaptureWindow(Dpy, Progress), testing::TempDir() + "x11-text-conversion.png");
}

// The open dialog in a folder holding a WebM file (what the program itself writes), a
// text file and a name without a dot: "All Supported Formats" lists the WebM file alone,
// "All Files (*)", the last type, lists all three.
TEST_F(UserText, TheOpenDialogListsWebmAndAllFiles) {
  const std::string Videos = Program->Home().File("Videos");
  std::filesystem::create_directories(Videos);
  MakeClip(Videos + "/own output.webm",
           "-f lavfi -i testsrc=size=160x120:rate=25:duration=1 -c:v libvpx -b:v 200k");
  for (const char* Name : {"notes.txt", "README"})
    if (FILE* F = std::fopen((Videos + "/" + Name).c_str(), "w")) {
      std::fputs("text\n", F);
      std::fclose(F);
    }
  int BandTop = 0;
  const Window Dialog = OpenTheDialog(BandTop);
  ASSERT_NE(Dialog, 0u);
  // The rows of the file list with a name in them, between the look-in bar and the band.
  auto ListedRows = [&] {
    const TCapture C = CaptureWindow(Dpy, Dialog);
    int Rows = 0;
    bool In = false;
    for (int Y = 64; Y < BandTop - 4; ++Y) {
      bool Ink = false;
      for (int X = Border + 30; X < C.Width / 2 && !Ink; ++X) Ink = TextInk(C.At(X, Y));
      if (Ink && !In) ++Rows;
      In = Ink;
    }
    return Rows;
  };
  EXPECT_TRUE(WaitUntil([&] { return ListedRows() == 1; }, 10)) << ListedRows() << " rows under the supported types";
  SaveCapture(CaptureWindow(Dpy, Dialog), testing::TempDir() + "x11-text-open-supported.png");
  ClickAt(Dpy, Dialog, Border + TextTypeX, BandTop + TextTypeY);
  ASSERT_TRUE(WaitForFocus(Dpy, Dialog, 10)) << "the open dialog never took the keyboard focus";
  // Down to the last type: the list holds fewer than 45.
  for (int I = 0; I < 45; ++I) PressKeys(Dpy, "Down");
  PressKeys(Dpy, "Return");
  EXPECT_TRUE(WaitUntil([&] { return ListedRows() == 3; }, 10)) << ListedRows() << " rows under all files";
  SaveCapture(CaptureWindow(Dpy, Dialog), testing::TempDir() + "x11-text-open-all-files.png");
  PressKeys(Dpy, "Escape");
}

}  // namespace
