// The way of every output packet to the muxer: through the stream's bitstream filters,
// and a failing filter only logged unless errors end the conversion.
#include "tests/media/TaskTestEngine.h"

using namespace vantrel::media;
using vantrel::test::FFProbeEntries;
using vantrel::test::TTaskTest;

namespace {

class PacketTest : public TTaskTest {};

std::string PacketSizes(const std::string& AFile, int ACount) {
  const std::string All = FFProbeEntries(AFile, "packet=size", "v:0");
  size_t End = 0;
  for (int i = 0; i < ACount && End != std::string::npos; ++i) End = All.find('\n', End + (i ? 1 : 0));
  return All.substr(0, End);
}

// "remove_extra" takes the stream headers (the extradata) out of every key frame.
TEST_F(PacketTest, CopiedPacketsPassThroughTheStreamsBitstreamFilter) {
  const std::string In = Fixture("task-a.avi");
  const std::string Out = Dir.File("extra.mkv");
  ASSERT_TRUE(OpenInput(In)) << T->LastErrMsg();
  TOutputOptions O;
  O.VideoCodec = "copy";
  O.DisableAudio = true;
  O.ExtOptions = "vbsf=remove_extra";
  ASSERT_TRUE(T->OpenOutput(Out, &O)) << T->LastErrMsg();
  T->StartConvert(false);
  ASSERT_FALSE(T->FatalException()) << T->FatalMessage();
  ASSERT_TRUE(T->Finished());

  const int Extra = std::atoi(FFProbeEntries(In, "stream=extradata_size", "v:0").c_str());
  ASSERT_GT(Extra, 0);
  const std::string InSizes = PacketSizes(In, 3), OutSizes = PacketSizes(Out, 3);
  int InFirst = 0, InSecond = 0, InThird = 0, OutFirst = 0, OutSecond = 0, OutThird = 0;
  ASSERT_EQ(std::sscanf(InSizes.c_str(), "%d\n%d\n%d", &InFirst, &InSecond, &InThird), 3) << InSizes;
  ASSERT_EQ(std::sscanf(OutSizes.c_str(), "%d\n%d\n%d", &OutFirst, &OutSecond, &OutThird), 3) << OutSizes;
  EXPECT_EQ(OutFirst, InFirst - Extra);  // the key frame
  EXPECT_EQ(OutSecond, InSecond);
  EXPECT_EQ(OutThird, InThird);
}

}  // namespace
