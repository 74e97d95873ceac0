// The open and save dialog: its first showing, the names it accepts (typed, selected,
// absolute or relative), Enter in the name box, the folder history, the filter, what
// carries over between showings, new folders, save mode and the form freed every time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessPng.h"
#include "platform/rtl/StringList.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/dialogs/SkinFileCtrl.h"
#include "tests/skin/dialogs/ShellDialogFixture.h"
#include "tests/support/TestPaths.h"
#include "tools/skingen/SkinGenSpec.h"

using vantrel::uitest::ShellDialogTest;

namespace {

class OpenDialogTest : public ShellDialogTest<TspOpenDlgForm> {
 protected:
  TOwned<TspSkinOpenDialog> Dlg;

  void SetUp() override {
    ShellDialogTest::SetUp();
    Dlg.reset(TspSkinOpenDialog::Create(nullptr));
    MakeTree({"A/", "A/sub/", "A/one.mp4", "A/two.mp4", "A/notes.txt", "B/", "B/x.mp4", "C/", "D/", "other/",
              "other/clip.avi"});
  }
  void TearDown() override {
    Dlg.reset();
    ShellDialogTest::TearDown();
  }

  static std::vector<std::string> Rows(TspOpenDlgForm* F) {
    std::vector<std::string> R;
    for (Integer I = 0; I < F->FileListView->FolderCount(); ++I) R.push_back(F->FileListView->FolderAt(I)->DisplayName());
    return R;
  }
  static Integer RowOf(TspOpenDlgForm* F, const std::string& Name) {
    for (Integer I = 0; I < F->FileListView->FolderCount(); ++I)
      if (F->FileListView->FolderAt(I)->DisplayName() == Name) return I;
    return -1;
  }
  static void SelectRow(TspOpenDlgForm* F, const std::string& Name) {
    const Integer I = RowOf(F, Name);
    ASSERT_GE(I, 0) << Name;
    F->FileListView->Items()->Item(I)->SetSelected(true);
  }
  // Types Text into the name box (replacing what it holds) and presses Enter.
  void EnterName(TspOpenDlgForm* F, const std::string& Text) {
    F->FileNameEdit->SetText("");
    S->Session.Type(Text);
    S->Session.Key(VK_RETURN);
  }
  void Cancel(TspOpenDlgForm*) { S->Session.Key(VK_ESCAPE); }
  std::function<void(TspOpenDlgForm*)> CancelStep() {
    return [this](TspOpenDlgForm* F) { Cancel(F); };
  }
};

}  // namespace

TEST_F(OpenDialogTest, FirstShowingIsAListAtTheFilesFolderWithTheNameBoxFocused) {
  Dlg->SetFileName(At("A/one.mp4"));
  Dlg->Files()->Add("kept");
  TRect Client;
  std::string Caption, Path, Edit, Focused;
  TViewStyle Style = vsIcon;
  Play({[&](TspOpenDlgForm* F) {
          Client = F->ClientRect();
          Caption = F->Caption();
          Path = F->FileListView->Path();
          Style = F->FileListView->ViewStyle();
          Edit = F->FileNameEdit->Text();
          Focused = F->ActiveControl() == F->FileNameEdit && GetFocus() == F->FileNameEdit->Handle() ? "name box" : "other";
          vantrel::display::SavePng(S->Session.Capture(F->Handle()), testing::TempDir() + "skin-open-dialog.png");
        },
        CancelStep()});
  EXPECT_FALSE(Dlg->Execute());
  EXPECT_EQ(RectWidth(Client), 450);
  EXPECT_EQ(RectHeight(Client), 290);
  EXPECT_EQ(Caption, "Open file");
  EXPECT_EQ(Path, At("A"));
  EXPECT_EQ(Style, vsList);
  EXPECT_EQ(Edit, "one.mp4");
  EXPECT_EQ(Focused, "name box");
  EXPECT_EQ(Dlg->FileName(), At("A/one.mp4"));
  ASSERT_EQ(Dlg->Files()->Count(), 1);
  EXPECT_EQ(Dlg->Files()->Get(0), "kept");
  EXPECT_EQ(FormsAlive(), 0);
  EXPECT_EQ(Dlg->Form(), nullptr);
}

