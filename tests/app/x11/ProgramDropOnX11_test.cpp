// Files dragged from another program onto the running program's main window on a real
// (virtual) X server: the drop is taken, the list grows by one row per file, and names with
// spaces, non-ASCII letters and characters URIs must escape arrive as they are on disk
// (a name decoded wrongly names no file, and adds no row).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/x11/X11ProgramRun.h"
#include "tests/platform/display/x11/XdndSource.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace vantrel::x11apptest;
using namespace vantrel::x11test;

// Where the file list shows its rows in the default skin's main window at its first-start
// size (read off a capture): rows of 20 pixels, one pixel apart, below the list's header,
// which is as high and starts a row's pitch above the first row.
constexpr int FirstStartWidth = 800, FirstStartHeight = 483;
constexpr int ListLeft = 100, ListRight = 515, ListRowsTop = 84, ListBottom = 325;
constexpr int ListRowHeight = 20, ListRowPitch = 21, ListHeaderTop = ListRowsTop - ListRowPitch;

// The window once it stops changing: two captures 300 ms apart are the same (10 s at most).
TCapture SteadyCapture(Display* Dpy, Window W) {
  TCapture Last = CaptureWindow(Dpy, W);
  for (int Try = 0; Try < 33; ++Try) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    TCapture Now = CaptureWindow(Dpy, W);
    if (Now.Pixels == Last.Pixels) return Now;
    Last = std::move(Now);
  }
  return Last;
}

// The lines of dark text in the list's area, as [top, bottom) bands of pixel rows.
struct TTextBand {
  int Top, Bottom;
};
std::vector<TTextBand> ListTextLines(const TCapture& C) {
  std::vector<TTextBand> Bands;
  for (int Y = ListRowsTop; Y < ListBottom; ++Y) {
    int Dark = 0;
    for (int X = ListLeft; X < ListRight; ++X) {
      const uint32_t P = C.At(X, Y);
      Dark += ((P >> 16) & 0xFF) + ((P >> 8) & 0xFF) + (P & 0xFF) < 300;
    }
    const bool Text = Dark >= 4;
    if (Text && (Bands.empty() || Bands.back().Bottom != Y)) Bands.push_back({Y, Y + 1});
    else if (Text) Bands.back().Bottom = Y + 1;
  }
  return Bands;
}

// Pixels of row ARow (from 1) that differ from the header's at the same place: few for a
// second copy of the header, many for a file's row (its own background and texts).
int PixelsUnlikeTheHeader(const TCapture& C, int ARow) {
  const int Top = ListRowsTop + ListRowPitch * (ARow - 1);
  int Differing = 0;
  for (int Y = 0; Y < ListRowHeight; ++Y)
    for (int X = ListLeft; X < ListRight; ++X)
      Differing += (C.At(X, Top + Y) & 0xFFFFFF) != (C.At(X, ListHeaderTop + Y) & 0xFFFFFF);
  return Differing;
}

// Pixels of the getting-started picture's blue in the list's area.
size_t PictureBluePixels(const TCapture& C) {
  size_t Blue = 0;
  for (int Y = ListRowsTop; Y < ListBottom; ++Y)
    for (int X = ListLeft; X < ListRight; ++X) {
      const uint32_t P = C.At(X, Y);
      Blue += (P & 0xFF) > 200 && ((P >> 16) & 0xFF) < 80;
    }
  return Blue;
}

