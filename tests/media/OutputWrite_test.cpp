// Where a conversion writes: setting a task up makes nothing on disk, a file that has the
// output's name is never replaced (the output takes the next free "name (N).ext"), and a
// task that does not finish (stopped before or while it runs, or failing) leaves no file.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "platform/rtl/FileUtils.h"
#include "tests/media/TaskTestEngine.h"
#include "tests/support/TranscodeProbe.h"

using namespace vantrel::media;
using vantrel::test::FFProbeEntries;
using vantrel::test::ReadFileBytes;
using vantrel::test::WriteFileBytes;

namespace {

// Names and contents of everything in a folder.
std::map<std::string, std::string> FolderContents(const std::string& ADir) {
  std::map<std::string, std::string> Files;
  for (const auto& E : std::filesystem::directory_iterator(ADir))
    Files[E.path().filename()] = E.is_regular_file() ? ReadFileBytes(E.path()) : std::string("<not a file>");
  return Files;
}

// A task that stops itself, or fails, at its Nth progress report (one after each packet).
class TEndingTask : public vantrel::test::TTestTask {
 public:
  TEndingTask(int AAt, bool AFail) : TTestTask(8), At(AAt), Fails(AFail) { ReportInterval = -1; }

 protected:
  void PrintReport(bool AIsLastReport, Integer AInputIndex) override {
    TTestTask::PrintReport(AIsLastReport, AInputIndex);
    if (AIsLastReport || ++Reports != At) return;
    if (Fails) throw FFmpegException("failed on the way");
    Stop(false);
  }

