// The frame's hit test (sizing edges from the skin's shape, caption, client, objects; the
// default frame; client mode) and the routing of the mouse to the skin objects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/Messages.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

using vantrel::frametest::FlatBitmap;
using vantrel::frametest::FrameFixture;

namespace {

struct HitCase {
  Integer X, Y;
  LRESULT Code;
};

std::string HitTrace(const HitCase& C) { return std::to_string(C.X) + "," + std::to_string(C.Y); }

class SkinHitTestTest : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    UseTestSkin();
    MapFrameAtPictureSize();
  }
  void Expect(std::initializer_list<HitCase> Cases) {
    for (const HitCase& C : Cases) {
      SCOPED_TRACE(HitTrace(C));
      EXPECT_EQ(FS->SkinNCHitTest(Point(C.X, C.Y)), C.Code);
    }
  }
};

// skin-test: a 400 x 300 frame, client (4, 30, 396, 296), hit-test corners 8 pixels in,
// border width 4, a mask with rounded top corners.
TEST_F(SkinHitTestTest, SizeableFrameAnswersEdgesCornersClientAndObjects) {
  Expect({{200, 150, HTCLIENT},
          {200, 1, HTTOP},
          {200, 298, HTBOTTOM},
          {1, 150, HTLEFT},
          {398, 150, HTRIGHT},
          {3, 3, HTTOPLEFT},
          {396, 3, HTTOPRIGHT},
          {3, 297, HTBOTTOMLEFT},
          {397, 297, HTBOTTOMRIGHT},
          {200, 15, HTOBJECT},
          {7, 7, HTOBJECT}});
}

TEST_F(SkinHitTestTest, SizingCountsWithinTheBorderWidthOfTheWindowEdge) {
  Skin->FMask = CreateOwned<TBitmap>();  // no mask: the window rectangle is the shape
  Expect({{200, 3, HTTOP},
          {200, 4, HTOBJECT},
          {3, 150, HTLEFT},
          {4, 150, HTCLIENT},
          {396, 150, HTRIGHT},
          {395, 150, HTCLIENT},
          {200, 296, HTBOTTOM},
          {200, 295, HTCLIENT}});
}

TEST_F(SkinHitTestTest, AFrameThatIsNotSizeableHasNoSizingEdges) {
  FS->SetSizeable(false);
  Expect({{200, 150, HTCLIENT}, {200, 1, HTOBJECT}, {3, 3, HTOBJECT}, {398, 150, HTOBJECT}});
  FS->SetSizeable(true);
  FS->FWindowState = wsMaximized;
  Expect({{200, 1, HTOBJECT}, {397, 297, HTOBJECT}});
}

TEST_F(SkinHitTestTest, ARolledUpFrameIsAllObjectOrCaption) {
  FS->FRollUpState = true;
  Expect({{200, 150, HTOBJECT}, {200, 1, HTOBJECT}});
}

TEST_F(SkinHitTestTest, AnActiveObjectOutsideTheClientAnswersObject) {
  ShowForm();
  AddUserObject("corner", Rect(0, 0, 20, 20));
  FS->TestActiveObject(3, 3, true);
  ASSERT_EQ(FS->ActiveObject, 0);
  Expect({{3, 3, HTOBJECT}, {200, 150, HTCLIENT}});
}

class ObjectRoutingTest : public SkinHitTestTest {
 protected:
  std::vector<std::string> Log;
  void SetUp() override {
    SkinHitTestTest::SetUp();
    ShowForm();
    ASSERT_TRUE(FS->GetFormActive());
    FS->OnMouseEnterEvent = [this](const String& N) { Log.push_back("enter " + N); };
    FS->OnMouseLeaveEvent = [this](const String& N) { Log.push_back("leave " + N); };
    FS->OnMouseDownEvent = [this](const String& N, Integer X, Integer Y, TRect, TMouseButton) {
      Log.push_back("down " + N + " " + std::to_string(X) + "," + std::to_string(Y));
    };
    FS->OnMouseMoveEvent = [this](const String& N, Integer X, Integer Y, TRect) {
      Log.push_back("move " + N + " " + std::to_string(X) + "," + std::to_string(Y));
    };
    FS->OnMouseUpEvent = [this](const String& N, Integer, Integer, TRect, TMouseButton) {
      Log.push_back("up " + N);
    };
  }
};