// The window once its list shows ARows lines of text and no picture (the program adds a
// dropped file after it tells the source it took the drop), or as it is after 60 s.
TCapture WaitForListRows(Display* Dpy, Window W, size_t ARows) {
  for (int Try = 0; Try < 600; ++Try) {
    const TCapture C = CaptureWindow(Dpy, W);
    if (ListTextLines(C).size() == ARows && PictureBluePixels(C) == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return SteadyCapture(Dpy, W);
}

// One text line per row, each within its 20-pixel row, top to bottom, and each row a file's
// row rather than a copy of the header.
void ExpectRows(Display* Dpy, Window W, size_t ARows, const std::string& AShot) {
  const TCapture C = WaitForListRows(Dpy, W, ARows);
  SaveCapture(C, testing::TempDir() + AShot);
  const std::vector<TTextBand> Lines = ListTextLines(C);
  ASSERT_EQ(Lines.size(), ARows) << "see " << testing::TempDir() + AShot;
  for (size_t I = 0; I < Lines.size(); ++I) {
    SCOPED_TRACE("row " + std::to_string(I + 1));
    EXPECT_GE(Lines[I].Top, ListRowsTop + 20 * static_cast<int>(I));
    EXPECT_LE(Lines[I].Bottom, ListRowsTop + 20 * static_cast<int>(I + 1));
    EXPECT_GT(PixelsUnlikeTheHeader(C, static_cast<int>(I) + 1), (ListRight - ListLeft) * ListRowHeight / 4)
        << "row " << I + 1 << " shows the header again; see " << testing::TempDir() + AShot;
  }
  EXPECT_EQ(PictureBluePixels(C), 0u) << "the getting-started picture is still shown";
}

TEST(ProgramDropOnX11, FilesDraggedFromAnotherProgramJoinTheList) {
  const vantrel::x11apptest::TXConnection Connection = vantrel::x11apptest::OpenTestDisplay();
  ASSERT_NE(Connection, nullptr) << "run under a virtual X server";
  Display* Dpy = Connection.get();
  TProgramRun Program;
  ASSERT_TRUE(Program.Started());
  const Window Main = WaitForWindow(Dpy, "Vantrel", 90);
  ASSERT_NE(Main, 0u) << "no mapped window named Vantrel";
  ASSERT_GE(WaitForPaintedCaption(Dpy, Main, 8), 8u);

  const std::string Folder = Program.Home().File("Clips für Ö & 100% #1");
  ASSERT_EQ(mkdir(Folder.c_str(), 0700), 0);
  const std::string First = Folder + "/Sommer ♫ Ferien.mp4", Second = Folder + "/zweite Datei.avi";
  vantrel::test::CopyMediaFile(vantrel::test::FixturePath("v.mp4"), First);
  vantrel::test::CopyMediaFile(vantrel::test::FixturePath("task-a.avi"), Second);

  // The client area paints after the caption, the picture with it.
  WaitUntil([&] { return PictureBluePixels(CaptureWindow(Dpy, Main)) > 500; }, 30);
  const TCapture Empty = SteadyCapture(Dpy, Main);
  ASSERT_EQ(Empty.Width, FirstStartWidth);
  ASSERT_EQ(Empty.Height, FirstStartHeight);
  ASSERT_GT(PictureBluePixels(Empty), 500u) << "no getting-started picture before the drop";
  int X = 0, Y = 0;
  Window Child = 0;
  XTranslateCoordinates(Dpy, Main, DefaultRootWindow(Dpy), (ListLeft + ListRight) / 2, (ListRowsTop + ListBottom) / 2,
                        &X, &Y, &Child);
  const Atom Copy = XInternAtom(Dpy, "XdndActionCopy", False);

  {
    SCOPED_TRACE("a name with spaces, non-ASCII letters, '&', '%' and '#', its types in the message");
    const TXdndDropResult R = DropUriList(Dpy, Main, X, Y, FileUri(First) + "\r\n", {"text/plain", "text/uri-list"});
    EXPECT_EQ(R.AwareVersion, 5);
    EXPECT_TRUE(R.Accepted);
    EXPECT_EQ(R.StatusAction, Copy);
    EXPECT_TRUE(R.ListAsked);
    EXPECT_TRUE(R.FinishedAccepted);
    EXPECT_EQ(R.FinishedAction, Copy);
    ExpectRows(Dpy, Main, 1, "x11-drop-first.png");
  }
  {
    SCOPED_TRACE("a localhost URI after a comment and a web address, many types in the type list");
    const std::string List = "# dragged\nhttp://example.org/clip.mp4\nfile://localhost" + FileUri(Second).substr(7);
    const std::vector<std::string> Types{"x-special/gnome-icon-list", "text/uri-list", "text/plain;charset=utf-8",
                                         "UTF8_STRING"};
    const TXdndDropResult R = DropUriList(Dpy, Main, X, Y, List, Types);
    EXPECT_TRUE(R.Accepted);
    EXPECT_TRUE(R.FinishedAccepted);
    ExpectRows(Dpy, Main, 2, "x11-drop-second.png");
  }
  {
    SCOPED_TRACE("no file of this machine: the drop is refused at the end");
    const TXdndDropResult R =
        DropUriList(Dpy, Main, X, Y, "http://example.org/a.mp4\r\nfile://elsewhere.example" + FileUri(First).substr(7));
    EXPECT_TRUE(R.Accepted);
    EXPECT_TRUE(R.ListAsked);
    EXPECT_TRUE(R.Finished);
    EXPECT_FALSE(R.FinishedAccepted);
  }
  {
    SCOPED_TRACE("no file list offered: refused as it moves over the window");
    const TXdndDropResult R = DropUriList(Dpy, Main, X, Y, "", {"text/plain", "UTF8_STRING"});
    EXPECT_TRUE(R.StatusCame);
    EXPECT_FALSE(R.Accepted);
    EXPECT_FALSE(R.ListAsked);
  }
  ExpectRows(Dpy, Main, 2, "x11-drop-refused.png");

  AskToClose(Dpy, Main);
  EXPECT_EQ(Program.WaitExit(10), 0) << "the program did not end within 10 s";
}

}  // namespace
