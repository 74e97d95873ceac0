// The skinned frame: the border strips in the active and inactive pictures' colours, the
// inactive effect, objects on the strips, the size limits and the roll-up state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/skin/forms/FormFrame_TestKit.h"

namespace sg = vantrel::skingen;
using vantrel::frametest::FlatBitmap;
using vantrel::frametest::FrameFixture;
using vantrel::frametest::SurfaceColour;

namespace {

constexpr TColor SkinTargetColour = 0xFF00FF;

TColor FrameRing(const char* Picture) {
  return sg::TestPieceColour(false, Picture, "picture", sg::Piece::Ring);
}

TColor Inverted(TColor C) {
  return sg::Rgb(255 - sg::RedOf(C), 255 - sg::GreenOf(C), 255 - sg::BlueOf(C));
}

// Points on the border strips of skin-test's 400 x 300 frame, away from the objects.
const TPoint FrameBorderPoints[] = {{1, 150}, {398, 150}, {200, 298}, {2, 28}};

class SkinFrameTest : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    UseTestSkin();
  }

  // The skinned frame painted into a bitmap of the frame's size.
  TOwned<TBitmap> PaintedFrame(Integer W = 400, Integer H = 300) {
    FS->FFormWidth = W;
    FS->FFormHeight = H;
    auto B = FlatBitmap(W, H, SkinTargetColour);
    FS->PaintNCSkin(B->Canvas()->Handle(), true);
    return B;
  }

  void ExpectBorder(TBitmap* B, TColor Colour) {
    for (const TPoint& P : FrameBorderPoints) {
      SCOPED_TRACE(std::to_string(P.X) + "," + std::to_string(P.Y));
      EXPECT_EQ(B->Canvas()->Pixels(P.X, P.Y), Colour);
    }
    EXPECT_EQ(B->Canvas()->Pixels(200, 150), SkinTargetColour) << "the client area is left alone";
  }

  void ActivateAnotherForm() {
    Other = CreateOwned<TForm>(nullptr);
    Other->SetBounds(600, 500, 100, 100);
    Other->Show();
    S.Session.PumpUntilIdle();
  }
  TOwned<TForm> Other;

};

TEST_F(SkinFrameTest, AnActiveFrameShowsTheActivePicture) {
  ShowForm();
  ASSERT_TRUE(FS->GetFormActive());
  auto B = PaintedFrame();
  ExpectBorder(B.get(), FrameRing(sg::FramePictureName));
}

TEST_F(SkinFrameTest, AnInactiveFrameShowsTheInactivePicture) {
  ShowForm();
  ActivateAnotherForm();
  ASSERT_FALSE(FS->GetFormActive());
  auto B = PaintedFrame();
  ExpectBorder(B.get(), FrameRing(sg::InactiveFramePictureName));
}

TEST_F(SkinFrameTest, TheInactiveEffectIsAppliedOnTopOfThePicture) {
  Skin->AutoRenderingInActiveImage = true;
  Skin->InActiveEffect = ieInvert;
  auto B = PaintedFrame();
  ASSERT_FALSE(FS->GetFormActive());
  ExpectBorder(B.get(), Inverted(FrameRing(sg::InactiveFramePictureName)));

  Skin->FInActivePicture = CreateOwned<TBitmap>();  // rendered from the active picture
  B = PaintedFrame();
  ExpectBorder(B.get(), Inverted(FrameRing(sg::FramePictureName)));
}

TEST_F(SkinFrameTest, WithoutAnInactivePictureOrEffectTheActivePictureShows) {
  Skin->FInActivePicture = CreateOwned<TBitmap>();
  auto B = PaintedFrame();
  ExpectBorder(B.get(), FrameRing(sg::FramePictureName));
}

TEST_F(SkinFrameTest, NothingIsPaintedBelowTheMinimumSize) {
  ASSERT_GT(FS->GetMinWidth(), 200);
  auto B = PaintedFrame(200, 300);
  EXPECT_EQ(B->Canvas()->Pixels(1, 150), SkinTargetColour);
  Skin->Empty = true;  // no skin: the skinned painter does nothing at all
  B = PaintedFrame();
  EXPECT_EQ(B->Canvas()->Pixels(1, 150), SkinTargetColour);
}

