// The frame's caption: the form's text on the skinned caption (shortened with an ellipsis,
// redrawn cleanly when it changes, left to the application's painter), the caption as
// the window's drag handle, the placement and animation frames of its pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/Messages.h"
#include "tests/skin/forms/FormFrame_TestKit.h"
#include "tests/support/FrameSkinVariants.h"

namespace sg = vantrel::skingen;
using vantrel::frametest::FrameFixture;
using vantrel::frametest::SurfaceColour;

namespace {

class FrameCaptionTest : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    Skin->LoadFromFile(vantrel::test::TestSkinDir(sg::TestSkinFolder) + "/" + sg::SkinIniName);
    ASSERT_FALSE(Skin->Empty);
  }

  void Apply() {
    FS->SetSkinData(Skin.get());
    ShowForm();
  }

  TspSkinCaptionObject* Caption() {
    for (TspActiveSkinObject* O : FS->ObjectList)
      if (auto* C = dynamic_cast<TspSkinCaptionObject*>(O)) return C;
    return nullptr;
  }

  // The columns of the caption's rectangle (frame coordinates) that hold a pixel of
  // neither the caption's fill nor its ring: the text's ink.
  std::vector<int> InkColumns(const vantrel::win::Surface& Shot, const TRect& R) {
    const TColor Fill = sg::TestPieceColour(false, "caption", "skinrect", sg::Piece::Fill);
    const TColor Ring = sg::TestPieceColour(false, "caption", "skinrect", sg::Piece::Ring);
    std::vector<int> Columns;
    for (int X = R.Left; X < R.Right; ++X)
      for (int Y = R.Top; Y < R.Bottom; ++Y) {
        const TColor C = SurfaceColour(Shot, X, Y);
        if (C != Fill && C != Ring) {
          Columns.push_back(X);
          break;
        }
      }
    return Columns;
  }

  LRESULT HitAt(Integer X, Integer Y) {
    return SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(Form->Left() + X, Form->Top() + Y));
  }
};

TEST_F(FrameCaptionTest, TheSkinMakesACaptionObjectThatShowsTheFormsText) {
  Form->SetCaption("Vantrel");
  Apply();
  TspSkinCaptionObject* C = Caption();
  ASSERT_NE(C, nullptr);
  EXPECT_TRUE(C->DefaultCaption);
  EXPECT_EQ(C->CaptionText(), "Vantrel");
  const vantrel::win::Surface Shot = S.Session.Capture(Form->Handle());
  SaveCapture(Shot, "caption_text.png");
  const std::vector<int> Ink = InkColumns(Shot, C->ObjectRect);
  ASSERT_GT(Ink.size(), 20u) << "the caption shows its text";
  // Left-aligned at the text area's left.
  EXPECT_LT(Ink.front(), C->ObjectRect.Left + 6);
  // The active text is in the caption's active font colour.
  bool ActiveColourSeen = false;
  for (int X = C->ObjectRect.Left; X < C->ObjectRect.Right && !ActiveColourSeen; ++X)
    for (int Y = C->ObjectRect.Top; Y < C->ObjectRect.Bottom; ++Y)
      if (SurfaceColour(Shot, X, Y) == C->ActiveFontColor) ActiveColourSeen = true;
  EXPECT_TRUE(ActiveColourSeen);
}

TEST_F(FrameCaptionTest, AnEmptyCaptionOrTextAreaDrawsNoText) {
  Form->SetCaption("");
  Apply();
  TspSkinCaptionObject* C = Caption();
  ASSERT_NE(C, nullptr);
  EXPECT_TRUE(InkColumns(S.Session.Capture(Form->Handle()), C->ObjectRect).empty());
  Form->SetCaption("Vantrel");
  C->TextRct = NullRect();
  FS->UpDateFormNC();
  EXPECT_TRUE(InkColumns(S.Session.Capture(Form->Handle()), C->ObjectRect).empty());
}

TEST_F(FrameCaptionTest, TheCaptionIsTheWindowsCaptionForHitTestingAndDragging) {
  Apply();
  TspSkinCaptionObject* C = Caption();
  ASSERT_NE(C, nullptr);
  const Integer X = (C->ObjectRect.Left + C->ObjectRect.Right) / 2;
  const Integer Y = (C->ObjectRect.Top + C->ObjectRect.Bottom) / 2;
  EXPECT_EQ(HitAt(X, Y), HTCAPTION);

  const Integer Left = Form->Left(), Top = Form->Top();
  S.Session.Move(Left + X, Top + Y);
  S.Session.PumpUntilIdle();
  S.Session.Press(Left + X, Top + Y);
  S.Session.Move(Left + X + 20, Top + Y + 10);
  S.Session.Move(Left + X + 40, Top + Y + 25);
  S.Session.Release(Left + X + 40, Top + Y + 25);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Form->Left(), Left + 40);
  EXPECT_EQ(Form->Top(), Top + 25);
}

