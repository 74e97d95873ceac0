// A form of panels, labels and a bevel in the default skin, captured to a PNG for a look.
#include <gtest/gtest.h>

#include "platform/display/HeadlessPng.h"
#include "skin/controls/SkinExCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinControlsCaptureTest : public SkinFormFixture {};

TEST_F(SkinControlsCaptureTest, TheDefaultSkinShowsPanelsAndLabels) {
  LoadSkin(sg::DefaultSkinFolder);
  Form->SetColor(static_cast<TColor>(sg::palette::Window));
  auto* Group = Create<TspSkinGroupBox>(Form.get());
  Group->SetParent(Form.get());
  Group->SetSkinData(Skin);
  Group->SetCaption("Output");
  Group->SetBounds(10, 10, 380, 150);
  auto* Panel = Create<TspSkinPanel>(Form.get());
  Panel->SetParent(Group);
  Panel->SetSkinData(Skin);
  Panel->SetBounds(14, 34, 170, 100);
  auto* Label = Create<TspSkinStdLabel>(Form.get());
  Label->SetParent(Panel);
  Label->SetSkinData(Skin);
  Label->SetCaption("Format: MP4");
  Label->SetBounds(10, 10, 120, 20);
  auto* Link = Create<TspSkinLinkLabel>(Form.get());
  Link->SetParent(Panel);
  Link->SetSkinData(Skin);
  Link->SetCaption("Open folder");
  Link->SetBounds(10, 40, 120, 20);
  auto* Skinned = Create<TspSkinLabel>(Form.get());
  Skinned->SetParent(Group);
  Skinned->SetSkinData(Skin);
  Skinned->SetCaption("1920 x 1080");
  Skinned->SetBounds(200, 40, 160, 21);
  auto* Bevel = Create<TspSkinBevel>(Form.get());
  Bevel->SetParent(Group);
  Bevel->SetSkinData(Skin);
  Bevel->SetShape(bsTopLine);
  Bevel->SetBounds(200, 80, 160, 2);
  auto* Status = Create<TspSkinStatusBar>(Form.get());
  Status->SetParent(Form.get());
  Status->SetSkinData(Skin);
  Status->SetSizeGrip(true);
  ShowForm();
  const std::string File = testing::TempDir() + "skin-controls-laconic.png";
  ASSERT_TRUE(vantrel::display::SavePng(Session.Capture(Form->Handle()), File));
  EXPECT_NE(Group->FIndex, -1);
  EXPECT_NE(Status->FIndex, -1);
}

}  // namespace
