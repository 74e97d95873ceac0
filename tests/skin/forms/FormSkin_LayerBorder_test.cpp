// The layered border around a skinned form: where its four windows lie and what the screen
// shows of them, following moves, sizes, activation and alpha; the blur-mask regions; and
// sizing and moving the form through the side windows.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "platform/display/HeadlessDisplay.h"
#include "platform/ui/Timers.h"
#include "platform/win/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowManager.h"
#include "platform/win/WindowRegion.h"
#include "skin/forms/FormSkinFrameObjects.h"
#include "skin/forms/FormSkinLayerBorder.h"
#include "skin/forms/SkinHint.h"
#include "skin/forms/SkinMenus.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

// Frame picture colours: the top band, the left and right columns, the bottom band and its
// lowest five rows; the inactive picture is all one colour.
constexpr TColor LayerTop = 0x0000C0;
constexpr TColor LayerLeft = 0x00C000;
constexpr TColor LayerRight = 0x00C0C0;
constexpr TColor LayerBottom = 0xC00000;
constexpr TColor LayerLowest = 0xC000C0;
constexpr TColor LayerInactive = 0x808080;

class LayerBorderTest : public FrameFixture {
 protected:
  TspFormLayerBorder* LB = nullptr;

  void SetUp() override {
    FrameFixture::SetUp();
    Form->SetBounds(200, 100, 400, 300);
    LB = FS->BorderLayer();
  }

  // A 100 x 80 layer frame with ClRect (20, 30, 80, 60) and its corners at ClRect's
  // corners, written into the test skin.
  void UseLayerSkin(Boolean Full = false, Integer BlurMask = -1) {
    Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
    ASSERT_FALSE(Skin->Empty);
    auto Pic = FlatBitmap(100, 80, LayerTop);
    TCanvas* C = Pic->Canvas();
    C->Brush()->SetColor(LayerLeft);
    C->FillRect(Rect(0, 30, 20, 60));
    C->Brush()->SetColor(LayerRight);
    C->FillRect(Rect(80, 30, 100, 60));
    C->Brush()->SetColor(LayerBottom);
    C->FillRect(Rect(0, 60, 100, 75));
    C->Brush()->SetColor(LayerLowest);
    C->FillRect(Rect(0, 75, 100, 80));
    TspDataSkinLayerFrame& D = *Skin->LayerFrame;
    D.PictureIndex = Skin->FActivePictures.Add(std::move(Pic));
    D.MaskPictureIndex = Skin->FActivePictures.Add(FlatBitmap(100, 80, clWhite));
    D.InActivePictureIndex = Skin->FActivePictures.Add(FlatBitmap(100, 80, LayerInactive));
    D.InActiveMaskPictureIndex = D.MaskPictureIndex;
    D.LTPoint = Point(20, 30);
    D.RTPoint = Point(80, 30);
    D.LBPoint = Point(20, 60);
    D.RBPoint = Point(80, 60);
    D.ClRect = Rect(20, 30, 80, 60);
    D.AlphaBlendValue = 200;
    D.InActiveAlphaBlendValue = 100;
    D.BorderRect = Rect(10, 20, 90, 70);
    D.HitTestEnable = true;
    D.HitTestSize = 4;
    D.HitTestLTPoint = Point(25, 35);
    D.HitTestRTPoint = Point(75, 35);
    D.HitTestLBPoint = Point(25, 55);
    D.HitTestRBPoint = Point(75, 55);
    D.CaptionRect = Rect(20, 20, 80, 30);
    D.FullBorder = Full;
    D.BlurMaskPictureIndex = BlurMask;
    FS->SetSkinData(Skin.get());
  }

  static int DesktopChannelOf(int Shift) {
    return static_cast<int>((display::HeadlessDisplay::DefaultDesktopColor >> Shift) & 0xFF);
  }
  // A flat colour blended with constant alpha A over the desktop, as composition does.
  static TColor OverDesktop(TColor Src, int A) {
    const int Shifts[3] = {0, 8, 16};
    const int DesktopShifts[3] = {16, 8, 0};
    TColor Out = 0;
    for (int I = 0; I < 3; ++I) {
      const int S = (Src >> Shifts[I]) & 0xFF;
      const int Dst = DesktopChannelOf(DesktopShifts[I]);
      Out |= static_cast<TColor>(((S * A + Dst * (255 - A) + 127) / 255) << Shifts[I]);
    }
    return Out;
  }
  static TColor Desktop() {
    const uint32_t D = display::HeadlessDisplay::DefaultDesktopColor;
    return static_cast<TColor>(((D >> 16) & 0xFF) | (D & 0xFF00) | ((D & 0xFF) << 16));
  }
  static TRect WindowRectOf(TWinControl* W) {
    RECT R{};
    GetWindowRect(W->Handle(), &R);
    return Rect(R.Left, R.Top, R.Right, R.Bottom);
  }
  // Shown, and past the first show's fade timer (the border takes its alpha there).
  void ShowFramed() {
    ShowForm();
    S.Session.Advance(20);
    S.Session.PumpUntilIdle();
  }
  static Boolean Showing(TWinControl* W) { return W && W->HandleAllocated() && IsWindowVisible(W->Handle()); }
  // Close enough: one unit per channel for rounding in the blend.
  static void ExpectColourNear(TColor Seen, TColor Expected) {
    for (int Shift : {0, 8, 16})
      EXPECT_NEAR((Seen >> Shift) & 0xFF, (Expected >> Shift) & 0xFF, 1) << "shift " << Shift << " seen " << std::hex << Seen;
  }
};