TEST_F(FrameCaptionTest, ALongCaptionEndsWithinItsAreaAndShowsMoreWhenWider) {
  // A caption that ends above the frame's top corner points stretches with the frame.
  vantrel::test::TTempDir Scratch;
  Skin->LoadFromFile(vantrel::test::WriteFrameSkinVariant(Scratch, [](TspSkinData& D) {
    for (TspDataSkinObject* O : D.ObjectList)
      if (auto* C = dynamic_cast<TspDataSkinCaption*>(O)) {
        C->SkinRect.Bottom = D.RTPoint.Y - 1;
        C->TextRct.Bottom = RectHeight(C->SkinRect);
      }
  }));
  Form->SetCaption(String(60, 'W') + " the end");
  Apply();
  TspSkinCaptionObject* C = Caption();
  ASSERT_NE(C, nullptr);
  const vantrel::win::Surface Narrow = S.Session.Capture(Form->Handle());
  SaveCapture(Narrow, "caption_ellipsis_400.png");
  const TRect NarrowRect = C->ObjectRect;
  const std::vector<int> NarrowInk = InkColumns(Narrow, NarrowRect);
  ASSERT_FALSE(NarrowInk.empty());
  EXPECT_LE(NarrowInk.back(), NarrowRect.Right - 1);
  // The end of the text is cut: the last ink is the ellipsis, near the area's end.
  EXPECT_GT(NarrowInk.back(), NarrowRect.Right - 40);

  Form->SetBounds(Form->Left(), Form->Top(), 520, 300);
  S.Session.PumpUntilIdle();
  const vantrel::win::Surface Wide = S.Session.Capture(Form->Handle());
  SaveCapture(Wide, "caption_ellipsis_520.png");
  EXPECT_EQ(RectWidth(C->ObjectRect), RectWidth(NarrowRect) + 120);
  const std::vector<int> WideInk = InkColumns(Wide, C->ObjectRect);
  ASSERT_FALSE(WideInk.empty());
  EXPECT_GT(WideInk.back(), NarrowInk.back() + 100);
  EXPECT_LE(WideInk.back(), C->ObjectRect.Right - 1);
}

TEST_F(FrameCaptionTest, AShorterTextReplacesTheOldOneWithoutTraces) {
  Form->SetCaption(String(20, 'W'));
  Apply();
  TspSkinCaptionObject* C = Caption();
  ASSERT_NE(C, nullptr);
  const std::vector<int> Long = InkColumns(S.Session.Capture(Form->Handle()), C->ObjectRect);
  ASSERT_FALSE(Long.empty());
  // The new text is drawn by the caption alone, not through a whole-frame paint.
  Form->SetCaption("i");
  const vantrel::win::Surface Shot = S.Session.Capture(Form->Handle());
  SaveCapture(Shot, "caption_changed.png");
  const std::vector<int> Short = InkColumns(Shot, C->ObjectRect);
  ASSERT_FALSE(Short.empty());
  EXPECT_LT(Short.back() - Short.front(), 10);
  EXPECT_LT(Short.back(), Long.back() - 50);
}

TEST_F(FrameCaptionTest, WithACaptionPainterThePictureShowsButNoText) {
  Form->SetCaption("Vantrel");
  std::vector<TRect> Painted;
  std::vector<Boolean> Actives;
  FS->OnCaptionPaint = [&](TCanvas*, TRect R, Boolean AActive) {
    Painted.push_back(R);
    Actives.push_back(AActive);
  };
  Apply();
  TspSkinCaptionObject* C = Caption();
  ASSERT_NE(C, nullptr);
  const vantrel::win::Surface Shot = S.Session.Capture(Form->Handle());
  EXPECT_TRUE(InkColumns(Shot, C->ObjectRect).empty());
  const Integer X = (C->ObjectRect.Left + C->ObjectRect.Right) / 2;
  EXPECT_EQ(SurfaceColour(Shot, X, C->ObjectRect.Top + 3),
            sg::TestPieceColour(false, "caption", "skinrect", sg::Piece::Fill));
  ASSERT_FALSE(Painted.empty());
  EXPECT_EQ(Painted.back(), C->ObjectRect);
  EXPECT_TRUE(Actives.back());
}

