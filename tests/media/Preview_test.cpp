// The previews of a running conversion: the bitmap event, the preview window closed by
// the user, turning the preview off from the GUI thread while the event is inside its
// call to that thread, and the window itself on the headless display.
#include <atomic>
#include <memory>
#include <string>

#include "media/Previewer.h"
#include "platform/rtl/SyncObjs.h"
#include "platform/rtl/Threads.h"
#include "tests/media/TaskTestEngine.h"
#include "tests/support/UiFormsFixture.h"

using namespace vantrel::media;
using vantrel::test::TTaskTest;

namespace {

class TPreviewTask : public vantrel::test::TTestTask {
 public:
  using TTestTask::TTestTask;
  using TCustomFFmpeg::FOutputVideoHook;
};

class PreviewTest : public TTaskTest {
 protected:
  void SetUp() override {
    TTaskTest::SetUp();
    P = CreateOwned<TPreviewTask>(8);
    ASSERT_TRUE(P->OpenInput(Fixture("hook-light.avi"), nullptr)) << P->LastErrMsg();
  }
  void TearDown() override {
    P.reset();
    TTaskTest::TearDown();
  }
  void OpenOutput() {
    TOutputOptions O;
    O.VideoCodec = "libx264";
    O.DisableAudio = true;
    ASSERT_TRUE(P->OpenOutput(Dir.File("p.mp4"), &O)) << P->LastErrMsg();
  }
  // Every frame is due for a preview: the clock moves a second per read.
  void EveryFrame() {
    P->Clock = [this] { return Clock += 1000000; };
  }

  TOwned<TPreviewTask> P;
  Int64 Clock = 1000000;
};

// The component synchronises the event into the GUI thread; the GUI thread's preview
// setter takes the post-hook lock. Both at once must not deadlock.
TEST_F(PreviewTest, TurningThePreviewOffWhileTheEventWaitsForTheGuiThread) {
  OpenOutput();
  P->ChangePostHooks(TPostHooks{phBitmap});
  TEvent Inside;
  std::atomic<int> Calls{0};
  std::atomic<bool> Ended{false};
  P->OnPreviewBitmap = [&](TObject*, TBitmap*, Integer, Int64) {
    ++Calls;
    Inside.SetEvent();
    CallInMainThread([] {});
  };
  P->OnTerminate = [&](TObject*) { Ended = true; };
  TThread* Worker = P->StartConvert(true);
  ASSERT_NE(Worker, nullptr);
  Worker->Start();
  ASSERT_EQ(Inside.WaitFor(30000), wrSignaled);
  P->ChangePostHooks(TPostHooks{});  // blocks for good when the event holds the lock
  while (!Ended) CheckSynchronize(10);
  EXPECT_TRUE(P->Finished()) << P->FatalMessage();
  EXPECT_EQ(Calls, 1);
}

// With both flags and a handler only the event fires (no window), at most once per
// preview interval of the engine's clock.
TEST_F(PreviewTest, WithBothFlagsOnlyTheBitmapEventFiresOncePerInterval) {
  const struct {
    Int64 Step;
    int Calls;
  } Cases[] = {{1000000, 25}, {0, 1}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Step);
    if (C.Step == 0) {
      P = CreateOwned<TPreviewTask>(8);
      ASSERT_TRUE(P->OpenInput(Fixture("hook-light.avi"), nullptr)) << P->LastErrMsg();
    }
    OpenOutput();
    P->Clock = [this, Step = C.Step] { return Clock += Step; };
    P->ChangePostHooks(TPostHooks{phPreview, phBitmap});
    int Calls = 0;
    Integer LastFrame = 0;
    P->OnPreviewBitmap = [&](TObject*, TBitmap* ABitmap, Integer AFrame, Int64) {
      ++Calls;
      LastFrame = AFrame;
      EXPECT_EQ(ABitmap->Width(), 160);
    };
    P->StartConvert(false);
    ASSERT_TRUE(P->Finished()) << P->FatalMessage();
    EXPECT_EQ(Calls, C.Calls);
    EXPECT_EQ(LastFrame, C.Calls == 1 ? 1 : 25);
    EXPECT_EQ(P->FOutputVideoHook.Previewer, nullptr);
  }
}

