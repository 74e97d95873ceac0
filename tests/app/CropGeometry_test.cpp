// The crop selection's geometry as numbers: placement of the source picture, handles and
// lines from the edits, edits from the handles, handle drags and the output preview zoom.
#include <gtest/gtest.h>

#include "app/crop_Geometry.h"
#include "platform/rtl/Exceptions.h"

using namespace vantrel::app;

namespace {

constexpr Integer GeoPW = 319, GeoPH = 222;  // the source preview

}  // namespace

TEST(CropGeometry, PlacementFitsTheHeightOrTheWidthAndGivesThePictureBounds) {
  struct Case {
    Integer W, H;
    bool HeightFit;
    double S, OX, OY;
    TRect Bounds;
  } Cases[] = {
      {640, 480, true, 0.4625, 11.5, 0, {12, 0, 308, 222}},
      {1280, 720, false, 0.24921875, 0, 21.28125, {0, 21, 319, 201}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.W << "x" << C.H);
    const TPicturePlacement P = PlacePicture(C.W, C.H, GeoPW, GeoPH);
    EXPECT_EQ(P.HeightFit, C.HeightFit);
    EXPECT_DOUBLE_EQ(P.S, C.S);
    EXPECT_DOUBLE_EQ(P.OX, C.OX);
    EXPECT_DOUBLE_EQ(P.OY, C.OY);
    const TRect B = PictureBounds(P, C.W, C.H);
    EXPECT_EQ(B.Left, C.Bounds.Left);
    EXPECT_EQ(B.Top, C.Bounds.Top);
    EXPECT_EQ(B.Right, C.Bounds.Right);
    EXPECT_EQ(B.Bottom, C.Bounds.Bottom);
  }
}

TEST(CropGeometry, TheFullFrameSelectionPlacesCornersMiddlesAndLines) {
  const TPicturePlacement P = PlacePicture(640, 480, GeoPW, GeoPH);
  const TCropSelection Sel = SelectionFromEdits(P, {0, 0, 640, 480});
  const auto& H = Sel.Handles;
  // 307.5 rounds to the even 308.
  EXPECT_EQ(H[chLeftTop], (TPoint{8, -4}));
  EXPECT_EQ(H[chRightBottom], (TPoint{304, 218}));
  EXPECT_EQ(H[chLeftBottom], (TPoint{8, 218}));
  EXPECT_EQ(H[chRightTop], (TPoint{304, -4}));
  EXPECT_EQ(H[chLeftMiddle], (TPoint{8, 107}));
  EXPECT_EQ(H[chTopMiddle], (TPoint{156, -4}));
  EXPECT_EQ(H[chBottomMiddle], (TPoint{156, 218}));
  EXPECT_EQ(H[chRightMiddle], (TPoint{304, 107}));
  EXPECT_EQ(Sel.Lines[clLeft], (TCropBox{12, 0, 1, 222}));
  EXPECT_EQ(Sel.Lines[clRight], (TCropBox{308, 0, 1, 222}));
  EXPECT_EQ(Sel.Lines[clTop], (TCropBox{12, 0, 296, 1}));
  EXPECT_EQ(Sel.Lines[clBottom], (TCropBox{12, 222, 296, 1}));

  // A width fit puts the frame's top at the picture's top offset.
  const TPicturePlacement Wide = PlacePicture(1280, 720, GeoPW, GeoPH);
  const TCropSelection WideSel = SelectionFromEdits(Wide, {0, 0, 1280, 720});
  EXPECT_EQ(WideSel.Handles[chLeftTop], (TPoint{-4, 17}));
  EXPECT_EQ(WideSel.Handles[chRightBottom], (TPoint{315, 197}));
}

