// The frame component's construction, hooks and destruction, and its simple properties.
#include <gtest/gtest.h>

#include <vector>

#include "platform/win/WindowManager.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

class FormSkinComponentTest : public FrameFixture {};

TEST_F(FormSkinComponentTest, ANewComponentHasItsDefaultsAndEmptiesTheFormsIcons) {
  EXPECT_TRUE(FS->BorderIcons() == (TspBorderIcons{TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize,
                                                   TspBorderIcon::biMaximize, TspBorderIcon::biRollUp}));
  EXPECT_EQ(FS->AlphaBlendValue(), 200);
  EXPECT_EQ(FS->MagneticSize(), 10);
  EXPECT_TRUE(FS->SupportNCArea());
  EXPECT_TRUE(FS->Sizeable());
  EXPECT_TRUE(FS->SkinnableForm());
  EXPECT_FALSE(FS->AlphaBlend());
  EXPECT_FALSE(FS->AlphaBlendAnimation());
  EXPECT_EQ(FS->ActiveObject, -1);
  EXPECT_EQ(FS->OldActiveObject, -1);
  EXPECT_EQ(FS->MouseCaptureObject, -1);
  EXPECT_EQ(FS->FOnMouseDownCoord.X, -1);
  EXPECT_EQ(FS->FOnMouseDownCoord.Y, -1);
  EXPECT_EQ(FS->FOldFullBorder, -1);
  EXPECT_EQ(FS->MorphTimer->Interval(), 25u);
  EXPECT_EQ(FS->MouseTimer->Interval(), 50u);
  EXPECT_EQ(FS->AnimateTimer->Interval(), 25u);
  EXPECT_FALSE(FS->MorphTimer->Enabled() || FS->MouseTimer->Enabled() || FS->AnimateTimer->Enabled());
  // The layer reports version 6.1.
  EXPECT_TRUE(FS->FIsVistaOS);
  EXPECT_TRUE(FS->FIsW7);
  EXPECT_TRUE(Form->BorderIcons().Empty());
  EXPECT_EQ(FS->GetProductVersion(), "11.27");
  EXPECT_EQ(FindSkinFormComponent(Form.get()), FS);
}

TEST_F(FormSkinComponentTest, AnOwnerThatIsNoFormIsAnInvalidCast) {
  TOwned<TComponent> NotAForm = CreateOwned<TComponent>(nullptr);
  try {
    Create<TspFormSkin>(NotAForm.get());
    FAIL() << "no exception";
  } catch (const EInvalidCast& E) {
    EXPECT_EQ(E.Message(), "Invalid class typecast");
  }
  EXPECT_EQ(NotAForm->ComponentCount(), 0);
}

TEST_F(FormSkinComponentTest, TheFormsEarlierProcedureGetsWhatIsPassedOnAndIsBackAfterwards) {
  std::vector<UINT> Seen;  // outlives the form, whose probe writes into it
  TOwned<TForm> Other = CreateOwned<TForm>(nullptr);
  Other->SetBounds(10, 10, 300, 200);
  TWndMethod Original = Other->WindowProc;
  Other->WindowProc = [&Seen, Original](TMessage& M) {
    Seen.push_back(M.Msg);
    Original(M);
  };
  Other->HandleNeeded();
  TspFormSkin* Skin2 = Create<TspFormSkin>(Other.get());
  Seen.clear();
  // Answered by the frame itself: never reaches the earlier procedure.
  SendMessage(Other->Handle(), WM_NCPAINT, 0, 0);
  // Passed on.
  SendMessage(Other->Handle(), WM_USER + 7, 0, 0);
  EXPECT_EQ(std::count(Seen.begin(), Seen.end(), WM_NCPAINT), 0);
  EXPECT_EQ(std::count(Seen.begin(), Seen.end(), WM_USER + 7), 1);
  Skin2->Free();
  Seen.clear();
  SendMessage(Other->Handle(), WM_NCPAINT, 0, 0);
  EXPECT_EQ(std::count(Seen.begin(), Seen.end(), WM_NCPAINT), 1);
}

