// The player on a real screen: SDL draws into the native window the display keeps over
// the host panel, child windows of the panel stay above the picture, and a paused
// picture comes back after the panel was covered.
#include <gtest/gtest.h>

#include "media/FFPlay.h"
#include "platform/win/NativeHost.h"
#include "tests/media/PlayerTestKit.h"
#include "tests/platform/display/x11/X11TestSession.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

using namespace vantrel;
using namespace vantrel::x11test;

namespace {

bool PlayerX11Red(uint32_t APixel) {
  const int R = (APixel >> 16) & 0xFF, G = (APixel >> 8) & 0xFF, B = APixel & 0xFF;
  return R >= 200 && G <= 60 && B <= 60;
}

TEST(PlayerX11, ARedClipShowsInsideThePanelUnderItsChild) {
  test::TTempDir Dir;
  test::CopyMediaFile(test::SystemSDLFile(), Dir.File("libSDL-1.2.so.0"));
  X11Session S;
  // The form at (100, 100); the panel's client area from (150, 140), 320 x 240.
  const HWND Form = S.Fill(0, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {100, 100, 520, 420}, RGB(128, 128, 128));
  const HWND Panel = S.Fill(0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, {50, 40, 370, 280},
                            RGB(0, 0, 255), Form);
  const HWND Small = S.Fill(0, WS_CHILD | WS_VISIBLE, {10, 10, 40, 40}, RGB(255, 255, 0), Panel);
  ASSERT_TRUE(PumpUntil([&] { return S.Viewable(Form); }));
  TOwned<media::TCustomPlayer> Player = CreateOwned<media::TDODodeve>(nullptr);
  ASSERT_TRUE(Player->LoadAVLib(Dir.Path(), true)) << Player->LastErrMsg();
  ASSERT_EQ(media::VideoDriverName(media::vdDefault), "x11");
  bool Paused = false;
  Player->OnState = [&](TObject*, media::TPlayState AState) { Paused |= AState == media::psPause; };
  ASSERT_TRUE(Player->Open(test::FixturePath("play-red.mp4"), Panel, true)) << Player->LastErrMsg();
  ASSERT_NE(NativeWindowId(Panel), 0u);
  ASSERT_TRUE(PumpUntil([&] { return Paused; }, std::chrono::milliseconds(10000)));
  EXPECT_TRUE(PumpUntil([&] { return PlayerX11Red(S.Peer.ScreenPixel(150 + 200, 140 + 150)); }))
      << std::hex << S.Peer.ScreenPixel(350, 290);
  EXPECT_TRUE(PumpUntil([&] { return S.Peer.ScreenPixel(150 + 20, 140 + 20) == 0xFFFF00; }))
      << std::hex << S.Peer.ScreenPixel(170, 160);
  // Covered by another window and uncovered: the paused picture is drawn again.
  const HWND Cover = S.Fill(0, WS_POPUP | WS_VISIBLE, {120, 120, 500, 400}, RGB(0, 255, 0));
  ASSERT_TRUE(PumpUntil([&] { return S.Peer.ScreenPixel(350, 290) == 0x00FF00; }));
  DestroyWindow(Cover);
  EXPECT_TRUE(PumpUntil([&] { return PlayerX11Red(S.Peer.ScreenPixel(350, 290)); }))
      << std::hex << S.Peer.ScreenPixel(350, 290);
  EXPECT_TRUE(PumpUntil([&] { return S.Peer.ScreenPixel(170, 160) == 0xFFFF00; }));
  Player->Stop(true);
  DestroyWindow(Small);
}

}  // namespace
