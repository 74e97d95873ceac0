// The frame's window procedure: the client rectangle it measures, its answers to the
// skin library's requests, hit-testing through the window, and the paint requests.
#include <gtest/gtest.h>

#include "platform/win/WindowManager.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

class FormSkinWndProcTest : public FrameFixture {
 protected:
  // The client rectangle in window coordinates: its insets from the window's edges.
  TRect Insets() {
    RECT W{}, C{};
    GetWindowRect(Form->Handle(), &W);
    GetClientRect(Form->Handle(), &C);
    POINT O{0, 0};
    ClientToScreen(Form->Handle(), &O);
    return Rect(O.X - W.Left, O.Y - W.Top, W.Right - (O.X + C.Right), W.Bottom - (O.Y + C.Bottom));
  }
};

struct InsetCase {
  const char* Name;
  TFormBorderStyle Border;
  bool Skinned;
  bool ClientMode;
  TRect Expected;  // left, top, right, bottom insets
};

TEST_F(FormSkinWndProcTest, TheClientRectangleIsTheWindowInsetByTheFrame) {
  // The test skin: 4-pixel borders under a 30-pixel caption.
  const InsetCase Cases[] = {
      {"default frame", bsSizeable, false, false, {3, 22, 3, 3}},
      {"tool window", bsToolWindow, false, false, {3, 18, 3, 3}},
      {"sizeable tool window", bsSizeToolWin, false, false, {3, 18, 3, 3}},
      {"skinned", bsSizeable, true, false, {4, 30, 4, 4}},
      {"borderless", bsNone, false, false, {0, 0, 0, 0}},
      {"borderless skinned", bsNone, true, false, {0, 0, 0, 0}},
  };
  Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
  for (const InsetCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TOwned<TForm> F = CreateOwned<TForm>(nullptr);
    F->SetBorderStyle(C.Border);
    F->SetBounds(50, 50, 420, 320);
    TspFormSkin* Frame = Create<TspFormSkin>(F.get());
    if (C.Skinned) Frame->SetSkinData(Skin.get());
    F->Show();
    S.Session.PumpUntilIdle();
    Form.swap(F);
    const TRect I = Insets();
    Form.swap(F);
    EXPECT_EQ(I.Left, C.Expected.Left);
    EXPECT_EQ(I.Top, C.Expected.Top);
    EXPECT_EQ(I.Right, C.Expected.Right);
    EXPECT_EQ(I.Bottom, C.Expected.Bottom);
  }
}

TEST_F(FormSkinWndProcTest, ClientModeHasNoFrame) {
  Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
  Form->SetBorderStyle(bsNone);
  FS->SetSupportNCArea(false);
  FS->SetSkinData(Skin.get());
  ShowForm();
  const TRect I = Insets();
  EXPECT_EQ(I.Left, 0);
  EXPECT_EQ(I.Top, 0);
  EXPECT_EQ(I.Right, 0);
  EXPECT_EQ(I.Bottom, 0);
}

TEST_F(FormSkinWndProcTest, SkinQueriesAndPaintRequestsAreAnswered) {
  ShowForm();
  const HWND Wnd = Form->Handle();
  EXPECT_EQ(SendMessage(Wnd, CM_SKIN_QUERY_SKINNED, 0, 0), SKIN_ANSWER_SKINNED);
  EXPECT_EQ(SendMessage(Wnd, CM_SKIN_PAINT_FRAME, 0, 0), SKIN_ANSWER_FRAME_PAINTED);
  EXPECT_EQ(SendMessage(Wnd, CN_SKIN_PAINT_FRAME, 0, SKIN_PAINT_KEY), SKIN_PAINT_KEY);
  SendMessage(Wnd, CM_SKIN_EFFECTS_BEGIN, 0, 0);
  EXPECT_TRUE(FS->FSmartEffectsShow);
  SendMessage(Wnd, CM_SKIN_EFFECTS_END, 0, 0);
  EXPECT_FALSE(FS->FSmartEffectsShow);
  FS->FSkinnableForm = false;
  EXPECT_EQ(SendMessage(Wnd, CM_SKIN_QUERY_SKINNED, 0, 0), SKIN_ANSWER_NOT_SKINNED);
}