TEST_F(OpenDialogTest, TypedNamesAreAcceptedOnlyWhenTheFileExistsWhereverTheyPoint) {
  struct Case {
    std::string Typed;
    bool ByEnter;
    std::string Accepted;  // empty: the form stays
  } Cases[] = {
      {"clip", true, ""},  // clip.avi is not in A
      {"clip", false, ""},
      {"one", true, ""},  // one.avi is not there either
      {"one.mp4", true, At("A/one.mp4")},
      {At("B/x.mp4"), true, At("B/x.mp4")},
      {At("B/x.mp4"), false, At("B/x.mp4")},
      {"../other/clip.avi", true, At("other/clip.avi")},
      {"../other/clip.avi", false, At("other/clip.avi")},
      {"../other/clip", false, At("other/clip.avi")},
      {"../missing/clip.avi", true, ""},
  };
  Dlg->SetDefaultExt("avi");
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Typed + (C.ByEnter ? " + Enter" : " + Open"));
    Dlg->SetFileName(At("A/"));
    Boolean StayedOpen = false;
    Play({[&](TspOpenDlgForm* F) {
            if (C.ByEnter) {
              EnterName(F, C.Typed);
            } else {
              F->FileNameEdit->SetText(C.Typed);
              Click(F->OpenButton);
            }
          },
          [&](TspOpenDlgForm* F) {
            StayedOpen = F->Visible();
            Cancel(F);
          }});
    const Boolean Result = Dlg->Execute();
    EXPECT_EQ(Result, !C.Accepted.empty());
    EXPECT_EQ(StayedOpen, C.Accepted.empty());
    EXPECT_EQ(Dlg->FileName(), C.Accepted.empty() ? At("A/") : C.Accepted);
    EXPECT_EQ(Dlg->Files()->Count(), 0) << "no row was selected";
    EXPECT_TRUE(S->Boxes.empty()) << "a missing file gives no message";
  }

  vantrel::test::WriteFileBytes(At("A/clip.avi"), "x");
  Dlg->SetFileName(At("A/"));
  Play({[&](TspOpenDlgForm* F) { EnterName(F, "clip"); }, CancelStep()});
  EXPECT_TRUE(Dlg->Execute());
  EXPECT_EQ(Dlg->FileName(), At("A/clip.avi"));
}

TEST_F(OpenDialogTest, SelectedFilesComeBackInRowOrderWithoutTheFolders) {
  Dlg->SetFileName(At("A/"));
  Dlg->SetMultiSelection(true);
  Play({[&](TspOpenDlgForm* F) {
          SelectRow(F, "two.mp4");
          SelectRow(F, "sub");
          SelectRow(F, "one.mp4");
          Click(F->OpenButton);
        },
        CancelStep()});
  ASSERT_TRUE(Dlg->Execute());
  ASSERT_EQ(Dlg->Files()->Count(), 2);
  EXPECT_EQ(Dlg->Files()->Get(0), At("A/one.mp4"));
  EXPECT_EQ(Dlg->Files()->Get(1), At("A/two.mp4"));
  EXPECT_TRUE(Dlg->FileName() == At("A/one.mp4") || Dlg->FileName() == At("A/two.mp4")) << Dlg->FileName();
}

TEST_F(OpenDialogTest, EnterFiltersByAPatternAndOpensAnExistingFolderTypedWithASlash) {
  Dlg->SetFileName(At("A/"));
  std::vector<std::string> Filtered;
  std::vector<std::string> Paths;
  Boolean Open = false;
  Play({[&](TspOpenDlgForm* F) { EnterName(F, "*.mp4"); },
        [&](TspOpenDlgForm* F) {
          Filtered = Rows(F);
          EnterName(F, "../B");
        },
        [&](TspOpenDlgForm* F) {
          Paths.push_back(F->FileListView->Path());
          EnterName(F, At("C") + "/");
        },
        [&](TspOpenDlgForm* F) {
          Paths.push_back(F->FileListView->Path());
          EnterName(F, "../missing/");
        },
        [&](TspOpenDlgForm* F) {
          Paths.push_back(F->FileListView->Path());
          Open = F->Visible();
          Cancel(F);
        }});
  EXPECT_FALSE(Dlg->Execute());
  EXPECT_EQ(Filtered, (std::vector<std::string>{"sub", "one.mp4", "two.mp4"}));
  EXPECT_EQ(Paths, (std::vector<std::string>{At("B"), At("C"), At("C")}));
  EXPECT_TRUE(Open);
}

