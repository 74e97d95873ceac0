// A conversion that writes no packet has failed: its output goes and the task reports why.
#include <string>

#include "platform/rtl/FileUtils.h"
#include "tests/media/TaskTestEngine.h"

using namespace vantrel::media;

namespace {

class NothingWrittenTest : public vantrel::test::TTaskTest {};

TEST_F(NothingWrittenTest, ConversionWithoutPacketsFailsAndLeavesNoOutput) {
  const struct {
    const char* Name;
    Int64 Start;
    const char* Format;
  } Cases[] = {
      // Starting after the end of the input: no data.
      {"late.mkv", 10000000, ""},
      // A format that takes no stream, with every stream turned off.
      {"nostreams.txt", NoPTSValue, "ffmetadata"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    T = CreateOwned<vantrel::test::TTestTask>(4);
    ASSERT_TRUE(OpenInput(Fixture("v.mp4"))) << T->LastErrMsg();
    TOutputOptions O;
    O.VideoCodec = "mpeg4";
    O.AudioCodec = "mp2";
    O.TimeStart = C.Start;
    O.ForceFormat = C.Format;
    if (*C.Format) O.DisableVideo = O.DisableAudio = O.DisableSubtitle = true;
    const std::string Out = Dir.File(C.Name);
    ASSERT_TRUE(T->OpenOutput(Out, &O)) << T->LastErrMsg();
    T->StartConvert(false);
    EXPECT_FALSE(T->Finished());
    EXPECT_TRUE(T->FatalException());
    EXPECT_EQ(T->FatalMessage(), "Nothing was written to the output: no packet of the input could be converted");
    EXPECT_FALSE(FileExists(Out));
  }
}

}  // namespace
