// The frame's push buttons and caption buttons: the plain buttons of a frame without a
// skin (layout, hover and pressed looks), the skinned looks, groups, presses released
// elsewhere, and the commands of close, maximize, roll-up and the system-menu button.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/Messages.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace sg = vantrel::skingen;
using vantrel::frametest::FlatBitmap;
using vantrel::frametest::FrameFixture;
using vantrel::frametest::SurfaceColour;

namespace {

class CaptionButtonsTest : public FrameFixture {
 protected:
  TspSkinStdButtonObject* Button(const char* Name) {
    for (TspActiveSkinObject* O : FS->ObjectList)
      if (O->IDName == Name) return dynamic_cast<TspSkinStdButtonObject*>(O);
    return nullptr;
  }
  TPoint CentreOnScreen(TspActiveSkinObject* O) {
    return Point(Form->Left() + (O->ObjectRect.Left + O->ObjectRect.Right) / 2,
                 Form->Top() + (O->ObjectRect.Top + O->ObjectRect.Bottom) / 2);
  }
  void Click(TPoint Down, TPoint Up) {
    S.Session.Move(Down.X, Down.Y);
    S.Session.PumpUntilIdle();
    S.Session.Press(Down.X, Down.Y);
    S.Session.PumpUntilIdle();
    S.Session.Move(Up.X, Up.Y);
    S.Session.PumpUntilIdle();
    S.Session.Advance(100);  // the frame's mouse timer follows the pointer
    S.Session.Release(Up.X, Up.Y);
    S.Session.PumpUntilIdle();
  }
  // A push button of the frame at R with the test skin's close-button looks.
  TspSkinButtonObject* AddPushButton(const String& Name, Integer Group) {
    auto* B = new TspSkinButtonObject(FS, nullptr);  // the list owns it
    B->IDName = Name;
    B->GroupIndex = Group;
    B->ActivePicture = Skin->FPicture.get();
    B->DownRect = Rect(0, 0, 4, 4);
    FS->ObjectList.push_back(B);
    return B;
  }
};

TEST_F(CaptionButtonsTest, TheFrameWithoutASkinShowsSixPlainButtons) {
  FS->SetBorderIcons({TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize, TspBorderIcon::biMaximize,
                      TspBorderIcon::biRollUp, TspBorderIcon::biMinimizeToTray});
  ShowForm();
  const struct {
    const char* Name;
    TStdCommand Command;
    TRect R;
  } Cases[] = {{"closebutton", cmClose, Rect(380, 4, 397, 21)},     {"maxbutton", cmMaximize, Rect(363, 4, 380, 21)},
               {"minbutton", cmMinimize, Rect(346, 4, 363, 21)},    {"rollupbutton", cmRollUp, Rect(329, 4, 346, 21)},
               {"traybutton", cmMinimizeToTray, Rect(312, 4, 329, 21)}, {"sysmenubutton", cmSysMenu, Rect(3, 4, 20, 21)}};
  ASSERT_EQ(FS->ObjectCount(), 6);
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TspSkinStdButtonObject* B = Button(C.Name);
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(B->Command, C.Command);
    EXPECT_FALSE(B->FSkinSupport);
    EXPECT_EQ(B->ObjectRect, C.R);
  }
  EXPECT_EQ(FS->NewDefCaptionRect, Rect(20, 3, 312, 19));
  SaveCapture(S.Session.Capture(Form->Handle()), "default_caption_buttons.png");
}

