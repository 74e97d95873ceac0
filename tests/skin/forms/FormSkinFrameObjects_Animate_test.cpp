// The frame's animations on its animate timer: the pace, cycling and stopping runs,
// animated buttons turning back and holding their pressed picture.
#include <gtest/gtest.h>

#include "platform/ui/Timers.h"
#include "tests/skin/forms/FrameObjects_TestKit.h"

using namespace vantrel::frameobjtest;

namespace {

class AnimateObjectTest : public FrameObjectsFixture {
 protected:
  // Five frames of 10 x 10 side by side at (0, 0) of active picture 0.
  Counted<TspSkinAnimateObject>* MakeAnimate(Integer Interval, Boolean Cycle, Boolean ButtonStyle = false,
                                             Boolean Pressed = false) {
    auto* D = Descriptor<TspDataSkinAnimate>("spinner", Rect(10, 10, 20, 20));
    D->ActiveSkinRect = Rect(0, 0, 50, 10);
    D->CountFrames = 5;
    D->TimerInterval = Interval;
    D->Cycle = Cycle;
    D->ButtonStyle = ButtonStyle;
    D->Command = cmDefault;
    if (Pressed) D->DownSkinRect = Rect(20, 100, 30, 110);
    return Add<TspSkinAnimateObject>(D);
  }

  void Tick() { FS->AnimateTimerTick(nullptr); }

  // The frames shown after each change, over N ticks.
  std::vector<Integer> FramesOver(TspSkinAnimateObject* A, int N) {
    std::vector<Integer> Shown;
    for (int I = 0; I < N; ++I) {
      const Integer Before = A->Frame();
      Tick();
      if (A->Frame() != Before) Shown.push_back(A->Frame());
    }
    return Shown;
  }
};

TEST_F(AnimateObjectTest, AFrameChangesEveryIntervalInTicks) {
  const std::pair<Integer, int> Cases[] = {{100, 4}, {110, 5}, {10, 1}};
  for (const auto& [Interval, Ticks] : Cases) {
    SCOPED_TRACE(Interval);
    auto* A = MakeAnimate(Interval, true);
    A->Start();
    EXPECT_TRUE(FS->AnimateTimer->Enabled());
    int Count = 0;
    while (A->Frame() == 1 && Count < 20) {
      A->ChangeFrame();
      ++Count;
    }
    EXPECT_EQ(Count, Ticks);
    A->Stop();
  }
}

TEST_F(AnimateObjectTest, ACyclingRunStartsAgainAndAOneShotStopsOnTheLastFrame) {
  auto* Cycling = MakeAnimate(25, true);
  Cycling->Start();
  EXPECT_EQ(FramesOver(Cycling, 6), (std::vector<Integer>{2, 3, 4, 5, 1, 2}));
  Cycling->Stop();
  EXPECT_EQ(Cycling->Frame(), 1);
  EXPECT_FALSE(Cycling->Active);

  auto* Once = MakeAnimate(25, false);
  Once->Start();
  EXPECT_EQ(FramesOver(Once, 8), (std::vector<Integer>{2, 3, 4, 5}));
  EXPECT_FALSE(Once->Active);
  Tick();
  EXPECT_FALSE(FS->AnimateTimer->Enabled());
}

TEST_F(AnimateObjectTest, AButtonLeftEarlyTurnsBackFromTheFrameItReached) {
  auto* A = MakeAnimate(25, false, true);
  A->MouseEnter();
  EXPECT_TRUE(FS->AnimateTimer->Enabled());
  EXPECT_EQ(FramesOver(A, 2), (std::vector<Integer>{2, 3}));
  A->MouseLeave();
  EXPECT_FALSE(A->Increment);
  EXPECT_EQ(FramesOver(A, 5), (std::vector<Integer>{2, 1}));
  EXPECT_FALSE(A->Active);
}

TEST_F(AnimateObjectTest, APressShowsThePressedPictureAndTheReleasePlaysOn) {
  auto* A = MakeAnimate(25, false, true, true);
  A->MouseEnter();
  A->MouseDown(15, 15, mbLeft);
  EXPECT_TRUE(A->FDown);
  EXPECT_EQ(DrawOnTarget(A)->Canvas()->Pixels(15, 15), FoPressed);
  const Integer Held = A->Frame();
  Tick();
  EXPECT_EQ(A->Frame(), Held);  // the timer passes over a held button
  A->MouseUp(15, 15, mbLeft);
  EXPECT_FALSE(A->FDown);
  EXPECT_TRUE(FS->AnimateTimer->Enabled());
  EXPECT_EQ(DrawOnTarget(A)->Canvas()->Pixels(15, 15), FoActive);
}

TEST_F(AnimateObjectTest, ResettingTheFrameSendsAnimationsBackToTheFirstFrame) {
  auto* A = MakeAnimate(25, true);
  A->Start();
  Tick();
  Tick();
  FS->ResetObjectStates();
  EXPECT_EQ(A->Frame(), 1);
  EXPECT_FALSE(A->Active);
}

}  // namespace

namespace {

TEST_F(AnimateObjectTest, AMenuIsLinkedOnlyToAnimatedButtons) {
  auto* Button = MakeAnimate(25, false, true);
  Button->IDName = "menubutton";
  auto* Free = MakeAnimate(25, false, false);
  auto Menu = CreateOwned<TPopupMenu>(nullptr);
  FS->LinkMenu("menubutton", Menu.get(), true);
  FS->LinkMenu("spinner", Menu.get(), true);
  EXPECT_EQ(Button->MenuItem, Menu->Items());
  EXPECT_TRUE(Button->FPopupUp);
  EXPECT_EQ(Free->MenuItem, nullptr);
  EXPECT_FALSE(Free->FPopupUp);
  Button->MenuItem = nullptr;  // the menu goes before the object
}

}  // namespace
