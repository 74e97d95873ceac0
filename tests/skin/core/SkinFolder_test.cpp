// Skin folders: loading skin.ini with its pictures and cursors into the store (with the
// skin messages around it), the [FORMINFO] adjustments, what is not a skin, loads that
// fail half-way, and the writers: skin.ini merged into an existing file and a whole folder
// that loads back into an equal store, byte for byte the same each time.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/rtl/FileUtils.h"
#include "platform/ui/Jpeg.h"
#include "platform/win/Cursor.h"
#include "platform/win/SysColors.h"
#include "skin/core/data/SkinData.h"
#include "tests/skin/core/SkinData_TestKit.h"
#include "tests/skin/core/SkinDescriptors_TestKit.h"

using namespace vantrel::test;
using vantrel::display::HeadlessSession;

namespace {

std::string PointText(const TPoint& P) { return std::to_string(P.X) + "," + std::to_string(P.Y); }

// A skin that uses most of the format: pictures (one JPEG), cursors, frame geometry,
// window sections, areas, colours, objects and controls with odd entries among them.
std::string FullSkinIni() {
  return R"([VERSION]
ver=2
skinname=Test Skin
skinauthor=Someone
authoremail=a@b.c
authorurl=http://example.org
skincomments=Made by a test
[PICTURES]
picture=frame.bmp
inactivepicture=frame2.bmp
mask=mask.bmp
rolluppicture=
rollupmask=
activepicturescount=3
0=buttons.bmp
1=photo.jpg
2=buttons.bmp
[CURSORS]
startcursorindex=4
cursorscount=2
0=hand.cur
1=missing.cur
[FORMINFO]
lefttoppoint=5,5
righttoppoint=40,2
leftbottompoint=2,40
rightbottompoint=40,40
clientrect=10,10,30,30
bgpictureindex=1
buttonsrect=1,2,3,4
captionrect=5,6,7,8
buttonsoffset=3
buttonsinleft=1
hittestlefttoppoint=0,7
hittestrighttoppoint=3,4
stretchtype=stvert
mdibgstretchtype=sthorz
stretcheffect=1
borderwidth=4
formminwidth=100
formminheight=80
cursorindex=2
inactiveeffect=iedarkness
sizegriparea=60,60,70,70
statusbarname=StatusBar
[LAYERFRAME]
pictureindex=0
alphablendvalue=200
[POPUPWINDOW]
windowpictureindex=0
itemsrect=2,2,20,20
[HINTWINDOW]
fontname=Tahoma
[SKINAREAS]
count=2
0=caption:1,2,30,12
1=grip:100,100,110,110
[SKINCOLORS]
cbtnface=12632256
c3ddkshadow=255
[SKINOBJECTS]
count=5
0=Caption:caption
1=close:stdbutton
2=odd:caption:extra
3=nokind
4=menu:menuitem
[Caption]
fontheight=18
[close]
hint=Maximize
command=cmmaximize
[menu]
checkimagerect=1,1,9,9
[SKINCONTROLS]
count=4
0=nothing
1=button:button
2=Edit:edit
3=button:label
[button]
fontname=Verdana
skinrect=0,0,20,10
[Edit]
activefontcolor=255
)";
}

class SkinFolderTest : public ::testing::Test {
 protected:
  HeadlessSession Session;
  SkinTrace Trace;
  std::vector<TOwned<TSkinTestForm>> Forms;
  SkinFolder Dir;

  HWND NewForm() {
    TOwned<TSkinTestForm> F(TSkinTestForm::Create(nullptr, &Trace));
    F->SetBounds(0, 0, 40, 30);
    F->HandleNeeded();
    HWND W = F->Handle();
    Forms.push_back(std::move(F));
    return W;
  }

  void WriteFullSkin() {
    Dir.WriteIni(FullSkinIni());
    Dir.Picture("frame.bmp", 50, 50, 0x202020);
    Dir.Picture("frame2.bmp", 50, 50, 0x404040);
    Dir.Picture("mask.bmp", 50, 50, 0xFFFFFF);
    Dir.Picture("buttons.bmp", 16, 8, 0x00FF00);
    auto B = CreateOwned<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(12, 10);
    auto J = CreateOwned<TJPEGImage>();
    J->Assign(B.get());
    J->SaveToFile(Dir.Path() + "photo.jpg");
    WriteFileBytes(Dir.Path() + "hand.cur", SkinCursorFileBytes());
  }