TEST_F(OpenDialogTest, BackReturnsThroughTheHistoryAndRereadingAddsNothing) {
  struct Case {
    std::vector<std::string> Route;  // folders shown in turn from A; "<" presses Back
    std::string Shown;
  } Cases[] = {
      {{"B", "C", "<", "<"}, "A"},
      {{"B", "C", "<", "D", "<"}, "B"},
      {{"<"}, "A"},
      {{"B", "B", "<"}, "A"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Shown);
    Dlg->SetFileName(At("A/"));
    std::vector<std::function<void(TspOpenDlgForm*)>> Route;
    for (const std::string& Step : C.Route)
      Route.push_back([this, Step](TspOpenDlgForm* F) {
        if (Step == "<")
          Click(F->BackToolButton);
        else
          F->FileListView->SetPath(At(Step));
      });
    std::string Shown;
    Integer Before = -1, After = -1;
    Route.push_back([&](TspOpenDlgForm* F) {
      Shown = F->FileListView->Path();
      Before = F->FolderHistory.Count();
      F->FileListView->Refresh();
      After = F->FolderHistory.Count();
      Cancel(F);
    });
    Play(Route);
    EXPECT_FALSE(Dlg->Execute());
    EXPECT_EQ(Shown, At(C.Shown));
    EXPECT_EQ(After, Before) << "re-reading the folder shown";
  }
}

TEST_F(OpenDialogTest, FolderChangesAndSelectionChangesAreReportedByTheForm) {
  Dlg->SetFileName(At("A/"));
  std::vector<TObject*> Senders;
  Dlg->OnFolderChange = [&](TObject* Sender) { Senders.push_back(Sender); };
  TObject* Form = nullptr;
  size_t OnFolder = 0, OnSelect = 0;
  std::string Edit;
  Play({[&](TspOpenDlgForm* F) {
          Form = F;
          Senders.clear();
          F->FileListView->SetPath(At("B"));
          OnFolder = Senders.size();
          SelectRow(F, "x.mp4");
          OnSelect = Senders.size() - OnFolder;
          Edit = F->FileNameEdit->Text();
          Cancel(F);
        }});
  EXPECT_FALSE(Dlg->Execute());
  EXPECT_GE(OnFolder, 1u);
  EXPECT_GE(OnSelect, 1u);
  for (TObject* Sender : Senders) EXPECT_EQ(Sender, Form);
  EXPECT_EQ(Edit, "x.mp4") << "a selected file's name goes into the name box";
}

TEST_F(OpenDialogTest, FilterIndexZeroTakesTheLastEntryAndSettingsCarryOver) {
  Dlg->SetFileName(At("A/"));
  Dlg->SetFilter("Videos|*.mp4|Texts|*.txt");
  Dlg->SetFilterIndex(0);
  std::string Mask;
  std::vector<std::string> Listed;
  Integer OpenRightGap = 0, EditRightGap = 0;
  Play({[&](TspOpenDlgForm* F) {
          Mask = F->FileListView->Mask();
          Listed = Rows(F);
          F->SetClientWidth(520);
          F->SetClientHeight(330);
          // The bottom row keeps its distances from the right edge.
          OpenRightGap = F->BottomPanel->ClientWidth() - (F->OpenButton->Left() + F->OpenButton->Width());
          EditRightGap = F->BottomPanel->ClientWidth() - (F->FileNameEdit->Left() + F->FileNameEdit->Width());
          F->ReportMenuItem->Click();  // the view menu's Details
          EnterName(F, At("B/x.mp4"));
        },
        CancelStep()});
  ASSERT_TRUE(Dlg->Execute()) << "x.mp4 is there, whatever the filter";
  EXPECT_EQ(Mask, "*.txt");
  EXPECT_EQ(Listed, (std::vector<std::string>{"sub", "notes.txt"}));
  EXPECT_EQ(Dlg->FilterIndex(), 2);
  EXPECT_EQ(Dlg->DialogWidth(), 520);
  EXPECT_EQ(Dlg->DialogHeight(), 330);
  EXPECT_EQ(Dlg->ListStyle(), vsReport);
  EXPECT_EQ(OpenRightGap, 10);
  EXPECT_EQ(EditRightGap, 90);

  std::string Path;
  TRect Client;
  TViewStyle Style = vsIcon;
  Boolean ReportChecked = false;
  Play({[&](TspOpenDlgForm* F) {
          Path = F->FileListView->Path();
          Client = F->ClientRect();
          Style = F->FileListView->ViewStyle();
          ReportChecked = F->ReportMenuItem->Checked() && !F->ListMenuItem->Checked();
          Mask = F->FileListView->Mask();
          Cancel(F);
        }});
  EXPECT_FALSE(Dlg->Execute());
  EXPECT_EQ(Path, At("B")) << "the chosen file's folder";
  EXPECT_EQ(RectWidth(Client), 520);
  EXPECT_EQ(RectHeight(Client), 330);
  EXPECT_EQ(Style, vsReport);
  EXPECT_TRUE(ReportChecked);
  EXPECT_EQ(Mask, "*.txt");
}