TEST_F(FormSkinWndProcTest, TheMinimumAndMaximumTrackSizesComeFromTheFrame) {
  ShowForm();
  MINMAXINFO Info{};
  SendMessage(Form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info));
  EXPECT_EQ(Info.ptMinTrackSize.X, FS->GetMinWidth());
  EXPECT_EQ(Info.ptMinTrackSize.Y, FS->GetMinHeight());
  EXPECT_EQ(Info.ptMaxTrackSize.X, FS->GetMaxWidth());
  EXPECT_EQ(Info.ptMaxTrackSize.Y, FS->GetMaxHeight());
}

TEST_F(FormSkinWndProcTest, AMaximizedSkinnedFormIsNotDragged) {
  ShowForm();
  FS->FWindowState = wsMaximized;
  RECT Proposed = Rect(300, 300, 700, 600);
  SendMessage(Form->Handle(), WM_MOVING, 0, reinterpret_cast<LPARAM>(&Proposed));
  EXPECT_EQ(Proposed.Left, 100);
  EXPECT_EQ(Proposed.Top, 80);
  EXPECT_EQ(Proposed.Right, 500);
  EXPECT_EQ(Proposed.Bottom, 380);
}

TEST_F(FormSkinWndProcTest, HitTestingThroughTheWindow) {
  UseTestSkin();
  FS->SetSkinData(Skin.get());
  ShowForm();
  const auto Hit = [&](int X, int Y) {
    return SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(100 + X, 80 + Y));
  };
  // A 400 x 300 form is the test skin's picture size; border 4, caption 30.
  EXPECT_EQ(Hit(200, 150), HTCLIENT);
  EXPECT_EQ(Hit(200, 1), HTTOP);
  EXPECT_EQ(Hit(399, 150), HTRIGHT);
  EXPECT_EQ(Hit(200, 299), HTBOTTOM);
  EXPECT_EQ(Hit(1, 150), HTLEFT);
  EXPECT_EQ(Hit(398, 298), HTBOTTOMRIGHT);
  FS->SetSizeable(false);
  Form->SetBorderStyle(bsSingle);  // a new window, hooked as the old one
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Hit(200, 299), HTOBJECT);
  EXPECT_EQ(Hit(200, 150), HTCLIENT);
}

TEST_F(FormSkinWndProcTest, ACaptionDoubleClickRollsAFixedFormUpAndDown) {
  UseTestSkin();
  FS->SetSkinData(Skin.get());
  FS->SetSizeable(false);
  ShowForm();
  const LPARAM OnCaption = MAKELPARAM(100 + 200, 80 + 15);
  SendMessage(Form->Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, OnCaption);
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(FS->RollUpState());
  EXPECT_EQ(Form->Height(), FS->GetMinHeight());
  EXPECT_EQ(Form->WindowState(), wsNormal);
  SendMessage(Form->Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, OnCaption);
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(FS->RollUpState());
  EXPECT_EQ(Form->Height(), 300);
}

TEST_F(FormSkinWndProcTest, ACaptionDoubleClickMaximizesAndRestoresASizeableForm) {
  UseTestSkin();
  FS->SetSkinData(Skin.get());
  ShowForm();
  const TRect Before = Rect(Form->Left(), Form->Top(), Form->Left() + Form->Width(), Form->Top() + Form->Height());
  SendMessage(Form->Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(100 + 200, 80 + 15));
  S.Session.PumpUntilIdle();
  EXPECT_EQ(FS->WindowState(), wsMaximized);
  EXPECT_FALSE(FS->RollUpState());
  // The maximized caption lies at the top of the work area now.
  SendMessage(Form->Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(Form->Left() + 200, Form->Top() + 15));
  S.Session.PumpUntilIdle();
  EXPECT_EQ(FS->WindowState(), wsNormal);
  EXPECT_EQ(Rect(Form->Left(), Form->Top(), Form->Left() + Form->Width(), Form->Top() + Form->Height()), Before);
}