  std::vector<UINT> Messages() const {
    std::vector<UINT> R;
    for (const auto& M : Trace.Messages) R.push_back(M.second);
    return R;
  }
};

const std::vector<UINT> FolderChangeMessages = {WM_SKIN_BEFORE_CHANGE, WM_SKIN_CHANGED,
                                          WM_SKIN_AFTER_CHANGE};

TEST_F(SkinFolderTest, ASkinFolderLoadsIntoTheStore) {
  WriteFullSkin();
  NewForm();
  auto S = CreateOwned<TspSkinData>(nullptr);
  Trace.Store = S.get();
  std::vector<std::string> Events;
  S->OnLoadData = [&](TObject* Sender) {
    EXPECT_EQ(Sender, S.get());
    Events.push_back("load data, " + std::to_string(Trace.Messages.size()) + " messages");
  };
  S->LoadFromFile(Dir.Ini());

  // Messages: before (loading, empty), changed (loading, full), after (done, full).
  EXPECT_EQ(Messages(), FolderChangeMessages);
  EXPECT_EQ(Trace.StoreStates,
            (std::vector<std::pair<bool, bool>>{{true, true}, {true, false}, {false, false}}));
  EXPECT_EQ(Events, (std::vector<std::string>{"load data, 1 messages"}));
  EXPECT_FALSE(S->Empty);
  EXPECT_FALSE(S->ChangeSkinDataProcess);

  EXPECT_EQ(S->SkinName, "Test Skin");
  EXPECT_EQ(S->SkinAuthor, "Someone");
  EXPECT_EQ(S->AuthorEmail, "a@b.c");
  EXPECT_EQ(S->AuthorURL, "http://example.org");
  EXPECT_EQ(S->SkinComments, "Made by a test");

  EXPECT_EQ(S->FPictureName, "frame.bmp");
  EXPECT_EQ(S->FPicture->Width(), 50);
  EXPECT_EQ(S->FInActivePicture->Height(), 50);
  EXPECT_EQ(S->FMask->Width(), 50);
  EXPECT_TRUE(S->FRollUpPicture->Empty());
  ASSERT_EQ(S->FActivePicturesNames->Count(), 3);
  ASSERT_EQ(S->FActivePictures.Count(), 3);
  EXPECT_EQ(S->FActivePictures[0]->Width(), 16);
  EXPECT_EQ(S->FActivePictures[1]->Width(), 12);  // decoded from JPEG
  EXPECT_EQ(S->FActivePictures[1]->Height(), 10);
  EXPECT_EQ(S->FActivePicturesNames->Get(2), "buttons.bmp");

  EXPECT_EQ(S->StartCursorIndex, 4);
  EXPECT_EQ(S->FCursorsNames->Count(), 2);
  EXPECT_NE(vantrel::skin::ScreenCursor(4), nullptr);
  EXPECT_EQ(vantrel::skin::ScreenCursor(5), nullptr);  // did not load: the default

  EXPECT_EQ(S->BGPictureIndex, 1);
  EXPECT_EQ(S->MDIBGPictureIndex, -1);
  EXPECT_EQ(RectText(S->ButtonsRect), "1,2,3,4");
  EXPECT_EQ(RectText(S->CaptionRect), "5,6,7,8");
  EXPECT_EQ(S->ButtonsOffset, 3);
  EXPECT_TRUE(S->CapButtonsInLeft);
  EXPECT_EQ(S->StretchType, spstVert);
  EXPECT_EQ(S->MDIBGStretchType, spstHorz);
  EXPECT_TRUE(S->StretchEffect);
  EXPECT_FALSE(S->LeftStretch);
  EXPECT_EQ(S->BorderW, 4);
  EXPECT_EQ(S->FormMinWidth, 100);
  EXPECT_EQ(S->CursorIndex, 2);
  EXPECT_EQ(S->InActiveEffect, ieDarkness);
  EXPECT_EQ(RectText(S->SizeGripArea), "60,60,70,70");
  EXPECT_EQ(S->StatusBarName, "StatusBar");

  EXPECT_EQ(S->LayerFrame->PictureIndex, 0);
  EXPECT_EQ(S->LayerFrame->AlphaBlendValue, 200);
  EXPECT_EQ(S->LayerFrame->InActiveAlphaBlendValue, 255);
  EXPECT_EQ(RectText(S->PopupWindow->ItemsRect), "2,2,20,20");
  EXPECT_EQ(S->HintWindow->FontName, "Tahoma");
  EXPECT_EQ(S->HintWindow->FontHeight, 14);

  ASSERT_EQ(S->AreaList.Count(), 2);
  EXPECT_EQ(S->GetAreaIndex("grip"), 1);
  EXPECT_EQ(RectText(S->AreaList[0]->AreaRect), "1,2,30,12");
  EXPECT_EQ(S->SkinColors()->cBtnFace(), 12632256);
  EXPECT_EQ(S->SkinColors()->c3DDkShadow(), 255);
  EXPECT_EQ(S->SkinColors()->cWindow(), 0);  // absent: 0, not the system colour

  // Objects: two-colon and colon-less entries build nothing.
  ASSERT_EQ(S->ObjectList.Count(), 3);
  EXPECT_EQ(S->GetIndex("Caption"), 0);
  EXPECT_EQ(S->GetIndex("caption"), -1);
  EXPECT_EQ(dynamic_cast<TspDataSkinCaption*>(S->ObjectList[0])->FontHeight, 18);
  auto* Close = dynamic_cast<TspDataSkinStdButton*>(S->ObjectList[S->GetIndex("close")]);
  ASSERT_TRUE(Close);
  EXPECT_EQ(Close->RestoreHint, "Restore");
  auto* Menu = dynamic_cast<TspDataSkinMenuItem*>(S->ObjectList[S->GetIndex("menu")]);
  ASSERT_TRUE(Menu);
  EXPECT_EQ(RectText(Menu->ActiveCheckImageRect), "1,1,9,9");
  // Controls: two of one name read the same section; the lookup finds the first.
  ASSERT_EQ(S->CtrlList.Count(), 3);
  EXPECT_EQ(S->GetControlIndex("button"), 0);
  EXPECT_STREQ(S->CtrlList[0]->ClassName(), "TspDataSkinButtonControl");
  EXPECT_STREQ(S->CtrlList[2]->ClassName(), "TspDataSkinLabelControl");
  EXPECT_EQ(dynamic_cast<TspDataSkinLabelControl*>(S->CtrlList[2])->FontName, "Verdana");
  EXPECT_EQ(dynamic_cast<TspDataSkinEditControl*>(S->CtrlList[1])->ActiveFontColor, 255);

  // The JPEG picture goes to the folder as BMP under its JPEG name and reads back.
  ExpectStoredFolderLoadsBack(*S);
}

