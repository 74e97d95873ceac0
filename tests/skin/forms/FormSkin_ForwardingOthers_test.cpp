// A skin change reaches the skinned labels and the bevel, which derive from neither
// control base, when they are bound to the store that changed.
#include <gtest/gtest.h>

#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinExCtrls.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

constexpr TColor ForwardNewColour = 0x123456;

class FormSkinForwardOthersTest : public FrameFixture {
 protected:
  TOwned<TspSkinData> Other = CreateOwned<TspSkinData>(nullptr);
  TspSkinStdLabel* Std = nullptr;
  TspSkinLinkLabel* Link = nullptr;
  TspSkinButtonLabel* Button = nullptr;
  TspSkinTextLabel* Text = nullptr;
  TspSkinBevel* Bevel = nullptr;

  void SetUp() override {
    FrameFixture::SetUp();
    UseTestSkin();
    Other->LoadFromFile(test::TestSkinDir(skingen::TestSkinAltFolder) + "/" + skingen::SkinIniName);
    Std = Place(Create<TspSkinStdLabel>(Form.get()));
    Link = Place(Create<TspSkinLinkLabel>(Form.get()));
    Button = Place(Create<TspSkinButtonLabel>(Form.get()));
    Text = Place(Create<TspSkinTextLabel>(Form.get()));
    Bevel = Place(Create<TspSkinBevel>(Form.get()));
    // All of them read the "stdlabel" and "bevel" descriptors of one store.
    Std->SetSkinDataName("stdlabel");
    Link->SetSkinDataName("stdlabel");
    Button->SetSkinDataName("stdlabel");
    Text->SetSkinDataName("stdlabel");
    Bind(Skin.get());
  }

  template <class T>
  T* Place(T* C) {
    C->SetParent(Form.get());
    return C;
  }
  void Bind(TspSkinData* SD) {
    Std->SetSkinData(SD);
    Link->SetSkinData(SD);
    Button->SetSkinData(SD);
    Text->SetSkinData(SD);
    Bevel->SetSkinData(SD);
  }
  // The skin's descriptors change their colours (as a reload would).
  void ChangeDescriptors(TspSkinData* SD) {
    auto* L = dynamic_cast<TspDataSkinStdLabelControl*>(SD->CtrlList.Items(SD->GetControlIndex("stdlabel")));
    auto* B = dynamic_cast<TspDataSkinBevel*>(SD->CtrlList.Items(SD->GetControlIndex("bevel")));
    ASSERT_NE(L, nullptr);
    ASSERT_NE(B, nullptr);
    L->FontColor = ForwardNewColour;
    B->LightColor = ForwardNewColour;
  }
};

TEST_F(FormSkinForwardOthersTest, EveryLabelAndTheBevelReReadTheirDescriptors) {
  ChangeDescriptors(Skin.get());
  FS->SendChangeToControls(Skin.get(), Form.get());
  EXPECT_EQ(Std->FontColor, ForwardNewColour);
  EXPECT_EQ(Link->FontColor, ForwardNewColour);
  EXPECT_EQ(Button->FontColor, ForwardNewColour);
  EXPECT_EQ(Text->FontColor, ForwardNewColour);
  EXPECT_EQ(Bevel->LightColor, ForwardNewColour);
}

TEST_F(FormSkinForwardOthersTest, ControlsBoundToAnotherStoreAreLeftAlone) {
  Bind(Other.get());
  const TColor Before = Std->FontColor;
  const TColor BevelBefore = Bevel->LightColor;
  ChangeDescriptors(Other.get());
  FS->SendChangeToControls(Skin.get(), Form.get());
  EXPECT_EQ(Std->FontColor, Before);
  EXPECT_EQ(Link->FontColor, Before);
  EXPECT_EQ(Bevel->LightColor, BevelBefore);
  // The walk without a store reaches them all.
  FS->SendChangeToControls(nullptr, Form.get());
  EXPECT_EQ(Std->FontColor, ForwardNewColour);
  EXPECT_EQ(Bevel->LightColor, ForwardNewColour);
}

}  // namespace
}  // namespace vantrel::frametest
