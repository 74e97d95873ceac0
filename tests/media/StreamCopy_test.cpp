// Stream copy: the time base the copy is written in (with and without "copytb") and the
// audio parameters a copy passes on, read from the output streams through libavformat.
#include <string>
#include <vector>

#include "tests/media/TaskTestEngine.h"
#include "tests/support/TempDir.h"

using namespace vantrel::media;

namespace {

// A task that keeps the parameters of its output streams as the muxer had them.
class TParameterTask : public vantrel::test::TTestTask {
 public:
  using TTestTask::TTestTask;
  std::vector<int> BlockAligns;
  std::vector<int> SampleRates;
  std::vector<int> CodecIds;

 protected:
  void PrintReport(bool AIsLastReport, Integer AInputIndex) override {
    if (AIsLastReport && Foutput_files[0]) {
      for (unsigned I = 0; I < Foutput_files[0]->nb_streams; ++I) {
        const AVCodecParameters* Par = Foutput_files[0]->streams[I]->codecpar;
        BlockAligns.push_back(Par->block_align);
        SampleRates.push_back(Par->sample_rate);
        CodecIds.push_back(Par->codec_id);
      }
    }
    TTestTask::PrintReport(AIsLastReport, AInputIndex);
  }
};

class StreamCopyTest : public vantrel::test::TTaskTest {
 protected:
  // Copies the input's streams of one kind into AOutput; the task that did it.
  TOwned<TParameterTask> Copy(const std::string& AInput, const std::string& AOutput, TOutputOptions O) {
    TOwned<TParameterTask> P = CreateOwned<TParameterTask>(4);
    TInputOptions In;
    EXPECT_TRUE(P->OpenInput(AInput, &In)) << P->LastErrMsg();
    EXPECT_TRUE(P->OpenOutput(AOutput, &O)) << P->LastErrMsg();
    P->StartConvert(false);
    EXPECT_TRUE(P->Finished()) << P->FatalMessage();
    return P;
  }
  // The block alignment of the first stream of AFile as libavformat reads it.
  static int InputBlockAlign(const std::string& AFile) {
    AVFormatContext* Ic = nullptr;
    if (ff::avformat_open_input(&Ic, AFile.c_str(), nullptr, nullptr) < 0) return -1;
    ff::avformat_find_stream_info(Ic, nullptr);
    const int Align = Ic->streams[0]->codecpar->block_align;
    ff::avformat_close_input(&Ic);
    return Align;
  }
};

// A copied stream whose own ticks are finer than a millisecond while a frame lasts
// longer is written with one frame as its tick; "copytb" keeps the input's. The frame
// hash muxer writes each stream's time base as it was given.
TEST_F(StreamCopyTest, CopyWritesInTheFramesTimeBaseUnlessCopytb) {
  const struct {
    const char* Ext;
    const char* TimeBase;
  } Cases[] = {{"", "#tb 0: 1/25"}, {"copytb=1", "#tb 0: 1/90000"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Ext);
    TOutputOptions O;
    O.VideoCodec = "copy";
    O.DisableAudio = true;
    O.ForceFormat = "framecrc";
    O.ExtOptions = C.Ext;
    const std::string Out = Dir.File(std::string("tb") + (*C.Ext ? "1" : "0") + ".txt");
    Copy(Fixture("task-b.ts"), Out, O);
    const std::string Text = vantrel::test::ReadFileBytes(Out);
    EXPECT_NE(Text.find(std::string(C.TimeBase) + "\n"), std::string::npos) << Text.substr(0, 200);
  }
}

// AC-3 copies carry no block alignment; MP3 loses a block alignment of 1 and keeps any
// other; the sample rate travels as it is.
TEST_F(StreamCopyTest, CopiedAudioBlockAlignment) {
  const struct {
    const char* File;
    int InputAlign;
    int OutputAlign;
    int SampleRate;
  } Cases[] = {{"copy-ac3.wav", 3840, 0, 48000}, {"copy-mp3-align1.wav", 1, 0, 44100}, {"copy-mp3.wav", 1152, 1152, 44100}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.File);
    ASSERT_EQ(InputBlockAlign(Fixture(C.File)), C.InputAlign);
    TOutputOptions O;
    O.AudioCodec = "copy";
    O.DisableVideo = true;
    TOwned<TParameterTask> P = Copy(Fixture(C.File), Dir.File(std::string(C.File) + ".mkv"), O);
    ASSERT_EQ(P->BlockAligns.size(), 1u);
    EXPECT_EQ(P->BlockAligns[0], C.OutputAlign);
    EXPECT_EQ(P->SampleRates[0], C.SampleRate);
  }
}

}  // namespace
