// The quick buttons on the skinned caption: their row at the caption's left, the hot face
// from the skin's quick-button look, clicks, and the part of the caption they take from
// window dragging.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/ImgList.h"
#include "platform/win/Messages.h"
#include "skin/forms/FormSkinCaption.h"
#include "skin/forms/FormSkinQuickButtons.h"
#include "skin/forms/SkinHint.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace sg = vantrel::skingen;
using vantrel::frametest::FlatBitmap;
using vantrel::frametest::FrameFixture;
using vantrel::frametest::SurfaceColour;

namespace {

constexpr Integer QuickImageSize = 16;
const TColor QuickGlyphColours[3] = {RGB(200, 20, 20), RGB(20, 200, 20), RGB(20, 20, 200)};

class QuickButtonsTest : public FrameFixture {
 protected:
  TOwned<TImageList> Images = CreateOwned<TImageList>(nullptr);
  std::vector<TObject*> Clicks;

  void SetUp() override {
    FrameFixture::SetUp();
    Skin->LoadFromFile(vantrel::test::TestSkinDir(sg::TestSkinFolder) + "/" + sg::SkinIniName);
    ASSERT_FALSE(Skin->Empty);
    Images->SetWidth(QuickImageSize);
    Images->SetHeight(QuickImageSize);
    for (TColor C : QuickGlyphColours) {
      auto Glyph = FlatBitmap(QuickImageSize, QuickImageSize, C);
      Images->Add(Glyph.get(), nullptr);
    }
    for (Integer I = 0; I < 3; ++I) {
      TspQuickButtonItem* Item = FS->QuickButtons()->Add();
      Item->SetImageIndex(I);
      Item->OnClick = [this](TObject* Sender) { Clicks.push_back(Sender); };
    }
    FS->SetQuickImageList(Images.get());
    FS->SetSkinData(Skin.get());
    ShowForm();
  }

  TspSkinCaptionObject* Caption() {
    for (TspActiveSkinObject* O : FS->ObjectList)
      if (auto* C = dynamic_cast<TspSkinCaptionObject*>(O)) return C;
    return nullptr;
  }
  TspQuickButtonItem* Item(Integer I) { return FS->QuickButtons()->Items(I); }
  TPoint CentreOnScreen(const TRect& R) {
    return Point(Form->Left() + (R.Left + R.Right) / 2, Form->Top() + (R.Top + R.Bottom) / 2);
  }
  LRESULT HitAt(TPoint P) { return SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y)); }
  // The frame's mouse timer finds the object under the pointer; the moves over it that
  // follow reach the object.
  void MoveTo(TPoint P) {
    S.Session.Move(P.X - 1, P.Y);
    S.Session.PumpUntilIdle();
    S.Session.Advance(60);
    S.Session.Move(P.X, P.Y);
    S.Session.PumpUntilIdle();
  }
  void ClickAt(TPoint Down, TPoint Up) {
    MoveTo(Down);
    S.Session.Press(Down.X, Down.Y);
    S.Session.PumpUntilIdle();
    MoveTo(Up);
    S.Session.Release(Up.X, Up.Y);
    S.Session.PumpUntilIdle();
  }
};

TEST_F(QuickButtonsTest, TheRowStartsFiveRightOfTheCaptionStepsByImageWidthAndEightAndCentresTheText) {
  TspSkinCaptionObject* C = Caption();
  ASSERT_NE(C, nullptr);
  const vantrel::win::Surface Shot = S.Session.Capture(Form->Handle());
  SaveCapture(Shot, "quick_buttons.png");
  const Integer Y = C->ObjectRect.Top + RectHeight(C->ObjectRect) / 2 - QuickImageSize / 2 - 2;
  for (Integer I = 0; I < 3; ++I) {
    SCOPED_TRACE(I);
    const Integer X = C->ObjectRect.Left + 5 + I * (QuickImageSize + 8);
    EXPECT_EQ(Item(I)->ItemRect, Rect(X, Y, X + QuickImageSize + 4, Y + QuickImageSize + 4));
    // The glyph is centred in its rectangle.
    EXPECT_EQ(SurfaceColour(Shot, X + 2, Y + 2), QuickGlyphColours[I]);
    EXPECT_EQ(SurfaceColour(Shot, X + 2 + QuickImageSize - 1, Y + 2 + QuickImageSize - 1), QuickGlyphColours[I]);
  }
  // Beside quick buttons the caption's text (left-aligned by the skin) is centred in the
  // text area, which starts after the row.
  const TRect Area = C->TextArea();
  EXPECT_EQ(Area.Left, C->TextRct.Left + 3 * (QuickImageSize + 8) + 5);
  int First = -1, Last = -1;
  for (int X = C->ObjectRect.Left + Area.Left; X < C->ObjectRect.Left + Area.Right; ++X)
    for (int Y = C->ObjectRect.Top; Y < C->ObjectRect.Bottom; ++Y)
      if (SurfaceColour(Shot, X, Y) == C->ActiveFontColor) {
        if (First == -1) First = X;
        Last = X;
      }
  ASSERT_NE(First, -1) << "the caption shows its text";
  EXPECT_NEAR((First + Last) / 2.0, C->ObjectRect.Left + (Area.Left + Area.Right) / 2.0, 2.0);
  // A hidden item takes no place in the row: the third moves up to the second place.
  Item(1)->SetVisible(false);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Item(2)->ItemRect.Left, C->ObjectRect.Left + 5 + QuickImageSize + 8);
  EXPECT_EQ(SurfaceColour(S.Session.Capture(Form->Handle()), Item(2)->ItemRect.Left + 2, Y + 2),
            QuickGlyphColours[2]);
}

