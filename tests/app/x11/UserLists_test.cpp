// The main window's boxes and lists as a user meets them under a window manager: a rejected
// file's "Information" box shows its title, and Esc in the open dialog's open file-type
// list closes the list only.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "tests/app/x11/X11ProgramRun.h"

namespace {

using namespace vantrel::x11apptest;

constexpr int ListsClientWidth = 792;
constexpr int ListsClientHeight = 449;
constexpr int ListsAddVideoX = 45, ListsAddVideoY = 29 + 45;
// The open dialog's bottom band: the "File name" field, Open, and the "File type" list
// one row lower.
constexpr int ListsDialogBandHeight = 80;
constexpr int ListsNameFieldX = 70 + 40, ListsNameFieldY = 10 + 10;
constexpr int ListsTypeFieldY = ListsNameFieldY + 35;
constexpr int ListsOpenFromRight = 80 - 35, ListsOpenY = 10 + 12;

void ListsWait(double ASeconds) {
  WaitUntil([] { return false; }, ASeconds);
}

class UserLists : public UserLevelTest {
 protected:
  int Border = 0, ClientTop = 0;

  void SetUp() override {
    UserLevelTest::SetUp();
    if (!Main) return;
    const TClientOrigin O = ClientOrigin(Dpy, Main, ListsClientWidth, ListsClientHeight);
    Border = O.Border;
    ClientTop = O.Top;
  }
  // "Add Video", the dialog waited for with its controls painted; the band's top.
  Window OpenDialog(int& BandTop) {
    ClickAt(Dpy, Main, Border + ListsAddVideoX, ClientTop + ListsAddVideoY);
    const Window Dialog = WaitForWindow(Dpy, "Open file", 20);
    if (!Dialog) return 0;
    WaitForPaintedCaption(Dpy, Dialog, 8);
    const auto [DW, DH] = WindowSize(Dpy, Dialog);
    BandTop = DH - Border - ListsDialogBandHeight;
    const int OpenX = DW - Border - ListsOpenFromRight, OpenY = BandTop + ListsOpenY;
    WaitUntil([&] { return CaptureWindow(Dpy, Dialog).At(OpenX, OpenY) != 0; }, 10);
    WaitUntil([&] { return CaptureWindow(Dpy, Dialog).At(DW / 2, DH / 2) != 0; }, 20);
    ListsWait(1);
    return Dialog;
  }
  // Adds the file through the open dialog, its name typed into the dialog.
  void AddFile(const std::string& Path) {
    int BandTop = 0;
    const Window Dialog = OpenDialog(BandTop);
    ASSERT_NE(Dialog, 0u);
    ClickAt(Dpy, Dialog, Border + ListsNameFieldX, BandTop + ListsNameFieldY);
    ASSERT_TRUE(WaitForFocus(Dpy, Dialog, 10)) << "the open dialog never took the keyboard focus";
    PressKeys(Dpy, "ctrl+a");  // the field keeps the last file's name
    ASSERT_TRUE(TypeText(Dpy, Path));
    ListsWait(0.3);
    const auto [DW, DH] = WindowSize(Dpy, Dialog);
    ClickAt(Dpy, Dialog, DW - Border - ListsOpenFromRight, BandTop + ListsOpenY);
    ASSERT_TRUE(WaitForUnmap(Dpy, Dialog, 20));
    ListsWait(3);  // the first file loads the media libraries
  }
};

TEST_F(UserLists, ARejectedFilesInformationBoxShowsItsTitle) {
  const std::string Bad = Program->Home().File("notes.mp4");
  {
    FILE* F = std::fopen(Bad.c_str(), "w");
    ASSERT_NE(F, nullptr);
    std::fputs("not a video\n", F);
    std::fclose(F);
  }
  AddFile(Bad);
  const Window Box = WaitForWindow(Dpy, "Information", 20);
  ASSERT_NE(Box, 0u) << "no \"Information\" box";
  EXPECT_GE(WaitForPaintedCaption(Dpy, Box, 3), 3u) << "the caption is one colour";
  const TCapture C = CaptureWindow(Dpy, Box);
  SaveCapture(C, testing::TempDir() + "x11-lists-information.png");
  // The caption band is painted (no black left) and carries a title's ink.
  int Black = 0, Light = 0;
  for (int Y = 2; Y < 20; ++Y)
    for (int X = 2; X < C.Width - 2; ++X) {
      Black += C.At(X, Y) == 0;
      Light += (C.At(X, Y) & 0xFF) > 0xC0;
    }
  EXPECT_EQ(Black, 0);
  EXPECT_GT(Light, 30);
  PressKeys(Dpy, "Return");
  EXPECT_TRUE(WaitForUnmap(Dpy, Box, 10));
}

TEST_F(UserLists, EscInTheOpenFileTypeListClosesTheListAndKeepsTheDialog) {
  int BandTop = 0;
  const Window Dialog = OpenDialog(BandTop);
  ASSERT_NE(Dialog, 0u);
  const TCapture Closed = CaptureScreen(Dpy);
  ClickAt(Dpy, Dialog, Border + ListsNameFieldX + 60, BandTop + ListsTypeFieldY);
  ListsWait(0.6);
  const TCapture Open = CaptureScreen(Dpy);
  SaveCapture(Open, testing::TempDir() + "x11-lists-types-open.png");
  int Changed = 0;
  for (size_t I = 0; I < Open.Pixels.size(); ++I) Changed += Open.Pixels[I] != Closed.Pixels[I];
  ASSERT_GT(Changed, 2000) << "the file-type list did not open";
  PressKeys(Dpy, "Escape");
  ListsWait(0.6);
  EXPECT_NE(FindWindow(Dpy, "Open file"), 0u) << "Esc closed the dialog";
  const TCapture After = CaptureScreen(Dpy);
  int Left = 0;
  for (size_t I = 0; I < After.Pixels.size(); ++I) Left += After.Pixels[I] != Closed.Pixels[I];
  EXPECT_LT(Left, Changed / 4) << "the list is still open";
  // A second Esc, with the list closed, cancels the dialog.
  PressKeys(Dpy, "Escape");
  EXPECT_TRUE(WaitForUnmap(Dpy, Dialog, 10));
}

}  // namespace