TEST_F(FormSkinWndProcTest, TheFormsCursorOverTheSkinnedCaption) {
  UseTestSkin();
  FS->SetSkinData(Skin.get());
  FS->SetUseFormCursorInNCArea(true);
  ShowForm();
  std::vector<WORD> Codes;
  TWndMethod Below = FS->OldWindowProc;
  FS->OldWindowProc = [&Codes, Below](TMessage& M) {
    if (M.Msg == WM_SETCURSOR) Codes.push_back(LOWORD(static_cast<uintptr_t>(M.LParam)));
    Below(M);
  };
  const WPARAM Wnd = reinterpret_cast<WPARAM>(Form->Handle());
  SendMessage(Form->Handle(), WM_SETCURSOR, Wnd, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
  SendMessage(Form->Handle(), WM_SETCURSOR, Wnd, MAKELPARAM(HTOBJECT, WM_MOUSEMOVE));
  SendMessage(Form->Handle(), WM_SETCURSOR, Wnd, MAKELPARAM(HTBOTTOMRIGHT, WM_MOUSEMOVE));
  SendMessage(Form->Handle(), WM_SETCURSOR, Wnd, MAKELPARAM(HTLEFT, WM_MOUSEMOVE));
  FS->OldWindowProc = Below;
  EXPECT_EQ(Codes, (std::vector<WORD>{HTCLIENT, HTCLIENT, HTBOTTOMRIGHT, HTLEFT}));
}

DWORD FormSkinWndProcXPVersion() { return 0x0105; }  // 5.1

// Sets the version the skin library sees for one test.
struct FormSkinVersionScope {
  explicit FormSkinVersionScope(vantrel::skin::TVersionProvider P) { vantrel::skin::SetVersionProviderForTest(P); }
  ~FormSkinVersionScope() { vantrel::skin::SetVersionProviderForTest(nullptr); }
};

TEST_F(FormSkinWndProcTest, OnXPAFormThatTakesNoSkinStillAnswersSkinned) {
  FormSkinVersionScope XP(FormSkinWndProcXPVersion);
  TOwned<TForm> F = CreateOwned<TForm>(nullptr);
  F->SetBounds(10, 10, 300, 200);
  TspFormSkin* Frame = Create<TspFormSkin>(F.get());
  EXPECT_FALSE(Frame->FIsVistaOS);
  EXPECT_FALSE(Frame->FIsW7);
  Frame->FSkinnableForm = false;
  EXPECT_EQ(SendMessage(F->Handle(), CM_SKIN_QUERY_SKINNED, 0, 0), SKIN_ANSWER_SKINNED);
}

TEST_F(FormSkinWndProcTest, ActivationIsAcceptedWithoutThePlatformsCaption) {
  ShowForm();
  std::vector<UINT> Seen;
  // The frame's hook is outermost; a probe below it sees what is passed on.
  TWndMethod Below = FS->OldWindowProc;
  FS->OldWindowProc = [&Seen, Below](TMessage& M) {
    Seen.push_back(M.Msg);
    Below(M);
  };
  EXPECT_EQ(SendMessage(Form->Handle(), WM_NCACTIVATE, 0, 0), 1);
  EXPECT_FALSE(FS->FFormActive);
  EXPECT_EQ(SendMessage(Form->Handle(), WM_NCACTIVATE, 1, 0), 1);
  EXPECT_TRUE(FS->FFormActive);
  RECT R = Rect(0, 0, 100, 100);
  SendMessage(Form->Handle(), WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&R));
  for (UINT M : Seen) {
    EXPECT_NE(M, static_cast<UINT>(WM_NCACTIVATE));
    EXPECT_NE(M, static_cast<UINT>(WM_NCCALCSIZE));
    EXPECT_NE(M, static_cast<UINT>(WM_NCPAINT));
  }
  FS->OldWindowProc = Below;
}

}  // namespace
}  // namespace vantrel::frametest
