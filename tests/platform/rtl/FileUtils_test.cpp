#include "platform/rtl/FileUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "tests/support/TempDir.h"

using vantrel::test::ReadFileBytes;
using vantrel::test::TTempDir;
using vantrel::test::WriteFileBytes;

namespace {

std::vector<String> Search(const String& Path, Integer Attr) {
  std::vector<String> R;
  TSearchRec F;
  if (FindFirst(Path, Attr, F) == 0) {
    do R.push_back(F.Name);
    while (FindNext(F) == 0);
    FindClose(F);
  }
  std::sort(R.begin(), R.end());
  return R;
}
using V = std::vector<String>;

}  // namespace

TEST(FileUtils, FileNameParts) {
  const struct {
    const char* In;
    const char* Name;
    const char* Path;
    const char* Dir;
    const char* Ext;
    const char* NewExt;
  } Cases[] = {
      {"/a/b/movie.mp4", "movie.mp4", "/a/b/", "/a/b", ".mp4", "/a/b/movie.avi"},
      {"movie.tar.gz", "movie.tar.gz", "", "", ".gz", "movie.tar.avi"},
      {"/a.b/noext", "noext", "/a.b/", "/a.b", "", "/a.b/noext.avi"},
      {"/file", "file", "/", "/", "", "/file.avi"},
      {"/a/b/", "", "/a/b/", "/a/b", "", "/a/b/.avi"},
      {".hidden", ".hidden", "", "", ".hidden", ".avi"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.In);
    EXPECT_EQ(ExtractFileName(C.In), C.Name);
    EXPECT_EQ(ExtractFilePath(C.In), C.Path);
    EXPECT_EQ(ExtractFileDir(C.In), C.Dir);
    EXPECT_EQ(ExtractFileExt(C.In), C.Ext);
    EXPECT_EQ(ChangeFileExt(C.In, ".avi"), C.NewExt);
  }
  EXPECT_EQ(ExpandFileName("/a/./b/../c"), "/a/c");
  EXPECT_EQ(ExpandFileName("/a/b/"), "/a/b/");
  EXPECT_EQ(ExpandFileName("x/y"), IncludeTrailingPathDelimiter(GetCurrentDir()) + "x/y");
}