TEST_F(CaptionButtonsTest, APlainButtonShowsHoverAndPressedLooks) {
  ShowForm();
  TspSkinStdButtonObject* B = Button("closebutton");
  ASSERT_NE(B, nullptr);
  const TRect R = B->ObjectRect;
  B->MouseEnter();
  vantrel::win::Surface Shot = S.Session.Capture(Form->Handle());
  SaveCapture(Shot, "plain_button_hover.png");
  EXPECT_EQ(SurfaceColour(Shot, R.Left, R.Top), ColorToRGB(clNavy));
  EXPECT_EQ(SurfaceColour(Shot, R.Right - 1, R.Bottom - 1), ColorToRGB(clNavy));
  EXPECT_EQ(SurfaceColour(Shot, R.Left + 1, R.Top + 1), RGB(182, 189, 210));

  B->MouseDown(R.Left + 3, R.Top + 3, mbLeft);
  Shot = S.Session.Capture(Form->Handle());
  SaveCapture(Shot, "plain_button_pressed.png");
  EXPECT_EQ(SurfaceColour(Shot, R.Left, R.Top), ColorToRGB(clNavy));
  EXPECT_EQ(SurfaceColour(Shot, R.Left + 1, R.Top + 1), RGB(133, 147, 181));

  // The glyph moves one pixel right and down when pressed.
  auto Hovered = FlatBitmap(RectWidth(R), RectHeight(R), 0);
  auto Pressed = FlatBitmap(RectWidth(R), RectHeight(R), 0);
  const TRect Saved = B->ObjectRect;
  B->ObjectRect = Rect(0, 0, RectWidth(R), RectHeight(R));
  B->DefaultDraw(Pressed->Canvas());
  B->FDown = false;
  B->DefaultDraw(Hovered->Canvas());
  B->ObjectRect = Saved;
  const TColor Glyph = ColorToRGB(clBtnText);
  Integer GlyphPixels = 0;
  for (Integer Y = 1; Y < RectHeight(R) - 2; ++Y)
    for (Integer X = 1; X < RectWidth(R) - 2; ++X)
      if (Hovered->Canvas()->Pixels(X, Y) == Glyph) {
        ++GlyphPixels;
        EXPECT_EQ(Pressed->Canvas()->Pixels(X + 1, Y + 1), Glyph) << X << "," << Y;
      }
  EXPECT_GT(GlyphPixels, 5);
}

TEST_F(CaptionButtonsTest, SkinnedButtonsShowTheirLooksAndTheRestoreLookWhenMaximized) {
  Skin->LoadFromFile(vantrel::test::TestSkinDir(sg::TestSkinFolder) + "/" + sg::SkinIniName);
  FS->SetSkinData(Skin.get());
  ShowForm();
  TspSkinStdButtonObject* Close = Button("closebutton");
  ASSERT_NE(Close, nullptr);
  EXPECT_TRUE(Close->FSkinSupport);
  const auto Look = [&](TspActiveSkinObject* O) {
    const vantrel::win::Surface Shot = S.Session.Capture(Form->Handle());
    return SurfaceColour(Shot, (O->ObjectRect.Left + O->ObjectRect.Right) / 2, O->ObjectRect.Top + 3);
  };
  const auto Fill = [](const char* Name, const char* Key) {
    return sg::TestPieceColour(false, Name, Key, sg::Piece::Fill);
  };
  EXPECT_EQ(Look(Close), Fill("closebutton", "skinrect"));
  Close->MouseEnter();
  EXPECT_EQ(Look(Close), Fill("closebutton", "activeskinrect"));
  Close->MouseDown(0, 0, mbLeft);
  EXPECT_EQ(Look(Close), Fill("closebutton", "downrect"));
  Close->FDown = false;
  Close->MouseLeave();
  EXPECT_EQ(Look(Close), Fill("closebutton", "skinrect"));

  TspSkinStdButtonObject* Max = Button("maxbutton");
  ASSERT_NE(Max, nullptr);
  Max->Enabled = false;
  FS->DrawSkinObject(Max);
  EXPECT_EQ(Look(Max), Fill("maxbutton", "disableskinrsect"));
  Max->Enabled = true;
  FS->FWindowState = wsMaximized;
  FS->DrawSkinObject(Max);
  EXPECT_EQ(Look(Max), Fill("maxbutton", "restorerect"));
  Max->MouseEnter();
  EXPECT_EQ(Max->Hint, "Restore");
  EXPECT_EQ(Look(Max), Fill("maxbutton", "restoreactiverect"));
  Max->MouseLeave();
  Max->RestoreHint.clear();
  Max->MouseEnter();
  EXPECT_EQ(Max->Hint, "Maximize") << "without a restore hint the normal one stays";
  Max->MouseLeave();
  FS->FWindowState = wsNormal;
}

