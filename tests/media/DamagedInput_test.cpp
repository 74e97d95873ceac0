// Damaged inputs: a file whose streams cannot be described ends its own task with a
// message naming the file and the stream, leaves no output, and the other tasks of the
// list convert.
#include "media/FFDecode.h"
#include "tests/media/EncoderTestEncoder.h"
#include "tests/support/TranscodeProbe.h"

#include "platform/rtl/FileUtils.h"
#include "tests/media/TaskTestEngine.h"
#include "tests/support/TempDir.h"

using namespace vantrel::media;
using vantrel::test::FFProbeEntries;

namespace {

class DamagedInputTest : public vantrel::test::TEncoderTest {
 protected:
  void SetUp() override {
    TEncoderTest::SetUp();
    Real = CreateOwned<TFFEncoder>(nullptr);
    Component = Real.get();
    Real->OnTerminate = E->OnTerminate;
  }
  void TearDown() override {
    Real.reset();
    TEncoderTest::TearDown();
  }
  static TOutputOptions Mpeg4() {
    TOutputOptions O;
    ResetOutputOptions(O);
    O.VideoCodec = "mpeg4";
    O.AudioCodec = "mp2";
    return O;
  }
  TOwned<TFFEncoder> Real;
};

// An MP4 cut just after its index: its picture format is unknown after opening.
TEST_F(DamagedInputTest, CutFileEndsItsOwnTaskAndTheOthersConvert) {
  const char* Inputs[] = {"task-a.avi", "damaged-cut.mp4", "v.mp4"};
  for (int K = 0; K < 3; ++K) {
    ASSERT_EQ(Real->AddTask(Fixture(Inputs[K]), static_cast<TInputOptions*>(nullptr)), K) << Real->LastErrMsg();
    TOutputOptions O = Mpeg4();
    ASSERT_TRUE(Real->SetOutputFile(K, Dir.File("out" + std::to_string(K) + ".mkv"), &O)) << Real->LastErrMsg();
  }
  Real->Start(1);
  PumpUntil([this] { return FinalSeen(); });
  ASSERT_EQ(TermIndexes(), (std::vector<Integer>{0, 1, 2, -1}));
  for (const auto& T : Terms) {
    if (T.Info.TaskIndex < 0) continue;
    SCOPED_TRACE(T.Info.TaskIndex);
    if (T.Info.TaskIndex == 1) {
      EXPECT_FALSE(T.Info.Finished);
      EXPECT_TRUE(T.Info.Exception);
      EXPECT_EQ(T.Info.ExceptionMsg, "Could not determine the pixel format of input stream #0.0 (Video) of '" +
                                         Fixture("damaged-cut.mp4") + "'; the file may be damaged");
      EXPECT_FALSE(FileExists(Dir.File("out1.mkv")));
    } else {
      EXPECT_TRUE(T.Info.Finished) << T.Info.ExceptionMsg;
      EXPECT_EQ(FFProbeEntries(Dir.File("out" + std::to_string(T.Info.TaskIndex) + ".mkv"), "stream=codec_name"),
                "mpeg4\nmp2\n");
    }
  }
}

// The same file with its video not converted: the unknown video stream is no reason to
// fail; the audio it keeps is known, but its data is cut off too.
TEST_F(DamagedInputTest, UnknownStreamThatIsNotConvertedIsLeftAlone) {
  ASSERT_EQ(Real->AddTask(Fixture("damaged-cut.mp4"), static_cast<TInputOptions*>(nullptr)), 0);
  TOutputOptions O = Mpeg4();
  O.DisableVideo = true;
  ASSERT_TRUE(Real->SetOutputFile(0, Dir.File("audio.mkv"), &O)) << Real->LastErrMsg();
  Real->Start(1);
  PumpUntil([this] { return FinalSeen(); });
  ASSERT_FALSE(Terms.empty());
  EXPECT_EQ(Terms[0].Info.ExceptionMsg, "Nothing was written to the output: no packet of the input could be converted");
  EXPECT_FALSE(FileExists(Dir.File("audio.mkv")));
}

// Files cut or with bytes changed at fixed seeds: each converts or fails with a message,
// and a failed one leaves no output.
class DamagedVariantsTest : public vantrel::test::TTaskTest {};

TEST_F(DamagedVariantsTest, EveryVariantConvertsOrFailsWithAMessage) {
  const std::string Source = vantrel::test::ReadFileBytes(Fixture("damaged-src.mp4"));
  ASSERT_GT(Source.size(), 1000u);
  for (unsigned Seed = 1; Seed <= 12; ++Seed) {
    SCOPED_TRACE(Seed);
    std::string Bytes = Source;
    uint32_t R = Seed * 2654435761u;
    auto Next = [&R] { return R = R * 1664525u + 1013904223u; };
    if (Seed % 3 == 0) {
      Bytes.resize(Bytes.size() * (Seed % 7 + 1) / 9);  // cut
    } else {
      for (int K = 0; K < 40; ++K) Bytes[Next() % Bytes.size()] = static_cast<char>(Next() >> 24);
    }
    const std::string In = Dir.File("variant" + std::to_string(Seed) + ".mp4");
    const std::string Out = Dir.File("variant" + std::to_string(Seed) + ".mkv");
    vantrel::test::WriteFileBytes(In, Bytes);
    T = CreateOwned<vantrel::test::TTestTask>(4);
    if (!OpenInput(In)) {
      EXPECT_FALSE(T->LastErrMsg().empty());
      continue;
    }
    TOutputOptions O;
    O.VideoCodec = "mpeg4";
    O.AudioCodec = "mp2";
    if (!T->OpenOutput(Out, &O)) {
      EXPECT_FALSE(T->LastErrMsg().empty());
      EXPECT_FALSE(FileExists(Out));
      continue;
    }
    T->StartConvert(false);
    if (T->FatalException()) {
      EXPECT_FALSE(T->FatalMessage().empty());
      if (FileExists(Out)) {
        EXPECT_GT(vantrel::test::ReadFileBytes(Out).size(), 0u);
      }
    } else {
      EXPECT_TRUE(T->Finished());
    }
  }
}

// A file with no stream does not load; one whose audio has no known channel count loads
// with that stream marked unknown, and a task converting it is refused before its output
// file is made.
TEST_F(DamagedInputTest, FilesWithNothingUsable) {
  TOwned<TFFDecoder> Decoder{TFFDecoder::Create(nullptr)};
  ASSERT_TRUE(Decoder->LoadAVLib("")) << Decoder->LastErrMsg();
  const std::string Empty = Fixture("damaged-nostream.ffmeta");
  EXPECT_FALSE(Decoder->LoadFile(Empty, ""));
  EXPECT_EQ(Decoder->LastErrMsg(), Empty + ": no stream with a known codec");

  const std::string NoChannels = Fixture("damaged-0ch.wav");
  ASSERT_TRUE(Decoder->LoadFile(NoChannels, "")) << Decoder->LastErrMsg();
  ASSERT_EQ(Decoder->StreamCount(), 1);
  const TAudioStreamInfo Audio = Decoder->GetAudioStreamInfo(0);
  EXPECT_EQ(Audio.Channels, -1);
  EXPECT_EQ(Audio.SampleRate, 48000);

  ASSERT_EQ(Real->AddTask(NoChannels, static_cast<TInputOptions*>(nullptr)), 0) << Real->LastErrMsg();
  TOutputOptions O = Mpeg4();
  const std::string Out = Dir.File("none.wav");
  EXPECT_FALSE(Real->SetOutputFile(0, Out, &O));
  EXPECT_EQ(Real->LastErrMsg(),
            "Input stream #0.0 (Audio) of '" + NoChannels + "' has no known channel count; it cannot be converted");
  EXPECT_FALSE(FileExists(Out));
}

}  // namespace
