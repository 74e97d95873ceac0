// Push buttons in the default skin and in the plain look, captured to a PNG for a look.
#include <gtest/gtest.h>

#include "platform/display/HeadlessPng.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinButtonCaptureTest : public SkinFormFixture {};

TEST_F(SkinButtonCaptureTest, TheDefaultSkinAndThePlainLookShowTheirButtons) {
  LoadSkin(sg::DefaultSkinFolder);
  Form->SetColor(static_cast<TColor>(sg::palette::Window));
  const char* Captions[] = {"OK", "Cancel", "Apply", "Reset"};
  TspSkinButton* Buttons[8] = {};
  for (int I = 0; I < 8; ++I) {
    auto* B = Create<TspSkinButton>(Form.get());
    B->SetParent(Form.get());
    if (I < 4) B->SetSkinData(Skin);
    B->SetCaption(Captions[I % 4]);
    B->SetBounds(20 + (I % 4) * 90, 20 + (I / 4) * 50, 80, 28);
    Buttons[I] = B;
  }
  auto* Bar = Create<TspSkinToolBar>(Form.get());
  Bar->SetParent(Form.get());
  Bar->SetSkinData(Skin);
  Bar->CanScroll = true;
  Bar->SetBounds(20, 140, 200, 30);
  const char* Tools[] = {"Back", "Up", "New", "List", "Details", "Large"};
  for (int I = 0; I < 6; ++I) {
    auto* T = Create<TspSkinSpeedButton>(Form.get());
    T->SetParent(Bar);
    T->SetSkinData(Skin);
    T->SetUseSkinSize(false);
    T->SetCaption(Tools[I]);
    T->SetBounds(4 + I * 56, 2, 54, 26);
    if (I == 1) T->SetDown(true), T->SetGroupIndex(1), T->SetDown(true);
    if (I >= 3) T->SetFlat(true);
  }
  Bar->SetBounds(20, 140, 220, 30);
  Buttons[1]->SetEnabled(false);
  Buttons[2]->SetDown(true);
  Buttons[5]->SetEnabled(false);
  Buttons[6]->SetDown(true);
  ShowForm();
  const TPoint P = Buttons[3]->ClientToScreen(Point(10, 10));
  Session.Move(P.X, P.Y);
  Session.Advance(300);
  const std::string File = testing::TempDir() + "skin-buttons-laconic.png";
  ASSERT_TRUE(vantrel::display::SavePng(Session.Capture(Form->Handle()), File));
  EXPECT_NE(Buttons[0]->FIndex, -1);
  EXPECT_EQ(Buttons[4]->FIndex, -1);
}

}  // namespace
