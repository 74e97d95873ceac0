// Where a conversion writes: setting a task up makes nothing on disk, a file that has the
// output's name is never replaced (the output takes the next free "name (N).ext"), and a
// task that does not finish (stopped before or while it runs, or failing) leaves no file.
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

}  // namespace
