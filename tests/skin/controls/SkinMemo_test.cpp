// The skinned memo: the external scroll bars following the native scroll state and driving
// it, the wheel, the read-only mode, the lines of a disabled memo and the text rectangle.
#include <gtest/gtest.h>

#include <string>

#include "platform/ui/Clipbrd.h"
#include "platform/win/Edit.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Scroll.h"
#include "platform/win/SysColors.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinMemoTest : public SkinFormFixture {
 protected:
  TspSkinScrollBar* VBar = nullptr;
  TspSkinScrollBar* HBar = nullptr;

  TspSkinMemo* AddMemo(bool Skinned) {
    auto* M = Create<TspSkinMemo>(Form.get());
    M->SetParent(Form.get());
    M->SetBounds(20, 20, 200, 100);
    VBar = Create<TspSkinScrollBar>(Form.get());
    VBar->SetKind(sbVertical);
    VBar->SetParent(Form.get());
    VBar->SetBounds(220, 20, 16, 100);
    HBar = Create<TspSkinScrollBar>(Form.get());
    HBar->SetParent(Form.get());
    HBar->SetBounds(20, 120, 200, 16);
    M->SetVScrollBar(VBar);
    M->SetHScrollBar(HBar);
    if (Skinned) M->SetSkinData(Skin);
    return M;
  }
  static void FillLines(TspSkinMemo* M, int N) {
    String T;
    for (int I = 0; I < N; ++I) T += "line " + std::to_string(I) + "\n";
    M->SetText(T);
  }
  static int FirstLine(TspSkinMemo* M) {
    return static_cast<int>(SendMessage(M->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
  }
  // Pixels of exactly Colour inside the memo's client area.
  int PixelsOf(TControl* C, sg::Colour Colour) {
    const vantrel::win::Surface S = Session.CaptureScreen();
    int N = 0;
    for (int Y = 0; Y < C->Height(); ++Y)
      for (int X = 0; X < C->Width(); ++X) {
        const TPoint P = C->ClientToScreen(Point(X, Y));
        N += static_cast<sg::Colour>(SurfacePixel(S, P.X, P.Y)) == Colour;
      }
    return N;
  }
};

TEST_F(SkinMemoTest, TheBarsAreEnabledOnlyWhenThereIsSomethingToScroll) {
  auto* M = AddMemo(false);
  ShowForm();
  struct Case {
    int Bar;
    int Max, Page;
    bool Enabled;
  } Cases[] = {{SB_VERT, 9, 10, false}, {SB_VERT, 10, 10, true}, {SB_HORZ, 10, 10, false}, {SB_HORZ, 11, 10, true}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Bar) + " " + std::to_string(C.Max) + "/" + std::to_string(C.Page));
    SCROLLINFO SI{};
    SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    SI.nMin = 0;
    SI.nMax = C.Max;
    SI.nPage = static_cast<UINT>(C.Page);
    SI.nPos = 0;
    SetScrollInfo(M->Handle(), C.Bar, &SI, FALSE);
    M->UpDateScrollRange();
    TspSkinScrollBar* Bar = C.Bar == SB_VERT ? VBar : HBar;
    EXPECT_EQ(Bar->Enabled(), C.Enabled);
    EXPECT_EQ(Bar->Max(), C.Enabled ? C.Max : 0);
    EXPECT_EQ(Bar->PageSize(), C.Enabled ? C.Page : 0);
  }
  // A disabled memo disables its bars.
  M->SetEnabled(false);
  EXPECT_FALSE(VBar->Enabled());
}

TEST_F(SkinMemoTest, TheBarAndTheWheelScrollTheLines) {
  auto* M = AddMemo(true);
  ShowForm();
  FillLines(M, 40);
  Session.PumpUntilIdle();
  ASSERT_TRUE(VBar->Enabled());
  EXPECT_EQ(VBar->Max(), 40);  // 41 lines: the last one empty
  // Focus and pointer first: a hot or focused memo changes its font, which brings the
  // caret into view.
  M->SetFocus();
  const TPoint P = M->ClientToScreen(Point(50, 50));
  Session.Move(P.X, P.Y);
  Session.PumpUntilIdle();
  VBar->SetPosition(7);
  EXPECT_EQ(FirstLine(M), 7);
  Session.Wheel(P.X, P.Y, 120);  // away from the user: one line up
  Session.PumpUntilIdle();
  EXPECT_EQ(FirstLine(M), 6);
  EXPECT_EQ(VBar->Position(), 6);
  Session.Wheel(P.X, P.Y, -120);
  Session.PumpUntilIdle();
  EXPECT_EQ(FirstLine(M), 7);
}

TEST_F(SkinMemoTest, ReadOnlyStillCopies) {
  auto* M = AddMemo(false);
  ShowForm();
  M->SetText("first\nsecond");
  const String Before = M->Text();
  M->SetReadOnly(true);
  M->SetFocus();
  M->SetSelStart(0);
  M->SetSelLength(5);
  Clipboard()->SetAsText("");
  SendMessage(M->Handle(), WM_CHAR, 3, 0);
  EXPECT_EQ(Clipboard()->AsText(), "first");
  SendMessage(M->Handle(), WM_CHAR, 'x', 0);
  SendMessage(M->Handle(), WM_KEYDOWN, VK_DELETE, 0);
  for (UINT Msg : {WM_CUT, WM_PASTE, WM_CLEAR, WM_UNDO}) SendMessage(M->Handle(), Msg, 0, 0);
  EXPECT_EQ(M->Text(), Before);
  M->CreateSysPopupMenu();
  TMenuItem* Items = M->SysPopupMenu()->Items();
  EXPECT_FALSE(Items->Items(2)->Enabled());  // Cut
  EXPECT_TRUE(Items->Items(3)->Enabled());   // Copy
  EXPECT_FALSE(Items->Items(4)->Enabled());  // Paste
  EXPECT_TRUE(Items->Items(7)->Enabled());   // Select All
}

TEST_F(SkinMemoTest, ADisabledMemoDrawsItsLinesInTheDisabledColour) {
  for (bool Skinned : {false, true}) {
    SCOPED_TRACE(Skinned ? "skinned" : "plain");
    auto* M = AddMemo(Skinned);
    ShowForm();
    M->SetText("MMMM IIII\nHHHH llll\nWWWW");
    const sg::Colour Grey = Skinned ? sg::TestFontColour(false, "edit", "disabledfontcolor")
                                    : static_cast<sg::Colour>(GetSysColor(COLOR_GRAYTEXT));
    Session.PumpUntilIdle();
    EXPECT_EQ(PixelsOf(M, Grey), 0);
    M->SetEnabled(false);
    M->Invalidate();
    Session.PumpUntilIdle();
    EXPECT_GT(PixelsOf(M, Grey), 20);
    delete M;
  }
}

TEST_F(SkinMemoTest, WithoutABorderNoTextRectangleIsSet) {
  auto* M = AddMemo(false);
  ShowForm();
  RECT R{};
  SendMessage(M->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(R, Rect(3, 2, M->Width() - 4, M->Height() - 2));
  auto* Bare = Create<TspSkinMemo>(Form.get());
  Bare->SetBorderStyle(bsNone);
  Bare->SetParent(Form.get());
  Bare->SetBounds(20, 200, 200, 100);
  Session.PumpUntilIdle();
  EXPECT_EQ(Bare->TextArea(), TRect{});
  SendMessage(Bare->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_NE(R, Rect(3, 2, Bare->Width() - 4, Bare->Height() - 2));
}

}  // namespace