TEST_F(FormSkinComponentTest, SettingAlphaBlendToItsValueChangesNothing) {
  ShowForm();
  const HWND Wnd = Form->Handle();
  FS->SetAlphaBlend(false);
  EXPECT_EQ(GetWindowLongPtr(Wnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  FS->SetAlphaBlend(true);
  EXPECT_NE(GetWindowLongPtr(Wnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  FS->SetAlphaBlend(false);
  EXPECT_EQ(GetWindowLongPtr(Wnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST_F(FormSkinComponentTest, PositionInMonitor) {
  EXPECT_EQ(FS->GetPositionInMonitor(7, 9, 801, 601).X, 7);
  EXPECT_EQ(FS->GetPositionInMonitor(7, 9, 801, 601).Y, 9);
  FS->SetPositionInMonitor(sppScreenCenter);
  // The headless screen is 1280 x 800.
  const TPoint P = FS->GetPositionInMonitor(7, 9, 801, 601);
  EXPECT_EQ(P.X, 640 - 400);
  EXPECT_EQ(P.Y, 400 - 300);
}

TEST_F(FormSkinComponentTest, RefusedValuesAreIgnored) {
  FS->SetDefMenuItemHeight(0);
  EXPECT_EQ(FS->DefMenuItemHeight(), 20);
  FS->SetMaxMenuItemsInWindow(-1);
  EXPECT_EQ(FS->MaxMenuItemsInWindow(), 0);
  FS->SetFormStyle(fsMDIChild);
  EXPECT_EQ(Form->FormStyle(), fsNormal);
  FS->SetUseRibbon(true);
  FS->SetSkinnableForm(true);
  EXPECT_FALSE(FS->SkinnableForm());
}

TEST_F(FormSkinComponentTest, FreeingTheSkinStoreClearsTheReferences) {
  TspSkinData* Store = Create<TspSkinData>(Form.get());
  FS->SetSkinData(Store);
  FS->SetMenusSkinData(Store);
  Store->Free();
  EXPECT_EQ(FS->SkinData(), nullptr);
  EXPECT_EQ(FS->MenusSkinData(), nullptr);
}

class FormSkinMDITest : public ::testing::Test {
 protected:
  uitest::FormsSession S;
};

TEST_F(FormSkinMDITest, TheClientWindowsEarlierProcedureIsBackAfterTheComponentGoes) {
  TOwned<TForm> Main = CreateOwned<TForm>(nullptr);
  Main->SetFormStyle(fsMDIForm);
  Main->SetBounds(20, 20, 500, 400);
  TspFormSkin* FS = Create<TspFormSkin>(Main.get());
  Main->Show();
  S.Session.PumpUntilIdle();
  const HWND Client = Main->ClientHandle();
  ASSERT_NE(Client, nullptr);
  EXPECT_NE(FS->FClientInstance, nullptr);
  EXPECT_EQ(GetWindowLongPtr(Client, GWL_WNDPROC), WndProcToLong(FS->FClientInstance));
  const LONG_PTR Earlier = WndProcToLong(FS->FPrevClientProc);
  // The hooked client answers WM_NCACTIVATE with 1.
  EXPECT_EQ(SendMessage(Client, WM_NCACTIVATE, 0, 0), 1);
  FS->Free();
  EXPECT_EQ(GetWindowLongPtr(Client, GWL_WNDPROC), Earlier);
  SendMessage(Client, WM_SIZE, 0, 0);  // the window still works
}

TEST_F(FormSkinMDITest, AnMDIFormFreedWithItsComponentLeavesNothingBehind) {
  TOwned<TForm> Main = CreateOwned<TForm>(nullptr);
  Main->SetFormStyle(fsMDIForm);
  Main->SetBounds(20, 20, 500, 400);
  Create<TspFormSkin>(Main.get());
  Main->Show();
  S.Session.PumpUntilIdle();
  const HWND Client = Main->ClientHandle();
  ASSERT_NE(Client, nullptr);
  EXPECT_NO_THROW(Main.reset());
  EXPECT_FALSE(IsWindow(Client));
}

TEST_F(FormSkinMDITest, SwitchingTheSkinnableFormReplacesTheClientHook) {
  TOwned<TForm> Main = CreateOwned<TForm>(nullptr);
  Main->SetFormStyle(fsMDIForm);
  Main->SetBounds(20, 20, 500, 400);
  TspFormSkin* FS = Create<TspFormSkin>(Main.get());
  Main->Show();
  S.Session.PumpUntilIdle();
  const WNDPROC First = FS->FClientInstance;
  FS->SetSkinnableForm(false);
  S.Session.PumpUntilIdle();
  const HWND Client = Main->ClientHandle();
  ASSERT_NE(Client, nullptr);
  EXPECT_NE(FS->FClientInstance, nullptr);
  EXPECT_NE(FS->FClientInstance, First);
  EXPECT_EQ(GetWindowLongPtr(Client, GWL_WNDPROC), WndProcToLong(FS->FClientInstance));
  EXPECT_EQ(SendMessage(Client, WM_NCACTIVATE, 0, 0), 1);
  const LONG_PTR Earlier = WndProcToLong(FS->FPrevClientProc);
  FS->Free();
  EXPECT_EQ(GetWindowLongPtr(Client, GWL_WNDPROC), Earlier);
}

}  // namespace
}  // namespace vantrel::frametest
