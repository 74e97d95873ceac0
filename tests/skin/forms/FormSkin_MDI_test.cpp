// The frame's MDI work: arrangements of the children, acting on all of them, the Window
// menu, the work area left by aligned panels, and the lookups of the children's frames.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ui/ExtCtrls.h"
#include "platform/win/Paint.h"
#include "skin/forms/FormSkinCaption.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

class FormSkinMDIWorkTest : public ::testing::Test {
 protected:
  uitest::FormsSession S;
  TForm* Main = nullptr;
  TspFormSkin* MainSkin = nullptr;
  std::vector<TForm*> Children;
  std::vector<TspFormSkin*> ChildSkins;

  // An MDI main form whose client area (the MDI work area) is W x H.
  void MakeMain(int W = 1000, int H = 600) {
    Application->CreateForm(Main);
    Main->SetFormStyle(fsMDIForm);
    Main->SetBounds(0, 0, W + 40, H + 60);
    MainSkin = Create<TspFormSkin>(Main);
    Main->Show();
    S.Session.PumpUntilIdle();
    Main->SetClientWidth(W);
    Main->SetClientHeight(H);
    S.Session.PumpUntilIdle();
  }

  TForm* AddChild(const String& Name) {
    TForm* Child = nullptr;
    Application->CreateForm(Child);
    Child->SetName(Name);
    Child->SetCaption(Name);
    Child->SetFormStyle(fsMDIChild);
    Child->SetBounds(10, 10, 300, 200);
    ChildSkins.push_back(Create<TspFormSkin>(Child));
    Child->Show();
    S.Session.PumpUntilIdle();
    Children.push_back(Child);
    return Child;
  }

  static TRect Bounds(TCustomForm* F) { return Rect(F->Left(), F->Top(), F->Width(), F->Height()); }
};

TEST_F(FormSkinMDIWorkTest, TileGivesTheCellsFromTheBottomRight) {
  MakeMain();
  TRect R{};
  MainSkin->GetMDIWorkArea(R);
  ASSERT_EQ(RectWidth(R), 1000);
  ASSERT_EQ(RectHeight(R), 600);
  AddChild("Doc1");
  MainSkin->Tile();
  EXPECT_EQ(Bounds(Children[0]), Rect(0, 0, 1000, 600));
  AddChild("Doc2");
  AddChild("Doc3");
  MainSkin->Tile();
  // One column of three rows: the last child at the bottom.
  EXPECT_EQ(Bounds(Children[2]), Rect(0, 400, 1000, 200));
  EXPECT_EQ(Bounds(Children[1]), Rect(0, 200, 1000, 200));
  EXPECT_EQ(Bounds(Children[0]), Rect(0, 0, 1000, 200));
  AddChild("Doc4");
  AddChild("Doc5");
  MainSkin->Tile();
  EXPECT_EQ(Bounds(Children[4]), Rect(500, 400, 500, 200));
  EXPECT_EQ(Bounds(Children[3]), Rect(500, 200, 500, 200));
  EXPECT_EQ(Bounds(Children[2]), Rect(500, 0, 500, 200));
  EXPECT_EQ(Bounds(Children[1]), Rect(0, 300, 500, 300));
  EXPECT_EQ(Bounds(Children[0]), Rect(0, 0, 500, 300));
}

TEST_F(FormSkinMDIWorkTest, CascadeStepsByTheSkinsClientTop) {
  MakeMain();
  for (const char* N : {"Doc1", "Doc2", "Doc3"}) AddChild(N);
  TOwned<TspSkinData> Skin = CreateOwned<TspSkinData>(nullptr);
  Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
  ASSERT_FALSE(Skin->Empty);
  MainSkin->FSD = Skin.get();
  MainSkin->NewClRect = Rect(4, 25, 200, 150);
  const int CW = std::max(950, MainSkin->GetMinWidth()), CH = std::max(550, MainSkin->GetMinHeight());
  MainSkin->Cascade();
  EXPECT_EQ(Bounds(Children[2]), Rect(0, 0, CW, CH));
  EXPECT_EQ(Bounds(Children[1]), Rect(25, 25, CW, CH));
  EXPECT_EQ(Bounds(Children[0]), Rect(50, 50, CW, CH));
  // A client rectangle at the very top still steps.
  MainSkin->NewClRect = Rect(4, 0, 200, 150);
  MainSkin->Cascade();
  EXPECT_EQ(Children[0]->Left(), 2);
  MainSkin->FSD = nullptr;
}