TEST_F(SkinFolderTest, FormInfoIsAdjustedAfterReading) {
  struct Case {
    const char* What;
    std::string FormInfo;
    std::string Mask;
    std::function<void(TspSkinData&)> Check;
    std::string StartCursor = "1";
  } Cases[] = {
      {"corners pulled into the client rectangle",
       "lefttoppoint=5,5\nrighttoppoint=45,3\nleftbottompoint=3,45\nrightbottompoint=40,40\n"
       "clientrect=10,10,30,30\n",
       "",
       [](TspSkinData& S) {
         EXPECT_EQ(PointText(S.LTPoint), "10,10");
         EXPECT_EQ(PointText(S.RBPoint), "30,30");
         EXPECT_EQ(PointText(S.RTPoint), "30,10");
         EXPECT_EQ(PointText(S.LBPoint), "10,30");
       }},
      {"corners inside the bounds stay",
       "lefttoppoint=12,12\nrightbottompoint=28,28\nclientrect=10,10,30,30\n", "",
       [](TspSkinData& S) {
         EXPECT_EQ(PointText(S.LTPoint), "12,12");
         EXPECT_EQ(PointText(S.RBPoint), "28,28");
       }},
      {"same X of the two corners: nothing moves",
       "lefttoppoint=5,5\nrightbottompoint=5,40\nclientrect=10,10,30,30\n", "",
       [](TspSkinData& S) {
         EXPECT_EQ(PointText(S.LTPoint), "5,5");
         EXPECT_EQ(PointText(S.RBPoint), "5,40");
       }},
      {"mask without area: the client rectangle; open hit-test corners",
       "lefttoppoint=12,12\nrighttoppoint=28,12\nleftbottompoint=12,28\n"
       "rightbottompoint=28,28\nclientrect=10,10,30,30\nhittestlefttoppoint=0,7\n"
       "hittestrighttoppoint=3,4\nhittestleftbottompoint=9,0\n",
       "mask.bmp",
       [](TspSkinData& S) {
         EXPECT_EQ(RectText(S.MaskRectArea), "10,10,30,30");
         EXPECT_EQ(PointText(S.HitTestLTPoint), "12,12");
         EXPECT_EQ(PointText(S.HitTestRTPoint), "3,4");
         EXPECT_EQ(PointText(S.HitTestLBPoint), "12,28");
         EXPECT_EQ(PointText(S.HitTestRBPoint), "28,28");
       }},
      {"mask area widened to the client rectangle",
       "clientrect=10,10,30,30\nmaskrectarea=20,0,25,50\n", "mask.bmp",
       [](TspSkinData& S) { EXPECT_EQ(RectText(S.MaskRectArea), "10,0,30,50"); }},
      {"without a mask nothing of it changes", "clientrect=10,10,30,30\nhittestlefttoppoint=0,7\n",
       "",
       [](TspSkinData& S) {
         EXPECT_EQ(RectText(S.MaskRectArea), "0,0,0,0");
         EXPECT_EQ(PointText(S.HitTestLTPoint), "0,7");
       }},
      {"absent keys", "", "",
       [](TspSkinData& S) {
         EXPECT_EQ(S.BGPictureIndex, -1);
         EXPECT_EQ(S.MDIBGPictureIndex, -1);
         EXPECT_EQ(S.CursorIndex, -1);
         EXPECT_EQ(S.InActiveEffect, ieBrightness);
         EXPECT_EQ(S.StretchType, spstFull);
         EXPECT_EQ(S.BorderW, 0);
         EXPECT_EQ(S.StatusBarName, "");
         EXPECT_EQ(S.StartCursorIndex, 1);
         EXPECT_EQ(S.SkinColors()->cBtnFace(), 0);
       },
       ""},
      {"start cursor index below 1", "", "",
       [](TspSkinData& S) { EXPECT_EQ(S.StartCursorIndex, 1); }, "0"},
      {"start cursor index", "", "", [](TspSkinData& S) { EXPECT_EQ(S.StartCursorIndex, 7); }, "7"},
  };
  Dir.Picture("mask.bmp");
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    const std::string Cursors =
        C.StartCursor.empty() ? "" : "[CURSORS]\nstartcursorindex=" + C.StartCursor + "\n";
    Dir.WriteIni("[VERSION]\nver=2\n[PICTURES]\nmask=" + C.Mask + "\n" + Cursors +
                 "[FORMINFO]\nborderwidth=0\n" + C.FormInfo +
                 "[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=0\n");
    auto S = CreateOwned<TspSkinData>(nullptr);
    S->LoadFromFile(Dir.Ini());
    ASSERT_FALSE(S->Empty);
    C.Check(*S);
    ExpectStoredFolderLoadsBack(*S);
  }
}

