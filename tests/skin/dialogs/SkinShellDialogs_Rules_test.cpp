// The file dialogs' shared rules: typed names resolved from the shown folder, extensions
// completed, Enter's meaning, new-folder names, the start folder and the folder history.
#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/SysEnv.h"
#include "skin/core/data/SkinData.h"
#include "skin/dialogs/SkinShellDialogs.h"
#include "tests/platform/win/ShellNamespaceFixture.h"
#include "tests/support/TempDir.h"

using vantrel::test::TTempDir;
using vantrel::test::WriteFileBytes;

namespace {

// A scratch tree A/, A/clip.avi, B/ under a resolved root.
struct DialogRulesTree {
  TTempDir Temp;
  std::string Root;
  DialogRulesTree() {
    char Real[PATH_MAX];
    if (realpath(Temp.Path().c_str(), Real)) Root = Real;
    ForceDirectories(Root + "/A");
    ForceDirectories(Root + "/B");
    WriteFileBytes(Root + "/A/clip.avi", "x");
  }
};

}  // namespace

TEST(ShellDialogRules, TypedNamesResolveFromTheShownFolderNotTheCurrentOne) {
  const String SavedDir = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir("/"));
  struct Case {
    const char* Folder;
    const char* Text;
    const char* Expected;
  } Cases[] = {
      {"/home/u/A", "clip.mp4", "/home/u/A/clip.mp4"},
      {"/home/u/A/", "clip.mp4", "/home/u/A/clip.mp4"},
      {"/home/u/A", "/home/u/clip.mp4", "/home/u/clip.mp4"},
      {"/home/u/A", "../other/clip.avi", "/home/u/other/clip.avi"},
      {"/home/u/A", "./sub/../x", "/home/u/A/x"},
      {"/home/u/A", "../B/", "/home/u/B/"},
      {"/", "etc", "/etc"},
      {"/home/u/A", "", ""},
      {"", "clip.mp4", ""},        // a virtual folder: nothing to resolve from
      {"::{computer}", "clip", ""},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.Folder) + " + " + C.Text);
    EXPECT_EQ(ResolveTypedName(C.Folder, C.Text), C.Expected);
  }
  SetCurrentDir(SavedDir);
}

TEST(ShellDialogRules, ExtensionsComeFromTheMaskOrTheDefault) {
  struct MaskCase {
    const char* Mask;
    const char* Extension;
  } Masks[] = {{"*.avi", ".avi"}, {"*.avi;*.mp4", ".avi"}, {"*.*", ""}, {"*.mp4;*.*", ""}, {"*", ""}, {"", ""}};
  for (const MaskCase& C : Masks) {
    SCOPED_TRACE(C.Mask);
    EXPECT_EQ(MaskExtension(C.Mask), C.Extension);
  }
  EXPECT_EQ(DefaultExtensionFor("mp4", "*.avi"), ".mp4");
  EXPECT_EQ(DefaultExtensionFor("", "*.avi;*.mkv"), ".avi");
  EXPECT_EQ(DefaultExtensionFor("", "*.*"), "");

  struct SaveCase {
    const char* Name;
    const char* Mask;
    const char* DefaultExt;
    const char* Returned;
  } Saves[] = {
      {"/d/name", "*.avi", "mp4", "/d/name.avi"},  // the filter's extension goes first
      {"/d/name", "*.*", "mp4", "/d/name.mp4"},
      {"/d/name", "*.*", "", "/d/name"},
      {"/d/name.mkv", "*.avi", "mp4", "/d/name.mkv"},
      {"/d.x/name", "*", "mp4", "/d.x/name.mp4"},  // a dot in a folder is no extension
  };
  for (const SaveCase& C : Saves) {
    SCOPED_TRACE(std::string(C.Name) + " " + C.Mask + " " + C.DefaultExt);
    EXPECT_EQ(CompleteSaveName(C.Name, C.Mask, C.DefaultExt), C.Returned);
  }
  EXPECT_TRUE(HasFileExtension("/a/b.c"));
  EXPECT_FALSE(HasFileExtension("/a.b/c"));
}

TEST(ShellDialogRules, ChangingTheFileTypeSwapsTheTypedExtension) {
  struct Case {
    const char* Typed;
    const char* FilterExt;
    const char* Result;
  } Cases[] = {
      {"clip.mp4", ".avi", "clip.avi"},
      {"clip", ".avi", "clip.avi"},
      {"a.mp4x.mp4", ".avi", "a.mp4x.avi"},  // only the name's own extension goes
      {"clip.mp4", "", "clip.mp4"},
      {"", ".avi", ""},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.Typed) + " -> " + C.FilterExt);
    EXPECT_EQ(SwapFilterExtension(C.Typed, C.FilterExt), C.Result);
  }
}