TEST_F(OpenDialogTest, NewFolderMakesNumberedFoldersAndOpensTheNewRowForRenaming) {
  Dlg->SetFileName(At("A/"));
  Boolean Editing = false;
  std::vector<std::string> BoxesSeen;
  Play({[&](TspOpenDlgForm* F) { Click(F->NewFolderToolButton); },
        [&](TspOpenDlgForm* F) {
          Editing = F->FileListView->IsEditing();
          S->Session.Type("Clips");
          S->Session.Key(VK_RETURN);
        },
        [&](TspOpenDlgForm* F) { Click(F->NewFolderToolButton); },
        [&](TspOpenDlgForm*) {
          // A name that is taken: the rename is refused and both folders stay.
          S->Session.Type("Clips");
          S->Session.Key(VK_RETURN);
        },
        [&](TspOpenDlgForm* F) {
          BoxesSeen = S->Boxes;
          Cancel(F);
        }});
  EXPECT_FALSE(Dlg->Execute());
  EXPECT_TRUE(Editing);
  EXPECT_TRUE(DirectoryExists(At("A/Clips")));
  EXPECT_FALSE(DirectoryExists(At("A/New Folder")));
  EXPECT_TRUE(DirectoryExists(At("A/New Folder(2)")));
  ASSERT_EQ(BoxesSeen.size(), 1u);
  EXPECT_EQ(BoxesSeen[0], "Rename to Clips failed.");

  // With "New Folder" there, the first press of a showing makes nothing; a file in the way
  // of the third reaches the application's handler and the dialog stays open.
  ASSERT_TRUE(CreateDir(At("B/New Folder")));
  vantrel::test::WriteFileBytes(At("B/New Folder(3)"), "x");
  Dlg->SetFileName(At("B/"));
  S->Boxes.clear();
  Boolean StillOpen = false;
  std::vector<std::string> Folders;
  Play({[&](TspOpenDlgForm* F) { Click(F->NewFolderToolButton); },
        [&](TspOpenDlgForm* F) {
          Folders = Rows(F);
          Click(F->NewFolderToolButton);
        },
        [&](TspOpenDlgForm* F) {
          // Leaves the editing of New Folder(2) without renaming it.
          F->FileListView->Items()->Item(RowOf(F, "New Folder(2)"))->CancelEdit();
        },
        [&](TspOpenDlgForm* F) { Click(F->NewFolderToolButton); },
        [&](TspOpenDlgForm* F) {
          StillOpen = F->Visible();
          Cancel(F);
        }});
  EXPECT_FALSE(Dlg->Execute());
  // "*.*" lists only names with a dot: the file in the way is not shown.
  EXPECT_EQ(Folders, (std::vector<std::string>{"New Folder", "x.mp4"}));
  EXPECT_TRUE(DirectoryExists(At("B/New Folder(2)")));
  EXPECT_TRUE(FileExists(At("B/New Folder(3)")));
  EXPECT_TRUE(StillOpen);
  ASSERT_EQ(S->Boxes.size(), 1u);
  EXPECT_NE(S->Boxes[0].find(At("B/New Folder(3)")), std::string::npos) << S->Boxes[0];
}

