#include <gtest/gtest.h>

#include <cstring>

#include "platform/display/HeadlessSession.h"
#include "platform/win/Clipboard.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;

namespace {

HGLOBAL TextBlock(const std::string& Text) {
  HGLOBAL H = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
  std::memcpy(GlobalLock(H), Text.c_str(), Text.size() + 1);
  GlobalUnlock(H);
  return H;
}

}  // namespace

TEST(Clipboard, TextRoundTripsInBothTextFormats) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP, 0, 0, 10, 10);
  for (UINT Format : {CF_UNICODETEXT, CF_TEXT}) {
    SCOPED_TRACE(Format);
    const std::string Text = "H\xC3\xA9llo, clip " + std::to_string(Format);
    ASSERT_TRUE(OpenClipboard(W));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), W);
    HGLOBAL Block = TextBlock(Text);
    EXPECT_EQ(SetClipboardData(Format, Block), Block);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(S.Display().ClipboardText(), Text);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));

    ASSERT_TRUE(OpenClipboard(nullptr));
    for (UINT Read : {CF_TEXT, CF_UNICODETEXT}) {
      HANDLE H = GetClipboardData(Read);
      ASSERT_NE(H, nullptr);
      EXPECT_STREQ(static_cast<const char*>(GlobalLock(H)), Text.c_str());
    }
    CloseClipboard();
  }
  // Text another program put there reads the same way.
  S.Display().SetClipboardText("from outside");
  OpenClipboard(W);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT))), "from outside");
  CloseClipboard();
}

TEST(Clipboard, MisuseIsRefusedWithoutHarm) {
  HeadlessSession S;
  MessageLog Log;
  HWND A = Log.Create(WS_POPUP, 0, 0, 10, 10);
  HWND B = Log.Create(WS_POPUP, 0, 0, 10, 10);
  HGLOBAL Block = TextBlock("x");
  EXPECT_EQ(SetClipboardData(CF_TEXT, Block), nullptr);  // not open
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_FALSE(CloseClipboard());
  ASSERT_TRUE(OpenClipboard(A));
  EXPECT_FALSE(OpenClipboard(B));  // someone else has it open
  EXPECT_EQ(GetOpenClipboardWindow(), A);
  EmptyClipboard();
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);  // nothing there
  EXPECT_EQ(SetClipboardData(CF_BITMAP, Block), nullptr);
  int NotABlock = 0;
  EXPECT_EQ(SetClipboardData(CF_TEXT, &NotABlock), nullptr);
  EXPECT_EQ(SetClipboardData(CF_TEXT, Block), Block);
  CloseClipboard();
  EXPECT_TRUE(OpenClipboard(B));
  CloseClipboard();
  // Blocks: a freed or foreign handle is refused.
  HGLOBAL Mine = GlobalAlloc(GPTR, 8);
  EXPECT_EQ(GlobalSize(Mine), 8u);
  EXPECT_EQ(GlobalFree(Mine), nullptr);
  EXPECT_EQ(GlobalLock(Mine), nullptr);
  EXPECT_EQ(GlobalFree(Mine), Mine);
}