TEST_F(SkinFrameTest, ObjectsAreDrawnOnTheBandsAboveAndBelowTheClientArea) {
  std::vector<std::string> Painted;
  FS->OnPaintEvent = [&](const String& Name, TCanvas* C, TRect R) {
    Painted.push_back(Name);
    C->Brush()->SetColor(clBlue);
    C->FillRect(R);
  };
  AddUserObject("top", Rect(50, 2, 60, 12));
  AddUserObject("bottom", Rect(50, 297, 60, 299));
  AddUserObject("beside", Rect(0, 100, 4, 120));
  auto B = PaintedFrame();
  EXPECT_EQ(B->Canvas()->Pixels(55, 5), clBlue);
  EXPECT_EQ(B->Canvas()->Pixels(55, 298), clBlue);
  EXPECT_EQ(B->Canvas()->Pixels(1, 110), B->Canvas()->Pixels(1, 200)) << "an object beside the client is not drawn";
  EXPECT_EQ(Painted, (std::vector<std::string>{"top", "bottom", "beside"}));
}

TEST_F(SkinFrameTest, TheWindowShowsTheSkinnedFrame) {
  Form->SetCaption("Vantrel skinned frame");
  // The frame is measured again with the skin in place.
  Form->SetBounds(100, 80, 401, 300);
  Form->SetBounds(100, 80, 400, 300);
  FS->FFormWidth = 400;
  FS->FFormHeight = 300;
  FS->UpdateFrameGeometry(true);
  ShowForm();
  const vantrel::win::Surface Active = S.Session.Capture(Form->Handle());
  SaveCapture(Active, "skinned_frame_active.png");
  EXPECT_EQ(SurfaceColour(Active, 1, 150), FrameRing(sg::FramePictureName));
  EXPECT_EQ(SurfaceColour(Active, 200, 298), FrameRing(sg::FramePictureName));
  EXPECT_EQ(Form->ClientRect(), Rect(0, 0, RectWidth(Skin->ClRect), RectHeight(Skin->ClRect)));

  ActivateAnotherForm();
  const vantrel::win::Surface Inactive = S.Session.Capture(Form->Handle());
  SaveCapture(Inactive, "skinned_frame_inactive.png");
  EXPECT_EQ(SurfaceColour(Inactive, 1, 150), FrameRing(sg::InactiveFramePictureName));

  Skin->AutoRenderingInActiveImage = true;
  Skin->InActiveEffect = ieInvert;
  FS->UpDateFormNC();
  const vantrel::win::Surface Inverse = S.Session.Capture(Form->Handle());
  SaveCapture(Inverse, "skinned_frame_inactive_inverted.png");
  EXPECT_EQ(SurfaceColour(Inverse, 1, 150), Inverted(FrameRing(sg::InactiveFramePictureName)));
}

TEST_F(FrameFixture, ALargerWindowStretchesTheSkinnedFrame) {
  Skin->LoadFromFile(vantrel::test::TestSkinDir(sg::TestSkinFolder) + "/" + sg::SkinIniName);
  FS->SetSkinData(Skin.get());
  Form->SetBounds(100, 80, 520, 360);
  ShowForm();
  const vantrel::win::Surface Shot = S.Session.Capture(Form->Handle());
  SaveCapture(Shot, "skinned_frame_520x360.png");
  const TColor Ring = FrameRing(sg::FramePictureName);
  for (const TPoint& P : {Point(1, 200), Point(518, 200), Point(300, 358), Point(2, 28)}) {
    SCOPED_TRACE(std::to_string(P.X) + "," + std::to_string(P.Y));
    EXPECT_EQ(SurfaceColour(Shot, P.X, P.Y), Ring);
  }
  // The caption buttons keep their place at the right edge.
  const TColor Close = sg::TestPieceColour(false, "closebutton", "skinrect", sg::Piece::Fill);
  EXPECT_EQ(SurfaceColour(Shot, 520 - 4 - 34 / 2, 15), Close);
}

// ---------------------------------------------------------------------------------------
// Size limits

