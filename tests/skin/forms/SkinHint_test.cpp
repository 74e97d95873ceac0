// The skinned hint: the application's hints through the skinned window, sizes from the
// measured text, placement on the work area, timed hints, translucency, and what is left
// when the component goes.
#include <gtest/gtest.h>

#include <cstdlib>

#include <string>
#include <vector>

#include "platform/display/HeadlessPng.h"
#include "platform/ui/ImgList.h"
#include "platform/win/DrawText.h"
#include "platform/win/PaintState.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/SkinHint.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiFormsFixture.h"
#include "tools/skingen/SkinGenSpec.h"

namespace {

using vantrel::uitest::CentreOf;

TColor HintSurfaceColour(const vantrel::win::Surface& S, int X, int Y) {
  const uint32_t P = S.Row(Y)[X];
  return static_cast<TColor>(((P >> 16) & 0xFF) | (P & 0xFF00) | ((P & 0xFF) << 16));
}

// Width and height of a text in a font, measured as a text-drawing call sees it.
TSize HintMeasureInFont(TFont* Font, const String& Text) {
  TBitmap B;
  B.Canvas()->Font()->Assign(Font);
  RECT R{0, 0, 0, 0};
  DrawText(B.Canvas()->Handle(), Text, -1, &R, DT_CALCRECT);
  return TSize{R.Right - R.Left, R.Bottom - R.Top};
}

class SkinHintTest : public ::testing::Test {
 protected:
  vantrel::uitest::FormsSession S;
  TForm* Main = nullptr;
  TspSkinHint* Hint = nullptr;
  TCustomControl* Plain = nullptr;
  TspSkinControl* Skinned = nullptr;
  TOwned<TspSkinData> Skin = CreateOwned<TspSkinData>(nullptr);
  TImageList* Images = nullptr;

  void SetUp() override {
    Application->CreateForm(Main);
    Main->SetBounds(100, 80, 400, 300);
    Hint = Create<TspSkinHint>(Main);
    Plain = Create<TCustomControl>(Main);
    Plain->SetParent(Main);
    Plain->SetBounds(10, 10, 80, 24);
    Plain->SetHint("Plain@hint");
    Plain->SetShowHint(true);
    Skinned = Create<TspSkinControl>(Main);
    Skinned->SetParent(Main);
    Skinned->SetBounds(10, 60, 80, 24);
    Skinned->SetHint("Body");
    Skinned->SetShowHint(true);
    Images = Create<TImageList>(Main);
    Images->SetWidth(16);
    Images->SetHeight(16);
    TBitmap Pic;
    Pic.SetPixelFormat(pf24bit);
    Pic.SetSize(16, 16);
    Pic.Canvas()->Brush()->SetColor(clRed);
    Pic.Canvas()->FillRect(Rect(0, 0, 16, 16));
    Images->Add(&Pic, nullptr);
    Main->Show();
    S.Session.PumpUntilIdle();
  }

  void UseTestSkin() {
    Skin->LoadFromFile(vantrel::test::TestSkinDir(vantrel::skingen::TestSkinFolder) + "/" +
                       vantrel::skingen::SkinIniName);
    ASSERT_FALSE(Skin->Empty);
    Hint->SetSkinData(Skin.get());
  }

  TspSkinHintWindow* AppWindow() { return dynamic_cast<TspSkinHintWindow*>(Application->HintWindow()); }
  static Boolean Shows(TWinControl* W) { return W && W->HandleAllocated() && IsWindowVisible(W->Handle()); }

  // Rests the pointer on a control and lets the application's hint pause pass.
  void Hover(TControl* C) {
    const TPoint P = CentreOf(C);
    S.Session.Move(P.X, P.Y);
    S.Session.PumpUntilIdle();
    S.Session.Advance(static_cast<uint64_t>(Application->HintPause()) + 20);
    S.Session.PumpUntilIdle();
  }
  void MoveAway() {
    S.Session.Move(700, 500);
    S.Session.PumpUntilIdle();
    S.Session.Advance(50);
  }

