#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "skin/dialogs/SkinShellChangeNotifier.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/TempDir.h"

using vantrel::test::TTempDir;
using vantrel::test::WriteFileBytes;
using vantrel::testsupport::PumpFor;
using vantrel::testsupport::PumpUntil;

namespace {

struct NotifierDeleter {
  void operator()(TspShellChangeNotifier* N) const { N->Free(); }
};
using NotifierPtr = std::unique_ptr<TspShellChangeNotifier, NotifierDeleter>;

class ShellChangeNotifierTest : public testing::Test {
 protected:
  NotifierPtr Watch(const std::string& Folder, bool SubTree) {
    NotifierPtr N(TspShellChangeNotifier::Create(nullptr));
    N->SetRoot(Folder);
    N->SetWatchSubTree(SubTree);
    N->SetOnChange([this] {
      EXPECT_TRUE(IsMainThread());
      ++Calls;
    });
    // Give the thread time to open its notification.
    PumpFor(50);
    return N;
  }

  TTempDir Dir;
  int Calls = 0;
};

TEST_F(ShellChangeNotifierTest, CreateDeleteAndRenameRunOnChangeOnTheGuiThread) {
  NotifierPtr N = Watch(Dir.Path(), false);
  const std::string A = Dir.File("a.ts"), B = Dir.File("b.ts");
  struct Step {
    const char* What;
    std::function<void()> Do;
  } Steps[] = {
      {"create", [&] { WriteFileBytes(A, "x"); }},
      {"rename", [&] { ASSERT_EQ(std::rename(A.c_str(), B.c_str()), 0); }},
      {"delete", [&] { ASSERT_EQ(unlink(B.c_str()), 0); }},
  };
  for (const Step& S : Steps) {
    SCOPED_TRACE(S.What);
    PumpFor(30);
    Calls = 0;
    S.Do();
    EXPECT_TRUE(PumpUntil([&] { return Calls > 0; }));
  }
}

TEST_F(ShellChangeNotifierTest, SubFoldersCountOnlyWhenWatchingTheSubTree) {
  mkdir(Dir.File("old").c_str(), 0755);
  {
    NotifierPtr N = Watch(Dir.Path(), false);
    WriteFileBytes(Dir.File("old/f.ts"), "x");
    PumpFor(300);
    EXPECT_EQ(Calls, 0);
  }
  NotifierPtr N = Watch(Dir.Path(), true);
  Calls = 0;
  WriteFileBytes(Dir.File("old/g.ts"), "x");
  EXPECT_TRUE(PumpUntil([&] { return Calls > 0; }));
  mkdir(Dir.File("new").c_str(), 0755);
  PumpFor(100);
  Calls = 0;
  WriteFileBytes(Dir.File("new/h.ts"), "x");
  EXPECT_TRUE(PumpUntil([&] { return Calls > 0; }));
}

TEST_F(ShellChangeNotifierTest, FreeingJoinsAtOnceAndDropsAPendingChange) {
  NotifierPtr N = Watch(Dir.Path(), false);
  WriteFileBytes(Dir.File("a.ts"), "x");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the thread now waits on the GUI
  const auto Start = std::chrono::steady_clock::now();
  N.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::milliseconds(1000));
  PumpFor(100);
  EXPECT_EQ(Calls, 0);
}

TEST_F(ShellChangeNotifierTest, AMissingFolderCallsNothing) {
  const std::string Missing = Dir.File("later");
  NotifierPtr N = Watch(Missing, true);
  mkdir(Missing.c_str(), 0755);
  WriteFileBytes(Missing + "/a.ts", "x");
  WriteFileBytes(Dir.File("b.ts"), "x");
  PumpFor(300);
  EXPECT_EQ(Calls, 0);
}

TEST_F(ShellChangeNotifierTest, ANewRootIsWatchedInsteadOfTheOldOne) {
  mkdir(Dir.File("one").c_str(), 0755);
  mkdir(Dir.File("two").c_str(), 0755);
  NotifierPtr N = Watch(Dir.File("one"), false);
  N->SetRoot(Dir.File("two"));
  PumpFor(100);
  Calls = 0;
  WriteFileBytes(Dir.File("one/a.ts"), "x");
  PumpFor(300);
  EXPECT_EQ(Calls, 0);
  WriteFileBytes(Dir.File("two/a.ts"), "x");
  EXPECT_TRUE(PumpUntil([&] { return Calls > 0; }));
  // A root that could not be watched gives way to one that can.
  N->SetRoot(Dir.File("none"));
  PumpFor(100);
  N->SetRoot(Dir.File("one"));
  PumpFor(100);
  Calls = 0;
  WriteFileBytes(Dir.File("one/b.ts"), "x");
  EXPECT_TRUE(PumpUntil([&] { return Calls > 0; }));
}

// Names that differ only by case are two folders on this file system.
TEST_F(ShellChangeNotifierTest, ARootDifferingOnlyByCaseIsAnotherFolder) {
  mkdir(Dir.File("Clips").c_str(), 0755);
  mkdir(Dir.File("clips").c_str(), 0755);
  NotifierPtr N = Watch(Dir.File("Clips"), false);
  N->SetRoot(Dir.File("clips"));
  EXPECT_EQ(N->Root(), Dir.File("clips"));
  PumpFor(100);
  Calls = 0;
  WriteFileBytes(Dir.File("clips/a.ts"), "x");
  EXPECT_TRUE(PumpUntil([&] { return Calls > 0; }));
}

TEST(ShellChangeNotifierFlags, FiltersGiveTheirNotificationFlags) {
  EXPECT_EQ(FiltersToNotifyFlags({nfFileNameChange, nfDirNameChange}), 0x3u);
  EXPECT_EQ(FiltersToNotifyFlags({nfAttributeChange, nfSizeChange, nfWriteChange}), 0x1Cu);
  EXPECT_EQ(FiltersToNotifyFlags({nfSecurityChange}), 0x100u);
}

}  // namespace
