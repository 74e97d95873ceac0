// The skinned check box and radio button: the picture of each state in the skinned looks,
// the plain looks, mouse, space key, groups, the grayed cycle and the hover morph.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/ui/ActnList.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

sg::Colour CheckFill(const char* Key) { return sg::TestPieceColour(false, "checkbox", Key, sg::Piece::Fill); }
sg::Colour SysColourOf(TColor C) { return static_cast<sg::Colour>(ColorToRGB(C)); }

class SkinCheckRadioTest : public SkinFormFixture {
 protected:
  TspSkinCheckRadioBox* AddBox(bool Skinned, bool Flat, TWinControl* Parent = nullptr, TRect R = Bounds(20, 20, 150, 25)) {
    auto* B = Create<TspSkinCheckRadioBox>(Form.get());
    B->SetFlat(Flat);
    B->SetParent(Parent ? Parent : Form.get());
    if (Skinned) B->SetSkinData(Skin);
    B->SetBoundsRect(R);
    B->SetCaption("Apply to all");
    return B;
  }
  // Puts the pointer over (or away from) a control and lets the idle check see it.
  void Hover(TControl* C, bool Over) {
    const TPoint P = Over ? C->ClientToScreen(Point(C->Width() - 5, C->Height() / 2)) : Point(2, 2);
    Session.Move(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void ClickAt(TControl* C) {
    const TPoint P = C->ClientToScreen(Point(C->Width() - 10, C->Height() / 2));
    Session.Move(P.X, P.Y);
    Session.Press(P.X, P.Y);
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  // Centre of the check picture as each skinned look places it.
  static TPoint MarkCentre(TspSkinCheckRadioBox* B) {
    const int Mk = sg::MainSizes.Mark;
    if (B->Flat()) return Point(3 + Mk / 2, B->Height() / 2 - Mk / 2 + Mk / 2);
    return Point(B->CIRect.Left + Mk / 2, B->CIRect.Top + Mk / 2);
  }
};

struct CheckPictureCase {
  TCheckBoxState State;
  bool Enabled;
  bool Hovered;
  const char* Key;  // the picture whose fill shows
};

TEST_F(SkinCheckRadioTest, EachStateShowsItsPictureInTheFlatAndTheFramedLook) {
  const CheckPictureCase Cases[] = {
      {cbUnchecked, true, false, "uncheckimagerect"},
      {cbChecked, true, false, "checkimagerect"},
      {cbGrayed, true, false, "grayedcheckimagerect"},
      {cbUnchecked, true, true, "activeuncheckimagerect"},
      {cbChecked, true, true, "activecheckimagerect"},
      {cbGrayed, true, true, "activegrayedcheckimagerect"},
      {cbUnchecked, false, false, "unenableduncheckimagerect"},
      {cbChecked, false, false, "unenabledcheckimagerect"},
      {cbGrayed, false, false, "grayedcheckimagerect"},
  };
  ShowForm();
  for (bool Flat : {true, false}) {
    for (const CheckPictureCase& K : Cases) {
      SCOPED_TRACE(std::string(Flat ? "flat " : "framed ") + K.Key);
      auto* B = AddBox(true, Flat);
      B->SetState(K.State);
      B->SetEnabled(K.Enabled);
      Hover(B, K.Hovered);
      const TPoint C = MarkCentre(B);
      EXPECT_EQ(PixelAt(B, C.X, C.Y), CheckFill(K.Key));
      // The picture's ring has the colour of its bottom-left pixel: left out.
      const TPoint Corner = Point(C.X - sg::MainSizes.Mark / 2, C.Y - sg::MainSizes.Mark / 2);
      EXPECT_NE(PixelAt(B, Corner.X, Corner.Y), sg::TestPieceColour(false, "checkbox", K.Key, sg::Piece::Ring));
      Hover(B, false);
      B->Free();
    }
  }
}

TEST_F(SkinCheckRadioTest, WithoutAGrayedPictureTheMarkIsLightenedHalfwayToWhite) {
  auto* D = dynamic_cast<TspDataSkinCheckRadioControl*>(Skin->CtrlList.Items(Skin->GetControlIndex("checkbox")));
  ASSERT_NE(D, nullptr);
  D->GrayedCheckImageRect = TRect{};
  D->ActiveGrayedCheckImageRect = TRect{};
  auto* B = AddBox(true, true);
  B->SetState(cbGrayed);
  ShowForm();
  const sg::Colour Base = CheckFill("checkimagerect");
  auto Light = [](int C) { return static_cast<int>(std::lround(0.5 * C + 0.5 * 255)); };
  const TPoint C = MarkCentre(B);
  EXPECT_EQ(PixelAt(B, C.X, C.Y), sg::Rgb(Light(sg::RedOf(Base)), Light(sg::GreenOf(Base)), Light(sg::BlueOf(Base))));
}

TEST_F(SkinCheckRadioTest, ThePlainBoxIsNavyWhileHoveredAndCarriesTheTick) {
  for (bool Flat : {true, false}) {
    SCOPED_TRACE(Flat ? "flat" : "framed");
    auto* B = AddBox(false, Flat);
    ShowForm();
    const int Top = B->Height() / 2 - 7;
    auto MarkPixels = [&] {
      int N = 0;
      const TControlShot Shot = ShotOf(B);
      for (int X = 4; X < 16; ++X)
        for (int Y = Top + 1; Y < Top + 13; ++Y) N += Shot.At(X, Y) == SysColourOf(clBlack);
      return N;
    };
    EXPECT_EQ(PixelAt(B, 3, Top), SysColourOf(clBtnShadow));
    EXPECT_EQ(MarkPixels(), 0);
    Hover(B, true);
    EXPECT_EQ(PixelAt(B, 3, Top), SysColourOf(clNavy));
    EXPECT_EQ(PixelAt(B, 16, Top + 13), SysColourOf(clNavy));
    B->SetChecked(true);
    EXPECT_GT(MarkPixels(), 6);
    Hover(B, false);
    B->Free();
  }
}

TEST_F(SkinCheckRadioTest, SpaceTogglesOnKeyReleaseOnly) {
  auto* B = AddBox(true, true);
  ShowForm();
  B->SetFocus();
  Session.PumpUntilIdle();
  ASSERT_TRUE(B->IsFocused());
  Session.KeyDown(VK_SPACE);
  Session.PumpUntilIdle();
  EXPECT_FALSE(B->Checked());
  Session.KeyUp(VK_SPACE);
  Session.PumpUntilIdle();
  EXPECT_TRUE(B->Checked());
  // Without CanFocused the key does nothing.
  B->SetCanFocused(false);
  Session.Key(VK_SPACE);
  Session.PumpUntilIdle();
  EXPECT_TRUE(B->Checked());
}

TEST_F(SkinCheckRadioTest, AClickFocusesAndToggles) {
  auto* B = AddBox(true, true);
  ShowForm();
  ClickAt(B);
  EXPECT_TRUE(B->Checked());
  EXPECT_TRUE(B->Focused());
  ClickAt(B);
  EXPECT_FALSE(B->Checked());
}

TEST_F(SkinCheckRadioTest, AReleaseWithoutAPressOnTheBoxTogglesNothing) {
  auto* B = AddBox(true, true);
  ShowForm();
  Hover(B, true);
  SendMessage(B->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(100, 10));
  Session.PumpUntilIdle();
  EXPECT_FALSE(B->Checked());
  // Pressed on the box, released away from it.
  const TPoint In = B->ClientToScreen(Point(100, 10));
  Session.Press(In.X, In.Y);
  Session.Move(2, 2);
  Session.Release(2, 2);
  Session.PumpUntilIdle();
  EXPECT_FALSE(B->Checked());
  // That press is over: a later bare release still does nothing.
  Hover(B, true);
  SendMessage(B->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(100, 10));
  EXPECT_FALSE(B->Checked());
}

TEST_F(SkinCheckRadioTest, CheckingABoxUnchecksItsGroupOnTheSameParentOnly) {
  auto* Other = Create<TspSkinPanel>(Form.get());
  Other->SetParent(Form.get());
  Other->SetBounds(200, 200, 180, 150);
  auto* A = AddBox(true, true, nullptr, Bounds(10, 10, 150, 25));
  auto* B = AddBox(true, true, nullptr, Bounds(10, 40, 150, 25));
  auto* R = AddBox(true, true, nullptr, Bounds(10, 70, 150, 25));
  auto* Two = AddBox(true, true, nullptr, Bounds(10, 100, 150, 25));
  auto* Away = AddBox(true, true, Other, Bounds(10, 10, 150, 25));
  R->SetRadio(true);
  for (auto* X : {A, B, R, Away}) X->SetGroupIndex(3);
  Two->SetGroupIndex(2);
  // State checks without touching the siblings.
  for (auto* X : {B, R, Two, Away}) X->SetState(cbChecked);
  std::vector<std::string> Clicks;
  B->OnClick = [&](TObject*) { Clicks.push_back("B"); };
  R->OnClick = [&](TObject*) { Clicks.push_back("R"); };
  A->SetChecked(true);
  EXPECT_FALSE(B->Checked());
  EXPECT_FALSE(R->Checked());
  EXPECT_TRUE(Two->Checked());
  EXPECT_TRUE(Away->Checked());
  // The check-box sibling hears of it, the radio sibling does not.
  EXPECT_EQ(Clicks, std::vector<std::string>{"B"});
  // Group 0 unchecks nothing.
  A->SetGroupIndex(0);
  A->SetChecked(false);
  B->SetChecked(true);
  A->SetChecked(true);
  EXPECT_TRUE(B->Checked());
}

TEST_F(SkinCheckRadioTest, TheMouseCyclesThroughGrayedWithAllowGrayed) {
  auto* B = AddBox(true, true);
  B->SetAllowGrayed(true);
  int Clicks = 0;
  B->OnClick = [&](TObject*) { ++Clicks; };
  ShowForm();
  const TCheckBoxState Expected[] = {cbGrayed, cbChecked, cbUnchecked, cbGrayed};
  for (TCheckBoxState S : Expected) {
    ClickAt(B);
    EXPECT_EQ(B->State(), S);
    EXPECT_EQ(B->Checked(), S == cbChecked);
  }
  EXPECT_EQ(Clicks, 4);
  // The keyboard never makes it grayed, and unchecking a grayed box keeps it grayed.
  B->SetChecked(false);
  EXPECT_EQ(B->State(), cbGrayed);
  B->Toggle();
  EXPECT_EQ(B->State(), cbChecked);
  B->Toggle();
  EXPECT_EQ(B->State(), cbUnchecked);
}

TEST_F(SkinCheckRadioTest, WritingStateAlwaysFiresOnClickAndACheckedRadioStaysSilent) {
  auto* B = AddBox(true, true);
  auto* Sibling = AddBox(true, true, nullptr, Bounds(20, 60, 150, 25));
  B->SetGroupIndex(1);
  Sibling->SetGroupIndex(1);
  Sibling->SetChecked(true);
  int Clicks = 0;
  B->OnClick = [&](TObject*) { ++Clicks; };
  B->SetState(cbChecked);
  B->SetState(cbChecked);
  EXPECT_EQ(Clicks, 2);
  EXPECT_TRUE(Sibling->Checked());  // State unchecks no siblings
  auto* R = AddBox(true, true, nullptr, Bounds(20, 100, 150, 25));
  R->SetRadio(true);
  R->SetChecked(true);
  int RadioClicks = 0;
  R->OnClick = [&](TObject*) { ++RadioClicks; };
  R->Toggle();
  EXPECT_TRUE(R->Checked());
  EXPECT_EQ(RadioClicks, 0);
}

TEST_F(SkinCheckRadioTest, AFramedBoxMorphsToTheActiveLookInFiveSteps) {
  auto* B = AddBox(true, false);
  B->SetCaption("A");
  ShowForm();
  ASSERT_TRUE(B->EnableMorphing());
  const sg::Colour Normal = sg::TestPieceColour(false, "checkbox", "skinrect", sg::Piece::Fill);
  const sg::Colour Active = sg::TestPieceColour(false, "checkbox", "activeskinrect", sg::Piece::Fill);
  const TPoint P = Point(B->Width() - 20, 5);
  EXPECT_EQ(PixelAt(B, P.X, P.Y), Normal);
  Hover(B, true);
  EXPECT_EQ(PixelAt(B, P.X, P.Y), Normal);
  Session.Advance(20);
  const sg::Colour First = PixelAt(B, P.X, P.Y);
  auto Between = [](int C, int A, int Z) { return (C > A && C < Z) || (C < A && C > Z) || (C == A && A == Z); };
  EXPECT_TRUE(First != Normal && First != Active);
  EXPECT_TRUE(Between(sg::RedOf(First), sg::RedOf(Normal), sg::RedOf(Active)));
  EXPECT_TRUE(Between(sg::GreenOf(First), sg::GreenOf(Normal), sg::GreenOf(Active)));
  EXPECT_TRUE(Between(sg::BlueOf(First), sg::BlueOf(Normal), sg::BlueOf(Active)));
  Session.Advance(60);
  EXPECT_NE(PixelAt(B, P.X, P.Y), Active);
  Session.Advance(20);
  EXPECT_DOUBLE_EQ(B->MorphFactor(), 1.0);
  EXPECT_EQ(PixelAt(B, P.X, P.Y), Active);
  // Leaving runs it back.
  Hover(B, false);
  Session.Advance(200);
  EXPECT_DOUBLE_EQ(B->MorphFactor(), 0.0);
  EXPECT_EQ(PixelAt(B, P.X, P.Y), Normal);
}

TEST_F(SkinCheckRadioTest, AnAcceleratorFocusesAndToggles) {
  auto* B = AddBox(true, true);
  B->SetCaption("&Apply");
  ShowForm();
  EXPECT_EQ(B->Perform(CM_DIALOGCHAR, 'a', 0), 1);
  EXPECT_TRUE(B->Checked());
  EXPECT_TRUE(B->Focused());
  B->SetCanFocused(false);
  EXPECT_EQ(B->Perform(CM_DIALOGCHAR, 'a', 0), 0);
  EXPECT_TRUE(B->Checked());
}

TEST_F(SkinCheckRadioTest, WithoutCanFocusedAClickLeavesTheFocusAlone) {
  auto* Other = AddBox(true, true, nullptr, Bounds(20, 80, 150, 25));
  auto* B = AddBox(true, true);
  B->SetCanFocused(false);
  EXPECT_FALSE(B->TabStop());
  ShowForm();
  Other->SetFocus();
  Session.PumpUntilIdle();
  ClickAt(B);
  EXPECT_TRUE(B->Checked());
  EXPECT_TRUE(Other->Focused());
  EXPECT_FALSE(B->IsFocused());
  B->SetCanFocused(true);
  EXPECT_TRUE(B->TabStop());
}

TEST_F(SkinCheckRadioTest, AFocusedFlatBoxWithAnImageAndNoCaptionFramesTheImage) {
  auto* Images = Create<TCustomImageList>(Form.get());
  Images->SetWidth(16);
  Images->SetHeight(16);
  auto Pic = CreateOwned<TBitmap>();
  Pic->SetPixelFormat(pf24bit);
  Pic->SetSize(16, 16);
  Pic->Canvas()->Brush()->SetColor(clLime);
  Pic->Canvas()->FillRect(Rect(0, 0, 16, 16));
  Images->Add(Pic.get(), nullptr);
  auto* B = AddBox(false, true);
  B->SetCaption("");
  B->SetImages(Images);
  B->SetImageIndex(0);
  B->DefaultFont()->SetColor(clRed);
  ShowForm();
  // The image sits where the text would start, centred on the box's height.
  const int Top = B->Height() / 2 - 8;
  EXPECT_EQ(PixelAt(B, 22 + 8, Top + 8), SysColourOf(clLime));
  auto FrameDots = [&] {
    int N = 0;
    const TControlShot Shot = ShotOf(B);
    for (int X = 21; X < 39; ++X) N += Shot.At(X, Top - 1) == SysColourOf(clRed);
    return N;
  };
  EXPECT_EQ(FrameDots(), 0);
  B->SetFocus();
  Session.PumpUntilIdle();
  EXPECT_GT(FrameDots(), 4);
  // Removing the image list clears it from the box.
  Images->Free();
  EXPECT_EQ(B->Images(), nullptr);
}

// A box linked to an action takes over the action's check mark when linked and whenever it
// changes; a change of something else leaves the box (and its click event) alone.
TEST_F(SkinCheckRadioTest, ALinkedActionsCheckMarkIsTakenOver) {
  auto* B = AddBox(true, true);
  int Clicks = 0;
  B->OnClick = [&](TObject*) { ++Clicks; };
  auto* A = Create<TAction>(Form.get());
  A->SetCaption("Apply to all");
  A->SetChecked(true);
  B->SetAction(A);
  EXPECT_TRUE(B->Checked());
  EXPECT_EQ(B->State(), cbChecked);
  A->SetChecked(false);
  EXPECT_FALSE(B->Checked());
  EXPECT_EQ(Clicks, 2);
  A->SetCaption("Apply to every file");
  EXPECT_EQ(B->Caption(), "Apply to every file");
  EXPECT_FALSE(B->Checked());
  EXPECT_EQ(Clicks, 2);
}

}  // namespace