TEST(FileUtils, MasksMatchLikeTheShell) {
  const struct {
    const char* Name;
    const char* Mask;
    bool Match;
  } Cases[] = {
      {"clip.BMP", "*.bmp", true}, {"clip.bmp.txt", "*.bmp", false}, {"noext", "*.*", true},
      {"a1.txt", "a?.txt", true},  {"a12.txt", "a?.txt", false},     {"abc", "*b*", true},
      {"abc", "a*c*", true},       {"ab", "a*c", false},             {"", "*", true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(String(C.Name) + " ~ " + C.Mask);
    EXPECT_EQ(MatchesSearchMask(C.Name, C.Mask), C.Match);
  }
}

TEST(FileUtils, FindFirstListsByMaskAndAttributes) {
  TTempDir Dir;
  WriteFileBytes(Dir.File("a.bmp"), "12345");
  WriteFileBytes(Dir.File("B.BMP"), "");
  WriteFileBytes(Dir.File("c.png"), "");
  WriteFileBytes(Dir.File(".secret.bmp"), "");
  mkdir(Dir.File("sub.bmp").c_str(), 0755);
  const String P = Dir.Path() + "/";
  EXPECT_EQ(Search(P + "*.bmp", 0), (V{"B.BMP", "a.bmp"}));
  EXPECT_EQ(Search(P + "*.bmp", faAnyFile), (V{".secret.bmp", "B.BMP", "a.bmp", "sub.bmp"}));
  EXPECT_EQ(Search(P + "*", faDirectory), (V{".", "..", "B.BMP", "a.bmp", "c.png", "sub.bmp"}));
  EXPECT_EQ(Search(P + "*.gif", faAnyFile), V{});

  TSearchRec F;
  ASSERT_EQ(FindFirst(P + "a.bmp", faAnyFile, F), 0);
  EXPECT_EQ(F.Size, 5);
  EXPECT_EQ(F.Attr & faDirectory, 0);
  EXPECT_NE(F.Attr & faArchive, 0);
  EXPECT_EQ(FindNext(F), ERROR_NO_MORE_FILES);
  FindClose(F);
  EXPECT_EQ(FindFirst(P + "none*", faAnyFile, F), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(FindFirst(P + "nofolder/*", faAnyFile, F), ERROR_PATH_NOT_FOUND);
}

TEST(FileUtils, ExistenceCreationAndRemoval) {
  TTempDir Dir;
  const String File = Dir.File("f.txt");
  WriteFileBytes(File, "abc");
  EXPECT_TRUE(FileExists(File));
  EXPECT_FALSE(FileExists(Dir.Path()));
  EXPECT_TRUE(DirectoryExists(Dir.Path()));
  EXPECT_FALSE(DirectoryExists(File));
  EXPECT_EQ(FileSize(File), 3);
  EXPECT_EQ(FileSize(Dir.File("none")), -1);
  EXPECT_TRUE(ForceDirectories(Dir.File("x/y/z/")));
  EXPECT_TRUE(DirectoryExists(Dir.File("x/y/z")));
  EXPECT_FALSE(ForceDirectories(File + "/sub"));
  EXPECT_FALSE(ForceDirectories(""));
  EXPECT_FALSE(CreateDir(Dir.File("x")));  // exists
  EXPECT_FALSE(RemoveDir(Dir.File("x")));  // not empty
  EXPECT_TRUE(RemoveDir(Dir.File("x/y/z")));
  EXPECT_FALSE(DeleteFile(Dir.File("x")));  // a folder is no file
  WriteFileBytes(Dir.File("g.txt"), "g");
  EXPECT_FALSE(RenameFile(File, Dir.File("g.txt")));  // an existing target stays
  EXPECT_EQ(ReadFileBytes(Dir.File("g.txt")), "g");
  EXPECT_TRUE(RenameFile(File, Dir.File("h.txt")));
  EXPECT_TRUE(DeleteFile(Dir.File("h.txt")));
  EXPECT_FALSE(FileExists(Dir.File("h.txt")));
}

TEST(FileUtils, FileAgeIsTheLocalModificationTime) {
  setenv("TZ", "UTC0", 1);
  tzset();
  TTempDir Dir;
  const String File = Dir.File("f");
  WriteFileBytes(File, "");
  const timespec Times[2] = {{1700000000, 0}, {1700000000, 0}};  // 2023-11-14 22:13:20 UTC
  ASSERT_EQ(utimensat(AT_FDCWD, File.c_str(), Times, 0), 0);
  TDateTime T;
  ASSERT_TRUE(FileAge(File, T));
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", T), "2023-11-14 22:13:20");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", FileDateToDateTime(FileAge(File))),
            "2023-11-14 22:13:20");
  EXPECT_EQ(FileAge(Dir.File("none")), -1);
}

TEST(FileUtils, CopyFileHonoursFailIfExists) {
  TTempDir Dir;
  const String Src = Dir.File("src"), Dst = Dir.File("dst");
  WriteFileBytes(Src, "new");
  chmod(Src.c_str(), 0640);
  EXPECT_TRUE(CopyFile(Src, Dst, true));
  EXPECT_EQ(ReadFileBytes(Dst), "new");
  struct stat S {};
  stat(Dst.c_str(), &S);
  EXPECT_EQ(S.st_mode & 0777, 0640u);
  WriteFileBytes(Dst, "old");
  EXPECT_FALSE(CopyFile(Src, Dst, true));
  EXPECT_EQ(ReadFileBytes(Dst), "old");
  EXPECT_TRUE(CopyFile(Src, Dst, false));
  EXPECT_EQ(ReadFileBytes(Dst), "new");
  EXPECT_FALSE(CopyFile(Src, Src, false));  // onto itself: the file stays whole
  EXPECT_EQ(ReadFileBytes(Src), "new");
  EXPECT_FALSE(CopyFile(Dir.File("none"), Dst, false));
  EXPECT_FALSE(CopyFile(Src, Dir.File("nofolder/x"), false));
  // Only the two files: no temporary copies left behind.
  EXPECT_EQ(Search(Dir.Path() + "/*", faHidden), (V{"dst", "src"}));  // hidden temporaries too
}

