// The test skins: every image's centre and every fixed border piece has the colour the
// colour table gives it, no two pieces share one, text colours are unique too; the extras
// (resize modes, animation strips, glow, cursor) are there; skin-test-alt differs in size.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/win/Cursor.h"
#include "tests/tools/SkinGen_TestKit.h"

using namespace vantrel::test;
namespace sg = vantrel::skingen;

namespace {

class TestSkinTest : public ::testing::TestWithParam<bool> {
 protected:
  bool Alt() const { return GetParam(); }
  std::string Folder() const {
    return TestSkinDir(Alt() ? sg::TestSkinAltFolder : sg::TestSkinFolder);
  }
  const sg::SkinSizes& Sizes() const { return Alt() ? sg::AltSizes : sg::MainSizes; }

  // Colour -> the piece that has it; a second piece with the same colour fails.
  std::map<sg::Colour, std::string> Seen;
  void Note(sg::Colour C, const std::string& Piece) {
    auto [It, New] = Seen.emplace(C, Piece);
    if (!New) {
      EXPECT_EQ(It->second, Piece) << "two pieces share a colour";
    }
  }

  void CheckImage(TBitmap* B, const std::string& Owner, const std::string& Key, const TRect& R) {
    SCOPED_TRACE(Owner + "." + Key);
    ASSERT_NE(B, nullptr);
    const TPoint C = CentreOf(R);
    const sg::Colour Fill = sg::TestPieceColour(Alt(), Owner, Key, sg::Piece::Fill);
    EXPECT_EQ(PixelOf(B, C.X, C.Y), Fill);
    Note(Fill, Owner + "." + Key + " fill");
  }