TEST_F(OpenDialogTest, SaveModeAsksAboutTheNameItWillReturn) {
  Dlg->SetSaveMode(true);
  Dlg->SetOverwritePromt(true);
  Dlg->SetFilter("AVI|*.avi|MKV|*.mkv");
  Dlg->SetDefaultExt("mp4");
  Dlg->SetFileName(At("A/"));
  vantrel::test::WriteFileBytes(At("A/name.mp4"), "x");
  // Only name.mp4 exists: no question, and the filter's extension completes the name.
  std::string Button;
  Play({[&](TspOpenDlgForm* F) {
    Button = F->OpenButton->Caption();
    EnterName(F, "name");
  }});
  ASSERT_TRUE(Dlg->Execute());
  EXPECT_EQ(Button, "&Save");
  EXPECT_EQ(Dlg->FileName(), At("A/name.avi"));
  EXPECT_EQ(Dlg->Files()->Count(), 0);

  vantrel::test::WriteFileBytes(At("A/name.avi"), "x");
  Dlg->SetFileName(At("A/"));
  std::string Question;
  Boolean OpenAfterCancel = false, OpenAfterStar = false;
  Play({[&](TspOpenDlgForm* F) { EnterName(F, "name"); },
        [&](TspOpenDlgForm*) {
          TspMessageForm* M = ShownMessage();
          ASSERT_NE(M, nullptr) << "no question for name.avi";
          Question = M->Message->Caption();
          S->Session.Key(VK_ESCAPE);
        },
        [&](TspOpenDlgForm* F) {
          OpenAfterCancel = F->Visible() && !ShownMessage();
          EnterName(F, "na*e");
        },
        [&](TspOpenDlgForm* F) {
          OpenAfterStar = F->Visible();
          F->FileNameEdit->SetText("name");
          Click(F->OpenButton);
        },
        [&](TspOpenDlgForm*) {
          ASSERT_NE(ShownMessage(), nullptr);
          S->Session.Key(VK_RETURN);
        }});
  ASSERT_TRUE(Dlg->Execute());
  EXPECT_EQ(Question, "Do you want to overwrite old file?");
  EXPECT_TRUE(OpenAfterCancel);
  EXPECT_TRUE(OpenAfterStar);
  EXPECT_EQ(Dlg->FileName(), At("A/name.avi"));
}

TEST_F(OpenDialogTest, ChangingTheFileTypeInSaveModeSwapsTheTypedExtension) {
  Dlg->SetSaveMode(true);
  Dlg->SetFilter("AVI|*.avi|MKV|*.mkv|All files|*.*");
  Dlg->SetFileName(At("A/"));
  std::vector<std::string> Texts;
  Play({[&](TspOpenDlgForm* F) {
    F->FileNameEdit->SetText("holiday.avi");
    F->FilterComboBox->SetItemIndex(1);
    Texts.push_back(F->FileNameEdit->Text());
    F->FilterComboBox->SetItemIndex(2);
    Texts.push_back(F->FileNameEdit->Text());
    Cancel(F);
  }});
  EXPECT_FALSE(Dlg->Execute());
  EXPECT_EQ(Texts, (std::vector<std::string>{"holiday.mkv", "holiday.mkv"}));
  EXPECT_EQ(Dlg->FilterIndex(), 3);
}

TEST_F(OpenDialogTest, AFolderThatCannotBeShownRaisesAfterCloseAndTheFormIsGone) {
  Dlg->SetFileName("/no such folder/at all/x.mp4");
  std::vector<std::string> Events;
  Dlg->OnShow = [&](TObject*) { Events.push_back("show"); };
  Dlg->OnClose = [&](TObject* Sender) {
    Events.push_back(Sender == Dlg.get() && Dlg->Form() ? "close with the form" : "close");
  };
  EXPECT_THROW(Dlg->Execute(), Exception);
  EXPECT_EQ(Events, (std::vector<std::string>{"show", "close with the form"}));
  EXPECT_EQ(FormsAlive(), 0);
  EXPECT_EQ(Dlg->Form(), nullptr);
}

TEST_F(OpenDialogTest, WhileShownTheDialogAnswersTheSelectedFileAndTakesANewName) {
  Dlg->SetFileName(At("B/"));
  std::string Before, Selected, Edit;
  Play({[&](TspOpenDlgForm* F) {
    Before = Dlg->GetSelectedFile();
    SelectRow(F, "x.mp4");
    Selected = Dlg->GetSelectedFile();
    Dlg->SetFileName("/elsewhere/typed.mp4");
    Edit = F->FileNameEdit->Text();
    Cancel(F);
  }});
  EXPECT_FALSE(Dlg->Execute());
  EXPECT_EQ(Before, "");
  EXPECT_EQ(Selected, At("B/x.mp4"));
  EXPECT_EQ(Edit, "/elsewhere/typed.mp4") << "the whole value";
  EXPECT_EQ(Dlg->GetSelectedFile(), "") << "no form";
}

