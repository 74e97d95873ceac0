// Applying a skin to the frame: the object list built from the skin's descriptors, the
// form fitted to the skin, and skin changes of the form's own store and of another.
#include <gtest/gtest.h>

#include "tests/skin/forms/FormFrame_TestKit.h"
#include "tests/support/FrameSkinVariants.h"

namespace vantrel::frametest {
namespace {

class FormSkinApplyTest : public FrameFixture {
 protected:
  test::TTempDir Scratch;
  std::string TestSkinIni() { return test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName; }
  std::vector<String> ObjectNames() {
    std::vector<String> Names;
    for (TspActiveSkinObject* O : FS->ObjectList) Names.push_back(O->IDName);
    return Names;
  }
};

TEST_F(FormSkinApplyTest, UserObjectsAreMadeInSkinOrderAndMenuDescriptorsMakeNone) {
  const std::string Ini = test::WriteFrameSkinVariant(Scratch, [](TspSkinData& D) {
    test::AddFrameUserObject(D, "first", Rect(150, 5, 170, 25));
    test::AddFrameUserObject(D, "second", Rect(180, 5, 200, 25));
  });
  Skin->LoadFromFile(Ini);
  // The test skin also has menu items, a main-menu item, menu-bar buttons, caption
  // buttons and a caption.
  ASSERT_GT(Skin->ObjectList.Count(), 2);
  FS->SetSkinData(Skin.get());
  EXPECT_TRUE(FS->FSkinSupport);
  EXPECT_EQ(ObjectNames(), (std::vector<String>{"minbutton", "maxbutton", "closebutton", "sysmenubutton", "caption", "first", "second"}));
  for (TspActiveSkinObject* O : FS->ObjectList) {
    if (O->IDName == "caption")
      EXPECT_NE(dynamic_cast<TspSkinCaptionObject*>(O), nullptr);
    else if (O->IDName.ends_with("button"))
      EXPECT_NE(dynamic_cast<TspSkinStdButtonObject*>(O), nullptr);
    else
      EXPECT_NE(dynamic_cast<TspUserObject*>(O), nullptr);
    EXPECT_EQ(O->Parent, FS);
  }
}

TEST_F(FormSkinApplyTest, LoadingAnotherSkinIntoTheStoreRebuildsTheObjectsAndGrowsTheForm) {
  Skin->LoadFromFile(TestSkinIni());
  FS->SetSkinData(Skin.get());
  ShowForm();
  EXPECT_EQ(ObjectNames(), (std::vector<String>{"minbutton", "maxbutton", "closebutton", "sysmenubutton", "caption"}));
  ASSERT_EQ(Form->Width(), 400);
  int Changes = 0;
  bool InChange = false;
  FS->OnChangeSkinData = [&](TObject*) {
    ++Changes;
    InChange = FS->FInChangeSkinData;
  };
  const std::string Ini = test::WriteFrameSkinVariant(Scratch, [](TspSkinData& D) {
    test::AddFrameUserObject(D, "probe", Rect(150, 5, 170, 25));
    D.FormMinWidth = 450;
    D.FormMinHeight = 320;
  });
  Skin->LoadFromFile(Ini);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Changes, 1);
  EXPECT_TRUE(InChange);
  EXPECT_FALSE(FS->FInChangeSkinData);
  EXPECT_FALSE(FS->FStopPainting);
  EXPECT_EQ(ObjectNames(), (std::vector<String>{"minbutton", "maxbutton", "closebutton", "sysmenubutton", "caption", "probe"}));
  EXPECT_EQ(Form->Width(), 450);
  EXPECT_EQ(Form->Height(), 320);
  EXPECT_EQ(FS->FFormWidth, 450);
  EXPECT_EQ(FS->NewClRect.Right, 446);
}

TEST_F(FormSkinApplyTest, AChangeOfAnotherStoreReappliesNoFrame) {
  const std::string Ini = test::WriteFrameSkinVariant(
      Scratch, [](TspSkinData& D) { test::AddFrameUserObject(D, "probe", Rect(150, 5, 170, 25)); });
  Skin->LoadFromFile(Ini);
  FS->SetSkinData(Skin.get());
  ShowForm();
  TspActiveSkinObject* Before = FS->ObjectList.back();
  int Changes = 0;
  FS->OnChangeSkinData = [&](TObject*) { ++Changes; };
  // A store of the same form, not the frame's.
  TspSkinData* Other = Create<TspSkinData>(Form.get());
  Other->LoadFromFile(TestSkinIni());
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Changes, 0);
  ASSERT_EQ(FS->ObjectList.size(), 6u);
  EXPECT_EQ(FS->ObjectList.back(), Before);
  EXPECT_TRUE(FS->FSkinSupport);
}