TEST_F(ObjectRoutingTest, OfTwoOverlappingObjectsTheFirstWins) {
  AddUserObject("a", Rect(150, 5, 180, 25));
  AddUserObject("b", Rect(170, 5, 200, 25));
  FS->TestActiveObject(175, 15, true);
  EXPECT_EQ(FS->ActiveObject, 0);
  FS->TestActiveObject(190, 15, true);
  EXPECT_EQ(FS->ActiveObject, 1);
  FS->TestActiveObject(180, 15, true);  // right edge excluded
  EXPECT_EQ(FS->ActiveObject, 1);
  EXPECT_EQ(Log, (std::vector<std::string>{"enter a", "leave a", "enter b"}));
}

TEST_F(ObjectRoutingTest, ANonBlackMaskPixelIsNoHit) {
  auto Mask = FlatBitmap(30, 20, clBlack);
  Mask->Canvas()->Brush()->SetColor(clWhite);
  Mask->Canvas()->FillRect(Rect(0, 0, 10, 20));
  const Integer MaskIndex = Skin->FActivePictures.Add(std::move(Mask));
  AddUserObject("masked", Rect(150, 5, 180, 25), MaskIndex);
  FS->TestActiveObject(155, 15, true);
  EXPECT_EQ(FS->ActiveObject, -1);
  FS->TestActiveObject(165, 15, true);
  EXPECT_EQ(FS->ActiveObject, 0);
}

TEST_F(ObjectRoutingTest, HiddenOrDisabledObjectsAreSkipped) {
  TspUserObject* A = AddUserObject("a", Rect(150, 5, 180, 25));
  AddUserObject("b", Rect(150, 5, 180, 25));
  A->Visible = false;
  FS->TestActiveObject(160, 15, true);
  EXPECT_EQ(FS->ActiveObject, 1);
  A->Visible = true;
  A->Enabled = false;
  FS->TestActiveObject(-1, -1, false);
  FS->TestActiveObject(160, 15, true);
  EXPECT_EQ(FS->ActiveObject, 1);
}

TEST_F(ObjectRoutingTest, AnInactiveFrameHighlightsNothingButClientModeDoes) {
  auto Other = CreateOwned<TForm>(nullptr);
  Other->Show();
  S.Session.PumpUntilIdle();
  ASSERT_FALSE(FS->GetFormActive());
  AddUserObject("a", Rect(150, 5, 180, 25));
  FS->TestActiveObject(160, 15, true);
  EXPECT_EQ(FS->ActiveObject, -1);
  FS->FSupportNCArea = false;
  FS->TestActiveObject(160, 15, true);
  EXPECT_EQ(FS->ActiveObject, 0);
}

TEST_F(ObjectRoutingTest, UserObjectsRaiseTheirEventsWithTheirName) {
  AddUserObject("play", Rect(150, 5, 180, 25));
  Form->HandleNeeded();
  FS->TestActiveObject(160, 15, true);
  FS->ObjectsMouseDown(mbLeft, 160, 15);
  EXPECT_EQ(FS->MouseCaptureObject, 0);
  FS->ObjectsMouseMove(162, 16);
  FS->ObjectsMouseUp(mbLeft, 162, 16);
  EXPECT_EQ(FS->MouseCaptureObject, -1);
  FS->TestActiveObject(-1, -1, false);
  EXPECT_EQ(Log, (std::vector<std::string>{"enter play", "down play 160,15", "move play 162,16", "up play",
                                            "leave play"}));
}

