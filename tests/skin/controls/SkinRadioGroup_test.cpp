// The skinned radio group: button layout by columns, ItemIndex limits and events, the
// change notice to the parent, and enabling.
#include <gtest/gtest.h>

#include <vector>

#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"

using vantrel::uitest::SkinFormFixture;

namespace {

class SkinRadioGroupTest : public SkinFormFixture {
 protected:
  TspSkinRadioGroup* AddGroup(int Count, bool Skinned = true) {
    auto* G = Create<TspSkinRadioGroup>(Form.get());
    G->SetParent(Form.get());
    if (Skinned) G->SetSkinData(Skin);
    G->SetBounds(10, 10, 360, 200);
    G->SetCaption("Container");
    for (int I = 0; I < Count; ++I) G->Items()->Add("Item " + std::to_string(I));
    return G;
  }
  // The group's buttons in item order (their captions are the lines, all different).
  static std::vector<TspGroupButton*> ButtonsOf(TspSkinRadioGroup* G) {
    std::vector<TspGroupButton*> List(static_cast<size_t>(G->Items()->Count()), nullptr);
    for (Integer I = 0; I < G->ControlCount(); ++I)
      if (auto* B = dynamic_cast<TspGroupButton*>(G->Controls(I))) {
        const Integer At = G->Items()->IndexOf(B->Caption());
        if (At >= 0) List[static_cast<size_t>(At)] = B;
      }
    return List;
  }
};

TEST_F(SkinRadioGroupTest, SevenItemsInThreeColumnsFillColumnsTopToBottom) {
  for (bool Skinned : {true, false}) {
    SCOPED_TRACE(Skinned ? "skinned" : "plain");
    auto* G = AddGroup(7, Skinned);
    G->SetColumns(3);
    ShowForm();
    const auto B = ButtonsOf(G);
    ASSERT_EQ(B.size(), 7u);
    TRect R = Rect(0, 0, G->Width(), G->Height());
    G->AdjustClientRect(R);
    const int W = RectWidth(R) / 3 - 2, H = RectHeight(R) / 3;
    for (int I = 0; I < 7; ++I) {
      SCOPED_TRACE(I);
      EXPECT_TRUE(B[I]->Visible());
      EXPECT_EQ(B[I]->Left(), (I / 3) * W + R.Left + 1);
      EXPECT_EQ(B[I]->Top(), (I % 3) * H + R.Top);
      EXPECT_EQ(B[I]->Width(), W);
      EXPECT_EQ(B[I]->Height(), H);
      EXPECT_EQ(B[I]->Caption(), "Item " + std::to_string(I));
    }
    EXPECT_EQ(B[6]->Top(), B[0]->Top());
    EXPECT_GT(B[6]->Left(), B[3]->Left());
    // A new size arranges them again.
    G->SetHeight(260);
    Session.PumpUntilIdle();
    TRect R2 = Rect(0, 0, G->Width(), G->Height());
    G->AdjustClientRect(R2);
    EXPECT_EQ(B[2]->Top(), 2 * (RectHeight(R2) / 3) + R2.Top);
    G->Free();
  }
}

TEST_F(SkinRadioGroupTest, ColumnsStayBetweenOneAndSixteen) {
  auto* G = AddGroup(3);
  G->SetColumns(0);
  EXPECT_EQ(G->Columns(), 1);
  G->SetColumns(40);
  EXPECT_EQ(G->Columns(), 16);
  G->SetColumns(-3);
  EXPECT_EQ(G->Columns(), 1);
}

TEST_F(SkinRadioGroupTest, ItemIndexIsLimitedToTheButtons) {
  auto* G = AddGroup(6);
  G->SetItemIndex(10);
  EXPECT_EQ(G->ItemIndex(), 5);
  const auto B = ButtonsOf(G);
  EXPECT_TRUE(B[5]->Checked());
  G->SetItemIndex(2);
  EXPECT_TRUE(B[2]->Checked());
  EXPECT_FALSE(B[5]->Checked());
  G->SetItemIndex(-5);
  EXPECT_EQ(G->ItemIndex(), -1);
  for (auto* X : B) EXPECT_FALSE(X->Checked());
  // Deleting lines moves the index to the last one.
  G->SetItemIndex(5);
  G->Items()->Delete(5);
  G->Items()->Delete(4);
  EXPECT_EQ(G->ItemIndex(), 3);
  EXPECT_TRUE(ButtonsOf(G)[3]->Checked());
}

TEST_F(SkinRadioGroupTest, WritingItemIndexFiresOnClickAndTellsTheParentRebuildingDoesNot) {
  auto* G = AddGroup(4);
  int Clicks = 0;
  G->OnClick = [&](TObject*) { ++Clicks; };
  std::vector<TControl*> Changes;
  const TWndMethod Old = Form->WindowProc;
  Form->WindowProc = [&Changes, Old](TMessage& M) {
    if (M.Msg == CM_CHANGED) Changes.push_back(reinterpret_cast<TControl*>(M.LParam));
    Old(M);
  };
  G->SetItemIndex(1);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Changes, std::vector<TControl*>{G});
  G->SetItemIndex(1);  // unchanged
  EXPECT_EQ(Clicks, 1);
  G->Items()->Add("More");
  EXPECT_EQ(Clicks, 1);
  EXPECT_TRUE(ButtonsOf(G)[1]->Checked());
  // A click on another button moves the index and fires the event.
  ShowForm();
  auto* B3 = ButtonsOf(G)[3];
  const TPoint P = B3->ClientToScreen(Point(8, B3->Height() / 2));
  Session.Move(P.X, P.Y);
  Session.Press(P.X, P.Y);
  Session.Release(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(G->ItemIndex(), 3);
  EXPECT_FALSE(ButtonsOf(G)[1]->Checked());
  EXPECT_EQ(Clicks, 2);
  Form->WindowProc = Old;
}

TEST_F(SkinRadioGroupTest, DisablingTheGroupDisablesEveryButton) {
  auto* G = AddGroup(5);
  G->SetEnabled(false);
  for (auto* B : ButtonsOf(G)) EXPECT_FALSE(B->Enabled());
  G->SetEnabled(true);
  for (auto* B : ButtonsOf(G)) EXPECT_TRUE(B->Enabled());
  // Buttons made while the group is disabled start disabled.
  G->SetEnabled(false);
  G->Items()->Add("Late");
  EXPECT_FALSE(ButtonsOf(G).back()->Enabled());
}

TEST_F(SkinRadioGroupTest, ButtonsTakeTheGroupsButtonSkinAndFont) {
  auto* G = AddGroup(2);
  EXPECT_EQ(ButtonsOf(G)[0]->SkinDataName(), "radiobox");
  EXPECT_TRUE(ButtonsOf(G)[0]->Radio());
  EXPECT_TRUE(ButtonsOf(G)[0]->Flat());
  G->SetButtonSkinDataName("checkbox");
  auto F = CreateOwned<TFont>();
  F->SetName("Arial");
  F->SetHeight(20);
  G->SetButtonDefaultFont(F.get());
  for (auto* B : ButtonsOf(G)) {
    EXPECT_EQ(B->SkinDataName(), "checkbox");
    EXPECT_EQ(B->DefaultFont()->Height(), 20);
    EXPECT_EQ(B->SkinData(), Skin);
  }
  G->Items()->Clear();
  EXPECT_TRUE(ButtonsOf(G).empty());
}

}  // namespace
