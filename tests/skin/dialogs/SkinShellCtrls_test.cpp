#include <gtest/gtest.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/display/HeadlessSession.h"
#include "platform/rtl/FileUtils.h"
#include "platform/win/Shell.h"
#include "platform/win/ShellFileInfo.h"
#include "skin/dialogs/SkinShellCtrls.h"
#include "tests/platform/win/ShellNamespaceFixture.h"

using vantrel::test::ShellNamespaceTest;
using vantrel::test::WriteFileBytes;
using vantrel::win::ComPtr;
using vantrel::win::ItemIdList;

namespace {

class ShellFolderLayerTest : public ShellNamespaceTest {
 protected:
  // A root object for Path (a folder) and the child named Name in it.
  TspShellFolder* Root(const std::string& Path) {
    TRoot R = Path;
    return ResolveRootFolder(nullptr, "rfDesktop", R);
  }
  TspShellFolder* ChildOf(TspShellFolder* Folder, const std::string& Name) {
    ItemIdList Full = Parse(Folder->PathName() + "/" + Name);
    ItemIdList Last(LastItemIDCopy(Full.Get()));
    return TspShellFolder::Create(Folder, ComPtr<IShellFolder>(), Last.Get());
  }
  // The file-system paths of the ancestors ("<desktop>", "<computer>" for the others).
  std::vector<std::string> AncestorPaths(const std::string& Path) {
    ItemIdList L = Parse(Path);
    std::vector<std::string> Out;
    for (const ItemIdList& A : AncestorIDLists(L.Get())) {
      std::string P;
      if (ItemIDCount(A.Get()) == 0) Out.push_back("<desktop>");
      else if (vantrel::win::ShellPathOf(A.Get(), P)) Out.push_back(P);
      else Out.push_back("<computer>");
    }
    return Out;
  }
};

TEST_F(ShellFolderLayerTest, AncestorsRunFromTheDesktopDownToTheParent) {
  mkdir((Home + "/Videos").c_str(), 0755);
  mkdir((Home + "/Videos/Trips").c_str(), 0755);
  WriteFileBytes(Home + "/Videos/Trips/clip.ts", "x");
  mkdir((Outside + "/deep").c_str(), 0755);
  WriteFileBytes(Outside + "/deep/clip.ts", "x");

  ItemIdList DesktopList(GetDesktopIDList());
  EXPECT_TRUE(AncestorIDLists(DesktopList.Get()).empty());
  EXPECT_EQ(AncestorPaths(Home), (std::vector<std::string>{"<desktop>"}));
  EXPECT_EQ(AncestorPaths(Home + "/Videos/Trips/clip.ts"),
            (std::vector<std::string>{"<desktop>", Home, Home + "/Videos", Home + "/Videos/Trips"}));
  // Outside the home folder: Computer, the volume "/" and each folder down.
  std::vector<std::string> Expected = {"<desktop>", "<computer>", "/"};
  std::string Walk;
  for (size_t Start = 1; Start < Outside.size() + 6;) {
    size_t End = (Outside + "/deep").find('/', Start);
    if (End == std::string::npos) End = Outside.size() + 5;
    Walk = (Outside + "/deep").substr(0, End);
    Expected.push_back(Walk);
    Start = End + 1;
  }
  EXPECT_EQ(AncestorPaths(Outside + "/deep/clip.ts"), Expected);
}

TEST_F(ShellFolderLayerTest, TrimAndJoinWorkOnRecords) {
  mkdir((Home + "/a").c_str(), 0755);
  ItemIdList Empty(GetDesktopIDList());
  TrimLastItemID(Empty.Get());
  EXPECT_EQ(ItemIDListSize(Empty.Get()), 2u);
  TrimLastItemID(nullptr);
  EXPECT_EQ(ItemIDListSize(nullptr), 0u);

  ItemIdList A = Parse(Home + "/a");
  ItemIdList Copy(JoinIDLists(nullptr, A.Get()));
  ASSERT_EQ(ItemIDListSize(Copy.Get()), ItemIDListSize(A.Get()));
  EXPECT_EQ(std::memcmp(Copy.Get(), A.Get(), ItemIDListSize(A.Get())), 0);

  ItemIdList HomeList = Parse(Home);
  ItemIdList Last(LastItemIDCopy(A.Get()));
  ItemIdList Joined(JoinIDLists(HomeList.Get(), Last.Get()));
  EXPECT_TRUE(SameShellItem(Joined.Get(), A.Get()));
  EXPECT_EQ(ItemIDCount(Joined.Get()), 2);
  TrimLastItemID(Joined.Get());
  EXPECT_EQ(ItemIDCount(Joined.Get()), 1);
  EXPECT_TRUE(SameShellItem(Joined.Get(), HomeList.Get()));
}

TEST_F(ShellFolderLayerTest, RootsResolveByNameOrPathAndBadOnesRevert) {
  TRoot Name = "RFMYCOMPUTER";
  std::unique_ptr<TspShellFolder, void (*)(TspShellFolder*)> Computer(ResolveRootFolder(nullptr, "rfDesktop", Name),
                                                                      [](TspShellFolder* F) { FreeObject(F); });
  EXPECT_EQ(Computer->DisplayName(), "Computer");
  EXPECT_EQ(Computer->Parent(), DesktopItem());
  EXPECT_EQ(Computer->Level(), 0);

  for (const std::string& Bad : {std::string(), Home + "/missing"}) {
    SCOPED_TRACE(Bad);
    TRoot Text = Bad;
    try {
      TspShellFolder* Kept = ResolveRootFolder(Computer.get(), "rfMyComputer", Text);
      FreeObject(Kept);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& E) {
      EXPECT_EQ(E.Message(), "Error setting path: \"" + Bad + "\"");
    }
    EXPECT_EQ(Text, "rfMyComputer");
    EXPECT_EQ(Computer->DisplayName(), "Computer");  // still alive and whole
  }
  TRoot Unsupported = "rfNetwork";
  EXPECT_THROW(ResolveRootFolder(nullptr, "rfDesktop", Unsupported), Exception);
  EXPECT_EQ(Unsupported, "rfDesktop");
}

TEST_F(ShellFolderLayerTest, QuestionMarkNamesLoseTheirMarksOnlyBeforeADigit) {
  struct Case {
    const char* In;
    const char* Out;
  } Cases[] = {{"?1234", "1234"}, {"?abc", "?abc"}, {"?1?2", "12"}, {"?", "?"}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.In);
    STRRET Ret;
    Ret.uType = STRRET_CSTR;
    std::strcpy(Ret.cStr, C.In);
    EXPECT_EQ(StrRetText(nullptr, Ret), C.Out);
  }
}

