#include "platform/win/ShellContextMenu.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Shell.h"
#include "platform/win/ShellTrash.h"
#include "tests/platform/win/ShellNamespaceFixture.h"
#include "tests/support/TempDir.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::ReadFileBytes;
using vantrel::test::WriteFileBytes;
using vantrel::win::ComPtr;
using vantrel::win::ItemIdList;

namespace {

class ShellContextMenuTest : public vantrel::test::ShellNamespaceTest {
 protected:
  // The context menu of the item at Path, asked of its parent folder.
  ComPtr<IContextMenu2> MenuOf(const std::string& Path) {
    const std::string Folder = Path.substr(0, Path.rfind('/'));
    const std::string Name = Path.substr(Path.rfind('/') + 1);
    ItemIdList FolderList = Parse(Folder);
    ComPtr<IShellFolder> Parent;
    EXPECT_EQ(Desktop->BindToObject(FolderList.Get(), nullptr, IID_IShellFolder, Parent.PutVoid()), S_OK);
    if (!Parent) return nullptr;
    ItemIdList Child;
    EXPECT_EQ(Parent->ParseDisplayName(nullptr, nullptr, Name.c_str(), nullptr, Child.Put(), nullptr), S_OK);
    LPCITEMIDLIST One = Child.Get();
    ComPtr<IContextMenu2> Menu;
    EXPECT_EQ(Parent->GetUIObjectOf(nullptr, 1, &One, IID_IContextMenu2, nullptr, Menu.PutVoid()), S_OK);
    return Menu;
  }

  static std::string Verb(IContextMenu* Menu, UINT Offset, UINT Type = GCS_VERBA) {
    char B[256] = {};
    if (Menu->GetCommandString(Offset, Type, nullptr, B, sizeof B) != S_OK) return "<none>";
    return B;
  }

  static HRESULT Run(IContextMenu* Menu, const char* Verb, HWND Owner = nullptr) {
    CMINVOKECOMMANDINFO Info;
    Info.hwnd = Owner;
    Info.lpVerb = Verb;
    Info.nShow = SW_SHOWNORMAL;
    return Menu->InvokeCommand(&Info);
  }

  // The menu's items as "text" or "-", the default one marked with "*".
  static std::vector<std::string> Items(HMENU M) {
    std::vector<std::string> Out;
    for (int I = 0; I < GetMenuItemCount(M); ++I) {
      const UINT State = GetMenuState(M, static_cast<UINT>(I), MF_BYPOSITION);
      char B[64] = {};
      GetMenuString(M, static_cast<UINT>(I), B, sizeof B, MF_BYPOSITION);
      Out.push_back((State & MF_SEPARATOR) ? "-" : std::string(B) + ((State & MF_DEFAULT) ? "*" : "") + " " +
                                                         std::to_string(GetMenuItemID(M, I)));
    }
    return Out;
  }