TEST_F(LayerBorderTest, TheBorderSurroundsTheFormAndIsBlendedOverTheDesktop) {
  UseLayerSkin();
  ASSERT_TRUE(FS->UseLayeredBorder());
  ShowFramed();
  ASSERT_TRUE(LB->Visible());
  EXPECT_EQ(LB->FWidth, 440);
  EXPECT_EQ(LB->FHeight, 350);
  EXPECT_EQ(WindowRectOf(LB->TopBorder), Rect(180, 70, 620, 100));
  EXPECT_EQ(WindowRectOf(LB->BottomBorder), Rect(180, 400, 620, 420));
  EXPECT_EQ(WindowRectOf(LB->LeftBorder), Rect(180, 100, 200, 400));
  EXPECT_EQ(WindowRectOf(LB->RightBorder), Rect(600, 100, 620, 400));
  EXPECT_EQ(GetClassName(LB->TopBorder->Handle()), std::string(SkinLayerWindowClassName));

  const win::Surface Shot = S.Session.CaptureScreen();
  SaveCapture(Shot, "layer-border.png");
  ExpectColourNear(SurfaceColour(Shot, 181, 71), OverDesktop(LayerTop, 200));
  ExpectColourNear(SurfaceColour(Shot, 400, 85), OverDesktop(LayerTop, 200));
  ExpectColourNear(SurfaceColour(Shot, 185, 250), OverDesktop(LayerLeft, 200));
  ExpectColourNear(SurfaceColour(Shot, 615, 250), OverDesktop(LayerRight, 200));
  ExpectColourNear(SurfaceColour(Shot, 400, 405), OverDesktop(LayerBottom, 200));
  ExpectColourNear(SurfaceColour(Shot, 619, 419), OverDesktop(LayerLowest, 200));
  EXPECT_EQ(SurfaceColour(Shot, 179, 71), Desktop());
  EXPECT_EQ(SurfaceColour(Shot, 620, 419), Desktop());
  EXPECT_EQ(SurfaceColour(Shot, 400, 420), Desktop());
}

TEST_F(LayerBorderTest, TheBorderFollowsMovesAndSizes) {
  UseLayerSkin();
  ShowFramed();
  Form->SetBounds(250, 120, 400, 300);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(WindowRectOf(LB->TopBorder), Rect(230, 90, 670, 120));
  EXPECT_EQ(WindowRectOf(LB->RightBorder), Rect(650, 120, 670, 420));
  Form->SetBounds(250, 120, 500, 320);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(WindowRectOf(LB->TopBorder), Rect(230, 90, 770, 120));
  EXPECT_EQ(WindowRectOf(LB->BottomBorder), Rect(230, 440, 770, 460));
  EXPECT_EQ(WindowRectOf(LB->RightBorder), Rect(750, 120, 770, 440));
  const win::Surface Shot = S.Session.CaptureScreen();
  SaveCapture(Shot, "layer-border-moved.png");
  ExpectColourNear(SurfaceColour(Shot, 765, 300), OverDesktop(LayerRight, 200));
  Form->Hide();
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(LB->Visible());
  EXPECT_EQ(LB->TopBorder, nullptr);
}

TEST_F(LayerBorderTest, ABorderLowerThanItsBandsHidesTheSideWindowsAndKeepsTheLowestRows) {
  UseLayerSkin();
  ShowFramed();
  LB->SetBounds(180, 70, 440, 40);  // a rolled-up form: 40 rows for bands of 30 and 20
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(Showing(LB->LeftBorder));
  EXPECT_FALSE(Showing(LB->RightBorder));
  EXPECT_TRUE(Showing(LB->TopBorder));
  ASSERT_TRUE(Showing(LB->BottomBorder));
  EXPECT_EQ(WindowRectOf(LB->BottomBorder), Rect(180, 100, 620, 110));
  const win::Surface Shot = S.Session.CaptureScreen();
  ExpectColourNear(SurfaceColour(Shot, 185, 102), OverDesktop(LayerBottom, 200));
  ExpectColourNear(SurfaceColour(Shot, 185, 108), OverDesktop(LayerLowest, 200));
  // A form moved meanwhile moves only the windows shown.
  LB->MoveWithForm2(300, 100);
  EXPECT_EQ(WindowRectOf(LB->TopBorder).Left, 280);
}

