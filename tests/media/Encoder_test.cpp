// The encoder component's task operations: adding tasks, inputs and outputs from records
// or option lines, full tables, bad indexes, refusals while working, settings handed to
// the tasks, and the event paths that carry a task's index.
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/ui/Graphics.h"
#include "tests/media/EncoderTestEncoder.h"

using namespace vantrel::media;
using vantrel::test::fmFinish;
using vantrel::test::TEncoderTest;

namespace {

class EncoderTest : public TEncoderTest {
 protected:
  std::string Wav() { return Fixture("task-c.wav"); }
  static std::string RefusalOf(const std::function<void()>& AOperation) {
    try {
      AOperation();
    } catch (const Exception& E) {
      return E.Message();
    }
    return "not refused";
  }
};

TEST_F(EncoderTest, AddTaskOpensTheInputAndFillsTheRecordsFileName) {
  std::vector<TObject*> Senders;
  E->OnBeforeFindStreamInfo = [&](TObject* Sender, void* Context) {
    Senders.push_back(Sender);
    EXPECT_NE(Context, nullptr);
  };
  TInputOptions O;
  EXPECT_EQ(E->AddTask(Fixture("task-a.avi"), &O), 0);
  EXPECT_EQ(O.FileName, Fixture("task-a.avi"));
  EXPECT_EQ(E->AddTask(Wav(), static_cast<TInputOptions*>(nullptr)), 1);
  EXPECT_EQ(E->TasksCount(), 2);
  ASSERT_EQ(Senders.size(), 2u);
  EXPECT_EQ(Senders[0], E->Made[0]);  // the task whose input is opened
  EXPECT_EQ(E->GetTaskIndex(E->Made[1]), 1);
  EXPECT_EQ(E->Made[0]->GetDecoder(0)->VideoStreamCount(), 1);
}

TEST_F(EncoderTest, InputsThatCannotBeOpenedGiveMinusOneAndLeaveTheListAlone) {
  TMemoryStream Stream;
  const struct {
    const char* Name;
    std::function<Integer()> Add;
  } Cases[] = {
      {"missing file", [&] { return E->AddTask(Dir.File("missing.avi"), static_cast<TInputOptions*>(nullptr)); }},
      {"stream without protocol", [&] { return E->AddTask(&Stream, "data", nullptr); }},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(C.Add(), -1);
    EXPECT_FALSE(E->LastErrMsg().empty());
    EXPECT_EQ(E->TasksCount(), 0);
  }
}

TEST_F(EncoderTest, InvalidInputOptionFailsOnlyWhileHaltOnInvalidOptionIsSet) {
  for (bool Halt : {true, false}) {
    SCOPED_TRACE(Halt);
    E->SetHaltOnInvalidOption(Halt);
    TInputOptions O;
    O.ExtOptions = "nosuchoption=1";
    const Integer I = E->AddTask(Wav(), &O);
    EXPECT_EQ(I >= 0, !Halt) << E->LastErrMsg();
  }
}

TEST_F(EncoderTest, OptionLinesBuildTheInputAndOutputRecords) {
  const struct {
    const char* Lines;
    Int64 TimeStart;
  } Inputs[] = {{"TimeStart=1000000<CRLF>ar=48000", 1000000}, {"timestart=soon", NoPTSValue}};
  for (const auto& C : Inputs) {
    SCOPED_TRACE(C.Lines);
    const Integer I = E->AddTask(Wav(), String(C.Lines));
    ASSERT_GE(I, 0) << E->LastErrMsg();
    const TInputOptions* R = E->Made.back()->InputOptions(0);
    ASSERT_NE(R, nullptr);
    EXPECT_EQ(R->TimeStart, C.TimeStart);
    EXPECT_EQ(R->FileName, Wav());
  }
  EXPECT_EQ(E->Made[0]->InputOptions(0)->ExtOptions, "ar=48000\n");

  ASSERT_TRUE(E->SetOutputFile(0, Dir.File("a.wav"),
                               String("AudioHook=1\nVideoInputHook=0\nvideooutputhook=2\nJoin=0\n"
                                      "VideoHookBitsPixel=32\nTimeLength=1500000\nTimeStart=x\nab=64k")))
      << E->LastErrMsg();
  const TOutputOptions* R = E->Made[0]->OutputOptions(0);
  ASSERT_NE(R, nullptr);
  EXPECT_TRUE(R->AudioHook);
  EXPECT_FALSE(R->VideoInputHook);
  EXPECT_TRUE(R->VideoOutputHook);
  EXPECT_FALSE(R->Join);
  EXPECT_EQ(R->VideoHookBitsPixel, 32);
  EXPECT_EQ(R->TimeLength, 1500000);
  EXPECT_EQ(R->TimeStart, NoPTSValue);
  EXPECT_EQ(R->ExtOptions, "ab=64k\n");
  ASSERT_TRUE(E->SetOutputFile(1, Dir.File("b.wav"), String("VideoHookBitsPixel=deep"))) << E->LastErrMsg();
  EXPECT_EQ(E->Made[1]->OutputOptions(0)->VideoHookBitsPixel, 24);
}

TEST_F(EncoderTest, FullTablesRefuseMoreFiles) {
  ASSERT_EQ(E->AddTask(Wav(), static_cast<TInputOptions*>(nullptr)), 0);
  for (int I = 1; I < 20; ++I) ASSERT_TRUE(E->AddInputFile(0, Wav(), static_cast<TInputOptions*>(nullptr))) << I;
  EXPECT_FALSE(E->AddInputFile(0, Wav(), static_cast<TInputOptions*>(nullptr)));
  EXPECT_EQ(E->LastErrMsg(), "max input files 20 reached");

  E->SetCustomMaxFiles(1);
  ASSERT_EQ(E->AddTask(Wav(), static_cast<TInputOptions*>(nullptr)), 1);
  ASSERT_TRUE(E->SetOutputFile(1, Dir.File("one.wav"), static_cast<TOutputOptions*>(nullptr)));
  EXPECT_FALSE(E->SetOutputFile(1, Dir.File("two.wav"), static_cast<TOutputOptions*>(nullptr)));
  EXPECT_EQ(E->LastErrMsg(), "max output files 1 reached");
  EXPECT_EQ(E->TasksCount(), 2);
}

TEST_F(EncoderTest, FailedInputKeepsTheTask) {
  ASSERT_EQ(E->AddTask(Wav(), static_cast<TInputOptions*>(nullptr)), 0);
  TInputOptions O;
  O.ExtOptions = "ar=22050";
  EXPECT_FALSE(E->AddInputFile(0, Dir.File("missing.wav"), &O));
  EXPECT_FALSE(E->LastErrMsg().empty());
  EXPECT_EQ(E->TasksCount(), 1);
  EXPECT_EQ(E->Made[0]->InputFileCount(), 1);
  EXPECT_EQ(E->Made[0]->InputOptions(1)->ExtOptions, "");  // the failed slot's record is reset
}

TEST_F(EncoderTest, IndexOutsideTheListRaisesTheListError) {
  AddFakeTask(fmFinish);
  EXPECT_THROW(E->AddInputFile(1, Wav(), static_cast<TInputOptions*>(nullptr)), EListError);
  EXPECT_THROW(E->SetOutputFile(-1, Dir.File("x.wav"), static_cast<TOutputOptions*>(nullptr)), EListError);
  EXPECT_THROW(E->Exchange(0, 1), EListError);
  EXPECT_THROW(E->RemoveTask(3), EListError);
}

TEST_F(EncoderTest, AfterARunTheListIsRefusedUntilClearTasks) {
  AddFakeTask(fmFinish);
  AddFakeTask(fmFinish);
  E->Start(0);
  ASSERT_TRUE(E->Terminated());
  const struct {
    const char* Name;
    std::function<void()> Operation;
  } Cases[] = {
      {"AddTask", [&] { E->AddTask(Wav(), static_cast<TInputOptions*>(nullptr)); }},
      {"AddInputFile", [&] { E->AddInputFile(0, Wav(), static_cast<TInputOptions*>(nullptr)); }},
      {"SetOutputFile", [&] { E->SetOutputFile(0, Dir.File("x.wav"), static_cast<TOutputOptions*>(nullptr)); }},
      {"Exchange", [&] { E->Exchange(0, 1); }},
      {"RemoveTask", [&] { E->RemoveTask(0); }},
      {"StartTask", [&] { E->Start(1); }},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(RefusalOf(C.Operation), std::string("Cannot ") + C.Name + " while working.");
  }
  EXPECT_EQ(E->TasksCount(), 2);
  E->ClearTasks();
  E->Made.clear();
  EXPECT_EQ(AddFakeTask(fmFinish), 0);
}

TEST_F(EncoderTest, ExchangeAndRemoveChangeTheIndexesTheEventsReport) {
  AddFakeTask(fmFinish);
  AddFakeTask(fmFinish);
  AddFakeTask(fmFinish);
  auto* First = E->Made[0];
  auto* Second = E->Made[1];
  E->RemoveTask(2);
  E->Exchange(0, 1);
  EXPECT_EQ(E->GetTaskIndex(First), 1);
  E->Start(0);
  EXPECT_EQ(TermIndexes(), (std::vector<Integer>{0, 1, -1}));
  EXPECT_EQ(Terms.size(), 3u);
  EXPECT_TRUE(First->Converted);
  EXPECT_TRUE(Second->Converted);
}

TEST_F(EncoderTest, SettingsReachTheTasks) {
  const struct {
    Integer Set, Read;
  } Intervals[] = {{50, 100}, {100, 100}, {101, 101}, {250, 250}};
  for (const auto& C : Intervals) {
    E->SetProgressInterval(C.Set);
    EXPECT_EQ(E->ProgressInterval(), C.Read) << C.Set;
  }
  AddFakeTask(fmFinish);
  E->SetPreview(true);
  E->SetPreviewBitmap(true);
  EXPECT_TRUE(E->Made[0]->PostHooks().Contains(phPreview));
  EXPECT_TRUE(E->Made[0]->PostHooks().Contains(phBitmap));
  E->SetPreview(false);
  EXPECT_FALSE(E->Made[0]->PostHooks().Contains(phPreview));
  AddFakeTask(fmFinish);  // a new task takes the current flags
  EXPECT_FALSE(E->Made[1]->PostHooks().Contains(phPreview));
  EXPECT_TRUE(E->Made[1]->PostHooks().Contains(phBitmap));
  E->SetPreviewBitmap(false);
  E->Start(0);
  EXPECT_EQ(E->Made[0]->ReportInterval, 250000);  // microseconds, set when the task starts
}

TEST_F(EncoderTest, HookEventsCarryTheTaskIndexAndReturnTheHandlersAnswers) {
  AddFakeTask(fmFinish);
  TOutputOptions O;
  O.AudioHook = O.VideoInputHook = O.VideoOutputHook = true;
  ASSERT_EQ(E->AddTask(Wav(), static_cast<TInputOptions*>(nullptr)), 1);
  ASSERT_TRUE(E->SetOutputFile(1, Dir.File("hooks.wav"), &O)) << E->LastErrMsg();
  auto* Task = E->Made[1];
  EXPECT_FALSE(E->Made[0]->OnAudioHook);  // only where the record asks for them

  Integer AudioTask = -2;
  E->OnAudioHook = [&](TObject*, Integer ATaskIndex, Int64 APTS, Byte*, Integer ASize, Integer, Integer, Integer) {
    AudioTask = ATaskIndex;
    EXPECT_EQ(APTS, 40000);
    EXPECT_EQ(ASize, 4);
  };
  Byte Samples[4] = {};
  Task->OnAudioHook(Task, 40000, Samples, 4, 48000, 2, 1);
  EXPECT_EQ(AudioTask, 1);

  auto Bitmap = CreateOwned<TBitmap>();
  Bitmap->SetSize(4, 4);
  std::vector<std::string> Calls;
  E->OnVideoInputHook = [&](TObject*, PHookInfo Info) {
    Calls.push_back("in");
    EXPECT_EQ(Info->TaskIndex, 1);
    EXPECT_EQ(Info->FrameNumber, 7);
    EXPECT_EQ(Info->Bitmap->Canvas()->LockCount(), 1);  // locked while the handler draws
    Info->Update = true;
  };
  E->OnVideoOutputHook = [&](TObject*, PHookInfo Info) {
    Calls.push_back("out");
    Info->StopHook = true;
  };
  bool Update = false, StopHook = false;
  Task->OnInputVideoHook(Task, Bitmap.get(), 7, 280000, Update, StopHook);
  EXPECT_TRUE(Update);
  EXPECT_FALSE(StopHook);
  Update = false;
  Task->OnOutputVideoHook(Task, Bitmap.get(), 7, 280000, Update, StopHook);
  EXPECT_FALSE(Update);
  EXPECT_TRUE(StopHook);
  EXPECT_EQ(Calls, (std::vector<std::string>{"in", "out"}));
  EXPECT_EQ(Bitmap->Canvas()->LockCount(), 0);
}

TEST_F(EncoderTest, LoadAVLibTakesAndGivesBackItsOwnLoad) {
  const Integer Before = FFLoader().LoadCount(avFormat);
  EXPECT_TRUE(E->LoadAVLib(""));
  EXPECT_TRUE(E->LoadAVLib(""));  // once per component
  EXPECT_TRUE(E->AVLibLoaded());
  EXPECT_EQ(FFLoader().LoadCount(avFormat), Before + 1);
  E->UnloadAVLib();
  EXPECT_EQ(FFLoader().LoadCount(avFormat), Before);
}

}  // namespace
