// The program's windows as a desktop user meets them: the wheel scrolls the list under the
// pointer while another field has the keyboard.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "tests/app/x11/X11ProgramRun.h"
#include "tests/support/TempDir.h"

namespace {

using namespace vantrel::x11apptest;

constexpr int WinMainClientWidth = 792, WinMainClientHeight = 449;
constexpr int WinAddVideoX = 45, WinAddVideoY = 29 + 45;
constexpr int WinDialogBandHeight = 80;

// The pixels of a band of a capture, to tell whether it changed.
std::vector<uint32_t> WinBand(const TCapture& C, int Top, int Bottom) {
  std::vector<uint32_t> Out;
  for (int Y = Top; Y < Bottom && Y < C.Height; ++Y)
    for (int X = 0; X < C.Width; ++X) Out.push_back(C.At(X, Y));
  return Out;
}

class UserWindows : public UserLevelTest {};

TEST_F(UserWindows, AWheelTurnOverTheUnfocusedFileListScrollsIt) {
  // More files than the open dialog's list shows at once, in the folder it starts in.
  // (its videos folder, or the home folder where there is none).
  mkdir(Program->Home().File("Videos").c_str(), 0700);
  for (int I = 0; I < 80; ++I)
    for (const char* Folder : {"", "Videos/"})
      vantrel::test::WriteFileBytes(Program->Home().File(Folder + ("clip " + std::to_string(100 + I) + ".mp4")), "x");
  const auto [Border, ClientTop] = ClientOrigin(Dpy, Main, WinMainClientWidth, WinMainClientHeight);
  ClickAt(Dpy, Main, Border + WinAddVideoX, ClientTop + WinAddVideoY);
  const Window Dialog = WaitForWindow(Dpy, "Open file", 20);
  ASSERT_NE(Dialog, 0u) << "\"Add Video\" opened no open dialog";
  const int Width = WindowSize(Dpy, Dialog).Width, Height = WindowSize(Dpy, Dialog).Height;
  // The list fills the middle of the dialog; the "File name" field below it keeps the keys.
  const int ListTop = Height / 4, ListBottom = Height - Border - WinDialogBandHeight - 20;
  WaitForPaintedCaption(Dpy, Dialog, 8);
  MovePointerTo(Dpy, Dialog, Width / 2, (ListTop + ListBottom) / 2);
  std::vector<uint32_t> Before;
  // The list is filled once the folder is read: wait until it stops changing.
  WaitUntil(
      [&] {
        std::vector<uint32_t> Now = WinBand(CaptureWindow(Dpy, Dialog), ListTop, ListBottom);
        const bool Same = Now == Before;
        Before = std::move(Now);
        return Same;
      },
      10);
  TurnWheel(Dpy, Dialog, Width / 2, (ListTop + ListBottom) / 2, 3);
  const bool Scrolled =
      WaitUntil([&] { return WinBand(CaptureWindow(Dpy, Dialog), ListTop, ListBottom) != Before; }, 5);
  if (!Scrolled) SaveCapture(CaptureWindow(Dpy, Dialog), testing::TempDir() + "UserWindowsWheel.png");
  EXPECT_TRUE(Scrolled) << "the list under the pointer did not scroll";
  PressKeys(Dpy, "Escape");
}

}  // namespace
