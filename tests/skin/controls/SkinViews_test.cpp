// The tree and list view wrappers: outside bars that follow the native scroll state, the
// list style's line scrolling from the bar, the subclassed column header (pressed looks,
// its wider placement) and the skin's font and colours.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/Header.h"
#include "platform/win/ListView.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Scroll.h"
#include "platform/win/TreeView.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinViewsTest : public SkinFormFixture {
 protected:
  TspSkinScrollBar* VBar = nullptr;
  TspSkinScrollBar* HBar = nullptr;

  TspSkinListView* AddListView(TViewStyle Style, int W, int H, int Rows) {
    auto* V = Create<TspSkinListView>(Form.get());
    V->SetParent(Form.get());
    V->SetBounds(10, 10, W, H);
    V->SetViewStyle(Style);
    for (const char* Caption : {"", "Size"}) {
      TListColumn* C = V->Columns()->Add();
      C->SetCaption(Caption);
      C->SetWidth(90);
    }
    for (int I = 0; I < Rows; ++I) {
      TListItem* Item = V->Items()->Add();
      Item->SetCaption("file " + std::to_string(I) + ".mp4");
      Item->SubItems()->Add("1 MB");
    }
    VBar = Create<TspSkinScrollBar>(Form.get());
    VBar->SetParent(Form.get());
    VBar->SetKind(sbVertical);
    VBar->SetBounds(10 + W, 10, 19, H);
    HBar = Create<TspSkinScrollBar>(Form.get());
    HBar->SetParent(Form.get());
    HBar->SetBounds(10, 10 + H, W, 19);
    V->SetVScrollBar(VBar);
    V->SetHScrollBar(HBar);
    return V;
  }
  static sg::Colour Sys(TColor C) { return static_cast<sg::Colour>(ColorToRGB(C)); }
  void PressHeader(HWND Header, int X, int Y) {
    RECT R{};
    GetWindowRect(Header, &R);
    Session.Move(R.Left + X, R.Top + Y);
    Session.Press(R.Left + X, R.Top + Y);
    Session.PumpUntilIdle();
  }
  sg::Colour HeaderPixel(HWND Header, int X, int Y) {
    RECT R{};
    GetWindowRect(Header, &R);
    return static_cast<sg::Colour>(SurfacePixel(Session.CaptureScreen(), R.Left + X, R.Top + Y));
  }
};