TEST_F(SkinFolderTest, WhatIsNotASkinChangesNothingAndSendsNothing) {
  NewForm();
  Dir.WriteIni(MinimalSkinIni());
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->LoadFromFile(Dir.Ini());
  ASSERT_EQ(S->SkinName, "Minimal");
  ExpectStoredFolderLoadsBack(*S);
  Dir.Picture("picture.bmp");
  ForceDirectories(Dir.Path() + "folder.ini");
  struct Case {
    const char* What;
    std::string Text;  // written to other.ini unless empty
    std::string File;
  } Cases[] = {
      {"missing folder", "", "/no/such/folder/skin.ini"},
      {"missing file", "", Dir.Path() + "absent.ini"},
      {"a folder", "", Dir.Path() + "folder.ini"},
      {"a picture", "", Dir.Path() + "picture.bmp"},
      {"empty file", "\n", ""},
      {"controls section empty",
       "[VERSION]\nver=2\n[PICTURES]\npicture=\n[FORMINFO]\nborderwidth=1\n"
       "[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\n",
       ""},
      {"controls section without keys",
       "[VERSION]\nver=2\n[PICTURES]\npicture=\n[FORMINFO]\nborderwidth=1\n"
       "[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\n; a comment\nno key here\n",
       ""},
      {"no version",
       "[PICTURES]\npicture=\n[FORMINFO]\nborderwidth=1\n"
       "[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=0\n",
       ""},
      {"keys before any section",
       "ver=2\npicture=\nborderwidth=1\ncount=0\n[SKINCONTROLS]\ncount=0\n", ""},
  };
  Trace.Messages.clear();
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    std::string File = C.File;
    if (File.empty()) {
      File = Dir.Path() + "other.ini";
      WriteFileBytes(File, C.Text);
    }
    S->LoadFromFile(File);
    EXPECT_EQ(S->SkinName, "Minimal");
    EXPECT_FALSE(S->Empty);
    EXPECT_EQ(S->BorderW, 3);
    EXPECT_TRUE(Trace.Messages.empty());
  }
}

