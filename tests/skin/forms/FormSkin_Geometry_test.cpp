// The skin's frame geometry mapped to the form's size, and the window's shape from the
// skin's mask, also while the form is sized with the mouse.
#include <gtest/gtest.h>

#include "platform/display/HeadlessDisplay.h"
#include "tests/skin/forms/FormFrame_TestKit.h"
#include "tests/support/FrameSkinVariants.h"

namespace vantrel::frametest {
namespace {

// The test skin's frame picture is 400 x 300: corner points (120, 30), (290, 30), (4, 296),
// (396, 296); client rectangle (4, 30, 396, 296).
class FormSkinGeometryTest : public FrameFixture {
 protected:
  void MapTo(Integer W, Integer H) {
    FS->FFormWidth = W;
    FS->FFormHeight = H;
    FS->CalcSkinFrameRects();
  }
  static void ExpectRect(const TRect& R, Integer L, Integer T, Integer Rt, Integer B) {
    EXPECT_EQ(R.Left, L);
    EXPECT_EQ(R.Top, T);
    EXPECT_EQ(R.Right, Rt);
    EXPECT_EQ(R.Bottom, B);
  }
  TColor ScreenAt(int X, int Y) { return SurfaceColour(S.Session.CaptureScreen(), X, Y); }
  static TColor Desktop() {
    const uint32_t C = display::HeadlessDisplay::DefaultDesktopColor;
    return static_cast<TColor>(((C >> 16) & 0xFF) | (C & 0xFF00) | ((C & 0xFF) << 16));
  }
};

TEST_F(FormSkinGeometryTest, AtThePictureSizeEveryRectangleStays) {
  UseTestSkin();
  MapTo(400, 300);
  ExpectRect(FS->NewClRect, 4, 30, 396, 296);
  ExpectRect(FS->NewCaptionRect, Skin->CaptionRect.Left, 0, 290, 30);
  ExpectRect(FS->NewButtonsRect, 294, 0, 396, 30);
  EXPECT_EQ(FS->NewRBPoint.X, 396);
  EXPECT_EQ(FS->NewRBPoint.Y, 296);
}

TEST_F(FormSkinGeometryTest, AWiderAndTallerFormMovesTheRightAndBottomParts) {
  UseTestSkin();
  MapTo(500, 400);
  ExpectRect(FS->NewClRect, 4, 30, 496, 396);
  EXPECT_EQ(FS->NewRTPoint.X, 390);
  EXPECT_EQ(FS->NewLBPoint.Y, 396);
  ExpectRect(FS->NewCaptionRect, Skin->CaptionRect.Left, 0, 390, 30);
  // The buttons lie right of the picture's middle: they stay at the right edge.
  ExpectRect(FS->NewButtonsRect, 394, 0, 496, 30);
  ExpectRect(FS->NewMaskRectArea, 4, 30, 496, 396);
  EXPECT_EQ(FS->NewHitTestRBPoint.X, 492);
  EXPECT_EQ(FS->NewHitTestRBPoint.Y, 392);
  // The menu band stretches with the frame.
  ExpectRect(FS->NewMainMenuRect, 4, 30, 496, 52);
}

TEST_F(FormSkinGeometryTest, ASmallerFormMovesThemLeftAndUp) {
  UseTestSkin();
  MapTo(350, 250);
  ExpectRect(FS->NewClRect, 4, 30, 346, 246);
  ExpectRect(FS->NewButtonsRect, 244, 0, 346, 30);
}

struct NewRectCase {
  const char* Name;
  TRect In;
  TRect Out;  // for a form of 500 x 400 (dx = dy = 100)
};

TEST_F(FormSkinGeometryTest, CalcNewRectByCornerZones) {
  UseTestSkin();
  MapTo(500, 400);
  const NewRectCase Cases[] = {
      {"inside the left-top zone", {10, 5, 50, 20}, {10, 5, 50, 20}},
      {"inside the right-top zone", {300, 5, 390, 25}, {400, 5, 490, 25}},
      {"inside the left-bottom zone", {0, 297, 3, 299}, {0, 397, 3, 399}},
      {"inside the right-bottom zone", {397, 297, 399, 299}, {497, 397, 499, 399}},
      {"the whole frame", {10, 5, 397, 297}, {10, 5, 497, 397}},
      {"the top edge", {10, 5, 300, 20}, {10, 5, 400, 20}},
      {"the bottom edge", {2, 297, 398, 299}, {2, 397, 498, 399}},
      {"the left edge", {1, 5, 3, 298}, {1, 5, 3, 398}},
      {"the right edge", {300, 5, 398, 298}, {400, 5, 498, 398}},
      {"the middle part", {130, 40, 200, 100}, {130, 40, 200, 100}},
      {"a corner zone and the middle", {10, 5, 200, 100}, {10, 5, 200, 100}},
  };
  for (const NewRectCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TRect Out{};
    FS->CalcNewRect(C.In, Out);
    ExpectRect(Out, C.Out.Left, C.Out.Top, C.Out.Right, C.Out.Bottom);
  }
}

TEST_F(FormSkinGeometryTest, ObjectsAndTheSizeGripFollowTheSize) {
  UseTestSkin();
  MapTo(500, 400);
  TspUserObject* O = AddUserObject("probe", Rect(300, 5, 390, 25));
  FS->CalcObjectRects();
  ExpectRect(O->ObjectRect, 400, 5, 490, 25);
  // The test skin's grip lies in the picture's middle part, which keeps its place.
  const TRect& G = Skin->SizeGripArea;
  ExpectRect(FS->FSizeGripArea, G.Left, G.Top, G.Right, G.Bottom);
}

TEST_F(FormSkinGeometryTest, TheMaskShapesTheWindowAlsoAfterTheRightEdgeIsDragged) {
  Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
  ASSERT_FALSE(Skin->FMask->Empty());
  test::AddFrameUserObject(*Skin, "probe", Rect(300, 5, 390, 25));
  FS->SetSkinData(Skin.get());
  ShowForm();
  ASSERT_EQ(FS->ObjectList.size(), 6u);  // the skin's caption buttons and caption, then the probe
  ASSERT_EQ(FS->ObjectList.back()->IDName, "probe");
  std::vector<Integer> ClientRights, ObjectLefts;
  FS->OnChangeClientRect = [&](TRect R) {
    ClientRights.push_back(R.Right);
    ObjectLefts.push_back(FS->ObjectList.back()->ObjectRect.Left);
  };
  // The mask's top corners are round: the window's corner pixel is not the window's.
  EXPECT_EQ(ScreenAt(100, 80), Desktop());
  EXPECT_EQ(ScreenAt(499, 80), Desktop());
  EXPECT_NE(ScreenAt(100 + 200, 80 + 1), Desktop());
  EXPECT_NE(ScreenAt(100, 379), Desktop());  // the bottom corners are square

  // Drag the right edge 100 pixels to the right through the size loop.
  S.Session.Press(499, 230);
  S.Session.Move(550, 230);
  S.Session.Move(599, 230);
  S.Session.Release(599, 230);
  S.Session.PumpUntilIdle();
  // Each step of the drag laid the frame out for its size.
  EXPECT_NE(std::find(ClientRights.begin(), ClientRights.end(), 447), ClientRights.end());
  EXPECT_NE(std::find(ObjectLefts.begin(), ObjectLefts.end(), 351), ObjectLefts.end());
  ASSERT_FALSE(ClientRights.empty());
  EXPECT_EQ(ClientRights.back(), 496);
  EXPECT_EQ(FS->ObjectList.back()->ObjectRect.Left, 400);
  EXPECT_EQ(Form->Width(), 500);
  EXPECT_EQ(FS->FFormWidth, 500);
  ExpectRect(FS->NewClRect, 4, 30, 496, 296);
  ExpectRect(FS->NewButtonsRect, 394, 0, 496, 30);
  const win::Surface Shot = S.Session.CaptureScreen();
  SaveCapture(Shot, "framea-masked-dragged.png");
  EXPECT_EQ(SurfaceColour(Shot, 599, 80), Desktop());
  EXPECT_EQ(SurfaceColour(Shot, 100, 80), Desktop());
  EXPECT_NE(SurfaceColour(Shot, 590, 81 + 5), Desktop());
  // Where the old right edge was, the frame goes on.
  EXPECT_NE(SurfaceColour(Shot, 499, 80), Desktop());

  // Dragged far to the left, the form keeps the skin's minimum width.
  S.Session.Press(599, 230);
  S.Session.Move(300, 230);
  S.Session.Move(120, 230);
  S.Session.Release(120, 230);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Form->Width(), FS->GetMinWidth());
  EXPECT_EQ(FS->FFormWidth, FS->GetMinWidth());
  EXPECT_EQ(FS->NewClRect.Right, FS->GetMinWidth() - 4);
}

TEST_F(FormSkinGeometryTest, ANewWindowOfTheFormTakesTheShapeAgain) {
  Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
  FS->SetSkinData(Skin.get());
  ShowForm();
  ASSERT_EQ(ScreenAt(100, 80), Desktop());
  Form->SetBorderStyle(bsSingle);  // the form makes its window again
  S.Session.PumpUntilIdle();
  EXPECT_NE(FS->FRgn, nullptr);
  EXPECT_EQ(ScreenAt(100, 80), Desktop());
  EXPECT_NE(ScreenAt(300, 81), Desktop());
}

TEST_F(FormSkinGeometryTest, WithoutSkinTheRegionIsTheWholeWindow) {
  ShowForm();
  EXPECT_NE(FS->FRgn, nullptr);
  EXPECT_NE(ScreenAt(100, 80), Desktop());
  EXPECT_NE(ScreenAt(499, 379), Desktop());
  EXPECT_TRUE(FS->RMTop->Empty());
}

}  // namespace
}  // namespace vantrel::frametest
