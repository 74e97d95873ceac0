#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/DragDrop.h"
#include "platform/win/Shell.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;

TEST(Drop, TwoPathsReachTheWindowThatAcceptsFiles) {
  HeadlessSession S;
  MessageLog Log;
  HWND Top = Log.Create(WS_POPUP | WS_VISIBLE, 100, 100, 400, 300);
  HWND List = Log.Create(WS_CHILD | WS_VISIBLE, 20, 30, 200, 100, Top);
  DragAcceptFiles(Top, TRUE);
  const std::vector<std::string> Paths = {"/home/me/Videos/clip one.avi", "/home/me/Vid\xC3\xA9os/b.mkv"};
  std::vector<std::string> Got;
  POINT At{};
  BOOL InClient = FALSE;
  Log.Handler() = [&](HWND, UINT Msg, WPARAM WP, LPARAM) -> std::optional<LRESULT> {
    if (Msg != WM_DROPFILES) return std::nullopt;
    HDROP D = reinterpret_cast<HDROP>(WP);
    const UINT N = DragQueryFile(D, 0xFFFFFFFF, nullptr, 0);
    for (UINT I = 0; I < N; ++I) {
      std::string Buf(DragQueryFile(D, I, nullptr, 0) + 1, '\0');
      Buf.resize(DragQueryFile(D, I, Buf.data(), static_cast<UINT>(Buf.size())));
      Got.push_back(Buf);
    }
    InClient = DragQueryPoint(D, &At);
    DragFinish(D);
    EXPECT_EQ(DragQueryFile(D, 0xFFFFFFFF, nullptr, 0), 0u);  // finished: gone
    return 0;
  };
  S.Drop(Paths, 150, 170);  // over the child: its parent accepts files
  S.PumpUntilIdle();
  EXPECT_EQ(Log.Count(List, WM_DROPFILES), 0u);
  EXPECT_EQ(Log.Count(Top, WM_DROPFILES), 1u);
  EXPECT_EQ(Got, Paths);
  EXPECT_EQ(At, Point(50, 70));
  EXPECT_TRUE(InClient);
  EXPECT_EQ(S.Manager().Shell().Drops().Count(), 0u);

  // Refused once the window stops accepting files.
  DragAcceptFiles(Top, FALSE);
  S.Drop(Paths, 150, 170);
  S.PumpUntilIdle();
  EXPECT_EQ(Log.Count(Top, WM_DROPFILES), 1u);
}

TEST(Drop, AShortBufferGetsWholeCodePoints) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  DragAcceptFiles(W, TRUE);
  HDROP Drop = nullptr;
  Log.Handler() = [&](HWND, UINT Msg, WPARAM WP, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_DROPFILES) Drop = reinterpret_cast<HDROP>(WP);
    return std::nullopt;
  };
  S.Drop({"/a\xC3\xA9"}, 10, 10);
  S.PumpUntilIdle();
  ASSERT_NE(Drop, nullptr);
  char Buf[4];
  EXPECT_EQ(DragQueryFile(Drop, 0, Buf, sizeof Buf), 2u);  // "/a": the two-byte letter does not fit
  EXPECT_STREQ(Buf, "/a");
  EXPECT_EQ(DragQueryFile(Drop, 1, Buf, sizeof Buf), 0u);
  DragFinish(Drop);
  DragFinish(Drop);  // twice: harmless
}
