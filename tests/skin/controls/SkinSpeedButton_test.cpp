// The speed button and the tool bar: the state pictures, the fade between them and the
// blend over the form (shared with the push button), the flat look, caption widths,
// pictures taken from the tool bar's lists, centring, and scrolling with the non-client
// arrows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/ui/Edits.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

sg::Colour ToolFill(const char* Key) { return sg::TestPieceColour(false, "toolbutton", Key, sg::Piece::Fill); }
// The test skin's "resizebutton" morphs between its pictures.
sg::Colour MorphingFill(const char* Key) {
  return sg::TestPieceColour(false, "resizebutton", Key, sg::Piece::Fill);
}

// Channel by channel, Value / 255 of Front over the rest of Back.
sg::Colour Blend(sg::Colour Front, sg::Colour Back, int Value) {
  const auto Mix = [Value](int F, int B) { return (F * Value + B * (255 - Value) + 127) / 255; };
  return sg::Rgb(Mix(sg::RedOf(Front), sg::RedOf(Back)), Mix(sg::GreenOf(Front), sg::GreenOf(Back)),
                 Mix(sg::BlueOf(Front), sg::BlueOf(Back)));
}

bool Near(sg::Colour A, sg::Colour B) {
  return std::abs(sg::RedOf(A) - sg::RedOf(B)) <= 1 && std::abs(sg::GreenOf(A) - sg::GreenOf(B)) <= 1 &&
         std::abs(sg::BlueOf(A) - sg::BlueOf(B)) <= 1;
}

// An image list of 16 x 16 pictures, each one solid colour.
TCustomImageList* SolidList(TComponent* Owner, std::vector<TColor> Colours) {
  auto* L = Create<TCustomImageList>(Owner);
  L->SetWidth(16);
  L->SetHeight(16);
  auto B = CreateOwned<TBitmap>();
  B->SetSize(16 * static_cast<int>(Colours.size()), 16);
  for (size_t I = 0; I < Colours.size(); ++I) {
    B->Canvas()->Brush()->SetColor(Colours[I]);
    B->Canvas()->FillRect(Rect(16 * static_cast<int>(I), 0, 16 * static_cast<int>(I) + 16, 16));
  }
  L->Add(B.get(), nullptr);
  return L;
}

class SkinSpeedButtonTest : public SkinFormFixture {
 protected:
  std::vector<std::string> Log;