TEST_F(OpenDialogTest, ASkinsTextTableNamesTheControlsAndTheSkinDrawsThem) {
  TOwned<TspSkinData> Frame = CreateOwned<TspSkinData>(nullptr);
  TOwned<TspSkinData> Ctrl = CreateOwned<TspSkinData>(nullptr);
  const std::string SkinIni =
      vantrel::test::BinDir() + "/" + vantrel::skingen::DefaultSkinFolder + "/" + vantrel::skingen::SkinIniName;
  Frame->LoadFromFile(SkinIni);
  Ctrl->LoadFromFile(SkinIni);
  TOwned<TspResourceStrData> Texts = CreateOwned<TspResourceStrData>(nullptr);
  TOwned<TStringList> Lines = CreateOwned<TStringList>();
  const std::vector<std::pair<const char*, const char*>> Keys = {
      {"FLV_LOOKIN", "Suchen in: "},         {"MSG_BTN_BACK_HINT", "Zurück"},
      {"MSG_BTN_UP_HINT", "Nach oben"},      {"MSG_BTN_NEWFOLDER_HINT", "Neuer Ordner anlegen"},
      {"MSG_BTN_VIEWMENU_HINT", "Ansicht"},  {"MSG_LV_ICON", "Große Symbole"},
      {"MSG_LV_SMALLICON", "Kleine Symbole"}, {"MSG_LV_LIST", "Liste"},
      {"MSG_LV_DETAILS", "Details"},          {"MSG_BTN_OPEN", "Ö&ffnen"},
      {"MSG_BTN_CANCEL", "Abbrechen"},        {"MSG_FILENAME", "Dateiname:"},
      {"MSG_FILETYPE", "Dateityp:"}};
  for (auto [Key, Text] : Keys) Lines->Add(String(Key) + "=" + Text);
  Texts->SetResStrings(Lines.get());
  Ctrl->SetResourceStrData(Texts.get());
  Dlg->SetSkinData(Frame.get());
  Dlg->SetCtrlSkinData(Ctrl.get());
  Dlg->SetFileName(At("A/"));
  std::vector<std::string> Seen;
  Integer ButtonSkin = -1, MinWidth = 0, ClientWidth = 0;
  Play({[&](TspOpenDlgForm* F) {
    for (TControl* C : std::initializer_list<TControl*>{F->BackToolButton, F->UpToolButton, F->NewFolderToolButton,
                                                       F->StyleToolButton})
      Seen.push_back(C->Hint());
    for (TMenuItem* I : {F->IconMenuItem, F->SmallIconMenuItem, F->ListMenuItem, F->ReportMenuItem})
      Seen.push_back(I->Caption());
    Seen.push_back(F->Drivelabel->Caption());
    Seen.push_back(F->OpenFileLabel->Caption());
    Seen.push_back(F->FileTypeLabel->Caption());
    Seen.push_back(F->OpenButton->Caption());
    Seen.push_back(F->CancelButton->Caption());
    ButtonSkin = F->OpenButton->FIndex;
    MinWidth = F->DSF->GetMinWidth();
    ClientWidth = F->ClientWidth();
    vantrel::display::SavePng(S->Session.Capture(F->Handle()), testing::TempDir() + "skin-open-dialog-laconic.png");
    Cancel(F);
  }});
  EXPECT_FALSE(Dlg->Execute());
  EXPECT_EQ(Seen, (std::vector<std::string>{"Zurück", "Nach oben", "Neuer Ordner anlegen", "Ansicht", "Große Symbole",
                                            "Kleine Symbole", "Liste", "Details", "Suchen in: ", "Dateiname:",
                                            "Dateityp:", "Ö&ffnen", "Abbrechen"}));
  EXPECT_NE(ButtonSkin, -1) << "the buttons are drawn from the controls' skin";
  EXPECT_GE(ClientWidth, std::min(MinWidth, 450));
}