TEST_F(FormSkinMDIWorkTest, AllChildrenAtOnce) {
  MakeMain();
  for (const char* N : {"Doc1", "Doc2", "Doc3"}) AddChild(N);
  MainSkin->MinimizeAll();
  for (int I = 0; I < 3; ++I) {
    EXPECT_EQ(ChildSkins[I]->WindowState(), wsMinimized);
    EXPECT_EQ(Children[I]->Left(), I * ChildSkins[I]->GetMinWidth());
    EXPECT_EQ(Children[I]->Top(), 600 - ChildSkins[I]->GetMinHeight());
  }
  MainSkin->RestoreAll();
  for (int I = 0; I < 3; ++I) {
    EXPECT_EQ(ChildSkins[I]->WindowState(), wsNormal);
    EXPECT_EQ(Bounds(Children[I]), Rect(10, 10, 300, 200));
  }
  MainSkin->MaximizeAll();
  EXPECT_EQ(Bounds(Children[1]), Rect(0, 0, 1000, 600));
  EXPECT_TRUE(MainSkin->GetMDIChildMaximized());
  MainSkin->RestoreAll();
  std::vector<String> Closed;
  for (TForm* C : Children)
    C->OnClose = [&Closed, C](TObject*, TCloseAction& Action) {
      Closed.push_back(C->Name());
      Action = caHide;
    };
  MainSkin->CloseAll();
  EXPECT_EQ(Closed, (std::vector<String>{"Doc3", "Doc2", "Doc1"}));
}

TEST_F(FormSkinMDIWorkTest, TheWindowMenuListsTheShownChildren) {
  MakeMain();
  TMenuItem* Window = TMenuItem::Create(Main);
  Main->SetWindowMenu(Window);
  TForm* Doc1 = AddChild("Doc1");
  ASSERT_EQ(Window->Count(), 1);
  TMenuItem* Item = Window->Items(0);
  EXPECT_EQ(Item->Name(), "Doc1_DSFCHILDITEM");
  EXPECT_EQ(Item->Caption(), "Doc1");
  Doc1->SetCaption("Report");
  EXPECT_EQ(Item->Caption(), "Report");
  ChildSkins[0]->SetWindowState(wsMinimized);
  Doc1->Hide();
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Window->Count(), 0);
  Doc1->Show();
  S.Session.PumpUntilIdle();
  ASSERT_EQ(Window->Count(), 1);
  Window->Items(0)->Click();
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(Doc1->Visible());
  EXPECT_EQ(ChildSkins[0]->WindowState(), wsNormal);
  EXPECT_EQ(Bounds(Doc1), Rect(10, 10, 300, 200));
}

TEST_F(FormSkinMDIWorkTest, TheWorkAreaLeavesOutVisibleAlignedPanels) {
  MakeMain();
  struct Side {
    TAlign Align;
    int Size;
  };
  for (const Side& Sd : {Side{alTop, 30}, Side{alBottom, 20}, Side{alLeft, 50}, Side{alRight, 40}}) {
    auto* P = new TPanel(Main);
    P->SetParent(Main);
    P->SetAlign(Sd.Align);
    if (Sd.Align == alTop || Sd.Align == alBottom)
      P->SetHeight(Sd.Size);
    else
      P->SetWidth(Sd.Size);
  }
  auto* Hidden = new TPanel(Main);
  Hidden->SetParent(Main);
  Hidden->SetAlign(alTop);
  Hidden->SetHeight(100);
  Hidden->SetVisible(false);
  TRect R{};
  MainSkin->GetMDIWorkArea(R);
  EXPECT_EQ(R, Rect(50, 30, 960, 580));
  // The client window, where the children live, takes that room.
  S.Session.PumpUntilIdle();
  RECT C{};
  GetWindowRect(Main->ClientHandle(), &C);
  const TPoint Origin = Main->ClientToScreen(Point(0, 0));
  EXPECT_EQ(Rect(C.Left - Origin.X, C.Top - Origin.Y, C.Right - Origin.X, C.Bottom - Origin.Y), R);
  Main->SetClientHeight(500);
  S.Session.PumpUntilIdle();
  GetWindowRect(Main->ClientHandle(), &C);
  EXPECT_EQ(C.Bottom - Origin.Y, 480);
}

TEST_F(FormSkinMDIWorkTest, AChildSnapsToTheWorkAreaBelowAToolBar) {
  MakeMain();
  auto* Bar = new TPanel(Main);
  Bar->SetParent(Main);
  Bar->SetAlign(alTop);
  Bar->SetHeight(30);
  AddChild("Doc1");
  ChildSkins[0]->SetMagnetic(true);
  const TPoint Origin = Main->ClientToScreen(Point(0, 0));
  int L = Origin.X + 200, T = Origin.Y + 30 + 6;
  ChildSkins[0]->MagneticMove(L, T, 300, 200);
  EXPECT_EQ(L, Origin.X + 200);
  EXPECT_EQ(T, Origin.Y + 30);
  ChildSkins[0]->HMagnetized = ChildSkins[0]->VMagnetized = false;
  L = Origin.X + 1000 - 300 + 4;
  T = Origin.Y + 200;
  ChildSkins[0]->MagneticMove(L, T, 300, 200);
  EXPECT_EQ(L, Origin.X + 700);
}

