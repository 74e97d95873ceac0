// The skin data store without files: values after creation, lookups by name, clearing, the
// picture list, font rewriting, and the skin messages it sends to the forms (real
// top-level windows of the class library on the headless display).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/win/SysColors.h"
#include "skin/core/SkinData.h"
#include "tests/skin/core/SkinData_TestKit.h"
#include "tests/skin/core/SkinDescriptors_TestKit.h"

using namespace vantrel::test;
using vantrel::display::HeadlessSession;

namespace {

std::vector<TColor> Colors(TspSkinColors* C) {
  return {C->cBtnFace(),   C->cBtnText(),       C->cWindow(),       C->cWindowText(),
          C->cHighLight(), C->cHighLightText(), C->cBtnHighLight(), C->cBtnShadow(),
          C->c3DLight(),   C->c3DDkShadow()};
}

const std::vector<TColor> SystemColors = {
    clBtnFace,       clBtnText,      clWindow,    clWindowText, clHighlight,
    clHighlightText, clBtnHighlight, clBtnShadow, cl3DLight,    cl3DDkShadow};

TEST(SkinStore, ANewStoreIsEmptyWithTheDocumentedValues) {
  auto S = CreateOwned<TspSkinData>(nullptr);
  EXPECT_TRUE(S->Empty);
  EXPECT_FALSE(S->ChangeSkinDataProcess);
  EXPECT_FALSE(S->BuildMode);
  EXPECT_EQ(S->StartCursorIndex, 1);
  EXPECT_EQ(S->CursorIndex, -1);
  EXPECT_EQ(S->BGPictureIndex, -1);
  EXPECT_EQ(S->MDIBGPictureIndex, -1);
  EXPECT_EQ(S->InActiveEffect, ieBrightness);
  EXPECT_EQ(S->LayerFrame->PictureIndex, -1);
  EXPECT_EQ(S->HintWindow->FontHeight, 12);
  EXPECT_TRUE(S->FPicture->Empty());
  EXPECT_EQ(S->FActivePictures.Count(), 0);
  EXPECT_EQ(Colors(S->SkinColors()), std::vector<TColor>(10, 0));
  EXPECT_TRUE(S->ShowLayeredBorders() && S->SkinnableForm() && S->EnableSkinEffects() &&
              S->AeroBlurEnabled() && S->ShowButtonGlowFrames() &&
              S->ShowCaptionButtonGlowFrames());
  EXPECT_FALSE(S->AnimationForAllWindows());
  EXPECT_EQ(S->ResourceStrData(), nullptr);
  for (const char* Name : {"button", "", "x"}) {
    EXPECT_EQ(S->GetControlIndex(Name), -1);
    EXPECT_EQ(S->GetIndex(Name), -1);
    EXPECT_EQ(S->GetAreaIndex(Name), -1);
  }
}

TEST(SkinStore, LookupsMatchNamesExactlyAndFindTheFirst) {
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->CtrlList.Add(vantrel::skin::CreateSkinControl("button", "Button"));
  S->CtrlList.Add(vantrel::skin::CreateSkinControl("button", "button"));
  S->CtrlList.Add(vantrel::skin::CreateSkinControl("label", "button"));
  S->ObjectList.Add(vantrel::skin::CreateSkinObject("caption", "caption "));
  S->ObjectList.Add(vantrel::skin::CreateSkinObject("caption", "caption"));
  S->AddSkinArea("Grip", Rect(1, 2, 3, 4));
  S->AddSkinArea("grip", Rect(5, 6, 7, 8));
  S->AddSkinArea("grip", Rect(9, 9, 9, 9));
  EXPECT_EQ(S->GetControlIndex("button"), 1);
  EXPECT_EQ(S->GetControlIndex("Button"), 0);
  EXPECT_EQ(S->GetControlIndex("BUTTON"), -1);
  EXPECT_EQ(S->GetControlIndex("button "), -1);
  EXPECT_EQ(S->GetIndex("caption"), 1);
  EXPECT_EQ(S->GetIndex("caption "), 0);
  EXPECT_EQ(S->GetAreaIndex("grip"), 1);
  EXPECT_EQ(RectText(S->AreaList[1]->AreaRect), "5,6,7,8");
  EXPECT_EQ(S->GetAreaIndex("GRIP"), -1);
}

TEST(SkinStore, ClearingFreesTheListsAndSetsTheSystemColours) {
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->CtrlList.Add(vantrel::skin::CreateSkinControl("edit", "e"));
  S->ObjectList.Add(vantrel::skin::CreateSkinObject("label", "l"));
  S->AddSkinArea("a", Rect(0, 0, 1, 1));
  S->FActivePicturesNames->Add("p.bmp");
  S->FActivePictures.Add(CreateOwned<TBitmap>());
  S->FCursorsNames->Add("c.cur");
  S->PopupWindow->WindowPictureIndex = 3;
  S->PopupWindow->MaskPictureIndex = 4;
  S->HintWindow->WindowPictureIndex = 5;
  S->LayerFrame->PictureIndex = 6;
  S->LayerFrame->MaskPictureIndex = 7;
  S->FPicture->SetSize(4, 4);
  S->FPictureName = "frame.bmp";
  S->BorderW = 9;
  S->Empty = false;

  S->ClearObjects();
  EXPECT_EQ(S->CtrlList.Count() + S->ObjectList.Count() + S->AreaList.Count(), 0);
  EXPECT_EQ(S->FActivePictures.Count() + S->FActivePicturesNames->Count(), 0);
  EXPECT_EQ(S->FCursorsNames->Count(), 0);
  EXPECT_EQ(S->PopupWindow->WindowPictureIndex, -1);
  EXPECT_EQ(S->HintWindow->WindowPictureIndex, -1);
  EXPECT_EQ(S->LayerFrame->PictureIndex, -1);
  EXPECT_EQ(S->PopupWindow->MaskPictureIndex, 4);  // other window fields stay
  EXPECT_EQ(S->LayerFrame->MaskPictureIndex, 7);
  EXPECT_EQ(Colors(S->SkinColors()), SystemColors);
  EXPECT_FALSE(S->FPicture->Empty());  // frame pictures and geometry stay
  EXPECT_EQ(S->FPictureName, "frame.bmp");
  EXPECT_FALSE(S->Empty);

  S->ClearAll();
  EXPECT_TRUE(S->FPicture->Empty());
  EXPECT_EQ(S->FPictureName, "");
  EXPECT_EQ(S->BorderW, 9);
  EXPECT_TRUE(S->Empty);
}

TEST(SkinStore, PicturesAreAddedUnderTheirFileNameAndDeletedByIndex) {
  SkinFolder Dir;
  Dir.Picture("one.bmp", 5, 4);
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->AddBitMap(Dir.Path() + "one.bmp");
  EXPECT_EQ(S->FActivePicturesNames->Get(0), "one.bmp");
  EXPECT_EQ(S->FActivePictures[0]->Width(), 5);

  // A failing read leaves the name with an empty bitmap, and the error passes on.
  EXPECT_ANY_THROW(S->AddBitMap(Dir.Path() + "missing.bmp"));
  ASSERT_EQ(S->FActivePicturesNames->Count(), 2);
  EXPECT_EQ(S->FActivePictures.Count(), 2);
  EXPECT_EQ(S->FActivePicturesNames->Get(1), "missing.bmp");
  EXPECT_TRUE(S->FActivePictures[1]->Empty());
  // A JPEG name goes to the JPEG decoder, which rejects a BMP file.
  RtlDataWriteFile(Dir.Path() + "fake.jpg", RtlDataReadFile(Dir.Path() + "one.bmp"));
  EXPECT_ANY_THROW(S->AddBitMap(Dir.Path() + "fake.jpg"));
  EXPECT_EQ(S->FActivePicturesNames->Get(2), "fake.jpg");

  EXPECT_THROW(S->DeleteBitMap(3), EStringListError);
  EXPECT_THROW(S->DeleteBitMap(-1), EStringListError);
  EXPECT_EQ(S->FActivePictures.Count(), 3);
  S->DeleteBitMap(0);
  ASSERT_EQ(S->FActivePicturesNames->Count(), 2);
  EXPECT_EQ(S->FActivePictures.Count(), 2);
  EXPECT_EQ(S->FActivePicturesNames->Get(0), "missing.bmp");
}

TEST(SkinStore, GlobalChangeFontRewritesTheTextFontsOfTheSkin) {
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->HintWindow->FontHeight = 14;
  for (const char* Kind : {"label", "menuitem", "mainmenubaritem", "caption", "mainmenuitem"})
    S->ObjectList.Add(vantrel::skin::CreateSkinObject(Kind, Kind));
  for (const char* Kind : {"treeview", "grid", "checklistbox", "memo", "menubutton", "stdlabel",
                           "expanel", "bitlabel", "scrollbar"})
    S->CtrlList.Add(vantrel::skin::CreateSkinControl(Kind, Kind));
  // Every descriptor starts with font "Old" of height 10 where it has one.
  auto SetOld = [](auto* D) {
    if constexpr (requires { D->FontName; }) {
      D->FontName = "Old";
      D->FontHeight = 10;
    }
  };
  SetOld(dynamic_cast<TspDataSkinLabel*>(S->ObjectList[0]));
  SetOld(dynamic_cast<TspDataSkinMenuItem*>(S->ObjectList[1]));
  SetOld(dynamic_cast<TspDataSkinMainMenuItem*>(S->ObjectList[2]));
  SetOld(dynamic_cast<TspDataSkinCaption*>(S->ObjectList[3]));
  SetOld(dynamic_cast<TspDataSkinMainMenuItem*>(S->ObjectList[4]));
  auto* Grid = dynamic_cast<TspDataSkinGridControl*>(S->CtrlList[1]);
  Grid->FixedFontHeight = 8;
  auto* List = dynamic_cast<TspDataSkinCheckListBox*>(S->CtrlList[2]);
  List->CaptionFontHeight = 7;

  S->GlobalChangeFont("New", 2);
  EXPECT_EQ(S->HintWindow->FontName, "New");
  EXPECT_EQ(S->HintWindow->FontHeight, 16);
  EXPECT_EQ(dynamic_cast<TspDataSkinLabel*>(S->ObjectList[0])->FontHeight, 12);
  EXPECT_EQ(dynamic_cast<TspDataSkinMenuItem*>(S->ObjectList[1])->FontName, "New");
  EXPECT_EQ(dynamic_cast<TspDataSkinMainMenuItem*>(S->ObjectList[2])->FontHeight, 12);
  EXPECT_EQ(dynamic_cast<TspDataSkinCaption*>(S->ObjectList[3])->FontHeight, 12);
  // A main menu item of the frame keeps its font.
  EXPECT_EQ(dynamic_cast<TspDataSkinMainMenuItem*>(S->ObjectList[4])->FontName, "Old");
  EXPECT_EQ(dynamic_cast<TspDataSkinMainMenuItem*>(S->ObjectList[4])->FontHeight, 10);

  EXPECT_EQ(dynamic_cast<TspDataSkinTreeView*>(S->CtrlList[0])->FontName, "New");
  EXPECT_EQ(Grid->FontName, "New");
  EXPECT_EQ(Grid->FixedFontName, "New");
  EXPECT_EQ(Grid->FixedFontHeight, 10);
  EXPECT_EQ(List->CaptionFontName, "New");
  EXPECT_EQ(List->CaptionFontHeight, 9);
  EXPECT_EQ(List->FontHeight, 16);  // created with 14
  EXPECT_EQ(dynamic_cast<TspDataSkinMemoControl*>(S->CtrlList[3])->FontName, "New");
  EXPECT_EQ(dynamic_cast<TspDataSkinMenuButtonControl*>(S->CtrlList[4])->FontName, "New");
  EXPECT_EQ(dynamic_cast<TspDataSkinStdLabelControl*>(S->CtrlList[5])->FontName, "New");
  EXPECT_EQ(dynamic_cast<TspDataSkinExPanelControl*>(S->CtrlList[6])->FontName, "New");
}

// ---- Skin messages ------------------------------------------------------------------------

class SkinMessages : public ::testing::Test {
 protected:
  HeadlessSession Session;
  SkinTrace Trace;
  std::vector<TOwned<TSkinTestForm>> Forms;

