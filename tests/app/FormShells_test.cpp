// The application's dialogs as made at start-up: caption, border, client size, position
// and a frame component that draws them without caption buttons.
#include <gtest/gtest.h>

#include <functional>

#include "app/about.h"
#include "app/clip.h"
#include "app/conversion.h"
#include "app/crop.h"
#include "app/fileinfo.h"
#include "app/profilechoosing.h"
#include "app/settings.h"
#include "app/survey.h"
#include "platform/display/HeadlessPng.h"
#include "skin/core/data/SkinData.h"
#include "skin/forms/FormSkin.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiFormsFixture.h"
#include "tools/skingen/SkinGenSpec.h"

using namespace vantrel::app;

namespace {

template <class T>
TForm* Make() {
  T* Form = nullptr;
  Application->CreateForm(Form);
  return Form;
}

}  // namespace

TEST(FormShells, EachDialogHasItsCaptionBorderSizeAndPosition) {
  vantrel::uitest::FormsSession S;
  struct Case {
    const char* Class;
    std::function<TForm*()> Make;
    const char* Caption;
    TFormBorderStyle Border;
    Integer Width, Height;
    TPosition Position;
    bool Draggable;
  } Cases[] = {
      {"Tproform", Make<Tproform>, "", bsNone, 500, 470, poDesigned, true},
      {"Tsettingsform", Make<Tsettingsform>, "Profile Settings", bsDialog, 440, 310, poScreenCenter, true},
      {"TClipForm", Make<TClipForm>, "Trim", bsDialog, 494, 494, poScreenCenter, true},
      {"TCropForm", Make<TCropForm>, "Edit", bsDialog, 700, 466, poMainFormCenter, true},
      {"TConvForm", Make<TConvForm>, "Conversion", bsDialog, 389, 179, poMainFormCenter, true},
      {"TAboutForm", Make<TAboutForm>, "About", bsDialog, 334, 260, poMainFormCenter, false},
      {"TFileInfoForm", Make<TFileInfoForm>, "File Information", bsDialog, 338, 370, poScreenCenter, false},
      {"TSurveyForm", Make<TSurveyForm>, "Survey", bsDialog, 400, 300, poScreenCenter, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Class);
    TForm* F = C.Make();
    ASSERT_NE(F, nullptr);
    EXPECT_STREQ(F->ClassName(), C.Class);
    EXPECT_EQ(F->Caption(), C.Caption);
    EXPECT_EQ(F->BorderStyle(), C.Border);
    EXPECT_EQ(F->ClientWidth(), C.Width);
    EXPECT_EQ(F->ClientHeight(), C.Height);
    EXPECT_EQ(F->Position(), C.Position);
    EXPECT_TRUE(F->BorderIcons().Empty());
    auto* Frame = dynamic_cast<TspFormSkin*>(F->FindComponent("spFormSkin1"));
    ASSERT_NE(Frame, nullptr);
    EXPECT_FALSE(Frame->Sizeable());
    EXPECT_EQ(Frame->DraggAble(), C.Draggable);
    EXPECT_TRUE(Frame->BorderIcons().Empty());
  }
  EXPECT_EQ(Screen->FormCount(), 8);
}

TEST(FormShells, ASkinnedShellShowsItsFrame) {
  vantrel::uitest::FormsSession S;
  TConvForm* Form = nullptr;
  Application->CreateForm(Form);
  TOwned<TspSkinData> Skin = CreateOwned<TspSkinData>(nullptr);
  Skin->LoadFromFile(vantrel::test::TestSkinDir(vantrel::skingen::TestSkinFolder) + "/" +
                     vantrel::skingen::SkinIniName);
  Form->spFormSkin1->SetSkinData(Skin.get());
  Form->Show();
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(Form->Visible());
  vantrel::display::SavePng(S.Session.CaptureScreen(), testing::TempDir() + "ConvForm.png");
  Form->Hide();
  Form->spFormSkin1->SetSkinData(nullptr);
}