TEST(FileUtils, SpecialFoldersComeFromXdgUserDirsAndAreCreated) {
  TTempDir Home;
  setenv("HOME", Home.Path().c_str(), 1);
  setenv("XDG_CONFIG_HOME", (Home.Path() + "/cfg").c_str(), 1);
  ForceDirectories(Home.Path() + "/cfg");
  WriteFileBytes(Home.Path() + "/cfg/user-dirs.dirs",
                   "# written by xdg-user-dirs-update\n"
                   "XDG_VIDEOS_DIR=\"$HOME/My Films\"\n"
                   "XDG_MUSIC_DIR=\"" + Home.Path() + "/abs/music\"\n");
  const struct {
    Word Csidl;
    String Path;
  } Cases[] = {
      {CSIDL_MYVIDEO, Home.Path() + "/My Films"},
      {CSIDL_PERSONAL, Home.Path() + "/Documents"},  // not in the file: the default
      {CSIDL_MYMUSIC, Home.Path() + "/abs/music"},
      {CSIDL_APPDATA, Home.Path() + "/cfg"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Csidl);
    EXPECT_EQ(GetSpecialFolder(C.Csidl), C.Path);
    EXPECT_TRUE(DirectoryExists(C.Path));
  }
  EXPECT_EQ(GetSpecialFolder(0x7777), "");
  WriteFileBytes(Home.Path() + "/blocker", "");
  setenv("HOME", (Home.Path() + "/blocker").c_str(), 1);
  EXPECT_EQ(GetSpecialFolder(CSIDL_PERSONAL), "");  // cannot be created
}

TEST(FileUtils, TempFolderIsPrivateAndGoesWithItsProcess) {
  TTempDir Base;
  setenv("TMPDIR", Base.Path().c_str(), 1);
  int Pipe[2];
  ASSERT_EQ(pipe(Pipe), 0);
  const pid_t Child = fork();
  ASSERT_GE(Child, 0);
  if (Child == 0) {
    close(Pipe[0]);
    const String T = GetTempFolder();
    const String F = GetTempFileName("clip");
    struct stat S {};
    const bool Ok = stat(T.c_str(), &S) == 0 && (S.st_mode & 0777) == 0700 && T == GetTempFolder() &&
                    T.back() == '/' && T.rfind(Base.Path() + "/", 0) == 0 && FileExists(F) &&
                    ExtractFilePath(F) == T;
    // A grandchild that exits must not take the folder with it.
    const pid_t Grand = fork();
    if (Grand == 0) exit(0);
    waitpid(Grand, nullptr, 0);
    const String Msg = (Ok && DirectoryExists(T) ? "ok " : "bad ") + T;
    if (write(Pipe[1], Msg.data(), Msg.size()) < 0) _exit(2);
    exit(0);  // runs the static destructors
  }
  close(Pipe[1]);
  char Buf[4096];
  String Msg;
  ssize_t N;
  while ((N = read(Pipe[0], Buf, sizeof Buf)) > 0) Msg.append(Buf, static_cast<size_t>(N));
  close(Pipe[0]);
  int Status = 0;
  waitpid(Child, &Status, 0);
  unsetenv("TMPDIR");
  ASSERT_EQ(Msg.substr(0, 3), "ok ") << Msg;
  EXPECT_FALSE(DirectoryExists(Msg.substr(3)));
}

TEST(FileUtils, SaveFileAtomicallyKeepsModeAndFollowsLinks) {
  TTempDir Dir;
  const String Target = Dir.File("target");
  WriteFileBytes(Target, "old");
  chmod(Target.c_str(), 0600);
  ASSERT_EQ(symlink(Target.c_str(), Dir.File("link").c_str()), 0);
  vantrel::rtl::SaveFileAtomically(Dir.File("link"), "new");
  EXPECT_EQ(ReadFileBytes(Target), "new");
  struct stat S {};
  lstat(Dir.File("link").c_str(), &S);
  EXPECT_TRUE(S_ISLNK(S.st_mode));
  stat(Target.c_str(), &S);
  EXPECT_EQ(S.st_mode & 0777, 0600u);
  EXPECT_THROW(vantrel::rtl::SaveFileAtomically(Dir.Path(), "x"), EFCreateError);
  EXPECT_THROW(vantrel::rtl::SaveFileAtomically(Target + "/x", "x"), EFCreateError);
}