TEST_F(CaptionButtonsTest, CloseReleasedOutsideKeepsTheFormOpenReleasedOverItClosesIt) {
  ShowForm();
  TspSkinStdButtonObject* B = Button("closebutton");
  ASSERT_NE(B, nullptr);
  const TPoint On = CentreOnScreen(B);
  Click(On, Point(Form->Left() + 200, Form->Top() + 150));
  EXPECT_TRUE(Form->Visible());
  EXPECT_FALSE(B->FDown);
  Click(On, On);
  EXPECT_FALSE(Form->Visible());
}

TEST_F(CaptionButtonsTest, MaximizeAndRollUpToggleTheirStates) {
  ShowForm();
  TspSkinStdButtonObject* Max = Button("maxbutton");
  TspSkinStdButtonObject* Roll = Button("rollupbutton");
  ASSERT_NE(Max, nullptr);
  ASSERT_NE(Roll, nullptr);
  Max->DoCommand();
  EXPECT_EQ(FS->WindowState(), wsMaximized);
  Max->DoCommand();
  EXPECT_EQ(FS->WindowState(), wsNormal);
  Roll->DoCommand();
  EXPECT_TRUE(FS->RollUpState());
  Roll->DoCommand();
  EXPECT_FALSE(FS->RollUpState());
}

TEST_F(CaptionButtonsTest, ADoubleClickClosesOnlyOnTheSystemMenuButton) {
  ShowForm();
  for (const char* Name : {"closebutton", "maxbutton", "minbutton", "rollupbutton", "traybutton"}) {
    SCOPED_TRACE(Name);
    Button(Name)->DblClick();
    EXPECT_TRUE(Form->Visible());
  }
  Button("sysmenubutton")->DblClick();
  EXPECT_FALSE(Form->Visible());
}

TEST_F(CaptionButtonsTest, PressingAButtonOfAGroupReleasesTheFirstOtherOneDown) {
  UseTestSkin();
  TspSkinButtonObject* A = AddPushButton("a", 1);
  TspSkinButtonObject* B = AddPushButton("b", 1);
  TspSkinButtonObject* C = AddPushButton("c", 1);
  TspSkinButtonObject* Other = AddPushButton("other", 2);
  A->SetDown(true);
  C->FDown = true;
  Other->SetDown(true);
  B->MouseDown(0, 0, mbLeft);
  EXPECT_TRUE(B->Down());
  EXPECT_FALSE(A->Down());
  EXPECT_TRUE(C->Down()) << "only the first one found is released";
  EXPECT_TRUE(Other->Down()) << "another group is left alone";
  B->MouseUp(0, 0, mbLeft);
  EXPECT_TRUE(B->Down()) << "a grouped button stays down";
}

TEST_F(CaptionButtonsTest, APlainButtonDraggedOffIsReleasedWithoutAnUpEvent) {
  UseTestSkin();
  std::vector<std::string> Log;
  FS->OnMouseUpEvent = [&](const String& N, Integer, Integer, TRect, TMouseButton) { Log.push_back("up " + N); };
  FS->OnMouseDownEvent = [&](const String& N, Integer, Integer, TRect, TMouseButton) { Log.push_back("down " + N); };
  TspSkinButtonObject* P = AddPushButton("plain", -1);
  P->MouseEnter();
  P->MouseDown(1, 1, mbLeft);
  EXPECT_TRUE(P->Down());
  P->MouseLeave();
  P->MouseUp(300, 300, mbLeft);
  EXPECT_FALSE(P->Down());
  EXPECT_EQ(Log, (std::vector<std::string>{"down plain"}));

  P->Enabled = false;
  P->MouseDown(1, 1, mbLeft);
  EXPECT_FALSE(P->Down()) << "a disabled button ignores presses";
  EXPECT_EQ(Log.size(), 1u);
}

}  // namespace