  HWND NewForm(bool LayerWindow = false) {
    TOwned<TSkinTestForm> F(LayerWindow ? TspFormLayerWindow::Create(nullptr, &Trace)
                                        : TSkinTestForm::Create(nullptr, &Trace));
    F->SetBounds(10, 10, 50, 40);
    F->HandleNeeded();
    HWND Wnd = F->Handle();
    Forms.push_back(std::move(F));
    return Wnd;
  }
  // The windows of the trace that received Msg, in order.
  std::vector<HWND> Receivers(UINT Msg) const {
    std::vector<HWND> R;
    for (const auto& [Wnd, M] : Trace.Messages)
      if (M == Msg) R.push_back(Wnd);
    return R;
  }
  std::vector<UINT> MessagesTo(HWND Wnd) const {
    std::vector<UINT> R;
    for (const auto& [W, M] : Trace.Messages)
      if (W == Wnd) R.push_back(M);
    return R;
  }
};

TEST_F(SkinMessages, WithoutLayeredBordersTheOwnerFormHearsFirstThenTheOthersInListOrder) {
  HWND A = NewForm();
  HWND Owner = NewForm();
  HWND Layer = NewForm(true);
  HWND B = NewForm();
  HWND C = NewForm();
  TspSkinData* S = TspSkinData::Create(Forms[1].get());  // owned by its form
  S->SetShowLayeredBorders(false);
  S->LayerFrame->PictureIndex = 2;  // plays no part without layered borders
  Trace.Messages.clear();
  Trace.Senders.clear();
  Trace.LParams.clear();

  S->ClearSkin();
  const std::vector<HWND> Order = {Owner, A, B, C};
  EXPECT_EQ(Receivers(WM_SKIN_BEFORE_CHANGE), Order);
  EXPECT_EQ(Receivers(WM_SKIN_CHANGED), Order);
  EXPECT_EQ(Receivers(WM_SKIN_AFTER_CHANGE), Order);
  EXPECT_TRUE(MessagesTo(Layer).empty());
  // All before-change messages first, then all changed, then all after-change.
  ASSERT_EQ(Trace.Messages.size(), 12u);
  for (size_t i = 0; i < 12; ++i) {
    EXPECT_EQ(Trace.Messages[i].second, i < 4   ? WM_SKIN_BEFORE_CHANGE
                                        : i < 8 ? WM_SKIN_CHANGED
                                                : WM_SKIN_AFTER_CHANGE);
    EXPECT_EQ(Trace.Senders[i], reinterpret_cast<WPARAM>(S));
    EXPECT_EQ(Trace.LParams[i], 1000);
  }
}

TEST_F(SkinMessages, LayeredBordersWithAPictureServeEveryFormFromTheLastToTheFirst) {
  HWND A = NewForm();
  HWND Owner = NewForm();
  HWND B = NewForm();
  NewForm(true);
  TspSkinData* S = TspSkinData::Create(Forms[1].get());
  S->LayerFrame->PictureIndex = 2;  // a clear would set it to none first
  S->SendSkinDataMessage(WM_SKIN_BEFORE_CHANGE);
  S->SendSkinDataMessage(WM_SKIN_AEROBLUR_CHANGED);
  EXPECT_EQ(Receivers(WM_SKIN_BEFORE_CHANGE), (std::vector<HWND>{B, Owner, A}));
  EXPECT_EQ(Receivers(WM_SKIN_AEROBLUR_CHANGED), (std::vector<HWND>{B, Owner, A}));
}

TEST_F(SkinMessages, LayeredBordersWithoutAPictureServeEveryFormInListOrder) {
  HWND A = NewForm();
  HWND Owner = NewForm();
  HWND B = NewForm();
  TspSkinData* S = TspSkinData::Create(Forms[1].get());
  S->ClearSkin();  // the clear also sets the layer picture to none
  EXPECT_EQ(Receivers(WM_SKIN_CHANGED), (std::vector<HWND>{A, Owner, B}));
}

TEST_F(SkinMessages, AStoreWithoutAFormOwnerServesTheFormsInListOrder) {
  HWND A = NewForm();
  HWND B = NewForm();
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->SetShowLayeredBorders(false);
  Trace.Messages.clear();
  S->SendSkinDataMessage(WM_SKIN_CHANGED);
  EXPECT_EQ(Receivers(WM_SKIN_CHANGED), (std::vector<HWND>{A, B}));
}

TEST_F(SkinMessages, SettingsTellTheFormsOnlyWhenTheyChange) {
  HWND A = NewForm();
  auto S = CreateOwned<TspSkinData>(nullptr);
  auto Strings = CreateOwned<TspResourceStrData>(nullptr);
  struct Step {
    const char* What;
    std::function<void()> Do;
    std::vector<UINT> Sent;
  } Steps[] = {
      {"ShowLayeredBorders same", [&] { S->SetShowLayeredBorders(true); }, {}},
      {"ShowLayeredBorders off",
       [&] { S->SetShowLayeredBorders(false); },
       {WM_SKIN_LAYERED_BORDERS_CHANGED}},
      {"SkinnableForm same", [&] { S->SetSkinnableForm(true); }, {}},
      {"SkinnableForm off", [&] { S->SetSkinnableForm(false); }, {WM_SKIN_FORMSKINNABLE_CHANGED}},
      {"AeroBlurEnabled same", [&] { S->SetAeroBlurEnabled(true); }, {}},
      {"AeroBlurEnabled off", [&] { S->SetAeroBlurEnabled(false); }, {WM_SKIN_AEROBLUR_CHANGED}},
      {"ResourceStrData set",
       [&] { S->SetResourceStrData(Strings.get()); },
       {WM_SKIN_STRINGS_CHANGED}},
      {"ResourceStrData again",
       [&] { S->SetResourceStrData(Strings.get()); },
       {WM_SKIN_STRINGS_CHANGED}},
      {"ResourceStrData nil", [&] { S->SetResourceStrData(nullptr); }, {WM_SKIN_STRINGS_CHANGED}},
      {"GlobalChangeFont", [&] { S->GlobalChangeFont("X", 1); }, {}},
      {"plain fields",
       [&] {
         S->SetEnableSkinEffects(false);
         S->SetShowButtonGlowFrames(false);
         S->SetAnimationForAllWindows(true);
       },
       {}},
  };
  for (const Step& St : Steps) {
    SCOPED_TRACE(St.What);
    Trace.Messages.clear();
    St.Do();
    EXPECT_EQ(MessagesTo(A), St.Sent);
  }
}

TEST_F(SkinMessages, AFreedTextTableIsForgotten) {
  auto S = CreateOwned<TspSkinData>(nullptr);
  auto Strings = CreateOwned<TspResourceStrData>(nullptr);
  S->SetResourceStrData(Strings.get());
  EXPECT_EQ(S->ResourceStrData(), Strings.get());
  Strings.reset();
  EXPECT_EQ(S->ResourceStrData(), nullptr);
}

TEST_F(SkinMessages, AReceiverThatClosesALaterFormDoesNotBreakTheBroadcast) {
  HWND A = NewForm();
  NewForm();
  HWND C = NewForm();
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->SetShowLayeredBorders(false);
  Forms[0]->OnSkinMessage = [this](UINT) { Forms[1]->DestroyHandle(); };
  Trace.Messages.clear();
  S->SendSkinDataMessage(WM_SKIN_CHANGED);
  EXPECT_EQ(Receivers(WM_SKIN_CHANGED), (std::vector<HWND>{A, C}));
}

}  // namespace
