// A main window for the editing dialogs' tests: one entry, the private SDL copies made
// from the system's library in a scratch folder, and reports kept in the unit state.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/EditorHost.h"
#include "app/main.h"
#include "platform/rtl/Format.h"
#include "tests/media/PlayerTestKit.h"
#include "tests/support/TempDir.h"
#include "tests/support/UiFormsFixture.h"

namespace vantrel::test {

class TFakeEditorHost : public app::TEditorHost {
 public:
  TFakeEditorHost() { UseHeadlessSDL(); }
  app::TMainUnitState& UnitState() override { return State; }
  app::TEntryTrim SelectedTrim() override { return Trim; }
  app::TEntryPicture SelectedPicture() override { return Picture; }
  void StoreTrim(Int64 TimeStart, Int64 TimeEnd, Int64 TrimmedLength) override {
    Trim.TimeStart = TimeStart;
    Trim.TimeEnd = TimeEnd;
    TrimmedLength_ = TrimmedLength;
    ++Stores;
  }
  void StorePicture(const app::TEntryPicture& Values) override {
    Picture = Values;
    ++Stores;
  }
  String PrepareSdlCopy(Integer Index) override {
    const std::string Name = Format("SDL_%d.so", {Index});
    CopyMediaFile(SystemSDLFile(), Dir.File(Name));
    return Name;
  }
  String SdlFolder() override { return Dir.Path(); }
  String LibAVFolder() override { return ""; }
  TCustomImageList* PlayerImages() override { return nullptr; }
  Integer PreviewVolume() override { return 0; }

  // The marks of the reports made so far.
  std::vector<String> Marks() const {
    std::vector<String> M;
    for (const auto& R : State.ErrorReports) M.push_back(R.Mark);
    return M;
  }

  app::TMainUnitState State;
  app::TEntryTrim Trim;
  app::TEntryPicture Picture;
  Int64 TrimmedLength_ = -1;
  Integer Stores = 0;
  TTempDir Dir;
};

// An editing dialog made by the application, served by a fake host, with a main window of
// its own so that closing the dialog does not end the program.
template <class TDialog>
class EditorDialogTest : public testing::Test {
 protected:
  vantrel::uitest::FormsSession S;
  TFakeEditorHost Host;
  TDialog* Form = nullptr;

  void SetUp() override {
    TForm* Main = nullptr;
    Application->CreateForm(Main);
    Application->CreateForm(Form);
    Form->SetHost(&Host);
  }
  void TearDown() override {
    if (Form->Visible()) Form->Close();
  }
};

}  // namespace vantrel::test