TEST_F(FrameFixture, SizeLimitsWithoutASkin) {
  EXPECT_EQ(FS->GetMinWidth(), 130);
  EXPECT_EQ(FS->GetMinHeight(), 19 + 6);
  FS->SetMinWidth(200);
  FS->SetMinHeight(120);
  EXPECT_EQ(FS->GetMinWidth(), 200);
  EXPECT_EQ(FS->GetMinHeight(), 120);
  FS->FRollUpState = true;
  EXPECT_EQ(FS->GetMinHeight(), 25) << "a rolled-up frame ignores MinHeight";
  FS->FRollUpState = false;
  Form->SetBorderStyle(bsToolWindow);
  FS->SetMinHeight(0);
  EXPECT_EQ(FS->GetMinHeight(), 21);
  FS->FSupportNCArea = false;
  EXPECT_EQ(FS->GetMinWidth(), 0);
  EXPECT_EQ(FS->GetMinHeight(), 0);
}

TEST_F(SkinFrameTest, SizeLimitsFromTheSkin) {
  EXPECT_EQ(FS->GetMinWidth(), Skin->FormMinWidth);
  EXPECT_EQ(FS->GetMinHeight(), Skin->FormMinHeight);
  FS->SetMinWidth(Skin->FormMinWidth + 10);
  EXPECT_EQ(FS->GetMinWidth(), Skin->FormMinWidth + 10);
  FS->SetMinWidth(500);  // wider than the picture
  EXPECT_EQ(FS->GetMinWidth(), 500);
  FS->FWindowState = wsMinimized;
  EXPECT_EQ(FS->GetMinWidth(), Skin->FormMinWidth);
  FS->FWindowState = wsNormal;

  Skin->FormMinWidth = 0;
  Skin->FormMinHeight = 0;
  FS->SetMinWidth(0);
  EXPECT_EQ(FS->GetMinWidth(), 400) << "the picture's width";
  const Integer FrameHeight = 300 - RectHeight(Skin->ClRect);
  EXPECT_EQ(FS->GetMinHeight(), FrameHeight);
  FS->SetMinHeight(200);
  EXPECT_EQ(FS->GetMinHeight(), 200);
  FS->FRollUpState = true;
  EXPECT_EQ(FS->GetMinHeight(), FrameHeight);
  FS->FRollUpState = false;

  FS->FSupportNCArea = false;
  FS->SetMinWidth(0);
  FS->SetMinHeight(0);
  EXPECT_EQ(FS->GetMinWidth(), 400);
  EXPECT_EQ(FS->GetMinHeight(), 300);
  FS->SetMinWidth(250);
  FS->SetMinHeight(500);
  EXPECT_EQ(FS->GetMinWidth(), 250);
  EXPECT_EQ(FS->GetMinHeight(), 300);
}

TEST_F(FrameFixture, MaximumSizeIsTheWorkAreaUnlessSet) {
  Form->HandleNeeded();
  TRect Work;
  GetMonitorArea(Form->Handle(), true, Work);
  EXPECT_EQ(FS->GetMaxWidth(), RectWidth(Work));
  EXPECT_EQ(FS->GetMaxHeight(), RectHeight(Work));
  FS->SetMaxWidth(640);
  FS->SetMaxHeight(480);
  EXPECT_EQ(FS->GetMaxWidth(), 640);
  EXPECT_EQ(FS->GetMaxHeight(), 480);
}

// ---------------------------------------------------------------------------------------
// Roll-up

class RollUpTest : public SkinFrameTest {
 protected:
  Integer Events = 0;
  void SetUp() override {
    SkinFrameTest::SetUp();
    FS->OnChangeRollUpState = [this](TObject* Sender) {
      EXPECT_EQ(Sender, FS);
      ++Events;
    };
    ShowForm();
  }
};

TEST_F(RollUpTest, FrameModeRollsUpToTheFrameAndBack) {
  FS->SetRollUpState(true);
  EXPECT_TRUE(FS->RollUpState());
  EXPECT_EQ(Form->Height(), Skin->FormMinHeight);
  EXPECT_EQ(FS->RealHeight(), 300);
  FS->SetRollUpState(false);
  EXPECT_FALSE(FS->RollUpState());
  EXPECT_EQ(Form->Height(), 300);
  EXPECT_EQ(Events, 2);
}