  TspSkinSpeedButton* AddSpeed(TWinControl* Parent, int X, int Y, int W = 40, int H = 30) {
    auto* B = Create<TspSkinSpeedButton>(Form.get());
    B->SetParent(Parent);
    B->SetSkinData(Skin);
    B->SetBounds(X, Y, W, H);
    B->OnClick = [this](TObject*) { Log.push_back("click"); };
    return B;
  }
  TspSkinToolBar* AddToolBar(int W) {
    auto* T = Create<TspSkinToolBar>(Form.get());
    T->SetParent(Form.get());
    T->SetSkinData(Skin);
    T->SetBounds(10, 10, W, 40);
    return T;
  }
  void MoveOnto(TControl* C) {
    const TPoint P = C->ClientToScreen(Point(C->Width() - 3, C->Height() - 3));
    Session.Move(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void MoveAway() {
    Session.Move(2, 390);
    Session.PumpUntilIdle();
  }
};

TEST_F(SkinSpeedButtonTest, AFlatButtonShowsItsSkinOnlyUnderThePointerOrDownInAGroup) {
  auto* B = AddSpeed(Form.get(), 40, 40);
  B->SetFlat(true);
  ShowForm();
  EXPECT_EQ(PixelAt(B, 3, 3), static_cast<sg::Colour>(ColorToRGB(clWhite)));  // the form shows through
  MoveOnto(B);
  EXPECT_EQ(PixelAt(B, 6, 6), ToolFill("activeskinrect"));
  Session.Advance(200);
  EXPECT_EQ(B->AnimationFrame(), 0);
  EXPECT_DOUBLE_EQ(B->MorphFactor(), 0);  // a flat button never morphs
  MoveAway();
  EXPECT_EQ(PixelAt(B, 3, 3), static_cast<sg::Colour>(ColorToRGB(clWhite)));
  B->SetGroupIndex(1);
  B->SetDown(true);
  Session.PumpUntilIdle();
  EXPECT_EQ(PixelAt(B, 6, 6), ToolFill("downskinrect"));
}

TEST_F(SkinSpeedButtonTest, AFramedButtonShowsThePictureOfEachStateAndFadesBetweenThem) {
  auto* B = AddSpeed(Form.get(), 40, 40, 90, 30);
  B->SetSkinDataName("resizebutton");
  ShowForm();
  const auto Face = [&] { return PixelAt(B, 6, B->Height() / 2); };
  EXPECT_EQ(Face(), MorphingFill("skinrect"));
  MoveOnto(B);
  Session.Advance(300);  // the fade toward the hot picture runs out
  EXPECT_EQ(Face(), MorphingFill("activeskinrect"));
  const TPoint P = B->ClientToScreen(Point(B->Width() - 3, B->Height() - 3));
  Session.Press(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(Face(), MorphingFill("downskinrect"));
  Session.Release(P.X, P.Y);
  MoveAway();
  Session.Advance(40);  // part way back: neither picture alone
  EXPECT_NE(Face(), MorphingFill("skinrect"));
  EXPECT_NE(Face(), MorphingFill("activeskinrect"));
  Session.Advance(300);
  EXPECT_EQ(Face(), MorphingFill("skinrect"));
  B->SetEnabled(false);
  Session.PumpUntilIdle();
  EXPECT_EQ(Face(), MorphingFill("disabledskinrect"));
}

// A blended button, push or speed, shows its picture mixed with the form behind it.
TEST_F(SkinSpeedButtonTest, ABlendedButtonMixesItsPictureWithTheFormBehindIt) {
  Skin->SetEnableSkinEffects(false);
  Form->SetColor(clWhite);
  auto* Speed = AddSpeed(Form.get(), 40, 40, 90, 30);
  Speed->SetSkinDataName("resizebutton");
  Speed->SetAlphaBlend(true);
  Speed->SetAlphaBlendValue(100);
  auto* Push = Create<TspSkinButton>(Form.get());
  Push->SetParent(Form.get());
  Push->SetSkinDataName("resizebutton");
  Push->SetSkinData(Skin);
  Push->SetCanFocused(false);
  Push->SetBounds(40, 100, 90, 30);
  Push->SetAlphaBlend(true);
  Push->SetAlphaBlendValue(100);
  ShowForm();
  const sg::Colour Expected = Blend(MorphingFill("skinrect"), sg::Rgb(255, 255, 255), 100);
  for (TControl* C : {static_cast<TControl*>(Speed), static_cast<TControl*>(Push)}) {
    const sg::Colour Seen = PixelAt(C, 6, C->Height() / 2);
    EXPECT_TRUE(Near(Seen, Expected)) << std::hex << Seen << " vs " << Expected;
  }
}

TEST_F(SkinSpeedButtonTest, AClickAndTheGroupRulesFollowThePushButton) {
  Skin->SetEnableSkinEffects(false);
  auto* B = AddSpeed(Form.get(), 40, 40);
  ShowForm();
  const TPoint P = B->ClientToScreen(Point(5, 5));
  Session.Press(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(PixelAt(B, 6, 6), ToolFill("downskinrect"));
  Session.Release(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(Log, (std::vector<std::string>{"click"}));
  EXPECT_FALSE(B->Down());
}

TEST_F(SkinSpeedButtonTest, ShowCaptionSwitchesTheWidthOnlyWhenBothWidthsAreSet) {
  auto* B = AddSpeed(Form.get(), 40, 40, 60, 30);
  B->SetUseSkinSize(false);
  B->SetWidthWithCaption(80);
  B->SetShowCaption(false);
  EXPECT_EQ(B->Width(), 60);
  B->SetWidthWithoutCaption(30);
  B->SetShowCaption(true);
  EXPECT_EQ(B->Width(), 80);
  B->SetShowCaption(false);
  EXPECT_EQ(B->Width(), 30);
}

TEST_F(SkinSpeedButtonTest, PicturesComeFromTheToolBarsListsUnlessTheButtonHasAGlyph) {
  Skin->SetEnableSkinEffects(false);
  auto* Bar = AddToolBar(300);
  Bar->SetImages(SolidList(Form.get(), {clRed}));
  Bar->SetHotImages(SolidList(Form.get(), {clLime}));
  Bar->SetDisabledImages(SolidList(Form.get(), {clBlue}));
  auto* B = AddSpeed(Bar, 10, 2, 40, 30);
  B->SetShowCaption(false);
  auto* Disabled = AddSpeed(Bar, 60, 2, 40, 30);
  Disabled->SetShowCaption(false);
  Disabled->SetEnabled(false);
  auto* WithGlyph = AddSpeed(Bar, 110, 2, 40, 30);
  WithGlyph->SetShowCaption(false);
  auto G = CreateOwned<TBitmap>();
  G->SetSize(16, 16);
  G->Canvas()->Brush()->SetColor(clYellow);
  G->Canvas()->FillRect(Rect(0, 0, 16, 16));
  G->Canvas()->SetPixels(0, 15, clFuchsia);  // the glyph's transparent colour
  WithGlyph->SetGlyph(G.get());
  ShowForm();
  auto Middle = [&](TControl* C) { return PixelAt(C, C->Width() / 2, C->Height() / 2); };
  EXPECT_EQ(Middle(B), static_cast<sg::Colour>(ColorToRGB(clRed)));
  EXPECT_EQ(Middle(Disabled), static_cast<sg::Colour>(ColorToRGB(clBlue)));  // not dimmed
  EXPECT_EQ(Middle(WithGlyph), static_cast<sg::Colour>(ColorToRGB(clYellow)));
  MoveOnto(B);
  EXPECT_EQ(Middle(B), static_cast<sg::Colour>(ColorToRGB(clLime)));
  // Pressed, the picture stays where it was.
  const TPoint P = B->ClientToScreen(Point(3, 3));
  Session.Press(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(PixelAt(B, B->Width() / 2 - 8, B->Height() / 2 - 8), static_cast<sg::Colour>(ColorToRGB(clLime)));
  Session.Release(P.X, P.Y);
  Session.PumpUntilIdle();
}

TEST_F(SkinSpeedButtonTest, TheToolBarCentresPlainChildrenAndRejectsBadScrollSettings) {
  auto* Bar = AddToolBar(300);
  auto* Plain = Create<TEdit>(Form.get());
  Plain->SetParent(Bar);
  Plain->SetBounds(100, 0, 80, 20);
  ShowForm();
  Bar->SetBounds(10, 10, 300, 44);  // a size change centres the plain children again
  TRect R;
  Bar->GetSkinClientRect(R);
  EXPECT_EQ(Plain->Top(), R.Top + RectHeight(R) / 2 - 10);
  Bar->SetScrollTimerInterval(0);
  Bar->SetScrollOffset(-1);
  EXPECT_EQ(Bar->ScrollTimerInterval(), 50);
  EXPECT_EQ(Bar->ScrollOffset(), 0);
}

TEST_F(SkinSpeedButtonTest, ChildrenWiderThanTheBarBringArrowsThatScrollByTheClientWidth) {
  auto* Bar = AddToolBar(300);
  Bar->CanScroll = true;
  for (int I = 0; I < 20; ++I) AddSpeed(Bar, I * 50, 2, 50, 30);
  ShowForm();
  Bar->SetBounds(10, 10, 300, 42);  // a size change measures the children again
  Session.PumpUntilIdle();
  ASSERT_TRUE(Bar->ScrollButtonsVisible());
  EXPECT_EQ(Bar->ClientWidth(), 300 - 24);
  TControl* First = Bar->Controls(0);
  const int FirstLeft = First->Left();
  // A click on the right arrow: one step of the client width.
  TPoint P = Bar->ClientToScreen(Point(Bar->ClientWidth() + 4, 10));
  Session.Press(P.X, P.Y);
  Session.Release(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(First->Left(), FirstLeft - Bar->ClientWidth());
  // Held, it scrolls on every timer tick until the end, where it stops by itself.
  Session.Press(P.X, P.Y);
  Session.Advance(500);
  Session.Release(P.X, P.Y);
  Session.PumpUntilIdle();
  TControl* Last = Bar->Controls(19);
  EXPECT_EQ(Last->Left() + Last->Width(), Bar->ClientWidth());
  EXPECT_EQ(First->Left(), Bar->ClientWidth() - 1000);
  // Back to the start with the left arrow.
  P = Bar->ClientToScreen(Point(-4, 10));
  for (int I = 0; I < 3; ++I) {
    Session.Press(P.X, P.Y);
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  EXPECT_EQ(First->Left(), FirstLeft);
}

TEST_F(SkinSpeedButtonTest, WideningAScrolledBarBringsHiddenChildrenBack) {
  // The dialogs' tool bars lie along the top of their form and widen with it.
  auto* Bar = AddToolBar(300);
  Bar->CanScroll = true;
  Bar->SetAlign(alTop);
  for (int I = 0; I < 30; ++I) AddSpeed(Bar, I * 50, 2, 50, 30);
  ShowForm();
  Form->SetWidth(300);
  Session.PumpUntilIdle();
  ASSERT_TRUE(Bar->ScrollButtonsVisible());
  for (int I = 0; I < 8; ++I) Bar->ScrollStep(1);  // to the end
  TControl* First = Bar->Controls(0);
  const int Scrolled = First->Left();
  ASSERT_LT(Scrolled, -40);
  Form->SetWidth(Form->Width() + 40);
  Session.PumpUntilIdle();
  EXPECT_EQ(First->Left(), Scrolled + 40);
}

TEST_F(SkinSpeedButtonTest, SkinnedControlsOnTheToolBarCentreThemselvesWhateverTopIsAsked) {
  auto* Bar = AddToolBar(300);
  Bar->SetBounds(10, 10, 300, 40);
  auto* B = Create<TspSkinButton>(Form.get());
  B->SetParent(Bar);
  B->SetSkinData(Skin);
  B->SetBounds(10, 0, 60, 20);
  auto* Bevel = Create<TspSkinBevel>(Form.get());
  Bevel->SetParent(Bar);
  Bevel->SetSkinData(Skin);
  Bevel->SetBounds(80, 1, 2, 20);
  ShowForm();
  TRect R;
  Bar->GetSkinClientRect(R);
  EXPECT_EQ(B->Top(), R.Top + RectHeight(R) / 2 - B->Height() / 2);
  B->SetTop(7);
  EXPECT_EQ(B->Top(), R.Top + RectHeight(R) / 2 - B->Height() / 2);
  EXPECT_EQ(Bevel->Top(), R.Top + RectHeight(R) / 2 - Bevel->Height() / 2);
}

TEST_F(SkinSpeedButtonTest, WithoutCanScrollNoArrowsAppear) {
  auto* Bar = AddToolBar(200);
  for (int I = 0; I < 6; ++I) AddSpeed(Bar, I * 50, 2, 50, 30);
  ShowForm();
  Bar->SetBounds(10, 10, 200, 42);
  EXPECT_FALSE(Bar->ScrollButtonsVisible());
  EXPECT_EQ(Bar->ClientWidth(), 200);
}

}  // namespace
