// Window states of the frame: minimizing, maximizing and restoring by the frame's own
// rules, and the bounds it gives back.
#include <gtest/gtest.h>

#include <string>

#include "platform/win/Messages.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

// The default display: 1280 x 800 with a 40-pixel taskbar at the bottom.
constexpr int StatesScreenW = 1280, StatesScreenH = 800, StatesWorkH = 760;

class FormSkinStatesTest : public FrameFixture {
 protected:
  int Minimized = 0, Maximized = 0, Restored = 0;

  void CountEvents(TspFormSkin* Target) {
    Target->OnMinimize = [this](TObject*) { ++Minimized; };
    Target->OnMaximize = [this](TObject*) { ++Maximized; };
    Target->OnRestore = [this](TObject*) { ++Restored; };
  }
  static TRect Bounds(TCustomForm* F) { return Rect(F->Left(), F->Top(), F->Width(), F->Height()); }
};

TEST_F(FormSkinStatesTest, MaximizeMinimizeRestoreGivesBackTheBoundsFromBefore) {
  CountEvents(FS);
  ShowForm();
  FS->SetWindowState(wsMaximized);
  EXPECT_EQ(Bounds(Form.get()), Rect(0, 0, StatesScreenW, StatesWorkH));
  FS->SetWindowState(wsMaximized);  // again: nothing
  FS->SetWindowState(wsMinimized);
  EXPECT_EQ(FS->WindowState(), wsMinimized);
  EXPECT_EQ(Form->Width(), FS->GetMinWidth());
  EXPECT_EQ(Form->Height(), FS->GetMinHeight());
  EXPECT_EQ(Form->Left(), 0);
  EXPECT_EQ(Form->Top(), StatesWorkH - FS->GetMinHeight());
  FS->SetWindowState(wsNormal);
  FS->SetWindowState(wsNormal);
  EXPECT_EQ(Bounds(Form.get()), Rect(100, 80, 400, 300));
  EXPECT_EQ(FS->WindowState(), wsNormal);
  EXPECT_EQ(Minimized, 1);
  EXPECT_EQ(Maximized, 1);
  EXPECT_EQ(Restored, 1);
}

TEST_F(FormSkinStatesTest, MaximizedBoundsByScreenAndWorkArea) {
  struct Case {
    const char* Name;
    bool FullScreen;
    bool WorkAreaIsScreen;
    TRect Expected;  // left, top, width, height
  };
  const Case Cases[] = {
      {"work area", false, false, Rect(0, 0, StatesScreenW, StatesWorkH)},
      {"full screen", true, false, Rect(0, 0, StatesScreenW, StatesScreenH)},
      {"hiding taskbar", false, true, Rect(1, 1, StatesScreenW - 2, StatesScreenH - 2)},
      {"hiding taskbar, full screen", true, true, Rect(0, 0, StatesScreenW, StatesScreenH)},
  };
  ShowForm();
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    if (C.WorkAreaIsScreen)
      S.Session.Display().SetWorkArea(RECT{0, 0, StatesScreenW, StatesScreenH});
    else
      S.Session.Display().ResetWorkArea();
    FS->SetMaximizeOnFullScreen(C.FullScreen);
    FS->SetWindowState(wsMaximized);
    EXPECT_EQ(Bounds(Form.get()), C.Expected);
    FS->SetWindowState(wsNormal);
    EXPECT_EQ(Bounds(Form.get()), Rect(100, 80, 400, 300));
  }
}

TEST_F(FormSkinStatesTest, MinimizedFormsFillTheBottomRowThenTheRowAbove) {
  ShowForm();
  const int MW = FS->GetMinWidth();
  std::vector<TOwned<TForm>> Forms;
  std::vector<TspFormSkin*> Skins;
  for (int I = 0; I < 3; ++I) {
    Forms.push_back(CreateOwned<TForm>(nullptr));
    Forms.back()->SetBounds(200 + 20 * I, 100, 300, 200);
    Skins.push_back(Create<TspFormSkin>(Forms.back().get()));
    Forms.back()->Show();
  }
  S.Session.PumpUntilIdle();
  for (int Pass = 0; Pass < 2; ++Pass) {
    // The second pass leaves room for two cells a row only.
    SCOPED_TRACE(Pass);
    if (Pass == 1) S.Session.Display().SetWorkArea(RECT{0, 0, 2 * MW + MW / 2, StatesWorkH});
    for (int I = 0; I < 3; ++I) {
      Skins[I]->SetWindowState(wsMinimized);
      const int MH = Skins[I]->GetMinHeight();
      EXPECT_EQ(Forms[I]->Width(), Skins[I]->GetMinWidth());
      EXPECT_EQ(Forms[I]->Height(), MH);
      const int Row = Pass == 1 ? I / 2 : 0, Col = Pass == 1 ? I % 2 : I;
      EXPECT_EQ(Forms[I]->Left(), Col * MW) << I;
      EXPECT_EQ(Forms[I]->Top(), StatesWorkH - (Row + 1) * MH) << I;
    }
    for (int I = 0; I < 3; ++I) {
      Skins[I]->SetWindowState(wsNormal);
      EXPECT_EQ(Bounds(Forms[I].get()), Rect(200 + 20 * I, 100, 300, 200));
    }
  }
}

