#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/display/HeadlessPng.h"
#include "platform/display/HeadlessSession.h"
#include "platform/win/Timers.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Shell.h"
#include "platform/win/SysColors.h"

using vantrel::display::HeadlessSession;

namespace {

// An owner window on screen and a session that shows boxes instead of answering them.
struct BoxFixture {
  HeadlessSession S;
  HWND Owner;
  BoxFixture() {
    S.Manager().Shell().MessageBoxResponder = nullptr;
    WNDCLASSEX C;
    C.lpfnWndProc = MakeWndProc(&DefWindowProc);
    C.lpszClassName = "MsgBoxTestOwner";
    RegisterClassEx(&C);
    Owner = CreateWindowEx(0, "MsgBoxTestOwner", "Owner", WS_POPUP | WS_VISIBLE, 100, 100, 500, 300, nullptr, nullptr, nullptr,
                           nullptr);
    S.PumpUntilIdle();
  }
  // The box that shows while the loop runs (the only other visible top-level window).
  HWND FindBox() {
    for (auto* W : S.Manager().TopLevels())
      if (W->Handle != Owner && IsWindowVisible(W->Handle)) return W->Handle;
    return nullptr;
  }
};

}  // namespace

TEST(MessageBox, ButtonsOfEachKindLeftToRight) {
  struct Case {
    UINT Flags;
    std::vector<int> Ids;
    int Enter, Esc;
  } Cases[] = {{MB_OK, {IDOK}, IDOK, IDOK},
               {MB_OKCANCEL, {IDOK, IDCANCEL}, IDOK, IDCANCEL},
               {MB_YESNO | MB_DEFBUTTON2, {IDYES, IDNO}, IDNO, 0},
               {MB_YESNOCANCEL | MB_DEFBUTTON3, {IDYES, IDNO, IDCANCEL}, IDCANCEL, IDCANCEL},
               {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}, IDRETRY, IDCANCEL},
               {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, {IDABORT, IDRETRY, IDIGNORE}, IDRETRY, 0},
               {MB_OKCANCEL | MB_DEFBUTTON3, {IDOK, IDCANCEL}, IDOK, IDCANCEL}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Flags);
    std::vector<int> Ids;
    for (const auto& B : vantrel::win::MessageBoxButtons(C.Flags)) Ids.push_back(B.Id);
    EXPECT_EQ(Ids, C.Ids);
    EXPECT_EQ(vantrel::win::MessageBoxDefaultAnswer(C.Flags), C.Enter);
    EXPECT_EQ(vantrel::win::MessageBoxCancelAnswer(C.Flags), C.Esc);
  }
}

TEST(MessageBox, TheSessionRecordsBoxesAndShowsNoWindow) {
  HeadlessSession S;
  const size_t Before = S.Manager().TopLevels().size();
  EXPECT_EQ(MessageBox(nullptr, "Saved.", "Info", MB_OK | MB_ICONINFORMATION), IDOK);
  EXPECT_EQ(MessageBox(nullptr, "Save?", "Q", MB_YESNO), IDYES);
  ASSERT_EQ(S.MessageBoxes.size(), 2u);
  EXPECT_EQ(S.MessageBoxes[0].Text, "Saved.");
  EXPECT_EQ(S.MessageBoxes[1].Caption, "Q");
  EXPECT_EQ(S.Manager().TopLevels().size(), Before);
}

namespace {

// Inside the box's loop (a timer of the test): clicks the box's second button, found from
// the box's client area (buttons 75 x 23, 6 apart, centred, 12 above the bottom edge).
BoxFixture* BoxUnderTest = nullptr;
bool OwnerEnabledInLoop = true;
void ClickSecondButton(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  HWND Box = BoxUnderTest->FindBox();
  ASSERT_NE(Box, nullptr);
  OwnerEnabledInLoop = IsWindowEnabled(BoxUnderTest->Owner);
  RECT C;
  GetClientRect(Box, &C);
  POINT P{(C.Right - (2 * 75 + 6)) / 2 + 75 + 6 + 37, C.Bottom - 12 - 11};
  ClientToScreen(Box, &P);
  BoxUnderTest->S.Press(P.X, P.Y);
  BoxUnderTest->S.Release(P.X, P.Y);
}

}  // namespace

