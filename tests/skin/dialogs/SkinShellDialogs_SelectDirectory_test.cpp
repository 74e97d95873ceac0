// The folder picker and the edit with a folder button: where the tree starts, what OK and
// Cancel give back, the size kept between showings, the tool bar's path edit and New
// Folder, and the form freed every time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessPng.h"
#include "platform/win/Keyboard.h"
#include "tests/skin/dialogs/ShellDialogFixture.h"

using vantrel::uitest::ShellDialogTest;

namespace {

class SelectDirectoryTest : public ShellDialogTest<TspSelDirDlgForm> {
 protected:
  TOwned<TspSkinSelectDirectoryDialog> Dlg;

  void SetUp() override {
    ShellDialogTest::SetUp();
    Dlg.reset(TspSkinSelectDirectoryDialog::Create(nullptr));
    MakeTree({"A/", "A/sub/", "B/", "B/x.mp4"});
  }
  void TearDown() override {
    Dlg.reset();
    ShellDialogTest::TearDown();
  }
  // The selected node's name and whether it is expanded.
  static std::string SelectedNode(TspSelDirDlgForm* F) {
    TTreeNode* N = F->DirTreeView->Selected();
    if (!N) return "<none>";
    return N->Text() + (N->Expanded() ? " (expanded)" : "");
  }
  void EnterPath(TspSelDirDlgForm* F, const std::string& Text) {
    F->DirEdit->SetText("");
    F->DirEdit->SetFocus();
    S->Session.Type(Text);
    S->Session.Key(VK_RETURN);
  }
};

}  // namespace

TEST_F(SelectDirectoryTest, WithoutAnExistingFolderComputerIsSelectedAndCancelKeepsDirectory) {
  for (const std::string& Start : {std::string(), At("missing")}) {
    SCOPED_TRACE(Start);
    Dlg->SetDirectory(Start);
    std::string Node, Caption;
    TRect Client;
    Play({[&](TspSelDirDlgForm* F) {
      Node = SelectedNode(F);
      Caption = F->Caption();
      Client = F->ClientRect();
      vantrel::display::SavePng(S->Session.Capture(F->Handle()), testing::TempDir() + "skin-select-folder.png");
      S->Session.Key(VK_ESCAPE);
    }});
    EXPECT_FALSE(Dlg->Execute());
    EXPECT_EQ(Node, "Computer (expanded)");
    EXPECT_EQ(Caption, "Select folder");
    EXPECT_EQ(RectWidth(Client), 280);
    EXPECT_EQ(RectHeight(Client), 280);
    EXPECT_EQ(Dlg->Directory(), Start);
    EXPECT_EQ(FormsAlive(), 0);
  }
}

TEST_F(SelectDirectoryTest, AnExistingFolderOpensSelectedOkReturnsItAndTheSizeCarriesOver) {
  Dlg->SetDirectory(At("A"));
  std::string Node, Path;
  Play({[&](TspSelDirDlgForm* F) {
    Node = SelectedNode(F);
    Path = F->DirTreeView->Path();
    F->SetClientWidth(333);
    F->SetClientHeight(301);
    Click(F->OkButton);
  }});
  ASSERT_TRUE(Dlg->Execute());
  EXPECT_EQ(Node.substr(0, 1), "A");
  EXPECT_EQ(Path, At("A"));
  EXPECT_EQ(Dlg->Directory(), At("A"));
  EXPECT_EQ(Dlg->DialogWidth(), 333);
  EXPECT_EQ(Dlg->DialogHeight(), 301);

  TRect Client;
  Play({[&](TspSelDirDlgForm* F) {
    Client = F->ClientRect();
    S->Session.Key(VK_RETURN);  // OK is the default button
  }});
  ASSERT_TRUE(Dlg->Execute());
  EXPECT_EQ(RectWidth(Client), 333);
  EXPECT_EQ(RectHeight(Client), 301);
  EXPECT_EQ(Dlg->Directory(), At("A"));
}