TEST_F(ShellFolderLayerTest, ZipArchiveIsNoFolderAndChildrenCountTheirLevel) {
  mkdir((Home + "/Archive.zip").c_str(), 0755);
  mkdir((Home + "/plain").c_str(), 0755);
  std::unique_ptr<TspShellFolder> HomeRoot(Root(Home));
  std::unique_ptr<TspShellFolder> Zip(ChildOf(HomeRoot.get(), "Archive.zip"));
  std::unique_ptr<TspShellFolder> Plain(ChildOf(HomeRoot.get(), "plain"));
  EXPECT_FALSE(Zip->IsFolder());
  EXPECT_TRUE(Plain->IsFolder());
  EXPECT_EQ(Plain->Level(), 1);
  EXPECT_EQ(Plain->DisplayName(), "plain");
  EXPECT_EQ(Plain->FullObjectName(), Home + "/plain");
  EXPECT_TRUE(HomeRoot->Properties().Contains(fpFileSystem));
}

TEST_F(ShellFolderLayerTest, DetailsLoadOnceAndAreAskedForFirst) {
  WriteFileBytes(Home + "/clip.ts", "12345");
  std::unique_ptr<TspShellFolder> HomeRoot(Root(Home));
  std::unique_ptr<TspShellFolder> Clip(ChildOf(HomeRoot.get(), "clip.ts"));
  try {
    Clip->DetailText(1);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "clip.ts: Missing call to LoadColumnDetails");
  }
  ASSERT_NE(HomeRoot->ShellFolder2(), nullptr);
  Clip->LoadColumnDetails(HomeRoot.get(), nullptr, 5);
  const std::string Size = Clip->DetailText(1);
  EXPECT_FALSE(Size.empty());
  EXPECT_FALSE(Clip->DetailText(4).empty());  // the sign of a file-system item
  Clip->LoadColumnDetails(HomeRoot.get(), nullptr, 4);
  EXPECT_EQ(Clip->DetailText(5), Clip->DetailText(5));
  EXPECT_NO_THROW(Clip->DetailText(5));
  EXPECT_EQ(Clip->DetailText(1), Size);
}