TEST_F(LayerBorderTest, DeactivationSwitchesToTheInactiveAlphaAndAFullBorderToItsInactivePicture) {
  for (Boolean Full : {false, true}) {
    SCOPED_TRACE(Full ? "full border" : "side border");
    UseLayerSkin(Full);
    ShowFramed();
    TOwned<TForm> Other = CreateOwned<TForm>(nullptr);
    Other->SetBounds(700, 500, 100, 80);
    Other->Show();
    S.Session.PumpUntilIdle();
    EXPECT_FALSE(LB->Active());
    const win::Surface Shot = S.Session.CaptureScreen();
    SaveCapture(Shot, Full ? "layer-border-inactive-full.png" : "layer-border-inactive.png");
    ExpectColourNear(SurfaceColour(Shot, 185, 250), OverDesktop(Full ? LayerInactive : LayerLeft, 100));
    Form->SetFocus();
    Form->BringToFront();
    SetForegroundWindow(Form->Handle());
    S.Session.PumpUntilIdle();
    EXPECT_TRUE(LB->Active());
    ExpectColourNear(SurfaceColour(S.Session.CaptureScreen(), 185, 250), OverDesktop(LayerLeft, 200));
    Other.reset();
    Form->Hide();
    S.Session.PumpUntilIdle();
  }
}

TEST_F(LayerBorderTest, FormAlphaScalesTheFrameAlpha) {
  UseLayerSkin();
  LB->CheckFormAlpha(128, false);
  EXPECT_EQ(LB->FCurrentAlphaBlendValue, 100);
  EXPECT_EQ(LB->FCurrentInActiveAlphaBlendValue, 50);
  Skin->LayerFrame->AlphaBlendValue = 255;
  Skin->LayerFrame->InActiveAlphaBlendValue = 200;
  LB->CheckFormAlpha(128, false);
  EXPECT_EQ(LB->FCurrentAlphaBlendValue, 128);
  EXPECT_EQ(LB->FCurrentInActiveAlphaBlendValue, 100);
}

TEST_F(LayerBorderTest, WithoutASkinOrAFramePictureNoBorderShows) {
  ShowFramed();
  EXPECT_FALSE(FS->UseLayeredBorder());
  EXPECT_FALSE(LB->Visible());
  Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
  FS->SetSkinData(Skin.get());  // the test skin has no layer frame
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(FS->UseLayeredBorder());
  EXPECT_EQ(LB->Data(), nullptr);
  LB->ShowWithForm();
  EXPECT_FALSE(LB->Visible());
  LB->SetActive(false, true);  // still safe
  LB->Hide();
}

TEST_F(LayerBorderTest, AFullBorderMakesTheWholeFormClient) {
  UseLayerSkin(true);
  ShowFramed();
  ASSERT_TRUE(LB->Visible());
  for (TPoint P : {Point(210, 105), Point(400, 250), Point(599, 399)}) {
    SCOPED_TRACE(P.X);
    EXPECT_EQ(SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y)), HTCLIENT);
  }
  // The client area is the whole window.
  EXPECT_EQ(Form->ClientWidth(), 400);
  EXPECT_EQ(Form->ClientHeight(), 300);
}

TEST_F(LayerBorderTest, TheBlurMaskCornersBecomeRegionsAndTheSideRegionsFollowTheSize) {
  UseLayerSkin();
  auto Mask = FlatBitmap(100, 80, clWhite);
  Mask->Canvas()->Brush()->SetColor(clBlack);
  Mask->Canvas()->FillRect(Rect(5, 5, 15, 15));    // top left
  Mask->Canvas()->FillRect(Rect(85, 0, 100, 10));  // top right
  Mask->Canvas()->FillRect(Rect(0, 70, 10, 80));   // bottom left
  Mask->Canvas()->FillRect(Rect(90, 75, 95, 80));  // bottom right
  Skin->LayerFrame->BlurMaskPictureIndex = Skin->FActivePictures.Add(std::move(Mask));
  LB->InitFrame(Skin.get(), Form.get());
  auto Box = [](HRGN R) {
    RECT B{};
    GetRgnBox(R, &B);
    return Rect(B.Left, B.Top, B.Right, B.Bottom);
  };
  ASSERT_NE(LB->DataRgn1, nullptr);
  ASSERT_NE(LB->DataRgn4, nullptr);
  EXPECT_EQ(Box(LB->DataRgn1), Rect(5, 5, 15, 15));
  EXPECT_EQ(Box(LB->DataRgn2), Rect(85, 0, 100, 10));
  EXPECT_EQ(Box(LB->DataRgn3), Rect(0, 10, 10, 20));  // rows counted from the corner's top
  EXPECT_EQ(Box(LB->DataRgn4), Rect(90, 15, 95, 20));
  // Blur regions of a built border (composition is absent, so they are made on request).
  Skin->LayerFrame->IntersectBlurMaskRect = Rect(2, 2, 98, 78);
  Skin->LayerFrame->ExcludeBlurMaskRect = Rect(18, 28, 82, 62);
  LB->CreateBorderImages(440, 350);
  LB->CreateBlurRegions();
  ASSERT_NE(LB->TopRgn, nullptr);
  EXPECT_TRUE(PtInRegion(LB->TopRgn, 100, 10));        // the stretched middle band
  EXPECT_TRUE(PtInRegion(LB->TopRgn, 85 + 340, 5));    // the right corner moved by the growth
  EXPECT_FALSE(PtInRegion(LB->TopRgn, 3, 20));       // left of the band, off the corner's pixels
  EXPECT_EQ(Box(LB->LeftRgn), Rect(2, 0, 18, 300));
  EXPECT_EQ(Box(LB->RightRgn), Rect(2, 0, 18, 300));
}

