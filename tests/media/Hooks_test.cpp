// The video hooks of whole conversions: a handler that inverts the bitmap darkens the
// output of a light grey clip (input and output hook), a handler that stops, raises or
// declines the update, the frame-hook plug-ins and the deinterlacing step.
#include <functional>
#include <string>

#include "platform/rtl/DynLibs.h"
#include "platform/ui/Graphics.h"
#include "tests/media/TaskTestEngine.h"
#include "tests/support/TranscodeProbe.h"
#include "tests/support/OwnProcess.h"

using namespace vantrel::media;
using vantrel::test::TranscodeCountFrames;
using vantrel::test::TranscodeMeanStat;
using vantrel::test::TTaskTest;

namespace {

const std::string HooksPlugin = std::string(VANTREL_PLUGIN_DIR) + "/libtesthook.so";

void Invert(TBitmap* ABitmap) {
  const int Bytes = ABitmap->PixelFormat() == pf32bit ? 4 : 3;
  for (Integer y = 0; y < ABitmap->Height(); ++y) {
    auto* Row = static_cast<uint8_t*>(ABitmap->ScanLine(y));
    for (Integer x = 0; x < ABitmap->Width() * Bytes; ++x) Row[x] = static_cast<uint8_t>(255 - Row[x]);
  }
}

class HooksTest : public TTaskTest {
 protected:
  // Converts the light clip (luma about 195) to H.264; ASetUp prepares the task.
  bool Convert(const std::string& AOutput, const std::function<void()>& ASetUp,
               const char* AInput = "hook-light.avi") {
    T = CreateOwned<vantrel::test::TTestTask>(8);
    if (!OpenInput(Fixture(AInput))) {
      ADD_FAILURE() << T->LastErrMsg();
      return false;
    }
    if (ASetUp) ASetUp();
    TOutputOptions O;
    O.VideoCodec = "libx264";
    O.DisableAudio = true;
    if (!T->OpenOutput(AOutput, &O)) {
      ADD_FAILURE() << T->LastErrMsg();
      return false;
    }
    T->StartConvert(false);
    EXPECT_FALSE(T->FatalException()) << T->FatalMessage();
    return T->Finished();
  }
};

TEST_F(HooksTest, InvertingHookDarkensTheOutput) {
  const std::string Plain = Dir.File("plain.mp4");
  ASSERT_TRUE(Convert(Plain, nullptr));
  const double Base = TranscodeMeanStat(Plain, "YAVG");
  ASSERT_GT(Base, 180.0);
  for (bool Input : {true, false}) {
    SCOPED_TRACE(Input ? "input hook" : "output hook");
    int Calls = 0;
    Int64 LastPts = -1;
    bool Ordered = true;
    const std::string Out = Dir.File(Input ? "in.mp4" : "out.mp4");
    ASSERT_TRUE(Convert(Out, [&] {
      TVideoHookEvent Hook = [&](TObject*, TBitmap* ABitmap, Integer AFrame, Int64 APTS, bool& AUpdate, bool&) {
        ++Calls;
        Ordered = Ordered && AFrame == Calls && APTS > LastPts;
        LastPts = APTS;
        Invert(ABitmap);
        AUpdate = true;
      };
      (Input ? T->OnInputVideoHook : T->OnOutputVideoHook) = Hook;
    }));
    EXPECT_EQ(Calls, 25);
    EXPECT_TRUE(Ordered);
    EXPECT_EQ(TranscodeCountFrames(Out), 25);
    // Limited-range luma: the inverted grey lies near 16 + 235 - 195.
    EXPECT_NEAR(TranscodeMeanStat(Out, "YAVG"), 251 - Base, 6.0);
  }
}

// A handler that asks to stop is not called again; one that raises is logged and its
// picture encoded unchanged; one that clears AUpdate leaves the picture as it was.
TEST_F(HooksTest, StoppedFailingOrDecliningHandlersLeaveThePicture) {
  const struct {
    const char* Name;
    int StopAt;   // 0: never
    bool Raise;
    bool Update;
    int Calls;
    bool Darker;  // some pictures were inverted
  } Cases[] = {{"stop", 3, false, true, 3, true}, {"raise", 0, true, true, 25, false},
               {"decline", 0, false, false, 25, false}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    int Calls = 0;
    const std::string Out = Dir.File(std::string(C.Name) + ".mp4");
    ASSERT_TRUE(Convert(Out, [&] {
      T->OnOutputVideoHook = [&](TObject*, TBitmap* ABitmap, Integer, Int64, bool& AUpdate, bool& AStopHook) {
        ++Calls;
        Invert(ABitmap);
        if (C.Raise) throw Exception("hook broke");
        AUpdate = C.Update;
        AStopHook = Calls == C.StopAt;
      };
    }));
    EXPECT_EQ(Calls, C.Calls);
    EXPECT_EQ(TranscodeCountFrames(Out), 25);
    const double Y = TranscodeMeanStat(Out, "YAVG");
    if (C.Darker)
      EXPECT_LT(Y, 185.0);
    else
      EXPECT_GT(Y, 190.0);
  }
  EXPECT_TRUE(Logged("Error occurs VideoHook event: hook broke"));
}

TEST_F(HooksTest, FrameHookPluginSeesEveryDecodedPicture) {
  if (vantrel::test::RanAloneInChild()) return;  // counts process-wide state
  auto Counts = [] {
    int Configure = 0, Process = 0, Release = 0;
    auto Fn = reinterpret_cast<void (*)(int*, int*, int*)>(GetDynProc(LoadDynLibrary(HooksPlugin), "TestHookCounts"));
    Fn(&Configure, &Process, &Release);
    return Process;
  };
  ASSERT_TRUE(Convert(Dir.File("vhook.mp4"), [&] { T->AddVideoHook(HooksPlugin); }));
  EXPECT_EQ(Counts(), 25);
}

// Pictures that the deinterlacer cannot take (RGB, a width not a multiple of 4) are
// logged and pass unchanged; YUV pictures are deinterlaced (a flat picture stays flat).
TEST_F(HooksTest, DeinterlacingPassesPicturesItCannotTakeUnchanged) {
  const std::string Still = Dir.File("still.mp4");
  ASSERT_TRUE(Convert(Still, [&] { T->SetExtOption("deinterlace", "1"); }, "dec-red.png"));
  EXPECT_TRUE(Logged("Deinterlacing failed."));
  EXPECT_EQ(TranscodeCountFrames(Still), 1);
  EXPECT_GT(TranscodeMeanStat(Still, "SATAVG"), 50.0);  // still red

  {
    std::lock_guard<std::mutex> L(LinesLock);
    Lines.clear();
  }
  const std::string Light = Dir.File("light.mp4");
  ASSERT_TRUE(Convert(Light, [&] { T->SetExtOption("deinterlace", "1"); }));
  EXPECT_FALSE(Logged("Deinterlacing failed."));
  EXPECT_NEAR(TranscodeMeanStat(Light, "YAVG"), 195.0, 4.0);
}

}  // namespace
