#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Shell.h"
#include "platform/win/TrayArea.h"

using vantrel::display::HeadlessSession;
using vantrel::win::RecordingTrayArea;

namespace {

// A session with a recording tray and a top-level window that logs what it is posted.
std::vector<MSG> TrayLog;
LRESULT TrayTestProc(HWND W, UINT M, WPARAM Wp, LPARAM Lp) {
  if (M >= WM_USER) TrayLog.push_back({W, M, Wp, Lp});
  return DefWindowProc(W, M, Wp, Lp);
}

struct TrayFixture {
  HeadlessSession S;
  RecordingTrayArea* Tray;
  HWND Wnd;
  TrayFixture() {
    TrayLog.clear();
    auto T = std::make_unique<RecordingTrayArea>();
    Tray = T.get();
    S.Manager().Shell().SetTray(std::move(T));
    WNDCLASSEX C;
    C.lpfnWndProc = MakeWndProc(&TrayTestProc);
    C.lpszClassName = "TrayTestWindow";
    RegisterClassEx(&C);
    Wnd = CreateWindowEx(0, "TrayTestWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  }
  NOTIFYICONDATAW Data(const std::string& Tip) const {
    NOTIFYICONDATAW D;
    D.cbSize = 956;
    D.Wnd = Wnd;
    D.uID = 1;
    D.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    D.uCallbackMessage = 2048;
    D.hIcon = reinterpret_cast<HICON>(0x1234);
    vantrel::win::SetNotifyField(D.szTip, Tip);
    return D;
  }
};

}  // namespace

TEST(TrayArea, WithoutATrayEveryCallFails) {
  HeadlessSession S;
  NOTIFYICONDATAW D;
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &D));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, nullptr));
}

TEST(TrayArea, AddThenModifyKeepsOneIconWithTheNewTip) {
  TrayFixture F;
  NOTIFYICONDATAW D = F.Data("Converting");
  EXPECT_TRUE(Shell_NotifyIconW(NIM_ADD, &D));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &D));  // the same icon twice
  D = F.Data("Done");
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &D));
  ASSERT_EQ(F.Tray->Table.Icons().size(), 1u);
  const auto& Icon = F.Tray->Table.Icons()[0];
  EXPECT_EQ(Icon.Tip, "Done");
  EXPECT_EQ(Icon.Icon, reinterpret_cast<HICON>(0x1234));
  EXPECT_EQ(Icon.CallbackMessage, 2048u);
  // A balloon.
  D.uFlags |= NIF_INFO;
  vantrel::win::SetNotifyField(D.szInfo, "All files converted");
  vantrel::win::SetNotifyField(D.szInfoTitle, "Vantrel");
  D.dwInfoFlags = NIIF_WARNING;
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &D));
  EXPECT_EQ(F.Tray->Table.Icons()[0].Info, "All files converted");
  EXPECT_EQ(F.Tray->Table.Icons()[0].InfoTitle, "Vantrel");
  EXPECT_EQ(F.Tray->Table.Icons()[0].InfoFlags, NIIF_WARNING);
  EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &D));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &D));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &D));
  EXPECT_TRUE(F.Tray->Table.Icons().empty());
}

TEST(TrayArea, TextFieldsAreCutAtWholeCharacters) {
  struct Case {
    std::string Text;
    size_t Chars;  // characters kept in the tip (127 at most)
  } Cases[] = {{std::string(200, 'a'), 127}, {std::string(127, 'b'), 127}, {"", 0}};
  TrayFixture F;
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text.size());
    NOTIFYICONDATAW D = F.Data(C.Text);
    EXPECT_EQ(vantrel::win::NotifyFieldText(D.szTip, sizeof D.szTip, NOTIFY_TIP_CHARS).size(), C.Chars);
  }
  // Four-byte characters: 127 of them fill the tip, and the NUL still fits.
  std::string Wide;
  for (int I = 0; I < 130; ++I) Wide += "\xF0\x9F\x8E\xAC";
  NOTIFYICONDATAW D = F.Data(Wide);
  EXPECT_EQ(vantrel::win::NotifyFieldText(D.szTip, sizeof D.szTip, NOTIFY_TIP_CHARS), Wide.substr(0, 127 * 4));
  // A field filled to its end without a NUL loses the character cut in two.
  char Field[6] = {'a', 'b', 'c', '\xE2', '\x82', '\xAC'};
  EXPECT_EQ(vantrel::win::NotifyFieldText(Field, 5, 10), "abc");
  EXPECT_EQ(vantrel::win::NotifyFieldText(Field, 6, 10), "abc\xE2\x82\xAC");
  EXPECT_EQ(vantrel::win::NotifyFieldText(Field, 6, 2), "ab");
}

TEST(TrayArea, AClickPostsTheCallbackMessageWithTheIconId) {
  TrayFixture F;
  NOTIFYICONDATAW D = F.Data("Tip");
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &D));
  EXPECT_TRUE(F.Tray->Click(F.Wnd, 1, WM_LBUTTONDOWN));
  EXPECT_FALSE(F.Tray->Click(F.Wnd, 2, WM_LBUTTONDOWN));
  F.S.PumpUntilIdle();
  ASSERT_EQ(TrayLog.size(), 1u);
  EXPECT_EQ(TrayLog[0].hwnd, F.Wnd);
  EXPECT_EQ(TrayLog[0].message, 2048u);
  EXPECT_EQ(TrayLog[0].wParam, 1u);
  EXPECT_EQ(TrayLog[0].lParam, static_cast<LPARAM>(WM_LBUTTONDOWN));
}

TEST(TrayArea, ANewTrayPostsTaskbarCreatedToEveryTopLevelWindow) {
  TrayFixture F;
  HWND Second = CreateWindowEx(0, "TrayTestWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  NOTIFYICONDATAW D = F.Data("Tip");
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &D));
  F.Tray->AnnounceNewTray();
  EXPECT_TRUE(F.Tray->Table.Icons().empty());
  F.S.PumpUntilIdle();
  const UINT Created = RegisterWindowMessage("TaskbarCreated");
  std::vector<HWND> Told;
  for (const MSG& M : TrayLog)
    if (M.message == Created) Told.push_back(M.hwnd);
  EXPECT_EQ(Told.size(), 2u);
  EXPECT_NE(std::find(Told.begin(), Told.end(), F.Wnd), Told.end());
  EXPECT_NE(std::find(Told.begin(), Told.end(), Second), Told.end());
  // The icon is added again.
  EXPECT_TRUE(Shell_NotifyIconW(NIM_ADD, &D));
}