TEST_F(ShellFolderLayerTest, FindDataGivesSizesOfFoldersAndLargeSparseFiles) {
  mkdir((Home + "/sub").c_str(), 0755);
  const std::string Big = Home + "/big.bin";
  const int Fd = open(Big.c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(Fd, 0);
  ASSERT_EQ(ftruncate(Fd, 5LL * 1024 * 1024 * 1024), 0);
  close(Fd);
  std::unique_ptr<TspShellFolder> HomeRoot(Root(Home));
  struct Case {
    const char* Name;
    const char* SizeText;
    const char* Ext;
  } Cases[] = {{"sub", "-1", ""}, {"big.bin", "5368709120", ".bin"}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    std::unique_ptr<TspShellFolder> Item(ChildOf(HomeRoot.get(), C.Name));
    TspFindData Data;
    Item->ReadFindData(Data);
    EXPECT_EQ(FindDataDetail(Data, 1), C.SizeText);
    EXPECT_EQ(FindDataDetail(Data, 2), C.Ext);
    EXPECT_EQ(FindDataDetail(Data, 9), "");
  }
  std::unique_ptr<TspShellFolder> Gone(ChildOf(HomeRoot.get(), "big.bin"));
  unlink(Big.c_str());
  TspFindData Data;
  try {
    Gone->ReadFindData(Data);
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidPath& E) {
    EXPECT_EQ(E.Message(), "Unable to retrieve folder details for \"big.bin\". Error code $2");
  }
}

TEST_F(ShellFolderLayerTest, RenameRenamesOrRaisesAndKeepsBothItems) {
  WriteFileBytes(Home + "/one.ts", "first");
  WriteFileBytes(Home + "/two.ts", "second");
  std::unique_ptr<TspShellFolder> HomeRoot(Root(Home));
  std::unique_ptr<TspShellFolder> One(ChildOf(HomeRoot.get(), "one.ts"));
  for (const std::string& Bad : {std::string("two.ts"), std::string("a/b"), std::string(".."), std::string()}) {
    SCOPED_TRACE(Bad);
    try {
      One->Rename(Bad);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& E) {
      EXPECT_EQ(E.Message(), "Rename to " + Bad + " failed");
    }
    EXPECT_EQ(vantrel::test::ReadFileBytes(Home + "/one.ts"), "first");
    EXPECT_EQ(vantrel::test::ReadFileBytes(Home + "/two.ts"), "second");
  }
  EXPECT_TRUE(One->Rename("three.ts"));
  EXPECT_EQ(One->DisplayName(), "three.ts");
  EXPECT_EQ(One->FullObjectName(), Home + "/three.ts");
  EXPECT_EQ(vantrel::test::ReadFileBytes(Home + "/three.ts"), "first");
}

// In a folder the user may not write to, a rename is refused before the shell is asked.
TEST_F(ShellFolderLayerTest, RenameInAFolderWithoutWriteAccessAnswersFalse) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to drop to nobody";
  const passwd* Nobody = getpwnam("nobody");
  if (!Nobody) GTEST_SKIP() << "no user nobody";
  const std::string Dir = Outside + "/locked";
  ASSERT_TRUE(ForceDirectories(Dir));
  WriteFileBytes(Dir + "/f.ts", "kept");
  chmod(Outside.c_str(), 0755);
  chmod(Dir.c_str(), 0555);
  const uid_t Uid = Nobody->pw_uid;
  const gid_t Gid = Nobody->pw_gid;
  const pid_t Pid = fork();
  ASSERT_GE(Pid, 0);
  if (Pid == 0) {
    if (setgid(Gid) != 0 || setuid(Uid) != 0) _exit(10);
    if (access(Dir.c_str(), R_OK | X_OK) != 0) _exit(11);
    int Code = 0;
    try {
      std::unique_ptr<TspShellFolder> Folder(Root(Dir));
      std::unique_ptr<TspShellFolder> File(ChildOf(Folder.get(), "f.ts"));
      if (File->Capabilities().Contains(fcCanRename)) Code = 2;
      else if (File->Rename("g.ts")) Code = 3;
      else if (File->DisplayName() != "f.ts") Code = 4;
    } catch (...) {
      Code = 5;
    }
    _exit(Code);
  }
  int Status = 0;
  waitpid(Pid, &Status, 0);
  chmod(Dir.c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(Status));
  if (WEXITSTATUS(Status) == 11) GTEST_SKIP() << "scratch folder not reachable by nobody";
  EXPECT_EQ(WEXITSTATUS(Status), 0);
  EXPECT_EQ(vantrel::test::ReadFileBytes(Dir + "/f.ts"), "kept");
  EXPECT_FALSE(FileExists(Dir + "/g.ts"));
}