TEST_F(SelectDirectoryTest, TheToolBarsEditFollowsTheTreeAndEnterTakesATypedFolder) {
  Dlg->SetShowToolBar(true);
  Dlg->SetDirectory(At("A"));
  std::vector<std::string> Edits;
  Play({[&](TspSelDirDlgForm* F) {
    Edits.push_back(F->DirEdit->Text());
    vantrel::display::SavePng(S->Session.Capture(F->Handle()), testing::TempDir() + "skin-select-folder-toolbar.png");
    F->DirTreeView->SetPath(At("B"));
    Edits.push_back(F->DirEdit->Text());
    S->Session.Key(VK_ESCAPE);
  }});
  EXPECT_FALSE(Dlg->Execute());
  EXPECT_EQ(Edits, (std::vector<std::string>{At("A"), At("B")}));
  EXPECT_EQ(Dlg->Directory(), At("A"));

  // Enter selects the folder typed (from the selected one when relative), and OK, the
  // default button, takes it.
  struct Case {
    std::string Typed, Chosen;
  } Cases[] = {
      {"../B", At("B")},
      {At("A/sub"), At("A/sub")},
      {"sub/", At("A/sub")},
      {"no such folder", At("A")},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Typed);
    Dlg->SetDirectory(At("A"));
    Play({[&](TspSelDirDlgForm* F) { EnterPath(F, C.Typed); }});
    EXPECT_TRUE(Dlg->Execute());
    EXPECT_EQ(Dlg->Directory(), C.Chosen);
  }
}

TEST_F(SelectDirectoryTest, NewFolderIsMadeOnceUnderTheSelectedFolder) {
  Dlg->SetShowToolBar(true);
  Dlg->SetDirectory(At("B"));
  std::string PathAfter;
  Play({[&](TspSelDirDlgForm* F) { Click(F->NewFolderToolButton); },
        [&](TspSelDirDlgForm* F) { Click(F->NewFolderToolButton); },
        [&](TspSelDirDlgForm* F) {
          PathAfter = F->DirTreeView->Path();
          S->Session.Key(VK_ESCAPE);
        }});
  EXPECT_FALSE(Dlg->Execute());
  EXPECT_TRUE(DirectoryExists(At("B/New Folder")));
  EXPECT_FALSE(DirectoryExists(At("B/New Folder(2)")));
  EXPECT_EQ(PathAfter, At("B")) << "nothing new is selected";
}

TEST_F(SelectDirectoryTest, OkOnTheRootReturnsItsNameWhichIsNoPath) {
  // A virtual folder's parsing name is its plain name (the shell's "::{...}" ids are not
  // shown to users).
  vantrel::win::ItemIdList Empty(GetDesktopIDList());
  const std::string DesktopName = NameOf(Desktop.Get(), Empty.Get(), SHGDN_NORMAL);
  Play({[&](TspSelDirDlgForm* F) {
    F->DirTreeView->Items()->GetFirstNode()->SetSelected(true);
    Click(F->OkButton);
  }});
  ASSERT_TRUE(Dlg->Execute());
  EXPECT_EQ(Dlg->Directory(), DesktopName);
  EXPECT_NE(DesktopName.substr(0, 1), "/");
}

TEST_F(SelectDirectoryTest, AnErrorFromOnCloseStillFreesTheForm) {
  Dlg->SetDirectory(At("A"));
  Integer Closed = 0;
  Dlg->OnClose = [&](TObject*) {
    ++Closed;
    throw Exception("closing failed");
  };
  Play({[&](TspSelDirDlgForm* F) { Click(F->OkButton); }});
  EXPECT_THROW(Dlg->Execute(), Exception);
  EXPECT_EQ(Closed, 1);
  EXPECT_EQ(FormsAlive(), 0);
  EXPECT_EQ(Dlg->Form(), nullptr);
}

// ---- the edit with a folder button ----

