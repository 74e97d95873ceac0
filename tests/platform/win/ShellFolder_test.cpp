#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <set>

#include "platform/rtl/FileUtils.h"
#include "platform/win/ShellFolder.h"
#include "tests/platform/win/ShellNamespaceFixture.h"

using vantrel::test::ShellNamespaceTest;
using vantrel::test::WriteFileBytes;
using vantrel::win::ComPtr;
using vantrel::win::ItemIdList;
using vantrel::win::ShellItemKind;

namespace {

// The names an enumeration yields, sorted.
std::vector<std::string> Enumerate(IShellFolder* F, DWORD Flags, HRESULT* Result = nullptr) {
  ComPtr<IEnumIDList> E;
  const HRESULT R = F->EnumObjects(nullptr, Flags, E.Put());
  if (Result) *Result = R;
  std::vector<std::string> Names;
  if (FAILED(R)) return Names;
  LPITEMIDLIST Item = nullptr;
  ULONG Got = 0;
  while (E->Next(1, &Item, &Got) == S_OK && Got == 1) {
    std::vector<vantrel::win::ShellItemRecord> Rec;
    vantrel::win::DecodeItemIdList(Item, Rec);
    Names.push_back(Rec.at(0).Name);
    ILFree(Item);
  }
  std::sort(Names.begin(), Names.end());
  return Names;
}

// The child list of Name in folder F, found by enumerating it with hidden items.
ItemIdList Child(IShellFolder* F, const std::string& Name) {
  ComPtr<IEnumIDList> E;
  if (FAILED(F->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, E.Put())))
    return ItemIdList();
  LPITEMIDLIST Item = nullptr;
  ULONG Got = 0;
  while (E->Next(1, &Item, &Got) == S_OK) {
    ItemIdList L(Item);
    std::vector<vantrel::win::ShellItemRecord> Rec;
    vantrel::win::DecodeItemIdList(L.Get(), Rec);
    if (Rec.at(0).Name == Name) return L;
  }
  return ItemIdList();
}

ComPtr<IShellFolder2> Bind(IShellFolder* Desktop, LPCITEMIDLIST Absolute) {
  ComPtr<IShellFolder2> F;
  EXPECT_EQ(Desktop->BindToObject(Absolute, nullptr, IID_IShellFolder2, F.PutVoid()), S_OK);
  return F;
}

int16_t CompareResult(HRESULT R) { return static_cast<int16_t>(R & 0xFFFF); }

time_t LocalTime(int Y, int Mo, int D, int H, int Mi) {
  tm T{};
  T.tm_year = Y - 1900, T.tm_mon = Mo - 1, T.tm_mday = D, T.tm_hour = H, T.tm_min = Mi, T.tm_isdst = -1;
  return mktime(&T);
}

void SetModified(const std::string& Path, time_t When) {
  timeval Tv[2] = {{When, 0}, {When, 0}};
  ASSERT_EQ(lutimes(Path.c_str(), Tv), 0);
}

}  // namespace

TEST_F(ShellNamespaceTest, PathUnderHomeParsesThroughHome) {
  ASSERT_TRUE(ForceDirectories(Home + "/Videos/2011"));
  ItemIdList L = Parse(Home + "/Videos/2011/");
  const auto R = Records(L.Get());
  ASSERT_EQ(R.size(), 3u);
  EXPECT_EQ(R[0].Kind, ShellItemKind::Home);
  EXPECT_EQ(R[1].Name, "Videos");
  EXPECT_EQ(R[2].Name, "2011");
  EXPECT_EQ(R[2].Kind, ShellItemKind::Folder);
  char Path[MAX_PATH];
  ASSERT_TRUE(SHGetPathFromIDList(L.Get(), Path));
  EXPECT_EQ(std::string(Path), Home + "/Videos/2011");
  // The ancestors, by trimming one record at a time: Videos, Home, Desktop.
  const std::vector<std::string> Expected = {Home + "/Videos", Home, vantrel::win::kDesktopParsingName};
  for (size_t Depth = 2, i = 0; i < Expected.size(); --Depth, ++i) {
    ItemIdList A(vantrel::win::EncodeItemIdList({R.begin(), R.begin() + static_cast<long>(Depth)}));
    EXPECT_EQ(NameOf(Desktop.Get(), A.Get(), SHGDN_FORPARSING), Expected[i]);
  }
  EXPECT_EQ(NameOf(Desktop.Get(), L.Get(), SHGDN_NORMAL), "2011");
}