TEST_F(ShellFolderLayerTest, FoldersAndFilesGetTheirSystemIcons) {
  mkdir((Home + "/sub").c_str(), 0755);
  WriteFileBytes(Home + "/clip.ts", "x");
  std::unique_ptr<TspShellFolder> HomeRoot(Root(Home));
  std::unique_ptr<TspShellFolder> Sub(ChildOf(HomeRoot.get(), "sub"));
  std::unique_ptr<TspShellFolder> Clip(ChildOf(HomeRoot.get(), "clip.ts"));
  SHFILEINFO Info;
  SHGetFileInfoW((Home + "/sub").c_str(), 0, &Info, sizeof Info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  EXPECT_EQ(Sub->ImageIndex(false), Info.iIcon);
  EXPECT_NE(Sub->ImageIndex(false), Clip->ImageIndex(false));
  EXPECT_EQ(EnumerationFlags({otFolders}), SHCONTF_FOLDERS);
  EXPECT_EQ(EnumerationFlags({otNonFolders, otHidden}), SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN);
  EXPECT_TRUE(FolderHasItems(HomeRoot->ShellFolder(), SHCONTF_NONFOLDERS));
  EXPECT_FALSE(FolderHasItems(nullptr, SHCONTF_NONFOLDERS));
  ComPtr<IShellFolder> SubFolder;
  ASSERT_EQ(BindShellFolder(HomeRoot->ShellFolder(), Sub->RelativeID(), nullptr, SubFolder), S_OK);
  EXPECT_FALSE(FolderHasItems(SubFolder.Get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS));
}

TEST_F(ShellFolderLayerTest, ExecuteDefaultOpensTheItemsPath) {
  vantrel::display::HeadlessSession S;
  auto Owned = std::make_unique<vantrel::win::RecordingLauncher>();
  vantrel::win::RecordingLauncher* Rec = Owned.get();
  S.Manager().Shell().SetLauncher(std::move(Owned));
  WriteFileBytes(Home + "/clip.ts", "x");
  std::unique_ptr<TspShellFolder> HomeRoot(Root(Home));
  std::unique_ptr<TspShellFolder> Clip(ChildOf(HomeRoot.get(), "clip.ts"));
  EXPECT_TRUE(Clip->ExecuteDefault());
  ASSERT_EQ(Rec->Calls.size(), 1u);
  EXPECT_EQ(Rec->Calls[0].Argv, (std::vector<std::string>{"xdg-open", Home + "/clip.ts"}));
}

}  // namespace
