// The default skin composed the way the windows compose it: controls and the frame at
// sizes other than their pictures keep their corners and fill their middle. With
// VANTREL_SKIN_PREVIEW set, the composed images are also saved to that PNG file.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/PngImage.h"
#include "skin/core/drawing/SPUtils.h"
#include "tests/tools/SkinGen_TestKit.h"

using namespace vantrel::test;
namespace sg = vantrel::skingen;

namespace {

// A nine-part image of descriptor D's picture rectangle R at W x H.
TOwned<TBitmap> ComposeNinePart(TspDataSkinCustomControl* D, TBitmap* Picture, const TRect& R,
                                int W, int H) {
  const int DW = W - (D->SkinRect.Right - D->SkinRect.Left);
  const int DH = H - (D->SkinRect.Bottom - D->SkinRect.Top);
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  CreateSkinImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint,
                  TPoint{D->RTPoint.X + DW, D->RTPoint.Y}, TPoint{D->LBPoint.X, D->LBPoint.Y + DH},
                  TPoint{D->RBPoint.X + DW, D->RBPoint.Y + DH},
                  TRect{D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + DW, D->ClRect.Bottom + DH},
                  B.get(), Picture, R, W, H, true, D->LeftStretch, D->TopStretch, D->RightStretch,
                  D->BottomStretch, D->StretchEffect, D->StretchType);
  return B;
}

TOwned<TBitmap> ComposeFrame(TspSkinData& S, TBitmap* Picture, int W, int H) {
  const int DW = W - Picture->Width(), DH = H - Picture->Height();
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  CreateSkinImage(S.LTPoint, S.RTPoint, S.LBPoint, S.RBPoint, S.ClRect, S.LTPoint,
                  TPoint{S.RTPoint.X + DW, S.RTPoint.Y}, TPoint{S.LBPoint.X, S.LBPoint.Y + DH},
                  TPoint{S.RBPoint.X + DW, S.RBPoint.Y + DH},
                  TRect{S.ClRect.Left, S.ClRect.Top, S.ClRect.Right + DW, S.ClRect.Bottom + DH},
                  B.get(), Picture, TRect{0, 0, Picture->Width(), Picture->Height()}, W, H, true,
                  S.LeftStretch, S.TopStretch, S.RightStretch, S.BottomStretch, S.StretchEffect,
                  S.StretchType);
  return B;
}

class ComposedSkinTest : public ::testing::Test {
 protected:
  LoadedSkin S{BinDir() + "/" + sg::DefaultSkinFolder};
  template <class T>
  T* Control(const char* Name) {
    return dynamic_cast<T*>(S.Data->CtrlList[S.Data->GetControlIndex(Name)]);
  }
};