  // The four fixed corners of a nine-part image have the ring colour.
  void CheckCorners(TBitmap* B, const std::string& Owner, const std::string& Key, const TRect& R,
                    const SkinKeyRecorder& K, bool RightEndHoldsButtons) {
    const TPoint LT = K.Points.at("lefttoppoint"), RB = K.Points.at("rightbottompoint");
    if (LT.X <= 0 || LT.Y <= 0 || RB.X <= 0 || RB.Y <= 0) return;
    SCOPED_TRACE(Owner + "." + Key + " corners");
    const sg::Colour Ring = sg::TestPieceColour(Alt(), Owner, Key, sg::Piece::Ring);
    const int W = R.Right - R.Left, H = R.Bottom - R.Top;
    EXPECT_EQ(PixelOf(B, R.Left + LT.X / 2, R.Top + LT.Y / 2), Ring);
    EXPECT_EQ(PixelOf(B, R.Left + LT.X / 2, R.Top + (RB.Y + H) / 2), Ring);
    // A right end that holds buttons shows the ring only in its outermost column.
    const int RightX = RightEndHoldsButtons ? W - 1 : (RB.X + W) / 2;
    EXPECT_EQ(PixelOf(B, R.Left + RightX, R.Top + LT.Y / 2), Ring);
    EXPECT_EQ(PixelOf(B, R.Left + RightX, R.Top + (RB.Y + H) / 2), Ring);
    Note(Ring, Owner + "." + Key + " ring");
  }
};

TEST_P(TestSkinTest, EveryImageAndFixedPieceHasItsOwnColour) {
  LoadedSkin S(Folder());
  for (TspDataSkinControl* D : S.Data->CtrlList) {
    const SkinKeyRecorder K = KeysOf(D);
    TBitmap* B = S.ListPicture(D->PictureIndex);
    const TRect Sr = D->SkinRect;
    // Buttons placed in the face: their normal look shows there.
    bool FaceButtons = false;
    for (const char* Placed : {"upbuttonrect", "downbuttonrect", "buttonrect"}) {
      const bool Edit = dynamic_cast<TspDataSkinSpinEditControl*>(D) || dynamic_cast<TspDataSkinEditControl*>(D);
      if (!Edit || EmptyRect(K.RectOf(Placed)) || !PlacesPiece(D, Placed)) continue;
      FaceButtons = true;
      SCOPED_TRACE(D->IDName + "." + Placed + " in the face");
      const TPoint C = CentreOf(K.RectOf(Placed));
      EXPECT_EQ(PixelOf(B, Sr.Left + C.X, Sr.Top + C.Y),
                sg::TestPieceColour(Alt(), D->IDName, Placed, sg::Piece::Fill));
    }
    for (const auto& [Key, R] : K.Rects) {
      if (EmptyRect(R) || PlacesPiece(D, Key)) continue;
      CheckImage(B, D->IDName, Key, R);
      const bool WholeImage =
          R.Right - R.Left == Sr.Right - Sr.Left && R.Bottom - R.Top == Sr.Bottom - Sr.Top;
      if (WholeImage && dynamic_cast<TspDataSkinCustomControl*>(D) &&
          K.Points.count("lefttoppoint"))
        CheckCorners(B, D->IDName, Key, R, K, FaceButtons);
    }
  }
  for (TspDataSkinObject* O : S.Data->ObjectList)
    for (const auto& [Key, R] : KeysOf(O).Rects) {
      if (EmptyRect(R) || sg::IsPlacementKey(Key)) continue;
      CheckImage(ObjectPicture(S, O, Key), O->IDName, Key, R);
    }
  // A menu button's track part shows in each of its state pictures.
  for (TspDataSkinControl* D : S.Data->CtrlList) {
    auto* Menu = dynamic_cast<TspDataSkinMenuButtonControl*>(D);
    if (!Menu) continue;
    TBitmap* B = S.ListPicture(D->PictureIndex);
    const TPoint C = CentreOf(Menu->TrackButtonRect);
    for (const TRect& Face : {Menu->SkinRect, Menu->ActiveSkinRect, Menu->DownSkinRect, Menu->FocusedSkinRect,
                              Menu->DisabledSkinRect}) {
      SCOPED_TRACE(D->IDName + " track part");
      EXPECT_EQ(PixelOf(B, Face.Left + C.X, Face.Top + C.Y),
                sg::TestPieceColour(Alt(), D->IDName, "trackbuttonrect", sg::Piece::Fill));
    }
  }
  // The frame: its border ring and its client fill.
  const TspSkinData& D = *S.Data;
  const int W = D.FPicture->Width(), H = D.FPicture->Height();
  EXPECT_EQ(PixelOf(D.FPicture.get(), D.BorderW / 2, H / 2),
            sg::TestPieceColour(Alt(), sg::FramePictureName, "picture", sg::Piece::Ring));
  EXPECT_EQ(PixelOf(D.FPicture.get(), W / 2, H / 2),
            sg::TestPieceColour(Alt(), sg::FramePictureName, "picture", sg::Piece::Fill));
  EXPECT_EQ(PixelOf(D.FInActivePicture.get(), W / 2, H / 2),
            sg::TestPieceColour(Alt(), sg::InactiveFramePictureName, "picture", sg::Piece::Fill));
  // The roll-up picture is all border: the caption band and the bottom edge.
  EXPECT_EQ(PixelOf(D.FRollUpPicture.get(), W / 2, D.FRollUpPicture->Height() / 2),
            sg::TestPieceColour(Alt(), sg::RollUpPictureName, "picture", sg::Piece::Ring));
  TBitmap* Popup = S.ListPicture(D.PopupWindow->WindowPictureIndex);
  ASSERT_NE(Popup, nullptr);
  EXPECT_EQ(PixelOf(Popup, Popup->Width() / 2, Popup->Height() / 2),
            sg::TestPieceColour(Alt(), sg::PopupPictureName, "picture", sg::Piece::Fill));
  TBitmap* Hint = S.ListPicture(D.HintWindow->WindowPictureIndex);
  ASSERT_NE(Hint, nullptr);
  EXPECT_EQ(PixelOf(Hint, 0, 0),
            sg::TestPieceColour(Alt(), sg::HintPictureName, "picture", sg::Piece::Ring));
}

TEST_P(TestSkinTest, TextColoursAreTheTablesAndUnique) {
  LoadedSkin S(Folder());
  std::map<Integer, std::string> Colours;
  auto Check = [&](const std::string& Owner, const SkinKeyRecorder& K) {
    for (const auto& [Key, Value] : K.Ints) {
      if (Key.size() < 9 || Key.compare(Key.size() - 9, 9, "fontcolor") != 0) continue;
      if (Value == 0) continue;  // a colour the descriptor does not use
      SCOPED_TRACE(Owner + "." + Key);
      EXPECT_EQ(Value, sg::TestFontColour(Alt(), Owner, Key));
      auto [It, New] = Colours.emplace(Value, Owner + "." + Key);
      EXPECT_TRUE(New) << "shared with " << It->second;
    }
  };
  for (TspDataSkinControl* D : S.Data->CtrlList) Check(D->IDName, KeysOf(D));
  for (TspDataSkinObject* O : S.Data->ObjectList) Check(O->IDName, KeysOf(O));
  Check(sg::HintPictureName, KeysOf(S.Data->HintWindow.get()));
  std::set<Integer> System;
  const TspSkinColors* C = S.Data->SkinColors();
  for (TColor V :
       {C->cBtnFace(), C->cBtnText(), C->cWindow(), C->cWindowText(), C->cHighLight(),
        C->cHighLightText(), C->cBtnHighLight(), C->cBtnShadow(), C->c3DLight(), C->c3DDkShadow()})
    System.insert(V);
  EXPECT_EQ(System.size(), 10u);
}

TEST_P(TestSkinTest, CursorSlotHoldsTheSkinsCursor) {
  LoadedSkin S(Folder());
  EXPECT_EQ(S.Data->StartCursorIndex, sg::StartCursorIndex);
  ASSERT_EQ(S.Data->FCursorsNames->Count(), 1);
  EXPECT_EQ(S.Data->FCursorsNames->Get(0), sg::CursorFileName);
  EXPECT_NE(vantrel::skin::ScreenCursor(S.Data->StartCursorIndex), nullptr);
}

TEST_P(TestSkinTest, AltHasItsOwnSizes) {
  LoadedSkin S(Folder());
  auto* Button = S.Data->CtrlList[S.Data->GetControlIndex("button")];
  EXPECT_EQ(Button->SkinRect.Right - Button->SkinRect.Left, Sizes().ButtonWidth);
  EXPECT_EQ(Button->SkinRect.Bottom - Button->SkinRect.Top, Sizes().ButtonHeight);
  EXPECT_EQ(S.Data->FPicture->Width(), Sizes().FrameWidth);
  EXPECT_EQ(S.Data->FPicture->Height(), Sizes().FrameHeight);
  EXPECT_EQ(S.Data->ClRect.Top, Sizes().CaptionHeight);
}

INSTANTIATE_TEST_SUITE_P(Skins, TestSkinTest, ::testing::Values(false, true),
                         [](const auto& Info) { return Info.param ? "alt" : "main"; });

// skin-test's extras.
class TestSkinExtras : public ::testing::Test {
 protected:
  LoadedSkin S{TestSkinDir(sg::TestSkinFolder)};
  template <class T>
  T* Control(const char* Name) {
    const Integer I = S.Data->GetControlIndex(Name);
    return I < 0 ? nullptr : dynamic_cast<T*>(S.Data->CtrlList[I]);
  }
};

// The resize mode a control takes from a descriptor's geometry.
int ResizeModeOf(const TspDataSkinCustomControl& D) {
  if (EmptyRect(D.SkinRect)) return -1;
  if (D.RBPoint.X != 0 && D.RBPoint.Y != 0) return 1;
  if (D.RTPoint.X != 0 || D.RTPoint.Y != 0) return 2;
  if (D.LBPoint.X != 0 || D.LBPoint.Y != 0) return 3;
  return 0;
}

TEST_F(TestSkinExtras, OnePanelPerResizeMode) {
  const std::pair<const char*, int> Modes[] = {{sg::NinePartPanel, 1}, {sg::HStripPanel, 2},
                                               {sg::VStripPanel, 3},   {sg::FixedPanel, 0},
                                               {sg::MaskedPanel, 0},   {sg::EmptyPanel, -1}};
  for (const auto& [Name, Mode] : Modes) {
    auto* D = Control<TspDataSkinPanelControl>(Name);
    ASSERT_NE(D, nullptr) << Name;
    EXPECT_EQ(ResizeModeOf(*D), Mode) << Name;
  }
  auto* Masked = Control<TspDataSkinPanelControl>(sg::MaskedPanel);
  TBitmap* Mask = S.ListPicture(Masked->MaskPictureIndex);
  ASSERT_NE(Mask, nullptr);
  EXPECT_EQ(Mask->Width(), Masked->SkinRect.Right - Masked->SkinRect.Left);
  EXPECT_EQ(PixelOf(Mask, 0, 0), sg::Rgb(255, 255, 255));
  EXPECT_EQ(PixelOf(Mask, Mask->Width() - 1, Mask->Height() - 1), sg::Rgb(255, 255, 255));
  EXPECT_EQ(PixelOf(Mask, sg::MaskCut, sg::MaskCut), sg::Rgb(0, 0, 0));
  EXPECT_EQ(PixelOf(Mask, Mask->Width() / 2, 0), sg::Rgb(0, 0, 0));
}

TEST_F(TestSkinExtras, MorphingGlowAnimationAndCursor) {
  auto* Button = Control<TspDataSkinButtonControl>("button");
  ASSERT_NE(Button, nullptr);
  EXPECT_TRUE(Button->Morphing);
  EXPECT_TRUE(Control<TspDataSkinCheckRadioControl>("checkbox")->Morphing);
  ASSERT_NE(S.ListPicture(Button->GlowLayerPictureIndex), nullptr);
  ASSERT_NE(S.ListPicture(Button->GlowLayerMaskPictureIndex), nullptr);
  EXPECT_EQ(S.ListPicture(Button->GlowLayerPictureIndex)->Width(),
            sg::MainSizes.ButtonWidth + 2 * sg::MainSizes.GlowMargin);

  auto* Animated = Control<TspDataSkinButtonControl>(sg::AnimatedButton);
  ASSERT_NE(Animated, nullptr);
  EXPECT_FALSE(Animated->Morphing);
  EXPECT_EQ(Animated->FrameCount, sg::AnimationFrames);
  EXPECT_EQ(Animated->AnimateSkinRect.Right - Animated->AnimateSkinRect.Left,
            sg::AnimationFrames * (Animated->SkinRect.Right - Animated->SkinRect.Left));

  auto* Gauge = Control<TspDataSkinGaugeControl>("gauge");
  ASSERT_NE(Gauge, nullptr);
  EXPECT_EQ(Gauge->ProgressAnimationCountFrames, sg::AnimationFrames);
  EXPECT_EQ(Gauge->ProgressAnimationSkinRect.Right - Gauge->ProgressAnimationSkinRect.Left,
            sg::AnimationFrames * (Gauge->ProgressRect.Right - Gauge->ProgressRect.Left));

  EXPECT_EQ(Control<TspDataSkinPanelControl>(sg::CursorPanel)->CursorIndex, 0);
}

TEST(TestSkinAlt, HoldsANameWithAnotherKind) {
  LoadedSkin S(TestSkinDir(sg::TestSkinAltFolder));
  const Integer I = S.Data->GetControlIndex(sg::AltOtherKind.Name);
  ASSERT_GE(I, 0);
  EXPECT_NE(dynamic_cast<TspDataSkinLabelControl*>(S.Data->CtrlList[I]), nullptr);
  EXPECT_EQ(dynamic_cast<TspDataSkinPanelControl*>(S.Data->CtrlList[I]), nullptr);
}

TEST(TestSkinCursor, FileLoadsAsACursor) {
  HCURSOR C =
      LoadCursorFromFile((TestSkinDir(sg::TestSkinFolder) + "/" + sg::CursorFileName).c_str());
  ASSERT_NE(C, nullptr);
  DestroyCursor(C);
}

}  // namespace
