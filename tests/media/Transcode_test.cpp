// How a conversion fails: set-up errors end the task with their message before any
// packet is written, an encoder that does not open or a codec the container cannot hold
// ends it with the fatal flag and leaves no empty file the task made, a full disk is an
// error and never "finished", and a damaged input converts what it can.
#include <sys/stat.h>

#include <fstream>

#include "tests/media/TaskTestEngine.h"
#include "tests/support/TranscodeProbe.h"

using namespace vantrel::media;
using vantrel::test::TTaskTest;
using vantrel::test::TranscodeCountFrames;

namespace {

bool Exists(const std::string& APath) {
  struct stat St;
  return ::stat(APath.c_str(), &St) == 0;
}

class TranscodeTest : public TTaskTest {
 protected:
  // Runs a conversion that must fail; the task's fatal message.
  std::string Fail(const std::string& AInput, const std::string& AOutput, TOutputOptions O) {
    EXPECT_TRUE(OpenInput(AInput)) << T->LastErrMsg();
    EXPECT_TRUE(T->OpenOutput(AOutput, &O)) << T->LastErrMsg();
    bool Terminated = false;
    T->OnTerminate = [&Terminated](TObject*) { Terminated = true; };
    T->StartConvert(false);
    EXPECT_TRUE(Terminated);
    EXPECT_TRUE(T->FatalException());
    EXPECT_FALSE(T->Finished());
    return T->FatalMessage();
  }
  void NewTask() { T = CreateOwned<vantrel::test::TTestTask>(8); }
};

TEST_F(TranscodeTest, SetUpErrorsEndTheTaskWithTheirMessage) {
  const struct {
    const char* Name;
    const char* VideoCodec;
    const char* AudioCodec;
    Integer Volume;
    const char* Ext;
    const char* Message;
    const char* Filters = "";
  } Cases[] = {
      {"maps.mkv", "libx264", "copy", -1, "map=0:0",
       "Number of stream maps must match number of output streams"},
      {"nostream.mkv", "copy", "copy", -1, "map=0:5\nmap=0:1", "Could not find input stream #0.5"},
      {"mismatch.mkv", "copy", "copy", -1, "map=0:1\nmap=0:0",
       "Codec type mismatch for mapping #0.1 (Audio) -> #0.0 (Video)"},
      {"filters.mkv", "libx264", "copy", -1, "", "Error opening filters: No such filter: \"nosuchfilter\"",
       "scale=160:120,nosuchfilter"},
      {"vol.mkv", "copy", "copy", 512, "", "-acodec copy and -vol are incompatible (frames are not decoded)"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    NewTask();
    TOutputOptions O;
    O.VideoCodec = C.VideoCodec;
    O.AudioCodec = C.AudioCodec;
    O.AudioVolume = C.Volume;
    O.ExtOptions = C.Ext;
    O.VideoFilters = C.Filters;
    const std::string Out = Dir.File(C.Name);
    EXPECT_EQ(Fail(Fixture("task-a.avi"), Out, O), C.Message);
    EXPECT_FALSE(Exists(Out));  // created empty by the set-up, removed again
  }
}

TEST_F(TranscodeTest, EncoderThatDoesNotOpenLeavesNoEmptyFileOfItsOwn) {
  // H.263 takes only its standard picture sizes. An empty file that was there before stays.
  for (bool Existed : {false, true}) {
    SCOPED_TRACE(Existed ? "file existed" : "new file");
    NewTask();
    const std::string Out = Dir.File(Existed ? "old.mp4" : "new.mp4");
    if (Existed) std::ofstream(Out).close();
    TOutputOptions O;
    O.VideoCodec = "h263";
    O.DisableAudio = true;
    O.FrameSize = "160x120";
    EXPECT_EQ(Fail(Fixture("task-a.avi"), Out, O),
              "Error while opening encoder for output stream #0.0 (Video) - maybe incorrect parameters such as "
              "bit_rate, rate, width or height. Please check error log message to find out more detail information.");
    EXPECT_EQ(Exists(Out), Existed);
  }
}

TEST_F(TranscodeTest, CodecTheContainerCannotHoldFailsAtTheHeader) {
  TOutputOptions O;
  O.VideoCodec = "flv";
  O.DisableAudio = true;
  EXPECT_EQ(Fail(Fixture("task-a.avi"), Dir.File("flv.mp4"), O),
            "Could not write header for output file #0 (incorrect codec parameters ?)");
}

// A full disk is told as such, whether it fails the header or a later write, and the
// device itself is never deleted.
TEST_F(TranscodeTest, FullDiskIsAnErrorAndTheDeviceStays) {
  for (const char* Format : {"mp4", "matroska"}) {
    SCOPED_TRACE(Format);
    NewTask();
    TOutputOptions O;
    O.ForceFormat = Format;
    O.VideoCodec = "libx264";
    O.DisableAudio = true;
    const std::string Msg = Fail(Fixture("task-a.avi"), "/dev/full", O);
    EXPECT_NE(Msg.find("No space left on device"), std::string::npos) << Msg;
    EXPECT_EQ(Msg.find("incorrect codec parameters"), std::string::npos) << Msg;
    struct stat St;
    ASSERT_EQ(::stat("/dev/full", &St), 0);
    EXPECT_TRUE(S_ISCHR(St.st_mode));
  }
}

TEST_F(TranscodeTest, DamagedInputConvertsWhatItCan) {
  // Garbage over a stretch in the middle of the video data.
  const std::string In = Dir.File("damaged.avi");
  std::string Bytes = vantrel::test::ReadFileBytes(Fixture("task-a.avi"));
  ASSERT_GT(Bytes.size(), 100000u);
  for (size_t i = Bytes.size() / 2; i < Bytes.size() / 2 + 3000; ++i) Bytes[i] = static_cast<char>(i * 37);
  vantrel::test::WriteFileBytes(In, Bytes);
  ASSERT_TRUE(OpenInput(In)) << T->LastErrMsg();
  TOutputOptions O;
  O.VideoCodec = "libx264";
  O.DisableAudio = true;
  const std::string Out = Dir.File("damaged.mkv");
  ASSERT_TRUE(T->OpenOutput(Out, &O)) << T->LastErrMsg();
  T->StartConvert(false);
  EXPECT_FALSE(T->FatalException()) << T->FatalMessage();
  EXPECT_TRUE(T->Finished());
  const int Frames = TranscodeCountFrames(Out);
  EXPECT_GT(Frames, 50);
  EXPECT_LE(Frames, 75);
}

}  // namespace