TEST_F(ObjectRoutingTest, WhileOneObjectHoldsThePressNoOtherBecomesActive) {
  AddUserObject("a", Rect(150, 5, 180, 25));
  AddUserObject("b", Rect(200, 5, 230, 25));
  Form->HandleNeeded();
  FS->ObjectsMouseDown(mbLeft, 160, 15);
  FS->TestActiveObject(210, 15, true);  // the mouse moves to b
  EXPECT_EQ(FS->ActiveObject, -1);
  FS->ObjectsMouseMove(210, 15);
  FS->ObjectsMouseUp(mbLeft, 210, 15);
  FS->TestActiveObject(210, 15, true);  // released: b may become active now
  EXPECT_EQ(FS->ActiveObject, 1);
  EXPECT_EQ(Log, (std::vector<std::string>{"enter a", "down a 160,15", "leave a", "move a 210,15", "enter b"}));
}

TEST_F(ObjectRoutingTest, APressOnTheEmptyClientAreaDragsOnlyADraggableWindow) {
  FS->FSupportNCArea = false;
  FS->ObjectsMouseDown(mbLeft, 200, 150);
  EXPECT_FALSE(FS->FIsDragging);
  FS->SetDraggAble(true);
  FS->ObjectsMouseDown(mbLeft, 200, 150);
  EXPECT_TRUE(FS->FIsDragging);
  const TPoint P = Form->ClientToScreen(Point(200, 150));
  EXPECT_EQ(Point(FS->FOldX, FS->FOldY), P);
  FS->ObjectsMouseUp(mbLeft, 200, 150);
  EXPECT_FALSE(FS->FIsDragging);
}

TEST_F(SkinHitTestTest, ClientModeAnswersTheSizeGripAndTheEdges) {
  FS->FSupportNCArea = false;
  const TRect Grip = Skin->SizeGripArea;
  const struct {
    Integer X, Y;
    LRESULT Code;
  } Cases[] = {{Grip.Left, Grip.Top, HTBOTTOMRIGHT}, {Grip.Right - 1, Grip.Bottom - 1, HTBOTTOMRIGHT},
               {200, 150, HTCLIENT},                  {200, 1, HTTOP},
               {1, 150, HTLEFT},                      {200, 15, HTCLIENT}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::to_string(C.X) + "," + std::to_string(C.Y));
    EXPECT_EQ(FS->ClientModeHitTest(Point(C.X, C.Y)), C.Code);
  }
  FS->SetSizeable(false);
  EXPECT_EQ(FS->ClientModeHitTest(Point(Grip.Left, Grip.Top)), HTCLIENT);
}

class DefaultHitTestTest : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    FS->FFormWidth = 400;
    FS->FFormHeight = 300;
  }
};

TEST_F(DefaultHitTestTest, TheDefaultFrameSizesFromItsThreePixelBorder) {
  const HitCase Cases[] = {{200, 10, HTCAPTION}, {200, 150, HTCLIENT}, {0, 0, HTTOPLEFT},
                           {399, 0, HTTOPRIGHT}, {0, 299, HTBOTTOMLEFT}, {398, 298, HTBOTTOMRIGHT},
                           {2, 150, HTLEFT},     {200, 2, HTTOP},       {398, 150, HTRIGHT},
                           {200, 298, HTBOTTOM}, {3, 150, HTCLIENT}};
  for (const HitCase& C : Cases) {
    SCOPED_TRACE(HitTrace(C));
    EXPECT_EQ(FS->DefaultNCHitTest(Point(C.X, C.Y)), C.Code);
  }
  FS->SetSizeable(false);
  EXPECT_EQ(FS->DefaultNCHitTest(Point(0, 0)), HTOBJECT);
  EXPECT_EQ(FS->DefaultNCHitTest(Point(200, 10)), HTCAPTION);
  EXPECT_EQ(FS->DefaultNCHitTest(Point(200, 150)), HTCLIENT);
}

