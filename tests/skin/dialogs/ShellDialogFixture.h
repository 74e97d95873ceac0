// The file dialogs under test: a scratch shell namespace (home, a fixed volume table), a
// folder tree made by the test, the headless application, and steps played from the
// application's idle work while a dialog's modal loop runs: each step sees the dialog on
// the screen and may queue input; the next runs once that is handled.
#pragma once

#include <limits.h>
#include <stdlib.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/FileUtils.h"
#include "skin/dialogs/SkinMessageDlg.h"
#include "skin/dialogs/SkinShellDialogs.h"
#include "tests/platform/win/ShellNamespaceFixture.h"
#include "tests/support/TempDir.h"
#include "tests/support/UiFormsFixture.h"

namespace vantrel::uitest {

template <class TDialogForm>
class ShellDialogTest : public test::ShellNamespaceTest {
 protected:
  std::unique_ptr<FormsSession> S;
  std::string Dir;  // the scratch tree, resolved
  std::vector<std::function<void(TDialogForm*)>> Steps;
  size_t Next = 0;

  void SetUp() override {
    test::ShellNamespaceTest::SetUp();
    char Real[PATH_MAX];
    ASSERT_NE(realpath(Outside.c_str(), Real), nullptr);
    Dir = Real;
    S = std::make_unique<FormsSession>();
    Application->OnIdle = [this](TObject*, Boolean& Done) {
      Done = true;
      if (Next >= Steps.size()) return;
      if (TDialogForm* F = Shown()) Steps[Next++](F);
    };
  }
  void TearDown() override {
    S.reset();
    test::ShellNamespaceTest::TearDown();
  }

  // Plays Steps (from the first) during the next showing.
  void Play(std::vector<std::function<void(TDialogForm*)>> NewSteps) {
    Steps = std::move(NewSteps);
    Next = 0;
  }

  static TDialogForm* Shown() {
    for (Integer I = 0; I < Screen->CustomFormCount(); ++I)
      if (auto* F = dynamic_cast<TDialogForm*>(Screen->CustomForms(I)); F && F->Visible()) return F;
    return nullptr;
  }
  static Integer FormsAlive() {
    Integer N = 0;
    for (Integer I = 0; I < Screen->CustomFormCount(); ++I)
      N += dynamic_cast<TDialogForm*>(Screen->CustomForms(I)) != nullptr;
    return N;
  }
  static TspMessageForm* ShownMessage() {
    for (Integer I = 0; I < Screen->CustomFormCount(); ++I)
      if (auto* F = dynamic_cast<TspMessageForm*>(Screen->CustomForms(I)); F && F->Visible()) return F;
    return nullptr;
  }

  void Click(TControl* C) {
    const TPoint P = CentreOf(C);
    S->Session.Press(P.X, P.Y);
    S->Session.Release(P.X, P.Y);
  }
  // Folders (names ending in "/") and files under Dir.
  void MakeTree(std::initializer_list<std::string> Entries) {
    for (const std::string& E : Entries) {
      if (E.back() == '/')
        ASSERT_TRUE(ForceDirectories(Dir + "/" + E));
      else
        test::WriteFileBytes(Dir + "/" + E, "x");
    }
  }
  std::string At(const std::string& Relative) const { return Dir + "/" + Relative; }
};

}  // namespace vantrel::uitest