TEST_F(RollUpTest, WithoutAMinimumHeightTheFrameKeepsOnlyItsBorders) {
  Skin->FormMinHeight = 0;
  FS->SetMinHeight(250);
  FS->SetRollUpState(true);
  EXPECT_EQ(Form->Height(), 300 - RectHeight(Skin->ClRect));
  FS->SetRollUpState(false);
  EXPECT_EQ(Form->Height(), 300);
}

TEST_F(RollUpTest, RollingUpTwiceKeepsTheHeightToComeBackTo) {
  FS->SetRollUpState(true);
  FS->SetRollUpState(true);
  FS->SetRollUpState(false);
  EXPECT_EQ(Form->Height(), 300);
}

TEST_F(RollUpTest, RefusedWithoutTheRollUpIconOrWhenMinimized) {
  FS->SetBorderIcons(TspBorderIcons{TspBorderIcon::biSystemMenu});
  FS->SetRollUpState(true);
  EXPECT_FALSE(FS->RollUpState());
  FS->SetBorderIcons(TspBorderIcons{TspBorderIcon::biRollUp});
  FS->FWindowState = wsMinimized;
  FS->SetRollUpState(true);
  EXPECT_FALSE(FS->RollUpState());
  EXPECT_EQ(Events, 0);
  EXPECT_EQ(Form->Height(), 300);
}

TEST_F(RollUpTest, ClientModeWithoutARollUpPictureStaysDownButTells) {
  FS->FSupportNCArea = false;
  Skin->FRollUpPicture = CreateOwned<TBitmap>();
  FS->SetRollUpState(true);
  EXPECT_FALSE(FS->RollUpState());
  EXPECT_EQ(Events, 1);
}

TEST_F(RollUpTest, ClientModeRollsUpToTheRollUpPictureAndHidesTheControls) {
  Form->SetBorderStyle(bsNone);  // a client-mode form has no system frame
  FS->FSupportNCArea = false;
  auto* Child = Create<TCustomControl>(Form.get());
  Child->SetParent(Form.get());
  Child->SetBounds(10, 40, 50, 20);
  FS->SetRollUpState(true);
  EXPECT_TRUE(FS->RollUpState());
  EXPECT_EQ(Form->Height(), Skin->FRollUpPicture->Height());
  EXPECT_EQ(Form->Width(), 400) << "a stretchable roll-up picture keeps the width";
  EXPECT_FALSE(Child->Visible());
  EXPECT_NE(FS->FRgn, nullptr) << "the window takes the roll-up mask's shape";
  FS->SetRollUpState(false);
  EXPECT_TRUE(Child->Visible());
  EXPECT_EQ(Form->Height(), 300);
  EXPECT_TRUE(FS->VisibleControls.empty());
}

// ---------------------------------------------------------------------------------------
// Object helpers

TEST_F(SkinFrameTest, ObjectsShowInTheirRollUpState) {
  EXPECT_TRUE(FS->RollUpObjectVisible(false));
  EXPECT_FALSE(FS->RollUpObjectVisible(true));
  FS->FSupportNCArea = false;
  EXPECT_TRUE(FS->RollUpObjectVisible(false));
  EXPECT_FALSE(FS->RollUpObjectVisible(true));
  FS->FRollUpState = true;
  EXPECT_TRUE(FS->RollUpObjectVisible(true));
  EXPECT_FALSE(FS->RollUpObjectVisible(false));
}

TEST_F(SkinFrameTest, ScreenPointsBecomeFramePoints) {
  TPoint P = Point(150, 95);
  FS->PointToFrame(P);
  EXPECT_EQ(P, Point(50, 15));
}

TEST_F(SkinFrameTest, ResettingObjectsDropsHoverAndMorph) {
  TspUserObject* O = AddUserObject("a", Rect(50, 2, 60, 12));
  O->Active = true;
  O->FMouseIn = true;
  O->SetMorphKf(0.6);
  FS->ResetObjectStates();
  EXPECT_FALSE(O->Active);
  EXPECT_FALSE(O->FMouseIn);
  EXPECT_EQ(O->MorphKf(), 0.0);
}

}  // namespace