// The user closes the window while frame 5 is prepared: frames 1 to 4 were painted, and
// the preview stays off for the rest of the conversion.
TEST_F(PreviewTest, ClosingThePreviewTurnsItOff) {
  OpenOutput();
  EveryFrame();
  P->ChangePostHooks(TPostHooks{phPreview});
  std::shared_ptr<TPreviewer> Window;
  P->OnOutputVideoHook = [&](TObject*, TBitmap*, Integer AFrame, Int64, bool& AUpdate, bool&) {
    AUpdate = false;
    if (AFrame != 5) return;
    Window = P->FOutputVideoHook.Previewer;
    ASSERT_NE(Window, nullptr);
    Window->Close();
  };
  P->StartConvert(false);
  ASSERT_TRUE(P->Finished()) << P->FatalMessage();
  ASSERT_NE(Window, nullptr);
  EXPECT_EQ(Window->PaintCount(), 4);
  EXPECT_EQ(Window->FrameNumber(), 4);
  EXPECT_FALSE(P->PostHooks().Contains(phPreview));
  EXPECT_EQ(P->FOutputVideoHook.Previewer, nullptr);
}

// The window: a stay-on-top tool window of the first frame's size with the frame's time
// as caption; a press on its picture drags it; closing it ends the preview; freeing the
// previewer frees it and gives the application its message hook back.
TEST(PreviewWindowTest, ShowsFramesInAToolWindowDraggedByItsPicture) {
  vantrel::uitest::FormsSession S;
  int Previous = 0;
  Application->OnMessage = [&Previous](MSG&, Boolean&) { ++Previous; };
  TOwned<TBitmap> B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(160, 120);
  TOwned<TPreviewer> P = CreateOwned<TPreviewer>();
  ASSERT_TRUE(P->PaintFrame(B.get(), 1, 1000000));
  ASSERT_EQ(Screen->FormCount(), 1);
  TForm* F = Screen->Forms(0);
  EXPECT_EQ(F->FormStyle(), fsStayOnTop);
  EXPECT_EQ(F->BorderStyle(), bsToolWindow);
  EXPECT_TRUE(F->BorderIcons() == TBorderIcons{biSystemMenu});
  EXPECT_EQ(F->ClientWidth(), 160);
  EXPECT_EQ(F->ClientHeight(), 120);
  EXPECT_TRUE(F->Visible());
  EXPECT_EQ(F->Caption(), "00:00:01.000");
  ASSERT_TRUE(P->PaintFrame(B.get(), 2, 2000000));
  EXPECT_EQ(Screen->FormCount(), 1);
  EXPECT_EQ(F->Caption(), "00:00:02.000");

  const TPoint C = vantrel::uitest::CentreOf(F);
  const Integer Left = F->Left(), Top = F->Top();
  S.Session.Press(C.X, C.Y);
  S.Session.Move(C.X + 30, C.Y + 20);
  S.Session.Release(C.X + 30, C.Y + 20);
  Application->ProcessMessages();
  EXPECT_EQ(F->Left(), Left + 30);
  EXPECT_EQ(F->Top(), Top + 20);

  F->Close();
  EXPECT_TRUE(P->Closed());
  EXPECT_FALSE(P->PaintFrame(B.get(), 3, 3000000));
  EXPECT_EQ(P->PaintCount(), 2);
  P.reset();
  EXPECT_EQ(Screen->FormCount(), 0);
  MSG M{};
  Boolean Handled = false;
  const int Before = Previous;
  Application->OnMessage(M, Handled);
  EXPECT_EQ(Previous, Before + 1);
}

}  // namespace