TEST_F(SkinFolderTest, ALoadThatFailsEndsTheChangeWithAnEmptyStore) {
  HWND A = NewForm();
  HWND B = NewForm();
  struct Case {
    const char* What;
    std::string Ini;
  } Cases[] = {
      {"missing frame picture",
       "[VERSION]\nver=2\n[PICTURES]\npicture=gone.bmp\n"
       "[FORMINFO]\nborderwidth=1\n[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=0\n"},
      {"missing listed picture",
       "[VERSION]\nver=2\n[PICTURES]\nactivepicturescount=2\n0=ok.bmp\n1=gone.bmp\n"
       "[FORMINFO]\nborderwidth=1\n[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=0\n"},
      {"picture that is no BMP",
       "[VERSION]\nver=2\n[PICTURES]\npicture=bad.bmp\n"
       "[FORMINFO]\nborderwidth=1\n[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=0\n"},
      {"JPEG that does not decode",
       "[VERSION]\nver=2\n[PICTURES]\npicture=bad.jpg\n"
       "[FORMINFO]\nborderwidth=1\n[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=0\n"},
      {"cursor entry naming a folder",
       MinimalSkinIni("[CURSORS]\ncursorscount=2\n0=missing.cur\n1=sub\n")},
      {"area without rectangle", MinimalSkinIni("[SKINAREAS]\ncount=1\n0=grip:\n")},
      {"area count beyond the entries",
       MinimalSkinIni("[SKINAREAS]\ncount=2000000000\n0=grip:1,1,2,2\n")},
      {"frame rectangle without digits",
       "[VERSION]\nver=2\n[PICTURES]\npicture=\n"
       "[FORMINFO]\nclientrect=a,b,c,d\n[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=0\n"},
      {"descriptor point without digits",
       "[VERSION]\nver=2\n[PICTURES]\npicture=\n[FORMINFO]\nborderwidth=1\n"
       "[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=1\n0=b:button\n[b]\nlefttoppoint=x\n"},
  };
  Dir.Picture("ok.bmp");
  WriteFileBytes(Dir.Path() + "bad.bmp", "BMnot really a bitmap");
  WriteFileBytes(Dir.Path() + "bad.jpg", std::string("\xFF\xD8\xFF\xE0 not a picture"));
  ForceDirectories(Dir.Path() + "sub");
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    // A good skin first: the failed load must not leave any of it.
    Dir.WriteIni(MinimalSkinIni("[SKINAREAS]\ncount=1\n0=old:1,2,3,4\n"));
    auto S = CreateOwned<TspSkinData>(nullptr);
    Trace.Store = S.get();
    S->LoadFromFile(Dir.Ini());
    ASSERT_FALSE(S->Empty);
    ExpectStoredFolderLoadsBack(*S);
    Trace = SkinTrace{};
    Trace.Store = S.get();

    Dir.WriteIni(C.Ini);
    EXPECT_ANY_THROW(S->LoadFromFile(Dir.Ini()));
    EXPECT_TRUE(S->Empty);
    EXPECT_FALSE(S->ChangeSkinDataProcess);
    EXPECT_EQ(S->AreaList.Count() + S->CtrlList.Count() + S->ObjectList.Count(), 0);
    EXPECT_EQ(S->FActivePictures.Count(), S->FActivePicturesNames->Count());
    EXPECT_EQ(S->FActivePictures.Count(), 0);
    EXPECT_EQ(S->GetAreaIndex("old"), -1);
    // Every form hears the change begin and end, the store empty by then.
    EXPECT_EQ(Trace.Messages, (std::vector<std::pair<HWND, UINT>>{{A, WM_SKIN_BEFORE_CHANGE},
                                                                  {B, WM_SKIN_BEFORE_CHANGE},
                                                                  {A, WM_SKIN_CHANGED},
                                                                  {B, WM_SKIN_CHANGED},
                                                                  {A, WM_SKIN_AFTER_CHANGE},
                                                                  {B, WM_SKIN_AFTER_CHANGE}}));
    ASSERT_EQ(Trace.StoreStates.size(), 6u);
    EXPECT_EQ(Trace.StoreStates[2], std::make_pair(true, true));
    EXPECT_EQ(Trace.StoreStates[5], std::make_pair(false, true));
  }
}