TEST_F(OpenDialogTest, ADoubleClickedOrEnteredFileRowIsChosen) {
  struct Case {
    bool SaveMode, ByEnter;
    std::vector<int> Answers;  // to the overwrite question, in turn
    bool Chosen;
  } Cases[] = {
      {false, false, {}, true},
      {false, true, {}, true},
      {true, false, {VK_ESCAPE}, false},
      {true, false, {VK_RETURN}, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.SaveMode ? "save" : "open") + (C.ByEnter ? " Enter" : " double click"));
    Dlg->SetSaveMode(C.SaveMode);
    Dlg->SetOverwritePromt(true);
    Dlg->SetFileName(At("B/"));
    std::vector<std::function<void(TspOpenDlgForm*)>> Steps{[&](TspOpenDlgForm* F) {
      const Integer Row = RowOf(F, "x.mp4");
      ASSERT_GE(Row, 0);
      const TRect R = F->FileListView->Items()->Item(Row)->DisplayRect(drLabel);
      const TPoint P = F->FileListView->ClientToScreen(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
      S->Session.Press(P.X, P.Y);
      S->Session.Release(P.X, P.Y);
      if (C.ByEnter) {
        S->Session.Key(VK_RETURN);
      } else {
        S->Session.Press(P.X, P.Y);
        S->Session.Release(P.X, P.Y);
      }
    }};
    for (int Answer : C.Answers)
      Steps.push_back([this, Answer](TspOpenDlgForm*) {
        ASSERT_NE(ShownMessage(), nullptr) << "the overwrite question";
        S->Session.Key(static_cast<WORD>(Answer));
      });
    Steps.push_back(CancelStep());
    Play(Steps);
    EXPECT_EQ(Dlg->Execute(), C.Chosen);
    EXPECT_EQ(Dlg->FileName(), C.Chosen ? At("B/x.mp4") : At("B/"));
  }
}

TEST_F(OpenDialogTest, HiddenFilesAreListedOnlyWhenAskedFor) {
  vantrel::test::WriteFileBytes(At("B/.secret.mp4"), "x");
  for (const bool Show : {false, true}) {
    SCOPED_TRACE(Show ? "shown" : "hidden");
    Dlg->SetShowHiddenFiles(Show);
    Dlg->SetFileName(At("B/"));
    std::vector<std::string> Listed;
    Play({[&](TspOpenDlgForm* F) {
      Listed = Rows(F);
      Cancel(F);
    }});
    EXPECT_FALSE(Dlg->Execute());
    EXPECT_EQ(Listed, Show ? (std::vector<std::string>{".secret.mp4", "x.mp4"}) : (std::vector<std::string>{"x.mp4"}));
  }
}

TEST_F(OpenDialogTest, WithoutTheExistenceCheckAnyTypedNameIsTakenAndCompleted) {
  Dlg->SetCheckFileExists(false);
  Dlg->SetDefaultExt("avi");
  struct Case {
    std::string Typed, Returned;
  } Cases[] = {
      {"fresh", At("A/fresh.avi")},
      {"fresh.mkv", At("A/fresh.mkv")},
      {"../new/fresh", At("new/fresh.avi")},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Typed);
    Dlg->SetFileName(At("A/"));
    Play({[&](TspOpenDlgForm* F) {
            F->FileNameEdit->SetText(C.Typed);
            Click(F->OpenButton);
          },
          CancelStep()});
    EXPECT_TRUE(Dlg->Execute());
    EXPECT_EQ(Dlg->FileName(), C.Returned);
  }
}

// Esc while the file-type list is open closes the list and leaves the dialog up; the next
// Esc cancels the dialog.
TEST_F(OpenDialogTest, EscInTheOpenFileTypeListClosesOnlyTheList) {
  Dlg->SetFileName(At("A/"));
  bool ListOpened = false, DialogStays = false, ListClosed = false;
  Play({[&](TspOpenDlgForm* F) {
          F->FilterComboBox->SetFocus();
          F->FilterComboBox->DropDown();
        },
        [&](TspOpenDlgForm* F) {
          ListOpened = F->FilterComboBox->IsPopupVisible();
          S->Session.Key(VK_ESCAPE);
        },
        [&](TspOpenDlgForm* F) {
          DialogStays = F->Visible() && F->ModalResult() == mrNone;
          ListClosed = !F->FilterComboBox->IsPopupVisible();
          Cancel(F);
        }});
  EXPECT_FALSE(Dlg->Execute());
  EXPECT_TRUE(ListOpened);
  EXPECT_TRUE(DialogStays);
  EXPECT_TRUE(ListClosed);
}
