// Track bars and switches of the frame: positions and values, clicks and drags, the
// filled track, the events, and tracks without a range or a length.
#include <gtest/gtest.h>

#include "tests/skin/forms/FrameObjects_TestKit.h"

using namespace vantrel::frameobjtest;

namespace {

class TrackObjectTest : public FrameObjectsFixture {
 protected:
  // A horizontal track from (10, 5) to (110, 5) of an object at (20, 10), range 0..100.
  TspDataSkinTrackBar* TrackData(TPoint Begin = Point(10, 5), TPoint End = Point(110, 5), Integer Min = 0,
                                 Integer Max = 100) {
    auto* D = Descriptor<TspDataSkinTrackBar>("volume", Rect(20, 10, 140, 20));
    D->ActiveSkinRect = Rect(0, 0, 120, 10);
    D->ButtonRect = Rect(0, 100, 10, 110);
    D->BeginPoint = Begin;
    D->EndPoint = End;
    D->MinValue = Min;
    D->MaxValue = Max;
    D->MouseDownChangeValue = true;
    return D;
  }
};

TEST_F(TrackObjectTest, ValuesPlaceTheButtonRoundingHalvesToEven) {
  struct Case {
    TPoint Begin, End;
    Integer Max, Value;
    TPoint Expected;
  };
  const Case Cases[] = {
      {Point(10, 5), Point(110, 5), 100, 50, Point(60, 5)},
      {Point(0, 5), Point(4, 5), 8, 1, Point(0, 5)},  // 0.5 goes to 0
      {Point(0, 5), Point(4, 5), 8, 3, Point(2, 5)},  // 1.5 goes to 2
      {Point(5, 90), Point(5, 10), 100, 25, Point(5, 70)},  // vertical: the minimum at the bottom
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Value);
    auto* T = Add<TspSkinTrackBarObject>(TrackData(C.Begin, C.End, 0, C.Max));
    T->SetValue(C.Value);
    EXPECT_EQ(T->FButtonPos, C.Expected);
    EXPECT_EQ(T->Value(), C.Value);
  }
}

TEST_F(TrackObjectTest, AClickBesideTheButtonMovesItThereWithinTheTrack) {
  auto* T = Add<TspSkinTrackBarObject>(TrackData());
  T->MouseDown(20 + 200, 10 + 5, mbLeft);
  EXPECT_EQ(T->FButtonPos, Point(110, 5));
  EXPECT_EQ(T->Value(), 100);
  EXPECT_FALSE(T->MoveActive);
  EXPECT_EQ(Events, (std::vector<std::string>{"track volume 100", "down volume left"}));
}

TEST_F(TrackObjectTest, SettingAboveTheMaximumAtTheMaximumStillRedrawsAndReports) {
  auto* T = Add<TspSkinTrackBarObject>(TrackData());
  T->SetValue(100);
  const int Draws = T->Draws;
  T->SetValue(150);
  EXPECT_EQ(T->Value(), 100);
  EXPECT_EQ(T->Draws, Draws + 1);
  EXPECT_EQ(Events, (std::vector<std::string>{"track volume 100", "track volume 100"}));
  T->SetValue(100);  // the same value: nothing
  EXPECT_EQ(T->Draws, Draws + 1);
  EXPECT_EQ(Events.size(), 2u);
}

TEST_F(TrackObjectTest, ADragPastTheEndLeavesTheButtonAndMovingBackMovesItByTheMotion) {
  auto* T = Add<TspSkinTrackBarObject>(TrackData());
  // The button sits at (10, 5) of the object, at (30, 15) on the window.
  T->MouseDown(30, 15, mbLeft);
  ASSERT_TRUE(T->MoveActive);
  T->MouseMove(120, 15);
  EXPECT_EQ(T->FButtonPos, Point(100, 5));
  EXPECT_EQ(T->Value(), 90);
  T->MouseMove(150, 15);  // 140 is past the end
  EXPECT_EQ(T->FButtonPos, Point(100, 5));
  T->MouseMove(145, 15);  // five back
  EXPECT_EQ(T->FButtonPos, Point(95, 5));
  EXPECT_EQ(T->Value(), 85);
  T->MouseUp(145, 15, mbLeft);
  EXPECT_FALSE(T->MoveActive);
}

TEST_F(TrackObjectTest, ARightPressOnTheButtonStartsNoDragButReports) {
  auto* T = Add<TspSkinTrackBarObject>(TrackData());
  T->MouseDown(30, 15, mbRight);
  EXPECT_FALSE(T->MoveActive);
  T->MouseMove(60, 15);
  EXPECT_EQ(T->FButtonPos, Point(10, 5));
  EXPECT_EQ(Events, (std::vector<std::string>{"down volume other"}));
}