TEST_F(ShellNamespaceTest, PathOutsideHomeParsesThroughComputerAndItsVolume) {
  ASSERT_TRUE(ForceDirectories(Outside + "/x"));
  WriteFileBytes(Outside + "/x/a.avi", "data");
  ItemIdList L = Parse(Outside + "/x/../x/a.avi");
  const auto R = Records(L.Get());
  ASSERT_GE(R.size(), 3u);
  EXPECT_EQ(R[0].Kind, ShellItemKind::Computer);
  EXPECT_EQ(R[1].Kind, ShellItemKind::Volume);
  EXPECT_EQ(NameOf(Desktop.Get(), vantrel::win::ItemIdList(vantrel::win::EncodeItemIdList({R[0], R[1]})).Get(),
                   SHGDN_NORMAL),
            "File System");
  std::string Rebuilt;
  for (size_t i = 2; i < R.size(); ++i) Rebuilt += "/" + R[i].Name;
  EXPECT_EQ(Rebuilt, Outside + "/x/a.avi");
  EXPECT_EQ(R.back().Kind, ShellItemKind::File);
  char Path[MAX_PATH];
  ASSERT_TRUE(SHGetPathFromIDList(L.Get(), Path));
  EXPECT_EQ(std::string(Path), Outside + "/x/a.avi");
  // Computer and the Desktop have no path; a missing path does not parse.
  ItemIdList Computer(vantrel::win::EncodeItemIdList({R[0]}));
  EXPECT_FALSE(SHGetPathFromIDList(Computer.Get(), Path));
  ItemIdList Missing;
  EXPECT_TRUE(FAILED(Desktop->ParseDisplayName(nullptr, nullptr, (Outside + "/nope").c_str(), nullptr,
                                               Missing.Put(), nullptr)));
  EXPECT_EQ(Missing.Get(), nullptr);
  EXPECT_TRUE(FAILED(Desktop->ParseDisplayName(nullptr, nullptr, "relative/name", nullptr, Missing.Put(), nullptr)));
}

TEST_F(ShellNamespaceTest, OnePathReachedTwoWaysIsOneItem) {
  ASSERT_TRUE(ForceDirectories(Home + "/Videos"));
  ItemIdList ByHome = Parse(Home + "/Videos");
  auto R = Records(ByHome.Get());
  // The same folder through Computer / File System / its path's components.
  std::vector<vantrel::win::ShellItemRecord> Other;
  ItemIdList Outer = Parse(Outside);
  auto O = Records(Outer.Get());
  Other = {O[0], O[1]};
  std::string Rest = Home.substr(1) + "/Videos";
  for (size_t Start = 0; Start < Rest.size();) {
    size_t End = Rest.find('/', Start);
    if (End == std::string::npos) End = Rest.size();
    vantrel::win::ShellItemRecord C;
    C.Kind = ShellItemKind::Folder;
    C.Name = Rest.substr(Start, End - Start);
    Other.push_back(C);
    Start = End + 1;
  }
  ItemIdList ByComputer(vantrel::win::EncodeItemIdList(Other));
  EXPECT_EQ(CompareResult(Desktop->CompareIDs(0, ByHome.Get(), ByComputer.Get())), 0);
  EXPECT_NE(CompareResult(Desktop->CompareIDs(0, ByHome.Get(), Outer.Get())), 0);
}