 private:
  const int At;
  const bool Fails;
  int Reports = 0;
};

class OutputWriteTest : public vantrel::test::TTaskTest {
 protected:
  static TOutputOptions Mpeg4() {
    TOutputOptions O;
    O.VideoCodec = "mpeg4";
    O.AudioCodec = "aac";
    return O;
  }
  // A file of some other program's bytes, as an earlier output would be.
  void Earlier(const std::string& AName) { WriteFileBytes(Dir.File(AName), "earlier output " + AName); }
};

TEST_F(OutputWriteTest, AFileOfTheOutputsNameIsKeptAndTheOutputTakesTheNextFreeName) {
  const struct {
    std::vector<std::string> There;
    std::string Written;
  } Cases[] = {
      {{}, "clip.mp4"},
      {{"clip.mp4"}, "clip (2).mp4"},
      {{"clip.mp4", "clip (2).mp4"}, "clip (3).mp4"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Written);
    for (const auto& E : std::filesystem::directory_iterator(Dir.Path())) std::filesystem::remove(E.path());
    for (const std::string& Name : C.There) Earlier(Name);
    const auto Before = FolderContents(Dir.Path());
    T = CreateOwned<vantrel::test::TTestTask>(8);
    ASSERT_TRUE(OpenInput(Fixture("v.mp4"))) << T->LastErrMsg();
    TOutputOptions O = Mpeg4();
    ASSERT_TRUE(T->OpenOutput(Dir.File("clip.mp4"), &O)) << T->LastErrMsg();
    // Setting the task up changes nothing on disk.
    EXPECT_EQ(FolderContents(Dir.Path()), Before);

    T->StartConvert(false);
    ASSERT_TRUE(T->Finished()) << T->FatalMessage();
    auto After = FolderContents(Dir.Path());
    ASSERT_EQ(After.count(C.Written), 1u);
    After.erase(C.Written);
    EXPECT_EQ(After, Before);  // byte for byte, and no part file left
    EXPECT_EQ(T->OutputFileName(0), Dir.File(C.Written));
    const std::string Out = Dir.File(C.Written);
    EXPECT_EQ(FFProbeEntries(Out, "stream=codec_name"), "mpeg4\naac\n");
    EXPECT_NEAR(std::strtod(FFProbeEntries(Out, "format=duration").c_str(), nullptr), 2.0, 0.1);
  }
}

TEST_F(OutputWriteTest, ATaskThatDoesNotFinishLeavesNoFile) {
  const struct {
    const char* Name;
    int At;  // the progress report that ends it; 0: stopped before its thread runs
    bool Fails;
  } Cases[] = {
      {"stopped before it runs", 0, false},
      {"stopped while it runs", 10, false},
      {"failing while it runs", 10, true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    for (const auto& E : std::filesystem::directory_iterator(Dir.Path())) std::filesystem::remove(E.path());
    Earlier("clip.mp4");
    const auto Before = FolderContents(Dir.Path());
    auto Task = CreateOwned<TEndingTask>(C.At, C.Fails);
    ASSERT_TRUE(Task->OpenInput(Fixture("v.mp4"), nullptr)) << Task->LastErrMsg();
    TOutputOptions O = Mpeg4();
    ASSERT_TRUE(Task->OpenOutput(Dir.File("clip.mp4"), &O)) << Task->LastErrMsg();
    ASSERT_TRUE(Task->OpenOutput(Dir.File("other.mkv"), &O)) << Task->LastErrMsg();
    TThread* Thread = Task->StartConvert(true);
    ASSERT_NE(Thread, nullptr);
    if (C.At == 0) Task->Stop(false);  // starts the thread with the stop already asked
    else Thread->Start();
    Thread->WaitFor();
    EXPECT_FALSE(Task->Finished());
    EXPECT_EQ(Task->FatalException(), C.Fails) << Task->FatalMessage();
    EXPECT_EQ(FolderContents(Dir.Path()), Before);
  }
}

TEST_F(OutputWriteTest, AnOutputThatCannotBeMadeIsRefusedWithoutTouchingTheFolder) {
  std::filesystem::create_directory(Dir.File("folder.mp4"));
  Earlier("clip.mp4");
  const auto Before = FolderContents(Dir.Path());
  const struct {
    std::string File;
    std::string Message;
  } Cases[] = {
      {Dir.File("folder.mp4"), Dir.File("folder.mp4") + ": Is a directory"},
      {Dir.File(std::string(300, 'n') + ".mp4"), Dir.File(std::string(300, 'n') + ".mp4") + ": File name too long"},
      {Dir.File("clip.mp4/out.mp4"), Dir.File("clip.mp4/out.mp4") + ": Not a directory"},
  };
  ASSERT_TRUE(OpenInput(Fixture("v.mp4"))) << T->LastErrMsg();
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Message);
    TOutputOptions O = Mpeg4();
    EXPECT_FALSE(T->OpenOutput(C.File, &O));
    EXPECT_EQ(T->LastErrMsg(), C.Message);
    EXPECT_EQ(FolderContents(Dir.Path()), Before);
  }
}

