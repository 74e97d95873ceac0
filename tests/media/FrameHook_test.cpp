// Frame-hook plug-ins: loaded once per path, configured per use, called in order,
// released with their list; failures give the documented results.
#include "media/FrameHook.h"

#include <gtest/gtest.h>

#include "platform/rtl/DynLibs.h"
#include "tests/media/FFmpegTestEngine.h"

using namespace vantrel::media;

namespace {

const std::string Plugin = std::string(VANTREL_PLUGIN_DIR) + "/libtesthook.so";
const std::string NoProcess = std::string(VANTREL_PLUGIN_DIR) + "/libtesthook_noprocess.so";

struct TCounts {
  int Configure, Process, Release;
};
TCounts Counts() {
  TCounts C{};
  auto Fn = reinterpret_cast<void (*)(int*, int*, int*)>(GetDynProc(LoadDynLibrary(Plugin), "TestHookCounts"));
  Fn(&C.Configure, &C.Process, &C.Release);
  return C;
}

class FrameHookTest : public vantrel::test::TEngineTest {};

TEST_F(FrameHookTest, SamePathLoadsOnceWithOneContextPerUse) {
  const int Cached = detail::FrameHookCacheCount();
  {
    TFrameHookList List;
    ASSERT_EQ(FrameHookAdd(List, {Plugin}), 0);
    ASSERT_EQ(FrameHookAdd(List, {Plugin, "second"}), 0);
    EXPECT_EQ(detail::FrameHookCacheCount(), Cached + 1);
    EXPECT_EQ(Counts().Configure, 2);
    EXPECT_NE(List[0].ctx, List[1].ctx);

    uint8_t Pixel = 0;
    TFrameHookPicture Picture{{&Pixel, nullptr, nullptr, nullptr}, {1, 0, 0, 0}};
    FrameHookProcess(List, &Picture, 0, 1, 1, 40000);
    EXPECT_EQ(Counts().Process, 2);
    EXPECT_EQ(Pixel, 2);  // the second plug-in ran last
  }
  EXPECT_EQ(Counts().Release, 2);
}

TEST_F(FrameHookTest, FailuresGiveTheirResultsAndLeaveTheListAlone) {
  TFrameHookList List;
  EXPECT_EQ(FrameHookAdd(List, {}), -2);
  EXPECT_EQ(FrameHookAdd(List, {NoProcess}), -2);
  EXPECT_TRUE(Logged("Failed to find Process entrypoint in " + NoProcess));
  EXPECT_EQ(FrameHookAdd(List, {Plugin, "fail"}), -22);
  EXPECT_TRUE(Logged("Failed to Configure " + Plugin));
  EXPECT_EQ(FrameHookAdd(List, {std::string(VANTREL_PLUGIN_DIR) + "/missing.so"}), -1);
  EXPECT_TRUE(List.Empty());
}

TEST_F(FrameHookTest, VideoHookOptionSplitsItsWords) {
  TOwned<vantrel::test::TTestEngine> E = CreateOwned<vantrel::test::TTestEngine>(1);
  E->SetExtOption("vhook", Plugin + "|-a|b c");
  EXPECT_TRUE(E->Fusing_vhook);
  EXPECT_EQ(E->FFirstHook.Count(), 1u);
  EXPECT_EQ(*E->FFirstHook[0].Args, (std::vector<String>{Plugin, "-a", "b c"}));
  try {
    E->SetExtOption("vhook", Plugin + " fail");
    ADD_FAILURE();
  } catch (const FFmpegException& Ex) {
    EXPECT_EQ(Ex.Message(), "Failed to add video hook function: " + Plugin + " fail");
  }
  EXPECT_EQ(E->FFirstHook.Count(), 1u);
}

}  // namespace