TEST(ShellDialogRules, NewFoldersAreNumberedFromTheSecondOnAndFailuresNameTheFolder) {
  EXPECT_EQ(NumberedNewFolderName("New Folder", 1), "New Folder");
  EXPECT_EQ(NumberedNewFolderName("New Folder", 2), "New Folder(2)");
  EXPECT_EQ(NumberedNewFolderName("Neuer Ordner", 12), "Neuer Ordner(12)");

  DialogRulesTree T;
  CreateDialogFolder(T.Root + "/A/New Folder");
  EXPECT_TRUE(DirectoryExists(T.Root + "/A/New Folder"));
  WriteFileBytes(T.Root + "/A/New Folder(3)", "x");
  try {
    CreateDialogFolder(T.Root + "/A/New Folder(3)");
    ADD_FAILURE() << "no error for a file in the way";
  } catch (const EInOutError& E) {
    const std::string Text = E.Message();
    EXPECT_NE(Text.find(T.Root + "/A/New Folder(3)"), std::string::npos) << Text;
    EXPECT_NE(Text.find(strerror(EEXIST)), std::string::npos) << Text;
  }
  EXPECT_TRUE(FileExists(T.Root + "/A/New Folder(3)"));
}

TEST(ShellDialogRules, EnterFiltersOpensAnExistingFolderOrAccepts) {
  DialogRulesTree T;
  const String A = T.Root + "/A";
  struct Case {
    std::string Text;
    TspTypedNameAction Action;
  } Cases[] = {
      {"*.mp4", tnFilter},
      {"sub/*.avi", tnFilter},
      {"../B", tnOpenFolder},
      {"../B/", tnOpenFolder},
      {T.Root + "/B", tnOpenFolder},
      {"../missing/", tnAccept},
      {"B", tnAccept},  // no "/": a name to accept, even where a folder of that name exists
      {"clip.avi", tnAccept},
      {"../A/clip.avi", tnAccept},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(TypedNameAction(A, C.Text), C.Action);
  }
}

TEST(ShellDialogRules, StartFolderIsTheFilesFolderThenInitialDirThenTheProgramsFolder) {
  DialogRulesTree T;
  struct Case {
    std::string FileName, InitialDir, Expected;
  } Cases[] = {
      {T.Root + "/A/clip.avi", T.Root + "/B", T.Root + "/A"},
      {"/clip.avi", "", "/"},
      {"clip.avi", T.Root + "/B", T.Root + "/B"},
      {"", T.Root + "/B", T.Root + "/B"},
      {"clip.avi", T.Root + "/missing", GetExeFolder()},
      {"clip.avi", "", GetExeFolder()},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.FileName + " | " + C.InitialDir);
    EXPECT_EQ(FileDialogStartFolder(C.FileName, C.InitialDir), C.Expected);
  }
}

TEST(ShellDialogRules, TextsComeFromTheSkinsTableWhenThereIsOne) {
  EXPECT_EQ(ShellDialogText(nullptr, "MSG_NEWFOLDER", "New Folder"), "New Folder");
  TOwned<TspSkinData> Ctrl = CreateOwned<TspSkinData>(nullptr);
  EXPECT_EQ(ShellDialogText(Ctrl.get(), "MSG_NEWFOLDER", "New Folder"), "New Folder");
  TOwned<TspResourceStrData> Texts = CreateOwned<TspResourceStrData>(nullptr);
  TOwned<TStringList> Lines = CreateOwned<TStringList>();
  Lines->Add("MSG_NEWFOLDER=Neuer Ordner");
  Texts->SetResStrings(Lines.get());
  Ctrl->SetResourceStrData(Texts.get());
  EXPECT_EQ(ShellDialogText(Ctrl.get(), "MSG_NEWFOLDER", "New Folder"), "Neuer Ordner");
}

namespace {

class FolderHistoryTest : public vantrel::test::ShellNamespaceTest {
 protected:
  TspFolderHistory H;
  void Show(const char* Name) {
    ForceDirectories(Outside + "/" + Name);
    vantrel::win::ItemIdList L = Parse(Outside + "/" + Name);
    H.Add(L.Get());
  }
  // Going back: the entry before the last is shown, the last dropped.
  std::string Back() {
    LPCITEMIDLIST P = H.Previous();
    if (!P) return "<none>";
    std::string Path;
    vantrel::win::ShellPathOf(P, Path);
    H.DropLast();
    return Path.substr(Path.rfind('/') + 1);
  }
};

}  // namespace

TEST_F(FolderHistoryTest, BackReturnsThroughTheFoldersShownAndRereadingAddsNothing) {
  Show("A");
  Show("B");
  Show("C");
  EXPECT_EQ(Back(), "B");
  EXPECT_EQ(Back(), "A");
  EXPECT_EQ(Back(), "<none>");
  EXPECT_EQ(H.Count(), 1);

  TspFolderHistory Fresh;
  H = std::move(Fresh);
  Show("A");
  Show("B");
  Show("C");
  EXPECT_EQ(Back(), "B");
  Show("D");
  EXPECT_EQ(Back(), "B");

  const Integer Before = H.Count();
  Show("B");  // B is shown already
  EXPECT_EQ(H.Count(), Before);
}