TEST_F(SkinViewsTest, AReportViewShowsItsVerticalBarAndATinyViewNone) {
  auto* V = AddListView(vsReport, 200, 120, 40);
  ShowForm();
  V->UpDateScrollBars();
  EXPECT_TRUE(VBar->Visible());
  EXPECT_FALSE(HBar->Visible());
  EXPECT_EQ(VBar->LargeChange(), SendMessage(V->Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
  // Moving the bar scrolls the rows.
  VBar->SetPosition(5);
  Session.PumpUntilIdle();
  EXPECT_EQ(GetScrollPos(V->Handle(), SB_VERT), 5);
  for (const auto& [W, H] : {std::pair{5, 120}, std::pair{200, 5}}) {
    SCOPED_TRACE(W);
    auto* Tiny = AddListView(vsReport, W, H, 40);
    Session.PumpUntilIdle();
    Tiny->UpDateScrollBars();
    EXPECT_FALSE(VBar->Visible());
    EXPECT_FALSE(HBar->Visible());
  }
}

TEST_F(SkinViewsTest, ATreeViewShowsItsVerticalBarWhenItsNodesOverflow) {
  auto* T = Create<TspSkinCustomTreeView>(Form.get());
  T->SetParent(Form.get());
  T->SetBounds(10, 10, 150, 100);
  VBar = Create<TspSkinScrollBar>(Form.get());
  VBar->SetParent(Form.get());
  VBar->SetKind(sbVertical);
  VBar->SetBounds(160, 10, 19, 100);
  T->SetVScrollBar(VBar);
  ShowForm();
  EXPECT_FALSE(VBar->Visible());
  for (int I = 0; I < 30; ++I) T->Items()->Add(nullptr, "node " + std::to_string(I));
  Session.PumpUntilIdle();
  T->UpDateScrollBars();
  ASSERT_TRUE(VBar->Visible());
  EXPECT_EQ(VBar->PageSize(), SendMessage(T->Handle(), TVM_GETVISIBLECOUNT, 0, 0));
  VBar->SetPosition(4);
  Session.PumpUntilIdle();
  EXPECT_EQ(GetScrollPos(T->Handle(), SB_VERT), 4);
}

TEST_F(SkinViewsTest, InListStyleTheBarMovesTheViewByLines) {
  auto* V = AddListView(vsList, 200, 60, 60);
  std::vector<WPARAM> Scrolls;
  const TWndMethod Saved = V->WindowProc;
  V->WindowProc = [&](TMessage& M) {
    if (M.Msg == WM_HSCROLL) Scrolls.push_back(M.WParam);
    Saved(M);
  };
  ShowForm();
  V->UpDateScrollBars();
  EXPECT_FALSE(VBar->Visible());
  ASSERT_TRUE(HBar->Visible());
  EXPECT_EQ(HBar->SmallChange(), 1);
  HBar->SetPosition(HBar->Position() + 3);
  EXPECT_EQ(Scrolls, (std::vector<WPARAM>{SB_LINERIGHT, SB_LINERIGHT, SB_LINERIGHT}));
  Scrolls.clear();
  HBar->SetPosition(HBar->Position() - 2);
  EXPECT_EQ(Scrolls, (std::vector<WPARAM>{SB_LINELEFT, SB_LINELEFT}));
  V->WindowProc = Saved;
}

TEST_F(SkinViewsTest, APressOnASectionLooksPressedAndOnADividerNot) {
  auto* V = AddListView(vsReport, 250, 120, 3);
  ShowForm();
  const HWND Header = V->HeaderHandle();
  ASSERT_NE(Header, nullptr);
  RECT S0{};
  SendMessage(Header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&S0));
  const int MidX = (S0.Left + S0.Right) / 2, MidY = (S0.Top + S0.Bottom) / 2;
  EXPECT_EQ(HeaderPixel(Header, MidX, MidY), Sys(clBtnFace));
  PressHeader(Header, S0.Right - 1, MidY);
  EXPECT_EQ(HeaderPixel(Header, MidX, MidY), Sys(clBtnFace));
  RECT R{};
  GetWindowRect(Header, &R);
  Session.Release(R.Left + S0.Right - 1, R.Top + MidY);
  Session.PumpUntilIdle();
  PressHeader(Header, MidX, MidY);
  EXPECT_EQ(HeaderPixel(Header, MidX, MidY), static_cast<sg::Colour>(0xB59385));
  Session.Release(R.Left + MidX, R.Top + MidY);
  Session.PumpUntilIdle();
  EXPECT_EQ(HeaderPixel(Header, MidX, MidY), Sys(clBtnFace));
}

TEST_F(SkinViewsTest, TheHeaderIsPlacedWiderThanAsked) {
  auto* V = AddListView(vsReport, 250, 120, 3);
  ShowForm();
  const HWND Header = V->HeaderHandle();
  ASSERT_NE(Header, nullptr);
  for (int W : {100, 180}) {
    SetWindowPos(Header, nullptr, 0, 0, W, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT R{};
    GetWindowRect(Header, &R);
    EXPECT_EQ(R.Right - R.Left, W + 25);
  }
}

TEST_F(SkinViewsTest, TheSkinGivesTheViewsTheDescriptorsFontAndColours) {
  auto* V = AddListView(vsReport, 200, 100, 3);
  auto* T = Create<TspSkinCustomTreeView>(Form.get());
  T->SetParent(Form.get());
  T->SetBounds(250, 10, 100, 100);
  ShowForm();
  EXPECT_EQ(V->Color(), clWindow);
  V->SetSkinData(Skin);
  T->SetSkinData(Skin);
  for (TControl* C : std::initializer_list<TControl*>{V, T}) {
    const String Name = C == V ? "listview" : "treeview";
    SCOPED_TRACE(Name);
    const Integer I = Skin->GetControlIndex(Name);
    ASSERT_NE(I, -1);
    auto* D = dynamic_cast<TspDataSkinListView*>(Skin->CtrlList.Items(I));
    auto* DT = dynamic_cast<TspDataSkinTreeView*>(Skin->CtrlList.Items(I));
    const TColor Bg = D ? D->BGColor : DT->BGColor;
    EXPECT_EQ(C->Color(), Bg);
    EXPECT_EQ(C->Font()->Name(), D ? D->FontName : DT->FontName);
    EXPECT_EQ(C->Font()->Height(), D ? D->FontHeight : DT->FontHeight);
    EXPECT_EQ(C->Font()->Color(), D ? D->FontColor : DT->FontColor);
  }
  V->SetDefaultColor(clYellow);
  EXPECT_NE(V->Color(), clYellow);
  V->SetSkinData(nullptr);
  V->ChangeSkinData();
  EXPECT_EQ(V->Color(), clYellow);
}

}  // namespace
