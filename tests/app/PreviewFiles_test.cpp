// The preview's files: private SDL copies, snapshot names and the time label's text.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "app/main.h"
#include "media/FFPlay.h"
#include "tests/media/PlayerTestKit.h"
#include "tests/support/TempDir.h"

using namespace vantrel::app;
using vantrel::test::ReadFileBytes;
using vantrel::test::TTempDir;
using vantrel::test::WriteFileBytes;

namespace {

ino_t InodeOf(const std::string& Path) {
  struct stat St {};
  return lstat(Path.c_str(), &St) == 0 ? St.st_ino : 0;
}

bool IsRegularFile(const std::string& Path) {
  struct stat St {};
  return lstat(Path.c_str(), &St) == 0 && S_ISREG(St.st_mode);
}

}  // namespace

TEST(PreviewFiles, FourPrivateSdlCopiesAreByteCopiesOfTheSource) {
  TTempDir Temp;
  const std::string Source = vantrel::test::SystemSDLFile();
  for (Integer N = 0; N <= 3; ++N) {
    SCOPED_TRACE(N);
    const String Name = PrepareSdlCopy(N, Temp.Path(), Source);
    EXPECT_EQ(Name, "SDL_" + std::to_string(N) + ".so");
    const std::string Copy = Temp.File(Name);
    EXPECT_TRUE(IsRegularFile(Copy));  // not a symbolic link
    EXPECT_NE(InodeOf(Copy), InodeOf(Source));
    EXPECT_EQ(ReadFileBytes(Copy), ReadFileBytes(Source));
  }
}

TEST(PreviewFiles, AnExistingCopyIsUsedUnchanged) {
  TTempDir Temp;
  WriteFileBytes(Temp.File("SDL_0.so"), "older copy");
  EXPECT_EQ(PrepareSdlCopy(0, Temp.Path(), vantrel::test::SystemSDLFile()), "SDL_0.so");
  EXPECT_EQ(ReadFileBytes(Temp.File("SDL_0.so")), "older copy");
}

TEST(PreviewFiles, TheProgramsSdlSourceIsTheSystemsLibraryFile) {
  const String Source = SdlSourceFile();
  ASSERT_FALSE(Source.empty());
  EXPECT_EQ(ReadFileBytes(Source), ReadFileBytes(vantrel::test::SystemSDLFile()));
}

TEST(PreviewFiles, AMissingSourceMakesTheLoadFailWithItsReport) {
  TTempDir Temp;
  TMainUnitState State;
  TOwned<vantrel::media::TCustomPlayer> Player = CreateOwned<vantrel::media::TDODodeve>(nullptr);
  EXPECT_FALSE(LoadPreviewSdl(State, *Player, Temp.Path(), Temp.File("no-such-library.so")));
  EXPECT_FALSE(IsRegularFile(Temp.File("SDL_0.so")));
  ASSERT_EQ(State.ErrorReports.size(), 1u);
  EXPECT_EQ(State.ErrorReports[0].Text, "Error loading SDL library");
  EXPECT_EQ(State.ErrorReports[0].Mark, "CLM_SDlLibLoad");
  ASSERT_EQ(State.ActionLog.size(), 1u);
  EXPECT_EQ(State.ActionLog[0], Player->LastErrMsg());
  EXPECT_FALSE(State.ActionLog[0].empty());
}

TEST(PreviewFiles, ThePreviewLoadsItsCopyOnce) {
  TTempDir Temp;
  TMainUnitState State;
  TOwned<vantrel::media::TCustomPlayer> Player = CreateOwned<vantrel::media::TDODodeve>(nullptr);
  ASSERT_TRUE(LoadPreviewSdl(State, *Player, Temp.Path(), vantrel::test::SystemSDLFile()));
  EXPECT_TRUE(Player->SDLLibLoaded());
  EXPECT_TRUE(IsRegularFile(Temp.File("SDL_0.so")));
  EXPECT_TRUE(LoadPreviewSdl(State, *Player, Temp.Path(), ""));
  EXPECT_TRUE(State.ErrorReports.empty());
}

TEST(PreviewFiles, TimeTexts) {
  struct Case {
    Int64 Microseconds;
    const char* Text;
  } Cases[] = {
      {0, "00:00:00"},
      {999999, "00:00:00"},
      {(3600 + 2 * 60 + 3) * 1000000LL + 500000, "01:02:03"},
      {10 * 3600 * 1000000LL, "10:00:00"},
      {100 * 3600 * 1000000LL, "100:00:00"},
      {2 * 1000000LL, "00:00:02"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Microseconds);
    EXPECT_EQ(PlayTimeText(C.Microseconds), C.Text);
  }
}

TEST(PreviewFiles, SnapshotStems) {
  struct Case {
    const char* Title;
    const char* Source;
    const char* Stem;
  } Cases[] = {
      {"holiday", "/v/a.mp4", "holiday"},
      {"../up/out", "/v/a.mp4", ".._up_out"},
      {"", "/v/clip.one.mp4", "clip.one"},
      {"..", "/v/b.avi", "b"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Title);
    EXPECT_EQ(SnapshotStem(C.Title, C.Source), C.Stem);
  }
}

TEST(PreviewFiles, SnapshotNamesSkipFilesThatExist) {
  TTempDir Dir;
  Integer Counter = 1;
  EXPECT_EQ(NextSnapshotFile(Dir.Path(), "v", ".jpg", Counter), Dir.File("v_1.jpg"));
  EXPECT_EQ(Counter, 1);
  WriteFileBytes(Dir.File("v_1.jpg"), "earlier run");
  WriteFileBytes(Dir.File("v_2.jpg"), "earlier run");
  EXPECT_EQ(NextSnapshotFile(Dir.Path(), "v", ".jpg", Counter), Dir.File("v_3.jpg"));
  EXPECT_EQ(Counter, 3);
  Integer Bmp = 1;
  EXPECT_EQ(NextSnapshotFile(Dir.Path() + "/", "v", ".bmp", Bmp), Dir.File("v_1.bmp"));
}