  HeadlessSession Session;
};

TEST_F(ShellContextMenuTest, AFileOffersOpenDeleteRenameAndPropertiesWithTheirVerbs) {
  const std::string File = Outside + "/clip.mkv";
  WriteFileBytes(File, "x");
  ComPtr<IContextMenu2> Menu = MenuOf(File);
  ASSERT_TRUE(Menu);
  HMENU M = CreatePopupMenu();
  const HRESULT R = Menu->QueryContextMenu(M, 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME);
  EXPECT_TRUE(SUCCEEDED(R));
  EXPECT_EQ(HRESULT_CODE(R), 4);
  EXPECT_EQ(Items(M), (std::vector<std::string>{"&Open* 1", "-", "&Delete 2", "Rena&me 3", "-", "P&roperties 4"}));
  const std::vector<std::string> Verbs = {"open", "delete", "rename", "properties"};
  for (UINT I = 0; I < 4; ++I) {
    EXPECT_EQ(Verb(Menu.Get(), I, GCS_VERBA), Verbs[I]);
    EXPECT_EQ(Verb(Menu.Get(), I, GCS_VERBW), Verbs[I]);
    EXPECT_NE(Verb(Menu.Get(), I, GCS_HELPTEXT), "<none>");
  }
  EXPECT_EQ(Menu->GetCommandString(4, GCS_VERBA, nullptr, nullptr, 0), E_INVALIDARG);
  EXPECT_EQ(Menu->GetCommandString(3, GCS_VALIDATEA, nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(Menu->HandleMenuMsg(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(M), 0), S_OK);
  DestroyMenu(M);

  // Without CMF_CANRENAME no Rename; the commands go where they are asked, ids from the first.
  M = CreatePopupMenu();
  AppendMenu(M, MF_STRING, 900, "Mine");
  EXPECT_EQ(HRESULT_CODE(Menu->QueryContextMenu(M, 0, 50, 0x7FFF, CMF_EXPLORE)), 3);
  EXPECT_EQ(Items(M), (std::vector<std::string>{"&Open* 50", "-", "&Delete 51", "-", "P&roperties 52", "Mine 900"}));
  EXPECT_EQ(Verb(Menu.Get(), 2), "properties");
  DestroyMenu(M);
}

TEST_F(ShellContextMenuTest, AnItemOfAReadOnlyFolderCannotBeDeletedOrRenamed) {
  const std::string Folder = Outside + "/ro";
  ASSERT_EQ(mkdir(Folder.c_str(), 0755), 0);
  WriteFileBytes(Folder + "/kept.txt", "k");
  chmod(Folder.c_str(), 0555);
  chmod(Outside.c_str(), 0755);
  chmod(Root.Path().c_str(), 0755);
  // The permissions hold for a user that is not the super-user: the check runs as nobody.
  const pid_t Child = fork();
  ASSERT_GE(Child, 0);
  if (Child == 0) {
    if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(10);
    ComPtr<IContextMenu2> Menu = MenuOf(Folder + "/kept.txt");
    if (!Menu) _exit(11);
    HMENU M = CreatePopupMenu();
    if (HRESULT_CODE(Menu->QueryContextMenu(M, 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME)) != 2) _exit(12);
    if (Items(M) != std::vector<std::string>{"&Open* 1", "-", "P&roperties 2"}) _exit(13);
    if (Verb(Menu.Get(), 1) != "properties") _exit(14);
    _exit(0);
  }
  int Status = 0;
  ASSERT_EQ(waitpid(Child, &Status, 0), Child);
  chmod(Folder.c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(Status));
  EXPECT_EQ(WEXITSTATUS(Status), 0) << "10: no nobody, 11: no menu, 12: count, 13: items, 14: verb";
}

TEST_F(ShellContextMenuTest, DeleteMovesTheItemToTheTrashAfterAYes) {
  vantrel::test::MessageLog Log;
  HWND Owner = Log.Create(WS_OVERLAPPED, 0, 0, 100, 100);
  const std::string File = Outside + "/my clip.mkv";
  WriteFileBytes(File, "first");
  ComPtr<IContextMenu2> Menu = MenuOf(File);
  ASSERT_TRUE(Menu);
  // No: nothing moves.
  Session.Manager().Shell().MessageBoxResponder = [&](HWND O, const std::string& Text, const std::string& Caption,
                                                      UINT Flags) {
    Session.MessageBoxes.push_back({O, Text, Caption, Flags});
    return IDNO;
  };
  EXPECT_TRUE(FAILED(Run(Menu.Get(), "delete", Owner)));
  EXPECT_EQ(ReadFileBytes(File), "first");
  ASSERT_EQ(Session.MessageBoxes.size(), 1u);
  EXPECT_EQ(Session.MessageBoxes[0].Text, "Move \"my clip.mkv\" to the Trash?");
  EXPECT_EQ(Session.MessageBoxes[0].Owner, Owner);
  EXPECT_EQ(Session.MessageBoxes[0].Flags & MB_TYPEMASK, MB_YESNO);

  // Yes: into Trash/files with a record naming where it was.
  Session.Manager().Shell().MessageBoxResponder = [&](HWND O, const std::string& Text, const std::string& Caption,
                                                      UINT Flags) {
    Session.MessageBoxes.push_back({O, Text, Caption, Flags});
    return IDYES;
  };
  EXPECT_EQ(Run(Menu.Get(), "delete", Owner), S_OK);
  const std::string Trash = Home + "/.local/share/Trash";
  EXPECT_EQ(access(File.c_str(), F_OK), -1);
  EXPECT_EQ(ReadFileBytes(Trash + "/files/my clip.mkv"), "first");
  const std::string Info = ReadFileBytes(Trash + "/info/my clip.mkv.trashinfo");
  EXPECT_EQ(Info.rfind("[Trash Info]\nPath=" + Outside + "/my%20clip.mkv\nDeletionDate=", 0), 0u) << Info;
  EXPECT_NE(Info.find("T"), std::string::npos);

  // A second item of that name gets a name of its own; the first stays.
  WriteFileBytes(File, "second");
  ComPtr<IContextMenu2> Again = MenuOf(File);
  EXPECT_EQ(Run(Again.Get(), "DELETE", Owner), S_OK);  // verbs in any case
  EXPECT_EQ(ReadFileBytes(Trash + "/files/my clip.mkv"), "first");
  EXPECT_EQ(ReadFileBytes(Trash + "/files/my clip.2.mkv"), "second");
  EXPECT_NE(ReadFileBytes(Trash + "/info/my clip.2.mkv.trashinfo").find("Path=" + Outside + "/my%20clip.mkv"),
            std::string::npos);
  EXPECT_EQ(Session.MessageBoxes.size(), 3u);
  // Gone now: nothing to delete.
  EXPECT_TRUE(FAILED(Run(Again.Get(), "delete", Owner)));

  // A folder goes whole.
  ASSERT_EQ(mkdir((Outside + "/album").c_str(), 0755), 0);
  WriteFileBytes(Outside + "/album/track.mp3", "t");
  ComPtr<IContextMenu2> Folder = MenuOf(Outside + "/album");
  EXPECT_EQ(Run(Folder.Get(), "delete", Owner), S_OK);
  EXPECT_EQ(ReadFileBytes(Trash + "/files/album/track.mp3"), "t");
  EXPECT_EQ(access((Outside + "/album").c_str(), F_OK), -1);
}

TEST_F(ShellContextMenuTest, DeleteAcrossFileSystemsMovesNothingAndSaysWhy) {
  struct stat Shm {}, Data {};
  const std::string Scratch = "/dev/shm/vantrel-trash-" + std::to_string(getpid());
  if (stat("/dev/shm", &Shm) != 0 || stat(Home.c_str(), &Data) != 0 || Shm.st_dev == Data.st_dev)
    GTEST_SKIP() << "/dev/shm is missing or on the same file system as the Trash";
  ASSERT_EQ(mkdir(Scratch.c_str(), 0755), 0);
  const std::string File = Scratch + "/far.txt";
  WriteFileBytes(File, "far");
  ComPtr<IContextMenu2> Menu = MenuOf(File);
  ASSERT_TRUE(Menu);
  const HRESULT R = Run(Menu.Get(), "delete");
  EXPECT_TRUE(FAILED(R));
  EXPECT_EQ(ReadFileBytes(File), "far");
  EXPECT_EQ(access((Home + "/.local/share/Trash/files/far.txt").c_str(), F_OK), -1);
  EXPECT_EQ(access((Home + "/.local/share/Trash/info/far.txt.trashinfo").c_str(), F_OK), -1);
  ASSERT_EQ(Session.MessageBoxes.size(), 2u);  // the question, then the error
  EXPECT_NE(Session.MessageBoxes[1].Text.find("another file system"), std::string::npos)
      << Session.MessageBoxes[1].Text;
  EXPECT_EQ(Session.MessageBoxes[1].Flags & MB_ICONMASK, MB_ICONERROR);
  unlink(File.c_str());
  rmdir(Scratch.c_str());
}

TEST_F(ShellContextMenuTest, OpenLaunchesTheItemAndPropertiesShowsItsSize) {
  auto Recorder = std::make_unique<vantrel::win::RecordingLauncher>();
  vantrel::win::RecordingLauncher* Launches = Recorder.get();
  Session.Manager().Shell().SetLauncher(std::move(Recorder));
  const std::string File = Outside + "/report.txt";
  WriteFileBytes(File, std::string(1234, 'r'));
  ComPtr<IContextMenu2> Menu = MenuOf(File);
  ASSERT_TRUE(Menu);
  HMENU M = CreatePopupMenu();
  Menu->QueryContextMenu(M, 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME);
  // By offset (as a menu's command id less the first id) and with the asynchronous flag.
  CMINVOKECOMMANDINFO Info;
  Info.fMask = CMIC_MASK_ASYNCOK;
  Info.lpVerb = MAKEINTRESOURCE(0);
  EXPECT_EQ(Menu->InvokeCommand(&Info), S_OK);
  ASSERT_EQ(Launches->Calls.size(), 1u);
  EXPECT_EQ(Launches->Calls[0].Argv, (std::vector<std::string>{"xdg-open", File}));

  EXPECT_EQ(Run(Menu.Get(), "properties"), S_OK);
  ASSERT_EQ(Session.MessageBoxes.size(), 1u);
  const std::string& Text = Session.MessageBoxes[0].Text;
  EXPECT_NE(Text.find("Name: report.txt"), std::string::npos) << Text;
  EXPECT_NE(Text.find("Location: " + Outside), std::string::npos) << Text;
  EXPECT_NE(Text.find("Size: 1,234 bytes"), std::string::npos) << Text;
  EXPECT_NE(Text.find("Type: TXT File"), std::string::npos) << Text;

  // Rename is the views' own; unknown verbs and offsets are refused.
  EXPECT_EQ(Run(Menu.Get(), "rename"), E_FAIL);
  EXPECT_EQ(Run(Menu.Get(), "explore"), E_INVALIDARG);
  Info.lpVerb = MAKEINTRESOURCE(7);
  EXPECT_EQ(Menu->InvokeCommand(&Info), E_INVALIDARG);
  EXPECT_EQ(Launches->Calls.size(), 1u);
  EXPECT_EQ(ReadFileBytes(File).size(), 1234u);
  DestroyMenu(M);
}

TEST_F(ShellContextMenuTest, AChoiceInTheTrackedMenuNamesItsVerb) {
  vantrel::test::MessageLog Log;
  HWND Owner = Log.Create(WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 200);
  const std::string File = Outside + "/a.txt";
  WriteFileBytes(File, "a");
  ComPtr<IContextMenu2> Menu = MenuOf(File);
  ASSERT_TRUE(Menu);
  HMENU M = CreatePopupMenu();
  Menu->QueryContextMenu(M, 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME);
  const RECT R = vantrel::win::PopupMenuItemRect(M, Owner, 40, 40, TPM_RIGHTBUTTON, 5);  // Properties
  Session.Press((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2, vantrel::win::rbRight);
  Session.Release((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2, vantrel::win::rbRight);
  const int Id = TrackPopupMenu(M, TPM_RETURNCMD | TPM_RIGHTBUTTON, 40, 40, 0, Owner, nullptr);
  ASSERT_EQ(Id, 4);
  EXPECT_EQ(Verb(Menu.Get(), static_cast<UINT>(Id - 1)), "properties");
  DestroyMenu(M);
}

TEST_F(ShellContextMenuTest, OnlyContextMenusOfItemsWithAPathAreHandedOut) {
  ItemIdList Computer = ItemIdList(nullptr);
  ASSERT_EQ(Desktop->ParseDisplayName(nullptr, nullptr, vantrel::win::kComputerParsingName, nullptr, Computer.Put(),
                                      nullptr),
            S_OK);
  LPCITEMIDLIST One = Computer.Get();
  void* Out = reinterpret_cast<void*>(1);
  EXPECT_EQ(Desktop->GetUIObjectOf(nullptr, 1, &One, IID_IContextMenu, nullptr, &Out), E_NOINTERFACE);
  EXPECT_EQ(Out, nullptr);
  EXPECT_EQ(Desktop->GetUIObjectOf(nullptr, 2, &One, IID_IContextMenu, nullptr, &Out), E_INVALIDARG);
  // Home opens and has properties, but is never deleted or renamed.
  ItemIdList HomeList = Parse(Home);
  One = HomeList.Get();
  ComPtr<IContextMenu> HomeMenu;
  ASSERT_EQ(Desktop->GetUIObjectOf(nullptr, 1, &One, IID_IContextMenu, nullptr, HomeMenu.PutVoid()), S_OK);
  HMENU M = CreatePopupMenu();
  EXPECT_EQ(HRESULT_CODE(HomeMenu->QueryContextMenu(M, 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME)), 2);
  DestroyMenu(M);
}

TEST(ShellTrash, PathsAreEscapedAsUrlsWithTheirSlashesKept) {
  EXPECT_EQ(vantrel::win::TrashEscapePath("/home/a b/%x\xC3\xA9.txt"), "/home/a%20b/%25x%C3%A9.txt");
}

}  // namespace