TEST_F(SkinFolderTest, ACursorEntryNamingAFolderFailsWithTheFileError) {
  NewForm();
  ForceDirectories(Dir.Path() + "cursors");
  Dir.WriteIni(MinimalSkinIni("[CURSORS]\ncursorscount=1\n0=cursors\n"));
  auto S = CreateOwned<TspSkinData>(nullptr);
  Trace.Store = S.get();
  try {
    S->LoadFromFile(Dir.Ini());
    ADD_FAILURE() << "the load did not fail";
  } catch (const EFOpenError& E) {
    EXPECT_EQ(E.Message(), "Cannot open file \"" + Dir.Path() + "cursors\". Is a directory");
  }
  EXPECT_TRUE(S->Empty);
  EXPECT_FALSE(S->ChangeSkinDataProcess);
  EXPECT_EQ(Messages(), FolderChangeMessages);
  EXPECT_EQ(Trace.StoreStates.back(), std::make_pair(false, true));

  // An empty entry names no file: like a file that does not load, it leaves the default.
  Dir.WriteIni(MinimalSkinIni("[CURSORS]\nstartcursorindex=30\ncursorscount=1\n0=\n"));
  S->LoadFromFile(Dir.Ini());
  EXPECT_FALSE(S->Empty);
  EXPECT_EQ(vantrel::skin::ScreenCursor(30), nullptr);
}

TEST_F(SkinFolderTest, PicturesAreDecodedByWhatTheFileHoldsNotByItsName) {
  // A BMP under a JPEG name (as a stored skin writes them) and a JPEG under a BMP name.
  Dir.Picture("stored.jpg", 7, 5, 0x0000FF);
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(12, 10);
  B->Canvas()->Brush()->SetColor(0x00FF00);
  B->Canvas()->FillRect(Rect(0, 0, 12, 10));
  auto J = CreateOwned<TJPEGImage>();
  J->Assign(B.get());
  J->SaveToFile(Dir.Path() + "photo.bmp");
  Dir.WriteIni("[VERSION]\nver=2\n[PICTURES]\npicture=stored.jpg\nactivepicturescount=1\n0=photo.bmp\n"
               "[FORMINFO]\nborderwidth=1\n[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=0\n");
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->LoadFromFile(Dir.Ini());
  ASSERT_FALSE(S->Empty);
  EXPECT_EQ(S->FPicture->Width(), 7);
  EXPECT_EQ(S->FPicture->Canvas()->Pixels(3, 2), 0x0000FF);
  ASSERT_EQ(S->FActivePictures.Count(), 1);
  EXPECT_EQ(S->FActivePictures[0]->Width(), 12);
  const TColor Green = S->FActivePictures[0]->Canvas()->Pixels(5, 5);
  EXPECT_LT(Green & 0xFF, 8);          // red, within the JPEG's error
  EXPECT_GT((Green >> 8) & 0xFF, 247);  // green
}