TEST_F(LayerBorderTest, ATiledColumnWithoutRowsToTileStaysEmpty) {
  UseLayerSkin();
  TspDataSkinLayerFrame& D = *Skin->LayerFrame;
  // The bands meet: no row between them.
  D.LTPoint = Point(20, 40);
  D.RTPoint = Point(80, 40);
  D.LBPoint = Point(20, 40);
  D.RBPoint = Point(80, 40);
  D.FullStretch = false;
  LB->InitFrame(Skin.get(), Form.get());
  LB->CreateBorderImages(440, 350);
  ASSERT_NE(LB->LeftImage, nullptr);
  EXPECT_EQ(LB->LeftImage->Height(), 350 - 40 - 40);
  // Nothing was tiled into it: fully transparent.
  EXPECT_EQ(LB->LeftImage->GetPixelValue(5, 100) >> 24, 0u);
}

TEST_F(LayerBorderTest, ASingleFramePictureShowsInOneWindowUnscaled) {
  UseLayerSkin();
  Skin->LayerFrame->RBPoint = Point(0, 0);
  LB->InitFrame(Skin.get(), Form.get());
  LB->Show(50, 60, 440, 350);
  EXPECT_TRUE(Showing(LB->TopBorder));
  EXPECT_EQ(LB->LeftBorder, nullptr);
  EXPECT_EQ(WindowRectOf(LB->TopBorder), Rect(50, 60, 150, 140));
}

// --- Through the side windows -------------------------------------------------------------

class LayerBorderMouseTest : public LayerBorderTest {
 protected:
  void Drag(TPoint From, TPoint To, int Steps = 4) {
    S.Session.Move(From.X, From.Y);
    S.Session.PumpUntilIdle();
    S.Session.Press(From.X, From.Y);
    S.Session.PumpUntilIdle();
    for (int I = 1; I <= Steps; ++I) {
      S.Session.Move(From.X + (To.X - From.X) * I / Steps, From.Y + (To.Y - From.Y) * I / Steps);
      S.Session.PumpUntilIdle();
    }
    S.Session.Release(To.X, To.Y);
    S.Session.PumpUntilIdle();
  }
};

TEST_F(LayerBorderMouseTest, ACornerDragSizesTheFormWithinItsLimits) {
  UseLayerSkin();
  FS->SetSizeable(true);
  ShowFramed();
  // The bottom-right corner zone of the bottom window's sensitive band (the band ends 10
  // pixels past the form).
  Drag(Point(605, 405), Point(655, 425));
  EXPECT_EQ(Form->Width(), 450);
  EXPECT_EQ(Form->Height(), 320);
  EXPECT_EQ(Form->Left(), 200);
  EXPECT_EQ(WindowRectOf(LB->RightBorder).Right, 670);
  // Far past the maximum: limited.
  FS->SetMaxWidth(500);
  Drag(Point(655, 425), Point(900, 425));
  EXPECT_EQ(Form->Width(), 500);
  // The left edge past the minimum is dropped.
  FS->SetMinWidth(480);
  const Integer Left = Form->Left();
  Drag(Point(195, 250), Point(225, 250), 1);
  EXPECT_EQ(Form->Width(), 500);
  EXPECT_EQ(Form->Left(), Left);
  Drag(Point(195, 250), Point(210, 250), 1);
  EXPECT_EQ(Form->Width(), 485);
  EXPECT_EQ(Form->Left(), Left + 15);
  EXPECT_FALSE(FS->FBorderLayerChangeSize);
}

TEST_F(LayerBorderMouseTest, ACaptionDragThroughTheTopWindowMovesTheFormWithSnapping) {
  UseLayerSkin(true);
  FS->SetMagnetic(true);
  ShowFramed();
  ASSERT_TRUE(Showing(LB->TopBorder));
  // The caption zone of the top window, away from its caption objects.
  Drag(Point(300, 95), Point(340, 135));
  EXPECT_EQ(Form->Left(), 240);
  EXPECT_EQ(Form->Top(), 140);
  EXPECT_EQ(WindowRectOf(LB->TopBorder).Left, 220);
  // Near the work area's left edge the border's outer edge snaps to it.
  TRect WA{};
  GetMonitorArea(Form->Handle(), true, WA);
  const Integer Gap = Form->Left() - 10 - WA.Left;  // the band is 10 pixels wide
  Drag(Point(300, 135), Point(300 - Gap + 4, 135), 1);
  EXPECT_EQ(Form->Left() - 10, WA.Left);
}

TEST_F(LayerBorderMouseTest, AClickOnASideWindowActivatesTheFormNeverTheWindow) {
  UseLayerSkin();
  ShowFramed();
  TOwned<TForm> Other = CreateOwned<TForm>(nullptr);
  Other->SetBounds(700, 500, 100, 80);
  Other->Show();
  S.Session.PumpUntilIdle();
  ASSERT_NE(GetActiveWindow(), Form->Handle());
  S.Session.Press(185, 250);
  S.Session.Release(185, 250);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(GetActiveWindow(), Form->Handle());
  EXPECT_NE(GetActiveWindow(), LB->LeftBorder->Handle());
  EXPECT_TRUE(LB->Active());
}