TEST_F(QuickButtonsTest, TheirPartOfTheCaptionIsNoCaption) {
  TspSkinCaptionObject* C = Caption();
  ASSERT_NE(C, nullptr);
  const Integer Y = (C->ObjectRect.Top + C->ObjectRect.Bottom) / 2;
  const Integer RowEnd = C->ObjectRect.Left + 3 * (QuickImageSize + 8);
  EXPECT_EQ(HitAt(CentreOnScreen(Item(0)->ItemRect)), HTOBJECT);
  EXPECT_EQ(HitAt(Point(Form->Left() + RowEnd - 1, Form->Top() + Y)), HTOBJECT);
  EXPECT_EQ(HitAt(Point(Form->Left() + RowEnd + 10, Form->Top() + Y)), HTCAPTION);
  // A press there drags nothing.
  const Integer Left = Form->Left(), Top = Form->Top();
  const TPoint P = CentreOnScreen(Item(2)->ItemRect);
  ClickAt(P, Point(P.X + 30, P.Y + 20));
  EXPECT_EQ(Form->Left(), Left);
  EXPECT_EQ(Form->Top(), Top);
}

TEST_F(QuickButtonsTest, AHotButtonShowsTheQuickButtonFace) {
  const TColor Hot = sg::TestPieceColour(false, "officequickbutton", "activeskinrect", sg::Piece::Ring);
  const TRect R = Item(1)->ItemRect;
  EXPECT_NE(SurfaceColour(S.Session.Capture(Form->Handle()), R.Left + 1, (R.Top + R.Bottom) / 2), Hot);
  MoveTo(CentreOnScreen(R));
  EXPECT_TRUE(Item(1)->Active);
  EXPECT_FALSE(Item(0)->Active);
  vantrel::win::Surface Shot = S.Session.Capture(Form->Handle());
  SaveCapture(Shot, "quick_button_hot.png");
  // The face's border shows round the glyph.
  EXPECT_EQ(SurfaceColour(Shot, R.Left + RectWidth(R) / 2, R.Top + 1), Hot);
  EXPECT_EQ(SurfaceColour(Shot, R.Left + 2, R.Top + 2), QuickGlyphColours[1]);
  // Leaving the row drops the face.
  MoveTo(Point(Form->Left() + 200, Form->Top() + 150));
  EXPECT_FALSE(Item(1)->Active);
  Shot = S.Session.Capture(Form->Handle());
  EXPECT_NE(SurfaceColour(Shot, R.Left + RectWidth(R) / 2, R.Top + 1), Hot);
}