TEST_F(DefaultHitTestTest, AToolWindowHasTheLowerCaption) {
  Form->SetBorderStyle(bsToolWindow);
  // Caption (3, 3) to 15 high, client from 15 + 3 down.
  EXPECT_EQ(FS->DefaultNCHitTest(Point(200, 14)), HTCAPTION);
  EXPECT_EQ(FS->DefaultNCHitTest(Point(200, 16)), HTOBJECT);
  EXPECT_EQ(FS->DefaultNCHitTest(Point(200, 18)), HTCLIENT);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Through the window: the platform's hit test, injected mouse input and the mouse timer.

class FrameInputTest : public FrameFixture {
 protected:
  std::vector<std::string> Log;
  void SetUp() override {
    FrameFixture::SetUp();
    Skin->LoadFromFile(vantrel::test::TestSkinDir(vantrel::skingen::TestSkinFolder) + "/" +
                       vantrel::skingen::SkinIniName);
    // The objects lie on the caption band; without the skin's caption they get the mouse.
    for (Integer I = Skin->ObjectList.Count() - 1; I >= 0; --I)
      if (dynamic_cast<TspDataSkinCaption*>(Skin->ObjectList[I])) Skin->ObjectList.Delete(I);
    for (const auto& [Name, R] : {std::pair{"a", Rect(150, 5, 180, 25)}, std::pair{"b", Rect(200, 5, 230, 25)}}) {
      auto D = CreateOwned<TspDataUserObject>(Name);
      D->SkinRect = R;
      D->ActivePictureIndex = D->ActiveMaskPictureIndex = D->GlowLayerPictureIndex = D->CursorIndex = -1;
      Skin->ObjectList.Add(std::move(D));
    }
    FS->OnMouseEnterEvent = [this](const String& N) { Log.push_back("enter " + N); };
    FS->OnMouseLeaveEvent = [this](const String& N) { Log.push_back("leave " + N); };
    FS->OnMouseDownEvent = [this](const String& N, Integer, Integer, TRect, TMouseButton) {
      Log.push_back("down " + N);
    };
    FS->OnMouseUpEvent = [this](const String& N, Integer, Integer, TRect, TMouseButton) {
      Log.push_back("up " + N);
    };
    FS->SetSkinData(Skin.get());
    ShowForm();
    ASSERT_EQ(FS->ObjectCount(), 6);  // the skin's four caption buttons, a and b
  }
  TPoint OnScreen(Integer X, Integer Y) { return Point(Form->Left() + X, Form->Top() + Y); }
  LRESULT HitAt(Integer X, Integer Y) {
    const TPoint P = OnScreen(X, Y);
    return SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y));
  }
};

TEST_F(FrameInputTest, ThePlatformsHitTestAsksTheSkin) {
  EXPECT_EQ(HitAt(200, 150), HTCLIENT);
  EXPECT_EQ(HitAt(398, 150), HTRIGHT);
  EXPECT_EQ(HitAt(200, 1), HTTOP);
  EXPECT_EQ(HitAt(160, 15), HTOBJECT);
  EXPECT_EQ(HitAt(15, 15), HTOBJECT) << "the system-menu button";
}

TEST_F(FrameInputTest, PressedOnOneObjectAndReleasedOnAnother) {
  const TPoint A = OnScreen(160, 15), B = OnScreen(210, 15);
  S.Session.Move(A.X, A.Y);
  S.Session.PumpUntilIdle();
  S.Session.Press(A.X, A.Y);
  S.Session.PumpUntilIdle();
  S.Session.Move(B.X, B.Y);
  S.Session.PumpUntilIdle();
  S.Session.Advance(60);  // the mouse timer sees the cursor over b
  EXPECT_EQ(FS->ActiveObject, -1) << "b does not become active while a holds the press";
  S.Session.Release(B.X, B.Y);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Log, (std::vector<std::string>{"enter a", "down a", "leave a"}));
}