// A full border whose caption buttons lie in its top window: the close button is the
// rightmost, its right edge at the caption rectangle's right edge moved by the growth.
class FullBorderMouseTest : public LayerBorderMouseTest {
 protected:
  TForm* Main = nullptr;
  TspSkinHint* Hint = nullptr;
  TspActiveSkinObject* Close = nullptr;
  TspActiveSkinObject* SysMenu = nullptr;

  void SetUp() override {
    LayerBorderMouseTest::SetUp();
    Application->CreateForm(Main);
    Main->SetBounds(700, 500, 100, 80);
    Hint = Create<TspSkinHint>(Main);
    UseLayerSkin(true);
    FS->SetSkinHint(Hint);
    FS->SetShowObjectHint(true);
    FS->SetSizeable(true);
    for (TspActiveSkinObject* O : FS->ObjectList) {
      O->SkinRectInAPicture = true;
      if (O->IDName == "closebutton") Close = O;
      if (O->IDName == "sysmenubutton") SysMenu = O;
    }
    ShowFramed();
  }
  // A point of an object in the top window (30 rows high), on the screen.
  TPoint ScreenPointOf(TspActiveSkinObject* O) {
    const TRect W = WindowRectOf(LB->TopBorder);
    return Point(W.Left + (O->ObjectRect.Left + O->ObjectRect.Right) / 2,
                 W.Top + std::min<Integer>((O->ObjectRect.Top + O->ObjectRect.Bottom) / 2, 27));
  }
  void Click(TPoint P) {
    S.Session.Move(P.X, P.Y);
    S.Session.PumpUntilIdle();
    S.Session.Press(P.X, P.Y);
    S.Session.Release(P.X, P.Y);
    S.Session.PumpUntilIdle();
  }
};

TEST_F(FullBorderMouseTest, TheCaptionButtonsLieInTheTopWindowWithTheirHints) {
  ASSERT_NE(Close, nullptr);
  const Integer W = Close->SkinRect.Right - Close->SkinRect.Left;
  EXPECT_EQ(Close->ObjectRect.Right, 80 + 340);
  EXPECT_EQ(Close->ObjectRect.Left, 420 - W);
  EXPECT_EQ(Close->ObjectRect.Top, 20);
  const TPoint P = ScreenPointOf(Close);
  S.Session.Move(P.X, P.Y);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(FS->ObjectAt(LB->ActiveObject), Close);
  S.Session.Advance(static_cast<uint64_t>(Application->HintPause()) + 20);
  ASSERT_TRUE(Hint->IsVisible());
  EXPECT_EQ(Hint->HW->Caption(), Close->Hint);
  // Leaving the top window without a leave notification: the watchdog clears the hover.
  SetCursorPos(50, 50);
  S.Session.Advance(520);
  EXPECT_EQ(LB->ActiveObject, -1);
}

TEST_F(FullBorderMouseTest, TheTopWindowShowsTheCaptionTextAndTheButtonsLooksOnTheScreen) {
  ASSERT_NE(Close, nullptr);
  const TPoint P = ScreenPointOf(Close);
  const TColor Hover = static_cast<TColor>(
      skingen::TestPieceColour(false, "closebutton", "activeskinrect", skingen::Piece::Fill));
  // Under the pointer the close button shows its hover picture through the border's alpha.
  S.Session.Move(P.X, P.Y);
  S.Session.PumpUntilIdle();
  ExpectColourNear(SurfaceColour(S.Session.CaptureScreen(), P.X, P.Y), OverDesktop(Hover, 200));
  S.Session.Move(400, 250);
  S.Session.PumpUntilIdle();
  const TColor Away = SurfaceColour(S.Session.CaptureScreen(), P.X, P.Y);
  EXPECT_NE(Away, OverDesktop(Hover, 200));
  EXPECT_NE(Away, OverDesktop(LayerTop, 200)) << "the normal look is drawn over the frame";
  // The caption's text is drawn into the top window too.
  TspActiveSkinObject* Caption = nullptr;
  for (TspActiveSkinObject* O : FS->ObjectList)
    if (O->IDName == "caption") Caption = O;
  ASSERT_NE(Caption, nullptr);
  const TRect T = WindowRectOf(LB->TopBorder);
  auto Changed = [&](const win::Surface& A, const win::Surface& B) {
    int N = 0;
    for (Integer Y = Caption->ObjectRect.Top; Y < std::min<Integer>(Caption->ObjectRect.Bottom, 30); ++Y)
      for (Integer X = Caption->ObjectRect.Left; X < Caption->ObjectRect.Right; ++X)
        N += SurfaceColour(A, T.Left + X, T.Top + Y) != SurfaceColour(B, T.Left + X, T.Top + Y) ? 1 : 0;
    return N;
  };
  Form->SetCaption("");
  S.Session.PumpUntilIdle();
  const win::Surface Empty = S.Session.CaptureScreen();
  Form->SetCaption("WWWW WWWW");
  S.Session.PumpUntilIdle();
  const win::Surface Titled = S.Session.CaptureScreen();
  SaveCapture(Titled, "layer-border-full-caption.png");
  EXPECT_GT(Changed(Empty, Titled), 30);
}