TEST_F(TrackObjectTest, TheTrackBeforeTheButtonIsFilledAndTheButtonDrawnOverIt) {
  auto* T = Add<TspSkinTrackBarObject>(TrackData());
  T->SetValue(50);  // button centre at x = 60 of the object, 80 of the window
  TOwned<TBitmap> Shot = DrawOnTarget(T);
  TCanvas* C = Shot->Canvas();
  EXPECT_EQ(C->Pixels(20 + 30, 12), FoActive);
  EXPECT_EQ(C->Pixels(20 + 90, 12), FoNormal);
  EXPECT_EQ(C->Pixels(80, 15), FoButton);
  EXPECT_EQ(C->Pixels(19, 15), FoTarget);
}

TEST_F(TrackObjectTest, ATrackWithoutRangeOrLengthStaysAtItsStart) {
  struct Case {
    const char* Name;
    TPoint Begin, End;
    Integer Max;
  };
  const Case Cases[] = {
      {"equal range", Point(10, 5), Point(110, 5), 0},
      {"zero length", Point(10, 5), Point(10, 5), 100},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto* T = Add<TspSkinTrackBarObject>(TrackData(C.Begin, C.End, 0, C.Max));
    T->SetValue(50);
    EXPECT_EQ(T->FButtonPos, Point(10, 5));
    EXPECT_EQ(T->Value(), 0);
    T->MouseDown(20 + 200, 15, mbLeft);
    T->MouseDown(30, 15, mbLeft);
    T->MouseMove(60, 15);
    T->MouseUp(60, 15, mbLeft);
    EXPECT_EQ(T->FButtonPos, Point(10, 5));
    EXPECT_EQ(T->Value(), 0);
    (void)DrawOnTarget(T);
  }
}

// ---------------------------------------------------------------------------------------

class SwitchObjectTest : public FrameObjectsFixture {
 protected:
  Counted<TspSkinSwitchObject>* MakeSwitch() {
    auto* D = Descriptor<TspDataSkinSwitch>("mute", Rect(10, 10, 30, 20));
    D->ActiveSkinRect = Rect(0, 0, 20, 10);
    return Add<TspSkinSwitchObject>(D);
  }
};

TEST_F(SwitchObjectTest, EachLeftPressTogglesAndReports) {
  auto* W = MakeSwitch();
  W->MouseDown(15, 15, mbLeft);
  EXPECT_EQ(W->State(), swsOn);
  EXPECT_TRUE(W->Active);
  W->MouseDown(15, 15, mbRight);
  EXPECT_EQ(W->State(), swsOn);
  W->MouseDown(15, 15, mbLeft);
  EXPECT_EQ(W->State(), swsOff);
  EXPECT_EQ(Events, (std::vector<std::string>{"switch mute on", "down mute left", "down mute other",
                                              "switch mute off", "down mute left"}));
  Events.clear();
  W->SetState(swsOff);
  EXPECT_EQ(Events, (std::vector<std::string>{"switch mute off"}));
}

TEST_F(SwitchObjectTest, OnShowsTheActiveLookAndHoverChangesNothing) {
  auto* W = MakeSwitch();
  W->MouseEnter();
  EXPECT_FALSE(W->Active);
  EXPECT_EQ(W->Draws, 0);
  EXPECT_EQ(DrawOnTarget(W)->Canvas()->Pixels(20, 15), FoNormal);
  W->SetState(swsOn);
  EXPECT_EQ(DrawOnTarget(W)->Canvas()->Pixels(20, 15), FoActive);
  W->MouseLeave();
  EXPECT_TRUE(W->Active);
}

TEST_F(SwitchObjectTest, AQuietOnShowsWithoutAFade) {
  auto* W = MakeSwitch();
  W->SimpleSetState(swsOn);
  EXPECT_EQ(W->State(), swsOn);
  EXPECT_EQ(W->MorphKf(), 1.0);
  EXPECT_EQ(W->Draws, 0);
  EXPECT_TRUE(Events.empty());
}

}  // namespace

namespace {

TEST_F(SwitchObjectTest, ASwitchThatIsOnStaysOnWhenTheFrameDropsItsHovers) {
  auto* W = MakeSwitch();
  W->SetState(swsOn);
  W->SetMorphKf(1);
  FS->ResetObjectStates();
  EXPECT_TRUE(W->Active);
  EXPECT_EQ(W->MorphKf(), 1.0);
  EXPECT_EQ(DrawOnTarget(W)->Canvas()->Pixels(20, 15), FoActive);
}

}  // namespace