TEST_F(SkinFolderTest, AFailingLoadDataHandlerStillEndsTheChange) {
  NewForm();
  Dir.WriteIni(MinimalSkinIni());
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->OnLoadData = [](TObject*) { throw EAbort("stop"); };
  EXPECT_THROW(S->LoadFromFile(Dir.Ini()), EAbort);
  EXPECT_FALSE(S->ChangeSkinDataProcess);
  EXPECT_TRUE(S->Empty);
  EXPECT_EQ(Messages(), FolderChangeMessages);
}

TEST_F(SkinFolderTest, DescriptorListsReadOnlyTheEntriesThatExist) {
  // Counts far beyond the entries present are cut to the last entry there is.
  Dir.WriteIni(
      "[VERSION]\nver=2\n[PICTURES]\npicture=\n[FORMINFO]\nborderwidth=1\n"
      "[SKINOBJECTS]\ncount=-3\n0=cap:caption\n"
      "[SKINCONTROLS]\ncount=2147483647\n0=first\n1=b:button\n7=e:edit\n07=x:label\n"
      "12x=y:label\n");
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->LoadFromFile(Dir.Ini());
  ASSERT_FALSE(S->Empty);
  EXPECT_EQ(S->ObjectList.Count(), 0);  // a negative count reads nothing
  ASSERT_EQ(S->CtrlList.Count(), 2);
  EXPECT_EQ(S->CtrlList[0]->IDName, "b");
  EXPECT_EQ(S->CtrlList[1]->IDName, "e");
  ExpectStoredFolderLoadsBack(*S);
}

TEST_F(SkinFolderTest, ValuesAreCutToTheProfileReadersLimit) {
  const std::string Long(3000, 'x');
  Dir.WriteIni("[VERSION]\nskinname=" + Long + "\nskincomments=\xC3\xA9" + Long +
               "\n[PICTURES]\npicture=\n[FORMINFO]\nborderwidth=1\n"
               "[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=0\n");
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->LoadFromFile(Dir.Ini());
  EXPECT_EQ(S->SkinName, std::string(2047, 'x'));
  EXPECT_EQ(S->SkinComments, "\xC3\xA9" + std::string(2046, 'x'));  // characters, not bytes
  ExpectStoredFolderLoadsBack(*S);
}

TEST_F(SkinFolderTest, CursorsAreNotInstalledInBuildMode) {
  WriteFileBytes(Dir.Path() + "hand.cur", SkinCursorFileBytes());
  Dir.WriteIni(MinimalSkinIni("[CURSORS]\nstartcursorindex=20\ncursorscount=1\n0=hand.cur\n"));
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->BuildMode = true;
  S->LoadFromFile(Dir.Ini());
  EXPECT_EQ(S->FCursorsNames->Count(), 1);
  EXPECT_EQ(vantrel::skin::ScreenCursor(20), nullptr);
  S->BuildMode = false;
  S->LoadFromFile(Dir.Ini());
  EXPECT_NE(vantrel::skin::ScreenCursor(20), nullptr);
  ExpectStoredFolderLoadsBack(*S);
}

// ---- Writers ------------------------------------------------------------------------------

TEST_F(SkinFolderTest, AStoredFolderLoadsBackIntoAnEqualStoreWithTheSameBytes) {
  WriteFullSkin();
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->LoadFromFile(Dir.Ini());
  ASSERT_FALSE(S->Empty);
  // The JPEG was decoded: keep the round trip to BMP pictures.
  S->FActivePicturesNames->Put(1, "photo.bmp");

  SkinFolder Out1, Out2;
  S->StoreToDisk(Out1.Path());
  S->StoreToDisk(Out2.Path());
  auto Back = CreateOwned<TspSkinData>(nullptr);
  Back->LoadFromFile(Out1.Ini());
  ASSERT_FALSE(Back->Empty);
  EXPECT_EQ(StoreText(*Back), StoreText(*S));
  EXPECT_EQ(BitmapBytes(Back->FPicture.get()), BitmapBytes(S->FPicture.get()));
  EXPECT_EQ(BitmapBytes(Back->FInActivePicture.get()), BitmapBytes(S->FInActivePicture.get()));
  EXPECT_EQ(BitmapBytes(Back->FMask.get()), BitmapBytes(S->FMask.get()));
  ASSERT_EQ(Back->FActivePictures.Count(), 3);
  for (Integer i = 0; i < 3; ++i)
    EXPECT_EQ(BitmapBytes(Back->FActivePictures[i]), BitmapBytes(S->FActivePictures[i]));

  // Same store, same bytes; nothing for the empty roll-up pictures; no cursor files.
  for (const char* F :
       {"skin.ini", "frame.bmp", "frame2.bmp", "mask.bmp", "buttons.bmp", "photo.bmp"}) {
    SCOPED_TRACE(F);
    const std::string Bytes = ReadFileBytes(Out1.Path() + F);
    EXPECT_FALSE(Bytes.empty());
    EXPECT_EQ(Bytes, ReadFileBytes(Out2.Path() + F));
  }
  EXPECT_FALSE(FileExists(Out1.Path() + "hand.cur"));
  // The writer's section order; the second "button" (a label) wrote its section last.
  TStringList Sections;
  CreateOwned<TMemIniFile>(Out1.Ini())->ReadSections(Sections);
  EXPECT_EQ(Sections.CommaText(),
            "VERSION,PICTURES,CURSORS,FORMINFO,POPUPWINDOW,LAYERFRAME,HINTWINDOW,SKINAREAS,"
            "SKINCOLORS,SKINOBJECTS,Caption,close,menu,SKINCONTROLS,Edit,button");
}

