// The skin data store without files: values after creation, lookups by name, clearing, the
// picture list, font rewriting, the skin messages it sends to the forms and the cursors it
// puts on the screen (the application's real forms and screen on the headless display).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/win/Cursor.h"
#include "platform/win/GdiObjects.h"
#include "platform/win/SysColors.h"
#include "skin/core/data/SkinData.h"
#include "tests/skin/core/SkinData_TestKit.h"
#include "tests/skin/core/SkinDescriptors_TestKit.h"
#include "tests/support/UiFormsFixture.h"

using namespace vantrel::test;
using vantrel::display::HeadlessSession;
using vantrel::uitest::FormsSession;

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
  WriteFileBytes(Dir.Path() + "fake.jpg", ReadFileBytes(Dir.Path() + "one.bmp"));
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

TEST(SkinStore, GlobalChangeFontReachesExactlyTheTextFontsItShould) {
  // Every kind of the skin format: does the new name and the corrected height reach its
  // font (and, for the grid and the list boxes, their second font)? The frame's main menu
  // items and the kinds outside the list keep their fonts.
  struct Row {
    const char* Kind;
    bool Object;
    bool Changes;
    const char* SecondFont = "";
  } Rows[] = {
      {"label", true, true},           {"menuitem", true, true},
      {"mainmenubaritem", true, true}, {"caption", true, true},
      {"mainmenuitem", true, false},   {"mainmenubarbutton", true, false},
      {"stdbutton", true, false},      {"button", true, false},
      {"trackbar", true, false},       {"gauge", true, false},
      {"framegauge", true, false},     {"frameregulator", true, false},
      {"bitlabel", true, false},       {"switch", true, false},
      {"animate", true, false},        {"userobject", true, false},
      {"treeview", false, true},       {"listview", false, true},
      {"richedit", false, true},       {"tab", false, true},
      {"grid", false, true, "fixed"},  {"combobox", false, true},
      {"listbox", false, true, "caption"},
      {"checklistbox", false, true, "caption"},
      {"spinedit", false, true},       {"edit", false, true},
      {"memo", false, true},           {"stdlabel", false, true},
      {"label", false, true},          {"gauge", false, true},
      {"button", false, true},         {"menubutton", false, true},
      {"checkradio", false, true},     {"panel", false, true},
      {"expanel", false, true},        {"slider", false, false},
      {"bevel", false, false},         {"splitter", false, false},
      {"trackbar", false, false},      {"bitlabel", false, false},
      {"frameregulator", false, false}, {"framegauge", false, false},
      {"animate", false, false},       {"updown", false, false},
      {"switch", false, false},        {"mainmenubar", false, false},
      {"controlbar", false, false},    {"scrollbar", false, false},
      {"scrollbox", false, false},
  };
  // Each descriptor reads its fonts from section [d]: every font it has is "Old", 10.
  auto Old = vantrel::test::IniFromText(
      "[d]\nfontname=Old\nfontheight=10\nfixedfontname=Old\nfixedfontheight=10\n"
      "captionfontname=Old\ncaptionfontheight=10\n");
  for (const Row& R : Rows) {
    SCOPED_TRACE(std::string(R.Kind) + (R.Object ? " (object)" : " (control)"));
    auto S = CreateOwned<TspSkinData>(nullptr);
    if (R.Object) {
      S->ObjectList.Add(vantrel::skin::CreateSkinObject(R.Kind, "d"));
      S->ObjectList[0]->LoadFromFile(Old.get());
    } else {
      S->CtrlList.Add(vantrel::skin::CreateSkinControl(R.Kind, "d"));
      S->CtrlList[0]->LoadFromFile(Old.get());
    }
    S->GlobalChangeFont("New", 2);
    auto Out = vantrel::test::IniFromText("");
    if (R.Object)
      S->ObjectList[0]->SaveToFile(Out.get());
    else
      S->CtrlList[0]->SaveToFile(Out.get());
    for (const std::string Prefix : {"", "fixed", "caption"}) {
      SCOPED_TRACE(Prefix + "font");
      const bool Changed = R.Changes && (Prefix.empty() || Prefix == R.SecondFont);
      const String Name = Out->ReadString("d", Prefix + "fontname", "");
      const String Height = Out->ReadString("d", Prefix + "fontheight", "");
      if (Changed) {
        EXPECT_EQ(Name, "New");
        EXPECT_EQ(Height, "12");
      } else {
        EXPECT_NE(Name, "New");
        EXPECT_NE(Height, "12");
      }
    }
  }
}

// ---- Skin messages ------------------------------------------------------------------------

class SkinMessages : public ::testing::Test {
 protected:
  FormsSession Session;
  SkinTrace Trace;

