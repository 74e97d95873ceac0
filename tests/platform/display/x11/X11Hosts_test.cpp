// Native child windows for the video player: where they are, what cuts them, what
// exposure does.
#include <gtest/gtest.h>

#include "platform/win/NativeHost.h"
#include "tests/platform/display/x11/X11TestSession.h"

using namespace vantrel;
using namespace vantrel::x11test;

namespace {

struct HostScene {
  X11Session& S;
  HWND Form;
  HWND Panel;
  unsigned long Id = 0;
  explicit HostScene(X11Session& Session) : S(Session) {
    Form = S.Fill(0, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {100, 100, 500, 400}, RGB(128, 128, 128));
    Panel = S.Fill(0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, {50, 40, 250, 190},
                   RGB(0, 0, 255), Form);
    Id = NativeWindowId(Panel);
  }
  POINT PlaceInParent() {
    const RECT G = S.Peer.Geometry(Id);
    return {G.Left, G.Top};
  }
};

}  // namespace

TEST(X11Hosts, APanelsNativeWindowIsAChildOfItsFormAtThePanelsPlace) {
  X11Session S;
  HostScene H(S);
  ASSERT_NE(H.Id, 0u);
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(H.Form) && S.Peer.Viewable(H.Id); }));
  EXPECT_EQ(S.Peer.Parent(H.Id), S.XWindow(H.Form));
  EXPECT_EQ(H.PlaceInParent().X, 50);
  EXPECT_EQ(H.PlaceInParent().Y, 40);
  EXPECT_EQ(NativeWindowId(H.Panel), H.Id) << "one native window per panel";
  EXPECT_EQ(NativeWindowId(H.Form), 0u) << "only child windows get one";

  SetWindowPos(H.Form, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(PumpUntil([&] { return S.Peer.RootOrigin(H.Id).X == 350 && S.Peer.RootOrigin(H.Id).Y == 240; }));
  EXPECT_EQ(H.PlaceInParent().X, 50);

  SetWindowPos(H.Panel, nullptr, 60, 70, 100, 80, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(PumpUntil([&] { return H.PlaceInParent().X == 60 && H.PlaceInParent().Y == 70; }));

  ShowWindow(H.Panel, SW_HIDE);
  EXPECT_TRUE(PumpUntil([&] { return S.Peer.Unmapped(H.Id); }));
  ShowWindow(H.Panel, SW_SHOWNA);
  EXPECT_TRUE(PumpUntil([&] { return S.Peer.Viewable(H.Id); }));
}

TEST(X11Hosts, ASiblingAboveAndAChildOfThePanelShowOverThePicture) {
  X11Session S;
  HostScene H(S);
  const HWND Sibling = S.Fill(0, WS_CHILD | WS_VISIBLE, {200, 150, 300, 250}, RGB(0, 255, 0), H.Form);
  SetWindowPos(Sibling, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const HWND Handle = S.Fill(0, WS_CHILD | WS_VISIBLE, {10, 10, 40, 40}, RGB(255, 255, 0), H.Panel);
  ASSERT_TRUE(PumpUntil([&] { return S.Peer.Viewable(H.Id); }));
  // Form at (100, 100); the panel's client area from (150, 140).
  EXPECT_TRUE(PumpUntil([&] { return S.Peer.ScreenPixel(100 + 220, 100 + 170) == 0x00FF00; }))
      << std::hex << S.Peer.ScreenPixel(320, 270);
  EXPECT_TRUE(PumpUntil([&] { return S.Peer.ScreenPixel(150 + 20, 140 + 20) == 0xFFFF00; }))
      << std::hex << S.Peer.ScreenPixel(170, 160);
  DestroyWindow(Handle);
}

TEST(X11Hosts, AnExposureOfTheNativeWindowRepaintsThePanel) {
  X11Session S;
  HostScene H(S);
  ASSERT_TRUE(PumpUntil([&] { return S.Peer.Viewable(H.Id); }));
  testsupport::PumpFor(100);
  const int Before = PaintCount(H.Panel);
  S.Peer.ExposeAll(H.Id);
  EXPECT_TRUE(PumpUntil([&] { return PaintCount(H.Panel) > Before; }));
}

TEST(X11Hosts, DestroyingThePanelDestroysItsNativeWindow) {
  X11Session S;
  HostScene H(S);
  ASSERT_TRUE(PumpUntil([&] { return S.Peer.Viewable(H.Id); }));
  DestroyWindow(H.Panel);
  EXPECT_TRUE(PumpUntil([&] { return !S.Peer.Exists(H.Id); }));
}

TEST(X11Hosts, WhereNothingIsDrawnItShowsBlackAlsoAfterACover) {
  X11Session S;
  HostScene H(S);
  ASSERT_TRUE(PumpUntil([&] { return S.Peer.Viewable(H.Id); }));
  // The panel's client area from (150, 140) on the screen, 200 x 150.
  EXPECT_TRUE(PumpUntil([&] { return S.Peer.ScreenPixel(250, 215) == 0 && S.Peer.ScreenPixel(151, 141) == 0; }))
      << std::hex << S.Peer.ScreenPixel(250, 215);
  const HWND Cover = S.Fill(0, WS_POPUP | WS_VISIBLE, {120, 120, 400, 330}, RGB(0, 255, 0));
  ASSERT_TRUE(PumpUntil([&] { return S.Peer.ScreenPixel(250, 215) == 0x00FF00; }));
  DestroyWindow(Cover);
  EXPECT_TRUE(PumpUntil([&] { return S.Peer.ScreenPixel(250, 215) == 0 && S.Peer.ScreenPixel(348, 288) == 0; }))
      << std::hex << S.Peer.ScreenPixel(250, 215);
}