TEST_F(FrameCaptionTest, ThePainterDrawsOnTopOfARedrawnCaptionPicture) {
  Form->SetCaption("Vantrel");
  FS->OnCaptionPaint = [&](TCanvas* Cnvs, TRect R, Boolean) {
    Cnvs->Brush()->SetStyle(bsSolid);
    Cnvs->Brush()->SetColor(0x00FF00);
    Cnvs->FillRect(Rect(R.Left + 2, R.Top + 2, R.Left + 12, R.Top + 12));
  };
  Apply();
  TspSkinCaptionObject* C = Caption();
  ASSERT_NE(C, nullptr);
  FS->DrawSkinObject(C);  // the caption alone, over its own picture
  const vantrel::win::Surface Shot = S.Session.Capture(Form->Handle());
  EXPECT_EQ(SurfaceColour(Shot, C->ObjectRect.Left + 5, C->ObjectRect.Top + 5), 0x00FF00);
}

TEST_F(FrameCaptionTest, InClientModeTheCaptionShowsItsOwnTextAndDragsTheForm) {
  FS->SetSupportNCArea(false);
  Form->SetCaption("Form text");
  Apply();
  auto D = CreateOwned<TspDataSkinCaption>("own");
  D->SkinRect = Rect(10, 0, 200, 30);
  D->TextRct = Rect(0, 0, 190, 30);
  D->ActivePictureIndex = D->ActiveMaskPictureIndex = D->GlowLayerPictureIndex = D->CursorIndex = -1;
  auto* C = new TspSkinCaptionObject(FS, D.get());
  FS->ObjectList.push_back(C);
  C->SimpleSetTextValue("Own text");
  EXPECT_EQ(C->CaptionText(), "Own text");
  C->DefaultCaption = true;
  EXPECT_EQ(C->CaptionText(), "Form text");

  C->MouseDown(20, 10, mbLeft);
  EXPECT_TRUE(FS->FIsDragging);
  C->MouseUp(20, 10, mbLeft);
  EXPECT_FALSE(FS->FIsDragging);
  FS->FWindowState = wsMaximized;
  C->MouseDown(20, 10, mbLeft);
  EXPECT_FALSE(FS->FIsDragging) << "a maximized form is not dragged";
  FS->FWindowState = wsNormal;
}

TEST_F(FrameCaptionTest, PlacementFollowsTheSkinsCornerPoints) {
  FS->FSD = Skin.get();
  const TspSkinData& K = *Skin;
  struct PlaceCase {
    const char* Name;
    TRect Skin;
    Integer Grow;
    Integer Want;
  };
  const PlaceCase Cases[] = {
      {"skin size", Rect(40, 0, 100, 20), 0, 0},
      {"top band", Rect(K.LTPoint.X, 0, K.RTPoint.X, K.RTPoint.Y - 1), 10, 1},
      {"bottom band", Rect(K.LBPoint.X, K.LBPoint.Y, K.RBPoint.X, K.RBPoint.Y + 1), 10, 2},
      {"full height", Rect(0, K.LTPoint.Y, 4, K.LBPoint.Y + 1), 10, 3},
      {"elsewhere", Rect(0, K.LTPoint.Y + 1, 4, K.LTPoint.Y + 20), 10, 4},
  };
  for (const PlaceCase& P : Cases) {
    SCOPED_TRACE(P.Name);
    TspSkinCaptionObject C(FS, nullptr);
    C.SD = Skin.get();
    C.SkinRect = P.Skin;
    C.ObjectRect = P.Skin;
    C.ObjectRect.Right += P.Grow;
    EXPECT_EQ(C.Placement(), P.Want);
  }
}

TEST_F(FrameCaptionTest, AnimationFramesAreBandsOfTheStrip) {
  TspSkinCaptionObject C(FS, nullptr);
  C.FrameCount = 4;
  C.SkinRect = Rect(0, 0, 100, 20);
  C.AnimateSkinRect = Rect(0, 100, 100, 180);  // higher than the caption: vertical
  EXPECT_EQ(C.AnimationFrameRect(1), Rect(0, 100, 100, 120));
  EXPECT_EQ(C.AnimationFrameRect(3), Rect(0, 140, 100, 160));
  C.AnimateSkinRect = Rect(0, 100, 400, 120);  // as high: horizontal
  EXPECT_EQ(C.AnimationFrameRect(2), Rect(100, 100, 200, 120));
  C.FrameCount = 0;
  EXPECT_FALSE(C.EnableAnimation()) << "a strip without frames does not animate";
}

}  // namespace