  // A recording form made through the application; the first one is the main form.
  template <class T = TSkinRecordingForm>
  T* NewForm() {
    T* F = nullptr;
    Application->CreateForm(F);
    F->Trace = &Trace;
    return F;
  }
  // The windows of the trace that received Msg, in order.
  std::vector<HWND> Receivers(UINT Msg) const {
    std::vector<HWND> R;
    for (const auto& [Wnd, M] : Trace.Messages)
      if (M == Msg) R.push_back(Wnd);
    return R;
  }
  std::vector<UINT> MessagesTo(TForm* Form) const {
    std::vector<UINT> R;
    for (const auto& [W, M] : Trace.Messages)
      if (Form->HandleAllocated() && W == Form->Handle()) R.push_back(M);
    return R;
  }
  static std::vector<HWND> Windows(std::initializer_list<TForm*> Forms) {
    std::vector<HWND> R;
    for (TForm* F : Forms) R.push_back(F->Handle());
    return R;
  }
};

TEST_F(SkinMessages, WithoutLayeredBordersTheOwnerFormHearsFirstThenTheOthersInListOrder) {
  TForm* A = NewForm();
  TForm* Owner = NewForm();
  TForm* Layer = NewForm<TspFormLayerWindow>();
  TForm* B = NewForm();
  TForm* C = NewForm();
  // Only the main form has a window yet: the broadcast makes the others'.
  ASSERT_FALSE(B->HandleAllocated() || C->HandleAllocated() || Owner->HandleAllocated());
  TspSkinData* S = TspSkinData::Create(Owner);  // owned by its form
  S->SetShowLayeredBorders(false);
  S->LayerFrame->PictureIndex = 2;  // plays no part without layered borders
  Trace = SkinTrace{};

  S->ClearSkin();
  const std::vector<HWND> Order = Windows({Owner, A, B, C});
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
  TForm* A = NewForm();
  TForm* Owner = NewForm();
  TForm* B = NewForm();
  NewForm<TspFormLayerWindow>();
  TspSkinData* S = TspSkinData::Create(Owner);
  S->LayerFrame->PictureIndex = 2;  // a clear would set it to none first
  S->SendSkinDataMessage(WM_SKIN_BEFORE_CHANGE);
  S->SendSkinDataMessage(WM_SKIN_AEROBLUR_CHANGED);
  EXPECT_EQ(Receivers(WM_SKIN_BEFORE_CHANGE), Windows({B, Owner, A}));
  EXPECT_EQ(Receivers(WM_SKIN_AEROBLUR_CHANGED), Windows({B, Owner, A}));
}

TEST_F(SkinMessages, LayeredBordersWithoutAPictureServeEveryFormInListOrder) {
  TForm* A = NewForm();
  TForm* Owner = NewForm();
  TForm* B = NewForm();
  TspSkinData* S = TspSkinData::Create(Owner);
  S->ClearSkin();  // the clear also sets the layer picture to none
  EXPECT_EQ(Receivers(WM_SKIN_CHANGED), Windows({A, Owner, B}));
}

TEST_F(SkinMessages, AStoreOwnedByNoFormServesTheFormsInListOrder) {
  TForm* A = NewForm();
  TForm* B = NewForm();
  // Owners that are no form: a windowed control a form owns, one without owner or
  // parent, the application.
  auto* Control = TWinControl::Create(B);
  TOwned<TWinControl> Loose(TWinControl::Create(nullptr));
  const std::pair<const char*, TComponent*> Owners[] = {
      {"none", nullptr}, {"control of a form", Control}, {"the application", Application},
      {"windowed control", Loose.get()}};
  for (const auto& [What, Owner] : Owners) {
    SCOPED_TRACE(What);
    auto S = CreateOwned<TspSkinData>(nullptr);
    if (Owner) Owner->InsertComponent(S.get());
    S->SetShowLayeredBorders(false);
    Trace = SkinTrace{};
    S->SendSkinDataMessage(WM_SKIN_CHANGED);
    EXPECT_EQ(Receivers(WM_SKIN_CHANGED), Windows({A, B}));
    if (Owner) Owner->RemoveComponent(S.get());
  }
}

TEST_F(SkinMessages, TheFormListFollowsTheFormsMadeAndFreed) {
  TForm* A = NewForm();
  TForm* B = NewForm();
  TForm* C = NewForm();
  auto S = CreateOwned<TspSkinData>(nullptr);
  B->Free();
  TForm* D = NewForm();
  S->SendSkinDataMessage(WM_SKIN_CHANGED);
  EXPECT_EQ(Receivers(WM_SKIN_CHANGED), Windows({A, C, D}));
}

