// The preview hand-over: frames painted in the main thread with their time as caption,
// none once the preview was closed.
#include "media/Previewer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/rtl/Threads.h"

using namespace vantrel::media;

namespace {

// Runs AWork in another thread while this (main) thread serves its calls.
template <class F>
void OnWorker(F AWork) {
  std::atomic<bool> Done{false};
  std::thread T([&] {
    AWork();
    Done = true;
  });
  while (!Done) CheckSynchronize(10);
  T.join();
}

TEST(PreviewerTest, PaintsInTheMainThreadUntilClosed) {
  TOwned<TPreviewer> P = CreateOwned<TPreviewer>();
  bool Open = false;
  OnWorker([&] { Open = P->PaintFrame(nullptr, 7, 3723004000); });
  EXPECT_TRUE(Open);
  EXPECT_EQ(P->PaintCount(), 1);
  EXPECT_EQ(P->FrameNumber(), 7);
  EXPECT_EQ(P->Caption(), "01:02:03.004");
  P->Close();
  OnWorker([&] { Open = P->PaintFrame(nullptr, 8, 0); });
  EXPECT_FALSE(Open);
  EXPECT_EQ(P->PaintCount(), 1);
}

}  // namespace