TEST_F(FullBorderMouseTest, AClickOnCloseClosesTheForm) {
  Click(ScreenPointOf(Close));
  EXPECT_FALSE(Form->Visible());
}

TEST_F(FullBorderMouseTest, ADoubleClickOnTheCaptionMaximizesAndRestores) {
  const TPoint P = Point(300, 95);  // on the caption object, left of the buttons
  Click(P);
  Click(P);
  EXPECT_EQ(FS->WindowState(), wsMaximized);
  S.Session.Advance(1000);
  const TRect T = WindowRectOf(LB->TopBorder);
  const TPoint Q = Point(T.Left + 120, T.Top + 25);
  Click(Q);
  Click(Q);
  EXPECT_EQ(FS->WindowState(), wsNormal);
}

TEST_F(FullBorderMouseTest, ADoubleClickOnTheSystemMenuButtonClosesTheForm) {
  ASSERT_NE(SysMenu, nullptr);
  const TPoint P = ScreenPointOf(SysMenu);
  Click(P);
  Click(P);
  EXPECT_FALSE(Form->Visible());
}

TEST_F(FullBorderMouseTest, AMaximizedFormLeavesRoomForAFullBorderInTheWorkArea) {
  TRect WA{};
  GetMonitorArea(Form->Handle(), true, WA);
  FS->SetWindowState(wsMaximized);
  S.Session.PumpUntilIdle();
  // The sensitive band is 10 pixels on every side.
  EXPECT_EQ(Form->BoundsRect(), Rect(WA.Left + 10, WA.Top + 10, WA.Right - 10, WA.Bottom - 10));
  EXPECT_TRUE(LB->Visible());
}

TEST_F(FullBorderMouseTest, SwitchingLayeredBordersOffAndOnKeepsTheFootprint) {
  Skin->SetShowLayeredBorders(false);
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(LB->Visible());
  EXPECT_EQ(Form->BoundsRect(), Rect(190, 90, 610, 410));  // the border's outer band
  Skin->SetShowLayeredBorders(true);
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(LB->Visible());
  EXPECT_EQ(Form->BoundsRect(), Rect(200, 100, 600, 400));
}

// After a resize and a maximize the caption buttons stay where the border draws them: the
// pointer over each one hovers it and shows its hover picture, and a click on close closes.
TEST_F(FullBorderMouseTest, AfterAResizeAndAMaximizeEachCaptionButtonIsWhereItIsDrawn) {
  std::vector<TspSkinStdButtonObject*> Buttons;
  for (TspActiveSkinObject* O : FS->ObjectList)
    if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(O); B && B->Visible && B->Command != cmSysMenu) Buttons.push_back(B);
  ASSERT_FALSE(Buttons.empty());
  auto HoverEach = [&] {
    for (TspSkinStdButtonObject* B : Buttons) {
      SCOPED_TRACE(B->IDName);
      const TPoint P = ScreenPointOf(B);
      S.Session.Move(P.X, P.Y);
      S.Session.PumpUntilIdle();
      EXPECT_EQ(FS->ObjectAt(LB->ActiveObject), B);
    }
    // The close button's hover picture shows where the pointer is.
    const TPoint P = ScreenPointOf(Close);
    S.Session.Move(P.X, P.Y);
    S.Session.PumpUntilIdle();
    const TColor Hover =
        static_cast<TColor>(skingen::TestPieceColour(false, "closebutton", "activeskinrect", skingen::Piece::Fill));
    ExpectColourNear(SurfaceColour(S.Session.CaptureScreen(), P.X, P.Y), OverDesktop(Hover, 200));
  };
  Form->SetWidth(500);
  S.Session.PumpUntilIdle();
  // The close button's right edge: the caption rectangle's, moved by the border's growth.
  EXPECT_EQ(Close->ObjectRect.Right, 80 + 440);
  HoverEach();
  FS->SetWindowState(wsMaximized);
  S.Session.PumpUntilIdle();
  ASSERT_TRUE(LB->Visible());
  HoverEach();
  FS->SetWindowState(wsNormal);
  S.Session.PumpUntilIdle();
  HoverEach();
  Click(ScreenPointOf(Close));
  EXPECT_FALSE(Form->Visible());
}

// The window's region is the whole window, the frame being outside it; rolled up it is the
// frame data's rolled-up height of it, none when that is 0.
TEST_F(FullBorderMouseTest, TheRegionIsTheWholeWindowAndRolledUpTheRolledUpHeight) {
  auto RegionBox = [&] {
    HRGN R = CreateRectRgn(0, 0, 0, 0);
    const int Kind = GetWindowRgn(Form->Handle(), R);
    RECT Box{};
    GetRgnBox(R, &Box);
    DeleteObject(R);
    return Kind == ERROR ? Rect(-1, -1, -1, -1) : Rect(Box.Left, Box.Top, Box.Right, Box.Bottom);
  };
  EXPECT_EQ(RegionBox(), Rect(0, 0, 400, 300));
  FS->SetBorderIcons(FS->BorderIcons() + TspBorderIcons{TspBorderIcon::biRollUp});
  for (Integer Rolled : {20, 0}) {
    SCOPED_TRACE(Rolled);
    Skin->LayerFrame->RollUpFormHeight = Rolled;
    FS->SetRollUpState(true);
    S.Session.PumpUntilIdle();
    EXPECT_EQ(RegionBox(), Rolled ? Rect(0, 0, 400, Rolled) : Rect(0, 0, 0, 0));
    FS->SetRollUpState(false);
    S.Session.PumpUntilIdle();
    EXPECT_EQ(RegionBox(), Rect(0, 0, 400, 300));
  }
}