TEST_F(QuickButtonsTest, ALeftClickCallsOnClickWithTheCaptionAndAPressReleasedElsewhereNothing) {
  TspSkinCaptionObject* C = Caption();
  ASSERT_NE(C, nullptr);
  const TPoint First = CentreOnScreen(Item(0)->ItemRect);
  ClickAt(First, First);
  ASSERT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(Clicks[0], C);
  EXPECT_FALSE(Item(0)->Down);

  // Pressed on the first, released on the caption beside the row.
  const TPoint Beside = Point(Form->Left() + C->ObjectRect.Left + 3 * (QuickImageSize + 8) + 20, First.Y);
  ClickAt(First, Beside);
  EXPECT_EQ(Clicks.size(), 1u);

  // A disabled item is never hot and clicks nothing.
  Item(2)->SetEnabled(false);
  S.Session.PumpUntilIdle();
  const TPoint Third = CentreOnScreen(Item(2)->ItemRect);
  ClickAt(Third, Third);
  EXPECT_EQ(Clicks.size(), 1u);
  EXPECT_FALSE(Item(2)->Active);
  // The right button clicks nothing either.
  MoveTo(First);
  S.Session.Press(First.X, First.Y, vantrel::win::rbRight);
  S.Session.Release(First.X, First.Y, vantrel::win::rbRight);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(QuickButtonsTest, AHotButtonShowsItsHintUntilThePointerLeavesTheRowOrPresses) {
  TForm* Main = nullptr;
  Application->CreateForm(Main);
  auto* Hint = Create<TspSkinHint>(Main);
  FS->SetSkinHint(Hint);
  Item(0)->SetHint("Add files");
  Item(2)->SetHint("Convert");
  auto Shown = [&] { return Hint->IsVisible() ? Hint->HW->Caption() : String("(none)"); };
  auto Rest = [&](TPoint P) {
    MoveTo(P);
    S.Session.Advance(static_cast<uint64_t>(Application->HintPause()) + 20);
    S.Session.PumpUntilIdle();
  };
  // Off by default: the frame asks for quick-button hints itself.
  Rest(CentreOnScreen(Item(0)->ItemRect));
  EXPECT_EQ(Shown(), "(none)");
  MoveTo(Point(Form->Left() + 200, Form->Top() + 150));
  FS->SetQuickButtonsShowHint(true);
  struct Step {
    const char* What;
    TPoint Where;
    const char* Expected;
  };
  const Step Steps[] = {
      {"first item", CentreOnScreen(Item(0)->ItemRect), "Add files"},
      // An item without a hint shows none of its own; the last one stays while a button is hot.
      {"item without a hint", CentreOnScreen(Item(1)->ItemRect), "Add files"},
      {"third item", CentreOnScreen(Item(2)->ItemRect), "Convert"},
      {"off the row", Point(Form->Left() + 200, Form->Top() + 150), "(none)"},
      {"first item again", CentreOnScreen(Item(0)->ItemRect), "Add files"},
  };
  for (const Step& St : Steps) {
    SCOPED_TRACE(St.What);
    Rest(St.Where);
    EXPECT_EQ(Shown(), St.Expected);
  }
  // A press hides it.
  const TPoint P = CentreOnScreen(Item(0)->ItemRect);
  S.Session.Press(P.X, P.Y);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Shown(), "(none)");
  S.Session.Release(P.X, P.Y);
  S.Session.PumpUntilIdle();
  FS->SetSkinHint(nullptr);
}

}  // namespace

namespace {

// The row on the program's own skin, as a user sees it.
TEST_F(FrameFixture, QuickButtonsOnTheProgramsSkinAsCaptured) {
  Skin->LoadFromFile(vantrel::test::BinDir() + "/" + sg::DefaultSkinFolder + "/" + sg::SkinIniName);
  ASSERT_FALSE(Skin->Empty);
  auto Images = CreateOwned<TImageList>(nullptr);
  Images->SetWidth(QuickImageSize);
  Images->SetHeight(QuickImageSize);
  for (TColor C : QuickGlyphColours) {
    auto Glyph = FlatBitmap(QuickImageSize, QuickImageSize, C);
    Images->Add(Glyph.get(), nullptr);
  }
  for (Integer I = 0; I < 3; ++I) FS->QuickButtons()->Add()->SetImageIndex(I);
  FS->SetQuickImageList(Images.get());
  FS->SetSkinData(Skin.get());
  ShowForm();
  const TRect R = FS->QuickButtons()->Items(0)->ItemRect;
  ASSERT_GT(RectWidth(R), 0);
  const vantrel::win::Surface Before = S.Session.Capture(Form->Handle());
  const TPoint P = Point(Form->Left() + (R.Left + R.Right) / 2, Form->Top() + (R.Top + R.Bottom) / 2);
  S.Session.Move(P.X - 1, P.Y);
  S.Session.PumpUntilIdle();
  S.Session.Advance(60);
  S.Session.Move(P.X, P.Y);
  S.Session.PumpUntilIdle();
  const vantrel::win::Surface Hot = S.Session.Capture(Form->Handle());
  SaveCapture(Hot, "quick_buttons_program_skin.png");
  EXPECT_EQ(SurfaceColour(Hot, R.Left + 2, R.Top + 2), QuickGlyphColours[0]);
  // The hot face changes the ring round the glyph.
  EXPECT_NE(SurfaceColour(Hot, R.Left, (R.Top + R.Bottom) / 2), SurfaceColour(Before, R.Left, (R.Top + R.Bottom) / 2));
}

}  // namespace
