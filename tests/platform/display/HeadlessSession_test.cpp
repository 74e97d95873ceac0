#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "platform/display/HeadlessPng.h"
#include "platform/display/HeadlessSession.h"
#include "platform/win/MessageQueue.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessDisplay;
using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;
namespace win = vantrel::win;

TEST(HeadlessSession, EachSessionStartsEmptyAndOnlyOneRunsAtATime) {
  HWND Old;
  {
    HeadlessSession S;
    MessageLog Log;
    Old = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    EXPECT_TRUE(IsWindow(Old));
    EXPECT_THROW(HeadlessSession Second, EInvalidOperation);
  }
  EXPECT_FALSE(IsWindow(Old));
  HeadlessSession S;
  EXPECT_FALSE(IsWindow(Old));
  EXPECT_TRUE(S.Manager().TopLevels().empty());
  EXPECT_EQ(S.Now(), 1000000u);
}

TEST(HeadlessSession, TopLevelWindowsHaveNativeWindowsThatFollowThem) {
  HeadlessSession S(800, 600);
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP, 10, 20, 100, 50);
  HWND Child = Log.Create(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, W);
  const auto* N = S.Display().Native(W);
  ASSERT_NE(N, nullptr);
  EXPECT_EQ(S.Display().Native(Child), nullptr);  // only top-level windows reach the display
  EXPECT_FALSE(N->Visible);
  EXPECT_EQ(N->Rect, Rect(10, 20, 110, 70));
  ShowWindow(W, SW_SHOWNA);
  MoveWindow(W, 5, 6, 70, 80, TRUE);
  EXPECT_TRUE(N->Visible);
  EXPECT_EQ(N->Rect, Rect(5, 6, 75, 86));
  ASSERT_NE(S.Manager().BackingStoreOf(Child), nullptr);
  EXPECT_EQ(S.Manager().BackingStoreOf(Child)->Width(), 70);
  EXPECT_EQ(S.Manager().BackingStoreOf(Child)->Height(), 80);
  DestroyWindow(W);
  EXPECT_EQ(S.Display().Native(W), nullptr);
  EXPECT_TRUE(S.Display().Stacking().empty());
}

TEST(HeadlessSession, CaptureCopiesTheWindowsPixelsFromItsTopLevelSurface) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP | WS_BORDER | WS_VISIBLE, 50, 50, 40, 30);
  HWND C = Log.Create(WS_CHILD | WS_VISIBLE, 5, 6, 10, 8, W);
  S.PumpUntilIdle();  // the frame painted first: the pattern below is what is left
  win::Surface* Store = S.Manager().BackingStoreOf(W);
  ASSERT_NE(Store, nullptr);
  for (int Y = 0; Y < Store->Height(); ++Y)
    for (int X = 0; X < Store->Width(); ++X) Store->Row(Y)[X] = static_cast<uint32_t>(Y * 1000 + X);
  win::Surface Whole = S.Capture(W);
  ASSERT_EQ(Whole.Width(), 40);
  ASSERT_EQ(Whole.Height(), 30);
  EXPECT_EQ(Whole.Row(29)[39], 29039u);
  win::Surface Part = S.Capture(C);  // the child starts after the 1-pixel border
  ASSERT_EQ(Part.Width(), 10);
  ASSERT_EQ(Part.Height(), 8);
  EXPECT_EQ(Part.Row(0)[0], static_cast<uint32_t>(7 * 1000 + 6));
  EXPECT_EQ(Part.Row(7)[9], static_cast<uint32_t>(14 * 1000 + 15));
  EXPECT_THROW(S.Capture(nullptr), EInvalidOperation);

  const std::string File = testing::TempDir() + "capture_test.png";
  ASSERT_TRUE(vantrel::display::SavePng(Whole, File));
  std::ifstream In(File, std::ios::binary);
  char Sig[8] = {};
  In.read(Sig, 8);
  EXPECT_EQ(std::string(Sig + 1, 3), "PNG");
  std::remove(File.c_str());
}

TEST(HeadlessSession, InputIsQueuedInOrderAndNotDeliveredOnTheSpot) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  S.PumpUntilIdle();  // let the new window paint first
  Log.Clear();
  S.Move(10, 10);
  S.Press(10, 10, win::rbLeft, MOD_SHIFT);
  S.Release(12, 11);
  S.Wheel(12, 11, -120);
  S.Key('A', MOD_CONTROL);
  S.Type("h\xC3\xA9");
  S.Drop({"/tmp/a.avi", "/tmp/b.mkv"}, 30, 40);
  EXPECT_TRUE(Log.Messages().empty());
  const auto In = S.PendingInput();
  using K = win::RawInputKind;
  std::vector<K> Kinds;
  for (const auto& E : In) Kinds.push_back(E.Kind);
  EXPECT_EQ(Kinds, (std::vector<K>{K::PointerMove, K::ButtonDown, K::ButtonUp, K::Wheel, K::KeyDown, K::KeyUp,
                                   K::Text, K::Drop}));
  EXPECT_EQ(In[1].Modifiers, MOD_SHIFT);
  EXPECT_EQ(In[2].Pos, Point(12, 11));
  EXPECT_EQ(In[3].WheelDelta, -120);
  EXPECT_EQ(In[4].Vk, 'A');
  EXPECT_EQ(In[6].Text, "h\xC3\xA9");
  EXPECT_EQ(In[7].Paths.size(), 2u);
  (void)W;
}

TEST(HeadlessSession, PumpUntilIdleRunsIdleWorkAndWhatItQueues) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP, 0, 0, 10, 10);
  int Idle = 0;
  S.OnIdle = [&] {
    if (++Idle == 1) PostMessage(W, WM_USER, 0, 0);
  };
  S.PumpUntilIdle();
  EXPECT_EQ(Log.Count(W, WM_USER), 1u);
  EXPECT_EQ(Idle, 2);
  // A loop that never goes idle is reported instead of hanging.
  Log.Handler() = [&](HWND H, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_USER + 1) PostMessage(H, WM_USER + 1, 0, 0);
    return std::nullopt;
  };
  S.OnIdle = nullptr;
  PostMessage(W, WM_USER + 1, 0, 0);
  EXPECT_THROW(S.PumpUntilIdle(), vantrel::display::EHeadlessStall);
}