TEST_F(ShellNamespaceTest, DesktopBindsAbsoluteListsAndNamesThemForParsing) {
  ASSERT_TRUE(ForceDirectories(Home + "/Videos/2011"));
  WriteFileBytes(Home + "/Videos/clip.mkv", "x");
  ItemIdList L = Parse(Home + "/Videos");
  ComPtr<IShellFolder2> Videos = Bind(Desktop.Get(), L.Get());
  ASSERT_TRUE(Videos);
  EXPECT_EQ(Enumerate(Videos.Get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
            (std::vector<std::string>{"2011", "clip.mkv"}));
  EXPECT_EQ(NameOf(Desktop.Get(), L.Get(), SHGDN_FORPARSING), Home + "/Videos");
  EXPECT_EQ(NameOf(Desktop.Get(), L.Get(), SHGDN_INFOLDER), "Videos");
  // The Desktop holds Home and Computer; Computer holds the volumes.
  EXPECT_EQ(Enumerate(Desktop.Get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
            (std::vector<std::string>{"Computer", "Home"}));
  ItemIdList Computer;
  ASSERT_EQ(Desktop->ParseDisplayName(nullptr, nullptr, vantrel::win::kComputerParsingName, nullptr, Computer.Put(),
                                      nullptr),
            S_OK);
  EXPECT_EQ(NameOf(Desktop.Get(), Computer.Get(), SHGDN_NORMAL), "Computer");
  EXPECT_EQ(NameOf(Desktop.Get(), Computer.Get(), SHGDN_FORPARSING), vantrel::win::kComputerParsingName);
  ComPtr<IShellFolder2> Drives = Bind(Desktop.Get(), Computer.Get());
  EXPECT_EQ(Enumerate(Drives.Get(), SHCONTF_FOLDERS), (std::vector<std::string>{"/"}));
  SHELLDETAILS D;
  ASSERT_EQ(Drives->GetDetailsOf(nullptr, 2, &D), S_OK);
  EXPECT_EQ(Text(D.str), "Total Size");
  // A file is no folder to bind; the unasked interface is refused.
  ItemIdList File = Parse(Home + "/Videos/clip.mkv");
  ComPtr<IShellFolder> None;
  EXPECT_TRUE(FAILED(Desktop->BindToObject(File.Get(), nullptr, IID_IShellFolder, None.PutVoid())));
  void* Menu = reinterpret_cast<void*>(1);
  LPCITEMIDLIST One = File.Get();
  EXPECT_EQ(Desktop->GetUIObjectOf(nullptr, 1, &One, IID_IShellDetails, nullptr, &Menu), E_NOINTERFACE);
  EXPECT_EQ(Menu, nullptr);
}

TEST_F(ShellNamespaceTest, ScratchFolderItemsTable) {
  const std::string Dir = Outside + "/t";
  ASSERT_TRUE(ForceDirectories(Dir + "/sub/inner"));
  WriteFileBytes(Dir + "/a.avi", std::string(3000, 'a'));
  WriteFileBytes(Dir + "/.hidden", "h");
  WriteFileBytes(Dir + "/ro.txt", std::string(2048, 'r'));
  chmod((Dir + "/ro.txt").c_str(), 0444);
  ASSERT_EQ(symlink("a.avi", (Dir + "/lnk").c_str()), 0);
  SetModified(Dir + "/a.avi", LocalTime(2011, 5, 6, 7, 8));
  SetModified(Dir + "/ro.txt", LocalTime(2012, 1, 2, 3, 4));

  ItemIdList L = Parse(Dir);
  ComPtr<IShellFolder2> F = Bind(Desktop.Get(), L.Get());
  ASSERT_TRUE(F);
  EXPECT_EQ(Enumerate(F.Get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
            (std::vector<std::string>{"a.avi", "lnk", "ro.txt", "sub"}));
  EXPECT_EQ(Enumerate(F.Get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN),
            (std::vector<std::string>{".hidden", "a.avi", "lnk", "ro.txt", "sub"}));
  EXPECT_EQ(Enumerate(F.Get(), SHCONTF_FOLDERS), (std::vector<std::string>{"sub"}));

  struct Case {
    const char* Name;
    ULONG Has;
    ULONG Lacks;
    const char* Size;
    const char* Type;
  } Cases[] = {
      {"sub", SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_DROPTARGET,
       SFGAO_LINK | SFGAO_READONLY | SFGAO_GHOSTED, "", "Folder"},
      {"a.avi", SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK | SFGAO_CANRENAME | SFGAO_CANDELETE,
       SFGAO_FOLDER | SFGAO_LINK | SFGAO_READONLY | SFGAO_GHOSTED | SFGAO_FILESYSANCESTOR, "3 KB", "AVI File"},
      {".hidden", SFGAO_FILESYSTEM | SFGAO_GHOSTED, SFGAO_FOLDER | SFGAO_READONLY, "1 KB", "File"},
      {"lnk", SFGAO_FILESYSTEM | SFGAO_LINK, SFGAO_FOLDER | SFGAO_READONLY, "3 KB", "File"},
      {"ro.txt", SFGAO_FILESYSTEM | SFGAO_READONLY, SFGAO_FOLDER | SFGAO_LINK, "2 KB", "TXT File"},
  };
  const ULONG Asked = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR |
                      SFGAO_DROPTARGET | SFGAO_LINK | SFGAO_READONLY | SFGAO_GHOSTED | SFGAO_CANCOPY |
                      SFGAO_CANMOVE | SFGAO_CANLINK | SFGAO_CANRENAME | SFGAO_CANDELETE;
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    ItemIdList Item = Child(F.Get(), C.Name);
    ASSERT_NE(Item.Get(), nullptr);
    LPCITEMIDLIST One = Item.Get();
    ULONG A = Asked;
    ASSERT_EQ(F->GetAttributesOf(1, &One, &A), S_OK);
    EXPECT_EQ(A & C.Has, C.Has);
    EXPECT_EQ(A & C.Lacks, 0u);
    EXPECT_EQ(NameOf(F.Get(), Item.Get(), SHGDN_INFOLDER), C.Name);
    EXPECT_EQ(NameOf(F.Get(), Item.Get(), SHGDN_FORPARSING), Dir + "/" + C.Name);
    SHELLDETAILS D;
    ASSERT_EQ(F->GetDetailsOf(Item.Get(), 1, &D), S_OK);
    EXPECT_EQ(Text(D.str), C.Size);
    ASSERT_EQ(F->GetDetailsOf(Item.Get(), 2, &D), S_OK);
    EXPECT_EQ(Text(D.str), C.Type);
    ASSERT_EQ(F->GetDetailsOf(Item.Get(), 4, &D), S_OK);
    EXPECT_NE(Text(D.str).find(':'), std::string::npos);  // a time of day
  }
  ItemIdList A = Child(F.Get(), "a.avi"), Ro = Child(F.Get(), "ro.txt"), Sub = Child(F.Get(), "sub"),
             Hidden = Child(F.Get(), ".hidden");
  SHELLDETAILS D;
  ASSERT_EQ(F->GetDetailsOf(A.Get(), 3, &D), S_OK);
  EXPECT_EQ(Text(D.str), "2011-05-06 07:08");
  ASSERT_EQ(F->GetDetailsOf(Ro.Get(), 5, &D), S_OK);
  EXPECT_NE(Text(D.str).find('R'), std::string::npos);
  ASSERT_EQ(F->GetDetailsOf(Hidden.Get(), 5, &D), S_OK);
  EXPECT_NE(Text(D.str).find('H'), std::string::npos);
  EXPECT_EQ(F->GetDetailsOf(A.Get(), 6, &D), E_FAIL);
  // Column headings and their default states.
  const char* Heads[] = {"Name", "Size", "Type", "Modified", "Created", "Attributes"};
  for (UINT c = 0; c < 6; ++c) {
    ASSERT_EQ(F->GetDetailsOf(nullptr, c, &D), S_OK);
    EXPECT_EQ(Text(D.str), Heads[c]);
    DWORD State = 0;
    ASSERT_EQ(F->GetDefaultColumnState(c, &State), S_OK);
    EXPECT_EQ((State & SHCOLSTATE_ONBYDEFAULT) != 0, c <= 3) << c;
  }

  // Order per column: folders first; then name without case, size, type, date.
  EXPECT_LT(CompareResult(F->CompareIDs(0, Sub.Get(), A.Get())), 0);
  EXPECT_LT(CompareResult(F->CompareIDs(0, A.Get(), Ro.Get())), 0);
  EXPECT_GT(CompareResult(F->CompareIDs(0, Ro.Get(), A.Get())), 0);
  EXPECT_GT(CompareResult(F->CompareIDs(1, A.Get(), Ro.Get())), 0);  // 3000 > 2048 bytes
  EXPECT_LT(CompareResult(F->CompareIDs(2, A.Get(), Ro.Get())), 0);  // "AVI File" < "TXT File"
  EXPECT_LT(CompareResult(F->CompareIDs(3, A.Get(), Ro.Get())), 0);  // 2011 before 2012
  EXPECT_GT(CompareResult(F->CompareIDs(3, Ro.Get(), A.Get())), 0);
  EXPECT_EQ(CompareResult(F->CompareIDs(0, A.Get(), A.Get())), 0);
}

TEST_F(ShellNamespaceTest, SetNameOfRenamesInPlaceAndRefusesBadNames) {
  const std::string Dir = Outside + "/r";
  ASSERT_TRUE(ForceDirectories(Dir));
  WriteFileBytes(Dir + "/a.avi", "A");
  WriteFileBytes(Dir + "/c.avi", "C");
  ComPtr<IShellFolder2> F = Bind(Desktop.Get(), Parse(Dir).Get());
  ItemIdList A = Child(F.Get(), "a.avi");
  ItemIdList New;
  ASSERT_EQ(F->SetNameOf(nullptr, A.Get(), "b.avi", SHGDN_NORMAL, New.Put()), S_OK);
  EXPECT_EQ(Records(New.Get()).at(0).Name, "b.avi");
  EXPECT_FALSE(FileExists(Dir + "/a.avi"));
  EXPECT_EQ(vantrel::test::ReadFileBytes(Dir + "/b.avi"), "A");
  for (const char* Bad : {"x/y", "", ".", "..", "c.avi"}) {
    SCOPED_TRACE(Bad);
    ItemIdList Out;
    EXPECT_TRUE(FAILED(F->SetNameOf(nullptr, New.Get(), Bad, SHGDN_NORMAL, Out.Put())));
    EXPECT_EQ(Out.Get(), nullptr);
  }
  EXPECT_EQ(vantrel::test::ReadFileBytes(Dir + "/b.avi"), "A");
  EXPECT_EQ(vantrel::test::ReadFileBytes(Dir + "/c.avi"), "C");
  EXPECT_EQ(Enumerate(F.Get(), SHCONTF_NONFOLDERS), (std::vector<std::string>{"b.avi", "c.avi"}));
}

// Runs Check in a child process that has dropped to "nobody"; skips when the tests do not
// run as root.
TEST_F(ShellNamespaceTest, PermissionsAsNobody) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to drop to nobody";
  const passwd* Nobody = getpwnam("nobody");
  if (!Nobody) GTEST_SKIP() << "no user nobody";
  const std::string Dir = Outside + "/p";
  ASSERT_TRUE(ForceDirectories(Dir + "/locked"));
  ASSERT_TRUE(ForceDirectories(Dir + "/secret"));
  WriteFileBytes(Dir + "/locked/f.avi", "x");
  WriteFileBytes(Dir + "/secret/s.avi", "x");
  chmod(Dir.c_str(), 0755);
  chmod((Dir + "/locked").c_str(), 0555);
  chmod((Dir + "/secret").c_str(), 0000);
  const uid_t Uid = Nobody->pw_uid;
  const gid_t Gid = Nobody->pw_gid;
  const pid_t Pid = fork();
  ASSERT_GE(Pid, 0);
  if (Pid == 0) {
    if (setgid(Gid) != 0 || setuid(Uid) != 0) _exit(10);
    if (access(Dir.c_str(), R_OK | X_OK) != 0) _exit(11);  // the scratch tree is out of reach
    ItemIdList Item;
    if (vantrel::win::ParseShellPath(Dir + "/locked/f.avi", Item.Put()) != S_OK) _exit(2);
    LPCITEMIDLIST One = Item.Get();
    ULONG A = SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_CANCOPY;
    if (Desktop->GetAttributesOf(1, &One, &A) != S_OK || A != SFGAO_CANCOPY) _exit(3);
    ItemIdList Secret;
    if (vantrel::win::ParseShellPath(Dir + "/secret", Secret.Put()) != S_OK) _exit(4);
    ComPtr<IShellFolder> F;
    if (Desktop->BindToObject(Secret.Get(), nullptr, IID_IShellFolder, F.PutVoid()) != S_OK) _exit(5);
    ComPtr<IEnumIDList> E;
    if (F->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, E.Put()) !=
        HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED))
      _exit(6);
    _exit(0);
  }
  int Status = 0;
  waitpid(Pid, &Status, 0);
  chmod((Dir + "/secret").c_str(), 0755);
  chmod((Dir + "/locked").c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(Status));
  if (WEXITSTATUS(Status) == 11) GTEST_SKIP() << "scratch folder not reachable by nobody";
  EXPECT_EQ(WEXITSTATUS(Status), 0);
}
