// Before menus close, the visible MDI main form's visible, enabled combo boxes and edits
// are told to cancel their drop-downs; nothing else is.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/ui/ControlMessages.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

class FormSkinCancelDropDownTest : public ::testing::Test {
 protected:
  uitest::FormsSession S;
  TOwned<TForm> Form = CreateOwned<TForm>(nullptr);
  TspFormSkin* FS = nullptr;
  std::map<std::string, int> Cancels;

  void SetUp() override {
    Form->SetBounds(0, 0, 500, 400);
    FS = Create<TspFormSkin>(Form.get());
    Add(Create<TspSkinComboBox>(Form.get()), "combo");
    Add(Create<TspSkinComboBox>(Form.get()), "hidden combo")->SetVisible(false);
    Add(Create<TspSkinComboBox>(Form.get()), "disabled combo")->SetEnabled(false);
    Add(Create<TspSkinEdit>(Form.get()), "edit");
    Add(Create<TspSkinEdit>(Form.get()), "hidden edit")->SetVisible(false);
    Add(Create<TspSkinMemo>(Form.get()), "memo");
    Add(Create<TspSkinListBox>(Form.get()), "list box");
  }

  // Counts the CM_CANCELMODE the control gets under Name.
  template <class T>
  T* Add(T* C, const std::string& Name) {
    C->SetParent(Form.get());
    Cancels[Name] = 0;
    TWndMethod Old = C->WindowProc;
    C->WindowProc = [this, Name, Old](TMessage& M) {
      if (M.Msg == CM_CANCELMODE) ++Cancels[Name];
      Old(M);
    };
    return C;
  }

  void ShowAs(TFormStyle Style) {
    Form->SetFormStyle(Style);
    Form->Show();
    S.Session.PumpUntilIdle();
    // Showing the form moves and activates it, which already closes menus.
    for (auto& [Name, N] : Cancels) N = 0;
  }

  std::map<std::string, int> Only(std::initializer_list<std::string> Names) {
    std::map<std::string, int> M;
    for (auto& [Name, N] : Cancels) M[Name] = 0;
    for (auto& Name : Names) M[Name] = 1;
    return M;
  }
};

TEST_F(FormSkinCancelDropDownTest, AVisibleMDIMainFormReachesItsShownEnabledCombosAndEdits) {
  ShowAs(fsMDIForm);
  FS->CancelControlsDropDown();
  EXPECT_EQ(Cancels, Only({"combo", "edit"}));
}

TEST_F(FormSkinCancelDropDownTest, ClosingMenusOnAMessageCancelsTheDropDowns) {
  ShowAs(fsMDIForm);
  TMessage M{};
  M.Msg = WM_NCLBUTTONDOWN;
  FS->CloseMenusOnMessage(M);
  EXPECT_EQ(Cancels, Only({"combo", "edit"}));
}

TEST_F(FormSkinCancelDropDownTest, AnOrdinaryFormReachesNothing) {
  ShowAs(fsNormal);
  FS->CancelControlsDropDown();
  EXPECT_EQ(Cancels, Only({}));
}

TEST_F(FormSkinCancelDropDownTest, AHiddenMDIMainFormReachesNothing) {
  Form->SetFormStyle(fsMDIForm);
  FS->CancelControlsDropDown();
  EXPECT_EQ(Cancels, Only({}));
}

TEST_F(FormSkinCancelDropDownTest, AComponentBeingDestroyedReachesNothing) {
  ShowAs(fsMDIForm);
  FS->Destroying();
  FS->CancelControlsDropDown();
  EXPECT_EQ(Cancels, Only({}));
}

}  // namespace
}  // namespace vantrel::frametest
