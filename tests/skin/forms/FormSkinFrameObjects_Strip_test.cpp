// The frame's filmstrip gauges and regulators: the frame of a value, steps of a drag,
// the knob's angle, and strips that cannot step.
#include <gtest/gtest.h>

#include "tests/skin/forms/FrameObjects_TestKit.h"

using namespace vantrel::frameobjtest;

namespace {

class StripObjectTest : public FrameObjectsFixture {
 protected:
  // A regulator at (10, 10) of 40 x 40 whose strip holds Frames frames of 50 x 50.
  Counted<TspSkinFrameRegulatorObject>* MakeRegulator(TRegulatorKind Kind, Integer Frames = 11, Integer Min = 0,
                                                      Integer Max = 100) {
    auto* D = Descriptor<TspDataSkinFrameRegulatorObject>("gain", Rect(10, 10, 50, 50));
    D->ActiveSkinRect = Rect(0, 0, 50 * Frames, 50);
    D->CountFrames = Frames;
    D->MinValue = Min;
    D->MaxValue = Max;
    D->Kind = Kind;
    return Add<TspSkinFrameRegulatorObject>(D);
  }

  std::vector<std::string> RegulatorEvents() const {
    std::vector<std::string> R;
    for (const std::string& E : Events)
      if (E.rfind("regulator", 0) == 0) R.push_back(E);
    return R;
  }
};

TEST_F(StripObjectTest, AValueShowsTheFrameOfItsStep) {
  auto* R = MakeRegulator(rkHorizontal);
  EXPECT_EQ(R->FrameW, 50);
  EXPECT_EQ(R->FrameH, 50);
  const std::pair<Integer, Integer> Cases[] = {{0, 1}, {9, 1}, {10, 2}, {19, 2}, {100, 11}};
  for (const auto& [Value, Frame] : Cases) {
    SCOPED_TRACE(Value);
    R->SimplySetValue(Value);
    EXPECT_EQ(R->CalcFrame(), Frame);
  }
  // 0..8 over 4 frames: 8 would be frame 5; the strip ends on 4.
  auto* G = Add<TspSkinFrameGaugeObject>(Descriptor<TspDataSkinFrameGaugeObject>("meter", Rect(0, 0, 10, 10)));
  G->CountFrames = 4;
  G->MaxValue = 8;
  G->SetValue(8);
  EXPECT_EQ(G->CalcFrame(), 4);
}

TEST_F(StripObjectTest, ALinearDragStepsOncePerMove) {
  auto* R = MakeRegulator(rkHorizontal);
  R->MouseDown(20, 20, mbLeft);
  R->MouseMove(32, 20);  // 12 pixels: one step of 10 however far
  EXPECT_EQ(R->FPixInc, 5);
  EXPECT_EQ(R->FValInc, 10);
  EXPECT_EQ(R->Value(), 10);
  R->MouseMove(34, 20);  // 2 pixels from the last step: nothing
  EXPECT_EQ(R->Value(), 10);
  R->MouseMove(26, 20);  // 6 back from the last step
  EXPECT_EQ(R->Value(), 0);
  R->MouseUp(26, 20, mbLeft);
  R->MouseMove(60, 20);
  EXPECT_EQ(R->Value(), 0);
  EXPECT_EQ(RegulatorEvents(), (std::vector<std::string>{"regulator gain 10", "regulator gain 0"}));
}

TEST_F(StripObjectTest, AVerticalRegulatorRisesWhenDraggedUp) {
  auto* R = MakeRegulator(rkVertical);
  R->MouseDown(20, 40, mbRight);  // any button drags
  R->MouseMove(20, 30);
  EXPECT_EQ(R->Value(), 10);
  R->MouseMove(20, 24);
  EXPECT_EQ(R->Value(), 20);
  R->MouseMove(20, 40);
  EXPECT_EQ(R->Value(), 10);
}

TEST_F(StripObjectTest, TheKnobAngleRunsClockwiseFromTheBottom) {
  auto* R = MakeRegulator(rkRound);
  struct Case {
    Integer X, Y, Angle;
  };
  const Case Cases[] = {{20, 40, 0}, {0, 20, 90}, {20, 0, 180}, {40, 20, 270}, {40, 40, 315}, {0, 0, 135}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.X << "," << C.Y);
    EXPECT_EQ(R->CalcAngle(C.X, C.Y), C.Angle);
  }
  // The centre keeps the angle of the move before.
  EXPECT_EQ(R->CalcAngle(20, 20), 135);
}

TEST_F(StripObjectTest, AKnobTurnedClockwiseThroughTheBottomGoesUp) {
  auto* R = MakeRegulator(rkRound);
  R->MouseDown(10 + 40, 10 + 20, mbLeft);  // the right edge: 270
  EXPECT_EQ(R->StartV, 270);
  R->MouseMove(10 + 40, 10 + 40);  // 315
  EXPECT_EQ(R->Value(), 10);
  R->MouseMove(10 + 21, 10 + 40);  // 358
  EXPECT_EQ(R->Value(), 20);
  R->MouseMove(10 + 19, 10 + 40);  // 3, through the bottom
  EXPECT_EQ(R->Value(), 30);
}

TEST_F(StripObjectTest, ValuesOutsideTheRangeOrUnchangedAreIgnored) {
  auto* R = MakeRegulator(rkHorizontal);
  R->SetValue(40);
  const int Draws = R->Draws;
  Events.clear();
  R->SetValue(101);
  R->SetValue(-1);
  R->SetValue(40);
  EXPECT_EQ(R->Value(), 40);
  EXPECT_EQ(R->Draws, Draws);
  EXPECT_TRUE(Events.empty());
}

TEST_F(StripObjectTest, StripsThatCannotStepStayPut) {
  // One frame dragged, and a press at the knob's centre.
  auto* Linear = MakeRegulator(rkHorizontal, 1);
  Linear->MouseDown(20, 20, mbLeft);
  Linear->MouseMove(45, 20);
  EXPECT_EQ(Linear->Value(), 0);
  (void)DrawOnTarget(Linear);
  EXPECT_EQ(Linear->Frame(), 1);

  auto* Knob = MakeRegulator(rkRound);
  Knob->MouseDown(10 + 20, 10 + 20, mbLeft);
  EXPECT_EQ(Knob->StartV, 0);
  Knob->MouseMove(10 + 20, 10 + 20);
  EXPECT_EQ(Knob->Value(), 0);
}

TEST_F(StripObjectTest, AStripDrawsItsFrame) {
  auto* R = MakeRegulator(rkHorizontal, 3);
  // Frame 2 of the strip in red.
  Skin->FActivePictures.Items(0)->Canvas()->Brush()->SetColor(FoButton);
  Skin->FActivePictures.Items(0)->Canvas()->FillRect(Rect(50, 0, 100, 50));
  EXPECT_EQ(DrawOnTarget(R)->Canvas()->Pixels(20, 20), FoActive);
  R->SetValue(60);
  EXPECT_EQ(DrawOnTarget(R)->Canvas()->Pixels(20, 20), FoButton);
}

}  // namespace
