// Magnetic snapping to the work area's edges while a window moves.
#include <gtest/gtest.h>

#include "platform/win/Input.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

class FormSkinSnapTest : public FrameFixture {};

// One move step: the cursor, the proposed corner and size, and the corner that results.
struct SnapStep {
  const char* Name;
  bool Fresh;  // a new move: no edge snapped
  bool Magnetic;
  int CursorX, CursorY;
  int Left, Top, Width, Height;
  int ExpectLeft, ExpectTop;
};

// The work area is (0, 0, 1280, 760); MagneticSize is 10.
const SnapStep SnapSteps[] = {
    {"left 7 away snaps", true, true, 500, 400, 7, 300, 400, 300, 0, 300},
    {"10 further stays", false, true, 490, 400, -3, 300, 400, 300, 0, 300},
    {"11 further follows", false, true, 489, 400, -4, 300, 400, 300, -11, 300},
    {"exactly 10 away does not snap", true, true, 500, 400, 10, 300, 400, 300, 10, 300},
    {"exactly 10 outside does not snap", true, true, 500, 400, -10, 300, 400, 300, -10, 300},
    {"top 5 away snaps", true, true, 500, 400, 200, 5, 400, 300, 200, 0},
    {"right edge snaps", true, true, 500, 400, 1280 - 400 - 6, 300, 400, 300, 880, 300},
    {"bottom edge snaps", true, true, 500, 400, 200, 760 - 300 + 8, 400, 300, 200, 460},
    {"right wins on a wide window", true, true, 500, 400, 3, 300, 1275, 300, 5, 300},
    {"bottom wins on a tall window", true, true, 500, 400, 200, 2, 400, 755, 200, 5},
    {"off changes nothing", true, false, 500, 400, 7, 3, 400, 300, 7, 3},
};

TEST_F(FormSkinSnapTest, MoveStepsAgainstTheWorkArea) {
  ShowForm();
  for (const SnapStep& St : SnapSteps) {
    SCOPED_TRACE(St.Name);
    if (St.Fresh) FS->HMagnetized = FS->VMagnetized = FS->HMagnetized2 = FS->VMagnetized2 = false;
    FS->SetMagnetic(St.Magnetic);
    SetCursorPos(St.CursorX, St.CursorY);
    int L = St.Left, T = St.Top;
    FS->MagneticMove(L, T, St.Width, St.Height);
    EXPECT_EQ(L, St.ExpectLeft);
    EXPECT_EQ(T, St.ExpectTop);
  }
}

TEST_F(FormSkinSnapTest, AClientModeFormDraggedNearTheTopEndsAtTheTop) {
  FS->SetSupportNCArea(false);
  FS->SetDraggAble(true);
  FS->SetMagnetic(true);
  ShowForm();
  const TPoint Start = Form->ClientToScreen(Point(150, 100));
  const int Top0 = Form->Top();
  S.Session.Press(Start.X, Start.Y);
  S.Session.PumpUntilIdle();
  // Up in two steps to 5 pixels below the top of the work area.
  S.Session.Move(Start.X, Start.Y - (Top0 - 5) / 2);
  S.Session.PumpUntilIdle();
  EXPECT_GT(Form->Top(), 5);
  S.Session.Move(Start.X, Start.Y - (Top0 - 5));
  S.Session.PumpUntilIdle();
  S.Session.Release(Start.X, Start.Y - (Top0 - 5));
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Form->Top(), 0);
  EXPECT_EQ(Form->Left(), 100);
}

}  // namespace
}  // namespace vantrel::frametest