TEST_F(SkinFolderTest, PicturesAreWrittenAsBmpEvenUnderAJpegName) {
  auto S = CreateOwned<TspSkinData>(nullptr);
  Dir.Picture("p.bmp", 4, 4);
  S->AddBitMap(Dir.Path() + "p.bmp");
  S->FActivePicturesNames->Put(0, "p.jpg");
  S->FPicture->SetSize(3, 3);  // a picture without a name has no file
  SkinFolder Out;
  S->StoreToDisk(Out.Path());
  EXPECT_EQ(ReadFileBytes(Out.Path() + "p.jpg").substr(0, 2), "BM");
  auto Ini = CreateOwned<TMemIniFile>(Out.Ini());
  EXPECT_EQ(Ini->ReadString("PICTURES", "activepicturescount", ""), "1");
  EXPECT_EQ(Ini->ReadString("PICTURES", "0", ""), "p.jpg");
  EXPECT_EQ(Ini->ReadString("VERSION", "ver", ""), "2");
}

TEST_F(SkinFolderTest, SavingIntoAnExistingFileKeepsTheSectionsTheStoreDoesNotWrite) {
  WriteFileBytes(Dir.Ini(),
                   "\xEF\xBB\xBF[Custom]\nmine=1\n[FORMINFO]\nstale=yes\nborderwidth=9\n"
                   "[oldbutton]\nfontname=Gone\n");
  auto S = CreateOwned<TspSkinData>(nullptr);
  S->BorderW = 2;
  S->CtrlList.Add(vantrel::skin::CreateSkinControl("button", "newbutton"));
  S->SaveToFile(Dir.Ini());
  auto Ini = CreateOwned<TMemIniFile>(Dir.Ini());
  EXPECT_EQ(Ini->ReadString("Custom", "mine", ""), "1");
  EXPECT_EQ(Ini->ReadString("oldbutton", "fontname", ""), "Gone");
  EXPECT_FALSE(Ini->ValueExists("FORMINFO", "stale"));
  EXPECT_EQ(Ini->ReadInteger("FORMINFO", "borderwidth", 0), 2);
  EXPECT_EQ(Ini->ReadString("SKINCONTROLS", "0", ""), "newbutton:button");
  TStringList Sections;
  Ini->ReadSections(Sections);
  EXPECT_EQ(Sections.Get(0), "Custom");
  EXPECT_EQ(Sections.Get(1), "oldbutton");
  EXPECT_EQ(Sections.Get(2), "VERSION");
  const std::string Bytes = ReadFileBytes(Dir.Ini());
  EXPECT_EQ(Bytes.substr(0, 3), "\xEF\xBB\xBF");  // the file's encoding stays
  EXPECT_NE(Bytes.find("[Custom]\r\nmine=1\r\n\r\n"), std::string::npos);

  EXPECT_ANY_THROW(S->SaveToFile(Dir.Path() + "no/such/folder/skin.ini"));
  EXPECT_ANY_THROW(S->StoreToDisk(Dir.Path() + "no/such/folder/"));
}

}  // namespace