namespace {

class DirectoryEditTest : public ShellDialogTest<TspSelDirDlgForm> {
 protected:
  TOwned<TForm> Host = CreateOwned<TForm>(nullptr);
  TspSkinDirectoryEdit* Edit = nullptr;
  TOwned<TspSkinData> DlgSkin = CreateOwned<TspSkinData>(nullptr);

  void SetUp() override {
    ShellDialogTest::SetUp();
    MakeTree({"A/", "B/"});
    Host->SetBounds(10, 10, 300, 100);
    Edit = TspSkinDirectoryEdit::Create(Host.get());
    Edit->SetParent(Host.get());
    Edit->SetBounds(10, 10, 250, 21);
    Edit->SetDlgSkinData(DlgSkin.get());
    Host->Show();
    S->Session.PumpUntilIdle();
  }
  void TearDown() override {
    Host.reset();
    ShellDialogTest::TearDown();
  }
};

}  // namespace

TEST_F(DirectoryEditTest, ItsButtonPicksAFolderAndCancelLeavesTheText) {
  EXPECT_TRUE(Edit->ButtonMode());
  EXPECT_EQ(Edit->SkinDataName(), "buttonedit");
  ASSERT_NE(Edit->DirectoryDialog(), nullptr);
  EXPECT_EQ(Edit->DirectoryDialog()->Owner(), Edit);
  EXPECT_EQ(Edit->Text(), "") << "no text from the component's name";
  Edit->SetText(At("A"));
  std::string StartPath;
  TspSkinData* FrameSkin = nullptr;
  Play({[&](TspSelDirDlgForm* F) {
          StartPath = F->DirTreeView->Path();
          FrameSkin = F->DSF->SkinData();
          F->DirTreeView->SetPath(At("B"));
        },
        [&](TspSelDirDlgForm* F) { Click(F->OkButton); }});
  const TRect B = Edit->EditButtonRect();
  const TPoint P = Edit->ClientToScreen(Point((B.Left + B.Right) / 2, (B.Top + B.Bottom) / 2));
  S->Session.Press(P.X, P.Y);
  S->Session.Release(P.X, P.Y);
  S->Session.PumpUntilIdle();
  EXPECT_EQ(StartPath, At("A"));
  EXPECT_EQ(FrameSkin, DlgSkin.get());
  EXPECT_EQ(Edit->Text(), At("B"));

  Play({[&](TspSelDirDlgForm* F) {
          F->DirTreeView->SetPath(At("A"));
          S->Session.Key(VK_ESCAPE);
        }});
  Edit->ButtonClick(Edit);
  EXPECT_EQ(Edit->Text(), At("B"));
  EXPECT_EQ(FormsAlive(), 0);
}

TEST_F(DirectoryEditTest, SkinsFreedElsewhereAreForgottenByTheEditAndBothDialogs) {
  TOwned<TspSkinSelectDirectoryDialog> Picker(TspSkinSelectDirectoryDialog::Create(nullptr));
  TOwned<TspSkinOpenDialog> Open(TspSkinOpenDialog::Create(nullptr));
  TOwned<TspSkinData> Frame = CreateOwned<TspSkinData>(nullptr);
  TOwned<TspSkinData> Ctrl = CreateOwned<TspSkinData>(nullptr);
  Picker->SetSkinData(Frame.get());
  Picker->SetCtrlSkinData(Ctrl.get());
  Open->SetSkinData(Frame.get());
  Open->SetCtrlSkinData(Ctrl.get());
  Edit->SetDlgCtrlSkinData(Ctrl.get());
  Frame.reset();
  Ctrl.reset();
  DlgSkin.reset();
  EXPECT_EQ(Picker->SkinData(), nullptr);
  EXPECT_EQ(Picker->CtrlSkinData(), nullptr);
  EXPECT_EQ(Open->SkinData(), nullptr);
  EXPECT_EQ(Open->CtrlSkinData(), nullptr);
  EXPECT_EQ(Edit->DlgSkinData(), nullptr);
  EXPECT_EQ(Edit->DlgCtrlSkinData(), nullptr);
}
