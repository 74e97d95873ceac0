// The menus of the main window's menu bar as a user drives them under a window manager:
// each menu opens with its first enabled item lit, Down lights the next enabled item and
// Up the first again, and the pointer lights the item it rests on, read on the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "tests/app/x11/X11ProgramRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace vantrel::x11apptest;

// The main window's client area as the program lays it out.
constexpr int MenusClientWidth = 792;
constexpr int MenusClientHeight = 449;
// The "Add Video" button; the menu bar's band at the top of the client area.
constexpr int MenusAddVideoX = 45, MenusAddVideoY = 29 + 45;
constexpr int MenusBarTop = 3, MenusBarBottom = 18;
// The open dialog's "File name" field and Open button, from its bottom band.
constexpr int MenusDialogBandHeight = 80;
constexpr int MenusNameFieldX = 70 + 40, MenusNameFieldY = 10 + 10;
constexpr int MenusOpenFromRight = 80 - 35, MenusOpenY = 10 + 12;
// Time for a hot item's fade to end.
constexpr double MenusSettle = 0.6;

void MenusWait(double ASeconds) {
  WaitUntil([] { return false; }, ASeconds);
}

bool MenusDark(uint32_t P) { return ((P >> 16) & 0xFF) < 0x80 && ((P >> 8) & 0xFF) < 0x80 && (P & 0xFF) < 0x80; }

// A vertical run of one colour in a screen column.
struct MenusRun {
  int Top = 0, Bottom = 0;  // Bottom excluded
  uint32_t Colour = 0;
  int Mid() const { return (Top + Bottom) / 2; }
};

std::vector<MenusRun> MenusRuns(const TCapture& C, int X, int Top, int Bottom) {
  std::vector<MenusRun> Runs;
  for (int Y = Top; Y < Bottom; ++Y) {
    if (Runs.empty() || Runs.back().Colour != C.At(X, Y)) Runs.push_back({Y, Y, C.At(X, Y)});
    Runs.back().Bottom = Y + 1;
  }
  return Runs;
}

class UserMenus : public UserLevelTest {
 protected:
  int Border = 0, ClientTop = 0;

  void Measure() {
    const TClientOrigin O = ClientOrigin(Dpy, Main, MenusClientWidth, MenusClientHeight);
    Border = O.Border;
    ClientTop = O.Top;
  }
  // Adds one clip through "Add Video", its name typed into the open dialog.
  void AddClip() {
    const std::string Source = Program->Home().File("clip.mp4");
    vantrel::test::CopyMediaFile(vantrel::test::FixturePath("v.mp4"), Source);
    ClickAt(Dpy, Main, Border + MenusAddVideoX, ClientTop + MenusAddVideoY);
    const Window Dialog = WaitForWindow(Dpy, "Open file", 20);
    ASSERT_NE(Dialog, 0u);
    WaitForPaintedCaption(Dpy, Dialog, 8);
    const auto [DW, DH] = WindowSize(Dpy, Dialog);
    const int BandTop = DH - Border - MenusDialogBandHeight;
    const int OpenX = DW - Border - MenusOpenFromRight, OpenY = BandTop + MenusOpenY;
    ASSERT_TRUE(WaitUntil([&] { return CaptureWindow(Dpy, Dialog).At(OpenX, OpenY) != 0; }, 10));
    ClickAt(Dpy, Dialog, Border + MenusNameFieldX, BandTop + MenusNameFieldY);
    ASSERT_TRUE(WaitForFocus(Dpy, Dialog, 10)) << "the open dialog never took the keyboard focus";
    ASSERT_TRUE(TypeText(Dpy, Source));
    MenusWait(0.3);
    ClickAt(Dpy, Dialog, OpenX, OpenY);
    ASSERT_TRUE(WaitForUnmap(Dpy, Dialog, 20));
    MenusWait(1);
  }
  // The titles of the menu bar: the runs of text ink along its band, in window coordinates.
  std::vector<std::pair<int, int>> Titles() {
    const TCapture C = CaptureWindow(Dpy, Main);
    std::vector<std::pair<int, int>> Out;
    int Gap = 100;
    for (int X = Border; X < Border + 400; ++X) {
      bool Ink = false;
      for (int Y = ClientTop + MenusBarTop; Y < ClientTop + MenusBarBottom; ++Y) Ink |= MenusDark(C.At(X, Y));
      if (Ink) {
        if (Gap >= 6) Out.push_back({X, X});
        Out.back().second = X;
        Gap = 0;
      } else {
        ++Gap;
      }
    }
    return Out;
  }
};