// The frame lies outside the window: the window may be as low as 10 pixels, or as its own
// minimum asks when that is above the skin frame's height; rolled up it always may.
TEST_F(FullBorderMouseTest, TheWindowMayBeTenPixelsHighUnlessItsMinimumAsksMore) {
  struct Case {
    Integer MinHeight, Expected;
  };
  // The rows of the skin's frame picture around its client area.
  const Integer V = Skin->FPicture->Height() - RectHeight(Skin->ClRect);
  ASSERT_GT(V, 10);
  for (const Case& C : {Case{0, 10}, Case{V, 10}, Case{V + 10, V + 10}}) {
    SCOPED_TRACE(C.MinHeight);
    FS->SetMinHeight(C.MinHeight);
    EXPECT_EQ(FS->GetMinHeight(), C.Expected);
  }
  FS->SetBorderIcons(FS->BorderIcons() + TspBorderIcons{TspBorderIcon::biRollUp});
  FS->SetRollUpState(true);
  EXPECT_EQ(FS->GetMinHeight(), 10);
  FS->SetRollUpState(false);
  FS->SetMinHeight(0);
  S.Session.PumpUntilIdle();
  Form->SetHeight(5);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Form->Height(), 10);
}

// Rolling up a window already at the rolled-up height still changes its size, so the
// border is rebuilt at its rolled-up height; rolling down brings that height back.
TEST_F(FullBorderMouseTest, RollingUpAtTheRolledHeightStillRebuildsTheBorder) {
  FS->SetBorderIcons(FS->BorderIcons() + TspBorderIcons{TspBorderIcon::biRollUp});
  Skin->LayerFrame->RollUpFormHeight = 20;
  Form->SetHeight(10);
  S.Session.PumpUntilIdle();
  ASSERT_EQ(Form->Height(), 10);
  ASSERT_EQ(LB->FHeight, 10 + 50);
  FS->SetRollUpState(true);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Form->Height(), 10);
  EXPECT_EQ(FS->RealHeight(), 11);
  EXPECT_EQ(LB->FHeight, 20 + 50);
  EXPECT_EQ(WindowRectOf(LB->BottomBorder).Bottom, WindowRectOf(LB->TopBorder).Top + 70);
  FS->SetRollUpState(false);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Form->Height(), 11);
}

// A repaint of the whole frame reaches the border: a button taken away is gone from it.
TEST_F(FullBorderMouseTest, RepaintingTheFrameRebuildsTheBorder) {
  const TPoint P = ScreenPointOf(Close);
  S.Session.Move(400, 250);
  S.Session.PumpUntilIdle();
  const TColor Shown = SurfaceColour(S.Session.CaptureScreen(), P.X, P.Y);
  Close->Visible = false;
  FS->UpDateFormNC();
  S.Session.PumpUntilIdle();
  EXPECT_NE(SurfaceColour(S.Session.CaptureScreen(), P.X, P.Y), Shown);
}

// A caption button's glow and the system menu it drops are placed from the border's top
// window, where the button is drawn.
TEST_F(FullBorderMouseTest, TheGlowAndTheMenuOfACaptionButtonLieAtItInTheTopWindow) {
  ASSERT_NE(SysMenu, nullptr);
  Skin->SetShowCaptionButtonGlowFrames(true);
  Close->GlowLayerPictureIndex = Close->GlowLayerMaskPictureIndex = Skin->LayerFrame->MaskPictureIndex;
  Close->GlowLayerAlphaBlendValue = 255;
  const TRect Top = WindowRectOf(LB->TopBorder);
  S.Session.Move(ScreenPointOf(Close).X, ScreenPointOf(Close).Y);
  S.Session.PumpUntilIdle();
  ASSERT_TRUE(FS->FLayerManager->IsVisible);
  ASSERT_NE(FS->FLayerManager->LayerWindow, nullptr);
  const TRect Glow = WindowRectOf(FS->FLayerManager->LayerWindow);
  EXPECT_EQ(Glow.Left, Top.Left + Close->ObjectRect.Left);
  EXPECT_EQ(Glow.Top, Top.Top + Close->ObjectRect.Top);
  const TPoint P = ScreenPointOf(SysMenu);
  S.Session.Move(P.X, P.Y);
  S.Session.PumpUntilIdle();
  S.Session.Press(P.X, P.Y);
  S.Session.PumpUntilIdle();
  ASSERT_TRUE(FS->SkinMenuVisible());
  EXPECT_EQ(FS->SkinMenu->Level(0)->Left(), Top.Left + SysMenu->ObjectRect.Left);
  EXPECT_EQ(FS->SkinMenu->Level(0)->Top(), Top.Top + SysMenu->ObjectRect.Bottom);
  S.Session.Release(P.X, P.Y);
  FS->SkinMenu->Hide();
  S.Session.PumpUntilIdle();
}

