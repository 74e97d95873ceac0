// The skinned push button: the state image shown for hover, press, focus and disabled,
// morphing steps on the virtual clock, frame animation, repeat, groups, default and
// cancel keys, modal results, the glow frame and the plain look.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Edits.h"
#include "platform/win/Display.h"
#include "platform/win/Keyboard.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"
#include "tests/support/UiLayoutKeys.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

sg::Colour ButtonFill(const char* Name, const char* Key) {
  return sg::TestPieceColour(false, Name, Key, sg::Piece::Fill);
}

class SkinButtonTest : public SkinFormFixture {
 protected:
  std::vector<std::string> Log;

  TspSkinButton* AddButton(const char* SkinName, int X, int Y, const char* Tag = "click") {
    auto* B = Create<TspSkinButton>(Form.get());
    B->SetSkinDataName(SkinName);
    B->SetParent(Form.get());
    B->SetSkinData(Skin);
    B->SetBounds(X, Y, 90, 30);
    B->OnClick = [this, Tag](TObject*) { Log.push_back(Tag); };
    return B;
  }
  TPoint Centre(TControl* C) { return C->ClientToScreen(Point(C->Width() / 2, C->Height() / 2)); }
  void MoveOnto(TControl* C) {
    const TPoint P = Centre(C);
    Session.Move(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void MoveAway() {
    Session.Move(5, 5);
    Session.PumpUntilIdle();
  }
  // The fill colour in the middle of the button (glyph-free, caption-free spot).
  sg::Colour Face(TControl* C) { return PixelAt(C, 6, C->Height() / 2); }
};

TEST_F(SkinButtonTest, EachStateShowsItsOwnSkinImage) {
  Skin->SetEnableSkinEffects(false);  // no morphing: the looks change at once
  auto* B = AddButton("button", 40, 40);
  B->SetCanFocused(false);
  auto* Other = AddButton("button", 40, 120);
  Other->SetCanFocused(false);
  ShowForm();
  EXPECT_EQ(Face(B), ButtonFill("button", "skinrect"));
  MoveOnto(B);
  EXPECT_EQ(Face(B), ButtonFill("button", "activeskinrect"));
  const TPoint P = Centre(B);
  Session.Press(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(Face(B), ButtonFill("button", "downskinrect"));
  // Held while the pointer leaves: no longer pressed, and no click on release outside.
  MoveAway();
  EXPECT_EQ(Face(B), ButtonFill("button", "skinrect"));
  Session.Release(5, 5);
  Session.PumpUntilIdle();
  EXPECT_TRUE(Log.empty());
  B->SetEnabled(false);
  Session.PumpUntilIdle();
  EXPECT_EQ(Face(B), ButtonFill("button", "disabledskinrect"));
  Other->SetCanFocused(true);
  Other->SetFocus();
  Session.PumpUntilIdle();
  EXPECT_EQ(Face(Other), ButtonFill("button", "focusedskinrect"));
}

TEST_F(SkinButtonTest, AClickOverTheButtonRunsOnClickAndSetsTheModalResult) {
  auto* B = AddButton("button", 40, 40);
  B->SetModalResult(mrOk);
  ShowForm();
  const TPoint P = Centre(B);
  Session.Press(P.X, P.Y);
  Session.Release(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(Log, (std::vector<std::string>{"click"}));
  EXPECT_EQ(Form->ModalResult(), mrOk);
  EXPECT_FALSE(B->Down());
}

TEST_F(SkinButtonTest, MorphingStepsAFifthEvery20MsAndReversesFromWhereItIs) {
  auto* B = AddButton("button", 40, 40);
  B->SetCanFocused(false);
  ShowForm();
  MoveOnto(B);
  EXPECT_DOUBLE_EQ(B->MorphFactor(), 0);
  Session.Advance(20);
  EXPECT_NEAR(B->MorphFactor(), 0.2, 1e-9);
  Session.Advance(40);
  EXPECT_NEAR(B->MorphFactor(), 0.6, 1e-9);
  // A middle frame mixes the normal and the active image.
  const sg::Colour Mid = Face(B);
  EXPECT_NE(Mid, ButtonFill("button", "skinrect"));
  EXPECT_NE(Mid, ButtonFill("button", "activeskinrect"));
  MoveAway();
  Session.Advance(20);
  EXPECT_NEAR(B->MorphFactor(), 0.4, 1e-9);
  Session.Advance(200);
  EXPECT_DOUBLE_EQ(B->MorphFactor(), 0);
  EXPECT_EQ(Face(B), ButtonFill("button", "skinrect"));
  MoveOnto(B);
  Session.Advance(200);
  EXPECT_DOUBLE_EQ(B->MorphFactor(), 1);
  EXPECT_EQ(Face(B), ButtonFill("button", "activeskinrect"));
}

TEST_F(SkinButtonTest, RepeatClicksAfterHalfASecondAtTheIntervalAndOnceOnRelease) {
  Skin->SetEnableSkinEffects(false);
  struct Case {
    uint64_t HeldMs;
    size_t Clicks;
  } Cases[] = {{300, 1}, {599, 1}, {600, 2}, {830, 4}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.HeldMs);
    Log.clear();
    auto* B = AddButton("button", 40, 40);
    B->SetRepeatMode(true);
    ShowForm();
    const TPoint P = Centre(B);
    Session.Press(P.X, P.Y);
    Session.PumpUntilIdle();
    Session.Advance(C.HeldMs);
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
    EXPECT_EQ(Log.size(), C.Clicks);
    B->Free();
  }
}

TEST_F(SkinButtonTest, GroupButtonsReleaseEachOtherUnlessAllMayBeUp) {
  Skin->SetEnableSkinEffects(false);
  auto* A = AddButton("button", 40, 40, "a");
  auto* B = AddButton("button", 40, 80, "b");
  A->SetGroupIndex(1);
  B->SetGroupIndex(1);
  EXPECT_FALSE(A->CanFocused());
  ShowForm();
  auto ClickOn = [&](TControl* C) {
    const TPoint P = Centre(C);
    Session.Press(P.X, P.Y);
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
  };
  ClickOn(A);
  EXPECT_TRUE(A->Down());
  ClickOn(B);
  EXPECT_TRUE(B->Down());
  EXPECT_FALSE(A->Down());
  // Clicking the down button again neither raises it nor clicks.
  ClickOn(B);
  EXPECT_TRUE(B->Down());
  EXPECT_EQ(Log, (std::vector<std::string>{"a", "b"}));
  // With AllowAllUp the buttons toggle on their own, and a second click raises and clicks.
  A->SetAllowAllUp(true);
  B->SetAllowAllUp(true);
  ClickOn(A);
  EXPECT_TRUE(A->Down());
  EXPECT_TRUE(B->Down());
  ClickOn(A);
  EXPECT_FALSE(A->Down());
  EXPECT_EQ(Log, (std::vector<std::string>{"a", "b", "a", "a"}));
}

TEST_F(SkinButtonTest, EnterGoesToTheDefaultButtonOrTheFocusedOneAndEscToCancel) {
  Skin->SetEnableSkinEffects(false);
  auto* Edit = Create<TEdit>(Form.get());
  Edit->SetParent(Form.get());
  Edit->SetBounds(40, 200, 100, 22);
  auto* Ok = AddButton("button", 40, 40, "ok");
  auto* Other = AddButton("button", 40, 80, "other");
  auto* Cancel = AddButton("button", 40, 120, "cancel");
  Ok->SetDefault(true);
  Cancel->SetCancel(true);
  ShowForm();
  Edit->SetFocus();
  Session.PumpUntilIdle();
  // The default button shows itself active while a non-button has the focus.
  EXPECT_EQ(Face(Ok), ButtonFill("button", "activeskinrect"));
  Session.Key(VK_RETURN);
  vantrel::uitest::PumpKeys(Session);
  Other->SetFocus();
  Session.PumpUntilIdle();
  Session.Key(VK_RETURN);
  vantrel::uitest::PumpKeys(Session);
  Session.Key(VK_ESCAPE);
  vantrel::uitest::PumpKeys(Session);
  Session.Key(VK_ESCAPE, MOD_SHIFT);
  vantrel::uitest::PumpKeys(Session);
  EXPECT_EQ(Log, (std::vector<std::string>{"ok", "other", "cancel"}));
}

TEST_F(SkinButtonTest, TheCaptionsAcceleratorFocusesAndClicks) {
  Skin->SetEnableSkinEffects(false);
  auto* B = AddButton("button", 40, 40, "apply");
  B->SetCaption("&Apply");
  auto* Edit = Create<TEdit>(Form.get());
  Edit->SetParent(Form.get());
  Edit->SetBounds(40, 200, 100, 22);
  ShowForm();
  Edit->SetFocus();
  Session.PumpUntilIdle();
  Session.Key('A', MOD_ALT);
  vantrel::uitest::PumpKeys(Session);
  EXPECT_EQ(Log, (std::vector<std::string>{"apply"}));
  EXPECT_TRUE(B->Focused());
}

TEST_F(SkinButtonTest, WithoutASkinTheButtonDrawsThePlainLook) {
  auto* B = AddButton("button", 40, 40);
  B->SetSkinData(nullptr);
  B->SetCanFocused(false);
  ShowForm();
  EXPECT_EQ(PixelAt(B, 0, 0), static_cast<sg::Colour>(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(Face(B), static_cast<sg::Colour>(ColorToRGB(clBtnFace)));
  MoveOnto(B);
  EXPECT_EQ(PixelAt(B, 0, 0), static_cast<sg::Colour>(ColorToRGB(clNavy)));
  EXPECT_EQ(Face(B), sg::Rgb(182, 189, 210));
  const TPoint P = Centre(B);
  Session.Press(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(Face(B), sg::Rgb(133, 147, 181));
  Session.Release(P.X, P.Y);
  Session.PumpUntilIdle();
}

TEST_F(SkinButtonTest, TheGlowFrameShowsOnEnterAndGoesOnLeave) {
  auto* B = AddButton("button", 60, 60);
  B->SetCanFocused(false);
  ShowForm();
  MoveOnto(B);
  Session.Advance(300);
  ASSERT_TRUE(B->LayerManager()->IsVisible);
  // The glow surrounds the button and leaves its face uncovered.
  EXPECT_EQ(Face(B), ButtonFill("button", "activeskinrect"));
  // The glow window lies around the button by the skin's offset and reaches its opacity.
  RECT W{};
  GetWindowRect(B->LayerManager()->LayerWindow->Handle(), &W);
  const TPoint Origin = B->ClientToScreen(Point(0, 0));
  EXPECT_EQ(W.Left, Origin.X - sg::MainSizes.GlowMargin);
  EXPECT_EQ(W.Top, Origin.Y - sg::MainSizes.GlowMargin);
  EXPECT_EQ(W.Right - W.Left, 90 + 2 * sg::MainSizes.GlowMargin);
  MoveAway();
  EXPECT_FALSE(B->LayerManager()->IsVisible);
  // A skin without glow frames shows none.
  Skin->SetShowButtonGlowFrames(false);
  MoveOnto(B);
  EXPECT_FALSE(B->LayerManager()->IsVisible);
}

TEST_F(SkinButtonTest, TheFrameAnimationStepsThroughTheStripOnEnter) {
  auto* B = AddButton(sg::AnimatedButton, 40, 40);
  B->SetCanFocused(false);
  ShowForm();
  MoveOnto(B);
  EXPECT_EQ(B->AnimationFrame(), 1);
  Session.Advance(sg::AnimationInterval);
  EXPECT_EQ(B->AnimationFrame(), 2);
  Session.Advance(sg::AnimationInterval * sg::AnimationFrames);
  EXPECT_EQ(B->AnimationFrame(), 0);  // done: the animation has stopped
}

TEST_F(SkinButtonTest, DisabledTextInTheNormalColourTurnsGrey) {
  auto* D = dynamic_cast<TspDataSkinButtonControl*>(Skin->CtrlList.Items(Skin->GetControlIndex("button")));
  ASSERT_NE(D, nullptr);
  D->DisabledFontColor = D->FontColor;
  auto* B = AddButton("button", 40, 40);
  B->ChangeSkinData();
  EXPECT_EQ(B->DisabledFontColor, static_cast<TColor>(0x808080));
}

}  // namespace