TEST_F(UserMenus, TheHighlightFollowsDownUpAndThePointerInEveryMenuOfTheBar) {
  Measure();
  ASSERT_GT(ClientTop, Border);
  AddClip();
  MenusWait(2);  // the list and the preview settle
  const std::vector<std::pair<int, int>> T = Titles();
  ASSERT_EQ(T.size(), 4u) << "File, Edit, Tools, Help";
  const auto [MainX, MainY] = RootOrigin(Dpy, Main);
  const Window Root = DefaultRootWindow(Dpy);
  const char* Names[] = {"File", "Edit", "Tools", "Help"};
  for (size_t I = 0; I < T.size(); ++I) {
    SCOPED_TRACE(Names[I]);
    const int BarBottom = MainY + ClientTop + MenusBarBottom + 3;
    const TCapture Before = CaptureScreen(Dpy);
    ClickAt(Dpy, Main, (T[I].first + T[I].second) / 2, ClientTop + (MenusBarTop + MenusBarBottom) / 2);
    MenusWait(MenusSettle);
    const TCapture Opened = CaptureScreen(Dpy);
    SaveCapture(Opened, testing::TempDir() + "x11-menu-" + Names[I] + ".png");
    // The menu: what changed below the bar.
    int L = Opened.Width, R = -1, Top = Opened.Height, Bottom = -1;
    const int Near = MainX + T[I].first;
    for (int Y = BarBottom; Y < std::min(Opened.Height, BarBottom + 300); ++Y)
      for (int X = std::max(0, Near - 30); X < std::min(Opened.Width, Near + 300); ++X)
        if (Opened.At(X, Y) != Before.At(X, Y)) {
          L = std::min(L, X), R = std::max(R, X), Top = std::min(Top, Y), Bottom = std::max(Bottom, Y);
        }
    ASSERT_GT(R - L, 40) << "no menu opened";
    ASSERT_GT(Bottom - Top, 15);
    // The item column left of the captions; the first enabled item is the first item, lit.
    const int X = L + 6;
    MenusRun First;
    for (const MenusRun& Run : MenusRuns(Opened, X, Top, Bottom + 1))
      if (Run.Bottom - Run.Top >= 10) {
        First = Run;
        break;
      }
    ASSERT_GE(First.Bottom - First.Top, 10);
    const uint32_t Lit = First.Colour;
    const int ItemHeight = First.Bottom - First.Top;
    const auto LitAt = [&](const TCapture& C, int Y) { return C.At(X, Y) == Lit; };

    if (I != 2) {  // Tools has one item only
      PressKeys(Dpy, "Down");
      MenusWait(MenusSettle);
      const TCapture Down = CaptureScreen(Dpy);
      EXPECT_FALSE(LitAt(Down, First.Mid())) << "Down left the first item lit";
      MenusRun Second;
      for (const MenusRun& Run : MenusRuns(Down, X, First.Bottom, Bottom + 1))
        if (Run.Colour == Lit && Run.Bottom - Run.Top >= ItemHeight - 1) {
          Second = Run;
          break;
        }
      EXPECT_GT(Second.Top, First.Top) << "Down lit no item below the first";
      PressKeys(Dpy, "Up");
      MenusWait(MenusSettle);
      const TCapture Up = CaptureScreen(Dpy);
      EXPECT_TRUE(LitAt(Up, First.Mid())) << "Up did not light the first item again";
      if (Second.Top > 0) {
        EXPECT_FALSE(LitAt(Up, Second.Mid()));
      }
    }
    // The pointer on the last item (every menu ends with an enabled item).
    const int LastY = Bottom - 3 - ItemHeight / 2;
    MovePointerTo(Dpy, Root, X + 30, LastY);
    MenusWait(MenusSettle);
    const TCapture Pointed = CaptureScreen(Dpy);
    EXPECT_TRUE(LitAt(Pointed, LastY)) << "the item under the pointer is not lit";
    if (LastY >= First.Bottom) {
      EXPECT_FALSE(LitAt(Pointed, First.Mid())) << "the first item stays lit";
    }
    PressKeys(Dpy, "Escape");
    MenusWait(0.4);
    MovePointerTo(Dpy, Root, MainX + Border + 400, MainY + ClientTop + 300);
    MenusWait(0.2);
  }
}

}  // namespace