TEST_F(ComposedSkinTest, ControlsAndFrameKeepTheirCornersAtAnySize) {
  auto Preview = CreateOwned<TBitmap>();
  Preview->SetPixelFormat(pf24bit);
  const int PreviewW = 720, PreviewH = 610;
  Preview->SetSize(PreviewW, PreviewH);
  Preview->Canvas()->Brush()->SetColor(sg::palette::Panel);
  Preview->Canvas()->FillRect(TRect{0, 0, PreviewW, PreviewH});

  // The frame at a larger size: the caption buttons stay at the right edge.
  auto Frame = ComposeFrame(*S.Data, S.Data->FPicture.get(), 680, 300);
  TBitmap* Source = S.Data->FPicture.get();
  const int DW = 680 - Source->Width();
  auto* Close = S.Data->ObjectList[S.Data->GetIndex("closebutton")];
  const TPoint C = CentreOf(Close->SkinRect);
  EXPECT_EQ(PixelOf(Frame.get(), C.X + DW, C.Y), PixelOf(Source, C.X, C.Y));
  EXPECT_EQ(PixelOf(Frame.get(), 340, 150), sg::palette::Panel);
  Preview->Canvas()->Draw(20, 10, Frame.get());

  // Buttons in every state, wider and taller than their picture.
  auto* Button = Control<TspDataSkinButtonControl>("button");
  TBitmap* Atlas = S.ListPicture(Button->PictureIndex);
  int X = 20;
  for (const TRect& R : {Button->SkinRect, Button->ActiveSkinRect, Button->DownSkinRect,
                         Button->FocusedSkinRect, Button->DisabledSkinRect}) {
    auto B = ComposeNinePart(Button, Atlas, R, 120, 32);
    EXPECT_EQ(PixelOf(B.get(), 0, 0), PixelOf(Atlas, R.Left, R.Top));
    EXPECT_EQ(PixelOf(B.get(), 119, 31), PixelOf(Atlas, R.Right - 1, R.Bottom - 1));
    EXPECT_EQ(PixelOf(B.get(), 60, 16),
              PixelOf(Atlas, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
    Preview->Canvas()->Draw(X, 330, B.get());
    X += 130;
  }
  // Edits, normal and focused; a list frame; a panel.
  auto* Edit = Control<TspDataSkinEditControl>("edit");
  Preview->Canvas()->Draw(20, 380, ComposeNinePart(Edit, Atlas, Edit->SkinRect, 220, 24).get());
  Preview->Canvas()->Draw(260, 380,
                          ComposeNinePart(Edit, Atlas, Edit->ActiveSkinRect, 220, 24).get());
  auto* Combo = Control<TspDataSkinComboBox>("combobox");
  Preview->Canvas()->Draw(500, 380, ComposeNinePart(Combo, Atlas, Combo->SkinRect, 200, 24).get());
  auto* List = Control<TspDataSkinListBox>("listbox");
  Preview->Canvas()->Draw(20, 420, ComposeNinePart(List, Atlas, List->SkinRect, 220, 120).get());
  auto* Group = Control<TspDataSkinPanelControl>("groupbox");
  Preview->Canvas()->Draw(260, 420, ComposeNinePart(Group, Atlas, Group->SkinRect, 220, 120).get());
  auto* Gauge = Control<TspDataSkinGaugeControl>("gauge");
  Preview->Canvas()->Draw(500, 420, ComposeNinePart(Gauge, Atlas, Gauge->SkinRect, 200, 16).get());
  auto Bar = CreateOwned<TBitmap>();
  Bar->SetPixelFormat(pf24bit);
  CreateHSkinImage(Gauge->BeginOffset, Gauge->EndOffset, Bar.get(), Atlas, Gauge->ProgressRect, 120,
                   Gauge->ProgressRect.Bottom - Gauge->ProgressRect.Top, true);
  Preview->Canvas()->Draw(500 + Gauge->ProgressArea.Left, 420 + Gauge->ProgressArea.Top, Bar.get());
  auto* Check = Control<TspDataSkinCheckRadioControl>("checkbox");
  auto* Radio = Control<TspDataSkinCheckRadioControl>("radiobox");
  X = 500;
  for (auto* D : {Check, Radio})
    for (const TRect& R : {D->CheckImageRect, D->UnCheckImageRect, D->ActiveCheckImageRect}) {
      Preview->Canvas()->CopyRect(TRect{X, 450, X + R.Right - R.Left, 450 + R.Bottom - R.Top},
                                  Atlas->Canvas(), R);
      X += 20;
    }

  // A popup menu: the window picture with items, the highlighted one, a divider.
  TBitmap* Popup = S.ListPicture(S.Data->PopupWindow->WindowPictureIndex);
  const TspDataSkinPopupWindow& PW = *S.Data->PopupWindow;
  auto Menu = CreateOwned<TBitmap>();
  Menu->SetPixelFormat(pf24bit);
  Menu->SetSize(160, 90);
  CreateSkinImage(
      PW.LTPoint, PW.RTPoint, PW.LBPoint, PW.RBPoint, PW.ItemsRect, PW.LTPoint,
      TPoint{PW.RTPoint.X + 160 - Popup->Width(), PW.RTPoint.Y},
      TPoint{PW.LBPoint.X, PW.LBPoint.Y + 90 - Popup->Height()},
      TPoint{PW.RBPoint.X + 160 - Popup->Width(), PW.RBPoint.Y + 90 - Popup->Height()},
      TRect{PW.ItemsRect.Left, PW.ItemsRect.Top, PW.ItemsRect.Right + 160 - Popup->Width(),
            PW.ItemsRect.Bottom + 90 - Popup->Height()},
      Menu.get(), Popup, TRect{0, 0, Popup->Width(), Popup->Height()}, 160, 90, true, true, true,
      true, true, true, spstFull);
  auto* Item = dynamic_cast<TspDataSkinMenuItem*>(S.Data->ObjectList[S.Data->GetIndex("menuitem")]);
  int Y = PW.ItemsRect.Top;
  for (const TRect& R : {Item->SkinRect, Item->ActiveSkinRect, Item->DividerRect, Item->SkinRect}) {
    auto Row = CreateOwned<TBitmap>();
    Row->SetPixelFormat(pf24bit);
    CreateHSkinImage(Item->ItemLO, Item->ItemRO, Row.get(), Atlas, R, 160 - 2 * PW.ItemsRect.Left,
                     R.Bottom - R.Top, true);
    Menu->Canvas()->Draw(PW.ItemsRect.Left, Y, Row.get());
    Y += R.Bottom - R.Top;
  }
  Preview->Canvas()->Draw(540, 470, Menu.get());
  // Tabs: the selected one, one under the mouse, a plain one.
  auto* Tab = Control<TspDataSkinTabControl>("tab");
  X = 20;
  for (const TRect& R :
       {Tab->ActiveTabRect, Tab->MouseInTabRect, Tab->TabRect, Tab->FocusTabRect}) {
    auto T = CreateOwned<TBitmap>();
    T->SetPixelFormat(pf24bit);
    CreateHSkinImage(Tab->TabLeftOffset, Tab->TabRightOffset, T.get(), Atlas, R, 90,
                     R.Bottom - R.Top, true);
    Preview->Canvas()->Draw(X, 600 - (R.Bottom - R.Top), T.get());
    X += 90;
  }
  // Scroll bar pieces and a grid header.
  auto* Scroll = Control<TspDataSkinScrollBarControl>("hscrollbar");
  Preview->Canvas()->CopyRect(
      TRect{440, 580, 440 + Scroll->ActiveUpButtonRect.Right - Scroll->ActiveUpButtonRect.Left,
            580 + Scroll->ActiveUpButtonRect.Bottom - Scroll->ActiveUpButtonRect.Top},
      Atlas->Canvas(), Scroll->ActiveUpButtonRect);
  auto* Grid = Control<TspDataSkinGridControl>("grid");
  auto Head = CreateOwned<TBitmap>();
  Head->SetPixelFormat(pf24bit);
  CreateHSkinImage(Grid->FixedCellLeftOffset, Grid->FixedCellRightOffset, Head.get(), Atlas,
                   Grid->FixedCellRect, 80, Grid->FixedCellRect.Bottom - Grid->FixedCellRect.Top,
                   true);
  Preview->Canvas()->Draw(400, 550, Head.get());

  if (const char* Out = std::getenv("VANTREL_SKIN_PREVIEW")) {
    auto Png = CreateOwned<TPngImage>();
    Png->Assign(Preview.get());
    Png->SaveToFile(Out);
  }
}

}  // namespace
