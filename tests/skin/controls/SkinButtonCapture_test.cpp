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