TEST_F(SkinMessages, SettingsTellTheFormsOnlyWhenTheyChange) {
  TForm* A = NewForm();
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

TEST_F(SkinMessages, AReceiverThatFreesALaterFormDoesNotBreakTheBroadcast) {
  auto* A = NewForm();
  auto* B = NewForm();
  auto* C = NewForm();
  B->HandleNeeded();
  const HWND Gone = B->Handle();
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->SetShowLayeredBorders(false);
  A->OnSkinMessage = [&B](UINT) {
    if (B) B->Free();
    B = nullptr;
  };
  Trace = SkinTrace{};
  S->SendSkinDataMessage(WM_SKIN_CHANGED);
  EXPECT_EQ(Receivers(WM_SKIN_CHANGED), Windows({A, C}));
  EXPECT_FALSE(IsWindow(Gone));
}

TEST(SkinMessagesWithoutApplication, OnlyAnOwnerFormHears) {
  HeadlessSession Session;
  ASSERT_EQ(Screen, nullptr);
  SkinTrace Trace;
  TOwned<TSkinRecordingForm> Owner(TSkinRecordingForm::Create(nullptr, &Trace));
  TOwned<TSkinRecordingForm> Other(TSkinRecordingForm::Create(nullptr, &Trace));
  Other->HandleNeeded();
  TspSkinData* S = TspSkinData::Create(Owner.get());
  S->SetShowLayeredBorders(false);
  S->ClearSkin();
  EXPECT_EQ(Trace.Messages,
            (std::vector<std::pair<HWND, UINT>>{{Owner->Handle(), WM_SKIN_LAYERED_BORDERS_CHANGED},
                                                {Owner->Handle(), WM_SKIN_BEFORE_CHANGE},
                                                {Owner->Handle(), WM_SKIN_CHANGED},
                                                {Owner->Handle(), WM_SKIN_AFTER_CHANGE}}));
  // With layered borders the owner is served from the form list, which is empty here.
  Trace = SkinTrace{};
  S->SetShowLayeredBorders(true);
  S->ClearSkin();
  auto Loose = CreateOwned<TspSkinData>(nullptr);
  Loose->ClearSkin();
  EXPECT_TRUE(Trace.Messages.empty());
}

// ---- Cursors ------------------------------------------------------------------------------

bool IsLiveHandle(HCURSOR Cursor) { return vantrel::win::FindGdiObject(Cursor) != nullptr; }

// A skin folder whose cursors go from slot 3: a cursor file, then one that is missing.
void WriteCursorSkin(const SkinFolder& Dir) {
  WriteFileBytes(Dir.Path() + "hand.cur", SkinCursorFileBytes());
  Dir.WriteIni(MinimalSkinIni(
      "[CURSORS]\nstartcursorindex=3\ncursorscount=2\n0=hand.cur\n1=missing.cur\n"));
}

TEST(SkinCursors, GoToTheScreensSlotsWhichOwnThemUntilTheScreenGoes) {
  HeadlessSession Session;
  SkinFolder Dir;
  WriteCursorSkin(Dir);
  const HCURSOR Arrow = LoadCursor(nullptr, IDC_ARROW);
  HCURSOR Loaded = nullptr;
  {
    TApplicationInstance App;
    const HCURSOR Before = CopyCursor(LoadCursor(nullptr, IDC_CROSS));
    Screen->SetCursors(4, Before);
    auto S = CreateOwned<TspSkinData>(nullptr);
    S->LoadFromFile(Dir.Ini());

    Loaded = Screen->Cursors(3);
    EXPECT_NE(Loaded, Arrow);
    EXPECT_EQ(vantrel::win::StandardCursorId(Loaded), 0u);  // the file's, not a shared one
    ICONINFO Info{};
    ASSERT_TRUE(GetIconInfo(Loaded, &Info));
    EXPECT_EQ(Info.xHotspot, 1u);
    DeleteObject(Info.hbmMask);
    DeleteObject(Info.hbmColor);
    // The missing file leaves its slot with the default shape, and what the slot held
    // before is freed.
    EXPECT_EQ(Screen->Cursors(4), Arrow);
    EXPECT_FALSE(IsLiveHandle(Before));
    EXPECT_EQ(Screen->Cursors(2), Arrow);  // below StartCursorIndex: untouched
    EXPECT_EQ(vantrel::skin::ScreenCursor(3), Loaded);
    EXPECT_EQ(vantrel::skin::ScreenCursor(4), nullptr);

    // Loading again replaces the cursor and frees the old one; the store going frees
    // nothing of the screen's.
    S->LoadFromFile(Dir.Ini());
    EXPECT_FALSE(IsLiveHandle(Loaded));
    Loaded = Screen->Cursors(3);
    EXPECT_TRUE(IsLiveHandle(Loaded));
    S.reset();
    EXPECT_EQ(Screen->Cursors(3), Loaded);
    EXPECT_TRUE(IsLiveHandle(Loaded));
  }
  EXPECT_FALSE(IsLiveHandle(Loaded));  // freed with the screen
}

TEST(SkinCursors, WithoutAnApplicationStayWithTheStoreSide) {
  HeadlessSession Session;
  SkinFolder Dir;
  WriteCursorSkin(Dir);
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->LoadFromFile(Dir.Ini());
  const HCURSOR Loaded = vantrel::skin::ScreenCursor(3);
  ASSERT_NE(Loaded, nullptr);
  ExpectStoredFolderLoadsBack(*S);
  EXPECT_EQ(vantrel::skin::ScreenCursor(4), nullptr);
  S->LoadFromFile(Dir.Ini());
  EXPECT_FALSE(IsLiveHandle(Loaded));  // replaced and freed
  vantrel::skin::InstallScreenCursor(3, nullptr);
  EXPECT_EQ(vantrel::skin::ScreenCursor(3), nullptr);
}

}  // namespace