TEST_F(OutputWriteTest, TheMoveIntoPlaceNeverReplacesAnything) {
  // "a.mp4" taken by a link that leads nowhere, "b" (no extension) by a folder.
  ASSERT_EQ(::symlink(Dir.File("nowhere").c_str(), Dir.File("a.mp4").c_str()), 0);
  std::filesystem::create_directory(Dir.File("b"));
  Earlier("c (2).tar.gz");
  Earlier("c.tar.gz");
  const struct {
    const char* Name;
    const char* Written;
  } Cases[] = {{"a.mp4", "a (2).mp4"}, {"b", "b (2)"}, {"c.tar.gz", "c.tar (2).gz"}, {"d.mp3", "d.mp3"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    const auto Before = FolderContents(Dir.Path());
    int Err = 0;
    const String Part = CreatePartFile(Dir.File(C.Name), Err);
    ASSERT_FALSE(Part.empty()) << Err;
    EXPECT_EQ(ExtractFileDir(Part), Dir.Path());
    EXPECT_EQ(ExtractFileName(Part)[0], '.');  // hidden while it is written
    WriteFileBytes(Part, std::string("new ") + C.Name);
    EXPECT_EQ(MoveToFreeName(Part, Dir.File(C.Name)), Dir.File(C.Written));
    auto After = FolderContents(Dir.Path());
    EXPECT_EQ(After[C.Written], std::string("new ") + C.Name);
    After.erase(C.Written);
    EXPECT_EQ(After, Before);
  }
  EXPECT_EQ(std::filesystem::read_symlink(Dir.File("a.mp4")), Dir.File("nowhere"));
}

// Part files that a crashed run left in the output folder go when the next task writes
// there; everything else stays: files of other programs, names that only look alike,
// folders and links, a part file that a running task holds, one just made.
TEST_F(OutputWriteTest, APartFileThatACrashedRunLeftGoesWhenTheNextTaskWritesThere) {
  const std::string Elsewhere = Dir.File("elsewhere");
  std::filesystem::create_directory(Elsewhere);
  const std::string Out = Dir.File("out");
  std::filesystem::create_directory(Out);
  const auto In = [&](const std::string& AName) { return Out + "/" + AName; };
  // An hour ago.
  const auto Age = [](const std::string& AFile) {
    const timespec Times[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, AFile.c_str(), Times, AT_SYMLINK_NOFOLLOW), 0) << AFile;
  };
  const struct {
    const char* Name;
    bool Old;
    bool Removed;
  } Files[] = {
      {".clip.mp4.vantrel-Ab3dE9.part", true, true},
      {".a b (2).mkv.vantrel-zzzzzz.part", true, true},
      {".new.mp4.vantrel-abcdef.part", false, false},  // just made: its task may not hold it yet
      {".clip.mp4.Ab3dE9.part", true, false},           // another program's part file
      {"clip.mp4.vantrel-Ab3dE9.part", true, false},    // not hidden
      {".clip.mp4.vantrel-Ab3d!9.part", true, false},
      {".clip.mp4.vantrel-Ab3dE.part", true, false},
      {".vantrel-Ab3dE9.part", true, false},  // names no output
      {"clip.mp4", true, false},
  };
  for (const auto& F : Files) {
    WriteFileBytes(In(F.Name), std::string("bytes of ") + F.Name);
    if (F.Old) Age(In(F.Name));
  }
  // One that a running task holds, a folder and a link of that name.
  const std::string Held = In(".held.mp4.vantrel-Hh1234.part");
  WriteFileBytes(Held, "being written");
  Age(Held);
  const int HeldFd = ::open(Held.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(HeldFd, 0);
  ASSERT_EQ(::flock(HeldFd, LOCK_EX | LOCK_NB), 0);
  std::filesystem::create_directory(In(".folder.vantrel-abcdef.part"));
  Age(In(".folder.vantrel-abcdef.part"));
  WriteFileBytes(Elsewhere + "/target", "not ours");
  Age(Elsewhere + "/target");
  ASSERT_EQ(::symlink((Elsewhere + "/target").c_str(), In(".link.vantrel-abcdef.part").c_str()), 0);
  Age(In(".link.vantrel-abcdef.part"));

  auto Expected = FolderContents(Out);
  for (const auto& F : Files)
    if (F.Removed) Expected.erase(F.Name);
  ASSERT_TRUE(OpenInput(Fixture("v.mp4"))) << T->LastErrMsg();
  TOutputOptions O = Mpeg4();
  ASSERT_TRUE(T->OpenOutput(In("converted.mp4"), &O)) << T->LastErrMsg();
  T->StartConvert(false);
  ASSERT_TRUE(T->Finished()) << T->FatalMessage();
  auto After = FolderContents(Out);
  EXPECT_EQ(After.erase("converted.mp4"), 1u);
  EXPECT_EQ(After, Expected);
  EXPECT_EQ(ReadFileBytes(Elsewhere + "/target"), "not ours");
  EXPECT_TRUE(Logged("Removed '" + In(".clip.mp4.vantrel-Ab3dE9.part") + "'"));
  ::close(HeldFd);

  // Released (its task ended without finishing), the held one goes too.
  EXPECT_EQ(RemoveStalePartFiles(Out), std::vector<String>{Held});
}

}  // namespace
