// The icon the desktop shows for a top-level window: the one WM_SETICON gave it, else its
// class's, handed to the display as straight-alpha pixels; WM_GETICON answers what was set.
#include <gtest/gtest.h>

#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/win/Resources.h"
#include "platform/win/WindowManager.h"

using vantrel::display::HeadlessSession;
using vantrel::win::IconPicture;

namespace {

// A W x H icon of one colour (0xAARRGGBB) with a fully transparent top-left pixel.
struct TestIcon {
  std::vector<uint32_t> Pixels;
  HICON Handle = nullptr;
  TestIcon(int W, int H, uint32_t Argb) : Pixels(static_cast<size_t>(W) * H, Argb) {
    Pixels[0] = 0;
    Handle = vantrel::win::CreateIconFromArgb(W, H, Pixels.data());
  }
  ~TestIcon() { DestroyIcon(Handle); }
  TestIcon(const TestIcon&) = delete;
  TestIcon& operator=(const TestIcon&) = delete;
};

const std::vector<IconPicture>& DesktopIcon(HeadlessSession& S, HWND W) { return S.Display().Native(W)->Icon; }

}  // namespace

TEST(WindowIcon, TheDesktopShowsTheWindowsOwnIconElseItsClasss) {
  HeadlessSession S;
  TestIcon ClassIcon(32, 32, 0xFF2563EB), Big(48, 48, 0xFFFFFFFF), Small(16, 16, 0x80102030);
  WNDCLASS C{};
  C.lpfnWndProc = MakeWndProc(&DefWindowProc);
  C.hIcon = ClassIcon.Handle;
  C.lpszClassName = "WindowIconTest";
  ASSERT_TRUE(RegisterClass(&C));
  HWND W = CreateWindowEx(0, "WindowIconTest", "Iconic", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                          nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(W, nullptr);

  // Only the class's icon: the desktop shows its pixels, the transparent one included.
  ASSERT_EQ(DesktopIcon(S, W).size(), 1u);
  EXPECT_EQ(DesktopIcon(S, W)[0].Width, 32);
  EXPECT_EQ(DesktopIcon(S, W)[0].Pixels, ClassIcon.Pixels);
  EXPECT_EQ(SendMessage(W, WM_GETICON, ICON_BIG, 0), 0) << "the class's icon is not the window's own";

  // Its own icons replace the class's; the small one keeps its alpha unpremultiplied.
  EXPECT_EQ(SendMessage(W, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Big.Handle)), 0);
  ASSERT_EQ(DesktopIcon(S, W).size(), 1u);
  EXPECT_EQ(DesktopIcon(S, W)[0].Pixels, Big.Pixels);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessage(W, WM_GETICON, ICON_SMALL2, 0)), Big.Handle);
  SendMessage(W, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Small.Handle));
  ASSERT_EQ(DesktopIcon(S, W).size(), 2u);
  EXPECT_EQ(DesktopIcon(S, W)[0].Width, 48);
  EXPECT_EQ(DesktopIcon(S, W)[1].Pixels, Small.Pixels);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessage(W, WM_GETICON, ICON_SMALL2, 0)), Small.Handle);

  // Replacing answers the icon before; with none of its own the class's comes back.
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessage(W, WM_SETICON, ICON_BIG, 0)), Big.Handle);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessage(W, WM_SETICON, ICON_SMALL, 0)), Small.Handle);
  ASSERT_EQ(DesktopIcon(S, W).size(), 1u);
  EXPECT_EQ(DesktopIcon(S, W)[0].Pixels, ClassIcon.Pixels);

  // A child window keeps its icon to itself; the desktop is not told.
  HWND Child = CreateWindowEx(0, "WindowIconTest", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, W, nullptr, nullptr, nullptr);
  SendMessage(Child, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Big.Handle));
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessage(Child, WM_GETICON, ICON_BIG, 0)), Big.Handle);
  EXPECT_EQ(DesktopIcon(S, W)[0].Pixels, ClassIcon.Pixels);
  DestroyWindow(W);
  UnregisterClass("WindowIconTest", nullptr);
}
