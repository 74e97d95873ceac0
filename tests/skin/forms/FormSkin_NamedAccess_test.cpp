// Frame objects reached by name: enabling, caption texts and button states; and the quick
// buttons' collection.
#include <gtest/gtest.h>

#include "skin/forms/FormSkinCaption.h"
#include "skin/forms/FormSkinQuickButtons.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

class FormSkinNamedAccessTest : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
    FS->SetSkinData(Skin.get());
    ShowForm();
  }
  // Moves the pointer onto R (frame coordinates) and asks the window what lies there.
  LRESULT HitAt(const TRect& R) {
    const TPoint P = Point(Form->Left() + (R.Left + R.Right) / 2, Form->Top() + (R.Top + R.Bottom) / 2);
    S.Session.Move(P.X, P.Y);
    S.Session.Advance(100);  // the hover test runs on the frame's timer
    return SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y));
  }
};

TEST_F(FormSkinNamedAccessTest, UnknownNamesGiveTheRestingAnswers) {
  EXPECT_EQ(FS->SwitchGetState("nothing"), swsOff);
  EXPECT_FALSE(FS->ButtonGetDown("nothing"));
  EXPECT_FALSE(FS->ButtonGetDown("caption"));  // a caption is no button
  FS->SetEnabled("nothing", false);
  FS->CaptionSetText("closebutton", "not a caption");
}

TEST_F(FormSkinNamedAccessTest, ADisabledButtonNoLongerTakesThePointer) {
  const Integer CloseIndex = FS->GetIndex("closebutton");
  TspActiveSkinObject* Close = FS->ObjectAt(CloseIndex);
  ASSERT_NE(Close, nullptr);
  HitAt(Close->ObjectRect);
  EXPECT_EQ(FS->ActiveObject, CloseIndex);
  FS->SetEnabled("closebutton", false);
  EXPECT_FALSE(Close->Enabled);
  S.Session.Move(Form->Left() + 200, Form->Top() + 150);
  S.Session.Advance(100);
  HitAt(Close->ObjectRect);
  EXPECT_EQ(FS->ActiveObject, -1);
}

TEST_F(FormSkinNamedAccessTest, ButtonStatesAndCaptionTextsAreSetByName) {
  FS->ButtonSetDown("maxbutton", true);
  EXPECT_TRUE(FS->ButtonGetDown("maxbutton"));
  FS->ButtonSetDown("maxbutton", false);
  EXPECT_FALSE(FS->ButtonGetDown("maxbutton"));
  auto* Caption = dynamic_cast<TspSkinCaptionObject*>(FS->ObjectAt(FS->GetIndex("caption")));
  ASSERT_NE(Caption, nullptr);
  FS->CaptionSetText("caption", "Converting");
  EXPECT_EQ(Caption->TextValue(), "Converting");
  // From a handler of the skin change the text is only stored; the redraw after the
  // change shows it.
  FS->OnChangeSkinData = [this](TObject*) { FS->CaptionSetText("caption", "Again"); };
  FS->SetSkinData(Skin.get());
  Caption = dynamic_cast<TspSkinCaptionObject*>(FS->ObjectAt(FS->GetIndex("caption")));
  ASSERT_NE(Caption, nullptr);
  EXPECT_EQ(Caption->TextValue(), "Again");
}

TEST_F(FormSkinNamedAccessTest, QuickButtonsCopyTheirLookAndRepaintTheFrameOnChange) {
  int NCPaints = 0;
  const TWndMethod Hooked = Form->WindowProc;
  Form->WindowProc = [&](TMessage& M) {
    if (M.Msg == WM_NCPAINT) ++NCPaints;
    Hooked(M);
  };
  TspQuickButtonItem* A = FS->QuickButtons()->Add();
  EXPECT_EQ(A->ImageIndex(), -1);
  EXPECT_TRUE(A->Enabled());
  EXPECT_TRUE(A->Visible());
  NCPaints = 0;
  A->SetImageIndex(2);
  A->SetHint("Snapshot");
  A->SetEnabled(false);
  S.Session.PumpUntilIdle();
  EXPECT_GT(NCPaints, 0);
  int Clicks = 0;
  A->OnClick = [&](TObject*) { ++Clicks; };
  TspQuickButtonItem* B = FS->QuickButtons()->Add();
  B->Assign(A);
  EXPECT_EQ(B->ImageIndex(), 2);
  EXPECT_EQ(B->Hint(), "Snapshot");
  EXPECT_FALSE(B->Enabled());
  EXPECT_FALSE(static_cast<bool>(B->OnClick));  // the handler is not copied
  // A whole collection is copied into the component's own.
  auto OtherForm = CreateOwned<TForm>(nullptr);
  TspFormSkin* Other = Create<TspFormSkin>(OtherForm.get());
  Other->SetQuickButtons(FS->QuickButtons());
  ASSERT_EQ(Other->QuickButtons()->Count(), 2);
  EXPECT_NE(Other->QuickButtons(), FS->QuickButtons());
  EXPECT_EQ(Other->QuickButtons()->Items(1)->ImageIndex(), 2);
  Form->WindowProc = Hooked;
}

}  // namespace
}  // namespace vantrel::frametest