TEST(MessageBox, AQueuedClickOnNoAnswersNoWithTheOwnerDisabledMeanwhile) {
  BoxFixture F;
  BoxUnderTest = &F;
  SetTimer(nullptr, 0, 10, ClickSecondButton);
  EXPECT_EQ(MessageBox(F.Owner, "Save?", "Q", MB_YESNO | MB_ICONWARNING), IDNO);
  EXPECT_FALSE(OwnerEnabledInLoop);
  EXPECT_TRUE(IsWindowEnabled(F.Owner));
  EXPECT_EQ(F.FindBox(), nullptr);
  BoxUnderTest = nullptr;
}

TEST(MessageBox, EnterGivesTheDefaultButtonAndEscCancels) {
  BoxFixture F;
  F.S.Key(VK_RETURN);
  EXPECT_EQ(MessageBox(F.Owner, "Save?", "Q", MB_YESNO | MB_ICONWARNING), IDYES);
  F.S.Key(VK_RETURN);
  EXPECT_EQ(MessageBox(F.Owner, "Save?", "Q", MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);
  F.S.Key(VK_ESCAPE);
  EXPECT_EQ(MessageBox(F.Owner, "Go on?", "Q", MB_OKCANCEL), IDCANCEL);
  F.S.Key(VK_ESCAPE);
  EXPECT_EQ(MessageBox(F.Owner, "Done.", "Info", MB_OK), IDOK);
  EXPECT_TRUE(IsWindowEnabled(F.Owner));
}

TEST(MessageBox, LooksLikeABoxWithIconTextAndButtons) {
  BoxFixture F;
  BoxUnderTest = &F;
  struct Grab {
    static void Proc(HWND, UINT, UINT_PTR Id, DWORD) {
      KillTimer(nullptr, Id);
      HWND Box = BoxUnderTest->FindBox();
      vantrel::win::Surface Pic = BoxUnderTest->S.Capture(Box);
      EXPECT_GT(Pic.Width(), 150);
      // The caption bar in the caption colour (left of its close button); the warning
      // icon's yellow left of the text.
      const COLORREF Bar = GetSysColor(COLOR_ACTIVECAPTION);
      EXPECT_EQ(Pic.Row(4)[Pic.Width() - 40] & 0xFFFFFF,
                static_cast<uint32_t>(GetRValue(Bar)) << 16 | GetGValue(Bar) << 8 | GetBValue(Bar));
      RECT Window, Client;
      GetWindowRect(Box, &Window);
      GetClientRect(Box, &Client);
      POINT Origin{0, 0};
      ClientToScreen(Box, &Origin);
      const int Left = Origin.X - Window.Left, Top = Origin.Y - Window.Top;
      int Yellow = 0;
      for (int Y = Top + 12; Y < Top + 44; ++Y)
        for (int X = Left + 12; X < Left + 44; ++X) {
          const uint32_t P = Pic.Row(Y)[X];
          Yellow += ((P >> 16) & 0xFF) > 200 && ((P >> 8) & 0xFF) > 150 && (P & 0xFF) < 100;
        }
      EXPECT_GT(Yellow, 100) << "the warning icon";
      if (const char* Dir = std::getenv("VANTREL_CAPTURE_DIR"))
        vantrel::display::SavePng(Pic, std::string(Dir) + "/msgbox.png");
      BoxUnderTest->S.Key(VK_RETURN);
    }
  };
  SetTimer(nullptr, 0, 10, Grab::Proc);
  EXPECT_EQ(MessageBox(F.Owner, "Save the changes to the list?", "Q", MB_YESNO | MB_ICONWARNING), IDYES);
  BoxUnderTest = nullptr;
}