TEST_F(FormSkinStatesTest, TheMainFormMinimizesTheApplicationAndKeepsItsState) {
  TForm* Main = nullptr;
  Application->CreateForm(Main);
  Main->SetBounds(50, 50, 400, 300);
  TspFormSkin* MainSkin = Create<TspFormSkin>(Main);
  CountEvents(MainSkin);
  int AppMinimized = 0;
  Application->OnMinimize = [&](TObject*) { ++AppMinimized; };
  Main->Show();
  S.Session.PumpUntilIdle();
  MainSkin->SetWindowState(wsMinimized);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(MainSkin->WindowState(), wsNormal);
  EXPECT_EQ(AppMinimized, 1);
  EXPECT_EQ(Minimized, 1);
  // The application iconifies the form; the frame keeps no bounds of its own.
  EXPECT_TRUE(IsNullRect(MainSkin->OldBoundsRect));
}

TEST_F(FormSkinStatesTest, AFormFirstShownMaximizedIsCentredOnTheScreenWhenFirstRestored) {
  FS->SetPositionInMonitor(sppScreenCenter);
  FS->SetWindowState(wsMaximized);
  ShowForm();
  EXPECT_EQ(Bounds(Form.get()), Rect(0, 0, StatesScreenW, StatesWorkH));
  FS->SetWindowState(wsNormal);
  EXPECT_EQ(Bounds(Form.get()), Rect((StatesScreenW - 400) / 2, (StatesScreenH - 300) / 2, 400, 300));
  // Later restores give back the bounds from before.
  Form->SetBounds(30, 40, 400, 300);
  FS->SetWindowState(wsMaximized);
  FS->SetWindowState(wsNormal);
  EXPECT_EQ(Bounds(Form.get()), Rect(30, 40, 400, 300));
}

TEST_F(FormSkinStatesTest, TheStatusBarGripHidesWhileMaximized) {
  auto* Bar = Create<TspSkinStatusBar>(Form.get());
  Bar->SetParent(Form.get());
  Bar->SetSizeGrip(true);
  FS->SetStatusBar(Bar);
  ShowForm();
  ASSERT_TRUE(Bar->ShowGrip());
  FS->SetWindowState(wsMaximized);
  EXPECT_FALSE(Bar->ShowGrip());
  FS->SetWindowState(wsNormal);
  EXPECT_TRUE(Bar->ShowGrip());
}

TEST_F(FormSkinStatesTest, AMaximizedFrameHasNoSizingEdges) {
  for (const bool Skinned : {false, true}) {
    SCOPED_TRACE(Skinned ? "skinned" : "default frame");
    if (Skinned) FS->SetSkinData(Skin.get());
    if (Skinned) Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
    ShowForm();
    FS->SetWindowState(wsMaximized);
    S.Session.PumpUntilIdle();
    const int R = Form->Width() - 1, B = Form->Height() - 1;
    const TPoint Edges[] = {{0, 300}, {R, 300}, {640, 0}, {640, B}, {0, 0}, {R, 0}, {0, B}, {R, B}, {2, 2}};
    for (const TPoint& P : Edges) {
      SCOPED_TRACE(std::to_string(P.X) + "," + std::to_string(P.Y));
      const LRESULT Code = SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y));
      EXPECT_FALSE(Code >= HTLEFT && Code <= HTBOTTOMRIGHT) << Code;
    }
    const TPoint Middle = Form->ClientToScreen(Point(Form->ClientWidth() / 2, Form->ClientHeight() / 2));
    EXPECT_EQ(SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(Middle.X, Middle.Y)), HTCLIENT);
    FS->SetWindowState(wsNormal);
  }
}

}  // namespace
}  // namespace vantrel::frametest