// Restoring a main form shown on the task bar brings its layered border back with it.
TEST_F(LayerBorderTest, RestoringAMainFormOnTheTaskBarShowsItsBorder) {
  UseLayerSkin();
  TForm* Main = nullptr;
  Application->CreateForm(Main);
  ASSERT_EQ(Application->MainForm(), Main);
  Main->SetBounds(250, 150, 300, 200);
  auto* MainSkin = Create<TspFormSkin>(Main);
  MainSkin->SetSkinData(Skin.get());
  int Restores = 0;
  MainSkin->OnRestore = [&](TObject*) { ++Restores; };
  Application->SetMainFormOnTaskBar(true);
  Main->Show();
  S.Session.Advance(20);
  S.Session.PumpUntilIdle();
  TspFormLayerBorder* Border = MainSkin->BorderLayer();
  ASSERT_TRUE(Border->Visible());
  Border->Hide();
  ASSERT_FALSE(Border->Visible());
  SendMessage(Main->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Restores, 1);
  ASSERT_TRUE(Border->Visible());
  ASSERT_NE(Border->TopBorder, nullptr);
  // Around the form: 20 pixels left and right of it, its 30 rows above it.
  EXPECT_EQ(WindowRectOf(Border->TopBorder),
            Rect(Main->Left() - 20, Main->Top() - 30, Main->Left() + Main->Width() + 20, Main->Top()));
}

// A form that goes while its border shows is layered as it goes, whether it is hidden
// through its own Hide or by a window position change.
TEST_F(LayerBorderTest, AFormHiddenWithItsBorderShowingIsLayeredAsItGoes) {
  UseLayerSkin(true);
  auto Layered = [&] { return (GetWindowLongPtr(Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0; };
  const std::vector<std::pair<const char*, std::function<void()>>> Hides = {
      {"Hide", [&] { Form->Hide(); }},
      {"SetWindowPos", [&] {
         SetWindowPos(Form->Handle(), nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
       }},
  };
  for (const auto& [Name, HideForm] : Hides) {
    SCOPED_TRACE(Name);
    ShowFramed();
    ASSERT_TRUE(LB->Visible());
    ASSERT_FALSE(Layered()) << "the form stays layered after showing";
    HideForm();
    EXPECT_TRUE(Layered());
    S.Session.PumpUntilIdle();
  }
}

TEST_F(LayerBorderTest, AMaximizedFormHidesASideBorder) {
  UseLayerSkin();
  ShowFramed();
  FS->SetWindowState(wsMaximized);
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(LB->Visible());
  FS->SetWindowState(wsNormal);
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(LB->Visible());
  EXPECT_EQ(WindowRectOf(LB->TopBorder), Rect(180, 70, 620, 100));
}

TEST_F(LayerBorderMouseTest, ASkinChangeDuringABorderDragLeavesNoDanglingWindow) {
  UseLayerSkin();
  FS->SetSizeable(true);
  ShowFramed();
  // The first drag step's size change posts a note that the step then handles while it
  // processes messages: the skin is applied again, which rebuilds the border's windows.
  constexpr UINT WM_CHANGE_SKIN_NOW = WM_APP + 17;
  int Changes = 0;
  const TWndMethod Old = Form->WindowProc;
  Form->WindowProc = [&, Old](TMessage& M) {
    if (M.Msg == WM_SIZE && FS->FBorderLayerChangeSize && Changes == 0) PostMessage(Form->Handle(), WM_CHANGE_SKIN_NOW, 0, 0);
    if (M.Msg == WM_CHANGE_SKIN_NOW) {
      ++Changes;
      FS->SetSkinData(nullptr);
      FS->SetSkinData(Skin.get());
      return;
    }
    Old(M);
  };
  S.Session.Move(605, 405);
  S.Session.PumpUntilIdle();
  S.Session.Press(605, 405);
  S.Session.PumpUntilIdle();
  for (int I = 1; I <= 4; ++I) {
    S.Session.Move(605 + 5 * I, 405 + 5 * I);
    S.Session.PumpUntilIdle();
  }
  S.Session.Release(625, 425);
  S.Session.PumpUntilIdle();
  Form->WindowProc = Old;
  EXPECT_EQ(Changes, 1);
  EXPECT_TRUE(LB->Visible());
  EXPECT_TRUE(Showing(LB->BottomBorder));
}

TEST_F(LayerBorderMouseTest, AFormReleasedDuringTheBorderFadeIsLeftAlone) {
  UseLayerSkin();
  ShowFramed();
  LB->Hide();
  // The fade handles pending messages once: the release waits there.
  Form.release()->Release();
  LB->ShowWithFormAnimation();
  FS = nullptr;
  S.Session.PumpUntilIdle();
  SUCCEED();
}

}  // namespace
}  // namespace vantrel::frametest
