// The conversion task and the task list: stored records are the task's own copies, each
// input gets its own decoder over the opened file, a full task refuses more files, and
// the list keeps its order, owns its tasks and passes run control to each.
#include "media/FFLoad.h"
#include "platform/rtl/Exceptions.h"
#include "tests/media/TaskTestEngine.h"

using namespace vantrel::media;
using vantrel::test::TTaskTest;
using vantrel::test::TTestTask;

namespace {

class TaskTest : public TTaskTest {};

TEST_F(TaskTest, StoredRecordsAreTheTasksOwnCopies) {
  EXPECT_EQ(T->InputOptions(0), nullptr);
  TInputOptions I;
  I.ExtOptions = "ar=22050";
  I.ProgramID = 5;
  T->SetInputOptions(0, &I);
  I.ExtOptions = "changed";
  ASSERT_NE(T->InputOptions(0), nullptr);
  EXPECT_EQ(T->InputOptions(0)->ExtOptions, "ar=22050");
  T->ClearInputOptions(0);
  ASSERT_NE(T->InputOptions(0), nullptr);  // reset, still there
  EXPECT_EQ(T->InputOptions(0)->ProgramID, -1);
  T->ClearInputOptions(1);  // none stored: nothing
  EXPECT_EQ(T->InputOptions(1), nullptr);

  TOutputOptions O;
  O.Info.Title = "Title";
  T->SetOutputOptions(2, &O);
  O.Info.Title = "changed";
  EXPECT_EQ(T->OutputOptions(2)->Info.Title, "Title");
  T->ClearOutputOptions(2);
  EXPECT_EQ(T->OutputOptions(2)->Info.Title, "");
  EXPECT_THROW(T->SetOutputOptions(8, &O), EListError);
}

TEST_F(TaskTest, EachInputGetsItsOwnDecoderOverTheOpenedFile) {
  TInputOptions First;
  ASSERT_TRUE(T->OpenInput(Fixture("task-a.avi"), &First)) << T->LastErrMsg();
  EXPECT_EQ(First.FileName, Fixture("task-a.avi"));  // filled in the caller's record
  EXPECT_EQ(T->InputOptions(0)->FileName, Fixture("task-a.avi"));
  ASSERT_TRUE(OpenInput(Fixture("task-c.wav")));

  TFFDecoder* D0 = T->GetDecoder(0);
  TFFDecoder* D1 = T->GetDecoder(1);
  ASSERT_NE(D0, D1);
  EXPECT_EQ(T->GetDecoder(0), D0);  // made once
  EXPECT_EQ(D0->FileHandle(), T->Finput_files[0]);
  EXPECT_EQ(D1->FileHandle(), T->Finput_files[1]);
  EXPECT_EQ(D0->VideoStreamCount(), 1);
  EXPECT_EQ(D0->AudioStreamCount(), 1);
  EXPECT_EQ(D1->VideoStreamCount(), 0);
}

TEST_F(TaskTest, FullTaskRefusesMoreFiles) {
  auto Small = CreateOwned<TTestTask>(2);
  const std::string C = Fixture("task-c.wav");
  ASSERT_TRUE(Small->OpenInput(C, nullptr)) << Small->LastErrMsg();
  ASSERT_TRUE(Small->OpenInput(C, nullptr));
  EXPECT_FALSE(Small->OpenInput(C, nullptr));
  EXPECT_EQ(Small->LastErrMsg(), "max input files 2 reached");
  EXPECT_EQ(Small->InputFileCount(), 2);
  // The engine guards its tables too.
  EXPECT_FALSE(Small->OpenInputFile(C));
  EXPECT_EQ(Small->LastErrMsg(), "max input files 2 reached");

  for (const char* Name : {"1.wav", "2.wav"}) ASSERT_TRUE(Small->OpenOutput(Dir.File(Name), nullptr)) << Name;
  EXPECT_FALSE(Small->OpenOutput(Dir.File("3.wav"), nullptr));
  EXPECT_EQ(Small->LastErrMsg(), "max output files 2 reached");
  EXPECT_EQ(Small->OutputFileCount(), 2);
}

TEST_F(TaskTest, FailedInputLeavesTheTaskAsItWas) {
  ASSERT_TRUE(OpenInput(Fixture("task-c.wav")));
  TInputOptions Bad;
  Bad.ExtOptions = "ar=8000";
  EXPECT_FALSE(T->OpenInput(Dir.File("missing.wav"), &Bad));
  EXPECT_EQ(T->InputFileCount(), 1);
  EXPECT_EQ(static_cast<int>(T->Finput_codecs.size()), 1);
  EXPECT_EQ(T->InputOptions(1)->ExtOptions, "");  // the failed slot's record is reset
  ASSERT_TRUE(OpenInput(Fixture("task-a.avi")));
  EXPECT_EQ(T->GetDecoder(1)->FileHandle(), T->Finput_files[1]);
}

TEST_F(TaskTest, ListKeepsOrderAndOwnsItsTasks) {
  TFFmpegList List;
  TFFmpeg* Tasks[3];
  for (TFFmpeg*& Task : Tasks) {
    Task = TFFmpeg::Create(2);
    const Integer Index = List.Add(Task);
    EXPECT_EQ(List.IndexOf(Task), Index);
  }
  EXPECT_EQ(List.GetCount(), 3);
  List.Exchange(0, 2);
  EXPECT_EQ(List.GetItem(0), Tasks[2]);
  EXPECT_EQ(List.GetItem(2), Tasks[0]);
  List.Delete(1);  // the middle one
  EXPECT_EQ(List.GetCount(), 2);
  EXPECT_EQ(List.IndexOf(Tasks[0]), 1);
  EXPECT_EQ(List.IndexOf(Tasks[1]), -1);
  try {
    List.GetItem(2);
    FAIL() << "no exception";
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), "List index out of bounds (2)");
  }
  EXPECT_THROW(List.Delete(-1), EListError);
  List.Clear();
  EXPECT_EQ(List.GetCount(), 0);
}

TEST_F(TaskTest, StopAllEndsEveryTaskOnce) {
  TFFmpegList List;
  std::atomic<int> Ends[3] = {0, 0, 0};
  for (int I = 0; I < 3; ++I) {
    TFFmpeg* Task = TFFmpeg::Create(2);
    Task->OnTerminate = [&Ends, I](TObject*) { ++Ends[I]; };
    List.Add(Task);
  }
  List.StopAll(true);
  for (int I = 0; I < 3; ++I) {
    EXPECT_EQ(Ends[I].load(), 1) << I;
    EXPECT_TRUE(List.GetItem(I)->Terminated());
  }
  List.StopAll(true);  // already ended: no second notification
  for (int I = 0; I < 3; ++I) EXPECT_EQ(Ends[I].load(), 1) << I;
}

TEST_F(TaskTest, PreviewFlagsChangeIndependently) {
  TFFmpegList List;
  List.Add(TFFmpeg::Create(2));
  List.Add(TFFmpeg::Create(2));
  List.SetPreview(true);
  List.SetPreviewBitmap(true);
  List.SetPreview(false);
  for (int I = 0; I < 2; ++I) {
    EXPECT_FALSE(List.GetItem(I)->PostHooks().Contains(phPreview));
    EXPECT_TRUE(List.GetItem(I)->PostHooks().Contains(phBitmap));
  }
}

}  // namespace