TEST_F(FormSkinApplyTest, WithoutASkinTheObjectsGoAndTheDefaultFrameComesBack) {
  const std::string Ini = test::WriteFrameSkinVariant(
      Scratch, [](TspSkinData& D) { test::AddFrameUserObject(D, "probe", Rect(150, 5, 170, 25)); });
  Skin->LoadFromFile(Ini);
  FS->SetSkinData(Skin.get());
  ShowForm();
  ASSERT_EQ(FS->ObjectList.size(), 6u);  // the caption buttons, the caption and the probe
  FS->SetSkinData(nullptr);
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(FS->FSkinSupport);
  // The skin's objects are gone; the plain frame shows its own caption buttons.
  for (TspActiveSkinObject* O : FS->ObjectList) {
    auto* B = dynamic_cast<TspSkinStdButtonObject*>(O);
    ASSERT_NE(B, nullptr) << O->IDName;
    EXPECT_FALSE(B->FSkinSupport);
  }
  RECT C{};
  GetClientRect(Form->Handle(), &C);
  EXPECT_EQ(C.Right, 400 - 6);
  EXPECT_EQ(C.Bottom, 300 - 25);
}

TEST_F(FormSkinApplyTest, AClientModeFormWithAFixedSkinTakesThePictureSize) {
  const std::string Ini = test::WriteFrameSkinVariant(Scratch, [](TspSkinData& D) { D.RBPoint = D.LTPoint; });
  Skin->LoadFromFile(Ini);
  Form->SetBorderStyle(bsNone);
  Form->SetClientWidth(250);
  Form->SetClientHeight(180);
  FS->SetSupportNCArea(false);
  FS->SetSkinData(Skin.get());
  EXPECT_FALSE(FS->IsSkinResizable());
  EXPECT_EQ(Form->ClientWidth(), 400);
  EXPECT_EQ(Form->ClientHeight(), 300);
  EXPECT_FALSE(FS->Sizeable());
}

TEST_F(FormSkinApplyTest, AClientModeFormWithAStretchingSkinGrowsToThePicture) {
  Skin->LoadFromFile(TestSkinIni());
  Form->SetBorderStyle(bsNone);
  Form->SetClientWidth(250);
  Form->SetClientHeight(500);
  FS->SetSupportNCArea(false);
  FS->SetSkinData(Skin.get());
  EXPECT_EQ(Form->ClientWidth(), 400);
  EXPECT_EQ(Form->ClientHeight(), 500);
  EXPECT_TRUE(FS->Sizeable());
}

TEST_F(FormSkinApplyTest, PositiveClientSizesAreAppliedAfterTheSkin) {
  Skin->LoadFromFile(TestSkinIni());
  FS->SetClientWidth(420);
  FS->SetClientHeight(260);
  FS->SetSkinData(Skin.get());
  EXPECT_EQ(Form->ClientWidth(), 420);
  EXPECT_EQ(Form->ClientHeight(), 260);
  EXPECT_EQ(Form->Width(), 428);
  EXPECT_EQ(Form->Height(), 294);
}

}  // namespace
}  // namespace vantrel::frametest