TEST(CropGeometry, HandlesMapBackToSourcePixelsThroughTheirReferencePoints) {
  const TPicturePlacement P = PlacePicture(640, 480, GeoPW, GeoPH);
  // Reference points 12,0 and 308,222: (12 - 11.5) / 0.4625 rounds to 1, (308 - 11.5) /
  // 0.4625 to 641, 222 / 0.4625 is 480.
  EXPECT_EQ(EditsFromSelection(P, SelectionFromEdits(P, {0, 0, 640, 480})), (TCropEdits{1, 0, 640, 480}));
  // A crop of 100,100 400 x 200: corners at 57.75 -> 58 and 46.25 -> 46, and 242.75 -> 243,
  // 138.75 -> 139; back: (58 - 11.5) / 0.4625 = 100.54 -> 101, 46 / 0.4625 = 99.46 -> 99.
  EXPECT_EQ(EditsFromSelection(P, SelectionFromEdits(P, {100, 100, 400, 200})),
            (TCropEdits{101, 99, 400, 202}));
}

TEST(CropGeometry, ACropIsKeptInsideThePicture) {
  struct Case {
    const char* Name;
    TCropEdits In, Want;
  } Cases[] = {
      {"the whole picture stays", {0, 0, 640, 360}, {0, 0, 640, 360}},
      {"the corner typed beyond the picture", {640, 360, 640, 360}, {638, 358, 2, 2}},
      {"the far side ends at the picture's edge", {100, 0, 640, 360}, {100, 0, 540, 360}},
      {"a handle a pixel past the edge", {1, 64, 640, 297}, {1, 64, 639, 296}},
      {"a corner before the picture", {-5, -7, 100, 100}, {0, 0, 95, 93}},
      {"too small grows to 2 x 2", {10, 10, 0, 1}, {10, 10, 2, 2}},
      {"too small at the far edge grows back", {639, 359, 5, 5}, {638, 358, 2, 2}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(ClampCropEdits(C.In, 640, 360), C.Want);
  }
}

TEST(CropGeometry, DraggingTheTopLeftHandleOfAWidePictureEndsInsideIt) {
  // 640 x 360 is a width fit: the bottom bound 201 maps back to source line 361.
  const TPicturePlacement P = PlacePicture(640, 360, GeoPW, GeoPH);
  TCropSelection Sel = SelectionFromEdits(P, {0, 0, 640, 360});
  DragCropHandle(Sel, chLeftTop, {40, 49}, PictureBounds(P, 640, 360));
  const TCropEdits Raw = EditsFromSelection(P, Sel);
  ASSERT_EQ(Raw.Top, 64);
  EXPECT_EQ(Raw.Top + Raw.Height, 361);
  const TCropEdits E = ClampCropEdits(Raw, 640, 360);
  EXPECT_EQ(E.Top, 64);
  EXPECT_EQ(E.Height, 296);
  EXPECT_LE(E.Left + E.Width, 640);
}

TEST(CropGeometry, HandleDragsKeepTheirOrderBoundsAndGap) {
  const TPicturePlacement P = PlacePicture(640, 480, GeoPW, GeoPH);
  const TRect Bounds = PictureBounds(P, 640, 480);  // 12, 0, 308, 222
  const TCropEdits Full{0, 0, 640, 480};
  const TCropEdits Inner{100, 100, 400, 200};  // corners 54,42 and 239,135
  struct Case {
    const char* Name;
    TCropEdits Start;
    TCropHandle Handle;
    TPoint Candidate;
    bool Allowed;
    TPoint Ends;               // where the dragged handle ends
    TCropHandle Carried;       // a handle sharing its edge
    TPoint CarriedEnds;
  } Cases[] = {
      {"bottom right left of top left", Full, chRightBottom, {0, 218}, false, {304, 218}, chRightTop, {304, -4}},
      {"bottom right above top left", Full, chRightBottom, {200, -10}, false, {304, 218}, chRightTop, {304, -4}},
      {"bottom right 2 right of top left", Full, chRightBottom, {10, 218}, true, {16, 218}, chRightTop, {16, -4}},
      {"top left near bottom right", Full, chLeftTop, {100, 214}, true, {100, 210}, chLeftBottom, {100, 218}},
      {"left middle past the picture", Inner, chLeftMiddle, {-20, 0}, true, {8, 88}, chLeftBottom, {8, 135}},
      {"right middle past the picture", Inner, chRightMiddle, {400, 0}, true, {304, 88}, chRightTop, {304, 42}},
      {"top middle above the frame", Inner, chTopMiddle, {0, -30}, true, {146, -4}, chRightTop, {239, -4}},
      {"bottom middle below the frame", Inner, chBottomMiddle, {0, 300}, true, {146, 218}, chLeftBottom, {54, 218}},
      {"bottom middle above top middle", Inner, chBottomMiddle, {0, 40}, false, {146, 135}, chLeftBottom, {54, 135}},
      {"left bottom moves left and down", Inner, chLeftBottom, {30, 150}, true, {30, 150}, chRightBottom, {239, 150}},
      {"right top refused past left bottom", Inner, chRightTop, {54, 20}, false, {239, 42}, chLeftTop, {54, 42}},
      {"right top moves right and up", Inner, chRightTop, {260, 20}, true, {260, 20}, chLeftTop, {54, 20}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TCropSelection Sel = SelectionFromEdits(P, C.Start);
    ASSERT_EQ(CropHandleMoveAllowed(Sel, C.Handle, C.Candidate), C.Allowed);
    if (C.Allowed) DragCropHandle(Sel, C.Handle, C.Candidate, Bounds);
    EXPECT_EQ(Sel.Handles[C.Handle], C.Ends);
    EXPECT_EQ(Sel.Handles[C.Carried], C.CarriedEnds);
    // The rectangle stays complete: the lines run between the corners.
    EXPECT_EQ(Sel.Lines[clTop].Width, Sel.Handles[chRightTop].X - Sel.Handles[chLeftTop].X);
    EXPECT_EQ(Sel.Lines[clLeft].Height, Sel.Handles[chLeftBottom].Y - Sel.Handles[chLeftTop].Y);
  }
}

TEST(CropGeometry, TheOutputZoomShowsTheSelectionInTheOutputBox) {
  struct Case {
    const char* Name;
    Integer W, H;
    double A;
    TCropEdits E;
    TCropBox Clip, Picture;
  } Cases[] = {
      // The source's own ratio: the full frame shows as the source preview shows it.
      {"keep original", 640, 480, 0, {0, 0, 640, 480}, {12, 0, 296, 222}, {-12, 0, 319, 222}},
      // 16:9 on 4:3: the stretched picture fills the width, centred vertically.
      {"16:9 on 4:3", 640, 480, double(16.0f / 9.0f), {0, 0, 640, 480}, {0, 22, 319, 179}, {0, -21, 319, 222}},
      // Half the frame's width and height from its middle fills the box's height: twice
      // the size, shifted by the crop.
      {"a quarter zoomed", 640, 480, 0, {160, 120, 320, 240}, {12, 0, 296, 222}, {-171, -111, 638, 444}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    const TPreviewZoom Z = PreviewZoom(C.W, C.H, GeoPW, GeoPH, GeoPW, GeoPH, C.A, C.E);
    EXPECT_EQ(Z.Clip, C.Clip);
    EXPECT_EQ(Z.Picture, C.Picture);
  }
  // The smallest area is zoomed only up to the drawing window's largest size, its corner
  // still at the clipping panel's corner.
  const TPreviewZoom Tiny = PreviewZoom(640, 480, GeoPW, GeoPH, GeoPW, GeoPH, 0, {638, 478, 2, 2});
  EXPECT_EQ(Tiny.Picture.Width, 4096);
  EXPECT_LE(Tiny.Picture.Height, 4096);
  EXPECT_NEAR(-Tiny.Picture.Left, 4096.0 * (638 * 0.4625 + 11.5) / GeoPW, 1);
  // No area at all cannot be zoomed to.
  EXPECT_THROW(PreviewZoom(640, 480, GeoPW, GeoPH, GeoPW, GeoPH, 0, {0, 0, 0, 0}), Exception);
}