  // The skin's hint font, as the window uses it with UseSkinFont.
  TOwned<TFont> SkinHintFont() {
    auto F = CreateOwned<TFont>();
    F->SetName(Skin->HintWindow->FontName);
    F->SetHeight(Skin->HintWindow->FontHeight);
    F->SetStyle(Skin->HintWindow->FontStyle);
    return F;
  }
};

TEST_F(SkinHintTest, AControlHintShowsInTheSkinnedWindowOneHintPauseAfterThePointerRests) {
  UseTestSkin();
  const TPoint P = CentreOf(Plain);
  S.Session.Move(P.X, P.Y);
  S.Session.PumpUntilIdle();
  S.Session.Advance(static_cast<uint64_t>(Application->HintPause()) - 50);
  ASSERT_NE(AppWindow(), nullptr);
  EXPECT_FALSE(Shows(AppWindow()));
  S.Session.Advance(80);
  S.Session.PumpUntilIdle();
  TspSkinHintWindow* W = AppWindow();
  ASSERT_TRUE(Shows(W));
  EXPECT_EQ(W->FSD, Skin.get());
  EXPECT_FALSE(W->AExtendedStyle);

  // Skinned width and height over the measured two-line text, plus the frame margins.
  const TspDataSkinHintWindow& D = *Skin->HintWindow;
  TBitmap* Pic = Skin->FActivePictures[static_cast<size_t>(D.WindowPictureIndex)];
  auto F = SkinHintFont();
  const TSize T = HintMeasureInFont(F.get(), "Plain\nhint");
  EXPECT_EQ(T.cy, 2 * HintMeasureInFont(F.get(), "Plain").cy);
  EXPECT_EQ(W->Width(), T.cx + D.ClRect.Left + (Pic->Width() - D.ClRect.Right) + 5);
  EXPECT_EQ(W->Height(), T.cy + D.ClRect.Top + (Pic->Height() - D.ClRect.Bottom));
  EXPECT_EQ(W->NewClRect.Right, D.ClRect.Right + W->Width() - Pic->Width());
  vantrel::display::SavePng(S.Session.Capture(W->Handle()), ::testing::TempDir() + "skin_hint_plain.png");
  // The picture's top-left corner is the window's.
  EXPECT_EQ(HintSurfaceColour(S.Session.Capture(W->Handle()), 0, 0), Pic->Canvas()->Pixels(0, 0));
}

TEST_F(SkinHintTest, LineSeparatorsMakeLinesAndAnEmptySeparatorMakesNone) {
  EXPECT_EQ(ConvertLineSeparators("a@b@c", "@"), String("a\n\rb\n\rc"));
  EXPECT_EQ(ConvertLineSeparators("a@b", ""), String("a@b"));
  EXPECT_EQ(ConvertLineSeparators("a||b", "||"), String("a\n\rb"));

  Hint->SetLineSeparator("");
  Hint->ActivateHint(Point(200, 200), "Plain@hint");
  const TSize T = HintMeasureInFont(Hint->DefaultFont(), "Plain@hint");
  EXPECT_EQ(Hint->HW->Height(), T.cy + 4);
  EXPECT_EQ(Hint->HW->Width(), T.cx + 4);
}

TEST_F(SkinHintTest, WithoutASkinTheHintHasInfoColoursAndTextAtTwoTwo) {
  Hint->ActivateHint(Point(200, 200), "Unskinned");
  TspSkinHintWindow* W = Hint->HW;
  ASSERT_TRUE(Shows(W));
  EXPECT_EQ(W->FSD, nullptr);
  const TSize T = HintMeasureInFont(Hint->DefaultFont(), "Unskinned");
  EXPECT_EQ(W->Width(), T.cx + 4);
  EXPECT_EQ(W->Height(), T.cy + 4);
  EXPECT_EQ(W->Left(), 200);
  EXPECT_EQ(W->Top(), 200);
  const vantrel::win::Surface Shot = S.Session.Capture(W->Handle());
  vantrel::display::SavePng(Shot, ::testing::TempDir() + "skin_hint_unskinned.png");
  EXPECT_EQ(HintSurfaceColour(Shot, 0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(HintSurfaceColour(Shot, W->Width() - 1, W->Height() - 1), ColorToRGB(clBtnShadow));
  EXPECT_EQ(HintSurfaceColour(Shot, 1, 1), ColorToRGB(clInfoBk));
  // The text starts at (2, 2): some pixel of the first text columns is ink (nearer the
  // text colour than the background; a narrow face smooths its stems), and nothing left
  // of it is.
  auto Green = [](TColor C) { return int((C >> 8) & 0xFF); };
  const int Back = Green(ColorToRGB(clInfoBk)), Ink = Green(ColorToRGB(clInfoText));
  bool TextAt2 = false, TextBefore = false;
  for (int Y = 2; Y < W->Height() - 2; ++Y) {
    for (int X = 1; X < 2; ++X) TextBefore |= HintSurfaceColour(Shot, X, Y) != ColorToRGB(clInfoBk);
    for (int X = 2; X < 5; ++X)
      TextAt2 |= std::abs(Green(HintSurfaceColour(Shot, X, Y)) - Ink) < std::abs(Green(HintSurfaceColour(Shot, X, Y)) - Back);
  }
  EXPECT_TRUE(TextAt2);
  EXPECT_FALSE(TextBefore);
}

TEST_F(SkinHintTest, AHintPastTheWorkAreaMovesByItsSizePlusTwoAndNearTheTopLeftStays) {
  TRect WA{};
  GetMonitorArea(Main->Handle(), true, WA);
  const TSize T = HintMeasureInFont(Hint->DefaultFont(), "Edge");
  const Integer W = T.cx + 4, H = T.cy + 4;
  struct Case {
    const char* Name;
    TPoint At;
    TPoint Expected;
  } Cases[] = {
      {"right edge", Point(WA.Right - 5, 300), Point(WA.Right - 5 - W - 2, 300)},
      {"bottom edge", Point(300, WA.Bottom - 3), Point(300, WA.Bottom - 3 - H - 2)},
      {"both", Point(WA.Right - 1, WA.Bottom - 1), Point(WA.Right - 1 - W - 2, WA.Bottom - 1 - H - 2)},
      {"top left", Point(WA.Left, WA.Top), Point(WA.Left, WA.Top)},
      {"fits exactly", Point(WA.Right - W, WA.Bottom - H), Point(WA.Right - W, WA.Bottom - H)},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Hint->ActivateHint(C.At, "Edge");
    EXPECT_EQ(Hint->HW->Left(), C.Expected.X);
    EXPECT_EQ(Hint->HW->Top(), C.Expected.Y);
  }
}

TEST_F(SkinHintTest, ATitledSkinnedControlShowsTheExtendedLayoutAndAPlainOneAfterItThePlain) {
  Skinned->SetHintTitle("Title");
  Skinned->SetHintImageList(Images);
  Skinned->SetHintImageIndex(0);
  Hover(Skinned);
  TspSkinHintWindow* W = AppWindow();
  ASSERT_TRUE(Shows(W));
  EXPECT_TRUE(W->AExtendedStyle);
  // Unskinned extended size: the wider of text and title, the image and its gaps.
  TFont* F = Hint->DefaultFont();
  const TSize Text = HintMeasureInFont(F, "Body"), Title = HintMeasureInFont(F, "Title");
  EXPECT_EQ(W->Width(), std::max(Text.cx, Title.cx) + 16 + 10 + 4);
  EXPECT_EQ(W->Height(), std::max(Text.cy + Title.cy + 10, 16 + Title.cy + 5) + 4);
  const vantrel::win::Surface Shot = S.Session.Capture(W->Handle());
  vantrel::display::SavePng(Shot, ::testing::TempDir() + "skin_hint_extended.png");
  // The image sits at (2, title height + 5).
  EXPECT_EQ(HintSurfaceColour(Shot, 2, Title.cy + 5), clRed);
  EXPECT_EQ(HintSurfaceColour(Shot, 17, Title.cy + 20), clRed);

  MoveAway();
  Hover(Plain);
  ASSERT_TRUE(Shows(AppWindow()));
  EXPECT_FALSE(AppWindow()->AExtendedStyle);
  const TSize Two = HintMeasureInFont(F, "Plain\nhint");
  EXPECT_EQ(AppWindow()->Width(), Two.cx + 4);
}

TEST_F(SkinHintTest, AnImageIndexBeyondTheListLeavesNoRoomForAnImage) {
  Hint->ActivateHintEx(Point(200, 200), "", "Body", 3, Images);
  const TSize Text = HintMeasureInFont(Hint->DefaultFont(), "Body");
  EXPECT_TRUE(Hint->HW->AExtendedStyle);
  EXPECT_EQ(Hint->HW->Width(), Text.cx + 4);
  EXPECT_EQ(Hint->HW->Height(), Text.cy + 4);
}

TEST_F(SkinHintTest, AnExtendedSkinnedHintAddsTheSkinMarginsAndTenToItsWidth) {
  UseTestSkin();
  Hint->ActivateHintEx(Point(200, 200), "Title", "Body", 0, Images);
  const TspDataSkinHintWindow& D = *Skin->HintWindow;
  TBitmap* Pic = Skin->FActivePictures[static_cast<size_t>(D.WindowPictureIndex)];
  auto F = SkinHintFont();
  const TSize Text = HintMeasureInFont(F.get(), "Body"), Title = HintMeasureInFont(F.get(), "Title");
  const Integer W0 = std::max(Text.cx, Title.cx) + 16 + 10;
  const Integer H0 = std::max(Text.cy + Title.cy + 10, 16 + Title.cy + 5);
  EXPECT_EQ(Hint->HW->Width(), W0 + 10 + D.ClRect.Left + (Pic->Width() - D.ClRect.Right));
  EXPECT_EQ(Hint->HW->Height(), H0 + D.ClRect.Top + (Pic->Height() - D.ClRect.Bottom));
  vantrel::display::SavePng(S.Session.Capture(Hint->HW->Handle()), ::testing::TempDir() + "skin_hint_extended_skinned.png");
}

// A 40 x 20 picture with ClRect (5, 5, 35, 15) and corners at ClRect's corners; and one
// whose top corners are wider than a short text.
TEST_F(SkinHintTest, TheCornerFitKeepsCornerPiecesApart) {
  Skin->LoadFromFile(vantrel::test::TestSkinDir(vantrel::skingen::TestSkinFolder) + "/" +
                     vantrel::skingen::SkinIniName);
  TspDataSkinHintWindow& D = *Skin->HintWindow;
  TBitmap* Pic = Skin->FActivePictures[static_cast<size_t>(D.WindowPictureIndex)];
  Pic->SetSize(40, 20);
  D.ClRect = Rect(5, 5, 35, 15);
  D.LTPoint = Point(5, 5);
  D.RTPoint = Point(35, 5);
  D.LBPoint = Point(5, 15);
  D.RBPoint = Point(35, 15);
  Hint->SetSkinData(Skin.get());
  auto F = SkinHintFont();
  const TSize T = HintMeasureInFont(F.get(), "Some hint text");
  Hint->ActivateHint(Point(200, 200), "Some hint text");
  EXPECT_EQ(Hint->HW->Width(), T.cx + 15);
  EXPECT_EQ(Hint->HW->Height(), T.cy + 10);
  EXPECT_EQ(Hint->HW->NewClRect, Rect(5, 5, T.cx + 10, T.cy + 5));

  // Top corners reaching over most of the picture: a short hint widens until the right
  // top corner starts where the left one ends.
  D.LTPoint = Point(30, 5);
  D.RTPoint = Point(32, 5);
  Hint->ActivateHint(Point(200, 200), "i");
  EXPECT_EQ(Hint->HW->NewRTPoint.X, D.LTPoint.X);
  EXPECT_EQ(Hint->HW->Width(), 40 - (32 - 30));
}

TEST_F(SkinHintTest, ActivatingOneOfTwoHintComponentsDeactivatesTheOther) {
  TspSkinHint* Second = Create<TspSkinHint>(Main);
  EXPECT_TRUE(Second->Active());
  Second->SetActive(true);
  EXPECT_FALSE(Hint->Active());
  EXPECT_EQ(FindSkinHint(), Second);
  Hint->SetActive(true);
  EXPECT_FALSE(Second->Active());
  EXPECT_EQ(FindSkinHint(), Hint);
}

TEST_F(SkinHintTest, TimedHintsShowOnlyTheLastTextAndHideHintCancelsAPendingOne) {
  const TPoint P = CentreOf(Main);
  S.Session.Move(P.X, P.Y);
  S.Session.PumpUntilIdle();
  Hint->ActivateHint2("first");
  S.Session.Advance(100);
  Hint->ActivateHint2("second");
  S.Session.Advance(100);
  Hint->ActivateHint2("last");
  S.Session.Advance(static_cast<uint64_t>(Application->HintPause()) - 50);
  EXPECT_FALSE(Hint->IsVisible());
  S.Session.Advance(80);
  ASSERT_TRUE(Hint->IsVisible());
  EXPECT_EQ(Hint->HW->Caption(), String("last"));
  // Below the cursor by the cursor's height under its hot spot.
  EXPECT_EQ(Hint->HW->Left(), P.X);
  EXPECT_EQ(Hint->HW->Top(), P.Y + Hint->GetCursorHeightMargin());
  EXPECT_GT(Hint->GetCursorHeightMargin(), 0);
  EXPECT_LE(Hint->GetCursorHeightMargin(), GetSystemMetrics(SM_CYCURSOR));
  // It hides itself after the hint-hide pause.
  S.Session.Advance(static_cast<uint64_t>(Application->HintHidePause()) + 20);
  EXPECT_FALSE(Hint->IsVisible());

  Hint->ActivateHint2("never");
  S.Session.Advance(100);
  Hint->HideHint();
  S.Session.Advance(static_cast<uint64_t>(Application->HintPause()) * 3);
  EXPECT_FALSE(Hint->IsVisible());
  EXPECT_FALSE(Shows(Hint->HW));
}

TEST_F(SkinHintTest, ARectangleHintCentresAboveOrBelowItsRectangle) {
  const TSize T = HintMeasureInFont(Hint->DefaultFont(), "Rect");
  const TRect From = Rect(300, 300, 400, 340);
  Hint->ActivateHint3(From, "Rect", true);
  S.Session.Advance(static_cast<uint64_t>(Application->HintPause()) + 20);
  ASSERT_TRUE(Hint->IsVisible());
  EXPECT_EQ(Hint->HW->Left(), 350 - (T.cx + 4) / 2);
  EXPECT_EQ(Hint->HW->Top(), 300 - (T.cy + 4));
  Hint->ActivateHint3(From, "Rect", false);
  S.Session.Advance(static_cast<uint64_t>(Application->HintPause()) + 20);
  EXPECT_EQ(Hint->HW->Top(), 340);
}

TEST_F(SkinHintTest, AnAnimatedHintFadesInStepsOfADivFifteenToItsValue) {
  struct Case {
    Byte Value;
    Integer Step;
  } Cases[] = {{200, 13}, {10, 1}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Value);
    Hint->SetAlphaBlend(true);
    Hint->SetAlphaBlendAnimation(true);
    Hint->SetAlphaBlendValue(C.Value);
    std::vector<int> Seen;
    Hint->HW->HandleNeeded();
    const TWndMethod Old = Hint->HW->WindowProc;
    Hint->HW->WindowProc = [&](TMessage& M) {
      if (M.Msg == WM_PAINT) {
        vantrel::win::Window* W = vantrel::win::WindowManager::Lookup(Hint->HW->Handle());
        if (W && W->Paint) Seen.push_back(W->Paint->Alpha);
      }
      Old(M);
    };
    Hint->ActivateHint(Point(200, 200), "Fading");
    Hint->HW->WindowProc = Old;
    Seen.push_back(vantrel::win::WindowManager::Lookup(Hint->HW->Handle())->Paint->Alpha);
    ASSERT_GE(Seen.size(), 3u);
    EXPECT_EQ(Seen.front(), 0);
    EXPECT_EQ(Seen.back(), C.Value);
    std::vector<int> Steps;
    for (size_t I = 1; I < Seen.size(); ++I)
      if (Seen[I] != Seen[I - 1]) Steps.push_back(Seen[I] - Seen[I - 1]);
    ASSERT_FALSE(Steps.empty());
    for (size_t I = 0; I + 1 < Steps.size(); ++I) EXPECT_EQ(Steps[I], C.Step);
    EXPECT_LE(Steps.back(), C.Step);
    Hint->HideHint();
  }
}

TEST_F(SkinHintTest, FreeingTheComponentLeavesPlainHintsWorking) {
  Hover(Plain);
  ASSERT_TRUE(Shows(AppWindow()));
  // Freed while its hint shows.
  Hint->Free();
  Hint = nullptr;
  EXPECT_FALSE(static_cast<bool>(Application->OnShowHint));
  if (THintWindow* W = Application->HintWindow()) W->Repaint();
  S.Session.PumpUntilIdle();
  MoveAway();
  Hover(Skinned);
  THintWindow* W = Application->HintWindow();
  ASSERT_NE(W, nullptr);
  EXPECT_EQ(dynamic_cast<TspSkinHintWindow*>(W), nullptr);
  EXPECT_TRUE(W->IsHintShowing());
  EXPECT_EQ(W->Caption(), String("Body"));
}

TEST_F(SkinHintTest, FreeingTheComponentBeforeAnyHintThenHoveringIsSafe) {
  Hint->Free();
  Hint = nullptr;
  Hover(Plain);
  ASSERT_NE(Application->HintWindow(), nullptr);
  EXPECT_TRUE(Application->HintWindow()->IsHintShowing());
}

TEST_F(SkinHintTest, WithoutAnActiveHintComponentTheSkinnedWindowShowsNothing) {
  Hint->SetActive(false);
  Hint->ActivateHint(Point(200, 200), "Nothing");
  EXPECT_FALSE(Shows(Hint->HW));
}

}  // namespace