TEST_F(FormSkinMDIWorkTest, TheClientWindowShowsTheMDIBackgroundElseTheFormsBackground) {
  MakeMain(400, 300);
  struct Case {
    const char* What;
    bool MDIPicture;
    TColor Expected;
  };
  const Case Cases[] = {{"MDI background picture", true, clLime}, {"the form's background picture", false, clYellow}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    auto Skin = CreateOwned<TspSkinData>(nullptr);
    Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
    ASSERT_FALSE(Skin->Empty);
    Skin->BGPictureIndex = Skin->FActivePictures.Add(FlatBitmap(30, 30, clYellow));
    Skin->MDIBGPictureIndex = C.MDIPicture ? Skin->FActivePictures.Add(FlatBitmap(30, 30, clLime)) : -1;
    MainSkin->SetSkinData(Skin.get());
    S.Session.PumpUntilIdle();
    RedrawWindow(Main->ClientHandle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
    S.Session.PumpUntilIdle();
    const win::Surface Shot = S.Session.Capture(Main->ClientHandle());
    EXPECT_EQ(SurfaceColour(Shot, 5, 5), C.Expected);
    ASSERT_GT(Shot.Width(), 100);
    EXPECT_EQ(SurfaceColour(Shot, Shot.Width() - 1, Shot.Height() - 1), C.Expected);
    MainSkin->SetSkinData(nullptr);
    S.Session.PumpUntilIdle();
  }
}

TEST_F(FormSkinMDIWorkTest, AMaximizedChildRefitsAfterTheClientWindowIsResized) {
  MakeMain();
  AddChild("Doc1");
  ChildSkins[0]->SetWindowState(wsMaximized);
  EXPECT_EQ(Bounds(Children[0]), Rect(0, 0, 1000, 600));
  Main->SetClientWidth(800);
  Main->SetClientHeight(500);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Bounds(Children[0]), Rect(0, 0, 800, 500));
}

TEST_F(FormSkinMDIWorkTest, MinimizedClientModeChildrenWithoutASkinDoNotHang) {
  MakeMain();
  for (const char* N : {"Doc1", "Doc2", "Doc3"}) AddChild(N);
  for (int I = 0; I < 3; ++I) {
    ChildSkins[I]->SetSupportNCArea(false);
    ASSERT_EQ(ChildSkins[I]->GetMinWidth(), 0);
    ChildSkins[I]->FWindowState = wsMinimized;
    Children[I]->SetBounds(0, 0, 100, 100);
  }
  MainSkin->ArrangeMinimizedChildren();
  // A pixel apart each way: no cell of zero size.
  EXPECT_EQ(Children[0]->Left(), 0);
  EXPECT_EQ(Children[1]->Left(), 1);
  EXPECT_EQ(Children[2]->Left(), 2);
  EXPECT_EQ(Children[2]->Top(), 600 - std::max(1, ChildSkins[2]->GetMinHeight()));
}

TEST_F(FormSkinMDIWorkTest, LookupsFindTheFirstComponentAndTheFirstMaximizedChild) {
  MakeMain();
  AddChild("Doc1");
  AddChild("Doc2");
  AddChild("Doc3");
  TspFormSkin* Second = Create<TspFormSkin>(Children[0]);
  EXPECT_EQ(FindSkinFormComponent(Children[0]), ChildSkins[0]);
  EXPECT_NE(Second, ChildSkins[0]);
  EXPECT_EQ(FindSkinFormComponent(nullptr), nullptr);
  EXPECT_EQ(FindMaximizedChildSkinForm(), nullptr);
  ChildSkins[2]->SetWindowState(wsMaximized);
  ChildSkins[1]->SetWindowState(wsMaximized);
  Children[2]->BringToFront();
  EXPECT_EQ(FindMaximizedChildSkinForm(), ChildSkins[1]);
  EXPECT_EQ(FindActiveChildSkinForm(), ChildSkins[2]);
  Second->Free();
}

}  // namespace
}  // namespace vantrel::frametest

namespace vantrel::frametest {
namespace {

TEST_F(FormSkinMDIWorkTest, TheMainCaptionNamesTheMaximizedChild) {
  MakeMain();
  Main->SetCaption("Vantrel");
  auto* Skin = Create<TspSkinData>(Main);
  Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
  MainSkin->SetSkinData(Skin);
  S.Session.PumpUntilIdle();
  auto* Caption = dynamic_cast<TspSkinCaptionObject*>(MainSkin->ObjectAt(MainSkin->GetIndex("caption")));
  ASSERT_NE(Caption, nullptr);
  AddChild("Report");
  EXPECT_EQ(Caption->CaptionText(), "Vantrel");
  ChildSkins[0]->SetWindowState(wsMaximized);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Caption->CaptionText(), "Vantrel - [Report]");
  ChildSkins[0]->SetWindowState(wsNormal);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Caption->CaptionText(), "Vantrel");
}

}  // namespace
}  // namespace vantrel::frametest
